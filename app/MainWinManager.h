// CMainWinManager: the editing pages. Its button bar runs down the left side; right of it one
// page at a time, each a child manager made on first use by window type (4 to 15). It keeps a
// tooltip over the graphic preview and routes page commands and panel messages to its pages.
#pragma once

#include "app/WinManagerBase.h"

class CNavBarsPageManager;
class CSheetsManager;
class VyButtonWindow;

// The starting point handed to pages that need one.
struct CGalleryLocation {
    int first = 1;
    CString text;
    int second = 0;
};

class CMainWinManager : public CWinManagerBase {
public:
    enum { kPageSlots = 16 };

    CMainWinManager();
    ~CMainWinManager() override;

    int Create(CWnd* parent, CWinManagerBase* owner, CSplashDlg* progress);
    bool NeedsLeaveNotify() override;
    void Activate(int page) override;
    void Deactivate() override;
    int HandleMessage(CPanelMessage* message) override;
    int HandleCommand(const CString& command) override;
    void UpdateTooltipRect() override;

    int ShowSelectedPage();
    int SelectPage(int pageId);
    // Selects a button of the bar without showing its page.
    void SelectButton(int pageId);

    // Makes the page of a window type unless it exists; 0 when it cannot be made.
    virtual int CreateManager(int type, const CGalleryLocation* location);
    CWinManagerBase* GetPage(int type, bool create, const CGalleryLocation* location = nullptr);
    // Installs a made page (owned from now on) in its slot.
    void SetPage(int type, CWinManagerBase* page);
    CWinManagerBase* GetCurrentPage() const { return m_currentPage; }
    CSheetsManager* GetDesignPage() const;
    CNavBarsPageManager* GetNavBarsPage() const;
    VyButtonWindow* GetButtonBar() const { return m_buttonBar; }
    // Takes a bar (owned from now on) whose page buttons are made.
    void AttachButtonBar(VyButtonWindow* bar);

    // The button-bar panes of the editing pages, top to bottom.
    static const int kMainPanes[11];
    // The order in which pages receive forwarded commands and messages.
    static const int kCommandOrder[11];
    static const int kMessageOrder[11];
    // The search mask of a graphic type's templates (0 to 12); 0 for any other type.
    static unsigned SearchMaskFor(int graphicType);

private:
    using CWinManagerBase::Create;
    int ForwardMessage(CPanelMessage* message);
    // Makes the page of a type current (deactivating the one shown), without showing it.
    CWinManagerBase* EnterPage(int type, const CGalleryLocation* location);
    void ShowPageOf(int type, const CGalleryLocation* location);
    void ShowColourPage(bool simple);
    void ValidateMainDialog();
    // Loads the working copy of a graphic type, else a template of the type, else the
    // no-match graphic.
    void LoadWorkingCopy(int type);
    void PlaceBar();
    void StartGraphic(const CString& command);
    void Revive(const CString& command);

    VyButtonWindow* m_buttonBar;
    CWinManagerBase* m_currentPage;
    CWinManagerBase* m_pages[kPageSlots];
    CString m_tooltipText;
    HWND m_tooltip;
};
