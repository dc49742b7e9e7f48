// Transparency variants of prepared fills on 32-bit targets: the shading types, the masked
// copy, the own-transparency pairs and the masked amount; bitmap sources that must keep their
// fourth byte for them; and the bitmap transparency masks.
#include <string>

#include "tests/raster/TessroBitmapSupport.h"
#include "tests/raster/TessroPathSupport.h"

int CountingAllocator::allocations = 0;
int CountingAllocator::releases = 0;
bool CountingAllocator::failNext = false;

namespace {

const DWORD kOwn = 0x40, kMasked = 0x80;  // style byte 1 flags

int P(int c, int d) { return TessroProduct(c, d); }
int Channel(DWORD pixel, int c) { return static_cast<int>((pixel >> (8 * c)) & 0xFF); }

// The mix of src over dst with transparency t, format 6 channels.
DWORD Mix(DWORD dst, DWORD src, int t) {
    DWORD out = dst & 0xFF000000u;
    for (int c = 0; c < 3; ++c) out |= static_cast<DWORD>(Channel(dst, c) + P(255 - t, Channel(src, c) - Channel(dst, c))) << (8 * c);
    return out;
}

class VariantTest : public BitmapDrawTest {
protected:
    // Fills a row of 32-bit source pixels over a target of the same width whose pixels are
    // background, and answers the target's pixels.
    std::vector<DWORD> Draw(const std::vector<DWORD>& source, DWORD style, DWORD format, DWORD background,
                            int* result = nullptr) {
        const LONG w = static_cast<LONG>(source.size());
        Target t(w, 1, 32, format == kTessroFormat32Alpha ? TESSRO_BI_TRANSPARENCY : 0);
        for (LONG x = 0; x < w; ++x) std::memcpy(t.bits() + 4 * x, &background, 4);
        Attach(t);
        const BITMAPINFOHEADER h = SourceHeader(w, 1, 32);
        EXPECT_EQ(0, SetFill(h, source.data(), style, 0, 0));
        const int r = FillDevice(0, 0, w, 1);
        if (result != nullptr) *result = r;
        else EXPECT_EQ(0, r) << LastError();
        std::vector<DWORD> out;
        for (LONG x = 0; x < w; ++x) out.push_back(t.Pixel(x, 0));
        return out;
    }
};

// Each channel of the fill is shaded by the fill's fourth byte; the target's colour does not
// matter. Format 7 paints opaque, format 6 keeps the target's fourth byte.
TEST_F(VariantTest, ShadingReplacesTheChannelsByTheShadedFill) {
    ASSERT_EQ(0, TessroSetTransferCurves(ctx, 96));
    const std::vector<DWORD> source = {0x00204080, 0x40204080, 0x7FC01008, 0x80C01008, 0xC0FFFFFF, 0xFF000000};
    for (DWORD format : {kTessroFormat32, kTessroFormat32Alpha}) {
        SCOPED_TRACE(format);
        const std::vector<DWORD> got = Draw(source, 34 << 8, format, 0x5A123456);
        for (size_t x = 0; x < source.size(); ++x) {
            const int a = static_cast<int>(source[x] >> 24);
            DWORD want = format == kTessroFormat32 ? 0x5A000000u : 0u;
            for (int c = 0; c < 3; ++c) want |= static_cast<DWORD>(TessroShadeValue(ctx, a, Channel(source[x], c))) << (8 * c);
            EXPECT_EQ(want, got[x]) << x;
        }
    }
}

// The amount type has only the paired form: alone it fails before painting; with its own
// transparency the colour is first made transparent over the target, then shaded by the
// style's amount.
TEST_F(VariantTest, ShadingAmountTypeNeedsTheOwnTransparencyFlag) {
    const std::vector<DWORD> source = {0x00C08040, 0x80C08040, 0xFF102030};
    int result = 0;
    const std::vector<DWORD> untouched = Draw(source, 35 << 8, kTessroFormat32, 0x00646464, &result);
    EXPECT_EQ(-1, result);
    EXPECT_EQ(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE, LastError());
    for (DWORD p : untouched) EXPECT_EQ(0x00646464u, p);
    const int amount = 40;
    const std::vector<DWORD> got = Draw(source, ((kOwn | 35) << 8) | (amount << 16), kTessroFormat32, 0x00646464);
    for (size_t x = 0; x < source.size(); ++x) {
        const int m = static_cast<int>(source[x] >> 24);
        DWORD want = 0;
        for (int c = 0; c < 3; ++c) {
            const int s = Channel(source[x], c);
            want |= static_cast<DWORD>(TessroShadeValue(ctx, amount, s + P(m, 100 - s))) << (8 * c);
        }
        EXPECT_EQ(want, got[x]) << x;
    }
}

// Type 0 with the masked flag copies unmasked pixels opaque and leaves masked ones alone.
TEST_F(VariantTest, MaskedCopyPaintsOnlyUnmaskedPixelsOpaque) {
    const std::vector<DWORD> source = {0x80112233, 0x00445566, 0x7F778899, 0xFFABCDEF};
    for (DWORD format : {kTessroFormat32, kTessroFormat32Alpha}) {
        SCOPED_TRACE(format);
        const std::vector<DWORD> got = Draw(source, kMasked << 8, format, 0xC8010203);
        EXPECT_EQ((std::vector<DWORD>{0xC8010203, 0x00445566, 0x00778899, 0xC8010203}), got);
    }
}

// Antialiased masked copy onto empty premultiplied pixels: a partly covered pixel takes the
// opaque source in proportion to its coverage, colour and transparency alike, so it stays a
// valid premultiplied pixel (colour + transparency = 255 for a full red source).
TEST_F(VariantTest, MaskedCopyCoverageKeepsPremultipliedPixelsValid) {
    std::vector<DWORD> source(8 * 4, 0x00FF0000);
    source[9] = 0x80FF0000;  // masked: stays empty
    Target t(8, 4, 32, TESSRO_BI_TRANSPARENCY);
    for (size_t i = 0; i < 32; ++i) std::memcpy(t.bits() + 4 * i, "\0\0\0\xFF", 4);
    Attach(t);
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    const BITMAPINFOHEADER h = SourceHeader(8, 4, 32);
    ASSERT_EQ(0, SetFill(h, source.data(), kMasked << 8, 0, 0));
    PathBuilder path(4);
    path.Rect(0.5, 0.3, 6.6, 3.8);
    ASSERT_EQ(0, TessroFillPath(ctx, path.points.data(), path.verbs.data(), path.count(), 0)) << LastError();
    int partial = 0;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const DWORD p = t.Pixel(x, y);
            const int red = Channel(p, 2), transparency = static_cast<int>(p >> 24);
            EXPECT_EQ(255, red + transparency) << x << "," << y;
            if (transparency > 0 && transparency < 255) ++partial;
        }
    }
    EXPECT_EQ(0xFF000000u, t.Pixel(1, 1));  // the masked texel
    EXPECT_EQ(0x00FF0000u, t.Pixel(3, 2));
    EXPECT_GT(partial, 4);
}

// Own transparency with an amount type: the opacities multiply (T + P[a][255 - T]); with the
// masked flag the amount applies to unmasked pixels and masked ones stay as they were, the
// premultiplied transparency included.
TEST_F(VariantTest, PairAndMaskedAmountCombineTransparencies) {
    const std::vector<DWORD> source = {0x00FF8000, 0x40FF8000, 0x7F00FF40, 0xC0204060, 0xFF204060};
    const int amount = 90;
    const std::vector<DWORD> paired = Draw(source, ((kOwn | 4) << 8) | (amount << 16), kTessroFormat32, 0x00646464);
    for (size_t x = 0; x < source.size(); ++x) {
        const int t = static_cast<int>(source[x] >> 24);
        EXPECT_EQ(Mix(0x00646464, source[x], t + P(amount, 255 - t)), paired[x]) << x;
    }
    for (DWORD format : {kTessroFormat32, kTessroFormat32Alpha}) {
        SCOPED_TRACE(format);
        const DWORD background = format == kTessroFormat32 ? 0x00646464 : 0x80303030;
        const std::vector<DWORD> masked = Draw(source, ((kMasked | 4) << 8) | (amount << 16), format, background);
        for (size_t x = 0; x < source.size(); ++x) {
            if (source[x] & 0x80000000u) {
                EXPECT_EQ(background, masked[x]) << x;
            } else if (format == kTessroFormat32) {
                EXPECT_EQ(Mix(background, source[x], amount), masked[x]) << x;
            } else {
                EXPECT_EQ(P(amount, 0x80), static_cast<int>(masked[x] >> 24)) << x;
            }
        }
    }
}

// Own transparency with a sourced type: the transparency source's byte takes the amount's
// place.
TEST_F(VariantTest, SourcePairTakesTheGeneratedTransparency) {
    const std::vector<DWORD> source = {0x00FF8000, 0x40FF8000, 0xC0204060};
    const std::vector<BYTE> ramp(256, 150);
    const TessroPoint g0 = Device(0, 0), g1 = Device(3, 0), g2 = Device(0, 1);
    Target t(3, 1, 32);
    for (int x = 0; x < 3; ++x) std::memcpy(t.bits() + 4 * x, "\x64\x64\x64\0", 4);
    Attach(t);
    const BITMAPINFOHEADER h = SourceHeader(3, 1, 32);
    ASSERT_EQ(0, SetFill(h, source.data(), (kOwn | 7) << 8, 0, 0));
    ASSERT_EQ(0, TessroSetTransparencyGraduation(ctx, 0, ramp.data(), &g0, &g1, &g2));
    ASSERT_EQ(0, FillDevice(0, 0, 3, 1)) << LastError();
    for (int x = 0; x < 3; ++x) {
        const int own = static_cast<int>(source[x] >> 24);
        EXPECT_EQ(Mix(0x00646464, source[x], own + P(150, 255 - own)), t.Pixel(x, 0)) << x;
    }
}

// A plain transparency reads the source's fourth byte in every sampling family: 32-bit
// sources and (interpolated) palette sources keep it.
TEST_F(VariantTest, SourcesKeepTheirFourthByteForPlainTransparency) {
    const DWORD pixels[4] = {0xFF102030, 0x00C0B0A0, 0x00C0B0A0, 0xFF102030};
    const BYTE indices[4] = {0, 1, 1, 0};
    RGBQUAD palette[256] = {};
    palette[0] = {0x30, 0x20, 0x10, 0xFF};
    palette[1] = {0xA0, 0xB0, 0xC0, 0x00};
    const struct {
        const char* name;
        int smoothing, filtering;
    } families[] = {{"nearest", 0, 0}, {"smoothed", 1, 0}, {"filtered", 0, 1}};
    for (const auto& family : families) {
        for (WORD bits : {WORD(32), WORD(8)}) {
            SCOPED_TRACE(testing::Message() << family.name << " " << bits);
            ASSERT_EQ(0, TessroSetBitmapFillSmoothing(ctx, family.smoothing));
            ASSERT_EQ(0, TessroSetBitmapFillFiltering(ctx, family.filtering));
            Target t(4, 4, 32);
            Attach(t);
            const BITMAPINFOHEADER h = SourceHeader(4, 1, bits);
            ASSERT_EQ(0, SetFill(h, bits == 32 ? static_cast<const void*>(pixels) : indices, 1 << 8, 0, 0, palette));
            ASSERT_EQ(0, FillDevice(0, 0, 4, 1)) << LastError();
            // Fully transparent texels leave the target black; opaque ones paint (the cubic
            // filter lets a little of the neighbours through).
            EXPECT_LT(Channel(t.Pixel(0, 0), 2), 8);
            EXPECT_LT(Channel(t.Pixel(3, 0), 2), 8);
            EXPECT_GT(Channel(t.Pixel(1, 0), 2), 0x80);
        }
    }
}

// Bitmap masks give a flat sourced colour its transparency texel by texel: black mixed over
// white shows the transparency as the grey. Tile styles decide beyond the mask.
TEST_F(VariantTest, BitmapMaskTilesLikeTheFills) {
    const BYTE mask[4] = {0, 85, 170, 255};  // one row, padded to four bytes
    const BITMAPINFOHEADER h = SourceHeader(4, 1, 8);
    const struct {
        DWORD tile;
        BYTE want[12];
    } cases[] = {
        {0, {0, 0, 0, 85, 170, 255, 255, 255, 255, 255, 255, 255}},
        {1, {40, 40, 0, 85, 170, 255, 40, 40, 40, 40, 40, 40}},
        {2, {170, 255, 0, 85, 170, 255, 0, 85, 170, 255, 0, 85}},
        {3, {85, 0, 0, 85, 170, 255, 255, 170, 85, 0, 0, 85}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tile);
        Target t(12, 1, 32);
        std::fill(t.bytes().begin(), t.bytes().end(), 0xFF);
        Attach(t);
        ASSERT_EQ(0, TessroSetTransparentColour(ctx, 0, 7));
        ASSERT_EQ(0, SetMask(h, mask, c.tile, 2, 0, 40));
        ASSERT_EQ(0, FillDevice(0, 0, 12, 1)) << LastError();
        for (int x = 0; x < 12; ++x) EXPECT_EQ(c.want[x], Channel(t.Pixel(x, 0), 0)) << x;
    }
}

// The translation table, the interpolating and perspective families on a mask, and the
// setter's refusals.
TEST_F(VariantTest, BitmapMaskFamiliesAndRefusals) {
    const BYTE mask[8] = {10, 10, 10, 10, 10, 10, 10, 10};  // 8 x 1, uniform
    const BITMAPINFOHEADER h = SourceHeader(8, 1, 8);
    BYTE table[256];
    for (int i = 0; i < 256; ++i) table[i] = static_cast<BYTE>(255 - i);
    const struct {
        const char* name;
        int smoothing, filtering, points;
    } families[] = {{"nearest", 0, 0, 3}, {"smoothed", 1, 0, 3}, {"filtered", 0, 1, 3}, {"row-affine", 0, 0, 4},
                    {"perspective", 0, 0, 5}};
    for (const auto& f : families) {
        SCOPED_TRACE(f.name);
        ASSERT_EQ(0, TessroSetBitmapFillSmoothing(ctx, f.smoothing));
        ASSERT_EQ(0, TessroSetBitmapFillFiltering(ctx, f.filtering));
        Target t(8, 1, 32);
        std::fill(t.bytes().begin(), t.bytes().end(), 0xFF);
        Attach(t);
        ASSERT_EQ(0, TessroSetTransparentColour(ctx, 0, 7));
        if (f.points == 3) {
            ASSERT_EQ(0, SetMask(h, mask, 2, 0, 0, 0, table));
        } else {
            const TessroPoint p0 = Device(0, 0), p1 = Device(8, 0), p2 = Device(f.points == 5 ? 7.5 : 8, 1),
                              p3 = Device(0, 1);
            ASSERT_EQ(0, TessroSetPerspectiveBitmapMask(ctx, &h, mask, 2, &p0, &p1, &p2, &p3, 0, table, 0));
        }
        ASSERT_EQ(0, FillDevice(0, 0, 8, 1)) << LastError();
        for (int x = 0; x < 8; ++x) EXPECT_EQ(245, Channel(t.Pixel(x, 0), 1)) << x;
    }
    ASSERT_EQ(0, TessroSetBitmapFillFiltering(ctx, 0));
    const TessroPoint p0 = Device(0, 0), p1 = Device(8, 0), p2 = Device(16, 0);
    const BITMAPINFOHEADER deep = SourceHeader(8, 1, 24);
    EXPECT_EQ(-1, TessroSetBitmapMask(ctx, &deep, mask, 0, &p0, &p1, &p2, 0, nullptr, 0));
    EXPECT_EQ(TESSRO_ERROR_BAD_BITMAP, LastError());
    EXPECT_EQ(-1, TessroSetBitmapMask(ctx, &h, mask, 4, &p0, &p1, &p2, 0, nullptr, 0));
    EXPECT_EQ(TESSRO_ERROR_BAD_TILE_STYLE, LastError());
    // Collinear anchors: the whole fill takes the outside transparency.
    Target t(4, 1, 32);
    std::fill(t.bytes().begin(), t.bytes().end(), 0xFF);
    Attach(t);
    ASSERT_EQ(0, TessroSetTransparentColour(ctx, 0, 7));
    ASSERT_EQ(0, TessroSetBitmapMask(ctx, &h, mask, 0, &p0, &p1, &p2, 77, nullptr, 0));
    ASSERT_EQ(0, FillDevice(0, 0, 4, 1)) << LastError();
    for (int x = 0; x < 4; ++x) EXPECT_EQ(77, Channel(t.Pixel(x, 0), 0)) << x;
}

// A plotted bitmap paints exactly its own parallelogram.
TEST_F(VariantTest, PlotBitmapPaintsItsParallelogram) {
    const DWORD source[4] = {0x00000011, 0x00000022, 0x00000033, 0x00000044};
    const BITMAPINFOHEADER h = SourceHeader(2, 2, 32);
    Target t(8, 6, 32);
    Attach(t);
    const TessroPoint p0 = Device(3, 2), p1 = Device(5, 2), p2 = Device(3, 4);
    ASSERT_EQ(0, TessroPlotBitmap(ctx, &h, source, 0, &p0, &p1, &p2, nullptr, nullptr, nullptr, nullptr, nullptr))
        << LastError();
    EXPECT_EQ("........\n........\n...##...\n...##...\n........\n........\n", Mask(t, 8, 6));
    EXPECT_EQ(-1, TessroPlotBitmap(ctx, &h, source, 0, &p0, nullptr, &p2, nullptr, nullptr, nullptr, nullptr, nullptr));
}

// Every blend mode's amount type with the masked flag leaves masked pixels exactly as they
// were, aliased and antialiased, on both formats.
TEST_F(VariantTest, MaskedAmountLeavesMaskedPixelsInEveryMode) {
    const DWORD amountTypes[] = {4, 5, 6, 14, 17, 20, 23, 26, 29, 32};
    std::vector<DWORD> source(6 * 3);
    for (size_t i = 0; i < source.size(); ++i) source[i] = (i % 2 ? 0x80000000u : 0u) | static_cast<DWORD>(0x3070B0 + 0x051003 * i);
    const BITMAPINFOHEADER h = SourceHeader(6, 3, 32);
    for (DWORD type : amountTypes) {
        for (DWORD format : {kTessroFormat32, kTessroFormat32Alpha}) {
            for (int antialias : {0, 1}) {
                SCOPED_TRACE(testing::Message() << "type " << type << " format " << format << " aa " << antialias);
                Target t(6, 3, 32, format == kTessroFormat32Alpha ? TESSRO_BI_TRANSPARENCY : 0);
                for (size_t i = 0; i < 18; ++i) {
                    const DWORD p = 0x40302010u + 0x00050709u * static_cast<DWORD>(i);
                    std::memcpy(t.bits() + 4 * i, &p, 4);
                }
                const std::vector<BYTE> before = t.bytes();
                Attach(t);
                ASSERT_EQ(0, TessroSetAntialias(ctx, antialias));
                ASSERT_EQ(0, SetFill(h, source.data(), ((kMasked | type) << 8) | (60 << 16), 0, 0));
                PathBuilder path(3);
                path.Rect(0.4, 0, 5.7, 3);
                ASSERT_EQ(0, TessroFillPath(ctx, path.points.data(), path.verbs.data(), path.count(), 0)) << LastError();
                int painted = 0;
                for (int y = 0; y < 3; ++y) {
                    for (int x = 0; x < 6; ++x) {
                        DWORD was;
                        std::memcpy(&was, before.data() + 4 * (6 * y + x), 4);
                        if (source[6 * y + x] & 0x80000000u) {
                            EXPECT_EQ(was, t.Pixel(x, y)) << x << "," << y;
                        } else if (was != t.Pixel(x, y)) {
                            ++painted;
                        }
                    }
                }
                EXPECT_GT(painted, 0);
            }
        }
    }
}

// Three- and four-value transparency fields give each pixel the value the colour field of the
// same kind and anchors gives it: black mixed over white shows the transparency as its grey.
TEST_F(VariantTest, TransparencyFieldsMatchTheColourFields) {
    const BYTE values[4] = {20, 230, 90, 160};
    const struct {
        const char* name;
        int points;
        double p[4][2];
    } placements[] = {
        {"three-point", 3, {{6.3, 4.6}, {20, 7}, {9, 18}, {0, 0}}},
        {"row-affine", 4, {{6.3, 4.6}, {20, 7}, {0, 0}, {9, 18}}},
        {"perspective", 4, {{6.3, 4.6}, {20, 7}, {21.5, 19}, {9, 18}}},
    };
    for (const auto& placement : placements) {
        for (int corners : {3, 4}) {
            for (DWORD kind : {0u, 1u, 2u}) {
                if (corners == 4 && kind == 1) continue;  // kinds 0, 1 clamp alike
                SCOPED_TRACE(testing::Message() << placement.name << " corners " << corners << " kind " << kind);
                TessroPoint p[4];
                for (int k = 0; k < 4; ++k) p[k] = Device(placement.p[k][0], placement.p[k][1]);
                if (std::string(placement.name) == "row-affine") p[2] = {p[1].x + p[3].x - p[0].x, p[1].y + p[3].y - p[0].y};
                DWORD grey[4];
                for (int k = 0; k < 4; ++k) grey[k] = values[k] * 0x010101u;
                Target colour(28, 24, 32), blended(28, 24, 32);
                Attach(colour);
                if (placement.points == 3) {
                    ASSERT_EQ(0, corners == 3 ? TessroSetThreeColourFill(ctx, kind, grey[0], grey[1], grey[2], &p[0], &p[1], &p[2])
                                              : TessroSetGraduatedColours(ctx, kind, grey[0], grey[1], grey[2], grey[3], &p[0], &p[1], &p[2]));
                } else if (corners == 3) {
                    ASSERT_EQ(0, TessroSetPerspectiveThreeColourFill(ctx, kind, grey[0], grey[1], grey[2], &p[0], &p[1], &p[2], &p[3]));
                } else {
                    ASSERT_EQ(0, TessroSetPerspectiveGraduatedColours(ctx, kind, grey[0], grey[1], grey[2], grey[3], &p[0], &p[1], &p[2], &p[3]));
                }
                ASSERT_EQ(0, FillDevice(0, 0, 28, 24)) << LastError();
                std::fill(blended.bytes().begin(), blended.bytes().end(), 0xFF);
                Attach(blended);
                ASSERT_EQ(0, TessroSetTransparentColour(ctx, 0, 7));
                if (placement.points == 3) {
                    ASSERT_EQ(0, corners == 3 ? TessroSetThreeValueTransparency(ctx, kind, values[0], values[1], values[2], &p[0], &p[1], &p[2])
                                              : TessroSetFourValueTransparency(ctx, kind, values[0], values[1], values[2], values[3], &p[0], &p[1], &p[2]));
                } else if (corners == 3) {
                    ASSERT_EQ(0, TessroSetPerspectiveThreeValueTransparency(ctx, kind, values[0], values[1], values[2], &p[0], &p[1], &p[2], &p[3]));
                } else {
                    ASSERT_EQ(0, TessroSetPerspectiveFourValueTransparency(ctx, kind, values[0], values[1], values[2], values[3], &p[0], &p[1], &p[2], &p[3]));
                }
                ASSERT_EQ(0, FillDevice(0, 0, 28, 24)) << LastError();
                for (int y = 0; y < 24; ++y) {
                    for (int x = 0; x < 28; ++x) {
                        ASSERT_EQ(colour.Pixel(x, y) & 0xFF, blended.Pixel(x, y) & 0xFF) << x << "," << y;
                    }
                }
            }
        }
    }
}

}  // namespace
