#include "app/PanelServiceAdapter.h"

#include "app/AppCommandLineInfo.h"
#include "app/AppServices.h"
#include "app/CompactRendererInt.h"
#include "app/Errors.h"
#include "app/ExportPaths.h"
#include "app/ProjectsFolder.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "app/WinManagerBase.h"
#include "app/widgets.h"
#include "document/OperationsManager.h"
#include "document/RenderRequest.h"
#include "panels/PanelServices.h"

#include <cstdio>

namespace {

CWidgetsApp* App()
{
    return dynamic_cast<CWidgetsApp*>(AfxGetApp());
}

CWidgetsDlg* MainDialog()
{
    CWidgetsApp* app = App();
    if (app && app->GetMainDialog())
        return app->GetMainDialog();
    return dynamic_cast<CWidgetsDlg*>(AfxGetMainWnd());
}

CWinManagerBase* TopLevelManager()
{
    CWidgetsDlg* dialog = MainDialog();
    return dialog ? dialog->GetTopLevelManager() : nullptr;
}

CUIServices* Cursors()
{
    CWidgetsDlg* dialog = MainDialog();
    return dialog ? dialog->GetUIServices() : nullptr;
}

CAppCommandLineInfo* CommandLine()
{
    CWidgetsApp* app = App();
    return app ? app->GetCommandLine() : nullptr;
}

class CAppPanelServices : public CPanelServices {
public:
    CWnd* GetMainWindow() override { return MainDialog(); }
    BOOL MainPreTranslateMessage(MSG* msg) override
    {
        CWidgetsDlg* dialog = MainDialog();
        return dialog ? dialog->CWidgetsDlg::PreTranslateMessage(msg) : FALSE;
    }
    void SetShiftHeld(bool held) override
    {
        if (CWidgetsDlg* dialog = MainDialog())
            dialog->m_shiftDown = held ? 1 : 0;
    }
    void SetControlHeld(bool held) override
    {
        if (CWidgetsDlg* dialog = MainDialog())
            dialog->m_controlDown = held ? 1 : 0;
    }
    bool IsControlHeld() override
    {
        CWidgetsDlg* dialog = MainDialog();
        return dialog && dialog->m_controlDown;
    }

    bool SendMessageToManagers(CPanelMessage* message, int withWait) override
    {
        CWidgetsDlg* dialog = MainDialog();
        if (!dialog)
            return false;
        dialog->SendMessageToManagers(message, withWait);
        return true;
    }
    bool HasTopLevelManager() override { return TopLevelManager() != nullptr; }
    int HandleManagerMessage(CPanelMessage* message) override
    {
        CWinManagerBase* manager = TopLevelManager();
        return manager ? manager->HandleMessage(message) : 0;
    }
    int HandleManagerCommand(const CString& command) override
    {
        CWinManagerBase* manager = TopLevelManager();
        return manager ? manager->HandleCommand(command) : 0;
    }
    void SendCommand(const CString& command) override
    {
        if (CWidgetsDlg* dialog = MainDialog())
            dialog->SendCommand(command);
    }

    bool HasCursorService() override { return Cursors() != nullptr; }
    void SetCaptureCursor(int cursorId, CWnd* window) override
    {
        if (CUIServices* cursors = Cursors())
            cursors->SetCaptureCursor(cursorId, window);
    }
    void ReleaseCaptureCursor(int keepWait) override
    {
        if (CUIServices* cursors = Cursors())
            cursors->ReleaseCaptureCursor(keepWait);
    }
    void BeginWaitCursor() override
    {
        if (CUIServices* cursors = Cursors())
            cursors->BeginWaitCursor();
    }
    void EndWaitCursor() override
    {
        if (CUIServices* cursors = Cursors())
            cursors->ReleaseCaptureCursor(0);
    }

    CString GetTemplatesFolderPath() override { return ::GetTemplatesFolder(false, true, false); }
    CString GetSpecialFolder(int kind) override { return ::GetSpecialFolder(kind); }
    CString GetSpecialFolderDisplayName(int csidl) override { return ::GetSpecialFolderDisplayName(csidl); }
    CString GetRootPath() override { return ::GetRootPath(); }
    CString GetCdPath() override
    {
        CWidgetsApp* app = App();
        return app ? app->GetCdPath() : CString();
    }

    void FreeRendererBuffer(CWnd* renderer) override
    {
        if (auto* window = dynamic_cast<CompactRendererInt*>(renderer))
            window->FreeBuffer();
    }
    void SetRendererSize(CWnd* renderer, int width, int height) override
    {
        if (auto* window = dynamic_cast<CompactRendererInt*>(renderer))
            window->SetSize(width, height);
    }
    void BlitRenderer(CWnd* renderer, CDC* dc, const RECT& area) override
    {
        auto* window = dynamic_cast<CompactRendererInt*>(renderer);
        if (!window || !dc)
            return;
        const int width = area.right - area.left, height = area.bottom - area.top;
        window->Blit(dc, area.left, area.top, width, height, 0, 0, width, height);
    }
    void DrawBevelFrame(CWnd* window, CDC* dc) override { ::DrawBevelFrame(window, dc, nullptr, false); }

    COptions* GetOptions() override { return ::GetOptions(); }
    COperationsManager* GetOperationsManager() override { return ::GetOperationsManager(); }
    bool IsNavBarMode() override
    {
        COperationsManager* manager = ::GetOperationsManager();
        return manager && manager->IsNavBarMode();
    }

    int ShowMessageBox(CWnd*, UINT textId, UINT captionId, UINT type) override
    {
        CErrorBoxInfo info = {};
        info.messageId = static_cast<int>(textId);
        info.titleId = static_cast<int>(captionId);
        info.labels[0] = 10020;  // OK
        if ((type & MB_TYPEMASK) == MB_OKCANCEL)
            info.labels[1] = 10021;  // Cancel
        info.defaultIndex = 1;
        info.cancelIndex = info.labels[1] ? 2 : 1;
        const int severity = (type & MB_ICONMASK) == MB_ICONSTOP ? 3 : 0;  // the error box for a stop icon
        const int answer = ShowMessageBoxEx(severity, &info);
        return answer == 10020 || answer == 1 ? IDOK : IDCANCEL;
    }
    UINT AskQuestion(UINT messageId, UINT button1, UINT button2) override
    {
        CErrorBoxInfo info = {};
        info.messageId = static_cast<int>(messageId);
        info.labels[0] = static_cast<int>(button1);
        info.labels[1] = static_cast<int>(button2);
        info.defaultIndex = 1;
        info.cancelIndex = 2;
        const int answer = InformMessageEx(&info);
        return answer == static_cast<int>(button1) || answer == static_cast<int>(button2) ? static_cast<UINT>(answer) : 0;
    }
    void ShowWarning(UINT messageId) override { ::InformWarning(messageId); }
    void InternalError(int line, const char* source) override
    {
        static char path[MAX_PATH];
        std::snprintf(path, sizeof path, "%s%s", BW_SOURCE_PATH(""), source ? source : "");
        g_ErrorLine = static_cast<unsigned>(line);
        g_ErrorFile = path;
        SetInternalError();
    }

    CString GetCurrentProject() override
    {
        CWidgetsApp* app = App();
        return app ? app->GetCurrentProject() : CString();
    }
    void SetCurrentProject(const CString& name) override
    {
        if (CWidgetsApp* app = App())
            app->SetCurrentProject(name);
    }
    CString GetProjectsFolder() override
    {
        CWidgetsApp* app = App();
        CProjectsFolder* folder = app ? app->GetProjectsFolder() : nullptr;
        return folder ? folder->GetPath() : CString();
    }
    void ListProjects(std::vector<CString>& names) override
    {
        names.clear();
        const CString folder = GetProjectsFolder();
        if (folder.IsEmpty())
            return;
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA(folder + "*", &found);
        if (search == INVALID_HANDLE_VALUE)
            return;
        do {
            const CString name(found.cFileName);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.Find(" (Project)") > 0)
                names.push_back(name);
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }

    bool IsHostedByEditor() override { return ::IsHostedByEditor(); }
    bool HasCommandLine() override { return CommandLine() != nullptr; }
    CString GetCommandLineFileTitle() override
    {
        CAppCommandLineInfo* line = CommandLine();
        return line ? line->GetFileTitle() : CString();
    }
    int GetCommandLineGraphicType() override
    {
        CAppCommandLineInfo* line = CommandLine();
        return line ? line->m_graphicType : 0;
    }
    bool IsCommandLinePathFolder() override
    {
        CAppCommandLineInfo* line = CommandLine();
        if (!line)
            return false;
        const DWORD attributes = ::GetFileAttributesA(line->GetDocPath());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    CString GetExportFolderPath() override { return ::GetExportFolderPath(); }
    void ShowPreviewImage(const CString& path, int flag) override { ::ShowPreviewImage(path, flag); }
};

CAppPanelServices g_panelServices;

}  // namespace

void InstallPanelServiceAdapter()
{
    SetPanelServices(&g_panelServices);
}

void UninstallPanelServiceAdapter()
{
    SetPanelServices(nullptr);
}
