// The export view of an option record: what the bitmap exporters read and change of it.
#pragma once

#include "bitmap/ExportRecord.h"

class COptions;

class COptionsExportRecord : public ExportRecord {
 public:
  explicit COptionsExportRecord(COptions& record) : m_record(record) {}

  int GetExportType() const override;
  int GetExportBpp() const override;
  int GetExportDither() const override;
  int GetExportPalette() const override;
  int GetGifPaletteSize() const override;
  int GetPngPaletteSize() const override;
  int GetJpegQuality() const override;
  int GetInterlaced() const override;
  int GetTransparent() const override;
  void SetTransparent(int transparent) override;
  int GetTransThreshold() const override;
  COLORREF GetBackgroundColour() const override;
  int GetGraphicType() const override;
  int GetUserBitmapGeneration() const override;
  int GetPixelWidth() const override;
  int GetPixelHeight() const override;
  double GetScale() const override;
  void SetScale(double scale) override;
  SIZE GetOutputSize() const override;
  double GetShadowWidthMargin() const override;
  double GetScaledWidth() const override;
  double GetScaledHeight() const override;
  int GetStateCount() const override;
  void SelectState(int state, int flags) override;
  int GetCurrentStateDelay() const override;

 private:
  COptions& m_record;
};
