// The real main dialog as start-up makes it, for the GUI tests that drive it under Xvfb: the
// outside component servers registered from the build, the application's services installed,
// the dialog created, sized, shown and on its start page. Tear-down never saves.
//
// A test fixture derives from MainDialogFixture and says in its constructor which servers to
// register, the program root and the window size; BeforeCreate() and AfterDestroy() are the
// places for what a fixture adds around the dialog (a projects folder, a command sink...).
#pragma once

#include "app/AppServiceAdapters.h"
#include "app/Errors.h"
#include "app/Resource.h"
#include "app/TopLevelManager.h"
#include "app/WidgetsDlg.h"
#include "app/widgets.h"
#include "editors/GraphicMenu.h"
#include "editors/PropertiesMenu.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>
#include "tests/ModuleEntry.h"

// A Unix path of the build as the Windows path Wine gives it on drive Z:.
inline std::string WinePath(const char* unixPath)
{
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Loads each server and calls its DllRegisterServer; a fatal failure names the one that failed.
inline void RegisterServers(const std::vector<const char*>& unixPaths)
{
    for (const char* server : unixPaths) {
        HMODULE module = ::LoadLibraryA(WinePath(server).c_str());
        ASSERT_TRUE(module) << server;
        auto registerServer = ModuleEntry<HRESULT(WINAPI*)()>(module, "DllRegisterServer");
        const bool registered = registerServer && registerServer() == S_OK;
        ::FreeLibrary(module);
        ASSERT_TRUE(registered) << server;
    }
}

struct MainDialogSettings {
    std::vector<const char*> servers;  // Unix paths of the component servers to register
    const char* unixRoot = nullptr;    // the program root (ends in '/'); BeforeCreate may replace it
    int width = 800;
    int height = 600;
    bool ownTempFolder = true;  // the temporary folder numbered by this process, as a second instance's
};

class MainDialogFixture : public ::testing::Test {
protected:
    explicit MainDialogFixture(MainDialogSettings settings) : m_settings(std::move(settings)) {}

    void SetUp() override
    {
        ::CoInitialize(nullptr);
        RegisterServers(m_settings.servers);
        if (HasFatalFailure())
            return;
        InstallAppServiceAdapters();
        if (m_settings.unixRoot)
            app.m_rootPath = WinePath(m_settings.unixRoot).c_str();
        if (m_settings.ownTempFolder)
            app.m_tempFolder.m_number = static_cast<int>(::GetCurrentProcessId());
        BeforeCreate();
        if (HasFatalFailure())
            return;
        dlg = new CWidgetsDlg(nullptr, nullptr);
        app.m_mainDialog = dlg;
        app.m_pMainWnd = dlg;
        // The popup menus, as start-up makes them.
        app.m_graphicMenu = new CGraphicMenu;
        app.m_propertiesMenu = new CPropertiesMenu;
        ASSERT_TRUE(dlg->Create(IDD_WIDGETS_DIALOG));
        ASSERT_FALSE(dlg->m_initFailed) << (g_ErrorFile ? g_ErrorFile : "") << ":" << g_ErrorLine << " "
                                        << g_ErrorText;
        dlg->SetWindowPos((HWND)nullptr, 0, 0, m_settings.width, m_settings.height, SWP_NOZORDER | SWP_SHOWWINDOW);
        top = static_cast<CTopLevelManager*>(dlg->GetTopLevelManager());
        ASSERT_TRUE(top);
        top->ActivateStartPage();
    }

    void TearDown() override
    {
        if (dlg) {
            dlg->m_noSave = 1;
            dlg->DestroyWindow();
            delete dlg;
            dlg = nullptr;
        }
        app.m_mainDialog = nullptr;
        app.m_pMainWnd = nullptr;
        delete app.m_graphicMenu;
        app.m_graphicMenu = nullptr;
        delete app.m_propertiesMenu;
        app.m_propertiesMenu = nullptr;
        AfterDestroy();
        ::CoUninitialize();
    }

    // After the services and the root are in place, before the dialog is made; a fatal failure
    // here stops the set-up.
    virtual void BeforeCreate() {}
    // After the dialog is gone, before COM is released.
    virtual void AfterDestroy() {}

    CWidgetsApp app;
    CWidgetsDlg* dlg = nullptr;
    CTopLevelManager* top = nullptr;

private:
    MainDialogSettings m_settings;
};
