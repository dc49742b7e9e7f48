// CWinApp: the one application object. AfxWinMain runs InitInstance, then the message loop
// (Run), then ExitInstance. The loop walks PreTranslateMessage from the target window up its
// parents, so a child dialog sees keys before the main window, and calls OnIdle(count) with
// a rising count while it answers TRUE and the queue is empty.
#pragma once

#include <windows.h>

#include "framework/core/Afx.h"

class CWnd;
class CCommandLineInfo;

class CWinApp : public CObject {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnIdle(LONG count);
    virtual int ExitInstance();
    virtual LRESULT ProcessWndProcException(void* exception, const MSG* msg);
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);

    // One turn of the loop's message handling; FALSE when WM_QUIT arrived.
    BOOL PumpMessage();

    // Splits the process's command line by the C runtime's rules and hands each argument on.
    void ParseCommandLine(CCommandLineInfo& info);

    // Per-user profile under HKEY_CURRENT_USER\Software\<registry key>\<application name>.
    void SetRegistryKey(const char* company);
    HKEY GetAppRegistryKey();          // caller closes
    HKEY GetSectionKey(const char* section);  // caller closes
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);
    CString GetProfileString(const char* section, const char* entry, const char* defaultValue = nullptr);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);

    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    CWnd* m_pMainWnd;
    CString m_appName;
    CString m_registryKey;
    const char* m_pszAppName;
    const char* m_pszRegistryKey;  // null until SetRegistryKey

protected:
    MSG m_msgCur;
    int m_exitCode;
};

// Ctrl+A in an edit field selects its whole text (the system's edit fields do nothing with it);
// true when the key was taken.
bool SelectAllInEdit(const MSG& msg, bool controlDown);
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// Loads a string resource of the program; FALSE (and empty text) when there is none.
BOOL BwLoadString(UINT id, CString& text);
// The framework's own message box: the application name as title.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = 0);
// The program's entry, called from WinMain.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
