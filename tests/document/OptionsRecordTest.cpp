#include <gtest/gtest.h>

#include <string>

#include "document/BackgroundTextureProperty.h"
#include "document/Options.h"
#include "tests/document/FakeOptionsServices.h"

namespace {

TEST(OptionsRecord, NewRecordIsAnEmptyDocument) {
  COptions record;
  EXPECT_EQ(record.GetStoryCount(), 1u);
  EXPECT_EQ(std::string(record.GetStoryText(0)), "Barwright");
  EXPECT_EQ(record.GetGraphicType(), kGraphicEmpty);
  EXPECT_EQ(record.GetExportType(), 1);
  EXPECT_EQ(record.GetTransThreshold(), 192);
  EXPECT_EQ(record.GetJPEGQuality(), 75u);
  EXPECT_FALSE(record.HasTextures());
  EXPECT_FALSE(record.HasTextureList());
  struct {
    const char* name;
    COLORREF value;
    int kind;
  } colours[] = {{"Background", 0xFFFFFF, kColourKindBackground},
                 {"Duotone dark", 0x000000, kColourKindDuotoneDark},
                 {"Duotone light", 0xFFFFFF, kColourKindDuotoneLight},
                 {"Tint", 0x20D0FF, kColourKindTint}};
  ASSERT_EQ(record.GetColourCount(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(std::string(record.GetColourName(i)), colours[i].name);
    EXPECT_EQ(std::string(record.GetColourQuestion(i)), colours[i].name);
    EXPECT_EQ(record.GetColourValue(i), colours[i].value);
    EXPECT_EQ(record.GetColourKind(i), colours[i].kind);
    EXPECT_EQ(record.GetColourKiqIndex(i), -1);
    EXPECT_TRUE(record.IsColourNameShown(i));
  }
  EXPECT_EQ(record.GetBackgroundColour(), 0xFFFFFFu);
}

TEST(OptionsRecord, ResetKeepsATextureListAsOneBackground) {
  COptions record;
  record.SetTextureCount(3);
  record.SetGraphicType(kGraphicButton);
  record.SetStoryText("Changed", 0);
  record.ResetToDefaults();
  EXPECT_EQ(record.GetGraphicType(), kGraphicEmpty);
  EXPECT_EQ(std::string(record.GetStoryText(0)), "Barwright");
  ASSERT_EQ(record.GetNumberOfTextures(), 1u);
  EXPECT_EQ(std::string(record.GetTextureName(0)), "Background");
  EXPECT_EQ(std::string(record.GetTextureFillType(0)), "Flat");
  EXPECT_EQ(std::string(record.GetTextureMatrix(0)), "Matrix A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0");
}

TEST(OptionsRecord, ColourPropertyShowWord) {
  CColourProperty colour;
  colour.SetKind(kColourKindDuotoneDark);
  EXPECT_EQ(colour.GetShowWord(), 13);
  colour.SetShown(0);
  EXPECT_EQ(colour.GetShowWord(), 12);
  EXPECT_EQ(colour.GetKind(), kColourKindDuotoneDark);
}

TEST(OptionsRecord, TextureCopyKeepsItsSlotUnlessAsked) {
  CTextureProperty source;
  source.SetKiqIndex(7);
  source.SetFileName("a.jpg");
  CTextureProperty target;
  target.SetKiqIndex(2);
  target.CopyFrom(source, false);
  EXPECT_EQ(target.GetKiqIndex(), 2);
  EXPECT_EQ(std::string(target.GetFileName()), "a.jpg");
  target.CopyFrom(source, true);
  EXPECT_EQ(target.GetKiqIndex(), 7);
  CBackgroundTextureProperty background;
  EXPECT_EQ(std::string(background.GetFillType()), "Flat");
  EXPECT_EQ(std::string(background.GetQuestion()), "Background");
}

TEST(OptionsRecord, SetColourPropertyGivesKinds) {
  struct {
    int index;
    const char* name;
    const char* question;
    int kind;
  } cases[] = {
      {0, "Anything", "Anything", kColourKindBackground},
      {1, "BMPColourA Texture 1", "Texture 1", kColourKindTexture},
      {2, "BMPColourB Texture 1", "Colour of the bevel", kColourKindOrdinary},
      {3, "Face", "Texture", kColourKindOrdinary},
  };
  COptions record;
  record.SetColourCount(4, true);
  for (const auto& c : cases) {
    record.SetColourProperty(c.index, 1, c.name, c.question, 0, 1, "");
    EXPECT_EQ(record.GetColourKind(c.index), c.kind) << c.name;
  }
  // An index past the end changes nothing and answers neutral values.
  record.SetColourProperty(9, 1, "x", "y", 0, 1, "");
  EXPECT_EQ(record.GetColourValue(9), 0u);
  EXPECT_FALSE(record.SetColourValue(5, 9));
}

TEST(OptionsRecord, StorySettersPastTheEndAreIgnored) {
  COptions record;
  record.SetStoryCount(2);
  record.SetStoryText("one", 1);
  record.SetStoryText("ghost", 5);
  record.SetBold(1, 7);
  EXPECT_EQ(std::string(record.GetStoryText(1)), "one");
  EXPECT_EQ(std::string(record.GetStoryText(5)), "one");  // reads past the end give the last
  EXPECT_EQ(record.GetBold(7), 0);
  EXPECT_EQ(record.GetLongestStoryArray(), 2u);
  // No stories still leaves storage for one.
  record.SetStoryCount(0);
  EXPECT_EQ(record.GetStoryCount(), 0u);
  record.SetStoryText("kept", 0);
  EXPECT_EQ(std::string(record.GetStoryText(0)), "kept");
  // Growing keeps what was there.
  record.SetStoryCount(3);
  EXPECT_EQ(std::string(record.GetStoryText(0)), "kept");
  EXPECT_EQ(record.GetTextPosition(2), -1);
  EXPECT_EQ(record.GetTextAspectRatio(2), 100u);
}

TEST(OptionsRecord, CopyByChangeGroup) {
  CFakeOptionsServices services;
  COptions source;
  source.SetKiqFileName("same.kiq");
  source.SetQTWFile("source.qtw");
  source.SetColourValue(0x111111, 0);
  source.SetColourValue(0x222222, 1);
  source.SetExportType(4);

  // The same template: the template group is already right in the target.
  COptions target;
  target.SetKiqFileName("same.kiq");
  target.SetQTWFile("target.qtw");
  source.CopyTo(target, 0, kChangeTemplate);
  EXPECT_EQ(std::string(target.GetQTWFile()), "target.qtw");

  // Colours leave the background alone unless it is asked for.
  COptions colours;
  source.CopyTo(colours, 0, kChangeColours);
  EXPECT_EQ(colours.GetColourValue(0), 0xFFFFFFu);
  EXPECT_EQ(colours.GetColourValue(1), 0x222222u);
  source.CopyTo(colours, 0, kChangeColours | kChangeBackgroundColour);
  EXPECT_EQ(colours.GetColourValue(0), 0x111111u);
  EXPECT_EQ(colours.GetExportType(), 1);

  COptions exported;
  source.CopyTo(exported, 0, kChangeExport);
  EXPECT_EQ(exported.GetExportType(), 4);

  // Textures: a graphic without any gets its background first; a picture has none.
  COptions picture;
  picture.SetGraphicType(kGraphicPicture);
  COptions pictureTarget;
  picture.CopyTo(pictureTarget, 0, kChangeTextures);
  EXPECT_FALSE(picture.HasTextures());
  EXPECT_FALSE(pictureTarget.HasTextures());
  source.CopyTo(exported, 0, kChangeTextures);
  EXPECT_EQ(source.GetNumberOfTextures(), 1u);
  ASSERT_EQ(exported.GetNumberOfTextures(), 1u);
  EXPECT_EQ(std::string(exported.GetTextureName(0)), "Background");

  // Another template: names, questions and slots come along.
  COptions other;
  other.SetKiqFileName("other.kiq");
  source.SetColourCount(3, true);
  source.SetColourProperty(0, 1, "Background", "Background", 0, 1, "");
  source.SetColourProperty(1, 2, "Text", "Text", 4, 1, "");
  source.SetColourProperty(2, 5, "Face", "Face", 9, 1, "Style");
  source.CopyTo(other, 1, kChangeTemplate | kChangeColours);
  EXPECT_EQ(std::string(other.GetKiqFileName()), "same.kiq");
  EXPECT_EQ(std::string(other.GetColourName(2)), "Face");
  EXPECT_EQ(other.GetColourKiqIndex(2), 9);
  EXPECT_TRUE(other.IsEqual(source, kChangeTemplate | kChangeColours));
}

TEST(OptionsRecord, CopyingTheTemplateLocatesIt) {
  CFakeOptionsServices services;
  services.WriteRootFile("found.kiq", "template");
  COptions source;
  source.SetKiqFileName("found.kiq");
  COptions target;
  EXPECT_TRUE(source.CopyTo(target, 2, kChangeTemplate));
  EXPECT_EQ(std::string(target.GetKiqPath()), std::string(services.RootFile("found.kiq")));
  ASSERT_EQ(services.opened.size(), 1u);

  source.SetKiqFileName("lost.kiq");
  source.SetKiqPath("");
  COptions another;
  EXPECT_FALSE(source.CopyTo(another, 2, kChangeTemplate));
  EXPECT_EQ(services.messages, std::vector<unsigned>{32826});
}

TEST(OptionsRecord, CompareByChangeGroup) {
  COptions a;
  COptions b;
  b.SetExportType(4);
  EXPECT_TRUE(a.IsEqual(b, kChangeExport));  // export settings are compared with the panels
  EXPECT_FALSE(a.IsEqual(b, kChangePanels));

  // A different background image file is never equal, whatever the mask.
  COptions c;
  COptions d;
  c.SetTextureCount(1);
  d.SetTextureCount(1);
  d.SetCurrentTextureString("wood.jpg");
  for (StyleChangeMask mask : {0u, 0x1u, 0x1000u, 0x8000u, 0xFFFFFFFFu})
    EXPECT_FALSE(c.IsEqual(d, mask)) << std::hex << mask;
  EXPECT_TRUE(c.IsEqual(c, kChangeAll));
}

TEST(OptionsRecord, FullCopyIsIndependent) {
  COptions a;
  a.SetColourValue(0x010203, 1);
  COptions b = a;
  b.SetColourValue(0x040506, 1);
  EXPECT_EQ(a.GetColourValue(1), 0x010203u);
  EXPECT_EQ(b.GetColourValue(1), 0x040506u);
}

TEST(OptionsRecord, TextureColoursMatchWholeNames) {
  COptions record;
  record.SetHaveLoadedContoneBitmap(1);
  record.SetTextureCount(13);
  record.SetColourCount(5, true);
  record.SetColourProperty(1, 0x0A, "BMPColourA Texture 12", "Texture 12", 1, 1, "");
  record.SetColourProperty(2, 0x0B, "BMPColourB Texture 12", "Texture 12", 2, 1, "");
  record.SetColourProperty(3, 0x1A, "BMPColourA Texture 2", "Texture 2", 3, 1, "");
  record.SetColourProperty(4, 0x1B, "Color 2 of Texture 2", "Texture 2", 4, 1, "");

  COLORREF a = 0, b = 0;
  EXPECT_FALSE(record.LinkTextureColours(0, &a, &b));  // the background has no linked colours
  EXPECT_FALSE(record.LinkTextureColours(1, &a, &b));  // "Texture 1" is not "Texture 12"
  EXPECT_TRUE(record.LinkTextureColours(2, &a, &b));
  EXPECT_EQ(a, 0x1Au);
  EXPECT_EQ(b, 0x1Bu);
  EXPECT_EQ(record.GetTextureColourAIndex(2), 3);
  EXPECT_EQ(record.GetTextureColourBIndex(2), 4);
  EXPECT_TRUE(record.LinkTextureColours(12, &a, &b));
  EXPECT_EQ(a, 0x0Au);

  COLORREF colour = 0;
  EXPECT_FALSE(record.GetTextureColour(1, colour));
  EXPECT_TRUE(record.GetTextureColour(12, colour));
  EXPECT_EQ(colour, 0x0Au);
  record.SetColourName(3, "color 1 of texture 2");  // the other naming form, any case
  EXPECT_TRUE(record.GetTextureColour(2, colour));
  EXPECT_EQ(colour, 0x1Au);
  EXPECT_FALSE(record.GetTextureColour(13, colour));
}

TEST(OptionsRecord, PanelPreferencesRoundTrip) {
  CFakeOptionsServices services;
  COptions record;
  ASSERT_TRUE(record.LoadDialogPrefs());
  EXPECT_EQ(record.GetColourPanelPref(1), 1);
  EXPECT_EQ(record.GetSizeSliderPref(), 1);
  record.SetColourPanelPref(1, 0);
  record.SetShadowDlgPref(0);
  record.SetExportDlgPref(1);
  ASSERT_TRUE(record.SaveDialogPrefs());
  COptions other;
  ASSERT_TRUE(other.LoadDialogPrefs());
  EXPECT_EQ(other.GetColourPanelPref(1), 0);
  EXPECT_EQ(other.GetShadowDlgPref(), 0);
  EXPECT_EQ(other.GetExportDlgPref(), 1);
  EXPECT_EQ(services.preferences.at("ColourModel"), 0u);

  record.SetExportPathNameExt("C:\\out\\button.gif");
  EXPECT_EQ(services.preferenceStrings.at("ExportPathNameExt"), "C:\\out\\button.gif");

  services.preferencesOpen = false;
  EXPECT_FALSE(record.LoadDialogPrefs());
  EXPECT_FALSE(record.SaveDialogPrefs());
  EXPECT_EQ(services.internalErrors, 2);
}

#ifdef _WIN32
// The program's own preferences live in the registry under its Options key.
TEST(OptionsRecord, PreferencesAreKeptInTheRegistry) {
  COptionsServices registry;
  ASSERT_TRUE(registry.OpenPreferences());
  ASSERT_TRUE(registry.WritePreference("SizeSlider", 7));
  DWORD value = 0;
  ASSERT_TRUE(registry.ReadPreference("SizeSlider", value));
  EXPECT_EQ(value, 7u);
  EXPECT_FALSE(registry.ReadPreference("NoSuchPreferenceValue", value));
  EXPECT_TRUE(registry.WritePreference("SizeSlider", 1));
}
#endif

}  // namespace
