#include "app/ExportPaths.h"

#include "app/AppCommandLineInfo.h"
#include "app/AppServices.h"
#include "app/AppServiceAdapters.h"
#include "app/Errors.h"
#include "app/Resource.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "app/widgets.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/GraphicDragOut.h"
#include "document/Options.h"
#include "framework/core/CTime.h"
#include "output/OutputPresets.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <memory>

namespace {

const UINT kReadOnlyMessage = 122;        // "Cannot write file as it is read only."
const UINT kDefaultExportName = 33129;    // "Graphic"
const UINT kExportFolderName = 33130;     // "Export"
const UINT kProjectSuffix = 33110;        // "(Project)"
const UINT kDefaultProject = 33114;       // "Default"
const UINT kSysBlankFile = 32847;         // "SysResources\Graphics\__sysblank.jpg"
// A name made from a template keeps its first words: an underscore this far in or later ends it.
const int kFirstCuttingUnderscore = 8;
const DWORD kExportDirRoom = 260;

bool Exists(const CString& path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

CString LoadText(UINT id, const char* fallback)
{
    CString text;
    if (!text.LoadString(id))
        text = fallback;
    return text;
}

// Splits at the last dot after the last backslash; the extension in lower case.
void Split(const CString& path, CString* base, CString* extension)
{
    const int dot = path.ReverseFind('.');
    const int slash = path.ReverseFind('\\');
    if (dot > slash) {
        *base = path.Left(dot);
        *extension = path.Mid(dot + 1);
        extension->MakeLower();
    } else {
        *base = path;
        extension->Empty();
    }
}

// The file name without folder and extension.
CString BareName(const CString& path)
{
    return CFileUtils::RemoveExtension(CFileUtils::GetFileName(path));
}

CString ReadExportDir()
{
    HKEY options = OpenOptionsKey();
    if (!options)
        return CString();
    char buffer[kExportDirRoom] = {};
    DWORD size = sizeof buffer;
    const BOOL read = GetRegString(options, "ExportDir", buffer, &size);
    CloseRegKey(options);
    return read ? CString(buffer) : CString();
}

CWidgetsApp* App()
{
    return dynamic_cast<CWidgetsApp*>(AfxGetApp());
}

bool HostedToEditStyleOrThumbnail()
{
    CWidgetsApp* app = App();
    const CAppCommandLineInfo* line = app ? app->GetCommandLine() : nullptr;
    return IsHostedByEditor() && line && (line->m_openStyle || line->m_thumbnail);
}

}  // namespace

CString MakeNumberedName(const CString& path, const CString& companion)
{
    if (!Exists(path))
        return path;
    CString base, extension, companionBase, companionExtension;
    Split(path, &base, &extension);
    if (!companion.IsEmpty())
        Split(companion, &companionBase, &companionExtension);

    int digits = base.GetLength();
    while (digits > 0 && isdigit((unsigned char)base[digits - 1]))
        --digits;
    if (digits < base.GetLength()) {
        int separator = digits;
        while (separator > 0 && !isalnum((unsigned char)base[separator - 1]))
            --separator;
        const CString rest = base.Left(separator);
        const CString between = base.Mid(separator, digits - separator);
        const long value = strtol((const char*)base + digits, nullptr, 10);
        CString previous;
        if (value > 2)
            previous.Format("%s%ld", (const char*)between, value - 1);
        // The previous member of a series exists: continue the series; otherwise the digits are
        // part of the name.
        base = Exists(rest + previous + "." + extension) ? rest + between : base + "_";
    }
    for (int n = 2;; ++n) {
        CString candidate, companionCandidate;
        candidate.Format("%s%d.%s", (const char*)base, n, (const char*)extension);
        if (Exists(candidate))
            continue;
        if (!companion.IsEmpty()) {
            companionCandidate.Format("%s%d.%s", (const char*)companionBase, n, (const char*)companionExtension);
            if (Exists(companionCandidate))
                continue;
        }
        return candidate;
    }
}

CString MakeExportBaseName(const COptions& record, bool hostedStyleOrThumbnail)
{
    CString name = record.GetExportPathName();
    if (name.IsEmpty() && hostedStyleOrThumbnail)
        name = BareName(record.GetExportPathNameExt());
    if (!name.IsEmpty()) {
        CFileUtils::MakeValidFileName(&name, TRUE, TRUE);
    } else {
        name = record.GetCapabilityFlag(0) ? record.GetStoryText(0) : BareName(record.GetKiqFileName());
        CFileUtils::MakeValidFileName(&name, FALSE, FALSE);
        for (int i = kFirstCuttingUnderscore; i < name.GetLength(); ++i) {
            if (name[i] == '_') {
                name = name.Left(i);
                break;
            }
        }
    }
    if (name.IsEmpty())
        name = LoadText(kDefaultExportName, "Graphic");
    return name;
}

CString ExportExtension(int exportType)
{
    switch (exportType) {
    case 0:
        return "gif";
    case 1:
        return "jpg";
    case 4:
        return "png";
    default:
        return CString();
    }
}

CString ChooseExportFolder(const CString& exportDir, const CString& rootPath)
{
    const CString exportName = LoadText(kExportFolderName, "Export");
    CString folder = exportDir.IsEmpty() ? rootPath + exportName : exportDir;
    CFileUtils::AddBackslash(folder);
    // A remembered folder whose parent is gone (a removed disc, a deleted tree) is not offered.
    if (!CFileUtils::CreateFolder(folder, FALSE))
        folder = rootPath + "Export\\";
    return folder;
}

CString GetSysBlankImagePath()
{
    return GetRootPath() + LoadText(kSysBlankFile, "SysResources\\Graphics\\__sysblank.jpg");
}

CString GetExportFolderPath()
{
    COptions* record = GetOptions();
    const COptions empty;
    const CString name = MakeExportBaseName(record ? *record : empty, HostedToEditStyleOrThumbnail());
    const CString folder = ChooseExportFolder(ReadExportDir(), GetRootPath());
    const CString path = folder + name + "." + ExportExtension(record ? record->GetExportType() : 0);
    CFileUtils::CreateFolder(path, TRUE);
    return path;
}

CString GetNextExportPath()
{
    return MakeNumberedName(GetExportFolderPath(), CString());
}

CString GetTempExportPath()
{
    COptions* record = GetOptions();
    return GetTempExportPath(record ? record->GetExportType() : 0);
}

bool SaveGraphicAs(const CString& path, bool reuseTemp)
{
    if (!GetOptions())
        return false;
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(nullptr, 0));
    if (!exporter)
        return false;
    const CString temp = GetTempExportPath();
    bool written;
    if (reuseTemp && !temp.IsEmpty() && Exists(temp)) {
        written = ::CopyFileA(temp, path, FALSE) != 0;
    } else {
        // The preview flag asks for a reduced size; a saved graphic is full size.
        exporter->SetThumbnail(0);
        written = exporter->ExportToFile(path, 0) == 0;
    }
    if (!written) {
        InformWarning(kReadOnlyMessage, IDS_LABEL_OK);
        return false;
    }
    return true;
}

CString ExportToNextFreeName()
{
    const CString path = GetNextExportPath();
    // Only a file that was really written is answered: callers hand it to the shell or a drop.
    if (!WriteGraphicFile(GetBitmapServices().GetOptions(), path))
        return CString();
    return path;
}

CString CreateNumberedFolder(const CString& folder)
{
    if (!CFileUtils::CreateFolder(folder + "\\dummy.txt", FALSE))
        return folder;
    CString name = folder;
    CFileUtils::RemoveTrailingBackslash(name);
    const CString projectSuffix = LoadText(kProjectSuffix, "(Project)");
    bool project = false;
    if (name.GetLength() >= projectSuffix.GetLength() &&
        name.Right(projectSuffix.GetLength()).CompareNoCase(projectSuffix) == 0) {
        name = name.Left(name.GetLength() - projectSuffix.GetLength());
        project = true;
    }
    // A trailing number is the old folder's: it becomes room for the new one.
    for (int i = name.GetLength() - 1; i >= 0 && isdigit((unsigned char)name[i]); --i)
        name.SetAt(i, ' ');
    name.TrimRight();
    for (int n = 1;; ++n) {
        CString candidate;
        candidate.Format("%s%d", (const char*)name, n);
        if (project)
            candidate += " " + projectSuffix;
        if (!CFileUtils::FolderExists(candidate))
            return candidate;
    }
}

CString MakeProjectFolderPath()
{
    if (!GetOptions())
        return CString();
    CWidgetsApp* app = App();
    CString project = app ? app->GetCurrentProject() : CString();
    // While no project is named the graphics go where the save dialogs put them, never into a
    // folder named by the suffix alone.
    if (project.IsEmpty())
        project = LoadText(kDefaultProject, "Default");
    const CString path = MakeProjectFolderPath(GetTemplatesFolder(true, true, false), project,
                                               LoadText(kProjectSuffix, "(Project)"));
    // A folder that cannot be made is no place to save into.
    if (!CFileUtils::CreateFolder(path + "\\dummy.txt", TRUE))
        return CString();
    return path;
}

bool GetFileModifiedTime(const CString& path, CTime* time)
{
    if (!time || !CFileUtils::FileExists(path))
        return false;
    return CFileUtils::GetModifiedTime(path, *time) != FALSE;
}

bool SetFileTimeUnlessThumbnail(const CString& path, const CTime& time)
{
    // A photo's image is the user's own file: its date is never touched.
    COptions* record = GetOptions();
    if (record && record->GetGraphicType() == kGraphicEmpty)
        return true;
    if (!CFileUtils::FileExists(path))
        return false;
    return CFileUtils::SetModifiedTime(path, time) != FALSE;
}
