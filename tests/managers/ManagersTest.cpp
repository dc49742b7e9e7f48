// Window managers: the page layout rules, the button bar's panes and definitions, and the real
// main dialog moved through its start and editing pages by keys, clicks and page commands.
#include "app/AppServices.h"
#include "app/BackgroundManager.h"
#include "app/ButtonWindow.h"
#include "app/ColourManager.h"
#include "app/HomePageManager.h"
#include "app/NavBarsPageManager.h"
#include "app/SheetsManager.h"
#include "app/ExportPaths.h"
#include "app/Errors.h"
#include "app/MainWinManager.h"
#include "app/PageButtonDefs.h"
#include "panels/PanelMessage.h"
#include "app/Resource.h"
#include "app/StartPageManager.h"
#include "app/TopLevelManager.h"
#include "app/VyButtonWindow.h"
#include "app/WidgetsDlg.h"
#include "app/WinManagerBase.h"
#include "app/widgets.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "document/OperationsManager.h"
#include "document/Options.h"
#include "editors/FontList.h"
#include "gallery/StaticGallery.h"
#include "tests/app/MainDialogFixture.h"
#include "tests/bitmap/FileDropTarget.h"
#include "tests/managers/ProjectFolderRedirect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(ManagerLayout, PromptPanelAndViewAreas)
{
    struct Case {
        int width, height;
        bool haveView;
        RECT prompt, panel, view;
    } cases[] = {
        // Below 600 pixels everything scales with the height.
        {800, 500, true, {120, 0, 800, 50}, {120, 200, 800, 500}, {120, 50, 800, 200}},
        // From 600 on the prompt stops growing and the panel gains three quarters of a pixel.
        {800, 600, true, {120, 0, 800, 60}, {120, 240, 800, 600}, {120, 60, 800, 240}},
        {800, 1000, true, {120, 0, 800, 60}, {120, 540, 800, 1000}, {120, 60, 800, 540}},
        // Without a view the panel starts right under the prompt.
        {800, 500, false, {120, 0, 800, 50}, {120, 50, 800, 500}, {120, 50, 800, 200}},
    };
    for (const Case& c : cases) {
        RECT client = {0, 0, c.width, c.height}, prompt, panel, view;
        CWinManagerBase::ComputeRects(client, 0.15, 0.1, 0.4, c.haveView, &prompt, &panel, &view);
        EXPECT_TRUE(EqualRect(&prompt, &c.prompt)) << c.height;
        EXPECT_TRUE(EqualRect(&panel, &c.panel)) << c.height << " view " << c.haveView << " top " << panel.top;
        EXPECT_TRUE(EqualRect(&view, &c.view)) << c.height;
    }
    // Without the prompt asked for, the panel spans from the client's left edge.
    RECT client = {0, 0, 800, 500}, panel;
    CWinManagerBase::ComputeRects(client, 0.15, 0.1, 0.4, true, nullptr, &panel, nullptr);
    EXPECT_EQ(panel.left, 0);
}

TEST(ManagerCommands, LeadingAndTrailingWords)
{
    struct Case {
        const char* command;
        const char* word;
        bool starts, ends;
    } cases[] = {
        {"type-navbars", "type", true, false},  {"type-navbars", "navbars", false, true},
        {"Type-navbars", "type", false, false}, {"type", "type", true, true},
        {"ty", "type", false, false},           {"", "type", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandStartsWith(c.command, c.word), c.starts) << c.command;
        EXPECT_EQ(CommandEndsWith(c.command, c.word), c.ends) << c.command;
    }
}

TEST(PageManagers, TexturePageHandsPlainKeysToItsPanel)
{
    struct Case {
        int key, modifier;
        bool passed;
    } cases[] = {
        {VK_LEFT, 0x4b, true}, {'A', 0x1e, true}, {VK_F1, 0, true},
        // Control and Alt combinations come back from the panel to the pages: handing them on
        // again would never end.
        {'C', VK_CONTROL, false}, {'Z', VK_CONTROL, false}, {'S', VK_MENU, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CBackgroundManager::PassesKeyToPanel(CKeyMessage(c.key, c.modifier)), c.passed) << c.key;
    // A well-formed key-down: one repeat, the key's scan code in bits 16 to 23, nothing else.
    for (int key : {(int)VK_LEFT, (int)'A', (int)VK_RETURN}) {
        const LPARAM param = CBackgroundManager::KeyDownParam(key);
        EXPECT_EQ(param & 0xffff, 1) << key;
        EXPECT_EQ((param >> 16) & 0xff, (LPARAM)::MapVirtualKeyA(key, 0)) << key;
        EXPECT_EQ(param & 0xff000000, 0) << key;
    }
}

TEST(PageManagers, SearchListFolderOfTheRecacheCommand)
{
    struct Case {
        const char* command;
        const char* folder;
    } cases[] = {
        {"recachesearchgallerylists#C:\\Templates\\Buttons#", "C:\\Templates\\Buttons"},
        {"recachesearchgallerylists#Folder#", "Folder"},
        {"recachesearchgallerylists", ""},
        {"recachesearchgallerylists#Folder", ""},
        {"recachesearchgallerylists##", ""},
        {"recachesearchgallerylists#", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string((const char*)CSheetsManager::RecacheFolder(c.command)), c.folder) << c.command;
}

TEST(ButtonBar, PaneHeightsGiveTheRemainderToOnePane)
{
    const bool noBlank[11] = {};
    bool blankAtFour[11] = {};
    blankAtFour[4] = blankAtFour[5] = true;
    struct Case {
        int height;
        const bool* blank;
        int tallPane, tall, others;
    } cases[] = {
        {100, noBlank, 10, 10, 9},      // no blank pane: the eleventh takes the remainder
        {100, blankAtFour, 4, 10, 9},   // the first blank pane takes it
        {110, blankAtFour, 4, 10, 10},  // nothing left over
        {5, noBlank, 10, 5, 0},
    };
    for (const Case& c : cases) {
        int heights[11];
        VyButtonWindow::PaneHeights(c.height, c.blank, heights);
        int total = 0;
        for (int i = 0; i < 11; ++i) {
            EXPECT_EQ(heights[i], i == c.tallPane ? c.tall : c.others) << c.height << " pane " << i;
            total += heights[i];
        }
        EXPECT_EQ(total, c.height);
    }
}

TEST(ButtonBar, PageButtonDefinitions)
{
    struct Case {
        int pageId;
        const char* face;
        int shortcut;
    } cases[] = {
        {1, "start.web", VK_F2},  {8, "size.web", VK_F7},      {9, "navbars.web", VK_F8},
        {14, "save.web", VK_F12}, {16, "Import.web", VK_F4},   {18, "Tutorial.web", VK_F5},
        {19, "exit.web", 0},      {21, "New.web", VK_F3},
    };
    for (const Case& c : cases) {
        CButtonDef definition;
        ASSERT_TRUE(MakePageButtonDef(c.pageId, &definition)) << c.pageId;
        EXPECT_EQ(definition.m_pageId, c.pageId);
        EXPECT_STREQ(definition.m_faceFile, c.face);
        EXPECT_EQ(definition.m_shortcut, c.shortcut);
    }
    for (int missing : {0, 22, -1})
        EXPECT_FALSE(MakePageButtonDef(missing, nullptr)) << missing;
}

TEST(ExportPaths, NumberedNamesOnAFixtureFolder)
{
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "bwnumbered\\";
    struct Case {
        std::vector<const char*> existing;
        const char* path;
        const char* companion;
        const char* expected;
    } cases[] = {
        {{}, "Graphic.gif", "", "Graphic.gif"},
        {{"Graphic.gif"}, "Graphic.gif", "", "Graphic2.gif"},
        {{"Graphic.gif", "Graphic2.gif"}, "Graphic.gif", "", "Graphic3.gif"},
        {{"Graphic.gif", "Graphic2.gif"}, "Graphic2.gif", "", "Graphic3.gif"},  // the series goes on
        {{"Logo2.gif"}, "Logo2.gif", "", "Logo2_2.gif"},                        // digits of the name
        {{"Button_4.gif", "Button_5.gif"}, "Button_5.gif", "", "Button_2.gif"},
        {{"Photo.JPG"}, "Photo.JPG", "", "Photo2.jpg"},
        {{"Page.gif", "Page2.htm"}, "Page.gif", "Page.htm", "Page3.gif"},       // the companion stays free
    };
    for (const Case& c : cases) {
        ::CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name : c.existing) {
            HANDLE file = ::CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ::CloseHandle(file);
        }
        const CString companion = *c.companion ? CString((folder + c.companion).c_str()) : CString();
        const CString answer = MakeNumberedName((folder + c.path).c_str(), companion);
        EXPECT_EQ(std::string((const char*)answer), folder + c.expected) << c.path;
        for (const char* name : c.existing)
            ::DeleteFileA((folder + name).c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
}

// The program's root (its SysResources), the document renderer registered, and the real main
// dialog with its managers.
class MainDialogPages : public MainDialogFixture {
protected:
    MainDialogPages()
        : MainDialogFixture({{BW_SERVER_PATH, BW_ENGINE_PATH, BW_IMPORTER_PATH}, BW_ROOT_PATH, 800, 600, false})
    {
    }

    void SetUp() override
    {
        MainDialogFixture::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(top->GetStartPage() && top->GetMainManager());
        s_sent = &sent;
        s_dialog = dlg;
        CWinManagerBase::SetCommandSink(&Record);
    }

    void TearDown() override
    {
        CWinManagerBase::SetCommandSink(nullptr);
        MainDialogFixture::TearDown();
    }

    // Commands sent by the pages are recorded, then delivered as the application would.
    static void Record(const CString& command)
    {
        s_sent->push_back((const char*)command);
        s_dialog->SendCommand(command);
    }

    int Key(int vk, int modifier = 0)
    {
        CKeyMessage key(vk, modifier);
        return top->HandleMessage(&key);
    }

    int CurrentType() const
    {
        CWinManagerBase* current = CWinManagerBase::CurrentManager();
        return current ? current->GetType() : -1;
    }

    std::string Title() const
    {
        char text[128] = "";
        ::GetWindowTextA(dlg->m_hWnd, text, sizeof text);
        return text;
    }

    std::vector<std::string> sent;
    static std::vector<std::string>* s_sent;
    static CWidgetsDlg* s_dialog;
};

std::vector<std::string>* MainDialogPages::s_sent = nullptr;
CWidgetsDlg* MainDialogPages::s_dialog = nullptr;

TEST_F(MainDialogPages, FunctionKeysMoveThroughThePages)
{
    CStartPageManager* start = top->GetStartPage();
    CMainWinManager* main = top->GetMainManager();
    ASSERT_TRUE(start->IsActive());
    EXPECT_EQ(CurrentType(), 2);  // the home page
    EXPECT_EQ(start->GetButtonBar()->GetSelectedPage(), 1);
    EXPECT_EQ(Title(), "Quor Bar Wright");

    // F4 on the start page is the Load button: it starts the projects on the design page.
    EXPECT_EQ(Key(VK_F4), 1);
    EXPECT_EQ(sent, std::vector<std::string>{"type-projects"});
    ASSERT_TRUE(main->IsActive());
    EXPECT_FALSE(start->IsActive());
    EXPECT_EQ(main->GetButtonBar()->GetSelectedPage(), 2);
    EXPECT_EQ(CurrentType(), 4);

    struct Step {
        int vk, modifier;
        int page;  // the bar's selected page afterwards
        int type;  // the current manager's window type afterwards
    } steps[] = {
        {VK_F5, 0, 4, 9},       // colour
        {VK_F6, 0, 5, 8},       // texture
        {VK_F7, 0, 8, 10},      // size
        {VK_F8, 0, 9, 11},      // navigation bars
        {VK_F4, 0, 3, 7},       // text
        {'S', VK_CONTROL, 14, 12},  // Ctrl+S is F12: the simple save page
        {VK_F12, 0, 14, 12},    // selecting the selected button changes nothing
        {VK_F3, 0, 2, 4},       // design
        {VK_F9, 0, 2, 4},       // no button has F9 on this bar
    };
    for (const Step& s : steps) {
        EXPECT_EQ(Key(s.vk, s.modifier), 1) << s.vk;
        EXPECT_EQ(main->GetButtonBar()->GetSelectedPage(), s.page) << s.vk;
        EXPECT_EQ(CurrentType(), s.type) << s.vk;
        EXPECT_TRUE(main->GetCurrentPage() && main->GetCurrentPage()->IsActive()) << s.vk;
    }

    // A disabled button cannot be selected by its shortcut.
    CPageStateMessage disable(0, 4);
    top->HandleMessage(&disable);
    Key(VK_F5);
    EXPECT_EQ(main->GetButtonBar()->GetSelectedPage(), 2);
    CPageStateMessage enable(1, 4);
    top->HandleMessage(&enable);
    Key(VK_F5);
    EXPECT_EQ(main->GetButtonBar()->GetSelectedPage(), 4);

    // F2 is Home: back to the start page.
    sent.clear();
    Key(VK_F2);
    EXPECT_EQ(sent, std::vector<std::string>{"goto-init"});
    EXPECT_TRUE(start->IsActive());
    EXPECT_FALSE(main->IsActive());
    EXPECT_EQ(CurrentType(), 2);
}

TEST_F(MainDialogPages, ClicksOnTheBarAndStartPageKeys)
{
    CStartPageManager* start = top->GetStartPage();
    CMainWinManager* main = top->GetMainManager();
    VyButtonWindow* bar = start->GetButtonBar();
    ASSERT_TRUE(bar->GetSafeHwnd());

    // Keys the start page swallows. F5 would open the tutorial's help: only its button is asked.
    for (int vk : {VK_TAB, VK_RETURN, VK_SPACE})
        EXPECT_EQ(Key(vk), 1) << vk;
    EXPECT_EQ(bar->GetSelectedPage(), 1);
    EXPECT_EQ(bar->PageForKey(VK_F5), 18);
    EXPECT_EQ(bar->PageForKey(VK_F4), 15);
    EXPECT_TRUE(sent.empty());

    // A click on the New button (second pane) starts a navigation bar.
    RECT pane;
    bar->GetPane(1)->GetWindowRect(&pane);
    EXPECT_EQ(bar->PageAt((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2), 21);
    CLButtonDownMessage click((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2);
    top->HandleMessage(&click);
    EXPECT_EQ(sent, std::vector<std::string>{"type-navbars"});
    ASSERT_TRUE(main->IsActive());

    // A click on the bar of the editing pages: the fourth pane is the colour page.
    main->GetButtonBar()->GetPane(3)->GetWindowRect(&pane);
    CLButtonDownMessage colour((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2);
    EXPECT_EQ(top->HandleMessage(&colour), 1);
    EXPECT_EQ(main->GetButtonBar()->GetSelectedPage(), 4);
    EXPECT_EQ(CurrentType(), 9);

    // Page commands: "goto-designs" on the editing pages, "goto-init" back home.
    EXPECT_EQ(top->HandleCommand("GOTO-DESIGNS"), 1);
    EXPECT_EQ(CurrentType(), 4);
    EXPECT_EQ(top->HandleCommand("goto-init"), 1);
    EXPECT_TRUE(start->IsActive());
    EXPECT_FALSE(main->IsActive());
    // A command for no page is answered 0.
    EXPECT_EQ(top->HandleCommand("nothing-here"), 0);
}

TEST_F(MainDialogPages, NewNavigationBarStaysInNavigationBarMode)
{
    CMainWinManager* main = top->GetMainManager();
    Key('N');  // the start page's key for a new navigation bar
    ASSERT_TRUE(main->IsActive());
    COperationsManager* operations = GetOperationsManager();
    ASSERT_TRUE(operations);
    EXPECT_TRUE(operations->IsNavBarMode());
    EXPECT_EQ(GetOptions()->GetGraphicType(), 7);

    // The navigation-bar page keeps the mode when a page is shown; "revive" puts it back.
    Key(VK_F8);
    EXPECT_EQ(CurrentType(), 11);
    operations->SetNavBarMode(0);
    EXPECT_EQ(main->HandleCommand("revive"), 1);
    EXPECT_TRUE(operations->IsNavBarMode());
}

TEST_F(MainDialogPages, ColourPageEditorsAndTexturePage)
{
    CMainWinManager* main = top->GetMainManager();
    top->HandleCommand("type-projects");
    ASSERT_TRUE(main->IsActive());
    EXPECT_EQ(top->HandleCommand("AColour"), 1);
    EXPECT_EQ(CurrentType(), 9);
    ASSERT_TRUE(CColourManager::GetColourPage());
    EXPECT_FALSE(CColourManager::GetColourPage()->IsSimpleEditorShown());
    EXPECT_EQ(top->HandleCommand("SColour"), 1);
    EXPECT_TRUE(CColourManager::GetColourPage()->IsSimpleEditorShown());
    EXPECT_EQ(CColourManager::GetColourPage()->m_secondHelpContext, 120);

    // The texture page: keys reach it as any page; its prompt keeps its renderer when hidden.
    Key(VK_F6);
    ASSERT_EQ(CurrentType(), 8);
    EXPECT_EQ(main->GetCurrentPage()->m_releaseRendererOnHide, 0);
    Key(VK_LEFT, 0x4b);
    Key('C', VK_CONTROL);
    EXPECT_EQ(CurrentType(), 8);

    // The design page follows the kind of work and keeps the search folder it was given.
    CSheetsManager* design = main->GetDesignPage();
    ASSERT_TRUE(design);
    EXPECT_EQ(design->GetMode(), 0);
    top->HandleCommand("recachesearchgallerylists#Z:\\Templates#");
    EXPECT_EQ(std::string((const char*)design->GetSearchRootFolder()), "Z:\\Templates");
}

TEST_F(MainDialogPages, PageCommandFamilies)
{
    CStartPageManager* start = top->GetStartPage();
    CMainWinManager* main = top->GetMainManager();
    top->HandleCommand("type-explore");
    ASSERT_TRUE(main->IsActive());
    struct Step {
        const char* command;
        int answer;
        bool mainActive;
        int type;  // the current manager's window type afterwards
    } steps[] = {
        {"AdvSave", 1, true, 15},  {"SimSave", 1, true, 12},      {"AColour", 1, true, 9},
        {"SColour", 1, true, 9},   {"revive", 1, true, 9},        {"revive 4", 1, true, 9},
        {"goto-designs", 1, true, 9}, {"fontchanged", 0, true, 9}, {"browse l", 0, true, 9},
        {"goto-import", 1, false, 3}, {"goto-init", 1, false, 2},  {"type", 1, true, 4},
        {"goto-photoimport", 1, false, 3},
    };
    // Commands do not move the bar: "goto-designs" finds design selected and shows nothing new.
    for (const Step& s : steps) {
        EXPECT_EQ(top->HandleCommand(s.command), s.answer) << s.command;
        EXPECT_EQ(main->IsActive() != 0, s.mainActive) << s.command;
        EXPECT_EQ(start->IsActive() != 0, !s.mainActive) << s.command;
        EXPECT_EQ(CurrentType(), s.type) << s.command;
    }

    // "added BG" drops the texture page unless it is shown.
    top->HandleCommand("type");
    Key(VK_F6);
    ASSERT_TRUE(main->GetPage(8, false));
    top->HandleCommand("added BG");
    EXPECT_TRUE(main->GetPage(8, false));
    Key(VK_F3);
    top->HandleCommand("added BG");
    EXPECT_FALSE(main->GetPage(8, false));

    // The installed fonts are listed with the managers and listed again when they change.
    CFontList& fonts = GetApplicationFontList();
    EXPECT_GT(fonts.GetCount(), 0);
    fonts.RemoveAllFonts();
    EXPECT_EQ(top->HandleCommand("fontchanged"), 0);
    EXPECT_GT(fonts.GetCount(), 0);
}

TEST_F(MainDialogPages, UndoAllEditsReadsTheStyleFileAgain)
{
    top->HandleCommand("type-projects");
    ASSERT_TRUE(top->GetMainManager()->IsActive());
    COptions* record = GetOptions();
    ASSERT_TRUE(record);
    struct Case {
        const char* style;     // under the root folder; the record's style file
        const char* expected;  // the template name afterwards
    } cases[] = {
        {"SysResources\\Graphics\\NoMatch.qtw", "Default.kiq"},  // read again
        {"SysResources\\Graphics\\Missing.qtw", "Edited.kiq"},   // nothing to read: kept
    };
    for (const Case& c : cases) {
        record->SetQTWFile(GetRootPath() + c.style);
        record->SetStyleFolder("");
        record->SetKiqFileName("Edited.kiq");
        CUndoAllEditsMessage undo;
        top->HandleMessage(&undo);
        EXPECT_EQ(std::string((const char*)record->GetKiqFileName()), c.expected) << c.style;
    }
}

TEST_F(MainDialogPages, HomePageGalleryStartsTheClickedKindOfWork)
{
    CHomePageManager* home = dynamic_cast<CHomePageManager*>(CWinManagerBase::CurrentManager());
    ASSERT_TRUE(home);
    CStaticGallery* gallery = home->GetGallery();
    ASSERT_TRUE(gallery && gallery->IsCreated());
    EXPECT_TRUE(gallery->IsWindowVisible());

    // The graphic types page is 800 by 240 units, fitted into the gallery and centred; its first
    // card (x 10 to 190) starts a navigation bar.
    RECT rect;
    gallery->GetWindowRect(&rect);
    const double scale = std::min((rect.right - rect.left) / 800.0, (rect.bottom - rect.top) / 240.0);
    const int x = (rect.left + rect.right) / 2 + (int)((100 - 400) * scale);
    const int y = (rect.top + rect.bottom) / 2;
    CLButtonDownMessage click(x, y);
    EXPECT_EQ(top->HandleMessage(&click), 1);
    EXPECT_EQ(sent, std::vector<std::string>{"type-navbars"});
    EXPECT_TRUE(top->GetMainManager()->IsActive());
    EXPECT_FALSE(gallery->IsWindowVisible());
}

TEST_F(MainDialogPages, PressOnThePreviewDragsTheGraphicOutAsAFile)
{
    top->HandleCommand("type-projects");
    CMainWinManager* main = top->GetMainManager();
    ASSERT_TRUE(main->IsActive());
    CWnd* view = main->GetViewWindow();
    ASSERT_TRUE(view);
    RECT preview;
    view->GetWindowRect(&preview);
    const POINT centre = {(preview.left + preview.right) / 2, (preview.top + preview.bottom) / 2};
    // The preview lets the pointer through to the main dialog, which hands presses to the managers.
    EXPECT_EQ(::WindowFromPoint(centre), dlg->m_hWnd);

    // A press released inside the main window is no drag: the release is taken, nothing written.
    ::PostMessageA(dlg->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    CLButtonDownMessage press(centre.x, centre.y);
    EXPECT_EQ(top->HandleMessage(&press), 1);
    MSG left;
    EXPECT_FALSE(::PeekMessageA(&left, dlg->m_hWnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE));
    EXPECT_EQ(::GetCapture(), nullptr);

    // Leaving the main window with the button up drops where the pointer rests: on a window that
    // takes files, which receives the graphic written at the next free export name.
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "bw-dragout\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    if (HKEY key = OpenOptionsKey()) {
        SetRegValue(key, "ExportDir", REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                    static_cast<DWORD>(folder.size()));
        CloseRegKey(key);
    }
    const std::string expected = (const char*)GetNextExportPath();
    ASSERT_EQ(expected.compare(0, folder.size(), folder), 0) << expected;
    const HRESULT ole = ::OleInitialize(nullptr);
    ASSERT_TRUE(SUCCEEDED(ole));
    const std::string project = folder + "Project";
    {
        CProjectFolderRedirect redirect(project.c_str());
        FileDropTarget target;
        ASSERT_TRUE(target.Open(900, 100, 300, 300));
        ::SetCursorPos(1000, 200);
        ::PostMessageA(dlg->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1000, 200));
        EXPECT_EQ(top->HandleMessage(&press), 1);
        EXPECT_EQ(target.dropped, expected);
        EXPECT_NE(::GetFileAttributesA(expected.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(std::string((const char*)GetOptions()->GetExportPathNameExt()), expected);
        // After the drop the graphic's style and thumbnail are kept in the project.
        const std::string style = project + "\\Button.qtw", thumbnail = project + "\\Button.qgt";
        EXPECT_NE(::GetFileAttributesA(style.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_NE(::GetFileAttributesA(thumbnail.c_str()), INVALID_FILE_ATTRIBUTES);

        // A graphic of several states leaves as an animated GIF, named so whatever the export type.
        COptions* record = GetOptions();
        record->SetExportType(1);
        record->SetStateCount(2);
        ::PostMessageA(dlg->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1000, 200));
        EXPECT_EQ(top->HandleMessage(&press), 1);
        const std::string animated = target.dropped;
        EXPECT_EQ(animated.substr(animated.size() - 4), ".gif") << animated;
        char signature[7] = "";
        if (FILE* file = fopen(animated.c_str(), "rb")) {
            fread(signature, 1, 6, file);
            fclose(file);
        }
        EXPECT_STREQ(signature, "GIF89a") << animated;
        ::DeleteFileA(animated.c_str());
    }
    ::DeleteFileA(expected.c_str());
    CFileUtils::DeleteFolderFiles((project + "\\").c_str(), TRUE);
    ::RemoveDirectoryA(folder.c_str());
    ::OleUninitialize();
}

}  // namespace
