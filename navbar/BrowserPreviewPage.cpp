#include "navbar/BrowserPreviewPage.h"

#include <cstdio>
#include <exception>

#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "navbar/NavBarServices.h"

namespace {

PreviewPageOpener g_opener = nullptr;

// The logos link to these pages.
const char kProductPage[] = "https://www.barwright.example/";
const char kMakerPage[] = "https://www.quor.example/";

const char kStyleSheet[] =
    "\t<style type=\"text/css\">\r\n"
    "\t\t<!--\r\n"
    "\t\th1 {\r\n\t\t\tfont-family: Verdana;\r\n\t\t\tfont-weight: normal;\r\n\t\t\tfont-size: 20pt;\r\n"
    "\t\t\ttext-align: center;\r\n\t\t}\r\n"
    "\t\th2 {\r\n\t\t\tfont-family: Verdana;\r\n\t\t\tfont-weight: bold;\r\n\t\t\tfont-size: 12pt;\r\n"
    "\t\t\tmargin: 0px;\r\n\t\t\ttext-align: center;\r\n\t\t}\r\n"
    "\t\tfont.itemtitle {\r\n\t\t\tfont-family: Verdana;\r\n\t\t\tfont-weight: bold;\r\n\t\t\tfont-size: 10pt;\r\n\t\t}\r\n"
    "\t\tfont.itemvalue {\r\n\t\t\tfont-family: Verdana;\r\n\t\t\tfont-weight: normal;\r\n\t\t\tfont-size: 10pt;\r\n"
    "\t\t}\r\n"
    "\t\ttable.toplevelwithborder {\r\n\t\t\tborder: 1px solid black;\r\n\t\t}\r\n"
    "\t\ttable.infotablecontainer {\r\n\t\t\tborder: 1px solid black;\r\n\t\t\tbackground-color: #d2cfdf;\r\n\t\t}\r\n"
    "\t\ttd.nopadding {\r\n\t\t\tpadding: 0px;\r\n\t\t}\r\n"
    "\t\ttd.infotablecontainer {\r\n\t\t\tpadding: 0px;\r\n\t\t}\r\n"
    "\t\t-->\r\n"
    "\t</style>\r\n";

}  // namespace

void SetPreviewPageOpener(PreviewPageOpener opener) { g_opener = opener; }

CString FormatHTMLColour(COLORREF colour) {
  CString text;
  text.Format("#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  return text;
}

CString MakeFileURL(const CString& path) {
  if (path.IsEmpty()) return CString();
  CString full = path;
  if (!CFileUtils::IsAbsolutePath(full)) full = CFileUtils::WithBackslash(GetNavBarServices().GetRootPath()) + full;
  return CFileUtils::PathToFileURL(full);
}

namespace {

// Copies source to target unless target exists already; true when target is there afterwards.
bool CopyOnce(const CString& source, const CString& target) {
  if (std::FILE* existing = FileSystem::OpenStream(target, "rb")) {
    std::fclose(existing);
    return true;
  }
  std::FILE* in = FileSystem::OpenStream(source, "rb");
  if (!in) return false;
  std::FILE* out = FileSystem::OpenStream(target, "wb");
  bool ok = out != nullptr;
  char buffer[8192];
  std::size_t got = 0;
  while (ok && (got = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = std::fwrite(buffer, 1, got, out) == got;
  ok = ok && !std::ferror(in);
  std::fclose(in);
  if (out && std::fclose(out) != 0) ok = false;
  if (!ok) FileSystem::RemoveFile(target);
  return ok;
}

// The name as a relative URL: blanks and the characters that end a URL part escaped.
CString EscapeName(const CString& name) {
  CString text;
  for (int i = 0; i < name.GetLength(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c <= ' ' || c == '%' || c == '#' || c == '?' || c == '"' || c >= 0x7F) {
      CString escaped;
      escaped.Format("%%%02X", c);
      text += escaped;
    } else {
      text += static_cast<char>(c);
    }
  }
  return text;
}

}  // namespace

CString CBrowserPreviewPage::Picture(const CString& path) const {
  if (path.IsEmpty()) return CString();
  CString full = path;
  if (!CFileUtils::IsAbsolutePath(full)) full = CFileUtils::WithBackslash(GetNavBarServices().GetRootPath()) + full;
  // Beside the page, by name: a browser may run outside the system whose drive paths the
  // program sees, and follows only what is relative to the page.
  const CString name = CFileUtils::GetFileName(full);
  const CString folder = CFileUtils::GetFolder(GetPath());
  if (!folder.IsEmpty() && CopyOnce(full, CFileUtils::WithBackslash(folder) + name)) return EscapeName(name);
  return MakeFileURL(full);
}

CString CBrowserPreviewPage::GetTitle() const { return PreviewString(33245, "Quor Bar Wright Browser Preview"); }

CString CBrowserPreviewPage::GetHeading() const { return PreviewString(33246, "Browser Preview"); }

CString CBrowserPreviewPage::WriteInfo(int n) const {
  return Indent(n, "<table width=\"100%\">") + Indent(n + 1, "<tr>") +
         Indent(n + 2, "<td class=\"infotablecontainer\" width=\"48%\" height=\"100%\" valign=\"top\">") +
         CFileInfoSection(m_info).Write(n + 3) + Indent(n + 2, "</td>") +
         Indent(n + 2, "<td class=\"nopadding\" width=\"4%\"></td>") +
         Indent(n + 2, "<td class=\"infotablecontainer\" width=\"48%\" height=\"100%\" valign=\"top\">") +
         CDownloadTimesSection(m_info.fileSize).Write(n + 3) + Indent(n + 2, "</td>") + Indent(n + 1, "</tr>") +
         Indent(n, "</table>");
}

CString CBrowserPreviewPage::BuildHTML() const {
  CString html = Indent(0, "<html>") + Indent(1, "<head>") + Indent(2, "<title>" + GetTitle() + "</title>") +
                 Indent(1, "</head>") + kStyleSheet +
                 Indent(1, "<body bgcolor=\"#d0d0d0\" topmargin=\"20\" leftmargin=\"30\" rightmargin=\"30\">");
  html += Indent(2, "<table width=\"100%\">") + Indent(3, "<tr>") + Indent(4, "<td class=\"nopadding\" width=\"128\">") +
          Indent(5, CString("<a href=\"") + kProductPage + "\">") +
          Indent(6, "<img src=\"" + Picture("SysResources\\Graphics\\BarwrightLogo.png") +
                        "\" width=\"128\" height=\"48\" border=\"0\" />") +
          Indent(5, "</a>") + Indent(4, "</td>") + Indent(4, "<td width=\"100%\">") +
          Indent(5, "<h1>" + GetHeading() + "</h1>") + Indent(4, "</td>") +
          Indent(4, "<td class=\"nopadding\" width=\"131\">") + Indent(5, CString("<a href=\"") + kMakerPage + "\">") +
          Indent(6, "<img src=\"" + Picture("SysResources\\Graphics\\QuorLogo.png") +
                        "\" width=\"131\" height=\"46\" border=\"0\" />") +
          Indent(5, "</a>") + Indent(4, "</td>") + Indent(3, "</tr>") + Indent(2, "</table>") + Indent(2, "<br />");
  html += Indent(2, "<table class=\"toplevelwithborder\" width=\"100%\" bgColor=\"" + GetBackgroundColour() +
                        "\" background=\"" + GetBackgroundImage() + "\">") +
          Indent(3, "<tr>") + Indent(4, "<td class=\"nopadding\" width=\"100%\" valign=\"center\" align=\"center\">") +
          WriteGraphic(4) + Indent(4, "</td>") + Indent(3, "</tr>") + Indent(2, "</table>");
  html += Indent(2, "<div align=\"center\"><font class=\"itemvalue\">" + GetCaption() + "</font></div>") +
          Indent(2, "<br />");
  html += WriteInfo(2) + Indent(1, "</body>") + Indent(0, "</html>");
  return html;
}

void CBrowserPreviewPage::WriteAndOpen() const {
  const CString path = GetPath();
  std::FILE* file = FileSystem::OpenStream(path, "wb");
  if (!file) return;
  bool ok = false;
  try {
    const CString html = BuildHTML();
    ok = std::fwrite(html.GetString(), 1, static_cast<std::size_t>(html.GetLength()), file) ==
         static_cast<std::size_t>(html.GetLength());
  } catch (const std::exception&) {
    ok = false;
  }
  if (std::fclose(file) != 0) ok = false;
  if (ok && g_opener) g_opener(path);
}

CString CGraphicPreviewPage::WriteGraphic(int indent) const {
  return Indent(indent, "<br/><br/><img src=\"" + Picture(m_info.path) + "\" /><br/><br/><br/>");
}

CString CBackgroundPreviewPage::WriteGraphic(int indent) const {
  return Indent(indent, "<br/><br/><br/><br/><br/><br/><br/><br/><br/><br/>");
}

CString CNavBarPreviewPage::WriteGraphic(int indent) const {
  return Indent(indent, "<br/><br/>" + m_snippet + "<br/><br/><br/>");
}
