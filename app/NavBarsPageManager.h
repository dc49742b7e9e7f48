// CNavBarsPageManager: the navigation-bar page. Besides its panel it keeps a copy of the
// current navigation bar, taken whenever a page is shown, that "revive" puts back.
#pragma once

#include "app/PromptPageManager.h"

class CNavBar;

class CNavBarsPageManager : public CPromptPageManager {
public:
    CNavBarsPageManager();
    ~CNavBarsPageManager() override;

    int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel) override;
    void PlaceDialog(RECT* area, int redraw, int moveFirst) override { PlaceInset(area, redraw, 12, 12); }

    // Keeps the navigation-bar mode and, in that mode, a copy of the current bar.
    void KeepNavBar();
    // Puts the kept mode and, in that mode, the kept bar back.
    void RestoreNavBar();
    const CNavBar* GetKeptNavBar() const { return m_keptNavBar; }
    int GetKeptNavBarMode() const { return m_keptNavBarMode; }

private:
    CWnd* m_navBarPanel;
    CNavBar* m_keptNavBar;
    int m_keptNavBarMode;
};
