// A scroll bar control: its range, position and page.
#pragma once

#include "framework/win/Wnd.h"

class CScrollBar : public CWnd {
public:
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int position, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, position, redraw); }
    void GetScrollRange(int* minimum, int* maximum) const { ::GetScrollRange(m_hWnd, SB_CTL, minimum, maximum); }
    void SetScrollRange(int minimum, int maximum, BOOL redraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, SB_CTL, minimum, maximum, redraw);
    }
    BOOL GetScrollInfo(SCROLLINFO* info, UINT mask = SIF_ALL) const
    {
        info->cbSize = sizeof *info;
        info->fMask = mask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, info);
    }
    int SetScrollInfo(SCROLLINFO* info, BOOL redraw = TRUE)
    {
        info->cbSize = sizeof *info;
        return ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw);
    }
    BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, arrows); }
};
