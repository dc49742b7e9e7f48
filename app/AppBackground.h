// CAppBackground: a renderer window whose background is the part of the one application
// background picture (SysResources\buttons\appback.web) that lies behind it, so that the
// windows of a page join into one picture. The picture is drawn by a single renderer shared by
// all background windows.
#pragma once

#include "app/CompactRendererInt.h"

class CAppBackground : public CompactRendererInt {
    DECLARE_DYNAMIC(CAppBackground)
public:
    CAppBackground();

    static int LoadSharedBackground();
    static void ReleaseSharedBackground();
    static IWebDocRenderer* GetSharedRenderer() { return s_sharedRenderer; }
    // Neither renderer class could be made by the last attempt: no page can be shown.
    static int IsRendererMissing() { return s_rendererMissing; }

    void DrawBackground() override;
    // The part of the picture behind this window, in the picture's document units.
    void UpdateBackgroundRect();
    // The rectangle of the picture for window W inside main window M, given the picture's
    // bounds B (document units, y upwards); B itself when W reaches outside M.
    static RECT BackgroundRectFor(const RECT& main, const RECT& window, const RECT& bounds);

    RECT m_backgroundRect;  // left, bottom, right, top of the picture's area as the renderer takes it

private:
    static IWebDocRenderer* s_sharedRenderer;
    static int s_rendererMissing;
};
