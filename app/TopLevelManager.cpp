#include "app/TopLevelManager.h"

#include "app/Errors.h"
#include "app/PanelMessage.h"
#include "framework/win/Afxwin.h"

CTopLevelManager::CTopLevelManager() : m_parent(nullptr), m_lastKind(-1) {}

CTopLevelManager::~CTopLevelManager() = default;

BOOL CTopLevelManager::Create(CWnd* parent, CWnd*, CSplashDlg*)
{
    m_parent = parent;
    return parent != nullptr;
}

int CTopLevelManager::HandleMessage(CPanelMessage* message)
{
    if (!message)
        return 0;
    m_lastKind = message->GetKind();
    return 0;
}

int CTopLevelManager::HandleCommand(const CString& command)
{
    m_lastCommand = command;
    if (command == "goto-init")
        g_MessageShown = 0;  // back at the start page
    return 0;
}

void CTopLevelManager::Refresh(int, int, int background, int)
{
    if (!background || !m_parent || !m_parent->GetSafeHwnd())
        return;
    CClientDC dc(m_parent);
    RECT client;
    m_parent->GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
}
