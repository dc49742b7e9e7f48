// Nearest-texel bitmap fill spans: each pixel centre is mapped to a source column u and row v
// (32.32), tiled by the fill's tile style, and the texel is read as a 32-bit colour by the
// reader of the source format. The loop for a (tile style, source format) pair is chosen once
// per fill from the precompiled set; it writes 32-bit pixels, into the target on 32-bit
// targets and into the row buffer ahead of the converter on the others. Smoothed spans mix
// the 2 x 2 texels around each centre.
//
// The common cases have loops of their own that draw the same pixels as the general ones:
// upright rows (no step down the source) read one source row, repeating coordinates carry
// their phase within the period instead of dividing per pixel, and smoothed spans blend four
// channels at once with SSE2, untranslated 32-bit sources two pixels at a time.
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "raster/TessroBitmapSpans.h"
#include "raster/TessroBitmapTexels.h"
#include "raster/TessroGraduationSpans.h"
#include "raster/TessroTransparencyGenerators.h"

namespace {

using namespace tessro_bitmap;

bool g_fastBitmapLoops = true;

inline bool UseFastBitmapLoops() { return g_fastBitmapLoops; }

// A whole texel coordinate of the affine loops (repeat and mirror ones already within one
// period): false when it lies outside the source (outside-colour style).
template <DWORD Tile>
inline bool TileWhole(std::int32_t& i, std::int32_t size) {
    if (Tile == kTileClamp) {
        if (static_cast<std::uint32_t>(i) >= static_cast<std::uint32_t>(size)) i = i < 0 ? 0 : size - 1;
    } else if (Tile == kTileOutside) {
        return static_cast<std::uint32_t>(i) < static_cast<std::uint32_t>(size);
    } else if (Tile == kTileMirror) {
        // The second half of the period reads the bitmap backwards.
        if (i >= size) i = 2 * size - 1 - i;
    }
    return true;
}

// One step of a 32.32 coordinate. Clamped and outside coordinates may run far: their
// arithmetic wraps. Tiled ones stay within one period of the source.
template <DWORD Tile>
inline void Advance(std::int64_t& c, std::int64_t step, std::int64_t period) {
    c = TessroAdd64(c, step);
    if (Tile == kTileRepeat || Tile == kTileMirror) {
        if (c >= period) c -= period; else if (c < 0) c += period;
    }
}

// Steps this many times shorter than the period make runs long enough to pay for the
// division that measures them.
const std::int64_t kLongRun = 16;

template <int Code, DWORD Tile, class Side = ColourSide>
void Span(TessroContext* context, BYTE* target, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    const TessroBitmapSource& b = Side::Source(draw);
    const std::int32_t w = b.width, h = b.height;
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
    std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    std::int64_t stepU = g.rowStepU, stepV = g.rowStepV;
    std::int64_t periodU = 0, periodV = 0;
    if (Tile == kTileRepeat || Tile == kTileMirror) {
        // The row-affine rows bring their own steps: reduced like the three-point ones, so no
        // step wraps more than once and no read leaves the source.
        TessroReduceSourceSteps(b, &stepU, &stepV);
        const int shift = Tile == kTileMirror ? 33 : 32;
        periodU = static_cast<std::int64_t>(w) << shift;
        periodV = static_cast<std::int64_t>(h) << shift;
        u = Wrap(u, periodU);
        v = Wrap(v, periodV);
    }
    if (stepV == 0 && UseFastBitmapLoops()) {
        // An upright mapping keeps the source row along the whole span: tile it once.
        std::int32_t iv = Whole(v);
        if (!TileWhole<Tile>(iv, h)) {
            for (std::int32_t x = x0; x < x1; ++x) Side::Put(target, x, b.outside);
            return;
        }
        const BYTE* row = Row(b, iv);
        const auto put = [&](std::int32_t x, std::int64_t c) {
            std::int32_t iu = Whole(c);
            Side::Put(target, x, TileWhole<Tile>(iu, w) ? TexelInRow<Code>(b, row, iu) : b.outside);
        };
        // Tiled steps are reduced to half a period: their magnitude is defined.
        const std::int64_t magnitude = Tile == kTileRepeat || Tile == kTileMirror ? (stepU < 0 ? -stepU : stepU) : 0;
        if (magnitude != 0 && magnitude < periodU / kLongRun) {
            // Runs of pixels that stay within the period: the wrap test (a compare and a
            // conditional move on the coordinate's own chain) leaves the inner loop.
            for (std::int32_t x = x0; x < x1;) {
                const std::int64_t room = stepU > 0 ? periodU - 1 - u : u;
                const std::int64_t fits = room / magnitude + 1;
                const std::int32_t end = fits < x1 - x ? x + static_cast<std::int32_t>(fits) : x1;
                for (; x < end; ++x, u += stepU) put(x, u);
                if (u >= periodU) u -= periodU; else if (u < 0) u += periodU;
            }
            return;
        }
        for (std::int32_t x = x0; x < x1; ++x) {
            put(x, u);
            Advance<Tile>(u, stepU, periodU);
        }
        return;
    }
    for (std::int32_t x = x0; x < x1; ++x) {
        std::int32_t iu = Whole(u), iv = Whole(v);
        const bool insideU = TileWhole<Tile>(iu, w);
        const bool insideV = TileWhole<Tile>(iv, h);
        Side::Put(target, x, insideU && insideV ? Texel<Code>(b, iu, iv) : b.outside);
        Advance<Tile>(u, stepU, periodU);
        Advance<Tile>(v, stepV, periodV);
    }
}

// Perspective mapping: u = Qu + Pu / (x + G), v from u along the row (or Qv + Pv / (x + G)
// when Pu vanishes); the texel is the nearest one, the setter's half-pixel offset making that
// the texel containing the point.
template <int Code, DWORD Tile, class Side = ColourSide>
void PerspectiveSpan(TessroContext* context, BYTE* target, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    const TessroBitmapSource& b = Side::Source(draw);
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
        std::int64_t iu = NearestLimited(u), iv = NearestLimited(v);
        const bool insideU = TileCoordinate<Tile>(iu, b.width);
        const bool insideV = TileCoordinate<Tile>(iv, b.height);
        const DWORD colour = insideU && insideV ? Texel<Code>(b, static_cast<std::int32_t>(iu), static_cast<std::int32_t>(iv))
                                                : b.outside;
        Side::Put(target, x, colour);
    }
}

template <DWORD Tile, int Code>
struct PickAffine {
    static TessroSpanFunc Get() { return Span<Code, Tile>; }
};
template <DWORD Tile, int Code>
struct PickPerspective {
    static TessroSpanFunc Get() { return PerspectiveSpan<Code, Tile>; }
};

// ---- Smoothed (bilinear) fills: three-point mapping only ----

const std::int64_t kHalf = static_cast<std::int64_t>(1) << 31;

// The smoothed rows start half a texel up and left, so that the integer parts name the upper
// left texel of the 2 x 2 footprint and the fractions weigh its neighbours.
void ShiftHalfTexel(TessroFillGeometry& g) {
    g.rowU = TessroAdd64(g.rowU, -kHalf);
    g.rowV = TessroAdd64(g.rowV, -kHalf);
}

void BeginSmoothed(TessroContext* context) {
    kTessroSquareDrivers[0].begin(context);
    ShiftHalfTexel(context->draw.colour);
}

void RowEndSmoothed(TessroContext* context) { kTessroSquareDrivers[0].rowEnd(context); }

// a + P[f][b - a], with the product row of the weight f looked up once per pixel.
inline int Lerp(int a, int b, const std::int16_t* row) { return a + row[b - a + 255]; }

template <bool FourChannels>
DWORD Bilinear(DWORD t00, DWORD t10, DWORD t01, DWORD t11, int fu, int fv) {
    const std::int16_t* rowU = TessroProductRow(fu);
    const std::int16_t* rowV = TessroProductRow(fv);
    DWORD out = 0;
    for (int c = 0; c < (FourChannels ? 4 : 3); ++c) {
        const int shift = 8 * c;
        const int top = Lerp((t00 >> shift) & 0xFF, (t10 >> shift) & 0xFF, rowU);
        const int bottom = Lerp((t01 >> shift) & 0xFF, (t11 >> shift) & 0xFF, rowU);
        out |= static_cast<DWORD>(Lerp(top, bottom, rowV) & 0xFF) << shift;
    }
    return out;
}

// The two texel columns (or rows) of a footprint and the weight of the second, by tile style.
// Returns false for a column outside the bitmap (outside-colour style: that slot keeps the
// outside colour); first and second report it separately.
struct Footprint {
    std::int32_t first, second;
    bool firstInside, secondInside;
    int weight;
};

#ifdef __SSE2__
// P(f, d) in each 16-bit lane: the magnitude's product f |d| <= 255 x 255 rounded by
// (t + (t >> 8)) >> 8 with t = f |d| + 128, which is exactly the table's round-to-nearest
// over that range; the sign goes back on after.
inline __attribute__((always_inline)) __m128i ProductLanes(__m128i d, __m128i f) {
    const __m128i sign = _mm_srai_epi16(d, 15);
    const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(d, sign), sign);
    const __m128i t = _mm_add_epi16(_mm_mullo_epi16(magnitude, f), _mm_set1_epi16(128));
    const __m128i r = _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    return _mm_sub_epi16(_mm_xor_si128(r, sign), sign);
}

// The footprint's texels in 16-bit lanes, left column (top and bottom rows) and right column,
// mixed across by fu: lanes 0..3 the top row's result, 4..7 the bottom row's.
inline __attribute__((always_inline)) __m128i AcrossLanes(__m128i left, __m128i right, int fu) {
    return _mm_add_epi16(left, ProductLanes(_mm_sub_epi16(right, left), _mm_set1_epi16(static_cast<short>(fu))));
}

// Then top towards bottom by the weights in fv, for one or two footprints side by side, packed
// to pixels; three-channel results drop the fourth byte.
template <bool FourChannels>
inline __attribute__((always_inline)) __m128i DownLanes(__m128i tops, __m128i bottoms, __m128i fv) {
    const __m128i mixed = _mm_add_epi16(tops, ProductLanes(_mm_sub_epi16(bottoms, tops), fv));
    const __m128i pixels = _mm_packus_epi16(mixed, _mm_setzero_si128());
    return FourChannels ? pixels : _mm_and_si128(pixels, _mm_set1_epi32(0x00FFFFFF));
}

// The same sums as the table form (Bilinear), four channels at once.
template <bool FourChannels>
inline __attribute__((always_inline)) DWORD BilinearLanes(DWORD t00, DWORD t10, DWORD t01, DWORD t11, int fu, int fv) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i left = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(t00)),
                                                              _mm_cvtsi32_si128(static_cast<int>(t01))), zero);
    const __m128i right = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(t10)),
                                                               _mm_cvtsi32_si128(static_cast<int>(t11))), zero);
    const __m128i rows = AcrossLanes(left, right, fu);
    const __m128i pixels = DownLanes<FourChannels>(rows, _mm_unpackhi_epi64(rows, rows),
                                                   _mm_set1_epi16(static_cast<short>(fv)));
    return static_cast<DWORD>(_mm_cvtsi128_si32(pixels));
}

// Untranslated 32-bit sources: the footprint's rows mixed across, each row's texel pair one
// 8-byte read when the columns are neighbours. The fourth byte rides along in its own lanes.
inline __attribute__((always_inline)) __m128i WordRows(const BYTE* top, const BYTE* bottom, const Footprint& fu) {
    __m128i topPair, bottomPair;
    if (fu.second == fu.first + 1) {
        topPair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(top + 4 * fu.first));
        bottomPair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bottom + 4 * fu.first));
    } else {
        const auto word = [](const BYTE* row, std::int32_t u) { return _mm_cvtsi32_si128(static_cast<int>(Read32(row + 4 * u))); };
        topPair = _mm_unpacklo_epi32(word(top, fu.first), word(top, fu.second));
        bottomPair = _mm_unpacklo_epi32(word(bottom, fu.first), word(bottom, fu.second));
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i texels = _mm_unpacklo_epi32(topPair, bottomPair);  // t00, t01, t10, t11
    return AcrossLanes(_mm_unpacklo_epi8(texels, zero), _mm_unpackhi_epi8(texels, zero), fu.weight);
}
#endif

inline std::int64_t WholeSize(std::int32_t size) { return static_cast<std::int64_t>(size) << 32; }

// Repeat and mirror coordinates are read by their phase within the period (mirror ones half a
// texel on, so that the reflection falls on texel edges); the others as they are.
template <DWORD Tile>
std::int64_t PeriodOf(std::int32_t size) {
    return Tile == kTileMirror ? 2 * WholeSize(size) : WholeSize(size);
}

template <DWORD Tile>
std::int64_t Phase(std::int64_t c, std::int32_t size) {
    if (Tile == kTileRepeat) return Wrap(c, PeriodOf<Tile>(size));
    if (Tile == kTileMirror) return Wrap(TessroAdd64(c, kHalf), PeriodOf<Tile>(size));
    return c;
}

template <DWORD Tile>
Footprint FootprintAt(std::int64_t c, std::int32_t size) {
    const std::int64_t whole = WholeSize(size);
    Footprint f;
    f.firstInside = f.secondInside = true;
    if (Tile == kTileMirror) {
        // Reflect the unshifted coordinate into [0, size), then shift back by half a texel; at
        // the seam both texels of the footprint are the edge texel, so the edge row repeats.
        std::int64_t m = c;
        if (m >= whole) m = ~(m - 2 * whole);
        m -= kHalf;
        const std::int32_t i = Whole(m);
        if (i < 0) {
            f.first = f.second = 0;
            f.weight = 0;
        } else {
            f.first = i;
            f.second = i + 1 < size ? i + 1 : size - 1;
            f.weight = static_cast<int>((m >> 24) & 0xFF);
        }
        return f;
    }
    f.weight = static_cast<int>((c >> 24) & 0xFF);
    if (Tile == kTileRepeat) {
        f.first = Whole(c);
        f.second = f.first + 1 < size ? f.first + 1 : 0;
        return f;
    }
    const std::int64_t i = c >> 32;
    if (Tile == kTileClamp) {
        f.first = static_cast<std::int32_t>(i < 0 ? 0 : i >= size ? size - 1 : i);
        f.second = static_cast<std::int32_t>(i + 1 < 0 ? 0 : i + 1 >= size ? size - 1 : i + 1);
        return f;
    }
    f.firstInside = i >= 0 && i < size;
    f.secondInside = i + 1 >= 0 && i + 1 < size;
    f.first = f.firstInside ? static_cast<std::int32_t>(i) : 0;
    f.second = f.secondInside ? static_cast<std::int32_t>(i + 1) : 0;
    return f;
}

// One coordinate of a smoothed span. The general walk takes the phase of every pixel's
// coordinate afresh (a 64-bit division); the stepped one carries the phase along by the step's
// phase, which gives the same values as long as no coordinate of the span leaves the 64-bit
// range (the general walk's sums wrap there) and the period leaves room for one carry.
template <DWORD Tile>
class Axis {
public:
    Axis(std::int64_t start, std::int64_t step, std::int32_t size, std::int32_t count, bool stepping)
        : c_(start), step_(step), size_(size), stepped_(false) {
        if (!kTiled) return;
        const std::int64_t kRoom = static_cast<std::int64_t>(1) << 61;
        period_ = PeriodOf<Tile>(size);
        std::int64_t run = 0, end = 0;
        stepped_ = stepping && period_ < kRoom && !__builtin_mul_overflow(step, static_cast<std::int64_t>(count), &run) &&
                   !__builtin_add_overflow(start, run, &end) && start > -kRoom && start < kRoom && end > -kRoom &&
                   end < kRoom;
        if (stepped_) {
            phase_ = Phase<Tile>(start, size);
            phaseStep_ = Wrap(step, period_);
        }
    }
    Footprint At() const {
        if (!kTiled) return FootprintAt<Tile>(c_, size_);
        return FootprintAt<Tile>(stepped_ ? phase_ : Phase<Tile>(c_, size_), size_);
    }
    void Next() {
        if (stepped_) {
            phase_ += phaseStep_;
            if (phase_ >= period_) phase_ -= period_;
        } else {
            c_ = TessroAdd64(c_, step_);
        }
    }

private:
    static const bool kTiled = Tile == kTileRepeat || Tile == kTileMirror;
    std::int64_t c_, step_;
    std::int32_t size_;
    bool stepped_;
    std::int64_t period_ = 0, phase_ = 0, phaseStep_ = 0;
};

template <int Code, DWORD Tile, class Side = ColourSide>
void SmoothedSpan(TessroContext* context, BYTE* target, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    const TessroBitmapSource& b = Side::Source(draw);
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
    const std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    const std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    constexpr bool kFourChannels = FourChannels(Code) || Code == kMaskCode;
    // Untranslated 32-bit texels, every footprint texel inside the source.
    constexpr bool kWordTexels = (Code == 10 || Code == 12) && Tile != kTileOutside;
    const bool fast = UseFastBitmapLoops();
    Axis<Tile> axisU(u, g.rowStepU, b.width, x1 - x0, fast), axisV(v, g.rowStepV, b.height, x1 - x0, fast);
    // An upright mapping keeps the footprint's rows along the whole span.
    const bool upright = fast && g.rowStepV == 0;
    Footprint fv = axisV.At();
    const BYTE* top = Row(b, fv.first);
    const BYTE* bottom = Row(b, fv.second);
#ifdef __SSE2__
    if (kWordTexels && fast) {
        // Two pixels at a time: their rows mixed across one by one, then both down at once.
        const auto rowsAt = [&](int& weight) __attribute__((always_inline)) {
            if (!upright) {
                fv = axisV.At();
                top = Row(b, fv.first);
                bottom = Row(b, fv.second);
            }
            weight = fv.weight;
            const __m128i rows = WordRows(top, bottom, axisU.At());
            axisU.Next();
            axisV.Next();
            return rows;
        };
        __m128i down = _mm_set1_epi16(static_cast<short>(fv.weight));
        std::int32_t x = x0;
        for (; x + 1 < x1; x += 2) {
            int first, second;
            const __m128i a = rowsAt(first);
            const __m128i c = rowsAt(second);
            if (!upright) {
                down = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(first)), _mm_set1_epi16(static_cast<short>(second)));
            }
            const __m128i pixels = DownLanes<kFourChannels>(_mm_unpacklo_epi64(a, c), _mm_unpackhi_epi64(a, c), down);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(target + 4 * static_cast<std::ptrdiff_t>(x)), pixels);
        }
        if (x < x1) {
            int weight;
            const __m128i a = rowsAt(weight);
            const __m128i pixels = DownLanes<kFourChannels>(a, _mm_unpackhi_epi64(a, a), _mm_set1_epi16(static_cast<short>(weight)));
            Side::Put(target, x, static_cast<DWORD>(_mm_cvtsi128_si32(pixels)));
        }
        return;
    }
#endif
    for (std::int32_t x = x0; x < x1; ++x) {
        if (!upright) {
            fv = axisV.At();
            top = Row(b, fv.first);
            bottom = Row(b, fv.second);
        }
        const Footprint fu = axisU.At();
        const DWORD t00 = fu.firstInside && fv.firstInside ? TexelInRow<Code>(b, top, fu.first) : b.outside;
        const DWORD t10 = fu.secondInside && fv.firstInside ? TexelInRow<Code>(b, top, fu.second) : b.outside;
        const DWORD t01 = fu.firstInside && fv.secondInside ? TexelInRow<Code>(b, bottom, fu.first) : b.outside;
        const DWORD t11 = fu.secondInside && fv.secondInside ? TexelInRow<Code>(b, bottom, fu.second) : b.outside;
#ifdef __SSE2__
        const DWORD colour = fast ? BilinearLanes<kFourChannels>(t00, t10, t01, t11, fu.weight, fv.weight)
                                  : Bilinear<kFourChannels>(t00, t10, t01, t11, fu.weight, fv.weight);
#else
        const DWORD colour = Bilinear<kFourChannels>(t00, t10, t01, t11, fu.weight, fv.weight);
#endif
        Side::Put(target, x, colour);
        axisU.Next();
        axisV.Next();
    }
}

template <DWORD Tile, int Code>
struct PickSmoothed {
    static TessroSpanFunc Get() { return SmoothedSpan<Code, Tile>; }
};

// ---- Bitmap masks: the same loops on the transparency set, one byte per pixel ----

void BeginSmoothedMask(TessroContext* context) {
    TessroStartThreePointUV(context->draw, context->draw.transparency);
    ShiftHalfTexel(context->draw.transparency);
    context->draw.savedBegin(context);
}

enum MaskFamily { kNearestAffine, kNearestPerspective, kSmoothed };

template <DWORD Tile, bool Or, bool Full>
TessroSpanFunc MaskLoop(MaskFamily family) {
    switch (family) {
        case kNearestAffine: return TessroGenerator<Span<kMaskCode, Tile, MaskSide<Or>>, Full>;
        case kNearestPerspective: return TessroGenerator<PerspectiveSpan<kMaskCode, Tile, MaskSide<Or>>, Full>;
        default: return TessroGenerator<SmoothedSpan<kMaskCode, Tile, MaskSide<Or>>, Full>;
    }
}

template <bool Or, bool Full>
struct MaskLoops {
    static TessroSpanFunc Get(DWORD tile, MaskFamily family) {
        switch (tile) {
            case kTileClamp: return MaskLoop<kTileClamp, Or, Full>(family);
            case kTileOutside: return MaskLoop<kTileOutside, Or, Full>(family);
            case kTileRepeat: return MaskLoop<kTileRepeat, Or, Full>(family);
            default: return MaskLoop<kTileMirror, Or, Full>(family);
        }
    }
};

}  // namespace

void TessroSetFastBitmapLoops(bool on) { g_fastBitmapLoops = on; }

const TessroRowDriver kTessroSmoothedBitmapDriver = {BeginSmoothed, TessroNoRow, RowEndSmoothed};

TessroFillIndexEntry TessroSmoothedBitmapFillEntry(DWORD offset) {
    const DWORD tile = offset / kCodesPerTile, code = offset % kCodesPerTile;
    if (tile >= kTileStylesPerGroup) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE};
    return {ForTileAndCode<PickSmoothed>(tile, code), nullptr, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
}

TessroFillIndexEntry TessroBitmapFillEntry(DWORD offset, bool perspective) {
    const DWORD tile = offset / kCodesPerTile, code = offset % kCodesPerTile;
    if (tile >= kTileStylesPerGroup) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE};
    const TessroSpanFunc span =
        perspective ? ForTileAndCode<PickPerspective>(tile, code) : ForTileAndCode<PickAffine>(tile, code);
    return {span, nullptr, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
}

TessroFillIndexEntry TessroBitmapFillEntryKeepingFourth(DWORD index) {
    const DWORD offset = (index - kTessroBitmapFirstIndex) % (kCodesPerTile * kTileStylesPerGroup);
    const DWORD tile = offset / kCodesPerTile, code = offset % kCodesPerTile;
    // 32-bit sources: the reader that keeps the fourth byte is two codes on.
    if (code == 5 || code == 10) return TessroFillIndexAt(index + 2);
    // Palette sources: the nearest readers keep the palette's fourth byte already; the
    // interpolating ones need their four-channel codes.
    if (code <= 2 && tile < kTileStylesPerGroup && index >= kTessroSmoothedFirstIndex) {
        const DWORD fourChannel = code + kFourChannelPaletteFirst;
        if (index >= kTessroFilteredFirstIndex) return TessroFilteredBitmapFillEntry(tile, fourChannel);
        return {ForTileAndCode<PickSmoothed>(tile, fourChannel), nullptr, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
    }
    return TessroFillIndexAt(index);
}

TessroSpanFunc TessroSetUpBitmapMask(TessroContext* context, DWORD generator, bool full, bool orIng) {
    TessroDrawState& draw = context->draw;
    MaskFamily family = kNearestAffine;
    switch (generator) {
        case kTessroMaskThreePoint: TessroInstallUVTransparencyDrivers(context, 0); break;
        case kTessroMaskPerspective:
            TessroInstallUVTransparencyDrivers(context, 1);
            family = kNearestPerspective;
            break;
        case kTessroMaskRowAffine: TessroInstallUVTransparencyDrivers(context, 2); break;
        default:
            TessroInstallUVTransparencyDrivers(context, 0);
            draw.begin = BeginSmoothedMask;
            family = kSmoothed;
            break;
    }
    return TessroPickGenerator<MaskLoops>(full, orIng, draw.mask.tileStyle, family);
}
