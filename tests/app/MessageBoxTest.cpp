// The shared message box: texts of internal errors, the pending-error record, layout of
// buttons and text, default and cancel answers, one box at a time.
#include "app/Errors.h"
#include "app/Resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// What a test sees of the box on screen, and how it closes it.
struct BoxView {
    std::string title;
    std::string text;
    std::vector<std::string> visibleButtons;
    int defaultId = 0;
    RECT window = {};
    RECT textRect = {};
    RECT firstButton = {};
};

BOOL CALLBACK FindBoxCallback(HWND hWnd, LPARAM param)
{
    if (::IsWindowVisible(hWnd) && ::GetDlgItem(hWnd, IDC_MSGBOX_TEXT)) {
        *reinterpret_cast<HWND*>(param) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindBox()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBoxCallback, reinterpret_cast<LPARAM>(&found));
    return found;
}

RECT ChildRect(HWND box, int id)
{
    RECT r = {};
    ::GetWindowRect(::GetDlgItem(box, id), &r);
    return r;
}

BoxView Inspect(HWND box)
{
    BoxView view;
    char text[1024];
    ::GetWindowTextA(box, text, sizeof text);
    view.title = text;
    ::GetDlgItemTextA(box, IDC_MSGBOX_TEXT, text, sizeof text);
    view.text = text;
    for (int id = IDC_MSGBOX_BUTTON1; id <= IDC_MSGBOX_BUTTON5; ++id) {
        HWND button = ::GetDlgItem(box, id);
        if (::IsWindowVisible(button)) {
            ::GetWindowTextA(button, text, sizeof text);
            view.visibleButtons.push_back(text);
        }
    }
    view.defaultId = LOWORD(::SendMessageA(box, DM_GETDEFID, 0, 0));
    ::GetWindowRect(box, &view.window);
    view.textRect = ChildRect(box, IDC_MSGBOX_TEXT);
    view.firstButton = ChildRect(box, IDC_MSGBOX_BUTTON1);
    return view;
}

// Runs show() and, once the box is up, hands it to act() from a timer of this thread (the
// box's own modal loop dispatches it).
std::function<void(HWND)> g_act;
void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindBox();
    if (!box || !g_act)
        return;
    ::KillTimer(nullptr, id);
    auto act = g_act;
    g_act = nullptr;
    act(box);
}

int WithBox(const std::function<int()>& show, const std::function<void(HWND)>& act)
{
    g_act = act;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, OnTimer);
    const int result = show();
    ::KillTimer(nullptr, timer);
    g_act = nullptr;
    return result;
}

void Press(HWND box, int id)
{
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(box, id));
}

}  // namespace

TEST(ErrorRecord, InternalErrorTexts)
{
    struct Case {
        unsigned line;
        const char* file;
        const char* expected;
    } cases[] = {
        {203, "C:\\x\\ButtonWindow.cpp", "Internal program error 203.C.Bu.ow"},
        {162, "C:\\src\\OnIdleManager.cpp", "Internal program error 162.C.On.er"},
        {0, "<unknown>", "Internal program error 0.<unknown>"},
        {5, "C:\\a\\b.c", "Internal program error 5.C.b..\\b"},
    };
    for (const Case& c : cases) {
        ClearError();
        g_ErrorLine = c.line;
        g_ErrorFile = c.file;
        SetInternalError();
        EXPECT_STREQ(g_ErrorText, c.expected);
        EXPECT_EQ(g_ErrorLine, 0u);
        EXPECT_STREQ(g_ErrorFile, "<unknown>");
    }
    ClearError();
}

TEST(ErrorRecord, FirstErrorWinsAndLongTextsStayInTheRecord)
{
    ClearError();
    SetErrorFromId(IDS_OUT_OF_MEMORY);
    SetErrorFromId(IDS_NO_RESOURCES);
    EXPECT_STREQ(g_ErrorText, "Out of memory");
    EXPECT_EQ(g_ErrorKind, 2);
    const std::string longText(1000, 'z');
    SetErrorText(longText.c_str());
    EXPECT_EQ(std::strlen(g_ErrorText), 255u);
    EXPECT_EQ(g_ErrorKind, 1);
    ClearError();
    EXPECT_EQ(g_ErrorSlotFree, 1);
    EXPECT_EQ(g_MessageShown, 1);
}

TEST(MessageDialog, ButtonsTitleAndIndicesFollowTheRequest)
{
    struct Case {
        std::function<int()> show;
        std::vector<std::string> buttons;
        const char* title;
        int defaultId;
        int press;  // a button id, or IDCANCEL for Esc
        int result;
    } cases[] = {
        // Labels after the last non-zero one are dropped; default 3 becomes 1, cancel 5 the default.
        {[] { return InformError(IDS_NO_RESOURCES, IDS_LABEL_YES, IDS_LABEL_NO, 0, 0, 3, 5); },
         {"&Yes", "&No"}, "Error from Quor Bar Wright", IDC_MSGBOX_BUTTON1, IDCANCEL, 1},
        {[] { return InformWarning(IDS_COMPONENTS_FAILED); }, {"OK"}, "Warning from Quor Bar Wright",
         IDC_MSGBOX_BUTTON1, IDC_MSGBOX_BUTTON1, 1},
        {[] { return InformPlain(IDS_NO_RESOURCES, IDS_LABEL_OK, IDS_LABEL_CANCEL, 0, 0, 2, 2); },
         {"OK", "Cancel"}, "Quor Bar Wright", IDC_MSGBOX_BUTTON2, IDC_MSGBOX_BUTTON1, 1},
        {[] { return InformMessage(IDS_NO_RESOURCES, IDS_LABEL_OK, IDS_LABEL_CANCEL, 0, 0, 1, 2); },
         {"OK", "Cancel"}, "Quor Bar Wright", IDC_MSGBOX_BUTTON1, IDCANCEL, 2},
    };
    for (const Case& c : cases) {
        BoxView view;
        const int result = WithBox(c.show, [&](HWND box) {
            view = Inspect(box);
            ::PostMessageA(box, WM_COMMAND, c.press == IDCANCEL ? IDCANCEL : MAKEWPARAM(c.press, BN_CLICKED),
                           c.press == IDCANCEL ? 0 : (LPARAM)::GetDlgItem(box, c.press));
        });
        EXPECT_EQ(view.visibleButtons, c.buttons);
        EXPECT_EQ(view.title, c.title);
        EXPECT_EQ(view.defaultId, c.defaultId);
        EXPECT_EQ(result, c.result) << c.title;
        EXPECT_EQ(g_MessageBoxUp, 0);
        EXPECT_EQ(g_ErrorSlotFree, 1);
    }
}

TEST(MessageDialog, LongTextGrowsTheBoxDownwards)
{
    BoxView shortBox, longBox;
    WithBox([] { return ReportError(IDS_SHARING_VIOLATION, "a.dll"); },
            [&](HWND box) { shortBox = Inspect(box), Press(box, IDC_MSGBOX_BUTTON1); });
    const std::string longName(300, 'w');
    WithBox([&] { return ReportError(IDS_SHARING_VIOLATION, longName.c_str()); },
            [&](HWND box) { longBox = Inspect(box), Press(box, IDC_MSGBOX_BUTTON1); });
    EXPECT_EQ(shortBox.text, "There is a sharing violation with the a.dll!");
    // The record holds 255 characters of the formatted text.
    EXPECT_EQ(longBox.text.size(), 255u);
    const int grown = (longBox.window.bottom - longBox.window.top) - (shortBox.window.bottom - shortBox.window.top);
    EXPECT_GT(grown, 0);
    EXPECT_EQ(longBox.firstButton.top - longBox.window.top, shortBox.firstButton.top - shortBox.window.top + grown);
    EXPECT_GE(longBox.firstButton.top, longBox.textRect.bottom);
}

TEST(MessageDialog, WideLabelsWidenTheBox)
{
    BoxView narrow, wide;
    WithBox([] { return InformError(IDS_OUT_OF_MEMORY); },
            [&](HWND box) { narrow = Inspect(box), Press(box, IDC_MSGBOX_BUTTON1); });
    WithBox([] { return InformError(IDS_OUT_OF_MEMORY, 10029, 10036, 10032, 10035); },
            [&](HWND box) { wide = Inspect(box), Press(box, IDC_MSGBOX_BUTTON1); });
    EXPECT_EQ(wide.visibleButtons.size(), 4u);
    EXPECT_GT(wide.window.right - wide.window.left, narrow.window.right - narrow.window.left);
}

TEST(MessageDialog, OneBoxAtATimeAndRefusalsAnswerCancel)
{
    int nested = -1;
    int nestedEx = -1;
    const int result = WithBox([] { return InformError(IDS_NO_RESOURCES, IDS_LABEL_OK, IDS_LABEL_CANCEL); },
                               [&](HWND box) {
                                   nested = InformError(IDS_OUT_OF_MEMORY, IDS_LABEL_YES, IDS_LABEL_NO, 0, 0, 1, 2);
                                   CErrorBoxInfo info = {IDS_OUT_OF_MEMORY, 0, {32905, 32906, 32916, 0}, 1, 3};
                                   nestedEx = InformMessageEx(&info);
                                   Press(box, IDC_MSGBOX_BUTTON1);
                               });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(nestedEx, 32916);
}

TEST(MessageDialog, ExtendedRequestAnswersLabelIds)
{
    struct Case {
        int press;
        int expected;
    } cases[] = {{IDCANCEL, 32916}, {IDC_MSGBOX_BUTTON2, 32906}};
    for (const Case& c : cases) {
        CErrorBoxInfo info = {IDS_OUT_OF_MEMORY, 0, {32905, 32906, 32916, 0}, 1, 3};
        BoxView view;
        const int result = WithBox([&] { return InformMessageEx(&info); }, [&](HWND box) {
            view = Inspect(box);
            if (c.press == IDCANCEL)
                ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            else
                Press(box, c.press);
        });
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(view.visibleButtons, (std::vector<std::string>{"&Vertical", "&Horizontal", "&Cancel"}));
    }
    EXPECT_EQ(InformMessageEx(nullptr), IDS_LABEL_OK);
}

TEST(MessageDialog, UnloadableLabelFallsBackToTheSystemBoxes)
{
    // Labels (0, 0, 10033, 0): the first becomes OK, the second cannot be loaded.
    std::vector<std::string> titles;
    g_act = nullptr;
    struct Closer {
        static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
        {
            HWND box = ::FindWindowA("#32770", "Serious error");
            if (box && ::IsWindowVisible(box)) {
                char text[256];
                ::GetWindowTextA(box, text, sizeof text);
                Seen().push_back(text);
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
        }
        static std::vector<std::string>& Seen()
        {
            static std::vector<std::string> seen;
            return seen;
        }
    };
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, Closer::Tick);
    const int result = InformError(IDS_OUT_OF_MEMORY, 0, 0, 10033, 0, 1, 2);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(result, 1);
    EXPECT_GE(Closer::Seen().size(), 2u);
}
