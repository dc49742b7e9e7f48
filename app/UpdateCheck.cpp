#include "app/UpdateCheck.h"

#include "app/AppServices.h"
#include "app/Downloader.h"
#include "app/StartupServicesResource.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "util/Registry.h"

#include <wininet.h>

#include <ctime>

namespace {
const char* const kStampNames[] = {"FourteenDayUpdate", "SpecialUpdate", "SpecialDate"};
const DWORD kSecondsPerDay = 86400;
const char kLocalFileName[] = "TWTempUpdateFile.txt";
const char kVersionText[] = "1.1";
const UINT kDownloadMessage = WM_APP;
const int kResultNotStarted = 1;
const UINT_PTR kOwnTimerId = 1;  // when there is no main dialog to hand out timer ids

CString g_serverAddress;
UINT g_timeout = CUpdateCheckDlg::kDefaultTimeout;

CUIServices* MainUIServices()
{
    CWidgetsDlg* dialog = GetMainDialog();
    return dialog ? dialog->GetUIServices() : nullptr;
}

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

BEGIN_MESSAGE_MAP(CUpdateCheckDlg, CDialog)
    ON_MESSAGE(kDownloadMessage, OnDownloadMessage)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CUpdateCheckDlg::CUpdateCheckDlg(CWnd* parent, int mode, HWND reportTo)
    : CDialog(IDD, parent), m_downloader(new CDownloader), m_specials(0), m_mode(mode), m_resultCode(0),
      m_lastDate(0), m_started(0), m_timerId(0), m_reported(0), m_due(0), m_reportTo(reportTo)
{
}

// The downloader cancels its transfer and waits for its worker as it goes.
CUpdateCheckDlg::~CUpdateCheckDlg() = default;

void CUpdateCheckDlg::SetServerAddress(const char* base)
{
    g_serverAddress = base ? base : "";
}

void CUpdateCheckDlg::SetTimeout(UINT milliseconds)
{
    g_timeout = milliseconds ? milliseconds : (UINT)kDefaultTimeout;
}

CString CUpdateCheckDlg::BuildFileAddress(const CString& base, int mode)
{
    const char* page = mode == kModeSpecials ? "specials" : mode == kModeVersion || mode == kModeAutomatic ? "version" : nullptr;
    if (!page)
        return CString();
    CString version = kVersionText;
    version.Replace('.', '_');
    return base + page + version + ".htm";
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
    if (m_fileAddress.IsEmpty() || m_localPath.IsEmpty())
        return 0;
    m_downloader->SetNotify(GetSafeHwnd(), kDownloadMessage);
    const DWORD failure = m_downloader->Start(m_fileAddress, m_localPath);
    if (!failure)
        return 1;
    m_resultCode = (int)failure;
    PostMessage(kDownloadMessage, 1, (LPARAM)failure);
    return 0;
}

void CUpdateCheckDlg::StartTimer()
{
    StopTimer();
    if (CUIServices* services = MainUIServices())
        m_timerId = services->AllocTimer(GetSafeHwnd(), g_timeout);
    else
        m_timerId = ::SetTimer(GetSafeHwnd(), kOwnTimerId, g_timeout, nullptr);
}

void CUpdateCheckDlg::StopTimer()
{
    if (!m_timerId)
        return;
    if (CUIServices* services = MainUIServices())
        services->FreeTimer(GetSafeHwnd(), (UINT)m_timerId);
    else
        ::KillTimer(GetSafeHwnd(), m_timerId);
    m_timerId = 0;
}

int CUpdateCheckDlg::Finish(int code)
{
    m_resultCode = code;
    if (!m_reported) {
        HWND target = m_reportTo;
        if (!target) {
            CWnd* main = ::GetMainWnd();
            target = main ? main->GetSafeHwnd() : nullptr;
        }
        if (target) {
            if (code != 0)
                ::PostMessageA(target, kResultMessage, (WPARAM)(DWORD)code, 0);
            else if (m_started)
                ::PostMessageA(target, kResultMessage, 0, 1);
        }
        m_reported = 1;
    }
    EndDialog(IDCANCEL);
    StopTimer();
    // A result after the timeout finds nothing more to do; the transfer still under way is
    // of no use once the check has reported.
    m_downloader->Cancel();
    return code;
}

LRESULT CUpdateCheckDlg::OnDownloadMessage(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 1) {
        Finish((int)lParam);
    } else if (m_timerId && !m_reported) {
        // The transfer is alive: the timeout counts from its latest sign.
        StartTimer();
    }
    return 0;
}

void CUpdateCheckDlg::OnTimer(UINT_PTR id)
{
    if (id == m_timerId && m_timerId)
        Finish(CDownloader::kResultOther);
}

void CUpdateCheckDlg::OnDestroy()
{
    StopTimer();
    m_downloader->Cancel();
    CDialog::OnDestroy();
}

BOOL CUpdateCheckDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowWindow(SW_HIDE);
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_localPath = CString(temp) + kLocalFileName;
    m_started = 0;
    m_reported = 0;
    if (m_mode == kModeAutomatic)
        m_due = IsUpdateDue();
    else
        m_due = 1;
    CString base = g_serverAddress;
    if (base.IsEmpty())
        base.LoadString(IDS_UPDATE_SERVER);
    m_fileAddress = BuildFileAddress(base, m_mode);
    if (m_fileAddress.IsEmpty()) {
        m_resultCode = kResultNotStarted;
        return TRUE;
    }
    m_started = 1;
    if (m_due) {
        StartTimer();
        StartDownload();
    }
    return TRUE;
}
