// Idle manager, UI services, component versions, main dialog rules, working-copy names and
// file reading.
#include "app/AppServiceAdapters.h"
#include "app/AppServices.h"
#include "app/ComponentCheck.h"
#include "app/Errors.h"
#include "app/OnIdleManager.h"
#include "app/Resource.h"
#include "app/TempFolder.h"
#include "app/TopLevelManager.h"
#include "app/UIServices.h"
#include "panels/PanelMessage.h"
#include "app/WidgetsDlg.h"
#include "app/widgets.h"
#include "tests/app/MessageBoxCloser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class Consumer : public COnIdleConsumer {
public:
    Consumer(int answer, std::vector<int>* calls, int id, bool* destroyed = nullptr)
        : answer(answer), calls(calls), id(id), destroyed(destroyed)
    {
    }
    ~Consumer() override
    {
        if (destroyed)
            *destroyed = true;
    }
    int OnIdle(long) override
    {
        calls->push_back(id);
        if (leaveOnCall)
            GetManager()->Unregister(this);
        return answer;
    }
    int answer;
    std::vector<int>* calls;
    int id;
    bool* destroyed;
    bool leaveOnCall = false;
};

void ResetError()
{
    ClearError();
    g_MessageShown = 0;
}

}  // namespace

TEST(IdleManager, CallsEveryConsumerInOrderAndCombinesAnswers)
{
    std::vector<int> calls;
    COnIdleManager manager;
    Consumer* quiet = new Consumer(0, &calls, 1);
    Consumer* busy = new Consumer(1, &calls, 2);
    Consumer* leaving = new Consumer(0, &calls, 3);
    leaving->leaveOnCall = true;
    ASSERT_EQ(manager.Register(quiet), 1);
    ASSERT_EQ(manager.Register(busy), 1);
    ASSERT_EQ(manager.Register(leaving), 1);
    EXPECT_EQ(manager.OnIdle(0), 1);
    EXPECT_EQ(calls, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(manager.GetCount(), 2);  // the third left during its own call
    delete leaving;
    busy->answer = 0;
    EXPECT_EQ(manager.OnIdle(1), 0);
}

TEST(IdleManager, RefusesDuplicatesAndForeignConsumersWithAnInternalError)
{
    std::vector<int> calls;
    COnIdleManager manager, other;
    Consumer* consumer = new Consumer(0, &calls, 1);
    ASSERT_EQ(manager.Register(consumer), 1);
    struct Case {
        COnIdleManager* target;
        COnIdleConsumer* consumer;
    } cases[] = {{&manager, consumer}, {&other, consumer}, {&manager, nullptr}};
    for (const Case& c : cases) {
        ResetError();
        EXPECT_EQ(c.target->Register(c.consumer), 0);
        EXPECT_EQ(std::string(g_ErrorText).rfind("Internal program error", 0), 0u) << g_ErrorText;
    }
    EXPECT_EQ(manager.GetCount(), 1);
    EXPECT_EQ(other.GetCount(), 0);
    ResetError();
    EXPECT_EQ(other.Unregister(consumer), 0);
    EXPECT_NE(g_ErrorText[0], 0);
    ResetError();
}

TEST(IdleManager, OwnershipAtDestructionOfEitherSide)
{
    std::vector<int> calls;
    bool registeredDestroyed = false, loneDestroyed = false;
    {
        COnIdleManager manager;
        manager.Register(new Consumer(0, &calls, 1, &registeredDestroyed));
        // A consumer deleted by its owner while registered must not stay in the list.
        Consumer* lone = new Consumer(1, &calls, 2, &loneDestroyed);
        manager.Register(lone);
        delete lone;
        EXPECT_EQ(manager.GetCount(), 1);
        EXPECT_EQ(manager.OnIdle(0), 0);
        EXPECT_EQ(calls, (std::vector<int>{1}));
    }
    EXPECT_TRUE(registeredDestroyed);
    EXPECT_TRUE(loneDestroyed);
}

namespace {
HWND MakeWindow()
{
    return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}
}  // namespace

TEST(UIServices, TimerIdsArePerWindowAndNeverReplaceEachOther)
{
    CUIServices services;
    HWND first = MakeWindow(), second = MakeWindow();
    EXPECT_EQ(services.AllocTimer(first, 1000), 1u);
    EXPECT_EQ(services.AllocTimer(second, 1000), 1u);
    EXPECT_EQ(services.AllocTimer(first, 1000), 2u);
    services.FreeTimer(first, 1);
    EXPECT_EQ(services.AllocTimer(first, 1000), 1u);
    services.FreeTimer(first, 0);  // nothing
    EXPECT_EQ(services.AllocTimer(first, 1000), 3u);
    ::DestroyWindow(first);
    ::DestroyWindow(second);
}

TEST(UIServices, CaptureWaitCursorAndHoldFlag)
{
    CUIServices services;
    HWND hWnd = MakeWindow();
    CWnd wnd;
    wnd.Attach(hWnd);

    services.BeginWaitCursor(&wnd);
    EXPECT_EQ(::GetCapture(), hWnd);
    EXPECT_EQ(services.m_cursorId, 1);
    EXPECT_EQ(services.ReleaseCaptureCursor(1), 0);  // keep-wait: nothing changes
    EXPECT_EQ(::GetCapture(), hWnd);
    EXPECT_EQ(services.m_captured, 1u);
    services.ReleaseCaptureCursor(0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(services.m_captured, 0u);
    EXPECT_EQ(services.m_cursorId, 0);

    services.m_holdCapture = 1;
    services.BeginWaitCursor(&wnd);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(services.m_waitRequested, 0u);
    services.SetCaptureCursor(136, &wnd);  // allowed: no capture active
    services.SetCaptureCursor(2, &wnd);    // ignored: a capture is active and held
    EXPECT_EQ(services.m_cursorId, 136);
    services.ReleaseCaptureCursor(0);
    wnd.Detach();
    ::DestroyWindow(hWnd);
}

TEST(ComponentCheck, VersionComparison)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"1, 0, 1, 9", "1, 0, 1, 9", 0},  {"1, 0, 1, 8", "1, 0, 1, 9", -1}, {"1, 9, 0, 0", "1, 8, 5, 2", 1},
        {"0, 0, 0, 0", "1, 0, 0, 9", -1}, {"1.0.1.9", "2, 0, 0, 0", 0},     {"2, 0, 0", "1, 0, 0, 0", 0},
    };
    for (const Case& c : cases) {
        const int result = CompareComponentVersions(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(ComponentCheck, FileVersionOfStubsAndOfWhatIsNoComponent)
{
    const char* dist = std::getenv("BW_DIST");
    ASSERT_TRUE(dist);
    const std::string stub = std::string(dist) + "\\dlls\\stylekit.dll";
    if (::GetFileAttributesA(stub.c_str()) != INVALID_FILE_ATTRIBUTES) {
        EXPECT_GE(CompareComponentVersions(GetComponentFileVersion(stub.c_str()), kOutsideComponents[0].minimumVersion), 0);
    }
    EXPECT_STREQ(GetComponentFileVersion(""), "0, 0, 0, 0");
    EXPECT_STREQ(GetComponentFileVersion("C:\\no\\such.dll"), "0, 0, 0, 0");
    EXPECT_STREQ(GetComponentFileVersion(CString('x', 127)), "0, 0, 0, 0");
    EXPECT_STREQ(GetRegisteredServerPath("CLSID\\{00000000-1111-2222-3333-444444444444}\\InprocServer32"), "");
}

TEST(MainDialog, DefaultPlacementAndMinimumSize)
{
    struct Case {
        RECT area;
        RECT expected;
    } cases[] = {
        {{0, 0, 1024, 738}, {112, 69, 912, 669}},
        {{0, 0, 640, 480}, {45, 34, 595, 446}},
        {{100, 50, 1124, 788}, {112, 69, 912, 669}},  // the area's own origin is not added
    };
    for (const Case& c : cases) {
        const WINDOWPLACEMENT p = CWidgetsDlg::GetDefaultPlacement(c.area);
        EXPECT_EQ(p.length, sizeof(WINDOWPLACEMENT));
        EXPECT_EQ(p.rcNormalPosition.left, c.expected.left);
        EXPECT_EQ(p.rcNormalPosition.top, c.expected.top);
        EXPECT_EQ(p.rcNormalPosition.right, c.expected.right);
        EXPECT_EQ(p.rcNormalPosition.bottom, c.expected.bottom);
    }
    WINDOWPLACEMENT small = {};
    small.rcNormalPosition = {10, 20, 310, 220};
    CWidgetsDlg::EnforceMinimumSize(small);
    EXPECT_EQ(small.rcNormalPosition.right, 560);
    EXPECT_EQ(small.rcNormalPosition.bottom, 432);
}

TEST(MainDialog, BorderDragsKeepTheMinimumByMovingTheDraggedEdge)
{
    struct Case {
        UINT side;
        RECT proposed;
        RECT expected;
    } cases[] = {
        {WMSZ_LEFT, {100, 0, 600, 500}, {50, 0, 600, 500}},
        {WMSZ_RIGHT, {100, 0, 600, 500}, {100, 0, 650, 500}},
        {WMSZ_TOPLEFT, {100, 100, 600, 400}, {50, -12, 600, 400}},
        {WMSZ_BOTTOM, {0, 100, 700, 400}, {0, 100, 700, 512}},
        {WMSZ_BOTTOMRIGHT, {0, 0, 700, 600}, {0, 0, 700, 600}},
    };
    for (const Case& c : cases) {
        RECT r = c.proposed;
        CWidgetsDlg::ApplySizingMinimum(c.side, r);
        EXPECT_TRUE(::EqualRect(&r, &c.expected)) << "side " << c.side << ": " << r.left << "," << r.top << ","
                                                  << r.right << "," << r.bottom;
    }
}

TEST(MainDialog, TitleByManagerAndGraphicType)
{
    struct Case {
        bool record;
        int managerType;
        int graphicType;
        const char* expected;
    } cases[] = {
        {false, 1, 3, "Quor Bar Wright"},
        {true, -1, 3, "Quor Bar Wright"},
        {true, 0, 3, "Quor Bar Wright"},
        {true, 2, 12, "Quor Bar Wright"},
        {true, 1, 12, "Quor Bar Wright - Photo at 100% zoom"},
        {true, 1, 7, "Quor Bar Wright - Shop (Project)"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(CWidgetsDlg::MakeTitle(c.record, c.managerType, c.graphicType, "Shop"), c.expected);
}

TEST(MainDialog, CopyDataPathStopsAtTheSendersSize)
{
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    char terminated[] = "C:\\x.qtw";
    struct Case {
        void* data;
        DWORD size;
        const char* expected;
    } cases[] = {
        {unterminated, 4, "abcd"}, {unterminated, 2, "ab"}, {terminated, sizeof terminated, "C:\\x.qtw"},
        {nullptr, 10, ""},         {terminated, 0, ""},
    };
    for (const Case& c : cases) {
        COPYDATASTRUCT cds = {0, c.size, c.data};
        EXPECT_STREQ(CWidgetsDlg::CopyDataPath(&cds), c.expected);
    }
    EXPECT_STREQ(CWidgetsDlg::CopyDataPath(nullptr), "");
}

TEST(AppServices, WorkingCopyNamesAndTempFolders)
{
    EXPECT_STREQ(CWidgetsApp::GetTempStyleFileName(7, true), "~ast7_off.qtw");
    EXPECT_STREQ(CWidgetsApp::GetTempStyleFileName(7, false), "~ast7");
    EXPECT_STREQ(CWidgetsApp::GetTempStyleFileName(12, true), "~ast12.qtw");
    const CString appData = GetSpecialFolder(0);
    ASSERT_FALSE(appData.IsEmpty());
    struct Case {
        int number;
        const char* tail;
    } cases[] = {{0, "\\Quor\\Barwright\\Temp\\"}, {1234, "\\Quor\\Barwright\\Temp\\1234\\"}, {-1, "\\Quor\\Barwright\\Temp\\-1\\"}};
    for (const Case& c : cases) {
        CTempFolder folder;
        folder.m_number = c.number;
        EXPECT_STREQ(folder.GetPath(), appData + c.tail);
        folder.m_number = 0;  // keep the real folders
    }
}

TEST(AppServices, ReadWholeFileTerminatesAndReportsFailure)
{
    char path[MAX_PATH];
    ::GetTempPathA(MAX_PATH, path);
    std::string file = std::string(path) + "bw_read_whole.txt";
    FILE* out = std::fopen(file.c_str(), "wb");
    std::fwrite("abc", 1, 3, out);
    std::fclose(out);
    DWORD length = 99;
    char* data = ReadWholeFile(file.c_str(), &length);
    ASSERT_TRUE(data);
    EXPECT_EQ(length, 3u);
    EXPECT_STREQ(data, "abc");
    delete[] data;
    ::DeleteFileA(file.c_str());
    EXPECT_EQ(ReadWholeFile(file.c_str(), &length), nullptr);
    EXPECT_EQ(length, 0u);
}

TEST(MainDialog, RoutesMouseAndSizeToTheTopLevelManager)
{
    CWinApp app("Barwright Routing");  // no registry key: the default placement
    InstallAppServiceAdapters();        // as start-up does: the dialog's operations manager needs them
    CWidgetsDlg dlg(nullptr, nullptr);
    app.m_pMainWnd = &dlg;
    {
        CMessageBoxCloser closer;  // the template engine is not installed here: its message is closed
        ASSERT_TRUE(dlg.Create(IDD_WIDGETS_DIALOG));
    }
    ASSERT_FALSE(dlg.m_initFailed);
    EXPECT_EQ(dlg.m_initialised, 1);
    auto* manager = static_cast<CTopLevelManager*>(dlg.GetTopLevelManager());
    ASSERT_TRUE(manager);
    dlg.ShowWindow(SW_SHOW);
    dlg.SetFocus();
    char title[64];
    ::GetWindowTextA(dlg.m_hWnd, title, sizeof title);
    EXPECT_STREQ(title, "Quor Bar Wright");

    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int kind;  // -1: nothing reaches the manager
    } cases[] = {
        {WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10), 1},
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 200), -1},
        {WM_RBUTTONDOWN, 0, MAKELPARAM(20, 5), 2},
        {WM_LBUTTONDOWN, 0, MAKELPARAM(-5, -5), -1},
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200), 5},
        {WM_MOUSEMOVE, 0, MAKELPARAM(30, 30), ::GetFocus() ? 3 : -1},
    };
    for (const Case& c : cases) {
        manager->HandleMessage(nullptr);
        CPanelMessage none;
        manager->HandleMessage(&none);  // kind 0 marks "nothing since"
        dlg.SendMessage(c.message, c.wParam, c.lParam);
        EXPECT_EQ(manager->GetLastKind(), c.kind < 0 ? 0 : c.kind) << "message " << c.message;
    }
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(dlg.IsWindowVisible());  // Esc and Enter do not hide the main window
    app.m_pMainWnd = nullptr;
    dlg.DestroyWindow();
}

TEST(AppServices, FoldersVersionTextsAndServerRegistration)
{
    CWidgetsApp app;
    app.m_rootPath = "C:\\Prog\\";
    struct Case {
        bool backslash, root, lower;
        const char* expected;
    } cases[] = {
        {true, true, true, "c:\\prog\\twtemplates\\"},
        {false, false, false, "TWTemplates"},
        {true, false, false, "TWTemplates\\"},
        {false, true, false, "C:\\Prog\\TWTemplates"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(app.GetTemplatesFolder(c.backslash, c.root, c.lower), c.expected);
    EXPECT_STREQ(app.GetVersionLine(), "Quor Bar Wright version 1.1  : Jan 19 2004");
    EXPECT_STREQ(app.GetBuildKindText(), "32-bit Retail");
    EXPECT_EQ(app.RegisterServerDll("C:\\no\\such.dll"), 0);
    EXPECT_EQ(app.RegisterServerDll("kernel32.dll"), 0);  // no DllRegisterServer
    const char* dist = std::getenv("BW_DIST");
    const std::string stub = std::string(dist ? dist : "") + "\\dlls\\qfontman.dll";
    if (::GetFileAttributesA(stub.c_str()) != INVALID_FILE_ATTRIBUTES) {
        EXPECT_EQ(app.RegisterServerDll(stub.c_str()), 1);
        EXPECT_FALSE(GetRegisteredServerPath(kOutsideComponents[3].key).IsEmpty());
    }
}
