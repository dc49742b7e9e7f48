// Clip regions (whole-pixel and sampled), region recording and hit testing.
#include "raster/TessroRegion.h"

#include <algorithm>
#include <cstring>

#include "raster/TessroCoverage.h"
#include "raster/TessroDrawInternal.h"
#include "raster/TessroPathApi.h"

namespace {

const BYTE kPendingNone = 0, kPendingDelta = 1, kPendingEmpty = 2;
const DWORD kMaxKind0X = 0x7FFF;

const BYTE* RegionBytes(const TessroClipRegion* region) {
    return reinterpret_cast<const BYTE*>(region);
}

DWORD RegionSize(const TessroClipRegion* region) { return region->size; }

// Reads a word at p, which must lie inside [start, end).
DWORD ReadWord(TessroContext* context, const BYTE* p) {
    if (p < RegionBytes(context->draw.clipRegion) || p + 4 > context->path.regionEnd) {
        TessroFail(TESSRO_ERROR_INCOMPATIBLE_REGION);
    }
    DWORD v;
    std::memcpy(&v, p, 4);
    return v;
}

WORD ReadHalf(TessroContext* context, const BYTE* p) {
    if (p < RegionBytes(context->draw.clipRegion) || p + 2 > context->path.regionEnd) {
        TessroFail(TESSRO_ERROR_INCOMPATIBLE_REGION);
    }
    WORD v;
    std::memcpy(&v, p, 2);
    return v;
}

void OpenRegion(TessroContext* context) {
    const TessroClipRegion* region = context->draw.clipRegion;
    const DWORD size = RegionSize(region);
    if (size < kTessroRegionHeaderBytes) TessroFail(TESSRO_ERROR_INCOMPATIBLE_REGION);
    context->path.regionEnd = RegionBytes(region) + size;
}

// ---- Kind 0: whole-pixel spans ----
void Kind0Begin(TessroContext* context) {
    const TessroClipRegion* region = context->draw.clipRegion;
    OpenRegion(context);
    // The record's top may lie anywhere (INT_MIN included): the row is taken in 64 bits, and a
    // row beyond the record puts the cursor at its end, where the first read fails.
    const std::int64_t row = std::int64_t(context->draw.bounds[1]) - region->top;
    const std::int64_t rows = (std::int64_t(RegionSize(region)) - kTessroRegionHeaderBytes) / 2;
    context->path.regionCursor = RegionBytes(region) + kTessroRegionHeaderBytes + 2 * std::clamp<std::int64_t>(row, 0, rows);
    context->path.rowSpans = nullptr;
    context->path.savedBegin(context);
}

void Kind0RowStart(TessroContext* context) {
    TessroPathArea& path = context->path;
    const WORD distance = ReadHalf(context, path.regionCursor);
    path.rowSpans = distance == 0 ? nullptr : path.regionCursor + 2 * distance;
    path.regionCursor += 2;
    path.savedRowStart(context);
}

void Kind0Span(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroPathArea& path = context->path;
    while (path.rowSpans != nullptr) {
        const DWORD word = ReadWord(context, path.rowSpans);
        const std::int32_t r0 = static_cast<std::int32_t>(word & kMaxKind0X);
        const std::int32_t r1 = static_cast<std::int32_t>(word >> 16);
        const std::int32_t from = std::max(x0, r0);
        if (x1 <= r1) {
            if (from < x1) path.savedSpan(context, row, y, from, x1);
            return;
        }
        if (from < r1) path.savedSpan(context, row, y, from, r1);
        if (word & kTessroRegionLast) {
            path.rowSpans = nullptr;
            return;
        }
        path.rowSpans += 4;
    }
}

// ---- Hit test ----
void MeasureBegin(TessroContext* context) { context->draw.row = context->draw.bounds[1]; }
void MeasureRowEnd(TessroContext* context) { ++context->draw.row; }
void NoWrite(TessroContext*, BYTE*, std::int32_t, std::int32_t, std::int32_t) {}

void HitAccumulate(TessroContext* context, std::int32_t a, std::int32_t b) {
    if (a < b) {
        context->hitTestResult = 1;
        context->path.stop = 1;
    }
}

// ---- Recording ----
void Full() { TessroFail(TESSRO_ERROR_BUFFER_FULL); }

void Put(TessroContext* context, DWORD offset, const void* data, DWORD bytes) {
    TessroPathArea& path = context->path;
    if (offset > path.recordCapacity || bytes > path.recordCapacity - offset) Full();
    std::memcpy(path.recordBuffer + offset, data, bytes);
}

void PutWord(TessroContext* context, DWORD offset, DWORD value) { Put(context, offset, &value, 4); }

void Append(TessroContext* context, DWORD value) {
    PutWord(context, context->path.recordUsed, value);
    context->path.recordUsed += 4;
}

void RecordHeader(TessroContext* context, DWORD kind) {
    TessroPathArea& path = context->path;
    if (path.recordBuffer == nullptr || path.recordCapacity < kTessroRegionHeaderBytes) Full();
    const std::int32_t* b = context->draw.bounds;
    PutWord(context, 0, kind);
    for (int k = 0; k < 4; ++k) PutWord(context, 4 + 4 * k, static_cast<DWORD>(b[k]));
    PutWord(context, 20, 0);
    path.recordUsed = kTessroRegionHeaderBytes;
}

void RecordFinish(TessroContext* context) {
    PutWord(context, 20, context->path.recordUsed);
}

void RecordBegin(TessroContext* context) {
    TessroPathArea& path = context->path;
    RecordHeader(context, 0);
    const DWORD rows = static_cast<DWORD>(context->draw.bounds[3] - context->draw.bounds[1]);
    path.recordRowTable = static_cast<std::int32_t>(path.recordUsed);
    const DWORD tableEnd = (path.recordUsed + 2 * rows + 3) & ~3u;
    if (tableEnd > path.recordCapacity) Full();
    std::memset(path.recordBuffer + path.recordUsed, 0, tableEnd - path.recordUsed);
    path.recordUsed = tableEnd;
    path.recordRow = 0;
    path.recordPreviousList = -1;
    path.recordPreviousCount = 0;
    MeasureBegin(context);
}

void RecordRowStart(TessroContext* context) {
    context->path.recordRowList = static_cast<std::int32_t>(context->path.recordUsed);
    context->path.recordRowSpanCount = 0;
}

void RecordSpan(TessroContext* context, BYTE*, std::int32_t, std::int32_t x0, std::int32_t x1) {
    Append(context, static_cast<DWORD>(x0) | (static_cast<DWORD>(x1) << 16));
    ++context->path.recordRowSpanCount;
}

void RecordRowEnd(TessroContext* context) {
    TessroPathArea& path = context->path;
    const DWORD tableWord = static_cast<DWORD>(path.recordRowTable) + 2 * path.recordRow;
    WORD distance = 0;
    if (path.recordRowSpanCount > 0) {
        const DWORD lastOffset = path.recordUsed - 4;
        DWORD last;
        std::memcpy(&last, path.recordBuffer + lastOffset, 4);
        PutWord(context, lastOffset, last | kTessroRegionLast);
        DWORD list = static_cast<DWORD>(path.recordRowList);
        const DWORD bytes = 4 * static_cast<DWORD>(path.recordRowSpanCount);
        if (path.recordPreviousList >= 0 && path.recordPreviousCount == path.recordRowSpanCount &&
            std::memcmp(path.recordBuffer + path.recordPreviousList, path.recordBuffer + list,
                        bytes) == 0) {
            path.recordUsed = list;  // share the previous row's list
            list = static_cast<DWORD>(path.recordPreviousList);
        }
        const DWORD words = (list - tableWord) / 2;
        if (words > 0xFFFF) Full();  // beyond what a table word can point to
        distance = static_cast<WORD>(words);
        path.recordPreviousList = static_cast<std::int32_t>(list);
        path.recordPreviousCount = path.recordRowSpanCount;
    }
    Put(context, tableWord, &distance, 2);
    ++path.recordRow;
    MeasureRowEnd(context);
}

// Kind 1: spans of a sub-row collected, then emitted as an empty, literal or delta record.
void CollectSpan(TessroContext* context, std::int32_t a, std::int32_t b) {
    TessroPathArea& path = context->path;
    std::int32_t& count = path.recordSpanCount[path.recordParity];
    if (count == kTessroMaxRegionSpans) Full();
    path.recordSpans[path.recordParity][2 * count] = a;
    path.recordSpans[path.recordParity][2 * count + 1] = b;
    ++count;
}

void RecordSubRowEnd(TessroContext* context) {
    TessroPathArea& path = context->path;
    const int now = path.recordParity;
    const std::int32_t count = path.recordSpanCount[now];
    const std::int32_t* spans = path.recordSpans[now];
    // The list a reader holds: the last sub-row that had spans.
    const int held = 1 - now;
    const std::int32_t heldCount = path.recordSpanCount[held];
    if (count == 0) {
        if (path.recordPreviousKind == kPendingEmpty && path.recordPreviousRecord >= 0) {
            DWORD marker;
            std::memcpy(&marker, path.recordBuffer + path.recordPreviousRecord, 4);
            if ((marker & kTessroRegionCountMask) == kTessroRegionCountMask) Full();
            PutWord(context, static_cast<DWORD>(path.recordPreviousRecord), marker + 1);
        } else {
            path.recordPreviousRecord = static_cast<std::int32_t>(path.recordUsed);
            path.recordPreviousKind = kPendingEmpty;
            Append(context, kTessroRegionEnd | kTessroRegionEmpty);
        }
        return;  // the held list stays as it is
    }
    if (count != heldCount) {
        path.recordPreviousRecord = static_cast<std::int32_t>(path.recordUsed);
        path.recordPreviousKind = kPendingNone;
        for (std::int32_t i = 0; i < count; ++i) {
            Append(context, static_cast<DWORD>(spans[2 * i]));
            Append(context, static_cast<DWORD>(spans[2 * i + 1]) |
                                (i + 1 == count ? kTessroRegionEnd : 0));
        }
    } else {
        std::int32_t* deltas = path.recordPreviousDeltas;
        const std::int32_t* before = path.recordSpans[held];
        bool same = path.recordPreviousKind == kPendingDelta;
        for (std::int32_t i = 0; i < 2 * count; ++i) {
            const std::int32_t d = static_cast<std::int32_t>(static_cast<DWORD>(spans[i]) -
                                                             static_cast<DWORD>(before[i]));
            if (same && deltas[i] != d) same = false;
            deltas[count * 2 + i] = d;  // staged after the held differences
        }
        if (same) {
            DWORD marker;
            std::memcpy(&marker, path.recordBuffer + path.recordPreviousRecord, 4);
            if ((marker & kTessroRegionCountMask) == kTessroRegionCountMask) Full();
            PutWord(context, static_cast<DWORD>(path.recordPreviousRecord), marker + 1);
        } else {
            path.recordPreviousRecord = static_cast<std::int32_t>(path.recordUsed);
            path.recordPreviousKind = kPendingDelta;
            Append(context, kTessroRegionEnd);
            for (std::int32_t i = 0; i < 2 * count; ++i) {
                deltas[i] = deltas[count * 2 + i];
                Append(context, static_cast<DWORD>(deltas[i]));
            }
        }
    }
    // This sub-row's spans become the held list; the next sub-row collects in the other buffer.
    path.recordParity = held;
    path.recordSpanCount[held] = 0;
}

void RecordSubRowBegin(TessroContext* context) {
    TessroPathArea& path = context->path;
    RecordHeader(context, 1);
    path.recordParity = 0;
    path.recordSpanCount[0] = path.recordSpanCount[1] = 0;
    path.recordPreviousRecord = -1;
    path.recordPreviousKind = kPendingNone;
    MeasureBegin(context);
}

void RecordSubRowFinish(TessroContext* context) { RecordFinish(context); }

}  // namespace

void TessroHitSpan(TessroContext* context, BYTE*, std::int32_t, std::int32_t x0, std::int32_t x1) {
    if (x0 < x1) {
        context->hitTestResult = 1;
        context->path.stop = 1;
    }
}

void TessroWrapRegionRows(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroPathArea& path = context->path;
    path.savedBegin = draw.begin;
    path.savedRowStart = draw.rowStart;
    path.savedSpan = draw.span;
    draw.begin = Kind0Begin;
    draw.rowStart = Kind0RowStart;
    draw.span = Kind0Span;
}

void TessroBeginRegionSubRows(TessroContext* context, std::int32_t top) {
    const TessroClipRegion* region = context->draw.clipRegion;
    TessroPathArea& path = context->path;
    OpenRegion(context);
    path.regionCursor = RegionBytes(region) + kTessroRegionHeaderBytes;
    path.subRowSpanCount = -1;
    path.pendingRepeat = 0;
    path.pendingKind = kPendingNone;
    path.lastDelta = nullptr;
    // The sub-rows above top are stepped over. A record whose top lies far above the target
    // (INT_MIN) covers billions of sub-rows with a few repeat markers: a repeat is taken as a
    // whole, a delta applied n times being one addition of n times the delta.
    std::int32_t count;
    for (std::int64_t skip = (std::int64_t(top) - region->top) * kTessroSubRows; skip > 0;) {
        if (path.pendingRepeat > 0) {
            const std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(skip, path.pendingRepeat));
            if (path.pendingKind == kPendingDelta) {
                const BYTE* p = path.lastDelta;
                for (std::int32_t i = 0; i < 2 * path.subRowSpanCount; ++i, p += 4) {
                    path.subRowSpans[i] = static_cast<std::int32_t>(static_cast<DWORD>(path.subRowSpans[i]) +
                                                                    ReadWord(context, p) * static_cast<DWORD>(n));
                }
            }
            path.pendingRepeat -= n;
            skip -= n;
            continue;
        }
        TessroReadRegionSubRow(context, &count);
        --skip;
    }
}

const std::int32_t* TessroReadRegionSubRow(TessroContext* context, std::int32_t* count) {
    TessroPathArea& path = context->path;
    std::int32_t* list = path.subRowSpans;
    auto applyDelta = [&](const BYTE* p) {
        for (std::int32_t i = 0; i < 2 * path.subRowSpanCount; ++i, p += 4) {
            list[i] = static_cast<std::int32_t>(static_cast<DWORD>(list[i]) + ReadWord(context, p));
        }
        return p;
    };
    if (path.pendingRepeat > 0) {
        --path.pendingRepeat;
        if (path.pendingKind == kPendingDelta) {
            applyDelta(path.lastDelta);
            *count = path.subRowSpanCount;
        } else {
            *count = 0;
        }
        return list;
    }
    const DWORD word = ReadWord(context, path.regionCursor);
    if (word & kTessroRegionEnd) {
        path.regionCursor += 4;
        path.pendingRepeat = static_cast<std::int32_t>(word & kTessroRegionCountMask);
        if (word & kTessroRegionEmpty) {
            path.pendingKind = kPendingEmpty;
            *count = 0;
            return list;
        }
        // A delta needs a list to change.
        if (path.subRowSpanCount < 0) TessroFail(TESSRO_ERROR_INCOMPATIBLE_REGION);
        path.pendingKind = kPendingDelta;
        path.lastDelta = path.regionCursor;
        path.regionCursor = applyDelta(path.regionCursor);
        *count = path.subRowSpanCount;
        return list;
    }
    // Literal record.
    path.pendingKind = kPendingNone;
    std::int32_t n = 0;
    for (;;) {
        if (n == kTessroMaxRegionSpans) TessroFail(TESSRO_ERROR_INCOMPATIBLE_REGION);
        const DWORD x0 = ReadWord(context, path.regionCursor);
        const DWORD x1 = ReadWord(context, path.regionCursor + 4);
        path.regionCursor += 8;
        list[2 * n] = static_cast<std::int32_t>(x0);
        // The end bit is not part of x1: the remaining 31 bits are its value, sign included.
        list[2 * n + 1] = static_cast<std::int32_t>((x1 & ~kTessroRegionEnd) |
                                                    ((x1 & 0x40000000u) << 1));
        ++n;
        if (x1 & kTessroRegionEnd) break;
    }
    path.subRowSpanCount = n;
    *count = n;
    return list;
}

void TessroAccumulateInside(TessroContext* context, std::int32_t a, std::int32_t b,
                            const std::int32_t* spans, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t r0 = spans[2 * i], r1 = spans[2 * i + 1];
        if (r0 >= b) break;
        const std::int32_t lo = std::max(a, r0), hi = std::min(b, r1);
        if (lo < hi) context->path.accumulate(context, lo, hi);
    }
}

void TessroSelectMeasuringRoutines(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroPathArea& path = context->path;
    const bool coverage = context->coverageMode != 0;
    draw.begin = MeasureBegin;
    draw.rowStart = TessroNoRow;
    draw.span = TessroNoSpan;
    draw.rowEnd = MeasureRowEnd;
    draw.finish = TessroNoRow;
    path.writeCoverage = NoWrite;
    path.subRowEnd = nullptr;
    if (context->fillStyle == kTessroFillHitTest) {
        if (coverage) {
            path.accumulate = HitAccumulate;
        } else {
            draw.span = TessroHitSpan;
        }
    } else if (coverage) {
        draw.begin = RecordSubRowBegin;
        draw.finish = RecordSubRowFinish;
        path.accumulate = CollectSpan;
        path.subRowEnd = RecordSubRowEnd;
    } else {
        draw.begin = RecordBegin;
        draw.rowStart = RecordRowStart;
        draw.span = RecordSpan;
        draw.rowEnd = RecordRowEnd;
        draw.finish = RecordFinish;
    }
}

int TessroSetRegionBuffer(TessroContext* context, void* buffer, DWORD byteSize) {
    return TessroEntry(context, [&] {
        if (buffer == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        context->path.recordBuffer = static_cast<BYTE*>(buffer);
        context->path.recordCapacity = byteSize;
        context->path.recordUsed = 0;
        context->fillStyle = TESSRO_FILL_RECORD_REGION;
        return 0;
    });
}

int TessroGetRecordedRegionSize(TessroContext* context) {
    return TessroEntry(context, [&] { return static_cast<int>(context->path.recordUsed); });
}
