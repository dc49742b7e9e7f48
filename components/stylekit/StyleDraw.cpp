#include "components/stylekit/StyleDraw.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "components/vector/SvgReader.h"
#include "components/vector/VectorDocument.h"
#include "components/vector/VectorRenderer.h"
#include "tessro3d/Tessro3D.h"

namespace stylekit {

namespace {

const double kCapHeight = 0.72;     // of the text size
const double kLineAdvance = 1.2;    // of the text size, at 100% line spacing
const double kFallbackAdvance = 0.55;  // of the text size, when no font engine is at hand
const double kCurveKappa = 0.5522847498;

bool SlotText(const StyleEngine& engine, const std::string& name, std::string* value, int* spacing = nullptr)
{
    const int index = engine.FindSlot(name);
    if (index < 0)
        return false;
    const Slot& slot = engine.GetSlot(static_cast<size_t>(index));
    *value = slot.value;
    if (spacing)
        *spacing = slot.lineSpacing;
    return true;
}

bool SlotNumber(const StyleEngine& engine, const std::string& name, double* value)
{
    std::string text;
    if (!SlotText(engine, name, &text) || text.empty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

double Number(const StyleEngine& engine, const NumberRef& ref)
{
    double v = ref.value;
    if (!ref.slot.empty())
        SlotNumber(engine, ref.slot, &v);
    return std::max(-100000.0, std::min(100000.0, v));
}

struct Rgba {
    unsigned r = 0, g = 0, b = 0;
    double alpha = 0;
};

Rgba Resolve(const StyleEngine& engine, const ColourRef& ref)
{
    Rgba out;
    if (ref.none)
        return out;
    std::uint32_t rgb = ref.rgb;
    if (!ref.slot.empty()) {
        std::string text;
        if (!SlotText(engine, ref.slot, &text) || !ParseHexColour(text, &rgb))
            rgb = 0x808080;  // a colour slot the template lacks or left empty
    }
    out.r = (rgb >> 16) & 0xFF;
    out.g = (rgb >> 8) & 0xFF;
    out.b = rgb & 0xFF;
    auto shade = [&](unsigned c) {
        const double s = ref.shade / 100.0;
        const double v = s >= 0 ? c + (255 - c) * s : c * (1 + s);
        return static_cast<unsigned>(std::lround(std::min(255.0, std::max(0.0, v))));
    };
    out.r = shade(out.r);
    out.g = shade(out.g);
    out.b = shade(out.b);
    out.alpha = ref.opacity / 100.0;
    return out;
}

bool VisibleIn(const std::vector<int>& states, int state)
{
    return states.empty() || std::find(states.begin(), states.end(), state) != states.end();
}

// The position slot's text: "nudge x,y : pos p" (tokens in any order, others skipped).
void ParsePosition(const std::string& value, int* position, double* nudgeX, double* nudgeY)
{
    std::vector<std::string> tokens;
    std::string token;
    for (char c : value.substr(0, 199)) {
        if (std::strchr(" ,\t\n:", c)) {
            if (!token.empty())
                tokens.push_back(token);
            token.clear();
        } else {
            token += c;
        }
    }
    if (!token.empty())
        tokens.push_back(token);
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i] == "nudge" && i + 2 < tokens.size()) {
            *nudgeX = std::atoi(tokens[i + 1].c_str());
            *nudgeY = std::atoi(tokens[i + 2].c_str());
            i += 2;
        } else if (tokens[i] == "pos" && i + 1 < tokens.size()) {
            const int p = std::atoi(tokens[++i].c_str());
            if (p >= 0 && p <= 8)
                *position = p;
        }
    }
}

void AddRoundRect(vector::VectorPath& path, const Box& b, double r)
{
    const double w = b.right - b.left, h = b.bottom - b.top;
    r = std::max(0.0, std::min(r, std::min(w, h) / 2));
    const double k = r * kCurveKappa;
    using P = vector::PointF;
    path.MoveTo(P{b.left + r, b.top});
    path.LineTo(P{b.right - r, b.top});
    if (r > 0)
        path.CubicTo(P{b.right - r + k, b.top}, P{b.right, b.top + r - k}, P{b.right, b.top + r});
    path.LineTo(P{b.right, b.bottom - r});
    if (r > 0)
        path.CubicTo(P{b.right, b.bottom - r + k}, P{b.right - r + k, b.bottom}, P{b.right - r, b.bottom});
    path.LineTo(P{b.left + r, b.bottom});
    if (r > 0)
        path.CubicTo(P{b.left + r - k, b.bottom}, P{b.left, b.bottom - r + k}, P{b.left, b.bottom - r});
    path.LineTo(P{b.left, b.top + r});
    if (r > 0)
        path.CubicTo(P{b.left, b.top + r - k}, P{b.left + r - k, b.top}, P{b.left + r, b.top});
    path.Close();
}

void AddEllipse(vector::VectorPath& path, const Box& b)
{
    const double cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
    const double rx = (b.right - b.left) / 2, ry = (b.bottom - b.top) / 2;
    const double kx = rx * kCurveKappa, ky = ry * kCurveKappa;
    using P = vector::PointF;
    path.MoveTo(P{cx + rx, cy});
    path.CubicTo(P{cx + rx, cy + ky}, P{cx + kx, cy + ry}, P{cx, cy + ry});
    path.CubicTo(P{cx - kx, cy + ry}, P{cx - rx, cy + ky}, P{cx - rx, cy});
    path.CubicTo(P{cx - rx, cy - ky}, P{cx - kx, cy - ry}, P{cx, cy - ry});
    path.CubicTo(P{cx + kx, cy - ry}, P{cx + rx, cy - ky}, P{cx + rx, cy});
    path.Close();
}

vector::VectorPath ShapePath(const StyleEngine& engine, const ShapeItem& shape, double pageW, double pageH)
{
    const Box b = ShapeBounds(engine, shape, pageW, pageH);
    vector::VectorPath path;
    if (b.right <= b.left || b.bottom <= b.top)
        return path;
    switch (shape.kind) {
    case ShapeItem::Kind::kRect: {
        const double shorter = std::min(b.right - b.left, b.bottom - b.top);
        AddRoundRect(path, b, shape.radiusPercent ? shorter * shape.radius / 100 : shape.radius);
        break;
    }
    case ShapeItem::Kind::kEllipse:
        AddEllipse(path, b);
        break;
    case ShapeItem::Kind::kPath: {
        vector::VectorPath parsed;
        if (!vector::SvgReader::ParsePathData(shape.pathData.c_str(), parsed))
            return path;
        // Path data is limited as the template's other coordinates are.
        vector::VectorPath raw;
        const auto& points = parsed.Points();
        auto at = [&](std::size_t i) { return vector::PointF{LimitCoordinate(points[i].x), LimitCoordinate(points[i].y)}; };
        std::size_t next = 0;
        for (vector::VectorPath::Verb verb : parsed.Verbs()) {
            if (verb == vector::VectorPath::kMove) {
                raw.MoveTo(at(next++));
            } else if (verb == vector::VectorPath::kLine) {
                raw.LineTo(at(next++));
            } else if (verb == vector::VectorPath::kCubic) {
                raw.CubicTo(at(next), at(next + 1), at(next + 2));
                next += 3;
            } else {
                raw.Close();
            }
        }
        vector::Affine to;
        if (shape.pathFixed)
            to = vector::Affine{shape.pathScale, 0, 0, shape.pathScale,
                                b.left + shape.anchorX * (b.right - b.left) + shape.offsetX,
                                b.top + shape.anchorY * (b.bottom - b.top) + shape.offsetY};
        else
            to = vector::Affine{(b.right - b.left) / 100, 0, 0, (b.bottom - b.top) / 100, b.left, b.top};
        path.Append(raw, to);
        break;
    }
    }
    return path;
}

std::shared_ptr<vector::Gradient> MakeGradient(const ShapeItem& shape, const Rgba& from, const Rgba& to)
{
    auto gradient = std::make_shared<vector::Gradient>();
    if (shape.fill == ShapeItem::Fill::kRadial) {
        gradient->kind = vector::Gradient::Kind::kRadial;
        gradient->cx = gradient->fx = 0.5;
        gradient->cy = gradient->fy = 0.5;
        gradient->r = 0.5;
    } else {
        const double radians = shape.angle * 3.14159265358979 / 180;
        const double dx = std::cos(radians) / 2, dy = std::sin(radians) / 2;
        gradient->x1 = 0.5 - dx;
        gradient->y1 = 0.5 - dy;
        gradient->x2 = 0.5 + dx;
        gradient->y2 = 0.5 + dy;
    }
    auto stop = [](double offset, const Rgba& c) {
        vector::GradientStop s;
        s.offset = offset;
        s.r = static_cast<unsigned char>(c.r);
        s.g = static_cast<unsigned char>(c.g);
        s.b = static_cast<unsigned char>(c.b);
        s.opacity = c.alpha;
        return s;
    };
    gradient->stops.push_back(stop(0, from));
    gradient->stops.push_back(stop(1, to));
    return gradient;
}

const std::uint32_t kClear = 0xFF000000u;

// Pixels kept by the render's scratch, straight 0xTTRRGGBB, top-down.
struct Surface {
    int width = 0, height = 0;
    std::vector<std::uint32_t>& pixels;
};

// Pixel columns x0..x1 - 1 of rows y0..y1 - 1.
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

void DrawNode(std::unique_ptr<vector::VectorNode> node, Surface& surface, const vector::Affine& toDevice,
              vector::VectorRenderer& renderer)
{
    vector::VectorDocument document;
    document.Root().children.push_back(std::move(node));
    vector::RenderTarget target;
    target.pixels = surface.pixels.data();
    target.width = surface.width;
    target.height = surface.height;
    target.bottomUp = false;
    renderer.Render(document, target, toDevice);
}

void CompositeLayer(const Surface& layer, Surface& onto, double opacity, const PixelRect& area)
{
    for (int y = area.y0; y < area.y1; ++y) {
        const size_t row = static_cast<size_t>(y) * layer.width;
        for (size_t i = row + area.x0; i < row + area.x1; ++i) {
            const std::uint32_t p = layer.pixels[i];
            const unsigned a = 255 - (p >> 24);
            if (!a)
                continue;
            onto.pixels[i] = vector::CompositeOver(onto.pixels[i], (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF,
                                                   static_cast<float>(a / 255.0 * opacity));
        }
    }
}

// The pixels a fill of the path can touch: its control polygon's bounds with a pixel to spare
// for the antialiased edges, within the surface.
PixelRect FillArea(const vector::VectorPath& path, const vector::Affine& toDevice, int width, int height)
{
    const vector::RectF r = path.Bounds(toDevice);
    PixelRect area;
    if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.right) || !std::isfinite(r.bottom))
        return PixelRect{0, 0, width, height};
    area.x0 = static_cast<int>(std::max(0.0, std::min<double>(width, std::floor(r.left) - 1)));
    area.y0 = static_cast<int>(std::max(0.0, std::min<double>(height, std::floor(r.top) - 1)));
    area.x1 = static_cast<int>(std::max<double>(area.x0, std::min<double>(width, std::ceil(r.right) + 2)));
    area.y1 = static_cast<int>(std::max<double>(area.y0, std::min<double>(height, std::ceil(r.bottom) + 2)));
    return area;
}

void ClearArea(Surface& surface, const PixelRect& area)
{
    for (int y = area.y0; y < area.y1; ++y) {
        std::uint32_t* row = surface.pixels.data() + static_cast<size_t>(y) * surface.width;
        std::fill(row + area.x0, row + area.x1, kClear);
    }
}

// Raised edges: a height field rises from the outline over 'indent' pixels; each pixel is
// lightened or darkened by how its slope faces the light.
void ApplyBevel(Surface& layer, double indent, double lightAngle, double contrast, int type)
{
    if (indent < 0.5 || contrast == 0)
        return;
    const int w = layer.width, h = layer.height;
    const float farAway = static_cast<float>(indent) + 2;
    std::vector<float> d(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < d.size(); ++i)
        d[i] = (255 - (layer.pixels[i] >> 24)) >= 128 ? farAway : 0;
    // Two-pass chamfer distance to the nearest outside pixel (the page edge counts as outside).
    const float diag = 1.41421356f;
    auto at = [&](int x, int y) -> float { return (x < 0 || y < 0 || x >= w || y >= h) ? 0 : d[static_cast<size_t>(y) * w + x]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float& v = d[static_cast<size_t>(y) * w + x];
            if (v == 0)
                continue;
            v = std::min({v, at(x - 1, y) + 1, at(x, y - 1) + 1, at(x - 1, y - 1) + diag, at(x + 1, y - 1) + diag});
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            float& v = d[static_cast<size_t>(y) * w + x];
            if (v == 0)
                continue;
            v = std::min({v, at(x + 1, y) + 1, at(x, y + 1) + 1, at(x + 1, y + 1) + diag, at(x - 1, y + 1) + diag});
        }
    std::vector<float> height(d.size());
    for (size_t i = 0; i < d.size(); ++i) {
        const double t = std::min(1.0, std::max(0.0, (d[i] - 0.5) / indent));
        double profile;
        switch (type % 3) {
        case 1: profile = t; break;                                     // flat chisel
        case 2: profile = t * t * (3 - 2 * t); break;                   // soft pillow
        default: profile = std::sqrt(std::max(0.0, 1 - (1 - t) * (1 - t))); break;  // rounded
        }
        height[i] = static_cast<float>(profile * indent);
    }
    const double radians = lightAngle * 3.14159265358979 / 180;
    const double lx = std::cos(radians), ly = -std::sin(radians);  // screen y grows downwards
    const double strength = std::max(-100.0, std::min(100.0, contrast)) / 100;
    auto hAt = [&](int x, int y) {
        x = std::max(0, std::min(w - 1, x));
        y = std::max(0, std::min(h - 1, y));
        return height[static_cast<size_t>(y) * w + x];
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t& p = layer.pixels[static_cast<size_t>(y) * w + x];
            if ((p >> 24) == 255)
                continue;
            const double gx = (hAt(x + 1, y) - hAt(x - 1, y)) / 2, gy = (hAt(x, y + 1) - hAt(x, y - 1)) / 2;
            if (gx == 0 && gy == 0)
                continue;
            // The slope faces the light when the height grows away from it.
            double s = -(gx * lx + gy * ly) / std::sqrt(1 + gx * gx + gy * gy) * strength * 1.6;
            s = std::max(-0.85, std::min(0.85, s));
            auto shade = [&](unsigned c) {
                const double v = s >= 0 ? c + (255 - c) * s : c * (1 + s);
                return static_cast<std::uint32_t>(std::lround(std::min(255.0, std::max(0.0, v))));
            };
            p = (p & 0xFF000000u) | (shade((p >> 16) & 0xFF) << 16) | (shade((p >> 8) & 0xFF) << 8) | shade(p & 0xFF);
        }
}

bool IsAbsolute(const std::string& path)
{
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

// Replaces the colour of every covered pixel with the picture (or its contone between two
// colours), tiled through the fill matrix from page pixels.
void ApplyPicture(Surface& layer, const Picture& picture, const FillTypeValue& matrix, bool contone,
                  const Rgba& dark, const Rgba& light, const vector::Affine& toDevice)
{
    vector::Affine pictureToPage{matrix.a, matrix.b, matrix.c, matrix.d, matrix.e, matrix.f};
    vector::Affine deviceToPicture;
    if (!(toDevice * pictureToPage).Invert(&deviceToPicture))
        return;
    for (int y = 0; y < layer.height; ++y)
        for (int x = 0; x < layer.width; ++x) {
            std::uint32_t& p = layer.pixels[static_cast<size_t>(y) * layer.width + x];
            if ((p >> 24) == 255)
                continue;
            const vector::PointF q = deviceToPicture.Apply(vector::PointF{x + 0.5, y + 0.5});
            if (!std::isfinite(q.x) || !std::isfinite(q.y))
                continue;
            // Tiling in doubles: a matrix may send points far beyond the range of integers.
            double fx = std::fmod(std::floor(q.x), picture.width), fy = std::fmod(std::floor(q.y), picture.height);
            if (fx < 0)
                fx += picture.width;
            if (fy < 0)
                fy += picture.height;
            const long px = std::min(static_cast<long>(fx), static_cast<long>(picture.width - 1));
            const long py = std::min(static_cast<long>(fy), static_cast<long>(picture.height - 1));
            const std::uint32_t c = picture.pixels[static_cast<size_t>(py) * picture.width + px];
            unsigned r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            if (contone) {
                const double t = (r * 299 + g * 587 + b * 114) / 255000.0;
                r = static_cast<unsigned>(std::lround(dark.r + (static_cast<double>(light.r) - dark.r) * t));
                g = static_cast<unsigned>(std::lround(dark.g + (static_cast<double>(light.g) - dark.g) * t));
                b = static_cast<unsigned>(std::lround(dark.b + (static_cast<double>(light.b) - dark.b) * t));
            }
            p = (p & 0xFF000000u) | (r << 16) | (g << 8) | b;
        }
}

void DrawShape(const StyleEngine& engine, const ShapeItem& shape, const std::string& folder, double pageW,
               double pageH, const vector::Affine& toDevice, Surface& work, DrawScratch& scratch)
{
    vector::VectorPath path = ShapePath(engine, shape, pageW, pageH);
    if (path.Empty())
        return;
    ShapeItem::Fill fill = shape.fill;
    FillTypeValue matrix;
    std::string fillText;
    if (!shape.fillTypeSlot.empty() && SlotText(engine, shape.fillTypeSlot, &fillText) &&
        ParseFillType(fillText, &matrix)) {
        std::string type = matrix.type;
        for (char& c : type)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (type == "bitmap")
            fill = ShapeItem::Fill::kBitmap;
        else if (type.find("contone") != std::string::npos)
            fill = ShapeItem::Fill::kContone;
        else if (type == "flat" && (fill == ShapeItem::Fill::kBitmap || fill == ShapeItem::Fill::kContone))
            fill = ShapeItem::Fill::kFlat;
    }
    Picture picture;
    if (fill == ShapeItem::Fill::kBitmap || fill == ShapeItem::Fill::kContone) {
        std::string file;
        SlotText(engine, shape.textureSlot, &file);
        if (!file.empty() && !IsAbsolute(file))
            file = folder + file;
        // Without a picture the shape keeps its colour, so a template never renders empty.
        // A singular matrix maps the picture onto nothing: treated like a missing picture.
        if (file.empty() || matrix.a * matrix.d - matrix.b * matrix.c == 0 || !LoadPicture(file, &picture))
            fill = shape.fill == ShapeItem::Fill::kBitmap || shape.fill == ShapeItem::Fill::kContone
                       ? ShapeItem::Fill::kFlat
                       : shape.fill;
    }
    const Rgba colour = Resolve(engine, shape.colour), colour2 = Resolve(engine, shape.colour2);

    if (fill != ShapeItem::Fill::kNone) {
        std::unique_ptr<vector::VectorNode> node(new vector::VectorNode);
        node->kind = vector::VectorNode::Kind::kShape;
        node->path = path;
        switch (fill) {
        case ShapeItem::Fill::kGraduated:
        case ShapeItem::Fill::kRadial:
            node->fill.kind = vector::Paint::Kind::kGradient;
            node->fill.gradient = MakeGradient(shape, colour, colour2);
            break;
        case ShapeItem::Fill::kBitmap:
        case ShapeItem::Fill::kContone:
            node->fill.kind = vector::Paint::Kind::kColour;
            node->fill.r = node->fill.g = node->fill.b = 255;
            break;
        default:
            node->fill.kind = vector::Paint::Kind::kColour;
            node->fill.r = static_cast<unsigned char>(colour.r);
            node->fill.g = static_cast<unsigned char>(colour.g);
            node->fill.b = static_cast<unsigned char>(colour.b);
            node->fillOpacity = colour.alpha;
            break;
        }
        // The scratch layer is clear everywhere; only what this shape can reach is composited
        // and cleared again (pictures and bevels change covered pixels only).
        Surface layer{work.width, work.height, scratch.layer};
        const PixelRect area = FillArea(node->path, toDevice, work.width, work.height);
        DrawNode(std::move(node), layer, toDevice, *scratch.renderer);
        if (!picture.pixels.empty())
            ApplyPicture(layer, picture, matrix, fill == ShapeItem::Fill::kContone, Resolve(engine, shape.tone),
                         Resolve(engine, shape.tone2), toDevice);
        if (shape.bevel) {
            const double scale = toDevice.MeanScale();
            ApplyBevel(layer, Number(engine, shape.bevelIndent) * scale, Number(engine, shape.bevelAngle),
                       Number(engine, shape.bevelContrast), static_cast<int>(Number(engine, shape.bevelType)));
        }
        CompositeLayer(layer, work, std::max(0.0, std::min(1.0, shape.opacity)), area);
        ClearArea(layer, area);
    }
    if (!shape.stroke.none && shape.strokeWidth > 0) {
        const Rgba stroke = Resolve(engine, shape.stroke);
        std::unique_ptr<vector::VectorNode> node(new vector::VectorNode);
        node->kind = vector::VectorNode::Kind::kShape;
        node->path = path;
        node->stroke.kind = vector::Paint::Kind::kColour;
        node->stroke.r = static_cast<unsigned char>(stroke.r);
        node->stroke.g = static_cast<unsigned char>(stroke.g);
        node->stroke.b = static_cast<unsigned char>(stroke.b);
        node->strokeOpacity = stroke.alpha * std::max(0.0, std::min(1.0, shape.opacity));
        node->strokeWidth = shape.strokeWidth;
        DrawNode(std::move(node), work, toDevice, *scratch.renderer);
    }
}

void DrawText(const StyleEngine& engine, const TemplateModel& model, const TextItem& item, double pageW,
              double pageH, const vector::Affine& toDevice, Surface& work, DrawScratch& scratch)
{
    const TextLayout layout = LayoutText(engine, item);
    if (layout.lines.empty())
        return;
    const double insetY = item.insetY > 0 ? item.insetY : model.padY;
    const Box box{item.insetX > 0 ? item.insetX : model.padLeft, insetY,
                  pageW - (item.insetX > 0 ? item.insetX : model.padRight), pageH - insetY};
    const int column = layout.position % 3, row = layout.position / 3;
    double left = column == 0 ? box.left : column == 2 ? box.right - layout.width
                                                       : (box.left + box.right - layout.width) / 2;
    double baseline = row == 0 ? box.top + layout.capHeight
                      : row == 2 ? box.bottom - layout.height + layout.capHeight
                                 : (box.top + box.bottom - layout.height) / 2 + layout.capHeight;
    left += layout.nudgeX;
    baseline += layout.nudgeY;
    vector::VectorPath all;
    for (size_t i = 0; i < layout.lines.size(); ++i) {
        const TextLayout::Line& line = layout.lines[i];
        const double x = layout.justification == 0 ? left
                         : layout.justification == 2 ? left + layout.width - line.width
                                                     : left + (layout.width - line.width) / 2;
        all.Append(line.outline, vector::Affine::Translate(x, baseline + i * layout.lineAdvance));
    }
    if (all.Empty())
        return;
    auto draw = [&](const Rgba& colour, double dx, double dy) {
        std::unique_ptr<vector::VectorNode> node(new vector::VectorNode);
        node->kind = vector::VectorNode::Kind::kShape;
        node->path.Append(all, vector::Affine::Translate(dx, dy));
        node->fill.kind = vector::Paint::Kind::kColour;
        node->fill.r = static_cast<unsigned char>(colour.r);
        node->fill.g = static_cast<unsigned char>(colour.g);
        node->fill.b = static_cast<unsigned char>(colour.b);
        node->fillOpacity = colour.alpha;
        DrawNode(std::move(node), work, toDevice, *scratch.renderer);
    };
    if (!item.shadow.none)
        draw(Resolve(engine, item.shadow), item.shadowDx, item.shadowDy);
    if (item.depth > 0) {
        // The depth is in page pixels; the sides are drawn in device pixels.
        const double scale = std::sqrt(std::fabs(toDevice.a * toDevice.d - toDevice.b * toDevice.c));
        const Rgba side = Resolve(engine, item.sideColour);
        DrawExtrudedSides(all, toDevice, item.depth * scale, item.depthAngle,
                          (side.r << 16) | (side.g << 8) | side.b, work.width, work.height, work.pixels.data());
    }
    draw(Resolve(engine, item.colour), 0, 0);
}

}  // namespace

TextLayout LayoutText(const StyleEngine& engine, const TextItem& item)
{
    TextLayout layout;
    const std::string n = std::to_string(item.n);
    std::string text = item.text;
    int spacing = 100;
    SlotText(engine, "Text" + n, &text, &spacing);
    vector::GlyphSource::Font font;
    font.family = item.face;
    SlotText(engine, "Font" + n, &font.family);
    double size = item.sizePoints;
    if (SlotNumber(engine, "TextSize" + n, &size))
        size /= 1000;  // the slot holds thousandths of a point
    size = std::max(1.0, std::min(500.0, size));
    font.size = size;
    double v;
    // The item's weight and slant are the design's own; the Bold and Italic slots are the
    // user's switches on top of them (the program starts every template with both off).
    font.bold = item.bold || (SlotNumber(engine, "Bold" + n, &v) && v != 0);
    font.italic = item.italic || (SlotNumber(engine, "Italic" + n, &v) && v != 0);
    const double aspect = std::max(10.0, std::min(1000.0, SlotNumber(engine, "Aspect" + n, &v) ? v : item.aspect)) / 100;
    double tracking = SlotNumber(engine, "TextTracking" + n, &v) ? v : item.tracking;
    tracking = std::max(-500.0, std::min(2000.0, tracking)) / 1000 * size;
    layout.justification = item.justification;
    if (SlotNumber(engine, "TextJustification" + n, &v) && v >= 0 && v <= 2)
        layout.justification = static_cast<int>(v);
    layout.position = item.position;
    std::string position;
    if (SlotText(engine, "Position" + n, &position))
        ParsePosition(position, &layout.position, &layout.nudgeX, &layout.nudgeY);
    layout.capHeight = size * kCapHeight;
    layout.lineAdvance = size * kLineAdvance * std::max(10, spacing) / 100;

    // Lines end at a line feed; carriage returns are dropped.
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else if (c != '\r')
            lines.back() += c;
    }
    bool blank = true;
    for (const std::string& line : lines)
        if (line.find_first_not_of(" \t") != std::string::npos)
            blank = false;
    if (blank)
        return layout;

    vector::GlyphSource* glyphs = vector::GetGlyphSource();
    for (const std::string& line : lines) {
        TextLayout::Line out;
        double x = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            vector::VectorPath glyph;
            double advance = 0;
            if (!glyphs || !glyphs->Outline(std::string(1, line[i]), font, glyph, &advance)) {
                glyph = vector::VectorPath();
                advance = size * (line[i] == ' ' ? kFallbackAdvance / 2 : kFallbackAdvance);
            }
            out.outline.Append(glyph, vector::Affine{aspect, 0, 0, 1, x, 0});
            x += advance * aspect + (i + 1 < line.size() ? tracking : 0);
        }
        out.width = std::max(0.0, x);
        layout.width = std::max(layout.width, out.width);
        layout.lines.push_back(std::move(out));
    }
    layout.height = layout.capHeight + (layout.lines.size() - 1) * layout.lineAdvance;
    return layout;
}

Box ShapeBounds(const StyleEngine&, const ShapeItem& shape, double pageW, double pageH)
{
    const Placement& p = shape.place;
    Box b;
    b.left = p.leftPercent ? pageW * p.left / 100 : p.left;
    b.top = p.topPercent ? pageH * p.top / 100 : p.top;
    b.right = pageW - (p.rightPercent ? pageW * p.right / 100 : p.right);
    b.bottom = pageH - (p.bottomPercent ? pageH * p.bottom / 100 : p.bottom);
    return b;
}

namespace {

// Samples per pixel side of the sides' scene.
const int kSideSamples = 2;
// Tessro3D units: caller coordinates are 16.16; this matrix maps them 1:1 onto device pixels
// (16384 device units each) at kSideSamples samples per pixel.
const std::int32_t kFixedOne = 65536;
const std::int32_t kDeviceScale = 16384 * kSideSamples;
// The eye far away: the walls are drawn in parallel projection (their slant comes from the
// depth direction, not from perspective).
const std::int32_t kFarEye = 0x40000000;
const int kCurveSteps = 8;

void* TESSRO3D_CALL SceneAlloc(std::uint32_t size) { return std::malloc(size); }
void TESSRO3D_CALL SceneFree(void* block) { std::free(block); }

// The closed polygons of a path in device pixels (curves as kCurveSteps chords).
std::vector<std::vector<vector::PointF>> Polygons(const vector::VectorPath& path, const vector::Affine& toDevice)
{
    std::vector<std::vector<vector::PointF>> polygons;
    const std::vector<vector::VectorPath::Verb>& verbs = path.Verbs();
    const std::vector<vector::PointF>& points = path.Points();
    size_t at = 0;
    vector::PointF current;
    for (vector::VectorPath::Verb verb : verbs) {
        switch (verb) {
        case vector::VectorPath::kMove:
            current = points[at++];
            polygons.emplace_back(1, toDevice.Apply(current));
            break;
        case vector::VectorPath::kLine:
            current = points[at++];
            if (!polygons.empty())
                polygons.back().push_back(toDevice.Apply(current));
            break;
        case vector::VectorPath::kCubic: {
            const vector::PointF p0 = current, c1 = points[at], c2 = points[at + 1], p3 = points[at + 2];
            at += 3;
            for (int i = 1; i <= kCurveSteps && !polygons.empty(); ++i) {
                const double s = double(i) / kCurveSteps, r = 1 - s;
                const vector::PointF p{r * r * r * p0.x + 3 * r * r * s * c1.x + 3 * r * s * s * c2.x + s * s * s * p3.x,
                                       r * r * r * p0.y + 3 * r * r * s * c1.y + 3 * r * s * s * c2.y + s * s * s * p3.y};
                polygons.back().push_back(toDevice.Apply(p));
            }
            current = p3;
            break;
        }
        case vector::VectorPath::kClose:
            break;
        }
    }
    return polygons;
}

}  // namespace

bool DrawExtrudedSides(const vector::VectorPath& path, const vector::Affine& toDevice, double depth,
                       double angleDegrees, std::uint32_t sideRgb, int width, int height,
                       std::uint32_t* pixels)
{
    if (!pixels || width <= 0 || height <= 0 || !(depth > 0) || path.Empty())
        return false;
    const int sampleW = width * kSideSamples, sampleH = height * kSideSamples;
    std::vector<std::uint32_t> scene(static_cast<size_t>(sampleW) * sampleH, 0);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = sampleW;
    header.biHeight = sampleH;
    header.biPlanes = 1;
    header.biBitCount = 32;
    const double radians = angleDegrees * 3.14159265358979323846 / 180;
    const double dx = std::cos(radians) * depth, dy = std::sin(radians) * depth;
    // The light comes from the top left: walls facing up or left are bright, the others dark.
    const double lightX = -0.6, lightY = -0.8;
    const double red = ((sideRgb >> 16) & 0xFF) / 255.0, green = ((sideRgb >> 8) & 0xFF) / 255.0,
                 blue = (sideRgb & 0xFF) / 255.0;
    auto fixed = [](double pixelsValue) {
        return static_cast<std::int32_t>(std::lround(std::max(-30000.0, std::min(30000.0, pixelsValue)) * kFixedOne));
    };

    bool drawn = Tessro3DSetMemoryHandlers(&SceneAlloc, &SceneFree) == 0 &&
                 Tessro3DSetBitmap(&header, scene.data(), 0) == 0;
    const TessroMatrix matrix = {kDeviceScale, 0, 0, kDeviceScale, 0, 0};
    drawn = drawn && Tessro3DSetMatrix(&matrix) == 0 && Tessro3DSetAntialias(0) == 0 &&
            Tessro3DBeginScene(kFarEye, 0) == 0;
    if (drawn) {
        const std::int32_t back = -fixed(depth);
        for (const std::vector<vector::PointF>& polygon : Polygons(path, toDevice)) {
            for (size_t i = 0; i < polygon.size() && drawn; ++i) {
                const vector::PointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
                const double ex = b.x - a.x, ey = b.y - a.y, length = std::hypot(ex, ey);
                if (length < 1e-6)
                    continue;
                // The wall's normal on the side the depth goes to (the side one can see).
                double nx = ey / length, ny = -ex / length;
                if (nx * dx + ny * dy < 0)
                    nx = -nx, ny = -ny;
                const double lit = 0.7 + 0.3 * (nx * lightX + ny * lightY);
                const Tessro3DColour colour = {static_cast<float>(red * lit), static_cast<float>(green * lit),
                                               static_cast<float>(blue * lit)};
                const Tessro3DVertex a0 = {fixed(a.x), fixed(a.y), 0}, b0 = {fixed(b.x), fixed(b.y), 0};
                const Tessro3DVertex a1 = {fixed(a.x + dx), fixed(a.y + dy), back};
                const Tessro3DVertex b1 = {fixed(b.x + dx), fixed(b.y + dy), back};
                // Both windings: the scene keeps the one that faces the eye.
                drawn = Tessro3DDrawFlatTriangle(&a0, &b0, &b1, &colour) == 0 &&
                        Tessro3DDrawFlatTriangle(&a0, &b1, &b0, &colour) == 0 &&
                        Tessro3DDrawFlatTriangle(&a0, &b1, &a1, &colour) == 0 &&
                        Tessro3DDrawFlatTriangle(&a0, &a1, &b1, &colour) == 0;
            }
        }
        drawn = Tessro3DEndScene() == 0 && drawn;
    }
    Tessro3DReleaseMemory();
    if (!drawn)
        return false;

    // Each pixel takes the walls' colour over the share of its samples they cover.
    const unsigned samples = kSideSamples * kSideSamples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned covered = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSideSamples; ++sy) {
                for (int sx = 0; sx < kSideSamples; ++sx) {
                    const std::uint32_t p =
                        scene[static_cast<size_t>(y * kSideSamples + sy) * sampleW + x * kSideSamples + sx];
                    if ((p >> 24) == 0)
                        continue;  // no wall was written here
                    ++covered;
                    r += (p >> 16) & 0xFF;
                    g += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                }
            }
            if (!covered)
                continue;
            std::uint32_t& to = pixels[static_cast<size_t>(y) * width + x];
            to = vector::CompositeOver(to, r / covered, g / covered, b / covered, float(covered) / samples);
        }
    }
    return true;
}

DrawScratch::DrawScratch() = default;
DrawScratch::~DrawScratch() = default;

void DrawTemplate(const StyleEngine& engine, const TemplateModel& model, const std::string& folder, int state,
                  int width, int height, const UnitRect* clip, std::uint32_t* pixels, DrawScratch& scratch)
{
    double pageW, pageH;
    engine.PageSize(&pageW, &pageH);
    vector::Affine toDevice;
    if (clip) {
        const double cl = clip->left / double(kUnitsPerPixel), ct = clip->top / double(kUnitsPerPixel);
        const double cw = (clip->right - clip->left) / double(kUnitsPerPixel);
        const double ch = (clip->bottom - clip->top) / double(kUnitsPerPixel);
        const double sx = width / cw, sy = height / ch;
        toDevice = vector::Affine{sx, 0, 0, sy, -cl * sx, -ct * sy};
    } else {
        toDevice = vector::Affine::Scale(width / pageW, height / pageH);
    }
    if (!scratch.renderer)
        scratch.renderer.reset(new vector::VectorRenderer);
    const size_t count = static_cast<size_t>(width) * height;
    if (scratch.layer.size() != count)
        scratch.layer.assign(count, kClear);
    scratch.work.assign(count, kClear);
    Surface work{width, height, scratch.work};
    for (const DrawItem& item : model.order) {
        if (item.isText) {
            const TextItem& text = model.texts[item.index];
            if (VisibleIn(text.states, state))
                DrawText(engine, model, text, pageW, pageH, toDevice, work, scratch);
        } else {
            const ShapeItem& shape = model.shapes[item.index];
            if (VisibleIn(shape.states, state))
                DrawShape(engine, shape, folder, pageW, pageH, toDevice, work, scratch);
        }
    }
    // Premultiply and turn the rows bottom-up.
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = &work.pixels[static_cast<size_t>(y) * width];
        std::uint32_t* to = pixels + static_cast<size_t>(height - 1 - y) * width;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = from[x];
            const unsigned t = p >> 24, a = 255 - t;
            if (a == 255) {
                to[x] = p;
                continue;
            }
            auto pre = [a](unsigned c) { return (c * a + 127) / 255; };
            to[x] = (static_cast<std::uint32_t>(t) << 24) | (pre((p >> 16) & 0xFF) << 16) |
                    (pre((p >> 8) & 0xFF) << 8) | pre(p & 0xFF);
        }
    }
}

}  // namespace stylekit
