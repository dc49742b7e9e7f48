// Export paths: the next free numbered variant of a file name.
#pragma once

#include "framework/core/Afx.h"

// path itself when no file has that name; otherwise the first free numbered variant, continuing
// a series (Name.gif, Name2.gif, ...) and keeping the companion's numbered name free as well.
// The extension comes back in lower case.
CString MakeNumberedName(const CString& path, const CString& companion);
