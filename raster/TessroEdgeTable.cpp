// The edge table: records, storage blocks, the pointer index, sorting and row stepping.
#include "raster/TessroEdgeTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const std::int32_t kEmptyLow = 0x7FFFFFFF;
const std::int32_t kEmptyHigh = static_cast<std::int32_t>(0x80000000u);
const std::size_t kBlockLinkBytes = sizeof(void*);

void* BlockLink(void* block) {
    void* link;
    std::memcpy(&link, static_cast<BYTE*>(block) + kTessroEdgeBlockBytes, sizeof(link));
    return link;
}
void SetBlockLink(TessroContext* context, void* block, void* link) {
    if (block == context->path.firstEdgeBlock) {
        context->extraEdgeBlocks = link;
    } else {
        std::memcpy(static_cast<BYTE*>(block) + kTessroEdgeBlockBytes, &link, sizeof(link));
    }
}

// Room for one record; a full block chains a new one from the memory handlers.
BYTE* Reserve(TessroContext* context, std::size_t bytes) {
    TessroPathArea& path = context->path;
    if (path.writePosition + bytes > path.blockEnd) {
        void* block = TessroAllocate(context, kTessroEdgeBlockBytes + kBlockLinkBytes);
        void* none = nullptr;
        std::memcpy(static_cast<BYTE*>(block) + kTessroEdgeBlockBytes, &none, sizeof(none));
        SetBlockLink(context, path.currentBlock, block);
        path.currentBlock = block;
        path.writePosition = static_cast<BYTE*>(block);
        path.blockEnd = path.writePosition + kTessroEdgeBlockBytes;
    }
    BYTE* record = path.writePosition;
    path.writePosition += bytes;
    ++path.edgeCount;
    return record;
}

std::int32_t Clamp32(std::int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

// x step per row of a segment dx over dy rows scaled by 2^shift: |dx| * 2^shift / dy when the
// quotient fits a signed 32-bit value, else dx itself (a nearly horizontal segment jumps its
// whole run in one row).
std::int32_t Slope(std::int64_t dx, std::int64_t dy, int shift) {
    const std::uint64_t magnitude = static_cast<std::uint64_t>(dx < 0 ? -dx : dx) << shift;
    const std::uint64_t quotient = magnitude / static_cast<std::uint64_t>(dy);
    const std::int64_t slope = quotient > 0x7FFFFFFFu ? (dx < 0 ? -dx : dx)
                                                      : static_cast<std::int64_t>(quotient);
    return static_cast<std::int32_t>(dx < 0 ? -slope : slope);
}

// floor(v / 2^shift) for a 64-bit product.
std::int64_t FloorShift(std::int64_t v, int shift) { return v >> shift; }

void GrowBounds(TessroPathArea& path, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                std::int64_t y1) {
    const std::int32_t left = static_cast<std::int32_t>(std::min(x0, x1));
    const std::int32_t right = static_cast<std::int32_t>(std::max(x0, x1));
    if (left < path.bounds[0]) path.bounds[0] = left;
    if (right > path.bounds[2]) path.bounds[2] = right;
    if (y0 < path.bounds[1]) path.bounds[1] = static_cast<std::int32_t>(y0);
    if (y1 > path.bounds[3]) path.bounds[3] = static_cast<std::int32_t>(y1);
}

// One segment inside the edge band, upper point (x0, y0), lower (x1, y1), y0 <= y1.
void AddShort(TessroContext* context, std::int64_t x0, std::int64_t y0, std::int64_t x1,
              std::int64_t y1, int direction) {
    int shift = kTessroUnitShift;
    if (context->coverageMode) {
        // Five sub-rows per pixel: y * 5/4 with 12 fraction bits.
        y0 += y0 >> 2;
        y1 += y1 >> 2;
        shift = kTessroSubRowShift;
    }
    const std::int64_t one = std::int64_t(1) << shift;
    const std::int64_t half = one >> 1;
    const std::int64_t dy = y1 - y0;
    if (dy == 0) return;
    const std::int32_t slope = Slope(x1 - x0, dy, shift);
    const std::int64_t fraction = y0 & (one - 1);
    std::int64_t x = x0 - FloorShift((fraction - half) * slope, shift);
    std::int64_t first = y0 >> shift;
    if (fraction >= half) {
        ++first;
        x += slope;
    }
    std::int64_t last = (y1 >> shift) - 1;
    if ((y1 & (one - 1)) >= half) ++last;
    if (last < 0 || first > last) return;
    TessroShortEdge* edge = reinterpret_cast<TessroShortEdge*>(Reserve(context, sizeof(TessroShortEdge)));
    edge->x = Clamp32(x);
    edge->slope = slope;
    edge->first = static_cast<std::int32_t>(first);
    edge->lastAndDirection = (static_cast<DWORD>(last) & 0xFFFFFF) |
                             (static_cast<DWORD>(static_cast<BYTE>(direction)) << 24);
}

void AddHairline(TessroContext* context, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                 std::int64_t y1) {
    const std::int64_t first = y0 >> kTessroUnitShift;
    const std::int64_t last = y1 >> kTessroUnitShift;
    TessroHairlineEdge e{};
    e.first = static_cast<std::int32_t>(first);
    e.last = static_cast<std::int32_t>(last);
    if (first == last) {
        e.slope = 0;
        e.minX = static_cast<std::int32_t>(std::min(x0, x1) - kTessroUnitHalf);
        e.maxX = static_cast<std::int32_t>(std::max(x0, x1) + kTessroUnitHalf);
        e.left = e.minX;
        e.width = static_cast<std::int32_t>((x1 > x0 ? x1 - x0 : x0 - x1) + kTessroUnitOne);
    } else {
        e.slope = Slope(x1 - x0, y1 - y0, kTessroUnitShift);
        const std::int64_t fraction = y0 & kTessroUnitMask;
        const std::int64_t x =
            x0 - FloorShift((fraction - kTessroUnitHalf) * e.slope, kTessroUnitShift);
        if (e.slope == 0) {
            const std::int64_t centre = (x0 + x1) >> 1;
            e.width = kTessroUnitOne;
            e.minX = static_cast<std::int32_t>(centre - kTessroUnitHalf);
            e.maxX = static_cast<std::int32_t>(centre + kTessroUnitHalf);
            e.left = e.minX;
        } else {
            e.width = std::max<std::int32_t>(e.slope < 0 ? -e.slope : e.slope, kTessroUnitOne);
            e.minX = static_cast<std::int32_t>(std::min(x0, x1) - kTessroUnitHalf);
            e.maxX = static_cast<std::int32_t>(std::max(x0, x1) + kTessroUnitHalf);
            e.left = Clamp32(x - (e.width >> 1));
        }
    }
    e.right = e.left + e.width;
    std::memcpy(Reserve(context, sizeof(TessroHairlineEdge)), &e, sizeof(e));
}

// Stores one segment that lies inside the edge band; S is the previous point.
void AddInBand(TessroContext* context, std::int64_t sx, std::int64_t sy, std::int64_t ex,
               std::int64_t ey) {
    if (sx == ex && sy == ey) return;
    const int direction = ey <= sy ? 1 : -1;
    std::int64_t x0 = ex, y0 = ey, x1 = sx, y1 = sy;  // upper, lower
    if (direction < 0) x0 = sx, y0 = sy, x1 = ex, y1 = ey;
    GrowBounds(context->path, x0, y0, x1, y1);
    if (context->path.shortRecords) {
        AddShort(context, x0, y0, x1, y1, direction);
    } else {
        AddHairline(context, x0, y0, x1, y1);
    }
}

// The y at which the segment crosses x = bound (the segment does cross it).
std::int64_t CrossingY(std::int64_t sx, std::int64_t sy, std::int64_t ex, std::int64_t ey,
                       std::int64_t bound) {
    const long double t = static_cast<long double>(bound - sx) / static_cast<long double>(ex - sx);
    return sy + static_cast<std::int64_t>(std::llround(t * static_cast<long double>(ey - sy)));
}

}  // namespace

void TessroEmptyEdges(TessroContext* context) {
    TessroPathArea& path = context->path;
    if (path.edgeOwner != context) {
        // A fresh or copied record: any chained blocks belong to the record copied from.
        context->extraEdgeBlocks = nullptr;
        context->edgePointers = nullptr;
        context->edgePointersOnHeap = 0;
    } else if (context->freeHandler != nullptr) {
        void* block = context->extraEdgeBlocks;
        while (block != nullptr) {
            void* next = BlockLink(block);
            context->freeHandler(block);
            block = next;
        }
        context->extraEdgeBlocks = nullptr;
        if (context->edgePointersOnHeap && context->edgePointers != nullptr) {
            context->freeHandler(context->edgePointers);
        }
        context->edgePointers = nullptr;
        context->edgePointersOnHeap = 0;
    }
    path.edgeOwner = context;
    path.currentBlock = path.firstEdgeBlock;
    path.writePosition = path.firstEdgeBlock;
    path.blockEnd = path.firstEdgeBlock + sizeof(path.firstEdgeBlock);
    path.edgeCount = 0;
    path.bounds[0] = path.bounds[1] = kEmptyLow;
    path.bounds[2] = path.bounds[3] = kEmptyHigh;
    path.pointerTable = nullptr;
}

bool TessroEdgeTableUsable(const TessroContext* context) {
    const TessroPathArea& path = context->path;
    return path.edgeOwner == context &&
           (path.currentBlock == path.firstEdgeBlock || context->extraEdgeBlocks != nullptr);
}

void TessroAddSegment(TessroContext* context, std::int32_t sx, std::int32_t sy, std::int32_t ex,
                      std::int32_t ey) {
    if (sx == ex && sy == ey) return;
    const std::int32_t* clip = context->draw.clipDevice;
    if ((sy < clip[1] && ey < clip[1]) || (sy >= clip[3] && ey >= clip[3])) return;
    // Beyond the band a segment is replaced by its crossing points joined by a vertical piece
    // at the band edge: the rows it covers and its direction are kept, which is all a fill
    // left or right of every clip rectangle depends on.
    std::int64_t x0 = sx, y0 = sy, x1 = ex, y1 = ey;
    const std::int64_t bands[2] = {-kTessroEdgeBand, kTessroEdgeBand};
    std::int64_t px[4] = {x0}, py[4] = {y0};
    int n = 1;
    // Crossings in order along the segment.
    std::int64_t cy[2];
    int crossings = 0;
    const bool ascending = x1 > x0;
    for (int k = 0; k < 2; ++k) {
        const std::int64_t bound = bands[ascending ? k : 1 - k];
        if ((x0 < bound && x1 > bound) || (x0 > bound && x1 < bound)) {
            cy[crossings] = CrossingY(x0, y0, x1, y1, bound);
            px[n] = bound, py[n] = cy[crossings];
            ++n, ++crossings;
        }
    }
    px[n] = x1, py[n] = y1;
    ++n;
    for (int i = 0; i + 1 < n; ++i) {
        const std::int64_t xa = std::min(std::max(px[i], bands[0]), bands[1]);
        const std::int64_t xb = std::min(std::max(px[i + 1], bands[0]), bands[1]);
        AddInBand(context, xa, py[i], xb, py[i + 1]);
    }
}

std::int32_t TessroBuildEdgeIndex(TessroContext* context) {
    TessroPathArea& path = context->path;
    const std::int32_t n = path.edgeCount;
    const std::size_t needed = (static_cast<std::size_t>(n) + 2) * sizeof(void*);
    void** table;
    BYTE* aligned = reinterpret_cast<BYTE*>(
        (reinterpret_cast<std::uintptr_t>(path.writePosition) + alignof(void*) - 1) &
        ~(static_cast<std::uintptr_t>(alignof(void*)) - 1));
    if (aligned + needed <= path.blockEnd) {
        table = reinterpret_cast<void**>(aligned);
    } else {
        table = static_cast<void**>(TessroAllocate(context, static_cast<DWORD>(needed)));
        context->edgePointers = table;
        context->edgePointersOnHeap = 1;
    }
    // Records in storage order: the first block, then the chain.
    const std::size_t recordBytes =
        path.shortRecords ? sizeof(TessroShortEdge) : sizeof(TessroHairlineEdge);
    const std::size_t perBlock = kTessroEdgeBlockBytes / recordBytes;
    table[0] = nullptr;
    BYTE* block = path.firstEdgeBlock;
    std::size_t inBlock = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        if (inBlock == perBlock) {
            block = static_cast<BYTE*>(block == path.firstEdgeBlock ? context->extraEdgeBlocks
                                                                    : BlockLink(block));
            inBlock = 0;
        }
        table[i + 1] = block + inBlock * recordBytes;
        ++inBlock;
    }
    table[n + 1] = nullptr;
    path.pointerTable = table;
    path.split = n + 1;
    path.activeEnd = n + 1;
    return n;
}

void TessroSortEdges(TessroContext* context) {
    TessroPathArea& path = context->path;
    void** begin = path.pointerTable + 1;
    void** end = path.pointerTable + 1 + path.edgeCount;
    // Highest first row first, so that the next edge to start sits next to the split. Both
    // record kinds keep the first row in their third word.
    std::sort(begin, end, [](void* p, void* q) {
        return static_cast<const std::int32_t*>(p)[2] > static_cast<const std::int32_t*>(q)[2];
    });
}

TessroShortEdge** TessroStepShortEdges(TessroContext* context, std::int32_t row) {
    TessroPathArea& path = context->path;
    TessroShortEdge** table = reinterpret_cast<TessroShortEdge**>(path.pointerTable);
    for (std::int32_t i = path.split; i < path.activeEnd; ++i) {
        TessroShortEdge* e = table[i];
        if (row > TessroEdgeLast(e)) {
            e->x = kTessroRetired;
        } else {
            e->x += e->slope;
        }
    }
    while (table[path.split - 1] != nullptr && table[path.split - 1]->first <= row) {
        TessroShortEdge* e = table[--path.split];
        if (row > TessroEdgeLast(e)) {
            e->x = kTessroRetired;
        } else {
            e->x = Clamp32(e->x + static_cast<std::int64_t>(row - e->first) * e->slope);
        }
    }
    // Insertion sort by x; the order barely changes from row to row.
    for (std::int32_t i = path.split + 1; i < path.activeEnd; ++i) {
        TessroShortEdge* e = table[i];
        std::int32_t j = i;
        while (j > path.split && table[j - 1]->x > e->x) {
            table[j] = table[j - 1];
            --j;
        }
        table[j] = e;
    }
    while (path.activeEnd > path.split && table[path.activeEnd - 1]->x == kTessroRetired) {
        --path.activeEnd;
    }
    table[path.activeEnd] = nullptr;
    return table + path.split;
}

TessroHairlineEdge** TessroStepHairlineEdges(TessroContext* context, std::int32_t row) {
    TessroPathArea& path = context->path;
    TessroHairlineEdge** table = reinterpret_cast<TessroHairlineEdge**>(path.pointerTable);
    for (std::int32_t i = path.split; i < path.activeEnd; ++i) {
        TessroHairlineEdge* e = table[i];
        if (row > e->last) {
            e->left = kTessroRetired;
        } else {
            e->right += e->slope;
            e->left = std::max(e->right - e->width, e->minX);
        }
    }
    while (table[path.split - 1] != nullptr && table[path.split - 1]->first <= row) {
        TessroHairlineEdge* e = table[--path.split];
        if (row > e->last) {
            e->left = kTessroRetired;
        } else {
            e->left = Clamp32(e->left + static_cast<std::int64_t>(row - e->first) * e->slope);
            e->right = e->left + e->width;
            e->left = std::max(e->left, e->minX);
        }
    }
    for (std::int32_t i = path.split + 1; i < path.activeEnd; ++i) {
        TessroHairlineEdge* e = table[i];
        std::int32_t j = i;
        while (j > path.split && table[j - 1]->left > e->left) {
            table[j] = table[j - 1];
            --j;
        }
        table[j] = e;
    }
    while (path.activeEnd > path.split && table[path.activeEnd - 1]->left == kTessroRetired) {
        --path.activeEnd;
    }
    table[path.activeEnd] = nullptr;
    return table + path.split;
}
