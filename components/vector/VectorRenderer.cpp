#include "components/vector/VectorRenderer.h"

#include "components/vector/TessroCoverageFiller.h"

#include <algorithm>
#include <cmath>

namespace vector {

namespace {

const int kGradientTableSize = 256;
// Curve tolerance in device pixels.
const double kFlatness = 0.2;

struct Rgba {
    float r, g, b, a;
};

// What a shape paints at a pixel: a colour or a gradient, with the shape's opacity.
class PaintSource {
public:
    PaintSource(const Paint& paint, double opacity, const RectF& box, const Affine& ctm)
    {
        if (paint.kind == Paint::Kind::kColour) {
            m_flat = {static_cast<float>(paint.r), static_cast<float>(paint.g),
                      static_cast<float>(paint.b), static_cast<float>(opacity)};
            return;
        }
        const Gradient& gradient = *paint.gradient;
        m_gradient = &gradient;
        Affine space = gradient.transform;
        if (!gradient.userSpace) {
            const double w = box.right - box.left, h = box.bottom - box.top;
            if (!(w > 0) || !(h > 0)) {
                // A bounding box without area has no gradient space: nothing is painted.
                m_flat = {0, 0, 0, 0};
                m_gradient = nullptr;
                return;
            }
            space = Affine{w, 0, 0, h, box.left, box.top} * space;
        }
        if (!(ctm * space).Invert(&m_deviceToGradient)) {
            const GradientStop& last = gradient.stops.back();
            m_flat = {float(last.r), float(last.g), float(last.b), float(last.opacity * opacity)};
            m_gradient = nullptr;
            return;
        }
        // Colour table along the gradient.
        for (int i = 0; i < kGradientTableSize; ++i) {
            const double t = static_cast<double>(i) / (kGradientTableSize - 1);
            const auto& stops = gradient.stops;
            size_t k = 0;
            while (k < stops.size() && stops[k].offset < t)
                ++k;
            Rgba c;
            if (k == 0 || k == stops.size()) {
                const GradientStop& s = stops[k == 0 ? 0 : stops.size() - 1];
                c = {float(s.r), float(s.g), float(s.b), float(s.opacity)};
            } else {
                const GradientStop& s0 = stops[k - 1];
                const GradientStop& s1 = stops[k];
                const double span = s1.offset - s0.offset;
                const float f = span > 0 ? static_cast<float>((t - s0.offset) / span) : 1.0f;
                c = {s0.r + (s1.r - s0.r) * f, s0.g + (s1.g - s0.g) * f, s0.b + (s1.b - s0.b) * f,
                     static_cast<float>(s0.opacity + (s1.opacity - s0.opacity) * f)};
            }
            c.a *= static_cast<float>(opacity);
            m_table[i] = c;
        }
    }

    Rgba At(int x, int y) const
    {
        if (!m_gradient)
            return m_flat;
        const PointF p = m_deviceToGradient.Apply({x + 0.5, y + 0.5});
        const Gradient& g = *m_gradient;
        double t;
        if (g.kind == Gradient::Kind::kLinear) {
            const double dx = g.x2 - g.x1, dy = g.y2 - g.y1;
            const double len2 = dx * dx + dy * dy;
            t = len2 > 0 ? ((p.x - g.x1) * dx + (p.y - g.y1) * dy) / len2 : 1;
        } else {
            t = RadialPosition(g, p);
        }
        return m_table[TableIndex(t, g.spread)];
    }

private:
    static double RadialPosition(const Gradient& g, PointF p)
    {
        if (!(g.r > 0))
            return 1;
        // The focus is kept inside the circle; t solves |p - f| = t |edge - f| along the ray.
        double fx = g.fx, fy = g.fy;
        const double fdx = fx - g.cx, fdy = fy - g.cy;
        const double fd = std::hypot(fdx, fdy);
        if (fd > g.r * 0.99) {
            fx = g.cx + fdx * g.r * 0.99 / fd;
            fy = g.cy + fdy * g.r * 0.99 / fd;
        }
        const double dx = p.x - fx, dy = p.y - fy;
        const double ex = fx - g.cx, ey = fy - g.cy;
        const double a = dx * dx + dy * dy;
        if (a == 0)
            return 0;
        const double b = 2 * (dx * ex + dy * ey);
        const double c = ex * ex + ey * ey - g.r * g.r;
        const double disc = b * b - 4 * a * c;
        const double s = (-b + std::sqrt(std::max(0.0, disc))) / (2 * a);
        return s > 0 ? 1 / s : 1;
    }

    static int TableIndex(double t, Gradient::Spread spread)
    {
        if (!std::isfinite(t))
            t = 1;
        if (spread == Gradient::Spread::kRepeat) {
            t -= std::floor(t);
        } else if (spread == Gradient::Spread::kReflect) {
            t = std::fabs(t);
            const double period = std::fmod(t, 2.0);
            t = period > 1 ? 2 - period : period;
        }
        t = std::clamp(t, 0.0, 1.0);
        return static_cast<int>(t * (kGradientTableSize - 1) + 0.5);
    }

    Rgba m_flat{0, 0, 0, 0};
    const Gradient* m_gradient = nullptr;
    Affine m_deviceToGradient;
    Rgba m_table[kGradientTableSize];
};

class PaintSink : public CoverageSink {
public:
    PaintSink(const RenderTarget& target, const PaintSource& paint) : m_target(target), m_paint(paint) {}
    void Row(int y, int x0, int x1, const float* coverage) override
    {
        const int row = m_target.bottomUp ? m_target.height - 1 - y : y;
        std::uint32_t* line = m_target.pixels + static_cast<size_t>(row) * m_target.width;
        for (int x = x0; x < x1; ++x) {
            const float c = coverage[x - x0];
            if (c <= 0)
                continue;
            const Rgba p = m_paint.At(x, y);
            const float alpha = c * p.a;
            if (alpha <= 0)
                continue;
            line[x] = CompositeOver(line[x], static_cast<unsigned>(p.r + 0.5f),
                                    static_cast<unsigned>(p.g + 0.5f),
                                    static_cast<unsigned>(p.b + 0.5f), alpha);
        }
    }

private:
    const RenderTarget& m_target;
    const PaintSource& m_paint;
};

int CountShapes(const VectorNode& node)
{
    int count = node.kind == VectorNode::Kind::kShape && node.visible ? 1 : 0;
    for (const auto& child : node.children) {
        count += CountShapes(*child);
        if (count > 1)
            break;
    }
    return count;
}

}  // namespace

Affine FitArea(const RectF& area, int width, int height, bool uniform)
{
    const double w = area.right - area.left, h = area.bottom - area.top;
    if (!(w > 0) || !(h > 0) || width <= 0 || height <= 0)
        return Affine::Scale(0, 0);
    double sx = width / w, sy = height / h;
    double ox = 0, oy = 0;
    if (uniform) {
        const double s = std::min(sx, sy);
        ox = (width - w * s) / 2;
        oy = (height - h * s) / 2;
        sx = sy = s;
    }
    return Affine::Translate(ox, oy) * Affine::Scale(sx, sy) * Affine::Translate(-area.left, -area.top);
}

std::uint32_t CompositeOver(std::uint32_t destination, unsigned r, unsigned g, unsigned b, float alpha)
{
    if (alpha >= 1.0f)
        return (r << 16) | (g << 8) | b;
    const float da = (255 - (destination >> 24)) / 255.0f;
    const float outA = alpha + da * (1 - alpha);
    if (outA <= 0)
        return destination;
    const float keep = da * (1 - alpha);
    auto channel = [&](unsigned source, unsigned shift) {
        const float d = static_cast<float>((destination >> shift) & 0xFF);
        const float v = (source * alpha + d * keep) / outA;
        return static_cast<std::uint32_t>(std::min(255.0f, v + 0.5f));
    };
    const std::uint32_t transparency =
        static_cast<std::uint32_t>(std::clamp(255.0f - outA * 255.0f + 0.5f, 0.0f, 255.0f));
    return (transparency << 24) | (channel(r, 16) << 16) | (channel(g, 8) << 8) | channel(b, 0);
}

VectorRenderer::VectorRenderer(CoverageFiller* filler) : m_filler(filler), m_ownFiller(nullptr)
{
    if (m_filler)
        return;
    // The program's rasterizer draws the edges; the library's own filler stands in only when
    // the rasterizer cannot be set up.
    auto* tessro = new TessroCoverageFiller;
    if (tessro->IsReady()) {
        m_ownFiller = tessro;
    } else {
        delete tessro;
        m_ownFiller = new ScanlineFiller;
    }
    m_filler = m_ownFiller;
}

VectorRenderer::~VectorRenderer()
{
    delete m_ownFiller;
}

void VectorRenderer::Render(const VectorDocument& document, const RenderTarget& target,
                            const Affine& userToDevice)
{
    if (!target.pixels || target.width <= 0 || target.height <= 0)
        return;
    RenderNode(document.Root(), target, userToDevice, 1.0);
}

void VectorRenderer::RenderNode(const VectorNode& node, const RenderTarget& target,
                                const Affine& parent, double opacity)
{
    if (!node.visible)
        return;
    const Affine ctm = parent * node.transform;
    if (node.opacity <= 0 || opacity <= 0)
        return;
    const bool fillAndStroke = node.kind == VectorNode::Kind::kShape && node.fill.kind != Paint::Kind::kNone &&
                               node.stroke.kind != Paint::Kind::kNone;
    if (node.opacity < 1 && (fillAndStroke || CountShapes(node) > 1)) {
        // A translucent group (or a shape with a fill and an outline) is drawn whole and then
        // faded, so that its parts do not show through one another.
        const size_t count = static_cast<size_t>(target.width) * target.height;
        std::vector<std::uint32_t> layer(count, 0xFFFFFFFF);
        RenderTarget offscreen{layer.data(), target.width, target.height, target.bottomUp};
        DrawContent(node, offscreen, ctm, 1.0);
        const float fade = static_cast<float>(opacity * node.opacity);
        for (size_t i = 0; i < count; ++i) {
            const std::uint32_t p = layer[i];
            const std::uint32_t t = p >> 24;
            if (t == 255)
                continue;
            target.pixels[i] = CompositeOver(target.pixels[i], (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF,
                                             (255 - t) / 255.0f * fade);
        }
        return;
    }
    DrawContent(node, target, ctm, opacity * node.opacity);
}

void VectorRenderer::DrawContent(const VectorNode& node, const RenderTarget& target, const Affine& ctm,
                                 double opacity)
{
    if (node.kind == VectorNode::Kind::kShape && !node.path.Empty()) {
        const std::vector<Polygon> outline = FlattenPath(node.path, ctm, kFlatness);
        const RectF box = node.path.Bounds(Affine());
        if (node.fill.kind != Paint::Kind::kNone) {
            PaintSource paint(node.fill, opacity * node.fillOpacity, box, ctm);
            PaintSink sink(target, paint);
            m_filler->Fill(outline, node.fillRule, target.width, target.height, sink);
        }
        if (node.stroke.kind != Paint::Kind::kNone && node.strokeWidth > 0) {
            const double width = node.strokeWidth * ctm.MeanScale();
            PaintSource paint(node.stroke, opacity * node.strokeOpacity, box, ctm);
            PaintSink sink(target, paint);
            m_filler->Fill(StrokePolygons(outline, width, node.lineCap, node.lineJoin, node.miterLimit), FillRule::kNonZero, target.width,
                           target.height, sink);
        }
    }
    for (const auto& child : node.children)
        RenderNode(*child, target, ctm, opacity);
}

}  // namespace vector
