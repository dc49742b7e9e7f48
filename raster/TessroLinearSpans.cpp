// Linear graduation spans: the row drivers that prepare the table position of each row and
// the loops that write table entries into every target format but 2 bits. Positions are 32.32
// values whose high half is the table index before clamping or wrapping.
#include <cstring>

#include "raster/TessroDrawInternal.h"

namespace {

const double kFineScale = 4194304.0;  // 2^22
const double kFinePerPixel = 1024.0;

// ---- Row drivers ----

// Three-point: the position at the centre of the fill's left column, stepped per row.
void BeginThreePoint(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroFillGeometry& g = draw.colour;
    const std::int32_t left = draw.bounds[0], top = draw.bounds[1];
    // Offsets from the origin taken wide: a far origin is further than 32 bits reach.
    const std::int64_t ex = static_cast<std::int64_t>(left) * 1024 + g.halfPixel - g.originX;
    const std::int64_t ey = static_cast<std::int64_t>(top) * 1024 + g.halfPixel - g.originY;
    g.rowV = TessroNearest64(static_cast<double>(ex) * g.dvdx + static_cast<double>(ey) * g.dvdy);
    g.rowGradientV = g.dvdx;
    g.rowStepV = g.stepVx;
    g.rowBaseColumn = left;
    TessroDefaultBegin(context);
}

void RowEndThreePoint(TessroContext* context) {
    TessroFillGeometry& g = context->draw.colour;
    g.rowV = TessroAdd64(g.rowV, g.stepVy);
    TessroDefaultRowEnd(context);
}

// Row-affine four-point: each row is affine in x. The row's position is taken at column 0 and
// the spans measure from column 0 too, so a pixel's value does not depend on where the fill's
// bounds begin.
void RowStartRowAffine(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroFillGeometry& g = draw.colour;
    const double y = draw.row;
    const double s = kFineScale / (g.denY * y + g.den0);
    g.rowGradientV = s * g.vX;
    g.rowStepV = TessroNearest64(s * g.vX * kFinePerPixel);
    g.rowV = TessroNearest64(s * kFinePerPixel * (g.vY * y + g.v0));
    g.rowBaseColumn = 0;
}

// Perspective four-point: numerator and denominator of the current row, kept in the per-row
// fields so that the fill's coefficients stay as the setter left them.
void BeginPerspective(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroFillGeometry& g = draw.colour;
    const double top = draw.bounds[1];
    g.runDen = g.denY * top + g.den0;
    g.runV = g.vY * top + g.v0;
    TessroDefaultBegin(context);
}

void RowEndPerspective(TessroContext* context) {
    TessroFillGeometry& g = context->draw.colour;
    g.runV += g.vY;
    g.runDen += g.denY;
    TessroDefaultRowEnd(context);
}

// ---- Pixel writers: the part of a table entry for column x, stored at column x ----

struct Write1 {
    static const bool kDithered = true;
    static void Put(BYTE* row, std::int32_t x, DWORD entry) {
        const BYTE bit = static_cast<BYTE>(0x80u >> (x & 7));
        BYTE& b = row[x >> 3];
        b = (entry & bit) ? (b | bit) : (b & ~bit);
    }
};
struct Write4 {
    static const bool kDithered = true;
    static void Put(BYTE* row, std::int32_t x, DWORD entry) {
        // Columns 0..3 take byte 0 high, byte 2 low, byte 1 high, byte 3 low nibble.
        static const int kShift[4] = {4, 16, 12, 24};
        const DWORD value = (entry >> kShift[x & 3]) & 0xF;
        BYTE& b = row[x >> 1];
        b = (x & 1) ? static_cast<BYTE>((b & 0xF0) | value) : static_cast<BYTE>((b & 0x0F) | (value << 4));
    }
};
struct Write8 {
    static const bool kDithered = true;
    static void Put(BYTE* row, std::int32_t x, DWORD entry) {
        row[x] = static_cast<BYTE>(entry >> (8 * (x & 3)));
    }
};
struct Write16 {
    static const bool kDithered = true;
    static void Put(BYTE* row, std::int32_t x, DWORD entry) {
        const WORD v = static_cast<WORD>((x & 1) ? entry >> 16 : entry);
        std::memcpy(row + 2 * x, &v, sizeof(v));
    }
};
struct Write32 {
    static const bool kDithered = false;
    static void Put(BYTE* row, std::int32_t x, DWORD entry) { std::memcpy(row + 4 * x, &entry, 4); }
};

template <bool Long, bool Repeat>
std::int32_t Index(std::int32_t i) {
    const std::int32_t length = Long ? 2048 : 256;
    if (Repeat) return i & (length - 1);
    return i < 0 ? 0 : i >= length ? length - 1 : i;
}

template <class Writer, bool Long>
const DWORD* EntryBase(const TessroContext* context, std::int32_t y) {
    const DWORD* entries = context->draw.tableEntries;
    return Writer::kDithered ? entries + (y & 3) * (Long ? 2048 : 256) : entries;
}

// Stepping loop of the three-point and row-affine mappings.
template <class Writer, bool Long, bool Repeat>
void SteppingSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    const TessroFillGeometry& g = context->draw.colour;
    const DWORD* base = EntryBase<Writer, Long>(context, y);
    const double offset = static_cast<double>(static_cast<std::int64_t>(x0 - g.rowBaseColumn) * 1024);
    std::int64_t p = TessroAdd64(g.rowV, TessroNearest64(offset * g.rowGradientV));
    for (std::int32_t x = x0; x < x1; ++x) {
        Writer::Put(row, x, base[Index<Long, Repeat>(TessroHigh32(p))]);
        p = TessroAdd64(p, g.rowStepV);
    }
}

// Division loop of the perspective mapping: one division per pixel.
template <class Writer, bool Long, bool Repeat>
void DivisionSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    const TessroFillGeometry& g = context->draw.colour;
    const DWORD* base = EntryBase<Writer, Long>(context, y);
    double d = g.runDen + x0;
    for (std::int32_t x = x0; x < x1; ++x) {
        const std::int32_t i = TessroNearest32(g.vX + g.runV / d);
        Writer::Put(row, x, base[Index<Long, Repeat>(i)]);
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
