// Radial graduation spans: the entry of a pixel follows its distance from the centre in the
// elliptical metric of the two axis vectors. Along a row r^2 is a quadratic in x, so the
// clamped spans step it as 64-bit integers (one table lookup per pixel, no square root), and
// the repeating spans step it in floating point and take one square root per pixel.
#include <cmath>

#include "raster/TessroPixelWriters.h"
#include "raster/TessroGraduationSpans.h"

using namespace tessro_pixels;

namespace {

const double kTwo14 = 16384.0;
const double kTwo24 = 16777216.0;
const double kTwo32 = 4294967296.0;
const double kTwo48 = 281474976710656.0;
const double kTwo49 = 562949953421312.0;
const std::int32_t kInsideRim = 65536;  // high half of r^2 * 2^48 below the rim

// ---- Square-root tables ----
struct RootTables {
    BYTE coarse[65536];  // floor(sqrt(i))
    WORD fine[65536];    // floor(sqrt(64 i + 32)): 0..2047
    RootTables() {
        for (std::uint32_t i = 0; i < 65536; ++i) {
            std::uint32_t r = static_cast<std::uint32_t>(std::sqrt(static_cast<double>(i)));
            while (r * r > i) --r;
            while ((r + 1) * (r + 1) <= i) ++r;
            coarse[i] = static_cast<BYTE>(r);
            const std::uint64_t v = 64ull * i + 32;
            std::uint64_t f = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(v)));
            while (f * f > v) --f;
            while ((f + 1) * (f + 1) <= v) ++f;
            fine[i] = static_cast<WORD>(f);
        }
    }
};

const RootTables& Roots() {
    static const RootTables tables;
    return tables;
}

// ---- Span starts: r^2 and its differences at the span's first pixel ----

// The span's first pixel less the centre line, in pixels.
double OffsetFromCentre(const TessroRadialRow& row, std::int32_t x) {
    const std::int64_t gap = static_cast<std::int64_t>(static_cast<std::uint64_t>(row.centreLine) -
                                                       (static_cast<std::uint64_t>(static_cast<std::int64_t>(x)) << 32));
    return -static_cast<double>(gap) / kTwo32;
}

void StartClampedThreePoint(const TessroRadialGeometry& g, const TessroFillGeometry&, TessroRadialRow& row,
                            std::int32_t x, std::int32_t) {
    const double dx = OffsetFromCentre(row, x);
    const double a = g.s / (g.d * g.d);
    row.difference = TessroAdd64(TessroAdd64(TessroNearest64(dx * kTwo49 * a), g.secondDifference >> 1), 1);
    row.value = TessroAdd64(TessroNearest64(dx * dx * kTwo48 * a), row.distance);
}

void StartRepeatingThreePoint(const TessroRadialGeometry& g, const TessroFillGeometry&, TessroRadialRow& row,
                              std::int32_t x, std::int32_t) {
    const double dx = OffsetFromCentre(row, x);
    row.valueF = 0.5 * g.curvature * dx * dx + row.distanceSquare;
    row.differenceF = g.curvature * (dx + 0.5);
    row.secondF = g.curvature;
}

double RowAffineSquare(const TessroFillGeometry& f, std::int32_t x, std::int32_t y) {
    const double u = f.uX * x + f.uY * y + f.u0, v = f.vX * x + f.vY * y + f.v0;
    return u * u + v * v;
}

void StartClampedRowAffine(const TessroRadialGeometry&, const TessroFillGeometry& f, TessroRadialRow& row,
                           std::int32_t x, std::int32_t y) {
    row.difference = TessroNearest64(static_cast<double>(x) * static_cast<double>(row.secondDifference) + row.base);
    row.value = TessroNearest64(RowAffineSquare(f, x, y) * row.inverseW2);
}

void StartRepeatingRowAffine(const TessroRadialGeometry&, const TessroFillGeometry& f, TessroRadialRow& row,
                             std::int32_t x, std::int32_t y) {
    row.secondF = 2.0 * row.sx * row.inverseW2;
    row.valueF = RowAffineSquare(f, x, y) * row.inverseW2;
    row.differenceF = x * row.secondF + row.base;
}

// ---- Row drivers, three-point ----

// Centre line at the first row's centre: centre x + dy k, with dy in 1/1024 px and the
// product kept exact (the low half of k multiplied apart so that nothing overflows).
void BeginCentreLine(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroRadialGeometry& g = draw.radial;
    const std::int64_t dy = static_cast<std::int64_t>(draw.bounds[1]) * 1024 + g.halfPixel - g.centreY;
    // dy k / 1024 = dy kHigh 2^22 + floor(dy kLow / 1024), with kLow split in 16-bit halves so
    // that no partial product overflows; the whole sum wraps like the 32.32 value it is.
    const std::uint64_t k = static_cast<std::uint64_t>(g.slope);
    const std::int64_t kHigh = g.slope >> 32;
    const std::int64_t kMid = static_cast<std::int64_t>((k >> 16) & 0xFFFF);
    const std::int64_t kLow = static_cast<std::int64_t>(k & 0xFFFF);
    const std::uint64_t high = static_cast<std::uint64_t>(dy) * static_cast<std::uint64_t>(kHigh) << 22;
    const std::uint64_t mid = static_cast<std::uint64_t>(dy * kMid) << 6;
    const std::uint64_t low = static_cast<std::uint64_t>((dy * kLow) >> 10);
    const std::uint64_t centre = static_cast<std::uint64_t>(static_cast<std::int64_t>(g.centreX)) << 22;
    draw.radialRow.centreLine = static_cast<std::int64_t>(high + mid + low + centre);
    draw.radialRow.secondDifference = g.secondDifference;
    TessroDefaultBegin(context);
}

void BeginClampedThreePoint(TessroContext* context) {
    context->draw.radialRow.start = StartClampedThreePoint;
    BeginCentreLine(context);
}

void BeginRepeatingThreePoint(TessroContext* context) {
    context->draw.radialRow.start = StartRepeatingThreePoint;
    BeginCentreLine(context);
}

// The row's top edge against the centre: the smallest distance, and the half chord inside the
// rim.
void RowStartClampedThreePoint(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroRadialGeometry& g = draw.radial;
    TessroRadialRow& row = draw.radialRow;
    const double dy = static_cast<double>(static_cast<std::int64_t>(draw.row) * 1024 - g.centreY);
    const double q = std::fabs(dy) * g.rowDistanceFactor;
    if (!(q < kTwo24)) {
        row.outside = 1;
        return;
    }
    row.outside = 0;
    const double q2 = q * q;
    row.distance = TessroNearest64(q2);
    row.halfWidth = TessroNearest64(std::sqrt((kTwo48 - q2) * g.widthFactor));
}

void RowStartRepeatingThreePoint(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroRadialGeometry& g = draw.radial;
    const double dy = static_cast<double>(static_cast<std::int64_t>(draw.row) * 1024 - g.centreY);
    draw.radialRow.distanceSquare = dy * dy * g.rowDistanceFactor;
    draw.radialRow.outside = 0;
}

void RowEndThreePoint(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    draw.radialRow.centreLine = TessroAdd64(draw.radialRow.centreLine, draw.radial.slope);
    TessroDefaultRowEnd(context);
}

// ---- Row drivers, four-point row-affine ----

void BeginRowAffine(TessroContext* context, TessroRadialStart start) {
    TessroDrawState& draw = context->draw;
    const TessroFillGeometry& f = draw.colour;
    TessroRadialRow& row = draw.radialRow;
    row.sx = f.uX * f.uX + f.vX * f.vX;
    row.dotY = f.uX * f.uY + f.vX * f.vY;
    row.dot0 = f.uX * f.u0 + f.vX * f.v0;
    row.crossY = f.uX * f.vY - f.vX * f.uY;
    row.cross0 = f.uX * f.v0 - f.vX * f.u0;
    row.start = start;
    TessroDefaultBegin(context);
}

void BeginClampedRowAffine(TessroContext* context) { BeginRowAffine(context, StartClampedRowAffine); }
void BeginRepeatingRowAffine(TessroContext* context) { BeginRowAffine(context, StartRepeatingRowAffine); }

void RowStartClampedRowAffine(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroFillGeometry& f = draw.colour;
    TessroRadialRow& row = draw.radialRow;
    const double y = draw.row;
    const double w = f.denY * y + f.den0;
    const double w2 = w * w;
    const double t1 = w2 * row.sx * 65536.0;
    const double cross = row.crossY * y + row.cross0;
    const double t2 = cross * cross;
    // A row with no chord (or with a vanishing denominator or direction) is all rim.
    if (!(t2 <= t1) || !(row.sx > 0) || !(w2 > 0)) {
        row.outside = 1;
        return;
    }
    row.outside = 0;
    const double dot = row.dotY * y + row.dot0;
    row.halfWidth = TessroNearest64(std::sqrt(t1 - t2) / row.sx * kTwo32);
    row.centreLine = TessroNearest64(-dot / row.sx * kTwo32);
    row.inverseW2 = kTwo32 / w2;
    row.secondDifference = TessroNearest64(2.0 * row.sx * row.inverseW2);
    row.base = (2.0 * dot + row.sx) * row.inverseW2;
}

void RowStartRepeatingRowAffine(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroFillGeometry& f = draw.colour;
    TessroRadialRow& row = draw.radialRow;
    const double y = draw.row;
    const double w = f.denY * y + f.den0;
    row.outside = 0;
    row.inverseW2 = 1.0 / (w * w);
    row.base = (2.0 * (row.dotY * y + row.dot0) + row.sx) * row.inverseW2;
}

// ---- Spans ----

template <class Writer, bool Long>
struct Clamped {
    static void Span(TessroContext* context, BYTE* target, std::int32_t y, std::int32_t x0, std::int32_t x1) {
        TessroDrawState& draw = context->draw;
        TessroRadialRow& row = draw.radialRow;
        const DWORD length = Long ? 2048 : 256;
        const DWORD* entries = RowEntries<Writer>(context, y, length);
        const DWORD last = entries[length - 1];
        PutRun<Writer>(target, x0, x1, last);
        if (row.outside) return;
        // Only the chord can hold entries below the last one.
        const std::int32_t chordLeft = TessroHigh32(TessroAdd64(row.centreLine, -row.halfWidth));
        const std::int32_t chordRight = TessroHigh32(TessroAdd64(row.centreLine, row.halfWidth));
        if (chordLeft > x0) x0 = chordLeft;
        if (chordRight < INT32_MAX && chordRight + 1 < x1) x1 = chordRight + 1;
        if (x0 >= x1) return;
        row.start(draw.radial, draw.colour, row, x0, y);
        const RootTables& roots = Roots();
        std::int64_t value = row.value, difference = row.difference;
        const std::int64_t second = row.secondDifference;
        for (std::int32_t x = x0; x < x1; ++x) {
            const std::uint32_t h = static_cast<std::uint32_t>(TessroHigh32(value));
            if (h < static_cast<std::uint32_t>(kInsideRim)) {
                Writer::Put(target, x, entries[Long ? roots.fine[h] : roots.coarse[h]]);
            }
            value = TessroAdd64(value, difference);
            difference = TessroAdd64(difference, second);
        }
    }
};

template <class Writer, bool Long>
struct Repeating {
    static void Span(TessroContext* context, BYTE* target, std::int32_t y, std::int32_t x0, std::int32_t x1) {
        TessroDrawState& draw = context->draw;
        TessroRadialRow& row = draw.radialRow;
        const DWORD length = Long ? 2048 : 256;
        const DWORD* entries = RowEntries<Writer>(context, y, length);
        if (x0 >= x1) return;
        row.start(draw.radial, draw.colour, row, x0, y);
        double value = row.valueF, difference = row.differenceF;
        const double second = row.secondF;
        for (std::int32_t x = x0; x < x1; ++x) {
            // Rounding error may leave a value just below zero at the centre.
            const double root = value > 0 ? std::sqrt(value) : 0.0;
            const std::int64_t index = TessroNearest64(root);
            Writer::Put(target, x, entries[static_cast<std::uint64_t>(index) & (length - 1)]);
            value += difference;
            difference += second;
        }
    }
};

template <class W> using ClampedShort = Clamped<W, false>;
template <class W> using ClampedLong = Clamped<W, true>;
template <class W> using RepeatingShort = Repeating<W, false>;
template <class W> using RepeatingLong = Repeating<W, true>;

}  // namespace

const BYTE* TessroCoarseRoots() { return Roots().coarse; }
const WORD* TessroFineRoots() { return Roots().fine; }

// Drivers by mapping (three-point, row-affine) and family (clamped, repeating).
const TessroRowDriver kTessroRadialDrivers[2][2] = {
    {{BeginClampedThreePoint, RowStartClampedThreePoint, RowEndThreePoint},
     {BeginRepeatingThreePoint, RowStartRepeatingThreePoint, RowEndThreePoint}},
    {{BeginClampedRowAffine, RowStartClampedRowAffine, TessroDefaultRowEnd},
     {BeginRepeatingRowAffine, RowStartRepeatingRowAffine, TessroDefaultRowEnd}},
};

TessroFillIndexEntry TessroRadialFillEntry(bool isLong, bool repeat, DWORD format) {
    TessroSpanFunc span;
    if (repeat) {
        span = isLong ? ForFormat<RepeatingLong>(format) : ForFormat<RepeatingShort>(format);
    } else {
        span = isLong ? ForFormat<ClampedLong>(format) : ForFormat<ClampedShort>(format);
    }
    if (span == nullptr) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_BITMAP_DEPTH};
    return {span, nullptr, 0, TESSRO_ERROR_NONE};
}
