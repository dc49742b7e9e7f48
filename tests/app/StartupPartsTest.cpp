// Pieces of start-up that stand alone: the projects folder and its per-user fallback, the
// product folder on a template medium, and the splash window's progress.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/AppServiceAdapters.h"
#include "app/CompactRendererInt.h"
#include "app/ProjectsFolder.h"
#include "app/Resource.h"
#include "app/SplashDlg.h"
#include "app/TemplateMedium.h"
#include "app/WidgetsDlg.h"
#include "app/util/FileUtils.h"
#include "app/util/Registry.h"
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
