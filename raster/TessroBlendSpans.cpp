// Mix, multiply and screen blends. A transparency t is 0 (opaque) to 255; every product of two
// channel values is one product-table lookup. On the premultiplied format the fourth byte is
// the pixel's transparency T and each colour channel stays within 0..255 - T.
#include "raster/TessroBlendSpans.h"

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

// Prepared fill: the colour span fills the row buffer first; t is the buffer's fourth byte
// (per pixel) or the style's amount.
template <Mode M, bool Premultiplied, bool Amount>
void RowBufferSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.rowBufferFill(context, reinterpret_cast<BYTE*>(draw.rowBuffer), y, x0, x1);
    const int amount = static_cast<int>(draw.transparencyAmount & 0xFF);
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD src = draw.rowBuffer[x];
        out[x] = Blend<M, Premultiplied>(out[x], src, Amount ? amount : static_cast<int>(src >> 24));
    }
}

template <bool Premultiplied>
TessroSpanFunc FlatFor(DWORD mode) {
    switch (mode) {
        case kMix: return FlatSpan<kMix, Premultiplied>;
        case kMultiply: return FlatSpan<kMultiply, Premultiplied>;
        default: return FlatSpan<kScreen, Premultiplied>;
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

TessroSpanFunc TessroFlatBlendSpan(TessroContext* context) {
    const DWORD style = context->fillStyle;
    const DWORD mode = (style - 4) / 2 + 1;
    // The other blend modes are not part of this build.
    if (mode > kLastSimpleMode) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
    if (style % 2 == 1) {
        // Sourced: a transparency source would give t per pixel (not part of this build);
        // without one the constant amount stands in the colour's top byte.
        if (context->draw.transparencySource != 0) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
        const DWORD top = (context->draw.transparencyAmount & 0xFF) << 24;
        context->rememberedColour = (context->rememberedColour & 0x00FFFFFFu) | top;
        for (DWORD& word : context->pattern) word = (word & 0x00FFFFFFu) | top;
    }
    const bool premultiplied = context->targetFormat == kTessroFormat32Alpha;
    return premultiplied ? FlatFor<true>(mode) : FlatFor<false>(mode);
}

TessroSpanFunc TessroPreparedBlendSpan(TessroContext* context, TessroSpanFunc colour) {
    TessroDrawState& draw = context->draw;
    DWORD type = context->transparencyType & 0xFF;
    if ((context->transparencyType & kVariantFlags) != 0 || type == 0 || type > kLastSourcedType) {
        TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
    }
    if (type >= kFirstSourcedType) {
        // Without a transparency source a sourced type is the amount type of its mode, with
        // the constant amount.
        if (draw.transparencySource != 0) TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
        type -= 3;
    }
    const bool amount = type >= kFirstAmountType;
    const DWORD mode = amount ? type - 3 : type;
    draw.rowBufferFill = colour;
    const bool premultiplied = context->targetFormat == kTessroFormat32Alpha;
    if (premultiplied) return amount ? RowBufferFor<true, true>(mode) : RowBufferFor<true, false>(mode);
    return amount ? RowBufferFor<false, true>(mode) : RowBufferFor<false, false>(mode);
}
