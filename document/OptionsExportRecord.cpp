#include "document/OptionsExportRecord.h"

#include "document/Options.h"

int COptionsExportRecord::GetExportType() const { return m_record.GetExportType(); }
int COptionsExportRecord::GetExportBpp() const { return static_cast<int>(m_record.GetExportBpp()); }
int COptionsExportRecord::GetExportDither() const { return m_record.GetExportDither(); }
int COptionsExportRecord::GetExportPalette() const { return m_record.GetExportPalette(); }
int COptionsExportRecord::GetGifPaletteSize() const { return static_cast<int>(m_record.GetGIFPaletteSize()); }
int COptionsExportRecord::GetPngPaletteSize() const { return static_cast<int>(m_record.GetPNGPaletteSize()); }
int COptionsExportRecord::GetJpegQuality() const { return static_cast<int>(m_record.GetJPEGQuality()); }
int COptionsExportRecord::GetInterlaced() const { return m_record.GetInterlaced(); }
int COptionsExportRecord::GetTransparent() const { return m_record.GetTransparent(); }
void COptionsExportRecord::SetTransparent(int transparent) { m_record.SetTransparent(transparent); }
int COptionsExportRecord::GetTransThreshold() const { return m_record.GetTransThreshold(); }
COLORREF COptionsExportRecord::GetBackgroundColour() const { return m_record.GetBackgroundColour(); }
int COptionsExportRecord::GetGraphicType() const { return m_record.GetGraphicType(); }
int COptionsExportRecord::GetUserBitmapGeneration() const { return m_record.GetUserBitmapGeneration(); }
int COptionsExportRecord::GetPixelWidth() const { return m_record.GetPixelWidth(false); }
int COptionsExportRecord::GetPixelHeight() const { return m_record.GetPixelHeight(false); }
double COptionsExportRecord::GetScale() const { return m_record.GetScale(); }
void COptionsExportRecord::SetScale(double scale) { m_record.SetScale(scale); }

SIZE COptionsExportRecord::GetOutputSize() const {
  int width = 0, height = 0;
  m_record.GetOutputSize(width, height);
  SIZE size;
  size.cx = width;
  size.cy = height;
  return size;
}

// The shadow's share of the width with shadow (at scale 1). A 3D heading's width is its
// measured one, which the record does not hand out: its margin reads as 0.
double COptionsExportRecord::GetShadowWidthMargin() const {
  if (m_record.GetGraphicType() == kGraphic3DHeading) return 0.0;
  return m_record.GetWidthWithShadow(1.0) - m_record.GetBaseWidth();
}

double COptionsExportRecord::GetScaledWidth() const { return m_record.GetScaledWidth(); }
double COptionsExportRecord::GetScaledHeight() const { return m_record.GetScaledHeight(); }
int COptionsExportRecord::GetStateCount() const { return m_record.GetStateCount(); }
void COptionsExportRecord::SelectState(int state, int) { m_record.SelectState(state); }
int COptionsExportRecord::GetCurrentStateDelay() const { return static_cast<int>(m_record.GetCurrentStateDelay()); }
