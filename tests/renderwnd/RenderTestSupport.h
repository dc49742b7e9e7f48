// Shared set-up of the renderer-window tests: the renderer registered, an application object
// with a program root of SysResources written by the test, and a visible main window.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/AppServiceAdapters.h"
#include "app/widgets.h"
#include "tests/ModuleEntry.h"

namespace rendertest {

inline std::string ServerPath()
{
    std::string path = std::string("Z:") + BW_SERVER_PATH;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

inline void WriteFile(const std::string& path, const std::string& text)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

inline const char* TopLevelClass()
{
    static const char kClass[] = "RenderTestTop";
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(::GetModuleHandleA(nullptr), kClass, &wc)) {
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = (HBRUSH)::GetStockObject(GRAY_BRUSH);
        wc.lpszClassName = kClass;
        ::RegisterClassA(&wc);
    }
    return kClass;
}

// A main window of 400 x 300 client pixels at the screen's top-left, the root folder with
// SysResources\buttons, and the renderer registered.
class Environment {
public:
    Environment()
    {
        ::CoInitialize(nullptr);
        registered = CallServer("DllRegisterServer");
        char temp[MAX_PATH];
        ::GetTempPathA(sizeof temp, temp);
        root = std::string(temp) + "bwrenderwnd\\";
        ::CreateDirectoryA(root.c_str(), nullptr);
        ::CreateDirectoryA((root + "SysResources").c_str(), nullptr);
        ::CreateDirectoryA((root + "SysResources\\buttons").c_str(), nullptr);
        app.m_rootPath = root.c_str();
        // The bitmap services hand the application's rasterizer to the DIB sections that draw
        // below true colour.
        InstallAppServiceAdapters();
        RECT r = {0, 0, 400, 300};
        ::AdjustWindowRect(&r, WS_POPUP, FALSE);
        main.CreateEx(0, TopLevelClass(), "main", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr);
        app.m_pMainWnd = &main;
    }
    ~Environment()
    {
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        ::CoUninitialize();
    }
    std::string ButtonsFolder() const { return root + "SysResources\\buttons\\"; }
    // Runs the renderer's DllRegisterServer or DllUnregisterServer.
    bool CallServer(const char* entry)
    {
        HMODULE module = ::LoadLibraryA(ServerPath().c_str());
        if (!module)
            return false;
        auto call = ModuleEntry<HRESULT(WINAPI*)()>(module, entry);
        const bool done = call && call() == S_OK;
        ::FreeLibrary(module);
        return done;
    }
    void Pump()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    CWidgetsApp app;
    CWnd main;
    std::string root;
    bool registered = false;
};

// The one environment of the test program, made by its main.
inline Environment* g_environment = nullptr;

}  // namespace rendertest
