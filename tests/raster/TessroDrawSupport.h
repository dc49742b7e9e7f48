// Drawing-test helpers: a caller bitmap sized exactly to its rows (so that a write past the
// last row shows under AddressSanitizer), pixel access by depth, and user coordinates for the
// default matrix (user y counts up from the bottom edge).
#pragma once

#include <cstring>
#include <vector>

#include "framework/core/NumericConvert.h"
#include "raster/TessroDrawInternal.h"
#include "tests/raster/TessroTestSupport.h"

class Target {
public:
    Target(LONG width, LONG height, WORD bits, DWORD compression = 0)
        : header_(Header(width, height, bits)) {
        header_.biCompression = compression;
        stride_ = ((width * bits + 31) / 32) * 4;
        bytes_.assign(static_cast<size_t>(stride_) * height, 0);
    }
    const BITMAPINFOHEADER* header() const { return &header_; }
    BYTE* bits() { return bytes_.data(); }
    std::vector<BYTE>& bytes() { return bytes_; }
    int stride() const { return stride_; }
    // Pixel (x, y) of device row y (row 0 first in memory).
    DWORD Pixel(int x, int y) const {
        const BYTE* row = bytes_.data() + static_cast<size_t>(y) * stride_;
        switch (header_.biBitCount) {
            case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
            case 2: return (row[x / 4] >> (6 - 2 * (x % 4))) & 3;
            case 4: return (row[x / 2] >> ((x % 2) ? 0 : 4)) & 15;
            case 8: return row[x];
            case 16: return row[2 * x] | (row[2 * x + 1] << 8);
            default: {
                DWORD v;
                std::memcpy(&v, row + 4 * x, 4);
                return v;
            }
        }
    }

private:
    BITMAPINFOHEADER header_;
    int stride_;
    std::vector<BYTE> bytes_;
};

// 16.16 user coordinates; points beyond their range (some tests go there on purpose) take its
// ends.
inline TessroPoint User(double x, double y) {
    return {ClampToInt(x * 65536.0), ClampToInt(y * 65536.0)};
}

class DrawTest : public TessroTest {
protected:
    void Attach(Target& t, DWORD mode = 0) {
        height_ = t.header()->biHeight;
        ASSERT_EQ(0, TessroSetBitmap(ctx, t.header(), t.bits(), mode));
    }
    // A point given in device pixels on a target of height h (default matrix).
    TessroPoint Device(double x, double y) const { return User(x, height_ - y); }
    // Fills device pixels [x0, x1) x [y0, y1).
    int FillDevice(int x0, int y0, int x1, int y1) {
        const TessroPoint rect[2] = {Device(x0, y0), Device(x1, y1)};
        return TessroFillRectangle(ctx, rect);
    }
    std::vector<DWORD> Changed() {
        std::int32_t r[4];
        EXPECT_EQ(0, TessroGetChangedBounds(ctx, r));
        return {static_cast<DWORD>(r[0]), static_cast<DWORD>(r[1]), static_cast<DWORD>(r[2]),
                static_cast<DWORD>(r[3])};
    }
    double height_ = 0;
};

const std::vector<DWORD> kEmptyChange = {0x7FFFFFFF, 0x7FFFFFFF, 0x80000000, 0x80000000};
