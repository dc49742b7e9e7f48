// Laying the bar out: bar sizes, item offsets, origins and hit-testing in rows and columns,
// with and without end caps; rendering the bar through the fake preview.
#include <gtest/gtest.h>

#include "bitmap/BitmapServices.h"
#include "bitmap/ExportRecord.h"
#include "bitmap/TessroContextConversion.h"
#include "navbar/NavBarRenderer.h"
#include "raster/Tessro.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

class NavBarLayout : public ::testing::Test {
 protected:
  void SetUp() override { bar.CreateDefaultButtons(); }

  // Buttons with images of the given sizes, each filled with its own value (index + 1).
  void SetButtonImages(const std::vector<std::pair<int, int>>& sizes) {
    std::vector<CString> texts, empty(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) texts.push_back(CString('a', static_cast<int>(i) + 1));
    ASSERT_EQ(1, bar.SetButtons(texts, empty, empty, empty));
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      CNavBarButton* button = bar.GetButton(static_cast<int>(i));
      ASSERT_EQ(0, button->CreateFilled(sizes[i].first, sizes[i].second, static_cast<std::uint32_t>(i + 1)));
      button->SetImageValid(0, true);
    }
  }
  // Composes the bar and answers its size.
  std::pair<int, int> Compose(Bitmap32* image = nullptr) {
    int width = 0, height = 0;
    bar.GetRenderer()->ComputeBarSize(width, height);
    Bitmap32 own;
    Bitmap32& target = image ? *image : own;
    EXPECT_EQ(0, target.CreateFilled(width, height, 0xFF000000u));
    bar.GetRenderer()->ComposeInto(target, width, height);
    return {width, height};
  }
  // The pixel at (x, y) of a bar image, y counted from the top.
  static std::uint32_t At(const Bitmap32& image, int x, int y) {
    return image.Pixels()[(image.Height() - 1 - y) * image.Width() + x];
  }

  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
};

const std::vector<std::pair<int, int>> kThree{{80, 20}, {90, 24}, {70, 20}};

TEST_F(NavBarLayout, RowOfThreeButtons) {
  bar.SetVertical(false);
  bar.SetButtonSpacing(3);
  SetButtonImages(kThree);
  Bitmap32 image;
  EXPECT_EQ(std::make_pair(246, 24), Compose(&image));
  const int xs[] = {0, 83, 176}, ys[] = {2, 0, 2};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ys[i], bar.GetButton(i)->GetYOffset()) << i;
    const POINT origin = bar.GetButtonOrigin(i);
    EXPECT_EQ(xs[i], origin.x) << i;
    EXPECT_EQ(ys[i], origin.y) << i;
    EXPECT_EQ(static_cast<std::uint32_t>(i + 1), At(image, xs[i], ys[i])) << i;
  }
  EXPECT_EQ(0xFF000000u, At(image, 81, 10));  // the spacing stays clear
  EXPECT_EQ(0xFF000000u, At(image, 0, 0));    // above the lower first button

  const struct {
    int x, y, index;
  } hits[] = {{0, 2, 0}, {0, 1, -1}, {79, 21, 0}, {80, 10, -1}, {83, 0, 1}, {172, 23, 1},
              {175, 5, -1}, {176, 2, 2}, {245, 21, 2}, {246, 5, -1}, {10, 22, -1}};
  for (const auto& h : hits) {
    int index = 7;
    RECT rect{1, 1, 1, 1};
    bar.HitTest(POINT{h.x, h.y}, index, rect);
    EXPECT_EQ(h.index, index) << h.x << "," << h.y;
    if (index >= 0) {
      EXPECT_EQ(xs[index], rect.left);
      EXPECT_EQ(ys[index] + kThree[static_cast<std::size_t>(index)].second, rect.bottom);
    } else {
      EXPECT_EQ(0, rect.right - rect.left);
    }
  }
}

TEST_F(NavBarLayout, ColumnOfThreeButtons) {
  bar.SetVertical(true);
  bar.SetButtonSpacing(3);
  SetButtonImages(kThree);
  const struct {
    int sizing, justification;
    int xs[3];
  } cases[] = {
      {1, 2, {10, 0, 20}}, {1, 1, {5, 0, 10}}, {1, 0, {0, 0, 0}}, {0, 2, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    bar.SetSizingMode(c.sizing);
    bar.SetJustification(c.justification);
    for (int i = 0; i < 3; ++i) bar.GetButton(i)->SetImageValid(0, true);
    Bitmap32 image;
    EXPECT_EQ(std::make_pair(90, 70), Compose(&image));
    const int ys[] = {0, 23, 50};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(c.xs[i], bar.GetButton(i)->GetXOffset()) << c.sizing << c.justification << i;
      const POINT origin = bar.GetButtonOrigin(i);
      EXPECT_EQ(c.xs[i], origin.x);
      EXPECT_EQ(ys[i], origin.y);
      EXPECT_EQ(static_cast<std::uint32_t>(i + 1), At(image, c.xs[i], ys[i]));
    }
    int index = -1;
    RECT rect;
    bar.HitTest(POINT{c.xs[2], 69}, index, rect);
    EXPECT_EQ(2, index);
    bar.HitTest(POINT{c.xs[1], 21}, index, rect);
    EXPECT_EQ(-1, index);
  }
  EXPECT_EQ(0, bar.GetButtonOrigin(3).x);
  EXPECT_EQ(std::vector<int>{3645}, services.internalErrors);
}

TEST_F(NavBarLayout, EndCapsTakeRoomBeforeAndAfter) {
  COptions record;
  services.MakeTemplateRecord(record, 0x10);
  for (const char* name : {"E_off.qtw", "E_left.qtw", "E_right.qtw"}) ASSERT_TRUE(record.SaveStyleFile(services.Path(name)));
  CString html;
  html.Format("E%c%u", kNavBarSeparator, 2u | 8u | 0x40u | (3u << 16));
  ASSERT_EQ(1, bar.LoadFromTemplate(html, services.Path("E_off.qtw"), nullptr, CString(), 1, 0));
  ASSERT_TRUE(bar.HasCaps());
  SetButtonImages(kThree);
  bar.GetFirstCap()->CreateFilled(10, 24, 0xA);
  bar.GetSecondCap()->CreateFilled(10, 24, 0xB);

  Bitmap32 image;
  EXPECT_EQ(std::make_pair(272, 24), Compose(&image));
  EXPECT_EQ(0xAu, At(image, 0, 0));
  EXPECT_EQ(0xBu, At(image, 271, 23));
  EXPECT_EQ(1u, At(image, 13, 2));
  EXPECT_EQ(13, bar.GetButtonOrigin(0).x);
  int index = -1;
  RECT rect;
  bar.HitTest(POINT{12, 5}, index, rect);
  EXPECT_EQ(-1, index);
  bar.HitTest(POINT{13, 5}, index, rect);
  EXPECT_EQ(0, index);
  bar.HitTest(POINT{96, 5}, index, rect);
  EXPECT_EQ(1, index);
}

TEST_F(NavBarLayout, LongestTextSetsEveryWidth) {
  bar.SetVertical(false);
  bar.SetSizingMode(0);
  services.graphic.SetConstrainedWidth(55, -1);
  ASSERT_EQ(1, bar.Render(true, 0));
  // The widest text is rendered once to learn its natural width, then every button at it.
  ASSERT_GE(services.renderedTexts.size(), 5u);
  EXPECT_EQ("Your Button Text", services.renderedTexts[0]);
  EXPECT_EQ(5, services.renders);
  const double natural = services.graphic.GetScaledWidth() / services.graphic.GetScale();
  EXPECT_DOUBLE_EQ(natural, services.graphic.GetConstrainedWidth(-1));
  for (int state = 0; state < 4; ++state)
    EXPECT_DOUBLE_EQ(natural, bar.GetStateRecord(state)->GetConstrainedWidth(-1)) << state;

  // Nothing changed: nothing is rendered again; a longer text starts over.
  ASSERT_EQ(1, bar.Render(true, 0));
  EXPECT_EQ(5, services.renders);
  bar.SetButtonText(3, "A much longer text than the others");
  ASSERT_EQ(1, bar.Render(true, 0));
  EXPECT_EQ(10, services.renders);
  EXPECT_EQ("A much longer text than the others", services.renderedTexts[5]);
}

TEST_F(NavBarLayout, CapsRenderFromTheirOwnStyleAndTheGraphicComesBack) {
  COptions record;
  services.MakeTemplateRecord(record, 0x10);
  ASSERT_TRUE(record.SaveStyleFile(services.Path("K_off.qtw")));
  services.MakeTemplateRecord(record, 0x60);
  ASSERT_TRUE(record.SaveStyleFile(services.Path("K_top.qtw")));
  services.MakeTemplateRecord(record, 0x70);
  ASSERT_TRUE(record.SaveStyleFile(services.Path("K_bottom.qtw")));
  CString html;
  html.Format("K%c%u", kNavBarSeparator, 2u | 8u | 0x40u | 0x400u);
  ASSERT_EQ(1, bar.LoadFromTemplate(html, services.Path("K_off.qtw"), nullptr, CString(), 1, 0));
  ASSERT_TRUE(bar.HasCaps());
  bar.SetSizingMode(1);
  ASSERT_EQ(1, bar.Render(true, 0));
  const CNavBarCapButton* first = bar.GetFirstCap();
  const CNavBarCapButton* second = bar.GetSecondCap();
  ASSERT_TRUE(first->Pixels() && second->Pixels());
  const int length = first->GetText().GetLength();
  EXPECT_EQ(FakePixel(0x60, length), first->Pixels()[0]);
  EXPECT_EQ(FakePixel(0x70, length), second->Pixels()[0]);
  // The buttons were rendered in the bar's own style, which the graphic holds again.
  EXPECT_EQ(0x10u, services.graphic.GetColourValue(1));
  EXPECT_EQ(FakePixel(0x10, bar.GetButtonText(1).GetLength()), bar.GetButton(1)->Pixels()[0]);
  EXPECT_EQ(bar.GetFirstCap()->Height() + bar.GetButton(0)->Height() + 20 + 20 + 20 + bar.GetSecondCap()->Height(),
            services.shown.Height());

  // A copy of the bar has its own caps, states and menus.
  bar.GetButton(2)->AppendChild(nullptr)->SetText("Sub");
  CNavBar copy;
  ASSERT_EQ(1, copy.CopyFrom(&bar));
  ASSERT_TRUE(copy.HasCaps());
  EXPECT_NE(bar.GetFirstCap(), copy.GetFirstCap());
  EXPECT_EQ(0x60u, copy.GetFirstCap()->GetRecord().GetColourValue(1));
  EXPECT_EQ(bar.GetButtonCount(), copy.GetButtonCount());
  EXPECT_TRUE(copy.IsVertical());
  EXPECT_EQ(CString("Sub"), copy.GetButton(2)->GetChild(0)->GetText());
  EXPECT_EQ(bar.GetSettingsString(), copy.GetSettingsString());
}

TEST_F(NavBarLayout, WidestText) {
  const struct {
    std::vector<CString> texts;
    int index, width;
  } cases[] = {{{"abc", "xyz", "ab"}, 0, 21}, {{"a", "abcd", "wxyz"}, 1, 28}, {{"", ""}, 0, 0}};
  for (const auto& c : cases) {
    std::vector<CString> empty(c.texts.size());
    bar.SetButtons(c.texts, empty, empty, empty);
    int width = -1;
    EXPECT_EQ(c.index, bar.GetWidestTextButton(width));
    EXPECT_EQ(c.width, width);
  }
  CNavBar none;
  int width = -1;
  EXPECT_EQ(-1, none.GetWidestTextButton(width));
  EXPECT_EQ(0, width);
}

TEST_F(NavBarLayout, RenderingTheBar) {
  bar.SetVertical(false);
  bar.SetSizingMode(1);
  bar.SetButtonSpacing(2);
  bar.SetStateEnabled(0, 1);
  bar.SetStateEnabled(1, 1);
  SetTemplateColours(*bar.GetStateRecord(1), 0x00FF00);
  ASSERT_EQ(1, bar.Render(true, 0));
  // The default buttons at 8 pixels a character: 128 + 40 + 72 + 32 and three gaps.
  EXPECT_EQ(278, services.shown.Width());
  EXPECT_EQ(20, services.shown.Height());
  EXPECT_EQ(278, bar.GetBarWidth());
  const int renders = services.renders;
  ASSERT_EQ(1, bar.Render(true, 0));
  EXPECT_EQ(renders, services.renders);

  // Hovering button 1 renders the Over state of every button once and shows button 1 in it.
  bar.SetHover(1, 1);
  ASSERT_EQ(1, bar.Render(true, 0));
  EXPECT_EQ(renders + 4, services.renders);
  EXPECT_EQ(0, bar.GetCurrentState());
  EXPECT_EQ(FakePixel(0x00FF00, 5), At(services.shown, 130, 0));
  EXPECT_EQ(FakePixel(0x102030, 16), At(services.shown, 0, 0));
  bar.SetHover(-1, 0);
  ASSERT_EQ(1, bar.Render(true, 0));
  EXPECT_EQ(FakePixel(0x102030, 5), At(services.shown, 130, 0));

  while (bar.GetButtonCount() > 0) bar.DeleteButton(0);
  EXPECT_EQ(0, bar.Render(true, 0));
}

// An opaque 24-bit JPEG export of a button.
struct CJpegExport : ExportRecord {
  int GetExportType() const override { return 1; }
  int GetExportBpp() const override { return 24; }
  int GetExportDither() const override { return 0; }
  int GetExportPalette() const override { return 1; }
  int GetGifPaletteSize() const override { return 256; }
  int GetPngPaletteSize() const override { return 256; }
  int GetJpegQuality() const override { return 75; }
  int GetInterlaced() const override { return 0; }
  int GetTransparent() const override { return 0; }
  void SetTransparent(int) override {}
  int GetTransThreshold() const override { return 192; }
  COLORREF GetBackgroundColour() const override { return 0xFFFFFF; }
  int GetGraphicType() const override { return 0; }
  int GetUserBitmapGeneration() const override { return 0; }
  int GetPixelWidth() const override { return 40; }
  int GetPixelHeight() const override { return 20; }
  double GetScale() const override { return 1; }
  void SetScale(double) override {}
  SIZE GetOutputSize() const override { return SIZE{40, 20}; }
  double GetShadowWidthMargin() const override { return 0; }
  double GetScaledWidth() const override { return 40; }
  double GetScaledHeight() const override { return 20; }
  int GetStateCount() const override { return 1; }
  void SelectState(int, int) override {}
  int GetCurrentStateDelay() const override { return 10; }
};

struct CExportServices : BitmapServices {
  ExportRecord* GetOptions() override { return &record; }
  TessroConversion* GetTessroContext() override { return &conversion; }
  CJpegExport record;
  CTessro tessro{CTessro::kAppStackAllowance};
  TessroContextConversion conversion{tessro.GetContext()};
};

TEST_F(NavBarLayout, HoverOverTheExportedBarComposesOnlyTheHoveredButton) {
  CExportServices exportServices;
  SetBitmapServices(&exportServices);
  bar.SetVertical(false);
  bar.SetSizingMode(1);
  bar.SetButtonSpacing(2);
  bar.SetStateEnabled(0, 1);
  bar.SetStateEnabled(1, 1);
  SetTemplateColours(*bar.GetStateRecord(1), 0x00FF00);
  ASSERT_EQ(1, bar.Render(true, 0));  // a 278 x 20 bar
  services.temporaryExport = services.Path("temptwg.jpg");

  bar.SetHover(1, 1);
  ASSERT_EQ(1, bar.GetRenderer()->ShowHoverButton());
  EXPECT_EQ(services.temporaryExport, services.previewImage);
  EXPECT_EQ(1, services.previewFlag);
  // The bar is centred in the 300 x 100 window; button 1 starts 130 pixels in.
  EXPECT_EQ(11 + 130, services.copiedAt.x);
  EXPECT_EQ(40, services.copiedAt.y);
  ASSERT_EQ(40, services.copied.Width());
  EXPECT_EQ(FakePixel(0x00FF00, 5), services.copied.Pixels()[0]);
  EXPECT_EQ(0, bar.GetButton(1)->GetState());
  EXPECT_EQ(0, bar.GetRenderer()->ShowHoverButton());  // the same hover again

  bar.SetCurrentState(1, 1, 1);
  bar.SetHover(2, 1);
  EXPECT_EQ(0, bar.GetRenderer()->ShowHoverButton());
  SetBitmapServices(nullptr);
}

#ifdef _WIN32
TEST(NavBarPlatform, TextIsMeasuredInTheDefaultFont) {
  CNavBarServices platform;
  const int home = platform.MeasureTextWidth("Home");
  EXPECT_GT(home, 0);
  EXPECT_GT(platform.MeasureTextWidth("Home Home"), home);
  EXPECT_EQ(0, platform.MeasureTextWidth(""));
}
#endif

}  // namespace
