// The Win32 layer: message maps and their inheritance, control-notification reflection, the
// PreTranslateMessage walk, the idle loop, dialog data exchange and the registry profile.
#include "framework/win/Afxwin.h"
#include "tests/win/WinTestResource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* TestClass()
{
    static const char kName[] = "BwTestWindow";
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kName;
        ::RegisterClassA(&wc);
        registered = true;
    }
    return kName;
}

std::vector<std::string> g_log;

class CBaseWnd : public CWnd {
public:
    afx_msg void OnSize(UINT, int cx, int cy) { g_log.push_back("base size " + std::to_string(cx)); }
    afx_msg LRESULT OnPing(WPARAM w, LPARAM) { g_log.push_back("base ping"); return (LRESULT)w + 1; }
    afx_msg void OnRange(UINT id) { g_log.push_back("range " + std::to_string(id)); }
    afx_msg void OnChildClicked() { g_log.push_back("parent saw click"); }
    afx_msg void OnChildNotify(NMHDR* header, LRESULT* result)
    {
        g_log.push_back("parent saw notify " + std::to_string(header->idFrom));
        *result = 5;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_SIZE()
    ON_MESSAGE(WM_USER + 1, OnPing)
    ON_COMMAND_RANGE(200, 210, OnRange)
    ON_BN_CLICKED(300, OnChildClicked)
    ON_BN_CLICKED(301, OnChildClicked)
    ON_NOTIFY(NM_CLICK, 300, OnChildNotify)
    ON_NOTIFY(NM_CLICK, 301, OnChildNotify)
END_MESSAGE_MAP()

// Overrides one handler; the others come from the base map.
class CDerivedWnd : public CBaseWnd {
public:
    afx_msg void OnSize(UINT, int cx, int) { g_log.push_back("derived size " + std::to_string(cx)); }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        g_log.push_back("parent pretranslate");
        return msg->wParam == 'P';
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

// A child that handles its own clicks.
class CReflectingButton : public CWnd {
public:
    afx_msg void OnClicked() { g_log.push_back("child took click"); }
    afx_msg void OnNotifyClick(NMHDR*, LRESULT* result)
    {
        g_log.push_back("child took notify");
        *result = 9;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        g_log.push_back("child pretranslate");
        return msg->wParam == 'C';
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CWnd)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, OnNotifyClick)
END_MESSAGE_MAP()

struct Windows {
    CDerivedWnd parent;
    CReflectingButton reflecting;
    CWnd plain;
    Windows()
    {
        parent.CreateEx(0, TestClass(), "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr);
        reflecting.CreateEx(0, TestClass(), "child", WS_CHILD, 0, 0, 20, 20, parent.m_hWnd, (HMENU)300);
        plain.CreateEx(0, TestClass(), "plain", WS_CHILD, 0, 0, 20, 20, parent.m_hWnd, (HMENU)301);
    }
};

}  // namespace

TEST(MessageMap, DerivedHandlersOverrideAndBaseEntriesStillApply)
{
    Windows w;
    ASSERT_TRUE(w.parent.m_hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(w.parent.m_hWnd), &w.parent);
    g_log.clear();
    w.parent.SendMessage(WM_SIZE, 0, MAKELPARAM(77, 5));
    EXPECT_EQ(w.parent.SendMessage(WM_USER + 1, 41), 42);
    w.parent.SendMessage(WM_COMMAND, MAKEWPARAM(205, 0), 0);  // a menu command in the range
    w.parent.SendMessage(WM_COMMAND, MAKEWPARAM(211, 0), 0);  // outside it: nobody
    EXPECT_EQ(g_log, (std::vector<std::string>{"derived size 77", "base ping", "range 205"}));
}

TEST(MessageMap, ControlNotificationsReflectToTheControlFirst)
{
    Windows w;
    g_log.clear();
    w.parent.SendMessage(WM_COMMAND, MAKEWPARAM(300, BN_CLICKED), (LPARAM)w.reflecting.m_hWnd);
    w.parent.SendMessage(WM_COMMAND, MAKEWPARAM(301, BN_CLICKED), (LPARAM)w.plain.m_hWnd);
    NMHDR fromReflecting = {w.reflecting.m_hWnd, 300, (UINT)NM_CLICK};
    NMHDR fromPlain = {w.plain.m_hWnd, 301, (UINT)NM_CLICK};
    EXPECT_EQ(w.parent.SendMessage(WM_NOTIFY, 300, (LPARAM)&fromReflecting), 9);
    EXPECT_EQ(w.parent.SendMessage(WM_NOTIFY, 301, (LPARAM)&fromPlain), 5);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child took click", "parent saw click", "child took notify",
                                               "parent saw notify 301"}));
}

TEST(MessageMap, DestroyedWindowLeavesTheHandleMap)
{
    HWND hWnd;
    {
        CBaseWnd wnd;
        wnd.CreateEx(0, TestClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
        hWnd = wnd.m_hWnd;
        ASSERT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
        wnd.DestroyWindow();
        EXPECT_EQ(wnd.m_hWnd, nullptr);
    }
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

namespace {
class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("Barwright Test") {}
    std::vector<LONG> idleCounts;
    LONG stopAt = 3;
    BOOL OnIdle(LONG count) override
    {
        idleCounts.push_back(count);
        CWinApp::OnIdle(count);
        if (count == stopAt) {
            ::PostQuitMessage(7);
            return FALSE;
        }
        return TRUE;
    }
};
}  // namespace

TEST(WinApp, PreTranslateWalksFromTheTargetUpItsParents)
{
    CTestApp app;
    Windows w;
    struct Case {
        WPARAM key;
        std::vector<std::string> expected;
        bool dispatched;
    } cases[] = {
        {'C', {"child pretranslate"}, false},
        {'P', {"child pretranslate", "parent pretranslate"}, false},
        {'X', {"child pretranslate", "parent pretranslate"}, true},
    };
    for (const Case& c : cases) {
        g_log.clear();
        MSG msg = {w.reflecting.m_hWnd, WM_KEYDOWN, c.key, 0, 0, {0, 0}};
        const BOOL taken = app.PreTranslateMessage(&msg);
        EXPECT_EQ(g_log, c.expected) << (char)c.key;
        EXPECT_EQ(!taken, c.dispatched) << (char)c.key;
    }
}

TEST(WinApp, RunRepeatsOnIdleWhileItAsksForMoreThenEndsOnQuit)
{
    CTestApp app;
    MSG drain;
    while (::PeekMessageA(&drain, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.idleCounts, (std::vector<LONG>{0, 1, 2, 3}));
}

TEST(WinApp, ProfileRoundTripsAndReadsStringsStoredWithoutTerminator)
{
    CTestApp app;
    app.SetRegistryKey("QuorTest");
    EXPECT_EQ(app.GetProfileInt("Section", "Missing", 17), 17u);
    EXPECT_TRUE(app.WriteProfileInt("Section", "Number", -5));
    EXPECT_EQ((int)app.GetProfileInt("Section", "Number", 0), -5);
    EXPECT_TRUE(app.WriteProfileString("Section", "Text", "hello"));
    EXPECT_STREQ(app.GetProfileString("Section", "Text"), "hello");

    HKEY key = app.GetSectionKey("Section");
    ASSERT_TRUE(key);
    ::RegSetValueExA(key, "Bare", 0, REG_SZ, (const BYTE*)"abcdef", 3);  // "abc", no NUL
    ::RegCloseKey(key);
    EXPECT_STREQ(app.GetProfileString("Section", "Bare"), "abc");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorTest\\Barwright Test\\Section");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorTest\\Barwright Test");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorTest");
}

namespace {
class CExchangeDlg : public CDialog {
public:
    CExchangeDlg() : CDialog(IDD_EXCHANGE) {}
    CString m_name = "start";
    int m_count = 3;
    int m_flag = 1;
    CString typedCount;  // what the "user" types into the count box
    CString shownName;
    BOOL firstOkAccepted = TRUE;

    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_NAME, m_name);
        DDX_Text(dx, IDC_COUNT, m_count);
        DDX_Check(dx, IDC_FLAG, m_flag);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetDlgItem(IDC_NAME)->GetWindowText(shownName);
        SetDlgItemText(IDC_NAME, "typed");
        SetDlgItemText(IDC_COUNT, typedCount);
        ::SendMessageA(::GetDlgItem(m_hWnd, IDC_FLAG), BM_SETCHECK, BST_UNCHECKED, 0);
        PostMessage(WM_USER + 5);
        return TRUE;
    }
    afx_msg LRESULT OnTry(WPARAM, LPARAM)
    {
        firstOkAccepted = UpdateData(TRUE);
        if (firstOkAccepted)
            EndDialog(IDOK);
        else
            EndDialog(IDCANCEL);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
    ON_MESSAGE(WM_USER + 5, OnTry)
END_MESSAGE_MAP()
}  // namespace

TEST(Dialog, DataExchangeFillsControlsAndValidatesOnTheWayBack)
{
    struct Case {
        const char* typed;
        INT_PTR result;
        int count;
    } cases[] = {{"12", IDOK, 12}, {"12x", IDCANCEL, 3}, {"", IDCANCEL, 3}};
    for (const Case& c : cases) {
        CExchangeDlg dlg;
        dlg.typedCount = c.typed;
        EXPECT_EQ(dlg.DoModal(), c.result) << c.typed;
        EXPECT_STREQ(dlg.shownName, "start");
        EXPECT_EQ(dlg.m_count, c.count) << c.typed;
        EXPECT_EQ(dlg.m_hWnd, nullptr);
        if (c.result == IDOK) {
            EXPECT_STREQ(dlg.m_name, "typed");
            EXPECT_EQ(dlg.m_flag, 0);
        }
    }
}
