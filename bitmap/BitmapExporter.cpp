#include "bitmap/BitmapExporter.h"

#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ExportRecord.h"
#include "bitmap/GifImageExporter.h"
#include "bitmap/JpegImageExporter.h"
#include "bitmap/PngImageExporter.h"
#include "bitmap/bitmapmanip.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#ifdef _WIN32
#include <windows.h>
#endif

IMPLEMENT_DYNAMIC(CBitmapExporter, CObject)
IMPLEMENT_DYNAMIC(CGifBitmapExporter, CBitmapExporter)
IMPLEMENT_DYNAMIC(CPngBitmapExporter, CGifBitmapExporter)
IMPLEMENT_DYNAMIC(CJpegBitmapExporter, CBitmapExporter)

namespace {
const char kSourceName[] = "bitmapexporter";

enum TextId {
  kTextGif = 33223, kTextMultipleGifs = 33224, kTextPng = 33225, kTextMultiplePngs = 33226,
  kTextJpeg = 33227, kTextMultipleJpegs = 33228, kTextAnimatedGif = 33229, kTextNone = 33230,
  kTextYesOneBit = 33231, kTextYesAlpha = 33232, kTextColours4 = 33233, kTextColours8 = 33234,
  kTextTrueColour24 = 33235, kTextTrueColour32 = 33236, kTextOptimisedPalette = 33237,
  kTextDitherNone = 33238, kTextDiffusion = 33239, kTextOrdered = 33240, kTextPixelSize = 33243,
  kTextBytes = 32830, kTextKiloReal = 32831, kTextKiloWhole = 32838,
};

CString Text(int id) { return CString(GetBitmapServices().LoadString(id).c_str()); }

void CopyPath(char (&target)[kExportPathLength], const char* path) {
  std::memset(target, 0, sizeof target);
  if (path) std::strncpy(target, path, kExportPathLength - 1);
}

int RoundHalfAway(double v) { return int(v < 0 ? v - 0.5 : v + 0.5); }

// Deletes a writer that was not handed on.
struct WriterGuard {
  ImageExporter* writer;
  ~WriterGuard() { delete writer; }
  ImageExporter* Release() { ImageExporter* w = writer; writer = nullptr; return w; }
};

void Check(int result) {
  if (result != ImageExporter::kSuccess) throw ImageExporter::Error(result);
}
}  // namespace

CBitmapExporter::~CBitmapExporter() { delete m_pixels; }

CString CBitmapExporter::GetPaletteText() {
  if (m_record && m_record->GetExportBpp() < 9) return Text(kTextOptimisedPalette);
  return CString();
}

CString CBitmapExporter::GetDitherText() {
  if (!m_record || m_record->GetExportBpp() >= 9) return CString();
  switch (m_record->GetExportDither()) {
    case 0: return Text(kTextDitherNone);
    case 1: return Text(kTextOrdered);
    default: return Text(kTextDiffusion);
  }
}

int CBitmapExporter::WritePixels(const std::uint32_t* pixels) {
  const ExportSettings* settings = GetSettings();
  if (!settings || !pixels) return ImageExporter::kBadArgument;
  ImageExporter* writer = nullptr;
  int result = ImageExporter::kSuccess;
  try {
    writer = CreateWriter();
    Check(writer->Open(settings->path));
    BITMAP image{0, settings->width, settings->height, settings->width * 4, 1, 32,
                 const_cast<std::uint32_t*>(pixels)};
    // The writer's own result decides: a failed write is never reported as success.
    Check(writer->WriteImage(&image));
    result = writer->Close();
  } catch (ImageExporter::Error code) {
    result = code;
  } catch (...) {
    result = ImageExporter::kOutOfMemory;
  }
  if (result != ImageExporter::kSuccess && writer) writer->Abort();
  delete writer;
  return result;
}

int CBitmapExporter::ExportToFile(const char* path, int fit) {
  BitmapServices& services = GetBitmapServices();
  ExportRecord* record = services.GetOptions();
  m_record = record;
  if (!record) return 1;
  m_path = path;
  services.CreateFolder(path);
  int width = record->GetPixelWidth(), height = record->GetPixelHeight();
  if (width == 0) width = 200;
  if (height == 0) height = 100;

  const bool picture = record->GetGraphicType() == kGraphicTypePicture;
  const double oldScale = record->GetScale();
  bool scaleChanged = false;
  if (m_thumbnail) {
    double s = oldScale;
    const int type = record->GetGraphicType();
    if (fit) {
      const SIZE output = record->GetOutputSize();
      if (output.cx > 0 && output.cy > 0) {
        const double w = output.cx, h = output.cy;
        const double factor = type == 12 ? std::min(120.0 / w, 120.0 / h) : std::min(w, 500.0) / w;
        s *= factor;
      }
    }
    switch (type) {
      case 1: case 3: case 12: break;
      case 2: case 6: s *= 0.7; break;
      case 4: s *= 0.5; break;
      default: s *= 0.8; break;
    }
    if (s != oldScale) {
      record->SetScale(s);
      scaleChanged = true;
    }
    width = RoundHalfAway(record->GetScaledWidth());
    height = RoundHalfAway(record->GetScaledHeight());
  }
  auto restoreScale = [&] {
    if (scaleChanged) record->SetScale(oldScale);
  };
  if (m_thumbnail || picture) {
    if (!services.RenderPreview(0, 1)) {
      restoreScale();
      return 1;
    }
  }
  const int oldTransparent = record->GetTransparent();
  // Only a real change marks the record modified.
  if (m_thumbnail && oldTransparent != 0) record->SetTransparent(0);

  int result = 0;
  delete m_pixels;
  m_pixels = services.GetRenderedBitmap(width, height);
  if (!m_pixels || !m_pixels->Pixels()) {
    result = 1;
  } else {
    width = m_pixels->Width();
    height = m_pixels->Height();
    const int type = record->GetExportType();
    if (record->GetTransparent() &&
        (type == kExportGif || (type == kExportPng && record->GetExportBpp() < 24)))
      ThresholdTransparency(m_pixels->Pixels(), width, height, record->GetTransThreshold());
    int written = 0;
    if (m_thumbnail && picture) {
      Bitmap32 strip;
      const int stripWidth = 250, stripHeight = 50;
      if (strip.Create(stripWidth, stripHeight) == 0) {
        strip.TileFrom(*m_pixels);
        Export(record, path, stripWidth, stripHeight, m_thumbnail, strip.Pixels());
        written = WritePixels(strip.Pixels());
      } else {
        written = ImageExporter::kOutOfMemory;
      }
    } else {
      Export(record, path, width, height, m_thumbnail, m_pixels->Pixels());
      written = WritePixels(m_pixels->Pixels());
    }
    if (written != 0) result = 1;
  }

  if (record->GetTransparent() != oldTransparent) record->SetTransparent(oldTransparent);
  restoreScale();
  if (m_thumbnail && !picture) services.RenderPreview(0, 1);
  delete m_pixels;
  m_pixels = nullptr;
  return result;
}

#ifdef _WIN32
HGLOBAL CBitmapExporter::CopyToClipboard() {
  BitmapServices& services = GetBitmapServices();
  if (!m_record) m_record = services.GetOptions();
  if (!m_record) return nullptr;
  int width = m_record->GetPixelWidth(), height = m_record->GetPixelHeight();
  if (width == 0) width = 200;
  if (height == 0) height = 100;
  std::unique_ptr<Bitmap32> render(services.GetRenderedBitmap(width, height));
  if (!render || !render->Pixels()) return nullptr;
  width = render->Width();
  height = render->Height();
  // Pack in place into 24-bit rows padded to 4 bytes (each row is shorter than its source).
  const int rowBytes = (width * 3 + 3) & ~3;
  BYTE* bytes = reinterpret_cast<BYTE*>(render->Pixels());
  for (int y = 0; y < height; ++y) {
    const BYTE* src = bytes + std::size_t(y) * width * 4;
    BYTE* dst = bytes + std::size_t(y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const BYTE b = src[4 * x], g = src[4 * x + 1], r = src[4 * x + 2];
      dst[3 * x] = b;
      dst[3 * x + 1] = g;
      dst[3 * x + 2] = r;
    }
    for (int x = width * 3; x < rowBytes; ++x) dst[x] = 0;
  }
  const std::size_t packed = std::size_t(rowBytes) * height;
  if (packed == 0) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(BITMAPINFOHEADER) + packed);
  if (!block) return nullptr;
  BYTE* target = static_cast<BYTE*>(GlobalLock(block));
  if (!target) {
    GlobalFree(block);
    return nullptr;
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  std::memcpy(target, &header, sizeof header);
  std::memcpy(target + sizeof header, bytes, packed);
  GlobalUnlock(block);
  return block;
}
#endif

// ---------------------------------------------------------------------------------------------
// GIF

int CGifBitmapExporter::CheckOptions() { return m_record && m_record->GetTransparent() ? 0 : 1; }

int CGifBitmapExporter::Export(ExportRecord* record, const char* path, int width, int height, int thumbnail,
                               const std::uint32_t* pixels) {
  m_width = width;
  m_height = height;
  m_settings = PaletteExportSettings{};
  CopyPath(m_settings.path, path);
  if (!record) return 1;
  const int dither = record->GetExportDither();
  m_settings.dither = dither == 0   ? kDitherSettingNone
                      : dither == 1 ? (record->GetGifPaletteSize() == 16 ? kDitherSettingDiffusion
                                                                         : kDitherSettingOrdered)
                                    : kDitherSettingDiffusion;
  m_settings.bitsPerPixel = record->GetExportBpp();
  m_settings.kind = kSettingsPalette;
  m_settings.width = width;
  m_settings.height = height;
  m_settings.transparent = record->GetTransparent();
  m_settings.interlace =
      record->GetPixelWidth() < 8 || record->GetPixelHeight() < 8 ? 0 : record->GetInterlaced();
  m_settings.paletteKind = record->GetExportPalette() == 0 ? kPaletteStandard : kPaletteOptimised;
  if (thumbnail) {
    m_settings.bitsPerPixel = 4;
    m_settings.paletteKind = kPaletteOptimised;
    m_settings.dither = kDitherSettingDiffusion;
    m_settings.transparent = 0;
    m_settings.interlace = 0;
    m_settings.colourCount = 0;
    m_settings.paletteSize = 16;
  } else if (record->GetExportPalette() != 0) {
    m_settings.colourCount = 0;
    m_settings.paletteSize = record->GetGifPaletteSize();
  } else if (pixels) {
    m_settings.colourCount = m_settings.paletteSize = m_settings.bitsPerPixel == 8 ? 256 : 16;
  }
  return 1;
}

CString CGifBitmapExporter::GetFormatText(bool multiple) {
  if (!m_record) return CString();
  if (m_record->GetStateCount() >= 2) return Text(kTextAnimatedGif);
  return Text(multiple ? kTextMultipleGifs : kTextGif);
}

bool CGifBitmapExporter::WillBeTransparent() const {
  // A bar's preview page asks before this exporter wrote anything: then the record says.
  if (m_settings.kind == kSettingsPalette) return m_settings.transparent != 0;
  return m_record && !m_thumbnail && m_record->GetTransparent() != 0;
}

CString CGifBitmapExporter::GetTransparencyText() {
  return Text(WillBeTransparent() ? kTextYesOneBit : kTextNone);
}

CString CGifBitmapExporter::GetColourDepthText() {
  if (!m_record) return CString();
  return FormatColourDepth(m_record->GetExportBpp(), m_record->GetGifPaletteSize());
}

namespace {
// The GIF and PNG writers are set up alike from the palette settings.
template <class Writer>
ImageExporter* CreatePaletteWriter(const PaletteExportSettings& settings, ExportRecord* record) {
  auto* writer = new Writer;
  WriterGuard guard{writer};
  Check(AttachTessroContext(writer));
  Check(writer->SetBitDepth(settings.bitsPerPixel));
  writer->interlace = settings.interlace != 0;
  Check(ConfigureWriter(&settings, writer, record));
  return guard.Release();
}
}  // namespace

ImageExporter* CGifBitmapExporter::CreateWriter() {
  return CreatePaletteWriter<GifImageExporter>(m_settings, m_record);
}

// ---------------------------------------------------------------------------------------------
// PNG

int CPngBitmapExporter::Export(ExportRecord* record, const char* path, int width, int height, int thumbnail,
                               const std::uint32_t* pixels) {
  m_width = width;
  m_height = height;
  m_settings = PaletteExportSettings{};
  CopyPath(m_settings.path, path);
  if (!record) return 1;
  const int bits = record->GetExportBpp();
  const int paletteSize = record->GetPngPaletteSize();
  m_settings.bitsPerPixel = bits;
  m_settings.kind = kSettingsPalette;
  m_settings.width = width;
  m_settings.height = height;
  m_settings.transparent = bits < 32 ? record->GetTransparent() : 0;
  m_settings.interlace =
      record->GetPixelWidth() < 8 || record->GetPixelHeight() < 8 ? 0 : record->GetInterlaced();
  if (bits <= 8) {
    const int dither = record->GetExportDither();
    m_settings.dither = dither == 0   ? kDitherSettingNone
                        : dither == 1 ? (paletteSize <= 16 ? kDitherSettingDiffusion : kDitherSettingOrdered)
                                      : kDitherSettingDiffusion;
    m_settings.paletteKind = record->GetExportPalette() == 0 ? kPaletteStandard : kPaletteOptimised;
    if (thumbnail) {
      m_settings.bitsPerPixel = 4;
      m_settings.paletteKind = kPaletteOptimised;
      m_settings.dither = kDitherSettingDiffusion;
      m_settings.transparent = 0;
      m_settings.interlace = 0;
      m_settings.colourCount = 0;
      m_settings.paletteSize = 16;
    } else if (record->GetExportPalette() != 0) {
      m_settings.colourCount = m_settings.paletteSize = paletteSize;
    } else {
      m_settings.paletteSize = paletteSize;
      m_settings.colourCount = bits == 8 ? paletteSize : 16;
    }
  }
  return 1;
}

CString CPngBitmapExporter::GetFormatText(bool multiple) {
  if (!m_record) return CString();
  return Text(multiple ? kTextMultiplePngs : kTextPng);
}

CString CPngBitmapExporter::GetTransparencyText() {
  const int bits = m_settings.kind == kSettingsPalette ? m_settings.bitsPerPixel
                   : m_record && !m_thumbnail        ? m_record->GetExportBpp()
                                                     : 0;
  if (bits == 32) return Text(kTextYesAlpha);
  if ((bits == 4 || bits == 8) && WillBeTransparent()) return Text(kTextYesOneBit);
  return Text(kTextNone);
}

CString CPngBitmapExporter::GetColourDepthText() {
  if (!m_record) return CString();
  const int bits = m_record->GetExportBpp();
  return FormatColourDepth(bits, bits > 8 ? 0 : m_settings.colourCount);
}

ImageExporter* CPngBitmapExporter::CreateWriter() {
  return CreatePaletteWriter<PngImageExporter>(m_settings, m_record);
}

// ---------------------------------------------------------------------------------------------
// JPEG

int CJpegBitmapExporter::Export(ExportRecord* record, const char* path, int width, int height, int thumbnail,
                                const std::uint32_t* pixels) {
  m_width = width;
  m_height = height;
  m_settings = JpegExportSettings{};
  CopyPath(m_settings.path, path);
  m_settings.kind = kSettingsJpeg;
  m_settings.width = width;
  m_settings.height = height;
  m_settings.bitsPerPixel = 24;
  m_settings.quality = record ? record->GetJpegQuality() : 75;
  m_settings.progressive = 0;
  return 1;
}

CString CJpegBitmapExporter::GetFormatText(bool multiple) {
  if (!m_record) return CString();
  return Text(multiple ? kTextMultipleJpegs : kTextJpeg);
}

CString CJpegBitmapExporter::GetColourDepthText() {
  if (!m_record) return CString();
  return FormatColourDepth(24);
}

ImageExporter* CJpegBitmapExporter::CreateWriter() {
  auto* jpeg = new JpegImageExporter;
  WriterGuard guard{jpeg};
  Check(AttachTessroContext(jpeg));
  Check(jpeg->SetBitDepth(8));
  Check(jpeg->SetQuality(m_settings.quality));
  jpeg->progressive = m_settings.progressive != 0;
  return guard.Release();
}

// ---------------------------------------------------------------------------------------------

CBitmapExporter* CreateExporter(ExportRecord* record, int thumbnail) {
  if (!record) record = GetBitmapServices().GetOptions();
  if (!record) return nullptr;
  CBitmapExporter* exporter = nullptr;
  switch (record->GetExportType()) {
    case kExportGif: exporter = new (std::nothrow) CGifBitmapExporter; break;
    case kExportJpeg: exporter = new (std::nothrow) CJpegBitmapExporter; break;
    case kExportPng: exporter = new (std::nothrow) CPngBitmapExporter; break;
    default: return nullptr;
  }
  if (!exporter) return nullptr;
  exporter->SetRecord(record);
  exporter->SetThumbnail(record->GetGraphicType() == kGraphicTypePicture ? 0 : thumbnail);
  return exporter;
}

int ConfigureWriter(const ExportSettings* base, ImageExporter* writer, ExportRecord* record) {
  if (!base) {
    BitmapInternalError(kSourceName, 473);
    return ImageExporter::kBadArgument;
  }
  if (!writer) {
    BitmapInternalError(kSourceName, 474);
    return ImageExporter::kBadArgument;
  }
  const auto* settings = static_cast<const PaletteExportSettings*>(base);
  const int bits = settings->bitsPerPixel;
  int result = ImageExporter::kSuccess;
  if (bits == 32 || (bits != 24 && settings->transparent)) result = writer->EnableTransparency();
  if (result != ImageExporter::kSuccess) return result;
  int mode = 0;
  if (bits <= 8) mode = settings->dither == kDitherSettingOrdered ? 1 : settings->dither == kDitherSettingDiffusion ? 2 : 0;
  result = writer->SetDitherMode(mode);
  if (result != ImageExporter::kSuccess || bits > 8) return result;
  result = writer->SetPaletteSize(settings->colourCount ? settings->colourCount : settings->paletteSize);
  if (result != ImageExporter::kSuccess) return result;
  if (!settings->transparent && record && record->GetUserBitmapGeneration() == 0) {
    result = AddFixedPaletteColour(writer, record->GetBackgroundColour());
    if (result != ImageExporter::kSuccess) return result;
  }
  // Prepare allocates the quantiser ahead with the standard colours still off; the write
  // builds its palette with them on (and keeps that quantiser).
  result = writer->Prepare();
  if (result != ImageExporter::kSuccess) return result;
  if (settings->paletteKind == kPaletteStandard) writer->SetStandardColours(true);
  return ImageExporter::kSuccess;
}

int AttachTessroContext(ImageExporter* writer) {
  if (!writer) return ImageExporter::kBadArgument;
  return writer->SetTessroContext(GetBitmapServices().GetTessroContext());
}

int AddFixedPaletteColour(ImageExporter* writer, COLORREF colour) {
  if (!writer) {
    BitmapInternalError(kSourceName, 3196);
    return ImageExporter::kBadArgument;
  }
  writer->AddFixedColour(PALETTEENTRY{GetRValue(colour), GetGValue(colour), GetBValue(colour), 0});
  return ImageExporter::kSuccess;
}

CString FormatColourDepth(int bits, int colours) {
  CString text;
  switch (bits) {
    case 4:
    case 8: {
      text = Text(bits == 4 ? kTextColours4 : kTextColours8);
      char number[16];
      std::snprintf(number, sizeof number, "%d", colours);
      text.Replace("%1!d!", number);
      break;
    }
    case 24: text = Text(kTextTrueColour24); break;
    case 32: text = Text(kTextTrueColour32); break;
    default: break;
  }
  return text;
}

bool FormatFileSize(std::uint64_t bytes, CString* text, bool wholeK) {
  if (!text) return false;
  if (bytes <= 1024) {
    text->Format(Text(kTextBytes), int(bytes));
  } else if (wholeK) {
    text->Format(Text(kTextKiloWhole), int(bytes / 1024));
  } else {
    text->Format(Text(kTextKiloReal), double(bytes) / 1024.0);
  }
  return true;
}

bool FormatPixelSize(ExportRecord* record, CString* text) {
  if (!text) return false;
  if (!record) return true;
  // Sizes are kept at scale 1: output size plus the shadow's margin, at the record's scale.
  const SIZE output = record->GetOutputSize();
  const double margin = record->GetShadowWidthMargin();
  const int width = RoundHalfAway((output.cx + margin) * record->GetScale());
  const int height = RoundHalfAway((output.cy + margin) * record->GetScale());
  const CString format = text->IsEmpty() ? Text(kTextPixelSize) : *text;
  text->Format(format, width, height);
  return true;
}

std::uint64_t GetPathFileSize(const char* path) {
  if (!path) return 0;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return 0;
  std::uint64_t size = 0;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long end = std::ftell(file);
    if (end > 0) size = std::uint64_t(end);
  }
  std::fclose(file);
  return size;
}

int CheckExporterAvailable() { return 1; }
