// Starting the assembled program under Wine as a user would, finding its main dialog among the
// windows it shows (the splash and message boxes come and go beside it) and closing it again.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

inline const char kTitle[] = "Quor Bar Wright";

inline std::string Dist()
{
    const char* dist = std::getenv("BW_DIST");
    return dist ? dist : "";
}

inline std::string Title(HWND window)
{
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Waits, in steps and up to a bound, until the program has taken the posted input (its title
// is the expected one when one is given) and is idle again. A sent message overtakes posted
// ones, so one round trip alone does not show that the input was handled.
inline void Settle(HANDLE process, HWND window, const std::string& title = std::string())
{
    for (int round = 0; round < 100; ++round) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
        WaitForInputIdle(process, 5000);
        if (round >= 3 && (title.empty() || Title(window).rfind(title, 0) == 0))
            return;
        Sleep(100);
    }
}

namespace detail {

struct WindowSearch {
    DWORD processId;
    const std::function<bool(HWND)>* test;
    HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && (*search->test)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace detail

// The first visible window of the process that passes the test: a top-level one, or one inside
// parent (at any depth) when a parent is given.
inline HWND FindWindowOf(DWORD processId, const std::function<bool(HWND)>& test, HWND parent = nullptr)
{
    detail::WindowSearch search = {processId, &test, nullptr};
    if (parent)
        EnumChildWindows(parent, detail::MatchWindow, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(detail::MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The pointer to a client point of window, as the hardware would move it (with buttons, the
// button goes down or up there).
inline void MoveTo(HWND window, int x, int y, DWORD buttons = 0)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
}

// Pixels (0x00RRGGBB, rows top to bottom) of a rectangle of window's client area, copied out of
// the window itself: another process's windows answer no single pixels, and its child windows
// no pixels at all.
inline std::vector<DWORD> CopyPixels(HWND window, int x, int y, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<DWORD> pixels;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);
        GdiFlush();
        pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

// The start page's "Navigation bar" card, in the main window's client area.
inline const POINT kNavigationBarCard = {202, 343};

// The card clicked: it starts a new bar on the editing pages.
inline void ClickNavigationBarCard(HWND window)
{
    const POINT card = kNavigationBarCard;
    MoveTo(window, card.x, card.y);
    MoveTo(window, card.x, card.y, MOUSEEVENTF_LEFTDOWN);
    MoveTo(window, card.x, card.y, MOUSEEVENTF_LEFTUP);
}

class ProgramProcess {
public:
    // The program of a program root (the build's assembled one unless told).
    explicit ProgramProcess(const std::string& root = Dist())
    {
        std::string command = "\"" + root + "\\Barwright.exe\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, root.c_str(),
                                  &startup, &process_) != FALSE;
    }
    ~ProgramProcess()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const { return started_; }
    HANDLE Handle() const { return process_.hProcess; }
    DWORD Id() const { return process_.dwProcessId; }

    // The main dialog once it shows, or null when the program ends first or after about a minute.
    HWND WaitForMainWindow()
    {
        // The main dialog, not a message box of the same title nor the splash: the sizable one.
        const auto isMain = [](HWND window) {
            return (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) != 0 &&
                   Title(window).compare(0, std::strlen(kTitle), kTitle) == 0;
        };
        HWND found = nullptr;
        for (int i = 0; i < 1200 && !found; ++i) {
            if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0)
                break;
            found = FindWindowOf(process_.dwProcessId, isMain);
        }
        return found;
    }

    // Closes the main window (when there is one) and waits for the program to end; answers
    // whether it ended by itself, with its exit code.
    bool CloseAndWait(HWND window, DWORD* exitCode)
    {
        if (window)
            PostMessageA(window, WM_CLOSE, 0, 0);
        const bool ended = WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0;
        if (!ended)
            TerminateProcess(process_.hProcess, 1);
        *exitCode = 1;
        GetExitCodeProcess(process_.hProcess, exitCode);
        return ended;
    }

private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

}  // namespace e2e
