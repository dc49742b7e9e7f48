#include "components/vector/TessroCoverageFiller.h"
#include "framework/core/NumericConvert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

#include "raster/TessroApi.h"
#include "raster/TessroDrawApi.h"
#include "raster/TessroPathApi.h"

namespace vector {

namespace {

// User coordinates of the default matrix are 16.16 pixels, y counting up from the bottom edge.
const double kUserScale = 65536.0;
// Points farther out than this many pixels beyond the mask are pulled in, so that their 16.16
// coordinates cannot overflow; the coverage inside the mask is unchanged.
const double kReach = 16384.0;

void* Allocate(DWORD size)
{
    return ::operator new(size, std::nothrow);
}

void Release(void* block)
{
    ::operator delete(block);
}

}  // namespace

TessroCoverageFiller::TessroCoverageFiller() : m_context(nullptr), m_ready(false)
{
    m_storage.assign(static_cast<size_t>(TessroGetContextSize()), 0);
    m_context = reinterpret_cast<TessroContext*>(m_storage.data());
    m_ready = TessroInitContext(m_context, nullptr) == 0 &&
              TessroSetMemoryHandlers(m_context, Allocate, Release) == 0;
}

TessroCoverageFiller::~TessroCoverageFiller()
{
    if (m_ready)
        TessroReleaseMemory(m_context);
}

void TessroCoverageFiller::Fill(const std::vector<Polygon>& polygons, FillRule rule, int width,
                                int height, CoverageSink& sink)
{
    if (!m_ready || width <= 0 || height <= 0)
        return;
    // The mask covers the polygons' bounds within the target.
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    size_t count = 0;
    for (const Polygon& polygon : polygons) {
        if (polygon.points.size() < 2)
            continue;
        for (const PointF& p : polygon.points) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                return;  // a broken outline draws nothing rather than something wrong
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
            maxX = std::max(maxX, p.x);
            maxY = std::max(maxY, p.y);
        }
        count += polygon.points.size();
    }
    if (count == 0)
        return;
    // Outlines may reach far beyond the int range: the bounds are clamped before converting.
    const int x0 = std::max(0, ClampToInt(std::floor(minX)));
    const int y0 = std::max(0, ClampToInt(std::floor(minY)));
    const int x1 = std::min(width, ClampToInt(std::min(std::ceil(maxX), 1e9)) + 1);
    const int y1 = std::min(height, ClampToInt(std::min(std::ceil(maxY), 1e9)) + 1);
    if (x0 >= x1 || y0 >= y1)
        return;
    const int maskWidth = x1 - x0, maskHeight = y1 - y0;
    std::vector<std::uint32_t>& mask = m_mask;
    mask.assign(static_cast<size_t>(maskWidth) * maskHeight, 0);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = maskWidth;
    header.biHeight = maskHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = 0;
    if (TessroSetBitmap(m_context, &header, mask.data(), 0) != 0 ||
        TessroSetAntialias(m_context, 1) != 0 || TessroSetColour(m_context, 0xFFFFFF) != 0)
        return;

    std::vector<TessroPoint>& points = m_points;
    std::vector<unsigned char>& verbs = m_verbs;
    points.clear();
    verbs.clear();
    points.reserve(count);
    verbs.reserve(count);
    for (const Polygon& polygon : polygons) {
        if (polygon.points.size() < 2)
            continue;
        for (size_t i = 0; i < polygon.points.size(); ++i) {
            const double x = std::clamp(polygon.points[i].x - x0, -kReach, maskWidth + kReach);
            const double y = std::clamp(polygon.points[i].y - y0, -kReach, maskHeight + kReach);
            points.push_back({static_cast<std::int32_t>(std::lround(x * kUserScale)),
                              static_cast<std::int32_t>(std::lround((maskHeight - y) * kUserScale))});
            verbs.push_back(i == 0 ? TESSRO_VERB_MOVE_TO : TESSRO_VERB_LINE);
        }
        verbs.back() |= TESSRO_VERB_CLOSE;  // every subpath is filled as if closed
    }
    const DWORD tessroRule = rule == FillRule::kEvenOdd ? TESSRO_RULE_EVEN_ODD : TESSRO_RULE_NONZERO;
    if (TessroFillPath(m_context, points.data(), verbs.data(), static_cast<std::int32_t>(points.size()),
                       tessroRule) != 0)
        return;

    std::vector<float>& coverage = m_coverage;
    coverage.assign(maskWidth, 0.0f);
    for (int row = 0; row < maskHeight; ++row) {
        const std::uint32_t* line = mask.data() + static_cast<size_t>(row) * maskWidth;
        int first = maskWidth, last = -1;
        for (int i = 0; i < maskWidth; ++i) {
            // The level of one channel is the covered fraction of the white fill.
            const float c = static_cast<float>(line[i] & 0xFF) / 255.0f;
            coverage[i] = c;
            if (c > 0) {
                first = std::min(first, i);
                last = i;
            }
        }
        if (last >= first)
            sink.Row(y0 + row, x0 + first, x0 + last + 1, coverage.data() + first);
    }
}

}  // namespace vector
