#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "document/DocumentFiles.h"
#include "document/Options.h"
#include "tests/document/FakeOptionsServices.h"

namespace {

constexpr StyleChangeMask kAll = kChangeAll;

// A graphic that exercises every kind of line: two stories (one of two lines), a colour that
// drives no engine slot, a background texture and a picture texture, a shadow and odd reals.
COptions MakeFixture(CFakeOptionsServices& services) {
  services.WriteRootFile("Fixture.kiq", "template");
  services.WriteRootFile("Textures\\wood.jpg", "jpeg");
  COptions record;
  record.SetKiqFileName("Fixture.kiq");
  record.SetGraphicType(kGraphicButton);
  record.SetTemplateFlag(0);
  record.SetQTWFile("C:\\Graphics\\fixture.qtw");
  record.SetStoryCount(2);
  record.SetStoryText("Home", 0);
  record.SetStoryText("Line A\r\nLine B", 1);
  record.SetFont("Arial", 0);
  record.SetFont("Verdana Bold", 1);
  record.SetBold(1, 1);
  record.SetTextAspectRatio(90, 1);
  record.SetFontSizeValue(120, 0);
  record.SetFontSizeOriginal(14500, 0);
  record.SetFontSizeOriginal(1500000.0, 1);
  record.SetLetterSpace(-3, 0);
  record.SetTextPosition(2, 1);
  record.SetBaseSize(100, 40, 1.5);
  record.SetPixelSize(150, 60);
  record.SetHaveLoadedContoneBitmap(1);
  record.SetExportType(0);
  record.SetExportBpp(8);
  record.SetGIFPaletteSize(64);
  record.SetTransThreshold(200);
  record.SetExportCheckSum(4000000000u);
  record.SetColourCount(5, true);
  record.SetColourProperty(0, 0xFFFFFF, "Background", "Background", 0, 1, "Background");
  record.SetColourProperty(1, 0x123456, "Face", "Face Colour", 3, 1, "Face");
  record.SetColourProperty(2, 0x00FF00, "BMPColourA Texture 1", "Texture 1", -1, 0, "");
  record.SetColourProperty(3, 0x0000FF, "BMPColourB Texture 1", "Texture 1", 5, 0, "");
  record.SetColourProperty(4, 0x000000, "Duotone dark", "Duotone dark", -1, 1, "Duotone dark");
  record.SetColourKind(4, kColourKindDuotoneDark);
  record.SetTextureCount(2);
  record.SetTextureProperty(0, "", "Background", "Background", 0, "Flat",
                            "Matrix A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0");
  record.SetTextureProperty(1, "Textures\\wood.jpg", "Panel", "Panel texture", 4, "Bitmap",
                            "Matrix A 2.0 B 0.0 C 0.0 D 2.0 E 10 F 20");
  record.SetShadowOn(1);
  record.SetShadowDarkness(0.65f);
  record.SetShadowBlurriness(7.5);
  record.SetShadowOffset(3, -6);
  record.SetShadowTilt(-15);
  record.SetShadowColour(0x404040);
  record.SetBevelType(3);
  record.SetQ3DCornerStyle(2);
  record.SetConstrainedWidth(0.000012345, -1);
  record.SetBrowseDirectory(0, "C:\\Pictures");
  return record;
}

CString SavePath(const CFakeOptionsServices& services) { return services.RootFile("fixture.qtw"); }

std::string GoldenFile() {
  const char* source = std::getenv("BW_SOURCE");
  std::string path = std::string(source ? source : ".") + "/tests/document/golden/fixture.qtw";
  for (char& c : path)
    if (c == '/') c = '\\';
  return ReadWholeFile(CString(path.c_str()));
}

TEST(StyleFile, WritesTheFixtureLineForLine) {
  CFakeOptionsServices services;
  COptions record = MakeFixture(services);
  ASSERT_TRUE(record.SaveStyleFile(SavePath(services), true));
  const std::string golden = GoldenFile();
  ASSERT_FALSE(golden.empty()) << "golden file missing";
  EXPECT_EQ(ReadWholeFile(SavePath(services)), golden);
  EXPECT_EQ(std::string(record.GetStylePath()), std::string(SavePath(services)));
}

TEST(StyleFile, ReadsBackWhatItWrote) {
  CFakeOptionsServices services;
  COptions written = MakeFixture(services);
  ASSERT_TRUE(written.SaveStyleFile(SavePath(services), true));

  COptions read;
  ASSERT_TRUE(read.LoadStyleFile(SavePath(services), kAll, -1, kLoadUserWork));
  EXPECT_EQ(std::string(read.GetKiqPath()), std::string(services.RootFile("Fixture.kiq")));
  ASSERT_EQ(services.opened.size(), 1u);
  // Everything but the template's own path (found on reading) and the file names survives.
  for (StyleChangeMask group :
       {kChangeStories, kChangeFonts, kChangeColours, kChangeTextures, kChangeShadow,
        kChangePanels, kChangeSize, kChangeBevelAnd3D, kChangePicture}) {
    EXPECT_TRUE(read.IsEqual(written, group)) << std::hex << group;
  }
  EXPECT_EQ(std::string(read.GetStoryText(1)), "Line A\r\nLine B");
  EXPECT_EQ(read.GetExportCheckSum(), 4000000000u);
  EXPECT_EQ(read.GetTransThreshold(), 200);
  EXPECT_EQ(read.GetGIFPaletteSize(), 64u);
  EXPECT_EQ(std::string(read.GetTextureFileName(1)), "Textures\\wood.jpg");
  // Values lose their leading blanks.
  EXPECT_EQ(std::string(read.GetTextureMatrix(1)), "Matrix A 2.0 B 0.0 C 0.0 D 2.0 E 10 F 20");
  EXPECT_EQ(std::string(read.GetBrowseDirectory(0)), "C:\\Pictures");
  EXPECT_EQ(std::string(read.GetQTWFile()), "C:\\Graphics\\fixture.qtw");
  EXPECT_GT(read.GetVersion(), 1.2);
  // Linked by name after the read.
  EXPECT_EQ(read.GetTextureColourAIndex(1), 2);
  EXPECT_EQ(read.GetTextureColourBIndex(1), 3);
}

TEST(StyleFile, NothingIsWrittenForAnEmptyDocumentUnlessForced) {
  CFakeOptionsServices services;
  COptions record;
  record.SetKiqFileName("Fixture.kiq");
  EXPECT_TRUE(record.SaveStyleFile(SavePath(services)));
  EXPECT_FALSE(DocumentFiles::FileExists(SavePath(services)));
  EXPECT_TRUE(record.SaveStyleFile(SavePath(services), false, true));
  EXPECT_TRUE(DocumentFiles::FileExists(SavePath(services)));
}

TEST(StyleFile, BrowseFoldersStayOutOfTheFileButInTheRecord) {
  CFakeOptionsServices services;
  COptions record = MakeFixture(services);
  ASSERT_TRUE(record.SaveStyleFile(SavePath(services)));
  EXPECT_EQ(ReadWholeFile(SavePath(services)).find("BrowseDirectory"), std::string::npos);
  EXPECT_EQ(std::string(record.GetBrowseDirectory(0)), "C:\\Pictures");
}

TEST(StyleFile, NavigationBarLinesFollowTheBar) {
  CFakeOptionsServices services;
  COptions record = MakeFixture(services);
  services.navBarMode = true;
  services.hasNavBar = true;
  services.barMenuRecords = {"first", "second"};
  services.barSettings = "settings";
  record.SetGraphicType(kGraphicNavBar);
  record.SetHTML("<a>bar</a>");
  ASSERT_TRUE(record.SaveStyleFile(SavePath(services), true));
  const std::string text = ReadWholeFile(SavePath(services));
  EXPECT_NE(text.find("GraphicType : 7\r\n"), std::string::npos);
  EXPECT_NE(text.find("HTML : <a>bar</a>\r\nMenu : first\r\nMenu : second\r\n"
                      "Menu Properties : settings\r\nImageFolder : X\r\n"),
            std::string::npos);

  // Outside navigation-bar mode a bar is written as a button, without its bar lines.
  services.navBarMode = false;
  ASSERT_TRUE(record.SaveStyleFile(SavePath(services), true));
  const std::string plain = ReadWholeFile(SavePath(services));
  EXPECT_NE(plain.find("GraphicType : 0\r\n"), std::string::npos);
  EXPECT_EQ(plain.find("HTML"), std::string::npos);

  // An empty HTML string writes no bar lines, and reading leaves navigation-bar mode off.
  services.navBarMode = true;
  record.SetHTML("");
  ASSERT_TRUE(record.SaveStyleFile(SavePath(services), true, true));
  const std::string empty = ReadWholeFile(SavePath(services));
  EXPECT_EQ(empty.find("HTML"), std::string::npos);
  EXPECT_EQ(empty.find("Menu"), std::string::npos);
  COptions read;
  ASSERT_TRUE(read.LoadStyleFile(SavePath(services), kAll, -1, kLoadUserWork));
  EXPECT_FALSE(services.navBarMode);
}

// ---------------------------------------------------------------------------------------------
// Writing over files

TEST(StyleFile, ReadOnlyTargetIsOverriddenOnlyInsideTheReadOnlyFolder) {
  namespace fs = std::filesystem;
  struct Case {
    const char* file;
    bool overridden;
  } cases[] = {
      {"RO\\style.qtw", true},
      {"PROJECTS\\style.qtw", false},    // "RO" inside a folder name
      {"Work\\ROstyle.qtw", false},      // "RO" inside the file name
      {"plain\\style.qtw", false},
  };
  for (const Case& c : cases) {
    CFakeOptionsServices services;
    COptions record = MakeFixture(services);
    services.WriteRootFile(c.file, "old");
    const CString path = services.RootFile(c.file);
    fs::permissions(std::string(DocumentFiles::NativePath(path)), fs::perms::owner_write,
                    fs::perm_options::remove);
    ASSERT_TRUE(DocumentFiles::IsReadOnly(path)) << c.file;
    EXPECT_EQ(record.SaveStyleFile(path, true), c.overridden) << c.file;
    EXPECT_EQ(ReadWholeFile(path) != "old", c.overridden) << c.file;
    EXPECT_EQ(services.messages.empty(), c.overridden) << c.file;
  }
}

TEST(StyleFile, AFailedWriteKeepsTheGoodFile) {
  namespace fs = std::filesystem;
  CFakeOptionsServices services;
  COptions record = MakeFixture(services);
  const CString path = SavePath(services);
  services.WriteRootFile("fixture.qtw", "Trimwork\r\ngood\r\n");
  // The temporary file cannot be created: a folder is in its place.
  fs::create_directories(std::string(DocumentFiles::NativePath(path + ".~tmp")));
  EXPECT_FALSE(record.SaveStyleFile(path, true));
  EXPECT_EQ(ReadWholeFile(path), "Trimwork\r\ngood\r\n");
  EXPECT_TRUE(record.GetStylePath().IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Reading

// The start of a valid file that opens the fixture template.
std::string Header() { return "Trimwork\r\nKiqFileName : Fixture.kiq\r\n"; }

struct ReadCase {
  const char* name;
  std::string body;  // the whole file
  StyleChangeMask mask;
  bool succeeds;
  std::vector<unsigned> messages;
  void (*check)(const COptions& record);
};

TEST(StyleFile, ReaderCases) {
  const ReadCase cases[] = {
      {"upper-case header", "TRIMWORK\r\nGraphicType : 4\r\n", kAll, true, {},
       [](const COptions& r) { EXPECT_EQ(r.GetGraphicType(), 4); }},
      {"other header", "barwright\nGraphicType : 4\n", kAll, true, {},
       [](const COptions& r) { EXPECT_EQ(r.GetGraphicType(), 4); }},
      {"header with more", "Trimwork 2\r\nGraphicType : 4\r\n", kAll, false, {10073},
       [](const COptions& r) { EXPECT_EQ(r.GetGraphicType(), kGraphicEmpty); }},
      {"empty file", "", kAll, false, {10073}, nullptr},
      {"colon at the start", Header() + ":\r\n: 5\r\nX: 4\r\n :\r\nGraphicType : 1\r\n", kAll,
       true, {}, [](const COptions& r) { EXPECT_EQ(r.GetGraphicType(), 1); }},
      {"line without colon", Header() + "GraphicType 3\r\nNumberOfStories\r\n", kAll, true, {},
       [](const COptions& r) { EXPECT_EQ(r.GetGraphicType(), kGraphicEmpty); }},
      {"no blank before the colon", Header() + "Bold:1\r\n", kAll, true, {},
       [](const COptions& r) { EXPECT_EQ(r.GetBold(0), 0); }},
      {"byte 0xFF is data", Header() + "Text : caf\xFF\x02" "end\r\nGraphicType : 1\r\n", kAll,
       true, {},
       [](const COptions& r) {
         EXPECT_EQ(std::string(r.GetStoryText(0)), "caf\xFF\nend");
         EXPECT_EQ(r.GetGraphicType(), 1);
       }},
      {"huge colour count", Header() + "NumberOfColours : 4000000000\r\n", kAll, true, {},
       [](const COptions& r) { EXPECT_LE(r.GetColourCount(), 1024u); }},
      {"negative colour count", Header() + "NumberOfColours : -1\r\n", kAll, true, {},
       [](const COptions& r) { EXPECT_LE(r.GetColourCount(), 1024u); }},
      {"huge texture count", Header() + "NumberOfTextures : 99999999\r\n", kAll, true, {},
       [](const COptions& r) { EXPECT_LE(r.GetNumberOfTextures(), 256u); }},
      {"huge story count",
       Header() + "NumberOfStories : 3000000000\r\nText : a\r\nText : b\r\n", kAll, true, {},
       [](const COptions& r) {
         EXPECT_LE(r.GetStoryCount(), 1024u);
         EXPECT_EQ(std::string(r.GetStoryText(1)), "b");
       }},
      {"current texture past the end",
       Header() + "NumberOfTextures : 2\r\nCurrentTextureIndex : 2\r\n", kAll, true, {},
       [](const COptions& r) { EXPECT_FALSE(r.HasTextures()); }},
      {"font group only",
       Header() + "TextAllignment : 2\r\nShadowOn : 1\r\nShadowColour : 255\r\n", kChangeFonts,
       true, {},
       [](const COptions& r) {
         EXPECT_EQ(r.GetTextAllignment(0), 2);
         EXPECT_EQ(r.GetShadowOn(), 0);
       }},
      {"shadow group only",
       Header() + "TextAllignment : 2\r\nShadowOn : 1\r\nShadowColour : 255\r\n", kChangeShadow,
       true, {},
       [](const COptions& r) {
         EXPECT_EQ(r.GetTextAllignment(0), 0);
         EXPECT_EQ(r.GetShadowOn(), 1);
         EXPECT_EQ(r.GetShadowColour(), 0u);  // the colour is in the colour group as well
       }},
      {"all bits of a colour",
       Header() + "NumberOfColours : 1\r\nColProp-Value : 4294967295\r\nColProp-ShowName : 3\r\n"
                  "ColProp-KiqIndex : 4294967295\r\n",
       kAll & ~static_cast<StyleChangeMask>(kChangeKeepBackground), true, {},
       [](const COptions& r) { EXPECT_EQ(r.GetColourValue(0), 0xFFFFFFFFu); }},
      {"question cleaned",
       Header() + "NumberOfColours : 2\r\nColProp-Question : Light source Colour \r\n"
                  "ColProp-KiqIndex : 1\r\nColProp-Question : Text color\r\n",
       kAll, true, {},
       [](const COptions& r) {
         EXPECT_EQ(std::string(r.GetColourQuestion(0)), "Light source 1");
         EXPECT_EQ(std::string(r.GetColourQuestion(1)), "Text");
       }},
      {"missing template", "Trimwork\r\nGraphicType : 4\r\nKiqFileName : Gone.kiq\r\n", kAll,
       false, {32895},
       [](const COptions& r) {
         EXPECT_EQ(r.GetGraphicType(), kGraphicEmpty);
         EXPECT_TRUE(r.GetKiqFileName().IsEmpty());
       }},
      {"missing texture file",
       Header() + "NumberOfTextures : 1\r\nTextureProp-FileName : lost.jpg\r\n", kAll, true,
       {32826}, [](const COptions& r) { EXPECT_TRUE(r.GetTextureFileName(0).IsEmpty()); }},
      {"unknown keys and odd values",
       Header() + "Nonsense : 1\r\nCurrentConstrainedHeight : 7\r\nScale : 0\r\n"
                  "PixelWidth : 0\r\nScale : abc\r\n",
       kAll, true, {},
       [](const COptions& r) {
         EXPECT_EQ(r.GetScale(), 1.0);
         EXPECT_EQ(r.GetPixelWidth(false), 100);
       }},
      {"overlong line", Header() + "Text : " + std::string(2 * 1024 * 1024, 'x') +
                            "\r\nGraphicType : 1\r\n",
       kAll, true, {},
       [](const COptions& r) {
         EXPECT_EQ(std::string(r.GetStoryText(0)), "Barwright");
         EXPECT_EQ(r.GetGraphicType(), 1);
       }},
  };
  for (const ReadCase& c : cases) {
    CFakeOptionsServices services;
    services.WriteRootFile("Fixture.kiq", "template");
    services.WriteRootFile("case.qtw", c.body);
    COptions record;
    EXPECT_EQ(record.LoadStyleFile(services.RootFile("case.qtw"), c.mask, -1, kLoadUserWork),
              c.succeeds)
        << c.name;
    EXPECT_EQ(services.messages, c.messages) << c.name;
    if (c.check) {
      SCOPED_TRACE(c.name);
      c.check(record);
    }
  }
}

TEST(StyleFile, AFailedReadLeavesTheDocumentAndModeAsTheyWere) {
  CFakeOptionsServices services;
  COptions before = MakeFixture(services);
  ASSERT_TRUE(before.SaveStyleFile(SavePath(services), true));
  before.SetHTML("<a>bar</a>");
  COptions record = before;
  services.navBarMode = true;
  services.WriteRootFile("bad.qtw",
                         "Trimwork\r\nNumberOfStories : 1\r\nText : other\r\nScale : 3\r\n"
                         "NumberOfColours : 2\r\nKiqFileName : Gone.kiq\r\n");
  EXPECT_FALSE(record.LoadStyleFile(services.RootFile("bad.qtw"), kAll, -1, kLoadUserWork));
  EXPECT_TRUE(services.navBarMode);
  EXPECT_TRUE(record.IsEqual(before, kAll));
  EXPECT_EQ(std::string(record.GetStoryText(1)), "Line A\r\nLine B");
  EXPECT_EQ(record.GetScale(), 1.5);
  EXPECT_EQ(std::string(record.GetHTML()), "<a>bar</a>");

  // The template manager refusing the template is a failed read as well.
  services.openSucceeds = false;
  EXPECT_FALSE(record.LoadStyleFile(services.RootFile("fixture.qtw"), kAll, -1, kLoadUserWork));
  EXPECT_TRUE(record.IsEqual(before, kAll));
}

TEST(StyleFile, SelectedTextureStopsTheRead) {
  CFakeOptionsServices services;
  services.WriteRootFile("Fixture.kiq", "template");
  services.WriteRootFile("sel.qtw", Header() +
                                        "NumberOfTextures : 2\r\nCurrentTextureIndex : 1\r\n"
                                        "TextureProp-Matrix : first\r\nTextureProp-KiqIndex : 0\r\n"
                                        "TextureProp-Matrix : second\r\nTextureProp-KiqIndex : 1\r\n"
                                        "GraphicType : 4\r\n");
  COptions record;
  ASSERT_TRUE(record.LoadStyleFile(services.RootFile("sel.qtw"), kAll, 1, kLoadPlain));
  EXPECT_EQ(std::string(record.GetTextureMatrix(1)), "second");
  EXPECT_EQ(record.GetGraphicType(), kGraphicEmpty);  // the line after the texture is not read
  EXPECT_NE(std::string(record.GetQTWFile()), std::string(services.RootFile("sel.qtw")));
}

TEST(StyleFile, ApplyingAStyleKeepsTheUsersTexts) {
  CFakeOptionsServices services;
  services.WriteRootFile("Fixture.kiq", "template");
  services.WriteRootFile("style.qtw", Header() +
                                          "GraphicType : 0\r\nNumberOfStories : 1\r\n"
                                          "Text : Template text\r\nFont : Arial\r\n");
  COptions record;
  record.SetGraphicType(kGraphicButton);
  record.SetStoryText("Mine", 0);
  record.SetUserText(true);
  ASSERT_TRUE(record.LoadStyleFile(services.RootFile("style.qtw"), kAll, -1, kLoadTemplateStyle));
  EXPECT_EQ(std::string(record.GetStoryText(0)), "Mine");
  EXPECT_EQ(std::string(record.GetFont(0)), "Arial");
  EXPECT_TRUE(record.HasUserText());

  COptions fresh;
  fresh.SetGraphicType(kGraphicButton);
  ASSERT_TRUE(fresh.LoadStyleFile(services.RootFile("style.qtw"), kAll, -1, kLoadTemplateStyle));
  EXPECT_EQ(std::string(fresh.GetStoryText(0)), "Template text");
  // A template style gets its background texture.
  EXPECT_TRUE(fresh.HasTextures());
  EXPECT_EQ(std::string(fresh.GetTextureName(0)), "Background");
}

TEST(StyleFile, ANewStyleKeepsTheBackgroundColourWhenAsked) {
  CFakeOptionsServices services;
  services.WriteRootFile("Fixture.kiq", "template");
  services.WriteRootFile("style.qtw", Header() +
                                          "NumberOfColours : 1\r\nColProp-Value : 255\r\n"
                                          "ColProp-Name : Background\r\nColProp-ShowName : 3\r\n"
                                          "ColProp-KiqIndex : 0\r\n");
  const StyleChangeMask keep = kChangeAll;
  const StyleChangeMask replace = kChangeAll & ~static_cast<StyleChangeMask>(kChangeKeepBackground);
  struct {
    StyleChangeMask mask;
    int mode;
    COLORREF background;
  } cases[] = {
      {keep, kLoadTemplateStyle, 0x123456},
      {keep, kLoadUserWork, 0x123456},
      {replace, kLoadTemplateStyle, 255},
      {replace, kLoadUserWork, 255},
  };
  for (const auto& c : cases) {
    COptions record;
    record.SetBackgroundColour(0x123456);
    ASSERT_TRUE(record.LoadStyleFile(services.RootFile("style.qtw"), c.mask, -1, c.mode));
    EXPECT_EQ(record.GetBackgroundColour(), c.background) << std::hex << c.mask << " " << c.mode;
  }
}

TEST(StyleFile, ImageFolderMarkerReadsAsEmpty) {
  CFakeOptionsServices services;
  services.WriteRootFile("Fixture.kiq", "template");
  services.WriteRootFile("bar.qtw", Header() + "ImageFolder : X\r\n");
  services.navBarMode = true;
  services.barImageFolder = "old";
  COptions record;
  ASSERT_TRUE(record.LoadStyleFile(services.RootFile("bar.qtw"), kAll, -1, kLoadUserWork));
  EXPECT_TRUE(services.barImageFolder.IsEmpty());
}

TEST(StyleFile, ReadingWithoutAnOperationsManagerFails) {
  CFakeOptionsServices services;
  services.hasManager = false;
  services.WriteRootFile("any.qtw", "Trimwork\r\nGraphicType : 1\r\n");
  COptions record;
  EXPECT_FALSE(record.LoadStyleFile(services.RootFile("any.qtw"), kAll));
  EXPECT_EQ(services.internalErrors, 1);
  EXPECT_FALSE(record.LoadStyleFile(services.RootFile("missing.qtw"), kAll));
}

}  // namespace
