// CPromptPageManager: an editing page made of a prompt document over a docked panel. The page
// knows its window type, help context, prompt document and which corner tiles it shows; its
// panel, when the page has one, is given to it with SetPanel.
#pragma once

#include "app/WinManagerBase.h"
#include "framework/win/Afxwin.h"

#include <new>

// A save panel made from its dialog resource in the main dialog, hidden until its page shows
// it; null when it cannot be made (the page then shows its prompt alone).
template <class Panel>
Panel* CreateSavePanel(UINT templateId, CWnd* parent)
{
    if (!parent || !parent->GetSafeHwnd())
        return nullptr;
    Panel* panel = new (std::nothrow) Panel(nullptr);
    if (panel && !panel->Create(templateId, parent)) {
        delete panel;
        return nullptr;
    }
    if (panel)
        panel->ShowWindow(SW_HIDE);
    return panel;
}

struct CPageTraits {
    int type;
    int helpContext;
    const char* promptDocument;  // under the root folder
    bool revertButton;
    bool styleButton;
    bool leaveNotify;  // the save pages
};

class CPromptPageManager : public CWinManagerBase {
public:
    explicit CPromptPageManager(const CPageTraits& traits);

    int GetType() const override { return m_traits.type; }
    bool NeedsLeaveNotify() override { return m_traits.leaveNotify; }
    bool HasRevertButton() override { return m_traits.revertButton; }
    bool HasStyleButton() override { return m_traits.styleButton; }
    int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel) override;
    // Takes ownership of a created panel window and records its size.
    void SetPanel(CWnd* panel);

    // The traits of the editing page of a window type (4 to 15); null for any other type.
    static const CPageTraits* TraitsFor(int type);

    // Takes the panel's own width and height from its window (-1 without one).
    void RecordPanelSize();

protected:
    // The prompt document names exactly three layers (true for a page without windows).
    bool HasThreeLayers() const;
    // Shows layer "background" alone, then "template" over it; false without both.
    bool ShowPromptLayers();
    // The pages whose panel sits inside the background with margins: the background takes the
    // whole area, the panel the area less the margins (left and right 48 pixels).
    void PlaceInset(RECT* area, int redraw, int top, int bottom);

    CPageTraits m_traits;
};
