// VyButtonWindow: the column of eleven page buttons down the left edge of the main window.
// Exactly one pane is selected; the managers read its page id to decide which page to show.
// Panes hold page buttons made for this bar (owned by pageButtons) or blank fillers (owned by
// the pane).
#pragma once

#include "framework/win/Afxwin.h"

#include <vector>

class CButtonWindow;

class VyButtonWindow : public CStatic {
public:
    enum { kPaneCount = 11 };

    VyButtonWindow();
    ~VyButtonWindow() override;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id, DWORD style = WS_CHILD);
    void CreatePageDescriptors(const int* ids, int count);
    void ShowPages(const int ids[kPaneCount], int relayout);
    void ActivatePage(int pageId);
    void ReselectPrevious();
    int Press(int x, int y);
    int PageAt(int x, int y) const;
    int PageForKey(int vk) const;
    int IndexOfPage(int pageId) const;
    bool IsPageDisabled(int pageId) const;
    void TrackHover(int x, int y);
    void ResetHover();
    bool IsOverButton(int x, int y) const;
    void EnablePage(int pageId);
    void DisablePage(int pageId);
    void ShowAllPanes();
    void RepaintAll();

    int GetSelectedPage() const;
    int GetSelectedIndex() const { return m_selectedIndex; }
    int GetPreviousPage() const { return m_previousPageId; }
    CButtonWindow* GetPane(int index) const;
    // The pane heights for a bar of the given height; the remainder goes to the first blank
    // pane, or to the last pane when no blank comes first.
    static void PaneHeights(int height, const bool blank[kPaneCount], int heights[kPaneCount]);
    void Layout(int rerender);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    bool IsBlank(int index) const;
    CButtonWindow* MakeBlank();
    void ReleasePanes();

    CButtonWindow* m_panes[kPaneCount];
    std::vector<CButtonWindow*> m_pageButtons;
    RECT m_lastRect;
    int m_selectedIndex;
    int m_previousPageId;
};
