// The online update check: the Startup timestamps made at the first start, and the hidden check
// window that decides whether a check is due, downloads the update information with a timeout
// and tells the main dialog the result by message 0x432 (wParam the result code, 0 on success).
#pragma once

#include "framework/win/Afxwin.h"

#include <memory>

class CDownloader;

// Writes 1 into each of "FourteenDayUpdate", "SpecialUpdate" and "SpecialDate" that cannot be
// read, so that the first automatic check falls due at the first start.
void InitUpdateTimestamps();

class CUpdateCheckDlg : public CDialog {
public:
    enum { IDD = 369 };
    enum { kModeVersion = 0, kModeSpecials = 1, kModeAutomatic = 2 };

    enum : UINT { kResultMessage = WM_USER + 50 };
    enum : UINT { kDefaultTimeout = 120000 };

    // reportTo: the window told the result; null for the program's main window.
    CUpdateCheckDlg(CWnd* parent, int mode, HWND reportTo = nullptr);
    ~CUpdateCheckDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    // The decision of an automatic check from the stored timestamps (seconds since 1970; a
    // missing one is given as absent): 0 no check, 1 a version check, 2 a specials check.
    static int DecideDue(bool online, bool haveVersionStamp, DWORD versionStamp, bool haveSpecialStamp,
                         DWORD specialStamp, DWORD now);
    // An automatic check: whether one is due now; a specials check switches the mode to 1 and
    // stamps "SpecialUpdate" with the time.
    int IsUpdateDue();
    // Starts the download of the update information; 0 when it cannot start.
    int StartDownload();
    // Ends the check with a result code and reports it once; answers the code.
    int Finish(int code);

    int GetMode() const { return m_mode; }
    int IsStarted() const { return m_started; }
    int IsDue() const { return m_due; }
    int GetResultCode() const { return m_resultCode; }
    const CString& GetLocalPath() const { return m_localPath; }
    const CString& GetFileAddress() const { return m_fileAddress; }

    // The address of the update information for a mode (0 and 2 versions, 1 specials) under the
    // server's base address; empty for any other mode.
    static CString BuildFileAddress(const CString& base, int mode);
    // Where the checks look and how long they wait: for tests, which serve the file themselves.
    // An empty base puts the program's own server back.
    static void SetServerAddress(const char* base);
    static void SetTimeout(UINT milliseconds);

protected:
    afx_msg LRESULT OnDownloadMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // The timeout, started afresh.
    void StartTimer();
    void StopTimer();

    std::unique_ptr<CDownloader> m_downloader;
    CString m_fileAddress;
    CString m_localPath;
    int m_specials;
    int m_mode;
    int m_resultCode;
    int m_lastDate;
    int m_started;
    UINT_PTR m_timerId;
    int m_reported;
    int m_due;
    HWND m_reportTo;
};
