#include <cmath>

#include "raster/Tessro.h"
#include "tests/raster/TessroDrawSupport.h"

namespace {

const DWORD kC0 = 0x000000FF, kC1 = 0x0000FF00, kC2 = 0x00FF0000, kC3 = 0x00FFFFFF;

// A 256-entry 32-bit table whose entry i is the pixel i (so a pixel shows its index).
std::vector<DWORD> IndexTable(DWORD count = 256) {
    std::vector<DWORD> table(3 + count);
    table[0] = count;
    table[1] = 0;
    table[2] = 0x00ABCDEF;
    for (DWORD i = 0; i < count; ++i) table[3 + i] = i;
    return table;
}

TEST(TessroNearest, OutOfRangeAndNaNConvertExplicitly) {
    const struct {
        double in;
        std::int32_t out32;
        std::int64_t out64;
    } cases[] = {
        {2.5, 2, 2},
        {3.5, 4, 4},
        {-2.5, -2, -2},
        {NAN, INT32_MIN, INT64_MIN},
        {1e300, INT32_MIN, INT64_MAX},
        {-1e300, INT32_MIN, INT64_MIN},
        {2147483648.0, INT32_MIN, 2147483648LL},
        {INFINITY, INT32_MIN, INT64_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.out32, TessroNearest32(c.in)) << c.in;
        EXPECT_EQ(c.out64, TessroNearest64(c.in)) << c.in;
    }
}

TEST_F(DrawTest, ThreePointAnchorsMapToFillCoordinates) {
    Target t(200, 200, 32);
    Attach(t);
    TessroFillGeometry g{};
    ASSERT_TRUE(TessroThreePointSetup(ctx, &g, Device(0, 0), Device(100, 0), Device(0, 50), 1, 1));
    // u = x / 100, v = y / 50: per whole pixel 2^32 / 100 and 2^32 / 50.
    EXPECT_NEAR(4294967296.0 / 100, static_cast<double>(g.stepUx), 1);
    EXPECT_NEAR(4294967296.0 / 50, static_cast<double>(g.stepVy), 1);
    EXPECT_EQ(0, g.stepVx);
    EXPECT_EQ(0, g.stepUy);
    EXPECT_EQ(0, g.originX);
    EXPECT_EQ(0, g.originY);
    const TessroPoint degenerate[][3] = {
        {Device(0, 0), Device(10, 10), Device(20, 20)},
        {Device(5, 5), Device(5, 5), Device(0, 20)},
        {Device(5, 5), Device(0, 20), Device(5, 5)},
    };
    for (const auto& p : degenerate) EXPECT_FALSE(TessroThreePointSetup(ctx, &g, p[0], p[1], p[2], 1, 1));
}

TEST_F(DrawTest, FourPointAnchorsMapTheCornersOfTheUnitSquare) {
    Target t(200, 200, 32);
    Attach(t);
    const double corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const struct {
        double p[4][2];
        BYTE rowAffine;
    } cases[] = {
        {{{10, 20}, {110, 25}, {130, 150}, {15, 140}}, 0},
        {{{10, 20}, {110, 30}, {140, 90}, {40, 80}}, 1},
    };
    for (const auto& c : cases) {
        TessroFillGeometry g{};
        TessroFourPointSetup(ctx, &g, Device(c.p[0][0], c.p[0][1]), Device(c.p[1][0], c.p[1][1]),
                             Device(c.p[2][0], c.p[2][1]), Device(c.p[3][0], c.p[3][1]), 1, 1);
        EXPECT_EQ(c.rowAffine, g.rowAffine);
        for (int k = 0; k < 4; ++k) {
            const double x = c.p[k][0], y = c.p[k][1];
            double u, v;
            if (g.rowAffine) {
                const double w = g.denY * y + g.den0;
                u = (g.uX * x + g.uY * y + g.u0) / w;
                v = (g.vX * x + g.vY * y + g.v0) / w;
            } else {
                const double w = x + g.denY * y + g.den0;
                u = g.uX + 0.5 + (g.uY * y + g.u0) / w;
                v = g.vX + 0.5 + (g.vY * y + g.v0) / w;
            }
            EXPECT_NEAR(corners[k][0], u, 1e-9) << k;
            EXPECT_NEAR(corners[k][1], v, 1e-9) << k;
        }
    }
}

TEST_F(DrawTest, LinearGraduationSamplesPixelCentresAndClampsOrWraps) {
    Target t(120, 4, 32);
    Attach(t);
    const std::vector<DWORD> table = IndexTable();
    const TessroPoint p0 = Device(0, 0), p1 = Device(0, 100), p2 = Device(100, 0);
    const struct {
        DWORD style;
        DWORD at[5][2];  // column, entry
    } cases[] = {
        {0x00, {{0, 1}, {10, 26}, {99, 254}, {100, 255}, {119, 255}}},
        {0x80, {{0, 1}, {10, 26}, {99, 254}, {100, 1}, {119, 49}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        ASSERT_EQ(0, TessroSetGraduation(ctx, c.style, table.data(), &p0, &p1, &p2));
        EXPECT_EQ(3u, ctx->fillStyle);
        ASSERT_EQ(0, FillDevice(0, 0, 120, 4));
        for (const auto& a : c.at)
            for (int y = 0; y < 4; ++y) EXPECT_EQ(a[1], t.Pixel(a[0], y)) << a[0];
    }
    // One entry per pixel: column n takes entry n (position n + 0.5).
    const TessroPoint q2 = Device(256, 0);
    ASSERT_EQ(0, TessroSetGraduation(ctx, 0, table.data(), &p0, &p1, &q2));
    ASSERT_EQ(0, FillDevice(7, 1, 20, 2));
    for (int x = 7; x < 20; ++x) EXPECT_EQ(static_cast<DWORD>(x), t.Pixel(x, 1));
    // Going the other way, positions below 0 take entry 0 (clamped) or the last (repeat).
    const TessroPoint r0 = Device(119, 0), r1 = Device(119, 100), r2 = Device(-137, 0);
    ASSERT_EQ(0, TessroSetGraduation(ctx, 0x80, table.data(), &r0, &r1, &r2));
    ASSERT_EQ(0, FillDevice(119, 0, 120, 1));
    EXPECT_EQ(255u, t.Pixel(119, 0));
}

// A graduation from a colour to itself draws exactly what the flat colour draws, on every
// depth: the table's dither rows and packed columns land where the flat pattern puts them.
TEST_F(DrawTest, ConstantGraduationMatchesTheFlatColourOnEveryDepth) {
    const struct {
        WORD bits;
        DWORD mode;
    } targets[] = {{1, 0}, {4, 0}, {8, 0}, {8, 1}, {16, 0}, {16, 1}, {16, 2}, {16, 3}, {32, 0}};
    for (const auto& tc : targets) {
        for (DWORD colour : {0x3366CCu, 0x808080u, 0x10E040u}) {
            SCOPED_TRACE(testing::Message() << tc.bits << "/" << tc.mode << " " << std::hex << colour);
            Target flat(37, 9, tc.bits), graduated(37, 9, tc.bits);
            Attach(flat, tc.mode);
            ASSERT_EQ(0, TessroSetColour(ctx, colour));
            // Odd and even first and last columns.
            ASSERT_EQ(0, FillDevice(3, 1, 34, 5));
            ASSERT_EQ(0, FillDevice(4, 5, 33, 9));
            Attach(graduated, tc.mode);
            std::vector<DWORD> table(3 + 4 * 2048);
            table[0] = 256;
            ASSERT_EQ(0, TessroBuildGraduationTable(ctx, colour, colour, 0, table.data()));
            const TessroPoint p0 = Device(0, 0), p1 = Device(0, 10), p2 = Device(40, 0);
            for (DWORD style : {0x00u, 0x80u}) {
                ASSERT_EQ(0, TessroSetGraduation(ctx, style, table.data(), &p0, &p1, &p2));
                ASSERT_EQ(0, FillDevice(3, 1, 34, 5));
                ASSERT_EQ(0, FillDevice(4, 5, 33, 9));
                EXPECT_EQ(flat.bytes(), graduated.bytes());
            }
        }
    }
}

TEST_F(DrawTest, RowAffineAndPerspectiveFillsDoNotDependOnTheirBounds) {
    Target t(64, 64, 32);
    Attach(t);
    const std::vector<DWORD> table = IndexTable();
    const struct {
        const char* name;
        double p[4][2];
    } cases[] = {
        {"row-affine", {{3, 2}, {60, 8}, {50, 62}, {-7, 56}}},
        {"perspective", {{3, 2}, {60, 12}, {40, 62}, {-2, 50}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TessroPoint p[4];
        for (int k = 0; k < 4; ++k) p[k] = Device(c.p[k][0], c.p[k][1]);
        for (DWORD style : {0x00u, 0x80u}) {
            ASSERT_EQ(0, TessroSetPerspectiveGraduation(ctx, style, table.data(), &p[0], &p[1], &p[2], &p[3]));
            std::fill(t.bytes().begin(), t.bytes().end(), 0xEE);
            ASSERT_EQ(0, FillDevice(0, 0, 64, 64));
            const std::vector<BYTE> whole = t.bytes();
            std::fill(t.bytes().begin(), t.bytes().end(), 0xEE);
            // The same pixels in pieces, each starting elsewhere, with the same style.
            ASSERT_EQ(0, FillDevice(0, 0, 64, 20));
            ASSERT_EQ(0, FillDevice(21, 20, 64, 64));
            ASSERT_EQ(0, FillDevice(0, 20, 21, 64));
            // Stepping from another first column may round one step differently, no more.
            for (size_t i = 0; i < whole.size(); i += 4) {
                const int a = whole[i], b = t.bytes()[i];
                ASSERT_TRUE(a == b || (a - b + 256) % 256 == 1 || (b - a + 256) % 256 == 1) << i / 4;
            }
            // Something of the table shows.
            EXPECT_NE(t.Pixel(5, 5), t.Pixel(40, 40));
        }
    }
}

TEST_F(DrawTest, GraduationSettersCheckTableStyleAndPlacement) {
    Target t(8, 8, 32);
    Attach(t);
    std::vector<DWORD> table = IndexTable();
    const TessroPoint p0 = Device(0, 0), p1 = Device(8, 0), p2 = Device(0, 8);
    const struct {
        DWORD style;
        DWORD count;
        int result;
        TessroError code;
    } cases[] = {
        {0x00, 1024, -1, TESSRO_ERROR_BAD_GRADUATION_TABLE},
        {0x85, 256, -1, TESSRO_ERROR_BAD_GRADUATION_STYLE},
        {0x2500, 256, -1, TESSRO_ERROR_BAD_TRANSPARENCY_STYLE},
        {0x82, 256, 0, TESSRO_ERROR_NONE},
        {0x01, 256, 0, TESSRO_ERROR_NONE},
        {0x83, 256, 0, TESSRO_ERROR_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        table[0] = c.count;
        ASSERT_EQ(0, TessroSetColour(ctx, 0));
        EXPECT_EQ(c.result, TessroSetGraduation(ctx, c.style, table.data(), &p0, &p1, &p2));
        if (c.result != 0) {
            EXPECT_EQ(c.code, LastError());
            EXPECT_EQ(kTessroFillNone, ctx->fillStyle);
        } else {
            EXPECT_EQ(3u, ctx->fillStyle);
            EXPECT_EQ(0, FillDevice(0, 0, 8, 8));
        }
    }
    table[0] = 256;
    EXPECT_EQ(-1, TessroSetGraduation(ctx, 0, nullptr, &p0, &p1, &p2));
    EXPECT_EQ(TESSRO_ERROR_BAD_GRADUATION_TABLE, LastError());
    EXPECT_EQ(-1, TessroSetGraduation(ctx, 0, table.data(), &p0, nullptr, &p2));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());

    // Collinear anchors: the table's end colour, flat.
    const TessroPoint q2 = Device(16, 0);
    ASSERT_EQ(0, TessroSetGraduation(ctx, 0, table.data(), &p0, &p1, &q2));
    EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
    ASSERT_EQ(0, FillDevice(0, 0, 8, 8));
    EXPECT_EQ(0xEFCDABu, t.Pixel(3, 3));

    // A 2-bit target has no graduation spans.
    Target two(8, 8, 2);
    Attach(two);
    ASSERT_EQ(0, TessroSetGraduation(ctx, 0, table.data(), &p0, &p1, &p2));
    EXPECT_EQ(-1, FillDevice(0, 0, 8, 8));
    EXPECT_EQ(TESSRO_ERROR_INVALID_BITMAP_DEPTH, LastError());
}

TEST_F(DrawTest, ConicalTablesRunFromTheStartDirectionToTheOppositeOne) {
    Target t(64, 64, 32);
    Attach(t);
    std::vector<DWORD> table = IndexTable();
    for (DWORD count : {256u, 2048u}) {
        SCOPED_TRACE(count);
        std::vector<DWORD> sized = IndexTable(count);
        const TessroPoint centre = Device(32, 32), right = Device(50, 32);
        ASSERT_EQ(0, TessroSetGraduation(ctx, 2, sized.data(), &centre, &right, &right));
        const TessroConicalGeometry& c = ctx->draw.conical;
        EXPECT_EQ(32, c.centreX);
        EXPECT_EQ(32, c.centreY);
        const int zero = kTessroAngleTableEntries / 2;
        const DWORD last = count - 1;
        // Right of the centre, on the start direction: entry 0; left, opposite: the last one.
        EXPECT_EQ(0u, c.angles[1][zero]);
        EXPECT_EQ(last, c.angles[3][zero]);
        // Straight below and above: a quarter turn either way, the middle of the ramp.
        EXPECT_NEAR(count / 2.0, c.angles[0][zero], 1);
        EXPECT_NEAR(count / 2.0, c.angles[2][zero], 1);
        // Mirrored about the start direction.
        for (int i = 0; i < 1024; i += 97) {
            EXPECT_NEAR(c.angles[1][zero + i], c.angles[1][zero - 1 - i], 1) << i;
        }
    }
}

TEST_F(DrawTest, TransparencySettersKeepTheColourFill) {
    Target t(16, 16, 32);
    Attach(t);
    std::vector<BYTE> ramp(2048);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<BYTE>(i * 7);
    const TessroPoint p0 = Device(0, 0), p1 = Device(0, 16), p2 = Device(16, 0), p3 = Device(16, 16);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x123456));
    const struct {
        DWORD style;
        std::int32_t generator;
    } cases[] = {{0x000000, 0}, {0x010100, 9}, {0x000001, 12}, {0x010101, 21}, {0x000003, 24}, {0x000002, 36}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        ASSERT_EQ(0, TessroSetTransparencyGraduation(ctx, c.style, ramp.data(), &p0, &p1, &p2));
        EXPECT_EQ(c.generator + 1, ctx->draw.transparencySource);
        EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
    }
    ASSERT_EQ(0, TessroSetPerspectiveTransparencyGraduation(ctx, 0x000100, ramp.data(), &p0, &p2, &p3, &p1));
    EXPECT_EQ(1 + 1 + 3 + 1, ctx->draw.transparencySource);  // row-affine, long
    ASSERT_EQ(0, TessroSetFourValueTransparency(ctx, 2, 10, 20, 30, 40, &p0, &p1, &p2));
    EXPECT_EQ(40 + 1, ctx->draw.transparencySource);
    ASSERT_EQ(0, TessroSetThreeValueTransparency(ctx, 1, 10, 20, 30, &p0, &p1, &p2));
    EXPECT_EQ(37 + 1, ctx->draw.transparencySource);

    // Degenerate anchors: a uniform transparency and no generator.
    ASSERT_EQ(0, TessroSetTransparencyGraduation(ctx, 0, ramp.data(), &p0, &p1, &p1));
    EXPECT_EQ(0, ctx->draw.transparencySource);
    EXPECT_EQ(ramp[255], ctx->draw.transparencyAmount);
    ASSERT_EQ(0, TessroSetFourValueTransparency(ctx, 0, 77, 20, 30, 40, &p0, &p0, &p2));
    EXPECT_EQ(0, ctx->draw.transparencySource);
    EXPECT_EQ(77u, ctx->draw.transparencyAmount);

    EXPECT_EQ(-1, TessroSetTransparencyGraduation(ctx, 4, ramp.data(), &p0, &p1, &p2));
    EXPECT_EQ(TESSRO_ERROR_BAD_GRADUATION_STYLE, LastError());
    EXPECT_EQ(-1, TessroSetThreeValueTransparency(ctx, 5, 1, 2, 3, &p0, &p1, &p2));
    EXPECT_EQ(TESSRO_ERROR_BAD_GRADUATION_STYLE, LastError());
    EXPECT_EQ(-1, TessroSetTransparencyGraduation(ctx, 0, nullptr, &p0, &p1, &p2));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
    EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
}

// Anchors at the ends of the coordinate range, under a magnifying matrix: differences and
// origins beyond 32 bits are computed wide, never through an overflowing integer.
TEST_F(DrawTest, FarAnchorsDrawWithoutOverflow) {
    Target t(16, 16, 32);
    Attach(t);
    TessroMatrix m = ctx->matrix;
    m.a = 0x7FFFFFFF;
    m.d = -0x7FFFFFFF;
    ASSERT_EQ(0, TessroSetMatrix(ctx, &m));
    std::vector<DWORD> table = IndexTable();
    const TessroPoint p0 = {INT32_MIN, INT32_MIN}, p1 = {INT32_MAX, INT32_MIN}, p2 = {INT32_MIN, INT32_MAX};
    const TessroPoint rect[2] = {{-100, -100}, {100, 100}};
    for (DWORD style : {0x00u, 0x01u, 0x02u, 0x03u, 0x80u}) {
        SCOPED_TRACE(style);
        ASSERT_EQ(0, TessroSetGraduation(ctx, style, table.data(), &p0, &p1, &p2));
        const int result = TessroFillRectangle(ctx, rect);
        EXPECT_TRUE(result == 0 || LastError() == TESSRO_ERROR_UNIMPLEMENTED);
    }
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 0, kC0, kC1, kC2, kC3, &p0, &p1, &p2));
    EXPECT_EQ(0, TessroFillRectangle(ctx, rect));
}

TEST_F(DrawTest, TableSizesFollowTheTargetDepth) {
    Target wide(4, 4, 32), narrow(4, 4, 8);
    Attach(wide);
    EXPECT_EQ(0x40C, TessroGetGraduationTableSize(ctx));
    EXPECT_EQ(0x200C, TessroGetLongGraduationTableSize(ctx));
    Attach(narrow);
    EXPECT_EQ(0x100C, TessroGetGraduationTableSize(ctx));
    EXPECT_EQ(0x800C, TessroGetLongGraduationTableSize(ctx));
    EXPECT_EQ(-1, TessroGetGraduationTableSize(nullptr));
    EXPECT_EQ(std::vector<int>({256, 2048, 256, 256, 2048, 2048}),
              std::vector<int>({TessroGetGraduationTableLength(), TessroGetLongGraduationTableLength(),
                                TessroGetTransparencyTableLength(), TessroGetTransparencyTableSize(),
                                TessroGetLongTransparencyTableLength(),
                                TessroGetLongTransparencyTableSize()}));
}


DWORD ExpectedBlend(int x, int y) {
    const DWORD c[4] = {kC0, kC1, kC2, kC3};
    DWORD pixel = 0;
    const int shifts[3] = {16, 8, 0};
    for (int k = 0; k < 3; ++k) {
        const int a[4] = {int((c[0] >> shifts[k]) & 255), int((c[1] >> shifts[k]) & 255),
                          int((c[2] >> shifts[k]) & 255), int((c[3] >> shifts[k]) & 255)};
        const auto p = [](int r, int d) { return static_cast<int>(std::lround(r * d / 255.0)); };
        const int top = a[0] + p(x, a[1] - a[0]), bottom = a[3] + p(x, a[2] - a[3]);
        pixel |= static_cast<DWORD>(top - p(y, top - bottom)) << (8 * k);
    }
    return pixel;
}

TEST_F(DrawTest, FourColourFieldBlendsItsCorners) {
    Target t(256, 256, 32);
    Attach(t);
    const TessroPoint p0 = Device(0, 0), p1 = Device(256, 0), p2 = Device(0, 256);
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 0, kC0, kC1, kC2, kC3, &p0, &p1, &p2));
    ASSERT_EQ(0, FillDevice(0, 0, 256, 256));
    EXPECT_EQ(0xFF0000u, t.Pixel(0, 0));      // c0 red
    EXPECT_EQ(0x00FF00u, t.Pixel(255, 0));    // c1 green
    EXPECT_EQ(0x0000FFu, t.Pixel(255, 255));  // c2 blue
    EXPECT_EQ(0xFFFFFFu, t.Pixel(0, 255));    // c3 white
    for (int i = 0; i < 256; i += 17) {
        EXPECT_EQ(ExpectedBlend(i, 255 - i), t.Pixel(i, 255 - i)) << i;
        EXPECT_EQ(ExpectedBlend(128, i), t.Pixel(128, i)) << i;
    }
}

TEST_F(DrawTest, FourColourFieldClampsOrMirrorsBeyondItsCell) {
    Target t(80, 40, 32);
    Attach(t);
    const TessroPoint p0 = Device(0, 0), p1 = Device(16, 0), p2 = Device(0, 16);
    // Clamped: everything beyond both far edges is c2.
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 1, kC0, kC1, kC2, kC3, &p0, &p1, &p2));
    ASSERT_EQ(0, FillDevice(0, 0, 80, 40));
    EXPECT_EQ(0x0000FFu, t.Pixel(40, 30));
    EXPECT_EQ(0x0000FFu, t.Pixel(79, 16));
    // Mirrored: the field repeats every two cells, reflected in between.
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 3, kC0, kC1, kC2, kC3, &p0, &p1, &p2));
    ASSERT_EQ(0, FillDevice(0, 0, 80, 40));
    for (int x = 0; x < 48; ++x) EXPECT_EQ(t.Pixel(x, 3), t.Pixel(x + 32, 3)) << x;
    EXPECT_NE(t.Pixel(40, 30), 0x0000FFu);
    // Collinear anchors: colour 0, flat. Kind 5 is refused before any geometry.
    EXPECT_EQ(-1, TessroSetGraduatedColours(ctx, 5, kC0, kC1, kC2, kC3, &p0, &p0, &p0));
    EXPECT_EQ(TESSRO_ERROR_BAD_GRADUATION_STYLE, LastError());
    EXPECT_EQ(kTessroFillNone, ctx->fillStyle);
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 0, kC0, kC1, kC2, kC3, &p0, &p1, &p1));
    ASSERT_EQ(0, FillDevice(0, 0, 80, 40));
    EXPECT_EQ(0xFF0000u, t.Pixel(50, 20));
}

TEST_F(DrawTest, FourPointFieldsDrawTheSameWhateverTheirBounds) {
    Target t(64, 64, 32);
    Attach(t);
    const double quads[2][4][2] = {
        {{3, 2}, {60, 8}, {50, 62}, {-7, 56}},
        {{3, 2}, {60, 12}, {40, 62}, {-2, 50}},
    };
    for (const auto& q : quads) {
        TessroPoint p[4];
        for (int k = 0; k < 4; ++k) p[k] = Device(q[k][0], q[k][1]);
        for (DWORD kind : {0u, 2u}) {
            SCOPED_TRACE(testing::Message() << q[1][1] << " kind " << kind);
            ASSERT_EQ(0, TessroSetPerspectiveGraduatedColours(ctx, kind, kC0, kC1, kC2, kC3, &p[0], &p[1], &p[2], &p[3]));
            ASSERT_EQ(0, FillDevice(0, 0, 64, 64));
            const std::vector<BYTE> whole = t.bytes();
            // Above and left of the first corner: clamped to c0.
            if (kind == 0) {
                EXPECT_EQ(0xFF0000u, t.Pixel(0, 0));
            }
            std::fill(t.bytes().begin(), t.bytes().end(), 0);
            ASSERT_EQ(0, FillDevice(30, 0, 64, 64));
            ASSERT_EQ(0, FillDevice(0, 0, 30, 64));
            // Stepping from another first column may round one step differently, no more.
            for (size_t i = 0; i < whole.size(); ++i) ASSERT_NEAR(whole[i], t.bytes()[i], 2) << i;
        }
    }
}

// On lower depths the field goes through the row buffer and the converter: a field of one
// colour draws exactly what that flat colour draws where the two dither alike.
TEST_F(DrawTest, FieldsOnLowerDepthsConvertTheirRows) {
    const struct {
        WORD bits;
        DWORD mode;
        DWORD colour;
    } cases[] = {{1, 0, 0x808080}, {1, 0, 0x3366CC}, {8, 0, 0x3366CC}, {8, 1, 0x3366CC},
                 {16, 0, 0x3366CC}, {16, 3, 0x10E040}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << "/" << c.mode);
        Target flat(21, 6, c.bits), field(21, 6, c.bits);
        Attach(flat, c.mode);
        ASSERT_EQ(0, TessroSetColour(ctx, c.colour));
        ASSERT_EQ(0, FillDevice(1, 1, 20, 6));
        Attach(field, c.mode);
        const TessroPoint p0 = Device(0, 0), p1 = Device(8, 0), p2 = Device(0, 8);
        ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 0, c.colour, c.colour, c.colour, c.colour, &p0, &p1, &p2));
        ASSERT_EQ(0, FillDevice(1, 1, 20, 6));
        EXPECT_EQ(flat.bytes(), field.bytes());
    }
    Target two(8, 8, 2);
    Attach(two);
    const TessroPoint p0 = Device(0, 0), p1 = Device(8, 0), p2 = Device(0, 8);
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 0, kC0, kC1, kC2, kC3, &p0, &p1, &p2));
    EXPECT_EQ(-1, FillDevice(0, 0, 8, 8));
    EXPECT_EQ(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE, LastError());
}

TEST_F(DrawTest, OneBitRowsDitherAgainstTheOrigin) {
    Target t(8, 4, 1);
    Attach(t);
    const TessroPoint p0 = Device(0, 0), p1 = Device(8, 0), p2 = Device(0, 8);
    const auto fill = [&](DWORD colour) {
        EXPECT_EQ(0, TessroSetGraduatedColours(ctx, 0, colour, colour, colour, colour, &p0, &p1, &p2));
        EXPECT_EQ(0, FillDevice(0, 0, 8, 4));
        return std::vector<BYTE>({t.bytes()[0], t.bytes()[4], t.bytes()[8], t.bytes()[12]});
    };
    EXPECT_EQ(std::vector<BYTE>(4, 0xFF), fill(0xFFFFFF));
    EXPECT_EQ(std::vector<BYTE>(4, 0x00), fill(0x000000));
    const std::vector<BYTE> grey = fill(0x808080);
    for (BYTE row : grey) EXPECT_EQ(4, __builtin_popcount(row));
    ASSERT_EQ(0, TessroSetDitherOrigin(ctx, 1, 0));
    const std::vector<BYTE> shifted = fill(0x808080);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(static_cast<BYTE>((grey[y] >> 1) | (grey[y] << 7)), shifted[y]);
}

TEST_F(DrawTest, FourBitConversionFollowsTheDominantChannel) {
    Target t(4, 4, 4);
    Attach(t);
    const struct {
        DWORD pixel;  // blue | green << 8 | red << 16
        int x, y;     // Bayer value kBayer[y][x]
        DWORD index;
    } cases[] = {
        {0x000000, 0, 0, 0},   {0x030303, 0, 0, 0},  {0x040404, 0, 0, 7},  {0x7B7B7B, 3, 0, 0},
        {0x808080, 0, 0, 7},   {0x828282, 0, 0, 8},  {0xC2C2C2, 0, 0, 15}, {0xC1C1C1, 0, 0, 8},
        {0x000004, 0, 0, 4},   {0x000400, 0, 0, 2},  {0x040000, 0, 0, 1},
        {0xFF0000, 0, 0, 9},   {0xFFFF00, 0, 0, 11}, {0x00FF00, 3, 0, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.index, TessroConvertPixel(ctx, c.pixel, c.x, c.y)) << std::hex << c.pixel;
    }
}

TEST_F(DrawTest, FieldStagesRewriteColoursAndKeepTheFourthByte) {
    Target t(4, 1, 32);
    Attach(t);
    const TessroPoint p0 = Device(0, 0), p1 = Device(8, 0), p2 = Device(0, 8);
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 0x07000000, kC3, kC3, kC3, kC3, &p0, &p1, &p2));
    ASSERT_EQ(0, FillDevice(0, 0, 4, 1));
    EXPECT_EQ(TessroSeparatePixel(ctx, 0xFFFFFF, 3), t.Pixel(1, 0));
    // The colour-map option without a map draws the field as it is.
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 0x08000000, kC3, kC3, kC3, kC3, &p0, &p1, &p2));
    ASSERT_EQ(0, FillDevice(0, 0, 4, 1));
    EXPECT_EQ(0xFFFFFFu, t.Pixel(2, 0));
    std::vector<DWORD> map(32768);
    for (size_t i = 0; i < map.size(); ++i) map[i] = 0xAA000000u | static_cast<DWORD>(i);
    ASSERT_EQ(0, TessroSetColourMapTable(ctx, map.data()));
    ASSERT_EQ(0, TessroSetGraduatedColours(ctx, 0x08000000, kC3, kC3, kC3, kC3, &p0, &p1, &p2));
    ASSERT_EQ(0, FillDevice(0, 0, 4, 1));
    EXPECT_EQ(0x00007FFFu, t.Pixel(2, 0));  // white's cell, the field's fourth byte 0
}

TEST(CTessroDraw, MembersForwardToTheEntries) {
    CTessro tessro(CTessro::kAppStackAllowance);
    Target t(16, 16, 32);
    ASSERT_EQ(0, tessro.SetInvertedBitmap(t.header(), t.bits(), 0));
    ASSERT_EQ(0, tessro.SetBitmap(t.header(), t.bits(), 0));
    const TessroPoint p0 = User(0, 16), p1 = User(16, 16), p2 = User(0, 0);
    ASSERT_EQ(0, tessro.SetGraduatedColours(0, kC0, kC1, kC2, kC3, &p0, &p1, &p2));
    const TessroPoint rect[2] = {User(0, 0), User(16, 16)};
    ASSERT_EQ(0, tessro.FillRectangle(rect));
    EXPECT_EQ(ExpectedBlend(8, 8), t.Pixel(0, 0));
    std::vector<DWORD> table = IndexTable();
    ASSERT_EQ(0, tessro.SetGraduation(0, table.data(), &p0, &p2, &p1));
    const TessroPoint point = User(3.5, 15.5);
    ASSERT_EQ(0, tessro.FillPoint(&point));
    EXPECT_EQ(56u, t.Pixel(3, 0));
}

}  // namespace
