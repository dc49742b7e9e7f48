// Pieces of start-up that stand alone: the projects folder and its per-user fallback, the
// product folder on a template medium and the copy offer, the splash window's progress, and
// the style file that made a picture.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/AppServiceAdapters.h"
#include "app/CompactRendererInt.h"
#include "editors/GraphicMenu.h"
#include "app/MainDialogCommands.h"
#include "app/ProjectsFolder.h"
#include "app/Resource.h"
#include "app/SplashDlg.h"
#include "gallery/StyleFileFinder.h"
#include "app/TemplateMedium.h"
#include "app/WidgetsDlg.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "tests/app/MessageBoxCloser.h"

namespace {

std::string TestFolder(const char* name)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name;
    CFileUtils::DeleteFolderFiles((folder + "\\").c_str(), TRUE);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

TEST(ProjectsFolder, StaysBesideTheTemplatesOrMovesToTheUsersFolder)
{
    const std::string templates = TestFolder("bw_projects") + "\\TWTemplates";
    ::CreateDirectoryA(templates.c_str(), nullptr);
    CProjectsFolder writable(templates.c_str());
    EXPECT_EQ(writable.EnsureWritable(), 1);
    EXPECT_STREQ(writable.GetPath(), (templates + "\\").c_str());
    EXPECT_EQ(writable.IsUsingFallback(), 0);

    // A templates folder that cannot be written to (here: one that is not there).
    CProjectsFolder readOnly((templates + "\\missing\\").c_str());
    EXPECT_EQ(readOnly.EnsureWritable(), 1);
    EXPECT_EQ(readOnly.IsUsingFallback(), 1);
    const CString fallback = CProjectsFolder::GetFallbackPath();
    EXPECT_STREQ(readOnly.GetPath(), fallback);
    const CString tail = "\\Quor\\Barwright\\Projects\\";
    EXPECT_STREQ(fallback.Right(tail.GetLength()), tail);
    EXPECT_TRUE(CFileUtils::FolderExists(fallback));
}

TEST(TemplateMedium, TheProductFolderNamesTheProductAndHoldsTheTemplates)
{
    const std::string disc = TestFolder("bw_medium");
    struct Case {
        const char* folder;
        bool templates;
        bool found;
    };
    const Case cases[] = {
        {"Barwright 1", false, false},  // the product's name without a templates folder
        {"Other", true, false},         // templates, but not the product's folder
        {"BarWright 1", true, true},    // names compared without regard to case
    };
    for (const Case& c : cases) {
        const std::string folder = disc + "\\" + c.folder;
        ::CreateDirectoryA(folder.c_str(), nullptr);
        if (c.templates)
            ::CreateDirectoryA((folder + "\\TWTemplates").c_str(), nullptr);
        const CString found = FindProductFolder(disc.c_str());
        EXPECT_STREQ(found, c.found ? folder.c_str() : "") << c.folder;
        ::RemoveDirectoryA((folder + "\\TWTemplates").c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    // A file is never the product folder.
    HANDLE file = ::CreateFileA((disc + "\\barwright.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(file);
    EXPECT_STREQ(FindProductFolder(disc.c_str()), "");
    // No disc in a test machine's drives names the product.
    EXPECT_STREQ(FindTemplateMedium(), "");
}

TEST(Splash, ShowsThePictureAndElevenStepsFillTheBar)
{
    CSplashDlg splash;
    splash.m_statusText = "version line";
    ASSERT_TRUE(splash.Show());
    RECT window;
    splash.GetWindowRect(&window);
    EXPECT_EQ(window.right - window.left, 442);
    EXPECT_EQ(window.bottom - window.top, 302);
    EXPECT_TRUE(splash.IsWindowVisible());
    HWND bar = splash.GetProgressBar();
    ASSERT_TRUE(bar);
    for (int step = 1; step <= CSplashDlg::kSteps + 3; ++step) {
        splash.Step();
        const int expected = step < CSplashDlg::kSteps ? step : CSplashDlg::kSteps;
        EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), expected) << step;
    }
}

// Past six unreadable page documents the installation counts as broken.
TEST(MissingPages, ManyMissingPageDocumentsEndStartUpWithOneWarning)
{
    CWinApp app("Barwright Missing Pages");
    InstallAppServiceAdapters();
    const unsigned before = CompactRendererInt::GetWebLoadFailureCount();
    CompactRendererInt probe;
    probe.LoadWebFile("C:\\no such folder\\page.web");
    EXPECT_EQ(CompactRendererInt::GetWebLoadFailureCount(), before + 1);
    CompactRendererInt::SetWebLoadFailureCount(7);
    CWidgetsDlg dlg(nullptr, nullptr);
    app.m_pMainWnd = &dlg;
    {
        CMessageBoxCloser closer;
        dlg.Create(IDD_WIDGETS_DIALOG);
        int warnings = 0;
        for (const std::string& text : CMessageBoxCloser::Texts())
            warnings += text == "Couldn't load some initialization files - please re-install";
        EXPECT_EQ(warnings, 1);
    }
    EXPECT_EQ(dlg.m_initFailed, 1);
    EXPECT_EQ(dlg.GetTopLevelManager(), nullptr);
    app.m_pMainWnd = nullptr;
    dlg.DestroyWindow();
    CompactRendererInt::SetWebLoadFailureCount(before);
}

}  // namespace

namespace {
int g_copyDialogRuns = 0;
void CountCopyDialog()
{
    ++g_copyDialogRuns;
}
}  // namespace

TEST(TemplateMedium, TheCopyOfferNeedsTheValueThisEditionAndItsTemplates)
{
    const std::string disc = TestFolder("bw_offer");
    const std::string edition = disc + "\\Barwright 1", joined = disc + "\\BARWRIGHT1", other = disc + "\\Barwright 2";
    for (const std::string& folder : {edition, joined, other}) {
        ::CreateDirectoryA(folder.c_str(), nullptr);
        ::CreateDirectoryA((folder + "\\TWTemplates").c_str(), nullptr);
    }
    const std::string bare = disc + "\\Barwright 1 bare";  // this edition without its templates
    ::CreateDirectoryA(bare.c_str(), nullptr);
    struct Case {
        unsigned long value;
        const std::string& path;
        bool offered;
    } cases[] = {
        {1, edition, true}, {1, joined, true}, {1, other, false}, {1, bare, false}, {0, edition, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShouldOfferTemplateCopy(c.value, c.path.c_str()), c.offered) << c.path << " " << c.value;
    EXPECT_FALSE(ShouldOfferTemplateCopy(1, ""));

    // The value may be a 4-byte binary; the galleries' dialog runs once when the offer applies.
    SetTemplateCopyDialogRunner(CountCopyDialog);
    HKEY startup = OpenStartupKey(nullptr);
    SetRegBinary4(startup, "CopyTemplatesFromCD", 1);
    g_copyDialogRuns = 0;
    CopyTemplatesFromMedium(edition.c_str());
    EXPECT_EQ(g_copyDialogRuns, 1);
    CopyTemplatesFromMedium(other.c_str());
    EXPECT_EQ(g_copyDialogRuns, 1);
    ::RegDeleteValueA(startup, "CopyTemplatesFromCD");
    CopyTemplatesFromMedium(edition.c_str());
    EXPECT_EQ(g_copyDialogRuns, 1);
    CloseRegKey(startup);
    SetTemplateCopyDialogRunner(nullptr);
}

// The style file that made a picture: candidates by time, name and bar name, scored.
namespace {
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
    return (const char*)FindStyleFileFor(picture.c_str());
}

}  // namespace

TEST(StyleFileFinder, CandidatesAndTheBestScore)
{
    const std::string f = TestFolder("bw_finder");
    const std::string project = f + "\\Web (Project)";
    const std::string plain = f + "\\Plain";
    for (const std::string& sub : {project, plain})
        CFileUtils::DeleteFolderFiles((sub + "\\").c_str(), TRUE);  // left by an earlier run
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
    for (const std::string& sub : {project, plain})
        CFileUtils::DeleteFolderFiles((sub + "\\").c_str(), TRUE);
    CFileUtils::DeleteFolderFiles((f + "\\").c_str(), TRUE);
}

// The graphic menu carries the commands the main dialog handles, in the menu's order.
TEST(GraphicMenu, ItsItemsAreTheMainDialogsCommands)
{
    CGraphicMenu menu;
    ASSERT_TRUE(menu.IsLoaded());
    HMENU popup = ::GetSubMenu(menu.GetMenu(), 0);
    ASSERT_TRUE(popup);
    const UINT expected[] = {ID_GRAPHIC_COPY_BITMAP, ID_GRAPHIC_COPY_FILE_NAME, ID_GRAPHIC_CREATE_STYLE,
                             ID_GRAPHIC_UNDO_ALL_EDITS, ID_GRAPHIC_INFORMATION};
    ASSERT_EQ(::GetMenuItemCount(popup), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(::GetMenuItemID(popup, i), expected[i]) << i;
    menu.Show(10, 10, 0);  // no main dialog: nothing is tracked
}
