// The per-pixel formulas of the ten blend modes of transparent fills on 32-bit targets, and
// the tables that the contrast, saturation and brightness modes read.
//
// A pixel word holds blue, green, red and a fourth byte (low to high). src is the fill's pixel,
// dst the target's; t is the fill's transparency (0 opaque .. 255), o = 255 - t, cov the
// antialiased coverage (1..255). On the premultiplied format (Pre) the fourth byte of dst is
// the pixel's transparency T and every colour channel stays within 0..255 - T.
//
// Every product of two channel values is one product-table lookup, P(r, d) = r * d / 255
// rounded. Modes 1, 2, 3, 4, 6 and 7 scale their change by the coverage inside their formula;
// modes 5, 8, 9 and 10 first turn the coverage into a transparency, 255 - P(cov, 255 - t), and
// then apply their whole-pixel formula.
#pragma once

#include <cstdint>

#include "raster/TessroInternal.h"

enum TessroBlendMode : int {
    kTessroBlendMix = 1,
    kTessroBlendMultiply = 2,
    kTessroBlendScreen = 3,
    kTessroBlendContrast = 4,
    kTessroBlendSaturation = 5,
    kTessroBlendLuminanceMultiply = 6,
    kTessroBlendLuminanceScreen = 7,
    kTessroBlendHardLight = 8,
    kTessroBlendBrightness = 9,
    kTessroBlendHue = 10,
};
const int kTessroLastBlendMode = kTessroBlendHue;

// ---- Tables ----
// Contrast curves for fill luminances 128..255, 256 bytes each: point-symmetric about 127.5
// (C[v] + C[255 - v] = 255), non-decreasing, the identity at 128, the step at 255, each
// steeper than the one before.
const int kTessroFirstContrastCurve = 128;
const BYTE* TessroContrastCurve(int luminance);

// Saturation factors by fill luminance: f = k0 + t * k1 in units of 2^-21, k0 at t = 0 and
// about 1 at t = 255.
const int kTessroSaturationShift = 21;
struct TessroSaturationFactor {
    std::int32_t k0;
    std::int32_t k1;
};
const TessroSaturationFactor* TessroSaturationFactors();  // 256 rows

// Brightness: floor((2^24 - 1) / m) for m = 1..255, 0 at 0; and t * (2^24 - 1) / 255.
const DWORD* TessroReciprocals();
inline DWORD TessroAmountScale(int t) { return static_cast<DWORD>(t) * 65793u; }

namespace tessro_blend {

inline int P(int r, int d) { return TessroProduct(r, d); }
inline int Channel(DWORD pixel, int c) { return static_cast<int>((pixel >> (8 * c)) & 0xFF); }
inline int Clamp(int v, int high) { return v < 0 ? 0 : v > high ? high : v; }
// Mean of the three channels, rounded to nearest.
inline int Mean(DWORD pixel) {
    const int s = Channel(pixel, 0) + Channel(pixel, 1) + Channel(pixel, 2);
    return (2 * s + 3) / 6;
}
// The weighted grey sum of a pixel (blue low), whose top byte is its luminance.
inline DWORD Weighted(const TessroContext* context, DWORD pixel) {
    return TessroGreySum(context, static_cast<DWORD>(Channel(pixel, 2)), static_cast<DWORD>(Channel(pixel, 1)),
                         static_cast<DWORD>(Channel(pixel, 0)));
}
inline int Luminance(const TessroContext* context, DWORD pixel) {
    return static_cast<int>(Weighted(context, pixel) >> kTessroGreyShift);
}
// Pixel word (blue low) and 0x00BBGGRR colour, both ways.
inline DWORD PixelToColour(DWORD pixel) {
    return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00u) | ((pixel & 0xFF) << 16);
}

// The three colour channels through op(value, channel), each clamped to 0..high; the fourth byte is top.
template <class Op>
DWORD PerChannel(DWORD dst, int high, DWORD top, Op op) {
    DWORD out = top << 24;
    for (int c = 0; c < 3; ++c) out |= static_cast<DWORD>(Clamp(op(Channel(dst, c), c), high)) << (8 * c);
    return out;
}

// Darkens by the multiplier k (255 leaves the pixel); on the premultiplied format the
// transparency is multiplied alike.
template <bool Pre>
DWORD MultiplyBy(DWORD dst, int k) {
    const int T = Channel(dst, 3);
    const int newT = Pre ? P(k, T) : T;
    return PerChannel(dst, 255 - (Pre ? newT : 0), static_cast<DWORD>(newT), [k](int d, int) { return P(k, d); });
}
// Lightens by k (0 leaves the pixel): d := P(255 - k, d) + k.
template <bool Pre>
DWORD ScreenBy(DWORD dst, int k) {
    const int T = Channel(dst, 3);
    const int newT = Pre ? P(255 - k, T) : T;
    return PerChannel(dst, 255 - (Pre ? newT : 0), static_cast<DWORD>(newT),
                      [k](int d, int) { return P(255 - k, d) + k; });
}
// Flattens towards mid-grey by r (255 leaves the pixel, 0 makes it 128).
template <bool Pre>
DWORD TowardsGrey(DWORD dst, int r) {
    const int T = Channel(dst, 3);
    const int newT = Pre ? P(r, T) : T;
    return PerChannel(dst, 255 - (Pre ? newT : 0), static_cast<DWORD>(newT),
                      [r](int d, int) { return 128 + P(r, d - 128); });
}

}  // namespace tessro_blend

// What the blends need of the fill's colour, worked out once per flat span or per pixel.
struct TessroBlendFill {
    DWORD pixel;
    DWORD weighted;  // grey weight sum; luminance = weighted >> 24
    int luminance;
    DWORD hsv;       // packed hue, saturation, value (hue mode)
};

template <int M>
TessroBlendFill TessroDescribeFill(const TessroContext* context, DWORD pixel) {
    TessroBlendFill fill{pixel, 0, 0, 0};
    if (M >= kTessroBlendContrast && M <= kTessroBlendBrightness) {
        fill.weighted = tessro_blend::Weighted(context, pixel);
        fill.luminance = static_cast<int>(fill.weighted >> kTessroGreyShift);
    }
    if (M == kTessroBlendHue) fill.hsv = RgbToHsv(tessro_blend::PixelToColour(pixel));
    return fill;
}

// One pixel, whole coverage: the fill over dst with transparency t.
template <int M, bool Pre>
DWORD TessroBlendPixel(const TessroContext* context, const TessroBlendFill& fill, DWORD dst, int t) {
    using namespace tessro_blend;
    const DWORD src = fill.pixel;
    const int o = 255 - t;
    const int T = Pre ? Channel(dst, 3) : 0;
    if constexpr (M == kTessroBlendMix || M == kTessroBlendMultiply || M == kTessroBlendScreen) {
        DWORD out = Pre ? 0 : dst & 0xFF000000u;
        int newT = T;
        if (Pre) {
            if (M == kTessroBlendMix) newT = P(t, T);
            if (M == kTessroBlendMultiply) newT = P(Mean(src) + P(t, 255 - Mean(src)), T);
            if (M == kTessroBlendScreen) newT = P(255 - P(o, Mean(src)), T);
        }
        for (int c = 0; c < 3; ++c) {
            const int s = Channel(src, c), d = Channel(dst, c);
            int v;
            if (M == kTessroBlendMix) {
                v = d + P(o, s - d);
            } else if (M == kTessroBlendMultiply) {
                const int q = s + P(t, 255 - s);
                v = Pre ? Clamp(P(q, d) + P(q / 2, T) - newT / 2, 255 - newT) : P(q, d);
            } else {
                const int k = P(o, s);
                v = Pre ? Clamp(255 - P(255 - k, 255 - d) + P((255 - k) / 2, T) - newT / 2, 255 - newT)
                        : d + P(k, 255 - d);
            }
            out |= static_cast<DWORD>(v) << (8 * c);
        }
        if (Pre) out |= static_cast<DWORD>(newT) << 24;
        return out;
    } else if constexpr (M == kTessroBlendContrast) {
        const int L = fill.luminance;
        if (L < 128) {
            const int r = t + 2 * P(o, L);
            return TowardsGrey<Pre>(dst, r > 255 ? 255 : r);
        }
        const BYTE* curve = TessroContrastCurve(L);
        if (!Pre) {
            return PerChannel(dst, 255, dst >> 24, [&](int d, int) { return P(t, d) + P(o, curve[d]); });
        }
        // The curve works on unpremultiplied values.
        const int a = 255 - T;
        if (a == 0) return dst;
        return PerChannel(dst, a, static_cast<DWORD>(T), [&](int d, int) {
            const int v = d < a ? d : a;
            const int e = P(a, curve[(255 * v + a / 2) / a]);
            return P(t, v) + P(o, e);
        });
    } else if constexpr (M == kTessroBlendSaturation) {
        const TessroSaturationFactor& k = TessroSaturationFactors()[fill.luminance];
        const std::int64_t f = k.k0 + static_cast<std::int64_t>(t) * k.k1;
        const int Ld = Luminance(context, dst);
        // Products shift arithmetically, rounding towards minus infinity.
        return PerChannel(dst, 255 - T, dst >> 24, [&](int d, int) {
            return Ld + static_cast<int>(((d - Ld) * f) >> kTessroSaturationShift);
        });
    } else if constexpr (M == kTessroBlendLuminanceMultiply) {
        return MultiplyBy<Pre>(dst, fill.luminance + P(t, 255 - fill.luminance));
    } else if constexpr (M == kTessroBlendLuminanceScreen) {
        return ScreenBy<Pre>(dst, P(o, fill.luminance));
    } else if constexpr (M == kTessroBlendHardLight) {
        // Below the middle the fill multiplies by twice its luminance, above it screens.
        const int L9 = static_cast<int>(fill.weighted >> (kTessroGreyShift - 1));
        if (L9 < 256) return MultiplyBy<Pre>(dst, L9 + P(t, 255 - L9));
        return ScreenBy<Pre>(dst, P(o, L9 - 256));
    } else if constexpr (M == kTessroBlendBrightness) {
        int k = P(o, fill.luminance);
        if (Pre) k = P(k, 255 - T);
        int m = Channel(dst, 0);
        if (Channel(dst, 1) > m) m = Channel(dst, 1);
        if (Channel(dst, 2) > m) m = Channel(dst, 2);
        if (m == 0) return PerChannel(dst, 255 - T, dst >> 24, [k](int, int) { return k; });
        const std::uint64_t s = static_cast<DWORD>(TessroReciprocals()[m] * static_cast<DWORD>(k) + TessroAmountScale(t));
        return PerChannel(dst, 255 - T, dst >> 24, [s](int d, int) {
            return static_cast<int>((static_cast<std::uint64_t>(d) * s + (1u << 23)) >> 24);
        });
    } else {
        static_assert(M == kTessroBlendHue, "blend modes 1..10");
        const int S = static_cast<int>((fill.hsv >> 16) & 0xFF);
        if (S == 0) return dst;  // a grey fill has no hue to give
        const DWORD hsv = RgbToHsv(PixelToColour(dst));
        const DWORD changed = TessroColourToPixel(HsvToRgb((hsv & 0xFFFF0000u) | (fill.hsv & 0xFFFF)));
        int weight = P(S, o);
        if (Pre) weight = P(weight, 255 - T);
        return PerChannel(dst, 255 - T, dst >> 24,
                          [&](int d, int c) { return d + P(weight, Channel(changed, c) - d); });
    }
}

// One pixel at coverage cov (1..255). Flat: the flat-colour writer of modes 2 and 3, which
// scales the full-coverage change rather than the opacity.
template <int M, bool Pre, bool Flat>
DWORD TessroBlendCoveredPixel(const TessroContext* context, const TessroBlendFill& fill, DWORD dst, int t,
                              int cov) {
    using namespace tessro_blend;
    const DWORD src = fill.pixel;
    const int o = 255 - t;
    const int T = Pre ? Channel(dst, 3) : 0;
    if constexpr (M == kTessroBlendMix) {
        const int oc = P(cov, o);
        DWORD out = Pre ? static_cast<DWORD>(P(255 - oc, T)) << 24 : dst & 0xFF000000u;
        for (int c = 0; c < 3; ++c) {
            const int d = Channel(dst, c);
            out |= static_cast<DWORD>(d + P(oc, Channel(src, c) - d)) << (8 * c);
        }
        return out;
    } else if constexpr (M == kTessroBlendMultiply || M == kTessroBlendScreen) {
        if (!Flat && cov >= 255) return TessroBlendPixel<M, Pre>(context, fill, dst, t);
        if (!Pre) {
            DWORD out = dst & 0xFF000000u;
            for (int c = 0; c < 3; ++c) {
                const int s = Channel(src, c), d = Channel(dst, c);
                const int v = M == kTessroBlendMultiply ? d - P(cov, P(P(o, 255 - s), d))
                                                        : d + P(cov, P(P(o, s), 255 - d));
                out |= static_cast<DWORD>(v) << (8 * c);
            }
            return out;
        }
        const int mean = Mean(src);
        const int m = P(cov, o);
        int e;
        if (M == kTessroBlendMultiply) {
            e = Flat ? P(cov, 255 - (mean + P(t, 255 - mean))) : P(m, 255 - mean);
        } else {
            e = Flat ? P(cov, P(o, mean)) : P(m, mean);
        }
        const int newT = P(255 - e, T);
        DWORD out = static_cast<DWORD>(newT) << 24;
        for (int c = 0; c < 3; ++c) {
            const int s = Channel(src, c), d = Channel(dst, c);
            int g;
            if (M == kTessroBlendMultiply) {
                g = Flat ? P(cov, 255 - (s + P(t, 255 - s))) : P(m, 255 - s);
            } else {
                g = Flat ? P(cov, P(o, s)) : P(m, s);
            }
            int v = P(255 - g, d) + P(255 - g, T / 2) - newT / 2;
            if (M == kTessroBlendScreen) v += g;
            out |= static_cast<DWORD>(Clamp(v, 255 - newT)) << (8 * c);
        }
        return out;
    } else if constexpr (M == kTessroBlendContrast) {
        const int L = fill.luminance;
        if (L < 128) return TowardsGrey<Pre>(dst, 255 - P(cov, P(255 - 2 * L, o)));
        const BYTE* curve = TessroContrastCurve(L);
        const int w = P(cov, o);
        if (!Pre) return PerChannel(dst, 255, dst >> 24, [&](int d, int) { return d + P(w, curve[d] - d); });
        const int a = 255 - T;
        if (a == 0) return dst;
        return PerChannel(dst, a, static_cast<DWORD>(T), [&](int d, int) {
            const int v = d < a ? d : a;
            return v + P(w, P(a, curve[(255 * v + a / 2) / a]) - v);
        });
    } else if constexpr (M == kTessroBlendLuminanceMultiply) {
        return MultiplyBy<Pre>(dst, 255 - P(cov, P(o, 255 - fill.luminance)));
    } else if constexpr (M == kTessroBlendLuminanceScreen) {
        return ScreenBy<Pre>(dst, P(cov, P(o, fill.luminance)));
    } else {
        // Saturation, hard light, brightness, hue: the coverage becomes a transparency.
        return TessroBlendPixel<M, Pre>(context, fill, dst, 255 - P(cov, 255 - t));
    }
}

// Whether the mode turns coverage into a transparency (a masked pixel then counts as fully
// transparent) rather than scaling inside its formula (a masked pixel is skipped).
constexpr bool TessroBlendUsesCoveragePass(int mode) {
    return mode == kTessroBlendSaturation || mode == kTessroBlendHardLight || mode == kTessroBlendBrightness ||
           mode == kTessroBlendHue;
}
