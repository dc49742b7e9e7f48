#include "app/UpdateCheck.h"

#include "util/Registry.h"

#include <wininet.h>

#include <ctime>

namespace {
const char* const kStampNames[] = {"FourteenDayUpdate", "SpecialUpdate", "SpecialDate"};
const DWORD kSecondsPerDay = 86400;

bool ReadStamp(HKEY key, const char* name, DWORD& value)
{
    DWORD type = 0, size = sizeof value;
    return QueryRegValue(key, name, &type, (BYTE*)&value, &size) && type == REG_DWORD && size == sizeof value;
}
}  // namespace

void InitUpdateTimestamps()
{
    HKEY startup = OpenStartupKey(nullptr);
    if (!startup)
        return;
    for (const char* name : kStampNames) {
        DWORD value = 0;
        if (!ReadStamp(startup, name, value))
            SetRegDWORD(startup, name, 1);
    }
    CloseRegKey(startup);
}

CUpdateCheckDlg::CUpdateCheckDlg(CWnd* parent, int mode)
    : CDialog(IDD, parent), m_specials(0), m_mode(mode), m_resultCode(0), m_started(0), m_reported(0), m_due(0)
{
}

int CUpdateCheckDlg::DecideDue(bool online, bool haveVersionStamp, DWORD versionStamp, bool haveSpecialStamp,
                               DWORD specialStamp, DWORD now)
{
    if (!online || !haveVersionStamp)
        return 0;
    // Whole days since the last check; a stamp in the future counts as no days.
    const auto days = [now](DWORD stamp) { return now > stamp ? (now - stamp) / kSecondsPerDay : 0; };
    if (versionStamp != 0 && days(versionStamp) > 14)
        return 1;
    if (haveSpecialStamp && specialStamp != 0 && days(specialStamp) > 7)
        return 2;
    return 0;
}

int CUpdateCheckDlg::IsUpdateDue()
{
    DWORD connection = 0;
    const bool online = ::InternetGetConnectedState(&connection, 0) != FALSE;
    HKEY startup = OpenStartupKey(nullptr);
    if (!startup)
        return 0;
    DWORD versionStamp = 0, specialStamp = 0;
    const bool haveVersion = ReadStamp(startup, "FourteenDayUpdate", versionStamp);
    const bool haveSpecial = ReadStamp(startup, "SpecialUpdate", specialStamp);
    const DWORD now = (DWORD)std::time(nullptr);
    const int due = DecideDue(online, haveVersion, versionStamp, haveSpecial, specialStamp, now);
    if (due == 2) {
        m_mode = kModeSpecials;
        m_specials = 1;
        SetRegDWORD(startup, "SpecialUpdate", now);
    }
    CloseRegKey(startup);
    return due ? 1 : 0;
}

int CUpdateCheckDlg::StartDownload()
{
    // Nothing in this build fetches the update information: the check stays idle and posts
    // nothing, as a check that is not due does.
    return 0;
}

BOOL CUpdateCheckDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowWindow(SW_HIDE);
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_localPath = CString(temp) + "TWTempUpdateFile.txt";
    m_started = 0;
    m_reported = 0;
    if (m_mode == kModeAutomatic)
        m_due = IsUpdateDue();
    else
        m_due = 1;
    if (m_mode != kModeVersion && m_mode != kModeSpecials && m_mode != kModeAutomatic) {
        m_resultCode = 1;
        return TRUE;
    }
    m_started = 1;
    if (m_due)
        StartDownload();
    return TRUE;
}
