// Start-up and shut-down of the program under Wine, driven from outside: the Startup registry
// values before and after, the temporary folders of a first and a second instance, and the
// messages for a root without resources and for missing outside components.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/e2e/ProgramProcess.h"

#include <cstdlib>
#include <functional>
#include <string>

namespace {

const char kStartup[] = "Software\\Quor\\Barwright 1\\Startup";
const char kOptions[] = "Software\\Quor\\Barwright 1\\Options";

std::string Dist()
{
    const char* dist = std::getenv("BW_DIST");
    return dist ? dist : "";
}

std::string TempRoot(const std::string& name)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "bw_e2e";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    dir += "\\" + name;
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::string& path, const char* text)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text, (DWORD)strlen(text), &written, nullptr);
    ::CloseHandle(file);
}

// A program root: the program, optionally its resources and its "dlls" folder.
std::string MakeRoot(const std::string& name, bool resources, bool dlls)
{
    const std::string root = TempRoot(name);
    ::CopyFileA((Dist() + "\\Barwright.exe").c_str(), (root + "\\Barwright.exe").c_str(), FALSE);
    ::CopyFileA((Dist() + "\\Tessro3D.dll").c_str(), (root + "\\Tessro3D.dll").c_str(), FALSE);
    if (resources) {
        ::CreateDirectoryA((root + "\\SysResources").c_str(), nullptr);
        ::CreateDirectoryA((root + "\\SysResources\\Graphics").c_str(), nullptr);
        WriteFile(root + "\\SysResources\\Graphics\\graphictypes.web", "<svg/>");
        // The operations manager opens the default template when the main dialog is made.
        ::CopyFileA((Dist() + "\\SysResources\\Graphics\\Default.kiq").c_str(),
                    (root + "\\SysResources\\Graphics\\Default.kiq").c_str(), FALSE);
    }
    if (dlls) {
        ::CreateDirectoryA((root + "\\dlls").c_str(), nullptr);
        for (const char* file : {"stylekit.dll", "styleops.dll", "quordocg.dll", "qfontman.dll", "Imgrexsrv.dll"})
            ::CopyFileA((Dist() + "\\dlls\\" + file).c_str(), (root + "\\dlls\\" + file).c_str(), FALSE);
    }
    return root;
}

struct Program {
    PROCESS_INFORMATION process = {};
    explicit Program(const std::string& root, const std::string& arguments = "")
    {
        std::string command = "\"" + root + "\\Barwright.exe\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        EXPECT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, root.c_str(), &startup,
                                     &process));
    }
    ~Program()
    {
        if (::WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
            ::TerminateProcess(process.hProcess, 1);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    // The first visible top-level window of the process that passes the test.
    HWND WaitForWindow(const std::function<bool(HWND)>& test)
    {
        HWND found = nullptr;
        for (int i = 0; i < 600 && !found; ++i) {
            if (Wait(50))
                break;
            found = e2e::FindWindowOf(process.dwProcessId, test);
        }
        return found;
    }
    HWND WaitForMainWindow()
    {
        return WaitForWindow([](HWND hWnd) {
            char title[128];
            ::GetWindowTextA(hWnd, title, sizeof title);
            // The sizable one: the progress window shown while the library is made has the
            // same title, and so has the message box.
            const bool sizable = (::GetWindowLongA(hWnd, GWL_STYLE) & WS_THICKFRAME) != 0;
            return std::string(title) == "Quor Bar Wright" && sizable && !::GetDlgItem(hWnd, 10002);
        });
    }
    HWND WaitForMessageBox()
    {
        return WaitForWindow([](HWND hWnd) { return ::GetDlgItem(hWnd, 10002) != nullptr; });
    }
    // Waits for the process to end, handling this thread's messages meanwhile (the program
    // may talk to a window of ours); true when it ended.
    bool Wait(DWORD milliseconds)
    {
        const DWORD until = ::GetTickCount() + milliseconds;
        for (;;) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageA(&msg);
            const DWORD now = ::GetTickCount();
            const DWORD left = (LONG)(until - now) > 0 ? until - now : 0;
            const DWORD result = ::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, left, QS_ALLINPUT);
            if (result == WAIT_OBJECT_0)
                return true;
            if (result == WAIT_TIMEOUT)
                return false;
        }
    }
    DWORD WaitForExit()
    {
        EXPECT_TRUE(Wait(30000));
        DWORD code = 1;
        ::GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
};

std::string Text(HWND hWnd, int id = 0)
{
    char text[512] = {};
    if (id)
        ::GetDlgItemTextA(hWnd, id, text, sizeof text);
    else
        ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

bool ReadDword(const char* key, const char* name, DWORD& value)
{
    DWORD size = sizeof value;
    return ::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS;
}

std::string ReadString(const char* key, const char* name)
{
    HKEY handle;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "<missing>";
    char buffer[512] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    const LONG status = ::RegQueryValueExA(handle, name, nullptr, &type, (BYTE*)buffer, &size);
    ::RegCloseKey(handle);
    return status == ERROR_SUCCESS ? std::string(buffer, strnlen(buffer, size)) : "<missing>";
}

void SetDword(const char* key, const char* name, DWORD value)
{
    HKEY handle;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    ::RegSetValueExA(handle, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
    ::RegCloseKey(handle);
}

void SetString(const char* key, const char* name, const std::string& value)
{
    HKEY handle;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    ::RegSetValueExA(handle, name, 0, REG_SZ, (const BYTE*)value.data(), (DWORD)value.size());
    ::RegCloseKey(handle);
}

void DeleteValue(const char* key, const char* name)
{
    HKEY handle;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &handle) == ERROR_SUCCESS) {
        ::RegDeleteValueA(handle, name);
        ::RegCloseKey(handle);
    }
}

std::string ReadClassesString(const char* key)
{
    char buffer[MAX_PATH + 1] = {};
    LONG size = MAX_PATH;
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, key, buffer, &size) != ERROR_SUCCESS)
        return "";
    return buffer;
}

void SetClassesString(const char* key, const std::string& value)
{
    ::RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value.c_str(), (DWORD)value.size());
}

std::string TempFolder()
{
    char appData[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::string(appData) + "\\Quor\\Barwright\\Temp";
}

void MakeFolders(const std::string& path)
{
    for (size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
        ::CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        if (at == std::string::npos)
            break;
    }
}

}  // namespace

TEST(Startup, RootWithoutResourcesStopsWithMessage10070)
{
    ASSERT_FALSE(Dist().empty());
    SetDword(kStartup, "Running", 5);
    const std::string root = MakeRoot("noresources", false, false);
    Program program(root);
    HWND box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Text(box), "Error from Quor Bar Wright");
    EXPECT_EQ(Text(box, 10002), "Failed to find the resources for the application. Closing down the application");
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(10003, BN_CLICKED), (LPARAM)::GetDlgItem(box, 10003));
    EXPECT_EQ(program.WaitForExit(), 0u);
    DWORD running = 0;
    EXPECT_TRUE(ReadDword(kStartup, "Running", running));
    EXPECT_EQ(running, 5u);  // an early end leaves the count alone
}

TEST(Startup, MissingComponentsStopWithMessage32909)
{
    // The first component neither registered nor in the system folder, and no "dlls" to repair from.
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "CLSID\\{31A6E652-EBA2-11D0-8C33-00A024729DDE}\\InprocServer32");
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    ::DeleteFileA((std::string(system) + "\\stylekit.dll").c_str());
    SetDword(kStartup, "Running", 5);

    const std::string root = MakeRoot("nodlls", true, false);
    Program program(root);
    HWND box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Text(box), "Warning from Quor Bar Wright");
    EXPECT_EQ(Text(box, 10002), "Failed to register the DLLs required by the program!");
    ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    DWORD running = 0;
    ReadDword(kStartup, "Running", running);
    EXPECT_EQ(running, 5u);
}

TEST(Startup, TwoInstancesCountThemselvesAndKeepOrDropTheirTempFolders)
{
    if (!Exists(Dist() + "\\dlls\\stylekit.dll"))
        GTEST_SKIP() << "the outside components are not built";
    const std::string root = MakeRoot("full", true, true);
    DeleteValue(kStartup, "Running");
    DeleteValue(kStartup, "Proj");
    DeleteValue(kStartup, "FourteenDayUpdate");
    SetDword(kStartup, "Generate", 1);
    SetString(kOptions, "ExportDir", "a:\\floppy");

    Program first(root);
    HWND firstWindow = first.WaitForMainWindow();
    ASSERT_TRUE(firstWindow) << "the main window did not appear";
    DWORD running = 0;
    EXPECT_TRUE(ReadDword(kStartup, "Running", running));
    EXPECT_EQ(running, 1u);
    EXPECT_EQ(ReadString(kStartup, "rootpath"), root + "\\");
    DWORD generate = 1;
    EXPECT_TRUE(ReadDword(kStartup, "Generate", generate));
    EXPECT_EQ(generate, 0u);  // reset before a generation run, so a broken run is not repeated
    DWORD stamp = 0;
    EXPECT_TRUE(ReadDword(kStartup, "FourteenDayUpdate", stamp));  // the first check falls due
    EXPECT_GE(stamp, 1u);

    Program second(root);
    HWND secondWindow = second.WaitForMainWindow();
    ASSERT_TRUE(secondWindow);
    ReadDword(kStartup, "Running", running);
    EXPECT_EQ(running, 2u);

    // What each instance keeps in its temporary folder while it runs.
    const std::string shared = TempFolder();
    const std::string own = shared + "\\" + std::to_string(second.process.dwProcessId);
    MakeFolders(own);
    WriteFile(shared + "\\keep.txt", "first");
    WriteFile(own + "\\~ast3.qtw", "second");

    ::PostMessageA(secondWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_FALSE(Exists(own));
    ReadDword(kStartup, "Running", running);
    EXPECT_EQ(running, 1u);

    ::PostMessageA(firstWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_TRUE(Exists(shared + "\\keep.txt"));
    ReadDword(kStartup, "Running", running);
    EXPECT_EQ(running, 0u);
    EXPECT_EQ(ReadString(kOptions, "ExportDir"), "");  // a floppy folder is not remembered
    DWORD left = 0;
    EXPECT_TRUE(ReadDword("Software\\Quor\\Barwright 1\\MainWindowPlacement", "Left", left));
    ::DeleteFileA((shared + "\\keep.txt").c_str());
}

// The document renderer registered with a good version but unable to make its objects: the
// program says so once, and the Running count goes back to where it was.
TEST(Startup, AnUnusableRendererStopsWithOneMessage)
{
    if (!Exists(Dist() + "\\dlls\\stylekit.dll"))
        GTEST_SKIP() << "the outside components are not built";
    const std::string root = MakeRoot("full", true, true);
    {
        // A normal start first, so that every component is in the system folder and registered.
        Program program(root);
        HWND main = program.WaitForMainWindow();
        ASSERT_TRUE(main);
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_EQ(program.WaitForExit(), 0u);
    }
    // Both renderer classes lead to a library whose version passes the check but which has no
    // class objects.
    const char* keys[] = {"CLSID\\{336BD230-BDA6-11D1-B444-00A024ED787A}\\InprocServer32",
                          "CLSID\\{3F753426-49E1-11D0-895D-0020AFE14B0F}\\InprocServer32"};
    std::string saved[2];
    for (int i = 0; i < 2; ++i) {
        saved[i] = ReadClassesString(keys[i]);
        ASSERT_FALSE(saved[i].empty()) << keys[i];
        SetClassesString(keys[i], root + "\\Tessro3D.dll");
    }
    SetDword(kStartup, "Running", 5);
    {
        Program program(root);
        HWND box = program.WaitForMessageBox();
        EXPECT_TRUE(box);
        if (box) {
            EXPECT_EQ(Text(box, 10002), "Failed to register the DLLs required by the program!");
            ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        }
        // No second box: the program ends.
        EXPECT_EQ(program.WaitForExit(), 0u);
    }
    for (int i = 0; i < 2; ++i)
        SetClassesString(keys[i], saved[i]);
    DWORD running = 0;
    ReadDword(kStartup, "Running", running);
    EXPECT_EQ(running, 5u);
}

TEST(Startup, HostedByAnEditorTheMainDialogHasAnInvisibleOwnerAndNoTaskbarButton)
{
    if (!Exists(Dist() + "\\dlls\\stylekit.dll"))
        GTEST_SKIP() << "the outside components are not built";
    HWND editor = ::CreateWindowExA(0, "STATIC", "Editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                    nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(editor);
    const std::string root = MakeRoot("full", true, true);
    Program program(root, "/hWnd:" + std::to_string((UINT_PTR)editor));
    HWND main = program.WaitForMainWindow();
    ASSERT_TRUE(main);
    HWND owner = ::GetWindow(main, GW_OWNER);
    ASSERT_TRUE(owner);
    EXPECT_FALSE(::IsWindowVisible(owner));
    EXPECT_EQ(::GetWindow(owner, GW_OWNER), editor);
    EXPECT_EQ(::GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(::GetWindowLongA(main, GWL_STYLE) & WS_MINIMIZEBOX, 0);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    ::DestroyWindow(editor);
}
