// A combo box of a dialog: its list, selection and item data.
#pragma once

#include <string>

#include "framework/win/Wnd.h"

class CComboBox : public CWnd {
public:
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)index); }
    int AddString(LPCSTR text) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)SendMessage(CB_DELETESTRING, index); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int FindStringExact(int startAfter, LPCSTR text) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)startAfter, (LPARAM)text);
    }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(CB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    // The text of a list entry; empty for an index outside the list.
    void GetLBText(int index, CString& text) const
    {
        text.Empty();
        const int length = (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)index);
        if (length <= 0)
            return;
        std::string buffer(static_cast<size_t>(length) + 1, '\0');
        if ((int)SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)&buffer[0]) > 0)
            text = buffer.c_str();
    }
};
