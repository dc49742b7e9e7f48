#include "navbar/NavBarHTML.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"
#include "util/TextFilters.h"
#include "document/Options.h"
#include "document/OptionsServices.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"

namespace {

constexpr unsigned kMsgSnippetFailed = 32953;
constexpr unsigned kMsgPageNotCreated = 32954;
constexpr unsigned kMsgPageNotChanged = 32955;
constexpr unsigned kMsgPageIsUnicode = 32957;

// The preview counter: -1 until the first browser preview.
int g_previewCounter = -1;

const char kRuntimeTag[] = "<script src=\"quormenu.js\"></script>";
// The editor kind whose inserted code must write its script tags from a script.
constexpr int kEditorKindScriptWriter = 2;

CString ScriptSource(const CString& scriptPath, const CString& pageFolder) {
  // Without a page folder there is nothing to be relative to: the script's own file URL.
  const CString relative = pageFolder.IsEmpty() ? CString() : CFileUtils::MakeRelativePath(scriptPath, pageFolder);
  if (relative.IsEmpty()) return "file:///" + CFileUtils::ToForwardSlashes(scriptPath);
  return CFileUtils::ToForwardSlashes(relative);
}

CString NoscriptPart(const CString& noscriptImage) {
  if (noscriptImage.IsEmpty()) return CString();
  return "<noscript><img src=\"" + CFileUtils::ToForwardSlashes(noscriptImage) + "\" editor=\"barwright\"></noscript>";
}

bool WriteAll(std::FILE* file, const char* bytes, std::size_t length) {
  return length == 0 || std::fwrite(bytes, 1, length, file) == length;
}

bool ReadWholeFile(const CString& path, std::string& bytes) {
  std::FILE* in = FileSystem::OpenStream(path, "rb");
  if (!in) return false;
  char block[4096];
  std::size_t count;
  while ((count = std::fread(block, 1, sizeof block, in)) > 0) bytes.append(block, count);
  const bool ok = !std::ferror(in);
  std::fclose(in);
  return ok;
}

bool CopyFileOver(const CString& from, const CString& to) {
  std::FILE* in = FileSystem::OpenStream(from, "rb");
  if (!in) return false;
  if (CFileUtils::FileExists(to)) CFileUtils::ClearAttributes(to);
  std::FILE* out = FileSystem::OpenStream(to, "wb");
  bool ok = out != nullptr;
  char block[4096];
  std::size_t count;
  while (ok && (count = std::fread(block, 1, sizeof block, in)) > 0) ok = WriteAll(out, block, count);
  std::fclose(in);
  if (out && std::fclose(out) != 0) ok = false;
  return ok;
}

}  // namespace

CString GetStateSuffix(int state) {
  static const char* const kSuffixes[] = {"", "_over", "_clk", "_on"};
  return (state >= 0 && state < 4) ? kSuffixes[state] : "";
}

CString GetCapSuffix(int cap, bool vertical) {
  if (vertical) return cap == 0 ? "_top" : "_bottom";
  return cap == 0 ? "_left" : "_right";
}

CString GetExportExtension() {
  COptions* options = GetNavBarServices().GetCurrentOptions();
  return CFileUtils::ExtensionForGraphicType(options ? options->GetExportType() : 0);
}

CString MakeOutputPath(const CString& folder, const CString& name, int number, const CString& extension) {
  CString path;
  if (number < 2)
    path.Format("%s%s.%s", folder.GetString(), name.GetString(), extension.GetString());
  else
    path.Format("%s%s%d.%s", folder.GetString(), name.GetString(), number, extension.GetString());
  return path;
}

CString GetButtonImageName(const CString& baseName, int state, int index) {
  CString name;
  name.Format("%s_b%d%s.%s", baseName.GetString(), index + 1, GetStateSuffix(state).GetString(),
              GetExportExtension().GetString());
  return name;
}

CString GetCapImageName(const CString& baseName, int cap, bool vertical) {
  return baseName + GetCapSuffix(cap, vertical) + "." + GetExportExtension();
}

CString MakeNavBarScriptTag(const CString& scriptPath, const CString& pageFolder, const CString& noscriptImage) {
  CString tag;
  tag.Format("<script barwright src=\"%s\"></script>", ScriptSource(scriptPath, pageFolder).GetString());
  return tag + NoscriptPart(noscriptImage);
}

CString MakeMenuScriptTag(const CString& scriptPath, const CString& pageFolder, const CString& noscriptImage) {
  const CString src = ScriptSource(scriptPath, pageFolder);
  // The runtime goes beside the page, where the tag below looks for it. A failed copy is not
  // reported: an older copy may still serve.
  if (!pageFolder.IsEmpty()) {
    CString runtime = GetNavBarServices().GetRootPath();
    CFileUtils::AddBackslash(runtime);
    CopyFileOver(runtime + "SysResources\\quormenu.js", CFileUtils::WithBackslash(pageFolder) + "quormenu.js");
  }

  CString tag;
  CNavBarServices& services = GetNavBarServices();
  if (services.IsHostedByEditor() && services.GetEditorKind() == kEditorKindScriptWriter) {
    // This editor keeps inserted code only when the scripts are written by a script of the
    // code itself; the tags are split so that no parser sees them early.
    // The source stands in a single-quoted script string (its slashes are already escaped).
    CString quoted;
    for (int i = 0; i < src.GetLength(); ++i) {
      if (src[i] == '\'') quoted += '\\';
      quoted += src[i];
    }
    tag.Format("<script barwright>document.write('<scr'+'ipt src=\"quormenu.js\">'+'</scr'+'ipt>');"
               "document.write('<scr'+'ipt src=\"%s\">'+'</scr'+'ipt>');</script>",
               quoted.GetString());
  } else {
    tag.Format("%s<script barwright src=\"%s\"></script>", kRuntimeTag, src.GetString());
  }
  return tag + NoscriptPart(noscriptImage);
}

CString MakeNavBarBodyTag(const CString& pageFolder) {
  COptions* options = GetNavBarServices().GetCurrentOptions();
  const COLORREF colour = options ? options->GetBackgroundColourRGB() : 0xFFFFFF;
  CString tag;
  // The colour is 0xRRGGBB here, so it reads red first.
  tag.Format("<body bgcolor=\"#%.6x\" text=\"BLACK\"", static_cast<unsigned>(colour & 0xFFFFFF));
  CString texture;
  if (options && options->FindBackgroundTextureFile(texture) && !texture.IsEmpty()) {
    texture = CFileUtils::MakeAbsolutePath(texture);
    const CString extension = CFileUtils::GetExtension(texture);
    const CString copy = MakeOutputPath(pageFolder, "Background", g_previewCounter, extension);
    CopyFileOver(texture, copy);
    CFileUtils::ClearAttributes(copy);
    tag += " background=\"" + MakeOutputPath("", "Background", g_previewCounter, extension) + "\"";
  }
  return tag + ">";
}

bool WriteNewNavBarPage(const CString& pagePath, const CString& snippet) {
  const CString folder = CFileUtils::GetFolder(pagePath);
  CFileUtils::CreateFolder(pagePath, TRUE);  // creates the folders that lead to the page
  std::FILE* file = FileSystem::OpenStream(pagePath, "wb");
  if (!file) return false;
  const CString text = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
                       "<title>Barwright produced NavBar</title>\r\n</head>\r\n" +
                       MakeNavBarBodyTag(folder) + "\r\n" + snippet + "\r\n</body></html>\r\n";
  bool ok = WriteAll(file, text.GetString(), static_cast<std::size_t>(text.GetLength()));
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

bool InsertSnippetIntoPage(const CString& pagePath, const CString& snippet, InsertResult* why) {
  InsertResult dummy;
  InsertResult& result = why ? *why : dummy;
  result = InsertResult::kUnreadable;
  std::string page;
  if (!ReadWholeFile(pagePath, page) || page.empty()) return false;
  // A page in UTF-16 would be corrupted by single-byte text put into it.
  if ((page.size() >= 2 && ((page[0] == '\xFF' && page[1] == '\xFE') || (page[0] == '\xFE' && page[1] == '\xFF'))) ||
      page.find('\0') != std::string::npos) {
    result = InsertResult::kUnicode;
    return false;
  }

  CString insert = snippet;
  result = InsertResult::kInserted;
  if (FindNoCase(CString(snippet).MakeLower(), page.c_str()) >= 0) return true;
  if (snippet.Left(static_cast<int>(std::strlen(kRuntimeTag))) == kRuntimeTag) {
    const CString rest = snippet.Mid(static_cast<int>(std::strlen(kRuntimeTag)));
    const int restAt = FindNoCase(CString(rest).MakeLower(), page.c_str());
    if (!rest.IsEmpty() && restAt >= 0) {
      const int runtimeAt = FindNoCase(CString(kRuntimeTag).MakeLower(), page.c_str());
      if (runtimeAt >= 0 && runtimeAt < restAt) return true;
      insert = kRuntimeTag;
    }
  }

  std::size_t at = std::string::npos;
  const int body = FindNoCase("<body", page.c_str());
  if (body >= 0) {
    const std::size_t close = page.find('>', static_cast<std::size_t>(body));
    if (close == std::string::npos) {
      result = InsertResult::kNoPlace;
      return false;
    }
    at = close + 1;
  } else {
    const int end = FindNoCase("</html>", page.c_str());
    if (end > 0) at = static_cast<std::size_t>(end);
  }
  if (at == std::string::npos) {
    result = InsertResult::kNoPlace;
    return false;
  }

  // The page keeps its own line ends; the snippet takes the page's first one (CR LF when none).
  const std::size_t lf = page.find('\n');
  const char* lineEnd = (lf == std::string::npos || (lf > 0 && page[lf - 1] == '\r')) ? "\r\n" : "\n";
  const std::string text = page.substr(0, at) + insert.GetString() + lineEnd + page.substr(at);

  std::FILE* file = FileSystem::OpenStream(pagePath, "wb");
  if (!file) {
    result = InsertResult::kUnwritable;
    return false;
  }
  bool ok = WriteAll(file, text.data(), text.size());
  if (std::fclose(file) != 0) ok = false;
  if (!ok) result = InsertResult::kUnwritable;
  return ok;
}

bool WriteNavBarIntoPage(CNavBar& bar, const CString& pagePath, const CString& scriptPath) {
  const CString folder = CFileUtils::GetFolder(pagePath);
  const CString snippet =
      bar.HasMenus() ? MakeMenuScriptTag(scriptPath, folder, CString()) : MakeNavBarScriptTag(scriptPath, folder, CString());
  COptionsServices& app = GetOptionsServices();
  if (snippet.IsEmpty()) {
    GetNavBarServices().ReportError(kMsgSnippetFailed);
    return false;
  }
  const CString extension = CFileUtils::GetExtension(pagePath);
  if (extension != "html" && extension != "htm") return true;
  if (!CFileUtils::FileExists(pagePath)) {
    if (WriteNewNavBarPage(pagePath, snippet)) return true;
    app.InformWarningWithPath(kMsgPageNotCreated, pagePath);
    return false;
  }
  InsertResult why;
  if (InsertSnippetIntoPage(pagePath, snippet, &why)) return true;
  app.InformWarningWithPath(why == InsertResult::kUnicode ? kMsgPageIsUnicode : kMsgPageNotChanged, pagePath);
  return false;
}

void SetPreviewCounter(int value) { g_previewCounter = value; }

bool MakeNavBarPreviewPaths(CString& name, CString& pagePath) {
  CString base = CFileUtils::RemoveExtension(CFileUtils::GetFileName(name));
  MakeScriptIdentifier(base);
  if (g_previewCounter < 0) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    g_previewCounter = std::rand() % 100;
  }
  const CString folder = CFileUtils::WithBackslash(CFileUtils::GetSystemTempPath()) + "QBW\\";
  name = MakeOutputPath(folder, base, g_previewCounter, "js");
  pagePath = MakeOutputPath(folder, base, g_previewCounter, "htm");
  CFileUtils::DeleteFolderFiles(folder, FALSE);
  g_previewCounter = g_previewCounter % 100 + 1;
  return true;
}

bool ContainsPagePath(const std::vector<NavBarPageEntry>& list, const CString& path, int count) {
  const std::size_t limit = count < 0 ? list.size() : std::min(list.size(), static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < limit; ++i)
    if (list[i].path == path) return true;
  return false;
}
