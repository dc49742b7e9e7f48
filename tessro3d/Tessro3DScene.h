// The 3D scene: triangles are projected and filed by Tessro3DDraw*Triangle, and drawn row by
// row with a one-row depth buffer by Tessro3DEndScene.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tessro3d/Tessro3DState.h"

namespace tessro3d {

// Ends an open scene without drawing it (a 2D path operation takes the edge store over).
void DiscardOpenScene();

// The texture of textured triangles (Tessro3DTexture.cpp). The fetcher for its pixel depth
// is chosen when it is set; it returns the texel as 0x00RRGGBB.
using TexelFetcher = std::uint32_t (*)(const std::uint8_t* row, std::int32_t column);
struct TextureState {
  bool set = false;
  std::int32_t width = 0, height = 0;
  const std::uint8_t* bits = nullptr;
  std::int32_t stride = 0;
  const RGBQUAD* palette = nullptr;
  TexelFetcher fetch = nullptr;
};
extern TextureState g_texture;

// The texel at (column, row); coordinates outside the texture read its edge.
inline std::uint32_t FetchTexel(std::int32_t column, std::int32_t row) {
  // Textured triangles filed before a failing Tessro3DSetTexture: plain white lets their lit
  // colour show instead of reading a texture that is gone.
  if (!g_texture.set) return 0xFFFFFF;
  column = column < 0 ? 0 : (column >= g_texture.width ? g_texture.width - 1 : column);
  row = row < 0 ? 0 : (row >= g_texture.height ? g_texture.height - 1 : row);
  return g_texture.fetch(g_texture.bits + std::ptrdiff_t(row) * g_texture.stride, column);
}

}  // namespace tessro3d
