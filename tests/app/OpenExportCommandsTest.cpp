// Opening files into working copies, export names and folders, and the main dialog's key
// routing and menu commands: the working-copy steps on a fixture folder with a recording host,
// the rest as tables of cases.
#include "app/AppCommandLineInfo.h"
#include "app/ExportPaths.h"
#include "app/MainDialogCommands.h"
#include "framework/win/WinApp.h"
#include "app/OpenFiles.h"
#include "panels/PanelMessage.h"
#include "util/Registry.h"
#include "document/Options.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// A folder of its own under the system temporary folder, emptied and removed at the end.
class FixtureFolder {
public:
    explicit FixtureFolder(const char* name)
    {
        char temp[MAX_PATH];
        ::GetTempPathA(sizeof temp, temp);
        m_path = std::string(temp) + name + "\\";
        Clear();
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~FixtureFolder() { Clear(); }

    std::string Path(const std::string& name = "") const { return m_path + name; }
    std::string Write(const std::string& name, const std::string& text) const
    {
        const std::string path = Path(name);
        ::CreateDirectoryA(Path(name.substr(0, name.rfind('\\') + 1)).c_str(), nullptr);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& name) const { return ::GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    void Clear() const
    {
        // Two levels are enough for these fixtures.
        WIN32_FIND_DATAA found;
        HANDLE find = ::FindFirstFileA((m_path + "*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string path = m_path + name;
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    WIN32_FIND_DATAA inner;
                    HANDLE innerFind = ::FindFirstFileA((path + "\\*").c_str(), &inner);
                    if (innerFind != INVALID_HANDLE_VALUE) {
                        do {
                            const std::string innerPath = path + "\\" + inner.cFileName;
                            ::SetFileAttributesA(innerPath.c_str(), FILE_ATTRIBUTE_NORMAL);
                            ::DeleteFileA(innerPath.c_str());
                        } while (::FindNextFileA(innerFind, &inner));
                        ::FindClose(innerFind);
                    }
                    ::RemoveDirectoryA(path.c_str());
                } else {
                    ::DeleteFileA(path.c_str());
                }
            } while (::FindNextFileA(find, &found));
            ::FindClose(find);
        }
        ::RemoveDirectoryA(m_path.c_str());
    }

    std::string m_path;
};

std::string StyleText(int graphicType, const char* html = "")
{
    std::string text = "Barwright\r\nVersion : 1.2\r\nGraphicType : " + std::to_string(graphicType) + "\r\n";
    if (*html)
        text += std::string("HTML : ") + html + "\r\n";
    return text;
}

// The main dialog's side of opening, recorded.
class CRecordingHost : public COpenFileHost {
public:
    COptions* GetOptions() override { return &m_record; }
    bool HasTopLevelManager() override { return m_haveManager; }
    bool IsMainManagerActive() override { return m_mainActive; }
    bool HasOperationsManager() override { return true; }
    CString GetTempFolderPath() override { return m_tempFolder; }
    CString FindStyleFileFor(const CString& path) override { return m_match; }
    void ApplyTemplateFile(const CString& path) override { m_log.push_back("apply " + std::string(path)); }
    void OpenDocument(const CString& path, int a, int b) override
    {
        m_log.push_back("open " + std::string(path) + " " + std::to_string(a) + std::to_string(b));
    }
    void SendCommand(const CString& command) override { m_log.push_back(std::string(command)); }
    void SendMessage(CPanelMessage* message) override
    {
        std::string text = "kind " + std::to_string(message->GetKind());
        if (auto* key = dynamic_cast<CKeyMessage*>(message))
            text += " key " + std::to_string(key->m_key) + "," + std::to_string(key->m_modifier);
        if (auto* page = dynamic_cast<CPageStateMessage*>(message))
            text += " page " + std::to_string(page->m_page) + "," + std::to_string(page->m_enable);
        m_log.push_back(text);
    }

    COptions m_record;
    bool m_haveManager = true;
    bool m_mainActive = false;
    CString m_tempFolder;
    CString m_match;
    std::vector<std::string> m_log;
};

using Log = std::vector<std::string>;

class OpenFiles : public ::testing::Test {
protected:
    OpenFiles() : m_dir("bwopenfiles")
    {
        // The temporary folder does not exist before the first working copy.
        m_host.m_tempFolder = m_dir.Path("temp\\").c_str();
        m_host.m_record.SetGraphicType(0);
    }
    FixtureFolder m_dir;
    CRecordingHost m_host;
};

TEST_F(OpenFiles, NavigationBarFileReplacesEveryWorkingFileOfTheBar)
{
    const std::string over = m_dir.Write("bars\\Home_over.qtw", StyleText(7) + "over");
    m_dir.Write("bars\\Home_off.qtw", StyleText(7) + "off");
    m_dir.Write("bars\\Home_top.qtw", StyleText(7) + "top");
    m_dir.Write("temp\\~ast7_on.qtw", "stale state");
    m_dir.Write("temp\\~ast7_left.qtw", "stale cap");

    EXPECT_EQ(OpenFileForEditing(m_host, over.c_str()), 1);
    EXPECT_EQ(m_dir.Read("temp\\~ast7_off.qtw"), StyleText(7) + "off");
    EXPECT_EQ(m_dir.Read("temp\\~ast7_over.qtw"), StyleText(7) + "over");
    EXPECT_EQ(m_dir.Read("temp\\~ast7_top.qtw"), StyleText(7) + "top");
    // A state or cap the bar does not have leaves no working file behind.
    EXPECT_FALSE(m_dir.Exists("temp\\~ast7_on.qtw"));
    EXPECT_FALSE(m_dir.Exists("temp\\~ast7_left.qtw"));
    EXPECT_EQ(m_host.m_record.GetGraphicType(), 7);
    EXPECT_EQ(m_host.m_log, (Log{"type", "kind 7 key 114,0"}));
}

TEST_F(OpenFiles, NavigationBarFileWithoutAStateSuffixDeletesNothing)
{
    const std::string bar = m_dir.Write("bars\\Homebar.qtw", StyleText(7));
    m_dir.Write("temp\\~ast7_off.qtw", "kept");
    m_dir.Write("temp\\~ast7_over.qtw", "kept too");

    EXPECT_EQ(OpenFileForEditing(m_host, bar.c_str()), 1);
    EXPECT_EQ(m_dir.Read("temp\\~ast7_off.qtw"), "kept");
    EXPECT_EQ(m_dir.Read("temp\\~ast7_over.qtw"), "kept too");
    EXPECT_EQ(m_host.m_log, (Log{"type", "kind 7 key 114,0"}));
}

TEST_F(OpenFiles, StyleFileBecomesAWritableWorkingCopy)
{
    const std::string style = m_dir.Write("Logo.qtw", StyleText(3));
    ::SetFileAttributesA(style.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(OpenFileForEditing(m_host, style.c_str()), 1);
    EXPECT_EQ(m_dir.Read("temp\\~ast3.qtw"), StyleText(3));
    EXPECT_FALSE(::GetFileAttributesA(m_dir.Path("temp\\~ast3.qtw").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(m_host.m_record.GetGraphicType(), 3);
    EXPECT_EQ(std::string(m_host.m_record.GetQTWFile()), style);
    EXPECT_EQ(m_host.m_log, (Log{"type", "kind 7 key 114,0"}));
}

TEST_F(OpenFiles, FailedCopyShowsThePreviousWorkingCopy)
{
    const std::string style = m_dir.Write("Logo.qtw", StyleText(3) + "new");
    const std::string working = m_dir.Write("temp\\~ast3.qtw", "previous");
    // Held open without sharing, the working copy cannot be replaced.
    HANDLE held = ::CreateFileA(working.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    EXPECT_EQ(OpenFileForEditing(m_host, style.c_str()), 1);
    ::CloseHandle(held);
    EXPECT_EQ(m_dir.Read("temp\\~ast3.qtw"), "previous");
    EXPECT_EQ(m_host.m_record.GetGraphicType(), 3);
    EXPECT_EQ(m_host.m_log, (Log{"type", "kind 7 key 114,0"}));
}

TEST_F(OpenFiles, StyleFileOnAnEditingPageIsApplied)
{
    const std::string style = m_dir.Write("Logo.qtw", StyleText(3));
    m_host.m_mainActive = true;

    EXPECT_EQ(OpenFileForEditing(m_host, style.c_str()), 1);
    EXPECT_FALSE(m_dir.Exists("temp\\~ast3.qtw"));
    EXPECT_EQ(m_host.m_log, (Log{"apply " + style, "kind 7 key 114,0"}));
}

TEST_F(OpenFiles, ImagesOpenThroughTheirStyleFileOrAsPhotos)
{
    const std::string image = m_dir.Write("Home_over.gif", "GIF89a");
    EXPECT_EQ(OpenFileForEditing(m_host, image.c_str()), 1);
    EXPECT_EQ(m_host.m_record.GetGraphicType(), 12);
    EXPECT_EQ(m_host.m_log, (Log{"open " + image + " 11", "type"}));

    // A style file with an "HTML" value makes a navigation bar whatever its type says.
    m_host.m_log.clear();
    m_host.m_match = m_dir.Write("Home_over.qtw", StyleText(0, "Home")).c_str();
    EXPECT_EQ(OpenFileForEditing(m_host, image.c_str()), 1);
    EXPECT_TRUE(m_dir.Exists("temp\\~ast7_over.qtw"));
    EXPECT_FALSE(m_dir.Exists("temp\\~ast7_off.qtw"));
    EXPECT_EQ(m_host.m_record.GetGraphicType(), 7);
    EXPECT_EQ(m_host.m_log, (Log{"type"}));

    m_host.m_log.clear();
    EXPECT_EQ(OpenFileForEditing(m_host, m_dir.Path("missing.gif").c_str()), 0);
    EXPECT_TRUE(m_host.m_log.empty());
}

TEST_F(OpenFiles, NewGraphicsAndTheCommandLineAction)
{
    EXPECT_EQ(StartNewGraphic(m_host, 12), 1);
    EXPECT_EQ(m_host.m_record.GetGraphicType(), 12);
    m_host.m_mainActive = true;  // an editing page decides the type itself
    EXPECT_EQ(StartNewGraphic(m_host, 5), 1);
    EXPECT_EQ(m_host.m_record.GetGraphicType(), 12);
    EXPECT_EQ(m_host.m_log, (Log{"goto-import-photos", "type"}));

    // An image given for editing keeps the pages that would replace it disabled.
    m_host.m_log.clear();
    m_host.m_mainActive = false;
    const std::string image = m_dir.Write("photo.jpg", "JFIF");
    CAppCommandLineInfo line;
    line.m_graphicType = 12;
    line.m_strFileName = image.c_str();
    PerformCommandLineAction(m_host, line);
    EXPECT_EQ(m_host.m_log, (Log{"open " + image + " 11", "type", "kind 22 page 1,0", "kind 22 page 16,0"}));
}

TEST_F(OpenFiles, WorkingCopyAtClose)
{
    static std::string barPath;
    auto saveBar = [](const CString& path) {
        barPath = std::string(path);
        return true;
    };
    m_host.m_record.SetGraphicType(7);
    m_host.m_record.SetTemplateFlag(1);
    // The navigation bar keeps its files even after a message box asked not to save.
    EXPECT_EQ(std::string(SaveWorkingCopyOnClose(&m_host.m_record, m_host.m_tempFolder, true, saveBar, true)),
              m_dir.Path("temp\\~ast7_off.qtw"));
    EXPECT_EQ(barPath, m_dir.Path("temp\\~ast7_off.qtw"));
    EXPECT_EQ(m_host.m_record.GetTemplateFlag(), 0);
    EXPECT_TRUE(SaveWorkingCopyOnClose(nullptr, m_host.m_tempFolder, false, saveBar, false).IsEmpty());
}

TEST(ExportPaths, ExportNamesFromTheRecord)
{
    const struct {
        const char* kiq;
        const char* story;
        int fromStory;
        const char* expected;
    } cases[] = {
        {"C:\\T\\Christmas_Menu_Blue.kiq", "", 0, "Christmas"},  // cut at the late underscore
        {"Xmas_Menu.kiq", "", 0, "Xmas_Menu"},                   // an early underscore stays
        {"Big Red Button.kiq", "", 0, "Big_Red_Button"},
        {"Plain.kiq", "Home Page", 1, "Home_Page"},              // the text of story 0
        {"", "", 0, "Graphic"},
    };
    for (const auto& c : cases) {
        COptions record;
        record.SetKiqFileName(c.kiq);
        record.SetStoryText(c.story, 0);
        record.SetCapabilityFlag(0, c.fromStory);
        EXPECT_STREQ(MakeExportBaseName(record, false), c.expected) << c.kiq;
    }
    for (int type : {0, 1, 4, 2})
        EXPECT_STREQ(ExportExtension(type), type == 0 ? "gif" : type == 1 ? "jpg" : type == 4 ? "png" : "") << type;
}

TEST(ExportPaths, FoldersAndNumberedFolders)
{
    FixtureFolder dir("bwexportdirs");
    const CString root = dir.Path().c_str();
    EXPECT_STREQ(ChooseExportFolder("", root), root + "Export\\");
    EXPECT_STREQ(ChooseExportFolder(root + "Mine", root), root + "Mine\\");
    // A remembered folder whose parent is gone falls back to the Export folder.
    EXPECT_STREQ(ChooseExportFolder(root + "Gone\\Deeper\\", root), root + "Export\\");

    for (const char* folder : {"Sample (Project)", "Sample7", "Other3"})
        ::CreateDirectoryA(dir.Path(folder).c_str(), nullptr);
    const struct {
        const char* folder;
        const char* expected;
    } cases[] = {
        {"Sample (Project)", "Sample1 (Project)"},
        {"Sample7", "Sample1"},
        {"Missing", "Missing"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(CreateNumberedFolder(dir.Path(c.folder).c_str())), dir.Path(c.expected)) << c.folder;
    ::CreateDirectoryA(dir.Path("Sample1").c_str(), nullptr);
    EXPECT_EQ(std::string(CreateNumberedFolder(dir.Path("Sample7").c_str())), dir.Path("Sample2"));
}

TEST(ExportPaths, NothingWrittenNoPathAnswered)
{
    // Without a graphic no exporter can write: the caller must not be handed a file to use.
    EXPECT_TRUE(ExportToNextFreeName().IsEmpty());
}

// ---- Keys and commands ----

struct KeyCase {
    UINT message;
    UINT key;
    bool manager;
    int shiftBefore, controlBefore;
    bool handled, sendKey;
    int expectKey, modifier;
    bool close;
    int shiftAfter, controlAfter;
};

TEST(MainDialogKeys, RoutingTable)
{
    const LPARAM scan = 0x2A << 16;
    const KeyCase cases[] = {
        {WM_SYSKEYDOWN, VK_F4, true, 0, 0, true, false, 0, 0, true, 0, 0},  // Alt+F4 closes
        {WM_SYSKEYDOWN, 'M', true, 0, 0, true, true, 'M', 18, false, 0, 0},
        {WM_SYSKEYDOWN, 'S', true, 0, 0, true, true, 'S', 18, false, 0, 0},
        {WM_SYSKEYDOWN, 'S', false, 0, 0, false, false, 0, 0, false, 0, 0},  // no manager: the tail
        {WM_SYSKEYDOWN, VK_F10, true, 0, 0, true, true, VK_F10, 0x2A, false, 0, 0},
        {WM_SYSKEYDOWN, 'X', true, 0, 0, false, false, 0, 0, false, 0, 0},
        {WM_KEYDOWN, VK_CONTROL, true, 0, 0, false, false, 0, 0, false, 0, 1},  // Control alone sends nothing
        {WM_KEYDOWN, VK_SHIFT, true, 0, 0, true, true, VK_SHIFT, 0x2A, false, 1, 0},
        {WM_KEYDOWN, VK_TAB, true, 1, 0, true, true, VK_TAB, 16, false, 1, 0},
        {WM_KEYDOWN, VK_TAB, true, 0, 0, true, true, VK_TAB, 0x2A, false, 0, 0},
        {WM_KEYDOWN, 'Z', true, 0, 1, true, true, 'Z', 17, false, 0, 1},
        {WM_KEYDOWN, 'C', true, 0, 1, true, true, 'C', 17, false, 0, 1},
        {WM_KEYDOWN, 'Z', true, 0, 0, true, true, 'Z', 0x2A, false, 0, 0},
        {WM_KEYDOWN, VK_F12, true, 0, 0, true, true, VK_F12, 0x2A, false, 0, 0},
        {WM_KEYDOWN, VK_F1, true, 0, 0, true, true, VK_F1, 0x2A, false, 0, 0},
        {WM_KEYDOWN, 0x7C, true, 0, 0, true, false, 0, 0, false, 0, 0},  // swallowed
        {WM_KEYDOWN, 0x7C, false, 0, 0, true, false, 0, 0, false, 0, 0},
        {WM_KEYDOWN, VK_F5, false, 0, 0, false, false, 0, 0, false, 0, 0},
        {WM_KEYUP, VK_SHIFT, true, 1, 1, false, false, 0, 0, false, 0, 1},
        {WM_KEYUP, VK_CONTROL, true, 1, 1, false, false, 0, 0, false, 1, 0},
        {WM_KEYUP, VK_F5, true, 0, 0, true, false, 0, 0, false, 0, 0},
        {WM_KEYUP, VK_F11, true, 0, 0, false, false, 0, 0, false, 0, 0},
    };
    for (const KeyCase& c : cases) {
        int shift = c.shiftBefore, control = c.controlBefore;
        CKeyRouteState state = {&shift, &control, false};
        const CKeyRoute route = RouteMainDialogKey(c.message, c.key, scan | 1, c.manager, state);
        const std::string what = std::to_string(c.message) + "/" + std::to_string(c.key);
        EXPECT_EQ(route.handled, c.handled) << what;
        EXPECT_EQ(route.sendKey, c.sendKey) << what;
        if (c.sendKey) {
            EXPECT_EQ(route.key, c.expectKey) << what;
            EXPECT_EQ(route.modifier, c.modifier) << what;
        }
        EXPECT_EQ(route.close, c.close) << what;
        EXPECT_EQ(shift, c.shiftAfter) << what;
        EXPECT_EQ(control, c.controlAfter) << what;
    }
}

TEST(MainDialogKeys, ControlASelectsTheWholeNameField)
{
    HWND edit = ::CreateWindowA("EDIT", "Main bar", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);
    ::SendMessageA(edit, EM_SETSEL, 2, 2);
    MSG key = {edit, WM_KEYDOWN, 'A', 1};
    EXPECT_FALSE(SelectAllInEdit(key, false));  // a plain "a" is typed
    EXPECT_TRUE(SelectAllInEdit(key, true));
    DWORD start = 1, end = 0;
    ::SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(8u, end);
    HWND button = ::CreateWindowA("BUTTON", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG other = {button, WM_KEYDOWN, 'A', 1};
    EXPECT_FALSE(SelectAllInEdit(other, true));
    ::DestroyWindow(button);
    ::DestroyWindow(edit);
}

TEST(MainDialogKeys, ABurstOfFontChangesGivesOneCommand)
{
    int shift = 0, control = 0;
    CKeyRouteState state = {&shift, &control, false};
    std::vector<bool> commands;
    for (UINT message : {WM_FONTCHANGE, WM_FONTCHANGE, WM_FONTCHANGE, WM_KEYUP, WM_FONTCHANGE})
        commands.push_back(RouteMainDialogKey(message, 0, 0, true, state).fontChanged);
    EXPECT_EQ(commands, (std::vector<bool>{true, false, false, false, true}));
}

TEST(MainDialogCommands, MenuCommandsBecomePanelMessages)
{
    const struct {
        UINT id;
        int kind;
    } cases[] = {{57670, 7}, {32771, 8}, {32772, 9}, {32779, 11}, {32823, 18}, {33268, 10}};
    for (const auto& c : cases) {
        std::unique_ptr<CPanelMessage> message = MakeMenuCommandMessage(c.id);
        ASSERT_TRUE(message) << c.id;
        EXPECT_EQ(message->GetKind(), c.kind) << c.id;
    }
    auto* help = dynamic_cast<CKeyMessage*>(MakeMenuCommandMessage(57670).get());
    ASSERT_TRUE(help);
    EXPECT_EQ(help->m_key, VK_F1);
    EXPECT_EQ(help->m_modifier, 0);
    EXPECT_FALSE(MakeMenuCommandMessage(32800));
}

TEST(MainDialogCommands, ResetBoxesShowsTheirMessagesAgain)
{
    HKEY options = OpenOptionsKey();
    ASSERT_TRUE(options);
    SetRegDWORD(options, "SaveInfoDialog", 1);
    SetRegDWORD(options, "ShowPhotoOptionsLossWarning", 0);
    ResetDontShowAgainBoxes();
    EXPECT_EQ(GetRegDWORD(options, "ShowIEMenuWarning"), 0u);
    EXPECT_EQ(GetRegDWORD(options, "AutoSizePhoto"), 0u);
    EXPECT_EQ(GetRegDWORD(options, "SaveInfoDialog"), 0u);
    EXPECT_EQ(GetRegDWORD(options, "ShowPhotoOptionsLossWarning"), 1u);
    CloseRegKey(options);
}

}  // namespace
