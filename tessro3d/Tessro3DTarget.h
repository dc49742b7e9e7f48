// The target bitmap and the transform from caller to device coordinates.
#pragma once

#include <cstdint>

#include "tessro3d/Tessro3DState.h"

namespace tessro3d {

// x' = (a·x + c·y + e) >> shift, y' = (b·x + d·y + f) >> shift, in 64 bits, arithmetic shift.
inline std::int64_t TransformX64(std::int32_t x, std::int32_t y) {
  const TessroMatrix& m = g_state.matrix;
  return std::int64_t(m.a) * x + std::int64_t(m.c) * y + m.e;
}
inline std::int64_t TransformY64(std::int32_t x, std::int32_t y) {
  const TessroMatrix& m = g_state.matrix;
  return std::int64_t(m.b) * x + std::int64_t(m.d) * y + m.f;
}
// To device units (14 fraction bits).
inline TessroPoint ToDevice(std::int32_t x, std::int32_t y) {
  return TessroPoint{static_cast<std::int32_t>(TransformX64(x, y) >> 16), static_cast<std::int32_t>(TransformY64(x, y) >> 16)};
}
// To 1/1024 pixel (the bitmap-fill origin).
inline TessroPoint ToCoarseDevice(std::int32_t x, std::int32_t y) {
  return TessroPoint{static_cast<std::int32_t>(TransformX64(x, y) >> 20), static_cast<std::int32_t>(TransformY64(x, y) >> 20)};
}
// A vector without translation, in floating pixels.
inline void VectorToPixels(std::int32_t x, std::int32_t y, double& px, double& py) {
  const TessroMatrix& m = g_state.matrix;
  px = (double(m.a) * x + double(m.c) * y) / 1073741824.0;
  py = (double(m.b) * x + double(m.d) * y) / 1073741824.0;
}

// floor(v / 16384 + 1/2): the pixel boundary nearest a device coordinate (halves up).
inline std::int32_t RoundToPixel(std::int32_t v) { return static_cast<std::int32_t>((std::int64_t(v) + kDeviceHalf) >> kDeviceShift); }

void GrowChangedRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);

}  // namespace tessro3d
