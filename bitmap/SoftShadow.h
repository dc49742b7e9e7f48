// Soft shadows drawn under a graphic by the template preview.
//
// Only the transparency byte of the graphic matters: the silhouette is the picture's
// transparency. The shadow picture is black; the shadow lives in its top byte.
//
// Protocol of the disc window (CircleKernel), written once here:
//   Setup(radius, centreX, centreY)  place the disc; sums every row of it
//   Average()                         mean transparency under the disc, rounded
//   StepRight()                       move one column right (adds one column, drops one per row)
//   StepDown(d)                       move d rows (negative: toward lower memory rows) and back to
//                                     the starting column
//   ShrinkTo(r)                       narrow the disc by one step (r != current radius)
// Pixels outside the source picture count as clear (255).
#pragma once

#include "bitmap/Bitmap32.h"

#include <cstdint>
#include <vector>

// Largest blur radius the disc window works with; larger radii only widen the picture.
constexpr int kMaxKernelRadius = 40;

class CircleKernel {
public:
  CircleKernel(const std::uint32_t* pixels, int width, int height) : m_pixels(pixels), m_width(width), m_height(height) {}

  void Setup(int radius, int centreX, int centreY);
  int Average() const;
  void StepRight();
  void StepDown(int rows);
  void ShrinkTo(int radius);
  int Radius() const { return m_radius; }
  int CellCount() const { return m_cellCount; }

private:
  struct Row {
    int y, right, left, initialRight, initialLeft, sum;
  };
  int Value(int x, int y) const;
  void SumRow(Row& row) const;

  static constexpr int kOutsideValue = 255;

  const std::uint32_t* m_pixels;
  int m_width, m_height;
  std::vector<Row> m_rows;
  int m_cellCount = 0;
  int m_radius = 0;
  int m_first = 0, m_last = 0;
};

// Squashes rows of a picture to a new height: each output row has the colour bytes of the
// current source row and the mean transparency of the source rows it stands for.
// The result has newHeight rows of width words (plus the spare words of a Bitmap32).
std::vector<std::uint32_t> SquashTransparencyRows(const std::uint32_t* pixels, int width, int height, int newHeight);

class CSoftShadow : public Bitmap32 {
  DECLARE_DYNAMIC(CSoftShadow)
public:
  CSoftShadow() = default;

  // Builds the shadow picture from a 32-bit graphic. mode != 0: offset shadow (radius, opacity
  // and offsets); mode 0: floor shadow (radius, opacity, scale and tilt). Returns 1, or 0 when
  // the graphic or the picture cannot be had.
  int Generate(int mode, double scale, double tilt, double radius, double opacity, double offsetX, double offsetY,
               const std::uint32_t* pixels, int width, int height);
  // Moves an offset shadow without regenerating it; nothing happens for a floor shadow.
  void SetOffset(double offsetX, double offsetY, int& pictureX, int& pictureY);

  int Mode() const { return m_mode; }
  double GetRadius() const { return m_radius; }
  double Opacity() const { return m_opacity; }
  double OffsetX() const { return m_offsetX; }
  double OffsetY() const { return m_offsetY; }
  // Where the picture's bottom-left corner lies relative to the graphic's, in pixels (y upward).
  int PictureX() const { return m_pictureX; }
  int PictureY() const { return m_pictureY; }

  // Source of the small noise that hides banding in the floor shadow's blur.
  void SeedNoise(std::uint32_t seed) { m_noise = seed; }

private:
  bool GenerateOffset(const std::uint32_t* pixels, int width, int height);
  bool GenerateFloor(double scale, double tilt, const std::uint32_t* pixels, int width, int height);
  int NextNoise();

  int m_mode = 0;
  double m_radius = 0;
  double m_opacity = 0;
  double m_offsetX = 0, m_offsetY = 0;
  int m_pictureX = 0, m_pictureY = 0;
  std::uint32_t m_noise = 0x2545F491u;
};
