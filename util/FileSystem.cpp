#include "util/FileSystem.h"

#include <algorithm>
#include <string>

#ifdef _WIN32
#include <shellapi.h>
#include <shlobj.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <cstring>
#endif

namespace FileSystem {

#ifdef _WIN32

namespace {
// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
const std::int64_t kFileTimeEpochOffset = 116444736000000000LL;

std::time_t FromFileTime(const FILETIME& ft) {
    std::int64_t t = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<std::time_t>((t - kFileTimeEpochOffset) / 10000000LL);
}

FILETIME ToFileTime(std::time_t time) {
    std::int64_t t = static_cast<std::int64_t>(time) * 10000000LL + kFileTimeEpochOffset;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return ft;
}

void FillStatus(DWORD attributes, const FILETIME& modified, DWORD sizeHigh, DWORD sizeLow,
                Status& status) {
    status.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    status.hidden = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    status.modified = FromFileTime(modified);
    status.size = (static_cast<std::int64_t>(sizeHigh) << 32) | sizeLow;
}
}  // namespace

bool GetStatus(const char* path, Status& status) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !*path || !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return false;
    FillStatus(data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh,
               data.nFileSizeLow, status);
    return true;
}

bool SetModifiedTime(const char* path, std::time_t time) {
    HANDLE h = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FILETIME ft = ToFileTime(time);
    BOOL ok = SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    return ok != FALSE;
}

bool CreateFolder(const char* path) { return CreateDirectoryA(path, nullptr) != FALSE; }
bool RemoveFolder(const char* path) { return RemoveDirectoryA(path) != FALSE; }
bool RemoveFile(const char* path) { return DeleteFileA(path) != FALSE; }
bool MoveEntry(const char* from, const char* to) { return MoveFileA(from, to) != FALSE; }
bool ReplaceEntry(const char* source, const char* target) {
    // A read-only file is kept: Windows' MoveFileEx refuses to replace one, Wine's does not.
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool ClearAttributes(const char* path) {
    return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool DeleteToRecycleBin(const char* path) {
    // The shell takes a list of names ended by an empty one.
    std::string from(path);
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    int result = SHFileOperationA(&op);
    if (result != 0 || op.fAnyOperationsAborted)
        return false;
    return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
}

std::FILE* OpenStream(const char* path, const char* mode) { return std::fopen(path, mode); }

bool CreateEmptyFile(const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

unsigned DriveKind(const char* root) { return ::GetDriveTypeA(root); }

CString GetSystemTempPath() {
    char buffer[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof(buffer), buffer);
    if (n == 0 || n >= sizeof(buffer))
        return CString();
    return CString(buffer, static_cast<int>(n));
}

CString ProgramFileName() {
    char buffer[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof(buffer));
    if (n == 0 || n >= sizeof(buffer))
        return CString();
    return CString(buffer, static_cast<int>(n));
}

CString GetLocalAppDataFolder() {
    char buffer[MAX_PATH + 1];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0,
                                buffer)))
        return CString();
    return CString(buffer);
}

bool Finder::First(const char* pattern, CString& name, Status& status) {
    Close();
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern, &data);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    m_handle = h;
    name = data.cFileName;
    FillStatus(data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow,
               status);
    return true;
}

bool Finder::Next(CString& name, Status& status) {
    if (!m_handle)
        return false;
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(static_cast<HANDLE>(m_handle), &data))
        return false;
    name = data.cFileName;
    FillStatus(data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow,
               status);
    return true;
}

void Finder::Close() {
    if (m_handle) {
        FindClose(static_cast<HANDLE>(m_handle));
        m_handle = nullptr;
    }
}

#else  // POSIX: the host build

namespace {
std::string Native(const char* path) {
    std::string p(path ? path : "");
    for (char& c : p)
        if (c == '\\')
            c = '/';
    return p;
}

CString FromNative(const std::string& p) {
    CString s(p.c_str());
    s.Replace('/', '\\');
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Wildcard match ignoring ASCII case: "*" any run, "?" one character.
bool Matches(const char* pattern, const char* name) {
    if (!*pattern)
        return !*name;
    if (*pattern == '*')
        return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
    if (!*name)
        return false;
    if (*pattern != '?' && Lower(*pattern) != Lower(*name))
        return false;
    return Matches(pattern + 1, name + 1);
}

// Windows wildcards: "x.*" also matches a name without any extension, so "*.*" lists all.
bool MatchesWindowsPattern(const std::string& pattern, const char* name) {
    if (Matches(pattern.c_str(), name))
        return true;
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0)
        return Matches(pattern.substr(0, pattern.size() - 2).c_str(), name);
    return false;
}

void FillStatus(const struct stat& st, const char* name, Status& status) {
    status.folder = S_ISDIR(st.st_mode);
    status.readOnly = (st.st_mode & S_IWUSR) == 0;
    status.hidden = name && name[0] == '.' && std::strcmp(name, ".") != 0 &&
                    std::strcmp(name, "..") != 0;
    status.modified = st.st_mtime;
    status.size = st.st_size;
}

struct HostFind {
    DIR* dir;
    std::string folder;
    std::string pattern;
};
}  // namespace

bool GetStatus(const char* path, Status& status) {
    struct stat st;
    if (!path || !*path || stat(Native(path).c_str(), &st) != 0)
        return false;
    std::string p = Native(path);
    size_t slash = p.find_last_of('/');
    FillStatus(st, slash == std::string::npos ? p.c_str() : p.c_str() + slash + 1, status);
    return true;
}

bool SetModifiedTime(const char* path, std::time_t time) {
    struct timespec times[2];
    times[0].tv_sec = time;
    times[0].tv_nsec = 0;
    times[1] = times[0];
    return utimensat(AT_FDCWD, Native(path).c_str(), times, 0) == 0;
}

bool CreateFolder(const char* path) { return mkdir(Native(path).c_str(), 0777) == 0; }
bool RemoveFolder(const char* path) { return rmdir(Native(path).c_str()) == 0; }
bool RemoveFile(const char* path) { return unlink(Native(path).c_str()) == 0; }

bool MoveEntry(const char* from, const char* to) {
    struct stat st;
    if (stat(Native(to).c_str(), &st) == 0)  // MoveFile never replaces an existing entry
        return false;
    return rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

bool ReplaceEntry(const char* source, const char* target) {
    struct stat st;
    if (stat(Native(target).c_str(), &st) == 0 && !(st.st_mode & S_IWUSR))
        return false;  // as MoveFileEx keeps a read-only file
    return rename(Native(source).c_str(), Native(target).c_str()) == 0;
}

bool ClearAttributes(const char* path) {
    struct stat st;
    std::string p = Native(path);
    if (stat(p.c_str(), &st) != 0)
        return false;
    return chmod(p.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool DeleteToRecycleBin(const char* path) { return RemoveFile(path); }

std::FILE* OpenStream(const char* path, const char* mode) {
    return std::fopen(Native(path).c_str(), mode);
}

bool CreateEmptyFile(const char* path) {
    int fd = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

unsigned DriveKind(const char*) { return 0; }

CString GetSystemTempPath() {
    const char* tmp = std::getenv("TMPDIR");
    std::string p = (tmp && *tmp) ? tmp : "/tmp";
    if (p.back() != '/')
        p.push_back('/');
    return FromNative(p);
}

CString ProgramFileName() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0)
        return CString();
    return FromNative(std::string(buffer, static_cast<size_t>(n)));
}

CString GetLocalAppDataFolder() {
    std::string p;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        p = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        p = std::string(home) + "/.local/share";
    else
        return CString();
    struct stat st;
    if (stat(p.c_str(), &st) != 0 && mkdir(p.c_str(), 0777) != 0)
        return CString();
    return FromNative(p);
}

bool Finder::First(const char* pattern, CString& name, Status& status) {
    Close();
    std::string p = Native(pattern);
    size_t slash = p.find_last_of('/');
    auto* find = new HostFind;
    find->folder = slash == std::string::npos ? std::string(".") : p.substr(0, slash);
    if (find->folder.empty())
        find->folder = "/";
    find->pattern = slash == std::string::npos ? p : p.substr(slash + 1);
    find->dir = opendir(find->folder.c_str());
    if (!find->dir) {
        delete find;
        return false;
    }
    m_handle = find;
    if (Next(name, status))
        return true;
    Close();
    return false;
}

bool Finder::Next(CString& name, Status& status) {
    auto* find = static_cast<HostFind*>(m_handle);
    if (!find)
        return false;
    while (struct dirent* entry = readdir(find->dir)) {
        if (!MatchesWindowsPattern(find->pattern, entry->d_name))
            continue;
        struct stat st;
        std::string full = find->folder + "/" + entry->d_name;
        if (stat(full.c_str(), &st) != 0)
            continue;
        FillStatus(st, entry->d_name, status);
        name = entry->d_name;
        return true;
    }
    return false;
}

void Finder::Close() {
    if (auto* find = static_cast<HostFind*>(m_handle)) {
        closedir(find->dir);
        delete find;
        m_handle = nullptr;
    }
}

#endif

namespace {
long long g_writeLimit = -1;
}  // namespace

void SetWriteLimitForTesting(long long bytes) { g_writeLimit = bytes; }

ReplacingWriter::ReplacingWriter(const char* target) : m_target(target), m_temporary(m_target + ".~tmp")
{
    m_file = OpenStream(m_temporary, "wb");
}

ReplacingWriter::~ReplacingWriter() { Discard(); }

void ReplacingWriter::Discard()
{
    if (!m_file)
        return;
    std::fclose(m_file);
    m_file = nullptr;
    RemoveFile(m_temporary);
}

bool ReplacingWriter::Write(const void* bytes, std::size_t length)
{
    if (!Good())
        return false;
    if (length == 0)
        return true;
    std::size_t allowed = length;
    if (g_writeLimit >= 0) {
        allowed = static_cast<std::size_t>(std::min<long long>(g_writeLimit, static_cast<long long>(length)));
        g_writeLimit -= static_cast<long long>(allowed);
    }
    m_good = std::fwrite(bytes, 1, allowed, m_file) == allowed && allowed == length;
    return m_good;
}

bool ReplacingWriter::Commit()
{
    if (!m_file)
        return false;
    bool ok = m_good && std::fflush(m_file) == 0;
    ok = std::fclose(m_file) == 0 && ok;  // a full disk may show only here
    m_file = nullptr;
    if (!ok || !ReplaceEntry(m_temporary, m_target)) {
        RemoveFile(m_temporary);
        return false;
    }
    return true;
}

bool WriteWholeFile(const char* target, const void* bytes, std::size_t length)
{
    ReplacingWriter writer(target);
    return writer.Write(bytes, length) && writer.Commit();
}

}  // namespace FileSystem
