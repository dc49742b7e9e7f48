#include "app/AppBackground.h"

#include <cmath>

#include "app/AppServices.h"
#include "app/WidgetsDlg.h"
#include "components/quordocg/WebDocRenderer.h"

IMPLEMENT_DYNAMIC(CAppBackground, CompactRendererInt)

IWebDocRenderer* CAppBackground::s_sharedRenderer = nullptr;
int CAppBackground::s_rendererMissing = 0;

CAppBackground::CAppBackground() : m_backgroundRect{-1, -1, -1, -1}
{
    if (!s_sharedRenderer) {
        if (IsNoRendererYet()) {
            // The first renderer made in the process loads the component; making one here
            // keeps that cost out of the first page's render.
            CreateRenderer();
            ReleaseRenderer();
        }
        LoadSharedBackground();
    }
}

int CAppBackground::LoadSharedBackground()
{
    if (s_sharedRenderer)
        return 1;
    IWebDocRenderer* renderer = nullptr;
    HRESULT result = ::CoCreateInstance(CLSID_WebDocRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IWebDocRenderer,
                                        reinterpret_cast<void**>(&renderer));
    if (result == REGDB_E_CLASSNOTREG)
        result = ::CoCreateInstance(CLSID_WebDocRendererOld, nullptr, CLSCTX_INPROC_SERVER, IID_IWebDocRendererOld,
                                    reinterpret_cast<void**>(&renderer));
    if (FAILED(result) || !renderer) {
        // Without any renderer the program cannot show a page. Start-up asks after the pages
        // are made and ends through the ordinary shut-down; a quit message posted from here
        // would instead close the next message box the moment it opened.
        s_rendererMissing = 1;
        return 0;
    }
    s_rendererMissing = 0;
    renderer->Initialise(0);
    const CString path = GetRootPath() + "SysResources\\buttons\\appback.web";
    DWORD length = 0;
    char* bytes = ReadWholeFile(path, &length);
    if (!bytes || length == 0 ||
        FAILED(renderer->LoadData(length, reinterpret_cast<const BYTE*>(bytes)))) {
        delete[] bytes;
        renderer->Release();
        return 0;
    }
    renderer->LoadData(0, nullptr);
    delete[] bytes;
    s_sharedRenderer = renderer;
    return 1;
}

void CAppBackground::ReleaseSharedBackground()
{
    if (s_sharedRenderer) {
        s_sharedRenderer->Release();
        s_sharedRenderer = nullptr;
    }
}

RECT CAppBackground::BackgroundRectFor(const RECT& m, const RECT& w, const RECT& b)
{
    const double mw = m.right - m.left, mh = m.bottom - m.top;
    const double bw = b.right - b.left, bh = b.bottom - b.top;
    if (mw <= 0 || mh <= 0)
        return b;
    RECT r;
    r.left = static_cast<LONG>(std::trunc(bw * (w.left - m.left) / mw)) + b.left;
    r.right = static_cast<LONG>(std::trunc(bw * (w.right - m.left) / mw)) + b.left;
    r.top = static_cast<LONG>(std::trunc((1 - (w.bottom - m.top) / mh) * bh)) + b.top;  // the lower edge
    r.bottom = static_cast<LONG>(std::trunc(bh * (1 - (w.top - m.top) / mh))) + b.top;  // the upper edge
    if (r.left >= b.left && r.right <= b.right && r.top >= b.top && r.bottom <= b.bottom)
        return r;
    return b;
}

void CAppBackground::UpdateBackgroundRect()
{
    CWnd* main = GetMainDialog();
    if (!main)
        main = GetMainWnd();
    if (!s_sharedRenderer || !main || !main->GetSafeHwnd() || !m_hWnd)
        return;
    RECT bounds;
    int one = 1;
    if (FAILED(s_sharedRenderer->GetBounds(&bounds, &one)))
        return;
    RECT mainRect, windowRect;
    main->GetWindowRect(&mainRect);
    GetWindowRect(&windowRect);
    m_backgroundRect = BackgroundRectFor(mainRect, windowRect, bounds);
}

void CAppBackground::DrawBackground()
{
    if (!m_buffer)
        return;
    if (!s_sharedRenderer) {
        CompactRendererInt::DrawBackground();
        return;
    }
    int handle = 0;
    if (FAILED(s_sharedRenderer->BeginRender(static_cast<unsigned short>(m_width),
                                             static_cast<unsigned short>(m_height), 257,
                                             reinterpret_cast<DWORD*>(m_buffer), &handle)))
        return;
    UpdateBackgroundRect();
    if (SUCCEEDED(s_sharedRenderer->SetRenderArea(handle, &m_backgroundRect, 0)) &&
        SUCCEEDED(s_sharedRenderer->SetRenderOptions(handle, 0, 0, 0xFF000000))) {
        int zero = 0, zero2 = 0;
        s_sharedRenderer->RenderStep(handle, 2000, m_width * m_height, &m_backgroundRect, &zero, &zero2,
                                     reinterpret_cast<DWORD*>(m_buffer));
    }
    s_sharedRenderer->EndRender(handle);
}
