// Span output set-up, the flat-colour span writers and the format stages.
#include "tessro3d/Tessro3DSpanOutput.h"

#include <cstring>

#include "tessro3d/Tessro3DBitmapFill.h"
#include "tessro3d/Tessro3DPalette.h"

namespace tessro3d {

Tessro3DSpanOutput g_spanOutput;
std::uint32_t g_rowBuffer[kRowBufferPixels];

void SpanNothing() {}
void SpanBeginAtRow(std::int32_t top) { g_spanOutput.row = TargetRow(top); }
void SpanNextRow() { g_spanOutput.row += g_state.targetStride; }

namespace {

inline std::uint32_t LoadWord(const std::uint8_t* p) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  return w;
}
inline void StoreWord(std::uint8_t* p, std::uint32_t w) { std::memcpy(p, &w, 4); }

// Bits of a 32-bit word (as loaded little-endian) that hold pixel positions [a, b).
template <int Bits>
std::uint32_t PixelMask(int a, int b) {
  std::uint32_t mask = 0;
  for (int p = a; p < b; ++p) {
    int shift;
    if (Bits == 1) shift = (p / 8) * 8 + 7 - (p % 8);
    else if (Bits == 4) shift = (p / 2) * 8 + (p % 2 == 0 ? 4 : 0);
    else shift = p * Bits;
    mask |= (Bits == 32 ? 0xFFFFFFFFu : ((1u << Bits) - 1)) << shift;
  }
  return mask;
}

// Each pixel x takes the pattern's pixel at position x mod P of the row's word: the pattern
// is anchored to absolute columns, so adjoining spans join without a seam.
template <int Bits>
void FlatSpan(std::int32_t y, std::int32_t x0, std::int32_t x1) {
  constexpr int P = 32 / Bits;
  const std::uint32_t pattern = g_flat.pattern[Bits == 32 ? 0 : (y & 3)];
  std::uint8_t* row = g_spanOutput.row;
  std::int32_t first = x0 / P, last = (x1 - 1) / P;
  for (std::int32_t w = first; w <= last; ++w) {
    int a = w == first ? x0 - w * P : 0;
    int b = w == last ? x1 - w * P : P;
    std::uint8_t* at = row + 4 * w;
    if (a == 0 && b == P) {
      StoreWord(at, pattern);
    } else {
      std::uint32_t paint = PixelMask<Bits>(a, b);
      StoreWord(at, (LoadWord(at) & ~paint) | (pattern & paint));
    }
  }
}

// --- Format stages -------------------------------------------------------------------

inline int RowPhase(std::int32_t y) { return (y + g_state.ditherOriginY) & 3; }
inline int ColumnPhase(std::int32_t x) { return (x - g_state.ditherOriginX) & 3; }

void Stage1(std::int32_t y, std::int32_t x0, std::int32_t x1, std::uint8_t* row) {
  const std::uint8_t* k = kThresholdK[RowPhase(y)];
  for (std::int32_t x = x0; x < x1; ++x) {
    std::uint32_t p = g_rowBuffer[x];
    std::uint32_t g = 77u * ((p >> 16) & 0xFF) + 151u * ((p >> 8) & 0xFF) + 28u * (p & 0xFF);
    g += g >> 8;
    int level = static_cast<int>((17u * g) >> 16);
    std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
    if (level > 15 - k[ColumnPhase(x)]) row[x >> 3] |= bit;
    else row[x >> 3] &= static_cast<std::uint8_t>(~bit);
  }
}

int SixteenColourOfPixel(int red, int green, int blue, int t) {
  auto bit = [t](int v) { return 2 * v + t >= 255 ? 1 : 0; };
  if (red == green && green == blue) {
    int v = red;
    if (v < 128) return bit(v) ? 7 : 0;
    int s = 4 * v - 512 + t;
    return s < 255 ? 7 : (s < 510 ? 8 : 15);
  }
  int dominant, value;
  if (red > green && red > blue) { dominant = 0; value = red; }
  else if (green >= red && green > blue) { dominant = 1; value = green; }
  else { dominant = 2; value = blue; }
  if (value < 128) return bit(red) + 2 * bit(green) + 4 * bit(blue);
  int m = value - 128;
  auto reduce = [m](int c) { return c - m > m ? c - m : c / 2; };
  switch (dominant) {
    case 0: return 1 + 8 * bit(m) + 2 * bit(reduce(green)) + 4 * bit(reduce(blue));
    case 1: return 2 + 8 * bit(m) + bit(reduce(red)) + 4 * bit(reduce(blue));
    default: return 4 + 8 * bit(m) + bit(reduce(red)) + 2 * bit(reduce(green));
  }
}

void Stage4(std::int32_t y, std::int32_t x0, std::int32_t x1, std::uint8_t* row) {
  const std::uint8_t* k = kThresholdK[RowPhase(y)];
  for (std::int32_t x = x0; x < x1; ++x) {
    std::uint32_t p = g_rowBuffer[x];
    int index = SixteenColourOfPixel((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, 16 * k[ColumnPhase(x)] + 7);
    std::uint8_t& byte = row[x >> 1];
    byte = (x & 1) ? static_cast<std::uint8_t>((byte & 0xF0) | index) : static_cast<std::uint8_t>((byte & 0x0F) | (index << 4));
  }
}

inline int CubeLevel(int v, int t) {
  static const int kSteps[5] = {50, 101, 152, 203, 254};
  int level = 0;
  for (int s : kSteps) level += s <= v + t;
  return level;
}

void Stage8(std::int32_t y, std::int32_t x0, std::int32_t x1, std::uint8_t* row) {
  static const std::uint8_t kCubeThreshold[16] = {0, 3, 6, 10, 13, 16, 19, 22, 26, 29, 32, 35, 38, 42, 45, 48};
  const std::uint8_t* k = kThresholdK[RowPhase(y)];
  const int matching = g_state.colourMatching;
  for (std::int32_t x = x0; x < x1; ++x) {
    std::uint32_t p = g_rowBuffer[x];
    int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
    if (matching > 2) {
      auto q = [](int v) { return (62 * v + 255) / 510; };
      row[x] = g_tables.inverse[q(blue) << 10 | q(green) << 5 | q(red)];
      continue;
    }
    int kk = k[ColumnPhase(x)];
    if (matching == 2 && red == green && green == blue) {
      row[x] = g_tables.greyRun[2 * red + (17 * kk + 8) / 16];
      continue;
    }
    int t = kCubeThreshold[kk];
    row[x] = g_tables.cubeToPalette[CubeLevel(red, t) + 6 * CubeLevel(green, t) + 36 * CubeLevel(blue, t)];
  }
}

struct SixteenBitFields {
  int redBits, redShift, greenBits, greenShift, blueBits;
};
const SixteenBitFields kLayouts[4] = {{5, 11, 6, 5, 5}, {6, 10, 5, 5, 5}, {5, 10, 5, 5, 5}, {6, 10, 6, 4, 4}};

inline int Reduce16(int v, int bits, int phase) {
  int q;
  switch (bits) {
    case 4: q = (v + 4 * phase) / 17; return q > 15 ? 15 : q;
    case 5: q = (4 * (v + 2 * phase) + 3) / 33; return q > 31 ? 31 : q;
    default: q = (16 * (v + phase) + 15) / 65; return q > 63 ? 63 : q;
  }
}

void Stage16(std::int32_t y, std::int32_t x0, std::int32_t x1, std::uint8_t* row) {
  const SixteenBitFields& l = kLayouts[g_state.ditherMode & 3];
  static const int kPhase[2][2] = {{3, 0}, {1, 2}};  // [yy][xx]
  const int yy = (y + g_state.ditherOriginY) & 1;
  for (std::int32_t x = x0; x < x1; ++x) {
    std::uint32_t p = g_rowBuffer[x];
    int phase = kPhase[yy][(x - g_state.ditherOriginX) & 1];
    std::uint16_t pixel = static_cast<std::uint16_t>((Reduce16((p >> 16) & 0xFF, l.redBits, phase) << l.redShift) |
                                                     (Reduce16((p >> 8) & 0xFF, l.greenBits, phase) << l.greenShift) |
                                                     Reduce16(p & 0xFF, l.blueBits, phase));
    std::memcpy(row + 2 * x, &pixel, 2);
  }
}

}  // namespace

FormatStage FormatStageFor(std::uint32_t targetFormat) {
  switch (targetFormat) {
    case kFormat1: return Stage1;
    case kFormat4: return Stage4;
    case kFormat8: return Stage8;
    case kFormat16: return Stage16;
    default: return nullptr;
  }
}

void SetUpSpanOutput() {
  if (g_state.targetRows == 0) Fail(kErrInvalidScanlineRoutine);
  if (g_state.clipRegion != 0) Fail(kErrInvalidBitmapDepth);
  g_spanOutput.rowStart = SpanNothing;
  g_spanOutput.end = SpanNothing;
  switch (g_state.fillStyle) {
    case kFillNone: Fail(kErrUndefinedFillStyle);
    case kFillFlat:
      g_spanOutput.begin = SpanBeginAtRow;
      g_spanOutput.rowEnd = SpanNextRow;
      switch (g_state.targetFormat) {
        case kFormat1: g_spanOutput.span = FlatSpan<1>; break;
        case kFormat4: g_spanOutput.span = FlatSpan<4>; break;
        case kFormat8: g_spanOutput.span = FlatSpan<8>; break;
        case kFormat16: g_spanOutput.span = FlatSpan<16>; break;
        default: g_spanOutput.span = FlatSpan<32>; break;
      }
      return;
    case kFillBitmap:
      SetUpBitmapFillSpans();
      return;
    default: Fail(kErrInvalidBitmapDepth);
  }
}

}  // namespace tessro3d
