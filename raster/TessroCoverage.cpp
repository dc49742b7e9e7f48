// Coverage accumulation, clearing and the per-format coverage writers.
#include "raster/TessroCoverage.h"
#include "raster/TessroMaskSpans.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/TessroBlendSpans.h"
#include "raster/TessroDrawInternal.h"

namespace {

const std::int32_t kEmptyLow = 0x7FFFFFFF;
const std::int32_t kEmptyHigh = static_cast<std::int32_t>(0x80000000u);
const int kWordShift = 16;                 // a coverage word spans 4 px = 65536 device units
const std::int32_t kWordMask = 0xFFFF;
const int kUnitShift = 14;
// Sample columns per pixel and the coverage one column adds per sub-row.
const int kFiveColumns = 5, kFiveColumnUnit = 1;
const int kSeventeenColumns = 17, kSeventeenColumnUnit = 3;

std::int32_t Clamp(std::int32_t v, std::int32_t lo, std::int32_t hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

// Lane k of the word holds the overlap of [s0, s1) with [columns k, columns (k + 1)),
// times the lane unit.
DWORD Lanes(std::int32_t s0, std::int32_t s1, std::int32_t columns, std::int32_t unit) {
    DWORD word = 0;
    for (int k = 0; k < 4; ++k) {
        const std::int32_t lo = std::max(s0, columns * k);
        const std::int32_t hi = std::min(s1, columns * (k + 1));
        if (hi > lo) word |= static_cast<DWORD>((hi - lo) * unit) << (8 * k);
    }
    return word;
}

// The accumulators' edge words: left[s] covers [s, the word's end), right[s] covers [0, s).
template <int Columns, int Unit>
struct EdgeWords {
    DWORD left[4 * Columns + 1], right[4 * Columns + 1];
    EdgeWords() {
        for (int s = 0; s <= 4 * Columns; ++s) {
            left[s] = Lanes(s, 4 * Columns, Columns, Unit);
            right[s] = Lanes(0, s, Columns, Unit);
        }
    }
};

template <int Columns, int Unit>
const EdgeWords<Columns, Unit>& EdgeWordsOf() {
    static const EdgeWords<Columns, Unit> words;
    return words;
}

template <int Columns, int Unit>
void Accumulate(TessroContext* context, std::int32_t a, std::int32_t b) {
    TessroPathArea& path = context->path;
    if (a < path.dirtyStart) path.dirtyStart = a;
    if (b > path.dirtyEnd) path.dirtyEnd = b;
    const EdgeWords<Columns, Unit>& edges = EdgeWordsOf<Columns, Unit>();
    DWORD* words = path.coverage;
    const std::int32_t i0 = a >> kWordShift, i1 = b >> kWordShift;
    const std::int32_t s0 = ((a & kWordMask) * Columns + (1 << (kUnitShift - 1))) >> kUnitShift;
    const std::int32_t s1 = ((b & kWordMask) * Columns + (1 << (kUnitShift - 1))) >> kUnitShift;
    if (i0 == i1) {
        // The span within one word: [s0, s1) is what the left word of s0 and the right word of
        // s1 share; s0 <= s1 keeps every lane of the difference non-negative.
        const DWORD lanes = s1 > s0 ? edges.left[s0] - edges.left[s1] : 0;
        words[i0] = TessroSaturatingAdd(words[i0], lanes);
        return;
    }
    words[i0] = TessroSaturatingAdd(words[i0], edges.left[s0]);
    // The words in between gain a whole pixel's worth per lane, sixteen lanes at a time where
    // packed saturating additions exist.
    BYTE* bytes = reinterpret_cast<BYTE*>(words);
    const unsigned full = static_cast<unsigned>(Columns * Unit);
    std::int32_t k = 4 * (i0 + 1);
    const std::int32_t end = 4 * i1;
#if defined(__SSE2__)
    const __m128i add = _mm_set1_epi8(static_cast<char>(full));
    for (; k + 16 <= end; k += 16) {
        __m128i* p = reinterpret_cast<__m128i*>(bytes + k);
        _mm_storeu_si128(p, _mm_adds_epu8(_mm_loadu_si128(p), add));
    }
#endif
    for (; k < end; ++k) {
        const unsigned sum = bytes[k] + full;
        bytes[k] = static_cast<BYTE>(sum > 255 ? 255 : sum);
    }
    words[i1] = TessroSaturatingAdd(words[i1], edges.right[s1]);
}

const BYTE* CoverageBytes(const TessroContext* context) {
    return reinterpret_cast<const BYTE*>(context->path.coverage);
}

DWORD Load32(const BYTE* p) {
    DWORD v;
    std::memcpy(&v, p, 4);
    return v;
}
void Store32(BYTE* p, DWORD v) { std::memcpy(p, &v, 4); }

// target - T(c, target - fill) per 8-bit channel.
DWORD MixChannel(DWORD target, DWORD fill, int c) {
    return static_cast<DWORD>(static_cast<int>(target) -
                              TessroProduct(c, static_cast<int>(target) - static_cast<int>(fill)));
}
DWORD MixColour(DWORD target, DWORD fill, int c) {
    DWORD out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        out |= MixChannel((target >> shift) & 0xFF, (fill >> shift) & 0xFF, c) << shift;
    }
    return out;
}

// ---- 32-bit writers ----
template <bool kAlpha, bool kFlat>
void Write32(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const BYTE* coverage = CoverageBytes(context);
    const DWORD flatPixel = context->pattern[0];
    const DWORD fullPixel = kAlpha && kFlat ? (flatPixel & 0x00FFFFFFu) : flatPixel;
    const DWORD* fills = context->draw.rowBuffer;
    const DWORD* words = context->path.coverage;
    const DWORD kFullWord = 0xFFFFFFFFu;
    for (std::int32_t x = x0; x < x1; ++x) {
        // Whole words of four pixels: skipped when empty; a run of full words is stored as one
        // span, without mixing.
        if ((x & 3) == 0 && x + 4 <= x1) {
            const DWORD word = words[x >> 2];
            if (word == 0) {
                x += 3;
                continue;
            }
            if (word == kFullWord) {
                std::int32_t end = x + 4;
                while (end + 4 <= x1 && words[end >> 2] == kFullWord) end += 4;
                if (kFlat) {
                    TessroFillPixels32(row + 4 * x, fullPixel, end - x);
                } else {
                    std::memcpy(row + 4 * x, fills + x, 4 * static_cast<size_t>(end - x));
                }
                x = end - 1;
                continue;
            }
        }
        const int c = coverage[x];
        if (c == 0) continue;
        BYTE* p = row + 4 * x;
        const DWORD fill = kFlat ? flatPixel : fills[x];
        if (c >= kTessroSeventeenColumnFull) {
            Store32(p, kAlpha && kFlat ? fullPixel : fill);
            continue;
        }
        const DWORD target = Load32(p);
        DWORD top;
        if (kAlpha) {
            const int t3 = static_cast<int>(target >> 24);
            top = static_cast<DWORD>(t3 - TessroProduct(c, t3));
        } else {
            top = fill >> 24;
        }
        Store32(p, MixColour(target, fill, c) | (top << 24));
    }
}

// ---- 8-bit grey ----
void WriteGrey(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const BYTE* coverage = CoverageBytes(context);
    const BYTE* fills = reinterpret_cast<const BYTE*>(context->draw.rowBuffer);
    for (std::int32_t x = x0; x < x1; ++x) {
        const int c = coverage[x];
        if (c == 0) continue;
        row[x] = c >= kTessroSeventeenColumnFull ? fills[x]
                                                 : static_cast<BYTE>(MixChannel(row[x], fills[x], c));
    }
}

// ---- 8-bit palette: both indices to their palette colours, mixed in 25ths, back through the
// inverse-colour table ----
DWORD PaletteColour(const TessroContext* context, BYTE index) {
    if (index >= context->palette.palNumEntries) return 0;
    const PALETTEENTRY& e = context->palette.palPalEntry[index];
    return static_cast<DWORD>(e.peRed) | (static_cast<DWORD>(e.peGreen) << 8) |
           (static_cast<DWORD>(e.peBlue) << 16);
}

template <bool kFlat>
void WritePalette(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0,
                  std::int32_t x1) {
    const BYTE* coverage = CoverageBytes(context);
    const BYTE* fills = reinterpret_cast<const BYTE*>(context->draw.rowBuffer);
    const DWORD patternWord = context->pattern[y & 3];
    for (std::int32_t x = x0; x < x1; ++x) {
        const int c = coverage[x];
        if (c == 0) continue;
        const BYTE fill = kFlat ? static_cast<BYTE>(patternWord >> (8 * (x & 3))) : fills[x];
        if (c >= kTessroFiveColumnFull) {
            row[x] = fill;
            continue;
        }
        const DWORD f = PaletteColour(context, fill), t = PaletteColour(context, row[x]);
        DWORD mixed[3];
        for (int k = 0; k < 3; ++k) {
            const DWORD fc = (f >> (8 * k)) & 0xFF, tc = (t >> (8 * k)) & 0xFF;
            mixed[k] = (c * fc + (kTessroFiveColumnFull - c) * tc + 12) / kTessroFiveColumnFull;
        }
        row[x] = context->inverseTable[TessroInverseCell(mixed[0], mixed[1], mixed[2])];
    }
}

// ---- 4-bit: nearest of the sixteen standard colours to the mix ----
struct NearestTable {
    BYTE entries[kTessroFiveColumnFull + 1][16][16];
    NearestTable() {
        for (int c = 0; c <= kTessroFiveColumnFull; ++c) {
            for (int f = 0; f < 16; ++f) {
                for (int t = 0; t < 16; ++t) {
                    double mix[3];
                    for (int k = 0; k < 3; ++k) {
                        const double fc = (kTessroSixteenColours[f] >> (8 * k)) & 0xFF;
                        const double tc = (kTessroSixteenColours[t] >> (8 * k)) & 0xFF;
                        mix[k] = (c * fc + (kTessroFiveColumnFull - c) * tc) / kTessroFiveColumnFull;
                    }
                    int best = 0;
                    double bestDistance = 1e30;
                    for (int i = 0; i < 16; ++i) {
                        double d = 0;
                        for (int k = 0; k < 3; ++k) {
                            const double v = ((kTessroSixteenColours[i] >> (8 * k)) & 0xFF) - mix[k];
                            d += v * v;
                        }
                        if (d < bestDistance) bestDistance = d, best = i;
                    }
                    entries[c][f][t] = static_cast<BYTE>(best);
                }
            }
        }
    }
};

const NearestTable& Nearest() {
    static const NearestTable table;
    return table;
}

void WriteNibbles(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0,
                  std::int32_t x1) {
    const BYTE* coverage = CoverageBytes(context);
    const BYTE* fills = reinterpret_cast<const BYTE*>(context->draw.rowBuffer);
    const NearestTable& nearest = Nearest();
    for (std::int32_t x = x0; x < x1; ++x) {
        const int c = std::min<int>(coverage[x], kTessroFiveColumnFull);
        if (c == 0) continue;
        const int shift = (x & 1) ? 0 : 4;
        const int f = (fills[x >> 1] >> shift) & 0xF;
        const int t = (row[x >> 1] >> shift) & 0xF;
        const int v = nearest.entries[c][f][t];
        row[x >> 1] = static_cast<BYTE>((row[x >> 1] & ~(0xF << shift)) | (v << shift));
    }
}

// ---- 16-bit: per field of the layout, red highest ----
void WriteSixteen(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0,
                  std::int32_t x1) {
    static const int kFieldBits[4][3] = {{5, 6, 5}, {6, 5, 5}, {5, 5, 5}, {6, 6, 4}};
    const int* bits = kFieldBits[context->targetMode & 3];
    const BYTE* coverage = CoverageBytes(context);
    const BYTE* fills = reinterpret_cast<const BYTE*>(context->draw.rowBuffer);
    for (std::int32_t x = x0; x < x1; ++x) {
        const int c = coverage[x];
        if (c == 0) continue;
        WORD fill, target;
        std::memcpy(&fill, fills + 2 * x, 2);
        std::memcpy(&target, row + 2 * x, 2);
        WORD out = fill;
        if (c < kTessroSeventeenColumnFull) {
            out = 0;
            int shift = 0;
            for (int k = 2; k >= 0; --k) {  // blue lowest
                const int mask = (1 << bits[k]) - 1;
                const int t = (target >> shift) & mask, f = (fill >> shift) & mask;
                out = static_cast<WORD>(out | ((t - TessroProduct(c, t - f)) << shift));
                shift += bits[k];
            }
        }
        std::memcpy(row + 2 * x, &out, 2);
    }
}

}  // namespace

void TessroAccumulateFive(TessroContext* context, std::int32_t a, std::int32_t b) {
    Accumulate<kFiveColumns, kFiveColumnUnit>(context, a, b);
}

void TessroAccumulateSeventeen(TessroContext* context, std::int32_t a, std::int32_t b) {
    Accumulate<kSeventeenColumns, kSeventeenColumnUnit>(context, a, b);
}

void TessroStartCoverage(TessroContext* context) {
    TessroPathArea& path = context->path;
    path.dirtyStart = context->draw.clipDevice[0];
    path.dirtyEnd = context->draw.clipDevice[2];
}

void TessroClearCoverage(TessroContext* context) {
    TessroPathArea& path = context->path;
    if (path.dirtyStart <= path.dirtyEnd) {
        const std::int32_t first = Clamp(path.dirtyStart >> kWordShift, 0, kTessroCoverageWords - 1);
        const std::int32_t last = Clamp(path.dirtyEnd >> kWordShift, 0, kTessroCoverageWords - 1);
        std::memset(path.coverage + first, 0, sizeof(DWORD) * (last - first + 1));
    }
    path.dirtyStart = kEmptyLow;
    path.dirtyEnd = kEmptyHigh;
}

void TessroWriteCoverageRow(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroPathArea& path = context->path;
    draw.rowStart(context);
    if (path.dirtyStart < path.dirtyEnd) {
        const std::int32_t x0 = std::max(path.dirtyStart >> kUnitShift, draw.clip[0]);
        const std::int32_t x1 = std::min(
            static_cast<std::int32_t>((static_cast<std::int64_t>(path.dirtyEnd) + 0x3FFF) >> kUnitShift),
            draw.clip[2]);
        if (x0 < x1) {
            draw.span(context, reinterpret_cast<BYTE*>(draw.rowBuffer), draw.row, x0, x1);
            path.writeCoverage(context, draw.rowAddress, draw.row, x0, x1);
        }
    }
    draw.rowEnd(context);
}

void TessroSelectCoverageRoutines(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    TessroPathArea& path = context->path;
    const DWORD style = context->fillStyle, format = context->targetFormat;
    if (style == kTessroFillNone || style > kTessroFillHitTest) {
        TessroFail(TESSRO_ERROR_UNDEFINED_FILL_STYLE);
    }
    if (style == kTessroFillXor || (style >= 24 && style <= kTessroFillStatistics)) {
        TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
    }
    if (style >= 4 && style <= 23) {
        if (!TessroIs32BitFormat(format)) TessroFail(TESSRO_ERROR_MUST_BE_32BPP);
    }
    if (format == kTessroFormat1 || format == kTessroFormat2) {
        TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
    }
    if (context->rowZero == nullptr) TessroFail(TESSRO_ERROR_NO_BITMAP);
    path.accumulate = format <= kTessroFormat8Palette ? TessroAccumulateFive
                                                      : TessroAccumulateSeventeen;
    draw.begin = TessroDefaultBegin;
    draw.rowStart = TessroNoRow;
    draw.span = TessroNoSpan;
    draw.rowEnd = TessroDefaultRowEnd;
    draw.finish = TessroNoRow;
    if (style >= 4 && style <= 23) {
        path.writeCoverage = TessroFlatBlendWriter(context);
        return;
    }
    if (style == kTessroFillFlat) {
        switch (format) {
            case kTessroFormat32: path.writeCoverage = Write32<false, true>; return;
            case kTessroFormat32Alpha: path.writeCoverage = Write32<true, true>; return;
            case kTessroFormat8Palette: path.writeCoverage = WritePalette<true>; return;
            case kTessroFormat4: path.writeCoverage = WriteNibbles; break;
            case kTessroFormat8Grey: path.writeCoverage = WriteGrey; break;
            default: path.writeCoverage = WriteSixteen; break;
        }
        // The flat span fills the row buffer in the target's own format.
        draw.span = TessroFlatSpan(format);
        if (draw.span == nullptr) TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
        return;
    }
    // Prepared fills: the fill's own span, chosen as for whole pixels (and without a region's
    // row clipping: the coverage loop applies a sampled region itself). The region and the mode
    // come back even when the choice fails, so a failed fill leaves the clip as it was.
    struct Restore {
        TessroContext* context;
        const TessroClipRegion* region;
        ~Restore() {
            context->coverageMode = 1;
            context->draw.clipRegion = region;
        }
    };
    {
        const Restore restore{context, draw.clipRegion};
        draw.clipRegion = nullptr;
        context->coverageMode = 0;
        TessroPrepareSpanRoutines(context);
    }
    if (!TessroIs32BitFormat(format)) {
        // The converter behind the fill leaves the target's own format in the row buffer.
        switch (format) {
            case kTessroFormat8Palette: path.writeCoverage = WritePalette<false>; return;
            case kTessroFormat4: path.writeCoverage = WriteNibbles; return;
            case kTessroFormat8Grey: path.writeCoverage = WriteGrey; return;
            default: path.writeCoverage = WriteSixteen; return;
        }
    }
    // On 32-bit targets the span writes 32-bit pixels into the row buffer.
    path.accumulate = TessroAccumulateSeventeen;
    path.writeCoverage = format == kTessroFormat32 ? Write32<false, false> : Write32<true, false>;
    if ((context->transparencyType & 0xC00000FFu) != 0) path.writeCoverage = TessroPreparedTransparencyWriter(context);
}

void TessroAddCoverageCount(BYTE* row, std::int32_t a, std::int32_t b) {
    const std::int64_t s0 = (static_cast<std::int64_t>(a) * 5 + (1 << (kUnitShift - 1))) >> kUnitShift;
    const std::int64_t s1 = (static_cast<std::int64_t>(b) * 5 + (1 << (kUnitShift - 1))) >> kUnitShift;
    for (std::int64_t p = s0 / 5; p * 5 < s1; ++p) {
        const std::int64_t lo = std::max(s0, p * 5), hi = std::min(s1, p * 5 + 5);
        if (hi <= lo) continue;
        const int sum = row[p] + static_cast<int>(hi - lo);
        row[p] = static_cast<BYTE>(sum > 255 ? 255 : sum);
    }
}
