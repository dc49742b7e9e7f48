// The real main dialog under Xvfb: a file opened by another process through WM_COPYDATA, keys
// before the focus window, graphic-menu commands and the system commands.
#include "app/ExportPaths.h"
#include "app/MainDialogCommands.h"
#include "app/Resource.h"
#include "document/Options.h"
#include "tests/app/MainDialogFixture.h"
#include "tests/app/MessageBoxCloser.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

namespace {

class MainDialog : public MainDialogFixture {
protected:
    MainDialog() : MainDialogFixture({{BW_SERVER_PATH, BW_ENGINE_PATH}, BW_ROOT_PATH, 700, 500}) {}

    BOOL Translate(UINT message, WPARAM key, LPARAM lParam = 0)
    {
        MSG msg = {dlg->m_hWnd, message, key, lParam};
        return dlg->PreTranslateMessage(&msg);
    }

    UINT DefaultSizeState()
    {
        return ::GetMenuState(::GetSystemMenu(dlg->m_hWnd, FALSE), IDM_DEFAULT_SIZE, MF_BYCOMMAND) & MF_GRAYED;
    }
};

TEST_F(MainDialog, AnotherProcessOpensAStyleFile)
{
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    const std::string style = std::string(temp) + "bwcopydata.qtw";
    std::ofstream(style, std::ios::binary) << "Barwright\r\nVersion : 1.2\r\nGraphicType : 3\r\n";

    // A request without text changes nothing.
    COPYDATASTRUCT empty = {0, 0, nullptr};
    EXPECT_TRUE(::SendMessageA(dlg->m_hWnd, WM_COPYDATA, 0, (LPARAM)&empty));
    EXPECT_EQ(dlg->m_options->GetGraphicType(), 0);

    COPYDATASTRUCT request = {0, (DWORD)style.size() + 1, (void*)style.c_str()};
    EXPECT_TRUE(::SendMessageA(dlg->m_hWnd, WM_COPYDATA, 0, (LPARAM)&request));
    const std::string working = std::string(app.GetTempFolderPath()) + "~ast3.qtw";
    EXPECT_NE(::GetFileAttributesA(working.c_str()), INVALID_FILE_ATTRIBUTES) << working;
    EXPECT_EQ(dlg->m_options->GetGraphicType(), 3);
    EXPECT_TRUE(top->IsMainManagerActive());  // "type" moved to the editing pages
    EXPECT_EQ(top->GetLastKind(), 7);          // then F3, as if typed
    ::DeleteFileA(style.c_str());
    ::DeleteFileA(working.c_str());
}

TEST_F(MainDialog, AnImageOpensThroughTheStyleFileThatMadeIt)
{
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "bwimage";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string image = folder + "\\Badge2.gif", style = folder + "\\Badge.qtw";
    std::ofstream(image, std::ios::binary) << "GIF89a";
    std::ofstream(style, std::ios::binary) << "Barwright\r\nVersion : 1.2\r\nGraphicType : 4\r\n";

    COPYDATASTRUCT request = {0, (DWORD)image.size() + 1, (void*)image.c_str()};
    EXPECT_TRUE(::SendMessageA(dlg->m_hWnd, WM_COPYDATA, 0, (LPARAM)&request));
    const std::string working = std::string(app.GetTempFolderPath()) + "~ast4.qtw";
    EXPECT_NE(::GetFileAttributesA(working.c_str()), INVALID_FILE_ATTRIBUTES) << working;
    EXPECT_EQ(dlg->m_options->GetGraphicType(), 4);
    EXPECT_TRUE(top->IsMainManagerActive());
    for (const std::string& path : {image, style, working})
        ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

TEST_F(MainDialog, KeysAndMenuCommandsReachThePages)
{
    EXPECT_TRUE(Translate(WM_SYSKEYDOWN, 'M'));
    EXPECT_EQ(top->GetLastKind(), 7);
    EXPECT_TRUE(Translate(WM_KEYDOWN, 0x7C));  // swallowed
    Translate(WM_KEYDOWN, VK_CONTROL);
    EXPECT_EQ(dlg->m_controlDown, 1);
    Translate(WM_KEYUP, VK_CONTROL);
    EXPECT_EQ(dlg->m_controlDown, 0);

    const struct {
        UINT id;
        int kind;
    } cases[] = {{ID_GRAPHIC_COPY_FILE_NAME, 9}, {ID_GRAPHIC_CREATE_STYLE, 18}};
    for (const auto& c : cases) {
        ::SendMessageA(dlg->m_hWnd, WM_COMMAND, c.id, 0);
        EXPECT_EQ(top->GetLastKind(), c.kind) << c.id;
    }
}

TEST_F(MainDialog, DefaultSizeOnlyWhileNormal)
{
    ::SendMessageA(dlg->m_hWnd, WM_SYSCOMMAND, IDM_DEFAULT_SIZE, 0);
    RECT rect;
    ::GetWindowRect(dlg->m_hWnd, &rect);
    EXPECT_EQ(rect.right - rect.left, 800);
    EXPECT_EQ(rect.bottom - rect.top, 600);

    ::SendMessageA(dlg->m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(DefaultSizeState());
    ::GetWindowRect(dlg->m_hWnd, &rect);
    const int maximisedWidth = rect.right - rect.left;
    ::SendMessageA(dlg->m_hWnd, WM_SYSCOMMAND, IDM_DEFAULT_SIZE, 0);
    ::GetWindowRect(dlg->m_hWnd, &rect);
    EXPECT_EQ(rect.right - rect.left, maximisedWidth);

    ::SendMessageA(dlg->m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(DefaultSizeState());
}

TEST_F(MainDialog, SavingReusesTheSizeEstimateOrSaysWhyNot)
{
    dlg->m_options->SetExportType(0);
    const std::string estimate = std::string(GetTempExportPath());
    EXPECT_EQ(estimate, std::string(app.GetTempFolderPath()) + "temptwg.gif");
    std::ofstream(estimate, std::ios::binary) << "GIF89a estimate";
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    const std::string target = std::string(temp) + "bwsaved.gif";

    EXPECT_TRUE(SaveGraphicAs(target.c_str(), true));
    std::ifstream saved(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), std::istreambuf_iterator<char>()), "GIF89a estimate");
    saved.close();

    // A file that cannot be replaced is reported, not passed over.
    HANDLE held = ::CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    {
        CMessageBoxCloser closer(1);
        EXPECT_FALSE(SaveGraphicAs(target.c_str(), true));
        ASSERT_EQ(CMessageBoxCloser::Texts().size(), 1u);
        EXPECT_EQ(CMessageBoxCloser::Texts()[0], "Cannot write file as it is read only.");
    }
    ::CloseHandle(held);
    ::DeleteFileA(target.c_str());
    ::DeleteFileA(estimate.c_str());
}

}  // namespace
