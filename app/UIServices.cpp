#include "app/UIServices.h"

#include "app/Errors.h"

IMPLEMENT_DYNAMIC(CUIServices, CObject)

namespace {
const UINT kLastTimerId = 255;
}

CUIServices::CUIServices()
    : m_waitRequested(0), m_captured(0), m_previousCursor(nullptr), m_cursorId(0),
      m_waitCursor(::LoadCursorA(nullptr, IDC_WAIT)), m_arrowCursor(::LoadCursorA(nullptr, IDC_ARROW)),
      m_appStartingCursor(::LoadCursorA(nullptr, IDC_APPSTARTING)), m_holdCapture(0)
{
}

CUIServices::~CUIServices() = default;

UINT CUIServices::AllocTimer(CWnd* window, UINT elapse)
{
    return AllocTimer(window ? window->GetSafeHwnd() : nullptr, elapse);
}

UINT CUIServices::AllocTimer(HWND window, UINT elapse)
{
    // Forget the timers of windows that are gone: their handles may be reused.
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (!::IsWindow(it->first))
            it = m_timers.erase(it);
        else
            ++it;
    }
    std::set<UINT>& held = m_timers[window];
    for (int pass = 0; pass < 2; ++pass) {
        for (UINT id = 1; id <= kLastTimerId; ++id) {
            if (held.count(id))
                continue;
            if (::SetTimer(window, id, elapse, nullptr)) {
                held.insert(id);
                return id;
            }
        }
    }
    if (held.empty())
        m_timers.erase(window);
    BW_INTERNAL_ERROR("UIServices.cpp");
    return 0;
}

void CUIServices::FreeTimer(CWnd* window, UINT id)
{
    FreeTimer(window ? window->GetSafeHwnd() : nullptr, id);
}

void CUIServices::FreeTimer(HWND window, UINT id)
{
    if (!id)
        return;
    ::KillTimer(window, id);
    auto it = m_timers.find(window);
    if (it != m_timers.end()) {
        it->second.erase(id);
        if (it->second.empty())
            m_timers.erase(it);
    }
}

HCURSOR CUIServices::SetCaptureCursor(int cursorId, CWnd* window)
{
    HCURSOR previous = ::GetCursor();
    if (m_holdCapture && m_captured)
        return previous;
    m_waitRequested = 0;
    m_captured = 1;
    m_cursorId = cursorId;
    m_previousCursor = previous;
    CWnd* main = AfxGetMainWnd();
    HWND target = window ? window->GetSafeHwnd() : main ? main->GetSafeHwnd() : nullptr;
    if (target)
        ::SetCapture(target);
    HCURSOR cursor;
    if (cursorId == 1)
        cursor = m_waitCursor;
    else if (cursorId == 2)
        cursor = m_appStartingCursor;
    else
        cursor = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(cursorId));
    // A cursor the program does not carry would leave no pointer at all: show the arrow.
    if (!cursor)
        cursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    ::SetCursor(cursor);
    return previous;
}

BOOL CUIServices::ReleaseCaptureCursor(int keepWait)
{
    if (keepWait && m_waitRequested)
        return 0;
    m_captured = 0;
    m_cursorId = 0;
    ::SetCursor(m_arrowCursor);
    const BOOL released = ::ReleaseCapture();
    m_waitRequested = 0;
    return released;
}

void CUIServices::BeginWaitCursor(CWnd* window)
{
    if (m_holdCapture)
        return;
    SetCaptureCursor(1, window);
    m_waitRequested = 1;
}
