#include "tests/raster/TessroTestSupport.h"

namespace {

void ExpectPattern(const TessroContext* ctx, DWORD r0, DWORD r1, DWORD r2, DWORD r3) {
    EXPECT_EQ(r0, ctx->pattern[0]);
    EXPECT_EQ(r1, ctx->pattern[1]);
    EXPECT_EQ(r2, ctx->pattern[2]);
    EXPECT_EQ(r3, ctx->pattern[3]);
}

TEST_F(TessroTest, OneBitPatternsDitherTheGreyLevel) {
    SetTarget(kTessroFormat1);
    const struct {
        DWORD colour;
        DWORD rows[4];
    } cases[] = {
        {0x000000, {0, 0, 0, 0}},
        // Level 8: the cells ranked below 8 are on, the leftmost pixel in the top bit.
        {0x808080, {0xAAAAAAAA, 0x55555555, 0xAAAAAAAA, 0x55555555}},
        {0xFFFFFF, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(0, TessroSetColour(ctx, c.colour));
        ExpectPattern(ctx, c.rows[0], c.rows[1], c.rows[2], c.rows[3]);
        EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
    }
}

TEST_F(TessroTest, FourBitPatternsFollowTheDominantChannel) {
    SetTarget(kTessroFormat4);
    const struct {
        DWORD colour;
        DWORD solid;  // index in every pixel
    } cases[] = {
        {0x0000FF, 9},   // pure red: red bit, and the excess 127 lights the bright bit
        {0x000080, 1},   // dark red
        {0xFFFFFF, 15},  // white
        {0xC0C0C0, 8},   // grey 192
        {0x808080, 7},   // grey 128
        {0xFF00FF, 13},  // magenta: red dominant, blue keeps its bit at o - a = 128 > a
    };
    for (const auto& c : cases) {
        ASSERT_EQ(0, TessroSetColour(ctx, c.colour));
        const DWORD word = c.solid * 0x11111111u;
        ExpectPattern(ctx, word, word, word, word);
    }
}

TEST_F(TessroTest, SixteenBitPatternsAddTheRemainderByTheTwoByTwoMatrix) {
    SetTarget(kTessroFormat16, 0);  // 5-6-5
    ASSERT_EQ(0, TessroSetColour(ctx, 0x646464));
    // (100, 100, 100): red and blue k = 49, green k = 99; cells (13,25,13) (12,24,12) / (12,25,12) x2.
    ExpectPattern(ctx, 0x630C6B2D, 0x632C632C, 0x630C6B2D, 0x632C632C);
    // Odd origin: rows swap and the two pixels of a word swap.
    ASSERT_EQ(0, TessroSetDitherOrigin(ctx, 1, 1));
    ASSERT_EQ(0, TessroSetColour(ctx, 0x646465));
    ASSERT_EQ(0, TessroSetColour(ctx, 0x646464));
    ExpectPattern(ctx, 0x632C632C, 0x6B2D630C, 0x632C632C, 0x6B2D630C);
}

TEST_F(TessroTest, ThirtyTwoBitPatternsCarryTheTopByte) {
    SetTarget(kTessroFormat32);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x80123456));
    ExpectPattern(ctx, 0x80563412, 0x80563412, 0x80563412, 0x80563412);
}

TEST_F(TessroTest, EightBitPatternsDependOnTheMatchingMethod) {
    std::vector<PALETTEENTRY> cube;
    for (int i = 0; i < 216; ++i) cube.push_back(Entry(BYTE(51 * (i % 6)), BYTE(51 * (i / 6 % 6)), BYTE(51 * (i / 36))));
    Palette palette(cube);
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));  // mode 1: cube map is the identity
    SetTarget(kTessroFormat8Palette);
    ASSERT_EQ(0, TessroSetColourMatching(ctx, 0));
    // Red 25: cube level 1 where 25 >= 51 * 0 + t, t = 2 + round(3.2 x rank) (ranks 0..7 give t <= 24).
    ASSERT_EQ(0, TessroSetColour(ctx, 0x000019));
    ExpectPattern(ctx, 0x00010001, 0x01000100, 0x00010001, 0x01000100);
    // Method 4: nearest entry, solid.
    ASSERT_EQ(0, TessroSetColourMatching(ctx, 4));
    ASSERT_EQ(0, TessroSetColour(ctx, 0x0000FF));
    ExpectPattern(ctx, 0x05050505, 0x05050505, 0x05050505, 0x05050505);
}

TEST_F(TessroTest, TheDitherOriginShiftsEightBitPatterns) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < 216; ++i) entries.push_back(Entry(BYTE(51 * (i % 6)), BYTE(51 * (i / 6 % 6)), BYTE(51 * (i / 36))));
    Palette palette(entries);
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    SetTarget(kTessroFormat8Palette);
    ASSERT_EQ(0, TessroSetColourMatching(ctx, 0));
    const DWORD colour = 0x405080;
    ASSERT_EQ(0, TessroSetColour(ctx, colour));
    DWORD base[4];
    std::memcpy(base, ctx->pattern, sizeof(base));
    const auto byteAt = [](DWORD word, int x) { return (word >> (8 * (x & 3))) & 0xFF; };
    SetTarget(kTessroFormat8Palette);
    ASSERT_EQ(0, TessroSetDitherOrigin(ctx, 1, 0));
    ASSERT_EQ(0, TessroSetColour(ctx, colour));
    for (int row = 0; row < 4; ++row)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(byteAt(base[row], x - 1), byteAt(ctx->pattern[row], x));
    SetTarget(kTessroFormat8Palette);
    ASSERT_EQ(0, TessroSetDitherOrigin(ctx, 0, 1));
    ASSERT_EQ(0, TessroSetColour(ctx, colour));
    for (int row = 0; row < 4; ++row) EXPECT_EQ(base[(row + 1) & 3], ctx->pattern[row]);
}

TEST_F(TessroTest, TheRememberedColourSkipsRebuildsUntilATargetChange) {
    SetTarget(kTessroFormat32);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x010203));
    ctx->pattern[0] = 0xDEAD;
    ASSERT_EQ(0, TessroSetColour(ctx, 0x010203));
    EXPECT_EQ(0xDEADu, ctx->pattern[0]);
    SetTarget(kTessroFormat32);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x010203));
    EXPECT_EQ(0x030201u, ctx->pattern[0]);
}

TEST_F(TessroTest, TwoBitTargetsHaveNoPatterns) {
    SetTarget(kTessroFormat2);
    EXPECT_EQ(-1, TessroSetColour(ctx, 0x123456));
    EXPECT_EQ(TESSRO_ERROR_INVALID_BITMAP_DEPTH, LastError());
    EXPECT_EQ(-1, TessroSetUnditheredColour(ctx, 0x123456, 32, 0));
    EXPECT_EQ(nullptr, TessroGetExpandedPattern(ctx));
    EXPECT_EQ(TESSRO_ERROR_INVALID_BITMAP_DEPTH, LastError());
}

TEST_F(TessroTest, UnditheredColoursAreSolidNearestPixels) {
    const struct {
        DWORD format, mode;
        DWORD colour, depth, layout;
        DWORD word;
    } cases[] = {
        {kTessroFormat1, 0, 0x808080, 0, 0, 0xFFFFFFFF},
        {kTessroFormat1, 0, 0x7F7F7F, 0, 0, 0},
        {kTessroFormat4, 0, 0x0000FF, 0, 0, 0x99999999},
        {kTessroFormat4, 0, 0x303030, 0, 0, 0},
        {kTessroFormat4, 0, 0x404040, 0, 0, 0x77777777},
        {kTessroFormat4, 0, 0xA0A0A0, 0, 0, 0x88888888},  // all >= 128, sum 480
        {kTessroFormat4, 0, 0x00FF00, 0, 0, 0xAAAAAAAA},  // green dominant and bright
        {kTessroFormat4, 0, 0x0000FFFF, 0, 0, 0xBBBBBBBB},  // green wins the tie: bright yellow
        {kTessroFormat8Grey, 0, 0xFFFFFF, 0, 0, 0xFFFFFFFF},
        {kTessroFormat16, 2, 0x646464, 0, 0, 0x318C318C},  // 5-5-5: 12 each
        {kTessroFormat32, 0, 0x808080, 1, 0, 0x00FFFFFF},
        {kTessroFormat32, 0, 0x0000FF, 4, 0, 0x00FF0000},
        {kTessroFormat32, 0, 0x646464, 16, 0, 0x00636563},  // 5-6-5 rounded and widened
        {kTessroFormat32, 0, 0x646464, 16, 3, 0x00656566},  // 6-6-4
        {kTessroFormat32Alpha, 0, 0x11223344, 24, 0, 0x11443322},
    };
    for (const auto& c : cases) {
        SetTarget(c.format, c.mode);
        ASSERT_EQ(0, TessroSetUnditheredColour(ctx, c.colour, c.depth, c.layout)) << std::hex << c.colour;
        ExpectPattern(ctx, c.word, c.word, c.word, c.word);
        EXPECT_EQ(TESSRO_MAGIC, ctx->rememberedColour);
    }
}

TEST_F(TessroTest, TransparentColoursChooseTheFillStyleOnThirtyTwoBitTargets) {
    SetTarget(kTessroFormat32);
    // Type 4: style 4 with the amount (byte 1) as the top byte.
    ASSERT_EQ(0, TessroSetTransparentColour(ctx, 0x00102030, 0x7704));
    EXPECT_EQ(4u, ctx->fillStyle);
    EXPECT_EQ(4u, ctx->transparencyType);
    EXPECT_EQ(0x77302010u, ctx->pattern[0]);
    // Type 1: style 4, the colour's own top byte.
    ASSERT_EQ(0, TessroSetTransparentColour(ctx, 0x55102030, 0x7701));
    EXPECT_EQ(0x55302010u, ctx->pattern[0]);
    ASSERT_EQ(0, TessroSetTransparentColour(ctx, 0, 36));
    EXPECT_EQ(25u, ctx->fillStyle);
    EXPECT_EQ(-1, TessroSetTransparentColour(ctx, 0, 37));
    EXPECT_EQ(TESSRO_ERROR_BAD_TRANSPARENCY_STYLE, LastError());
    EXPECT_EQ(25u, ctx->fillStyle);
    SetTarget(kTessroFormat8Grey);
    EXPECT_EQ(0, TessroSetTransparentColour(ctx, 0xFFFFFF, 37));
    EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
}

TEST_F(TessroTest, RawXorAndCombinationSetters) {
    SetTarget(kTessroFormat8Grey);
    ASSERT_EQ(0, TessroSetRawColour(ctx, 0xCAFEF00D));
    ExpectPattern(ctx, 0xCAFEF00D, 0xCAFEF00D, 0xCAFEF00D, 0xCAFEF00D);
    EXPECT_EQ(TESSRO_MAGIC, ctx->rememberedColour);
    ASSERT_EQ(0, TessroSetXorColour(ctx, 0xFF));
    EXPECT_EQ(kTessroFillXor, ctx->fillStyle);
    EXPECT_EQ(0xFFu, ctx->rememberedColour);
    EXPECT_EQ(0xCAFEF00Du, ctx->pattern[0]);
    const BYTE table[1] = {0};
    ASSERT_EQ(0, TessroSetCombinationTable(ctx, table));
    EXPECT_EQ(table, ctx->combinationTable);
}

TEST_F(TessroTest, TheExpandedTileRepeatsThePatternForTheTargetDepth) {
    EXPECT_EQ(nullptr, TessroGetExpandedPattern(ctx));  // no target yet
    SetTarget(kTessroFormat32);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x80123456));
    const DWORD* tile = TessroGetExpandedPattern(ctx);
    ASSERT_NE(nullptr, tile);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(0x00563412u, tile[i]) << i;
    SetTarget(kTessroFormat1);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x808080));
    tile = TessroGetExpandedPattern(ctx);
    ASSERT_NE(nullptr, tile);
    for (int row = 0; row < 8; ++row) EXPECT_EQ(ctx->pattern[row & 3], tile[row]);
    SetTarget(kTessroFormat8Grey);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x808080));
    tile = TessroGetExpandedPattern(ctx);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(0x80808080u, tile[i]);
}

}  // namespace
