// Selecting the target bitmap, antialiasing and the transform.
#include "tessro3d/Tessro3DTarget.h"

#include <cstring>

#include "tessro3d/Tessro3DPalette.h"

namespace tessro3d {

void GrowChangedRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  std::int32_t* r = g_state.changedRect;
  if (x0 < r[0]) r[0] = x0;
  if (y0 < r[1]) r[1] = y0;
  if (x1 > r[2]) r[2] = x1;
  if (y1 > r[3]) r[3] = y1;
}

namespace {

void SelectTarget(const BITMAPINFOHEADER* h, void* pixels, std::uint32_t ditherMode) {
  if (!h) Fail(kErrBadParameters);
  if (h->biPlanes != 1) Fail(kErrBadBitmap);
  if (static_cast<std::uint32_t>(h->biWidth) > std::uint32_t(kLargestSide) ||
      static_cast<std::uint32_t>(h->biHeight) > std::uint32_t(kLargestSide))
    Fail(kErrBadBitmap);
  const std::int32_t width = h->biWidth, height = h->biHeight;
  g_state.targetWidth = width;
  g_state.targetWidthFixed = width * kDeviceOne;
  g_state.clipRect[2] = width;
  g_state.clipRectFixed[2] = width * kDeviceOne;
  switch (h->biBitCount) {
    case 32: g_state.targetFormat = h->biCompression == 0x80000001u ? kFormat32Alt : kFormat32; break;
    case 16: g_state.targetFormat = kFormat16; break;
    case 8: g_state.targetFormat = kFormat8; break;
    case 4: g_state.targetFormat = kFormat4; break;
    case 1: g_state.targetFormat = kFormat1; break;
    default: Fail(kErrBadBitmap);
  }
  g_state.targetStride = (width * h->biBitCount + 31) / 32 * 4;
  g_state.targetHeight = height;
  g_state.targetHeightFixed = height * kDeviceOne;
  g_state.clipRect[3] = height;
  g_state.clipRectFixed[3] = height * kDeviceOne;
  g_state.clipRect[0] = g_state.clipRect[1] = 0;
  g_state.clipRectFixed[0] = g_state.clipRectFixed[1] = 0;
  g_state.clipRegion = 0;
  g_state.fillStyle = kFillNone;
  ClearFlatColourCache();
  g_state.matrix = TessroMatrix{0x4000, 0, 0, -0x4000, 0, std::int64_t(height) << 30};
  g_state.changedRect[0] = g_state.changedRect[1] = kEmptyMin;
  g_state.changedRect[2] = g_state.changedRect[3] = kEmptyMax;
  g_state.targetRows = PointerWord(pixels);
  g_state.ditherMode = ditherMode > 3 ? 2 : ditherMode;
}

}  // namespace
}  // namespace tessro3d

using namespace tessro3d;

extern "C" {

std::int32_t TESSRO3D_CALL Tessro3DSetBitmap(const BITMAPINFOHEADER* header, void* pixels, std::uint32_t ditherMode) {
  return Guard([&] {
    SelectTarget(header, pixels, ditherMode);
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DSetInvertedBitmap(const BITMAPINFOHEADER* header, void* pixels, std::uint32_t ditherMode) {
  return Guard([&] {
    SelectTarget(header, pixels, ditherMode);
    if (pixels && g_state.targetHeight > 0) {
      auto* last = static_cast<std::uint8_t*>(pixels) + std::ptrdiff_t(g_state.targetHeight - 1) * g_state.targetStride;
      g_state.targetRows = PointerWord(last);
    }
    g_state.targetStride = -g_state.targetStride;
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DSetAntialias(std::int32_t flag) {
  g_state.antialias = flag != 0 ? 1 : 0;
  if (g_state.targetFormat == kFormat1) g_state.antialias = 0;
  return 0;
}

std::int32_t TESSRO3D_CALL Tessro3DSetMatrix(const TessroMatrix* matrix) {
  if (matrix) std::memcpy(&g_state.matrix, matrix, sizeof g_state.matrix);
  return 0;
}

}  // extern "C"
