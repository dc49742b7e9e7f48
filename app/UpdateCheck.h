// The online update check as far as start-up uses it: the Startup timestamps made at the first
// start, and the hidden check window that decides whether a check is due. This build has no
// downloader, so a due check is noted and the window stays idle.
#pragma once

#include "framework/win/Afxwin.h"

// Writes 1 into each of "FourteenDayUpdate", "SpecialUpdate" and "SpecialDate" that cannot be
// read, so that the first automatic check falls due at the first start.
void InitUpdateTimestamps();

class CUpdateCheckDlg : public CDialog {
public:
    enum { IDD = 369 };
    enum { kModeVersion = 0, kModeSpecials = 1, kModeAutomatic = 2 };

    CUpdateCheckDlg(CWnd* parent, int mode);

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

    int GetMode() const { return m_mode; }
    int IsStarted() const { return m_started; }
    int IsDue() const { return m_due; }

private:
    CString m_localPath;
    int m_specials;
    int m_mode;
    int m_resultCode;
    int m_started;
    int m_reported;
    int m_due;
};
