#include "app/SavePromptManager.h"

#include "framework/win/Afxwin.h"

CSavePromptManager::CSavePromptManager()
    : CPromptPageManager(*TraitsFor(15)), m_savePanel(nullptr), m_followsSavePage(false)
{
}

CSavePromptManager::~CSavePromptManager()
{
    if (m_savePanel && m_savePanel != m_panel) {
        if (m_savePanel->GetSafeHwnd())
            m_savePanel->DestroyWindow();
        delete m_savePanel;
    }
}

int CSavePromptManager::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel, int)
{
    if (!CPromptPageManager::Create(parent, owner, left, prompt, panel))
        return 0;
    // The export options panel is not part of this program yet: the page shows its prompt over
    // an empty panel area.
    m_panel = m_savePanel;
    return 1;
}

void CSavePromptManager::ResetPanel()
{
    m_panel = m_savePanel;
    RecordPanelSize();
}

void CSavePromptManager::MakeCurrent()
{
    RecordPanelSize();
    CWinManagerBase* leaving = CurrentManager();
    m_followsSavePage = leaving && leaving != this && leaving->NeedsLeaveNotify();
    CPromptPageManager::MakeCurrent();
}
