#include "app/MessageBoxDlg.h"

#include "app/Errors.h"
#include "app/Resource.h"

CMessageBoxDlg::Metrics CMessageBoxDlg::s_metrics = {};
int CMessageBoxDlg::s_nextTitleId = 0;

namespace {
// The label texts of the box on screen.
CString g_labelTexts[5];

HWND MainOwner()
{
    CWnd* main = AfxGetMainWnd();
    HWND hWnd = main ? main->GetSafeHwnd() : nullptr;
    return hWnd && ::IsWindow(hWnd) && ::IsWindowVisible(hWnd) ? hWnd : nullptr;
}

RECT ControlRect(HWND dialog, int id)
{
    RECT rect = {0, 0, 0, 0};
    HWND control = ::GetDlgItem(dialog, id);
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, (LPPOINT)&rect, 2);
    return rect;
}
}  // namespace

BEGIN_MESSAGE_MAP(CMessageBoxDlg, CDialog)
    ON_WM_PAINT()
    ON_COMMAND_RANGE(IDC_MSGBOX_BUTTON1, IDC_MSGBOX_BUTTON5, OnButton)
END_MESSAGE_MAP()

CMessageBoxDlg::CMessageBoxDlg(int severity, UINT messageId, UINT label1, UINT label2, UINT label3, UINT label4,
                               int defaultIndex, int cancelIndex)
    : CDialog(IDD_MESSAGEBOX, nullptr), m_messageId(messageId), m_labels{label1, label2, label3, label4, 0},
      m_severity(severity), m_titleId(s_nextTitleId), m_defaultIndex(defaultIndex), m_cancelIndex(cancelIndex),
      m_iconX(0), m_iconY(0), m_owner(MainOwner()), m_icon(nullptr), m_buttonCount(0)
{
    s_nextTitleId = 0;
    m_parent = m_owner ? CWnd::FromHandle(m_owner) : nullptr;
}

void CMessageBoxDlg::SetNextTitleId(int titleId)
{
    s_nextTitleId = titleId;
}

int CMessageBoxDlg::ButtonCount() const
{
    int n = 5;
    while (n > 0 && m_labels[n - 1] == 0)
        --n;
    return n;
}

void CMessageBoxDlg::Measure()
{
    s_metrics.measured = true;
    HWND icon = ::GetDlgItem(m_hWnd, IDC_MSGBOX_ICON);
    HWND text = ::GetDlgItem(m_hWnd, IDC_MSGBOX_TEXT);
    HWND first = ::GetDlgItem(m_hWnd, IDC_MSGBOX_BUTTON1);
    HWND second = ::GetDlgItem(m_hWnd, IDC_MSGBOX_BUTTON2);
    if (!icon || !text || !first || !second)
        return;  // every box uses the fallback
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const RECT b1 = ControlRect(m_hWnd, IDC_MSGBOX_BUTTON1);
    const RECT b2 = ControlRect(m_hWnd, IDC_MSGBOX_BUTTON2);
    const RECT ic = ControlRect(m_hWnd, IDC_MSGBOX_ICON);
    const RECT tx = ControlRect(m_hWnd, IDC_MSGBOX_TEXT);
    s_metrics.clientWidth = client.right;
    s_metrics.clientHeight = client.bottom;
    s_metrics.buttonLeft = b1.left;
    s_metrics.buttonTop = b1.top;
    s_metrics.buttonWidth = b1.right - b1.left;
    s_metrics.buttonHeight = b1.bottom - b1.top;
    s_metrics.gap = b2.left - b1.left - s_metrics.buttonWidth;
    s_metrics.iconLeft = ic.left;
    s_metrics.iconTop = ic.top;
    s_metrics.textWidth = tx.right - tx.left;
    s_metrics.textHeight = tx.bottom - tx.top;
    s_metrics.usable = true;
}

BOOL CMessageBoxDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString fallbackTitle, fallbackText;
    fallbackTitle.LoadString(IDS_SERIOUS_ERROR);
    fallbackText.LoadString(IDS_SERIOUS_ERROR_TEXT);

    m_buttonCount = ButtonCount();
    if (m_defaultIndex > m_buttonCount)
        m_defaultIndex = 1;
    if (m_cancelIndex > m_buttonCount)
        m_cancelIndex = m_defaultIndex;

    if (!s_metrics.measured)
        Measure();

    bool laidOut = s_metrics.usable && m_severity >= 0 && m_severity <= 5;
    if (laidOut) {
        m_iconX = s_metrics.iconLeft;
        m_iconY = s_metrics.iconTop;
        CClientDC dc(this);
        HGDIOBJ oldFont = dc.SelectObject((HGDIOBJ)SendMessage(WM_GETFONT));
        laidOut = LayoutButtons(dc) && LayoutText(dc);
        dc.SelectObject(oldFont);
    }
    if (!laidOut) {
        EndDialog(RunFallback());
        return FALSE;
    }
    ChooseTitleAndIcon();
    PlaceOnScreen();
    return FALSE;  // the default button already has the focus
}

BOOL CMessageBoxDlg::LayoutButtons(CDC& dc)
{
    const Metrics& m = s_metrics;
    const int n = m_buttonCount;
    if (n < 1)
        return FALSE;
    HWND defaultButton = ::GetDlgItem(m_hWnd, IDC_MSGBOX_BUTTON1 + m_defaultIndex - 1);
    if (m_defaultIndex < 1 || !defaultButton)
        return FALSE;
    ::SetFocus(defaultButton);
    SendMessage(DM_SETDEFID, IDC_MSGBOX_BUTTON1 + m_defaultIndex - 1);

    int running = m.buttonWidth;
    for (int i = 0; i < n; ++i) {
        g_labelTexts[i].Empty();
        if (!g_labelTexts[i].LoadString(m_labels[i]))
            return FALSE;
        const CSize extent = dc.GetTextExtent(g_labelTexts[i], g_labelTexts[i].GetLength());
        if (extent.cx > running)
            running = extent.cx + 8;
    }
    int width = running + 8;

    int total = m.clientWidth;
    if ((m.clientWidth - 2 * m.buttonLeft - (n - 1) * m.gap) / n < width) {
        total = (n - 1) * m.gap + n * width + 2 * m.buttonLeft;
        const int screen = ::GetSystemMetrics(SM_CXSCREEN);
        if (screen < total) {
            total = screen;
            width = (screen - 2 * m.buttonLeft - (n - 1) * m.gap) / n;
        }
    }
    // The window is the client area plus its frame on both sides and both ends, and the caption.
    SetWindowPos((HWND)nullptr, 0, 0, total + 2 * ::GetSystemMetrics(SM_CXDLGFRAME),
                 m.clientHeight + 2 * ::GetSystemMetrics(SM_CYDLGFRAME) + ::GetSystemMetrics(SM_CYCAPTION),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDC_MSGBOX_TEXT), nullptr, 0, 0, m.textWidth + total - m.clientWidth,
                   m.textHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    int x = (total - (n - 1) * m.gap - n * width) / 2;
    for (int i = 0; i < n; ++i) {
        HWND button = ::GetDlgItem(m_hWnd, IDC_MSGBOX_BUTTON1 + i);
        if (!button)
            return FALSE;
        ::SetWindowTextA(button, g_labelTexts[i]);
        ::SetWindowPos(button, nullptr, x, m.buttonTop, width, m.buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(button, SW_SHOW);
        x += width + m.gap;
    }
    return TRUE;
}

BOOL CMessageBoxDlg::LayoutText(CDC& dc)
{
    CString text;
    if (m_messageId) {
        if (!text.LoadString(m_messageId))
            return FALSE;
    } else {
        text = g_ErrorText;
    }
    HWND control = ::GetDlgItem(m_hWnd, IDC_MSGBOX_TEXT);
    ::SetWindowTextA(control, text);
    const CSize extent = dc.GetTextExtent(text, text.GetLength());
    const int tw = extent.cx, lh = extent.cy;
    if (tw <= 0 || lh <= 0)
        return FALSE;

    RECT rect = ControlRect(m_hWnd, IDC_MSGBOX_TEXT);
    const int cw = rect.right - rect.left, ch = rect.bottom - rect.top;
    const int usable = cw - 40;
    if (usable <= 0)
        return FALSE;
    const int overflow = tw - (ch / lh) * usable;
    if (overflow <= 0)
        return TRUE;

    const int extra = lh * ((overflow + usable - 1) / usable) + (2 * lh) / 3;
    ::SetWindowPos(control, nullptr, 0, 0, usable, ch + extra, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_iconY += extra / 2;
    for (int i = 0; i < 5; ++i) {
        HWND button = ::GetDlgItem(m_hWnd, IDC_MSGBOX_BUTTON1 + i);
        RECT b = ControlRect(m_hWnd, IDC_MSGBOX_BUTTON1 + i);
        ::SetWindowPos(button, nullptr, b.left, b.top + extra, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT window;
    GetWindowRect(&window);
    SetWindowPos((HWND)nullptr, 0, 0, window.right - window.left, window.bottom - window.top + extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CMessageBoxDlg::ChooseTitleAndIcon()
{
    static const struct {
        UINT title;
        LPCSTR icon;  // null: the program's icon
        int sound;    // -1: none
    } kSeverities[] = {
        {IDS_TITLE_PLAIN, nullptr, -1},
        {IDS_TITLE_PLAIN, IDI_EXCLAMATION, MB_ICONQUESTION},
        {IDS_TITLE_WARNING, IDI_ASTERISK, MB_ICONASTERISK},
        {IDS_TITLE_ERROR, IDI_EXCLAMATION, MB_ICONEXCLAMATION},
        {IDS_TITLE_SERIOUS, IDI_HAND, MB_ICONHAND},
        {IDS_TITLE_INTERNAL, IDI_HAND, MB_ICONHAND},
    };
    const auto& entry = kSeverities[m_severity];
    if (entry.sound >= 0)
        ::MessageBeep((UINT)entry.sound);
    m_icon = entry.icon ? ::LoadIconA(nullptr, entry.icon)
                        : ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM));
    CString title;
    title.LoadString(m_titleId ? (UINT)m_titleId : entry.title);
    SetWindowText(title);
}

void CMessageBoxDlg::PlaceOnScreen()
{
    RECT window;
    GetWindowRect(&window);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    if (width <= 0)
        width = screenWidth / 2;
    else if (width > screenWidth)
        width = screenWidth;
    if (height <= 0)
        height = screenHeight / 2;
    else if (height > screenHeight)
        height = screenHeight;
    SetWindowPos(HWND_TOP, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height, SWP_SHOWWINDOW);
}

int CMessageBoxDlg::RunFallback()
{
    const UINT style = MB_SYSTEMMODAL | MB_ICONHAND;
    CString seriousTitle, seriousText;
    const bool haveSerious = seriousTitle.LoadString(IDS_SERIOUS_ERROR) && seriousText.LoadString(IDS_SERIOUS_ERROR_TEXT);
    auto lastResort = [&]() {
        ::MessageBoxA(m_owner, haveSerious ? (const char*)seriousText : "A very serious error has occured.",
                      haveSerious ? (const char*)seriousTitle : "Serious error", style);
        return m_defaultIndex;
    };

    if (!m_messageId && g_ErrorText[0] == 0) {
        CString text, title;
        if (!text.LoadString(IDS_SPURIOUS_ERROR) || !title.LoadString(IDS_TITLE_WARNING))
            return lastResort();
        if (!::MessageBoxA(m_owner, text, title, style))
            return lastResort();
        return m_defaultIndex;
    }
    CString product, message;
    if (!haveSerious || !product.LoadString(IDS_PRODUCT_NAME))
        return lastResort();
    if (m_messageId) {
        if (!message.LoadString(m_messageId))
            return lastResort();
    } else {
        message = g_ErrorText;
    }
    if (!::MessageBoxA(m_owner, product, seriousTitle, style))
        return lastResort();
    const int answer = ::MessageBoxA(m_owner, message, seriousTitle,
                                     style | (m_cancelIndex != m_defaultIndex ? MB_OKCANCEL : 0));
    if (!answer)
        return lastResort();
    return answer == IDCANCEL ? m_cancelIndex : m_defaultIndex;
}

void CMessageBoxDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_icon)
        dc.DrawIcon(m_iconX, m_iconY, m_icon);
}

void CMessageBoxDlg::OnButton(UINT id)
{
    EndDialog((int)(id - IDC_MSGBOX_BUTTON1) + 1);
}

void CMessageBoxDlg::OnOK()
{
    // Enter without a default push button: the default index.
    EndDialog(m_defaultIndex);
}

void CMessageBoxDlg::OnCancel()
{
    EndDialog(m_cancelIndex);
}
