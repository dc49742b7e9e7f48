// Coverage through the Tessro rasterizer's antialiased path fill: each fill draws white into a
// private 32-bit mask the size of the polygons' bounds, and the mask's levels become the
// coverage handed to the sink. The rasterizer thereby decides every edge pixel, as it does for
// the rest of the program's drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "components/vector/CoverageFiller.h"

struct TessroContext;
struct TessroPoint;  // complete where the filler is built (raster/TessroApi.h)

namespace vector {

class TessroCoverageFiller : public CoverageFiller {
public:
    TessroCoverageFiller();
    ~TessroCoverageFiller() override;
    // False when the rasterizer context could not be set up; Fill then draws nothing.
    bool IsReady() const { return m_ready; }
    void Fill(const std::vector<Polygon>& polygons, FillRule rule, int width, int height,
              CoverageSink& sink) override;

private:
    std::vector<unsigned char> m_storage;  // the context record
    TessroContext* m_context;
    bool m_ready;
    // Kept between fills, so that the shapes of one render allocate nothing.
    std::vector<std::uint32_t> m_mask;
    std::vector<float> m_coverage;
    std::vector<TessroPoint> m_points;
    std::vector<unsigned char> m_verbs;
};

}  // namespace vector
