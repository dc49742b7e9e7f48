#include "app/PromptWnd.h"

#include <new>

#include "app/AppServices.h"
#include "bitmap/Dib.h"
#include "components/quordocg/WebDocRenderer.h"

IMPLEMENT_DYNAMIC(CPromptWnd, CAppBackground)

namespace {
const int kPaletteDepth = 8;
const int kDeepDepth = 24;

int PreparedDepthFor(int displayDepth)
{
    return displayDepth <= kPaletteDepth ? kPaletteDepth : kDeepDepth;
}
}  // namespace

CPromptWnd::CPromptWnd() : m_releaseAfterRender(1), m_dithered(nullptr), m_preparedDepth(-1) {}

CPromptWnd::~CPromptWnd()
{
    DeleteDitheredImage();
}

int CPromptWnd::DisplayDepth()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return 32;
    const int depth = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return depth;
}

void CPromptWnd::DeleteDitheredImage()
{
    delete m_dithered;
    m_dithered = nullptr;
}

bool CPromptWnd::MakeDitheredImage(CDC* dc)
{
    DeleteDitheredImage();
    if (!m_buffer || !dc)
        return false;
    try {
        m_dithered = new CDibSection(dc, m_width, m_height);
    } catch (const std::bad_alloc&) {
        m_dithered = nullptr;
        ReportBlitFailure(true);
        return false;
    }
    SelectAppPalette(dc);
    m_dithered->SetPixels32(m_buffer);
    return true;
}

int CPromptWnd::Render(int noBlit, CDC* dc)
{
    if (!m_hWnd)
        return 0;
    RECT client;
    GetClientRect(&client);
    if (IsMainWindowIconic() || client.right <= client.left || client.bottom <= client.top ||
        IsMainWindowPlacedMinimised())
        return 1;
    // The cycle itself draws no partial pictures here; the finished one is shown below.
    if (!CompactRendererInt::Render(1, dc) || !m_buffer)
        return 0;
    CDrawingDC target(this, dc);
    if (!target.Get())
        return 0;
    dc = target.Get();
    if (m_releaseAfterRender)
        ReleaseRenderer();
    m_preparedDepth = PreparedDepthFor(DisplayDepth());
    // A window without layers never needs the 32-bit picture again: the section holds it.
    if (m_preparedDepth == kPaletteDepth && MakeDitheredImage(dc) && !m_hasLayers)
        CompactRendererInt::FreeBuffer();
    if (!noBlit)
        Blit(dc, 0, 0, -1, -1, 0, 0, 0, 0);
    return 1;
}

void CPromptWnd::Blit(CDC* dc, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH)
{
    if (!m_hWnd)
        return;
    RECT client;
    GetClientRect(&client);
    if (client.right <= client.left || client.bottom <= client.top)
        return;
    if (m_preparedDepth == -1)
        Render(1, nullptr);
    if (!m_buffer && !m_dithered)
        Render(1, nullptr);
    if (!m_buffer && !m_dithered)
        return;

    if (PreparedDepthFor(DisplayDepth()) == kDeepDepth) {
        if (m_preparedDepth != kDeepDepth)
            Render(1, nullptr);
        CompactRendererInt::Blit(dc, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH);
        return;
    }

    if (m_preparedDepth != kPaletteDepth || !m_dithered)
        Render(1, nullptr);
    m_preparedDepth = kPaletteDepth;
    if (!m_dithered)
        return;
    CDrawingDC target(this, dc);
    if (!target.Get())
        return;
    dc = target.Get();
    // A face with layers composes its states in the 32-bit buffer: dither the current one.
    if (m_hasLayers && m_buffer)
        m_dithered->SetPixels32(m_buffer);
    if (srcW == 0)
        srcW = m_dithered->Width() - srcX;
    if (srcH == 0)
        srcH = m_dithered->Height() - srcY;
    if (dstW < 0)
        dstW = client.right - client.left;
    if (dstH < 0)
        dstH = client.bottom - client.top;
    SelectAppPalette(dc);
    const bool drawn = StretchDrawSection(dc, *m_dithered, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH);
    target.Release();
    if (!drawn)
        ReportBlitFailure(false);
}

void CPromptWnd::OnSize(UINT type, int cx, int cy)
{
    if (m_preparedDepth != -1 && m_preparedDepth != PreparedDepthFor(DisplayDepth())) {
        Default();
        Render(1, nullptr);
        return;
    }
    CompactRendererInt::OnSize(type, cx, cy);
}

void CPromptWnd::UpdateSize(int invalidate)
{
    if (!m_hWnd)
        return;
    RECT client;
    GetClientRect(&client);
    if (client.right <= client.left || client.bottom <= client.top || IsMainWindowIconic())
        return;
    CompactRendererInt::UpdateSize(invalidate);
}

void CPromptWnd::FreeBuffer()
{
    CompactRendererInt::FreeBuffer();
    DeleteDitheredImage();
    ReleaseRenderer();
}
