// Nearest-texel bitmap fill spans: each pixel centre is mapped to a source column u and row v
// (32.32), tiled by the fill's tile style, and the texel is read as a 32-bit colour by the
// reader of the source format. The loop for a (tile style, source format) pair is chosen once
// per fill from the precompiled set; it writes 32-bit pixels, into the target on 32-bit
// targets and into the row buffer ahead of the converter on the others.
#include <cmath>
#include <cstring>

#include "raster/TessroBitmapSpans.h"
#include "raster/TessroGraduationSpans.h"

namespace {

const DWORD kTileClamp = 0, kTileOutside = 1, kTileRepeat = 2, kTileMirror = 3;
const DWORD kCodesPerTile = 13;
const DWORD kTileStylesPerGroup = 6;  // styles 4 and 5 have indices but no setter

inline const BYTE* Row(const TessroBitmapSource& b, std::int32_t v) {
    return b.bits + static_cast<std::ptrdiff_t>(v) * b.rowSize;
}

inline DWORD Widen5(DWORD i) { return (i << 3) | (i >> 2); }

inline DWORD Read32(const BYTE* p) {
    DWORD v;
    std::memcpy(&v, p, 4);
    return v;
}

// Texel readers by source format code.
template <int Code>
DWORD Texel(const TessroBitmapSource& b, std::int32_t u, std::int32_t v) {
    const BYTE* row = Row(b, v);
    const BYTE(&t)[4][256] = b.tables;  // red, green, blue, fourth
    switch (Code) {
        case 0: return b.palette[(row[u >> 3] >> (7 - (u & 7))) & 1];
        case 1: return b.palette[(u & 1) ? row[u >> 1] & 0xF : row[u >> 1] >> 4];
        case 2: return b.palette[row[u]];
        case 3:
        case 8: {
            const DWORD p = row[2 * u] | (row[2 * u + 1] << 8);
            const DWORD lo = Widen5(p & 31), mid = Widen5((p >> 5) & 31), hi = Widen5((p >> 10) & 31);
            if (Code == 8) return lo | (mid << 8) | (hi << 16);
            return t[0][lo] | (t[1][mid] << 8) | (t[2][hi] << 16);
        }
        case 4:
        case 5:
        case 7: {
            const BYTE* p = row + (Code == 4 ? 3 * u : 4 * u);
            const DWORD rgb = t[2][p[0]] | (t[1][p[1]] << 8) | (t[0][p[2]] << 16);
            return Code == 7 ? rgb | (static_cast<DWORD>(t[3][p[3]]) << 24) : rgb;
        }
        case 9: {
            const BYTE* p = row + 3 * u;
            return p[0] | (p[1] << 8) | (p[2] << 16);
        }
        case 10: return Read32(row + 4 * u) & 0x00FFFFFFu;
        case 12: return Read32(row + 4 * u);
        case 6:
        case 11: {
            // Subtractive inks: bytes 0..2 take away red, green and blue, byte 3 all three.
            const BYTE* p = row + 4 * u;
            const int k = Code == 6 ? t[3][p[3]] : p[3];
            const int c = Code == 6 ? t[0][p[0]] : p[0];
            const int m = Code == 6 ? t[1][p[1]] : p[1];
            const int y = Code == 6 ? t[2][p[2]] : p[2];
            const auto ink = [k](int x) { const int r = 255 - x - k; return static_cast<DWORD>(r < 0 ? 0 : r); };
            return ink(y) | (ink(m) << 8) | (ink(c) << 16);
        }
    }
    return 0;
}

// Integer part of a 32.32 coordinate.
inline std::int32_t Whole(std::int64_t c) { return TessroHigh32(c); }

// Brings a coordinate into [0, period) (a whole number of periods away).
inline std::int64_t Wrap(std::int64_t c, std::int64_t period) {
    c %= period;
    return c < 0 ? c + period : c;
}

template <int Code, DWORD Tile>
void Span(TessroContext* context, BYTE* target, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = draw.colour;
    const TessroBitmapSource& b = draw.bitmap;
    const std::int32_t w = b.width, h = b.height;
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
    std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    std::int64_t stepU = g.rowStepU, stepV = g.rowStepV;
    std::int64_t periodU = 0, periodV = 0;
    if (Tile == kTileRepeat || Tile == kTileMirror) {
        // The row-affine rows bring their own steps: reduced like the three-point ones, so no
        // step wraps more than once and no read leaves the source.
        TessroReduceBitmapSteps(context, &stepU, &stepV);
        const int shift = Tile == kTileMirror ? 33 : 32;
        periodU = static_cast<std::int64_t>(w) << shift;
        periodV = static_cast<std::int64_t>(h) << shift;
        u = Wrap(u, periodU);
        v = Wrap(v, periodV);
    }
    DWORD* out = reinterpret_cast<DWORD*>(target);
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
        std::memcpy(out + x, &colour, 4);
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
// the texel containing the point. Coordinates are limited before their integer conversion, so
// a pixel at the vanishing line reads an edge or tiled texel instead of converting a NaN.
const double kCoordinateLimit = 1073741824.0;  // 2^30

inline std::int64_t Nearest(double c) {
    if (!(c == c)) c = kCoordinateLimit;
    if (c > kCoordinateLimit) c = kCoordinateLimit;
    if (c < -kCoordinateLimit) c = -kCoordinateLimit;
    return static_cast<std::int64_t>(std::nearbyint(c));
}

inline std::int64_t Modulo(std::int64_t c, std::int64_t period) {
    const std::int64_t r = c % period;
    return r < 0 ? r + period : r;
}

template <DWORD Tile>
inline bool TileCoordinate(std::int64_t& c, std::int32_t size) {
    if (Tile == kTileClamp) {
        if (c < 0) c = 0;
        if (c >= size) c = size - 1;
    } else if (Tile == kTileOutside) {
        return c >= 0 && c < size;
    } else if (Tile == kTileRepeat) {
        c = Modulo(c, size);
    } else {
        c = Modulo(c, 2 * static_cast<std::int64_t>(size));
        if (c >= size) c = 2 * static_cast<std::int64_t>(size) - 1 - c;
    }
    return true;
}

template <int Code, DWORD Tile>
void PerspectiveSpan(TessroContext* context, BYTE* target, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = draw.colour;
    const TessroBitmapSource& b = draw.bitmap;
    const double qu = g.uX, qv = g.vX, pu = g.runU, pv = g.runV;
    const bool slanted = std::fabs(pu) > 1e-8;
    const double k = slanted ? pv / pu : 0.0, m = slanted ? qv - qu * k : 0.0;
    double w = g.runDen + x0;
    DWORD* out = reinterpret_cast<DWORD*>(target);
    for (std::int32_t x = x0; x < x1; ++x, w += 1.0) {
        double u, v;
        if (slanted) {
            u = pu / w + qu;
            v = u * k + m;
        } else {
            u = qu;
            v = pv / w + qv;
        }
        std::int64_t iu = Nearest(u), iv = Nearest(v);
        const bool insideU = TileCoordinate<Tile>(iu, b.width);
        const bool insideV = TileCoordinate<Tile>(iv, b.height);
        const DWORD colour = insideU && insideV ? Texel<Code>(b, static_cast<std::int32_t>(iu), static_cast<std::int32_t>(iv))
                                                : b.outside;
        std::memcpy(out + x, &colour, 4);
    }
}

template <DWORD Tile, bool Perspective, int Code>
TessroSpanFunc Pick() {
    return Perspective ? PerspectiveSpan<Code, Tile> : Span<Code, Tile>;
}

template <DWORD Tile, bool Perspective = false>
TessroSpanFunc ForCode(DWORD code) {
    switch (code) {
        case 0: return Pick<Tile, Perspective, 0>();
        case 1: return Pick<Tile, Perspective, 1>();
        case 2: return Pick<Tile, Perspective, 2>();
        case 3: return Pick<Tile, Perspective, 3>();
        case 4: return Pick<Tile, Perspective, 4>();
        case 5: return Pick<Tile, Perspective, 5>();
        case 6: return Pick<Tile, Perspective, 6>();
        case 7: return Pick<Tile, Perspective, 7>();
        case 8: return Pick<Tile, Perspective, 8>();
        case 9: return Pick<Tile, Perspective, 9>();
        case 10: return Pick<Tile, Perspective, 10>();
        case 11: return Pick<Tile, Perspective, 11>();
        default: return Pick<Tile, Perspective, 12>();
    }
}

// ---- Smoothed (bilinear) fills: three-point mapping only ----

const std::int64_t kHalf = static_cast<std::int64_t>(1) << 31;

// The smoothed rows start half a texel up and left, so that the integer parts name the upper
// left texel of the 2 x 2 footprint and the fractions weigh its neighbours.
void BeginSmoothed(TessroContext* context) {
    kTessroSquareDrivers[0].begin(context);
    TessroFillGeometry& g = context->draw.colour;
    g.rowU = TessroAdd64(g.rowU, -kHalf);
    g.rowV = TessroAdd64(g.rowV, -kHalf);
}

void RowEndSmoothed(TessroContext* context) { kTessroSquareDrivers[0].rowEnd(context); }

inline int Lerp(int a, int b, int f) { return a + TessroProduct(f, b - a); }

template <bool FourChannels>
DWORD Bilinear(DWORD t00, DWORD t10, DWORD t01, DWORD t11, int fu, int fv) {
    DWORD out = 0;
    for (int c = 0; c < (FourChannels ? 4 : 3); ++c) {
        const int shift = 8 * c;
        const int top = Lerp((t00 >> shift) & 0xFF, (t10 >> shift) & 0xFF, fu);
        const int bottom = Lerp((t01 >> shift) & 0xFF, (t11 >> shift) & 0xFF, fu);
        out |= static_cast<DWORD>(Lerp(top, bottom, fv) & 0xFF) << shift;
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

template <int Code, DWORD Tile>
void SmoothedSpan(TessroContext* context, BYTE* target, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = draw.colour;
    const TessroBitmapSource& b = draw.bitmap;
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
    std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    DWORD* out = reinterpret_cast<DWORD*>(target);
    const bool fourChannels = Code == 7 || Code == 12;
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
        std::memcpy(out + x, &colour, 4);
        u = TessroAdd64(u, g.rowStepU);
        v = TessroAdd64(v, g.rowStepV);
    }
}

template <DWORD Tile, int Code>
TessroSpanFunc PickSmoothed() {
    return SmoothedSpan<Code, Tile>;
}

template <DWORD Tile>
TessroSpanFunc SmoothedForCode(DWORD code) {
    switch (code) {
        case 0: return PickSmoothed<Tile, 0>();
        case 1: return PickSmoothed<Tile, 1>();
        case 2: return PickSmoothed<Tile, 2>();
        case 3: return PickSmoothed<Tile, 3>();
        case 4: return PickSmoothed<Tile, 4>();
        case 5: return PickSmoothed<Tile, 5>();
        case 6: return PickSmoothed<Tile, 6>();
        case 7: return PickSmoothed<Tile, 7>();
        case 8: return PickSmoothed<Tile, 8>();
        case 9: return PickSmoothed<Tile, 9>();
        case 10: return PickSmoothed<Tile, 10>();
        case 11: return PickSmoothed<Tile, 11>();
        default: return PickSmoothed<Tile, 12>();
    }
}

}  // namespace

const TessroRowDriver kTessroSmoothedBitmapDriver = {BeginSmoothed, TessroNoRow, RowEndSmoothed};

TessroFillIndexEntry TessroSmoothedBitmapFillEntry(DWORD offset) {
    const DWORD tile = offset / kCodesPerTile, code = offset % kCodesPerTile;
    if (tile >= kTileStylesPerGroup) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE};
    TessroSpanFunc span;
    switch (tile) {
        case kTileClamp: span = SmoothedForCode<kTileClamp>(code); break;
        case kTileOutside: span = SmoothedForCode<kTileOutside>(code); break;
        case kTileRepeat: span = SmoothedForCode<kTileRepeat>(code); break;
        case kTileMirror: span = SmoothedForCode<kTileMirror>(code); break;
        default: span = TessroNoSpan; break;
    }
    return {span, nullptr, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
}

TessroFillIndexEntry TessroBitmapFillEntry(DWORD offset, bool perspective) {
    const DWORD tile = offset / kCodesPerTile, code = offset % kCodesPerTile;
    if (tile >= kTileStylesPerGroup) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE};
    TessroSpanFunc span;
    switch (tile) {
        case kTileClamp: span = perspective ? ForCode<kTileClamp, true>(code) : ForCode<kTileClamp>(code); break;
        case kTileOutside: span = perspective ? ForCode<kTileOutside, true>(code) : ForCode<kTileOutside>(code); break;
        case kTileRepeat: span = perspective ? ForCode<kTileRepeat, true>(code) : ForCode<kTileRepeat>(code); break;
        case kTileMirror: span = perspective ? ForCode<kTileMirror, true>(code) : ForCode<kTileMirror>(code); break;
        default: span = TessroNoSpan; break;
    }
    return {span, nullptr, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
}
