// The result file for an HTML editor: its three lines byte for byte and the rules of each value.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "document/DocumentFiles.h"
#include "navbar/EditorResult.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

TEST(EditorResult, SnippetIdentifiers) {
  const struct {
    const char *style, *id;
  } cases[] = {{"C:\\Sites\\Menus (Project)\\Home.qtw", "Menus (Project)\\Home.qtw"},
               {"C:\\a\\b.qtw", "a\\b.qtw"},
               {"a\\b.qtw", "a\\b.qtw"},
               {"b.qtw", "\\b.qtw"},
               {"", "\\"}};
  for (const auto& c : cases) EXPECT_STREQ(c.id, MakeSnippetID(c.style).GetString()) << c.style;
}

TEST(EditorResult, ImageURLs) {
  struct Case {
    const char *image, *docFolder, *url;
  } cases[] = {
      {"C:\\Sites\\nav.gif", "", "file:///C:/Sites/nav.gif"},
      {"C:\\site\\images\\b.gif", "C:\\site", "images/b.gif"},
      {"C:\\site\\art\\b.gif", "C:\\site\\pages\\", "../art/b.gif"},
      {"D:\\b.gif", "C:\\site", "file:///D:/b.gif"},
      // What a URL cannot carry as it stands is percent-encoded, the rest kept.
      {"C:\\My Site\\50% #1?\"x\"\\a&b(c)\xE9.gif", "", "file:///C:/My%20Site/50%25%20%231%3F%22x%22/a&b(c)%E9.gif"},
      {"\\\\server\\share\\a b.gif", "", "file://server/share/a%20b.gif"},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.url, MakeEditorImageURL(c.image, c.docFolder).GetString()) << c.image;
}

class EditorResultFile : public ::testing::Test {
 protected:
  std::string Read() const {
    std::ifstream in(std::string(DocumentFiles::NativePath(services.Path("result.txt"))), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  EditorResultRequest Request() const {
    EditorResultRequest r;
    r.hostedByEditor = true;
    r.resultPath = services.Path("result.txt");
    r.imagePath = "C:\\Sites\\nav.gif";
    r.stylePath = "C:\\a\\b.qtw";
    return r;
  }
  CFakeNavBarServices services;
};

TEST_F(EditorResultFile, ThreeLinesReplaceWhatWasThere) {
  services.WriteFile("result.txt", std::string(400, 'x'));
  EditorResultRequest request = Request();
  request.editorKind = 1;
  request.tickCount = 0xBEEF;
  ASSERT_TRUE(WriteEditorResult(request));
  const std::string preview = "<img src=\"file:///C:/Sites/nav.gif?0000BEEF\" editor=\"barwright\" border=\"0\">";
  EXPECT_EQ("SnippetID=\"a\\b.qtw\"\nPreviewHTML=\"" + preview + "\"\nLiveHTML=\"" + preview + "\"\n", Read());
}

TEST_F(EditorResultFile, NavBarGetsItsSnippet) {
  services.WriteFile("result.txt", "");
  EditorResultRequest request = Request();
  request.imagePath = "C:\\site\\img\\My Bar.gif";
  request.docFolder = "C:\\site";
  request.navBar = &services.bar;
  ASSERT_TRUE(WriteEditorResult(request));
  EXPECT_NE(std::string::npos,
            Read().find("LiveHTML=\"<script barwright src=\"img/my_bar.js\"></script><noscript><img "
                        "src=\"img/My Bar.gif\" editor=\"barwright\"></noscript>\"\n"));
}

TEST_F(EditorResultFile, NothingWithoutEverythingItNeeds) {
  EditorResultRequest missing = Request();  // the result file does not exist
  EditorResultRequest notHosted = Request();
  notHosted.hostedByEditor = false;
  EditorResultRequest noImage = Request();
  noImage.imagePath = "";
  EXPECT_FALSE(WriteEditorResult(missing));
  EXPECT_FALSE(services.Exists("result.txt"));
  services.WriteFile("result.txt", "keep");
  for (const EditorResultRequest& r : {notHosted, noImage}) EXPECT_FALSE(WriteEditorResult(r));
  EXPECT_EQ("keep", Read());
}

}  // namespace
