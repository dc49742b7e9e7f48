#include "app/StartPageManager.h"

#include "app/AboutDlg.h"
#include "app/AppServices.h"
#include "app/HomePageManager.h"
#include "panels/PanelMessage.h"
#include "app/PromptPageManager.h"
#include "app/SplashDlg.h"
#include "app/UIServices.h"
#include "app/VyButtonWindow.h"
#include "app/WidgetsDlg.h"
#include "app/widgets.h"

#include <new>

const int CStartPageManager::kStartPanes[11] = {1, 21, 15, 18, 0, 0, 0, 0, 0, 0, 19};

namespace {

const int kStartButtons[] = {1, 15, 18, 19, 21};
const CPageTraits kImportPage = {3, 115, "SysResources\\prompts\\import.web", false, false, false};
const int kTutorialHelp = 900;

}  // namespace

CStartPageManager::CStartPageManager()
    : m_importPhotos(0), m_buttonBar(nullptr), m_homePage(nullptr), m_aboutPane(nullptr), m_importPage(nullptr)
{
}

CStartPageManager::~CStartPageManager()
{
    if (CurrentButtonBar() == m_buttonBar)
        SetCurrentButtonBar(nullptr);
    delete m_buttonBar;
    delete m_homePage;
    delete m_aboutPane;
    delete m_importPage;
}

int CStartPageManager::Create(CWnd* parent, CWinManagerBase* owner, CSplashDlg* progress)
{
    if (!CWinManagerBase::Create(parent, owner, 0, 0, 0))
        return 0;
    m_buttonBar = new (std::nothrow) VyButtonWindow;
    if (!m_buttonBar)
        return 0;
    m_buttonBar->CreatePageDescriptors(kStartButtons, (int)(sizeof kStartButtons / sizeof kStartButtons[0]));
    CSplashDlg::Step(progress);
    CAboutPaneManager* about = new (std::nothrow) CAboutPaneManager;
    if (about && about->Create(parent, this, 0.15, 0.1, 0.4))
        m_aboutPane = about;
    else
        delete about;
    CPromptPageManager* import = new (std::nothrow) CPromptPageManager(kImportPage);
    if (import && import->Create(parent, this, 0.15, 0.1, 0.4))
        m_importPage = import;
    else
        delete import;
    CSplashDlg::Step(progress);
    m_homePage = new (std::nothrow) CHomePageManager;
    if (!m_homePage || !m_homePage->Create(parent, this, 0, "SysResources\\prompts\\start.web",
                                           "SysResources\\Graphics\\graphictypes.web", 0.15, 0.2, 0.2)) {
        delete m_homePage;
        m_homePage = nullptr;
        return 0;
    }
    CSplashDlg::Step(progress);
    if (parent && parent->GetSafeHwnd()) {
        RECT client;
        parent->GetClientRect(&client);
        RECT bar = {client.left, client.top, client.left + (int)((client.right - client.left) * 0.15), client.bottom};
        // A bar whose buttons cannot be shown (their faces are missing) has recorded why; the
        // pages stay usable through their keys and commands.
        m_buttonBar->Create(parent, bar, 0xffff, SS_BLACKFRAME);
    }
    CSplashDlg::Step(progress);
    return 1;
}

void CStartPageManager::PlaceBar()
{
    if (!m_buttonBar || !m_buttonBar->GetSafeHwnd() || !m_parent || !m_parent->GetSafeHwnd())
        return;
    RECT client;
    m_parent->GetClientRect(&client);
    const int width = (int)(0.15 * client.right);
    m_buttonBar->SetWindowPos((HWND)nullptr, client.left, 0, width, client.bottom,
                              SWP_NOZORDER | (m_active ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (m_active)
        ::RedrawWindow(m_buttonBar->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CStartPageManager::Activate(int pageId)
{
    m_active = 1;
    if (!m_parent || !m_buttonBar)
        return;
    CWidgetsDlg* dialog = GetMainDialog();
    if (dialog && dialog->GetUIServices())
        dialog->GetUIServices()->ReleaseCaptureCursor(0);
    SetCurrentButtonBar(m_buttonBar);
    m_backgroundAllowed = 0;
    m_buttonBar->ShowPages(kStartPanes, 0);
    if (m_buttonBar->GetSafeHwnd()) {
        m_buttonBar->ShowWindow(SW_SHOW);
        m_buttonBar->Invalidate();
        m_buttonBar->UpdateWindow();
    }
    m_buttonBar->ActivatePage(pageId);
    if (pageId == 16) {
        if (m_importPage)
            m_importPage->Activate(1);
    } else if (m_homePage) {
        m_homePage->ActivatePage();
    }
    if (dialog && dialog->GetSafeHwnd()) {
        dialog->SetFocus();
        dialog->UpdateTitle();
    }
}

void CStartPageManager::Deactivate()
{
    if (!m_active)
        return;
    m_active = 0;
    if (m_buttonBar && m_buttonBar->GetSafeHwnd())
        m_buttonBar->ShowWindow(SW_HIDE);
    if (m_aboutPane)
        m_aboutPane->Deactivate();
    if (m_importPage)
        m_importPage->Deactivate();
    if (m_homePage)
        m_homePage->Deactivate();
}

void CStartPageManager::SelectPane(int pageId)
{
    CWidgetsDlg* dialog = GetMainDialog();
    switch (pageId) {
    case 16:
        if (m_homePage)
            m_homePage->Deactivate();
        if (m_aboutPane)
            m_aboutPane->Deactivate();
        if (m_importPage) {
            m_importPage->RenderWindows(0, 1, 1, 1, 1);
            m_importPage->Activate(1);
        }
        return;
    case 18:
        if (CWinApp* app = AfxGetApp())
            app->WinHelp(kTutorialHelp, HELP_CONTEXT);
        return;
    case 19:
        if (dialog && dialog->GetSafeHwnd())
            dialog->PostMessage(WM_CLOSE);
        return;
    default:
        break;
    }
    if (m_aboutPane)
        m_aboutPane->Deactivate();
    if (m_importPage)
        m_importPage->Deactivate();
    if (m_homePage)
        m_homePage->ActivatePage();
    if (dialog && dialog->GetSafeHwnd()) {
        dialog->ValidateRect(nullptr);
        dialog->SetFocus();
    }
    if (pageId == 15)
        SendAppCommand("type-projects");
    else if (pageId == 21)
        SendAppCommand("type-navbars");
}

CWinManagerBase* CStartPageManager::FirstActiveChild() const
{
    CWinManagerBase* children[] = {m_homePage, m_aboutPane, m_importPage};
    for (CWinManagerBase* child : children)
        if (child && child->IsActive())
            return child;
    return nullptr;
}

int CStartPageManager::HandleCommand(const CString& command)
{
    if (m_buttonBar && CommandStartsWith(command, "goto-import") && m_buttonBar->GetSelectedPage() != 16) {
        CString tail = command.Right(7);
        m_importPhotos = command.GetLength() >= 7 && tail.CompareNoCase("-photos") == 0;
        m_buttonBar->ActivatePage(16);
        SelectPane(16);
        return 1;
    }
    CWinManagerBase::HandleCommand(command);
    if (CommandStartsWith(command, "goto-init"))
        Activate(1);
    return 0;
}

int CStartPageManager::HandleMessage(CPanelMessage* message)
{
    if (!message)
        return 0;
    int x = 0, y = 0;
    message->GetParams(&x, &y);
    switch (message->GetKind()) {
    case 16:
        if (m_buttonBar && m_active) {
            m_buttonBar->ActivatePage(1);
            SelectPane(1);
        }
        // The click that ended the import is still a click.
        [[fallthrough]];
    case 1: {
        if (!m_buttonBar || !m_active)
            return 0;
        const int before = m_buttonBar->GetSelectedPage();
        const int now = m_buttonBar->Press(x, y);
        if (now == 18)
            m_buttonBar->ReselectPrevious();  // the tutorial opens help; the page stays
        if (now != before) {
            if (now == 16)
                m_importPhotos = 0;
            SelectPane(now);
        }
        CWinManagerBase* child = FirstActiveChild();
        return child ? child->HandleMessage(message) : 1;
    }
    case 3:
        if (!m_active)
            return 0;
        if (m_aboutPane && m_aboutPane->IsActive())
            m_aboutPane->HandleMessage(message);
        if (m_importPage && m_importPage->IsActive())
            m_importPage->HandleMessage(message);
        if (m_buttonBar)
            m_buttonBar->TrackHover(x, y);
        if (m_homePage)
            m_homePage->HandleMessage(message);
        return 1;
    case 4: {
        if (m_buttonBar)
            m_buttonBar->ShowAllPanes();
        CWinManagerBase* children[] = {m_homePage, m_aboutPane, m_importPage};
        for (CWinManagerBase* child : children)
            if (child && child->IsActive())
                child->HandleMessage(message);
        return 1;
    }
    case 5:
        if (m_buttonBar && m_homePage && m_aboutPane) {
            PlaceBar();
            m_homePage->HandleMessage(message);
            m_aboutPane->HandleMessage(message);
            if (m_importPage)
                m_importPage->HandleMessage(message);
        }
        return CWinManagerBase::HandleMessage(message);
    case 7: {
        const CKeyMessage* key = static_cast<const CKeyMessage*>(message);
        if (key->m_key == VK_TAB || key->m_key == VK_RETURN || key->m_key == VK_SPACE)
            return 1;
        if (key->m_key == 'N')
            SendAppCommand("type-navbars");
        else if (key->m_key >= VK_F2 && key->m_key <= VK_F12 && m_buttonBar) {
            const int id = m_buttonBar->PageForKey(key->m_key);
            if (id && id != m_buttonBar->GetSelectedPage()) {
                if (id != 18)
                    m_buttonBar->ActivatePage(id);
                if (id == 16)
                    m_importPhotos = 0;
                SelectPane(id);
                return 1;
            }
        }
        if (m_importPage)
            m_importPage->HandleMessage(message);
        if (m_homePage)
            m_homePage->HandleMessage(message);
        return CWinManagerBase::HandleMessage(message);
    }
    default:
        return CWinManagerBase::HandleMessage(message);
    }
}
