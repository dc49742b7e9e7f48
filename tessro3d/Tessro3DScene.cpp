// 3D scenes: projection and set-up of triangles, the row-by-row output with a one-row depth
// buffer, the span routines by mode, and the 4x4 antialiased output.
#include "tessro3d/Tessro3DScene.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "tessro3d/Tessro3DPalette.h"
#include "tessro3d/Tessro3DPath.h"
#include "tessro3d/Tessro3DSpanOutput.h"
#include "tessro3d/Tessro3DTarget.h"

namespace tessro3d {

namespace {

constexpr std::int32_t kDepthEmpty = INT32_MIN;
constexpr std::int32_t kColourScale = 16711680;  // 255 × 65536: channels are 8.16
constexpr std::uint32_t kWritten = 0x01000000u;  // top byte of a pixel written by a span
constexpr std::uint32_t kOutside = 0xFF808080u;  // what the clear-outside flag writes

// Span modes: bits 0-2 interpolated channels, bit 3 textured with an additive colour,
// bit 4 textured without one, bit 7 the left edge ends first.
constexpr std::uint8_t kModeChannels = 0x07;
constexpr std::uint8_t kModeAdditive = 0x08;
constexpr std::uint8_t kModeNoAdditive = 0x10;
constexpr std::uint8_t kModeLeftEndsFirst = 0x80;

struct Plane {
  std::int32_t value, stepColumn, stepRow;
};

struct Tessro3DTriangleRecord {
  Tessro3DTriangleRecord* link;
  std::int32_t firstRow, switchRow, lastRow;
  std::int32_t leftX, leftSlope, rightX, rightSlope, thirdX, thirdSlope;
  std::int32_t referenceColumn;
  std::uint32_t packedColour;  // mode << 24 | diffuse RRGGBB of vertex 0
  Plane depth;
  Plane diffuse[3];            // red, green, blue
  Plane u, v;
  std::uint32_t packedAdditive;
  Plane additive[3];
  std::uint8_t Mode() const { return static_cast<std::uint8_t>(packedColour >> 24); }
};

// A record takes only the room its mode needs.
std::uint32_t RecordBytes(std::uint8_t mode) {
  mode &= 0x1F;
  std::uint32_t bytes;
  if (mode == 0) bytes = offsetof(Tessro3DTriangleRecord, diffuse);
  else if (mode < 8) bytes = offsetof(Tessro3DTriangleRecord, u);
  else if (mode >= 9 && mode <= 15) bytes = sizeof(Tessro3DTriangleRecord);
  else bytes = offsetof(Tessro3DTriangleRecord, additive);
  // Records follow one another in the store: each starts aligned for its link pointer.
  constexpr std::uint32_t align = alignof(Tessro3DTriangleRecord);
  return (bytes + align - 1) / align * align;
}

struct RowEntry {
  Tessro3DTriangleRecord* oldest;
  Tessro3DTriangleRecord* newest;
};

struct Scene {
  bool open = false;
  double perspective = 0;
  double m[6] = {};  // a·k, c·k, e·k, b·k, d·k, f·k
  std::uint32_t background = 0;
  bool noBackground = false, clearOutside = false, overTarget = false;
  bool antialias = false;
  bool textured = false;
  std::int32_t count = 0;
  RowEntry* rowTable = nullptr;
  std::int32_t rows = 0;
  std::int32_t clip[4] = {};
  std::int32_t centre[4] = {};
  std::int32_t bounds[4] = {kEmptyMin, kEmptyMin, kEmptyMax, kEmptyMax};
} g_scene;

std::int32_t* g_depthRow = nullptr;  // held between scenes
std::int32_t g_depthRowEntries = 0;
std::uint32_t* g_supersample = nullptr;

// Span state for one row.
struct RowOutput {
  std::uint32_t* out;  // column 0 of the output row
  std::int32_t touched0, touched1;
} g_row;

const std::uint8_t* g_blend = nullptr;

void FreeRowTable() {
  if (g_scene.rowTable) {
    RowEntry* table = g_scene.rowTable;
    g_scene.rowTable = nullptr;
    Release(table);
  }
}

void FreeSupersample() {
  if (g_supersample) {
    std::uint32_t* buffer = g_supersample;
    g_supersample = nullptr;
    Release(buffer);
  }
}

inline std::int32_t Step(std::int32_t value, std::int32_t step, std::int32_t n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + static_cast<std::uint32_t>(step) * static_cast<std::uint32_t>(n));
}
inline std::int32_t Add(std::int32_t a, std::int32_t b) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b)); }

// The byte of an 8.16 channel; a plane evaluated just past a vertex may overshoot the range
// by a fraction, which must not wrap a bright channel to black.
inline int ChannelByte(std::int32_t v) { return v < 0 ? 0 : (v >= 0x1000000 ? 255 : (v >> 16)); }

// --- Span routines ----------------------------------------------------------------------

void SpanFlat(const Tessro3DTriangleRecord& r, std::int32_t x0, std::int32_t x1) {
  const std::uint32_t pixel = kWritten | (r.packedColour & 0xFFFFFF);
  std::int32_t z = Step(r.depth.value, r.depth.stepColumn, x0 - r.referenceColumn);
  for (std::int32_t x = x0; x < x1; ++x, z = Add(z, r.depth.stepColumn))
    if (z > g_depthRow[x]) {
      g_depthRow[x] = z;
      g_row.out[x] = pixel;
    }
}

// Channels 0 red, 1 green, 2 blue; bit k of Channels says channel k is interpolated.
template <std::uint8_t Channels>
void SpanShaded(const Tessro3DTriangleRecord& r, std::int32_t x0, std::int32_t x1) {
  const std::int32_t n = x0 - r.referenceColumn;
  std::int32_t z = Step(r.depth.value, r.depth.stepColumn, n);
  std::int32_t c[3];
  for (int k = 0; k < 3; ++k) c[k] = Step(r.diffuse[k].value, r.diffuse[k].stepColumn, n);
  // Constant channels are part of the base pixel; the loop puts in the varying ones.
  std::uint32_t base = kWritten | (r.packedColour & 0xFFFFFF);
  for (int k = 0; k < 3; ++k)
    if (Channels & (1 << k)) base &= ~(0xFFu << (16 - 8 * k));
  for (std::int32_t x = x0; x < x1; ++x) {
    if (z > g_depthRow[x]) {
      g_depthRow[x] = z;
      std::uint32_t pixel = base;
      if (Channels & 1) pixel |= std::uint32_t(ChannelByte(c[0])) << 16;
      if (Channels & 2) pixel |= std::uint32_t(ChannelByte(c[1])) << 8;
      if (Channels & 4) pixel |= std::uint32_t(ChannelByte(c[2]));
      g_row.out[x] = pixel;
    }
    z = Add(z, r.depth.stepColumn);
    for (int k = 0; k < 3; ++k)
      if (Channels & (1 << k)) c[k] = Add(c[k], r.diffuse[k].stepColumn);
  }
}

// Textured: per channel min(255, round(t·d/255) + a), or round(t·d/255) without an
// additive colour; d and a interpolated for the channels of Channels, else constant.
template <std::uint8_t Channels, bool Additive>
void SpanTextured(const Tessro3DTriangleRecord& r, std::int32_t x0, std::int32_t x1) {
  const std::int32_t n = x0 - r.referenceColumn;
  std::int32_t z = Step(r.depth.value, r.depth.stepColumn, n);
  std::int32_t u = Step(r.u.value, r.u.stepColumn, n), v = Step(r.v.value, r.v.stepColumn, n);
  std::int32_t d[3], a[3];
  for (int k = 0; k < 3; ++k) {
    const int shift = 16 - 8 * k;
    d[k] = (Channels & (1 << k)) ? Step(r.diffuse[k].value, r.diffuse[k].stepColumn, n) : std::int32_t((r.packedColour >> shift) & 0xFF) << 16;
    a[k] = !Additive ? 0 : (Channels & (1 << k)) ? Step(r.additive[k].value, r.additive[k].stepColumn, n) : std::int32_t((r.packedAdditive >> shift) & 0xFF) << 16;
  }
  for (std::int32_t x = x0; x < x1; ++x) {
    if (z > g_depthRow[x]) {
      g_depthRow[x] = z;
      // The texel is fetched only for pixels that pass the depth test.
      const std::uint32_t texel = FetchTexel(u >> 16, v >> 16);
      std::uint32_t pixel = kWritten;
      for (int k = 0; k < 3; ++k) {
        const int shift = 16 - 8 * k;
        int value = Blend(g_blend, ChannelByte(d[k]), (texel >> shift) & 0xFF);
        if (Additive) value = std::min(255, value + ChannelByte(a[k]));
        pixel |= std::uint32_t(value) << shift;
      }
      g_row.out[x] = pixel;
    }
    z = Add(z, r.depth.stepColumn);
    u = Add(u, r.u.stepColumn);
    v = Add(v, r.v.stepColumn);
    for (int k = 0; k < 3; ++k)
      if (Channels & (1 << k)) {
        d[k] = Add(d[k], r.diffuse[k].stepColumn);
        if (Additive) a[k] = Add(a[k], r.additive[k].stepColumn);
      }
  }
}

using SpanRoutine = void (*)(const Tessro3DTriangleRecord&, std::int32_t, std::int32_t);

// Modes 24..31 are never built; their entries are filled with a routine that fails.
void SpanNeverBuilt(const Tessro3DTriangleRecord&, std::int32_t, std::int32_t) { Fail(kErrInvalidBitmapDepth); }

const SpanRoutine kSpanRoutines[32] = {
    SpanFlat, SpanShaded<1>, SpanShaded<2>, SpanShaded<3>, SpanShaded<4>, SpanShaded<5>, SpanShaded<6>, SpanShaded<7>,
    SpanTextured<0, true>, SpanTextured<1, true>, SpanTextured<2, true>, SpanTextured<3, true>,
    SpanTextured<4, true>, SpanTextured<5, true>, SpanTextured<6, true>, SpanTextured<7, true>,
    SpanTextured<0, false>, SpanTextured<1, false>, SpanTextured<2, false>, SpanTextured<3, false>,
    SpanTextured<4, false>, SpanTextured<5, false>, SpanTextured<6, false>, SpanTextured<7, false>,
    SpanNeverBuilt, SpanNeverBuilt, SpanNeverBuilt, SpanNeverBuilt, SpanNeverBuilt, SpanNeverBuilt, SpanNeverBuilt, SpanNeverBuilt,
};

inline SpanRoutine SpanRoutineFor(std::uint8_t mode) { return kSpanRoutines[mode & 0x1F]; }

// --- Row walk ---------------------------------------------------------------------------

Tessro3DTriangleRecord* g_list = nullptr;

void StepRecord(Tessro3DTriangleRecord& r) {
  r.leftX = Add(r.leftX, r.leftSlope);
  r.rightX = Add(r.rightX, r.rightSlope);
  r.depth.value = Add(r.depth.value, r.depth.stepRow);
  const std::uint8_t mode = r.Mode() & 0x1F;
  if (mode == 0) return;
  for (int k = 0; k < 3; ++k) r.diffuse[k].value = Add(r.diffuse[k].value, r.diffuse[k].stepRow);
  if (mode < 8) return;
  r.u.value = Add(r.u.value, r.u.stepRow);
  r.v.value = Add(r.v.value, r.v.stepRow);
  // Mode 8 (flat additive colour) has no additive planes: its record ends before them.
  if (mode >= 9 && mode <= 15)
    for (int k = 0; k < 3; ++k) r.additive[k].value = Add(r.additive[k].value, r.additive[k].stepRow);
}

void RowWalk(std::int32_t y) {
  Tessro3DTriangleRecord* previous = nullptr;
  Tessro3DTriangleRecord* r = g_list;
  while (r && r->firstRow <= y) {
    Tessro3DTriangleRecord* next = r->link;
    if (y == r->switchRow) {
      if (r->Mode() & kModeLeftEndsFirst) {
        r->leftX = r->thirdX;
        r->leftSlope = r->thirdSlope;
      } else {
        r->rightX = r->thirdX;
        r->rightSlope = r->thirdSlope;
      }
    }
    std::int32_t left = RoundToPixel(r->leftX), right = RoundToPixel(r->rightX);
    if (left <= g_scene.clip[0]) left = g_scene.clip[0];
    if (right >= g_scene.clip[2]) right = g_scene.clip[2];
    if (left < right) {
      g_row.touched0 = std::min(g_row.touched0, left);
      g_row.touched1 = std::max(g_row.touched1, right);
      SpanRoutineFor(r->Mode())(*r, left, right);
    }
    if (y == r->lastRow) {
      if (previous) previous->link = next;
      else g_list = next;
    } else {
      StepRecord(*r);
      previous = r;
    }
    r = next;
  }
}

void EmptyDepth(std::int32_t x0, std::int32_t x1) {
  for (std::int32_t x = x0; x < x1; ++x) g_depthRow[x] = kDepthEmpty;
}

void JoinRowChains() {
  Tessro3DTriangleRecord* head = nullptr;
  for (std::int32_t row = g_scene.rows - 1; row >= 0; --row) {
    RowEntry& e = g_scene.rowTable[row];
    if (!e.newest) continue;
    e.oldest->link = head;
    head = e.newest;
  }
  g_list = head;
}

void EnsureDepthRow(std::int32_t entries) {
  if (g_depthRow && g_depthRowEntries >= entries) return;
  if (g_depthRow) {
    std::int32_t* old = g_depthRow;
    g_depthRow = nullptr;
    g_depthRowEntries = 0;
    Release(old);
  }
  g_depthRow = static_cast<std::int32_t*>(AllocateOrFail(std::uint32_t(entries) * 4));
  g_depthRowEntries = entries;
}

// --- Output without antialiasing ----------------------------------------------------------

void EndPlain() {
  const bool direct = g_state.targetFormat >= kFormat32;
  const FormatStage stage = FormatStageFor(g_state.targetFormat);
  std::int32_t y = g_list->firstRow;
  std::uint8_t* target = TargetRow(y);
  while (y < g_scene.clip[3] && g_list) {
    g_row.out = direct ? reinterpret_cast<std::uint32_t*>(target) : g_rowBuffer;
    g_row.touched0 = INT32_MAX;
    g_row.touched1 = INT32_MIN;
    if (y >= g_list->firstRow) RowWalk(y);
    if (g_row.touched0 < g_row.touched1) {
      if (!direct) {
        // Only the pixels some span wrote reach the target; the rest keep its contents.
        for (std::int32_t x = g_row.touched0; x < g_row.touched1;) {
          if (g_depthRow[x] == kDepthEmpty) {
            ++x;
            continue;
          }
          std::int32_t end = x;
          while (end < g_row.touched1 && g_depthRow[end] != kDepthEmpty) ++end;
          stage(y, x, end, target);
          x = end;
        }
      }
      EmptyDepth(g_row.touched0, g_row.touched1);
    }
    ++y;
    target += g_state.targetStride;
  }
}

// --- Antialiased output -------------------------------------------------------------------

std::uint32_t ExpandField(std::uint32_t f, int bits) { return (f * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1); }

// The target pixel at column x of row as 0x00RRGGBB (a 32-bpp pixel as it is).
std::uint32_t ExistingPixel(const std::uint8_t* row, std::int32_t x) {
  switch (g_state.targetFormat) {
    case kFormat1: Fail(kErrInvalidBitmapDepth);
    case kFormat4: return kSixteenColours[(x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4)];
    case kFormat8: return PaletteColour(row[x]);
    case kFormat16: {
      std::uint32_t w = row[2 * x] | std::uint32_t(row[2 * x + 1]) << 8;
      std::uint32_t r, g, b;
      switch (g_state.ditherMode & 3) {
        case 0: r = ExpandField(w >> 11, 5); g = ExpandField((w >> 5) & 63, 6); b = ExpandField(w & 31, 5); break;
        case 1: r = ExpandField(w >> 10, 6); g = ExpandField((w >> 5) & 31, 5); b = ExpandField(w & 31, 5); break;
        case 2: r = ExpandField((w >> 10) & 31, 5); g = ExpandField((w >> 5) & 31, 5); b = ExpandField(w & 31, 5); break;
        default: r = ExpandField(w >> 10, 6); g = ExpandField((w >> 4) & 63, 6); b = ExpandField(w & 15, 4); break;
      }
      return r << 16 | g << 8 | b;
    }
    default: {
      std::uint32_t p;
      std::memcpy(&p, row + 4 * x, 4);
      return p;
    }
  }
}

// Whole rows and row ends outside the scene: only 32-bpp targets carry the outside marker
// (its top byte is transparency); packed targets have no room for it.
bool MarksOutside() { return g_scene.clearOutside && g_state.targetFormat >= kFormat32; }

std::uint32_t ResolvePixel(const std::uint32_t* sub, std::int32_t stride, std::int32_t x, const std::uint8_t* targetRow) {
  std::uint32_t sum[3] = {0, 0, 0}, n = 0;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) {
      std::uint32_t s = sub[row * stride + 4 * x + col];
      n += s >> 24;
      sum[0] += (s >> 16) & 0xFF;
      sum[1] += (s >> 8) & 0xFF;
      sum[2] += s & 0xFF;
    }
  auto pack = [](std::uint32_t top, std::uint32_t r, std::uint32_t g, std::uint32_t b) { return top << 24 | r << 16 | g << 8 | b; };
  if (g_scene.noBackground) {
    if (n == 0) return 0;
    if (n == 16) return pack(0xFF, sum[0] / 16, sum[1] / 16, sum[2] / 16);
    const std::uint64_t f = (std::uint64_t(1) << 30) / (255 * n);
    return pack(16 * n, std::uint32_t(sum[0] * f >> 22), std::uint32_t(sum[1] * f >> 22), std::uint32_t(sum[2] * f >> 22));
  }
  if (n == 0 && MarksOutside()) return kOutside;
  if (g_scene.overTarget && n < 16) {
    const std::uint32_t e = ExistingPixel(targetRow, x);
    if (n == 0) return e;
    std::uint32_t out[3];
    for (int k = 0; k < 3; ++k) out[k] = (sum[k] + 8 + (16 - n) * ((e >> (16 - 8 * k)) & 0xFF)) / 16;
    return pack(0, out[0], out[1], out[2]);
  }
  return pack(0, (sum[0] + 8) / 16, (sum[1] + 8) / 16, (sum[2] + 8) / 16);
}

void FillOutside(std::uint8_t* row, std::int32_t x0, std::int32_t x1) {
  for (std::int32_t x = x0; x < x1; ++x) std::memcpy(row + 4 * x, &kOutside, 4);
}

void OutputPixelRow(std::int32_t pixelRow, std::uint8_t* target, std::int32_t s0, std::int32_t s1, const std::uint32_t* sub, std::int32_t subStride) {
  const std::int32_t width = g_state.targetWidth;
  std::int32_t p0 = 0, p1 = 0;
  if (s0 < s1) {
    p0 = s0 >> 2;
    p1 = (s1 + 3) >> 2;
  }
  if (MarksOutside()) {
    FillOutside(target, 0, p0 < p1 ? p0 : width);
    if (p0 < p1) FillOutside(target, p1, width);
  }
  if (p0 >= p1) return;
  if (g_state.targetFormat >= kFormat32) {
    for (std::int32_t x = p0; x < p1; ++x) {
      std::uint32_t p = ResolvePixel(sub, subStride, x, target);
      std::memcpy(target + 4 * x, &p, 4);
    }
  } else {
    for (std::int32_t x = p0; x < p1; ++x) g_rowBuffer[x] = ResolvePixel(sub, subStride, x, target);
    FormatStageFor(g_state.targetFormat)(pixelRow, p0, p1, target);
  }
}

void EndAntialiased() {
  const std::int32_t subWidth = 4 * g_state.targetWidth;
  FreeSupersample();
  g_supersample = static_cast<std::uint32_t*>(AllocateOrFail(std::uint32_t(4 * subWidth) * 4));
  std::int32_t y = g_list->firstRow;
  if (MarksOutside())
    for (std::int32_t row = 0; row < (y >> 2); ++row) FillOutside(TargetRow(row), 0, g_state.targetWidth);
  y &= ~3;
  std::int32_t pixelRow = y >> 2;
  std::uint8_t* target = TargetRow(pixelRow);
  const std::uint32_t fill = (g_scene.noBackground || g_scene.overTarget) ? 0 : g_scene.background;
  std::fill(g_supersample, g_supersample + 4 * subWidth, fill);
  std::int32_t previous0 = 0, previous1 = 0;
  bool first = true;
  const std::int32_t bottom = g_scene.clip[3];
  while (y < bottom) {
    if (!first && previous0 < previous1)
      for (int k = 0; k < 4; ++k) std::fill(g_supersample + k * subWidth + previous0, g_supersample + k * subWidth + previous1, fill);
    first = false;
    std::int32_t s0 = INT32_MAX, s1 = INT32_MIN;
    bool ran_out = false;
    for (int k = 0; k < 4; ++k) {
      if (!g_list) {
        ran_out = true;
        break;
      }
      g_row.out = g_supersample + k * subWidth;
      g_row.touched0 = INT32_MAX;
      g_row.touched1 = INT32_MIN;
      RowWalk(y);
      if (g_row.touched0 < g_row.touched1) {
        s0 = std::min(s0, g_row.touched0);
        s1 = std::max(s1, g_row.touched1);
        EmptyDepth(g_row.touched0, g_row.touched1);
      }
      ++y;
    }
    OutputPixelRow(pixelRow, target, s0, s1, g_supersample, subWidth);
    previous0 = s0 < s1 ? s0 : 0;
    previous1 = s0 < s1 ? s1 : 0;
    if (ran_out || !g_list) {
      if (MarksOutside())
        for (std::int32_t row = pixelRow + 1; row < (bottom >> 2); ++row) FillOutside(TargetRow(row), 0, g_state.targetWidth);
      break;
    }
    ++pixelRow;
    target += g_state.targetStride;
  }
  FreeSupersample();
}

// --- Triangle set-up ----------------------------------------------------------------------

struct Edge {
  std::int32_t x, slope, firstRow, lastRow;
};

// Rounds a double to a signed 32-bit value; out of range (or not a number) is the platform's
// overflow value, 0x80000000.
std::int32_t RoundToInt32(double v) {
  if (!(v >= -2147483648.0 && v < 2147483647.5)) return INT32_MIN;
  return static_cast<std::int32_t>(std::nearbyint(v));
}

bool BuildEdge(std::int32_t xa, std::int32_t ya, std::int32_t xb, std::int32_t yb, Edge& e) {
  if (ya == yb) return false;
  if (yb < ya) {
    std::swap(xa, xb);
    std::swap(ya, yb);
  }
  if (yb < g_scene.centre[1] || ya >= g_scene.centre[3]) return false;
  const std::int64_t dx = std::int64_t(xb) - xa, dy = std::int64_t(yb) - ya;
  const std::int64_t q = dx * kDeviceOne / dy;
  e.slope = (q > INT32_MAX || q < INT32_MIN) ? static_cast<std::int32_t>(dx) : static_cast<std::int32_t>(q);
  const std::int32_t fraction = ya & 0x3FFF;
  e.firstRow = (ya >> kDeviceShift) + (fraction >= kDeviceHalf ? 1 : 0);
  std::int64_t x = xa - ((std::int64_t(fraction - kDeviceHalf) * e.slope) >> kDeviceShift);
  if (fraction >= kDeviceHalf) x += e.slope;
  e.lastRow = static_cast<std::int32_t>((std::int64_t(yb) - kDeviceHalf) >> kDeviceShift);
  if (e.firstRow < g_scene.clip[1]) {
    x += std::int64_t(g_scene.clip[1] - e.firstRow) * e.slope;
    e.firstRow = g_scene.clip[1];
  }
  e.x = static_cast<std::int32_t>(x);
  return e.firstRow <= e.lastRow;
}

std::int32_t ColourChannel(float c) {
  double v = std::nearbyint(double(c) * kColourScale);
  if (!(v > 0)) v = 0;  // also a colour that is not a number
  if (v > kColourScale) v = kColourScale;
  return static_cast<std::int32_t>(v) + 32768;
}

std::uint32_t PackBytes(const std::int32_t (&c)[3]) {
  return std::uint32_t(c[0] >> 16) << 16 | std::uint32_t(c[1] >> 16) << 8 | std::uint32_t(c[2] >> 16);
}

struct TriangleInput {
  const Tessro3DVertex* v[3];
  const Tessro3DColour* diffuse[3];  // one colour: only [0]
  const Tessro3DColour* additive[3];
  const Tessro3DTexCoord* tex[3];
  bool perVertex;
  bool textured;
};

void AddTriangle(const TriangleInput& in) {
  if (!g_scene.open) Fail(kErrBadParameters);
  for (int i = 0; i < 3; ++i)
    if (!in.v[i]) Fail(kErrBadParameters);
  // Projection.
  double dx[3], dy[3];
  std::int32_t ix[3], iy[3], iz[3];
  bool projectable = true;
  for (int i = 0; i < 3; ++i) {
    const double z = in.v[i]->z, distance = g_scene.perspective - z;
    // No near-plane clipping: a vertex at or behind the eye has no image.
    if (!(distance > 0)) {
      projectable = false;
      continue;
    }
    const double s = g_scene.perspective / distance;
    const double x = in.v[i]->x * s, y = in.v[i]->y * s;
    dx[i] = x * g_scene.m[0] + y * g_scene.m[1] + g_scene.m[2];
    dy[i] = x * g_scene.m[3] + y * g_scene.m[4] + g_scene.m[5];
    ix[i] = RoundToInt32(dx[i]);
    iy[i] = RoundToInt32(dy[i]);
    iz[i] = RoundToInt32(s * z);
    if (ix[i] == INT32_MIN || iy[i] == INT32_MIN) {
      projectable = false;  // outside the device range
      continue;
    }
    std::int32_t* b = g_scene.bounds;
    b[0] = std::min(b[0], ix[i]);
    b[1] = std::min(b[1], iy[i]);
    b[2] = std::max(b[2], ix[i]);
    b[3] = std::max(b[3], iy[i]);
  }
  if (!projectable) return;
  const std::int32_t* cb = g_scene.centre;
  auto all = [](auto pred) { return pred(0) && pred(1) && pred(2); };
  if (all([&](int i) { return ix[i] < cb[0]; }) || all([&](int i) { return ix[i] >= cb[2]; }) ||
      all([&](int i) { return iy[i] < cb[1]; }) || all([&](int i) { return iy[i] >= cb[3]; }))
    return;
  const double areaValue = (dx[1] - dx[0]) * (dy[2] - dy[0]) - (dy[1] - dy[0]) * (dx[2] - dx[0]);
  const double area = std::nearbyint(areaValue);
  if (!(area < 0)) return;
  const double inv = kDeviceOne / area;

  Edge slots[3];
  int edges = 0;
  const int pairs[3][2] = {{0, 1}, {1, 2}, {2, 0}};
  for (auto& p : pairs)
    if (BuildEdge(ix[p[0]], iy[p[0]], ix[p[1]], iy[p[1]], slots[edges])) ++edges;
  if (edges < 2) return;
  if (edges == 2) slots[2] = Edge{0, 0, 0x7FFFFFFF, 0};
  if (slots[0].firstRow > slots[1].firstRow) std::swap(slots[0], slots[1]);
  if (slots[1].firstRow > slots[2].firstRow) std::swap(slots[1], slots[2]);
  if (slots[1].x < slots[0].x || (slots[1].x == slots[0].x && slots[1].slope < slots[0].slope)) std::swap(slots[0], slots[1]);
  const Edge& left = slots[0];
  const Edge& right = slots[1];
  const Edge& third = slots[2];

  // Planes over the triangle, per pixel of device x and per row of device y.
  const double ex1 = dx[1] - dx[0], ex2 = dx[2] - dx[0], ey1 = dy[1] - dy[0], ey2 = dy[2] - dy[0];
  auto gradients = [&](double q0, double q1, double q2, std::int32_t& gx, std::int32_t& gy) {
    const double d1 = q1 - q0, d2 = q2 - q0;
    if (d1 == 0 && d2 == 0) {
      gx = gy = 0;
      return true;
    }
    const std::int32_t rx = RoundToInt32((ey2 * d1 - ey1 * d2) * inv);
    const std::int32_t ry = RoundToInt32((ex1 * d2 - ex2 * d1) * inv);
    gx = rx == INT32_MIN ? 0 : rx;
    gy = ry == INT32_MIN ? 0 : ry;
    return rx != INT32_MIN && ry != INT32_MIN;
  };

  Plane depth{};
  gradients(iz[0], iz[1], iz[2], depth.stepColumn, depth.stepRow);

  std::int32_t diffuse[3][3] = {}, additive[3][3] = {};  // [vertex][channel]
  const bool perVertex = in.perVertex;
  const bool textured = in.textured && g_texture.set;
  const int colourCount = perVertex ? 3 : 1;
  for (int i = 0; i < colourCount; ++i) {
    if (!in.diffuse[i]) Fail(kErrBadParameters);
    diffuse[i][0] = ColourChannel(in.diffuse[i]->red);
    diffuse[i][1] = ColourChannel(in.diffuse[i]->green);
    diffuse[i][2] = ColourChannel(in.diffuse[i]->blue);
    if (textured) {
      if (!in.additive[i]) Fail(kErrBadParameters);
      additive[i][0] = ColourChannel(in.additive[i]->red);
      additive[i][1] = ColourChannel(in.additive[i]->green);
      additive[i][2] = ColourChannel(in.additive[i]->blue);
    }
  }
  Plane diffusePlanes[3] = {}, additivePlanes[3] = {};
  std::uint8_t mode = 0;
  std::uint8_t varyingDiffuse = 0, varyingAdditive = 0;
  if (perVertex) {
    auto channelPlane = [&](std::int32_t (&c)[3][3], int k, Plane& plane) -> bool {
      if ((c[0][k] >> 16) == (c[1][k] >> 16) && (c[0][k] >> 16) == (c[2][k] >> 16)) return false;
      gradients(c[0][k], c[1][k], c[2][k], plane.stepColumn, plane.stepRow);
      return plane.stepColumn != 0 || plane.stepRow != 0;
    };
    for (int k = 0; k < 3; ++k) {
      if (channelPlane(diffuse, k, diffusePlanes[k])) varyingDiffuse |= 1 << k;
      else diffusePlanes[k] = Plane{};
      if (textured) {
        if (channelPlane(additive, k, additivePlanes[k])) varyingAdditive |= 1 << k;
        else additivePlanes[k] = Plane{};
      }
    }
  }
  const std::uint32_t packedAdditive = textured ? PackBytes(additive[0]) : 0;
  if (!textured) {
    mode = varyingDiffuse;
  } else {
    mode = static_cast<std::uint8_t>((varyingDiffuse | varyingAdditive) + kModeAdditive);
    if (varyingAdditive == 0 && packedAdditive == 0) mode = static_cast<std::uint8_t>(varyingDiffuse + kModeNoAdditive);
  }

  Plane u{}, v{};
  if (textured) {
    for (int i = 0; i < 3; ++i)
      if (!in.tex[i]) Fail(kErrBadParameters);
    bool ok = gradients(in.tex[0]->u, in.tex[1]->u, in.tex[2]->u, u.stepColumn, u.stepRow);
    ok = gradients(in.tex[0]->v, in.tex[1]->v, in.tex[2]->v, v.stepColumn, v.stepRow) && ok;
    if (!ok) u = v = Plane{};
  }

  auto* r = static_cast<Tessro3DTriangleRecord*>(EdgeStoreTake(RecordBytes(mode)));
  r->link = nullptr;
  r->leftX = left.x;
  r->leftSlope = left.slope;
  r->rightX = right.x;
  r->rightSlope = right.slope;
  r->thirdX = third.x;
  r->thirdSlope = third.slope;
  r->firstRow = left.firstRow;
  r->switchRow = third.firstRow;
  r->lastRow = std::max(left.lastRow, right.lastRow);
  if (left.lastRow <= right.lastRow) mode |= kModeLeftEndsFirst;
  r->referenceColumn = RoundToPixel(left.x);
  r->packedColour = std::uint32_t(mode) << 24 | PackBytes(diffuse[0]);
  const std::int64_t ddx = std::int64_t(r->referenceColumn) * kDeviceOne + kDeviceHalf - ix[0];
  const std::int64_t ddy = std::int64_t(r->firstRow) * kDeviceOne + kDeviceHalf - iy[0];
  auto at = [&](std::int32_t value0, const Plane& plane) {
    return Plane{static_cast<std::int32_t>(value0 + ((plane.stepColumn * ddx + plane.stepRow * ddy) >> kDeviceShift)),
                 plane.stepColumn, plane.stepRow};
  };
  r->depth = at(iz[0], depth);
  const std::uint8_t m = mode & 0x1F;
  if (m != 0)
    for (int k = 0; k < 3; ++k) r->diffuse[k] = at(diffuse[0][k], diffusePlanes[k]);
  if (m >= 8) {
    r->u = at(in.tex[0]->u, u);
    r->v = at(in.tex[0]->v, v);
    r->packedAdditive = packedAdditive;
  }
  if (m >= 9 && m <= 15)
    for (int k = 0; k < 3; ++k) r->additive[k] = at(additive[0][k], additivePlanes[k]);

  // A restored state may carry a clip beyond the target: such rows are not filed.
  if (r->firstRow < 0 || r->firstRow >= g_scene.rows) return;
  RowEntry& entry = g_scene.rowTable[r->firstRow];
  r->link = entry.newest;
  entry.newest = r;
  if (!entry.oldest) entry.oldest = r;
  ++g_scene.count;
  if (m >= 8) g_scene.textured = true;
}

}  // namespace

void DiscardOpenScene() {
  if (!g_scene.open) return;
  g_scene.open = false;
  g_list = nullptr;
}

void EndSceneOnFailure() {
  g_scene.open = false;
  g_list = nullptr;
}

void ReleaseSceneBuffers() {
  FreeRowTable();
  FreeSupersample();
  if (g_depthRow) {
    std::int32_t* row = g_depthRow;
    g_depthRow = nullptr;
    g_depthRowEntries = 0;
    Release(row);
  }
  g_scene.open = false;
  g_list = nullptr;
}

}  // namespace tessro3d

using namespace tessro3d;

extern "C" {

std::int32_t TESSRO3D_CALL Tessro3DGetSceneBounds(TessroRect* rect) {
  return Guard([rect] {
    if (!rect) Fail(kErrBadParameters);
    const int shift = g_scene.antialias ? 2 : 0;
    const std::int32_t* b = g_scene.bounds;
    rect->x0 = RoundToPixel(b[0] >> shift);
    rect->y0 = RoundToPixel(b[1] >> shift);
    rect->x1 = RoundToPixel(b[2] >> shift);
    rect->y1 = RoundToPixel(b[3] >> shift);
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DBeginScene(std::int32_t perspective, std::uint32_t background) {
  return Guard([=] {
    // A scene needs a target to be drawn into at its end.
    if (g_state.targetRows == 0) Fail(kErrInvalidScanlineRoutine);
    g_scene.open = false;
    g_list = nullptr;
    g_scene.antialias = g_state.antialias != 0;
    const int factor = g_scene.antialias ? 4 : 1;
    const double k = g_scene.antialias ? 1.0 / 16384.0 : 1.0 / 65536.0;
    const TessroMatrix& mx = g_state.matrix;
    g_scene.perspective = perspective;
    g_scene.m[0] = mx.a * k;
    g_scene.m[1] = mx.c * k;
    g_scene.m[2] = double(mx.e) * k;
    g_scene.m[3] = mx.b * k;
    g_scene.m[4] = mx.d * k;
    g_scene.m[5] = double(mx.f) * k;
    if (background & TESSRO3D_SCENE_NO_BACKGROUND) {
      g_scene.noBackground = true;
      g_scene.clearOutside = g_scene.overTarget = false;
      g_scene.background = 0;
    } else {
      g_scene.noBackground = false;
      g_scene.overTarget = (background & TESSRO3D_SCENE_OVER_TARGET) != 0;
      g_scene.clearOutside = (background & TESSRO3D_SCENE_CLEAR_OUTSIDE) != 0;
      g_scene.background = g_scene.overTarget ? 0 : ((background & 0xFF) << 16 | (background & 0xFF00) | ((background >> 16) & 0xFF));
    }
    g_scene.count = 0;
    g_scene.textured = false;
    if (HaveAllocator()) ReleasePathBuffers();
    EdgeStoreReset();
    FreeRowTable();
    g_scene.rows = std::max(g_state.targetHeight, 0) * factor;
    g_scene.rowTable = static_cast<RowEntry*>(AllocateOrFail(std::uint32_t(g_scene.rows) * sizeof(RowEntry)));
    std::memset(g_scene.rowTable, 0, std::size_t(g_scene.rows) * sizeof(RowEntry));
    // The clip, kept inside the target whatever a restored state says.
    const std::int32_t* c = g_state.clipRect;
    g_scene.clip[0] = std::max(c[0], 0) * factor;
    g_scene.clip[1] = std::max(c[1], 0) * factor;
    g_scene.clip[2] = std::min(c[2], g_state.targetWidth) * factor;
    g_scene.clip[3] = std::min(c[3], g_state.targetHeight) * factor;
    g_scene.centre[0] = g_scene.clip[0] * kDeviceOne + kDeviceHalf;
    g_scene.centre[1] = g_scene.clip[1] * kDeviceOne + kDeviceHalf;
    g_scene.centre[2] = g_scene.clip[2] * kDeviceOne - kDeviceHalf;
    g_scene.centre[3] = g_scene.clip[3] * kDeviceOne - kDeviceHalf;
    g_scene.bounds[0] = g_scene.bounds[1] = kEmptyMin;
    g_scene.bounds[2] = g_scene.bounds[3] = kEmptyMax;
    g_scene.open = true;
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DEndScene(void) {
  return Guard([] {
    if (!g_scene.open) Fail(kErrBadParameters);
    if (g_scene.count == 0) {
      g_scene.open = false;
      return 0;
    }
    JoinRowChains();
    FreeRowTable();
    // The rows are drawn in the units the scene began with, into the target as it is now.
    const bool antialias = g_scene.antialias;
    const int factor = antialias ? 4 : 1;
    g_scene.clip[2] = std::min(g_scene.clip[2], g_state.targetWidth * factor);
    g_scene.clip[3] = std::min(g_scene.clip[3], g_state.targetHeight * factor);
    if (g_state.targetRows == 0) Fail(kErrInvalidScanlineRoutine);
    EnsureDepthRow(factor * g_state.targetWidth + 3);
    EmptyDepth(0, g_depthRowEntries);
    if (g_scene.textured) g_blend = BlendTable();
    if (g_list) {
      if (antialias) EndAntialiased();
      else EndPlain();
    }
    g_scene.open = false;
    g_list = nullptr;
    ReleasePathBuffers();
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DDrawTriangle(const Tessro3DVertex* v0, const Tessro3DVertex* v1, const Tessro3DVertex* v2,
                                                const Tessro3DColour* c0, const Tessro3DColour* c1, const Tessro3DColour* c2) {
  return Guard([&] {
    AddTriangle(TriangleInput{{v0, v1, v2}, {c0, c1, c2}, {}, {}, true, false});
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DDrawFlatTriangle(const Tessro3DVertex* v0, const Tessro3DVertex* v1, const Tessro3DVertex* v2, const Tessro3DColour* colour) {
  return Guard([&] {
    AddTriangle(TriangleInput{{v0, v1, v2}, {colour, nullptr, nullptr}, {}, {}, false, false});
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DDrawTexturedTriangle(const Tessro3DVertex* v0, const Tessro3DVertex* v1, const Tessro3DVertex* v2,
                                                        const Tessro3DColour* d0, const Tessro3DColour* d1, const Tessro3DColour* d2,
                                                        const Tessro3DColour* a0, const Tessro3DColour* a1, const Tessro3DColour* a2,
                                                        const Tessro3DTexCoord* t0, const Tessro3DTexCoord* t1, const Tessro3DTexCoord* t2) {
  return Guard([&] {
    AddTriangle(TriangleInput{{v0, v1, v2}, {d0, d1, d2}, {a0, a1, a2}, {t0, t1, t2}, true, true});
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DDrawFlatTexturedTriangle(const Tessro3DVertex* v0, const Tessro3DVertex* v1, const Tessro3DVertex* v2,
                                                            const Tessro3DColour* diffuse, const Tessro3DColour* additive,
                                                            const Tessro3DTexCoord* t0, const Tessro3DTexCoord* t1, const Tessro3DTexCoord* t2) {
  return Guard([&] {
    AddTriangle(TriangleInput{{v0, v1, v2}, {diffuse, nullptr, nullptr}, {additive, nullptr, nullptr}, {t0, t1, t2}, false, true});
    return 0;
  });
}

}  // extern "C"
