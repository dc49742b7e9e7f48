#include "bitmap/Bitmap32.h"
#include "bitmap/bitmapmanip.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct BlendCase {
  std::uint32_t source, destination;
  bool invert;
  int alphaMode;
  std::uint32_t expected;
};

TEST(BitmapManip, BlendOnePixel) {
  const BlendCase table[] = {
      {0x00112233, 0x40AABBCC, false, -1, 0x00112233},  // an opaque source copies exactly
      {0xFF112233, 0x40AABBCC, false, -1, 0x40AABBCC},
      {0x00112233, 0x40AABBCC, true, -1, 0x40AABBCC},   // with invert the top byte is an opacity
      {0xFF112233, 0x40AABBCC, true, -1, 0xFF112233},
      // (128 d + 128 s) >> 8 per channel; the smaller transparency (0) wins.
      {0x80102030, 0x00305070, false, -1, 0x00203850},
      {0x80102030, 0x00305070, false, kAlphaModeMultiply, 0x00203850},
      {0x80102030, 0xFF305070, false, kAlphaModeMultiply, 0x80203850},
      {0x80102030, 0xFF305070, false, -1, 0x80203850},
  };
  for (const BlendCase& c : table) {
    std::uint32_t d = c.destination;
    BlitARGB(&c.source, 0, 0, 1, 1, &d, 0, 0, 1, 1, true, c.invert, c.alphaMode);
    EXPECT_EQ(c.expected, d) << std::hex << c.source << " over " << c.destination;
  }
}

TEST(BitmapManip, BlitClipsAtNegativeDestinationAndStopsOutsideSource) {
  std::vector<std::uint32_t> source(10 * 2);
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = std::uint32_t(i);
  std::vector<std::uint32_t> dest(4 * 2, 0xDEAD);
  BlitARGB(source.data(), 0, 0, 10, 2, dest.data(), -5, 0, 4, 2, false, false, -1);
  EXPECT_EQ((std::vector<std::uint32_t>{5, 6, 7, 8, 15, 16, 17, 18}), dest);
  std::vector<std::uint32_t> untouched(8, 0xDEAD);
  BlitARGB(source.data(), 10, 0, 10, 2, untouched.data(), 0, 0, 4, 2, false, false, -1);
  EXPECT_EQ(std::vector<std::uint32_t>(8, 0xDEAD), untouched);
}

TEST(BitmapManip, StretchBlitScalesAndRefusesNegativeSourceLeft) {
  const std::uint32_t source[4] = {1, 2, 3, 4};  // 2 x 2
  std::vector<std::uint32_t> dest(16, 0);
  RECT s{0, 0, 2, 2}, d{0, 0, 4, 4};
  StretchBlitARGB(source, 2, 2, s, dest.data(), 4, 4, d, false, false);
  EXPECT_EQ((std::vector<std::uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}), dest);
  EXPECT_EQ(0, s.left);
  EXPECT_EQ(4, d.right);

  std::vector<std::uint32_t> guard(16, 7);
  RECT negative{-1, 0, 2, 2};
  StretchBlitARGB(source, 2, 2, negative, guard.data(), 4, 4, d, false, false);
  EXPECT_EQ(std::vector<std::uint32_t>(16, 7), guard);
  EXPECT_EQ(-1, negative.left);
}

TEST(BitmapManip, AlphaBoundsOfASinglePixel) {
  std::vector<std::uint32_t> pixels(9, 0xFF000000u);
  pixels[0] = 0;
  const RECT exclusive = FindAlphaBounds(pixels.data(), 3, 3, 128, false);
  EXPECT_EQ((std::vector<LONG>{0, 0, 1, 1}),
            (std::vector<LONG>{exclusive.left, exclusive.top, exclusive.right, exclusive.bottom}));
  RECT inclusive{9, 9, 9, 9};
  FindAlphaBoundsInclusive(pixels.data(), 3, 3, inclusive, 128, false);
  EXPECT_EQ((std::vector<LONG>{0, 0, 0, 0}),
            (std::vector<LONG>{inclusive.left, inclusive.top, inclusive.right, inclusive.bottom}));
  pixels[8] = 0;  // column 2, row 2
  const RECT two = FindAlphaBounds(pixels.data(), 3, 3, 255, false);
  EXPECT_EQ(3, two.right);
  EXPECT_EQ(3, two.bottom);
}

TEST(BitmapManip, FitSizeWithin) {
  struct Case { int limitA, limitB; bool keep; int a, b, expectedA, expectedB; };
  const Case cases[] = {
      {65, 65, true, 100, 50, 65, 32},
      {65, 65, true, 50, 100, 32, 65},
      {65, 65, true, 40, 30, 40, 30},  // already fits: never enlarged
      {65, 20, false, 100, 50, 65, 20},
  };
  for (const Case& c : cases) {
    int a = c.a, b = c.b;
    EXPECT_EQ(c.expectedA, FitSizeWithin(c.limitA, c.limitB, c.keep, a, b));
    EXPECT_EQ(c.expectedB, b);
  }
}

TEST(BitmapManip, ResampleNearestShrinksAndRefusesToEnlarge) {
  auto* bitmap = new Bitmap32;
  std::vector<std::uint32_t> words(16 + kBitmap32SpareWords);
  for (int i = 0; i < 16; ++i) words[std::size_t(i)] = std::uint32_t(i);
  ASSERT_EQ(0, bitmap->CreateFromPixels(4, 4, words.data()));
  Bitmap32* original = bitmap;
  EXPECT_EQ(0, ResampleNearest(bitmap, 5, 4));
  EXPECT_EQ(original, bitmap);
  ASSERT_EQ(1, ResampleNearest(bitmap, 3, 2));
  // Column i takes ceil(i * 4 / 3): 0, 2, 3; row j takes ceil(j * 4 / 2): 0, 2.
  EXPECT_EQ((std::vector<std::uint32_t>{0, 2, 3, 8, 10, 11}), std::vector<std::uint32_t>(bitmap->Pixels(), bitmap->Pixels() + 6));
  delete bitmap;
}

TEST(BitmapManip, ShrinkAreaAverage) {
  Bitmap32 source;
  std::vector<std::uint32_t> words(9 + kBitmap32SpareWords, 0);
  for (int i = 0; i < 9; ++i) words[std::size_t(i)] = 0x01010101u * std::uint32_t(i * 20);
  ASSERT_EQ(0, source.CreateFromPixels(3, 3, words.data()));
  std::unique_ptr<Bitmap32> same(ShrinkBitmapAreaAverage(&source, 1.0));
  ASSERT_TRUE(same);
  EXPECT_EQ(std::vector<std::uint32_t>(words.begin(), words.begin() + 9),
            std::vector<std::uint32_t>(same->Pixels(), same->Pixels() + 9));
  std::unique_ptr<Bitmap32> half(ShrinkBitmapAreaAverage(&source, 0.5));
  ASSERT_TRUE(half);
  EXPECT_EQ(2, half->Width());
  EXPECT_EQ(2, half->Height());
  // A uniform picture at factors whose steps do not divide the size stays uniform (and, under
  // the address sanitizer, reads nothing past the last row or column).
  // 7 x 0.9: the last output pixel's area ends at 7.000000000000001, past the last row.
  const std::pair<int, double> sizes[] = {{7, 0.9}, {14, 0.45}, {20, 0.6}, {10, 0.3}};
  for (const auto& [side, factor] : sizes) {
    Bitmap32 uniform;
    ASSERT_EQ(0, uniform.CreateFilled(side, side, 0x10203040u));
    std::unique_ptr<Bitmap32> small(ShrinkBitmapAreaAverage(&uniform, factor));
    ASSERT_TRUE(small);
    for (int i = 0; i < small->Width() * small->Height(); ++i) EXPECT_EQ(0x10203040u, small->Pixels()[i]) << factor;
  }
  FakeServices services;
  EXPECT_EQ(nullptr, ShrinkBitmapAreaAverage(&source, 1.5));
  ASSERT_EQ(1u, services.internalErrors.size());
  EXPECT_EQ(1874, services.internalErrors[0].second);
}

TEST(BitmapManip, FillThresholdAndTransparency) {
  std::vector<std::uint32_t> pixels = {0x00112233, 0x80112233, 0xFE112233, 0xFF112233};
  ThresholdTransparency(pixels.data(), 4, 1, 128);
  EXPECT_EQ((std::vector<std::uint32_t>{0x00112233, 0x00112233, 0xFF112233, 0xFF112233}), pixels);
  ASSERT_EQ(1, FillARGB(pixels.data(), 4, 1, 0x00332211, true, false, false, false));
  EXPECT_EQ(0x00112233u, pixels[0]);
  EXPECT_EQ(0xFF112233u, pixels[3]);
  ASSERT_EQ(1, FillARGB(pixels.data(), 4, 1, 0x00665544, true, true, true, true));
  EXPECT_EQ(0x00445566u, pixels[2]);
  FakeServices services;
  EXPECT_EQ(0, FillARGB(nullptr, 4, 1, 0, true, true, true, true));
  EXPECT_EQ(0, FillARGB(pixels.data(), 0, 1, 0, true, true, true, true));
  EXPECT_EQ(0, FillARGB(pixels.data(), 4, 0, 0, true, true, true, true));
  ASSERT_EQ(3u, services.internalErrors.size());
  EXPECT_EQ(1162, services.internalErrors[0].second);
  EXPECT_EQ(1164, services.internalErrors[2].second);
}

TEST(BitmapManip, CheckerboardTilingAndContone) {
  Bitmap32 board;
  ASSERT_EQ(1, CreateCheckerboard(16, 0x00C5C5C5, 0x00FFFFFF, board));
  EXPECT_EQ(32, board.Width());
  EXPECT_EQ(0x00C5C5C5u, board.Pixels()[0]);
  EXPECT_EQ(0x00FFFFFFu, board.Pixels()[16]);
  EXPECT_EQ(0x00FFFFFFu, board.Pixels()[16 * 32]);

  // The tile grid is anchored at the top of the picture: the first memory rows take the tile's
  // last rows, and every pixel becomes clear.
  Bitmap32 tile;
  const std::uint32_t tileWords[2 + kBitmap32SpareWords] = {1, 2};  // 1 x 2
  ASSERT_EQ(0, tile.CreateFromPixels(1, 2, tileWords));
  Bitmap32 target;
  ASSERT_EQ(0, target.Create(2, 3));
  target.TileFrom(tile);
  EXPECT_EQ((std::vector<std::uint32_t>{0xFF000002, 0xFF000002, 0xFF000001, 0xFF000001, 0xFF000002, 0xFF000002}),
            std::vector<std::uint32_t>(target.Pixels(), target.Pixels() + 6));

  CContoneBitmap32 contone;
  ASSERT_EQ(0, contone.CreateFilled(1, 1, 0));
  Bitmap32 white;
  ASSERT_EQ(0, white.CreateFilled(1, 1, 0x00FFFFFF));
  ASSERT_EQ(1, contone.ContoneFrom(&white, 0x00FFFFFF, 0x00000000));
  EXPECT_EQ(0x00FEFEFEu, contone.Pixels()[0]);  // (255 x 765) / 768
  Bitmap32 other;
  ASSERT_EQ(0, other.CreateFilled(2, 1, 0));
  EXPECT_EQ(0, contone.ContoneFrom(&other, 0, 0));
  EXPECT_EQ(0, contone.ContoneFrom(nullptr, 0, 0));
}

TEST(BitmapManip, RecolourBitmap) {
  auto* graded = new Bitmap32;
  ASSERT_EQ(0, graded->CreateFilled(1, 1, 0xFF123456));
  Bitmap32* flat = RecolourBitmap32(graded, 0x00FF0000, true);  // blue, as a colour reference
  ASSERT_TRUE(flat);
  EXPECT_EQ(0x000000FFu, flat->Pixels()[0]);
  delete flat;
  auto* binary = new Bitmap32;
  ASSERT_EQ(0, binary->CreateFilled(2, 1, 0x00123456));
  binary->Pixels()[1] = 0x01123456;
  EXPECT_EQ(binary, RecolourBitmap32(binary, 0x000000FF, false));
  EXPECT_EQ(0x00123456u, binary->Pixels()[0]);
  EXPECT_EQ(0x00FF0000u, binary->Pixels()[1]);
  delete binary;
}

}  // namespace
