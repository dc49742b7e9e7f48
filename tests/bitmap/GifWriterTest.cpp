#include "bitmap/GifImageExporter.h"
#include "tests/bitmap/GifDecoder.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Writes one image with a configured single-image writer and returns the file's bytes.
Bytes WriteGif(std::vector<std::uint32_t> pixels, int width, int height,
               const std::function<void(GifImageExporter&)>& configure, int* result = nullptr) {
  TempPath file("single.gif");
  ReferenceConversion conversion;
  GifImageExporter writer;
  writer.SetTessroContext(&conversion);
  configure(writer);
  EXPECT_EQ(0, writer.Open(file.path.c_str()));
  BITMAP image = ImageOf(pixels, width, height);
  const int written = writer.WriteImage(&image);
  if (result) *result = written;
  writer.Close();
  return ReadFileBytes(file.path);
}

// The colour a decoded pixel shows, 0 for a transparent one (as 0xRRGGBB otherwise).
std::uint32_t DecodedColour(const DecodedGif& gif, const DecodedGifFrame& f, int x, int row) {
  const int index = f.indices[std::size_t(row) * f.width + x];
  if (f.transparent && index == f.transparentIndex) return 0xFF000000u;
  const Bytes& table = f.localTable.empty() ? gif.globalTable : f.localTable;
  return (std::uint32_t(table[3 * index]) << 16) | (table[3 * index + 1] << 8) | table[3 * index + 2];
}

// Every pixel of the decoded single image equals the source (rows bottom-up in the source).
void ExpectSamePicture(const std::vector<std::uint32_t>& source, int width, int height, const DecodedGif& gif) {
  ASSERT_EQ(1u, gif.frames.size());
  const DecodedGifFrame& f = gif.frames[0];
  ASSERT_EQ(width, f.width);
  ASSERT_EQ(height, f.height);
  int mismatches = 0;
  for (int row = 0; row < height; ++row)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t s = source[std::size_t(height - 1 - row) * width + x];
      const std::uint32_t expected = (s >> 24) == 255 ? 0xFF000000u : (s & 0x00FFFFFFu);
      mismatches += DecodedColour(gif, f, x, row) != expected;
    }
  EXPECT_EQ(0, mismatches);
}

TEST(GifWriter, OnePixelAtOneBitGoldenBytes) {
  const Bytes bytes = WriteGif({0x00FF0000}, 1, 1, [](GifImageExporter& w) { w.SetBitDepth(1); });
  const Bytes expected = {'G', 'I', 'F', '8', '7', 'a', 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00,  // header
                          0xFF, 0x00, 0x00, 0x00, 0x00, 0x00,                                      // 2 entries
                          0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,              // descriptor
                          0x02, 0x02, 0x44, 0x01, 0x00,  // min code size 2: clear, 0, end
                          0x3B};
  EXPECT_EQ(expected, bytes);
}

TEST(GifWriter, TransparentTenColoursAtFourBits) {
  std::vector<std::uint32_t> pixels = PatternPicture(20, 6, 10, 4);
  for (std::size_t i = 0; i < pixels.size(); i += 5) pixels[i] = 0xFF000000u;
  const Bytes bytes = WriteGif(pixels, 20, 6, [](GifImageExporter& w) {
    w.SetBitDepth(4);
    w.SetPaletteSize(16);
    w.EnableTransparency();
  });
  ASSERT_GT(bytes.size(), 13u + 48u + 8u);
  EXPECT_EQ("GIF89a", std::string(bytes.begin(), bytes.begin() + 6));
  EXPECT_EQ(0xB3, bytes[10]);
  const Bytes control(bytes.begin() + 13 + 48, bytes.begin() + 13 + 48 + 8);
  EXPECT_EQ((Bytes{0x21, 0xF9, 0x04, 0x09, 0x00, 0x00, 0x0A, 0x00}), control);
  DecodedGif gif;
  ASSERT_EQ("", DecodeGif(bytes, gif));
  ExpectSamePicture(pixels, 20, 6, gif);
}

TEST(GifWriter, RoundTripsUpTo255Colours) {
  struct Case { int bits, colours, width, height; bool interlace; std::size_t run = 7; };
  const Case cases[] = {
      {8, 255, 128, 128, false, 1},  // noisy enough to fill the code table and clear it
      {8, 200, 31, 17, true},
      {4, 15, 33, 9, true},
      {1, 1, 5, 3, false},
      {8, 2, 8, 8, true},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint32_t> pixels =
        PatternPicture(c.width, c.height, c.colours, std::uint32_t(c.colours), c.run);
    const Bytes bytes = WriteGif(pixels, c.width, c.height, [&](GifImageExporter& w) {
      w.SetBitDepth(c.bits);
      w.interlace = c.interlace;
    });
    DecodedGif gif;
    ASSERT_EQ("", DecodeGif(bytes, gif)) << c.colours;
    EXPECT_EQ(c.interlace, gif.frames[0].interlaced);
    ExpectSamePicture(pixels, c.width, c.height, gif);
    if (c.width == 128) {
      EXPECT_GT(gif.clearCodes, 1);
    }
  }
}

TEST(GifWriter, InterlacedRowsFollowThePasses) {
  // Each picture row its own colour: a wrong pass order shows as swapped rows after decoding.
  std::vector<std::uint32_t> pixels(8 * 8);
  for (int row = 0; row < 8; ++row)
    for (int x = 0; x < 8; ++x) pixels[std::size_t(7 - row) * 8 + x] = 0x000010u * std::uint32_t(row + 1);
  const Bytes bytes = WriteGif(pixels, 8, 8, [](GifImageExporter& w) { w.interlace = true; });
  DecodedGif gif;
  ASSERT_EQ("", DecodeGif(bytes, gif));
  ExpectSamePicture(pixels, 8, 8, gif);
}

TEST(GifWriter, RefusesSizesGifCannotStore) {
  std::vector<std::uint32_t> one = {0};
  TempPath file("huge.gif");
  GifImageExporter writer;
  ReferenceConversion conversion;
  writer.SetTessroContext(&conversion);
  ASSERT_EQ(0, writer.Open(file.path.c_str()));
  BITMAP wide{0, 65536, 1, 65536 * 4, 1, 32, one.data()};
  EXPECT_EQ(ImageExporter::kUnsupportedInput, writer.WriteImage(&wide));
  BITMAP tall{0, 1, 70000, 4, 1, 32, one.data()};
  EXPECT_EQ(ImageExporter::kUnsupportedInput, writer.WriteImage(&tall));
  writer.Close();
  EXPECT_FALSE(file.Exists());
}

TEST(GifWriter, FailuresLeaveNoFileAndKeepTheOldOne) {
  TempPath file("failure.gif");
  {
    std::FILE* old = std::fopen(file.path.c_str(), "wb");
    ASSERT_TRUE(old);
    std::fputs("old", old);
    std::fclose(old);
  }
  std::vector<std::uint32_t> pixels = PatternPicture(10, 10, 5);
  ReferenceConversion conversion;
  conversion.failConversions = 1;
  GifImageExporter writer;
  writer.SetTessroContext(&conversion);
  ASSERT_EQ(0, writer.Open(file.path.c_str()));
  BITMAP image = ImageOf(pixels, 10, 10);
  EXPECT_NE(0, writer.WriteImage(&image));
  EXPECT_NE(0, writer.Close());
  EXPECT_EQ((Bytes{'o', 'l', 'd'}), ReadFileBytes(file.path));
  EXPECT_FALSE(TempPath("failure.gif.tmp").Exists());

  GifImageExporter noFolder;
  EXPECT_EQ(ImageExporter::kCannotOpen, noFolder.Open("no_such_folder_bw/x.gif"));
  GifImageExporter notOpen;
  EXPECT_EQ(ImageExporter::kFileNotOpen, notOpen.WriteImage(&image));
}

// ---------------------------------------------------------------------------------------------

struct Animation {
  std::vector<std::vector<std::uint32_t>> frames;
  int width, height;
};

Bytes WriteAnimation(Animation animation, const std::function<void(AnimatedGifImageExporter&)>& configure,
                     bool optimise = true, int paletteSize = 256) {
  TempPath file("animated.gif");
  ReferenceConversion conversion;
  AnimatedGifImageExporter writer;
  writer.SetTessroContext(&conversion);
  EXPECT_EQ(0, writer.Open(file.path.c_str()));
  writer.SetBitDepth(8);
  writer.SetPaletteSize(paletteSize);
  if (optimise) writer.SetOption(1);
  writer.SetDisposal(1);
  writer.EnableTransparency();
  configure(writer);
  EXPECT_EQ(0, writer.Prepare());
  for (auto& f : animation.frames) {
    BITMAP image = ImageOf(f, animation.width, animation.height);
    EXPECT_EQ(0, writer.AddToPalette(&image));
  }
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[255];
  } palette{};
  palette.header.palNumEntries = WORD(paletteSize);
  EXPECT_EQ(0, writer.BuildPalette(&palette.header));
  EXPECT_EQ(0, writer.WriteHeader(&palette.header));
  int delay = 10;
  for (auto& f : animation.frames) {
    BITMAP image = ImageOf(f, animation.width, animation.height);
    writer.delay = delay;
    delay += 10;
    EXPECT_EQ(0, writer.AddFrame(&image));
  }
  EXPECT_EQ(0, writer.Close());
  return ReadFileBytes(file.path);
}

TEST(AnimatedGifWriter, LoopExtension) {
  const Animation one{{PatternPicture(4, 4, 3)}, 4, 4};
  for (int loop : {0, 1, 3}) {
    DecodedGif gif;
    ASSERT_EQ("", DecodeGif(WriteAnimation(one, [&](AnimatedGifImageExporter& w) { w.loop = loop; }), gif));
    EXPECT_EQ(loop != 1, gif.hasLoop) << loop;
    if (loop != 1) {
      EXPECT_EQ(loop == 3 ? 2 : 0, gif.loopCount);
    }
  }
}

TEST(AnimatedGifWriter, UnchangedFrameIsOnePixelOfTheReservedIndex) {
  const std::vector<std::uint32_t> picture = PatternPicture(40, 20, 200, 11);
  const Bytes bytes = WriteAnimation({{picture, picture}, 40, 20}, [](AnimatedGifImageExporter&) {});
  // The finished screen descriptor: 40 x 20, global table of 8 bits, 8-bit frames.
  EXPECT_EQ((Bytes{0x28, 0x00, 0x14, 0x00, 0xF7}), Bytes(bytes.begin() + 6, bytes.begin() + 11));
  DecodedGif gif;
  ASSERT_EQ("", DecodeGif(bytes, gif));
  ASSERT_EQ(2u, gif.frames.size());
  const DecodedGifFrame& second = gif.frames[1];
  EXPECT_EQ(0, second.left);
  EXPECT_EQ(19, second.top);
  EXPECT_EQ(1, second.width);
  EXPECT_EQ(1, second.height);
  EXPECT_TRUE(second.transparent);
  EXPECT_EQ(second.transparentIndex, second.indices[0]);
  EXPECT_EQ(1, gif.frames[0].disposal);
  EXPECT_EQ(20, second.delay);
  const auto shown = ComposeGifFrames(gif);
  EXPECT_EQ(shown[0], shown[1]);
}

TEST(AnimatedGifWriter, ClearedPixelsShowNoGhosts) {
  // Frame 1: a block on the left; frame 2: a block on the right, clear elsewhere; frame 3 like 1.
  const int w = 12, h = 6;
  auto block = [&](int from, int to, std::uint32_t colour) {
    std::vector<std::uint32_t> p(std::size_t(w) * h, 0xFF000000u);
    for (int y = 0; y < h; ++y)
      for (int x = from; x < to; ++x) p[std::size_t(y) * w + x] = colour;
    return p;
  };
  const Animation animation{{block(0, 5, 0x00CC2200), block(7, 12, 0x000044CC), block(0, 5, 0x00CC2200)}, w, h};
  for (bool optimise : {true, false}) {
    DecodedGif gif;
    ASSERT_EQ("", DecodeGif(WriteAnimation(animation, [](AnimatedGifImageExporter&) {}, optimise), gif));
    const auto shown = ComposeGifFrames(gif);
    ASSERT_EQ(3u, shown.size());
    for (std::size_t f = 0; f < 3; ++f) {
      int wrong = 0;
      for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
          const std::uint32_t s = animation.frames[f][std::size_t(h - 1 - row) * w + x];
          const std::uint32_t expected = (s >> 24) == 255 ? 0 : (0xFF000000u | s);
          wrong += shown[f][std::size_t(row) * w + x] != expected;
        }
      EXPECT_EQ(0, wrong) << "frame " << f << (optimise ? " optimised" : "");
    }
  }
}

TEST(AnimatedGifWriter, FramesOfAnotherSizeAreRefused) {
  TempPath file("sizes.gif");
  ReferenceConversion conversion;
  AnimatedGifImageExporter writer;
  writer.SetTessroContext(&conversion);
  ASSERT_EQ(0, writer.Open(file.path.c_str()));
  ASSERT_EQ(0, writer.WriteHeader(nullptr));
  std::vector<std::uint32_t> a = PatternPicture(4, 4, 3), b = PatternPicture(5, 4, 3);
  BITMAP first = ImageOf(a, 4, 4), second = ImageOf(b, 5, 4);
  EXPECT_EQ(0, writer.AddFrame(&first));
  EXPECT_EQ(ImageExporter::kUnsupportedInput, writer.AddFrame(&second));
  EXPECT_EQ(ImageExporter::kOutOfRange, writer.SetDisposal(4));
  writer.Abort();
  EXPECT_FALSE(file.Exists());
}

}  // namespace
