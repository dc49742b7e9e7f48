// Nearest-texel bitmap fill spans: each pixel centre is mapped to a source column u and row v
// (32.32), tiled by the fill's tile style, and the texel is read as a 32-bit colour by the
// reader of the source format. The loop for a (tile style, source format) pair is chosen once
// per fill from the precompiled set; it writes 32-bit pixels, into the target on 32-bit
// targets and into the row buffer ahead of the converter on the others.
#include <cmath>
#include <cstring>

#include "raster/TessroBitmapSpans.h"
#include "raster/TessroBitmapTexels.h"
#include "raster/TessroGraduationSpans.h"
#include "raster/TessroTransparencyGenerators.h"

namespace {

using namespace tessro_bitmap;

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
    for (std::int32_t x = x0; x < x1; ++x) {
        std::int32_t iu = Whole(u), iv = Whole(v);
        DWORD colour;
        if (Tile == kTileClamp) {
            if (static_cast<std::uint32_t>(iu) >= static_cast<std::uint32_t>(w)) iu = iu < 0 ? 0 : w - 1;
            if (static_cast<std::uint32_t>(iv) >= static_cast<std::uint32_t>(h)) iv = iv < 0 ? 0 : h - 1;
            colour = Texel<Code>(b, iu, iv);
        } else if (Tile == kTileOutside) {
            const bool inside = static_cast<std::uint32_t>(iu) < static_cast<std::uint32_t>(w) &&
                                static_cast<std::uint32_t>(iv) < static_cast<std::uint32_t>(h);
            colour = inside ? Texel<Code>(b, iu, iv) : b.outside;
        } else if (Tile == kTileRepeat) {
            colour = Texel<Code>(b, iu, iv);
        } else {
            // The second half of the period reads the bitmap backwards.
            if (iu >= w) iu = 2 * w - 1 - iu;
            if (iv >= h) iv = 2 * h - 1 - iv;
            colour = Texel<Code>(b, iu, iv);
        }
        Side::Put(target, x, colour);
        // Clamped and outside coordinates may run far: their arithmetic wraps. Tiled ones stay
        // within one period of the source.
        u = TessroAdd64(u, stepU);
        v = TessroAdd64(v, stepV);
        if (Tile == kTileRepeat || Tile == kTileMirror) {
            if (u >= periodU) u -= periodU; else if (u < 0) u += periodU;
            if (v >= periodV) v -= periodV; else if (v < 0) v += periodV;
        }
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

template <DWORD Tile>
Footprint Locate(std::int64_t c, std::int32_t size) {
    const std::int64_t whole = static_cast<std::int64_t>(size) << 32;
    Footprint f;
    f.firstInside = f.secondInside = true;
    if (Tile == kTileMirror) {
        // Reflect the unshifted coordinate into [0, size), then shift back by half a texel; at
        // the seam both texels of the footprint are the edge texel, so the edge row repeats.
        std::int64_t m = Wrap(TessroAdd64(c, kHalf), 2 * whole);
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
        const std::int64_t m = Wrap(c, whole);
        f.first = Whole(m);
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

template <int Code, DWORD Tile, class Side = ColourSide>
void SmoothedSpan(TessroContext* context, BYTE* target, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    const TessroBitmapSource& b = Side::Source(draw);
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
    std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    const bool fourChannels = FourChannels(Code) || Code == kMaskCode;
    for (std::int32_t x = x0; x < x1; ++x) {
        const Footprint fu = Locate<Tile>(u, b.width), fv = Locate<Tile>(v, b.height);
        const auto read = [&](bool inU, std::int32_t iu, bool inV, std::int32_t iv) {
            return inU && inV ? Texel<Code>(b, iu, iv) : b.outside;
        };
        const DWORD t00 = read(fu.firstInside, fu.first, fv.firstInside, fv.first);
        const DWORD t10 = read(fu.secondInside, fu.second, fv.firstInside, fv.first);
        const DWORD t01 = read(fu.firstInside, fu.first, fv.secondInside, fv.second);
        const DWORD t11 = read(fu.secondInside, fu.second, fv.secondInside, fv.second);
        const DWORD colour = fourChannels ? Bilinear<true>(t00, t10, t01, t11, fu.weight, fv.weight)
                                          : Bilinear<false>(t00, t10, t01, t11, fu.weight, fv.weight);
        Side::Put(target, x, colour);
        u = TessroAdd64(u, g.rowStepU);
        v = TessroAdd64(v, g.rowStepV);
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
