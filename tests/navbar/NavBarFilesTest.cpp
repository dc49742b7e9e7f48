// A bar on disk: suffix rules, saving the state and cap files with the thumbnail, reading
// template sets, the round trip through the style file, working copies, and turning a single
// graphic into a bar.
#include <gtest/gtest.h>

#include <tuple>

#include "navbar/NavBarBitmap32.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

const CString P(kNavBarSeparator, 1);

class NavBarFiles : public ::testing::Test {
 protected:
  void SetUp() override { bar.CreateDefaultButtons(); }

  // Writes a style file of the fixture whose colour 1 tells which file it was.
  void WriteStyle(const char* name, COLORREF face, const char* kiq = "Button.kiq", int templateFlag = 1) {
    COptions record;
    services.MakeTemplateRecord(record, face, kiq);
    record.SetTemplateFlag(templateFlag);
    record.SetStoryText("Styled", 0);
    ASSERT_TRUE(record.SaveStyleFile(services.Path(name)));
  }
  // The HTML string of a bar named name with the layout word and two buttons.
  static CString Html(const char* name, unsigned word) {
    CString html;
    html.Format("%s%c%u", name, kNavBarSeparator, word);
    return html + P + "Home" + P + "" + P + "(Button Name)" + P + "" + P + "News" + P + "news.htm" + P + "N" + P;
  }
  int LoadSet(const char* name, unsigned word, const CString& settings = CString()) {
    bar.SetParseButtons(true);
    return bar.LoadFromTemplate(Html(name, word), services.Path((CString(name) + "_off.qtw").GetString()), nullptr,
                                settings, 1, 0);
  }
  COLORREF Face(int state) { return bar.GetStateRecord(state)->GetColourValue(1); }

  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
};

// Layout words: horizontal, centred, sizing by own text, with the given states enabled.
constexpr unsigned kOff = 0x40, kOver = 0x80, kClicked = 0x100, kSelected = 0x200;
constexpr unsigned kRow = 2 | 8;

TEST_F(NavBarFiles, SuffixRules) {
  const struct {
    const char* path;
    const char* base;
  } strips[] = {{"C:\\a\\Blue_over.qtw", "C:\\a\\Blue"}, {"C:\\a\\Blue#3.qtw", "C:\\a\\Blue"},
                {"C:\\a\\Blue.qtw", ""},                 {"C:\\a\\Blue_Over.qtw", ""},
                {"C:\\a\\Blue_right.qtw", "C:\\a\\Blue"}, {"Blue_on#2.qtw", "Blue_on"}};
  for (const auto& c : strips) EXPECT_EQ(CString(c.base), StripNavBarSuffix(c.path)) << c.path;
  const struct {
    const char* name;
    const char* base;
  } images[] = {{"menu_b12_over.gif", "menu"}, {"menu12.gif", ""}, {"Top_B3.png", "Top"}, {"x_b_clk.gif", "x"}};
  for (const auto& c : images) EXPECT_EQ(CString(c.base), GetNavBarBaseName(c.name)) << c.name;
}

TEST_F(NavBarFiles, TemplateSets) {
  struct Case {
    const char* name;
    std::vector<std::tuple<const char*, COLORREF, const char*>> files;
    COLORREF faces[4];
    int templateCount;
  } cases[] = {
      {"numbered, Off and Over",
       {{"T1#1.qtw", 0x10, "Button.kiq"}, {"T1#2.qtw", 0x20, "Button_over.kiq"}},
       {0x10, 0x20, 0x10, 0x20},
       2},
      {"named with Clicked",
       {{"T2_off.qtw", 0x10, "Button.kiq"}, {"T2_over.qtw", 0x20, "Button.kiq"}, {"T2_clicked.qtw", 0x30, "Button.kiq"}},
       {0x10, 0x20, 0x30, 0x20},
       1},
      {"named with Selected",
       {{"T3_off.qtw", 0x10, "Button.kiq"}, {"T3_on.qtw", 0x40, "Button.kiq"}},
       {0x10, 0x10, 0x10, 0x40},
       1},
      {"plain Off file", {{"T4.qtw", 0x50, "Button.kiq"}}, {0x50, 0x50, 0x50, 0x50}, 1},
  };
  for (const Case& c : cases) {
    for (const auto& file : c.files) WriteStyle(std::get<0>(file), std::get<1>(file), std::get<2>(file));
    CString name(std::get<0>(c.files[0]));
    name = name.Left(2);
    bar.SetParseButtons(true);
    ASSERT_EQ(1, bar.LoadFromTemplate(Html(name, kRow | kOff | kOver), services.Path(std::get<0>(c.files[0])), nullptr,
                                      CString(), 1, 0))
        << c.name;
    for (int s = 0; s < 4; ++s) EXPECT_EQ(c.faces[s], Face(s)) << c.name << " state " << s;
    EXPECT_EQ(c.faces[0], services.graphic.GetColourValue(1)) << c.name;
    EXPECT_EQ(c.templateCount, bar.GetStateTemplateCount());
  }
  EXPECT_EQ(2, bar.GetButtonCount());
  EXPECT_EQ(CString("News"), bar.GetButtonText(1));
  EXPECT_EQ(CString("(Button Name)"), bar.GetButton(0)->GetAltText(false));
  EXPECT_TRUE(services.internalErrors.empty());
}

TEST_F(NavBarFiles, ColourEditsSpreadByNameWhenStatesHaveTheirOwnTemplates) {
  WriteStyle("D#1.qtw", 0x10, "Button.kiq");
  WriteStyle("D#2.qtw", 0x20, "Button_over.kiq");
  ASSERT_EQ(1, LoadSet("D", kRow | kOff | kOver));
  ASSERT_EQ(2, bar.GetStateTemplateCount());
  // The first colour notification after a load is the load's own.
  services.graphic.SetColourValue(0x55, 1);
  bar.OnGraphicChanged(kChangeColours, 0);
  EXPECT_EQ(0x20u, Face(1));
  EXPECT_TRUE(bar.IsColourSpreadingArmed());
  // Later edits reach every state, matched by the colour's style name.
  bar.GetButton(0)->SetImageValid(1, true);
  services.graphic.SetColourValue(0x66, 1);
  bar.OnGraphicChanged(kChangeColours, 0);
  for (int s = 0; s < 4; ++s) EXPECT_EQ(0x66u, Face(s)) << s;
  EXPECT_FALSE(bar.GetButton(0)->IsImageValid(1));
}

TEST_F(NavBarFiles, CapsNeedBothFilesAndMenusFollowTheOrientation) {
  WriteStyle("C_off.qtw", 0x10);
  WriteStyle("C_Left.qtw", 0x60);
  // Direction 1 (to the right) on a row: menus drop down instead.
  const CString settings = "1" + P + "0" + P + "0" + P + "10" + P + "0" + P + "0" + P + "0" + P + "0";
  ASSERT_EQ(1, LoadSet("C", kRow | kOff, settings));
  EXPECT_FALSE(bar.HasCaps());
  EXPECT_EQ(0, bar.GetMenuDirection());

  WriteStyle("C_Right.qtw", 0x70);
  ASSERT_EQ(1, LoadSet("C", kRow | kOff, settings));
  ASSERT_TRUE(bar.HasCaps());
  EXPECT_EQ(0x60u, bar.GetFirstCap()->GetRecord().GetColourValue(1));
  EXPECT_EQ(0x70u, bar.GetSecondCap()->GetRecord().GetColourValue(1));
  // The graphic holds the Off style again after the caps were read.
  EXPECT_EQ(0x10u, services.graphic.GetColourValue(1));

  // A column with direction 0 opens its menus to the right.
  const CString down = "0" + P + "0" + P + "0" + P + "10" + P + "0" + P + "0" + P + "0" + P + "0";
  ASSERT_EQ(1, LoadSet("C", kRow | kOff | 0x400, down));
  EXPECT_FALSE(bar.HasCaps());
  EXPECT_EQ(1, bar.GetMenuDirection());
}

TEST_F(NavBarFiles, SaveWritesTheEnabledStatesCapsAndThumbnail) {
  WriteStyle("S_off.qtw", 0x10);
  WriteStyle("S_on.qtw", 0x40);
  WriteStyle("S_left.qtw", 0x60);
  WriteStyle("S_right.qtw", 0x70);
  ASSERT_EQ(1, LoadSet("S", kRow | kOff | kSelected));
  ASSERT_TRUE(bar.HasCaps());

  services.MakeFolder("out");
  ASSERT_EQ(1, bar.Save(services.Path("out\\nav.qtw"), nullptr, true, true));
  for (const char* written : {"out\\nav_off.qtw", "out\\nav_on.qtw", "out\\nav_left.qtw", "out\\nav_right.qtw"})
    EXPECT_TRUE(services.Exists(written)) << written;
  for (const char* absent : {"out\\nav_over.qtw", "out\\nav_clicked.qtw"})
    EXPECT_FALSE(services.Exists(absent)) << absent;
  EXPECT_EQ(services.Path("out\\nav_on.qtw"), bar.GetStateRecord(3)->GetQTWFile());
  EXPECT_EQ(services.Path("out\\nav_over.qtw"), bar.GetStateRecord(1)->GetQTWFile());
  EXPECT_EQ(CString("nav"), bar.GetHTMLName());

  // The thumbnail: first cap, button 0 in each enabled state, second cap, shrunk to 0.8.
  EXPECT_EQ(services.Path("out\\nav_off.qgt"), services.thumbnailPath);
  const int stripWidth = bar.GetFirstCap()->Width() + 2 * bar.GetButton(0)->Width() + bar.GetSecondCap()->Width();
  EXPECT_EQ(static_cast<int>(stripWidth * 0.8 + 0.5), services.thumbnailWidth);
  EXPECT_EQ(16, services.thumbnailHeight);
  EXPECT_EQ(0, bar.GetCurrentState());

  // Saving to the Off file writes the same names.
  services.MakeFolder("again_off");
  ASSERT_EQ(1, bar.Save(services.Path("again_off\\nav_off.qtw"), nullptr, false, false));
  EXPECT_TRUE(services.Exists("again_off\\nav_on.qtw"));
  EXPECT_EQ(CString("nav"), bar.GetHTMLName());
  EXPECT_FALSE(services.Exists("again_off\\nav_off_on.qtw"));
}

TEST_F(NavBarFiles, ThumbnailStripLayout) {
  bar.SetVertical(true);
  bar.SetStateEnabled(0, 1);
  bar.SetStateEnabled(1, 1);
  SetTemplateColours(*bar.GetStateRecord(1), 0x0000FF);
  std::unique_ptr<CNavBarBitmap32> strip(bar.BuildThumbnail());
  ASSERT_TRUE(strip);
  const CNavBarButton* first = bar.GetButton(0);
  ASSERT_EQ(first->Width(), strip->Width());
  ASSERT_EQ(2 * first->Height(), strip->Height());
  const int length = first->GetText().GetLength();
  // Rows are stored bottom-up: the Off image takes the top rows, the Over image the bottom.
  EXPECT_EQ(FakePixel(0x102030, length), strip->Pixels()[(strip->Height() - 1) * strip->Width()]);
  EXPECT_EQ(FakePixel(0x0000FF, length), strip->Pixels()[0]);
}

TEST_F(NavBarFiles, RoundTripThroughTheStyleFile) {
  WriteStyle("R_off.qtw", 0x10);
  ASSERT_EQ(1, LoadSet("R", kRow | kOff | kOver));
  bar.SetSizingMode(2);
  bar.SetJustification(2);
  bar.SetButtonSpacing(9);
  bar.GetButton(1)->AppendChild(nullptr)->SetText("Sub");
  bar.GetButton(1)->GetChild(0)->SetURL("sub.htm", false);
  bar.SetMenuTransparency(30);
  bar.SetMenuColour(2, 0x123456);
  const CString settings = bar.GetSettingsString();
  services.navBarMode = true;  // as the operations manager is while a bar is edited
  services.MakeFolder("round");
  ASSERT_EQ(1, bar.Save(services.Path("round\\site.qtw"), nullptr, false, true));

  // Another bar in its place, then the saved one opened as the user's work.
  bar.SetButtons({"X"}, {""}, {""}, {""});
  bar.ClearMenus();
  bar.SetSettingsString("");
  bar.SetSizingMode(0);
  ASSERT_TRUE(services.graphic.LoadStyleFile(services.Path("round\\site_off.qtw"), kChangeAll, -1, kLoadUserWork));
  EXPECT_TRUE(services.navBarMode);
  ASSERT_EQ(2, bar.GetButtonCount());
  EXPECT_EQ(CString("News"), bar.GetButtonText(1));
  EXPECT_EQ(CString("news.htm"), bar.GetButton(1)->GetURL());
  EXPECT_EQ(2, bar.GetSizingMode());
  EXPECT_EQ(2, bar.GetJustification());
  EXPECT_EQ(9, bar.GetButtonSpacing());
  ASSERT_EQ(1, bar.GetButton(1)->GetChildCount());
  EXPECT_EQ(CString("sub.htm"), bar.GetButton(1)->GetChild(0)->GetURL());
  EXPECT_EQ(settings, bar.GetSettingsString());
  // The user's own file: its settings count as chosen.
  EXPECT_TRUE(bar.IsSettingUserSet(3));
  EXPECT_EQ(CString("site"), bar.GetHTMLName());
}

TEST_F(NavBarFiles, WorkingCopiesAndFailedWrites) {
  WriteStyle("W_off.qtw", 0x10);
  ASSERT_EQ(1, LoadSet("W", kRow | kOff));
  // A working copy in this instance's temporary folder replaces the whole old set and keeps
  // the bar's own name.
  services.WriteFile("tmp\\~ast7_clicked.qtw", "stale");
  ASSERT_EQ(1, bar.Save(services.tempFolder + "~ast7_off.qtw", nullptr, false, false));
  EXPECT_FALSE(services.Exists("tmp\\~ast7_clicked.qtw"));
  EXPECT_TRUE(services.Exists("tmp\\~ast7_off.qtw"));
  EXPECT_EQ(CString("W"), bar.GetHTMLName());

  // "ast7" elsewhere is an ordinary name.
  services.WriteFile("past7_clicked.qtw", "kept");
  ASSERT_EQ(1, bar.Save(services.Path("past7.qtw"), nullptr, false, false));
  EXPECT_TRUE(services.Exists("past7_clicked.qtw"));
  EXPECT_EQ(CString("past7"), bar.GetHTMLName());

  // A state file that cannot be written fails the save; the others are still written.
  bar.SetStateEnabled(3, 1);
  services.MakeFolder("blocked_on.qtw");
  EXPECT_EQ(0, bar.Save(services.Path("blocked.qtw"), nullptr, false, false));
  EXPECT_TRUE(services.Exists("blocked_off.qtw"));
}

TEST_F(NavBarFiles, SingleGraphicBecomesABar) {
  services.navBarMode = false;
  // The user's graphic, last saved as Blue_off.qtw.
  services.graphic.SetTemplateFlag(0);
  services.graphic.SetStoryText("Single", 0);
  ASSERT_TRUE(services.graphic.SaveStyleFile(services.Path("Blue_off.qtw")));
  services.graphic.SetShadowOn(1);

  // A picture cannot become a bar.
  services.graphic.SetGraphicType(kGraphicPicture);
  bar.SetNavBarMode(true);
  EXPECT_FALSE(services.navBarMode);
  EXPECT_EQ(1, services.graphic.GetShadowOn());

  // A set that does not load leaves the single graphic as it was.
  services.graphic.SetGraphicType(kGraphicButton);
  services.WriteFile("Blue_over.qtw", "not a style file\r\n");
  bar.SetNavBarMode(true);
  EXPECT_FALSE(services.navBarMode);
  EXPECT_EQ(1, services.graphic.GetShadowOn());
  EXPECT_EQ(CString("Single"), services.graphic.GetStoryText(0));
  EXPECT_TRUE(services.graphic.GetHTML().IsEmpty());

  // Cancelled: nothing changes.
  services.orientationAnswer = 32916;
  bar.SetNavBarMode(true);
  EXPECT_FALSE(services.navBarMode);

  services.orientationAnswer = 32905;  // vertical
  WriteStyle("Blue_over.qtw", 0x20);
  services.graphic.SetGraphicType(kGraphicButton);
  bar.SetNavBarMode(true);
  EXPECT_TRUE(services.navBarMode);
  EXPECT_EQ(0, services.graphic.GetShadowOn());
  EXPECT_TRUE(bar.IsVertical());
  EXPECT_EQ(CString("Blue"), bar.GetHTMLName());
  EXPECT_TRUE(bar.IsStateEnabled(0) && bar.IsStateEnabled(1) && !bar.IsStateEnabled(3));

  // Back to a single graphic: it shows the first button's text.
  bar.SetNavBarMode(false);
  EXPECT_FALSE(services.navBarMode);
  EXPECT_EQ(bar.GetButtonText(0), services.graphic.GetStoryText(0));
}

}  // namespace
