// The render state, memory handlers, palettes and targets.
#include <vector>

#include "tests/tessro3d/Tessro3DTestSupport.h"

using namespace tessro3d_test;

namespace {

class StateTest : public Tessro3DFixture {};

std::vector<std::uint8_t> Saved() {
  std::vector<std::uint8_t> state(Tessro3DGetStateSize());
  EXPECT_EQ(Tessro3DSaveState(state.data()), 0);
  return state;
}

std::uint32_t Word(const std::vector<std::uint8_t>& state, int offset) {
  std::uint32_t w;
  std::memcpy(&w, &state[4 + offset], 4);
  return w;
}

TEST_F(StateTest, VersionSizesAndSavedLayout) {
  EXPECT_EQ(Tessro3DGetVersion(), 0x00020000);
  EXPECT_EQ(Tessro3DGetStateSize(), 156);
  std::vector<std::uint8_t> state = Saved();
  EXPECT_EQ(Word(state, -4), 0xC90FDAA2u);
  EXPECT_EQ(state[4], 0xFF);                   // paletteTables
  EXPECT_EQ(state[4 + 2], 2);                  // colourMatching
  EXPECT_EQ(state[4 + 3], 1);                  // paletteMode
  EXPECT_EQ(state[4 + 4], 0xC9);               // inverseTableMode
  EXPECT_EQ(Word(state, 108), 0x20000u);       // flatness
  EXPECT_EQ(Word(state, 112), 0xA0000u);       // miterLimit

  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  EXPECT_EQ(Tessro3DGetStateSize(), 43188);
  EXPECT_EQ(Saved().size(), 43188u);
}

TEST_F(StateTest, SaveAndRestoreRoundTripClearsOnlyTheFillStyle) {
  Target target(8, 8, 32);
  ASSERT_EQ(target.Select(), 0);
  Tessro3DSetPalette(Tessro3DSelectPalette(0));
  Tessro3DSetColour(0x123456);
  std::vector<std::uint8_t> before = Saved();
  EXPECT_EQ(Word(before, 8), 2u);

  Target other(4, 4, 8);
  ASSERT_EQ(other.Select(), 0);
  EXPECT_EQ(Tessro3DRestoreState(before.data()), 0);
  std::vector<std::uint8_t> after = Saved();
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(Word(after, 8), 0u);  // fillStyle none
  std::memset(&before[4 + 8], 0, 4);
  EXPECT_EQ(before, after);
}

TEST_F(StateTest, RestoreWithoutMagicResetsDefaultsButKeepsTargetAndMatrix) {
  Target target(10, 20, 32);
  ASSERT_EQ(target.Select(), 0);
  Tessro3DSetPalette(Tessro3DSelectPalette(0));
  Tessro3DSetAntialias(1);
  EXPECT_EQ(Tessro3DSaveState(nullptr), -1);
  std::vector<std::uint8_t> before = Saved();

  std::uint32_t junk[40] = {1, 2, 3};
  EXPECT_EQ(Tessro3DRestoreState(junk), 0);
  std::vector<std::uint8_t> after = Saved();
  ASSERT_EQ(after.size(), 156u);
  EXPECT_EQ(after[4 + 0], 0xFF);  // paletteTables
  EXPECT_EQ(after[4 + 1], 0);     // lastError
  EXPECT_EQ(after[4 + 5], 0);     // antialias
  EXPECT_EQ(after[4 + 3], 1);
  EXPECT_EQ(Word(after, 48), 0u);  // targetRows
  for (int offset : {24, 28, 36, 44, 56, 72, 88, 120, 124, 128, 132, 136, 140, 144, 148})
    EXPECT_EQ(Word(after, offset), Word(before, offset)) << "offset " << offset;
}

TEST_F(StateTest, FailureCodeStaysUntilTheNextFailure) {
  EXPECT_EQ(Tessro3DRestoreState(nullptr), -1);
  EXPECT_EQ(LastError(), 6);
  Target target(4, 4, 32);
  EXPECT_EQ(target.Select(), 0);
  EXPECT_EQ(LastError(), 6);
  BITMAPINFOHEADER bad = target.header;
  bad.biPlanes = 2;
  EXPECT_EQ(Tessro3DSetBitmap(&bad, target.pixels.data(), 0), -1);
  EXPECT_EQ(LastError(), 1);
}

TEST_F(StateTest, MemoryHandlersMissingOrRefusing) {
  Target target(16, 16, 32);
  ASSERT_EQ(target.Select(), 0);
  Heap::Refuse() = true;
  EXPECT_EQ(Tessro3DBeginScene(1 << 30, 0), -1);
  EXPECT_EQ(LastError(), 14);
  Heap::Refuse() = false;
  EXPECT_EQ(Tessro3DReleaseMemory(), 0);
  EXPECT_EQ(Tessro3DBeginScene(1 << 30, 0), -1);
  EXPECT_EQ(LastError(), 18);
  // Released with nothing held: still fine, and the handlers stay unset.
  EXPECT_EQ(Tessro3DReleaseMemory(), 0);
  EXPECT_EQ(Tessro3DBeginScene(1 << 30, 0), -1);
  EXPECT_EQ(LastError(), 18);
  Tessro3DSetMemoryHandlers(Heap::Alloc, Heap::Free);
  EXPECT_EQ(Tessro3DBeginScene(1 << 30, 0), 0);
  EXPECT_FALSE(Heap::Live().empty());
  EXPECT_EQ(Tessro3DReleaseMemory(), 0);
  EXPECT_TRUE(Heap::Live().empty());
}

// --- Palettes ---------------------------------------------------------------------------

struct TestPalette {
  WORD version = 0x300, count = 0;
  PALETTEENTRY entries[256] = {};
  const LOGPALETTE* get() const { return reinterpret_cast<const LOGPALETTE*>(this); }
};

std::uint8_t PaletteTable(const std::vector<std::uint8_t>& state, int offset) { return state[156 + offset]; }
constexpr int kCubeToPalette = 1028 + 1024, kInverse = kCubeToPalette + 512 + 3072 + 4096 + 527;

TEST_F(StateTest, SelectPaletteModesAndBuiltInMatching) {
  const LOGPALETTE* mode0 = Tessro3DSelectPalette(0);
  EXPECT_EQ(Tessro3DSelectPalette(7), mode0);
  EXPECT_EQ(Saved()[4 + 3], 1);
  ASSERT_EQ(mode0->palNumEntries, 256);
  EXPECT_EQ(mode0->palPalEntry[1].peRed, 0x80);
  EXPECT_EQ(mode0->palPalEntry[255].peBlue, 0xFF);

  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  std::vector<std::uint8_t> state = Saved();
  EXPECT_EQ(PaletteTable(state, kCubeToPalette + 0), 0);
  EXPECT_EQ(PaletteTable(state, kCubeToPalette + 215), 255);
  EXPECT_EQ(PaletteTable(state, kInverse + 32767), 255);  // white
}

TEST_F(StateTest, NearestColourPrefersHigherIndexAndSkipsFlaggedEntries) {
  Tessro3DSelectPalette(1);
  TestPalette p;
  p.count = 4;
  p.entries[0] = {10, 0, 0, 0};
  p.entries[1] = {0, 0, 0, 0x80};  // exact black, but flagged
  p.entries[2] = {0, 10, 0, 0};    // as far from black as entry 0
  p.entries[3] = {200, 200, 200, 0};
  Tessro3DSetPalette(p.get());
  std::vector<std::uint8_t> state = Saved();
  EXPECT_EQ(PaletteTable(state, kInverse + 0), 2);
  EXPECT_EQ(PaletteTable(state, kInverse + 32767), 3);
}

TEST_F(StateTest, SamePaletteTwiceKeepsTheInverseTable) {
  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  std::vector<std::uint8_t> state = Saved();
  state[156 + kInverse + 5] ^= 0x5A;  // a marker the rebuild would overwrite
  ASSERT_EQ(Tessro3DRestoreState(state.data()), 0);
  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  EXPECT_EQ(Saved()[156 + kInverse + 5], state[156 + kInverse + 5]);
  Tessro3DSetPalette(Tessro3DSelectPalette(0));  // another mode rebuilds
  EXPECT_NE(Saved()[156 + kInverse + 5], state[156 + kInverse + 5]);
}

// --- Targets ----------------------------------------------------------------------------

TEST_F(StateTest, TargetSelection) {
  struct Case {
    std::int32_t width, height;
    int bits, planes;
    std::uint32_t compression;
    int result, code, format, stride;
  } cases[] = {
      {4096, 4096, 1, 1, 0, 0, 0, 0, 512},
      {4097, 1, 8, 1, 0, -1, 1, -1, -1},
      {1, 4097, 8, 1, 0, -1, 1, -1, -1},
      {1, -1, 8, 1, 0, -1, 1, -1, -1},
      {1, 1, 8, 2, 0, -1, 1, -1, -1},
      {1, 1, 24, 1, 0, -1, 1, -1, -1},
      {1, 1, 1, 1, 0, 0, 0, 0, 4},
      {33, 1, 1, 1, 0, 0, 0, 0, 8},
      {1, 1, 4, 1, 0, 0, 0, 1, 4},
      {1, 1, 8, 1, 0, 0, 0, 2, 4},
      {1, 1, 16, 1, 0, 0, 0, 3, 4},
      {1, 1, 32, 1, 0, 0, 0, 4, 4},
      {1, 1, 32, 1, 0x80000001u, 0, 0, 5, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.bits << " bpp");
    std::uint32_t blank[40] = {};
    Tessro3DRestoreState(blank);
    BITMAPINFOHEADER h{};
    h.biWidth = c.width;
    h.biHeight = c.height;
    h.biPlanes = static_cast<WORD>(c.planes);
    h.biBitCount = static_cast<WORD>(c.bits);
    h.biCompression = c.compression;
    std::uint8_t pixel[4] = {};
    EXPECT_EQ(Tessro3DSetBitmap(&h, pixel, 0), c.result);
    EXPECT_EQ(LastError(), c.code);
    if (c.result == 0) {
      std::vector<std::uint8_t> state = Saved();
      EXPECT_EQ(Word(state, 24), std::uint32_t(c.format));
      EXPECT_EQ(std::int32_t(Word(state, 44)), c.stride);
    }
  }
  EXPECT_EQ(Tessro3DSetBitmap(nullptr, nullptr, 0), -1);
  EXPECT_EQ(LastError(), 6);
}

TEST_F(StateTest, InvertedTargetDitherModeMatrixAndAntialias) {
  Target target(10, 10, 32);
  ASSERT_EQ(Tessro3DSetInvertedBitmap(&target.header, target.pixels.data(), 7), 0);
  std::vector<std::uint8_t> state = Saved();
  EXPECT_EQ(std::int32_t(Word(state, 44)), -40);
  EXPECT_EQ(Word(state, 52), 2u);  // dither mode 7 taken as 2
  // Device row 0 is the last memory row: a fill of row 0 lands there.
  SetPixelMatrix();
  Tessro3DSetColour(0x0000FF);
  TessroRect row0{0, 0, Px(10), Px(1)};
  ASSERT_EQ(Tessro3DFillRectangle(&row0), 0);
  EXPECT_EQ(target.Pixel32(0, 9), 0x00FF0000u);
  EXPECT_EQ(target.Pixel32(0, 0), 0u);

  // The default matrix puts caller (0, 0) at the bottom edge, y growing upwards.
  Target tall(8, 100, 8);
  ASSERT_EQ(Tessro3DSetBitmap(&tall.header, tall.pixels.data(), 3), 0);
  state = Saved();
  EXPECT_EQ(Word(state, 52), 3u);
  EXPECT_EQ(std::int32_t(Word(state, 120)), 0x4000);
  EXPECT_EQ(std::int32_t(Word(state, 132)), -0x4000);
  EXPECT_EQ(Word(state, 144) | std::uint64_t(Word(state, 148)) << 32, std::uint64_t(100) << 30);

  Tessro3DSetAntialias(1);
  EXPECT_EQ(Saved()[4 + 5], 1);
  Target mono(8, 8, 1);
  ASSERT_EQ(mono.Select(), 0);
  EXPECT_EQ(Saved()[4 + 5], 1);
  Tessro3DSetAntialias(1);
  EXPECT_EQ(Saved()[4 + 5], 0);
}

// --- Flat colours -----------------------------------------------------------------------

TEST_F(StateTest, FlatColourPatternsByFormat) {
  struct Case {
    int bits;
    std::uint32_t ditherMode;
    std::uint32_t colour;
    std::uint32_t rows[4];  // the first word of each of rows 0..3 after filling
  } cases[] = {
      {1, 0, 0x000000, {0, 0, 0, 0}},
      {1, 0, 0xFFFFFF, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
      {1, 0, 0x808080, {0xAAAAAAAA, 0x55555555, 0xAAAAAAAA, 0x55555555}},
      {4, 0, 0x0000FF, {0x99999999, 0x99999999, 0x99999999, 0x99999999}},
      {4, 0, 0xFFFFFF, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
      {16, 0, 0xFFFFFF, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
      {16, 2, 0xFFFFFF, {0x7FFF7FFF, 0x7FFF7FFF, 0x7FFF7FFF, 0x7FFF7FFF}},
      {32, 0, 0x80102030, {0x80302010, 0x80302010, 0x80302010, 0x80302010}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bpp colour " << std::hex << c.colour);
    Target target(32 / c.bits * 2, 4, c.bits);
    ASSERT_EQ(Tessro3DSetBitmap(&target.header, target.pixels.data(), c.ditherMode), 0);
    SetPixelMatrix();
    Tessro3DSetColour(c.colour);
    TessroRect all{0, 0, Px(target.header.biWidth), Px(4)};
    ASSERT_EQ(Tessro3DFillRectangle(&all), 0);
    for (int y = 0; y < 4; ++y) {
      std::uint32_t w;
      std::memcpy(&w, &target.pixels[std::size_t(y) * target.stride], 4);
      EXPECT_EQ(w, c.rows[y]) << "row " << y;
    }
  }
}

TEST_F(StateTest, EightBitFlatColoursFollowColourMatching) {
  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  Target target(8, 8, 8);
  ASSERT_EQ(target.Select(), 0);
  SetPixelMatrix();
  Tessro3DSetColour(0xFFFFFF);
  TessroRect all{0, 0, Px(8), Px(8)};
  ASSERT_EQ(Tessro3DFillRectangle(&all), 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(target.Byte(x, y), 255);
  // A mid grey is dithered by rows of 4: rows y and y + 4 are alike.
  Tessro3DSetColour(0x777777);
  ASSERT_EQ(Tessro3DFillRectangle(&all), 0);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(target.Byte(x, 1), target.Byte(x, 5));
  // The cached pattern is reused for the same colour, whatever changed since.
  std::vector<std::uint8_t> before(target.pixels);
  TestPalette black;
  black.count = 256;
  Tessro3DSetPalette(black.get());
  Tessro3DSetColour(0x777777);
  ASSERT_EQ(Tessro3DFillRectangle(&all), 0);
  EXPECT_EQ(target.pixels, before);
}

}  // namespace
