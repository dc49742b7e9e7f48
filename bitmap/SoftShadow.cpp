#include "bitmap/SoftShadow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

IMPLEMENT_DYNAMIC(CSoftShadow, Bitmap32)

namespace {
constexpr int kTransparencyShift = 24;
constexpr std::uint32_t kClearBlack = 0xFF000000u;
// Sides beyond this are refused: a shadow picture is never larger than a preview can show,
// and the products below stay far inside 32 bits.
constexpr int kMaxShadowSide = 32768;
// A tilt whose tangent exceeds this would shear the picture thousands of pixels wide.
constexpr double kMaxShearSlope = 64.0;
constexpr double kTwoPi = 6.2831854;

// Rounds a parameter that may come from anywhere: out-of-range values (and NaN) are limited
// before the conversion, which would otherwise be undefined.
inline int RoundHalfEven(double value) {
  if (!(value > -kMaxShadowSide)) return value != value ? 0 : -kMaxShadowSide;
  if (value > kMaxShadowSide) return kMaxShadowSide;
  return int(std::nearbyint(value));
}
inline std::uint32_t BlackWithTransparency(int t) { return std::uint32_t(t) << kTransparencyShift; }

// A picture of words with the spare words a Bitmap32 keeps after its pixels.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> words;
  bool Make(int w, int h, std::uint32_t fill) {
    if (w < 0 || h < 0 || w > kMaxShadowSide || h > kMaxShadowSide) return false;
    width = w;
    height = h;
    try {
      words.assign(std::size_t(w) * std::size_t(h) + kBitmap32SpareWords, fill);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  std::uint32_t* Row(int y) { return words.data() + std::size_t(y) * std::size_t(width); }
};

// Runs the disc over a source picture into a picture grown by radius on every side, one pixel
// per disc position, with the transparency the shade function gives for the disc's average.
template <typename Shade>
bool BlurGrown(const std::uint32_t* source, int width, int height, int radius, Picture& out, Shade shade) {
  if (!out.Make(width + 2 * radius, height + 2 * radius, kClearBlack)) return false;
  CircleKernel kernel(source, width, height);
  kernel.Setup(std::min(radius, kMaxKernelRadius), -radius, -radius);
  for (int y = 0; y < out.height; ++y) {
    std::uint32_t* row = out.Row(y);
    for (int x = 0; x < out.width; ++x) {
      row[x] = BlackWithTransparency(shade(kernel.Average()));
      kernel.StepRight();
    }
    kernel.StepDown(1);
  }
  return true;
}
}  // namespace

// ---- CircleKernel ----

int CircleKernel::Value(int x, int y) const {
  if (!m_pixels || x < 0 || y < 0 || x >= m_width || y >= m_height) return kOutsideValue;
  return int(m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] >> kTransparencyShift);
}

void CircleKernel::SumRow(Row& row) const {
  row.sum = 0;
  for (int x = row.left; x <= row.right; ++x) row.sum += Value(x, row.y);
}

void CircleKernel::Setup(int radius, int centreX, int centreY) {
  m_radius = std::max(0, std::min(radius, kMaxKernelRadius));
  const int r = m_radius;
  const int diameter = 2 * r + 1;
  m_rows.assign(std::size_t(diameter), Row{});
  m_cellCount = diameter * diameter;
  m_first = 0;
  m_last = 2 * r;
  for (int k = 0; k < diameter; ++k) {
    Row& row = m_rows[std::size_t(k)];
    row.y = centreY - r + k;
    const int dy = row.y - centreY;
    int left = centreX - r;
    while ((left - centreX) * (left - centreX) + dy * dy > r * r) {
      ++left;
      --m_cellCount;
    }
    int right = centreX + r;
    while ((right - centreX) * (right - centreX) + dy * dy > r * r) {
      --right;
      --m_cellCount;
    }
    row.left = row.initialLeft = left;
    row.right = row.initialRight = right;
    SumRow(row);
  }
}

int CircleKernel::Average() const {
  if (m_cellCount <= 0) return kOutsideValue;
  long long total = 0;
  for (int k = m_first; k <= m_last; ++k) total += m_rows[std::size_t(k)].sum;
  return RoundHalfEven(double(total) / double(m_cellCount));
}

void CircleKernel::StepRight() {
  for (int k = m_first; k <= m_last; ++k) {
    Row& row = m_rows[std::size_t(k)];
    if (row.y < 0 || row.y >= m_height) continue;  // all clear, the sum stays
    ++row.right;
    row.sum += Value(row.right, row.y) - Value(row.left, row.y);
    ++row.left;
  }
}

void CircleKernel::StepDown(int rows) {
  for (int k = m_first; k <= m_last; ++k) {
    Row& row = m_rows[std::size_t(k)];
    row.y += rows;
    row.left = row.initialLeft;
    row.right = row.initialRight;
    SumRow(row);
  }
}

void CircleKernel::ShrinkTo(int radius) {
  if (radius == m_radius) return;
  if (m_last > m_first) ++m_first;
  if (m_last > m_first) --m_last;
  m_cellCount = 0;
  for (int k = m_first; k <= m_last; ++k) {
    Row& row = m_rows[std::size_t(k)];
    if (row.right > row.left) {
      ++row.left;
      --row.right;
      ++row.initialLeft;
      --row.initialRight;
    }
    m_cellCount += row.right - row.left + 1;
    SumRow(row);
  }
  m_radius = radius;
}

// ---- Squashing ----

std::vector<std::uint32_t> SquashTransparencyRows(const std::uint32_t* pixels, int width, int height, int newHeight) {
  std::vector<std::uint32_t> out;
  if (!pixels || width <= 0 || height <= 0 || newHeight <= 0) return out;
  out.assign(std::size_t(width) * std::size_t(newHeight) + kBitmap32SpareWords, kClearBlack);
  int current = 0, span = 1;
  long long counter = 0;
  for (int i = 0; i < newHeight; ++i) {
    const std::uint32_t* source = pixels + std::size_t(current) * std::size_t(width);
    std::uint32_t* target = out.data() + std::size_t(i) * std::size_t(width);
    const int first = std::max(0, current - span + 1);
    const int rows = current - first + 1;
    for (int x = 0; x < width; ++x) {
      unsigned total = 0;
      for (int y = first; y <= current; ++y)
        total += pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] >> kTransparencyShift;
      target[x] = (source[x] & 0x00FFFFFFu) | (std::uint32_t(total / unsigned(rows)) << kTransparencyShift);
    }
    counter += height;
    int advanced = 0;
    while (counter > 0 && current < height - 1) {
      counter -= newHeight;
      ++current;
      ++advanced;
    }
    span = advanced + 1;
  }
  return out;
}

// ---- CSoftShadow ----

int CSoftShadow::NextNoise() {
  // xorshift32: any uniform source will do; a fixed seed keeps previews repeatable.
  m_noise ^= m_noise << 13;
  m_noise ^= m_noise >> 17;
  m_noise ^= m_noise << 5;
  return int(m_noise & 0x7FFFFFFFu);
}

int CSoftShadow::Generate(int mode, double scale, double tilt, double radius, double opacity, double offsetX,
                          double offsetY, const std::uint32_t* pixels, int width, int height) {
  m_radius = radius;
  m_mode = mode;
  m_opacity = opacity;
  m_offsetX = mode ? offsetX : 0;
  m_offsetY = mode ? offsetY : 0;
  m_pictureX = m_pictureY = 0;
  if (!pixels || width <= 0 || height <= 0) {
    FreeBuffer();
    return 0;
  }
  const bool made = mode ? GenerateOffset(pixels, width, height) : GenerateFloor(scale, tilt, pixels, width, height);
  if (!made) FreeBuffer();
  return made ? 1 : 0;
}

bool CSoftShadow::GenerateOffset(const std::uint32_t* pixels, int width, int height) {
  const int r = std::max(0, RoundHalfEven(m_radius));
  const double opacity = m_opacity;
  Picture picture;
  if (!BlurGrown(pixels, width, height, r, picture, [opacity](int a) {
        return 255 - int((255 - a) * opacity + 0.5);
      }))
    return false;
  if (CreateFromPixels(picture.width, picture.height, picture.words.data()) != 0) return false;
  m_pictureX = RoundHalfEven(m_offsetX) - r;
  m_pictureY = RoundHalfEven(m_offsetY) - r;
  return true;
}

bool CSoftShadow::GenerateFloor(double scale, double tilt, const std::uint32_t* pixels, int width, int height) {
  const int r = std::max(0, RoundHalfEven(m_radius));
  // 1. Squash the silhouette toward the floor.
  const double squashed = double(height) * scale;
  if (!(squashed >= 0) || squashed > kMaxShadowSide) return false;
  const int squashedHeight = RoundHalfEven(squashed);
  const std::vector<std::uint32_t> rows = SquashTransparencyRows(pixels, width, height, squashedHeight);

  // 2. Blur that recedes: widest at the top of the shadow, narrowing toward its base.
  const int rr = std::max(0, RoundHalfEven(r * scale));
  Picture blurred;
  if (!blurred.Make(width + 2 * rr, squashedHeight + rr, kClearBlack)) return false;
  {
    CircleKernel kernel(rows.empty() ? nullptr : rows.data(), width, squashedHeight);
    kernel.Setup(std::min(rr, kMaxKernelRadius), -rr, squashedHeight + rr);
    int q = 2 * (squashedHeight + rr) - 2;
    for (int y = blurred.height - 1; y >= 0; --y) {
      kernel.ShrinkTo(std::max(0, std::min({rr, q / 3 + 1, kMaxKernelRadius})));
      std::uint32_t* row = blurred.Row(y);
      for (int x = 0; x < blurred.width; ++x) {
        int o = int(255 - (255 - kernel.Average()) * m_opacity);
        if (o >= 6 && o <= 249) o = o + 5 - NextNoise() % 10;
        row[x] = BlackWithTransparency(std::max(0, std::min(255, o)));
        kernel.StepRight();
      }
      kernel.StepDown(-1);
      q -= 2;
    }
  }
  m_pictureX -= rr;

  // 3. Shear by the tilt.
  double slope = std::tan(tilt * kTwoPi / 360.0);
  if (!std::isfinite(slope)) slope = 0;
  slope = std::max(-kMaxShearSlope, std::min(kMaxShearSlope, slope));
  const int h2 = blurred.height;
  const int shear = RoundHalfEven(slope * h2);
  Picture sheared;
  if (!sheared.Make(std::abs(shear) + blurred.width, h2, kClearBlack)) return false;
  for (int y = 0; y < h2; ++y) {
    const int start = slope > 0 ? RoundHalfEven(slope * y) : -RoundHalfEven(slope * (h2 - 1 - y));
    std::copy(blurred.Row(y), blurred.Row(y) + blurred.width, sheared.Row(y) + start);
  }
  if (slope <= 0) m_pictureX -= std::abs(shear);

  // 4. Soften the sheared edges with a radius-1 disc.
  Picture soft;
  if (!BlurGrown(sheared.words.data(), sheared.width, sheared.height, 1, soft, [](int a) { return a; })) return false;
  if (slope <= 0) m_pictureX -= 1;

  // 5. The bottom row lies under the floor line: drop it.
  const int finalHeight = std::max(0, soft.height - 1);
  if (CreateFromPixels(soft.width, finalHeight, soft.words.data() + soft.width) != 0) return false;
  m_pictureY = 0;
  return true;
}

void CSoftShadow::SetOffset(double offsetX, double offsetY, int& pictureX, int& pictureY) {
  if (!m_mode) return;
  m_pictureX = RoundHalfEven(offsetX) - RoundHalfEven(m_radius);
  m_pictureY = RoundHalfEven(offsetY) - RoundHalfEven(m_radius);
  m_offsetX = offsetX;
  m_offsetY = offsetY;
  pictureX = m_pictureX;
  pictureY = m_pictureY;
}
