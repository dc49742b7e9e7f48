// CStaticGallery: a fixed picture gallery: a vector page whose named objects act as buttons,
// hosted in a page manager's panel area. The page's "background" layer stays on screen; while
// the mouse rests on a navigation-bar object the "navbars" layer lights up over it; a click on
// an object sends the object's name as a page command.
//
// Object names: a name starting with "b" or "B", or with "r", only changes the cursor; every
// other named object is a command object, and one whose name contains "navbars" after its
// first character lights up the "navbars" layer.
#pragma once

#include "framework/win/Afxwin.h"
#include "framework/win/Static.h"

class CGalleryView;

class CStaticGallery : public CStatic {
    DECLARE_DYNAMIC(CStaticGallery)
public:
    // Cursor resources of the application.
    enum { kHandCursor = 136, kButtonCursor = 169, kRolloverCursor = 177 };
    enum { kFirstHoverTimer = 50, kDefaultHoverDelay = 300, kNameLength = 100 };

    explicit CStaticGallery(const CString& pageName);
    ~CStaticGallery() override;

    // A child control of the parent over rect; -1 from creation leaves it without a window.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id, DWORD style = 0);

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg LRESULT OnRendererRedraw(WPARAM wParam, LPARAM lParam);
    BOOL PreTranslateMessage(MSG* msg) override;
    // The static control draws nothing of its own.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}

    // Called by the host page on mouse moves (screen point); true while an object is under it.
    bool TrackHover(POINT screen);
    // Clicks handed on by the host page (point in the control's client coordinates).
    void ForwardLButtonDown(UINT flags, POINT point);
    void ForwardRButtonDown(UINT flags, POINT point);
    // Renders the page (onto the screen when flag is 0) and lets go of the renderer.
    void SetRendererState(int flag);
    void Redraw();

    CGalleryView* GetView() const { return m_view; }
    const CString& GetHoveredName() const { return m_hoveredName; }
    bool IsCreated() const { return m_created != 0; }

    CString m_pageName;
    CString m_folderPrefix;
    int m_created;
    int m_visible;
    int m_templateType;
    int m_hoverActive;
    int m_hoverAllowed;
    DWORD m_hoverDelay;
    UINT_PTR m_hoverTimer;
    CString m_hoveredName;
    int m_backgroundShown;
    int m_highlightShown;

protected:
    void ShowHighlight(const CString& name);
    void ShowObject(const CString& name);
    void SetHover(const CString& name);
    void StartHoverTimer();
    void ForwardButton(bool right, UINT flags, POINT point);
    // The object under a screen point; empty when there is none.
    CString ObjectAt(POINT screen);
    // Repaints the control from the view's buffer.
    void Repaint();
    DECLARE_MESSAGE_MAP()

private:
    CGalleryView* m_view;
};
