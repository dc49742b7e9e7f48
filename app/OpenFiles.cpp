#include "app/OpenFiles.h"

#include "app/AppCommandLineInfo.h"
#include "app/AppServiceAdapters.h"
#include "panels/PanelMessage.h"
#include "app/TopLevelManager.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"
#include "app/widgets.h"
#include "document/OperationsManager.h"
#include "document/Options.h"
#include "framework/core/CFile.h"
#include "navbar/NavBar.h"

#include <windows.h>

const char* const kNavBarFileSuffixes[8] = {"_off", "_over", "_on", "_clicked", "_top", "_bottom", "_left", "_right"};

namespace {

const char kStyleExtension[] = "qtw";
const int kNavBarType = 7;
const int kPhotoType = 12;

bool CopyOver(const CString& source, const CString& target)
{
    return ::CopyFileA(source, target, FALSE) != 0;
}

// The record now works on a working copy of a graphic of the type.
void StartWorkingCopy(COptions* record, int graphicType)
{
    record->SetGraphicType(graphicType);
    record->SetModified();
    // The folder gallery's last folder belongs to the graphic before: the record keeps none yet.
}

// The graphic type a style file declares; a style file with an "HTML" value is a navigation bar
// whatever its type says. -1 when the file cannot be read.
int ReadStyleGraphicType(const CString& path, bool htmlMakesNavBar)
{
    CTextFile file;
    try {
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
            return -1;
    } catch (...) {
        return -1;
    }
    int type = file.ReadGraphicType();
    if (htmlMakesNavBar && !file.ReadKeyValue("HTML").IsEmpty())
        type = kNavBarType;
    file.Close();
    return type;
}

// The style file without its navigation-bar suffix and extension ("Home_over.qtw" gives "Home");
// empty when its name ends in none of the suffixes.
CString NavBarBase(const CString& stylePath)
{
    for (const char* suffix : kNavBarFileSuffixes) {
        const CString ending = CString(suffix) + "." + kStyleExtension;
        const int length = ending.GetLength();
        if (stylePath.GetLength() > length && stylePath.Right(length).CompareNoCase(ending) == 0)
            return stylePath.Left(stylePath.GetLength() - length);
    }
    return CString();
}

// Replaces the navigation bar's working files with the bar's files under base. A file the bar
// does not have leaves no stale working file behind. True when at least one file was copied.
bool CopyNavBarToTemp(COptions* record, const CString& base, const CString& workingBase)
{
    DeleteNavBarStyleFiles(workingBase);
    bool copied = false;
    for (const char* suffix : kNavBarFileSuffixes) {
        const CString source = base + suffix + "." + kStyleExtension;
        if (CFileUtils::FileExists(source) &&
            CopyStyleToTemp(record, source, workingBase + suffix + "." + kStyleExtension, kNavBarType))
            copied = true;
    }
    return copied;
}

// An image or page: the style file that made it, else the picture itself as a photo.
void OpenMadeFile(COpenFileHost& host, const CString& path)
{
    const CString match = host.FindStyleFileFor(path);
    if (!host.HasTopLevelManager())
        return;
    COptions* record = host.GetOptions();
    if (match.IsEmpty()) {
        if (record && host.HasOperationsManager()) {
            record->SetGraphicType(kPhotoType);
            record->SetModified();
            record->ResetToDefaults();
            host.OpenDocument(path, 1, 1);
        }
    } else {
        const int type = ReadStyleGraphicType(match, true);
        if (type >= 0) {
            const CString workingBase = host.GetTempFolderPath() + CWidgetsApp::GetTempStyleFileName(type, false);
            if (type == kNavBarType) {
                const CString base = NavBarBase(match);
                if (!base.IsEmpty())
                    CopyNavBarToTemp(record, base, workingBase);
            } else {
                CopyStyleToTemp(record, match, workingBase + "." + kStyleExtension, type);
            }
        }
    }
    host.SendCommand("type");
}

// A style file: applied to the graphic on an editing page, else made the working copy of its type.
void OpenStyleFile(COpenFileHost& host, const CString& path)
{
    if (!host.HasTopLevelManager() || host.IsMainManagerActive()) {
        host.ApplyTemplateFile(path);
    } else {
        const int type = ReadStyleGraphicType(path, false);
        COptions* record = host.GetOptions();
        if (type >= 0 && record) {
            const CString folder = host.GetTempFolderPath();
            bool copied;
            if (type == kNavBarType) {
                // Only a file named as one of the bar's own files says where its sisters are; any
                // other name must not cost the bar's working files.
                const CString base = NavBarBase(path);
                copied = !base.IsEmpty() &&
                         CopyNavBarToTemp(record, base, folder + CWidgetsApp::GetTempStyleFileName(type, false));
            } else {
                copied = CopyStyleToTemp(record, path, folder + CWidgetsApp::GetTempStyleFileName(type, true), type) != 0;
            }
            // A copy that failed leaves the working copy as it was: the pages show that one.
            if (!copied && CFileUtils::FileExists(folder + CWidgetsApp::GetTempStyleFileName(type, true)))
                StartWorkingCopy(record, type);
        }
        host.SendCommand("type");
    }
    // The pages behave as if the user had asked for the current graphic's page.
    CKeyMessage key(VK_F3, 0);
    host.SendMessage(&key);
}

}  // namespace

int CopyStyleToTemp(COptions* record, const CString& source, const CString& target, int graphicType)
{
    if (!record)
        return 0;
    // The temporary folder is made by the first save into it: a file opened before that needs it.
    CFileUtils::CreateFolder(target, TRUE);
    if (!CopyOver(source, target))
        return 0;
    if (CFileUtils::IsReadOnly(target))
        CFileUtils::ClearAttributes(target);
    StartWorkingCopy(record, graphicType);
    record->SetQTWFile(source);
    return 1;
}

int OpenFileForEditing(COpenFileHost& host, const CString& path)
{
    if (!CFileUtils::FileExists(path))
        return 0;
    host.BeginWait();
    if (CFileUtils::GetExtension(path).CompareNoCase(kStyleExtension) != 0)
        OpenMadeFile(host, path);
    else
        OpenStyleFile(host, path);
    host.EndWait();
    return 1;
}

int StartNewGraphic(COpenFileHost& host, int graphicType)
{
    COptions* record = host.GetOptions();
    if (host.HasTopLevelManager() && !host.IsMainManagerActive() && record)
        StartWorkingCopy(record, graphicType);
    host.SendCommand(graphicType == kPhotoType ? "goto-import-photos" : "type");
    return 1;
}

void PerformCommandLineAction(COpenFileHost& host, const CAppCommandLineInfo& commandLine)
{
    switch (commandLine.GetStartupAction()) {
    case CAppCommandLineInfo::kOpenStyle:
        OpenFileForEditing(host, commandLine.GetStyleFilePath());
        break;
    case CAppCommandLineInfo::kNewPhoto:
        StartNewGraphic(host, kPhotoType);
        break;
    case CAppCommandLineInfo::kOpenImage:
        if (!OpenFileForEditing(host, commandLine.m_strFileName))
            break;
        if (!commandLine.m_thumbnail) {
            // The picture is edited as it is: no page that would replace it.
            for (int page : {1, 16}) {
                CPageStateMessage disable(0, page);
                host.SendMessage(&disable);
            }
        } else if (COptions* record = host.GetOptions()) {
            if (record->GetBaseHeight() > record->GetBaseWidth())
                record->SetHeightKeepAspect(commandLine.m_width);
            else
                record->SetWidthKeepAspect(commandLine.m_width);
            record->SetCaptionText(commandLine.GetThumbnailTitle());
        }
        break;
    case CAppCommandLineInfo::kNewGraphic:
        StartNewGraphic(host, commandLine.m_graphicType);
        break;
    case CAppCommandLineInfo::kStartPage:
        break;
    }
}

CString SaveWorkingCopyOnClose(COptions* record, const CString& tempFolder, bool navBarMode,
                               bool (*saveNavBar)(const CString& path), bool noSave)
{
    if (!record)
        return CString();
    const CString path = tempFolder + CWidgetsApp::GetTempStyleFileName(record->GetGraphicType(), true);
    record->SetTemplateFlag(0);
    record->SetModified();
    if (navBarMode) {
        if (saveNavBar)
            saveNavBar(path);
    } else if (!noSave) {
        record->SaveStyleFile(path, true, false);
    }
    return path;
}

// ---- The main dialog's side ----

namespace {

// The main dialog as the host of the opening steps.
class CMainDialogOpenHost : public COpenFileHost {
public:
    explicit CMainDialogOpenHost(CWidgetsDlg& dialog) : m_dialog(dialog) {}

    COptions* GetOptions() override { return m_dialog.m_options; }
    bool HasTopLevelManager() override { return TopLevel() != nullptr; }
    bool IsMainManagerActive() override { return TopLevel() && TopLevel()->IsMainManagerActive(); }
    bool HasOperationsManager() override { return m_dialog.GetOperationsManager() != nullptr; }
    CString GetTempFolderPath() override
    {
        auto* app = dynamic_cast<CWidgetsApp*>(AfxGetApp());
        return app ? app->GetTempFolderPath() : CString();
    }
    CString FindStyleFileFor(const CString& path) override
    {
        // The galleries' style file finder, once installed.
        CAppCommandLineInfo::StyleFileFinder finder = CAppCommandLineInfo::GetStyleFileFinder();
        return finder ? finder(path) : CString();
    }
    void ApplyTemplateFile(const CString& path) override
    {
        COptions* record = m_dialog.m_options;
        COperationsManager* manager = m_dialog.GetOperationsManager();
        if (!record || !record->LoadStyleFile(path, kChangeAll, -1, kLoadTemplateStyle))
            return;
        if (manager)
            manager->NotifyChanged(record, 1, (DWORD)-1);
    }
    void OpenDocument(const CString& path, int flagA, int flagB) override
    {
        if (COperationsManager* manager = m_dialog.GetOperationsManager())
            manager->OpenDocument(path, flagA, flagB);
    }
    void SendCommand(const CString& command) override { m_dialog.SendCommand(command); }
    void SendMessage(CPanelMessage* message) override { m_dialog.SendMessageToManagers(message, 0); }
    void BeginWait() override
    {
        if (CUIServices* services = m_dialog.GetUIServices())
            services->BeginWaitCursor();
    }
    void EndWait() override
    {
        if (CUIServices* services = m_dialog.GetUIServices())
            services->ReleaseCaptureCursor(0);
    }

private:
    CTopLevelManager* TopLevel() { return dynamic_cast<CTopLevelManager*>(m_dialog.GetTopLevelManager()); }

    CWidgetsDlg& m_dialog;
};

bool SaveManagerNavBar(const CString& path)
{
    CNavBar* bar = GetManagerNavBar();
    return bar && bar->Save(path, nullptr, false, false);
}

}  // namespace

int CWidgetsDlg::OpenFile(const CString& path)
{
    CMainDialogOpenHost host(*this);
    return OpenFileForEditing(host, path);
}

int CWidgetsDlg::NewGraphic(int graphicType)
{
    CMainDialogOpenHost host(*this);
    return StartNewGraphic(host, graphicType);
}

int CWidgetsDlg::CopyStyleToTemp(const CString& source, const CString& target, int graphicType)
{
    return ::CopyStyleToTemp(m_options, source, target, graphicType);
}

void CWidgetsDlg::PerformCommandLineAction(const CAppCommandLineInfo& commandLine)
{
    CMainDialogOpenHost host(*this);
    ::PerformCommandLineAction(host, commandLine);
}

void CWidgetsDlg::SaveWorkingCopy()
{
    COperationsManager* manager = GetOperationsManager();
    if (!m_options || !manager || !manager->GetCurrentHandler())
        return;
    auto* app = dynamic_cast<CWidgetsApp*>(AfxGetApp());
    if (!app)
        return;
    SaveWorkingCopyOnClose(m_options, app->GetTempFolderPath(), manager->IsNavBarMode() != 0, SaveManagerNavBar,
                           m_noSave != 0);
}
