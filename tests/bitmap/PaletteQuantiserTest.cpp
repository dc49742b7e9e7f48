#include "bitmap/PaletteQuantiser.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

struct PaletteBuffer {
  LOGPALETTE header;
  PALETTEENTRY more[255];
  const PALETTEENTRY& operator[](int i) const { return (&header.palPalEntry[0])[i]; }
};

std::uint32_t Rgb(const PALETTEENTRY& e) { return (std::uint32_t(e.peRed) << 16) | (e.peGreen << 8) | e.peBlue; }

TEST(PaletteQuantiser, ChannelIndexBoundaries) {
  // Index k holds Boundary(k - 1) .. Boundary(k) - 1: first cells 0-4, 5-12, last 251-255.
  const int expected[][2] = {{0, 1}, {4, 1}, {5, 2}, {12, 2}, {13, 3}, {250, 32 - 1}, {251, 32}, {255, 32}};
  for (const auto& c : expected) EXPECT_EQ(c[1], PaletteQuantiser::ChannelIndex(c[0])) << c[0];
  for (int k = 1; k <= 32; ++k) {
    EXPECT_EQ(k, PaletteQuantiser::ChannelIndex(PaletteQuantiser::Boundary(k - 1)));
    EXPECT_EQ(k, PaletteQuantiser::ChannelIndex(PaletteQuantiser::Boundary(k) - 1));
  }
}

TEST(PaletteQuantiser, FewColoursGiveTheExactPaletteSortedByUse) {
  auto q = std::make_unique<PaletteQuantiser>();
  q->Clear();
  std::vector<std::uint32_t> pixels;
  pixels.insert(pixels.end(), 5, 0x00102030);
  pixels.insert(pixels.end(), 9, 0x00FF0000);
  pixels.insert(pixels.end(), 2, 0x000000FF);
  pixels.insert(pixels.end(), 4, 0xFF00FF00);  // clear pixels take no entry
  q->AddPixels(pixels.data(), pixels.size());
  q->CutBoxes(256);
  PaletteBuffer palette{};
  EXPECT_TRUE(q->MakePalette(&palette.header, 256));
  ASSERT_EQ(3, palette.header.palNumEntries);
  EXPECT_EQ(0xFF0000u, Rgb(palette[0]));
  EXPECT_EQ(0x102030u, Rgb(palette[1]));
  EXPECT_EQ(0x0000FFu, Rgb(palette[2]));
}

TEST(PaletteQuantiser, ExactlyNColoursUseTheBoxes) {
  auto q = std::make_unique<PaletteQuantiser>();
  q->Clear();
  const std::uint32_t colours[4] = {0x000000, 0xFFFFFF, 0xFF0000, 0x0000FF};
  q->AddPixels(colours, 4);
  q->CutBoxes(4);
  PaletteBuffer palette{};
  EXPECT_FALSE(q->MakePalette(&palette.header, 4));
  ASSERT_EQ(4, palette.header.palNumEntries);
  std::set<std::uint32_t> got;
  for (int i = 0; i < 4; ++i) got.insert(Rgb(palette[i]));
  // Well-separated colours each get a box of their own, coloured with their mean.
  EXPECT_EQ(std::set<std::uint32_t>(colours, colours + 4), got);
}

TEST(PaletteQuantiser, ClearPictureGivesAnEmptyPalette) {
  auto q = std::make_unique<PaletteQuantiser>();
  q->Clear();
  const std::vector<std::uint32_t> clear(50, 0xFF123456);
  q->AddPixels(clear.data(), clear.size());
  q->CutBoxes(256);
  PaletteBuffer palette{};
  EXPECT_TRUE(q->MakePalette(&palette.header, 256));
  EXPECT_EQ(0, palette.header.palNumEntries);
}

TEST(PaletteQuantiser, SystemColoursWinTheirBoxes) {
  auto q = std::make_unique<PaletteQuantiser>();
  q->Clear();
  q->includeSystemColours = true;
  q->exactColoursAllowed = false;
  // Reds near (255, 0, 0) and many other colours, so the reds end up in a box of their own.
  std::vector<std::uint32_t> pixels = PatternPicture(64, 64, 300, 7);
  for (int i = 0; i < 200; ++i) pixels.push_back(0x00FC0000 + 0x010101u * std::uint32_t(i % 3));
  q->AddPixels(pixels.data(), pixels.size());
  q->CutBoxes(32);
  PaletteBuffer palette{};
  q->MakePalette(&palette.header, 32);
  bool hasRed = false;
  for (int i = 0; i < palette.header.palNumEntries; ++i) hasRed |= Rgb(palette[i]) == 0xFF0000u;
  EXPECT_TRUE(hasRed);
}

TEST(PaletteQuantiser, WebSafeOnlyGivesMultiplesOf51) {
  auto q = std::make_unique<PaletteQuantiser>();
  q->Clear();
  q->webSafeOnly = true;
  const std::vector<std::uint32_t> pixels = PatternPicture(50, 50, 400, 3);
  q->AddPixels(pixels.data(), pixels.size());
  q->CutBoxes(64);
  PaletteBuffer palette{};
  EXPECT_FALSE(q->MakePalette(&palette.header, 64));
  ASSERT_GT(palette.header.palNumEntries, 8);
  for (int i = 0; i < palette.header.palNumEntries; ++i) {
    EXPECT_EQ(0, palette[i].peRed % 51);
    EXPECT_EQ(0, palette[i].peGreen % 51);
    EXPECT_EQ(0, palette[i].peBlue % 51);
  }
}

TEST(PaletteQuantiser, ManyColoursFillThePaletteWithDistinctBoxes) {
  for (int n : {2, 16, 255, 256}) {
    auto q = std::make_unique<PaletteQuantiser>();
    q->Clear();
    const std::vector<std::uint32_t> pixels = PatternPicture(200, 150, 5000, std::uint32_t(n));
    q->AddPixels(pixels.data(), pixels.size());
    q->CutBoxes(n);
    PaletteBuffer palette{};
    EXPECT_FALSE(q->MakePalette(&palette.header, n));
    EXPECT_EQ(n, palette.header.palNumEntries);
  }
}

}  // namespace
