#include "app/AppServices.h"

#include "app/Errors.h"
#include "app/Resource.h"
#include "app/WidgetsDlg.h"
#include "util/AppUtilServices.h"
#include "document/OperationsManager.h"
#include "document/OperationsServices.h"
#include "app/widgets.h"

#include <shlobj.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
CWidgetsApp* App()
{
    return dynamic_cast<CWidgetsApp*>(AfxGetApp());
}

// The utilities reach the application through this.
class CWidgetsUtilServices : public CAppUtilServices {
public:
    CString GetRootPath() override { return ::GetRootPath(); }
    CString GetTemplatesFolder() override { return ::GetTemplatesFolder(true, true, false); }
    void SetInternalError(unsigned line, const char* file) override
    {
        static char path[MAX_PATH];
        std::snprintf(path, sizeof path, "%s%s", BW_SOURCE_PATH(""), file ? file : "");
        g_ErrorLine = line;
        g_ErrorFile = path;
        ::SetInternalError();
    }
    int InformWarningWithPath(UINT messageId, const char* path, UINT label1, UINT label2, UINT label3, UINT label4,
                              int defaultIndex, int cancelIndex) override
    {
        return ::InformWarningWithPath(messageId, path, label1, label2, label3, label4, defaultIndex, cancelIndex);
    }
    CString GetSpecialFolderDisplayName(int csidl) override { return ::GetSpecialFolderDisplayName(csidl); }
    bool HasOperationsManager() override { return ::GetOperationsServices().GetOperationsManager() != nullptr; }
    bool IsNavBarMode() override
    {
        COperationsManager* manager = ::GetOperationsServices().GetOperationsManager();
        return manager && manager->IsNavBarMode();
    }
};
}  // namespace

void InstallAppUtilServices()
{
    static CWidgetsUtilServices services;
    SetAppUtilServices(&services);
}

COptions* GetOptions()
{
    return App() ? App()->GetOptions() : nullptr;
}

COptions* GetBackupOptions()
{
    return App() ? App()->GetBackupOptions() : nullptr;
}

COperationsManager* GetOperationsManager()
{
    return App() ? App()->GetOperationsManager() : nullptr;
}

CWidgetsDlg* GetMainDialog()
{
    return App() ? App()->GetMainDialog() : nullptr;
}

CWnd* GetMainWnd()
{
    return AfxGetMainWnd();
}

CGraphicMenu* GetGraphicMenu()
{
    return App() ? App()->m_graphicMenu : nullptr;
}

CPropertiesMenu* GetPropertiesMenu()
{
    return App() ? App()->m_propertiesMenu : nullptr;
}

CTessro* GetTessroContext()
{
    return App() ? App()->m_tessro : nullptr;
}

CString GetRootPath()
{
    return App() ? App()->GetRootPath() : CString();
}

CString GetTemplatesFolder(bool withBackslash, bool withRoot, bool lowerCase)
{
    return App() ? App()->GetTemplatesFolder(withBackslash, withRoot, lowerCase) : CString();
}

bool IsWindowsNT()
{
    return App() && App()->IsWindowsNT();
}

CString GetOSVersionText()
{
    return App() ? App()->GetOSVersionText() : CString();
}

CString GetProductName()
{
    return "Quor Bar Wright";
}

CString GetVersionText()
{
    return "1.1 (1.2246) Jan 19 2004";
}

CString GetBuildKindText()
{
    CString text;
    text.LoadString(IDS_BUILD_KIND);
    return text;
}

void FreezeMainWindow() {}

void UnfreezeMainWindow()
{
    if (CWidgetsDlg* dlg = GetMainDialog())
        dlg->PaintNow();
}

CString GetSpecialFolder(int kind)
{
    int csidl;
    switch (kind) {
    case 1: csidl = CSIDL_NETWORK; break;
    case 2: csidl = CSIDL_NETHOOD; break;
    case 3: csidl = CSIDL_PERSONAL | CSIDL_FLAG_CREATE; break;
    case 6: csidl = CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE; break;
    case 8: csidl = CSIDL_MYPICTURES | CSIDL_FLAG_CREATE; break;
    default: csidl = CSIDL_APPDATA; break;
    }
    char path[MAX_PATH + 1] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)))
        return CString();
    path[MAX_PATH] = 0;
    return CString(path);
}

CString GetSpecialFolderDisplayName(int csidl)
{
    CString name;
    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)) || !allocator)
        return name;
    LPITEMIDLIST items = nullptr;
    IShellFolder* desktop = nullptr;
    if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, csidl, &items)) && items &&
        SUCCEEDED(::SHGetDesktopFolder(&desktop)) && desktop) {
        STRRET result = {};
        if (SUCCEEDED(desktop->GetDisplayNameOf(items, SHGDN_NORMAL, &result))) {
            switch (result.uType) {
            case STRRET_WSTR:
                if (result.pOleStr) {
                    char text[MAX_PATH * 2] = {};
                    ::WideCharToMultiByte(CP_ACP, 0, result.pOleStr, -1, text, sizeof text - 1, nullptr, nullptr);
                    name = text;
                    allocator->Free(result.pOleStr);
                }
                break;
            case STRRET_OFFSET:
                name = (const char*)items + result.uOffset;
                break;
            case STRRET_CSTR:
                name = CString(result.cStr, (int)strnlen(result.cStr, sizeof result.cStr));
                break;
            }
        }
        desktop->Release();
    }
    if (items)
        allocator->Free(items);
    allocator->Release();
    return name;
}

CString GetPersonalFolderName()
{
    const CString path = GetSpecialFolder(3);
    const int slash = path.ReverseFind('\\');
    if (slash < 0 || slash == path.GetLength() - 1)
        return path;
    return path.Mid(slash + 1);
}

bool OpenWithShell(const char* text)
{
    const INT_PTR result = (INT_PTR)::ShellExecuteA(nullptr, "open", text, nullptr, nullptr, SW_SHOW);
    if (result > 32)
        return true;
    const bool noProgram = result == 2 || result == 3 || result == 5 || result == 27;
    InformError(noProgram ? IDS_NO_BROWSER : IDS_PAGE_NOT_FOUND);
    return false;
}

int IsAdministrator(int* administrator)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
        *administrator = 1;
        return 1;
    }
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | READ_CONTROL, &token))
        return 0;
    int answer = 0;
    DWORD size = 0;
    void* buffer = nullptr;
    if (!::GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size) &&
        ::GetLastError() == ERROR_INSUFFICIENT_BUFFER && size) {
        buffer = ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, size);
        if (buffer && ::GetTokenInformation(token, TokenPrivileges, buffer, size, &size)) {
            answer = 1;
            const TOKEN_PRIVILEGES* privileges = (const TOKEN_PRIVILEGES*)buffer;
            for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
                // Only the privilege's own name matters; its display name is for people.
                char name[256] = {};
                DWORD nameLength = 255;
                LUID luid = privileges->Privileges[i].Luid;
                if (!::LookupPrivilegeNameA(nullptr, &luid, name, &nameLength)) {
                    answer = 0;
                    break;
                }
                if (lstrcmpiA(name, "SeTakeOwnershipPrivilege") == 0)
                    *administrator = 1;
            }
        }
    }
    if (buffer)
        ::HeapFree(::GetProcessHeap(), 0, buffer);
    ::CloseHandle(token);
    return answer;
}

char* ReadWholeFile(const char* path, DWORD* length)
{
    if (length)
        *length = 0;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    DWORD high = 0;
    const DWORD size = ::GetFileSize(file, &high);
    // Prompt documents are small; a file that does not fit in memory is not one of them.
    if (size == INVALID_FILE_SIZE || high || size >= 0x7FFFFFFF) {
        ::CloseHandle(file);
        return nullptr;
    }
    char* buffer = new (std::nothrow) char[(size_t)size + 1];
    if (!buffer) {
        ::CloseHandle(file);
        return nullptr;
    }
    DWORD got = 0;
    const BOOL read = ::ReadFile(file, buffer, size, &got, nullptr);
    ::CloseHandle(file);
    if (!read || got != size) {
        delete[] buffer;
        return nullptr;
    }
    buffer[size] = 0;
    if (length)
        *length = size;
    return buffer;
}

void MoveDwords(DWORD* target, const DWORD* source, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = source[i];
}

void FillDwords(DWORD* target, DWORD value, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = value;
}

void DrawBevelFrame(CWnd* window, CDC* dc, const RECT* offsets, bool sunken)
{
    if (!window || !window->GetSafeHwnd())
        return;
    RECT r;
    window->GetClientRect(&r);
    r.right -= 1;
    r.bottom -= 1;
    if (offsets) {
        r.left += offsets->left;
        r.top += offsets->top;
        r.right += offsets->right;
        r.bottom += offsets->bottom;
    }
    HDC hdc = dc ? dc->GetSafeHdc() : ::GetDC(window->GetSafeHwnd());
    if (!hdc)
        return;
    ::SetMapMode(hdc, MM_TEXT);
    HPEN white = ::CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HPEN light = ::CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
    HPEN dark = ::CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HPEN black = ::CreatePen(PS_SOLID, 1, 0xFF000000);
    const struct {
        POINT from, corner, to;
        HPEN raised, sunkenPen;
    } lines[] = {
        {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}, light, dark},
        {{r.left + 1, r.bottom - 1}, {r.left + 1, r.top + 1}, {r.right - 1, r.top + 1}, white, black},
        {{r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}, black, white},
        {{r.left + 1, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top + 1}, dark, black},
    };
    for (const auto& line : lines) {
        HGDIOBJ old = ::SelectObject(hdc, sunken ? line.sunkenPen : line.raised);
        ::MoveToEx(hdc, line.from.x, line.from.y, nullptr);
        ::LineTo(hdc, line.corner.x, line.corner.y);
        ::LineTo(hdc, line.to.x, line.to.y);
        ::SelectObject(hdc, old);
    }
    ::DeleteObject(white);
    ::DeleteObject(light);
    ::DeleteObject(dark);
    ::DeleteObject(black);
    if (!dc)
        ::ReleaseDC(window->GetSafeHwnd(), hdc);
}
