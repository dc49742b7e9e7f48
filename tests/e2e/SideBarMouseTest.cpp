// The side bar's page buttons under the pointer, with the program under Wine and real pointer
// input (no key pressed first): a button under the pointer shows its Over face, and a click on
// it changes the page, on the start page and on the editing pages.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/ProgramSession.h"

#include <cstring>
#include <string>
#include <vector>

using namespace e2e;

namespace {

const int kPanes = 11;          // the bar's panes, top to bottom, of equal height
const int kStartLoadPane = 2;   // on the start page: Load, which opens the editing pages
const int kEditHomePane = 0;    // on the editing pages: Home
const int kEditColourPane = 3;  // on the editing pages: Colour

BOOL CALLBACK FindBar(HWND child, LPARAM param)
{
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    // The bar: a static control whose visible children are the page buttons.
    if (_stricmp(name, "Static") == 0 && IsWindowVisible(child) && GetWindow(child, GW_CHILD) &&
        GetDlgCtrlID(child) == 0xffff && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BLACKFRAME) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

// The middle of a pane of the bar, in the main window's client area.
POINT PaneCentre(HWND window, HWND bar, int pane)
{
    RECT client;
    GetClientRect(bar, &client);
    const int each = client.bottom / kPanes;
    POINT at = {client.right / 2, pane * each + each / 2};
    MapWindowPoints(bar, window, &at, 1);
    return at;
}

// The pixels of the pane's middle band.
std::vector<DWORD> PanePixels(HWND window, HWND bar, int pane)
{
    RECT client;
    GetClientRect(bar, &client);
    const int each = client.bottom / kPanes;
    POINT corner = {0, pane * each + each / 4};
    MapWindowPoints(bar, window, &corner, 1);
    return CopyPixels(window, corner.x, corner.y, client.right, each / 2);
}

// The pointer somewhere over the window's client area away from the bar, then over the pane:
// answers whether the pane's face changed under it (polled, as the face is composed on idle).
bool HoversOver(ProgramProcess& program, HWND window, HWND bar, int pane)
{
    RECT client;
    GetClientRect(window, &client);
    MoveTo(window, client.right - 20, client.bottom - 20);
    Settle(program.Handle(), window);
    const std::vector<DWORD> before = PanePixels(window, bar, pane);
    const POINT centre = PaneCentre(window, bar, pane);
    MoveTo(window, centre.x - 1, centre.y);
    MoveTo(window, centre.x, centre.y);
    return WaitUntil(program.Handle(), window, [&] { return PanePixels(window, bar, pane) != before; }, 10);
}

void ClickAt(HWND window, POINT at)
{
    MoveTo(window, at.x, at.y);
    MoveTo(window, at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    MoveTo(window, at.x, at.y, MOUSEEVENTF_LEFTUP);
}

}  // namespace

TEST(SideBarMouse, PageButtonsHoverAndClickWithoutAKeyFirst)
{
    ASSERT_FALSE(Dist().empty()) << "BW_DIST not set";
    ProgramProcess program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window) << "no main window";
    Settle(program.Handle(), window);
    ASSERT_TRUE(WaitUntil(program.Handle(), window, [&] { return ReachesMainWindow(window, kNavigationBarCard); }))
        << "the start page stays covered";
    HWND bar = nullptr;
    EnumChildWindows(window, FindBar, reinterpret_cast<LPARAM>(&bar));
    ASSERT_TRUE(bar) << "no side bar";

    // The start page: Load shows its Over face, and its click opens the editing pages.
    EXPECT_TRUE(HoversOver(program, window, bar, kStartLoadPane)) << "start page: no Over face";
    ClickAt(window, PaneCentre(window, bar, kStartLoadPane));
    EXPECT_TRUE(WaitUntil(program.Handle(), window, [&] { return Title(window).rfind(std::string(kTitle) + " - ", 0) == 0; }))
        << "start page: the click on Load changed nothing; title \"" << Title(window) << "\"";

    // The editing pages: Colour shows its Over face, and Home's click goes back home.
    bar = nullptr;
    EnumChildWindows(window, FindBar, reinterpret_cast<LPARAM>(&bar));
    ASSERT_TRUE(bar) << "no side bar on the editing pages";
    EXPECT_TRUE(HoversOver(program, window, bar, kEditColourPane)) << "editing pages: no Over face";
    ClickAt(window, PaneCentre(window, bar, kEditHomePane));
    EXPECT_TRUE(WaitUntil(program.Handle(), window, [&] { return Title(window) == kTitle; }))
        << "editing pages: the click on Home changed nothing; title \"" << Title(window) << "\"";

    DWORD exitCode = 1;
    EXPECT_TRUE(program.CloseAndWait(window, &exitCode)) << "the program did not exit";
}
