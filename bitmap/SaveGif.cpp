#include "bitmap/SaveGif.h"

#include "bitmap/AnimationRenderer.h"
#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ExportRecord.h"
#include "bitmap/GifImageExporter.h"
#include "bitmap/JpegImageExporter.h"
#include "bitmap/PngImageExporter.h"

#include <memory>
#include <new>
#include <vector>

namespace {
const char kSourceName[] = "SaveGif";
constexpr int kMessageExportFailed = 32907;
constexpr int kButtonOk = 10020;

int DitherModeFromRecord(const ExportRecord& record) {
  const int dither = record.GetExportDither();
  return dither == 1 ? 1 : dither == 2 ? 2 : 0;
}

bool SmallForInterlace(const ExportRecord& record) {
  return record.GetPixelWidth() < 8 || record.GetPixelHeight() < 8;
}

// Writes the given image, or a fresh render, and finishes the file: 1 only when every step
// succeeded; a failed write leaves no file.
int WriteAndClose(ImageExporter& writer, const Bitmap32* image, const ExportRecord& record) {
  std::unique_ptr<Bitmap32> render;
  if (!image) {
    render.reset(GetBitmapServices().GetRenderedBitmap(record.GetPixelWidth(), record.GetPixelHeight()));
    image = render.get();
  }
  if (!image || !image->Pixels()) {
    writer.Abort();
    return 0;
  }
  BITMAP bitmap{0, image->Width(), image->Height(), image->Width() * 4, 1, 32,
                const_cast<std::uint32_t*>(image->Pixels())};
  if (writer.WriteImage(&bitmap) != ImageExporter::kSuccess) {
    writer.Abort();
    return 0;
  }
  return writer.Close() == ImageExporter::kSuccess ? 1 : 0;
}

template <typename Writer>
int SavePaletteFormat(const char* path, const Bitmap32* image, bool gif) {
  ExportRecord* record = GetBitmapServices().GetOptions();
  if (!record) return 0;
  Writer writer;
  if (AttachTessroContext(&writer) != 0 || writer.Open(path) != 0) return 0;
  writer.SetBitDepth(record->GetExportBpp());
  writer.SetPaletteSize(gif ? record->GetGifPaletteSize() : record->GetPngPaletteSize());
  writer.SetDitherMode(DitherModeFromRecord(*record));
  if (record->GetTransparent()) writer.EnableTransparency();
  writer.interlace = record->GetInterlaced() && !SmallForInterlace(*record);
  ApplyExportBackground(&writer, record);
  return WriteAndClose(writer, image, *record);
}

// Restores the preview and the cursor and frees the rendered frames on every way out.
struct AnimationSaveScope {
  BitmapServices& services;
  bool waitCursor = false;
  bool paintSuspended = false;
  std::vector<std::unique_ptr<Bitmap32>> frames;
  ~AnimationSaveScope() {
    if (paintSuspended) services.EnablePreviewPaint(true);
    if (waitCursor) services.EndWaitCursor();
  }
};
}  // namespace

int ApplyExportBackground(ImageExporter* writer, ExportRecord* record) {
  if (!record) return 1;
  if (record->GetExportBpp() <= 8 && !record->GetTransparent() && record->GetUserBitmapGeneration() == 0)
    return AddFixedPaletteColour(writer, record->GetBackgroundColour()) == 0 ? 1 : 0;
  return 1;
}

int SaveGif(const char* path, const Bitmap32* image) {
  return SavePaletteFormat<GifImageExporter>(path, image, true);
}

int SavePng(const char* path, const Bitmap32* image) {
  return SavePaletteFormat<PngImageExporter>(path, image, false);
}

int SaveJpeg(const char* path, const Bitmap32* image) {
  ExportRecord* record = GetBitmapServices().GetOptions();
  if (!record) return 0;
  JpegImageExporter writer;
  if (AttachTessroContext(&writer) != 0 || writer.Open(path) != 0) return 0;
  writer.SetQuality(record->GetJpegQuality());
  writer.progressive = record->GetInterlaced() && !SmallForInterlace(*record);
  writer.SetBitDepth(8);
  return WriteAndClose(writer, image, *record);
}

int SaveGraphic(const char* path, const Bitmap32* image) {
  ExportRecord* record = GetBitmapServices().GetOptions();
  if (!record) return 0;
  if (image && record->GetStateCount() > 1) return SaveAnimatedGif(path, false);
  switch (record->GetExportType()) {
    case kExportGif: return SaveGif(path, image);
    case kExportJpeg: return SaveJpeg(path, image);
    case kExportPng: return SavePng(path, image);
    default: return 0;
  }
}

int SaveAnimatedGif(const char* path, bool showWaitCursor) {
  BitmapServices& services = GetBitmapServices();
  AnimationSaveScope scope{services};
  if (showWaitCursor) scope.waitCursor = services.BeginWaitCursor();

  ExportRecord* record = services.GetOptions();
  if (!record || !services.HasOperationsManager()) {
    BitmapInternalError(kSourceName, 63);
    return 0;
  }
  CAnimationRenderer* preview = services.GetAnimationRenderer();
  if (!preview) {
    BitmapInternalError(kSourceName, 66);
    return 0;
  }
  preview->RemoveAllFrames();
  const int stateCount = record->GetStateCount();
  std::vector<int> delays;
  try {
    scope.frames.reserve(std::size_t(stateCount > 0 ? stateCount : 0));
  } catch (...) {
    BitmapInternalError(kSourceName, 85);
    return 0;
  }
  try {
    delays.reserve(std::size_t(stateCount > 0 ? stateCount : 0));
  } catch (...) {
    BitmapInternalError(kSourceName, 95);
    return 0;
  }

  AnimatedGifImageExporter writer;
  if (AttachTessroContext(&writer) != 0 || writer.Open(path) != 0) {
    services.InformWarning(kMessageExportFailed, kButtonOk);
    return 0;
  }
  bool ok = writer.SetBitDepth(8) == 0 && writer.SetPaletteSize(record->GetGifPaletteSize()) == 0 &&
            writer.SetOption(1) == 0 && writer.SetDisposal(1) == 0 && writer.EnableTransparency() == 0;
  if (ok && record->GetExportPalette() == 0) writer.SetWebSafeOnly(true);
  ok = ok && writer.Prepare() == 0;

  services.EnablePreviewPaint(false);
  scope.paintSuspended = true;
  for (int state = 1; ok && state <= stateCount; ++state) {
    record->SelectState(state, 0);
    services.RenderWithFlags(1, 0);
    const int delay = record->GetCurrentStateDelay();
    std::unique_ptr<Bitmap32> frame(services.GetRenderedBitmap(record->GetPixelWidth(), record->GetPixelHeight()));
    if (!frame || !frame->Pixels()) {
      ok = false;
      break;
    }
    if (!scope.frames.empty()) {
      const Bitmap32& previous = *scope.frames.back();
      if (frame->Width() != previous.Width() || frame->Height() != previous.Height()) {
        BitmapInternalError(kSourceName, frame->Width() != previous.Width() ? 166 : 167);
        writer.Abort();
        return 0;
      }
    }
    BITMAP image{0, frame->Width(), frame->Height(), frame->Width() * 4, 1, 32, frame->Pixels()};
    ok = writer.AddToPalette(&image) == 0;
    scope.frames.push_back(std::move(frame));
    delays.push_back(delay);
  }
  services.EnablePreviewPaint(true);
  scope.paintSuspended = false;
  ok = ok && !scope.frames.empty();

  struct {
    LOGPALETTE header;
    PALETTEENTRY more[255];
  } palette;
  palette.header.palVersion = ImageExporter::kPaletteVersion;
  palette.header.palNumEntries = WORD(record->GetGifPaletteSize() > 0 && record->GetGifPaletteSize() <= 256
                                          ? record->GetGifPaletteSize()
                                          : 256);
  PALETTEENTRY* entries = palette.header.palPalEntry;
  for (int i = 0; i < ImageExporter::kMaxPaletteEntries; ++i) entries[i] = ImageExporter::kFillerEntry;
  ok = ok && writer.BuildPalette(&palette.header) == 0;
  // Dithering only now: the settings captured by Prepare had to hold for BuildPalette.
  ok = ok && writer.SetDitherMode(DitherModeFromRecord(*record)) == 0;
  if (ok) {
    writer.loop = 0;
    ok = writer.WriteHeader(&palette.header) == 0;
    for (std::size_t i = 0; ok && i < scope.frames.size(); ++i) {
      Bitmap32& frame = *scope.frames[i];
      BITMAP image{0, frame.Width(), frame.Height(), frame.Width() * 4, 1, 32, frame.Pixels()};
      writer.delay = delays[i];
      ok = writer.AddFrame(&image) == 0;
    }
  }
  if (ok) {
    ok = writer.Close() == 0;
  } else {
    writer.Abort();
  }

  if (ok) {
    ok = preview->SetPalette(&palette.header) != 0;
    for (std::size_t i = 0; ok && i < scope.frames.size(); ++i) {
      Bitmap32& frame = *scope.frames[i];
      BITMAP source{0, frame.Width(), frame.Height(), frame.Width() * 4, 1, 32, frame.Pixels()};
      BITMAP converted{};
      ok = writer.AllocateImage(&source, &converted, 8) == 0 &&
           writer.ConvertImage(&source, &converted, &palette.header) == 0 && preview->AddFrame(&converted) != 0;
      ImageExporter::FreeImage(&converted);
    }
  }
  if (!ok) {
    BitmapInternalError(kSourceName, 285);
    return 0;
  }
  return 1;
}
