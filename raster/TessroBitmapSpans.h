// Bitmap fill spans and the step reduction the repeating tiles share with the setters.
#pragma once

#include "raster/TessroDrawInternal.h"

// Steps of a repeating or mirrored fill brought within half a period either way.
void TessroReduceBitmapSteps(TessroContext* context, std::int64_t* stepU, std::int64_t* stepV);
// Nearest-texel spans of the affine mappings, by offset 13 x tile style + source code.
TessroFillIndexEntry TessroBitmapFillEntry(DWORD offset);
