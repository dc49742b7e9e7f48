// Error-diffusion quantizers of the depth conversion.
//
// Every variant walks the image as a serpentine (even rows left to right, odd rows right to
// left), carries the error of each pixel to the next one along the walk, and leaves the rest in
// line buffers of width + 2 slots (one before pixel 0, one after the last) for the row below.
// The weights of each pixel's error are drawn from a shift register kept in the context, so the
// error spreads without the directional texture of fixed weights; the register carries on across
// calls. A variant only says how a pixel is read, whether its accumulated error is bounded, and
// how the corrected value becomes an output index and a reference colour.
#include <cstring>

#include "raster/TessroInternal.h"

namespace {

struct Weights {
    int ahead;
    int behindBelow;
    int below;
    int aheadBelow;
};

// Four-neighbour weights (sixteenths) by the two bits that leave the register, and the value the
// register is XORed with afterwards.
const Weights kFourNeighbour[4] = {{8, 3, 4, 1}, {8, 2, 4, 2}, {6, 3, 6, 1}, {6, 2, 6, 2}};
const DWORD kFourNeighbourXor[4] = {0x00, 0x65, 0xCA, 0xAF};
const DWORD kTwoNeighbourXor = 0x65;

const int kFourNeighbourShift = 4;  // weights in sixteenths
const int kTwoNeighbourShift = 2;   // weights in quarters

inline Weights DrawFourNeighbour(DWORD& state) {
    // b1 = bit 30, b0 = bit 29: the last bit shifted out by a two-bit shift and the new top bit.
    const DWORD select = (state >> 29) & 3;
    state = (state << 2) ^ kFourNeighbourXor[select];
    return kFourNeighbour[select];
}

inline Weights DrawTwoNeighbour(DWORD& state) {
    const DWORD first = state >> 31;
    state <<= 1;
    if (first) {
        state ^= kTwoNeighbourXor;
        return {2, 0, 2, 0};
    }
    const DWORD second = state >> 31;
    state <<= 1;
    if (second) {
        state ^= kTwoNeighbourXor;
        return {3, 0, 1, 0};
    }
    return {1, 0, 3, 0};
}

// round(a / 2^shift): arithmetic shift plus the last bit shifted out (halves round up).
inline int RoundShift(int a, int shift) { return (a >> shift) + ((a >> (shift - 1)) & 1); }

inline int Clamp255(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

inline int Bound(int v, int limit) { return v > limit ? limit : v < -limit ? -limit : v; }

// The walk. Variant provides kChannels, kFourNeighbours, Limit() (negative: unbounded),
// BeginRow(y), Read(x, in) and Emit(x, value, reference).
template <class Variant>
void Walk(TessroContext* context, const TessroImage& image, Variant& variant, bool carryOver) {
    const int width = image.width;
    if (width >= kTessroMaxDiffusionWidth) TessroFail(TESSRO_ERROR_BAD_BITMAP);
    const int channels = Variant::kChannels;
    std::int32_t* lines[3] = {context->errorLines[0] + 1, context->errorLines[1] + 1,
                              context->errorLines[2] + 1};
    if (!carryOver) {
        for (int c = 0; c < channels; ++c) {
            std::memset(lines[c] - 1, 0, sizeof(std::int32_t) * (width + 2));
        }
    }
    const int limit = variant.Limit();
    const int shift = Variant::kFourNeighbours ? kFourNeighbourShift : kTwoNeighbourShift;
    DWORD& state = context->randomState;
    int carried[3] = {0, 0, 0};
    for (int y = 0; y < image.height; ++y) {
        variant.BeginRow(y);
        const int step = (y & 1) ? -1 : 1;
        int x = step > 0 ? 0 : width - 1;
        for (int c = 0; c < channels; ++c) {
            carried[c] += lines[c][x];
            lines[c][x] = 0;
        }
        for (int i = 0; i < width; ++i, x += step) {
            int in[3], value[3], reference[3];
            variant.Read(x, in);
            for (int c = 0; c < channels; ++c) {
                const int acc = limit >= 0 ? Bound(carried[c], limit) : carried[c];
                value[c] = Clamp255(in[c] + RoundShift(acc, shift));
            }
            variant.Emit(x, value, reference);
            const Weights w = Variant::kFourNeighbours ? DrawFourNeighbour(state)
                                                       : DrawTwoNeighbour(state);
            for (int c = 0; c < channels; ++c) {
                const int e = value[c] - reference[c];
                std::int32_t* line = lines[c];
                if (Variant::kFourNeighbours) {
                    line[x] += w.below * e;
                    line[x - step] += w.behindBelow * e;
                    const int old = line[x + step];
                    line[x + step] = w.aheadBelow * e;
                    carried[c] = old + w.ahead * e;
                } else {
                    line[x] = w.below * e;
                    carried[c] = line[x + step] + w.ahead * e;
                }
            }
        }
    }
}

// Source pixel reader shared by the colour variants: blue, green, red in memory order.
struct ColourSource {
    const TessroImage& image;
    const BYTE* row = nullptr;
    BYTE* out = nullptr;
    explicit ColourSource(const TessroImage& i) : image(i) {}
    void BeginRow(int y) {
        row = image.sourceRows + y * image.sourceStride;
        out = image.destinationRows + y * image.destinationStride;
    }
    void Read(int x, int* in) const {
        const BYTE* p = row + 4 * x;
        in[0] = p[2];
        in[1] = p[1];
        in[2] = p[0];
    }
};

// 8-bit output through the drawing palette's inverse-colour and component tables.
template <bool FourNeighbours>
struct Palette8 : ColourSource {
    static const int kChannels = 3;
    static const bool kFourNeighbours = FourNeighbours;
    const TessroContext* context;
    Palette8(const TessroContext* c, const TessroImage& i) : ColourSource(i), context(c) {}
    int Limit() const {
        const int e = static_cast<int>(context->ditherErrorLimit);
        return FourNeighbours ? e : e / 4;
    }
    void Emit(int x, const int* value, int* reference) {
        const BYTE index = context->inverseTable[TessroInverseCell(value[0], value[1], value[2])];
        out[x] = index;
        reference[0] = static_cast<int>(context->componentRed[index]);
        reference[1] = static_cast<int>(context->componentGreen[index]);
        reference[2] = static_cast<int>(context->componentBlue[index]);
    }
};

// 4-bit output through the nearest-colour cache of the conversion palette.
struct Palette4 : ColourSource {
    static const int kChannels = 3;
    static const bool kFourNeighbours = true;
    TessroContext* context;
    const PALETTEENTRY* entries;
    int count;
    Palette4(TessroContext* c, const TessroImage& i, const PALETTEENTRY* e, int n)
        : ColourSource(i), context(c), entries(e), count(n) {}
    int Limit() const { return static_cast<int>(context->ditherErrorLimit); }
    void Emit(int x, const int* value, int* reference) {
        const int index = TessroCachedNearest(context, entries, count,
                                              TessroInverseCell(value[0], value[1], value[2]));
        BYTE& byte = out[x >> 1];
        const int shift = (x & 1) ? 0 : 4;  // the even pixel in the high nibble
        byte = static_cast<BYTE>((byte & ~(0x0F << shift)) | (index << shift));
        reference[0] = entries[index].peRed;
        reference[1] = entries[index].peGreen;
        reference[2] = entries[index].peBlue;
    }
};

// Grey levels to an 8-bit grey palette through the grey map.
struct Grey8 : ColourSource {
    static const int kChannels = 1;
    static const bool kFourNeighbours = true;
    const TessroContext* context;
    const PALETTEENTRY* entries;
    Grey8(const TessroContext* c, const TessroImage& i, const PALETTEENTRY* e)
        : ColourSource(i), context(c), entries(e) {}
    int Limit() const { return -1; }
    void Read(int x, int* in) const {
        const BYTE* p = row + 4 * x;
        in[0] = static_cast<int>(TessroGrey(context, p[2], p[1], p[0]));
    }
    void Emit(int x, const int* value, int* reference) {
        const BYTE index = context->greyMap[value[0]];
        out[x] = index;
        reference[0] = entries[index].peGreen;
    }
};

// Two colours whose components are all 0 or 255: each pixel is projected on the axis from
// entry 0 (p = 0) to entry 1 (p = 255).
struct TwoColour1 : ColourSource {
    static const int kChannels = 1;
    static const bool kFourNeighbours = true;
    const TessroContext* context;
    int invert[3] = {0, 0, 0};  // 0xFF where entry 0 holds 255 (the value is 255 - c)
    int weight[3] = {0, 0, 0};  // weighted projection in 256ths
    bool greyTables = false;    // all three channels differ: the context's grey weights
    TwoColour1(const TessroContext* c, const TessroImage& i, const PALETTEENTRY* e)
        : ColourSource(i), context(c) {
        const int first[3] = {e[0].peRed, e[0].peGreen, e[0].peBlue};
        const int second[3] = {e[1].peRed, e[1].peGreen, e[1].peBlue};
        bool differs[3];
        int differing = 0;
        for (int k = 0; k < 3; ++k) {
            differs[k] = first[k] != second[k];
            invert[k] = differs[k] && first[k] == 255 ? 0xFF : 0;
            differing += differs[k] ? 1 : 0;
        }
        if (differing == 3) {
            greyTables = true;
        } else if (differing == 1) {
            for (int k = 0; k < 3; ++k) weight[k] = differs[k] ? 256 : 0;
        } else if (differing == 2) {
            // Pairs: red-green 87/170, red-blue 188/69, green-blue 217/40.
            if (!differs[2]) {
                weight[0] = 87, weight[1] = 170;
            } else if (!differs[1]) {
                weight[0] = 188, weight[2] = 69;
            } else {
                weight[1] = 217, weight[2] = 40;
            }
        }
    }
    int Limit() const { return -1; }
    void Read(int x, int* in) const {
        const BYTE* p = row + 4 * x;
        const int r = p[2] ^ invert[0], g = p[1] ^ invert[1], b = p[0] ^ invert[2];
        in[0] = greyTables ? static_cast<int>(TessroGrey(context, r, g, b))
                           : (weight[0] * r + weight[1] * g + weight[2] * b) >> 8;
    }
    void Emit(int x, const int* value, int* reference) {
        const int bit = value[0] > 127 ? 1 : 0;
        BYTE& byte = out[x >> 3];
        const int mask = 0x80 >> (x & 7);
        byte = static_cast<BYTE>((byte & ~mask) | (bit ? mask : 0));
        reference[0] = bit ? 255 : 0;
    }
};

}  // namespace

int TessroCachedNearest(TessroContext* context, const PALETTEENTRY* entries, int count, DWORD cell) {
    std::int16_t& cached = context->nearestCache[cell];
    if (cached < 0) {
        // The search aims at the centre of the cell: each 5-bit level widened, rounded.
        const DWORD r = ((cell & 31) * 255 + 15) / 31;
        const DWORD g = (((cell >> 5) & 31) * 255 + 15) / 31;
        const DWORD b = ((cell >> 10) * 255 + 15) / 31;
        cached = static_cast<std::int16_t>(TessroNearestEntry(entries, count, r, g, b));
    }
    return cached;
}

void TessroDiffuse8TwoNeighbour(TessroContext* context, const TessroImage& image, bool carryOver) {
    Palette8<false> variant(context, image);
    Walk(context, image, variant, carryOver);
}

void TessroDiffuse8FourNeighbour(TessroContext* context, const TessroImage& image, bool carryOver) {
    Palette8<true> variant(context, image);
    Walk(context, image, variant, carryOver);
}

void TessroDiffuse4(TessroContext* context, const TessroImage& image, const PALETTEENTRY* entries,
                    int count, bool carryOver) {
    Palette4 variant(context, image, entries, count);
    Walk(context, image, variant, carryOver);
}

void TessroDiffuseGrey8(TessroContext* context, const TessroImage& image,
                        const PALETTEENTRY* entries, bool carryOver) {
    Grey8 variant(context, image, entries);
    Walk(context, image, variant, carryOver);
}

void TessroDiffuse1(TessroContext* context, const TessroImage& image, const PALETTEENTRY* entries,
                    bool carryOver) {
    TwoColour1 variant(context, image, entries);
    Walk(context, image, variant, carryOver);
}
