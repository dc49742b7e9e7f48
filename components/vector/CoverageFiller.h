// Antialiased polygon coverage: the one interface through which the vector library turns
// polygons into per-pixel coverage.
//
// Call protocol: Fill(polygons, rule, width, height, sink) calls sink.Row(y, x0, x1, coverage)
// once per device row that the polygons touch, top row first, with coverage[i] in 0..1 for
// pixel x0 + i (x0 <= x < x1, clipped to 0..width and 0..height). Pixels outside [x0, x1) of a
// reported row, and rows not reported, have no coverage.
#pragma once

#include "components/vector/VectorGeometry.h"

namespace vector {

enum class FillRule { kNonZero, kEvenOdd };

class CoverageSink {
public:
    virtual ~CoverageSink() = default;
    virtual void Row(int y, int x0, int x1, const float* coverage) = 0;
};

class CoverageFiller {
public:
    virtual ~CoverageFiller() = default;
    virtual void Fill(const std::vector<Polygon>& polygons, FillRule rule, int width, int height,
                      CoverageSink& sink) = 0;
};

// The filler of this library: exact horizontal coverage, kSubRows samples vertically per pixel.
class ScanlineFiller : public CoverageFiller {
public:
    static const int kSubRows = 16;
    void Fill(const std::vector<Polygon>& polygons, FillRule rule, int width, int height,
              CoverageSink& sink) override;
};

}  // namespace vector
