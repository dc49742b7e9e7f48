// The bar model: default buttons and page names, links, states, the item tree, the per-state
// image cache, change spreading and the texture-continuity matrix.
#include <gtest/gtest.h>

#include "tests/navbar/FakeNavBarServices.h"

namespace {

class NavBarModel : public ::testing::Test {
 protected:
  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
};

std::vector<CString> Texts(const CNavBar& bar) {
  std::vector<CString> texts;
  for (int i = 0; i < bar.GetButtonCount(); ++i) texts.push_back(bar.GetButtonText(i));
  return texts;
}

void SetButtonCount(CNavBar& bar, int count) {
  std::vector<CString> texts, empty(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) texts.push_back(CString("B") + CString(static_cast<char>('a' + i)));
  std::vector<CString> links(static_cast<std::size_t>(count), CString(kDefaultURL));
  ASSERT_EQ(1, bar.SetButtons(texts, links, empty, empty));
}

TEST_F(NavBarModel, DefaultButtonsAndAddedButtons) {
  EXPECT_EQ(0, bar.GetButtonCount());
  EXPECT_EQ(CString("NavBar Name"), bar.GetName());
  ASSERT_EQ(1, bar.CreateDefaultButtons());
  EXPECT_EQ((std::vector<CString>{"Your Button Text", "Links", "Downloads", "Home"}), Texts(bar));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(CString("(Button Name)"), bar.GetButton(i)->GetAltText(false));
    EXPECT_EQ(bar.GetButtonText(i), bar.GetButton(i)->GetAltText(true));
    EXPECT_TRUE(bar.GetButton(i)->GetURL().IsEmpty());
  }
  ASSERT_TRUE(bar.InsertButton(4, "Added"));
  EXPECT_EQ(CString("(Default URL)"), bar.GetButton(4)->GetURL());
  EXPECT_FALSE(bar.InsertButton(6, "Too far"));
  EXPECT_FALSE(bar.InsertButton(-1, "Too far"));

  ASSERT_TRUE(bar.MoveButton(0, 2));
  EXPECT_EQ((std::vector<CString>{"Links", "Downloads", "Your Button Text", "Home", "Added"}), Texts(bar));
  EXPECT_FALSE(bar.MoveButton(0, 5));
  EXPECT_TRUE(bar.DeleteButton(4));
  EXPECT_FALSE(bar.DeleteButton(4));
  EXPECT_EQ(CString(""), bar.GetButtonText(9));
}

TEST_F(NavBarModel, SetButtonsRefusesUnequalOrEmptyLists) {
  bar.CreateDefaultButtons();
  std::vector<CString> one{"x"}, none;
  EXPECT_EQ(0, bar.SetButtons(one, one, one, none));
  EXPECT_EQ(0, bar.SetButtons(none, none, none, none));
  EXPECT_EQ((std::vector<int>{843, 839}), services.internalErrors);
  EXPECT_EQ(4, bar.GetButtonCount());
}

TEST_F(NavBarModel, DefaultPageNames) {
  // The page names are the bar's script identifier, as every other exported file name.
  struct Case {
    const char* name;
    int buttons;
    int index;
    const char* page;
  } cases[] = {
      {"NavBar Name", 4, 0, "navbar_name.html"}, {"NavBar Name", 4, 2, "navbar_name3.html"},
      {"Bar", 3, 1, "bar2.html"},                {"Bar", 12, 0, "bar.html"},
      {"Bar", 12, 1, "bar02.html"},              {"Bar", 12, 9, "bar10.html"},
      {"2go", 3, 0, "x2go.html"},                {"", 3, 2, "page3.html"},
  };
  for (const Case& c : cases) {
    bar.SetName(c.name);
    SetButtonCount(bar, c.buttons);
    EXPECT_EQ(CString(c.page), bar.GetButtonURL(c.index, false)) << c.name << " " << c.index;
  }
  bar.GetButton(1)->SetURL("links.htm", false);
  EXPECT_EQ(CString("links.htm"), bar.GetButtonURL(1, false));
  EXPECT_EQ(CString("page2.html"), bar.GetButtonURL(1, true));
  bar.GetButton(2)->AppendChild(nullptr);
  EXPECT_EQ(CString(""), bar.GetButtonURL(0, false));
  EXPECT_EQ(CString("links.htm"), bar.GetButtonURL(1, false));
}

TEST_F(NavBarModel, LinksCheckedAgainstTheDefaultPage) {
  bar.SetName("Bar");
  SetButtonCount(bar, 3);
  CNavBarButton* button = bar.GetButton(1);
  button->SetURL("BAR2.html", true);
  EXPECT_EQ(CString("(Default URL)"), button->GetURL());
  button->SetURL("about.htm", true);
  EXPECT_EQ(CString("about.htm"), button->GetURL());
  CNavBarMenuItem* item = button->AppendChild(nullptr);
  EXPECT_EQ(CString("Default Menu Text"), item->GetText());
  item->SetURL("", true);
  EXPECT_TRUE(item->GetURL().IsEmpty());

  std::vector<CString> choices;
  bar.GetURLChoices(button, choices);
  // A bar with menus offers no default page.
  EXPECT_EQ((std::vector<CString>{"about.htm", "(Browse To File)"}), choices);

  EXPECT_FALSE(bar.AddURLChoice("(default url)"));
  EXPECT_FALSE(bar.AddURLChoice(""));
  EXPECT_TRUE(bar.AddURLChoice("ABOUT.HTM"));
  EXPECT_TRUE(bar.AddURLChoice("contact.htm"));
  bar.GetURLChoices(item, choices);
  EXPECT_EQ((std::vector<CString>{"about.htm", "contact.htm", "(Browse To File)"}), choices);
}

TEST_F(NavBarModel, LocalPageLinksAndResolvedPaths) {
  bar.SetName("Bar");
  SetButtonCount(bar, 4);
  bar.GetButton(1)->SetURL("JavaScript:go()", false);
  bar.GetButton(2)->SetURL("http://example.org/", false);
  bar.GetButton(3)->SetURL("pages\\", false);
  EXPECT_TRUE(bar.IsLocalPageLink(0));
  EXPECT_FALSE(bar.IsLocalPageLink(1));
  EXPECT_FALSE(bar.IsLocalPageLink(2));
  EXPECT_TRUE(bar.HasLinkFileName(0));
  EXPECT_FALSE(bar.HasLinkFileName(3));
  EXPECT_EQ(CString("C:\\site\\pages\\a.htm"), CNavBar::ResolveLink("C:\\site\\sub", "..\\pages\\a.htm"));
  EXPECT_EQ(CString("D:\\top\\a.htm"), CNavBar::ResolveLink("D:\\site\\", "\\top\\a.htm"));
}

TEST_F(NavBarModel, LayoutSettingsHeldToTheirRanges) {
  bar.CreateDefaultButtons();
  const struct {
    int given, stored;
  } spacings[] = {{-5, 0}, {0, 0}, {17, 17}, {50, 50}, {80, 50}};
  for (const auto& c : spacings) {
    bar.SetButtonSpacing(c.given);
    EXPECT_EQ(c.stored, bar.GetButtonSpacing()) << c.given;
  }
  bar.SetSizingMode(3);
  EXPECT_EQ(0, bar.GetSizingMode());
  bar.SetJustification(5);
  EXPECT_EQ(1, bar.GetJustification());

  // Manual widths keep the images of the buttons already at the manual width.
  for (int i = 0; i < 4; ++i) {
    bar.GetButton(i)->Create(i == 1 ? 100 : 120, 20);
    bar.GetButton(i)->SetImageValid(0, true);
  }
  services.graphic.SetConstrainedWidth(120.6, -1);
  bar.SetSizingMode(2);
  EXPECT_EQ(2, bar.GetSizingMode());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(i != 1, bar.GetButton(i)->IsImageValid(0)) << i;
}

TEST_F(NavBarModel, MenuTreeOperations) {
  bar.CreateDefaultButtons();
  CNavBarButton* first = bar.GetButton(0);
  CNavBarButton* second = bar.GetButton(1);
  EXPECT_EQ(nullptr, first->InsertChild(nullptr, 1));
  CNavBarMenuItem* a = first->InsertChild(nullptr, 0);
  CNavBarMenuItem* b = first->AppendChild(nullptr);
  CNavBarMenuItem* deep = b->AppendChild(nullptr)->AppendChild(nullptr);
  deep->AppendChild(nullptr);
  ASSERT_TRUE(a && b && deep);
  EXPECT_EQ(first, deep->GetOwningButton());
  EXPECT_EQ(nullptr, a->GetParentItem());
  EXPECT_TRUE(bar.HasMenus());

  // An item three levels down goes with its own children only.
  EXPECT_TRUE(first->RemoveChild(deep, true));
  EXPECT_EQ(1, b->GetChildCount());
  EXPECT_EQ(0, b->GetChild(0)->GetChildCount());
  EXPECT_FALSE(first->RemoveChild(deep, true));

  // Moving a branch to another button moves its subtree's owner too; a branch never moves
  // into itself.
  EXPECT_TRUE(second->MoveChild(b, 0));
  EXPECT_EQ(second, b->GetOwningButton());
  EXPECT_EQ(second, b->GetChild(0)->GetOwningButton());
  EXPECT_EQ(1, first->GetChildCount());
  EXPECT_FALSE(b->GetChild(0)->MoveChild(b, 0));
  EXPECT_EQ(1, second->GetChildCount());

  CNavBarMenuItem separator;
  for (const char* text : {"", "---", "_-_"}) {
    separator.SetText(text);
    EXPECT_TRUE(separator.IsSeparator()) << text;
  }
  separator.SetText("- x -");
  EXPECT_FALSE(separator.IsSeparator());

  bar.ClearMenus();
  EXPECT_FALSE(bar.HasMenus());
}

TEST_F(NavBarModel, RunLengthStateCache) {
  CNavBarButton button;
  const struct {
    const char* name;
    std::vector<std::uint32_t> pixels;
    std::uint32_t words;
  } cases[] = {
      {"one colour", std::vector<std::uint32_t>(12, 0x11223344u), 2},
      {"no two neighbours equal", {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}, 0},
      {"runs", {5, 5, 5, 5, 5, 7, 7, 7, 7, 7, 7, 9}, 6},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(0, button.Create(4, 3));
    std::copy(c.pixels.begin(), c.pixels.end(), button.Pixels());
    ASSERT_EQ(1, button.CacheImage());
    const CStateImage* entry = button.GetCachedImage(0);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(c.words, entry->wordCount) << c.name;
    if (entry->wordCount) {
      std::uint32_t covered = 0;
      for (std::size_t k = 1; k < entry->words.size(); k += 2) covered += entry->words[k];
      EXPECT_EQ(12u, covered) << c.name;
    }
    button.CreateFilled(3, 2, 0);
    ASSERT_EQ(1, button.RestoreImage());
    ASSERT_EQ(4, button.Width());
    EXPECT_EQ(c.pixels, std::vector<std::uint32_t>(button.Pixels(), button.Pixels() + 12)) << c.name;
  }
  EXPECT_EQ(0, CNavBarButton().RestoreImage());
}

TEST_F(NavBarModel, StateSwitchesKeepEachStatesImageAndStyle) {
  bar.CreateDefaultButtons();
  bar.SetStateEnabled(0, 1);
  bar.SetStateEnabled(1, 1);
  SetTemplateColours(*bar.GetStateRecord(0), 0x102030);
  SetTemplateColours(*bar.GetStateRecord(1), 0x00AA00);
  CNavBarButton* button = bar.GetButton(0);
  ASSERT_EQ(1, button->RenderState(0));
  const std::uint32_t offPixel = button->Pixels()[0];

  services.graphic.SetColourValue(0x0000BB, 1);
  EXPECT_EQ(1, bar.SetCurrentState(1, 1, 1));
  // The edited Off style went into its record; the Over style is now the graphic's.
  EXPECT_EQ(0x0000BBu, bar.GetStateRecord(0)->GetColourValue(1));
  EXPECT_EQ(0x00AA00u, services.graphic.GetColourValue(1));
  ASSERT_EQ(1, button->RenderState(0));
  EXPECT_NE(offPixel, button->Pixels()[0]);

  const int renders = services.renders;
  EXPECT_EQ(0, bar.SetCurrentState(0, 1, 1));
  EXPECT_TRUE(button->IsImageValid(0));
  EXPECT_EQ(offPixel, button->Pixels()[0]);
  EXPECT_EQ(1, button->RenderState(0));
  EXPECT_EQ(renders, services.renders);

  EXPECT_EQ(0, bar.SetCurrentState(0, 0, 0));
  EXPECT_EQ(0, bar.SetCurrentState(4, 1, 1));
  EXPECT_TRUE(services.internalErrors.empty());
}

TEST_F(NavBarModel, OverSameAsSelectedLeavesTheStateAsItWas) {
  bar.CreateDefaultButtons();
  for (int state : {0, 1, 3}) bar.SetStateEnabled(state, 1);
  for (int state = 0; state < 4; ++state) {
    SetTemplateColours(*bar.GetStateRecord(state), 0x111111);
  }
  bar.SetCurrentState(2, 1, 1);
  EXPECT_TRUE(bar.IsOverSameAsSelected(0, false));
  EXPECT_EQ(2, bar.GetCurrentState());
  bar.GetStateRecord(3)->SetColourValue(0x444444, 1);
  EXPECT_FALSE(bar.IsOverSameAsSelected(1, true));
  EXPECT_EQ(2, bar.GetCurrentState());
  EXPECT_TRUE(bar.IsOverSameAsSelected(0, false));  // the cached answer
  bar.ResetStateComparisons();
  EXPECT_EQ(0, bar.GetButton(0)->GetStateComparison());
  bar.SetStateEnabled(3, 0);
  EXPECT_FALSE(bar.IsOverSameAsSelected(0, true));
}

TEST_F(NavBarModel, EditsSpreadToTheOtherStatesByChangeGroup) {
  bar.CreateDefaultButtons();
  for (CNavBarButton* button : {bar.GetButton(0), bar.GetButton(1)}) {
    for (int state = 0; state < 4; ++state) button->SetImageValid(state, true);
  }
  services.graphic.SetFont("Georgia", 0);
  bar.OnGraphicChanged(kChangeFonts, 0x04);  // an origin the bar ignores
  EXPECT_NE(CString("Georgia"), bar.GetStateRecord(2)->GetFont(0));
  EXPECT_TRUE(bar.GetButton(0)->IsImageValid(2));

  bar.OnGraphicChanged(kChangeFonts, 0);
  for (int state = 1; state < 4; ++state) EXPECT_EQ(CString("Georgia"), bar.GetStateRecord(state)->GetFont(0));
  for (int state = 0; state < 4; ++state) EXPECT_FALSE(bar.GetButton(1)->IsImageValid(state));

  bar.GetButton(1)->SetImageValid(2, true);
  bar.OnGraphicChanged(kChangeColours, 0);  // one state's colours: only its images go
  EXPECT_TRUE(bar.GetButton(1)->IsImageValid(2));
}

TEST_F(NavBarModel, TextureMatrixPerButton) {
  bar.CreateDefaultButtons();
  bar.SetVertical(false);
  const double widths[] = {2.0, 3.0, 4.0, 5.0};
  for (int i = 0; i < 4; ++i) bar.GetButton(i)->SetDesignSize(widths[i], 1.0);
  services.graphic.SetTextAllignment(0, 0);
  const CString matrix = "Tex A 1.5 B 0.0 C 0.0 D 1.5 E 5 F 7";
  const CString identity = "A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0";
  struct Case {
    int button;
    const char* expected;
  } cases[] = {
      {0, "Matrix A 1.500000 B 0.000000 C 0.000000 D 1.500000 E 5 F 7 X 1"},
      // Left-justified text runs on by the widths of the buttons before.
      {1, "Matrix A 1.500000 B 0.000000 C 0.000000 D 1.500000 E -1495 F 7 X 1"},
      {3, "Matrix A 1.500000 B 0.000000 C 0.000000 D 1.500000 E -6745 F 7 X 1"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CString(c.expected) + identity, bar.ComputeTextureMatrix(matrix, bar.GetButton(c.button)));
  EXPECT_EQ(identity, bar.ComputeTextureMatrix("", bar.GetButton(0)));
  EXPECT_EQ(CString("Matrix A 1.000000 B 0.000000 C 0.000000 D 1.000000 E 0 F 0 X 1#:Fractal 3"),
            bar.ComputeTextureMatrix("x#:Fractal 3", bar.GetButton(0)));

  // A render of a multi-texture button hands the shifted matrix to the engine once and keeps
  // the template's own.
  services.graphic.SetTextureCount(2);
  services.graphic.SetTextureMatrix(1, matrix);
  ASSERT_EQ(1, bar.GetButton(1)->RenderState(0));
  EXPECT_EQ(1, services.textureNotifications);
  EXPECT_EQ(matrix, services.graphic.GetTextureMatrix(1));
}

}  // namespace
