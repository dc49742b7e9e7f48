// The parsed form of a template file (.kiq): page and sizing rules, slots, states, and the
// drawing list of shapes and text objects. The reader checks every count and length against the
// limits below; values that refer to slots stay as names and are resolved when drawing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "components/stylekit/StyleEngine.h"

namespace stylekit {

// A colour that may follow a slot: a literal "#rrggbb" or a slot name, lightened (+n) or
// darkened (-n) by n percent, with an opacity in percent ("@n").
struct ColourRef {
    std::string slot;        // empty: the literal
    std::uint32_t rgb = 0;   // the literal
    int shade = 0;           // -100..100
    int opacity = 100;       // 0..100
    bool none = true;
};

// An integer given literally or by a slot's value.
struct NumberRef {
    std::string slot;
    double value = 0;
};

// Where a shape lies: insets from the page edges (pixels, or percent of the page side), or a
// fixed-size path anchored to the page.
struct Placement {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool leftPercent = false, topPercent = false, rightPercent = false, bottomPercent = false;
};

struct ShapeItem {
    enum class Kind { kRect, kEllipse, kPath } kind = Kind::kRect;
    std::string id;
    Placement place;
    double radius = 0;            // rect corners, pixels
    bool radiusPercent = false;   // radius in percent of the shorter side
    std::string pathData;         // kPath
    bool pathFixed = false;       // kPath: pixel units at an anchor instead of 0..100 of the box
    double anchorX = 0, anchorY = 0;  // kPath fixed: anchor as a fraction of the box (0..1)
    double offsetX = 0, offsetY = 0;  // kPath fixed: pixels from the anchor
    double pathScale = 1;

    enum class Fill { kNone, kFlat, kGraduated, kRadial, kBitmap, kContone } fill = Fill::kFlat;
    ColourRef colour, colour2;
    ColourRef tone, tone2;        // contone: the picture's dark and light ends (colour, colour2 when not given)
    double angle = 90;            // graduated: direction in degrees, 90 = top to bottom
    std::string textureSlot;      // bitmap or contone: the picture slot
    std::string fillTypeSlot;     // the FILLTYPE slot that may switch the fill
    ColourRef stroke;
    double strokeWidth = 0;
    double opacity = 1;

    bool bevel = false;
    NumberRef bevelIndent, bevelAngle, bevelContrast, bevelType;

    std::vector<int> states;      // visible in these states (from 1); empty: all
};

struct TextItem {
    int n = 1;                    // the text object number (slot names end in it)
    ColourRef colour;
    ColourRef shadow;             // a copy drawn behind, offset by shadowDx, shadowDy
    double shadowDx = 0, shadowDy = 1;
    // Defaults for properties the template has no slot for.
    std::string text, face = "Liberation Sans";
    double sizePoints = 12;
    bool bold = false, italic = false;  // the design's own weight and slant, whatever the slots say
    int aspect = 100, tracking = 0;
    int justification = 1;        // 0 left, 1 centre, 2 right
    int position = 4;             // 0..8: 3 x 3 grid, row by row from the top left
    double insetX = 0, insetY = 0;  // the text box inside the page
    // 3D lettering: the letters stand out as solids 'depth' pixels deep toward depthAngle
    // degrees (0 right, 90 down), their sides in sideColour.
    double depth = 0, depthAngle = 45;
    ColourRef sideColour;
    std::vector<int> states;
};

struct DrawItem {
    bool isText = false;
    std::size_t index = 0;  // into shapes or texts
};

struct StateInfo {
    std::string name;
    int time = 0;  // hundredths of a second
};

struct TemplateModel {
    enum class Sizing { kFixed, kText } sizing = Sizing::kFixed;
    double width = 100, height = 30;
    double padLeft = 10, padRight = 10, padY = 6, minWidth = 1, minHeight = 1;
    std::vector<Slot> slots;
    std::vector<StateInfo> states;
    std::vector<ShapeItem> shapes;
    std::vector<TextItem> texts;
    std::vector<DrawItem> order;

    static const std::size_t kMaxSlots = 256;
    static const std::size_t kMaxItems = 1024;
    static const std::size_t kMaxStates = 64;
    static const std::size_t kMaxValueLength = 4096;
    static const int kMaxPageSide = 4000;
};

// Reads a template; false with a reason when the text is not a template we can draw.
bool ReadTemplate(const char* data, std::size_t size, TemplateModel* model, std::string* error);

bool ParseColourRef(const std::string& text, ColourRef* out);

// A coordinate of the template within the range every drawing of it can take; NaN gives 0.
double LimitCoordinate(double v);

}  // namespace stylekit
