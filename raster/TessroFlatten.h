// The curve walker: midpoint subdivision of a cubic until both control points lie near the
// chord, handing each flat piece's end point (user coordinates) to the context's point
// callback. The depth is bounded by the context's stack allowance (code 18).
#pragma once

#include "raster/TessroInternal.h"

typedef void (*TessroPointFunc)(TessroContext* context, std::int32_t x, std::int32_t y);

// Walks P0..P3 with the context's working flatness and point callback; the last call receives
// P3 exactly.
void TessroFlattenCurve(TessroContext* context, const TessroPoint& p0, const TessroPoint& p1,
                        const TessroPoint& p2, const TessroPoint& p3);

// Walks with the given callback and flatness, restoring the callback and working flatness
// afterwards (so walks may start from inside a callback).
void TessroWalkCurve(TessroContext* context, TessroPointFunc callback, DWORD flatness,
                     const TessroPoint& p0, const TessroPoint& p1, const TessroPoint& p2,
                     const TessroPoint& p3);
