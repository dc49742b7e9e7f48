// Bit-depth conversion: validation, the choice of one quantizer per call by depths and mode, and
// every quantizer but error diffusion (TessroDiffuse.cpp).
//
// Rows are walked from the first in memory (y = 0 there); x counts from each row's start. Rows
// are padded to 4 bytes except where a mode says otherwise.
#include <cstring>

#include "raster/TessroInternal.h"

namespace {

const DWORD kModeMask = 0xFF;

// Ordered-dither ranks, by row and column.
const int kRanks[4][4] = {{0, 12, 3, 15}, {8, 4, 11, 7}, {2, 14, 1, 13}, {10, 6, 9, 5}};
// round(3.2 x rank): the 6-level cube offsets of the 8-bit ordered quantizer.
const int kCubeOffsets[16] = {0, 3, 6, 10, 13, 16, 19, 22, 26, 29, 32, 35, 38, 42, 45, 48};
// round(16 x rank / 15): offsets into the grey ramp (two ramp steps per grey level).
const int kGreyRampOffsets[16] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 16};
const int kCubeStep = 51;
// 4-bit ordered: a channel (or bright) bit is on when value + 8 x rank reaches this.
const int kFourBitThreshold = 124;
const int kFourBitRankScale = 8;

const PALETTEENTRY kDefaultTwoColours[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
const PALETTEENTRY kDefaultSixteenColours[16] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},   {0, 128, 0, 0},   {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0}, {0, 128, 128, 0}, {128, 128, 128, 0},
    {192, 192, 192, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},   {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0},
};

const int kMaxFourBitEntries = 16;

struct Job {
    TessroContext* context;
    TessroImage image;
    DWORD mode;       // low byte
    bool carryOver;   // the continue flag
    const PALETTEENTRY* entries;  // conversion palette (or a default), as far as it is read
    int count;
    DWORD background;  // 32-to-32 mode 1
    int layout;        // 16-bit layout of the 2 x 2 ordered packing
    bool swapRedBlue;  // 32-to-24 copy
};

typedef void (*Quantizer)(Job& job);

inline const BYTE* SourceRow(const Job& job, int y) {
    return job.image.sourceRows + y * job.image.sourceStride;
}
inline BYTE* DestinationRow(const Job& job, int y) {
    return job.image.destinationRows + y * job.image.destinationStride;
}

// Writes one bit, most significant first, keeping the other bits of the byte.
inline void PutBit(BYTE* row, int x, int bit) {
    const int mask = 0x80 >> (x & 7);
    row[x >> 3] = static_cast<BYTE>((row[x >> 3] & ~mask) | (bit ? mask : 0));
}

// Writes one nibble, the even pixel in the high half.
inline void PutNibble(BYTE* row, int x, int index) {
    const int shift = (x & 1) ? 0 : 4;
    row[x >> 1] = static_cast<BYTE>((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
}

inline DWORD PixelGrey(const TessroContext* context, const BYTE* p) {
    return TessroGrey(context, p[2], p[1], p[0]);
}

// ---- 16 and 24 to wider ----

void Expand16To24(Job& job) {
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            const DWORD v = in[2 * x] | (in[2 * x + 1] << 8);
            const DWORD r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            out[3 * x] = static_cast<BYTE>((b << 3) | (b >> 2));
            out[3 * x + 1] = static_cast<BYTE>((g << 3) | (g >> 2));
            out[3 * x + 2] = static_cast<BYTE>((r << 3) | (r >> 2));
        }
    }
}

void Expand24To32(Job& job) {
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            out[4 * x] = in[3 * x];
            out[4 * x + 1] = in[3 * x + 1];
            out[4 * x + 2] = in[3 * x + 2];
            out[4 * x + 3] = 0;
        }
    }
}

// ---- 32 to 24 and 16 ----

void Copy32To24(Job& job) {
    const int first = job.swapRedBlue ? 2 : 0;
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            out[3 * x] = in[4 * x + first];
            out[3 * x + 1] = in[4 * x + 1];
            out[3 * x + 2] = in[4 * x + 2 - first];
        }
    }
}

struct OrderedLayout {
    int bits[3];    // red, green, blue
    int shifts[3];  // 16-bit packing
};
const OrderedLayout kOrderedLayouts[4] = {
    {{5, 6, 5}, {11, 5, 0}},
    {{6, 5, 5}, {10, 5, 0}},
    {{5, 5, 5}, {10, 5, 0}},
    {{6, 6, 4}, {10, 4, 0}},
};

// The 2 x 2 cell number of a pixel: 3 when the row and column terms are both even, 0 for an
// even row and odd column, 1 for an odd row and even column, 2 when both are odd.
const int kCellNumbers[2][2] = {{3, 0}, {1, 2}};

// Per channel and cell: level = min(2^b - 1, (v + k x q / 4) / q), q = 256 >> b.
template <bool To16>
void Ordered32(Job& job) {
    const OrderedLayout& layout = kOrderedLayouts[job.layout];
    const TessroContext* context = job.context;
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        const int rowTerm = (context->ditherOriginY + y) & 1;
        for (int x = 0; x < job.image.width; ++x) {
            const int k = kCellNumbers[rowTerm][(context->ditherOriginX - x) & 1];
            const int values[3] = {in[4 * x + 2], in[4 * x + 1], in[4 * x]};
            int levels[3];
            for (int c = 0; c < 3; ++c) {
                const int bits = layout.bits[c];
                const int q = 256 >> bits;
                const int level = (values[c] + k * q / 4) / q;
                const int top = (1 << bits) - 1;
                levels[c] = level > top ? top : level;
            }
            if (To16) {
                const DWORD pixel = (levels[0] << layout.shifts[0]) |
                                    (levels[1] << layout.shifts[1]) | levels[2];
                out[2 * x] = static_cast<BYTE>(pixel);
                out[2 * x + 1] = static_cast<BYTE>(pixel >> 8);
            } else {
                out[3 * x] = static_cast<BYTE>(levels[2] * (256 >> layout.bits[2]));
                out[3 * x + 1] = static_cast<BYTE>(levels[1] * (256 >> layout.bits[1]));
                out[3 * x + 2] = static_cast<BYTE>(levels[0] * (256 >> layout.bits[0]));
            }
        }
    }
}

// ---- 32 to 32 ----

// Undoes the premultiplication by the opacity 255 - t; opaque and clear pixels keep the
// destination's colour bytes. WriteOpacity stores 255 - t instead of t.
template <bool WriteOpacity>
void Unpremultiply32(Job& job) {
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            const int t = in[4 * x + 3];
            if (t != 0 && t != 255) {
                const int opacity = 255 - t;
                for (int c = 0; c < 3; ++c) {
                    const int v = in[4 * x + c];
                    out[4 * x + c] = static_cast<BYTE>(
                        v >= opacity ? 255 : (v * 255 + (opacity >> 1)) / opacity);
                }
            }
            out[4 * x + 3] = static_cast<BYTE>(WriteOpacity ? 255 - t : t);
        }
    }
}

// Adds the background in proportion to each pixel's transparency, in place.
void OverBackground32(Job& job) {
    const int background[3] = {static_cast<int>(TessroBlue(job.background)),
                               static_cast<int>(TessroGreen(job.background)),
                               static_cast<int>(TessroRed(job.background))};
    for (int y = 0; y < job.image.height; ++y) {
        BYTE* row = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            BYTE* p = row + 4 * x;
            const int t = p[3];
            if (t == 0) continue;
            for (int c = 0; c < 3; ++c) {
                const int v = p[c] + (t * background[c] + 127) / 255;
                p[c] = static_cast<BYTE>(v > 255 ? 255 : v);
            }
        }
    }
}

// ---- 32 to 1 ----

void Nearest1(Job& job) {
    const PALETTEENTRY* e = job.entries;
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            const int r = in[4 * x + 2], g = in[4 * x + 1], b = in[4 * x];
            const int d0 = (r - e[0].peRed) * (r - e[0].peRed) +
                           (g - e[0].peGreen) * (g - e[0].peGreen) +
                           (b - e[0].peBlue) * (b - e[0].peBlue);
            const int d1 = (r - e[1].peRed) * (r - e[1].peRed) +
                           (g - e[1].peGreen) * (g - e[1].peGreen) +
                           (b - e[1].peBlue) * (b - e[1].peBlue);
            PutBit(out, x, d1 < d0 ? 1 : 0);
        }
    }
}

void Threshold1(Job& job) {
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            PutBit(out, x, PixelGrey(job.context, in + 4 * x) >= 128 ? 1 : 0);
        }
    }
}

void Ordered1(Job& job) {
    const TessroContext* context = job.context;
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        const int* ranks = kRanks[(context->ditherOriginY + y) & 3];
        for (int x = 0; x < job.image.width; ++x) {
            const int level = static_cast<int>((17 * PixelGrey(context, in + 4 * x)) >> 8);
            PutBit(out, x, level > ranks[(x - context->ditherOriginX) & 3] ? 1 : 0);
        }
    }
}

void Diffuse1(Job& job) { TessroDiffuse1(job.context, job.image, job.entries, job.carryOver); }

// ---- 32 to 4 ----

void Diffuse4(Job& job) {
    TessroDiffuse4(job.context, job.image, job.entries, job.count, job.carryOver);
}

void Nearest4(Job& job) {
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            const BYTE* p = in + 4 * x;
            PutNibble(out, x, TessroCachedNearest(job.context, job.entries, job.count,
                                                  TessroInverseCell(p[2], p[1], p[0])));
        }
    }
}

void Grey4(Job& job) {
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            PutNibble(out, x, static_cast<int>(PixelGrey(job.context, in + 4 * x) >> 4));
        }
    }
}

// One pixel of the palette-independent 4-bit ordered dither at rank m: greys step through
// black, grey 128, grey 192 and white; colours light a channel bit when value + 8m reaches the
// threshold, and a dominant channel above 127 lends its excess to the bright bit.
int OrderedFourBitPixel(int r, int g, int b, int m) {
    const int offset = kFourBitRankScale * m;
    const auto on = [offset](int v) { return v + offset >= kFourBitThreshold ? 1 : 0; };
    if (r == g && g == b) {
        // The grey bands of the flat-colour dither, with the rank reversed to match the colours.
        const int level = r <= 128 ? (r + 4) / 8 : 16 + (r - 126) / 4;
        const int threshold = 15 - m;
        if (level <= 16) return level > threshold ? 7 : 0;
        if (level <= 32) return level - 16 > threshold ? 8 : 7;
        return level - 32 > threshold ? 15 : 8;
    }
    const int top = r > g ? (r > b ? r : b) : (g > b ? g : b);
    if (top <= 127) return on(r) | (on(g) << 1) | (on(b) << 2);
    const int excess = top - 128;
    int pixel = on(excess) << 3;
    if (r == top) {
        pixel |= 1 | (on(TessroReduceByExcess(g, excess)) << 1) |
                 (on(TessroReduceByExcess(b, excess)) << 2);
    } else if (g == top) {
        pixel |= 2 | on(TessroReduceByExcess(r, excess)) |
                 (on(TessroReduceByExcess(b, excess)) << 2);
    } else {
        pixel |= 4 | on(TessroReduceByExcess(r, excess)) |
                 (on(TessroReduceByExcess(g, excess)) << 1);
    }
    return pixel;
}

void Ordered4(Job& job) {
    const TessroContext* context = job.context;
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        const int* ranks = kRanks[(context->ditherOriginY + y) & 3];
        for (int x = 0; x < job.image.width; ++x) {
            const BYTE* p = in + 4 * x;
            const int m = ranks[(x - context->ditherOriginX - 1) & 3];
            PutNibble(out, x, OrderedFourBitPixel(p[2], p[1], p[0], m));
        }
    }
}

// Exact colours: the colours seen in this call keep the palette index they were first given;
// once the list is full, a further new colour takes the index of the first one.
class SeenColours {
public:
    SeenColours(TessroContext* context, const PALETTEENTRY* entries, int count, int capacity)
        : context_(context), entries_(entries), count_(count), capacity_(capacity) {}
    int IndexOf(DWORD rgb) {
        if (used_ > 0 && context_->seenColours[last_] == rgb) return context_->seenIndices[last_];
        for (int i = 0; i < used_; ++i) {
            if (context_->seenColours[i] == rgb) {
                last_ = i;
                return context_->seenIndices[i];
            }
        }
        if (used_ == capacity_) return context_->seenIndices[0];
        const int index =
            TessroNearestEntry(entries_, count_, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        context_->seenColours[used_] = rgb;
        context_->seenIndices[used_] = static_cast<BYTE>(index);
        last_ = used_++;
        return index;
    }

private:
    TessroContext* context_;
    const PALETTEENTRY* entries_;
    int count_;
    int capacity_;
    int used_ = 0;
    int last_ = 0;
};

inline DWORD PixelWord(const BYTE* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}

// A clear pixel with a non-black colour: the value is above 0xFF000000.
const DWORD kClearAndBlack = 0xFF000000u;

void Exact4(Job& job) {
    SeenColours seen(job.context, job.entries, job.count, kMaxFourBitEntries);
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            const DWORD word = PixelWord(in + 4 * x);
            PutNibble(out, x, word > kClearAndBlack ? 0 : seen.IndexOf(word & 0x00FFFFFFu));
        }
    }
}

// ---- 32 to 8 ----

void Diffuse8Two(Job& job) { TessroDiffuse8TwoNeighbour(job.context, job.image, job.carryOver); }
void Diffuse8Four(Job& job) { TessroDiffuse8FourNeighbour(job.context, job.image, job.carryOver); }

void Nearest8(Job& job) {
    const TessroContext* context = job.context;
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            const BYTE* p = in + 4 * x;
            out[x] = context->inverseTable[TessroInverseCell(p[2], p[1], p[0])];
        }
    }
}

inline int CubeIndex(const BYTE* p, int offset) {
    const int r = (p[2] + offset + 1) / kCubeStep;
    const int g = (p[1] + offset + 1) / kCubeStep;
    const int b = (p[0] + offset + 1) / kCubeStep;
    return r + 6 * g + 36 * b;
}

template <bool GreyRamp>
void Ordered8(Job& job) {
    const TessroContext* context = job.context;
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        const int* ranks = kRanks[(context->ditherOriginY + y) & 3];
        for (int x = 0; x < job.image.width; ++x) {
            const BYTE* p = in + 4 * x;
            const int k = ranks[(x - context->ditherOriginX - 1) & 3];
            if (GreyRamp && p[0] == p[1] && p[1] == p[2]) {
                out[x] = context->greyRamp[2 * p[0] + kGreyRampOffsets[k]];
            } else {
                out[x] = context->cubeMap[CubeIndex(p, kCubeOffsets[k])];
            }
        }
    }
}

void GreyMap8(Job& job) {
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            out[x] = job.context->greyMap[PixelGrey(job.context, in + 4 * x)];
        }
    }
}

void DiffuseGrey8(Job& job) {
    TessroDiffuseGrey8(job.context, job.image, job.entries, job.carryOver);
}

void Exact8(Job& job) {
    SeenColours seen(job.context, job.entries, job.count, kTessroMaxPaletteEntries);
    for (int y = 0; y < job.image.height; ++y) {
        const BYTE* in = SourceRow(job, y);
        BYTE* out = DestinationRow(job, y);
        for (int x = 0; x < job.image.width; ++x) {
            const DWORD word = PixelWord(in + 4 * x);
            if (word > kClearAndBlack) continue;
            out[x] = static_cast<BYTE>(seen.IndexOf(word & 0x00FFFFFFu));
        }
    }
}

// ---- Dispatch ----

// Bytes per row padded to 4 (or 2) bytes, in 64 bits so that no size can wrap.
std::int64_t Stride(std::int64_t width, int bits, int padding) {
    const std::int64_t bytes = (width * bits + 7) / 8;
    return (bytes + padding - 1) / padding * padding;
}

void BuildGreyMap(TessroContext* context, const PALETTEENTRY* entries, int count) {
    for (int g = 0; g < 256; ++g) {
        int best = 0;
        int bestDistance = 0x7FFFFFFF;
        for (int i = count - 1; i >= 0; --i) {
            if (entries[i].peFlags & 0x80) continue;
            const int d = entries[i].peGreen - g;
            const int distance = d < 0 ? -d : d;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        context->greyMap[g] = static_cast<BYTE>(best);
    }
}

// The conversion palette as far as a destination of `limit` indices can use it, or the default.
void UseConversionPalette(Job& job, const PALETTEENTRY* defaults, int defaultCount, int limit,
                          bool required) {
    const LOGPALETTE* palette = job.context->conversionPalette;
    if (palette == nullptr) {
        if (required) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        job.entries = defaults;
        job.count = defaultCount;
        return;
    }
    job.entries = palette->palPalEntry;
    job.count = palette->palNumEntries < limit ? palette->palNumEntries : limit;
    // Every search needs at least one entry it may choose.
    if (!TessroHasUsableEntry(job.entries, job.count)) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
}

bool AllZeroOr255(const PALETTEENTRY& e) {
    const auto extreme = [](BYTE v) { return v == 0 || v == 255; };
    return extreme(e.peRed) && extreme(e.peGreen) && extreme(e.peBlue);
}

Quantizer ChooseTo1(Job& job) {
    const DWORD mode = job.mode;
    if (mode == 5) return Threshold1;
    if (mode != 3 && mode != 4) return Ordered1;
    UseConversionPalette(job, kDefaultTwoColours, 2, 2, false);
    // Both entries are read: a one-entry palette has no second colour to choose.
    if (job.count < 2) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    if (mode == 3 && AllZeroOr255(job.entries[0]) && AllZeroOr255(job.entries[1])) return Diffuse1;
    return Nearest1;
}

Quantizer ChooseTo4(Job& job) {
    switch (job.mode) {
        case 0:
        case 3:
            UseConversionPalette(job, kDefaultSixteenColours, 16, kMaxFourBitEntries, false);
            return Diffuse4;
        case 4:
            UseConversionPalette(job, kDefaultSixteenColours, 16, kMaxFourBitEntries, false);
            return Nearest4;
        case 5: return Grey4;
        case 7:
            UseConversionPalette(job, nullptr, 0, kMaxFourBitEntries, true);
            return Exact4;
        default: return Ordered4;
    }
}

Quantizer ChooseTo8(Job& job) {
    switch (job.mode) {
        case 0: return Diffuse8Two;
        case 3: return Diffuse8Four;
        case 4: return Nearest8;
        case 2: return Ordered8<true>;
        case 5:
            UseConversionPalette(job, nullptr, 0, kTessroMaxPaletteEntries, true);
            return GreyMap8;
        case 6:
            UseConversionPalette(job, nullptr, 0, kTessroMaxPaletteEntries, true);
            return DiffuseGrey8;
        case 7:
            UseConversionPalette(job, nullptr, 0, kTessroMaxPaletteEntries, true);
            return Exact8;
        default: return Ordered8<false>;
    }
}

void Convert(TessroContext* context, const BITMAPINFOHEADER* sourceHeader, const void* sourceBits,
             const BITMAPINFOHEADER* destinationHeader, void* destinationBits, DWORD mode) {
    if (sourceHeader == nullptr || destinationHeader == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    if (sourceHeader->biWidth != destinationHeader->biWidth ||
        sourceHeader->biHeight != destinationHeader->biHeight) {
        TessroFail(TESSRO_ERROR_INCOMPATIBLE_BITMAPS);
    }
    const std::int32_t width = sourceHeader->biWidth, height = sourceHeader->biHeight;
    if (width <= 0 || height <= 0) TessroFail(TESSRO_ERROR_BAD_BITMAP);
    if (sourceHeader->biPlanes != 1 || destinationHeader->biPlanes != 1) TessroFail(TESSRO_ERROR_BAD_BITMAP);

    Job job{};
    job.context = context;
    job.mode = mode & kModeMask;
    job.carryOver = (mode & TESSRO_CONVERT_CONTINUE) != 0;
    job.image.width = width;
    job.image.height = height;

    const int sourceDepth = sourceHeader->biBitCount;
    const int destinationDepth = destinationHeader->biBitCount;
    int destinationPadding = 4;
    bool inPlace = false;
    Quantizer quantizer = nullptr;
    if (sourceDepth == 32) {
        switch (destinationDepth) {
            case 32:
                if (job.mode == 0) {
                    quantizer = Unpremultiply32<false>;
                } else if (job.mode == 2) {
                    quantizer = Unpremultiply32<true>;
                } else if (job.mode == 1 && sourceHeader == destinationHeader) {
                    quantizer = OverBackground32;
                    inPlace = true;
                    job.background = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(destinationBits));
                } else {
                    TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
                }
                break;
            case 24:
                if (job.mode >= 8 && job.mode <= 11) {
                    quantizer = Copy32To24;
                    job.swapRedBlue = job.mode >= 10;
                    destinationPadding = (job.mode == 9 || job.mode == 11) ? 2 : 4;
                } else {
                    quantizer = Ordered32<false>;
                    job.layout = job.mode > 3 ? 2 : static_cast<int>(job.mode);
                }
                break;
            case 16:
                quantizer = Ordered32<true>;
                job.layout = job.mode > 3 ? 2 : static_cast<int>(job.mode);
                break;
            case 8: quantizer = ChooseTo8(job); break;
            case 4: quantizer = ChooseTo4(job); break;
            case 1: quantizer = ChooseTo1(job); break;
            default: TessroFail(TESSRO_ERROR_BAD_BITMAP);
        }
    } else if (sourceDepth == 24 && destinationDepth == 32) {
        quantizer = Expand24To32;
    } else if (sourceDepth == 16 && destinationDepth == 24) {
        quantizer = Expand16To24;
    } else {
        TessroFail(TESSRO_ERROR_BAD_BITMAP);
    }

    // Rows must be addressable: a size that cannot be represented is a bad bitmap, not a wrap.
    const std::int64_t sourceStride = Stride(width, sourceDepth, 4);
    const std::int64_t destinationStride = Stride(width, destinationDepth, destinationPadding);
    const std::int64_t maxBytes = PTRDIFF_MAX;
    if (sourceStride > maxBytes / height || destinationStride > maxBytes / height) {
        TessroFail(TESSRO_ERROR_BAD_BITMAP);
    }
    if (sourceBits == nullptr || (!inPlace && destinationBits == nullptr)) {
        TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    }
    job.image.sourceRows = static_cast<const BYTE*>(sourceBits);
    job.image.sourceStride = static_cast<std::ptrdiff_t>(sourceStride);
    // Background mode works on the source bits themselves.
    job.image.destinationRows =
        inPlace ? const_cast<BYTE*>(static_cast<const BYTE*>(sourceBits)) : static_cast<BYTE*>(destinationBits);
    job.image.destinationStride = static_cast<std::ptrdiff_t>(inPlace ? sourceStride : destinationStride);

    // Per-call scratch: the nearest-colour cache is cleared, the grey map rebuilt unless the
    // grey diffusion continues a previous strip.
    if (quantizer == Diffuse4 || quantizer == Nearest4) {
        std::memset(context->nearestCache, 0xFF, sizeof(context->nearestCache));
    }
    if (quantizer == GreyMap8 || (quantizer == DiffuseGrey8 && !job.carryOver)) {
        BuildGreyMap(context, job.entries, job.count);
    }
    quantizer(job);
}

}  // namespace

int TessroConvertBitmap(TessroContext* context, const BITMAPINFOHEADER* sourceHeader,
                        const void* sourceBits, const BITMAPINFOHEADER* destinationHeader,
                        void* destinationBits, DWORD mode) {
    return TessroEntry(context, [&] {
        Convert(context, sourceHeader, sourceBits, destinationHeader, destinationBits, mode);
        return 0;
    });
}

int TessroSetConversionPalette(TessroContext* context, const LOGPALETTE* palette) {
    return TessroEntry(context, [&] {
        context->conversionPalette = palette;
        return 0;
    });
}

int TessroSetDitherErrorLimit(TessroContext* context, DWORD levels) {
    return TessroEntry(context, [&] {
        context->ditherErrorLimit = 16 * (levels >= 256 ? 256 : levels);
        return 0;
    });
}
