// Exporters: turn the current graphic into an image file of the record's export type (render,
// derive a settings block, create and configure the matching writer, write the pixels), and
// supply the short texts the output panel shows about the export. Short-lived: create one
// (CreateExporter), use it for one export or one set of texts, delete it.
#pragma once

#include "bitmap/ImageExporter.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <cstdint>

class Bitmap32;
class ExportRecord;

constexpr int kExportPathLength = 256;

// The settings block an exporter derives from the record.
struct ExportSettings {
  char path[kExportPathLength];
  int kind;  // 1 GIF or PNG, 2 JPEG
  int width;
  int height;
  int bitsPerPixel;
};

struct PaletteExportSettings : ExportSettings {
  int transparent;
  int interlace;
  int dither;         // 1 none, 2 ordered, 3 error diffusion
  int paletteSize;
  int paletteKind;    // 1 standard, 2 optimised
  int colourCount;    // 0: use the palette size
};

struct JpegExportSettings : ExportSettings {
  int quality;
  int progressive;
};

enum ExportSettingsKind { kSettingsPalette = 1, kSettingsJpeg = 2 };
enum ExportDitherSetting { kDitherSettingNone = 1, kDitherSettingOrdered = 2, kDitherSettingDiffusion = 3 };
enum ExportPaletteKind { kPaletteStandard = 1, kPaletteOptimised = 2 };

class CBitmapExporter : public CObject {
  DECLARE_DYNAMIC(CBitmapExporter)
public:
  ~CBitmapExporter() override;

  virtual int CheckOptions() { return 1; }
  virtual int Export(ExportRecord* record, const char* path, int width, int height, int thumbnail,
                     const std::uint32_t* pixels) {
    return 1;
  }
  virtual int GetSettingsSize() const { return int(sizeof(ExportSettings)); }
  // Writes the settings' width x height pixels to the settings' path: 0, or the writer's code.
  virtual int WritePixels(const std::uint32_t* pixels);
  virtual CString GetFormatText(bool multiple) = 0;
  virtual CString GetTransparencyText() = 0;
  virtual CString GetPaletteText();
  virtual CString GetColourDepthText() = 0;
  virtual CString GetDitherText();
  virtual int GetQuality() { return -1; }
  virtual ExportSettings* GetSettings() = 0;
  // A configured writer for the settings; throws ImageExporter::Error when a step fails.
  virtual ImageExporter* CreateWriter() = 0;

  // Renders the current graphic and writes it: 0, or 1 when there is no record, the render
  // fails or the file could not be written.
  int ExportToFile(const char* path, int fit);
#ifdef _WIN32
  // A global memory block holding a packed 24-bit DIB of the graphic, or null.
  HGLOBAL CopyToClipboard();
#endif

  void SetRecord(ExportRecord* record) { m_record = record; }
  ExportRecord* Record() const { return m_record; }
  void SetThumbnail(int thumbnail) { m_thumbnail = thumbnail; }
  int Thumbnail() const { return m_thumbnail; }

protected:
  CBitmapExporter() = default;

  Bitmap32* m_pixels = nullptr;
  ExportRecord* m_record = nullptr;
  CString m_path;
  int m_thumbnail = 0;
  int m_width = 0;
  int m_height = 0;
};

class CGifBitmapExporter : public CBitmapExporter {
  DECLARE_DYNAMIC(CGifBitmapExporter)
public:
  int CheckOptions() override;
  int Export(ExportRecord* record, const char* path, int width, int height, int thumbnail,
             const std::uint32_t* pixels) override;
  int GetSettingsSize() const override { return int(sizeof(PaletteExportSettings)); }
  CString GetFormatText(bool multiple) override;
  CString GetTransparencyText() override;
  CString GetColourDepthText() override;
  ExportSettings* GetSettings() override { return &m_settings; }
  ImageExporter* CreateWriter() override;

protected:
  bool WillBeTransparent() const;
  PaletteExportSettings m_settings{};
};

class CPngBitmapExporter : public CGifBitmapExporter {
  DECLARE_DYNAMIC(CPngBitmapExporter)
public:
  int CheckOptions() override { return 1; }
  int Export(ExportRecord* record, const char* path, int width, int height, int thumbnail,
             const std::uint32_t* pixels) override;
  CString GetFormatText(bool multiple) override;
  CString GetTransparencyText() override;
  CString GetColourDepthText() override;
  ImageExporter* CreateWriter() override;
};

class CJpegBitmapExporter : public CBitmapExporter {
  DECLARE_DYNAMIC(CJpegBitmapExporter)
public:
  int Export(ExportRecord* record, const char* path, int width, int height, int thumbnail,
             const std::uint32_t* pixels) override;
  int GetSettingsSize() const override { return int(sizeof(JpegExportSettings)); }
  CString GetFormatText(bool multiple) override;
  CString GetTransparencyText() override { return CString(); }
  CString GetColourDepthText() override;
  CString GetDitherText() override { return CString(); }
  int GetQuality() override { return m_settings.quality; }
  ExportSettings* GetSettings() override { return &m_settings; }
  ImageExporter* CreateWriter() override;

private:
  JpegExportSettings m_settings{};
};

// A new exporter for the record's export type (0 GIF, 1 JPEG, 4 PNG), null for any other type.
// A null record means the current one. The caller deletes it.
CBitmapExporter* CreateExporter(ExportRecord* record, int thumbnail);
int ConfigureWriter(const ExportSettings* settings, ImageExporter* writer, ExportRecord* record);
int AttachTessroContext(ImageExporter* writer);
int AddFixedPaletteColour(ImageExporter* writer, COLORREF colour);
CString FormatColourDepth(int bits, int colours = 0);
bool FormatFileSize(std::uint64_t bytes, CString* text, bool wholeK);
bool FormatPixelSize(ExportRecord* record, CString* text);
std::uint64_t GetPathFileSize(const char* path);
int CheckExporterAvailable();
