// Drawing of a template: text layout, shape geometry, fills, bevels and the final conversion
// to premultiplied pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "components/stylekit/StyleEngine.h"
#include "components/stylekit/StyleTemplate.h"
#include "components/vector/VectorGeometry.h"

namespace vector {
class VectorRenderer;
}

namespace stylekit {

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// A text object as the slots set it, laid out at page scale with its first baseline at 0.
struct TextLayout {
    struct Line {
        vector::VectorPath outline;  // glyphs from x = 0, baseline y = 0
        double width = 0;
    };
    std::vector<Line> lines;
    double width = 0;    // widest line
    double height = 0;   // cap height of the first line down to the last baseline
    double capHeight = 0;
    double lineAdvance = 0;
    int justification = 1;
    int position = 4;
    double nudgeX = 0, nudgeY = 0;
};

TextLayout LayoutText(const StyleEngine& engine, const TextItem& item);

// The box a shape fills on a page of the given size (pixels).
Box ShapeBounds(const StyleEngine& engine, const ShapeItem& shape, double pageWidth, double pageHeight);

// Sides of a solid whose front face is path (page units, mapped by toDevice) and whose depth
// runs 'depth' device pixels toward 'angleDegrees' (0 = right, 90 = down): the side walls are
// a Tessro3D scene of flat triangles, so the nearer wall wins at every pixel, each wall lit by
// how it faces the light from the top left. Drawn over the straight top-down pixels (2 x 2
// samples per pixel, so that the edges are smooth); the front face is left to the caller.
// False when the scene could not be drawn (nothing is changed then).
bool DrawExtrudedSides(const vector::VectorPath& path, const vector::Affine& toDevice, double depth,
                       double angleDegrees, std::uint32_t sideRgb, int width, int height,
                       std::uint32_t* pixels);

// What an engine keeps from one render to the next: the rasterizer that fills the shapes (its
// context is large: setting one up for every shape cost more than drawing a small button) and
// the page and layer buffers, whose memory stays while the size does. The layer is all clear
// between shapes.
struct DrawScratch {
    DrawScratch();
    ~DrawScratch();
    std::unique_ptr<vector::VectorRenderer> renderer;
    std::vector<std::uint32_t> work, layer;
};

void DrawTemplate(const StyleEngine& engine, const TemplateModel& model, const std::string& folder,
                  int state, int width, int height, const UnitRect* clip, std::uint32_t* pixels,
                  DrawScratch& scratch);

// A picture for bitmap fills: straight 0xAARRGGBB rows top-down. Empty when the file is not a
// PNG or JPEG we can read.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};
bool LoadPicture(const std::string& path, Picture* picture);

}  // namespace stylekit
