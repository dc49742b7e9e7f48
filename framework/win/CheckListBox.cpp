#include "framework/win/CheckListBox.h"

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_MESSAGE(LB_ADDSTRING, OnAddString)
    ON_MESSAGE(LB_INSERTSTRING, OnInsertString)
    ON_MESSAGE(LB_DELETESTRING, OnDeleteString)
    ON_MESSAGE(LB_RESETCONTENT, OnResetContent)
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

int CCheckListBox::GetCheck(int index) const
{
    return index >= 0 && index < static_cast<int>(m_checks.size()) ? m_checks[index] : 0;
}

void CCheckListBox::SetCheck(int index, int check)
{
    if (index < 0 || index >= static_cast<int>(m_checks.size()))
        return;
    m_checks[index] = check;
    RECT row;
    if (SendMessage(LB_GETITEMRECT, (WPARAM)index, (LPARAM)&row) != LB_ERR)
        ::InvalidateRect(m_hWnd, &row, FALSE);
}

LRESULT CCheckListBox::OnAddString(WPARAM, LPARAM)
{
    const LRESULT index = Default();
    if (index >= 0 && index <= static_cast<LRESULT>(m_checks.size()))
        m_checks.insert(m_checks.begin() + index, 0);
    return index;
}

LRESULT CCheckListBox::OnInsertString(WPARAM, LPARAM)
{
    return OnAddString(0, 0);
}

LRESULT CCheckListBox::OnDeleteString(WPARAM wParam, LPARAM)
{
    const LRESULT left = Default();
    if (left != LB_ERR && wParam < m_checks.size())
        m_checks.erase(m_checks.begin() + static_cast<std::ptrdiff_t>(wParam));
    return left;
}

LRESULT CCheckListBox::OnResetContent(WPARAM, LPARAM)
{
    m_checks.clear();
    return Default();
}

int CCheckListBox::CheckBoxWidth() const { return ::GetSystemMetrics(SM_CXMENUCHECK) + 4; }

void CCheckListBox::Toggle(int index)
{
    if (index < 0 || index >= static_cast<int>(m_checks.size()))
        return;
    SetCheck(index, m_checks[index] ? 0 : 1);
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE), (LPARAM)m_hWnd);
}

void CCheckListBox::OnLButtonDown(UINT, CPoint point)
{
    Default();
    const DWORD hit = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit) == 0 && point.x < CheckBoxWidth())
        Toggle(LOWORD(hit));
}

void CCheckListBox::OnKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_SPACE)
        Toggle(GetCaretIndex());
    else
        Default();
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT item)
{
    const int box = ::GetSystemMetrics(SM_CYMENUCHECK);
    if (item->itemHeight < static_cast<UINT>(box + 2))
        item->itemHeight = box + 2;
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (item->itemID == static_cast<UINT>(-1))
        return;
    const int index = static_cast<int>(item->itemID);
    HDC dc = item->hDC;
    RECT row = item->rcItem;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const int box = ::GetSystemMetrics(SM_CXMENUCHECK);
    const int boxHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
    RECT check = {row.left + 2, row.top + (row.bottom - row.top - boxHeight) / 2, 0, 0};
    check.right = check.left + box;
    check.bottom = check.top + boxHeight;
    ::FillRect(dc, &row, ::GetSysColorBrush(COLOR_WINDOW));
    ::DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | (GetCheck(index) ? DFCS_CHECKED : 0));

    RECT text = row;
    text.left += CheckBoxWidth();
    ::FillRect(dc, &text, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CString label;
    GetText(index, label);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    text.left += 2;
    ::DrawTextA(dc, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    if (item->itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &text);
}
