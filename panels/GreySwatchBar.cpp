#include "panels/GreySwatchBar.h"

#include "panels/OffscreenPaint.h"

namespace {

const char kSwatchBarClass[] = "BwGreySwatchBar";

bool RegisterSwatchBarClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(windowClass.hInstance, MAKEINTRESOURCEA(CGreySwatchBar::kCursorResource));
    if (!windowClass.hCursor)
        windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = (HBRUSH)::GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = kSwatchBarClass;
    return ::RegisterClassA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    const RECT rect = {left, top, right, bottom};
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
}

// A frame of the given width along the inside of the rectangle, as four filled bands.
void Frame(HDC dc, const RECT& r, int width, COLORREF colour)
{
    Fill(dc, r.left, r.top, r.right, r.top + width, colour);
    Fill(dc, r.left, r.bottom - width, r.right, r.bottom, colour);
    Fill(dc, r.left, r.top, r.left + width, r.bottom, colour);
    Fill(dc, r.right - width, r.top, r.right, r.bottom, colour);
}

}  // namespace

BEGIN_MESSAGE_MAP(CGreySwatchBar, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CGreySwatchBar::CGreySwatchBar() : m_count(kSwatchCount), m_cursor(0), m_cursorShown(0)
{
    static const COLORREF greys[kSwatchCount] = {0x000000, 0x333333, 0x666666, 0x999999, 0xCCCCCC, 0xFFFFFF};
    for (int i = 0; i < kSwatchCount; ++i) {
        m_colours[i] = greys[i];
        const int left = kSwatchStep * i + 1;
        m_swatches[i] = RECT{left, 1, left + 11, 12};
    }
}

BOOL CGreySwatchBar::Create(int x, int y, CWnd* parent, UINT id)
{
    if (!RegisterSwatchBarClass())
        return FALSE;
    return CreateEx(WS_EX_CLIENTEDGE, kSwatchBarClass, "", WS_CHILD | WS_VISIBLE, x, y,
                    kSwatchCount * kSwatchStep + 5, 17, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id);
}

int CGreySwatchBar::HitTest(int x, int y) const
{
    int hit = -1;
    const POINT point = {x, y};
    for (int i = 0; i < m_count; ++i)
        if (::PtInRect(&m_swatches[i], point))
            hit = i;
    return hit;
}

COLORREF CGreySwatchBar::GetColour(int index) const
{
    return index >= 0 && index < m_count ? m_colours[index] : 0;
}

int CGreySwatchBar::SetCursorShown(int shown)
{
    const int previous = m_cursorShown;
    m_cursorShown = shown;
    if (!shown)
        m_cursor = 0;
    if (previous != shown && m_hWnd)
        Invalidate(FALSE);
    return previous;
}

void CGreySwatchBar::MoveCursor(int directions)
{
    if ((directions & 1) && m_cursor < m_count - 1)
        ++m_cursor;
    if ((directions & 2) && m_cursor > 0)
        --m_cursor;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CGreySwatchBar::OnPaint()
{
    COffscreenPaint paint(m_hWnd);
    HDC dc = paint.GetDC();
    const RECT& client = paint.GetClient();

    Fill(dc, client.left, client.top, client.right, client.bottom, RGB(255, 255, 255));
    for (int i = 0; i < m_count; ++i) {
        const RECT& r = m_swatches[i];
        Fill(dc, r.left, r.top, r.right, r.bottom, m_colours[i]);
    }
    if (m_cursorShown) {
        Frame(dc, client, 1, RGB(200, 200, 200));
        RECT around = m_swatches[m_cursor];
        ::InflateRect(&around, 1, 1);
        Frame(dc, around, 2, RGB(0, 0, 0));
        ::InflateRect(&around, -2, -2);
        Frame(dc, around, 1, RGB(255, 255, 255));
    }
}

void CGreySwatchBar::OnLButtonUp(UINT, CPoint point)
{
    const int hit = HitTest(point.x, point.y);
    if (hit >= 0)
        if (CSwatchColourOwner* owner = dynamic_cast<CSwatchColourOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))))
            owner->ApplyColour(m_colours[hit], 1);
    Default();
}
