// Glyph outlines from GDI's TrueType rasterizer, for text in vector documents on Windows.
#pragma once

#include "components/vector/VectorDocument.h"

namespace vector {

class GdiGlyphSource : public GlyphSource {
public:
    // Outlines are taken at this em size and scaled, so hinting never distorts them.
    static const int kEmSize = 512;
    bool Outline(const std::string& text, const Font& font, VectorPath& out, double* advance) override;
    // The one instance the library installs as its glyph source.
    static GdiGlyphSource& Instance();
};

}  // namespace vector
