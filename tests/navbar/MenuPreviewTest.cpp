// The drop-down menu preview: how far a menu has slid open, and under Windows the popups a
// hovered button opens: where, how big, which entry opens its submenu, and what closes them.
#include <gtest/gtest.h>

#include "navbar/MenuRenderWnd.h"
#include "navbar/NavBarRenderer.h"
#include "tests/navbar/FakeExportServices.h"
#include "tests/navbar/FakeNavBarServices.h"

TEST(MenuSlide, OffsetShrinksOverTheAnimationTime) {
  struct Case {
    int extent, animation;
    DWORD elapsed;
    int offset;
  } const cases[] = {
      {120, 300, 0, 120}, {120, 300, 150, 60}, {120, 300, 299, 1}, {120, 300, 300, 0}, {120, 300, 5000, 0},
      {120, 0, 0, 0},  // no animation: open at once
      {100, 300, 100, 67},  // the shown part is truncated: 33 of 100
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.offset, MenuSlideOffset(c.extent, c.animation, c.elapsed)) << c.extent << " " << c.elapsed;
}

#ifdef _WIN32

namespace {

class MenuPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services.MakeButtonRow();
    bar.SetMenuAnimation(0);
    bar.SetMenuBorderWidth(1);
    // Button 1: "One", a separator, "More" with two entries of its own. Button 2: one entry.
    CNavBarButton* button = bar.GetButton(1);
    button->AppendChild(nullptr)->SetText("One");
    button->AppendChild(nullptr)->SetText("-");
    CNavBarMenuItem* more = button->AppendChild(nullptr);
    more->SetText("More");
    more->AppendChild(nullptr)->SetText("Deeper");
    more->AppendChild(nullptr)->SetText("Deepest");
    bar.GetButton(2)->AppendChild(nullptr)->SetText("Two");
    ASSERT_EQ(1, bar.Render(true, 0));  // buttons from x 0, 130, ... in a 278 x 20 bar
  }
  void TearDown() override { bar.CloseMenuPreview(); }
  static RECT WindowRect(CMenuRenderWnd* window) {
    RECT rect = {0, 0, 0, 0};
    ::GetWindowRect(window->GetSafeHwnd(), &rect);
    return rect;
  }

  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
  ExportServices exportServices{services.graphic};
};

}  // namespace

TEST_F(MenuPreviewTest, MenuOpensWhereTheDirectionSays) {
  const RECT button = {300, 200, 340, 220};
  struct Case {
    int direction;
    LONG x, y;  // where the menu's top-left corner lands; width -1: left of the button
  } const cases[] = {{0, 300, 220}, {1, 340, 200}, {2, -1, 200}, {5, 0, 0}};
  for (const Case& c : cases) {
    bar.SetMenuDirection(c.direction);
    ASSERT_EQ(1, bar.ShowMenuPreview(1, button)) << c.direction;
    CMenuRenderWnd* menu = bar.GetMenuPreview();
    ASSERT_NE(nullptr, menu);
    const SIZE size = menu->GetSize();
    const RECT shown = WindowRect(menu);
    EXPECT_EQ(c.x < 0 ? 300 - size.cx : c.x, shown.left) << c.direction;
    EXPECT_EQ(c.y, shown.top) << c.direction;
    EXPECT_EQ(size.cx, shown.right - shown.left) << c.direction;
    EXPECT_TRUE(::IsWindowVisible(menu->GetSafeHwnd()));
    // A drop-down is at least as wide as its button (the image's own width).
    if (c.direction == 0) {
      EXPECT_GE(size.cx, bar.GetButton(1)->Width());
    }
  }
}

TEST_F(MenuPreviewTest, EntriesAreLaidOutAndSeparatorsNeverLightUp) {
  bar.SetMenuDirection(1);
  ASSERT_EQ(1, bar.ShowMenuPreview(1, RECT{0, 0, 10, 10}));
  CMenuRenderWnd* menu = bar.GetMenuPreview();
  ASSERT_EQ(3, menu->GetItemCount());
  const RECT one = menu->GetItem(0)->GetRect(), line = menu->GetItem(1)->GetRect(),
             more = menu->GetItem(2)->GetRect();
  EXPECT_EQ(1, one.top);  // below the border
  EXPECT_EQ(one.bottom, line.top);
  EXPECT_EQ(8, line.bottom - line.top);
  EXPECT_EQ(one.bottom - one.top, more.bottom - more.top);
  EXPECT_EQ(menu->GetSize().cy, more.bottom + 1);
  EXPECT_TRUE(menu->GetItem(1)->IsSeparator());

  // The pointer on the separator lights nothing; on "More" its submenu opens beside it.
  menu->OnMouseMove(POINT{5, line.top + 2});
  EXPECT_EQ(-1, menu->GetHotItem());
  menu->OnMouseMove(POINT{5, more.top + 2});
  EXPECT_EQ(2, menu->GetHotItem());
  CMenuRenderWnd* submenu = menu->GetOpenSubmenu();
  ASSERT_NE(nullptr, submenu);
  EXPECT_EQ(2, submenu->GetItemCount());
  EXPECT_TRUE(::IsWindowVisible(submenu->GetSafeHwnd()));
  POINT corner = {more.right - 1, more.top - 1};
  ::ClientToScreen(menu->GetSafeHwnd(), &corner);
  EXPECT_EQ(corner.x, WindowRect(submenu).left);
  EXPECT_EQ(corner.y, WindowRect(submenu).top);
  // Back to the first entry: the submenu hides.
  menu->OnMouseMove(POINT{5, one.top + 2});
  EXPECT_EQ(0, menu->GetHotItem());
  EXPECT_FALSE(::IsWindowVisible(submenu->GetSafeHwnd()));
  ::ReleaseCapture();
}

TEST_F(MenuPreviewTest, HoveringMovesTheMenuFromButtonToButtonAndLeavingClosesIt) {
  bar.SetMenuDirection(0);
  auto move = [](int x, int y) { OnNavBarPreviewMouse(POINT{x, y}, POINT{x + 100, y + 50}, 0); };
  move(135, 5);  // button 1
  CMenuRenderWnd* first = bar.GetMenuPreview();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(3, first->GetItemCount());
  EXPECT_EQ(100 + 130, WindowRect(first).left);  // under the button, on the screen
  EXPECT_EQ(50 + 20, WindowRect(first).top);
  move(140, 6);  // the same button: the same menu
  EXPECT_EQ(first, bar.GetMenuPreview());
  move(bar.GetButton(1)->Width() + 135, 5);  // button 2
  ASSERT_NE(nullptr, bar.GetMenuPreview());
  EXPECT_EQ(1, bar.GetMenuPreview()->GetItemCount());
  move(5, 5);  // button 0 has no menu
  EXPECT_EQ(nullptr, bar.GetMenuPreview());
  move(135, 5);
  EXPECT_NE(nullptr, bar.GetMenuPreview());
  move(-1, -1);  // left the preview
  EXPECT_EQ(nullptr, bar.GetMenuPreview());
  EXPECT_EQ(-1, bar.GetHoverButton());
  EXPECT_EQ(nullptr, MenuPreviewSettings().bar);
}

#endif  // _WIN32
