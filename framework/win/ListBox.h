// A list box of a dialog: its rows, selection and item data. Owner-drawn list boxes override
// DrawItem, MeasureItem, CompareItem and DeleteItem; their parent hands them those messages.
#pragma once

#include "framework/win/Wnd.h"

#include <vector>

class CListBox : public CWnd {
public:
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)index); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int AddString(LPCSTR text) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)text); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, (WPARAM)index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(LB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    int InsertString(int index, LPCSTR text) { return (int)SendMessage(LB_INSERTSTRING, (WPARAM)index, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)SendMessage(LB_DELETESTRING, (WPARAM)index); }
    int GetText(int index, CString& text) const
    {
        const int length = (int)SendMessage(LB_GETTEXTLEN, (WPARAM)index);
        if (length < 0) {
            text.Empty();
            return length;
        }
        std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
        const int got = (int)SendMessage(LB_GETTEXT, (WPARAM)index, (LPARAM)buffer.data());
        text = got >= 0 ? CString(buffer.data()) : CString();
        return got;
    }
    int GetCaretIndex() const { return (int)SendMessage(LB_GETCARETINDEX); }
    int SetItemHeight(int index, UINT height) { return (int)SendMessage(LB_SETITEMHEIGHT, (WPARAM)index, MAKELPARAM(height, 0)); }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT) {}
    // A key typed in a list box with LBS_WANTKEYBOARDINPUT: -1 for the default action, -2 when
    // handled, or the index of the row to select.
    virtual int VKeyToItem(UINT key, UINT caretIndex) { return -1; }

    // The owner-draw messages its parent reflects to it.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        switch (message) {
        case WM_DRAWITEM:
            DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            *result = TRUE;
            return TRUE;
        case WM_MEASUREITEM:
            MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
            *result = TRUE;
            return TRUE;
        case WM_COMPAREITEM:
            *result = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
            return TRUE;
        case WM_DELETEITEM:
            DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
            *result = TRUE;
            return TRUE;
        case WM_VKEYTOITEM:
            *result = VKeyToItem(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default:
            return CWnd::OnChildNotify(message, wParam, lParam, result);
        }
    }
};
