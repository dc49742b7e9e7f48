// The project folder's type file "QTWTypes.twt" as a save writes it: the flags of a new entry,
// the size line, appending the entry or updating its size, and the command that tells the
// galleries about the new graphic. The file's line format is util/TextFile.h's.
#pragma once

#include <cstdint>

#include "framework/core/CString.h"

constexpr const char kTypeFileName[] = "QTWTypes.twt";
// The size a thumbnail is taken to have when it cannot be read: 80 x 80.
constexpr std::int32_t kDefaultThumbnailSize = 0x500050;

// What decides a graphic's flags when its template's own type file does not name them.
struct TypeFlagsSource {
  CString templatePath;          // the record's engine template (.kiq)
  int graphicType = 0;
  bool navBar = false;
  unsigned textureCount = 0;
  int firstStoryLineCount = 0;   // the template's line count of the first story
};

// The flags of the template's entry in the template folder's type file (the first entry whose
// name begins with the template's name without extension); -1 when there is none.
std::int32_t LookupTemplateFlags(const CString& templatePath);
// The flags computed from the graphic when the template's type file does not have them.
std::int32_t ComputeTypeFlags(const TypeFlagsSource& source);
// The flags a new entry of a saved graphic carries.
std::int32_t MakeSavedEntryFlags(std::int32_t flags, bool navBar, int graphicType);
// (width << 16) | height.
std::int32_t PackThumbnailSize(int width, int height);

enum class TypeFileUpdate { kAppended, kSizeReplaced, kUnchanged, kFailed };

// Adds the saved graphic (lower-case name without extension) to the type file of the project
// folder (created with "#1" when missing), or gives its existing entry the new size. Only an
// entry of exactly that name counts: a longer name that begins with it is another graphic.
TypeFileUpdate UpdateProjectTypeFile(const CString& projectFolder, const CString& savedName, std::int32_t flags,
                                     std::int32_t size);

// "insertnewitem#<name>.qtw;<folder>;<flags>;<size>".
CString MakeInsertNewItemCommand(const CString& savedName, const CString& projectFolder, std::int32_t flags,
                                 std::int32_t size);
