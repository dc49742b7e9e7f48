#include "framework/win/DC.h"

#include "framework/win/Wnd.h"

#include <map>

namespace {
std::map<HDC, CDC*>& TemporaryMap()
{
    static std::map<HDC, CDC*> map;
    return map;
}
}  // namespace

CDC::~CDC()
{
    if (m_hDC && !m_temporary)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hdc)
{
    if (!hdc)
        return nullptr;
    CDC*& temp = TemporaryMap()[hdc];
    if (!temp) {
        temp = new CDC;
        temp->m_hDC = hdc;
        temp->m_temporary = TRUE;
    }
    return temp;
}

void CDC::DeleteTempHandle(HDC hdc)
{
    auto it = TemporaryMap().find(hdc);
    if (it == TemporaryMap().end())
        return;
    CDC* temp = it->second;
    TemporaryMap().erase(it);
    temp->m_hDC = nullptr;
    delete temp;
}

void CDC::DeleteTempMap()
{
    std::map<HDC, CDC*> temps;
    temps.swap(TemporaryMap());
    for (auto& entry : temps) {
        entry.second->m_hDC = nullptr;
        delete entry.second;
    }
}

BOOL CDC::Attach(HDC hdc)
{
    if (m_hDC || !hdc)
        return FALSE;
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    return hdc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC || m_temporary)
        return FALSE;
    return ::DeleteDC(Detach());
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (!object)
        return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT previous = {0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF colour)
{
    const COLORREF old = ::SetBkColor(m_hDC, colour);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, length, &size);
    return CSize(size.cx, size.cy);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->GetSafeHwnd())
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    HDC hdc = Detach();
    if (hdc)
        ::ReleaseDC(m_hWnd, hdc);
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr)
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    HDC hdc = Detach();
    if (hdc)
        ::ReleaseDC(m_hWnd, hdc);
}
