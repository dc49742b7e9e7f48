// A header control: its columns.
#pragma once

#include "framework/win/Wnd.h"

#include <commctrl.h>

class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    int InsertItem(int index, HDITEMA* item) { return (int)SendMessage(HDM_INSERTITEMA, (WPARAM)index, (LPARAM)item); }
    // A column of text and width.
    int InsertItem(int index, LPCSTR text, int width)
    {
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = const_cast<LPSTR>(text);
        item.cxy = width;
        item.fmt = HDF_LEFT | HDF_STRING;
        return InsertItem(index, &item);
    }
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(HDM_DELETEITEM, (WPARAM)index); }
    BOOL GetItem(int index, HDITEMA* item) const { return (BOOL)SendMessage(HDM_GETITEMA, (WPARAM)index, (LPARAM)item); }
    BOOL SetItem(int index, HDITEMA* item) { return (BOOL)SendMessage(HDM_SETITEMA, (WPARAM)index, (LPARAM)item); }
    BOOL GetItemRect(int index, RECT* rect) const { return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    BOOL Layout(HDLAYOUT* layout) { return (BOOL)SendMessage(HDM_LAYOUT, 0, (LPARAM)layout); }
};
