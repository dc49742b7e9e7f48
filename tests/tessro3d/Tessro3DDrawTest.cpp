// 2D drawing: rectangles, path outlines, path and stroke bounds, bitmap fills.
#include <vector>

#include "tests/tessro3d/Tessro3DTestSupport.h"

using namespace tessro3d_test;

namespace {

class DrawTest : public Tessro3DFixture {
 protected:
  Target target{40, 30, 32};
  void SetUp() override {
    Tessro3DFixture::SetUp();
    ASSERT_EQ(target.Select(), 0);
    SetPixelMatrix();
    Tessro3DSetColour(0x00FFFFFF);
  }
  // The painted pixels as text rows, '#' painted and '.' not.
  std::vector<std::string> Picture(int x0, int y0, int x1, int y1) const {
    std::vector<std::string> rows;
    for (int y = y0; y < y1; ++y) {
      std::string row;
      for (int x = x0; x < x1; ++x) row += target.Pixel32(x, y) ? '#' : '.';
      rows.push_back(row);
    }
    return rows;
  }
  TessroRect Changed() {
    std::vector<std::uint8_t> state(Tessro3DGetStateSize());
    Tessro3DSaveState(state.data());
    TessroRect r;
    std::memcpy(&r, &state[4 + 56], 16);
    return r;
  }
};

TEST_F(DrawTest, RectanglesAreRoundedClippedAndOrderFree) {
  // Corners given swapped; 1.6 rounds to 2, 5.4 to 5, 2.5 up to 3, 8.4 to 8.
  TessroRect swapped{Px(5.4), Px(8.4), Px(1.6), Px(2.5)};
  ASSERT_EQ(Tessro3DFillRectangle(&swapped), 0);
  std::vector<std::string> expected = {"......", "......", "......", "..###.", "..###.", "..###.",
                                       "..###.", "..###.", "......", "......"};
  EXPECT_EQ(Picture(0, 0, 6, 10), expected);
  TessroRect changed = Changed();
  EXPECT_EQ(changed.x0, 2);
  EXPECT_EQ(changed.y0, 3);
  EXPECT_EQ(changed.x1, 5);
  EXPECT_EQ(changed.y1, 8);

  TessroRect outside{Px(50), Px(1), Px(60), Px(5)};
  EXPECT_EQ(Tessro3DFillRectangle(&outside), 0);
  EXPECT_EQ(Changed().x1, 5);
  EXPECT_EQ(Tessro3DFillRectangle(nullptr), 0);

  TessroRect overEdge{Px(38), Px(28), Px(45), Px(35)};
  ASSERT_EQ(Tessro3DFillRectangle(&overEdge), 0);
  EXPECT_EQ(target.Pixel32(39, 29), 0x00FFFFFFu);
}

TEST_F(DrawTest, DrawingNeedsTargetAndFillStyle) {
  TessroRect r{0, 0, Px(2), Px(2)};
  Target fresh(4, 4, 32);
  ASSERT_EQ(fresh.Select(), 0);
  SetPixelMatrix();
  EXPECT_EQ(Tessro3DFillRectangle(&r), -1);
  EXPECT_EQ(LastError(), 17);
  EXPECT_EQ(Tessro3DSetBitmap(&fresh.header, nullptr, 0), 0);
  SetPixelMatrix();
  Tessro3DSetColour(0x10);
  EXPECT_EQ(Tessro3DFillRectangle(&r), -1);
  EXPECT_EQ(LastError(), 12);
}

TEST_F(DrawTest, OneBitSpansTouchOnlyTheirBits) {
  Target mono(64, 2, 1);
  ASSERT_EQ(mono.Select(), 0);
  SetPixelMatrix();
  Tessro3DSetColour(0xFFFFFF);
  TessroRect r{Px(31), 0, Px(33), Px(1)};
  ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
  std::vector<std::uint8_t> expected(mono.pixels.size(), 0);
  expected[3] = 0x01;
  expected[4] = 0x80;
  EXPECT_EQ(mono.pixels, expected);
  TessroRect last{Px(63), Px(1), Px(64), Px(2)};
  ASSERT_EQ(Tessro3DFillRectangle(&last), 0);
  EXPECT_EQ(mono.pixels[8 + 7], 0x01);
}

TEST_F(DrawTest, OutlinesPaintOnePixelRunsAndNoInterior) {
  // Verticals at 10.5 and 10.0 both paint column 10.
  for (double x : {10.5, 10.0}) {
    target.Fill32(0);
    TessroPoint pts[] = {{Px(x), Px(2)}, {Px(x), Px(6)}};
    std::uint8_t verbs[] = {6, 2};
    ASSERT_EQ(Tessro3DDrawPathOutline(pts, verbs, 2, 0), 0);
    std::vector<std::string> expected = {"...", "...", ".#.", ".#.", ".#.", ".#.", ".#.", "..."};
    EXPECT_EQ(Picture(9, 0, 12, 8), expected) << x;
  }
  target.Fill32(0);
  TessroPoint box[] = {{Px(2.5), Px(2.5)}, {Px(8.5), Px(2.5)}, {Px(8.5), Px(7.5)}, {Px(2.5), Px(7.5)}};
  std::uint8_t closedBox[] = {6, 2, 2, 3};
  ASSERT_EQ(Tessro3DDrawPathOutline(box, closedBox, 4, 0), 0);
  std::vector<std::string> expected = {"..........", "..........", "..#######.", "..#.....#.", "..#.....#.",
                                       "..#.....#.", "..#.....#.", "..#######.", ".........."};
  EXPECT_EQ(Picture(0, 0, 10, 9), expected);
  // Left open, the close flag decides the fourth side.
  std::uint8_t openBox[] = {6, 2, 2, 2};
  target.Fill32(0);
  ASSERT_EQ(Tessro3DDrawPathOutline(box, openBox, 4, 0), 0);
  EXPECT_EQ(Picture(2, 4, 3, 5)[0], ".");
  ASSERT_EQ(Tessro3DDrawPathOutline(box, openBox, 4, 1), 0);
  EXPECT_EQ(Picture(0, 0, 10, 9), expected);
}

TEST_F(DrawTest, BadPathsAndNothingToPaint) {
  TessroPoint pts[6] = {{0, 0}, {Px(5), 0}, {Px(5), Px(5)}, {0, Px(5)}, {Px(1), Px(1)}, {Px(2), Px(2)}};
  struct Case {
    std::vector<std::uint8_t> verbs;
    int result, code;
  } cases[] = {
      {{2, 2}, -1, 7},           // first verb not a move
      {{6, 3, 2}, -1, 7},        // a line after a close
      {{6, 4, 4}, -1, 7},        // a curve short of points
      {{6, 2, 3, 6, 2}, 0, 0},   // a move after a close
      {{6, 4, 4, 5}, 0, 0},      // a closed curve
  };
  auto fresh = [&] {
    std::uint32_t blank[40] = {};
    Tessro3DRestoreState(blank);  // clears the code
    ASSERT_EQ(target.Select(), 0);
    SetPixelMatrix();
    Tessro3DSetColour(0xFFFFFF);
  };
  for (const Case& c : cases) {
    fresh();
    EXPECT_EQ(Tessro3DDrawPathOutline(pts, c.verbs.data(), std::int32_t(c.verbs.size()), 0), c.result);
    EXPECT_EQ(LastError(), c.code);
  }
  std::uint8_t verbs[] = {6, 2};
  EXPECT_EQ(Tessro3DDrawPathOutline(pts, verbs, 0, 0), -1);
  EXPECT_EQ(LastError(), 7);
  EXPECT_EQ(Tessro3DDrawPathOutline(nullptr, verbs, 2, 0), -1);
  EXPECT_EQ(LastError(), 6);
  // Equal ends paint nothing and leave the changed area alone.
  fresh();
  TessroPoint same[] = {{Px(3), Px(3)}, {Px(3), Px(3)}};
  EXPECT_EQ(Tessro3DDrawPathOutline(same, verbs, 2, 1), 0);
  EXPECT_GT(Changed().x0, Changed().x1);
}

TEST_F(DrawTest, LongPathsUseTheHandlersOnlyBeyondTheStaticBlock) {
  // Segments that fit the static block with their edge list need no handler.
  const int pointer = int(sizeof(void*));
  int fits = 0;
  while ((fits + 1) * 32 + (fits + 1 + 4) * pointer < 32768) ++fits;
  auto zigzag = [](int segments, std::vector<TessroPoint>& pts, std::vector<std::uint8_t>& verbs) {
    pts.clear();
    verbs.clear();
    for (int i = 0; i <= segments; ++i) {
      pts.push_back({Px(1 + (i % 2) * 3), Px(1 + i % 20)});
      verbs.push_back(i == 0 ? 6 : 2);
    }
  };
  std::vector<TessroPoint> pts;
  std::vector<std::uint8_t> verbs;
  Tessro3DReleaseMemory();
  zigzag(fits, pts, verbs);
  EXPECT_EQ(Tessro3DDrawPathOutline(pts.data(), verbs.data(), std::int32_t(pts.size()), 0), 0);
  zigzag(fits + 1, pts, verbs);
  EXPECT_EQ(Tessro3DDrawPathOutline(pts.data(), verbs.data(), std::int32_t(pts.size()), 0), -1);
  EXPECT_EQ(LastError(), 18);
  Tessro3DSetMemoryHandlers(Heap::Alloc, Heap::Free);
  zigzag(3000, pts, verbs);  // several edge blocks
  EXPECT_EQ(Tessro3DDrawPathOutline(pts.data(), verbs.data(), std::int32_t(pts.size()), 0), 0);
  EXPECT_TRUE(Heap::Live().empty());
  Heap::Refuse() = true;
  EXPECT_EQ(Tessro3DDrawPathOutline(pts.data(), verbs.data(), std::int32_t(pts.size()), 0), -1);
  EXPECT_EQ(LastError(), 14);
}

TEST_F(DrawTest, CurvesFlattenWithinTheRecursionAllowance) {
  // Control points on the chord at thirds: one flat piece, just the end point.
  TessroPoint straight[] = {{0, 0}, {Px(1), 0}, {Px(2), 0}, {Px(3), 0}};
  std::uint8_t curve[] = {6, 4, 4, 4};
  TessroRect box;
  ASSERT_EQ(Tessro3DGetPathBounds(straight, curve, 4, &box, 1), 0);
  TessroPoint bent[] = {{0, 0}, {Px(-20), Px(30)}, {Px(40), Px(30)}, {Px(20), 0}};
  ASSERT_EQ(Tessro3DGetPathBounds(bent, curve, 4, &box, 0), 0);
  EXPECT_EQ(box.x0, Px(-20));
  EXPECT_EQ(box.x1, Px(40));
  ASSERT_EQ(Tessro3DGetPathBounds(bent, curve, 4, &box, 1), 0);
  EXPECT_GT(box.x0, Px(-20));
  EXPECT_LT(box.x1, Px(40));
  EXPECT_GT(box.y1, Px(20));
  EXPECT_EQ(box.y0, 0);
  std::uint8_t badCurve[] = {4, 4, 4, 6};
  EXPECT_EQ(Tessro3DGetPathBounds(bent, badCurve, 4, &box, 1), -1);
  EXPECT_EQ(LastError(), 7);

  // A small allowance runs out; the call fails and a later one works again.
  Tessro3DSetStackLimit(64 + 36 * 2);
  EXPECT_EQ(Tessro3DDrawPathOutline(bent, curve, 4, 0), -1);
  EXPECT_EQ(LastError(), 16);
  Tessro3DSetStackLimit(0x4000);
  EXPECT_EQ(Tessro3DDrawPathOutline(bent, curve, 4, 0), 0);
}

TEST_F(DrawTest, StrokeBounds) {
  TessroPoint line[] = {{0, 0}, {100, 0}};
  TessroPoint corner[] = {{0, 0}, {100, 0}, {100, 100}};
  TessroPoint spike[] = {{0, 0}, {100, 0}, {0, 2}};
  TessroPoint lone[] = {{50, 50}};
  std::uint8_t verbs[] = {6, 2, 2};
  struct Case {
    const TessroPoint* pts;
    int count;
    std::int32_t width;
    std::uint32_t cap, join;
    TessroRect expected;
  } cases[] = {
      {line, 2, 10, 0, 0, {0, -5, 100, 5}},
      {line, 2, 10, 2, 0, {-5, -5, 105, 5}},
      {line, 2, 10, 1, 0, {-5, -5, 105, 5}},
      {line, 2, 10, 0x100, 0, {0, -5, 100, 5}},
      {line, 2, 0, 0, 0, {0, 0, 100, 0}},
      {corner, 3, 20, 0, 0, {0, -10, 110, 100}},   // the miter point (110, -10)
      {corner, 3, 20, 0, 2, {0, -10, 110, 100}},   // bevel: the outer offsets (100, -10), (110, 0)
      {corner, 3, 20, 0, 1, {0, -10, 110, 100}},
      {spike, 3, 10, 0, 0, {0, -5, 100, 7}},       // too sharp for the miter limit: beveled
      {lone, 1, 10, 1, 0, {45, 45, 55, 55}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "count " << c.count << " width " << c.width << " cap " << c.cap << " join " << c.join);
    TessroRect r;
    ASSERT_EQ(Tessro3DGetStrokePathBounds(c.pts, verbs, c.count, &r, 0, c.width, c.cap, c.join, 0), 0);
    EXPECT_EQ(r.x0, c.expected.x0);
    EXPECT_EQ(r.y0, c.expected.y0);
    EXPECT_EQ(r.x1, c.expected.x1);
    EXPECT_EQ(r.y1, c.expected.y1);
  }
  TessroRect r;
  ASSERT_EQ(Tessro3DGetStrokePathBounds(lone, verbs, 1, &r, 0, 10, 0, 0, 0), 0);
  EXPECT_GT(r.x0, r.x1);
  EXPECT_EQ(Tessro3DGetStrokePathBounds(line, verbs, 2, &r, 0, 10, 3, 0, 0), -1);
  EXPECT_EQ(LastError(), 6);
  EXPECT_EQ(Tessro3DGetStrokePathBounds(line, verbs, 0, &r, 0, 10, 0, 0, 0), -1);
  EXPECT_EQ(LastError(), 7);
}

TEST_F(DrawTest, ClosedStrokeHasNoCapsButAJoinAtItsStart) {
  // A closed square: miter joins at every corner, including the start.
  TessroPoint square[] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  std::uint8_t verbs[] = {6, 2, 2, 3};
  TessroRect r;
  ASSERT_EQ(Tessro3DGetStrokePathBounds(square, verbs, 4, &r, 0, 20, 2, 0, 0), 0);
  EXPECT_EQ(r.x0, -10);
  EXPECT_EQ(r.y0, -10);
  EXPECT_EQ(r.x1, 110);
  EXPECT_EQ(r.y1, 110);
}

// --- Bitmap fills -------------------------------------------------------------------------

struct Source {
  BITMAPINFOHEADER header{};
  std::vector<std::uint8_t> pixels;
  Source(int width, int height, int bits) {
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    pixels.assign(std::size_t((width * bits + 31) / 32 * 4) * height, 0);
  }
};

// A 2x2 32-bpp source: blue, green / red, white (first row in memory first).
Source Checker() {
  Source s(2, 2, 32);
  const std::uint32_t px[4] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FFFFFF};
  std::memcpy(s.pixels.data(), px, 16);
  return s;
}

TEST_F(DrawTest, BitmapFillTileStyles) {
  Source src = Checker();
  TessroPoint o{Px(2), Px(2)}, xe{Px(4), Px(2)}, ye{Px(2), Px(4)};
  struct Case {
    std::uint32_t tile;
    std::uint32_t row0[6];  // device row 2, columns 0..5
  } cases[] = {
      {0, {0xFF, 0xFF, 0xFF, 0xFF00, 0xFF00, 0xFF00}},
      {1, {0x123456, 0x123456, 0xFF, 0xFF00, 0x123456, 0x123456}},
      {2, {0xFF, 0xFF00, 0xFF, 0xFF00, 0xFF, 0xFF00}},
      {3, {0xFF00, 0xFF, 0xFF, 0xFF00, 0xFF00, 0xFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tile);
    target.Fill32(0);
    ASSERT_EQ(Tessro3DSetBitmapFill(&src.header, src.pixels.data(), c.tile, &o, &xe, &ye, 0x563412, nullptr, nullptr, nullptr, nullptr, nullptr, 0), 0);
    TessroRect r{0, 0, Px(6), Px(6)};
    ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
    for (int x = 0; x < 6; ++x) EXPECT_EQ(target.Pixel32(x, 2), c.row0[x]) << "column " << x;
    EXPECT_EQ(target.Pixel32(2, 3), 0x00FF0000u);
  }
}

TEST_F(DrawTest, BitmapFillSourcesTablesAndFourthByte) {
  // An 8-bpp source through its colour table, and a red table that removes red.
  Source indexed(2, 1, 8);
  indexed.pixels[0] = 1;
  indexed.pixels[1] = 0;
  RGBQUAD colours[256] = {};
  colours[0] = {0x10, 0x20, 0x30, 0};
  colours[1] = {0x40, 0x50, 0x60, 0};
  std::uint8_t noRed[256] = {};
  TessroPoint o{0, 0}, xe{Px(2), 0}, ye{0, Px(1)};
  ASSERT_EQ(Tessro3DSetBitmapFill(&indexed.header, indexed.pixels.data(), 0, &o, &xe, &ye, 0, colours, noRed, nullptr, nullptr, nullptr, 0), 0);
  TessroRect r{0, 0, Px(2), Px(1)};
  ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
  EXPECT_EQ(target.Pixel32(0, 0), 0x00005040u);
  EXPECT_EQ(target.Pixel32(1, 0), 0x00002010u);

  // 32 bpp: plain sources keep the target's fourth byte, 0x80000000 sources write theirs.
  Source alpha(1, 1, 32);
  const std::uint32_t pixel = 0x7F112233;
  std::memcpy(alpha.pixels.data(), &pixel, 4);
  target.Fill32(0xAB000000);
  TessroPoint x1{Px(1), 0};
  ASSERT_EQ(Tessro3DSetBitmapFill(&alpha.header, alpha.pixels.data(), 0, &o, &x1, &ye, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0), 0);
  ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
  EXPECT_EQ(target.Pixel32(0, 0), 0xAB112233u);
  alpha.header.biCompression = 0x80000000u;
  ASSERT_EQ(Tessro3DSetBitmapFill(&alpha.header, alpha.pixels.data(), 0, &o, &x1, &ye, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0), 0);
  ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
  EXPECT_EQ(target.Pixel32(0, 0), 0x7F112233u);
}

TEST_F(DrawTest, BitmapFillRefusalsAndFallbacks) {
  Source src = Checker();
  TessroPoint o{0, 0}, xe{Px(2), 0}, ye{0, Px(2)}, parallel{Px(4), 0};
  struct Case {
    int bits, planes, height;
    std::uint32_t style;
    int code;
  } cases[] = {
      {32, 1, 2, 4, 4},               // tile style 4
      {32, 1, 2, 13 << 8, 5},         // transparency type 13
      {32, 1, 2, 3u << 14, 5},        // both flags
      {2, 1, 2, 0, 1},
      {32, 2, 2, 0, 1},
      {32, 1, 4096, 0, 1},
      {32, 1, -2, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bpp, style " << std::hex << c.style);
    Source s = Checker();
    s.header.biBitCount = static_cast<WORD>(c.bits);
    s.header.biPlanes = static_cast<WORD>(c.planes);
    s.header.biHeight = c.height;
    EXPECT_EQ(Tessro3DSetBitmapFill(&s.header, s.pixels.data(), c.style, &o, &xe, &ye, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0), -1);
    EXPECT_EQ(LastError(), c.code);
    TessroRect r{0, 0, Px(1), Px(1)};
    EXPECT_EQ(Tessro3DFillRectangle(&r), -1);
    EXPECT_EQ(LastError(), 17);
  }
  // Without a colour table a palette source cannot be read.
  Source indexed(2, 2, 8);
  EXPECT_EQ(Tessro3DSetBitmapFill(&indexed.header, indexed.pixels.data(), 0, &o, &xe, &ye, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0), -1);
  EXPECT_EQ(LastError(), 6);

  // Degenerate axes fall back to the flat colour.
  for (const TessroPoint* end : {&o, &parallel}) {
    const TessroPoint* second = end == &o ? &ye : &parallel;
    ASSERT_EQ(Tessro3DSetBitmapFill(&src.header, src.pixels.data(), 0, &o, end, second, 0x00345678, nullptr, nullptr, nullptr, nullptr, nullptr, 0), 0);
    TessroRect r{0, 0, Px(1), Px(1)};
    ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
    EXPECT_EQ(target.Pixel32(0, 0), 0x00785634u);
  }
  // Near-singular axes (steps of billions of source pixels per device pixel) as well, in every
  // tile style: their steps would overflow 64 bits.
  const TessroPoint farX{0x40000000, 0}, nearlyParallel{0x40000000, 1};
  for (std::uint32_t tile : {0u, 1u, 2u, 3u}) {
    SCOPED_TRACE(tile);
    ASSERT_EQ(Tessro3DSetBitmapFill(&src.header, src.pixels.data(), tile, &o, &farX, &nearlyParallel, 0x00345678, nullptr, nullptr, nullptr, nullptr, nullptr, 0), 0);
    TessroRect r{0, 0, Px(2), Px(2)};
    ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
    EXPECT_EQ(target.Pixel32(1, 1), 0x00785634u);
  }
  // A transparent bitmap fill has no combiner on 32-bpp targets.
  ASSERT_EQ(Tessro3DSetBitmapFill(&src.header, src.pixels.data(), 1 << 8, &o, &xe, &ye, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0), 0);
  TessroRect r{0, 0, Px(1), Px(1)};
  EXPECT_EQ(Tessro3DFillRectangle(&r), -1);
  EXPECT_EQ(LastError(), 11);
}

TEST_F(DrawTest, BitmapFillOnPaletteTargetsGoesThroughTheFormatStage) {
  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  Target eight(4, 2, 8);
  ASSERT_EQ(eight.Select(), 0);
  SetPixelMatrix();
  Source white(1, 1, 8);
  RGBQUAD colours[256] = {};
  colours[0] = {0xFF, 0xFF, 0xFF, 0};
  TessroPoint o{0, 0}, xe{Px(1), 0}, ye{0, Px(1)};
  // A transparency type is no obstacle below 32 bpp: it draws opaque.
  ASSERT_EQ(Tessro3DSetBitmapFill(&white.header, white.pixels.data(), 1 << 8, &o, &xe, &ye, 0, colours, nullptr, nullptr, nullptr, nullptr, 0), 0);
  TessroRect r{0, 0, Px(4), Px(2)};
  ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(eight.Byte(x, y), 255);
}

TEST_F(DrawTest, FormatStagesDitherFilledPixels) {
  // A one-pixel 32-bpp source stretched over the area: every pixel goes through the stage.
  struct Case {
    int bits;
    std::uint32_t ditherMode;
    std::uint32_t colour;  // source pixel, 0x00RRGGBB
    std::uint8_t colourMatching;
    std::vector<std::uint32_t> expected;  // per pixel of rows 0..3, columns 0..3
  } cases[] = {
      {4, 0, 0xFFFFFF, 2, std::vector<std::uint32_t>(16, 15)},
      {4, 0, 0x000000, 2, std::vector<std::uint32_t>(16, 0)},
      {4, 0, 0xFF0000, 2, std::vector<std::uint32_t>(16, 9)},
      {16, 2, 0xFFFFFF, 2, std::vector<std::uint32_t>(16, 0x7FFF)},
      {16, 0, 0xFFFFFF, 2, std::vector<std::uint32_t>(16, 0xFFFF)},
      {8, 0, 0xFFFFFF, 3, std::vector<std::uint32_t>(16, 255)},
      // Mid grey on 1 bpp: set exactly where the threshold is 8 or more.
      {1, 0, 0x808080, 2, {1, 0, 1, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0, 1, 0, 1}},
  };
  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bpp, colour " << std::hex << c.colour);
    std::vector<std::uint8_t> state(Tessro3DGetStateSize());
    Tessro3DSaveState(state.data());
    state[4 + 2] = c.colourMatching;
    Tessro3DRestoreState(state.data());
    Target t(4, 4, c.bits);
    ASSERT_EQ(Tessro3DSetBitmap(&t.header, t.pixels.data(), c.ditherMode), 0);
    SetPixelMatrix();
    Source one(1, 1, 32);
    std::memcpy(one.pixels.data(), &c.colour, 4);
    TessroPoint o{0, 0}, xe{Px(4), 0}, ye{0, Px(4)};
    ASSERT_EQ(Tessro3DSetBitmapFill(&one.header, one.pixels.data(), 0, &o, &xe, &ye, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0), 0);
    TessroRect r{0, 0, Px(4), Px(4)};
    ASSERT_EQ(Tessro3DFillRectangle(&r), 0);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        std::uint32_t got;
        switch (c.bits) {
          case 1: got = t.Bit(x, y); break;
          case 4: got = (x & 1) ? (t.Byte(x / 2, y) & 15) : (t.Byte(x / 2, y) >> 4); break;
          case 8: got = t.Byte(x, y); break;
          default: got = t.Word16(x, y); break;
        }
        EXPECT_EQ(got, c.expected[y * 4 + x]) << x << "," << y;
      }
  }
}

}  // namespace

namespace {

TEST_F(DrawTest, FarOffCoordinatesNeitherOverflowNorPaintStrayPixels) {
  // Segments at the ends of the device range: arithmetic wraps, nothing is painted inside.
  TessroMatrix m{0x4000, 0, 0, 0x4000, std::int64_t(0x7FFF0000) << 16, 0};
  Tessro3DSetMatrix(&m);
  TessroPoint pts[] = {{0, 0}, {0x7FFFFFFF, Px(10)}, {-0x7FFFFFFF, Px(20)}, {0, Px(5)}};
  std::uint8_t verbs[] = {6, 2, 2, 3};
  EXPECT_EQ(Tessro3DDrawPathOutline(pts, verbs, 4, 0), 0);
  TessroRect r;
  EXPECT_EQ(Tessro3DGetStrokePathBounds(pts, verbs, 4, &r, 0, 0x7FFFFFFF, 2, 0, 0), 0);
  EXPECT_EQ(Tessro3DGetPathBounds(pts, verbs, 4, &r, 1), 0);
}

}  // namespace
