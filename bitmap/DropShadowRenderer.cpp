#include "bitmap/DropShadowRenderer.h"

#include "bitmap/bitmapmanip.h"

#include <algorithm>
#include <new>

namespace {
constexpr int kTransparencyShift = 24;

// One source pixel over one destination pixel, the result's transparency the smaller of both
// (the same rule as the unscaled and scaled blits).
inline std::uint32_t BlendOver(std::uint32_t s, std::uint32_t d, bool invert) {
  const std::uint32_t t = s >> kTransparencyShift;
  const std::uint32_t tw = t == 255 ? 256 : t;
  const std::uint32_t w = invert ? tw : 256 - tw;
  if (w == 256) return s;
  if (w == 0) return d;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
    out |= ((((256 - w) * dc + w * sc) >> 8) & 0xFF) << shift;
  }
  const std::uint32_t st = invert ? 255 - t : t;
  return out | (std::min(st, d >> kTransparencyShift) << kTransparencyShift);
}
}  // namespace

void StretchBlitSkewedARGB(const std::uint32_t* source, int sourceWidth, int sourceHeight, const RECT& src,
                           std::uint32_t* destination, int destWidth, int destHeight, const RECT& dst, bool blend,
                           bool invert, int skew) {
  if (!source || !destination) return;
  if (src.top < 0 || src.bottom < 0 || dst.top < 0 || dst.bottom < 0) return;
  const int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  if (dw <= 0 || dh <= 0 || sh <= 0 || sw <= 0) return;
  // Never read outside the source picture, whatever rectangle the caller passes.
  if (src.left < 0 || src.right > sourceWidth || src.bottom > sourceHeight) return;
  const int xStep = sw / dw, xRem = sw % dw, yStep = sh / dh, yRem = sh % dh;
  const int shiftStep = skew / dh, shiftRem = skew % dh;  // u_k = trunc(k x skew / dh)
  int shift = 0, shiftError = 0;
  int sy = src.top, rowError = 0, columnError = 0;
  for (int dy = dst.top; sy < src.bottom && dy < dst.bottom && dy < destHeight; ++dy) {
    const std::uint32_t* srow = source + std::size_t(sy) * std::size_t(sourceWidth);
    std::uint32_t* drow = destination + std::size_t(dy) * std::size_t(destWidth);
    int dx = dst.left - shift;
    int sx = src.left;
    if (dx < 0) {
      sx -= dx;  // the columns cut off at the left edge
      dx = 0;
    }
    const int end = std::min(int(dst.right) - shift, destWidth);
    for (; dx < end && sx < src.right; ++dx) {
      drow[dx] = blend ? BlendOver(srow[sx], drow[dx], invert) : srow[sx];
      columnError += xRem;
      if (columnError >= dw) {
        columnError -= dw;
        ++sx;
      }
      sx += xStep;
    }
    rowError += yRem;
    if (rowError >= dh) {
      rowError -= dh;
      ++sy;
    }
    sy += yStep;
    shift += shiftStep;
    shiftError += shiftRem;
    // Keep shift == trunc(k x skew / dh): the remainder carries with the sign of the skew.
    if (shiftError >= dh) {
      shiftError -= dh;
      ++shift;
    } else if (shiftError <= -dh) {
      shiftError += dh;
      --shift;
    }
  }
}

int CDropShadowRenderer::Render(std::uint32_t* pixels, int width, int height, const DropShadowSettings& settings) {
  m_shadow.clear();
  m_copy.clear();
  m_pixels = pixels;
  m_width = width;
  m_height = height;
  if (!pixels || width <= 0 || height <= 0 || !settings.shown) return 0;

  // 1. The opaque area.
  const int threshold = settings.fastMachine ? kLooseThreshold : kStrictThreshold;
  RECT area;
  FindAlphaBoundsInclusive(pixels, width, height, area, threshold, false);
  area.left = std::max<LONG>(area.left, 0);
  area.top = std::max<LONG>(area.top, 0);
  area.right = std::min<LONG>(area.right, width - 1);
  area.bottom = std::min<LONG>(area.bottom, height);
  m_area = area;
  m_areaWidth = std::min<int>(area.right - area.left + 1, width);
  m_areaHeight = std::min<int>(area.bottom - area.top + 1, height);
  if (m_areaWidth <= 0 || m_areaHeight <= 0) return 0;
  const std::size_t count = std::size_t(m_areaWidth) * std::size_t(m_areaHeight);
  try {
    m_copy.assign(count, 0);
    m_shadow.assign(count, 0);
  } catch (const std::bad_alloc&) {
    m_copy.clear();
    m_shadow.clear();
    return 0;
  }

  // 2. The graphic's area, kept to be drawn over the shadow again.
  BlitARGB(pixels, area.left, area.top, width, height, m_copy.data(), 0, 0, m_areaWidth, m_areaHeight, false, false,
           -1);

  // 3. The shadow: the silhouette in the shadow colour, darkened by the darkness.
  const std::uint32_t colour = ColourRefToPixel(settings.colour) & 0x00FFFFFFu;
  const std::uint32_t light = std::uint32_t(int((1.0 - settings.darkness) * 255)) & 0xFF;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t t = m_copy[i] >> kTransparencyShift;
    std::uint32_t top;
    if (t == 255)
      top = 255;
    else if (t == 0)
      top = light;
    else
      top = 255 - (((255 - light) * (255 - t)) >> 8);
    m_shadow[i] = colour | (top << kTransparencyShift);
  }

  if (settings.type != 0) {
    // 4. Offset shadow: screen y grows downward, memory rows upward.
    BlitARGB(m_shadow.data(), 0, 0, m_areaWidth, m_areaHeight, pixels, area.left + settings.offsetX,
             area.top - settings.offsetY, width, height, true, false, -1);
  } else {
    // 5. Floor shadow: stretched up from the base and leaned by the tilt.
    const double scaled = (area.bottom - area.top) * settings.scale;
    const int rows = scaled > 0 ? int(std::min(scaled, double(height) * 4)) : 0;
    const RECT source{0, 0, m_areaWidth, m_areaHeight};
    const RECT target{area.left, area.top, area.right, area.top + rows};
    const double lean = settings.tiltDegrees * 0.0222 * rows;
    const double limit = 4.0 * width;  // beyond this every row lies outside the picture anyway
    const int skew = -int(lean != lean ? 0 : std::max(-limit, std::min(limit, lean)));
    StretchBlitSkewedARGB(m_shadow.data(), m_areaWidth, m_areaHeight, source, pixels, width, height, target, true,
                          false, skew);
  }

  // 6. The graphic on top of its shadow.
  BlitARGB(m_copy.data(), 0, 0, m_areaWidth, m_areaHeight, pixels, area.left, area.top, width, height, true, false,
           -1);
  return 1;
}
