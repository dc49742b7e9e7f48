// The assembled program root: the four deliverables and the outside components carry version
// information, and the program starts and exits cleanly under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/ProgramProcess.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using e2e::Dist;

namespace {

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
    e2e::ProgramProcess program;
    ASSERT_TRUE(program.Started());
    // The program shows its main window (then it is closed) or is already done.
    HWND window = program.WaitForMainWindow();
    DWORD exitCode = 1;
    EXPECT_TRUE(program.CloseAndWait(window, &exitCode)) << "the program did not exit";
    EXPECT_TRUE(window) << "no main window";
    EXPECT_EQ(exitCode, 0u);
}
