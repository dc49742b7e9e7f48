// CNewProjectDlg: asks for the name of a new project folder. The caller's name is shown at
// the start and replaced on OK by the typed name without its leading blanks; an empty name,
// the placeholder or a name with a character a folder name cannot hold is refused.
#pragma once

#include "framework/win/Afxwin.h"

class CNewProjectDlg : public CDialog {
public:
    CNewProjectDlg(CWnd* parent, CString* name);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override { EndDialog(IDCANCEL); }

protected:
    afx_msg void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()

private:
    void SelectName();

    CEdit m_field;
    CString* m_name;
};
