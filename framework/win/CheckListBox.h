// A check list box: an owner-drawn list box (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) with a check
// box before each row. A click on the box or Space toggles the row and tells the parent with
// WM_COMMAND CLBN_CHKCHANGE.
#pragma once

#include "framework/win/ListBox.h"

#include <vector>

#ifndef CLBN_CHKCHANGE
#define CLBN_CHKCHANGE 40
#endif

class CCheckListBox : public CListBox {
public:
    int GetCheck(int index) const;
    void SetCheck(int index, int check);

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;

protected:
    afx_msg LRESULT OnAddString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInsertString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnResetContent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    DECLARE_MESSAGE_MAP()

private:
    void Toggle(int index);
    int CheckBoxWidth() const;

    std::vector<int> m_checks;  // one per row, kept in step with the rows
};
