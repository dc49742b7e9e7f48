// A tree view: its items, their texts, data and states, and the selection.
#pragma once

#include "framework/win/ImageList.h"
#include "framework/win/Wnd.h"

class CTreeCtrl : public CWnd {
public:
    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST)
    {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<LPSTR>(text);
        return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)&insert);
    }
    BOOL DeleteItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)item); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL SelectItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item); }
    BOOL Expand(HTREEITEM item, UINT code) { return (BOOL)SendMessage(TVM_EXPAND, code, (LPARAM)item); }
    CString GetItemText(HTREEITEM item) const
    {
        char text[520] = {};
        TVITEMA info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        SendMessage(TVM_GETITEMA, 0, (LPARAM)&info);
        return CString(text);
    }
    BOOL SetItemText(HTREEITEM item, LPCSTR text)
    {
        TVITEMA info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = const_cast<LPSTR>(text);
        return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)&info);
    }
    DWORD_PTR GetItemData(HTREEITEM item) const
    {
        TVITEMA info = {};
        info.mask = TVIF_PARAM;
        info.hItem = item;
        SendMessage(TVM_GETITEMA, 0, (LPARAM)&info);
        return (DWORD_PTR)info.lParam;
    }
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data)
    {
        TVITEMA info = {};
        info.mask = TVIF_PARAM;
        info.hItem = item;
        info.lParam = (LPARAM)data;
        return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)&info);
    }
    BOOL GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly) const
    {
        *reinterpret_cast<HTREEITEM*>(rect) = item;
        return (BOOL)SendMessage(TVM_GETITEMRECT, textOnly, (LPARAM)rect);
    }
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const
    {
        TVHITTESTINFO info = {};
        info.pt = point;
        HTREEITEM item = (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)&info);
        if (flags)
            *flags = info.flags;
        return item;
    }
    HWND GetEditControl() const { return (HWND)SendMessage(TVM_GETEDITCONTROL); }
    HIMAGELIST SetImageList(CImageList* images, int kind)
    {
        return (HIMAGELIST)SendMessage(TVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)(images ? images->GetSafeHandle() : nullptr));
    }
};
