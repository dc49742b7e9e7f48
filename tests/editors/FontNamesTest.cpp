// The installed-font list's rules: which reports are listed, the script suffixes, the order and
// uniqueness of the list, and the substitution file read from a fixture.
#include "editors/FontNames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace FontNames;

TEST(FontNames, ReportsThatAreListed)
{
    struct Case {
        bool nt;
        int charSet;
        const char* face;
        unsigned type;
        ReportAction action;
    } cases[] = {
        {true, 0, "Arial", 4, kFamily},          {true, 2, "Symbol", 4 | 2, kFamily},
        {true, 0, "Courier", 1, kIgnore},        {true, 128, "Gothic", 4, kIgnore},
        {true, 204, "Arial", 4, kIgnore},        {false, 204, "Arial", 4, kScriptRecord},
        {false, 186, "Courier New", 4, kScriptRecord}, {false, 162, "Times New Roman", 4, kScriptRecord},
        {false, 238, "arial", 4, kIgnore},       {false, 161, "Tahoma", 4, kIgnore},
        {false, 0, "Tahoma", 4, kFamily},        {false, 0, "Tahoma", 1, kIgnore},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyReport(c.nt, c.charSet, c.face, c.type), c.action)
            << c.nt << " " << c.charSet << " " << c.face << " " << c.type;

    struct Member {
        int charSet;
        unsigned type;
        const char* fullName;
        bool accepted;
    } members[] = {
        {0, 4, "Arial Bold", true}, {2, 4, "Wingdings", true}, {0, 4, "@Mincho", false},
        {204, 4, "Arial", false},   {0, 1, "Arial", false},    {0, 4, "", true},
    };
    for (const Member& m : members)
        EXPECT_EQ(AcceptFamilyMember(m.charSet, m.type, m.fullName), m.accepted) << m.fullName;
}

TEST(FontNames, ScriptSuffixesStayInsideTheFullName)
{
    struct Case {
        std::string fullName;
        const char* script;
        int charSet;
        std::string expected;
    } cases[] = {
        {"Arial", "Cyrillic", 204, "Arial Cyr"},
        {"Times New Roman", "Central European", 238, "Times New Roman CE"},
        {"Courier New", "Greek", 161, "Courier New Greek"},
        {"Arial", "Turkish", 162, "Arial Tur"},
        {"Arial", "Western", 0, "Arial"},
        {std::string(56, 'a'), "Baltic", 186, std::string(56, 'a') + " Baltic"},  // 63 characters
        {std::string(57, 'a'), "Baltic", 186, std::string(57, 'a')},             // name and script too long
        // A report without a script name must not push the suffix past the buffer.
        {std::string(62, 'a'), "", 186, std::string(62, 'a')},
        {std::string(58, 'a'), "", 186, std::string(58, 'a')},
        {std::string(56, 'a'), "", 186, std::string(56, 'a') + " Baltic"},
    };
    for (const Case& c : cases) {
        struct {
            char name[kFullNameSize];
            char guard[8];
        } buffer;
        std::memset(&buffer, '#', sizeof buffer);
        std::memcpy(buffer.name, c.fullName.c_str(), c.fullName.size() + 1);
        AppendScriptSuffix(buffer.name, c.script, c.charSet);
        EXPECT_EQ(std::string(buffer.name), c.expected) << c.fullName.size() << " " << c.script;
        EXPECT_EQ(std::string(buffer.guard, sizeof buffer.guard), std::string(8, '#'));
    }
}

TEST(FontNames, SortedByFaceAndFullNameEachFullNameOnce)
{
    const std::vector<Names> names = {
        {"Zeta", "Zeta"}, {"Arial", "Arial Bold"}, {"Arial", "Arial"},
        {"arial", "Arial"},  // the same face reported in the symbol set
        {"Beta", "beta"},  {"Beta", "Beta"},  // differ in case only: both stay
    };
    EXPECT_EQ(SortAndUniqueOrder(names), (std::vector<int>{2, 1, 4, 5, 0}));
    EXPECT_TRUE(SortAndUniqueOrder({}).empty());
}

// Comments (also indented), empty lines, blanks and tabs around both parts, CR LF and LF line
// ends, a line without a comma, a substitute with commas, a line longer than an entry may be,
// and a last line without a line end.
const char kFixture[] =
    "// Faces and what replaces them\r\n"
    "   \t// Courier, Commented Out\r\n"
    "\r\n"
    "\n"
    "  Helvetica  ,   Liberation Sans  \r\n"
    "\tTimes\t,\tLiberation Serif\t\n"
    "arial,DejaVu Sans\n"
    "Arial,Second Match\n"
    "Plain line without a comma\n"
    "Commas, One, Two\n"
    "%LONG% Rest, Read As Its Own Line\n"
    "Tail, Last";

TEST(FontNames, SubstitutionFile)
{
    std::string text = kFixture;
    text.replace(text.find("%LONG%"), 6, std::string(254, 'x'));
    const char* path = "FontSubFixture.txt";
    std::FILE* file = std::fopen(path, "wb");
    ASSERT_TRUE(file);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);

    struct Case {
        const char* wanted;
        int answer;
        const char* face;
    } cases[] = {
        {"helvetica", 1, "Liberation Sans"}, {"HELVETICA", 1, "Liberation Sans"},
        {"Times", 1, "Liberation Serif"},    {"ARIAL", 1, "DejaVu Sans"},  // the first entry wins
        {"Courier", 0, "Courier"},           {"Commas", 1, "One, Two"},
        {"Rest", 0, "Rest"},                 {"tail", 1, "Last"},
        {"Verdana", 0, "Verdana"},           {"Helvetica Neue", 0, "Helvetica Neue"},
    };
    for (const Case& c : cases) {
        CString face = c.wanted;
        EXPECT_EQ(SubstituteFromFile(path, face), c.answer) << c.wanted;
        EXPECT_EQ(std::string(static_cast<const char*>(face)), c.face) << c.wanted;
    }
    std::remove(path);

    CString face = "Helvetica";
    EXPECT_EQ(SubstituteFromFile("NoSuchFontSub.txt", face), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(face)), "Helvetica");
}

}  // namespace
