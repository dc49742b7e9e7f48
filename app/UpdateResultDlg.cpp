#include "app/UpdateResultDlg.h"

#include "app/AppServices.h"
#include "app/StartupServicesResource.h"
#include "app/UpdateCheck.h"
#include "util/Registry.h"
#include "framework/core/CStdioFile.h"
#include "framework/core/CStringArray.h"
#include "framework/win/DC.h"

#include <ctime>

BEGIN_MESSAGE_MAP(CUpdateResultDlg, CDialog)
    ON_BN_CLICKED(IDC_UPDATE_BUTTON, OnUpdate)
END_MESSAGE_MAP()

namespace {
bool ReadLine(CStdioFile& file, CString& line)
{
    if (!file.ReadString(line))
        return false;
    line.TrimRight("\r");
    return true;
}

void StampNow(const char* name)
{
    HKEY startup = OpenStartupKey(nullptr);
    if (!startup)
        return;
    SetRegDWORD(startup, name, (DWORD)std::time(nullptr));
    CloseRegKey(startup);
}
}  // namespace

CUpdateResultDlg::CUpdateResultDlg(CWnd* parent, const CString& localPath, int mode, int showWhenLatest)
    : CDialog(IDD, parent), m_mode(mode), m_showWhenLatest(showWhenLatest), m_latest(0), m_localPath(localPath)
{
}

bool CUpdateResultDlg::ParseFile(const CString& path, int mode, CString& address, CStringArray& lines, int& latest)
{
    address.Empty();
    lines.RemoveAll();
    latest = 0;
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
        return false;
    CString header, expected;
    expected.LoadString(mode == CUpdateCheckDlg::kModeSpecials ? IDS_SPECIAL_HEADER : IDS_UPDATE_HEADER);
    if (!ReadLine(file, header) || expected.IsEmpty() || header != expected)
        return false;
    if (!ReadLine(file, address))
        return false;
    CString latestWord;
    latestWord.LoadString(IDS_UPDATE_LATEST_WORD);
    if (!latestWord.IsEmpty() && address == latestWord) {
        CString line;
        line.LoadString(IDS_UPDATE_LATEST_LINE);
        lines.Add(line);
        latest = 1;
        return true;
    }
    for (CString line; ReadLine(file, line);)
        lines.Add(line);
    return true;
}

BOOL CUpdateResultDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowWindow(SW_HIDE);
    m_list.SubclassDlgItem(IDC_UPDATE_LIST, this);

    CStringArray lines;
    const bool parsed = ParseFile(m_localPath, m_mode, m_address, lines, m_latest);
    if (parsed && m_mode != CUpdateCheckDlg::kModeSpecials)
        StampNow("FourteenDayUpdate");
    if (m_mode == CUpdateCheckDlg::kModeSpecials)
        StampNow("SpecialUpdate");

    if (parsed) {
        if (m_latest && !m_showWhenLatest) {
            EndDialog(IDCANCEL);
            return TRUE;
        }
        ShowLines(lines);
        if (m_latest)
            m_address.Empty();  // "Latest" names no page
        if (m_address.IsEmpty())
            HideUpdateButton();
    } else {
        if (m_mode != CUpdateCheckDlg::kModeVersion) {
            EndDialog(IDCANCEL);
            return TRUE;
        }
        CString line;
        line.LoadString(IDS_UPDATE_NOT_FOUND);
        lines.Add(line);
        lines.Add(CString());
        ShowLines(lines);
        m_address.Empty();
        HideUpdateButton();
    }
    CenterWindow();
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CUpdateResultDlg::ShowLines(const CStringArray& lines)
{
    int widest = 0;
    CDC* dc = m_list.GetDC();
    HGDIOBJ font = (HGDIOBJ)m_list.SendMessage(WM_GETFONT);
    HGDIOBJ oldFont = dc && font ? dc->SelectObject(font) : nullptr;
    for (int i = 0; i < lines.GetSize(); ++i) {
        m_list.AddString(lines[i]);
        if (dc) {
            const CSize size = dc->GetTextExtent(lines[i], lines[i].GetLength());
            if (size.cx > widest)
                widest = size.cx;
        }
    }
    if (dc) {
        if (oldFont)
            dc->SelectObject(oldFont);
        m_list.ReleaseDC(dc);
    }
    m_list.SendMessage(LB_SETHORIZONTALEXTENT, (WPARAM)widest);
}

void CUpdateResultDlg::HideUpdateButton()
{
    if (CWnd* update = GetDlgItem(IDC_UPDATE_BUTTON))
        update->ShowWindow(SW_HIDE);
    CWnd* cancel = GetDlgItem(IDCANCEL);
    if (!cancel)
        return;
    CRect client, button;
    GetClientRect(&client);
    cancel->GetWindowRect(&button);
    ScreenToClient(&button);
    const int left = (client.Width() - button.Width()) / 2;
    cancel->MoveWindow(left, button.top, button.Width(), button.Height());
}

bool CUpdateResultDlg::IsWebAddress(const CString& address)
{
    CString lower = address;
    lower.MakeLower();
    return lower.Find("http://") == 0 || lower.Find("https://") == 0;
}

void CUpdateResultDlg::OnUpdate()
{
    // The address comes from the server's file: only a web page is handed to the shell, never
    // a program or a file of this machine.
    if (IsWebAddress(m_address))
        OpenWithShell(m_address);
}
