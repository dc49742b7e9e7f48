// The panel base and its controls as real windows: Enter and Esc, key routing to the window
// managers, the item operations and unit texts, the folder label, the page buttons, the CD
// prompt, the digits edit and the colour-count slider.
#include "document/Options.h"
#include "panels/ColourCountSlider.h"
#include "panels/DigitsEdit.h"
#include "panels/OptionsDlg.h"
#include "framework/win/ComboBox.h"
#include "tests/panels/PanelsTestResource.h"
#include "tests/panels/FakePanelServices.h"
#include "tests/panels/PanelTestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class CTestPanel : public COptionsDlg {
public:
    explicit CTestPanel(CWnd* parent) : COptionsDlg(IDD_TEST_PANEL, parent) {}
    void GoUpFolder() override { ++upCount; }
    int upCount = 0;
};

MSG Key(HWND window, UINT message, WPARAM key)
{
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = key;
    msg.lParam = 1;
    return msg;
}

class PanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_hostWindow = CreatePanelTestHost(600, 400);
    }
    static void TearDownTestSuite() { ::DestroyWindow(s_hostWindow); }

    void SetUp() override
    {
        ASSERT_TRUE(s_hostWindow);
        m_host.Attach(s_hostWindow);
        m_label = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 300, 120, 16, s_hostWindow,
                                    reinterpret_cast<HMENU>(1542), ::GetModuleHandleA(nullptr), nullptr);
        m_panel.reset(new CTestPanel(&m_host));
        ASSERT_TRUE(m_panel->Create(IDD_TEST_PANEL, &m_host));
        m_panel->ShowWindow(SW_SHOW);
        m_services.mainWindow = &m_host;
    }
    void TearDown() override
    {
        m_panel.reset();
        if (::IsWindow(m_label))
            ::DestroyWindow(m_label);
        m_host.Detach();
    }
    HWND Item(int id) { return ::GetDlgItem(m_panel->GetSafeHwnd(), id); }

    static HWND s_hostWindow;
    CFakePanelServices m_services;
    CWnd m_host;
    HWND m_label = nullptr;
    std::unique_ptr<CTestPanel> m_panel;
};

HWND PanelTest::s_hostWindow = nullptr;

TEST_F(PanelTest, EnterAndEscNeitherCloseNorHideThePanel)
{
    m_panel->SendMessage(WM_COMMAND, IDOK, 0);
    m_panel->SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(::IsWindow(m_panel->GetSafeHwnd()));
    EXPECT_TRUE(m_panel->IsWindowVisible());
}

TEST_F(PanelTest, InitialisationTakesTheFolders)
{
    EXPECT_EQ(std::string(m_panel->GetHomeFolder()), "C:\\Root\\TWTemplates");
    EXPECT_EQ(std::string(m_panel->GetCurrentFolder()), "C:\\Root\\TWTemplates");
    EXPECT_EQ(std::string(m_panel->GetDesktopFolder()), "C:\\Users\\me\\Desktop");
    RECT client;
    m_panel->GetClientRect(&client);
    EXPECT_EQ(m_panel->GetStoredClientRect().right, client.right);
}

TEST_F(PanelTest, ControlKeysGoToTheManagersAsKeyMessages)
{
    HWND edit = Item(IDC_TEST_EDIT);
    MSG control = Key(edit, WM_KEYDOWN, VK_CONTROL);
    EXPECT_TRUE(m_panel->PreTranslateMessage(&control));
    EXPECT_TRUE(m_services.controlHeld);
    MSG c = Key(edit, WM_KEYDOWN, 'C');
    EXPECT_TRUE(m_panel->PreTranslateMessage(&c));
    ASSERT_EQ(m_services.messages.size(), 1u);
    EXPECT_EQ(m_services.messages[0].kind, 7);
    EXPECT_EQ(m_services.messages[0].first, 'C');
    EXPECT_EQ(m_services.messages[0].second, 17);

    MSG release = Key(edit, WM_KEYUP, VK_CONTROL);
    m_panel->PreTranslateMessage(&release);
    EXPECT_FALSE(m_services.controlHeld);
    // 'C' without Ctrl is typing: no message.
    m_panel->PreTranslateMessage(&c);
    EXPECT_EQ(m_services.messages.size(), 1u);

    MSG shift = Key(edit, WM_KEYDOWN, VK_SHIFT);
    EXPECT_TRUE(m_panel->PreTranslateMessage(&shift));
    EXPECT_TRUE(m_services.shiftHeld);
    MSG shiftUp = Key(edit, WM_KEYUP, VK_SHIFT);
    m_panel->PreTranslateMessage(&shiftUp);
    EXPECT_FALSE(m_services.shiftHeld);

    // Function keys, F10 and Alt+F4 are the main dialog's.
    MSG f5 = Key(edit, WM_KEYDOWN, VK_F5);
    MSG f10 = Key(edit, WM_SYSKEYDOWN, VK_F10);
    MSG altF4 = Key(edit, WM_SYSKEYDOWN, VK_F4);
    EXPECT_TRUE(m_panel->PreTranslateMessage(&f5));
    EXPECT_TRUE(m_panel->PreTranslateMessage(&f10));
    EXPECT_TRUE(m_panel->PreTranslateMessage(&altF4));
    EXPECT_EQ(m_services.mainKeys, (std::vector<int>{VK_F5, VK_F10, VK_F4}));
    EXPECT_FALSE(m_panel->PreTranslateMessage(nullptr));
}

TEST_F(PanelTest, BackspaceGoesUpOnlyWhileUpIsEnabled)
{
    HWND button = Item(IDC_TEST_BUTTON);
    ::SetFocus(button);
    ASSERT_EQ(::GetFocus(), button);
    MSG back = Key(button, WM_KEYDOWN, VK_BACK);
    EXPECT_TRUE(m_panel->PreTranslateMessage(&back));
    EXPECT_EQ(m_panel->upCount, 1);

    ::EnableWindow(Item(IDC_TEST_UP), FALSE);
    ::SetFocus(button);
    m_panel->PreTranslateMessage(&back);
    EXPECT_EQ(m_panel->upCount, 1);

    // In an edit Backspace is typing.
    ::EnableWindow(Item(IDC_TEST_UP), TRUE);
    ::SetFocus(Item(IDC_TEST_EDIT));
    MSG editBack = Key(Item(IDC_TEST_EDIT), WM_KEYDOWN, VK_BACK);
    m_panel->PreTranslateMessage(&editBack);
    EXPECT_EQ(m_panel->upCount, 1);
}

TEST_F(PanelTest, CentreInASmallerRectangleClampsEveryEdge)
{
    const RECT& client = m_panel->GetStoredClientRect();
    const int w = client.right - client.left, h = client.bottom - client.top;
    const RECT small = {10, 20, 10 + w / 2, 20 + h / 2};
    m_panel->CentreInRect(small);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    m_panel->GetWindowPlacement(&placement);
    EXPECT_EQ(placement.rcNormalPosition.left, 10);
    EXPECT_EQ(placement.rcNormalPosition.top, 20);
    EXPECT_EQ(placement.rcNormalPosition.right, small.right);
    EXPECT_EQ(placement.rcNormalPosition.bottom, small.bottom);

    const RECT large = {0, 0, 2 * w + 10, 2 * h + 10};
    m_panel->CentreInRect(large);
    m_panel->GetWindowPlacement(&placement);
    EXPECT_EQ(placement.rcNormalPosition.left, (2 * w + 10) / 2 - w / 2);
    EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, w);
}

TEST_F(PanelTest, UnitTextsReadBackAsTheirNumbers)
{
    EXPECT_EQ(m_panel->SetPixelsItem(IDC_TEST_EDIT, 42), 1);
    EXPECT_EQ(WindowText(Item(IDC_TEST_EDIT)), "42 pixels");
    EXPECT_EQ(m_panel->GetPixelsItem(IDC_TEST_EDIT), 42);
    m_panel->SetPercentItem(IDC_TEST_EDIT, 50);
    EXPECT_EQ(WindowText(Item(IDC_TEST_EDIT)), "50 %");
    m_panel->SetDegreesItem(IDC_TEST_EDIT, -45);
    EXPECT_EQ(WindowText(Item(IDC_TEST_EDIT)), "-45 \xB0");
    EXPECT_EQ(m_panel->GetDegreesItem(IDC_TEST_EDIT), -45);
    ::SetWindowTextA(Item(IDC_TEST_EDIT), "  17abc");
    EXPECT_EQ(m_panel->GetPercentItem(IDC_TEST_EDIT), 17);
    ::SetWindowTextA(Item(IDC_TEST_EDIT), "");
    EXPECT_EQ(m_panel->GetPixelsItem(IDC_TEST_EDIT), 0);
    EXPECT_EQ(m_panel->GetPixelsItem(4242), 0);
    EXPECT_EQ(m_panel->SetPixelsItem(4242, 1), 0);
}

TEST_F(PanelTest, ItemOperationsAnswerZeroForMissingItems)
{
    EXPECT_EQ(m_panel->HideItem(4242), 0);
    EXPECT_EQ(m_panel->ShowItem(4242), 0);
    EXPECT_EQ(m_panel->EnableItem(4242, TRUE), 0);
    EXPECT_FALSE(m_panel->IsItemChecked(4242));
    EXPECT_EQ(std::string(m_panel->GetItemText(4242)), "");
    EXPECT_EQ(m_panel->SetItemText(4242, "x"), 0);
    EXPECT_EQ(m_panel->FocusItem(4242), 0);
    EXPECT_EQ(m_panel->FocusAndSelect(4242), 0);

    EXPECT_EQ(m_panel->HideItem(IDC_TEST_BUTTON), 1);
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_TEST_BUTTON)));
    EXPECT_EQ(m_panel->ShowItem(IDC_TEST_BUTTON), 1);
    EXPECT_EQ(m_panel->EnableItem(IDC_TEST_BUTTON, FALSE), 1);
    EXPECT_EQ(m_panel->FocusItem(IDC_TEST_BUTTON), -1);
    // The panel takes the focus (a dialog hands it on to a child of its own).
    HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == m_panel->GetSafeHwnd() || ::IsChild(m_panel->GetSafeHwnd(), focus));
    EXPECT_NE(focus, Item(IDC_TEST_BUTTON));
    EXPECT_EQ(m_panel->FocusItem(IDC_TEST_UP), 1);

    ::SetWindowTextA(Item(IDC_TEST_EDIT), "select me");
    EXPECT_EQ(m_panel->FocusAndSelect(IDC_TEST_EDIT), 1);
    DWORD start = 0, end = 0;
    ::SendMessageA(Item(IDC_TEST_EDIT), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 9u);
}

TEST_F(PanelTest, FolderLabelShowsTheDesktopNameOrAnElidedPath)
{
    m_panel->SetFolderLabel("C:\\Users\\me\\Desktop\\Work");
    EXPECT_EQ(WindowText(m_label), "Desktop");

    const CString longPath = "C:\\A very long folder name\\another long folder\\and one more\\deep\\graphics";
    m_panel->SetFolderLabel(longPath);
    const std::string shown = WindowText(m_label);
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    EXPECT_LT(shown.size(), std::string(longPath).size() + 1);
    EXPECT_NE(shown.find("graphics"), std::string::npos) << shown;

    // No label: nothing happens (and nothing breaks).
    ::DestroyWindow(m_label);
    m_panel->SetFolderLabel("C:\\x");
}

TEST_F(PanelTest, PageButtonsWithoutAGraphicAreAllDisabledInOrder)
{
    COptions record;
    m_services.options = &record;
    COptionsDlg::UpdatePageButtons();
    std::vector<int> pages;
    for (const auto& sent : m_services.messages) {
        EXPECT_EQ(sent.kind, 22);
        EXPECT_EQ(sent.first, 0) << sent.second;
        pages.push_back(sent.second);
    }
    EXPECT_EQ(pages, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 14}));

    // A loaded template with a text slot: text, colour, shadow, size, navigation bars, save.
    record.SetCapabilityFlag(kCapabilityTemplateLoaded, 1);
    record.SetCapabilityFlag(kCapabilityText, 1);
    record.SetGraphicType(kGraphicButton);
    record.SetStateCount(1);
    m_services.messages.clear();
    COptionsDlg::UpdatePageButtons();
    std::vector<int> enabled;
    for (const auto& sent : m_services.messages)
        if (sent.first)
            enabled.push_back(sent.second);
    EXPECT_EQ(enabled, (std::vector<int>{3, 4, 7, 8, 9, 14}));

    m_services.messages.clear();
    m_services.topLevelManager = false;
    COptionsDlg::UpdatePageButtons();
    m_services.topLevelManager = true;
    m_services.options = nullptr;
    COptionsDlg::UpdatePageButtons();
    EXPECT_TRUE(m_services.messages.empty());
}

TEST_F(PanelTest, CreateStyleCommandGoesToTheTopLevelManager)
{
    m_panel->SendMessage(WM_COMMAND, 2800, 0);
    m_panel->SendMessage(WM_COMMAND, 2801, 0);
    m_panel->SendMessage(WM_COMMAND, 2803, 0);
    ASSERT_EQ(m_services.messages.size(), 1u);
    EXPECT_EQ(m_services.messages[0].kind, 18);
    m_services.mainWindow = nullptr;
    m_panel->SendMessage(WM_COMMAND, 2800, 0);
    EXPECT_EQ(m_services.messages.size(), 1u);
}

TEST_F(PanelTest, TemplateCdPromptAsksUntilCancelled)
{
    int leaveOut = -1;
    EXPECT_EQ(m_panel->PromptForTemplateCD(&leaveOut), 1);
    EXPECT_EQ(leaveOut, 0);
    EXPECT_TRUE(m_services.boxes.empty());

    m_services.templatesFromCD = true;
    m_services.cdPath = "";
    m_services.answers = {IDOK, IDOK, IDCANCEL};
    EXPECT_EQ(m_panel->PromptForTemplateCD(&leaveOut), 0);
    EXPECT_EQ(m_services.boxes.size(), 3u);
    EXPECT_EQ(leaveOut, 1);
    EXPECT_FALSE(m_services.templatesFromCD);
    EXPECT_EQ(m_panel->PromptForTemplateCD(nullptr), 0);
}

TEST_F(PanelTest, HotSpotCaptureEndsOnActivationAndDeactivation)
{
    m_panel->BeginHotSpotCapture();
    EXPECT_TRUE(m_panel->IsHotSpotCaptured());
    EXPECT_EQ(m_services.capturedCursor, 386);
    EXPECT_EQ(m_panel->OnDeactivatePanel(), 1);
    EXPECT_FALSE(m_panel->IsHotSpotCaptured());
    EXPECT_EQ(m_services.capturedCursor, 0);
    m_panel->BeginHotSpotCapture();
    EXPECT_EQ(m_panel->OnActivatePanel(), 1);
    EXPECT_FALSE(m_panel->IsHotSpotCaptured());
    ::ReleaseCapture();
}

TEST_F(PanelTest, ComboSelectionByItemData)
{
    CComboBox combo;
    combo.Attach(Item(IDC_TEST_COMBO));
    for (int i = 0; i < 3; ++i)
        combo.SetItemData(combo.AddString(("entry " + std::to_string(i)).c_str()), 10 + i);
    COptionsDlg::SelectComboItemByData(&combo, 12);
    EXPECT_EQ(combo.GetCurSel(), 2);
    COptionsDlg::SelectComboItemByData(&combo, 99);
    EXPECT_EQ(combo.GetCurSel(), 2);
    COptionsDlg::SelectComboItemByData(nullptr, 10);
    combo.Detach();
}

TEST_F(PanelTest, DigitsEditTakesOnlyDigits)
{
    CDigitsEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_TEST_EDIT, m_panel.get()));
    EXPECT_EQ(edit.GetClampedValue(1, 100), 1);
    for (char c : std::string("-1.5x2"))
        edit.SendMessage(WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "152");
    EXPECT_EQ(edit.GetValue(), 152);
    EXPECT_EQ(edit.GetClampedValue(1, 100), 100);
    edit.SetValue(7);
    EXPECT_EQ(WindowText(edit.GetSafeHwnd()), "7");
    edit.UnsubclassWindow();
}

TEST_F(PanelTest, ColourCountSliderScalesAndLabels)
{
    CColourCountSlider slider;
    ASSERT_TRUE(slider.SubclassDlgItem(IDC_TEST_SLIDER, m_panel.get()));
    CWnd label;
    label.Attach(Item(IDC_TEST_LABEL));

    slider.SetMode(8);
    EXPECT_EQ(slider.GetRangeMin(), 2);
    EXPECT_EQ(slider.GetRangeMax(), 256);
    slider.SetValue(16);
    EXPECT_EQ(slider.GetPos(), 62);
    EXPECT_EQ(slider.GetValue(), 16);
    slider.UpdateLabel(&label);
    EXPECT_EQ(WindowText(label.GetSafeHwnd()), "16 Colors");

    slider.SetMode(22);
    EXPECT_EQ(slider.GetRangeMax(), 420);
    slider.SetValue(1024);
    EXPECT_EQ(slider.GetPos(), 359);
    slider.UpdateLabel(&label);
    EXPECT_EQ(WindowText(label.GetSafeHwnd()), "24-Bit Color");
    slider.SetValue(256);
    EXPECT_EQ(slider.GetPos(), 299);

    slider.SetMode(3);
    EXPECT_EQ(slider.GetMode(), 0);
    slider.UpdateLabel(&label);
    EXPECT_EQ(WindowText(label.GetSafeHwnd()), "Unknown");
    label.Detach();
    slider.UnsubclassWindow();
}

}  // namespace
