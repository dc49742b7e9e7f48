// Bitmap fills: setter checks and source descriptions, the tile styles at the edges of the
// source, the texel readers of every source format, and repeating row-affine fills whose
// steps are many tiles long; smoothed fills against the bilinear blend of their texels.
#include <cmath>

#include "tests/raster/TessroBitmapSupport.h"

namespace {

class BitmapFillTest : public DrawTest {
protected:
    // Lays the source at device (x, y), one texel per pixel.
    int SetFill(const BITMAPINFOHEADER& h, const void* bits, DWORD style, double x, double y,
                const RGBQUAD* palette = nullptr, const BYTE* red = nullptr, const BYTE* green = nullptr,
                const BYTE* blue = nullptr, const BYTE* fourth = nullptr, DWORD outside = 0) {
        const TessroPoint p0 = Device(x, y), p1 = Device(x + h.biWidth, y), p2 = Device(x, y + h.biHeight);
        return TessroSetBitmapFill(ctx, &h, bits, style, &p0, &p1, &p2, outside, palette, red, green, blue, fourth, 0);
    }
};

TEST_F(BitmapFillTest, SetterRefusesWhatItCannotRead) {
    Target t(8, 8, 32);
    Attach(t);
    const DWORD bits[16] = {};
    const RGBQUAD palette[256] = {};
    const struct {
        const char* name;
        BITMAPINFOHEADER header;
        bool nullBits;
        bool palette;
        DWORD style;
        TessroError code;
    } cases[] = {
        {"2 bpp", SourceHeader(2, 2, 2), false, true, 0, TESSRO_ERROR_BAD_BITMAP},
        {"two planes", [] { auto h = SourceHeader(2, 2, 32); h.biPlanes = 2; return h; }(), false, true, 0,
         TESSRO_ERROR_BAD_BITMAP},
        {"subtractive 24 bpp", SourceHeader(2, 2, 24, 0x80000000u), false, true, 0, TESSRO_ERROR_BAD_BITMAP},
        {"65536 rows", SourceHeader(2, 65536, 32), false, true, 0, TESSRO_ERROR_BAD_BITMAP},
        {"bottom-up sign", SourceHeader(2, -2, 32), false, true, 0, TESSRO_ERROR_BAD_BITMAP},
        {"no columns", SourceHeader(0, 2, 32), false, true, 0, TESSRO_ERROR_BAD_BITMAP},
        {"no bits", SourceHeader(2, 2, 32), true, true, 0, TESSRO_ERROR_BAD_BITMAP},
        {"palette source without palette", SourceHeader(2, 2, 8), false, false, 0, TESSRO_ERROR_BAD_PARAMETERS},
        {"transparency type 37", SourceHeader(2, 2, 32), false, true, 37 << 8, TESSRO_ERROR_BAD_TRANSPARENCY_STYLE},
        {"both variant flags", SourceHeader(2, 2, 32), false, true, 0xC0 << 8, TESSRO_ERROR_BAD_TRANSPARENCY_STYLE},
        {"tile style 4", SourceHeader(2, 2, 32), false, true, 4, TESSRO_ERROR_BAD_TILE_STYLE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(0, TessroSetColour(ctx, 0));
        EXPECT_EQ(-1, SetFill(c.header, c.nullBits ? nullptr : bits, c.style, 0, 0, c.palette ? palette : nullptr));
        EXPECT_EQ(c.code, LastError());
        EXPECT_EQ(kTessroFillNone, ctx->fillStyle);
    }
    EXPECT_EQ(-1, TessroSetBitmapFill(ctx, nullptr, bits, 0, nullptr, nullptr, nullptr, 0, palette, nullptr,
                                      nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(TESSRO_ERROR_BAD_BITMAP, LastError());
}

TEST_F(BitmapFillTest, SourceCodesAndReducedSteps) {
    Target t(8, 8, 32);
    Attach(t);
    std::vector<BYTE> bits(4 * 100 * 2);
    const BYTE identity[256] = {};
    const struct {
        BITMAPINFOHEADER header;
        const BYTE* red;
        DWORD style;
        DWORD code;
        DWORD transparencyWord;
    } cases[] = {
        {SourceHeader(2, 2, 24), nullptr, 0, 9, 0},
        {SourceHeader(2, 2, 24), identity, 0, 4, 0},
        {SourceHeader(2, 2, 16), nullptr, 0, 8, 0},
        {SourceHeader(2, 2, 32), nullptr, 0x4000, 10, 1u << 30},
        // The subtractive source has no transparency of its own: the variant is dropped.
        {SourceHeader(2, 2, 32, 0x80000000u), nullptr, 0x4000, 11, 0},
        {SourceHeader(2, 2, 32, 0x80000000u), identity, 0x8000, 6, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.header.biBitCount << " code " << c.code);
        ASSERT_EQ(0, SetFill(c.header, bits.data(), c.style, 0, 0, nullptr, c.red));
        EXPECT_EQ(c.code, ctx->draw.bitmap.code);
        EXPECT_EQ(c.transparencyWord, ctx->transparencyType);
    }
    // A 100-pixel repeat at scale 1 steps one column; at 70 columns per pixel, -30.
    const BITMAPINFOHEADER wide = SourceHeader(100, 2, 32);
    ASSERT_EQ(0, SetFill(wide, bits.data(), 2, 0, 0));
    EXPECT_EQ(1ll << 32, ctx->draw.colour.stepUx);
    const TessroPoint p0 = Device(0, 0), p1 = Device(100.0 / 70.0, 0), p2 = Device(0, 2);
    ASSERT_EQ(0, TessroSetBitmapFill(ctx, &wide, bits.data(), 2, &p0, &p1, &p2, 0, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, 0));
    EXPECT_NEAR(-30.0, ctx->draw.colour.stepUx / 4294967296.0, 1e-3);
    // Collinear anchors: the outside colour, flat and opaque.
    const TessroPoint q2 = Device(3, 0);
    ASSERT_EQ(0, TessroSetBitmapFill(ctx, &wide, bits.data(), 0, &p0, &p1, &q2, 0x123456, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, 0));
    ASSERT_EQ(0, FillDevice(0, 0, 8, 8));
    EXPECT_EQ(0x563412u, t.Pixel(4, 4));
}

// A 4 x 2 source laid at device (2, 1): the column and row each tile style reads around it.
TEST_F(BitmapFillTest, TileStylesAtTheEdges) {
    const DWORD source[8] = {0x10, 0x11, 0x12, 0x13, 0x20, 0x21, 0x22, 0x23};
    const BITMAPINFOHEADER h = SourceHeader(4, 2, 32);
    const DWORD outside = 0x00EEDDCC, O = 0xCCDDEE;
    const struct {
        DWORD tile;
        DWORD row0[11];  // device row 0 (source row -1 + 0.5), columns 0..10
        DWORD row1[11];  // device row 1 (source row 0)
    } cases[] = {
        {0, {0x10, 0x10, 0x10, 0x11, 0x12, 0x13, 0x13, 0x13, 0x13, 0x13, 0x13},
         {0x10, 0x10, 0x10, 0x11, 0x12, 0x13, 0x13, 0x13, 0x13, 0x13, 0x13}},
        {1, {O, O, O, O, O, O, O, O, O, O, O}, {O, O, 0x10, 0x11, 0x12, 0x13, O, O, O, O, O}},
        {2, {0x22, 0x23, 0x20, 0x21, 0x22, 0x23, 0x20, 0x21, 0x22, 0x23, 0x20},
         {0x12, 0x13, 0x10, 0x11, 0x12, 0x13, 0x10, 0x11, 0x12, 0x13, 0x10}},
        {3, {0x11, 0x10, 0x10, 0x11, 0x12, 0x13, 0x13, 0x12, 0x11, 0x10, 0x10},
         {0x11, 0x10, 0x10, 0x11, 0x12, 0x13, 0x13, 0x12, 0x11, 0x10, 0x10}},
    };
    for (int perspective = 0; perspective < 2; ++perspective) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "tile " << c.tile << (perspective ? " perspective" : ""));
            Target t(11, 2, 32);
            Attach(t);
            if (perspective) {
                // Nearly the same rectangle; the perspective spans take the texel under each pixel's
                // top left corner, so the source sits a quarter pixel up and left.
                const TessroPoint p0 = Device(1.75, 0.75), p1 = Device(5.75, 0.75), p2 = Device(5.75, 2.76),
                                  p3 = Device(1.75, 2.75);
                ASSERT_EQ(0, TessroSetPerspectiveBitmapFill(ctx, &h, source, c.tile, &p0, &p1, &p2, &p3, outside,
                                                            nullptr, nullptr, nullptr, nullptr, nullptr, 0));
                ASSERT_EQ(0, ctx->draw.colour.rowAffine);
            } else {
                ASSERT_EQ(0, SetFill(h, source, c.tile, 2, 1, nullptr, nullptr, nullptr, nullptr, nullptr, outside));
            }
            ASSERT_EQ(0, FillDevice(0, 0, 11, 2)) << LastError();
            for (int x = 0; x < 11; ++x) {
                EXPECT_EQ(c.row0[x], t.Pixel(x, 0)) << x;
                EXPECT_EQ(c.row1[x], t.Pixel(x, 1)) << x;
            }
        }
    }
}

// One texel per case, read through the reader of its format.
TEST_F(BitmapFillTest, TexelReadersOfEverySourceFormat) {
    BYTE invert[256], zero[256];
    for (int i = 0; i < 256; ++i) invert[i] = static_cast<BYTE>(255 - i), zero[i] = 0;
    RGBQUAD palette[256] = {};
    palette[1] = {0x01, 0x02, 0x03, 0};
    palette[9] = {0x90, 0xA0, 0xB0, 0};
    const struct {
        const char* name;
        WORD bits;
        DWORD compression;
        BYTE texel[4];
        int column;  // the texel is read at this column of a one-row source
        const BYTE* red;
        const BYTE* blue;
        const BYTE* fourth;
        DWORD expected;
    } cases[] = {
        {"1 bpp", 1, 0, {0x20, 0, 0, 0}, 2, nullptr, nullptr, nullptr, 0x030201},
        {"4 bpp high nibble", 4, 0, {0x91, 0, 0, 0}, 0, nullptr, nullptr, nullptr, 0xB0A090},
        {"4 bpp low nibble", 4, 0, {0x91, 0, 0, 0}, 1, nullptr, nullptr, nullptr, 0x030201},
        {"8 bpp, palette through the tables", 8, 0, {9, 0, 0, 0}, 0, invert, nullptr, nullptr, 0x4FA090},
        {"16 bpp direct", 16, 0, {0x1F, 0x7C, 0, 0}, 0, nullptr, nullptr, nullptr, 0xFF00FF},
        // The red table serves the low five bits and the blue table bits 10..14.
        {"16 bpp tables", 16, 0, {0x1F, 0x00, 0, 0}, 0, zero, invert, nullptr, 0xFF0000},
        {"24 bpp", 24, 0, {0x11, 0x22, 0x33, 0}, 0, nullptr, nullptr, nullptr, 0x332211},
        {"24 bpp red table", 24, 0, {0x11, 0x22, 0x33, 0}, 0, invert, nullptr, nullptr, 0xCC2211},
        {"32 bpp drops the fourth byte", 32, 0, {0x11, 0x22, 0x33, 0x44}, 0, nullptr, nullptr, nullptr, 0x332211},
        {"subtractive black ink", 32, 0x80000000u, {0, 0, 0, 255}, 0, nullptr, nullptr, nullptr, 0},
        {"subtractive full inks", 32, 0x80000000u, {255, 255, 255, 0}, 0, nullptr, nullptr, nullptr, 0},
        {"subtractive no ink", 32, 0x80000000u, {0, 0, 0, 0}, 0, nullptr, nullptr, nullptr, 0xFFFFFF},
        {"subtractive cyan", 32, 0x80000000u, {255, 0, 0, 0}, 0, nullptr, nullptr, nullptr, 0x00FFFF},
        {"subtractive with tables", 32, 0x80000000u, {0, 0, 0, 0}, 0, nullptr, nullptr, invert, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Target t(4, 1, 32);
        Attach(t);
        const BITMAPINFOHEADER h = SourceHeader(4, 1, c.bits, c.compression);
        BYTE row[16] = {};
        const int bytesPerTexel = c.bits / 8;
        std::memcpy(row + (bytesPerTexel ? c.column * bytesPerTexel : 0), c.texel, bytesPerTexel ? bytesPerTexel : 1);
        ASSERT_EQ(0, SetFill(h, row, 0, 0, 0, palette, c.red, nullptr, c.blue, c.fourth));
        ASSERT_EQ(0, FillDevice(0, 0, 4, 1));
        EXPECT_EQ(c.expected, t.Pixel(c.column, 0) & 0xFFFFFF);
    }
}

// Four points of a parallelogram map rows affinely; at many source columns per pixel the
// steps of a repeating or mirrored fill are reduced per row, so every read stays in the source
// (AddressSanitizer watches the source, sized exactly).
TEST_F(BitmapFillTest, RowAffineTilesWithLongStepsReadOnlyTheSource) {
    std::vector<DWORD> source = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    const BITMAPINFOHEADER h = SourceHeader(3, 2, 32);
    for (DWORD tile : {2u, 3u}) {
        SCOPED_TRACE(tile);
        Target t(64, 16, 32);
        Attach(t);
        // 3 columns over a fraction of a pixel: about 70 columns per pixel, 37 rows per row.
        const TessroPoint p0 = Device(5, 3), p1 = Device(5.043, 3.01), p2 = Device(5.052, 3.064),
                          p3 = {p0.x + p2.x - p1.x, p0.y + p2.y - p1.y};
        ASSERT_EQ(0, TessroSetPerspectiveBitmapFill(ctx, &h, source.data(), tile, &p0, &p1, &p2, &p3, 0, nullptr,
                                                    nullptr, nullptr, nullptr, nullptr, 0));
        ASSERT_EQ(1, ctx->draw.colour.rowAffine);
        ASSERT_EQ(0, FillDevice(0, 0, 64, 16)) << LastError();
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 64; ++x) {
                const DWORD p = t.Pixel(x, y);
                ASSERT_TRUE(p >= 1 && p <= 6) << x << "," << y << " " << p;
            }
        }
    }
    // The filtered family paints the same source.
    Target t(8, 8, 32);
    Attach(t);
    ASSERT_EQ(0, TessroSetBitmapFillFiltering(ctx, 1));
    ASSERT_EQ(0, SetFill(h, source.data(), 0, 0, 0));
    EXPECT_EQ(0, FillDevice(0, 0, 8, 8)) << LastError();
    EXPECT_NE(0u, t.Pixel(0, 0));
}

// Smoothed fills blend the 2 x 2 texels around each pixel centre: a black and a white texel
// at two pixels each, by tile style; at one pixel per texel the source comes back unchanged.
TEST_F(BitmapFillTest, SmoothedFillsBlendNeighbouringTexels) {
    const DWORD source[2] = {0x000000, 0xFFFFFF};
    const BITMAPINFOHEADER h = SourceHeader(2, 1, 32);
    const struct {
        DWORD tile;
        int grey[4];
    } cases[] = {
        {0, {0, 64, 192, 255}},
        {1, {32, 64, 192, 223}},  // towards the outside grey 128 beyond the edges
        {2, {63, 64, 192, 191}},  // the far texel wraps round
        {3, {0, 64, 192, 255}},   // the edge texel repeats at the seam
    };
    ASSERT_EQ(0, TessroSetBitmapFillSmoothing(ctx, 1));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tile);
        Target t(4, 1, 32);
        Attach(t);
        // One row of pixels on the one source row: the rows take no weight from outside.
        const TessroPoint p0 = Device(0, 0), p1 = Device(4, 0), p2 = Device(0, 1);
        ASSERT_EQ(0, TessroSetBitmapFill(ctx, &h, source, c.tile, &p0, &p1, &p2, 0x808080, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, 0));
        ASSERT_EQ(0, FillDevice(0, 0, 4, 1)) << LastError();
        for (int x = 0; x < 4; ++x) EXPECT_EQ(static_cast<DWORD>(c.grey[x]) * 0x010101u, t.Pixel(x, 0)) << x;
    }
    const DWORD wide[4] = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    const BITMAPINFOHEADER w = SourceHeader(4, 1, 32);
    Target t(4, 1, 32);
    Attach(t);
    const TessroPoint p0 = Device(0, 0), p1 = Device(4, 0), p2 = Device(0, 1);
    ASSERT_EQ(0, TessroSetBitmapFill(ctx, &w, wide, 0, &p0, &p1, &p2, 0, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, 0));
    ASSERT_EQ(0, FillDevice(0, 0, 4, 1));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(wide[x], t.Pixel(x, 0)) << x;
}

// A varied source enlarged off the grid, clamped and repeated, against the bilinear blend of
// each pixel's four texels through the product table, weights from the top 8 bits of the
// fractions after the half-texel shift.
TEST_F(BitmapFillTest, SmoothedPixelsBlendTheirFourTexels) {
    const int w = 5, h = 4;
    std::vector<DWORD> source(w * h);
    for (int i = 0; i < w * h; ++i) source[i] = ((i * 53) & 0xFF) | (((i * 17 + 90) & 0xFF) << 8) | (((250 - i * 11) & 0xFF) << 16);
    const BITMAPINFOHEADER header = SourceHeader(w, h, 32);
    ASSERT_EQ(0, TessroSetBitmapFillSmoothing(ctx, 1));
    // Anchors on whole 1/1024ths of a pixel, so the fill's origin is exactly this one.
    const double ox = 307 / 1024.0, oy = 461 / 1024.0, scale = 1.75;
    int compared = 0;
    for (DWORD tile : {0u, 2u}) {
        SCOPED_TRACE(tile);
        Target t(14, 11, 32);
        Attach(t);
        const TessroPoint p0 = Device(ox, oy), p1 = Device(ox + w * scale, oy), p2 = Device(ox, oy + h * scale);
        ASSERT_EQ(0, TessroSetBitmapFill(ctx, &header, source.data(), tile, &p0, &p1, &p2, 0, nullptr, nullptr, nullptr,
                                         nullptr, nullptr, 0));
        ASSERT_EQ(0, FillDevice(0, 0, 14, 11)) << LastError();
        auto wrap = [tile](std::int64_t i, int size) {
            if (tile == 0) return static_cast<int>(i < 0 ? 0 : i >= size ? size - 1 : i);
            return static_cast<int>(((i % size) + size) % size);
        };
        for (int y = 0; y < 11; ++y) {
            for (int x = 0; x < 14; ++x) {
                const double u = (x + 0.5 - ox) / scale - 0.5, v = (y + 0.5 - oy) / scale - 0.5;
                const double fu256 = (u - std::floor(u)) * 256, fv256 = (v - std::floor(v)) * 256;
                if (std::fabs(fu256 - std::nearbyint(fu256)) < 1e-3 || std::fabs(fv256 - std::nearbyint(fv256)) < 1e-3) continue;
                const int fu = static_cast<int>(fu256), fv = static_cast<int>(fv256);
                const std::int64_t iu = static_cast<std::int64_t>(std::floor(u)), iv = static_cast<std::int64_t>(std::floor(v));
                const int c0 = wrap(iu, w), c1 = wrap(iu + 1, w), r0 = wrap(iv, h), r1 = wrap(iv + 1, h);
                DWORD want = 0;
                for (int c = 0; c < 3; ++c) {
                    auto at = [&](int col, int row) { return static_cast<int>((source[row * w + col] >> (8 * c)) & 0xFF); };
                    const int top = at(c0, r0) + TessroProduct(fu, at(c1, r0) - at(c0, r0));
                    const int bottom = at(c0, r1) + TessroProduct(fu, at(c1, r1) - at(c0, r1));
                    want |= static_cast<DWORD>((top + TessroProduct(fv, bottom - top)) & 0xFF) << (8 * c);
                }
                ASSERT_EQ(want, t.Pixel(x, y)) << x << "," << y;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 200);
}

}  // namespace
