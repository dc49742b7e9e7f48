// Drawing documents into 32-bit buffers: coverage, compositing over existing pixels, paints,
// fill rules, fitting and row order.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "components/vector/VectorRenderer.h"

using vector::Affine;
using vector::RenderTarget;
using vector::VectorDocument;
using vector::VectorRenderer;

namespace {

const std::uint32_t kClearWhite = 0xFFFFFFFF;

struct Canvas {
    int width, height;
    std::vector<std::uint32_t> pixels;
    Canvas(int w, int h, std::uint32_t fill = kClearWhite) : width(w), height(h), pixels(w * h, fill) {}
    // Top-down coordinates; the buffer is bottom-up.
    std::uint32_t At(int x, int y) const { return pixels[(height - 1 - y) * width + x]; }
    unsigned Transparency(int x, int y) const { return At(x, y) >> 24; }
    void Draw(const char* svg, const Affine& transform = Affine())
    {
        VectorDocument document;
        ASSERT_TRUE(document.Read(svg, std::strlen(svg)));
        VectorRenderer renderer;
        RenderTarget target{pixels.data(), width, height, true};
        renderer.Render(document, target, transform);
    }
};

TEST(VectorRender, UncoveredPixelsKeepTheirExactValues)
{
    // Clear black, clear white and an odd half-transparent value around a pixel-aligned square.
    for (std::uint32_t background : {0xFF000000u, kClearWhite, 0x80123456u, 0x00ABCDEFu}) {
        Canvas canvas(8, 8, background);
        canvas.Draw(R"(<svg><rect x="2" y="3" width="4" height="2" fill="#102030"/></svg>)");
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
                EXPECT_EQ(canvas.At(x, y), inside ? 0x00102030u : background) << x << "," << y;
            }
    }
}

TEST(VectorRender, PartialCoverageAndOpacityGiveStraightColourWithTransparency)
{
    struct Case {
        const char* svg;
        unsigned transparency;  // of pixel (1, 0) over a clear background
    };
    const Case cases[] = {
        {R"(<svg><rect x="1.5" y="0" width="3" height="1" fill="#ff0000"/></svg>)", 128},
        {R"(<svg><rect x="1" y="0" width="3" height="1" fill="#ff0000" fill-opacity="0.25"/></svg>)", 191},
        {R"(<svg><g opacity="0.5"><rect x="1" y="0" width="3" height="1" fill="#ff0000"/></g></svg>)", 128},
        {R"(<svg><rect x="1" y="0" width="3" height="1" fill="#ff0000" style="opacity:0"/></svg>)", 255},
        // A translucent group fades as a whole: its overlapping shapes do not add up.
        {R"(<svg><g opacity="0.5"><rect x="1" y="0" width="3" height="1" fill="#ff0000"/><rect x="1" y="0" width="3" height="1" fill="#ff0000"/></g></svg>)", 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.svg);
        Canvas canvas(6, 1);
        canvas.Draw(c.svg);
        // Edge sampling differs by a few levels between fillers.
        EXPECT_NEAR(static_cast<int>(canvas.Transparency(1, 0)), static_cast<int>(c.transparency), 8);
        if (c.transparency < 255) {
            EXPECT_EQ(canvas.At(1, 0) & 0xFFFFFF, 0xFF0000u);  // colour not darkened by opacity
        }
    }
}

TEST(VectorRender, FillRulesDecideTheHoleOfARing)
{
    const char* ring = R"(<svg><path fill-rule="%s" d="M0 0H10V10H0Z M3 3H7V7H3Z"/></svg>)";
    const char* reversed = R"(<svg><path d="M0 0H10V10H0Z M3 3V7H7V3Z"/></svg>)";
    char text[200];
    std::snprintf(text, sizeof text, ring, "evenodd");
    Canvas evenOdd(10, 10);
    evenOdd.Draw(text);
    std::snprintf(text, sizeof text, ring, "nonzero");
    Canvas nonZero(10, 10);
    nonZero.Draw(text);
    Canvas wound(10, 10);
    wound.Draw(reversed);
    EXPECT_EQ(evenOdd.Transparency(5, 5), 255u);
    EXPECT_EQ(nonZero.Transparency(5, 5), 0u);
    EXPECT_EQ(wound.Transparency(5, 5), 255u);
    for (const Canvas* c : {&evenOdd, &nonZero, &wound})
        EXPECT_EQ(c->Transparency(1, 1), 0u);
}

TEST(VectorRender, OverlappingStrokeSegmentsPaintOnce)
{
    // A zigzag whose segments overlap at the joins, at half opacity: every covered pixel has
    // the opacity of one layer, never two.
    Canvas canvas(40, 20);
    canvas.Draw(R"(<svg><polyline points="2,10 20,10 6,10 38,10" fill="none" stroke="#000" stroke-width="6" stroke-opacity="0.5"/></svg>)");
    for (int x = 4; x < 36; ++x)
        EXPECT_NEAR(static_cast<int>(canvas.Transparency(x, 10)), 128, 2) << x;
}

TEST(VectorRender, GradientsRunBetweenTheirStops)
{
    const char* svg = R"svg(<svg>
      <defs><linearGradient id="g"><stop offset="0" stop-color="#ff0000"/><stop offset="1" stop-color="#0000ff"/></linearGradient>
      <radialGradient id="r" href="#g"/></defs>
      <rect width="100" height="1" fill="url(#g)"/>
      <rect y="1" width="101" height="101" fill="url(#r)"/></svg>)svg";
    Canvas canvas(101, 102);
    canvas.Draw(svg);
    auto red = [&](int x, int y) { return (canvas.At(x, y) >> 16) & 0xFF; };
    auto blue = [&](int x, int y) { return canvas.At(x, y) & 0xFF; };
    EXPECT_GT(red(0, 0), 250u);
    EXPECT_LT(blue(0, 0), 5u);
    EXPECT_NEAR(static_cast<int>(red(50, 0)), 127, 4);
    EXPECT_GT(blue(99, 0), 250u);
    EXPECT_GT(red(50, 51), 245u);    // the radial centre is the first stop
    EXPECT_GT(blue(0, 51), 245u);    // its rim the last
    EXPECT_GT(blue(100, 101), 245u); // padded beyond the rim
}

TEST(VectorRender, FitAreaScalesUniformlyAndCentresOrStretches)
{
    const vector::RectF area{0, 0, 100, 50};
    struct Case {
        bool uniform;
        int width, height;
        vector::PointF corner0, corner1;  // images of (0,0) and (100,50)
    };
    const Case cases[] = {
        {true, 200, 200, {0, 50}, {200, 150}},
        {true, 100, 100, {0, 25}, {100, 75}},
        {true, 400, 100, {100, 0}, {300, 100}},
        {false, 400, 100, {0, 0}, {400, 100}},
    };
    for (const Case& c : cases) {
        const Affine t = vector::FitArea(area, c.width, c.height, c.uniform);
        const vector::PointF a = t.Apply({0, 0}), b = t.Apply({100, 50});
        EXPECT_NEAR(a.x, c.corner0.x, 1e-9);
        EXPECT_NEAR(a.y, c.corner0.y, 1e-9);
        EXPECT_NEAR(b.x, c.corner1.x, 1e-9);
        EXPECT_NEAR(b.y, c.corner1.y, 1e-9);
    }
}

TEST(VectorRender, HiddenLayersAndShapesOutsideTheTargetDrawNothing)
{
    Canvas canvas(4, 4);
    canvas.Draw(R"(<svg><g id="a" display="none"><rect width="4" height="4"/></g>
      <rect x="-100" y="-100" width="50" height="50"/><rect x="1e300" width="1e300" height="4"/>
      <circle r="4" cx="2" cy="2" visibility="hidden"/></svg>)");
    for (std::uint32_t p : canvas.pixels)
        EXPECT_EQ(p, kClearWhite);
}

}  // namespace
