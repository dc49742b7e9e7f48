#include "app/SavePromptManager.h"

#include "framework/win/Afxwin.h"
#include "output/ExportGIFDlg.h"
#include "output/OutputResource.h"

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
    m_savePanel = CreateSavePanel<CExportGIFDlg>(IDD_EXPORT_OPTIONS, parent);
    m_panel = m_savePanel;
    RecordPanelSize();
    return 1;
}

void CSavePromptManager::ResetPanel()
{
    m_panel = m_savePanel;
    RecordPanelSize();
}

void CSavePromptManager::MakeCurrent()
{
    if (m_savePanel)
        m_savePanel->ShowProjectControls(TRUE);
    RecordPanelSize();
    CWinManagerBase* leaving = CurrentManager();
    m_followsSavePage = leaving && leaving != this && leaving->NeedsLeaveNotify();
    if (m_followsSavePage && m_savePanel)
        m_savePanel->SetReuseTempExport();
    CPromptPageManager::MakeCurrent();
}
