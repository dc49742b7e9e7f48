// CWnd's tooltips: one tooltip control per window that enables them, fed with the window's
// mouse messages; the tool under the pointer is asked of OnToolHitTest and the tooltip control
// is told whenever it changes.
#include "framework/win/Wnd.h"

#include <commctrl.h>

BOOL CWnd::EnableToolTips(BOOL enable)
{
    if (!enable) {
        if (m_toolTip)
            ::DestroyWindow(m_toolTip);
        m_toolTip = nullptr;
        m_lastTool = -1;
        return TRUE;
    }
    if (m_toolTip)
        return TRUE;
    m_toolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    m_lastTool = -1;
    return m_toolTip != nullptr;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == m_hWnd)
        return -1;
    if (info) {
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)child;
        info->uFlags |= TTF_IDISHWND;
        info->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return ::GetDlgCtrlID(child);
}

void CWnd::FilterToolTipMessage(MSG* msg)
{
    if (!m_toolTip || !m_hWnd)
        return;
    const UINT message = msg->message;
    const bool mouse = message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                       message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_MBUTTONDOWN ||
                       message == WM_MBUTTONUP;
    if (!mouse)
        return;
    POINT point = {(int)(short)LOWORD(msg->lParam), (int)(short)HIWORD(msg->lParam)};
    ::MapWindowPoints(msg->hwnd, m_hWnd, &point, 1);

    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    const INT_PTR hit = OnToolHitTest(CPoint(point), &info);
    if (hit != m_lastTool) {
        // The previous tool leaves the control, the new one covers the whole window: the
        // control then asks for its text when it shows.
        TOOLINFOA old = {};
        old.cbSize = sizeof old;
        if (::SendMessageA(m_toolTip, TTM_ENUMTOOLSA, 0, (LPARAM)&old))
            ::SendMessageA(m_toolTip, TTM_DELTOOLA, 0, (LPARAM)&old);
        if (hit != -1) {
            if (!(info.uFlags & TTF_IDISHWND))
                ::GetClientRect(m_hWnd, &info.rect);
            if (!info.hwnd)
                info.hwnd = m_hWnd;
            ::SendMessageA(m_toolTip, TTM_ADDTOOLA, 0, (LPARAM)&info);
        }
        m_lastTool = hit;
    }
    ::SendMessageA(m_toolTip, TTM_RELAYEVENT, 0, (LPARAM)msg);
}
