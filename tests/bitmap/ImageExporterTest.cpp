#include "bitmap/GifImageExporter.h"
#include "bitmap/ImageExporter.h"
#include "bitmap/TessroConversion.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct PaletteBuffer {
  LOGPALETTE header;
  PALETTEENTRY more[255];
  PALETTEENTRY& operator[](int i) { return (&header.palPalEntry[0])[i]; }
};

std::uint32_t Rgb(const PALETTEENTRY& e) { return (std::uint32_t(e.peRed) << 16) | (e.peGreen << 8) | e.peBlue; }

struct Settings {
  int bits;
  int dither;
  bool standard;
  bool transparent;
  int paletteSize;
};

// Builds a palette for a picture with the given settings; returns the writer's result.
int Build(GifImageExporter& writer, const Settings& s, std::vector<std::uint32_t> pixels, PaletteBuffer& palette,
          int capacity = -1) {
  writer.SetBitDepth(s.bits);
  writer.SetDitherMode(s.dither);
  writer.SetStandardColours(s.standard);
  writer.SetPaletteSize(s.paletteSize);
  if (s.transparent) writer.EnableTransparency();
  palette.header.palNumEntries = WORD(capacity < 0 ? 1 << s.bits : capacity);
  const int side = 1;
  BITMAP image = ImageOf(pixels, int(pixels.size()) / side, side);
  return writer.PreparePalette(&image, &palette.header);
}

TEST(ImageExporterPalette, CapacityAboveTheDepthIsRefused) {
  GifImageExporter writer;
  PaletteBuffer palette{};
  EXPECT_EQ(ImageExporter::kUnsupportedInput, Build(writer, {4, 0, false, false, 16}, {0x0}, palette, 256));
}

TEST(ImageExporterPalette, FixedPalettes) {
  const std::vector<std::uint32_t> picture = PatternPicture(40, 1, 30);
  {
    // 4 bits ordered: the 16 standard colours and no reserved entry, even with transparency.
    GifImageExporter writer;
    PaletteBuffer palette{};
    ASSERT_EQ(0, Build(writer, {4, 1, false, true, 16}, picture, palette));
    EXPECT_FALSE(writer.HasQuantiser());
    ASSERT_EQ(16, palette.header.palNumEntries);
    EXPECT_EQ(0x800000u, Rgb(palette[1]));
    EXPECT_EQ(0xC0C0C0u, Rgb(palette[8]));
    EXPECT_EQ(0xFFFFFFu, Rgb(palette[15]));
    EXPECT_EQ(-1, writer.ReservedIndex());
  }
  {
    // 8 bits ordered with the standard colours and transparency: 225 colours, reserved 224.
    GifImageExporter writer;
    PaletteBuffer palette{};
    ASSERT_EQ(0, Build(writer, {8, 1, true, true, 256}, picture, palette));
    ASSERT_EQ(225, palette.header.palNumEntries);
    EXPECT_EQ(224, writer.ReservedIndex());
    EXPECT_EQ(0x000033u, Rgb(palette[1]));  // blue varies fastest
    EXPECT_EQ(0x330000u, Rgb(palette[36]));
    EXPECT_EQ(0x800000u, Rgb(palette[216]));
    EXPECT_EQ(255, palette[224].peFlags);
    EXPECT_EQ(255, palette[255].peFlags);  // entries past the count hold the filler
  }
}

TEST(ImageExporterPalette, OneBitTransparentKeepsTheReservedEntryAtIndexOne) {
  std::vector<std::uint32_t> picture = {0x00336699, 0xFF000000, 0x00336699, 0xFF000000};
  GifImageExporter writer;
  PaletteBuffer palette{};
  ASSERT_EQ(0, Build(writer, {1, 0, false, true, 256}, picture, palette));
  EXPECT_EQ(2, palette.header.palNumEntries);
  EXPECT_EQ(0x336699u, Rgb(palette[0]));
  EXPECT_EQ(1, writer.ReservedIndex());

  // A fully clear picture still has its reserved entry at 1 and a count that covers it.
  GifImageExporter clearWriter;
  PaletteBuffer clearPalette{};
  ASSERT_EQ(0, Build(clearWriter, {1, 0, false, true, 256}, {0xFF000000, 0xFF000000}, clearPalette));
  EXPECT_EQ(1, clearWriter.ReservedIndex());
  EXPECT_EQ(2, clearPalette.header.palNumEntries);
}

TEST(ImageExporterPalette, ExactColoursSetTheFlagAndChooseExactConversion) {
  struct Case { int bits; int mode; };
  for (const Case c : {Case{4, kConvertExact}, Case{8, kConvertExact}, Case{1, kConvertNearest}}) {
    const int colours = c.bits == 1 ? 1 : 10;
    std::vector<std::uint32_t> picture = PatternPicture(64, 1, colours, 5);
    ReferenceConversion conversion;
    GifImageExporter writer;
    writer.SetTessroContext(&conversion);
    PaletteBuffer palette{};
    ASSERT_EQ(0, Build(writer, {c.bits, 2, false, false, c.bits == 1 ? 2 : 16}, picture, palette));
    EXPECT_EQ(0x301, palette.header.palVersion) << c.bits;
    BITMAP source = ImageOf(picture, 64, 1), out{};
    ASSERT_EQ(0, writer.AllocateImage(&source, &out, c.bits));
    ASSERT_EQ(0, writer.ConvertImage(&source, &out, &palette.header));
    ImageExporter::FreeImage(&out);
    EXPECT_EQ(c.mode, conversion.modes.back()) << c.bits;
  }
}

TEST(ImageExporterPalette, GreyPaletteConvertsWithGreyMapping) {
  std::vector<std::uint32_t> picture(300);
  for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = 0x010101u * std::uint32_t(i % 256);
  for (int dither : {0, 2}) {
    ReferenceConversion conversion;
    GifImageExporter writer;
    writer.SetTessroContext(&conversion);
    PaletteBuffer palette{};
    ASSERT_EQ(0, Build(writer, {8, dither, false, false, 64}, picture, palette));
    EXPECT_EQ(0x300, palette.header.palVersion);
    BITMAP source = ImageOf(picture, 300, 1), out{};
    ASSERT_EQ(0, writer.AllocateImage(&source, &out, 8));
    ASSERT_EQ(0, writer.ConvertImage(&source, &out, &palette.header));
    ImageExporter::FreeImage(&out);
    EXPECT_EQ(dither == 0 ? kConvertGrey : kConvertGreyDithered, conversion.modes.back());
    EXPECT_EQ(0, conversion.setPaletteCalls);
  }
}

TEST(ImageExporterPalette, SettingsChangedAfterPrepare) {
  GifImageExporter writer;
  std::vector<std::uint32_t> picture = {0x0};
  BITMAP image = ImageOf(picture, 1, 1);
  ASSERT_EQ(0, writer.Prepare());
  writer.SetDitherMode(2);
  EXPECT_EQ(ImageExporter::kSettingsChanged, writer.AddToPalette(&image));
  PaletteBuffer palette{};
  palette.header.palNumEntries = 256;
  EXPECT_EQ(ImageExporter::kSettingsChanged, writer.BuildPalette(&palette.header));
}

TEST(ImageExporterPalette, SettersRefuseOutOfRangeValues) {
  GifImageExporter writer;
  EXPECT_EQ(ImageExporter::kOutOfRange, writer.SetDitherMode(3));
  EXPECT_EQ(ImageExporter::kOutOfRange, writer.SetPaletteSize(0));
  EXPECT_EQ(ImageExporter::kOutOfRange, writer.SetPaletteSize(257));
  EXPECT_EQ(ImageExporter::kOutOfRange, writer.SetBitDepth(2));
  EXPECT_EQ(ImageExporter::kNotSupported, writer.SetOption(1));
  for (int i = 0; i < 256; ++i) ASSERT_EQ(0, writer.AddFixedColour(PALETTEENTRY{BYTE(i), 0, 0, 0}));
  EXPECT_EQ(ImageExporter::kTooManyFixedColours, writer.AddFixedColour(PALETTEENTRY{}));
}

TEST(ImageExporterPalette, FixedColourIsInTheOptimisedPalette) {
  std::vector<std::uint32_t> picture = PatternPicture(100, 1, 200, 9);
  GifImageExporter writer;
  writer.AddFixedColour(PALETTEENTRY{0x12, 0x34, 0x56, 0});
  PaletteBuffer palette{};
  ASSERT_EQ(0, Build(writer, {8, 0, false, false, 32}, picture, palette));
  bool found = false;
  for (int i = 0; i < palette.header.palNumEntries; ++i) found |= Rgb(palette[i]) == 0x123456u;
  EXPECT_TRUE(found);
}

}  // namespace
