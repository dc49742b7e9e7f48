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

// Replaces target by source (both in one folder) in one step; a read-only target is kept and
// the call fails, as it does on Windows.
bool ReplaceEntry(const char* source, const char* target);

// A whole file written through a temporary file beside its target ("<target>.~tmp") that
// replaces the target only once every byte is written and the file is closed: a full disk or
// any failed write keeps the previous file with all its bytes and leaves no temporary behind.
class ReplacingWriter {
public:
    explicit ReplacingWriter(const char* target);
    ~ReplacingWriter();  // discards what Commit did not put in place
    ReplacingWriter(const ReplacingWriter&) = delete;
    ReplacingWriter& operator=(const ReplacingWriter&) = delete;

    // False once any write failed (or the temporary could not be created); later writes do
    // nothing.
    bool Write(const void* bytes, std::size_t length);
    bool Write(const CString& text) { return Write(text.GetString(), static_cast<std::size_t>(text.GetLength())); }
    bool Good() const { return m_file != nullptr && m_good; }
    // Closes the temporary and puts it in the target's place; false, with the target as it
    // was, when anything failed.
    bool Commit();

private:
    void Discard();
    CString m_target;
    CString m_temporary;
    std::FILE* m_file = nullptr;
    bool m_good = true;
};

// The same for bytes held in memory.
bool WriteWholeFile(const char* target, const void* bytes, std::size_t length);

// Test seam: from now on the replacing writes fail once this many bytes in all have gone
// through them, as on a full disk; a negative limit (the default) lifts it.
void SetWriteLimitForTesting(long long bytes);

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
