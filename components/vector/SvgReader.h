// Reader of the SVG subset: svg, g, path (the whole path syntax), rect (with rounded corners),
// circle, ellipse, line, polyline, polygon, text and tspan, linearGradient and radialGradient
// (with stops, units, transforms, spread and href inheritance), defs; presentation attributes
// and the style attribute for fill, stroke, their opacities, stroke-width, fill-rule, opacity,
// display, visibility and the font properties.
#pragma once

#include <map>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "components/vector/VectorDocument.h"


namespace vector {

class SvgReader {
public:
    // Limits on what a file may ask of us.
    static const int kMaxDepth = 64;
    static const size_t kMaxStops = 256;

    bool Read(const char* data, size_t size, VectorDocument& document, std::string* error);

    // Parsers of attribute syntax, exposed for their tests.
    static bool ParsePathData(const char* text, VectorPath& path);
    static bool ParseTransform(const char* text, Affine* out);
    static bool ParseColour(const char* text, unsigned char* r, unsigned char* g, unsigned char* b);

private:
    struct Style;
    void CollectGradients(const pugi::xml_node& node, int depth);
    std::shared_ptr<const Gradient> ResolveGradient(const std::string& id, int depth);
    bool ReadChildren(const pugi::xml_node& parent, const Style& style, VectorNode& out, int depth);
    std::unique_ptr<VectorNode> ReadElement(const pugi::xml_node& element, const Style& parentStyle,
                                            int depth);
    Paint ResolvePaint(const std::string& value, const Paint& inherited);

    std::map<std::string, pugi::xml_node> m_gradientNodes;
    std::map<std::string, std::shared_ptr<const Gradient>> m_gradients;
};

}  // namespace vector
