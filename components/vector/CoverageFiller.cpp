#include "components/vector/CoverageFiller.h"
#include "framework/core/NumericConvert.h"

#include <algorithm>
#include <cmath>

namespace vector {

namespace {

struct Edge {
    double x0, y0, x1, y1;  // y0 < y1
    double slope;           // dx per dy
    int direction;          // +1 downwards in the source, -1 upwards
};

struct Crossing {
    double x;
    int direction;
    bool operator<(const Crossing& other) const { return x < other.x; }
};

}  // namespace

void ScanlineFiller::Fill(const std::vector<Polygon>& polygons, FillRule rule, int width,
                          int height, CoverageSink& sink)
{
    if (width <= 0 || height <= 0)
        return;
    std::vector<Edge> edges;
    double minY = 1e300, maxY = -1e300, minX = 1e300, maxX = -1e300;
    for (const Polygon& polygon : polygons) {
        const auto& p = polygon.points;
        // Every subpath is filled as if closed.
        for (size_t i = 0, n = p.size(); n > 1 && i < n; ++i) {
            PointF a = p[i], b = p[(i + 1) % n];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) ||
                !std::isfinite(b.y) || a.y == b.y)
                continue;
            int direction = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                direction = -1;
            }
            edges.push_back({a.x, a.y, b.x, b.y, (b.x - a.x) / (b.y - a.y), direction});
            minY = std::min(minY, a.y);
            maxY = std::max(maxY, b.y);
            minX = std::min({minX, a.x, b.x});
            maxX = std::max({maxX, a.x, b.x});
        }
    }
    if (edges.empty())
        return;
    // Outlines may reach far beyond the int range: the bounds are clamped before converting.
    const int rowFirst = std::max(0, ClampToInt(std::floor(minY)));
    const int rowLast = std::min(height - 1, ClampToInt(std::ceil(maxY)));
    const int x0 = std::max(0, ClampToInt(std::floor(minX)));
    const int x1 = std::min(width, ClampToInt(std::min(std::ceil(maxX), 1e9)) + 1);
    if (rowFirst > rowLast || x0 >= x1)
        return;

    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    const int span = x1 - x0;
    // Partial coverage per pixel and a running-sum row for the whole pixels between.
    std::vector<float> partial(span + 1), whole(span + 2), coverage(span);
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    size_t nextEdge = 0;
    const float sampleWeight = 1.0f / kSubRows;

    for (int row = rowFirst; row <= rowLast; ++row) {
        std::fill(partial.begin(), partial.end(), 0.0f);
        std::fill(whole.begin(), whole.end(), 0.0f);
        bool touched = false;
        for (int sub = 0; sub < kSubRows; ++sub) {
            const double y = row + (sub + 0.5) / kSubRows;
            while (nextEdge < edges.size() && edges[nextEdge].y0 <= y)
                active.push_back(&edges[nextEdge++]);
            active.erase(std::remove_if(active.begin(), active.end(),
                                        [y](const Edge* e) { return e->y1 <= y; }),
                         active.end());
            crossings.clear();
            for (const Edge* e : active)
                if (e->y0 <= y)
                    crossings.push_back({e->x0 + (y - e->y0) * e->slope, e->direction});
            if (crossings.size() < 2)
                continue;
            std::sort(crossings.begin(), crossings.end());
            int winding = 0;
            for (size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].direction;
                const bool inside = rule == FillRule::kEvenOdd ? (winding & 1) != 0 : winding != 0;
                if (!inside)
                    continue;
                const double a = std::clamp(crossings[i].x - x0, 0.0, static_cast<double>(span));
                const double b = std::clamp(crossings[i + 1].x - x0, 0.0, static_cast<double>(span));
                if (!(b > a))  // also a crossing made NaN by an overflowing slope
                    continue;
                touched = true;
                const int ia = static_cast<int>(a), ib = static_cast<int>(b);
                if (ia == ib) {
                    partial[ia] += static_cast<float>((b - a) * sampleWeight);
                    continue;
                }
                partial[ia] += static_cast<float>((ia + 1 - a) * sampleWeight);
                whole[ia + 1] += sampleWeight;
                whole[ib] -= sampleWeight;
                partial[ib] += static_cast<float>((b - ib) * sampleWeight);
            }
        }
        if (!touched)
            continue;
        float run = 0;
        int first = span, last = -1;
        for (int i = 0; i < span; ++i) {
            run += whole[i];
            float c = run + partial[i];
            c = c < 0 ? 0 : (c > 1 ? 1 : c);
            coverage[i] = c;
            if (c > 0) {
                first = std::min(first, i);
                last = i;
            }
        }
        if (last >= first)
            sink.Row(row, x0 + first, x0 + last + 1, coverage.data() + first);
    }
}

}  // namespace vector
