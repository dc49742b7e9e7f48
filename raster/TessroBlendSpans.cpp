// The spans and coverage writers of the ten blend modes: a flat colour (its transparency from
// its top byte, or per pixel from a transparency source) or a prepared fill's row buffer (its
// transparency from the buffer's fourth byte or the style's amount), composed into a 32-bit
// target by the per-pixel formulas of TessroBlendModes.h. Each combination of mode, variant
// and format is its own routine, chosen once per operation from a table.
#include "raster/TessroBlendSpans.h"

#include <type_traits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/TessroBlendModes.h"
#include "raster/TessroCoverage.h"
#include "raster/TessroTintSpans.h"
#include "raster/TessroTransparencyGenerators.h"

namespace {

const DWORD kFirstTransparentStyle = 4;
const DWORD kLastTransparentStyle = 23;
// Transparency types: 1..9 are modes 1..3 by plain, amount and sourced; 10..12 the tints; from
// 13 on each mode has three consecutive types.
const DWORD kFirstAmountType = 4;
const DWORD kFirstSourcedType = 7;
const DWORD kLastSimpleType = 9;
const DWORD kFirstTintType = 10;
const DWORD kLastTintType = 12;
const DWORD kFirstLaterType = 13;
const DWORD kLastLaterType = 33;
const int kFirstLaterMode = kTessroBlendContrast;

inline DWORD* Pixels(BYTE* row) { return reinterpret_cast<DWORD*>(row); }
inline int Amount(const TessroContext* context) { return static_cast<int>(context->draw.transparencyAmount & 0xFF); }

// Where the colour and the transparency of a pixel come from.
enum Source {
    kFlatColour,   // the flat colour and its top byte
    kSourcedFlat,  // the flat colour; t from the row buffer a transparency generator filled
    kPerPixel,     // the row buffer's colour and fourth byte
    kAmount,       // the row buffer's colour; t the style's amount
};

// ---- Aliased spans ----

#if defined(__SSE2__)
// Mix of a flat colour over pixels [x, x1), four at a time; returns where it stopped (the
// last 0..3 pixels are left to the caller). The fourth byte of every pixel is kept.
// Per channel d + P[o][s - d] is the nearest integer to (d (255 - o) + o s) / 255 (P rounds
// to nearest and is never a half); for x = that numerator + 128, at most 255 * 255 + 128,
// (x + (x >> 8)) >> 8 is that integer, in sixteen-bit lanes.
std::int32_t MixFourAtATime(DWORD* out, std::int32_t x, std::int32_t x1, DWORD colour, int o) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i source = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour & 0x00FFFFFFu)), zero);
    const __m128i base = _mm_add_epi16(_mm_mullo_epi16(source, _mm_set1_epi16(static_cast<short>(o))),
                                       _mm_set1_epi16(128));
    const __m128i keep = _mm_set1_epi16(static_cast<short>(255 - o));
    const __m128i top = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    auto mix = [&](__m128i d) {
        const __m128i t = _mm_add_epi16(_mm_mullo_epi16(d, keep), base);
        return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    };
    for (; x + 4 <= x1; x += 4) {
        __m128i* p = reinterpret_cast<__m128i*>(out + x);
        const __m128i d = _mm_loadu_si128(p);
        const __m128i mixed = _mm_packus_epi16(mix(_mm_unpacklo_epi8(d, zero)), mix(_mm_unpackhi_epi8(d, zero)));
        _mm_storeu_si128(p, _mm_or_si128(_mm_andnot_si128(top, mixed), _mm_and_si128(top, d)));
    }
    return x;
}
#endif

// Mix, multiply and screen of a flat colour on the plain format: each channel's row of the
// product table is taken once per span, so a pixel costs three lookups.
template <int M>
void FlatProductRowsSpan(TessroContext* context, BYTE* row, std::int32_t x0, std::int32_t x1) {
    const DWORD colour = context->pattern[0];
    const int t = static_cast<int>(colour >> 24), o = 255 - t;
    const std::int16_t* rows[3];
    for (int c = 0; c < 3; ++c) {
        const int s = tessro_blend::Channel(colour, c);
        // mix: d + P[o][s - d]; multiply: P[s + P[t][255 - s]][d]; screen: d + P[P[o][s]][255 - d].
        if (M == kTessroBlendMix) rows[c] = TessroProductRow(o) + s + 255;
        if (M == kTessroBlendMultiply) rows[c] = TessroProductRow(s + TessroProduct(t, 255 - s)) + 255;
        if (M == kTessroBlendScreen) rows[c] = TessroProductRow(TessroProduct(o, s)) + 510;
    }
    DWORD* out = Pixels(row);
#if defined(__SSE2__)
    if (M == kTessroBlendMix) x0 = MixFourAtATime(out, x0, x1, colour, o);
#endif
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD d = out[x];
        DWORD v = d & 0xFF000000u;
        for (int c = 0; c < 3; ++c) {
            const int dc = static_cast<int>((d >> (8 * c)) & 0xFF);
            int r;
            if (M == kTessroBlendMix) r = dc + rows[c][-dc];
            else if (M == kTessroBlendMultiply) r = rows[c][dc];
            else r = dc + rows[c][-dc];
            v |= static_cast<DWORD>(r) << (8 * c);
        }
        out[x] = v;
    }
}

template <int M, bool Pre>
void FlatSpan(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    if constexpr (!Pre && M <= kTessroBlendScreen) {
        FlatProductRowsSpan<M>(context, row, x0, x1);
    } else {
        const DWORD colour = context->pattern[0];
        const TessroBlendFill fill = TessroDescribeFill<M>(context, colour);
        const int t = static_cast<int>(colour >> 24);
        DWORD* out = Pixels(row);
        for (std::int32_t x = x0; x < x1; ++x) out[x] = TessroBlendPixel<M, Pre>(context, fill, out[x], t);
    }
}

// The generator writes t into the row buffer first.
template <int M, bool Pre>
void SourcedFlatSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.rowBufferFill(context, reinterpret_cast<BYTE*>(draw.rowBuffer), y, x0, x1);
    const TessroBlendFill fill = TessroDescribeFill<M>(context, context->pattern[0]);
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        out[x] = TessroBlendPixel<M, Pre>(context, fill, out[x], static_cast<int>(draw.rowBuffer[x] >> 24));
    }
}

// The fill's colour span fills the row buffer first.
template <int M, bool Pre, Source S>
void RowBufferSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.rowBufferFill(context, reinterpret_cast<BYTE*>(draw.rowBuffer), y, x0, x1);
    // In coverage mode the span only fills the row buffer: the blend writer mixes it in.
    if (row == reinterpret_cast<BYTE*>(draw.rowBuffer)) return;
    const int amount = Amount(context);
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD src = draw.rowBuffer[x];
        const int t = S == kAmount ? amount : static_cast<int>(src >> 24);
        out[x] = TessroBlendPixel<M, Pre>(context, TessroDescribeFill<M>(context, src), out[x], t);
    }
}

// ---- Coverage writers: the flat colour, or the row buffer that the fill's span filled ----

template <int M, bool Pre, Source S>
void Writer(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const BYTE* coverage = reinterpret_cast<const BYTE*>(context->path.coverage);
    const bool flat = S == kFlatColour || S == kSourcedFlat;
    const TessroBlendFill flatFill = TessroDescribeFill<M>(context, context->pattern[0]);
    const DWORD* fills = context->draw.rowBuffer;
    const int amount = S == kAmount ? Amount(context) : static_cast<int>(context->pattern[0] >> 24);
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const int cov = coverage[x];
        if (cov == 0) continue;
        const int t = S == kAmount || S == kFlatColour ? amount : static_cast<int>(fills[x] >> 24);
        if (flat) {
            out[x] = TessroBlendCoveredPixel<M, Pre, S == kFlatColour>(context, flatFill, out[x], t, cov);
        } else {
            out[x] = TessroBlendCoveredPixel<M, Pre, false>(context, TessroDescribeFill<M>(context, fills[x]), out[x],
                                                            t, cov);
        }
    }
}

// ---- Tables by mode: one routine per mode, variant and format ----

template <class Routine, template <int, bool> class Pick, int... M>
Routine ByMode(int mode, bool premultiplied, std::integer_sequence<int, M...>) {
    static const Routine plain[] = {Pick<M + 1, false>::kRoutine...};
    static const Routine alpha[] = {Pick<M + 1, true>::kRoutine...};
    return (premultiplied ? alpha : plain)[mode - 1];
}
template <class Routine, template <int, bool> class Pick>
Routine ByMode(int mode, bool premultiplied) {
    return ByMode<Routine, Pick>(mode, premultiplied, std::make_integer_sequence<int, kTessroLastBlendMode>());
}

template <int M, bool Pre>
struct PickFlat {
    static constexpr TessroSpanFunc kRoutine = FlatSpan<M, Pre>;
};
template <int M, bool Pre>
struct PickSourcedFlat {
    static constexpr TessroSpanFunc kRoutine = SourcedFlatSpan<M, Pre>;
};
template <Source S>
struct RowBuffer {
    template <int M, bool Pre>
    struct Pick {
        static constexpr TessroSpanFunc kRoutine = RowBufferSpan<M, Pre, S>;
    };
};
template <Source S>
struct Writers {
    template <int M, bool Pre>
    struct Pick {
        static constexpr TessroCoverageWriteFunc kRoutine = Writer<M, Pre, S>;
    };
};

// ---- Choosing the mode and variant ----

// A transparent flat colour's mode, and whether a transparency generator gives t per pixel; a
// sourced style without one takes the constant amount into the colour's top byte.
struct FlatChoice {
    int mode;
    bool sourced;
};

FlatChoice FlatMode(TessroContext* context) {
    const DWORD style = context->fillStyle;
    if (style < kFirstTransparentStyle || style > kLastTransparentStyle) {
        TessroFail(TESSRO_ERROR_UNDEFINED_FILL_STYLE);
    }
    const int mode = static_cast<int>((style - kFirstTransparentStyle) / 2) + 1;
    if (style % 2 == 1) {
        if (context->draw.transparencySource != 0) {
            if (!TessroHasTransparencyGenerator(context)) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
            return {mode, true};
        }
        const DWORD top = (context->draw.transparencyAmount & 0xFF) << 24;
        context->rememberedColour = (context->rememberedColour & 0x00FFFFFFu) | top;
        for (DWORD& word : context->pattern) word = (word & 0x00FFFFFFu) | top;
    }
    return {mode, false};
}

// A prepared fill's mode and where its transparency comes from (the variant flags were
// resolved by the transparency selection in front of these spans).
struct PreparedChoice {
    int mode;         // 0: a tint or table combination (types 10..12)
    Source source;    // kPerPixel or kAmount
    bool generated;   // a transparency generator writes t per pixel
};

PreparedChoice PreparedMode(const TessroContext* context) {
    const DWORD type = context->transparencyType & 0xFF;
    const bool hasSource = context->draw.transparencySource != 0;
    int mode;
    int role;  // 0 plain, 1 amount, 2 sourced
    if (type >= 1 && type <= kLastSimpleType) {
        mode = static_cast<int>((type - 1) % 3) + 1;
        role = type >= kFirstSourcedType ? 2 : type >= kFirstAmountType ? 1 : 0;
    } else if (type >= kFirstTintType && type <= kLastTintType) {
        return {0, kPerPixel, false};
    } else if (type >= kFirstLaterType && type <= kLastLaterType) {
        mode = kFirstLaterMode + static_cast<int>((type - kFirstLaterType) / 3);
        role = static_cast<int>((type - kFirstLaterType) % 3);
    } else {
        // Type 0 and the shading types are chosen by the transparency selection.
        TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
    }
    if (role == 2) {
        if (hasSource) {
            if (!TessroHasTransparencyGenerator(context)) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
            return {mode, kPerPixel, true};
        }
        // Without a transparency source a sourced type is the amount type of its mode, with
        // the constant amount.
        role = 1;
    }
    return {mode, role == 1 ? kAmount : kPerPixel, false};
}

bool Premultiplied(const TessroContext* context) { return context->targetFormat == kTessroFormat32Alpha; }

}  // namespace

TessroSpanFunc TessroFlatBlendSpan(TessroContext* context) {
    const FlatChoice choice = FlatMode(context);
    const bool premultiplied = Premultiplied(context);
    if (!choice.sourced) return ByMode<TessroSpanFunc, PickFlat>(choice.mode, premultiplied);
    context->draw.rowBufferFill = TessroSetUpTransparencyGenerator(context, nullptr);
    return ByMode<TessroSpanFunc, PickSourcedFlat>(choice.mode, premultiplied);
}

TessroSpanFunc TessroPreparedBlendSpan(TessroContext* context, TessroSpanFunc colour) {
    const PreparedChoice choice = PreparedMode(context);
    if (choice.mode == 0) return TessroPreparedTintSpan(context, colour);
    if (choice.generated) colour = TessroSetUpTransparencyGenerator(context, colour);
    context->draw.rowBufferFill = colour;
    const bool premultiplied = Premultiplied(context);
    if (choice.source == kAmount) return ByMode<TessroSpanFunc, RowBuffer<kAmount>::Pick>(choice.mode, premultiplied);
    return ByMode<TessroSpanFunc, RowBuffer<kPerPixel>::Pick>(choice.mode, premultiplied);
}

TessroCoverageWriteFunc TessroFlatBlendWriter(TessroContext* context) {
    const FlatChoice choice = FlatMode(context);
    const bool premultiplied = Premultiplied(context);
    if (!choice.sourced) return ByMode<TessroCoverageWriteFunc, Writers<kFlatColour>::Pick>(choice.mode, premultiplied);
    // The generator fills the row buffer's transparency bytes ahead of the writer.
    context->draw.span = TessroSetUpTransparencyGenerator(context, nullptr);
    return ByMode<TessroCoverageWriteFunc, Writers<kSourcedFlat>::Pick>(choice.mode, premultiplied);
}

// The prepared blend span has set the generator up already when there is one.
TessroCoverageWriteFunc TessroPreparedBlendWriter(TessroContext* context) {
    const PreparedChoice choice = PreparedMode(context);
    // The tints and the table combination take no coverage.
    if (choice.mode == 0) TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
    const bool premultiplied = Premultiplied(context);
    if (choice.source == kAmount) {
        return ByMode<TessroCoverageWriteFunc, Writers<kAmount>::Pick>(choice.mode, premultiplied);
    }
    return ByMode<TessroCoverageWriteFunc, Writers<kPerPixel>::Pick>(choice.mode, premultiplied);
}
