#include "app/SplashDlg.h"

#include "app/Resource.h"

#include <commctrl.h>

namespace {

const char kClassName[] = "SplashDlgWndClass";

// The progress bar lies along the bottom of the picture; the version line above it.
const int kMargin = 10;
const int kProgressTop = 30;     // from the bottom
const int kProgressBottom = 15;  // from the bottom
const int kTextTop = 65;         // from the bottom
const int kTextBottom = 50;      // from the bottom

const char* RegisterSplashClass()
{
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), kClassName, &wc)) {
        wc.style = 0;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(nullptr, IDC_WAIT);
        wc.hbrBackground = ::GetSysColorBrush(COLOR_BACKGROUND);
        wc.lpszClassName = kClassName;
        ::RegisterClassA(&wc);
    }
    return kClassName;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSplashDlg, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorStatic)
END_MESSAGE_MAP()

CSplashDlg::CSplashDlg()
    : m_font((HFONT)::GetStockObject(DEFAULT_GUI_FONT)), m_nullBrush((HBRUSH)::GetStockObject(NULL_BRUSH)),
      m_width(0), m_height(0), m_progress(nullptr)
{
}

CSplashDlg::~CSplashDlg()
{
    if (m_progress && ::IsWindow(m_progress))
        ::DestroyWindow(m_progress);
    m_progress = nullptr;
    if (m_hWnd)
        DestroyWindow();
    // The font and the brush are stock objects: nothing to delete. The picture frees itself.
}

BOOL CSplashDlg::Show()
{
    if (!m_picture.LoadFromResource(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_SPLASH)))
        return FALSE;
    m_width = m_picture.Header().bmWidth;
    m_height = m_picture.Header().bmHeight;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - m_width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - m_height) / 2;
    if (!CreateEx(WS_EX_TOOLWINDOW, RegisterSplashClass(), "", WS_POPUP, x, y, m_width, m_height, nullptr,
                  nullptr))
        return FALSE;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    m_progress = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, kMargin,
                                   m_height - kProgressTop, m_width - 2 * kMargin, kProgressTop - kProgressBottom,
                                   m_hWnd, nullptr, AfxGetInstanceHandle(), nullptr);
    if (m_progress) {
        ::SendMessageA(m_progress, PBM_SETRANGE, 0, MAKELPARAM(0, kSteps));
        ::SendMessageA(m_progress, PBM_SETSTEP, 1, 0);
    }
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

void CSplashDlg::Step()
{
    if (!m_hWnd)
        return;
    ::SetActiveWindow(m_hWnd);
    UpdateWindow();
    // A progress bar stepped past its end starts again from empty: a full one stays full.
    if (m_progress && ::SendMessageA(m_progress, PBM_GETPOS, 0, 0) < kSteps)
        ::SendMessageA(m_progress, PBM_STEPIT, 0, 0);
}

BOOL CSplashDlg::OnEraseBkgnd(CDC* dc)
{
    RECT client;
    GetClientRect(&client);
    const RECT whole = {0, 0, m_width, m_height};
    m_picture.Draw(dc, &client, &whole, FALSE, nullptr, TRUE);
    return TRUE;
}

void CSplashDlg::OnPaint()
{
    CPaintDC dc(this);
    const HDC hdc = dc.GetSafeHdc();
    const HGDIOBJ oldFont = ::SelectObject(hdc, m_font);
    const COLORREF oldColour = ::SetTextColor(hdc, RGB(255, 255, 255));
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    RECT line = {kMargin, m_height - kTextTop, m_width - kMargin, m_height - kTextBottom};
    ::DrawTextA(hdc, m_statusText, m_statusText.GetLength(), &line, DT_CENTER);
    ::SetBkMode(hdc, oldMode);
    ::SetTextColor(hdc, oldColour);
    ::SelectObject(hdc, oldFont);
}

LRESULT CSplashDlg::OnCtlColorStatic(WPARAM wParam, LPARAM)
{
    // Static children show the picture through them.
    ::SetBkMode((HDC)wParam, TRANSPARENT);
    return (LRESULT)m_nullBrush;
}
