// Three-colour field spans: three colours at the anchors p0, p1, p2 blended by the pixel's
// weights w1 = u, w2 = v, w0 = 255 - u - v (fill units, 256 at the far anchors). Kinds differ
// outside the triangle: 0 takes the nearest edge's ramp or corner, 1 continues each edge's ramp
// parallel to the opposite median, 2 tiles the plane with triangles in a repeating pattern.
// Pixels are 32-bit (blue, green, red, 0), into the row buffer on targets below 32 bits.
#include <algorithm>
#include <cmath>

#include "raster/TessroGraduationSpans.h"
#include "raster/TessroTransparencyGenerators.h"

namespace {

const std::int64_t kFull = static_cast<std::int64_t>(255) << 32;
const std::int64_t kPeriod = 768;
const std::int64_t kCell = 256;

inline int P(int r, int d) { return TessroProduct(r, d); }
// Channel c (0 blue, 1 green, 2 red) of a 0x00BBGGRR colour.
inline int Channel(DWORD colour, int c) { return static_cast<int>((colour >> (16 - 8 * c)) & 0xFF); }
inline int Clamp255(std::int64_t w) { return static_cast<int>(w < 0 ? 0 : w > 255 ? 255 : w); }

// a + P[|b - a|][s], towards b.
inline int Ramp(int a, int b, int s) { return b >= a ? a + P(b - a, s) : a - P(a - b, s); }
// The midpoint of a and b moved by P[|a - b| / 2][d], towards a for positive d.
inline int Middle(int a, int b, int d) {
    const int mid = (a + b + 1) / 2, half = (a > b ? a - b : b - a) / 2;
    return a >= b ? mid + P(half, d) : mid - P(half, d);
}
// floor(w 256 / (256 - W)) for a weight w (32.32) beyond its edge, within 0..255.
inline int EdgeStep(std::int64_t w, std::int64_t beyond) {
    const std::int64_t s = (w >> 24) / (256 - beyond);
    return Clamp255(s);
}

int Inside(const DWORD* c, int ch, std::int64_t w0, std::int64_t w1, std::int64_t w2) {
    return (P(Channel(c[0], ch), static_cast<int>(w0)) + P(Channel(c[1], ch), static_cast<int>(w1)) +
            P(Channel(c[2], ch), static_cast<int>(w2))) & 0xFF;
}

int KindZero(const DWORD* c, int ch, std::int64_t u, std::int64_t v, std::int64_t w0) {
    const std::int64_t W0 = w0 >> 32, W1 = u >> 32, W2 = v >> 32;
    const int a0 = Channel(c[0], ch), a1 = Channel(c[1], ch), a2 = Channel(c[2], ch);
    if (W0 >= 0) {
        if (W1 >= 0) {
            if (W2 >= 0) return Inside(c, ch, W0, W1, W2);
            return Ramp(a0, a1, EdgeStep(u, W2));
        }
        if (W2 >= 0) return Ramp(a0, a2, EdgeStep(v, W1));
        return a0;
    }
    if (W1 >= 0) return W2 >= 0 ? Ramp(a1, a2, EdgeStep(v, W0)) : a1;
    return a2;
}

int KindOne(const DWORD* c, int ch, std::int64_t u, std::int64_t v, std::int64_t w0) {
    const std::int64_t W0 = w0 >> 32, W1 = u >> 32, W2 = v >> 32;
    const int a0 = Channel(c[0], ch), a1 = Channel(c[1], ch), a2 = Channel(c[2], ch);
    if (W0 >= 0 && W1 >= 0 && W2 >= 0) return Inside(c, ch, W0, W1, W2);
    if (W0 >= 0 && W1 < 0) return Middle(a0, a2, Clamp255(W0) - Clamp255(W2)) & 0xFF;
    if (W0 >= 0) return Middle(a0, a1, Clamp255(W0) - Clamp255(W1)) & 0xFF;
    return Middle(a1, a2, Clamp255(W1) - Clamp255(W2)) & 0xFF;
}

inline std::int64_t Reduce(std::int64_t value, std::int64_t period) {
    const std::int64_t r = value % period;
    return r < 0 ? r + period : r;
}

DWORD KindTwo(const DWORD* c, std::int64_t u, std::int64_t v) {
    const std::int64_t U = Reduce(u >> 32, kPeriod), V = Reduce(v >> 32, kPeriod);
    const int i = static_cast<int>(U / kCell), j = static_cast<int>(V / kCell);
    const int x = static_cast<int>(U % kCell), y = static_cast<int>(V % kCell);
    const int k = static_cast<int>(Reduce(i - j, 3));
    const DWORD ck = c[k], c1 = c[(k + 1) % 3], c2 = c[(k + 2) % 3];
    DWORD out = 0;
    for (int ch = 0; ch < 3; ++ch) {
        int value;
        if (x + y <= 255) {
            value = P(Channel(ck, ch), 255 - x - y) + P(Channel(c1, ch), x) + P(Channel(c2, ch), y);
        } else {
            value = P(Channel(c1, ch), 255 - y) + P(Channel(c2, ch), 255 - x) + P(Channel(ck, ch), x + y - 255);
        }
        out |= static_cast<DWORD>(value & 0xFF) << (8 * ch);
    }
    return out;
}

// The colour field writes whole pixels from its three colours; a transparency field writes
// one channel, its values standing in the blue byte of three colours, into the fourth byte.
struct ColourSide {
    static const int kChannels = 3;
    static const TessroFillGeometry& Geometry(const TessroDrawState& d) { return d.colour; }
    static void Values(const TessroDrawState& d, DWORD* out) { std::copy(d.fieldColours, d.fieldColours + 3, out); }
    static void Put(BYTE* row, std::int32_t x, DWORD pixel) { reinterpret_cast<DWORD*>(row)[x] = pixel; }
};
template <bool Or>
struct TransparencySide {
    static const int kChannels = 1;
    static const TessroFillGeometry& Geometry(const TessroDrawState& d) { return d.transparency; }
    static void Values(const TessroDrawState& d, DWORD* out) {
        for (int i = 0; i < 3; ++i) out[i] = static_cast<DWORD>(d.transparencyValues[i]) << 16;
    }
    static void Put(BYTE* row, std::int32_t x, DWORD pixel) { TessroPutTransparency<Or>(row, x, static_cast<BYTE>(pixel)); }
};

template <int Kind, class Side>
DWORD FieldPixel(const DWORD* colours, std::int64_t u, std::int64_t v, std::int64_t w0) {
    if (Kind == 2) return KindTwo(colours, u, v);
    DWORD pixel = 0;
    for (int ch = 0; ch < Side::kChannels; ++ch) {
        const int value = Kind == 0 ? KindZero(colours, ch, u, v, w0) : KindOne(colours, ch, u, v, w0);
        pixel |= static_cast<DWORD>(value) << (8 * ch);
    }
    return pixel;
}

template <int Kind, class Side = ColourSide>
void Span(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    DWORD colours[3];
    Side::Values(draw, colours);
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
    std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    for (std::int32_t x = x0; x < x1; ++x) {
        Side::Put(row, x, FieldPixel<Kind, Side>(colours, u, v, TessroAdd64(TessroAdd64(kFull, -u), -v)));
        u = TessroAdd64(u, g.rowStepU);
        v = TessroAdd64(v, g.rowStepV);
    }
}

// Perspective weights are whole numbers: W = Nearest(u), limited before the conversion so
// that a pixel near the vanishing line (or a NaN there) lands far beyond the triangle instead
// of in an undefined conversion.
const double kWeightLimit = 1048576.0;  // 2^20
inline std::int64_t WholeWeight(double w) {
    if (!(w == w)) w = kWeightLimit;
    if (w > kWeightLimit) w = kWeightLimit;
    if (w < -kWeightLimit) w = -kWeightLimit;
    return static_cast<std::int64_t>(std::nearbyint(w));
}

template <int Kind, class Side = ColourSide>
void PerspectiveSpan(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    DWORD colours[3];
    Side::Values(draw, colours);
    const double qu = g.uX, qv = g.vX, pu = g.runU, pv = g.runV;
    const bool slanted = std::fabs(pu) > 1e-8;
    const double k = slanted ? pv / pu : 0.0, m = slanted ? qv - qu * k : 0.0;
    double w = g.runDen + x0;
    for (std::int32_t x = x0; x < x1; ++x, w += 1.0) {
        double fu, fv;
        if (slanted) {
            fu = pu / w + qu;
            fv = fu * k + m;
        } else {
            fu = qu;
            fv = pv / w + qv;
        }
        // As 32.32 values with no fraction: the weight w taken with 8 fraction bits is 256 W.
        const std::int64_t W1 = WholeWeight(fu), W2 = WholeWeight(fv);
        const std::int64_t u = W1 * 4294967296ll, v = W2 * 4294967296ll, w0 = (255 - W1 - W2) * 4294967296ll;
        Side::Put(row, x, FieldPixel<Kind, Side>(colours, u, v, w0));
    }
}

template <int Kind, bool Or, bool Full>
TessroSpanFunc TransparencyLoop(bool perspective) {
    return perspective ? TessroGenerator<PerspectiveSpan<Kind, TransparencySide<Or>>, Full>
                       : TessroGenerator<Span<Kind, TransparencySide<Or>>, Full>;
}

template <bool Or, bool Full>
struct TransparencyLoops {
    static TessroSpanFunc Get(DWORD kind, bool perspective) {
        if (kind == 0) return TransparencyLoop<0, Or, Full>(perspective);
        return kind == 1 ? TransparencyLoop<1, Or, Full>(perspective) : TransparencyLoop<2, Or, Full>(perspective);
    }
};

}  // namespace

TessroSpanFunc TessroThreeValueTransparency(DWORD kind, bool perspective, bool full, bool orIng) {
    return TessroPickGenerator<TransparencyLoops>(full, orIng, kind, perspective);
}

TessroFillIndexEntry TessroThreeColourFillEntry(DWORD kind) {
    TessroSpanFunc span = kind == 0 ? Span<0> : kind == 1 ? Span<1> : Span<2>;
    return {span, nullptr, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
}

TessroFillIndexEntry TessroPerspectiveThreeColourFillEntry(DWORD kind) {
    TessroSpanFunc span = kind == 0 ? PerspectiveSpan<0> : kind == 1 ? PerspectiveSpan<1> : PerspectiveSpan<2>;
    return {span, nullptr, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
}
