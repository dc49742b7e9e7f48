// Tessro path entries: path geometry, path and edge-by-edge fills, stroking, hit tests, region
// recording, scrolling. Same call protocol as raster/TessroApi.h.
//
// A path is an array of TessroPoint (user coordinates, 16.16 pixels under the default matrix)
// with one verb byte per point:
//   TESSRO_VERB_CLOSE (1)  closes the subpath after this point (on a curve: its last point);
//   TESSRO_VERB_LINE  (2)  the point ends a straight segment; without it the point is the first
//                          control point of a cubic, and the next two points are the second
//                          control point and the end point;
//   TESSRO_VERB_MOVE  (4)  with TESSRO_VERB_LINE: starts a new subpath (6).
// The first verb must be a move. Rectangles are left, top, right, bottom; the empty one is
// (0x7FFFFFFF, 0x7FFFFFFF, 0x80000000, 0x80000000).
#pragma once

#include <cstdint>

#include "framework/core/WinTypes.h"

struct TessroContext;
struct TessroPoint;

const unsigned char TESSRO_VERB_CLOSE = 0x01;
const unsigned char TESSRO_VERB_LINE = 0x02;
const unsigned char TESSRO_VERB_MOVE = 0x04;
const unsigned char TESSRO_VERB_MOVE_TO = TESSRO_VERB_MOVE | TESSRO_VERB_LINE;
const unsigned char TESSRO_VERB_CURVE = TESSRO_VERB_MOVE;  // a curve point: 4 without the line bit

// Fill rules.
const DWORD TESSRO_RULE_EVEN_ODD = 0;
const DWORD TESSRO_RULE_NONZERO = 1;

// Caps and joins of the stroker.
enum : int { TESSRO_CAP_BUTT = 0, TESSRO_CAP_ROUND = 1, TESSRO_CAP_SQUARE = 2 };
enum : int { TESSRO_JOIN_MITRE = 0, TESSRO_JOIN_ROUND = 1, TESSRO_JOIN_BEVEL = 2 };

// A dash pattern: count lengths (user units), alternately on and off, starting with on, and the
// phase into the pattern. count 0 is a solid line. At most TESSRO_MAX_DASH_LENGTHS lengths;
// none negative and not all zero.
const int TESSRO_MAX_DASH_LENGTHS = 8;
struct TessroDashPattern {
    std::int32_t count;
    std::int32_t phase;
    std::int32_t lengths[TESSRO_MAX_DASH_LENGTHS];
};

// ---- Path geometry ----
int TessroSetFlatness(TessroContext* context, std::int32_t n);
int TessroSetMitreLimit(TessroContext* context, std::int32_t limit);  // 16.16
int TessroSetDashFitting(TessroContext* context, int on);
int TessroSetStrokeSnapping(TessroContext* context, int on);
// No context: min and max of the points.
int TessroGetPointsBounds(const TessroPoint* points, std::int32_t count, std::int32_t rect[4]);
// flattenCurves 0: the points' bounds; otherwise the bounds of the flattened path.
int TessroGetPathBounds(TessroContext* context, const TessroPoint* points,
                        const unsigned char* verbs, std::int32_t count, std::int32_t rect[4],
                        int flattenCurves);
int TessroTransformPoints(TessroContext* context, const TessroPoint* source,
                          TessroPoint* destination, std::int32_t count,
                          const struct TessroMatrix* matrix);
// Moves axis-parallel segments onto pixel centres or edges for a stroke of the given width.
int TessroSnapPath(TessroContext* context, TessroPoint* points, const unsigned char* verbs,
                   std::int32_t count, int closeAll, std::int32_t width);

// ---- Stroking ----
// The outline of the stroked path as a path; answers the number of points written.
int TessroStrokePathToPath(TessroContext* context, const TessroPoint* points,
                           const unsigned char* verbs, std::int32_t count, TessroPoint* outPoints,
                           unsigned char* outVerbs, std::int32_t capacity, int closeAll,
                           std::int32_t width, int cap, int join, const TessroDashPattern* dash);
int TessroGetStrokePathBounds(TessroContext* context, const TessroPoint* points,
                              const unsigned char* verbs, std::int32_t count,
                              std::int32_t rect[4], int closeAll, std::int32_t width, int cap,
                              int join, const TessroDashPattern* dash);
int TessroStrokePath(TessroContext* context, const TessroPoint* points,
                     const unsigned char* verbs, std::int32_t count, int closeAll,
                     std::int32_t width, int cap, int join, const TessroDashPattern* dash);

// ---- Path fills ----
int TessroFillPath(TessroContext* context, const TessroPoint* points, const unsigned char* verbs,
                   std::int32_t count, DWORD rule);
// Edge by edge: begin, add segments (x0, y0, x1, y1 in user units, as doubles), fill. With
// boundsOnly the segments only grow the changed area. With antialiasing on, the fill adds
// coverage counts (25 for a covered pixel) to an 8-bit target instead of painting.
int TessroBeginEdges(TessroContext* context, DWORD rule, int boundsOnly);
int TessroAddEdge(TessroContext* context, const double line[4], int reverse);
int TessroFillEdges(TessroContext* context);

// ---- Hit tests and statistics ----
// 1 when the fill or stroke would paint a pixel inside the clip, 0 when not, -1 on failure.
int TessroHitTestPath(TessroContext* context, const TessroPoint* points,
                      const unsigned char* verbs, std::int32_t count, DWORD rule);
int TessroHitTestStroke(TessroContext* context, const TessroPoint* points,
                        const unsigned char* verbs, std::int32_t count, int closeAll,
                        std::int32_t width, int cap, int join, const TessroDashPattern* dash);
const int TESSRO_STATISTICS_BYTES = 144;
int TessroGetPathPixelStatistics(TessroContext* context, const TessroPoint* points,
                                 const unsigned char* verbs, std::int32_t count, DWORD rule,
                                 void* record);

// ---- Region recording ----
// The buffer the next fills with the region-recording style (30) write a clip region into.
// The record is a TessroClipRegion (its size field: the bytes used) followed by the row data.
// TessroGetRecordedRegionSize answers the bytes the last recording used.
const DWORD TESSRO_FILL_RECORD_REGION = 30;
int TessroSetRegionBuffer(TessroContext* context, void* buffer, DWORD byteSize);
int TessroGetRecordedRegionSize(TessroContext* context);

// ---- Scrolling ----
int TessroScrollBitmap(TessroContext* context, std::int32_t dx, std::int32_t dy);
