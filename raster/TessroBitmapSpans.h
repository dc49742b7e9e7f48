// Bitmap fill spans and the step reduction the repeating tiles share with the setters.
#pragma once

#include "raster/TessroDrawInternal.h"

// Steps of a repeating or mirrored fill brought within half a period either way.
void TessroReduceBitmapSteps(TessroContext* context, std::int64_t* stepU, std::int64_t* stepV);
// Nearest-texel spans by offset 13 x tile style + source code: the affine mappings (three-point
// and row-affine) or the perspective one.
TessroFillIndexEntry TessroBitmapFillEntry(DWORD offset, bool perspective);
// Smoothed (bilinear) spans of three-point fills, by the same offset, and their driver.
TessroFillIndexEntry TessroSmoothedBitmapFillEntry(DWORD offset);
extern const TessroRowDriver kTessroSmoothedBitmapDriver;
