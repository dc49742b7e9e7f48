// CGalleryBitmapCache: the finished thumbnails of large source pictures, kept between runs in
// two files of the per-user data folder so that a gallery does not decode them again.
//
// Index file: a 24-byte header (magic "QTWGIBCFV2", 2 zero bytes, width limit, height limit,
// slot count) and one 280-byte entry per slot (used byte, lower-case source path of 260 bytes
// NUL-terminated, 3 zero bytes, the source's last-write FILETIME, the last-use FILETIME).
// Data file: one slot of width limit x height limit x 4 + 8 bytes per entry (width, height,
// then the Bitmap32's pixel words in memory order). Integers are 32-bit little-endian.
//
// The files are outside input: a header of other sizes, a file of the wrong length, an entry
// whose path is not terminated or a slot whose size exceeds the limits is damage, and a damaged
// cache is replaced by an empty one. A thumbnail is found again only by its source's lower-case
// path and unchanged last-write time, so a changed source is never served stale.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/core/CString.h"

class Bitmap32;

constexpr char kGalleryCacheMagic[] = "QTWGIBCFV2";  // 10 bytes, no terminator in the file
constexpr int kGalleryThumbnailLimit = 65;
constexpr int kGalleryCacheSlots = 500;
constexpr std::uint32_t kGalleryCacheHeaderSize = 24;
constexpr std::uint32_t kGalleryCacheEntrySize = 280;
constexpr std::uint32_t kGalleryCachePathSize = 260;
// Smaller sources are quick to decode again and are never cached.
constexpr std::int64_t kGalleryCacheMinSourceSize = 75000;
constexpr char kGalleryCacheIndexName[] = "TW1.1GalleryItemBitmapCache.idx";
constexpr char kGalleryCacheDataName[] = "TW1.1GalleryItemBitmapCache.dat";

class CGalleryBitmapCache {
public:
    CGalleryBitmapCache() = default;
    virtual ~CGalleryBitmapCache() { Close(); }
    CGalleryBitmapCache(const CGalleryBitmapCache&) = delete;
    CGalleryBitmapCache& operator=(const CGalleryBitmapCache&) = delete;

    // Opens both files, or replaces missing or damaged ones with an empty cache. FALSE when
    // the files cannot be made; the cache is then closed.
    BOOL Open(const CString& indexPath, const CString& dataPath, int width = kGalleryThumbnailLimit,
              int height = kGalleryThumbnailLimit, int slots = kGalleryCacheSlots);
    BOOL IsOpen() const;
    // Replaces *thumbnail (the placeholder, deleted on success) by the cached thumbnail of
    // path. notFound is TRUE only when the source could be cached but no entry matches.
    BOOL Lookup(const CString& path, Bitmap32*& thumbnail, BOOL& notFound);
    BOOL Store(const CString& path, const Bitmap32& thumbnail);
    BOOL StoreThumbnail(const CString& path, const Bitmap32& thumbnail) { return Store(path, thumbnail); }
    void Close();

    int SlotCount() const { return m_slots; }
    // The slot an entry of that (lower-case) path occupies; -1 when none.
    int FindSlot(const CString& lowerPath) const;

protected:
    // Now as a FILETIME (100-ns intervals since 1601, UTC).
    virtual std::uint64_t CurrentTime() const;
    // The source's size and last-write FILETIME; false when it cannot be examined.
    virtual bool GetSourceInfo(const CString& path, std::int64_t& size, std::uint64_t& writeTime) const;

private:
    bool OpenExisting();
    bool CreateFiles();
    bool WriteIndex();
    bool MakeKey(const CString& path, std::uint8_t* entry) const;
    int FindOldestSlot() const;
    bool TableIsSound() const;
    std::uint8_t* Entry(int slot) { return m_table.data() + static_cast<std::size_t>(slot) * kGalleryCacheEntrySize; }
    const std::uint8_t* Entry(int slot) const
    {
        return m_table.data() + static_cast<std::size_t>(slot) * kGalleryCacheEntrySize;
    }
    std::uint64_t SlotOffset(int slot) const { return static_cast<std::uint64_t>(slot) * SlotSize(); }
    std::uint64_t SlotSize() const { return static_cast<std::uint64_t>(m_width) * m_height * 4 + 8; }

    std::FILE* m_index = nullptr;
    std::FILE* m_data = nullptr;
    bool m_indexOpen = false;
    bool m_dataOpen = false;
    std::uint8_t m_header[kGalleryCacheHeaderSize] = {};
    std::vector<std::uint8_t> m_table;
    CString m_indexPath;
    CString m_dataPath;
    int m_width = kGalleryThumbnailLimit;
    int m_height = kGalleryThumbnailLimit;
    int m_slots = kGalleryCacheSlots;
};

// The process's cache, in the per-user data folder. Opened by the first gallery item; a failed
// open is not tried again in the same process.
CGalleryBitmapCache& GalleryBitmapCache();
BOOL OpenGalleryBitmapCache();
BOOL GalleryBitmapCacheOpenFailed();
