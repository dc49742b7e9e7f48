// Perspective radial and square graduation spans: along a row the fill coordinates are
// u = Qu + Pu / (x + G), v = Qv + Pv / (x + G), one division per pixel. Near the vanishing line
// the quotients grow without bound (or turn NaN): they are limited before any integer
// conversion, and a value that is not a number takes the last entry.
#include <cmath>

#include "raster/TessroGraduationSpans.h"
#include "raster/TessroPixelWriters.h"
#include "raster/TessroTransparencyGenerators.h"

using namespace tessro_pixels;

namespace {

const double kRimSquare = 65535.5;   // r^2 (in entries^2) at which Nearest reaches 65536
const double kIndexLimit = 1073741824.0;  // 2^30: beyond every table and period

// Nearest integer of a coordinate limited to +-2^30; false for NaN.
inline bool Limited(double c, std::int32_t* out) {
    if (!(c == c)) return false;
    if (c > kIndexLimit) c = kIndexLimit;
    if (c < -kIndexLimit) c = -kIndexLimit;
    *out = static_cast<std::int32_t>(std::nearbyint(c));
    return true;
}

// put(x, index) for every pixel of a span of the perspective radial ramp, index the table
// entry (the last one at and beyond the rim, or for a distance that is not a number).
template <bool Long, bool Repeat, class Put>
void RadialIndices(const TessroFillGeometry& g, std::int32_t x0, std::int32_t x1, Put put) {
    const std::uint32_t length = Long ? 2048 : 256;
    const double qu = g.uX, qv = g.vX, pu = g.runU, pv = g.runV;
    const double p2 = pu * pu + pv * pv;
    // A row whose numerators vanish is at one distance throughout.
    const double magnitude = std::sqrt(p2);
    const double along = p2 > 0 ? (qu * pu + qv * pv) / magnitude : std::sqrt(qu * qu + qv * qv);
    const double cross = qu * pv - qv * pu;
    const double perpendicular = p2 > 0 ? cross * cross / p2 : 0.0;
    const BYTE* coarse = TessroCoarseRoots();
    const WORD* fine = TessroFineRoots();
    double w = g.runDen + x0;
    for (std::int32_t x = x0; x < x1; ++x, w += 1.0) {
        const double t = (p2 > 0 ? magnitude / w : 0.0) + along;
        const double r2 = t * t + perpendicular;
        std::uint32_t index = length - 1;
        if (Repeat) {
            std::int32_t i;
            if (Limited(std::sqrt(r2), &i)) index = static_cast<std::uint32_t>(i) & (length - 1);
        } else if (r2 < kRimSquare) {
            const std::uint32_t v = static_cast<std::uint32_t>(std::nearbyint(r2));
            index = Long ? fine[v] : coarse[v];
        }
        put(x, index);
    }
}

template <class Writer, bool Long, bool Repeat>
struct Radial {
    static void Span(TessroContext* context, BYTE* target, std::int32_t y, std::int32_t x0, std::int32_t x1) {
        const DWORD* entries = RowEntries<Writer>(context, y, Long ? 2048 : 256);
        RadialIndices<Long, Repeat>(context->draw.colour, x0, x1,
                                    [&](std::int32_t x, std::uint32_t i) { Writer::Put(target, x, entries[i]); });
    }
};

// The transparency generator: the same distances on the transparency set, bytes of the
// caller's transparency table stored into (or ORed into) the row buffer's fourth bytes.
template <bool Or, bool Long, bool Repeat>
void RadialTransparency(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const BYTE* table = draw.transparencyTable;
    RadialIndices<Long, Repeat>(draw.transparency, x0, x1, [&](std::int32_t x, std::uint32_t i) {
        TessroPutTransparency<Or>(row, x, table[i]);
    });
}

template <bool Or, bool Full>
struct RadialTransparencyLoops {
    static TessroSpanFunc Get(bool isLong, bool repeat) {
        if (isLong) {
            return repeat ? TessroGenerator<RadialTransparency<Or, true, true>, Full>
                          : TessroGenerator<RadialTransparency<Or, true, false>, Full>;
        }
        return repeat ? TessroGenerator<RadialTransparency<Or, false, true>, Full>
                      : TessroGenerator<RadialTransparency<Or, false, false>, Full>;
    }
};

template <bool Repeat, std::int32_t L>
inline std::int32_t Fold(std::int32_t i) {
    if (Repeat) i = ((i + L) & (2 * L - 1)) - L;
    return i < 0 ? -i - 1 : i;
}

template <class Writer, bool Long, bool Repeat>
struct Square {
    static void Span(TessroContext* context, BYTE* target, std::int32_t y, std::int32_t x0, std::int32_t x1) {
        const TessroFillGeometry& g = context->draw.colour;
        const std::int32_t length = Long ? 2048 : 256;
        const DWORD* entries = RowEntries<Writer>(context, y, length);
        const double qu = g.uX, qv = g.vX, pu = g.runU, pv = g.runV;
        const bool slanted = std::fabs(pu) > 1e-8;
        const double k = slanted ? pv / pu : 0.0, m = slanted ? qv - qu * k : 0.0;
        double w = g.runDen + x0;
        for (std::int32_t x = x0; x < x1; ++x, w += 1.0) {
            double u, v;
            if (slanted) {
                u = pu / w + qu;
                v = u * k + m;
            } else {
                u = qu;
                v = pv / w + qv;
            }
            // v's magnitude is taken before rounding, u's after.
            std::int32_t iu, iv;
            DWORD entry = entries[length - 1];
            if (Limited(u, &iu) && Limited(std::fabs(v), &iv)) {
                iu = Fold<Repeat, Long ? 2048 : 256>(iu);
                iv = Fold<Repeat, Long ? 2048 : 256>(iv);
                const std::int32_t index = iu > iv ? iu : iv;
                entry = entries[index < length ? index : length - 1];
            }
            Writer::Put(target, x, entry);
        }
    }
};

template <class W> using RadialClampedShort = Radial<W, false, false>;
template <class W> using RadialClampedLong = Radial<W, true, false>;
template <class W> using RadialRepeatingShort = Radial<W, false, true>;
template <class W> using RadialRepeatingLong = Radial<W, true, true>;
template <class W> using SquareClampedShort = Square<W, false, false>;
template <class W> using SquareClampedLong = Square<W, true, false>;
template <class W> using SquareRepeatingShort = Square<W, false, true>;
template <class W> using SquareRepeatingLong = Square<W, true, true>;

TessroFillIndexEntry Entry(TessroSpanFunc span) {
    if (span == nullptr) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_BITMAP_DEPTH};
    return {span, nullptr, 0, TESSRO_ERROR_NONE};
}

}  // namespace

TessroFillIndexEntry TessroRadialPerspectiveFillEntry(bool isLong, bool repeat, DWORD format) {
    if (repeat) {
        return Entry(isLong ? ForFormat<RadialRepeatingLong>(format) : ForFormat<RadialRepeatingShort>(format));
    }
    return Entry(isLong ? ForFormat<RadialClampedLong>(format) : ForFormat<RadialClampedShort>(format));
}

TessroFillIndexEntry TessroSquarePerspectiveFillEntry(bool isLong, bool repeat, DWORD format) {
    if (repeat) {
        return Entry(isLong ? ForFormat<SquareRepeatingLong>(format) : ForFormat<SquareRepeatingShort>(format));
    }
    return Entry(isLong ? ForFormat<SquareClampedLong>(format) : ForFormat<SquareClampedShort>(format));
}

TessroSpanFunc TessroSetUpPerspectiveRadialTransparency(TessroContext* context, bool isLong, bool repeat, bool full,
                                                        bool orIng) {
    TessroInstallUVTransparencyDrivers(context, 1);
    return TessroPickGenerator<RadialTransparencyLoops>(full, orIng, isLong, repeat);
}
