#include "app/TemplateMedium.h"

#include "util/FileUtils.h"
#include "util/Registry.h"

#include <windows.h>

namespace {
const char kProductWord[] = "barwright";  // in the volume label and the folder's path, lower case
const char kTemplatesFolder[] = "\\twtemplates";
const char kFirstDrive = 'A';
const char kLastDrive = 'X';  // Y: and Z: are never searched
const DWORD kLabelLength = 256;
}  // namespace

CString FindProductFolder(const CString& drive)
{
    CFileFinder finder;
    finder.Start(drive + "\\*.*");
    CString name;
    BOOL isFolder = FALSE;
    while (finder.Next(name, isFolder)) {
        if (!isFolder)
            continue;
        const CString path = drive + "\\" + name;
        CString lower = path;
        lower.MakeLower();
        if (lower.Find(kProductWord) >= 0 && CFileUtils::FolderExists(path + kTemplatesFolder)) {
            finder.Close();
            return path;
        }
    }
    return CString();
}

UINT CTemplateMediumDrives::GetDriveType(char letter)
{
    CString root;
    root.Format("%c:\\", letter);
    return ::GetDriveTypeA(root);
}

bool CTemplateMediumDrives::GetVolumeLabel(char letter, CString& label)
{
    CString root;
    root.Format("%c:\\", letter);
    char buffer[kLabelLength] = {};
    if (!::GetVolumeInformationA(root, buffer, kLabelLength, nullptr, nullptr, nullptr, nullptr, 0))
        return false;
    buffer[kLabelLength - 1] = 0;
    label = buffer;
    return true;
}

CString CTemplateMediumDrives::GetRoot(char letter)
{
    CString drive;
    drive.Format("%c:", letter);
    return drive;
}

CString FindTemplateMedium()
{
    CTemplateMediumDrives drives;
    return FindTemplateMedium(drives);
}

CString FindTemplateMedium(CTemplateMediumDrives& drives)
{
    // A drive without a disc must not bring up the system's "insert a disc" box.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    CString found;
    for (char letter = kFirstDrive; letter <= kLastDrive && found.IsEmpty(); ++letter) {
        if (drives.GetDriveType(letter) != DRIVE_CDROM)
            continue;
        CString label;
        if (!drives.GetVolumeLabel(letter, label))
            continue;
        label.MakeLower();
        if (label.IsEmpty() || label.Find(kProductWord) < 0)
            continue;
        found = FindProductFolder(drives.GetRoot(letter));
    }
    ::SetErrorMode(oldMode);
    return found;
}

namespace {
TemplateCopyDialogRunner g_copyDialogRunner = nullptr;
}  // namespace

void SetTemplateCopyDialogRunner(TemplateCopyDialogRunner runner)
{
    g_copyDialogRunner = runner;
}

bool ShouldOfferTemplateCopy(unsigned long copyValue, const CString& mediumPath)
{
    if (!copyValue || mediumPath.IsEmpty())
        return false;
    CString path = mediumPath;
    path.MakeLower();
    CString name = kRegistryAppName;
    name.MakeLower();
    CString joined = name;
    joined.Remove(' ');
    if (path.Find(name) < 0 && path.Find(joined) < 0)
        return false;
    return CFileUtils::FolderExists(mediumPath + kTemplatesFolder) != FALSE;
}

void CopyTemplatesFromMedium(const CString& mediumPath)
{
    HKEY startup = OpenStartupKey(nullptr);
    if (!startup)
        return;
    const DWORD copyValue = GetRegDWORDOrBinary(startup, "CopyTemplatesFromCD");
    if (ShouldOfferTemplateCopy(copyValue, mediumPath) && g_copyDialogRunner)
        g_copyDialogRunner();
    CloseRegKey(startup);
}
