// CSavePage (window type 13) and CSaveNavBarPage (14): the save pages. The prompt save.web over
// the save dialog of a single graphic (CSaveAsDlg) or of a navigation bar (CSaveNavBarDlg). The
// output panel asks for them with a save request (kind 13) carrying the proposed path; leaving
// without saving sends a save-closed message (kind 14). A completed save sets the page's saved
// flag, which the page clears each time it is shown.
#pragma once

#include "app/PromptPageManager.h"
#include "output/SaveAsDlg.h"

class CSavePage : public CPromptPageManager, public CSaveOwner {
public:
    explicit CSavePage(int type = 13);
    ~CSavePage() override;

    bool HasRevertButton() override { return false; }
    bool HasStyleButton() override { return false; }
    void PlaceDialog(RECT* area, int redraw, int moveFirst) override;
    // Asked to re-render (window non-null), the preview shows the temporary export of the
    // current export type.
    void RenderWindow(CWnd* window) override;
    virtual CSaveAsDlg* CreateDialogObject();

    // Makes the prompt and the dialog (template 219 or 1841) with the proposed path; 0 on failure.
    int Init(const CString& initialPath, CWnd* parent, CWinManagerBase* owner);
    void SetFileName(const CString& path);
    void Show();
    void SetSaved(int saved) override { m_saved = saved; }
    int IsSaved() const { return m_saved; }
    CSaveAsDlg* GetDialog() const { return m_dialog; }

protected:
    CSaveAsDlg* m_dialog;
    int m_saved;
    int m_templateId;
};

class CSaveNavBarPage : public CSavePage {
public:
    CSaveNavBarPage();
    CSaveAsDlg* CreateDialogObject() override;
};

// Makes the save page of a window type (13 or 14); null when it cannot be made.
CSavePage* CreateSavePage(int type, const CString& initialPath, CWnd* parent, CWinManagerBase* owner);
