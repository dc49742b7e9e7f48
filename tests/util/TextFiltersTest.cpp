#include <gtest/gtest.h>

#include <vector>

#include "util/TextFilters.h"
#include "util/Tokenizer.h"
#include "tests/util/TestSupport.h"

namespace {

std::vector<std::string> Tokens(const char* text) {
    CTokenizer tokenizer(text);
    int count = tokenizer.Split();
    std::vector<std::string> tokens;
    for (int i = 0; i < count; ++i)
        tokens.push_back(S(tokenizer.GetToken(i)));
    return tokens;
}

TEST(Tokenizer, SplitsOnTheFieldSeparator) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens(""), V({""}));
    EXPECT_EQ(Tokens("plain"), V({"plain"}));
    EXPECT_EQ(Tokens("a\xB6"), V({"a", ""}));
    EXPECT_EQ(Tokens("\xB6"), V({"", ""}));
    EXPECT_EQ(Tokens("a\xB6\xB6" "b"), V({"a", "", "b"}));

    CTokenizer twice("x\xB6y");
    EXPECT_EQ(twice.Split(), 2);
    EXPECT_EQ(twice.Split(), 4);  // appends again
    EXPECT_EQ(S(twice.GetToken(3)), "y");
    EXPECT_EQ(S(twice.GetToken(4)), "");
    EXPECT_EQ(S(twice.GetToken(-1)), "");
}

TEST(Tokenizer, JoinerRoundTrips) {
    CJoiner joiner(kFieldSeparator);
    EXPECT_EQ(S(joiner.Join(nullptr)), "");
    CStringArray strings;
    EXPECT_EQ(S(joiner.Join(&strings)), "");
    strings.Add("one");
    EXPECT_EQ(S(joiner.Join(&strings)), "one");
    for (const char* text : {"a\xB6" "b", "\xB6\xB6", "x\xB6\xB6y\xB6"}) {
        CTokenizer tokenizer(text);
        int count = tokenizer.Split();
        CStringArray parts;
        for (int i = 0; i < count; ++i)
            parts.Add(tokenizer.GetToken(i));
        EXPECT_EQ(S(joiner.Join(&parts)), text);
    }
    CJoiner comma(',');
    EXPECT_EQ(S(comma.Join(&strings)), "one");
    strings.Add("two");
    EXPECT_EQ(S(comma.Join(&strings)), "one,two");
}

TEST(TextFilters, UnescapeHtml) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"a &lt;b&gt; &#39;c&#34;", "a <b> 'c\""},
        {"&amp;gt;", "&gt;"},  // doubly escaped comes out singly escaped
        {"My%20Page%27s%22", "My Page's\""},
        {"plain", "plain"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(S(UnescapeHtml(c.text)), c.expected) << c.text;
}

TEST(TextFilters, NamesForFilesUrlsAndScripts) {
    struct Case {
        const char* input;
        const char* expected;
    };
    for (const auto& c : std::initializer_list<Case>{{"C:/site/a?b*c|d<e>\"f.gif", "C:\\site\\a?b_c_d_e__f.gif"},
                                                     {"C:\\ok.gif", "C:\\ok.gif"}}) {
        CString text = c.input;
        MakeSafeFileName(text);
        EXPECT_EQ(S(text), c.expected);
    }
    CString longPath(std::string(300, 'x').c_str());
    MakeSafeFileName(longPath);
    EXPECT_EQ(longPath.GetLength(), 260);

    CString url = "img\\a*b<c>.gif?x=\"1\"|";
    MakeSafeUrl(url);
    EXPECT_EQ(S(url), "img/a_b_c_.gif?x=_1__");

    for (const auto& c : std::initializer_list<Case>{{"3D button", "x3d_button"},
                                                     {"Menu", "menu_"},
                                                     {"u", "u_"},
                                                     {"", "Graphic"},
                                                     {"My$Bar-2", "my$bar_2"},
                                                     {"caf\xE9", "cafx"}}) {
        CString name = c.input;
        MakeScriptIdentifier(name);
        EXPECT_EQ(S(name), c.expected) << c.input;
    }

    EXPECT_TRUE(HasInvalidFileChars("a?b"));
    EXPECT_TRUE(HasInvalidFileChars("a/b"));
    EXPECT_FALSE(HasInvalidFileChars("C:\\a b.gif"));

    CString chars = "a-b+c";
    ReplaceChars(chars, "-+");
    EXPECT_EQ(S(chars), "a_b_c");
}

TEST(TextFilters, LocaleDecimalSeparator) {
    const CString saved = GetUserDecimalSeparator();
    SetUserDecimalSeparator(",");
    struct Case {
        const char* point;
        const char* local;
    } cases[] = {{"1.5", "1,5"}, {"12", "12"}, {"1.2.3", "1,2.3"}};
    for (const auto& c : cases) {
        CString text = c.point;
        ToLocaleDecimal(text);
        EXPECT_EQ(S(text), c.local);
        FromLocaleDecimal(text);
        EXPECT_EQ(S(text), c.point);
    }
    SetUserDecimalSeparator(" dec ");  // separators may be longer than one character
    CString text = "0.25";
    ToLocaleDecimal(text);
    EXPECT_EQ(S(text), "0 dec 25");
    FromLocaleDecimal(text);
    EXPECT_EQ(S(text), "0.25");
    SetUserDecimalSeparator(saved);
    CLocaleConverter converter;
    (void)converter;
}

}  // namespace
