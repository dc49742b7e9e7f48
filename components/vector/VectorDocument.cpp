#include "components/vector/VectorDocument.h"

#include <cctype>
#include <cmath>

#include "components/vector/SvgReader.h"
#ifdef _WIN32
#include "components/vector/GdiGlyphSource.h"
#endif

namespace vector {

namespace {

GlyphSource* g_glyphSource = nullptr;
bool g_glyphSourceSet = false;

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void IncludeBounds(const VectorNode& node, const Affine& parent, RectF& bounds)
{
    const Affine ctm = parent * node.transform;
    if (node.kind == VectorNode::Kind::kShape && !node.path.Empty()) {
        RectF r = node.path.Bounds(ctm);
        if (node.stroke.kind != Paint::Kind::kNone) {
            const double half = node.strokeWidth * ctm.MeanScale() / 2;
            r = {r.left - half, r.top - half, r.right + half, r.bottom + half};
        }
        bounds.Include(r);
    }
    for (const auto& child : node.children)
        IncludeBounds(*child, ctm, bounds);
}

// Walks the children topmost first; answers true when the point hit a shape that has a name:
// its own id or that of the innermost named group above it (layers excluded: 'inherited'
// starts empty below them).
bool HitNode(const VectorNode& node, const Affine& parent, PointF point, double tolerance,
             const std::string& inherited, std::string* name)
{
    if (!node.visible)
        return false;
    const Affine ctm = parent * node.transform;
    const std::string& own = node.id.empty() ? inherited : node.id;
    for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
        if (HitNode(**it, ctm, point, tolerance, own, name))
            return true;
    if (node.kind != VectorNode::Kind::kShape || node.path.Empty())
        return false;
    bool hit = false;
    if (node.isText) {
        // Text is hit anywhere in its box, not only on the strokes of its letters.
        const RectF r = node.path.Bounds(ctm);
        hit = point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom;
    } else {
        const std::vector<Polygon> polygons = FlattenPath(node.path, ctm, 0.25);
        if (node.fill.kind != Paint::Kind::kNone)
            hit = ContainsPoint(polygons, point, node.fillRule == FillRule::kEvenOdd);
        if (!hit && (node.stroke.kind != Paint::Kind::kNone || node.fill.kind == Paint::Kind::kNone)) {
            const double half = node.stroke.kind != Paint::Kind::kNone
                                    ? node.strokeWidth * ctm.MeanScale() / 2 : 0;
            hit = DistanceToPolylines(polygons, point) <= half + tolerance;
        }
    }
    // Unnamed decoration does not hide the named objects under it.
    if (!hit || own.empty())
        return false;
    *name = own;
    return true;
}

}  // namespace

void SetGlyphSource(GlyphSource* source)
{
    g_glyphSource = source;
    g_glyphSourceSet = true;
}

GlyphSource* GetGlyphSource()
{
#ifdef _WIN32
    if (!g_glyphSourceSet)
        return &GdiGlyphSource::Instance();
#endif
    return g_glyphSource;
}

VectorDocument::VectorDocument() : m_root(std::make_unique<VectorNode>()) {}

VectorDocument::~VectorDocument() = default;

bool VectorDocument::Read(const char* data, size_t size, std::string* error)
{
    m_root = std::make_unique<VectorNode>();
    m_bounds = RectF{};
    if (!data || size == 0) {
        if (error)
            *error = "empty document";
        return false;
    }
    SvgReader reader;
    if (!reader.Read(data, size, *this, error)) {
        m_root = std::make_unique<VectorNode>();
        m_bounds = RectF{};
        return false;
    }
    return true;
}

RectF VectorDocument::DrawingBounds() const
{
    RectF bounds = RectF::Empty();
    IncludeBounds(*m_root, Affine(), bounds);
    return bounds;
}

std::vector<std::string> VectorDocument::LayerNames() const
{
    std::vector<std::string> names;
    int position = 0;
    for (const auto& child : m_root->children) {
        ++position;
        if (child->kind != VectorNode::Kind::kGroup)
            continue;
        names.push_back(child->id.empty() ? "Layer " + std::to_string(position) : child->id);
    }
    return names;
}

bool VectorDocument::SetLayerVisible(const std::string& name, bool visible)
{
    bool found = false;
    int position = 0;
    for (auto& child : m_root->children) {
        ++position;
        if (child->kind != VectorNode::Kind::kGroup)
            continue;
        const std::string own = child->id.empty() ? "Layer " + std::to_string(position) : child->id;
        if (EqualNoCase(own, name)) {
            child->visible = visible;
            found = true;
        }
    }
    return found;
}

bool VectorDocument::IsLayerVisible(const std::string& name) const
{
    for (const auto& child : m_root->children)
        if (child->kind == VectorNode::Kind::kGroup && EqualNoCase(child->id, name))
            return child->visible;
    return false;
}

std::string VectorDocument::ObjectNameAt(PointF point, double tolerance) const
{
    for (auto it = m_root->children.rbegin(); it != m_root->children.rend(); ++it) {
        const VectorNode& child = **it;
        std::string name;
        // Below a layer only the layer's own descendants name what was hit.
        const bool isLayer = child.kind == VectorNode::Kind::kGroup;
        if (isLayer) {
            if (!child.visible)
                continue;
            const Affine ctm = child.transform;
            bool hit = false;
            for (auto c = child.children.rbegin(); c != child.children.rend() && !hit; ++c)
                hit = HitNode(**c, ctm, point, tolerance, std::string(), &name);
            if (hit)
                return name;
        } else if (HitNode(child, Affine(), point, tolerance, std::string(), &name)) {
            return name;
        }
    }
    return std::string();
}

}  // namespace vector
