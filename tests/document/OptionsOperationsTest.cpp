#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "document/Options.h"
#include "tests/document/FakeOptionsServices.h"

namespace {

TEST(OptionsOperations, SizesAndScale) {
  COptions record;
  record.SetScale(1.5);
  EXPECT_EQ(record.GetPixelWidth(false), 150);
  EXPECT_EQ(record.GetPixelHeight(false), 60);

  COptions capped;
  capped.SetBaseSize(2000, 500, 1);
  EXPECT_EQ(capped.GetBaseWidth(), 1500);
  EXPECT_EQ(capped.GetBaseHeight(), 500);
  capped.SetBaseSize(100, 2000, 2);
  EXPECT_EQ(capped.GetBaseHeight(), 500);
  EXPECT_EQ(capped.GetScale(), 2);
}

TEST(OptionsOperations, ScaleIsNeverZero) {
  COptions record;
  record.SetScale(2);
  record.SetShadowBlurriness(8);
  record.SetScale(0);
  record.SetScaleFromWidth(0);
  record.SetScaleFromHeight(-5);
  record.SetBaseSize(50, 20, 0);  // 0 keeps the scale
  EXPECT_EQ(record.GetScale(), 2);
  EXPECT_EQ(record.GetShadowBlurriness(), 8);
  EXPECT_EQ(record.GetPixelWidth(false), 100);
  record.SetScaleFromWidth(25);
  EXPECT_EQ(record.GetScale(), 0.5);
  EXPECT_EQ(record.GetShadowBlurriness(), 2);  // the blur follows the scale
  EXPECT_TRUE(std::isfinite(record.UnitsToPixels(750)));
  record.SetBaseSize(0, 0, 0);
  record.SetScaleFromWidth(30);
  EXPECT_EQ(record.GetScale(), 1);
}

TEST(OptionsOperations, ShadowOffsetsAreKeptAtScaleOne) {
  COptions record;
  record.SetScale(2);
  record.SetShadowOffset(30, -25);
  int x = 0, y = 0;
  record.GetShadowOffset(x, y);
  EXPECT_EQ(x, 20);
  EXPECT_EQ(y, -20);
  record.SetScale(1);
  EXPECT_EQ(record.GetShadowOffsetX(), 10);
  EXPECT_EQ(record.GetShadowOffsetY(), -10);
}

TEST(OptionsOperations, FontSizes) {
  COptions record;
  record.SetScale(2);
  record.SetFontSize(12, 0);
  EXPECT_EQ(record.GetFontSizeOriginal(0), 6000);
  EXPECT_EQ(record.GetFontSize(0), 12);

  COptions heading;
  heading.SetGraphicType(kGraphic3DHeading);
  heading.SetFontSize(300, 0);
  EXPECT_DOUBLE_EQ(heading.GetScale(), 200.0 / 48);
  EXPECT_DOUBLE_EQ(heading.GetFontSize(0), 200);
}

TEST(OptionsOperations, StoryLineCounts) {
  struct {
    const char* text;
    int lines;
  } cases[] = {
      {"", 0},
      {"a", 1},
      {"a\r\nb", 2},
      {"a\r\n\r\nb", 3},
      {"a\r\n", 1},
      {"a\r\n\r\n", 1},
      {"a\nb", 1},
      {"\r\n\r\na", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(COptions::CountTextLines(c.text), c.lines) << c.text;
}

TEST(OptionsOperations, Thumbnail) {
  struct {
    double width, height, scale, thumbnailScale;
  } cases[] = {{400, 200, 1, 0.3}, {10, 5, 1, 1}, {100, 300, 1, 0.4}, {10000, 10, 0.1, 0.02}};
  for (const auto& c : cases) {
    COptions record;
    record.SetBaseSize(c.width, c.height, c.scale);
    record.FitThumbnail();
    EXPECT_NEAR(record.GetThumbnailScale(), c.thumbnailScale, 1e-9) << c.width << "x" << c.height;
  }
}

TEST(OptionsOperations, StatesCycle) {
  CFakeOptionsServices services;
  COptions record;
  record.SetStateCount(3);
  record.SetStateDelay(1, 25);
  int sequence[4];
  for (int& state : sequence) {
    record.NextState();
    state = record.GetCurrentState();
  }
  EXPECT_EQ(std::vector<int>(sequence, sequence + 4), (std::vector<int>{2, 3, 1, 2}));
  EXPECT_EQ(record.GetCurrentStateDelay(), 25u);
  EXPECT_EQ(record.SelectState(9), 10u);  // out of range
  EXPECT_EQ(record.GetCurrentStateDelay(), 10u);
}

TEST(OptionsOperations, StateConstraintsOutsideTheRecordsAreIgnored) {
  COptions record;
  record.SetConstrainedWidth(5, 0);  // no state records yet
  EXPECT_EQ(record.GetConstrainedWidth(0), 0);
  ASSERT_TRUE(record.SetStateConstraintCount(2));
  record.SetConstrainedWidth(5, 1);
  record.SetConstrainedWidth(7, -1);
  record.SetConstrainedWidth(9, 2);
  EXPECT_EQ(record.GetConstrainedWidth(1), 5);
  EXPECT_EQ(record.GetConstrainedWidth(-1), 7);
  EXPECT_EQ(record.GetConstrainedWidth(2), 0);
}

TEST(OptionsOperations, ShadowShownOnlyWithText) {
  COptions record;
  record.SetShadowOn(1);
  EXPECT_TRUE(record.IsShadowShown());
  record.SetStoryText("", 0);
  EXPECT_FALSE(record.IsShadowShown());
  record.SetHasPositionFlag(1);
  record.SetTextPosition(3, 0);
  EXPECT_TRUE(record.IsShadowShown());
  record.SetGraphicType(kGraphicPicture);
  EXPECT_FALSE(record.IsShadowShown());
}

TEST(OptionsOperations, ColoursByKind) {
  COptions record;
  record.SetBackgroundColour(0x112233);
  EXPECT_EQ(record.GetBackgroundColourRGB(), 0x332211u);
  EXPECT_TRUE(record.SetColourByKind(kColourKindTint, 0x445566, "Tint"));
  EXPECT_EQ(record.GetColourByKind(kColourKindTint), 0x445566u);
  EXPECT_EQ(record.GetColourByKind(kColourKindTexture), 0u);
  record.DeleteColourProperties();
  EXPECT_FALSE(record.SetColourByKind(kColourKindTint, 1, "Tint"));
  EXPECT_EQ(record.GetBackgroundColour(), 0u);
}

TEST(OptionsOperations, TemplateLookupOrder) {
  CFakeOptionsServices services;
  services.WriteRootFile("styles\\near.kiq", "x");
  services.WriteRootFile("elsewhere\\near.kiq", "x");
  services.WriteRootFile("TWTemplates\\deep\\deeper\\only.kiq", "x");
  COptions record;
  record.SetStyleFolder(services.RootFile("styles\\"));
  record.SetKiqPath(services.RootFile("elsewhere\\near.kiq"));
  record.SetKiqFileName("near.kiq");
  CString path;
  ASSERT_TRUE(record.LocateTemplateFile(path));
  EXPECT_EQ(std::string(path), std::string(services.RootFile("styles\\near.kiq")));
  record.SetStyleFolder("");
  ASSERT_TRUE(record.LocateTemplateFile(path));
  EXPECT_EQ(std::string(path), std::string(services.RootFile("elsewhere\\near.kiq")));
  record.SetKiqPath("");
  record.SetKiqFileName("only.kiq");
  ASSERT_TRUE(record.LocateTemplateFile(path));
  EXPECT_EQ(std::string(path), std::string(services.RootFile("TWTemplates\\deep\\deeper\\only.kiq")));
  record.SetKiqFileName("none.kiq");
  EXPECT_FALSE(record.LocateTemplateFile(path));
}

TEST(OptionsOperations, ReplacementTemplateByType) {
  CFakeOptionsServices services;
  services.WriteRootFile("TWTemplates\\Headings\\Blue_heading.qtw", "x");
  services.WriteRootFile("TWTemplates\\Buttons\\Red_button.qtw", "x");
  services.WriteRootFile("TWTemplates\\Buttons\\Red_button.gif", "x");
  struct {
    int type;
    const char* expected;
  } cases[] = {
      {8, "TWTemplates\\Headings\\Blue_heading.qtw"},
      {kGraphicButton, "TWTemplates\\Buttons\\Red_button.qtw"},
      {kGraphicLogo, "SysResources\\Graphics\\NoMatch.qtw"},
      {kGraphicPicture, "SysResources\\Graphics\\NoMatch.qtw"},
  };
  for (const auto& c : cases) {
    COptions record;
    record.SetGraphicType(c.type);
    EXPECT_EQ(std::string(record.FindReplacementTemplate()),
              std::string(services.RootFile(c.expected)))
        << c.type;
  }
}

TEST(OptionsOperations, UserBitmapIsAPrivateCopy) {
  COptions record;
  DWORD pixels[6] = {1, 2, 3, 4, 5, 6};
  const int generation = record.SetUserBitmap(3, 2, pixels);
  EXPECT_GT(generation, 0);
  pixels[0] = 99;
  EXPECT_EQ(record.GetUserBitmapPixels()[0], 1u);
  EXPECT_GT(record.SetUserBitmap(3, 2, pixels), generation);

  record.SetTextureCount(1);
  record.SetTextureProperty(0, "bg.jpg", "background", "Background", 0, "Bitmap", "");
  record.SetCurrentTextureString("bg.jpg");
  EXPECT_EQ(record.SetUserBitmap(0, 0, nullptr), 0);
  EXPECT_EQ(record.GetUserBitmapPixels(), nullptr);
  EXPECT_TRUE(record.GetTextureFileName(0).IsEmpty());
  EXPECT_TRUE(record.GetBackgroundImageFile().IsEmpty());
}

}  // namespace
