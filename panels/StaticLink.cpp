#include "panels/StaticLink.h"

#include "framework/win/DC.h"

#include <shellapi.h>

namespace {

// The help viewer's hand, copied once for the whole process; the platform's hand when the
// viewer is not there.
HCURSOR HandCursor()
{
    static bool tried = false;
    static HCURSOR hand = nullptr;
    if (tried)
        return hand;
    tried = true;
    char folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH - 16) {
        CString path = CString(folder) + "\\winhlp32.exe";
        if (HMODULE viewer = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            if (HCURSOR cursor = ::LoadCursorA(viewer, MAKEINTRESOURCEA(106)))
                hand = (HCURSOR)::CopyImage(cursor, IMAGE_CURSOR, 0, 0, 0);
            ::FreeLibrary(viewer);
        }
    }
    if (!hand)
        hand = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    return hand;
}

}  // namespace

BEGIN_MESSAGE_MAP(CStaticLink, CStatic)
    ON_WM_NCHITTEST()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CStaticLink::CStaticLink(const CString& target, BOOL deleteOnDestroy)
    : m_target(target), m_colour(kUnvisited), m_font(nullptr), m_deleteOnDestroy(deleteOnDestroy)
{
}

CStaticLink::~CStaticLink()
{
    if (m_font)
        ::DeleteObject(m_font);
}

LRESULT CStaticLink::OnNcHitTest(CPoint) { return HTCLIENT; }

HBRUSH CStaticLink::CtlColor(CDC* dc, UINT)
{
    if ((GetStyle() & 0xFF) > SS_RIGHT)
        return nullptr;
    if (!m_font) {
        HFONT base = (HFONT)SendMessage(WM_GETFONT);
        if (!base)
            base = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
        LOGFONTA description = {};
        if (::GetObjectA(base, sizeof description, &description)) {
            description.lfUnderline = TRUE;
            m_font = ::CreateFontIndirectA(&description);
        }
    }
    if (m_font)
        ::SelectObject(dc->m_hDC, m_font);
    ::SetTextColor(dc->m_hDC, m_colour);
    ::SetBkMode(dc->m_hDC, TRANSPARENT);
    return (HBRUSH)::GetStockObject(HOLLOW_BRUSH);
}

INT_PTR CStaticLink::OpenTarget(const CString& target)
{
    return (INT_PTR)::ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

void CStaticLink::OnLButtonDown(UINT, CPoint)
{
    if (m_target.IsEmpty())
        GetWindowText(m_target);
    if (m_target.IsEmpty())
        return;
    if (OpenTarget(m_target) <= 32) {
        ::MessageBeep(0);
        return;
    }
    m_colour = kVisited;
    Invalidate();
}

BOOL CStaticLink::OnSetCursor(CWnd*, UINT, UINT)
{
    HCURSOR hand = HandCursor();
    if (!hand)
        return FALSE;
    ::SetCursor(hand);
    return TRUE;
}

void CStaticLink::PostNcDestroy()
{
    CStatic::PostNcDestroy();
    if (m_deleteOnDestroy)
        delete this;
}
