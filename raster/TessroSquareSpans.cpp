// Square graduation spans: the entry of a pixel is the larger of its two axis coordinates'
// magnitudes, so the bands are parallelograms around the centre. A coordinate that turns
// negative is reflected (ones' complement, step negated) instead of testing signs per pixel;
// the steps are the row's own copies, so consecutive spans start afresh.
#include "raster/TessroGraduationSpans.h"
#include "raster/TessroPixelWriters.h"

using namespace tessro_pixels;

namespace {

inline std::int64_t Reflect(std::int64_t v) { return ~v; }

template <class Writer, bool Long, bool Repeat>
struct Square {
    static void Span(TessroContext* context, BYTE* target, std::int32_t y, std::int32_t x0, std::int32_t x1) {
        const TessroFillGeometry& g = context->draw.colour;
        const std::uint32_t length = Long ? 2048 : 256;
        const DWORD* entries = RowEntries<Writer>(context, y, length);
        const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
        std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
        std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
        std::int64_t stepU = g.rowStepU, stepV = g.rowStepV;
        const std::uint64_t period = static_cast<std::uint64_t>(2 * length) << 32;
        if (Repeat) {
            u = static_cast<std::int64_t>(static_cast<std::uint64_t>(u) & (period - 1));
            v = static_cast<std::int64_t>(static_cast<std::uint64_t>(v) & (period - 1));
        }
        for (std::int32_t x = x0; x < x1; ++x) {
            for (;;) {
                const std::uint32_t iu = static_cast<std::uint32_t>(TessroHigh32(u));
                const std::uint32_t iv = static_cast<std::uint32_t>(TessroHigh32(v));
                const std::uint32_t m = iu > iv ? iu : iv;
                if (m < length) {
                    Writer::Put(target, x, entries[m]);
                    break;
                }
                if (static_cast<std::int32_t>(m) >= 0) {
                    if (!Repeat) {
                        Writer::Put(target, x, entries[length - 1]);
                        break;
                    }
                    // Beyond the rim of a mirrored ramp: bring the larger coordinate into
                    // [-L, L) (a whole number of periods less), to be reflected below.
                    std::int64_t& c = iu >= iv ? u : v;
                    c = static_cast<std::int64_t>((static_cast<std::uint64_t>(c) & (period - 1)) - period);
                    if (TessroHigh32(c) >= -static_cast<std::int32_t>(length)) continue;
                    c = TessroAdd64(c, static_cast<std::int64_t>(period));
                    continue;
                }
                if (static_cast<std::int32_t>(iu) < 0) {
                    u = Reflect(u);
                    stepU = -stepU;
                } else {
                    v = Reflect(v);
                    stepV = -stepV;
                }
            }
            u = TessroAdd64(u, stepU);
            v = TessroAdd64(v, stepV);
        }
    }
};

template <class W> using ClampedShort = Square<W, false, false>;
template <class W> using ClampedLong = Square<W, true, false>;
template <class W> using RepeatingShort = Square<W, false, true>;
template <class W> using RepeatingLong = Square<W, true, true>;

}  // namespace

const TessroRowDriver kTessroSquareDrivers[2] = {
    {TessroBeginThreePointUV, TessroNoRow, TessroRowEndThreePointUV},
    {TessroBeginRowAffineUV, TessroRowStartRowAffineUV, TessroDefaultRowEnd},
};

TessroFillIndexEntry TessroSquareFillEntry(bool isLong, bool repeat, DWORD format) {
    TessroSpanFunc span;
    if (repeat) {
        span = isLong ? ForFormat<RepeatingLong>(format) : ForFormat<RepeatingShort>(format);
    } else {
        span = isLong ? ForFormat<ClampedLong>(format) : ForFormat<ClampedShort>(format);
    }
    if (span == nullptr) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_BITMAP_DEPTH};
    return {span, nullptr, 0, TESSRO_ERROR_NONE};
}
