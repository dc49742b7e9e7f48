#include "app/PromptWnd.h"

#include "app/AppServices.h"
#include "components/quordocg/WebDocRenderer.h"

IMPLEMENT_DYNAMIC(CPromptWnd, CAppBackground)

CPromptWnd::CPromptWnd() : m_releaseAfterRender(1), m_preparedDepth(-1) {}

int CPromptWnd::DisplayDepth()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return 32;
    const int depth = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return depth;
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
    if (m_releaseAfterRender)
        ReleaseRenderer();
    m_preparedDepth = DisplayDepth() <= 8 ? 8 : 24;
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
    const int prepared = DisplayDepth() <= 8 ? 8 : 24;
    if (m_preparedDepth != prepared || !m_buffer) {
        Render(1, nullptr);
        if (!m_buffer)
            return;
    }
    CompactRendererInt::Blit(dc, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH);
}

void CPromptWnd::OnSize(UINT type, int cx, int cy)
{
    const bool palette = DisplayDepth() <= 8;
    if (m_preparedDepth != -1 && palette != (m_preparedDepth == 8)) {
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
    ReleaseRenderer();
}
