// A tab control: its tabs, selection and display area.
#pragma once

#include "framework/win/Wnd.h"

#include <commctrl.h>

class CTabCtrl : public CWnd {
public:
    int InsertItem(int index, LPCSTR text)
    {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPSTR>(text);
        return (int)SendMessage(TCM_INSERTITEMA, (WPARAM)index, (LPARAM)&item);
    }
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(TCM_DELETEITEM, (WPARAM)index); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS); }
    int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT); }
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(TCM_SETCURSEL, (WPARAM)index); }
    BOOL GetItemRect(int index, RECT* rect) const { return (BOOL)SendMessage(TCM_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    // Larger: the window rectangle for a display area; otherwise the display area of a window rectangle.
    void AdjustRect(BOOL larger, RECT* rect) { SendMessage(TCM_ADJUSTRECT, larger, (LPARAM)rect); }
};
