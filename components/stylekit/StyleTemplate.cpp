#include "components/stylekit/StyleTemplate.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include <pugixml.hpp>

namespace stylekit {

namespace {

bool EqualNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// Deeper letters than this would be all sides and no face.
const double kMaxTextDepth = 200;

double Limited(double v) { return LimitCoordinate(v); }

// A length: "12" pixels or "30%" of the relevant side.
double ReadLength(const char* text, bool* percent)
{
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    *percent = end && *end == '%';
    return end == text ? 0 : Limited(v);
}

double ReadDouble(const pugi::xml_node& node, const char* name, double fallback)
{
    return Limited(node.attribute(name).as_double(fallback));
}

std::vector<int> ReadStateList(const char* text)
{
    std::vector<int> states;
    std::istringstream in(text);
    int s;
    while (in >> s)
        if (s >= 1)
            states.push_back(s);
    return states;
}

NumberRef ReadNumber(const pugi::xml_node& node, const char* name, double fallback)
{
    NumberRef ref;
    ref.value = fallback;
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        return ref;
    const char* text = attribute.value();
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end != text && *end == 0)
        ref.value = Limited(v);
    else
        ref.slot = text;
    return ref;
}

void ReadPlacement(const pugi::xml_node& node, Placement* place)
{
    bool percent = false;
    if (pugi::xml_attribute inset = node.attribute("inset")) {
        const double v = ReadLength(inset.value(), &percent);
        place->left = place->top = place->right = place->bottom = v;
        place->leftPercent = place->topPercent = place->rightPercent = place->bottomPercent = percent;
    }
    struct Side {
        const char* name;
        double* value;
        bool* percent;
    } sides[] = {{"left", &place->left, &place->leftPercent},
                 {"top", &place->top, &place->topPercent},
                 {"right", &place->right, &place->rightPercent},
                 {"bottom", &place->bottom, &place->bottomPercent}};
    for (const Side& side : sides)
        if (pugi::xml_attribute a = node.attribute(side.name))
            *side.value = ReadLength(a.value(), side.percent);
}

bool ReadShape(const pugi::xml_node& node, ShapeItem* shape, std::string* error)
{
    const char* kind = node.name();
    if (EqualNoCase(kind, "rect"))
        shape->kind = ShapeItem::Kind::kRect;
    else if (EqualNoCase(kind, "ellipse"))
        shape->kind = ShapeItem::Kind::kEllipse;
    else
        shape->kind = ShapeItem::Kind::kPath;
    shape->id = node.attribute("id").value();
    ReadPlacement(node, &shape->place);
    shape->radius = ReadLength(node.attribute("radius").value(), &shape->radiusPercent);
    if (shape->kind == ShapeItem::Kind::kPath) {
        shape->pathData = node.attribute("d").value();
        if (shape->pathData.size() > TemplateModel::kMaxValueLength * 4) {
            *error = "path data too long";
            return false;
        }
        shape->pathFixed = EqualNoCase(node.attribute("frame").as_string("box"), "fixed");
        shape->anchorX = ReadDouble(node, "anchor-x", 0.5);
        shape->anchorY = ReadDouble(node, "anchor-y", 0.5);
        shape->offsetX = ReadDouble(node, "x", 0);
        shape->offsetY = ReadDouble(node, "y", 0);
        shape->pathScale = ReadDouble(node, "scale", 1);
    }
    const char* fill = node.attribute("fill").as_string("flat");
    static const struct {
        const char* name;
        ShapeItem::Fill fill;
    } kFills[] = {{"none", ShapeItem::Fill::kNone},         {"flat", ShapeItem::Fill::kFlat},
                  {"graduated", ShapeItem::Fill::kGraduated}, {"radial", ShapeItem::Fill::kRadial},
                  {"bitmap", ShapeItem::Fill::kBitmap},     {"contone", ShapeItem::Fill::kContone}};
    bool known = false;
    for (const auto& f : kFills)
        if (EqualNoCase(fill, f.name)) {
            shape->fill = f.fill;
            known = true;
        }
    if (!known) {
        *error = std::string("unknown fill ") + fill;
        return false;
    }
    ParseColourRef(node.attribute("colour").value(), &shape->colour);
    ParseColourRef(node.attribute("colour2").value(), &shape->colour2);
    if (node.attribute("tone"))
        ParseColourRef(node.attribute("tone").value(), &shape->tone);
    else
        shape->tone = shape->colour;
    if (node.attribute("tone2"))
        ParseColourRef(node.attribute("tone2").value(), &shape->tone2);
    else
        shape->tone2 = shape->colour2;
    shape->angle = ReadDouble(node, "angle", 90);
    shape->textureSlot = node.attribute("texture").value();
    shape->fillTypeSlot = node.attribute("filltype").value();
    ParseColourRef(node.attribute("stroke").value(), &shape->stroke);
    shape->strokeWidth = ReadDouble(node, "stroke-width", shape->stroke.none ? 0 : 1);
    shape->opacity = ReadDouble(node, "opacity", 1);
    shape->bevel = node.attribute("bevel-indent") != nullptr;
    shape->bevelIndent = ReadNumber(node, "bevel-indent", 0);
    shape->bevelAngle = ReadNumber(node, "bevel-angle", 135);
    shape->bevelContrast = ReadNumber(node, "bevel-contrast", 50);
    shape->bevelType = ReadNumber(node, "bevel-type", 0);
    shape->states = ReadStateList(node.attribute("states").value());
    return true;
}

void ReadText(const pugi::xml_node& node, TextItem* text)
{
    text->n = node.attribute("n").as_int(1);
    ParseColourRef(node.attribute("colour").as_string("#000000"), &text->colour);
    ParseColourRef(node.attribute("shadow").value(), &text->shadow);
    text->shadowDx = ReadDouble(node, "shadow-dx", 0);
    text->shadowDy = ReadDouble(node, "shadow-dy", 1);
    text->text = node.attribute("text").value();
    text->face = node.attribute("face").as_string("Liberation Sans");
    text->sizePoints = ReadDouble(node, "size", 12);
    text->bold = node.attribute("bold").as_bool(false);
    text->italic = node.attribute("italic").as_bool(false);
    text->aspect = node.attribute("aspect").as_int(100);
    text->tracking = node.attribute("tracking").as_int(0);
    text->justification = node.attribute("justify").as_int(1);
    text->position = node.attribute("position").as_int(4);
    text->insetX = ReadDouble(node, "inset-x", 0);
    text->insetY = ReadDouble(node, "inset-y", 0);
    text->depth = std::max(0.0, std::min(kMaxTextDepth, ReadDouble(node, "depth", 0)));
    text->depthAngle = ReadDouble(node, "depth-angle", 45);
    ParseColourRef(node.attribute("side-colour").as_string("#404040"), &text->sideColour);
    text->states = ReadStateList(node.attribute("states").value());
}

}  // namespace

bool ParseColourRef(const std::string& input, ColourRef* out)
{
    *out = ColourRef();
    std::string text = input;
    if (text.empty() || EqualNoCase(text.c_str(), "none"))
        return true;
    const size_t at = text.find('@');
    if (at != std::string::npos) {
        out->opacity = std::atoi(text.c_str() + at + 1);
        if (out->opacity < 0)
            out->opacity = 0;
        if (out->opacity > 100)
            out->opacity = 100;
        text.erase(at);
    }
    const size_t sign = text.find_last_of("+-");
    if (sign != std::string::npos && sign > 0) {
        out->shade = std::atoi(text.c_str() + sign);
        if (out->shade < -100)
            out->shade = -100;
        if (out->shade > 100)
            out->shade = 100;
        text.erase(sign);
    }
    if (!text.empty() && text[0] == '#') {
        if (!ParseHexColour(text, &out->rgb))
            return false;
    } else {
        out->slot = text;
    }
    out->none = false;
    return true;
}

bool ReadTemplate(const char* data, std::size_t size, TemplateModel* model, std::string* error)
{
    *model = TemplateModel();
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(data, size);
    if (!parsed) {
        *error = std::string("not XML: ") + parsed.description();
        return false;
    }
    const pugi::xml_node root = document.child("template");
    if (!root) {
        *error = "no template element";
        return false;
    }
    const pugi::xml_node page = root.child("page");
    model->sizing = EqualNoCase(page.attribute("sizing").as_string("fixed"), "text")
                        ? TemplateModel::Sizing::kText
                        : TemplateModel::Sizing::kFixed;
    model->width = page.attribute("width").as_double(100);
    model->height = page.attribute("height").as_double(30);
    const double padX = page.attribute("pad-x").as_double(10);
    model->padLeft = page.attribute("pad-left").as_double(padX);
    model->padRight = page.attribute("pad-right").as_double(padX);
    model->padY = page.attribute("pad-y").as_double(6);
    model->minWidth = page.attribute("min-width").as_double(1);
    model->minHeight = page.attribute("min-height").as_double(1);
    const double maxSide = TemplateModel::kMaxPageSide;
    if (!(model->width >= 1 && model->width <= maxSide && model->height >= 1 &&
          model->height <= maxSide && model->minWidth <= maxSide && model->minHeight <= maxSide &&
          model->padLeft >= 0 && model->padLeft <= maxSide && model->padRight >= 0 &&
          model->padRight <= maxSide && model->padY >= 0 && model->padY <= maxSide)) {
        *error = "page size out of range";
        return false;
    }

    for (pugi::xml_node node : root.child("slots").children("slot")) {
        if (model->slots.size() >= TemplateModel::kMaxSlots) {
            *error = "too many slots";
            return false;
        }
        Slot slot;
        slot.name = node.attribute("name").value();
        slot.type = node.attribute("type").as_int(0);
        slot.description = node.attribute("description").value();
        slot.tag = node.attribute("tag").value();
        slot.key = node.attribute("key").value();
        slot.value = node.attribute("value").value();
        slot.lineSpacing = node.attribute("line-spacing").as_int(100);
        if (slot.value.size() > TemplateModel::kMaxValueLength) {
            *error = "slot value too long";
            return false;
        }
        model->slots.push_back(slot);
    }
    for (pugi::xml_node node : root.child("states").children("state")) {
        if (model->states.size() >= TemplateModel::kMaxStates) {
            *error = "too many states";
            return false;
        }
        StateInfo state;
        state.name = node.attribute("name").value();
        state.time = node.attribute("time").as_int(0);
        if (state.time < 0)
            state.time = 0;
        model->states.push_back(state);
    }
    if (model->states.empty())
        model->states.push_back(StateInfo());

    for (pugi::xml_node node : root.child("draw").children()) {
        if (node.type() != pugi::node_element)
            continue;
        if (model->order.size() >= TemplateModel::kMaxItems) {
            *error = "too many drawing items";
            return false;
        }
        DrawItem item;
        if (EqualNoCase(node.name(), "text")) {
            TextItem text;
            ReadText(node, &text);
            item.isText = true;
            item.index = model->texts.size();
            model->texts.push_back(text);
        } else if (EqualNoCase(node.name(), "rect") || EqualNoCase(node.name(), "ellipse") ||
                   EqualNoCase(node.name(), "path")) {
            ShapeItem shape;
            if (!ReadShape(node, &shape, error))
                return false;
            item.index = model->shapes.size();
            model->shapes.push_back(shape);
        } else {
            *error = std::string("unknown drawing element ") + node.name();
            return false;
        }
        model->order.push_back(item);
    }
    return true;
}

// Geometry beyond this many pixels (or percent) has no use on a page of at most 4000 pixels;
// keeping numbers in range keeps every later conversion to integers defined.
double LimitCoordinate(double v)
{
    const double kMaxCoordinate = 100000;
    if (!(v == v))
        return 0;  // NaN
    return std::max(-kMaxCoordinate, std::min(kMaxCoordinate, v));
}

}  // namespace stylekit
