// Timer ids, mouse capture with a chosen cursor, and a few system colours, for every window
// of the program. Owned by the main dialog.
#pragma once

#include "framework/win/Afxwin.h"

#include <map>
#include <set>

class CUIServices : public CObject {
    DECLARE_DYNAMIC(CUIServices)
public:
    CUIServices();
    ~CUIServices() override;

    // A timer on the window with the lowest id (1 to 255) the window does not hold yet, so
    // a window's second timer never replaces its first. 0 (with an internal error) when
    // none can be set.
    UINT AllocTimer(CWnd* window, UINT elapse);
    UINT AllocTimer(HWND window, UINT elapse);
    void FreeTimer(CWnd* window, UINT id);
    void FreeTimer(HWND window, UINT id);

    // Captures the mouse for the window (default: the main window) and shows the cursor:
    // 1 the wait cursor, 2 the application-starting cursor, else the program's cursor
    // resource with that id. Answers the cursor shown before.
    HCURSOR SetCaptureCursor(int cursorId, CWnd* window = nullptr);
    // Ends the capture and shows the arrow; with keepWait set a wait cursor stays up.
    BOOL ReleaseCaptureCursor(int keepWait);
    void BeginWaitCursor(CWnd* window = nullptr);

    COLORREF GetWindowTextColour() const { return ::GetSysColor(COLOR_WINDOWTEXT); }
    COLORREF GetHighlightTextColour() const { return ::GetSysColor(COLOR_HIGHLIGHTTEXT); }
    COLORREF GetInactiveCaptionColour() const { return ::GetSysColor(COLOR_INACTIVECAPTION); }
    COLORREF GetWindowColour() const { return ::GetSysColor(COLOR_WINDOW); }
    COLORREF GetHighlightColour() const { return ::GetSysColor(COLOR_HIGHLIGHT); }
    COLORREF GetInactiveCaptionTextColour() const { return ::GetSysColor(COLOR_INACTIVECAPTIONTEXT); }

    unsigned int m_waitRequested;
    unsigned int m_captured;
    HCURSOR m_previousCursor;
    int m_cursorId;
    HCURSOR m_waitCursor;
    HCURSOR m_arrowCursor;
    HCURSOR m_appStartingCursor;
    int m_holdCapture;  // while set, a capture during a capture and wait requests are ignored

private:
    std::map<HWND, std::set<UINT>> m_timers;
};
