#include "gallery/StaticGallery.h"

#include "document/Options.h"
#include "gallery/GalleryServices.h"

#include <cctype>

IMPLEMENT_DYNAMIC(CStaticGallery, CWnd)  // the static control has no run-time record of its own

namespace {

// The renderer view asks its parent to repaint once a deferred render is due.
const UINT kRendererRedraw = WM_USER + 20;
const char kBackgroundLayer[] = "background";
const char kNavBarsLayer[] = "navbars";
const int kHoverMargin = 50;  // added to the measured highlight time

// "navbars" somewhere after the first character: the object lights up the "navbars" layer.
bool LightsNavBars(const CString& name)
{
    return name.GetLength() > 1 && strstr((const char*)name + 1, kNavBarsLayer) != nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CStaticGallery, CStatic)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(kRendererRedraw, OnRendererRedraw)
END_MESSAGE_MAP()

CStaticGallery::CStaticGallery(const CString& pageName)
    : m_pageName(pageName), m_created(0), m_visible(1), m_templateType(11), m_hoverActive(0), m_hoverAllowed(1),
      m_hoverDelay(kDefaultHoverDelay), m_hoverTimer(0), m_backgroundShown(0), m_highlightShown(0), m_view(nullptr)
{
}

CStaticGallery::~CStaticGallery()
{
    if (m_hWnd)
        DestroyWindow();
    delete m_view;
}

BOOL CStaticGallery::Create(CWnd* parent, const RECT& rect, UINT id, DWORD style)
{
    return CreateEx(0, "STATIC", "", style | WS_CHILD | (m_visible ? WS_VISIBLE : 0), rect.left,
                    rect.top, rect.right - rect.left, rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
                    (HMENU)(UINT_PTR)id);
}

int CStaticGallery::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    if (m_created)
        return 0;
    CGalleryServices& services = GetGalleryServices();
    delete m_view;
    m_view = services.CreateView();
    RECT client;
    GetClientRect(&client);
    if (!m_view || !m_view->Create(this, client, m_visible != 0)) {
        services.InternalError(__LINE__, "StaticGallery.cpp");
        return -1;
    }
    if (m_visible)
        ShowWindow(SW_SHOW);
    m_view->LoadWebFile(services.GetRootPath() + m_folderPrefix + m_pageName);
    // The page must name its two layers: what stays on screen and what lights up.
    bool haveBackground = false, haveNavBars = false;
    const int count = m_view->GetLayerCount();
    for (int i = 0; i < count; ++i) {
        const CString name = m_view->GetLayerName(i);
        haveBackground = haveBackground || name.CompareNoCase(kBackgroundLayer) == 0;
        haveNavBars = haveNavBars || name.CompareNoCase(kNavBarsLayer) == 0;
    }
    if (count < 2 || !haveBackground || !haveNavBars) {
        services.InternalError(__LINE__, "StaticGallery.cpp");
        return -1;
    }
    ShowHighlight("all");
    m_created = 1;
    return 0;
}

void CStaticGallery::ShowHighlight(const CString& name)
{
    if (!m_view)
        return;
    m_backgroundShown = 1;
    m_highlightShown = 0;
    m_view->ShowLayers(kBackgroundLayer, true);
    m_view->Render(false);
    if (name == "all" || name == kNavBarsLayer) {
        // The highlight is drawn alone and kept, so that hovering composes it without a render.
        m_view->ShowLayers(kNavBarsLayer, true);
        m_view->Render(!m_visible);
        m_view->CacheLayer(kNavBarsLayer);
    }
    m_view->ShowLayers(kBackgroundLayer, true);
    m_view->Render(false);
}

void CStaticGallery::ShowObject(const CString& name)
{
    if (name.IsEmpty() || !m_view)
        return;
    if (!m_view->IsLayerCached(name))
        ShowHighlight(name);
    m_view->CompositeLayer(name);
    m_highlightShown = 1;
}

void CStaticGallery::SetHover(const CString& name)
{
    m_hoveredName = name;
    if (name.IsEmpty()) {
        ShowHighlight(CString());
        Repaint();
        return;
    }
    if (!LightsNavBars(name)) {
        m_hoveredName.Empty();
        ShowHighlight(CString());
        Repaint();
        return;
    }
    const DWORD started = ::GetTickCount();
    ShowObject(kNavBarsLayer);
    Repaint();
    m_hoverDelay = ::GetTickCount() - started + kHoverMargin;
}

CString CStaticGallery::ObjectAt(POINT screen)
{
    char name[kNameLength + 1] = "";
    if (!m_view || !m_view->HitTest(screen.x, screen.y, kNameLength, name))
        return CString();
    name[kNameLength] = 0;
    return CString(name);
}

bool CStaticGallery::TrackHover(POINT screen)
{
    if (!m_hWnd)
        return false;
    CGalleryServices& services = GetGalleryServices();
    RECT window;
    GetWindowRect(&window);
    if (!::PtInRect(&window, screen)) {
        if (!m_hoveredName.IsEmpty())
            SetHover(CString());
        return false;
    }
    const CString name = ObjectAt(screen);
    if (name.IsEmpty()) {
        services.ReleaseCaptureCursor();
        if (!m_hoveredName.IsEmpty() && m_hoverAllowed)
            SetHover(CString());
        m_hoverActive = 0;
        return false;
    }
    CString lower = name;
    lower.MakeLower();
    if (!m_hoverActive)
        services.ReleaseCaptureCursor();
    if (name[0] == 'b' || name[0] == 'B') {
        services.SetCaptureCursor(kButtonCursor);
    } else if (name[0] == 'r') {
        services.SetCaptureCursor(kRolloverCursor);
    } else if (lower.CompareNoCase(m_hoveredName) != 0 && m_hoverAllowed) {
        services.SetCaptureCursor(kHandCursor);
        StartHoverTimer();
        SetHover(lower);
    }
    m_hoverActive = 1;
    return true;
}

void CStaticGallery::StartHoverTimer()
{
    UINT_PTR id = kFirstHoverTimer;
    if (m_hoverTimer) {
        KillTimer(m_hoverTimer);
        id = m_hoverTimer + 1;
        m_hoverTimer = 0;
    }
    // Another timer of this window may hold an id: take the next free one.
    for (int tries = 0; tries < 1000 && m_hWnd; ++tries, ++id)
        if (SetTimer(id, m_hoverDelay)) {
            m_hoverTimer = id;
            break;
        }
    m_hoverAllowed = 0;
}

void CStaticGallery::OnTimer(UINT_PTR id)
{
    if (m_hoverTimer && id == m_hoverTimer) {
        KillTimer(m_hoverTimer);
        m_hoverTimer = 0;
        m_hoverAllowed = 1;
        POINT cursor;
        ::GetCursorPos(&cursor);
        TrackHover(cursor);
    }
    Default();
}

void CStaticGallery::ForwardLButtonDown(UINT flags, POINT point)
{
    ForwardButton(false, flags, point);
}

void CStaticGallery::ForwardRButtonDown(UINT flags, POINT point)
{
    ForwardButton(true, flags, point);
}

void CStaticGallery::ForwardButton(bool right, UINT flags, POINT point)
{
    // A command may start a long piece of work: the editing pages are busy in the background
    // already (application starting), the start pages are not (wait).
    CGalleryServices& services = GetGalleryServices();
    services.SetCaptureCursor(services.IsMainManagerActive() ? 2 : 1);
    m_hoverActive = 0;
    if (right)
        OnRButtonDown(flags, CPoint(point.x, point.y));
    else
        OnLButtonDown(flags, CPoint(point.x, point.y));
    services.ReleaseCaptureCursor();
}

void CStaticGallery::OnLButtonDown(UINT, CPoint point)
{
    if (!m_hWnd)
        return;
    POINT screen = {point.x, point.y};
    ClientToScreen(&screen);
    const CString name = ObjectAt(screen);
    CGalleryServices& services = GetGalleryServices();
    if (name.IsEmpty() || !services.IgnoreText(name))
        return;
    // A template object starts a graphic of the gallery's template type.
    if (name.GetLength() >= 3 && name.Right(3) == "kiq")
        if (COptions* record = services.GetCurrentOptions()) {
            record->SetGraphicType(m_templateType);
            record->SetModified(true);
        }
    services.SendCommand(name);
}

void CStaticGallery::OnRButtonDown(UINT, CPoint point)
{
    if (!m_hWnd)
        return;
    POINT screen = {point.x, point.y};
    ClientToScreen(&screen);
    const CString name = ObjectAt(screen);
    if (name.IsEmpty())
        return;
    GetGalleryServices().SendCommand(name + "-r");
    if (CWnd* main = AfxGetMainWnd())
        if (main->GetSafeHwnd())
            ::SetActiveWindow(main->GetSafeHwnd());
}

void CStaticGallery::Repaint()
{
    if (!m_hWnd)
        return;
    if (m_view)
        m_view->Blit(nullptr);
}

void CStaticGallery::OnPaint()
{
    CPaintDC dc(this);
    if (m_created && m_view) {
        m_view->Blit(&dc);
        if (CWnd* window = m_view->GetWindow())
            if (window->GetSafeHwnd())
                window->ValidateRect(nullptr);
    }
}

void CStaticGallery::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (!m_view)
        return;
    RECT client = {0, 0, cx, cy};
    m_view->MoveTo(client);
}

LRESULT CStaticGallery::OnRendererRedraw(WPARAM, LPARAM)
{
    ShowHighlight("all");
    return 0;
}

void CStaticGallery::SetRendererState(int flag)
{
    if (!m_view)
        return;
    m_view->Render(flag == 0);
    m_view->ReleaseRenderer();
}

void CStaticGallery::Redraw()
{
    if (m_view && m_hWnd)
        Repaint();
}

BOOL CStaticGallery::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
        CWnd* main = AfxGetMainWnd();
        return main && main->GetSafeHwnd() ? main->PreTranslateMessage(msg) : FALSE;
    }
    return CStatic::PreTranslateMessage(msg);
}

void CStaticGallery::OnDestroy()
{
    m_created = 0;
    if (m_hoverTimer) {
        KillTimer(m_hoverTimer);
        m_hoverTimer = 0;
    }
    if (m_view) {
        m_view->FreeBuffer();
        m_view->ReleaseRenderer();
    }
    Default();
}
