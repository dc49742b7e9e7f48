// Tessro3D: the 3D and 2D renderer library, a flat set of functions over one global render
// state. Every function here is exported from Tessro3D.dll by ordinal only (the number in the
// comment), in the C calling convention.
//
// Call protocol:
//   1. Tessro3DSetMemoryHandlers: every buffer the library keeps comes from the caller.
//   2. Tessro3DSelectPalette / Tessro3DSetPalette: the palette tables for 8-bpp targets.
//   3. Tessro3DSetBitmap (or ...Inverted): the target; it resets fill style, clip and matrix.
//   4. Tessro3DSetMatrix, Tessro3DSetAntialias: how caller coordinates reach the device.
//   5. Tessro3DSetColour or Tessro3DSetBitmapFill, then Tessro3DFillRectangle /
//      Tessro3DDrawPathOutline; or Tessro3DBeginScene, triangles, Tessro3DEndScene.
//   6. Tessro3DReleaseMemory at the end gives every held buffer back and forgets the handlers.
// Functions with a failure path return 0 on success and -1 on failure; the failure's
// Tessro3DError code stays in the state (byte 5 of a saved state).
//
// Units: caller coordinates are 16.16 fixed point; device coordinates have 14 fraction bits
// (16384 per pixel); areas are half-open.
#pragma once

#include <cstdint>

#include "framework/core/WinTypes.h"

#ifdef _WIN32
#define TESSRO3D_CALL __cdecl
#else
#define TESSRO3D_CALL
#endif

#ifndef TESSRO3D_API
#define TESSRO3D_API
#endif

extern "C" {

typedef void*(TESSRO3D_CALL* TessroAllocFunc)(std::uint32_t size);
typedef void(TESSRO3D_CALL* TessroFreeFunc)(void* block);

// a, b, c, d are 16.16; e and f are device offsets x 2^16. x' = (a·x + c·y + e) >> 16.
struct TessroMatrix {
  std::int32_t a, b, c, d;
  std::int64_t e, f;
};

struct TessroPoint {
  std::int32_t x, y;
};

// Two corners (FillRectangle), a bounding box (min x, min y, max x, max y; the path queries)
// or left, top, right, bottom in pixels (GetSceneBounds).
struct TessroRect {
  std::int32_t x0, y0, x1, y1;
};

struct Tessro3DVertex {
  std::int32_t x, y, z;
};

// Channels 0.0 .. 1.0; values outside are clamped.
struct Tessro3DColour {
  float red, green, blue;
};

// Texels with 16 fraction bits.
struct Tessro3DTexCoord {
  std::int32_t u, v;
};

// Path verbs (the GDI path point types).
enum : std::uint8_t {
  TESSRO_VERB_CLOSE = 0x01,
  TESSRO_VERB_LINE = 0x02,
  TESSRO_VERB_CURVE = 0x04,
  TESSRO_VERB_MOVE = 0x06,
};

// Flags of the background word of Tessro3DBeginScene.
enum : std::uint32_t {
  TESSRO3D_SCENE_NO_BACKGROUND = 1u << 29,
  TESSRO3D_SCENE_CLEAR_OUTSIDE = 1u << 30,
  TESSRO3D_SCENE_OVER_TARGET = 1u << 31,
};

/* 1 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DGetVersion(void);
/* 2 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DGetStateSize(void);
/* 3 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DReleaseMemory(void);
/* 4 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSaveState(void* buffer);
/* 5 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DRestoreState(const void* buffer);
/* 6 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetMemoryHandlers(TessroAllocFunc alloc, TessroFreeFunc release);
/* 7 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetStackLimit(std::int32_t bytes);
/* 8 */ TESSRO3D_API LOGPALETTE* TESSRO3D_CALL Tessro3DSelectPalette(std::int32_t mode);
/* 9 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetPalette(const LOGPALETTE* palette);
/* 10 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetBitmap(const BITMAPINFOHEADER* header, void* pixels, std::uint32_t ditherMode);
/* 11 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetInvertedBitmap(const BITMAPINFOHEADER* header, void* pixels, std::uint32_t ditherMode);
/* 12 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetAntialias(std::int32_t flag);
/* 13 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetMatrix(const TessroMatrix* matrix);
/* 14 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DFillRectangle(const TessroRect* rect);
/* 15 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DDrawPathOutline(const TessroPoint* points, const std::uint8_t* verbs, std::int32_t count, std::int32_t close);
/* 16 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DGetPathBounds(const TessroPoint* points, const std::uint8_t* verbs, std::int32_t count, TessroRect* rect, std::int32_t curves);
/* 17 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DGetStrokePathBounds(const TessroPoint* points, const std::uint8_t* verbs, std::int32_t count, TessroRect* rect, std::int32_t close, std::int32_t width, std::uint32_t cap, std::uint32_t join, std::uint32_t unused);
/* 18 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetColour(std::uint32_t colour);
/* 19 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetBitmapFill(const BITMAPINFOHEADER* header, const void* pixels, std::uint32_t style, const TessroPoint* origin, const TessroPoint* xEnd, const TessroPoint* yEnd, std::uint32_t fallback, const RGBQUAD* colours, const std::uint8_t* redTable, const std::uint8_t* greenTable, const std::uint8_t* blueTable, const std::uint8_t* fourthTable, std::uint32_t unused);
/* 20 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DGetSceneBounds(TessroRect* rect);
/* 21 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DBeginScene(std::int32_t perspective, std::uint32_t background);
/* 22 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DEndScene(void);
/* 23 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DDrawTriangle(const Tessro3DVertex* v0, const Tessro3DVertex* v1, const Tessro3DVertex* v2, const Tessro3DColour* c0, const Tessro3DColour* c1, const Tessro3DColour* c2);
/* 24 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DDrawFlatTriangle(const Tessro3DVertex* v0, const Tessro3DVertex* v1, const Tessro3DVertex* v2, const Tessro3DColour* colour);
/* 25 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DDrawTexturedTriangle(const Tessro3DVertex* v0, const Tessro3DVertex* v1, const Tessro3DVertex* v2, const Tessro3DColour* d0, const Tessro3DColour* d1, const Tessro3DColour* d2, const Tessro3DColour* a0, const Tessro3DColour* a1, const Tessro3DColour* a2, const Tessro3DTexCoord* t0, const Tessro3DTexCoord* t1, const Tessro3DTexCoord* t2);
/* 26 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DDrawFlatTexturedTriangle(const Tessro3DVertex* v0, const Tessro3DVertex* v1, const Tessro3DVertex* v2, const Tessro3DColour* diffuse, const Tessro3DColour* additive, const Tessro3DTexCoord* t0, const Tessro3DTexCoord* t1, const Tessro3DTexCoord* t2);
/* 27 */ TESSRO3D_API std::int32_t TESSRO3D_CALL Tessro3DSetTexture(const BITMAPINFOHEADER* header, const void* bits, const RGBQUAD* palette);

}  // extern "C"
