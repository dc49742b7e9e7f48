// Flat colours: the four-row pattern each colour setter prepares for the target format, the
// ordered-dither thresholds, alignment to the dither origin, and the other flat setters.
#include <cstring>

#include "raster/TessroInternal.h"

namespace {

// Threshold ranks by pattern cell: a cell is on at level k when k > M[row][column].
const int kM1[4][4] = {{0, 12, 3, 15}, {8, 4, 11, 7}, {2, 14, 1, 13}, {10, 6, 9, 5}};
const int kM4[4][4] = {{3, 15, 0, 12}, {11, 7, 8, 4}, {1, 13, 2, 14}, {9, 5, 10, 6}};
const int kM2[2][2] = {{0, 3}, {2, 1}};

// Cube-dither threshold 2 + round(3.2 x rank), by rank.
const int kCubeThresholds[16] = {2, 5, 8, 12, 15, 18, 21, 24, 28, 31, 34, 37, 40, 44, 47, 50};

// Indices of the standard sixteen colours.
const DWORD kIndexGrey128 = 7;
const DWORD kIndexGrey192 = 8;
const DWORD kIndexWhite = 15;
const DWORD kBrightBit = 8;

const DWORD kSolidBytes = 0x01010101u;
const DWORD kSolidNibbles = 0x11111111u;

// 16-bit layouts: bits of red, green, blue and their shifts, by layout 0..3.
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

const Layout16& LayoutOf(DWORD layout) { return kLayouts16[layout > 3 ? 2 : layout]; }

DWORD Pack16(const Layout16& layout, DWORD r, DWORD g, DWORD b) {
    return (r << layout.redShift) | (g << layout.greenShift) | b;
}

// Level of the 4-bit flat-colour dither, 0..48.
int Q(int v) { return v <= 128 ? (v + 4) / 8 : 16 + (v - 126) / 4; }

// The pixel of the 4-bit pattern cell whose threshold rank is m.
DWORD FourBitCell(int r, int g, int b, int m) {
    if (r == g && g == b) {
        const int level = Q(r);
        if (level <= 16) return level > m ? kIndexGrey128 : 0;
        if (level <= 32) return level - 16 > m ? kIndexGrey192 : kIndexGrey128;
        return level - 32 > m ? kIndexWhite : kIndexGrey192;
    }
    const int top = r > g ? (r > b ? r : b) : (g > b ? g : b);
    if (top <= 128) {
        return (Q(r) > m ? 1u : 0u) | (Q(g) > m ? 2u : 0u) | (Q(b) > m ? 4u : 0u);
    }
    const int excess = top - 128;
    DWORD pixel = Q(excess) > m ? kBrightBit : 0;
    if (r == top) {
        pixel |= 1 | (Q(TessroReduceByExcess(g, excess)) > m ? 2u : 0u) |
                 (Q(TessroReduceByExcess(b, excess)) > m ? 4u : 0u);
    } else if (g == top) {
        pixel |= 2 | (Q(TessroReduceByExcess(r, excess)) > m ? 1u : 0u) |
                 (Q(TessroReduceByExcess(b, excess)) > m ? 4u : 0u);
    } else {
        pixel |= 4 | (Q(TessroReduceByExcess(r, excess)) > m ? 1u : 0u) |
                 (Q(TessroReduceByExcess(g, excess)) > m ? 2u : 0u);
    }
    return pixel;
}

// The solid 4-bit index of the undithered match.
DWORD FourBitSolid(int r, int g, int b) {
    const auto bit = [](int v) { return v >= 64 ? 1u : 0u; };
    if (r >= 128 && g >= 128 && b >= 128) {
        const int sum = r + g + b;
        return sum < 480 ? kIndexGrey128 : sum < 672 ? kIndexGrey192 : kIndexWhite;
    }
    if (r == g && g == b) return r < 64 ? 0 : kIndexGrey128;
    int dominant;
    if (r > g && r > b) {
        dominant = 0;
    } else if (g >= r && g > b) {
        dominant = 1;
    } else {
        dominant = 2;
    }
    const int channels[3] = {r, g, b};
    const int top = channels[dominant];
    if (top < 128) return bit(r) | (bit(g) << 1) | (bit(b) << 2);
    const int excess = top - 128;
    DWORD pixel = (1u << dominant) | (bit(excess) ? kBrightBit : 0);
    for (int c = 0; c < 3; ++c) {
        if (c != dominant) pixel |= bit(TessroReduceByExcess(channels[c], excess)) << c;
    }
    return pixel;
}

// Pixel packers: computed cells (4 x 4) to the four stored row words, aligned to the dither
// origin: target pixel (x, y) shows cell (row (y + y0) mod 4, column (x - x0) mod 4).
typedef DWORD (*CellFunction)(const TessroContext* context, DWORD colour, int row, int column);

void Pack1(TessroContext* context, const int cells[4][4]) {
    for (int j = 0; j < 4; ++j) {
        const int row = (j + context->ditherOriginY) & 3;
        DWORD word = 0;
        for (int x = 0; x < 32; ++x) {
            const int column = (x - context->ditherOriginX) & 3;
            // Leftmost pixel in the top bit of the first byte.
            if (cells[row][column]) word |= 1u << ((x / 8) * 8 + 7 - (x % 8));
        }
        context->pattern[j] = word;
    }
}

void Pack4(TessroContext* context, const int cells[4][4]) {
    for (int j = 0; j < 4; ++j) {
        const int row = (j + context->ditherOriginY) & 3;
        DWORD word = 0;
        for (int x = 0; x < 8; ++x) {
            const int column = (x - context->ditherOriginX) & 3;
            // Leftmost pixel in the high half of the first byte.
            word |= static_cast<DWORD>(cells[row][column]) << ((x / 2) * 8 + ((x & 1) ? 0 : 4));
        }
        context->pattern[j] = word;
    }
}

void Pack8(TessroContext* context, const int cells[4][4]) {
    for (int j = 0; j < 4; ++j) {
        const int row = (j + context->ditherOriginY) & 3;
        DWORD word = 0;
        for (int x = 0; x < 4; ++x) {
            const int column = (x - context->ditherOriginX) & 3;
            word |= static_cast<DWORD>(cells[row][column]) << (8 * x);
        }
        context->pattern[j] = word;
    }
}

void SetSolid(TessroContext* context, DWORD word) {
    for (DWORD& row : context->pattern) row = word;
}

void BuildFormat1(TessroContext* context, DWORD r, DWORD g, DWORD b) {
    const DWORD level = (17 * (TessroGreySum(context, r, g, b) >> 8)) >> 24;
    int cells[4][4];
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            cells[row][column] = static_cast<int>(level) > kM1[row][column] ? 1 : 0;
    Pack1(context, cells);
}

void BuildFormat4(TessroContext* context, DWORD r, DWORD g, DWORD b) {
    int cells[4][4];
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            cells[row][column] = static_cast<int>(FourBitCell(r, g, b, kM4[row][column]));
    Pack4(context, cells);
}

DWORD CubeLevel(DWORD v, int threshold) {
    DWORD level = 0;
    for (int j = 0; j < 5; ++j) {
        if (static_cast<int>(v) >= 51 * j + threshold) ++level;
    }
    return level;
}

void BuildFormat8Palette(TessroContext* context, DWORD r, DWORD g, DWORD b) {
    const BYTE method = context->colourMatching;
    if (method >= 4) {
        SetSolid(context, context->inverseTable[TessroInverseCell(r, g, b)] * kSolidBytes);
        return;
    }
    int cells[4][4];
    if ((method == 2 || method == 3) && r == g && g == b) {
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                cells[row][column] =
                    static_cast<int>((context->greyDitherRows[row][r] >> (8 * column)) & 0xFF);
    } else {
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                const int t = kCubeThresholds[kM1[row][column]];
                const DWORD cube = CubeLevel(r, t) + 6 * CubeLevel(g, t) + 36 * CubeLevel(b, t);
                cells[row][column] = context->cubeMap[cube];
            }
        }
    }
    Pack8(context, cells);
}

DWORD Level16(DWORD v, int bits) {
    switch (bits) {
        case 5: return v * 124 / 253;
        case 6: return v * 252 / 254;
        default: return (v * 60 + 5) / 251;
    }
}

void BuildFormat16(TessroContext* context, DWORD r, DWORD g, DWORD b) {
    const Layout16& layout = LayoutOf(context->targetMode);
    const DWORD kr = Level16(r, layout.redBits), kg = Level16(g, layout.greenBits),
                kb = Level16(b, layout.blueBits);
    DWORD cells[2][2];
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const DWORD m = kM2[row][column];
            cells[row][column] = Pack16(layout, kr / 4 + ((kr % 4) > m ? 1 : 0),
                                        kg / 4 + ((kg % 4) > m ? 1 : 0),
                                        kb / 4 + ((kb % 4) > m ? 1 : 0));
        }
    }
    for (int j = 0; j < 4; ++j) {
        const int row = (j + context->ditherOriginY) & 1;
        const int first = (0 - context->ditherOriginX) & 1;
        context->pattern[j] = cells[row][first] | (cells[row][first ^ 1] << 16);
    }
}

// The pattern of colour for the target format; 2-bit targets have none.
void BuildPattern(TessroContext* context, DWORD colour) {
    const DWORD r = TessroRed(colour), g = TessroGreen(colour), b = TessroBlue(colour);
    switch (context->targetFormat) {
        case kTessroFormat1: BuildFormat1(context, r, g, b); break;
        case kTessroFormat4: BuildFormat4(context, r, g, b); break;
        case kTessroFormat8Palette: BuildFormat8Palette(context, r, g, b); break;
        case kTessroFormat8Grey: SetSolid(context, TessroGrey(context, r, g, b) * kSolidBytes); break;
        case kTessroFormat16: BuildFormat16(context, r, g, b); break;
        case kTessroFormat32:
        case kTessroFormat32Alpha: SetSolid(context, TessroColourToPixel(colour)); break;
        default: TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
    }
}

bool Is32Bit(const TessroContext* context) {
    return context->targetFormat == kTessroFormat32 || context->targetFormat == kTessroFormat32Alpha;
}

DWORD Round16(DWORD v, int bits) { return (v * ((1u << bits) - 1) + 127) / 255; }

DWORD Widen16(DWORD n, int bits) {
    switch (bits) {
        case 5: return n * 8 + n / 4;
        case 6: return n * 4 + n / 16;
        default: return n * 17;
    }
}

DWORD UnditheredPixel32(const TessroContext* context, DWORD colour, DWORD depth, DWORD layoutCode) {
    const DWORD r = TessroRed(colour), g = TessroGreen(colour), b = TessroBlue(colour);
    switch (depth) {
        case 1: return TessroGreySum(context, r, g, b) >= 0x80000000u ? 0x00FFFFFFu : 0;
        case 4: {
            const DWORD c = kTessroSixteenColours[FourBitSolid(r, g, b)];
            return TessroColourToPixel(c);
        }
        case 8: {
            const PALETTEENTRY& e =
                context->palette.palPalEntry[context->inverseTable[TessroInverseCell(r, g, b)]];
            return (static_cast<DWORD>(e.peRed) << 16) | (static_cast<DWORD>(e.peGreen) << 8) |
                   e.peBlue | (static_cast<DWORD>(e.peFlags) << 24);
        }
        case 16: {
            const Layout16& layout = LayoutOf(layoutCode);
            const DWORD wr = Widen16(Round16(r, layout.redBits), layout.redBits);
            const DWORD wg = Widen16(Round16(g, layout.greenBits), layout.greenBits);
            const DWORD wb = Widen16(Round16(b, layout.blueBits), layout.blueBits);
            return wb | (wg << 8) | (wr << 16);
        }
        default: return TessroColourToPixel(colour);
    }
}

// Fill-style code and whether the amount replaces the colour's top byte, by transparency type.
struct TransparencyStyle {
    BYTE fillStyle;
    bool amountOnTop;
};
const TransparencyStyle kTransparencyStyles[37] = {
    {2, false},  {4, false},  {6, false},  {8, false},  {4, true},   {6, true},   {8, true},
    {5, false},  {7, false},  {9, false},  {26, true},  {27, true},  {28, false}, {10, false},
    {10, true},  {11, false}, {12, false}, {12, true},  {13, false}, {14, false}, {14, true},
    {15, false}, {16, false}, {16, true},  {17, false}, {18, false}, {18, true},  {19, false},
    {20, false}, {20, true},  {21, false}, {22, false}, {22, true},  {23, false}, {24, false},
    {24, true},  {25, false},
};

}  // namespace

const DWORD kTessroSixteenColours[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

void TessroSetColourInternal(TessroContext* context, DWORD colour) {
    if (colour != context->rememberedColour) {
        // A 2-bit target fails before anything is remembered, so a retry after a target change
        // still builds.
        if (context->targetFormat == kTessroFormat2) TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
        context->rememberedColour = colour;
        BuildPattern(context, colour);
    }
    context->fillStyle = kTessroFillFlat;
}

int TessroSetColour(TessroContext* context, DWORD colour) {
    return TessroEntry(context, [&] {
        TessroSetColourInternal(context, colour);
        return 0;
    });
}

int TessroSetUnditheredColour(TessroContext* context, DWORD colour, DWORD depth, DWORD layout) {
    return TessroEntry(context, [&] {
        const DWORD r = TessroRed(colour), g = TessroGreen(colour), b = TessroBlue(colour);
        DWORD word = 0;
        switch (context->targetFormat) {
            case kTessroFormat1:
                word = TessroGreySum(context, r, g, b) >= 0x80000000u ? 0xFFFFFFFFu : 0;
                break;
            case kTessroFormat4: word = FourBitSolid(r, g, b) * kSolidNibbles; break;
            case kTessroFormat8Palette:
                word = context->inverseTable[TessroInverseCell(r, g, b)] * kSolidBytes;
                break;
            case kTessroFormat8Grey: word = TessroGrey(context, r, g, b) * kSolidBytes; break;
            case kTessroFormat16: {
                const Layout16& l = LayoutOf(context->targetMode);
                const DWORD pixel = Pack16(l, Round16(r, l.redBits), Round16(g, l.greenBits),
                                           Round16(b, l.blueBits));
                word = pixel | (pixel << 16);
                break;
            }
            case kTessroFormat32:
            case kTessroFormat32Alpha: word = UnditheredPixel32(context, colour, depth, layout); break;
            default: TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
        }
        SetSolid(context, word);
        context->rememberedColour = TESSRO_MAGIC;
        context->fillStyle = kTessroFillFlat;
        return 0;
    });
}

int TessroSetRawColour(TessroContext* context, DWORD word) {
    return TessroEntry(context, [&] {
        SetSolid(context, word);
        context->rememberedColour = TESSRO_MAGIC;
        context->fillStyle = kTessroFillFlat;
        return 0;
    });
}

int TessroSetTransparentColour(TessroContext* context, DWORD colour, DWORD style) {
    return TessroEntry(context, [&] {
        if (!Is32Bit(context)) {
            TessroSetColourInternal(context, colour);
            return 0;
        }
        const DWORD type = style & 0xFF;
        if (type >= sizeof(kTransparencyStyles) / sizeof(kTransparencyStyles[0])) {
            TessroFail(TESSRO_ERROR_BAD_TRANSPARENCY_STYLE);
        }
        const TransparencyStyle& entry = kTransparencyStyles[type];
        context->transparencyType = type;
        DWORD remembered = colour;
        if (entry.amountOnTop) remembered = (colour & 0x00FFFFFFu) | ((style & 0xFF00u) << 16);
        context->rememberedColour = remembered;
        SetSolid(context, TessroColourToPixel(remembered));
        context->fillStyle = entry.fillStyle;
        return 0;
    });
}

int TessroSetXorColour(TessroContext* context, DWORD word) {
    return TessroEntry(context, [&] {
        context->rememberedColour = word;
        context->fillStyle = kTessroFillXor;
        return 0;
    });
}

int TessroSetCombinationTable(TessroContext* context, const BYTE* table) {
    return TessroEntry(context, [&] {
        context->combinationTable = table;
        return 0;
    });
}

const DWORD* TessroGetExpandedPattern(TessroContext* context) {
    if (!TessroIsValid(context) || !context->hasTarget) return nullptr;
    const int result = TessroEntry(context, [&] {
        int wordsPerRow = 1;
        switch (context->targetFormat) {
            case kTessroFormat1:
            case kTessroFormat4: wordsPerRow = 1; break;
            case kTessroFormat8Palette:
            case kTessroFormat8Grey: wordsPerRow = 2; break;
            case kTessroFormat16: wordsPerRow = 4; break;
            case kTessroFormat32:
            case kTessroFormat32Alpha: wordsPerRow = 8; break;
            default: TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
        }
        const DWORD mask = wordsPerRow == 8 ? 0x00FFFFFFu : 0xFFFFFFFFu;
        for (int row = 0; row < 8; ++row) {
            for (int w = 0; w < wordsPerRow; ++w) {
                context->expandedPattern[row * wordsPerRow + w] = context->pattern[row & 3] & mask;
            }
        }
        return 0;
    });
    return result == 0 ? context->expandedPattern : nullptr;
}
