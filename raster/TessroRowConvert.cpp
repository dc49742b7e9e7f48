// Row converters and colour stages. A converter lets the fill write 32-bit pixels into the
// row buffer and then stores them in the target's format, ordered-dithered against the dither
// origin; the stages rewrite 32-bit pixels in place after the link they follow.
#include <cstring>

#include "raster/TessroDrawInternal.h"

namespace {

// Bayer 4 x 4 thresholds: pixel (x, y) uses row (y + oy) mod 4, column (x - ox) mod 4.
const int kBayer[4][4] = {{0, 12, 3, 15}, {8, 4, 11, 7}, {2, 14, 1, 13}, {10, 6, 9, 5}};
const int kBayer2[2][2] = {{0, 3}, {2, 1}};

const DWORD kIndexGrey128 = 7;
const DWORD kIndexGrey192 = 8;
const DWORD kIndexWhite = 15;

int Threshold(const TessroContext* context, std::int32_t x, std::int32_t y) {
    return kBayer[(y + context->ditherOriginY) & 3][(x - context->ditherOriginX) & 3];
}

DWORD Blue(DWORD pixel) { return pixel & 0xFF; }
DWORD Green(DWORD pixel) { return (pixel >> 8) & 0xFF; }
DWORD Red(DWORD pixel) { return (pixel >> 16) & 0xFF; }

DWORD OneBit(const TessroContext* context, DWORD pixel, int b) {
    const DWORD level = (17 * (TessroGreySum(context, Red(pixel), Green(pixel), Blue(pixel)) >> 8)) >> 24;
    return static_cast<int>(level) > b ? 1 : 0;
}

DWORD FourBit(DWORD pixel, int b) {
    const int r = static_cast<int>(Red(pixel)), g = static_cast<int>(Green(pixel)),
              bl = static_cast<int>(Blue(pixel));
    const int limit = 8 * b + 4;
    if (r == g && g == bl) {
        if (r < 128) return r < limit ? 0 : kIndexGrey128;
        const int u = r - 128;
        if (u < 4 * b + 2) return kIndexGrey128;
        return u < 4 * b + 66 ? kIndexGrey192 : kIndexWhite;
    }
    int dominant;  // 0 red, 1 green, 2 blue
    if (r > g && r > bl) {
        dominant = 0;
    } else if ((r > g && bl >= r) || (g >= r && bl >= g)) {
        dominant = 2;
    } else {
        dominant = 1;
    }
    const int channels[3] = {r, g, bl};
    const int m = channels[dominant];
    if (m < 128) {
        return (r >= limit ? 1u : 0u) | (g >= limit ? 2u : 0u) | (bl >= limit ? 4u : 0u);
    }
    const int excess = m - 128;
    DWORD index = (excess >= limit ? 8u : 0u) | (1u << dominant);
    for (int c = 0; c < 3; ++c) {
        if (c != dominant && TessroReduceByExcess(channels[c], excess) >= limit) index |= 1u << c;
    }
    return index;
}

// Cube level of a channel value by Bayer value: min(5, (v + 51 - h) / 51) with
// h = ceil(51 (b + 0.5) / 16), tabulated once.
struct CubeLevels {
    BYTE level[16][256];
    CubeLevels() {
        for (int b = 0; b < 16; ++b) {
            const int h = (51 * (2 * b + 1) + 31) / 32;
            for (int v = 0; v < 256; ++v) {
                const int l = (v + 51 - h) / 51;
                level[b][v] = static_cast<BYTE>(l > 5 ? 5 : l);
            }
        }
    }
};

const CubeLevels& Levels() {
    static const CubeLevels levels;
    return levels;
}

DWORD CubeLevel(DWORD v, int b) { return Levels().level[b][v]; }

DWORD EightBitPalette(const TessroContext* context, DWORD pixel, int b) {
    const DWORD r = Red(pixel), g = Green(pixel), bl = Blue(pixel);
    const BYTE method = context->colourMatching;
    if (method > 2) return context->inverseTable[TessroInverseCell(r, g, bl)];
    if (method == 2 && r == g && g == bl) {
        return context->greyRamp[2 * r + (17 * (31 - 2 * b)) / 32];
    }
    return context->cubeMap[CubeLevel(r, b) + 6 * CubeLevel(g, b) + 36 * CubeLevel(bl, b)];
}

// 16-bit phase tables: per layout, phase (row * 2 + column) and channel, the field value
// already shifted into place.
struct Layout16 {
    int redBits, greenBits, blueBits;
    int redShift, greenShift;
};
const Layout16 kLayouts16[4] = {
    {5, 6, 5, 11, 5},
    {6, 5, 5, 10, 5},
    {5, 5, 5, 10, 5},
    {6, 6, 4, 10, 4},
};

DWORD Level16(DWORD v, int bits) {
    switch (bits) {
        case 5: return v * 124 / 253;
        case 6: return v * 252 / 254;
        default: return (v * 60 + 5) / 251;
    }
}

struct PhaseTables {
    WORD red[4][4][256];
    WORD green[4][4][256];
    WORD blue[4][4][256];
    PhaseTables() {
        for (int layout = 0; layout < 4; ++layout) {
            const Layout16& l = kLayouts16[layout];
            for (int phase = 0; phase < 4; ++phase) {
                const DWORD m = static_cast<DWORD>(kBayer2[phase >> 1][phase & 1]);
                const auto field = [m](DWORD v, int bits) {
                    const DWORD k = Level16(v, bits);
                    return k / 4 + ((k % 4) > m ? 1 : 0);
                };
                for (DWORD v = 0; v < 256; ++v) {
                    red[layout][phase][v] = static_cast<WORD>(field(v, l.redBits) << l.redShift);
                    green[layout][phase][v] = static_cast<WORD>(field(v, l.greenBits) << l.greenShift);
                    blue[layout][phase][v] = static_cast<WORD>(field(v, l.blueBits));
                }
            }
        }
    }
};

const PhaseTables& Phases() {
    static const PhaseTables tables;
    return tables;
}

DWORD SixteenBit(const TessroContext* context, DWORD layout, DWORD pixel, std::int32_t x, std::int32_t y) {
    const int phase = (((y + context->ditherOriginY) & 1) << 1) | ((x - context->ditherOriginX) & 1);
    const PhaseTables& t = Phases();
    return static_cast<DWORD>(t.red[layout][phase][Red(pixel)] | t.green[layout][phase][Green(pixel)] |
                              t.blue[layout][phase][Blue(pixel)]);
}

void FillRowBuffer(TessroContext* context, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.rowBufferFill(context, reinterpret_cast<BYTE*>(draw.rowBuffer), y, x0, x1);
}

void Convert1(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    FillRowBuffer(context, y, x0, x1);
    const DWORD* buffer = context->draw.rowBuffer;
    for (std::int32_t x = x0; x < x1; ++x) {
        const BYTE bit = static_cast<BYTE>(0x80u >> (x & 7));
        BYTE& target = row[x >> 3];
        target = OneBit(context, buffer[x], Threshold(context, x, y)) ? (target | bit) : (target & ~bit);
    }
}

void Convert4(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    FillRowBuffer(context, y, x0, x1);
    const DWORD* buffer = context->draw.rowBuffer;
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD index = FourBit(buffer[x], Threshold(context, x, y));
        BYTE& target = row[x >> 1];
        target = (x & 1) ? static_cast<BYTE>((target & 0xF0) | index)
                         : static_cast<BYTE>((target & 0x0F) | (index << 4));
    }
}

void Convert8Palette(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    FillRowBuffer(context, y, x0, x1);
    const DWORD* buffer = context->draw.rowBuffer;
    for (std::int32_t x = x0; x < x1; ++x) {
        row[x] = static_cast<BYTE>(EightBitPalette(context, buffer[x], Threshold(context, x, y)));
    }
}

void Convert8Grey(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    FillRowBuffer(context, y, x0, x1);
    const DWORD* buffer = context->draw.rowBuffer;
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD p = buffer[x];
        row[x] = static_cast<BYTE>(TessroGrey(context, Red(p), Green(p), Blue(p)));
    }
}

// One converter per 16-bit layout, so that the loop does not test the layout.
template <DWORD Layout>
void Convert16(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    FillRowBuffer(context, y, x0, x1);
    const DWORD* buffer = context->draw.rowBuffer;
    for (std::int32_t x = x0; x < x1; ++x) {
        const WORD v = static_cast<WORD>(SixteenBit(context, Layout, buffer[x], x, y));
        std::memcpy(row + 2 * x, &v, sizeof(v));
    }
}

template <int Plate>
void SeparationStage(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    context->draw.stageANext(context, row, y, x0, x1);
    for (std::int32_t x = x0; x < x1; ++x) {
        DWORD p;
        std::memcpy(&p, row + 4 * x, sizeof(p));
        p = TessroSeparatePixel(context, p, Plate);
        std::memcpy(row + 4 * x, &p, sizeof(p));
    }
}

void ColourMapStage(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    context->draw.stageBNext(context, row, y, x0, x1);
    for (std::int32_t x = x0; x < x1; ++x) {
        DWORD p;
        std::memcpy(&p, row + 4 * x, sizeof(p));
        p = TessroMapPixelColour(context, p);
        std::memcpy(row + 4 * x, &p, sizeof(p));
    }
}

}  // namespace

DWORD TessroConvertPixel(const TessroContext* context, DWORD pixel, std::int32_t x, std::int32_t y) {
    switch (context->targetFormat) {
        case kTessroFormat1: return OneBit(context, pixel, Threshold(context, x, y));
        case kTessroFormat4: return FourBit(pixel, Threshold(context, x, y));
        case kTessroFormat8Palette: return EightBitPalette(context, pixel, Threshold(context, x, y));
        case kTessroFormat8Grey: return TessroGrey(context, Red(pixel), Green(pixel), Blue(pixel));
        case kTessroFormat16: return SixteenBit(context, context->targetMode & 3, pixel, x, y);
        default: return pixel;
    }
}

TessroSpanFunc TessroRowConverter(DWORD format, DWORD layout) {
    switch (format) {
        case kTessroFormat1: return Convert1;
        case kTessroFormat4: return Convert4;
        case kTessroFormat8Palette: return Convert8Palette;
        case kTessroFormat8Grey: return Convert8Grey;
        case kTessroFormat16:
            switch (layout) {
                case 0: return Convert16<0>;
                case 1: return Convert16<1>;
                case 3: return Convert16<3>;
                default: return Convert16<2>;
            }
        default: return nullptr;
    }
}

TessroSpanFunc TessroSeparationStage(BYTE selector) {
    switch (selector & 3) {
        case 0: return SeparationStage<0>;
        case 1: return SeparationStage<1>;
        case 2: return SeparationStage<2>;
        default: return SeparationStage<3>;
    }
}

TessroSpanFunc TessroColourMapStage() { return ColourMapStage; }
