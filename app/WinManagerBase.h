// The interface of the window managers that pair prompt pages with editor panels. The main
// dialog hands them panel messages and page commands; managers answer 1 when they acted.
#pragma once

#include "framework/core/Afx.h"

class CPanelMessage;
class CWnd;
class CSplashDlg;

class CWinManagerBase : public CObject {
public:
    ~CWinManagerBase() override = default;

    virtual BOOL Create(CWnd* parent, CWnd* owner, CSplashDlg* splash) = 0;
    virtual int HandleMessage(CPanelMessage* message) = 0;
    virtual int HandleCommand(const CString& command) = 0;
    // 0: the top-level, start page and main window managers; 2: the home page.
    virtual int GetType() const = 0;
    virtual void Refresh(int prompt, int view, int background, int panel) = 0;
    // Moves the tooltip onto the view window after a resize.
    virtual void UpdateTooltipRect() {}
    // Makes the start page current.
    virtual void ActivateStartPage() {}
};
