// Context help tips and the about boxes: the help table, the tip window's wrapping and hiding,
// the about box run from the system menu and the start pages' about pane.
#include "app/AboutDlg.h"
#include "app/GraphicInfoDlg.h"
#include "app/HelpTipWnd.h"
#include "app/Resource.h"
#include "app/StartPageManager.h"
#include "app/TopLevelManager.h"
#include "app/WidgetsDlg.h"
#include "tests/app/MainDialogFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ContextHelp, ControlsMapToTheirHelpTexts)
{
    const struct {
        int control;
        UINT help;
    } cases[] = {{1692, 50006}, {1792, 50152}, {1455, 50002}, {1728, 50141}, {1996, 50184}, {32941, 50046},
                 {1000, 0}, {0, 0}, {-1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(GetHelpContext(c.control), c.help) << c.control;
    // The texts of the program's panels are in its string table.
    for (int control : {1455, 1728, 1837, 1996, 1023, 1029, 1383, 1811}) {
        CString text;
        EXPECT_TRUE(text.LoadString(GetHelpContext(control)) && !text.IsEmpty()) << control;
    }
}

TEST(ContextHelp, TipWrapsLongTextsDownwardsAndHidesWhenLeft)
{
    CHelpTipWnd tip;
    ASSERT_TRUE(tip.Create());
    EXPECT_FALSE(tip.IsWindowVisible());

    CString line;
    line.LoadString(50002);
    tip.ShowTip(line, 100, 120);
    EXPECT_TRUE(tip.IsWindowVisible());
    RECT one;
    tip.GetWindowRect(&one);
    EXPECT_EQ(one.left, 113);
    EXPECT_EQ(one.top, 133);
    EXPECT_LE(one.right - one.left, 285 + 4);

    const CString longer = line + " " + line + " " + line;
    tip.ShowTip(longer, 100, 120);
    RECT three;
    tip.GetWindowRect(&three);
    EXPECT_EQ(three.top, one.top);
    EXPECT_GT(three.bottom - three.top, one.bottom - one.top);
    EXPECT_EQ(std::string(tip.GetText()), std::string(longer));

    tip.SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST(AboutPane, LinkAreasOfThePicture)
{
    const struct {
        int x, y, link;
    } cases[] = {{30, 20, 1}, {209, 89, 1}, {210, 50, 0}, {225, 15, 2}, {379, 89, 2}, {380, 50, 0}, {100, 95, 0},
                 {0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CAboutLinksDlg::HitTestLink(c.x, c.y), c.link) << c.x << "," << c.y;
}

TEST(GraphicInfo, WhereTheGraphicComesFrom)
{
    const CString templates = "C:\\Bar\\TWTemplates\\";
    const struct {
        const char* style;
        const char* kiq;
        const char* label;
        const char* file;
        const char* location;
    } cases[] = {
        {"C:\\Bar\\TWTemplates\\Buttons\\Oval\\Blue.qtw", "", "Location:", "Blue", "Buttons\\Oval"},
        {"C:\\Bar\\twtemplates\\Shop (Project)\\Cart2.qtw", "", "Project:", "Cart2", "Shop "},
        {"C:\\Bar\\TWTemplates\\Autumn (Theme)\\Leaf.qtw", "", "Theme:", "Leaf", "Autumn "},
        // A style file outside the library: the template the graphic was made from.
        {"D:\\Work\\Mine.qtw", "C:\\Bar\\TWTemplates\\Headings\\Bold.kiq", "Location:", "Bold", "Headings"},
        {"", "E:\\Elsewhere\\Plain.kiq", "Location:", "Plain", "E:\\Elsewhere"},
    };
    for (const auto& c : cases) {
        CGraphicInfoDlg info;
        info.Describe(c.style, c.kiq, templates, 120, 32);
        EXPECT_EQ(std::string(info.m_label), c.label) << c.style;
        EXPECT_EQ(std::string(info.m_file), c.file) << c.style;
        EXPECT_EQ(std::string(info.m_location), c.location) << c.style;
        EXPECT_EQ(std::string(info.m_dimensions), "120 x 32 pixels");
    }
}

class AboutBoxes : public MainDialogFixture {
protected:
    AboutBoxes() : MainDialogFixture({{BW_SERVER_PATH, BW_ENGINE_PATH, BW_IMPORTER_PATH}, BW_ROOT_PATH, 800, 600, false})
    {
    }

    static BOOL CALLBACK FindAbout(HWND window, LPARAM found)
    {
        if (::IsWindowVisible(window) && ::GetDlgItem(window, IDC_ABOUT_PROGRAM)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    // Closes the about box once it is up, after reading its fields.
    static void CALLBACK CloseAbout(HWND, UINT, UINT_PTR timer, DWORD)
    {
        HWND box = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindAbout, reinterpret_cast<LPARAM>(&box));
        if (!box || ::GetPropA(box, "closing"))
            return;
        ::SetPropA(box, "closing", box);
        char text[128] = "";
        for (int id : {IDC_ABOUT_PROGRAM, IDC_ABOUT_VERSION, IDC_ABOUT_BUILD}) {
            ::GetDlgItemTextA(box, id, text, sizeof text);
            s_fields += std::string(text) + "|";
        }
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    static std::string s_fields;
};

std::string AboutBoxes::s_fields;

TEST_F(AboutBoxes, SystemMenuAboutBoxAndTheStartPagesPane)
{
    s_fields.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, CloseAbout);
    dlg->SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(s_fields, "Quor Bar Wright|1.1 (1.2246) Jan 19 2004|32-bit Retail|");

    auto* pane = dynamic_cast<CAboutPaneManager*>(top->GetStartPage()->GetAboutPane());
    ASSERT_TRUE(pane && pane->GetDialog() && pane->GetDialog()->GetSafeHwnd());
    EXPECT_EQ(pane->GetType(), 1);
    EXPECT_FALSE(pane->GetDialog()->IsWindowVisible());
    RECT rect;
    pane->GetDialog()->GetClientRect(&rect);
    EXPECT_EQ(rect.right, 410);
    EXPECT_EQ(rect.bottom, 143);
    EXPECT_FALSE(pane->GetDialog()->GetVersionLine().IsEmpty());
}

TEST_F(AboutBoxes, WhatsThisShowsTheControlsHelpText)
{
    // A control of the main window with a help text, over everything else.
    HWND control = ::CreateWindowExA(0, "BUTTON", "Home", WS_CHILD | WS_VISIBLE, 300, 200, 60, 24, dlg->m_hWnd,
                                     (HMENU)1455, nullptr, nullptr);
    ASSERT_TRUE(control);
    ::SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    dlg->UpdateWindow();
    POINT at = {310, 210};
    ::ClientToScreen(dlg->m_hWnd, &at);
    ::SetCursorPos(at.x, at.y);

    // The menu's own loop reads the keys: the first item, then Enter.
    ::PostMessageA(control, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(control, WM_KEYDOWN, VK_RETURN, 0);
    dlg->SendMessage(WM_CONTEXTMENU, (WPARAM)control, MAKELPARAM(at.x, at.y));
    HWND tip = ::FindWindowA("HelpTipWndClass", nullptr);
    ASSERT_TRUE(tip);
    EXPECT_TRUE(::IsWindowVisible(tip));
    ::ShowWindow(tip, SW_HIDE);

    // A control without a help text offers no menu: nothing waits for a choice.
    ::SetWindowLongPtrA(control, GWLP_ID, 1000);
    dlg->SendMessage(WM_CONTEXTMENU, (WPARAM)control, MAKELPARAM(at.x, at.y));
    EXPECT_FALSE(::IsWindowVisible(tip));
    ::DestroyWindow(control);
}

}  // namespace
