// Slots, sizing and states of the template engine core. Drawing is in StyleDraw.cpp.
#include "components/stylekit/StyleEngine.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "components/stylekit/StyleDraw.h"
#include "components/stylekit/StyleTemplate.h"

namespace stylekit {

namespace {

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool StartsNoCase(const std::string& text, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    return text.size() >= n && EqualNoCase(text.substr(0, n), prefix);
}

// A whole decimal number, blanks around it allowed.
bool ParseInteger(const std::string& text, long long* out)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const long long v = std::strtoll(begin, &end, 10);
    if (end == begin)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end)
        return false;
    *out = v;
    return true;
}

enum class ValueFormat { kRaw, kText, kInteger, kColour, kConstraint, kFillType };

bool IsConstraintSlot(const Slot& slot)
{
    return EqualNoCase(slot.key, "CONSTRAINED");
}

ValueFormat FormatOf(const Slot& slot)
{
    if (IsConstraintSlot(slot))
        return ValueFormat::kConstraint;
    if (StartsNoCase(slot.key, "FILLTYPE"))
        return ValueFormat::kFillType;
    switch (slot.type) {
    case kSlotTracking:
    case kSlotAspect:
    case kSlotStyle:
    case kSlotSize:
        return ValueFormat::kInteger;
    case kSlotColour:
        return ValueFormat::kColour;
    case kSlotText:
        return slot.description.empty() ? ValueFormat::kText : ValueFormat::kRaw;
    default:
        return ValueFormat::kRaw;
    }
}

// "width Height:height" in document units; what the client writes has words between them.
bool ParseConstraint(const std::string& text, long* width, long* height)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const long w = std::strtol(begin, &end, 10);
    if (end == begin)
        return false;
    *width = w;
    const size_t at = text.find("Height:");
    if (at != std::string::npos) {
        const char* h = text.c_str() + at + 7;
        char* hEnd = nullptr;
        const long v = std::strtol(h, &hEnd, 10);
        if (hEnd == h)
            return false;
        *height = v;
    }
    return true;
}

// Whether the constraint slot lets the width (x) or height (y) follow its value: the
// direction letter lies among the description's last two characters; a one-character
// description allows both.
bool ConstraintAllows(const Slot& slot, char axis)
{
    const std::string& d = slot.description;
    if (d.size() <= 1)
        return true;
    std::string lower = d;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t at = lower.find(axis);
    return at != std::string::npos && at + 2 >= lower.size();
}

}  // namespace

bool ParseHexColour(const std::string& input, std::uint32_t* rgb)
{
    std::string text = input;
    if (!text.empty() && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6)
        return false;
    std::uint32_t v = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = (v << 4) | static_cast<std::uint32_t>(digit);
    }
    *rgb = v;
    return true;
}

bool ParseFillType(const std::string& text, FillTypeValue* out)
{
    FillTypeValue value;
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    std::string word;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
        word += text[i++];
    // The client writes the type and the matrix with or without a blank between them.
    if (word.size() > 6 && EqualNoCase(word.substr(word.size() - 6), "Matrix")) {
        word.erase(word.size() - 6);
        i -= 0;  // the matrix word is consumed
        value.type = word;
    } else {
        value.type = word;
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        std::string next;
        size_t j = i;
        while (j < text.size() && std::isalpha(static_cast<unsigned char>(text[j])))
            next += text[j++];
        if (EqualNoCase(next, "Matrix"))
            i = j;
        else if (!next.empty())
            return false;
    }
    if (value.type.empty())
        return false;
    // Letter-number pairs A..F in any order.
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i >= text.size())
            break;
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i++])));
        const char* begin = text.c_str() + i;
        char* end = nullptr;
        const double v = std::strtod(begin, &end);
        if (end == begin || letter < 'A' || letter > 'F' || !std::isfinite(v))
            return false;
        i += static_cast<size_t>(end - begin);
        double* fields[] = {&value.a, &value.b, &value.c, &value.d, &value.e, &value.f};
        *fields[letter - 'A'] = v;
    }
    *out = value;
    return true;
}

StyleEngine::StyleEngine() = default;
StyleEngine::~StyleEngine() = default;

bool StyleEngine::Load(const std::string& path, std::string* error)
{
    Unload();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0 || static_cast<unsigned long long>(length) > kMaxFileSize) {
        *error = "file too large";
        return false;
    }
    in.seekg(0);
    std::string data(static_cast<size_t>(length), '\0');
    in.read(&data[0], length);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    const size_t slash = path.find_last_of("/\\");
    return LoadFromText(data.data(), data.size(), slash == std::string::npos ? "" : path.substr(0, slash + 1),
                        error);
}

bool StyleEngine::LoadFromText(const char* data, std::size_t size, const std::string& folder,
                               std::string* error)
{
    std::unique_ptr<TemplateModel> model(new TemplateModel);
    if (!ReadTemplate(data, size, model.get(), error)) {
        Unload();
        return false;
    }
    m_slots.clear();
    // Values go through the same check as the client's writes, so the file's text for a
    // text slot may carry a line spacing as well.
    for (const Slot& slot : model->slots) {
        m_slots.push_back(slot);
        Slot& added = m_slots.back();
        const std::string value = added.value;
        added.value.clear();
        if (!value.empty() && !SetSlotValue(m_slots.size() - 1, value)) {
            *error = "bad value of slot " + slot.name;
            m_slots.clear();
            Unload();
            return false;
        }
    }
    m_model = std::move(model);
    m_folder = folder;
    m_state = 1;
    return true;
}

void StyleEngine::Unload()
{
    m_model.reset();
    m_slots.clear();
    m_state = 1;
}

int StyleEngine::FindSlot(const std::string& name) const
{
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (EqualNoCase(m_slots[i].name, name))
            return static_cast<int>(i);
    return -1;
}

bool StyleEngine::SetSlotValue(std::size_t index, const std::string& value)
{
    if (index >= m_slots.size() || value.size() > TemplateModel::kMaxValueLength)
        return false;
    Slot& slot = m_slots[index];
    switch (FormatOf(slot)) {
    case ValueFormat::kText: {
        // "lsvalue\r<line spacing>\r<text>" or the bare text.
        static const char kPrefix[] = "lsvalue\r";
        if (value.compare(0, sizeof kPrefix - 1, kPrefix) == 0) {
            const size_t end = value.find('\r', sizeof kPrefix - 1);
            if (end == std::string::npos)
                return false;
            long long spacing;
            if (!ParseInteger(value.substr(sizeof kPrefix - 1, end - (sizeof kPrefix - 1)), &spacing))
                return false;
            slot.lineSpacing = static_cast<int>(std::max(10LL, std::min(1000LL, spacing)));
            slot.value = value.substr(end + 1);
        } else {
            slot.value = value;
        }
        return true;
    }
    case ValueFormat::kInteger: {
        long long v;
        if (!ParseInteger(value, &v))
            return false;
        // The client writes some numbers as unsigned decimals of signed values.
        slot.value = std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
        return true;
    }
    case ValueFormat::kColour: {
        std::uint32_t rgb;
        if (!ParseHexColour(value, &rgb))
            return false;
        char text[8];
        std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(rgb));
        slot.value = text;
        return true;
    }
    case ValueFormat::kConstraint: {
        long width = 0, height = 0;
        ParseConstraint(slot.value, &width, &height);  // the height stays when none is given
        if (!ParseConstraint(value, &width, &height) || width < 0 || height < 0)
            return false;
        const long limit = static_cast<long>(TemplateModel::kMaxPageSide) * kUnitsPerPixel;
        char text[64];
        std::snprintf(text, sizeof text, "%ld Height:%ld", std::min(width, limit), std::min(height, limit));
        slot.value = text;
        return true;
    }
    case ValueFormat::kFillType: {
        FillTypeValue fill;
        if (!ParseFillType(value, &fill))
            return false;
        slot.value = value;
        return true;
    }
    case ValueFormat::kRaw:
        slot.value = value;
        return true;
    }
    return false;
}

void StyleEngine::PageSize(double* width, double* height) const
{
    *width = *height = 0;
    if (!m_model)
        return;
    const TemplateModel& model = *m_model;
    double w = model.width, h = model.height;
    if (model.sizing == TemplateModel::Sizing::kText) {
        double textW = 0, textH = 0;
        bool any = false;
        for (const TextItem& item : model.texts) {
            const TextLayout layout = LayoutText(*this, item);
            if (layout.lines.empty())
                continue;
            any = true;
            textW = std::max(textW, layout.width);
            textH = std::max(textH, layout.height);
        }
        if (any) {
            w = std::ceil(textW + model.padLeft + model.padRight);
            h = std::ceil(textH + 2 * model.padY);
        }
        w = std::max(w, model.minWidth);
        h = std::max(h, model.minHeight);
    }
    for (const Slot& slot : m_slots) {
        if (!IsConstraintSlot(slot))
            continue;
        long cw = 0, ch = 0;
        if (!ParseConstraint(slot.value, &cw, &ch))
            continue;
        if (cw > 0 && ConstraintAllows(slot, 'x'))
            w = static_cast<double>(cw) / kUnitsPerPixel;
        if (ch > 0 && ConstraintAllows(slot, 'y'))
            h = static_cast<double>(ch) / kUnitsPerPixel;
        break;
    }
    const double maxSide = TemplateModel::kMaxPageSide;
    *width = std::min(maxSide, std::max(1.0, std::round(w)));
    *height = std::min(maxSide, std::max(1.0, std::round(h)));
}

int StyleEngine::StateCount() const
{
    return m_model ? static_cast<int>(m_model->states.size()) : 0;
}

bool StyleEngine::SelectState(int state)
{
    if (!m_model || state < 1 || state > StateCount())
        return false;
    m_state = state;
    return true;
}

int StyleEngine::StateTime() const
{
    if (!m_model)
        return 0;
    return m_model->states[static_cast<size_t>(m_state - 1)].time;
}

int StyleEngine::FindObject(const std::string& name) const
{
    if (!m_model || name.empty())
        return 0;
    for (size_t i = 0; i < m_model->shapes.size(); ++i)
        if (EqualNoCase(m_model->shapes[i].id, name))
            return static_cast<int>(i) + 1;
    return 0;
}

bool StyleEngine::GetObjectBounds(int id, UnitRect* bounds) const
{
    if (!m_model || id < 1 || static_cast<size_t>(id) > m_model->shapes.size())
        return false;
    double w, h;
    PageSize(&w, &h);
    const Box box = ShapeBounds(*this, m_model->shapes[static_cast<size_t>(id - 1)], w, h);
    bounds->left = static_cast<std::int32_t>(std::lround(box.left * kUnitsPerPixel));
    bounds->top = static_cast<std::int32_t>(std::lround(box.top * kUnitsPerPixel));
    bounds->right = static_cast<std::int32_t>(std::lround(box.right * kUnitsPerPixel));
    bounds->bottom = static_cast<std::int32_t>(std::lround(box.bottom * kUnitsPerPixel));
    return true;
}

bool StyleEngine::Render(int width, int height, const UnitRect* clip, std::uint32_t* pixels) const
{
    if (!m_model || !pixels || width <= 0 || height <= 0 || width > kMaxRenderSide ||
        height > kMaxRenderSide)
        return false;
    if (clip && (clip->right <= clip->left || clip->bottom <= clip->top))
        return false;
    if (!m_scratch)
        m_scratch.reset(new DrawScratch);
    DrawTemplate(*this, *m_model, m_folder, m_state, width, height, clip, pixels, *m_scratch);
    return true;
}

}  // namespace stylekit
