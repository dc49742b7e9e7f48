// Linear and square transparency generators (indices 0..11 and 24..35: mapping + 3 x long +
// 6 x repeat from the family's first index, mapping 0 three-point, 1 perspective, 2 row-affine).
// Positions are 32.32 values whose high half indexes the caller's transparency table, as in the
// colour spans of the same graduations.
#include "raster/TessroTransparencyGenerators.h"

#include "raster/TessroBitmapSpans.h"
#include "raster/TessroGraduationSpans.h"

#include <cmath>

namespace {

const std::int32_t kLinearGenerators = 12;
const DWORD kMaskedPixels = 1u << 31;
const DWORD kOwnTransparency = 1u << 30;

// ---- Drivers: the transparency's own work, then the colour fill's ----

void BeginThreePoint(TessroContext* context) {
    TessroStartThreePointV(context->draw, context->draw.transparency);
    context->draw.savedBegin(context);
}

void RowEndThreePoint(TessroContext* context) {
    TessroNextRowThreePointV(context->draw.transparency);
    context->draw.savedRowEnd(context);
}

void RowStartRowAffine(TessroContext* context) {
    TessroStartRowAffineV(context->draw, context->draw.transparency);
    context->draw.savedRowStart(context);
}

void BeginPerspective(TessroContext* context) {
    TessroStartPerspectiveV(context->draw, context->draw.transparency);
    context->draw.savedBegin(context);
}

void RowEndPerspective(TessroContext* context) {
    TessroNextRowPerspectiveV(context->draw.transparency);
    context->draw.savedRowEnd(context);
}

// ---- Generators ----

template <bool Full, bool Or, bool Long, bool Repeat>
void Stepping(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    if (Full) draw.sourceSpan(context, row, y, x0, x1);
    const TessroFillGeometry& g = draw.transparency;
    const BYTE* table = draw.transparencyTable;
    const double offset = static_cast<double>(static_cast<std::int64_t>(x0 - g.rowBaseColumn) * 1024);
    std::int64_t p = TessroAdd64(g.rowV, TessroNearest64(offset * g.rowGradientV));
    for (std::int32_t x = x0; x < x1; ++x) {
        TessroPutTransparency<Or>(row, x, table[TessroTableIndex<Long, Repeat>(TessroHigh32(p))]);
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
        TessroPutTransparency<Or>(row, x, table[TessroTableIndex<Long, Repeat>(TessroNearest32(g.vX + g.runV / d))]);
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

// ---- Square generators ----

void BeginSquareThreePoint(TessroContext* context) {
    TessroStartThreePointUV(context->draw, context->draw.transparency);
    context->draw.savedBegin(context);
}

void RowEndSquareThreePoint(TessroContext* context) {
    TessroNextRowThreePointUV(context->draw.transparency);
    context->draw.savedRowEnd(context);
}

void RowStartSquareRowAffine(TessroContext* context) {
    TessroFillGeometry& g = context->draw.transparency;
    TessroStartRowAffineUV(context->draw, g);
    g.rowOriginX = 0;
    context->draw.savedRowStart(context);
}

void BeginSquarePerspective(TessroContext* context) {
    TessroStartPerspectiveUV(context->draw, context->draw.transparency);
    context->draw.savedBegin(context);
}

void RowEndSquarePerspective(TessroContext* context) {
    TessroNextRowPerspectiveUV(context->draw.transparency);
    context->draw.savedRowEnd(context);
}

// The magnitude of one 32.32 axis coordinate as the square spans see it: a negative value is
// reflected by its ones' complement; a repeating ramp is mirrored with period 2L.
template <bool Repeat, std::int32_t L>
inline std::int32_t SquareAxis(std::int64_t c) {
    if (Repeat) {
        const std::int64_t period = static_cast<std::int64_t>(2 * L) << 32;
        std::int64_t m = c % period;
        if (m < 0) m += period;
        if (m >= static_cast<std::int64_t>(L) << 32) m = ~(m - period);
        return TessroHigh32(m);
    }
    return TessroHigh32(c ^ (c >> 63));
}

template <bool Full, bool Or, bool Long, bool Repeat>
void SquareStepping(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    if (Full) draw.sourceSpan(context, row, y, x0, x1);
    const TessroFillGeometry& g = draw.transparency;
    const BYTE* table = draw.transparencyTable;
    const std::int32_t length = Long ? 2048 : 256;
    const double dx = static_cast<double>(static_cast<std::int64_t>(x0) * 1024 + 512 - g.rowOriginX);
    std::int64_t u = TessroAdd64(TessroNearest64(dx * g.rowGradientU), g.rowU);
    std::int64_t v = TessroAdd64(TessroNearest64(dx * g.rowGradientV), g.rowV);
    for (std::int32_t x = x0; x < x1; ++x) {
        const std::int32_t iu = SquareAxis<Repeat, Long ? 2048 : 256>(u);
        const std::int32_t iv = SquareAxis<Repeat, Long ? 2048 : 256>(v);
        const std::int32_t m = iu > iv ? iu : iv;
        TessroPutTransparency<Or>(row, x, table[m < length ? m : length - 1]);
        u = TessroAdd64(u, g.rowStepU);
        v = TessroAdd64(v, g.rowStepV);
    }
}

// Perspective: nearest coordinates limited before conversion; NaN takes the last entry.
inline bool NearestLimited(double c, std::int32_t* out) {
    if (!(c == c)) return false;
    const double limit = 1073741824.0;
    *out = static_cast<std::int32_t>(std::nearbyint(c > limit ? limit : c < -limit ? -limit : c));
    return true;
}

template <bool Repeat, std::int32_t L>
inline std::int32_t FoldIndex(std::int32_t i) {
    if (Repeat) i = ((i + L) & (2 * L - 1)) - L;
    return i < 0 ? -i - 1 : i;
}

template <bool Full, bool Or, bool Long, bool Repeat>
void SquareDivision(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    if (Full) draw.sourceSpan(context, row, y, x0, x1);
    const TessroFillGeometry& g = draw.transparency;
    const BYTE* table = draw.transparencyTable;
    const std::int32_t length = Long ? 2048 : 256;
    const double qu = g.uX, qv = g.vX, pu = g.runU, pv = g.runV;
    const bool slanted = std::fabs(pu) > 1e-8;
    const double k = slanted ? pv / pu : 0.0, m = slanted ? qv - qu * k : 0.0;
    double w = g.runDen + x0;
    for (std::int32_t x = x0; x < x1; ++x, w += 1.0) {
        const double u = slanted ? pu / w + qu : qu;
        const double v = slanted ? u * k + m : pv / w + qv;
        std::int32_t iu, iv, index = length - 1;
        if (NearestLimited(u, &iu) && NearestLimited(std::fabs(v), &iv)) {
            iu = FoldIndex<Repeat, Long ? 2048 : 256>(iu);
            iv = FoldIndex<Repeat, Long ? 2048 : 256>(iv);
            const std::int32_t larger = iu > iv ? iu : iv;
            if (larger < length) index = larger;
        }
        TessroPutTransparency<Or>(row, x, table[index]);
    }
}

template <bool Full, bool Or, bool Long, bool Repeat>
TessroSpanFunc PickSquare(bool division) {
    return division ? SquareDivision<Full, Or, Long, Repeat> : SquareStepping<Full, Or, Long, Repeat>;
}

template <bool Full, bool Or>
TessroSpanFunc PickSquare(bool division, bool isLong, bool repeat) {
    if (isLong) {
        return repeat ? PickSquare<Full, Or, true, true>(division) : PickSquare<Full, Or, true, false>(division);
    }
    return repeat ? PickSquare<Full, Or, false, true>(division) : PickSquare<Full, Or, false, false>(division);
}

const std::int32_t kSquareFirst = 24;
const std::int32_t kRadialFirst = 12;
const std::int32_t kConicalGenerator = 36;
const std::int32_t kFourValueFirst = 40;

}  // namespace

namespace {

// Transparency drivers by mapping (0 three-point, 1 perspective, 2 row-affine): the linear
// ones step v, the u/v ones both coordinates. A null slot keeps the colour fill's driver.
const TessroRowDriver kLinearTransparencyDrivers[3] = {
    {BeginThreePoint, nullptr, RowEndThreePoint},
    {BeginPerspective, nullptr, RowEndPerspective},
    {nullptr, RowStartRowAffine, nullptr},
};
const TessroRowDriver kUVTransparencyDrivers[3] = {
    {BeginSquareThreePoint, nullptr, RowEndSquareThreePoint},
    {BeginSquarePerspective, nullptr, RowEndSquarePerspective},
    {nullptr, RowStartSquareRowAffine, nullptr},
};

void Install(TessroDrawState& draw, const TessroRowDriver& drivers) {
    if (drivers.begin != nullptr) draw.begin = drivers.begin;
    if (drivers.rowStart != nullptr) draw.rowStart = drivers.rowStart;
    if (drivers.rowEnd != nullptr) draw.rowEnd = drivers.rowEnd;
}

}  // namespace

void TessroInstallUVTransparencyDrivers(TessroContext* context, int mapping) {
    Install(context->draw, kUVTransparencyDrivers[mapping]);
}

bool TessroHasTransparencyGenerator(const TessroContext* context) {
    const std::int32_t index = context->draw.transparencySource - 1;
    // Graduations read the caller's table; the masks carry their own source.
    const bool graduation = index >= 0 && index < kSquareFirst + kLinearGenerators;
    if (graduation) return context->draw.transparencyTable != nullptr;
    return index >= kConicalGenerator && index <= static_cast<std::int32_t>(kTessroMaskFiltered);
}

TessroSpanFunc TessroSetUpTransparencyGenerator(TessroContext* context, TessroSpanFunc colour) {
    TessroDrawState& draw = context->draw;
    if (!TessroHasTransparencyGenerator(context)) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
    const DWORD word = context->transparencyType;
    const bool full = colour != nullptr && (word & kOwnTransparency) == 0;
    const bool orIng = (word & kMaskedPixels) != 0;
    draw.savedBegin = draw.begin;
    draw.savedRowStart = draw.rowStart;
    draw.savedRowEnd = draw.rowEnd;
    draw.sourceSpan = colour;
    const std::int32_t source = draw.transparencySource - 1;
    if (source == static_cast<std::int32_t>(kTessroMaskFiltered)) return TessroSetUpFilteredBitmapMask(context, full, orIng);
    if (source >= static_cast<std::int32_t>(kTessroMaskThreePoint)) {
        return TessroSetUpBitmapMask(context, static_cast<DWORD>(source), full, orIng);
    }
    if (source == kConicalGenerator) return TessroSetUpConicalTransparency(context, full, orIng);
    if (source > kConicalGenerator) {
        // Three-value fields 37..39, four-value fields 40..42: three-point, perspective,
        // row-affine.
        const std::int32_t mapping = (source - kConicalGenerator - 1) % 3;
        TessroInstallUVTransparencyDrivers(context, mapping);
        const DWORD kind = draw.transparencyKind;
        if (source < kFourValueFirst) return TessroThreeValueTransparency(kind, mapping == 1, full, orIng);
        return TessroFourValueTransparency(kind, mapping == 1, full, orIng);
    }
    if (source >= kRadialFirst && source < kSquareFirst) {
        const std::int32_t n = source - kRadialFirst;
        const bool isLong = (n / 3) % 2 == 1, repeat = n >= 6;
        if (n % 3 == 1) return TessroSetUpPerspectiveRadialTransparency(context, isLong, repeat, full, orIng);
        return TessroSetUpRadialTransparency(context, n % 3 == 2, isLong, repeat, full, orIng);
    }
    const bool square = source >= kSquareFirst;
    const std::int32_t index = source - (square ? kSquareFirst : 0);
    const int mapping = index % 3;
    const bool isLong = (index / 3) % 2 == 1, repeat = index >= 6;
    Install(draw, square ? kUVTransparencyDrivers[mapping] : kLinearTransparencyDrivers[mapping]);
    const bool division = mapping == 1;
    if (square) {
        if (full) return orIng ? PickSquare<true, true>(division, isLong, repeat) : PickSquare<true, false>(division, isLong, repeat);
        return orIng ? PickSquare<false, true>(division, isLong, repeat) : PickSquare<false, false>(division, isLong, repeat);
    }
    if (full) return orIng ? Pick<true, true>(division, isLong, repeat) : Pick<true, false>(division, isLong, repeat);
    return orIng ? Pick<false, true>(division, isLong, repeat) : Pick<false, false>(division, isLong, repeat);
}
