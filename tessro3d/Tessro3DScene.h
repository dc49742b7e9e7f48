// The 3D scene: triangles are projected and filed by Tessro3DDraw*Triangle, and drawn row by
// row with a one-row depth buffer by Tessro3DEndScene.
#pragma once

#include <cstdint>

#include "tessro3d/Tessro3DState.h"

namespace tessro3d {

// Ends an open scene without drawing it (a 2D path operation takes the edge store over).
void DiscardOpenScene();

// The texture of textured triangles (Tessro3DTexture.cpp).
struct TextureState {
  bool set = false;
  std::int32_t width = 0, height = 0;
  std::int32_t bitCount = 0;
  const std::uint8_t* bits = nullptr;
  std::int32_t stride = 0;
  const RGBQUAD* palette = nullptr;
};
extern TextureState g_texture;

// The texel at (column, row) as 0x00RRGGBB; coordinates outside the texture read its edge.
std::uint32_t FetchTexel(std::int32_t column, std::int32_t row);

}  // namespace tessro3d
