// What image export reads and changes of the option record of the current graphic.
//
// The option record lives above this module; the application hands it in through an adapter
// (BitmapServices::GetOptions), tests through a small fake. Setters mark the record modified.
#pragma once

#include "framework/core/WinTypes.h"

class ExportRecord {
public:
  virtual ~ExportRecord() = default;

  // Export type: 0 GIF, 1 JPEG, 2 and 3 other formats, 4 PNG.
  virtual int GetExportType() const = 0;
  virtual int GetExportBpp() const = 0;
  virtual int GetExportDither() const = 0;   // 0 none, 1 ordered, 2 error diffusion
  virtual int GetExportPalette() const = 0;  // 0 standard, else optimised
  virtual int GetGifPaletteSize() const = 0;
  virtual int GetPngPaletteSize() const = 0;
  virtual int GetJpegQuality() const = 0;
  virtual int GetInterlaced() const = 0;
  virtual int GetTransparent() const = 0;
  virtual void SetTransparent(int transparent) = 0;
  virtual int GetTransThreshold() const = 0;
  virtual COLORREF GetBackgroundColour() const = 0;
  virtual int GetGraphicType() const = 0;  // 5: a picture
  // Nonzero when the graphic has a picture of the user's own.
  virtual int GetUserBitmapGeneration() const = 0;

  // Size of the graphic in pixels at the current scale.
  virtual int GetPixelWidth() const = 0;
  virtual int GetPixelHeight() const = 0;
  virtual double GetScale() const = 0;
  virtual void SetScale(double scale) = 0;
  // The record's output size (at scale 1) and the shadow's width margin.
  virtual SIZE GetOutputSize() const = 0;
  virtual double GetShadowWidthMargin() const = 0;
  // Width and height at the current scale, unrounded.
  virtual double GetScaledWidth() const = 0;
  virtual double GetScaledHeight() const = 0;

  // Button states (1-based) and the display time of the current one, hundredths of a second.
  virtual int GetStateCount() const = 0;
  virtual void SelectState(int state, int flags) = 0;
  virtual int GetCurrentStateDelay() const = 0;
};

// Forces the record's Transparent to what the export format can carry while it lives:
// 0 for JPEG and 24-bit PNG, 1 for 32-bit PNG; the user's value returns afterwards. The record
// is touched (and so marked modified) only when a value actually changes.
class ExportTransparencyOverride {
public:
  explicit ExportTransparencyOverride(ExportRecord* record);
  ~ExportTransparencyOverride();
  ExportTransparencyOverride(const ExportTransparencyOverride&) = delete;
  ExportTransparencyOverride& operator=(const ExportTransparencyOverride&) = delete;

private:
  ExportRecord* m_record;
  int m_saved = 0;
};

enum ExportTypeCode { kExportGif = 0, kExportJpeg = 1, kExportPng = 4 };
constexpr int kGraphicTypePicture = 5;
