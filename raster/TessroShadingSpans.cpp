// Shading spans (transparency types 34..36): the fill does not mix with the target; each of
// its colour channels is darkened or lightened by a per-pixel amount through the context's
// transfer tables, and the result replaces the target's channels (mixed by the coverage in
// coverage mode). The paired form first makes the colour transparent over the target by its
// own fourth byte and takes the amount from the second row buffer.
#include "raster/TessroMaskSpans.h"

namespace {

inline int Channel(DWORD pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

template <bool Paired>
DWORD Shaded(const TessroContext* context, DWORD dst, DWORD src, int amount) {
    const int m = static_cast<int>(src >> 24);
    DWORD out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int s = Channel(src, shift);
        if (Paired && m != 0) s += TessroProduct(m, Channel(dst, shift) - s);
        out |= static_cast<DWORD>(TessroShade(context, amount, s)) << shift;
    }
    return out;
}

template <bool Paired>
int AmountAt(const TessroDrawState& draw, std::int32_t x) {
    return static_cast<int>((Paired ? draw.amountBuffer[x] : draw.rowBuffer[x]) >> 24);
}

template <bool Premultiplied, bool Paired>
void Span(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    BYTE* buffer = reinterpret_cast<BYTE*>(draw.rowBuffer);
    draw.rowBufferFill(context, buffer, y, x0, x1);
    if (Paired) draw.amountSpan(context, reinterpret_cast<BYTE*>(draw.amountBuffer), y, x0, x1);
    if (row == buffer) return;  // coverage mode: the writer shades and mixes
    DWORD* out = reinterpret_cast<DWORD*>(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD shaded = Shaded<Paired>(context, out[x], draw.rowBuffer[x], AmountAt<Paired>(draw, x));
        out[x] = shaded | (Premultiplied ? 0 : out[x] & 0xFF000000u);
    }
}

template <bool Premultiplied, bool Paired>
void Writer(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const TessroDrawState& draw = context->draw;
    const BYTE* coverage = reinterpret_cast<const BYTE*>(context->path.coverage);
    DWORD* out = reinterpret_cast<DWORD*>(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const int cov = coverage[x];
        if (cov == 0) continue;
        const DWORD dst = out[x];
        const DWORD shaded = Shaded<Paired>(context, dst, draw.rowBuffer[x], AmountAt<Paired>(draw, x));
        DWORD result = dst & 0xFF000000u;
        if (Premultiplied) {
            const int t = static_cast<int>(dst >> 24);
            result = static_cast<DWORD>(t - TessroProduct(cov, t)) << 24;
        }
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = Channel(dst, shift);
            result |= static_cast<DWORD>(d + TessroProduct(cov, Channel(shaded, shift) - d)) << shift;
        }
        out[x] = result;
    }
}

}  // namespace

TessroSpanFunc TessroShadingSpan(bool premultiplied, bool paired) {
    if (premultiplied) return paired ? Span<true, true> : Span<true, false>;
    return paired ? Span<false, true> : Span<false, false>;
}

TessroCoverageWriteFunc TessroShadingWriter(bool premultiplied, bool paired) {
    if (premultiplied) return paired ? Writer<true, true> : Writer<true, false>;
    return paired ? Writer<false, true> : Writer<false, false>;
}
