// CAngleDial: a round owner-drawn knob with a pointer that sets an angle by mouse or arrow keys.
// It tells its parent through WM_COMMAND with its id and one of the codes below.
#pragma once

#include "framework/win/Wnd.h"
#include "panels/DialGeometry.h"

class CAngleDial : public CWnd {
public:
    enum { kChanged = 10, kReleased = 20, kLostFocus = 30, kKeyStep = 40 };

    CAngleDial();

    // A visible child at the rectangle (in the parent's client coordinates).
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    void SetMirror(BOOL horizontal, BOOL vertical);
    int GetDegrees() const { return DialDegrees(m_angle); }
    void SetDegrees(int degrees, int argument);
    double GetAngle() const { return m_angle; }
    void SetAngle(double radians, int argument);
    // The argument kept from the last change.
    int GetArgument() const { return m_argument; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnKillFocus(CWnd* newWnd);
    afx_msg void OnEnable(BOOL enable);
    DECLARE_MESSAGE_MAP()

private:
    void Notify(int code);
    void AnnounceChange(int argument);
    void TakeAngleFromPoint(CPoint point);

    DialFrame m_frame;
    int m_focused;
    COLORREF m_face;
    COLORREF m_highlight;
    COLORREF m_shadow;
    COLORREF m_disabledPointer;
    int m_dragging;
    double m_angle;
    int m_pointerDistance;
    int m_argument;
};
