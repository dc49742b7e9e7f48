// Both coverage fillers against shapes whose exact coverage is known, and against each other.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

#include "components/vector/CoverageFiller.h"
#include "components/vector/TessroCoverageFiller.h"

using vector::CoverageFiller;
using vector::FillRule;
using vector::Polygon;

namespace {

const int kSize = 24;

struct Grid : vector::CoverageSink {
    float cells[kSize][kSize] = {};
    int rows = 0;
    void Row(int y, int x0, int x1, const float* coverage) override
    {
        ASSERT_GE(y, 0);
        ASSERT_LT(y, kSize);
        ASSERT_GE(x0, 0);
        ASSERT_LE(x1, kSize);
        ++rows;
        for (int x = x0; x < x1; ++x)
            cells[y][x] = coverage[x - x0];
    }
    double Total() const
    {
        double sum = 0;
        for (auto& row : cells)
            for (float c : row)
                sum += c;
        return sum;
    }
};

Polygon Rect(double x0, double y0, double x1, double y1, bool clockwise = true)
{
    Polygon p;
    p.closed = true;
    if (clockwise)
        p.points = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    else
        p.points = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
    return p;
}

class FillerTest : public testing::TestWithParam<const char*> {
protected:
    std::unique_ptr<CoverageFiller> Make()
    {
        if (std::string(GetParam()) == "tessro") {
            auto filler = std::make_unique<vector::TessroCoverageFiller>();
            EXPECT_TRUE(filler->IsReady());
            return filler;
        }
        return std::make_unique<vector::ScanlineFiller>();
    }
};

TEST_P(FillerTest, CoverageOfKnownShapes)
{
    struct Case {
        const char* name;
        std::vector<Polygon> polygons;
        FillRule rule;
        double area;        // expected total coverage
        int x, y;           // a probe pixel
        double probe;       // its expected coverage
    };
    const double pi = 3.14159265358979;
    Polygon circle;
    circle.closed = true;
    for (int i = 0; i < 64; ++i)
        circle.points.push_back({12 + 8 * std::cos(2 * pi * i / 64), 12 + 8 * std::sin(2 * pi * i / 64)});
    const Case cases[] = {
        {"aligned square", {Rect(2, 3, 10, 7)}, FillRule::kNonZero, 32, 5, 5, 1},
        {"half pixel edge", {Rect(2.5, 3, 10, 7)}, FillRule::kNonZero, 30, 2, 5, 0.5},
        {"ring even-odd", {Rect(2, 2, 20, 20), Rect(6, 6, 16, 16)}, FillRule::kEvenOdd, 224, 10, 10, 0},
        {"ring nonzero same winding", {Rect(2, 2, 20, 20), Rect(6, 6, 16, 16)}, FillRule::kNonZero, 324, 10, 10, 1},
        {"ring nonzero opposite winding", {Rect(2, 2, 20, 20), Rect(6, 6, 16, 16, false)}, FillRule::kNonZero, 224, 10, 10, 0},
        {"circle", {circle}, FillRule::kNonZero, 64 * 0.5 * 64 * std::sin(2 * pi / 64) * 1.0, 12, 12, 1},
        {"clipped at the edges", {Rect(-5, -5, 4, 30)}, FillRule::kNonZero, 4 * 24, 0, 23, 1},
        {"outside", {Rect(30, 30, 40, 40)}, FillRule::kNonZero, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid grid;
        Make()->Fill(c.polygons, c.rule, kSize, kSize, grid);
        // Area within a few percent: the fillers sample edges differently.
        EXPECT_NEAR(grid.Total(), c.area, 0.03 * c.area + 0.5);
        EXPECT_NEAR(grid.cells[c.y][c.x], c.probe, 0.08);
    }
}

INSTANTIATE_TEST_SUITE_P(Fillers, FillerTest, testing::Values("scanline", "tessro"));

TEST(CoverageFillers, AgreePixelByPixelOnACurvedShape)
{
    Polygon star;
    star.closed = true;
    const double pi = 3.14159265358979;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 4.5 : 11;
        star.points.push_back({12 + r * std::sin(pi * i / 5), 12 - r * std::cos(pi * i / 5)});
    }
    Grid a, b;
    vector::ScanlineFiller scanline;
    vector::TessroCoverageFiller tessro;
    scanline.Fill({star}, FillRule::kNonZero, kSize, kSize, a);
    tessro.Fill({star}, FillRule::kNonZero, kSize, kSize, b);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            EXPECT_NEAR(a.cells[y][x], b.cells[y][x], 0.15) << x << "," << y;
}

}  // namespace
