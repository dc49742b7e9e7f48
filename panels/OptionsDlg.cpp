#include "panels/OptionsDlg.h"

#include "panels/PanelMessage.h"
#include "util/AppUtilServices.h"
#include "document/Options.h"
#include "framework/win/ComboBox.h"
#include "panels/PanelsResource.h"
#include "panels/PageButtons.h"
#include "panels/PanelServices.h"
#include "navbar/NavBar.h"

#include <algorithm>
#include <cstring>
#include <cctype>
#include <cstdio>
#include <vector>

IMPLEMENT_DYNAMIC(COptionsDlg, CDialog)

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_COMMAND_RANGE(2800, 3000, OnPropertyCommand)
END_MESSAGE_MAP()

namespace {
const int kFolderLabelId = 1542;
const int kUpFolderId = 1727;
const int kUpFolderAlternateId = 1719;
const int kHotSpotCursorId = 386;
const int kCreateStyleCommand = 2800;
const int kDesktopKind = 6;
const int kDesktopCsidl = 0;  // CSIDL_DESKTOP
const int kMaxLabelText = 259;

// The run-time class of a window's object, when the window has one of ours.
bool IsFocusKindForBackspace(CWnd* focus)
{
    if (!focus || !focus->GetSafeHwnd())
        return false;
    if (CWnd* permanent = CWnd::FromHandlePermanent(focus->GetSafeHwnd())) {
        if (permanent->IsKindOf(RUNTIME_CLASS(COptionsDlg)))
            return true;
        if (std::strcmp(permanent->GetRuntimeClass()->m_lpszClassName, "CGalleryScroll") == 0)
            return true;
    }
    char className[16] = {};
    ::GetClassNameA(focus->GetSafeHwnd(), className, sizeof className);
    return lstrcmpiA(className, "Button") == 0;
}
}  // namespace

int LeadingInteger(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t')
        ++text;
    bool negative = false;
    if (*text == '-' || *text == '+')
        negative = *text++ == '-';
    long long value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10 + (*text++ - '0');
        if (value > 0x7FFFFFFFLL)  // a number past the int range reads as the largest int
            value = 0x7FFFFFFFLL;
    }
    return static_cast<int>(negative ? -value : value);
}

COptionsDlg::COptionsDlg(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent),
      m_spare(nullptr),
      m_clientRect{0, 0, 0, 0},
      m_backgroundEnabled(1),
      m_backgroundAllowed(1),
      m_brush(::CreateSolidBrush(RGB(15, 15, 15))),
      m_backgroundRenderer(nullptr),
      m_spareValue1(0),
      m_spareValue2(0),
      m_hotSpotCaptured(0)
{
}

COptionsDlg::~COptionsDlg()
{
    // The renderer window is a child of ours: it goes before the panel's own window.
    delete m_backgroundRenderer;
    m_backgroundRenderer = nullptr;
    if (m_brush)
        ::DeleteObject(m_brush);
}

void COptionsDlg::SetBackgroundRenderer(CWnd* renderer)
{
    if (renderer == m_backgroundRenderer)
        return;
    delete m_backgroundRenderer;
    m_backgroundRenderer = renderer;
}

void COptionsDlg::DoDataExchange(CDataExchange*) {}

BOOL COptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetClientRect(&m_clientRect);
    CPanelServices& services = GetPanelServices();
    m_homeFolder = services.GetTemplatesFolderPath();
    m_currentFolder = m_homeFolder;
    m_desktopFolder = services.GetSpecialFolder(kDesktopKind);
    return TRUE;
}

BOOL COptionsDlg::PreTranslateMessage(MSG* msg)
{
    if (!msg)
        return FALSE;
    CPanelServices& services = GetPanelServices();
    const WPARAM key = msg->wParam;
    if (msg->message == WM_SYSKEYDOWN && key == VK_F10)
        return services.MainPreTranslateMessage(msg);
    if (msg->message == WM_KEYDOWN) {
        if (key == VK_BACK) {
            if (IsFocusKindForBackspace(CWnd::GetFocus())) {
                CWnd* up = GetDlgItem(kUpFolderId);
                if (!up)
                    up = GetDlgItem(kUpFolderAlternateId);
                if (up && ::IsWindowEnabled(up->GetSafeHwnd())) {
                    GoUpFolder();
                    return TRUE;
                }
            }
        } else if (key == VK_SHIFT) {
            services.SetShiftHeld(true);
            return TRUE;
        } else if (key == VK_CONTROL) {
            services.SetControlHeld(true);
            return TRUE;
        } else if (key == 'C' || key == 'S' || key == 'Z') {
            if (services.IsControlHeld()) {
                CKeyMessage message(static_cast<int>(key), 17);
                services.SendMessageToManagers(&message, 1);
                return TRUE;
            }
        } else if (key >= VK_F2 && key <= VK_F12) {
            return services.MainPreTranslateMessage(msg);
        }
    }
    if (msg->message == WM_KEYUP) {
        if (key == VK_SHIFT)
            services.SetShiftHeld(false);
        else if (key == VK_CONTROL)
            services.SetControlHeld(false);
    }
    if (msg->message == WM_SYSKEYDOWN && key == VK_F4 && services.GetMainWindow())
        return services.MainPreTranslateMessage(msg);
    return CDialog::PreTranslateMessage(msg);
}

void COptionsDlg::CentreInRect(const RECT& r)
{
    const int w = m_clientRect.right - m_clientRect.left;
    const int h = m_clientRect.bottom - m_clientRect.top;
    const int cx = (r.right - r.left) / 2 + r.left - w / 2;
    const int cy = (r.bottom - r.top) / 2 + r.top - h / 2;
    RECT placed;
    placed.left = std::max<int>(r.left, cx);
    placed.right = std::min<int>(r.right, cx + w);
    placed.top = std::max<int>(r.top, cy);
    placed.bottom = std::min<int>(r.bottom, cy + h);
    if (!m_hWnd)
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(&placement);
    placement.rcNormalPosition = placed;
    SetWindowPlacement(&placement);
    Invalidate(FALSE);
    UpdateWindow();
}

int COptionsDlg::OnActivatePanel()
{
    m_hotSpotCaptured = 0;
    return 1;
}

int COptionsDlg::OnDeactivatePanel()
{
    if (m_backgroundRenderer)
        GetPanelServices().FreeRendererBuffer(m_backgroundRenderer);
    EndHotSpotCapture();
    return 1;
}

int COptionsDlg::GetNumberItem(int id)
{
    if (!GetDlgItem(id))
        return 0;
    return LeadingInteger(GetItemText(id));
}

int COptionsDlg::SetUnitItem(int id, UINT formatId, const char* fallback, int value)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return 0;
    const CString format = LoadAppString(formatId, fallback);
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    item->SetWindowText(text);
    return 1;
}

int COptionsDlg::GetPixelsItem(int id) { return GetNumberItem(id); }
int COptionsDlg::GetPercentItem(int id) { return GetNumberItem(id); }
int COptionsDlg::GetDegreesItem(int id) { return GetNumberItem(id); }

int COptionsDlg::SetPixelsItem(int id, int value)
{
    if (!SetUnitItem(id, IDS_PIXELS_FORMAT, "%d pixels", value))
        return 0;
    GetDlgItem(id)->UpdateWindow();
    return 1;
}

int COptionsDlg::SetPercentItem(int id, int value)
{
    return SetUnitItem(id, IDS_PERCENT_FORMAT, "%d %%", value);
}

int COptionsDlg::SetDegreesItem(int id, int value)
{
    return SetUnitItem(id, IDS_DEGREES_FORMAT, "%d \xB0", value);
}

void COptionsDlg::SetInitialFocus()
{
    if (const int id = GetInitialFocusId()) {
        FocusAndSelect(id);
        return;
    }
    if (HWND child = ::GetWindow(m_hWnd, GW_CHILD))
        ::SetFocus(child);
    else
        ::SetFocus(m_hWnd);
}

int COptionsDlg::HideItem(int id)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return 0;
    item->ShowWindow(SW_HIDE);
    return 1;
}

int COptionsDlg::ShowItem(int id)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return 0;
    item->ShowWindow(SW_SHOWNORMAL);
    return 1;
}

int COptionsDlg::EnableItem(int id, BOOL enable)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return 0;
    item->EnableWindow(enable);
    return 1;
}

bool COptionsDlg::IsItemChecked(int id)
{
    CWnd* item = GetDlgItem(id);
    return item && item->SendMessage(BM_GETCHECK) == BST_CHECKED;
}

CString COptionsDlg::GetItemText(int id)
{
    CString text;
    if (CWnd* item = GetDlgItem(id))
        item->GetWindowText(text);
    return text;
}

int COptionsDlg::SetItemText(int id, const char* text)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return 0;
    item->SetWindowText(text ? text : "");
    return 1;
}

int COptionsDlg::FocusItem(int id)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return 0;
    if (::IsWindowEnabled(item->GetSafeHwnd())) {
        item->SetFocus();
        return 1;
    }
    SetFocus();
    return -1;
}

int COptionsDlg::FocusAndSelect(int id)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return 0;
    item->SetFocus();
    char className[16] = {};
    ::GetClassNameA(item->GetSafeHwnd(), className, sizeof className);
    if (lstrcmpiA(className, "Edit") == 0) {
        item->SendMessage(EM_SETSEL, 0, -1);
        item->SendMessage(EM_SCROLLCARET);
    }
    return 1;
}

void COptionsDlg::RedrawNow()
{
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void COptionsDlg::PositionBackground(int redraw)
{
    if (!m_backgroundRenderer || !m_hWnd)
        return;
    CPanelServices& services = GetPanelServices();
    CWnd* main = services.GetMainWindow();
    if (!main || !main->GetSafeHwnd())
        return;
    RECT rect;
    GetWindowRect(&rect);
    main->ScreenToClient(&rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (m_backgroundRenderer->GetSafeHwnd())
        ::SetWindowPos(m_backgroundRenderer->GetSafeHwnd(), HWND_BOTTOM, rect.left, rect.top, width, height,
                       SWP_FRAMECHANGED | SWP_NOACTIVATE);
    services.SetRendererSize(m_backgroundRenderer, width, height);
    if (redraw)
        RedrawNow();
}

void COptionsDlg::OnPaint()
{
    CPaintDC dc(this);
    CPanelServices& services = GetPanelServices();
    services.DrawBevelFrame(this, &dc);
    if (m_backgroundRenderer && m_backgroundEnabled && m_backgroundAllowed)
        services.BlitRenderer(m_backgroundRenderer, &dc, m_clientRect);
}

void COptionsDlg::OnMouseMove(UINT, CPoint)
{
    GetPanelServices().ReleaseCaptureCursor(1);
    Default();
}

void COptionsDlg::TrackHotSpot(int x, int y)
{
    if (HitTestHotSpot(x, y))
        BeginHotSpotCapture();
    else
        EndHotSpotCapture();
}

bool COptionsDlg::IsNearItem(int x, int y, int id)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return false;
    RECT rect;
    item->GetClientRect(&rect);
    ::MapWindowPoints(item->GetSafeHwnd(), m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    rect.left -= 5;
    rect.right += 5;
    rect.top -= 1;
    const POINT point = {x, y};
    return ::PtInRect(&rect, point) != FALSE;
}

void COptionsDlg::BeginHotSpotCapture()
{
    CPanelServices& services = GetPanelServices();
    if (!services.HasCursorService() || m_hotSpotCaptured)
        return;
    m_hotSpotCaptured = 1;
    services.SetCaptureCursor(kHotSpotCursorId, this);
    SetCapture();
}

void COptionsDlg::EndHotSpotCapture()
{
    CPanelServices& services = GetPanelServices();
    if (!services.HasCursorService() || !m_hotSpotCaptured)
        return;
    m_hotSpotCaptured = 0;
    services.ReleaseCaptureCursor(0);
    ::ReleaseCapture();
}

void COptionsDlg::SelectComboItemByData(CComboBox* combo, DWORD_PTR data)
{
    if (!combo || !combo->GetSafeHwnd())
        return;
    const int current = combo->GetCurSel();
    if (current != CB_ERR && combo->GetItemData(current) == data)
        return;
    const int count = combo->GetCount();
    for (int index = 0; index < count; ++index) {
        if (combo->GetItemData(index) == data) {
            combo->SetCurSel(index);
            return;
        }
    }
}

CString COptionsDlg::ElidePath(HWND label, const CString& text)
{
    // DT_MODIFYSTRING writes the shortened text back with up to four more characters (the
    // ellipsis and its terminator), so the buffer has room beyond the longest text.
    char buffer[kMaxLabelText + 1 + 4] = {};
    lstrcpynA(buffer, text, kMaxLabelText + 1);
    RECT area;
    ::GetClientRect(label, &area);
    HDC labelDC = ::GetDC(label);
    HDC memoryDC = labelDC ? ::CreateCompatibleDC(labelDC) : nullptr;
    if (memoryDC) {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0));
        HGDIOBJ old = font ? ::SelectObject(memoryDC, font) : nullptr;
        ::DrawTextA(memoryDC, buffer, -1, &area,
                    DT_PATH_ELLIPSIS | DT_SINGLELINE | DT_NOPREFIX | DT_MODIFYSTRING);
        if (old)
            ::SelectObject(memoryDC, old);
        ::DeleteDC(memoryDC);
    }
    if (labelDC)
        ::ReleaseDC(label, labelDC);
    return CString(buffer);
}

void COptionsDlg::SetFolderLabel(const CString& path)
{
    CString text = CString(" ") + path;
    if (!m_desktopFolder.IsEmpty() && text.Find(m_desktopFolder) > 0)
        text = GetPanelServices().GetSpecialFolderDisplayName(kDesktopCsidl);
    CWnd* parent = GetParent();
    if (!parent || !parent->GetSafeHwnd())
        return;
    HWND label = ::GetDlgItem(parent->GetSafeHwnd(), kFolderLabelId);
    if (!label)
        return;
    ::SetWindowTextA(label, ElidePath(label, text));
}

int COptionsDlg::PromptForTemplateCD(int* leaveOutCdTemplates)
{
    if (!leaveOutCdTemplates)
        return 0;
    CPanelServices& services = GetPanelServices();
    if (services.AreTemplatesFromCD() && ::GetFileAttributesA(services.GetCdPath()) == INVALID_FILE_ATTRIBUTES) {
        CString relative = services.GetTemplatesFolderPath();
        const CString root = services.GetRootPath();
        if (!root.IsEmpty() && relative.Left(root.GetLength()).CompareNoCase(root) == 0)
            relative = relative.Mid(root.GetLength());
        if (relative.IsEmpty() || relative[0] != '\\')
            relative = CString("\\") + relative;
        for (;;) {
            const int answer = services.ShowMessageBox(this, IDS_CD_REMOVED, IDS_CD_REQUIRED, MB_OKCANCEL);
            if (answer != IDOK) {
                *leaveOutCdTemplates = 1;
                services.ClearTemplatesFromCD();
                return 0;
            }
            const CString cd = services.GetCdPath();
            if (!cd.IsEmpty() && ::GetFileAttributesA(cd + relative) != INVALID_FILE_ATTRIBUTES)
                break;
        }
    }
    *leaveOutCdTemplates = 0;
    return 1;
}

void COptionsDlg::UpdatePageButtons()
{
    CPanelServices& services = GetPanelServices();
    COptions* record = services.GetOptions();
    if (!services.HasTopLevelManager() || !record)
        return;
    PageButtonInputs in;
    in.graphicType = record->GetGraphicType();
    in.templateReady = record->GetCapabilityFlag(kCapabilityTemplateLoaded) != 0;
    in.textSlot = record->GetCapabilityFlag(kCapabilityText) != 0;
    in.bevelSlot = record->GetCapabilityFlag(kCapabilityBevel) != 0;
    in.textureCount = record->GetNumberOfTextures();
    in.stateCount = record->GetStateCount();
    in.photoHandlerActive = services.IsPhotoHandlerActive();
    in.navBarMode = services.GetOperationsManager() && services.IsNavBarMode();
    in.canBeNavBarButton = CanBeNavBarButton(in.graphicType);
    for (const PageButtonState& state : ComputePageButtonStates(in)) {
        CPageStateMessage message(state.enable ? 1 : 0, state.id);
        services.HandleManagerMessage(&message);
    }
}

void COptionsDlg::OnPropertyCommand(UINT id)
{
    if (id != kCreateStyleCommand)
        return;
    CPanelServices& services = GetPanelServices();
    if (!services.GetMainWindow() || !services.HasTopLevelManager())
        return;
    CCommandMessage message;
    services.HandleManagerMessage(&message);
}
