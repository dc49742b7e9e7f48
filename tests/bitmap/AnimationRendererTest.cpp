#include "bitmap/AnimationRenderer.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Palette3 {
  LOGPALETTE header;
  PALETTEENTRY more[2];
};

TEST(AnimationRenderer, FramesAreOpaqueCopiesThroughThePalette) {
  FakeServices services;
  CAnimationRenderer renderer;
  // A 3-pixel-wide 8-bit frame: one padding byte after each row.
  BYTE bits[8] = {0, 1, 2, 0xEE, 2, 2, 0, 0xEE};
  BITMAP frame{0, 3, 2, 4, 1, 8, bits};
  EXPECT_EQ(0, renderer.AddFrame(&frame));  // no palette yet
  EXPECT_EQ(0, renderer.GetFrameCount());
  Palette3 palette{{0x300, 3, {{0x10, 0x20, 0x30, 0}}}, {{0xFF, 0, 0, 0}, {0, 0, 0, 255}}};
  ASSERT_EQ(1, renderer.SetPalette(&palette.header));
  ASSERT_EQ(1, renderer.AddFrame(&frame));
  const Bitmap32* copy = renderer.GetFrame(0);
  ASSERT_TRUE(copy);
  // The reserved (transparent) entry still gives an opaque pixel of its colour.
  EXPECT_EQ((std::vector<std::uint32_t>{0x102030, 0xFF0000, 0x000000, 0x000000, 0x000000, 0x102030}),
            std::vector<std::uint32_t>(copy->Pixels(), copy->Pixels() + 6));

  BITMAP fourBit{0, 3, 2, 4, 1, 4, bits};
  EXPECT_EQ(0, renderer.AddFrame(&fourBit));
  EXPECT_EQ(0, renderer.AddFrame(nullptr));
  EXPECT_EQ(0, renderer.SetPalette(nullptr));
  EXPECT_EQ(0, renderer.ShowFrame(1));  // index equal to the count
  EXPECT_EQ(0, renderer.ShowFrame(0));  // no preview window in the fake
  std::vector<int> lines;
  for (const auto& e : services.internalErrors) {
    EXPECT_EQ("AnimationRenderer", e.first);
    lines.push_back(e.second);
  }
  EXPECT_EQ((std::vector<int>{97, 96, 95, 165, 68, 74}), lines);
  renderer.RemoveAllFrames();
  EXPECT_EQ(0, renderer.GetFrameCount());
  EXPECT_EQ(nullptr, renderer.GetPalette());
}

}  // namespace
