#include "app/PromptPageManager.h"

#include "app/AppBackground.h"
#include "app/AppServices.h"
#include "app/PromptWnd.h"
#include "app/WidgetsDlg.h"

#include <new>

namespace {

const CPageTraits kPages[] = {
    {4, 114, "SysResources\\prompts\\loadwork.web", true, false, false},
    {5, 112, "SysResources\\prompts\\themes.web", true, false, false},
    {6, 100, "SysResources\\prompts\\export.web", false, false, false},
    {7, 105, "SysResources\\prompts\\font.web", true, true, false},
    {8, 109, "SysResources\\prompts\\background.web", true, true, false},
    {9, 101, "SysResources\\prompts\\colour.web", true, true, false},
    {10, 111, "SysResources\\prompts\\size.web", true, true, false},
    {11, 102, "SysResources\\prompts\\navbars.web", true, false, false},
    {12, 113, "SysResources\\prompts\\save.web", true, false, true},
    {13, 113, "SysResources\\prompts\\save.web", true, true, true},
    {14, 113, "SysResources\\prompts\\save.web", true, true, true},
    {15, 113, "SysResources\\prompts\\save.web", true, false, true},
};

}  // namespace

const CPageTraits* CPromptPageManager::TraitsFor(int type)
{
    for (const CPageTraits& traits : kPages)
        if (traits.type == type)
            return &traits;
    return nullptr;
}

CPromptPageManager::CPromptPageManager(const CPageTraits& traits) : m_traits(traits)
{
    m_helpContext = traits.helpContext;
    if (traits.type == 9)
        m_secondHelpContext = 120;
}

int CPromptPageManager::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel)
{
    if (!CWinManagerBase::Create(parent, owner, left, prompt, panel))
        return 0;
    if (!parent || !parent->GetSafeHwnd() || !m_traits.promptDocument)
        return 1;  // no window to show the page in: a page without windows
    CPromptWnd* window = new (std::nothrow) CPromptWnd;
    if (!window)
        return 0;
    RECT area;
    GetRects(&area, nullptr, nullptr);
    if (!window->Create(parent, area, (UINT)-1, 0)) {
        delete window;
        return 0;
    }
    window->ShowWindow(SW_HIDE);
    window->LoadWebFile(GetRootPath() + m_traits.promptDocument);
    m_prompt = window;
    return 1;
}

void CPromptPageManager::SetPanel(CWnd* panel)
{
    if (m_panel && m_panel != panel) {
        if (m_panel->GetSafeHwnd())
            m_panel->DestroyWindow();
        delete m_panel;
    }
    m_panel = panel;
    RecordPanelSize();
}

void CPromptPageManager::RecordPanelSize()
{
    m_panelWidth = m_panelHeight = -1;
    if (m_panel && m_panel->GetSafeHwnd()) {
        RECT own;
        m_panel->GetWindowRect(&own);
        m_panelWidth = own.right - own.left;
        m_panelHeight = own.bottom - own.top;
    }
}

bool CPromptPageManager::HasThreeLayers() const
{
    return !m_prompt || m_prompt->m_layers.size() == 3;
}

bool CPromptPageManager::ShowPromptLayers()
{
    if (!m_prompt || !m_prompt->GetSafeHwnd() || !m_prompt->FindLayer("background") || !m_prompt->FindLayer("template"))
        return false;
    m_prompt->ShowLayers("background", 1);
    m_prompt->Render(1, nullptr);
    m_prompt->ShowLayers("template", 0);
    m_prompt->Render(0, nullptr);
    return true;
}

void CPromptPageManager::PlaceInset(RECT* area, int redraw, int top, int bottom)
{
    if (!area || !m_panel || !m_panel->GetSafeHwnd())
        return;
    CWidgetsDlg* dialog = GetMainDialog();
    const bool dialogLive = dialog && dialog->GetSafeHwnd();
    bool repaint = false;
    CAppBackground* background = GetBackgroundWindow();
    if (background && background->GetSafeHwnd()) {
        RECT previous;
        background->GetWindowRect(&previous);
        if (dialogLive)
            ::MapWindowPoints(nullptr, dialog->GetSafeHwnd(), (POINT*)&previous, 2);
        background->ModifyStyle(0, WS_CHILD);
        background->SetWindowPos((HWND)nullptr, area->left, area->top, area->right - area->left,
                                 area->bottom - area->top, SWP_NOZORDER | SWP_HIDEWINDOW);
        if (previous.right - previous.left != area->right - area->left ||
            previous.bottom - previous.top != area->bottom - area->top) {
            background->SetSize(area->right - area->left, area->bottom - area->top);
            repaint = dialogLive && m_active && redraw;
        }
    }
    RECT inner = {area->left + 48, area->top + top, area->right - 48, area->bottom - bottom};
    m_panelWidth = inner.right - inner.left;
    m_panelHeight = inner.bottom - inner.top;
    if (!m_active) {
        m_panel->SetWindowPos((HWND)nullptr, inner.left, inner.top, m_panelWidth, m_panelHeight,
                              SWP_NOZORDER | SWP_FRAMECHANGED);
        return;
    }
    m_panel->SetWindowPos((HWND)nullptr, inner.left, inner.top, m_panelWidth, m_panelHeight,
                          SWP_NOZORDER | SWP_SHOWWINDOW);
    if (redraw)
        ::RedrawWindow(m_panel->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_panel->ValidateRect(nullptr);
    if (repaint)
        PaintBackground();
    if (dialogLive)
        dialog->ValidateRect(nullptr);
}
