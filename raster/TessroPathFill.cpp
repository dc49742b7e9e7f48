// Path fill: the walk from points and verbs to edges, the aliased and coverage row loops, and
// the edge-by-edge interface.
#include "raster/TessroPathFill.h"

#include <algorithm>
#include <cmath>

#include "raster/TessroCoverage.h"
#include "raster/TessroDrawInternal.h"
#include "raster/TessroEdgeTable.h"
#include "raster/TessroFlatten.h"
#include "raster/TessroPathApi.h"
#include "raster/TessroRegion.h"

namespace {

const DWORD kLastRule = 3;
const DWORD kUnimplementedRuleBit = 2;
const BYTE kAutoCloseDuringFill = 0xFF;

bool IsMoveVerb(unsigned char verb) {
    return (verb & TESSRO_VERB_MOVE_TO) == TESSRO_VERB_MOVE_TO;
}

void LineToDevice(TessroContext* context, std::int32_t x, std::int32_t y) {
    TessroPathArea& path = context->path;
    TessroAddSegment(context, path.currentX, path.currentY, x, y);
    path.currentX = x;
    path.currentY = y;
}

// The curve walker's callback: map the flat piece's end point and add the edge to it.
void LineToUser(TessroContext* context, std::int32_t x, std::int32_t y) {
    const TessroDevicePoint p = TessroMapPoint(context, x, y);
    LineToDevice(context, p.x, p.y);
}

void CloseSubpath(TessroContext* context) {
    LineToDevice(context, context->path.subpathX, context->path.subpathY);
}

// Calls emit(from, to) for every span of the active short edges under the fill rule, in x
// order; emit answers false to end the row. A lone edge left at the end yields nothing.
template <class Emit>
void FormSpans(TessroShortEdge** list, DWORD rule, Emit emit) {
    while (list[0] != nullptr && list[1] != nullptr) {
        TessroShortEdge* first = list[0];
        TessroShortEdge* second = list[1];
        list += 2;
        if (rule & 1) {
            int winding = TessroEdgeDirection(first) + TessroEdgeDirection(second);
            while (winding != 0 && list[0] != nullptr && list[1] != nullptr) {
                winding += TessroEdgeDirection(list[0]) + TessroEdgeDirection(list[1]);
                second = list[1];
                list += 2;
            }
        }
        if (!emit(first->x, second->x)) return;
    }
}

// Spans of one sub-row in device units cut to the clip: a span at or beyond the right edge
// ends the sub-row, one reaching it is cut there and ends it, starts are raised to the left.
template <class Add>
void ClipDeviceSpans(const TessroContext* context, TessroShortEdge** list, DWORD rule, Add add) {
    const std::int32_t* clip = context->draw.clipDevice;
    FormSpans(list, rule, [&](std::int32_t from, std::int32_t to) {
        if (from >= clip[2]) return false;
        if (from < clip[0]) from = clip[0];
        const bool last = to >= clip[2];
        if (last) to = clip[2];
        if (from < to) add(from, to);
        return !last;
    });
}

// Aliased spans of a pixel row in whole pixels, as the aliased loop paints them.
template <class Add>
void PixelSpans(const TessroContext* context, TessroShortEdge** list, DWORD rule, Add add) {
    const std::int32_t* clip = context->draw.clip;
    FormSpans(list, rule, [&](std::int32_t fromX, std::int32_t toX) {
        std::int32_t from = TessroRoundToPixel(fromX);
        const std::int32_t to = TessroRoundToPixel(toX);
        if (from >= clip[2]) return false;
        if (from < clip[0]) from = clip[0];
        if (to >= clip[2]) {
            add(from, clip[2]);
            return false;
        }
        if (from < to) add(from, to);
        return true;
    });
}

// Hairline spans of a pixel row: every active hairline on its own paints round(left) up to
// round(min(right, max x)), cut to the clip.
template <class Add>
void HairlineSpans(const TessroContext* context, TessroHairlineEdge** list, Add add) {
    const std::int32_t* clip = context->draw.clip;
    for (; *list != nullptr; ++list) {
        const TessroHairlineEdge* e = *list;
        std::int32_t from = std::max(TessroRoundToPixel(e->left), clip[0]);
        if (from >= clip[2]) return;
        const std::int32_t to = TessroRoundToPixel(std::min(e->right, e->maxX));
        if (to >= clip[2]) {
            add(from, clip[2]);
            return;
        }
        if (from < to) add(from, to);
    }
}

// The whole-pixel spans of one row of the stored edges, short or hairline.
template <class Add>
void RowSpans(TessroContext* context, std::int32_t row, bool hairline, Add add) {
    if (hairline) {
        HairlineSpans(context, TessroStepHairlineEdges(context, row), add);
    } else {
        PixelSpans(context, TessroStepShortEdges(context, row), context->fillRule, add);
    }
}

bool ClipBounds(TessroContext* context, std::int32_t left, std::int32_t top, std::int32_t right,
                std::int32_t bottom) {
    const std::int32_t* clip = context->draw.clip;
    left = std::max(left, clip[0]);
    top = std::max(top, clip[1]);
    right = std::min(right, clip[2]);
    bottom = std::min(bottom, clip[3]);
    if (left >= right || top >= bottom) return false;
    std::int32_t* bounds = context->draw.bounds;
    bounds[0] = left, bounds[1] = top, bounds[2] = right, bounds[3] = bottom;
    return true;
}

void FillAliased(TessroContext* context, bool hairline) {
    const std::int32_t* b = context->path.bounds;
    // Hairlines include the pixel that holds their extreme point.
    const bool inside =
        hairline ? ClipBounds(context, TessroFloorToPixel(b[0]), TessroFloorToPixel(b[1]),
                              TessroFloorToPixel(b[2]) + 1, TessroFloorToPixel(b[3]) + 1)
                 : ClipBounds(context, TessroRoundToPixel(b[0]), TessroRoundToPixel(b[1]),
                              TessroRoundToPixel(b[2]), TessroRoundToPixel(b[3]));
    if (!inside) return;
    TessroDrawState& draw = context->draw;
    if (hairline || !TessroIsMeasuringStyle(context)) {
        TessroGrowChanged(context, draw.bounds[0], draw.bounds[1], draw.bounds[2], draw.bounds[3]);
    }
    TessroSortEdges(context);
    TessroPreparePathRoutines(context);
    TessroPathArea& path = context->path;
    draw.begin(context);
    const std::int32_t bottom = draw.bounds[3];
    for (std::int32_t row = draw.bounds[1]; row < bottom && !path.stop; ++row) {
        draw.rowStart(context);
        RowSpans(context, row, hairline, [&](std::int32_t from, std::int32_t to) {
            if (!path.stop) draw.span(context, draw.rowAddress, draw.row, from, to);
        });
        draw.rowEnd(context);
    }
    if (!path.stop) draw.finish(context);
}

// The sub-row spans of one pixel row, kept to see whether the next row repeats them.
struct SubRowSpans {
    static const int kCapacity = 64;  // a busier row is accumulated as it comes, not compared
    std::int32_t spans[2 * kCapacity];
    std::int32_t ends[kTessroSubRows];  // span count after each sub-row
    int count = 0;
    bool complete = false;
    bool SameAs(const SubRowSpans& other) const {
        return complete && other.complete && count == other.count &&
               std::equal(ends, ends + kTessroSubRows, other.ends) &&
               std::equal(spans, spans + 2 * count, other.spans);
    }
};

// Antialiased rows without a region, into the coverage buffer. A row whose sub-row spans are
// all those of the row before has the same coverage, still in the buffer (writers only read
// it): it is written again without clearing and accumulating. Otherwise the buffer is cleared
// and the spans are added in the order they came, as row by row.
void FillRepeatingCoverageRows(TessroContext* context, DWORD rule) {
    TessroDrawState& draw = context->draw;
    TessroPathArea& path = context->path;
    SubRowSpans rows[2];
    int current = 0;
    const std::int32_t bottom = draw.bounds[3];
    for (std::int32_t row = draw.bounds[1]; row < bottom && !path.stop; ++row) {
        SubRowSpans& now = rows[current];
        const SubRowSpans& before = rows[current ^ 1];
        now.count = 0;
        now.complete = true;
        auto replay = [&] {
            TessroClearCoverage(context);
            for (int i = 0; i < now.count; ++i) path.accumulate(context, now.spans[2 * i], now.spans[2 * i + 1]);
        };
        for (int s = 0; s < kTessroSubRows; ++s) {
            ClipDeviceSpans(context, TessroStepShortEdges(context, row * kTessroSubRows + s), rule,
                            [&](std::int32_t from, std::int32_t to) {
                                if (now.complete && now.count == SubRowSpans::kCapacity) {
                                    replay();
                                    now.complete = false;
                                }
                                if (!now.complete) {
                                    path.accumulate(context, from, to);
                                    return;
                                }
                                now.spans[2 * now.count] = from;
                                now.spans[2 * now.count + 1] = to;
                                ++now.count;
                            });
            now.ends[s] = now.count;
        }
        if (now.complete && !now.SameAs(before)) replay();
        TessroWriteCoverageRow(context);
        current ^= 1;
    }
}

// Antialiased, or aliased through a sampled region: five sub-rows per pixel row.
void FillCoverage(TessroContext* context, bool hairline) {
    TessroDrawState& draw = context->draw;
    TessroPathArea& path = context->path;
    const TessroClipRegion* region = draw.clipRegion;
    const bool sampled = context->coverageMode != 0;
    if (sampled && region != nullptr && region->kind == 0) {
        TessroFail(TESSRO_ERROR_INCOMPATIBLE_REGION);
    }
    const std::int32_t* b = path.bounds;
    if (!ClipBounds(context, TessroFloorToPixel(b[0]), TessroFloorToPixel(b[1]),
                    TessroCeilToPixel(b[2]), TessroCeilToPixel(b[3]))) {
        return;
    }
    if (hairline || !TessroIsMeasuringStyle(context)) {
        TessroGrowChanged(context, draw.bounds[0], draw.bounds[1], draw.bounds[2], draw.bounds[3]);
    }
    TessroSortEdges(context);
    context->coverageMode = 1;
    TessroPreparePathRoutines(context);
    if (region != nullptr) TessroBeginRegionSubRows(context, draw.bounds[1]);
    const DWORD rule = context->fillRule;
    TessroStartCoverage(context);
    draw.begin(context);
    if (sampled && region == nullptr && path.subRowEnd == nullptr &&
        (path.accumulate == TessroAccumulateFive || path.accumulate == TessroAccumulateSeventeen)) {
        FillRepeatingCoverageRows(context, rule);
        if (!path.stop) draw.finish(context);
        return;
    }
    std::int32_t* rowSpans = path.rowAliasedSpans;
    std::int32_t rowSpanCount = 0;
    const std::int32_t bottom = draw.bounds[3];
    for (std::int32_t row = draw.bounds[1]; row < bottom && !path.stop; ++row) {
        TessroClearCoverage(context);
        if (!sampled) {
            // Aliased spans of the whole row, sampled by the region's five sub-rows below.
            rowSpanCount = 0;
            RowSpans(context, row, hairline, [&](std::int32_t from, std::int32_t to) {
                           if (rowSpanCount == kTessroMaxRowSpans) return;
                           rowSpans[2 * rowSpanCount] = from << kTessroUnitShift;
                           rowSpans[2 * rowSpanCount + 1] = to << kTessroUnitShift;
                           ++rowSpanCount;
                       });
        }
        for (int s = 0; s < kTessroSubRows && !path.stop; ++s) {
            std::int32_t regionCount = 0;
            const std::int32_t* regionSpans =
                region != nullptr ? TessroReadRegionSubRow(context, &regionCount) : nullptr;
            auto add = [&](std::int32_t from, std::int32_t to) {
                if (path.stop) return;
                if (region != nullptr) {
                    TessroAccumulateInside(context, from, to, regionSpans, regionCount);
                } else {
                    path.accumulate(context, from, to);
                }
            };
            if (sampled) {
                ClipDeviceSpans(context, TessroStepShortEdges(context, row * kTessroSubRows + s),
                                rule, add);
            } else {
                for (std::int32_t i = 0; i < rowSpanCount; ++i) add(rowSpans[2 * i], rowSpans[2 * i + 1]);
            }
            if (path.subRowEnd != nullptr && !path.stop) path.subRowEnd(context);
        }
        if (!path.stop) TessroWriteCoverageRow(context);
    }
    if (!path.stop) draw.finish(context);
}

// Coverage counts of the edge-by-edge interface, added straight into an 8-bit target.
void FillCoverageCount(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const std::int32_t* b = context->path.bounds;
    if (!ClipBounds(context, TessroFloorToPixel(b[0]), TessroFloorToPixel(b[1]),
                    TessroCeilToPixel(b[2]), TessroCeilToPixel(b[3]))) {
        return;
    }
    TessroGrowChanged(context, draw.bounds[0], draw.bounds[1], draw.bounds[2], draw.bounds[3]);
    // One byte per pixel: only the 8-bit targets can hold the counts.
    if (context->targetFormat != kTessroFormat8Palette &&
        context->targetFormat != kTessroFormat8Grey) {
        TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
    }
    if (context->rowZero == nullptr) TessroFail(TESSRO_ERROR_NO_BITMAP);
    TessroSortEdges(context);
    const DWORD rule = context->fillRule;
    for (std::int32_t row = draw.bounds[1]; row < draw.bounds[3]; ++row) {
        BYTE* address = context->rowZero + static_cast<std::ptrdiff_t>(row) * context->rowStep;
        for (int s = 0; s < kTessroSubRows; ++s) {
            ClipDeviceSpans(context, TessroStepShortEdges(context, row * kTessroSubRows + s), rule,
                            [&](std::int32_t from, std::int32_t to) {
                                TessroAddCoverageCount(address, from, to);
                            });
        }
    }
}

void StartFill(TessroContext* context, DWORD rule) {
    if (rule > kLastRule) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    context->fillRule = static_cast<BYTE>(rule);
    context->closeSubpaths = kAutoCloseDuringFill;
    context->path.shortRecords = 1;
    context->coverageMode = context->antialias;
    context->path.stop = 0;
}

// Rounds a device coordinate given as a double, ties to even; NaN fails, beyond the 32-bit
// range saturates.
std::int32_t DeviceFromDouble(double v) {
    if (std::isnan(v)) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(std::nearbyint(v));
}

}  // namespace

bool TessroIsMeasuringStyle(const TessroContext* context) {
    return context->fillStyle == kTessroFillStatistics || context->fillStyle == kTessroFillHitTest;
}

void TessroGrowChanged(TessroContext* context, std::int32_t left, std::int32_t top,
                       std::int32_t right, std::int32_t bottom) {
    std::int32_t* changed = context->draw.changed;
    if (left < changed[0]) changed[0] = left;
    if (top < changed[1]) changed[1] = top;
    if (right > changed[2]) changed[2] = right;
    if (bottom > changed[3]) changed[3] = bottom;
}

void TessroPreparePathRoutines(TessroContext* context) {
    context->path.subRowEnd = nullptr;
    context->path.stop = 0;
    TessroPrepareSpanRoutines(context);
}

void TessroRunSampledRows(TessroContext* context, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    TessroPathArea& path = context->path;
    TessroBeginRegionSubRows(context, draw.bounds[1]);
    TessroStartCoverage(context);
    draw.begin(context);
    const std::int32_t a = x0 << kTessroUnitShift, b = x1 << kTessroUnitShift;
    for (std::int32_t row = draw.bounds[1]; row < draw.bounds[3] && !path.stop; ++row) {
        TessroClearCoverage(context);
        for (int s = 0; s < kTessroSubRows && !path.stop; ++s) {
            std::int32_t count = 0;
            const std::int32_t* spans = TessroReadRegionSubRow(context, &count);
            TessroAccumulateInside(context, a, b, spans, count);
            if (path.subRowEnd != nullptr && !path.stop) path.subRowEnd(context);
        }
        if (!path.stop) TessroWriteCoverageRow(context);
    }
    if (!path.stop) draw.finish(context);
    path.stop = 0;
}

void TessroWalkPathEdges(TessroContext* context, const TessroPoint* points,
                         const unsigned char* verbs, std::int32_t count) {
    if (count <= 0 || points == nullptr || verbs == nullptr) TessroFail(TESSRO_ERROR_BAD_PATH);
    TessroEmptyEdges(context);
    if (!IsMoveVerb(verbs[0])) TessroFail(TESSRO_ERROR_BAD_PATH);
    TessroPathArea& path = context->path;
    const bool autoClose = context->closeSubpaths != 0;
    TessroDevicePoint start = TessroMapPoint(context, points[0].x, points[0].y);
    path.currentX = path.subpathX = start.x;
    path.currentY = path.subpathY = start.y;
    std::int32_t i = 1;
    while (i < count) {
        const unsigned char verb = verbs[i];
        unsigned char closing;
        if ((verb & TESSRO_VERB_LINE) == 0) {
            if (count - i < 3) TessroFail(TESSRO_ERROR_BAD_PATH);
            TessroWalkCurve(context, LineToUser, context->flatness, points[i - 1], points[i],
                            points[i + 1], points[i + 2]);
            closing = verbs[i + 2] & TESSRO_VERB_CLOSE;
            i += 3;
        } else if (IsMoveVerb(verb)) {
            if (autoClose) CloseSubpath(context);
            start = TessroMapPoint(context, points[i].x, points[i].y);
            path.currentX = path.subpathX = start.x;
            path.currentY = path.subpathY = start.y;
            ++i;
            continue;
        } else {
            LineToUser(context, points[i].x, points[i].y);
            closing = verb & TESSRO_VERB_CLOSE;
            ++i;
        }
        if (closing) CloseSubpath(context);
    }
    if (autoClose) CloseSubpath(context);
}

void TessroFillStoredEdges(TessroContext* context) {
    const TessroClipRegion* region = context->draw.clipRegion;
    if (!context->coverageMode && (region == nullptr || region->kind == 0)) {
        FillAliased(context, false);
    } else {
        FillCoverage(context, false);
    }
}

void TessroFillStoredHairlines(TessroContext* context) {
    const TessroClipRegion* region = context->draw.clipRegion;
    context->coverageMode = 0;
    if (region == nullptr || region->kind == 0) {
        FillAliased(context, true);
    } else {
        FillCoverage(context, true);
    }
}

int TessroFillPath(TessroContext* context, const TessroPoint* points, const unsigned char* verbs,
                   std::int32_t count, DWORD rule) {
    return TessroEntry(context, [&] {
        StartFill(context, rule);
        TessroWalkPathEdges(context, points, verbs, count);
        if (rule & kUnimplementedRuleBit) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
        if (TessroBuildEdgeIndex(context) >= 2) TessroFillStoredEdges(context);
        TessroEmptyEdges(context);
        context->path.stop = 0;
        return 0;
    });
}

int TessroBeginEdges(TessroContext* context, DWORD rule, int boundsOnly) {
    return TessroEntry(context, [&] {
        StartFill(context, rule);
        context->path.boundsOnly = boundsOnly != 0;
        if (!boundsOnly) TessroEmptyEdges(context);
        return 0;
    });
}

int TessroAddEdge(TessroContext* context, const double line[4], int reverse) {
    return TessroEntry(context, [&] {
        if (line == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        // The floating form of the current integer matrix, taken afresh on every call so that
        // a matrix reset by attaching a target is seen too.
        const TessroMatrix& m = context->matrix;
        const double scale = 1.0 / 65536.0;
        const double a = m.a * scale, b = m.b * scale, c = m.c * scale, d = m.d * scale;
        const double e = static_cast<double>(m.e) * scale, f = static_cast<double>(m.f) * scale;
        std::int32_t x[2], y[2];
        for (int k = 0; k < 2; ++k) {
            const double ux = line[2 * k], uy = line[2 * k + 1];
            x[k] = DeviceFromDouble(a * ux + c * uy + e);
            y[k] = DeviceFromDouble(b * ux + d * uy + f);
        }
        TessroPathArea& path = context->path;
        if (path.boundsOnly) {
            TessroGrowChanged(context, TessroFloorToPixel(std::min(x[0], x[1])),
                              TessroFloorToPixel(std::min(y[0], y[1])),
                              TessroCeilToPixel(std::max(x[0], x[1])),
                              TessroCeilToPixel(std::max(y[0], y[1])));
            return 0;
        }
        if (!TessroEdgeTableUsable(context)) TessroEmptyEdges(context);
        if (reverse) {
            TessroAddSegment(context, x[1], y[1], x[0], y[0]);
        } else {
            TessroAddSegment(context, x[0], y[0], x[1], y[1]);
        }
        return 0;
    });
}

int TessroFillEdges(TessroContext* context) {
    return TessroEntry(context, [&] {
        TessroPathArea& path = context->path;
        if (path.boundsOnly) return 0;
        if (!TessroEdgeTableUsable(context)) TessroEmptyEdges(context);
        if (TessroBuildEdgeIndex(context) == 0) return 0;
        path.stop = 0;
        if (context->coverageMode) {
            FillCoverageCount(context);
        } else {
            TessroFillStoredEdges(context);
        }
        TessroEmptyEdges(context);
        path.stop = 0;
        return 0;
    });
}
