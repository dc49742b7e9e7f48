// Export of a bar: the script and one image per exported state of every button and the caps.
#include <gtest/gtest.h>

#include "navbar/NavBarExport.h"
#include "tests/navbar/FakeExportServices.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

class NavBarExport : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.CreateDefaultButtons();
    services.MakeFolder("SysResources");
    services.WriteFile("SysResources\\navstub2.js", "\r\n");
    services.WriteFile("SysResources\\navstub.js", "\r\n");
    services.graphic.SetExportType(4);  // PNG
    std::vector<CString> texts{"One", "Two", "Three"}, none(3);
    ASSERT_EQ(1, bar.SetButtons(texts, none, none, none));
    ASSERT_EQ(1, bar.Render(false, 0));
  }
  CFakeNavBarServices services;
  ExportServices bitmaps{services.graphic};
  CNavBar& bar = services.bar;
};

TEST_F(NavBarExport, ImagesOfTheExportedStates) {
#ifndef _WIN32
  // The image writers take program paths as they are: only Windows reads the backslashes.
  GTEST_SKIP();
#endif
  const struct {
    bool selected;
    int comparison;  // 1: Selected looks like Over
    bool onImages;
  } cases[] = {{false, 0, false}, {true, 1, false}, {true, 2, true}};
  for (const auto& c : cases) {
    bar.SetStateEnabled(0, 1);
    bar.SetStateEnabled(1, 1);
    bar.SetStateEnabled(3, c.selected);
    for (int i = 0; i < 3; ++i) bar.GetButton(i)->SetStateComparison(c.comparison);
    CString script = services.Path("out\\My Bar.js");
    EXPECT_GT(ExportNavBar(bar, script, services.Path("page.html"), nullptr, false), 0u);
    EXPECT_STREQ(services.Path("out\\my_bar.js").GetString(), script.GetString());
    for (const char* name : {"out\\my_bar_b1.png", "out\\my_bar_b3.png", "out\\my_bar_b2_over.png"})
      EXPECT_TRUE(services.Exists(name)) << name;
    EXPECT_EQ(c.onImages, services.Exists("out\\my_bar_b1_on.png"));
    EXPECT_FALSE(services.Exists("out\\my_bar_b1_clk.png"));
    EXPECT_FALSE(services.Exists("out\\my_bar_left.png"));
  }
}

TEST_F(NavBarExport, ScriptFailureWritesNoImages) {
  services.MakeFolder("busy.js");  // a folder where the script should go
  CString script = services.Path("busy.js");
  EXPECT_EQ(0u, ExportNavBar(bar, script, services.Path("page.html"), nullptr, false));
  EXPECT_FALSE(services.Exists("busy_b1.gif"));
  EXPECT_FALSE(services.Exists("busy_b1.png"));
}

}  // namespace
