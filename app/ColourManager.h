// CColourManager: the colour page, with a simple and an advanced colour editor; one of them is
// the page's panel at a time. The page registers itself as the application's colour page.
#pragma once

#include "app/PromptPageManager.h"

class CColourManager : public CPromptPageManager {
public:
    CColourManager();
    ~CColourManager() override;

    int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel) override;
    // Shows the page with the simple or the advanced editor as its panel.
    virtual void SelectEditor(bool simple);
    bool IsSimpleEditorShown() const { return m_simpleShown; }

    // The application's colour page, null when none exists.
    static CColourManager* GetColourPage();

private:
    CWnd* m_simpleEditor;
    CWnd* m_advancedEditor;
    bool m_simpleShown;
};
