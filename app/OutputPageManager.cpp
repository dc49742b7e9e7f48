#include "app/OutputPageManager.h"

#include "app/AppServices.h"
#include "app/CompactRendererInt.h"
#include "document/RenderRequest.h"
#include "panels/PanelServices.h"
#include "output/OutputDlg.h"
#include "output/OutputResource.h"

COutputPageManager::COutputPageManager() : CPromptPageManager(*TraitsFor(12)) {}

int COutputPageManager::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel)
{
    if (!CPromptPageManager::Create(parent, owner, left, prompt, panel))
        return 0;
    SetPanel(CreateSavePanel<COutputDlg>(IDD_OUTPUT_PANEL, parent));
    return 1;
}

COutputDlg* COutputPageManager::GetOutputPanel() const { return dynamic_cast<COutputDlg*>(GetPanel()); }

void COutputPageManager::MakeCurrent()
{
    if (COutputDlg* panel = GetOutputPanel()) {
        panel->ShowProjectControls(GetPanelServices().IsPhotoHandlerActive() ? FALSE : TRUE);
        RecordPanelSize();
        // Back from a save page the graphic has not changed, so its export stands. This page
        // is made current again when it activates; that second call comes from no save page,
        // and the export on disk may be another graphic's.
        CWinManagerBase* leaving = CurrentManager();
        if (leaving && leaving != this && leaving->NeedsLeaveNotify())
            panel->SetReuseTempExport();
    }
    CPromptPageManager::MakeCurrent();
}

void COutputPageManager::Deactivate()
{
    // The saved prompt lasts one visit.
    if (CompactRendererInt* prompt = GetPrompt()) {
        prompt->LoadWebFile(GetRootPath() + m_traits.promptDocument);
        if (prompt->GetSafeHwnd())
            prompt->Invalidate(FALSE);
    }
    CPromptPageManager::Deactivate();
}

void COutputPageManager::RenderWindow(CWnd* window)
{
    // The page shows what will be saved: the export, not a fresh render of the template.
    if (!window)
        return;
    if (COutputDlg* panel = GetOutputPanel())
        if (!panel->GetLastTempExport().IsEmpty())
            ShowPreviewImage(panel->GetLastTempExport(), 1);
}
