// The template engine core: slots and their value formats, page sizes, states and drawing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/stylekit/StyleDraw.h"
#include "components/stylekit/StyleEngine.h"
#include "components/stylekit/StyleTemplate.h"
#ifdef BW_HAVE_FREETYPE
#include "components/vector/FreeTypeGlyphSource.h"
#endif

namespace {

using stylekit::StyleEngine;

const char kButton[] = R"(<template version="1">
  <page sizing="text" width="80" height="24" pad-x="10" pad-y="6" min-width="30" min-height="20"/>
  <slots>
    <slot name="FaceColour" type="5" tag="Button Colour" key="Button Colour" value="2060c0"/>
    <slot name="Text1" type="9" key="TEXTSTRING" tag="#1" value="Home"/>
    <slot name="TextSize1" type="4" tag="TextSize#1" key="TEXTSIZE" value="12000"/>
    <slot name="TextColour" type="5" tag="Text Colour" key="Text Colour" value="ffffff"/>
    <slot name="BevelIndent1" type="4" description="bevelindent" key="BEVELINDENT" value="3"/>
    <slot name="FillType1" type="9" description="filltype" key="FILLTYPE1" value="Flat Matrix A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0"/>
    <slot name="Constrained" type="10" description="constrained x" key="CONSTRAINED" value="0 Height:0"/>
  </slots>
  <states><state name="Off" time="50"/><state name="Blink" time="25"/></states>
  <draw>
    <rect id="face" inset="0" radius="30%" fill="graduated" colour="FaceColour+20" colour2="FaceColour-20"
          bevel-indent="BevelIndent1" filltype="FillType1" texture="Texture1"/>
    <ellipse id="dot" left="2" top="2" right="90%" bottom="60%" colour="#ff0000" states="2"/>
    <text n="1" colour="TextColour"/>
  </draw>
</template>)";

StyleEngine& Loaded(StyleEngine& engine, const char* text = kButton)
{
    std::string error;
    EXPECT_TRUE(engine.LoadFromText(text, std::string(text).size(), "", &error)) << error;
    return engine;
}

std::string ValueOf(const StyleEngine& engine, const char* name)
{
    const int i = engine.FindSlot(name);
    return i < 0 ? "<none>" : engine.GetSlot(static_cast<size_t>(i)).value;
}

TEST(StyleEngineSlots, ReportTheTemplatesSlotsInOrder)
{
    StyleEngine engine;
    Loaded(engine);
    ASSERT_EQ(engine.SlotCount(), 7u);
    const stylekit::Slot& colour = engine.GetSlot(0);
    EXPECT_EQ(colour.name, "FaceColour");
    EXPECT_EQ(colour.type, 5);
    EXPECT_EQ(colour.tag, "Button Colour");
    EXPECT_EQ(colour.value, "2060c0");
    EXPECT_EQ(engine.GetSlot(6).description, "constrained x");
}

TEST(StyleEngineSlots, ValuesInEachFormatAreTakenOrRefused)
{
    struct Case {
        const char* slot;
        const char* written;
        bool accepted;
        const char* read;  // the value afterwards
    } cases[] = {
        {"FaceColour", "A0B1C2", true, "a0b1c2"},
        {"FaceColour", "#00ff00", true, "00ff00"},
        {"FaceColour", "12345", false, "2060c0"},
        {"FaceColour", "zzzzzz", false, "2060c0"},
        {"Text1", "lsvalue\r120\rAbout us", true, "About us"},
        {"Text1", "lsvalue\r100\rTwo\r\nlines", true, "Two\r\nlines"},
        {"Text1", "Plain", true, "Plain"},
        {"Text1", "lsvalue\rbad", false, "Home"},
        {"TextSize1", "18000", true, "18000"},
        {"TextSize1", "4294967295", true, "-1"},  // an unsigned decimal of -1
        {"TextSize1", "big", false, "12000"},
        {"Constrained", "75000 NoTranslate Height:18000", true, "75000 Height:18000"},
        {"Constrained", "0 NoTranslate Height:0", true, "0 Height:0"},
        {"Constrained", "wide", false, "0 Height:0"},
        {"FillType1", "BitmapMatrix A 2.0 B 0.0 C 0.0 D 2.0 E 5 F 5", true,
         "BitmapMatrix A 2.0 B 0.0 C 0.0 D 2.0 E 5 F 5"},
        {"FillType1", "ContoneBitmap Matrix A 1 B 0 C 0 D 1 E 0 F 0", true,
         "ContoneBitmap Matrix A 1 B 0 C 0 D 1 E 0 F 0"},
        {"FillType1", "Flat Matrix Q 1", false, "Flat Matrix A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0"},
    };
    for (const Case& c : cases) {
        StyleEngine engine;
        Loaded(engine);
        const int index = engine.FindSlot(c.slot);
        ASSERT_GE(index, 0) << c.slot;
        EXPECT_EQ(engine.SetSlotValue(static_cast<size_t>(index), c.written), c.accepted) << c.written;
        EXPECT_EQ(ValueOf(engine, c.slot), c.read) << c.written;
    }
}

TEST(StyleEngineSlots, ParsesFillTypesWithOrWithoutABlankBeforeTheMatrix)
{
    stylekit::FillTypeValue value;
    ASSERT_TRUE(stylekit::ParseFillType("BitmapMatrix A 2.0 B 0.5 C 0.0 D 3.0 E 7 F -2", &value));
    EXPECT_EQ(value.type, "Bitmap");
    EXPECT_DOUBLE_EQ(value.a, 2.0);
    EXPECT_DOUBLE_EQ(value.b, 0.5);
    EXPECT_DOUBLE_EQ(value.d, 3.0);
    EXPECT_DOUBLE_EQ(value.f, -2);
    ASSERT_TRUE(stylekit::ParseFillType("Flat Matrix A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0", &value));
    EXPECT_EQ(value.type, "Flat");
    EXPECT_FALSE(stylekit::ParseFillType("", &value));
}

TEST(StyleEngineSize, FollowsTheTextAndTheConstraint)
{
    StyleEngine engine;
    Loaded(engine);
    double w1, h1;
    engine.PageSize(&w1, &h1);
    EXPECT_GE(w1, 30);
    EXPECT_GE(h1, 20);
    // More text makes the natural width grow, the height stays.
    engine.SetSlotValue(static_cast<size_t>(engine.FindSlot("Text1")), "A much longer caption");
    double w2, h2;
    engine.PageSize(&w2, &h2);
    EXPECT_GT(w2, w1);
    EXPECT_EQ(h2, h1);
    // A constrained width wins; the height follows only directions the slot allows ("x").
    engine.SetSlotValue(static_cast<size_t>(engine.FindSlot("Constrained")), "150000 NoTranslate Height:75000");
    double w3, h3;
    engine.PageSize(&w3, &h3);
    EXPECT_EQ(w3, 200);
    EXPECT_EQ(h3, h1);
}

TEST(StyleEngineStates, AreNumberedFromOneWithTheirTimes)
{
    StyleEngine engine;
    Loaded(engine);
    EXPECT_EQ(engine.StateCount(), 2);
    EXPECT_EQ(engine.StateTime(), 50);
    EXPECT_TRUE(engine.SelectState(2));
    EXPECT_EQ(engine.StateTime(), 25);
    EXPECT_FALSE(engine.SelectState(0));
    EXPECT_FALSE(engine.SelectState(3));
    EXPECT_EQ(engine.CurrentState(), 2);
}

std::vector<std::uint32_t> Render(const StyleEngine& engine, int w, int h, const stylekit::UnitRect* clip = nullptr)
{
    std::vector<std::uint32_t> pixels(static_cast<size_t>(w) * h, 0xFF000000u);
    EXPECT_TRUE(engine.Render(w, h, clip, pixels.data()));
    return pixels;
}

// Bottom-up rows: row 0 of the buffer is the bottom of the picture.
std::uint32_t At(const std::vector<std::uint32_t>& p, int w, int h, int x, int yFromTop)
{
    return p[static_cast<size_t>(h - 1 - yFromTop) * w + x];
}

TEST(StyleEngineRender, FillsTheShapeOpaqueAndLeavesRoundedCornersClear)
{
    StyleEngine engine;
    Loaded(engine);
    const int w = 100, h = 30;
    const auto pixels = Render(engine, w, h);
    EXPECT_EQ(At(pixels, w, h, 0, 0), 0xFF000000u);           // the rounded corner
    const std::uint32_t middle = At(pixels, w, h, 50, 15);
    EXPECT_EQ(middle >> 24, 0u);                               // opaque
    EXPECT_GT(middle & 0xFF, (middle >> 16) & 0xFF);           // blue face
    // The graduated fill runs light to dark from top to bottom.
    const std::uint32_t top = At(pixels, w, h, 20, 6), bottom = At(pixels, w, h, 20, 24);
    EXPECT_GT(top & 0xFF, bottom & 0xFF);
    // Every pixel is premultiplied: no colour byte exceeds the opacity.
    for (std::uint32_t p : pixels) {
        const unsigned a = 255 - (p >> 24);
        ASSERT_LE((p >> 16) & 0xFF, a);
        ASSERT_LE(p & 0xFF, a);
    }
}

TEST(StyleEngineRender, StatesShowTheirOwnShapes)
{
    StyleEngine engine;
    Loaded(engine);
    const int w = 100, h = 30;
    const auto off = Render(engine, w, h);
    engine.SelectState(2);
    const auto blink = Render(engine, w, h);
    const std::uint32_t p = At(blink, w, h, 6, 9);
    EXPECT_EQ((p >> 16) & 0xFF, 255u);                         // the red dot of state 2
    EXPECT_NE(At(off, w, h, 6, 9), p);
}

TEST(StyleEngineRender, ClipRectangleShowsOnlyThatPartOfThePage)
{
    StyleEngine engine;
    Loaded(engine);
    double pw, ph;
    engine.PageSize(&pw, &ph);
    // The top-left quarter of the page, in document units: its top-left pixel is the clear corner.
    stylekit::UnitRect clip{0, 0, static_cast<std::int32_t>(pw * 750 / 2), static_cast<std::int32_t>(ph * 750 / 2)};
    const auto pixels = Render(engine, 40, 20, &clip);
    EXPECT_EQ(At(pixels, 40, 20, 0, 0), 0xFF000000u);
    EXPECT_EQ(At(pixels, 40, 20, 39, 19) >> 24, 0u);
}

TEST(StyleEngineRender, RefusesWhatItCannotDraw)
{
    StyleEngine unloaded;
    std::uint32_t pixel = 0xFF000000u;
    EXPECT_FALSE(unloaded.Render(1, 1, nullptr, &pixel));
    StyleEngine engine;
    Loaded(engine);
    EXPECT_FALSE(engine.Render(0, 10, nullptr, &pixel));
    EXPECT_FALSE(engine.Render(1, 1, nullptr, nullptr));
    stylekit::UnitRect empty{10, 10, 10, 20};
    EXPECT_FALSE(engine.Render(1, 1, &empty, &pixel));
    EXPECT_TRUE(engine.Render(1, 1, nullptr, &pixel));
}

TEST(StyleEngineLoad, RejectsBrokenTemplatesAndKeepsNothing)
{
    const char* broken[] = {
        "not xml",
        "<other/>",
        "<template><page width='0'/></template>",
        "<template><page width='99999'/></template>",
        "<template><draw><circle/></draw></template>",
        "<template><draw><rect fill='plaid'/></draw></template>",
        "<template><slots><slot name='C' type='5' value='nothex'/></slots></template>",
    };
    for (const char* text : broken) {
        StyleEngine engine;
        std::string error;
        EXPECT_FALSE(engine.LoadFromText(text, std::string(text).size(), "", &error)) << text;
        EXPECT_FALSE(engine.IsLoaded());
        EXPECT_EQ(engine.SlotCount(), 0u);
        EXPECT_FALSE(error.empty());
    }
}

TEST(StyleEngineObjects, NamedShapesHaveBoundsInDocumentUnits)
{
    StyleEngine engine;
    Loaded(engine);
    const int id = engine.FindObject("DOT");
    ASSERT_GT(id, 0);
    EXPECT_EQ(engine.FindObject("missing"), 0);
    double pw, ph;
    engine.PageSize(&pw, &ph);
    stylekit::UnitRect bounds;
    ASSERT_TRUE(engine.GetObjectBounds(id, &bounds));
    EXPECT_EQ(bounds.left, 2 * 750);
    EXPECT_EQ(bounds.top, 2 * 750);
    EXPECT_EQ(bounds.right, static_cast<std::int32_t>(pw * 0.1 * 750 + 0.5));
    EXPECT_FALSE(engine.GetObjectBounds(99, &bounds));
}

}  // namespace

namespace {

std::vector<std::uint32_t> RenderText(const std::string& text, int w, int h, int state = 1)
{
    StyleEngine engine;
    std::string error;
    EXPECT_TRUE(engine.LoadFromText(text.data(), text.size(), "", &error)) << error;
    engine.SelectState(state);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(w) * h, 0xFF000000u);
    EXPECT_TRUE(engine.Render(w, h, nullptr, pixels.data()));
    return pixels;
}

unsigned Blue(std::uint32_t p) { return p & 0xFF; }

TEST(StyleEngineRender, BevelLightsTheEdgesFacingTheLight)
{
    // Light from the top left (135 degrees): the top and left slopes brighten, the bottom and
    // right ones darken; the flat middle keeps the colour.
    const std::string text = R"(<template><page width="40" height="40"/><draw>
        <rect inset="0" colour="#4060a0" bevel-indent="6" bevel-angle="135" bevel-contrast="60"/></draw></template>)";
    const auto p = RenderText(text, 40, 40);
    const unsigned middle = Blue(At(p, 40, 40, 20, 20));
    EXPECT_EQ(middle, 0xA0u);
    EXPECT_GT(Blue(At(p, 40, 40, 20, 2)), middle);   // top
    EXPECT_GT(Blue(At(p, 40, 40, 2, 20)), middle);   // left
    EXPECT_LT(Blue(At(p, 40, 40, 20, 37)), middle);  // bottom
    EXPECT_LT(Blue(At(p, 40, 40, 37, 20)), middle);  // right
}

TEST(StyleEngineRender, ColourExpressionsShadeAndFade)
{
    struct Case {
        const char* colour;
        std::uint32_t pixel;  // premultiplied, transparency on top
    } cases[] = {
        {"#804020", 0x00804020u},
        {"#804020+50", 0x00C0A090u},      // halfway to white
        {"#804020-50", 0x00402010u},      // halfway to black
        {"#ffffff@40", 0x99666666u},      // 40% opacity, premultiplied
        {"Face", 0x00112233u},            // a slot's value
        {"Missing", 0x00808080u},         // a slot the template lacks: grey, not nothing
    };
    for (const Case& c : cases) {
        const std::string text = std::string(R"(<template><page width="4" height="4"/><slots>
            <slot name="Face" type="5" value="112233"/></slots><draw><rect inset="0" colour=")") +
                                 c.colour + R"("/></draw></template>)";
        EXPECT_EQ(RenderText(text, 4, 4)[5], c.pixel) << c.colour;
    }
}

}  // namespace

#include <cstdio>
#include <cstring>

#include <png.h>

namespace {

// A 2 x 2 picture: black, white on the top row; white, black below.
std::string WriteChecker()
{
    const std::string path = testing::TempDir() + "stylekit_checker.png";
    const unsigned char rgba[] = {0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0, 255};
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = 2;
    image.format = PNG_FORMAT_RGBA;
    EXPECT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr));
    return path;
}

TEST(StyleEngineRender, BitmapFillsTileThePictureThroughTheMatrixOrFallBackToColour)
{
    const std::string picture = WriteChecker();
    struct Case {
        const char* fillType;
        const char* file;
        std::uint32_t at00, at10, at20;  // pixels (0,0), (1,0), (2,0) from the top left
    } cases[] = {
        // Picture pixels one to one, tiled: black, white, black again.
        {"Bitmap Matrix A 1 B 0 C 0 D 1 E 0 F 0", "picture", 0x00000000u, 0x00FFFFFFu, 0x00000000u},
        // Scaled by two: each picture pixel covers two page pixels.
        {"BitmapMatrix A 2.0 B 0.0 C 0.0 D 2.0 E 0 F 0", "picture", 0x00000000u, 0x00000000u, 0x00FFFFFFu},
        // Contone: black becomes the first colour, white the second.
        {"ContoneBitmap Matrix A 1 B 0 C 0 D 1 E 0 F 0", "picture", 0x00FF0000u, 0x000000FFu, 0x00FF0000u},
        // Flat, or no readable picture: the shape keeps its colour.
        {"Flat Matrix A 1 B 0 C 0 D 1 E 0 F 0", "picture", 0x00FF0000u, 0x00FF0000u, 0x00FF0000u},
        {"Bitmap Matrix A 1 B 0 C 0 D 1 E 0 F 0", "", 0x00FF0000u, 0x00FF0000u, 0x00FF0000u},
        {"Bitmap Matrix A 1 B 0 C 0 D 1 E 0 F 0", "missing.png", 0x00FF0000u, 0x00FF0000u, 0x00FF0000u},
        {"Bitmap Matrix A 0 B 0 C 0 D 0 E 0 F 0", "picture", 0x00FF0000u, 0x00FF0000u, 0x00FF0000u},
    };
    for (const Case& c : cases) {
        const std::string file = std::strcmp(c.file, "picture") == 0 ? picture : c.file;
        const std::string text = std::string(R"(<template><page width="4" height="4"/><slots>
            <slot name="Tex" type="8" tag="T @#BMP!" key="USERBITMAP1" value=")") + file + R"("/>
            <slot name="Fill" type="9" description="filltype" key="FILLTYPE1" value=")" + c.fillType + R"("/>
            </slots><draw><rect inset="0" fill="bitmap" colour="#ff0000" colour2="#0000ff" texture="Tex" filltype="Fill"/>
            </draw></template>)";
        const auto p = RenderText(text, 4, 4);
        EXPECT_EQ(At(p, 4, 4, 0, 0), c.at00) << c.fillType << " " << c.file;
        EXPECT_EQ(At(p, 4, 4, 1, 0), c.at10) << c.fillType << " " << c.file;
        EXPECT_EQ(At(p, 4, 4, 2, 0), c.at20) << c.fillType << " " << c.file;
    }
    std::remove(picture.c_str());
}

}  // namespace

namespace {

// Templates are files from anywhere: odd values draw something sensible or nothing, never
// outside the buffer (the host build runs this under the address sanitizer).
TEST(StyleEngineRender, HostileDrawingValuesStayInsideTheBuffer)
{
    const char* items[] = {
        R"(<rect inset="-500" radius="1e9" colour="#ff0000"/>)",
        R"(<rect left="90%" right="90%" colour="#ff0000"/>)",
        R"(<ellipse inset="2" colour="#ff0000" bevel-indent="1e6" bevel-contrast="1e9" bevel-type="-7"/>)",
        R"(<path d="M 0 0 L 1e30 -1e30 Z Q garbage" colour="#ff0000" stroke="#000000" stroke-width="1e5"/>)",
        R"(<path frame="fixed" scale="-1e12" d="M 0 0 L 10 10 L 0 10 Z" colour="#ff0000"/>)",
        R"(<rect inset="0" fill="graduated" angle="1e300" colour="#ff0000" colour2="#00ff00@-5"/>)",
        R"(<text n="7" text="x" size="1e9" aspect="-5" tracking="99999" position="42" colour="#000000"/>)",
        R"(<rect inset="0" opacity="-3" colour="#ff0000+900"/>)",
    };
    for (const char* item : items) {
        const std::string text = std::string(R"(<template><page width="16" height="8"/><draw>)") + item +
                                 "</draw></template>";
        StyleEngine engine;
        std::string error;
        if (!engine.LoadFromText(text.data(), text.size(), "", &error))
            continue;  // refused at load: just as good
        // A guard word on each side of the buffer must survive the render.
        std::vector<std::uint32_t> pixels(16 * 8 + 2, 0xFF000000u);
        pixels.front() = pixels.back() = 0x12345678u;
        EXPECT_TRUE(engine.Render(16, 8, nullptr, pixels.data() + 1)) << item;
        EXPECT_EQ(pixels.front(), 0x12345678u) << item;
        EXPECT_EQ(pixels.back(), 0x12345678u) << item;
        for (size_t i = 1; i + 1 < pixels.size(); ++i) {
            const unsigned a = 255 - (pixels[i] >> 24);
            ASSERT_LE((pixels[i] >> 16) & 0xFF, a) << item;
        }
    }
}

}  // namespace

namespace {

TEST(StyleEngineSize, MoreLinesAndWiderSpacingMakeTheTextPageTaller)
{
    struct Case {
        const char* text;
        double extraHeight;  // over one line of 12 pt: 1.2 x 12 per further line at 100%
    } cases[] = {
        {"lsvalue\r100\rOne", 0},
        {"lsvalue\r100\rOne\r\nTwo", 14.4},
        {"lsvalue\r200\rOne\r\nTwo", 28.8},
        {"lsvalue\r100\rOne\nTwo\nThree", 28.8},
    };
    double oneLine = 0;
    for (const Case& c : cases) {
        StyleEngine engine;
        Loaded(engine);
        ASSERT_TRUE(engine.SetSlotValue(static_cast<size_t>(engine.FindSlot("Text1")), c.text));
        double w, h;
        engine.PageSize(&w, &h);
        if (c.extraHeight == 0)
            oneLine = h;
        EXPECT_NEAR(h, oneLine + c.extraHeight, 1.0) << c.text;
    }
}

}  // namespace

// The sides of 3D lettering: a square face 10..20 pushed 6 pixels down to the right. The walls
// fill the band between the face and its pushed copy, lit from the top left; the face itself
// and everything beyond the band stay as they were.
TEST(StyleEngineRender, ExtrudedSidesFillTheBandBehindTheFace)
{
    vector::VectorPath square;
    square.MoveTo({10, 10});
    square.LineTo({20, 10});
    square.LineTo({20, 20});
    square.LineTo({10, 20});
    square.Close();
    const int size = 40;
    std::vector<std::uint32_t> pixels(size * size, 0xFF000000u);
    ASSERT_TRUE(stylekit::DrawExtrudedSides(square, vector::Affine{}, 6, 45, 0xFF0000, size, size, pixels.data()));
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * size + x]; };
    EXPECT_EQ(0x00u, at(23, 23) >> 24);           // inside the band: opaque wall
    EXPECT_GT((at(23, 23) >> 16) & 0xFF, 0x40u);  // in the side colour, shaded
    EXPECT_EQ(0u, at(23, 23) & 0xFFFF);
    EXPECT_EQ(0xFF000000u, at(16, 18));           // the face is left to the caller
    EXPECT_EQ(0xFF000000u, at(30, 30));
    EXPECT_EQ(0xFF000000u, at(5, 5));
    // The light comes from the top left: the wall facing down is darker than the one facing right.
    EXPECT_LT((at(15, 23) >> 16) & 0xFF, (at(23, 15) >> 16) & 0xFF);
    EXPECT_FALSE(stylekit::DrawExtrudedSides(square, vector::Affine{}, 0, 45, 0xFF0000, size, size, pixels.data()));
}

#ifdef BW_HAVE_FREETYPE
// On the host the outlines come from FreeType (installed by the test: the engine measures with
// a fixed advance without a glyph source). Text with depth shows its face and its sides.
TEST(StyleEngineText, HostDrawsLettersWithTheirSides)
{
    vector::SetGlyphSource(&vector::FreeTypeGlyphSource::Instance());
    const char kHeading[] = R"(<template version="1">
  <page sizing="text" width="80" height="40" pad-x="8" pad-right="14" pad-y="10"/>
  <slots><slot name="Text1" type="9" key="TEXTSTRING" tag="#1" value="HI"/>
    <slot name="TextSize1" type="4" tag="TextSize#1" key="TEXTSIZE" value="24000"/>
    <slot name="Font1" type="6" tag="#1" key="TEXTFONT" value="DejaVu Sans"/></slots>
  <draw><text n="1" colour="#ffffff" depth="5" depth-angle="45" side-colour="#0000ff"/></draw>
</template>)";
    StyleEngine engine;
    Loaded(engine, kHeading);
    double w = 0, h = 0;
    engine.PageSize(&w, &h);
    const int width = static_cast<int>(w), height = static_cast<int>(h);
    const auto pixels = Render(engine, width, height);
    vector::SetGlyphSource(nullptr);
    int face = 0, sides = 0;
    for (std::uint32_t p : pixels) {
        if (p >> 24)
            continue;
        face += (p & 0xFFFFFF) == 0xFFFFFF;
        sides += (p & 0xFF) > 0x40 && ((p >> 16) & 0xFF) == 0 && ((p >> 8) & 0xFF) == 0;
    }
    EXPECT_GT(face, 40);
    EXPECT_GT(sides, 20);
    // The measured text is wider than the fixed advance would make two letters.
    EXPECT_GT(width, 8 + 14 + 24);
}
#endif

#if defined(_WIN32) || defined(BW_HAVE_FREETYPE)
// A text item's own weight and slant belong to the design: the Bold and Italic slots (which the
// program sets to 0 when it opens a template) add to them but never take them away.
TEST(StyleEngineText, DesignWeightStaysWhenTheSlotIsOff)
{
#ifndef _WIN32
    vector::SetGlyphSource(&vector::FreeTypeGlyphSource::Instance());
#endif
    auto templateText = [](const char* boldAttribute) {
        return std::string(R"(<template version="1">
  <page sizing="text" width="80" height="40" pad-x="8" pad-y="8"/>
  <slots><slot name="Text1" type="9" key="TEXTSTRING" tag="#1" value="Mmmm Wwww"/>
    <slot name="TextSize1" type="4" tag="TextSize#1" key="TEXTSIZE" value="24000"/>
    <slot name="Font1" type="6" tag="#1" key="TEXTFONT" value="DejaVu Sans"/>
    <slot name="Bold1" type="3" tag="TextBold#1" key="TEXTBOLD" value="0"/></slots>
  <draw><text n="1" colour="#000000")") + boldAttribute + "/></draw>\n</template>";
    };
    auto widthWith = [](const std::string& text, const char* bold) {
        StyleEngine engine;
        Loaded(engine, text.c_str());
        EXPECT_TRUE(engine.SetSlotValue(static_cast<size_t>(engine.FindSlot("Bold1")), bold));
        stylekit::TemplateModel model;
        std::string error;
        EXPECT_TRUE(stylekit::ReadTemplate(text.data(), text.size(), &model, &error)) << error;
        return model.texts.empty() ? 0.0 : stylekit::LayoutText(engine, model.texts[0]).width;
    };
    const std::string plain = templateText(""), designedBold = templateText(R"( bold="1")");
    const double regular = widthWith(plain, "0");
    EXPECT_GT(widthWith(plain, "1"), regular);             // the user's switch adds weight
    EXPECT_GT(widthWith(designedBold, "0"), regular);      // the design keeps its own
    EXPECT_DOUBLE_EQ(widthWith(designedBold, "0"), widthWith(designedBold, "1"));
#ifndef _WIN32
    vector::SetGlyphSource(nullptr);
#endif
}
#endif
