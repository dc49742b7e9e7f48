#include "bitmap/SaveGif.h"
#include "tests/bitmap/GifDecoder.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct SaveFixture : ::testing::Test {
  FakeServices services;
  FakeRecord record;
  void SetUp() override {
    services.record = &record;
    record.pixelWidth = 10;
    record.pixelHeight = 10;
    record.gifPaletteSize = 64;
  }
  void States(int count, int width = 10, int height = 10) {
    std::vector<std::vector<std::uint32_t>> states;
    for (int i = 0; i < count; ++i) states.push_back(PatternPicture(width, height, 10 + i, std::uint32_t(i + 1)));
    services.SetStates(states, width, height);
    record.stateCount = count;
  }
};

TEST_F(SaveFixture, GraphicWithStatesBecomesAnAnimation) {
  States(4);
  Bitmap32 image;
  ASSERT_EQ(0, image.CreateFilled(10, 10, 0));
  TempPath file("states.gif");
  ASSERT_EQ(1, SaveGraphic(file.path.c_str(), &image));
  DecodedGif gif;
  ASSERT_EQ("", DecodeGif(ReadFileBytes(file.path), gif));
  ASSERT_EQ(4u, gif.frames.size());
  EXPECT_TRUE(gif.hasLoop);
  for (const DecodedGifFrame& f : gif.frames) EXPECT_EQ(1, f.disposal);
  EXPECT_EQ(20, gif.frames[1].delay);
  // At most GIFPaletteSize entries, the last of them the reserved one.
  const int count = int(gif.globalTable.size() / 3);
  EXPECT_LE(count, 64);
  EXPECT_EQ(count - 1 >= 0, true);
  EXPECT_EQ(4, services.animation.GetFrameCount());
  EXPECT_EQ(0, services.paintDisabled);
  // The preview's frames are the states, opaque.
  const Bitmap32* second = services.animation.GetFrame(1);
  ASSERT_TRUE(second);
  EXPECT_EQ(services.statePixels[1][0], second->Pixels()[0]);
}

TEST_F(SaveFixture, SingleImagesByExportType) {
  States(1);
  record.interlaced = 1;
  struct Case { int type; int result; const char* magic; };
  for (const Case c : {Case{kExportGif, 1, "GIF87a"}, Case{kExportPng, 1, "\x89PNG"}, Case{kExportJpeg, 1, "\xFF\xD8"},
                       Case{2, 0, nullptr}}) {
    record.exportType = c.type;
    TempPath file("single");
    EXPECT_EQ(c.result, SaveGraphic(file.path.c_str(), nullptr));
    const auto bytes = ReadFileBytes(file.path);
    if (!c.magic) {
      EXPECT_TRUE(bytes.empty());
      continue;
    }
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(0, std::memcmp(bytes.data(), c.magic, std::strlen(c.magic))) << c.type;
  }
}

TEST_F(SaveFixture, NarrowGraphicIsNotInterlaced) {
  States(1, 5, 40);
  record.pixelWidth = 5;
  record.pixelHeight = 40;
  record.interlaced = 1;
  TempPath file("narrow.gif");
  ASSERT_EQ(1, SaveGif(file.path.c_str(), nullptr));
  DecodedGif gif;
  ASSERT_EQ("", DecodeGif(ReadFileBytes(file.path), gif));
  EXPECT_FALSE(gif.frames[0].interlaced);
}

TEST_F(SaveFixture, StateOfAnotherSizeFailsAndLeavesNothing) {
  States(3);
  services.stateSizes[1] = {10, 9};
  services.statePixels[1].resize(90);
  TempPath file("mismatch.gif");
  EXPECT_EQ(0, SaveAnimatedGif(file.path.c_str(), true));
  EXPECT_FALSE(file.Exists());
  ASSERT_FALSE(services.internalErrors.empty());
  EXPECT_EQ(std::make_pair(std::string("SaveGif"), 167), services.internalErrors.back());
  EXPECT_EQ(0, services.paintDisabled);
  EXPECT_FALSE(services.waitCursor);
}

TEST_F(SaveFixture, AnimationFailures) {
  States(2);
  TempPath file("fail.gif");
  EXPECT_EQ(0, SaveAnimatedGif("no_such_folder_bw/a.gif", false));
  EXPECT_EQ(1, services.warnings);
  services.conversion.failConversions = 1;
  EXPECT_EQ(0, SaveAnimatedGif(file.path.c_str(), false));
  EXPECT_FALSE(file.Exists());
  EXPECT_EQ(285, services.internalErrors.back().second);
  services.hasAnimation = false;
  EXPECT_EQ(0, SaveAnimatedGif(file.path.c_str(), false));
  EXPECT_EQ(66, services.internalErrors.back().second);
}

}  // namespace
