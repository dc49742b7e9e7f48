#include "util/FileUtils.h"

#include <cstdint>

#include "util/AppUtilServices.h"

IMPLEMENT_DYNAMIC(CFileUtils, CObject)
IMPLEMENT_DYNAMIC(CFileFinder, CObject)

namespace {

// Shell special folders whose display names the program shows for "\\" and "".
const int kCsidlDrives = 0x0011;
const int kCsidlNetwork = 0x0012;

// The unique-name search gives up after this many numbered candidates instead of spinning.
const int kMaxUniqueNumber = 1000000;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return text.GetLength() >= prefix.GetLength() &&
           text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

CString Lowered(const CString& text) {
    CString copy = text;
    copy.MakeLower();
    return copy;
}

// The last "." of the path's last component, or -1. A dot in a folder name is no extension.
int ExtensionDot(const CString& path) {
    int dot = path.ReverseFind('.');
    if (dot <= 0 || dot < path.ReverseFind('\\'))
        return -1;
    return dot;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The position of the first ".." that is a whole path component, or -1.
int FindDotDotComponent(const CString& path) {
    for (int pos = path.Find(".."); pos >= 0; pos = path.Find("..", pos + 1)) {
        bool startsComponent = pos == 0 || IsSeparator(path[pos - 1]);
        bool endsComponent = pos + 2 == path.GetLength() || IsSeparator(path[pos + 2]);
        if (startsComponent && endsComponent)
            return pos;
    }
    return -1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Path text

CString CFileUtils::GetExtension(const CString& path) {
    int dot = ExtensionDot(path);
    if (dot < 0)
        return CString();
    return Lowered(path.Mid(dot + 1));
}

CString CFileUtils::RemoveExtension(const CString& path) {
    int dot = ExtensionDot(path);
    return dot < 0 ? path : path.Left(dot);
}

CString CFileUtils::GetFileName(const CString& path) {
    return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileUtils::GetFolder(const CString& path) {
    CString trimmed = path;
    RemoveTrailingBackslash(trimmed);
    int backslash = trimmed.ReverseFind('\\');
    if (backslash <= 0)
        return path;
    return trimmed.Left(backslash + 1);
}

CString CFileUtils::GetParentFolder(const CString& path) {
    CString trimmed = path;
    RemoveTrailingBackslash(trimmed);
    int backslash = trimmed.ReverseFind('\\');
    if (backslash <= 0)
        return path;
    return trimmed.Left(backslash);
}

void CFileUtils::AddBackslash(CString& path) {
    if (path.IsEmpty() || path[path.GetLength() - 1] != '\\')
        path += '\\';
}

CString CFileUtils::WithBackslash(const CString& path) {
    CString copy = path;
    if (!copy.IsEmpty())
        AddBackslash(copy);
    return copy;
}

void CFileUtils::RemoveTrailingBackslash(CString& path) {
    if (!path.IsEmpty())
        path.TrimRight('\\');
}

CString CFileUtils::MakePath(const CString& folder, const CString& name, const CString& extension) {
    return WithBackslash(folder) + name + "." + extension;
}

CString CFileUtils::RemoveTrailingDigits(const CString& name) {
    CString copy = name;
    copy.TrimRight("0123456789");
    return copy;
}

BOOL CFileUtils::IsSameBaseName(const CString& path1, const CString& path2) {
    CString base1 = RemoveTrailingDigits(RemoveExtension(GetFileName(path1)));
    CString base2 = RemoveTrailingDigits(RemoveExtension(GetFileName(path2)));
    return !base1.IsEmpty() && !base2.IsEmpty() && base1.CompareNoCase(base2) == 0;
}

BOOL CFileUtils::IsAbsolutePath(const CString& path) {
    if (path.GetLength() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':')
        return TRUE;
    return !path.IsEmpty() && path[0] == '\\';
}

BOOL CFileUtils::IsUNCPath(const CString& path) {
    return path.GetLength() >= 2 && path[0] == '\\' && path[1] == '\\';
}

BOOL CFileUtils::IsNetworkMachinePath(const CString& path) {
    return IsUNCPath(path) && path.Find('\\', 2) < 0;
}

CString CFileUtils::GetDriveRoot(const CString& path) {
    if (path.GetLength() >= 2 && path[1] == ':')
        return path.Left(2) + "\\";
    return CString();
}

BOOL CFileUtils::IsSameDrive(const CString& path1, const CString& path2) {
    CString root = GetDriveRoot(path1);
    return !root.IsEmpty() && root.CompareNoCase(GetDriveRoot(path2)) == 0;
}

CString CFileUtils::AddDriveLetter(const CString& path, char drive) {
    if (path.Find(':') >= 0)
        return path;
    CString result;
    result.Format("%c:%s", drive, static_cast<LPCTSTR>(path));
    return result;
}

CString CFileUtils::MakeAbsolutePath(const CString& path) {
    if (path.IsEmpty() || IsAbsolutePath(path))
        return path;
    return AppUtilServices().GetRootPath() + path;
}

CString CFileUtils::MakeRelativePath(const CString& path, const CString& base) {
    if (base.IsEmpty())
        return path;
    CString folder = WithBackslash(base);
    if (path.IsEmpty() || LowerAscii(path[0]) != LowerAscii(folder[0]))
        return CString();  // another drive

    if (IsUNCPath(path) && IsUNCPath(folder) && path.GetLength() > 2 && folder.GetLength() > 2) {
        // Server, then share: \\server\share\...
        int pathEnd = 2, folderEnd = 2;
        for (int part = 0; part < 2; ++part) {
            int pathNext = path.Find('\\', pathEnd);
            int folderNext = folder.Find('\\', folderEnd);
            CString pathName = pathNext < 0 ? path.Mid(pathEnd) : path.Mid(pathEnd, pathNext - pathEnd);
            CString folderName =
                folderNext < 0 ? folder.Mid(folderEnd) : folder.Mid(folderEnd, folderNext - folderEnd);
            if (pathName.CompareNoCase(folderName) != 0)
                return CString();
            if (pathNext < 0 || folderNext < 0)
                break;
            pathEnd = pathNext + 1;
            folderEnd = folderNext + 1;
        }
    }

    int common = 0;
    int lastBackslash = -1;
    while (common < path.GetLength() && common < folder.GetLength() &&
           LowerAscii(path[common]) == LowerAscii(folder[common])) {
        if (path[common] == '\\')
            lastBackslash = common;
        ++common;
    }

    CString result;
    for (int i = lastBackslash + 1; i < folder.GetLength(); ++i)
        if (folder[i] == '\\')
            result += "..\\";
    return result + path.Mid(lastBackslash + 1);
}

CString CFileUtils::CollapseDotDot(const CString& path) {
    CString result = path;
    for (;;) {
        int dots = FindDotDotComponent(result);
        // ".." must follow a component of its own, which must itself follow a separator.
        if (dots < 3)
            return result;
        int componentEnd = dots - 1;  // the separator before ".."
        int separator = componentEnd - 1;
        while (separator >= 0 && !IsSeparator(result[separator]))
            --separator;
        if (separator < 0 || separator + 1 == componentEnd)
            return result;
        CString component = result.Mid(separator + 1, componentEnd - separator - 1);
        if (component == "..")
            return result;
        result.Delete(separator, dots + 2 - separator);
    }
}

CString CFileUtils::MakeDisplayPath(const CString& path) {
    CAppUtilServices& services = AppUtilServices();
    CString result = path;
    if (result == "\\\\")
        result = services.GetSpecialFolderDisplayName(kCsidlNetwork);
    else if (result.IsEmpty())
        result = services.GetSpecialFolderDisplayName(kCsidlDrives);
    else if (IsNetworkMachinePath(result))
        result = result.Mid(2);

    CString root = services.GetRootPath();
    if (!root.IsEmpty() && StartsWithNoCase(result, root)) {
        result = result.Mid(root.GetLength());
        CString templates = services.GetTemplatesFolder();
        RemoveTrailingBackslash(templates);
        if (StartsWithNoCase(templates, root))
            templates = templates.Mid(root.GetLength());
        int n = templates.GetLength();
        // Only a whole folder name: "TWTemplatesOld\x" stays as it is.
        if (n > 0 && result.GetLength() > n && StartsWithNoCase(result, templates) &&
            result[n] == '\\')
            result = result.Mid(n + 1);
    }
    return result;
}

BOOL CFileUtils::MakeValidFileName(CString* name, BOOL keepSpaces, BOOL keepDots) {
    if (!name)
        return FALSE;
    // The separator flag keeps runs of white space down to one character, and none at the start.
    bool separatorAllowed = true;
    CString result;
    for (int i = 0; i < name->GetLength(); ++i) {
        char c = (*name)[i];
        switch (c) {
        case '\t':
        case ' ':
            if (separatorAllowed)
                result += keepSpaces ? ' ' : '_';
            separatorAllowed = false;
            break;
        case '\r':
        case '\n':
            if (separatorAllowed)
                result += '_';
            separatorAllowed = false;
            break;
        case ':':
        case '?':
        case '*':
        case '\\':
        case '/':
        case '"':
        case '<':
        case '>':
        case '|':
            break;
        case '.':
        case ',':
            if (!keepDots)
                break;
            result += c;
            separatorAllowed = true;
            break;
        default:
            result += c;
            separatorAllowed = true;
            break;
        }
    }
    result.Trim();
    if (result.IsEmpty())
        result = "Graphic";
    *name = result;
    return TRUE;
}

BOOL CFileUtils::IsPlaceholderName(const CString& name) {
    for (int i = 0; i < name.GetLength(); ++i)
        if (name[i] != '-' && name[i] != '_')
            return FALSE;
    return TRUE;
}

CString CFileUtils::ExtensionForGraphicType(int exportType) {
    switch (exportType) {
    case 1:
        return "jpg";
    case 4:
        return "png";
    default:
        return "gif";
    }
}

BOOL CFileUtils::IsProjectFolder(const CString& path) {
    return Lowered(path).Find(Lowered(LoadAppString(IDS_UTIL_PROJECT_TAG, "(Project)"))) >= 0;
}

BOOL CFileUtils::IsThemeFolder(const CString& path) {
    return Lowered(path).Find(Lowered(LoadAppString(IDS_UTIL_THEME_TAG, "(Theme)"))) >= 0;
}

// ---------------------------------------------------------------------------------------------
// URLs

namespace {

bool IsLabelChar(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-';
}

// "www.example.com", "a.b.c/page": at least three dot-separated labels, then the end, "/", ":"
// or a backslash.
bool IsHostLike(const CString& text) {
    int n = text.GetLength();
    int i = 0;
    while (i < n && IsLabelChar(text[i]))
        ++i;
    if (i == 0 || i == n)
        return false;
    int dots = 0;
    while (i < n && text[i] == '.') {
        int start = ++i;
        while (i < n && IsLabelChar(text[i]))
            ++i;
        if (i == start)
            return false;
        ++dots;
    }
    if (dots < 2)
        return false;
    return i == n || text[i] == '/' || text[i] == ':' || text[i] == '\\';
}

}  // namespace

BOOL CFileUtils::IsURL(const CString& text, BOOL* hasScheme) {
    static const char* const kSchemes[] = {"http", "https", "ftp",   "mailto", "rtsp",
                                           "ldap", "sip",   "pop",   "nfs",    "imap",
                                           "vemmi", "nntp", "news",  "gopher"};
    if (hasScheme)
        *hasScheme = FALSE;
    int colon = text.Find(':');
    if (colon >= 2) {
        CString scheme = text.Left(colon);
        for (const char* known : kSchemes) {
            if (scheme.CompareNoCase(known) == 0) {
                if (hasScheme)
                    *hasScheme = TRUE;
                return TRUE;
            }
        }
    }
    return IsHostLike(text);
}

CString CFileUtils::URLToPath(const CString& text) {
    if (text.IsEmpty())
        return text;
    CString path = text;
    path.Replace('/', '\\');
    path.Replace('|', ':');
    if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\')
        path.Delete(path.GetLength() - 1);
    if (path.Left(5) == "file:") {
        path = path.Mid(5);
        if (path.Left(3) == "\\\\\\")
            path = path.Mid(3);
    }
    path.Replace("%20", " ");
    return path;
}

CString CFileUtils::PathToFileURL(const CString& path) {
    if (!IsAbsolutePath(path))
        return path;
    CString body = IsUNCPath(path) ? path : "\\\\\\" + path;
    CString url;
    url.Format("file:%s", static_cast<LPCTSTR>(ToForwardSlashes(body)));
    return url;
}

CString CFileUtils::ToForwardSlashes(const CString& text) {
    CString result;
    for (int i = 0; i < text.GetLength(); ++i) {
        char c = text[i];
        if (c == '\\')
            result += '/';
        else if (c == '/')
            result += "\\/";
        else
            result += c;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// File system

BOOL CFileUtils::FileExists(const CString& path) {
    FileSystem::Status status;
    return FileSystem::GetStatus(path, status) && !status.folder;
}

BOOL CFileUtils::FolderExists(const CString& path) {
    FileSystem::Status status;
    return FileSystem::GetStatus(path, status) && status.folder;
}

BOOL CFileUtils::IsReadOnly(const CString& path) {
    FileSystem::Status status;
    return FileSystem::GetStatus(path, status) && status.readOnly;
}

namespace {
bool CanOpenForReading(const CString& path) {
    std::FILE* f = FileSystem::OpenStream(path, "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}
}  // namespace

BOOL CFileUtils::IsFileNewer(const CString& path1, const CString& path2) {
    if (!CanOpenForReading(path1))
        return FALSE;
    if (!CanOpenForReading(path2))
        return TRUE;
    FileSystem::Status status1, status2;
    if (!FileSystem::GetStatus(path1, status1))
        return FALSE;
    if (!FileSystem::GetStatus(path2, status2))
        return TRUE;
    return status1.modified > status2.modified;
}

BOOL CFileUtils::GetModifiedTime(const CString& path, CTime& time) {
    FileSystem::Status status;
    if (!FileSystem::GetStatus(path, status))
        return FALSE;
    time = CTime(status.modified);
    return TRUE;
}

BOOL CFileUtils::SetModifiedTime(const CString& path, const CTime& time) {
    FileSystem::Status status;
    if (!FileSystem::GetStatus(path, status))
        return FALSE;
    return FileSystem::SetModifiedTime(path, time.GetTime());
}

BOOL CFileUtils::SameModifiedTime(const CString& path1, const CString& path2) {
    CTime time1, time2;
    return GetModifiedTime(path1, time1) && GetModifiedTime(path2, time2) && time1 == time2;
}

DWORD CFileUtils::QuickFileSignature(const CString& path) {
    FileSystem::Status status;
    std::FILE* f = FileSystem::OpenStream(path, "rb");
    if (!f)
        return 0;
    if (!FileSystem::GetStatus(path, status)) {
        std::fclose(f);
        return 0;
    }
    // Fifteen bytes at offsets L/16, L/8, L/4 ... sampled cheaply; once an offset passes the
    // end, the last byte read counts again. An empty file reads nothing and counts 0.
    const std::int64_t length = status.size;
    std::int64_t offset = (length - length % 16) / 16;
    DWORD sum = 1;
    unsigned lastByte = 0;
    for (int i = 0; i < 15; ++i) {
        if (offset < length) {
            if (offset <= 0x7FFFFFFF && std::fseek(f, static_cast<long>(offset), SEEK_SET) == 0) {
                int c = std::fgetc(f);
                if (c != EOF)
                    lastByte = static_cast<unsigned>(c);
            }
            offset *= 2;
        }
        sum += lastByte;
    }
    std::fclose(f);
    return sum;
}

BOOL CFileUtils::CreateFolder(const CString& path, BOOL createParents) {
    CString trimmed = path;
    RemoveTrailingBackslash(trimmed);
    CString folder = GetFolder(trimmed);
    if (FolderExists(folder))
        return TRUE;
    if (folder == trimmed || !createParents)
        return FALSE;
    if (!CreateFolder(folder, TRUE))
        return FALSE;
    CString target = folder;
    RemoveTrailingBackslash(target);
    FileSystem::CreateFolder(target);
    // Report what is there, not what was attempted: a failed creation is a failure.
    return FolderExists(folder);
}

BOOL CFileUtils::DeleteFolderFiles(const CString& folder, BOOL removeFolder) {
    CFileFinder finder;
    finder.Start(WithBackslash(folder) + "*.*");
    CString name;
    BOOL isFolder = FALSE;
    BOOL ok = TRUE;
    while (finder.Next(name, isFolder)) {
        if (!isFolder && !FileSystem::RemoveFile(WithBackslash(folder) + name))
            ok = FALSE;
    }
    finder.Close();
    if (removeFolder) {
        CString target = folder;
        RemoveTrailingBackslash(target);
        if (!FileSystem::RemoveFolder(target))
            ok = FALSE;
    }
    return ok;
}

namespace {

CString FindFileIn(const CString& folder, const CString& name, const CString& extension,
                   const CString& namePart) {
    // Every entry is listed so that the search descends into all sub-folders; the tests below
    // pick the files.
    CFileFinder finder;
    finder.Start(folder + "\\*");
    CString entry;
    BOOL isFolder = FALSE;
    while (finder.Next(entry, isFolder)) {
        if (isFolder) {
            if (entry.IsEmpty() || entry[0] == '.')
                continue;
            CString found = FindFileIn(folder + "\\" + entry, name, extension, namePart);
            if (!found.IsEmpty())
                return found;
            continue;
        }
        int dot = entry.ReverseFind('.');
        CString entryExtension = dot < 0 ? CString() : Lowered(entry.Mid(dot + 1));
        CString entryBase = Lowered(dot < 0 ? entry : entry.Left(dot));
        if (extension != "*" && entryExtension != extension)
            continue;
        if (!namePart.IsEmpty()) {
            if (entryBase.Find(namePart) < 0)
                continue;
        } else if (name != "*" && entryBase != Lowered(name)) {
            continue;
        }
        return folder + "\\" + entry;
    }
    return CString();
}

}  // namespace

CString CFileUtils::FindFileRecursive(const CString& folder, const CString& name,
                                      const CString& extension, const CString& namePart) {
    // The folder keeps its case: names compare without case, but the file system may not.
    CString root = folder;
    RemoveTrailingBackslash(root);
    CString ext = Lowered(extension);
    ext.TrimLeft('.');
    return FindFileIn(root, name, ext, Lowered(namePart));
}

BOOL CFileUtils::RenameFile(const CString& path, const CString& newName) {
    CString source = path;
    RemoveTrailingBackslash(source);
    CString name = newName;
    RemoveTrailingBackslash(name);
    CString target = source.Left(source.ReverseFind('\\') + 1) + name;
    return FileSystem::MoveEntry(source, target);
}

BOOL CFileUtils::ClearAttributes(const CString& path) {
    if (path.IsEmpty())
        return FALSE;
    return FileSystem::ClearAttributes(path);
}

BOOL CFileUtils::DeleteToRecycleBin(const CString& path) {
    if (path.IsEmpty())
        return FALSE;
    return FileSystem::DeleteToRecycleBin(path);
}

CString CFileUtils::MakeUniqueFileName(const CString& path) {
    if (!FileExists(path))
        return path;
    CAppUtilServices& services = AppUtilServices();
    if (!services.HasOperationsManager()) {
        services.SetInternalError(1058, "FileUtils.cpp");
        return CString();
    }
    int backslash = path.ReverseFind('\\');
    CString folder = path.Left(backslash + 1);
    CString fileName = path.Mid(backslash + 1);
    int dot = fileName.ReverseFind('.');
    CString name = dot < 0 ? fileName : fileName.Left(dot);
    CString extension = dot < 0 ? CString() : fileName.Mid(dot);

    // A navigation bar's state files keep their "_off" behind the number: bar_off.gif gives
    // bar1_off.gif, so its sister state files still pair with it.
    if (services.IsNavBarMode() && name.GetLength() > 4 && name.Right(4) == "_off") {
        name = name.Left(name.GetLength() - 4);
        extension = "_off" + extension;
    }
    name = RemoveTrailingDigits(name);
    for (int n = 1; n <= kMaxUniqueNumber; ++n) {
        CString candidate;
        candidate.Format("%s%s%d%s", static_cast<LPCTSTR>(folder), static_cast<LPCTSTR>(name), n,
                         static_cast<LPCTSTR>(extension));
        if (!FileExists(candidate))
            return candidate;
    }
    return CString();
}

BOOL CFileUtils::EnsureDriveReady(const CString& path) {
    int colon = path.Find(':');
    CString drive = colon < 0 ? path : path.Left(colon + 1);
    // A drive is probed at its root: "C:" alone names the current folder of the drive.
    CString probe = colon < 0 ? drive : drive + "\\";
    for (;;) {
        FileSystem::Status status;
        if (FileSystem::GetStatus(probe, status))
            return TRUE;
        UINT message;
        switch (FileSystem::DriveKind(probe)) {
        case 2:  // removable
            message = IDS_UTIL_INSERT_DISK;
            break;
        case 5:  // CD
            message = IDS_UTIL_INSERT_CD;
            break;
        default:
            message = IDS_UTIL_DRIVE_ERROR;
            break;
        }
        int choice = AppUtilServices().InformWarningWithPath(message, drive, IDS_UTIL_RETRY,
                                                             IDS_UTIL_CANCEL, 0, 0, 1, 2);
        if (choice != 1)
            return FALSE;
    }
}

BOOL CFileUtils::IsFolderWritable(const CString& folder) {
    if (!EnsureDriveReady(folder))
        return FALSE;
    CString probe = folder;
    RemoveTrailingBackslash(probe);
    probe += "\\__dummy_.qtw";
    if (!FileSystem::CreateEmptyFile(probe))
        return FALSE;
    FileSystem::RemoveFile(probe);
    return TRUE;
}

CString CFileUtils::GetSystemTempPath() { return FileSystem::GetSystemTempPath(); }

int CFileUtils::GetProgramFolder(CString* folder) {
    if (!folder)
        return 0;
    CString file = FileSystem::ProgramFileName();
    if (file.IsEmpty())
        return 0;
    *folder = file.Left(file.ReverseFind('\\') + 1);
    return file.GetLength();
}

CString CFileUtils::GetUserDataFolder() {
    CString base = FileSystem::GetLocalAppDataFolder();
    if (base.IsEmpty())
        return CString();
    RemoveTrailingBackslash(base);
    CString folder = base + "\\Barwright";
    if (!FolderExists(folder) && !FileSystem::CreateFolder(folder))
        return CString();
    return folder;
}

BOOL CFileUtils::GetNetworkFolderName(CString* name) {
    if (!name)
        return FALSE;
    *name = AppUtilServices().GetSpecialFolderDisplayName(kCsidlNetwork);
    return !name->IsEmpty();
}

BOOL CFileUtils::GetComputerFolderName(CString* name) {
    if (!name)
        return FALSE;
    *name = AppUtilServices().GetSpecialFolderDisplayName(kCsidlDrives);
    return !name->IsEmpty();
}

// ---------------------------------------------------------------------------------------------
// CFileFinder

CFileFinder::CFileFinder() : m_started(FALSE) {}

CFileFinder::~CFileFinder() { Close(); }

void CFileFinder::Start(const CString& pattern) {
    Close();
    m_pattern = pattern;
}

BOOL CFileFinder::Next(CString& name, BOOL& isFolder) {
    for (;;) {
        CString entry;
        FileSystem::Status status;
        bool found;
        if (!m_started) {
            m_started = TRUE;
            found = m_search.First(m_pattern, entry, status);
        } else {
            found = m_search.Next(entry, status);
        }
        if (!found) {
            m_search.Close();
            name.Empty();
            isFolder = FALSE;
            return FALSE;
        }
        if (status.hidden || entry == "." || entry == "..")
            continue;
        name = entry;
        isFolder = status.folder ? TRUE : FALSE;
        return TRUE;
    }
}

void CFileFinder::Close() {
    m_search.Close();
    m_started = FALSE;
}
