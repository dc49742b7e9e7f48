// Hard-edged shadow of one colour painted into a graphic's own pixels, under the graphic.
#pragma once

#include "framework/core/WinTypes.h"

#include <cstdint>
#include <vector>

// The shadow fields of the option record as the renderer reads them. The option record lives
// above this module: its owner fills this from the record (offsets already scaled and limited,
// as the record gives them).
struct DropShadowSettings {
  bool shown = false;       // the record shows a shadow at all
  int type = 1;             // non-zero: offset shadow; 0: floor shadow
  double darkness = 0.65;   // 0..1
  double scale = 1.0;       // floor shadow height as a share of the graphic's
  double tiltDegrees = 0;   // floor shadow lean
  COLORREF colour = 0;
  int offsetX = 0, offsetY = 0;  // offset shadow, pixels (y grows downward on screen)
  // The last template render was quick and the program started quickly: the opaque area is then
  // taken with the loose threshold.
  bool fastMachine = false;
};

// As StretchBlitARGB (nearest pixel, integer stepping, smaller-of transparency when blending),
// but destination row k is shifted left by trunc(k x skew / rect height) pixels. No trimming;
// the column error carries on from row to row. A negative skew leans the far rows right.
void StretchBlitSkewedARGB(const std::uint32_t* source, int sourceWidth, int sourceHeight, const RECT& sourceRect,
                           std::uint32_t* destination, int destWidth, int destHeight, const RECT& destRect, bool blend,
                           bool invert, int skew);

class CDropShadowRenderer {
public:
  // Paints the shadow into the graphic and the graphic back over it. Returns 1, or 0 for a null
  // buffer, a size that is not positive, no shadow shown, or a buffer that cannot be had.
  int Render(std::uint32_t* pixels, int width, int height, const DropShadowSettings& settings);

  // The opaque area of the last call (inclusive, columns and memory rows).
  const RECT& Area() const { return m_area; }

private:
  static constexpr int kLooseThreshold = 254;
  static constexpr int kStrictThreshold = 80;

  std::uint32_t* m_pixels = nullptr;
  int m_width = 0, m_height = 0;
  std::vector<std::uint32_t> m_shadow;
  std::vector<std::uint32_t> m_copy;
  RECT m_area{0, 0, 0, 0};
  int m_areaWidth = 0, m_areaHeight = 0;
};
