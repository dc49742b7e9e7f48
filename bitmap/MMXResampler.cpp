#include "bitmap/MMXResampler.h"

#include "bitmap/bitmapmanip.h"

#include <algorithm>
#include <cmath>
#include <new>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {
constexpr double kPi = 3.14159265358979323846;
// Both passes keep weights of kWeightShift bits: the product of the two passes is undone with
// one shift at the end.
constexpr int kProductShift = 2 * CMMXResampler::kWeightShift;
// A factor below this needs more taps than one pass allows: the scaling runs in two passes.
constexpr double kSinglePassLimit = 0.02;
constexpr float kMinPercent = 0.4f;
constexpr float kMaxPercent = 1000.0f;

inline int RoundHalfEven(double value) { return int(std::nearbyint(value)); }

double SmoothStep(double x) {
  x = std::fabs(x);
  return x < 1 ? 1 - 3 * x * x + 2 * x * x * x : 0;
}

double MitchellNetravali(double x) {
  x = std::fabs(x);
  if (x < 1) return (21 * x * x * x - 36 * x * x + 16) / 18;
  if (x < 2) return (-7 * x * x * x + 36 * x * x - 60 * x + 32) / 18;
  return 0;
}
}  // namespace

int HasMMX() {
#if defined(__i386__) || defined(__x86_64__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return 0;
  return int((d >> 23) & 1);
#else
  return 1;  // the engine is plain integer code: any processor runs it
#endif
}

CMMXResampler::CMMXResampler() = default;

void CMMXResampler::SetRect(int a, int b, int c, int d) {
  crop.left = std::min(a, c);
  crop.right = std::max(a, c);
  crop.top = std::min(b, d);
  crop.bottom = std::max(b, d);
}

bool CMMXResampler::BuildWeights(double scale, int& taps, std::vector<int>& table) const {
  const bool reducing = scale < 1;
  const double b = sharpening;
  const bool computed = b != 0 || (filterKind != 0 && reducing);
  const double sPrime = reducing ? scale : 1.0;
  const double widen = std::fabs(b) + 1;
  const double support = filterKind <= 1 ? 2 : 4;
  double (*kernel)(double) = filterKind <= 1 ? SmoothStep : MitchellNetravali;
  double n;
  if (computed)
    n = std::nearbyint(support * widen / sPrime + 0.5);
  else
    n = support;  // plain interpolation between the nearest neighbours
  if (!(n >= 1) || n > kMaxTaps) return false;
  taps = int(n);
  const double q = sPrime / widen;
  table.assign(std::size_t(taps) * kPhases, 0);
  std::vector<double> raw(static_cast<std::size_t>(taps));
  for (int p = 0; p < kPhases; ++p) {
    double sum = 0;
    for (int t = 0; t < taps; ++t) {
      const double d = t - taps / 2 + (p + 0.5) / kPhases;
      double w;
      if (!computed)
        w = kernel(d);
      else if (b > 0)
        w = 32768.0 * sPrime * kernel(sPrime * d) - 16384.0 * q * kernel(q * d);
      else
        w = kernel(q * d);
      raw[std::size_t(t)] = w;
      sum += w;
    }
    int* row = &table[std::size_t(p) * std::size_t(taps)];
    if (std::fabs(sum) < 1e-12) {
      row[taps / 2] = kWeightOne;
      continue;
    }
    for (int t = 0; t < taps; ++t) row[t] = RoundHalfEven(raw[std::size_t(t)] * kWeightOne / sum);
  }
  return true;
}

void CMMXResampler::MapAxis(Axis& axis, int outputCount, int outputOrigin, double scale, int cropStart) const {
  axis.firstSource.assign(std::size_t(outputCount), 0);
  axis.phase.assign(std::size_t(outputCount), 0);
  for (int i = 0; i < outputCount; ++i) {
    const double position = (i + outputOrigin + 0.5) / scale - 0.5 + cropStart;
    const double base = std::floor(position);
    const int phase = std::min(kPhases - 1, int((position - base) * kPhases));
    // Tap t reads source index first - t: the taps run from base + taps/2 down.
    axis.firstSource[std::size_t(i)] = int(base) + axis.taps / 2;
    axis.phase[std::size_t(i)] = phase;
  }
}

int CMMXResampler::Resample() {
  outputWidth = outputHeight = 0;
  if (!HasMMX()) return 0;
  if (!sourcePixels || sourceWidth <= 0 || sourceHeight <= 0) return 0;

  // Normalise the crop and the output window.
  RECT c = crop;
  c.left = std::max<LONG>(c.left, 0);
  c.top = std::max<LONG>(c.top, 0);
  c.right = std::min<LONG>(c.right, sourceWidth);
  c.bottom = std::min<LONG>(c.bottom, sourceHeight);
  if (c.right <= c.left || c.bottom <= c.top) c = RECT{0, 0, sourceWidth, sourceHeight};
  RECT w = window;
  w.left = std::max<LONG>(0, std::min<LONG>(w.left, kWindowLimit));
  w.top = std::max<LONG>(0, std::min<LONG>(w.top, kWindowLimit));
  w.right = std::max<LONG>(0, std::min<LONG>(w.right, kWindowLimit));
  w.bottom = std::max<LONG>(0, std::min<LONG>(w.bottom, kWindowLimit));
  if (w.right <= w.left || w.bottom <= w.top) w = RECT{0, 0, kWindowLimit, kWindowLimit};
  m_cropX0 = c.left;
  m_cropY0 = c.top;
  m_cropX1 = c.right;
  m_cropY1 = c.bottom;
  const double cw = c.right - c.left, ch = c.bottom - c.top;

  // Scale and output size.
  const double theta = rotationDegrees * kPi / 180.0;
  const double cosT = std::fabs(std::cos(theta)), sinT = std::fabs(std::sin(theta));
  double s = scalePercent * 0.01;
  if (fitWidth)
    s = fitTarget / (cw * cosT + ch * sinT);
  else if (fitHeight)
    s = fitTarget / (ch * cosT + cw * sinT);
  if (!(s > 0) || !std::isfinite(s)) return 0;
  double ow = std::nearbyint(cw * s), oh = std::nearbyint(ch * s);
  if (fitWidth) ow = fitTarget;
  if (fitHeight) oh = fitTarget;
  ow = std::min<double>(ow, w.right) - w.left;
  oh = std::min<double>(oh, w.bottom) - w.top;
  if (ow <= 0 || oh <= 0 || ow > kMaxOutputSide || oh > kMaxOutputSide || ow * oh > double(maxOutputPixels))
    return 0;
  enlarging = s > 1;
  return Prepare(int(ow), int(oh), s, s, w.left, w.top);
}

int CMMXResampler::ResampleExact(int width, int height) {
  outputWidth = outputHeight = 0;
  if (!HasMMX()) return 0;
  if (!sourcePixels || sourceWidth <= 0 || sourceHeight <= 0) return 0;
  if (width <= 0 || height <= 0 || width > kMaxOutputSide || height > kMaxOutputSide ||
      double(width) * height > double(maxOutputPixels))
    return 0;
  m_cropX0 = m_cropY0 = 0;
  m_cropX1 = sourceWidth;
  m_cropY1 = sourceHeight;
  const double sx = double(width) / sourceWidth, sy = double(height) / sourceHeight;
  enlarging = std::max(sx, sy) > 1;
  return Prepare(width, height, sx, sy, 0, 0);
}

int CMMXResampler::Prepare(int width, int height, double scaleX, double scaleY, int originX, int originY) {
  if (!BuildWeights(scaleX, m_x.taps, m_x.weights) || !BuildWeights(scaleY, m_y.taps, m_y.weights)) return 0;
  outputWidth = width;
  outputHeight = height;
  MapAxis(m_x, outputWidth, originX, scaleX, m_cropX0);
  MapAxis(m_y, outputHeight, originY, scaleY, m_cropY0);
  return 1;
}

void CMMXResampler::CopyOutputRows(std::uint32_t* destination) {
  if (!destination || !sourcePixels || outputWidth <= 0 || outputHeight <= 0) return;
  const int ow = outputWidth;
  const int rowTaps = m_y.taps, columnTaps = m_x.taps;
  // Horizontally filtered source rows, four channels per output column, kept in a ring of as
  // many slots as there are vertical taps: the rows an output row needs are consecutive.
  std::vector<int> ring(std::size_t(rowTaps) * std::size_t(ow) * 4);
  std::vector<int> ringRow(std::size_t(rowTaps), -1);
  const auto clampColumn = [this](int x) { return std::max(m_cropX0, std::min(m_cropX1 - 1, x)); };
  const auto clampRow = [this](int y) { return std::max(m_cropY0, std::min(m_cropY1 - 1, y)); };
  const auto filteredRow = [&](int y) -> const int* {
    const std::size_t slot = std::size_t(y % rowTaps);
    int* out = &ring[slot * std::size_t(ow) * 4];
    if (ringRow[slot] == y) return out;
    ringRow[slot] = y;
    const std::uint32_t* source = sourcePixels + std::size_t(y) * std::size_t(sourceWidth);
    for (int i = 0; i < ow; ++i) {
      const int* weights = &m_x.weights[std::size_t(m_x.phase[std::size_t(i)]) * std::size_t(columnTaps)];
      const int first = m_x.firstSource[std::size_t(i)];
      int acc[4] = {0, 0, 0, 0};
      for (int t = 0; t < columnTaps; ++t) {
        const std::uint32_t px = source[clampColumn(first - t)];
        const int wt = weights[t];
        acc[0] += wt * int(px & 0xFF);
        acc[1] += wt * int((px >> 8) & 0xFF);
        acc[2] += wt * int((px >> 16) & 0xFF);
        acc[3] += wt * int(px >> 24);
      }
      std::copy(acc, acc + 4, out + std::size_t(i) * 4);
    }
    return out;
  };

  std::vector<const int*> rows(static_cast<std::size_t>(rowTaps));
  for (int j = 0; j < outputHeight; ++j) {
    const int* weights = &m_y.weights[std::size_t(m_y.phase[std::size_t(j)]) * std::size_t(rowTaps)];
    const int first = m_y.firstSource[std::size_t(j)];
    for (int t = 0; t < rowTaps; ++t) rows[std::size_t(t)] = filteredRow(clampRow(first - t));
    std::uint32_t* target = destination + std::size_t(j) * std::size_t(ow);
    for (int i = 0; i < ow; ++i) {
      long long acc[4] = {0, 0, 0, 0};
      for (int t = 0; t < rowTaps; ++t) {
        const int* h = rows[std::size_t(t)] + std::size_t(i) * 4;
        const long long wt = weights[t];
        acc[0] += wt * h[0];
        acc[1] += wt * h[1];
        acc[2] += wt * h[2];
        acc[3] += wt * h[3];
      }
      std::uint32_t px = 0;
      for (int k = 0; k < 4; ++k) {
        const long long v = (acc[k] + (1LL << (kProductShift - 1))) >> kProductShift;
        px |= std::uint32_t(std::max(0LL, std::min(255LL, v))) << (8 * k);
      }
      target[i] = px;
    }
  }
}

namespace {
void SetUpSharpening(CMMXResampler& resampler, const Bitmap32& bitmap) {
  resampler.sourceWidth = bitmap.Width();
  resampler.sourceHeight = bitmap.Height();
  resampler.sourcePixels = bitmap.Pixels();
  resampler.filtered = 1;
  resampler.filterKind = 1;
  resampler.sharpening = 1.0f;
  resampler.fitWidth = resampler.fitHeight = 0;
}

// Replaces the bitmap by the resampler's output; 0 with the bitmap untouched.
int TakeOutput(CMMXResampler& resampler, Bitmap32*& bitmap) {
  Bitmap32* result = new (std::nothrow) Bitmap32;
  if (!result || result->Create(resampler.outputWidth, resampler.outputHeight) != 0) {
    delete result;
    return 0;
  }
  resampler.CopyOutputRows(result->Pixels());
  delete bitmap;
  bitmap = result;
  return 1;
}

// Filtered scaling to an exact size, in two passes when a side shrinks below the single-pass
// limit. Each pass fixes its output sides; the per-side scale follows from them.
int ResampleToSize(Bitmap32*& bitmap, int width, int height) {
  if (!bitmap || !bitmap->Pixels() || width <= 0 || height <= 0) return 0;
  const double fx = double(width) / bitmap->Width(), fy = double(height) / bitmap->Height();
  if (std::min(fx, fy) < kSinglePassLimit) {
    const int midWidth = std::max(width, RoundHalfEven(bitmap->Width() * std::sqrt(fx)));
    const int midHeight = std::max(height, RoundHalfEven(bitmap->Height() * std::sqrt(fy)));
    Bitmap32* work = new (std::nothrow) Bitmap32;
    if (!work || work->CreateFromPixels(bitmap->Width(), bitmap->Height(), bitmap->Pixels()) != 0) {
      delete work;
      return 0;
    }
    if (!ResampleToSize(work, midWidth, midHeight) || !ResampleToSize(work, width, height)) {
      delete work;
      return 0;
    }
    delete bitmap;
    bitmap = work;
    return 1;
  }
  CMMXResampler resampler;
  SetUpSharpening(resampler, *bitmap);
  if (!resampler.ResampleExact(width, height)) return 0;
  return TakeOutput(resampler, bitmap);
}
}  // namespace

int ResampleMMX(double factor, Bitmap32*& bitmap) {
  if (!bitmap || !bitmap->Pixels()) return 0;
  CMMXResampler resampler;
  SetUpSharpening(resampler, *bitmap);
  double percent = factor * 100.0;
  if (!(percent >= kMinPercent)) percent = kMinPercent;
  if (percent > kMaxPercent) percent = kMaxPercent;
  resampler.scalePercent = float(percent);
  if (!resampler.Resample()) return 0;
  return TakeOutput(resampler, bitmap);
}

namespace {
// The picture's size fitted into the limits keeping its shape, neither side below one pixel.
bool FittedSize(const Bitmap32& bitmap, int maxHeight, int maxWidth, int& width, int& height) {
  if (maxHeight <= 0 || maxWidth <= 0) return false;
  height = bitmap.Height();
  width = bitmap.Width();
  FitSizeWithin(maxHeight, maxWidth, true, height, width);
  height = std::max(1, std::min(height, maxHeight));
  width = std::max(1, std::min(width, maxWidth));
  return true;
}

int ScaleTo(Bitmap32*& bitmap, int width, int height) {
  if (!HasMMX()) return ResampleNearest(bitmap, width, height);
  return ResampleToSize(bitmap, width, height);
}
}  // namespace

int ScaleBitmap32(Bitmap32*& bitmap, int maxHeight, int maxWidth, bool keepAspect) {
  if (!keepAspect) return ResampleNearest(bitmap, maxWidth, maxHeight);
  if (!bitmap || !bitmap->Pixels()) return 0;
  int width = 0, height = 0;
  if (!FittedSize(*bitmap, maxHeight, maxWidth, width, height)) return 0;
  return ScaleTo(bitmap, width, height);
}

int ScaleBitmap32ToThumbnail(Bitmap32*& bitmap, int frameHeight, int frameWidth, RECT& rect, double& factor) {
  rect = RECT{0, 0, 0, 0};
  factor = 0;
  if (!bitmap || !bitmap->Pixels() || bitmap->Width() <= 0 || bitmap->Height() <= 0) return 0;
  int width = 0, height = 0;
  if (!FittedSize(*bitmap, frameHeight, frameWidth, width, height)) return 0;
  const double scale = double(width) / bitmap->Width();
  if (!ScaleTo(bitmap, width, height)) return 0;
  const int left = (frameWidth - width) / 2, top = (frameHeight - height) / 2;
  rect = RECT{left, top, left + width, top + height};
  factor = scale;
  return 1;
}
