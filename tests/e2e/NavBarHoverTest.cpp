// A new navigation bar in the program under Wine: the preview's corner badge names the state
// shown, and the pointer over a button of the bar shows it in its Over state until it leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/ProgramProcess.h"

#include <cstring>
#include <string>

using e2e::Dist;
using e2e::MoveTo;
using e2e::kTitle;
using e2e::Settle;

namespace {

// The fill colours of the Off and Over badges.
const COLORREF kOffBadge = RGB(88, 88, 96);
const COLORREF kOverBadge = RGB(32, 112, 200);

BOOL CALLBACK FindPreview(HWND child, LPARAM param)
{
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    if (std::strcmp(name, "BwTemplatePreview") == 0 && IsWindowVisible(child)) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

// A pixel inside the badge: its second column and row from the top-left. The badge lies 2
// pixels in from the bottom-left corner of the picture inside the one-pixel frame, 11 rows high.
COLORREF BadgePixel(HWND window, HWND preview)
{
    RECT client;
    GetClientRect(preview, &client);
    POINT at = {1 + 2 + 1, client.bottom - 1 - 2 - 11 + 1};
    MapWindowPoints(preview, window, &at, 1);
    const std::vector<DWORD> pixels = e2e::CopyPixels(window, at.x, at.y, 1, 1);
    if (pixels.empty())
        return CLR_INVALID;
    const DWORD pixel = pixels[0];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Waits for the badge to show a colour; answers the last one seen.
COLORREF WaitForBadge(HANDLE process, HWND window, HWND preview, COLORREF wanted)
{
    COLORREF seen = CLR_INVALID;
    for (int round = 0; round < 20 && seen != wanted; ++round) {
        Settle(process, window);
        seen = BadgePixel(window, preview);
    }
    return seen;
}

// As the installer does: the first start makes the library's style files, so that a new bar
// starts from the library's bar style with its Over state.
void AskForTheLibrarysFiles()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quor\\Barwright 1\\Startup", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const DWORD generate = 1;
    RegSetValueExA(key, "Generate", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&generate), sizeof generate);
    RegCloseKey(key);
}

}  // namespace

TEST(NavBarHover, BadgeNamesTheStateTheBarIsShownIn)
{
    ASSERT_FALSE(Dist().empty()) << "BW_DIST not set";
    AskForTheLibrarysFiles();
    e2e::ProgramProcess program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForMainWindow();
    if (window) {
        Settle(program.Handle(), window);
        e2e::ClickNavigationBarCard(window);
        Settle(program.Handle(), window, std::string(kTitle) + " - ");
        HWND preview = nullptr;
        EnumChildWindows(window, FindPreview, reinterpret_cast<LPARAM>(&preview));
        ASSERT_NE(nullptr, preview) << "no preview shown";
        EXPECT_EQ(kOffBadge, WaitForBadge(program.Handle(), window, preview, kOffBadge));

        // Somewhere along the middle of the preview the pointer is over a button.
        RECT client;
        GetClientRect(preview, &client);
        bool over = false;
        for (int x = 8; x < client.right && !over; x += 12) {
            MoveTo(preview, x, client.bottom / 2);
            Settle(program.Handle(), window);
            over = BadgePixel(window, preview) == kOverBadge;
        }
        EXPECT_TRUE(over) << "no button showed its Over state";

        // Below the preview the pointer has left the bar.
        MoveTo(preview, client.right / 2, client.bottom + 40);
        EXPECT_EQ(kOffBadge, WaitForBadge(program.Handle(), window, preview, kOffBadge));
    }
    DWORD exitCode = 1;
    const bool ended = program.CloseAndWait(window, &exitCode);
    ASSERT_TRUE(window) << "no main window";
    EXPECT_TRUE(ended) << "the program did not exit";
}
