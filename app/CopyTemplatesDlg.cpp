#include "app/CopyTemplatesDlg.h"

#include "app/AppServices.h"
#include "app/StartupServicesResource.h"
#include "app/TemplateMedium.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "app/widgets.h"
#include "framework/win/DataExchange.h"

#include <shellapi.h>

#include <functional>
#include <new>

namespace {
const char kCopyValue[] = "CopyTemplatesFromCD";
const char kPreviousRootHint[] = "TW2Hint";
const char kPreviousProfile[] = "Barwright2";
const char kPreviousRootValue[] = "rootpath";
const DWORD kPreviousRootSize = 256;  // a longer value counts as unreadable
const UINT kThemeTagId = 33111;       // "(Theme)"
const UINT kTemplatesNameId = 32956;  // "TWTemplates"
const char kNewProjectTag[] = "V2 (Project)";

// Every entry of a folder but "." and "..", hidden ones included.
void ForEachEntry(const CString& folder, const std::function<void(const CString& name, bool isFolder)>& visit)
{
    WIN32_FIND_DATAA found = {};
    HANDLE find = ::FindFirstFileA(CFileUtils::WithBackslash(folder) + "*.*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const CString name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
}

// A Startup string of at most 255 characters; false when missing or longer.
bool ReadStartupString(const char* profile, const char* name, CString& text)
{
    HKEY key = OpenStartupKey(profile);
    if (!key)
        return false;
    char buffer[kPreviousRootSize + 1] = {};
    DWORD type = 0, size = kPreviousRootSize;
    const BOOL read = QueryRegValue(key, name, &type, (BYTE*)buffer, &size);
    CloseRegKey(key);
    if (!read || (type != REG_SZ && type != REG_EXPAND_SZ) || size >= kPreviousRootSize)
        return false;
    buffer[size] = 0;  // stored without its NUL
    text = buffer;
    return true;
}

void RunCopyTemplatesDialog()
{
    CCopyTemplatesDlg* dialog = new (std::nothrow) CCopyTemplatesDlg(nullptr);
    if (!dialog)
        return;
    dialog->DoModal();
    delete dialog;
}
}  // namespace

int ClearCopyTemplatesFlag()
{
    HKEY startup = OpenStartupKey(nullptr);
    if (!startup)
        return 1;
    const DWORD zero = 0;
    SetRegValue(startup, kCopyValue, REG_BINARY, (const BYTE*)&zero, sizeof zero);
    CloseRegKey(startup);
    return 1;
}

void InstallTemplateCopyDialog()
{
    SetTemplateCopyDialogRunner(RunCopyTemplatesDialog);
}

CCopyTemplatesDlg::CCopyTemplatesDlg(CWnd* parent)
    : CDialog(IDD, parent), m_dontAskAgain(0), m_placesGiven(false)
{
}

void CCopyTemplatesDlg::SetPlaces(const CString& mediumPath, const CString& templatesFolder)
{
    m_placesGiven = true;
    m_givenMediumPath = mediumPath;
    m_givenTemplatesFolder = templatesFolder;
}

CString CCopyTemplatesDlg::MediumPath() const
{
    if (m_placesGiven)
        return m_givenMediumPath;
    CWidgetsApp* app = dynamic_cast<CWidgetsApp*>(AfxGetApp());
    return app ? app->GetCdPath() : CString();
}

CString CCopyTemplatesDlg::TemplatesFolder() const
{
    return m_placesGiven ? m_givenTemplatesFolder : ::GetTemplatesFolder(false, true, false);
}

CString CCopyTemplatesDlg::TemplatesFolderName()
{
    CString name = ::GetTemplatesFolder(true, false, false);
    if (name.IsEmpty()) {
        name.LoadString(kTemplatesNameId);
        name = CFileUtils::WithBackslash(name);
    }
    return name;
}

void CCopyTemplatesDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_COPY_TEMPLATES_TEXT, m_messageText);
    DDX_Check(dx, IDC_COPY_TEMPLATES_DONT_ASK, m_dontAskAgain);
}

std::string CCopyTemplatesDlg::MakeShellPathList(const CString& path)
{
    // The shell reads a list of paths up to an empty one: the path's own NUL and one more. No
    // fixed buffer, so a long path reaches the shell whole.
    std::string list((const char*)path, (size_t)path.GetLength());
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

void CCopyTemplatesDlg::OnOK()
{
    CString title;
    title.LoadString(IDS_COPY_TEMPLATES_TITLE);
    m_templatesFolder = TemplatesFolder();
    if (!CFileUtils::FolderExists(m_templatesFolder)) {
        EndDialog(IDOK);
        return;
    }
    const CString source = MediumPath() + "\\" + TemplatesFolderName() + "*.*";
    const std::string from = MakeShellPathList(source);
    const std::string to = MakeShellPathList(m_templatesFolder);

    // The library's two themes are replaced whole rather than merged with older files.
    CString themeTag;
    themeTag.LoadString(kThemeTagId);
    for (const char* theme : {"\\Klass ", "\\Highlight"}) {
        const CString folder = m_templatesFolder + theme + themeTag;
        if (CFileUtils::FolderExists(folder))
            CFileUtils::DeleteFolderFiles(folder, TRUE);
    }

    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = GetSafeHwnd();
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
    operation.lpszProgressTitle = title;
    // A disc taken out meanwhile is a failed copy, though the shell finds nothing to complain of
    // in a pattern that matches nothing.
    const bool sourceThere = CFileUtils::FolderExists(MediumPath() + "\\" + TemplatesFolderName()) != FALSE;
    const int copied = sourceThere ? ::SHFileOperationA(&operation) : ERROR_PATH_NOT_FOUND;
    // A failed or cancelled copy keeps the offer for the next start.
    if (copied == 0 && !operation.fAnyOperationsAborted)
        ClearCopyTemplatesFlag();
    // Files from the disc arrive read-only, whatever part of them arrived.
    ClearReadOnlyTree(m_templatesFolder);
    MigrateProjects();
    EndDialog(IDOK);
}

void CCopyTemplatesDlg::OnCancel()
{
    UpdateData(TRUE);
    if (m_dontAskAgain)
        ClearCopyTemplatesFlag();
    EndDialog(IDCANCEL);
}

int CCopyTemplatesDlg::ClearReadOnlyTree(const CString& folder)
{
    const CString base = CFileUtils::WithBackslash(folder);
    ForEachEntry(base, [&base](const CString& name, bool isFolder) {
        const CString path = base + name;
        const DWORD attributes = ::GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            ::SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
        if (isFolder)
            ClearReadOnlyTree(path);
    });
    return 1;
}

int CCopyTemplatesDlg::MigrateProjects()
{
    if (m_templatesFolder.IsEmpty())
        m_templatesFolder = TemplatesFolder();
    if (!CFileUtils::FolderExists(m_templatesFolder))
        return 0;
    if (!ReadStartupString(nullptr, kPreviousRootHint, m_previousTemplatesFolder) &&
        !ReadStartupString(kPreviousProfile, kPreviousRootValue, m_previousTemplatesFolder))
        return 0;
    if (m_previousTemplatesFolder.IsEmpty() || !CFileUtils::FolderExists(m_previousTemplatesFolder))
        return 0;
    m_previousTemplatesFolder = CFileUtils::WithBackslash(m_previousTemplatesFolder) + TemplatesFolderName();
    m_templatesFolder = CFileUtils::WithBackslash(m_templatesFolder);
    if (m_previousTemplatesFolder.CompareNoCase(m_templatesFolder) == 0 ||
        !CFileUtils::FolderExists(m_previousTemplatesFolder))
        return 0;

    ForEachEntry(m_previousTemplatesFolder, [this](const CString& name, bool isFolder) {
        if (!isFolder || !CFileUtils::IsProjectFolder(m_previousTemplatesFolder + name))
            return;
        const CString oldName = "\\" + name;
        CString newName = oldName;
        if (CFileUtils::FolderExists(m_templatesFolder + name))
            newName = oldName.Left(oldName.ReverseFind('(')) + kNewProjectTag;
        CFileUtils::CreateFolder(m_templatesFolder + newName.Mid(1) + "\\Temp.Txt", TRUE);
        CopyProjectFiles(newName, oldName);
    });
    return 1;
}

int CCopyTemplatesDlg::CopyProjectFiles(const CString& newName, const CString& oldName)
{
    // The names begin with a backslash and the folders end with one: join them without doubling.
    const CString target = CFileUtils::WithBackslash(m_templatesFolder + newName.Mid(1));
    const CString source = CFileUtils::WithBackslash(m_previousTemplatesFolder + oldName.Mid(1));
    ForEachEntry(source, [&](const CString& name, bool isFolder) {
        if (!isFolder)
            ::CopyFileA(source + name, target + name, TRUE);
    });
    return 1;
}
