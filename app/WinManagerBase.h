// CWinManagerBase: runs one page of the main window: its prompt window at the top, the view
// (the current graphic's preview) and its docked panel below. The base lays the three out,
// shows and hides them and supplies the default reaction to panel messages and page commands;
// the top-level, start page, main window and page managers derive from it and form a tree.
#pragma once

#include "framework/core/Afx.h"
#include "framework/core/WinTypes.h"

class CPanelMessage;
class CWnd;
class CSplashDlg;
class CompactRendererInt;
class CAppBackground;
class CWidgetsApp;
class VyButtonWindow;
class CUIServices;

// Page commands are compared case-sensitively on their leading or trailing words.
bool CommandStartsWith(const CString& command, const char* word);
bool CommandEndsWith(const CString& command, const char* word);

// Scope guards around long operations: the wait or the application-starting cursor with mouse
// capture while they live (when the main dialog has its UI services), released at the end.
class CWaitCursorGuard : public CObject {
public:
    explicit CWaitCursorGuard(bool enable = true);
    ~CWaitCursorGuard() override;

protected:
    CWaitCursorGuard(bool enable, int cursorId);
    CUIServices* m_services;
};

class CAppStartingCursorGuard : public CWaitCursorGuard {
public:
    explicit CAppStartingCursorGuard(bool enable = true) : CWaitCursorGuard(enable, 2) {}
};

class CWinManagerBase : public CObject {
public:
    CWinManagerBase();
    ~CWinManagerBase() override;

    virtual void MakeCurrent();
    virtual bool NeedsLeaveNotify() { return false; }
    virtual int GetType() const { return 0; }
    virtual int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel);
    virtual void Activate(int page);
    virtual void Deactivate();
    virtual void Relayout();
    virtual CWnd* GetViewWindow();
    virtual int HandleMessage(CPanelMessage* message);
    virtual int HandleCommand(const CString& command);
    virtual void RenderWindows(int showView, int prompt, int view, int background, int panel);
    virtual void Refresh(int prompt, int view, int background, int panel);
    // Renders one window of the page again and draws it (a renderer window or the preview).
    virtual void RenderWindow(CWnd* window);
    virtual bool IsTitleQuery() { return false; }  // asked by the main dialog's title; false everywhere
    virtual void PlaceDialog(RECT* area, int redraw, int moveFirst);
    virtual void RefreshBackground();
    virtual void PaintBackground();
    virtual int HitTestUpperRight(POINT* screen);
    virtual void ShowHelp();
    virtual void SetHelpCursor();
    virtual int HitTestLowerRight(POINT* screen);
    virtual void CheckForUpdates();
    virtual void SetUpdateCursor();
    virtual int HitTestStyleButton(RECT* panelArea, POINT* client);
    virtual void SetStyleCursor();
    virtual void SetButtonCursor();
    virtual bool HasRevertButton() { return true; }
    virtual bool HasStyleButton() { return true; }
    // Used by the main dialog: the start page after start-up, the tooltip after a resize.
    virtual void ActivateStartPage() {}
    virtual void UpdateTooltipRect() {}

    // The three areas in the main dialog's client coordinates; any pointer may be null.
    void GetRects(RECT* prompt, RECT* panel, RECT* view);
    // The layout rules on a given client rectangle, without windows.
    static void ComputeRects(const RECT& client, double left, double prompt, double panel, bool haveView,
                             RECT* promptRect, RECT* panelRect, RECT* viewRect);
    void NotifyActivate(int active);
    static CAppBackground* GetBackgroundWindow();
    static int GetLiveCount();
    static UINT GetNotifyActivateMessage();

    // The application object when it is this program's (null under a plain test application).
    static CWidgetsApp* Application();
    // Page commands go to the application (CWidgetsApp::SendCommand), or to a sink when set.
    static void SendAppCommand(const CString& command);
    static void SetCommandSink(void (*sink)(const CString& command));
    // The application's current manager and the button bar shown last.
    static CWinManagerBase* CurrentManager();
    static void SetCurrentManager(CWinManagerBase* manager);
    static VyButtonWindow* CurrentButtonBar();
    static void SetCurrentButtonBar(VyButtonWindow* bar);

    BOOL IsActive() const { return m_active; }
    CWinManagerBase* GetOwner() const { return m_owner; }
    CWnd* GetParent() const { return m_parent; }
    CompactRendererInt* GetPrompt() const { return m_prompt; }
    CWnd* GetPanel() const { return m_panel; }

    int m_releaseRendererOnHide;
    int m_helpContext;
    int m_secondHelpContext;
    int m_suppressNextHelp;
    int m_active;
    CWinManagerBase* m_owner;
    CWnd* m_parent;
    CompactRendererInt* m_prompt;
    CWnd* m_panel;
    double m_leftProportion;
    double m_promptProportion;
    double m_panelProportion;
    int m_panelWidth;
    int m_panelHeight;
    int m_backgroundAllowed;

protected:
    void DestroyWindows();
    bool IsMainDialogUsable() const;
};
