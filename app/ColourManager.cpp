#include "app/ColourManager.h"

#include "framework/win/Afxwin.h"

#include "app/AppServices.h"
#include "app/Errors.h"

namespace {

CColourManager* g_colourPage = nullptr;

}  // namespace

CColourManager::CColourManager()
    : CPromptPageManager(*TraitsFor(9)), m_simpleEditor(nullptr), m_advancedEditor(nullptr), m_simpleShown(true)
{
    g_colourPage = this;
}

CColourManager::~CColourManager()
{
    if (g_colourPage == this)
        g_colourPage = nullptr;
    // The editors are owned here, not through the panel field.
    m_panel = nullptr;
    for (CWnd* editor : {m_simpleEditor, m_advancedEditor}) {
        if (editor && editor->GetSafeHwnd())
            editor->DestroyWindow();
        delete editor;
    }
}

CColourManager* CColourManager::GetColourPage()
{
    return g_colourPage;
}

int CColourManager::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel)
{
    if (!CPromptPageManager::Create(parent, owner, left, prompt, panel))
        return 0;
    if (!HasThreeLayers()) {
        BW_INTERNAL_ERROR("colmng");
        return 0;
    }
    // The colour editors are not part of this program yet: the page shows its prompt over an
    // empty panel area.
    m_panel = m_simpleEditor;
    return 1;
}

void CColourManager::SelectEditor(bool simple)
{
    m_simpleShown = simple;
    m_panel = simple ? m_simpleEditor : m_advancedEditor;
    ShowPromptLayers();
    RecordPanelSize();
    Activate(1);
}
