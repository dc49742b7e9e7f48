// CGreySwatchBar: a bar of six grey swatches from black to white beside a colour editor's
// palette. A click on a swatch gives its grey to the parent; the keyboard cursor is drawn as a
// frame around one swatch.
#pragma once

#include "framework/win/Wnd.h"

// Implemented by the colour editor that hosts the bar.
class CSwatchColourOwner {
public:
    virtual ~CSwatchColourOwner() = default;
    virtual void ApplyColour(COLORREF colour, int final) = 0;
};

class CGreySwatchBar : public CWnd {
public:
    enum { kSwatchCount = 6, kSwatchStep = 12, kCursorResource = 195 };

    CGreySwatchBar();

    // A visible child at (x, y), 6 x 12 + 5 wide and 17 high.
    BOOL Create(int x, int y, CWnd* parent, UINT id);

    // The swatch under a client point; -1 for none.
    int HitTest(int x, int y) const;
    COLORREF GetColour(int index) const;
    // Returns the previous flag; hiding the cursor puts it back on the first swatch.
    int SetCursorShown(int shown);
    // Bit 1 right, bit 2 left.
    void MoveCursor(int directions);
    // The cursor's swatch, -1 while it is hidden.
    int GetCursor() const { return m_cursorShown ? m_cursor : -1; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    int m_count;
    COLORREF m_colours[kSwatchCount];
    RECT m_swatches[kSwatchCount];
    int m_cursor;
    int m_cursorShown;
};
