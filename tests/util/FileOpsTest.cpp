#include <gtest/gtest.h>

#include "util/FileUtils.h"
#include "tests/util/TestSupport.h"

namespace {

TEST(FileOps, MakeUniqueFileNameNumbersPastExistingFiles) {
    FakeServices services;
    ScratchFolder dir;
    dir.Write("button3.gif", "x");
    dir.Write("button1.gif", "x");
    EXPECT_EQ(S(CFileUtils::MakeUniqueFileName(dir / "button3.gif")), S(dir / "button2.gif"));
    EXPECT_EQ(S(CFileUtils::MakeUniqueFileName(dir / "free.gif")), S(dir / "free.gif"));

    // A navigation bar keeps its state suffix behind the number; "_off" inside a name is no
    // suffix.
    dir.Write("bar_off.gif", "x");
    dir.Write("a_offer.gif", "x");
    dir.Write("noext", "x");
    services.navBarMode = true;
    EXPECT_EQ(S(CFileUtils::MakeUniqueFileName(dir / "bar_off.gif")), S(dir / "bar1_off.gif"));
    EXPECT_EQ(S(CFileUtils::MakeUniqueFileName(dir / "a_offer.gif")), S(dir / "a_offer1.gif"));
    EXPECT_EQ(S(CFileUtils::MakeUniqueFileName(dir / "noext")), S(dir / "noext1"));
    services.navBarMode = false;
    EXPECT_EQ(S(CFileUtils::MakeUniqueFileName(dir / "bar_off.gif")), S(dir / "bar_off1.gif"));

    services.hasOperationsManager = false;
    EXPECT_EQ(S(CFileUtils::MakeUniqueFileName(dir / "button3.gif")), "");
    ASSERT_EQ(services.internalErrors.size(), 1u);
    EXPECT_EQ(services.internalErrors[0].first, 1058u);
    EXPECT_EQ(services.internalErrors[0].second, "FileUtils.cpp");
}

TEST(FileOps, CreateFolderEnsuresTheFolderHoldingThePath) {
    ScratchFolder dir;
    EXPECT_FALSE(CFileUtils::CreateFolder(dir / "a\\b\\file.gif", FALSE));
    EXPECT_FALSE(CFileUtils::FolderExists(dir / "a"));
    EXPECT_TRUE(CFileUtils::CreateFolder(dir / "a\\b\\file.gif", TRUE));
    EXPECT_TRUE(CFileUtils::FolderExists(dir / "a\\b"));
    EXPECT_FALSE(CFileUtils::FolderExists(dir / "a\\b\\file.gif"));
    EXPECT_TRUE(CFileUtils::CreateFolder(dir / "a\\b\\other.gif", FALSE));  // already there

    // A file standing where a folder must go: a failure, not a success.
    dir.Write("blocker", "x");
    EXPECT_FALSE(CFileUtils::CreateFolder(dir / "blocker\\sub\\file.gif", TRUE));
}

TEST(FileOps, FindFileRecursiveSearchesAllSubfolders) {
    ScratchFolder dir;
    CFileUtils::CreateFolder(dir / "one\\two\\x", TRUE);
    dir.Write("one\\two\\Target.TXT", "x");
    dir.Write("top.gif", "x");

    struct Case {
        const char* name;
        const char* extension;
        const char* part;
        const char* expected;  // relative to the folder, "" for none
    } cases[] = {
        {"target", ".txt", "", "one\\two\\Target.TXT"},
        {"*", "TXT", "", "one\\two\\Target.TXT"},
        {"*", "txt", "arg", "one\\two\\Target.TXT"},
        {"top", "*", "", "top.gif"},
        {"target", "gif", "", ""},
        {"*", "*", "nothing", ""},
    };
    for (const auto& c : cases) {
        CString found = CFileUtils::FindFileRecursive(dir.Path() + "\\", c.name, c.extension, c.part);
        EXPECT_EQ(S(found), *c.expected ? S(dir / c.expected) : "") << c.name << "." << c.extension;
    }
}

TEST(FileOps, DeleteFolderFilesAndRename) {
    ScratchFolder dir;
    CFileUtils::CreateFolder(dir / "f\\sub\\x", TRUE);
    dir.Write("f\\a.gif", "x");
    dir.Write("f\\b.qtw", "x");
    EXPECT_FALSE(CFileUtils::DeleteFolderFiles(dir / "f", TRUE));  // the sub-folder stays
    EXPECT_FALSE(CFileUtils::FileExists(dir / "f\\a.gif"));
    EXPECT_TRUE(CFileUtils::FolderExists(dir / "f\\sub"));

    dir.Write("old.gif", "x");
    EXPECT_TRUE(CFileUtils::RenameFile(dir / "old.gif", "new.gif"));
    EXPECT_TRUE(CFileUtils::FileExists(dir / "new.gif"));
    EXPECT_FALSE(CFileUtils::FileExists(dir / "old.gif"));
    CFileUtils::CreateFolder(dir / "e\\x", TRUE);
    EXPECT_TRUE(CFileUtils::DeleteFolderFiles(dir / "e\\", TRUE));
    EXPECT_FALSE(CFileUtils::FolderExists(dir / "e"));
}

TEST(FileOps, QuickFileSignature) {
    ScratchFolder dir;
    std::string bytes;
    for (int i = 0; i < 32; ++i)
        bytes.push_back(static_cast<char>(i));
    // Length 32: offsets 2, 4, 8, 16, then the byte 16 counts for the remaining eleven rounds.
    EXPECT_EQ(CFileUtils::QuickFileSignature(dir.Write("s.bin", bytes)), 1u + 2 + 4 + 8 + 16 + 11 * 16);
    // Shorter than 16 bytes: offset 0 every time.
    EXPECT_EQ(CFileUtils::QuickFileSignature(dir.Write("short.bin", "\x05xyz")), 1u + 15 * 5);
    EXPECT_EQ(CFileUtils::QuickFileSignature(dir.Write("empty.bin", "")), 1u);
    EXPECT_EQ(CFileUtils::QuickFileSignature(dir / "missing.bin"), 0u);
}

TEST(FileOps, ModifiedTimesAndNewer) {
    ScratchFolder dir;
    CString older = dir.Write("older.txt", "a");
    CString newer = dir.Write("newer.txt", "b");
    ASSERT_TRUE(CFileUtils::SetModifiedTime(older, CTime(1000000000)));
    ASSERT_TRUE(CFileUtils::SetModifiedTime(newer, CTime(1000000100)));
    CTime time;
    ASSERT_TRUE(CFileUtils::GetModifiedTime(older, time));
    EXPECT_EQ(time.GetTime(), 1000000000);
    EXPECT_TRUE(CFileUtils::IsFileNewer(newer, older));
    EXPECT_FALSE(CFileUtils::IsFileNewer(older, newer));
    EXPECT_FALSE(CFileUtils::IsFileNewer(dir / "missing", older));
    EXPECT_TRUE(CFileUtils::IsFileNewer(older, dir / "missing"));
    EXPECT_FALSE(CFileUtils::SameModifiedTime(older, newer));
    ASSERT_TRUE(CFileUtils::SetModifiedTime(newer, CTime(1000000000)));
    EXPECT_TRUE(CFileUtils::SameModifiedTime(older, newer));
    EXPECT_FALSE(CFileUtils::SetModifiedTime(dir / "missing", CTime(1)));
}

TEST(FileOps, ExistenceWritableAndFinder) {
    FakeServices services;
    ScratchFolder dir;
    dir.Write("a.gif", "x");
    EXPECT_TRUE(CFileUtils::FileExists(dir / "a.gif"));
    EXPECT_FALSE(CFileUtils::FolderExists(dir / "a.gif"));
    EXPECT_TRUE(CFileUtils::FolderExists(dir.Path()));
    EXPECT_FALSE(CFileUtils::FileExists(dir.Path()));
    EXPECT_TRUE(CFileUtils::IsFolderWritable(dir.Path() + "\\"));
    EXPECT_FALSE(CFileUtils::FileExists(dir / "__dummy_.qtw"));
    EXPECT_TRUE(services.warnings.empty());

    EXPECT_FALSE(CFileUtils::IsFolderWritable(dir / "missing\\deeper"));
    services.warnings.clear();

    // A place that is not there: the user is asked, and Cancel gives up.
    EXPECT_FALSE(CFileUtils::EnsureDriveReady("no_such_place_bw\\x"));
    ASSERT_EQ(services.warnings.size(), 1u);
    EXPECT_EQ(services.warnings[0], static_cast<UINT>(IDS_UTIL_DRIVE_ERROR));

    CFileFinder finder;
    finder.Start(dir / "*.*");
    CString name;
    BOOL isFolder = TRUE;
    ASSERT_TRUE(finder.Next(name, isFolder));
    EXPECT_EQ(S(name), "a.gif");
    EXPECT_FALSE(isFolder);
    EXPECT_FALSE(finder.Next(name, isFolder));
    EXPECT_EQ(S(name), "");

    CString folder;
    EXPECT_GT(CFileUtils::GetProgramFolder(&folder), 0);
    EXPECT_EQ(folder[folder.GetLength() - 1], '\\');
    EXPECT_EQ(CFileUtils::GetProgramFolder(nullptr), 0);
}

}  // namespace
