// The output panels as real windows under Xvfb: the simple panel's format and preset buttons,
// its size estimate from a real export, Advanced and Save Graphic, the project list and the
// new-project dialog; the export options panel's colour-count edit, PNG depths, pictures and
// small graphics.
#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapExporter.h"
#include "util/FileUtils.h"
#include "document/OperationsManager.h"
#include "document/Options.h"
#include "navbar/BrowserPreviewPage.h"
#include "output/ExportGIFDlg.h"
#include "output/OutputDlg.h"
#include "output/OutputResource.h"
#include "tests/panels/FakePanelServices.h"
#include "tests/panels/PanelTestHost.h"
#include "tests/navbar/FakeNavBarServices.h"
#include "tests/output/SaveFixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// Export renders through these: a flat picture of the asked size, or nothing.
class RenderServices : public ExportServices {
public:
    using ExportServices::ExportServices;
    bool RenderPreview(int, int) override { return renders; }
    Bitmap32* GetRenderedBitmap(int width, int height) override
    {
        if (!renders)
            return nullptr;
        std::unique_ptr<Bitmap32> bitmap(new Bitmap32);
        if (bitmap->CreateFilled(width, height, 0x00336699) != 0)
            return nullptr;
        return bitmap.release();
    }
    bool renders = true;
};

CString TempFolder()
{
    char folder[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof folder, folder);
    return folder;
}

class OutputPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_hostWindow = CreatePanelTestHost(700, 500);
    }
    static void TearDownTestSuite() { ::DestroyWindow(s_hostWindow); }

    void SetUp() override
    {
        ASSERT_TRUE(s_hostWindow);
        m_host.Attach(s_hostWindow);
        m_services.mainWindow = &m_host;
        m_services.options = &m_record;
        m_services.projects = {"Menus (Project)"};
        m_services.currentProject = "Work";
        m_services.exportTarget = "C:\\Work\\Button.qtw";
        // A button graphic, 100 x 20, GIF at Medium quality.
        m_record.SetGraphicType(1);
        m_record.SetBaseSize(100, 20, 1.0);
        m_record.SetPixelSize(100, 20);
        m_record.SetStateCount(1);
        m_record.SetExportType(0);
        m_record.SetGIFPaletteSize(64);
        m_record.SetExportPalette(1);
        m_record.SetExportDither(0);
        m_record.SetInterlaced(0);
        m_record.SetTransparent(1);
        m_record.SetTransThreshold(254);
        m_record.SetQTWFile("C:\\Work\\Button.qtw");
    }
    void TearDown() override
    {
        m_panel.reset();
        m_host.Detach();
    }

    template <class Panel>
    Panel* Open()
    {
        auto* panel = new Panel(&m_host);
        m_panel.reset(panel);
        EXPECT_TRUE(panel->Create(std::is_same<Panel, COutputDlg>::value ? IDD_OUTPUT_PANEL : IDD_EXPORT_OPTIONS,
                                  &m_host));
        panel->ShowWindow(SW_SHOW);
        return panel;
    }
    HWND Item(int id) { return ::GetDlgItem(m_panel->GetSafeHwnd(), id); }
    bool Checked(int id) { return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) { return ::IsWindowEnabled(Item(id)) != FALSE; }
    void Click(int id) { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
    std::vector<std::string> ComboEntries()
    {
        std::vector<std::string> entries;
        HWND combo = Item(IDC_OUTPUT_PROJECTS);
        const int count = (int)::SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            char text[100] = {};
            ::SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
            entries.push_back(text);
        }
        return entries;
    }

    static HWND s_hostWindow;
    CFakePanelServices m_services;
    COptions m_record;
    RenderServices m_bitmaps{m_record};
    CWnd m_host;
    std::unique_ptr<COptionsDlg> m_panel;
};

HWND OutputPanelTest::s_hostWindow = nullptr;

TEST_F(OutputPanelTest, ActivationShowsFormatPresetAndProjects)
{
    COutputDlg* panel = Open<COutputDlg>();
    ASSERT_EQ(panel->OnActivatePanel(), 1);
    EXPECT_TRUE(Checked(IDC_OUTPUT_GIF));
    EXPECT_FALSE(Checked(IDC_OUTPUT_PNG));
    EXPECT_TRUE(Checked(IDC_OUTPUT_MEDIUM));
    EXPECT_FALSE(Checked(IDC_OUTPUT_FAST));
    // Default is always offered; the current project is added when its folder is missing.
    EXPECT_EQ(ComboEntries(), (std::vector<std::string>{"Default", "Menus", "Work"}));
    EXPECT_EQ(WindowText(Item(IDC_OUTPUT_PROJECTS)), "Work");
    EXPECT_EQ(::GetFocus(), Item(IDC_OUTPUT_SAVE));

    // Interlacing of a graphic at least 8 pixels each way is no preset.
    m_record.SetInterlaced(1);
    panel->OnActivatePanel();
    EXPECT_FALSE(Checked(IDC_OUTPUT_MEDIUM));
    m_record.SetPixelSize(100, 5);
    panel->OnActivatePanel();
    EXPECT_TRUE(Checked(IDC_OUTPUT_MEDIUM));

    // Without a graphic the panel is not shown.
    m_services.options = nullptr;
    EXPECT_EQ(panel->OnActivatePanel(), 0);
    EXPECT_EQ(m_services.internalErrors, (std::vector<std::string>{"OutputDlg:196"}));
}

TEST_F(OutputPanelTest, PresetAndFormatButtonsWriteTheGraphic)
{
    m_record.SetExportType(1);
    m_record.SetJPEGQuality(80);
    COutputDlg* panel = Open<COutputDlg>();
    panel->OnActivatePanel();
    EXPECT_TRUE(Checked(IDC_OUTPUT_JPEG));
    for (int id : {IDC_OUTPUT_FAST, IDC_OUTPUT_MEDIUM, IDC_OUTPUT_HIGH})
        EXPECT_FALSE(Checked(id)) << id;

    Click(IDC_OUTPUT_FAST);
    EXPECT_TRUE(Checked(IDC_OUTPUT_FAST));
    EXPECT_EQ(m_record.GetJPEGQuality(), 50u);
    EXPECT_EQ(m_record.GetGIFPaletteSize(), 16u);
    EXPECT_EQ(m_record.GetExportBpp(), 4u);
    EXPECT_EQ(m_record.GetExportDither(), 2);

    Click(IDC_OUTPUT_PNG);
    EXPECT_EQ(m_record.GetExportType(), 4);
    EXPECT_EQ(m_record.GetPNGPaletteSize(), 16u);
    Click(IDC_OUTPUT_GIF);
    EXPECT_EQ(m_record.GetExportType(), 0);
}

TEST_F(OutputPanelTest, SizeEstimateComesFromARealExport)
{
    m_record.SetExportType(4);
    m_record.SetExportBpp(24);
    COutputDlg* panel = Open<COutputDlg>();
    panel->OnActivatePanel();
    const std::string text = WindowText(Item(IDC_OUTPUT_SIZE));
    EXPECT_NE(text.find("100x20 pixels"), std::string::npos) << text;
    EXPECT_TRUE(panel->IsExportEnabled());
    EXPECT_TRUE(Enabled(IDC_OUTPUT_SAVE));
    EXPECT_EQ(std::string(panel->GetLastTempExport()), std::string(TempFolder()) + "temptwg.png");

    // A failed export disables Save Graphic and Browser Preview until an estimate succeeds.
    m_bitmaps.renders = false;
    EXPECT_TRUE(panel->UpdateFileSizeEstimate(0, CString()));
    EXPECT_FALSE(Enabled(IDC_OUTPUT_SAVE));
    EXPECT_FALSE(Enabled(IDC_OUTPUT_PREVIEW));
    m_bitmaps.renders = true;
    panel->UpdateFileSizeEstimate(0, CString());
    EXPECT_TRUE(Enabled(IDC_OUTPUT_PREVIEW));

    // Two states: no estimate, and the buttons keep their state.
    m_record.SetStateCount(2);
    EXPECT_FALSE(panel->UpdateFileSizeEstimate(0, CString()));
    EXPECT_EQ(WindowText(Item(IDC_OUTPUT_SIZE)), "Use browser preview.");
    EXPECT_TRUE(Enabled(IDC_OUTPUT_SAVE));
}

TEST_F(OutputPanelTest, AdvancedAndSaveGraphicGoToTheManagers)
{
    Open<COutputDlg>()->OnActivatePanel();
    Click(IDC_OUTPUT_ADVANCED);
    EXPECT_EQ(m_services.commands, (std::vector<std::string>{"AdvSave"}));
    EXPECT_EQ(m_record.GetExportPanelFlag(), 1);

    Click(IDC_OUTPUT_SAVE);
    ASSERT_EQ(m_services.messages.size(), 1u);
    EXPECT_EQ(m_services.messages[0].kind, 13);
    const std::string path = m_services.messages[0].text;
    EXPECT_EQ(path.substr(path.size() - 11), "\\Button.gif") << path;

    // Graphics selected in the project dialog take the changes instead.
    m_services.selectedGraphics = {"c:\\work\\BUTTON.qtw"};
    m_services.questionAnswer = IDS_OUTPUT_APPLY_CHANGES;
    Click(IDC_OUTPUT_SAVE);
    EXPECT_EQ(m_services.appliedToProject, 1);
    EXPECT_EQ(m_services.messages.size(), 1u);
}

TEST_F(OutputPanelTest, AnEditorStartLocksTheFormatAndProjects)
{
    m_services.hosted = true;
    m_services.fileTitle = "page";
    Open<COutputDlg>()->OnActivatePanel();
    for (int id : {IDC_OUTPUT_GIF, IDC_OUTPUT_JPEG, IDC_OUTPUT_PNG, IDC_OUTPUT_PROJECTS, IDC_OUTPUT_NEW_PROJECT})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(WindowText(Item(IDC_OUTPUT_SAVE)), "&Save && Exit");

    // The export options panel keeps the type the same way.
    Open<CExportGIFDlg>()->OnActivatePanel();
    for (int id : {IDC_OUTPUT_GIF, IDC_OUTPUT_JPEG, IDC_OUTPUT_PNG})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(WindowText(Item(IDC_OUTPUT_SAVE)), "&Save && Exit");
}

// The new-project dialog is answered by a timer while it runs modally.
std::vector<std::string> g_answers;  // a name to type and OK, or "" for Cancel
void CALLBACK AnswerNewProject(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = ::FindWindowA(nullptr, "New Project");
    if (!dialog || !::IsWindowVisible(dialog) || g_answers.empty())
        return;
    const std::string answer = g_answers.front();
    g_answers.erase(g_answers.begin());
    if (answer.empty()) {
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    ::SetDlgItemTextA(dialog, IDC_NEW_PROJECT_NAME, answer.c_str());
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(OutputPanelTest, NewProjectIsCreatedSelectedAndNeverDuplicated)
{
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    const std::string projects = std::string(folder) + "bw-projects-" + std::to_string(::GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(::CreateDirectoryA(projects.c_str(), nullptr));
    m_services.projectsFolder = projects.c_str();
    Open<COutputDlg>()->OnActivatePanel();

    // A name with a colon is refused and asked again; leading blanks are dropped.
    g_answers = {"bad:name", "  Menus"};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerNewProject);
    Click(IDC_OUTPUT_NEW_PROJECT);
    EXPECT_NE(::GetFileAttributesA((projects + "Menus (Project)").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(std::string(m_services.currentProject), "Menus");
    EXPECT_EQ(WindowText(Item(IDC_OUTPUT_PROJECTS)), "Menus");
    EXPECT_EQ(m_services.boxes, (std::vector<UINT>{IDS_OUTPUT_INVALID_NAME}));

    // The same name again: "already exists", asked again, cancelled.
    g_answers = {"Menus", ""};
    Click(IDC_OUTPUT_NEW_PROJECT);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(m_services.boxes, (std::vector<UINT>{IDS_OUTPUT_INVALID_NAME, IDS_OUTPUT_PROJECT_EXISTS}));
    EXPECT_TRUE(g_answers.empty());
    ::RemoveDirectoryA((projects + "Menus (Project)").c_str());
    ::RemoveDirectoryA(projects.c_str());
}

// ---- The export options panel ----------------------------------------------------------

MSG EnterIn(HWND window)
{
    MSG msg = {};
    msg.hwnd = window;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_RETURN;
    return msg;
}

TEST_F(OutputPanelTest, TypedColourCountsAreLimitedToTheScale)
{
    CExportGIFDlg* panel = Open<CExportGIFDlg>();
    ASSERT_EQ(panel->OnActivatePanel(), 1);
    EXPECT_TRUE(Checked(IDC_OUTPUT_GIF));
    EXPECT_EQ(WindowText(Item(IDC_EXPORT_COLOUR_EDIT)), "64 Colors");

    struct Case {
        const char* typed;
        unsigned colours;
        unsigned bpp;
    };
    for (const Case& c : {Case{"300", 256, 8}, Case{"1", 2, 4}, Case{"40", 40, 8}}) {
        ::SetWindowTextA(Item(IDC_EXPORT_COLOUR_EDIT), c.typed);
        MSG enter = EnterIn(Item(IDC_EXPORT_COLOUR_EDIT));
        EXPECT_TRUE(panel->PreTranslateMessage(&enter));
        EXPECT_EQ(m_record.GetGIFPaletteSize(), c.colours) << c.typed;
        EXPECT_EQ(m_record.GetExportBpp(), c.bpp) << c.typed;
        EXPECT_EQ(WindowText(Item(IDC_EXPORT_COLOUR_EDIT)), std::to_string(c.colours) + " Colors");
    }
    // The widest count is shown whole in the field, not cut to "256 Colo".
    HWND edit = Item(IDC_EXPORT_COLOUR_EDIT);
    HDC dc = ::GetDC(edit);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)::SendMessageA(edit, WM_GETFONT, 0, 0));
    SIZE text = {};
    ::GetTextExtentPoint32A(dc, "256 Colors", 10, &text);
    ::SelectObject(dc, old);
    ::ReleaseDC(edit, dc);
    const LRESULT margins = ::SendMessageA(edit, EM_GETMARGINS, 0, 0);
    RECT client;
    ::GetClientRect(edit, &client);
    EXPECT_LE(text.cx + LOWORD(margins) + HIWORD(margins), client.right) << "the colour count is cut";

    // PNG at 4 bits takes 2..16 colours.
    Click(IDC_OUTPUT_PNG);
    Click(IDC_EXPORT_DEPTH_4);
    EXPECT_EQ(m_record.GetExportBpp(), 4u);
    ::SetWindowTextA(Item(IDC_EXPORT_COLOUR_EDIT), "40");
    MSG enter = EnterIn(Item(IDC_EXPORT_COLOUR_EDIT));
    panel->PreTranslateMessage(&enter);
    EXPECT_EQ(m_record.GetPNGPaletteSize(), 16u);
}

TEST_F(OutputPanelTest, TrueColourPngHasNoColourControlsOrThreshold)
{
    m_record.SetExportType(4);
    m_record.SetExportBpp(8);
    m_record.SetPNGPaletteSize(64);
    Open<CExportGIFDlg>()->OnActivatePanel();
    EXPECT_TRUE(Checked(IDC_OUTPUT_PNG));
    EXPECT_TRUE(Checked(IDC_EXPORT_DEPTH_8));
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_EXPORT_THRESHOLD)));
    Click(IDC_EXPORT_DEPTH_24);
    EXPECT_EQ(m_record.GetExportBpp(), 24u);
    for (int id : {IDC_EXPORT_COLOUR_SLIDER, IDC_EXPORT_COLOUR_EDIT, IDC_EXPORT_DITHER_NONE,
                   IDC_EXPORT_DITHER_DIFFUSED, IDC_EXPORT_TRANSPARENT})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_EXPORT_THRESHOLD)));
    EXPECT_EQ(WindowText(Item(IDC_EXPORT_DEPTH_GROUP)), "Color depth (Bits per pixel)");
}

TEST_F(OutputPanelTest, PicturesStayOpaqueAndSmallGraphicsAreNotInterlaced)
{
    m_record.SetGraphicType(5);
    m_record.SetBaseSize(100, 7, 1.0);
    m_record.SetPixelSize(100, 7);
    m_record.SetInterlaced(1);
    Open<CExportGIFDlg>()->OnActivatePanel();
    EXPECT_EQ(m_record.GetTransparent(), 0);
    EXPECT_FALSE(Checked(IDC_EXPORT_TRANSPARENT));
    EXPECT_FALSE(Enabled(IDC_EXPORT_TRANSPARENT));
    EXPECT_FALSE(Enabled(IDC_EXPORT_INTERLACED));
    Click(IDC_EXPORT_TRANSPARENT);  // disabled: nothing changes
    EXPECT_EQ(m_record.GetTransparent(), 0);

    // JPEG shows its quality; Simple hands the place back.
    Click(IDC_OUTPUT_JPEG);
    EXPECT_EQ(m_record.GetExportType(), 1);
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_EXPORT_QUALITY_SLIDER)));
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_EXPORT_TRANSPARENT)));
    Click(IDC_EXPORT_SIMPLE);
    EXPECT_EQ(m_services.commands.back(), "SimSave");
    EXPECT_EQ(m_record.GetExportDlgPref(), 0);
}

}  // namespace

namespace {

TEST_F(OutputPanelTest, ThresholdTrackbarStoresTheTrimThreshold)
{
    CExportGIFDlg* panel = Open<CExportGIFDlg>();
    panel->OnActivatePanel();
    HWND slider = Item(IDC_EXPORT_THRESHOLD);
    ASSERT_TRUE(::IsWindowVisible(slider));
    EXPECT_EQ(WindowText(Item(IDC_EXPORT_DEPTH_GROUP)), "Trim transparency");
    struct Case {
        int position;
        bool photo;
        int threshold;
    };
    for (const Case& c : {Case{98, false, 250}, Case{100, false, 254}, Case{0, false, 0}, Case{0, true, 1}}) {
        m_services.photoHandler = c.photo;
        ::SendMessageA(slider, TBM_SETPOS, TRUE, c.position);
        panel->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)slider);
        EXPECT_EQ(m_record.GetTransThreshold(), c.threshold) << c.position;
    }
    // Dragging the thumb stores nothing until it is let go.
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 50);
    panel->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 50), (LPARAM)slider);
    EXPECT_EQ(m_record.GetTransThreshold(), 1);
}

}  // namespace

namespace {

std::vector<std::string> g_openedPages;
bool RecordOpenedPage(const char* path)
{
    g_openedPages.push_back(path);
    return true;
}

TEST_F(OutputPanelTest, BrowserPreviewWritesThePageOfTheExportedGraphic)
{
    // The preview folder is made by the first preview.
    CFileUtils::DeleteFolderFiles(TempFolder() + "QBW", TRUE);
    COperationsManager manager(nullptr);
    SetPreviewPageOpener(RecordOpenedPage);
    g_openedPages.clear();
    m_record.SetExportType(4);
    m_record.SetExportBpp(24);
    COutputDlg* panel = Open<COutputDlg>();
    panel->OnActivatePanel();

    // Without an operations manager there is nothing to preview.
    EXPECT_FALSE(panel->ShowBrowserPreview());
    m_services.operationsManager = &manager;
    Click(IDC_OUTPUT_PREVIEW);
    ASSERT_EQ(g_openedPages.size(), 1u);
    std::ifstream page(g_openedPages[0]);
    std::stringstream html;
    html << page.rdbuf();
    EXPECT_NE(html.str().find("temptwg.png"), std::string::npos);

    // A failed export opens no page.
    m_bitmaps.renders = false;
    EXPECT_FALSE(panel->ShowBrowserPreview());
    EXPECT_EQ(g_openedPages.size(), 1u);
    m_services.operationsManager = nullptr;
    SetPreviewPageOpener(nullptr);
}

}  // namespace

namespace {

TEST_F(OutputPanelTest, NavigationBarEstimateCountsItsEnabledStates)
{
    CFakeNavBarServices bars;
    ASSERT_EQ(bars.bar.CreateDefaultButtons(), 1);
    for (int state = 0; state < 4; ++state)
        bars.bar.SetStateEnabled(state, state < 2);
    // The estimate goes where the rest of the program reads it.
    const CString folder = TempFolder() + "bw-instance\\";
    ::CreateDirectoryA(folder, nullptr);
    bars.temporaryExport = folder + "temptwg.gif";
    m_services.navBarMode = true;
    m_record.SetExportType(4);
    m_record.SetExportBpp(24);
    COutputDlg* panel = Open<COutputDlg>();
    panel->OnActivatePanel();
    EXPECT_EQ(std::string(panel->GetLastTempExport()), std::string(folder) + "temptwg.png");

    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(::GetFileAttributesExA(panel->GetLastTempExport(), GetFileExInfoStandard, &data));
    CString size;
    FormatFileSize(static_cast<std::uint64_t>(data.nFileSizeLow * 2 * 1.2), &size, true);
    const std::string text = WindowText(Item(IDC_OUTPUT_SIZE));
    EXPECT_EQ(text.rfind(std::string(size) + " (approx.), ", 0), 0u) << text;
}

}  // namespace
