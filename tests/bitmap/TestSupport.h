// Fakes of the application for the export tests: an option record, services that render
// prepared pictures, and helpers for temporary files and pictures.
#pragma once

#include "bitmap/AnimationRenderer.h"
#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ExportRecord.h"
#include "tests/bitmap/ReferenceConversion.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

struct FakeRecord : ExportRecord {
  int exportType = 0, exportBpp = 8, exportDither = 0, exportPalette = 1, gifPaletteSize = 256,
      pngPaletteSize = 256, jpegQuality = 75, interlaced = 0, transparent = 0, transThreshold = 254,
      graphicType = 0, userBitmap = 0, pixelWidth = 16, pixelHeight = 16, stateCount = 1, currentState = 1;
  COLORREF background = 0x00FFFFFF;
  double scale = 1.0;
  SIZE outputSize{16, 16};
  std::vector<int> delays{10, 20, 30, 40};
  int transparentWrites = 0;  // each marks the record modified

  int GetExportType() const override { return exportType; }
  int GetExportBpp() const override { return exportBpp; }
  int GetExportDither() const override { return exportDither; }
  int GetExportPalette() const override { return exportPalette; }
  int GetGifPaletteSize() const override { return gifPaletteSize; }
  int GetPngPaletteSize() const override { return pngPaletteSize; }
  int GetJpegQuality() const override { return jpegQuality; }
  int GetInterlaced() const override { return interlaced; }
  int GetTransparent() const override { return transparent; }
  void SetTransparent(int value) override {
    transparent = value;
    ++transparentWrites;
  }
  int GetTransThreshold() const override { return transThreshold; }
  COLORREF GetBackgroundColour() const override { return background; }
  int GetGraphicType() const override { return graphicType; }
  int GetUserBitmapGeneration() const override { return userBitmap; }
  int GetPixelWidth() const override { return pixelWidth; }
  int GetPixelHeight() const override { return pixelHeight; }
  double GetScale() const override { return scale; }
  void SetScale(double value) override { scale = value; }
  SIZE GetOutputSize() const override { return outputSize; }
  double GetShadowWidthMargin() const override { return 0; }
  double GetScaledWidth() const override { return outputSize.cx * scale; }
  double GetScaledHeight() const override { return outputSize.cy * scale; }
  int GetStateCount() const override { return stateCount; }
  void SelectState(int state, int) override { currentState = state; }
  int GetCurrentStateDelay() const override { return delays[std::size_t(currentState - 1) % delays.size()]; }
};

struct FakeServices : BitmapServices {
  FakeRecord* record = nullptr;
  ReferenceConversion conversion;
  CAnimationRenderer animation;
  bool hasAnimation = true;
  // The picture "rendered" for each state (1-based; state 1 also for single renders).
  std::vector<std::vector<std::uint32_t>> statePixels;
  std::vector<std::pair<int, int>> stateSizes;
  std::vector<std::pair<std::string, int>> internalErrors;
  int renderedBitmapsOut = 0;  // handed out and not yet deleted is the caller's business
  int paintDisabled = 0;
  bool waitCursor = false;
  int warnings = 0;

  FakeServices() { previous = SetBitmapServices(this); }
  ~FakeServices() override { SetBitmapServices(previous); }

  void InternalError(const char* source, int line) override { internalErrors.emplace_back(source, line); }
  TessroConversion* GetTessroContext() override { return &conversion; }
  ExportRecord* GetOptions() override { return record; }
  bool RenderPreview(int, int) override { return !statePixels.empty(); }
  bool RenderWithFlags(int, int) override { return !statePixels.empty(); }
  Bitmap32* GetRenderedBitmap(int, int) override {
    if (statePixels.empty()) return nullptr;
    const std::size_t state = record ? std::size_t(record->currentState - 1) % statePixels.size() : 0;
    auto* bitmap = new Bitmap32;
    const auto size = stateSizes[state];
    std::vector<std::uint32_t> words = statePixels[state];
    words.resize(words.size() + kBitmap32SpareWords);
    bitmap->CreateFromPixels(size.first, size.second, words.data());
    ++renderedBitmapsOut;
    return bitmap;
  }
  void EnablePreviewPaint(bool enable) override { paintDisabled += enable ? -1 : 1; }
  bool HasOperationsManager() override { return true; }
  CAnimationRenderer* GetAnimationRenderer() override { return hasAnimation ? &animation : nullptr; }
  bool BeginWaitCursor() override { return waitCursor = true; }
  void EndWaitCursor() override { waitCursor = false; }
  void InformWarning(int, int) override { ++warnings; }

  void SetStates(std::vector<std::vector<std::uint32_t>> pixels, int width, int height) {
    statePixels = std::move(pixels);
    stateSizes.assign(statePixels.size(), {width, height});
  }

private:
  BitmapServices* previous = nullptr;
};

// A fresh path in the test's working directory; the file is removed when it goes.
struct TempPath {
  explicit TempPath(const std::string& name) : path("bw_bitmap_test_" + name) { std::remove(path.c_str()); }
  ~TempPath() {
    std::remove(path.c_str());
    std::remove((path + ".tmp").c_str());
  }
  bool Exists() const {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
  }
  std::string path;
};

inline BITMAP ImageOf(std::vector<std::uint32_t>& pixels, int width, int height) {
  return BITMAP{0, width, height, width * 4, 1, 32, pixels.data()};
}

// A deterministic picture of exactly `colours` distinct opaque colours (when it has room for
// them), in runs of equal pixels as in real graphics.
inline std::vector<std::uint32_t> PatternPicture(int width, int height, int colours, std::uint32_t seed = 1,
                                                 std::size_t maxRun = 7) {
  std::vector<std::uint32_t> palette;
  std::uint32_t state = seed * 2654435761u + 12345u;
  for (int i = 0; i < colours; ++i) {
    state = state * 1664525u + 1013904223u;
    palette.push_back((state >> 8) & 0x00FFFFFFu);
  }
  std::vector<std::uint32_t> pixels(std::size_t(width) * height);
  std::size_t run = pixels.size() / std::size_t(colours);
  run = run < 1 ? 1 : run > maxRun ? maxRun : run;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::size_t k = i / run;
    // Every colour once in order, then in a scrambled order.
    const std::size_t pick = k < std::size_t(colours) ? k : (k * 2654435761u >> 7) % std::size_t(colours);
    pixels[i] = palette[pick];
  }
  return pixels;
}
