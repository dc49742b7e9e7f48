// The assembled program root: the four deliverables and the outside components carry version
// information, and the program starts and exits cleanly under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Dist()
{
    const char* dist = std::getenv("BW_DIST");
    return dist ? dist : "";
}

// The "040904b0" FileVersion text of a file, or "" when it has none.
std::string FileVersion(const std::string& path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return "";
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return "";
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileVersion",
                        reinterpret_cast<void**>(&text), &length) || !text)
        return "";
    return text;
}

bool HasFourNumbers(const std::string& version)
{
    int a, b, c, d;
    return std::sscanf(version.c_str(), "%d, %d, %d, %d", &a, &b, &c, &d) == 4;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TEST(ProgramRoot, DeliverablesCarryVersions)
{
    ASSERT_FALSE(Dist().empty()) << "BW_DIST not set";
    for (const char* file : {"Barwright.exe", "Tessro3D.dll", "Tw3Interface.dll", "probekit.dll",
                             "dlls\\stylekit.dll", "dlls\\styleops.dll", "dlls\\quordocg.dll",
                             "dlls\\qfontman.dll", "dlls\\Imgrexsrv.dll"}) {
        const std::string version = FileVersion(Dist() + "\\" + file);
        EXPECT_TRUE(HasFourNumbers(version)) << file << ": \"" << version << "\"";
    }
}

TEST(ProgramRoot, ProgramStartsAndExitsCleanly)
{
    std::string command = "\"" + Dist() + "\\Barwright.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               Dist().c_str(), &startup, &process));

    // Either the program is already done, or it shows its main window: then close it.
    WindowSearch search = {process.dwProcessId, nullptr};
    for (int i = 0; i < 600 && !search.found; ++i) {
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            break;
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    }
    if (search.found)
        PostMessageA(search.found, WM_CLOSE, 0, 0);

    const DWORD waited = WaitForSingleObject(process.hProcess, 30000);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program did not exit";
    EXPECT_EQ(exitCode, 0u);
}
