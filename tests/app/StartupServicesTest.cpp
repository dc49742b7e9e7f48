// The start-up services against a loopback HTTP server and a folder standing in for the product
// disc: downloads with their results, the update check with its timeout and report, the update
// result dialog, the template copy offer and the migration of an earlier installation's projects.
// Winsock before the Windows headers the others bring.
#include "tests/app/LoopbackHttpServer.h"

#include "app/CopyTemplatesDlg.h"
#include "app/Downloader.h"
#include "app/StartupServicesResource.h"
#include "app/TemplateMedium.h"
#include "app/UpdateCheck.h"
#include "app/UpdateResultDlg.h"
#include "util/Registry.h"
#include "framework/core/CStringArray.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {
const UINT kNotify = WM_APP;
// A guard against a hang, not a measure: every wait below ends long before it.
const DWORD kGuard = 30000;

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "bw-startup-" + name;
    // Left over from an earlier run: emptied, read-only files and all.
    if (Exists(folder)) {
        CCopyTemplatesDlg::ClearReadOnlyTree(folder.c_str());
        const std::string list = CCopyTemplatesDlg::MakeShellPathList(folder.c_str());
        SHFILEOPSTRUCTA operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = list.c_str();
        operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        ::SHFileOperationA(&operation);
    }
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A hidden window whose posted messages the test collects.
struct Messages {
    HWND window = ::CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<MSG> received;
    ~Messages() { ::DestroyWindow(window); }

    // Pumps until a message to the window satisfies done; false on the guard.
    template <class Done> bool WaitFor(Done done)
    {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < kGuard) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd == window) {
                    received.push_back(msg);
                    if (done(msg))
                        return true;
                } else {
                    ::DispatchMessageA(&msg);
                }
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return false;
    }
    // The downloader's final result.
    bool WaitForResult(DWORD& result)
    {
        const bool got = WaitFor([](const MSG& m) { return m.message == kNotify && m.wParam == 1; });
        result = got ? (DWORD)received.back().lParam : 0xFFFFFFFFu;
        return got;
    }
    // Starts a download to this window and waits for its result; 0xFFFFFFFF when it did not
    // start or gave no result.
    DWORD Fetch(CDownloader& downloader, const std::string& url, const std::string& local)
    {
        downloader.SetNotify(window, kNotify);
        DWORD result = 0xFFFFFFFFu;
        if (downloader.Start(url.c_str(), local.c_str()) == 0)
            WaitForResult(result);
        return result;
    }
    bool Saw(UINT message, WPARAM wParam) const
    {
        for (const MSG& m : received)
            if (m.message == message && m.wParam == wParam)
                return true;
        return false;
    }
};

// A machine online on its LAN whose credentials prompt is cancelled, or one that is offline.
class FakeSystem : public CDownloadSystem {
public:
    bool online = true;
    DWORD connectionFlags = INTERNET_CONNECTION_LAN;
    int credentialPrompts = 0, dials = 0;
    bool IsConnected(DWORD* flags) override
    {
        *flags = connectionFlags;
        return online;
    }
    bool FindDialProfile(CString& name, bool& defaultProfile) override
    {
        name = "Dial";
        defaultProfile = true;
        return true;
    }
    DWORD Dial(HWND, const CString&, DWORD, DWORD_PTR*) override
    {
        ++dials;
        return ERROR_CANCELLED;
    }
    DWORD AskCredentials(HINTERNET) override
    {
        ++credentialPrompts;
        return ERROR_CANCELLED;
    }
};

struct SystemScope {
    FakeSystem fake;
    SystemScope() { SetDownloadSystem(&fake); }
    ~SystemScope() { SetDownloadSystem(nullptr); }
};
}  // namespace

TEST(Downloader, ResultsOfServedMissingDeniedAndRefusedAddresses)
{
    SystemScope system;
    CLoopbackHttpServer server;
    const std::string body = "BARWRIGHT_UPDATE_INFO_FILE\r\nLatest\r\n" + std::string(5000, 'y');
    server.Add("/ok.htm", CLoopbackHttpServer::kServe, body);
    server.Add("/denied.htm", CLoopbackHttpServer::kDenied);
    const std::string folder = TempFolder("download");
    const std::string local = folder + "\\file.txt";

    struct Case {
        const char* page;
        DWORD result;
        bool fileWritten;
    } cases[] = {
        {"ok.htm", 0, true},
        {"missing.htm", 0xE00C0194u, false},
        {"denied.htm", 0xE00C0191u, false},  // the credentials prompt cancelled
    };
    for (const Case& c : cases) {
        ::DeleteFileA(local.c_str());
        Messages messages;
        CDownloader downloader;
        EXPECT_EQ(messages.Fetch(downloader, server.Base() + c.page, local), c.result) << c.page;
        EXPECT_EQ(Exists(local), c.fileWritten) << c.page;
        EXPECT_FALSE(Exists(local + ".part")) << c.page;
        EXPECT_TRUE(messages.Saw(kNotify, 0)) << "status notifications " << c.page;
        if (c.fileWritten) {
            EXPECT_EQ(Read(local), body);
            EXPECT_TRUE(messages.Saw(kNotify + 2, 2));
            // The last progress post counts the whole body against the announced length.
            const MSG* last = nullptr;
            for (const MSG& m : messages.received)
                if (m.message == kNotify + 1)
                    last = &m;
            ASSERT_NE(last, nullptr);
            EXPECT_EQ(last->wParam, body.size());
            EXPECT_EQ((size_t)last->lParam, body.size());
        }
    }
    EXPECT_EQ(system.fake.credentialPrompts, 1);

    // Only web addresses are fetched: anything else fails at once and starts nothing.
    for (const char* address : {"ftp://127.0.0.1/file.txt", "file:///c:/windows/win.ini", "not an address", ""}) {
        CDownloader downloader;
        EXPECT_EQ(downloader.Start(address, local.c_str()), (DWORD)ERROR_INTERNET_INVALID_URL) << address;
        EXPECT_FALSE(downloader.IsRunning());
    }

    // Offline on a LAN: no dialling, result 5; offline without a LAN: a failed dial is 5 too.
    for (DWORD flags : {(DWORD)INTERNET_CONNECTION_LAN, (DWORD)INTERNET_CONNECTION_MODEM}) {
        system.fake.online = false;
        system.fake.connectionFlags = flags;
        system.fake.dials = 0;
        Messages messages;
        CDownloader downloader;
        EXPECT_EQ(messages.Fetch(downloader, server.Base() + "ok.htm", local), 5u);
        EXPECT_EQ(system.fake.dials, flags == INTERNET_CONNECTION_LAN ? 0 : 1);
    }
}

TEST(Downloader, CancelDuringTheBodyLeavesTheEarlierFileAsItWas)
{
    SystemScope system;
    CLoopbackHttpServer server;
    server.Add("/stall.htm", CLoopbackHttpServer::kStallBody);
    const std::string local = TempFolder("cancel") + "\\file.txt";
    Write(local, "the earlier file");

    Messages messages;
    CDownloader downloader;
    downloader.SetNotify(messages.window, kNotify);
    ASSERT_EQ(downloader.Start((server.Base() + "stall.htm").c_str(), local.c_str()), 0u);
    // The request succeeded and the body is being read.
    ASSERT_TRUE(messages.WaitFor([](const MSG& m) { return m.message == kNotify + 2; }));
    downloader.Cancel();
    // A read that closing its handle does not abort ends when the server lets go.
    server.Release();
    DWORD result = 0;
    ASSERT_TRUE(messages.WaitForResult(result));
    EXPECT_EQ(result, (DWORD)ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_EQ(Read(local), "the earlier file");
    EXPECT_FALSE(Exists(local + ".part"));
}

TEST(Downloader, DestroyedWhileItsWorkerWaitsForTheServer)
{
    SystemScope system;
    CLoopbackHttpServer server;
    server.Add("/silent.htm", CLoopbackHttpServer::kSilent);
    const std::string local = TempFolder("destroy") + "\\file.txt";
    Messages messages;
    {
        auto downloader = std::make_unique<CDownloader>();
        downloader->SetNotify(messages.window, kNotify);
        ASSERT_EQ(downloader->Start((server.Base() + "silent.htm").c_str(), local.c_str()), 0u);
        ASSERT_TRUE(messages.WaitFor([](const MSG& m) { return m.message == kNotify && m.wParam == 0; }));
        downloader.reset();
    }
    server.Release();
    // The old worker posts nothing once its downloader is gone: the next download's result is
    // the only one the window sees.
    server.Add("/ok.htm", CLoopbackHttpServer::kServe, "fine");
    messages.received.clear();
    CDownloader next;
    EXPECT_EQ(messages.Fetch(next, server.Base() + "ok.htm", local), 0u);
    int results = 0;
    for (const MSG& m : messages.received)
        results += m.message == kNotify && m.wParam == 1;
    EXPECT_EQ(results, 1);
}

namespace {
// The Startup key's values the tests set and remove.
void SetStartupValue(const char* profile, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = OpenStartupKey(profile);
    SetRegValue(key, name, type, (const BYTE*)data, size);
    CloseRegKey(key);
}
void SetStartupText(const char* profile, const char* name, const std::string& text)
{
    SetStartupValue(profile, name, REG_SZ, text.c_str(), (DWORD)text.size());
}
void DeleteStartupValue(const char* profile, const char* name)
{
    HKEY key = OpenStartupKey(profile);
    ::RegDeleteValueA(key, name);
    CloseRegKey(key);
}
DWORD CopyFlag()
{
    HKEY key = OpenStartupKey(nullptr);
    const DWORD value = GetRegDWORDOrBinary(key, "CopyTemplatesFromCD");
    CloseRegKey(key);
    return value;
}
void SetCopyFlag(DWORD value)
{
    SetStartupValue(nullptr, "CopyTemplatesFromCD", REG_BINARY, &value, sizeof value);
}

struct CheckScope {
    CheckScope(const std::string& base, UINT timeout)
    {
        CUpdateCheckDlg::SetServerAddress(base.c_str());
        CUpdateCheckDlg::SetTimeout(timeout);
    }
    ~CheckScope()
    {
        CUpdateCheckDlg::SetServerAddress(nullptr);
        CUpdateCheckDlg::SetTimeout(0);
    }
};
const UINT kResultMessage = CUpdateCheckDlg::kResultMessage;
}  // namespace

TEST(UpdateCheck, ReportsTheResultTheTimeoutAndAFailureOnce)
{
    SystemScope system;
    CLoopbackHttpServer server;
    const std::string latest = "BARWRIGHT_UPDATE_INFO_FILE\r\nLatest\r\n";
    server.Add("/version1_1.htm", CLoopbackHttpServer::kServe, latest);
    {
        CheckScope scope(server.Base(), CUpdateCheckDlg::kDefaultTimeout);
        Messages main;
        CUpdateCheckDlg check(nullptr, CUpdateCheckDlg::kModeVersion, main.window);
        ASSERT_TRUE(check.Create(CUpdateCheckDlg::IDD, nullptr));
        EXPECT_EQ(std::string(check.GetFileAddress()), server.Base() + "version1_1.htm");
        ASSERT_TRUE(main.WaitFor([](const MSG& m) { return m.message == kResultMessage; }));
        EXPECT_EQ(main.received.back().wParam, 0u);
        EXPECT_EQ(main.received.back().lParam, 1);
        EXPECT_EQ(Read(std::string(check.GetLocalPath())), latest);
        // A later result reports nothing more.
        check.Finish(31);
        main.received.clear();
        ::PostMessageA(main.window, WM_NULL, 0, 0);
        main.WaitFor([](const MSG& m) { return m.message == WM_NULL; });
        EXPECT_FALSE(main.Saw(kResultMessage, 31));
        check.DestroyWindow();
    }
    // A server that never answers: the timeout's result 31; a missing page: its status.
    CLoopbackHttpServer silent;
    silent.Add("/specials1_1.htm", CLoopbackHttpServer::kSilent);
    struct Case {
        CLoopbackHttpServer* server;
        int mode;
        WPARAM code;
    } cases[] = {{&silent, CUpdateCheckDlg::kModeSpecials, 31}, {&server, CUpdateCheckDlg::kModeSpecials, 0xE00C0194u}};
    for (const Case& c : cases) {
        CheckScope scope(c.server->Base(), 1000);
        Messages main;
        CUpdateCheckDlg check(nullptr, c.mode, main.window);
        ASSERT_TRUE(check.Create(CUpdateCheckDlg::IDD, nullptr));
        ASSERT_TRUE(main.WaitFor([](const MSG& m) { return m.message == kResultMessage; }));
        EXPECT_EQ(main.received.back().wParam, c.code);
        EXPECT_EQ(main.received.back().lParam, 0);
        // Replacing or closing the window while its download runs frees nothing under the worker.
        check.DestroyWindow();
    }
    silent.Release();
}

TEST(UpdateCheck, ReplacedWhileItsDownloadRuns)
{
    SystemScope system;
    CLoopbackHttpServer silent;
    silent.Add("/version1_1.htm", CLoopbackHttpServer::kSilent);
    CheckScope scope(silent.Base(), CUpdateCheckDlg::kDefaultTimeout);
    Messages main;
    auto check = std::make_unique<CUpdateCheckDlg>(nullptr, CUpdateCheckDlg::kModeVersion, main.window);
    ASSERT_TRUE(check->Create(CUpdateCheckDlg::IDD, nullptr));
    // The request has reached the server, which holds it.
    for (DWORD start = ::GetTickCount(); silent.Requests() == 0 && ::GetTickCount() - start < kGuard;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        ::Sleep(20);
    }
    ASSERT_GT(silent.Requests(), 0);
    check->DestroyWindow();
    check.reset();
    silent.Release();
    EXPECT_FALSE(main.Saw(kResultMessage, 0));
}

TEST(UpdateResult, ParsesTheFileOfEachMode)
{
    const std::string path = TempFolder("parse") + "\\update.txt";
    struct Case {
        const char* text;
        int mode;
        bool parsed;
        const char* address;
        int lines, latest;
    } cases[] = {
        {"BARWRIGHT_UPDATE_INFO_FILE\r\nLatest\r\n", 0, true, "Latest", 1, 1},
        {"BARWRIGHT_UPDATE_INFO_FILE\nhttp://x.example/new\nVersion 1.2\nis out\n", 2, true, "http://x.example/new", 2, 0},
        {"BARWRIGHT_UPDATE_INFO_FILE\nlatest\n", 0, true, "latest", 0, 0},  // the word is case-sensitive
        {"BARWRIGHT_SPECIAL_INFO_FILE\r\nhttp://x.example/s\r\nOffer\r\n", 1, true, "http://x.example/s", 1, 0},
        {"BARWRIGHT_SPECIAL_INFO_FILE\nhttp://x.example/s\n", 0, false, "", 0, 0},  // specials in version mode
        {"BARWRIGHT_UPDATE_INFO_FILE\n", 0, false, "", 0, 0},                       // no address line
        {"", 0, false, "", 0, 0},
        {"<html>not found</html>", 2, false, "", 0, 0},
    };
    for (const Case& c : cases) {
        Write(path, c.text);
        CString address;
        CStringArray lines;
        int latest = 0;
        EXPECT_EQ(CUpdateResultDlg::ParseFile(path.c_str(), c.mode, address, lines, latest), c.parsed) << c.text;
        if (!c.parsed)
            continue;
        EXPECT_EQ(std::string(address), c.address) << c.text;
        EXPECT_EQ(lines.GetSize(), c.lines) << c.text;
        EXPECT_EQ(latest, c.latest) << c.text;
    }
    CString address;
    CStringArray lines;
    int latest = 0;
    EXPECT_FALSE(CUpdateResultDlg::ParseFile((path + ".none").c_str(), 0, address, lines, latest));
}

TEST(UpdateResult, ShowsWhatTheUserAskedFor)
{
    const std::string path = TempFolder("result") + "\\update.txt";
    struct Case {
        const char* text;
        int mode, showWhenLatest;
        bool shown, updateButton;
        int rows;
    } cases[] = {
        {"BARWRIGHT_UPDATE_INFO_FILE\nLatest\n", 2, 0, false, false, 0},  // automatic, latest: unseen
        {"BARWRIGHT_UPDATE_INFO_FILE\nLatest\n", 0, 1, true, false, 1},   // on request: the latest line
        {"BARWRIGHT_UPDATE_INFO_FILE\nhttp://x.example/new\nA\nB\n", 2, 0, true, true, 2},
        {"BARWRIGHT_SPECIAL_INFO_FILE\nhttp://x.example/s\n", 2, 0, false, false, 0},  // wrong header
        {"BARWRIGHT_SPECIAL_INFO_FILE\nhttp://x.example/s\n", 0, 1, true, false, 2},   // "could not be found"
    };
    for (const Case& c : cases) {
        Write(path, c.text);
        CUpdateResultDlg dialog(nullptr, path.c_str(), c.mode, c.showWhenLatest);
        ASSERT_TRUE(dialog.Create(CUpdateResultDlg::IDD, nullptr));
        EXPECT_EQ(dialog.IsWindowVisible() != FALSE, c.shown) << c.text;
        if (c.shown) {
            EXPECT_EQ(::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), IDC_UPDATE_BUTTON)) != FALSE, c.updateButton)
                << c.text;
            EXPECT_EQ((int)::SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_UPDATE_LIST, LB_GETCOUNT, 0, 0), c.rows)
                << c.text;
        }
        dialog.DestroyWindow();
    }
    for (const char* address : {"http://x.example/a", "HTTPS://x.example/a"})
        EXPECT_TRUE(CUpdateResultDlg::IsWebAddress(address)) << address;
    for (const char* address : {"", "file:///c:/windows/notepad.exe", "c:\\windows\\notepad.exe", "Latest",
                                "javascript:alert(1)", "httpx://a"})
        EXPECT_FALSE(CUpdateResultDlg::IsWebAddress(address)) << address;
}

namespace {
// Drive E: is a CD-ROM labelled for the product whose content is a test folder; D: a disc of
// something else; Y: a second matching disc, beyond the searched drives.
class FakeDrives : public CTemplateMediumDrives {
public:
    explicit FakeDrives(const std::string& disc) : disc(disc) {}
    UINT GetDriveType(char letter) override
    {
        return letter == 'D' || letter == 'E' || letter == 'Y' ? DRIVE_CDROM : DRIVE_NO_ROOT_DIR;
    }
    bool GetVolumeLabel(char letter, CString& label) override
    {
        label = letter == 'D' ? "HOLIDAY" : "BARWRIGHT";
        return true;
    }
    CString GetRoot(char letter) override { return letter == 'D' ? CString("Q:") : CString(disc.c_str()); }
    std::string disc;
};

void MakeReadOnly(const std::string& path)
{
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}
bool IsReadOnly(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}
}  // namespace

TEST(CopyTemplates, FromTheDiscIntoTheTemplatesFolder)
{
    const std::string disc = TempFolder("disc");
    const std::string product = disc + "\\Barwright 1";
    const std::string library = product + "\\TWTemplates";
    for (const std::string& folder : {product, library, library + "\\Sub", library + "\\Klass (Theme)"})
        ::CreateDirectoryA(folder.c_str(), nullptr);
    Write(library + "\\a.kiq", "a");
    Write(library + "\\Sub\\b.kiq", "b");
    Write(library + "\\Klass (Theme)\\new.kiq", "new");
    MakeReadOnly(library + "\\a.kiq");
    MakeReadOnly(library + "\\Sub\\b.kiq");
    MakeReadOnly(library + "\\Sub");

    FakeDrives drives(disc);
    const CString medium = FindTemplateMedium(drives);
    EXPECT_EQ(std::string(medium), product);
    EXPECT_TRUE(ShouldOfferTemplateCopy(1, medium));

    const std::string templates = TempFolder("templates");
    ::CreateDirectoryA((templates + "\\Klass (Theme)").c_str(), nullptr);
    Write(templates + "\\Klass (Theme)\\old.kiq", "old");
    DeleteStartupValue(nullptr, "TW2Hint");
    DeleteStartupValue("Barwright2", "rootpath");

    // A copy that cannot read the disc keeps the offer.
    SetCopyFlag(1);
    {
        CCopyTemplatesDlg dialog;
        dialog.SetPlaces((disc + "\\gone").c_str(), templates.c_str());
        ASSERT_TRUE(dialog.Create(CCopyTemplatesDlg::IDD, nullptr));
        dialog.OnOK();
        dialog.DestroyWindow();
    }
    EXPECT_NE(CopyFlag(), 0u);

    {
        CCopyTemplatesDlg dialog;
        dialog.SetPlaces(medium, templates.c_str());
        ASSERT_TRUE(dialog.Create(CCopyTemplatesDlg::IDD, nullptr));
        dialog.OnOK();
        dialog.DestroyWindow();
    }
    EXPECT_EQ(CopyFlag(), 0u);
    EXPECT_EQ(Read(templates + "\\a.kiq"), "a");
    EXPECT_EQ(Read(templates + "\\Sub\\b.kiq"), "b");
    EXPECT_EQ(Read(templates + "\\Klass (Theme)\\new.kiq"), "new");
    EXPECT_FALSE(Exists(templates + "\\Klass (Theme)\\old.kiq"));  // the theme is replaced whole
    for (const std::string& path : {templates + "\\a.kiq", templates + "\\Sub", templates + "\\Sub\\b.kiq"})
        EXPECT_FALSE(IsReadOnly(path)) << path;

    // Cancel: the box ticked ends the offer, clear keeps it.
    for (int tick : {0, 1}) {
        SetCopyFlag(1);
        CCopyTemplatesDlg dialog;
        dialog.SetPlaces(medium, templates.c_str());
        ASSERT_TRUE(dialog.Create(CCopyTemplatesDlg::IDD, nullptr));
        ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_COPY_TEMPLATES_DONT_ASK, tick ? BST_CHECKED : BST_UNCHECKED);
        dialog.OnCancel();
        dialog.DestroyWindow();
        EXPECT_EQ(CopyFlag() != 0, tick == 0);
    }
    for (const std::string& path : {library + "\\a.kiq", library + "\\Sub\\b.kiq", library + "\\Sub"})
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(CopyTemplates, MigratesTheEarlierInstallationsProjects)
{
    const std::string oldRoot = TempFolder("oldroot");
    const std::string oldTemplates = oldRoot + "\\TWTemplates";
    for (const std::string& folder : {oldTemplates, oldTemplates + "\\Shop (Project)", oldTemplates + "\\Shop (Project)\\Sub",
                                      oldTemplates + "\\Only (Project)", oldTemplates + "\\Plain"})
        ::CreateDirectoryA(folder.c_str(), nullptr);
    Write(oldTemplates + "\\Shop (Project)\\page.qtw", "old shop");
    Write(oldTemplates + "\\Shop (Project)\\Sub\\deep.qtw", "deep");
    Write(oldTemplates + "\\Only (Project)\\only.qtw", "only");
    Write(oldTemplates + "\\Plain\\plain.qtw", "plain");

    const std::string templates = TempFolder("newtemplates");
    ::CreateDirectoryA((templates + "\\Shop (Project)").c_str(), nullptr);
    Write(templates + "\\Shop (Project)\\page.qtw", "new shop");

    // Nothing to migrate from: no hint and no earlier profile, or the same root.
    DeleteStartupValue(nullptr, "TW2Hint");
    DeleteStartupValue("Barwright2", "rootpath");
    {
        CCopyTemplatesDlg dialog;
        dialog.SetPlaces("", templates.c_str());
        EXPECT_EQ(dialog.MigrateProjects(), 0);
    }
    SetStartupText(nullptr, "TW2Hint", templates.substr(0, templates.rfind('\\')));
    {
        const std::string root = TempFolder("sameroot");
        ::CreateDirectoryA((root + "\\TWTemplates").c_str(), nullptr);
        SetStartupText(nullptr, "TW2Hint", root);
        CCopyTemplatesDlg dialog;
        dialog.SetPlaces("", (root + "\\twtemplates").c_str());
        EXPECT_EQ(dialog.MigrateProjects(), 0);
    }

    // The earlier root from the earlier profile when there is no hint.
    DeleteStartupValue(nullptr, "TW2Hint");
    SetStartupText("Barwright2", "rootpath", oldRoot);
    for (int run = 0; run < 2; ++run) {
        CCopyTemplatesDlg dialog;
        dialog.SetPlaces("", templates.c_str());
        EXPECT_EQ(dialog.MigrateProjects(), 1);
        EXPECT_EQ(Read(templates + "\\Shop (Project)\\page.qtw"), "new shop");
        EXPECT_EQ(Read(templates + "\\Shop V2 (Project)\\page.qtw"), run == 0 ? "old shop" : "changed");
        EXPECT_EQ(Read(templates + "\\Only (Project)\\only.qtw"), "only");
        EXPECT_FALSE(Exists(templates + "\\Shop V2 (Project)\\Sub"));
        EXPECT_FALSE(Exists(templates + "\\Plain"));
        // The second run overwrites nothing.
        Write(templates + "\\Shop V2 (Project)\\page.qtw", "changed");
    }
    DeleteStartupValue("Barwright2", "rootpath");
}

TEST(CopyTemplates, ShellPathListsOfAnyLength)
{
    for (size_t length : {1u, 259u, 260u, 600u}) {
        const CString path(std::string(length, 'p').c_str());
        const std::string list = CCopyTemplatesDlg::MakeShellPathList(path);
        ASSERT_EQ(list.size(), length + 2);
        EXPECT_EQ(list.compare(0, length, std::string(length, 'p')), 0);
        EXPECT_EQ(list[length], '\0');
        EXPECT_EQ(list[length + 1], '\0');
    }
}
