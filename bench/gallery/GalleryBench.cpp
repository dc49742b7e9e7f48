// A folder of 2,000 style files as a gallery sees it: listing and sorting the folder, laying out
// 2,000 items of thumbnail size in a window 600 pixels wide, and the thumbnails through the
// cache: cold (every one stored; the cache keeps the last 500) and warm (a second visit finds the
// cached ones and decodes nothing). Prints the figures; the goal is a layout well under 200 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bitmap/Bitmap32.h"
#include "gallery/GalleryBitmapCache.h"
#include "gallery/GalleryLayout.h"
#include "util/FileSystem.h"
#include "util/FileUtils.h"

namespace {

constexpr int kFiles = 2000;

using Clock = std::chrono::steady_clock;
double Millis(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Sources stand for large pictures: the benchmark measures the cache, not the disk's metadata.
class BenchCache : public CGalleryBitmapCache {
    bool GetSourceInfo(const CString&, std::int64_t& size, std::uint64_t& time) const override
    {
        size = kGalleryCacheMinSourceSize;
        time = 132444736000000000ULL;
        return true;
    }
};

void RemoveFolder(const CString& folder)
{
    FileSystem::Finder finder;
    CString name;
    FileSystem::Status status;
    std::vector<CString> files;
    for (bool more = finder.First(folder + "\\*", name, status); more; more = finder.Next(name, status))
        if (!status.folder)
            files.push_back(folder + "\\" + name);
    finder.Close();
    for (const CString& file : files)
        FileSystem::RemoveFile(file);
    FileSystem::RemoveFolder(folder);
}

}  // namespace

int main()
{
    char tag[32];
    std::snprintf(tag, sizeof tag, "bw_gallery_bench_%ld", static_cast<long>(std::chrono::system_clock::now().time_since_epoch().count() % 1000000));
    const CString folder = CFileUtils::WithBackslash(CFileUtils::GetSystemTempPath()) + tag;
    FileSystem::CreateFolder(folder);
    for (int i = 0; i < kFiles; ++i) {
        CString name;
        name.Format("%s\\Style %04d.qtw", folder.GetString(), (i * 7919) % kFiles);
        if (std::FILE* file = FileSystem::OpenStream(name, "wb"))
            std::fclose(file);
    }

    auto start = Clock::now();
    std::vector<GallerySortKey> keys;
    FileSystem::Finder finder;
    CString name;
    FileSystem::Status status;
    for (bool more = finder.First(folder + "\\*.qtw", name, status); more; more = finder.Next(name, status))
        keys.push_back({64, folder, name});
    finder.Close();
    std::sort(keys.begin(), keys.end(),
              [](const GallerySortKey& a, const GallerySortKey& b) { return GalleryItemLess(a, b, "TWTemplates"); });
    std::printf("list and sort %zu files   %8.2f ms\n", keys.size(), Millis(start));

    std::vector<GalleryLayoutCell> cells(keys.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        cells[i].width = 70 + static_cast<int>(i % 3) * 5;
        cells[i].height = 65 + 7 + 28;
    }
    start = Clock::now();
    int height = 0;
    for (int run = 0; run < 10; ++run)
        height = LayoutGalleryCells(cells, 600);
    std::printf("layout of %zu items         %8.3f ms (content height %d)\n", cells.size(), Millis(start) / 10, height);

    Bitmap32 thumbnail;
    thumbnail.CreateFilled(65, 65, 0x00336699u);
    BenchCache cache;
    const CString index = folder + "\\" + kGalleryCacheIndexName;
    const CString data = folder + "\\" + kGalleryCacheDataName;
    start = Clock::now();
    cache.Open(index, data);
    std::printf("cache created                 %8.2f ms\n", Millis(start));
    start = Clock::now();
    for (const GallerySortKey& key : keys)
        cache.Store(key.folder + "\\" + key.fileName, thumbnail);
    std::printf("cold: %d thumbnails stored  %8.2f ms\n", kFiles, Millis(start));
    cache.Close();

    start = Clock::now();
    cache.Open(index, data);
    int found = 0, missed = 0;
    for (const GallerySortKey& key : keys) {
        Bitmap32* placeholder = nullptr;
        BOOL notFound = FALSE;
        if (cache.Lookup(key.folder + "\\" + key.fileName, placeholder, notFound))
            ++found;
        else if (notFound)
            ++missed;
        delete placeholder;
    }
    std::printf("warm: %d found, %d to decode %8.2f ms\n", found, missed, Millis(start));
    cache.Close();
    RemoveFolder(folder);
    return 0;
}
