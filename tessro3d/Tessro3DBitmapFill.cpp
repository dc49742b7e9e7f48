// Bitmap fills: the mapping, the tile styles and the pixel fetch per source format.
#include "tessro3d/Tessro3DBitmapFill.h"

#include <array>
#include <cmath>
#include <utility>
#include <cstring>

#include "tessro3d/Tessro3DPalette.h"
#include "tessro3d/Tessro3DSpanOutput.h"
#include "tessro3d/Tessro3DTarget.h"

namespace tessro3d {

namespace {

// Source formats.
enum SourceFormat { kSource1, kSource4, kSource8, kSource16, kSource24, kSource32, kSource32Alpha, kSource32Inverted };
enum TileStyle { kClamp = 0, kColourOutside = 1, kRepeat = 2, kMirror = 3 };

constexpr std::int64_t kOne = std::int64_t(1) << 32;  // source steps are 32.32
constexpr std::int32_t kLargestSourceWidth = 1 << 24;

struct BitmapFill {
  const std::uint8_t* pixels = nullptr;
  std::int32_t width = 0, height = 0, stride = 0;
  int format = kSource32;
  int tile = kClamp;
  std::uint32_t fallback = 0;  // blue, green, red, fourth in memory order
  std::uint32_t colours[256] = {};
  std::uint8_t tables[4][256] = {};  // red, green, blue, fourth
  std::int32_t originX = 0, originY = 0;  // 1/1024 pixel
  std::int64_t dudx = 0, dvdx = 0, dudy = 0, dvdy = 0;
  double fdudx = 0, fdvdx = 0, fdudy = 0, fdvdy = 0;  // source pixels × 2^22 per device pixel
  std::uint32_t amount = 0;
  // Per drawing call.
  int drawFormat = kSource32;
  FormatStage stage = nullptr;
  void (*render)(std::int32_t x0, std::int32_t x1, std::uint8_t* out) = nullptr;
  std::int64_t rowU = 0, rowV = 0;
  std::int32_t rowY = 0;
} g_fill;

inline std::uint32_t Rgbq(int b, int g, int r, int a) { return std::uint32_t(b) | std::uint32_t(g) << 8 | std::uint32_t(r) << 16 | std::uint32_t(a) << 24; }

// Source pixel (iu, iv) as blue, green, red, fourth; iu and iv are inside the source.
template <int Format>
std::uint32_t Fetch(std::int32_t iu, std::int32_t iv) {
  const std::uint8_t* row = g_fill.pixels + std::ptrdiff_t(iv) * g_fill.stride;
  const auto& t = g_fill.tables;
  switch (Format) {
    case kSource1: return g_fill.colours[(row[iu >> 3] >> (7 - (iu & 7))) & 1];
    case kSource4: return g_fill.colours[(iu & 1) ? (row[iu >> 1] & 0x0F) : (row[iu >> 1] >> 4)];
    case kSource8: return g_fill.colours[row[iu]];
    case kSource16: {
      int w = row[2 * iu] | row[2 * iu + 1] << 8;
      auto widen = [](int k) { return (k << 3) | (k >> 2); };
      return Rgbq(t[2][widen(w & 31)], t[1][widen((w >> 5) & 31)], t[0][widen((w >> 10) & 31)], 0);
    }
    case kSource24: return Rgbq(t[2][row[3 * iu]], t[1][row[3 * iu + 1]], t[0][row[3 * iu + 2]], 0);
    case kSource32: return Rgbq(t[2][row[4 * iu]], t[1][row[4 * iu + 1]], t[0][row[4 * iu + 2]], 0);
    case kSource32Alpha: return Rgbq(t[2][row[4 * iu]], t[1][row[4 * iu + 1]], t[0][row[4 * iu + 2]], t[3][row[4 * iu + 3]]);
    default: {
      const std::uint8_t* p = row + 4 * iu;
      int a = t[3][p[3]];
      auto part = [a](int v) { return v - a > 0 ? v - a : 0; };
      return Rgbq(part(255 - t[2][p[2]]), part(255 - t[1][p[1]]), part(255 - t[0][p[0]]), 0);
    }
  }
}

inline std::int32_t Floor(std::int64_t v) { return static_cast<std::int32_t>(v >> 32); }

// Renders pixels x0..x1-1 of row y as 32-bit values into out[x]; with KeepFourth the fourth
// byte of out[x] stays as it was. One specialisation per tile style and source format.
template <int Tile, int Format, bool KeepFourth>
void RenderSpan(std::int32_t x0, std::int32_t x1, std::uint8_t* out) {
  const double fx = x0 + 0.5 - g_fill.originX / 1024.0;
  std::int64_t u = g_fill.rowU + std::llround(g_fill.fdudx * fx * 1024.0);
  std::int64_t v = g_fill.rowV + std::llround(g_fill.fdvdx * fx * 1024.0);
  std::int64_t du = g_fill.dudx, dv = g_fill.dvdx;
  const std::int64_t W = std::int64_t(g_fill.width) << 32, H = std::int64_t(g_fill.height) << 32;
  if (Tile == kRepeat) {
    u %= W; if (u < 0) u += W;
    v %= H; if (v < 0) v += H;
  } else if (Tile == kMirror) {
    u %= 2 * W; if (u < 0) u += 2 * W;
    v %= 2 * H; if (v < 0) v += 2 * H;
  }
  for (std::int32_t x = x0; x < x1; ++x) {
    std::uint32_t pixel;
    switch (Tile) {
      case kClamp: {
        std::int32_t iu = Floor(u), iv = Floor(v);
        iu = iu < 0 ? 0 : (iu >= g_fill.width ? g_fill.width - 1 : iu);
        iv = iv < 0 ? 0 : (iv >= g_fill.height ? g_fill.height - 1 : iv);
        pixel = Fetch<Format>(iu, iv);
        break;
      }
      case kColourOutside: {
        std::int64_t iu = u >> 32, iv = v >> 32;
        pixel = (iu < 0 || iu >= g_fill.width || iv < 0 || iv >= g_fill.height) ? g_fill.fallback : Fetch<Format>(std::int32_t(iu), std::int32_t(iv));
        break;
      }
      case kRepeat:
        if (u < 0) u += W; else if (u >= W) u -= W;
        if (v < 0) v += H; else if (v >= H) v -= H;
        pixel = Fetch<Format>(Floor(u), Floor(v));
        break;
      default:
        if (u < 0 || u >= W) {
          u = -u - 1;
          if (u < 0) u += 2 * W;
          du = -du;
        }
        if (v < 0 || v >= H) {
          v = -v - 1;
          if (v < 0) v += 2 * H;
          dv = -dv;
        }
        // A reflection can land past the far end when the start lay in the mirrored copy.
        if (u >= W) u = W - 1;
        if (v >= H) v = H - 1;
        pixel = Fetch<Format>(Floor(u), Floor(v));
        break;
    }
    std::uint8_t* at = out + 4 * std::ptrdiff_t(x);
    if (KeepFourth) {
      std::uint32_t old;
      std::memcpy(&old, at, 4);
      pixel = (pixel & 0x00FFFFFFu) | (old & 0xFF000000u);
    }
    std::memcpy(at, &pixel, 4);
    u += du;
    v += dv;
  }
}

using RenderRoutine = void (*)(std::int32_t, std::int32_t, std::uint8_t*);

template <int Tile, bool KeepFourth, std::size_t... Format>
constexpr std::array<RenderRoutine, sizeof...(Format)> RoutinesOf(std::index_sequence<Format...>) {
  return {RenderSpan<Tile, int(Format), KeepFourth>...};
}
template <bool KeepFourth>
constexpr std::array<std::array<RenderRoutine, 8>, 4> TileTable() {
  return {RoutinesOf<kClamp, KeepFourth>(std::make_index_sequence<8>()), RoutinesOf<kColourOutside, KeepFourth>(std::make_index_sequence<8>()),
          RoutinesOf<kRepeat, KeepFourth>(std::make_index_sequence<8>()), RoutinesOf<kMirror, KeepFourth>(std::make_index_sequence<8>())};
}
// [keep the fourth byte][tile style][source format]
const std::array<std::array<RenderRoutine, 8>, 4> kRenderRoutines[2] = {TileTable<false>(), TileTable<true>()};

void FillBegin(std::int32_t top) {
  g_spanOutput.row = TargetRow(top);
  g_fill.rowY = top;
  const double fy = top + 0.5 - g_fill.originY / 1024.0;
  g_fill.rowU = std::llround(g_fill.fdudy * fy * 1024.0);
  g_fill.rowV = std::llround(g_fill.fdvdy * fy * 1024.0);
}

void FillNextRow() {
  g_spanOutput.row += g_state.targetStride;
  ++g_fill.rowY;
  g_fill.rowU += g_fill.dudy;
  g_fill.rowV += g_fill.dvdy;
}

void FillSpanDirect(std::int32_t y, std::int32_t x0, std::int32_t x1) { g_fill.render(x0, x1, g_spanOutput.row); }

void FillSpanConverted(std::int32_t y, std::int32_t x0, std::int32_t x1) {
  g_fill.render(x0, x1, reinterpret_cast<std::uint8_t*>(g_rowBuffer));
  g_fill.stage(y, x0, x1, g_spanOutput.row);
}

// s reduced into [-P/2, P/2) modulo P, keeping the fraction.
// Nothing is doubled: s may lie anywhere in the 64-bit range.
std::int64_t ReduceStep(std::int64_t s, std::int64_t P) {
  std::int64_t t = s % P;
  if (t < 0) t += P;
  if (t >= P - t) t -= P;
  return t;
}

// Beyond 256 source pixels per device pixel a mapping shows no picture, only noise, and its
// 32.32 positions along a row would overflow 64 bits.
constexpr double kLargestStep = 256.0 * 4194304.0;

}  // namespace

void SetUpBitmapFillSpans() {
  const std::uint32_t params = g_state.fillParams;
  const std::uint32_t type = params & 0xFF;
  const bool flags = (params >> 30) != 0;
  g_fill.drawFormat = g_fill.format;
  if (params != 0) {
    BlendTable();
    if (g_fill.format == kSource32 && (flags || type < 4 || type > 11)) g_fill.drawFormat = kSource32Inverted;
  }
  g_spanOutput.begin = FillBegin;
  g_spanOutput.rowEnd = FillNextRow;
  if (g_state.targetFormat >= kFormat32) {
    // No transparency combiner exists for bitmap fills on 32-bpp targets.
    if (params != 0) Fail(kErrInvalidBitmapDepth);
    g_fill.drawFormat = g_fill.format;
    g_fill.render = kRenderRoutines[g_fill.drawFormat == kSource32][g_fill.tile][g_fill.drawFormat];
    g_spanOutput.span = FillSpanDirect;
  } else {
    g_fill.stage = FormatStageFor(g_state.targetFormat);
    g_fill.render = kRenderRoutines[0][g_fill.tile][g_fill.drawFormat];
    g_spanOutput.span = FillSpanConverted;
  }
}

}  // namespace tessro3d

using namespace tessro3d;

extern "C" std::int32_t TESSRO3D_CALL Tessro3DSetBitmapFill(const BITMAPINFOHEADER* header, const void* pixels, std::uint32_t style,
                                                           const TessroPoint* origin, const TessroPoint* xEnd, const TessroPoint* yEnd,
                                                           std::uint32_t fallback, const RGBQUAD* colours, const std::uint8_t* redTable,
                                                           const std::uint8_t* greenTable, const std::uint8_t* blueTable,
                                                           const std::uint8_t* fourthTable, std::uint32_t unused) {
  (void)unused;
  return Guard([&] {
    g_state.fillStyle = kFillNone;
    if (!header) Fail(kErrBadBitmap);
    const int bits = header->biBitCount;
    if (bits > 32 || header->biPlanes != 1) Fail(kErrBadBitmap);
    int format;
    switch (bits) {
      case 1: format = kSource1; break;
      case 4: format = kSource4; break;
      case 8: format = kSource8; break;
      case 16: format = kSource16; break;
      case 24: format = kSource24; break;
      case 32: format = header->biCompression == 0x80000000u ? kSource32Alpha : kSource32; break;
      default: Fail(kErrBadBitmap);
    }
    if (header->biCompression == 0x80000000u && bits != 32) Fail(kErrBadBitmap);
    if (static_cast<std::uint32_t>(header->biHeight) >= std::uint32_t(kLargestSide)) Fail(kErrBadBitmap);
    if (!pixels) Fail(kErrBadBitmap);
    // A source without pixels cannot be mapped, and its rows must be addressable.
    if (header->biWidth <= 0 || header->biWidth > kLargestSourceWidth || header->biHeight == 0) Fail(kErrBadBitmap);
    const std::uint32_t tile = style & 0xFF, type = (style >> 8) & 0x3F;
    const std::uint32_t flagA = (style >> 14) & 1, flagB = (style >> 15) & 1;
    if (type > 12 || (flagA && flagB)) Fail(kErrBadTransparencyStyle);
    g_state.fillParams = type + (flagA << 30) + (flagB << 31);
    g_fill.amount = (style >> 16) & 0xFF;
    if (tile > 3) Fail(kErrBadTileStyle);
    if (!origin || !xEnd || !yEnd) Fail(kErrBadParameters);
    // The colour table is what a palette source's pixels index.
    if (bits <= 8 && !colours) Fail(kErrBadParameters);

    const std::int64_t ax = std::int64_t(xEnd->x) - origin->x, ay = std::int64_t(xEnd->y) - origin->y;
    const std::int64_t bx = std::int64_t(yEnd->x) - origin->x, by = std::int64_t(yEnd->y) - origin->y;
    const TessroMatrix& m = g_state.matrix;
    const double xx = (double(m.a) * ax + double(m.c) * ay) / 1073741824.0, xy = (double(m.b) * ax + double(m.d) * ay) / 1073741824.0;
    const double yx = (double(m.a) * bx + double(m.c) * by) / 1073741824.0, yy = (double(m.b) * bx + double(m.d) * by) / 1073741824.0;
    const double det = xx * yy - xy * yx;
    if ((ax == 0 && ay == 0) || (bx == 0 && by == 0) || det == 0 || !std::isfinite(det)) {
      // A mapping without area: the fallback colour as a flat fill.
      return SetTransparentColour(fallback, 0);
    }
    const TessroPoint o = ToCoarseDevice(origin->x, origin->y);
    g_fill.originX = o.x;
    g_fill.originY = o.y;
    const double W = header->biWidth, H = header->biHeight, k = 4194304.0 / det;
    g_fill.fdudx = yy * k * W;
    g_fill.fdvdx = -xy * k * H;
    g_fill.fdudy = -yx * k * W;
    g_fill.fdvdy = xx * k * H;
    if (!(std::fabs(g_fill.fdudx) <= kLargestStep && std::fabs(g_fill.fdvdx) <= kLargestStep &&
          std::fabs(g_fill.fdudy) <= kLargestStep && std::fabs(g_fill.fdvdy) <= kLargestStep)) {
      // A near-singular mapping: as one without area.
      return SetTransparentColour(fallback, 0);
    }
    g_fill.dudx = std::llround(g_fill.fdudx * 1024.0);
    g_fill.dvdx = std::llround(g_fill.fdvdx * 1024.0);
    g_fill.dudy = std::llround(g_fill.fdudy * 1024.0);
    g_fill.dvdy = std::llround(g_fill.fdvdy * 1024.0);
    if (tile == kRepeat || tile == kMirror) {
      // Steps below half a period need one correction per pixel at most. A mirrored bitmap
      // repeats every two copies, so its steps are reduced over that period: reduced over
      // one copy, a step of half the bitmap or more would run the mirror backwards.
      const int copies = tile == kMirror ? 2 : 1;
      const std::int64_t PW = std::int64_t(header->biWidth) * copies << 32, PH = std::int64_t(header->biHeight) * copies << 32;
      g_fill.dudx = ReduceStep(g_fill.dudx, PW);
      g_fill.dudy = ReduceStep(g_fill.dudy, PW);
      g_fill.dvdx = ReduceStep(g_fill.dvdx, PH);
      g_fill.dvdy = ReduceStep(g_fill.dvdy, PH);
    }
    g_fill.pixels = static_cast<const std::uint8_t*>(pixels);
    g_fill.width = header->biWidth;
    g_fill.height = header->biHeight;
    g_fill.stride = bits == 24 ? (3 * header->biWidth + 3) / 4 * 4 : (header->biWidth * bits + 31) / 32 * 4;
    g_fill.format = format;
    g_fill.tile = static_cast<int>(tile);
    g_fill.fallback = Rgbq((fallback >> 16) & 0xFF, (fallback >> 8) & 0xFF, fallback & 0xFF, fallback >> 24);
    const std::uint8_t* given[4] = {redTable, greenTable, blueTable, fourthTable};
    for (int c = 0; c < 4; ++c)
      for (int i = 0; i < 256; ++i) g_fill.tables[c][i] = given[c] ? given[c][i] : static_cast<std::uint8_t>(i);
    if (bits <= 8) {
      const auto& t = g_fill.tables;
      for (int i = 0; i < (1 << bits); ++i)
        g_fill.colours[i] = Rgbq(t[2][colours[i].rgbBlue], t[1][colours[i].rgbGreen], t[0][colours[i].rgbRed], t[3][colours[i].rgbReserved]);
    }
    g_state.fillStyle = kFillBitmap;
    return 0;
  });
}
