#include "integration/ModuleText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace integration;

TEST(ModuleText, EnsureQuotedAddsOnlyTheMissingQuotes)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"", ""},
        {"\"", ""},
        {"C:\\Sites\\a.htm", "\"C:\\Sites\\a.htm\""},
        {"\"C:\\Sites\\a.htm\"", "\"C:\\Sites\\a.htm\""},
        {"C:\\Sites\\a.htm\"", "\"C:\\Sites\\a.htm\""},
        {"\"C:\\Sites\\a.htm", "\"C:\\Sites\\a.htm\""},
        {"\"\"", "\"\""},
        {"x", "\"x\""},
    };
    for (const Case& c : cases) {
        char buffer[64];
        std::strcpy(buffer, c.in);
        EXPECT_TRUE(EnsureQuoted(buffer, sizeof buffer)) << c.in;
        EXPECT_STREQ(buffer, c.out) << c.in;
    }
}

TEST(ModuleText, EnsureQuotedRefusesToOverrunItsBuffer)
{
    char buffer[6] = "abcd";  // needs 7 bytes quoted
    EXPECT_FALSE(EnsureQuoted(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "abcd");
    char fits[7] = "abcd";
    EXPECT_TRUE(EnsureQuoted(fits, sizeof fits));
    EXPECT_STREQ(fits, "\"abcd\"");
}

TEST(ModuleText, CopyToBufferEmptiesRatherThanCuts)
{
    char buffer[4] = "old";
    EXPECT_TRUE(CopyToBuffer(buffer, sizeof buffer, "abc"));
    EXPECT_STREQ(buffer, "abc");
    EXPECT_FALSE(CopyToBuffer(buffer, sizeof buffer, "abcd"));
    EXPECT_STREQ(buffer, "");
}

TEST(ModuleText, ReplaceCharTurnsEveryOccurrence)
{
    char text[] = "\"a\" \"b\"";
    ReplaceChar(text, '"', '\'');
    EXPECT_STREQ(text, "'a' 'b'");
}

TEST(ModuleText, FindsTheProgramBesideTheModuleOrUpToTwoLevelsUp)
{
    struct Case {
        const char* existing;
        const char* found;
    };
    // Module at C:\a\b\c\Tw3Interface.dll. The module's own folder has no Debug/Release step.
    const Case cases[] = {
        {"C:\\a\\b\\c\\Barwright.exe", "C:\\a\\b\\c\\Barwright.exe"},
        {"C:\\a\\b\\Barwright.exe", "C:\\a\\b\\Barwright.exe"},
        {"C:\\a\\b\\Debug\\Barwright.exe", "C:\\a\\b\\Debug\\Barwright.exe"},
        {"C:\\a\\b\\Release\\Barwright.exe", "C:\\a\\b\\Release\\Barwright.exe"},
        {"C:\\a\\Release\\Barwright.exe", "C:\\a\\Release\\Barwright.exe"},
        {"C:\\a\\b\\c\\Debug\\Barwright.exe", ""},
        {"C:\\Barwright.exe", ""},
    };
    static std::set<std::string> existing;
    for (const Case& c : cases) {
        existing = {c.existing};
        EXPECT_EQ(FindProgramBeside("C:\\a\\b\\c\\Tw3Interface.dll",
                                    [](const std::string& p) { return existing.count(p) != 0; }),
                  c.found)
            << c.existing;
    }
    // The nearest candidate wins.
    existing = {"C:\\a\\b\\Barwright.exe", "C:\\a\\b\\c\\Barwright.exe"};
    EXPECT_EQ(FindProgramBeside("C:\\a\\b\\c\\Tw3Interface.dll",
                                [](const std::string& p) { return existing.count(p) != 0; }),
              "C:\\a\\b\\c\\Barwright.exe");
}
