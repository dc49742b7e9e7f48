#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "util/StylePropertyTable.h"

namespace {

std::string Lower(const char* s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

TEST(StylePropertyTable, SortedUniqueAndComplete) {
    std::set<int> ids;
    for (int i = 0; i < kStylePropertyCount; ++i) {
        ids.insert(StylePropertyTable[i].id);
        if (i > 0) {
            EXPECT_LT(Lower(StylePropertyTable[i - 1].name), Lower(StylePropertyTable[i].name));
        }
        DWORD mask = 0xDEAD;
        EXPECT_EQ(LookupPropertyName(StylePropertyTable[i].name, &mask), StylePropertyTable[i].id);
        EXPECT_EQ(mask, StylePropertyTable[i].changeMask);
    }
    EXPECT_EQ(ids.size(), 85u);
    EXPECT_EQ(*ids.begin(), 2);
    EXPECT_EQ(*ids.rbegin(), 86);
}

TEST(StylePropertyTable, Lookup) {
    struct Case {
        const char* key;
        int id;
        DWORD mask;
    } cases[] = {
        {"textallignment", 66, 0x2},       {"TextAllignmant", 0, 0},
        {"Menu", 43, 0x4000},              {"menu properties", 44, 0x4000},
        {"Menu ", 0, 0},                   {"", 0, 0},
        {"ShadowColour", 53, 0x14},        {"ITALIC", 38, 0x26},
        {"ColProp-KiqIndex", 16, 0},       {"BevelContrast", 2, 0x20000},
        {"QTWFile", 86, 0},                {"Q3DUseOutline", 85, 0x200000},
        {"CurrentConstrainedHeight", 0, 0}, {"ExportType", 27, 0x1000},
        {"BrowseDirectory2", 9, 0x800},    {"TextPosRange", 72, 0x2000},
    };
    for (const auto& c : cases) {
        DWORD mask = 0xDEAD;
        EXPECT_EQ(LookupPropertyName(c.key, &mask), c.id) << c.key;
        EXPECT_EQ(mask, c.mask) << c.key;
    }
    EXPECT_EQ(LookupPropertyName(nullptr, nullptr), 0);
    EXPECT_EQ(LookupPropertyName("Font", nullptr), 28);
}

}  // namespace
