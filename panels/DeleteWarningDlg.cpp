#include "panels/DeleteWarningDlg.h"

#include "panels/PanelServices.h"
#include "panels/PanelsResource.h"

BEGIN_MESSAGE_MAP(CDeleteWarningDlg, CDialog)
    ON_BN_CLICKED(IDC_DELETE_WARNING_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_DELETE_WARNING_CANCEL, OnCancelButton)
    ON_BN_CLICKED(IDC_DELETE_WARNING_HELP, OnHelp)
END_MESSAGE_MAP()

CDeleteWarningDlg::CDeleteWarningDlg(int kind, CWnd* parent)
    : CDialog(IDD_DELETE_WARNING, parent), m_cancelled(1), m_kind(static_cast<BYTE>(kind))
{
}

BOOL CDeleteWarningDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const bool editFile = m_kind == kEditFile;
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_DELETE_WARNING_EDIT_FILE), editFile ? SW_SHOW : SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_DELETE_WARNING_PROJECT), editFile ? SW_HIDE : SW_SHOW);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_DELETE_WARNING_CANCEL));
    // The focus set here stays: deleting must never be the default answer.
    return FALSE;
}

void CDeleteWarningDlg::OnDelete()
{
    m_cancelled = 0;
    EndDialog(IDCANCEL);
}

void CDeleteWarningDlg::OnCancelButton() { OnCancel(); }

void CDeleteWarningDlg::OnCancel()
{
    m_cancelled = 1;
    EndDialog(IDCANCEL);
}

void CDeleteWarningDlg::OnHelp()
{
    GetPanelServices().ShowHelp(m_kind == kEditFile ? kEditFileHelp : kProjectFolderHelp);
}

BOOL CDeleteWarningDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1) {
        OnHelp();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}
