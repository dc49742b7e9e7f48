// The bar's strings in the style file: the HTML string (new and old forms), the layout word,
// menu records and the menu settings string; menu colours and font taken from the graphic.
#include <gtest/gtest.h>

#include "tests/navbar/FakeNavBarServices.h"

namespace {

const CString P(kNavBarSeparator, 1);

// Joins fields with the pilcrow separator.
CString Join(std::initializer_list<const char*> fields) {
  CString text;
  bool first = true;
  for (const char* field : fields) {
    if (!first) text += kNavBarSeparator;
    text += field;
    first = false;
  }
  return text;
}

class NavBarStrings : public ::testing::Test {
 protected:
  void SetUp() override { bar.CreateDefaultButtons(); }
  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
};

TEST_F(NavBarStrings, HtmlStringOfABar) {
  ASSERT_EQ(1, bar.SetButtons({"Home", "Links"}, {"(Default URL)", "links.htm"},
                              {"(Button Name)", "(Button Name)"}, {"", ""}));
  bar.SetVertical(false);
  bar.SetSizingMode(1);
  bar.SetJustification(1);
  bar.SetStateEnabled(0, 1);
  bar.SetStateEnabled(1, 1);
  bar.SetButtonSpacing(4);
  CString html;
  ASSERT_EQ(1, bar.BuildHTMLString("bar.qtw", &html));
  EXPECT_EQ(Join({"bar", "262346", "Home", "(Default URL)", "(Button Name)", "", "Links", "links.htm",
                  "(Button Name)", ""}),
            html);
  EXPECT_EQ(0, bar.BuildHTMLString("", &html));
  EXPECT_EQ(0, bar.BuildHTMLString("bar", nullptr));
  EXPECT_EQ((std::vector<int>{905, 902}), services.internalErrors);
}

TEST_F(NavBarStrings, LayoutWordReadsBackEverySetting) {
  struct Case {
    int sizing, justification, spacing;
    bool vertical;
    int states;  // bit per enabled state
  } cases[] = {
      {0, 0, 0, true, 0x1}, {1, 1, 4, false, 0x3}, {2, 2, 50, true, 0xF}, {2, 1, 7, false, 0x9},
  };
  for (const Case& c : cases) {
    CNavBar written;
    written.SetSizingMode(c.sizing);
    written.SetJustification(c.justification);
    written.SetButtonSpacing(c.spacing);
    written.SetVertical(c.vertical);
    for (int s = 0; s < 4; ++s) written.SetStateEnabled(s, (c.states >> s) & 1);
    CNavBar read;
    read.ApplyLayoutWord(written.BuildLayoutWord());
    EXPECT_EQ(c.sizing, read.GetSizingMode()) << c.sizing;
    EXPECT_EQ(c.justification, read.GetJustification());
    EXPECT_EQ(c.spacing, read.GetButtonSpacing());
    EXPECT_EQ(c.vertical, read.IsVertical());
    for (int s = 0; s < 4; ++s) EXPECT_EQ((c.states >> s) & 1, read.IsStateEnabled(s));
  }
  // Words from files: unknown codes mean manual widths and left alignment; the spacing is held
  // to its range.
  const struct {
    unsigned word;
    int sizing, justification, spacing;
  } words[] = {{0, 2, 0, 0}, {2, 1, 0, 0}, {1 | 16, 0, 2, 0}, {6 | 0x38, 2, 0, 0}, {0xFFFF0000u, 2, 0, 50}};
  for (const auto& w : words) {
    CNavBar read;
    read.ApplyLayoutWord(w.word);
    EXPECT_EQ(w.sizing, read.GetSizingMode()) << w.word;
    EXPECT_EQ(w.justification, read.GetJustification()) << w.word;
    EXPECT_EQ(w.spacing, read.GetButtonSpacing()) << w.word;
  }
}

TEST_F(NavBarStrings, ButtonListsInNewAndOldForm) {
  services.graphic.SetTemplateFlag(0);
  services.graphic.SetVersion(2.0);
  struct Case {
    const char* name;
    CString list;
    char separator;
    std::vector<CString> texts, links, alts;
  } cases[] = {
      {"new form", Join({"Home", "", "(Button Name)", "", "Links", "l.htm", "Links page", "_top"}), kNavBarSeparator,
       {"Home", "Links"}, {"", "l.htm"}, {"(Button Name)", "Links page"}},
      {"new form, trailing separator", Join({"A", "a.htm", "", ""}) + P, kNavBarSeparator, {"A"}, {"a.htm"}, {""}},
      {"old form", " Your Button Text | | (Button Name) | | Home | x.htm | (Button Name) | ", '|',
       {"Your Button Text", "Home"}, {"", "x.htm"}, {"(Button Name)", "(Button Name)"}},
      // Fields shorter than their padding read as empty instead of reaching past them.
      {"old form, short fields", "|x| |", '|', {""}, {""}, {""}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(1, bar.ParseButtonList(c.list, c.separator)) << c.name;
    ASSERT_EQ(static_cast<int>(c.texts.size()), bar.GetButtonCount()) << c.name;
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
      EXPECT_EQ(c.texts[i], bar.GetButtonText(i)) << c.name;
      EXPECT_EQ(c.links[i], bar.GetButton(i)->GetURL()) << c.name;
      EXPECT_EQ(c.alts[i], bar.GetButton(i)->GetAltText(false)) << c.name;
    }
  }
  EXPECT_EQ(CString("_top"), (bar.ParseButtonList(cases[0].list, kNavBarSeparator), bar.GetButton(1)->GetTarget()));
  // Templates give empty links the default page.
  services.graphic.SetTemplateFlag(1);
  ASSERT_EQ(1, bar.ParseButtonList(cases[0].list, kNavBarSeparator));
  EXPECT_EQ(CString("(Default URL)"), bar.GetButton(0)->GetURL());
}

TEST_F(NavBarStrings, MenuRecordsInPreOrder) {
  CNavBarButton* b1 = bar.GetButton(0);
  CNavBarButton* b2 = bar.GetButton(1);
  CNavBarMenuItem* one = b2->AppendChild(nullptr);
  one->SetText("One");
  one->SetURL("one.htm", false);
  CNavBarMenuItem* deep = one->AppendChild(nullptr);
  deep->SetText("Deep");
  deep->SetTarget("_blank");
  b2->AppendChild(nullptr)->SetText("Two");
  b1->AppendChild(nullptr)->SetText("First");
  std::vector<CString> records;
  ASSERT_EQ(1, bar.WriteMenuRecords(&records));
  const std::vector<CString> expected{Join({"B1_M1", "First", "", ""}), Join({"B2_M1", "One", "one.htm", ""}),
                                      Join({"B2_M1_M1", "Deep", "", "_blank"}), Join({"B2_M2", "Two", "", ""})};
  EXPECT_EQ(expected, records);

  CNavBar copy;
  copy.CreateDefaultButtons();
  std::vector<CString> list = records;
  ASSERT_EQ(1, copy.ReadMenuRecords(&list));
  EXPECT_TRUE(list.empty());
  std::vector<CString> again;
  copy.WriteMenuRecords(&again);
  EXPECT_EQ(expected, again);
}

TEST_F(NavBarStrings, MenuRecordsReadInAnyOrder) {
  struct Case {
    const char* name;
    std::vector<CString> records;
    int result;
    std::vector<CString> written;
    std::vector<int> errors;
  } cases[] = {
      {"later sibling first",
       {Join({"B1_M2", "Two", "", ""}), Join({"B1_M1", "One", "", ""})},
       1,
       {Join({"B1_M1", "One", "", ""}), Join({"B1_M2", "Two", "", ""})},
       {}},
      {"unknown button and key without levels skipped",
       {Join({"B9_M1", "x", "", ""}), Join({"B1", "x", "", ""}), Join({"B2_M1", "y", "", ""})},
       1,
       {Join({"B2_M1", "y", "", ""})},
       {}},
      {"record not of a button stops", {Join({"B1_M1", "a", "", ""}), Join({"X1_M1", "b", "", ""})}, 0,
       {Join({"B1_M1", "a", "", ""})}, {3874}},
      {"position 0 stops", {Join({"B1_M0", "a", "", ""})}, 0, {}, {3849}},
      // A position no menu has would only make thousands of placeholder items.
      {"huge position skipped", {Join({"B1_M99999999", "a", "", ""}), Join({"B1_M1", "b", "", ""})}, 1,
       {Join({"B1_M1", "b", "", ""})}, {}},
      {"missing fields stay empty", {CString("B3_M1") + P + "Only text"}, 1, {Join({"B3_M1", "Only text", "", ""})},
       {}},
  };
  for (Case& c : cases) {
    services.internalErrors.clear();
    EXPECT_EQ(c.result, bar.ReadMenuRecords(&c.records)) << c.name;
    std::vector<CString> written;
    bar.WriteMenuRecords(&written);
    EXPECT_EQ(c.written.size(), written.size()) << c.name;
    for (std::size_t k = 0; k < std::min(c.written.size(), written.size()); ++k)
      EXPECT_EQ(c.written[k], written[k]) << c.name << " " << k;
    EXPECT_EQ(c.errors, services.internalErrors) << c.name;
  }

  // Ten levels land on the eighth.
  std::vector<CString> deep{Join({"B1_M1_M1_M1_M1_M1_M1_M1_M2_M1_M1", "Deep", "", ""})};
  ASSERT_EQ(1, bar.ReadMenuRecords(&deep));
  const CNavBarItem* item = bar.GetButton(0);
  int levels = 0;
  while (item->GetChildCount() > 0) {
    item = item->GetChild(item->GetChildCount() - 1);
    ++levels;
  }
  EXPECT_EQ(8, levels);
  EXPECT_EQ(CString("Deep"), item->GetText());
  EXPECT_EQ(CString("Default Menu Text"), bar.GetButton(0)->GetChild(0)->GetText());
}

TEST_F(NavBarStrings, SettingsStrings) {
  const CString all = Join({"2", "150", "-7", "12", "3", "11", "22", "33", "44", "1", "1", "6", "40", "3", "55"});
  ASSERT_EQ(1, bar.SetSettingsString(all));
  EXPECT_EQ(all, bar.GetSettingsString());
  EXPECT_EQ(CString("Georgia, Times New Roman, Times, serif"), bar.GetMenuFontFamily());

  // Eight values: colours 0..2 from the string, colour 3 reads as 0; bold, italic and the
  // border colour stay.
  ASSERT_EQ(1, bar.SetSettingsString(Join({"0", "75", "0", "9", "1", "100", "200", "300"})));
  EXPECT_EQ(Join({"0", "75", "0", "9", "1", "100", "200", "300", "0", "1", "1", "0", "0", "0", "55"}),
            bar.GetSettingsString());

  // Seven values or none: only the reset values (direction by orientation).
  bar.SetVertical(false);
  ASSERT_EQ(1, bar.SetSettingsString(Join({"1", "1", "1", "1", "1", "1", "1"})));
  EXPECT_EQ(Join({"0", "0", "0", "10", "0", "100", "200", "300", "0", "1", "1", "0", "0", "0", "55"}),
            bar.GetSettingsString());

  // Values from a file are held to the editor's ranges.
  ASSERT_EQ(1, bar.SetSettingsString(Join({"9", "-5", "0", "500", "12", "-1", "99999999", "x", "0", "7", "0",
                                           "-3", "250", "60", "4294967295"})));
  EXPECT_EQ(Join({"2", "0", "0", "48", "6", "0", "16777215", "0", "0", "1", "0", "0", "100", "5", "16777215"}),
            bar.GetSettingsString());
}

TEST_F(NavBarStrings, MenuFontFamilies) {
  const char* families[] = {"Arial, Helvetica, sans-serif",          "Times New Roman, Times, serif",
                            "Courier New, Courier, mono",            "Georgia, Times New Roman, Times, serif",
                            "Verdana, Arial, Helvetica, sans-serif", "Tahoma, Verdana, Arial, sans-serif",
                            "Trebuchet MS, Arial, sans-serif"};
  for (int i = -1; i <= 7; ++i) {
    bar.SetMenuFont(i);
    EXPECT_EQ(CString(families[i >= 0 && i <= 6 ? i : 0]), bar.GetMenuFontFamily()) << i;
  }
  EXPECT_TRUE(bar.IsSettingUserSet(4));
}

TEST_F(NavBarStrings, MenuColoursDerivedFromTheStates) {
  struct Case {
    const char* name;
    std::vector<COLORREF> faces;  // colour 1 of each state
    COLORREF menu, menuText, highlight, highlightText;
  } cases[] = {
      // White and black are never candidates.
      {"no candidate", {0xFFFFFF, 0, 0xFFFFFF, 0}, 0x000000, 0xFFFFFF, 0x7F7F7F, 0xFFFFFF},
      // Two colours: the darker is the menu background.
      {"two colours", {0x80A0C0, 0x2040C0, 0x2040C0, 0x2040C0}, 0x2040C0, 0xFFFFFF, 0x80A0C0, 0x000000},
      // A dark grey completes a single colour, darkened, and goes first.
      {"dark grey fallback", {0xC0C0C0, 0x402010, 0x402010, 0x402010}, 0x201008, 0xFFFFFF, 0xC0C0C0, 0x000000},
      // One light colour: a darker one is made and put first.
      {"one light colour", {0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0}, 0x606060, 0xFFFFFF, 0xC0C0C0, 0x000000},
  };
  for (const Case& c : cases) {
    for (int s = 0; s < 4; ++s) {
      SetTemplateColours(*bar.GetStateRecord(s), c.faces[s]);
      // Text and edge colours of the fake template are black and grey: keep them out.
      bar.GetStateRecord(s)->SetColourValue(0, 2);
      bar.GetStateRecord(s)->SetColourValue(0xFFFFFF, 3);
    }
    // The graphic holds the current state's style, as it always does.
    bar.GetStateRecord(bar.GetCurrentState())->CopyTo(services.graphic, 0, kChangeAll);
    bar.SetCurrentState(1, 0, 1);
    ASSERT_EQ(1, bar.ChooseMenuColours(0));
    EXPECT_EQ(1, bar.GetCurrentState()) << c.name;
    EXPECT_EQ(c.menu, bar.GetMenuColour(0)) << c.name;
    EXPECT_EQ(c.menuText, bar.GetMenuColour(1)) << c.name;
    EXPECT_EQ(c.highlight, bar.GetMenuColour(2)) << c.name;
    EXPECT_EQ(c.highlightText, bar.GetMenuColour(3)) << c.name;
    EXPECT_EQ(c.highlightText, bar.GetMenuColour(4)) << c.name;
    EXPECT_FALSE(bar.AreMenuColoursUserSet());
  }
  // A bar whose colours differ from the derived ones counts them as chosen.
  bar.SetMenuColour(0, 0x123456);
  bar.MarkSettingsUserSet(1);
  bar.ChooseMenuColours(1);
  EXPECT_TRUE(bar.AreMenuColoursUserSet());
  EXPECT_EQ(0x123456u, bar.GetMenuColour(0));
  EXPECT_EQ(0xFFFFFFu, bar.GetMenuColour(5));
  EXPECT_FALSE(bar.SetMenuColour(5, 0));
}

TEST_F(NavBarStrings, MenuFontFromTheGraphic) {
  services.graphic.SetFont("Arial Black", 0);
  services.graphic.SetFontSize(14.7, 0);
  bar.SetMenuItalic(true);
  bar.SetMenuFont(3);  // the user's choice stays
  ASSERT_EQ(1, bar.TakeMenuFontFromGraphic());
  EXPECT_TRUE(bar.IsMenuBold());
  EXPECT_FALSE(bar.IsMenuItalic());
  EXPECT_EQ(14, bar.GetMenuFontSize());
  EXPECT_EQ(3, bar.GetMenuFontIndex());

  bar.MarkSettingsUserSet(1);
  services.graphic.SetFont("Times New Roman", 0);
  bar.TakeMenuFontFromGraphic();
  EXPECT_EQ(1, bar.GetMenuFontIndex());
  EXPECT_TRUE(bar.IsMenuItalic());
  EXPECT_FALSE(bar.IsMenuBold());

  // A face that is not installed leaves the settings alone.
  services.graphic.SetFont("No Such Face", 0);
  services.graphic.SetFontSize(30, 0);
  bar.TakeMenuFontFromGraphic();
  EXPECT_EQ(14, bar.GetMenuFontSize());
}

}  // namespace
