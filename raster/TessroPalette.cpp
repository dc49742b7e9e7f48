// Palettes: the two built-in palettes, the tables derived from the drawing palette (cube map,
// grey ramp and grey dither rows, component tables, inverse-colour table), colour matching and
// the dither origin.
#include <cstring>

#include "raster/TessroInternal.h"

namespace {

// The built-in 256-entry palette as 0xRRGGBB: the twenty static system colours at 0..9 and
// 246..255, all 216 cube colours and the 31 built-in greys.
const DWORD kBuiltInRgb[256] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0xC0DCC0, 0xA6CAF0, 0x888888, 0xE6FFE6, 0xFFFFEE, 0xFFE6E6, 0xFFFFE6, 0x3C3C3C,
    0xCCCCCC, 0x33CCCC, 0xCC33CC, 0x3333CC, 0xCCCC33, 0x33CC33, 0xCC3333, 0x333333,
    0x2B2B2B, 0x919191, 0xEEEEEE, 0x4D4D4D, 0xB3B3B3, 0x111111, 0x6F6F6F, 0xD5D5D5,
    0x333300, 0xCC3300, 0x33CC00, 0xCCCC00, 0x3333FF, 0xCC33FF, 0x33CCFF, 0xCCCCFF,
    0x99FF99, 0x66FF99, 0x990099, 0x660099, 0x99FF66, 0x66FF66, 0x990066, 0x660066,
    0xCCCC99, 0x33CC99, 0xCC3399, 0x333399, 0xCCCC66, 0x33CC66, 0xCC3366, 0x333366,
    0x006600, 0xFF6600, 0x009900, 0xFF9900, 0x0066FF, 0xFF66FF, 0x0099FF, 0xFF99FF,
    0x330066, 0xCC0066, 0x33FF66, 0xCCFF66, 0x330099, 0xCC0099, 0x33FF99, 0xCCFF99,
    0x99CCFF, 0x66CCFF, 0x9933FF, 0x6633FF, 0x99CC00, 0x66CC00, 0x993300, 0x663300,
    0xCC99FF, 0x3399FF, 0xCC66FF, 0x3366FF, 0xCC9900, 0x339900, 0xCC6600, 0x336600,
    0x003366, 0xFF3366, 0x00CC66, 0xFFCC66, 0x003399, 0xFF3399, 0x00CC99, 0xFFCC99,
    0x330033, 0xCC0033, 0x33FF33, 0xCCFF33, 0x3300CC, 0xCC00CC, 0x33FFCC, 0xCCFFCC,
    0x99CCCC, 0x66CCCC, 0x9933CC, 0x6633CC, 0x99CC33, 0x66CC33, 0x993333, 0x663333,
    0xCC99CC, 0x3399CC, 0xCC66CC, 0x3366CC, 0xCC9933, 0x339933, 0xCC6633, 0x336633,
    0x003333, 0xFF3333, 0x00CC33, 0xFFCC33, 0x0033CC, 0xFF33CC, 0x00CCCC, 0xFFCCCC,
    0x330000, 0xCC0000, 0x33FF00, 0xCCFF00, 0x3300FF, 0xCC00FF, 0x33FFFF, 0xCCFFFF,
    0x99CC99, 0x66CC99, 0x993399, 0x663399, 0x99CC66, 0x66CC66, 0x993366, 0x663366,
    0xCC9999, 0x339999, 0xCC6699, 0x336699, 0xCC9966, 0x339966, 0xCC6666, 0x336666,
    0x003300, 0xFF3300, 0x00CC00, 0xFFCC00, 0x0033FF, 0xFF33FF, 0x00CCFF, 0xFFCCFF,
    0x006666, 0xFF6666, 0x009966, 0xFF9966, 0x006699, 0xFF6699, 0x009999, 0xFF9999,
    0x9999FF, 0x6699FF, 0x9966FF, 0x6666FF, 0x999900, 0x669900, 0x996600, 0x666600,
    0x99FFFF, 0x66FFFF, 0x9900FF, 0x6600FF, 0x99FF00, 0x66FF00, 0x990000, 0x660000,
    0x000066, 0xFF0066, 0x00FF66, 0xFFFF66, 0x000099, 0xFF0099, 0x00FF99, 0xFFFF99,
    0x006633, 0xFF6633, 0x009933, 0xFF9933, 0x0066CC, 0xFF66CC, 0x0099CC, 0xFF99CC,
    0x9999CC, 0x6699CC, 0x9966CC, 0x6666CC, 0x999933, 0x669933, 0x996633, 0x666633,
    0x99FFCC, 0x66FFCC, 0x9900CC, 0x6600CC, 0x99FF33, 0x66FF33, 0x990033, 0x660033,
    0x000033, 0xFF0033, 0x00FF33, 0xFFFF33, 0x0000CC, 0xFF00CC, 0x00FFCC, 0xFFFFCC,
    0xF7F7F7, 0x444444, 0x222222, 0xA2A2A2, 0x5E5E5E, 0xDDDDDD, 0xBBBBBB, 0x090909,
    0x999999, 0x669999, 0x996699, 0x666699, 0x999966, 0x669966, 0x996666, 0x666666,
    0x777777, 0xC4C4C4, 0xAAAAAA, 0x1A1A1A, 0xE6E6E6, 0x555555, 0xFFFBF0, 0xA0A0A4,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

struct BuiltInPalette {
    TessroPalette palette;
    BuiltInPalette() {
        palette.palVersion = 0x300;
        palette.palNumEntries = 256;
        for (int i = 0; i < 256; ++i) {
            PALETTEENTRY& entry = palette.palPalEntry[i];
            entry.peRed = static_cast<BYTE>(kBuiltInRgb[i] >> 16);
            entry.peGreen = static_cast<BYTE>(kBuiltInRgb[i] >> 8);
            entry.peBlue = static_cast<BYTE>(kBuiltInRgb[i]);
            entry.peFlags = 0;
        }
    }
};

const BuiltInPalette& BuiltIn() {
    static const BuiltInPalette instance;
    return instance;
}

// d * d for d = -255..255, indexed by d + 255.
struct SquareTable {
    DWORD squares[511];
    SquareTable() {
        for (int d = -255; d <= 255; ++d) squares[d + 255] = static_cast<DWORD>(d * d);
    }
};
const DWORD* Squares() {
    static const SquareTable table;
    return table.squares + 255;
}

// Search over a plain colour list (the built-in palettes have no flags).
int NearestInList(const DWORD* colours, int count, DWORD r, DWORD g, DWORD b) {
    const DWORD* sq = Squares();
    int best = -1;
    DWORD bestDistance = 0xFFFFFFFFu;
    for (int i = count - 1; i >= 0; --i) {
        const DWORD c = colours[i];
        const DWORD distance = sq[static_cast<int>(TessroRed(c)) - static_cast<int>(r)] +
                               sq[static_cast<int>(TessroGreen(c)) - static_cast<int>(g)] +
                               sq[static_cast<int>(TessroBlue(c)) - static_cast<int>(b)];
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

struct CubeGreyTable {
    DWORD colours[kTessroCubeAndGreyEntries];
    CubeGreyTable() {
        for (int i = 0; i < kTessroCubeEntries; ++i) {
            const DWORD r = 51 * (i % 6), g = 51 * ((i / 6) % 6), b = 51 * (i / 36);
            colours[i] = r | (g << 8) | (b << 16);
        }
        for (int k = 0; k < kTessroCubeAndGreyEntries - kTessroCubeEntries; ++k) {
            const DWORD v = (17 * k + 1) / 2;
            colours[kTessroCubeEntries + k] = v | (v << 8) | (v << 16);
        }
    }
};
const DWORD* CubeGrey() {
    static const CubeGreyTable table;
    return table.colours;
}

// Pattern offsets into the grey ramp for the four rows and columns of the grey dither.
const int kGreyDitherOffsets[4][4] = {
    {16, 3, 13, 0},
    {7, 12, 4, 9},
    {14, 1, 15, 2},
    {5, 10, 6, 11},
};

bool SameEntries(const TessroPalette& a, const TessroPalette& b, int count) {
    return std::memcmp(a.palPalEntry, b.palPalEntry, sizeof(PALETTEENTRY) * count) == 0;
}

void BuildInverseTable(TessroContext* context) {
    TessroPalette& palette = context->palette;
    const int count = palette.palNumEntries;
    if (context->inverseTableMode == context->paletteMode &&
        context->paletteCache.palNumEntries == count &&
        SameEntries(palette, context->paletteCache, count)) {
        return;
    }
    std::memcpy(&context->paletteCache, &palette, sizeof(TessroPalette));
    context->inverseTableMode = context->paletteMode;
    const bool givenPalette = context->paletteMode == 1;
    const int candidates =
        context->paletteMode == 2 ? kTessroCubeEntries : kTessroCubeAndGreyEntries;
    for (int b5 = 0; b5 < 32; ++b5) {
        for (int g5 = 0; g5 < 32; ++g5) {
            for (int r5 = 0; r5 < 32; ++r5) {
                const DWORD r = r5 * 8 + r5 / 4, g = g5 * 8 + g5 / 4, b = b5 * 8 + b5 / 4;
                const int cell = (b5 << 10) | (g5 << 5) | r5;
                if (givenPalette) {
                    context->inverseTable[cell] =
                        static_cast<BYTE>(TessroNearestEntry(palette.palPalEntry, count, r, g, b));
                } else {
                    const int found = NearestInList(CubeGrey(), candidates, r, g, b);
                    context->inverseTable[cell] = context->cubeMap[found];
                }
            }
        }
    }
}

}  // namespace

DWORD TessroCubeGreyColour(int index) { return CubeGrey()[index]; }

int TessroNearestEntry(const PALETTEENTRY* entries, int count, DWORD r, DWORD g, DWORD b) {
    const DWORD* sq = Squares();
    int best = -1;
    DWORD bestDistance = 0xFFFFFFFFu;
    for (int i = count - 1; i >= 0; --i) {
        const PALETTEENTRY& e = entries[i];
        if (e.peFlags & 0x80) continue;
        const DWORD distance = sq[static_cast<int>(e.peRed) - static_cast<int>(r)] +
                               sq[static_cast<int>(e.peGreen) - static_cast<int>(g)] +
                               sq[static_cast<int>(e.peBlue) - static_cast<int>(b)];
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

bool TessroHasUsableEntry(const PALETTEENTRY* entries, int count) {
    for (int i = 0; i < count; ++i) {
        if (!(entries[i].peFlags & 0x80)) return true;
    }
    return false;
}

void TessroBuildPaletteTables(TessroContext* context) {
    TessroPalette& palette = context->palette;
    const int count = palette.palNumEntries;
    std::memset(context->paletteToCube, 0, sizeof(context->paletteToCube));
    if (context->paletteMode == 1) {
        for (int j = count - 1; j >= 0; --j) {
            context->cubeMap[j] = static_cast<BYTE>(j);
            context->paletteToCube[j] = static_cast<BYTE>(j);
            context->componentRed[j] = palette.palPalEntry[j].peRed;
            context->componentGreen[j] = palette.palPalEntry[j].peGreen;
            context->componentBlue[j] = palette.palPalEntry[j].peBlue;
        }
    } else {
        const DWORD* builtIn = CubeGrey();
        for (int i = 0; i < kTessroCubeAndGreyEntries; ++i) {
            const DWORD c = builtIn[i];
            const int j = TessroNearestEntry(palette.palPalEntry, count, TessroRed(c),
                                             TessroGreen(c), TessroBlue(c));
            context->cubeMap[i] = static_cast<BYTE>(j);
            context->paletteToCube[j] = static_cast<BYTE>(i);
        }
        for (int k = 0; k < 31; ++k) {
            std::memset(context->greyRamp + 17 * k, context->cubeMap[kTessroCubeEntries + k], 17);
        }
        for (int grey = 0; grey < 256; ++grey) {
            for (int row = 0; row < 4; ++row) {
                DWORD word = 0;
                for (int column = 0; column < 4; ++column) {
                    const DWORD index = context->greyRamp[2 * grey + kGreyDitherOffsets[row][column]];
                    word |= index << (8 * column);
                }
                context->greyDitherRows[row][grey] = word;
            }
        }
    }
    BuildInverseTable(context);
}

const LOGPALETTE* TessroSelectPalette(TessroContext* context, DWORD mode) {
    if (!TessroIsValid(context)) return nullptr;
    context->paletteMode = static_cast<BYTE>(mode > 2 ? 1 : mode);
    context->rememberedColour = 0;
    std::memset(context->pattern, 0, sizeof(context->pattern));
    return reinterpret_cast<const LOGPALETTE*>(&BuiltIn().palette);
}

int TessroSetPalette(TessroContext* context, const LOGPALETTE* palette) {
    return TessroEntry(context, [&] {
        // A palette with nothing to match against would leave every search without an answer.
        if (palette == nullptr || palette->palNumEntries > kTessroMaxPaletteEntries ||
            !TessroHasUsableEntry(palette->palPalEntry, palette->palNumEntries)) {
            TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        }
        const int count = palette->palNumEntries;
        context->palette.palVersion = palette->palVersion;
        context->palette.palNumEntries = static_cast<WORD>(count);
        std::memcpy(context->palette.palPalEntry, palette->palPalEntry,
                    sizeof(PALETTEENTRY) * count);
        TessroBuildPaletteTables(context);
        return 0;
    });
}

int TessroComparePalette(TessroContext* context, const LOGPALETTE* palette, DWORD mode) {
    return TessroEntry(context, [&] {
        if (palette == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        // Only the entries the caller's palette declares are read: a short palette is never
        // read past its end.
        const int count = palette->palNumEntries;
        if (mode != context->paletteMode || count > kTessroMaxPaletteEntries ||
            count != context->palette.palNumEntries) {
            return 0;
        }
        return std::memcmp(palette->palPalEntry, context->palette.palPalEntry,
                           sizeof(PALETTEENTRY) * count) == 0
                   ? 1
                   : 0;
    });
}

int TessroSetColourMatching(TessroContext* context, DWORD method) {
    return TessroEntry(context, [&] {
        context->colourMatching = static_cast<BYTE>(method);
        return 0;
    });
}

int TessroSetDitherOrigin(TessroContext* context, std::int32_t x, std::int32_t y) {
    return TessroEntry(context, [&] {
        context->ditherOriginX = x;
        context->ditherOriginY = y;
        return 0;
    });
}
