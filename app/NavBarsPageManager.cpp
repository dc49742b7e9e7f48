#include "app/NavBarsPageManager.h"

#include "framework/win/Afxwin.h"

#include "app/AppServiceAdapters.h"
#include "app/AppServices.h"
#include "document/OperationsManager.h"
#include "navbar/NavBar.h"

#include <new>

CNavBarsPageManager::CNavBarsPageManager()
    : CPromptPageManager(*TraitsFor(11)), m_navBarPanel(nullptr), m_keptNavBar(nullptr), m_keptNavBarMode(0)
{
}

CNavBarsPageManager::~CNavBarsPageManager()
{
    delete m_keptNavBar;
}

int CNavBarsPageManager::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel)
{
    if (!CPromptPageManager::Create(parent, owner, left, prompt, panel))
        return 0;
    // The navigation-bar editor is not part of this program yet: the page shows its prompt
    // over an empty panel area.
    m_panel = m_navBarPanel;
    return 1;
}

void CNavBarsPageManager::KeepNavBar()
{
    if (!m_keptNavBar)
        m_keptNavBar = new (std::nothrow) CNavBar;
    COperationsManager* operations = GetOperationsManager();
    if (!operations)
        return;
    m_keptNavBarMode = operations->IsNavBarMode();
    if (m_keptNavBarMode && m_keptNavBar)
        m_keptNavBar->CopyFrom(GetManagerNavBar());
}

void CNavBarsPageManager::RestoreNavBar()
{
    COperationsManager* operations = GetOperationsManager();
    CNavBar* bar = GetManagerNavBar();
    if (!operations || !bar)
        return;
    operations->SetNavBarMode(m_keptNavBarMode);
    if (m_keptNavBarMode && m_keptNavBar)
        bar->CopyFrom(m_keptNavBar);
}
