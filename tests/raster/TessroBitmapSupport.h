// Bitmap-fill test helpers: source headers and a fixture that lays a source (or an 8-bit mask)
// onto device pixels, one texel per pixel.
#pragma once

#include "raster/TessroBitmapApi.h"
#include "tests/raster/TessroDrawSupport.h"

inline BITMAPINFOHEADER SourceHeader(LONG width, LONG height, WORD bits, DWORD compression = 0) {
    BITMAPINFOHEADER h = Header(width, height, bits);
    h.biCompression = compression;
    return h;
}

class BitmapDrawTest : public DrawTest {
protected:
    int SetFill(const BITMAPINFOHEADER& h, const void* bits, DWORD style, double x, double y,
                const RGBQUAD* palette = nullptr, double scale = 1.0) {
        const TessroPoint p0 = Device(x, y), p1 = Device(x + h.biWidth * scale, y),
                          p2 = Device(x, y + h.biHeight * scale);
        return TessroSetBitmapFill(ctx, &h, bits, style, &p0, &p1, &p2, 0, palette, nullptr, nullptr, nullptr,
                                   nullptr, 0);
    }
    int SetMask(const BITMAPINFOHEADER& h, const void* bits, DWORD tile, double x, double y, DWORD outside = 0,
                const BYTE* table = nullptr) {
        const TessroPoint p0 = Device(x, y), p1 = Device(x + h.biWidth, y), p2 = Device(x, y + h.biHeight);
        return TessroSetBitmapMask(ctx, &h, bits, tile, &p0, &p1, &p2, outside, table, 0);
    }
};
