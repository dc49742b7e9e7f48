// Snippets, new pages and insertion into existing pages.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "util/FileUtils.h"
#include "document/DocumentFiles.h"
#include "navbar/NavBarHTML.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

class NavBarHTML : public ::testing::Test {
 protected:
  std::string Read(const char* name) const {
    std::ifstream in(std::string(DocumentFiles::NativePath(services.Path(name))), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  CFakeNavBarServices services;
};

TEST_F(NavBarHTML, ScriptTagsRelativeOrFileURL) {
  EXPECT_STREQ("<script barwright src=\"js/nav.js\"></script>",
               MakeNavBarScriptTag("C:\\site\\js\\nav.js", "C:\\site\\", "").GetString());
  EXPECT_STREQ("<script barwright src=\"file:///D:/js/nav.js\"></script>"
               "<noscript><img src=\"img/nav.gif\" editor=\"barwright\"></noscript>",
               MakeNavBarScriptTag("D:\\js\\nav.js", "C:\\site\\", "img\\nav.gif").GetString());
  // No page folder (an editor without a document folder): the script's file URL.
  EXPECT_STREQ("<script barwright src=\"file:///C:/js/nav.js\"></script>",
               MakeNavBarScriptTag("C:\\js\\nav.js", "", "").GetString());
}

TEST_F(NavBarHTML, BarIntoPages) {
  CNavBar& bar = services.bar;
  bar.CreateDefaultButtons();
  services.WriteFile("page.php", "<body></body>");
  services.WriteFile("none.htm", "<p>no place</p>");
  services.WriteFile("old.HTML", "<body>\n</body>");
  const struct {
    const char* page;
    bool ok;
    const char* after;  // null: a new page
  } cases[] = {
      {"page.php", true, "<body></body>"},
      {"none.htm", false, "<p>no place</p>"},
      {"old.HTML", true, "<body><script barwright src=\"js/nav.js\"></script>\n\n</body>"},
      {"sub\\new.html", true, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.ok, WriteNavBarIntoPage(bar, services.Path(c.page), services.Path("js\\nav.js"))) << c.page;
    if (c.after) { EXPECT_EQ(c.after, Read(c.page)) << c.page; }
  }
  EXPECT_NE(std::string::npos, Read("sub\\new.html").find("<script barwright src=\"../js/nav.js\"></script>\r\n</body>"));
}

TEST_F(NavBarHTML, MenuTagLoadsTheRuntimeCopiedBesideThePage) {
  services.MakeFolder("SysResources");
  services.MakeFolder("site");
  services.WriteFile("SysResources\\quormenu.js", "// runtime");
  EXPECT_STREQ("<script src=\"quormenu.js\"></script><script barwright src=\"nav.js\"></script>",
               MakeMenuScriptTag(services.Path("site\\nav.js"), services.Path("site\\"), "").GetString());
  EXPECT_EQ("// runtime", Read("site\\quormenu.js"));

  // An editor of kind 2 keeps inserted code only when a script writes the script tags.
  services.editorKind = 2;
  EXPECT_STREQ("<script barwright>document.write('<scr'+'ipt src=\"quormenu.js\">'+'</scr'+'ipt>');"
               "document.write('<scr'+'ipt src=\"it\\'s/nav.js\">'+'</scr'+'ipt>');</script>",
               MakeMenuScriptTag(services.Path("site\\it's\\nav.js"), services.Path("site\\"), "").GetString());
  services.editorKind = 1;
  EXPECT_STREQ("<script src=\"quormenu.js\"></script><script barwright src=\"nav.js\"></script>",
               MakeMenuScriptTag(services.Path("site\\nav.js"), services.Path("site\\"), "").GetString());
}

TEST_F(NavBarHTML, NewPageAroundTheSnippet) {
  services.graphic.SetBackgroundColour(0x00332211);
  ASSERT_TRUE(WriteNewNavBarPage(services.Path("new\\page.html"), "<script barwright src=\"nav.js\"></script>"));
  EXPECT_EQ(
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
      "<title>Barwright produced NavBar</title>\r\n</head>\r\n<body bgcolor=\"#112233\" text=\"BLACK\">\r\n"
      "<script barwright src=\"nav.js\"></script>\r\n</body></html>\r\n",
      Read("new\\page.html"));
}

TEST_F(NavBarHTML, InsertionChangesNothingButTheInsertion) {
  const char snippet[] = "<script barwright src=\"nav.js\"></script>";
  const struct {
    const char* page;
    bool ok;
    const char* after;
  } cases[] = {
      {"<html>\r\n\r\n<BODY BGCOLOR=white>\r\n<p>x</p>\r\n\r\n</body></html>\r\n", true,
       "<html>\r\n\r\n<BODY BGCOLOR=white><script barwright src=\"nav.js\"></script>\r\n\r\n<p>x</p>\r\n\r\n"
       "</body></html>\r\n"},
      {"<html><p>a</p>\n\n</html>\n", true,
       "<html><p>a</p>\n\n<script barwright src=\"nav.js\"></script>\n</html>\n"},
      {"<p>no place</p>", false, "<p>no place</p>"},
      {"<html><body", false, "<html><body"},
      {"</html>", false, "</html>"},
      {"<body><SCRIPT BARWRIGHT SRC=\"NAV.JS\"></SCRIPT></body>", true,
       "<body><SCRIPT BARWRIGHT SRC=\"NAV.JS\"></SCRIPT></body>"},
  };
  for (const auto& c : cases) {
    services.WriteFile("page.htm", c.page);
    EXPECT_EQ(c.ok, InsertSnippetIntoPage(services.Path("page.htm"), snippet)) << c.page;
    EXPECT_EQ(c.after, Read("page.htm")) << c.page;
  }
  // A second insertion finds the first.
  services.WriteFile("page.htm", "<body>\n</body>");
  ASSERT_TRUE(InsertSnippetIntoPage(services.Path("page.htm"), snippet));
  const std::string once = Read("page.htm");
  ASSERT_TRUE(InsertSnippetIntoPage(services.Path("page.htm"), snippet));
  EXPECT_EQ(once, Read("page.htm"));
}

TEST_F(NavBarHTML, MenuSnippetAddsOnlyAMissingRuntime) {
  const char snippet[] = "<script src=\"quormenu.js\"></script><script barwright src=\"nav.js\"></script>";
  const struct {
    const char* page;
    const char* after;
  } cases[] = {
      {"<body>\n<script barwright src=\"nav.js\"></script></body>",
       "<body><script src=\"quormenu.js\"></script>\n\n<script barwright src=\"nav.js\"></script></body>"},
      {"<body><script src=\"quormenu.js\"></script>\n<script barwright src=\"nav.js\"></script></body>",
       "<body><script src=\"quormenu.js\"></script>\n<script barwright src=\"nav.js\"></script></body>"},
  };
  for (const auto& c : cases) {
    services.WriteFile("page.htm", c.page);
    EXPECT_TRUE(InsertSnippetIntoPage(services.Path("page.htm"), snippet));
    EXPECT_EQ(c.after, Read("page.htm"));
  }
}

TEST_F(NavBarHTML, UnicodePagesAreRefusedUntouched) {
  const std::string page("\xFF\xFE<\0b\0o\0d\0y\0>\0", 14);
  services.WriteFile("page.htm", page);
  InsertResult why = InsertResult::kInserted;
  EXPECT_FALSE(InsertSnippetIntoPage(services.Path("page.htm"), "<script></script>", &why));
  EXPECT_EQ(InsertResult::kUnicode, why);
  EXPECT_EQ(page, Read("page.htm"));
}

TEST_F(NavBarHTML, FileNames) {
  EXPECT_STREQ("C:\\x\\nav.gif", MakeOutputPath("C:\\x\\", "nav", 1, "gif").GetString());
  EXPECT_STREQ("nav2.js", MakeOutputPath("", "nav", 2, "js").GetString());
  EXPECT_STREQ("_bottom", GetCapSuffix(1, true).GetString());
  EXPECT_STREQ("_left", GetCapSuffix(0, false).GetString());
  EXPECT_STREQ("_clk", GetStateSuffix(2).GetString());
}

TEST_F(NavBarHTML, PreviewNamesCountFromTheStartAndWrapAround) {
  SetPreviewCounter(0);
  const char* expected[] = {"preview.js", "preview.js", "preview2.js"};
  for (const char* e : expected) {
    CString name = "C:\\x\\Preview.htm", page;
    ASSERT_TRUE(MakeNavBarPreviewPaths(name, page));
    EXPECT_STREQ(e, CFileUtils::GetFileName(name).GetString());
    EXPECT_STREQ((CFileUtils::RemoveExtension(CFileUtils::GetFileName(name)) + ".htm").GetString(),
                 CFileUtils::GetFileName(page).GetString());
    EXPECT_NE(-1, name.Find("\\QBW\\"));
  }
  SetPreviewCounter(100);
  CString name = "Preview.htm", page;
  MakeNavBarPreviewPaths(name, page);
  EXPECT_STREQ("preview100.js", CFileUtils::GetFileName(name).GetString());
  MakeNavBarPreviewPaths(name = "Preview.htm", page);
  EXPECT_STREQ("preview.js", CFileUtils::GetFileName(name).GetString());  // back to 1
  SetPreviewCounter(-1);
}

TEST_F(NavBarHTML, PageList) {
  const std::vector<NavBarPageEntry> list{{"a.html", 1, 0, 1}, {"b.html", 1, 1, 1}};
  EXPECT_TRUE(ContainsPagePath(list, "b.html", -1));
  EXPECT_FALSE(ContainsPagePath(list, "b.html", 1));
  EXPECT_FALSE(ContainsPagePath(list, "B.html", -1));
  EXPECT_FALSE(NavBarPageEntry().IsUserAdded());
  EXPECT_TRUE(list[1].IsUserAdded());
}

}  // namespace
