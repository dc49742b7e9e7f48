// Path geometry and the stroker: bounds, snapping, outlines, caps, joins, dashes, hairlines,
// and argument checks.
#include <gtest/gtest.h>

#include "tests/raster/TessroPathSupport.h"

namespace {

class StrokeTest : public PathTest {
protected:
    std::vector<std::int32_t> StrokeBounds(const PathBuilder& p, std::int32_t width, int cap,
                                           int join, int close = 0,
                                           const TessroDashPattern* dash = nullptr) {
        std::int32_t r[4] = {0, 0, 0, 0};
        EXPECT_EQ(0, TessroGetStrokePathBounds(ctx, p.points.data(), p.verbs.data(), p.count(), r,
                                               close, width, cap, join, dash));
        return {r[0], r[1], r[2], r[3]};
    }
};

// ---- Settings and bounds ----

TEST_F(StrokeTest, FlatnessIsEightTimesTheArgumentAndAtLeastSixteen) {
    const std::pair<std::int32_t, DWORD> cases[] = {{1, 16}, {-5, 16}, {0x4000, 0x20000}, {3, 24}};
    for (const auto& c : cases) {
        ASSERT_EQ(0, TessroSetFlatness(ctx, c.first));
        EXPECT_EQ(c.second, ctx->flatness) << c.first;
    }
}

TEST_F(StrokeTest, PathBoundsWithAndWithoutFlattening) {
    const TessroPoint points[4] = {{0, 0}, {0, 100 << 16}, {100 << 16, 100 << 16}, {100 << 16, 0}};
    const unsigned char verbs[4] = {TESSRO_VERB_MOVE_TO, TESSRO_VERB_CURVE, TESSRO_VERB_CURVE, TESSRO_VERB_CURVE};
    std::int32_t r[4];
    // Flag 0 reads no verbs.
    ASSERT_EQ(0, TessroGetPathBounds(ctx, points, nullptr, 4, r, 0));
    EXPECT_EQ((std::vector<std::int32_t>{0, 0, 100 << 16, 100 << 16}), std::vector<std::int32_t>(r, r + 4));
    ASSERT_EQ(0, TessroGetPathBounds(ctx, points, verbs, 4, r, 1));
    // The curve peaks at three quarters of its control height.
    EXPECT_NEAR(75 << 16, r[3], 1 << 10);
    EXPECT_EQ(0, r[0]);
    EXPECT_EQ(-1, TessroGetPathBounds(ctx, points, verbs, 3, r, 1));
    EXPECT_EQ(TESSRO_ERROR_BAD_PATH, LastError());
    EXPECT_EQ(-1, TessroGetPathBounds(ctx, points, nullptr, 4, r, 1));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
    ASSERT_EQ(0, TessroGetPathBounds(ctx, points, verbs, 0, r, 1));
    EXPECT_EQ(0x7FFFFFFF, r[0]);
    EXPECT_EQ(-1, TessroGetPointsBounds(points, -1, r));
    ASSERT_EQ(0, TessroGetPointsBounds(points, 2, r));
    EXPECT_EQ(100 << 16, r[3]);
}

TEST_F(StrokeTest, TransformPointsUsesTheGivenMatrixInPlace) {
    TessroPoint points[2] = {{1 << 16, 2 << 16}, {-(3 << 16), 0}};
    const TessroMatrix m{0, 0x20000, 0x10000, 0, std::int64_t(5) << 32, 0};  // x' = y + 5, y' = 2x
    ASSERT_EQ(0, TessroTransformPoints(ctx, points, points, 2, &m));
    EXPECT_EQ(7 << 16, points[0].x);
    EXPECT_EQ(2 << 16, points[0].y);
    EXPECT_EQ(5 << 16, points[1].x);
    EXPECT_EQ(-(6 << 16), points[1].y);
    EXPECT_EQ(-1, TessroTransformPoints(ctx, points, points, 0, &m));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
}

TEST_F(StrokeTest, SnappingMovesAxisParallelSidesToCentresOrEdges) {
    struct Case {
        double width;
        double x;  // of a vertical line
        double snapped;
    } cases[] = {{1.0, 10.3, 10.5}, {2.0, 10.3, 10.0}, {3.0, 10.7, 10.5}, {1.0, 10.0, 10.5}};
    for (const Case& c : cases) {
        PathBuilder p = Path();
        p.Move(c.x, 2).Line(c.x, 9);
        ASSERT_EQ(0, TessroSnapPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0,
                                    static_cast<std::int32_t>(c.width * kPixel)));
        EXPECT_EQ(User(c.snapped, 0).x, p.points[0].x) << c.width << " " << c.x;
        EXPECT_EQ(p.points[0].x, p.points[1].x);
    }
    // A closed rectangle: all four sides, the closing one included.
    PathBuilder r = Path();
    r.Rect(2.2, 3.3, 8.8, 9.6);
    ASSERT_EQ(0, TessroSnapPath(ctx, r.points.data(), r.verbs.data(), r.count(), 0, kPixel));
    PathBuilder expected = Path();
    expected.Rect(2.5, 3.5, 8.5, 9.5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected.points[i].x, r.points[i].x) << i;
        EXPECT_EQ(expected.points[i].y, r.points[i].y) << i;
    }
}

// ---- Pen geometry ----

TEST_F(StrokeTest, CapsExtendAHorizontalSegmentAsTheyShould) {
    struct Case {
        int cap;
        std::vector<std::int32_t> box;  // pixels: left, bottom, right, top in user units
    } cases[] = {
        {TESSRO_CAP_BUTT, {10, 9, 20, 11}},
        {TESSRO_CAP_SQUARE, {9, 9, 21, 11}},
        {TESSRO_CAP_ROUND, {9, 9, 21, 11}},
    };
    for (const Case& c : cases) {
        PathBuilder p(0);
        p.Move(10, -10).Line(20, -10);  // user y = 10
        const std::vector<std::int32_t> r = StrokeBounds(p, 2 * kPixel, c.cap, TESSRO_JOIN_MITRE);
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(c.box[k] * kPixel, r[k], 2) << "cap " << c.cap << " " << k;
    }
}

TEST_F(StrokeTest, MitreLimitTurnsSharpCornersIntoBevels) {
    // A right angle (ratio 1.41) keeps its mitre; a turn of 170 degrees (ratio 11.5) does not.
    PathBuilder right(0), sharp(0);
    right.Move(0, 0).Line(10, 0).Line(10, -10);
    const double rad = 10.0 * 3.14159265358979 / 180.0;
    sharp.Move(0, 0).Line(10, 0).Line(10 - 10 * std::cos(rad), 10 * std::sin(rad));
    const std::vector<std::int32_t> r = StrokeBounds(right, 2 * kPixel, TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE);
    EXPECT_NEAR(11 * kPixel, r[2], 2);   // mitre corner at (11, -1)
    EXPECT_NEAR(-1 * kPixel, r[1], 2);
    const std::vector<std::int32_t> s = StrokeBounds(sharp, 2 * kPixel, TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE);
    EXPECT_LT(s[2], static_cast<std::int32_t>(11.1 * kPixel));  // no spike of ~11.5 px
    ASSERT_EQ(0, TessroSetMitreLimit(ctx, 12 << 16));
    const std::vector<std::int32_t> t = StrokeBounds(sharp, 2 * kPixel, TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE);
    EXPECT_GT(t[2], 20 * kPixel);  // now the spike is allowed
}

TEST_F(StrokeTest, WideStrokesFillTheirPen) {
    // Width 2 px, butt caps, along row 8 from x = 4 to 12: rows 7 and 8, columns 4..11.
    PathBuilder p = Path();
    p.Move(4, 8).Line(12, 8);
    ASSERT_EQ(0, Stroke(p, 2 * kPixel));
    EXPECT_EQ(
        "................\n"
        "................\n"
        "................\n"
        "................\n"
        "................\n"
        "................\n"
        "................\n"
        "....########....\n"
        "....########....\n"
        "................\n"
        "................\n"
        "................\n"
        "................\n"
        "................\n"
        "................\n"
        "................\n",
        Drawn());
    // A closed square outline painted with a mitre: a 2-pixel frame with full corners.
    Clear();
    PathBuilder q = Path();
    q.Rect(4, 4, 12, 12);
    ASSERT_EQ(0, Stroke(q, 2 * kPixel, TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE));
    EXPECT_EQ(
        "................\n"
        "................\n"
        "................\n"
        "...##########...\n"
        "...##########...\n"
        "...##......##...\n"
        "...##......##...\n"
        "...##......##...\n"
        "...##......##...\n"
        "...##......##...\n"
        "...##......##...\n"
        "...##########...\n"
        "...##########...\n"
        "................\n"
        "................\n"
        "................\n",
        Drawn());
}

TEST_F(StrokeTest, OverlappingPiecesNeverCancel) {
    // A path that doubles back over itself: under the nonzero rule every piece adds.
    PathBuilder p = Path();
    p.Move(2, 8).Line(12, 8).Line(4, 8.5).Line(14, 9);
    ASSERT_EQ(0, Stroke(p, 3 * kPixel, TESSRO_CAP_BUTT, TESSRO_JOIN_ROUND));
    for (int x = 4; x < 12; ++x) EXPECT_NE(0u, target.Pixel(x, 8)) << x;
}

TEST_F(StrokeTest, DotsAndHairlines) {
    // A single point with round caps is a dot as wide as the pen; with butt caps nothing.
    PathBuilder dot = Path();
    dot.Move(8, 8);
    ASSERT_EQ(0, Stroke(dot, 4 * kPixel, TESSRO_CAP_BUTT));
    EXPECT_EQ(std::string::npos, Drawn().find('#'));
    ASSERT_EQ(0, Stroke(dot, 4 * kPixel, TESSRO_CAP_ROUND));
    EXPECT_NE(0u, target.Pixel(8, 8));
    EXPECT_NE(0u, target.Pixel(6, 7));
    EXPECT_EQ(0u, target.Pixel(5, 8));
    // A zero width paints one-pixel runs even with antialiasing on; the run includes column 7.
    Clear();
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    ASSERT_EQ(0, TessroClearChangedBounds(ctx));
    PathBuilder line = Path();
    line.Move(2, 5.5).Line(7, 5.5);
    ASSERT_EQ(0, Stroke(line, 0));
    for (int x = 0; x < kSize; ++x) EXPECT_EQ(x >= 2 && x <= 7, target.Pixel(x, 5) == 0x00FFFFFFu) << x;
    EXPECT_EQ(std::string::npos, Drawn().substr(0, 5 * (kSize + 1)).find('#'));
    EXPECT_EQ((std::vector<DWORD>{2, 5, 8, 6}), Changed());
}

TEST_F(StrokeTest, ClosingFlagAddsOnlyTheClosingSegments) {
    PathBuilder p = Path();
    p.Move(3, 3).Line(12, 3).Line(12, 12);
    ASSERT_EQ(0, Stroke(p, 0, TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE, 0));
    const std::string open = Drawn();
    Clear();
    ASSERT_EQ(0, Stroke(p, 0, TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE, 1));
    const std::string closed = Drawn();
    for (std::size_t i = 0; i < open.size(); ++i) {
        if (open[i] == '#') {
            EXPECT_EQ('#', closed[i]) << i;
        }
    }
    EXPECT_NE(open, closed);
    EXPECT_EQ('#', closed[7 * (kSize + 1) + 7]);  // on the diagonal back to the start
}

TEST_F(StrokeTest, DashesSplitSegmentsAndFitWhenAsked) {
    TessroDashPattern dash{2, 0, {4 * kPixel, 2 * kPixel}};
    PathBuilder p = Path();
    p.Move(0, 3).Line(12, 3);
    ASSERT_EQ(0, Stroke(p, 0, TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE, 0, &dash));
    // Hairline pieces [0, 4] and [6, 10], each including the pixel of its end; the piece that
    // starts at 12 has no length left on this segment.
    EXPECT_EQ("#####.#####.....", Drawn().substr(3 * (kSize + 1), kSize));
    // Fitted on a 13-pixel segment: k = 2, the pattern stretched by 13/12.
    std::vector<TessroPoint> points(64);
    std::vector<unsigned char> verbs(64);
    ASSERT_EQ(0, TessroSetDashFitting(ctx, 1));
    PathBuilder q(0);
    q.Move(0, 0).Line(13, 0);
    const int written = TessroStrokePathToPath(ctx, q.points.data(), q.verbs.data(), q.count(),
                                               points.data(), verbs.data(), 64, 0, 0, 0, 0, &dash);
    ASSERT_EQ(4, written);  // two hairline pieces: move and line each
    const double unit = 13.0 / 12.0;
    EXPECT_NEAR(0, points[0].x, 2);
    EXPECT_NEAR(4 * unit * kPixel, points[1].x, 2);
    EXPECT_NEAR(6 * unit * kPixel, points[2].x, 2);
    EXPECT_NEAR(10 * unit * kPixel, points[3].x, 2);
    EXPECT_EQ(TESSRO_VERB_MOVE_TO, verbs[2]);
}

TEST_F(StrokeTest, OutlinesAreClosedPathsThatFillLikeTheStroke) {
    PathBuilder p = Path();
    p.Move(3, 4).Line(12, 4).Line(12, 12);
    std::vector<TessroPoint> points(256);
    std::vector<unsigned char> verbs(256);
    const int n = TessroStrokePathToPath(ctx, p.points.data(), p.verbs.data(), p.count(), points.data(),
                                         verbs.data(), 256, 0, 2 * kPixel, TESSRO_CAP_ROUND,
                                         TESSRO_JOIN_ROUND, nullptr);
    ASSERT_GT(n, 0);
    EXPECT_EQ(TESSRO_VERB_MOVE_TO, verbs[0]);
    EXPECT_EQ(TESSRO_VERB_CLOSE, verbs[n - 1] & TESSRO_VERB_CLOSE);
    ASSERT_EQ(0, TessroFillPath(ctx, points.data(), verbs.data(), n, TESSRO_RULE_NONZERO));
    const std::string filled = Drawn();
    Clear();
    ASSERT_EQ(0, Stroke(p, 2 * kPixel, TESSRO_CAP_ROUND, TESSRO_JOIN_ROUND));
    EXPECT_EQ(filled, Drawn());
    // Too small an output buffer.
    EXPECT_EQ(-1, TessroStrokePathToPath(ctx, p.points.data(), p.verbs.data(), p.count(), points.data(),
                                         verbs.data(), 5, 0, 2 * kPixel, TESSRO_CAP_ROUND,
                                         TESSRO_JOIN_ROUND, nullptr));
    EXPECT_EQ(TESSRO_ERROR_BUFFER_FULL, LastError());
}

TEST_F(StrokeTest, BadPensAndPatternsAreRefusedBeforeThePathIsRead) {
    PathBuilder p = Path();
    p.Move(3, 4).Line(12, 4);
    TessroDashPattern nine{9, 0, {1, 1, 1, 1, 1, 1, 1, 1}};
    TessroDashPattern negative{2, 0, {4 * kPixel, -1}};
    TessroDashPattern zero{2, 0, {0, 0}};
    struct Case {
        std::int32_t width;
        int cap, join;
        const TessroDashPattern* dash;
        int code;
    } cases[] = {
        {kPixel, 3, 0, nullptr, TESSRO_ERROR_BAD_PARAMETERS},
        {kPixel, 0, 3, nullptr, TESSRO_ERROR_BAD_PARAMETERS},
        {kPixel, 0x80, 0, nullptr, TESSRO_ERROR_BAD_PARAMETERS},  // a "negative" byte
        {kPixel, -1, 0, nullptr, TESSRO_ERROR_BAD_PARAMETERS},
        {-kPixel, 0, 0, nullptr, TESSRO_ERROR_BAD_PARAMETERS},
        {kPixel, 0, 0, &nine, TESSRO_ERROR_BAD_PARAMETERS},
        {kPixel, 0, 0, &negative, TESSRO_ERROR_BAD_PARAMETERS},
        {kPixel, 0, 0, &zero, TESSRO_ERROR_BAD_PARAMETERS},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(-1, Stroke(p, c.width, c.cap, c.join, 0, c.dash));
        EXPECT_EQ(c.code, LastError());
        std::int32_t r[4];
        EXPECT_EQ(-1, TessroGetStrokePathBounds(ctx, p.points.data(), p.verbs.data(), p.count(), r, 0,
                                                c.width, c.cap, c.join, c.dash));
    }
    EXPECT_EQ(std::string::npos, Drawn().find('#'));
    const unsigned char lineFirst[2] = {TESSRO_VERB_LINE, TESSRO_VERB_LINE};
    EXPECT_EQ(-1, TessroStrokePath(ctx, p.points.data(), lineFirst, 2, 0, kPixel, 0, 0, nullptr));
    EXPECT_EQ(TESSRO_ERROR_BAD_PATH, LastError());
}

TEST_F(StrokeTest, DashPatternsFarBelowAPixelAreRefusedNotWalked) {
    TessroDashPattern tiny{2, 0, {1, 1}};  // 1/65536 px on, 1/65536 px off
    PathBuilder p = Path();
    p.Move(0, 3).Line(16, 3).Line(16, 16);
    EXPECT_EQ(-1, Stroke(p, kPixel, TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE, 0, &tiny));
    EXPECT_EQ(TESSRO_ERROR_OUT_OF_MEMORY, LastError());
    EXPECT_EQ(CountingAllocator::allocations, CountingAllocator::releases);
}

TEST_F(StrokeTest, SnappedStrokesUseAndReleaseTheTemporaryBuffer) {
    ASSERT_EQ(0, TessroSetStrokeSnapping(ctx, 1));
    PathBuilder p = Path();
    p.Move(4.3, 2).Line(4.3, 12);
    ASSERT_EQ(0, Stroke(p, kPixel));
    for (int y = 2; y < 12; ++y) EXPECT_NE(0u, target.Pixel(4, y)) << y;
    EXPECT_EQ(0u, target.Pixel(3, 6));
    EXPECT_EQ(0u, target.Pixel(5, 6));
    EXPECT_EQ(nullptr, ctx->temporaryBuffer);
    EXPECT_EQ(CountingAllocator::allocations, CountingAllocator::releases);
}

}  // namespace
