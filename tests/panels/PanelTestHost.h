// A visible top-level window to host panels in tests, and a window's text. Showing a new
// top-level window costs seconds under Wine, so a test suite makes one and keeps it.
#pragma once

#include <windows.h>

#include <string>

inline HWND CreatePanelTestHost(int width, int height)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "BwPanelTestHost";
        ::RegisterClassA(&wc);
        registered = true;
    }
    return ::CreateWindowExA(0, "BwPanelTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height,
                             nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

inline std::string WindowText(HWND window)
{
    char text[300] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}
