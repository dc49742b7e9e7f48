// Tables of the blend modes, computed once by rule: the contrast curves, the saturation
// factors and the brightness reciprocals.
#include "raster/TessroBlendModes.h"

#include <cmath>

namespace {

const int kContrastCurves = 128;
const int kLastContrastCurve = 255;

// Key curves of the contrast family: the lower half of each is 127.5 - A (127.5 - v)^p,
// raised by 3/4 and floored, clipped at black; the upper half mirrors it. The exponent falls
// and the gain rises with the fill's luminance, so each key is steeper than the one before:
// from the identity (p = 1, A = 1) to a curve that leaves only the two middle steps between
// black and white. The curves between two keys blend them linearly.
struct ContrastKey {
    int luminance;
    double exponent;
    double gain;
};
const ContrastKey kContrastKeys[] = {
    {128, 1.0, 1.0}, {160, 0.72, 4.42}, {192, 0.487, 16.71}, {224, 0.242, 55.15}, {254, 0.1, 135.85},
};
const int kContrastKeyCount = sizeof(kContrastKeys) / sizeof(kContrastKeys[0]);

struct ContrastCurves {
    BYTE curves[kContrastCurves][256];
    ContrastCurves() {
        int lower[kContrastKeyCount][128];
        for (int k = 0; k < kContrastKeyCount; ++k) {
            for (int v = 0; v < 128; ++v) {
                const double value =
                    128.25 - kContrastKeys[k].gain * std::pow(127.5 - v, kContrastKeys[k].exponent);
                const int c = static_cast<int>(std::floor(value));
                lower[k][v] = c < 0 ? 0 : c > 127 ? 127 : c;
            }
        }
        for (int k = 0; k + 1 < kContrastKeyCount; ++k) {
            const int a = kContrastKeys[k].luminance, b = kContrastKeys[k + 1].luminance;
            for (int L = a; L <= b; ++L) {
                for (int v = 0; v < 128; ++v) {
                    // Rounded to nearest, so that every curve differs from its neighbours.
                    const int mixed = (2 * (lower[k][v] * (b - L) + lower[k + 1][v] * (L - a)) + (b - a)) / (2 * (b - a));
                    Set(L, v, mixed);
                }
            }
        }
        for (int v = 0; v < 128; ++v) Set(kLastContrastCurve, v, 0);  // the step
    }
    void Set(int L, int v, int value) {
        BYTE* curve = curves[L - kTessroFirstContrastCurve];
        curve[v] = static_cast<BYTE>(value);
        curve[255 - v] = static_cast<BYTE>(255 - value);
    }
};

const ContrastCurves& Curves() {
    static const ContrastCurves curves;
    return curves;
}

// k0 rises linearly to 256/255 (in units of 2^21) at luminance 127; from 128 it follows the
// convex quadratic 256/255 (1 + 2u/255 + 256 u^2 / (255 * 127^2)), u = L - 128, which reaches
// three times that at 255. k1 brings f to about 1 at t = 255.
const std::int64_t kNeutral = 2105376;  // k0 of luminance 127: 256/255 in units of 2^21

struct SaturationFactors {
    TessroSaturationFactor rows[256];
    SaturationFactors() {
        const std::int64_t one = std::int64_t(1) << 29;  // 2^21 x 256
        for (int L = 0; L < 256; ++L) {
            std::int64_t k0;
            if (L < 128) {
                const std::int64_t d = 255 * 127;
                k0 = (L * one + d / 2) / d;
            } else {
                const std::int64_t u = L - 128;
                const std::int64_t n = 255 * 16129 + 2 * u * 16129 + 256 * u * u;
                const std::int64_t d = std::int64_t(255) * 255 * 16129;
                k0 = (one * n + d / 2) / d;
            }
            rows[L].k0 = static_cast<std::int32_t>(k0);
            // floor(x + 1/2) of (2,105,376 - k0) / 256, for either sign.
            const std::int64_t diff = kNeutral - k0 + 128;
            rows[L].k1 = static_cast<std::int32_t>(diff >= 0 ? diff / 256 : -((-diff + 255) / 256));
        }
    }
};

const SaturationFactors& Factors() {
    static const SaturationFactors factors;
    return factors;
}

struct Reciprocals {
    DWORD values[256];
    Reciprocals() {
        values[0] = 0;
        for (DWORD m = 1; m < 256; ++m) values[m] = 0xFFFFFFu / m;
    }
};

}  // namespace

const BYTE* TessroContrastCurve(int luminance) {
    return Curves().curves[luminance - kTessroFirstContrastCurve];
}

const TessroSaturationFactor* TessroSaturationFactors() { return Factors().rows; }

const DWORD* TessroReciprocals() {
    static const Reciprocals table;
    return table.values;
}
