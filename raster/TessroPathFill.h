// The path walk and the row loops shared by the path fill, the stroke and the hit tests.
#pragma once

#include "raster/TessroInternal.h"

// Walks the verbs into edges (lines, flattened curves, closing edges). Fails with 8 for an
// empty path, a first verb that is not a move, or a curve short of points.
void TessroWalkPathEdges(TessroContext* context, const TessroPoint* points,
                         const unsigned char* verbs, std::int32_t count);

// Fills the stored short edges with the context's fill rule: aliased, antialiased, or through
// a clip region, as the coverage-mode flag and the region say. The edge index is built.
void TessroFillStoredEdges(TessroContext* context);

// Paints the stored hairline records: one pixel run per edge and row (whole pixels; through a
// sampled region as five-sample coverage).
void TessroFillStoredHairlines(TessroContext* context);

// Grows the changed area by a rectangle in pixels (every style).
void TessroGrowChanged(TessroContext* context, std::int32_t left, std::int32_t top,
                       std::int32_t right, std::int32_t bottom);
bool TessroIsMeasuringStyle(const TessroContext* context);

// The rows of a whole-pixel rectangle [x0, x1) over the stored bounds, sampled through the
// clip region's five sub-rows per row (coverage mode; routines prepared).
void TessroRunSampledRows(TessroContext* context, std::int32_t x0, std::int32_t x1);

// Prepares the routines of a path operation: the measuring styles, the coverage routines, or
// the aliased span preparation (with a kind-0 region wrapped around it).
void TessroPreparePathRoutines(TessroContext* context);
