// The outside COM libraries the program needs, with their minimum versions, and the rules
// that decide whether an installed copy is good enough.
#pragma once

#include "framework/core/Afx.h"

struct OutsideComponent {
    const char* file;
    const char* minimumVersion;  // "a, b, c, d"
    const char* key;             // under HKEY_CLASSES_ROOT
};

extern const OutsideComponent kOutsideComponents[5];

// "\StringFileInfo\040904b0\FileVersion" of a file; "0, 0, 0, 0" when it has none, the path
// is empty or longer than 126 characters, or no such file exists.
CString GetComponentFileVersion(const CString& path);
// Negative when a is older than b; 0 when equal or when either text is not four numbers.
int CompareComponentVersions(const char* a, const char* b);
// The default value of HKEY_CLASSES_ROOT\key; empty when missing or longer than 125 bytes.
CString GetRegisteredServerPath(const char* key);
