#include "app/GalleryServiceAdapter.h"

#include "app/AppServices.h"
#include "app/CompactRendererInt.h"
#include "app/TopLevelManager.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "app/WinManagerBase.h"
#include "app/widgets.h"
#include "document/OptionsServices.h"
#include "gallery/GalleryServices.h"

#include <new>

namespace {

// The darkest colour of the application background (0xTTRRGGBB).
const std::uint32_t kBackdrop = 0x000f172a;

// A gallery page shown through the outside document renderer.
class CAppGalleryView : public CGalleryView {
public:
    ~CAppGalleryView() override
    {
        m_window.ReleaseRenderer();
        if (m_window.GetSafeHwnd())
            m_window.DestroyWindow();
    }

    bool Create(CWnd* parent, const RECT& rect, bool visible) override
    {
        // Round the page, where its proportions leave room, the program's dark backdrop shows,
        // as behind every page.
        m_window.SetBackgroundColour(kBackdrop);
        return m_window.Create(parent, rect, 1, visible ? WS_VISIBLE : 0) != FALSE;
    }
    CWnd* GetWindow() override { return &m_window; }
    bool LoadWebFile(const char* path) override { return m_window.LoadWebFile(path) != 0; }
    int GetLayerCount() override { return (int)m_window.m_layers.size(); }
    CString GetLayerName(int index) override
    {
        return index >= 0 && index < GetLayerCount() ? m_window.m_layers[index]->m_name : CString();
    }
    bool ShowLayers(const char* name, bool exclusive) override
    {
        EnsureRenderer();
        return m_window.ShowLayers(name, exclusive ? 1 : 0);
    }
    bool Render(bool redraw) override { return m_window.Render(redraw ? 0 : 1, nullptr) != 0; }
    bool CacheLayer(const char* name) override { return m_window.CacheLayer(name) != 0; }
    bool IsLayerCached(const char* name) override
    {
        CWebLayer* layer = m_window.FindLayer(name);
        return layer && layer->m_runs;
    }
    bool CompositeLayer(const char* name) override { return m_window.CompositeLayer(name) != 0; }
    void Blit(CDC* dc) override { m_window.Blit(dc, 0, 0, -1, -1, 0, 0, 0, 0); }
    bool HitTest(int x, int y, unsigned length, char* name) override
    {
        // A released renderer is made again with only the background showing: the highlight
        // layer must not hide the objects under it.
        if (!m_window.m_renderer && EnsureRenderer())
            m_window.ShowLayers("background", 1);
        return m_window.HitTest(x, y, length, name) != 0;
    }
    void FreeBuffer() override { m_window.FreeBuffer(); }
    void ReleaseRenderer() override { m_window.ReleaseRenderer(); }
    void MoveTo(const RECT& rect) override
    {
        if (m_window.GetSafeHwnd())
            m_window.SetWindowPos((HWND)nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    bool EnsureRenderer()
    {
        if (m_window.m_renderer)
            return true;
        if (!m_window.CreateRenderer())
            return false;
        return m_window.m_documentPath.IsEmpty() || m_window.LoadWebFile(m_window.m_documentPath);
    }

    CompactRendererInt m_window;
};

CUIServices* UIServices()
{
    CWidgetsDlg* dialog = GetMainDialog();
    return dialog ? dialog->GetUIServices() : nullptr;
}

class CAppGalleryServices : public CGalleryServices {
public:
    CGalleryView* CreateView() override { return new (std::nothrow) CAppGalleryView; }
    CString GetRootPath() override { return ::GetRootPath(); }
    // The pages' own road for commands (CWidgetsApp::SendCommand).
    void SendCommand(const CString& command) override { CWinManagerBase::SendAppCommand(command); }
    bool IgnoreText(const CString& text) override
    {
        CWidgetsApp* app = dynamic_cast<CWidgetsApp*>(AfxGetApp());
        return !app || app->IgnoreText(text, 0);
    }
    void SetCaptureCursor(int cursorId) override
    {
        if (CUIServices* services = UIServices())
            services->SetCaptureCursor(cursorId);
    }
    void ReleaseCaptureCursor() override
    {
        if (CUIServices* services = UIServices())
            services->ReleaseCaptureCursor(0);
    }
    bool IsMainManagerActive() override
    {
        CWidgetsDlg* dialog = GetMainDialog();
        CTopLevelManager* top = dialog ? dynamic_cast<CTopLevelManager*>(dialog->GetTopLevelManager()) : nullptr;
        return top && top->IsMainManagerActive();
    }
    COptions* GetCurrentOptions() override { return GetOptions(); }
    // Recorded as the document module's faults are.
    void InternalError(int line, const char* file) override { GetOptionsServices().SetInternalError(line, file); }
};

CAppGalleryServices g_galleryServices;

}  // namespace

void InstallGalleryServiceAdapter()
{
    SetGalleryServices(&g_galleryServices);
}

void UninstallGalleryServiceAdapter()
{
    SetGalleryServices(nullptr);
}
