// CAutoGenerateTemplates: the type-file maintenance (check, upgrade, removed state variants,
// graphic type of a template, the generator's list).
#include "gallery/AutoGenerateTemplates.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "util/AppUtilServices.h"
#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"
#include "bitmap/Bitmap32.h"
#include "bitmap/ImageImport.h"
#include "document/Options.h"

#ifdef _WIN32
#include <windows.h>

#include "util/Registry.h"
#include "framework/win/WinApp.h"
#include "framework/win/Wnd.h"
#endif

namespace {

const char kTypeFileName[] = "qtwtypes.twt";
const char kTypeFileBackup[] = "qtwtypesOLD.twt";
const char kUniFileName[] = "Tw.uni";
const char kSizeMark = '\xB6';
const char kLineEnd[] = "\r\n";
constexpr unsigned long kGraphicTypeMask = 0xB0007Ful;
constexpr int kGraphicTypeUnknown = 11;
// The suffixes of a navigation bar's state and side thumbnails, in the order they are tried.
// The library names its clicked state "_clicked": its thumbnail goes with the others.
const char* const kStateVariantSuffixes[] = {"_over", "_on",    "_clicked", "#2",
                                             "#3",    "_right", "_left",    "_bottom", "_top"};

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

void StripLineEnds(CString& line) {
  while (!line.IsEmpty() && (line[0] == '\r' || line[0] == '\n')) line = line.Mid(1);
  while (!line.IsEmpty() && (line[line.GetLength() - 1] == '\r' || line[line.GetLength() - 1] == '\n'))
    line = line.Left(line.GetLength() - 1);
}

// Every sub-folder of a folder (with trailing backslash), in the file system's order.
std::vector<CString> SubFolders(const CString& folder) {
  std::vector<CString> folders;
  CFileFinder finder;
  finder.Start(folder + "*.*");
  CString name;
  BOOL isFolder = FALSE;
  while (finder.Next(name, isFolder))
    if (isFolder && name[0] != '.') folders.push_back(folder + name + "\\");
  finder.Close();
  return folders;
}

bool ReadWholeFile(const CString& path, std::string& text) {
  std::FILE* file = FileSystem::OpenStream(path, "rb");
  if (!file) return false;
  char buffer[4096];
  std::size_t got;
  text.clear();
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool WriteWholeFile(const CString& path, const std::string& text) {
  std::FILE* file = FileSystem::OpenStream(path, "wb");
  if (!file) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

// Keeps the old text as the backup and writes the new one in place. False (the file as it
// was) when the backup cannot be made or the old file cannot be removed.
bool ReplaceTypeFile(const CString& folder, const CString& path, const std::string& text) {
  std::string old;
  if (!ReadWholeFile(path, old)) return false;
  const CString backup = folder + kTypeFileBackup;
  if (!WriteWholeFile(backup, old)) return false;
  if (!FileSystem::RemoveFile(path)) return false;
  return WriteWholeFile(folder + kTypeFileName, text);
}

void SetMainWindowTitle(const CString& text) {
#ifdef _WIN32
  if (CWnd* main = AfxGetMainWnd())
    if (main->m_hWnd) ::SetWindowTextA(main->m_hWnd, text);
#endif
}

}  // namespace

int CAutoGenerateTemplates::GraphicTypeFromFlags(unsigned long flags) {
  switch (flags & kGraphicTypeMask) {
    case 0x1: return 0;
    case 0x2: return 1;
    case 0x4: return 2;
    case 0x8: return 3;
    case 0x10: return 4;
    case 0x20: return 5;
    case 0x40: return 6;
    case 0x100000:
    case 0x200000: return 7;
    case 0x800000: return 10;
    default: return kGraphicTypeUnknown;
  }
}

void CAutoGenerateTemplates::CheckTypeFiles() {
  const CString templates = CFileUtils::WithBackslash(AppUtilServices().GetTemplatesFolder());
  if (templates == "\\") return;
  for (const CString& folder : SubFolders(templates)) UpgradeTypeFile(folder);
  CheckTypeFile(templates, true);
#ifdef _WIN32
  if (HKEY startup = OpenStartupKey(nullptr)) {
    SetRegDWORD(startup, "CheckTWTFiles", 0);
    CloseRegKey(startup);
  }
#endif
}

void CAutoGenerateTemplates::UpgradeTypeFile(const CString& folderIn) {
  const CString folder = CFileUtils::WithBackslash(folderIn);
  const CString path = folder + kTypeFileName;
  CTextFile file;
  if (CFileUtils::FileExists(path) && file.Open(path, CFile::modeRead | CFile::typeText)) {
    bool faulty = false;
    std::string survivors;
    CString line = file.ReadLine();
    const bool versioned = !line.IsEmpty() && line[0] == '#';
    if (versioned) line = file.ReadLine();
    bool expectSize = false;
    for (; StripLineEnds(line), !line.IsEmpty(); line = file.ReadLine()) {
      line.MakeLower();
      if (expectSize) {
        // "\xB6<number>\xB6": the mark first, its only other occurrence last.
        const int second = line.GetLength() > 1 ? line.Mid(1).Find(kSizeMark) + 1 : 0;
        if (line[0] != kSizeMark || second != line.GetLength() - 1) faulty = true;
        expectSize = false;
        continue;
      }
      const int dollar = line.Find('$');
      const int qtw = line.Find(".qtw");
      if (dollar < 0 || qtw < 0) {
        faulty = true;
      } else if (qtw > 0) {
        CString name = line.Mid(dollar + 1);
        const int next = name.Find('$');
        if (next >= 0) name = name.Left(next);
        if (!name.IsEmpty() && CFileUtils::FileExists(folder + name)) {
          survivors += static_cast<const char*>(line);
          survivors += kLineEnd;
        } else {
          faulty = true;
        }
      } else {
        faulty = true;
      }
      if (versioned) expectSize = true;
    }
    file.Close();
    // Without version and size lines the check that follows measures every entry again.
    if (faulty) ReplaceTypeFile(folder, path, survivors);
  }
  for (const CString& sub : SubFolders(folder)) UpgradeTypeFile(sub);
}

void CAutoGenerateTemplates::CheckTypeFile(const CString& folderIn, bool skipThisFolder) {
  const CString folder = CFileUtils::WithBackslash(folderIn);
  CString title;
  title.Format("Checking TWT file for %s", static_cast<const char*>(folder));
  SetMainWindowTitle(title);
  const CString path = folder + kTypeFileName;
  CTextFile file;
  if (!skipThisFolder && CFileUtils::FileExists(path) && file.Open(path, CFile::modeRead | CFile::typeText)) {
    bool changed = false;
    std::string lines = "#1";
    lines += kLineEnd;
    int blanks = 0;
    while (blanks < 2) {
      CString name;
      DWORD flags = 0;
      int size = 0;
      const CString entry = file.ReadEntry(&name, &flags, &size);
      if (entry.IsEmpty()) {
        ++blanks;
        continue;
      }
      blanks = 0;
      if (flags == 0) continue;  // version, group and removed lines
      CString base = name;
      const int dot = base.ReverseFind('.');
      if (dot >= 0) base = base.Left(dot);
      CString thumbnail = folder + base + ".qgt";
      bool photo = false;
      if (!CFileUtils::FileExists(thumbnail)) {
        thumbnail = folder + base + ".jpg";
        photo = true;
      }
      Bitmap32 bitmap;
      if (LoadImage32(&bitmap, thumbnail) < 0 || bitmap.Width() <= 0 || bitmap.Height() <= 0) {
        changed = true;
        continue;
      }
      const int packed = photo ? (kPhotoThumbnailSide << 16 | kPhotoThumbnailSide)
                               : (bitmap.Width() << 16 | bitmap.Height());
      if (packed != size) changed = true;
      CString sizeLine;
      sizeLine.Format("%c%d%c", kSizeMark, packed, kSizeMark);
      lines += static_cast<const char*>(entry);
      lines += kLineEnd;
      lines += static_cast<const char*>(sizeLine);
      lines += kLineEnd;
    }
    file.Close();
    if (changed) ReplaceTypeFile(folder, path, lines);
  }
  for (const CString& sub : SubFolders(folder)) CheckTypeFile(sub, false);
}

void CAutoGenerateTemplates::RemoveStateVariants(const CString& basePath) {
  for (const char* suffix : kStateVariantSuffixes) {
    const CString thumbnail = basePath + suffix + ".qgt";
    if (CFileUtils::FileExists(thumbnail)) FileSystem::RemoveFile(thumbnail);
  }
  const CString folder = CFileUtils::GetFolder(basePath);
  const std::string title = LowerAscii(static_cast<const char*>(CFileUtils::GetFileName(basePath)));
  const CString path = folder + kTypeFileName;
  std::string text;
  if (!CFileUtils::FileExists(path) || !ReadWholeFile(path, text)) return;
  // Only the first lines (up to the read limit, whole lines) are marked; the rest of the file
  // is kept as it was, so that a long file loses nothing.
  std::size_t head = std::min<std::size_t>(text.size(), kStateVariantReadLimit);
  const std::size_t lastLineFeed = text.rfind('\n', head == 0 ? 0 : head - 1);
  head = lastLineFeed == std::string::npos ? 0 : lastLineFeed + 1;
  std::string marked;
  bool changed = false;
  std::size_t start = 0;
  while (start < head) {
    std::size_t end = text.find("\r\n", start);
    end = end == std::string::npos || end + 2 > head ? head : end + 2;
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line[0] != '*') {
      // The titles are lower-cased, the library's entries keep their letter case.
      const std::string lowered = LowerAscii(line);
      for (const char* suffix : kStateVariantSuffixes) {
        const std::size_t at = lowered.find(title + suffix);
        if (at != std::string::npos && at > 0) {
          line.insert(0, 1, '*');
          changed = true;
          break;
        }
      }
    }
    marked += line;
    start = end;
  }
  if (!changed) return;
  marked.append(text, head, std::string::npos);
  WriteWholeFile(path, marked);
}

void CAutoGenerateTemplates::ReadTypeFromTypeFile(const CString& fileName, const CString& folder,
                                                  COptions* record, int* preview) {
  if (!record) return;
  record->SetGraphicType(kGraphicTypeUnknown);
  const CString path = CFileUtils::WithBackslash(folder) + kTypeFileName;
  if (!CFileUtils::FileExists(path)) return;
  CTextFile file;
  if (!file.Open(path, CFile::modeRead | CFile::typeText)) return;
  const CString key = fileName.GetLength() > 4 ? fileName.Left(fileName.GetLength() - 4) : CString();
  for (int blanks = 0; blanks < 2;) {
    CString name;
    DWORD flags = 0;
    if (file.ReadEntry(&name, &flags, nullptr).IsEmpty()) {
      ++blanks;
      continue;
    }
    blanks = 0;
    if (flags == 0 || name.IsEmpty()) continue;
    name.MakeLower();
    bool isPreview = false;
    const int mark = name.Find("$preview");
    if (mark >= 0) {
      name = name.Left(mark);
      isPreview = true;
    }
    const int dot = name.ReverseFind('.');
    if (dot >= 0) name = name.Left(dot);
    if (name.CompareNoCase(key) != 0) continue;
    // Only the template's own entry says whether it is a preview entry.
    if (isPreview && preview) *preview = 1;
    record->SetGraphicType(GraphicTypeFromFlags(flags));
    break;
  }
  file.Close();
}

void CAutoGenerateTemplates::AppendUniLines(const CString& thumbnailPath, const CString& stylePath) {
  const CString root = AppUtilServices().GetRootPath();
  std::FILE* file = FileSystem::OpenStream(root + kUniFileName, "ab");
  if (!file) return;
  std::fprintf(file, "1 %s\r\n1 %s\r\n", static_cast<const char*>(thumbnailPath),
               static_cast<const char*>(stylePath));
  std::fclose(file);
}
