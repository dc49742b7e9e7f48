// The edge table, the curve walker and the coverage accumulators, driven directly.
#include <gtest/gtest.h>

#include <cmath>

#include "raster/TessroCoverage.h"
#include "raster/TessroEdgeTable.h"
#include "raster/TessroFlatten.h"
#include "tests/raster/TessroPathSupport.h"

namespace {

const std::int32_t kOne = 16384;  // one pixel in device units

class EdgeTableTest : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        Attach(target_);
    }
    // Rows covered by one short edge from y0 to y1 (pixels), or none.
    std::vector<std::int32_t> Rows(double y0, double y1, bool coverage) {
        ctx->coverageMode = coverage;
        ctx->path.shortRecords = 1;
        TessroEmptyEdges(ctx);
        TessroAddSegment(ctx, 0, static_cast<std::int32_t>(y0 * kOne), kOne,
                         static_cast<std::int32_t>(y1 * kOne));
        if (ctx->path.edgeCount == 0) return {};
        TessroBuildEdgeIndex(ctx);
        const TessroShortEdge* e = static_cast<TessroShortEdge*>(ctx->path.pointerTable[1]);
        return {e->first, TessroEdgeLast(e)};
    }
    Target target_{64, 64, 32};
};

TEST_F(EdgeTableTest, EdgesCoverTheRowsWhoseCentresTheySpan) {
    struct Case {
        double y0, y1;
        bool coverage;
        std::vector<std::int32_t> rows;
    } cases[] = {
        {2.5, 4.5, false, {3, 4}},
        {4.5, 2.5, false, {3, 4}},  // either direction
        {2.6, 2.9, false, {}},
        {3.0, 3.0, false, {}},      // horizontal: no short record
        {0.0, 1.0, true, {0, 4}},   // sub-rows sampled at 0.1 .. 0.9
        {0.0, 0.5, true, {0, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.rows, Rows(c.y0, c.y1, c.coverage)) << c.y0 << ".." << c.y1;
    }
}

TEST_F(EdgeTableTest, SegmentsOutsideTheClipRowsAreCulledWithoutGrowingBounds) {
    const std::int32_t rect[4] = {0, 10, 64, 20};
    ASSERT_EQ(0, TessroSetDeviceClipRectangle(ctx, rect));
    ctx->path.shortRecords = 1;
    TessroEmptyEdges(ctx);
    TessroAddSegment(ctx, 0, 2 * kOne, kOne, 9 * kOne);
    TessroAddSegment(ctx, 0, 20 * kOne, kOne, 30 * kOne);
    EXPECT_EQ(0, ctx->path.edgeCount);
    EXPECT_EQ(0x7FFFFFFF, ctx->path.bounds[0]);
}

TEST_F(EdgeTableTest, ActiveEdgesStepAndCatchUpFromBelowTheirFirstRow) {
    ctx->path.shortRecords = 1;
    TessroEmptyEdges(ctx);
    // x goes from 0 to 10 px over rows 0..10: one pixel per row.
    TessroAddSegment(ctx, 0, 0, 10 * kOne, 10 * kOne);
    TessroAddSegment(ctx, 20 * kOne, 10 * kOne, 20 * kOne, 0);
    ASSERT_EQ(2, TessroBuildEdgeIndex(ctx));
    TessroSortEdges(ctx);
    TessroShortEdge** list = TessroStepShortEdges(ctx, 4);  // starts below row 0
    ASSERT_NE(nullptr, list[0]);
    EXPECT_EQ(4 * kOne + kOne / 2, list[0]->x);
    EXPECT_EQ(20 * kOne, list[1]->x);
    EXPECT_EQ(nullptr, list[2]);
    EXPECT_EQ(+1, TessroEdgeDirection(list[1]));
    EXPECT_EQ(-1, TessroEdgeDirection(list[0]));
    list = TessroStepShortEdges(ctx, 5);
    EXPECT_EQ(5 * kOne + kOne / 2, list[0]->x);
    list = TessroStepShortEdges(ctx, 10);
    EXPECT_EQ(nullptr, list[0]);  // both retired after row 9
}

TEST_F(EdgeTableTest, NearlyHorizontalEdgesJumpTheirWholeRun) {
    ctx->path.shortRecords = 1;
    TessroEmptyEdges(ctx);
    TessroAddSegment(ctx, 0, 3 * kOne + kOne / 2 - 1, 40 * kOne, 3 * kOne + kOne / 2 + 1);
    ASSERT_EQ(1, TessroBuildEdgeIndex(ctx));
    const TessroShortEdge* e = static_cast<TessroShortEdge*>(ctx->path.pointerTable[1]);
    EXPECT_EQ(40 * kOne, e->slope);
}

TEST_F(EdgeTableTest, HairlineRecordsSpanTheirRowAndAHalfPixelEitherSide) {
    ctx->path.shortRecords = 0;
    TessroEmptyEdges(ctx);
    TessroAddSegment(ctx, 2 * kOne, 5 * kOne + 100, 7 * kOne, 5 * kOne + 100);
    ASSERT_EQ(1, TessroBuildEdgeIndex(ctx));
    TessroSortEdges(ctx);
    TessroHairlineEdge** list = TessroStepHairlineEdges(ctx, 5);
    ASSERT_NE(nullptr, list[0]);
    EXPECT_EQ(2 * kOne - kOne / 2, list[0]->left);
    EXPECT_EQ(7 * kOne + kOne / 2, list[0]->right);
}

TEST_F(EdgeTableTest, ASecondBlockNeedsMemoryHandlers) {
    ctx->path.shortRecords = 1;
    TessroEmptyEdges(ctx);
    const int perBlock = 32768 / 16;
    for (int i = 0; i < perBlock; ++i) TessroAddSegment(ctx, 0, 0, i, 60 * kOne);
    EXPECT_EQ(0, CountingAllocator::allocations);
    TessroAddSegment(ctx, 0, 0, 5000, 60 * kOne);
    EXPECT_EQ(1, CountingAllocator::allocations);
    ASSERT_EQ(perBlock + 1, TessroBuildEdgeIndex(ctx));
    TessroSortEdges(ctx);
    EXPECT_EQ(perBlock + 1, [&] {
        int n = 0;
        for (TessroShortEdge** l = TessroStepShortEdges(ctx, 1); *l != nullptr; ++l) ++n;
        return n;
    }());
    TessroEmptyEdges(ctx);
    EXPECT_EQ(CountingAllocator::allocations, CountingAllocator::releases);

    ASSERT_EQ(0, TessroReleaseMemory(ctx));
    PathBuilder p(64);
    p.Move(0, 0);
    for (int i = 0; i <= perBlock; ++i) p.Line(i % 2 ? 30 : 0, i % 2 ? 60 : 0);
    ASSERT_EQ(0, TessroSetColour(ctx, 0xFF));
    EXPECT_EQ(-1, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0));
    EXPECT_EQ(TESSRO_ERROR_UNDEFINED_MEMORY_HANDLERS, LastError());
}

TEST_F(EdgeTableTest, EdgesAddedAfterReleaseOrCopyNeverReachForeignStorage) {
    // Edges fed one by one into a second block, then the blocks released under them.
    ASSERT_EQ(0, TessroBeginEdges(ctx, TESSRO_RULE_EVEN_ODD, 0));
    const double line[4] = {0, 0, 65536.0, 60 * 65536.0};
    for (int i = 0; i < 2100; ++i) ASSERT_EQ(0, TessroAddEdge(ctx, line, 0));
    ASSERT_EQ(0, TessroFreeBuffers(ctx));
    ASSERT_EQ(0, TessroAddEdge(ctx, line, 0));
    EXPECT_EQ(1, ctx->path.edgeCount);
    // A byte copy starts its own table rather than writing into the source's blocks.
    for (int i = 0; i < 2100; ++i) ASSERT_EQ(0, TessroAddEdge(ctx, line, 0));
    std::vector<BYTE> copyStorage(TessroGetContextSize());
    TessroContext* copy = reinterpret_cast<TessroContext*>(copyStorage.data());
    ASSERT_EQ(0, TessroCopyContext(ctx, copy));
    ASSERT_EQ(0, TessroAddEdge(copy, line, 0));
    EXPECT_EQ(1, copy->path.edgeCount);
    EXPECT_EQ(2101, ctx->path.edgeCount);
    ASSERT_EQ(0, TessroReleaseMemory(copy));
    ASSERT_EQ(0, TessroFreeBuffers(ctx));
    EXPECT_EQ(CountingAllocator::allocations, CountingAllocator::releases);
}

// ---- Curve walker ----
std::vector<TessroPoint> g_walked;
void Collect(TessroContext*, std::int32_t x, std::int32_t y) { g_walked.push_back({x, y}); }

TEST_F(EdgeTableTest, CurveWalkerSplitsUntilFlatAndEndsOnTheEndPoint) {
    struct Case {
        TessroPoint p[4];
        DWORD flatness;
        std::size_t minimum, maximum;
    } cases[] = {
        {{{0, 0}, {100 << 16, 0}, {200 << 16, 0}, {300 << 16, 0}}, 16, 1, 1},  // a line
        {{{5, 5}, {5, 5}, {5, 5}, {5, 5}}, 16, 1, 1},                          // a point
        // A quarter circle of radius 100 px at the finest flatness: many pieces.
        {{{100 << 16, 0}, {100 << 16, 55 << 16}, {55 << 16, 100 << 16}, {0, 100 << 16}}, 16, 256, 100000},
    };
    for (const Case& c : cases) {
        g_walked.clear();
        TessroWalkCurve(ctx, Collect, c.flatness, c.p[0], c.p[1], c.p[2], c.p[3]);
        EXPECT_GE(g_walked.size(), c.minimum);
        EXPECT_LE(g_walked.size(), c.maximum);
        EXPECT_EQ(c.p[3].x, g_walked.back().x);
        EXPECT_EQ(c.p[3].y, g_walked.back().y);
    }
    // Pieces arrive in curve order: x never increases along this quarter circle.
    for (std::size_t i = 1; i < g_walked.size(); ++i) EXPECT_LE(g_walked[i].x, g_walked[i - 1].x);
}

TEST_F(EdgeTableTest, TooSmallAStackAllowanceFailsOnlyCurvedCurves) {
    ASSERT_EQ(0, TessroSetStackLimit(ctx, 64));
    PathBuilder curved(64), straight(64);
    curved.Move(0, 0).Curve(0, 30, 30, 30, 30, 0).Close();
    straight.Move(0, 0).Curve(10, 10, 20, 20, 30, 30).Line(30, 0).Close();
    ASSERT_EQ(0, TessroSetColour(ctx, 0xFF));
    EXPECT_EQ(-1, TessroFillPath(ctx, curved.points.data(), curved.verbs.data(), curved.count(), 0));
    EXPECT_EQ(TESSRO_ERROR_STACK_OVERFLOW, LastError());
    EXPECT_EQ(0, TessroFillPath(ctx, straight.points.data(), straight.verbs.data(), straight.count(), 0));
}

// ---- Coverage accumulators ----
std::vector<int> CoverageOf(TessroContext* ctx, int pixels) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(ctx->path.coverage);
    return std::vector<int>(bytes, bytes + pixels);
}

TEST_F(EdgeTableTest, AccumulatorsAddRoundedColumnsPerSubRow) {
    struct Case {
        bool five;
        double a, b;
        std::vector<int> expected;
    } cases[] = {
        {true, 1.0, 3.0, {0, 5, 5, 0, 0, 0}},
        {true, 0.5, 0.7, {1, 0, 0, 0, 0, 0}},  // ends round to 3/5 and 4/5
        {true, 3.5, 5.0, {0, 0, 0, 2, 5, 0}},  // across a word boundary
        {false, 1.0, 2.5, {0, 51, 27, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TessroClearCoverage(ctx);
        ctx->path.dirtyStart = 0, ctx->path.dirtyEnd = 64 * kOne;
        TessroClearCoverage(ctx);
        const std::int32_t a = static_cast<std::int32_t>(std::lround(c.a * kOne));
        const std::int32_t b = static_cast<std::int32_t>(std::lround(c.b * kOne));
        if (c.five) {
            TessroAccumulateFive(ctx, a, b);
        } else {
            TessroAccumulateSeventeen(ctx, a, b);
        }
        EXPECT_EQ(c.expected, CoverageOf(ctx, 6)) << c.a << ".." << c.b;
        EXPECT_EQ(a, ctx->path.dirtyStart);
        EXPECT_EQ(b, ctx->path.dirtyEnd);
    }
}

TEST(CoverageLanes, SaturatingAdditionNeverCarriesIntoTheNextByte) {
    struct Case {
        DWORD a, b, sum;
    } cases[] = {
        {0x01020304u, 0x10203040u, 0x11223344u},
        {0x00FF00F0u, 0x00010020u, 0x00FF00FFu},
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu},
        {0x80808080u, 0x7F7F7F80u, 0xFFFFFFFFu},
        {0x33333333u, 0x33333333u, 0x66666666u},
    };
    for (const Case& c : cases) EXPECT_EQ(c.sum, TessroSaturatingAdd(c.a, c.b)) << std::hex << c.a;
}

}  // namespace
