#include "navbar/WebText.h"

#include <cstring>

#include "util/FileUtils.h"

CString EscapeScriptString(const CString& text) {
  CString result;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\': result += "\\\\"; break;
      case '"': result += "\\\""; break;
      case '\'': result += "\\'"; break;
      case '\r': result += "\\r"; break;
      case '\n': result += "\\n"; break;
      case '/':
        // "</script" in any case would end the script element the text stands in.
        result += (i > 0 && text[i - 1] == '<') ? "\\/" : "/";
        break;
      default: result += c;
    }
  }
  return result;
}

CString EscapeScriptRegex(const CString& text) {
  CString result;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      result += "\\r";
    } else if (c == '\n') {
      result += "\\n";
    } else {
      if (std::strchr("\\^$.|?*+()[]{}/'\"", c)) result += '\\';
      result += c;
    }
  }
  return result;
}

CString EscapeHTMLAttribute(const CString& text) {
  CString result = text;
  result.Replace("\"", "&#34;");
  return result;
}

CString EscapeMenuText(const CString& text) {
  CString result = text;
  result.Replace("\"", "&#34;");
  result.Replace("<", "&lt;");
  result.Replace(">", "&gt;");
  return result;
}

CString NormalizeNavBarLink(const CString& link, const CString& pageFolder) {
  CString result = link;
  BOOL hasScheme = FALSE;
  if (CFileUtils::IsURL(result, &hasScheme)) {
    if (!hasScheme) result = "http://" + result;
  } else if (CFileUtils::IsAbsolutePath(result)) {
    const CString relative = CFileUtils::MakeRelativePath(result, pageFolder);
    result = relative.IsEmpty() ? CFileUtils::PathToFileURL(result) : relative;
  }
  result.Replace('\\', '/');
  return result;
}

bool IsScriptOrURLLink(const CString& link) {
  // A file URL (a page on another drive) is complete as it stands, like any other URL.
  return CFileUtils::IsURL(link) || link.Left(11).CompareNoCase("javascript:") == 0 ||
         link.Left(5).CompareNoCase("file:") == 0;
}
