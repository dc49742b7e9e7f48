// Clip regions, region recording and the hit-test routines.
//
// A region record (caller-owned, read in place) is the TessroClipRegion header (kind, bounds,
// the byte size of the whole record), then the row data:
//   kind 0: a table of one 16-bit word per pixel row (0: no spans, else the distance in 16-bit
//           words from that table word to the row's span list); span lists of 32-bit words,
//           low half x0 (15 bits) with bit 15 on the row's last span, high half x1 (exclusive);
//   kind 1: a stream of sub-row records (five sub-rows per pixel row), x in device units:
//           literal: pairs x0, x1 ending with the pair whose x1 has bit 31 set;
//           delta:   marker 0x80000000 | n, then (dx0, dx1) per span of the current list,
//                    applied to this sub-row and again to each of the next n;
//           empty:   marker 0xC0000000 | n: this sub-row and the next n have no spans.
// Every read is checked against the record's size; a record that runs short or holds more
// spans than a sub-row can carry fails with 11 "Incompatible region".
#pragma once

#include "raster/TessroInternal.h"

const DWORD kTessroRegionHeaderBytes = sizeof(TessroClipRegion);
const DWORD kTessroRegionLast = 0x8000;      // kind 0: last span of a row
const DWORD kTessroRegionEnd = 0x80000000u;  // kind 1: end of a literal record / a marker
const DWORD kTessroRegionEmpty = 0x40000000u;
const DWORD kTessroRegionCountMask = 0x3FFFFFFFu;

// Replaces begin, row start and span of the prepared routines with the kind-0 clipping
// routines that cut every span to the region's spans on its row.
void TessroWrapRegionRows(TessroContext* context);

// Kind 1: positions the reader on the first sub-row of pixel row top.
void TessroBeginRegionSubRows(TessroContext* context, std::int32_t top);
// The spans (device units, pairs) of the next sub-row; count in pairs.
const std::int32_t* TessroReadRegionSubRow(TessroContext* context, std::int32_t* count);

// Adds the parts of [a, b) that overlap the given spans through the accumulator.
void TessroAccumulateInside(TessroContext* context, std::int32_t a, std::int32_t b,
                            const std::int32_t* spans, std::int32_t count);

// The routines of the measuring styles 30 (region recording) and 31 (hit test), aliased or
// in coverage mode (a region is wrapped by the caller). In coverage mode the path loop calls
// context->path.subRowEnd after each sub-row.
void TessroSelectMeasuringRoutines(TessroContext* context);

// The hit-test span: records the hit and ends the operation.
void TessroHitSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0,
                   std::int32_t x1);
