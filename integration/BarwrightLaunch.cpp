// One editor request: find the editor's window, start Barwright with a command line that
// describes the request, keep the editor's messages flowing until Barwright has ended, then
// take the snippet identifier and the HTML from the result file and delete it.
#include "integration/HotDogQuorBarwright.h"

#include "integration/LaunchCommandLine.h"
#include "integration/ModuleFunctions.h"
#include "integration/ModuleText.h"
#include "integration/ResultFile.h"
#include "integration/Tw3InterfaceApp.h"
#include "integration/resource.h"

#include <cstdio>
#include <new>
#include <string>

namespace integration {

namespace {

constexpr const char* kDreamweaverEditor = "Quor Bar Wright Dreamweaver Extension";
constexpr const char* kFrontPageEditor = "Quor Bar Wright FrontPage Add-in";
constexpr const char* kDreamweaverWindowClass = "_macr_dreamweaver_frame_window_";
constexpr const char* kFrontPageWindowClass = "FrontPageExplorerWindow40";

BOOL CALLBACK EnumHostWindowsProc(HWND window, LPARAM lParam)
{
    *reinterpret_cast<HWND*>(lParam) = window;
    char className[1024];
    if (!GetClassNameA(window, className, sizeof className))
        return TRUE;
    const char* editor = CTw3InterfaceApp::Get().EditorName();
    const bool dreamweaver = EqualsNoCase(editor, kDreamweaverEditor) && EqualsNoCase(className, kDreamweaverWindowClass);
    const bool frontPage = EqualsNoCase(editor, kFrontPageEditor) && EqualsNoCase(className, kFrontPageWindowClass);
    return !(dreamweaver || frontPage);
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

BOOL CHotDogQuorBarwright::LaunchBarwright()
{
    HWND host = FindHostWindow();
    if (!host || !IsWindow(host))
        return FALSE;

    if (m_docPath[0] == '\0' && !m_update) {
        const std::string text = LoadModuleString(IDS_SAVE_FIRST);
        const std::string title = LoadModuleString(IDS_WARNING_TITLE);
        MessageBoxA(host, text.c_str(), title.c_str(), MB_SYSTEMMODAL | MB_ICONWARNING);
        return FALSE;
    }

    m_hostWindow = host;
    if (!StartProcess() || !m_process) {
        // The request may have created its result file before it failed: remove it.
        DeleteResultFile();
        return FALSE;
    }

    BOOL outcome = FALSE;
    HANDLE duplicate = nullptr;
    // The watcher gets its own handle of the process, so that nothing the object does with its
    // handle can pull it away from under the wait.
    if (DuplicateHandle(GetCurrentProcess(), m_process, GetCurrentProcess(), &duplicate, SYNCHRONIZE, FALSE, 0)) {
        HMODULE module = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&WatchProcess), &module);
        auto* param = module ? new (std::nothrow) CWatchThreadParam{duplicate, GetCurrentThreadId(), module} : nullptr;
        HANDLE watcher = param ? CreateThread(nullptr, 0, WatchProcess, param, 0, nullptr) : nullptr;
        if (watcher) {
            PumpUntilDone(watcher);
            CloseHandle(watcher);
            outcome = ReadResultFile();
        } else {
            CloseHandle(duplicate);
            delete param;
            if (module)
                FreeLibrary(module);
        }
    }
    DeleteResultFile();
    return outcome;
}

HWND CHotDogQuorBarwright::FindHostWindow()
{
    HWND result = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), EnumHostWindowsProc, reinterpret_cast<LPARAM>(&result));
    return result;
}

BOOL CHotDogQuorBarwright::StartProcess()
{
    std::string line(kMaxCommandLine + 1, '\0');
    if (!BuildCommandLine(&line[0], line.size()))
        return FALSE;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created)) {
        ShowLastSystemError();
        return FALSE;
    }
    CloseHandle(created.hThread);

    // Barwright's start-up settles before the editor goes on. A program that ended already
    // has nothing to wait for: that is no error to show.
    if (WaitForInputIdle(created.hProcess, INFINITE) == WAIT_FAILED &&
        WaitForSingleObject(created.hProcess, 0) != WAIT_OBJECT_0)
        ShowLastSystemError();

    // A handle from an earlier request on this object is finished with.
    if (m_process)
        CloseHandle(m_process);
    m_process = created.hProcess;
    return TRUE;
}

BOOL CHotDogQuorBarwright::BuildCommandLine(char* buffer, std::size_t size)
{
    LaunchRequest request;
    char program[kPathSize] = {};
    FindBarwrightExe(program);
    // Without the program there is nothing to start; its message has been shown.
    if (program[0] == '\0')
        return FALSE;
    request.programPath = program;
    request.snippetId = m_snippetId;
    request.hostWindow = static_cast<long>(reinterpret_cast<LONG_PTR>(m_hostWindow));

    if (!CreateResultFileName())
        return FALSE;
    request.resultPath = m_resultFile;

    if (m_docPath[0] != '\0') {
        if (IsLiveDocumentPath(m_docPath)) {
            const std::string text = LoadModuleString(IDS_LIVE_PAGE);
            const std::string title = LoadModuleString(IDS_LIVE_PAGE_TITLE);
            MessageBoxA(m_hostWindow, text.c_str(), title.c_str(), MB_TOPMOST | MB_ICONWARNING);
            return FALSE;
        }
        request.docPath = m_docPath;
    }
    request.backgroundColour = m_backgroundColour;
    request.graphicType = m_graphicType;
    request.update = m_update;
    request.editorName = CTw3InterfaceApp::Get().EditorName();

    const std::string line = BuildLaunchCommandLine(request);
    if (line.size() + 1 > size)
        return FALSE;
    memcpy(buffer, line.c_str(), line.size() + 1);
    return TRUE;
}

void CHotDogQuorBarwright::FindBarwrightExe(char* buffer)
{
    char modulePath[kPathSize];
    if (!CTw3InterfaceApp::Get().GetModulePath(modulePath, sizeof modulePath))
        return;
    const std::string found = FindProgramBeside(modulePath, FileExists);
    if (found.empty() || found.size() + 1 > kPathSize) {
        MessageBoxA(nullptr, "Barwright.exe is in a different location to the registered integration dll.",
                    "Cannot find Barwright.exe", MB_ICONSTOP);
        return;
    }
    memcpy(buffer, found.c_str(), found.size() + 1);
}

BOOL CHotDogQuorBarwright::CreateResultFileName()
{
    char folder[kPathSize];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) {
        if (length >= sizeof folder)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
        ShowLastSystemError();
        return FALSE;
    }
    // Creates the empty file: it belongs to this request until DeleteResultFile.
    if (GetTempFileNameA(folder, "TW", 0, m_resultFile) == 0) {
        m_resultFile[0] = '\0';
        ShowLastSystemError();
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI WatchProcess(LPVOID param)
{
    auto* watch = static_cast<CWatchThreadParam*>(param);
    const DWORD waited = WaitForSingleObject(watch->process, INFINITE);
    PostThreadMessageA(watch->requestingThread, WM_PROCESS_FINISHED, 0, 0);
    CloseHandle(watch->process);
    const HMODULE module = watch->module;
    delete watch;
    FreeLibraryAndExitThread(module, waited == WAIT_OBJECT_0 ? 1 : 0);
}

void CHotDogQuorBarwright::PumpUntilDone(HANDLE watcher)
{
    if (!m_process) {
        ShowModuleMessage("PumpMessage called while m_hProcess is NULL!");
        return;
    }
    // The watcher's notice ends the wait; everything before it is dispatched, so the editor's
    // windows keep working. The notice is a thread message, which a modal loop running inside
    // a dispatched message would drop, and a nested request could take it: so the end of the
    // watcher thread (it ends right after posting) ends the wait as well.
    for (;;) {
        bool watcherDone = WaitForSingleObject(watcher, 0) == WAIT_OBJECT_0;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The editor is closing: leave the quit message for its own loop.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            if (message.message == WM_PROCESS_FINISHED && message.hwnd == nullptr) {
                // A nested request's notice, while our process still runs, is not ours.
                if (WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0)
                    return;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (watcherDone)
            return;
        const DWORD woke = MsgWaitForMultipleObjects(1, &watcher, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_FAILED) {
            ShowLastSystemError();
            return;
        }
    }
}

BOOL CHotDogQuorBarwright::ReadResultFile()
{
    if (m_resultFile[0] == '\0')
        return FALSE;
    std::FILE* file = std::fopen(m_resultFile, "rb");
    if (!file)
        return FALSE;
    const ResultFileContents contents = integration::ReadResultFile(file);
    std::fclose(file);

    if (contents.hasSnippetId) {
        CopyToBuffer(m_snippetId, sizeof m_snippetId, contents.snippetId);
        // The identifier comes back in single quotes and becomes a double-quoted argument
        // again when the editor passes it back for an edit.
        ReplaceChar(m_snippetId, '"', '\'');
    }
    if (contents.hasPreviewHtml)
        CopyToBuffer(m_previewHtml, sizeof m_previewHtml, contents.previewHtml);
    if (contents.hasLiveHtml)
        CopyToBuffer(m_liveHtml, sizeof m_liveHtml, contents.liveHtml);
    // Only HTML from this request's file counts: HTML kept from an earlier request would be
    // inserted again when the user closed Barwright without saving.
    return !contents.previewHtml.empty() || !contents.liveHtml.empty();
}

BOOL CHotDogQuorBarwright::DeleteResultFile()
{
    if (m_resultFile[0] == '\0')
        return TRUE;
    if (!DeleteFileA(m_resultFile)) {
        ShowLastSystemError();
        return FALSE;
    }
    m_resultFile[0] = '\0';
    return TRUE;
}

}  // namespace integration
