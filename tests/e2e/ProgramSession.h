// What the end-to-end tests share once the program runs: a program root and registry values of
// their own, waiting on the program, asking its windows, and input posted as a user's.
#pragma once

#include <windows.h>

#include "tests/e2e/ProgramProcess.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace e2e {

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A value of HKCU "Software\Quor\Barwright 1\<key>" set for the test and put back afterwards
// (the Wine prefix is shared with the other tests).
class RegistryValue {
public:
    RegistryValue(const char* key, const char* name, DWORD type, const void* data, DWORD size) : name_(name)
    {
        const std::string path = std::string("Software\\Quor\\Barwright 1\\") + key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                            &key_, nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD oldSize = 0;
        if (RegQueryValueExA(key_, name, nullptr, &oldType_, nullptr, &oldSize) == ERROR_SUCCESS) {
            old_.resize(oldSize);
            had_ = RegQueryValueExA(key_, name, nullptr, &oldType_, old_.data(), &oldSize) == ERROR_SUCCESS;
        }
        set_ = RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    }
    ~RegistryValue()
    {
        if (!key_)
            return;
        if (had_)
            RegSetValueExA(key_, name_.c_str(), 0, oldType_, old_.data(), static_cast<DWORD>(old_.size()));
        else
            RegDeleteValueA(key_, name_.c_str());
        RegCloseKey(key_);
    }
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;
    bool IsSet() const { return set_; }

private:
    std::string name_;
    HKEY key_ = nullptr;
    DWORD oldType_ = 0;
    std::vector<BYTE> old_;
    bool had_ = false;
    bool set_ = false;
};

inline bool HasVisibleItem(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item && IsWindowVisible(item);
}

// A message to a window of the program, answered within a bound; -1 when it is not.
inline LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

inline std::string ItemText(HWND dialog, int id)
{
    char text[4096] = "";
    Ask(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Whether a click on the point of the main window's client area reaches the main window (no
// splash nor message box over it).
inline bool ReachesMainWindow(HWND window, POINT point)
{
    ClientToScreen(window, &point);
    HWND at = WindowFromPoint(point);
    return at && (at == window || IsChild(window, at));
}

// Polls, up to the bound, until the condition holds; each round lets the program take what was
// posted to it first. False when the bound passes or the program ends.
inline bool WaitUntil(HANDLE process, HWND window, const std::function<bool()>& condition, DWORD seconds = 60)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
        if (condition())
            return true;
        if (GetTickCount() - start >= seconds * 1000 || WaitForSingleObject(process, 100) == WAIT_OBJECT_0)
            return false;
    }
}

inline void PressKey(HWND window, int key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1 | (MapVirtualKeyA(key, 0) << 16));
    PostMessageA(window, WM_KEYUP, key, 0xC0000001 | (MapVirtualKeyA(key, 0) << 16));
}

inline void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A folder copied file by file into a new target (folders whose names differ only in case
// meet in one folder here). Answers what failed, or "" on success.
inline std::string CopyFolder(const std::filesystem::path& source, const std::filesystem::path& target)
{
    std::error_code error;
    std::filesystem::remove_all(target, error);
    if (error || !std::filesystem::create_directories(target, error))
        return "making " + target.string() + ": " + error.message();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source, error)) {
        const std::filesystem::path to = target / std::filesystem::relative(entry.path(), source);
        if (entry.is_directory())
            std::filesystem::create_directories(to, error);
        else
            std::filesystem::copy_file(entry.path(), to, std::filesystem::copy_options::overwrite_existing, error);
        if (error)
            return to.string() + ": " + error.message();
    }
    return error ? source.string() + ": " + error.message() : "";
}

// A program root of its own (a copy of the build's, so that nothing the program writes lands
// there) with an empty "Site" folder, and the registry of a first start that saves into it: the
// first start makes the library's style files (as after installing), the save page opens in the
// site, the save information notice shows after a save. Ready() says whether all that is set.
class SiteProgramRoot {
public:
    explicit SiteProgramRoot(const std::string& folder)
        : copyError_(CopyFolder(Dist(), folder)), root_(FullFolder(folder)), site_(root_ + "Site\\"),
          siteMade_(CreateDirectoryA(site_.c_str(), nullptr) != FALSE),
          generate_("Startup", "Generate", REG_DWORD, &kOne, sizeof kOne),
          project_("Startup", "Proj", REG_SZ, kProject, sizeof kProject),
          exportDir_("Options", "ExportDir", REG_SZ, site_.c_str(), static_cast<DWORD>(site_.size() + 1)),
          saveInfo_("Options", "SaveInfoDialog", REG_DWORD, &kZero, sizeof kZero)
    {
    }
    // "" when the root, the site and the registry are ready; else what failed.
    std::string Ready() const
    {
        if (!copyError_.empty())
            return "copying the program root: " + copyError_;
        if (!siteMade_)
            return "making " + site_;
        if (!generate_.IsSet() || !project_.IsSet() || !exportDir_.IsSet() || !saveInfo_.IsSet())
            return "setting the registry";
        return "";
    }
    const std::string& Root() const { return root_; }  // with its backslash
    const std::string& Site() const { return site_; }  // with its backslash

private:
    static std::string FullFolder(const std::string& folder)
    {
        char full[MAX_PATH] = "";
        GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
        return std::string(full) + "\\";
    }
    static constexpr DWORD kOne = 1, kZero = 0;
    static constexpr char kProject[] = "Default";
    std::string copyError_, root_, site_;
    bool siteMade_;
    RegistryValue generate_, project_, exportDir_, saveInfo_;
};

}  // namespace e2e
