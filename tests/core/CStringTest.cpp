#include "framework/core/CString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Str(const CString& s)
{
    return std::string(static_cast<LPCTSTR>(s), static_cast<std::size_t>(s.GetLength()));
}

TEST(CString, ConstructionKeepsCountedText)
{
    EXPECT_EQ(Str(CString("ab\0cd", 5)), std::string("ab\0cd", 5));
    EXPECT_EQ(CString("ab\0cd", 5).GetLength(), 5);
    EXPECT_EQ(Str(CString('x', 3)), "xxx");
    EXPECT_TRUE(CString('x', 0).IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString("abc", -1).IsEmpty());

    CString s("a\0b", 3);
    s += CString("\0c", 2);
    EXPECT_EQ(Str(s), std::string("a\0b\0c", 5));
    EXPECT_EQ(s.Find('c'), 4);  // searches run past embedded NULs
    EXPECT_NE(CString("a\0b", 3), CString("a\0c", 3));
}

TEST(CString, ConcatenationAndComparison)
{
    const CString a("Bar"), b("wright");
    EXPECT_EQ(Str(a + b), "Barwright");
    EXPECT_EQ(Str(a + "s"), "Bars");
    EXPECT_EQ(Str("x" + a), "xBar");
    EXPECT_EQ(Str(a + '!'), "Bar!");
    EXPECT_EQ(Str('<' + a), "<Bar");

    EXPECT_TRUE(a == "Bar");
    EXPECT_TRUE("Bar" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a < b);    // 'B' < 'w'
    EXPECT_TRUE(a < "Bars");
    EXPECT_TRUE("Ba" < a);
    EXPECT_TRUE(b > a && b >= a && a <= b);
    EXPECT_GT(CString("\xE9").Compare("z"), 0);  // bytes compare unsigned

    EXPECT_EQ(CString("Path\\FILE.txt").CompareNoCase("path\\file.TXT"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_EQ(CString("\xC9").CompareNoCase("\xE9") != 0, true);  // only ASCII letters fold
    EXPECT_EQ(CString("abc").Collate("abc"), 0);
}

TEST(CString, SelfAssignmentAndAliasing)
{
    CString s("hello");
    s = static_cast<LPCTSTR>(s) + 1;
    EXPECT_EQ(Str(s), "ello");
    s += static_cast<LPCTSTR>(s);
    EXPECT_EQ(Str(s), "elloello");
    s.Insert(2, static_cast<LPCTSTR>(s));
    EXPECT_EQ(Str(s), "elelloelloloello");
    CString t("aXa");
    t.Replace("X", static_cast<LPCTSTR>(t));
    EXPECT_EQ(Str(t), "aaXaa");
}

struct SearchCase {
    const char* text;
    const char* sub;
    int start;
    int expected;
};

TEST(CString, FindTable)
{
    const SearchCase cases[] = {
        {"abcabc", "bc", 0, 1}, {"abcabc", "bc", 2, 4}, {"abcabc", "bc", 5, -1}, {"abc", "", 0, 0},
        {"abc", "", 3, 3},      {"abc", "x", 0, -1},    {"abc", "b", -4, 1},     {"abc", "b", 99, -1},
        {"", "a", 0, -1},
    };
    for (const SearchCase& c : cases)
        EXPECT_EQ(CString(c.text).Find(c.sub, c.start), c.expected) << c.text << " / " << c.sub << " @" << c.start;

    const CString s("a.b.c");
    EXPECT_EQ(s.Find('.'), 1);
    EXPECT_EQ(s.Find('.', 2), 3);
    EXPECT_EQ(s.Find('.', 5), -1);
    EXPECT_EQ(s.ReverseFind('.'), 3);
    EXPECT_EQ(s.ReverseFind('x'), -1);
    EXPECT_EQ(s.FindOneOf("xc."), 1);
    EXPECT_EQ(s.FindOneOf(""), -1);
}

TEST(CString, ExtractionClampsOutOfRange)
{
    const CString s("abcdef");
    struct Case {
        CString actual;
        const char* expected;
    } cases[] = {
        {s.Left(2), "ab"},       {s.Left(-1), ""},        {s.Left(99), "abcdef"},
        {s.Right(2), "ef"},      {s.Right(-3), ""},       {s.Right(99), "abcdef"},
        {s.Mid(2), "cdef"},      {s.Mid(2, 2), "cd"},     {s.Mid(-1, 2), "ab"},
        {s.Mid(4, 99), "ef"},    {s.Mid(6), ""},          {s.Mid(99, 1), ""},
        {s.Mid(1, -1), ""},      {s.SpanIncluding("cba"), "abc"}, {s.SpanIncluding("x"), ""},
        {s.SpanExcluding("dx"), "abc"}, {s.SpanExcluding(""), "abcdef"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(c.actual), c.expected);

    EXPECT_EQ(s.GetAt(0), 'a');
    EXPECT_EQ(s[5], 'f');
    EXPECT_EQ(s.GetAt(6), '\0');
    EXPECT_EQ(s.GetAt(-1), '\0');
    CString t(s);
    t.SetAt(1, 'B');
    t.SetAt(6, 'X');
    t.SetAt(-1, 'X');
    EXPECT_EQ(Str(t), "aBcdef");
}

TEST(CString, TrimTable)
{
    struct Case {
        const char* text;
        int which;  // 0 whitespace, 1 char '*', 2 set "*-"
        const char* left;
        const char* right;
        const char* both;
    } cases[] = {
        {" \t\r\n ab c \n", 0, "ab c \n", " \t\r\n ab c", "ab c"},
        {"   ", 0, "", "", ""},
        {"", 0, "", "", ""},
        {"**a*b**", 1, "a*b**", "**a*b", "a*b"},
        {"*-a-*", 2, "a-*", "*-a", "a"},
        {"a", 2, "a", "a", "a"},
    };
    for (const Case& c : cases) {
        CString l(c.text), r(c.text), b(c.text);
        switch (c.which) {
        case 0:
            l.TrimLeft(), r.TrimRight(), b.Trim();
            break;
        case 1:
            l.TrimLeft('*'), r.TrimRight('*'), b.Trim('*');
            break;
        default:
            l.TrimLeft("*-"), r.TrimRight("*-"), b.Trim("*-");
            break;
        }
        EXPECT_EQ(Str(l), c.left) << c.text;
        EXPECT_EQ(Str(r), c.right) << c.text;
        EXPECT_EQ(Str(b), c.both) << c.text;
    }
}

TEST(CString, EditingTable)
{
    struct Case {
        const char* text;
        const char* oldText;
        const char* newText;
        int count;
        const char* result;
    } replaces[] = {
        {"a.b.c", ".", "\\", 2, "a\\b\\c"},
        {"aaaa", "aa", "a", 2, "aa"},
        {"abc", "", "x", 0, "abc"},
        {"abc", "abc", "", 1, ""},
        {"abab", "ab", "abab", 2, "abababab"},
        {"xyz", "q", "r", 0, "xyz"},
    };
    for (const Case& c : replaces) {
        CString s(c.text);
        EXPECT_EQ(s.Replace(c.oldText, c.newText), c.count) << c.text;
        EXPECT_EQ(Str(s), c.result) << c.text;
    }

    CString s("a/b/c");
    EXPECT_EQ(s.Replace('/', '\\'), 2);
    EXPECT_EQ(Str(s), "a\\b\\c");
    EXPECT_EQ(s.Remove('\\'), 2);
    EXPECT_EQ(Str(s), "abc");
    EXPECT_EQ(s.Insert(1, '-'), 4);
    EXPECT_EQ(s.Insert(99, "!"), 5);
    EXPECT_EQ(s.Insert(-5, "<"), 6);
    EXPECT_EQ(Str(s), "<a-bc!");
    EXPECT_EQ(s.Delete(1, 2), 4);
    EXPECT_EQ(Str(s), "<bc!");
    EXPECT_EQ(s.Delete(3, 99), 3);
    EXPECT_EQ(s.Delete(99, 1), 3);
    EXPECT_EQ(Str(s), "<bc");
    EXPECT_EQ(Str(s.MakeUpper()), "<BC");
    EXPECT_EQ(Str(CString("Ab\xC9z").MakeLower()), "ab\xC9z");
    EXPECT_EQ(Str(CString("abc").MakeReverse()), "cba");
}

TEST(CString, FormatHandlesAnyLength)
{
    CString s;
    s.Format("%s=%d (%05.2f) %c%%", "key", -42, 3.14159, 'z');
    EXPECT_EQ(Str(s), "key=-42 (03.14) z%");
    s.Format("%u.%s", 4000000000u, "");
    EXPECT_EQ(Str(s), "4000000000.");

    const std::string longText(5000, 'q');
    s.Format("[%s]", longText.c_str());
    EXPECT_EQ(Str(s), "[" + longText + "]");

    // The argument may be the string being formatted.
    s = "abc";
    s.Format("%s%s", static_cast<LPCTSTR>(s), static_cast<LPCTSTR>(s));
    EXPECT_EQ(Str(s), "abcabc");
    s.AppendFormat("-%d", 7);
    EXPECT_EQ(Str(s), "abcabc-7");
}

TEST(CString, BufferAccess)
{
    CString s("abc");
    char* p = s.GetBuffer(10);
    std::snprintf(p, 11, "%s", "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(Str(s), "0123456789");

    p = s.GetBuffer(0);
    p[3] = '\0';
    s.ReleaseBuffer();  // up to the first NUL
    EXPECT_EQ(Str(s), "012");

    p = s.GetBufferSetLength(5);
    p[3] = 'x';
    p[4] = 'y';
    s.ReleaseBuffer(5);
    EXPECT_EQ(Str(s), "012xy");
    s.GetBuffer(4);
    s.ReleaseBuffer(2);
    EXPECT_EQ(Str(s), "01");
}

BOOL FakeLoader(UINT nID, CString& text)
{
    if (nID != 33247)
        return FALSE;
    text = "File information %d";
    return TRUE;
}

TEST(CString, LoadStringNeedsALoader)
{
    CString::StringLoader saved = CString::GetStringLoader();
    CString::SetStringLoader(nullptr);
    CString s("unchanged");
    EXPECT_FALSE(s.LoadString(33247));
    EXPECT_EQ(Str(s), "unchanged");

    CString::SetStringLoader(FakeLoader);
    EXPECT_FALSE(s.LoadString(1));
    EXPECT_EQ(Str(s), "unchanged");
    EXPECT_TRUE(s.LoadString(33247));
    EXPECT_EQ(Str(s), "File information %d");
    s.Format(33247u, 5);
    EXPECT_EQ(Str(s), "File information 5");
    EXPECT_EQ(Str(CString(reinterpret_cast<LPCTSTR>(static_cast<std::uintptr_t>(33247)))), "File information %d");
    CString::SetStringLoader(saved);
}

}  // namespace
