#include "bitmap/bitmapmanip.h"

#include "bitmap/BitmapServices.h"
#include "bitmap/TessroConversion.h"

#include <algorithm>
#include <cmath>
#include <new>

IMPLEMENT_DYNAMIC(CTransparentBackground, CObject)

namespace {
const char kSourceName[] = "bitmapmanip";

constexpr std::uint32_t kTransparencyShift = 24;
constexpr std::uint32_t kColourMask = 0x00FFFFFFu;

// Blends one source pixel onto a destination pixel. The weight of the source is 256 - T
// (T = 255 counts as 256 so that a clear pixel has no weight); with invert the top byte is read
// as an opacity instead.
inline std::uint32_t BlendPixel(std::uint32_t s, std::uint32_t d, bool invert, bool multiplyAlpha) {
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
  const std::uint32_t dt = d >> kTransparencyShift;
  const std::uint32_t rt = multiplyAlpha ? st * dt / 255 : std::min(st, dt);
  return out | (rt << kTransparencyShift);
}
}  // namespace

void BlitARGB(const std::uint32_t* source, int sourceX, int sourceY, int sourceWidth, int sourceHeight,
              std::uint32_t* destination, int destX, int destY, int destWidth, int destHeight, bool blend,
              bool invert, int alphaMode) {
  if (!source || !destination) return;
  if (destX < 0) { sourceX -= destX; destX = 0; }
  if (destY < 0) { sourceY -= destY; destY = 0; }
  // A negative source offset is clipped like a negative destination offset.
  if (sourceX < 0) { destX -= sourceX; sourceX = 0; }
  if (sourceY < 0) { destY -= sourceY; sourceY = 0; }
  if (sourceX >= sourceWidth || sourceY >= sourceHeight || destX >= destWidth || destY >= destHeight) return;
  const int columns = std::min(sourceWidth - sourceX, destWidth - destX);
  const int rows = std::min(sourceHeight - sourceY, destHeight - destY);
  const bool multiply = alphaMode == kAlphaModeMultiply;
  for (int r = 0; r < rows; ++r) {
    const std::uint32_t* s = source + std::size_t(sourceY + r) * sourceWidth + sourceX;
    std::uint32_t* d = destination + std::size_t(destY + r) * destWidth + destX;
    if (!blend) {
      std::copy(s, s + columns, d);
      continue;
    }
    for (int c = 0; c < columns; ++c) d[c] = BlendPixel(s[c], d[c], invert, multiply);
  }
}

void StretchBlitARGB(const std::uint32_t* source, int sourceWidth, int sourceHeight, RECT& sourceRectRef,
                     std::uint32_t* destination, int destWidth, int destHeight, RECT& destRectRef, bool blend,
                     bool invert) {
  if (!source || !destination) return;
  RECT src = sourceRectRef, dst = destRectRef;  // worked on as copies: the caller's stay as given
  // A negative source left would read before the row (and before the buffer on the first row).
  if (src.left < 0 || src.top < 0 || src.bottom < 0 || src.right > sourceWidth || src.bottom > sourceHeight) return;
  if (dst.right - dst.left <= 0 || dst.bottom - dst.top <= 0) return;
  const double tx = double(src.right - src.left) / double(dst.right - dst.left) *
                    double(dst.right - dst.left - destWidth) * 0.5;
  const double ty = double(src.bottom - src.top) / double(dst.bottom - dst.top) *
                    double(dst.bottom - dst.top - destHeight) * 0.5;
  const int itx = int(tx), ity = int(ty);
  if (dst.right > destWidth) { dst.right = destWidth; src.right -= itx; }
  if (dst.left < 0) { dst.left = 0; src.left += itx; }
  if (dst.bottom > destHeight) { dst.bottom = destHeight; src.bottom -= ity; }
  if (dst.top < 0) { dst.top = 0; src.top += ity; }
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  const int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int xStep = sw / dw, xRem = sw % dw, yStep = sh / dh, yRem = sh % dh;
  int sy = src.top, rowError = 0;
  for (int dy = dst.top; sy < src.bottom && sy < sourceHeight && dy < dst.bottom && dy < destHeight; ++dy) {
    if (sy >= 0 && dy >= 0) {
      const std::uint32_t* srow = source + std::size_t(sy) * sourceWidth;
      std::uint32_t* drow = destination + std::size_t(dy) * destWidth;
      int sx = src.left, columnError = 0;
      for (int dx = dst.left; sx < src.right && sx < sourceWidth && dx < dst.right && dx < destWidth; ++dx) {
        if (sx >= 0 && dx >= 0) drow[dx] = blend ? BlendPixel(srow[sx], drow[dx], invert, false) : srow[sx];
        columnError += xRem;
        if (columnError >= dw) { columnError -= dw; ++sx; }
        sx += xStep;
      }
    }
    rowError += yRem;
    if (rowError >= dh) { rowError -= dh; ++sy; }
    sy += yStep;
  }
}

namespace {
bool AlphaBounds(const std::uint32_t* source, int width, int height, int threshold, bool invert, RECT& box) {
  box = RECT{0, 0, 0, 0};
  if (!source || width <= 0 || height <= 0) return false;
  if (threshold == 255 && !invert) threshold = 254;
  if (threshold == 0 && invert) threshold = 1;
  bool any = false;
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = source + std::size_t(y) * width;
    for (int x = 0; x < width; ++x) {
      const int t = int(row[x] >> kTransparencyShift);
      if (invert ? t < threshold : t > threshold) continue;
      if (!any) { box = RECT{x, y, x, y}; any = true; continue; }
      box.left = std::min<LONG>(box.left, x);
      box.right = std::max<LONG>(box.right, x);
      box.top = std::min<LONG>(box.top, y);
      box.bottom = std::max<LONG>(box.bottom, y);
    }
  }
  return any;
}
}  // namespace

RECT FindAlphaBounds(const std::uint32_t* source, int width, int height, int threshold, bool invert) {
  RECT box;
  if (AlphaBounds(source, width, height, threshold, invert, box)) { ++box.right; ++box.bottom; }
  return box;
}

void FindAlphaBoundsInclusive(const std::uint32_t* source, int width, int height, RECT& bounds, int threshold,
                              bool invert) {
  AlphaBounds(source, width, height, threshold, invert, bounds);
}

int SetTransparencyAll(std::uint32_t* pixels, int width, int height, int transparency) {
  if (!pixels || width <= 0 || height <= 0) return 0;
  const std::uint32_t top = std::uint32_t(transparency & 0xFF) << kTransparencyShift;
  const std::size_t n = std::size_t(width) * height;
  for (std::size_t i = 0; i < n; ++i) pixels[i] = (pixels[i] & kColourMask) | top;
  return 1;
}

void ThresholdTransparency(std::uint32_t* pixels, int width, int height, int threshold) {
  if (!pixels || width <= 0 || height <= 0) return;
  const std::size_t n = std::size_t(width) * height;
  for (std::size_t i = 0; i < n; ++i)
    pixels[i] = (pixels[i] & kColourMask) | (int(pixels[i] >> kTransparencyShift) > threshold ? 0xFF000000u : 0);
}

int FillARGB(std::uint32_t* pixels, int width, int height, COLORREF colour, bool writeRed, bool writeGreen,
             bool writeBlue, bool writeTransparency) {
  if (!pixels) { BitmapInternalError(kSourceName, 1162); return 0; }
  if (width <= 0) { BitmapInternalError(kSourceName, 1163); return 0; }
  if (height <= 0) { BitmapInternalError(kSourceName, 1164); return 0; }
  const std::uint32_t value = ColourRefToPixel(colour);
  std::uint32_t keep = 0xFFFFFFFFu;
  if (writeRed) keep &= ~0x00FF0000u;
  if (writeGreen) keep &= ~0x0000FF00u;
  if (writeBlue) keep &= ~0x000000FFu;
  if (writeTransparency) keep &= ~0xFF000000u;
  const std::size_t n = std::size_t(width) * height;
  for (std::size_t i = 0; i < n; ++i) pixels[i] = (value & ~keep) | (pixels[i] & keep);
  return 1;
}

void CopyTiled(std::uint32_t* destination, int width, int height, const std::uint32_t* pattern, int patternWidth,
               int patternHeight, int phaseX, int phaseY) {
  if (!destination || !pattern || patternWidth <= 0 || patternHeight <= 0 || width <= 0 || height <= 0) return;
  phaseX %= patternWidth;
  if (phaseX < 0) phaseX += patternWidth;
  phaseY %= patternHeight;
  if (phaseY < 0) phaseY += patternHeight;
  for (int i = 0; i < height; ++i) {
    const std::uint32_t* prow = pattern + std::size_t((phaseY + i) % patternHeight) * patternWidth;
    std::uint32_t* drow = destination + std::size_t(i) * width;
    int column = phaseX;
    for (int j = 0; j < width; ++j) {
      drow[j] = prow[column];
      if (++column == patternWidth) column = 0;
    }
  }
}

int FitSizeWithin(int limitA, int limitB, bool keepAspect, int& a, int& b) {
  if (a <= limitA && b <= limitB) return a;
  if (!keepAspect) {
    a = limitA;
    b = limitB;
  } else if (b >= a) {
    a = int(double(limitB) / double(b) * double(a));
    b = limitB;
  } else {
    b = int(double(limitA) / double(a) * double(b));
    a = limitA;
  }
  return a;
}

int ResampleNearest(Bitmap32*& bitmap, int newWidth, int newHeight) {
  if (!bitmap || !bitmap->Pixels() || newWidth < 0 || newHeight < 0 || newWidth > bitmap->Width() ||
      newHeight > bitmap->Height())
    return 0;
  Bitmap32* result = new (std::nothrow) Bitmap32;
  if (!result || result->Create(newWidth, newHeight) != 0) {
    delete result;
    return 0;
  }
  const int width = bitmap->Width(), height = bitmap->Height();
  const std::uint32_t* src = bitmap->Pixels();
  std::uint32_t* dst = result->Pixels();
  int sy = 0, rowError = 0;
  for (int y = 0; y < newHeight; ++y) {
    const std::uint32_t* srow = src + std::size_t(sy) * width;
    int sx = 0, columnError = 0;
    for (int x = 0; x < newWidth; ++x) {
      dst[std::size_t(y) * newWidth + x] = srow[sx];
      ++sx;
      columnError += newWidth - width;
      while (columnError < 0) { ++sx; columnError += newWidth; }
    }
    ++sy;
    rowError += newHeight - height;
    while (rowError < 0) { ++sy; rowError += newHeight; }
  }
  delete bitmap;
  bitmap = result;
  return 1;
}

Bitmap32* ShrinkBitmapAreaAverage(const Bitmap32* source, double factor) {
  if (!source || !(factor > 0.0) || factor > 1.0) {
    BitmapInternalError(kSourceName, 1874);
    return nullptr;
  }
  const int width = source->Width(), height = source->Height();
  const int newWidth = int(width * factor + 0.5), newHeight = int(height * factor + 0.5);
  Bitmap32* result = new (std::nothrow) Bitmap32;
  if (!result) return nullptr;
  if (result->Create(newWidth, newHeight) != 0) {
    delete result;
    return nullptr;
  }
  if (newWidth == 0 || newHeight == 0 || !source->Pixels()) return result;
  const double sx = double(width) / newWidth, sy = double(height) / newHeight;
  const std::uint32_t* src = source->Pixels();
  std::uint32_t* dst = result->Pixels();
  for (int y = 0; y < newHeight; ++y) {
    const double y0 = y * sy, y1 = y0 + sy;
    // Rounding of y0 + sy may reach past the last row: the sums never read beyond it.
    const int jEnd = std::min(height, int(std::ceil(y1)));
    for (int x = 0; x < newWidth; ++x) {
      const double x0 = x * sx, x1 = x0 + sx;
      const int iEnd = std::min(width, int(std::ceil(x1)));
      double sums[4] = {0, 0, 0, 0};
      for (int j = int(std::floor(y0)); j < jEnd && j < y1; ++j) {
        const double wy = j >= y0 ? std::min(y1 - j, 1.0) : j + 1 - y0;
        const std::uint32_t* row = src + std::size_t(j) * width;
        for (int i = int(std::floor(x0)); i < iEnd && i < x1; ++i) {
          const double wx = i >= x0 ? std::min(x1 - i, 1.0) : i + 1 - x0;
          const double w = wx * wy;
          const std::uint32_t p = row[i];
          for (int c = 0; c < 4; ++c) sums[c] += double((p >> (8 * c)) & 0xFF) * w;
        }
      }
      std::uint32_t out = 0;
      for (int c = 0; c < 4; ++c) {
        const int v = int(sums[c] / (sx * sy) + 0.5);
        out |= std::uint32_t(std::min(v, 255)) << (8 * c);
      }
      dst[std::size_t(y) * newWidth + x] = out;
    }
  }
  return result;
}

int ConvertBitmap32InPlace(std::uint32_t* pixels, int width, int height, bool alphaOut,
                           TessroConversion* conversion) {
  if (!conversion) conversion = GetBitmapServices().GetTessroContext();
  if (!conversion) return -1;
  BITMAPINFOHEADER header{};
  header.biSize = 40;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = DWORD(std::uint64_t(width) * std::uint64_t(height) * 4);
  return conversion->ConvertBitmap(&header, pixels, &header, pixels, alphaOut ? 2 : 0);
}

int CreateCheckerboard(int squareSize, COLORREF colourA, COLORREF colourB, Bitmap32& bitmap) {
  const int side = 2 * squareSize;
  if (squareSize <= 0 || bitmap.Create(side, side) != 0) return 0;
  const std::uint32_t a = ColourRefToPixel(colourA), b = ColourRefToPixel(colourB);
  std::uint32_t* p = bitmap.Pixels();
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) p[std::size_t(y) * side + x] = ((y < squareSize) == (x < squareSize)) ? a : b;
  return 1;
}

Bitmap32* RecolourBitmap32(Bitmap32* bitmap, COLORREF colour, bool blendOver) {
  if (!bitmap) return nullptr;
  const std::uint32_t fill = ColourRefToPixel(colour) & kColourMask;
  const int width = bitmap->Width(), height = bitmap->Height();
  if (blendOver) {
    Bitmap32* result = new (std::nothrow) Bitmap32;
    if (!result || result->CreateFilled(width, height, fill) != 0) {
      delete result;
      delete bitmap;
      return nullptr;
    }
    BlitARGB(bitmap->Pixels(), 0, 0, width, height, result->Pixels(), 0, 0, width, height, true, false, -1);
    delete bitmap;
    return result;
  }
  std::uint32_t* p = bitmap->Pixels();
  if (p) {
    const std::size_t n = std::size_t(width) * height;
    for (std::size_t i = 0; i < n; ++i)
      if (p[i] >> kTransparencyShift) p[i] = fill;
  }
  return bitmap;
}

int CTransparentBackground::Create(int squareSize, COLORREF colourA, COLORREF colourB) {
  delete m_pattern;
  m_pattern = new (std::nothrow) Bitmap32;
  if (!m_pattern) return 0;
  return CreateCheckerboard(squareSize, colourA, colourB, *m_pattern);
}

int CTransparentBackground::Fill(int width, int height, std::uint32_t* pixels, int phaseX, int phaseY) {
  if (!m_pattern) { BitmapInternalError("TransparentBackground", 51); return 0; }
  if (!pixels) { BitmapInternalError("TransparentBackground", 52); return 0; }
  CopyTiled(pixels, width, height, m_pattern->Pixels(), m_pattern->Width(), m_pattern->Height(), phaseX, phaseY);
  return 1;
}
