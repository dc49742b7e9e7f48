// Path geometry helpers shared with the stroker.
#pragma once

#include "raster/TessroInternal.h"

// Snaps axis-parallel segments of the path in place for a stroke of the given width (no
// argument checks; see TessroSnapPath).
void TessroSnapPoints(TessroContext* context, TessroPoint* points, const unsigned char* verbs,
                      std::int32_t count, bool closeAll, std::int32_t width);
