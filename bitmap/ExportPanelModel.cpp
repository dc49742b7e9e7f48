#include "bitmap/ExportPanelModel.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kTypeGif = 0, kTypeJpeg = 1, kTypePng = 4;
constexpr int kGraphicPicture = 5;
constexpr int kWebMinimum = 16, kWebMaximum = 216;
constexpr int kInterlaceMinimumSide = 8;
constexpr int kThresholdTop = 98;
constexpr int kMaxThreshold = 254;

int Clamp(int value, int low, int high) { return std::max(low, std::min(high, value)); }
}  // namespace

void CExportPanelModel::SliderRange(int mode, int& minimum, int& maximum) {
  switch (mode) {
    case kSliderFullRange: minimum = 2, maximum = 256; break;
    case kSliderPng8: minimum = 16, maximum = 256; break;
    case kSliderPng4: minimum = 2, maximum = 16; break;
    default: minimum = 16, maximum = 216; break;
  }
}

void CExportPanelModel::SetSlider(int mode, int value) {
  int minimum, maximum;
  SliderRange(mode, minimum, maximum);
  sliderMode = mode;
  sliderValue = Clamp(value, minimum, maximum);
}

bool CExportPanelModel::IsPicture(const ExportPanelRecord& record) const {
  return record.GetGraphicType() == kGraphicPicture;
}

int CExportPanelModel::ThresholdFromPosition(int position, bool photoHandlerActive) {
  int threshold = std::min(int(std::lround(position * 2.55)), kMaxThreshold);
  if (photoHandlerActive) threshold = std::max(threshold, 1);
  return threshold;
}

void CExportPanelModel::Load(ExportPanelRecord& record) {
  switch (record.GetExportType()) {
    case kTypeJpeg: showTrimmed = false; LoadJpeg(record); break;
    case kTypePng: LoadPng(record); break;
    default: LoadGif(record); break;
  }
}

void CExportPanelModel::LoadTransparencyAndInterlace(ExportPanelRecord& record) {
  transparent = record.GetTransparent() != 0;
  interlaced = record.GetInterlaced() != 0 && record.GetPixelWidth() >= kInterlaceMinimumSide &&
               record.GetPixelHeight() >= kInterlaceMinimumSide;
  // A picture is never made transparent from this panel.
  if (IsPicture(record)) {
    if (record.GetTransparent()) record.SetTransparent(0);
    transparent = false;
    transparentEnabled = false;
  }
}

void CExportPanelModel::LoadGif(ExportPanelRecord& record) {
  type = kTypeGif;
  transparentShown = true;
  diffused = record.GetExportDither() == 2;
  colourCount = record.GetGifPaletteSize();
  clampedCount = Clamp(colourCount, kWebMinimum, kWebMaximum);
  SetSlider(record.GetExportPalette() ? kSliderFullRange : kSliderWebRange, colourCount);
  LoadTransparencyAndInterlace(record);
  OptionChanged(record);
}

void CExportPanelModel::LoadPng(ExportPanelRecord& record) {
  type = kTypePng;
  transparentShown = true;
  int bpp = record.GetExportBpp();
  if (bpp <= 8) diffused = record.GetExportDither() == 2;
  colourCount = record.GetPngPaletteSize();
  clampedCount = Clamp(colourCount, kWebMinimum, kWebMaximum);
  // At 8 bits or less the depth follows the count.
  if (bpp <= 8) {
    int wanted = bpp;
    if (record.GetExportPalette()) {
      if (colourCount < 16 && bpp == 8) wanted = 4;
      if (colourCount > 16 && bpp == 4) wanted = 8;
    } else if (clampedCount > 16 && bpp == 4) {
      wanted = 8;
    }
    if (wanted != bpp) record.SetExportBpp(bpp = wanted);
  }
  depth = bpp == 4 || bpp == 8 || bpp == 32 ? bpp : 24;
  if (depth == 8) {
    if (record.GetExportPalette())
      SetSlider(kSliderPng8, colourCount);
    else
      SetSlider(kSliderWebRange, clampedCount);
  } else if (depth == 4) {
    SetSlider(kSliderPng4, colourCount);
  }
  LoadTransparencyAndInterlace(record);
  OptionChanged(record);
}

void CExportPanelModel::LoadJpeg(ExportPanelRecord& record) {
  type = kTypeJpeg;
  transparentShown = false;
  quality = record.GetJpegQuality();
  thresholdPosition = record.GetTransThreshold() * 100 / 255;
  if (thresholdPosition == 100) thresholdPosition = kThresholdTop;
  if (IsPicture(record) && record.GetTransparent()) record.SetTransparent(0);
  OptionChanged(record);
}

void CExportPanelModel::OptionChanged(ExportPanelRecord& record) {
  if (type != kTypeJpeg) {
    ditherEnabled = colourControlsEnabled = !PngTrueColour();
    transparentEnabled = !IsPicture(record) && !PngTrueColour();
  }
  WriteOptions(record);
  const bool applies = type != kTypeJpeg && ThresholdApplies();
  if (type == kTypePng)
    groupCaption = applies ? kCaptionDepthAndTrim : kCaptionDepth;
  else
    groupCaption = applies ? kCaptionTrim : kCaptionHidden;
  thresholdShown = applies;
  if (applies) thresholdPosition = int(std::lround(record.GetTransThreshold() * 100.0 / 255.0));
  interlacedEnabled =
      record.GetPixelWidth() >= kInterlaceMinimumSide && record.GetPixelHeight() >= kInterlaceMinimumSide;
  const bool palettised = type == kTypeGif || (type == kTypePng && depth <= 8);
  trimmedEstimate = showTrimmed && ((record.GetTransparent() && palettised && !IsPicture(record)) ||
                                    (type == kTypePng && depth == 32));
}

void CExportPanelModel::WriteOptions(ExportPanelRecord& record) const {
  switch (type) {
    case kTypeGif:
      record.SetExportDither(diffused ? 2 : 0);
      record.SetExportPalette(1);
      record.SetGifPaletteSize(colourCount);
      record.SetTransparent(transparent && !IsPicture(record));
      record.SetInterlaced(interlaced);
      if (colourCount > 16) {
        record.SetExportBpp(8);
        record.SetExportQuality(diffused ? 2 : 1);
      } else {
        record.SetExportBpp(4);
        record.SetExportQuality(0);
      }
      break;
    case kTypeJpeg:
      record.SetJpegQuality(std::min(quality, 100));
      break;
    case kTypePng:
      record.SetExportBpp(depth);
      if (depth <= 8) {
        record.SetExportDither(diffused ? 2 : 0);
        record.SetExportPalette(1);
        record.SetPngPaletteSize(colourCount);
      }
      if (depth < 24) record.SetTransparent(transparent && !IsPicture(record));
      record.SetInterlaced(interlaced);
      break;
    default:
      break;
  }
}

void CExportPanelModel::ChooseType(ExportPanelRecord& record, int newType) {
  WriteOptions(record);
  record.SetExportType(newType);
  Load(record);
}

void CExportPanelModel::ChooseDepth(ExportPanelRecord& record, int newDepth) {
  depth = newDepth;
  record.SetExportBpp(newDepth);
  if (newDepth == 8) {
    colourCount = std::max(colourCount, 16);
    SetSlider(kSliderPng8, colourCount);
  } else if (newDepth == 4) {
    colourCount = clampedCount = 16;
    SetSlider(kSliderPng4, 16);
  }
  OptionChanged(record);
}

void CExportPanelModel::SlideColours(ExportPanelRecord& record, int count) {
  colourCount = count;
  clampedCount = Clamp(count, kWebMinimum, kWebMaximum);
  if (type == kTypeGif) {
    record.SetGifPaletteSize(count);
    record.SetExportBpp(count > 16 ? 8 : 4);
  } else if (type == kTypePng) {
    record.SetPngPaletteSize(count);
  }
  OptionChanged(record);
}

void CExportPanelModel::SlideThreshold(ExportPanelRecord& record, int position, bool photoHandlerActive) {
  thresholdPosition = Clamp(position, 0, 100);
  record.SetTransThreshold(ThresholdFromPosition(thresholdPosition, photoHandlerActive));
  OptionChanged(record);
}

void CExportPanelModel::CommitColourCount(ExportPanelRecord& record, int value) {
  if (value != sliderValue) {
    if (type == kTypePng && depth == 8)
      value = Clamp(value, 16, 256);
    else if (type == kTypePng && depth == 4)
      value = Clamp(value, 2, 16);
    else
      value = Clamp(value, 2, 256);
  }
  colourCount = value;
  clampedCount = Clamp(value, kWebMinimum, kWebMaximum);
  SetSlider(sliderMode, value);
  OptionChanged(record);
}

void CExportPanelModel::SetQuality(ExportPanelRecord& record, int value) {
  quality = Clamp(value, 0, 100);
  OptionChanged(record);
}
