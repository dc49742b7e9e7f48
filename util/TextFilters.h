// Small filters every writer of web output applies to names, and the conversion of number
// texts between the point and the user's decimal separator.
#pragma once

#include "framework/core/CString.h"

// Replaces "&gt;", "&lt;", "&#39;", "&#34;", "&amp;", "%27", "%22" and "%20", in that order.
CString UnescapeHtml(const CString& text);
// Every character of text found in set becomes "_".
void ReplaceChars(CString& text, const char* set);
// Cuts to 260 characters, turns "/" into backslashes and the characters that no file name may
// hold into "_"; colons and question marks remain.
void MakeSafeFileName(CString& path);
// Backslashes become "/", characters that break a URL in a page become "_".
void MakeSafeUrl(CString& url);
// Turns a name into an identifier that is valid in the generated scripts.
void MakeScriptIdentifier(CString& name);
BOOL HasInvalidFileChars(const CString& name);

// The user's decimal separator (may be longer than one character); "." when the platform
// gives none.
const CString& GetUserDecimalSeparator();
// Replaces the separator read from the platform (a locale change, tests).
void SetUserDecimalSeparator(const CString& separator);
// The first "." becomes the user's decimal separator.
void ToLocaleDecimal(CString& number);
// The first user's decimal separator becomes ".".
void FromLocaleDecimal(CString& number);

// Constructed by the numeric edit controls around their conversions.
class CLocaleConverter {
public:
    CLocaleConverter() {}
    ~CLocaleConverter() {}
};
