// Radial graduation spans: the entry of a pixel follows its distance from the centre in the
// elliptical metric of the two axis vectors. Along a row r^2 is a quadratic in x, so the
// clamped spans step it as 64-bit integers (one table lookup per pixel, no square root), and
// the repeating spans step it in floating point and take one square root per pixel.
#include <cmath>

#include "raster/TessroPixelWriters.h"
#include "raster/TessroGraduationSpans.h"
#include "raster/TessroTransparencyGenerators.h"

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

// ---- The colour set or the transparency set ----
// Colour drivers end with the standard row stepping; transparency drivers continue into the
// colour fill's driver of the same role.
template <bool T> TessroRadialGeometry& Geometry(TessroDrawState& d) { return T ? d.transparencyRadial : d.radial; }
template <bool T> TessroFillGeometry& Fill(TessroDrawState& d) { return T ? d.transparency : d.colour; }
template <bool T> TessroRadialRow& Row(TessroDrawState& d) { return T ? d.transparencyRadialRow : d.radialRow; }
template <bool T> void ContinueBegin(TessroContext* c) {
    if (T) c->draw.savedBegin(c); else TessroDefaultBegin(c);
}
template <bool T> void ContinueRowStart(TessroContext* c) {
    if (T) c->draw.savedRowStart(c);
}
template <bool T> void ContinueRowEnd(TessroContext* c) {
    if (T) c->draw.savedRowEnd(c); else TessroDefaultRowEnd(c);
}

// ---- Row drivers, three-point ----

// Centre line at the first row's centre: centre x + dy k, with dy in 1/1024 px and the
// product kept exact (the low half of k multiplied apart so that nothing overflows).
template <bool T>
void BeginCentreLine(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroRadialGeometry& g = Geometry<T>(draw);
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
    Row<T>(draw).centreLine = static_cast<std::int64_t>(high + mid + low + centre);
    Row<T>(draw).secondDifference = g.secondDifference;
    ContinueBegin<T>(context);
}

template <bool T>
void BeginClampedThreePoint(TessroContext* context) {
    Row<T>(context->draw).start = StartClampedThreePoint;
    BeginCentreLine<T>(context);
}

template <bool T>
void BeginRepeatingThreePoint(TessroContext* context) {
    Row<T>(context->draw).start = StartRepeatingThreePoint;
    BeginCentreLine<T>(context);
}

// The row's top edge against the centre: the smallest distance, and the half chord inside the
// rim.
template <bool T>
void RowStartClampedThreePointBody(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroRadialGeometry& g = Geometry<T>(draw);
    TessroRadialRow& row = Row<T>(draw);
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

template <bool T>
void RowStartRepeatingThreePointBody(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroRadialGeometry& g = Geometry<T>(draw);
    const double dy = static_cast<double>(static_cast<std::int64_t>(draw.row) * 1024 - g.centreY);
    Row<T>(draw).distanceSquare = dy * dy * g.rowDistanceFactor;
    Row<T>(draw).outside = 0;
}

template <bool T>
void RowEndThreePoint(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    Row<T>(draw).centreLine = TessroAdd64(Row<T>(draw).centreLine, Geometry<T>(draw).slope);
    ContinueRowEnd<T>(context);
}

// ---- Row drivers, four-point row-affine ----

template <bool T>
void BeginRowAffine(TessroContext* context, TessroRadialStart start) {
    TessroDrawState& draw = context->draw;
    const TessroFillGeometry& f = Fill<T>(draw);
    TessroRadialRow& row = Row<T>(draw);
    row.sx = f.uX * f.uX + f.vX * f.vX;
    row.dotY = f.uX * f.uY + f.vX * f.vY;
    row.dot0 = f.uX * f.u0 + f.vX * f.v0;
    row.crossY = f.uX * f.vY - f.vX * f.uY;
    row.cross0 = f.uX * f.v0 - f.vX * f.u0;
    row.start = start;
    ContinueBegin<T>(context);
}

template <bool T>
void BeginClampedRowAffine(TessroContext* context) { BeginRowAffine<T>(context, StartClampedRowAffine); }
template <bool T>
void BeginRepeatingRowAffine(TessroContext* context) { BeginRowAffine<T>(context, StartRepeatingRowAffine); }

template <bool T>
void RowStartClampedRowAffineBody(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroFillGeometry& f = Fill<T>(draw);
    TessroRadialRow& row = Row<T>(draw);
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

template <bool T>
void RowStartRepeatingRowAffineBody(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroFillGeometry& f = Fill<T>(draw);
    TessroRadialRow& row = Row<T>(draw);
    const double y = draw.row;
    const double w = f.denY * y + f.den0;
    row.outside = 0;
    row.inverseW2 = 1.0 / (w * w);
    row.base = (2.0 * (row.dotY * y + row.dot0) + row.sx) * row.inverseW2;
}

template <bool T>
void RowStartClampedThreePoint(TessroContext* context) {
    RowStartClampedThreePointBody<T>(context);
    ContinueRowStart<T>(context);
}

template <bool T>
void RowStartRepeatingThreePoint(TessroContext* context) {
    RowStartRepeatingThreePointBody<T>(context);
    ContinueRowStart<T>(context);
}

template <bool T>
void RowStartClampedRowAffine(TessroContext* context) {
    RowStartClampedRowAffineBody<T>(context);
    ContinueRowStart<T>(context);
}

template <bool T>
void RowStartRepeatingRowAffine(TessroContext* context) {
    RowStartRepeatingRowAffineBody<T>(context);
    ContinueRowStart<T>(context);
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

// ---- Transparency generators: the same distances on the transparency set ----


template <bool Full, bool Or, bool Long, bool Repeat>
void Generator(TessroContext* context, BYTE* target, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    if (Full) draw.sourceSpan(context, target, y, x0, x1);
    TessroRadialRow& row = draw.transparencyRadialRow;
    const BYTE* table = draw.transparencyTable;
    const std::uint32_t length = Long ? 2048 : 256;
    if (x0 >= x1) return;
    if (Repeat) {
        row.start(draw.transparencyRadial, draw.transparency, row, x0, y);
        double value = row.valueF, difference = row.differenceF;
        for (std::int32_t x = x0; x < x1; ++x) {
            const double root = value > 0 ? std::sqrt(value) : 0.0;
            TessroPutTransparency<Or>(target, x, table[static_cast<std::uint64_t>(TessroNearest64(root)) & (length - 1)]);
            value += difference;
            difference += row.secondF;
        }
        return;
    }
    const BYTE last = table[length - 1];
    std::int32_t a = x1, b = x1;
    if (!row.outside) {
        const std::int32_t chordLeft = TessroHigh32(TessroAdd64(row.centreLine, -row.halfWidth));
        const std::int32_t chordRight = TessroHigh32(TessroAdd64(row.centreLine, row.halfWidth));
        a = chordLeft > x0 ? chordLeft : x0;
        b = chordRight < INT32_MAX && chordRight + 1 < x1 ? chordRight + 1 : x1;
        if (a > b) a = b = x1;
    }
    for (std::int32_t x = x0; x < a; ++x) TessroPutTransparency<Or>(target, x, last);
    if (a < b) {
        row.start(draw.transparencyRadial, draw.transparency, row, a, y);
        const RootTables& roots = Roots();
        std::int64_t value = row.value, difference = row.difference;
        for (std::int32_t x = a; x < b; ++x) {
            const std::uint32_t h = static_cast<std::uint32_t>(TessroHigh32(value));
            const BYTE t = h < static_cast<std::uint32_t>(kInsideRim) ? table[Long ? roots.fine[h] : roots.coarse[h]] : last;
            TessroPutTransparency<Or>(target, x, t);
            value = TessroAdd64(value, difference);
            difference = TessroAdd64(difference, row.secondDifference);
        }
    }
    for (std::int32_t x = b > a ? b : a; x < x1; ++x) TessroPutTransparency<Or>(target, x, last);
}

template <bool Full, bool Or>
TessroSpanFunc PickGenerator(bool isLong, bool repeat) {
    if (isLong) return repeat ? Generator<Full, Or, true, true> : Generator<Full, Or, true, false>;
    return repeat ? Generator<Full, Or, false, true> : Generator<Full, Or, false, false>;
}

}  // namespace

TessroSpanFunc TessroSetUpRadialTransparency(TessroContext* context, bool rowAffine, bool isLong, bool repeat,
                                             bool full, bool orIng) {
    TessroDrawState& draw = context->draw;
    if (rowAffine) {
        draw.begin = repeat ? BeginRepeatingRowAffine<true> : BeginClampedRowAffine<true>;
        draw.rowStart = repeat ? RowStartRepeatingRowAffine<true> : RowStartClampedRowAffine<true>;
    } else {
        draw.begin = repeat ? BeginRepeatingThreePoint<true> : BeginClampedThreePoint<true>;
        draw.rowStart = repeat ? RowStartRepeatingThreePoint<true> : RowStartClampedThreePoint<true>;
        draw.rowEnd = RowEndThreePoint<true>;
    }
    if (full) return orIng ? PickGenerator<true, true>(isLong, repeat) : PickGenerator<true, false>(isLong, repeat);
    return orIng ? PickGenerator<false, true>(isLong, repeat) : PickGenerator<false, false>(isLong, repeat);
}

const BYTE* TessroCoarseRoots() { return Roots().coarse; }
const WORD* TessroFineRoots() { return Roots().fine; }

// Drivers by mapping (three-point, row-affine) and family (clamped, repeating).
const TessroRowDriver kTessroRadialDrivers[2][2] = {
    {{BeginClampedThreePoint<false>, RowStartClampedThreePoint<false>, RowEndThreePoint<false>},
     {BeginRepeatingThreePoint<false>, RowStartRepeatingThreePoint<false>, RowEndThreePoint<false>}},
    {{BeginClampedRowAffine<false>, RowStartClampedRowAffine<false>, TessroDefaultRowEnd},
     {BeginRepeatingRowAffine<false>, RowStartRepeatingRowAffine<false>, TessroDefaultRowEnd}},
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
