// Tables computed by rule and their setters: the product table, the grey weights, the
// separation plates and curves, the colour map, and the transfer curves of the shading fills.
#include "raster/TessroInternal.h"

namespace {

// ---- Product table: P(c, d) = c * d / 255 rounded to nearest (never exactly a half) ----
constexpr TessroProductTable BuildProducts() {
    TessroProductTable table{};
    for (int c = 0; c < 256; ++c) {
        for (int d = -255; d <= 255; ++d) {
            const int n = c * d;
            const int rounded = n >= 0 ? (2 * n + 255) / 510 : -((-2 * n + 255) / 510);
            table.rows[c][d + 255] = static_cast<std::int16_t>(rounded);
        }
    }
    return table;
}

// ---- Built-in transfer curves ----
// Darkening: black below 32, a gentle quadratic toe to 26 at 120, the quoted knee 120..127, then
// a quadratic rise that reaches 255 at 255 without ever passing the identity.
// Lightening: three levels per step from the bottom, clipped at white.
struct TransferCurves {
    BYTE darkening[256];
    BYTE lightening[256];
    TransferCurves() {
        static const BYTE kKnee[8] = {26, 27, 28, 28, 29, 30, 30, 31};
        for (int i = 0; i < 256; ++i) {
            int d;
            if (i < 32) {
                d = 0;
            } else if (i < 120) {
                const int t = i - 31;  // 26 x (t / 89)^2, rounded
                d = (2 * 26 * t * t + 7921) / (2 * 7921);
            } else if (i < 128) {
                d = kKnee[i - 120];
            } else {
                const int t = i - 127;  // 31 + 0.7 t + (134.4 / 16384) t^2, rounded
                d = 31 + (2 * (114688 * t + 1344 * t * t) + 163840) / 327680;
            }
            darkening[i] = static_cast<BYTE>(d);
            const int l = i == 0 ? 0 : 3 * i - 1;
            lightening[i] = static_cast<BYTE>(l > 255 ? 255 : l);
        }
    }
};

const TransferCurves& Curves() {
    static const TransferCurves curves;
    return curves;
}

// ---- Default separation plates and curves ----
const int kCurveLow = -1025;
const int kCurveHigh = 1279;

struct DefaultSeparation {
    DWORD cyan[256], magenta[256], yellow[256], black[256];
    BYTE curve[kCurveHigh - kCurveLow + 1];
    DefaultSeparation() {
        for (DWORD i = 0; i < 256; ++i) {
            const DWORD v = 255 - i;
            // Pixels: blue in the low byte, then green, red.
            cyan[i] = 0xFF | (0xFF << 8) | (v << 16);
            magenta[i] = 0xFF | (v << 8) | (0xFF << 16);
            yellow[i] = v | (0xFF << 8) | (0xFF << 16);
            black[i] = v | (v << 8) | (v << 16);
        }
        for (int v = kCurveLow; v <= kCurveHigh; ++v) {
            curve[v - kCurveLow] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
    }
};

const DefaultSeparation& Separation() {
    static const DefaultSeparation tables;
    return tables;
}

DWORD StrengthOf(DWORD strength) { return strength >= 256 ? 128 : strength; }

}  // namespace

// Constant data, built by the compiler: ready before any code runs.
constexpr TessroProductTable kTessroProducts = BuildProducts();

const BYTE* TessroDarkeningCurve() { return Curves().darkening; }
const BYTE* TessroLighteningCurve() { return Curves().lightening; }

void TessroBuildDarkening(TessroContext* context, DWORD strength) {
    const int v = static_cast<int>(strength);
    const BYTE* curve = Curves().darkening;
    for (int i = 0; i < 256; ++i) {
        context->darkening[i] = (i - TessroProduct(255 - v, curve[i])) * kTessroTransferScale;
    }
}

void TessroBuildLightening(TessroContext* context, DWORD strength) {
    const int v = static_cast<int>(strength);
    const BYTE* curve = Curves().lightening;
    for (int i = 0; i < 256; ++i) {
        context->lightening[i] = (TessroProduct(255 - v, curve[i]) + v - i) * kTessroTransferScale;
    }
}

void TessroSetDefaultLookupTables(TessroContext* context) {
    const DefaultSeparation& d = Separation();
    context->plateCyan = d.cyan;
    context->plateMagenta = d.magenta;
    context->plateYellow = d.yellow;
    context->plateBlack = d.black;
    context->underColourRemoval = d.curve - kCurveLow;
    context->blackGeneration = d.curve - kCurveLow;
}

void TessroBuildGreyWeights(TessroContext* context, DWORD red, DWORD green, DWORD blue) {
    const std::uint64_t sum = static_cast<std::uint64_t>(red) + green + blue;
    const std::uint64_t unit = 0x01010101u;
    const DWORD stepRed = static_cast<DWORD>(red * unit / sum);
    const DWORD stepGreen = static_cast<DWORD>(green * unit / sum);
    const DWORD stepBlue = static_cast<DWORD>(blue * unit / sum);
    for (DWORD i = 0; i < 256; ++i) {
        context->greyRed[i] = i * stepRed;
        context->greyGreen[i] = i * stepGreen;
        context->greyBlue[i] = i * stepBlue;
    }
}

DWORD TessroSeparatePixel(const TessroContext* context, DWORD pixel, int plate) {
    const int blue = pixel & 0xFF, green = (pixel >> 8) & 0xFF, red = (pixel >> 16) & 0xFF;
    const int max = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
    const DWORD top = pixel & 0xFF000000u;
    if (plate == 3) return (context->plateBlack[context->blackGeneration[255 - max]] & 0x00FFFFFFu) | top;
    const int channel = plate == 0 ? red : plate == 1 ? green : blue;
    const DWORD* table =
        plate == 0 ? context->plateCyan : plate == 1 ? context->plateMagenta : context->plateYellow;
    int amount = 255 - (channel + context->underColourRemoval[255 - max]);
    if (amount < 0) amount = 0;
    return (table[amount] & 0x00FFFFFFu) | top;
}

DWORD TessroMapPixelColour(const TessroContext* context, DWORD pixel) {
    const DWORD blue = pixel & 0xFF, green = (pixel >> 8) & 0xFF, red = (pixel >> 16) & 0xFF;
    const DWORD cell =
        (TessroLevel5(blue) << 10) | (TessroLevel5(green) << 5) | TessroLevel5(red);
    return (context->colourMap[cell] & 0x00FFFFFFu) | (pixel & 0xFF000000u);
}

int TessroSetGreyWeights(TessroContext* context, DWORD red, DWORD green, DWORD blue) {
    return TessroEntry(context, [&] {
        // A zero sum divides by nothing; a sum past 32 bits has no meaning as a weight.
        const std::uint64_t sum = static_cast<std::uint64_t>(red) + green + blue;
        if (sum == 0 || sum > 0xFFFFFFFFu) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        TessroBuildGreyWeights(context, red, green, blue);
        return 0;
    });
}

int TessroSetLookupTables(TessroContext* context, const DWORD* cyan, const DWORD* magenta,
                          const DWORD* yellow, const DWORD* black,
                          const BYTE* underColourRemoval, const BYTE* blackGeneration) {
    return TessroEntry(context, [&] {
        const DefaultSeparation& d = Separation();
        context->plateCyan = cyan ? cyan : d.cyan;
        context->plateMagenta = magenta ? magenta : d.magenta;
        context->plateYellow = yellow ? yellow : d.yellow;
        context->plateBlack = black ? black : d.black;
        context->underColourRemoval = underColourRemoval ? underColourRemoval : d.curve - kCurveLow;
        context->blackGeneration = blackGeneration ? blackGeneration : d.curve - kCurveLow;
        return 0;
    });
}

int TessroSetColourMapTable(TessroContext* context, const DWORD* table) {
    return TessroEntry(context, [&] {
        if (table == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        context->colourMap = table;
        return 0;
    });
}

int TessroSetTransferCurves(TessroContext* context, DWORD strength) {
    return TessroEntry(context, [&] {
        TessroBuildDarkening(context, StrengthOf(strength));
        TessroBuildLightening(context, StrengthOf(strength));
        return 0;
    });
}

int TessroSetDarkeningCurve(TessroContext* context, DWORD strength) {
    return TessroEntry(context, [&] {
        TessroBuildDarkening(context, StrengthOf(strength));
        return 0;
    });
}

int TessroSetLighteningCurve(TessroContext* context, DWORD strength) {
    return TessroEntry(context, [&] {
        TessroBuildLightening(context, StrengthOf(strength));
        return 0;
    });
}

int TessroShadeValue(TessroContext* context, DWORD amount, DWORD value) {
    return TessroEntry(context, [&] {
        return TessroShade(context, static_cast<int>(amount & 0xFF), static_cast<int>(value & 0xFF));
    });
}
