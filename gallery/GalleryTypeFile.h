// Taking a deleted style file out of its folder's type file "QTWTypes.twt".
#pragma once

#include "framework/core/CString.h"

enum class TypeFileRemoval { kRemoved, kNotListed, kNoTypeFile, kFailed };

// Rewrites the folder's type file without the entry of fileName (compared with the entry's name
// without regard to case; "$preview" and a leading "*" do not count) and without the size line
// that follows it. Every other line is kept as it stands. The new text is written to a
// temporary file beside it ("<base>NEW.twt") that then replaces the type file; on any failure
// the type file is left as it was.
TypeFileRemoval RemoveTypeFileEntry(const CString& folder, const CString& fileName);
