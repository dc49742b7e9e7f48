#include "app/HomePageManager.h"

#include "app/AppServices.h"
#include "panels/PanelMessage.h"
#include "app/PromptWnd.h"
#include "app/UIServices.h"
#include "app/VyButtonWindow.h"
#include "app/WidgetsDlg.h"
#include "app/widgets.h"
#include "gallery/StaticGallery.h"

#include <new>

CHomePageManager::CHomePageManager()
{
    m_backgroundAllowed = 1;
}

int CHomePageManager::Create(CWnd* parent, CWinManagerBase* owner, int, const CString& prompt,
                             const CString& galleryDocument, double left, double promptProportion, double panel)
{
    if (!parent || !owner)
        return 0;
    if (!CWinManagerBase::Create(parent, owner, left, promptProportion, panel))
        return 0;
    RECT promptArea, panelArea;
    GetRects(&promptArea, &panelArea, nullptr);
    if (parent->GetSafeHwnd()) {
        CPromptWnd* window = new (std::nothrow) CPromptWnd;
        if (!window)
            return 0;
        if (!window->Create(parent, promptArea, (UINT)-1, 0)) {
            delete window;
            return 0;
        }
        window->ShowWindow(SW_HIDE);
        window->LoadWebFile(GetRootPath() + prompt);
        m_prompt = window;
    }
    if (!galleryDocument.IsEmpty() && parent->GetSafeHwnd()) {
        CStaticGallery* gallery = new (std::nothrow) CStaticGallery(galleryDocument);
        if (!gallery)
            return 0;
        gallery->m_visible = 0;  // shown when the page is
        // A page that cannot be shown leaves the home page without its gallery; the start
        // buttons and keys still lead everywhere the gallery does.
        if (gallery->Create(parent, panelArea, 0xffff, SS_SIMPLE))
            m_panel = gallery;
        else
            delete gallery;
    }
    m_backgroundAllowed = 1;
    return 1;
}

bool CHomePageManager::HitTestRightNinth(POINT* screen, bool lower)
{
    if (!m_prompt || !m_prompt->GetSafeHwnd() || !screen)
        return false;
    RECT r;
    m_prompt->GetWindowRect(&r);
    r.left = r.right - (r.right - r.left) / 9;
    const int half = (int)(r.top + (r.bottom - r.top) * 0.5) - r.top;
    r.bottom = r.top + half;
    if (lower)
        OffsetRect(&r, 0, half);
    return ::PtInRect(&r, *screen) != 0;
}

int CHomePageManager::HitTestLowerRight(POINT* screen)
{
    VyButtonWindow* bar = CurrentButtonBar();
    if (!bar || bar->GetSelectedPage() != 1)
        return 0;
    return HitTestRightNinth(screen, true);
}

int CHomePageManager::HandleMessage(CPanelMessage* message)
{
    if (!message)
        return 0;
    int x = 0, y = 0;
    message->GetParams(&x, &y);
    POINT screen = {x, y};
    CStaticGallery* gallery = GetGallery();
    RECT galleryRect = {0, 0, 0, 0};
    if (gallery)
        gallery->GetWindowRect(&galleryRect);
    const bool inGallery = gallery && ::PtInRect(&galleryRect, screen);
    POINT inside = screen;
    if (gallery)
        gallery->ScreenToClient(&inside);
    switch (message->GetKind()) {
    case 1:
        if (!m_active)
            break;
        if (inGallery) {
            gallery->ForwardLButtonDown(MK_LBUTTON, inside);
            return 1;
        }
        if (HitTestUpperRight(&screen)) {
            ShowHelp();
            return 1;
        }
        if (HitTestLowerRight(&screen)) {
            CheckForUpdates();
            return 1;
        }
        break;
    case 2:
        if (m_active && inGallery) {
            gallery->ForwardRButtonDown(MK_RBUTTON, inside);
            return 1;
        }
        break;
    case 3: {
        if (!m_active || !gallery)
            break;
        CWidgetsDlg* dialog = GetMainDialog();
        CUIServices* services = dialog ? dialog->GetUIServices() : nullptr;
        VyButtonWindow* bar = CurrentButtonBar();
        if (HitTestUpperRight(&screen))
            SetHelpCursor();
        else if (bar && bar->IsOverButton(x, y))
            SetButtonCursor();
        else if (HitTestLowerRight(&screen))
            SetUpdateCursor();
        else if (!gallery->TrackHover(screen) && services)
            services->ReleaseCaptureCursor(0);
        return 1;
    }
    default:
        break;
    }
    return CWinManagerBase::HandleMessage(message);
}

int CHomePageManager::HandleCommand(const CString& command)
{
    return m_panel ? CWinManagerBase::HandleCommand(command) : 0;
}

void CHomePageManager::PlaceDialog(RECT* area, int redraw, int)
{
    if (!m_panel || !m_panel->GetSafeHwnd() || !area)
        return;
    m_panel->SetWindowPos((HWND)nullptr, area->left, area->top, area->right - area->left, area->bottom - area->top,
                          SWP_NOZORDER | SWP_SHOWWINDOW);
    if (redraw)
        ::RedrawWindow(m_panel->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    m_panel->ValidateRect(nullptr);
    if (CWidgetsDlg* dialog = GetMainDialog())
        if (dialog->GetSafeHwnd())
            dialog->ValidateRect(nullptr);
}

void CHomePageManager::Refresh(int prompt, int view, int background, int panel)
{
    if (prompt && m_prompt && m_prompt->GetSafeHwnd())
        ::RedrawWindow(m_prompt->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    (void)view;
    if ((panel || background) && GetGallery())
        GetGallery()->Redraw();
}

void CHomePageManager::RenderWindows(int showView, int prompt, int, int, int panel)
{
    if (prompt && m_prompt && m_prompt->GetSafeHwnd())
        m_prompt->Render(!showView, nullptr);
    if (panel && GetGallery())
        GetGallery()->SetRendererState(!showView);
}

CStaticGallery* CHomePageManager::GetGallery() const
{
    CStaticGallery* gallery = dynamic_cast<CStaticGallery*>(m_panel);
    return gallery && gallery->GetSafeHwnd() ? gallery : nullptr;
}
