// Scrolling the target by whole pixels, and the integer square root.
#include "raster/TessroScroll.h"

#include <cstring>

#include "raster/TessroDrawInternal.h"
#include "raster/TessroPathApi.h"

namespace {

int BitsPerPixel(DWORD format) {
    static const int kBits[8] = {1, 2, 4, 8, 8, 16, 32, 32};
    return kBits[format & 7];
}

// Pixel x of a packed row of 1, 2 or 4 bits per pixel, most significant bits first.
int GetPacked(const BYTE* row, std::int64_t x, int bits) {
    const std::int64_t bit = x * bits;
    const int shift = 8 - bits - static_cast<int>(bit & 7);
    return (row[bit >> 3] >> shift) & ((1 << bits) - 1);
}
void SetPacked(BYTE* row, std::int64_t x, int bits, int value) {
    const std::int64_t bit = x * bits;
    const int shift = 8 - bits - static_cast<int>(bit & 7);
    const int mask = ((1 << bits) - 1) << shift;
    row[bit >> 3] = static_cast<BYTE>((row[bit >> 3] & ~mask) | ((value << shift) & mask));
}

// Moves the row's content by dx pixels toward larger x (negative: smaller x); the pixels the
// move uncovers keep their values.
void ShiftRow(BYTE* row, std::int32_t rowBytes, std::int32_t dx, int bits) {
    const std::int64_t pixels = static_cast<std::int64_t>(rowBytes) * 8 / bits;
    if (bits % 8 == 0) {
        const std::int64_t bytes = static_cast<std::int64_t>(dx) * (bits / 8);
        if (bytes > 0) {
            std::memmove(row + bytes, row, static_cast<size_t>(rowBytes - bytes));
        } else {
            std::memmove(row, row - bytes, static_cast<size_t>(rowBytes + bytes));
        }
        return;
    }
    // 1, 2 and 4 bits: pixel by pixel, in the direction that never overwrites unread input.
    if (dx > 0) {
        for (std::int64_t x = pixels - 1; x >= dx; --x) SetPacked(row, x, bits, GetPacked(row, x - dx, bits));
    } else {
        for (std::int64_t x = 0; x < pixels + dx; ++x) SetPacked(row, x, bits, GetPacked(row, x - dx, bits));
    }
}

struct SquareRoots {
    BYTE entries[65536];
    SquareRoots() {
        std::uint32_t r = 0;
        for (std::uint32_t i = 0; i < 65536; ++i) {
            while ((r + 1) * (r + 1) <= i) ++r;
            entries[i] = static_cast<BYTE>(r);
        }
    }
};

}  // namespace

std::uint32_t IntegerSquareRoot(std::uint64_t v) {
    static const SquareRoots table;
    if (v < 65536) return table.entries[v];
    // Normalise so that the top two bits are not both zero, estimate from the top 16 bits,
    // then settle the remaining result bits one at a time (restoring method).
    int s = 0;
    while ((v << (2 * s)) >> 62 == 0) ++s;
    const std::uint64_t n = v << (2 * s);
    std::uint64_t root = table.entries[n >> 48];
    std::uint64_t remainder = (n >> 48) - root * root;
    for (int shift = 46; shift >= 0; shift -= 2) {
        remainder = (remainder << 2) | ((n >> shift) & 3);
        const std::uint64_t trial = (root << 2) | 1;  // 2 * (2 root) + 1
        root <<= 1;
        if (remainder >= trial) {
            remainder -= trial;
            root |= 1;
        }
    }
    return static_cast<std::uint32_t>(root >> s);
}

int TessroScrollBitmap(TessroContext* context, std::int32_t dx, std::int32_t dy) {
    return TessroEntry(context, [&] {
        if (context->rowZero == nullptr) TessroFail(TESSRO_ERROR_NO_BITMAP);
        const int bits = BitsPerPixel(context->targetFormat);
        const std::int32_t width = context->targetWidth, height = context->targetHeight;
        const std::int32_t rowBytes = context->rowSize;
        // The origins wrap as 32-bit values rather than overflow.
        context->ditherOriginX = static_cast<std::int32_t>(static_cast<DWORD>(context->ditherOriginX) + static_cast<DWORD>(dx));
        // A shift reaching the row width (or the height) keeps nothing: the content stays.
        if (dx != 0 && (dx < width && dx > -width)) {
            for (std::int32_t r = 0; r < height; ++r) {
                ShiftRow(context->rowZero + static_cast<std::ptrdiff_t>(r) * context->rowStep, rowBytes, dx, bits);
            }
        }
        context->ditherOriginY = static_cast<std::int32_t>(static_cast<DWORD>(context->ditherOriginY) + static_cast<DWORD>(dy));
        if (dy != 0 && (dy < height && dy > -height)) {
            auto row = [&](std::int32_t r) {
                return context->rowZero + static_cast<std::ptrdiff_t>(r) * context->rowStep;
            };
            if (dy > 0) {
                for (std::int32_t r = 0; r < height - dy; ++r) std::memmove(row(r), row(r + dy), rowBytes);
            } else {
                for (std::int32_t r = height - 1; r >= -dy; --r) std::memmove(row(r), row(r + dy), rowBytes);
            }
        }
        return 0;
    });
}
