// Tessro: the 2D rasterizer linked into the program, as flat entry points.
//
// Call protocol, the same for every entry that takes a context:
//   - the context is the first argument; the result is a signed 32-bit value;
//   - a null context, or one that TessroInitContext has not marked, answers -1 at once and
//     writes nothing, not even the error code (the caller could not read it back anyway);
//   - otherwise the entry answers 0 (or the value it is defined to answer), or -1 with the
//     TessroError code kept in the context for TessroGetLastError / TessroGetErrorText;
//   - a failure at any depth releases the buffers the context holds; entries never throw.
//
// The caller owns the context record: it allocates TessroGetContextSize() zero-filled bytes,
// calls TessroInitContext, installs memory handlers, and frees the record itself. A context is
// used by one thread at a time; distinct contexts are independent.
//
// Colours are 0x00BBGGRR words. 32-bit pixels are blue, green, red, fourth byte in memory order
// (the word blue | green << 8 | red << 16 | fourth << 24).
#pragma once

#include <cstdint>

#include "framework/core/WinTypes.h"

struct TessroContext;

typedef BYTE TessroError;

enum : TessroError {
    TESSRO_ERROR_NONE = 0,
    TESSRO_ERROR_BAD_BITMAP = 1,
    TESSRO_ERROR_BAD_CONTEXT = 2,
    TESSRO_ERROR_BAD_GRADUATION_STYLE = 3,
    TESSRO_ERROR_BAD_GRADUATION_TABLE = 4,
    TESSRO_ERROR_BAD_TILE_STYLE = 5,
    TESSRO_ERROR_BAD_TRANSPARENCY_STYLE = 6,
    TESSRO_ERROR_BAD_PARAMETERS = 7,
    TESSRO_ERROR_BAD_PATH = 8,
    TESSRO_ERROR_CORRUPT_EDGE_TABLE = 9,
    TESSRO_ERROR_INCOMPATIBLE_BITMAPS = 10,
    TESSRO_ERROR_INCOMPATIBLE_REGION = 11,
    TESSRO_ERROR_INVALID_BITMAP_DEPTH = 12,
    TESSRO_ERROR_INVALID_SCANLINE_ROUTINE = 13,
    TESSRO_ERROR_NO_BITMAP = 14,
    TESSRO_ERROR_MUST_BE_32BPP = 15,
    TESSRO_ERROR_OUT_OF_MEMORY = 16,
    TESSRO_ERROR_BUFFER_FULL = 17,
    TESSRO_ERROR_STACK_OVERFLOW = 18,
    TESSRO_ERROR_UNDEFINED_FILL_STYLE = 19,
    TESSRO_ERROR_UNDEFINED_MEMORY_HANDLERS = 20,
    TESSRO_ERROR_UNIMPLEMENTED = 21,
};

// The validity mark of an initialised context; also "no colour remembered" in the flat-colour
// state.
const DWORD TESSRO_MAGIC = 0xC90FDAA2u;

typedef void* (*TessroAllocFunc)(DWORD byteCount);
typedef void (*TessroFreeFunc)(void* block);

// Affine user-to-device transform: a..d are 16.16, e and f are translations in device units
// (1/16384 px) scaled by 65536. Device x = (a*x + c*y + e) >> 16, y = (b*x + d*y + f) >> 16.
struct TessroMatrix {
    std::int32_t a;
    std::int32_t b;
    std::int32_t c;
    std::int32_t d;
    std::int64_t e;
    std::int64_t f;
};
static_assert(sizeof(TessroMatrix) == 32, "TessroMatrix is eight dwords");

struct TessroPoint {
    std::int32_t x;
    std::int32_t y;
};

// ---- Context, memory, stack allowance and errors ----
int TessroGetContextSize();
int TessroInitContext(TessroContext* context, const TessroContext* source);
int TessroCopyContext(TessroContext* context, TessroContext* destination);
int TessroSetMemoryHandlers(TessroContext* context, TessroAllocFunc alloc, TessroFreeFunc release);
int TessroFreeBuffers(TessroContext* context);
int TessroReleaseMemory(TessroContext* context);
int TessroSetStackLimit(TessroContext* context, DWORD allowance);
int TessroSetStackBottom(TessroContext* context, const void* lowestAddress);
int TessroGetDefaultStackLimit();
int TessroGetVersion();
int TessroClearError(TessroContext* context);
int TessroGetLastError(TessroContext* context);
// The text of the last error; null for a null or unmarked context.
const char* TessroGetErrorText(TessroContext* context);

// ---- Palettes and colour matching ----
// Palette modes: 0 cube and greys, 1 the given palette (default), 2 cube only.
const LOGPALETTE* TessroSelectPalette(TessroContext* context, DWORD mode);
int TessroSetPalette(TessroContext* context, const LOGPALETTE* palette);
int TessroComparePalette(TessroContext* context, const LOGPALETTE* palette, DWORD mode);
int TessroSetColourMatching(TessroContext* context, DWORD method);
int TessroSetDitherOrigin(TessroContext* context, std::int32_t x, std::int32_t y);

// ---- Flat colours ----
int TessroSetColour(TessroContext* context, DWORD colour);
int TessroSetUnditheredColour(TessroContext* context, DWORD colour, DWORD depth, DWORD layout);
int TessroSetRawColour(TessroContext* context, DWORD word);
int TessroSetTransparentColour(TessroContext* context, DWORD colour, DWORD style);
int TessroSetXorColour(TessroContext* context, DWORD word);
int TessroSetCombinationTable(TessroContext* context, const BYTE* table);
// The 8 x 8-pixel tile of the current pattern; null for an invalid context, without a target,
// or on failure.
const DWORD* TessroGetExpandedPattern(TessroContext* context);

// ---- Graduation tables and packed HSV ----
// A table is DWORD[3 + n] (32-bit targets) or DWORD[3 + 4n] (others), n = 256 or 2048, with the
// entry count in word 0.
int TessroBuildGraduationTable(TessroContext* context, DWORD start, DWORD end, DWORD blendKind,
                               DWORD* table);
int TessroBuildGraduationTable32(TessroContext* context, DWORD start, DWORD end, DWORD blendKind,
                                 DWORD* table);
int TessroSetGraduationTableEntry(TessroContext* context, DWORD colour, DWORD hsvFlag,
                                  DWORD* table, DWORD index);
// Packed HSV: hue bits 0..15 (65536 = one turn, 0 red), saturation 16..23, value 24..31.
DWORD RgbToHsv(DWORD colour);
DWORD HsvToRgb(DWORD hsv);

// ---- Grey weights, separation tables, colour map ----
int TessroSetGreyWeights(TessroContext* context, DWORD red, DWORD green, DWORD blue);
// Plates: 256 pixels each. Curves: byte tables readable at indices -1025..1279, passed as the
// address of index 0. Null selects the built-in default.
int TessroSetLookupTables(TessroContext* context, const DWORD* cyan, const DWORD* magenta,
                          const DWORD* yellow, const DWORD* black,
                          const BYTE* underColourRemoval, const BYTE* blackGeneration);
int TessroSetColourMapTable(TessroContext* context, const DWORD* table);

// ---- Matrix ----
int TessroSetMatrix(TessroContext* context, const TessroMatrix* matrix);

// ---- Bit-depth conversion ----
// Low byte of mode: the quantizer. TESSRO_CONVERT_CONTINUE: carry the error buffers (and the
// grey map of the grey diffusion) over from the previous call, for strip-by-strip conversion.
// In 32-to-32 mode 1 destinationBits carries a background colour instead of a pointer.
const DWORD TESSRO_CONVERT_CONTINUE = 0x100;
int TessroConvertBitmap(TessroContext* context, const BITMAPINFOHEADER* sourceHeader,
                        const void* sourceBits, const BITMAPINFOHEADER* destinationHeader,
                        void* destinationBits, DWORD mode);
int TessroSetConversionPalette(TessroContext* context, const LOGPALETTE* palette);
int TessroSetDitherErrorLimit(TessroContext* context, DWORD levels);

// ---- Transfer curves ----
int TessroSetTransferCurves(TessroContext* context, DWORD strength);
int TessroSetDarkeningCurve(TessroContext* context, DWORD strength);
int TessroSetLighteningCurve(TessroContext* context, DWORD strength);
int TessroShadeValue(TessroContext* context, DWORD amount, DWORD value);

// Drawing: targets, clip, fills and fill styles.
#include "raster/TessroDrawApi.h"

// Paths: geometry, fills, strokes, hit tests, region recording, scrolling.
#include "raster/TessroPathApi.h"
