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

CString FindTemplateMedium()
{
    // A drive without a disc must not bring up the system's "insert a disc" box.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    CString found;
    for (char letter = kFirstDrive; letter <= kLastDrive && found.IsEmpty(); ++letter) {
        CString drive;
        drive.Format("%c:", letter);
        // The drive queries want the root folder: with its backslash.
        if (::GetDriveTypeA(drive + "\\") != DRIVE_CDROM)
            continue;
        char label[kLabelLength] = {};
        if (!::GetVolumeInformationA(drive + "\\", label, kLabelLength, nullptr, nullptr, nullptr, nullptr, 0))
            continue;
        label[kLabelLength - 1] = 0;
        CString lower = label;
        lower.MakeLower();
        if (lower.IsEmpty() || lower.Find(kProductWord) < 0)
            continue;
        found = FindProductFolder(drive);
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
