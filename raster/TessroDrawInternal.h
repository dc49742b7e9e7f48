// Shared declarations of the drawing sources: span preparation, row drivers, span routines,
// row converters and the anchor mappings.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/TessroInternal.h"

// Fill-style codes beyond the flat setters'.
enum : DWORD {
    kTessroFillPrepared = 3,
    kTessroFillStatistics = 29,
    kTessroFillRegionRecording = 30,
    kTessroFillHitTest = 31,
};

const std::int32_t kTessroDeviceShift = 14;  // device units per pixel: 1 << 14
const std::int32_t kTessroEmptyLow = 0x7FFFFFFF;
const std::int32_t kTessroEmptyHigh = static_cast<std::int32_t>(0x80000000u);

// Nearest integer, ties to even, for values in range; NaN and values beyond the range are
// answered explicitly rather than through an undefined conversion.
// Stores the 32-bit value v into n consecutive pixels from p (any alignment): sixteen bytes a
// store in the middle where SSE2 is there (both builds, aligned when the pixels are), the rest
// one pixel a time.
inline void TessroFillPixels32(BYTE* p, DWORD v, std::int32_t n) {
#if defined(__SSE2__)
    const __m128i quad = _mm_set1_epi32(static_cast<int>(v));
    if (n >= 8 && (reinterpret_cast<std::uintptr_t>(p) & 3) == 0) {
        // Pixel by pixel up to a 16-byte boundary, then aligned stores.
        for (; (reinterpret_cast<std::uintptr_t>(p) & 15) != 0; --n, p += 4) std::memcpy(p, &v, sizeof(v));
        for (; n >= 16; n -= 16, p += 64) {
            _mm_store_si128(reinterpret_cast<__m128i*>(p), quad);
            _mm_store_si128(reinterpret_cast<__m128i*>(p + 16), quad);
            _mm_store_si128(reinterpret_cast<__m128i*>(p + 32), quad);
            _mm_store_si128(reinterpret_cast<__m128i*>(p + 48), quad);
        }
        for (; n >= 4; n -= 4, p += 16) _mm_store_si128(reinterpret_cast<__m128i*>(p), quad);
    }
    for (; n >= 4; n -= 4, p += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(p), quad);
#endif
    for (; n > 0; --n, p += 4) std::memcpy(p, &v, sizeof(v));
}

inline std::int64_t TessroNearest64(double v) {
    if (!(v == v)) return INT64_MIN;
    if (v >= 9.2233720368547758e18) return INT64_MAX;
    if (v <= -9.2233720368547758e18) return INT64_MIN;
    return static_cast<std::int64_t>(std::nearbyint(v));
}
// 32-bit form: a result that does not fit (or NaN) reads as -2^31.
inline std::int32_t TessroNearest32(double v) {
    if (!(v == v) || v >= 2147483647.5 || v < -2147483648.5) return INT32_MIN;
    return static_cast<std::int32_t>(std::nearbyint(v));
}
inline std::int32_t TessroHigh32(std::int64_t v) { return static_cast<std::int32_t>(v >> 32); }
inline std::int64_t TessroAdd64(std::int64_t a, std::int64_t b) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

// ---- Mapping set-ups of a fill geometry, shared by the graduation spans and the
// transparency generators; the caller chains to its own begin, row start or row end ----

const double kTessroFineScale = 4194304.0;  // 2^22
const double kTessroFinePerPixel = 1024.0;

// Three-point, one coordinate: v at the centre of the fill's left column on its top row.
// Offsets from the origin are taken wide: a far origin is further than 32 bits reach.
inline void TessroStartThreePointV(const TessroDrawState& draw, TessroFillGeometry& g) {
    const std::int64_t ex = static_cast<std::int64_t>(draw.bounds[0]) * 1024 + g.halfPixel - g.originX;
    const std::int64_t ey = static_cast<std::int64_t>(draw.bounds[1]) * 1024 + g.halfPixel - g.originY;
    g.rowV = TessroNearest64(static_cast<double>(ex) * g.dvdx + static_cast<double>(ey) * g.dvdy);
    g.rowGradientV = g.dvdx;
    g.rowStepV = g.stepVx;
    g.rowBaseColumn = draw.bounds[0];
}
inline void TessroNextRowThreePointV(TessroFillGeometry& g) { g.rowV = TessroAdd64(g.rowV, g.stepVy); }

// Three-point, both coordinates: u and v of the top row, measured from the origin column.
inline void TessroStartThreePointUV(const TessroDrawState& draw, TessroFillGeometry& g) {
    const std::int64_t ey = static_cast<std::int64_t>(draw.bounds[1]) * 1024 + g.halfPixel - g.originY;
    g.rowU = TessroNearest64(static_cast<double>(ey) * g.dudy);
    g.rowV = TessroNearest64(static_cast<double>(ey) * g.dvdy);
    g.rowGradientU = g.dudx;
    g.rowGradientV = g.dvdx;
    g.rowStepU = g.stepUx;
    g.rowStepV = g.stepVx;
    g.rowOriginX = g.originX;
}
inline void TessroNextRowThreePointUV(TessroFillGeometry& g) {
    g.rowU = TessroAdd64(g.rowU, g.stepUy);
    g.rowV = TessroAdd64(g.rowV, g.stepVy);
}

// Row-affine, one coordinate: the row's v at column 0, and the spans measure from column 0.
inline void TessroStartRowAffineV(const TessroDrawState& draw, TessroFillGeometry& g) {
    const double y = draw.row;
    const double s = kTessroFineScale / (g.denY * y + g.den0);
    g.rowGradientV = s * g.vX;
    g.rowStepV = TessroNearest64(s * g.vX * kTessroFinePerPixel);
    g.rowV = TessroNearest64(s * kTessroFinePerPixel * (g.vY * y + g.v0));
    g.rowBaseColumn = 0;
}

// Row-affine, both coordinates: the row's u and v at column 0.
inline void TessroStartRowAffineUV(const TessroDrawState& draw, TessroFillGeometry& g) {
    const double y = draw.row;
    const double f = kTessroFineScale / (g.denY * y + g.den0);
    g.rowGradientU = g.uX * f;
    g.rowGradientV = g.vX * f;
    g.rowStepU = TessroNearest64(g.rowGradientU * kTessroFinePerPixel);
    g.rowStepV = TessroNearest64(g.rowGradientV * kTessroFinePerPixel);
    g.rowU = TessroNearest64((g.uY * y + g.u0) * f * kTessroFinePerPixel);
    g.rowV = TessroNearest64((g.vY * y + g.v0) * f * kTessroFinePerPixel);
}

// Perspective: the numerators and denominator of the top row in the per-row fields, so that
// the fill's coefficients stay as the setter left them; stepped per row.
inline void TessroStartPerspectiveV(const TessroDrawState& draw, TessroFillGeometry& g) {
    const double top = draw.bounds[1];
    g.runDen = g.denY * top + g.den0;
    g.runV = g.vY * top + g.v0;
}
inline void TessroNextRowPerspectiveV(TessroFillGeometry& g) {
    g.runV += g.vY;
    g.runDen += g.denY;
}
inline void TessroStartPerspectiveUV(const TessroDrawState& draw, TessroFillGeometry& g) {
    g.runU = g.uY * static_cast<double>(draw.bounds[1]) + g.u0;
    TessroStartPerspectiveV(draw, g);
}
inline void TessroNextRowPerspectiveUV(TessroFillGeometry& g) {
    g.runU += g.uY;
    TessroNextRowPerspectiveV(g);
}

// Index of a 256- or 2048-entry table for a position's integer part: clamped to the ends, or
// wrapped when the ramp repeats.
template <bool Long, bool Repeat>
std::int32_t TessroTableIndex(std::int32_t i) {
    const std::int32_t length = Long ? 2048 : 256;
    if (Repeat) return i & (length - 1);
    return i < 0 ? 0 : i >= length ? length - 1 : i;
}

inline bool TessroIs32BitFormat(DWORD format) {
    return format == kTessroFormat32 || format == kTessroFormat32Alpha;
}

// Chooses the callbacks of the running operation for the fill style, target and mode;
// fails with its code before any pixel is written.
void TessroPrepareSpanRoutines(TessroContext* context);

// The rows of a whole-pixel operation over the stored bounds: begin, then row start, the span
// [x0, x1) and row end per row, then finish.
void TessroRunRows(TessroContext* context, std::int32_t x0, std::int32_t x1);

// Default callbacks.
void TessroDefaultBegin(TessroContext* context);
void TessroDefaultRowEnd(TessroContext* context);
void TessroNoRow(TessroContext* context);
void TessroNoSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0,
                  std::int32_t x1);

// Flat and XOR spans by target format; null where the format has none.
TessroSpanFunc TessroFlatSpan(DWORD format);
TessroSpanFunc TessroXorSpan(DWORD format);

// Row converters (32-bit row buffer to the target format) and the colour stages.
TessroSpanFunc TessroRowConverter(DWORD format, DWORD layout16);
TessroSpanFunc TessroSeparationStage(BYTE selector);
TessroSpanFunc TessroColourMapStage();
// One 32-bit pixel to the target's format at (x, y), dithered against the dither origin.
DWORD TessroConvertPixel(const TessroContext* context, DWORD pixel, std::int32_t x,
                         std::int32_t y);

// Prepared fills: the row-driver table and the fill-index table.
struct TessroRowDriver {
    TessroRowFunc begin;
    TessroRowFunc rowStart;
    TessroRowFunc rowEnd;
};
// Fails with 21 for a driver that has no routines yet.
const TessroRowDriver& TessroRowDriverAt(DWORD index);

const DWORD kTessroFillIndexCount = 703;
const BYTE kTessroFillToRowBuffer = 1;  // formats below 32 bits: a converter follows
struct TessroFillIndexEntry {
    TessroSpanFunc span;
    TessroRowFunc setup;
    BYTE flags;
    TessroError error;  // non-zero: the combination has no routine
};
TessroFillIndexEntry TessroFillIndexAt(DWORD index);

// Spans of the linear graduation (kind 0..11 by mapping + 3 long + 6 repeat, by format).
TessroFillIndexEntry TessroLinearFillEntry(DWORD kind, DWORD format);
extern const TessroRowDriver kTessroLinearDrivers[3];
// Spans of the four-colour field (fill indices 695..700) and its drivers.
TessroFillIndexEntry TessroFourColourFillEntry(DWORD index);
extern const TessroRowDriver kTessroThreePointDriver;
extern const TessroRowDriver kTessroRowAffineDriver;
extern const TessroRowDriver kTessroPerspectiveDriver;
// The callbacks of the three-point and row-affine drivers on the colour geometry (u and v),
// also driving the square graduation.
void TessroBeginThreePointUV(TessroContext* context);
void TessroRowEndThreePointUV(TessroContext* context);
void TessroBeginRowAffineUV(TessroContext* context);
void TessroRowStartRowAffineUV(TessroContext* context);

// Anchor mappings. Three-point: false when degenerate. Both scale by the extents su, sv.
bool TessroThreePointSetup(TessroContext* context, TessroFillGeometry* geometry,
                           const TessroPoint& p0, const TessroPoint& p1, const TessroPoint& p2,
                           double su, double sv);
void TessroFourPointSetup(TessroContext* context, TessroFillGeometry* geometry,
                          const TessroPoint& p0, const TessroPoint& p1, const TessroPoint& p2,
                          const TessroPoint& p3, double su, double sv);
