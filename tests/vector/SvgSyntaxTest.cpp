// Attribute syntax of the SVG subset: path data, transforms, colours.
#include <gtest/gtest.h>

#include <cmath>

#include "components/vector/SvgReader.h"

using vector::Affine;
using vector::PointF;
using vector::RectF;
using vector::SvgReader;
using vector::VectorPath;

namespace {

RectF PathBounds(const char* data)
{
    VectorPath path;
    SvgReader::ParsePathData(data, path);
    std::vector<vector::Polygon> polygons = vector::FlattenPath(path, Affine(), 0.01);
    RectF r = RectF::Empty();
    for (const auto& polygon : polygons)
        for (const PointF& p : polygon.points)
            r.Include(p);
    return r;
}

struct PathCase {
    const char* data;
    double left, top, right, bottom;
};

TEST(SvgSyntax, PathDataCommandsAndTheirBounds)
{
    const PathCase cases[] = {
        {"M10 20 L30 40", 10, 20, 30, 40},
        {"m10,20 l20,20", 10, 20, 30, 40},
        {"M0 0 H50 V25 h-10 v5", 0, 0, 50, 30},
        {"M0 0 10 0 10 10z", 0, 0, 10, 10},               // implicit line after a move
        {"M-1.5e1-5 L.5.5", -15, -5, 0.5, 0.5},           // numbers running together
        {"M0 0 C0 10 10 10 10 0", 0, 0, 10, 7.5},          // cubic peak at 3/4 of the control height
        {"M0 0 Q5 10 10 0", 0, 0, 10, 5},                  // quadratic peak at half
        {"M0 0 Q5 10 10 0 T20 0", 0, -5, 20, 5},           // smooth quadratic reflects
        {"M0 0 C0 10 10 10 10 0 S20 -10 20 0", 0, -7.5, 20, 7.5},
        {"M0 50 A50 50 0 0 1 100 50", 0, 0, 100, 50},      // upper half circle
        {"M0 50 A50 50 0 0 0 100 50", 0, 50, 100, 100},    // lower half
        {"M0 0 a10 10 0 1100 20", 0, 0, 10, 20},           // compact flags; clockwise half circle
        {"M0 0 A1 1 0 0 1 10 0", 0, -5, 10, 0},            // radii too small grow to reach
        {"M0 0 L10 10 oops", 0, 0, 10, 10},                // an error keeps what came before
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.data);
        const RectF r = PathBounds(c.data);
        EXPECT_NEAR(r.left, c.left, 0.05);
        EXPECT_NEAR(r.top, c.top, 0.05);
        EXPECT_NEAR(r.right, c.right, 0.05);
        EXPECT_NEAR(r.bottom, c.bottom, 0.05);
    }
}

TEST(SvgSyntax, BadPathDataFails)
{
    for (const char* data : {"10 10", "M10", "L", "M0 0 A10 10 0 2 0 5 5"}) {
        VectorPath path;
        EXPECT_FALSE(SvgReader::ParsePathData(data, path)) << data;
    }
}

TEST(SvgSyntax, TransformsApplyRightToLeft)
{
    struct Case {
        const char* text;
        PointF in, out;
    };
    const Case cases[] = {
        {"translate(10 20)", {1, 1}, {11, 21}},
        {"translate(10)", {1, 1}, {11, 1}},
        {"scale(2)", {3, 4}, {6, 8}},
        {"scale(2,3)", {3, 4}, {6, 12}},
        {"rotate(90)", {1, 0}, {0, 1}},
        {"rotate(180 5 5)", {0, 0}, {10, 10}},
        {"translate(10,0) scale(2)", {1, 1}, {12, 2}},
        {"matrix(1 0 0 1 7 8)", {0, 0}, {7, 8}},
        {"skewX(45)", {0, 10}, {10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Affine t;
        ASSERT_TRUE(SvgReader::ParseTransform(c.text, &t));
        const PointF p = t.Apply(c.in);
        EXPECT_NEAR(p.x, c.out.x, 1e-9);
        EXPECT_NEAR(p.y, c.out.y, 1e-9);
    }
    Affine t;
    EXPECT_FALSE(SvgReader::ParseTransform("rotate(1 2)", &t));
    EXPECT_FALSE(SvgReader::ParseTransform("wobble(3)", &t));
}

TEST(SvgSyntax, Colours)
{
    struct Case {
        const char* text;
        bool ok;
        int r, g, b;
    };
    const Case cases[] = {
        {"#fff", true, 255, 255, 255}, {"#1A2b3C", true, 0x1a, 0x2b, 0x3c},
        {"rgb(1, 2, 3)", true, 1, 2, 3}, {"rgb(100%,0%,50%)", true, 255, 0, 128},
        {"Navy", true, 0, 0, 128},      {"#12345", false, 0, 0, 0},
        {"#ggg", false, 0, 0, 0},       {"chartreuse-ish", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        unsigned char r = 0, g = 0, b = 0;
        EXPECT_EQ(SvgReader::ParseColour(c.text, &r, &g, &b), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(r, c.r) << c.text;
            EXPECT_EQ(g, c.g) << c.text;
            EXPECT_EQ(b, c.b) << c.text;
        }
    }
}

}  // namespace
