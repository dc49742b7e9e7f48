// CDeleteWarningDlg: asks before a gallery deletes one of the user's own files or a project
// folder. The caller reads IsCancelled, not the dialog's result.
#pragma once

#include "framework/win/Dialog.h"

class CDeleteWarningDlg : public CDialog {
public:
    enum { kEditFile = 0, kProjectFolder = 1 };
    // Help contexts of the two kinds.
    enum { kEditFileHelp = 205, kProjectFolderHelp = 206 };

    explicit CDeleteWarningDlg(int kind, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    bool IsCancelled() const { return m_cancelled != 0; }

protected:
    afx_msg void OnDelete();
    afx_msg void OnCancelButton();
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    int m_cancelled;
    BYTE m_kind;
};
