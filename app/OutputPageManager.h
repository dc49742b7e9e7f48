// COutputPageManager: the output page: the save prompt over the output panel. Coming back to
// it from a save page reuses the panel's last temporary export instead of exporting again; the
// Projects group is hidden while a photo is edited; leaving it puts the usual prompt back (after
// a save it shows the saved prompt).
#pragma once

#include "app/PromptPageManager.h"

class COutputDlg;

class COutputPageManager : public CPromptPageManager {
public:
    COutputPageManager();

    int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel) override;
    void MakeCurrent() override;
    void Deactivate() override;
    // Asked to re-render (window non-null), the preview shows the panel's last temporary export.
    void RenderWindow(CWnd* window) override;
    COutputDlg* GetOutputPanel() const;
};
