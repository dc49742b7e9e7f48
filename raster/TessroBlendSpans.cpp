// Mix, multiply and screen blends. A transparency t is 0 (opaque) to 255; every product of two
// channel values is one product-table lookup. On the premultiplied format the fourth byte is
// the pixel's transparency T and each colour channel stays within 0..255 - T.
#include "raster/TessroBlendSpans.h"
#include "raster/TessroCoverage.h"
#include "raster/TessroTransparencyGenerators.h"

namespace {

enum Mode { kMix = 1, kMultiply = 2, kScreen = 3 };
const DWORD kVariantFlags = 0xC0000000u;
const DWORD kLastSimpleMode = kScreen;
const DWORD kFirstSourcedType = 7;
const DWORD kLastSourcedType = 9;
const DWORD kFirstAmountType = 4;

inline int P(int r, int d) { return TessroProduct(r, d); }
inline int Channel(DWORD pixel, int c) { return static_cast<int>((pixel >> (8 * c)) & 0xFF); }
inline int Clamp(int v, int high) { return v < 0 ? 0 : v > high ? high : v; }
// Mean of the three channels, rounded to nearest.
inline int Mean(DWORD pixel) {
    const int s = Channel(pixel, 0) + Channel(pixel, 1) + Channel(pixel, 2);
    return (2 * s + 3) / 6;
}

// One pixel: the fill colour src (its fourth byte ignored) with transparency t over dst.
template <Mode M, bool Premultiplied>
DWORD Blend(DWORD dst, DWORD src, int t) {
    const int o = 255 - t;
    const int T = Premultiplied ? Channel(dst, 3) : 0;
    DWORD out = Premultiplied ? 0 : dst & 0xFF000000u;
    int newT = T;
    if (Premultiplied) {
        if (M == kMix) newT = P(t, T);
        if (M == kMultiply) newT = P(Mean(src) + P(t, 255 - Mean(src)), T);
        if (M == kScreen) newT = P(255 - P(o, Mean(src)), T);
    }
    for (int c = 0; c < 3; ++c) {
        const int s = Channel(src, c), d = Channel(dst, c);
        int v;
        if (M == kMix) {
            v = d + P(o, s - d);
        } else if (M == kMultiply) {
            const int q = s + P(t, 255 - s);
            v = Premultiplied ? Clamp(P(q, d) + P(q / 2, T) - newT / 2, 255 - newT) : P(q, d);
        } else {
            const int k = P(o, s);
            v = Premultiplied ? Clamp(255 - P(255 - k, 255 - d) + P((255 - k) / 2, T) - newT / 2, 255 - newT)
                              : d + P(k, 255 - d);
        }
        out |= static_cast<DWORD>(v) << (8 * c);
    }
    if (Premultiplied) out |= static_cast<DWORD>(newT) << 24;
    return out;
}

inline DWORD* Pixels(BYTE* row) { return reinterpret_cast<DWORD*>(row); }

// Flat colour: src and t from the colour's pattern word.
template <Mode M, bool Premultiplied>
void FlatSpan(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const DWORD colour = context->pattern[0];
    const int t = static_cast<int>(colour >> 24);
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) out[x] = Blend<M, Premultiplied>(out[x], colour, t);
}

// Flat colour through a transparency source: the generator writes t into the row buffer.
template <Mode M, bool Premultiplied>
void SourcedFlatSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.rowBufferFill(context, reinterpret_cast<BYTE*>(draw.rowBuffer), y, x0, x1);
    const DWORD colour = context->pattern[0];
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        out[x] = Blend<M, Premultiplied>(out[x], colour, static_cast<int>(draw.rowBuffer[x] >> 24));
    }
}

// Prepared fill: the colour span fills the row buffer first; t is the buffer's fourth byte
// (per pixel) or the style's amount.
template <Mode M, bool Premultiplied, bool Amount>
void RowBufferSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.rowBufferFill(context, reinterpret_cast<BYTE*>(draw.rowBuffer), y, x0, x1);
    // In coverage mode the span only fills the row buffer: the blend writer mixes it in.
    if (row == reinterpret_cast<BYTE*>(draw.rowBuffer)) return;
    const int amount = static_cast<int>(draw.transparencyAmount & 0xFF);
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD src = draw.rowBuffer[x];
        out[x] = Blend<M, Premultiplied>(out[x], src, Amount ? amount : static_cast<int>(src >> 24));
    }
}

// One pixel with coverage cov (1..254; 255 for the per-pixel and amount writers of modes 2
// and 3 takes the aliased formula). Flat writers scale the full-coverage change; the others
// scale the opacity first.
template <Mode M, bool Premultiplied, bool Flat>
DWORD BlendCovered(DWORD dst, DWORD src, int t, int cov) {
    const int o = 255 - t;
    const int T = Premultiplied ? Channel(dst, 3) : 0;
    if (M == kMix) {
        const int oc = P(cov, o);
        DWORD out = Premultiplied ? static_cast<DWORD>(P(255 - oc, T)) << 24 : dst & 0xFF000000u;
        for (int c = 0; c < 3; ++c) {
            const int d = Channel(dst, c);
            out |= static_cast<DWORD>(d + P(oc, Channel(src, c) - d)) << (8 * c);
        }
        return out;
    }
    if (!Flat && cov >= 255) return Blend<M, Premultiplied>(dst, src, t);
    if (!Premultiplied) {
        DWORD out = dst & 0xFF000000u;
        for (int c = 0; c < 3; ++c) {
            const int s = Channel(src, c), d = Channel(dst, c);
            const int v = M == kMultiply ? d - P(cov, P(P(o, 255 - s), d)) : d + P(cov, P(P(o, s), 255 - d));
            out |= static_cast<DWORD>(v) << (8 * c);
        }
        return out;
    }
    const int mean = Mean(src);
    const int m = P(cov, o);
    int e;
    if (M == kMultiply) {
        e = Flat ? P(cov, 255 - (mean + P(t, 255 - mean))) : P(m, 255 - mean);
    } else {
        e = Flat ? P(cov, P(o, mean)) : P(m, mean);
    }
    const int newT = P(255 - e, T);
    DWORD out = static_cast<DWORD>(newT) << 24;
    for (int c = 0; c < 3; ++c) {
        const int s = Channel(src, c), d = Channel(dst, c);
        int g;
        if (M == kMultiply) {
            g = Flat ? P(cov, 255 - (s + P(t, 255 - s))) : P(m, 255 - s);
        } else {
            g = Flat ? P(cov, P(o, s)) : P(m, s);
        }
        int v = P(255 - g, d) + P(255 - g, T / 2) - newT / 2;
        if (M == kScreen) v += g;
        out |= static_cast<DWORD>(Clamp(v, 255 - newT)) << (8 * c);
    }
    return out;
}

// Coverage writers: the flat colour, or the row buffer that the fill's span has filled, with
// t from the colour's top byte, the buffer's fourth byte or the style's amount.
enum Source { kFlatColour, kSourcedFlat, kPerPixel, kAmount };
template <Mode M, bool Premultiplied, Source S>
void Writer(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const BYTE* coverage = reinterpret_cast<const BYTE*>(context->path.coverage);
    const DWORD flat = context->pattern[0];
    const DWORD* fills = context->draw.rowBuffer;
    const int amount = static_cast<int>(context->draw.transparencyAmount & 0xFF);
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const int cov = coverage[x];
        if (cov == 0) continue;
        const DWORD src = S == kFlatColour || S == kSourcedFlat ? flat : fills[x];
        const int t = S == kAmount ? amount : static_cast<int>((S == kSourcedFlat ? fills[x] : src) >> 24);
        out[x] = BlendCovered<M, Premultiplied, S == kFlatColour>(out[x], src, t, cov);
    }
}

template <bool Premultiplied, Source S>
TessroCoverageWriteFunc WriterFor(DWORD mode) {
    switch (mode) {
        case kMix: return Writer<kMix, Premultiplied, S>;
        case kMultiply: return Writer<kMultiply, Premultiplied, S>;
        default: return Writer<kScreen, Premultiplied, S>;
    }
}

template <Source S>
TessroCoverageWriteFunc WriterFor(DWORD mode, bool premultiplied) {
    return premultiplied ? WriterFor<true, S>(mode) : WriterFor<false, S>(mode);
}

template <bool Premultiplied>
TessroSpanFunc FlatFor(DWORD mode, bool sourced) {
    switch (mode) {
        case kMix: return sourced ? SourcedFlatSpan<kMix, Premultiplied> : FlatSpan<kMix, Premultiplied>;
        case kMultiply:
            return sourced ? SourcedFlatSpan<kMultiply, Premultiplied> : FlatSpan<kMultiply, Premultiplied>;
        default: return sourced ? SourcedFlatSpan<kScreen, Premultiplied> : FlatSpan<kScreen, Premultiplied>;
    }
}

template <bool Premultiplied, bool Amount>
TessroSpanFunc RowBufferFor(DWORD mode) {
    switch (mode) {
        case kMix: return RowBufferSpan<kMix, Premultiplied, Amount>;
        case kMultiply: return RowBufferSpan<kMultiply, Premultiplied, Amount>;
        default: return RowBufferSpan<kScreen, Premultiplied, Amount>;
    }
}

}  // namespace

namespace {

// The blend mode of a transparent flat colour, and whether a transparency generator gives t
// per pixel; a sourced style without one takes the constant amount into the colour's top byte.
struct FlatChoice {
    DWORD mode;
    bool sourced;
};

FlatChoice FlatMode(TessroContext* context) {
    const DWORD style = context->fillStyle;
    const DWORD mode = (style - 4) / 2 + 1;
    // The other blend modes are not part of this build.
    if (mode > kLastSimpleMode) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
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

struct PreparedChoice {
    DWORD mode;
    bool amount;
    bool generated;
};

PreparedChoice PreparedMode(TessroContext* context) {
    DWORD type = context->transparencyType & 0xFF;
    if ((context->transparencyType & kVariantFlags) != 0 || type == 0 || type > kLastSourcedType) {
        TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
    }
    if (type >= kFirstSourcedType) {
        if (context->draw.transparencySource != 0) {
            if (!TessroHasTransparencyGenerator(context)) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
            return {type - 6, false, true};
        }
        // Without a transparency source a sourced type is the amount type of its mode, with
        // the constant amount.
        type -= 3;
    }
    const bool amount = type >= kFirstAmountType;
    return {amount ? type - 3 : type, amount, false};
}

bool Premultiplied(const TessroContext* context) { return context->targetFormat == kTessroFormat32Alpha; }

}  // namespace

TessroSpanFunc TessroFlatBlendSpan(TessroContext* context) {
    const FlatChoice choice = FlatMode(context);
    if (choice.sourced) context->draw.rowBufferFill = TessroSetUpTransparencyGenerator(context, nullptr);
    return Premultiplied(context) ? FlatFor<true>(choice.mode, choice.sourced)
                                  : FlatFor<false>(choice.mode, choice.sourced);
}

TessroSpanFunc TessroPreparedBlendSpan(TessroContext* context, TessroSpanFunc colour) {
    const PreparedChoice choice = PreparedMode(context);
    if (choice.generated) colour = TessroSetUpTransparencyGenerator(context, colour);
    context->draw.rowBufferFill = colour;
    if (Premultiplied(context)) {
        return choice.amount ? RowBufferFor<true, true>(choice.mode) : RowBufferFor<true, false>(choice.mode);
    }
    return choice.amount ? RowBufferFor<false, true>(choice.mode) : RowBufferFor<false, false>(choice.mode);
}

TessroCoverageWriteFunc TessroFlatBlendWriter(TessroContext* context) {
    const FlatChoice choice = FlatMode(context);
    if (choice.sourced) {
        // The generator fills the row buffer's transparency bytes ahead of the writer.
        context->draw.span = TessroSetUpTransparencyGenerator(context, nullptr);
        return WriterFor<kSourcedFlat>(choice.mode, Premultiplied(context));
    }
    return WriterFor<kFlatColour>(choice.mode, Premultiplied(context));
}

// The prepared blend span has set the generator up already when there is one.
TessroCoverageWriteFunc TessroPreparedBlendWriter(TessroContext* context) {
    const PreparedChoice choice = PreparedMode(context);
    return choice.amount ? WriterFor<kAmount>(choice.mode, Premultiplied(context))
                         : WriterFor<kPerPixel>(choice.mode, Premultiplied(context));
}
