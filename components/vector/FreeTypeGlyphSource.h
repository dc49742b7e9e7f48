// Glyph outlines from FreeType, faces found through fontconfig: the outline source of the host
// build, where GDI is not at hand. Built only when both libraries are installed
// (BW_HAVE_FREETYPE); the library does not install it by itself, so that measurements of text
// without a source stay as they were; tests that draw text install it with SetGlyphSource.
#pragma once

#include <map>
#include <string>

#include "components/vector/VectorDocument.h"

namespace vector {

class FreeTypeGlyphSource : public GlyphSource {
public:
    // Outlines are taken unhinted at this em size (pixels) and scaled.
    static const int kEmSize = 512;
    ~FreeTypeGlyphSource() override;
    bool Outline(const std::string& text, const Font& font, VectorPath& out, double* advance) override;
    static FreeTypeGlyphSource& Instance();

private:
    FreeTypeGlyphSource() = default;
    // The face for a family and style (opened once); null when fontconfig finds no file.
    void* Face(const Font& font);

    void* m_library = nullptr;               // FT_Library
    std::map<std::string, void*> m_faces;    // FT_Face by family, bold and italic
};

}  // namespace vector
