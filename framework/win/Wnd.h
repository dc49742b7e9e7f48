// CWnd: the C++ object behind one window handle.
//
// Every window made or subclassed through this layer is entered in one handle-to-object map
// and routed through BwWndProc, which looks the message up in the object's message map and
// falls back to the window's previous procedure (Default). Handles that belong to no object
// (other programs' windows, controls never subclassed) get temporary wrappers from
// FromHandle; those are deleted when the application goes idle, so callers never keep them.
#pragma once

#include <windows.h>

#include "framework/core/Afx.h"
#include "framework/win/MessageMap.h"

#ifndef afx_msg
#define afx_msg
#endif

class CDC;
class CMenu;

class CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    virtual ~CWnd();

    HWND m_hWnd;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Handle map.
    static CWnd* FromHandle(HWND hWnd);           // permanent object, else a temporary wrapper
    static CWnd* FromHandlePermanent(HWND hWnd);  // null when no object owns the handle
    static void DeleteTempMap();
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Routes an existing window (a dialog control, say) through this object's message map.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Creation and destruction.
    virtual BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                          LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    // Message handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Offers a notification back to the control that sent it; TRUE when the control took it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called after WM_NCDESTROY, when the object no longer has a window.
    virtual void PostNcDestroy();
    // Default processing of the message being handled.
    LRESULT Default();

    // Window operations.
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void ValidateRect(const RECT* rect) { ::ValidateRect(m_hWnd, rect); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE)
    {
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
    }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const { return ::GetWindowPlacement(m_hWnd, placement); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement) { return ::SetWindowPlacement(m_hWnd, placement); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void CenterWindow(CWnd* alternateOwner = nullptr);

    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    CWnd* GetParent() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    static CWnd* GetActiveWindow();
    static CWnd* GetDesktopWindow();
    CWnd* SetCapture();

    DWORD GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr)
    {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    HICON SetIcon(HICON icon, BOOL bigIcon)
    {
        return (HICON)SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)icon);
    }
    CMenu* GetSystemMenu(BOOL revert) const;
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // Tooltips: with them enabled the window's mouse messages are relayed to its own tooltip
    // control, which asks OnToolHitTest which tool is under the pointer and, for a text left
    // to the callback, sends TTN_NEEDTEXT to this window (ON_NOTIFY_RANGE(TTN_NEEDTEXT, ...)).
    BOOL EnableToolTips(BOOL enable = TRUE);
    // The tool under a client point: its id (the child's control id by default), -1 for none;
    // fills info for the tooltip control.
    virtual INT_PTR OnToolHitTest(CPoint point, struct tagTOOLINFOA* info) const;
    // Called for every message the application's loop sees on its way to this window.
    void FilterToolTipMessage(MSG* msg);
    HWND GetToolTipWindow() const { return m_toolTip; }

    // Handlers with default processing; derived classes override the ones their maps name.
    afx_msg int OnCreate(LPCREATESTRUCT cs) { return (int)Default(); }
    afx_msg void OnDestroy() { Default(); }
    afx_msg void OnClose() { Default(); }
    afx_msg void OnPaint() { Default(); }
    afx_msg void OnTimer(UINT_PTR id) { Default(); }
    afx_msg void OnSize(UINT type, int cx, int cy) { Default(); }
    afx_msg void OnSizing(UINT side, LPRECT rect) { Default(); }
    afx_msg void OnLButtonDown(UINT flags, CPoint point) { Default(); }
    afx_msg void OnLButtonUp(UINT flags, CPoint point) { Default(); }
    afx_msg void OnRButtonDown(UINT flags, CPoint point) { Default(); }
    afx_msg void OnMouseMove(UINT flags, CPoint point) { Default(); }
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags) { Default(); }
    afx_msg void OnShowWindow(BOOL show, UINT status) { Default(); }
    afx_msg void OnSysCommand(UINT id, LPARAM lParam) { Default(); }
    afx_msg HCURSOR OnQueryDragIcon() { return (HCURSOR)Default(); }
    afx_msg BOOL OnQueryNewPalette() { return (BOOL)Default(); }
    afx_msg void OnPaletteChanged(CWnd* focusWnd) { Default(); }
    afx_msg void OnPaletteIsChanging(CWnd* realizeWnd) { Default(); }
    afx_msg BOOL OnEraseBkgnd(CDC* dc) { return (BOOL)Default(); }
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point) { Default(); }
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized) { Default(); }
    afx_msg void OnSetFocus(CWnd* oldWnd) { Default(); }
    afx_msg BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data) { return (BOOL)Default(); }
    afx_msg void OnFontChange() { Default(); }
    afx_msg void OnContextMenu(CWnd* wnd, CPoint point) { Default(); }
    afx_msg BOOL OnHelpInfo(HELPINFO* info) { return (BOOL)Default(); }
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) { return (BOOL)Default(); }
    afx_msg void OnHScroll(UINT code, UINT position, CWnd* scrollBar) { Default(); }
    afx_msg void OnVScroll(UINT code, UINT position, CWnd* scrollBar) { Default(); }
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point) { Default(); }
    afx_msg void OnRButtonUp(UINT flags, CPoint point) { Default(); }
    afx_msg void OnRButtonDblClk(UINT flags, CPoint point) { Default(); }
    afx_msg void OnKillFocus(CWnd* newWnd) { Default(); }
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point) { return (BOOL)Default(); }
    afx_msg void OnChar(UINT character, UINT repeat, UINT flags) { Default(); }
    afx_msg void OnKeyUp(UINT key, UINT repeat, UINT flags) { Default(); }
    afx_msg void OnDropFiles(HDROP drop) { Default(); }
    afx_msg void OnEnable(BOOL enable) { Default(); }
    afx_msg LRESULT OnNcHitTest(CPoint point) { return Default(); }
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) { return (HBRUSH)Default(); }

protected:
    static const CMessageMap* GetThisMessageMap();
    virtual const CMessageMap* GetMessageMap() const;

    // Creation hook: the next window created on this thread is attached to 'wnd' as soon as
    // it exists, so that its very first messages (WM_NCCREATE, WM_CREATE, WM_INITDIALOG)
    // reach the object.
    static void HookCreation(CWnd* wnd);
    static void UnhookCreation();

    WNDPROC m_superProc;  // the procedure we subclassed; Default() calls it

private:
    friend LRESULT CALLBACK BwWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK BwCbtHook(int, WPARAM, LPARAM);
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current;
    BOOL m_temporary;
    HWND m_toolTip;
    INT_PTR m_lastTool;
};

// Window procedure of every window that has an object.
LRESULT CALLBACK BwWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers a plain window class of this program (default procedure, arrow cursor) for windows
// made through CreateEx, which routes their messages; true when it is there, made now or before.
bool RegisterPlainWindowClass(const char* className, UINT style = 0);
