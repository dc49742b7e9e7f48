#include <gtest/gtest.h>

#include "util/FileUtils.h"
#include "tests/util/TestSupport.h"

namespace {

struct OneArgCase {
    const char* input;
    const char* expected;
};

void ExpectEach(const char* what, CString (*op)(const CString&),
                std::initializer_list<OneArgCase> cases) {
    for (const auto& c : cases)
        EXPECT_EQ(S(op(c.input)), c.expected) << what << "(" << c.input << ")";
}

TEST(PathText, NamesFoldersAndExtensions) {
    ExpectEach("GetExtension", CFileUtils::GetExtension,
               {{"C:\\x\\button.B.GIF", "gif"}, {".profile", ""}, {"noext", ""},
                {"C:\\my.site\\index", ""}, {"a.", ""}});
    ExpectEach("RemoveExtension", CFileUtils::RemoveExtension,
               {{"a.b.c", "a.b"}, {".profile", ".profile"}, {"C:\\my.site\\index", "C:\\my.site\\index"}});
    ExpectEach("GetFileName", CFileUtils::GetFileName, {{"C:\\a\\b.gif", "b.gif"}, {"b.gif", "b.gif"}});
    ExpectEach("GetFolder", CFileUtils::GetFolder,
               {{"C:\\a\\b\\", "C:\\a\\"}, {"C:\\a\\b.gif", "C:\\a\\"}, {"name", "name"},
                {"\\name", "\\name"}, {"C:\\a", "C:\\"}});
    ExpectEach("GetParentFolder", CFileUtils::GetParentFolder,
               {{"C:\\a\\b\\\\", "C:\\a"}, {"\\name", "\\name"}, {"name", "name"}});
    ExpectEach("WithBackslash", CFileUtils::WithBackslash,
               {{"", ""}, {"C:\\a", "C:\\a\\"}, {"C:\\a\\", "C:\\a\\"}});
    ExpectEach("RemoveTrailingDigits", CFileUtils::RemoveTrailingDigits,
               {{"button12", "button"}, {"12", ""}, {"b1x", "b1x"}});
    ExpectEach("GetDriveRoot", CFileUtils::GetDriveRoot, {{"c:\\x", "c:\\"}, {"\\\\s\\x", ""}});

    CString empty;
    CFileUtils::AddBackslash(empty);
    EXPECT_EQ(S(empty), "\\");
    CString trailing = "C:\\a\\\\\\";
    CFileUtils::RemoveTrailingBackslash(trailing);
    EXPECT_EQ(S(trailing), "C:\\a");
    EXPECT_EQ(S(CFileUtils::MakePath("C:\\a", "b", "gif")), "C:\\a\\b.gif");
    EXPECT_EQ(S(CFileUtils::AddDriveLetter("\\x", 'D')), "D:\\x");
    EXPECT_EQ(S(CFileUtils::AddDriveLetter("C:\\x", 'D')), "C:\\x");
}

TEST(PathText, Predicates) {
    struct Case {
        const char* path;
        bool absolute, unc, machine;
    } cases[] = {
        {"C:\\x", true, false, false}, {"c:", true, false, false},  {"\\x", true, false, false},
        {"\\\\srv", true, true, true}, {"\\\\srv\\share", true, true, false},
        {"x\\y", false, false, false}, {"", false, false, false},   {"1:\\x", false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!!CFileUtils::IsAbsolutePath(c.path), c.absolute) << c.path;
        EXPECT_EQ(!!CFileUtils::IsUNCPath(c.path), c.unc) << c.path;
        EXPECT_EQ(!!CFileUtils::IsNetworkMachinePath(c.path), c.machine) << c.path;
    }
    EXPECT_TRUE(CFileUtils::IsSameBaseName("C:\\x\\Button3.gif", "D:\\button12.png"));
    EXPECT_FALSE(CFileUtils::IsSameBaseName("3.gif", "4.gif"));  // both bases empty
    EXPECT_TRUE(CFileUtils::IsSameDrive("c:\\a", "C:\\b"));
    EXPECT_FALSE(CFileUtils::IsSameDrive("\\a", "\\b"));
    EXPECT_TRUE(CFileUtils::IsPlaceholderName(""));
    EXPECT_TRUE(CFileUtils::IsPlaceholderName("-_-"));
    EXPECT_FALSE(CFileUtils::IsPlaceholderName("-a"));
    EXPECT_TRUE(CFileUtils::IsProjectFolder("C:\\Web (PROJECT)\\x"));
    EXPECT_FALSE(CFileUtils::IsProjectFolder("C:\\Web (Theme)\\x"));
    EXPECT_TRUE(CFileUtils::IsThemeFolder("C:\\Web (Theme)\\x"));
    EXPECT_EQ(S(CFileUtils::ExtensionForGraphicType(1)), "jpg");
    EXPECT_EQ(S(CFileUtils::ExtensionForGraphicType(4)), "png");
    EXPECT_EQ(S(CFileUtils::ExtensionForGraphicType(2)), "gif");
}

TEST(PathText, MakeRelativePath) {
    struct Case {
        const char* path;
        const char* base;
        const char* expected;
    } cases[] = {
        {"C:\\site\\img\\a.gif", "C:\\site\\pages", "..\\img\\a.gif"},
        {"C:\\site\\img\\a.gif", "D:\\site\\pages", ""},
        {"C:\\site\\img\\a.gif", "", "C:\\site\\img\\a.gif"},
        {"c:\\SITE\\a.gif", "C:\\site\\", "a.gif"},
        {"C:\\site\\pagesX\\a.gif", "C:\\site\\pages\\", "..\\pagesX\\a.gif"},
        {"C:\\a.gif", "C:\\x\\y\\z", "..\\..\\..\\a.gif"},
        {"\\\\srv\\share\\img\\a.gif", "\\\\SRV\\share\\pages", "..\\img\\a.gif"},
        {"\\\\srv\\share\\a.gif", "\\\\srv\\other\\pages", ""},
        {"\\\\srv\\share\\a.gif", "\\\\box\\share\\pages", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(S(CFileUtils::MakeRelativePath(c.path, c.base)), c.expected)
            << c.path << " from " << c.base;
}

TEST(PathText, CollapseDotDot) {
    ExpectEach("CollapseDotDot", CFileUtils::CollapseDotDot,
               {{"C:\\a\\b\\..\\c", "C:\\a\\c"},
                {"C:\\a\\b\\c\\..\\..\\d", "C:\\a\\d"},
                {"..\\x", "..\\x"},
                {"C:\\..\\x", "C:\\..\\x"},
                {"http://host/a/b/../c", "http://host/a/c"},
                // ".." inside a name is no parent reference
                {"C:\\a\\file..txt", "C:\\a\\file..txt"},
                {"C:\\a\\b..\\..\\c", "C:\\a\\c"}});
}

TEST(PathText, UrlsAndFileUrls) {
    ExpectEach("URLToPath", CFileUtils::URLToPath,
               {{"file:///C|/My%20Site/index.html/", "C:\\My Site\\index.html"},
                {"", ""},
                {"file://server/share/a.gif", "\\\\server\\share\\a.gif"},
                {"FILE:///C:/x", "FILE:\\\\\\C:\\x"}});
    ExpectEach("PathToFileURL", CFileUtils::PathToFileURL,
               {{"C:\\a b\\x.gif", "file:///C:/a b/x.gif"},
                {"\\\\srv\\share\\x.gif", "file://srv/share/x.gif"},
                {"img\\x.gif", "img\\x.gif"}});
    EXPECT_EQ(S(CFileUtils::ToForwardSlashes("a\\b/c")), "a/b\\/c");

    struct Case {
        const char* text;
        bool url, scheme;
    } cases[] = {
        {"www.example.com/", true, false}, {"a.b.c", true, false},     {"example.com", false, false},
        {"ftp:x", true, true},             {"MailTo:me@x", true, true}, {"C:\\x.y.z", false, false},
        {"a.b.c d", false, false},         {"a..b.c", false, false},    {"file:///C:/x", false, false},
        {"www.example.com", true, false},  {"www.example.com:80", true, false},
    };
    for (const auto& c : cases) {
        BOOL scheme = TRUE;
        EXPECT_EQ(!!CFileUtils::IsURL(c.text, &scheme), c.url) << c.text;
        EXPECT_EQ(!!scheme, c.scheme) << c.text;
    }
}

TEST(PathText, MakeValidFileName) {
    struct Case {
        const char* name;
        bool keepSpaces, keepDots;
        const char* expected;
    } cases[] = {
        {" word1 / word2?", true, false, "word1 word2"},
        {"***", true, true, "Graphic"},
        {"my button", false, false, "my_button"},
        {"a  \t b", true, false, "a b"},
        {"a.b,c", false, true, "a.b,c"},
        {"a.b,c", false, false, "abc"},
        {"line1\r\nline2", true, false, "line1_line2"},
        {"a|b:c<d>e\"f", true, true, "abcdef"},
    };
    for (const auto& c : cases) {
        CString name = c.name;
        EXPECT_TRUE(CFileUtils::MakeValidFileName(&name, c.keepSpaces, c.keepDots));
        EXPECT_EQ(S(name), c.expected) << c.name;
    }
    EXPECT_FALSE(CFileUtils::MakeValidFileName(nullptr, TRUE, TRUE));
}

TEST(PathText, RootRelativeAndDisplayPaths) {
    FakeServices services;
    services.root = "C:\\BW\\";
    services.templates = "C:\\BW\\TWTemplates\\";
    EXPECT_EQ(S(CFileUtils::MakeAbsolutePath("SysResources\\a.web")), "C:\\BW\\SysResources\\a.web");
    EXPECT_EQ(S(CFileUtils::MakeAbsolutePath("D:\\x")), "D:\\x");
    EXPECT_EQ(S(CFileUtils::MakeAbsolutePath("")), "");

    ExpectEach("MakeDisplayPath", CFileUtils::MakeDisplayPath,
               {{"c:\\bw\\twtemplates\\Buttons\\x.qtw", "Buttons\\x.qtw"},
                {"C:\\BW\\SysResources", "SysResources"},
                {"C:\\BW\\TWTemplatesOld\\x", "TWTemplatesOld\\x"},
                {"D:\\Elsewhere", "D:\\Elsewhere"},
                {"\\\\machine", "machine"},
                {"\\\\", "Network"},
                {"", "Computer"}});
}

}  // namespace
