// Rectangle and point fills: which pixels an operation visits, in what order, and how the
// changed area grows. What each pixel receives is the prepared span routines' business.
#include "raster/TessroDrawInternal.h"
#include "raster/TessroPathFill.h"

namespace {

std::int32_t RoundToPixel(std::int32_t v) {
    return (v >> kTessroDeviceShift) + ((v >> (kTessroDeviceShift - 1)) & 1);
}

bool Measures(const TessroContext* context) {
    return context->fillStyle == kTessroFillHitTest || context->fillStyle == kTessroFillStatistics;
}

void GrowChanged(TessroContext* context, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) {
    if (Measures(context)) return;
    std::int32_t* changed = context->draw.changed;
    if (left < changed[0]) changed[0] = left;
    if (top < changed[1]) changed[1] = top;
    if (right > changed[2]) changed[2] = right;
    if (bottom > changed[3]) changed[3] = bottom;
}

// Fills the stored bounds: whole pixels without a region or with a whole-pixel region,
// coverage of five sub-rows per row with a finer region (the preparation decides what is
// available for either).
void FillBounds(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const TessroClipRegion* region = draw.clipRegion;
    context->coverageMode = (region != nullptr && region->kind != 0) ? 1 : 0;
    TessroPrepareSpanRoutines(context);
    if (context->coverageMode) {
        TessroRunSampledRows(context, draw.bounds[0], draw.bounds[2]);
    } else {
        TessroRunRows(context, draw.bounds[0], draw.bounds[2]);
    }
}

}  // namespace

void TessroRunRows(TessroContext* context, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.begin(context);
    // A flat colour on a 32-bit target with nothing to do between rows (the colour editors'
    // swatches): the rows are stored straight, without a call per row.
    if (draw.rowStart == TessroNoRow && draw.rowEnd == TessroDefaultRowEnd && draw.span == TessroFlatSpan(kTessroFormat32)) {
        const DWORD pixel = context->pattern[0];
        for (std::int32_t y = draw.bounds[1]; y < draw.bounds[3]; ++y) {
            TessroFillPixels32(draw.rowAddress + 4 * static_cast<std::ptrdiff_t>(x0), pixel, x1 - x0);
            draw.rowAddress += context->rowStep;
            ++draw.row;
        }
        draw.finish(context);
        return;
    }
    for (std::int32_t y = draw.bounds[1]; y < draw.bounds[3]; ++y) {
        draw.rowStart(context);
        draw.span(context, draw.rowAddress, draw.row, x0, x1);
        draw.rowEnd(context);
    }
    draw.finish(context);
}

int TessroFillRectangle(TessroContext* context, const TessroPoint rect[2]) {
    return TessroEntry(context, [&] {
        if (rect == nullptr) return 0;
        const TessroDevicePoint a = TessroMapPoint(context, rect[0].x, rect[0].y);
        const TessroDevicePoint b = TessroMapPoint(context, rect[1].x, rect[1].y);
        const std::int32_t* clip = context->draw.clip;
        std::int32_t left = RoundToPixel(a.x < b.x ? a.x : b.x);
        std::int32_t right = RoundToPixel(a.x < b.x ? b.x : a.x);
        std::int32_t top = RoundToPixel(a.y < b.y ? a.y : b.y);
        std::int32_t bottom = RoundToPixel(a.y < b.y ? b.y : a.y);
        if (left < clip[0]) left = clip[0];
        if (top < clip[1]) top = clip[1];
        if (right > clip[2]) right = clip[2];
        if (bottom > clip[3]) bottom = clip[3];
        if (left >= right || top >= bottom) return 0;
        std::int32_t* bounds = context->draw.bounds;
        bounds[0] = left, bounds[1] = top, bounds[2] = right, bounds[3] = bottom;
        GrowChanged(context, left, top, right, bottom);
        FillBounds(context);
        return 0;
    });
}

int TessroFillPoint(TessroContext* context, const TessroPoint* point) {
    return TessroEntry(context, [&] {
        if (point == nullptr) return 0;
        const TessroDevicePoint p = TessroMapPoint(context, point->x, point->y);
        const std::int32_t x = p.x >> kTessroDeviceShift, y = p.y >> kTessroDeviceShift;
        const std::int32_t* clip = context->draw.clip;
        if (x < clip[0] || x >= clip[2] || y < clip[1] || y >= clip[3]) return 0;
        std::int32_t* bounds = context->draw.bounds;
        bounds[0] = x, bounds[1] = y, bounds[2] = x + 1, bounds[3] = y + 1;
        GrowChanged(context, x, y, x + 1, y + 1);
        FillBounds(context);
        return 0;
    });
}
