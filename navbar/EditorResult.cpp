#include "navbar/EditorResult.h"

#include <cstdio>

#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "util/TextFilters.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarHTML.h"

namespace {

// The graphic type switch of a plain image opened for editing.
constexpr int kImageEditingType = 12;

CString AfterLastBackslash(const CString& text) {
  const int at = text.ReverseFind('\\');
  return at < 0 ? text : text.Mid(at + 1);
}

}  // namespace

CString MakeSnippetID(const CString& stylePath) {
  const int at = stylePath.ReverseFind('\\');
  const CString folder = at < 0 ? CString() : stylePath.Left(at);
  return AfterLastBackslash(folder) + "\\" + AfterLastBackslash(stylePath);
}

CString MakeEditorImageURL(const CString& imagePath, const CString& docFolder) {
  if (docFolder.IsEmpty()) return "file:///" + imagePath;
  const CString relative = CFileUtils::MakeRelativePath(imagePath, CFileUtils::WithBackslash(docFolder));
  return relative.IsEmpty() ? "file:///" + imagePath : relative;
}

CString BuildEditorResultText(const CString& snippetID, const CString& previewHTML, const CString& liveHTML) {
  return "SnippetID=\"" + snippetID + "\"\nPreviewHTML=\"" + previewHTML + "\"\nLiveHTML=\"" + liveHTML + "\"\n";
}

bool WriteEditorResult(const EditorResultRequest& request) {
  if (!request.hostedByEditor || request.resultPath.IsEmpty() || request.imagePath.IsEmpty() ||
      !CFileUtils::FileExists(request.resultPath))
    return false;
  CString imagePath = request.imagePath;
  if (request.hasEditorWindow && !request.commandLineFile.IsEmpty() &&
      !CFileUtils::FolderExists(request.commandLineFile) && request.graphicTypeSwitch == kImageEditingType)
    imagePath = request.commandLineFile;

  const CString imageURL = MakeEditorImageURL(imagePath, request.docFolder);
  CString suffix;
  if (request.editorKind == 1) suffix.Format("?%08X", static_cast<unsigned>(request.tickCount));
  const CString preview =
      "<img src=\"" + CFileUtils::ToForwardSlashes(imageURL) + suffix + "\" editor=\"barwright\" border=\"0\">";
  CString live = preview;
  if (request.navBar) {
    CString base = CFileUtils::RemoveExtension(CFileUtils::GetFileName(imagePath));
    MakeScriptIdentifier(base);
    const CString script = CFileUtils::GetFolder(imagePath) + base + ".js";
    const CString folder = request.docFolder.IsEmpty() ? CString() : CFileUtils::WithBackslash(request.docFolder);
    live = request.navBar->HasMenus() ? MakeMenuScriptTag(script, folder, imageURL + suffix)
                                      : MakeNavBarScriptTag(script, folder, imageURL + suffix);
  }
  const CString text = BuildEditorResultText(MakeSnippetID(request.stylePath), preview, live);

  // The file exists (checked above): opening it for writing empties it, so that nothing of a
  // longer earlier text stays after the three lines.
  std::FILE* file = FileSystem::OpenStream(request.resultPath, "wb");
  if (!file) return false;
  bool ok = std::fwrite(text.GetString(), 1, static_cast<std::size_t>(text.GetLength()), file) ==
            static_cast<std::size_t>(text.GetLength());
  if (std::fclose(file) != 0) ok = false;
  return ok;
}
