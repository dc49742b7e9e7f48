// Curve flattening by recursive midpoint subdivision.
#include "raster/TessroFlatten.h"

#include <algorithm>

namespace {

// Three times the distance of a control point from its chord point at one third, as the
// walker measures it: Dx + Dy + 2 max(Dx, Dy) of 3c - (far + 2 near).
std::uint64_t Deviation(std::int64_t cx, std::int64_t cy, std::int64_t nx, std::int64_t ny,
                        std::int64_t fx, std::int64_t fy) {
    std::int64_t dx = 3 * cx - (fx + 2 * nx);
    std::int64_t dy = 3 * cy - (fy + 2 * ny);
    if (dx < 0) dx = -dx;
    if (dy < 0) dy = -dy;
    return static_cast<std::uint64_t>(dx + dy + 2 * std::max(dx, dy));
}

struct Cubic {
    std::int64_t x[4];
    std::int64_t y[4];
};

std::int32_t Narrow(std::int64_t v) { return static_cast<std::int32_t>(v); }

void Step(TessroContext* context, const Cubic& c, DWORD depth) {
    const DWORD flatness = context->workingFlatness;
    if (Deviation(c.x[1], c.y[1], c.x[0], c.y[0], c.x[3], c.y[3]) < flatness &&
        Deviation(c.x[2], c.y[2], c.x[3], c.y[3], c.x[0], c.y[0]) < flatness) {
        reinterpret_cast<TessroPointFunc>(context->pointCallback)(context, Narrow(c.x[3]),
                                                                  Narrow(c.y[3]));
        return;
    }
    TessroCheckStackDepth(context, depth);
    Cubic left, right;
    for (int k = 0; k < 2; ++k) {
        const std::int64_t* p = k == 0 ? c.x : c.y;
        std::int64_t* l = k == 0 ? left.x : left.y;
        std::int64_t* r = k == 0 ? right.x : right.y;
        const std::int64_t m = (p[0] + 3 * p[1] + 3 * p[2] + p[3]) >> 3;
        l[0] = p[0];
        l[1] = (p[0] + p[1]) >> 1;
        l[2] = (p[0] + 2 * p[1] + p[2]) >> 2;
        l[3] = m;
        r[0] = m;
        r[1] = (p[1] + 2 * p[2] + p[3]) >> 2;
        r[2] = (p[2] + p[3]) >> 1;
        r[3] = p[3];
    }
    Step(context, left, depth + 1);
    Step(context, right, depth + 1);
}

}  // namespace

void TessroFlattenCurve(TessroContext* context, const TessroPoint& p0, const TessroPoint& p1,
                        const TessroPoint& p2, const TessroPoint& p3) {
    TessroStartStackBudget(context);
    const Cubic c{{p0.x, p1.x, p2.x, p3.x}, {p0.y, p1.y, p2.y, p3.y}};
    Step(context, c, 0);
}

void TessroWalkCurve(TessroContext* context, TessroPointFunc callback, DWORD flatness,
                     const TessroPoint& p0, const TessroPoint& p1, const TessroPoint& p2,
                     const TessroPoint& p3) {
    void* const savedCallback = context->pointCallback;
    const DWORD savedFlatness = context->workingFlatness;
    const DWORD savedLimit = context->currentStackLimit;
    context->pointCallback = reinterpret_cast<void*>(callback);
    context->workingFlatness = flatness;
    TessroFlattenCurve(context, p0, p1, p2, p3);
    context->pointCallback = savedCallback;
    context->workingFlatness = savedFlatness;
    context->currentStackLimit = savedLimit;
}
