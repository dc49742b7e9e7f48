#include "gallery/GalleryLayout.h"

#include <algorithm>
#include <cstdint>

namespace {

CString FromTemplatesName(const CString& folder, const CString& name)
{
    CString lower = folder;
    lower.MakeLower();
    CString lowerName = name;
    lowerName.MakeLower();
    const int at = lowerName.IsEmpty() ? -1 : lower.Find(lowerName);
    return at < 0 ? lower : lower.Mid(at);
}

// Squared distance of two points, in 64 bits: rectangles far apart must not overflow.
std::int64_t Distance(const CPoint& a, const CPoint& b)
{
    const std::int64_t dx = static_cast<std::int64_t>(a.x) - b.x;
    const std::int64_t dy = static_cast<std::int64_t>(a.y) - b.y;
    return dx * dx + dy * dy;
}

}  // namespace

bool GalleryItemLess(const GallerySortKey& a, const GallerySortKey& b, const CString& templatesFolderName)
{
    if (a.subKind != b.subKind)
        return a.subKind < b.subKind;
    const int folders = FromTemplatesName(a.folder, templatesFolderName).Compare(FromTemplatesName(b.folder, templatesFolderName));
    if (folders != 0)
        return folders < 0;
    return a.fileName.CompareNoCase(b.fileName) < 0;
}

int LayoutGalleryCells(std::vector<GalleryLayoutCell>& cells, int windowWidth)
{
    if (cells.empty())
        return 0;
    int x = kGalleryMargin, y = kGalleryMargin, row = 0, rowHeight = 0;
    bool rowEmpty = true;
    std::vector<int> rowHeights;
    for (GalleryLayoutCell& cell : cells) {
        const bool full = static_cast<std::int64_t>(x) + cell.width + kGalleryGap > windowWidth - kGalleryMargin;
        // An item wider than the window still goes in the row it starts: a new row would leave an
        // empty one above it.
        if (!rowEmpty && (full || cell.startsRow)) {
            rowHeights.push_back(rowHeight);
            y += rowHeight + kGalleryGap;
            rowHeight = 0;
            ++row;
            x = kGalleryMargin;
        }
        rowHeight = std::max(rowHeight, cell.height);
        cell.rect = CRect(x, y, x + cell.width, y + cell.height);
        cell.row = row;
        x += cell.width + kGalleryGap;
        rowEmpty = false;
    }
    rowHeights.push_back(rowHeight);
    const int contentHeight = y + rowHeight + kGalleryMargin;

    for (std::size_t first = 0; first < cells.size();) {
        std::size_t last = first;
        while (last + 1 < cells.size() && cells[last + 1].row == cells[first].row)
            ++last;
        const int dx = (windowWidth - (cells[last].rect.right - cells[first].rect.left)) / 2 - kGalleryMargin;
        const int height = rowHeights[static_cast<std::size_t>(cells[first].row)];
        for (std::size_t i = first; i <= last; ++i)
            cells[i].rect.OffsetRect(dx, (height - cells[i].height) / 2);
        first = last + 1;
    }
    return contentHeight;
}

int MoveGalleryFocus(const std::vector<GalleryLayoutCell>& cells, int focus, CPoint& centre, GalleryArrow key)
{
    if (focus < 0 || focus >= static_cast<int>(cells.size()))
        return focus;
    const GalleryLayoutCell& f = cells[static_cast<std::size_t>(focus)];
    int candidate = focus;
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
        if (i == focus)
            continue;
        const GalleryLayoutCell& s = cells[static_cast<std::size_t>(i)];
        const CPoint sc = s.rect.CenterPoint();
        const std::int64_t dx = static_cast<std::int64_t>(sc.x) - centre.x;
        const std::int64_t dy = static_cast<std::int64_t>(sc.y) - centre.y;
        const bool otherRowOrColumn = s.row != f.row || s.rect.left == f.rect.left;
        bool qualifies = false;
        switch (key) {
        case GalleryArrow::kRight: qualifies = dx > 0 && s.rect.left >= f.rect.right && s.row == f.row; break;
        case GalleryArrow::kLeft: qualifies = dx < 0 && s.rect.right <= f.rect.left && s.row == f.row; break;
        case GalleryArrow::kDown: qualifies = dy > 0 && s.rect.top >= f.rect.bottom && otherRowOrColumn; break;
        case GalleryArrow::kUp: qualifies = dy < 0 && s.rect.bottom <= f.rect.top && otherRowOrColumn; break;
        }
        if (!qualifies)
            continue;
        if (candidate == focus) {
            candidate = i;
            continue;
        }
        const GalleryLayoutCell& c = cells[static_cast<std::size_t>(candidate)];
        const bool nearer = Distance(sc, centre) < Distance(c.rect.CenterPoint(), centre);
        if (key == GalleryArrow::kDown) {
            // The first row below wins; within it, the item nearest the remembered column.
            if (s.row <= c.row && nearer)
                candidate = i;
        } else if (key == GalleryArrow::kUp) {
            // Rows come in order, so a row after the candidate's is nearer to the focus.
            if (s.row != c.row || nearer)
                candidate = i;
        } else if (nearer) {
            candidate = i;
        }
    }
    if (candidate != focus) {
        const CPoint nc = cells[static_cast<std::size_t>(candidate)].rect.CenterPoint();
        if (key == GalleryArrow::kLeft || key == GalleryArrow::kRight)
            centre.x = nc.x;
        else
            centre.y = nc.y;
    }
    return candidate;
}
