// CString: the program's counted 8-bit string.
//
// The text is counted, not terminated: embedded NUL characters are kept and searched like any
// other byte. A NUL always follows the last character, so the LPCTSTR conversion can be handed
// to C functions (which then see the text up to its first NUL).
//
// Indices and counts are ints. Out-of-range arguments are clamped instead of trusted: Mid, Left
// and Right never read past the text, GetAt answers '\0' past the end, SetAt ignores an index
// outside the text, and Insert/Delete clamp the position.
//
// Case mapping and case-insensitive comparison treat only the ASCII letters, so paths in the
// system code page compare the same whatever the C locale.
#pragma once

#include <cstdarg>
#include <string>

#include "framework/core/WinTypes.h"

class CString {
public:
    // Loads string nID from the program's string table into rString; answers FALSE when the
    // table has no such string. The Win32 layer installs one at start-up; without it
    // LoadString fails.
    typedef BOOL (*StringLoader)(UINT nID, CString& rString);
    static void SetStringLoader(StringLoader pfnLoader);
    static StringLoader GetStringLoader();

    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    // A null pointer gives the empty string. A pointer value below 0x10000 is a string id in the
    // MAKEINTRESOURCE form and loads that string.
    CString(LPCTSTR psz);
    CString(const unsigned char* psz) : CString(reinterpret_cast<LPCTSTR>(psz)) {}
    CString(LPCTSTR pch, int nLength);
    CString(TCHAR ch, int nRepeat = 1);
    ~CString() = default;

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCTSTR psz);
    CString& operator=(const unsigned char* psz) { return *this = reinterpret_cast<LPCTSTR>(psz); }
    CString& operator=(TCHAR ch);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty();

    TCHAR GetAt(int nIndex) const;
    TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, TCHAR ch);

    operator LPCTSTR() const { return m_text.c_str(); }
    LPCTSTR GetString() const { return m_text.c_str(); }

    CString& operator+=(const CString& other);
    CString& operator+=(LPCTSTR psz);
    CString& operator+=(TCHAR ch);

    // strcmp-like results (<0, 0, >0) over the counted text; bytes compare unsigned.
    int Compare(LPCTSTR psz) const;
    int Compare(const CString& other) const;
    int CompareNoCase(LPCTSTR psz) const;
    int CompareNoCase(const CString& other) const;
    // Compares with the C library's collation of the current locale.
    int Collate(LPCTSTR psz) const;
    int CollateNoCase(LPCTSTR psz) const;

    // Searches answer the zero-based index of the first match, or -1.
    int Find(TCHAR ch, int nStart = 0) const;
    int Find(LPCTSTR pszSub, int nStart = 0) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR pszCharSet) const;

    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;
    // The leading characters that are (SpanIncluding) or are not (SpanExcluding) in the set.
    CString SpanIncluding(LPCTSTR pszCharSet) const;
    CString SpanExcluding(LPCTSTR pszCharSet) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Without an argument these remove white space (space, tab, CR, LF, VT, FF).
    CString& TrimLeft();
    CString& TrimLeft(TCHAR chTarget);
    CString& TrimLeft(LPCTSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(TCHAR chTarget);
    CString& TrimRight(LPCTSTR pszTargets);
    CString& Trim();
    CString& Trim(TCHAR chTarget);
    CString& Trim(LPCTSTR pszTargets);

    // Replace, Remove: the number of replacements or removals. An empty or null old text
    // replaces nothing.
    int Replace(TCHAR chOld, TCHAR chNew);
    int Replace(LPCTSTR pszOld, LPCTSTR pszNew);
    int Remove(TCHAR ch);
    // Insert, Delete: the new length.
    int Insert(int nIndex, TCHAR ch);
    int Insert(int nIndex, LPCTSTR psz);
    int Delete(int nIndex, int nCount = 1);

    // printf formatting through the C runtime; the result may be of any length.
    void Format(LPCTSTR pszFormat, ...);
    void Format(UINT nFormatID, ...);
    void FormatV(LPCTSTR pszFormat, va_list args);
    void AppendFormat(LPCTSTR pszFormat, ...);

    // Direct access to the characters. GetBuffer(n) answers a writable buffer of at least n
    // characters (plus a terminating NUL) holding the current text; ReleaseBuffer(-1) then takes
    // the text up to the first NUL, ReleaseBuffer(n) the first n characters.
    LPTSTR GetBuffer(int nMinBufLength = 0);
    LPTSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void FreeExtra();

    // Loads string nID through the installed loader; FALSE (text unchanged) without one or
    // when the table has no such string.
    BOOL LoadString(UINT nID);

private:
    std::string m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCTSTR b);
CString operator+(LPCTSTR a, const CString& b);
CString operator+(const CString& a, TCHAR b);
CString operator+(TCHAR a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCTSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCTSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCTSTR b) { return a.Compare(b) < 0; }
inline bool operator<(LPCTSTR a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, LPCTSTR b) { return a.Compare(b) > 0; }
inline bool operator>(LPCTSTR a, const CString& b) { return b.Compare(a) < 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator<=(const CString& a, LPCTSTR b) { return a.Compare(b) <= 0; }
inline bool operator<=(LPCTSTR a, const CString& b) { return b.Compare(a) >= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
inline bool operator>=(const CString& a, LPCTSTR b) { return a.Compare(b) >= 0; }
inline bool operator>=(LPCTSTR a, const CString& b) { return b.Compare(a) <= 0; }
