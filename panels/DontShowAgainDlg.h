// CDontShowAgainDlg: one of a few fixed notes with a "Don't show me this message again." box;
// the caller keeps the answer (GetDontShowAgain after the dialog).
#pragma once

#include "framework/win/Dialog.h"

class CDontShowAgainDlg : public CDialog {
public:
    // 0 the graphic was saved automatically, 1 applying changes to several graphics, 2 and 3
    // the menus' browser note (3 with its second line).
    CDontShowAgainDlg(int kind, CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    int GetDontShowAgain() const { return m_dontShowAgain; }

protected:
    afx_msg void OnDontShowAgain();
    DECLARE_MESSAGE_MAP()

private:
    CWnd m_secondLine;
    CWnd m_firstLine;
    int m_dontShowAgain;
    int m_kind;
};
