// The galleries' thumbnail cache files: an index and a data file of the per-user data folder,
// read at the first gallery of every run. The input is the index (its first 864 bytes, the size
// of a cache of three 4 x 4 slots) followed by the data file; every entry it names is looked up,
// a thumbnail stored, and the rewritten cache must open again.
#include <cstring>
#include <string>

#include "bitmap/Bitmap32.h"
#include "gallery/GalleryBitmapCache.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

constexpr int kSide = 4;
constexpr int kSlots = 3;
constexpr std::size_t kIndexSize = kGalleryCacheHeaderSize + kSlots * kGalleryCacheEntrySize;

// Every source is large enough to be cached and carries the write time the test names.
class FuzzCache : public CGalleryBitmapCache {
public:
    std::uint64_t writeTime = 0;
    std::uint64_t CurrentTime() const override { return 1; }
    bool GetSourceInfo(const CString&, std::int64_t& size, std::uint64_t& time) const override
    {
        size = kGalleryCacheMinSourceSize;
        time = writeTime;
        return true;
    }
};

}  // namespace

BW_FUZZ_TARGET(gallerycache)
{
    const std::size_t indexSize = size < kIndexSize ? size : kIndexSize;
    const CString index(fuzz::ProgramPath(fuzz::WriteTempFile("cache.idx", data, indexSize)).c_str());
    const CString dataFile(
        fuzz::ProgramPath(fuzz::WriteTempFile("cache.dat", data + indexSize, size - indexSize)).c_str());
    FuzzCache cache;
    if (!cache.Open(index, dataFile, kSide, kSide, kSlots))
        return;
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::size_t at = kGalleryCacheHeaderSize + slot * kGalleryCacheEntrySize;
        if (at + kGalleryCacheEntrySize > indexSize)
            break;
        const char* path = reinterpret_cast<const char*>(data + at + 1);
        const std::string name(path, strnlen(path, kGalleryCachePathSize - 1));
        std::uint64_t time = 0;
        for (int i = 7; i >= 0; --i)
            time = (time << 8) | data[at + 264 + i];
        cache.writeTime = time;
        Bitmap32* thumbnail = new Bitmap32;
        thumbnail->Create(1, 1);
        BOOL notFound = FALSE;
        if (cache.Lookup(CString(name.c_str()), thumbnail, notFound) &&
            (thumbnail->Width() < 1 || thumbnail->Width() > kSide || thumbnail->Height() < 1 ||
             thumbnail->Height() > kSide))
            __builtin_trap();
        delete thumbnail;
    }
    Bitmap32 stored;
    stored.CreateFilled(kSide, kSide, 0x80FF0000u);
    cache.Store("c:\\fuzz\\stored.jpg", stored);
    cache.Close();
    if (!cache.Open(index, dataFile, kSide, kSide, kSlots))
        __builtin_trap();
}
