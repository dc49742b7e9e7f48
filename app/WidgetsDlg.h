// CWidgetsDlg: the main window, a modeless dialog whose client area belongs to the window
// managers. It turns mouse, key, size and palette messages into panel messages for the
// top-level manager, keeps its placement between runs and ends the application on close.
#pragma once

#include "framework/win/Afxwin.h"

class COptions;
class COperationsManager;
class CUIServices;
class CWinManagerBase;
class CPanelMessage;
class CSplashDlg;
class CAppCommandLineInfo;
class CUpdateCheckDlg;

class CWidgetsDlg : public CDialog {
    DECLARE_DYNAMIC(CWidgetsDlg)
public:
    CWidgetsDlg(CSplashDlg* splash, CWnd* parent);
    ~CWidgetsDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DoDataExchange(CDataExchange* dx) override {}
    // Enter and Esc belong to the pages; the main window closes only through WM_CLOSE, so
    // the dialog manager's IDOK and IDCANCEL must not hide it while the program runs on.
    void OnOK() override {}
    void OnCancel() override {}

    // Opening files and new graphics: 0 from OpenFile only when path names no existing file.
    virtual int OpenFile(const CString& path);
    int NewGraphic(int graphicType);
    int CopyStyleToTemp(const CString& source, const CString& target, int graphicType);
    // Start-up's action for the command line: open a file or start a new graphic.
    void PerformCommandLineAction(const CAppCommandLineInfo& commandLine);

    void SendCommand(const CString& command);
    void SendMessageToManagers(CPanelMessage* message, int withWait);
    void UpdateTitle();
    COperationsManager* GetOperationsManager() const { return m_operationsManager; }
    // Replaces the update check window by a new one of the mode; answers 1.
    int ShowUpdateCheck(int mode, int showWhenLatest);
    CUpdateCheckDlg* GetUpdateCheck() const { return m_updateCheck; }
    CWinManagerBase* GetTopLevelManager() const { return m_topLevelManager; }
    CUIServices* GetUIServices() const { return m_uiServices; }
    // The WM_PAINT handling, run at once (after a message box closes).
    void PaintNow();

    // The title for a state of the dialog: the product name alone, or with the photo zoom or
    // the project name.
    static CString MakeTitle(bool haveRecord, int managerType, int graphicType, const CString& project);
    // The first-run placement for a desktop work area.
    static WINDOWPLACEMENT GetDefaultPlacement(const RECT& workArea);
    // A stored placement made at least 550 x 412, keeping its top-left corner.
    static void EnforceMinimumSize(WINDOWPLACEMENT& placement);
    // The proposed rectangle of a border drag, made at least 550 x 412 by moving the dragged edge.
    static void ApplySizingMinimum(UINT side, RECT& rect);
    // The path of a WM_COPYDATA open request: at most cbData bytes, up to the first NUL.
    static CString CopyDataPath(const COPYDATASTRUCT* data);

    void RestorePlacement();
    void SavePlacement();

    HICON m_icon;
    int m_shiftDown;
    int m_controlDown;
    int m_initialised;
    int m_startMaximised;
    COptions* m_options;
    COptions* m_backupOptions;
    int m_showWhenLatest;
    int m_noSave;
    int m_messageBoxUp;
    int m_initFailed;  // OnInitDialog failed: start-up ends without a further message

protected:
    int CreateTopLevelManager();
    // The working copy of the current graphic, written into the temporary folder at close.
    void SaveWorkingCopy();
    void RegenerateTemplates();

    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSizing(UINT side, LPRECT rect);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnDestroy();
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* focusWnd);
    afx_msg void OnPaletteIsChanging(CWnd* realizeWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg void OnMenuCommand(UINT id);
    afx_msg void OnFontChange();
    afx_msg BOOL OnHelpInfo(HELPINFO* info);
    afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
    afx_msg LRESULT OnUpdateCheckResult(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void Paint(CDC& dc);
    // Realises the application palette (8-bit displays) on a device context, or on the
    // window's own when null.
    void RealisePalette(CDC* dc);

    COperationsManager* m_operationsManager;
    CUIServices* m_uiServices;
    CWinManagerBase* m_topLevelManager;
    CSplashDlg* m_splash;
    CUpdateCheckDlg* m_updateCheck;
};
