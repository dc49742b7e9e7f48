#include "app/TemplateMedium.h"

#include "app/util/FileUtils.h"

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
