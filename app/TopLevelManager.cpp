#include "app/TopLevelManager.h"

#include "app/AppServices.h"
#include "app/Errors.h"
#include "app/MainWinManager.h"
#include "panels/PanelMessage.h"
#include "app/StartPageManager.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "app/widgets.h"
#include "editors/FontList.h"
#include "framework/win/Afxwin.h"

#include <new>

CTopLevelManager::CTopLevelManager() : m_startPage(nullptr), m_mainManager(nullptr), m_lastKind(-1)
{
    m_backgroundAllowed = 0;
}

CTopLevelManager::~CTopLevelManager()
{
    delete m_startPage;
    delete m_mainManager;
}

void CTopLevelManager::AttachChildren(CStartPageManager* startPage, CMainWinManager* mainManager)
{
    delete m_startPage;
    delete m_mainManager;
    m_startPage = startPage;
    m_mainManager = mainManager;
}

int CTopLevelManager::Create(CWnd* parent, CWinManagerBase* owner, CSplashDlg* progress)
{
    if (!CWinManagerBase::Create(parent, owner, 0, 0, 0))
        return 0;
    m_startPage = new (std::nothrow) CStartPageManager;
    if (!m_startPage || !m_startPage->Create(parent, this, progress)) {
        delete m_startPage;
        m_startPage = nullptr;
        return 0;
    }
    BuildFontList(GetApplicationFontList());
    m_mainManager = new (std::nothrow) CMainWinManager;
    if (!m_mainManager || !m_mainManager->Create(parent, this, progress)) {
        delete m_startPage;
        delete m_mainManager;
        m_startPage = nullptr;
        m_mainManager = nullptr;
        return 0;
    }
    return 1;
}

void CTopLevelManager::ActivateChild(int main)
{
    if (m_active)
        return;
    m_active = 1;
    if (main && m_mainManager)
        m_mainManager->Activate(1);
    else if (!main && m_startPage)
        m_startPage->Activate(1);
    if (CWidgetsApp* app = Application())
        app->RefreshCurrentManager(1, 1, 1, 1, 1);
}

bool CTopLevelManager::IsMainManagerActive() const
{
    return m_mainManager && m_mainManager->IsActive();
}

int CTopLevelManager::HandleMessage(CPanelMessage* message)
{
    if (!message)
        return 0;
    const int kind = message->GetKind();
    m_lastKind = kind;
    switch (kind) {
    case 1: case 2: case 3: case 4: case 7: case 8: case 9:
        if (m_startPage && m_startPage->IsActive())
            return m_startPage->HandleMessage(message);
        if (m_mainManager && m_mainManager->IsActive())
            return m_mainManager->HandleMessage(message);
        break;
    default:
        break;
    }
    if (m_startPage)
        m_startPage->HandleMessage(message);
    if (m_mainManager)
        m_mainManager->HandleMessage(message);
    return 1;
}

int CTopLevelManager::HandleCommand(const CString& command)
{
    m_lastCommand = command;
    if (!m_startPage || !m_mainManager)
        return 1;
    // The main dialog is the window the pages were made in.
    if (!m_parent || !m_parent->GetSafeHwnd())
        return 0;
    CWidgetsDlg* dialog = dynamic_cast<CWidgetsDlg*>(m_parent);
    if (m_startPage->IsActive() && CommandStartsWith(command, "type")) {
        if (CUIServices* services = dialog ? dialog->GetUIServices() : nullptr)
            services->m_holdCapture = 0;
        m_startPage->Deactivate();
        m_mainManager->SelectButton(1);
        m_mainManager->HandleCommand(command);
        m_mainManager->Activate(1);
        if (dialog)
            dialog->UpdateTitle();
        return 1;
    }
    if (m_mainManager->IsActive() && command.CompareNoCase("goto-designs") == 0) {
        m_mainManager->SelectPage(2);
        return 1;
    }
    if (command == "goto-init") {
        m_mainManager->Deactivate();
        m_startPage->Activate(1);
        g_MessageShown = 0;
        return 1;
    }
    if (CommandStartsWith(command, "goto-import")) {
        m_mainManager->Deactivate();
        m_startPage->Activate(1);
        m_startPage->HandleCommand(command);
        return 1;
    }
    if (CommandStartsWith(command, "goto-photoimport")) {
        m_mainManager->Deactivate();
        m_startPage->Activate(16);
        return 1;
    }
    if (CommandStartsWith(command, "droppedphoto")) {
        if (!m_mainManager->IsActive()) {
            m_startPage->Deactivate();
            m_mainManager->Activate(1);
        }
        m_mainManager->SelectButton(10);
        m_mainManager->ShowSelectedPage();
    }
    return m_startPage->HandleCommand(command) | m_mainManager->HandleCommand(command);
}

void CTopLevelManager::UpdateTooltipRect()
{
    if (m_mainManager)
        m_mainManager->UpdateTooltipRect();
}

void CTopLevelManager::Refresh(int, int, int background, int)
{
    // The pages paint themselves; with no page up, the client area is left plain.
    if (!background || !m_parent || !m_parent->GetSafeHwnd() || CurrentManager())
        return;
    CClientDC dc(m_parent);
    RECT client;
    m_parent->GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
}
