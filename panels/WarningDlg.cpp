#include "panels/WarningDlg.h"

#include "panels/PanelsResource.h"
#include "util/Registry.h"

const char CWarningDlg::kPhotoLossValue[] = "ShowPhotoOptionsLossWarning";

BEGIN_MESSAGE_MAP(CWarningDlg, CDialog)
    ON_BN_CLICKED(IDYES, OnYes)
    ON_BN_CLICKED(IDNO, OnNo)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CWarningDlg::CWarningDlg(const char* text, CWnd* parent)
    : CDialog(IDD_WARNING, parent), m_dontShowAgain(0), m_givenText(text)
{
}

BOOL CWarningDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_givenText) {
        m_text = m_givenText;
        m_valueName.Empty();
    } else {
        m_text.LoadString(IDS_PHOTO_LOSS_WARNING);
        m_valueName = kPhotoLossValue;
    }
    // A warning with a text of its own has no registry value to silence it: it always shows.
    if (!m_valueName.IsEmpty()) {
        DWORD show = 0;
        if (HKEY key = OpenOptionsKey()) {
            show = GetRegDWORD(key, m_valueName);
            CloseRegKey(key);
        }
        if (show == 0) {
            EndDialog(IDYES);
            return TRUE;
        }
    }
    SetDlgItemText(IDC_WARNING_TEXT, m_text);
    return TRUE;
}

void CWarningDlg::OnYes() { EndDialog(IDYES); }

void CWarningDlg::OnNo() { EndDialog(IDNO); }

void CWarningDlg::OnDestroy()
{
    Default();
    m_dontShowAgain = ::IsDlgButtonChecked(m_hWnd, IDC_DONT_SHOW_AGAIN) == BST_CHECKED;
    if (m_dontShowAgain && !m_valueName.IsEmpty()) {
        if (HKEY key = OpenOptionsKey()) {
            const DWORD hidden = 0;
            SetRegValue(key, m_valueName, REG_DWORD, reinterpret_cast<const BYTE*>(&hidden), sizeof hidden);
            CloseRegKey(key);
        }
    }
}
