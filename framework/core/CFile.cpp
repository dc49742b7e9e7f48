#include "framework/core/CFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <climits>
#include <cstdlib>
#include <unistd.h>
#endif

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

#ifdef _WIN32
// 100-nanosecond intervals from 1601-01-01 to 1970-01-01.
const ULONGLONG kFileTimeEpochOffset = 116444736000000000ULL;
const ULONGLONG kFileTimeTicksPerSecond = 10000000ULL;

CTime FromFileTime(const FILETIME& ft)
{
    const ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    if (ticks < kFileTimeEpochOffset)
        return CTime();
    return CTime(static_cast<std::time_t>((ticks - kFileTimeEpochOffset) / kFileTimeTicksPerSecond));
}

FILETIME ToFileTime(const CTime& time)
{
    const ULONGLONG ticks =
        static_cast<ULONGLONG>(time.GetTime()) * kFileTimeTicksPerSecond + kFileTimeEpochOffset;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

// The errno value closest to the last Win32 error, for CFileException.
int ErrnoFromWin32(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return ENOENT;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return ENOTDIR;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return EEXIST;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EINVAL;
    }
}
#endif

void CopyFullName(const CString& name, CFileStatus& rStatus)
{
    const int n = name.GetLength() < MAX_PATH - 1 ? name.GetLength() : MAX_PATH - 1;
    std::memcpy(rStatus.m_szFullName, static_cast<LPCTSTR>(name), static_cast<std::size_t>(n));
    rStatus.m_szFullName[n] = '\0';
}

// The absolute form of a path, or the path itself when it cannot be made absolute.
CString FullPathName(LPCTSTR lpszFileName)
{
#ifdef _WIN32
    char buffer[MAX_PATH];
    const DWORD n = GetFullPathNameA(lpszFileName, MAX_PATH, buffer, nullptr);
    if (n > 0 && n < MAX_PATH)
        return CString(buffer, static_cast<int>(n));
    return CString(lpszFileName);
#else
    if (lpszFileName[0] == '/')
        return CString(lpszFileName);
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr)
        return CString(lpszFileName);
    return CString(cwd) + "/" + lpszFileName;
#endif
}

bool SeekStream(std::FILE* stream, LONGLONG offset, int origin)
{
#ifdef _WIN32
    return _fseeki64(stream, offset, origin) == 0;
#else
    return fseeko(stream, static_cast<off_t>(offset), origin) == 0;
#endif
}

LONGLONG TellStream(std::FILE* stream)
{
#ifdef _WIN32
    return _ftelli64(stream);
#else
    return static_cast<LONGLONG>(ftello(stream));
#endif
}

CString NameAfterFolder(const CString& path)
{
    int cut = -1;
    for (int i = 0; i < path.GetLength(); ++i) {
        const char ch = path.GetAt(i);
        if (ch == '\\' || ch == '/' || ch == ':')
            cut = i;
    }
    return path.Mid(cut + 1);
}

}  // namespace

CFile::CFile() = default;

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        CFileException::Throw(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    Abort();
    const auto fail = [&](int error) {
        if (pError != nullptr) {
            pError->m_cause = CFileException::OsErrorToException(error);
            pError->m_lOsError = error;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    };
    if (lpszFileName == nullptr || *lpszFileName == '\0')
        return fail(ENOENT);

    int oflag = 0;
    const char* mode = "rb";
    switch (nOpenFlags & 3) {
    case modeRead:
        oflag = O_RDONLY;
        mode = "rb";
        break;
    case modeWrite:
        oflag = O_WRONLY;
        mode = "wb";  // on a descriptor "w" neither creates nor truncates
        break;
    case modeReadWrite:
        oflag = O_RDWR;
        mode = "r+b";
        break;
    default:
        return fail(EINVAL);
    }
    if (nOpenFlags & modeCreate) {
        oflag |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate))
            oflag |= O_TRUNC;
    }

#ifdef _WIN32
    oflag |= O_BINARY;
    if (nOpenFlags & modeNoInherit)
        oflag |= O_NOINHERIT;
    int share = _SH_DENYNO;
    switch (nOpenFlags & 0x70) {
    case shareExclusive:
        share = _SH_DENYRW;
        break;
    case shareDenyWrite:
        share = _SH_DENYWR;
        break;
    case shareDenyRead:
        share = _SH_DENYRD;
        break;
    default:
        break;
    }
    const int fd = _sopen(lpszFileName, oflag, share, _S_IREAD | _S_IWRITE);
#else
    if (nOpenFlags & modeNoInherit)
        oflag |= O_CLOEXEC;
    const int fd = ::open(lpszFileName, oflag, 0666);
    // A folder opens for reading on POSIX; it is never a file here.
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return fail(EACCES);
    }
#endif
    if (fd < 0)
        return fail(errno);
    std::FILE* stream = fdopen(fd, mode);
    if (stream == nullptr) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    m_pStream = stream;
    m_hFile = fd;
    m_strFileName = lpszFileName;
    m_lastOperation = opNone;
    return TRUE;
}

void CFile::Close()
{
    if (m_pStream == nullptr)
        return;
    const int result = std::fclose(m_pStream);
    const int error = errno;
    m_pStream = nullptr;
    m_hFile = hFileNull;
    if (result != 0)
        ThrowErrno(error);
}

void CFile::Abort()
{
    if (m_pStream != nullptr)
        std::fclose(m_pStream);
    m_pStream = nullptr;
    m_hFile = hFileNull;
}

void CFile::Flush()
{
    if (m_pStream != nullptr && std::fflush(m_pStream) != 0)
        ThrowErrno(errno);
}

void CFile::PrepareFor(LastOperation op)
{
    if (m_lastOperation != opNone && m_lastOperation != op)
        SeekStream(m_pStream, 0, SEEK_CUR);
    m_lastOperation = op;
}

void CFile::ThrowIfClosed() const
{
    if (m_pStream == nullptr)
        CFileException::Throw(CFileException::invalidFile, EBADF, m_strFileName);
}

void CFile::ThrowErrno(int error) const
{
    CFileException::ThrowOsError(error, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    ThrowIfClosed();
    PrepareFor(opRead);
    const std::size_t n = std::fread(lpBuf, 1, nCount, m_pStream);
    if (n < nCount && std::ferror(m_pStream)) {
        const int error = errno != 0 ? errno : EIO;
        std::clearerr(m_pStream);
        ThrowErrno(error);
    }
    return static_cast<UINT>(n);
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    ThrowIfClosed();
    PrepareFor(opWrite);
    if (std::fwrite(lpBuf, 1, nCount, m_pStream) != nCount) {
        const int error = errno != 0 ? errno : EIO;
        std::clearerr(m_pStream);
        ThrowErrno(error);
    }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    ThrowIfClosed();
    const int origin = nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : SEEK_SET;
    if (!SeekStream(m_pStream, lOff, origin))
        CFileException::Throw(CFileException::badSeek, errno, m_strFileName);
    m_lastOperation = opNone;
    return GetPosition();
}

ULONGLONG CFile::GetPosition() const
{
    if (m_pStream == nullptr)
        return 0;
    const LONGLONG position = TellStream(m_pStream);
    return position < 0 ? 0 : static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetLength() const
{
    if (m_pStream == nullptr)
        return 0;
    // The size on disk must include what is still buffered. Only output is flushed: the
    // runtimes disagree on what flushing an input stream does to its position.
    if (m_lastOperation == opWrite)
        std::fflush(m_pStream);
#ifdef _WIN32
    struct _stat64 st;
    if (_fstat64(m_hFile, &st) != 0)
        return 0;
#else
    struct stat st;
    if (fstat(m_hFile, &st) != 0)
        return 0;
#endif
    return static_cast<ULONGLONG>(st.st_size);
}

CString CFile::GetFileName() const
{
    return NameAfterFolder(m_strFileName);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    if (m_pStream == nullptr || m_strFileName.IsEmpty())
        return FALSE;
    if (m_lastOperation == opWrite)
        std::fflush(m_pStream);
    return GetStatus(m_strFileName, rStatus);
}

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    rStatus = CFileStatus();
    if (lpszFileName == nullptr || *lpszFileName == '\0')
        return FALSE;
#ifdef _WIN32
    // Wildcards would make the status that of some other file.
    if (std::strpbrk(lpszFileName, "*?") != nullptr)
        return FALSE;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    rStatus.m_ctime = FromFileTime(data.ftCreationTime);
    rStatus.m_atime = FromFileTime(data.ftLastAccessTime);
    rStatus.m_mtime = FromFileTime(data.ftLastWriteTime);
    rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF & ~FILE_ATTRIBUTE_NORMAL);
#else
    struct stat st;
    if (stat(lpszFileName, &st) != 0)
        return FALSE;
    rStatus.m_ctime = CTime(st.st_ctime);
    rStatus.m_atime = CTime(st.st_atime);
    rStatus.m_mtime = CTime(st.st_mtime);
    rStatus.m_size = S_ISDIR(st.st_mode) ? 0 : static_cast<ULONGLONG>(st.st_size);
    BYTE attribute = 0;
    if (S_ISDIR(st.st_mode))
        attribute |= directory;
    if (access(lpszFileName, W_OK) != 0)
        attribute |= readOnly;
    rStatus.m_attribute = attribute;
#endif
    CopyFullName(FullPathName(lpszFileName), rStatus);
    return TRUE;
}

void CFile::SetStatus(LPCTSTR lpszFileName, const CFileStatus& status)
{
    CFileStatus current;
    if (!GetStatus(lpszFileName, current))
        CFileException::ThrowOsError(ENOENT, lpszFileName);
#ifdef _WIN32
    // A read-only file refuses new times: drop the flag first when the new attributes do.
    const bool attributesChange = status.m_attribute != current.m_attribute;
    if (attributesChange && (current.m_attribute & readOnly) && !(status.m_attribute & readOnly)) {
        if (!SetFileAttributesA(lpszFileName, status.m_attribute != 0 ? status.m_attribute : FILE_ATTRIBUTE_NORMAL))
            CFileException::ThrowOsError(ErrnoFromWin32(GetLastError()), lpszFileName);
    }
    if (status.m_mtime.GetTime() != 0 || status.m_atime.GetTime() != 0 || status.m_ctime.GetTime() != 0) {
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        HANDLE file = CreateFileA(lpszFileName, FILE_WRITE_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            CFileException::ThrowOsError(ErrnoFromWin32(GetLastError()), lpszFileName);
        FILETIME created = ToFileTime(status.m_ctime), accessed = ToFileTime(status.m_atime),
                 modified = ToFileTime(status.m_mtime);
        const BOOL ok = SetFileTime(file, status.m_ctime.GetTime() != 0 ? &created : nullptr,
                                    status.m_atime.GetTime() != 0 ? &accessed : nullptr,
                                    status.m_mtime.GetTime() != 0 ? &modified : nullptr);
        const DWORD error = GetLastError();
        CloseHandle(file);
        if (!ok)
            CFileException::ThrowOsError(ErrnoFromWin32(error), lpszFileName);
    }
    if (attributesChange) {
        if (!SetFileAttributesA(lpszFileName, status.m_attribute != 0 ? status.m_attribute : FILE_ATTRIBUTE_NORMAL))
            CFileException::ThrowOsError(ErrnoFromWin32(GetLastError()), lpszFileName);
    }
#else
    // POSIX keeps no settable creation time; the access and modification times are set.
    if (status.m_mtime.GetTime() != 0 || status.m_atime.GetTime() != 0) {
        struct timespec times[2];
        times[0].tv_sec = status.m_atime.GetTime();
        times[0].tv_nsec = status.m_atime.GetTime() != 0 ? 0 : UTIME_OMIT;
        times[1].tv_sec = status.m_mtime.GetTime();
        times[1].tv_nsec = status.m_mtime.GetTime() != 0 ? 0 : UTIME_OMIT;
        if (utimensat(AT_FDCWD, lpszFileName, times, 0) != 0)
            CFileException::ThrowOsError(errno, lpszFileName);
    }
    if ((status.m_attribute & readOnly) != (current.m_attribute & readOnly)) {
        struct stat st;
        if (stat(lpszFileName, &st) != 0)
            CFileException::ThrowOsError(errno, lpszFileName);
        mode_t mode = st.st_mode & 07777;
        mode = (status.m_attribute & readOnly) ? (mode & ~0222) : (mode | S_IWUSR);
        if (chmod(lpszFileName, mode) != 0)
            CFileException::ThrowOsError(errno, lpszFileName);
    }
#endif
}

void CFile::Remove(LPCTSTR lpszFileName)
{
#ifdef _WIN32
    if (lpszFileName == nullptr || !DeleteFileA(lpszFileName))
        CFileException::ThrowOsError(lpszFileName == nullptr ? ENOENT : ErrnoFromWin32(GetLastError()), lpszFileName);
#else
    if (lpszFileName == nullptr || ::unlink(lpszFileName) != 0)
        CFileException::ThrowOsError(lpszFileName == nullptr ? ENOENT : errno, lpszFileName);
#endif
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (lpszOldName == nullptr || lpszNewName == nullptr)
        CFileException::ThrowOsError(ENOENT, lpszOldName);
#ifdef _WIN32
    if (!MoveFileA(lpszOldName, lpszNewName))
        CFileException::ThrowOsError(ErrnoFromWin32(GetLastError()), lpszOldName);
#else
    // rename() would silently replace the target; a move never does.
    struct stat st;
    if (lstat(lpszNewName, &st) == 0)
        CFileException::ThrowOsError(EEXIST, lpszOldName);
    if (std::rename(lpszOldName, lpszNewName) != 0)
        CFileException::ThrowOsError(errno, lpszOldName);
#endif
}
