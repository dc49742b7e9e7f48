#include "app/CompactRendererInt.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "app/AppServices.h"
#include "app/Errors.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "bitmap/Dib.h"
#include "bitmap/bitmapmanip.h"
#include "components/quordocg/WebDocRenderer.h"

IMPLEMENT_DYNAMIC(CompactRendererInt, CWnd)

namespace {

int g_timersEnabled = 1;
int g_noRendererYet = 1;
unsigned g_webLoadFailures = 0;
unsigned char g_blitFailureReported = 0;
CUIServices* g_timerServicesOverride = nullptr;

const DWORD kClearWhite = 0xFFFFFFFF;
const int kDefaultInterval = 1000;
const int kRenderFlags = 257;

const char* RendererClassName()
{
    static const char kClass[] = "BarwrightRenderer";
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), kClass, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        ::RegisterClassA(&wc);
    }
    return kClass;
}

CUIServices* TimerServices()
{
    if (g_timerServicesOverride)
        return g_timerServicesOverride;
    CWidgetsDlg* dialog = GetMainDialog();
    return dialog ? dialog->GetUIServices() : nullptr;
}

bool NameIsInvalid(const CString& name)
{
    // Default names that drawing programs give unnamed layers and animation frames.
    return name.Find("Layer") >= 0 || name.Find("Frame") >= 0;
}

}  // namespace

void EnableRendererTimers()
{
    g_timersEnabled = 1;
}

void DisableRendererTimers()
{
    g_timersEnabled = 0;
}

int AreRendererTimersEnabled()
{
    return g_timersEnabled;
}

int IsNoRendererYet()
{
    return g_noRendererYet;
}

void SetRendererTimerServices(CUIServices* services)
{
    g_timerServicesOverride = services;
}

BEGIN_MESSAGE_MAP(CompactRendererInt, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
END_MESSAGE_MAP()

CompactRendererInt::CompactRendererInt()
    : m_notifyParent(1), m_layerCount(0), m_drawBackground(1), m_snapshotAfterRender(0), m_hasLayers(0),
      m_snapshot(nullptr), m_buffer(nullptr), m_bufferWidth(0), m_bufferHeight(0), m_width(0), m_height(0),
      m_documentLoaded(0), m_visible(1), m_backgroundColour(0x00FFFFFF), m_documentBounds{0, 0, 0, 0},
      m_renderTimer(0), m_renderPending(1), m_renderer(nullptr), m_renderHandle(0), m_detail(0),
      m_timeSlice(kDefaultInterval), m_backgroundImage(nullptr), m_backgroundWidth(0), m_backgroundHeight(0),
      m_backgroundOffsetX(0), m_backgroundOffsetY(0)
{
}

CompactRendererInt::~CompactRendererInt()
{
    if (m_hWnd)
        DestroyWindow();
    ReleaseRenderer();
    delete[] m_buffer;
    delete[] m_snapshot;
    delete[] m_backgroundImage;
    DeleteLayers();
}

BOOL CompactRendererInt::Create(CWnd* parent, const RECT& rect, UINT id, DWORD style)
{
    return CreateEx(0, RendererClassName(), "", style | WS_CHILD | WS_CLIPSIBLINGS, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
                    (HMENU)(UINT_PTR)id);
}

bool CompactRendererInt::IsMainWindowIconic()
{
    CWnd* main = GetMainWnd();
    return main && main->GetSafeHwnd() && main->IsIconic();
}

bool CompactRendererInt::IsMainWindowPlacedMinimised()
{
    CWnd* main = GetMainWnd();
    if (!main || !main->GetSafeHwnd())
        return false;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    return main->GetWindowPlacement(&placement) && placement.showCmd == SW_MINIMIZE;
}

// ---- Renderer and documents ---------------------------------------------------------------

int CompactRendererInt::CreateRenderer()
{
    g_noRendererYet = 0;
    ReleaseRenderer();
    IWebDocRenderer* renderer = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WebDocRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IWebDocRenderer,
                                  reinterpret_cast<void**>(&renderer))) ||
        !renderer)
        return 0;
    m_renderer = renderer;
    m_renderer->Initialise(0);
    return 1;
}

void CompactRendererInt::ReleaseRenderer()
{
    if (m_renderer) {
        m_renderer->Release();
        m_renderer = nullptr;
    }
}

int CompactRendererInt::LoadWebFile(const char* path)
{
    m_documentPath = path;
    DWORD length = 0;
    char* bytes = ReadWholeFile(path, &length);
    if (!bytes || length == 0) {
        delete[] bytes;
        ++g_webLoadFailures;
        return 0;
    }
    const int result = LoadFromMemory(bytes, length);
    delete[] bytes;
    return result;
}

unsigned CompactRendererInt::GetWebLoadFailureCount()
{
    return g_webLoadFailures;
}

void CompactRendererInt::SetWebLoadFailureCount(unsigned count)
{
    g_webLoadFailures = count;
}

void CompactRendererInt::DeleteLayers()
{
    for (CWebLayer* layer : m_layers)
        delete layer;
    m_layers.clear();
    m_hasLayers = 0;
}

void CompactRendererInt::ReportInvalidLayers()
{
    CString text;
    text.Format("File %s has invalid named layers!!!", (const char*)m_documentPath);
    ::MessageBoxA(m_hWnd, text, "Web File Failed!", MB_OK);
}

int CompactRendererInt::LoadFromMemory(const char* bytes, unsigned size)
{
    ReleaseRenderer();
    if (!CreateRenderer())
        return 0;
    if (bytes && size >= 1) {
        if (FAILED(m_renderer->LoadData(size, reinterpret_cast<const BYTE*>(bytes)))) {
            // A renderer left half-loaded would draw nothing and answer nothing: let it go.
            m_renderer->LoadData(0, nullptr);
            ReleaseRenderer();
            m_documentLoaded = 0;
            return 0;
        }
    }
    m_renderer->LoadData(0, nullptr);
    if (!bytes || size == 0) {
        m_documentLoaded = 0;
        return 1;
    }

    RECT bounds;
    int one = 1;
    m_renderer->GetBounds(&bounds, &one);
    DeleteLayers();
    unsigned count = 0;
    BSTR* names = nullptr;
    const HRESULT namesResult = m_renderer->GetLayerNames(&count, &names);
    m_layerCount = count;
    std::vector<CString> taken;
    bool reported = false;
    for (unsigned i = 0; names && i < count; ++i) {
        CString name;
        if (names[i]) {
            const int bytesNeeded = ::WideCharToMultiByte(CP_ACP, 0, names[i], -1, nullptr, 0, nullptr, nullptr);
            if (bytesNeeded > 1) {
                std::vector<char> ansi(bytesNeeded);
                ::WideCharToMultiByte(CP_ACP, 0, names[i], -1, ansi.data(), bytesNeeded, nullptr, nullptr);
                name = ansi.data();
            }
        }
        if (count >= 2 && NameIsInvalid(name)) {
            // Every invalid name is dropped; the user hears about the file once.
            if (!reported)
                ReportInvalidLayers();
            reported = true;
            continue;
        }
        taken.push_back(name);
    }
    for (unsigned i = 0; names && i < count; ++i)
        ::SysFreeString(names[i]);
    if (names)
        ::CoTaskMemFree(names);

    if (namesResult == S_OK && taken.size() >= 2) {
        m_layerCount = static_cast<unsigned>(taken.size());
        for (const CString& name : taken) {
            CWebLayer* layer = new (std::nothrow) CWebLayer(name);
            if (!layer) {
                InformError(IDS_RENDER_NO_MEMORY);
                DeleteLayers();
                return 0;
            }
            m_layers.push_back(layer);
        }
        m_hasLayers = 1;
    }
    m_documentLoaded = 1;
    return 1;
}

bool CompactRendererInt::ShowLayers(const char* name, int exclusive)
{
    if (m_layers.empty()) {
        BW_INTERNAL_ERROR("CompactRendererInt.cpp");
        return false;
    }
    if (!name || !*name || !m_renderer)
        return false;
    for (CWebLayer* layer : m_layers) {
        const bool match = layer->m_name.CompareNoCase(name) == 0;
        if (!exclusive && !match)
            continue;
        const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, layer->m_name, -1, nullptr, 0);
        std::vector<wchar_t> wide(std::max(wideLength, 1));
        ::MultiByteToWideChar(CP_ACP, 0, layer->m_name, -1, wide.data(), wideLength);
        if (m_renderer->SetLayerVisibility(wide.data(), match ? kLayerVisible : kLayerHidden) != S_OK) {
            BW_INTERNAL_ERROR("CompactRendererInt.cpp");
            return false;
        }
    }
    return true;
}

CWebLayer* CompactRendererInt::FindLayer(const char* name) const
{
    for (CWebLayer* layer : m_layers)
        if (layer->m_name.CompareNoCase(name) == 0)
            return layer;
    return nullptr;
}

// ---- Layer caches -------------------------------------------------------------------------

int CompactRendererInt::SnapshotBuffer()
{
    if (!m_buffer)
        return 0;
    const size_t count = static_cast<size_t>(m_width) * m_height;
    std::uint32_t* copy = new (std::nothrow) std::uint32_t[count];
    if (!copy) {
        InformError(IDS_RENDER_NO_MEMORY);
        return 0;
    }
    std::memcpy(copy, m_buffer, count * sizeof(std::uint32_t));
    delete[] m_snapshot;
    m_snapshot = copy;
    return 1;
}

int CompactRendererInt::CacheLayer(const char* name)
{
    CWebLayer* layer = FindLayer(name);
    if (!m_buffer || !layer)
        return 0;
    layer->m_width = m_width;
    layer->m_height = m_height;
    layer->FreeRuns();
    const size_t pixels = static_cast<size_t>(m_width) * m_height;
    size_t runs = 0;
    for (size_t i = 0; i < pixels; ++runs) {
        size_t j = i + 1;
        while (j < pixels && m_buffer[j] == m_buffer[i])
            ++j;
        i = j;
    }
    if (runs * 2 > pixels) {
        // Runs would not save anything: keep the pixels themselves, so the state still shows.
        std::uint32_t* raw = new (std::nothrow) std::uint32_t[pixels];
        if (!raw) {
            InformError(IDS_RENDER_NO_MEMORY);
            return 0;
        }
        std::memcpy(raw, m_buffer, pixels * sizeof(std::uint32_t));
        layer->m_runs = raw;
        layer->m_runCount = static_cast<unsigned>(pixels);
        layer->m_raw = true;
        return 1;
    }
    std::uint32_t* list = new (std::nothrow) std::uint32_t[runs * 2];
    if (!list) {
        InformError(IDS_RENDER_NO_MEMORY);
        return 0;
    }
    size_t word = 0;
    for (size_t i = 0; i < pixels;) {
        size_t j = i + 1;
        while (j < pixels && m_buffer[j] == m_buffer[i])
            ++j;
        list[word++] = m_buffer[i];
        list[word++] = static_cast<std::uint32_t>(j - i);
        i = j;
    }
    layer->m_runs = list;
    layer->m_runCount = static_cast<unsigned>(runs * 2);
    return 1;
}

namespace {

// Blends a cached layer pixel over a destination pixel; fully clear pixels of the layer leave
// the destination as it was.
inline std::uint32_t BlendLayerPixel(std::uint32_t d, std::uint32_t v)
{
    const std::uint32_t t = v >> 24;
    if (t == 255)
        return d;
    const std::uint32_t td = d >> 24;
    std::uint32_t out = (t < td ? t : td) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t dc = (d >> shift) & 0xFF, vc = (v >> shift) & 0xFF;
        out |= (((t * dc + (256 - t) * vc) >> 8) & 0xFF) << shift;
    }
    return out;
}

}  // namespace

int CompactRendererInt::CompositeLayer(const char* name)
{
    if (!m_buffer || !m_snapshot)
        return 0;
    const size_t pixels = static_cast<size_t>(m_width) * m_height;
    std::memcpy(m_buffer, m_snapshot, pixels * sizeof(std::uint32_t));
    CWebLayer* layer = FindLayer(name);
    if (!layer || !layer->m_runs || layer->m_width != m_width || layer->m_height != m_height)
        return 1;
    if (layer->m_raw) {
        for (size_t i = 0; i < pixels; ++i)
            m_buffer[i] = BlendLayerPixel(m_buffer[i], layer->m_runs[i]);
        return 1;
    }
    size_t position = 0;
    for (unsigned word = 0; word + 1 < layer->m_runCount && position < pixels; word += 2) {
        const std::uint32_t value = layer->m_runs[word];
        const size_t end = std::min(pixels, position + layer->m_runs[word + 1]);
        if ((value >> 24) != 255)
            for (size_t i = position; i < end; ++i)
                m_buffer[i] = BlendLayerPixel(m_buffer[i], value);
        position = end;
    }
    return 1;
}

// ---- Hit testing --------------------------------------------------------------------------

int CompactRendererInt::HitTest(int x, int y, unsigned bufferLength, char* buffer)
{
    if (!m_documentLoaded || !m_renderer || !buffer || bufferLength == 0 || IsMainWindowIconic())
        return 0;
    const int documentWidth = m_documentBounds.right - m_documentBounds.left;
    const int documentHeight = m_documentBounds.bottom - m_documentBounds.top;
    if (documentWidth <= 0 || documentHeight <= 0)
        return 0;
    RECT window;
    GetWindowRect(&window);
    if (x < window.left || x >= window.right || y < window.top || y >= window.bottom)
        return 0;
    const int windowWidth = window.right - window.left, windowHeight = window.bottom - window.top;
    if (windowWidth <= 0 || windowHeight <= 0)
        return 0;
    const int dx = x - (window.left + window.right) / 2;
    const int dy = y - (window.top + window.bottom) / 2;
    double kx = static_cast<double>(documentWidth) / windowWidth;
    double ky = static_cast<double>(documentHeight) / windowHeight;
    const double rd = static_cast<double>(documentWidth) / documentHeight;
    const double rw = static_cast<double>(windowWidth) / windowHeight;
    if (rd < rw)
        kx *= rw / rd;
    else if (rd > rw)
        ky *= rd / rw;
    const int documentX = static_cast<int>(std::trunc(dx * kx)) + (m_documentBounds.left + m_documentBounds.right) / 2;
    const int documentY = (m_documentBounds.top + m_documentBounds.bottom) / 2 - static_cast<int>(std::trunc(dy * ky));
    WebDocMatrix matrix = {};
    matrix.xScale = static_cast<int>(std::trunc(m_width * 1073741824.0 / documentWidth));
    matrix.yScale = static_cast<int>(std::trunc(m_height * 1073741824.0 / documentHeight));
    unsigned length = 0;
    if (m_renderer->GetObjectNameAt(documentX, documentY, matrix, 1, bufferLength, &length, buffer) != S_OK)
        return 0;
    buffer[std::min(length, bufferLength - 1)] = 0;
    return 1;
}

// ---- Render cycle -------------------------------------------------------------------------

int CompactRendererInt::Render(int noBlit, CDC* dc)
{
    if (!m_renderer) {
        if (!CreateRenderer())
            return 0;
        if (!m_documentPath.IsEmpty() && m_documentLoaded && !LoadWebFile(m_documentPath))
            return 0;
    }
    if (!m_hWnd)
        return 0;
    RECT client;
    GetClientRect(&client);
    if (IsMainWindowPlacedMinimised() || client.right <= client.left || client.bottom <= client.top)
        return 1;
    if (IsMainWindowIconic()) {
        StartRenderTimer();  // render once the window is restored
        return 1;
    }
    CDrawingDC target(this, dc);
    if (!target.Get())
        return 0;
    dc = target.Get();
    RECT rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (m_buffer && width == m_bufferWidth && height == m_bufferHeight) {
        FillDwords(reinterpret_cast<DWORD*>(m_buffer), kClearWhite, width * height);
    } else {
        m_width = width;
        m_height = height;
        // Only the buffer goes: a subclass's FreeBuffer also lets go of the renderer, which this
        // render is about to use.
        CompactRendererInt::FreeBuffer();
        m_buffer = new (std::nothrow) std::uint32_t[static_cast<size_t>(width) * height];
        if (!m_buffer) {
            m_bufferWidth = m_bufferHeight = 0;
            target.Release();
            InformError(IDS_RENDER_NO_MEMORY);
            return 0;
        }
        m_bufferWidth = width;
        m_bufferHeight = height;
        // A new buffer starts clear, so that nothing of the heap's old content can show.
        FillDwords(reinterpret_cast<DWORD*>(m_buffer), kClearWhite, width * height);
    }
    m_width = width;
    m_height = height;
    if (m_drawBackground)
        DrawBackground();
    int result = 1;
    if (m_documentLoaded && m_renderer)
        result = RenderDocument(noBlit, dc);
    if (result && m_snapshotAfterRender && m_buffer)
        SnapshotBuffer();
    return result;
}

int CompactRendererInt::RenderDocument(int noBlit, CDC* dc)
{
    int handle = 0;
    bool begun = false;
    try {
        HRESULT result = m_renderer->BeginRender(static_cast<unsigned short>(m_width),
                                                 static_cast<unsigned short>(m_height), kRenderFlags,
                                                 reinterpret_cast<DWORD*>(m_buffer), &handle);
        if (FAILED(result))
            return 0;
        begun = true;
        m_renderHandle = handle;
        RECT bounds = {0, 0, 0, 0};
        int one = 1, zero = 0;
        // A renderer that cannot give its area or options cannot draw the page: end the render.
        if (FAILED(m_renderer->GetBounds(&bounds, &one)) || FAILED(m_renderer->PrepareArea(&bounds, m_detail)) ||
            FAILED(m_renderer->SetRenderArea(handle, &bounds, m_detail))) {
            m_renderer->EndRender(handle);
            return 0;
        }
        m_documentBounds = bounds;
        if (FAILED(m_renderer->SetRenderOptions(handle, 1, 1, 0xFFFFFFFF))) {
            m_renderer->EndRender(handle);
            return 0;
        }
        for (;;) {
            result = m_renderer->RenderStep(handle, m_timeSlice, m_width * m_height, &bounds, &one, &zero,
                                            reinterpret_cast<DWORD*>(m_buffer));
            // A failure ends the render: it would fail again on every further step.
            if (FAILED(result)) {
                m_renderer->EndRender(handle);
                return 0;
            }
            if (result & kRenderFinished)
                break;
            if (!noBlit)
                Blit(dc, 0, 0, -1, -1, 0, 0, 0, 0);
        }
        if (!noBlit)
            Blit(dc, 0, 0, -1, -1, 0, 0, 0, 0);
        m_renderer->EndRender(handle);
        return 1;
    } catch (const std::bad_alloc&) {
        if (begun && m_renderer)
            m_renderer->EndRender(handle);
        InformError(IDS_RENDER_NO_MEMORY);
    } catch (...) {
        if (begun && m_renderer)
            m_renderer->EndRender(handle);
        InformError(IDS_RENDER_FAILED);
    }
    return 0;
}

void CompactRendererInt::ReportBlitFailure(bool outOfMemory)
{
    if (g_blitFailureReported)
        return;
    g_blitFailureReported = 1;
    InformError(outOfMemory ? IDS_RENDER_NO_MEMORY : IDS_RENDER_FAILED);
}

void CompactRendererInt::Blit(CDC* dc, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                              int srcH)
{
    if (srcW == 0)
        srcW = m_width - srcX;
    if (srcH == 0)
        srcH = m_height - srcY;
    if (!m_buffer) {
        Render(0, nullptr);
        if (!m_buffer)
            return;
    }
    if (!m_hWnd)
        return;
    RECT client;
    GetClientRect(&client);
    if (client.right <= client.left || client.bottom <= client.top || IsMainWindowIconic() || !m_visible)
        return;

    int reference = 32;
    if (CWnd* main = GetMainWnd()) {
        if (main->GetSafeHwnd()) {
            HDC mainDc = ::GetDC(main->GetSafeHwnd());
            if (mainDc) {
                reference = ::GetDeviceCaps(mainDc, BITSPIXEL) * ::GetDeviceCaps(mainDc, PLANES);
                ::ReleaseDC(main->GetSafeHwnd(), mainDc);
            }
        }
    }
    if (dc && dc->GetDeviceCaps(BITSPIXEL) * dc->GetDeviceCaps(PLANES) != reference)
        return;  // a printer or memory context of another depth is not ours to draw into
    CDrawingDC target(this, dc);
    if (!target.Get())
        return;
    dc = target.Get();
    if (dstW < 0)
        dstW = client.right - client.left;
    if (dstH < 0)
        dstH = client.bottom - client.top;
    dstX = std::max(dstX, 0);
    dstY = std::max(dstY, 0);
    dc->SetMapMode(MM_TEXT);

    const int depth = dc->GetDeviceCaps(BITSPIXEL) * dc->GetDeviceCaps(PLANES);
    bool drawn = true, outOfMemory = false;
    if (depth >= 32) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = m_height;  // bottom-up
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const int oldMode = ::SetStretchBltMode(*dc, COLORONCOLOR);
        // For a bottom-up image the source's y counts from the bottom row.
        const int lines = ::StretchDIBits(*dc, dstX, dstY, dstW, dstH, srcX, m_height - srcY - srcH, srcW, srcH,
                                          m_buffer, &info, DIB_RGB_COLORS, SRCCOPY);
        ::SetStretchBltMode(*dc, oldMode);
        drawn = lines != 0 && lines != static_cast<int>(GDI_ERROR);
        outOfMemory = !drawn && ::GetLastError() == ERROR_NOT_ENOUGH_MEMORY;
    } else {
        // Below true colour the rasterizer dithers the picture into a section of the display's
        // own depth (onto the application palette on 8-bit displays), which GDI then only copies.
        try {
            drawn = DrawDithered(dc, m_buffer, m_width, m_height, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH);
        } catch (const std::bad_alloc&) {
            drawn = false;
            outOfMemory = true;
        }
    }
    target.Release();
    if (!drawn)
        ReportBlitFailure(outOfMemory);
}

void CompactRendererInt::FreeBuffer()
{
    delete[] m_buffer;
    m_buffer = nullptr;
    m_bufferWidth = m_bufferHeight = 0;
}

void CompactRendererInt::DrawBackground()
{
    if (!m_buffer)
        return;
    if (m_backgroundImage) {
        CopyTiled(m_buffer, m_width, m_height, m_backgroundImage, m_backgroundWidth, m_backgroundHeight,
                  m_backgroundOffsetX, m_backgroundOffsetY);
        return;
    }
    FillDwords(reinterpret_cast<DWORD*>(m_buffer), m_backgroundColour, m_width * m_height);
}

// ---- Timers and messages ------------------------------------------------------------------

void CompactRendererInt::StartRenderTimer()
{
    CUIServices* services = TimerServices();
    if (!g_timersEnabled || !services || !m_hWnd)
        return;
    if (m_renderTimer)
        services->FreeTimer(this, m_renderTimer);
    m_renderTimer = services->AllocTimer(this, static_cast<UINT>(m_timeSlice));
}

void CompactRendererInt::StopRenderTimer()
{
    CUIServices* services = TimerServices();
    if (services && m_renderTimer)
        services->FreeTimer(this, m_renderTimer);
    if (services)
        m_renderTimer = 0;
}

int CompactRendererInt::OnCreate(LPCREATESTRUCT cs)
{
    if (Default() == -1)
        return -1;
    RECT client;
    GetClientRect(&client);
    m_width = client.right - client.left;
    m_height = client.bottom - client.top;
    return 0;
}

void CompactRendererInt::OnPaint()
{
    CPaintDC dc(this);
    Blit(&dc, 0, 0, -1, -1, 0, 0, 0, 0);
}

void CompactRendererInt::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (!g_timersEnabled)
        return;
    if (m_renderPending)
        StartRenderTimer();
    else
        StopRenderTimer();
}

void CompactRendererInt::OnTimer(UINT_PTR id)
{
    if (id != m_renderTimer || m_renderTimer == 0) {
        Default();
        return;
    }
    if (IsMainWindowIconic())
        return;
    StopRenderTimer();
    if (!m_renderPending)
        return;
    if (m_hasLayers && m_notifyParent) {
        if (CWnd* parent = GetParent())
            parent->PostMessage(kRendererRepaintParent, 0, 0);
        return;
    }
    Render(0, nullptr);
}

void CompactRendererInt::OnDestroy()
{
    StopRenderTimer();
    Default();
}

LRESULT CompactRendererInt::OnNcHitTest(WPARAM, LPARAM)
{
    return HTTRANSPARENT;  // mouse input belongs to the page or button underneath
}

BOOL CompactRendererInt::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
        CWnd* main = GetMainWnd();
        return main && main != this ? main->PreTranslateMessage(msg) : FALSE;
    }
    return CWnd::PreTranslateMessage(msg);
}

void CompactRendererInt::UpdateSize(int invalidate)
{
    if (IsMainWindowIconic() || !m_hWnd)
        return;
    RECT client;
    GetClientRect(&client);
    m_width = client.right - client.left;
    m_height = client.bottom - client.top;
    Render(invalidate == 0, nullptr);
    if (invalidate)
        Invalidate(TRUE);
}

// ---- Background and buffer services ---------------------------------------------------------

int CompactRendererInt::SetBackgroundBitmap(const std::uint32_t* pixels, int width, int height)
{
    delete[] m_backgroundImage;
    m_backgroundImage = nullptr;
    m_backgroundWidth = m_backgroundHeight = 0;
    if (!pixels || width <= 0 || height <= 0)
        return 1;
    const size_t count = static_cast<size_t>(width) * height;
    m_backgroundImage = new (std::nothrow) std::uint32_t[count];
    if (!m_backgroundImage) {
        InformError(IDS_RENDER_NO_MEMORY);
        return 0;
    }
    std::memcpy(m_backgroundImage, pixels, count * sizeof(std::uint32_t));
    m_backgroundWidth = width;
    m_backgroundHeight = height;
    return 1;
}

void CompactRendererInt::SetBackgroundOffset(int x, int y)
{
    m_backgroundOffsetX = x;
    m_backgroundOffsetY = y;
}

void CompactRendererInt::CopyBufferTo(std::uint32_t* destination, int destWidth, int destHeight, int srcX,
                                      int srcY, int destX, int destY, bool blend, bool invert, int alphaMode)
{
    if (!destination || !m_buffer)
        return;
    BlitARGB(m_buffer, srcX, srcY, m_width, m_height, destination, destX, destY, destWidth, destHeight, blend,
             invert, alphaMode);
}

void CompactRendererInt::BlendBufferTo(std::uint32_t* destination, int destWidth, int destHeight,
                                       RECT& sourceRect, RECT& destRect, bool blend, bool invert)
{
    if (!destination || !m_buffer)
        return;
    StretchBlitARGB(m_buffer, m_width, m_height, sourceRect, destination, destWidth, destHeight, destRect, blend,
                    invert);
}

void CompactRendererInt::SetSize(int width, int height)
{
    if (!m_hWnd)
        return;
    RECT rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);
    SetWindowPos(static_cast<HWND>(nullptr), rect.left, rect.top, width, height,
                 SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    Render(1, nullptr);
}

RECT CompactRendererInt::CentreRect(const RECT& outer, SIZE size)
{
    RECT r;
    r.left = static_cast<LONG>((outer.left + outer.right) / 2 - size.cx / 2.0 + 0.5);
    r.right = r.left + size.cx;
    r.top = static_cast<LONG>((outer.top + outer.bottom) / 2 - size.cy / 2.0 + 0.5);
    r.bottom = r.top + size.cy;
    return r;
}
