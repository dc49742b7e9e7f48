// CSavePromptManager: the advanced save page: the save prompt over the export options panel.
#pragma once

#include "app/PromptPageManager.h"

class CExportGIFDlg;

class CSavePromptManager : public CPromptPageManager {
public:
    CSavePromptManager();
    ~CSavePromptManager() override;

    // The extra value is the factory's (11); the page does not use it.
    virtual int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel, int value);
    void MakeCurrent() override;
    // The save panel becomes the page's panel again.
    void ResetPanel();
    // Whether the page was made current right after another save page, so that the panel may
    // reuse that page's last temporary export once.
    bool FollowsSavePage() const { return m_followsSavePage; }

private:
    using CPromptPageManager::Create;
    CExportGIFDlg* m_savePanel;
    bool m_followsSavePage;
};
