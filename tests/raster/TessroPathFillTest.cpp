// Path fills: rules, rounding of span ends, path errors, antialiased coverage, the
// edge-by-edge interface, and far-away geometry.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/raster/TessroPathSupport.h"

int CountingAllocator::allocations = 0;
int CountingAllocator::releases = 0;
bool CountingAllocator::failNext = false;

namespace {

TEST_F(PathTest, TriangleFillsTheSamePixelsUnderBothRules) {
    PathBuilder p = Path();
    p.Move(2, 2).Line(12, 2).Line(2, 12).Close();
    ASSERT_EQ(0, Fill(p, TESSRO_RULE_EVEN_ODD));
    const std::string evenOdd = Drawn();
    Clear();
    ASSERT_EQ(0, Fill(p, TESSRO_RULE_NONZERO));
    EXPECT_EQ(evenOdd, Drawn());
    // Row 2 (centre 2.5) runs from 2 to 11.5, the right end rounding to 12 (exclusive) once
    // the centre 11.5 lies on the edge.
    EXPECT_EQ(0xFFFFFFu, target.Pixel(2, 2) & 0xFFFFFF);
    EXPECT_EQ(0u, target.Pixel(12, 2));
    EXPECT_EQ(0u, target.Pixel(2, 12));
}

TEST_F(PathTest, NestedSquaresFollowTheRuleAndTheDirection) {
    struct Case {
        bool innerClockwise;
        DWORD rule;
        bool innerFilled;
    } cases[] = {
        {true, TESSRO_RULE_EVEN_ODD, false},
        {true, TESSRO_RULE_NONZERO, true},
        {false, TESSRO_RULE_EVEN_ODD, false},
        {false, TESSRO_RULE_NONZERO, false},
    };
    for (const Case& c : cases) {
        Clear();
        PathBuilder p = Path();
        p.Rect(1, 1, 15, 15).Rect(5, 5, 11, 11, c.innerClockwise);
        ASSERT_EQ(0, Fill(p, c.rule));
        EXPECT_NE(0u, target.Pixel(2, 2));
        EXPECT_EQ(c.innerFilled, target.Pixel(8, 8) != 0) << c.innerClockwise << " rule " << c.rule;
    }
}

TEST_F(PathTest, SpanEndsRoundToPixelCentres) {
    struct Case {
        double left, right;
        int first, end;  // columns first..end-1 filled
    } cases[] = {{3.4, 6.4, 3, 6}, {3.4, 6.5, 3, 7}, {3.5, 6.0, 4, 6}, {0.2, 0.4, 0, 0}};
    for (const Case& c : cases) {
        Clear();
        PathBuilder p = Path();
        p.Rect(c.left, 4, c.right, 5);
        ASSERT_EQ(0, Fill(p, TESSRO_RULE_EVEN_ODD));
        for (int x = 0; x < kSize; ++x) {
            EXPECT_EQ(x >= c.first && x < c.end, target.Pixel(x, 4) != 0)
                << c.left << ".." << c.right << " column " << x;
        }
    }
}

TEST_F(PathTest, OpenSubpathsCloseThemselves) {
    PathBuilder open = Path(), closed = Path();
    open.Move(2, 2).Line(10, 2).Line(10, 10).Line(2, 10);
    closed.Rect(2, 2, 10, 10);
    ASSERT_EQ(0, Fill(open, TESSRO_RULE_NONZERO));
    const std::string a = Drawn();
    Clear();
    ASSERT_EQ(0, Fill(closed, TESSRO_RULE_NONZERO));
    EXPECT_EQ(a, Drawn());
    EXPECT_NE(0u, target.Pixel(5, 5));
}

TEST_F(PathTest, PathErrorsAreReportedWithTheirCodes) {
    PathBuilder square = Path();
    square.Rect(2, 2, 6, 6);
    std::vector<unsigned char> lineFirst = square.verbs;
    lineFirst[0] = TESSRO_VERB_LINE;
    std::vector<unsigned char> shortCurve = square.verbs;
    shortCurve[2] = TESSRO_VERB_CURVE;  // a curve on the second-to-last point
    struct Case {
        const unsigned char* verbs;
        std::int32_t count;
        DWORD rule;
        int code;
    } cases[] = {
        {lineFirst.data(), square.count(), 0, TESSRO_ERROR_BAD_PATH},
        {shortCurve.data(), 4, 0, TESSRO_ERROR_BAD_PATH},
        {square.verbs.data(), 0, 0, TESSRO_ERROR_BAD_PATH},
        {square.verbs.data(), -3, 0, TESSRO_ERROR_BAD_PATH},
        {square.verbs.data(), square.count(), 2, TESSRO_ERROR_UNIMPLEMENTED},
        {square.verbs.data(), square.count(), 4, TESSRO_ERROR_BAD_PARAMETERS},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(-1, TessroFillPath(ctx, square.points.data(), c.verbs, c.count, c.rule));
        EXPECT_EQ(c.code, LastError());
    }
    EXPECT_EQ(std::string(kSize * (kSize + 1), '.').size(), Drawn().size());
    EXPECT_EQ(std::string::npos, Drawn().find('#'));
}

TEST_F(PathTest, ASingleSegmentDrawsNothingAndFailsNothing) {
    PathBuilder p = Path();
    p.Move(2, 2).Line(10, 10);
    ctx->closeSubpaths = 0;
    // Auto-close makes two edges of the same line: nothing inside.
    EXPECT_EQ(0, Fill(p, TESSRO_RULE_NONZERO));
    EXPECT_EQ(std::string::npos, Drawn().find('#'));
}

TEST_F(PathTest, AntialiasedEdgesReceiveTheCoveredFraction) {
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
    PathBuilder p = Path();
    p.Rect(2, 2, 6.5, 6);
    ASSERT_EQ(0, Fill(p, TESSRO_RULE_NONZERO));
    EXPECT_EQ(0x00FFFFFFu, target.Pixel(3, 3));  // covered: the flat colour itself
    // Half of column 6: 9 of 17 columns per sub-row are sampled inside -> 135 of 255.
    const DWORD half = target.Pixel(6, 3) & 0xFF;
    EXPECT_EQ(TessroProduct(135, 255), static_cast<int>(half));
    EXPECT_EQ(0u, target.Pixel(7, 3));
    EXPECT_EQ(0u, target.Pixel(3, 6));
}

TEST_F(DrawTest, AntialiasedFillsMixOnEveryDepthThatHasAWriter) {
    struct Case {
        WORD bits;
        DWORD mode, compression;
    } cases[] = {{4, 0, 0}, {8, 0, 0}, {8, 1, 0}, {16, 0, 0}, {16, 3, 0}, {32, 0, 0}, {32, 0, 0x80000001u}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, mode " << c.mode);
        Target aliased(8, 8, c.bits, c.compression), smooth(8, 8, c.bits, c.compression);
        PathBuilder p(8);
        p.Rect(2, 2, 6.5, 6);
        Attach(aliased, c.mode);
        if (c.bits == 8 && c.mode == 0) {
            ASSERT_EQ(0, TessroSetPalette(ctx, TessroSelectPalette(ctx, 0)));
        }
        ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
        ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0));
        Attach(smooth, c.mode);
        ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
        ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
        ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0));
        // Covered pixels are the flat colour itself, the half-covered column lies between.
        EXPECT_EQ(aliased.Pixel(3, 3), smooth.Pixel(3, 3));
        EXPECT_NE(0u, smooth.Pixel(6, 3));
        EXPECT_NE(aliased.Pixel(3, 3), smooth.Pixel(6, 3));
        EXPECT_EQ(0u, smooth.Pixel(7, 3));
        EXPECT_EQ(0u, smooth.Pixel(3, 6));
    }
    // One and two bits have no coverage writer.
    Target two(8, 8, 2);
    Attach(two);
    ctx->fillStyle = kTessroFillFlat;
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    PathBuilder p(8);
    p.Rect(2, 2, 6.5, 6);
    EXPECT_EQ(-1, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0));
    EXPECT_EQ(TESSRO_ERROR_INVALID_BITMAP_DEPTH, LastError());
}

TEST_F(PathTest, AddEdgeSeesTheMatrixOfANewTarget) {
    // The floating copy of the matrix must follow the matrix that attaching a target sets, not
    // the one of the last explicit matrix.
    TessroMatrix shifted{0x4000, 0, 0, -0x4000, 0, std::int64_t(1000) << 30};
    ASSERT_EQ(0, TessroSetMatrix(ctx, &shifted));
    Attach(target);
    ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
    ASSERT_EQ(0, TessroBeginEdges(ctx, TESSRO_RULE_EVEN_ODD, 0));
    const double y0 = (kSize - 2) * 65536.0, y1 = (kSize - 6) * 65536.0;
    const double left[4] = {2 * 65536.0, y0, 2 * 65536.0, y1};
    const double right[4] = {6 * 65536.0, y0, 6 * 65536.0, y1};
    ASSERT_EQ(0, TessroAddEdge(ctx, left, 0));
    ASSERT_EQ(0, TessroAddEdge(ctx, right, 1));
    ASSERT_EQ(0, TessroFillEdges(ctx));
    EXPECT_NE(0u, target.Pixel(3, 3));
    EXPECT_EQ(0u, target.Pixel(7, 3));
}

TEST_F(PathTest, EdgeBoundsOnlyGrowTheChangedArea) {
    ASSERT_EQ(0, TessroBeginEdges(ctx, TESSRO_RULE_EVEN_ODD, 1));
    const double line[4] = {2.5 * 65536, (kSize - 3.25) * 65536, 7.25 * 65536, (kSize - 9.5) * 65536};
    ASSERT_EQ(0, TessroAddEdge(ctx, line, 0));
    ASSERT_EQ(0, TessroFillEdges(ctx));
    EXPECT_EQ((std::vector<DWORD>{2, 3, 8, 10}), Changed());
    EXPECT_EQ(std::string::npos, Drawn().find('#'));
    const double nan[4] = {std::nan(""), 0, 0, 0};
    ASSERT_EQ(0, TessroBeginEdges(ctx, TESSRO_RULE_EVEN_ODD, 0));
    EXPECT_EQ(-1, TessroAddEdge(ctx, nan, 0));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
}

TEST_F(DrawTest, CoverageCountsSaturateInsteadOfCarrying) {
    Target grey(8, 2, 8);
    Attach(grey, 1);
    ASSERT_EQ(0, TessroSetColour(ctx, 0));
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    // Eleven passes over pixels 1..2 of row 0 (25 each) would pass 255 and, with carries,
    // leak into pixels 0 and 3.
    for (int pass = 0; pass < 11; ++pass) {
        ASSERT_EQ(0, TessroBeginEdges(ctx, TESSRO_RULE_EVEN_ODD, 0));
        const double left[4] = {1 * 65536.0, 2 * 65536.0, 1 * 65536.0, 1 * 65536.0};
        const double right[4] = {3 * 65536.0, 2 * 65536.0, 3 * 65536.0, 1 * 65536.0};
        ASSERT_EQ(0, TessroAddEdge(ctx, left, 0));
        ASSERT_EQ(0, TessroAddEdge(ctx, right, 0));
        ASSERT_EQ(0, TessroFillEdges(ctx));
        if (pass == 0) {
            EXPECT_EQ(25u, grey.Pixel(1, 0));
        }
    }
    EXPECT_EQ(0u, grey.Pixel(0, 0));
    EXPECT_EQ(255u, grey.Pixel(1, 0));
    EXPECT_EQ(255u, grey.Pixel(2, 0));
    EXPECT_EQ(0u, grey.Pixel(3, 0));
    EXPECT_EQ(0u, grey.Pixel(1, 1));
}

TEST_F(DrawTest, FullWidthAntialiasedFillStaysInsideTheCoverageBuffer) {
    // The widest target: the clear of a full-width row reaches one word past the last pixel.
    Target wide(16384, 2, 32);
    Attach(wide);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x00FF00));
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    PathBuilder p(2);
    p.Rect(-10, 0, 16400, 2);
    ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0));
    EXPECT_EQ(0x0000FF00u, wide.Pixel(0, 0) & 0xFFFFFF);
    EXPECT_EQ(0x0000FF00u, wide.Pixel(16383, 1) & 0xFFFFFF);
}

TEST_F(PathTest, FarAwayPointsAreCutWithoutOverflow) {
    // A triangle whose far corners lie near the ends of the 32-bit device range still fills
    // the target's rows correctly (its edges cross the target as straight lines).
    TessroMatrix identity{0x10000, 0, 0, 0x10000, 0, 0};
    ASSERT_EQ(0, TessroSetMatrix(ctx, &identity));
    const std::int32_t distant = 0x7FFF0000;
    const TessroPoint points[3] = {{-distant, 8 * 16384}, {distant, 8 * 16384 - 1}, {distant, 9 * 16384}};
    const unsigned char verbs[3] = {TESSRO_VERB_MOVE_TO, TESSRO_VERB_LINE, TESSRO_VERB_LINE | TESSRO_VERB_CLOSE};
    ASSERT_EQ(0, TessroFillPath(ctx, points, verbs, 3, TESSRO_RULE_NONZERO));
    for (int x = 0; x < kSize; ++x) EXPECT_NE(0u, target.Pixel(x, 8)) << x;
    EXPECT_EQ(0u, target.Pixel(0, 7));
    EXPECT_EQ(0u, target.Pixel(0, 9));
}

}  // namespace

// Whole words and runs of full coverage are stored as spans, without mixing. Whatever their
// alignment and wherever a clip cuts them, every pixel must hold what the pixel-by-pixel mix
// of its coverage gives: the coverage is read from an 8-bit grey target (white over black
// leaves c), the 32-bit target starts with a pattern so that every mix shows.
TEST_F(DrawTest, FullCoverageRunsMatchThePixelByPixelMix) {
    const int kWidth = 40, kHeight = 6;
    struct Case {
        double x0, x1;
        std::int32_t clipLeft, clipRight;
    } cases[] = {{0, 40, 0, 40},  {1, 39, 0, 40},   {2.5, 37.25, 0, 40}, {3, 33, 0, 40},   {0.3, 40, 0, 40},
                 {0, 40, 1, 39},  {0, 40, 3, 37},   {4, 36, 5, 31},      {1.7, 9, 0, 40},  {5, 6, 0, 40},
                 {4, 8, 0, 40},   {-3, 50, 2, 38},  {8, 24, 8, 24},      {7.9, 24.1, 0, 40}, {0, 16.5, 4, 13}};
    const DWORD compressions[] = {0, 0x80000001u};  // the plain and the transparency format
    for (const DWORD compression : compressions) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.x0 << ".." << c.x1 << " clip " << c.clipLeft << ".." << c.clipRight
                                            << " compression " << compression);
            PathBuilder p(kHeight);
            p.Rect(c.x0, 0.6, c.x1, 5.3);
            const std::int32_t clip[4] = {c.clipLeft, 0, c.clipRight, kHeight};
            Target grey(kWidth, kHeight, 8), colour(kWidth, kHeight, 32, compression);
            Attach(grey, 1);
            ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
            ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
            ASSERT_EQ(0, TessroSetDeviceClipRectangle(ctx, clip));
            ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), TESSRO_RULE_NONZERO));
            for (size_t i = 0; i < colour.bytes().size(); ++i) colour.bytes()[i] = static_cast<BYTE>(i * 37 + 11);
            const std::vector<BYTE> background = colour.bytes();
            Attach(colour);
            ASSERT_EQ(0, TessroSetColour(ctx, 0x2080FF));
            ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
            ASSERT_EQ(0, TessroSetDeviceClipRectangle(ctx, clip));
            ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), TESSRO_RULE_NONZERO));
            const DWORD fill = ctx->pattern[0];
            const bool alpha = compression != 0;
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    const int cover = static_cast<int>(grey.Pixel(x, y));
                    DWORD before;
                    std::memcpy(&before, background.data() + static_cast<size_t>(y) * colour.stride() + 4 * x, 4);
                    DWORD expected = before;
                    if (cover == 255) {
                        expected = alpha ? fill & 0x00FFFFFFu : fill;
                    } else if (cover > 0) {
                        expected = 0;
                        for (int shift = 0; shift < 24; shift += 8) {
                            const int t = static_cast<int>((before >> shift) & 0xFF), f = static_cast<int>((fill >> shift) & 0xFF);
                            expected |= static_cast<DWORD>(t - TessroProduct(cover, t - f)) << shift;
                        }
                        const int top = static_cast<int>(before >> 24);
                        expected |= static_cast<DWORD>(alpha ? top - TessroProduct(cover, top) : static_cast<int>(fill >> 24)) << 24;
                    }
                    ASSERT_EQ(expected, colour.Pixel(x, y)) << "pixel " << x << ", " << y << " coverage " << cover;
                }
            }
        }
    }
}

// Rows with many spans: a comb of teeth a pixel apart, drawn as one path (more spans than a
// row keeps for comparing with the next, so the row is accumulated as it comes) and tooth by
// tooth (few spans, rows compared and repeated), gives the same coverage, since no pixel
// belongs to two teeth.
TEST_F(DrawTest, BusyRowsCoverAsTheirSpansOneByOne) {
    for (int teeth : {12, 13, 20, 80}) {
        SCOPED_TRACE(testing::Message() << teeth << " teeth");
        const int width = 3 * teeth + 4, height = 9;
        Target whole(width, height, 8), single(width, height, 8);
        auto tooth = [&](PathBuilder& p, int k) {
            const double left = 3 * k + 0.3 + 0.05 * (k % 3);
            p.Move(left, 0.5).Line(left + 1.6, 0.5).Line(left + 1.6 + 0.1 * (k % 2), 7.7).Line(left, 7.7).Close();
        };
        Attach(whole, 1);
        ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
        ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
        PathBuilder all(height);
        for (int k = 0; k < teeth; ++k) tooth(all, k);
        ASSERT_EQ(0, TessroFillPath(ctx, all.points.data(), all.verbs.data(), all.count(), TESSRO_RULE_NONZERO));
        Attach(single, 1);
        ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
        ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
        for (int k = 0; k < teeth; ++k) {
            PathBuilder one(height);
            tooth(one, k);
            ASSERT_EQ(0, TessroFillPath(ctx, one.points.data(), one.verbs.data(), one.count(), TESSRO_RULE_NONZERO));
        }
        EXPECT_EQ(single.bytes(), whole.bytes());
        EXPECT_NE(std::vector<BYTE>(whole.bytes().size(), 0), whole.bytes());
    }
}
