// CDialog: a dialog made from a template in the program's resources, modal (DoModal) or
// modeless (Create). The dialog window is attached to the object as it is created, so
// WM_INITDIALOG reaches OnInitDialog through the message map machinery; IDOK and IDCANCEL
// fall back to OnOK and OnCancel when the map does not name them.
#pragma once

#include "framework/win/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    // Moves data between the controls and the members; FALSE when a value failed validation.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDHelp;

protected:
    UINT m_templateId;
    CWnd* m_parent;
    BOOL m_modal;
};
