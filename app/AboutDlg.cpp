#include "app/AboutDlg.h"

#include "app/AppServices.h"
#include "panels/PanelMessage.h"
#include "app/Resource.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "app/widgets.h"

#include <new>

const char kMakerHomePage[] = "http://www.quor.com/";
const char kMakerProductPage[] = "http://www.quor.com/barwright/";

namespace {

// The picture's two link areas, in the pane's client coordinates.
const RECT kHomeArea = {30, 20, 210, 90};
const RECT kProductArea = {225, 15, 380, 90};
const int kHandCursor = 136;
// The version line lies along the bottom of the picture.
const int kMargin = 10;
const int kLineTop = 31;     // from the bottom
const int kLineBottom = 16;  // from the bottom

bool Inside(const RECT& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

CUIServices* UIServices()
{
    CWidgetsDlg* dialog = GetMainDialog();
    return dialog ? dialog->GetUIServices() : nullptr;
}

}  // namespace

// ---- The about box ----

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_BN_CLICKED(IDC_ABOUT_HOME_PAGE, OnHomePage)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* parent)
    : CDialog(IDD_ABOUTBOX, parent), m_productName(GetProductName()), m_versionText(GetVersionText()),
      m_buildKindText(GetBuildKindText()), m_osVersionText(GetOSVersionText())
{
}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_ABOUT_PROGRAM, m_productName);
    DDX_Text(dx, IDC_ABOUT_VERSION, m_versionText);
    DDX_Text(dx, IDC_ABOUT_BUILD, m_buildKindText);
}

void CAboutDlg::OnHomePage()
{
    OpenWithShell(kMakerHomePage);
}

// ---- The about pane's picture ----

BEGIN_MESSAGE_MAP(CAboutLinksDlg, COptionsDlg)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CAboutLinksDlg::CAboutLinksDlg(CWnd* parent)
    : COptionsDlg(IDD_ABOUT_LINKS, parent), m_font((HFONT)::GetStockObject(DEFAULT_GUI_FONT)),
      m_nullBrush((HBRUSH)::GetStockObject(NULL_BRUSH)), m_versionControl(nullptr)
{
    if (auto* app = dynamic_cast<CWidgetsApp*>(AfxGetApp()))
        m_versionLine = app->GetVersionLine();
    m_picture.LoadFromResource(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_ABOUT_LINKS));
}

CAboutLinksDlg::~CAboutLinksDlg() = default;

BOOL CAboutLinksDlg::OnInitDialog()
{
    COptionsDlg::OnInitDialog();
    const int width = m_picture.Header().bmWidth;
    const int height = m_picture.Header().bmHeight;
    if (width > 0 && height > 0)
        SetWindowPos((HWND)nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(&client);
    m_versionControl = ::CreateWindowExA(0, "STATIC", m_versionLine, WS_CHILD | WS_VISIBLE | SS_CENTER, kMargin,
                                         client.bottom - kLineTop, client.right - 2 * kMargin, kLineTop - kLineBottom,
                                         m_hWnd, nullptr, AfxGetInstanceHandle(), nullptr);
    if (m_versionControl)
        ::SendMessageA(m_versionControl, WM_SETFONT, (WPARAM)m_font, FALSE);
    return TRUE;
}

int CAboutLinksDlg::HitTestLink(int x, int y)
{
    if (Inside(kHomeArea, x, y))
        return 1;
    if (Inside(kProductArea, x, y))
        return 2;
    return 0;
}

BOOL CAboutLinksDlg::OnEraseBkgnd(CDC* dc)
{
    RECT client;
    GetClientRect(&client);
    if (!m_picture.Draw(dc, &client, nullptr, FALSE, nullptr, TRUE))
        ::FillRect(dc->GetSafeHdc(), &client, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    return TRUE;
}

LRESULT CAboutLinksDlg::OnCtlColorStatic(WPARAM wParam, LPARAM)
{
    // The version line shows the picture through it.
    ::SetBkMode((HDC)wParam, TRANSPARENT);
    return (LRESULT)m_nullBrush;
}

void CAboutLinksDlg::OnMouseMove(UINT, CPoint point)
{
    CUIServices* services = UIServices();
    if (!services)
        return;
    if (HitTestLink(point.x, point.y))
        services->SetCaptureCursor(kHandCursor, this);
    else
        services->ReleaseCaptureCursor(0);
}

void CAboutLinksDlg::OnLButtonDown(UINT, CPoint point)
{
    switch (HitTestLink(point.x, point.y)) {
    case 1:
        OpenWithShell(kMakerHomePage);
        break;
    case 2:
        OpenWithShell(kMakerProductPage);
        break;
    default:
        break;
    }
}

// ---- The about pane ----

namespace {
const CPageTraits kAboutPaneTraits = {1, 100, nullptr, false, false, false};
}

CAboutPaneManager::CAboutPaneManager() : CPromptPageManager(kAboutPaneTraits), m_dialog(nullptr) {}

int CAboutPaneManager::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel)
{
    if (!CPromptPageManager::Create(parent, owner, left, prompt, panel))
        return 0;
    if (!parent || !parent->GetSafeHwnd())
        return 1;
    m_dialog = CreateSavePanel<CAboutLinksDlg>(IDD_ABOUT_LINKS, parent);
    if (!m_dialog)
        return 0;
    // The base owns the panel from here on.
    SetPanel(m_dialog);
    return 1;
}

int CAboutPaneManager::HandleMessage(CPanelMessage* message)
{
    if (message && message->GetKind() == 3 && m_active && m_dialog && m_dialog->GetSafeHwnd()) {
        int x = 0, y = 0;
        message->GetParams(&x, &y);
        RECT window;
        m_dialog->GetWindowRect(&window);
        if (Inside(window, x, y))
            return 1;
    }
    return CPromptPageManager::HandleMessage(message);
}

void CAboutPaneManager::RefreshBackground()
{
    if (m_dialog && m_dialog->GetSafeHwnd())
        m_dialog->PositionBackground(1);
}
