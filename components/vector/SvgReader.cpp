#include "components/vector/SvgReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vector {

namespace {

const char* SkipSeparators(const char* s)
{
    while (*s && (std::isspace(static_cast<unsigned char>(*s)) || *s == ','))
        ++s;
    return s;
}

// A number in SVG syntax; false (s unchanged) when there is none.
bool ReadNumber(const char*& s, double* out)
{
    s = SkipSeparators(s);
    const char* start = s;
    const char* p = s;
    if (*p == '+' || *p == '-')
        ++p;
    bool digits = false;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        ++p;
        digits = true;
    }
    if (*p == '.') {
        ++p;
        while (std::isdigit(static_cast<unsigned char>(*p))) {
            ++p;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-')
            ++q;
        if (std::isdigit(static_cast<unsigned char>(*q))) {
            while (std::isdigit(static_cast<unsigned char>(*q)))
                ++q;
            p = q;
        }
    }
    const std::string text(start, p);
    const double value = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(value))
        return false;
    *out = value;
    s = p;
    return true;
}

// An arc flag: a single 0 or 1, which may run into the next number.
bool ReadFlag(const char*& s, bool* out)
{
    s = SkipSeparators(s);
    if (*s != '0' && *s != '1')
        return false;
    *out = *s == '1';
    ++s;
    return true;
}

double NumberOr(const char* text, double fallback)
{
    if (!text || !*text)
        return fallback;
    const char* s = text;
    double value;
    if (!ReadNumber(s, &value))
        return fallback;
    return value;
}

// A length or a fraction: "50%" is 0.5, "0.5" is 0.5.
double FractionOr(const char* text, double fallback)
{
    if (!text || !*text)
        return fallback;
    const char* s = text;
    double value;
    if (!ReadNumber(s, &value))
        return fallback;
    s = SkipSeparators(s);
    return *s == '%' ? value / 100 : value;
}

std::string Trim(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

// The value of a property: the style attribute's declaration wins over the attribute.
std::string Property(const pugi::xml_node& element, const char* name)
{
    const char* style = element.attribute("style").value();
    if (*style) {
        const size_t nameLength = std::strlen(name);
        std::string text(style);
        size_t pos = 0;
        std::string found;
        bool has = false;
        while (pos < text.size()) {
            size_t end = text.find(';', pos);
            if (end == std::string::npos)
                end = text.size();
            const std::string declaration = text.substr(pos, end - pos);
            const size_t colon = declaration.find(':');
            if (colon != std::string::npos) {
                const std::string key = Trim(declaration.substr(0, colon));
                if (key.size() == nameLength && key == name) {
                    found = Trim(declaration.substr(colon + 1));
                    has = true;
                }
            }
            pos = end + 1;
        }
        if (has)
            return found;
    }
    return Trim(element.attribute(name).value());
}

const char* LocalName(const pugi::xml_node& node)
{
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

struct NamedColour {
    const char* name;
    unsigned char r, g, b;
};
const NamedColour kNamedColours[] = {
    {"black", 0, 0, 0},          {"white", 255, 255, 255},   {"red", 255, 0, 0},
    {"lime", 0, 255, 0},         {"green", 0, 128, 0},       {"blue", 0, 0, 255},
    {"yellow", 255, 255, 0},     {"cyan", 0, 255, 255},      {"aqua", 0, 255, 255},
    {"magenta", 255, 0, 255},    {"fuchsia", 255, 0, 255},   {"gray", 128, 128, 128},
    {"grey", 128, 128, 128},     {"silver", 192, 192, 192},  {"maroon", 128, 0, 0},
    {"olive", 128, 128, 0},      {"navy", 0, 0, 128},        {"purple", 128, 0, 128},
    {"teal", 0, 128, 128},       {"orange", 255, 165, 0},    {"darkgray", 169, 169, 169},
    {"darkgrey", 169, 169, 169}, {"lightgray", 211, 211, 211}, {"lightgrey", 211, 211, 211},
    {"dimgray", 105, 105, 105},  {"steelblue", 70, 130, 180}, {"whitesmoke", 245, 245, 245},
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string UrlId(const std::string& value)
{
    // url(#id) -> id
    const size_t hash = value.find('#');
    const size_t close = value.find(')');
    if (value.compare(0, 4, "url(") != 0 || hash == std::string::npos || close == std::string::npos ||
        close < hash)
        return std::string();
    return Trim(value.substr(hash + 1, close - hash - 1));
}

std::string HrefId(const pugi::xml_node& node)
{
    std::string href = node.attribute("xlink:href").value();
    if (href.empty())
        href = node.attribute("href").value();
    return href.size() > 1 && href[0] == '#' ? href.substr(1) : std::string();
}

double Clamp01(double v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

}  // namespace

struct SvgReader::Style {
    Paint fill;
    Paint stroke;
    double fillOpacity = 1;
    double strokeOpacity = 1;
    double strokeWidth = 1;
    LineCap lineCap = LineCap::kButt;
    LineJoin lineJoin = LineJoin::kMiter;
    double miterLimit = 4;
    FillRule fillRule = FillRule::kNonZero;
    bool visible = true;
    std::string fontFamily = "Arial";
    double fontSize = 16;
    bool bold = false;
    bool italic = false;
    int anchor = 0;  // 0 start, 1 middle, 2 end
};

bool SvgReader::ParseColour(const char* text, unsigned char* r, unsigned char* g, unsigned char* b)
{
    std::string s = Trim(text ? text : "");
    if (s.empty())
        return false;
    if (s[0] == '#') {
        int digits[6];
        const size_t n = s.size() - 1;
        if (n != 3 && n != 6)
            return false;
        for (size_t i = 0; i < n; ++i)
            if ((digits[i] = HexDigit(s[i + 1])) < 0)
                return false;
        if (n == 3) {
            *r = static_cast<unsigned char>(digits[0] * 17);
            *g = static_cast<unsigned char>(digits[1] * 17);
            *b = static_cast<unsigned char>(digits[2] * 17);
        } else {
            *r = static_cast<unsigned char>(digits[0] * 16 + digits[1]);
            *g = static_cast<unsigned char>(digits[2] * 16 + digits[3]);
            *b = static_cast<unsigned char>(digits[4] * 16 + digits[5]);
        }
        return true;
    }
    if (s.compare(0, 4, "rgb(") == 0) {
        const char* p = s.c_str() + 4;
        double values[3];
        for (double& v : values) {
            if (!ReadNumber(p, &v))
                return false;
            p = SkipSeparators(p);
            if (*p == '%') {
                v = v * 255 / 100;
                ++p;
            }
            v = std::round(std::clamp(v, 0.0, 255.0));
        }
        *r = static_cast<unsigned char>(values[0]);
        *g = static_cast<unsigned char>(values[1]);
        *b = static_cast<unsigned char>(values[2]);
        return true;
    }
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const NamedColour& named : kNamedColours)
        if (s == named.name) {
            *r = named.r;
            *g = named.g;
            *b = named.b;
            return true;
        }
    return false;
}

bool SvgReader::ParseTransform(const char* text, Affine* out)
{
    Affine result;
    const char* s = text ? text : "";
    for (;;) {
        s = SkipSeparators(s);
        if (!*s)
            break;
        const char* nameStart = s;
        while (std::isalpha(static_cast<unsigned char>(*s)))
            ++s;
        const std::string name(nameStart, s);
        while (std::isspace(static_cast<unsigned char>(*s)))
            ++s;
        if (name.empty() || *s != '(')
            return false;
        ++s;
        double v[6];
        int count = 0;
        while (count < 6 && ReadNumber(s, &v[count]))
            ++count;
        s = SkipSeparators(s);
        if (*s != ')')
            return false;
        ++s;
        Affine t;
        if (name == "matrix" && count == 6)
            t = {v[0], v[1], v[2], v[3], v[4], v[5]};
        else if (name == "translate" && (count == 1 || count == 2))
            t = Affine::Translate(v[0], count == 2 ? v[1] : 0);
        else if (name == "scale" && (count == 1 || count == 2))
            t = Affine::Scale(v[0], count == 2 ? v[1] : v[0]);
        else if (name == "rotate" && count == 1)
            t = Affine::Rotate(v[0]);
        else if (name == "rotate" && count == 3)
            t = Affine::Translate(v[1], v[2]) * Affine::Rotate(v[0]) * Affine::Translate(-v[1], -v[2]);
        else if (name == "skewX" && count == 1)
            t = Affine::SkewX(v[0]);
        else if (name == "skewY" && count == 1)
            t = Affine::SkewY(v[0]);
        else
            return false;
        result = result * t;
    }
    *out = result;
    return true;
}

bool SvgReader::ParsePathData(const char* text, VectorPath& path)
{
    const char* s = text ? text : "";
    char command = 0;
    PointF lastControl;
    char lastCommand = 0;
    for (;;) {
        s = SkipSeparators(s);
        if (!*s)
            return true;
        if (std::isalpha(static_cast<unsigned char>(*s))) {
            command = *s++;
        } else if (command == 0 || command == 'Z' || command == 'z') {
            return false;  // numbers without a command: the rest of the data is in error
        } else if (command == 'M') {
            command = 'L';  // further pairs after a move are lines
        } else if (command == 'm') {
            command = 'l';
        }
        const bool relative = std::islower(static_cast<unsigned char>(command)) != 0;
        const PointF origin = relative ? path.CurrentPoint() : PointF{};
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(command)));
        double v[7];
        auto numbers = [&](int n) {
            for (int i = 0; i < n; ++i)
                if (!ReadNumber(s, &v[i]))
                    return false;
            return true;
        };
        PointF current = path.CurrentPoint();
        switch (upper) {
        case 'Z':
            path.Close();
            break;
        case 'M':
            if (!numbers(2))
                return false;
            path.MoveTo({origin.x + v[0], origin.y + v[1]});
            break;
        case 'L':
            if (!numbers(2))
                return false;
            path.LineTo({origin.x + v[0], origin.y + v[1]});
            break;
        case 'H':
            if (!numbers(1))
                return false;
            path.LineTo({(relative ? current.x : 0) + v[0], current.y});
            break;
        case 'V':
            if (!numbers(1))
                return false;
            path.LineTo({current.x, (relative ? current.y : 0) + v[0]});
            break;
        case 'C':
        case 'S': {
            PointF c1;
            int first = 0;
            if (upper == 'C') {
                if (!numbers(6))
                    return false;
                c1 = {origin.x + v[0], origin.y + v[1]};
                first = 2;
            } else {
                if (!numbers(4))
                    return false;
                const char lastUpper = static_cast<char>(std::toupper(static_cast<unsigned char>(lastCommand)));
                c1 = (lastUpper == 'C' || lastUpper == 'S')
                         ? PointF{2 * current.x - lastControl.x, 2 * current.y - lastControl.y}
                         : current;
            }
            const PointF c2 = {origin.x + v[first], origin.y + v[first + 1]};
            const PointF p = {origin.x + v[first + 2], origin.y + v[first + 3]};
            path.CubicTo(c1, c2, p);
            lastControl = c2;
            break;
        }
        case 'Q':
        case 'T': {
            PointF c;
            PointF p;
            if (upper == 'Q') {
                if (!numbers(4))
                    return false;
                c = {origin.x + v[0], origin.y + v[1]};
                p = {origin.x + v[2], origin.y + v[3]};
            } else {
                if (!numbers(2))
                    return false;
                const char lastUpper = static_cast<char>(std::toupper(static_cast<unsigned char>(lastCommand)));
                c = (lastUpper == 'Q' || lastUpper == 'T')
                        ? PointF{2 * current.x - lastControl.x, 2 * current.y - lastControl.y}
                        : current;
                p = {origin.x + v[0], origin.y + v[1]};
            }
            path.QuadTo(c, p);
            lastControl = c;
            break;
        }
        case 'A': {
            bool large, sweep;
            if (!ReadNumber(s, &v[0]) || !ReadNumber(s, &v[1]) || !ReadNumber(s, &v[2]) ||
                !ReadFlag(s, &large) || !ReadFlag(s, &sweep) || !ReadNumber(s, &v[3]) ||
                !ReadNumber(s, &v[4]))
                return false;
            path.ArcTo(v[0], v[1], v[2], large, sweep, {origin.x + v[3], origin.y + v[4]});
            break;
        }
        default:
            return false;
        }
        lastCommand = command;
    }
}

Paint SvgReader::ResolvePaint(const std::string& value, const Paint& inherited)
{
    // A chain of references with fallbacks ("url(#a) url(#b) red") is followed in a loop: each
    // step consumes one reference, so a long or unterminated chain cannot exhaust the stack.
    std::string rest = value;
    for (;;) {
        Paint paint;
        if (rest.empty() || rest == "inherit")
            return inherited;
        if (rest == "none" || rest == "transparent")
            return paint;
        if (rest.compare(0, 4, "url(") == 0) {
            auto gradient = ResolveGradient(UrlId(rest), 0);
            if (gradient && !gradient->stops.empty()) {
                paint.kind = Paint::Kind::kGradient;
                paint.gradient = gradient;
                return paint;
            }
            // A reference that leads nowhere: the fallback colour after it, else nothing.
            const size_t close = rest.find(')');
            if (close == std::string::npos)
                return paint;
            const std::string fallback = Trim(rest.substr(close + 1));
            if (fallback.empty() || fallback == "none")
                return paint;
            rest = fallback;
            continue;
        }
        if (ParseColour(rest.c_str(), &paint.r, &paint.g, &paint.b))
            paint.kind = Paint::Kind::kColour;
        else
            return inherited;  // an unknown colour is ignored, as a browser would
        return paint;
    }
}

void SvgReader::CollectGradients(const pugi::xml_node& node, int depth)
{
    if (depth > kMaxDepth)
        return;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* name = LocalName(child);
        if ((!std::strcmp(name, "linearGradient") || !std::strcmp(name, "radialGradient")) &&
            *child.attribute("id").value())
            m_gradientNodes.emplace(child.attribute("id").value(), child);
        CollectGradients(child, depth + 1);
    }
}

std::shared_ptr<const Gradient> SvgReader::ResolveGradient(const std::string& id, int depth)
{
    // Depth bounds href chains, including cycles.
    if (id.empty() || depth > 8)
        return nullptr;
    auto done = m_gradients.find(id);
    if (done != m_gradients.end())
        return done->second;
    auto found = m_gradientNodes.find(id);
    if (found == m_gradientNodes.end())
        return nullptr;
    const pugi::xml_node node = found->second;
    auto gradient = std::make_shared<Gradient>();
    std::shared_ptr<const Gradient> base = ResolveGradient(HrefId(node), depth + 1);
    if (base)
        *gradient = *base;
    gradient->kind = std::strcmp(LocalName(node), "radialGradient") == 0 ? Gradient::Kind::kRadial
                                                                       : Gradient::Kind::kLinear;
    if (base && base->kind != gradient->kind) {
        // Geometry is inherited only between gradients of the same kind.
        Gradient fresh;
        fresh.kind = gradient->kind;
        fresh.stops = base->stops;
        fresh.spread = base->spread;
        fresh.userSpace = base->userSpace;
        fresh.transform = base->transform;
        *gradient = fresh;
    }
    const std::string units = node.attribute("gradientUnits").value();
    if (!units.empty())
        gradient->userSpace = units == "userSpaceOnUse";
    const std::string spread = node.attribute("spreadMethod").value();
    if (spread == "reflect")
        gradient->spread = Gradient::Spread::kReflect;
    else if (spread == "repeat")
        gradient->spread = Gradient::Spread::kRepeat;
    else if (spread == "pad")
        gradient->spread = Gradient::Spread::kPad;
    if (*node.attribute("gradientTransform").value()) {
        Affine t;
        if (ParseTransform(node.attribute("gradientTransform").value(), &t))
            gradient->transform = t;
    }
    auto number = [&](const char* name, double& field) {
        if (*node.attribute(name).value())
            field = FractionOr(node.attribute(name).value(), field);
    };
    if (gradient->kind == Gradient::Kind::kLinear) {
        number("x1", gradient->x1);
        number("y1", gradient->y1);
        number("x2", gradient->x2);
        number("y2", gradient->y2);
    } else {
        number("cx", gradient->cx);
        number("cy", gradient->cy);
        number("r", gradient->r);
        gradient->fx = gradient->cx;
        gradient->fy = gradient->cy;
        number("fx", gradient->fx);
        number("fy", gradient->fy);
    }
    std::vector<GradientStop> stops;
    for (pugi::xml_node stopNode : node.children()) {
        if (stopNode.type() != pugi::node_element || std::strcmp(LocalName(stopNode), "stop") != 0)
            continue;
        if (stops.size() >= kMaxStops)
            break;
        GradientStop stop;
        stop.offset = Clamp01(FractionOr(stopNode.attribute("offset").value(), 0));
        // Offsets never go backwards.
        if (!stops.empty())
            stop.offset = std::max(stop.offset, stops.back().offset);
        const std::string colour = Property(stopNode, "stop-color");
        if (!colour.empty())
            ParseColour(colour.c_str(), &stop.r, &stop.g, &stop.b);
        const std::string opacity = Property(stopNode, "stop-opacity");
        stop.opacity = Clamp01(FractionOr(opacity.c_str(), 1));
        stops.push_back(stop);
    }
    if (!stops.empty())
        gradient->stops = std::move(stops);
    m_gradients[id] = gradient;
    return gradient;
}

bool SvgReader::ReadChildren(const pugi::xml_node& parent, const Style& style, VectorNode& out,
                             int depth)
{
    for (pugi::xml_node child : parent.children()) {
        if (child.type() != pugi::node_element)
            continue;
        std::unique_ptr<VectorNode> node = ReadElement(child, style, depth + 1);
        if (node)
            out.children.push_back(std::move(node));
    }
    return true;
}

std::unique_ptr<VectorNode> SvgReader::ReadElement(const pugi::xml_node& element,
                                                   const Style& parentStyle, int depth)
{
    if (depth > kMaxDepth)
        return nullptr;
    const std::string name = LocalName(element);
    if (name == "defs" || name == "linearGradient" || name == "radialGradient" || name == "title" ||
        name == "desc" || name == "metadata" || name == "style")
        return nullptr;

    Style style = parentStyle;
    std::string value;
    if (!(value = Property(element, "fill")).empty())
        style.fill = ResolvePaint(value, parentStyle.fill);
    if (!(value = Property(element, "stroke")).empty())
        style.stroke = ResolvePaint(value, parentStyle.stroke);
    if (!(value = Property(element, "fill-opacity")).empty())
        style.fillOpacity = Clamp01(FractionOr(value.c_str(), 1));
    if (!(value = Property(element, "stroke-opacity")).empty())
        style.strokeOpacity = Clamp01(FractionOr(value.c_str(), 1));
    if (!(value = Property(element, "stroke-width")).empty())
        style.strokeWidth = std::max(0.0, NumberOr(value.c_str(), parentStyle.strokeWidth));
    if (!(value = Property(element, "stroke-linecap")).empty())
        style.lineCap = value == "round" ? LineCap::kRound : (value == "square" ? LineCap::kSquare : LineCap::kButt);
    if (!(value = Property(element, "stroke-linejoin")).empty())
        style.lineJoin = value == "round" ? LineJoin::kRound : (value == "bevel" ? LineJoin::kBevel : LineJoin::kMiter);
    if (!(value = Property(element, "stroke-miterlimit")).empty())
        style.miterLimit = std::max(1.0, NumberOr(value.c_str(), parentStyle.miterLimit));
    if (!(value = Property(element, "fill-rule")).empty())
        style.fillRule = value == "evenodd" ? FillRule::kEvenOdd : FillRule::kNonZero;
    if (!(value = Property(element, "visibility")).empty())
        style.visible = value != "hidden" && value != "collapse";
    if (!(value = Property(element, "font-family")).empty()) {
        // The first family of the list, without quotes.
        std::string family = Trim(value.substr(0, value.find(',')));
        family.erase(std::remove(family.begin(), family.end(), '\''), family.end());
        family.erase(std::remove(family.begin(), family.end(), '"'), family.end());
        if (!family.empty())
            style.fontFamily = family;
    }
    if (!(value = Property(element, "font-size")).empty())
        style.fontSize = std::max(0.0, NumberOr(value.c_str(), parentStyle.fontSize));
    if (!(value = Property(element, "font-weight")).empty())
        style.bold = value == "bold" || value == "bolder" || NumberOr(value.c_str(), 400) >= 600;
    if (!(value = Property(element, "font-style")).empty())
        style.italic = value == "italic" || value == "oblique";
    if (!(value = Property(element, "text-anchor")).empty())
        style.anchor = value == "middle" ? 1 : (value == "end" ? 2 : 0);

    auto node = std::make_unique<VectorNode>();
    node->id = element.attribute("id").value();
    if (*element.attribute("transform").value()) {
        Affine t;
        if (ParseTransform(element.attribute("transform").value(), &t))
            node->transform = t;
    }
    node->opacity = Clamp01(FractionOr(Property(element, "opacity").c_str(), 1));
    node->visible = Property(element, "display") != "none";
    node->fill = style.fill;
    node->stroke = style.stroke;
    node->fillOpacity = style.fillOpacity;
    node->strokeOpacity = style.strokeOpacity;
    node->strokeWidth = style.strokeWidth;
    node->lineCap = style.lineCap;
    node->lineJoin = style.lineJoin;
    node->miterLimit = style.miterLimit;
    node->fillRule = style.fillRule;
    if (!style.visible) {
        // Hidden but still present: it draws nothing.
        node->fill = Paint();
        node->stroke = Paint();
    }

    auto attr = [&](const char* attribute, double fallback = 0) {
        return NumberOr(element.attribute(attribute).value(), fallback);
    };
    VectorPath& path = node->path;
    if (name == "g" || name == "svg" || name == "a" || name == "switch") {
        node->kind = VectorNode::Kind::kGroup;
        if (name == "svg" && depth > 0)
            node->transform = node->transform * Affine::Translate(attr("x"), attr("y"));
        ReadChildren(element, style, *node, depth);
        return node;
    }
    node->kind = VectorNode::Kind::kShape;
    if (name == "path") {
        // A path with an error is drawn up to the error, as browsers do.
        ParsePathData(element.attribute("d").value(), path);
    } else if (name == "rect") {
        const double x = attr("x"), y = attr("y"), w = attr("width"), h = attr("height");
        if (w > 0 && h > 0) {
            double rx = attr("rx", -1), ry = attr("ry", -1);
            if (rx < 0)
                rx = ry;
            if (ry < 0)
                ry = rx;
            rx = std::clamp(rx, 0.0, w / 2);
            ry = std::clamp(ry, 0.0, h / 2);
            if (rx > 0 && ry > 0) {
                path.MoveTo({x + rx, y});
                path.LineTo({x + w - rx, y});
                path.ArcTo(rx, ry, 0, false, true, {x + w, y + ry});
                path.LineTo({x + w, y + h - ry});
                path.ArcTo(rx, ry, 0, false, true, {x + w - rx, y + h});
                path.LineTo({x + rx, y + h});
                path.ArcTo(rx, ry, 0, false, true, {x, y + h - ry});
                path.LineTo({x, y + ry});
                path.ArcTo(rx, ry, 0, false, true, {x + rx, y});
            } else {
                path.MoveTo({x, y});
                path.LineTo({x + w, y});
                path.LineTo({x + w, y + h});
                path.LineTo({x, y + h});
            }
            path.Close();
        }
    } else if (name == "circle" || name == "ellipse") {
        const double cx = attr("cx"), cy = attr("cy");
        const double rx = name == "circle" ? attr("r") : attr("rx");
        const double ry = name == "circle" ? attr("r") : attr("ry");
        if (rx > 0 && ry > 0) {
            path.MoveTo({cx + rx, cy});
            path.ArcTo(rx, ry, 0, false, true, {cx, cy + ry});
            path.ArcTo(rx, ry, 0, false, true, {cx - rx, cy});
            path.ArcTo(rx, ry, 0, false, true, {cx, cy - ry});
            path.ArcTo(rx, ry, 0, false, true, {cx + rx, cy});
            path.Close();
        }
    } else if (name == "line") {
        path.MoveTo({attr("x1"), attr("y1")});
        path.LineTo({attr("x2"), attr("y2")});
        node->fill = Paint();  // a line has no inside
    } else if (name == "polyline" || name == "polygon") {
        const char* s = element.attribute("points").value();
        double x, y;
        bool first = true;
        while (ReadNumber(s, &x) && ReadNumber(s, &y)) {
            if (first)
                path.MoveTo({x, y});
            else
                path.LineTo({x, y});
            first = false;
        }
        if (name == "polygon" && !first)
            path.Close();
    } else if (name == "text") {
        node->isText = true;
        GlyphSource* glyphs = GetGlyphSource();
        double x = attr("x"), y = attr("y");
        // Text of the element and its tspans, each tspan may move the pen.
        struct Run {
            std::string text;
            double x, y;
            bool moved;
        };
        std::vector<Run> runs;
        for (pugi::xml_node child : element.children()) {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                runs.push_back({child.value(), 0, 0, false});
            } else if (child.type() == pugi::node_element && std::strcmp(LocalName(child), "tspan") == 0) {
                const bool moved = *child.attribute("x").value() || *child.attribute("y").value();
                runs.push_back({child.text().get(), NumberOr(child.attribute("x").value(), x),
                                NumberOr(child.attribute("y").value(), y), moved});
            }
        }
        if (glyphs && style.fontSize > 0) {
            GlyphSource::Font font{style.fontFamily, style.fontSize, style.bold, style.italic};
            // Lines of text: a run that moves the pen starts a new line; each line is anchored
            // on its own.
            VectorPath line;
            double penX = x, penY = y, lineStart = x;
            auto flush = [&]() {
                double shift = 0;
                if (style.anchor == 1)
                    shift = -(penX - lineStart) / 2;
                else if (style.anchor == 2)
                    shift = -(penX - lineStart);
                path.Append(line, Affine::Translate(shift, 0));
                line = VectorPath();
            };
            for (Run& run : runs) {
                if (run.moved) {
                    flush();
                    penX = lineStart = run.x;
                    penY = run.y;
                }
                // Collapse white space as SVG does by default.
                std::string text;
                bool space = false;
                for (char c : run.text) {
                    if (std::isspace(static_cast<unsigned char>(c))) {
                        space = true;
                        continue;
                    }
                    if (space && !text.empty())
                        text += ' ';
                    space = false;
                    text += c;
                }
                if (space && !text.empty())
                    text += ' ';
                if (text.empty())
                    continue;
                VectorPath glyphPath;
                double advance = 0;
                if (glyphs->Outline(text, font, glyphPath, &advance)) {
                    line.Append(glyphPath, Affine::Translate(penX, penY));
                    penX += advance;
                }
            }
            flush();
        }
    } else {
        return nullptr;  // unknown elements draw nothing
    }
    return node;
}

bool SvgReader::Read(const char* data, size_t size, VectorDocument& document, std::string* error)
{
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = xml.load_buffer(data, size);
    if (!parsed) {
        if (error)
            *error = parsed.description();
        return false;
    }
    const pugi::xml_node svg = xml.document_element();
    if (std::strcmp(LocalName(svg), "svg") != 0) {
        if (error)
            *error = "not an svg document";
        return false;
    }
    m_gradientNodes.clear();
    m_gradients.clear();
    CollectGradients(svg, 0);

    Style style;
    style.fill.kind = Paint::Kind::kColour;  // the initial fill is black
    auto root = std::make_unique<VectorNode>();
    root->kind = VectorNode::Kind::kGroup;
    ReadChildren(svg, style, *root, 0);

    RectF bounds = RectF::Empty();
    const char* s = svg.attribute("viewBox").value();
    double v[4];
    if (ReadNumber(s, &v[0]) && ReadNumber(s, &v[1]) && ReadNumber(s, &v[2]) && ReadNumber(s, &v[3]) &&
        v[2] > 0 && v[3] > 0) {
        bounds = {v[0], v[1], v[0] + v[2], v[1] + v[3]};
    } else {
        const double w = NumberOr(svg.attribute("width").value(), 0);
        const double h = NumberOr(svg.attribute("height").value(), 0);
        if (w > 0 && h > 0 && !std::strchr(svg.attribute("width").value(), '%'))
            bounds = {0, 0, w, h};
    }
    document.m_root = std::move(root);
    document.m_bounds = bounds.IsEmpty() ? document.DrawingBounds() : bounds;
    if (document.m_bounds.IsEmpty())
        document.m_bounds = RectF{};
    return true;
}

}  // namespace vector
