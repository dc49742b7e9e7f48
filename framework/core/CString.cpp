#include "framework/core/CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

CString::StringLoader g_stringLoader = nullptr;

// A pointer value this small is a string id in the MAKEINTRESOURCE form, never text.
bool IsResourceId(LPCTSTR psz)
{
    return psz != nullptr && reinterpret_cast<std::uintptr_t>(psz) < 0x10000;
}

std::size_t SafeLength(LPCTSTR psz)
{
    return psz != nullptr ? std::strlen(psz) : 0;
}

char AsciiUpper(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

char AsciiLower(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool IsWhiteSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Counted byte comparison; the shorter text sorts first when it is a prefix of the longer.
int CompareCounted(const char* a, std::size_t na, const char* b, std::size_t nb, bool noCase)
{
    const std::size_t n = std::min(na, nb);
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(noCase ? AsciiLower(a[i]) : a[i]);
        unsigned char cb = static_cast<unsigned char>(noCase ? AsciiLower(b[i]) : b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

bool InSet(LPCTSTR pszSet, char ch)
{
    // A NUL is never in a C-string set (strchr would find the terminator).
    return pszSet != nullptr && ch != '\0' && std::strchr(pszSet, ch) != nullptr;
}

}  // namespace

void CString::SetStringLoader(StringLoader pfnLoader)
{
    g_stringLoader = pfnLoader;
}

CString::StringLoader CString::GetStringLoader()
{
    return g_stringLoader;
}

CString::CString(LPCTSTR psz)
{
    if (IsResourceId(psz))
        LoadString(static_cast<UINT>(reinterpret_cast<std::uintptr_t>(psz)));
    else if (psz != nullptr)
        m_text.assign(psz);
}

CString::CString(LPCTSTR pch, int nLength)
{
    if (pch != nullptr && nLength > 0)
        m_text.assign(pch, static_cast<std::size_t>(nLength));
}

CString::CString(TCHAR ch, int nRepeat)
{
    if (nRepeat > 0)
        m_text.assign(static_cast<std::size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCTSTR psz)
{
    if (IsResourceId(psz)) {
        CString loaded(psz);
        m_text.swap(loaded.m_text);
    } else if (psz == nullptr) {
        m_text.clear();
    } else {
        m_text.assign(psz);  // std::string handles psz pointing into m_text itself
    }
    return *this;
}

CString& CString::operator=(TCHAR ch)
{
    m_text.assign(1, ch);
    return *this;
}

void CString::Empty()
{
    m_text.clear();
    m_text.shrink_to_fit();
}

TCHAR CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        return '\0';
    return m_text[static_cast<std::size_t>(nIndex)];
}

void CString::SetAt(int nIndex, TCHAR ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_text[static_cast<std::size_t>(nIndex)] = ch;
}

CString& CString::operator+=(const CString& other)
{
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(LPCTSTR psz)
{
    if (psz != nullptr)
        m_text.append(psz);
    return *this;
}

CString& CString::operator+=(TCHAR ch)
{
    m_text.push_back(ch);
    return *this;
}

int CString::Compare(LPCTSTR psz) const
{
    return CompareCounted(m_text.data(), m_text.size(), psz != nullptr ? psz : "", SafeLength(psz), false);
}

int CString::Compare(const CString& other) const
{
    return CompareCounted(m_text.data(), m_text.size(), other.m_text.data(), other.m_text.size(), false);
}

int CString::CompareNoCase(LPCTSTR psz) const
{
    return CompareCounted(m_text.data(), m_text.size(), psz != nullptr ? psz : "", SafeLength(psz), true);
}

int CString::CompareNoCase(const CString& other) const
{
    return CompareCounted(m_text.data(), m_text.size(), other.m_text.data(), other.m_text.size(), true);
}

int CString::Collate(LPCTSTR psz) const
{
    return Sign(std::strcoll(m_text.c_str(), psz != nullptr ? psz : ""));
}

int CString::CollateNoCase(LPCTSTR psz) const
{
    CString a(*this), b(psz);
    a.MakeLower();
    b.MakeLower();
    return a.Collate(b);
}

int CString::Find(TCHAR ch, int nStart) const
{
    if (nStart < 0)
        nStart = 0;
    if (nStart >= GetLength())
        return -1;
    const std::size_t pos = m_text.find(ch, static_cast<std::size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCTSTR pszSub, int nStart) const
{
    if (nStart < 0)
        nStart = 0;
    if (pszSub == nullptr || nStart > GetLength())
        return -1;
    const std::size_t pos = m_text.find(pszSub, static_cast<std::size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(TCHAR ch) const
{
    const std::size_t pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCTSTR pszCharSet) const
{
    for (std::size_t i = 0; i < m_text.size(); ++i) {
        if (InSet(pszCharSet, m_text[i]))
            return static_cast<int>(i);
    }
    return -1;
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    const int length = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0 || nFirst >= length)
        return CString();
    if (nCount > length - nFirst)
        nCount = length - nFirst;
    return CString(m_text.data() + nFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    const int length = GetLength();
    if (nCount < 0)
        nCount = 0;
    if (nCount > length)
        nCount = length;
    return Mid(length - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR pszCharSet) const
{
    std::size_t n = 0;
    while (n < m_text.size() && InSet(pszCharSet, m_text[n]))
        ++n;
    return Left(static_cast<int>(n));
}

CString CString::SpanExcluding(LPCTSTR pszCharSet) const
{
    std::size_t n = 0;
    while (n < m_text.size() && !InSet(pszCharSet, m_text[n]))
        ++n;
    return Left(static_cast<int>(n));
}

CString& CString::MakeUpper()
{
    for (char& ch : m_text)
        ch = AsciiUpper(ch);
    return *this;
}

CString& CString::MakeLower()
{
    for (char& ch : m_text)
        ch = AsciiLower(ch);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_text.begin(), m_text.end());
    return *this;
}

CString& CString::TrimLeft()
{
    std::size_t n = 0;
    while (n < m_text.size() && IsWhiteSpace(m_text[n]))
        ++n;
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(TCHAR chTarget)
{
    std::size_t n = 0;
    while (n < m_text.size() && m_text[n] == chTarget)
        ++n;
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(LPCTSTR pszTargets)
{
    std::size_t n = 0;
    while (n < m_text.size() && InSet(pszTargets, m_text[n]))
        ++n;
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimRight()
{
    std::size_t n = m_text.size();
    while (n > 0 && IsWhiteSpace(m_text[n - 1]))
        --n;
    m_text.resize(n);
    return *this;
}

CString& CString::TrimRight(TCHAR chTarget)
{
    std::size_t n = m_text.size();
    while (n > 0 && m_text[n - 1] == chTarget)
        --n;
    m_text.resize(n);
    return *this;
}

CString& CString::TrimRight(LPCTSTR pszTargets)
{
    std::size_t n = m_text.size();
    while (n > 0 && InSet(pszTargets, m_text[n - 1]))
        --n;
    m_text.resize(n);
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(TCHAR chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(LPCTSTR pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

int CString::Replace(TCHAR chOld, TCHAR chNew)
{
    int count = 0;
    for (char& ch : m_text) {
        if (ch == chOld) {
            ch = chNew;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew)
{
    const std::size_t oldLength = SafeLength(pszOld);
    if (oldLength == 0)
        return 0;
    // Copies first: either argument may point into this string.
    const std::string oldText(pszOld, oldLength);
    const std::string newText(pszNew != nullptr ? pszNew : "");
    std::string result;
    int count = 0;
    std::size_t from = 0;
    for (std::size_t pos; (pos = m_text.find(oldText, from)) != std::string::npos; from = pos + oldLength) {
        result.append(m_text, from, pos - from);
        result += newText;
        ++count;
    }
    if (count > 0) {
        result.append(m_text, from, std::string::npos);
        m_text.swap(result);
    }
    return count;
}

int CString::Remove(TCHAR ch)
{
    const std::size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int nIndex, TCHAR ch)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_text.insert(static_cast<std::size_t>(nIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR psz)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    if (psz != nullptr) {
        const std::string text(psz);  // psz may point into this string
        m_text.insert(static_cast<std::size_t>(nIndex), text);
    }
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    const int length = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < length)
        m_text.erase(static_cast<std::size_t>(nIndex), static_cast<std::size_t>(std::min(nCount, length - nIndex)));
    return GetLength();
}

void CString::FormatV(LPCTSTR pszFormat, va_list args)
{
    if (pszFormat == nullptr) {
        Empty();
        return;
    }
    // Arguments may point into this string: build the result aside, then swap it in.
    std::vector<char> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vsnprintf(buffer.data(), buffer.size(), pszFormat, copy);
        va_end(copy);
        if (n < 0) {
            // An encoding error or a runtime that answers -1 when the buffer is short: grow
            // and retry, up to a bound so a bad format cannot exhaust memory.
            if (buffer.size() >= (1u << 26)) {
                Empty();
                return;
            }
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            m_text.assign(buffer.data(), static_cast<std::size_t>(n));
            return;
        }
        buffer.resize(static_cast<std::size_t>(n) + 1);
    }
}

void CString::Format(LPCTSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...)
{
    CString format;
    if (!format.LoadString(nFormatID))
        return;
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCTSTR pszFormat, ...)
{
    CString tail;
    va_list args;
    va_start(args, pszFormat);
    tail.FormatV(pszFormat, args);
    va_end(args);
    m_text += tail.m_text;
}

LPTSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_text.resize(static_cast<std::size_t>(nMinBufLength), '\0');
    return &m_text[0];
}

LPTSTR CString::GetBufferSetLength(int nNewLength)
{
    m_text.resize(static_cast<std::size_t>(std::max(nNewLength, 0)), '\0');
    return &m_text[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::strlen(m_text.c_str()));
    if (nNewLength < GetLength())
        m_text.resize(static_cast<std::size_t>(nNewLength));
}

void CString::FreeExtra()
{
    m_text.shrink_to_fit();
}

BOOL CString::LoadString(UINT nID)
{
    if (g_stringLoader == nullptr)
        return FALSE;
    CString loaded;
    if (!g_stringLoader(nID, loaded))
        return FALSE;
    m_text.swap(loaded.m_text);
    return TRUE;
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCTSTR b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCTSTR a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, TCHAR b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(TCHAR a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}
