// Tessro bitmap fills: a source bitmap laid onto the plane by three anchor points (affine) or
// four (row-affine), tiled, with its pixels translated through caller tables. Same call
// protocol as raster/TessroApi.h.
#pragma once

#include "framework/core/WinTypes.h"

struct TessroContext;
struct TessroPoint;

// style: byte 0 tile style (0 clamp, 1 outside colour, 2 repeat, 3 mirror); byte 1 bits 0..5
// transparency type, bit 6 the source carries its own transparency, bit 7 the source's fourth
// byte marks masked pixels; byte 2 amount; byte 3 separation and colour-map options.
// outsideColour 0x00BBGGRR; palette required for sources of 8 bits or less; a null channel
// table is the identity.
int TessroSetBitmapFill(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD style,
                        const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2, DWORD outsideColour,
                        const RGBQUAD* palette, const BYTE* redTable, const BYTE* greenTable,
                        const BYTE* blueTable, const BYTE* fourthTable, int ignored);
int TessroSetPerspectiveBitmapFill(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits,
                                   DWORD style, const TessroPoint* p0, const TessroPoint* p1,
                                   const TessroPoint* p2, const TessroPoint* p3, DWORD outsideColour,
                                   const RGBQUAD* palette, const BYTE* redTable, const BYTE* greenTable,
                                   const BYTE* blueTable, const BYTE* fourthTable, int ignored);
// Switches read by the next bitmap setter (filtering wins when both are on).
int TessroSetBitmapFillSmoothing(TessroContext* context, int on);
int TessroSetBitmapFillFiltering(TessroContext* context, int on);
// The filtering amount, limited to -1024..1024.
int TessroSetBitmapFillAmount(TessroContext* context, int n);
int TessroSetBitmapFillNegatedAmount(TessroContext* context, int n);

// 8-bit transparency masks: a byte of the mask, through table (null: the identity), is the
// fill's transparency at that point on 32-bit targets; tile styles as the fills, outsideValue
// the transparency outside the mask (tile style 1). The smoothing and filtering switches apply
// to the three-point mask.
int TessroSetBitmapMask(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD tileStyle,
                        const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2, DWORD outsideValue,
                        const BYTE* table, int ignored);
int TessroSetPerspectiveBitmapMask(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits,
                                   DWORD tileStyle, const TessroPoint* p0, const TessroPoint* p1,
                                   const TessroPoint* p2, const TessroPoint* p3, DWORD outsideValue,
                                   const BYTE* table, int ignored);

// A bitmap drawn into its own parallelogram p0, p1, p1 + p2 - p0, p2 (or quadrilateral p0..p3):
// the bitmap fill with tile style 0, transparency's bytes 0..2 as the style's bytes 1..3,
// outside colour 0, then an even-odd path fill. Answers the first failure.
int TessroPlotBitmap(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD transparency,
                     const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2, const RGBQUAD* palette,
                     const BYTE* redTable, const BYTE* greenTable, const BYTE* blueTable, const BYTE* fourthTable);
int TessroPlotPerspectiveBitmap(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits,
                                DWORD transparency, const TessroPoint* p0, const TessroPoint* p1,
                                const TessroPoint* p2, const TessroPoint* p3, const RGBQUAD* palette,
                                const BYTE* redTable, const BYTE* greenTable, const BYTE* blueTable,
                                const BYTE* fourthTable);
