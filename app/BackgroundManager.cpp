#include "app/BackgroundManager.h"

#include "framework/win/Afxwin.h"

#include "app/AppServices.h"
#include "app/Errors.h"
#include "panels/PanelMessage.h"
#include "app/PromptWnd.h"

CBackgroundManager::CBackgroundManager() : CPromptPageManager(*TraitsFor(8)) {}

int CBackgroundManager::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel)
{
    if (!CPromptPageManager::Create(parent, owner, left, prompt, panel))
        return 0;
    if (!HasThreeLayers()) {
        BW_INTERNAL_ERROR("backgmng");
        return 0;
    }
    if (CPromptWnd* window = dynamic_cast<CPromptWnd*>(m_prompt)) {
        window->ShowLayers("background", 1);
        window->ShowLayers("template", 0);
        window->m_notifyParent = 0;
        window->m_releaseAfterRender = 0;
    }
    m_releaseRendererOnHide = 0;
    return 1;
}

void CBackgroundManager::ActivateWithLayers()
{
    if (GetOperationsManager())
        ShowPromptLayers();
    if (m_panel && m_panel->GetSafeHwnd())
        m_panel->SetFocus();
    Activate(1);
}

bool CBackgroundManager::PassesKeyToPanel(const CKeyMessage& key)
{
    return key.m_modifier != VK_CONTROL && key.m_modifier != VK_MENU;
}

LPARAM CBackgroundManager::KeyDownParam(int key)
{
    const UINT scanCode = ::MapVirtualKeyA((UINT)key, 0 /* MAPVK_VK_TO_VSC */) & 0xff;
    return (LPARAM)(1 | (scanCode << 16));
}

int CBackgroundManager::HandleMessage(CPanelMessage* message)
{
    if (message && message->GetKind() == 7 && m_panel && m_panel->GetSafeHwnd()) {
        const CKeyMessage* key = static_cast<const CKeyMessage*>(message);
        if (PassesKeyToPanel(*key))
            m_panel->PostMessage(WM_KEYDOWN, (WPARAM)key->m_key, KeyDownParam(key->m_key));
    }
    return CPromptPageManager::HandleMessage(message);
}
