#include "gallery/GalleryBitmapCache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "bitmap/Bitmap32.h"
#include "tests/util/TestSupport.h"

namespace {

// Sources are stamped with this time; its FILETIME is what the index must hold.
constexpr std::time_t kSourceTime = 1600000000;
constexpr std::uint64_t kSourceFileTime = 116444736000000000ULL + 1600000000ULL * 10000000ULL;

class ClockedCache : public CGalleryBitmapCache {
public:
    std::uint64_t now = 0x01D5000000000001ULL;
    std::uint64_t CurrentTime() const override { return now; }
#ifndef _WIN32
    // The program's file systems ignore letter case; the scratch folder's path is lower case.
    bool GetSourceInfo(const CString& path, std::int64_t& size, std::uint64_t& writeTime) const override
    {
        CString lower = path;
        lower.MakeLower();
        return CGalleryBitmapCache::GetSourceInfo(lower, size, writeTime);
    }
#endif
};

std::string U32(std::uint32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>(v >> (8 * i));
    return s;
}
std::string U64(std::uint64_t v) { return U32(static_cast<std::uint32_t>(v)) + U32(static_cast<std::uint32_t>(v >> 32)); }

std::unique_ptr<Bitmap32> MakeThumbnail(int w, int h, std::uint32_t seed)
{
    auto bitmap = std::make_unique<Bitmap32>();
    bitmap->Create(w, h);
    for (int i = 0; i < w * h; ++i)
        bitmap->Pixels()[i] = seed + static_cast<std::uint32_t>(i) * 0x01020304u;
    return bitmap;
}

class GalleryBitmapCacheTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    CString index = folder / "cache.idx";
    CString data = folder / "cache.dat";

    CString Source(const char* name, std::size_t size, std::time_t time = kSourceTime)
    {
        const CString path = folder.Write(name, std::string(size, 'x'));
        FileSystem::SetModifiedTime(path, time);
        return path;
    }
    std::string ReadFile(const char* name) { return folder.Read(name); }
};

TEST_F(GalleryBitmapCacheTest, FreshFilesAndAStoredThumbnailHaveTheirExactBytes)
{
    const CString source = Source("big.jpg", 75000);
    {
        ClockedCache cache;
        ASSERT_TRUE(cache.Open(index, data));
        EXPECT_TRUE(cache.IsOpen());
    }
    std::string header = std::string("QTWGIBCFV2", 10) + std::string(2, '\0') + U32(65) + U32(65) + U32(500);
    std::string fresh = ReadFile("cache.idx");
    ASSERT_EQ(fresh.size(), 140024u);
    EXPECT_EQ(fresh.substr(0, 24), header);
    EXPECT_EQ(fresh.substr(24), std::string(500 * 280, '\0'));
    EXPECT_EQ(ReadFile("cache.dat"), std::string(8454000, '\0'));

    const auto thumbnail = MakeThumbnail(2, 1, 0xFF102030u);
    {
        ClockedCache cache;
        ASSERT_TRUE(cache.Open(index, data));
        EXPECT_TRUE(cache.StoreThumbnail(source, *thumbnail));
    }
    std::string lower = std::string(source.GetString());
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string entry = std::string(1, '\1') + lower + std::string(260 - lower.size(), '\0') + std::string(3, '\0') +
                        U64(kSourceFileTime) + U64(0x01D5000000000001ULL);
    const std::string stored = ReadFile("cache.idx");
    ASSERT_EQ(stored.size(), 140024u);
    EXPECT_EQ(stored.substr(24, 280), entry);
    EXPECT_EQ(stored.substr(304), std::string(499 * 280, '\0'));
    const std::string slot = ReadFile("cache.dat").substr(0, 16908);
    EXPECT_EQ(slot.substr(0, 16), U32(2) + U32(1) + U32(0xFF102030u) + U32(0xFF102030u + 0x01020304u));
    EXPECT_EQ(slot.substr(16), std::string(16908 - 16, '\0'));
}

TEST_F(GalleryBitmapCacheTest, LookupFindsByPathInAnyCaseAndUnchangedWriteTime)
{
    const CString source = Source("photo.jpg", 80000);
    const auto thumbnail = MakeThumbnail(65, 40, 7);
    {
        ClockedCache cache;
        ASSERT_TRUE(cache.Open(index, data));
        ASSERT_TRUE(cache.Store(source, *thumbnail));
    }
    ClockedCache cache;  // a later run
    cache.now += 1000;
    ASSERT_TRUE(cache.Open(index, data));
    CString upper = source;
    upper.MakeUpper();
    for (const CString& path : {source, upper}) {
        Bitmap32* found = new Bitmap32;
        found->Create(65, 65);  // the placeholder
        BOOL notFound = TRUE;
        ASSERT_TRUE(cache.Lookup(path, found, notFound)) << S(path);
        EXPECT_FALSE(notFound);
        ASSERT_EQ(found->Width(), 65);
        ASSERT_EQ(found->Height(), 40);
        EXPECT_EQ(0, std::memcmp(found->Pixels(), thumbnail->Pixels(), 65 * 40 * 4));
        delete found;
    }

    // A touched source misses; the next store takes a free slot and leaves the old entry.
    FileSystem::SetModifiedTime(source, kSourceTime + 60);
    Bitmap32* placeholder = nullptr;
    BOOL notFound = FALSE;
    EXPECT_FALSE(cache.Lookup(source, placeholder, notFound));
    EXPECT_TRUE(notFound);
    EXPECT_EQ(placeholder, nullptr);
    ASSERT_TRUE(cache.Store(source, *thumbnail));
    cache.Close();
    const std::string stored = ReadFile("cache.idx");
    EXPECT_EQ(stored[24], '\1');
    EXPECT_EQ(stored[24 + 280], '\1');
    EXPECT_EQ(stored.substr(24 + 264, 8), U64(kSourceFileTime));
    EXPECT_EQ(stored.substr(24 + 280 + 264, 8), U64(kSourceFileTime + 600000000ULL));
}

TEST_F(GalleryBitmapCacheTest, OnlyLargeSourcesShortPathsAndThumbnailsWithinTheLimitsAreCached)
{
    ClockedCache cache;
    ASSERT_TRUE(cache.Open(index, data));
    const auto thumbnail = MakeThumbnail(10, 10, 1);
    struct Case {
        const char* name;
        std::size_t size;
        bool cached;
    } cases[] = {{"exact.jpg", 75000, true}, {"small.jpg", 74999, false}};
    for (const Case& c : cases) {
        const CString source = Source(c.name, c.size);
        EXPECT_EQ(cache.Store(source, *thumbnail), c.cached ? TRUE : FALSE) << c.name;
        Bitmap32* found = nullptr;
        BOOL notFound = TRUE;
        EXPECT_EQ(cache.Lookup(source, found, notFound), c.cached ? TRUE : FALSE) << c.name;
        EXPECT_FALSE(notFound) << c.name;  // a small source is not a miss: it cannot be cached
        delete found;
    }
    const CString big = Source("big.jpg", 90000);
    EXPECT_FALSE(cache.Store(big, *MakeThumbnail(66, 10, 1)));
    EXPECT_FALSE(cache.Store(big, *MakeThumbnail(10, 66, 1)));
    Bitmap32* tooLarge = MakeThumbnail(66, 66, 1).release();
    BOOL notFound = FALSE;
    EXPECT_FALSE(cache.Lookup(big, tooLarge, notFound));
    delete tooLarge;
    CString longPath = folder.Path() + "\\";
    while (longPath.GetLength() < 259)
        longPath += "a";
    longPath += ".jpg";  // 263 characters
    EXPECT_FALSE(cache.Store(longPath, *thumbnail));
}

TEST_F(GalleryBitmapCacheTest, AFullCacheReusesTheLeastRecentlyUsedSlotTheLowestAmongEquals)
{
    ClockedCache cache;
    ASSERT_TRUE(cache.Open(index, data, 4, 4, 3));
    const auto thumbnail = MakeThumbnail(4, 4, 9);
    const CString a = Source("a.jpg", 75000), b = Source("b.jpg", 75000), c = Source("c.jpg", 75000);
    cache.now = 500;
    ASSERT_TRUE(cache.Store(a, *thumbnail));
    cache.now = 100;
    ASSERT_TRUE(cache.Store(b, *thumbnail));
    ASSERT_TRUE(cache.Store(c, *thumbnail));  // b and c share the earliest last use
    cache.now = 900;
    ASSERT_TRUE(cache.Store(Source("d.jpg", 75000), *thumbnail));
    CString lowerB = b, lowerC = c, lowerD = folder / "d.jpg";
    lowerB.MakeLower();
    lowerC.MakeLower();
    lowerD.MakeLower();
    EXPECT_EQ(cache.FindSlot(lowerB), -1);
    EXPECT_EQ(cache.FindSlot(lowerD), 1);
    EXPECT_EQ(cache.FindSlot(lowerC), 2);
    // A lookup renews c's last use, so the next store replaces a (500) instead.
    cache.now = 950;
    Bitmap32* found = nullptr;
    BOOL notFound = FALSE;
    ASSERT_TRUE(cache.Lookup(c, found, notFound));
    delete found;
    ASSERT_TRUE(cache.Store(b, *thumbnail));
    EXPECT_EQ(cache.FindSlot(lowerB), 0);
}

// Every kind of damage makes the next open start over with an empty cache of the right sizes.
TEST_F(GalleryBitmapCacheTest, DamagedFilesAreReplacedByAnEmptyCache)
{
    const auto thumbnail = MakeThumbnail(4, 4, 3);
    struct Damage {
        const char* what;
        const char* file;
        std::size_t offset;  // npos: change the length instead
        std::string bytes;
    } damages[] = {
        {"width 64 in the header", "cache.idx", 12, U32(64)},
        {"another magic", "cache.idx", 0, "QTWGIBCFV1"},
        {"slot count 501", "cache.idx", 20, U32(501)},
        {"used byte 2", "cache.idx", 24, std::string(1, '\2')},
        {"unterminated path", "cache.idx", 25 + 280, std::string(260, 'p')},
        {"index one byte short", "cache.idx", std::string::npos, "-1"},
        {"index one byte long", "cache.idx", std::string::npos, "+1"},
        {"data one byte long", "cache.dat", std::string::npos, "+1"},
        {"data empty", "cache.dat", std::string::npos, "0"},
    };
    const CString source = Source("s.jpg", 75000);
    CString lower = source;
    lower.MakeLower();
    for (const Damage& damage : damages) {
        {
            ClockedCache cache;
            ASSERT_TRUE(cache.Open(index, data, 4, 4, 3));
            ASSERT_TRUE(cache.Store(source, *thumbnail));
        }
        std::string bytes = ReadFile(damage.file);
        if (damage.offset != std::string::npos)
            bytes.replace(damage.offset, damage.bytes.size(), damage.bytes);
        else if (damage.bytes == "+1")
            bytes += 'z';
        else if (damage.bytes == "-1")
            bytes.pop_back();
        else
            bytes.clear();
        folder.Write(damage.file, bytes);

        ClockedCache cache;
        ASSERT_TRUE(cache.Open(index, data, 4, 4, 3)) << damage.what;
        EXPECT_EQ(cache.FindSlot(lower), -1) << damage.what;
        cache.Close();
        EXPECT_EQ(ReadFile("cache.idx").size(), 24u + 3 * 280) << damage.what;
        EXPECT_EQ(ReadFile("cache.dat"), std::string(3 * (4 * 4 * 4 + 8), '\0')) << damage.what;
    }
}

TEST_F(GalleryBitmapCacheTest, ASlotOfImpossibleSizeIsNotReadAndIsFreed)
{
    const CString source = Source("s.jpg", 75000);
    CString lower = source;
    lower.MakeLower();
    for (const std::string& size : {U32(5) + U32(4), U32(0) + U32(4), U32(4) + U32(0xFFFFFFFFu)}) {
        {
            ClockedCache cache;
            ASSERT_TRUE(cache.Open(index, data, 4, 4, 3));
            ASSERT_TRUE(cache.Store(source, *MakeThumbnail(4, 4, 3)));
        }
        std::string bytes = ReadFile("cache.dat");
        bytes.replace(0, 8, size);
        folder.Write("cache.dat", bytes);
        ClockedCache cache;
        ASSERT_TRUE(cache.Open(index, data, 4, 4, 3));
        ASSERT_EQ(cache.FindSlot(lower), 0);
        Bitmap32* found = nullptr;
        BOOL notFound = FALSE;
        EXPECT_FALSE(cache.Lookup(source, found, notFound));
        EXPECT_EQ(found, nullptr);
        EXPECT_EQ(cache.FindSlot(lower), -1);
    }
}

}  // namespace
