// CButtonWindow: a picture button of the button bar. Its face is a vector document with the
// layers "background", "off", "over", "on" and "disabled", shown in a child CPromptWnd. The
// background is rendered once and kept as a snapshot; each state layer is rendered alone into
// a layer cache; a state change composes background and state without rendering again.
#pragma once

#include "app/ButtonDef.h"
#include "app/PromptWnd.h"
#include "framework/win/Static.h"

class CButtonWindow : public CStatic {
    DECLARE_DYNAMIC(CButtonWindow)
public:
    enum { kStateOff = 0, kStateOn = 1, kStateOver = 2, kStateDisabled = 3 };

    explicit CButtonWindow(const CButtonDef& definition);
    ~CButtonWindow() override;

    // A child button over the given rectangle of the parent's client area.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

    virtual void Select();
    virtual void Deselect();
    virtual void TrackHover(int x, int y);
    virtual void Press(int x, int y);
    virtual BOOL IsSelected() const { return m_state == kStateOn; }
    BOOL PreTranslateMessage(MSG* msg) override;

    void SetDisabled(int disabled);
    int GetState() const { return m_state; }
    CPromptWnd* GetFaceWindow() const { return m_face; }
    // Renders the background snapshot and the caches of one state (-1: all four states).
    void PreRenderStates(int state);
    int ComposeState(int state);
    static const char* LayerForState(int state);

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg LRESULT OnFaceRenderDue(WPARAM wParam, LPARAM lParam);

    CPromptWnd* m_face;
    CButtonDef m_definition;
    int m_state;
    POINT m_lastPoint;
    int m_faceWidth;
    int m_faceHeight;
    RECT m_rect;  // in the parent's client coordinates, as of the last size change

protected:
    void ShowState(int state);
    bool ContainsScreenPoint(int x, int y) const;
    DECLARE_MESSAGE_MAP()
};
