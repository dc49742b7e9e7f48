// CTopLevelManager: the root of the manager tree and the single entry for panel messages and
// page commands. It switches between the start pages and the editing pages and forwards what
// it does not handle itself.
#pragma once

#include "app/WinManagerBase.h"

class CStartPageManager;
class CMainWinManager;

class CTopLevelManager : public CWinManagerBase {
public:
    CTopLevelManager();
    ~CTopLevelManager() override;

    int Create(CWnd* parent, CWinManagerBase* owner, CSplashDlg* progress);
    void Deactivate() override { m_active = 0; }
    CWnd* GetViewWindow() override { return nullptr; }
    int HandleMessage(CPanelMessage* message) override;
    int HandleCommand(const CString& command) override;
    void Refresh(int prompt, int view, int background, int panel) override;
    void ActivateStartPage() override { ActivateChild(0); }
    void UpdateTooltipRect() override;

    void ActivateChild(int main);
    bool IsMainManagerActive() const;
    // Takes two made children (owned from now on), in place of Create's own.
    void AttachChildren(CStartPageManager* startPage, CMainWinManager* mainManager);
    CStartPageManager* GetStartPage() const { return m_startPage; }
    CMainWinManager* GetMainManager() const { return m_mainManager; }

    // The kind of the last message and the last command received.
    int GetLastKind() const { return m_lastKind; }
    const CString& GetLastCommand() const { return m_lastCommand; }

private:
    CStartPageManager* m_startPage;
    CMainWinManager* m_mainManager;
    int m_lastKind;
    CString m_lastCommand;
};
