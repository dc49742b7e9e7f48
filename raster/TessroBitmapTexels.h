// Texel readers and tiling of the bitmap fill and mask spans, shared by the nearest, smoothed
// and filtered families. A side names the geometry, the source and the store of one loop: the
// colour fill writes whole 32-bit pixels, a mask stores or ORs one byte into the transparency
// byte of the row buffer.
#pragma once

#include <cmath>
#include <cstring>

#include "raster/TessroDrawInternal.h"
#include "raster/TessroTransparencyGenerators.h"

namespace tessro_bitmap {

const DWORD kTileClamp = 0, kTileOutside = 1, kTileRepeat = 2, kTileMirror = 3;
const DWORD kCodesPerTile = 13;
const DWORD kTileStylesPerGroup = 6;  // styles 4 and 5 have indices but no setter
// Palette codes 0..2 read as four channels (the fill's transparency reads the palette's
// fourth byte), and the 8-bit mask read through its table into the fourth byte.
const int kFourChannelPaletteFirst = 13;
const int kMaskCode = 16;

inline const BYTE* Row(const TessroBitmapSource& b, std::int32_t v) {
    return b.bits + static_cast<std::ptrdiff_t>(v) * b.rowSize;
}

inline DWORD Widen5(DWORD i) { return (i << 3) | (i >> 2); }

inline DWORD Read32(const BYTE* p) {
    DWORD v;
    std::memcpy(&v, p, 4);
    return v;
}

constexpr bool FourChannels(int code) { return code == 7 || code == 12 || (code >= 13 && code <= 15); }

// Texel readers by source format code: column u of a source row.
template <int Code>
DWORD TexelInRow(const TessroBitmapSource& b, const BYTE* row, std::int32_t u) {
    const BYTE(&t)[4][256] = b.tables;  // red, green, blue, fourth
    switch (Code) {
        case 0:
        case 13: return b.palette[(row[u >> 3] >> (7 - (u & 7))) & 1];
        case 1:
        case 14: return b.palette[(u & 1) ? row[u >> 1] & 0xF : row[u >> 1] >> 4];
        case 2:
        case 15: return b.palette[row[u]];
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
        case kMaskCode: return static_cast<DWORD>(t[3][row[u]]) << 24;
    }
    return 0;
}

template <int Code>
DWORD Texel(const TessroBitmapSource& b, std::int32_t u, std::int32_t v) {
    return TexelInRow<Code>(b, Row(b, v), u);
}

// Integer part of a 32.32 coordinate.
inline std::int32_t Whole(std::int64_t c) { return TessroHigh32(c); }

// Brings a coordinate into [0, period) (a whole number of periods away).
inline std::int64_t Wrap(std::int64_t c, std::int64_t period) {
    c %= period;
    return c < 0 ? c + period : c;
}

// Perspective coordinates are limited before their integer conversion, so a pixel at the
// vanishing line reads an edge or tiled texel instead of converting a NaN.
const double kCoordinateLimit = 1073741824.0;  // 2^30

inline std::int64_t NearestLimited(double c) {
    if (!(c == c)) c = kCoordinateLimit;
    if (c > kCoordinateLimit) c = kCoordinateLimit;
    if (c < -kCoordinateLimit) c = -kCoordinateLimit;
    return static_cast<std::int64_t>(std::nearbyint(c));
}

// A whole texel coordinate by tile style: false when it lies outside (outside-colour style).
template <DWORD Tile>
inline bool TileCoordinate(std::int64_t& c, std::int32_t size) {
    if (Tile == kTileClamp) {
        if (c < 0) c = 0;
        if (c >= size) c = size - 1;
    } else if (Tile == kTileOutside) {
        return c >= 0 && c < size;
    } else if (Tile == kTileRepeat) {
        c = Wrap(c, size);
    } else {
        c = Wrap(c, 2 * static_cast<std::int64_t>(size));
        if (c >= size) c = 2 * static_cast<std::int64_t>(size) - 1 - c;
    }
    return true;
}

// The colour side: the fill's geometry and source, whole pixels stored.
struct ColourSide {
    static const TessroFillGeometry& Geometry(const TessroDrawState& d) { return d.colour; }
    static const TessroBitmapSource& Source(const TessroDrawState& d) { return d.bitmap; }
    static void Put(BYTE* row, std::int32_t x, DWORD texel) { std::memcpy(row + 4 * x, &texel, 4); }
};

// A mask side: the transparency geometry and the mask source; the texel's fourth byte is
// stored into (or ORed into) the transparency byte of the row-buffer word.
template <bool Or>
struct MaskSide {
    static const TessroFillGeometry& Geometry(const TessroDrawState& d) { return d.transparency; }
    static const TessroBitmapSource& Source(const TessroDrawState& d) { return d.mask; }
    static void Put(BYTE* row, std::int32_t x, DWORD texel) {
        TessroPutTransparency<Or>(row, x, static_cast<BYTE>(texel >> 24));
    }
};

// Routine of a loop template by tile style (0..3) and code, through Pick<Tile, Code>::Get().
template <template <DWORD, int> class Pick, DWORD Tile>
TessroSpanFunc ForCode(DWORD code) {
    switch (code) {
        case 0: return Pick<Tile, 0>::Get();
        case 1: return Pick<Tile, 1>::Get();
        case 2: return Pick<Tile, 2>::Get();
        case 3: return Pick<Tile, 3>::Get();
        case 4: return Pick<Tile, 4>::Get();
        case 5: return Pick<Tile, 5>::Get();
        case 6: return Pick<Tile, 6>::Get();
        case 7: return Pick<Tile, 7>::Get();
        case 8: return Pick<Tile, 8>::Get();
        case 9: return Pick<Tile, 9>::Get();
        case 10: return Pick<Tile, 10>::Get();
        case 11: return Pick<Tile, 11>::Get();
        case 12: return Pick<Tile, 12>::Get();
        case 13: return Pick<Tile, 13>::Get();
        case 14: return Pick<Tile, 14>::Get();
        case 15: return Pick<Tile, 15>::Get();
        default: return Pick<Tile, kMaskCode>::Get();
    }
}

template <template <DWORD, int> class Pick>
TessroSpanFunc ForTileAndCode(DWORD tile, DWORD code) {
    switch (tile) {
        case kTileClamp: return ForCode<Pick, kTileClamp>(code);
        case kTileOutside: return ForCode<Pick, kTileOutside>(code);
        case kTileRepeat: return ForCode<Pick, kTileRepeat>(code);
        case kTileMirror: return ForCode<Pick, kTileMirror>(code);
        default: return TessroNoSpan;
    }
}

}  // namespace tessro_bitmap
