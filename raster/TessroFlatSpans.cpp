// Flat-colour and XOR spans: whole 32-bit words inside a span, one masked read-modify-write at
// each partial end. Pixels within a word run in memory byte order and, below 8 bits, from the
// most significant bit of each byte down.
#include <cstring>

#include "raster/TessroDrawInternal.h"

namespace {

DWORD Load(const BYTE* p) {
    DWORD v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}
void Store(BYTE* p, DWORD v) { std::memcpy(p, &v, sizeof(v)); }

// Left masks by slot (slots 0 .. s - 1 kept), for 2^Shift bits per pixel.
template <int Bits>
struct Masks {
    static const int kPerWord = 32 / Bits;
    DWORD left[kPerWord];
    Masks() {
        DWORD mask = 0;
        for (int s = 0; s < kPerWord; ++s) {
            left[s] = mask;
            int shift;
            if (Bits < 8) {
                const int perByte = 8 / Bits;
                shift = (s / perByte) * 8 + 8 - Bits * (s % perByte + 1);
            } else {
                shift = s * Bits;
            }
            mask |= (Bits == 32 ? 0xFFFFFFFFu : ((1u << Bits) - 1)) << shift;
        }
    }
};

template <int Bits>
const Masks<Bits>& MasksOf() {
    static const Masks<Bits> masks;
    return masks;
}

// Writes v (flat) or XORs v over pixels [x0, x1) of a packed row.
template <int Bits, bool Xor>
void PackedSpan(BYTE* row, DWORD v, std::int32_t x0, std::int32_t x1) {
    const int per = 32 / Bits;
    const Masks<Bits>& masks = MasksOf<Bits>();
    BYTE* word = row + (x0 / per) * 4;
    const DWORD left = masks.left[x0 % per];
    const std::int32_t boundary = (x0 / per + 1) * per;
    const auto merge = [&](BYTE* at, DWORD keep) {
        const DWORD old = Load(at);
        Store(at, Xor ? old ^ (v & ~keep) : (old & keep) | (v & ~keep));
    };
    if (x1 < boundary) {
        merge(word, left | ~masks.left[x1 % per]);
        return;
    }
    merge(word, left);
    word += 4;
    std::int32_t full = (x1 - boundary) / per;
    if (Xor) {
        for (; full > 0; --full, word += 4) Store(word, Load(word) ^ v);
    } else {
        TessroFillPixels32(word, v, full);
        word += 4 * full;
    }
    // A span that ends on a word boundary has nothing in the next word: leave it alone (it may
    // lie beyond the row).
    if (x1 % per != 0) merge(word, ~masks.left[x1 % per]);
}

template <int Bits>
void FlatSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    PackedSpan<Bits, false>(row, context->pattern[y & 3], x0, x1);
}

template <int Bits>
void XorSpan(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    PackedSpan<Bits, true>(row, context->rememberedColour, x0, x1);
}

void FlatSpan32(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    TessroFillPixels32(row + 4 * x0, context->pattern[0], x1 - x0);
}

void XorSpan32(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const DWORD v = context->rememberedColour;
    for (std::int32_t x = x0; x < x1; ++x) Store(row + 4 * x, Load(row + 4 * x) ^ v);
}

}  // namespace

TessroSpanFunc TessroFlatSpan(DWORD format) {
    switch (format) {
        case kTessroFormat1: return FlatSpan<1>;
        case kTessroFormat2: return FlatSpan<2>;
        case kTessroFormat4: return FlatSpan<4>;
        case kTessroFormat8Palette:
        case kTessroFormat8Grey: return FlatSpan<8>;
        case kTessroFormat16: return FlatSpan<16>;
        case kTessroFormat32:
        case kTessroFormat32Alpha: return FlatSpan32;
        default: return nullptr;
    }
}

TessroSpanFunc TessroXorSpan(DWORD format) {
    switch (format) {
        case kTessroFormat1: return XorSpan<1>;
        case kTessroFormat4: return XorSpan<4>;
        case kTessroFormat8Palette:
        case kTessroFormat8Grey: return XorSpan<8>;
        case kTessroFormat16: return XorSpan<16>;
        case kTessroFormat32:
        case kTessroFormat32Alpha: return XorSpan32;
        default: return nullptr;
    }
}
