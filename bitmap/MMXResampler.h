// Filtered scaling of 32-bit pictures.
//
// All four bytes of a pixel (blue, green, red, transparency) are filtered alike. Weights are
// one-dimensional tables of 64 phases whose taps add up to kWeightOne; the same table serves
// both directions. The engine is plain integer code (SSE2 where the compiler offers it).
//
// Call protocol: set the source (width, height, pixels) and the parameters, Resample() computes
// the output size and the tables, then CopyOutputRows() produces the rows.
#pragma once

#include "bitmap/Bitmap32.h"
#include "framework/core/WinTypes.h"

#include <cstdint>
#include <vector>

// True when the processor offers the integer vector instructions the engine was built for.
int HasMMX();

class CMMXResampler {
public:
  static constexpr int kWeightShift = 14;
  static constexpr int kWeightOne = 1 << kWeightShift;  // 16384
  static constexpr int kPhases = 64;
  static constexpr int kMaxOutputSide = 16384;
  static constexpr int kMaxTaps = 500;
  static constexpr int kWindowLimit = 65535;
  static constexpr int kUnbounded = 2147483647;

  CMMXResampler();

  // Source crop rectangle from two corners in any order.
  void SetRect(int a, int b, int c, int d);
  // Computes the output size and the weight tables; 1 on success, 0 with the output size 0.
  int Resample();
  // Scales the whole picture to exactly width x height, each side by its own scale (the
  // thumbnail paths, so that a short side never rounds to nothing); 1 on success.
  int ResampleExact(int width, int height);
  // Writes every output row (width x 4 bytes each) in memory order.
  void CopyOutputRows(std::uint32_t* destination);

  // Source.
  int sourceWidth = 0, sourceHeight = 0;
  const std::uint32_t* sourcePixels = nullptr;
  // Colour adjustments: neutral, never changed by the program.
  int brightness = 0, contrast = 0, saturation = 100;
  float gamma = 1.0f;
  std::uint8_t greyscale = 0, invertColours = 0;
  std::uint32_t greyColour = 0x80808080u, whiteColour = 0xFFFFFFFFu, backgroundColour = 0xFF808080u;
  std::uint32_t greyWeights[3] = {0x4D4D4D4Du, 0x96969696u, 0x1C1C1C1Cu};
  // Source crop and output window.
  RECT crop{0, 0, kUnbounded, kUnbounded};
  RECT window{0, 0, kUnbounded, kUnbounded};
  std::uint32_t maxOutputPixels = 0x10000000u;
  // Fit one side to a target instead of scaling by percent.
  std::uint8_t fitWidth = 0, fitHeight = 0;
  int fitTarget = 0;
  std::uint8_t enlarging = 0;
  std::uint8_t filtered = 0;
  float scalePercent = 100.0f;
  float rotationDegrees = 0.0f;
  std::uint8_t mirrorX = 0, mirrorY = 0;
  int filterKind = 0;     // 1 smooth step, above 1 the Mitchell-Netravali cubic
  float sharpening = 0;   // positive sharpens, negative blurs
  // Results.
  int outputWidth = 0, outputHeight = 0;

private:
  struct Axis {
    int taps = 0;
    std::vector<int> weights;     // taps x kPhases
    std::vector<int> firstSource;  // per output position: the source index of tap 0
    std::vector<int> phase;        // per output position
  };
  bool BuildWeights(double scale, int& taps, std::vector<int>& table) const;
  void MapAxis(Axis& axis, int outputCount, int outputOrigin, double scale, int cropStart) const;
  int Prepare(int width, int height, double scaleX, double scaleY, int originX, int originY);

  Axis m_x, m_y;
  int m_cropX0 = 0, m_cropY0 = 0, m_cropX1 = 0, m_cropY1 = 0;
};

// Scales a bitmap by a factor (limited to 0.004 .. 10) with the sharpening filter and replaces
// it; 1, or 0 with the bitmap untouched.
int ResampleMMX(double factor, Bitmap32*& bitmap);
// Fits a bitmap into maxWidth x maxHeight: without keepAspect by nearest-pixel shrinking,
// with it filtered, keeping its shape; the short side keeps at least one pixel. 1 on success.
int ScaleBitmap32(Bitmap32*& bitmap, int maxHeight, int maxWidth, bool keepAspect);
// Thumbnail of a picture fitted into a frame keeping its shape: the picture is replaced, the
// rectangle it takes centred in the frame and the scale factor are returned. 1 on success.
int ScaleBitmap32ToThumbnail(Bitmap32*& bitmap, int frameHeight, int frameWidth, RECT& rect, double& factor);
