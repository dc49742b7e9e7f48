#include "gallery/GalleryLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<GalleryLayoutCell> Cells(std::initializer_list<std::pair<int, int>> sizes)
{
    std::vector<GalleryLayoutCell> cells;
    for (const auto& size : sizes) {
        GalleryLayoutCell cell;
        cell.width = size.first;
        cell.height = size.second;
        cells.push_back(cell);
    }
    return cells;
}

TEST(GalleryLayoutTest, ItemsFillRowsThatAreCentredHorizontallyAndVertically)
{
    // Two 100-pixel items fit 300 pixels (x 15, 126); the third (237 + 100 + 11 > 285) wraps.
    auto cells = Cells({{100, 50}, {100, 70}, {100, 40}});
    EXPECT_EQ(LayoutGalleryCells(cells, 300), 15 + 70 + 11 + 40 + 15);
    // Row 0 spans 15..226: centred it moves by (300 - 211) / 2 - 15 = 29.
    EXPECT_EQ(cells[0].rect, CRect(44, 25, 144, 75));
    EXPECT_EQ(cells[1].rect, CRect(155, 15, 255, 85));
    // Row 1 at y = 15 + 70 + 11 = 96, one item: (300 - 100) / 2 - 15 = 85.
    EXPECT_EQ(cells[2].rect, CRect(100, 96, 200, 136));
    EXPECT_EQ(cells[0].row, 0);
    EXPECT_EQ(cells[2].row, 1);

    std::vector<GalleryLayoutCell> none;
    EXPECT_EQ(LayoutGalleryCells(none, 300), 0);

    // An item wider than the window stays in the first row instead of leaving it empty.
    auto wide = Cells({{400, 30}, {20, 30}});
    EXPECT_EQ(LayoutGalleryCells(wide, 300), 15 + 30 + 11 + 30 + 15);
    EXPECT_EQ(wide[0].row, 0);
    EXPECT_EQ(wide[0].rect.top, 15);
    EXPECT_EQ(wide[1].row, 1);

    // A change of kind starts a row even with room left.
    auto kinds = Cells({{20, 20}, {20, 20}, {20, 20}});
    kinds[1].startsRow = true;
    LayoutGalleryCells(kinds, 300);
    EXPECT_EQ(kinds[1].row, 1);
    EXPECT_EQ(kinds[2].row, 1);
}

// Three columns of 40 x 40 items, two full rows and a short last row of one item.
std::vector<GalleryLayoutCell> Grid()
{
    auto cells = Cells({{40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}});
    LayoutGalleryCells(cells, 15 + 3 * 51 + 15 + 5);
    return cells;
}

TEST(GalleryLayoutTest, ArrowsMoveAlongRowsAndKeepTheRememberedColumn)
{
    const auto cells = Grid();
    ASSERT_EQ(cells[6].row, 2);
    struct Step {
        GalleryArrow key;
        int expected;
    };
    const std::vector<std::pair<const char*, std::vector<Step>>> walks = {
        {"right to the row's end and no further",
         {{GalleryArrow::kRight, 1}, {GalleryArrow::kRight, 2}, {GalleryArrow::kRight, 2}}},
        {"down the right column into the short row and back up the same column",
         {{GalleryArrow::kRight, 1}, {GalleryArrow::kRight, 2}, {GalleryArrow::kDown, 5}, {GalleryArrow::kDown, 6},
          {GalleryArrow::kDown, 6}, {GalleryArrow::kUp, 5}, {GalleryArrow::kUp, 2}, {GalleryArrow::kUp, 2}}},
        {"left and up at the first item go nowhere", {{GalleryArrow::kLeft, 0}, {GalleryArrow::kUp, 0}}},
    };
    for (const auto& walk : walks) {
        int focus = 0;
        CPoint centre = cells[0].rect.CenterPoint();
        for (const Step& step : walk.second) {
            focus = MoveGalleryFocus(cells, focus, centre, step.key);
            EXPECT_EQ(focus, step.expected) << walk.first;
        }
    }
}

TEST(GalleryLayoutTest, DistancesOfFarApartItemsDoNotOverflow)
{
    // Centres 60,000 and 100,000 pixels to the right: their squares exceed 32 bits.
    auto cells = Cells({{10, 10}, {10, 10}, {10, 10}});
    cells[0].rect = CRect(0, 0, 10, 10);
    cells[1].rect = CRect(100000, 0, 100010, 10);
    cells[2].rect = CRect(60000, 0, 60010, 10);
    for (auto& cell : cells)
        cell.row = 0;
    CPoint centre = cells[0].rect.CenterPoint();
    EXPECT_EQ(MoveGalleryFocus(cells, 0, centre, GalleryArrow::kRight), 2);
    EXPECT_EQ(centre.x, 60005);
}

TEST(GalleryLayoutTest, ItemsSortBySubKindThenFolderFromTheTemplatesNameThenFileName)
{
    const CString templates = "TWTemplates";
    std::vector<GallerySortKey> keys = {
        {64, "C:\\Program\\TWTemplates\\Buttons", "b.qtw"},
        {64, "D:\\other\\twtemplates\\buttons", "A.qtw"},
        {16, "Z:\\x", "z"},
        {64, "C:\\Program\\TWTemplates\\Bars", "z.qtw"},
        {0, "Z:\\shortcut", ""},
        {64, "C:\\Apple", "a.qtw"},
    };
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const GallerySortKey& a, const GallerySortKey& b) { return GalleryItemLess(a, b, templates); });
    std::vector<std::string> order;
    for (const auto& key : keys)
        order.push_back(std::string(key.folder.GetString()) + "|" + key.fileName.GetString());
    EXPECT_EQ(order, (std::vector<std::string>{
                         "Z:\\shortcut|", "Z:\\x|z", "C:\\Apple|a.qtw", "C:\\Program\\TWTemplates\\Bars|z.qtw",
                         "D:\\other\\twtemplates\\buttons|A.qtw", "C:\\Program\\TWTemplates\\Buttons|b.qtw"}));
}

}  // namespace
