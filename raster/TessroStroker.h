// The stroker: a path and a pen (width, cap, join, mitre limit, dash pattern) become outline
// geometry. Every segment or dash piece becomes its own closed outline, and so does every cap
// and the outer wedge of every join, all wound the same way, so that their nonzero union is the
// stroke. A zero width strokes hairlines: one hairline record per segment piece.
//
// Geometry is worked relative to the centre of the path's point bounds, scaled up by 2^n so
// that the largest extent stays below 2^27; edge output maps through SetMapOrigin/MapOffset.
#pragma once

#include "raster/TessroInternal.h"
#include "raster/TessroPathApi.h"

enum class TessroStrokeOutput { kEdges, kOutline, kBounds };

struct TessroStrokeRequest {
    const TessroPoint* points;
    const unsigned char* verbs;
    std::int32_t count;
    bool closeAll;
    std::int32_t width;
    int cap;
    int join;
    const TessroDashPattern* dash;
    TessroStrokeOutput output;
    // Outline output.
    TessroPoint* outPoints;
    unsigned char* outVerbs;
    std::int32_t capacity;
    // Bounds output.
    std::int32_t* rect;
};

// Checks cap and join (each the low byte of its argument, 0..2, else code 7).
void TessroCheckCapAndJoin(int cap, int join);

// Runs the stroker; answers the number of edges (edge output), of points written (outline) or
// 0 (bounds). Edge output expects the caller to have set the record kind and coverage mode.
std::int32_t TessroStroke(TessroContext* context, const TessroStrokeRequest& request);
