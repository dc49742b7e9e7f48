// Conical graduation spans: the entry of a pixel follows its direction from the centre. No
// arctangent per pixel: each row splits into a sector around the vertical through the centre,
// stepped by one tangent ratio, and the parts left and right of it, which read the ratio of
// their column from arrays advanced once per row. The quadrant tables of the setter turn a
// ratio into an entry index.
#include "raster/TessroGraduationSpans.h"
#include "raster/TessroTransparencyGenerators.h"
#include "raster/TessroPixelWriters.h"

using namespace tessro_pixels;

namespace {

const double kTwo42 = 4398046511104.0;
const double kTwo43 = 8796093022208.0;
const int kBelow = 0, kRight = 1, kAbove = 2, kLeft = 3;
const std::int32_t kZeroSlot = kTessroAngleTableEntries / 2;  // slot of index 0
const std::int32_t kLowestIndex = -kZeroSlot;
const std::int32_t kHighestIndex = kTessroAngleTableEntries - 1 - kZeroSlot;

// Slot of a tangent ratio in a quadrant table.
inline std::int32_t AngleSlot(std::int64_t ratio) {
    std::int32_t i = TessroHigh32(ratio);
    // Rounding may carry a ratio of exactly +-1 a hair beyond the table.
    if (i < kLowestIndex) i = kLowestIndex;
    if (i > kHighestIndex) i = kHighestIndex;
    return kZeroSlot + i;
}

// The colour set (centre, quadrant tables of entry indices, column arrays) or the
// transparency set (its own centre, tables of transparency values and column arrays).
struct ColourCone {
    static std::int32_t CentreX(const TessroDrawState& d) { return d.conical.centreX; }
    static std::int32_t CentreY(const TessroDrawState& d) { return d.conical.centreY; }
    static TessroConicalRows& Rows(TessroDrawState& d) { return d.conicalRows; }
};
struct TransparencyCone {
    static std::int32_t CentreX(const TessroDrawState& d) { return d.transparencyCentreX; }
    static std::int32_t CentreY(const TessroDrawState& d) { return d.transparencyCentreY; }
    static TessroConicalRows& Rows(TessroDrawState& d) { return d.transparencyConicalRows; }
};

template <class Cone>
void StartColumns(TessroDrawState& draw) {
    TessroConicalRows& rows = Cone::Rows(draw);
    const std::int64_t l = static_cast<std::int64_t>(draw.bounds[0]) - Cone::CentreX(draw);
    const std::int64_t r = static_cast<std::int64_t>(draw.bounds[2]) - 1 - Cone::CentreX(draw);
    std::int64_t low, high;
    if (l >= 0) {
        low = l, high = r;
    } else if (r >= 0) {
        low = 0, high = r > -l - 1 ? r : -l - 1;
    } else {
        low = -r - 1, high = -l - 1;
    }
    // Column 0 is always in the sector.
    if (low == 0) low = 1;
    if (high < low) high = low;
    std::int64_t count = high - low + 1;
    if (count > kTessroConicalColumns) count = kTessroConicalColumns;
    rows.firstColumn = static_cast<std::int32_t>(low);
    rows.columnCount = static_cast<std::int32_t>(count);
    const double rowNumerator = 2.0 * (static_cast<double>(draw.bounds[1]) - Cone::CentreY(draw)) + 1.0;
    for (std::int64_t i = 0; i < count; ++i) {
        const double step = kTwo43 / (2.0 * static_cast<double>(low + i) + 1.0);
        rows.steps[i] = TessroNearest64(step);
        rows.ratios[i] = TessroNearest64(rowNumerator / 2.0 * step);
    }
}

template <class Cone>
void StartRow(TessroDrawState& draw) {
    const double dy = static_cast<double>(draw.row) - Cone::CentreY(draw);
    Cone::Rows(draw).rowStep = TessroNearest64(kTwo43 / (2.0 * dy + 1.0));
}

template <class Cone>
void StepRows(TessroDrawState& draw) {
    TessroConicalRows& rows = Cone::Rows(draw);
    for (std::int32_t i = 0; i < rows.columnCount; ++i) rows.ratios[i] = TessroAdd64(rows.ratios[i], rows.steps[i]);
}

// A column outside the prepared range (a span beyond the fill's bounds) reads the nearest
// prepared one rather than memory past the arrays.
inline std::int64_t Ratio(const TessroConicalRows& rows, std::int64_t k) {
    std::int64_t i = k - rows.firstColumn;
    if (i < 0) i = 0;
    if (i >= rows.columnCount) i = rows.columnCount - 1;
    return rows.ratios[i];
}

// put(x, quadrant, slot) for every pixel of the span [x0, x1) of row y.
template <class Cone, class Put>
void Walk(TessroDrawState& draw, std::int32_t y, std::int32_t x0, std::int32_t x1, Put put) {
    const TessroConicalRows& rows = Cone::Rows(draw);
    const std::int64_t dy = static_cast<std::int64_t>(y) - Cone::CentreY(draw);
    const std::int64_t cx = Cone::CentreX(draw);
    // Sector: |2dx + 1| <= |2dy + 1|.
    const std::int64_t sectorLeft = dy >= 0 ? cx - (dy + 1) : cx + dy;
    const std::int64_t sectorRight = dy >= 0 ? cx + (dy + 1) : cx - dy;
    const std::int64_t a = x0 > sectorLeft ? x0 : sectorLeft;
    const std::int64_t b = x1 < sectorRight ? x1 : sectorRight;
    if (a < b) {
        const int quadrant = dy >= 0 ? kBelow : kAbove;
        std::int64_t t = TessroNearest64(static_cast<double>(2 * (a - cx) + 1) * kTwo42 /
                                         static_cast<double>(2 * dy + 1));
        for (std::int64_t x = a; x < b; ++x) {
            put(static_cast<std::int32_t>(x), quadrant, AngleSlot(t));
            t = TessroAdd64(t, rows.rowStep);
        }
    }
    // Left of the sector: column k = centre x - x - 1, nearer the centre per pixel.
    const std::int64_t leftEnd = x1 < sectorLeft ? x1 : sectorLeft;
    for (std::int64_t x = x0; x < leftEnd; ++x) put(static_cast<std::int32_t>(x), kLeft, AngleSlot(Ratio(rows, cx - x - 1)));
    // Right of it: column k = x - centre x.
    const std::int64_t rightStart = x0 > sectorRight ? x0 : sectorRight;
    for (std::int64_t x = rightStart; x < x1; ++x) put(static_cast<std::int32_t>(x), kRight, AngleSlot(Ratio(rows, x - cx)));
}

void Begin(TessroContext* context) {
    StartColumns<ColourCone>(context->draw);
    TessroDefaultBegin(context);
}

void RowStart(TessroContext* context) { StartRow<ColourCone>(context->draw); }

void RowEnd(TessroContext* context) {
    StepRows<ColourCone>(context->draw);
    TessroDefaultRowEnd(context);
}

template <class Writer>
struct Conical {
    static void Span(TessroContext* context, BYTE* target, std::int32_t y, std::int32_t x0, std::int32_t x1) {
        TessroDrawState& draw = context->draw;
        const TessroConicalGeometry& c = draw.conical;
        const DWORD* entries = RowEntries<Writer>(context, y, draw.longTable ? 2048 : 256);
        Walk<ColourCone>(draw, y, x0, x1, [&](std::int32_t x, int quadrant, std::int32_t slot) {
            Writer::Put(target, x, entries[c.angles[quadrant][slot]]);
        });
    }
};

// ---- Transparency: the same walk on the transparency set, its tables holding the bytes ----

void BeginTransparency(TessroContext* context) {
    StartColumns<TransparencyCone>(context->draw);
    context->draw.savedBegin(context);
}

void RowStartTransparency(TessroContext* context) {
    StartRow<TransparencyCone>(context->draw);
    context->draw.savedRowStart(context);
}

void RowEndTransparency(TessroContext* context) {
    StepRows<TransparencyCone>(context->draw);
    context->draw.savedRowEnd(context);
}

template <bool Or>
void TransparencyLoop(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    Walk<TransparencyCone>(draw, y, x0, x1, [&](std::int32_t x, int quadrant, std::int32_t slot) {
        TessroPutTransparency<Or>(row, x, draw.transparencyAngles[quadrant][slot]);
    });
}

template <bool Or, bool Full>
struct TransparencyLoops {
    static TessroSpanFunc Get() { return TessroGenerator<TransparencyLoop<Or>, Full>; }
};

}  // namespace

const TessroRowDriver kTessroConicalDriver = {Begin, RowStart, RowEnd};

TessroFillIndexEntry TessroConicalFillEntry(DWORD format) {
    const TessroSpanFunc span = ForFormat<Conical>(format);
    if (span == nullptr) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_BITMAP_DEPTH};
    return {span, nullptr, 0, TESSRO_ERROR_NONE};
}

TessroSpanFunc TessroSetUpConicalTransparency(TessroContext* context, bool full, bool orIng) {
    TessroDrawState& draw = context->draw;
    draw.begin = BeginTransparency;
    draw.rowStart = RowStartTransparency;
    draw.rowEnd = RowEndTransparency;
    return TessroPickGenerator<TransparencyLoops>(full, orIng);
}
