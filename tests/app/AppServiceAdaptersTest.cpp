// After start-up every module's services answer from the application: its root folder, the
// main dialog's option record and operations manager, the navigation bar that manager owns and
// the preview renders it makes.
#include "app/AppServiceAdapters.h"
#include "app/AppServices.h"
#include "app/Errors.h"
#include "app/Resource.h"
#include "app/WidgetsDlg.h"
#include "util/AppUtilServices.h"
#include "app/widgets.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ExportRecord.h"
#include "document/OperationsManager.h"
#include "document/OperationsServices.h"
#include "document/Options.h"
#include "document/RenderRequest.h"
#include "document/OptionsServices.h"
#include "editors/FontList.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"
#include "tests/app/MainDialogFixture.h"
#include "tests/app/MessageBoxCloser.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

const char kRoot[] = "C:\\Prog\\";

// The application object with its main dialog made as start-up makes it.
class AppServicesTest : public ::testing::Test {
protected:
    // The pages read their prompts and button faces from the program root: without them every
    // main dialog counts its pages as missing files, and a few dialogs in one process are
    // enough for the re-install warning.
    static void SetUpTestSuite()
    {
        ::CreateDirectoryA(kRoot, nullptr);
        ::CreateDirectoryA((std::string(kRoot) + "SysResources").c_str(), nullptr);
        std::string from;
        for (const char* folder : {"prompts", "buttons"}) {
            from += WinePath((std::string(BW_ROOT_PATH) + "SysResources/" + folder).c_str()) + '\0';
        }
        from += '\0';
        const std::string to = std::string(kRoot) + "SysResources" + '\0';
        SHFILEOPSTRUCTA copy = {};
        copy.wFunc = FO_COPY;
        copy.pFrom = from.c_str();
        copy.pTo = to.c_str();
        copy.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
        ::SHFileOperationA(&copy);
    }

    void SetUp() override
    {
        m_app.m_rootPath = kRoot;
        InstallAppServiceAdapters();
        m_app.m_mainDialog = &m_dialog;
        m_app.m_pMainWnd = &m_dialog;
        CMessageBoxCloser closer;  // the template engine is not installed here: its message is closed
        ASSERT_TRUE(m_dialog.Create(IDD_WIDGETS_DIALOG));
        ASSERT_FALSE(m_dialog.m_initFailed);
        // The pages' document renderer may not be installed here either: that is reported by
        // start-up, never by a quit message that would end every later message box at once.
        MSG quit;
        EXPECT_FALSE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        ClearError();
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        m_app.m_mainDialog = nullptr;
        ClearError();
    }

    CWidgetsApp m_app;
    CWidgetsDlg m_dialog{nullptr, nullptr};
};

TEST_F(AppServicesTest, EverySeamAnswersFromTheApplication)
{
    COptions* record = m_dialog.m_options;
    COperationsManager* manager = m_dialog.GetOperationsManager();
    ASSERT_TRUE(record);
    ASSERT_TRUE(manager);

    const struct {
        const char* seam;
        CString root;
        COptions* record;
        bool hasManager;
    } cases[] = {
        {"utilities", AppUtilServices().GetRootPath(), record, AppUtilServices().HasOperationsManager()},
        {"option record", GetOptionsServices().GetRootPath(), GetOptionsServices().GetCurrentOptions(),
         GetOptionsServices().HasOperationsManager()},
        {"operations", GetOperationsServices().GetRootPath(), GetOperationsServices().GetOptions(),
         GetOperationsServices().GetOperationsManager() == manager},
        {"navigation bar", GetNavBarServices().GetRootPath(), GetNavBarServices().GetCurrentOptions(),
         GetNavBarServices().HasOperationsManager()},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.root, kRoot) << c.seam;
        EXPECT_EQ(c.record, record) << c.seam;
        EXPECT_TRUE(c.hasManager) << c.seam;
    }

    // Export reads the same record.
    BitmapServices& bitmap = GetBitmapServices();
    EXPECT_TRUE(bitmap.HasOperationsManager());
    EXPECT_EQ(bitmap.GetAnimationRenderer(), manager->GetAnimationRenderer());
    ExportRecord* exported = bitmap.GetOptions();
    ASSERT_TRUE(exported);
    record->SetExportType(kExportPng);
    EXPECT_EQ(exported->GetExportType(), kExportPng);
    EXPECT_EQ(bitmap.GetTessro(), m_app.m_tessro);
    EXPECT_EQ(bitmap.GetTessroContext() != nullptr, m_app.m_tessro != nullptr);

    // The manager owns a navigation bar made by the bar module, with its default buttons.
    ASSERT_TRUE(manager->GetNavBar());
    CNavBar* bar = GetNavBarServices().GetNavBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->GetButtonCount(), 4);

    // Style files written now count as current documents.
    EXPECT_GT(std::atof(GetOptionsServices().GetVersionText()), 1.2);
}

// The record's fonts: the list the managers built at start-up, and the substitution file below
// the program root for faces that are not in it.
TEST_F(AppServicesTest, FontsComeFromTheInstalledFontList)
{
    const CFontList& fonts = GetApplicationFontList();
    ASSERT_GT(fonts.GetCount(), 0);
    const ENUMLOGFONTA* installed = fonts.GetFont(fonts.GetCount() - 1);
    const CString name = GetFullName(*installed);

    CInstalledFont found;
    ASSERT_TRUE(GetOptionsServices().FindInstalledFont(name, found));
    EXPECT_EQ(found.fullName, name);
    EXPECT_EQ(found.weight, installed->elfLogFont.lfWeight);
    EXPECT_EQ(found.italic, installed->elfLogFont.lfItalic != 0);
    EXPECT_FALSE(GetOptionsServices().FindInstalledFont("No Such Face Here", found));

    const std::string file = std::string(kRoot) + "SysResources\\FontSub.txt";
    {
        std::ofstream out(file.c_str(), std::ios::binary);
        out << "// test\r\nNo Such Face Here , " << static_cast<const char*>(name) << "\r\n";
    }
    CString face = "no such face here";
    EXPECT_TRUE(GetOptionsServices().SubstituteFont(face));
    EXPECT_EQ(face, name);
    face = name;
    EXPECT_FALSE(GetOptionsServices().SubstituteFont(face));
    EXPECT_EQ(face, name);
    ::DeleteFileA(file.c_str());
}

TEST_F(AppServicesTest, RenderRequestsReachTheOperationsManager)
{
    COperationsManager* manager = m_dialog.GetOperationsManager();
    ASSERT_TRUE(manager);
    // In navigation-bar mode the manager keeps the word of the last request.
    GetOptionsServices().SetNavBarMode(true);
    ASSERT_TRUE(manager->IsNavBarMode());
    const struct {
        DWORD word;
    } cases[] = {{kRenderHardEdges}, {kRenderNoShadow}, {kRenderKeepBuffer}};
    for (const auto& c : cases) {
        manager->SetKeptRenderRequest(0);
        GetBitmapServices().RenderWithFlags(0, static_cast<int>(c.word));
        EXPECT_EQ(manager->GetKeptRenderRequest(), c.word);
    }
    GetOptionsServices().SetNavBarMode(false);
    EXPECT_FALSE(manager->IsNavBarMode());
}

TEST_F(AppServicesTest, InternalErrorsOfEveryModuleAreTheApplicationsPendingError)
{
    const struct {
        const char* seam;
        void (*record)();
        unsigned line;
        const char* file;
    } cases[] = {
        {"operations", [] { GetOperationsServices().InternalError(377, "OperationsManager"); }, 377,
         "OperationsManager"},
        {"option record", [] { GetOptionsServices().SetInternalError(12, "Options.cpp"); }, 12, "Options.cpp"},
        {"bitmap", [] { GetBitmapServices().InternalError("AnimationRenderer", 74); }, 74, "AnimationRenderer"},
        {"navigation bar", [] { GetNavBarServices().SetInternalError(172, "NavBar"); }, 172, "NavBar"},
    };
    for (const auto& c : cases) {
        ClearError();
        c.record();
        const std::string expected = "Internal program error " + std::to_string(c.line) + "." +
                                     std::string(ShortSourceName((std::string(BW_SOURCE_PATH("")) + c.file).c_str()));
        EXPECT_EQ(std::string(g_ErrorText), expected) << c.seam;
        EXPECT_EQ(g_ErrorSlotFree, 0) << c.seam;
    }
}

TEST_F(AppServicesTest, MessagesGoThroughTheMessageBox)
{
    {
        CMessageBoxCloser closer;
        GetOperationsServices().ShowMessage(MessageSeverity::kError, 32818, "StyleKit");
        GetBitmapServices().ReportError(32818, "Imgrex");
    }
    ASSERT_EQ(CMessageBoxCloser::Texts().size(), 2u);
    EXPECT_NE(CMessageBoxCloser::Texts()[0].find("StyleKit.DLL"), std::string::npos);
    EXPECT_NE(CMessageBoxCloser::Texts()[1].find("Imgrex.DLL"), std::string::npos);

    // The orientation question answers the string id of the button pressed; a closed box cancels.
    const struct {
        int button;
        unsigned answer;
    } cases[] = {{1, 32905}, {2, 32906}, {3, 32916}, {0, 32916}};
    for (const auto& c : cases) {
        CMessageBoxCloser closer(c.button);
        EXPECT_EQ(GetNavBarServices().AskNavBarOrientation(), c.answer) << "button " << c.button;
    }
}

// A bar's style file opens as the manager's bar: the states its layout word enables, each state
// with the style of its own file. (Without the bar behind the record's services it opened as a
// single graphic and the bar kept no enabled state, so it could not be exported.)
TEST_F(AppServicesTest, NavigationBarStyleFilesLoadIntoTheManagersBar)
{
    COptions* record = m_dialog.m_options;
    CNavBar* bar = GetNavBarServices().GetNavBar();
    ASSERT_TRUE(record);
    ASSERT_TRUE(bar);
    const CString folder = CString(kRoot) + "Bars\\";
    ::CreateDirectoryA(folder, nullptr);
    // Style files without a template (no engine here): the bar's look is the files' own.
    const auto write = [&](const char* name, const char* text) {
        std::ofstream(std::string(folder) + name, std::ios::binary)
            << "Trimwork\r\nVersion : 2.0 (2.0.1)\r\nGraphicType : 7\r\nNumberOfStories : 1\r\nText : " << text
            << "\r\nHTML : Tabs_hnavbar | 225 | Home | | (Button Name) | | News | | (Button Name) | \r\n";
    };
    write("Tabs_hnavbar_off.qtw", "Off look");
    write("Tabs_hnavbar_over.qtw", "Over look");

    ASSERT_TRUE(record->LoadStyleFile(folder + "Tabs_hnavbar_off.qtw", kChangeAll, -1, kLoadTemplateStyle))
        << g_ErrorText;
    EXPECT_TRUE(m_dialog.GetOperationsManager()->IsNavBarMode());
    const struct {
        int state;
        bool enabled;
        const char* text;
    } cases[] = {{0, true, "Off look"}, {1, true, "Over look"}, {2, false, "Off look"}, {3, false, "Over look"}};
    for (const auto& c : cases) {
        EXPECT_EQ(bar->IsStateEnabled(c.state) != 0, c.enabled) << c.state;
        EXPECT_STREQ(bar->GetStateRecord(c.state)->GetStoryText(0), c.text) << c.state;
    }
    EXPECT_STREQ(bar->GetName(), "Tabs");
    EXPECT_STREQ(record->GetStoryText(0), "Off look");
    GetOptionsServices().SetNavBarMode(false);
}

TEST(AppServiceFolders, TemporaryExportPathByExportType)
{
    char folder[MAX_PATH + 1] = {};
    ASSERT_GT(::GetTempPathA(sizeof folder, folder), 0u);
    const struct {
        int type;
        const char* name;
    } cases[] = {{kExportGif, "temptwg.gif"}, {kExportJpeg, "temptwg.jpg"}, {kExportPng, "temptwg.png"},
                 {2, "temptwg.png"}};
    for (const auto& c : cases)
        EXPECT_STREQ(GetTempExportPath(c.type), (std::string(folder) + c.name).c_str()) << c.type;
}

}  // namespace
