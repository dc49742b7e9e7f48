#include <set>

#include "tests/raster/TessroTestSupport.h"

namespace {

DWORD Rgb(const PALETTEENTRY& e) { return (e.peRed << 16) | (e.peGreen << 8) | e.peBlue; }

std::vector<PALETTEENTRY> Entries(const LOGPALETTE* p) {
    return std::vector<PALETTEENTRY>(p->palPalEntry, p->palPalEntry + p->palNumEntries);
}

TEST_F(TessroTest, TheBuiltInPaletteHoldsTheSystemColoursTheCubeAndTheGreys) {
    const LOGPALETTE* p = TessroSelectPalette(ctx, 3);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(1, ctx->paletteMode);  // modes above 2 select the given palette
    EXPECT_EQ(0x300, p->palVersion);
    ASSERT_EQ(256, p->palNumEntries);
    const struct {
        int index;
        DWORD rgb;
    } spots[] = {{0, 0x000000}, {7, 0xC0C0C0}, {8, 0xC0DCC0}, {9, 0xA6CAF0}, {100, 0x3300CC},
                 {246, 0xFFFBF0}, {247, 0xA0A0A4}, {248, 0x808080}, {255, 0xFFFFFF}};
    for (const auto& s : spots) EXPECT_EQ(s.rgb, Rgb(p->palPalEntry[s.index])) << s.index;
    std::set<DWORD> colours;
    for (const PALETTEENTRY& e : Entries(p)) {
        EXPECT_EQ(0, e.peFlags);
        colours.insert(Rgb(e));
    }
    for (int i = 0; i < kTessroCubeAndGreyEntries; ++i) {
        const DWORD c = TessroCubeGreyColour(i);
        EXPECT_EQ(1u, colours.count((TessroRed(c) << 16) | (TessroGreen(c) << 8) | TessroBlue(c))) << i;
    }
    EXPECT_EQ(0x090909u, TessroCubeGreyColour(217));
    EXPECT_EQ(0xFFFFFFu, TessroCubeGreyColour(246));
}

TEST_F(TessroTest, SelectingAPaletteForgetsTheFlatColourButNotTheFillStyle) {
    SetTarget(kTessroFormat32);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x123456));
    TessroSelectPalette(ctx, 0);
    EXPECT_EQ(0u, ctx->rememberedColour);
    EXPECT_EQ(0u, ctx->pattern[0]);
    EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
    // Colour 0 now equals the remembered colour: the all-zero pattern stays.
    ASSERT_EQ(0, TessroSetColour(ctx, 0));
    EXPECT_EQ(0u, ctx->pattern[0]);
}

TEST_F(TessroTest, GivenPaletteModeMatchesEntriesDirectlySkippingFlaggedOnesAndPreferringHighIndices) {
    Palette palette({Entry(0, 0, 0), Entry(255, 255, 255), Entry(250, 0, 0, 0x80), Entry(200, 0, 0),
                     Entry(0, 0, 0)});
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    for (int j = 0; j < 5; ++j) EXPECT_EQ(j, ctx->cubeMap[j]);
    EXPECT_EQ(200u, ctx->componentRed[3]);
    EXPECT_EQ(255u, ctx->componentBlue[1]);
    const struct {
        DWORD r, g, b;
        int index;
    } cases[] = {
        {0, 0, 0, 4},        // black twice: the higher index
        {255, 0, 0, 3},      // the flagged pure red is never chosen
        {255, 255, 255, 1},  //
        {90, 90, 90, 4},     // nearer black than white
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.index, ctx->inverseTable[TessroInverseCell(c.r, c.g, c.b)]) << c.r << "," << c.g;
    }
    for (int cell = 0; cell < kTessroInverseTableCells; ++cell) ASSERT_NE(2, ctx->inverseTable[cell]);
}

TEST_F(TessroTest, CubeModesMapTheBuiltInColoursAndSearchCubeOrCubeAndGreys) {
    const LOGPALETTE* builtIn = TessroSelectPalette(ctx, 0);
    ASSERT_EQ(0, TessroSetPalette(ctx, builtIn));
    // Every built-in cube and grey colour is in the palette, so each maps to its own colour.
    for (int i = 0; i < kTessroCubeAndGreyEntries; ++i) {
        const DWORD c = TessroCubeGreyColour(i);
        const PALETTEENTRY& e = builtIn->palPalEntry[ctx->cubeMap[i]];
        ASSERT_EQ((TessroRed(c) << 16) | (TessroGreen(c) << 8) | TessroBlue(c), Rgb(e)) << i;
    }
    // Palette-to-cube keeps the last built-in entry mapped to each palette entry: black is both
    // cube entry 0 and grey 0 (216).
    EXPECT_EQ(1, ctx->paletteToCube[ctx->cubeMap[1]]);
    EXPECT_EQ(216, ctx->paletteToCube[ctx->cubeMap[0]]);
    // Grey ramp: 17 copies of each grey's index.
    EXPECT_EQ(ctx->cubeMap[216 + 1], ctx->greyRamp[17]);
    EXPECT_EQ(ctx->cubeMap[216 + 30], ctx->greyRamp[526]);
    // The colour (8, 8, 8) (cell 1, 1, 1) is nearest grey 9 among cube and greys, black in the cube.
    const DWORD cell = TessroInverseCell(8, 8, 8);
    EXPECT_EQ(0x090909u, Rgb(builtIn->palPalEntry[ctx->inverseTable[cell]]));
    TessroSelectPalette(ctx, 2);
    ASSERT_EQ(0, TessroSetPalette(ctx, builtIn));
    EXPECT_EQ(0x000000u, Rgb(builtIn->palPalEntry[ctx->inverseTable[cell]]));
    // Grey dither rows of grey 0 (row 0: ramp offsets 16, 3, 13, 0 = black) and grey 255.
    EXPECT_EQ(ctx->cubeMap[216] * 0x01010101u, ctx->greyDitherRows[0][0]);
    EXPECT_EQ(ctx->cubeMap[246] * 0x01010101u, ctx->greyDitherRows[3][255]);
}

TEST_F(TessroTest, GreyDitherRowsStepThroughTheRampByTheirOffsets) {
    // A palette of the 31 built-in greys makes ramp index = grey number.
    std::vector<PALETTEENTRY> greys;
    for (int k = 0; k < 31; ++k) {
        const BYTE v = static_cast<BYTE>((17 * k + 1) / 2);
        greys.push_back(Entry(v, v, v));
    }
    Palette palette(greys);
    TessroSelectPalette(ctx, 0);
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    // Grey level 8 reads ramp positions 16 + offset: row 0 (16, 3, 13, 0) gives greys 1, 1, 1, 0
    // (first column in the lowest byte); row 1 (7, 12, 4, 9) grey 1 everywhere.
    EXPECT_EQ(0x00010101u, ctx->greyDitherRows[0][8]);
    EXPECT_EQ(0x01010101u, ctx->greyDitherRows[1][8]);
    // Grey level 9 reads 18 + offset: row 0 gives greys 2, 1, 1, 1.
    EXPECT_EQ(0x01010102u, ctx->greyDitherRows[0][9]);
}

TEST_F(TessroTest, TheInverseTableIsRebuiltOnlyWhenThePaletteOrModeChanges) {
    Palette palette({Entry(0, 0, 0), Entry(255, 255, 255)});
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    ctx->inverseTable[5] = 77;
    ctx->cubeMap[1] = 9;
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    EXPECT_EQ(77, ctx->inverseTable[5]);  // kept
    EXPECT_EQ(1, ctx->cubeMap[1]);        // rebuilt
    palette.Get()->palPalEntry[1].peGreen = 254;
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    EXPECT_EQ(0, ctx->inverseTable[5]);
}

TEST_F(TessroTest, PalettesWithNothingToMatchAreRefused) {
    std::vector<PALETTEENTRY> many(257, Entry(1, 1, 1));
    Palette tooMany(many);
    Palette empty({});
    Palette allFlagged({Entry(1, 2, 3, 0x80), Entry(4, 5, 6, 0xFF)});
    const LOGPALETTE* cases[] = {tooMany, empty, allFlagged, nullptr};
    for (const LOGPALETTE* p : cases) {
        EXPECT_EQ(-1, TessroSetPalette(ctx, p));
        EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
        EXPECT_EQ(0, ctx->palette.palNumEntries);
    }
}

TEST_F(TessroTest, ComparingPalettesReadsOnlyTheCallersEntries) {
    std::vector<PALETTEENTRY> sixteen;
    for (int i = 0; i < 16; ++i) sixteen.push_back(Entry(BYTE(i), BYTE(2 * i), BYTE(3 * i)));
    Palette mine(sixteen);
    ASSERT_EQ(0, TessroSetPalette(ctx, mine));
    Palette same(sixteen);  // exactly 16 entries: a read past them shows under the sanitizer
    EXPECT_EQ(1, TessroComparePalette(ctx, same, 1));
    EXPECT_EQ(0, TessroComparePalette(ctx, same, 2));
    same.Get()->palPalEntry[15].peBlue = 0;
    EXPECT_EQ(0, TessroComparePalette(ctx, same, 1));
    EXPECT_EQ(-1, TessroComparePalette(ctx, nullptr, 1));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
}

TEST_F(TessroTest, MatchingMethodAndDitherOriginAreStoredAsGiven) {
    EXPECT_EQ(0, TessroSetColourMatching(ctx, 0x1234));
    EXPECT_EQ(0x34, ctx->colourMatching);
    EXPECT_EQ(0, TessroSetDitherOrigin(ctx, -5, 9));
    EXPECT_EQ(-5, ctx->ditherOriginX);
    EXPECT_EQ(9, ctx->ditherOriginY);
}

}  // namespace
