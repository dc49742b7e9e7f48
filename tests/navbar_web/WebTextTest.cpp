// Texts placed into scripts, regular expressions and HTML, and links as a page reaches them.
#include <gtest/gtest.h>

#include "navbar/WebText.h"

namespace {

TEST(WebText, ScriptStringsCannotEndTheirStringOrScript) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"plain text.html", "plain text.html"},
      {"a\\b", "a\\\\b"},
      {"say \"hi\" 'there'", "say \\\"hi\\\" \\'there\\'"},
      {"two\r\nlines", "two\\r\\nlines"},
      {"x</script><script>alert(1)</SCRIPT>", "x<\\/script><script>alert(1)<\\/SCRIPT>"},
      {"a/b", "a/b"},
  };
  for (const auto& c : cases) EXPECT_STREQ(c.out, EscapeScriptString(c.in).GetString()) << c.in;
}

TEST(WebText, RegexAndHTMLEscapes) {

  EXPECT_STREQ("a\\.b\\(1\\)\\/\\\"\\'", EscapeScriptRegex("a.b(1)/\"'").GetString());
  EXPECT_STREQ("&#34;a&#34; <b>", EscapeHTMLAttribute("\"a\" <b>").GetString());
  EXPECT_STREQ("&#34;a&#34; &lt;b&gt;", EscapeMenuText("\"a\" <b>").GetString());
}

TEST(WebText, LinksAsThePageReachesThem) {
  const struct {
    const char* link;
    const char* out;
  } cases[] = {
      {"www.example.com", "http://www.example.com"},
      {"https://example.com/a", "https://example.com/a"},
      {"sub\\page.html", "sub/page.html"},
      {"C:\\site\\a\\b.html", "a/b.html"},
      {"D:\\other\\b.html", "file:///D:/other/b.html"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_STREQ(c.out, NormalizeNavBarLink(c.link, "C:\\site\\").GetString()) << c.link;
  EXPECT_TRUE(IsScriptOrURLLink("JavaScript:go()"));
  EXPECT_TRUE(IsScriptOrURLLink("http://x.org"));
  EXPECT_FALSE(IsScriptOrURLLink("page.html"));
}

}  // namespace
