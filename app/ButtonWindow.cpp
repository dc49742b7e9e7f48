#include "app/ButtonWindow.h"

#include "app/AppServices.h"
#include "app/Errors.h"
#include "app/WidgetsDlg.h"

IMPLEMENT_DYNAMIC(CButtonWindow, CWnd)  // the static control has no run-time record of its own

namespace {

const char* const kFaceLayers[] = {"background", "off", "over", "on", "disabled"};
const int kFaceTimeSlice = 100;

}  // namespace

BEGIN_MESSAGE_MAP(CButtonWindow, CStatic)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(kRendererRepaintParent, OnFaceRenderDue)
END_MESSAGE_MAP()

CButtonWindow::CButtonWindow(const CButtonDef& definition)
    : m_face(nullptr), m_definition(definition), m_state(kStateOff), m_lastPoint{0, 0}, m_faceWidth(0),
      m_faceHeight(0), m_rect{0, 0, 0, 0}
{
}

CButtonWindow::~CButtonWindow()
{
    if (m_face) {
        m_face->ReleaseRenderer();
        if (m_face->GetSafeHwnd())
            m_face->DestroyWindow();
        delete m_face;
        m_face = nullptr;
    }
    if (m_hWnd)
        DestroyWindow();
}

BOOL CButtonWindow::Create(CWnd* parent, const RECT& rect, UINT id)
{
    // Transparent to the pointer, as the bar that holds it (see VyButtonWindow::Create).
    return CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
                    (HMENU)(UINT_PTR)id);
}

const char* CButtonWindow::LayerForState(int state)
{
    switch (state) {
    case kStateOn:
        return "on";
    case kStateOver:
        return "over";
    case kStateDisabled:
        return "disabled";
    default:
        return "off";
    }
}

int CButtonWindow::OnCreate(LPCREATESTRUCT cs)
{
    if (Default() == -1)
        return -1;
    const CString path = GetRootPath() + "SysResources\\buttons\\" + m_definition.m_faceFile;
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        BW_INTERNAL_ERROR("ButtonWindow.cpp");
        return -1;
    }
    if (m_face) {
        m_face->DestroyWindow();
        delete m_face;
        m_face = nullptr;
    }
    RECT client;
    GetClientRect(&client);
    m_face = new CPromptWnd;
    if (!m_face->Create(this, client, 1, 0)) {
        delete m_face;
        m_face = nullptr;
        BW_INTERNAL_ERROR("ButtonWindow.cpp");
        return -1;
    }
    m_face->m_renderPending = 1;
    m_face->m_releaseAfterRender = 0;  // the renderer stays loaded for the state renders
    m_face->m_timeSlice = kFaceTimeSlice;
    m_face->LoadWebFile(path);
    bool complete = m_face->m_layers.size() >= 5;
    for (const char* name : kFaceLayers)
        complete = complete && m_face->FindLayer(name) != nullptr;
    if (!complete) {
        BW_INTERNAL_ERROR("ButtonWindow.cpp");
        return -1;
    }
    m_faceWidth = client.right - client.left;
    m_faceHeight = client.bottom - client.top;
    return 0;
}

void CButtonWindow::PreRenderStates(int state)
{
    if (!m_face)
        return;
    m_face->m_snapshotAfterRender = 1;
    m_face->ShowLayers("background", 1);
    m_face->Render(1, nullptr);
    // The state layers are rendered alone over clear pixels.
    m_face->m_drawBackground = 0;
    m_face->m_snapshotAfterRender = 0;
    const int order[] = {kStateOn, kStateOver, kStateOff, kStateDisabled};
    for (int each : order) {
        if (state != -1 && state != each)
            continue;
        const char* layer = LayerForState(each);
        m_face->ShowLayers(layer, 1);
        m_face->Render(1, nullptr);
        m_face->CacheLayer(layer);
    }
    m_face->m_drawBackground = 1;
    m_face->ShowLayers("background", 1);
    m_face->Render(1, nullptr);
}

int CButtonWindow::ComposeState(int state)
{
    if (!m_face)
        return 0;
    const char* layer = LayerForState(state);
    CWebLayer* record = m_face->FindLayer(layer);
    if (record && !record->m_runs)
        PreRenderStates(state);
    m_face->CompositeLayer(layer);
    return 1;
}

void CButtonWindow::ShowState(int state)
{
    m_face->ShowWindow(SW_SHOW);
    ComposeState(state);
    m_face->Blit(nullptr, 0, 0, -1, -1, 0, 0, 0, 0);
}

void CButtonWindow::OnPaint()
{
    CPaintDC dc(this);
    if (!m_face)
        return;
    RECT client;
    GetClientRect(&client);
    m_face->SetWindowPos(HWND_TOP, 0, 0, client.right, client.bottom, SWP_NOREDRAW | SWP_NOACTIVATE);
    ShowState(m_state);
}

void CButtonWindow::OnSize(UINT type, int cx, int cy)
{
    RECT rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);
    if (rect.left == m_rect.left && rect.top == m_rect.top && rect.right == m_rect.right &&
        rect.bottom == m_rect.bottom)
        return;
    Default();
    m_rect = rect;
    if (m_face && m_face->GetSafeHwnd()) {
        RECT client;
        GetClientRect(&client);
        m_face->SetWindowPos(static_cast<HWND>(nullptr), 0, 0, client.right, client.bottom,
                             SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    }
}

LRESULT CButtonWindow::OnFaceRenderDue(WPARAM, LPARAM)
{
    PreRenderStates(-1);
    Invalidate(TRUE);
    return 0;
}

void CButtonWindow::Select()
{
    if (m_state == kStateDisabled || !m_face)
        return;
    m_state = kStateOn;
    ShowState(m_state);
}

void CButtonWindow::Deselect()
{
    if (m_state == kStateDisabled || !m_face)
        return;
    m_state = kStateOff;
    ShowState(m_state);
}

bool CButtonWindow::ContainsScreenPoint(int x, int y) const
{
    RECT rect;
    GetWindowRect(&rect);
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void CButtonWindow::Press(int x, int y)
{
    if (m_state == kStateDisabled || !m_face)
        return;
    if (!ContainsScreenPoint(x, y))
        return;
    ShowState(kStateOn);
    m_state = kStateOn;
}

void CButtonWindow::TrackHover(int x, int y)
{
    m_lastPoint = {x, y};
    if (!m_face)
        return;
    if (ContainsScreenPoint(x, y)) {
        if (m_state == kStateOff) {
            ShowState(kStateOver);
            m_state = kStateOver;
        }
    } else if (m_state == kStateOver) {
        m_state = kStateOff;
        ShowState(kStateOff);
    }
}

void CButtonWindow::SetDisabled(int disabled)
{
    if (!m_face)
        return;
    if (disabled) {
        if (m_state != kStateDisabled) {
            m_state = kStateDisabled;
            ComposeState(m_state);
        }
    } else if (m_state == kStateDisabled) {
        m_state = kStateOff;
        ComposeState(m_state);
    }
    m_face->Blit(nullptr, 0, 0, -1, -1, 0, 0, 0, 0);
}

BOOL CButtonWindow::PreTranslateMessage(MSG* msg)
{
    CWidgetsDlg* dialog = GetMainDialog();
    return dialog ? dialog->PreTranslateMessage(msg) : FALSE;
}
