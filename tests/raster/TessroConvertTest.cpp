#include <functional>

#include "tests/raster/TessroTestSupport.h"

namespace {

// A 32-bit image: rows of (red, green, blue, fourth byte) pixels, stored blue, green, red, fourth.
struct Image32 {
    BITMAPINFOHEADER header;
    std::vector<BYTE> bits;
    Image32(int width, int height) : header(Header(width, height, 32)), bits(width * height * 4, 0) {}
    void Set(int x, int y, int r, int g, int b, int t = 0) {
        BYTE* p = &bits[(y * header.biWidth + x) * 4];
        p[0] = BYTE(b), p[1] = BYTE(g), p[2] = BYTE(r), p[3] = BYTE(t);
    }
    void Fill(int r, int g, int b, int t = 0) {
        for (int y = 0; y < header.biHeight; ++y)
            for (int x = 0; x < header.biWidth; ++x) Set(x, y, r, g, b, t);
    }
};

struct Output {
    BITMAPINFOHEADER header;
    std::vector<BYTE> bits;
    int stride;
    Output(int width, int height, int depth, int padding = 4, BYTE fill = 0xCD)
        : header(Header(width, height, WORD(depth))) {
        const int bytes = (width * depth + 7) / 8;
        stride = (bytes + padding - 1) / padding * padding;
        bits.assign(stride * height, fill);
    }
    BYTE At(int offset, int y = 0) const { return bits[y * stride + offset]; }
    int Nibble(int x, int y = 0) const { return (At(x / 2, y) >> ((x & 1) ? 0 : 4)) & 15; }
    int Bit(int x, int y = 0) const { return (At(x / 8, y) >> (7 - (x & 7))) & 1; }
};

class ConvertTest : public TessroTest {
protected:
    int Convert(Image32& in, Output& out, DWORD mode) {
        return TessroConvertBitmap(ctx, &in.header, in.bits.data(), &out.header, out.bits.data(), mode);
    }
};

TEST_F(ConvertTest, BadArgumentsFailWithTheirCodesAndWriteNothing) {
    Image32 in(4, 2);
    in.Fill(10, 20, 30);
    BITMAPINFOHEADER wide = Header(5, 2, 8), flat = Header(0, 2, 32), negative = Header(4, -2, 32),
                     planes = Header(4, 2, 8), dst8 = Header(4, 2, 8),
                     dst2 = Header(4, 2, 2), dst32 = Header(4, 2, 32), dst4 = Header(4, 2, 4),
                     src24 = Header(4, 2, 24), src16 = Header(4, 2, 16), huge = Header(16384, 1, 32),
                     huge8 = Header(16384, 1, 8);
    planes.biPlanes = 2;
    std::vector<BYTE> out(16384 * 4, 0xCD);
    const struct {
        const BITMAPINFOHEADER* source;
        const BITMAPINFOHEADER* destination;
        DWORD mode;
        int code;
    } cases[] = {
        {nullptr, &dst8, 4, TESSRO_ERROR_BAD_PARAMETERS},
        {&in.header, nullptr, 4, TESSRO_ERROR_BAD_PARAMETERS},
        {&in.header, &wide, 4, TESSRO_ERROR_INCOMPATIBLE_BITMAPS},
        {&flat, &flat, 0, TESSRO_ERROR_BAD_BITMAP},
        {&negative, &negative, 0, TESSRO_ERROR_BAD_BITMAP},
        {&in.header, &planes, 4, TESSRO_ERROR_BAD_BITMAP},
        {&src24, &dst8, 4, TESSRO_ERROR_BAD_BITMAP},
        {&src16, &dst32, 0, TESSRO_ERROR_BAD_BITMAP},
        {&in.header, &dst2, 1, TESSRO_ERROR_BAD_BITMAP},
        {&in.header, &dst32, 3, TESSRO_ERROR_BAD_PARAMETERS},
        {&in.header, &dst32, 1, TESSRO_ERROR_BAD_PARAMETERS},  // background mode needs one header
        {&in.header, &dst8, 5, TESSRO_ERROR_BAD_PARAMETERS},   // grey map without a palette
        {&in.header, &dst8, 6, TESSRO_ERROR_BAD_PARAMETERS},
        {&in.header, &dst8, 7, TESSRO_ERROR_BAD_PARAMETERS},
        {&in.header, &dst4, 7, TESSRO_ERROR_BAD_PARAMETERS},
        {&huge, &huge8, 3, TESSRO_ERROR_BAD_BITMAP},  // too wide for the error lines
        {&huge, &huge8, 0x103, TESSRO_ERROR_BAD_BITMAP},
    };
    std::vector<BYTE> source(16384 * 4, 0x40);
    for (const auto& c : cases) {
        const void* bits = c.source == &in.header ? static_cast<const void*>(in.bits.data()) : source.data();
        EXPECT_EQ(-1, TessroConvertBitmap(ctx, c.source, bits, c.destination, out.data(), c.mode));
        EXPECT_EQ(c.code, LastError()) << c.mode;
    }
    EXPECT_EQ(std::vector<BYTE>(out.size(), 0xCD), out);
    // Null bits are refused as well.
    EXPECT_EQ(-1, TessroConvertBitmap(ctx, &in.header, nullptr, &dst8, out.data(), 4));
    EXPECT_EQ(-1, TessroConvertBitmap(ctx, &in.header, in.bits.data(), &dst8, nullptr, 4));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
}

TEST_F(ConvertTest, SixteenAndTwentyFourBitSourcesExpand) {
    const WORD pixels[3] = {0x7FFF, 0x0421, 0x8000 | (31 << 10)};
    BITMAPINFOHEADER h16 = Header(3, 1, 16);
    std::vector<BYTE> in16(8, 0);
    std::memcpy(in16.data(), pixels, sizeof(pixels));
    Output out24(3, 1, 24);
    ASSERT_EQ(0, TessroConvertBitmap(ctx, &h16, in16.data(), &out24.header, out24.bits.data(), 0));
    const BYTE expected24[9] = {255, 255, 255, 8, 8, 8, 0, 0, 255};
    EXPECT_EQ(0, std::memcmp(expected24, out24.bits.data(), 9));

    Output out32(3, 1, 32);
    ASSERT_EQ(0, TessroConvertBitmap(ctx, &out24.header, out24.bits.data(), &out32.header, out32.bits.data(), 5));
    const BYTE expected32[12] = {255, 255, 255, 0, 8, 8, 8, 0, 0, 0, 255, 0};
    EXPECT_EQ(0, std::memcmp(expected32, out32.bits.data(), 12));
}

TEST_F(ConvertTest, ThirtyTwoToTwentyFourCopiesWithTheModesPaddingAndOrder) {
    Image32 in(3, 2);
    in.Fill(1, 2, 3, 99);
    const struct {
        DWORD mode;
        int padding;
        BYTE first, last;
    } cases[] = {{8, 4, 3, 1}, {9, 2, 3, 1}, {10, 4, 1, 3}, {11, 2, 1, 3}};
    for (const auto& c : cases) {
        Output out(3, 2, 24, c.padding, 0xEE);
        ASSERT_EQ(0, Convert(in, out, c.mode));
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(c.first, out.At(3 * x, y));
                EXPECT_EQ(2, out.At(3 * x + 1, y));
                EXPECT_EQ(c.last, out.At(3 * x + 2, y));
            }
        }
        EXPECT_EQ(size_t(2 * (c.padding == 2 ? 10 : 12)), out.bits.size());
    }
}

TEST_F(ConvertTest, TwoByTwoOrderedPackingRoundsByCell) {
    // One row per cell pair: (x, y) = (0,0) cell 3, (1,0) cell 0, (0,1) cell 1, (1,1) cell 2.
    Image32 in(2, 2);
    in.Fill(100, 100, 100);
    Output out16(2, 2, 16);
    ASSERT_EQ(0, Convert(in, out16, 2));  // 5-5-5
    const auto pixel16 = [&](int x, int y) { return out16.At(2 * x, y) | (out16.At(2 * x + 1, y) << 8); };
    const auto grey555 = [](int level) { return (level << 10) | (level << 5) | level; };
    EXPECT_EQ(grey555(13), pixel16(0, 0));
    EXPECT_EQ(grey555(12), pixel16(1, 0));
    EXPECT_EQ(grey555(12), pixel16(0, 1));
    EXPECT_EQ(grey555(13), pixel16(1, 1));
    in.Fill(255, 255, 255);
    ASSERT_EQ(0, Convert(in, out16, 0));  // 5-6-5: saturates at the top level
    EXPECT_EQ(0xFFFF, pixel16(0, 0));
    // 24-bit output writes level x step; mode 7 acts as 5-5-5; 6-6-4 keeps blue in steps of 16.
    in.Fill(100, 100, 100);
    Output out24(2, 2, 24);
    ASSERT_EQ(0, Convert(in, out24, 7));
    EXPECT_EQ(104, out24.At(0));
    EXPECT_EQ(96, out24.At(3));
    ASSERT_EQ(0, Convert(in, out24, 3));
    EXPECT_EQ(112, out24.At(0));   // blue (100 + 12) / 16 = 7
    EXPECT_EQ(100, out24.At(1));   // green (100 + 3) / 4 = 25
    // The dither origin moves the cells: origin x 1 swaps the columns.
    ASSERT_EQ(0, TessroSetDitherOrigin(ctx, 1, 0));
    ASSERT_EQ(0, Convert(in, out16, 2));
    EXPECT_EQ(grey555(12), pixel16(0, 0));
    EXPECT_EQ(grey555(13), pixel16(1, 0));
}

TEST_F(ConvertTest, ThirtyTwoBitModesUndoTransparencyOrAddABackground) {
    Image32 in(4, 1);
    in.Set(0, 0, 64, 200, 0, 128);
    in.Set(1, 0, 10, 20, 30, 0);
    in.Set(2, 0, 10, 20, 30, 255);
    in.Set(3, 0, 1, 2, 3, 1);
    Output out(4, 1, 32, 4, 0x77);
    ASSERT_EQ(0, Convert(in, out, 0));
    const BYTE mode0[16] = {0, 255, 129, 128, 0x77, 0x77, 0x77, 0, 0x77, 0x77, 0x77, 255, 3, 2, 1, 1};
    EXPECT_EQ(0, std::memcmp(mode0, out.bits.data(), 16));
    ASSERT_EQ(0, Convert(in, out, 2));
    EXPECT_EQ(127, out.At(3));
    EXPECT_EQ(255, out.At(7));
    EXPECT_EQ(0, out.At(11));

    // Background mode works in place on the source; the destination argument is the colour.
    ASSERT_EQ(0, TessroConvertBitmap(ctx, &in.header, in.bits.data(), &in.header,
                                     reinterpret_cast<void*>(std::uintptr_t(0x00FF8000)), 1));
    // Background (red 0, green 128, blue 255): channel + round(t x background / 255), at most
    // 255; opaque pixels are left alone.
    const BYTE mode1[16] = {128, 255, 64, 128, 30, 20, 10, 0, 255, 148, 10, 255, 4, 3, 1, 1};
    EXPECT_EQ(0, std::memcmp(mode1, in.bits.data(), 16));
}

TEST_F(ConvertTest, OneBitModesThresholdMatchAndDither) {
    Image32 in(10, 1);
    in.Set(0, 0, 127, 127, 127);
    in.Set(1, 0, 128, 128, 128);
    Output out(10, 1, 1, 4, 0x00);
    ASSERT_EQ(0, Convert(in, out, 5));
    EXPECT_EQ(0, out.Bit(0));
    EXPECT_EQ(1, out.Bit(1));
    // Bits past the image in the last byte keep their old values.
    out.bits.assign(out.bits.size(), 0xFF);
    in.Fill(0, 0, 0);
    ASSERT_EQ(0, Convert(in, out, 1));
    EXPECT_EQ(0x00, out.At(0));
    EXPECT_EQ(0x3F, out.At(1));
    // Ordered: grey 128 is level 8, the cells ranked below 8 (row 0: ranks 0 12 3 15); the
    // dither origin shifts the ranks.
    in.Fill(128, 128, 128);
    ASSERT_EQ(0, Convert(in, out, 1));
    EXPECT_EQ(0xA0, out.At(0) & 0xF0);
    ASSERT_EQ(0, TessroSetDitherOrigin(ctx, 1, 0));
    ASSERT_EQ(0, Convert(in, out, 1));
    EXPECT_EQ(0x50, out.At(0) & 0xF0);
    ASSERT_EQ(0, TessroSetDitherOrigin(ctx, 0, 1));  // row 1: ranks 8 4 11 7
    ASSERT_EQ(0, Convert(in, out, 1));
    EXPECT_EQ(0x50, out.At(0) & 0xF0);
    ASSERT_EQ(0, TessroSetDitherOrigin(ctx, 0, 0));
    // Nearest of the two conversion colours, entry 0 on a tie.
    Palette palette({Entry(200, 0, 0), Entry(0, 0, 200)});
    ASSERT_EQ(0, TessroSetConversionPalette(ctx, palette));
    in.Set(0, 0, 100, 0, 100);
    in.Set(1, 0, 90, 0, 110);
    in.Set(2, 0, 110, 0, 90);
    ASSERT_EQ(0, Convert(in, out, 4));
    EXPECT_EQ(0, out.Bit(0));
    EXPECT_EQ(1, out.Bit(1));
    EXPECT_EQ(0, out.Bit(2));
    // Error diffusion needs colours made of 0 and 255; otherwise mode 3 is mode 4.
    Output nearest(10, 1, 1), diffused(10, 1, 1);
    ASSERT_EQ(0, Convert(in, nearest, 4));
    ASSERT_EQ(0, Convert(in, diffused, 3));
    EXPECT_EQ(nearest.bits, diffused.bits);
    // A one-entry palette has no second colour to choose.
    Palette single({Entry(1, 2, 3)});
    ASSERT_EQ(0, TessroSetConversionPalette(ctx, single));
    EXPECT_EQ(-1, Convert(in, out, 4));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
}

TEST_F(ConvertTest, FourBitModes) {
    Image32 in(4, 1);
    in.Set(0, 0, 255, 0, 0);
    in.Set(1, 0, 0, 0, 128);
    in.Set(2, 0, 250, 250, 250);
    in.Set(3, 0, 100, 100, 100);
    Output out(4, 1, 4);
    ASSERT_EQ(0, Convert(in, out, 5));  // grey >> 4
    EXPECT_EQ(4, out.Nibble(0));        // grey of pure red: 76
    EXPECT_EQ(0, out.Nibble(1));        // 14
    EXPECT_EQ(15, out.Nibble(2));
    EXPECT_EQ(6, out.Nibble(3));
    ASSERT_EQ(0, Convert(in, out, 4));  // nearest of the sixteen standard colours
    EXPECT_EQ(9, out.Nibble(0));
    EXPECT_EQ(4, out.Nibble(1));
    EXPECT_EQ(15, out.Nibble(2));
    EXPECT_EQ(7, out.Nibble(3));
    ASSERT_EQ(0, Convert(in, out, 1));  // palette-independent ordered dither
    EXPECT_EQ(9, out.Nibble(0));        // red: red and bright bits in every cell
    EXPECT_EQ(4, out.Nibble(1));        // blue 128 + 8m >= 124 everywhere
    EXPECT_EQ(15, out.Nibble(2));
    // The nearest-colour cache belongs to one call: a new conversion palette is searched afresh.
    Palette two({Entry(0, 0, 0), Entry(0, 0, 255)});
    ASSERT_EQ(0, TessroSetConversionPalette(ctx, two));
    ASSERT_EQ(0, Convert(in, out, 4));
    EXPECT_EQ(0, out.Nibble(0));
    EXPECT_EQ(1, out.Nibble(1));
}

TEST_F(ConvertTest, FourBitOrderedDitherSpreadsAColourOverTheRanks) {
    // Dark red 64: its bit is on where 64 + 8m >= 124, ranks 8..15 (half the cells).
    Image32 in(4, 4);
    in.Fill(64, 0, 0);
    Output out(4, 4, 4);
    ASSERT_EQ(0, Convert(in, out, 1));
    // Rank column (x - 1) & 3; row 0 ranks are 0 12 3 15, so x = 0..3 see 15, 0, 12, 3.
    const int row0[4] = {1, 0, 1, 0};
    int on = 0;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            if (y == 0) {
                EXPECT_EQ(row0[x], out.Nibble(x, y)) << x;
            }
            on += out.Nibble(x, y);
        }
    }
    EXPECT_EQ(8, on);
    // Orange (255, 128, 0): red dominant with excess 127, green reduced to 64 (o - a < a).
    in.Fill(255, 128, 0);
    ASSERT_EQ(0, Convert(in, out, 1));
    EXPECT_EQ(9 | 2, out.Nibble(0));  // rank 15: green 64 + 120 reaches 124
    EXPECT_EQ(9, out.Nibble(1));      // rank 0: the excess alone keeps the bright bit
}

TEST_F(ConvertTest, ExactColoursKeepTheirFirstIndexAndOverflowToTheFirstColour) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < 16; ++i) entries.push_back(Entry(BYTE(i * 16), 0, 0));
    Palette palette(entries);
    ASSERT_EQ(0, TessroSetConversionPalette(ctx, palette));
    Image32 in(19, 1);
    for (int i = 0; i < 17; ++i) in.Set(i, 0, (16 - i) * 15, 0, 0);  // 17 distinct colours
    in.Set(17, 0, 0, 0, 1, 255);                                     // clear, not black
    in.Set(18, 0, 0, 0, 0, 255);                                     // clear black: a colour
    Output out(19, 1, 4);
    ASSERT_EQ(0, Convert(in, out, 7));
    EXPECT_EQ(15, out.Nibble(0));  // 240 -> entry 15
    EXPECT_EQ(1, out.Nibble(15));  // 15 -> entry 1 (16 is farther)
    EXPECT_EQ(15, out.Nibble(16)); // the seventeenth colour: the first colour's index
    EXPECT_EQ(0, out.Nibble(17));
    EXPECT_EQ(15, out.Nibble(18)); // black is new but the list is full

    Output out8(19, 1, 8, 4, 0xAB);
    ASSERT_EQ(0, Convert(in, out8, 7));
    EXPECT_EQ(0, out8.At(16));     // room for 256 colours: 0 is nearest entry 0
    EXPECT_EQ(0xAB, out8.At(17));  // a clear non-black pixel is not written
    EXPECT_EQ(0, out8.At(18));
}

TEST_F(ConvertTest, EightBitNearestOrderedAndGreyRampModes) {
    // A cube palette in mode 1: the cube map is the identity, so indices are cube indices.
    std::vector<PALETTEENTRY> cube;
    for (int i = 0; i < 216; ++i) cube.push_back(Entry(BYTE(51 * (i % 6)), BYTE(51 * (i / 6 % 6)), BYTE(51 * (i / 36))));
    Palette palette(cube);
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    Image32 in(4, 4);
    in.Fill(25, 51, 255);
    Output out(4, 4, 8);
    ASSERT_EQ(0, Convert(in, out, 4));
    EXPECT_EQ(0 + 6 * 1 + 36 * 5, out.At(0));  // 25 rounds to level 0 of the nearest search
    ASSERT_EQ(0, Convert(in, out, 1));
    // Red 25 reaches level 1 where 25 + s + 1 >= 51, s = round(3.2k) >= 25: ranks 8..15, with
    // the rank column (x - 1) & 3: row 0 ranks are 15, 0, 12, 3 for x = 0..3.
    const int row0[4] = {1, 0, 1, 0};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(row0[x] + 6 + 180, out.At(x)) << x;
    // Grey pixels take the grey ramp in mode 2, other pixels the cube.
    const LOGPALETTE* builtIn = TessroSelectPalette(ctx, 2);
    ASSERT_EQ(0, TessroSetPalette(ctx, builtIn));
    in.Fill(9, 9, 9);
    in.Set(1, 0, 255, 0, 0);
    ASSERT_EQ(0, Convert(in, out, 2));
    const auto rgb = [&](int index) {
        const PALETTEENTRY& e = builtIn->palPalEntry[index];
        return (e.peRed << 16) | (e.peGreen << 8) | e.peBlue;
    };
    // Ramp position 18 + round(16k / 15): rank 15 (x 0) reaches 34 = grey 2 (17), rank 0 stays
    // at grey 1 (9).
    EXPECT_EQ(0x111111, rgb(out.At(0)));
    EXPECT_EQ(0xFF0000, rgb(out.At(1)));
    EXPECT_EQ(0x090909, rgb(out.At(3)));
}

TEST_F(ConvertTest, GreyMapUsesTheNearestGreenAndPrefersHighIndices) {
    Palette greys({Entry(0, 0, 0), Entry(9, 100, 9), Entry(0, 100, 0), Entry(0, 101, 0, 0x80), Entry(255, 255, 255)});
    ASSERT_EQ(0, TessroSetConversionPalette(ctx, greys));
    Image32 in(3, 1);
    in.Set(0, 0, 101, 101, 101);
    in.Set(1, 0, 40, 40, 40);
    in.Set(2, 0, 200, 200, 200);
    Output out(3, 1, 8);
    ASSERT_EQ(0, Convert(in, out, 5));
    EXPECT_EQ(2, out.At(0));
    EXPECT_EQ(0, out.At(1));
    EXPECT_EQ(4, out.At(2));
}

// ---- Error diffusion: golden outputs of an independent reference of the serpentine walk ----

const BYTE kImage[4][7][3] = {
    {{22, 39, 28}, {150, 28, 98}, {207, 173, 119}, {51, 196, 175}, {178, 54, 105}, {153, 27, 198}, {232, 39, 188}},
    {{0, 46, 212}, {98, 192, 230}, {222, 152, 162}, {126, 63, 171}, {1, 32, 179}, {167, 250, 185}, {184, 88, 105}},
    {{245, 136, 74}, {234, 63, 32}, {200, 216, 196}, {60, 223, 80}, {112, 87, 91}, {46, 239, 174}, {199, 14, 172}},
    {{61, 113, 75}, {212, 192, 99}, {2, 83, 179}, {106, 15, 213}, {81, 17, 14}, {197, 151, 165}, {90, 81, 65}}};

Image32 Golden(int firstRow = 0, int rows = 4) {
    Image32 image(7, rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < 7; ++x)
            image.Set(x, y, kImage[firstRow + y][x][0], kImage[firstRow + y][x][1], kImage[firstRow + y][x][2]);
    return image;
}

typedef int Rows[4][7];

void ExpectRows(const Rows& expected, const std::function<int(int, int)>& actual) {
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(expected[y][x], actual(x, y)) << "pixel " << x << "," << y;
}

Palette EightColours() {
    return Palette({Entry(0, 0, 0), Entry(255, 255, 255), Entry(255, 0, 0), Entry(0, 255, 0),
                    Entry(0, 0, 255), Entry(128, 128, 128), Entry(255, 255, 0), Entry(0, 128, 255)});
}

TEST_F(ConvertTest, EightBitErrorDiffusionMatchesTheReference) {
    Palette palette = EightColours();
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    ASSERT_EQ(0, TessroSetDitherErrorLimit(ctx, 32));
    Image32 in = Golden();
    Output out(7, 4, 8);
    ASSERT_EQ(0, Convert(in, out, 3));
    const Rows fourNeighbour = {{0, 5, 5, 5, 5, 5, 5}, {7, 5, 5, 5, 4, 1, 5}, {2, 2, 1, 3, 5, 5, 5}, {5, 6, 7, 4, 0, 5, 5}};
    ExpectRows(fourNeighbour, [&](int x, int y) { return out.At(x, y); });
    EXPECT_EQ(0x146CC526u, ctx->randomState);

    ctx->randomState = TESSRO_MAGIC;
    ASSERT_EQ(0, Convert(in, out, 0));
    const Rows twoNeighbour = {{0, 5, 5, 5, 5, 5, 5}, {7, 5, 5, 5, 4, 1, 5}, {2, 2, 1, 3, 5, 7, 2}, {5, 5, 5, 4, 0, 5, 5}};
    ExpectRows(twoNeighbour, [&](int x, int y) { return out.At(x, y); });
    EXPECT_EQ(0xF50D4A4Cu, ctx->randomState);
}

TEST_F(ConvertTest, StripsWithTheContinueFlagReceiveTheLineBuffers) {
    Palette palette = EightColours();
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    ASSERT_EQ(0, TessroSetDitherErrorLimit(ctx, 32));
    Image32 top = Golden(0, 2), bottom = Golden(2, 2);
    Output outTop(7, 2, 8), outBottom(7, 2, 8);
    ASSERT_EQ(0, Convert(top, outTop, 3));
    ASSERT_EQ(0, Convert(bottom, outBottom, 3 | TESSRO_CONVERT_CONTINUE));
    const Rows strips = {{0, 5, 5, 5, 5, 5, 5}, {7, 5, 5, 5, 4, 1, 5}, {5, 2, 1, 3, 5, 5, 5}, {5, 6, 7, 4, 0, 5, 5}};
    ExpectRows(strips, [&](int x, int y) { return y < 2 ? outTop.At(x, y) : outBottom.At(x, y - 2); });
}

TEST_F(ConvertTest, ErrorLimitZeroReducesDiffusionToNearestColours) {
    Palette palette = EightColours();
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    ASSERT_EQ(0, TessroSetDitherErrorLimit(ctx, 0));
    Image32 in = Golden();
    Output nearest(7, 4, 8), two(7, 4, 8), four(7, 4, 8);
    ASSERT_EQ(0, Convert(in, nearest, 4));
    ASSERT_EQ(0, Convert(in, two, 0));
    ASSERT_EQ(0, Convert(in, four, 3));
    EXPECT_EQ(nearest.bits, two.bits);
    EXPECT_EQ(nearest.bits, four.bits);
    // Limits of 256 or more are 256.
    ASSERT_EQ(0, TessroSetDitherErrorLimit(ctx, 1000));
    EXPECT_EQ(4096u, ctx->ditherErrorLimit);
}

TEST_F(ConvertTest, FourBitErrorDiffusionMatchesTheReference) {
    ASSERT_EQ(0, TessroSetDitherErrorLimit(ctx, 32));
    Image32 in = Golden();
    Output out(7, 4, 4);
    ASSERT_EQ(0, Convert(in, out, 3));
    const Rows expected = {{0, 5, 8, 7, 7, 5, 13}, {12, 8, 8, 7, 4, 8, 7}, {11, 9, 8, 6, 7, 14, 5}, {6, 8, 6, 5, 1, 8, 3}};
    ExpectRows(expected, [&](int x, int y) { return out.Nibble(x, y); });
}

TEST_F(ConvertTest, TwoColourErrorDiffusionProjectsOnTheAxisBetweenTheColours) {
    const struct {
        PALETTEENTRY first, second;
        Rows bits;
    } cases[] = {
        {Entry(0, 0, 0), Entry(255, 255, 255),
         {{0, 0, 1, 1, 0, 0, 1}, {0, 1, 1, 0, 0, 1, 0}, {1, 0, 1, 1, 0, 1, 0}, {0, 1, 0, 0, 0, 1, 1}}},
        {Entry(255, 0, 0), Entry(0, 255, 255),
         {{0, 0, 1, 1, 0, 0, 0}, {0, 1, 1, 0, 0, 1, 1}, {1, 0, 1, 1, 0, 1, 0}, {1, 0, 1, 0, 0, 1, 0}}},
        {Entry(0, 0, 0), Entry(0, 0, 255),
         {{0, 0, 1, 1, 0, 1, 1}, {1, 1, 1, 0, 1, 1, 0}, {0, 0, 1, 0, 0, 1, 1}, {0, 0, 1, 1, 0, 1, 0}}},
        {Entry(0, 255, 0), Entry(255, 255, 255),
         {{0, 1, 1, 0, 1, 0, 1}, {0, 0, 1, 0, 0, 1, 1}, {1, 1, 1, 0, 1, 0, 1}, {0, 1, 0, 1, 0, 1, 0}}},
    };
    for (const auto& c : cases) {
        Palette palette({c.first, c.second});
        ASSERT_EQ(0, TessroSetConversionPalette(ctx, palette));
        ctx->randomState = TESSRO_MAGIC;
        Image32 in = Golden();
        Output out(7, 4, 1);
        ASSERT_EQ(0, Convert(in, out, 3));
        ExpectRows(c.bits, [&](int x, int y) { return out.Bit(x, y); });
    }
    // White to black and white: every error is 0, so no noise.
    ASSERT_EQ(0, TessroSetConversionPalette(ctx, nullptr));
    Image32 white(40, 3);
    white.Fill(255, 255, 255);
    Output out(40, 3, 1, 4, 0);
    ASSERT_EQ(0, Convert(white, out, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(1, out.Bit(x, y));
}

TEST_F(ConvertTest, GreyErrorDiffusionMatchesTheReference) {
    Palette greys({Entry(0, 0, 0), Entry(0, 85, 0), Entry(0, 170, 0), Entry(255, 255, 255), Entry(0, 100, 0, 0x80)});
    ASSERT_EQ(0, TessroSetConversionPalette(ctx, greys));
    Image32 in = Golden();
    Output out(7, 4, 8);
    ASSERT_EQ(0, Convert(in, out, 6));
    const Rows expected = {{0, 1, 2, 2, 1, 1, 1}, {1, 2, 2, 1, 1, 2, 2}, {2, 1, 3, 2, 1, 2, 1}, {1, 2, 1, 1, 0, 2, 1}};
    ExpectRows(expected, [&](int x, int y) { return out.At(x, y); });
}

TEST_F(ConvertTest, TheRandomStateCarriesOnSoRepeatedConversionsMayDiffer) {
    Palette palette = EightColours();
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    Image32 in = Golden();
    Output first(7, 4, 8), second(7, 4, 8);
    ASSERT_EQ(0, Convert(in, first, 3));
    const DWORD state = ctx->randomState;
    ASSERT_EQ(0, Convert(in, second, 3));
    EXPECT_NE(state, ctx->randomState);
    EXPECT_NE(TESSRO_MAGIC, state);
}

}  // namespace
