#include "components/imgrex/ImageDecoder.h"
#include "tests/imgrex/ImageFixtures.h"

#include <gtest/gtest.h>

namespace {

using imgrex::Format;
using imgrex::ImageInfo;
using imgrex::Result;

constexpr std::uint32_t kClear = 0xFF000000u;

// Memory row r of a picture of height h holds the row h - 1 - r from the top.
std::uint32_t At(const std::vector<std::uint32_t>& pixels, int width, int height, int x, int yFromTop) {
  return pixels[std::size_t((height - 1 - yFromTop) * width + x)];
}

fixtures::GifSpec SmallGif() {
  fixtures::GifSpec desc;
  desc.screenWidth = desc.width = 5;
  desc.screenHeight = desc.height = 3;
  desc.palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  desc.indices = {0, 0, 0, 0, 1,  //
                  1, 2, 2, 2, 3,  //
                  3, 3, 3, 0, 0};
  desc.transparentIndex = 2;
  return desc;
}

TEST(ImageDecoder, FormatByContentNotByName) {
  const std::vector<std::uint8_t> gif = fixtures::MakeGif(SmallGif());
  const std::vector<std::uint8_t> png = fixtures::MakePngRgba(1, 1, {0xFF000000u}, false);
  const std::vector<std::uint8_t> jpeg = fixtures::MakeJpegSolid(8, 8, 0x808080);
  fixtures::BmpSpec bmpSpec;
  bmpSpec.width = bmpSpec.height = 1;
  bmpSpec.values = {0};
  const std::vector<std::uint8_t> bmp = fixtures::MakeBmp(bmpSpec);
  const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
  struct Case {
    const std::vector<std::uint8_t>* bytes;
    Format format;
  } cases[] = {{&gif, Format::kGif}, {&png, Format::kPng}, {&jpeg, Format::kJpeg}, {&bmp, Format::kBmp},
               {&text, Format::kUnknown}};
  for (const Case& c : cases) {
    EXPECT_EQ(imgrex::DetectFormat(c.bytes->data(), c.bytes->size()), c.format);
    ImageInfo info;
    EXPECT_EQ(imgrex::ReadInfo(c.bytes->data(), c.bytes->size(), info),
              c.format == Format::kUnknown ? Result::kUnsupported : Result::kOk);
  }
}

TEST(ImageDecoder, GifWithTransparentIndexPlainAndInterlaced) {
  for (bool interlaced : {false, true}) {
    for (bool local : {false, true}) {
      fixtures::GifSpec desc = SmallGif();
      desc.interlaced = interlaced;
      desc.localTable = local;
      const std::vector<std::uint8_t> gif = fixtures::MakeGif(desc);
      ImageInfo info;
      std::vector<std::uint32_t> pixels;
      ASSERT_EQ(imgrex::Decode(gif.data(), gif.size(), info, pixels), Result::kOk);
      ASSERT_EQ(info.width, 5);
      ASSERT_EQ(info.height, 3);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
          const int index = desc.indices[std::size_t(y * 5 + x)];
          const std::uint32_t want = desc.palette[std::size_t(index)] | (index == 2 ? kClear : 0u);
          EXPECT_EQ(At(pixels, 5, 3, x, y), want) << x << "," << y << " interlaced " << interlaced;
        }
    }
  }
}

TEST(ImageDecoder, GifFrameOnItsCanvasAndLongStreams) {
  // A frame placed inside a larger screen: the rest is clear.
  fixtures::GifSpec desc = SmallGif();
  desc.screenWidth = 8;
  desc.screenHeight = 6;
  desc.left = 2;
  desc.top = 1;
  desc.transparentIndex = -1;
  std::vector<std::uint8_t> gif = fixtures::MakeGif(desc);
  ImageInfo info;
  std::vector<std::uint32_t> pixels;
  ASSERT_EQ(imgrex::Decode(gif.data(), gif.size(), info, pixels), Result::kOk);
  ASSERT_EQ(info.width, 8);
  ASSERT_EQ(info.height, 6);
  EXPECT_EQ(At(pixels, 8, 6, 0, 0), kClear);
  EXPECT_EQ(At(pixels, 8, 6, 2, 1), 0xFF0000u);
  EXPECT_EQ(At(pixels, 8, 6, 6, 2), 0xFFFFFFu);
  EXPECT_EQ(At(pixels, 8, 6, 7, 5), kClear);

  // 256 colours over 96 x 96 pixels fill the code table several times over.
  fixtures::GifSpec big;
  big.screenWidth = big.width = 96;
  big.screenHeight = big.height = 96;
  for (int i = 0; i < 256; ++i) big.palette.push_back(std::uint32_t(i * 0x010101));
  std::uint32_t state = 7;
  for (int i = 0; i < 96 * 96; ++i) {
    state = state * 1103515245u + 12345u;
    big.indices.push_back(std::uint8_t(i % 5 == 0 ? (state >> 16) : i / 7));
  }
  gif = fixtures::MakeGif(big);
  ASSERT_EQ(imgrex::Decode(gif.data(), gif.size(), info, pixels), Result::kOk);
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x)
      ASSERT_EQ(At(pixels, 96, 96, x, y), big.palette[big.indices[std::size_t(y * 96 + x)]]) << x << "," << y;
}

TEST(ImageDecoder, BmpLayouts) {
  struct Case {
    int bitCount;
    bool topDown, bitFields;
    std::vector<std::uint32_t> palette, values, expected;
  } cases[] = {
      // 3 wide: rows padded to 4 bytes at 24 bits.
      {24, false, false, {}, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203},
       {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203}},
      {8, true, false, {0x102030, 0x405060}, {0, 1, 1, 1, 0, 0},
       {0x102030, 0x405060, 0x405060, 0x405060, 0x102030, 0x102030}},
      {4, false, false, {0, 0xFFFFFF, 0xFF0000}, {2, 1, 0, 0, 1, 2}, {0xFF0000, 0xFFFFFF, 0, 0, 0xFFFFFF, 0xFF0000}},
      {1, false, false, {0x000000, 0xFFFFFF}, {1, 0, 1, 0, 1, 0}, {0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0}},
      // 32 bits with an alpha mask: transparency is 255 - alpha.
      {32, false, true, {}, {0xFF112233, 0x80445566, 0x00778899, 0xFFAABBCC, 0xFFDDEEFF, 0xFF010203},
       {0x00112233, 0x7F445566, 0xFF778899, 0x00AABBCC, 0x00DDEEFF, 0x00010203}},
      // An alpha mask over zero alpha bytes only: opaque.
      {32, false, true, {}, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203},
       {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203}},
      // 32 bits without masks: the fourth byte is not a transparency.
      {32, false, false, {}, {0xFF112233, 0x00445566, 0x12778899, 0, 0, 0}, {0x112233, 0x445566, 0x778899, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    fixtures::BmpSpec desc;
    desc.width = 3;
    desc.height = 2;
    desc.bitCount = c.bitCount;
    desc.topDown = c.topDown;
    desc.bitFields = c.bitFields;
    desc.palette = c.palette;
    desc.values = c.values;
    const std::vector<std::uint8_t> bmp = fixtures::MakeBmp(desc);
    ImageInfo info;
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(imgrex::Decode(bmp.data(), bmp.size(), info, pixels), Result::kOk) << c.bitCount;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(At(pixels, 3, 2, x, y), c.expected[std::size_t(y * 3 + x)]) << c.bitCount << " at " << x << "," << y;
  }
}

TEST(ImageDecoder, BmpRunLengths) {
  std::vector<std::uint32_t> palette;
  for (int i = 0; i < 16; ++i) palette.push_back(std::uint32_t(i * 0x111111));
  struct Case {
    int bitCount;
    std::vector<std::uint8_t> runs;
    std::vector<std::uint32_t> expected;  // memory order: the bottom row first
  } cases[] = {
      // A run, a run, line end; a literal stretch of three (padded to two bytes), end.
      {8, {2, 1, 1, 2, 0, 0, 0, 3, 3, 4, 5, 0, 0, 1}, {0x111111, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555}},
      // Alternating indices, line end; a jump of one column, a run, end: the jumped pixel is unpainted.
      {4, {3, 0x12, 0, 0, 0, 2, 1, 0, 2, 0x34, 0, 1}, {0x111111, 0x222222, 0x111111, kClear, 0x333333, 0x444444}},
      // Runs past the right edge and below the last row paint nothing outside.
      {8, {9, 7, 0, 2, 0, 9, 5, 7}, {0x777777, 0x777777, 0x777777, kClear, kClear, kClear}},
  };
  for (const Case& c : cases) {
    fixtures::BmpSpec desc;
    desc.width = 3;
    desc.height = 2;
    desc.bitCount = c.bitCount;
    desc.palette = palette;
    desc.values.assign(6, 0);
    std::vector<std::uint8_t> bmp = fixtures::MakeBmp(desc);
    const std::size_t offset = bmp[10] | (bmp[11] << 8);
    bmp.resize(offset);
    bmp.insert(bmp.end(), c.runs.begin(), c.runs.end());
    bmp[30] = c.bitCount == 8 ? 1 : 2;
    ImageInfo info;
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(imgrex::Decode(bmp.data(), bmp.size(), info, pixels), Result::kOk) << c.bitCount;
    EXPECT_EQ(pixels, c.expected) << c.bitCount;
  }
}

TEST(ImageDecoder, PngAndJpeg) {
  const std::vector<std::uint32_t> argb = {0xFF102030u, 0x80405060u, 0x00708090u, 0xFFFFFFFFu, 0x01000000u, 0xFEABCDEFu};
  for (bool interlaced : {false, true}) {
    const std::vector<std::uint8_t> png = fixtures::MakePngRgba(3, 2, argb, interlaced);
    ImageInfo info;
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(imgrex::Decode(png.data(), png.size(), info, pixels), Result::kOk);
    for (int i = 0; i < 6; ++i) {
      const std::uint32_t want = (argb[std::size_t(i)] & 0xFFFFFF) | ((255 - (argb[std::size_t(i)] >> 24)) << 24);
      EXPECT_EQ(At(pixels, 3, 2, i % 3, i / 3), want) << i;
    }
  }
  const std::vector<std::uint8_t> palettePng =
      fixtures::MakePngPalette(2, 1, {0, 1}, {0xFF112233u, 0x40445566u});
  ImageInfo info;
  std::vector<std::uint32_t> pixels;
  ASSERT_EQ(imgrex::Decode(palettePng.data(), palettePng.size(), info, pixels), Result::kOk);
  EXPECT_EQ(pixels[0], 0x00112233u);
  EXPECT_EQ(pixels[1], 0xBF445566u);

  const std::vector<std::uint8_t> jpeg = fixtures::MakeJpegSolid(16, 9, 0x3070B0);
  ASSERT_EQ(imgrex::Decode(jpeg.data(), jpeg.size(), info, pixels), Result::kOk);
  ASSERT_EQ(info.width, 16);
  ASSERT_EQ(info.height, 9);
  for (std::uint32_t p : pixels) {
    EXPECT_EQ(p >> 24, 0u);
    EXPECT_NEAR(int((p >> 16) & 0xFF), 0x30, 3);
    EXPECT_NEAR(int(p & 0xFF), 0xB0, 3);
  }
}

TEST(ImageDecoder, ClaimedSizesBeyondTheLimitsAllocateNothing) {
  fixtures::GifSpec gifSpec = SmallGif();
  gifSpec.screenWidth = 40000;
  const std::vector<std::uint8_t> gif = fixtures::MakeGif(gifSpec);
  fixtures::BmpSpec bmpSpec;
  bmpSpec.width = bmpSpec.height = 1;
  bmpSpec.values = {0};
  std::vector<std::uint8_t> bmp = fixtures::MakeBmp(bmpSpec);
  bmp[18] = 0x30, bmp[19] = 0x75;  // 30000 wide ...
  bmp[22] = 0x30, bmp[23] = 0x75;  // ... and high: 900 million pixels
  std::vector<std::uint8_t> png = fixtures::MakePngRgba(1, 1, {0xFF000000u}, false);
  png[16] = 0x00, png[17] = 0x01, png[18] = 0x00, png[19] = 0x00;  // 65536 wide
  for (const std::vector<std::uint8_t>* bytes : std::initializer_list<const std::vector<std::uint8_t>*>{&gif, &bmp, &png}) {
    ImageInfo info;
    std::vector<std::uint32_t> pixels;
    EXPECT_EQ(imgrex::Decode(bytes->data(), bytes->size(), info, pixels), Result::kTooLarge);
    EXPECT_TRUE(pixels.empty());
  }
}

TEST(ImageDecoder, DamagedFilesFailCleanly) {
  // Every prefix of a valid file, and a file with flipped bytes, decodes or fails without
  // reading outside its bytes (the sanitizers watch).
  fixtures::BmpSpec bmpSpec;
  bmpSpec.width = 5;
  bmpSpec.height = 3;
  bmpSpec.bitCount = 8;
  bmpSpec.palette = {0, 0xFFFFFF};
  bmpSpec.values.assign(15, 1);
  const std::vector<std::vector<std::uint8_t>> files = {
      fixtures::MakeGif(SmallGif()), fixtures::MakeBmp(bmpSpec),
      fixtures::MakePngRgba(4, 4, std::vector<std::uint32_t>(16, 0x80FF0000u), true),
      fixtures::MakeJpegSolid(16, 16, 0x123456)};
  for (const auto& file : files) {
    ASSERT_FALSE(file.empty());
    for (std::size_t length = 0; length < file.size(); ++length) {
      ImageInfo info;
      std::vector<std::uint32_t> pixels;
      const Result result = imgrex::Decode(file.data(), length, info, pixels);
      if (result == Result::kOk) {
        ASSERT_EQ(pixels.size(), std::size_t(info.width) * std::size_t(info.height));
      }
    }
    std::vector<std::uint8_t> flipped = file;
    for (std::size_t i = 10; i < flipped.size(); i += 7) flipped[i] ^= 0x5A;
    ImageInfo info;
    std::vector<std::uint32_t> pixels;
    imgrex::Decode(flipped.data(), flipped.size(), info, pixels);
  }
}

}  // namespace
