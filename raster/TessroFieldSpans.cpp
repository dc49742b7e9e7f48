// Four-colour field spans: bilinear blend of four corner colours over a 256 x 256 cell, clamped
// or mirrored beyond it, through the three-point, row-affine or perspective mapping. Every
// routine writes 32-bit pixels (blue, green, red, 0); a converter follows on other targets.
#include <cstring>

#include "raster/TessroDrawInternal.h"
#include "raster/TessroGraduationSpans.h"
#include "raster/TessroTransparencyGenerators.h"

namespace {

const double kNegligible = 1e-8;

// Perspective: the per-row numerators and denominator live in the per-row fields.
void BeginPerspective(TessroContext* context) {
    TessroStartPerspectiveUV(context->draw, context->draw.colour);
    TessroDefaultBegin(context);
}

void RowEndPerspective(TessroContext* context) {
    TessroNextRowPerspectiveUV(context->draw.colour);
    TessroDefaultRowEnd(context);
}

// ---- The blend ----

template <bool Mirror>
std::int32_t Fold(std::int32_t c) {
    if (Mirror) {
        const std::int32_t m = c & 511;
        return m >= 256 ? 511 - m : m;
    }
    return c < 0 ? 0 : c > 255 ? 255 : c;
}

int Channel(DWORD colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// Per fill: the edge colours of every column and the product rows, so that a pixel costs
// three edge reads and three products.
void PrepareField(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const DWORD* c = draw.fieldColours;
    // Colours are 0x00BBGGRR; pixel byte k is blue, green, red.
    static const int kSource[3] = {16, 8, 0};
    for (int k = 0; k < 3; ++k) {
        const int s = kSource[k];
        const int a0 = Channel(c[0], s), a1 = Channel(c[1], s), a2 = Channel(c[2], s), a3 = Channel(c[3], s);
        for (int x = 0; x < 256; ++x) {
            draw.fieldTop[k][x] = static_cast<std::int16_t>(a0 + TessroProduct(x, a1 - a0));
            draw.fieldBottom[k][x] = static_cast<std::int16_t>(a3 + TessroProduct(x, a2 - a3));
        }
    }
    for (int y = 0; y < 256; ++y) draw.productRows[y] = TessroProductRow(y) + 255;
}

DWORD Blend(const TessroDrawState& draw, std::int32_t x, std::int32_t y) {
    const std::int16_t* product = draw.productRows[y];
    DWORD pixel = 0;
    for (int k = 0; k < 3; ++k) {
        const int top = draw.fieldTop[k][x];
        const int value = top - product[top - draw.fieldBottom[k][x]];
        pixel |= static_cast<DWORD>(value) << (8 * k);
    }
    return pixel;
}

// The colour field writes whole pixels from the prepared edges; a transparency field blends
// its four values directly and writes the fourth byte of the row-buffer word.
struct ColourSide {
    static const TessroFillGeometry& Geometry(const TessroDrawState& d) { return d.colour; }
    static void Put(const TessroDrawState& draw, BYTE* row, std::int32_t x, std::int32_t u, std::int32_t v) {
        const DWORD pixel = Blend(draw, u, v);
        std::memcpy(row + 4 * x, &pixel, sizeof(pixel));
    }
};
template <bool Or>
struct TransparencySide {
    static const TessroFillGeometry& Geometry(const TessroDrawState& d) { return d.transparency; }
    static void Put(const TessroDrawState& draw, BYTE* row, std::int32_t x, std::int32_t u, std::int32_t v) {
        const BYTE* t = draw.transparencyValues;
        const int top = t[0] + TessroProduct(u, t[1] - t[0]);
        const int bottom = t[3] + TessroProduct(u, t[2] - t[3]);
        TessroPutTransparency<Or>(row, x, static_cast<BYTE>(top - TessroProduct(v, top - bottom)));
    }
};

template <bool Mirror, class Side = ColourSide>
void SteppingSpan(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + g.halfPixel - g.rowOriginX);
    std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    for (std::int32_t x = x0; x < x1; ++x) {
        Side::Put(draw, row, x, Fold<Mirror>(TessroHigh32(u)), Fold<Mirror>(TessroHigh32(v)));
        u = TessroAdd64(u, g.rowStepU);
        v = TessroAdd64(v, g.rowStepV);
    }
}

template <bool Mirror, class Side = ColourSide>
void DivisionSpan(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const TessroFillGeometry& g = Side::Geometry(draw);
    double w = g.runDen + x0;
    const bool alongU = std::fabs(g.runU) > kNegligible;
    const double k = alongU ? g.runV / g.runU : 0.0;
    const double m = alongU ? g.vX - g.uX * k : 0.0;
    for (std::int32_t x = x0; x < x1; ++x) {
        double u, v;
        if (alongU) {
            u = g.runU / w + g.uX;
            v = u * k + m;
        } else {
            u = g.uX;
            v = g.runV / w + g.vX;
        }
        Side::Put(draw, row, x, Fold<Mirror>(TessroNearest32(u)), Fold<Mirror>(TessroNearest32(v)));
        w += 1.0;
    }
}

template <bool Mirror, bool Or, bool Full>
TessroSpanFunc TransparencyLoop(bool division) {
    return division ? TessroGenerator<DivisionSpan<Mirror, TransparencySide<Or>>, Full>
                    : TessroGenerator<SteppingSpan<Mirror, TransparencySide<Or>>, Full>;
}

template <bool Or, bool Full>
struct TransparencyLoops {
    static TessroSpanFunc Get(bool mirror, bool division) {
        return mirror ? TransparencyLoop<true, Or, Full>(division) : TransparencyLoop<false, Or, Full>(division);
    }
};

}  // namespace

TessroSpanFunc TessroFourValueTransparency(DWORD kind, bool perspective, bool full, bool orIng) {
    return TessroPickGenerator<TransparencyLoops>(full, orIng, kind >= 2, perspective);
}

// ---- Row drivers shared by the fills mapped through three or four points ----

void TessroBeginThreePointUV(TessroContext* context) {
    TessroStartThreePointUV(context->draw, context->draw.colour);
    TessroDefaultBegin(context);
}

void TessroRowEndThreePointUV(TessroContext* context) {
    TessroNextRowThreePointUV(context->draw.colour);
    TessroDefaultRowEnd(context);
}

// Row-affine: the forms measure from column 0.
void TessroBeginRowAffineUV(TessroContext* context) {
    context->draw.colour.rowOriginX = 0;
    TessroDefaultBegin(context);
}

void TessroRowStartRowAffineUV(TessroContext* context) {
    TessroStartRowAffineUV(context->draw, context->draw.colour);
}

const TessroRowDriver kTessroThreePointDriver = {TessroBeginThreePointUV, TessroNoRow, TessroRowEndThreePointUV};
const TessroRowDriver kTessroRowAffineDriver = {TessroBeginRowAffineUV, TessroRowStartRowAffineUV,
                                                TessroDefaultRowEnd};
const TessroRowDriver kTessroPerspectiveDriver = {BeginPerspective, TessroNoRow, RowEndPerspective};

TessroFillIndexEntry TessroFourColourFillEntry(DWORD index) {
    // 695/696 three-point, 697/698 row-affine, 699/700 perspective; odd clamps, even mirrors.
    const bool mirror = (index & 1) == 0;
    const bool division = index >= 699;
    TessroSpanFunc span;
    if (division) {
        span = mirror ? DivisionSpan<true> : DivisionSpan<false>;
    } else {
        span = mirror ? SteppingSpan<true> : SteppingSpan<false>;
    }
    return {span, PrepareField, kTessroFillToRowBuffer, TESSRO_ERROR_NONE};
}
