// The few file-system calls the utilities make, on the platform's own functions.
//
// Paths are Windows paths. On Windows they go to the ANSI functions unchanged; the host build
// (tests of the portable core) reads every backslash as a "/" so that the same code and tests
// run on a POSIX file system.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "framework/core/CString.h"

namespace FileSystem {

struct Status {
    bool folder = false;
    bool readOnly = false;
    bool hidden = false;   // hidden or system: the listings skip these
    std::time_t modified = 0;
    std::int64_t size = 0;
};

// The entry's status; false when it does not exist or cannot be read.
bool GetStatus(const char* path, Status& status);
bool SetModifiedTime(const char* path, std::time_t time);
bool CreateFolder(const char* path);
bool RemoveFolder(const char* path);
bool RemoveFile(const char* path);
bool MoveEntry(const char* from, const char* to);
bool ClearAttributes(const char* path);
// Deletes a file through the shell with undo allowed (Windows); a plain delete elsewhere.
bool DeleteToRecycleBin(const char* path);
// fopen on the platform's form of the path.
std::FILE* OpenStream(const char* path, const char* mode);
// Creates the file for writing, unshared, replacing any file of that name; closes it at once.
bool CreateEmptyFile(const char* path);
// The drive type of a drive root ("C:\"): 2 removable, 5 CD, other values as the platform's.
unsigned DriveKind(const char* root);
CString GetSystemTempPath();
// The running program's full file name; empty on failure.
CString ProgramFileName();
// The per-user local application data folder (created when missing), without backslash.
CString GetLocalAppDataFolder();

// One open listing of a folder by wildcard pattern ("folder\*.*", "folder\name.*").
class Finder {
public:
    Finder() = default;
    ~Finder() { Close(); }
    Finder(const Finder&) = delete;
    Finder& operator=(const Finder&) = delete;

    // Starts the listing and answers its first entry; false when nothing matches.
    bool First(const char* pattern, CString& name, Status& status);
    bool Next(CString& name, Status& status);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }

private:
    void* m_handle = nullptr;
};

}  // namespace FileSystem
