// Texturing: the texture's checks and the texel fetch for each pixel depth.
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

namespace {

std::uint32_t Fetch4(const std::uint8_t* row, std::int32_t column) {
  const std::uint8_t byte = row[column / 2];
  return PaletteRgb((column & 1) ? (byte & 0x0F) : (byte >> 4));
}
std::uint32_t Fetch8(const std::uint8_t* row, std::int32_t column) { return PaletteRgb(row[column]); }
std::uint32_t Fetch16(const std::uint8_t* row, std::int32_t column) {
  const int w = row[2 * column] | row[2 * column + 1] << 8;
  return Rgb(Widen5((w >> 10) & 31), Widen5((w >> 5) & 31), Widen5(w & 31));
}
std::uint32_t Fetch24(const std::uint8_t* row, std::int32_t column) { return Rgb(row[3 * column + 2], row[3 * column + 1], row[3 * column]); }
std::uint32_t Fetch32(const std::uint8_t* row, std::int32_t column) { return Rgb(row[4 * column + 2], row[4 * column + 1], row[4 * column]); }

}  // namespace

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
    TexelFetcher fetch;
    switch (header->biBitCount) {
      case 4: fetch = Fetch4; break;
      case 8: fetch = Fetch8; break;
      case 16: fetch = Fetch16; break;
      case 24: fetch = Fetch24; break;
      case 32: fetch = Fetch32; break;
      default: Fail(kErrBadBitmap);
    }
    // An empty texture has no texel to fetch, and a row must be addressable.
    if (header->biWidth <= 0 || header->biWidth > kLargestTextureWidth || header->biHeight == 0) Fail(kErrBadBitmap);
    g_texture.fetch = fetch;
    g_texture.width = header->biWidth;
    g_texture.height = header->biHeight;
    g_texture.bits = static_cast<const std::uint8_t*>(bits);
    g_texture.stride = header->biBitCount == 24 ? (3 * header->biWidth + 3) / 4 * 4 : (header->biWidth * header->biBitCount + 31) / 32 * 4;
    BlendTable();
    g_texture.set = true;
    return 0;
  });
}
