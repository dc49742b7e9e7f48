#include "app/ExportPaths.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>

namespace {

bool Exists(const CString& path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Splits at the last dot after the last backslash; the extension in lower case.
void Split(const CString& path, CString* base, CString* extension)
{
    const int dot = path.ReverseFind('.');
    const int slash = path.ReverseFind('\\');
    if (dot > slash) {
        *base = path.Left(dot);
        *extension = path.Mid(dot + 1);
        extension->MakeLower();
    } else {
        *base = path;
        extension->Empty();
    }
}

}  // namespace

CString MakeNumberedName(const CString& path, const CString& companion)
{
    if (!Exists(path))
        return path;
    CString base, extension, companionBase, companionExtension;
    Split(path, &base, &extension);
    if (!companion.IsEmpty())
        Split(companion, &companionBase, &companionExtension);

    int digits = base.GetLength();
    while (digits > 0 && isdigit((unsigned char)base[digits - 1]))
        --digits;
    if (digits < base.GetLength()) {
        int separator = digits;
        while (separator > 0 && !isalnum((unsigned char)base[separator - 1]))
            --separator;
        const CString rest = base.Left(separator);
        const CString between = base.Mid(separator, digits - separator);
        const long value = strtol((const char*)base + digits, nullptr, 10);
        CString previous;
        if (value > 2)
            previous.Format("%s%ld", (const char*)between, value - 1);
        // The previous member of a series exists: continue the series; otherwise the digits are
        // part of the name.
        base = Exists(rest + previous + "." + extension) ? rest + between : base + "_";
    }
    for (int n = 2;; ++n) {
        CString candidate, companionCandidate;
        candidate.Format("%s%d.%s", (const char*)base, n, (const char*)extension);
        if (Exists(candidate))
            continue;
        if (!companion.IsEmpty()) {
            companionCandidate.Format("%s%d.%s", (const char*)companionBase, n, (const char*)companionExtension);
            if (Exists(companionCandidate))
                continue;
        }
        return candidate;
    }
}
