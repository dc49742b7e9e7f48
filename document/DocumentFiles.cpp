#include "document/DocumentFiles.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "framework/core/WinTypes.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace DocumentFiles {

CString NativePath(const CString& path) {
#ifdef _WIN32
  return path;
#else
  CString native = path;
  native.Replace('\\', '/');
  return native;
#endif
}

namespace {

fs::path ToFsPath(const CString& path) {
  return fs::path(std::string(static_cast<LPCTSTR>(NativePath(path)), path.GetLength()));
}

CString FromFsPath(const fs::path& path) {
  std::string text = path.string();
#ifndef _WIN32
  for (char& c : text)
    if (c == '/') c = '\\';
#endif
  return CString(text.c_str(), static_cast<int>(text.size()));
}

bool EndsWithNoCase(const CString& text, const CString& suffix) {
  if (suffix.GetLength() > text.GetLength()) return false;
  return text.Right(suffix.GetLength()).CompareNoCase(suffix) == 0;
}

}  // namespace

bool FileExists(const CString& path) {
  if (path.IsEmpty()) return false;
  std::error_code error;
  return fs::is_regular_file(ToFsPath(path), error);
}

bool FolderExists(const CString& path) {
  if (path.IsEmpty()) return false;
  std::error_code error;
  return fs::is_directory(ToFsPath(path), error);
}

CString GetFolder(const CString& path) {
  CString trimmed = path;
  trimmed.TrimRight('\\');
  int slash = trimmed.ReverseFind('\\');
  return slash >= 0 ? trimmed.Left(slash + 1) : path;
}

CString GetFileName(const CString& path) {
  int slash = path.ReverseFind('\\');
  return slash >= 0 ? path.Mid(slash + 1) : path;
}

CString GetFileTitle(const CString& path) {
  CString name = GetFileName(path);
  int dot = name.ReverseFind('.');
  return dot >= 0 ? name.Left(dot) : name;
}

bool CreateFolderOf(const CString& path) {
  CString folder = path;
  folder.TrimRight('\\');
  int slash = folder.ReverseFind('\\');
  if (slash < 0) return true;  // a bare file name lives in the current folder
  folder = folder.Left(slash);
  if (folder.IsEmpty() || FolderExists(folder)) return true;
  std::error_code error;
  fs::create_directories(ToFsPath(folder), error);
  return FolderExists(folder);
}

bool IsReadOnly(const CString& path) {
#ifdef _WIN32
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
#else
  struct stat status;
  if (stat(NativePath(path), &status) != 0) return false;
  return (status.st_mode & S_IWUSR) == 0;
#endif
}

bool ClearAttributes(const CString& path) {
#ifdef _WIN32
  return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) != 0;
#else
  struct stat status;
  if (stat(NativePath(path), &status) != 0) return false;
  return chmod(NativePath(path), status.st_mode | S_IWUSR) == 0;
#endif
}

void RemoveFile(const CString& path) { std::remove(NativePath(path)); }

CString MakeAbsolutePath(const CString& path, const CString& root) {
  const bool absolute = (path.GetLength() >= 2 && path[1] == ':') || path.Find('\\') == 0;
  if (absolute) return path;
  CString base = root;
  if (!base.IsEmpty() && base[base.GetLength() - 1] != '\\') base += '\\';
  return base + path;
}

CString FindFileRecursive(const CString& folder, const CString& name, const CString& extension,
                          const CString& suffix) {
  if (!FolderExists(folder)) return CString();
  std::error_code error;
  fs::recursive_directory_iterator it(ToFsPath(folder),
                                      fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code statusError;
    if (!it->is_regular_file(statusError)) continue;
    const std::string fileName = it->path().filename().string();
    CString file(fileName.c_str(), static_cast<int>(fileName.size()));
    int dot = file.ReverseFind('.');
    CString title = dot >= 0 ? file.Left(dot) : file;
    CString fileExtension = dot >= 0 ? file.Mid(dot + 1) : CString();
    if (name != "*" && file.CompareNoCase(name) != 0) continue;
    if (!extension.IsEmpty() && fileExtension.CompareNoCase(extension) != 0) continue;
    if (!EndsWithNoCase(title, suffix)) continue;
    return FromFsPath(it->path());
  }
  return CString();
}

}  // namespace DocumentFiles
