#include "panels/AngleDial.h"

#include "panels/OffscreenPaint.h"

namespace {

const char kDialClass[] = "BwAngleDial";

void FillEllipse(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    // Without an outline GDI leaves the right and bottom edge out; one more pixel covers them.
    ::Ellipse(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(brush);
}

RECT Offset(RECT rect, int dx, int dy)
{
    ::OffsetRect(&rect, dx, dy);
    return rect;
}

}  // namespace

BEGIN_MESSAGE_MAP(CAngleDial, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_ENABLE()
END_MESSAGE_MAP()

CAngleDial::CAngleDial()
    : m_focused(0), m_face(::GetSysColor(COLOR_BTNFACE)), m_highlight(::GetSysColor(COLOR_BTNHIGHLIGHT)),
      m_shadow(::GetSysColor(COLOR_BTNSHADOW)), m_disabledPointer(::GetSysColor(COLOR_BTNSHADOW)), m_dragging(0),
      m_angle(0.0), m_pointerDistance(6), m_argument(0)
{
}

BOOL CAngleDial::Create(const RECT& rect, CWnd* parent, UINT id)
{
    if (!RegisterPlainWindowClass(kDialClass))
        return FALSE;
    return CreateEx(0, kDialClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id);
}

void CAngleDial::SetMirror(BOOL horizontal, BOOL vertical)
{
    m_frame.mirrorX = horizontal != 0;
    m_frame.mirrorY = vertical != 0;
}

void CAngleDial::SetDegrees(int degrees, int argument)
{
    m_angle = DialAngleFromDegrees(degrees);
    AnnounceChange(argument);
}

void CAngleDial::SetAngle(double radians, int argument)
{
    m_angle = radians;
    AnnounceChange(argument);
}

void CAngleDial::Notify(int code)
{
    if (!m_hWnd)
        return;
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), (LPARAM)m_hWnd);
}

void CAngleDial::AnnounceChange(int argument)
{
    m_argument = argument;
    if (m_hWnd)
        Invalidate(FALSE);
    Notify(kChanged);
}

void CAngleDial::TakeAngleFromPoint(CPoint point)
{
    RECT client;
    GetClientRect(&client);
    const int centreX = (client.left + client.right) / 2;
    const int centreY = (client.top + client.bottom) / 2;
    m_angle = DialAngleFromPoint(m_frame, point.x - centreX, point.y - centreY);
}

void CAngleDial::OnPaint()
{
    COffscreenPaint paint(m_hWnd);
    HDC dc = paint.GetDC();
    const RECT& client = paint.GetClient();

    HBRUSH face = ::CreateSolidBrush(m_face);
    ::FillRect(dc, &client, face);
    ::DeleteObject(face);
    const RECT knob = {client.left + 4, client.top + 4, client.right - 3, client.bottom - 3};
    FillEllipse(dc, Offset(knob, -1, -1), m_highlight);
    FillEllipse(dc, Offset(knob, 1, 1), m_shadow);
    FillEllipse(dc, knob, m_face);

    double dx = 0, dy = 0;
    DialPointerOffset(m_frame, m_angle, m_pointerDistance, knob.right - knob.left, knob.bottom - knob.top, &dx, &dy);
    const int x = (knob.left + knob.right) / 2 + static_cast<int>(dx);
    const int y = (knob.top + knob.bottom) / 2 + static_cast<int>(dy);
    const COLORREF pointer = !::IsWindowEnabled(m_hWnd) ? m_disabledPointer : m_focused ? 0xFF0000 : 0x000000;
    FillEllipse(dc, RECT{x - 4, y - 4, x + 4, y + 4}, pointer);
}

void CAngleDial::OnLButtonDown(UINT, CPoint point)
{
    ::SetCapture(m_hWnd);
    m_dragging = 1;
    TakeAngleFromPoint(point);
    if (::GetFocus() == m_hWnd)
        m_argument = 0;
    else
        ::SetFocus(m_hWnd);
    Invalidate(FALSE);
    Notify(kChanged);
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
}

void CAngleDial::OnMouseMove(UINT, CPoint point)
{
    if (!m_dragging)
        return;
    TakeAngleFromPoint(point);
    AnnounceChange(0);
}

void CAngleDial::OnLButtonUp(UINT, CPoint)
{
    if (m_dragging) {
        m_dragging = 0;
        ::ReleaseCapture();
    }
    Notify(kReleased);
}

BOOL CAngleDial::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN)
        return CWnd::PreTranslateMessage(msg);
    switch (msg->wParam) {
    case VK_RETURN:
    case VK_SPACE:
        Notify(kReleased);
        return TRUE;
    case VK_LEFT:
    case VK_DOWN:
        Notify(kKeyStep);
        SetAngle(m_angle - kDialKeyStep, 0);
        return TRUE;
    case VK_UP:
    case VK_RIGHT:
        Notify(kKeyStep);
        SetAngle(m_angle + kDialKeyStep, 0);
        return TRUE;
    default:
        return CWnd::PreTranslateMessage(msg);
    }
}

void CAngleDial::OnSetFocus(CWnd*)
{
    m_focused = 1;
    Invalidate(FALSE);
}

void CAngleDial::OnKillFocus(CWnd*)
{
    m_focused = 0;
    Invalidate(FALSE);
    Notify(kLostFocus);
}

void CAngleDial::OnEnable(BOOL) { Invalidate(FALSE); }
