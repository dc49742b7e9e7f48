// Text placed into generated web pages and scripts: escaping for script strings, regular
// expressions and HTML, and the links of buttons and menu entries as a page refers to them.
#pragma once

#include "framework/core/CString.h"

// For a double- or single-quoted script string: backslash, both quotes and line ends are
// escaped, and "</" becomes "<\/" so that no text can end the surrounding script element.
CString EscapeScriptString(const CString& text);
// For a regular expression literal: every character with a meaning of its own is escaped.
CString EscapeScriptRegex(const CString& text);
// For an HTML attribute value in double quotes: '"' becomes "&#34;".
CString EscapeHTMLAttribute(const CString& text);
// For HTML text: '"' becomes "&#34;", '<' "&lt;", '>' "&gt;", in that order.
CString EscapeMenuText(const CString& text);
// A link as the page in pageFolder (with a trailing backslash) reaches it: a scheme-less
// host-like name gets "http://", an absolute path becomes relative to pageFolder (or a file
// URL on another drive), and every backslash becomes a slash.
CString NormalizeNavBarLink(const CString& link, const CString& pageFolder);
// The link runs in the browser without the page's folder in front: a URL (file URLs too), or
// "javascript:".
bool IsScriptOrURLLink(const CString& link);
