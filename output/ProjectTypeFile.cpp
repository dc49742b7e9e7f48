#include "output/ProjectTypeFile.h"

#include <cstdio>

#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"
#include "document/DocumentFiles.h"
#include "output/SaveNames.h"

namespace {

// The byte that brackets the size line.
constexpr char kSizeMark = static_cast<char>(0xB6);

// A graphic type's own gallery bit; any type without one gets the mixed set.
std::int32_t FlagsForGraphicType(int graphicType) {
  switch (graphicType) {
    case 0: return 0x1;
    case 1: return 0x2;
    case 2: return 0x4;
    case 3: return 0x8;
    case 4: return 0x10;
    case 5: return 0x20;
    case 6: return 0x40;
    case 7: return 0x1;
    case 10: return 0x800000;
    default: return 0xB0007F;
  }
}

CString Lower(CString text) {
  text.MakeLower();
  return text;
}

// Appends the two lines of a new entry, each ended by carriage return and line feed.
bool AppendEntry(const CString& path, const CString& savedName, std::int32_t flags, std::int32_t size) {
  std::FILE* file = FileSystem::OpenStream(path, "ab");
  if (!file) return false;
  CString lines;
  lines.Format("%d$%s.qtw\r\n%c%d%c\r\n", static_cast<int>(flags), static_cast<const char*>(savedName), kSizeMark,
               static_cast<int>(size), kSizeMark);
  bool ok = std::fwrite(lines.GetString(), 1, static_cast<std::size_t>(lines.GetLength()), file) ==
            static_cast<std::size_t>(lines.GetLength());
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

// Reads the entries from the current position to the first one whose name (lower case)
// matches; false at the end of the file.
template <typename Match>
bool FindEntry(CTextFile& file, Match match, DWORD& flags, int& value) {
  for (;;) {
    CString name;
    flags = 0;
    value = 0;
    const CString record = file.ReadEntry(&name, &flags, &value);
    if (record.IsEmpty()) return false;
    if (record[0] != '#' && record[0] != '&' && match(Lower(name))) return true;
  }
}

}  // namespace

std::int32_t LookupTemplateFlags(const CString& templatePath) {
  const CString templateName = CFileUtils::RemoveExtension(Lower(CFileUtils::GetFileName(templatePath)));
  const CString typeFile = JoinPath(CFileUtils::GetParentFolder(templatePath), kTypeFileName);
  if (templateName.IsEmpty() || !CFileUtils::FileExists(typeFile)) return -1;
  CTextFile file;
  if (!file.Open(DocumentFiles::NativePath(typeFile), CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) return -1;
  DWORD flags = 0;
  int value = 0;
  const bool found = FindEntry(file, [&](const CString& name) { return name.Find(templateName) == 0; }, flags, value);
  file.Close();
  return found ? static_cast<std::int32_t>(flags) : -1;
}

std::int32_t ComputeTypeFlags(const TypeFlagsSource& source) {
  std::int32_t flags = source.navBar ? 0x100000 : FlagsForGraphicType(source.graphicType);
  flags |= source.textureCount > 1 ? 0x8000 : 0x4000;
  if (source.firstStoryLineCount == 0)
    flags |= 0x80;
  else if (source.firstStoryLineCount > 1)
    flags |= 0x400;
  else
    flags |= 0x400780;
  return flags | 0xF3800;
}

std::int32_t MakeSavedEntryFlags(std::int32_t flags, bool navBar, int graphicType) {
  std::uint32_t bits = (static_cast<std::uint32_t>(flags) & 0xFFFFFFu) | 0x2000000u;
  if (navBar)
    bits = (bits & 0xFF5FFF80u) | 0x100000u;
  else if (graphicType == 7)
    bits = (bits & 0xFF4FFF81u) | 1u;
  return static_cast<std::int32_t>(bits);
}

std::int32_t PackThumbnailSize(int width, int height) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(width) << 16) | (static_cast<std::uint32_t>(height) & 0xFFFFu));
}

TypeFileUpdate UpdateProjectTypeFile(const CString& projectFolder, const CString& savedName, std::int32_t flags,
                                     std::int32_t size) {
  const CString path = JoinPath(projectFolder, kTypeFileName);
  if (!CFileUtils::FileExists(path)) {
    std::FILE* created = FileSystem::OpenStream(path, "wb");
    if (!created) return TypeFileUpdate::kFailed;
    const bool ok = std::fwrite("#1\n", 1, 3, created) == 3;
    if (std::fclose(created) != 0 || !ok) return TypeFileUpdate::kFailed;
  }

  CTextFile file;
  if (!file.Open(DocumentFiles::NativePath(path), CFile::modeReadWrite | CFile::modeNoTruncate | CFile::shareDenyWrite | CFile::typeText))
    return TypeFileUpdate::kFailed;
  CString wanted = savedName + ".qtw";
  wanted.MakeLower();
  DWORD entryFlags = 0;
  int foundSize = 0;
  const bool found = FindEntry(file, [&](const CString& name) { return name == wanted; }, entryFlags, foundSize);
  if (found) {
    if (foundSize == size) {
      file.Close();
      return TypeFileUpdate::kUnchanged;
    }
    const BOOL replaced = ReplaceListEntry(&file, savedName, size);
    file.Close();
    return replaced ? TypeFileUpdate::kSizeReplaced : TypeFileUpdate::kFailed;
  }
  file.Close();
  return AppendEntry(path, savedName, flags, size) ? TypeFileUpdate::kAppended : TypeFileUpdate::kFailed;
}

CString MakeInsertNewItemCommand(const CString& savedName, const CString& projectFolder, std::int32_t flags,
                                 std::int32_t size) {
  CString command;
  command.Format("insertnewitem#%s.qtw;%s;%d;%d", static_cast<const char*>(savedName),
                 static_cast<const char*>(projectFolder), static_cast<int>(flags), static_cast<int>(size));
  return command;
}
