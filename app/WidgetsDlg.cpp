#include "app/WidgetsDlg.h"

#include "app/CompactRendererInt.h"
#include "app/Errors.h"
#include "app/MainDialogCommands.h"
#include "panels/PanelMessage.h"
#include "app/Resource.h"
#include "app/TopLevelManager.h"
#include "app/UIServices.h"
#include "app/UpdateCheck.h"
#include "app/UpdateResultDlg.h"
#include "app/WindowPlacement.h"
#include "app/widgets.h"
#include "bitmap/Dib.h"
#include "document/RenderRequest.h"
#include "document/OperationsManager.h"
#include "document/Options.h"

#include <new>

IMPLEMENT_DYNAMIC(CWidgetsDlg, CDialog)

namespace {
const int kMinimumWidth = 550;
const int kMinimumHeight = 412;
const char kPlacementSection[] = "MainWindowPlacement";
const UINT kUpdateCheckResult = WM_USER + 50;
// More page documents than this missing means a broken installation.
const unsigned kMaxMissingPageFiles = 6;

CWidgetsApp* App()
{
    return dynamic_cast<CWidgetsApp*>(AfxGetApp());
}
}  // namespace

BEGIN_MESSAGE_MAP(CWidgetsDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_WM_PALETTEISCHANGING()
    ON_WM_ERASEBKGND()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_ACTIVATE()
    ON_WM_SETFOCUS()
    ON_WM_COPYDATA()
    ON_MESSAGE(kUpdateCheckResult, OnUpdateCheckResult)
    ON_WM_KEYDOWN()
    ON_WM_SHOWWINDOW()
    ON_WM_FONTCHANGE()
    ON_WM_CONTEXTMENU()
    ON_WM_HELPINFO()
    ON_COMMAND_RANGE(ID_MAIN_HELP, ID_MAIN_HELP, OnMenuCommand)
    ON_COMMAND_RANGE(ID_GRAPHIC_COPY_BITMAP, ID_GRAPHIC_COPY_FILE_NAME, OnMenuCommand)
    ON_COMMAND_RANGE(ID_GRAPHIC_UNDO_ALL_EDITS, ID_GRAPHIC_UNDO_ALL_EDITS, OnMenuCommand)
    ON_COMMAND_RANGE(ID_GRAPHIC_CREATE_STYLE, ID_GRAPHIC_CREATE_STYLE, OnMenuCommand)
    ON_COMMAND_RANGE(ID_GRAPHIC_INFORMATION, ID_GRAPHIC_INFORMATION, OnMenuCommand)
END_MESSAGE_MAP()

CWidgetsDlg::CWidgetsDlg(CSplashDlg* splash, CWnd* parent)
    : CDialog(IDD_WIDGETS_DIALOG, parent),
      m_icon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM))), m_shiftDown(0),
      m_controlDown(0), m_initialised(0), m_startMaximised(0), m_options(nullptr), m_backupOptions(nullptr),
      m_showWhenLatest(1), m_noSave(0), m_messageBoxUp(0), m_initFailed(0), m_operationsManager(nullptr),
      m_uiServices(nullptr), m_topLevelManager(nullptr), m_splash(splash),
      m_updateCheck(nullptr)
{
}

CWidgetsDlg::~CWidgetsDlg()
{
    // The pages hold the option records and the operations manager's handlers read them while
    // they go, so both managers go before the records; the UI services last, as the pages still
    // free their timers and captures on the way out.
    delete m_topLevelManager;
    m_topLevelManager = nullptr;
    delete m_operationsManager;
    m_operationsManager = nullptr;
    delete m_options;
    m_options = nullptr;
    delete m_backupOptions;
    m_backupOptions = nullptr;
    delete m_uiServices;
    m_uiServices = nullptr;
    if (m_updateCheck) {
        m_updateCheck->DestroyWindow();
        delete m_updateCheck;
        m_updateCheck = nullptr;
    }
}

BOOL CWidgetsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetIcon(m_icon, TRUE);
    SetIcon((HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, 0),
            FALSE);

    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        static const struct {
            UINT command, text;
        } kItems[] = {{IDM_DEFAULT_SIZE, IDS_DEFAULT_SIZE}, {IDM_RESET_DONT_SHOW, IDS_RESET_DONT_SHOW},
                      {IDM_ABOUTBOX, IDS_ABOUT_MENU}};
        for (const auto& item : kItems) {
            CString text;
            text.LoadString(item.text);
            if (text.IsEmpty())
                continue;
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, item.command, text);
        }
    }

    UpdateTitle();
    RestorePlacement();
    if (CreateTopLevelManager()) {
        m_initialised = 1;
        return TRUE;
    }
    m_noSave = 1;
    m_initFailed = 1;
    return FALSE;
}

int CWidgetsDlg::CreateTopLevelManager()
{
    // The pages are laid out once below; their renderer windows render at once, not on timers.
    DisableRendererTimers();
    m_uiServices = new (std::nothrow) CUIServices;
    if (!m_uiServices)
        return 0;

    m_options = new (std::nothrow) COptions;
    if (!m_options)
        return 0;
    m_options->LoadDialogPrefs();
    m_options->SetGraphicType(0);
    m_options->SetModified(true);
    m_backupOptions = new (std::nothrow) COptions;
    if (!m_backupOptions)
        return 0;
    m_backupOptions->LoadDialogPrefs();

    m_operationsManager = new (std::nothrow) COperationsManager(this);
    if (!m_operationsManager || !m_operationsManager->Init())
        return 0;

    CTopLevelManager* manager = new (std::nothrow) CTopLevelManager;
    if (!manager) {
        BW_INTERNAL_ERROR_MSG("WidgetsDlg.cpp", "Failed to create a new Top Level Manager!");
        return 0;
    }
    CSplashDlg* progress = m_splash;
    m_splash = nullptr;  // the splash window is the application's, and goes once the dialog shows
    if (!manager->Create(AfxGetMainWnd(), nullptr, progress)) {
        // Nothing may reach a manager that failed to come up.
        delete manager;
        return 0;
    }
    m_topLevelManager = manager;
    m_options->SetFlags(m_options->GetFlags() & ~1);
    if (CompactRendererInt::GetWebLoadFailureCount() > kMaxMissingPageFiles) {
        // Too many pages would be blank: ask for a re-install and end the start-up.
        InformWarning(IDS_INIT_FILES_MISSING, IDS_LABEL_OK);
        delete m_topLevelManager;
        m_topLevelManager = nullptr;
        return 0;
    }
    return 1;
}

void CWidgetsDlg::SendCommand(const CString& command)
{
    if (m_topLevelManager)
        m_topLevelManager->HandleCommand(command);
}

void CWidgetsDlg::SendMessageToManagers(CPanelMessage* message, int withWait)
{
    if (!message)
        return;
    const bool wait = withWait && m_uiServices;
    if (wait)
        m_uiServices->BeginWaitCursor();
    if (m_topLevelManager)
        m_topLevelManager->HandleMessage(message);
    if (wait)
        m_uiServices->ReleaseCaptureCursor(0);
}

CString CWidgetsDlg::MakeTitle(bool haveRecord, int managerType, int graphicType, const CString& project)
{
    CString title = "Quor Bar Wright";
    if (!haveRecord || managerType < 0 || managerType == 0 || managerType == 2)
        return title;
    CString suffix;
    if (graphicType == 12) {
        CString format;
        format.LoadString(IDS_PHOTO_ZOOM);
        suffix.Format(format, 100.0);
    } else {
        CString label;
        label.LoadString(IDS_PROJECT_SUFFIX);
        suffix = project + " " + label;
    }
    return title + " - " + suffix;
}

void CWidgetsDlg::UpdateTitle()
{
    CWidgetsApp* app = App();
    CWinManagerBase* current = app ? app->m_currentManager : nullptr;
    const CString title = MakeTitle(m_options != nullptr, current ? current->GetType() : -1,
                                    m_options ? m_options->GetGraphicType() : -1,
                                    app ? app->GetCurrentProject() : CString());
    SetWindowText(title);
}

WINDOWPLACEMENT CWidgetsDlg::GetDefaultPlacement(const RECT& workArea)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    const int areaWidth = workArea.right - workArea.left;
    const int areaHeight = workArea.bottom - workArea.top;
    const int width = areaWidth < 800 ? kMinimumWidth : 800;
    const int height = areaHeight < 600 ? kMinimumHeight : 600;
    placement.rcNormalPosition.left = (areaWidth - width) / 2;
    placement.rcNormalPosition.top = (areaHeight - height) / 2;
    placement.rcNormalPosition.right = placement.rcNormalPosition.left + width;
    placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + height;
    return placement;
}

void CWidgetsDlg::EnforceMinimumSize(WINDOWPLACEMENT& placement)
{
    RECT& r = placement.rcNormalPosition;
    if (r.right - r.left < kMinimumWidth)
        r.right = r.left + kMinimumWidth;
    if (r.bottom - r.top < kMinimumHeight)
        r.bottom = r.top + kMinimumHeight;
}

void CWidgetsDlg::ApplySizingMinimum(UINT side, RECT& rect)
{
    if (rect.right - rect.left < kMinimumWidth) {
        if (side == WMSZ_LEFT || side == WMSZ_TOPLEFT || side == WMSZ_BOTTOMLEFT)
            rect.left = rect.right - kMinimumWidth;
        else
            rect.right = rect.left + kMinimumWidth;
    }
    if (rect.bottom - rect.top < kMinimumHeight) {
        if (side == WMSZ_TOP || side == WMSZ_TOPLEFT || side == WMSZ_TOPRIGHT)
            rect.top = rect.bottom - kMinimumHeight;
        else
            rect.bottom = rect.top + kMinimumHeight;
    }
}

void CWidgetsDlg::RestorePlacement()
{
    RECT workArea = {0, 0, 0, 0};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    CWindowPlacement record;
    record.m_placement = GetDefaultPlacement(workArea);
    record.Load(kPlacementSection);
    EnforceMinimumSize(record.m_placement);
    if ((record.m_placement.showCmd & 3) == 3)
        m_startMaximised = 1;
    record.m_placement.showCmd = 0;
    record.m_placement.flags = 0;
    record.m_placement.length = sizeof(WINDOWPLACEMENT);
    SetWindowPlacement(&record.m_placement);
}

void CWidgetsDlg::SavePlacement()
{
    CWindowPlacement record;
    if (GetWindowPlacement(&record.m_placement))
        record.Save(kPlacementSection);
}

CString CWidgetsDlg::CopyDataPath(const COPYDATASTRUCT* data)
{
    if (!data || !data->lpData || !data->cbData)
        return CString();
    // The sender's size bounds the text; its terminator is not trusted to be there.
    const char* text = (const char*)data->lpData;
    return CString(text, (int)strnlen(text, data->cbData));
}

void CWidgetsDlg::RealisePalette(CDC* dc)
{
    if (dc) {
        SelectAppPalette(dc);
        return;
    }
    CClientDC own(this);
    SelectAppPalette(&own);
}

void CWidgetsDlg::Paint(CDC& dc)
{
    RealisePalette(&dc);
    if (IsIconic()) {
        SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);
        RECT client;
        GetClientRect(&client);
        const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_icon);
    } else if (CWidgetsApp* app = App()) {
        app->RefreshCurrentManager(1, 1, 1, 1, 0);
    }
}

void CWidgetsDlg::OnPaint()
{
    if (!m_initialised || m_messageBoxUp) {
        // Nothing of ours to draw yet, but the area is taken care of.
        ValidateRect(nullptr);
        return;
    }
    CPaintDC dc(this);
    Paint(dc);
}

void CWidgetsDlg::PaintNow()
{
    if (!m_hWnd || !m_initialised || m_messageBoxUp)
        return;
    CClientDC dc(this);
    Paint(dc);
}

HCURSOR CWidgetsDlg::OnQueryDragIcon()
{
    return (HCURSOR)m_icon;
}

BOOL CWidgetsDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CWidgetsDlg::OnQueryNewPalette()
{
    if (m_initialised) {
        RealisePalette(nullptr);
        if (CWidgetsApp* app = App())
            app->RefreshCurrentManager(1, 1, 1, 1, 1);
    }
    return (BOOL)Default();
}

void CWidgetsDlg::OnPaletteChanged(CWnd* focusWnd)
{
    OnQueryNewPalette();
}

void CWidgetsDlg::OnPaletteIsChanging(CWnd* realizeWnd)
{
    OnQueryNewPalette();
}

void CWidgetsDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (!m_initialised || cx == 0 || cy == 0)
        return;
    RECT client;
    GetClientRect(&client);
    ClientToScreen(&client);
    if (m_topLevelManager) {
        // While the pages follow the border, their renderer windows wait for it to rest.
        EnableRendererTimers();
        CSizeMessage message(client.right - client.left, client.bottom - client.top);
        m_topLevelManager->HandleMessage(&message);
        DisableRendererTimers();
        m_topLevelManager->UpdateTooltipRect();
    }
    RepaintPreview();
    ValidateRect(nullptr);
}

void CWidgetsDlg::OnSizing(UINT side, LPRECT rect)
{
    ApplySizingMinimum(side, *rect);
    CDialog::OnSizing(side, rect);
}

void CWidgetsDlg::OnLButtonDown(UINT flags, CPoint point)
{
    RECT client;
    GetClientRect(&client);
    if (point.x >= client.left && point.x <= client.right && point.y >= client.top && point.y <= client.bottom &&
        m_topLevelManager) {
        POINT screen = point;
        ClientToScreen(&screen);
        CLButtonDownMessage message(screen.x, screen.y);
        m_topLevelManager->HandleMessage(&message);
    }
    CDialog::OnLButtonDown(flags, point);
}

void CWidgetsDlg::OnRButtonDown(UINT flags, CPoint point)
{
    RECT client;
    GetClientRect(&client);
    if (point.x >= client.left && point.x <= client.right && point.y >= client.top && point.y <= client.bottom &&
        m_topLevelManager) {
        POINT screen = point;
        ClientToScreen(&screen);
        CRButtonDownMessage message(screen.x, screen.y);
        m_topLevelManager->HandleMessage(&message);
    }
    CDialog::OnRButtonDown(flags, point);
}

void CWidgetsDlg::OnMouseMove(UINT flags, CPoint point)
{
    // Moves count whether or not a window has the keyboard focus: right after start-up, or
    // while another program is active, the pointer over the window still hovers.
    if ((point.x < 0 || point.y < 0) && m_uiServices)
        m_uiServices->ReleaseCaptureCursor(1);
    POINT screen = point;
    ClientToScreen(&screen);
    CDialog::OnMouseMove(flags, point);
    if (m_topLevelManager) {
        CMouseMoveMessage message(screen.x, screen.y);
        m_topLevelManager->HandleMessage(&message);
    }
}

void CWidgetsDlg::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    if (m_uiServices)
        m_uiServices->ReleaseCaptureCursor(1);
    CDialog::OnActivate(state, other, minimized);
}

void CWidgetsDlg::OnSetFocus(CWnd* oldWnd)
{
    if (!m_topLevelManager)
        return;
    if (!m_topLevelManager->HandleCommand("set focus"))
        CDialog::OnSetFocus(oldWnd);
}

void CWidgetsDlg::OnNcLButtonDown(UINT hitTest, CPoint point)
{
    const bool frameControl = hitTest == HTSYSMENU || hitTest == HTMENU || hitTest == HTMINBUTTON ||
                              hitTest == HTMAXBUTTON || hitTest == HTCLOSE;
    if (!frameControl && m_initialised && ::GetActiveWindow() != m_hWnd) {
        BringWindowToTop();
        if (m_topLevelManager)
            m_topLevelManager->HandleCommand("set focus");
    }
    CDialog::OnNcLButtonDown(hitTest, point);
}

BOOL CWidgetsDlg::OnCopyData(CWnd*, COPYDATASTRUCT* data)
{
    const CString path = CopyDataPath(data);
    if (path.IsEmpty())
        return TRUE;
    if (!OpenFile(path)) {
        const UINT kTemplateNotFound = 32857, kHelpLabel = 10026;
        while (InformWarning(kTemplateNotFound, IDS_LABEL_OK, kHelpLabel, 0, 0, 1, 2) == 2)
            AfxGetApp()->WinHelp(204, HELP_CONTEXT);
        Invalidate();
        UpdateWindow();
    }
    return TRUE;
}

void CWidgetsDlg::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    CDialog::OnKeyDown(key, repeat, flags);
}

void CWidgetsDlg::OnShowWindow(BOOL show, UINT status)
{
    CDialog::OnShowWindow(show, status);
}

int CWidgetsDlg::ShowUpdateCheck(int mode, int showWhenLatest)
{
    if (m_updateCheck) {
        m_updateCheck->DestroyWindow();
        delete m_updateCheck;
        m_updateCheck = nullptr;
    }
    // The old window's downloader cancels its transfer and waits for its worker as it goes.
    m_updateCheck = new (std::nothrow) CUpdateCheckDlg(nullptr, mode, GetSafeHwnd());
    if (m_updateCheck && !m_updateCheck->Create(CUpdateCheckDlg::IDD, nullptr)) {
        // Without its window there is no check; the program runs on without one.
        delete m_updateCheck;
        m_updateCheck = nullptr;
    }
    m_showWhenLatest = showWhenLatest;
    return 1;
}

LRESULT CWidgetsDlg::OnUpdateCheckResult(WPARAM wParam, LPARAM)
{
    if (wParam) {
        InformWarning(IDS_CONNECT_PROBLEM, IDS_LABEL_OK);
        return 0;
    }
    const int mode = m_updateCheck ? m_updateCheck->GetMode() : CUpdateCheckDlg::kModeVersion;
    const CString localPath = m_updateCheck ? m_updateCheck->GetLocalPath() : CString();
    CUpdateResultDlg result(this, localPath, mode, m_showWhenLatest);
    result.DoModal();
    return 0;
}

void CWidgetsDlg::OnDestroy()
{
    ::LockWindowUpdate(nullptr);
    CDialog::OnDestroy();
}

void CWidgetsDlg::OnClose()
{
    if (g_MessageShown)
        m_noSave = 1;
    CWidgetsApp* app = App();
    if (m_uiServices && app && (app->m_lastRenderTime + app->m_lastEffectsTime > 500 || !app->m_quickStart)) {
        m_uiServices->m_holdCapture = 0;
        m_uiServices->BeginWaitCursor();
    }
    SavePlacement();
    SaveWorkingCopy();
    if (m_uiServices)
        m_uiServices->ReleaseCaptureCursor(0);
    ::LockWindowUpdate(nullptr);
    ::PostQuitMessage(0);
}
