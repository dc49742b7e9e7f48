// CompactRendererInt: a child window that shows one vector document through its own instance
// of the outside document renderer, drawn into a 32-bit pixel buffer of the window's size.
//
// Buffers hold 0xTTRRGGBB pixels, rows bottom-up, the top byte a transparency (0 opaque, 255
// clear). A render runs in slices (BeginRender, SetRenderArea, SetRenderOptions, RenderStep
// until it reports the picture finished, EndRender), blitting the partial picture after each
// slice. While the main window is being resized, renders are deferred to a one-shot timer.
//
// Layers: a document whose top-level groups have at least two valid names gets one CWebLayer
// per name; ShowLayers switches them through the renderer, and CacheLayer/CompositeLayer keep
// a layer drawn alone so that image buttons change state without rendering again.
#pragma once

#include "framework/win/Afxwin.h"

#include <cstdint>
#include <vector>

#include "app/WebLayer.h"

struct IWebDocRenderer;
class CDibSection;

// Messages and ids of the renderer windows.
const UINT kRendererRepaintParent = WM_USER + 20;  // 0x414: a deferred render is due; the parent redraws
const UINT IDS_RENDER_NO_MEMORY = 10068;
const UINT IDS_RENDER_FAILED = 10065;

// The deferred-render switch: while set, a resized renderer window renders on its timer.
void EnableRendererTimers();
void DisableRendererTimers();
int AreRendererTimersEnabled();
// Whether no renderer window has created a renderer yet.
int IsNoRendererYet();
class CUIServices;
// The timer services renderer windows use instead of the main dialog's (tests without one).
void SetRendererTimerServices(CUIServices* services);

class CompactRendererInt : public CWnd {
    DECLARE_DYNAMIC(CompactRendererInt)
public:
    CompactRendererInt();
    ~CompactRendererInt() override;

    // A child window of the given client rectangle; hidden unless style has WS_VISIBLE.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id, DWORD style = 0);

    afx_msg virtual int OnCreate(LPCREATESTRUCT cs);
    afx_msg virtual void OnPaint();
    afx_msg virtual void OnSize(UINT type, int cx, int cy);
    afx_msg virtual void OnTimer(UINT_PTR id);
    virtual int Render(int noBlit, CDC* dc);
    virtual void UpdateSize(int invalidate);
    virtual void Blit(CDC* dc, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                      int srcH);
    virtual int HitTest(int x, int y, unsigned bufferLength, char* buffer);
    virtual void FreeBuffer();
    virtual void DrawBackground();
    virtual int CreateRenderer();
    virtual void StartRenderTimer();
    virtual void StopRenderTimer();

    BOOL PreTranslateMessage(MSG* msg) override;

    void ReleaseRenderer();
    int LoadWebFile(const char* path);
    int LoadFromMemory(const char* bytes, unsigned size);
    static unsigned GetWebLoadFailureCount();
    // Sets the count (tests that need a broken installation put it back afterwards).
    static void SetWebLoadFailureCount(unsigned count);
    bool ShowLayers(const char* name, int exclusive);
    CWebLayer* FindLayer(const char* name) const;
    int SnapshotBuffer();
    int CacheLayer(const char* name);
    int CompositeLayer(const char* name);
    void DeleteLayers();

    int SetBackgroundBitmap(const std::uint32_t* pixels, int width, int height);
    void SetBackgroundOffset(int x, int y);
    void SetBackgroundColour(std::uint32_t colour) { m_backgroundColour = colour; }
    void CopyBufferTo(std::uint32_t* destination, int destWidth, int destHeight, int srcX, int srcY,
                      int destX, int destY, bool blend, bool invert, int alphaMode);
    void BlendBufferTo(std::uint32_t* destination, int destWidth, int destHeight, RECT& sourceRect,
                       RECT& destRect, bool blend, bool invert);
    void SetSize(int width, int height);
    static RECT CentreRect(const RECT& outer, SIZE size);

    // The main window is minimised (iconic, or its placement says so).
    static bool IsMainWindowIconic();
    static bool IsMainWindowPlacedMinimised();

    // Fields in the order of the window's data.
    int m_notifyParent;
    unsigned m_layerCount;
    std::vector<CWebLayer*> m_layers;
    int m_drawBackground;
    int m_snapshotAfterRender;
    int m_hasLayers;
    std::uint32_t* m_snapshot;
    std::uint32_t* m_buffer;
    int m_bufferWidth;
    int m_bufferHeight;
    int m_width;
    int m_height;
    int m_documentLoaded;
    int m_visible;
    std::uint32_t m_backgroundColour;
    RECT m_documentBounds;
    CString m_documentPath;
    UINT m_renderTimer;
    int m_renderPending;
    IWebDocRenderer* m_renderer;
    int m_renderHandle;
    int m_detail;
    int m_timeSlice;
    std::uint32_t* m_backgroundImage;
    int m_backgroundWidth;
    int m_backgroundHeight;
    int m_backgroundOffsetX;
    int m_backgroundOffsetY;

protected:
    // The device context a drawing goes to: the one given, else the window's own, which is
    // released when this goes (or earlier by Release).
    class CDrawingDC {
    public:
        CDrawingDC(CWnd* window, CDC* given)
            : m_window(window), m_own(given ? nullptr : window->GetDC()), m_dc(given ? given : m_own)
        {
        }
        ~CDrawingDC() { Release(); }
        CDrawingDC(const CDrawingDC&) = delete;
        CDrawingDC& operator=(const CDrawingDC&) = delete;
        CDC* Get() const { return m_dc; }
        void Release()
        {
            if (m_own)
                m_window->ReleaseDC(m_own);
            m_own = nullptr;
        }

    private:
        CWnd* m_window;
        CDC* m_own;
        CDC* m_dc;
    };

    afx_msg void OnDestroy();
    afx_msg LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowWindowMessage(WPARAM wParam, LPARAM lParam);
    // Runs the slices of one render into the buffer; 0 on failure (reported as it happened).
    int RenderDocument(int noBlit, CDC* dc);
    // Tells the user that the document's layer names are not usable (a message box).
    virtual void ReportInvalidLayers();
    // Reports a failed blit once per process.
    static void ReportBlitFailure(bool outOfMemory);
    DECLARE_MESSAGE_MAP()
};
