// Every string the program loads by number is in its string table: a missing entry shows the
// user "Error<id>" instead of the message, or silently falls back to a built-in text.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The ids the application and its modules pass to the message functions, to their string
// loaders and through the modules' services.
const UINT kProgramStringIds[] = {
    89, 100, 101, 109, 110, 111, 112, 113, 114, 116, 117, 119, 120, 122, 10010, 10011, 10012, 10013,
    10014, 10015, 10016, 10017, 10018, 10020, 10021, 10026, 10027, 10028, 10040, 10045, 10065,
    10068, 10070, 10071, 10073, 32818, 32821, 32825, 32826, 32828, 32830, 32831, 32838, 32845,
    32847, 32857, 32858, 32869, 32882, 32886, 32887, 32895, 32896, 32897, 32904, 32905, 32906,
    32907, 32909, 32910, 32911, 32916, 32917, 32918, 32920, 32921, 32922, 32929, 32933, 32934,
    32943, 32944, 32945, 32946, 32947, 32951, 32952, 32953, 32954, 32955, 32956, 32957, 32958,
    32967, 32968, 32969, 32970, 32978, 32979, 32980, 32981, 32982, 32989, 32994, 33018, 33025,
    33026, 33027, 33028, 33029, 33033, 33051, 33052, 33053, 33054, 33066, 33067, 33093, 33094,
    33095, 33096, 33097, 33098, 33109, 33110, 33111, 33113, 33114, 33120, 33129, 33130, 33135,
    33136, 33149, 33150, 33151, 33152, 33153, 33154, 33158, 33159, 33169, 33170, 33171, 33172,
    33173, 33174, 33188, 33193, 33194, 33195, 33196, 33212, 33213, 33214, 33215, 33223, 33224,
    33225, 33226, 33227, 33228, 33229, 33230, 33231, 33232, 33233, 33234, 33235, 33236, 33237,
    33238, 33239, 33240, 33241, 33242, 33243, 33244, 33245, 33246, 33247, 33248, 33249, 33250,
    33251, 33252, 33253, 33254, 33255, 33256, 33257, 33258, 33259, 33260, 33261, 33262, 33263,
    33271, 33274, 33275, 33278, 33279, 33281, 33282, 33284, 33285, 33290, 33291, 33292,
};

std::string LoadProgramString(UINT id)
{
    char buffer[1024] = {};
    const int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? std::size_t(length) : 0);
}

TEST(StringTable, EveryIdTheProgramUsesHasAText)
{
    for (UINT id : kProgramStringIds)
        EXPECT_FALSE(LoadProgramString(id).empty()) << "string " << id << " is missing";
}

// Texts whose exact form matters: the placeholders are filled by the callers, the line
// breaks are real ones, and the character sets drive the file and link name filters.
TEST(StringTable, MessagesKeepTheirPlaceholdersAndCharacters)
{
    const struct {
        UINT id;
        const char* text;
    } cases[] = {
        {32826, "The data file %s could not be found. It has either been moved, deleted or is on your CD. "
                "Continuing with defaults."},
        {32952, "Failed to create all the graphics for the NavBar such as %s_b1, etc..."},
        {32951, "Failed to create the Javascript file\n%s"},
        {32896, "Failed to find the default off state for the NavBar!\nContinuing in normal mode."},
        {33093, " (Plain)"},
        {33278, "/*?\"<>|"},
        {33279, "*\"<>|"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, LoadProgramString(c.id)) << "string " << c.id;
}

}  // namespace
