#include "tests/raster/TessroTestSupport.h"

namespace {

DWORD Red(DWORD pixel) { return (pixel >> 16) & 0xFF; }
DWORD Green(DWORD pixel) { return (pixel >> 8) & 0xFF; }
DWORD Blue(DWORD pixel) { return pixel & 0xFF; }

class GraduationTest : public TessroTest {
protected:
    void SetUp() override {
        TessroTest::SetUp();
        table.assign(3 + 4 * 2048, 0xEEEEEEEE);
        table[0] = 256;
    }
    DWORD Entry32(int i) const { return table[3 + i]; }
    std::vector<DWORD> table;
};

TEST(Hsv, PrimariesAndGreysConvertBothWays) {
    const struct {
        DWORD rgb, hsv;
    } cases[] = {
        {0x0000FF, 0xFFFF0000},  // red: hue 0, saturation 255, value 255
        {0x00FF00, 0xFFFF5555},  // green: hue 65536 / 3
        {0xFF0000, 0xFFFFAAAA},  // blue: hue 2 x 65536 / 3
        {0x808080, 0x80000000},  // grey: no hue, no saturation
        {0x000000, 0x00000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.hsv, RgbToHsv(c.rgb)) << std::hex << c.rgb;
        EXPECT_EQ(c.rgb, HsvToRgb(c.hsv)) << std::hex << c.hsv;
    }
    // The conversions round down, so a round trip may lose a level, never more.
    for (DWORD g = 0; g < 256; ++g) {
        const DWORD back = HsvToRgb(RgbToHsv(0x0000FF | (g << 8)));
        EXPECT_EQ(0xFFu, back & 0xFF0000FF) << g;
        EXPECT_LE(g - ((back >> 8) & 0xFF), 1u) << g;
    }
}

TEST_F(GraduationTest, RgbRampOnThirtyTwoBitTargets) {
    SetTarget(kTessroFormat32);
    ASSERT_EQ(0, TessroBuildGraduationTable(ctx, 0x00000000, 0x400000FF, 0, table.data()));
    EXPECT_EQ(0x00000000u, Entry32(0));
    EXPECT_EQ(0x40FF0000u, Entry32(255));  // red in the third byte, top byte interpolated too
    EXPECT_EQ(128u, Red(Entry32(128)));
    EXPECT_EQ(0x400000FFu, table[2]);
    for (int i = 1; i < 256; ++i) ASSERT_GE(Red(Entry32(i)), Red(Entry32(i - 1)));
    EXPECT_EQ(0xEEEEEEEEu, table[3 + 256]);  // only 256 entries are written
}

TEST_F(GraduationTest, HsvRampsGoTheShortOrTheLongWayAroundTheHueCircle) {
    SetTarget(kTessroFormat32);
    // Red to blue the short way passes magenta, the long way yellow and green.
    ASSERT_EQ(0, TessroBuildGraduationTable(ctx, 0x0000FF, 0xFF0000, 1, table.data()));
    EXPECT_EQ(0u, Green(Entry32(128)));
    EXPECT_GT(Red(Entry32(128)), 200u);
    EXPECT_GT(Blue(Entry32(128)), 200u);
    ASSERT_EQ(0, TessroBuildGraduationTable(ctx, 0x0000FF, 0xFF0000, 2, table.data()));
    EXPECT_EQ(255u, Green(Entry32(128)));
    EXPECT_EQ(0u, Blue(Entry32(64)));
    // Equal hues the long way: the full turn the colour dialog shows (red, blue, green, red).
    ASSERT_EQ(0, TessroBuildGraduationTable(ctx, 0x0000FF, 0x0000FF, 2, table.data()));
    EXPECT_EQ(0x00FF0000u, Entry32(0));
    EXPECT_EQ(255u, Blue(Entry32(85)));
    EXPECT_EQ(0u, Green(Entry32(85)));
    EXPECT_EQ(255u, Green(Entry32(170)));
    EXPECT_EQ(0u, Blue(Entry32(170)));
    EXPECT_EQ(0x00FF0000u, Entry32(255));
    // A grey end keeps the start hue: every entry is a shade of red (green and blue equal to
    // within the conversion's rounding).
    ASSERT_EQ(0, TessroBuildGraduationTable(ctx, 0x0000FF, 0x404040, 1, table.data()));
    for (int i = 0; i < 256; ++i) {
        ASSERT_LE(Green(Entry32(i)) - Blue(Entry32(i)), 1u) << i;
        ASSERT_GE(Red(Entry32(i)), Green(Entry32(i))) << i;
    }
}

TEST_F(GraduationTest, PaletteTargetsStoreFourPatternRowsPerEntryAndKeepTheFlatColour) {
    SetTarget(kTessroFormat1);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x808080));
    const DWORD flat[4] = {ctx->pattern[0], ctx->pattern[1], ctx->pattern[2], ctx->pattern[3]};
    table[0] = 2048;
    ASSERT_EQ(0, TessroBuildGraduationTable(ctx, 0x000000, 0xFFFFFF, 0, table.data()));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(0u, table[3 + row * 2048 + 0]);
        EXPECT_EQ(0xFFFFFFFFu, table[3 + row * 2048 + 255]);
        EXPECT_EQ(flat[row], ctx->pattern[row]);
    }
    EXPECT_EQ(0x808080u, ctx->rememberedColour);
    // Grey 128 is entry 128: the 1-bit pattern of level 8.
    EXPECT_EQ(0xAAAAAAAAu, table[3 + 128]);
    EXPECT_EQ(0x55555555u, table[3 + 2048 + 128]);
    // 4-bit tables keep pixels 0, 2, 5 and 7 of each word.
    SetTarget(kTessroFormat4);
    table[0] = 256;
    ASSERT_EQ(0, TessroBuildGraduationTable(ctx, 0xFFFFFF, 0xFFFFFF, 0, table.data()));
    EXPECT_EQ(0x0F0FF0F0u, table[3 + 17]);
    // The 32-bit form ignores the target's format and keeps it.
    ASSERT_EQ(0, TessroBuildGraduationTable32(ctx, 0, 0xFF, 0, table.data()));
    EXPECT_EQ(0x00FF0000u, table[3 + 255]);
    EXPECT_EQ(kTessroFormat4, ctx->targetFormat);
}

TEST_F(GraduationTest, TwoBitTargetsRecordTheColourFailureButBuild) {
    SetTarget(kTessroFormat2);
    EXPECT_EQ(0, TessroBuildGraduationTable(ctx, 0, 0xFFFFFF, 0, table.data()));
    EXPECT_EQ(TESSRO_ERROR_INVALID_BITMAP_DEPTH, LastError());
}

TEST_F(GraduationTest, BadTablesAndIndicesAreRefused) {
    SetTarget(kTessroFormat32);
    EXPECT_EQ(-1, TessroBuildGraduationTable(ctx, 0, 1, 0, nullptr));
    EXPECT_EQ(TESSRO_ERROR_BAD_GRADUATION_TABLE, LastError());
    table[0] = 512;
    EXPECT_EQ(-1, TessroBuildGraduationTable(ctx, 0, 1, 0, table.data()));
    EXPECT_EQ(0xEEEEEEEEu, table[1]);
    table[0] = 2048;
    EXPECT_EQ(0, TessroSetGraduationTableEntry(ctx, 0x0000FF, 0, table.data(), 2047));
    EXPECT_EQ(0x00FF0000u, table[3 + 2047]);
    EXPECT_EQ(-1, TessroSetGraduationTableEntry(ctx, 0x0000FF, 0, table.data(), 2048));
    EXPECT_EQ(TESSRO_ERROR_BAD_GRADUATION_TABLE, LastError());
    // The HSV flag converts the colour first.
    EXPECT_EQ(0, TessroSetGraduationTableEntry(ctx, 0xFFFF5555, 1, table.data(), 3));
    EXPECT_EQ(0x0000FF00u, table[3 + 3]);
}

}  // namespace
