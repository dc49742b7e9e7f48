// The about boxes: the classic box of the system menu (CAboutDlg), and the about pane of the
// start pages, a picture whose two areas open the maker's web pages (CAboutLinksDlg, hosted by
// CAboutPaneManager).
#pragma once

#include "app/PromptPageManager.h"
#include "bitmap/Dib.h"
#include "panels/OptionsDlg.h"
#include "framework/win/Afxwin.h"

// The maker's pages the about boxes open.
extern const char kMakerHomePage[];
extern const char kMakerProductPage[];

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;

    CString m_productName;
    CString m_versionText;
    CString m_buildKindText;
    CString m_osVersionText;  // kept for support, not shown

protected:
    afx_msg void OnHomePage();
    DECLARE_MESSAGE_MAP()
};

class CAboutLinksDlg : public COptionsDlg {
public:
    explicit CAboutLinksDlg(CWnd* parent = nullptr);
    ~CAboutLinksDlg() override;

    BOOL OnInitDialog() override;
    // 1 home page, 2 product page, 0 elsewhere (client coordinates).
    static int HitTestLink(int x, int y);

    const CString& GetVersionLine() const { return m_versionLine; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CString m_versionLine;
    CDib m_picture;
    HFONT m_font;
    HBRUSH m_nullBrush;
    HWND m_versionControl;
};

// The about pane of the start pages (window type 1): the links picture in the panel area.
class CAboutPaneManager : public CPromptPageManager {
public:
    CAboutPaneManager();

    int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel) override;
    CWnd* GetViewWindow() override { return nullptr; }
    int HandleMessage(CPanelMessage* message) override;
    void RefreshBackground() override;

    CAboutLinksDlg* GetDialog() const { return m_dialog; }

private:
    CAboutLinksDlg* m_dialog;
};
