#include "bitmap/ExportBitmap.h"

#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ExportRecord.h"
#include "bitmap/bitmapmanip.h"

IMPLEMENT_DYNAMIC(CExportBitmap, CObject)
IMPLEMENT_DYNAMIC(CExportBitmapFromOptions, CExportBitmap)

namespace {
const char kSourceName[] = "ExportBitmap";
constexpr int kTransparentByte = 255;
}  // namespace

HRESULT CExportBitmap::SetImageLayer(int width, int height, std::uint32_t* pixels, BITMAP* layer) {
  int line = 0;
  if (width == 0) line = 195;
  else if (height == 0) line = 196;
  else if (!pixels) line = 197;
  else if (!layer) line = 198;
  // Negative sizes would make every later walk over the layer meaningless.
  else if (width < 0 || height < 0) line = width < 0 ? 195 : 196;
  if (line) {
    BitmapInternalError(kSourceName, line);
    return kResultInvalidArg;
  }
  *layer = BITMAP{0, width, height, width * 4, 1, 32, pixels};
  return 0;
}

HRESULT CExportBitmap::SetGraphic(int w, int h, std::uint32_t* p) { return SetImageLayer(w, h, p, &m_graphic); }
HRESULT CExportBitmap::SetOutput(int w, int h, std::uint32_t* p) { return SetImageLayer(w, h, p, &m_output); }
HRESULT CExportBitmap::SetBackgroundImage(int w, int h, std::uint32_t* p) {
  return SetImageLayer(w, h, p, &m_background);
}
HRESULT CExportBitmap::SetBackdrop(int w, int h, std::uint32_t* p) { return SetImageLayer(w, h, p, &m_backdrop); }

namespace {
template <typename Setter>
HRESULT FromBitmap(Bitmap32* bitmap, Setter set) {
  if (!bitmap) return set(0, 0, nullptr);
  return set(bitmap->Width(), bitmap->Height(), bitmap->Pixels());
}
}  // namespace

HRESULT CExportBitmap::SetGraphicFromBitmap(Bitmap32* b) {
  return FromBitmap(b, [this](int w, int h, std::uint32_t* p) { return SetGraphic(w, h, p); });
}
HRESULT CExportBitmap::SetOutputFromBitmap(Bitmap32* b) {
  return FromBitmap(b, [this](int w, int h, std::uint32_t* p) { return SetOutput(w, h, p); });
}
HRESULT CExportBitmap::SetBackgroundImageFromBitmap(Bitmap32* b) {
  return FromBitmap(b, [this](int w, int h, std::uint32_t* p) { return SetBackgroundImage(w, h, p); });
}
HRESULT CExportBitmap::SetBackdropFromBitmap(Bitmap32* b) {
  return FromBitmap(b, [this](int w, int h, std::uint32_t* p) { return SetBackdrop(w, h, p); });
}

HRESULT CExportBitmap::SetGraphicOffset(int x, int y) { m_graphicX = x; m_graphicY = y; return 0; }
HRESULT CExportBitmap::SetBackgroundOffset(int x, int y) { m_backgroundX = x; m_backgroundY = y; return 0; }
HRESULT CExportBitmap::SetBackdropOffset(int x, int y) { m_backdropX = x; m_backdropY = y; return 0; }
HRESULT CExportBitmap::SetPicture(int picture) { m_picture = picture; return 0; }
HRESULT CExportBitmap::SetFormat(int code, int bits) { m_formatCode = code; m_bitsPerPixel = bits; return 0; }
HRESULT CExportBitmap::SetTransparent(int transparent) { m_transparent = transparent; return 0; }
HRESULT CExportBitmap::SetThreshold(int threshold) { m_threshold = threshold; return 0; }
HRESULT CExportBitmap::SetBackgroundColour(COLORREF colour) { m_backgroundColour = colour & 0x00FFFFFFu; return 0; }

HRESULT CExportBitmap::Compose() {
  HRESULT hr = Prepare();
  if (hr >= 0) hr = FillBackground();
  if (hr >= 0) hr = ApplyTransparency();
  if (hr >= 0) hr = DrawBackdrop();
  if (hr >= 0) hr = DrawGraphic();
  if (hr >= 0 && m_picture && m_output.bmBits) {
    // A picture is opaque whatever the format: its own transparency is not the graphic's.
    SetTransparencyAll(static_cast<std::uint32_t*>(m_output.bmBits), m_output.bmWidth, m_output.bmHeight, 0);
  }
  if (hr >= 0 && m_transparent && m_bitsPerPixel <= 8) hr = ThresholdOutput();
  if (hr >= 0) hr = Finish();
  return hr < 0 ? hr : 0;
}

HRESULT CExportBitmap::FillBackground() {
  auto* out = static_cast<std::uint32_t*>(m_output.bmBits);
  if (!out) return 0;
  const int w = m_output.bmWidth, h = m_output.bmHeight;
  if (m_transparent && m_bitsPerPixel > 8 && !m_picture) {
    FillARGB(out, w, h, 0, true, true, true, true);
    return 0;
  }
  FillARGB(out, w, h, m_backgroundColour, true, true, true, true);
  if (m_background.bmBits)
    CopyTiled(out, w, h, static_cast<const std::uint32_t*>(m_background.bmBits), m_background.bmWidth,
              m_background.bmHeight, m_backgroundX, m_backgroundY);
  return 0;
}

HRESULT CExportBitmap::ApplyTransparency() {
  SetTransparencyAll(static_cast<std::uint32_t*>(m_output.bmBits), m_output.bmWidth, m_output.bmHeight,
                     m_transparent ? kTransparentByte : 0);
  return 0;
}

HRESULT CExportBitmap::BlendLayer(const BITMAP& layer, int x, int y) {
  if (!layer.bmBits || !m_output.bmBits) return 0;
  BlitARGB(static_cast<const std::uint32_t*>(layer.bmBits), 0, 0, layer.bmWidth, layer.bmHeight,
           static_cast<std::uint32_t*>(m_output.bmBits), x, y, m_output.bmWidth, m_output.bmHeight, true, false, -1);
  return 0;
}

HRESULT CExportBitmap::DrawGraphic() { return BlendLayer(m_graphic, m_graphicX, m_graphicY); }
HRESULT CExportBitmap::DrawBackdrop() { return BlendLayer(m_backdrop, m_backdropX, m_backdropY); }

HRESULT CExportBitmap::ThresholdOutput() {
  ThresholdTransparency(static_cast<std::uint32_t*>(m_output.bmBits), m_output.bmWidth, m_output.bmHeight,
                        m_threshold);
  return 0;
}

HRESULT CExportBitmap::Finish() {
  if (!m_output.bmBits) return 0;
  const bool alpha = m_formatCode == kFormatPng && m_bitsPerPixel == 32;
  // Without the conversion the colours would stay premultiplied: report it, never pass them on.
  if (ConvertBitmap32InPlace(static_cast<std::uint32_t*>(m_output.bmBits), m_output.bmWidth, m_output.bmHeight,
                             alpha, m_context) != 0)
    return kResultFail;
  return 0;
}

HRESULT CExportBitmapFromOptions::SetFromOptions(ExportRecord* record) {
  if (!record) {
    BitmapInternalError("ExportBitmapFromOptions", 58);
    return kResultInvalidArg;
  }
  ExportTransparencyOverride scope(record);
  SetPicture(record->GetGraphicType() == kGraphicTypePicture);
  int code = 0;
  switch (record->GetExportType()) {
    case kExportGif: code = kFormatGif; break;
    case kExportJpeg: code = kFormatJpeg; break;
    case 2: code = kFormatOther; break;
    case kExportPng: code = kFormatPng; break;
    default:
      BitmapInternalError("ExportBitmapFromOptions", 58);
      return kResultInvalidArg;
  }
  SetFormat(code, record->GetExportBpp());
  SetTransparent(record->GetTransparent());
  SetThreshold(record->GetTransThreshold() & 0xFF);
  SetBackgroundColour(record->GetBackgroundColour());
  return 0;
}
