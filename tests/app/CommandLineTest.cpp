// The command line: switches as a table, then the normalisation of file and folder arguments.
#include "app/AppCommandLineInfo.h"
#include "app/ColourNames.h"
#include "util/AppUtilServices.h"
#include "gallery/StyleFileFinder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Hands the arguments on as the framework does: a leading '/' or '-' makes a switch.
void Parse(CAppCommandLineInfo& info, const std::vector<std::string>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const char* text = args[i].c_str();
        const BOOL isSwitch = text[0] == '/' || text[0] == '-';
        info.ParseParam(isSwitch ? text + 1 : text, isSwitch, i + 1 == args.size());
    }
}

std::string TempDir()
{
    char path[MAX_PATH];
    ::GetTempPathA(MAX_PATH, path);
    std::string dir = std::string(path) + "bw_cmdline";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void Touch(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("x", f);
    std::fclose(f);
}

BOOL FakeImageSize(const CString&, int* width, int* height)
{
    *width = 500;
    *height = 300;
    return TRUE;
}

}  // namespace

TEST(CommandLine, Switches)
{
    struct Case {
        std::vector<std::string> args;
        std::function<void(const CAppCommandLineInfo&)> check;
    };
    const Case cases[] = {
        {{"/HWND:123"}, [](auto& i) { EXPECT_EQ(i.m_editorWindow, (HWND)123); EXPECT_EQ(i.m_hWndGiven, 1); }},
        {{"-hwnd:0"}, [](auto& i) { EXPECT_EQ(i.m_hWndGiven, 1); }},
        {{"/bgcolour:#ff8000"}, [](auto& i) { EXPECT_EQ(i.m_backgroundColour, 0x000080FFu); EXPECT_EQ(i.m_backgroundGiven, 1); }},
        {{"/bgcolour:FF8000"}, [](auto& i) { EXPECT_EQ(i.m_backgroundColour, 0x000080FFu); }},
        {{"/BGCOLOUR:Navy"}, [](auto& i) { EXPECT_EQ(i.m_backgroundColour, 0x00800000u); }},
        {{"/bgcolour:NoColor"}, [](auto& i) { EXPECT_EQ(i.m_backgroundColour, 0xFFFFFFu); EXPECT_EQ(i.m_backgroundGiven, 0); }},
        {{"/bgcolour:nosuchname"}, [](auto& i) { EXPECT_EQ(i.m_backgroundColour, 0xFFFFFFu); EXPECT_EQ(i.m_backgroundGiven, 1); }},
        {{"/gfxtype:7", "/update", "/snippetid:s1", "/result:C:\\r.txt", "/docpath:C:\\site"},
         [](auto& i) {
             EXPECT_EQ(i.m_graphicType, 7);
             EXPECT_EQ(i.m_update, 1);
             EXPECT_STREQ(i.m_snippetId, "s1");
             EXPECT_STREQ(i.GetResultPath(), "C:\\r.txt");
             EXPECT_STREQ(i.GetDocPath(), "C:\\site");
         }},
        {{"/editor:quor bar wright frontpage add-in"}, [](auto& i) { EXPECT_EQ(i.m_editorKind, 1); }},
        {{"/editor:Quor Barwright Dreamweaver Extension", "/editor:Other"}, [](auto& i) { EXPECT_EQ(i.m_editorKind, 2); }},
        {{"first.gif", "second.gif", "/unknown:x", "/other"},
         [](auto& i) { EXPECT_STREQ(i.m_strFileName, "first.gif"); EXPECT_EQ(i.m_graphicType, 11); }},
        {{"/thumbnail:title=|A &amp; B|width=\"40\"height=|30|"},
         [](auto& i) {
             EXPECT_EQ(i.m_thumbnail, 1);
             EXPECT_EQ(i.m_graphicType, 12);
             EXPECT_STREQ(i.GetThumbnailTitle(), "A & B");
             EXPECT_EQ(i.m_width, 40);
             EXPECT_EQ(i.m_height, 30);
         }},
        // A key at the very end, or without its closing delimiter, is ignored.
        {{"/thumbnail:TITLE=#Keep Case#width="}, [](auto& i) { EXPECT_STREQ(i.m_title, "Keep Case"); EXPECT_EQ(i.m_width, 0); }},
        {{"/thumbnail:width=|12"}, [](auto& i) { EXPECT_EQ(i.m_width, 0); }},
    };
    for (const Case& c : cases) {
        CAppCommandLineInfo info;
        Parse(info, c.args);
        SCOPED_TRACE(c.args[0]);
        c.check(info);
    }
}

TEST(CommandLine, ColourNames)
{
    CMapStringToString map;
    BuildColourNameMap(map);
    EXPECT_EQ(map.GetCount(), 140);
    EXPECT_STREQ(LookupColourName("AliceBlue"), "F0F8FF");
    EXPECT_STREQ(LookupColourName("black"), "000000");
    EXPECT_STREQ(LookupColourName("yellowgreen"), "9ACD32");
    EXPECT_STREQ(LookupColourName("notacolour"), "FFFFFF");
}

TEST(CommandLine, ThumbnailWithoutSizeTakesAFifthOfTheImage)
{
    const std::string image = TempDir() + "\\photo.jpg";
    Touch(image);
    CAppCommandLineInfo::SetImageSizeReader(FakeImageSize);
    CAppCommandLineInfo before, after;
    Parse(before, {image, "/thumbnail:title=|x|"});
    Parse(after, {"/thumbnail:title=|x|", image});
    CAppCommandLineInfo::SetImageSizeReader(nullptr);
    for (const CAppCommandLineInfo* info : {&before, &after}) {
        EXPECT_EQ(info->m_width, 100);
        EXPECT_EQ(info->m_height, 60);
    }
    ::DeleteFileA(image.c_str());
}

TEST(CommandLine, NormaliseStyleFilesFoldersAndDocPaths)
{
    const std::string dir = TempDir();
    Touch(dir + "\\Home_over.qtw");
    Touch(dir + "\\_x.qtw");
    Touch(dir + "\\page.htm");
    struct Case {
        std::vector<std::string> args;
        int answer;
        const char* title;
        const char* base;
        int folderGiven;
        const char* folder;
        const char* docPath;
    } cases[] = {
        {{dir + "\\Home_over.qtw"}, 1, "Home_over", "Home", 0, "", ""},
        {{dir + "\\_x.qtw"}, 1, "_x", "_x", 0, "", ""},
        {{"file:" + dir + "/Home_over.qtw"}, 1, "Home_over", "Home", 0, "", ""},
        {{dir}, 1, "", "", 1, dir.c_str(), ""},
        {{"/docpath:" + dir}, 1, "", "", 1, dir.c_str(), dir.c_str()},
        {{"/docpath:" + dir + "\\page.htm"}, 1, "", "", 0, "", ""},
        {{"/docpath:http://example.com/site"}, 1, "", "", 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        CAppCommandLineInfo info;
        Parse(info, c.args);
        EXPECT_EQ(info.Normalise(), c.answer);
        EXPECT_STREQ(info.GetFileTitle(), c.title);
        EXPECT_STREQ(info.m_styleBaseName, c.base);
        EXPECT_EQ(info.m_folderGiven, c.folderGiven);
        EXPECT_STREQ(info.GetFileFolder(), c.folder);
        EXPECT_STREQ(info.GetDocPath(), c.docPath);
        if (*c.title) {
            EXPECT_EQ(info.m_openStyle, 1);
            EXPECT_STREQ(info.GetStyleFilePath(), (dir + "\\" + c.title + ".qtw").c_str());
            EXPECT_EQ(info.GetStartupAction(), CAppCommandLineInfo::kOpenStyle);
        }
    }
    for (const char* name : {"\\Home_over.qtw", "\\_x.qtw", "\\page.htm"})
        ::DeleteFileA((dir + name).c_str());
}

TEST(CommandLine, StartupActions)
{
    struct Case {
        std::vector<std::string> args;
        CAppCommandLineInfo::StartupAction action;
    } cases[] = {
        {{}, CAppCommandLineInfo::kStartPage},
        {{"/gfxtype:3"}, CAppCommandLineInfo::kNewGraphic},
        {{"/gfxtype:12"}, CAppCommandLineInfo::kNewPhoto},
        {{"/gfxtype:12", TempDir()}, CAppCommandLineInfo::kNewPhoto},
    };
    for (const Case& c : cases) {
        CAppCommandLineInfo info;
        Parse(info, c.args);
        EXPECT_EQ(info.GetStartupAction(), c.action);
    }
}

// A picture beside the style file that made it, in a project or in any folder named by its full
// path outside the program root: the program opens the style.
TEST(CommandLine, APictureOpensItsStyleFile)
{
    // A program root and template library elsewhere, as in the installed program.
    struct Installed : CAppUtilServices {
        CString GetRootPath() override { return "C:\\Program Files\\Barwright\\"; }
        CString GetTemplatesFolder() override { return "C:\\Program Files\\Barwright\\TWTemplates\\"; }
        int InformWarningWithPath(UINT, const char*, UINT, UINT, UINT, UINT, int, int) override { return 1; }
    } installed;
    SetAppUtilServices(&installed);
    for (const char* folder : {"\\Site (Project)", "\\Plain site"}) {
        SCOPED_TRACE(folder);
        const std::string project = TempDir() + folder;
        ::CreateDirectoryA(project.c_str(), nullptr);
        Touch(project + "\\Shop2.gif");
        Touch(project + "\\Shop.qtw");
        const CAppCommandLineInfo::StyleFileFinder previous = CAppCommandLineInfo::GetStyleFileFinder();
        CAppCommandLineInfo::SetStyleFileFinder(FindStyleFileFor);
        CAppCommandLineInfo info;
        Parse(info, {project + "\\Shop2.gif"});
        EXPECT_EQ(info.Normalise(), 1);
        CAppCommandLineInfo::SetStyleFileFinder(previous);
        EXPECT_EQ(info.m_openStyle, 1);
        EXPECT_STREQ(info.GetFileTitle(), "Shop");
        const CString styleFile = info.GetStyleFilePath();  // in the folder as the argument spelt it
        EXPECT_EQ(styleFile.CompareNoCase((project + "\\Shop.qtw").c_str()), 0) << (const char*)styleFile;
        for (const char* name : {"\\Shop2.gif", "\\Shop.qtw"})
            ::DeleteFileA((project + name).c_str());
        ::RemoveDirectoryA(project.c_str());
    }
    SetAppUtilServices(nullptr);
}
