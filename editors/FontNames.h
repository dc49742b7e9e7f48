// The portable rules of the installed-font list: which enumeration reports become records, the
// script suffixes of the non-NT platforms, the order and uniqueness of the list, and the font
// substitution file ("SysResources\FontSub.txt").
#pragma once

#include "framework/core/CString.h"

#include <vector>

namespace FontNames {

// What the font list makes of one report of the screen's font-family enumeration.
enum ReportAction {
    kIgnore,        // not listed
    kScriptRecord,  // a record of its own, with the script suffix (non-NT platforms only)
    kFamily,        // the face is enumerated again by name; its members may become records
};

const unsigned kTrueTypeFontType = 4;  // TRUETYPE_FONTTYPE
const int kFullNameSize = 64;          // the full name's buffer, terminator included

ReportAction ClassifyReport(bool windowsNT, int charSet, const CString& face, unsigned fontType);
// A member of a family's second enumeration becomes a record: ANSI or symbol set, TrueType,
// not a vertical face (full name beginning with '@').
bool AcceptFamilyMember(int charSet, unsigned fontType, const CString& fullName);
// " Baltic", " CE", " Greek", " Cyr", " Tur" for the script character sets, empty otherwise.
const char* ScriptSuffix(int charSet);
// Appends the script suffix to a full name held in a buffer of kFullNameSize characters when
// the full name and the report's script name are short enough, and only when the result fits.
void AppendScriptSuffix(char* fullName, const CString& scriptName, int charSet);

struct Names {
    CString face;
    CString fullName;
};
// The records kept, as indices into names in list order: sorted by face name, then full name
// (neither by case); a record is kept only when its full name differs (by case) from the last
// kept one.
std::vector<int> SortAndUniqueOrder(const std::vector<Names>& names);

// Looks face up in the substitution file at path. Answers 1 and puts the substitute into face
// when an entry names it; 0 (face unchanged) when none does or the file cannot be read.
int SubstituteFromFile(const CString& path, CString& face);

}  // namespace FontNames
