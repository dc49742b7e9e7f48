#include "framework/win/DragListBox.h"

UINT CDragListBox::GetDragListMessage()
{
    static const UINT message = ::RegisterWindowMessageA(DRAGLISTMSGSTRING);
    return message;
}

void CDragListBox::DrawInsert(int index)
{
    if (index == m_lastInsert)
        return;
    m_lastInsert = index;
    ::DrawInsert(::GetParent(m_hWnd), m_hWnd, index);
}

BOOL CDragListBox::BeginDrag(CPoint point)
{
    m_dragIndex = ItemFromPt(point, FALSE);
    m_lastInsert = -1;
    return m_dragIndex >= 0;
}

UINT CDragListBox::Dragging(CPoint point)
{
    const int index = ItemFromPt(point);
    DrawInsert(index);
    return index >= 0 ? DL_MOVECURSOR : DL_STOPCURSOR;
}

void CDragListBox::CancelDrag(CPoint)
{
    DrawInsert(-1);
    m_dragIndex = -1;
}

void CDragListBox::Dropped(int sourceIndex, CPoint point)
{
    DrawInsert(-1);
    const int target = ItemFromPt(point, FALSE);
    m_dragIndex = -1;
    if (sourceIndex < 0 || target < 0 || target == sourceIndex || target == sourceIndex + 1)
        return;
    CString text;
    if (GetText(sourceIndex, text) < 0)
        return;
    const DWORD_PTR data = GetItemData(sourceIndex);
    DeleteString(static_cast<UINT>(sourceIndex));
    const int at = target > sourceIndex ? target - 1 : target;
    const int inserted = InsertString(at, text);
    if (inserted >= 0) {
        SetItemData(inserted, data);
        SetCurSel(inserted);
    }
}

BOOL CDragListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != GetDragListMessage())
        return CListBox::OnChildNotify(message, wParam, lParam, result);
    const DRAGLISTINFO* info = reinterpret_cast<const DRAGLISTINFO*>(lParam);
    CPoint point(info->ptCursor.x, info->ptCursor.y);
    switch (info->uNotification) {
    case DL_BEGINDRAG:
        *result = BeginDrag(point);
        break;
    case DL_DRAGGING:
        *result = Dragging(point);
        break;
    case DL_CANCELDRAG:
        CancelDrag(point);
        *result = 0;
        break;
    case DL_DROPPED:
        Dropped(m_dragIndex, point);
        *result = 0;
        break;
    default:
        return FALSE;
    }
    return TRUE;
}
