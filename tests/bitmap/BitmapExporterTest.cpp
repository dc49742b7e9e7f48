#include "bitmap/BitmapExporter.h"
#include "tests/bitmap/GifDecoder.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(BitmapExporter, FactoryPicksTheClassByExportType) {
  FakeServices services;
  FakeRecord record;
  struct Case { int type; const char* className; };
  for (const Case c : {Case{0, "CGifBitmapExporter"}, Case{1, "CJpegBitmapExporter"}, Case{4, "CPngBitmapExporter"},
                       Case{2, nullptr}, Case{3, nullptr}}) {
    record.exportType = c.type;
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&record, 1));
    if (!c.className) {
      EXPECT_EQ(nullptr, exporter) << c.type;
      continue;
    }
    ASSERT_TRUE(exporter);
    EXPECT_STREQ(c.className, exporter->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(1, exporter->Thumbnail());
  }
  record.exportType = 0;
  record.graphicType = kGraphicTypePicture;
  std::unique_ptr<CBitmapExporter> picture(CreateExporter(&record, 1));
  EXPECT_EQ(0, picture->Thumbnail());
}

TEST(BitmapExporter, PaletteSettingsFromTheRecord) {
  FakeServices services;
  struct Case {
    int type, bpp, dither, paletteSize, height, thumbnail;
    int bits, expectedDither, expectedSize, interlace;
  };
  const Case cases[] = {
      {0, 8, 1, 16, 20, 0, 8, kDitherSettingDiffusion, 16, 1},
      {0, 8, 1, 256, 20, 0, 8, kDitherSettingOrdered, 256, 1},
      {0, 8, 0, 256, 7, 0, 8, kDitherSettingNone, 256, 0},  // too small to interlace
      {0, 8, 1, 256, 20, 1, 4, kDitherSettingDiffusion, 16, 0},
      {4, 8, 1, 8, 20, 0, 8, kDitherSettingDiffusion, 8, 1},
      {4, 8, 1, 32, 20, 0, 8, kDitherSettingOrdered, 32, 1},
  };
  for (const Case& c : cases) {
    FakeRecord record;
    record.exportType = c.type;
    record.exportBpp = c.bpp;
    record.exportDither = c.dither;
    record.gifPaletteSize = record.pngPaletteSize = c.paletteSize;
    record.pixelHeight = c.height;
    record.interlaced = 1;
    record.transparent = 1;
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&record, c.thumbnail));
    std::vector<std::uint32_t> pixels(4);
    exporter->Export(&record, "x.gif", 2, 2, c.thumbnail, pixels.data());
    const auto* s = static_cast<const PaletteExportSettings*>(exporter->GetSettings());
    EXPECT_EQ(c.bits, s->bitsPerPixel);
    EXPECT_EQ(c.expectedDither, s->dither) << c.type << "/" << c.paletteSize;
    EXPECT_EQ(c.expectedSize, s->paletteSize);
    EXPECT_EQ(c.interlace, s->interlace);
    EXPECT_EQ(c.thumbnail ? 0 : 1, s->transparent);
  }
}

TEST(BitmapExporter, Texts) {
  FakeServices services;
  FakeRecord record;
  record.exportType = kExportJpeg;
  record.jpegQuality = 63;
  std::unique_ptr<CBitmapExporter> jpeg(CreateExporter(&record, 0));
  jpeg->Export(&record, "x.jpg", 2, 2, 0, nullptr);
  EXPECT_EQ(63, jpeg->GetQuality());
  EXPECT_STREQ("Multiple JPEGs", jpeg->GetFormatText(true));
  EXPECT_STREQ("True color (24bpp)", jpeg->GetColourDepthText());
  record.exportType = kExportGif;
  record.stateCount = 2;
  std::unique_ptr<CBitmapExporter> gif(CreateExporter(&record, 0));
  EXPECT_EQ(-1, gif->GetQuality());
  EXPECT_STREQ("Animated GIF", gif->GetFormatText(false));
  EXPECT_STREQ("256 colors (8bpp)", gif->GetColourDepthText());
  EXPECT_STREQ("Optimised palette", gif->GetPaletteText());
  EXPECT_STREQ("None", gif->GetDitherText());

  struct SizeCase { std::uint64_t bytes; bool wholeK; const char* text; };
  for (const SizeCase c : {SizeCase{1024, false, "1024 bytes"}, SizeCase{1536, false, "1.50 K"},
                           SizeCase{1536, true, "1 K"}}) {
    CString text;
    EXPECT_TRUE(FormatFileSize(c.bytes, &text, c.wholeK));
    EXPECT_STREQ(c.text, text);
  }
  EXPECT_FALSE(FormatFileSize(5, nullptr, false));
}

TEST(BitmapExporter, ExportToFileWritesTheRenderAndRestoresTheRecord) {
  FakeServices services;
  FakeRecord record;
  services.record = &record;
  record.transparent = 1;
  record.pixelWidth = record.pixelHeight = 12;
  std::vector<std::uint32_t> picture = PatternPicture(12, 12, 20);
  picture[0] = 0xFF000000u;
  services.SetStates({picture}, 12, 12);
  TempPath file("export.gif");
  std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&record, 0));
  ASSERT_EQ(0, exporter->ExportToFile(file.path.c_str(), 0));
  DecodedGif gif;
  ASSERT_EQ("", DecodeGif(ReadFileBytes(file.path), gif));
  EXPECT_EQ(12, gif.width);
  EXPECT_TRUE(gif.frames[0].transparent);
  EXPECT_EQ(0, record.transparentWrites);

  // A thumbnail: opaque for the export, the user's transparency back afterwards.
  record.outputSize = SIZE{1000, 200};
  TempPath thumb("thumb.gif");
  std::unique_ptr<CBitmapExporter> thumbnail(CreateExporter(&record, 1));
  ASSERT_EQ(0, thumbnail->ExportToFile(thumb.path.c_str(), 1));
  EXPECT_EQ(1, record.transparent);
  EXPECT_EQ(2, record.transparentWrites);
  EXPECT_EQ(1.0, record.scale);
  DecodedGif small;
  ASSERT_EQ("", DecodeGif(ReadFileBytes(thumb.path), small));
  EXPECT_FALSE(small.frames[0].hasControl);
  EXPECT_EQ(3, (small.packed >> 4) & 7);  // 4 bits per pixel
}

TEST(BitmapExporter, ThumbnailScale) {
  // The render sees the thumbnail scale and size; the record gets its own scale back.
  struct ScaleSpy : FakeServices {
    double seenScale = 0;
    int seenWidth = 0;
    Bitmap32* GetRenderedBitmap(int width, int height) override {
      seenScale = record->scale;
      seenWidth = width;
      return FakeServices::GetRenderedBitmap(width, height);
    }
  } services;
  FakeRecord record;
  services.record = &record;
  record.outputSize = SIZE{1000, 100};
  services.SetStates({PatternPicture(4, 4, 3)}, 4, 4);
  struct Case { int graphicType; double scale; };
  for (const Case c : {Case{0, 0.4}, Case{4, 0.25}, Case{1, 0.5}, Case{12, 0.12}}) {
    record.graphicType = c.graphicType;
    TempPath file("scale.gif");
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&record, 1));
    ASSERT_EQ(0, exporter->ExportToFile(file.path.c_str(), 1));
    EXPECT_DOUBLE_EQ(c.scale, services.seenScale) << c.graphicType;
    EXPECT_EQ(int(1000 * c.scale + 0.5), services.seenWidth);
    EXPECT_EQ(1.0, record.scale);
  }
}

TEST(BitmapExporter, StandardPaletteAtFourBitsKeepsThePicturesColours) {
  // The early Prepare allocates the quantiser, so the standard colours join an optimised palette
  // instead of replacing it.
  FakeServices services;
  FakeRecord record;
  record.exportBpp = 4;
  record.exportPalette = 0;
  record.exportDither = 0;
  std::vector<std::uint32_t> picture = PatternPicture(8, 8, 3, 21);
  TempPath file("standard.gif");
  std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&record, 0));
  exporter->Export(&record, file.path.c_str(), 8, 8, 0, picture.data());
  ASSERT_EQ(0, exporter->WritePixels(picture.data()));
  DecodedGif gif;
  ASSERT_EQ("", DecodeGif(ReadFileBytes(file.path), gif));
  const DecodedGifFrame& f = gif.frames[0];
  for (int i = 0; i < 64; ++i) {
    const int index = f.indices[std::size_t(i)];
    const std::uint32_t colour = (std::uint32_t(gif.globalTable[3 * index]) << 16) |
                                 (gif.globalTable[3 * index + 1] << 8) | gif.globalTable[3 * index + 2];
    EXPECT_EQ(picture[std::size_t(7 - i / 8) * 8 + std::size_t(i % 8)], colour);
  }
}

TEST(BitmapExporter, FailuresAreReported) {
  FakeServices services;
  FakeRecord record;
  services.record = &record;
  std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&record, 0));
  TempPath file("nothing.gif");
  EXPECT_EQ(1, exporter->ExportToFile(file.path.c_str(), 0));  // nothing rendered
  EXPECT_FALSE(file.Exists());
  services.SetStates({PatternPicture(16, 16, 5)}, 16, 16);
  services.conversion.failConversions = 1;
  EXPECT_EQ(1, exporter->ExportToFile(file.path.c_str(), 0));
  EXPECT_FALSE(file.Exists());
  services.record = nullptr;
  EXPECT_EQ(1, exporter->ExportToFile(file.path.c_str(), 0));

  EXPECT_EQ(ImageExporter::kBadArgument, ConfigureWriter(nullptr, nullptr, nullptr));
  EXPECT_EQ(ImageExporter::kBadArgument, AddFixedPaletteColour(nullptr, 0));
  ASSERT_EQ(2u, services.internalErrors.size());
  EXPECT_EQ(473, services.internalErrors[0].second);
  EXPECT_EQ(3196, services.internalErrors[1].second);
}

}  // namespace

#ifdef _WIN32
namespace {

TEST(BitmapExporter, ClipboardCopyIsAPacked24BitDib) {
  FakeServices services;
  FakeRecord record;
  services.record = &record;
  record.pixelWidth = 3;
  record.pixelHeight = 2;
  services.SetStates({{0x00010203, 0x00040506, 0x00070809, 0x000A0B0C, 0x000D0E0F, 0x00101112}}, 3, 2);
  std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&record, 0));
  HGLOBAL block = exporter->CopyToClipboard();
  ASSERT_TRUE(block);
  ASSERT_EQ(sizeof(BITMAPINFOHEADER) + 2 * 12, GlobalSize(block));
  const BYTE* bytes = static_cast<const BYTE*>(GlobalLock(block));
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
  EXPECT_EQ(40u, header->biSize);
  EXPECT_EQ(3, header->biWidth);
  EXPECT_EQ(2, header->biHeight);
  EXPECT_EQ(24, header->biBitCount);
  const BYTE* rows = bytes + 40;
  // Blue, green, red per pixel, rows padded to 12 bytes, bottom-up as rendered.
  EXPECT_EQ((std::vector<BYTE>{0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0x09, 0x08, 0x07, 0, 0, 0, 0x0C, 0x0B, 0x0A}),
            std::vector<BYTE>(rows, rows + 15));
  GlobalUnlock(block);
  GlobalFree(block);
}

}  // namespace
#endif

namespace {

// A bar's preview page describes its images before this exporter wrote any: the texts are
// those the export would give.
TEST(BitmapExporter, TransparencyTextBeforeAnExportIsTheExportsOwn) {
  FakeServices services;
  struct Case { int type, bpp, transparent; };
  for (const Case c : {Case{0, 8, 1}, Case{0, 8, 0}, Case{4, 8, 1}, Case{4, 8, 0}, Case{4, 32, 0}, Case{4, 24, 1}}) {
    FakeRecord record;
    record.exportType = c.type;
    record.exportBpp = c.bpp;
    record.transparent = c.transparent;
    std::unique_ptr<CBitmapExporter> before(CreateExporter(&record, 0));
    std::unique_ptr<CBitmapExporter> after(CreateExporter(&record, 0));
    std::vector<std::uint32_t> pixels(4);
    after->Export(&record, "x.gif", 2, 2, 0, pixels.data());
    EXPECT_EQ(std::string(after->GetTransparencyText()), std::string(before->GetTransparencyText()))
        << c.type << " " << c.bpp << " " << c.transparent;
  }
}

}  // namespace
