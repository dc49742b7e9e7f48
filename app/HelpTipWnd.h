// Context help: the help text of a control of the main window ("What's This?") shown in a small
// tip window at the mouse. The main dialog owns one tip window for its life.
#pragma once

#include "framework/win/Afxwin.h"

// The string-table id of a control's help text; 0 when the control has none.
UINT GetHelpContext(int controlId);

class CHelpTipWnd : public CWnd {
public:
    CHelpTipWnd();
    ~CHelpTipWnd() override;

    // Makes the hidden tip window (a bordered tool pop-up); false when it cannot be made.
    BOOL Create();
    // Shows text wrapped to the tip's width below and right of a screen point.
    void ShowTip(const CString& text, int x, int y);

    const CString& GetText() const { return m_text; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnMouseMove(UINT flags, CPoint point) {}
    DECLARE_MESSAGE_MAP()

private:
    CString m_text;
    POINT m_point;
    RECT m_textRect;
};
