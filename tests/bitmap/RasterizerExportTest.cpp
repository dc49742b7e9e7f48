// Export through the real rasterizer: what the writers write must survive its conversions.
#include "bitmap/ExportBitmap.h"
#include "bitmap/GifImageExporter.h"
#include "bitmap/PngImageExporter.h"
#include "bitmap/TessroContextConversion.h"
#include "raster/Tessro.h"
#include "tests/bitmap/GifDecoder.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(RasterizerExport, GifRoundTripIsPixelIdentical) {
  CTessro tessro(CTessro::kAppStackAllowance);
  TessroContextConversion conversion(tessro.GetContext());
  struct Case { int bits, colours, dither; bool transparent; };
  for (const Case c : {Case{8, 255, 0, false}, Case{8, 100, 2, true}, Case{4, 15, 0, false}, Case{4, 12, 2, true},
                       Case{1, 1, 2, true}, Case{1, 2, 0, false}}) {
    const int width = 37, height = 23;
    std::vector<std::uint32_t> pixels = PatternPicture(width, height, c.colours, std::uint32_t(c.colours + c.bits));
    if (c.transparent)
      for (std::size_t i = 3; i < pixels.size(); i += 11) pixels[i] |= 0xFF000000u;
    TempPath file("raster.gif");
    GifImageExporter writer;
    writer.SetTessroContext(&conversion);
    writer.SetBitDepth(c.bits);
    writer.SetDitherMode(c.dither);
    if (c.transparent) writer.EnableTransparency();
    ASSERT_EQ(0, writer.Open(file.path.c_str()));
    BITMAP image = ImageOf(pixels, width, height);
    ASSERT_EQ(0, writer.WriteImage(&image)) << c.bits << "/" << c.colours;
    ASSERT_EQ(0, writer.Close());
    DecodedGif gif;
    ASSERT_EQ("", DecodeGif(ReadFileBytes(file.path), gif));
    const DecodedGifFrame& f = gif.frames[0];
    int wrong = 0;
    for (int row = 0; row < height; ++row)
      for (int x = 0; x < width; ++x) {
        const std::uint32_t s = pixels[std::size_t(height - 1 - row) * width + x];
        const int index = f.indices[std::size_t(row) * width + x];
        if ((s >> 24) == 255) {
          wrong += !(f.transparent && index == f.transparentIndex);
          continue;
        }
        const std::uint32_t got = (std::uint32_t(gif.globalTable[3 * index]) << 16) |
                                  (gif.globalTable[3 * index + 1] << 8) | gif.globalTable[3 * index + 2];
        wrong += got != (s & 0x00FFFFFFu) || (f.transparent && index == f.transparentIndex);
      }
    EXPECT_EQ(0, wrong) << c.bits << " bits, " << c.colours << " colours";
  }
}

TEST(RasterizerExport, ClearPixelsOfAnOpaqueExportGetAPaletteColour) {
  // The exact palette leaves out clear pixels; converted without a reserved entry they must
  // still get an index inside the palette (libpng refuses any other).
  CTessro tessro(CTessro::kAppStackAllowance);
  TessroContextConversion conversion(tessro.GetContext());
  std::vector<std::uint32_t> pixels = PatternPicture(20, 10, 6, 3);
  for (std::size_t i = 0; i < pixels.size(); i += 4) pixels[i] = 0xFF7F7F7Fu;
  TempPath file("clear.png");
  PngImageExporter writer;
  writer.SetTessroContext(&conversion);
  ASSERT_EQ(0, writer.SetBitDepth(8));
  ASSERT_EQ(0, writer.Open(file.path.c_str()));
  BITMAP image = ImageOf(pixels, 20, 10);
  EXPECT_EQ(0, writer.WriteImage(&image));
  EXPECT_EQ(0, writer.Close());
  EXPECT_TRUE(file.Exists());
}

TEST(RasterizerExport, CompositionUnpremultipliesThroughTheRasterizer) {
  CTessro tessro(CTessro::kAppStackAllowance);
  TessroContextConversion conversion(tessro.GetContext());
  std::vector<std::uint32_t> graphic = {0x00102030, 0x80C86432, 0xFF000000};
  std::vector<std::uint32_t> output(3, 0);
  CExportBitmap compose;
  compose.SetTessroContext(&conversion);
  compose.SetGraphic(3, 1, graphic.data());
  compose.SetOutput(3, 1, output.data());
  compose.SetFormat(kFormatPng, 32);
  compose.SetTransparent(1);
  ASSERT_EQ(0, compose.Compose());
  EXPECT_EQ((std::vector<std::uint32_t>{0xFF102030, 0x7FC96432, 0x00000000}), output);
}

}  // namespace
