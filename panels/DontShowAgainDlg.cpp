#include "panels/DontShowAgainDlg.h"

#include "framework/win/DataExchange.h"
#include "panels/PanelsResource.h"

namespace {

const char kProductName[] = "Quor Bar Wright";

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDontShowAgainDlg, CDialog)
    ON_BN_CLICKED(IDC_DONT_SHOW_AGAIN, OnDontShowAgain)
END_MESSAGE_MAP()

CDontShowAgainDlg::CDontShowAgainDlg(int kind, CWnd* parent)
    : CDialog(IDD_DONT_SHOW_AGAIN, parent), m_dontShowAgain(0), m_kind(kind)
{
}

void CDontShowAgainDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_DONT_SHOW_SECOND_LINE, m_secondLine);
    DDX_Control(dx, IDC_DONT_SHOW_FIRST_LINE, m_firstLine);
    DDX_Check(dx, IDC_DONT_SHOW_AGAIN, m_dontShowAgain);
}

BOOL CDontShowAgainDlg::OnInitDialog()
{
    if (!CDialog::OnInitDialog())
        return FALSE;
    CString first;
    bool secondShown = false;
    switch (m_kind) {
    case 0:
        first.Format(LoadText(IDS_AUTOSAVED_NOTE), kProductName, kProductName);
        break;
    case 1:
        SetWindowText(LoadText(IDS_APPLY_CHANGES_CAPTION));
        first = LoadText(IDS_APPLY_CHANGES_NOTE);
        break;
    case 2:
    case 3:
        SetWindowText(LoadText(IDS_MENU_FEATURE_CAPTION));
        first = LoadText(IDS_MENU_FEATURE_NOTE);
        if (m_kind == 3) {
            m_secondLine.SetWindowText(LoadText(IDS_MENU_FEATURE_BROWSER));
            secondShown = true;
        }
        break;
    default:
        break;
    }
    m_firstLine.SetWindowText(first);
    m_firstLine.ShowWindow(SW_SHOW);
    m_secondLine.ShowWindow(secondShown ? SW_SHOW : SW_HIDE);
    return TRUE;
}

void CDontShowAgainDlg::OnDontShowAgain() { m_dontShowAgain = 1; }
