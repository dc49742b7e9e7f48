// Composes the 32-bit image that is exported or previewed: the output is filled with the
// background colour (or a tiled background picture), a backdrop and the rendered graphic are
// blended into it, every pixel gets the transparency the format can carry, palette formats get
// on/off transparency, and the premultiplication that blending leaves in partly transparent
// pixels is undone.
//
// The caller owns all four images; the object only references them. Setters may come in any
// order before Compose; Compose may run again after the layers change.
#pragma once

#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"

#include <cstdint>

class Bitmap32;
class ExportRecord;
class TessroConversion;

constexpr HRESULT kResultInvalidArg = static_cast<HRESULT>(0x80070057);
constexpr HRESULT kResultFail = static_cast<HRESULT>(0x80004005);

// Format codes of the composition.
enum ExportFormatCode { kFormatGif = 0, kFormatOther = 1, kFormatPng = 2, kFormatJpeg = 3 };

class CExportBitmap : public CObject {
  DECLARE_DYNAMIC(CExportBitmap)
public:
  CExportBitmap() = default;

  HRESULT SetGraphic(int width, int height, std::uint32_t* pixels);
  HRESULT SetGraphicFromBitmap(Bitmap32* bitmap);
  HRESULT SetGraphicOffset(int x, int y);
  HRESULT SetOutput(int width, int height, std::uint32_t* pixels);
  HRESULT SetOutputFromBitmap(Bitmap32* bitmap);
  HRESULT SetBackgroundImage(int width, int height, std::uint32_t* pixels);
  HRESULT SetBackgroundImageFromBitmap(Bitmap32* bitmap);
  HRESULT SetBackgroundOffset(int x, int y);
  HRESULT SetBackdrop(int width, int height, std::uint32_t* pixels);
  HRESULT SetBackdropFromBitmap(Bitmap32* bitmap);
  HRESULT SetBackdropOffset(int x, int y);
  HRESULT SetPicture(int picture);
  HRESULT SetFormat(int formatCode, int bitsPerPixel);
  HRESULT SetTransparent(int transparent);
  HRESULT SetThreshold(int threshold);
  HRESULT SetBackgroundColour(COLORREF colour);
  // The rasterizer used to undo the premultiplication; the installed services' one by default.
  void SetTessroContext(TessroConversion* context) { m_context = context; }

  virtual HRESULT Compose();

protected:
  virtual HRESULT Prepare() { return 0; }
  virtual HRESULT FillBackground();
  virtual HRESULT ApplyTransparency();
  virtual HRESULT DrawGraphic();
  virtual HRESULT DrawBackdrop();
  virtual HRESULT ThresholdOutput();
  virtual HRESULT Finish();

  static HRESULT SetImageLayer(int width, int height, std::uint32_t* pixels, BITMAP* layer);
  HRESULT BlendLayer(const BITMAP& layer, int x, int y);

  BITMAP m_graphic{};
  int m_picture = 0;
  int m_graphicX = 0, m_graphicY = 0;
  BITMAP m_output{};
  int m_formatCode = kFormatGif;
  int m_bitsPerPixel = 8;
  int m_transparent = 0;
  int m_threshold = 0;
  COLORREF m_backgroundColour = 0;
  BITMAP m_background{};
  int m_backgroundX = 0, m_backgroundY = 0;
  BITMAP m_backdrop{};
  int m_backdropX = 0, m_backdropY = 0;
  TessroConversion* m_context = nullptr;
};

class CExportBitmapFromOptions : public CExportBitmap {
  DECLARE_DYNAMIC(CExportBitmapFromOptions)
public:
  // Takes every format setting from an option record.
  HRESULT SetFromOptions(ExportRecord* record);
};
