// The installed TrueType fonts: one record per font, as the screen's font enumeration reports
// it, sorted by face and full name. The application holds one list, built when the window
// managers are created and again when the system's fonts change; the text panels' font lists
// point into it, and the style-file reader asks it (through SubstituteFont) whether a face is
// installed before putting another in its place.
#pragma once

#include "framework/core/CPtrArray.h"
#include "framework/core/CString.h"

#include <windows.h>

class CFontList {
public:
    CFontList();
    ~CFontList();
    CFontList(const CFontList&) = delete;
    CFontList& operator=(const CFontList&) = delete;

    // Deletes every record and empties the list.
    void RemoveAllFonts();
    // Appends a record; the list owns it from now on.
    void Add(ENUMLOGFONTA* font);
    // Sorts by face name, then full name (neither by case) and deletes every record whose full
    // name equals (by case) the one kept before it.
    void SortAndUnique();

    int GetCount() const { return m_fonts.GetSize(); }
    const ENUMLOGFONTA* GetFont(int index) const;
    // The first record with that full name, compared with or without regard to case; null when
    // there is none.
    const ENUMLOGFONTA* FindFullName(const CString& fullName, bool anyCase) const;

private:
    CPtrArray m_fonts;
};

// A record's full name and face name (their fixed buffers need not end in a terminator).
CString GetFullName(const ENUMLOGFONTA& font);
CString GetFaceName(const ENUMLOGFONTA& font);

// Refills the list from the screen's font enumeration (windowsNT: the platform's kind, which
// decides whether the script variants of the core faces are listed on their own).
void BuildFontList(CFontList& list);
void BuildFontList(CFontList& list, bool windowsNT);

// The application's font list (made with the first call, deleted at exit).
CFontList& GetApplicationFontList();

// Replaces a face that is not installed by the one "SysResources\FontSub.txt" below the root
// folder names for it. Answers 1 when face now holds the substitute, 0 when it was left alone
// (installed, not in the file, no file, or null).
int SubstituteFont(CString* face);
int SubstituteFont(const CFontList& list, const CString& rootPath, CString* face);
