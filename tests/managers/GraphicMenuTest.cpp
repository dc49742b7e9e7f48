// The graphic menu and the style-properties menu in the real main dialog: the copies reach the
// clipboard from their messages and from the context menu, the menu greys what a page cannot
// do, "create style" lists the current graphic in the style tile's menu, and a drop's style
// and thumbnail land in the project dated like the exported file.
#include "app/AppServices.h"
#include "app/ExportPaths.h"
#include "app/MainWinManager.h"
#include "panels/PanelMessage.h"
#include "app/PromptPageManager.h"
#include "app/Resource.h"
#include "app/TempFolder.h"
#include "app/TopLevelManager.h"
#include "app/WidgetsDlg.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "document/Options.h"
#include "editors/GraphicMenu.h"
#include "panels/OptionsDlg.h"
#include "editors/PropertiesMenu.h"
#include "framework/core/CTime.h"
#include "tests/app/MainDialogFixture.h"
#include "tests/managers/ProjectFolderRedirect.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

namespace {

class GraphicMenus : public MainDialogFixture {
protected:
    GraphicMenus() : MainDialogFixture({{BW_SERVER_PATH, BW_ENGINE_PATH, BW_IMPORTER_PATH}, BW_ROOT_PATH, 800, 600, false})
    {
    }

    void SetUp() override
    {
        MainDialogFixture::SetUp();
        if (HasFatalFailure())
            return;
        CWinManagerBase::SetCommandSink(&Deliver);
        s_dialog = dlg;
        // Exports go to a folder of this test's own.
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "bw-menus\\";
        ::CreateDirectoryA(folder.c_str(), nullptr);
        if (HKEY key = OpenOptionsKey()) {
            SetRegValue(key, "ExportDir", REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                        static_cast<DWORD>(folder.size()));
            CloseRegKey(key);
        }
        top->HandleCommand("type-projects");
        main = top->GetMainManager();
        ASSERT_TRUE(main && main->IsActive());
        ASSERT_TRUE(GetOptions() && GetOptions()->GetCapabilityFlag(kCapabilityTemplateLoaded));
    }

    void TearDown() override
    {
        CWinManagerBase::SetCommandSink(nullptr);
        MainDialogFixture::TearDown();
        CFileUtils::DeleteFolderFiles(folder.c_str(), TRUE);
    }

    static void Deliver(const CString& command) { s_dialog->SendCommand(command); }

    int Send(CPanelMessage&& message) { return top->HandleMessage(&message); }

    void Pump()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    static std::string ClipboardText()
    {
        std::string text;
        if (!::OpenClipboard(nullptr))
            return text;
        if (HANDLE block = ::GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(::GlobalLock(block));
            ::GlobalUnlock(block);
        }
        ::CloseClipboard();
        return text;
    }

    static std::string ClipboardDrop()
    {
        std::string path;
        if (!::OpenClipboard(nullptr))
            return path;
        if (HANDLE block = ::GetClipboardData(CF_HDROP)) {
            char name[MAX_PATH] = "";
            if (::DragQueryFileA(static_cast<HDROP>(block), 0, name, MAX_PATH))
                path = name;
        }
        ::CloseClipboard();
        return path;
    }

    static int ClipboardBitDepth()
    {
        int bits = 0;
        if (!::OpenClipboard(nullptr))
            return 0;
        if (HANDLE block = ::GetClipboardData(CF_DIB)) {
            bits = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(block))->biBitCount;
            ::GlobalUnlock(block);
        }
        ::CloseClipboard();
        return bits;
    }

    POINT ViewCentre()
    {
        RECT preview;
        main->GetViewWindow()->GetWindowRect(&preview);
        return {(preview.left + preview.right) / 2, (preview.top + preview.bottom) / 2};
    }

    static CWidgetsDlg* s_dialog;
    std::string folder;
    CMainWinManager* main = nullptr;
};

CWidgetsDlg* GraphicMenus::s_dialog = nullptr;

bool Greyed(UINT id)
{
    HMENU popup = ::GetSubMenu(GetGraphicMenu()->GetMenu(), 0);
    return (::GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

}  // namespace

TEST_F(GraphicMenus, CopiesReachTheClipboard)
{
    // The top-level manager hands these to the pages; the active one acts.
    Send(CCopyBitmapMessage());
    EXPECT_EQ(ClipboardBitDepth(), 24);

    // Copy file name: the graphic is written at the next free name, offered as a file and as text.
    const std::string first = (const char*)GetMenuServices().GetNextExportPath();
    ASSERT_EQ(first.compare(0, folder.size(), folder), 0) << first;
    Send(CCopyFileNameMessage());
    EXPECT_EQ(ClipboardText(), first);
    EXPECT_EQ(ClipboardDrop(), first);
    EXPECT_NE(::GetFileAttributesA(first.c_str()), INVALID_FILE_ATTRIBUTES);

    // The same command from the preview's context menu, chosen from the keyboard: the next name.
    const std::string second = (const char*)GetMenuServices().GetNextExportPath();
    ASSERT_NE(second, first);
    const POINT centre = ViewCentre();
    ::PostMessageA(dlg->m_hWnd, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageA(dlg->m_hWnd, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageA(dlg->m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
    Send(CRButtonDownMessage(centre.x, centre.y));
    Pump();
    EXPECT_EQ(ClipboardText(), second);
    EXPECT_NE(::GetFileAttributesA(second.c_str()), INVALID_FILE_ATTRIBUTES);

    // A clipboard held open by another window takes nothing, and the copy says so.
    HWND holder = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::OpenClipboard(holder));
    EXPECT_FALSE(GetGraphicMenu()->CopyBitmapToClipboard());
    EXPECT_FALSE(GetGraphicMenu()->CopyFileNameToClipboard());
    ::CloseClipboard();
    ::DestroyWindow(holder);

    // Ctrl+C outside an edit control copies the graphic as a bitmap.
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
    ::SetFocus(dlg->m_hWnd);
    Send(CKeyMessage('C', VK_CONTROL));
    EXPECT_EQ(ClipboardBitDepth(), 24);
}

TEST_F(GraphicMenus, ItemsFollowThePage)
{
    // The design page shows galleries, not a graphic to edit.
    ASSERT_EQ(main->GetCurrentPage()->GetType(), 4);
    GetGraphicMenu()->UpdateItems();
    EXPECT_TRUE(Greyed(kGraphicMenuUndoAllEdits));
    EXPECT_TRUE(Greyed(kGraphicMenuCreateStyle));
    EXPECT_FALSE(Greyed(kGraphicMenuCopyBitmap));
    EXPECT_FALSE(Greyed(kGraphicMenuInformation));

    ASSERT_EQ(Send(CKeyMessage(VK_F7, 0)), 1);  // the size page
    ASSERT_EQ(main->GetCurrentPage()->GetType(), 10);
    GetGraphicMenu()->UpdateItems();
    EXPECT_FALSE(Greyed(kGraphicMenuUndoAllEdits));
    EXPECT_FALSE(Greyed(kGraphicMenuCreateStyle));

    // A graphic whose template is still loading has nothing to copy.
    GetOptions()->SetCapabilityFlag(kCapabilityTemplateLoaded, 0);
    GetGraphicMenu()->UpdateItems();
    EXPECT_TRUE(Greyed(kGraphicMenuCopyBitmap));
    EXPECT_TRUE(Greyed(kGraphicMenuCopyFileName));
    EXPECT_FALSE(GetGraphicMenu()->CopyBitmapToClipboard());
    GetOptions()->SetCapabilityFlag(kCapabilityTemplateLoaded, 1);
}

TEST_F(GraphicMenus, CreateStyleIsListedOnTheStyleTile)
{
    ASSERT_EQ(Send(CKeyMessage(VK_F7, 0)), 1);
    auto* page = dynamic_cast<CPromptPageManager*>(main->GetCurrentPage());
    ASSERT_TRUE(page && page->HasStyleButton());
    RECT panelArea;
    page->GetRects(nullptr, &panelArea, nullptr);
    POINT tile = {panelArea.right - 10, panelArea.bottom - 10};
    ::ClientToScreen(dlg->m_hWnd, &tile);

    // A panel that is not an editor panel has no properties to list.
    CWnd* plain = new CWnd;
    ASSERT_TRUE(plain->CreateEx(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, dlg->m_hWnd, 0));
    page->SetPanel(plain);
    CLButtonDownMessage click(tile.x, tile.y);
    EXPECT_EQ(page->HandleMessage(&click), 0);

    Send(CCommandMessage());
    const CString user = GetUserStyleFilePath();
    EXPECT_EQ(std::string((const char*)GetPropertiesMenu()->GetStyleFile()), (const char*)user);
    EXPECT_TRUE(CFileUtils::FileExists(user));

    auto* panel = new COptionsDlg(IDD_ABOUT_LINKS, dlg);
    ASSERT_TRUE(panel->Create(IDD_ABOUT_LINKS, dlg));
    page->SetPanel(panel);
    ::PostMessageA(panel->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(page->HandleMessage(&click), 1);
    EXPECT_EQ(GetPropertiesMenu()->GetPanelClass(), "COptionsDlg");
    ASSERT_EQ(GetPropertiesMenu()->GetEntryCount(), 3);
    EXPECT_EQ(GetPropertiesMenu()->GetEntryText(2), "Current Style :- ");
}

TEST_F(GraphicMenus, DropKeepsStyleAndThumbnailInTheProject)
{
    const std::string project = folder + "Project";
    CFileUtils::DeleteFolderFiles((project + "\\").c_str(), TRUE);
    CProjectFolderRedirect redirect(project.c_str());
    COptions* record = GetOptions();
    // Nothing is kept before a file was exported.
    record->SetExportPathNameExt("");
    GetGraphicMenu()->SaveStyleToProject();
    EXPECT_FALSE(CFileUtils::FolderExists(project.c_str()));

    ASSERT_TRUE(GetGraphicMenu()->CopyFileNameToClipboard());
    const CString exported = record->GetExportPathNameExt();
    ASSERT_TRUE(CFileUtils::FileExists(exported));
    const CTime stamp(2020, 5, 17, 10, 30, 0);
    ASSERT_TRUE(CFileUtils::SetModifiedTime(exported, stamp));
    const int exportType = record->GetExportType();

    GetGraphicMenu()->SaveStyleToProject();
    const CString name = CFileUtils::RemoveExtension(exported.Mid(exported.ReverseFind('\\') + 1));
    const CString base = CString(project.c_str()) + "\\" + name;
    for (const char* extension : {".qtw", ".qgt"}) {
        SCOPED_TRACE(extension);
        CTime time;
        ASSERT_TRUE(CFileUtils::GetModifiedTime(base + extension, time));
        EXPECT_EQ(time.GetTime(), stamp.GetTime());
    }
    EXPECT_EQ(record->GetExportCheckSum(), CFileUtils::QuickFileSignature(exported));
    EXPECT_EQ(record->GetExportType(), exportType);
    EXPECT_EQ(record->GetTemplateFlag(), 1);
    EXPECT_FALSE(record->IsModified());
    CFileUtils::DeleteFolderFiles((project + "\\").c_str(), TRUE);
}

// While no project is named, a drop's style goes to the Default project, never to a folder
// named by the suffix alone.
TEST_F(GraphicMenus, UnnamedProjectIsTheDefaultProject)
{
    const CString named = app.GetCurrentProject();
    app.SetCurrentProject("");
    const CString expected = GetTemplatesFolder(true, true, false) + "Default (Project)";
    const bool existed = CFileUtils::FolderExists(expected);
    EXPECT_STREQ(::MakeProjectFolderPath(), expected);
    EXPECT_TRUE(CFileUtils::FolderExists(expected));
    EXPECT_FALSE(CFileUtils::FolderExists(GetTemplatesFolder(true, true, false) + " (Project)"));
    if (!existed)
        ::RemoveDirectoryA(expected);
    app.SetCurrentProject(named);
}
