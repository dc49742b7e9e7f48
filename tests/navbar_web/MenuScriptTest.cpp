// The drop-down menu script: a whole file for a small bar with two levels of menus, the
// variants of its style sheet, and its images.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "util/FileSystem.h"
#include "document/DocumentFiles.h"
#include "navbar/MenuScript.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

class MenuScript : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.CreateDefaultButtons();
    std::vector<CString> texts{"Home", "More"}, links{"index.html", "www.example.com"}, alts{"", "go \"more\""},
        targets{"", "_blank"};
    ASSERT_EQ(1, bar.SetButtons(texts, links, alts, targets));
    bar.GetButton(0)->CreateFilled(80, 20, 1);
    bar.GetButton(1)->CreateFilled(90, 20, 1);
    bar.SetVertical(false);
    bar.SetStateEnabled(1, 1);
    const COLORREF colours[] = {0xFFFFFF, 0x000000, 0x804020, 0xFFFFFF, 0x808080};
    for (int k = 0; k < 5; ++k) bar.SetMenuColour(k, colours[k]);
  }
  CNavBarMenuItem* Add(CNavBarItem* parent, const char* text, const char* link) {
    CNavBarMenuItem* item = parent->AppendChild(nullptr);
    item->SetText(text);
    item->SetURL(link, false);
    return item;
  }
  std::string Read(const char* name) const {
    std::ifstream in(std::string(DocumentFiles::NativePath(services.Path(name))), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string Write() {
    EXPECT_TRUE(WriteMenuScript(bar, services.Path("nav.js"), "nav", services.folder));
    return Read("nav.js");
  }
  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
};

// Lines of the expected file, joined with CR LF.
std::string Lines(const char* text) {
  std::string result;
  for (const char* p = text; *p; ++p) result += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
  return result;
}

TEST_F(MenuScript, BarWithTwoLevelsOfMenus) {
  CNavBarMenuItem* one = Add(bar.GetButton(0), "One <1>", "one.html");
  Add(one, "Deep", "javascript:alert(1)");
  Add(bar.GetButton(0), "", "");
  Add(bar.GetButton(1), "Two", "Q:\\x\\two.html");
  EXPECT_EQ(Lines(R"js(// Navigation bar written by Barwright: drop-down menus
if(typeof(loc)=="undefined"||loc==""){var loc="";if(document.body&&document.body.innerHTML){var tt=document.body.innerHTML;var ml=tt.match(/["']((?:[^'"]*\/)?)nav\.js["']/i);if(ml && ml.length > 1) loc=ml[1];}}

var bd=0
document.write("<style type=\"text/css\">");
document.write("\n<!--\n");
document.write(".nav_menu {z-index:999;border-color:#808080;border-style:solid;border-width:"+bd+"px 0px "+bd+"px 0px;background-color:#ffffff;position:absolute;left:0px;top:0px;visibility:hidden;}");
document.write(".nav_plain, a.nav_plain:link, a.nav_plain:visited{text-align:left;background-color:#ffffff;color:#000000;text-decoration:none;border-color:#808080;border-style:solid;border-width:0px "+bd+"px 0px "+bd+"px;padding:2px 0px 2px 0px;cursor:hand;display:block;font-size:10pt;font-family:Arial, Helvetica, sans-serif;}");
document.write("a.nav_plain:hover, a.nav_plain:active{background-color:#204080;color:#ffffff;text-decoration:none;border-color:#808080;border-style:solid;border-width:0px "+bd+"px 0px "+bd+"px;padding:2px 0px 2px 0px;cursor:hand;display:block;font-size:10pt;font-family:Arial, Helvetica, sans-serif;}");
document.write("a.nav_l:link, a.nav_l:visited{text-align:left;background:#ffffff url("+loc+"nav_l.gif) no-repeat right;color:#000000;text-decoration:none;border-color:#808080;border-style:solid;border-width:0px "+bd+"px 0px "+bd+"px;padding:2px 0px 2px 0px;cursor:hand;display:block;font-size:10pt;font-family:Arial, Helvetica, sans-serif;}");
document.write("a.nav_l:hover, a.nav_l:active{background:#204080 url("+loc+"nav_l2.gif) no-repeat right;color: #ffffff;text-decoration:none;border-color:#808080;border-style:solid;border-width:0px "+bd+"px 0px "+bd+"px;padding:2px 0px 2px 0px;cursor:hand;display:block;font-size:10pt;font-family:Arial, Helvetica, sans-serif;}");
document.write("\n-->\n");
document.write("</style>");

var fc=0xffffff;
var bc=0x204080;
if(typeof(menuFrames)=="undefined"){var menuFrames=0;}

startMainMenu("",0,0,2,0,2)
mainMenuItem("nav_b1",".jpg",20,80,loc+"index.html","","",2,2,"nav_plain");
mainMenuItem("nav_b2",".jpg",20,90,"http://www.example.com","_blank","go &#34;more&#34;",2,2,"nav_plain");
endMainMenu("",0,0);

startSubmenu("nav_b2","nav_menu",90);
submenuItem("Two","file:///Q:/x/two.html","","nav_plain");
endSubmenu("nav_b2");

startSubmenu("nav_b1_1","nav_menu",48);
submenuItem("Deep","javascript:alert(1)","","nav_plain");
endSubmenu("nav_b1_1");

startSubmenu("nav_b1","nav_menu",89);
mainMenuItem("nav_b1_1","One &lt;1&gt;",0,0,loc+"one.html","","",1,1,"nav_l");
submenuItem("---","javascript:;","","nav_plain");
endSubmenu("nav_b1");

loc="";
)js"), Write());
  // Left arrows in the text colour and, as the hover text differs, in the hover text colour;
  // the separator in the text colour as there is no border.
  const std::string arrow = Read("nav_l.gif");
  ASSERT_EQ(54u, arrow.size());
  EXPECT_EQ(std::string("\0\0\0", 3), arrow.substr(16, 3));
  EXPECT_EQ("\xFF\xFF\xFF", Read("nav_l2.gif").substr(16, 3));
  EXPECT_EQ(std::string("\x0C\x8E\x17", 3), arrow.substr(40, 3));
  const std::string separator = Read("---.gif");
  ASSERT_EQ(51u, separator.size());
  EXPECT_EQ(std::string("\x4B\x4B\x4B\0\0\0", 6), separator.substr(34, 6));
  EXPECT_FALSE(services.Exists("nav_r.gif"));
}

// The script and its arrow images are written whole or not at all, and a failure of any of
// them is the write's failure.
TEST_F(MenuScript, FailedWritesKeepThePreviousFilesAndFail) {
  CNavBarMenuItem* one = Add(bar.GetButton(0), "One", "one.html");
  Add(one, "Deep", "deep.html");
  const std::string script = Write();
  const std::string arrow = Read("nav_l.gif");
  ASSERT_FALSE(arrow.empty());
  one->SetText("Changed");
  for (long long limit : {0LL, 100LL, static_cast<long long>(script.size())}) {
    FileSystem::SetWriteLimitForTesting(limit);
    EXPECT_FALSE(WriteMenuScript(bar, services.Path("nav.js"), "nav", services.folder)) << limit;
    FileSystem::SetWriteLimitForTesting(-1);
    EXPECT_EQ(script, Read("nav.js")) << limit;
    EXPECT_EQ(arrow, Read("nav_l.gif")) << limit;
  }
}

TEST_F(MenuScript, SettingsShapeTheStyleSheet) {
  const struct {
    int transparency, animation, direction;
    bool vertical, sameHoverText, nested;
    std::vector<const char*> present, absent;
  } cases[] = {
      {20, 75, 1, false, false, false,
       {"var tr=\"filter:alpha(opacity=80);-moz-opacity:0.8;\";if(IE5) tr=\"\";\r\n", ".nav_menu {\"+tr+\"z-index",
        "{var menuFrames=2;if(menuFrames>0)animate();}\r\n\r\n"},
       {"nav_l", "nav_r"}},
      {5, 0, 2, true, false, false,
       {"-moz-opacity:0.95;", "{var menuFrames=0;}", "visited{text-align:left;", "\",20,80,loc+\"index.html\",\"\",\"\",3,2,"},
       {"nav_r"}},
      {0, 300, 2, true, false, true,
       {"menuFrames=6;", "a.nav_r:link, a.nav_r:visited{text-align: right;", "no-repeat left;color:#ffffff;",
        "nav_r2.gif", "visited{text-align:right;", ",3,1,\"nav_r\");"},
       {"var tr", "+tr+"}},
      {0, 0, 1, false, true, true, {"url(\"+loc+\"nav_l.gif) no-repeat right;color: #000000;"}, {"nav_l2"}},
  };
  for (const auto& c : cases) {
    bar.SetMenuTransparency(c.transparency);
    bar.SetMenuAnimation(c.animation);
    bar.SetMenuDirection(c.direction);
    bar.SetVertical(c.vertical);
    bar.SetMenuColour(3, c.sameHoverText ? 0x000000 : 0xFFFFFF);
    bar.GetButton(0)->RemoveChild(bar.GetButton(0)->GetChild(0), true);
    CNavBarMenuItem* entry = Add(bar.GetButton(0), "Entry", "e.html");
    if (c.nested) Add(entry, "Inner", "i.html");
    const std::string text = Write();
    for (const char* f : c.present) EXPECT_NE(std::string::npos, text.find(f)) << f << "\n" << text;
    for (const char* f : c.absent) EXPECT_EQ(std::string::npos, text.find(f)) << f << "\n" << text;
  }
}

TEST_F(MenuScript, SubmenusComeBeforeTheMenusThatHoldThem) {
  CNavBarMenuItem* first = Add(bar.GetButton(0), "A", "");
  Add(first, "A1", "");
  Add(bar.GetButton(0), "B", "");
  Add(bar.GetButton(1), "C", "");
  std::vector<SubmenuRecord> list;
  CollectSubmenus(list, bar.GetButton(0), "nav_b1");
  CollectSubmenus(list, bar.GetButton(1), "nav_b2");
  ASSERT_EQ(3u, list.size());
  EXPECT_STREQ("nav_b2", list[0].name.GetString());
  EXPECT_STREQ("nav_b1_1", list[1].name.GetString());
  EXPECT_STREQ("nav_b1", list[2].name.GetString());
  EXPECT_TRUE(HasSubmenus(bar));
  EXPECT_FALSE(HasMenuSeparators(bar));
}

TEST_F(MenuScript, MenuTextsCannotBreakTheScript) {
  Add(bar.GetButton(0), "x\"</script>\\", "a\"b.html")->SetTarget("t'x");
  const std::string text = Write();
  EXPECT_NE(std::string::npos,
            text.find("submenuItem(\"x&#34;&lt;/script&gt;\\\\\",loc+\"a\\\"b.html\",\"t\\'x\",\"nav_plain\");"))
      << text;
}

TEST(MenuImages, SeparatorShades) {
  unsigned char light[3], dark[3];
  MakeSeparatorShades(10, 200, 100, light, dark);  // sum 310: the colour is the dark shade
  EXPECT_EQ(std::string("\x55\xFF\xAF"), std::string(reinterpret_cast<char*>(light), 3));
  EXPECT_EQ(std::string("\x0A\xC8\x64"), std::string(reinterpret_cast<char*>(dark), 3));
  MakeSeparatorShades(250, 60, 100, light, dark);  // sum 410: the colour is the light shade
  EXPECT_EQ(std::string("\xFA\x3C\x64"), std::string(reinterpret_cast<char*>(light), 3));
  EXPECT_EQ(std::string("\xAF\x00\x19", 3), std::string(reinterpret_cast<char*>(dark), 3));
}

}  // namespace

TEST_F(MenuScript, SubmenuWidthsAreMeasuredInTheMenuFont) {
  Add(bar.GetButton(0), "Entry", "e.html");
  bar.SetMenuFontSize(14);
  bar.SetMenuBold(true);
  bar.SetMenuItalic(false);
  Write();
  const std::string family = std::string(bar.GetMenuFontFamily());
  ASSERT_FALSE(family.empty());
  EXPECT_EQ(family.substr(0, family.find(',')) + " 14 bold", services.measuredFont);
}
