#include "bitmap/MMXResampler.h"
#include "bitmap/bitmapmanip.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

Bitmap32* MakeBitmap(int width, int height, std::uint32_t value) {
  auto* bitmap = new Bitmap32;
  bitmap->CreateFilled(width, height, value);
  return bitmap;
}

std::uint32_t Top(std::uint32_t pixel) { return pixel >> 24; }

TEST(Resampler, UniformPicturesStayUniformAtEveryScale) {
  // Weights of every phase add up to one (within rounding) and edge taps repeat the edge, so a
  // flat picture keeps its value in all four bytes, sharpened or not.
  struct Case {
    double factor;
    int width, height;
  } cases[] = {{1.0, 9, 7}, {0.5, 10, 7}, {0.3, 40, 30}, {0.05, 200, 100}, {2.5, 6, 5}, {7.0, 3, 2}};
  for (const Case& c : cases) {
    Bitmap32* bitmap = MakeBitmap(c.width, c.height, 0x80C04020u);
    ASSERT_EQ(ResampleMMX(c.factor, bitmap), 1) << c.factor;
    std::unique_ptr<Bitmap32> owner(bitmap);
    for (int i = 0; i < bitmap->Width() * bitmap->Height(); ++i) {
      const std::uint32_t p = bitmap->Pixels()[i];
      for (int shift = 0; shift < 32; shift += 8) {
        const int got = int((p >> shift) & 0xFF), want = int((0x80C04020u >> shift) & 0xFF);
        ASSERT_NEAR(got, want, 1) << "factor " << c.factor << " pixel " << i << " byte " << shift / 8;
      }
    }
  }
}

TEST(Resampler, OutputSizesAndLimits) {
  struct Case {
    double factor;
    int width, height;
    int result, outWidth, outHeight;
  } cases[] = {
      {0.5, 10, 7, 1, 5, 4},         // 3.5 rounds to even
      {20, 10, 10, 1, 100, 100},     // limited to 1000 %
      {0.001, 1000, 1000, 0, 1000, 1000},  // 0.4 % needs 1000 taps: refused, picture untouched
      {0.01, 50, 50, 0, 50, 50},     // half a pixel rounds to none: refused
      {3000, 2000, 10, 0, 2000, 10},  // 20000 wide is above the side limit
  };
  for (const Case& c : cases) {
    Bitmap32* bitmap = MakeBitmap(c.width, c.height, 0);
    Bitmap32* before = bitmap;
    EXPECT_EQ(ResampleMMX(c.factor, bitmap), c.result) << c.factor;
    std::unique_ptr<Bitmap32> owner(bitmap);
    EXPECT_EQ(bitmap->Width(), c.outWidth) << c.factor;
    EXPECT_EQ(bitmap->Height(), c.outHeight) << c.factor;
    if (!c.result) {
      EXPECT_EQ(bitmap, before);
    }
  }
}

TEST(Resampler, EdgesAreFilteredNotCopied) {
  // An opaque pixel beside a clear one: enlarged, the edge gets partial transparency.
  std::unique_ptr<Bitmap32> holder(new Bitmap32);
  const std::uint32_t pixels[] = {0x00FFFFFFu, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0, 0};
  holder->CreateFromPixels(2, 1, pixels);
  Bitmap32* bitmap = holder.release();
  ASSERT_EQ(ResampleMMX(4.0, bitmap), 1);
  std::unique_ptr<Bitmap32> owner(bitmap);
  ASSERT_EQ(bitmap->Width(), 8);
  bool partial = false;
  for (int x = 0; x < 8; ++x) partial |= Top(bitmap->Pixels()[x]) > 0 && Top(bitmap->Pixels()[x]) < 255;
  EXPECT_TRUE(partial);
  EXPECT_EQ(Top(bitmap->Pixels()[0]), 0u);
  EXPECT_EQ(Top(bitmap->Pixels()[7]), 255u);

  // At factor 1 a step edge is sharpened: the dark side next to the edge gets darker.
  std::vector<std::uint32_t> step(16 * 1 + 7, 0x00202020u);
  for (int x = 8; x < 16; ++x) step[std::size_t(x)] = 0x00C0C0C0u;
  auto* stepBitmap = new Bitmap32;
  stepBitmap->CreateFromPixels(16, 1, step.data());
  ASSERT_EQ(ResampleMMX(1.0, stepBitmap), 1);
  std::unique_ptr<Bitmap32> stepOwner(stepBitmap);
  EXPECT_LT(stepBitmap->Pixels()[7] & 0xFF, 0x20u);
  EXPECT_GT(stepBitmap->Pixels()[8] & 0xFF, 0xC0u);
  EXPECT_EQ(stepBitmap->Pixels()[0], 0x00202020u);
}

TEST(Resampler, RowsKeepTheirMemoryOrder) {
  // Bottom half black, top half white (memory rows): halved, the order stays.
  auto* bitmap = new Bitmap32;
  bitmap->Create(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) bitmap->Pixels()[y * 8 + x] = y < 4 ? 0x00000000u : 0x00FFFFFFu;
  ASSERT_EQ(ResampleMMX(0.5, bitmap), 1);
  std::unique_ptr<Bitmap32> owner(bitmap);
  EXPECT_LT(bitmap->Pixels()[0] & 0xFF, 0x40u);
  EXPECT_GT(bitmap->Pixels()[3 * 4] & 0xFF, 0xC0u);
}

TEST(ScaleBitmap32, FitsKeepingTheShape) {
  struct Case {
    int width, height, maxWidth, maxHeight;
    bool keep;
    int result, outWidth, outHeight;
  } cases[] = {
      {100, 50, 65, 65, true, 1, 65, 32},
      {1000, 10, 65, 65, true, 1, 65, 1},      // the short side keeps one pixel
      {10, 5000, 65, 65, true, 1, 1, 65},      // two passes below a factor of 0.02
      {40, 20, 65, 65, true, 1, 40, 20},       // already fits: never enlarged
      {100, 50, 30, 20, false, 1, 30, 20},     // without the shape: nearest pixel
      {10, 10, 30, 20, false, 0, 10, 10},      // which cannot enlarge
      {10, 10, 0, 20, true, 0, 10, 10},
  };
  for (const Case& c : cases) {
    Bitmap32* bitmap = MakeBitmap(c.width, c.height, 0x00336699u);
    EXPECT_EQ(ScaleBitmap32(bitmap, c.maxHeight, c.maxWidth, c.keep), c.result) << c.width << "x" << c.height;
    std::unique_ptr<Bitmap32> owner(bitmap);
    EXPECT_EQ(bitmap->Width(), c.outWidth) << c.width << "x" << c.height;
    EXPECT_EQ(bitmap->Height(), c.outHeight) << c.width << "x" << c.height;
    if (c.result) {
      EXPECT_NEAR(int(bitmap->Pixels()[0] & 0xFF), 0x99, 1);
    }
  }
}

TEST(ScaleBitmap32ToThumbnail, CentredInTheFrame) {
  Bitmap32* bitmap = MakeBitmap(200, 100, 0);
  RECT rect{};
  double factor = 0;
  ASSERT_EQ(ScaleBitmap32ToThumbnail(bitmap, 65, 65, rect, factor), 1);
  std::unique_ptr<Bitmap32> owner(bitmap);
  EXPECT_EQ(bitmap->Width(), 65);
  EXPECT_EQ(bitmap->Height(), 32);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 16);
  EXPECT_EQ(rect.right, 65);
  EXPECT_EQ(rect.bottom, 48);
  EXPECT_DOUBLE_EQ(factor, 65.0 / 200.0);
  Bitmap32* none = nullptr;
  EXPECT_EQ(ScaleBitmap32ToThumbnail(none, 65, 65, rect, factor), 0);
}

TEST(CMMXResampler, CropAndFitWidth) {
  std::vector<std::uint32_t> pixels(20 * 10 + 7, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 10; x < 20; ++x) pixels[std::size_t(y * 20 + x)] = 0x00FFFFFFu;
  CMMXResampler resampler;
  resampler.sourceWidth = 20;
  resampler.sourceHeight = 10;
  resampler.sourcePixels = pixels.data();
  resampler.filterKind = 1;
  resampler.sharpening = 1.0f;
  resampler.SetRect(20, 10, 10, 0);  // corners in any order: the white right half
  resampler.fitWidth = 1;
  resampler.fitTarget = 5;
  ASSERT_EQ(resampler.Resample(), 1);
  EXPECT_EQ(resampler.outputWidth, 5);
  EXPECT_EQ(resampler.outputHeight, 5);
  std::vector<std::uint32_t> out(25);
  resampler.CopyOutputRows(out.data());
  for (std::uint32_t p : out) EXPECT_EQ(p, 0x00FFFFFFu);  // nothing of the black half leaks in
}

}  // namespace
