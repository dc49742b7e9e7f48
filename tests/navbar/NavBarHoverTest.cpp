// The pointer over the bar's preview: which button it hovers and how, what a change redraws,
// and leaving the preview.
#include <gtest/gtest.h>

#include "navbar/NavBarRenderer.h"
#include "tests/navbar/FakeExportServices.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

class NavBarHoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services.MakeButtonRow();
    bar.SetStateEnabled(1, 1);
    ASSERT_EQ(1, bar.Render(true, 0));  // buttons from x 0, 130, ... in a 278 x 20 bar
  }
  static void Move(int x, int y, int flags = 0) { OnNavBarPreviewMouse(POINT{x, y}, POINT{x + 500, y + 300}, flags); }

  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
  ExportServices exportServices{services.graphic};
};

}  // namespace

TEST_F(NavBarHoverTest, OnlyKnownButtonsAndKindsAreTaken) {
  struct Case {
    int index, kind, hover, hoverKind;
  } const cases[] = {
      {1, 1, 1, 1}, {2, 3, 2, 3},   {-1, 1, -1, 1},  // taken
      {1, 2, -1, 1}, {1, 0, -1, 1},                  // no such kind
      {-2, 1, -1, 1}, {4, 1, -1, 1},                 // no such button (four of them)
      {3, 3, 3, 3},
  };
  for (const Case& c : cases) {
    bar.SetHoverButton(c.index, c.kind);
    EXPECT_EQ(c.hover, bar.GetHoverButton()) << c.index << " " << c.kind;
    EXPECT_EQ(c.hoverKind, bar.GetHoverKind()) << c.index << " " << c.kind;
  }
}

TEST_F(NavBarHoverTest, AChangeRedrawsThroughTheHoverDisplayWhereTheManagerFollowsThePointer) {
  int renders = services.renders;
  bar.SetHoverButton(1, 1);
  EXPECT_GT(services.renders, renders) << "a render shows the hover";
  EXPECT_TRUE(services.previewImage.IsEmpty());
  renders = services.renders;
  bar.SetHoverButton(1, 1);
  EXPECT_EQ(renders, services.renders) << "no change, no redraw";

  services.needsLeaveNotify = true;
  services.temporaryExport = services.Path("temptwg.gif");
  bar.SetHoverButton(2, 1);
  EXPECT_EQ(services.temporaryExport, services.previewImage);
  EXPECT_EQ(2, bar.GetHoverButton());
}

TEST_F(NavBarHoverTest, PointerHoversTheButtonUnderItAndLeavingClearsIt) {
  services.graphic.SetCurrentColourIndex(2);
  services.graphic.SetModified(false);
  Move(135, 5);
  EXPECT_EQ(1, bar.GetHoverButton());
  EXPECT_EQ(1, bar.GetHoverKind());
  EXPECT_EQ(2u, services.graphic.GetCurrentColourIndex()) << "redrawing keeps the user's colour";
  EXPECT_TRUE(services.graphic.IsModified());
  Move(135, 5, 1);  // mouse button held: the Selected state's kind
  EXPECT_EQ(3, bar.GetHoverKind());
  Move(129, 5);  // the gap between buttons
  EXPECT_EQ(-1, bar.GetHoverButton());
  Move(5, 5);
  EXPECT_EQ(0, bar.GetHoverButton());
  Move(-1, -1);  // left the preview
  EXPECT_EQ(-1, bar.GetHoverButton());

  services.navBarMode = false;  // a single graphic has no buttons to hover
  Move(5, 5);
  EXPECT_EQ(-1, bar.GetHoverButton());
}
