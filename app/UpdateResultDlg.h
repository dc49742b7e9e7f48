// CUpdateResultDlg: shows the update information the check fetched, with a button that opens
// the new version's page. It closes unseen when there is nothing the user asked to see.
#pragma once

#include "framework/win/Afxwin.h"
#include "framework/win/ListBox.h"

class CStringArray;

class CUpdateResultDlg : public CDialog {
public:
    enum { IDD = 367 };

    // mode: the check's mode (0 version on request, 1 specials, 2 automatic).
    CUpdateResultDlg(CWnd* parent, const CString& localPath, int mode, int showWhenLatest = 1);

    BOOL OnInitDialog() override;

    // Reads the update information file of a mode: true when it is one, with the address line
    // (empty or "Latest" included as read), the lines to show and whether this is the latest
    // version.
    static bool ParseFile(const CString& path, int mode, CString& address, CStringArray& lines, int& latest);

    // Whether an address from the server's file may be opened: web pages only.
    static bool IsWebAddress(const CString& address);

    const CString& GetAddress() const { return m_address; }
    int IsLatest() const { return m_latest; }

protected:
    afx_msg void OnUpdate();
    DECLARE_MESSAGE_MAP()

private:
    // Without an address there is nothing to update to: only Cancel, centred.
    void HideUpdateButton();
    void ShowLines(const CStringArray& lines);

    CListBox m_list;
    CString m_address;
    int m_mode;
    int m_showWhenLatest;
    int m_latest;
    CString m_localPath;
};
