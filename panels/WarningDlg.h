// CWarningDlg: a Yes/No warning with a "Don't show me this message again." box. Without a text
// of its own it is the warning before leaving a photo with unsaved edits; that one remembers a
// ticked box in the registry and answers Yes without showing from then on.
#pragma once

#include "framework/win/Dialog.h"

class CWarningDlg : public CDialog {
public:
    static const char kPhotoLossValue[];

    // Null: the photo warning.
    explicit CWarningDlg(const char* text = nullptr, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    const CString& GetText() const { return m_text; }
    const CString& GetValueName() const { return m_valueName; }

protected:
    afx_msg void OnYes();
    afx_msg void OnNo();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int m_dontShowAgain;
    CString m_text;
    const char* m_givenText;
    CString m_valueName;
};
