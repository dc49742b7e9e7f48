// CSize: a SIZE with arithmetic.
#pragma once

#include "framework/core/WinTypes.h"

class CPoint;

class CSize : public SIZE {
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
    CSize(SIZE initSize) { cx = initSize.cx; cy = initSize.cy; }
    explicit CSize(POINT initPt) { cx = initPt.x; cy = initPt.y; }
    // Width in the low word, height in the high word, both signed.
    explicit CSize(DWORD dwSize) { cx = static_cast<SHORT>(LOWORD(dwSize)); cy = static_cast<SHORT>(HIWORD(dwSize)); }

    bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const { return !(*this == size); }
    void operator+=(SIZE size) { cx += size.cx; cy += size.cy; }
    void operator-=(SIZE size) { cx -= size.cx; cy -= size.cy; }
    void SetSize(int CX, int CY) { cx = CX; cy = CY; }

    CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};
