#include "framework/win/WinApp.h"

#include "framework/win/CommandLineInfo.h"
#include "framework/win/DC.h"
#include "framework/win/GdiObject.h"
#include "framework/win/Menu.h"
#include "framework/win/Wnd.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
CWinApp* g_app = nullptr;

// A REG_SZ value read whole and terminated, whatever the writer stored: values written
// without their terminating NUL, and values longer than any fixed buffer, both come out right.
bool ReadRegistryString(HKEY key, const char* name, CString& out)
{
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    std::vector<char> buffer(size + 1, 0);
    DWORD got = size;
    if (::RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buffer.data(), &got) != ERROR_SUCCESS)
        return false;
    if (got > size)
        got = size;
    buffer[got] = 0;
    out = buffer.data();
    return true;
}
}  // namespace

CWinApp::CWinApp(const char* appName)
    : m_hInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL), m_pMainWnd(nullptr),
      m_pszAppName(nullptr), m_pszRegistryKey(nullptr), m_msgCur(), m_exitCode(0)
{
    g_app = this;
    CString::SetStringLoader(BwLoadString);
    if (appName)
        m_appName = appName;
    m_pszAppName = m_appName;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

bool SelectAllInEdit(const MSG& msg, bool controlDown)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != 'A' || !controlDown || !msg.hwnd)
        return false;
    char name[16] = "";
    ::GetClassNameA(msg.hwnd, name, sizeof name);
    if (lstrcmpiA(name, "Edit") != 0)
        return false;
    ::SendMessageA(msg.hwnd, EM_SETSEL, 0, -1);
    return true;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    if (SelectAllInEdit(*msg, (::GetKeyState(VK_CONTROL) & 0x8000) != 0))
        return TRUE;
    // From the target window up to its top-level window: the innermost object that wants
    // the message gets it first.
    for (HWND hWnd = msg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (wnd && wnd->GetToolTipWindow())
            wnd->FilterToolTipMessage(msg);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

BOOL CWinApp::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

static bool IsIdleMessage(const MSG& msg)
{
    // Messages the system sends all the time (caret blink, repeated identical moves) must not
    // restart idle processing, or idle work would run forever.
    static POINT lastPoint = {-1, -1};
    static UINT lastMessage = 0;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.message == lastMessage && msg.pt.x == lastPoint.x && msg.pt.y == lastPoint.y)
            return false;
        lastPoint = msg.pt;
        lastMessage = msg.message;
        return true;
    }
    return msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */;
}

int CWinApp::Run()
{
    BOOL idle = TRUE;
    LONG idleCount = 0;
    MSG peek;
    for (;;) {
        while (idle && !::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(m_msgCur)) {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count <= 0)
        return TRUE;  // one more pass before sleeping, like the first pass after any input
    // Temporary wrappers handed out while handling messages are no longer referenced.
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
    return FALSE;
}

int CWinApp::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

LRESULT CWinApp::ProcessWndProcException(void* exception, const MSG*)
{
    char text[512] = "";
    auto* e = static_cast<CException*>(exception);
    if (!e || !e->GetErrorMessage(text, sizeof text))
        lstrcpynA(text, "An unexpected error occurred.", sizeof text);
    ::MessageBoxA(m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr, text, m_pszAppName ? m_pszAppName : "",
                  MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command)
{
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) {
        CString helpFile = m_appName + ".hlp";
        ::WinHelpA(m_pMainWnd->GetSafeHwnd(), helpFile, command, data);
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    for (int i = 1; i < __argc; ++i) {
        const char* param = __argv[i];
        BOOL isSwitch = FALSE;
        if (param[0] == '-' || param[0] == '/') {
            isSwitch = TRUE;
            ++param;
        }
        info.ParseParam(param, isSwitch, i + 1 == __argc);
    }
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_registryKey = company ? company : "";
    m_pszRegistryKey = m_registryKey.IsEmpty() ? nullptr : (const char*)m_registryKey;
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey)
        return nullptr;
    CString path = CString("Software\\") + m_registryKey + "\\" + m_appName;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                          nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(const char* section)
{
    HKEY app = GetAppRegistryKey();
    if (!app)
        return nullptr;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(app, section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                          &disposition) != ERROR_SUCCESS)
        key = nullptr;
    ::RegCloseKey(app);
    return key;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return (UINT)defaultValue;
    DWORD value = 0, type = 0, size = sizeof value;
    const LONG status = ::RegQueryValueExA(key, entry, nullptr, &type, (BYTE*)&value, &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return (UINT)defaultValue;
    return value;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return FALSE;
    const DWORD data = (DWORD)value;
    const LONG status = ::RegSetValueExA(key, entry, 0, REG_DWORD, (const BYTE*)&data, sizeof data);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue)
{
    CString value = defaultValue ? defaultValue : "";
    HKEY key = GetSectionKey(section);
    if (!key)
        return value;
    CString stored;
    if (ReadRegistryString(key, entry, stored))
        value = stored;
    ::RegCloseKey(key);
    return value;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    HKEY key = GetSectionKey(section);
    if (!key)
        return FALSE;
    LONG status;
    if (!entry)
        status = ::RegDeleteKeyA(key, "");
    else if (!value)
        status = ::RegDeleteValueA(key, entry);
    else
        status = ::RegSetValueExA(key, entry, 0, REG_SZ, (const BYTE*)value, (DWORD)std::strlen(value) + 1);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

namespace {
// Strings load from the program's table even before the application object exists.
struct InstallStringLoader {
    InstallStringLoader() { CString::SetStringLoader(BwLoadString); }
} g_installStringLoader;
}  // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

BOOL BwLoadString(UINT id, CString& text)
{
    // LoadString truncates silently; grow the buffer until the text fits with room to spare.
    for (int size = 256; size <= 65536; size *= 4) {
        std::vector<char> buffer(size, 0);
        const int got = ::LoadStringA(AfxGetInstanceHandle(), id, buffer.data(), size);
        if (got <= 0) {
            text.Empty();
            return FALSE;
        }
        if (got < size - 1) {
            text = CString(buffer.data(), got);
            return TRUE;
        }
    }
    text.Empty();
    return FALSE;
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    CWnd* main = AfxGetMainWnd();
    HWND owner = main && ::IsWindowVisible(main->GetSafeHwnd()) ? main->GetSafeHwnd() : nullptr;
    const char* title = g_app && !g_app->m_appName.IsEmpty() ? (const char*)g_app->m_appName : "";
    return ::MessageBoxA(owner, text, title, type);
}

int AfxMessageBox(UINT textId, UINT type, UINT helpId)
{
    CString text;
    BwLoadString(textId, text);
    return AfxMessageBox(text, type, helpId);
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = showCommand;
    if (!app->InitInstance()) {
        // The loop never runs; ExitInstance still gives back what start-up took.
        return app->ExitInstance();
    }
    return app->Run();
}
