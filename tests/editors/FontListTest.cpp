// The installed-font list built from the screen's font enumeration, and the substitution that
// leaves installed faces alone.
#include "editors/FontList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string FullName(const ENUMLOGFONTA* font)
{
    return reinterpret_cast<const char*>(font->elfFullName);
}

const char* const kSuffixes[] = {" Baltic", " CE", " Greek", " Cyr", " Tur"};

bool EndsWithScriptSuffix(const std::string& name)
{
    for (const char* suffix : kSuffixes) {
        const std::size_t length = std::strlen(suffix);
        if (name.size() > length && name.compare(name.size() - length, length, suffix) == 0)
            return true;
    }
    return false;
}

TEST(FontList, EnumeratesTrueTypeFontsSortedAndOnce)
{
    for (bool nt : {true, false}) {
        CFontList list;
        BuildFontList(list, nt);
        ASSERT_GT(list.GetCount(), 0) << nt;
        for (int i = 0; i < list.GetCount(); ++i) {
            const ENUMLOGFONTA* font = list.GetFont(i);
            const std::string name = FullName(font);
            const int charSet = font->elfLogFont.lfCharSet;
            EXPECT_EQ(font->elfLogFont.lfHeight, 21);
            EXPECT_EQ(font->elfLogFont.lfWidth, 0);
            EXPECT_FALSE(!name.empty() && name[0] == '@') << name;
            if (charSet == 0 || charSet == 2)
                continue;
            // Only the script variants of the core faces, and only on the older platforms.
            EXPECT_FALSE(nt) << name;
            const std::string face = font->elfLogFont.lfFaceName;
            EXPECT_TRUE(face == "Times New Roman" || face == "Arial" || face == "Courier New") << face;
            EXPECT_TRUE(EndsWithScriptSuffix(name)) << name;
        }
        for (int i = 1; i < list.GetCount(); ++i) {
            const ENUMLOGFONTA* before = list.GetFont(i - 1);
            const ENUMLOGFONTA* font = list.GetFont(i);
            EXPECT_LE(_stricmp(before->elfLogFont.lfFaceName, font->elfLogFont.lfFaceName), 0) << FullName(font);
            EXPECT_NE(FullName(before), FullName(font));
        }

        // Building again replaces the records rather than adding to them.
        const int count = list.GetCount();
        BuildFontList(list, nt);
        EXPECT_EQ(list.GetCount(), count);
    }
}

TEST(FontList, SubstitutesOnlyFacesThatAreNotInstalled)
{
    CFontList list;
    BuildFontList(list, true);
    ASSERT_GT(list.GetCount(), 0);
    std::string installed = FullName(list.GetFont(0));
    std::string shouted = installed;
    for (char& c : shouted)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));

    CreateDirectoryA("fontsub-root", nullptr);
    CreateDirectoryA("fontsub-root\\SysResources", nullptr);
    std::FILE* file = std::fopen("fontsub-root\\SysResources\\FontSub.txt", "wb");
    ASSERT_TRUE(file);
    std::fprintf(file, "%s, Replaced\r\nNo Such Face Here, %s\r\n", installed.c_str(), installed.c_str());
    std::fclose(file);

    struct Case {
        std::string wanted;
        int answer;
        std::string face;
    } cases[] = {
        {installed, 0, installed},  // installed: the file's entry for it does not count
        {shouted, 0, shouted},      // installed in another case: left as written
        {"no such face here", 1, installed},
        {"Another Missing Face", 0, "Another Missing Face"},
    };
    for (const Case& c : cases) {
        CString face = c.wanted.c_str();
        EXPECT_EQ(SubstituteFont(list, "fontsub-root\\", &face), c.answer) << c.wanted;
        EXPECT_EQ(std::string(static_cast<const char*>(face)), c.face) << c.wanted;
    }
    EXPECT_EQ(SubstituteFont(list, "fontsub-root\\", nullptr), 0);
    CString face = "No Such Face Here";
    EXPECT_EQ(SubstituteFont(list, "no-such-root\\", &face), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(face)), "No Such Face Here");

    DeleteFileA("fontsub-root\\SysResources\\FontSub.txt");
    RemoveDirectoryA("fontsub-root\\SysResources");
    RemoveDirectoryA("fontsub-root");
}

}  // namespace
