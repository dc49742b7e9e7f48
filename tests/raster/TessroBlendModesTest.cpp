// Blend modes 4 to 10 (contrast, saturation, luminance multiply and screen, hard light,
// brightness, hue): their tables, their results at the telling points, and the agreement of
// the flat, sourced, per-pixel and amount routines, aliased and antialiased, on both 32-bit
// formats.
#include <algorithm>
#include <cstdlib>

#include "raster/TessroBlendModes.h"
#include "tests/raster/TessroPathSupport.h"

int CountingAllocator::allocations = 0;
int CountingAllocator::releases = 0;
bool CountingAllocator::failNext = false;

namespace {

DWORD Grey(int v) { return static_cast<DWORD>(v) * 0x010101u; }
int Lane(DWORD pixel, int c) { return static_cast<int>((pixel >> (8 * c)) & 0xFF); }
// The transparency types of mode m (4..10): plain, amount, sourced.
DWORD PlainType(int mode) { return 13 + 3 * static_cast<DWORD>(mode - 4); }

const char* const kModeNames[] = {"", "mix", "multiply", "screen", "contrast", "saturation", "luminance multiply",
                                  "luminance screen", "hard light", "brightness", "hue"};

TEST(BlendModeTables, ContrastCurvesKeepTheirShape) {
    for (int L = 128; L <= 255; ++L) {
        SCOPED_TRACE(L);
        const BYTE* c = TessroContrastCurve(L);
        for (int v = 0; v < 256; ++v) {
            ASSERT_EQ(255, c[v] + c[255 - v]) << v;
            if (v > 0) { ASSERT_LE(c[v - 1], c[v]) << v; }
            if (L == 128) { ASSERT_EQ(v, c[v]); }
            if (L == 255) { ASSERT_EQ(v < 128 ? 0 : 255, c[v]); }
        }
        if (L > 128) {
            // Steeper than the curve before: nowhere nearer the identity, and not the same.
            const BYTE* before = TessroContrastCurve(L - 1);
            bool differs = false;
            for (int v = 0; v < 128; ++v) {
                ASSERT_LE(c[v], before[v]) << v;
                differs |= c[v] != before[v];
            }
            EXPECT_TRUE(differs);
        }
    }
    const struct {
        int curve, first;
        std::vector<int> values;
    } rows[] = {
        {160, 60, {36, 37, 38, 39, 40, 41, 42, 43}},
        {160, 124, {117, 119, 122, 125, 130, 133, 136, 138}},
        {192, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {192, 124, {97, 102, 107, 116, 139, 148, 153, 158}},
        {224, 124, {53, 59, 67, 81, 174, 188, 196, 202}},
        {254, 124, {0, 0, 0, 1, 254, 255, 255, 255}},
    };
    for (const auto& row : rows) {
        std::vector<int> got;
        for (size_t i = 0; i < row.values.size(); ++i) got.push_back(TessroContrastCurve(row.curve)[row.first + i]);
        EXPECT_EQ(row.values, got) << "curve " << row.curve << " from " << row.first;
    }
}

TEST(BlendModeTables, SaturationFactorsFollowTheirRule) {
    const TessroSaturationFactor* k = TessroSaturationFactors();
    const struct {
        int L;
        std::int32_t k0;
    } quoted[] = {{0, 0},         {127, 2105376},  {128, 2105376},  {144, 2403128}, {160, 2767975},
                  {176, 3199917}, {192, 3698955},  {208, 4265087},  {224, 4898316}, {240, 5598639},
                  {255, 6316128}};
    for (const auto& q : quoted) EXPECT_EQ(q.k0, k[q.L].k0) << q.L;
    for (int L = 0; L < 256; ++L) {
        SCOPED_TRACE(L);
        if (L < 128) {
            const double exact = L * 536870912.0 / (255.0 * 127.0);
            EXPECT_LE(std::abs(k[L].k0 - exact), 0.5);
        } else if (L > 128 && L < 255) {
            // Increasing and convex.
            EXPECT_LT(k[L - 1].k0, k[L].k0);
            EXPECT_LE(k[L].k0 - k[L - 1].k0, k[L + 1].k0 - k[L].k0);
        }
        EXPECT_EQ(static_cast<std::int32_t>(std::floor((2105376.0 - k[L].k0) / 256.0 + 0.5)), k[L].k1);
    }
    // At t = 255 every row gives a factor between 1 and 1.012.
    for (int L = 0; L < 256; ++L) {
        const double f = (k[L].k0 + 255.0 * k[L].k1) / 2097152.0;
        EXPECT_GE(f, 0.995) << L;
        EXPECT_LE(f, 1.012) << L;
    }
    EXPECT_EQ(0u, TessroReciprocals()[0]);
    EXPECT_EQ(16777215u, TessroReciprocals()[1]);
    EXPECT_EQ(167772u, TessroReciprocals()[100]);
}

class BlendModeTest : public DrawTest {
protected:
    // Six pixels of target colour, a path from x = 1.5 to 4 over both rows: pixel 1 half
    // covered, 2 and 3 covered, 0 and 4 untouched. The fill is a flat colour (colour, type,
    // amount) or, with prepared, a graduation whose every entry is colour (a pixel word).
    Target AntialiasedOver(DWORD target, bool premultiplied, DWORD colour, DWORD type, DWORD amount, bool prepared) {
        Target t(6, 2, 32, premultiplied ? TESSRO_BI_TRANSPARENCY : 0);
        for (int i = 0; i < 12; ++i) std::memcpy(t.bits() + 4 * i, &target, 4);
        Attach(t);
        EXPECT_EQ(0, TessroSetAntialias(ctx, 1));
        SetFill(colour, type, amount, prepared);
        PathBuilder p(2);
        p.Rect(1.5, 0, 4, 2);
        EXPECT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0)) << LastError();
        return t;
    }
    // One pixel of the given format under the same fill, aliased.
    DWORD AliasedOver(DWORD target, bool premultiplied, DWORD colour, DWORD type, DWORD amount, bool prepared) {
        Target t(1, 1, 32, premultiplied ? TESSRO_BI_TRANSPARENCY : 0);
        std::memcpy(t.bits(), &target, 4);
        Attach(t);
        SetFill(colour, type, amount, prepared);
        EXPECT_EQ(0, FillDevice(0, 0, 1, 1)) << LastError();
        return t.Pixel(0, 0);
    }
    void SetFill(DWORD colour, DWORD type, DWORD amount, bool prepared) {
        if (!prepared) {
            ASSERT_EQ(0, TessroSetTransparentColour(ctx, colour, type | (amount << 8)));
            return;
        }
        grad_.assign(3 + 256, TessroColourToPixel(colour));
        grad_[0] = 256;
        const TessroPoint g0 = Device(0, 0), g1 = Device(1, 0), g2 = Device(0, 1);
        ASSERT_EQ(0, TessroSetGraduation(ctx, (type << 8) | (amount << 16), grad_.data(), &g0, &g1, &g2));
    }
    std::vector<DWORD> grad_;
};

TEST_F(BlendModeTest, TellingPointsOfEachMode) {
    const DWORD empty = 0xFF000000;
    const struct {
        const char* name;
        bool premultiplied;
        DWORD target;  // a pixel word, blue low
        DWORD colour;  // 0x00BBGGRR; top byte the transparency of the plain types
        DWORD type;
        DWORD expected;
        int tolerance;
    } cases[] = {
        {"contrast mid-grey leaves", false, 0x00305090, Grey(128), 13, 0x00305090, 0},
        {"contrast 127 moves a step", false, 0x00305090, Grey(127), 13, 0x00305090, 1},
        {"contrast black flattens", false, 0x00305090, 0, 13, Grey(128), 0},
        {"contrast black flattens, opaque", true, 0x40305090, 0, 13, Grey(128), 0},
        {"contrast white steps", false, 0x0010807F, Grey(255), 13, 0x0000FF00, 0},
        {"contrast light keeps an empty pixel", true, empty, Grey(220), 13, empty, 0},
        {"saturation black greys", false, 0x00FF0000, 0, 16, Grey(76), 0},
        {"saturation clear leaves", false, 0x00305090, 0xFF000000, 16, 0x00305090, 1},
        {"saturation 127 leaves", false, 0x00305090, Grey(127), 16, 0x00305090, 1},
        {"luminance multiply white leaves", false, 0x00305090, Grey(255), 19, 0x00305090, 0},
        {"luminance multiply clear leaves", false, 0x00305090, 0xFF000000, 19, 0x00305090, 0},
        {"luminance multiply black", false, 0x11305090, 0, 19, 0x11000000, 0},
        {"luminance multiply black, opaque", true, 0x40305090, 0, 19, 0, 0},
        {"luminance screen black leaves", false, 0x00305090, 0, 22, 0x00305090, 0},
        {"luminance screen white", false, 0x00305090, Grey(255), 22, 0x00FFFFFF, 0},
        {"hard light middle leaves", false, 0x00305090, Grey(128), 25, 0x00305090, 1},
        {"hard light white", false, 0x00305090, Grey(255), 25, 0x00FFFFFF, 0},
        {"hard light black", false, 0x00305090, 0, 25, 0, 0},
        {"brightness on black", false, 0, Grey(200), 28, Grey(200), 0},
        {"brightness keeps proportions", false, 0x00003264, Grey(200), 28, 0x000064C8, 1},
        {"brightness clear leaves", false, 0x00003264, 0xFF000000 | Grey(200), 28, 0x00003264, 0},
        {"brightness keeps an empty pixel", true, empty, Grey(200), 28, empty, 0},
        {"hue grey fill leaves", false, 0x00305090, Grey(90), 31, 0x00305090, 0},
        {"hue leaves a grey pixel", false, Grey(77), 0x000000FF, 31, Grey(77), 0},
        {"hue red on blue keeps value", false, 0x000000FF, 0x000000FF, 31, 0x00FF0000, 0},
        {"hue keeps an empty pixel", true, empty, 0x000000FF, 31, empty, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DWORD expected = c.expected;
        const DWORD got = AliasedOver(c.target, c.premultiplied, c.colour, c.type, 0, false);
        for (int lane = 0; lane < 4; ++lane) {
            EXPECT_LE(std::abs(Lane(got, lane) - Lane(expected, lane)), lane == 3 ? 0 : c.tolerance)
                << "lane " << lane << std::hex << " got " << got << " expected " << expected;
        }
    }
}

// In every mode and variant, coverage 0 leaves a pixel, coverage 255 gives the whole-pixel
// result (contrast may round one step apart), for flat colours and prepared fills, plain and
// amount types, on both formats.
TEST_F(BlendModeTest, CoverageEndsMeetTheWholePixelResult) {
    const DWORD targets[2] = {0x00305090, 0x40282848};
    const DWORD colours[] = {0x60C0E020, 0x20402010, 0x90F0F0F0};
    for (int mode = 4; mode <= 10; ++mode) {
        for (int premultiplied = 0; premultiplied < 2; ++premultiplied) {
            for (int variant = 0; variant < 4; ++variant) {
                const bool prepared = variant & 1, amount = variant & 2;
                const DWORD type = PlainType(mode) + (amount ? 1 : 0);
                for (DWORD colour : colours) {
                    SCOPED_TRACE(testing::Message() << kModeNames[mode] << (premultiplied ? " premultiplied" : "")
                                                    << (prepared ? " prepared" : " flat") << (amount ? " amount" : "")
                                                    << std::hex << " colour " << colour);
                    const DWORD target = targets[premultiplied];
                    // A prepared fill's entries carry the transparency in their fourth byte.
                    const DWORD whole = AliasedOver(target, premultiplied, colour, type, 100, prepared);
                    const Target t = AntialiasedOver(target, premultiplied, colour, type, 100, prepared);
                    const int slack = mode == kTessroBlendContrast ? 1 : 0;
                    for (int y = 0; y < 2; ++y) {
                        EXPECT_EQ(target, t.Pixel(0, y));
                        EXPECT_EQ(target, t.Pixel(4, y));
                        for (int x = 2; x < 4; ++x) {
                            for (int lane = 0; lane < 4; ++lane) {
                                EXPECT_LE(std::abs(Lane(t.Pixel(x, y), lane) - Lane(whole, lane)), slack)
                                    << x << "," << y << " lane " << lane;
                            }
                        }
                    }
                }
            }
        }
    }
}

// The same colour and transparency give the same pixel whether they come as a flat colour,
// a prepared fill's entry (its fourth byte), a style's amount, or a transparency source.
TEST_F(BlendModeTest, EveryVariantAgreesWithTheFlatColour) {
    const DWORD targets[2] = {0x00305090, 0x40282848};
    const DWORD colour = 0x0040C0E0;
    std::vector<BYTE> constant(256, 64);
    for (int mode = 4; mode <= 10; ++mode) {
        for (int premultiplied = 0; premultiplied < 2; ++premultiplied) {
            SCOPED_TRACE(testing::Message() << kModeNames[mode] << (premultiplied ? " premultiplied" : ""));
            const DWORD target = targets[premultiplied];
            const DWORD type = PlainType(mode);
            const DWORD flat = AliasedOver(target, premultiplied, colour | 0x40000000u, type, 0, false);
            EXPECT_EQ(flat, AliasedOver(target, premultiplied, colour, type + 1, 64, false)) << "flat amount";
            EXPECT_EQ(flat, AliasedOver(target, premultiplied, colour | 0x40000000u, type, 0, true)) << "per-pixel";
            EXPECT_EQ(flat, AliasedOver(target, premultiplied, colour, type + 1, 64, true)) << "amount";
            // A transparency graduation that gives 64 everywhere, for the sourced types; whole
            // pixels, and covered pixels of an antialiased fill (contrast may round a step apart).
            for (int variant = 0; variant < 4; ++variant) {
                const bool prepared = variant & 1, antialiased = variant & 2;
                SCOPED_TRACE(testing::Message() << "sourced, prepared " << prepared << " antialiased " << antialiased);
                Target t(4, 1, 32, premultiplied ? TESSRO_BI_TRANSPARENCY : 0);
                for (int i = 0; i < 4; ++i) std::memcpy(t.bits() + 4 * i, &target, 4);
                Attach(t);
                ASSERT_EQ(0, TessroSetAntialias(ctx, antialiased ? 1 : 0));
                SetFill(colour, type + 2, 0, prepared);
                const TessroPoint g0 = Device(0, 0), g1 = Device(4, 0), g2 = Device(0, 1);
                ASSERT_EQ(0, TessroSetTransparencyGraduation(ctx, 0, constant.data(), &g0, &g1, &g2));
                PathBuilder p(1);
                p.Rect(0, 0, 4, 1);
                ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0)) << LastError();
                const int slack = antialiased && mode == kTessroBlendContrast ? 1 : 0;
                for (int x = 0; x < 4; ++x) {
                    for (int lane = 0; lane < 4; ++lane) {
                        EXPECT_LE(std::abs(Lane(t.Pixel(x, 0), lane) - Lane(flat, lane)), slack) << x << " lane " << lane;
                    }
                }
            }
        }
    }
}

// Premultiplied pixels stay premultiplied: no channel above 255 - T, aliased or antialiased.
TEST_F(BlendModeTest, PremultipliedChannelsStayWithinTheOpacity) {
    const DWORD targets[] = {0xFF000000, 0x80404040, 0x40102080, 0x00FFFFFF, 0xC0303030, 0xFE010000};
    const DWORD colours[] = {0x00000000, 0x00FFFFFF, 0x0080FF10, 0x00204060, Grey(129), Grey(250)};
    for (int mode = 4; mode <= 10; ++mode) {
        for (DWORD amount : {0u, 100u}) {
            for (DWORD target : targets) {
                for (DWORD colour : colours) {
                    SCOPED_TRACE(testing::Message() << kModeNames[mode] << " amount " << amount << std::hex << " target "
                                                    << target << " colour " << colour);
                    const DWORD aliased = AliasedOver(target, true, colour, PlainType(mode) + 1, amount, false);
                    const Target t = AntialiasedOver(target, true, colour, PlainType(mode) + 1, amount, false);
                    for (DWORD p : {aliased, t.Pixel(1, 0), t.Pixel(2, 0)}) {
                        const int T = Lane(p, 3);
                        for (int c = 0; c < 3; ++c) ASSERT_LE(Lane(p, c), 255 - T) << std::hex << p;
                    }
                }
            }
        }
    }
}

}  // namespace
