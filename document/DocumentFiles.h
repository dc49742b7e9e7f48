// The few file-system operations the option record and the style file need, on both presets.
// Paths are the program's own, with backslashes; on the host build they are turned into
// native paths first, so tests can work in a temporary folder.
#pragma once

#include "framework/core/CString.h"

namespace DocumentFiles {

// The path as the C runtime of this build takes it.
CString NativePath(const CString& path);
bool FileExists(const CString& path);
bool FolderExists(const CString& path);
// The folder part of path (up to and including its last backslash, trailing backslashes
// trimmed first); the path unchanged when it has none.
CString GetFolder(const CString& path);
// The text after the last backslash.
CString GetFileName(const CString& path);
// The file name without folder and extension.
CString GetFileTitle(const CString& path);
// Creates the folder that holds path, with its parents; true when it exists afterwards.
bool CreateFolderOf(const CString& path);
bool IsReadOnly(const CString& path);
bool ClearAttributes(const CString& path);
void RemoveFile(const CString& path);
// A relative path becomes root + path; an absolute one (drive letter and colon, or a
// backslash first) is returned unchanged.
CString MakeAbsolutePath(const CString& path, const CString& root);
// The first file in the tree under folder whose name is name ("*" for any), whose title ends
// with suffix and whose extension is extension (letter case ignored); empty when there is none.
// Links to folders are not followed, so the search ends on any tree.
CString FindFileRecursive(const CString& folder, const CString& name, const CString& extension,
                          const CString& suffix);

}  // namespace DocumentFiles
