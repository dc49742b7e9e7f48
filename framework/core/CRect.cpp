#include "framework/core/CRect.h"

#include <algorithm>

namespace {

bool IsEmpty(const RECT& r)
{
    return r.left >= r.right || r.top >= r.bottom;
}

}  // namespace

void CRect::CopyRect(LPCRECT lpSrcRect)
{
    if (lpSrcRect == nullptr) {
        SetRectEmpty();
        return;
    }
    const RECT source = *lpSrcRect;
    SetRect(source.left, source.top, source.right, source.bottom);
}

BOOL CRect::EqualRect(LPCRECT lpRect) const
{
    return lpRect != nullptr && left == lpRect->left && top == lpRect->top && right == lpRect->right &&
           bottom == lpRect->bottom;
}

void CRect::InflateRect(LPCRECT lpRect)
{
    if (lpRect != nullptr)
        InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CRect::DeflateRect(LPCRECT lpRect)
{
    if (lpRect != nullptr)
        DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CRect::NormalizeRect()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2)
{
    // Copies first: either source may be this rectangle.
    if (lpRect1 == nullptr || lpRect2 == nullptr) {
        SetRectEmpty();
        return FALSE;
    }
    const RECT a = *lpRect1, b = *lpRect2;
    RECT r;
    r.left = std::max(a.left, b.left);
    r.top = std::max(a.top, b.top);
    r.right = std::min(a.right, b.right);
    r.bottom = std::min(a.bottom, b.bottom);
    if (IsEmpty(a) || IsEmpty(b) || IsEmpty(r)) {
        SetRectEmpty();
        return FALSE;
    }
    CopyRect(&r);
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2)
{
    RECT a = {0, 0, 0, 0}, b = {0, 0, 0, 0};
    if (lpRect1 != nullptr)
        a = *lpRect1;
    if (lpRect2 != nullptr)
        b = *lpRect2;
    const bool emptyA = IsEmpty(a), emptyB = IsEmpty(b);
    if (emptyA && emptyB) {
        SetRectEmpty();
        return FALSE;
    }
    if (emptyA) {
        CopyRect(&b);
    } else if (emptyB) {
        CopyRect(&a);
    } else {
        SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom));
    }
    return TRUE;
}
