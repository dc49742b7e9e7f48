// The top-level window manager as it stands until the page managers exist: it takes every
// panel message and command, acts on none, and keeps the main dialog's client area painted.
#pragma once

#include "app/WinManagerBase.h"

class CTopLevelManager : public CWinManagerBase {
public:
    CTopLevelManager();
    ~CTopLevelManager() override;

    BOOL Create(CWnd* parent, CWnd* owner, CSplashDlg* splash) override;
    int HandleMessage(CPanelMessage* message) override;
    int HandleCommand(const CString& command) override;
    int GetType() const override { return 0; }
    void Refresh(int prompt, int view, int background, int panel) override;

    // The kind of the last message and the last command received: what a page would see.
    int GetLastKind() const { return m_lastKind; }
    const CString& GetLastCommand() const { return m_lastCommand; }

private:
    CWnd* m_parent;
    int m_lastKind;
    CString m_lastCommand;
};
