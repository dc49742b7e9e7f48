// The style file that made a picture: candidates by time, name and bar name, scored.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/StyleFileFinder.h"
#include "app/util/FileUtils.h"

namespace {

std::string Folder(const char* name)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name;
    CFileUtils::DeleteFolderFiles((folder + "\\").c_str(), TRUE);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void Write(const std::string& path, const std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file) << path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

// Gives a file the modification time of 1 January 2020 plus some minutes.
void Stamp(const std::string& path, int minutes)
{
    SYSTEMTIME st = {2020, 1, 3, 1, 12, (WORD)minutes, 0, 0};
    FILETIME ft;
    ::SystemTimeToFileTime(&st, &ft);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::SetFileTime(file, nullptr, nullptr, &ft);
    ::CloseHandle(file);
}

std::string Found(const std::string& picture)
{
    return (const char*)CStyleFileFinder::FindStyleFor(picture.c_str());
}

}  // namespace

TEST(StyleFileFinder, CandidatesAndTheBestScore)
{
    const std::string f = Folder("bw_finder");
    const std::string picture = f + "\\Shop2.gif";
    Write(picture, "GIF89a picture bytes");
    Stamp(picture, 0);

    // Same name but for digits: a candidate of score 3.
    Write(f + "\\Shop.qtw", "Barwright\nGraphicType : 3\n");
    Stamp(f + "\\Shop.qtw", 7);
    EXPECT_EQ(Found(picture), f + "\\Shop.qtw");

    // The picture's time beats its name.
    Write(f + "\\Other.qtw", "Barwright\nGraphicType : 3\n");
    Stamp(f + "\\Other.qtw", 0);
    EXPECT_EQ(Found(picture), f + "\\Other.qtw");

    // A project below the folder is searched; a plain sub-folder is not. Time, checksum and
    // name together win.
    const std::string project = f + "\\Web (Project)";
    const std::string plain = f + "\\Plain";
    ::CreateDirectoryA(project.c_str(), nullptr);
    ::CreateDirectoryA(plain.c_str(), nullptr);
    const DWORD signature = CFileUtils::QuickFileSignature(picture.c_str());
    char text[128];
    std::snprintf(text, sizeof text, "Barwright\nExportCheckSum : %d\n", (int)signature);
    Write(plain + "\\Shop.qtw", text);
    Stamp(plain + "\\Shop.qtw", 0);
    EXPECT_EQ(Found(picture), f + "\\Other.qtw");
    Write(project + "\\Shop.qtw", text);
    Stamp(project + "\\Shop.qtw", 0);
    EXPECT_EQ(Found(picture), project + "\\Shop.qtw");

    // A bar's state image names the bar's style files.
    const std::string button = f + "\\Menu_b3_over.gif";
    Write(button, "GIF89a bar");
    Stamp(button, 30);
    Write(f + "\\Menu_off.qtw", "Barwright\n");
    Stamp(f + "\\Menu_off.qtw", 40);
    EXPECT_TRUE(CStyleFileFinder::MatchesNavBarName(button.c_str(), (f + "\\Menu_off.qtw").c_str()));
    EXPECT_EQ(Found(button), f + "\\Menu_off.qtw");

    // Nothing that shares the picture's time or name: no match.
    const std::string lone = f + "\\Lonely.png";
    Write(lone, "png");
    Stamp(lone, 50);
    EXPECT_EQ(Found(lone), "");
    CFileUtils::DeleteFolderFiles((f + "\\").c_str(), TRUE);
}
