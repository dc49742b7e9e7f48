// Tint, table-combination and statistics spans.
#include "raster/TessroTintSpans.h"

#include <cstring>

namespace {

const DWORD kTintAdd = 26;
const DWORD kTintSubtract = 27;
const DWORD kTableCombination = 28;
const DWORD kFirstTintType = 10;
const DWORD kColourMask = 0x00FFFFFFu;

// clamp(i) to 0..255 for i = -1025..1279, one lookup.
const int kClampLow = -1025;
const int kClampHigh = 1279;
struct ClampTable {
    BYTE values[kClampHigh - kClampLow + 1];
    ClampTable() {
        for (int i = kClampLow; i <= kClampHigh; ++i) values[i - kClampLow] = static_cast<BYTE>(i < 0 ? 0 : i > 255 ? 255 : i);
    }
};
const BYTE* ClampAt0() {
    static const ClampTable table;
    return table.values - kClampLow;
}

inline DWORD* Pixels(BYTE* row) { return reinterpret_cast<DWORD*>(row); }
inline int Channel(DWORD pixel, int c) { return static_cast<int>((pixel >> (8 * c)) & 0xFF); }

enum Combination { kAdd, kSubtract, kTable };

// One target pixel combined with the fill's channels f (blue, green, red); scaled holds
// P(a, f) per channel for the tints. The fourth byte stays.
template <Combination C>
DWORD Combine(DWORD dst, const int scaled[3], DWORD fill, const BYTE* table, const BYTE* clamp) {
    DWORD out = dst & ~kColourMask;
    for (int c = 0; c < 3; ++c) {
        const int d = Channel(dst, c);
        int v;
        if (C == kAdd) v = clamp[d + scaled[c]];
        if (C == kSubtract) v = clamp[d - scaled[c]];
        if (C == kTable) v = table[256 * Channel(fill, c) + d];
        out |= static_cast<DWORD>(v) << (8 * c);
    }
    return out;
}

inline void Scale(int a, DWORD fill, int scaled[3]) {
    for (int c = 0; c < 3; ++c) scaled[c] = TessroProduct(a, Channel(fill, c));
}

// The flat colour: its products formed once per span.
template <Combination C>
void FlatSpan(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const DWORD colour = context->pattern[0];
    int scaled[3];
    Scale(static_cast<int>(colour >> 24), colour, scaled);
    const BYTE* clamp = ClampAt0();
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) out[x] = Combine<C>(out[x], scaled, colour, context->combinationTable, clamp);
}

// A prepared fill: its span fills the row buffer, then each pixel combines with its colour.
template <Combination C>
void PreparedSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.rowBufferFill(context, reinterpret_cast<BYTE*>(draw.rowBuffer), y, x0, x1);
    const int amount = static_cast<int>(draw.transparencyAmount & 0xFF);
    const BYTE* clamp = ClampAt0();
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD fill = draw.rowBuffer[x];
        int scaled[3] = {0, 0, 0};
        if (C != kTable) Scale(amount, fill, scaled);
        out[x] = Combine<C>(out[x], scaled, fill, context->combinationTable, clamp);
    }
}

template <template <Combination> class Routine>
TessroSpanFunc ByCombination(int combination) {
    static const TessroSpanFunc routines[] = {Routine<kAdd>::kSpan, Routine<kSubtract>::kSpan, Routine<kTable>::kSpan};
    return routines[combination];
}
template <Combination C>
struct Flat {
    static constexpr TessroSpanFunc kSpan = FlatSpan<C>;
};
template <Combination C>
struct Prepared {
    static constexpr TessroSpanFunc kSpan = PreparedSpan<C>;
};

// The table combination reads the caller's table for every pixel: without one there is
// nothing to combine with.
void RequireTable(const TessroContext* context, int combination) {
    if (combination == kTable && context->combinationTable == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
}

// ---- Statistics ----

void Add64(DWORD* record, int word, std::uint64_t value) {
    std::uint64_t sum = (static_cast<std::uint64_t>(record[word + 1]) << 32) | record[word];
    sum += value;
    record[word] = static_cast<DWORD>(sum);
    record[word + 1] = static_cast<DWORD>(sum >> 32);
}
std::uint64_t Get64(const DWORD* record, int word) {
    return (static_cast<std::uint64_t>(record[word + 1]) << 32) | record[word];
}
void Set64(DWORD* record, int word, std::uint64_t value) {
    record[word] = static_cast<DWORD>(value);
    record[word + 1] = static_cast<DWORD>(value >> 32);
}

struct Squares {
    DWORD values[256];
    Squares() {
        for (DWORD v = 0; v < 256; ++v) values[v] = v * v;
    }
};
const DWORD* SquareTable() {
    static const Squares table;
    return table.values;
}

// The first pixel counted: its address where addresses have 32 bits; on wider builds one more
// than its byte offset from the target's row 0 (two's complement for rows before it in
// memory), which is never 0 either.
DWORD FirstPixelWord(const TessroContext* context, const BYTE* pixel) {
    if (sizeof(void*) == sizeof(DWORD)) return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(pixel));
    return static_cast<DWORD>(pixel - context->rowZero) + 1;
}

void StatisticsBegin(TessroContext* context) {
    std::memset(context->path.statistics, 0, sizeof(context->path.statistics));
    TessroDefaultBegin(context);
}

void StatisticsSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    DWORD* record = context->path.statistics;
    if (record[kTessroStatFirstPixel] == 0) record[kTessroStatFirstPixel] = FirstPixelWord(context, row + 4 * x0);
    // The geometric sums in closed form; x and x.y twice over, x^2 six times over.
    const std::uint64_t n = static_cast<std::uint32_t>(x1 - x0);
    const std::uint64_t first = static_cast<std::uint32_t>(x0), yy = static_cast<std::uint32_t>(y);
    record[kTessroStatCount] += static_cast<DWORD>(n);
    Add64(record, kTessroStatY, n * yy);
    Add64(record, kTessroStatYY, n * yy * yy);
    const std::uint64_t twiceX = n * (n + 2 * first - 1);
    Add64(record, kTessroStatX, twiceX);
    Add64(record, kTessroStatXY, twiceX * yy);
    Add64(record, kTessroStatXX, n * (6 * first * (first + n - 1) + (n - 1) * (2 * n - 1)));
    // The channels pixel by pixel, red, green and blue.
    const DWORD* squares = SquareTable();
    static const int kChannelWord[3] = {kTessroStatBlue, kTessroStatGreen, kTessroStatRed};
    std::uint64_t sum[3] = {0, 0, 0}, sumSquares[3] = {0, 0, 0}, sumX[3] = {0, 0, 0};
    const DWORD* pixels = reinterpret_cast<const DWORD*>(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD p = pixels[x];
        for (int c = 0; c < 3; ++c) {
            const DWORD v = (p >> (8 * c)) & 0xFF;
            sum[c] += v;
            sumSquares[c] += squares[v];
            sumX[c] += static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) * v;
        }
    }
    for (int c = 0; c < 3; ++c) {
        const int word = kChannelWord[c];
        Add64(record, word, sum[c]);
        Add64(record, word + 2, sumSquares[c]);
        Add64(record, word + 4, sumX[c]);
        Add64(record, word + 6, sum[c] * yy);
    }
}

// The sums kept multiplied come back to their values; six times the sum of squares divides
// exactly, so it is divided as an integer (a double would lose the low digits of a large fill).
void StatisticsEnd(TessroContext* context) {
    DWORD* record = context->path.statistics;
    Set64(record, kTessroStatX, Get64(record, kTessroStatX) >> 1);
    Set64(record, kTessroStatXY, Get64(record, kTessroStatXY) >> 1);
    Set64(record, kTessroStatXX, Get64(record, kTessroStatXX) / 6);
}

}  // namespace

TessroSpanFunc TessroFlatTintSpan(TessroContext* context) {
    if (!TessroIs32BitFormat(context->targetFormat)) TessroFail(TESSRO_ERROR_MUST_BE_32BPP);
    const int combination = static_cast<int>(context->fillStyle - kTintAdd);
    if (context->fillStyle < kTintAdd || context->fillStyle > kTableCombination) TessroFail(TESSRO_ERROR_UNDEFINED_FILL_STYLE);
    RequireTable(context, combination);
    return ByCombination<Flat>(combination);
}

TessroSpanFunc TessroPreparedTintSpan(TessroContext* context, TessroSpanFunc colour) {
    const int combination = static_cast<int>((context->transparencyType & 0xFF) - kFirstTintType);
    if (combination < kAdd || combination > kTable) TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
    RequireTable(context, combination);
    context->draw.rowBufferFill = colour;
    return ByCombination<Prepared>(combination);
}

void TessroSelectStatistics(TessroContext* context) {
    if (!TessroIs32BitFormat(context->targetFormat)) TessroFail(TESSRO_ERROR_MUST_BE_32BPP);
    TessroDrawState& draw = context->draw;
    draw.begin = StatisticsBegin;
    draw.span = StatisticsSpan;
    draw.finish = StatisticsEnd;
}
