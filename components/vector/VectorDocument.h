// The document model of the vector library: a tree of groups and shapes read from an SVG
// subset, with named layers (the top-level groups, named by their ids), object names for hit
// testing (element ids), bounds, and per-layer visibility.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "components/vector/CoverageFiller.h"
#include "components/vector/VectorGeometry.h"

namespace vector {

struct GradientStop {
    double offset = 0;
    unsigned char r = 0, g = 0, b = 0;
    double opacity = 1;
};

struct Gradient {
    enum class Kind { kLinear, kRadial } kind = Kind::kLinear;
    enum class Spread { kPad, kReflect, kRepeat } spread = Spread::kPad;
    bool userSpace = false;  // false: objectBoundingBox units
    Affine transform;
    double x1 = 0, y1 = 0, x2 = 1, y2 = 0;              // linear
    double cx = 0.5, cy = 0.5, r = 0.5, fx = 0.5, fy = 0.5;  // radial
    std::vector<GradientStop> stops;
};

struct Paint {
    enum class Kind { kNone, kColour, kGradient } kind = Kind::kNone;
    unsigned char r = 0, g = 0, b = 0;
    std::shared_ptr<const Gradient> gradient;
};

struct VectorNode {
    enum class Kind { kGroup, kShape } kind = Kind::kGroup;
    std::string id;
    Affine transform;  // relative to the parent
    double opacity = 1;
    bool visible = true;
    // Shapes only.
    VectorPath path;
    Paint fill;
    Paint stroke;
    double fillOpacity = 1;
    double strokeOpacity = 1;
    double strokeWidth = 1;
    LineCap lineCap = LineCap::kButt;
    LineJoin lineJoin = LineJoin::kMiter;
    double miterLimit = 4;
    FillRule fillRule = FillRule::kNonZero;
    bool isText = false;
    std::vector<std::unique_ptr<VectorNode>> children;
};

// Turns text into outlines. The library itself has none on platforms without a font engine:
// text is then left out of the drawing.
class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    struct Font {
        std::string family;
        double size = 16;  // user units per em
        bool bold = false;
        bool italic = false;
    };
    // Appends the outline of 'text' with its baseline origin at (0, 0), y downwards, and
    // answers the advance width. False when the font cannot be had.
    virtual bool Outline(const std::string& text, const Font& font, VectorPath& out,
                         double* advance) = 0;
};

// The glyph source used by documents read from now on (null: text is skipped). On Windows the
// library installs one that takes outlines from GDI.
void SetGlyphSource(GlyphSource* source);
GlyphSource* GetGlyphSource();

class VectorDocument {
public:
    VectorDocument();
    ~VectorDocument();

    // Reads an SVG document. On failure the document is left empty and 'error' says why.
    bool Read(const char* data, size_t size, std::string* error = nullptr);

    const VectorNode& Root() const { return *m_root; }
    VectorNode& Root() { return *m_root; }

    // The document's extent in user units: the viewBox, else width and height, else the
    // bounds of what it draws.
    RectF Bounds() const { return m_bounds; }
    // Bounds of all drawing (visible or not) under the root.
    RectF DrawingBounds() const;

    // Names of the top-level groups in document order; a group without an id is named
    // "Layer n" after its position.
    std::vector<std::string> LayerNames() const;
    // Shows or hides the layer with that name (compared ignoring case); false when none has it.
    bool SetLayerVisible(const std::string& name, bool visible);
    bool IsLayerVisible(const std::string& name) const;

    // Name of the topmost visible object at a user-space point: the id of the shape there or of
    // its nearest named group below the layer level. 'tolerance' widens thin strokes.
    std::string ObjectNameAt(PointF point, double tolerance = 0) const;

private:
    std::unique_ptr<VectorNode> m_root;
    RectF m_bounds;
    friend class SvgReader;
};

}  // namespace vector
