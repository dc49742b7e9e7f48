// CStartPageManager: the start pages (home, about and import) with their own button bar.
// Button presses and shortcuts become page switches or page commands for the editing pages.
#pragma once

#include "app/WinManagerBase.h"

class VyButtonWindow;
class CHomePageManager;

class CStartPageManager : public CWinManagerBase {
public:
    CStartPageManager();
    ~CStartPageManager() override;

    int Create(CWnd* parent, CWinManagerBase* owner, CSplashDlg* progress);
    void Activate(int pageId) override;
    void Deactivate() override;
    CWnd* GetViewWindow() override { return nullptr; }
    int HandleMessage(CPanelMessage* message) override;
    int HandleCommand(const CString& command) override;
    virtual void SelectPane(int pageId);

    VyButtonWindow* GetButtonBar() const { return m_buttonBar; }
    CHomePageManager* GetHomePage() const { return m_homePage; }
    CWinManagerBase* GetAboutPane() const { return m_aboutPane; }
    CWinManagerBase* GetImportPage() const { return m_importPage; }
    // Whether the import page was asked for photos.
    int m_importPhotos;

protected:
    // The start bar's panes, top to bottom.
    static const int kStartPanes[11];
    VyButtonWindow* m_buttonBar;
    CHomePageManager* m_homePage;
    CWinManagerBase* m_aboutPane;
    CWinManagerBase* m_importPage;

private:
    using CWinManagerBase::Create;
    void PlaceBar();
    CWinManagerBase* FirstActiveChild() const;
};
