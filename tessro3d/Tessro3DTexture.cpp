// Texturing: the texture's checks and the texel fetch for each pixel depth.
#include <algorithm>

#include "tessro3d/Tessro3DScene.h"

namespace tessro3d {

TextureState g_texture;

namespace {
constexpr std::int32_t kLargestTextureWidth = 1 << 24;
inline std::uint32_t Rgb(int r, int g, int b) { return std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b); }
inline std::uint32_t PaletteRgb(int index) {
  const RGBQUAD& q = g_texture.palette[index];
  return Rgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
}
inline int Widen5(int f) { return (f * 255 + 15) / 31; }
}  // namespace

std::uint32_t FetchTexel(std::int32_t column, std::int32_t row) {
  // Textured triangles filed before a texture was replaced by a failing call: plain white
  // lets their lit colour show instead of reading a texture that is gone.
  if (!g_texture.set) return 0xFFFFFF;
  // Coordinates that stray outside the texture read its edge rather than foreign memory.
  column = std::clamp(column, 0, g_texture.width - 1);
  row = std::clamp(row, 0, g_texture.height - 1);
  const std::uint8_t* line = g_texture.bits + std::ptrdiff_t(row) * g_texture.stride;
  switch (g_texture.bitCount) {
    case 4: {
      std::uint8_t byte = line[column / 2];
      return PaletteRgb((column & 1) ? (byte & 0x0F) : (byte >> 4));
    }
    case 8: return PaletteRgb(line[column]);
    case 16: {
      int w = line[2 * column] | line[2 * column + 1] << 8;
      return Rgb(Widen5((w >> 10) & 31), Widen5((w >> 5) & 31), Widen5(w & 31));
    }
    case 24: return Rgb(line[3 * column + 2], line[3 * column + 1], line[3 * column]);
    default: return Rgb(line[4 * column + 2], line[4 * column + 1], line[4 * column]);
  }
}

}  // namespace tessro3d

using namespace tessro3d;

extern "C" std::int32_t TESSRO3D_CALL Tessro3DSetTexture(const BITMAPINFOHEADER* header, const void* bits, const RGBQUAD* palette) {
  return Guard([&] {
    g_texture.set = false;
    if (!header || !bits || header->biBitCount > 32 || header->biPlanes != 1 ||
        static_cast<std::uint32_t>(header->biHeight) >= std::uint32_t(kLargestSide))
      Fail(kErrBadBitmap);
    if (header->biBitCount <= 8) {
      if (!palette) Fail(kErrBadParameters);
      g_texture.palette = palette;
    }
    switch (header->biBitCount) {
      case 4: case 8: case 16: case 24: case 32: break;
      default: Fail(kErrBadBitmap);
    }
    // An empty texture has no texel to fetch, and a row must be addressable.
    if (header->biWidth <= 0 || header->biWidth > kLargestTextureWidth || header->biHeight == 0) Fail(kErrBadBitmap);
    g_texture.bitCount = header->biBitCount;
    g_texture.width = header->biWidth;
    g_texture.height = header->biHeight;
    g_texture.bits = static_cast<const std::uint8_t*>(bits);
    g_texture.stride = header->biBitCount == 24 ? (3 * header->biWidth + 3) / 4 * 4 : (header->biWidth * header->biBitCount + 31) / 32 * 4;
    BlendTable();
    g_texture.set = true;
    return 0;
  });
}
