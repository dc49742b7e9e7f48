#include "framework/win/Wnd.h"

#include "framework/win/DC.h"
#include "framework/win/Menu.h"
#include "framework/win/WinApp.h"
#include "framework/core/CException.h"

#include <commctrl.h>
#include <map>

namespace {

// The handle maps belong to the user-interface thread; windows are made and used there only.
std::map<HWND, CWnd*>& PermanentMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

std::map<HWND, CWnd*>& TemporaryMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_cbtHook = nullptr;

const CMessageMapEntry* FindEntry(const CMessageMap* map, UINT message, UINT code, UINT id)
{
    for (; map; map = map->base ? map->base() : nullptr) {
        for (const CMessageMapEntry* e = map->entries; e && e->thunk; ++e) {
            if (e->message != message)
                continue;
            if (message == WM_COMMAND || message == WM_NOTIFY) {
                if (e->code != code || id < e->idFirst || id > e->idLast)
                    continue;
            } else if (message == BW_WM_REFLECT_BASE + WM_COMMAND || message == BW_WM_REFLECT_BASE + WM_NOTIFY) {
                if (e->code != code)
                    continue;
            }
            return e;
        }
    }
    return nullptr;
}

}  // namespace

LRESULT CALLBACK BwCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* wnd = t_creating;
        t_creating = nullptr;
        wnd->SubclassWindow((HWND)wParam);
    }
    return CallNextHookEx(t_cbtHook, code, wParam, lParam);
}

LRESULT CALLBACK BwWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    // Handlers may be re-entered (a SendMessage to ourselves); keep the outer message.
    const CWnd::CurrentMessage outer = wnd->m_current;
    wnd->m_current = {message, wParam, lParam};
    LRESULT result;
    if (message == WM_NCDESTROY) {
        WNDPROC super = wnd->m_superProc;
        result = super ? ::CallWindowProcA(super, hWnd, message, wParam, lParam)
                       : ::DefWindowProcA(hWnd, message, wParam, lParam);
        wnd->UnsubclassWindow();
        wnd->m_current = outer;
        wnd->PostNcDestroy();  // may delete the object
        return result;
    }
    // A C++ exception must never unwind through user32's frames (on this target that ends the
    // process): file errors and the like are reported here and the message counts as handled.
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        const MSG msg = {hWnd, message, wParam, lParam, 0, {0, 0}};
        CWinApp* app = AfxGetApp();
        result = app ? app->ProcessWndProcException(e, &msg) : 0;
        e->Delete();
    }
    wnd->m_current = outer;
    return result;
}

IMPLEMENT_DYNAMIC(CWnd, CObject)

CWnd::CWnd()
    : m_hWnd(nullptr), m_superProc(nullptr), m_current{0, 0, 0}, m_temporary(FALSE), m_toolTip(nullptr), m_lastTool(-1)
{
}

CWnd::~CWnd()
{
    if (m_hWnd && !m_temporary && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

const CMessageMap* CWnd::GetThisMessageMap()
{
    static const CMessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const CMessageMap map = {nullptr, entries};
    return &map;
}

const CMessageMap* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd))
        return wnd;
    CWnd*& temp = TemporaryMap()[hWnd];
    if (!temp) {
        temp = new CWnd;
        temp->m_hWnd = hWnd;
        temp->m_temporary = TRUE;
    }
    return temp;
}

void CWnd::DeleteTempMap()
{
    std::map<HWND, CWnd*> temps;
    temps.swap(TemporaryMap());
    for (auto& entry : temps) {
        entry.second->m_hWnd = nullptr;
        delete entry.second;
    }
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    // A temporary wrapper handed out earlier now stands for nothing; drop it at the next idle.
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd)
        PermanentMap().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    m_superProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)BwWndProc);
    if (m_superProc == BwWndProc)
        m_superProc = nullptr;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = ::GetDlgItem(parent->GetSafeHwnd(), (int)id);
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd && m_superProc && (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == BwWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_superProc);
    m_superProc = nullptr;
    return Detach();
}

void CWnd::HookCreation(CWnd* wnd)
{
    t_creating = wnd;
    if (!t_cbtHook)
        t_cbtHook = ::SetWindowsHookExA(WH_CBT, BwCbtHook, nullptr, ::GetCurrentThreadId());
}

void CWnd::UnhookCreation()
{
    t_creating = nullptr;
    if (t_cbtHook) {
        ::UnhookWindowsHookEx(t_cbtHook);
        t_cbtHook = nullptr;
    }
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, LPVOID param)
{
    if (m_hWnd)
        return FALSE;
    HookCreation(this);
    HWND hWnd = ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                                  menuOrId, ::GetModuleHandleA(nullptr), param);
    UnhookCreation();
    if (!hWnd) {
        if (m_hWnd)
            Detach();
        return FALSE;
    }
    return m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    if (m_temporary || FromHandlePermanent(m_hWnd) != this) {
        BOOL done = ::DestroyWindow(m_hWnd);
        return done;
    }
    return ::DestroyWindow(m_hWnd);  // WM_NCDESTROY detaches the object
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

// The control an owner-draw or control-colour message is about (menus excepted): owner-drawn
// controls draw, measure, compare and delete their own items, and a control may pick its own
// colours.
static CWnd* OwnerDrawnChild(HWND parent, UINT message, LPARAM lParam)
{
    if (!lParam)
        return nullptr;
    HWND control = nullptr;
    switch (message) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = (const DRAWITEMSTRUCT*)lParam;
        control = item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        const MEASUREITEMSTRUCT* item = (const MEASUREITEMSTRUCT*)lParam;
        control = item->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(parent, (int)item->CtlID);
        break;
    }
    case WM_COMPAREITEM:
        control = ((const COMPAREITEMSTRUCT*)lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        control = ((const DELETEITEMSTRUCT*)lParam)->hwndItem;
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_VKEYTOITEM:
        control = (HWND)lParam;
        break;
    default: {
        // A drag list tells its parent of a drag through a registered message.
        static const UINT dragListMessage = ::RegisterWindowMessageA(DRAGLISTMSGSTRING);
        if (message != dragListMessage)
            return nullptr;
        control = ((const DRAGLISTINFO*)lParam)->hWnd;
        break;
    }
    }
    return control && control != parent ? CWnd::FromHandlePermanent(control) : nullptr;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* header = (NMHDR*)lParam;
        return header && OnNotify(wParam, lParam, result);
    }
    if (CWnd* child = OwnerDrawnChild(m_hWnd, message, lParam))
        if (child->OnChildNotify(message, wParam, lParam, result))
            return TRUE;
    UINT code = 0;
    if (message == BW_WM_REFLECT_BASE + WM_COMMAND)
        code = HIWORD(wParam);
    else if (message == BW_WM_REFLECT_BASE + WM_NOTIFY)
        code = ((NMHDR*)lParam)->code;
    const CMessageMapEntry* entry = FindEntry(GetMessageMap(), message, code, 0);
    return entry && entry->thunk(this, message, wParam, lParam, result);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    HWND control = (HWND)lParam;
    if (control) {
        // Reflection: the control gets the first chance at its own notification.
        CWnd* child = FromHandlePermanent(control);
        LRESULT ignored = 0;
        if (child && child->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored))
            return TRUE;
    }
    LRESULT result = 0;
    const CMessageMapEntry* entry = FindEntry(GetMessageMap(), WM_COMMAND, control ? code : 0, id);
    return entry && entry->thunk(this, WM_COMMAND, wParam, lParam, &result);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = (NMHDR*)lParam;
    CWnd* child = FromHandlePermanent(header->hwndFrom);
    if (child && child->OnChildNotify(WM_NOTIFY, wParam, lParam, result))
        return TRUE;
    const CMessageMapEntry* entry = FindEntry(GetMessageMap(), WM_NOTIFY, header->code, (UINT)header->idFrom);
    return entry && entry->thunk(this, WM_NOTIFY, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return OnWndMsg(BW_WM_REFLECT_BASE + message, wParam, lParam, result);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc)
        return ::CallWindowProcA(m_superProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CWnd::PostNcDestroy() {}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::ClientToScreen(m_hWnd, (LPPOINT)rect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)rect) + 1);
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::ScreenToClient(m_hWnd, (LPPOINT)rect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)rect) + 1);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    HWND after = insertAfter ? insertAfter->m_hWnd : nullptr;
    if (insertAfter == reinterpret_cast<const CWnd*>(HWND_TOPMOST) ||
        insertAfter == reinterpret_cast<const CWnd*>(HWND_TOP) ||
        insertAfter == reinterpret_cast<const CWnd*>(HWND_NOTOPMOST) ||
        insertAfter == reinterpret_cast<const CWnd*>(HWND_BOTTOM))
        after = (HWND)insertAfter;
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    RECT mine, area;
    ::GetWindowRect(m_hWnd, &mine);
    HWND centreOn = alternateOwner ? alternateOwner->m_hWnd : ::GetParent(m_hWnd);
    if (centreOn && ::IsWindowVisible(centreOn) && !::IsIconic(centreOn))
        ::GetWindowRect(centreOn, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int width = mine.right - mine.left, height = mine.bottom - mine.top;
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) {
        POINT p = {x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::GetWindowText(CString& text) const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    char* buffer = text.GetBuffer(length + 1);
    const int got = ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(got < 0 ? 0 : got);
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::GetActiveWindow()
{
    return FromHandle(::GetActiveWindow());
}

CWnd* CWnd::GetDesktopWindow()
{
    return FromHandle(::GetDesktopWindow());
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}

static BOOL ModifyLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT flags)
{
    const DWORD style = (DWORD)::GetWindowLongA(hWnd, index);
    const DWORD changed = (style & ~remove) | add;
    if (style == changed)
        return FALSE;
    ::SetWindowLongA(hWnd, index, (LONG)changed);
    if (flags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* dc)
{
    if (!dc)
        return 0;
    HDC hdc = dc->m_hDC;
    CDC::DeleteTempHandle(hdc);  // the wrapper must not outlive the released handle
    return ::ReleaseDC(m_hWnd, hdc);
}

bool RegisterPlainWindowClass(const char* className, UINT style)
{
    WNDCLASSA windowClass = {};
    windowClass.style = style;
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = className;
    return ::RegisterClassA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
