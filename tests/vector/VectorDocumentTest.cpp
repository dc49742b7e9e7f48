// The document model: layers, bounds, hit-test names, and what a bad file does.
#include <gtest/gtest.h>

#include <cstring>

#include "components/vector/VectorDocument.h"

using vector::PointF;
using vector::VectorDocument;

namespace {

bool ReadText(VectorDocument& document, const char* text, std::string* error = nullptr)
{
    return document.Read(text, std::strlen(text), error);
}

const char kButton[] = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 120 40">
  <g id="background"><rect id="plate" x="0" y="0" width="120" height="40" fill="#ddd"/></g>
  <g id="off"><rect x="10" y="10" width="100" height="20" fill="#888"/></g>
  <g id="over" display="none"><g id="hot"><circle cx="60" cy="20" r="10" fill="red"/></g></g>
  <g><rect x="0" y="0" width="5" height="5"/></g>
  <rect id="loose" x="115" y="35" width="5" height="5"/>
</svg>)";

TEST(VectorDocument, LayersAreTopLevelGroupsNamedByTheirIds)
{
    VectorDocument document;
    ASSERT_TRUE(ReadText(document, kButton));
    EXPECT_EQ(document.LayerNames(), (std::vector<std::string>{"background", "off", "over", "Layer 4"}));
    EXPECT_FALSE(document.IsLayerVisible("over"));
    EXPECT_TRUE(document.SetLayerVisible("OVER", true));
    EXPECT_TRUE(document.IsLayerVisible("over"));
    EXPECT_FALSE(document.SetLayerVisible("missing", true));
}

TEST(VectorDocument, BoundsComeFromViewBoxSizeOrDrawing)
{
    struct Case {
        const char* text;
        double left, top, right, bottom;
    };
    const Case cases[] = {
        {R"(<svg viewBox="-10 5 100 50"/>)", -10, 5, 90, 55},
        {R"(<svg width="64" height="32px"/>)", 0, 0, 64, 32},
        {R"(<svg><rect x="3" y="4" width="10" height="20"/></svg>)", 3, 4, 13, 24},
        {R"(<svg width="100%" height="100%"><circle cx="10" cy="10" r="5" stroke="red" stroke-width="2"/></svg>)", 4, 4, 16, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        VectorDocument document;
        ASSERT_TRUE(ReadText(document, c.text));
        const vector::RectF b = document.Bounds();
        EXPECT_NEAR(b.left, c.left, 1e-9);
        EXPECT_NEAR(b.top, c.top, 1e-9);
        EXPECT_NEAR(b.right, c.right, 1e-9);
        EXPECT_NEAR(b.bottom, c.bottom, 1e-9);
    }
}

TEST(VectorDocument, HitTestNamesTheTopmostNamedVisibleObject)
{
    VectorDocument document;
    ASSERT_TRUE(ReadText(document, kButton));
    struct Case {
        PointF point;
        const char* name;
    };
    // "over" is hidden at first: the point over its circle finds the plate below.
    const Case hidden[] = {{{60, 20}, "plate"}, {{2, 2}, "plate"}, {{117, 37}, "loose"}, {{130, 20}, ""}};
    for (const Case& c : hidden)
        EXPECT_EQ(document.ObjectNameAt(c.point), c.name) << c.point.x << "," << c.point.y;
    document.SetLayerVisible("over", true);
    EXPECT_EQ(document.ObjectNameAt({60, 20}), "hot");   // an unnamed shape takes its group's name
    EXPECT_EQ(document.ObjectNameAt({51, 12}), "plate");  // outside the circle, inside its box
}

TEST(VectorDocument, BadInputLeavesAnEmptyDocument)
{
    for (const char* text : {"", "<svg", "<html><body/></html>", "not xml at all"}) {
        VectorDocument document;
        std::string error;
        EXPECT_FALSE(ReadText(document, text, &error)) << text;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(document.LayerNames().empty());
        EXPECT_TRUE(document.Root().children.empty());
    }
}

TEST(VectorDocument, DeepNestingAndGradientCyclesAreBounded)
{
    std::string deep = "<svg>";
    for (int i = 0; i < 5000; ++i)
        deep += "<g>";
    deep += "<rect width='1' height='1'/>";
    for (int i = 0; i < 5000; ++i)
        deep += "</g>";
    deep += "</svg>";
    VectorDocument document;
    EXPECT_TRUE(document.Read(deep.data(), deep.size()));

    const char cycle[] = R"(<svg><linearGradient id="a" href="#b"/><linearGradient id="b" href="#a"/>
      <rect width="10" height="10" fill="url(#a) blue"/></svg>)";
    VectorDocument cyclic;
    ASSERT_TRUE(ReadText(cyclic, cycle));
    ASSERT_EQ(cyclic.Root().children.size(), 1u);
    EXPECT_EQ(cyclic.Root().children[0]->fill.kind, vector::Paint::Kind::kColour);  // the fallback
}

}  // namespace

#ifdef _WIN32
namespace {

// Text becomes glyph outlines from the system's fonts; anchors move whole lines.
TEST(VectorDocument, TextTakesGlyphOutlinesAndItsAnchor)
{
    struct Case {
        const char* anchor;
        double expectedMiddle;  // of the text's extent, relative to x = 100
        double slack;
    };
    const Case cases[] = {{"start", +1, 0}, {"middle", 0, 4}, {"end", -1, 0}};
    for (const Case& c : cases) {
        std::string svg = std::string(R"(<svg viewBox="0 0 200 50"><text id="label" x="100" y="30" font-family="Tahoma" font-size="20" text-anchor=")") +
                          c.anchor + R"(">Hello <tspan>there</tspan></text></svg>)";
        VectorDocument document;
        ASSERT_TRUE(document.Read(svg.data(), svg.size()));
        ASSERT_EQ(document.Root().children.size(), 1u);
        const vector::VectorNode& text = *document.Root().children[0];
        ASSERT_TRUE(text.isText);
        ASSERT_FALSE(text.path.Empty()) << c.anchor;
        const vector::RectF r = text.path.Bounds(vector::Affine());
        EXPECT_GT(r.right - r.left, 50) << c.anchor;    // two words at 20 units
        EXPECT_LT(r.bottom, 36) << c.anchor;             // descenders only a little below the baseline
        EXPECT_GT(r.top, 10) << c.anchor;
        const double middle = (r.left + r.right) / 2 - 100;
        if (c.expectedMiddle > 0)
            EXPECT_GT(r.left, 99) << c.anchor;
        else if (c.expectedMiddle < 0)
            EXPECT_LT(r.right, 101) << c.anchor;
        else
            EXPECT_NEAR(middle, 0, c.slack);
        // Text is hit anywhere in its box.
        EXPECT_EQ(document.ObjectNameAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2}), "label");
    }
}

}  // namespace
#endif
