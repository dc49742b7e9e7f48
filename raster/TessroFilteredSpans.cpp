// Filtered bitmap fills and masks: a separable cubic (both parameters 1/3) whose width follows
// the mapping's scale. An enlarged source is interpolated over 4 x 4 texels; a reduced one is
// averaged over as many texels as a device pixel covers (at most 100 taps per axis). A
// negative amount widens the kernel (blur), a positive one subtracts the widened kernel from
// twice the plain one (sharpen).
//
// The tap table holds n x 64 weights, 64 phases per texel, each phase summing to 32768.
// A pixel sums its footprint row by row: row sum = sum of texel x weight, pixel sum += (row sum
// >> 8) x row weight; the channel is (sum + sum >> 8) >> 22, clamped. The sums are 64-bit:
// sharpening weights reach past 32768 and their products past 32 bits.
#include <cmath>

#include "raster/TessroBitmapSpans.h"
#include "raster/TessroBitmapTexels.h"
#include "raster/TessroGraduationSpans.h"
#include "raster/TessroTransparencyGenerators.h"

using namespace tessro_bitmap;

namespace {

const double kTexelsPerGradient = 1024.0 / 4294967296.0;  // gradient (2^-32 per 1/1024 px) to texels per px
const double kPhaseSum = 32768.0;
const double kKernelWidth = 4.0;       // the kernel reaches 2 either side
const double kLeastKernelStep = 0.04;  // at 100 taps
const std::int64_t kHalf = static_cast<std::int64_t>(1) << 31;
const int kPhaseShift = 26;           // top 6 bits of a 32-bit fraction
const int kRowShift = 8;
const int kFinalShift = 22;

double Kernel(double x) {
    x = std::fabs(x);
    if (x <= 1.0) return (21.0 * x * x * x - 36.0 * x * x + 16.0) / 18.0;
    if (x < 2.0) return (-7.0 * x * x * x + 36.0 * x * x - 60.0 * x + 32.0) / 18.0;
    return 0.0;
}

// The tap table of a fill or mask for its mapping's scale and the filtering amount.
void BuildTaps(TessroFilterTaps& taps, const TessroFillGeometry& g, std::int32_t amount) {
    const double det = (g.dudx * g.dvdy - g.dudy * g.dvdx) * kTexelsPerGradient * kTexelsPerGradient;
    // A device pixel is 1/s texels across.
    const double s = det != 0.0 && det == det ? 1.0 / std::sqrt(std::fabs(det)) : 1.0;
    double m = s >= 1.0 ? 1.0 : s;
    const double q = 1.0 + std::abs(amount) / 100.0;
    double f = m / q;
    double taps4 = std::nearbyint(kKernelWidth / f + 0.5);
    int n = taps4 > kTessroMaxFilterTaps ? kTessroMaxFilterTaps : static_cast<int>(taps4);
    if (taps4 > kTessroMaxFilterTaps) {
        f = kLeastKernelStep;
        m = q * kLeastKernelStep;
    }
    if (n < 1) n = 1;
    taps.count = n;
    const int total = n * kTessroFilterPhases;
    static thread_local double values[kTessroMaxFilterTaps * kTessroFilterPhases];
    for (int j = 0; j < total; ++j) {
        const double d = std::fabs(j + 0.5 - 32.0 * n);
        const double widened = kPhaseSum * f * Kernel(d * f / kTessroFilterPhases);
        values[j] = amount > 0 ? 2.0 * kPhaseSum * m * Kernel(d * m / kTessroFilterPhases) - widened : widened;
    }
    for (int p = 0; p < kTessroFilterPhases; ++p) {
        double sum = 0.0;
        for (int j = p; j < total; j += kTessroFilterPhases) sum += values[j];
        std::int32_t rounded = 0;
        int largest = p;
        for (int j = p; j < total; j += kTessroFilterPhases) {
            // A phase that sums to nothing (no weight reaches a texel) spreads evenly.
            const double w = sum != 0.0 ? values[j] * kPhaseSum / sum : kPhaseSum / n;
            taps.weights[j] = static_cast<std::int32_t>(std::nearbyint(w));
            rounded += taps.weights[j];
            if (taps.weights[j] > taps.weights[largest]) largest = j;
        }
        // The rounding residue goes to the largest tap: a phase summing a unit short of 32768
        // would darken a uniform channel by one step.
        taps.weights[largest] += static_cast<std::int32_t>(kPhaseSum) - rounded;
    }
}

// Moves the row coordinates to the footprint's first texel: (2u - n + 1) / 2.
void ShiftToFootprint(TessroFillGeometry& g, std::int32_t n) {
    const std::int64_t shift = static_cast<std::int64_t>(n - 1) * kHalf;
    g.rowU = TessroAdd64(g.rowU, -shift);
    g.rowV = TessroAdd64(g.rowV, -shift);
}

void Begin(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    BuildTaps(draw.filter, draw.colour, draw.bitmapAmount);
    kTessroSquareDrivers[0].begin(context);
    ShiftToFootprint(draw.colour, draw.filter.count);
}

void RowEnd(TessroContext* context) { kTessroSquareDrivers[0].rowEnd(context); }

void BeginMask(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    BuildTaps(draw.maskFilter, draw.transparency, draw.bitmapAmount);
    TessroStartThreePointUV(draw, draw.transparency);
    ShiftToFootprint(draw.transparency, draw.maskFilter.count);
    draw.savedBegin(context);
}

// The side's filter table.
template <class Side> const TessroFilterTaps& Taps(const TessroDrawState& d);
template <> const TessroFilterTaps& Taps<ColourSide>(const TessroDrawState& d) { return d.filter; }
template <> const TessroFilterTaps& Taps<MaskSide<false>>(const TessroDrawState& d) { return d.maskFilter; }
template <> const TessroFilterTaps& Taps<MaskSide<true>>(const TessroDrawState& d) { return d.maskFilter; }

// Channels First..Last of a pixel (0 blue .. 3 fourth byte).
template <int Code, DWORD Tile, class Side, int First, int Last>
void Span(TessroContext* context, BYTE* target, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    const TessroBitmapSource& b = Side::Source(draw);
    const TessroFilterTaps& taps = Taps<Side>(draw);
    const std::int32_t n = taps.count;
    const std::int32_t* w = taps.weights;
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
    std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    std::int64_t stepU = g.rowStepU, stepV = g.rowStepV;
    std::int64_t periodU = 0, periodV = 0;
    const bool tiled = Tile == kTileRepeat || Tile == kTileMirror;
    if (tiled) {
        TessroReduceSourceSteps(b, &stepU, &stepV);
        const int shift = Tile == kTileMirror ? 33 : 32;
        periodU = static_cast<std::int64_t>(b.width) << shift;
        periodV = static_cast<std::int64_t>(b.height) << shift;
        u = Wrap(u, periodU);
        v = Wrap(v, periodV);
    }
    std::int32_t columns[kTessroMaxFilterTaps], rows[kTessroMaxFilterTaps];
    for (std::int32_t x = x0; x < x1; ++x) {
        const int pu = static_cast<int>((u >> kPhaseShift) & 63), pv = static_cast<int>((v >> kPhaseShift) & 63);
        const std::int64_t iu = u >> 32, iv = v >> 32;
        // Footprint columns and rows by tile style; -1 outside the bitmap.
        for (std::int32_t i = 0; i < n; ++i) {
            std::int64_t c = iu + i, r = iv + i;
            columns[i] = TileCoordinate<Tile>(c, b.width) ? static_cast<std::int32_t>(c) : -1;
            rows[i] = TileCoordinate<Tile>(r, b.height) ? static_cast<std::int32_t>(r) : -1;
        }
        std::int64_t sum[4] = {0, 0, 0, 0};
        for (std::int32_t r = 0; r < n; ++r) {
            const std::int64_t wy = w[64 * (n - 1 - r) + pv];
            if (rows[r] < 0) {
                for (int c = First; c <= Last; ++c) sum[c] += static_cast<std::int64_t>(((b.outside >> (8 * c)) & 0xFF) * 128) * wy;
                continue;
            }
            std::int64_t rowSum[4] = {0, 0, 0, 0};
            for (std::int32_t i = 0; i < n; ++i) {
                const std::int64_t wx = w[64 * (n - 1 - i) + pu];
                const DWORD texel = columns[i] < 0 ? b.outside : Texel<Code>(b, columns[i], rows[r]);
                for (int c = First; c <= Last; ++c) rowSum[c] += static_cast<std::int64_t>((texel >> (8 * c)) & 0xFF) * wx;
            }
            for (int c = First; c <= Last; ++c) sum[c] += (rowSum[c] >> kRowShift) * wy;
        }
        DWORD result = 0;
        for (int c = First; c <= Last; ++c) {
            std::int64_t value = (sum[c] + (sum[c] >> 8)) >> kFinalShift;
            value = value < 0 ? 0 : value > 255 ? 255 : value;
            result |= static_cast<DWORD>(value) << (8 * c);
        }
        Side::Put(target, x, result);
        u = TessroAdd64(u, stepU);
        v = TessroAdd64(v, stepV);
        if (tiled) {
            if (u >= periodU) u -= periodU; else if (u < 0) u += periodU;
            if (v >= periodV) v -= periodV; else if (v < 0) v += periodV;
        }
    }
}

template <DWORD Tile, int Code>
struct PickFiltered {
    static TessroSpanFunc Get() {
        return FourChannels(Code) ? Span<Code, Tile, ColourSide, 0, 3> : Span<Code, Tile, ColourSide, 0, 2>;
    }
};

template <bool Or, bool Full>
struct MaskLoops {
    static TessroSpanFunc Get(DWORD tile) {
        switch (tile) {
            case kTileClamp: return TessroGenerator<Span<kMaskCode, kTileClamp, MaskSide<Or>, 3, 3>, Full>;
            case kTileOutside: return TessroGenerator<Span<kMaskCode, kTileOutside, MaskSide<Or>, 3, 3>, Full>;
            case kTileRepeat: return TessroGenerator<Span<kMaskCode, kTileRepeat, MaskSide<Or>, 3, 3>, Full>;
            default: return TessroGenerator<Span<kMaskCode, kTileMirror, MaskSide<Or>, 3, 3>, Full>;
        }
    }
};

}  // namespace

const TessroRowDriver kTessroFilteredBitmapDriver = {Begin, TessroNoRow, RowEnd};

TessroFillIndexEntry TessroFilteredBitmapFillEntry(DWORD tile, DWORD code) {
    if (tile >= kTileStylesPerGroup) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE};
    return {ForTileAndCode<PickFiltered>(tile, code), nullptr, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
}

TessroSpanFunc TessroSetUpFilteredBitmapMask(TessroContext* context, bool full, bool orIng) {
    TessroInstallUVTransparencyDrivers(context, 0);
    context->draw.begin = BeginMask;
    return TessroPickGenerator<MaskLoops>(full, orIng, context->draw.mask.tileStyle);
}
