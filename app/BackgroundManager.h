// CBackgroundManager: the texture page. Its prompt document has three layers: "background",
// "template" shown over it, and a hint; the prompt keeps its renderer while the page is hidden.
// Keys typed on the page are handed on to the texture panel.
#pragma once

#include "app/PromptPageManager.h"

class CKeyMessage;

class CBackgroundManager : public CPromptPageManager {
public:
    CBackgroundManager();

    int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel) override;
    int HandleMessage(CPanelMessage* message) override;
    void PlaceDialog(RECT* area, int redraw, int moveFirst) override { PlaceInset(area, redraw, 12, 12); }
    // Shows the prompt's layers, focuses the panel and shows the page.
    void ActivateWithLayers();

    // Whether a key of the page goes on to the panel as well: not Ctrl+C, and no Control or Alt
    // combination, which the panel hands back to the pages (handing it on again would never end).
    static bool PassesKeyToPanel(const CKeyMessage& key);
    // The WM_KEYDOWN lParam of a key passed on: one repeat and the key's scan code.
    static LPARAM KeyDownParam(int key);
};
