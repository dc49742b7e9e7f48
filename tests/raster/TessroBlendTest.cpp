// Mix, multiply and screen blends of transparent flat colours and of prepared fills, on the
// plain and the premultiplied 32-bit formats.
#include <string>

#include "tests/raster/TessroPathSupport.h"

namespace {

DWORD Grey(int v) { return static_cast<DWORD>(v) * 0x010101u; }

class BlendTest : public DrawTest {
protected:
    // One pixel of the given format, filled with the transparent colour (0x00BBGGRR) of the
    // given type and amount; answers the pixel (blue low).
    DWORD FlatOver(DWORD target, bool premultiplied, DWORD colour, DWORD type, DWORD amount) {
        Target t(1, 1, 32, premultiplied ? TESSRO_BI_TRANSPARENCY : 0);
        std::memcpy(t.bits(), &target, 4);
        Attach(t);
        EXPECT_EQ(0, TessroSetTransparentColour(ctx, colour, type | (amount << 8)));
        EXPECT_EQ(0, FillDevice(0, 0, 1, 1)) << LastError();
        return t.Pixel(0, 0);
    }
};

TEST_F(BlendTest, FlatBlendsOnBothFormats) {
    const struct {
        const char* name;
        bool premultiplied;
        DWORD target;
        DWORD colour;  // top byte: the transparency of the plain types
        DWORD type;
        DWORD amount;
        DWORD expected;
    } cases[] = {
        {"mix opaque copies", false, 0x11223344, 0x00405060, 1, 0, 0x11605040},
        {"mix clear leaves", false, 0x11223344, 0xFF405060, 1, 0, 0x11223344},
        {"mix amount 64", false, Grey(100), Grey(200), 4, 64, Grey(175)},
        {"mix onto empty, opaque", true, 0xFF000000, 0x00405060, 1, 0, 0x00605040},
        {"mix onto empty, half", true, 0xFF000000, 0x00C8C8C8, 4, 128, 0x80646464},
        {"mix clear keeps transparency", true, 0x40102030, 0xFF405060, 1, 0, 0x40102030},
        {"multiply white leaves", false, 0x00123456, 0x00FFFFFF, 2, 0, 0x00123456},
        {"multiply black darkens", false, 0x00123456, 0x00000000, 2, 0, 0},
        {"multiply clear leaves", false, 0x00123456, 0xFF000000, 2, 0, 0x00123456},
        {"multiply grey", false, Grey(200), Grey(128), 5, 0, Grey(100)},
        {"multiply grey over empty", true, 0xFF000000, Grey(128), 5, 0, 0x80000000},
        {"screen black leaves", false, 0x00123456, 0x00000000, 3, 0, 0x00123456},
        {"screen white lightens", false, 0x00123456, 0x00FFFFFF, 3, 0, 0x00FFFFFF},
        {"screen grey", false, Grey(100), Grey(128), 6, 0, Grey(178)},
        {"screen opaque target as plain", true, Grey(100), Grey(128), 6, 0, Grey(178)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, FlatOver(c.target, c.premultiplied, c.colour, c.type, c.amount));
    }
}

// Flat mix, multiply and screen on the plain format against their formulas, for every target
// channel value (one per column, a different one in each channel) and a range of colours and
// transparencies; the fourth byte stays.
TEST_F(BlendTest, FlatModesOfThePlainFormatFollowTheirFormulas) {
    auto P = [](int r, int d) { return TessroProduct(r, d); };
    Target t(256, 1, 32);
    for (DWORD colour : {0x00000000u, 0x00FFFFFFu, 0x00102030u, 0x00F08001u}) {
        for (int transparency : {0, 1, 64, 128, 254, 255}) {
            for (DWORD type : {1u, 2u, 3u}) {
                SCOPED_TRACE(testing::Message() << "type " << type << " t " << transparency << std::hex << " colour " << colour);
                for (DWORD x = 0; x < 256; ++x) {
                    const DWORD d = (x * 0x01u) | (((x * 7) & 0xFF) << 8) | ((255 - x) << 16) | 0x5A000000u;
                    std::memcpy(t.bits() + 4 * x, &d, 4);
                }
                Attach(t);
                ASSERT_EQ(0, TessroSetTransparentColour(ctx, colour | (static_cast<DWORD>(transparency) << 24), type));
                ASSERT_EQ(0, FillDevice(0, 0, 256, 1)) << LastError();
                const DWORD src = TessroColourToPixel(colour);
                const int o = 255 - transparency;
                for (DWORD x = 0; x < 256; ++x) {
                    const DWORD d = (x * 0x01u) | (((x * 7) & 0xFF) << 8) | ((255 - x) << 16) | 0x5A000000u;
                    DWORD want = 0x5A000000u;
                    for (int c = 0; c < 3; ++c) {
                        const int s = (src >> (8 * c)) & 0xFF, dc = (d >> (8 * c)) & 0xFF;
                        const int v = type == 1 ? dc + P(o, s - dc)
                                    : type == 2 ? P(s + P(transparency, 255 - s), dc)
                                                : dc + P(P(o, s), 255 - dc);
                        want |= static_cast<DWORD>(v) << (8 * c);
                    }
                    ASSERT_EQ(want, t.Pixel(x, 0)) << x;
                }
            }
        }
    }
}

// The flat mix computes four pixels at a time where it can: for every opacity, every target
// value (one per column) against the darkest, the lightest and a middle source, from an odd
// column to an odd end, it must give what the product table gives, and leave the column
// before the span alone.
TEST_F(BlendTest, FlatMixMatchesTheProductTableAtEveryOpacity) {
    const int kWidth = 262;
    Target t(kWidth, 1, 32);
    auto target = [](int x) {
        return static_cast<DWORD>(x & 0xFF) | (static_cast<DWORD>((x * 7) & 0xFF) << 8) |
               (static_cast<DWORD>((255 - x) & 0xFF) << 16) | 0xA5000000u;
    };
    for (DWORD colour : {0x00000000u, 0x00FFFFFFu, 0x007F80FEu}) {
        const DWORD src = TessroColourToPixel(colour);
        for (int transparency = 0; transparency < 256; ++transparency) {
            for (int x = 0; x < kWidth; ++x) {
                const DWORD d = target(x);
                std::memcpy(t.bits() + 4 * x, &d, 4);
            }
            Attach(t);
            ASSERT_EQ(0, TessroSetTransparentColour(ctx, colour | (static_cast<DWORD>(transparency) << 24), 1));
            ASSERT_EQ(0, FillDevice(1, 0, kWidth - 1, 1)) << LastError();
            const int o = 255 - transparency;
            for (int x = 0; x < kWidth; ++x) {
                const DWORD d = target(x);
                DWORD want = d;
                if (x >= 1 && x < kWidth - 1) {
                    want = d & 0xFF000000u;
                    for (int c = 0; c < 3; ++c) {
                        const int s = (src >> (8 * c)) & 0xFF, dc = (d >> (8 * c)) & 0xFF;
                        want |= static_cast<DWORD>(dc + TessroProduct(o, s - dc)) << (8 * c);
                    }
                }
                ASSERT_EQ(want, t.Pixel(x, 0)) << "column " << x << ", transparency " << transparency;
            }
        }
    }
}

// Premultiplied pixels stay premultiplied: no channel above 255 - T after any blend.
TEST_F(BlendTest, PremultipliedChannelsStayWithinTheOpacity) {
    const DWORD targets[] = {0xFF000000, 0x80404040, 0x40102080, 0x00FFFFFF, 0xC0303030};
    const DWORD colours[] = {0x00000000, 0x00FFFFFF, 0x0080FF10, 0x00204060};
    for (DWORD type : {4u, 5u, 6u}) {
        for (DWORD amount : {0u, 100u, 255u}) {
            for (DWORD target : targets) {
                for (DWORD colour : colours) {
                    const DWORD p = FlatOver(target, true, colour, type, amount);
                    const DWORD T = p >> 24;
                    for (int c = 0; c < 3; ++c) {
                        ASSERT_LE((p >> (8 * c)) & 0xFF, 255 - T)
                            << type << " " << amount << " " << std::hex << target << " " << colour;
                    }
                }
            }
        }
    }
}

TEST_F(BlendTest, SourcedTypesWithoutSourceUseTheConstantAmount) {
    // A flat sourced colour and a prepared fill of a sourced type, each over grey 100, with the
    // constant amount of a degenerate transparency graduation: the same as the amount type.
    Target t(4, 1, 32);
    std::vector<BYTE> white(4 * 4, 100);
    t.bytes() = white;
    Attach(t);
    std::vector<BYTE> table(256, 64);
    const TessroPoint p = Device(1, 0);
    ASSERT_EQ(0, TessroSetTransparencyGraduation(ctx, 0, table.data(), &p, &p, &p));
    ASSERT_EQ(0, TessroSetTransparentColour(ctx, Grey(200), 7));
    ASSERT_EQ(0, FillDevice(0, 0, 2, 1));
    EXPECT_EQ(Grey(175), t.Pixel(0, 0) & 0xFFFFFF);

    // A graduation whose entries are all grey 200 with an amount type and amount 64.
    std::vector<DWORD> grad(3 + 256, 0x00C8C8C8);
    grad[0] = 256;
    const TessroPoint g0 = Device(2, 0), g1 = Device(3, 0), g2 = Device(2, 1);
    ASSERT_EQ(0, TessroSetGraduation(ctx, (4 << 8) | (64 << 16), grad.data(), &g0, &g1, &g2));
    ASSERT_EQ(0, FillDevice(2, 0, 4, 1)) << LastError();
    EXPECT_EQ(Grey(175), t.Pixel(2, 0) & 0xFFFFFF);
    EXPECT_EQ(Grey(175), t.Pixel(3, 0) & 0xFFFFFF);
    // The later modes draw too: a light contrast fill steepens grey 175 away from the middle.
    ASSERT_EQ(0, TessroSetTransparentColour(ctx, Grey(200), 13));
    EXPECT_EQ(0, FillDevice(0, 0, 1, 1)) << LastError();
    EXPECT_GT(t.Pixel(0, 0) & 0xFF, 175u);
}

// Antialiased: a covered pixel gets the whole-pixel result, a half-covered one lies between
// it and the target, an uncovered one is untouched; for flat colours and prepared fills.
TEST_F(BlendTest, CoverageScalesTheBlend) {
    const struct {
        const char* name;
        DWORD type;  // with amount 64 and colour grey 200 over grey 100
        bool prepared;
    } cases[] = {
        {"mix", 4, false}, {"multiply", 5, false}, {"screen", 6, false},
        {"mix fill", 4, true}, {"multiply fill", 5, true}, {"screen fill", 6, true},
    };
    std::vector<DWORD> grad(3 + 256, 0x00C8C8C8);
    grad[0] = 256;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DWORD aliased = FlatOver(Grey(100), false, Grey(200), c.type, 64);
        Target t(6, 2, 32);
        std::fill(t.bytes().begin(), t.bytes().end(), 100);
        Attach(t);
        ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
        if (c.prepared) {
            const TessroPoint g0 = Device(0, 0), g1 = Device(1, 0), g2 = Device(0, 1);
            ASSERT_EQ(0, TessroSetGraduation(ctx, (c.type << 8) | (64 << 16), grad.data(), &g0, &g1, &g2));
        } else {
            ASSERT_EQ(0, TessroSetTransparentColour(ctx, Grey(200), c.type | (64 << 8)));
        }
        PathBuilder p(2);
        p.Rect(1.5, 0, 4, 2);
        ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0)) << LastError();
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(Grey(100), t.Pixel(0, y) & 0xFFFFFF);
            EXPECT_EQ(aliased & 0xFFFFFF, t.Pixel(2, y) & 0xFFFFFF);
            EXPECT_EQ(aliased & 0xFFFFFF, t.Pixel(3, y) & 0xFFFFFF);
            EXPECT_EQ(Grey(100), t.Pixel(4, y) & 0xFFFFFF);
            const DWORD half = t.Pixel(1, y) & 0xFF, low = std::min<DWORD>(100, aliased & 0xFF),
                        high = std::max<DWORD>(100, aliased & 0xFF);
            EXPECT_GT(half, low);
            EXPECT_LT(half, high);
        }
    }
}

// A linear transparency graduation gives t per pixel to a sourced type: t = table entry of the
// column (8 + 16 x here), for a flat colour and for a prepared fill, aliased and antialiased.
TEST_F(BlendTest, TransparencyGraduationGivesTheSourcedTransparency) {
    std::vector<BYTE> ramp(256);
    for (int i = 0; i < 256; ++i) ramp[i] = static_cast<BYTE>(i);
    std::vector<DWORD> grad(3 + 256, 0x00C8C8C8);
    grad[0] = 256;
    for (int variant = 0; variant < 4; ++variant) {
        const bool prepared = variant & 1, antialiased = variant & 2;
        SCOPED_TRACE(testing::Message() << "prepared " << prepared << " antialiased " << antialiased);
        Target t(16, 2, 32);
        std::fill(t.bytes().begin(), t.bytes().end(), 100);
        Attach(t);
        ASSERT_EQ(0, TessroSetAntialias(ctx, antialiased ? 1 : 0));
        const TessroPoint g0 = Device(0, 0), g1 = Device(0, 16), g2 = Device(16, 0);
        if (prepared) {
            ASSERT_EQ(0, TessroSetGraduation(ctx, 7 << 8, grad.data(), &g0, &g1, &g2));
        } else {
            ASSERT_EQ(0, TessroSetTransparentColour(ctx, Grey(200), 7));
        }
        ASSERT_EQ(0, TessroSetTransparencyGraduation(ctx, 0, ramp.data(), &g0, &g1, &g2));
        PathBuilder p(2);
        p.Rect(0, 0, 16, 2);
        ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0)) << LastError();
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(Grey(197), t.Pixel(0, y) & 0xFFFFFF);
            EXPECT_EQ(Grey(103), t.Pixel(15, y) & 0xFFFFFF);
            for (int x = 1; x < 16; ++x) EXPECT_LT(t.Pixel(x, y) & 0xFF, t.Pixel(x - 1, y) & 0xFF) << x;
        }
    }
}

// A radial or square transparency graduation gives each pixel the entry a colour graduation of
// the same kind and anchors gives it: black mixed over white with t = entry shows the entry as
// its grey.
TEST_F(BlendTest, TransparencyGraduationsMatchTheColourOnes) {
    std::vector<BYTE> ramp(256);
    for (int i = 0; i < 256; ++i) ramp[i] = static_cast<BYTE>(i);
    std::vector<DWORD> entries(3 + 256);
    entries[0] = 256;
    for (int i = 0; i < 256; ++i) entries[3 + i] = static_cast<DWORD>(i);
    const struct {
        const char* name;
        int points;
        double p[4][2];
    } placements[] = {
        {"three-point", 3, {{20.3, 14.6}, {30, 17}, {17, 24}, {0, 0}}},
        {"row-affine", 4, {{20.3, 14.6}, {30, 17}, {26.7, 27}, {17, 24.6}}},
        {"perspective", 4, {{20.3, 14.6}, {30, 17}, {27.7, 27}, {17, 24.6}}},
    };
    for (const auto& placement : placements) {
        for (DWORD kind : {1u, 0x81u, 2u, 3u, 0x83u}) {
            SCOPED_TRACE(testing::Message() << placement.name << " kind " << kind);
            TessroPoint p[4];
            for (int k = 0; k < 4; ++k) p[k] = Device(placement.p[k][0], placement.p[k][1]);
            // An exact parallelogram maps rows affinely.
            if (std::string(placement.name) == "row-affine") p[3] = {p[0].x + p[2].x - p[1].x, p[0].y + p[2].y - p[1].y};
            Target colour(40, 32, 32), blended(40, 32, 32);
            Attach(colour);
            if (placement.points == 3) {
                ASSERT_EQ(0, TessroSetGraduation(ctx, kind, entries.data(), &p[0], &p[1], &p[2]));
            } else {
                ASSERT_EQ(0, TessroSetPerspectiveGraduation(ctx, kind, entries.data(), &p[0], &p[1], &p[2], &p[3]));
            }
            if (placement.points == 4) { ASSERT_EQ(std::string(placement.name) == "row-affine", ctx->draw.colour.rowAffine == 1); }
            ASSERT_EQ(0, FillDevice(0, 0, 40, 32)) << LastError();
            std::fill(blended.bytes().begin(), blended.bytes().end(), 0xFF);
            Attach(blended);
            ASSERT_EQ(0, TessroSetTransparentColour(ctx, 0, 7));
            const DWORD style = (kind & 0x7F) | ((kind & 0x80) << 9);  // kind; repeat in byte 2
            if (placement.points == 3) {
                ASSERT_EQ(0, TessroSetTransparencyGraduation(ctx, style, ramp.data(), &p[0], &p[1], &p[2]));
            } else {
                ASSERT_EQ(0, TessroSetPerspectiveTransparencyGraduation(ctx, style, ramp.data(), &p[0], &p[1], &p[2],
                                                                        &p[3]));
            }
            ASSERT_EQ(0, FillDevice(0, 0, 40, 32)) << LastError();
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 40; ++x) {
                    ASSERT_EQ(colour.Pixel(x, y) & 0xFF, blended.Pixel(x, y) & 0xFF) << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
