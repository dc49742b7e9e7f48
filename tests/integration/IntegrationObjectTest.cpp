// The integration object as an HTML editor meets it: registered in this test's Wine prefix,
// created through COM, driven against the stand-in Barwright.exe (FakeBarwright.cpp) that
// records its command line and writes the result file it is told to.
#include "integration/Tw3Interface.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <olectl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include "tests/ModuleEntry.h"

using namespace integration;

namespace {

constexpr const char* kFrontPage = "Quor Bar Wright FrontPage Add-in";
constexpr const char* kDreamweaver = "Quor Bar Wright Dreamweaver Extension";
constexpr UINT kFakePost = WM_APP + 7;

std::string FullPath(const std::string& relative)
{
    char full[MAX_PATH];
    GetFullPathNameA(relative.c_str(), sizeof full, full, nullptr);
    return full;
}

std::string ServerPath()
{
    return FullPath(std::string(BW_TEST_SERVER_DIR) + "\\Tw3Interface.dll");
}

HRESULT CallServerExport(const char* name)
{
    HMODULE module = LoadLibraryA(ServerPath().c_str());
    if (!module)
        return E_FAIL;
    auto entry = ModuleEntry<HRESULT(STDAPICALLTYPE*)()>(module, name);
    const HRESULT hr = entry ? entry() : E_FAIL;
    FreeLibrary(module);
    return hr;
}

std::string ReadKey(HKEY root, const std::string& path, const char* value)
{
    char data[1024] = {};
    DWORD size = sizeof data;
    if (SHGetValueA(root, path.c_str(), value, nullptr, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    return data;
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string Text(BSTR text)
{
    if (!text)
        return "<null>";
    char buffer[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

// Owns a BSTR made from ANSI text.
class Bstr {
public:
    explicit Bstr(const std::string& text)
    {
        std::wstring wide(text.size() + 1, L'\0');
        const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0],
                                          static_cast<int>(wide.size()));
        m_text = SysAllocStringLen(wide.c_str(), static_cast<UINT>(n));
    }
    ~Bstr() { SysFreeString(m_text); }
    operator BSTR() const { return m_text; }

private:
    BSTR m_text;
};

std::string Get(IHotDogQuorBarwright* object, HRESULT (STDMETHODCALLTYPE IHotDogQuorBarwright::*getter)(BSTR*))
{
    BSTR value = nullptr;
    (object->*getter)(&value);
    const std::string text = Text(value);
    SysFreeString(value);
    return text;
}

// Dialogs and message boxes that come up on this thread are recorded once initialised (title,
// then every control's text) and answered with OK, so that a failing request cannot block the test.
class DialogCatcher {
public:
    DialogCatcher() : m_hook(SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId())) { s_current = this; }
    ~DialogCatcher()
    {
        UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    std::vector<std::vector<std::string>> shown;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && s_current && call->message == WM_INITDIALOG) {
            HWND window = call->hwnd;
            char className[64] = {};
            GetClassNameA(window, className, sizeof className);
            if (lstrcmpA(className, "#32770") == 0 && s_current->m_seen.insert(window).second) {
                std::vector<std::string> texts;
                char text[1024] = {};
                GetWindowTextA(window, text, sizeof text);
                texts.push_back(text);
                EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
                s_current->shown.push_back(texts);
                PostMessageA(window, WM_COMMAND, IDOK, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static BOOL CALLBACK CollectText(HWND child, LPARAM texts)
    {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof text);
        reinterpret_cast<std::vector<std::string>*>(texts)->push_back(text);
        return TRUE;
    }

    static DialogCatcher* s_current;
    HHOOK m_hook;
    std::set<HWND> m_seen;
};
DialogCatcher* DialogCatcher::s_current = nullptr;

bool Contains(const std::vector<std::string>& texts, const std::string& wanted)
{
    for (const std::string& t : texts) {
        if (t.find(wanted) != std::string::npos)
            return true;
    }
    return false;
}

// An editor's top-level window; counts the messages the stand-in posts to it.
class EditorWindow {
public:
    explicit EditorWindow(const char* className)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        m_window = CreateWindowA(className, "editor", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        s_posts = 0;
    }
    ~EditorWindow() { DestroyWindow(m_window); }
    HWND handle() const { return m_window; }
    static int s_posts;
    static bool s_quitOnPost;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kFakePost) {
            ++s_posts;
            if (s_quitOnPost)
                PostQuitMessage(7);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND m_window;
};
int EditorWindow::s_posts = 0;
bool EditorWindow::s_quitOnPost = false;

struct FakeRun {
    bool started = false;
    std::string commandLine;
    std::vector<std::string> args;  // without the program
    std::string program;
    long resultSize = -2;

    std::string Switch(const std::string& prefix) const
    {
        for (const std::string& a : args) {
            if (a.compare(0, prefix.size(), prefix) == 0)
                return a.substr(prefix.size());
        }
        return "<absent>";
    }
};

BOOL CALLBACK RememberWindow(HWND window, LPARAM last)
{
    *reinterpret_cast<HWND*>(last) = window;
    return TRUE;
}

LONG WINAPI EndOnCrash(EXCEPTION_POINTERS*)
{
    std::fprintf(stderr, "crashed\n");
    return EXCEPTION_EXECUTE_HANDLER;
}

class ServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        // A crash ends the run at once instead of waiting in Wine's debugger.
        SetUnhandledExceptionFilter(EndOnCrash);
        CoInitialize(nullptr);
        ASSERT_EQ(CallServerExport("DllRegisterServer"), S_OK);
    }
    void TearDown() override
    {
        CallServerExport("DllUnregisterServer");
        CoUninitialize();
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

class IntegrationObject : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_scratch = FullPath("scratch");
        CreateDirectoryA(m_scratch.c_str(), nullptr);
        CreateDirectoryA((m_scratch + "\\tmp").c_str(), nullptr);
        SetTemp(m_scratch + "\\tmp");
        m_log = m_scratch + "\\fake.log";
        DeleteFileA(m_log.c_str());
        SetEnvironmentVariableA("BW_FAKE_LOG", m_log.c_str());
        SetEnvironmentVariableA("BW_FAKE_RESULT", nullptr);
        SetEnvironmentVariableA("BW_FAKE_POST", nullptr);
        object = Create();
        ASSERT_NE(object, nullptr);
        SetAppName(kFrontPage);
    }
    void TearDown() override
    {
        if (object)
            object->Release();
    }

    static IHotDogQuorBarwright* Create()
    {
        IHotDogQuorBarwright* created = nullptr;
        CoCreateInstance(CLSID_QuorBarwrightHDInterface, nullptr, CLSCTX_INPROC_SERVER, IID_IHotDogQuorBarwright,
                         reinterpret_cast<void**>(&created));
        return created;
    }

    void SetTemp(const std::string& folder)
    {
        m_temp = folder;
        SetEnvironmentVariableA("TMP", folder.c_str());
        SetEnvironmentVariableA("TEMP", folder.c_str());
    }

    void SetAppName(const std::string& name) { object->put_appName(Bstr(name)); }

    int TempFiles() const
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((m_temp + "\\TW*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return 0;
        int count = 0;
        do
            ++count;
        while (FindNextFileA(search, &found));
        FindClose(search);
        return count;
    }

    FakeRun LastRun() const
    {
        FakeRun run;
        std::ifstream log(m_log);
        std::string line;
        if (!std::getline(log, run.commandLine))
            return run;
        run.started = true;
        while (std::getline(log, line)) {
            if (line.compare(0, 4, "arg=") == 0) {
                if (run.program.empty())
                    run.program = line.substr(4);
                else
                    run.args.push_back(line.substr(4));
            } else if (line.compare(0, 12, "result-size=") == 0) {
                run.resultSize = std::atol(line.c_str() + 12);
            }
        }
        DeleteFileA(m_log.c_str());
        return run;
    }

    IHotDogQuorBarwright* object = nullptr;
    std::string m_scratch;
    std::string m_temp;
    std::string m_log;
};

}  // namespace

TEST(IntegrationServer, RegistersItsClassProgIdsAndTypeLibraryAndRemovesThem)
{
    const std::string clsidKey = std::string("CLSID\\") + kClassIdText;
    struct Entry {
        std::string key;
        const char* value;
        std::string expected;
    };
    const std::vector<Entry> entries = {
        {kProgId, nullptr, "QuorBarwrightInterface Class"},
        {std::string(kProgId) + "\\CLSID", nullptr, kClassIdText},
        {kVersionIndependentProgId, nullptr, "QuorBarwrightInterface Class"},
        {std::string(kVersionIndependentProgId) + "\\CLSID", nullptr, kClassIdText},
        {std::string(kVersionIndependentProgId) + "\\CurVer", nullptr, kProgId},
        {clsidKey, nullptr, "QuorBarwrightInterface Class"},
        {clsidKey + "\\ProgID", nullptr, kProgId},
        {clsidKey + "\\VersionIndependentProgID", nullptr, kVersionIndependentProgId},
        {clsidKey + "\\InprocServer32", nullptr, ServerPath()},
        {clsidKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {clsidKey + "\\TypeLib", nullptr, "{BDD0A2AC-48B3-4832-8EE2-CF52F53ECB08}"},
    };
    const auto expectRegistered = [&] {
        for (const Entry& e : entries)
            EXPECT_EQ(ReadKey(HKEY_CLASSES_ROOT, e.key, e.value), e.expected) << e.key;
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, clsidKey + "\\Programmable"));
        ITypeLib* library = nullptr;
        EXPECT_EQ(LoadRegTypeLib(LIBID_QBWHDINTEGRATIONLib, 1, 0, 0x0409, &library), S_OK);
        if (library)
            library->Release();
    };
    expectRegistered();

    // A stale key below the class goes when the class is registered again.
    ASSERT_EQ(SHSetValueA(HKEY_CLASSES_ROOT, (clsidKey + "\\Stale").c_str(), nullptr, REG_SZ, "x", 2), ERROR_SUCCESS);
    ASSERT_EQ(CallServerExport("DllRegisterServer"), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, clsidKey + "\\Stale"));

    ASSERT_EQ(CallServerExport("DllUnregisterServer"), S_OK);
    for (const std::string& key : {std::string(kProgId), std::string(kVersionIndependentProgId), clsidKey})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    ITypeLib* library = nullptr;
    EXPECT_NE(LoadRegTypeLib(LIBID_QBWHDINTEGRATIONLib, 1, 0, 0x0409, &library), S_OK);

    ASSERT_EQ(CallServerExport("DllRegisterServer"), S_OK);
    expectRegistered();
}

TEST_F(IntegrationObject, AnswersItsInterfacesAndRefusesMissingResults)
{
    CLSID fromProgId = {};
    ASSERT_EQ(CLSIDFromProgID(L"QuorBarwrightHD.Interface", &fromProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(fromProgId, CLSID_QuorBarwrightHDInterface));

    IUnknown* unknown = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    struct Interface {
        const char* name;
        IID iid;
        HRESULT answer;
    };
    const Interface interfaces[] = {
        {"IDispatch", IID_IDispatch, S_OK},           {"ISupportErrorInfo", IID_ISupportErrorInfo, S_OK},
        {"IHotDogQuorBarwright", IID_IHotDogQuorBarwright, S_OK}, {"IPersist", IID_IPersist, E_NOINTERFACE},
    };
    for (const Interface& i : interfaces) {
        IUnknown* asked = nullptr;
        EXPECT_EQ(object->QueryInterface(i.iid, reinterpret_cast<void**>(&asked)), i.answer) << i.name;
        if (asked) {
            IUnknown* identity = nullptr;
            asked->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
            EXPECT_EQ(identity, unknown) << i.name;
            identity->Release();
            asked->Release();
        }
    }
    unknown->Release();

    ISupportErrorInfo* errors = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&errors)), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IHotDogQuorBarwright), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    errors->Release();

    // Aggregation: only the inner object's own IUnknown may be asked for.
    IUnknown* inner = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_QuorBarwrightHDInterface, object, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&inner)),
              S_OK);
    if (inner)
        inner->Release();
    EXPECT_EQ(CoCreateInstance(CLSID_QuorBarwrightHDInterface, object, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&inner)),
              CLASS_E_NOAGGREGATION);

    // A fresh object's texts are empty BSTRs, not null ones.
    EXPECT_EQ(Get(object, &IHotDogQuorBarwright::get_SnippetID), "");
    BSTR snippet = nullptr;
    object->get_SnippetID(&snippet);
    EXPECT_NE(snippet, nullptr);
    SysFreeString(snippet);

    using Member = HRESULT (STDMETHODCALLTYPE IHotDogQuorBarwright::*)(long*);
    const Member members[] = {&IHotDogQuorBarwright::ModuleInfo,    &IHotDogQuorBarwright::InsertNew,
                              &IHotDogQuorBarwright::InsertExisting, &IHotDogQuorBarwright::Edit,
                              &IHotDogQuorBarwright::ManageModules,  &IHotDogQuorBarwright::ManageAccount,
                              &IHotDogQuorBarwright::ShowHelp,       &IHotDogQuorBarwright::Update};
    DialogCatcher catcher;
    for (Member member : members)
        EXPECT_EQ((object->*member)(nullptr), E_INVALIDARG);
    EXPECT_EQ(object->HtmlEncode(Bstr("x"), nullptr, nullptr), E_INVALIDARG);
    EXPECT_TRUE(catcher.shown.empty());
    EXPECT_FALSE(LastRun().started);
}

TEST_F(IntegrationObject, NothingToManageIsNoSuccess)
{
    DialogCatcher catcher;
    for (auto member : {&IHotDogQuorBarwright::ManageModules, &IHotDogQuorBarwright::ManageAccount}) {
        long result = 1;
        EXPECT_EQ((object->*member)(&result), S_OK);
        EXPECT_EQ(result, 0);
    }
    EXPECT_TRUE(catcher.shown.empty());
}

TEST_F(IntegrationObject, HtmlEncodeTurnsDoubleQuotesIntoSingleOnes)
{
    struct Case {
        const char* in;  // nullptr: a null BSTR
        const char* out;
        long result;
    };
    const Case cases[] = {
        {"<b>plain</b>", "<b>plain</b>", -1},
        {"<img src=\"a.gif\">", "<img src='a.gif'>", -1},
        {"", "<null>", 0},
        {nullptr, "<null>", 0},
    };
    for (const Case& c : cases) {
        BSTR encoded = reinterpret_cast<BSTR>(1);
        long result = 99;
        BSTR in = c.in ? SysAllocString(Bstr(c.in)) : nullptr;
        EXPECT_EQ(object->HtmlEncode(in, &encoded, &result), S_OK);
        EXPECT_EQ(Text(encoded), c.out) << (c.in ? c.in : "null");
        EXPECT_EQ(result, c.result);
        SysFreeString(in);
        SysFreeString(encoded);
    }
}

TEST_F(IntegrationObject, ScriptsReachTheMembersThroughTheTypeLibrary)
{
    struct Name {
        const wchar_t* name;
        DISPID id;
    };
    const Name names[] = {{L"ModuleInfo", 1}, {L"HtmlEncode", 7}, {L"LiveHtml", 8},  {L"SnippetID", 10},
                          {L"appName", 12},   {L"GraphicType", 15}, {L"DocPath", 16}, {L"Update", 18}};
    for (const Name& n : names) {
        LPOLESTR name = const_cast<LPOLESTR>(n.name);
        DISPID id = -99;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        EXPECT_EQ(id, n.id);
    }

    // put SnippetID, then get it, as a script does.
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"'a\\b.qtw'");
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put = {&value, &named, 1, 1};
    EXPECT_EQ(object->Invoke(10, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&value);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT got;
    VariantInit(&got);
    EXPECT_EQ(object->Invoke(10, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &got, nullptr, nullptr), S_OK);
    ASSERT_EQ(got.vt, VT_BSTR);
    EXPECT_EQ(Text(got.bstrVal), "'a\\b.qtw'");
    VariantClear(&got);

    // HtmlEncode with its out parameter and its result.
    VARIANT args[2];
    BSTR encoded = nullptr;
    VariantInit(&args[0]);
    args[0].vt = VT_BSTR | VT_BYREF;
    args[0].pbstrVal = &encoded;
    VariantInit(&args[1]);
    args[1].vt = VT_BSTR;
    args[1].bstrVal = SysAllocString(L"say \"hi\"");
    DISPPARAMS call = {args, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(object->Invoke(7, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &call, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(Text(encoded), "say 'hi'");
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, -1);
    SysFreeString(encoded);
    VariantClear(&args[1]);
}

TEST_F(IntegrationObject, StartsBarwrightWithTheRequestOnItsCommandLine)
{
    EditorWindow editor("FrontPageExplorerWindow40");
    const std::string hwnd = std::to_string(reinterpret_cast<LONG_PTR>(editor.handle()));
    struct Case {
        const char* name;
        std::function<void(IHotDogQuorBarwright*)> set;
        std::vector<std::string> args;  // after the program
    };
    const std::vector<Case> cases = {
        {"document only", [](IHotDogQuorBarwright* o) { o->put_DocPath(Bstr("C:\\Sites\\index.htm")); },
         {"/hwnd:" + hwnd, "/result:", "/docpath:C:\\Sites\\index.htm", "/editor:" + std::string(kFrontPage)}},
        {"everything",
         [](IHotDogQuorBarwright* o) {
             o->put_SnippetID(Bstr("'Menus (Project)\\Home.qtw'"));
             o->put_DocPath(Bstr("\"C:\\My Sites\\\""));
             o->put_BackgroundColour(Bstr("#ff8000"));
             o->put_GraphicType(0);
         },
         {"Menus (Project)\\Home.qtw", "/hwnd:" + hwnd, "/result:", "/docpath:C:\\My Sites\\", "/bgcolour:#ff8000",
          "/gfxtype:0", "/editor:" + std::string(kFrontPage)}},
        {"path with only its closing quote", [](IHotDogQuorBarwright* o) { o->put_DocPath(Bstr("C:\\a b\\p.htm\"")); },
         {"/hwnd:" + hwnd, "/result:", "/docpath:C:\\a b\\p.htm", "/editor:" + std::string(kFrontPage)}},
        {"graphic type -1 leaves the switch out",
         [](IHotDogQuorBarwright* o) { o->put_DocPath(Bstr("C:\\p.htm")); o->put_GraphicType(-1); },
         {"/hwnd:" + hwnd, "/result:", "/docpath:C:\\p.htm", "/editor:" + std::string(kFrontPage)}},
    };
    DialogCatcher catcher;
    for (const Case& c : cases) {
        IHotDogQuorBarwright* fresh = Create();
        c.set(fresh);
        long result = 99;
        EXPECT_EQ(fresh->InsertNew(&result), S_OK) << c.name;
        EXPECT_EQ(result, 0) << c.name;  // the stand-in wrote no HTML
        fresh->Release();

        const FakeRun run = LastRun();
        ASSERT_TRUE(run.started) << c.name;
        EXPECT_EQ(run.program, ServerPath().substr(0, ServerPath().rfind('\\')) + "\\Barwright.exe") << c.name;
        ASSERT_EQ(run.args.size(), c.args.size()) << c.name << ": " << run.commandLine;
        for (std::size_t i = 0; i < c.args.size(); ++i) {
            if (c.args[i] == "/result:")
                EXPECT_EQ(run.args[i].compare(0, 8, "/result:"), 0) << c.name;
            else
                EXPECT_EQ(run.args[i], c.args[i]) << c.name;
        }
        // The module made the result file empty before the start, and removed it afterwards.
        EXPECT_EQ(run.resultSize, 0) << c.name;
        const std::string resultPath = run.Switch("/result:");
        EXPECT_NE(resultPath.find("\\TW"), std::string::npos) << resultPath;
        EXPECT_EQ(GetFileAttributesA(resultPath.c_str()), INVALID_FILE_ATTRIBUTES) << c.name;
    }
    EXPECT_TRUE(catcher.shown.empty());
    EXPECT_EQ(TempFiles(), 0);
}

TEST_F(IntegrationObject, TakesTheSnippetAndHtmlFromTheResultFile)
{
    EditorWindow editor("FrontPageExplorerWindow40");
    const std::string img = "\"<img src=\"file:///C:/x.gif\" editor=\"barwright\" border=\"0\">\"";
    struct Case {
        const char* name;
        std::string answer;  // BW_FAKE_RESULT; "\n" written as \\n
        long result;
        std::string snippet, preview, live;
    };
    const std::vector<Case> cases = {
        {"as Barwright writes it", "SnippetID=\"Menus (Project)\\Home.qtw\"\\nPreviewHTML=" + img + "\\nLiveHTML=" + img + "\\n",
         -1, "'Menus (Project)\\Home.qtw'", img, img},
        {"CR LF and lower-case keys", "snippetid=\"a\\b.qtw\"\\r\\nlivehtml=\"<b>\"\\r\\n", -1, "'a\\b.qtw'", "", "\"<b>\""},
        {"only a snippet identifier", "SnippetID=\"s.qtw\"\\n", 0, "'s.qtw'", "", ""},
        {"nothing written", "", 0, "", "", ""},
    };
    DialogCatcher catcher;
    for (const Case& c : cases) {
        IHotDogQuorBarwright* fresh = Create();
        fresh->put_DocPath(Bstr("C:\\Sites\\index.htm"));
        SetEnvironmentVariableA("BW_FAKE_RESULT", c.answer.c_str());
        long result = 99;
        EXPECT_EQ(fresh->Edit(&result), S_OK) << c.name;
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(Get(fresh, &IHotDogQuorBarwright::get_SnippetID), c.snippet) << c.name;
        EXPECT_EQ(Get(fresh, &IHotDogQuorBarwright::get_PreviewHtml), c.preview) << c.name;
        EXPECT_EQ(Get(fresh, &IHotDogQuorBarwright::get_LiveHtml), c.live) << c.name;
        fresh->Release();
        EXPECT_TRUE(LastRun().started) << c.name;
    }
    EXPECT_TRUE(catcher.shown.empty());
    EXPECT_EQ(TempFiles(), 0);
}

TEST_F(IntegrationObject, LaterRequestsKeepEarlierValuesButOnlyTheirOwnHtmlCounts)
{
    EditorWindow editor("FrontPageExplorerWindow40");
    object->put_DocPath(Bstr("C:\\Sites\\index.htm"));
    SetEnvironmentVariableA("BW_FAKE_RESULT", "SnippetID=\"a.qtw\"\\nLiveHTML=\"<b>1</b>\"\\n");
    long result = 0;
    ASSERT_EQ(object->InsertNew(&result), S_OK);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(LastRun().Switch("-update"), "<absent>");

    // The user closes Barwright without saving: the request fails, the old texts stay readable.
    SetEnvironmentVariableA("BW_FAKE_RESULT", nullptr);
    ASSERT_EQ(object->Edit(&result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Get(object, &IHotDogQuorBarwright::get_LiveHtml), "\"<b>1</b>\"");
    // The identifier came back in single quotes and goes out as a plain argument again.
    const FakeRun edit = LastRun();
    ASSERT_FALSE(edit.args.empty());
    EXPECT_EQ(edit.args[0], "a.qtw");

    // Update: a document path is not needed; the outcome is the HRESULT, S_FALSE on success.
    object->put_DocPath(Bstr(""));
    SetEnvironmentVariableA("BW_FAKE_RESULT", "LiveHTML=\"<b>2</b>\"\\n");
    EXPECT_EQ(object->Update(&result), S_FALSE);
    EXPECT_EQ(result, 1);
    FakeRun update = LastRun();
    EXPECT_EQ(update.Switch("/docpath:"), "<absent>");
    EXPECT_NE(std::find(update.args.begin(), update.args.end(), "-update"), update.args.end());
    SetEnvironmentVariableA("BW_FAKE_RESULT", nullptr);
    EXPECT_EQ(object->Update(&result), S_OK);

    // The update flag stays with the object.
    object->put_DocPath(Bstr("C:\\Sites\\index.htm"));
    object->InsertNew(&result);
    update = LastRun();
    EXPECT_NE(std::find(update.args.begin(), update.args.end(), "-update"), update.args.end());
}

TEST_F(IntegrationObject, RefusesWithoutADocumentOrForALivePageAndLeavesNoFiles)
{
    EditorWindow editor("FrontPageExplorerWindow40");
    struct Case {
        const char* name;
        const char* docPath;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"no document", "", "Warning from Quor Barwright", "Please save the document before inserting\na Barwright graphic."},
        {"live page", "HtTp://site/index.htm", "Warning from Quor Barwright", "as it is currently live"},
        {"live page in quotes", "\"http://site/\"", "Warning from Quor Barwright", "as it is currently live"},
    };
    for (const Case& c : cases) {
        DialogCatcher catcher;
        object->put_DocPath(Bstr(c.docPath));
        long result = 99;
        EXPECT_EQ(object->InsertExisting(&result), S_OK) << c.name;
        EXPECT_EQ(result, 0) << c.name;
        ASSERT_EQ(catcher.shown.size(), 1u) << c.name;
        EXPECT_EQ(catcher.shown[0][0], c.title) << c.name;
        EXPECT_TRUE(Contains(catcher.shown[0], c.text)) << c.name << ": " << ::testing::PrintToString(catcher.shown[0]);
        EXPECT_FALSE(LastRun().started) << c.name;
        EXPECT_EQ(TempFiles(), 0) << c.name;
    }
}

TEST_F(IntegrationObject, FindsTheEditorsWindowByItsName)
{
    EditorWindow other("BwSomeOtherWindow");
    EditorWindow frontPage("FrontPageExplorerWindow40");
    EditorWindow dreamweaver("_macr_dreamweaver_frame_window_");
    HWND last = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), RememberWindow, reinterpret_cast<LPARAM>(&last));
    struct Case {
        const char* editor;
        HWND expected;
    };
    const Case cases[] = {
        {kFrontPage, frontPage.handle()},
        {"QUOR BAR WRIGHT DREAMWEAVER EXTENSION", dreamweaver.handle()},
        {"Some Editor", last},
    };
    object->put_DocPath(Bstr("C:\\p.htm"));
    for (const Case& c : cases) {
        SetAppName(c.editor);
        long result = 0;
        object->InsertNew(&result);
        const FakeRun run = LastRun();
        EXPECT_EQ(run.Switch("/hwnd:"), std::to_string(reinterpret_cast<LONG_PTR>(c.expected))) << c.editor;
        EXPECT_EQ(run.Switch("/editor:"), c.editor);
    }
}

TEST_F(IntegrationObject, RequestsRunOnAThreadWithoutWindowsFailQuietly)
{
    HRESULT hr = E_FAIL;
    long result = 99;
    std::thread([&] {
        CoInitialize(nullptr);
        IHotDogQuorBarwright* there = Create();
        if (there) {
            there->put_DocPath(Bstr("C:\\p.htm"));
            hr = there->InsertNew(&result);
            long help = 99;
            EXPECT_EQ(there->ShowHelp(&help), S_FALSE);
            EXPECT_EQ(help, 0);
            there->Release();
        }
        CoUninitialize();
    }).join();
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(LastRun().started);
}

TEST_F(IntegrationObject, KeepsTheEditorsWindowsWorkingWhileBarwrightRuns)
{
    EditorWindow editor("FrontPageExplorerWindow40");
    object->put_DocPath(Bstr("C:\\p.htm"));
    SetEnvironmentVariableA("BW_FAKE_POST", "1");
    long result = 0;
    object->InsertNew(&result);
    // Posted before the program ended, dispatched by the module before it returned.
    EXPECT_EQ(EditorWindow::s_posts, 1);
    // Nothing of the module's own is left in the queue for the editor's loop.
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_USER + 444, WM_USER + 444, PM_NOREMOVE));
}

TEST_F(IntegrationObject, ATemporaryFolderWithBlanksReachesBarwrightWhole)
{
    EditorWindow editor("FrontPageExplorerWindow40");
    const std::string spaced = m_scratch + "\\tmp with blanks";
    CreateDirectoryA(spaced.c_str(), nullptr);
    SetTemp(spaced);
    object->put_DocPath(Bstr("C:\\p.htm"));
    SetEnvironmentVariableA("BW_FAKE_RESULT", "LiveHTML=\"<b>\"\\n");
    long result = 0;
    object->InsertNew(&result);
    EXPECT_EQ(result, -1);
    const FakeRun run = LastRun();
    EXPECT_EQ(run.Switch("/result:").compare(0, spaced.size() + 3, spaced + "\\TW"), 0) << run.commandLine;
    EXPECT_EQ(TempFiles(), 0);
}

TEST_F(IntegrationObject, RefusesTextsLongerThanTheirBuffers)
{
    struct Case {
        const char* name;
        HRESULT (STDMETHODCALLTYPE IHotDogQuorBarwright::*put)(BSTR);
        std::size_t fits;  // longest text accepted
    };
    const Case cases[] = {
        {"SnippetID", &IHotDogQuorBarwright::put_SnippetID, 259},
        {"BackgroundColour", &IHotDogQuorBarwright::put_BackgroundColour, 15},
        {"DocPath", &IHotDogQuorBarwright::put_DocPath, 257},  // with its two quotes
        {"appName", &IHotDogQuorBarwright::put_appName, 1023},
        {"HostAppName", &IHotDogQuorBarwright::put_HostAppName, 1023},
        {"mfgName", &IHotDogQuorBarwright::put_mfgName, 1023},
    };
    for (const Case& c : cases) {
        EXPECT_EQ((object->*c.put)(Bstr(std::string(c.fits, 'x'))), S_OK) << c.name;
        EXPECT_EQ((object->*c.put)(Bstr(std::string(c.fits + 1, 'x'))), E_INVALIDARG) << c.name;
        EXPECT_EQ((object->*c.put)(nullptr), S_OK) << c.name;
    }
    // The refused identifier left no part of itself behind.
    object->put_SnippetID(Bstr(std::string(300, 'x')));
    EXPECT_EQ(Get(object, &IHotDogQuorBarwright::get_SnippetID), "");
}

TEST_F(IntegrationObject, ModuleInfoShowsBothVersions)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quor\\Bar Wright FrontPage Add-in", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Product Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("2.5"), 4);
    RegCloseKey(key);

    struct Case {
        const char* editor;
        const char* integration;
    };
    const Case cases[] = {{kFrontPage, "Version: 2.5"}, {"Some Editor", "Version: Unknown"}};
    for (const Case& c : cases) {
        SetAppName(c.editor);
        DialogCatcher catcher;
        long result = 0;
        EXPECT_EQ(object->ModuleInfo(&result), S_OK);
        EXPECT_EQ(result, 1);
        ASSERT_EQ(catcher.shown.size(), 1u) << c.editor;
        const std::vector<std::string>& texts = catcher.shown[0];
        EXPECT_EQ(texts[0], "Barwright Integration");
        EXPECT_TRUE(Contains(texts, "Version: 7 (58)")) << c.editor;
        EXPECT_TRUE(std::find(texts.begin(), texts.end(), c.editor) != texts.end()) << c.editor;
        EXPECT_TRUE(std::find(texts.begin(), texts.end(), c.integration) != texts.end()) << c.editor;
    }
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Quor\\Bar Wright FrontPage Add-in");
}

TEST_F(IntegrationObject, ShowHelpOpensTheDreamweaverExtensionsHelpOrElseTheFrontPageAddIns)
{
    EditorWindow editor("FrontPageExplorerWindow40");
    // The stand-in program serves as a help file that opens; it must not write a log now.
    SetEnvironmentVariableA("BW_FAKE_LOG", nullptr);
    const std::string opens = ServerPath().substr(0, ServerPath().rfind('\\')) + "\\Barwright.exe";
    struct Key {
        const char* key;
        std::string path;
    };
    const Key keys[] = {{"Software\\Quor\\Bar Wright Dreamweaver Extension", opens},
                        {"Software\\Quor\\Bar Wright FrontPage Add-in", m_scratch + "\\no such help.htm"}};
    for (const Key& k : keys)
        ASSERT_EQ(SHSetValueA(HKEY_LOCAL_MACHINE, k.key, "Local Help Path", REG_SZ, k.path.c_str(),
                              static_cast<DWORD>(k.path.size() + 1)),
                  ERROR_SUCCESS);
    struct Case {
        const char* editor;
        long result;
        bool errorShown;
    };
    const Case cases[] = {{kDreamweaver, -1, false}, {kFrontPage, 0, true}, {"Some Editor", 0, true}};
    for (const Case& c : cases) {
        SetAppName(c.editor);
        DialogCatcher catcher;
        long result = 99;
        EXPECT_EQ(object->ShowHelp(&result), S_OK) << c.editor;
        EXPECT_EQ(result, c.result) << c.editor;
        ASSERT_EQ(catcher.shown.size(), c.errorShown ? 1u : 0u) << c.editor;
        if (c.errorShown) {
            EXPECT_EQ(catcher.shown[0][0], "Tw3FpInterface");
        }
    }
    for (const Key& k : keys)
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, k.key);
}

TEST_F(IntegrationObject, AQuitMessageDuringTheWaitIsLeftForTheEditor)
{
    EditorWindow editor("FrontPageExplorerWindow40");
    EditorWindow::s_quitOnPost = true;
    object->put_DocPath(Bstr("C:\\p.htm"));
    SetEnvironmentVariableA("BW_FAKE_POST", "1");
    SetEnvironmentVariableA("BW_FAKE_RESULT", "LiveHTML=\"<b>\"\\n");
    long result = 0;
    object->InsertNew(&result);
    EditorWindow::s_quitOnPost = false;
    EXPECT_EQ(result, -1);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(TempFiles(), 0);
}

TEST(IntegrationServer, MayBeUnloadedOnlyWhenNoObjectIsLeft)
{
    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_QuorBarwrightHDInterface, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    HMODULE server = GetModuleHandleA(ServerPath().c_str());
    ASSERT_NE(server, nullptr);
    auto canUnload = ModuleEntry<HRESULT(STDAPICALLTYPE*)()>(server, "DllCanUnloadNow");
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_FALSE);
    object->Release();
    EXPECT_EQ(canUnload(), S_OK);
}
