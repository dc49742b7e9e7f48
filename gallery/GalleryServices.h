// What the galleries need of the application: the renderer view a static gallery shows its page
// in, page commands, cursors, the current record and error reporting. The application installs
// its answers at start-up; the base class answers as a program without windows would, so the
// galleries are testable with a small fake.
#pragma once

#include "framework/core/Afx.h"
#include "framework/core/WinTypes.h"

class CDC;
class COptions;
class CWnd;

// A child window that renders one vector page into a 32-bit buffer: its layers are the page's
// top-level groups, hit tests answer the id of the object under a screen point.
class CGalleryView {
public:
    virtual ~CGalleryView() = default;

    // A child window of the parent over rect (parent client coordinates); hidden unless visible.
    virtual bool Create(CWnd* parent, const RECT& rect, bool visible) = 0;
    virtual CWnd* GetWindow() = 0;
    virtual bool LoadWebFile(const char* path) = 0;
    // Names of the page's layers, in document order.
    virtual int GetLayerCount() = 0;
    virtual CString GetLayerName(int index) = 0;
    virtual bool ShowLayers(const char* name, bool exclusive) = 0;
    // Renders into the buffer; with redraw also onto the window.
    virtual bool Render(bool redraw) = 0;
    virtual bool CacheLayer(const char* name) = 0;
    virtual bool IsLayerCached(const char* name) = 0;
    virtual bool CompositeLayer(const char* name) = 0;
    // Copies the buffer into dc, or into the view's own window when dc is null.
    virtual void Blit(CDC* dc) = 0;
    // The object under a screen point: true with its name (at most length - 1 characters).
    virtual bool HitTest(int x, int y, unsigned length, char* name) = 0;
    virtual void FreeBuffer() = 0;
    virtual void ReleaseRenderer() = 0;
    // Moves the window over rect, telling the view a resize is under way.
    virtual void MoveTo(const RECT& rect) = 0;
};

class CGalleryServices {
public:
    virtual ~CGalleryServices();

    // A new renderer view (owned by the caller); null when none can be made.
    virtual CGalleryView* CreateView() { return nullptr; }
    virtual CString GetRootPath() { return CString(); }
    // Page commands (CWidgetsApp::SendCommand) and the application's text hook.
    virtual void SendCommand(const CString& command) {}
    virtual bool IgnoreText(const CString& text) { return true; }
    // Cursors with mouse capture: 1 wait, 2 application starting, otherwise a cursor resource.
    virtual void SetCaptureCursor(int cursorId) {}
    virtual void ReleaseCaptureCursor() {}
    virtual bool IsMainManagerActive() { return false; }
    virtual COptions* GetCurrentOptions() { return nullptr; }
    virtual void InternalError(int line, const char* file) {}
};

CGalleryServices& GetGalleryServices();
// Installs services (not owned); null puts the base-class instance back.
void SetGalleryServices(CGalleryServices* services);
