// A drag list box: rows the user drags to a new place. The parent's drag-list notifications
// (a registered message) come back to the list box, which calls the virtual steps below.
#pragma once

#include "framework/win/ListBox.h"

#include <commctrl.h>

class CDragListBox : public CListBox {
public:
    // The registered message of drag-list notifications.
    static UINT GetDragListMessage();

    // Turns the list box (single selection, no sorting) into a drag list.
    BOOL MakeDragList() { return ::MakeDragList(m_hWnd); }
    int ItemFromPt(CPoint point, BOOL autoScroll = TRUE) const { return ::LBItemFromPt(m_hWnd, point, autoScroll); }
    // Draws the insertion arrow before a row in the parent; -1 removes it.
    void DrawInsert(int index);

    // TRUE lets the drag begin.
    virtual BOOL BeginDrag(CPoint point);
    // The cursor to show: DL_STOPCURSOR, DL_COPYCURSOR or DL_MOVECURSOR.
    virtual UINT Dragging(CPoint point);
    virtual void CancelDrag(CPoint point);
    // Moves the dragged row (text and data) before the row under the point.
    virtual void Dropped(int sourceIndex, CPoint point);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    int m_dragIndex = -1;
    int m_lastInsert = -1;
};
