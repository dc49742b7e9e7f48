// Plain functions on 32-bit pixel arrays (pointer, width, height), so that callers can also
// pass buffers another component owns. Pixel convention and row order: see Bitmap32.h.
// Rectangles are {left, top, right, bottom} in pixel columns and memory rows.
#pragma once

#include "bitmap/Bitmap32.h"
#include "framework/core/WinTypes.h"

#include <cstdint>

class TessroConversion;

// Blend mode of BlitARGB's result transparency: the product of both instead of the smaller.
constexpr int kAlphaModeMultiply = 4;

// Unscaled copy (or blend, when blend is set) from the start points to the nearer buffer edge.
void BlitARGB(const std::uint32_t* source, int sourceX, int sourceY, int sourceWidth, int sourceHeight,
              std::uint32_t* destination, int destX, int destY, int destWidth, int destHeight, bool blend,
              bool invert, int alphaMode);
// Nearest-pixel scaled copy or blend of a rectangle into a rectangle. The rectangles are
// restored to the caller's values before it returns.
void StretchBlitARGB(const std::uint32_t* source, int sourceWidth, int sourceHeight, RECT& sourceRect,
                     std::uint32_t* destination, int destWidth, int destHeight, RECT& destRect, bool blend,
                     bool invert);
RECT FindAlphaBounds(const std::uint32_t* source, int width, int height, int threshold, bool invert);
void FindAlphaBoundsInclusive(const std::uint32_t* source, int width, int height, RECT& bounds, int threshold,
                              bool invert);
int SetTransparencyAll(std::uint32_t* pixels, int width, int height, int transparency);
void ThresholdTransparency(std::uint32_t* pixels, int width, int height, int threshold);
int FillARGB(std::uint32_t* pixels, int width, int height, COLORREF colour, bool writeRed, bool writeGreen,
             bool writeBlue, bool writeTransparency);
void CopyTiled(std::uint32_t* destination, int width, int height, const std::uint32_t* pattern, int patternWidth,
               int patternHeight, int phaseX, int phaseY);
int FitSizeWithin(int limitA, int limitB, bool keepAspect, int& a, int& b);
int ResampleNearest(Bitmap32*& bitmap, int newWidth, int newHeight);
Bitmap32* ShrinkBitmapAreaAverage(const Bitmap32* source, double factor);
// Un-premultiplies partly transparent pixels in place through the rasterizer; with alphaOut
// the transparency byte also becomes an alpha (255 - t). The rasterizer context comes from the
// installed services unless one is given.
int ConvertBitmap32InPlace(std::uint32_t* pixels, int width, int height, bool alphaOut,
                           TessroConversion* conversion = nullptr);
int CreateCheckerboard(int squareSize, COLORREF colourA, COLORREF colourB, Bitmap32& bitmap);
Bitmap32* RecolourBitmap32(Bitmap32* bitmap, COLORREF colour, bool blendOver);
inline std::uint32_t ColourRefToPixel(COLORREF colour) {
  return (colour & 0xFF00FF00u) | ((colour & 0xFF) << 16) | ((colour >> 16) & 0xFF);
}
inline bool NearlyEqual(double a, double b) { return a - b > -0.5 && a - b < 0.5; }

// The checkerboard shown behind transparent graphics.
class CTransparentBackground : public CObject {
  DECLARE_DYNAMIC(CTransparentBackground)
public:
  CTransparentBackground() = default;
  ~CTransparentBackground() override { delete m_pattern; }
  int Create(int squareSize, COLORREF colourA, COLORREF colourB);
  int Fill(int width, int height, std::uint32_t* pixels, int phaseX, int phaseY);
  const Bitmap32* Pattern() const { return m_pattern; }

private:
  Bitmap32* m_pattern = nullptr;
};
