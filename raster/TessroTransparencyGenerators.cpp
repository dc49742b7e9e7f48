// Linear transparency generators (indices 0..11: mapping + 3 x long + 6 x repeat, mapping 0
// three-point, 1 perspective, 2 row-affine). Positions are 32.32 values whose high half indexes
// the caller's transparency table, as in the linear colour spans.
#include "raster/TessroTransparencyGenerators.h"

namespace {

const std::int32_t kLinearGenerators = 12;
const DWORD kMaskedPixels = 1u << 31;
const DWORD kOwnTransparency = 1u << 30;
const double kFineScale = 4194304.0;  // 2^22
const double kFinePerPixel = 1024.0;

// ---- Drivers: the transparency's own work, then the colour fill's ----

void BeginThreePoint(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroFillGeometry& g = draw.transparency;
    const std::int64_t ex = static_cast<std::int64_t>(draw.bounds[0]) * 1024 + g.halfPixel - g.originX;
    const std::int64_t ey = static_cast<std::int64_t>(draw.bounds[1]) * 1024 + g.halfPixel - g.originY;
    g.rowV = TessroNearest64(static_cast<double>(ex) * g.dvdx + static_cast<double>(ey) * g.dvdy);
    g.rowGradientV = g.dvdx;
    g.rowStepV = g.stepVx;
    g.rowBaseColumn = draw.bounds[0];
    draw.savedBegin(context);
}

void RowEndThreePoint(TessroContext* context) {
    TessroFillGeometry& g = context->draw.transparency;
    g.rowV = TessroAdd64(g.rowV, g.stepVy);
    context->draw.savedRowEnd(context);
}

void RowStartRowAffine(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroFillGeometry& g = draw.transparency;
    const double y = draw.row;
    const double s = kFineScale / (g.denY * y + g.den0);
    g.rowGradientV = s * g.vX;
    g.rowStepV = TessroNearest64(s * g.vX * kFinePerPixel);
    g.rowV = TessroNearest64(s * kFinePerPixel * (g.vY * y + g.v0));
    g.rowBaseColumn = 0;
    draw.savedRowStart(context);
}

void BeginPerspective(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroFillGeometry& g = draw.transparency;
    const double top = draw.bounds[1];
    g.runDen = g.denY * top + g.den0;
    g.runV = g.vY * top + g.v0;
    draw.savedBegin(context);
}

void RowEndPerspective(TessroContext* context) {
    TessroFillGeometry& g = context->draw.transparency;
    g.runV += g.vY;
    g.runDen += g.denY;
    context->draw.savedRowEnd(context);
}

// ---- Generators ----

template <bool Long, bool Repeat>
std::int32_t Index(std::int32_t i) {
    const std::int32_t length = Long ? 2048 : 256;
    if (Repeat) return i & (length - 1);
    return i < 0 ? 0 : i >= length ? length - 1 : i;
}

// OR-ing keeps a masked pixel's top bit whatever the table holds.
template <bool Or>
inline void Put(BYTE* row, std::int32_t x, BYTE value) {
    BYTE& b = row[4 * x + 3];
    b = Or ? static_cast<BYTE>(b | value) : value;
}

template <bool Full, bool Or, bool Long, bool Repeat>
void Stepping(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    if (Full) draw.sourceSpan(context, row, y, x0, x1);
    const TessroFillGeometry& g = draw.transparency;
    const BYTE* table = draw.transparencyTable;
    const double offset = static_cast<double>(static_cast<std::int64_t>(x0 - g.rowBaseColumn) * 1024);
    std::int64_t p = TessroAdd64(g.rowV, TessroNearest64(offset * g.rowGradientV));
    for (std::int32_t x = x0; x < x1; ++x) {
        Put<Or>(row, x, table[Index<Long, Repeat>(TessroHigh32(p))]);
        p = TessroAdd64(p, g.rowStepV);
    }
}

template <bool Full, bool Or, bool Long, bool Repeat>
void Division(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    if (Full) draw.sourceSpan(context, row, y, x0, x1);
    const TessroFillGeometry& g = draw.transparency;
    const BYTE* table = draw.transparencyTable;
    double d = g.runDen + x0;
    for (std::int32_t x = x0; x < x1; ++x) {
        Put<Or>(row, x, table[Index<Long, Repeat>(TessroNearest32(g.vX + g.runV / d))]);
        d += 1.0;
    }
}

template <bool Full, bool Or, bool Long, bool Repeat>
TessroSpanFunc Pick(bool division) {
    return division ? Division<Full, Or, Long, Repeat> : Stepping<Full, Or, Long, Repeat>;
}

template <bool Full, bool Or>
TessroSpanFunc Pick(bool division, bool isLong, bool repeat) {
    if (isLong) return repeat ? Pick<Full, Or, true, true>(division) : Pick<Full, Or, true, false>(division);
    return repeat ? Pick<Full, Or, false, true>(division) : Pick<Full, Or, false, false>(division);
}

}  // namespace

bool TessroHasTransparencyGenerator(const TessroContext* context) {
    const std::int32_t index = context->draw.transparencySource - 1;
    return index >= 0 && index < kLinearGenerators && context->draw.transparencyTable != nullptr;
}

TessroSpanFunc TessroSetUpTransparencyGenerator(TessroContext* context, TessroSpanFunc colour) {
    TessroDrawState& draw = context->draw;
    if (!TessroHasTransparencyGenerator(context)) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
    const std::int32_t index = draw.transparencySource - 1;
    const int mapping = index % 3;
    const bool isLong = (index / 3) % 2 == 1, repeat = index >= 6;
    draw.savedBegin = draw.begin;
    draw.savedRowStart = draw.rowStart;
    draw.savedRowEnd = draw.rowEnd;
    draw.sourceSpan = colour;
    switch (mapping) {
        case 0:
            draw.begin = BeginThreePoint;
            draw.rowEnd = RowEndThreePoint;
            break;
        case 1:
            draw.begin = BeginPerspective;
            draw.rowEnd = RowEndPerspective;
            break;
        default: draw.rowStart = RowStartRowAffine; break;
    }
    const DWORD word = context->transparencyType;
    const bool full = colour != nullptr && (word & kOwnTransparency) == 0;
    const bool orIng = (word & kMaskedPixels) != 0;
    const bool division = mapping == 1;
    if (full) return orIng ? Pick<true, true>(division, isLong, repeat) : Pick<true, false>(division, isLong, repeat);
    return orIng ? Pick<false, true>(division, isLong, repeat) : Pick<false, false>(division, isLong, repeat);
}
