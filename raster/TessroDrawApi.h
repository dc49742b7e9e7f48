// Tessro drawing entries: target bitmaps, clip and changed area, rectangle and point fills,
// graduated and colour-field fill styles. Same call protocol as raster/TessroApi.h.
#pragma once

#include <cstdint>

#include "framework/core/WinTypes.h"

struct TessroContext;
struct TessroPoint;

// A caller-owned clip region, read in place: kind 0 whole pixels, non-zero five sub-rows per
// pixel row; bounds in pixels inside the target; size: the bytes of the whole record, this
// header included, which no read of the row data passes; the row data follows (the layout is
// described with the region reader, raster/TessroRegion.h).
struct TessroClipRegion {
    DWORD kind;
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
    DWORD size;
};

// biCompression of a 32-bit target whose fourth byte is a transparency (format 7).
const DWORD TESSRO_BI_TRANSPARENCY = 0x80000001u;

// ---- Target bitmap, clip and changed area ----
// mode: 8 bits: 0 palette indices, otherwise grey levels; 16 bits: 0 5-6-5, 1 6-5-5,
// 2 5-5-5, 3 6-6-4 (above 3: 5-5-5).
int TessroSetBitmap(TessroContext* context, const BITMAPINFOHEADER* header, void* bits, DWORD mode);
// The same for a bitmap whose first row in memory is the top row on screen.
int TessroSetInvertedBitmap(TessroContext* context, const BITMAPINFOHEADER* header, void* bits,
                            DWORD mode);
int TessroSetClipRectangle(TessroContext* context, const TessroPoint rect[2]);
int TessroSetDeviceClipRectangle(TessroContext* context, const std::int32_t rect[4]);
int TessroGetClipRectangle(TessroContext* context, std::int32_t rect[4]);
int TessroSetClipRegion(TessroContext* context, const TessroClipRegion* region);
// The region as the result value (its address); -1 for an invalid context.
std::intptr_t TessroGetClipRegion(TessroContext* context);
int TessroSetAntialias(TessroContext* context, int on);
int TessroClearChangedBounds(TessroContext* context);
int TessroGetChangedBounds(TessroContext* context, std::int32_t rect[4]);
int TessroSetChangedBounds(TessroContext* context, const std::int32_t rect[4]);

// ---- Rectangle and point fills (null argument: nothing drawn, 0) ----
int TessroFillRectangle(TessroContext* context, const TessroPoint rect[2]);
int TessroFillPoint(TessroContext* context, const TessroPoint* point);

// ---- Graduated fills ----
// style: byte 0 kind (0 linear, 1 radial, 2 conical, 3 square) with 0x80 repeat; byte 1
// transparency type; byte 2 transparency amount. table: a graduation table.
int TessroSetGraduation(TessroContext* context, DWORD style, const void* table,
                        const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2);
int TessroSetPerspectiveGraduation(TessroContext* context, DWORD style, const void* table,
                                   const TessroPoint* p0, const TessroPoint* p1,
                                   const TessroPoint* p2, const TessroPoint* p3);
// Transparency graduations (32-bit targets): style byte 0 kind, byte 1 long table (2048
// bytes), byte 2 repeat; table: transparency bytes, 0 opaque. The colour fill is kept.
int TessroSetTransparencyGraduation(TessroContext* context, DWORD style, const BYTE* table,
                                    const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2);
int TessroSetPerspectiveTransparencyGraduation(TessroContext* context, DWORD style, const BYTE* table,
                                               const TessroPoint* p0, const TessroPoint* p1,
                                               const TessroPoint* p2, const TessroPoint* p3);
int TessroGetGraduationTableSize(TessroContext* context);
int TessroGetLongGraduationTableSize(TessroContext* context);
int TessroGetGraduationTableLength();
int TessroGetLongGraduationTableLength();
int TessroGetTransparencyTableLength();
int TessroGetTransparencyTableSize();
int TessroGetLongTransparencyTableLength();
int TessroGetLongTransparencyTableSize();

// ---- Colour fields ----
// style: byte 0 kind (0, 1 clamped; 2, 3 mirrored), byte 1 transparency type, byte 2 amount,
// byte 3 separation (bits 0..1 plate, bit 2 on) and colour map (bit 3 selector 0, bit 4
// selector 1) options.
int TessroSetThreeColourFill(TessroContext* context, DWORD style, DWORD colour0, DWORD colour1,
                             DWORD colour2, const TessroPoint* p0, const TessroPoint* p1,
                             const TessroPoint* p2);
int TessroSetPerspectiveThreeColourFill(TessroContext* context, DWORD style, DWORD colour0,
                                        DWORD colour1, DWORD colour2, const TessroPoint* p0,
                                        const TessroPoint* p1, const TessroPoint* p2,
                                        const TessroPoint* p3);
int TessroSetGraduatedColours(TessroContext* context, DWORD style, DWORD colour0, DWORD colour1,
                              DWORD colour2, DWORD colour3, const TessroPoint* p0,
                              const TessroPoint* p1, const TessroPoint* p2);
int TessroSetPerspectiveGraduatedColours(TessroContext* context, DWORD style, DWORD colour0,
                                         DWORD colour1, DWORD colour2, DWORD colour3,
                                         const TessroPoint* p0, const TessroPoint* p1,
                                         const TessroPoint* p2, const TessroPoint* p3);
// Transparency fields: three or four transparency values (low bytes) blended like the colour
// fields; kind 0..3.
int TessroSetThreeValueTransparency(TessroContext* context, DWORD kind, DWORD value0, DWORD value1,
                                    DWORD value2, const TessroPoint* p0, const TessroPoint* p1,
                                    const TessroPoint* p2);
int TessroSetPerspectiveThreeValueTransparency(TessroContext* context, DWORD kind, DWORD value0,
                                               DWORD value1, DWORD value2, const TessroPoint* p0,
                                               const TessroPoint* p1, const TessroPoint* p2,
                                               const TessroPoint* p3);
int TessroSetFourValueTransparency(TessroContext* context, DWORD kind, DWORD value0, DWORD value1,
                                   DWORD value2, DWORD value3, const TessroPoint* p0,
                                   const TessroPoint* p1, const TessroPoint* p2);
int TessroSetPerspectiveFourValueTransparency(TessroContext* context, DWORD kind, DWORD value0,
                                              DWORD value1, DWORD value2, DWORD value3,
                                              const TessroPoint* p0, const TessroPoint* p1,
                                              const TessroPoint* p2, const TessroPoint* p3);
