// The shared panel controls and the warning dialogs as real windows, driven with messages.
#include "panels/AngleDial.h"
#include "panels/DeleteWarningDlg.h"
#include "panels/DigitsEdit.h"
#include "panels/DontShowAgainDlg.h"
#include "panels/FilterEdit.h"
#include "panels/GreySwatchBar.h"
#include "panels/NotifyEdit.h"
#include "panels/NumberEdit.h"
#include "panels/PanelsResource.h"
#include "panels/SquareRootSlider.h"
#include "panels/StaticLink.h"
#include "panels/WarningDlg.h"
#include "tests/panels/FakePanelServices.h"
#include "tests/panels/PanelTestHost.h"
#include "util/Registry.h"
#include "util/TextFilters.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// A parent that records what its children tell it.
class CRecordingParent : public CWnd, public CNotifyEditOwner, public CSwatchColourOwner {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(HIWORD(wParam));
        if (message == WM_HSCROLL)
            scrolls.push_back(LOWORD(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void OnNotifyEditLostFocus(CWnd* edit) override { lostFocus.push_back(edit); }
    void ApplyColour(COLORREF colour, int final) override { colours.push_back({colour, final}); }

    std::vector<int> commands;
    std::vector<int> scrolls;
    std::vector<CWnd*> lostFocus;
    std::vector<std::pair<COLORREF, int>> colours;
};

class CDigitsOnlyEdit : public CFilterEdit {
public:
    bool IsCharAllowed(UINT c) override { return c >= '0' && c <= '9'; }
    bool IsTextAllowed(const CString& text) override { return text.SpanIncluding("0123456789") == text; }
};

class CFakeLink : public CStaticLink {
public:
    explicit CFakeLink(INT_PTR result) : m_result(result) {}
    std::vector<std::string> opened;

protected:
    INT_PTR OpenTarget(const CString& target) override
    {
        opened.push_back(std::string(target));
        return m_result;
    }

private:
    INT_PTR m_result;
};

class PanelControls : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_hostWindow = CreatePanelTestHost(500, 300); }
    static void TearDownTestSuite() { ::DestroyWindow(s_hostWindow); }

    void SetUp() override
    {
        ASSERT_TRUE(RegisterPlainWindowClass("BwRecordingParent"));
        ASSERT_TRUE(m_parent.CreateEx(0, "BwRecordingParent", "", WS_CHILD | WS_VISIBLE, 0, 0, 480, 260, s_hostWindow,
                                      nullptr));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        SetUserDecimalSeparator(".");
    }

    HWND Child(const char* className, DWORD style, int x, int y, int width, int height, int id)
    {
        return ::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                 m_parent.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleA(nullptr), nullptr);
    }

    static HWND s_hostWindow;
    CFakePanelServices m_services;
    CRecordingParent m_parent;
};

HWND PanelControls::s_hostWindow = nullptr;

TEST_F(PanelControls, NumberEditShowsTrimmedLocalNumbersAndDrivesItsSpin)
{
    CNumberEdit edit(2, -5.0, 50.0);
    ASSERT_TRUE(edit.SubclassWindow(Child("EDIT", ES_AUTOHSCROLL, 5, 5, 80, 20, 100)));
    HWND spin = Child(UPDOWN_CLASSA, 0, 90, 5, 16, 20, 101);
    edit.SetSpin(&m_parent, 101);
    edit.AttachSpin();
    EXPECT_EQ(reinterpret_cast<HWND>(::SendMessageA(spin, UDM_GETBUDDY, 0, 0)), edit.GetSafeHwnd());

    edit.SetValue(1.5);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "1.5");
    edit.SetValue(2.0);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "2");
    EXPECT_EQ(static_cast<short>(LOWORD(::SendMessageA(spin, UDM_GETPOS, 0, 0))), 2);
    EXPECT_FALSE(edit.IsDifferent(2.004));
    EXPECT_TRUE(edit.IsDifferent(2.006));
    edit.SetClampedValue(80.0);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "50");

    SetUserDecimalSeparator(",");
    edit.SetValue(1.5);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "1,5");
    EXPECT_DOUBLE_EQ(edit.GetValue(), 1.5);
    ::SetWindowTextA(edit.GetSafeHwnd(), "-9,25");
    EXPECT_DOUBLE_EQ(edit.GetClampedValue(), -5.0);

    edit.EnableWithSpin(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(edit.GetSafeHwnd()));
    EXPECT_FALSE(::IsWindowEnabled(spin));
    edit.UnsubclassWindow();
}

TEST_F(PanelControls, RealNumbersInAnyEditAreClampedAndRewritten)
{
    CWnd edit;
    ASSERT_TRUE(edit.Attach(Child("EDIT", ES_AUTOHSCROLL, 5, 5, 80, 20, 100)));
    ::SetWindowTextA(edit.GetSafeHwnd(), "300");
    EXPECT_DOUBLE_EQ(CDigitsEdit::GetClampedDouble(&edit, 0, 255, true), 255.0);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "255");
    DWORD start = 0, end = 0;
    ::SendMessageA(edit.GetSafeHwnd(), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);
    ::SetWindowTextA(edit.GetSafeHwnd(), "300");
    CDigitsEdit::GetClampedDouble(&edit, 0, 255, false);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "255.0");
    ::SetWindowTextA(edit.GetSafeHwnd(), "12");
    EXPECT_DOUBLE_EQ(CDigitsEdit::GetClampedDouble(&edit, 0, 255, true), 12.0);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "12");  // inside the limits: untouched

    SetUserDecimalSeparator(",");
    CDigitsEdit::SetDouble(&edit, 2.26, true);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "2,3");
    EXPECT_DOUBLE_EQ(CDigitsEdit::GetDouble(&edit), 2.3);
    CDigitsEdit::SetDouble(&edit, 7.6, false);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "8");
    edit.Detach();
}

TEST_F(PanelControls, FilterEditRefusesCharactersAndPastes)
{
    CDigitsOnlyEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(Child("EDIT", ES_AUTOHSCROLL, 5, 5, 80, 20, 100)));
    for (char c : std::string("1a2-3"))
        edit.SendMessage(WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "123");

    edit.SetSel(1, 2);
    edit.InsertFiltered("x9");
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "123");
    edit.InsertFiltered("45");
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "1453");
    DWORD start = 0, end = 0;
    edit.SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 3u);

    // A paste goes through the same filter.
    if (::OpenClipboard(edit.GetSafeHwnd())) {
        ::EmptyClipboard();
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 4);
        std::memcpy(::GlobalLock(block), "7z7", 4);
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_TEXT, block);
        ::CloseClipboard();
        edit.SendMessage(WM_PASTE);
        EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "1453");
    }
    edit.UnsubclassWindow();
}

TEST_F(PanelControls, NotifyEditTellsItsParentWhenItLosesTheFocus)
{
    CNotifyEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(Child("EDIT", ES_AUTOHSCROLL, 5, 5, 80, 20, 100)));
    HWND other = Child("EDIT", ES_AUTOHSCROLL, 5, 40, 80, 20, 102);
    ::SetForegroundWindow(s_hostWindow);
    ::SetFocus(edit.GetSafeHwnd());
    ::SetFocus(other);
    ASSERT_EQ(m_parent.lostFocus.size(), 1u);
    EXPECT_EQ(m_parent.lostFocus[0], &edit);
    edit.UnsubclassWindow();
}

TEST_F(PanelControls, SquareRootSliderMapsValuesAndStepsByWheelAndKeys)
{
    CSquareRootSlider slider;
    ASSERT_TRUE(slider.SubclassWindow(Child(TRACKBAR_CLASSA, 0, 5, 5, 300, 30, 100)));
    slider.SetValueRange(2, 1500, TRUE);
    EXPECT_EQ(slider.GetRangeMin(), 1414);
    EXPECT_EQ(slider.GetRangeMax(), 38730);
    EXPECT_EQ(slider.GetMinValue(), 2);
    EXPECT_EQ(slider.GetMaxValue(), 1500);
    slider.SetValue(100);
    EXPECT_EQ(slider.GetPos(), 10000);
    EXPECT_EQ(slider.GetValue(), 100);

    slider.SetLineSize(100);
    slider.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(slider.GetPos(), 10200);
    slider.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(slider.GetPos(), 10100);
    slider.SendMessage(WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(slider.GetPos(), 10200);
    slider.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(slider.GetPos(), 10100);
    EXPECT_EQ(m_parent.scrolls, (std::vector<int>{SB_LINERIGHT, SB_LINELEFT, SB_LINERIGHT, SB_LINELEFT}));

    slider.SetValue(1500);
    m_parent.scrolls.clear();
    slider.SendMessage(WM_KEYDOWN, VK_UP, 1);  // at the maximum: the trackbar's own handling
    EXPECT_LE(slider.GetPos(), 38730);
    EXPECT_TRUE(m_parent.scrolls.empty() || m_parent.scrolls[0] != SB_LINERIGHT);

    slider.SetValueRange(0, 100, FALSE);
    slider.SetTicsEvery(25);
    EXPECT_EQ(slider.SendMessage(TBM_GETNUMTICS), 2 + 3);  // the ends and 25, 50, 75
    slider.SetTicsEvery(0);
    EXPECT_EQ(slider.SendMessage(TBM_GETNUMTICS), 2);
    slider.UnsubclassWindow();
}

TEST_F(PanelControls, AngleDialTurnsByMouseAndKeysAndTellsItsParent)
{
    CAngleDial dial;
    ASSERT_TRUE(dial.Create(RECT{10, 10, 70, 70}, &m_parent, 200));
    dial.SetDegrees(-90, 7);
    EXPECT_EQ(dial.GetDegrees(), -90);
    EXPECT_EQ(dial.GetArgument(), 7);
    EXPECT_EQ(m_parent.commands, std::vector<int>{CAngleDial::kChanged});

    dial.SetDegrees(0, 0);
    MSG key = {dial.GetSafeHwnd(), WM_KEYDOWN, VK_RIGHT, 1, 0, {0, 0}};
    for (int step = 0; step < 16; ++step)
        EXPECT_TRUE(dial.PreTranslateMessage(&key));
    EXPECT_EQ(dial.GetDegrees(), 180);
    EXPECT_TRUE(dial.PreTranslateMessage(&key));
    EXPECT_EQ(dial.GetDegrees(), -169);
    m_parent.commands.clear();
    key.wParam = VK_LEFT;
    dial.PreTranslateMessage(&key);
    EXPECT_EQ(dial.GetDegrees(), 180);
    EXPECT_EQ(m_parent.commands, (std::vector<int>{CAngleDial::kKeyStep, CAngleDial::kChanged}));
    key.wParam = VK_RETURN;
    m_parent.commands.clear();
    dial.PreTranslateMessage(&key);
    EXPECT_EQ(m_parent.commands, std::vector<int>{CAngleDial::kReleased});

    // Straight above the centre (30, 30) is 0 degrees, to the right 90.
    dial.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));
    EXPECT_EQ(dial.GetDegrees(), 0);
    dial.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(55, 30));
    EXPECT_EQ(dial.GetDegrees(), 90);
    m_parent.commands.clear();
    dial.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(55, 30));
    EXPECT_EQ(m_parent.commands, std::vector<int>{CAngleDial::kReleased});
    EXPECT_NE(::GetCapture(), dial.GetSafeHwnd());
    dial.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 55));  // not dragging: no change
    EXPECT_EQ(dial.GetDegrees(), 90);

    dial.SetMirror(TRUE, FALSE);
    dial.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 30));
    EXPECT_EQ(dial.GetDegrees(), -90);
    dial.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(55, 30));

    m_parent.commands.clear();
    dial.SendMessage(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(m_parent.commands, std::vector<int>{CAngleDial::kLostFocus});
    dial.EnableWindow(FALSE);
    dial.UpdateWindow();  // paints disabled without trouble
    dial.DestroyWindow();
}

TEST_F(PanelControls, GreySwatchBarHitsSwatchesAndMovesItsCursor)
{
    CGreySwatchBar bar;
    ASSERT_TRUE(bar.Create(10, 100, &m_parent, 300));
    RECT window;
    bar.GetWindowRect(&window);
    EXPECT_EQ(window.right - window.left, 77);
    EXPECT_EQ(window.bottom - window.top, 17);

    EXPECT_EQ(bar.HitTest(1, 1), 0);
    EXPECT_EQ(bar.HitTest(12, 5), -1);  // the gap between the first two
    EXPECT_EQ(bar.HitTest(13, 5), 1);
    EXPECT_EQ(bar.HitTest(70, 11), 5);
    EXPECT_EQ(bar.HitTest(70, 12), -1);
    EXPECT_EQ(bar.GetColour(2), 0x666666u);

    bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(12, 5));
    EXPECT_TRUE(m_parent.colours.empty());
    bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
    ASSERT_EQ(m_parent.colours.size(), 1u);
    EXPECT_EQ(m_parent.colours[0], std::make_pair(COLORREF(0x666666), 1));

    EXPECT_EQ(bar.GetCursor(), -1);
    EXPECT_EQ(bar.SetCursorShown(1), 0);
    for (int i = 0; i < 8; ++i)
        bar.MoveCursor(1);
    EXPECT_EQ(bar.GetCursor(), 5);
    bar.UpdateWindow();
    for (int i = 0; i < 8; ++i)
        bar.MoveCursor(2);
    EXPECT_EQ(bar.GetCursor(), 0);
    bar.MoveCursor(1);
    EXPECT_EQ(bar.SetCursorShown(0), 1);
    EXPECT_EQ(bar.SetCursorShown(1), 0);
    EXPECT_EQ(bar.GetCursor(), 0);  // hiding put it back on the first swatch
    bar.DestroyWindow();
}

TEST_F(PanelControls, StaticLinkOpensItsTargetAndColoursItself)
{
    {
        CFakeLink link(42);
        ASSERT_TRUE(link.SubclassWindow(Child("STATIC", SS_LEFT, 5, 5, 120, 16, 400)));
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);  // no target, no text: nothing
        EXPECT_TRUE(link.opened.empty());
        EXPECT_EQ(link.SendMessage(WM_NCHITTEST, 0, 0), HTCLIENT);

        ::SetWindowTextA(link.GetSafeHwnd(), "http://example.invalid/");
        HDC dc = ::GetDC(link.GetSafeHwnd());
        const LRESULT brush = m_parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)link.GetSafeHwnd());
        EXPECT_EQ(brush, (LRESULT)::GetStockObject(HOLLOW_BRUSH));
        EXPECT_EQ(::GetTextColor(dc), CStaticLink::kUnvisited);
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(link.opened, std::vector<std::string>{"http://example.invalid/"});
        EXPECT_EQ(link.GetTextColour(), CStaticLink::kVisited);
        m_parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)link.GetSafeHwnd());
        EXPECT_EQ(::GetTextColor(dc), CStaticLink::kVisited);
        ::ReleaseDC(link.GetSafeHwnd(), dc);
        EXPECT_TRUE(link.SendMessage(WM_SETCURSOR, (WPARAM)link.GetSafeHwnd(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        link.DestroyWindow();
    }
    {
        CFakeLink failing(2);
        ASSERT_TRUE(failing.SubclassWindow(Child("STATIC", SS_LEFT, 5, 5, 120, 16, 401)));
        ::SetWindowTextA(failing.GetSafeHwnd(), "missing.file");
        failing.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(failing.GetTextColour(), CStaticLink::kUnvisited);
        // An icon static keeps the platform's colours.
        failing.ModifyStyle(0xFF, SS_ICON);
        HDC dc = ::GetDC(failing.GetSafeHwnd());
        EXPECT_NE(m_parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)failing.GetSafeHwnd()),
                  (LRESULT)::GetStockObject(HOLLOW_BRUSH));
        ::ReleaseDC(failing.GetSafeHwnd(), dc);
        failing.DestroyWindow();
    }
}

// Runs a modal dialog; once it is up, 'act' gets its window, and the dialog's result comes back.
std::function<void(HWND)>* g_pendingAction = nullptr;

void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND active = ::GetActiveWindow();
    // The modal loop shows the dialog once its queue is empty: wait until it is on screen.
    if (!g_pendingAction || !active || !::IsWindowVisible(active))
        return;
    if (!::GetDlgItem(active, IDC_DONT_SHOW_AGAIN) && !::GetDlgItem(active, IDC_DELETE_WARNING_DELETE))
        return;
    std::function<void(HWND)>* run = g_pendingAction;
    g_pendingAction = nullptr;
    (*run)(active);
}

INT_PTR RunModal(CDialog& dialog, std::function<void(HWND)> act)
{
    g_pendingAction = &act;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, ActOnDialog);
    const INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    g_pendingAction = nullptr;
    return result;
}

void Click(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dialog, id));
}

bool Shown(HWND dialog, int id) { return (::GetWindowLongA(::GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }

TEST_F(PanelControls, DeleteWarningShowsItsKindAndReportsTheAnswer)
{
    for (int kind : {CDeleteWarningDlg::kEditFile, CDeleteWarningDlg::kProjectFolder}) {
        CDeleteWarningDlg dialog(kind);
        bool editShown = false, projectShown = false, cancelFocused = false;
        RunModal(dialog, [&](HWND box) {
            editShown = Shown(box, IDC_DELETE_WARNING_EDIT_FILE);
            projectShown = Shown(box, IDC_DELETE_WARNING_PROJECT);
            cancelFocused = ::GetFocus() == ::GetDlgItem(box, IDC_DELETE_WARNING_CANCEL);
            Click(box, IDC_DELETE_WARNING_HELP);  // help leaves the dialog open
            Click(box, IDC_DELETE_WARNING_DELETE);
        });
        EXPECT_EQ(editShown, kind == CDeleteWarningDlg::kEditFile);
        EXPECT_EQ(projectShown, kind != CDeleteWarningDlg::kEditFile);
        EXPECT_TRUE(cancelFocused);
        EXPECT_FALSE(dialog.IsCancelled());
    }
    EXPECT_EQ(m_services.helpContexts, (std::vector<UINT>{205, 206}));

    CDeleteWarningDlg escaped(CDeleteWarningDlg::kEditFile);
    RunModal(escaped, [](HWND box) { ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_TRUE(escaped.IsCancelled());
    CDeleteWarningDlg cancelled(CDeleteWarningDlg::kEditFile);
    RunModal(cancelled, [&](HWND box) {
        MSG f1 = {::GetFocus(), WM_KEYDOWN, VK_F1, 1, 0, {0, 0}};
        EXPECT_TRUE(cancelled.PreTranslateMessage(&f1));
        Click(box, IDC_DELETE_WARNING_CANCEL);
    });
    EXPECT_TRUE(cancelled.IsCancelled());
    EXPECT_EQ(m_services.helpContexts.size(), 3u);
}

TEST_F(PanelControls, DontShowAgainNotesByKind)
{
    struct Seen {
        std::string caption, first, second;
        bool secondShown = false;
    };
    auto run = [](int kind, bool tick, int* answer) {
        CDontShowAgainDlg dialog(kind);
        Seen seen;
        RunModal(dialog, [&](HWND box) {
            seen.caption = WindowText(box);
            seen.first = WindowText(::GetDlgItem(box, IDC_DONT_SHOW_FIRST_LINE));
            seen.second = WindowText(::GetDlgItem(box, IDC_DONT_SHOW_SECOND_LINE));
            seen.secondShown = Shown(box, IDC_DONT_SHOW_SECOND_LINE);
            if (tick)
                ::SendMessageA(::GetDlgItem(box, IDC_DONT_SHOW_AGAIN), BM_CLICK, 0, 0);
            Click(box, IDOK);
        });
        *answer = dialog.GetDontShowAgain();
        return seen;
    };
    int answer = -1;
    Seen three = run(3, true, &answer);
    EXPECT_EQ(three.caption, "NavBar Menu Special Feature");
    EXPECT_EQ(three.first, "This feature is only supported by Internet Explorer 5.5 or above");
    EXPECT_EQ(three.second, "and only viewable using the browser.");
    EXPECT_TRUE(three.secondShown);
    EXPECT_EQ(answer, 1);

    Seen zero = run(0, false, &answer);
    EXPECT_EQ(zero.caption, "Message from Quor Bar Wright");
    EXPECT_EQ(zero.first.find("Quor Bar Wright has automatically saved"), 0u);
    EXPECT_NE(zero.first.find("next time you start Quor Bar Wright."), std::string::npos);
    EXPECT_FALSE(zero.secondShown);
    EXPECT_EQ(answer, 0);

    Seen seven = run(7, false, &answer);
    EXPECT_EQ(seven.caption, "Message from Quor Bar Wright");
    EXPECT_EQ(seven.first, "");
    EXPECT_FALSE(seven.secondShown);
}

TEST_F(PanelControls, PhotoWarningIsSilencedByTheRegistry)
{
    HKEY key = OpenOptionsKey();
    ASSERT_TRUE(key);
    const DWORD saved = GetRegDWORD(key, CWarningDlg::kPhotoLossValue);
    auto setValue = [&](DWORD value) {
        SetRegValue(key, CWarningDlg::kPhotoLossValue, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    };

    setValue(0);
    CWarningDlg silenced;
    bool shown = false;
    EXPECT_EQ(RunModal(silenced, [&](HWND box) { shown = true; Click(box, IDNO); }), IDYES);
    EXPECT_FALSE(shown);

    setValue(1);
    CWarningDlg warning;
    std::string text;
    EXPECT_EQ(RunModal(warning,
                       [&](HWND box) {
                           text = WindowText(::GetDlgItem(box, IDC_WARNING_TEXT));
                           ::SendMessageA(::GetDlgItem(box, IDC_DONT_SHOW_AGAIN), BM_CLICK, 0, 0);
                           Click(box, IDNO);
                       }),
              IDNO);
    EXPECT_EQ(text.find("Accessing either the start or the import page"), 0u);
    EXPECT_EQ(GetRegDWORD(key, CWarningDlg::kPhotoLossValue), 0u);

    // A warning with its own text has no value to silence it.
    CWarningDlg own("Really?");
    EXPECT_EQ(RunModal(own,
                       [&](HWND box) {
                           text = WindowText(::GetDlgItem(box, IDC_WARNING_TEXT));
                           Click(box, IDYES);
                       }),
              IDYES);
    EXPECT_EQ(text, "Really?");

    setValue(saved);
    CloseRegKey(key);
}

TEST(PanelResources, CursorsAndIconsAreThere)
{
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    for (int id : {IDC_PICKER_CURSOR, IDC_HOTSPOT_CURSOR, IDC_ROLLOVER_CURSOR})
        EXPECT_TRUE(::LoadCursorA(module, MAKEINTRESOURCEA(id))) << id;
    for (int id : {IDI_ITALIC_BUTTON, IDI_BOLD_BUTTON, IDI_BROWSE_BUTTON, IDI_PREVIOUS_ARROW, IDI_NEXT_ARROW})
        EXPECT_TRUE(::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0)) << id;
}

}  // namespace
