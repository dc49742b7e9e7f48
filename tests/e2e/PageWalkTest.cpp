// The program under Wine walked through its pages by function keys, as a user would: the start
// page, the editing pages by their shortcuts, and back home; the window title follows the page
// and a screenshot of each stop shows a drawn window.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/ProgramProcess.h"

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using e2e::Dist;
using e2e::kTitle;
using e2e::Settle;
using e2e::Title;

namespace {

// The window's client area as a 24-bit bottom-up BMP; answers the number of distinct colours.
int SaveScreenshot(HWND window, const std::string& path)
{
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0)
        return 0;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const int stride = (width * 3 + 3) & ~3;
    std::set<unsigned> colours;
    const unsigned char* row = static_cast<const unsigned char*>(bits);
    for (int y = 0; y < height && colours.size() < 64; y += 4)
        for (int x = 0; x < width; x += 4) {
            const unsigned char* pixel = row + (size_t)y * stride + x * 3;
            colours.insert(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
        }
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4d42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + stride * height;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, &header, sizeof header, &written, nullptr);
        WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
        WriteFile(file, bits, stride * height, &written, nullptr);
        CloseHandle(file);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return (int)colours.size();
}

}  // namespace

TEST(PageWalk, FunctionKeysMoveThroughThePages)
{
    ASSERT_FALSE(Dist().empty()) << "BW_DIST not set";
    e2e::ProgramProcess program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForMainWindow();
    if (window) {
        Settle(program.Handle(), window);
        EXPECT_EQ(Title(window), kTitle);  // the start page
        EXPECT_GT(SaveScreenshot(window, "pagewalk-start.bmp"), 4);

        // F4 is the start page's Load button: the design page of the editing pages.
        struct Stop {
            int key;
            bool editing;  // the title names the project on the editing pages
            const char* shot;
        } stops[] = {
            {VK_F4, true, "pagewalk-design.bmp"}, {VK_F5, true, "pagewalk-colour.bmp"},
            {VK_F6, true, "pagewalk-texture.bmp"}, {VK_F7, true, "pagewalk-size.bmp"},
            {VK_F8, true, "pagewalk-navbars.bmp"}, {VK_F4, true, "pagewalk-text.bmp"},
            {VK_F12, true, "pagewalk-save.bmp"},  {VK_F2, false, "pagewalk-home.bmp"},
        };
        for (const Stop& stop : stops) {
            PostMessageA(window, WM_KEYDOWN, stop.key, 1 | (MapVirtualKeyA(stop.key, 0) << 16));
            PostMessageA(window, WM_KEYUP, stop.key, 0xC0000001 | (MapVirtualKeyA(stop.key, 0) << 16));
            Settle(program.Handle(), window, stop.editing ? std::string(kTitle) + " - " : std::string(kTitle));
            const std::string title = Title(window);
            if (stop.editing)
                EXPECT_EQ(title.rfind(std::string(kTitle) + " - ", 0), 0u) << stop.shot << ": " << title;
            else
                EXPECT_EQ(title, kTitle) << stop.shot;
            EXPECT_GT(SaveScreenshot(window, stop.shot), 4) << stop.shot;
        }
    }
    DWORD exitCode = 1;
    const bool ended = program.CloseAndWait(window, &exitCode);
    ASSERT_TRUE(window) << "no main window";
    EXPECT_TRUE(ended) << "the program did not exit";
}
