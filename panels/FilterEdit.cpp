#include "panels/FilterEdit.h"

BEGIN_MESSAGE_MAP(CFilterEdit, CEdit)
    ON_WM_CHAR()
    ON_MESSAGE(WM_PASTE, OnPaste)
END_MESSAGE_MAP()

namespace {

CString ClipboardText(HWND owner)
{
    CString text;
    if (!::OpenClipboard(owner))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        const SIZE_T size = ::GlobalSize(data);
        if (const char* chars = static_cast<const char*>(::GlobalLock(data))) {
            // The clipboard's block need not end in a zero inside its size.
            SIZE_T length = 0;
            while (length < size && chars[length])
                ++length;
            text = CString(chars, static_cast<int>(length));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

}  // namespace

void CFilterEdit::OnChar(UINT character, UINT, UINT)
{
    if (IsCharAllowed(character))
        Default();
    else
        ::MessageBeep(0);
}

LRESULT CFilterEdit::OnPaste(WPARAM, LPARAM)
{
    InsertFiltered(ClipboardText(m_hWnd));
    return 0;
}

void CFilterEdit::InsertFiltered(const CString& text)
{
    if (!IsTextAllowed(text)) {
        ::MessageBeep(0);
        return;
    }
    CString current;
    GetWindowText(current);
    DWORD start = 0, end = 0;
    SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    const int length = current.GetLength();
    const int from = static_cast<int>(start) < length ? static_cast<int>(start) : length;
    const int to = static_cast<int>(end) < length ? static_cast<int>(end) : length;
    const CString result = current.Left(from) + text + current.Mid(to > from ? to : from);
    SetWindowText(result);
    const int caret = from + text.GetLength();
    SetSel(caret, caret);
}
