// The text panels' font list box in a window of its own: finding and selecting faces, the
// type-ahead, the owner told of each choice, the rows' order and their drawing.
#include "editors/FontListBox.h"
#include "tests/panels/FakePanelServices.h"
#include "tests/panels/PanelTestHost.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

ENUMLOGFONTA* MakeFont(const char* face, const char* fullName, BYTE charSet = ANSI_CHARSET)
{
    ENUMLOGFONTA* font = new ENUMLOGFONTA;
    std::memset(font, 0, sizeof *font);
    font->elfLogFont.lfHeight = 21;
    font->elfLogFont.lfCharSet = charSet;
    std::snprintf(font->elfLogFont.lfFaceName, LF_FACESIZE, "%s", face);
    std::snprintf(reinterpret_cast<char*>(font->elfFullName), LF_FULLFACESIZE, "%s", fullName);
    return font;
}

class RecordingOwner : public CFontListOwner {
public:
    void OnFontChosen(const CString& fullName, const ENUMLOGFONTA* font) override
    {
        chosen.push_back(static_cast<const char*>(fullName));
        EXPECT_EQ(GetFullName(*font), fullName);
    }
    std::vector<std::string> chosen;
};

class FontListBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_hostWindow = CreatePanelTestHost(640, 300); }
    static void TearDownTestSuite() { ::DestroyWindow(s_hostWindow); }

    void SetUp() override
    {
        ASSERT_TRUE(s_hostWindow);
        ASSERT_TRUE(m_host.SubclassWindow(s_hostWindow));
        HWND list = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY,
                                      0, 0, 600, 200, s_hostWindow, reinterpret_cast<HMENU>(1080),
                                      ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(list);
        ASSERT_TRUE(m_box.SubclassWindow(list));
        m_box.SetOwner(&m_owner);
        for (const char* name : {"Alpha Sans", "Beta Serif", "Beta Serif Bold", "Delta Mono", "Kappa"})
            m_fonts.Add(MakeFont(name, name));
        m_box.Fill(m_fonts);
    }
    void TearDown() override
    {
        m_box.DestroyWindow();
        m_host.UnsubclassWindow();
    }

    static HWND s_hostWindow;
    CFakePanelServices m_services;
    CWnd m_host;
    CFontListBox m_box;
    CFontList m_fonts;
    RecordingOwner m_owner;
};

HWND FontListBoxTest::s_hostWindow = nullptr;

TEST_F(FontListBoxTest, FindsAndSelectsFaces)
{
    ASSERT_EQ(m_box.GetCount(), 5);
    struct Case {
        const char* face;
        int row;
    } cases[] = {
        {"beta serif", 1}, {"Beta Serif Bold", 2}, {"Delta Condensed", 3}, {"My Kappa", 4},
        {"delta", -1},  // the first word is looked for as written
        {"Omega", -1},  {"", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_box.FindFace(c.face), c.row) << c.face;
        m_box.SetCurSel(0);
        m_box.SelectFace(c.face);
        EXPECT_EQ(m_box.GetCurSel(), c.row) << c.face;
    }
    EXPECT_TRUE(m_owner.chosen.empty());

    // Filled again, the rows are the new list's.
    CFontList other;
    other.Add(MakeFont("Zeta", "Zeta"));
    m_box.Fill(other);
    EXPECT_EQ(m_box.GetCount(), 1);
    EXPECT_EQ(std::string(static_cast<const char*>(m_box.GetRowName(0))), "Zeta");
    m_box.ResetContent();
}

TEST_F(FontListBoxTest, TypeAheadAndSelectionTellTheOwner)
{
    struct Case {
        UINT key;
        int row;
    } cases[] = {{'B', 1}, {'C', 3}, {'M', 4}, {'0', 0}, {'K', 4}, {'A', 0}};
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        m_box.SendMessage(WM_KEYDOWN, c.key, 1);
        EXPECT_EQ(m_box.GetCurSel(), c.row) << static_cast<char>(c.key);
        expected.push_back(static_cast<const char*>(m_box.GetRowName(c.row)));
    }
    EXPECT_EQ(m_owner.chosen, expected);

    // The list box's own key handling moves the selection; its notification comes back to it.
    m_owner.chosen.clear();
    m_box.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(m_box.GetCurSel(), 1);
    EXPECT_EQ(m_owner.chosen, std::vector<std::string>{"Beta Serif"});

    // Other keys choose nothing of their own, and an empty list ignores letters.
    m_owner.chosen.clear();
    m_box.SendMessage(WM_KEYDOWN, VK_F2, 1);
    m_box.ResetContent();
    m_box.SendMessage(WM_KEYDOWN, 'B', 1);
    EXPECT_TRUE(m_owner.chosen.empty());

    // The pointer over the list drops the pages' hover state.
    m_services.messages.clear();
    m_box.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ASSERT_EQ(m_services.messages.size(), 1u);
    EXPECT_EQ(m_services.messages[0].kind, 3);
}

TEST_F(FontListBoxTest, RowsCompareByFaceThenLength)
{
    struct Case {
        const char* firstFace;
        const char* firstName;
        const char* secondFace;
        const char* secondName;
        int answer;
    } cases[] = {
        {"Arial", "Arial", "Times", "Times", -1},
        {"Times", "Times", "arial", "arial", 1},
        {"Arial", "Arial Bold", "Arial", "Arial", 1},
        {"Arial", "Arial", "Arial", "Arial Bold Italic", -1},
        {"Arial", "Arial", "arial", "Arial Bold", 0},  // faces differing in case only
    };
    for (const Case& c : cases) {
        CFontList list;
        list.Add(MakeFont(c.firstFace, c.firstName));
        list.Add(MakeFont(c.secondFace, c.secondName));
        CFontListItem first{list.GetFont(0), 0, 0}, second{list.GetFont(1), 0, 0};
        COMPAREITEMSTRUCT compare = {};
        compare.itemData1 = reinterpret_cast<ULONG_PTR>(&first);
        compare.itemData2 = reinterpret_cast<ULONG_PTR>(&second);
        EXPECT_EQ(m_box.CompareItem(&compare), c.answer) << c.firstName << " / " << c.secondName;
    }
}

TEST_F(FontListBoxTest, RowsFillTheirBackgroundInTheStateColours)
{
    CFontList installed;
    BuildFontList(installed, true);
    ASSERT_GT(installed.GetCount(), 0);
    CFontList list;
    list.Add(MakeFont(installed.GetFont(0)->elfLogFont.lfFaceName, "Sample", ANSI_CHARSET));
    list.Add(MakeFont(installed.GetFont(0)->elfLogFont.lfFaceName, "Sample Symbols", SYMBOL_CHARSET));
    CFontListItem rows[] = {{list.GetFont(0), 0, 0}, {list.GetFont(1), 0, 0}};

    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 600, 21);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);

    struct Case {
        bool enabled;
        bool selected;
        int row;
        int colour;  // system colour of the background
    } cases[] = {
        {true, false, 0, COLOR_WINDOW},  {true, true, 0, COLOR_HIGHLIGHT},  {true, true, 1, COLOR_HIGHLIGHT},
        {false, false, 1, COLOR_INACTIVECAPTIONTEXT}, {false, true, 0, COLOR_INACTIVECAPTIONTEXT},
    };
    for (const Case& c : cases) {
        m_box.SetEnabled(c.enabled);
        EXPECT_EQ(::IsWindowEnabled(m_box.GetSafeHwnd()) != 0, c.enabled);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_LISTBOX;
        draw.itemID = static_cast<UINT>(c.row);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = c.selected ? ODS_SELECTED : 0;
        draw.hDC = dc;
        draw.rcItem = RECT{0, 0, 600, 21};
        draw.itemData = reinterpret_cast<ULONG_PTR>(&rows[c.row]);
        m_box.DrawItem(&draw);
        const COLORREF expected = ::GetNearestColor(dc, ::GetSysColor(c.colour));
        EXPECT_EQ(::GetPixel(dc, 599, 0), expected) << c.row << c.selected << c.enabled;
        EXPECT_EQ(::GetPixel(dc, 2, 20), expected) << c.row << c.selected << c.enabled;
        EXPECT_EQ(rows[c.row].probed, 1u);
    }

    // An empty list draws only its focus rectangle.
    ::PatBlt(dc, 0, 0, 600, 21, WHITENESS);
    DRAWITEMSTRUCT focus = {};
    focus.CtlType = ODT_LISTBOX;
    focus.itemID = static_cast<UINT>(-1);
    focus.itemAction = ODA_FOCUS | ODA_DRAWENTIRE;
    focus.hDC = dc;
    focus.rcItem = RECT{0, 0, 600, 21};
    m_box.DrawItem(&focus);
    EXPECT_EQ(::GetPixel(dc, 300, 10), RGB(255, 255, 255));
    int marked = 0;
    for (int x = 0; x < 600; ++x)
        marked += ::GetPixel(dc, x, 0) != RGB(255, 255, 255);
    EXPECT_GT(marked, 100);

    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

}  // namespace
