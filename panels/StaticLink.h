// CStaticLink: a static text that acts as a hyperlink: blue and underlined, a hand cursor,
// and a click opens its target with the shell, after which it shows in the visited colour.
#pragma once

#include "framework/win/Static.h"

class CStaticLink : public CStatic {
public:
    enum : COLORREF { kUnvisited = RGB(0, 0, 255), kVisited = RGB(128, 0, 128) };

    // An empty target makes the window text the target.
    explicit CStaticLink(const CString& target = CString(), BOOL deleteOnDestroy = FALSE);
    ~CStaticLink() override;

    COLORREF GetTextColour() const { return m_colour; }
    const CString& GetTarget() const { return m_target; }

protected:
    // The shell's "open"; a result of 32 or less is a failure.
    virtual INT_PTR OpenTarget(const CString& target);

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg HBRUSH CtlColor(CDC* dc, UINT kind);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    CString m_target;
    COLORREF m_colour;
    HFONT m_font;
    BOOL m_deleteOnDestroy;
};
