#include "gallery/GalleryBitmapCache.h"

#include <chrono>
#include <cstring>
#include <new>

#include "bitmap/Bitmap32.h"
#include "util/FileSystem.h"
#include "util/FileUtils.h"

#ifdef _WIN32
#include <share.h>
#endif

namespace {

// FILETIME of the Unix epoch: the 100-ns intervals from 1601 to 1970.
constexpr std::uint64_t kUnixEpochFileTime = 116444736000000000ULL;

void PutU32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

std::uint32_t GetU32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void PutU64(std::uint8_t* p, std::uint64_t v)
{
    PutU32(p, static_cast<std::uint32_t>(v));
    PutU32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

std::uint64_t GetU64(const std::uint8_t* p) { return GetU32(p) | (static_cast<std::uint64_t>(GetU32(p + 4)) << 32); }

// Entry fields.
constexpr std::size_t kUsed = 0;
constexpr std::size_t kPath = 1;
constexpr std::size_t kWriteTime = 264;
constexpr std::size_t kLastUse = 272;

// Both files are held without sharing: a second instance of the program works without the cache.
std::FILE* OpenUnshared(const CString& path, const char* mode)
{
#ifdef _WIN32
    return ::_fsopen(path, mode, _SH_DENYRW);
#else
    return FileSystem::OpenStream(path, mode);
#endif
}

bool SeekTo(std::FILE* file, std::uint64_t offset)
{
    return offset <= 0x7FFFFFFF && std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0;
}

bool WriteAll(std::FILE* file, const void* data, std::size_t size)
{
    return std::fwrite(data, 1, size, file) == size;
}

bool ReadAll(std::FILE* file, void* data, std::size_t size) { return std::fread(data, 1, size, file) == size; }

void CloseFile(std::FILE*& file)
{
    if (file)
        std::fclose(file);
    file = nullptr;
}

}  // namespace

BOOL CGalleryBitmapCache::Open(const CString& indexPath, const CString& dataPath, int width, int height, int slots)
{
    Close();
    if (width < 1 || width > kGalleryThumbnailLimit || height < 1 || height > kGalleryThumbnailLimit || slots < 1 ||
        slots > kGalleryCacheSlots)
        return FALSE;
    m_indexPath = indexPath;
    m_dataPath = dataPath;
    m_width = width;
    m_height = height;
    m_slots = slots;
    if (OpenExisting())
        return TRUE;
    Close();
    if (CreateFiles())
        return TRUE;
    Close();
    return FALSE;
}

bool CGalleryBitmapCache::OpenExisting()
{
    m_index = OpenUnshared(m_indexPath, "r+b");
    if (!m_index || !ReadAll(m_index, m_header, kGalleryCacheHeaderSize))
        return false;
    if (std::memcmp(m_header, kGalleryCacheMagic, 10) != 0 || m_header[10] != 0 || m_header[11] != 0 ||
        GetU32(m_header + 12) != static_cast<std::uint32_t>(m_width) ||
        GetU32(m_header + 16) != static_cast<std::uint32_t>(m_height) ||
        GetU32(m_header + 20) != static_cast<std::uint32_t>(m_slots))
        return false;
    m_table.assign(static_cast<std::size_t>(m_slots) * kGalleryCacheEntrySize, 0);
    if (!ReadAll(m_index, m_table.data(), m_table.size()) || !TableIsSound())
        return false;
    // A longer index was written by something else: treat it as damage, like a short one.
    if (std::fgetc(m_index) != EOF)
        return false;
    m_indexOpen = true;

    m_data = OpenUnshared(m_dataPath, "r+b");
    if (!m_data || std::fseek(m_data, 0, SEEK_END) != 0)
        return false;
    const long length = std::ftell(m_data);
    if (length < 0 || static_cast<std::uint64_t>(length) != SlotSize() * m_slots)
        return false;
    m_dataOpen = true;
    return true;
}

bool CGalleryBitmapCache::TableIsSound() const
{
    for (int slot = 0; slot < m_slots; ++slot) {
        const std::uint8_t* entry = Entry(slot);
        if (entry[kUsed] > 1 || !std::memchr(entry + kPath, 0, kGalleryCachePathSize))
            return false;
    }
    return true;
}

bool CGalleryBitmapCache::CreateFiles()
{
    std::memset(m_header, 0, sizeof m_header);
    std::memcpy(m_header, kGalleryCacheMagic, 10);
    PutU32(m_header + 12, static_cast<std::uint32_t>(m_width));
    PutU32(m_header + 16, static_cast<std::uint32_t>(m_height));
    PutU32(m_header + 20, static_cast<std::uint32_t>(m_slots));
    m_table.assign(static_cast<std::size_t>(m_slots) * kGalleryCacheEntrySize, 0);
    m_index = OpenUnshared(m_indexPath, "w+b");
    if (!m_index)
        return false;
    m_indexOpen = true;
    if (!WriteIndex())
        return false;

    m_data = OpenUnshared(m_dataPath, "w+b");
    if (!m_data)
        return false;
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(SlotSize()), 0);
    bool written = true;
    for (int slot = 0; slot < m_slots && written; ++slot)
        written = WriteAll(m_data, zeros.data(), zeros.size());
    if (!written || std::fflush(m_data) != 0) {
        // Left empty, so that the next start makes it again.
        CloseFile(m_data);
        if (std::FILE* empty = OpenUnshared(m_dataPath, "wb"))
            std::fclose(empty);
        return false;
    }
    m_dataOpen = true;
    return true;
}

bool CGalleryBitmapCache::WriteIndex()
{
    if (!m_index)
        return false;
    // Rewritten whole and in place: the file's length never changes while it is sound.
    if (std::fseek(m_index, 0, SEEK_SET) == 0 && WriteAll(m_index, m_header, sizeof m_header) && WriteAll(m_index, m_table.data(), m_table.size()) &&
        std::fflush(m_index) == 0)
        return true;
    // An empty index makes the next start create the cache anew.
    CloseFile(m_index);
    m_index = OpenUnshared(m_indexPath, "w+b");
    if (!m_index)
        m_indexOpen = false;
    return false;
}

BOOL CGalleryBitmapCache::IsOpen() const { return m_indexOpen && m_dataOpen && m_index && m_data; }

void CGalleryBitmapCache::Close()
{
    CloseFile(m_index);
    CloseFile(m_data);
    m_indexOpen = false;
    m_dataOpen = false;
    m_table.clear();
    m_table.shrink_to_fit();
}

std::uint64_t CGalleryBitmapCache::CurrentTime() const
{
    const auto since1970 = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return kUnixEpochFileTime + static_cast<std::uint64_t>(since1970.count()) * 10;
}

bool CGalleryBitmapCache::GetSourceInfo(const CString& path, std::int64_t& size, std::uint64_t& writeTime) const
{
    FileSystem::Status status;
    if (!FileSystem::GetStatus(path, status) || status.folder)
        return false;
    size = status.size;
    writeTime = kUnixEpochFileTime + static_cast<std::uint64_t>(static_cast<std::int64_t>(status.modified)) * 10000000ULL;
    return true;
}

bool CGalleryBitmapCache::MakeKey(const CString& path, std::uint8_t* entry) const
{
    std::memset(entry, 0, kGalleryCacheEntrySize);
    std::int64_t size = 0;
    std::uint64_t writeTime = 0;
    if (!GetSourceInfo(path, size, writeTime) || size < kGalleryCacheMinSourceSize)
        return false;
    if (path.GetLength() >= static_cast<int>(kGalleryCachePathSize))
        return false;
    CString lower = path;
    lower.MakeLower();
    // A NUL inside the text would cut the key short: such a path is never cached.
    if (std::strlen(lower) != static_cast<std::size_t>(lower.GetLength()))
        return false;
    std::memcpy(entry + kPath, lower.GetString(), static_cast<std::size_t>(lower.GetLength()));
    PutU64(entry + kWriteTime, writeTime);
    PutU64(entry + kLastUse, CurrentTime());
    entry[kUsed] = 1;
    return true;
}

int CGalleryBitmapCache::FindOldestSlot() const
{
    int oldest = 0;
    for (int slot = 0; slot < m_slots; ++slot) {
        if (Entry(slot)[kUsed] != 1)
            return slot;
        if (GetU64(Entry(slot) + kLastUse) < GetU64(Entry(oldest) + kLastUse))
            oldest = slot;
    }
    return oldest;
}

int CGalleryBitmapCache::FindSlot(const CString& lowerPath) const
{
    for (int slot = 0; slot < m_slots && !m_table.empty(); ++slot) {
        const std::uint8_t* entry = Entry(slot);
        if (entry[kUsed] == 1 && std::strcmp(reinterpret_cast<const char*>(entry + kPath), lowerPath) == 0)
            return slot;
    }
    return -1;
}

BOOL CGalleryBitmapCache::Lookup(const CString& path, Bitmap32*& thumbnail, BOOL& notFound)
{
    notFound = FALSE;
    if (!IsOpen())
        return FALSE;
    if (thumbnail && (thumbnail->Width() > m_width || thumbnail->Height() > m_height))
        return FALSE;
    std::uint8_t key[kGalleryCacheEntrySize];
    if (!MakeKey(path, key))
        return FALSE;
    int found = -1;
    for (int slot = 0; slot < m_slots; ++slot) {
        const std::uint8_t* entry = Entry(slot);
        if (entry[kUsed] == 1 && GetU64(entry + kWriteTime) == GetU64(key + kWriteTime) &&
            std::strcmp(reinterpret_cast<const char*>(entry + kPath), reinterpret_cast<const char*>(key + kPath)) == 0) {
            found = slot;
            break;
        }
    }
    if (found < 0) {
        notFound = TRUE;
        return FALSE;
    }

    std::uint8_t size[8];
    bool sound = SeekTo(m_data, SlotOffset(found)) && ReadAll(m_data, size, sizeof size);
    const std::uint32_t width = GetU32(size), height = GetU32(size + 4);
    sound = sound && width >= 1 && height >= 1 && width <= static_cast<std::uint32_t>(m_width) &&
            height <= static_cast<std::uint32_t>(m_height);
    Bitmap32* bitmap = nullptr;
    if (sound) {
        bitmap = new (std::nothrow) Bitmap32;
        const int w = static_cast<int>(width), h = static_cast<int>(height);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * 4);
        sound = bitmap && bitmap->Create(w, h) >= 0 && bitmap->Pixels() && ReadAll(m_data, bytes.data(), bytes.size());
        if (sound) {
            std::uint32_t* pixels = bitmap->Pixels();
            for (std::size_t i = 0; i < bytes.size() / 4; ++i)
                pixels[i] = GetU32(bytes.data() + i * 4);
        }
    }
    if (!sound) {
        // A slot that does not hold a sound thumbnail is freed, so it is made again and stored.
        delete bitmap;
        Entry(found)[kUsed] = 0;
        WriteIndex();
        return FALSE;
    }
    delete thumbnail;
    thumbnail = bitmap;
    PutU64(Entry(found) + kLastUse, CurrentTime());
    WriteIndex();
    return TRUE;
}

BOOL CGalleryBitmapCache::Store(const CString& path, const Bitmap32& thumbnail)
{
    if (!IsOpen())
        return FALSE;
    const int w = thumbnail.Width(), h = thumbnail.Height();
    if (w < 1 || h < 1 || w > m_width || h > m_height || !thumbnail.Pixels())
        return FALSE;
    const int slot = FindOldestSlot();
    std::vector<std::uint8_t> bytes(8 + static_cast<std::size_t>(w) * h * 4);
    PutU32(bytes.data(), static_cast<std::uint32_t>(w));
    PutU32(bytes.data() + 4, static_cast<std::uint32_t>(h));
    for (std::size_t i = 0; i < static_cast<std::size_t>(w) * h; ++i)
        PutU32(bytes.data() + 8 + i * 4, thumbnail.Pixels()[i]);
    if (!SeekTo(m_data, SlotOffset(slot)) || !WriteAll(m_data, bytes.data(), bytes.size()) || std::fflush(m_data) != 0) {
        Entry(slot)[kUsed] = 0;
        WriteIndex();
        return FALSE;
    }
    if (!MakeKey(path, Entry(slot))) {
        Entry(slot)[kUsed] = 0;
        WriteIndex();
        return FALSE;
    }
    return WriteIndex() ? TRUE : FALSE;
}

namespace {
bool g_openFailed = false;
}

CGalleryBitmapCache& GalleryBitmapCache()
{
    static CGalleryBitmapCache cache;
    return cache;
}

BOOL GalleryBitmapCacheOpenFailed() { return g_openFailed ? TRUE : FALSE; }

BOOL OpenGalleryBitmapCache()
{
    CGalleryBitmapCache& cache = GalleryBitmapCache();
    if (cache.IsOpen())
        return TRUE;
    if (g_openFailed)
        return FALSE;
    const CString folder = CFileUtils::GetUserDataFolder();
    if (folder.IsEmpty() ||
        !cache.Open(folder + "\\" + kGalleryCacheIndexName, folder + "\\" + kGalleryCacheDataName)) {
        g_openFailed = true;
        return FALSE;
    }
    return TRUE;
}
