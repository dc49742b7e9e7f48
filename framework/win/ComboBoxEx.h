// An extended combo box: rows with text, an image and an indent, drawn from an image list.
#pragma once

#include "framework/win/ImageList.h"
#include "framework/win/Wnd.h"

class CComboBoxEx : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CreateEx(0, WC_COMBOBOXEXA, "", style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id);
    }
    int InsertItem(const COMBOBOXEXITEMA* item) { return (int)SendMessage(CBEM_INSERTITEMA, 0, (LPARAM)item); }
    // A row of text with an image (the same for the selected state) and an indent.
    int InsertItem(int index, LPCSTR text, int image, int indent, LPARAM data = 0)
    {
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
        item.iItem = index;
        item.pszText = const_cast<LPSTR>(text);
        item.iImage = item.iSelectedImage = image;
        item.iIndent = indent;
        item.lParam = data;
        return InsertItem(&item);
    }
    BOOL GetItem(COMBOBOXEXITEMA* item) const { return (BOOL)SendMessage(CBEM_GETITEMA, 0, (LPARAM)item); }
    int DeleteItem(int index) { return (int)SendMessage(CBEM_DELETEITEM, (WPARAM)index); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)index); }
    LPARAM GetItemData(int index) const { return (LPARAM)SendMessage(CB_GETITEMDATA, (WPARAM)index); }
    HIMAGELIST SetImageList(CImageList* images)
    {
        return (HIMAGELIST)SendMessage(CBEM_SETIMAGELIST, 0, (LPARAM)(images ? images->GetSafeHandle() : nullptr));
    }
    HWND GetComboBoxCtrl() const { return (HWND)SendMessage(CBEM_GETCOMBOCONTROL); }
    HWND GetEditCtrl() const { return (HWND)SendMessage(CBEM_GETEDITCONTROL); }
};
