// The thin control wrappers and the message-map entries for them, on real controls.
#include "framework/win/CheckListBox.h"
#include "framework/win/ComboBoxEx.h"
#include "framework/win/DC.h"
#include "framework/win/DragListBox.h"
#include "framework/win/FileDialog.h"
#include "framework/win/HeaderCtrl.h"
#include "framework/win/ImageList.h"
#include "framework/win/RichEditCtrl.h"
#include "framework/win/ScrollBar.h"
#include "framework/win/SpinButtonCtrl.h"
#include "framework/win/TabCtrl.h"
#include "framework/win/TreeCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A parent window that records the notifications and messages its children send.
class CParent : public CWnd {
public:
    std::vector<int> commands;
    std::vector<std::string> events;
    HBRUSH brush = (HBRUSH)::GetStockObject(GRAY_BRUSH);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(HIWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
    afx_msg void OnHScroll(UINT code, UINT, CWnd*) { events.push_back("hscroll " + std::to_string(code)); }
    afx_msg void OnRButtonUp(UINT, CPoint point) { events.push_back("rbuttonup " + std::to_string(point.x)); }
    afx_msg void OnLButtonDblClk(UINT, CPoint) { events.push_back("dblclk"); }
    afx_msg void OnKeyUp(UINT key, UINT, UINT) { events.push_back("keyup " + std::to_string(key)); }
    afx_msg void OnChar(UINT character, UINT, UINT) { events.push_back(std::string("char ") + char(character)); }
    afx_msg void OnEnable(BOOL enable) { events.push_back(enable ? "enable" : "disable"); }
    afx_msg BOOL OnMouseWheel(UINT, short delta, CPoint)
    {
        events.push_back("wheel " + std::to_string(delta));
        return TRUE;
    }
    afx_msg LRESULT OnNcHitTest(CPoint) { return HTCAPTION; }
    afx_msg void OnToolTipText(UINT id, NMHDR* header, LRESULT* result)
    {
        NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(info->szText, ("tool " + std::to_string(id)).c_str(), sizeof info->szText);
        *result = TRUE;
    }
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT kind)
    {
        events.push_back("ctlcolor " + std::to_string(kind));
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParent, CWnd)
    ON_WM_HSCROLL()
    ON_WM_RBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_ENABLE()
    ON_WM_MOUSEWHEEL()
    ON_WM_NCHITTEST()
    ON_WM_CTLCOLOR()
    ON_NOTIFY_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

class ControlWrappers : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_TAB_CLASSES};
        ::InitCommonControlsEx(&init);
        ASSERT_TRUE(RegisterPlainWindowClass("BwWrapperParent"));
        ASSERT_TRUE(m_parent.CreateEx(0, "BwWrapperParent", "wrappers", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500,
                                      400, nullptr, nullptr));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    HWND Child(const char* className, DWORD style, int id, int height = 100)
    {
        return ::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, height,
                                 m_parent.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleA(nullptr), nullptr);
    }

    CParent m_parent;
};

TEST_F(ControlWrappers, MessageEntriesReachTheirHandlers)
{
    m_parent.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    m_parent.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(17, 3));
    m_parent.SendMessage(WM_LBUTTONDBLCLK, 0, 0);
    m_parent.SendMessage(WM_KEYUP, VK_F5, 1);
    m_parent.SendMessage(WM_CHAR, 'q', 1);
    m_parent.SendMessage(WM_ENABLE, FALSE, 0);
    m_parent.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(m_parent.SendMessage(WM_NCHITTEST, 0, 0), HTCAPTION);
    EXPECT_EQ(m_parent.events, (std::vector<std::string>{"hscroll 1", "rbuttonup 17", "dblclk", "keyup 116", "char q",
                                                         "disable", "wheel -120"}));

    // A plain static's colours come from its parent's handler.
    HWND label = Child("STATIC", SS_LEFT, 50, 20);
    HDC dc = ::GetDC(label);
    EXPECT_EQ(m_parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label), (LRESULT)m_parent.brush);
    ::ReleaseDC(label, dc);
    EXPECT_EQ(m_parent.events.back(), "ctlcolor " + std::to_string(CTLCOLOR_STATIC));
}

TEST_F(ControlWrappers, ScrollSpinTabAndHeader)
{
    CScrollBar bar;
    ASSERT_TRUE(bar.Attach(Child("SCROLLBAR", SBS_HORZ, 60, 16)));
    bar.SetScrollRange(0, 50);
    bar.SetScrollPos(30);
    EXPECT_EQ(bar.GetScrollPos(), 30);
    SCROLLINFO info = {};
    ASSERT_TRUE(bar.GetScrollInfo(&info));
    EXPECT_EQ(info.nMax, 50);
    bar.Detach();

    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Attach(Child(UPDOWN_CLASSA, 0, 61, 20)));
    spin.SetRange(-5, 40);
    int low = 0, high = 0;
    spin.GetRange(low, high);
    EXPECT_EQ(low, -5);
    EXPECT_EQ(high, 40);
    spin.SetPos(-3);
    EXPECT_EQ(spin.GetPos(), -3);
    spin.Detach();

    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Attach(Child(WC_TABCONTROLA, 0, 62)));
    EXPECT_EQ(tabs.InsertItem(0, "Button"), 0);
    EXPECT_EQ(tabs.InsertItem(1, "Menu"), 1);
    tabs.SetCurSel(1);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_EQ(tabs.GetItemCount(), 2);
    RECT area = {0, 0, 200, 100};
    tabs.AdjustRect(FALSE, &area);
    EXPECT_GT(area.top, 0);
    tabs.Detach();

    CHeaderCtrl header;
    ASSERT_TRUE(header.Attach(Child(WC_HEADERA, 0, 63, 20)));
    EXPECT_EQ(header.InsertItem(0, "Text", 80), 0);
    EXPECT_EQ(header.InsertItem(1, "Link", 60), 1);
    HDITEMA item = {};
    item.mask = HDI_WIDTH;
    ASSERT_TRUE(header.GetItem(1, &item));
    EXPECT_EQ(item.cxy, 60);
    EXPECT_EQ(header.GetItemCount(), 2);
    header.Detach();
}

TEST_F(ControlWrappers, TreeRichEditAndExtendedCombo)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Attach(Child(WC_TREEVIEWA, TVS_HASBUTTONS | TVS_EDITLABELS, 64)));
    HTREEITEM top = tree.InsertItem("Home");
    HTREEITEM child = tree.InsertItem("Products", top);
    tree.SetItemData(child, 77);
    EXPECT_EQ(tree.GetChildItem(top), child);
    EXPECT_EQ(tree.GetParentItem(child), top);
    EXPECT_EQ(std::string(tree.GetItemText(child)), "Products");
    EXPECT_EQ(tree.GetItemData(child), 77u);
    tree.SelectItem(child);
    EXPECT_EQ(tree.GetSelectedItem(), child);
    EXPECT_EQ(tree.GetCount(), 2u);
    tree.Detach();

    CRichEditCtrl rich;
    ASSERT_TRUE(rich.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, RECT{10, 120, 200, 140}, &m_parent, 65));
    rich.SetWindowText("Rename me");
    rich.SetSel(0, 6);
    LONG start = -1, end = -1;
    rich.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 6);
    EXPECT_EQ(rich.GetTextLength(), 9);
    rich.DestroyWindow();

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2));
    EXPECT_EQ(images.Add(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))), 0);
    CComboBoxEx combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, RECT{10, 150, 200, 300}, &m_parent, 66));
    combo.SetImageList(&images);
    EXPECT_EQ(combo.InsertItem(0, "Desktop", 0, 0, 5), 0);
    EXPECT_EQ(combo.InsertItem(1, "Projects", 0, 1, 6), 1);
    EXPECT_EQ(combo.GetCount(), 2);
    combo.SetCurSel(1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(combo.GetItemData(1), 6);
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_INDENT;
    item.iItem = 1;
    ASSERT_TRUE(combo.GetItem(&item));
    EXPECT_EQ(item.iIndent, 1);
    EXPECT_TRUE(combo.GetComboBoxCtrl());
    combo.DestroyWindow();
}

TEST_F(ControlWrappers, DragListMovesTheDroppedRow)
{
    CDragListBox list;
    ASSERT_TRUE(list.SubclassWindow(Child("LISTBOX", WS_BORDER | LBS_NOTIFY, 67, 120)));
    for (const char* text : {"A", "B", "C", "D"})
        list.SetItemData(list.AddString(text), text[0]);
    ASSERT_TRUE(list.MakeDragList());

    auto notify = [&](UINT code, int row) {
        RECT rect;
        list.SendMessage(LB_GETITEMRECT, (WPARAM)row, (LPARAM)&rect);
        DRAGLISTINFO info = {code, list.GetSafeHwnd(), {rect.left + 2, rect.top + 2}};
        ::ClientToScreen(list.GetSafeHwnd(), &info.ptCursor);
        return m_parent.SendMessage(CDragListBox::GetDragListMessage(), (WPARAM)list.GetDlgCtrlID(), (LPARAM)&info);
    };
    EXPECT_TRUE(notify(DL_BEGINDRAG, 0));
    EXPECT_EQ(notify(DL_DRAGGING, 2), (LRESULT)DL_MOVECURSOR);
    notify(DL_DROPPED, 3);
    std::string order;
    for (int i = 0; i < list.GetCount(); ++i) {
        CString text;
        list.GetText(i, text);
        order += std::string(text);
        EXPECT_EQ(list.GetItemData(i), static_cast<DWORD_PTR>(text[0]));
    }
    EXPECT_EQ(order, "BCAD");
    list.UnsubclassWindow();
}

TEST_F(ControlWrappers, CheckListKeepsChecksWithItsRows)
{
    CCheckListBox list;
    ASSERT_TRUE(list.SubclassWindow(Child("LISTBOX", WS_BORDER | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 68)));
    list.AddString("Home");
    list.AddString("About");
    list.InsertString(0, "First");
    list.SetCheck(2, 1);
    EXPECT_EQ(list.GetCheck(2), 1);
    list.DeleteString(0);
    EXPECT_EQ(list.GetCheck(1), 1);  // "About" kept its check
    EXPECT_EQ(list.GetCheck(0), 0);
    EXPECT_EQ(list.GetCheck(9), 0);

    RECT row;
    list.SendMessage(LB_GETITEMRECT, 0, (LPARAM)&row);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row.left + 3, row.top + 3));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(row.left + 3, row.top + 3));
    EXPECT_EQ(list.GetCheck(0), 1);
    EXPECT_NE(std::find(m_parent.commands.begin(), m_parent.commands.end(), CLBN_CHKCHANGE), m_parent.commands.end());
    list.SetCurSel(1);
    list.SendMessage(WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(list.GetCheck(1), 0);
    list.UpdateWindow();  // draws its rows
    list.ResetContent();
    EXPECT_EQ(list.GetCheck(0), 0);
    list.UnsubclassWindow();
}

TEST_F(ControlWrappers, ToolTipsFollowTheToolUnderThePointer)
{
    HWND button = Child("BUTTON", BS_PUSHBUTTON, 70, 30);
    ASSERT_TRUE(m_parent.EnableToolTips());
    HWND tip = m_parent.GetToolTipWindow();
    ASSERT_TRUE(tip);
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    EXPECT_EQ(m_parent.OnToolHitTest(CPoint(20, 20), &info), 70);
    EXPECT_EQ(info.uId, (UINT_PTR)button);
    EXPECT_EQ(m_parent.OnToolHitTest(CPoint(400, 300), nullptr), -1);

    MSG move = {button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {0, 0}};
    m_parent.FilterToolTipMessage(&move);
    EXPECT_EQ(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    MSG away = {m_parent.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(400, 300), 0, {0, 0}};
    m_parent.FilterToolTipMessage(&away);
    EXPECT_EQ(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);

    NMTTDISPINFOA need = {};
    need.hdr.hwndFrom = tip;
    need.hdr.idFrom = 70;
    need.hdr.code = TTN_NEEDTEXTA;
    EXPECT_EQ(m_parent.SendMessage(WM_NOTIFY, 70, (LPARAM)&need), TRUE);
    EXPECT_EQ(std::string(need.szText), "tool 70");
    m_parent.EnableToolTips(FALSE);
    EXPECT_FALSE(m_parent.GetToolTipWindow());
}

class CRenamingOpenDialog : public CFileDialog {
public:
    CRenamingOpenDialog()
        : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "All Images|*.jpg;*.png|*.gif|*.gif||")
    {
    }
    bool initialised = false;
    std::string renamed;

protected:
    void OnInitDone(HWND dialog) override
    {
        initialised = true;
        ::SetDlgItemTextA(dialog, IDOK, "Import");
        char text[64] = {};
        ::GetDlgItemTextA(dialog, IDOK, text, sizeof text);
        renamed = text;
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
};

TEST_F(ControlWrappers, FileDialogHookSeesTheDialogOnceItIsUp)
{
    CRenamingOpenDialog dialog;
    dialog.m_ofn.lpstrTitle = "Import";
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_EQ(dialog.renamed, "Import");
    EXPECT_EQ(std::string(dialog.GetPathName()), "");
}

}  // namespace
