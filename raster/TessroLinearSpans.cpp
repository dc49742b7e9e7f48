// Linear graduation spans: the row drivers that prepare the table position of each row and
// the loops that write table entries into every target format but 2 bits. Positions are 32.32
// values whose high half is the table index before clamping or wrapping.
#include "raster/TessroDrawInternal.h"
#include "raster/TessroPixelWriters.h"

using namespace tessro_pixels;

namespace {

// ---- Row drivers ----

// Three-point: the position at the centre of the fill's left column, stepped per row.
void BeginThreePoint(TessroContext* context) {
    TessroStartThreePointV(context->draw, context->draw.colour);
    TessroDefaultBegin(context);
}

void RowEndThreePoint(TessroContext* context) {
    TessroNextRowThreePointV(context->draw.colour);
    TessroDefaultRowEnd(context);
}

// Row-affine four-point: each row is affine in x. The row's position is taken at column 0 and
// the spans measure from column 0 too, so a pixel's value does not depend on where the fill's
// bounds begin.
void RowStartRowAffine(TessroContext* context) { TessroStartRowAffineV(context->draw, context->draw.colour); }

// Perspective four-point: numerator and denominator of the current row, kept in the per-row
// fields so that the fill's coefficients stay as the setter left them.
void BeginPerspective(TessroContext* context) {
    TessroStartPerspectiveV(context->draw, context->draw.colour);
    TessroDefaultBegin(context);
}

void RowEndPerspective(TessroContext* context) {
    TessroNextRowPerspectiveV(context->draw.colour);
    TessroDefaultRowEnd(context);
}

// Stepping loop of the three-point and row-affine mappings.
template <class Writer, bool Long, bool Repeat>
void SteppingSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    const TessroFillGeometry& g = context->draw.colour;
    const DWORD* base = RowEntries<Writer>(context, y, Long ? 2048 : 256);
    const double offset = static_cast<double>(static_cast<std::int64_t>(x0 - g.rowBaseColumn) * 1024);
    std::int64_t p = TessroAdd64(g.rowV, TessroNearest64(offset * g.rowGradientV));
    for (std::int32_t x = x0; x < x1; ++x) {
        Writer::Put(row, x, base[TessroTableIndex<Long, Repeat>(TessroHigh32(p))]);
        p = TessroAdd64(p, g.rowStepV);
    }
}

// Division loop of the perspective mapping: one division per pixel.
template <class Writer, bool Long, bool Repeat>
void DivisionSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    const TessroFillGeometry& g = context->draw.colour;
    const DWORD* base = RowEntries<Writer>(context, y, Long ? 2048 : 256);
    double d = g.runDen + x0;
    for (std::int32_t x = x0; x < x1; ++x) {
        const std::int32_t i = TessroNearest32(g.vX + g.runV / d);
        Writer::Put(row, x, base[TessroTableIndex<Long, Repeat>(i)]);
        d += 1.0;
    }
}

template <class Writer, bool Long, bool Repeat>
TessroSpanFunc SpanFor(bool division) {
    return division ? DivisionSpan<Writer, Long, Repeat> : SteppingSpan<Writer, Long, Repeat>;
}

template <class Writer>
TessroSpanFunc SpanForWriter(bool division, bool isLong, bool repeat) {
    if (isLong) return repeat ? SpanFor<Writer, true, true>(division) : SpanFor<Writer, true, false>(division);
    return repeat ? SpanFor<Writer, false, true>(division) : SpanFor<Writer, false, false>(division);
}

}  // namespace

const TessroRowDriver kTessroLinearDrivers[3] = {
    {BeginThreePoint, TessroNoRow, RowEndThreePoint},
    {TessroDefaultBegin, RowStartRowAffine, TessroDefaultRowEnd},
    {BeginPerspective, TessroNoRow, RowEndPerspective},
};

TessroFillIndexEntry TessroLinearFillEntry(DWORD kind, DWORD format) {
    const bool division = kind % 3 == 2;
    const bool isLong = (kind / 3) % 2 == 1;
    const bool repeat = kind >= 6;
    TessroSpanFunc span = nullptr;
    switch (format) {
        case kTessroFormat1: span = SpanForWriter<Write1>(division, isLong, repeat); break;
        case kTessroFormat4: span = SpanForWriter<Write4>(division, isLong, repeat); break;
        case kTessroFormat8Palette:
        case kTessroFormat8Grey: span = SpanForWriter<Write8>(division, isLong, repeat); break;
        case kTessroFormat16: span = SpanForWriter<Write16>(division, isLong, repeat); break;
        case kTessroFormat32:
        case kTessroFormat32Alpha: span = SpanForWriter<Write32>(division, isLong, repeat); break;
        default: return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_BITMAP_DEPTH};
    }
    return {span, nullptr, 0, TESSRO_ERROR_NONE};
}
