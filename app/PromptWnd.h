// CPromptWnd: a background window that shows a prompt page or a button face. Unless told
// otherwise it lets go of its renderer after each render (the document is read again from its
// path by the next one). On 8-bit displays it keeps its picture dithered onto the application
// palette, so that repaints need no conversion, and it renders again when the display moves
// across 8 bits per pixel.
#pragma once

#include "app/AppBackground.h"

class CDibSection;

class CPromptWnd : public CAppBackground {
    DECLARE_DYNAMIC(CPromptWnd)
public:
    CPromptWnd();
    ~CPromptWnd() override;

    afx_msg void OnSize(UINT type, int cx, int cy) override;
    int Render(int noBlit, CDC* dc) override;
    void UpdateSize(int invalidate) override;
    void Blit(CDC* dc, int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH) override;
    void FreeBuffer() override;

    // Bits per pixel of the screen.
    static int DisplayDepth();

    int m_releaseAfterRender;
    CDibSection* m_dithered;  // the picture on an 8-bit display; null when none
    int m_preparedDepth;      // -1 never rendered, 8 for a palette display, 24 for a deeper one

private:
    // Makes the dithered picture again from the 32-bit buffer; false when it cannot be made.
    bool MakeDitheredImage(CDC* dc);
    void DeleteDitheredImage();
};
