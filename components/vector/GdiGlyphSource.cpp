#include "components/vector/GdiGlyphSource.h"

#include <windows.h>

#include <vector>

namespace vector {

namespace {

double FixedToDouble(FIXED f)
{
    return f.value + f.fract / 65536.0;
}

}  // namespace

GdiGlyphSource& GdiGlyphSource::Instance()
{
    static GdiGlyphSource instance;
    return instance;
}

bool GdiGlyphSource::Outline(const std::string& text, const Font& font, VectorPath& out,
                             double* advance)
{
    *advance = 0;
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wideLength <= 0)
        return false;
    std::vector<wchar_t> wide(wideLength);
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);

    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return false;
    HFONT hfont = CreateFontA(-kEmSize, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH, font.family.c_str());
    if (!hfont) {
        DeleteDC(dc);
        return false;
    }
    HGDIOBJ old = SelectObject(dc, hfont);
    const double scale = font.size / kEmSize;
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    double pen = 0;
    std::vector<char> buffer;
    for (wchar_t ch : wide) {
        GLYPHMETRICS metrics;
        const DWORD size = GetGlyphOutlineW(dc, ch, GGO_BEZIER, &metrics, 0, nullptr, &identity);
        if (size == GDI_ERROR)
            continue;
        if (size > 0) {
            buffer.assign(size, 0);
            if (GetGlyphOutlineW(dc, ch, GGO_BEZIER, &metrics, size, buffer.data(), &identity) == GDI_ERROR)
                continue;
            auto point = [&](const POINTFX& p) {
                return PointF{pen + FixedToDouble(p.x) * scale, -FixedToDouble(p.y) * scale};
            };
            const char* p = buffer.data();
            const char* end = p + size;
            while (p + sizeof(TTPOLYGONHEADER) <= end) {
                const TTPOLYGONHEADER* header = reinterpret_cast<const TTPOLYGONHEADER*>(p);
                if (header->cb < sizeof(TTPOLYGONHEADER) || p + header->cb > end)
                    break;  // a malformed outline from the font: stop this glyph
                const char* contourEnd = p + header->cb;
                out.MoveTo(point(header->pfxStart));
                const char* q = p + sizeof(TTPOLYGONHEADER);
                while (q + sizeof(WORD) * 2 <= contourEnd) {
                    const TTPOLYCURVE* curve = reinterpret_cast<const TTPOLYCURVE*>(q);
                    const size_t bytes = sizeof(WORD) * 2 + sizeof(POINTFX) * curve->cpfx;
                    if (q + bytes > contourEnd)
                        break;
                    if (curve->wType == TT_PRIM_CSPLINE) {
                        for (unsigned i = 0; i + 2 < curve->cpfx; i += 3)
                            out.CubicTo(point(curve->apfx[i]), point(curve->apfx[i + 1]), point(curve->apfx[i + 2]));
                    } else {
                        for (WORD i = 0; i < curve->cpfx; ++i)
                            out.LineTo(point(curve->apfx[i]));
                    }
                    q += bytes;
                }
                out.Close();
                p = contourEnd;
            }
        }
        pen += metrics.gmCellIncX * scale;
    }
    SelectObject(dc, old);
    DeleteObject(hfont);
    DeleteDC(dc);
    *advance = pen;
    return true;
}

}  // namespace vector
