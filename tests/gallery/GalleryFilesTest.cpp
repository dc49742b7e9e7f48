#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gallery/GalleryTypeFile.h"
#include "gallery/ProjectFolders.h"
#include "tests/util/TestSupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const std::string kSize = "\xB6" "5242960" "\xB6" "\r\n";

TEST(GalleryTypeFileTest, DeletingAnEntryTakesOutExactlyItsLinesAndKeepsTheRest)
{
    const std::string typeFile = "#1\r\n"
                                 "16777231$Banana.qtw\r\n" + kSize +
                                 "16777231$A.qtw\r\n" + kSize +
                                 "16777231$Pear.qtw$preview\r\n" + kSize +
                                 "16777231$a.qtw.bak\r\n" + kSize +
                                 "16777231$Last.qtw";  // no line end after the last line
    struct Case {
        const char* deleted;
        TypeFileRemoval result;
        std::string expected;
    } cases[] = {
        {"a.qtw", TypeFileRemoval::kRemoved,
         "#1\r\n16777231$Banana.qtw\r\n" + kSize + "16777231$Pear.qtw$preview\r\n" + kSize +
             "16777231$a.qtw.bak\r\n" + kSize + "16777231$Last.qtw"},
        {"PEAR.QTW", TypeFileRemoval::kRemoved,
         "#1\r\n16777231$Banana.qtw\r\n" + kSize + "16777231$A.qtw\r\n" + kSize + "16777231$a.qtw.bak\r\n" + kSize +
             "16777231$Last.qtw"},
        {"last.qtw", TypeFileRemoval::kRemoved,
         "#1\r\n16777231$Banana.qtw\r\n" + kSize + "16777231$A.qtw\r\n" + kSize + "16777231$Pear.qtw$preview\r\n" +
             kSize + "16777231$a.qtw.bak\r\n" + kSize},
        {"nana.qtw", TypeFileRemoval::kNotListed, typeFile},
        {"", TypeFileRemoval::kNotListed, typeFile},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        folder.Write("QTWTypes.twt", typeFile);
        EXPECT_EQ(RemoveTypeFileEntry(folder.Path(), c.deleted), c.result) << c.deleted;
        EXPECT_EQ(folder.Read("QTWTypes.twt"), c.expected) << c.deleted;
        EXPECT_FALSE(CFileUtils::FileExists(folder / "QTWTypesNEW.twt")) << c.deleted;
    }
    ScratchFolder empty;
    EXPECT_EQ(RemoveTypeFileEntry(empty.Path(), "a.qtw"), TypeFileRemoval::kNoTypeFile);
}

std::vector<std::string> Sorted(const std::vector<CString>& list)
{
    std::vector<std::string> out;
    for (const CString& s : list)
        out.push_back(S(s));
    std::sort(out.begin(), out.end());
    return out;
}

TEST(ProjectFoldersTest, ProjectsAreMarkedFoldersBesideTemplatesAndEveryFolderOfTheFallback)
{
    ScratchFolder templates;
    for (const char* name : {"Shop (Project)", "small (project)", "Buttons", "Default (Project)"})
        FileSystem::CreateFolder(templates / name);
    templates.Write("Note (Project).txt", "not a folder");
    std::vector<CString> names{"stale"};
    CProjectFolderLister(templates.Path() + "\\", false).ListProjects(names);
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"Default (Project)", "Shop (Project)", "small (project)"}));

    CProjectFolderLister(templates.Path(), true).ListProjects(names);
    EXPECT_EQ(Sorted(names),
              (std::vector<std::string>{"Buttons", "Default (Project)", "Shop (Project)", "small (project)"}));
    CProjectFolderLister(CString(), false).ListProjects(names);
    EXPECT_TRUE(names.empty());
}

TEST(ProjectFoldersTest, AProjectGraphicIsAStyleFileWithAThumbnail)
{
    ScratchFolder projects;
    FileSystem::CreateFolder(projects / "Shop (Project)");
    for (const char* file : {"a.qtw", "a.qgt", "B.QTW", "B.jpg", "c.qtw", "d.qgt", "e.txt", "f.qtw.bak", "f.qgt"})
        projects.Write((std::string("Shop (Project)\\") + file).c_str(), "x");
    std::vector<CString> files{"stale"};
    ListProjectGraphics(projects.Path() + "\\", "Shop (Project)", files);
    const CString folder = projects / "Shop (Project)";
    EXPECT_EQ(Sorted(files), (std::vector<std::string>{S(folder + "\\B.QTW"), S(folder + "\\a.qtw")}));
}

TEST(ProjectFoldersTest, DeletingAProjectRemovesItsTreeAndRefusesNamesOutsideTheFolder)
{
    ScratchFolder projects;
    FileSystem::CreateFolder(projects / "Shop (Project)");
    FileSystem::CreateFolder(projects / "Shop (Project)\\images");
    FileSystem::CreateFolder(projects / "Shop (Project)\\images\\deep");
    projects.Write("Shop (Project)\\a.qtw", "x");
    projects.Write("Shop (Project)\\images\\deep\\b.gif", "x");
    projects.Write("keep.txt", "x");
    for (const char* name : {"", ".", "..", "Shop (Project)\\images", "..\\x"})
        EXPECT_EQ(DeleteProjectFolder(projects.Path(), name), 0) << name;
    EXPECT_TRUE(CFileUtils::FileExists(projects / "Shop (Project)\\images\\deep\\b.gif"));
    EXPECT_EQ(DeleteProjectFolder(projects.Path() + "\\", "Shop (Project)"), 1);
    EXPECT_FALSE(CFileUtils::FolderExists(projects / "Shop (Project)"));
    EXPECT_TRUE(CFileUtils::FileExists(projects / "keep.txt"));
    EXPECT_EQ(DeleteFolderTree(projects / "missing"), 0);
}

// A file that cannot be deleted deep down is reported even when later sub-folders go.
TEST(ProjectFoldersTest, AFailureInAnySubFolderIsReported)
{
    ScratchFolder root;
    const CString tree = root / "tree";
    FileSystem::CreateFolder(tree);
    FileSystem::CreateFolder(tree + "\\a");
    FileSystem::CreateFolder(tree + "\\a\\locked");
    FileSystem::CreateFolder(tree + "\\z");
    root.Write("tree\\a\\locked\\stuck.qtw", "x");
    root.Write("tree\\z\\gone.qtw", "x");
#ifdef _WIN32
    ASSERT_TRUE(::SetFileAttributesA(tree + "\\a\\locked\\stuck.qtw", FILE_ATTRIBUTE_READONLY));
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "a read-only folder does not stop the superuser";
    std::string locked = S(tree + "\\a\\locked");
    std::replace(locked.begin(), locked.end(), '\\', '/');
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
#endif
    EXPECT_EQ(DeleteFolderTree(tree), 0);
    EXPECT_TRUE(CFileUtils::FolderExists(tree));
    EXPECT_FALSE(CFileUtils::FileExists(tree + "\\z\\gone.qtw"));
#ifndef _WIN32
    ::chmod(locked.c_str(), 0755);
#endif
}

}  // namespace
