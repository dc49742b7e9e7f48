// Working state of the path operations kept inside the TessroContext: the first edge-record
// block and the active-edge index, the coverage buffer of antialiased rows, and the cursors of
// clip-region reading and region recording. Everything here belongs to one operation except the
// edge storage, which stays allocated until the next path operation empties it.
#pragma once

#include <cstdint>

#include "raster/TessroApi.h"

// ---- Fixed-point scales ----
const int kTessroUnitShift = 14;                       // device units: 1/16384 px
const std::int32_t kTessroUnitOne = 1 << kTessroUnitShift;
const std::int32_t kTessroUnitHalf = kTessroUnitOne / 2;
const std::int32_t kTessroUnitMask = kTessroUnitOne - 1;
const int kTessroSubRows = 5;                            // coverage samples per pixel row
const int kTessroSubRowShift = 12;                       // sub-row units after scaling y by 5/4
const std::int32_t kTessroSubRowHalf = 1 << (kTessroSubRowShift - 1);
const std::int32_t kTessroRetired = 0x7FFFFFFF;          // x of an edge past its last row

// Edge geometry is kept inside this band of device coordinates (about 32,768 px either side of
// the origin); segments reaching beyond it are cut at the band, so that no slope, product or
// per-row step can overflow 32 bits. The widest target is 16,384 px.
const std::int64_t kTessroEdgeBand = std::int64_t(1) << 29;

// ---- Storage sizes ----
const int kTessroMaxRowPixels = 16384;
// One word more than the widest row: the clear of a full-width dirtied range reaches word
// width / 4, and the writers park their sentinel in the byte after the last pixel.
const int kTessroCoverageWords = kTessroMaxRowPixels / 4 + 1;
const int kTessroMaxRegionSpans = 1024;   // spans of one sub-row of a sampled clip region
const int kTessroMaxRowSpans = 8192;      // aliased spans of one row sampled by a region

struct TessroShortEdge {
    std::int32_t x;       // at the centre of the current row, device units; kTessroRetired
    std::int32_t slope;   // x step per row
    std::int32_t first;   // first row covered
    DWORD lastAndDirection;  // low 24 bits: last row; top byte: +1 / -1 (signed)
};
static_assert(sizeof(TessroShortEdge) == 16, "short edge records are 16 bytes");

struct TessroHairlineEdge {
    std::int32_t left;    // swept range on the current row; kTessroRetired
    std::int32_t slope;
    std::int32_t first;
    std::int32_t last;
    std::int32_t right;
    std::int32_t minX;
    std::int32_t maxX;
    std::int32_t width;
};
static_assert(sizeof(TessroHairlineEdge) == 32, "hairline records are 32 bytes");

typedef void (*TessroCoverageAddFunc)(TessroContext* context, std::int32_t a, std::int32_t b);
typedef void (*TessroCoverageWriteFunc)(TessroContext* context, BYTE* row, std::int32_t y,
                                        std::int32_t x0, std::int32_t x1);

struct TessroPathArea {
    // Edge table: the current block's write position and end; the count of records; the
    // operation bounds in device units (left, top, right, bottom); the index of record pointers
    // (0, records..., 0) with the split between pending and active entries and the active end.
    alignas(8) BYTE firstEdgeBlock[32768];
    BYTE* writePosition;
    BYTE* blockEnd;
    void* currentBlock;        // the block being written (the first one or the last extra one)
    std::int32_t edgeCount;
    std::int32_t bounds[4];
    BYTE shortRecords;          // record-size selector: non-zero = short records
    void** pointerTable;
    std::int32_t split;
    std::int32_t activeEnd;
    std::int32_t currentRow;

    // The context whose storage the edge fields describe: a byte copy of a context (which
    // shares the source's blocks) starts its own table instead of writing into the source's.
    const void* edgeOwner;

    // Edge-by-edge interface: bounds only, not edges.
    BYTE boundsOnly;

    // Coverage: one byte per pixel, the dirtied range in device units.
    DWORD coverage[kTessroCoverageWords];
    std::int32_t dirtyStart;
    std::int32_t dirtyEnd;

    // Clip-region reading.
    const BYTE* regionCursor;
    const BYTE* regionEnd;
    const BYTE* rowSpans;          // kind 0: the current row's span list, null when none left
    std::int32_t subRowSpans[2 * kTessroMaxRegionSpans];
    std::int32_t subRowSpanCount;  // -1: no literal record read yet
    std::int32_t pendingRepeat;
    BYTE pendingKind;              // 0 none, 1 delta, 2 empty
    const BYTE* lastDelta;

    // Region recording into a caller's buffer.
    BYTE* recordBuffer;
    DWORD recordCapacity;
    DWORD recordUsed;
    std::int32_t recordRowTable;   // byte offset of the row table
    std::int32_t recordRow;
    std::int32_t recordRowList;    // byte offset of the current row's list
    std::int32_t recordPreviousList;
    std::int32_t recordPreviousCount;
    std::int32_t recordRowSpanCount;
    std::int32_t recordSpans[2][2 * kTessroMaxRegionSpans];
    std::int32_t recordSpanCount[2];
    std::int32_t recordParity;
    std::int32_t recordPreviousRecord;   // offset of the last emitted record, -1 none
    BYTE recordPreviousKind;              // 0 literal, 1 delta, 2 empty
    std::int32_t recordPreviousDeltas[4 * kTessroMaxRegionSpans];  // held, then staged

    // Curve walks: the user's state behind the point callback; the current device point of the
    // path walk and its subpath start.
    void* walkState;
    std::int32_t currentX, currentY;
    std::int32_t subpathX, subpathY;
    std::int32_t walkDepth;

    // Coverage routines of the running operation.
    TessroCoverageAddFunc accumulate;
    TessroCoverageWriteFunc writeCoverage;
    TessroCoverageWriteFunc innerWriteCoverage;  // the writer a wrapping writer calls
    void (*subRowEnd)(TessroContext* context);   // region recording in coverage mode

    // The prepared routines a kind-0 region wraps.
    void (*savedBegin)(TessroContext* context);
    void (*savedRowStart)(TessroContext* context);
    void (*savedSpan)(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0,
                      std::int32_t x1);

    // Aliased spans of the current row, for a fill through a sampled region.
    std::int32_t rowAliasedSpans[2 * kTessroMaxRowSpans];

    // Pixel statistics of the last statistics pass (36 dwords).
    DWORD statistics[36];
    BYTE stop;   // the hit test ends the operation
};
