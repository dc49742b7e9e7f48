// Pixel writers of the graduation spans: each stores the part of a table entry that belongs
// to column x. On 32-bit targets the entry is the colour itself; on the others it is a pattern
// dword of the dither row (y AND 3), whose bytes, nibbles or bits are placed by column.
#pragma once

#include <cstdint>
#include <cstring>

#include "raster/TessroDrawInternal.h"

namespace tessro_pixels {

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
    static void Put(BYTE* row, std::int32_t x, DWORD entry) { row[x] = static_cast<BYTE>(entry >> (8 * (x & 3))); }
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

// The entries that row y reads: the dither row of the pattern tables, or the colours.
template <class Writer>
const DWORD* RowEntries(const TessroContext* context, std::int32_t y, DWORD length) {
    const DWORD* entries = context->draw.tableEntries;
    return Writer::kDithered ? entries + static_cast<std::ptrdiff_t>(y & 3) * length : entries;
}

template <class Writer>
void PutRun(BYTE* row, std::int32_t x0, std::int32_t x1, DWORD entry) {
    for (std::int32_t x = x0; x < x1; ++x) Writer::Put(row, x, entry);
}

// The span routine of Family<Writer> for the target format; null for formats without one
// (2 bits).
template <template <class> class Family>
TessroSpanFunc ForFormat(DWORD format) {
    switch (format) {
        case kTessroFormat1: return Family<Write1>::Span;
        case kTessroFormat4: return Family<Write4>::Span;
        case kTessroFormat8Palette:
        case kTessroFormat8Grey: return Family<Write8>::Span;
        case kTessroFormat16: return Family<Write16>::Span;
        case kTessroFormat32:
        case kTessroFormat32Alpha: return Family<Write32>::Span;
        default: return nullptr;
    }
}

}  // namespace tessro_pixels
