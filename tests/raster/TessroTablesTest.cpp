#include "tests/raster/TessroTestSupport.h"

namespace {

TEST_F(TessroTest, GreyWeightsSplitTheUnitAndKeepGreysExact) {
    EXPECT_EQ(255u, TessroGrey(ctx, 255, 255, 255));
    EXPECT_EQ(1u, TessroGrey(ctx, 1, 1, 1));
    for (DWORD v = 0; v < 256; ++v) ASSERT_EQ(v, TessroGrey(ctx, v, v, v));
    ASSERT_EQ(0, TessroSetGreyWeights(ctx, 1, 1, 1));
    EXPECT_EQ(0x55AB00u, ctx->greyRed[1]);
    EXPECT_EQ(85u, TessroGrey(ctx, 255, 0, 0));
    EXPECT_EQ(255u, TessroGrey(ctx, 255, 255, 255));
    EXPECT_EQ(-1, TessroSetGreyWeights(ctx, 0, 0, 0));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
    EXPECT_EQ(-1, TessroSetGreyWeights(ctx, 0xFFFFFFFF, 1, 0));
    EXPECT_EQ(0x55AB00u, ctx->greyRed[1]);
}

TEST_F(TessroTest, SeparationPlatesDefaultsAndReplacement) {
    // Default black plate of pure red: black of strength 255 - max = 0, i.e. white.
    EXPECT_EQ(0x00FFFFFFu, TessroSeparatePixel(ctx, 0x00FF0000, 3) & 0x00FFFFFF);
    // Cyan plate of (R 55, G 255, B 0): cyan of strength m - R = 200 over white.
    EXPECT_EQ(0x7737FFFFu, TessroSeparatePixel(ctx, 0x7737FF00, 0));
    EXPECT_EQ(0x00FFFFFFu, TessroSeparatePixel(ctx, 0x0037FF00, 1));  // magenta: G is the max
    DWORD plate[256];
    for (int i = 0; i < 256; ++i) plate[i] = DWORD(i);
    ASSERT_EQ(0, TessroSetLookupTables(ctx, plate, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(200u, TessroSeparatePixel(ctx, 0x0037FF00, 0));
    ASSERT_EQ(0, TessroSetLookupTables(ctx, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0x00FFFFFFu, TessroSeparatePixel(ctx, 0x00FF0000, 3) & 0x00FFFFFF);
    // The default curves clamp outside 0..255.
    EXPECT_EQ(0, ctx->underColourRemoval[-1025]);
    EXPECT_EQ(255, ctx->blackGeneration[1279]);
}

TEST_F(TessroTest, ColourMapNeedsATableAndMapsByFiveBitCells) {
    EXPECT_EQ(-1, TessroSetColourMapTable(ctx, nullptr));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
    std::vector<DWORD> map(32768);
    for (DWORD i = 0; i < map.size(); ++i) map[i] = i;
    ASSERT_EQ(0, TessroSetColourMapTable(ctx, map.data()));
    // Pixel blue 255, green 8, red 0 with top 0x12: cell 31 x 1024 + 1 x 32 + 0.
    EXPECT_EQ(0x12000000u | (31 * 1024 + 32), TessroMapPixelColour(ctx, 0x120008FF));
}

TEST(TessroProductTable, RoundsEveryProductToTheNearestInteger) {
    for (int c = 0; c < 256; ++c) {
        for (int d = -255; d <= 255; ++d) {
            const double exact = c * d / 255.0;
            const int nearest = exact >= 0 ? int(exact + 0.5) : -int(-exact + 0.5);
            ASSERT_EQ(nearest, TessroProduct(c, d)) << c << " " << d;
        }
    }
    EXPECT_EQ(-129, TessroProduct(129, -255));
    EXPECT_EQ(TessroProduct(37, 201), TessroProduct(201, 37));
}

TEST(TessroTransferCurves, BuiltInCurvesStayOnTheirSideOfTheIdentity) {
    const BYTE* dark = TessroDarkeningCurve();
    const BYTE* light = TessroLighteningCurve();
    const BYTE knee[8] = {26, 27, 28, 28, 29, 30, 30, 31};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(knee[i], dark[120 + i]);
    const BYTE start[9] = {0, 2, 5, 8, 11, 14, 17, 20, 23};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(start[i], light[i]);
    for (int i = 0; i < 256; ++i) {
        EXPECT_LE(dark[i], i);
        EXPECT_GE(light[i], i);
        if (i < 32) {
            EXPECT_EQ(0, dark[i]);
        }
        if (i > 0) {
            EXPECT_GE(dark[i], dark[i - 1]);
            EXPECT_GE(light[i], light[i - 1]);
        }
    }
    EXPECT_EQ(255, dark[255]);
    EXPECT_EQ(255, light[255]);
}

TEST_F(TessroTest, ShadingDarkensAndLightensByTheAmount) {
    ASSERT_EQ(0, TessroSetTransferCurves(ctx, 255));
    for (DWORD v = 0; v < 256; v += 15) {
        EXPECT_EQ(0, TessroShadeValue(ctx, 0, v));
        EXPECT_EQ(255, TessroShadeValue(ctx, 255, v));
    }
    ASSERT_EQ(0, TessroSetTransferCurves(ctx, 300));  // taken as 128
    std::vector<std::int32_t> dark(ctx->darkening, ctx->darkening + 256);
    for (DWORD v = 0; v < 256; ++v) {
        EXPECT_LE(std::abs(TessroShadeValue(ctx, 127, v) - int(v)), 1);
        EXPECT_LE(std::abs(TessroShadeValue(ctx, 128, v) - int(v)), 1);
        ASSERT_GE(ctx->darkening[v], 0);
        ASSERT_LE(ctx->lightening[v], 255 * 512);
    }
    ASSERT_EQ(0, TessroInitContext(ctx, nullptr));
    EXPECT_EQ(dark, std::vector<std::int32_t>(ctx->darkening, ctx->darkening + 256));
    // The single-curve setters rebuild only their own table.
    ASSERT_EQ(0, TessroSetDarkeningCurve(ctx, 0));
    EXPECT_NE(dark, std::vector<std::int32_t>(ctx->darkening, ctx->darkening + 256));
    const std::int32_t light = ctx->lightening[100];
    ASSERT_EQ(0, TessroSetLighteningCurve(ctx, 128));
    EXPECT_EQ(light, ctx->lightening[100]);
}

// ---- Matrix ----

TEST_F(TessroTest, TheMatrixMapsWithFlooringSixtyFourBitSums) {
    // Fresh context: an all-zero matrix maps everything to the origin.
    EXPECT_EQ(0, TessroMapPoint(ctx, 123456, -99).x);
    // The default of a 10-row target.
    TessroMatrix m{16384, 0, 0, -16384, 0, std::int64_t(10) << 30};
    ASSERT_EQ(0, TessroSetMatrix(ctx, &m));
    TessroDevicePoint p = TessroMapPoint(ctx, 0, 0);
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(10 * 16384, p.y);
    p = TessroMapPoint(ctx, 65536, 65536);
    EXPECT_EQ(16384, p.x);
    EXPECT_EQ(9 * 16384, p.y);
    EXPECT_EQ(p.x >> 4, TessroMapPointFine(ctx, 65536, 65536).x);
    EXPECT_EQ(-16384, TessroMapVector(ctx, 0, 65536).y);
    // Negative results floor; translations are full 64-bit values.
    TessroMatrix tiny{1, 0, 0, 0, std::int64_t(1) << 40, 0};
    ASSERT_EQ(0, TessroSetMatrix(ctx, &tiny));
    EXPECT_EQ((1 << 24) - 1, TessroMapPoint(ctx, -1, 0).x);
    tiny.e = 0;
    ASSERT_EQ(0, TessroSetMatrix(ctx, &tiny));
    EXPECT_EQ(-1, TessroMapPoint(ctx, -1, 0).x);
    EXPECT_EQ(-1, TessroMapPointFine(ctx, -1, 0).x);
    EXPECT_EQ(-1, TessroSetMatrix(ctx, nullptr));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
}

TEST_F(TessroTest, TheMatrixKeepsExactFloatingCopiesAndPixelForms) {
    TessroMatrix m{65536, -32768, 3, 0, -(std::int64_t(5) << 16), std::int64_t(1) << 40};
    ASSERT_EQ(0, TessroSetMatrix(ctx, &m));
    EXPECT_EQ(1.0, ctx->matrixA);
    EXPECT_EQ(-0.5, ctx->matrixB);
    EXPECT_EQ(3.0 / 65536, ctx->matrixC);
    EXPECT_EQ(-5.0, ctx->matrixE);
    EXPECT_EQ(16777216.0, ctx->matrixF);
    long double x = 0, y = 0;
    TessroMapPointToPixels(ctx, 1 << 14, 0, &x, &y);
    EXPECT_EQ(1.0L - 5.0L / 16384, x);
    TessroMapVectorToPixels(ctx, 0, 1 << 30, &x, &y);
    EXPECT_EQ(3.0L, x);
    // Offsets from a kept origin at precision n.
    TessroMatrix identity{65536, 0, 0, 65536, 0, 0};
    ASSERT_EQ(0, TessroSetMatrix(ctx, &identity));
    TessroSetMapOrigin(ctx, 100, 200, 4);
    const TessroDevicePoint p = TessroMapOffset(ctx, 16 * 3, -16 * 5);
    EXPECT_EQ(103, p.x);
    EXPECT_EQ(195, p.y);
}

}  // namespace
