#include "app/WinManagerBase.h"

#include "app/AppBackground.h"
#include "app/AppServices.h"
#include "app/CompactRendererInt.h"
#include "app/Errors.h"
#include "app/GraphicInfoDlg.h"
#include "panels/PanelMessage.h"
#include "app/Resource.h"
#include "app/TempFolder.h"
#include "app/UIServices.h"
#include "app/UpdateCheck.h"
#include "app/VyButtonWindow.h"
#include "app/WidgetsDlg.h"
#include "app/widgets.h"
#include "document/OperationsHandler.h"
#include "document/OperationsManager.h"
#include "document/Options.h"
#include "document/TemplateWnd.h"
#include "editors/GraphicMenu.h"
#include "panels/OptionsDlg.h"
#include "editors/PropertiesMenu.h"
#include "app/AppServiceAdapters.h"
#include "util/FileUtils.h"
#include "document/RenderRequest.h"
#include "navbar/NavBar.h"
#include "framework/win/Afxwin.h"

#include <algorithm>
#include <memory>

namespace {

CAppBackground* g_background = nullptr;
int g_liveManagers = 0;
UINT g_notifyActivate = 0;
void (*g_commandSink)(const CString&) = nullptr;
// Kept here as well as in the application, so that pages work under a plain test application.
CWinManagerBase* g_currentManager = nullptr;
VyButtonWindow* g_currentButtonBar = nullptr;

// The prompt stops growing and the panel moves down more slowly once the client area is this high.
const int kLayoutHeightLimit = 600;
const int kTileWidth = 44;
const int kTileHeight = 33;

CUIServices* UIServices()
{
    CWidgetsDlg* dialog = GetMainDialog();
    return dialog ? dialog->GetUIServices() : nullptr;
}

bool Live(CWnd* window)
{
    return window && window->GetSafeHwnd();
}

// Renders a window that draws a picture of its own: a document renderer window or the
// template preview; other windows are left alone.
void RenderRendererWindow(CWnd* window, int redraw)
{
    if (auto* renderer = dynamic_cast<CompactRendererInt*>(window))
        renderer->Render(redraw, nullptr);
    else if (auto* preview = dynamic_cast<CTemplateWnd*>(window))
        preview->Render(redraw, nullptr);
}

void WindowRectInParent(CWnd* window, CWnd* parent, RECT* rect)
{
    window->GetWindowRect(rect);
    if (parent && parent->GetSafeHwnd())
        ::MapWindowPoints(nullptr, parent->GetSafeHwnd(), (POINT*)rect, 2);
}

// Throws away every edit of the current graphic: the template is opened again and the style
// file the graphic came from is read once more; without that file the graphic stays as it was.
void UndoAllEdits()
{
    COptions* record = GetOptions();
    COperationsManager* operations = GetOperationsManager();
    if (!record || !operations)
        return;
    const COptions kept(*record);
    const bool navBarMode = operations->IsNavBarMode() != 0;
    CNavBar* bar = navBarMode ? GetManagerNavBar() : nullptr;
    if (bar)
        bar->SetCurrentState(0, 0, 0);
    record->SetModified(false);
    operations->OpenDocument(record->GetKiqPath(), 1, 1);
    record->SetDefaultShadow();
    record->SetModified(false);
    CString style = record->GetQTWFile();
    if (!CFileUtils::FileExists(style)) {
        const int slash = style.ReverseFind('\\');
        CString folder = record->GetStyleFolder();
        if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\')
            folder += "\\";
        style = folder + (slash >= 0 ? style.Mid(slash + 1) : style);
    }
    // Everything but the texture list of the graphic's background is read again.
    const StyleChangeMask allButBackground = (StyleChangeMask)0xffbfffffu;
    if (CFileUtils::FileExists(style) && record->LoadStyleFile(style, allButBackground, -1, kLoadUserWork)) {
        record->SetQTWFile(style);
        operations->NotifyChanged(record, 1, allButBackground);
        if (bar)
            bar->UpdateMenuColours();
    } else {
        *record = kept;
        operations->NotifyChanged(record, 1, kChangeAll);
    }
    RenderPreview(1, 1);
}

// Draws a corner tile (the top-left 43 by 31 pixels of its bitmap) and keeps the background off it.
void DrawTile(HDC dc, int bitmapId, int left, int top)
{
    const int width = 43, height = 31;
    HBITMAP bitmap = (HBITMAP)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                           LR_DEFAULTCOLOR);
    if (!bitmap)
        return;
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(dc, left, top, width, height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
    ::ExcludeClipRect(dc, left, top, left + width, top + height);
}

}  // namespace

CWaitCursorGuard::CWaitCursorGuard(bool enable) : CWaitCursorGuard(enable, 1) {}

CWaitCursorGuard::CWaitCursorGuard(bool enable, int cursorId) : m_services(enable ? UIServices() : nullptr)
{
    if (!m_services)
        return;
    if (cursorId == 1)
        m_services->BeginWaitCursor();
    else
        m_services->SetCaptureCursor(cursorId);
}

CWaitCursorGuard::~CWaitCursorGuard()
{
    if (m_services)
        m_services->ReleaseCaptureCursor(0);
}

bool CommandStartsWith(const CString& command, const char* word)
{
    const int length = (int)strlen(word);
    return command.GetLength() >= length && strncmp(command, word, length) == 0;
}

bool CommandEndsWith(const CString& command, const char* word)
{
    const int length = (int)strlen(word);
    const int total = command.GetLength();
    return total >= length && strcmp((const char*)command + (total - length), word) == 0;
}

CWinManagerBase::CWinManagerBase()
    : m_releaseRendererOnHide(1), m_helpContext(100), m_secondHelpContext(100), m_suppressNextHelp(0),
      m_active(0), m_owner(nullptr), m_parent(nullptr), m_prompt(nullptr), m_panel(nullptr),
      m_leftProportion(0), m_promptProportion(0), m_panelProportion(0), m_panelWidth(-1), m_panelHeight(-1),
      m_backgroundAllowed(1)
{
    if (!g_notifyActivate)
        g_notifyActivate = ::RegisterWindowMessageA("QuorNotifyActivate");
    ++g_liveManagers;
}

CWinManagerBase::~CWinManagerBase()
{
    DestroyWindows();
    if (g_currentManager == this)
        SetCurrentManager(nullptr);
    if (--g_liveManagers == 0 && g_background) {
        if (g_background->GetSafeHwnd())
            g_background->DestroyWindow();
        delete g_background;
        g_background = nullptr;
    }
}

void CWinManagerBase::DestroyWindows()
{
    if (m_prompt) {
        if (!m_releaseRendererOnHide)
            m_prompt->ReleaseRenderer();
        if (m_prompt->GetSafeHwnd())
            m_prompt->DestroyWindow();
        delete m_prompt;
        m_prompt = nullptr;
    }
    if (m_panel) {
        if (m_panel->GetSafeHwnd())
            m_panel->DestroyWindow();
        delete m_panel;
        m_panel = nullptr;
    }
}

CWidgetsApp* CWinManagerBase::Application()
{
    return dynamic_cast<CWidgetsApp*>(AfxGetApp());
}

void CWinManagerBase::SetCommandSink(void (*sink)(const CString& command))
{
    g_commandSink = sink;
}

void CWinManagerBase::SendAppCommand(const CString& command)
{
    if (g_commandSink)
        g_commandSink(command);
    else if (CWidgetsApp* app = Application())
        app->SendCommand(command);
}

CWinManagerBase* CWinManagerBase::CurrentManager()
{
    return g_currentManager;
}

void CWinManagerBase::SetCurrentManager(CWinManagerBase* manager)
{
    g_currentManager = manager;
    if (CWidgetsApp* app = Application())
        app->m_currentManager = manager;
}

VyButtonWindow* CWinManagerBase::CurrentButtonBar()
{
    return g_currentButtonBar;
}

void CWinManagerBase::SetCurrentButtonBar(VyButtonWindow* bar)
{
    g_currentButtonBar = bar;
    if (CWidgetsApp* app = Application())
        app->m_buttonBar = bar;
}

CAppBackground* CWinManagerBase::GetBackgroundWindow() { return g_background; }
int CWinManagerBase::GetLiveCount() { return g_liveManagers; }
UINT CWinManagerBase::GetNotifyActivateMessage() { return g_notifyActivate; }

bool CWinManagerBase::IsMainDialogUsable() const
{
    CWidgetsDlg* dialog = GetMainDialog();
    return dialog && dialog->GetSafeHwnd();
}

void CWinManagerBase::MakeCurrent()
{
    SetCurrentManager(this);
}

int CWinManagerBase::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel)
{
    m_parent = parent;
    m_owner = owner;
    DestroyWindows();
    m_leftProportion = left;
    m_promptProportion = prompt;
    m_panelProportion = panel;
    if (!g_background && m_backgroundAllowed && IsMainDialogUsable()) {
        CAppBackground* background = new (std::nothrow) CAppBackground;
        if (!background)
            return 0;
        RECT area;
        GetRects(nullptr, &area, nullptr);
        if (!background->Create(GetMainDialog(), area, (UINT)-1)) {
            delete background;
            return 0;
        }
        g_background = background;
        background->Render(1, nullptr);
        background->ShowWindow(SW_HIDE);
    }
    return 1;
}

void CWinManagerBase::ComputeRects(const RECT& client, double left, double prompt, double panel, bool haveView,
                                   RECT* promptRect, RECT* panelRect, RECT* viewRect)
{
    const int height = client.bottom - client.top;
    RECT p = {(int)((client.right - client.left) * left), client.top, client.right,
              (int)(std::min(height, kLayoutHeightLimit) * prompt)};
    RECT q;
    q.top = height < kLayoutHeightLimit ? (int)(height * panel)
                                        : (int)((height - kLayoutHeightLimit) * 0.75 + panel * kLayoutHeightLimit);
    q.bottom = client.bottom;
    q.left = promptRect ? p.left : client.left;
    q.right = client.right;
    RECT v = {q.left, promptRect ? p.bottom : client.top, client.right, panelRect ? q.top : client.bottom};
    if (!haveView && promptRect && panelRect)
        q.top = p.bottom;
    if (promptRect)
        *promptRect = p;
    if (panelRect)
        *panelRect = q;
    if (viewRect)
        *viewRect = v;
}

void CWinManagerBase::GetRects(RECT* prompt, RECT* panel, RECT* view)
{
    RECT client = {0, 0, 0, 0};
    if (Live(m_parent))
        m_parent->GetClientRect(&client);
    else if (IsMainDialogUsable())
        GetMainDialog()->GetClientRect(&client);
    ComputeRects(client, m_leftProportion, m_promptProportion, m_panelProportion, GetViewWindow() != nullptr,
                 prompt, panel, view);
}

CWnd* CWinManagerBase::GetViewWindow()
{
    COperationsManager* operations = GetOperationsManager();
    if (!operations || !operations->GetCurrentHandler())
        return nullptr;
    CWnd* view = operations->GetCurrentHandler()->GetPreviewWindow();
    return Live(view) ? view : nullptr;
}

void CWinManagerBase::NotifyActivate(int active)
{
    CWnd* view = GetViewWindow();
    if (!view)
        return;
    struct Notify {
        static BOOL CALLBACK Each(HWND window, LPARAM active)
        {
            ::SendMessageA(window, g_notifyActivate, (WPARAM)active, 0);
            return TRUE;
        }
    };
    ::EnumChildWindows(view->GetSafeHwnd(), &Notify::Each, (LPARAM)active);
}

void CWinManagerBase::Activate(int)
{
    if (CUIServices* services = UIServices())
        services->ReleaseCaptureCursor(0);
    if (m_active)
        return;
    MakeCurrent();
    m_active = 1;
    RECT prompt, panel, view;
    GetRects(&prompt, &panel, &view);
    if (Live(m_prompt)) {
        m_prompt->SetWindowPos((HWND)nullptr, prompt.left, prompt.top, prompt.right - prompt.left,
                               prompt.bottom - prompt.top, SWP_NOZORDER | SWP_SHOWWINDOW);
        ::RedrawWindow(m_prompt->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    if (CWnd* viewWindow = GetViewWindow()) {
        viewWindow->SetWindowPos((HWND)nullptr, view.left, view.top, view.right - view.left, view.bottom - view.top,
                                 SWP_NOZORDER | SWP_SHOWWINDOW);
        ::RedrawWindow(viewWindow->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    NotifyActivate(1);
    if (Live(m_panel)) {
        COptionsDlg* dialogPanel = dynamic_cast<COptionsDlg*>(m_panel);
        if (dialogPanel && !dialogPanel->OnActivatePanel()) {
            // The panel refuses: the page stays without it and the pages go back to the one
            // shown before.
            CActivateMessage refused;
            if (CWidgetsDlg* dialog = GetMainDialog())
                if (CWinManagerBase* top = dialog->GetTopLevelManager())
                    top->HandleMessage(&refused);
            return;
        }
        PlaceDialog(&panel, 0, 0);
        PaintBackground();
        m_panel->ShowWindow(SW_SHOWNORMAL);
        if (dialogPanel)
            dialogPanel->SetInitialFocus();
        ::RedrawWindow(m_panel->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    } else {
        PaintBackground();
    }
}

void CWinManagerBase::Deactivate()
{
    if (!m_active)
        return;
    m_active = 0;
    if (Live(m_prompt)) {
        m_prompt->ShowWindow(SW_HIDE);
        if (m_releaseRendererOnHide)
            m_prompt->ReleaseRenderer();
    }
    if (Live(m_panel)) {
        m_panel->ShowWindow(SW_HIDE);
        if (COptionsDlg* dialogPanel = dynamic_cast<COptionsDlg*>(m_panel))
            dialogPanel->OnDeactivatePanel();
    }
    NotifyActivate(0);
}

void CWinManagerBase::Relayout()
{
    if (!m_active)
        return;
    RECT prompt, panel, view;
    GetRects(&prompt, &panel, &view);
    CWnd* viewWindow = GetViewWindow();
    bool changed = viewWindow == nullptr;
    if (viewWindow) {
        RECT client;
        viewWindow->GetClientRect(&client);
        if (client.right != view.right - view.left || client.bottom != view.bottom - view.top) {
            viewWindow->SetWindowPos((HWND)nullptr, view.left, view.top, view.right - view.left, view.bottom - view.top,
                                     SWP_NOZORDER | SWP_SHOWWINDOW);
            ::RedrawWindow(viewWindow->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            changed = true;
        }
    }
    if (changed && Live(m_panel))
        PlaceDialog(&panel, 1, 1);
}

void CWinManagerBase::PlaceDialog(RECT* area, int redraw, int moveFirst)
{
    if (!Live(m_panel) || !area)
        return;
    if (m_panelWidth < 0 || m_panelHeight < 0) {
        RECT own;
        m_panel->GetWindowRect(&own);
        m_panelWidth = own.right - own.left;
        m_panelHeight = own.bottom - own.top;
    }
    const int left = std::max((int)area->left, (int)(area->left + ((area->right - area->left) >> 1) - (m_panelWidth >> 1)));
    const int top = std::max((int)area->top, (int)(area->top + ((area->bottom - area->top) >> 1) - (m_panelHeight >> 1)));
    m_panel->SetWindowPos((HWND)nullptr, left, top, m_panelWidth, m_panelHeight, SWP_NOZORDER | SWP_NOREDRAW);
    if (g_background && m_backgroundAllowed && g_background->GetSafeHwnd()) {
        RECT previous;
        WindowRectInParent(g_background, GetMainDialog(), &previous);
        g_background->ModifyStyle(0, WS_CHILD);
        g_background->SetWindowPos((HWND)nullptr, area->left, area->top, area->right - area->left,
                                   area->bottom - area->top, SWP_NOZORDER | SWP_HIDEWINDOW);
        if (!EqualRect(&previous, area))
            g_background->SetSize(area->right - area->left, area->bottom - area->top);
        if (IsMainDialogUsable() && m_active && redraw) {
            if (!moveFirst)
                m_panel->SetWindowPos((HWND)nullptr, left, top, m_panelWidth, m_panelHeight, SWP_NOZORDER | SWP_NOREDRAW);
            PaintBackground();
        }
    }
    if (m_active) {
        m_panel->SetWindowPos((HWND)nullptr, left, top, m_panelWidth, m_panelHeight, SWP_NOZORDER | SWP_SHOWWINDOW);
        if (redraw)
            ::RedrawWindow(m_panel->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_panel->ValidateRect(nullptr);
        if (IsMainDialogUsable())
            GetMainDialog()->ValidateRect(nullptr);
    } else {
        m_panel->SetWindowPos((HWND)nullptr, left, top, m_panelWidth, m_panelHeight, SWP_NOZORDER | SWP_FRAMECHANGED);
    }
}

void CWinManagerBase::RefreshBackground()
{
    if (!m_active || !Live(m_panel) || !g_background)
        return;
    g_background->Render(1, nullptr);
    RECT panel;
    GetRects(nullptr, &panel, nullptr);
    PlaceDialog(&panel, 1, 0);
    if (IsMainDialogUsable())
        GetMainDialog()->ValidateRect(nullptr);
}

void CWinManagerBase::PaintBackground()
{
    CWidgetsDlg* dialog = GetMainDialog();
    // A page without a panel (its panel class is not part of the program) still shows the
    // background over the panel area, instead of what an earlier page left there.
    if (!dialog || !dialog->GetSafeHwnd() || dialog->IsIconic() || !m_backgroundAllowed || !g_background ||
        !g_background->GetSafeHwnd())
        return;
    RECT area, current;
    // The panel area as the page lays it out (right of the button bar), the same that
    // PlaceDialog gives the background: a different one would move and re-render it each time.
    RECT promptArea;
    GetRects(&promptArea, &area, nullptr);
    WindowRectInParent(g_background, dialog, &current);
    if (!EqualRect(&current, &area)) {
        g_background->SetWindowPos((HWND)nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                                   SWP_NOZORDER | SWP_HIDEWINDOW);
        g_background->Render(1, nullptr);
    }
    CClientDC dc(dialog);
    if (Live(m_panel) && m_panel->IsWindowVisible()) {
        RECT panelRect;
        WindowRectInParent(m_panel, dialog, &panelRect);
        ::ExcludeClipRect(dc.GetSafeHdc(), panelRect.left, panelRect.top, panelRect.right, panelRect.bottom);
    }
    if (HasRevertButton())
        DrawTile(dc.GetSafeHdc(), IDB_REVERT_TILE, area.left + 1, area.bottom - 33);
    if (HasStyleButton())
        DrawTile(dc.GetSafeHdc(), IDB_STYLE_TILE, area.right - 45, area.bottom - 33);
    g_background->Blit(&dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0,
                       area.right - area.left, area.bottom - area.top);
}

int CWinManagerBase::HitTestUpperRight(POINT* screen)
{
    if (!Live(m_prompt) || !IsMainDialogUsable() || !screen)
        return 0;
    RECT r;
    m_prompt->GetWindowRect(&r);
    r.left = r.right - (r.right - r.left) / 9;
    return ::PtInRect(&r, *screen);
}

int CWinManagerBase::HitTestLowerRight(POINT*) { return 0; }

void CWinManagerBase::ShowHelp()
{
    if (CWinApp* app = AfxGetApp())
        app->WinHelp((DWORD_PTR)m_helpContext, HELP_CONTEXT);
}

void CWinManagerBase::SetHelpCursor()
{
    if (CUIServices* services = UIServices())
        services->SetCaptureCursor(165);
}

void CWinManagerBase::CheckForUpdates()
{
    if (CWidgetsDlg* dialog = GetMainDialog())
        dialog->ShowUpdateCheck(CUpdateCheckDlg::kModeVersion, 1);
}

void CWinManagerBase::SetUpdateCursor()
{
    if (CUIServices* services = UIServices())
        services->SetCaptureCursor(136);
}

int CWinManagerBase::HitTestStyleButton(RECT* panelArea, POINT* client)
{
    if (!HasStyleButton() || !panelArea || !client)
        return 0;
    RECT tile = {panelArea->right - 45, panelArea->bottom - 33, panelArea->right - 1, panelArea->bottom - 1};
    return ::PtInRect(&tile, *client);
}

void CWinManagerBase::SetStyleCursor()
{
    if (CUIServices* services = UIServices())
        services->SetCaptureCursor(199);
}

void CWinManagerBase::SetButtonCursor()
{
    if (CUIServices* services = UIServices())
        services->SetCaptureCursor(136);
}

void CWinManagerBase::RenderWindows(int showView, int prompt, int view, int background, int panel)
{
    if (panel && Live(m_panel))
        if (COptionsDlg* dialogPanel = dynamic_cast<COptionsDlg*>(m_panel))
            dialogPanel->PositionBackground(false);
    if (prompt && Live(m_prompt))
        m_prompt->Render(!showView, nullptr);
    if (view)
        if (CWnd* viewWindow = GetViewWindow(); viewWindow && viewWindow->GetSafeHwnd())
            RenderRendererWindow(viewWindow, showView);
    if (background && g_background && g_background->GetSafeHwnd())
        g_background->Render(!showView, nullptr);
}

void CWinManagerBase::Refresh(int prompt, int view, int background, int panel)
{
    if (panel && Live(m_panel))
        ::RedrawWindow(m_panel->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (view)
        if (CWnd* viewWindow = GetViewWindow())
            ::RedrawWindow(viewWindow->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (background)
        PaintBackground();
    if (prompt && Live(m_prompt))
        ::RedrawWindow(m_prompt->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CWinManagerBase::RenderWindow(CWnd* window)
{
    RenderRendererWindow(window, 0);
}

namespace {

// The point (screen) lies in the current button bar's client area.
bool OverButtonBar(POINT screen)
{
    VyButtonWindow* bar = CWinManagerBase::CurrentButtonBar();
    if (!bar || !bar->GetSafeHwnd())
        return false;
    RECT rect;
    bar->GetClientRect(&rect);
    bar->ClientToScreen(&rect);
    return ::PtInRect(&rect, screen) != 0;
}

}  // namespace

int CWinManagerBase::HandleMessage(CPanelMessage* message)
{
    if (!message)
        return 0;
    RECT prompt, panel, view;
    GetRects(&prompt, &panel, &view);
    const int kind = message->GetKind();
    const bool live = m_active && m_prompt;
    int x = 0, y = 0;
    message->GetParams(&x, &y);
    POINT screen = {x, y};
    POINT client = screen;
    if (IsMainDialogUsable())
        GetMainDialog()->ScreenToClient(&client);
    const bool inView = client.x >= view.left && client.x <= view.right && client.y >= view.top && client.y <= view.bottom;
    const bool inRevertTile = client.x >= panel.left + 1 && client.x <= panel.left + 45 && client.y >= panel.bottom - 33;
    switch (kind) {
    case 1:
        if (!live)
            return 0;
        if (HitTestUpperRight(&screen))
            ShowHelp();
        if (inView && GetGraphicMenu())
            GetGraphicMenu()->StartDrag(x, y);
        if (inRevertTile)
            SendAppCommand("revive");
        if (client.x >= panel.right - 45 && client.x <= panel.right - 1 && client.y >= panel.bottom - 33 &&
            HasStyleButton()) {
            COptionsDlg* dialogPanel = dynamic_cast<COptionsDlg*>(m_panel);
            if (!dialogPanel)
                return 0;
            POINT corner = {panel.right - 1, panel.bottom - 33};
            if (IsMainDialogUsable())
                GetMainDialog()->ClientToScreen(&corner);
            if (CPropertiesMenu* menu = GetPropertiesMenu())
                menu->Show(corner.x, corner.y, dialogPanel);
        }
        return 1;
    case 2:
        if (!live)
            return 0;
        if (inView && GetGraphicMenu()) {
            COptions* record = GetOptions();
            GetGraphicMenu()->Show(client.x, client.y, record && record->GetGraphicType() == kGraphicPicture);
        }
        return 1;
    case 3: {
        if (!live)
            return 0;
        CUIServices* services = UIServices();
        if (HitTestUpperRight(&screen))
            SetHelpCursor();
        else if (HitTestStyleButton(&panel, &client))
            SetStyleCursor();
        else if (OverButtonBar(screen)) {
            VyButtonWindow* bar = CurrentButtonBar();
            if (bar->IsOverButton(x, y))
                SetButtonCursor();
            else if (services)
                services->ReleaseCaptureCursor(0);
        } else if (HasRevertButton() && inRevertTile) {
            if (services)
                services->SetCaptureCursor(177);
        } else if (services)
            services->ReleaseCaptureCursor(0);
        return 1;
    }
    case 5: {
        if (Live(m_prompt) && prompt.right > prompt.left) {
            m_prompt->SetWindowPos((HWND)nullptr, prompt.left, prompt.top, prompt.right - prompt.left,
                                   prompt.bottom - prompt.top, SWP_NOZORDER | SWP_NOREDRAW);
            ::RedrawWindow(m_prompt->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        CWnd* viewWindow = GetViewWindow();
        if (m_active && viewWindow && view.right > view.left)
            viewWindow->SetWindowPos((HWND)nullptr, view.left, view.top, view.right - view.left, view.bottom - view.top,
                                     SWP_NOZORDER | SWP_NOREDRAW);
        if (Live(m_panel) && panel.right > panel.left)
            PlaceDialog(&panel, 1, 1);
        return 0;
    }
    case 7: {
        if (!live)
            return 0;
        const CKeyMessage* key = static_cast<const CKeyMessage*>(message);
        if (key->m_key == VK_F1 && key->m_modifier == 0) {
            if (!m_suppressNextHelp)
                ShowHelp();
            m_suppressNextHelp = 0;
        } else if (key->m_key == 'C' && key->m_modifier == VK_CONTROL) {
            HWND focus = ::GetFocus();
            char name[16] = "";
            if (focus)
                ::GetClassNameA(focus, name, sizeof name);
            DWORD start = 0, end = 0;
            if (focus && _stricmp(name, "Edit") == 0)
                ::SendMessageA(focus, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
            if (start != end)
                ::SendMessageA(focus, WM_COPY, 0, 0);
            else if (GetPreviewPixels() && GetGraphicMenu())
                GetGraphicMenu()->CopyBitmapToClipboard();
        }
        return 1;
    }
    case 8:
        if (!live)
            return 0;
        if (GetGraphicMenu())
            GetGraphicMenu()->CopyBitmapToClipboard();
        return 1;
    case 9:
        if (!live)
            return 0;
        if (GetGraphicMenu())
            GetGraphicMenu()->CopyFileNameToClipboard();
        return 1;
    case 10:
        if (!live)
            return 0;
        ShowGraphicInfo(GetOptions(), GetMainDialog());
        return 1;
    case 11: {
        if (!live)
            return 0;
        {
            CWaitCursorGuard wait;
            UndoAllEdits();
        }
        COptionsDlg* dialogPanel = dynamic_cast<COptionsDlg*>(m_panel);
        if (dialogPanel && !dialogPanel->OnActivatePanel() && GetType() == 11)
            SendAppCommand("goto-designs");
        return 1;
    }
    case 18: {
        if (!live)
            return 0;
        COptions* record = GetOptions();
        if (!record) {
            BW_INTERNAL_ERROR("WinManagerBase.cpp");
            return 0;
        }
        // The style-properties menu lists the current graphic as it is now.
        const CString path = GetUserStyleFilePath();
        record->SaveStyleFile(path, false, false);
        if (CPropertiesMenu* menu = GetPropertiesMenu())
            menu->SetStyleFile(path);
        return 1;
    }
    default:
        return 0;
    }
}

int CWinManagerBase::HandleCommand(const CString& command)
{
    if (!CommandStartsWith(command, "set focus") || !m_active || !Live(m_panel))
        return 0;
    if (COptionsDlg* dialogPanel = dynamic_cast<COptionsDlg*>(m_panel))
        dialogPanel->SetInitialFocus();
    else
        m_panel->SetFocus();
    ::RedrawWindow(m_panel->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 1;
}
