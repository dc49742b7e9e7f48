#include "output/NewProjectDlg.h"

#include "util/AppUtilServices.h"
#include "panels/PanelServices.h"
#include "output/OutputPresets.h"
#include "output/OutputResource.h"

BEGIN_MESSAGE_MAP(CNewProjectDlg, CDialog)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CNewProjectDlg::CNewProjectDlg(CWnd* parent, CString* name) : CDialog(IDD_NEW_PROJECT, parent), m_name(name) {}

BOOL CNewProjectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_field.SubclassDlgItem(IDC_NEW_PROJECT_NAME, this);
    m_field.SetWindowText(m_name ? static_cast<const char*>(*m_name) : "");
    return TRUE;
}

void CNewProjectDlg::SelectName()
{
    if (!m_field.GetSafeHwnd())
        return;
    m_field.SetSel(0, -1);
    m_field.SetFocus();
}

void CNewProjectDlg::OnShowWindow(BOOL show, UINT)
{
    Default();
    if (show)
        SelectName();
}

void CNewProjectDlg::OnOK()
{
    CString typed, name;
    m_field.GetWindowText(typed);
    if (!CheckNewProjectName(typed, LoadAppString(IDS_OUTPUT_NEW_PROJECT_NAME, "(New Project Folder)"), name)) {
        GetPanelServices().ShowMessageBox(this, IDS_OUTPUT_INVALID_NAME, 0, MB_OK | MB_ICONSTOP);
        m_field.SetWindowText(m_name ? static_cast<const char*>(*m_name) : "");
        SelectName();
        return;
    }
    if (m_name)
        *m_name = name;
    EndDialog(IDOK);
}
