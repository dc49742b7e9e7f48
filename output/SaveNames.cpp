#include "output/SaveNames.h"

#include "util/FileUtils.h"

namespace {

// The characters a file name cannot hold anywhere, as the refusal message lists them.
constexpr const char kForbidden[] = "/*?\"<>|";
constexpr const char kProjectSuffix[] = "(Project)";

}  // namespace

SaveNameProblem CheckSaveName(const CString& name) {
  CString trimmed = name;
  trimmed.Trim();
  if (trimmed.IsEmpty()) return SaveNameProblem::kEmpty;
  if (name.FindOneOf(kForbidden) >= 0) return SaveNameProblem::kForbiddenCharacter;
  // A backslash, a drive colon or a parent reference would put the image and the style file
  // somewhere other than the folders the user chose.
  if (name.Find('\\') >= 0 || name.Find(':') >= 0 || name.Find("..") >= 0) return SaveNameProblem::kLeavesFolder;
  return SaveNameProblem::kNone;
}

unsigned SaveNameMessage(SaveNameProblem problem) {
  switch (problem) {
    case SaveNameProblem::kEmpty:
      return kMsgSaveNameEmpty;
    case SaveNameProblem::kForbiddenCharacter:
      return kMsgForbiddenFileCharacters;
    case SaveNameProblem::kLeavesFolder:
      return kMsgSaveNameLeavesFolder;
    case SaveNameProblem::kNone:
      break;
  }
  return 0;
}

CString CutProjectName(const CString& project) {
  const int at = project.Find(kProjectSuffix);
  return at > 0 ? project.Left(at - 1) : project;
}

CString MakeProjectFolderName(const CString& project) {
  return CutProjectName(project) + " " + kProjectSuffix;
}

CString MakeProjectStyleBase(const CString& projectsFolder, const CString& project, const CString& name,
                             bool navBar) {
  CString base = JoinPath(JoinPath(projectsFolder, MakeProjectFolderName(project)), name);
  if (navBar) base += "_off";
  return base;
}

CString JoinPath(const CString& folder, const CString& name) {
  if (folder.IsEmpty()) return name;
  return CFileUtils::WithBackslash(folder) + name;
}

bool IsPathInsideFolder(const CString& path, const CString& folder) {
  if (folder.IsEmpty() || path.IsEmpty()) return false;
  CString inner = CFileUtils::CollapseDotDot(path);
  CString outer = CFileUtils::WithBackslash(CFileUtils::CollapseDotDot(folder));
  if (inner.Find("..") >= 0) return false;  // a parent reference that could not be resolved
  return inner.GetLength() > outer.GetLength() && inner.Left(outer.GetLength()).CompareNoCase(outer) == 0;
}

CString CutPageAnchor(const CString& pagePath) {
  int end = pagePath.GetLength();
  for (int i = pagePath.GetLength() - 1; i >= 0 && pagePath[i] != '.'; --i)
    if (pagePath[i] == '#') end = i;
  return pagePath.Left(end);
}

std::vector<CString> MakeFolderChain(const CString& folder) {
  std::vector<CString> chain;
  CString path = folder;
  while (path.GetLength() > 3 && path.Right(1) == "\\") path = path.Left(path.GetLength() - 1);
  if (path.IsEmpty()) return chain;
  int start;  // where the first folder below the root begins
  if (path.GetLength() >= 2 && path[1] == ':') {
    chain.push_back(path.Left(2) + "\\");
    start = path.GetLength() > 3 ? 3 : path.GetLength();
  } else if (path.Left(2) == "\\\\") {
    // \\server\share is the root of a network path.
    const int server = path.Find('\\', 2);
    const int share = server > 2 ? path.Find('\\', server + 1) : -1;
    if (server < 0) {
      chain.push_back(path);
      return chain;
    }
    chain.push_back(share < 0 ? path : path.Left(share));
    start = share < 0 ? path.GetLength() : share + 1;
  } else {
    chain.push_back(path);
    return chain;
  }
  for (int at = start; at < path.GetLength();) {
    int next = path.Find('\\', at);
    if (next < 0) next = path.GetLength();
    if (next > at) chain.push_back(path.Left(next));
    at = next + 1;
  }
  return chain;
}

CString MakeOverwriteTitle(const CString& proposedPath) {
  const CString title = CFileUtils::RemoveExtension(CFileUtils::GetFileName(proposedPath));
  return title.GetLength() > 12 ? "..." + title.Right(9) : title;
}
