// The colour keywords of HTML and CSS with their six hexadecimal digits (upper case).
#pragma once

#include "framework/core/Afx.h"

// Fills map with the 140 names (lower case) and their digits.
void BuildColourNameMap(CMapStringToString& map);
// The digits for a name (any case); "FFFFFF" for a name not in the table.
CString LookupColourName(const CString& name);
