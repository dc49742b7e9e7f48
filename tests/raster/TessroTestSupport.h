// Shared fixture of the rasterizer tests: a zero-filled, initialised context with counting
// memory handlers, palettes sized exactly to their entries (so that a read past the last entry
// shows under AddressSanitizer), and bitmap headers.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "raster/TessroInternal.h"

struct CountingAllocator {
    static int allocations;
    static int releases;
    static bool failNext;
    static void* Alloc(DWORD size) {
        if (failNext) {
            failNext = false;
            return nullptr;
        }
        ++allocations;
        return ::operator new(size);
    }
    static void Free(void* block) {
        ++releases;
        ::operator delete(block);
    }
    static void Reset() { allocations = releases = 0, failNext = false; }
};

class TessroTest : public ::testing::Test {
protected:
    void SetUp() override {
        CountingAllocator::Reset();
        storage_.assign(TessroGetContextSize(), 0);
        ctx = reinterpret_cast<TessroContext*>(storage_.data());
        ASSERT_EQ(0, TessroInitContext(ctx, nullptr));
        ASSERT_EQ(0, TessroSetMemoryHandlers(ctx, CountingAllocator::Alloc, CountingAllocator::Free));
    }
    // Attaches a target of the given format code (8 x 4 pixels, no bits: nothing here draws).
    void SetTarget(DWORD format, DWORD mode = 0) {
        static const WORD kDepths[8] = {1, 2, 4, 8, 8, 16, 32, 32};
        BITMAPINFOHEADER header{};
        header.biSize = sizeof(header);
        header.biWidth = 8;
        header.biHeight = 4;
        header.biPlanes = 1;
        header.biBitCount = kDepths[format];
        if (format == kTessroFormat32Alpha) header.biCompression = TESSRO_BI_TRANSPARENCY;
        if (format == kTessroFormat8Grey && mode == 0) mode = 1;
        ASSERT_EQ(0, TessroSetBitmap(ctx, &header, nullptr, mode));
        ASSERT_EQ(format, ctx->targetFormat);
    }
    int LastError() { return TessroGetLastError(ctx); }

    std::vector<BYTE> storage_;
    TessroContext* ctx = nullptr;
};

// A LOGPALETTE holding exactly the given entries.
class Palette {
public:
    explicit Palette(const std::vector<PALETTEENTRY>& entries, WORD declaredCount = 0xFFFF) {
        const size_t bytes = 4 + sizeof(PALETTEENTRY) * (entries.empty() ? 1 : entries.size());
        bytes_.assign(bytes, 0);
        LOGPALETTE* p = Get();
        p->palVersion = 0x300;
        p->palNumEntries = declaredCount == 0xFFFF ? static_cast<WORD>(entries.size()) : declaredCount;
        if (!entries.empty()) std::memcpy(p->palPalEntry, entries.data(), sizeof(PALETTEENTRY) * entries.size());
    }
    LOGPALETTE* Get() { return reinterpret_cast<LOGPALETTE*>(bytes_.data()); }
    operator const LOGPALETTE*() { return Get(); }

private:
    std::vector<BYTE> bytes_;
};

inline PALETTEENTRY Entry(BYTE r, BYTE g, BYTE b, BYTE flags = 0) { return {r, g, b, flags}; }

inline BITMAPINFOHEADER Header(LONG width, LONG height, WORD bits) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bits;
    return h;
}
