#include "bitmap/ExportPanelModel.h"

#include <gtest/gtest.h>

namespace {

struct PanelRecord : ExportPanelRecord {
  int exportType = 0, bpp = 8, dither = 0, palette = 1, quality = 0, gifSize = 256, pngSize = 256, jpegQuality = 75,
      transparentValue = 0, interlacedValue = 0, threshold = 128, dlgPref = 1, graphicType = 0, width = 100,
      height = 40;
  int GetExportType() const override { return exportType; }
  void SetExportType(int v) override { exportType = v; }
  int GetExportBpp() const override { return bpp; }
  void SetExportBpp(int v) override { bpp = v; }
  int GetExportDither() const override { return dither; }
  void SetExportDither(int v) override { dither = v; }
  int GetExportPalette() const override { return palette; }
  void SetExportPalette(int v) override { palette = v; }
  void SetExportQuality(int v) override { quality = v; }
  int GetGifPaletteSize() const override { return gifSize; }
  void SetGifPaletteSize(int v) override { gifSize = v; }
  int GetPngPaletteSize() const override { return pngSize; }
  void SetPngPaletteSize(int v) override { pngSize = v; }
  int GetJpegQuality() const override { return jpegQuality; }
  void SetJpegQuality(int v) override { jpegQuality = v; }
  int GetTransparent() const override { return transparentValue; }
  void SetTransparent(int v) override { transparentValue = v; }
  int GetInterlaced() const override { return interlacedValue; }
  void SetInterlaced(int v) override { interlacedValue = v; }
  int GetTransThreshold() const override { return threshold; }
  void SetTransThreshold(int v) override { threshold = v; }
  void SetExportDlgPref(int v) override { dlgPref = v; }
  int GetGraphicType() const override { return graphicType; }
  int GetPixelWidth() const override { return width; }
  int GetPixelHeight() const override { return height; }
};

TEST(ExportPanel, TypedColourCountsAreLimitedByFormat) {
  struct Case {
    int type, bpp, typed;
    int storedCount, storedBpp;
  } cases[] = {
      {0, 8, 300, 256, 8}, {0, 8, 1, 2, 4}, {0, 4, 16, 16, 4}, {0, 4, 17, 17, 8},
      {4, 4, 40, 16, 4},   {4, 4, 1, 2, 4}, {4, 8, 5, 16, 8},  {4, 8, 300, 256, 8},
  };
  for (const Case& c : cases) {
    PanelRecord record;
    record.exportType = c.type;
    record.bpp = c.bpp;
    record.gifSize = record.pngSize = c.bpp == 4 ? 8 : 64;
    CExportPanelModel panel;
    panel.Load(record);
    panel.CommitColourCount(record, c.typed);
    EXPECT_EQ(c.type == 0 ? record.gifSize : record.pngSize, c.storedCount) << c.type << "/" << c.bpp << " " << c.typed;
    EXPECT_EQ(record.bpp, c.storedBpp) << c.type << "/" << c.bpp << " " << c.typed;
  }
}

TEST(ExportPanel, ThresholdPositions) {
  struct Case {
    int position;
    bool photo;
    int threshold;
  } cases[] = {{98, false, 250}, {100, false, 254}, {0, false, 0}, {0, true, 1}, {40, false, 102}};
  for (const Case& c : cases) EXPECT_EQ(CExportPanelModel::ThresholdFromPosition(c.position, c.photo), c.threshold);
  // Loaded for JPEG: truncated percent, 98 in place of 100.
  for (const auto& [threshold, position] : {std::pair<int, int>{255, 98}, {128, 50}, {0, 0}}) {
    PanelRecord record;
    record.exportType = 1;
    record.threshold = threshold;
    CExportPanelModel panel;
    panel.Load(record);
    EXPECT_EQ(panel.thresholdPosition, position) << threshold;
  }
}

TEST(ExportPanel, ControlStatesPerFormat) {
  struct Case {
    int type, bpp, transparent;
    bool colours, transparentEnabled, threshold;
    int caption;
  } cases[] = {
      {0, 8, 1, true, true, true, kCaptionTrim},
      {0, 8, 0, true, true, false, kCaptionHidden},
      {4, 8, 1, true, true, true, kCaptionDepthAndTrim},
      {4, 4, 0, true, true, false, kCaptionDepth},
      {4, 24, 1, false, false, false, kCaptionDepth},  // true colour: no palette, no trimming
      {4, 32, 1, false, false, false, kCaptionDepth},
  };
  for (const Case& c : cases) {
    PanelRecord record;
    record.exportType = c.type;
    record.bpp = c.bpp;
    record.transparentValue = c.transparent;
    record.pngSize = c.bpp == 4 ? 8 : 64;
    CExportPanelModel panel;
    panel.Load(record);
    EXPECT_EQ(panel.colourControlsEnabled, c.colours) << c.type << "/" << c.bpp;
    EXPECT_EQ(panel.ditherEnabled, c.colours) << c.type << "/" << c.bpp;
    EXPECT_EQ(panel.transparentEnabled, c.transparentEnabled) << c.type << "/" << c.bpp;
    EXPECT_EQ(panel.thresholdShown, c.threshold) << c.type << "/" << c.bpp;
    EXPECT_EQ(panel.groupCaption, c.caption) << c.type << "/" << c.bpp;
  }
  // JPEG hides the transparency check.
  PanelRecord jpeg;
  jpeg.exportType = 1;
  CExportPanelModel panel;
  panel.Load(jpeg);
  EXPECT_FALSE(panel.transparentShown);
}

TEST(ExportPanel, PicturesNeverTransparentAndSmallGraphicsNeverInterlaced) {
  for (int type : {0, 4}) {
    PanelRecord record;
    record.exportType = type;
    record.graphicType = 5;
    record.transparentValue = 1;
    record.interlacedValue = 1;
    record.height = 7;
    CExportPanelModel panel;
    panel.Load(record);
    EXPECT_EQ(record.transparentValue, 0) << type;
    EXPECT_FALSE(panel.transparentEnabled) << type;
    EXPECT_FALSE(panel.interlacedEnabled) << type;
    EXPECT_EQ(record.interlacedValue, 0) << type;
    panel.transparent = true;  // even a checked box does not make it transparent
    panel.OptionChanged(record);
    EXPECT_EQ(record.transparentValue, 0) << type;
  }
}

TEST(ExportPanel, PngDepthFollowsTheColourCount) {
  struct Case {
    int bpp, palette, count;
    int depth, sliderMode;
  } cases[] = {
      {8, 1, 10, 4, kSliderPng4}, {4, 1, 40, 8, kSliderPng8}, {4, 0, 40, 8, kSliderWebRange}, {8, 1, 64, 8, kSliderPng8},
  };
  for (const Case& c : cases) {
    PanelRecord record;
    record.exportType = 4;
    record.bpp = c.bpp;
    record.palette = c.palette;
    record.pngSize = c.count;
    CExportPanelModel panel;
    panel.Load(record);
    EXPECT_EQ(panel.depth, c.depth) << c.bpp << " " << c.count;
    EXPECT_EQ(record.bpp, c.depth) << c.bpp << " " << c.count;
    EXPECT_EQ(panel.sliderMode, c.sliderMode) << c.bpp << " " << c.count;
  }
  // The 4 radio sets 16 colours; the 8 radio raises a smaller count to 16.
  PanelRecord record;
  record.exportType = 4;
  record.pngSize = 64;
  CExportPanelModel panel;
  panel.Load(record);
  panel.ChooseDepth(record, 4);
  EXPECT_EQ(record.pngSize, 16);
  EXPECT_EQ(panel.sliderMode, kSliderPng4);
  panel.CommitColourCount(record, 3);
  panel.ChooseDepth(record, 8);
  EXPECT_EQ(record.pngSize, 16);
  EXPECT_EQ(record.bpp, 8);
}

TEST(ExportPanel, ChangingTypeWritesTheControlsFirst) {
  PanelRecord record;
  record.exportType = 0;
  record.gifSize = 100;
  CExportPanelModel panel;
  panel.Load(record);
  panel.diffused = true;
  panel.ChooseType(record, 4);
  EXPECT_EQ(record.exportType, 4);
  EXPECT_EQ(record.dither, 2);
  EXPECT_EQ(record.quality, 2);  // written for the GIF before the switch
  EXPECT_EQ(panel.type, 4);
  panel.SetQuality(record, 150);
  panel.ChooseType(record, 1);
  panel.SetQuality(record, 150);
  EXPECT_EQ(record.jpegQuality, 100);
}

}  // namespace
