// The edge table: straight device-space segments become records that cover whole rows (pixel
// rows, or sub-rows of five per pixel row in coverage mode), stored in 32 KB blocks (the first
// inside the context), indexed by a pointer table, sorted by first row and stepped row by row
// into an active list ordered by x.
//
// Protocol of one operation:
//   TessroEmptyEdges; TessroAddSegment per segment (the path walk, the stroker);
//   TessroBuildEdgeIndex (returns the count); TessroSortEdges;
//   then per row, rows ascending from the operation's top: TessroStep*Edges(row), which answers
//   the active list (record pointers, closed by a null entry).
#pragma once

#include "raster/TessroInternal.h"

// Releases the extra blocks and a heap index, makes the first block current, count 0, bounds
// empty. The selector (short or hairline records) and coverage mode are read when adding.
void TessroEmptyEdges(TessroContext* context);

// False when the table must be emptied before use: never set up in this record (fresh, or a
// byte copy of another), or its blocks released since (a failure, TessroFreeBuffers).
bool TessroEdgeTableUsable(const TessroContext* context);

// Adds the segment from S to E (device units): at most one record (more for segments cut at the
// edge band). Fails with 20 / 16 when a new block cannot be had.
void TessroAddSegment(TessroContext* context, std::int32_t sx, std::int32_t sy, std::int32_t ex,
                      std::int32_t ey);

// The pointer index (0, one pointer per record in storage order, 0): inside the current block
// when it fits, else through the memory handlers. Answers the edge count.
std::int32_t TessroBuildEdgeIndex(TessroContext* context);
void TessroSortEdges(TessroContext* context);

TessroShortEdge** TessroStepShortEdges(TessroContext* context, std::int32_t row);
TessroHairlineEdge** TessroStepHairlineEdges(TessroContext* context, std::int32_t row);

inline std::int32_t TessroEdgeLast(const TessroShortEdge* edge) {
    return static_cast<std::int32_t>(edge->lastAndDirection & 0xFFFFFF);
}
inline int TessroEdgeDirection(const TessroShortEdge* edge) {
    return static_cast<signed char>(edge->lastAndDirection >> 24);
}

// Rounding of device values to pixels: nearest, ties toward +infinity.
inline std::int32_t TessroRoundToPixel(std::int32_t v) {
    return (v >> kTessroUnitShift) + ((v >> (kTessroUnitShift - 1)) & 1);
}
inline std::int32_t TessroFloorToPixel(std::int32_t v) { return v >> kTessroUnitShift; }
inline std::int32_t TessroCeilToPixel(std::int32_t v) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(v) + kTessroUnitMask) >>
                                     kTessroUnitShift);
}
