// The rollover script: whole files for small bars, line ends, escaping, and the stub.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "util/FileSystem.h"
#include "document/DocumentFiles.h"
#include "navbar/NavBarScript.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

class NavBarScript : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.CreateDefaultButtons();
    services.MakeFolder("SysResources");
    services.MakeFolder("js");
    services.WriteFile("SysResources\\navstub.js", "\r\n// stub 1\r\n");
    services.WriteFile("SysResources\\navstub2.js", "\r\n// stub 2\r\n");
  }
  // Buttons with texts, links, alt texts, targets and image sizes.
  void SetButtons(const std::vector<std::vector<const char*>>& rows, const std::vector<std::pair<int, int>>& sizes) {
    std::vector<CString> texts, links, alts, targets;
    for (const auto& r : rows) {
      texts.push_back(r[0]);
      links.push_back(r[1]);
      alts.push_back(r[2]);
      targets.push_back(r[3]);
    }
    ASSERT_EQ(1, bar.SetButtons(texts, links, alts, targets));
    for (std::size_t i = 0; i < sizes.size(); ++i)
      ASSERT_EQ(0, bar.GetButton(static_cast<int>(i))->CreateFilled(sizes[i].first, sizes[i].second, 1));
  }
  void SetStates(bool over, bool selected) {
    bar.SetStateEnabled(0, 1);
    bar.SetStateEnabled(1, over ? 1 : 0);
    bar.SetStateEnabled(2, 0);
    bar.SetStateEnabled(3, selected ? 1 : 0);
  }
  std::string Write(bool noLinks, bool expectOk = true) {
    EXPECT_EQ(expectOk, WriteNavBarScript(bar, services.Path("js\\nav.js"), "nav", noLinks, services.folder));
    std::ifstream in(std::string(DocumentFiles::NativePath(services.Path("js\\nav.js"))), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
};

const char kProbe[] =
    "if (typeof(loc)==\"undefined\" || loc==\"\"){var loc=\"\";if (document.body&&document.body.innerHTML){"
    "var tt=document.body.innerHTML;var ml=tt.match(/[\"']((?:[^'\"]*\\/)?)nav\\.js[\"']/i);if(ml && ml.length > 1) "
    "loc=ml[1];}}";
const char kTurnOver[] =
    "function turn_over(name) {if (document.images != null && clicked != name) {document[name].src = "
    "document[name+\"_over\"].src;}}";
const char kTurnOff[] =
    "function turn_off(name) {if (document.images != null && clicked != name) {document[name].src = "
    "document[name+\"_off\"].src;}}";

TEST_F(NavBarScript, HorizontalBarWithOverStateIsOneLineAfterTheComment) {
  bar.SetVertical(false);
  bar.SetButtonSpacing(2);
  SetStates(true, false);
  SetButtons({{"Home", "index.html", "Home \"page\"", ""}, {"Ext", "www.example.com", "(Button Name)", "_blank"}},
             {{80, 20}, {90, 21}});
  const std::string expected =
      std::string("// Navigation bar written by Barwright: rollover buttons\r\n") +
      "var clicked=\"\";var gtype=\".jpg\";var selstate=\"_over\";" + kProbe +
      "document.write(\"<table border=\\\"0\\\" cellspacing=\\\"2\\\" cellpadding=\\\"0\\\"><tr>\");tr(false);"
      "writeButton(loc+\"../\",\"index.html\",\"nav_b1\",80,20,\"Home &#34;page&#34;\",\"\",0);"
      "writeButton(\"\",\"http://www.example.com\",\"nav_b2\",90,21,\"Ext\",\"_blank\",0);"
      "tr(true);document.write(\"</tr></table>\");loc=\"\";function tr(b){}" +
      kTurnOver + kTurnOff +
      "function reg(gname,name){if (document.images){document[name+\"_off\"] = new Image();"
      "document[name+\"_off\"].src = loc+gname+gtype;document[name+\"_over\"] = new Image();"
      "document[name+\"_over\"].src = loc+gname+\"_over\"+gtype;}}"
      "function evs(name){ return \" onmouseover=\\\"turn_over('\"+ name + \"')\\\" onmouseout=\\\"turn_off('\"+ "
      "name + \"')\\\"\"}"
      "\r\n// stub 2\r\n";
  EXPECT_EQ(expected, Write(false));
}

TEST_F(NavBarScript, PreviewOfVerticalBarWithDistinctSelectedState) {
  bar.SetVertical(true);
  SetStates(true, true);
  SetButtons({{"A", "a.html", "", "_self"}, {"B", "b.html", "", ""}}, {{60, 20}, {40, 20}});
  bar.GetButton(0)->SetStateComparison(2);  // the Selected image differs from the Over image
  const std::string text = Write(true);
  const char* fragments[] = {
      "var selstate=\"_on\";",
      "tr(false);writeButton(\"\",\"\",\"nav_b1\",60,20,\"\",\"_self\",0);writeButton(\"\",\"\",\"nav_b2\",40,20,"
      "\"\",\"\",0);tr(true);",
      "document.write(\"</tr></table>\");pick(\"nav_b1\");loc=\"\";",
      "function tr(b){if (b) document.write(\"<tr>\");else document.write(\"</tr>\");}",
      "function pick(name) {if (document.images && name!=\"\") document[name].src = document[name + \"_on\"].src;"
      "var t = clicked;clicked = name;if (t != \"\") turn_off(t);}",
      "document[name+\"_on\"] = new Image();document[name+\"_on\"].src = loc+gname+\"_on\"+gtype;}}",
      "function evs(name){ return \" onClick=\\\"pick('\"+ name + \"')\\\" onmouseover=",
      "\r\n// stub 1\r\n",
  };
  for (const char* f : fragments) EXPECT_NE(std::string::npos, text.find(f)) << f;
}

TEST_F(NavBarScript, StatesDecideTheHelpersAndTheSelection) {
  const struct {
    bool over, selected, same, framed;
    const char* selstate;
    bool turnOver, turnOff, pick;
    const char* pickBody;
    const char* evs;
  } cases[] = {
      {false, false, false, false, "", false, false, false, "", "function evs(name){ return \"\"}"},
      {true, true, true, false, "_over", true, true, false, "", nullptr},
      {true, true, true, true, "_over", true, true, true, "function pick(name) {turn_over(name);var t", nullptr},
      {false, true, false, true, "_on", false, true, true, "function pick(name) {if (document.images", nullptr},
  };
  for (const auto& c : cases) {
    SetStates(c.over, c.selected);
    const char* target = c.framed ? "main" : "_top";
    SetButtons({{"A", "a.html", "", target}, {"B", "b.html", "", target}}, {{60, 20}, {40, 20}});
    bar.GetButton(0)->SetStateComparison(c.same ? 1 : 2);
    const std::string text = Write(false);
    SCOPED_TRACE(text);
    EXPECT_NE(std::string::npos, text.find(std::string("var selstate=\"") + c.selstate + "\";"));
    EXPECT_EQ(c.turnOver, text.find("function turn_over") != std::string::npos);
    EXPECT_EQ(c.turnOff, text.find("function turn_off") != std::string::npos);
    EXPECT_EQ(c.pick, text.find("pick(\"nav_b1\");") != std::string::npos);
    if (*c.pickBody) { EXPECT_NE(std::string::npos, text.find(c.pickBody)); }
    if (c.evs) { EXPECT_NE(std::string::npos, text.find(c.evs)); }
  }
}

TEST_F(NavBarScript, LinksTakeThePagePrefixOnlyWhenRelative) {
  SetStates(false, false);
  SetButtons({{"A", "", "", ""},
              {"B", "JAVASCRIPT:go()", "", ""},
              {"C", "sub\\c.html", "", ""},
              {"D", "x\"</script><script>alert(1)//", "a</script>", "t\"x"}},
             {{10, 10}, {10, 10}, {10, 10}, {10, 10}});
  const std::string text = Write(false);
  const char* fragments[] = {
      "writeButton(\"\",\"javascript:;\",\"nav_b1\"",
      "writeButton(\"\",\"JAVASCRIPT:go()\",\"nav_b2\"",
      "writeButton(loc+\"../\",\"sub/c.html\",\"nav_b3\"",
      "writeButton(loc+\"../\",\"x\\\"<\\/script><script>alert(1)//\",\"nav_b4\",10,10,\"a<\\/script>\",\"t\\\"x\",0);",
  };
  for (const char* f : fragments) EXPECT_NE(std::string::npos, text.find(f)) << f << "\n" << text;
  // Only the comment line ends; the generated part is one line.
  EXPECT_EQ(text.find("\r\n"), text.find('\n') - 1);
  EXPECT_EQ(std::string::npos, text.find("</script", 0));
}

// A script without its stub, or one the disk could not take whole, would break the page: the
// previous script stays as it was.
TEST_F(NavBarScript, FailedWritesKeepThePreviousScript) {
  SetStates(true, false);
  SetButtons({{"A", "a.html", "", ""}}, {{10, 10}});
  const std::string previous = Write(false);
  ASSERT_NE(std::string::npos, previous.find("// stub 2"));
  bar.GetButton(0)->SetText("Changed");

  FileSystem::SetWriteLimitForTesting(100);
  EXPECT_EQ(previous, Write(false, false));
  FileSystem::SetWriteLimitForTesting(-1);

  std::remove(std::string(DocumentFiles::NativePath(services.Path("SysResources\\navstub2.js"))).c_str());
  EXPECT_EQ(previous, Write(false, false));
  EXPECT_FALSE(services.Exists("js\\nav.js.~tmp"));
}

TEST_F(NavBarScript, UncreatableScriptFails) {
  SetButtons({{"A", "a.html", "", ""}}, {{10, 10}});
  EXPECT_FALSE(WriteNavBarScript(bar, services.Path("missing\\nav.js"), "nav", false, services.folder));
}

}  // namespace
