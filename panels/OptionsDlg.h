// COptionsDlg: the base of every docked editor panel and of the browsing, output and save
// dialogs. A panel is a modeless dialog its window manager creates once and shows or hides as
// the manager's page is activated or left.
//
// Protocol with the hosting window manager:
//   1. OnActivatePanel before the panel is shown; zero keeps it hidden (the manager then asks
//      the top-level manager to activate instead), non-zero: the manager places and shows it
//      and calls SetInitialFocus.
//   2. When the page is left the manager hides the panel, then calls OnDeactivatePanel.
//   3. After the current graphic changed, ApplyToStyle.
// Panels never close on Enter or Esc. Ctrl+C, Ctrl+S and Ctrl+Z typed in a panel reach the
// window managers as key messages; F-keys are decided by the main dialog. Every derived
// OnInitDialog and every derived property-command handler calls this class's first.
#pragma once

#include "framework/win/Afxwin.h"

class CComboBox;

class COptionsDlg : public CDialog {
    DECLARE_DYNAMIC(COptionsDlg)
public:
    COptionsDlg(UINT templateId, CWnd* parent);
    ~COptionsDlg() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    virtual void CentreInRect(const RECT& rect);
    virtual void GoUpFolder() {}
    virtual void GoHomeFolder() {}
    virtual int OnActivatePanel();
    virtual int OnDeactivatePanel();
    virtual int GetInitialFocusId() { return 0; }
    virtual void ApplyToStyle() {}
    virtual int GetPixelsItem(int id);
    virtual int SetPixelsItem(int id, int value);
    virtual int GetPercentItem(int id);
    virtual int SetPercentItem(int id, int value);
    virtual int GetDegreesItem(int id);
    virtual int SetDegreesItem(int id, int value);
    virtual void SetInitialFocus();
    virtual void SetCurrentFolder(const CString& path) { AssignCurrentFolder(path); }
    virtual BOOL HitTestHotSpot(int x, int y) { return FALSE; }

    // Item operations: 0 (or "", false) when the panel has no child with the id.
    int HideItem(int id);
    int ShowItem(int id);
    int EnableItem(int id, BOOL enable);
    bool IsItemChecked(int id);
    CString GetItemText(int id);
    int SetItemText(int id, const char* text);
    // 1 focused; -1 the item is disabled and the panel got the focus; 0 missing.
    int FocusItem(int id);
    int FocusAndSelect(int id);
    void RedrawNow();
    void PositionBackground(int redraw);
    void SetFolderLabel(const CString& path);
    void AssignCurrentFolder(const CString& path) { m_currentFolder = path; }
    void TrackHotSpot(int x, int y);
    bool IsNearItem(int x, int y, int id);
    void BeginHotSpotCapture();
    void EndHotSpotCapture();
    static void SelectComboItemByData(CComboBox* combo, DWORD_PTR data);
    // The gallery is told to leave out the CD's templates when the user cancels; 1 when the
    // templates may be read.
    int PromptForTemplateCD(int* leaveOutCdTemplates);
    static void UpdatePageButtons();

    // The text of a label shortened to a width: the middle of a path replaced by an ellipsis.
    static CString ElidePath(HWND label, const CString& text);

    const CString& GetCurrentFolder() const { return m_currentFolder; }
    const CString& GetHomeFolder() const { return m_homeFolder; }
    const CString& GetDesktopFolder() const { return m_desktopFolder; }
    const RECT& GetStoredClientRect() const { return m_clientRect; }
    bool IsHotSpotCaptured() const { return m_hotSpotCaptured != 0; }

    // A background renderer window the panel owns (deleted with it).
    void SetBackgroundRenderer(CWnd* renderer);
    CWnd* GetBackgroundRenderer() const { return m_backgroundRenderer; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnPropertyCommand(UINT id);
    DECLARE_MESSAGE_MAP()

    void* m_spare;  // free for derived panels
    RECT m_clientRect;
    int m_backgroundEnabled;
    int m_backgroundAllowed;
    HBRUSH m_brush;
    CWnd* m_backgroundRenderer;
    int m_spareValue1;
    int m_spareValue2;
    CString m_desktopFolder;
    CString m_sparePath;
    CString m_currentFolder;
    CString m_homeFolder;
    BYTE m_hotSpotCaptured;

private:
    int SetUnitItem(int id, UINT formatId, const char* fallback, int value);
    int GetNumberItem(int id);
};

// The leading decimal integer of a text: blanks skipped, conversion stops at the first
// non-digit; 0 for none.
int LeadingInteger(const char* text);
