// Path geometry without drawing: the flattening and stroking settings, point and path bounds,
// transforming points by a matrix, and snapping axis-parallel segments to the pixel grid.
#include <cmath>
#include <vector>

#include "raster/TessroFlatten.h"
#include "raster/TessroGeometry.h"
#include "raster/TessroPathApi.h"

namespace {

const std::int32_t kEmptyLow = 0x7FFFFFFF;
const std::int32_t kEmptyHigh = static_cast<std::int32_t>(0x80000000u);
const DWORD kMinimumFlatness = 16;
const int kDevicePixelShift = 30;   // a * x + e: 2^30 per pixel at 16.16 user units
const std::int64_t kDevicePixel = std::int64_t(1) << kDevicePixelShift;

void SetEmpty(std::int32_t rect[4]) {
    rect[0] = rect[1] = kEmptyLow;
    rect[2] = rect[3] = kEmptyHigh;
}

void Grow(std::int32_t rect[4], std::int32_t x, std::int32_t y) {
    if (x < rect[0]) rect[0] = x;
    if (y < rect[1]) rect[1] = y;
    if (x > rect[2]) rect[2] = x;
    if (y > rect[3]) rect[3] = y;
}

void GrowByPoint(TessroContext* context, std::int32_t x, std::int32_t y) {
    Grow(static_cast<std::int32_t*>(context->path.walkState), x, y);
}

bool IsCurvePoint(unsigned char verb) { return (verb & TESSRO_VERB_LINE) == 0; }
bool IsMove(unsigned char verb) {
    return (verb & TESSRO_VERB_MOVE_TO) == TESSRO_VERB_MOVE_TO;
}

// ---- Snapping ----
struct SnapAxis {
    std::int64_t scale;        // a (x) or d (y)
    std::int64_t translation;  // e (x) or f (y)
    bool centres;
    std::int32_t Snap(std::int32_t v) const {
        const std::int64_t device = scale * v + translation;
        std::int64_t snapped;
        if (centres) {
            snapped = (device & ~(kDevicePixel - 1)) + kDevicePixel / 2;
        } else {
            snapped = (device + kDevicePixel / 2) & ~(kDevicePixel - 1);
        }
        return static_cast<std::int32_t>((snapped - translation) / scale);
    }
};

std::int32_t& Coordinate(TessroPoint* points, std::int32_t i, int axis) {
    return axis == 0 ? points[i].x : points[i].y;
}

void SnapPass(TessroPoint* points, const unsigned char* verbs, std::int32_t count, bool closeAll,
              int axis, const SnapAxis& snap) {
    std::int32_t figureStart = 0;
    std::int32_t firstOriginal = Coordinate(points, 0, axis);
    std::int32_t previousOriginal = firstOriginal;
    std::int32_t last = 0;
    bool inRun = false;
    std::int32_t runOriginal = 0, runValue = 0;

    auto closeFigure = [&] {
        if (last <= figureStart) return;
        if (!closeAll && (verbs[last] & TESSRO_VERB_CLOSE) == 0) return;
        if (previousOriginal != firstOriginal) return;
        const std::int32_t value = inRun ? runValue : snap.Snap(firstOriginal);
        Coordinate(points, figureStart, axis) = value;
        Coordinate(points, last, axis) = value;
    };

    std::int32_t i = 1;
    while (i < count) {
        const unsigned char verb = verbs[i];
        if (IsMove(verb)) {
            closeFigure();
            figureStart = last = i;
            firstOriginal = previousOriginal = Coordinate(points, i, axis);
            inRun = false;
            ++i;
            continue;
        }
        if (!IsCurvePoint(verb)) {
            const std::int32_t original = Coordinate(points, i, axis);
            if (original == previousOriginal) {
                if (!(inRun && runOriginal == original)) {
                    runOriginal = original;
                    runValue = snap.Snap(original);
                    inRun = true;
                    Coordinate(points, i - 1, axis) = runValue;
                }
                Coordinate(points, i, axis) = runValue;
            } else {
                inRun = false;
            }
            previousOriginal = original;
            last = i;
            ++i;
            continue;
        }
        if (i + 2 >= count) break;
        const std::int32_t control1 = Coordinate(points, i, axis);
        const std::int32_t control2 = Coordinate(points, i + 1, axis);
        const std::int32_t end = Coordinate(points, i + 2, axis);
        if (control1 == previousOriginal) {
            const std::int32_t value =
                inRun && runOriginal == control1 ? runValue : snap.Snap(control1);
            Coordinate(points, i - 1, axis) = value;
            Coordinate(points, i, axis) = value;
        }
        if (end == control2) {
            const std::int32_t value = snap.Snap(end);
            Coordinate(points, i + 1, axis) = value;
            Coordinate(points, i + 2, axis) = value;
        }
        inRun = false;
        previousOriginal = end;
        last = i + 2;
        i += 3;
    }
    closeFigure();
}

}  // namespace

int TessroSetFlatness(TessroContext* context, std::int32_t n) {
    return TessroEntry(context, [&] {
        const std::int64_t flatness = std::int64_t(8) * n;
        context->flatness = flatness < kMinimumFlatness ? kMinimumFlatness
                            : flatness > 0xFFFFFFFF    ? 0xFFFFFFFFu
                                                       : static_cast<DWORD>(flatness);
        return 0;
    });
}

int TessroSetMitreLimit(TessroContext* context, std::int32_t limit) {
    return TessroEntry(context, [&] {
        context->mitreLimit = limit;
        return 0;
    });
}

int TessroSetDashFitting(TessroContext* context, int on) {
    return TessroEntry(context, [&] {
        context->dashFitting = on != 0;
        return 0;
    });
}

int TessroSetStrokeSnapping(TessroContext* context, int on) {
    return TessroEntry(context, [&] {
        context->strokeSnapping = on != 0;
        return 0;
    });
}

int TessroGetPointsBounds(const TessroPoint* points, std::int32_t count, std::int32_t rect[4]) {
    if (rect == nullptr || count < 0 || points == nullptr) return -1;
    SetEmpty(rect);
    for (std::int32_t i = 0; i < count; ++i) Grow(rect, points[i].x, points[i].y);
    return 0;
}

int TessroGetPathBounds(TessroContext* context, const TessroPoint* points,
                        const unsigned char* verbs, std::int32_t count, std::int32_t rect[4],
                        int flattenCurves) {
    return TessroEntry(context, [&] {
        if (rect == nullptr || count < 0 || points == nullptr ||
            (flattenCurves && verbs == nullptr)) {
            TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        }
        std::int32_t box[4];
        SetEmpty(box);
        if (!flattenCurves) {
            for (std::int32_t i = 0; i < count; ++i) Grow(box, points[i].x, points[i].y);
        } else {
            // A curve needs the point before it as its start.
            if (count > 0 && IsCurvePoint(verbs[0]) && (verbs[0] & TESSRO_VERB_MOVE) != 0) {
                TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
            }
            void* const savedState = context->path.walkState;
            context->path.walkState = box;
            std::int32_t i = 0;
            while (i < count) {
                const unsigned char verb = verbs[i];
                if ((verb & TESSRO_VERB_LINE) != 0 || (verb & TESSRO_VERB_MOVE) == 0) {
                    Grow(box, points[i].x, points[i].y);
                    ++i;
                    continue;
                }
                if (count - i < 3) TessroFail(TESSRO_ERROR_BAD_PATH);
                TessroWalkCurve(context, GrowByPoint, context->flatness, points[i - 1],
                                points[i], points[i + 1], points[i + 2]);
                i += 3;
            }
            context->path.walkState = savedState;
        }
        for (int k = 0; k < 4; ++k) rect[k] = box[k];
        return 0;
    });
}

int TessroTransformPoints(TessroContext* context, const TessroPoint* source,
                          TessroPoint* destination, std::int32_t count,
                          const TessroMatrix* matrix) {
    return TessroEntry(context, [&] {
        if (source == nullptr || destination == nullptr || matrix == nullptr || count <= 0) {
            TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        }
        const TessroMatrix& m = *matrix;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int64_t x = source[i].x, y = source[i].y;
            const std::uint64_t sx = static_cast<std::uint64_t>(m.a * x + m.c * y) +
                                     static_cast<std::uint64_t>(m.e);
            const std::uint64_t sy = static_cast<std::uint64_t>(m.b * x + m.d * y) +
                                     static_cast<std::uint64_t>(m.f);
            destination[i].x = static_cast<std::int32_t>(static_cast<std::int64_t>(sx) >> 16);
            destination[i].y = static_cast<std::int32_t>(static_cast<std::int64_t>(sy) >> 16);
        }
        return 0;
    });
}

int TessroSnapPath(TessroContext* context, TessroPoint* points, const unsigned char* verbs,
                   std::int32_t count, int closeAll, std::int32_t width) {
    return TessroEntry(context, [&] {
        if (points == nullptr || verbs == nullptr || count <= 0) {
            TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        }
        TessroSnapPoints(context, points, verbs, count, closeAll != 0, width);
        return 0;
    });
}

void TessroSnapPoints(TessroContext* context, TessroPoint* points, const unsigned char* verbs,
                      std::int32_t count, bool closeAll, std::int32_t width) {
    if (width == 0 || count <= 0) return;
    const TessroDevicePoint across = TessroMapVector(context, width, 0);
    const TessroDevicePoint down = TessroMapVector(context, 0, width);
    // Rotated or skewed pens, and pens too thin to map, are left alone.
    if (across.y != 0 || down.x != 0 || across.x == 0 || down.y == 0) return;
    const TessroMatrix& m = context->matrix;
    if (m.a == 0 || m.d == 0) return;
    auto odd = [](std::int32_t device) {
        const double pixels = std::fabs(static_cast<double>(device)) / 16384.0;
        return static_cast<std::int64_t>(std::floor(std::fabs(pixels - 0.5))) % 2 == 0;
    };
    const bool centres = odd(across.x) || odd(down.y);
    SnapPass(points, verbs, count, closeAll, 0, SnapAxis{m.a, m.e, centres});
    SnapPass(points, verbs, count, closeAll, 1, SnapAxis{m.d, m.f, centres});
}
