#include "components/vector/FreeTypeGlyphSource.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <fontconfig/fontconfig.h>

namespace vector {

namespace {

// The next code point of UTF-8 text; a byte that starts no valid sequence stands for itself.
unsigned long NextCodePoint(const std::string& text, size_t& at)
{
    const unsigned char lead = static_cast<unsigned char>(text[at++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || at + extra > text.size())
        return lead;
    unsigned long code = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at]);
        if ((next & 0xC0) != 0x80)
            return lead;
        code = (code << 6) | (next & 0x3F);
        ++at;
    }
    return code;
}

// Builds the outline of one glyph at a pen position, y downwards, scaled from 26.6 units.
struct Decomposer {
    VectorPath* out;
    double pen, scale;
    bool open = false;
    PointF Map(const FT_Vector* v) const { return {pen + v->x / 64.0 * scale, -v->y / 64.0 * scale}; }
    static Decomposer* Of(void* user) { return static_cast<Decomposer*>(user); }
    static int MoveTo(const FT_Vector* to, void* user)
    {
        Decomposer* d = Of(user);
        if (d->open)
            d->out->Close();
        d->out->MoveTo(d->Map(to));
        d->open = true;
        return 0;
    }
    static int LineTo(const FT_Vector* to, void* user)
    {
        Of(user)->out->LineTo(Of(user)->Map(to));
        return 0;
    }
    static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
    {
        Of(user)->out->QuadTo(Of(user)->Map(control), Of(user)->Map(to));
        return 0;
    }
    static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
    {
        Of(user)->out->CubicTo(Of(user)->Map(c1), Of(user)->Map(c2), Of(user)->Map(to));
        return 0;
    }
};

}  // namespace

FreeTypeGlyphSource& FreeTypeGlyphSource::Instance()
{
    static FreeTypeGlyphSource instance;
    return instance;
}

FreeTypeGlyphSource::~FreeTypeGlyphSource()
{
    for (auto& entry : m_faces)
        if (entry.second)
            FT_Done_Face(static_cast<FT_Face>(entry.second));
    if (m_library)
        FT_Done_FreeType(static_cast<FT_Library>(m_library));
    // The one instance goes at exit: fontconfig's configuration, made by the first face
    // looked up, goes with it.
    if (!m_faces.empty())
        FcFini();
}

void* FreeTypeGlyphSource::Face(const Font& font)
{
    const std::string key = font.family + (font.bold ? "|b" : "|") + (font.italic ? "i" : "");
    auto found = m_faces.find(key);
    if (found != m_faces.end())
        return found->second;
    void* face = nullptr;
    if (!m_library) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) == 0)
            m_library = library;
    }
    FcPattern* pattern = FcPatternCreate();
    if (m_library && pattern) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcChar8* file = nullptr;
        int index = 0;
        if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            FT_Face opened = nullptr;
            if (FT_New_Face(static_cast<FT_Library>(m_library), reinterpret_cast<const char*>(file), index, &opened) == 0) {
                if (FT_Set_Pixel_Sizes(opened, 0, kEmSize) == 0)
                    face = opened;
                else
                    FT_Done_Face(opened);
            }
        }
        if (match)
            FcPatternDestroy(match);
    }
    if (pattern)
        FcPatternDestroy(pattern);
    m_faces[key] = face;
    return face;
}

bool FreeTypeGlyphSource::Outline(const std::string& text, const Font& font, VectorPath& out, double* advance)
{
    *advance = 0;
    FT_Face face = static_cast<FT_Face>(Face(font));
    if (!face)
        return false;
    FT_Outline_Funcs funcs = {};
    funcs.move_to = &Decomposer::MoveTo;
    funcs.line_to = &Decomposer::LineTo;
    funcs.conic_to = &Decomposer::ConicTo;
    funcs.cubic_to = &Decomposer::CubicTo;
    Decomposer decomposer{&out, 0, font.size / kEmSize};
    for (size_t at = 0; at < text.size();) {
        const FT_UInt glyph = FT_Get_Char_Index(face, NextCodePoint(text, at));
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            continue;
        if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            decomposer.open = false;
            FT_Outline_Decompose(&face->glyph->outline, &funcs, &decomposer);
            if (decomposer.open)
                out.Close();
        }
        decomposer.pen += face->glyph->advance.x / 64.0 * decomposer.scale;
    }
    *advance = decomposer.pen;
    return true;
}

}  // namespace vector
