// The browser preview page: information rows, download times, the page frame.
#include <gtest/gtest.h>

#include <string>

#include "navbar/BrowserPreviewPage.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

std::string ValueOf(const std::string& body, const std::string& label) {
  const std::size_t at = body.find("<font class=\"itemtitle\">" + label + "</font>");
  if (at == std::string::npos) return "(none)";
  const std::string start = "<font class=\"itemvalue\">";
  const std::size_t value = body.find(start, at) + start.size();
  return body.substr(value, body.find("</font>", value) - value);
}

TEST(BrowserPreviewPage, DownloadTimes) {
  const struct {
    int size;
    const char *modem33, *dsl512;
  } cases[] = {{2048, "Less than a second", "Less than a second"}, {200000, "59.2 seconds", "3.8 seconds"}};
  for (const auto& c : cases) {
    const std::string body = CDownloadTimesSection(c.size).WriteBody(0).GetString();
    EXPECT_EQ(c.modem33, ValueOf(body, "33K/s modem")) << c.size;
    EXPECT_EQ(c.dsl512, ValueOf(body, "512K/s DSL")) << c.size;
    EXPECT_NE("(none)", ValueOf(body, "Dual ISDN (128K/s)"));
  }
}

TEST(BrowserPreviewPage, FileInformationLeavesOutWhatDoesNotApply) {
  PreviewInfo gif;
  gif.width = 1;
  gif.height = 20;
  gif.type = "GIF";
  gif.fileSize = 1000;
  PreviewInfo jpeg = gif;
  jpeg.type = "JPEG";
  jpeg.quality = 75;
  jpeg.palette = "Adaptive";
  const std::string g = CFileInfoSection(gif).WriteBody(4).GetString();
  const std::string j = CFileInfoSection(jpeg).WriteBody(4).GetString();
  EXPECT_EQ("1 pixel", ValueOf(g, "Width"));
  EXPECT_EQ("20 pixels", ValueOf(g, "Height"));
  EXPECT_EQ("(none)", ValueOf(g, "Quality"));
  EXPECT_EQ("(none)", ValueOf(g, "Palette"));
  EXPECT_EQ("75%", ValueOf(j, "Quality"));
  EXPECT_EQ("Adaptive", ValueOf(j, "Palette"));
  EXPECT_EQ(0u, g.find("    <tr>\r\n     <td valign=\"top\"><font class=\"itemtitle\">File size</font></td>\r\n"));
}

TEST(BrowserPreviewPage, NavBarPageFrame) {
  CFakeNavBarServices services;
  PreviewInfo info;
  info.fileSize = 10;
  CNavBarPreviewPage page(info, services.Path("preview.htm"), "<script barwright src=\"p.js\"></script>", 0x00FF8000,
                          "");
  const std::string html = page.BuildHTML().GetString();
  EXPECT_EQ(0u, html.find("<html>\r\n <head>\r\n  <title>Quor Bar Wright Browser Preview</title>\r\n </head>\r\n"
                          "\t<style type=\"text/css\">\r\n\t\t<!--\r\n\t\th1 {\r\n\t\t\tfont-family: Verdana;\r\n"));
  const char* lines[] = {
      "  <table class=\"toplevelwithborder\" width=\"100%\" bgColor=\"#0080ff\" background=\"\">\r\n",
      "\r\n    <br/><br/><script barwright src=\"p.js\"></script><br/><br/><br/>\r\n",
      "     <h1>Browser Preview</h1>\r\n",
      "     <table class=\"infotablecontainer\" width=\"100%\" height=\"100%\">\r\n",
      "        <h2>Best download times</h2>\r\n",
      "\r\n </body>\r\n</html>\r\n",
  };
  for (const char* line : lines) EXPECT_NE(std::string::npos, html.find(line)) << line;
  EXPECT_EQ(html.size() - 9, html.rfind("</html>\r\n"));
}

// The page's pictures (the logos of the program root, the exported graphic elsewhere) lie beside
// it and are referred to by name: a browser outside the system follows no drive path.
TEST(BrowserPreviewPage, PicturesLieBesideThePage) {
  CFakeNavBarServices services;
  services.MakeFolder("SysResources");
  services.MakeFolder("SysResources\\Graphics");
  services.WriteFile("SysResources\\Graphics\\BarwrightLogo.png", "logo");
  services.WriteFile("SysResources\\Graphics\\QuorLogo.png", "maker");
  services.MakeFolder("export");
  services.WriteFile("export\\Home button.gif", "GIF89a");
  services.MakeFolder("page");
  PreviewInfo info;
  info.path = services.Path("export\\Home button.gif");
  CGraphicPreviewPage page(info, 0x000000, "", services.Path("page\\Preview.htm"));
  const std::string html = page.BuildHTML().GetString();
  EXPECT_EQ(std::string::npos, html.find("file:")) << html;
  EXPECT_NE(std::string::npos, html.find("<img src=\"BarwrightLogo.png\""));
  EXPECT_NE(std::string::npos, html.find("<img src=\"QuorLogo.png\""));
  EXPECT_NE(std::string::npos, html.find("<img src=\"Home%20button.gif\""));
  for (const char* name : {"page\\BarwrightLogo.png", "page\\QuorLogo.png", "page\\Home button.gif"})
    EXPECT_TRUE(services.Exists(name)) << name;
  // Both information boxes start at the top.
  const std::string box = "<td class=\"infotablecontainer\" width=\"48%\" height=\"100%\" valign=\"top\">";
  const std::size_t first = html.find(box);
  ASSERT_NE(std::string::npos, first);
  EXPECT_NE(std::string::npos, html.find(box, first + 1));
}

}  // namespace
