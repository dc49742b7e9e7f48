#include <gtest/gtest.h>

#include <sstream>

#include "util/TextFile.h"
#include "tests/util/TestSupport.h"

namespace {

const UINT kRead = CFile::modeRead;
const UINT kReadWrite = CFile::modeReadWrite;

TEST(TextFile, ReadsSettingsOfAStyleFile) {
    ScratchFolder dir;
    CString style = FilePath(dir.Write("s.qtw",
                              "Trimwork\r\nVersion : 1.2\r\n\r\nKiqFileName : a b.kiq  \r\n"
                              "GraphicType : 7\r\nExportCheckSum : 1234\r\n"));
    CTextFile file;
    ASSERT_TRUE(file.Open(style, kRead));
    EXPECT_EQ(file.ReadGraphicType(), 7);  // past an empty line
    EXPECT_EQ(file.ReadExportCheckSum(), 1234);
    EXPECT_EQ(file.ReadGraphicType(), 11);  // from the current position: none left
    EXPECT_EQ(S(file.ReadKeyValue("KiqFileName")), "a b.kiq");
    EXPECT_EQ(S(file.ReadKeyValue("Missing")), "");
    EXPECT_EQ(S(file.ReadKeyValue("")), "");
    EXPECT_EQ(S(file.GetPath()), S(style));
    file.Close();
    EXPECT_EQ(S(file.GetPath()), "");

    CTextFile indented;
    ASSERT_TRUE(indented.Open(FilePath(dir.Write("i.qtw", "Trimwork\n GraphicType : 3\n")), kRead));
    EXPECT_EQ(indented.ReadGraphicType(), 11);
    EXPECT_EQ(S(indented.ReadLine()), "");
}

struct EntryCase {
    const char* record;
    const char* name;
    DWORD flags;
    int value;
};

void ExpectEntries(const CString& path, std::initializer_list<EntryCase> expected) {
    CTextFile file;
    ASSERT_TRUE(file.Open(FilePath(path), kRead));
    for (const auto& e : expected) {
        CString name;
        DWORD flags = 99;
        int value = 99;
        EXPECT_EQ(S(file.ReadEntry(&name, &flags, &value)), e.record);
        EXPECT_EQ(S(name), e.name) << e.record;
        EXPECT_EQ(flags, e.flags) << e.record;
        EXPECT_EQ(value, e.value) << e.record;
    }
}

TEST(TextFile, ReadsListEntries) {
    ScratchFolder dir;
    CString list = dir.Write("QTWTypes.twt",
                             "#1\n&Buttons\n2048$button.qtw\n\xB6" "12\xB6\n$bare.qtw\n\xB6" "0\xB6\n"
                             "16777217$100%.qtw\n\xB6" "5\xB6\n");
    ExpectEntries(list, {{"#1", "", 0, 0},
                         {"&Buttons", "", 0, 0},
                         {"16779264$button.qtw", "button.qtw", 16779264, 12},
                         {"0$bare.qtw", "bare.qtw", 0, 0},
                         {"16777217$100%.qtw", "100%.qtw", 16777217, 5},
                         {"", "", 0, 0}});

    // In a project folder the entries gain the project flag; without "$" the first character
    // is dropped; an unversioned file has no value lines.
    CFileUtils::CreateFolder(dir / "Site (Project)\\x", TRUE);
    CString projectList = dir.Write("Site (Project)\\QTWTypes.twt", "7$a.qtw\nxb.qtw\n");
    ExpectEntries(projectList, {{"33554439$a.qtw", "a.qtw", 33554439, 0},
                                {"0$b.qtw", "b.qtw", 0, 0}});

    // A versioned entry without its value line does not swallow the next entry.
    CString gap = dir.Write("gap.twt", "#1\n1$a.qtw\n2$b.qtw\n\xB6" "3\xB6\n");
    ExpectEntries(gap, {{"#1", "", 0, 0},
                        {"16777217$a.qtw", "a.qtw", 16777217, 0},
                        {"16777218$b.qtw", "b.qtw", 16777218, 3},
                        {"", "", 0, 0}});

    CTextFile file;
    ASSERT_TRUE(file.Open(FilePath(list), kRead));
    DWORD flags;
    EXPECT_EQ(S(file.ReadEntry(nullptr, &flags, nullptr)), "");
}

TEST(TextFile, ReplaceListEntry) {
    ScratchFolder dir;
    const std::string original = "#1\n&G\n2048$button.qtw\n\xB6" "1\xB6\n\n16777216$later.qtw\n\xB6" "2\xB6\n";
    dir.Write("list.twt", original);

    CTextFile file;
    ASSERT_TRUE(file.Open(FilePath(dir / "list.twt"), kReadWrite));
    EXPECT_TRUE(ReplaceListEntry(&file, "nothing", 5));
    file.Close();
    EXPECT_EQ(dir.Read("list.twt"), original);

    ASSERT_TRUE(file.Open(FilePath(dir / "list.twt"), kReadWrite));
    EXPECT_TRUE(ReplaceListEntry(&file, "LATER", 77));
    file.Close();
    // Records after the empty line survive; the group line gets no value line.
    ExpectEntries(dir / "list.twt", {{"#1", "", 0, 0},
                                     {"&G", "", 0, 0},
                                     {"16779264$button.qtw", "button.qtw", 16779264, 1},
                                     {"16777216$later.qtw", "later.qtw", 16777216, 77},
                                     {"", "", 0, 0}});

    // An unversioned list is rewritten in the current form, so the value is read back.
    dir.Write("old.twt", "&G\n2048$a.qtw\n");
    ASSERT_TRUE(file.Open(FilePath(dir / "old.twt"), kReadWrite));
    EXPECT_TRUE(ReplaceListEntry(&file, "a", 3));
    file.Close();
    ExpectEntries(dir / "old.twt", {{"#1", "", 0, 0},
                                    {"&G", "", 0, 0},
                                    {"16779264$a.qtw", "a.qtw", 16779264, 3},
                                    {"", "", 0, 0}});
}

TEST(TextFile, SniffFileKind) {
    ScratchFolder dir;
    struct Case {
        const char* content;
        int kind;
    } cases[] = {{"Barwright\r\nx", 1}, {"TRIMWORK\n", 1}, {"preview", 0},
                 {"Trimworks\n", 2},     {"", 2},           {"\nTrimwork", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(SniffFileKind(FilePath(dir.Write("k.txt", c.content))), c.kind) << c.content;
    EXPECT_EQ(SniffFileKind(FilePath(dir / "missing.txt")), 2);
}

TEST(TextFile, ReadTextFileToBuffer) {
    ScratchFolder dir;
    DWORD length = 99;
    char* buffer = ReadTextFileToBuffer(FilePath(dir.Write("t.txt", std::string("ab\0c", 4))), &length);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(std::string(buffer, 5), std::string("ab\0c\0", 5));
    delete[] buffer;

    EXPECT_EQ(ReadTextFileToBuffer(FilePath(dir.Write("e.txt", "")), &length), nullptr);
    EXPECT_EQ(length, 0u);

    bool threw = false;
    try {
        ReadTextFileToBuffer(FilePath(dir / "missing.txt"), &length);
    } catch (CFileException* e) {
        threw = true;
        e->Delete();
    }
    EXPECT_TRUE(threw);
}

TEST(TextFile, FindNoCase) {
    struct Case {
        const char* pattern;
        const char* text;
        int expected;
    } cases[] = {
        {"body", "<HTML><BODY>", 7}, {"body", "<body>", 1}, {"BODY", "<body>", -1},
        {"body", "<bod", -1},        {"", "x", -1},         {"x", "", -1},
        {"ab", "aab", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindNoCase(c.pattern, c.text), c.expected) << c.pattern << " in " << c.text;
}

TEST(TextFile, WriteTextLines) {
    struct Case {
        std::string text;
        const char* expected;
    } cases[] = {
        {"one\r\n\r\ntwo", "one\ntwo"},
        {std::string("a\0b", 3), "ab"},
        {"end\n", "end\n"},
        {"\r\nx", "\nx"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        WriteTextLines(out, c.text.data(), static_cast<int>(c.text.size()));
        EXPECT_EQ(out.str(), c.expected);
    }
    std::ostringstream out;
    WriteTextLines(out, "abcdef", 3);
    EXPECT_EQ(out.str(), "abc");
}

}  // namespace
