#include "util/TextFilters.h"

#include "util/AppUtilServices.h"

namespace {

const int kMaxSafePath = 260;
// The menu runtime script; no generated identifier may name one of its objects.
const char kMenuRuntimeScript[] = "quormenu.js";

CString InvalidFileChars() { return LoadAppString(IDS_UTIL_INVALID_FILE_CHARS, "/*?\"<>|"); }
CString InvalidUrlChars() { return LoadAppString(IDS_UTIL_INVALID_URL_CHARS, "*\"<>|"); }

CString ReadDecimalSeparator() {
#ifdef _WIN32
    char buffer[16] = {};
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof(buffer));
    if (n > 1)
        return CString(buffer);
#endif
    return CString(".");
}

CString& DecimalSeparator() {
    static CString separator = ReadDecimalSeparator();
    return separator;
}

void ReplaceFirst(CString& text, const CString& from, const CString& to) {
    if (from.IsEmpty())
        return;
    int pos = text.Find(from);
    if (pos < 0)
        return;
    text.Delete(pos, from.GetLength());
    text.Insert(pos, to);
}

// Made when the program starts, as the numeric controls expect it ready.
const bool g_separatorRead = (DecimalSeparator(), true);

}  // namespace

CString UnescapeHtml(const CString& text) {
    CString result = text;
    result.Replace("&gt;", ">");
    result.Replace("&lt;", "<");
    result.Replace("&#39;", "'");
    result.Replace("&#34;", "\"");
    result.Replace("&amp;", "&");
    result.Replace("%27", "'");
    result.Replace("%22", "\"");
    result.Replace("%20", " ");
    return result;
}

void ReplaceChars(CString& text, const char* set) {
    if (!set)
        return;
    CString chars(set);
    for (int i = 0; i < text.GetLength(); ++i)
        if (chars.Find(text[i]) >= 0)
            text.SetAt(i, '_');
}

void MakeSafeFileName(CString& path) {
    if (path.GetLength() > kMaxSafePath)
        path = path.Left(kMaxSafePath);
    path.Replace('/', '\\');
    CString invalid = InvalidFileChars();
    invalid.Remove('?');
    ReplaceChars(path, invalid);
}

void MakeSafeUrl(CString& url) {
    url.Replace('\\', '/');
    ReplaceChars(url, InvalidUrlChars());
}

void MakeScriptIdentifier(CString& name) {
    if (name.IsEmpty()) {
        name = LoadAppString(IDS_UTIL_DEFAULT_NAME, "Graphic");
        return;
    }
    if (name[0] >= '0' && name[0] <= '9')
        name.Insert(0, 'X');
    for (int i = 0; i < name.GetLength(); ++i) {
        signed char c = static_cast<signed char>(name[i]);
        char mapped;
        if (c <= 0)
            mapped = static_cast<char>('a' + (-static_cast<int>(c)) % 26);
        else if (c >= 'A' && c <= 'Z')
            mapped = static_cast<char>(c + 32);
        else if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '$')
            mapped = static_cast<char>(c);
        else
            mapped = '_';
        name.SetAt(i, mapped);
    }
    if (CString(kMenuRuntimeScript).Find(name + ".js") >= 0)
        name += '_';
}

BOOL HasInvalidFileChars(const CString& name) {
    return name.FindOneOf(InvalidFileChars()) >= 0;
}

const CString& GetUserDecimalSeparator() { return DecimalSeparator(); }

void SetUserDecimalSeparator(const CString& separator) { DecimalSeparator() = separator; }

void ToLocaleDecimal(CString& number) { ReplaceFirst(number, ".", DecimalSeparator()); }

void FromLocaleDecimal(CString& number) { ReplaceFirst(number, DecimalSeparator(), "."); }
