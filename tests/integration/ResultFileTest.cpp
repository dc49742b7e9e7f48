#include "integration/ResultFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace integration;

TEST(ResultFile, ReadsTheThreeKeysAndIgnoresTheRest)
{
    struct Case {
        const char* name;
        std::string text;
        const char* snippet;  // nullptr: key not taken
        const char* preview;
        const char* live;
    };
    const std::string img = "\"<img src=\"file:\\/\\/\\/C:/Sites/nav.gif\" editor=\"barwright\" border=\"0\">\"";
    const std::string longest(1023, 'v');
    const Case cases[] = {
        {"as Barwright writes it",
         "SnippetID=\"Menus (Project)\\Home.qtw\"\nPreviewHTML=" + img + "\nLiveHTML=" + img + "\n",
         "\"Menus (Project)\\Home.qtw\"", img.c_str(), img.c_str()},
        {"CR LF lines", "SnippetID=\"a\"\r\nPreviewHTML=\"p\"\r\nLiveHTML=\"l\"\r\n", "\"a\"", "\"p\"", "\"l\""},
        {"keys in any case, blanks before key and value", "  snippetid= \"a\"\n\tLIVEhtml=\t\"l\"", "\"a\"", nullptr, "\"l\""},
        {"unknown keys and blank lines", "\n\nOther=\"x\"\nLiveHTML=\"l\"\n\n", nullptr, nullptr, "\"l\""},
        {"a line without equals sign does not swallow the next", "garbage\nLiveHTML=\"l\"\n", nullptr, nullptr, "\"l\""},
        {"blank after the key is part of the key", "LiveHTML =\"l\"\n", nullptr, nullptr, nullptr},
        {"last of a repeated key wins", "LiveHTML=\"1\"\nLiveHTML=\"2\"\n", nullptr, nullptr, "\"2\""},
        {"empty value is taken", "LiveHTML=\n", nullptr, nullptr, ""},
        {"empty file", "", nullptr, nullptr, nullptr},
        {"value keeps trailing blanks and equals signs", "LiveHTML=\"a=b\"  \n", nullptr, nullptr, "\"a=b\"  "},
        {"value longest kept", "LiveHTML=" + longest, nullptr, nullptr, longest.c_str()},
        {"over-long value is dropped, the next line still read",
         "LiveHTML=" + std::string(1024, 'v') + "\nPreviewHTML=\"p\"\n", nullptr, "\"p\"", nullptr},
        {"over-long snippet identifier is dropped", "SnippetID=" + std::string(260, 's') + "\nLiveHTML=\"l\"", nullptr, nullptr, "\"l\""},
        {"over-long line is dropped whole", "LiveHTML=" + std::string(70000, 'v') + "\nLiveHTML=\"l\"\n", nullptr, nullptr, "\"l\""},
        {"over-long key", std::string(128, 'k') + "=x\nLiveHTML=\"l\"", nullptr, nullptr, "\"l\""},
        {"zero byte ends the value", std::string("LiveHTML=\"a\0b\"\n", 15), nullptr, nullptr, "\"a"},
    };
    for (const Case& c : cases) {
        const ResultFileContents read = ParseResultText(c.text);
        EXPECT_EQ(read.hasSnippetId, c.snippet != nullptr) << c.name;
        EXPECT_EQ(read.hasPreviewHtml, c.preview != nullptr) << c.name;
        EXPECT_EQ(read.hasLiveHtml, c.live != nullptr) << c.name;
        EXPECT_EQ(read.snippetId, c.snippet ? c.snippet : "") << c.name;
        EXPECT_EQ(read.previewHtml, c.preview ? c.preview : "") << c.name;
        EXPECT_EQ(read.liveHtml, c.live ? c.live : "") << c.name;
    }
}

TEST(ResultFile, ReadsFromAFileAsFromText)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const std::string text = "SnippetID=\"s\"\r\nPreviewHTML=\"p\"\r\nLiveHTML=\"l\"";
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    const ResultFileContents read = ReadResultFile(file);
    std::fclose(file);
    EXPECT_EQ(read.snippetId, "\"s\"");
    EXPECT_EQ(read.previewHtml, "\"p\"");
    EXPECT_EQ(read.liveHtml, "\"l\"");
}
