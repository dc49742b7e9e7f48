// CWidgetsApp: the application object. InitInstance performs the whole start-up,
// ExitInstance and the destructor the shut-down.
#pragma once

#include "app/TempFolder.h"
#include "framework/win/Afxwin.h"

class CAppCommandLineInfo;
class COnIdleManager;
class CWidgetsDlg;
class CWinManagerBase;
class CPanelMessage;
class COptions;
class COperationsManager;
class CTessro;
class CProjectsFolder;
class CSplashDlg;
class CGraphicMenu;
class CPropertiesMenu;
class VyButtonWindow;

class CWidgetsApp : public CWinApp {
public:
    CWidgetsApp();
    ~CWidgetsApp() override;

    BOOL InitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;
    virtual BOOL IgnoreText(CString text, int flag) { return TRUE; }
    // Help is the HTML pages of the program root, whatever asks for it.
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT) override;

    void ShowMainWindow();

    // Outside components.
    int CheckOutsideComponents();
    int RegisterServerDll(const char* path);

    // Shared objects and folders.
    COptions* GetOptions();
    COptions* GetBackupOptions();
    COperationsManager* GetOperationsManager();
    COnIdleManager* GetIdleManager() { return m_idleManager; }
    CString GetRootPath() const { return m_rootPath; }
    CString GetTemplatesFolder(bool withBackslash, bool withRoot, bool lowerCase) const;
    CString GetTempFolderPath() const { return m_tempFolder.GetPath(); }
    static CString GetTempStyleFileName(int graphicType, bool withExtension);
    CString GetCurrentProject() const { return m_currentProject; }
    void SetCurrentProject(const CString& name);
    bool SetExportDir(const CString& folder);

    void SendCommand(const CString& command, int unused = 0);
    void SendMessageToManagers(CPanelMessage* message, int withWait);
    void RefreshCurrentManager(int repaintBar, int prompt, int view, int background, int panel);

    BOOL IsWindows9x() const { return m_versionInfo.dwPlatformId == 1; }
    BOOL IsWindowsNT() const { return m_versionInfo.dwPlatformId == 2; }
    CString GetOSVersionText() const;
    CString GetProductName() const { return "Quor Bar Wright"; }
    CString GetVersionText() const { return "1.1 (1.2246) Jan 19 2004"; }
    CString GetBuildKindText() const;
    CString GetVersionLine() const;

    CString GetCdPath() const { return m_templateMedium; }
    CProjectsFolder* GetProjectsFolder() const { return m_projectsFolder; }

    CAppCommandLineInfo* GetCommandLine() const { return m_commandLine; }
    CWidgetsDlg* GetMainDialog() const { return m_mainDialog; }

    CString m_rootPath;
    HICON m_dialogIcons[6];
    CString m_currentProject;
    CString m_resourceProbe;
    CWidgetsDlg* m_mainDialog;
    int m_quickStart;
    OSVERSIONINFOA m_versionInfo;
    DWORD m_lastPreviewTime;
    DWORD m_lastRenderTime;
    DWORD m_lastEffectsTime;
    VyButtonWindow* m_buttonBar;
    CWinManagerBase* m_currentManager;
    CString m_templateMedium;
    int m_mediumTypesLoaded;
    int m_galleryRefill;
    CWnd* m_ownerWindow;
    CStringArray* m_sharedStrings;
    CAppCommandLineInfo* m_commandLine;
    int m_hosted;
    int m_administrator;
    CTempFolder m_tempFolder;
    int m_navBarFlag;
    COnIdleManager* m_idleManager;
    CTessro* m_tessro;  // the rasterizer context of the user-interface thread
    CProjectsFolder* m_projectsFolder;
    CSplashDlg* m_splash;  // shown while the program starts
    CGraphicMenu* m_graphicMenu;
    CPropertiesMenu* m_propertiesMenu;

private:
    BOOL FindRootFolder();
    void UpdateStartupValues();

    HANDLE m_mutex;
    int m_generate;
    bool m_runningCounted;  // "Running" was raised by this start-up
    bool m_comInitialised;
    bool m_oleInitialised;
    bool m_tessro3dReady;
};

extern CWidgetsApp theApp;

// Memory callbacks handed to Tessro3D.
void* Tessro3DAlloc(std::uint32_t size);
void Tessro3DFree(void* block);
