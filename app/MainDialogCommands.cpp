#include "app/MainDialogCommands.h"

#include "app/AboutDlg.h"
#include "app/Errors.h"
#include "app/HelpTipWnd.h"
#include "app/MainWinManager.h"
#include "panels/PanelMessage.h"
#include "app/Resource.h"
#include "app/TopLevelManager.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "util/Registry.h"
#include "app/widgets.h"
#include "document/OperationsManager.h"
#include "document/Options.h"
#include "gallery/AutoGenerateTemplates.h"

#include <windows.h>

namespace {

const int kModifierShift = 16;
const int kModifierControl = 17;
const int kModifierAlt = 18;
// Virtual-key codes from here on are not the pages' business.
const UINT kFirstSwallowedKey = 0x7C;

const UINT kRegenerateQuestion = 32845;  // "It may take some time to generate templates..."
const UINT kLabelGenerate = 32917;       // "&Generate templates"
const UINT kLabelCancel = 32916;         // "&Cancel"
const UINT kTypeUpdateQuestion = 33271;  // "Do you want to run the TWT Update code after auto generating?"
const UINT kWhatsThis = 33033;           // "&What's This?"
const int kDefaultWidth = 800;
const int kDefaultHeight = 600;
const int kNavBarsPageType = 11;

int ScanCode(LPARAM lParam)
{
    return (int)((lParam >> 16) & 0xFF);
}

CKeyRoute Key(int key, int modifier)
{
    CKeyRoute route = {};
    route.handled = route.sendKey = true;
    route.key = key;
    route.modifier = modifier;
    return route;
}

// What a key message does before the tail: a route, or nothing (the tail decides).
bool RouteKeyDown(UINT message, UINT key, LPARAM lParam, bool haveManager, CKeyRouteState& state, CKeyRoute& route)
{
    const int scan = ScanCode(lParam);
    if (message == WM_SYSKEYDOWN) {
        if (key == VK_F4) {
            route = CKeyRoute();
            route.handled = route.close = true;
            return true;
        }
        if (key == 'M' || key == 'S')
            route = Key((int)key, kModifierAlt);
        else if (key == VK_F10)
            route = Key(VK_F10, scan);
        else
            return false;
        return haveManager;
    }
    if (message != WM_KEYDOWN)
        return false;
    if (key == VK_CONTROL) {
        *state.controlDown = 1;
        return false;
    }
    if (key == VK_SHIFT)
        *state.shiftDown = 1;
    if (key == VK_TAB && *state.shiftDown)
        route = Key(VK_TAB, kModifierShift);
    else if ((key == 'Z' || key == 'C') && *state.controlDown)
        route = Key((int)key, kModifierControl);
    else if (key >= kFirstSwallowedKey) {
        route = CKeyRoute();
        route.handled = true;
        return true;
    } else
        route = Key((int)key, scan);
    return haveManager;
}

}  // namespace

CKeyRoute RouteMainDialogKey(UINT message, WPARAM wParam, LPARAM lParam, bool haveManager, CKeyRouteState& state)
{
    CKeyRoute route = {};
    if (RouteKeyDown(message, (UINT)wParam, lParam, haveManager, state, route))
        return route;
    route = CKeyRoute();
    // The tail.
    if (message == WM_KEYUP) {
        if (wParam == VK_SHIFT)
            *state.shiftDown = 0;
        else if (wParam == VK_CONTROL)
            *state.controlDown = 0;
        else if (wParam >= VK_F2 && wParam <= VK_F10)
            route.handled = true;
    }
    // A burst of font changes (one per font installed) gives one command.
    if (message == WM_FONTCHANGE) {
        route.fontChanged = !state.lastWasFontChange;
        state.lastWasFontChange = true;
    } else {
        state.lastWasFontChange = false;
    }
    return route;
}

std::unique_ptr<CPanelMessage> MakeMenuCommandMessage(UINT id)
{
    switch (id) {
    case ID_MAIN_HELP:
        return std::unique_ptr<CPanelMessage>(new CKeyMessage(VK_F1, 0));
    case ID_GRAPHIC_COPY_BITMAP:
        return std::unique_ptr<CPanelMessage>(new CCopyBitmapMessage);
    case ID_GRAPHIC_COPY_FILE_NAME:
        return std::unique_ptr<CPanelMessage>(new CCopyFileNameMessage);
    case ID_GRAPHIC_UNDO_ALL_EDITS:
        return std::unique_ptr<CPanelMessage>(new CUndoAllEditsMessage);
    case ID_GRAPHIC_CREATE_STYLE:
        return std::unique_ptr<CPanelMessage>(new CCommandMessage);
    case ID_GRAPHIC_INFORMATION:
        return std::unique_ptr<CPanelMessage>(new CGraphicInfoMessage);
    default:
        return nullptr;
    }
}

void ResetDontShowAgainBoxes()
{
    HKEY options = OpenOptionsKey();
    if (!options)
        return;
    SetRegDWORD(options, "ShowIEMenuWarning", 0);
    SetRegDWORD(options, "AutoSizePhoto", 0);
    SetRegDWORD(options, "SaveInfoDialog", 0);
    SetRegDWORD(options, "ShowPhotoOptionsLossWarning", 1);
    CloseRegKey(options);
}

namespace {

// The main dialog's help tip, made on first use and kept for the program's life.
CHelpTipWnd& HelpTip()
{
    static CHelpTipWnd tip;
    if (!tip.GetSafeHwnd())
        tip.Create();
    return tip;
}

}  // namespace

// ---- The main dialog ----

BOOL CWidgetsDlg::PreTranslateMessage(MSG* msg)
{
    if (!msg)
        return 0;
    static bool lastWasFontChange = false;
    CKeyRouteState state = {&m_shiftDown, &m_controlDown, lastWasFontChange};
    const CKeyRoute route = RouteMainDialogKey(msg->message, msg->wParam, msg->lParam, m_topLevelManager != nullptr, state);
    lastWasFontChange = state.lastWasFontChange;
    if (route.close)
        SendMessage(WM_CLOSE);
    if (route.sendKey && m_topLevelManager) {
        CKeyMessage key(route.key, route.modifier);
        m_topLevelManager->HandleMessage(&key);
    }
    if (route.fontChanged)
        SendCommand("fontchanged");
    if (route.handled)
        return 1;
    return CDialog::PreTranslateMessage(msg);
}

void CWidgetsDlg::OnMenuCommand(UINT id)
{
    std::unique_ptr<CPanelMessage> message = MakeMenuCommandMessage(id);
    if (message && m_topLevelManager)
        m_topLevelManager->HandleMessage(message.get());
}

void CWidgetsDlg::OnFontChange()
{
    SendCommand("fontchanged");
}

BOOL CWidgetsDlg::OnHelpInfo(HELPINFO* info)
{
    if (info && info->iContextType == HELPINFO_WINDOW && info->iCtrlId == 0) {
        AfxGetApp()->WinHelp(info->dwContextId, HELP_CONTEXT);
        return TRUE;
    }
    return CDialog::OnHelpInfo(info);
}

void CWidgetsDlg::OnContextMenu(CWnd*, CPoint point)
{
    POINT screen = {point.x, point.y};
    HWND control = ::WindowFromPoint(screen);
    if (control && ::GetDlgCtrlID(control) == 0) {
        POINT client = screen;
        ::ScreenToClient(control, &client);
        HWND child = ::ChildWindowFromPointEx(control, client, CWP_SKIPINVISIBLE);
        control = child != control ? child : nullptr;
    }
    if (!control || ::GetDlgCtrlID(control) == 0)
        return;
    const UINT helpString = GetHelpContext(::GetDlgCtrlID(control));
    CString help;
    // A control whose text the string table lacks offers no empty tip.
    if (!helpString || !help.LoadString(helpString) || help.IsEmpty())
        return;
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return;
    CString label;
    label.LoadString(kWhatsThis);
    ::AppendMenuA(menu, MF_STRING, 1, label);
    const UINT chosen = (UINT)::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x,
                                               screen.y, 0, control, nullptr);
    ::DestroyMenu(menu);
    if (chosen == 1) {
        POINT cursor = {0, 0};
        ::GetCursorPos(&cursor);
        HelpTip().ShowTip(help, cursor.x, cursor.y);
    }
}

void CWidgetsDlg::RegenerateTemplates()
{
    if (InformWarning(kRegenerateQuestion, kLabelGenerate, kLabelCancel, 0, 0, 1, 2) != 1)
        return;
    if (m_uiServices)
        m_uiServices->BeginWaitCursor();
    const bool updateTypes = InformPlain(kTypeUpdateQuestion, IDS_LABEL_YES, IDS_LABEL_NO, 0, 0, 1, 2) == 1;
    CString title;
    title.LoadString(IDS_GENERATING);
    SetWindowText(title);
    auto* app = dynamic_cast<CWidgetsApp*>(AfxGetApp());
    const CString templates = app ? app->GetTemplatesFolder(true, true, false) : CString();
    {
        CAutoGenerateTemplates generator;
        generator.GenerateFolder(templates, m_operationsManager, m_options, this, 0);
        if (updateTypes)
            generator.CheckTypeFiles();
    }
    auto* topLevel = dynamic_cast<CTopLevelManager*>(m_topLevelManager);
    if (topLevel && topLevel->GetMainManager())
        topLevel->GetMainManager()->HandleCommand("recachesearchgallerylists");
    UpdateTitle();
    if (m_options) {
        m_options->SetFlags(m_options->GetFlags() & ~1);
        if (app)
            m_options->LoadStyleFile(app->GetRootPath() + "SysResources\\Graphics\\donegen.qtw", kChangeAll, -1,
                                     kLoadTemplateStyle);
        if (m_operationsManager)
            m_operationsManager->NotifyChanged(m_options, 1, (DWORD)-1);
    }
    if (m_uiServices)
        m_uiServices->ReleaseCaptureCursor(0);
}

void CWidgetsDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    // Keys typed on the navigation bars page belong to the dialog after the menu closes.
    auto* topLevel = dynamic_cast<CTopLevelManager*>(m_topLevelManager);
    CMainWinManager* mainManager = topLevel ? topLevel->GetMainManager() : nullptr;
    if (mainManager && mainManager->GetCurrentPage() && mainManager->GetCurrentPage()->GetType() == kNavBarsPageType)
        SetFocus();

    const UINT command = id & 0xFFF0;
    CMenu* systemMenu = GetSystemMenu(FALSE);
    switch (command) {
    case IDM_ABOUTBOX:
        {
            CAboutDlg about(this);
            about.DoModal();
        }
        PaintNow();
        break;
    case IDM_DEFAULT_SIZE:
        if (!IsZoomed() && !IsIconic()) {
            RECT window;
            GetWindowRect(&window);
            SetWindowPos((HWND)nullptr, window.left, window.top, kDefaultWidth, kDefaultHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    case IDM_RESET_DONT_SHOW:
        ResetDontShowAgainBoxes();
        break;
    case kSysCommandRegenerate:
        RegenerateTemplates();
        break;
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
        if (systemMenu)
            systemMenu->EnableMenuItem(IDM_DEFAULT_SIZE, MF_BYCOMMAND | MF_GRAYED);
        break;
    case SC_RESTORE:
        if (systemMenu)
            systemMenu->EnableMenuItem(IDM_DEFAULT_SIZE, MF_BYCOMMAND | MF_ENABLED);
        break;
    default:
        break;
    }
    CDialog::OnSysCommand(id, lParam);
}
