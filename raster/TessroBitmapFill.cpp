// Bitmap fill setters: the source checked and described for the texel readers (format code,
// row size, translated palette or channel tables), the anchor mapping with the source's extents
// and the routine indices the span selection reads.
#include "raster/TessroBitmapApi.h"
#include "raster/TessroBitmapSpans.h"
#include "raster/TessroDrawInternal.h"
#include "raster/TessroPathApi.h"

namespace {

const DWORD kSubtractiveCompression = 0x80000000u;
const DWORD kMaxSourceRows = 65536;
const DWORD kLastTransparencyType = 36;
const DWORD kLastTileStyle = 3;
const DWORD kOwnTransparency = 1u << 30;
const DWORD kMaskedPixels = 1u << 31;
const DWORD kThreePointFirstIndex = 296;
const DWORD kRowAffineFirstIndex = 374;
const DWORD kPerspectiveFirstIndex = 452;
const DWORD kSmoothedOffset = 234;
const DWORD kFilteredOffset = 312;
const DWORD kIndicesPerTile = 13;
const DWORD kDirectOffset = 5;  // 16, 24 and 32 bpp without tables
const std::int32_t kAmountLimit = 1024;

struct Checked {
    DWORD code;
    DWORD tile;
};

// Source header and style: code 1 for a source the readers cannot walk, 6 for a bad
// transparency, 5 for a bad tile style. A source without columns or rows has no texel to read,
// and a palette source without a palette has no colours: both are refused rather than read.
Checked CheckSource(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD style,
                    const RGBQUAD* palette) {
    context->fillStyle = kTessroFillNone;
    if (header == nullptr || bits == nullptr || header->biPlanes != 1) TessroFail(TESSRO_ERROR_BAD_BITMAP);
    const WORD depth = header->biBitCount;
    const bool subtractive = header->biCompression == kSubtractiveCompression;
    if (subtractive && depth != 32) TessroFail(TESSRO_ERROR_BAD_BITMAP);
    if (static_cast<DWORD>(header->biHeight) >= kMaxSourceRows || header->biHeight < 1 || header->biWidth < 1) {
        TessroFail(TESSRO_ERROR_BAD_BITMAP);
    }
    DWORD code;
    switch (depth) {
        case 1: code = 0; break;
        case 4: code = 1; break;
        case 8: code = 2; break;
        case 16: code = 3; break;
        case 24: code = 4; break;
        case 32: code = subtractive ? 6 : 5; break;
        default: TessroFail(TESSRO_ERROR_BAD_BITMAP);
    }
    if (code <= 2 && palette == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    DWORD type = (style >> 8) & 0xFF;
    const DWORD flags = type & 0xC0;
    type &= 0x3F;
    if (type > kLastTransparencyType || flags == 0xC0) TessroFail(TESSRO_ERROR_BAD_TRANSPARENCY_STYLE);
    DWORD word = type;
    // The variants read the source's fourth byte or palette reserved byte: only for the
    // sources that have one to give.
    if (code <= 2 || code == 5) {
        if (flags & 0x40) word |= kOwnTransparency;
        if (flags & 0x80) word |= kMaskedPixels;
    }
    context->transparencyType = word;
    TessroDrawState& draw = context->draw;
    draw.transparencyAmount = (style >> 16) & 0xFF;
    const DWORD options = style >> 24;
    draw.separationSelector = static_cast<BYTE>(options & 3);
    draw.separationOn = (options & 4) ? 1 : 0;
    draw.colourMapOn = ((options & 0x18) != 0 && context->colourMap != nullptr) ? 1 : 0;
    draw.colourMapSelector = (options & 8) ? 0 : 1;
    const DWORD tile = style & 0xFF;
    if (tile > kLastTileStyle) TessroFail(TESSRO_ERROR_BAD_TILE_STYLE);
    return {code, tile};
}

// Rows, colours and tables of the source.
void StoreSource(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD code,
                 DWORD tile, DWORD outsideColour, const RGBQUAD* palette, const BYTE* const tables[4]) {
    TessroBitmapSource& b = context->draw.bitmap;
    const std::int64_t width = header->biWidth;
    const WORD depth = header->biBitCount;
    b.bits = static_cast<const BYTE*>(bits);
    b.rowSize = static_cast<std::int32_t>(depth == 24 ? (3 * width + 3) & ~3ll : ((width * depth + 31) & ~31ll) / 8);
    b.width = header->biWidth;
    b.height = header->biHeight;
    b.tileStyle = tile;
    b.outside = ((outsideColour & 0xFF) << 16) | (outsideColour & 0xFF00) | ((outsideColour >> 16) & 0xFF);
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 256; ++i) b.tables[t][i] = tables[t] != nullptr ? tables[t][i] : static_cast<BYTE>(i);
    }
    if (code <= 2) {
        // Tables in the order red, green, blue, fourth.
        const int entries = 1 << depth;
        for (int i = 0; i < entries; ++i) {
            const RGBQUAD& q = palette[i];
            b.palette[i] = static_cast<DWORD>(b.tables[2][q.rgbBlue]) | (static_cast<DWORD>(b.tables[1][q.rgbGreen]) << 8) |
                           (static_cast<DWORD>(b.tables[0][q.rgbRed]) << 16) |
                           (static_cast<DWORD>(b.tables[3][q.rgbReserved]) << 24);
        }
    } else if (tables[0] == nullptr && tables[1] == nullptr && tables[2] == nullptr && tables[3] == nullptr) {
        code += kDirectOffset;
    }
    b.code = code;
}

// Repeating tiles step each coordinate by its equivalent within half a period either way, so
// one wrap per pixel is all a step can need. Repeat has the size as its period, mirror twice
// the size (a step changed by the size alone would flip the mirrored column).
std::int64_t ReduceStep(std::int64_t step, std::int32_t size, DWORD tile) {
    const std::int64_t period = static_cast<std::int64_t>(size) << (tile == 3 ? 33 : 32);
    std::int64_t r = step % period;
    if (r < -period / 2) r += period;
    if (r >= period / 2) r -= period;
    return r;
}

// An 8-bit mask: the same limits as a fill's source; the rows, the translation table (null:
// the identity) and the outside transparency for the mask loops.
void StoreMask(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD tileStyle,
               DWORD outsideValue, const BYTE* table) {
    if (header == nullptr || bits == nullptr || header->biPlanes != 1 || header->biBitCount != 8 ||
        header->biCompression == kSubtractiveCompression || header->biWidth < 1 || header->biHeight < 1 ||
        static_cast<DWORD>(header->biHeight) >= kMaxSourceRows) {
        TessroFail(TESSRO_ERROR_BAD_BITMAP);
    }
    if (tileStyle > kLastTileStyle) TessroFail(TESSRO_ERROR_BAD_TILE_STYLE);
    TessroBitmapSource& m = context->draw.mask;
    m.bits = static_cast<const BYTE*>(bits);
    m.rowSize = static_cast<std::int32_t>((static_cast<std::int64_t>(header->biWidth) + 3) & ~3ll);
    m.width = header->biWidth;
    m.height = header->biHeight;
    m.tileStyle = tileStyle;
    m.outside = (outsideValue & 0xFF) << 24;
    m.code = 16;
    for (int i = 0; i < 256; ++i) m.tables[3][i] = table != nullptr ? table[i] : static_cast<BYTE>(i);
}

// The path of a plotted bitmap: the parallelogram or quadrilateral of its anchors.
int PlotPath(TessroContext* context, const TessroPoint (&corners)[4]) {
    static const unsigned char kVerbs[4] = {0x06, 0x02, 0x02, 0x03};
    return TessroFillPath(context, corners, kVerbs, 4, TESSRO_RULE_EVEN_ODD);
}

int ClampAmount(std::int64_t n) {
    return static_cast<int>(n < -kAmountLimit ? -kAmountLimit : n > kAmountLimit ? kAmountLimit : n);
}

}  // namespace

void TessroReduceSourceSteps(const TessroBitmapSource& b, std::int64_t* stepU, std::int64_t* stepV) {
    *stepU = ReduceStep(*stepU, b.width, b.tileStyle);
    *stepV = ReduceStep(*stepV, b.height, b.tileStyle);
}

void TessroReduceBitmapSteps(TessroContext* context, std::int64_t* stepU, std::int64_t* stepV) {
    TessroReduceSourceSteps(context->draw.bitmap, stepU, stepV);
}

int TessroSetBitmapFill(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD style,
                        const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2, DWORD outsideColour,
                        const RGBQUAD* palette, const BYTE* redTable, const BYTE* greenTable,
                        const BYTE* blueTable, const BYTE* fourthTable, int) {
    return TessroEntry(context, [&] {
        const Checked c = CheckSource(context, header, bits, style, palette);
        if (p0 == nullptr || p1 == nullptr || p2 == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        TessroDrawState& draw = context->draw;
        TessroFillGeometry& g = draw.colour;
        if (!TessroThreePointSetup(context, &g, *p0, *p1, *p2, header->biWidth, header->biHeight)) {
            return TessroSetTransparentColour(context, outsideColour, 0);
        }
        const BYTE* tables[4] = {redTable, greenTable, blueTable, fourthTable};
        StoreSource(context, header, bits, c.code, c.tile, outsideColour, palette, tables);
        if (c.tile >= 2) {
            TessroReduceBitmapSteps(context, &g.stepUx, &g.stepVx);
            TessroReduceBitmapSteps(context, &g.stepUy, &g.stepVy);
        }
        draw.fillIndex = kThreePointFirstIndex + kIndicesPerTile * c.tile + draw.bitmap.code;
        draw.rowDriver = 19;
        if (draw.bitmapFiltering) {
            draw.fillIndex += kFilteredOffset;
            draw.rowDriver = 23;
        } else if (draw.bitmapSmoothing) {
            draw.fillIndex += kSmoothedOffset;
            draw.rowDriver = 22;
        }
        context->fillStyle = kTessroFillPrepared;
        return 0;
    });
}

int TessroSetPerspectiveBitmapFill(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits,
                                   DWORD style, const TessroPoint* p0, const TessroPoint* p1,
                                   const TessroPoint* p2, const TessroPoint* p3, DWORD outsideColour,
                                   const RGBQUAD* palette, const BYTE* redTable, const BYTE* greenTable,
                                   const BYTE* blueTable, const BYTE* fourthTable, int) {
    return TessroEntry(context, [&] {
        const Checked c = CheckSource(context, header, bits, style, palette);
        if (p0 == nullptr || p1 == nullptr || p2 == nullptr || p3 == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        TessroDrawState& draw = context->draw;
        TessroFourPointSetup(context, &draw.colour, *p0, *p1, *p2, *p3, header->biWidth, header->biHeight);
        const BYTE* tables[4] = {redTable, greenTable, blueTable, fourthTable};
        StoreSource(context, header, bits, c.code, c.tile, outsideColour, palette, tables);
        const DWORD rowAffine = draw.colour.rowAffine;
        draw.fillIndex = (rowAffine ? kRowAffineFirstIndex : kPerspectiveFirstIndex) + kIndicesPerTile * c.tile +
                         draw.bitmap.code;
        draw.rowDriver = 21 - rowAffine;
        context->fillStyle = kTessroFillPrepared;
        return 0;
    });
}

int TessroSetBitmapFillSmoothing(TessroContext* context, int on) {
    return TessroEntry(context, [&] {
        context->draw.bitmapSmoothing = on != 0 ? 1 : 0;
        return 0;
    });
}

int TessroSetBitmapFillFiltering(TessroContext* context, int on) {
    return TessroEntry(context, [&] {
        context->draw.bitmapFiltering = on != 0 ? 1 : 0;
        return 0;
    });
}

int TessroSetBitmapFillAmount(TessroContext* context, int n) {
    return TessroEntry(context, [&] {
        context->draw.bitmapAmount = ClampAmount(n);
        return 0;
    });
}

int TessroSetBitmapFillNegatedAmount(TessroContext* context, int n) {
    return TessroEntry(context, [&] {
        context->draw.bitmapAmount = ClampAmount(-static_cast<std::int64_t>(n));
        return 0;
    });
}

int TessroSetBitmapMask(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD tileStyle,
                        const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2, DWORD outsideValue,
                        const BYTE* table, int) {
    return TessroEntry(context, [&] {
        TessroDrawState& draw = context->draw;
        draw.transparencySource = 0;
        StoreMask(context, header, bits, tileStyle, outsideValue, table);
        if (p0 == nullptr || p1 == nullptr || p2 == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        TessroFillGeometry& g = draw.transparency;
        if (!TessroThreePointSetup(context, &g, *p0, *p1, *p2, header->biWidth, header->biHeight)) {
            // Nothing to map: the whole fill takes the outside transparency.
            draw.transparencyAmount = outsideValue & 0xFF;
            return 0;
        }
        if (tileStyle >= 2) {
            TessroReduceSourceSteps(draw.mask, &g.stepUx, &g.stepVx);
            TessroReduceSourceSteps(draw.mask, &g.stepUy, &g.stepVy);
        }
        DWORD generator = kTessroMaskThreePoint;
        if (draw.bitmapFiltering) {
            generator = kTessroMaskFiltered;
        } else if (draw.bitmapSmoothing) {
            generator = kTessroMaskSmoothed;
        }
        draw.transparencySource = static_cast<std::int32_t>(generator) + 1;
        return 0;
    });
}

int TessroSetPerspectiveBitmapMask(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits,
                                   DWORD tileStyle, const TessroPoint* p0, const TessroPoint* p1,
                                   const TessroPoint* p2, const TessroPoint* p3, DWORD outsideValue,
                                   const BYTE* table, int) {
    return TessroEntry(context, [&] {
        TessroDrawState& draw = context->draw;
        draw.transparencySource = 0;
        StoreMask(context, header, bits, tileStyle, outsideValue, table);
        if (p0 == nullptr || p1 == nullptr || p2 == nullptr || p3 == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        TessroFourPointSetup(context, &draw.transparency, *p0, *p1, *p2, *p3, header->biWidth, header->biHeight);
        const DWORD generator = kTessroMaskPerspective + draw.transparency.rowAffine;
        draw.transparencySource = static_cast<std::int32_t>(generator) + 1;
        return 0;
    });
}

int TessroPlotBitmap(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits, DWORD transparency,
                     const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2, const RGBQUAD* palette,
                     const BYTE* redTable, const BYTE* greenTable, const BYTE* blueTable, const BYTE* fourthTable) {
    const int set = TessroSetBitmapFill(context, header, bits, transparency << 8, p0, p1, p2, 0, palette, redTable,
                                        greenTable, blueTable, fourthTable, 0);
    if (set != 0) return set;
    const TessroPoint corners[4] = {*p0, *p1, {p1->x + p2->x - p0->x, p1->y + p2->y - p0->y}, *p2};
    return PlotPath(context, corners);
}

int TessroPlotPerspectiveBitmap(TessroContext* context, const BITMAPINFOHEADER* header, const void* bits,
                                DWORD transparency, const TessroPoint* p0, const TessroPoint* p1,
                                const TessroPoint* p2, const TessroPoint* p3, const RGBQUAD* palette,
                                const BYTE* redTable, const BYTE* greenTable, const BYTE* blueTable,
                                const BYTE* fourthTable) {
    const int set = TessroSetPerspectiveBitmapFill(context, header, bits, transparency << 8, p0, p1, p2, p3, 0,
                                                   palette, redTable, greenTable, blueTable, fourthTable, 0);
    if (set != 0) return set;
    const TessroPoint corners[4] = {*p0, *p1, *p2, *p3};
    return PlotPath(context, corners);
}
