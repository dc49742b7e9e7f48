// Paths, "file:" URLs and file operations: the one set every part of the program uses.
//
// Conventions: paths are CStrings in the system code page; a path "in folder form" ends with
// one backslash; name comparisons ignore the case of ASCII letters. The operations keep no
// state and report failure by their result (empty text, false, 0); they never throw.
// CFileUtils has only static members, so callers may construct one or call them directly.
#pragma once

#include "util/FileSystem.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/CTime.h"

class CFileUtils : public CObject {
    DECLARE_DYNAMIC(CFileUtils)
public:
    // ---- Path text (no file-system access) ----
    static CString GetExtension(const CString& path);  // lower-cased, without the dot
    static CString RemoveExtension(const CString& path);
    static CString GetFileName(const CString& path);
    static CString GetFolder(const CString& path);        // up to and including the last backslash
    static CString GetParentFolder(const CString& path);  // without trailing backslash
    static void AddBackslash(CString& path);
    static CString WithBackslash(const CString& path);
    static void RemoveTrailingBackslash(CString& path);
    static CString MakePath(const CString& folder, const CString& name, const CString& extension);
    static CString RemoveTrailingDigits(const CString& name);
    static BOOL IsSameBaseName(const CString& path1, const CString& path2);
    static BOOL IsAbsolutePath(const CString& path);
    static BOOL IsUNCPath(const CString& path);
    static BOOL IsNetworkMachinePath(const CString& path);
    static CString GetDriveRoot(const CString& path);
    static BOOL IsSameDrive(const CString& path1, const CString& path2);
    static CString AddDriveLetter(const CString& path, char drive);
    static CString MakeAbsolutePath(const CString& path);
    static CString MakeRelativePath(const CString& path, const CString& base);
    static CString CollapseDotDot(const CString& path);
    static CString MakeDisplayPath(const CString& path);
    // Makes name usable as a file name; false only when name is null.
    static BOOL MakeValidFileName(CString* name, BOOL keepSpaces, BOOL keepDots);
    static BOOL IsPlaceholderName(const CString& name);
    static CString ExtensionForGraphicType(int exportType);
    static BOOL IsProjectFolder(const CString& path);
    static BOOL IsThemeFolder(const CString& path);

    // ---- URLs ----
    static BOOL IsURL(const CString& text, BOOL* hasScheme = nullptr);
    static CString URLToPath(const CString& text);
    static CString PathToFileURL(const CString& path);
    static CString ToForwardSlashes(const CString& text);

    // ---- File system ----
    static BOOL FileExists(const CString& path);
    static BOOL FolderExists(const CString& path);
    static BOOL IsReadOnly(const CString& path);
    static BOOL IsFileNewer(const CString& path1, const CString& path2);
    static BOOL GetModifiedTime(const CString& path, CTime& time);
    static BOOL SetModifiedTime(const CString& path, const CTime& time);
    static BOOL SameModifiedTime(const CString& path1, const CString& path2);
    static DWORD QuickFileSignature(const CString& path);
    static BOOL CreateFolder(const CString& path, BOOL createParents);
    static BOOL DeleteFolderFiles(const CString& folder, BOOL removeFolder);
    static CString FindFileRecursive(const CString& folder, const CString& name,
                                     const CString& extension, const CString& namePart);
    static BOOL RenameFile(const CString& path, const CString& newName);
    static BOOL ClearAttributes(const CString& path);
    static BOOL DeleteToRecycleBin(const CString& path);
    static CString MakeUniqueFileName(const CString& path);
    static BOOL EnsureDriveReady(const CString& path);
    static BOOL IsFolderWritable(const CString& folder);
    static CString GetSystemTempPath();
    static int GetProgramFolder(CString* folder);
    static CString GetUserDataFolder();
    static BOOL GetNetworkFolderName(CString* name);
    static BOOL GetComputerFolderName(CString* name);
};

// Lists the entries of a folder by wildcard pattern, skipping hidden and system entries and
// the entries "." and "..".
class CFileFinder : public CObject {
    DECLARE_DYNAMIC(CFileFinder)
public:
    CFileFinder();
    ~CFileFinder() override;

    void Start(const CString& pattern);
    // The next entry; false with an empty name at the end.
    BOOL Next(CString& name, BOOL& isFolder);
    void Close();

private:
    CString m_pattern;
    FileSystem::Finder m_search;  // open between the first Next and Close
    BOOL m_started;
};
