#include "bitmap/ExportBitmap.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Composition {
  std::vector<std::uint32_t> graphic = {0x00102030, 0x80C86432, 0xFF000000, 0x00405060};  // 2 x 2
  std::vector<std::uint32_t> output = std::vector<std::uint32_t>(4, 0x12345678);
};

TEST(ExportComposition, TransparentGifMatsEdgesAndThresholds) {
  FakeServices services;
  Composition c;
  CExportBitmap compose;
  ASSERT_EQ(0, compose.SetGraphic(2, 2, c.graphic.data()));
  ASSERT_EQ(0, compose.SetOutput(2, 2, c.output.data()));
  compose.SetFormat(kFormatGif, 8);
  compose.SetTransparent(1);
  compose.SetThreshold(254);
  compose.SetBackgroundColour(0xFF0000FF);  // red; the top byte is dropped
  ASSERT_EQ(0, compose.Compose());
  // Opaque pixels as drawn, the half-transparent one blended with red and made opaque, the
  // clear one clear over the background colour.
  EXPECT_EQ((std::vector<std::uint32_t>{0x00102030, 0x00E33219, 0xFFFF0000, 0x00405060}), c.output);
}

TEST(ExportComposition, TransparentPngHasUnpremultipliedAlpha) {
  FakeServices services;
  Composition c;
  CExportBitmap compose;
  compose.SetGraphic(2, 2, c.graphic.data());
  compose.SetOutput(2, 2, c.output.data());
  compose.SetFormat(kFormatPng, 32);
  compose.SetTransparent(1);
  compose.SetBackgroundColour(0x000000FF);
  ASSERT_EQ(0, compose.Compose());
  // Black fill, no background colour; alpha = 255 - t; the half pixel's colour divided back.
  EXPECT_EQ(0xFF102030u, c.output[0]);
  EXPECT_EQ(0x7FC96432u, c.output[1]);
  EXPECT_EQ(0x00000000u, c.output[2]);
}

TEST(ExportComposition, BackgroundImageAndBackdrop) {
  FakeServices services;
  std::vector<std::uint32_t> tile = {0x00000001, 0x00000002};  // 2 x 1
  std::vector<std::uint32_t> backdrop = {0x00AA0000};
  std::vector<std::uint32_t> graphic = {0xFF000000};
  std::vector<std::uint32_t> output(3, 0);
  CExportBitmap compose;
  compose.SetOutput(3, 1, output.data());
  compose.SetGraphic(1, 1, graphic.data());
  compose.SetBackgroundImage(2, 1, tile.data());
  compose.SetBackgroundOffset(1, 0);
  compose.SetBackdrop(1, 1, backdrop.data());
  compose.SetBackdropOffset(2, 0);
  compose.SetFormat(kFormatJpeg, 24);
  ASSERT_EQ(0, compose.Compose());
  EXPECT_EQ((std::vector<std::uint32_t>{0x00000002, 0x00000001, 0x00AA0000}), output);
}

TEST(ExportComposition, PictureIsAlwaysOpaque) {
  FakeServices services;
  for (int format : {kFormatPng, kFormatGif}) {
    Composition c;
    CExportBitmap compose;
    compose.SetGraphic(2, 2, c.graphic.data());
    compose.SetOutput(2, 2, c.output.data());
    compose.SetPicture(1);
    compose.SetFormat(format, format == kFormatPng ? 32 : 8);
    compose.SetTransparent(1);
    compose.SetThreshold(254);
    ASSERT_EQ(0, compose.Compose());
    for (std::uint32_t p : c.output) EXPECT_EQ(format == kFormatPng ? 0xFFu : 0u, p >> 24) << format;
  }
}

TEST(ExportComposition, OptionsForceTheFormatsTransparencyAndRestoreIt) {
  FakeServices services;
  struct Case { int type, bpp, transparent; int composedOpaque; int writes; };
  const Case cases[] = {
      {kExportJpeg, 24, 1, 1, 2},  // forced off while composing, back on afterwards
      {kExportJpeg, 24, 0, 1, 0},  // nothing changes: the record is not touched
      {kExportPng, 32, 1, 0, 0},
      {kExportPng, 24, 1, 1, 2},
  };
  for (const Case& k : cases) {
    FakeRecord record;
    record.exportType = k.type;
    record.exportBpp = k.bpp;
    record.transparent = k.transparent;
    Composition c;
    CExportBitmapFromOptions compose;
    ASSERT_EQ(0, compose.SetFromOptions(&record));
    compose.SetGraphic(2, 2, c.graphic.data());
    compose.SetOutput(2, 2, c.output.data());
    ASSERT_EQ(0, compose.Compose());
    EXPECT_EQ(k.transparent, record.transparent);
    EXPECT_EQ(k.writes, record.transparentWrites) << k.type << " " << k.transparent;
    const std::uint32_t clearPixel = c.output[2] >> 24;
    EXPECT_EQ(k.composedOpaque ? (k.bpp == 32 ? 0xFFu : 0u) : (k.bpp == 32 ? 0u : 0xFFu), clearPixel);
  }
}

TEST(ExportComposition, BadArgumentsRecordTheirLines) {
  FakeServices services;
  std::vector<std::uint32_t> pixels(4);
  CExportBitmapFromOptions compose;
  EXPECT_EQ(kResultInvalidArg, compose.SetGraphic(0, 2, pixels.data()));
  EXPECT_EQ(kResultInvalidArg, compose.SetOutput(2, 0, pixels.data()));
  EXPECT_EQ(kResultInvalidArg, compose.SetBackdrop(2, 2, nullptr));
  FakeRecord record;
  record.exportType = 3;
  EXPECT_EQ(kResultInvalidArg, compose.SetFromOptions(&record));
  ASSERT_EQ(4u, services.internalErrors.size());
  EXPECT_EQ(std::make_pair(std::string("ExportBitmap"), 195), services.internalErrors[0]);
  EXPECT_EQ(196, services.internalErrors[1].second);
  EXPECT_EQ(197, services.internalErrors[2].second);
  EXPECT_EQ(std::make_pair(std::string("ExportBitmapFromOptions"), 58), services.internalErrors[3]);
}

}  // namespace
