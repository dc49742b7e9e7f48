// The TessroContext record and the helpers shared by the rasterizer's sources. Not for callers
// outside raster/ (tests included, to reach state no entry point reports).
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/TessroApi.h"
#include "raster/TessroSpanState.h"
#include "raster/TessroPathArea.h"

// ---- Fixed sizes and scales ----
const int kTessroMaxPaletteEntries = 256;
const int kTessroCubeEntries = 216;            // 6 x 6 x 6 colour cube of the built-in palette
const int kTessroCubeAndGreyEntries = 247;     // the cube plus 31 greys
const int kTessroGreyRampLength = 527;         // 31 greys x 17
const int kTessroInverseTableCells = 32768;    // 5 bits per component
const int kTessroMaxDiffusionWidth = 16384;    // error line capacity: widths below this
const int kTessroErrorLineSlots = kTessroMaxDiffusionWidth + 2;
const int kTessroExpandedPatternWords = 64;    // 8 rows of up to 8 words (32-bit targets)
const DWORD kTessroEdgeBlockBytes = 32768;     // records of one extra edge block; its link follows
const int kTessroGreyShift = 24;               // grey sum >> 24 = 8-bit grey
const int kTessroStackBytesPerSubdivision = 64;  // budget of one curve-subdivision level
const DWORD kTessroDefaultStackAllowance = 0x4000;
const DWORD kTessroVersion = 0x10000;
const BYTE kTessroNoInverseTable = 0xC9;       // matches no palette mode

// Target format codes.
enum : DWORD {
    kTessroFormat1 = 0,
    kTessroFormat2 = 1,
    kTessroFormat4 = 2,
    kTessroFormat8Palette = 3,
    kTessroFormat8Grey = 4,
    kTessroFormat16 = 5,
    kTessroFormat32 = 6,
    kTessroFormat32Alpha = 7,
};

// Fill-style codes of the flat setters.
enum : DWORD { kTessroFillNone = 0, kTessroFillXor = 1, kTessroFillFlat = 2 };

// A LOGPALETTE with room for all 256 entries (LOGPALETTE itself declares one).
struct TessroPalette {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[kTessroMaxPaletteEntries];
};

struct TessroContext {
    DWORD magic;

    // Stack allowance: kind 0 absolute (stackAllowance = lowest usable address + 64), non-zero
    // relative (bytes). currentStackLimit is the subdivision-depth budget of the running walk.
    BYTE stackLimitKind;
    std::uintptr_t stackAllowance;
    DWORD currentStackLimit;

    TessroAllocFunc allocHandler;
    TessroFreeFunc freeHandler;
    void* temporaryBuffer;

    // Flat colour: the remembered colour and its four-row pattern.
    DWORD rememberedColour;
    DWORD pattern[4];
    DWORD expandedPattern[kTessroExpandedPatternWords];
    const BYTE* combinationTable;

    BYTE lastError;
    BYTE colourMatching;
    BYTE paletteMode;
    BYTE inverseTableMode;

    // Rendering switches of the target, fill and path operations.
    BYTE antialias;
    BYTE coverageMode;
    BYTE fillRule;
    BYTE closeSubpaths;
    BYTE dashFitting;
    BYTE strokeSnapping;
    BYTE hitTestResult;

    std::int32_t ditherOriginX;
    std::int32_t ditherOriginY;
    std::int32_t bitmapFillAmount;
    std::int32_t mitreLimit;  // 16.16
    DWORD flatness;
    DWORD workingFlatness;
    void* pointCallback;

    DWORD fillStyle;
    DWORD transparencyType;

    // Target bitmap.
    BYTE hasTarget;
    DWORD targetFormat;
    DWORD targetMode;  // 16-bit layout: 0 5-6-5, 1 6-5-5, 2 5-5-5, 3 6-6-4
    std::int32_t targetWidth;
    std::int32_t targetHeight;
    std::int32_t rowStep;
    std::int32_t rowSize;
    BYTE* rowZero;

    // Matrix, integer and floating forms; the kept origin of SetMapOrigin/MapOffset.
    TessroMatrix matrix;
    double matrixA, matrixB, matrixC, matrixD, matrixE, matrixF;
    std::int64_t mapOriginX, mapOriginY;
    int mapOriginPrecision;

    // Separation plates, curves (address of index 0) and the optional colour map.
    const DWORD* plateCyan;
    const DWORD* plateMagenta;
    const DWORD* plateYellow;
    const DWORD* plateBlack;
    const BYTE* underColourRemoval;
    const BYTE* blackGeneration;
    const DWORD* colourMap;

    // Conversion.
    const LOGPALETTE* conversionPalette;
    DWORD ditherErrorLimit;  // 16 x levels
    DWORD randomState;

    // Palette tables.
    TessroPalette palette;
    TessroPalette paletteCache;
    BYTE cubeMap[kTessroMaxPaletteEntries];
    BYTE paletteToCube[kTessroMaxPaletteEntries];
    DWORD componentRed[kTessroMaxPaletteEntries];
    DWORD componentGreen[kTessroMaxPaletteEntries];
    DWORD componentBlue[kTessroMaxPaletteEntries];
    DWORD greyDitherRows[4][256];
    BYTE greyRamp[kTessroGreyRampLength];
    BYTE inverseTable[kTessroInverseTableCells];

    DWORD greyRed[256];
    DWORD greyGreen[256];
    DWORD greyBlue[256];

    // Transfer tables, x 512.
    std::int32_t darkening[256];
    std::int32_t lightening[256];

    // Edge storage held between the path operations' calls.
    void* edgePointers;
    BYTE edgePointersOnHeap;
    void* extraEdgeBlocks;  // chain; each block's link lies after its records

    // Conversion scratch and error lines (kept across calls for strip-by-strip dithering).
    std::int16_t nearestCache[kTessroInverseTableCells];  // -1: not searched yet
    DWORD seenColours[kTessroMaxPaletteEntries];
    BYTE seenIndices[kTessroMaxPaletteEntries];
    BYTE greyMap[256];
    std::int32_t errorLines[3][kTessroErrorLineSlots];

    // Target clip, changed area, prepared callbacks and fill fields of the drawing entries.
    TessroDrawState draw;

    // Edge storage, coverage buffer and region cursors of the path operations.
    TessroPathArea path;
};

// ---- Failure path ----
// Thrown by TessroFail at any depth and caught by the entry (TessroEntry), which records the code
// and releases the held buffers.
struct TessroFailure {
    TessroError code;
};

[[noreturn]] void TessroFail(TessroError code);
void TessroReleaseHeldBuffers(TessroContext* context);

inline bool TessroIsValid(const TessroContext* context) {
    return context != nullptr && context->magic == TESSRO_MAGIC;
}

template <class Body>
int TessroEntry(TessroContext* context, Body&& body) {
    if (!TessroIsValid(context)) return -1;
    try {
        return body();
    } catch (const TessroFailure& failure) {
        context->lastError = failure.code;
    } catch (...) {
        context->lastError = TESSRO_ERROR_OUT_OF_MEMORY;
    }
    TessroReleaseHeldBuffers(context);
    return -1;
}

// Memory through the context's handlers: 20 without a handler, 16 when the handler answers null.
void* TessroAllocate(TessroContext* context, DWORD byteCount);
void TessroRelease(TessroContext* context, void* block);

// Curve walks: StartStackBudget converts the allowance into a subdivision-depth budget when a
// walk starts; CheckStackDepth fails with 18 before a split at or beyond it.
void TessroStartStackBudget(TessroContext* context);
inline void TessroCheckStackDepth(const TessroContext* context, DWORD depth) {
    if (depth >= context->currentStackLimit) TessroFail(TESSRO_ERROR_STACK_OVERFLOW);
}

// ---- Colour helpers ----
inline DWORD TessroRed(DWORD colour) { return colour & 0xFF; }
inline DWORD TessroGreen(DWORD colour) { return (colour >> 8) & 0xFF; }
inline DWORD TessroBlue(DWORD colour) { return (colour >> 16) & 0xFF; }
inline DWORD TessroTop(DWORD colour) { return colour >> 24; }
// 0x00BBGGRR (top byte kept) to a 32-bit pixel word.
inline DWORD TessroColourToPixel(DWORD colour) {
    return TessroBlue(colour) | (TessroGreen(colour) << 8) | (TessroRed(colour) << 16) |
           (colour & 0xFF000000u);
}

// Grey sum of the weight tables; >> 24 gives the 8-bit grey.
inline DWORD TessroGreySum(const TessroContext* context, DWORD r, DWORD g, DWORD b) {
    return context->greyRed[r] + context->greyGreen[g] + context->greyBlue[b];
}
inline DWORD TessroGrey(const TessroContext* context, DWORD r, DWORD g, DWORD b) {
    return TessroGreySum(context, r, g, b) >> kTessroGreyShift;
}

// 8-bit component to its 5-bit level, rounded: (v * 31 + 127) / 255.
inline DWORD TessroLevel5(DWORD v) { return (v * 31 + 127) / 255; }
inline DWORD TessroInverseCell(DWORD r, DWORD g, DWORD b) {
    return (TessroLevel5(b) << 10) | (TessroLevel5(g) << 5) | TessroLevel5(r);
}

// The built-in 247-entry palette (cube then greys), as 0x00BBGGRR.
DWORD TessroCubeGreyColour(int index);
// The standard sixteen colours of 4-bit targets, as 0x00BBGGRR.
extern const DWORD kTessroSixteenColours[16];

// Nearest entry of a palette to (r, g, b): highest index down to 0, flagged entries (peFlags
// top bit) skipped, strictly smaller distance replaces, so the highest index wins ties.
// -1 when every entry is flagged or there are none.
int TessroNearestEntry(const PALETTEENTRY* entries, int count, DWORD r, DWORD g, DWORD b);
bool TessroHasUsableEntry(const PALETTEENTRY* entries, int count);

// Palette tables (TessroPalette.cpp): rebuilds them for the current palette mode.
void TessroBuildPaletteTables(TessroContext* context);

// ---- Flat colour (shared with graduation tables) ----
void TessroSetColourInternal(TessroContext* context, DWORD colour);

// 4-bit flat-colour match helper: the non-grey pixel rule. Adjusts the other channels of a
// colour whose dominant channel exceeds 128 by its excess.
inline std::int32_t TessroReduceByExcess(std::int32_t other, std::int32_t excess) {
    return other - excess > excess ? other - excess : other / 2;
}

// ---- Tables computed by rule ----
// P(c, d) = c * d / 255 rounded to nearest, c = 0..255, d = -255..255.
struct TessroProductTable {
    std::int16_t rows[256][511];
};
extern const TessroProductTable kTessroProducts;
inline const std::int16_t* TessroProductRow(int c) { return kTessroProducts.rows[c]; }  // index by d + 255
inline int TessroProduct(int c, int d) { return TessroProductRow(c)[d + 255]; }
const BYTE* TessroDarkeningCurve();   // 256 entries, D(i) <= i
const BYTE* TessroLighteningCurve();  // 256 entries, L(i) >= i
void TessroBuildDarkening(TessroContext* context, DWORD strength);
void TessroBuildLightening(TessroContext* context, DWORD strength);
// One channel value x shaded by amount a (0..255) through the context's transfer tables:
// below 128 darkened (0 fully), from 128 lightened (255 fully).
const int kTessroTransferScale = 512;
inline int TessroShade(const TessroContext* context, int a, int x) {
    if (a < 128) return (x - TessroProduct(255 - 2 * a, context->darkening[x] / kTessroTransferScale)) & 0xFF;
    return (x + TessroProduct(2 * a - 255, context->lightening[x] / kTessroTransferScale)) & 0xFF;
}

// Defaults of the lookup tables and grey weights.
void TessroSetDefaultLookupTables(TessroContext* context);
void TessroBuildGreyWeights(TessroContext* context, DWORD red, DWORD green, DWORD blue);

// Separation plates and colour mapping of one 32-bit pixel (for the row stages).
DWORD TessroSeparatePixel(const TessroContext* context, DWORD pixel, int plate);
DWORD TessroMapPixelColour(const TessroContext* context, DWORD pixel);

// ---- Matrix routines (no failure; wrap as the 64-bit sums do) ----
struct TessroDevicePoint {
    std::int32_t x;
    std::int32_t y;
};
TessroDevicePoint TessroMapPoint(const TessroContext* context, std::int32_t x, std::int32_t y);
TessroDevicePoint TessroMapVector(const TessroContext* context, std::int32_t x, std::int32_t y);
TessroDevicePoint TessroMapPointFine(const TessroContext* context, std::int32_t x, std::int32_t y);
void TessroMapPointToPixels(const TessroContext* context, std::int32_t x, std::int32_t y,
                            long double* px, long double* py);
void TessroMapVectorToPixels(const TessroContext* context, std::int32_t x, std::int32_t y,
                             long double* px, long double* py);
void TessroSetMapOrigin(TessroContext* context, std::int32_t x, std::int32_t y, int precision);
TessroDevicePoint TessroMapOffset(const TessroContext* context, std::int32_t dx, std::int32_t dy);

// ---- Error diffusion (called by the conversion dispatcher) ----
struct TessroImage {
    const BYTE* sourceRows;
    std::ptrdiff_t sourceStride;
    BYTE* destinationRows;
    std::ptrdiff_t destinationStride;
    std::int32_t width;
    std::int32_t height;
};
void TessroDiffuse8TwoNeighbour(TessroContext* context, const TessroImage& image, bool carryOver);
void TessroDiffuse8FourNeighbour(TessroContext* context, const TessroImage& image, bool carryOver);
void TessroDiffuse4(TessroContext* context, const TessroImage& image, const PALETTEENTRY* entries,
                    int count, bool carryOver);
void TessroDiffuseGrey8(TessroContext* context, const TessroImage& image,
                        const PALETTEENTRY* entries, bool carryOver);
void TessroDiffuse1(TessroContext* context, const TessroImage& image, const PALETTEENTRY* entries,
                    bool carryOver);
// Nearest-colour cache of the conversion palette, by 5-5-5 cell.
int TessroCachedNearest(TessroContext* context, const PALETTEENTRY* entries, int count,
                        DWORD cell);
