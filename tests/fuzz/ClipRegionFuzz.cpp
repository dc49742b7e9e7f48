// Recorded clip regions as the rasterizer reads them in place (both kinds), under rectangle and
// path fills, aliased and antialiased. The input is the record: its header (the size field is
// set to the input's length, as a caller's record states its own size) and the row data.
#include "raster/TessroDrawApi.h"
#include "raster/TessroInternal.h"
#include "raster/TessroPathApi.h"
#include "tests/fuzz/FuzzTarget.h"

#include <cstring>
#include <vector>

namespace {

void* Allocate(DWORD size) { return ::operator new(size); }
void Release(void* block) { ::operator delete(block); }

TessroPoint User(double x, double y) { return {static_cast<std::int32_t>(x * 65536), static_cast<std::int32_t>(y * 65536)}; }

}  // namespace

BW_FUZZ_TARGET(region)
{
    if (size < sizeof(TessroClipRegion))
        return;
    // Whole words: the reader takes the record as words.
    std::vector<std::uint32_t> record((size + 3) / 4, 0);
    std::memcpy(record.data(), data, size);
    const DWORD bytes = static_cast<DWORD>(size);
    std::memcpy(reinterpret_cast<BYTE*>(record.data()) + offsetof(TessroClipRegion, size), &bytes, 4);
    const auto* region = reinterpret_cast<const TessroClipRegion*>(record.data());

    std::vector<BYTE> storage(TessroGetContextSize(), 0);
    TessroContext* context = reinterpret_cast<TessroContext*>(storage.data());
    if (TessroInitContext(context, nullptr) != 0 || TessroSetMemoryHandlers(context, Allocate, Release) != 0)
        return;
    struct Releaser {
        TessroContext* context;
        ~Releaser() { TessroReleaseMemory(context); }
    } release{context};
    const int width = 32, height = 24;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::vector<std::uint32_t> pixels(width * height, 0);
    if (TessroSetBitmap(context, &header, pixels.data(), 0) != 0)
        return;
    TessroSetColour(context, 0xFFFFFF);
    for (int antialias = 0; antialias < 2; ++antialias) {
        TessroSetAntialias(context, antialias);
        if (TessroSetClipRegion(context, region) != 0)
            return;
        const TessroPoint rect[2] = {User(0, 0), User(width, height)};
        TessroFillRectangle(context, rect);
        const TessroPoint points[3] = {User(1, 1), User(width - 2, height / 2), User(3, height - 1)};
        const unsigned char verbs[3] = {TESSRO_VERB_MOVE_TO, TESSRO_VERB_LINE,
                                        static_cast<unsigned char>(TESSRO_VERB_LINE | TESSRO_VERB_CLOSE)};
        TessroFillPath(context, points, verbs, 3, TESSRO_RULE_NONZERO);
    }
}
