#include "bitmap/DropShadowRenderer.h"
#include "bitmap/SoftShadow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr std::uint32_t kClear = 0xFF000000u;

std::uint32_t Top(std::uint32_t pixel) { return pixel >> 24; }

std::vector<std::uint32_t> Filled(int width, int height, std::uint32_t value) {
  return std::vector<std::uint32_t>(std::size_t(width) * std::size_t(height), value);
}

TEST(CircleKernel, DiscCellsAndAverages) {
  // Cells of a disc of radius r: 1, 5, 13, 29 for r = 0..3.
  const int cells[] = {1, 5, 13, 29};
  std::vector<std::uint32_t> grey = Filled(20, 20, 0x64000000u);  // transparency 100
  for (int r = 0; r < 4; ++r) {
    CircleKernel kernel(grey.data(), 20, 20);
    kernel.Setup(r, 10, 10);
    EXPECT_EQ(kernel.CellCount(), cells[r]) << r;
    EXPECT_EQ(kernel.Average(), 100) << r;
    kernel.StepRight();
    kernel.StepDown(-1);
    EXPECT_EQ(kernel.Average(), 100) << r;
  }
  // Half the disc outside the picture counts as clear.
  CircleKernel edge(grey.data(), 20, 20);
  edge.Setup(1, 0, 10);  // column -1 is outside: one of five cells
  EXPECT_EQ(edge.Average(), (4 * 100 + 255 + 2) / 5);
  // Shrinking narrows the disc by one step.
  CircleKernel shrink(grey.data(), 20, 20);
  shrink.Setup(3, 10, 10);
  shrink.ShrinkTo(1);
  EXPECT_LT(shrink.CellCount(), 29);
  EXPECT_EQ(shrink.Average(), 100);
}

TEST(SoftShadow, OffsetRadiusZeroIsTheSilhouette) {
  const std::uint32_t graphic[] = {0x00FF0000u, 0x80FFFFFFu, kClear, 0x10123456u};
  struct Case {
    double opacity, offsetX, offsetY;
    int pictureX, pictureY;
  } cases[] = {{1.0, 0, 0, 0, 0}, {0.5, 2.5, -3.4, 2, -3}, {0.25, 3.5, 1.6, 4, 2}};
  for (const Case& c : cases) {
    CSoftShadow shadow;
    ASSERT_EQ(shadow.Generate(1, 1.0, 0, 0, c.opacity, c.offsetX, c.offsetY, graphic, 2, 2), 1);
    ASSERT_EQ(shadow.Width(), 2);
    ASSERT_EQ(shadow.Height(), 2);
    for (int i = 0; i < 4; ++i) {
      const int t = int(Top(graphic[i]));
      EXPECT_EQ(shadow.Pixels()[i], std::uint32_t(255 - int((255 - t) * c.opacity + 0.5)) << 24)
          << i << " opacity " << c.opacity;
    }
    EXPECT_EQ(shadow.PictureX(), c.pictureX);
    EXPECT_EQ(shadow.PictureY(), c.pictureY);
  }
}

TEST(SoftShadow, ClearGraphicGivesClearShadow) {
  const std::vector<std::uint32_t> graphic = Filled(6, 4, 0xFF00FF00u);
  CSoftShadow shadow;
  ASSERT_EQ(shadow.Generate(1, 1.0, 0, 3, 1.0, 0, 0, graphic.data(), 6, 4), 1);
  ASSERT_EQ(shadow.Width(), 12);
  ASSERT_EQ(shadow.Height(), 10);
  for (int i = 0; i < 120; ++i) ASSERT_EQ(shadow.Pixels()[i], kClear) << i;
  EXPECT_EQ(shadow.PictureX(), -3);
  EXPECT_EQ(shadow.PictureY(), -3);
}

TEST(SoftShadow, LargeRadiusWidensThePictureButBlursAtMostForty) {
  // Radius 50 makes the picture 100 pixels larger, but its blur is the radius-40 blur: the
  // same pixels, 10 further in.
  std::vector<std::uint32_t> graphic = Filled(12, 9, 0xFF000000u);
  for (int y = 2; y < 7; ++y)
    for (int x = 3; x < 9; ++x) graphic[std::size_t(y * 12 + x)] = std::uint32_t(x * 20) << 24;
  CSoftShadow wide, forty;
  ASSERT_EQ(wide.Generate(1, 1.0, 0, 50, 0.8, 0, 0, graphic.data(), 12, 9), 1);
  ASSERT_EQ(forty.Generate(1, 1.0, 0, 40, 0.8, 0, 0, graphic.data(), 12, 9), 1);
  ASSERT_EQ(wide.Width(), 112);
  ASSERT_EQ(wide.Height(), 109);
  EXPECT_EQ(wide.PictureX(), -50);
  bool shaded = false;
  for (int y = 0; y < forty.Height(); ++y)
    for (int x = 0; x < forty.Width(); ++x) {
      const std::uint32_t p = forty.Pixels()[y * forty.Width() + x];
      shaded |= p != kClear;
      ASSERT_EQ(wide.Pixels()[(y + 10) * wide.Width() + x + 10], p) << x << "," << y;
    }
  EXPECT_TRUE(shaded);
  EXPECT_EQ(wide.Pixels()[5 * wide.Width() + 5], kClear);  // beyond the reach of the disc
}

TEST(SoftShadow, SetOffsetMovesOnlyOffsetShadows) {
  const std::uint32_t graphic[] = {0};
  CSoftShadow shadow;
  shadow.Generate(1, 1.0, 0, 2.4, 0.5, 0, 0, graphic, 1, 1);
  int x = 99, y = 99;
  shadow.SetOffset(5.6, -2.2, x, y);
  EXPECT_EQ(x, 6 - 2);
  EXPECT_EQ(y, -2 - 2);
  CSoftShadow floor;
  floor.Generate(0, 1.0, 0, 2, 0.5, 7, 7, graphic, 1, 1);
  x = y = 99;
  floor.SetOffset(5, 5, x, y);
  EXPECT_EQ(x, 99);
  EXPECT_EQ(floor.OffsetX(), 0);
}

TEST(SoftShadow, FloorShadowGeometry) {
  // An opaque 10 x 8 block, blur 2 at scale 0.5: squashed to 4 rows, receding blur r' = 1,
  // blurred picture 12 x 5.
  const std::vector<std::uint32_t> graphic = Filled(10, 8, 0x00000000u);
  struct Case {
    double tilt;
    int width, pictureX;
  } cases[] = {
      {0, 12 + 2, -1 - 1},                                  // no shear, one extra pixel left
      {45, 5 + 12 + 2, -1},                                 // c = round(1 x 5) = 5 to the right
      {-45, 5 + 12 + 2, -1 - 5 - 1},                        // leaning left moves the picture left
  };
  for (const Case& c : cases) {
    CSoftShadow shadow;
    ASSERT_EQ(shadow.Generate(0, 0.5, c.tilt, 2, 1.0, 0, 0, graphic.data(), 10, 8), 1);
    EXPECT_EQ(shadow.Width(), c.width) << c.tilt;
    EXPECT_EQ(shadow.Height(), 5 + 2 - 1) << c.tilt;
    EXPECT_EQ(shadow.PictureX(), c.pictureX) << c.tilt;
    EXPECT_EQ(shadow.PictureY(), 0);
  }
  // Tilt 45 leans the top right by one column per row (t x y with t = 1).
  const std::vector<std::uint32_t> tall = Filled(10, 40, 0x00000000u);
  CSoftShadow shadow;
  ASSERT_EQ(shadow.Generate(0, 0.5, 45, 0, 1.0, 0, 0, tall.data(), 10, 40), 1);
  const auto firstDark = [&](int row) {
    for (int x = 0; x < shadow.Width(); ++x)
      if (Top(shadow.Pixels()[row * shadow.Width() + x]) < 128) return x;
    return -1;
  };
  EXPECT_EQ(firstDark(17) - firstDark(1), 16);
}

TEST(SoftShadow, AbsurdParametersStayBounded) {
  const std::vector<std::uint32_t> graphic = Filled(4, 4, 0);
  CSoftShadow shadow;
  ASSERT_EQ(shadow.Generate(0, 1.0, 90, 1, 1.0, 0, 0, graphic.data(), 4, 4), 1);
  EXPECT_LT(shadow.Width(), 4 * 100);
  EXPECT_EQ(shadow.Generate(0, 0.0, 10, 3, 1.0, 0, 0, graphic.data(), 4, 4), 1);  // squashed flat
  // Radii and offsets far beyond any picture are refused or limited, never overflowed.
  EXPECT_EQ(shadow.Generate(1, 1.0, 0, 1e12, 1.0, 0, 0, graphic.data(), 4, 4), 0);
  EXPECT_EQ(shadow.Generate(1, 1.0, 0, 1, 1.0, 1e12, -1e12, graphic.data(), 4, 4), 1);
  EXPECT_EQ(shadow.Generate(0, 1e12, 0, 1, 1.0, 0, 0, graphic.data(), 4, 4), 0);
}

TEST(SquashTransparencyRows, MeansOfTheRowsEachOutputRowStandsFor) {
  // One column of transparencies 0, 40, 80, 120 squashed to 2 rows: the second row stands for
  // rows 0..2 (one more than the two rows advanced).
  std::vector<std::uint32_t> column = {0x00000001u, 0x28000002u, 0x50000003u, 0x78000004u};
  const std::vector<std::uint32_t> out = SquashTransparencyRows(column.data(), 1, 4, 2);
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out[0], 0x00000001u);
  EXPECT_EQ(out[1], (std::uint32_t((0 + 40 + 80) / 3) << 24) | 3u);
}

TEST(StretchBlitSkewed, RowsShiftByTheTruncatedSkew) {
  // A 1 x 4 opaque column stretched into a 1-wide rectangle of 4 rows at column 5.
  const std::uint32_t source[] = {0x00000001u, 0x00000002u, 0x00000003u, 0x00000004u};
  struct Case {
    int skew;
    int columns[4];
  } cases[] = {{0, {5, 5, 5, 5}}, {4, {5, 4, 3, 2}}, {-2, {5, 5, 6, 6}}, {-7, {5, 6, 8, 10}}};
  for (const Case& c : cases) {
    std::vector<std::uint32_t> target = Filled(12, 4, kClear);
    StretchBlitSkewedARGB(source, 1, 4, RECT{0, 0, 1, 4}, target.data(), 12, 4, RECT{5, 0, 6, 4}, true, false,
                          c.skew);
    for (int row = 0; row < 4; ++row)
      EXPECT_EQ(target[std::size_t(row * 12 + c.columns[row])], source[row]) << c.skew << " row " << row;
  }
  // A rectangle reaching past the source is refused rather than read.
  std::vector<std::uint32_t> target = Filled(4, 4, kClear);
  StretchBlitSkewedARGB(source, 1, 4, RECT{0, 0, 2, 4}, target.data(), 4, 4, RECT{0, 0, 4, 4}, false, false, 0);
  EXPECT_EQ(target, Filled(4, 4, kClear));
}

struct DropShadowTest : ::testing::Test {
  // 10 x 10, clear, with an opaque red pixel at (2, 2) and a half-clear one at (3, 2).
  std::vector<std::uint32_t> graphic = [] {
    std::vector<std::uint32_t> g = Filled(10, 10, kClear);
    g[2 * 10 + 2] = 0x00FF0000u;
    g[2 * 10 + 3] = 0x800000FFu;
    return g;
  }();
  DropShadowSettings settings;
  void SetUp() override {
    settings.shown = true;
    settings.darkness = 1.0;
    settings.colour = 0x00102030;  // colour reference: red 0x30, blue 0x10
    settings.fastMachine = true;
  }
};

TEST_F(DropShadowTest, OffsetShadowUnderTheGraphic) {
  settings.type = 1;
  settings.offsetX = 1;
  settings.offsetY = -3;  // three rows down on screen is three memory rows up
  CDropShadowRenderer renderer;
  ASSERT_EQ(renderer.Render(graphic.data(), 10, 10, settings), 1);
  EXPECT_EQ(graphic[5 * 10 + 3], 0x00302010u);       // under an opaque pixel: opaque shadow colour
  EXPECT_EQ(Top(graphic[5 * 10 + 4]), 129u);         // under T = 128: 255 - ((255 x 127) >> 8)
  EXPECT_EQ(graphic[2 * 10 + 2], 0x00FF0000u);       // the graphic stays on top
  EXPECT_EQ(graphic[0], kClear);
}

TEST_F(DropShadowTest, SlowMachineTakesOnlyTheOpaqueArea) {
  settings.type = 1;
  settings.offsetY = -3;
  settings.fastMachine = false;
  CDropShadowRenderer renderer;
  ASSERT_EQ(renderer.Render(graphic.data(), 10, 10, settings), 1);
  EXPECT_EQ(renderer.Area().left, 2);
  EXPECT_EQ(renderer.Area().right, 2);
  EXPECT_EQ(graphic[5 * 10 + 3], kClear);
}

TEST_F(DropShadowTest, FloorShadowWithExtremeSettingsStaysInside) {
  settings.type = 0;
  for (double scale : {0.5, 1e9}) {
    for (double tilt : {-1e9, 45.0, 1e9}) {
      settings.scale = scale;
      settings.tiltDegrees = tilt;
      std::vector<std::uint32_t> copy = graphic;
      CDropShadowRenderer renderer;
      EXPECT_EQ(renderer.Render(copy.data(), 10, 10, settings), 1);
      EXPECT_EQ(copy[2 * 10 + 2], 0x00FF0000u);
    }
  }
}

TEST_F(DropShadowTest, RefusalsLeaveTheGraphic) {
  const std::vector<std::uint32_t> before = graphic;
  CDropShadowRenderer renderer;
  DropShadowSettings hidden = settings;
  hidden.shown = false;
  EXPECT_EQ(renderer.Render(graphic.data(), 10, 10, hidden), 0);
  EXPECT_EQ(renderer.Render(nullptr, 10, 10, settings), 0);
  EXPECT_EQ(renderer.Render(graphic.data(), 0, 10, settings), 0);
  // A floor shadow of scale 0 draws no rows.
  settings.type = 0;
  settings.scale = 0;
  EXPECT_EQ(renderer.Render(graphic.data(), 10, 10, settings), 1);
  EXPECT_EQ(graphic, before);
}

}  // namespace
