// Stands in for Barwright.exe in the integration tests. It records how it was started and
// answers as the program would in hosted mode:
//   BW_FAKE_LOG     file to write: the raw command line, then each argument on a line of its
//                   own ("arg=..."), then the result file's size at start ("result-size=N",
//                   -1 when it did not exist)
//   BW_FAKE_RESULT  text to write over the result file ("\n" and "\r" stand for LF and CR);
//                   unset: nothing is written, as when the user closes without saving
//   BW_FAKE_POST    when set, a WM_APP + 7 is posted to the editor window (/hwnd:) before
//                   the program ends, to show that the editor kept dispatching messages
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Environment(const char* name, bool* present = nullptr)
{
    char value[8192];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (present)
        *present = length > 0 && length < sizeof value;
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'r')) {
            out += text[i + 1] == 'n' ? '\n' : '\r';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // A message queue, as a GUI program has: the editor waits until it is idle.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);

    std::string resultPath;
    long hostWindow = 0;
    for (int i = 1; i < __argc; ++i) {
        const std::string arg = __argv[i];
        if (arg.empty() || (arg[0] != '/' && arg[0] != '-'))
            continue;
        const std::string::size_type colon = arg.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = arg.substr(1, colon - 1);
        const std::string value = arg.substr(colon + 1);
        if (lstrcmpiA(key.c_str(), "result") == 0)
            resultPath = value;
        else if (lstrcmpiA(key.c_str(), "hwnd") == 0)
            hostWindow = std::atol(value.c_str());
    }

    long resultSize = -1;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!resultPath.empty() && GetFileAttributesExA(resultPath.c_str(), GetFileExInfoStandard, &data))
        resultSize = static_cast<long>(data.nFileSizeLow);

    const std::string logPath = Environment("BW_FAKE_LOG");
    if (!logPath.empty()) {
        if (std::FILE* log = std::fopen(logPath.c_str(), "wb")) {
            std::fprintf(log, "%s\n", GetCommandLineA());
            for (int i = 0; i < __argc; ++i)
                std::fprintf(log, "arg=%s\n", __argv[i]);
            std::fprintf(log, "result-size=%ld\n", resultSize);
            std::fclose(log);
        }
    }

    bool answer = false;
    const std::string result = Unescape(Environment("BW_FAKE_RESULT", &answer));
    if (answer && !resultPath.empty()) {
        // The module created the file; the program only writes into it.
        HANDLE file = CreateFileA(resultPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, result.data(), static_cast<DWORD>(result.size()), &written, nullptr);
            CloseHandle(file);
        }
    }

    bool post = false;
    Environment("BW_FAKE_POST", &post);
    if (post && hostWindow != 0)
        PostMessageA(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hostWindow)), WM_APP + 7, 0, 0);
    return 0;
}
