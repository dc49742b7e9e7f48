// The arithmetic of a gallery window that needs no window: the order of its items, how they
// are laid out in rows, and which item an arrow key moves the focus to.
#pragma once

#include <vector>

#include "framework/core/CRect.h"
#include "framework/core/CString.h"

// Gaps of the grid: the margin round the content and the space between items and rows.
constexpr int kGalleryMargin = 15;
constexpr int kGalleryGap = 11;

// What an item sorts by: its sub-kind (folders before files), then its folder from the templates
// folder's name on (so that the same library sorts alike wherever it is installed), then its
// file name; texts without regard to letter case.
struct GallerySortKey {
    int subKind = 0;
    CString folder;
    CString fileName;
};
bool GalleryItemLess(const GallerySortKey& a, const GallerySortKey& b, const CString& templatesFolderName);

// One item as layout sees it: its measured size in, its place and row out.
struct GalleryLayoutCell {
    int width = 0;
    int height = 0;
    bool startsRow = false;  // the item must begin a new row (its kind changed while measured)
    CRect rect;
    int row = -1;
};
// Places the cells left to right in rows no wider than the window, each row centred and each item
// centred in its row's height; answers the content height (0 without cells).
int LayoutGalleryCells(std::vector<GalleryLayoutCell>& cells, int windowWidth);

enum class GalleryArrow { kLeft, kRight, kUp, kDown };
// The index of the cell an arrow key moves the focus to from cell focus, or focus when there is
// none in that direction. centre is the remembered focus point: left and right move its x, up
// and down its y, so that travelling down a column keeps the column.
int MoveGalleryFocus(const std::vector<GalleryLayoutCell>& cells, int focus, CPoint& centre, GalleryArrow key);
