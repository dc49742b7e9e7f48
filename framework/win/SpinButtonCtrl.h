// An up-down control: its buddy, range, base and position.
#pragma once

#include "framework/win/Wnd.h"

#include <commctrl.h>

class CSpinButtonCtrl : public CWnd {
public:
    CWnd* SetBuddy(CWnd* buddy) { return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)buddy->GetSafeHwnd())); }
    CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
    int SetBase(int base) { return (int)SendMessage(UDM_SETBASE, (WPARAM)base); }
    void SetRange(short lower, short upper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(upper, lower)); }
    void GetRange(int& lower, int& upper) const
    {
        const DWORD range = (DWORD)SendMessage(UDM_GETRANGE);
        lower = (short)HIWORD(range);
        upper = (short)LOWORD(range);
    }
    int SetPos(int position) { return (short)LOWORD(SendMessage(UDM_SETPOS, 0, MAKELPARAM((short)position, 0))); }
    int GetPos() const { return (short)LOWORD(SendMessage(UDM_GETPOS)); }
};
