// The save dialogs as windows: the overwrite questions' answers, and a navigation bar saved
// through its save dialog into a project and into a page, with the save information notice.
// The saved site is left in "saved-site" of the test's folder for the browser test.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "panels/PanelServices.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarItem.h"
#include "output/OverwriteDlg.h"
#include "output/SaveInfoDlg.h"
#include "output/SaveNames.h"
#include "output/SaveNavBarDlg.h"
#include "output/SaveResource.h"
#include "output/SaveServices.h"
#include "tests/navbar/FakeNavBarServices.h"
#include "tests/output/SaveFixtures.h"

namespace {

// Answers the modal dialogs of this thread as they come up: each is recognised by one of its
// controls; its texts are recorded and a button is pressed. A thread timer, so that the
// dialog's own modal loop runs it.
class DialogAnswerer {
 public:
  struct Answer {
    int recognisedBy;  // a control the dialog has
    int button;        // the button pressed; IDCANCEL stands for Esc
    int tick = 0;      // a check box ticked first
  };
  explicit DialogAnswerer(std::vector<Answer> answers) {
    Answers() = std::move(answers);
    Seen().clear();
    m_timer = ::SetTimer(nullptr, 0, 30, Tick);
  }
  ~DialogAnswerer() { ::KillTimer(nullptr, m_timer); }
  // Per dialog answered: the texts of the controls 1464, 3, 1850, 1852 and 1814.
  static std::vector<std::vector<std::string>>& Seen() {
    static std::vector<std::vector<std::string>> seen;
    return seen;
  }

 private:
  static std::vector<Answer>& Answers() {
    static std::vector<Answer> answers;
    return answers;
  }
  static BOOL CALLBACK Find(HWND window, LPARAM found) {
    if (::IsWindowVisible(window) && !Answers().empty() && ::GetDlgItem(window, Answers().front().recognisedBy) &&
        !::GetPropA(window, "answered")) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    ::SetPropA(dialog, "answered", dialog);
    std::vector<std::string> texts;
    for (int id : {IDC_OVERWRITE_TEXT, IDC_OVERWRITE_SAVE_AS, IDC_OVERWRITE_LIST_FILES, IDC_OVERWRITE_LIST_TEXT,
                   IDC_SAVE_INFO_EXPORT}) {
      char text[2048] = {};
      ::GetDlgItemTextA(dialog, id, text, sizeof text - 1);
      texts.push_back(text);
    }
    Seen().push_back(texts);
    const int button = Answers().front().button;
    if (const int tick = Answers().front().tick) ::SendDlgItemMessageA(dialog, tick, BM_SETCHECK, BST_CHECKED, 0);
    Answers().erase(Answers().begin());
    if (button == IDCANCEL)
      ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    else
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)::GetDlgItem(dialog, button));
  }
  UINT_PTR m_timer;
};

// A fixed numbered name, so that the Save As button's title is known.
class FixedNames : public CSaveServices {
 public:
  FixedNames() { SetSaveServices(this); }
  ~FixedNames() override { SetSaveServices(nullptr); }
  CString MakeNumberedName(const CString&, const CString&) override { return proposed; }
  void ReportMessage(int, UINT id, const CString&) override { messages.push_back(id); }
  CString proposed = "C:\\site\\NavigationButton1.gif";
  std::vector<UINT> messages;
};

TEST(OverwriteDialogs, Answers) {
  FixedNames names;
  const struct {
    int button;
    int result;
    const char* path;
  } cases[] = {
      {IDC_OVERWRITE_OVERWRITE, kOverwriteReplace, "C:\\site\\Home.gif"},
      {IDC_OVERWRITE_SAVE_AS, kOverwriteSaveAs, "C:\\site\\NavigationButton1.gif"},
      {IDC_OVERWRITE_CANCEL, kOverwriteCancel, "C:\\site\\Home.gif"},
      {IDCANCEL, kOverwriteCancel, "C:\\site\\Home.gif"},
  };
  for (const auto& c : cases) {
    DialogAnswerer answerer({{IDC_OVERWRITE_SAVE_AS, c.button}});
    CString path = "C:\\site\\Home.gif";
    EXPECT_EQ(c.result, AskOverwrite(path, 203, true, CString())) << c.button;
    EXPECT_STREQ(c.path, path.GetString()) << c.button;
    ASSERT_EQ(1u, DialogAnswerer::Seen().size());
    EXPECT_EQ("File C:\\site\\Home.gif already exists.\nOverwrite or create unique file name?",
              DialogAnswerer::Seen()[0][0]);
    EXPECT_EQ("Save &as '...onButton1'", DialogAnswerer::Seen()[0][1]);
  }
  // Without the offer: overwrite or not.
  for (int button : {IDC_OVERWRITE_OVERWRITE, IDC_OVERWRITE_CANCEL}) {
    DialogAnswerer answerer({{IDC_OVERWRITE_OVERWRITE, button}});
    CString path = "C:\\site\\Home.gif";
    EXPECT_EQ(button == IDC_OVERWRITE_OVERWRITE ? kOverwriteReplace : kOverwriteCancel,
              AskOverwrite(path, 203, false, CString()));
    EXPECT_EQ("File C:\\site\\Home.gif already exists.\nOverwrite?", DialogAnswerer::Seen().at(0)[0]);
  }
}

TEST(OverwriteDialogs, ListShowsOnlyExistingFiles) {
  CFakeNavBarServices files;
  files.WriteFile("a.gif", "x");
  files.WriteFile("page.html", "x");
  const std::vector<CString> paths{files.Path("a.gif"), files.Path("missing.gif"), files.Path("page.html")};
  for (int button : {IDC_OVERWRITE_OVERWRITE, IDCANCEL}) {
    DialogAnswerer answerer({{IDC_OVERWRITE_LIST_FILES, button}});
    COverwriteListDlg dialog("Would you like to overwrite them?", paths, 207);
    dialog.DoModal();
    EXPECT_EQ(button == IDCANCEL ? kOverwriteCancel : kOverwriteReplace, dialog.m_result);
    ASSERT_EQ(1u, DialogAnswerer::Seen().size());
    EXPECT_EQ("a.gif\r\npage.html\r\n", DialogAnswerer::Seen()[0][2]);
    EXPECT_EQ("Would you like to overwrite them?", DialogAnswerer::Seen()[0][3]);
  }
}

// The program around the dialog: the fixture's graphic and bar, its projects folder, and the
// page commands and messages the dialog sends.
class FakePanelServices : public CPanelServices {
 public:
  explicit FakePanelServices(CFakeNavBarServices& fixture) : m_fixture(fixture) { SetPanelServices(this); }
  ~FakePanelServices() override { SetPanelServices(nullptr); }
  COptions* GetOptions() override { return &m_fixture.graphic; }
  bool IsNavBarMode() override { return true; }
  bool HasTopLevelManager() override { return true; }
  int HandleManagerCommand(const CString& command) override {
    commands.push_back(command.GetString());
    return 1;
  }
  int HandleManagerMessage(CPanelMessage*) override { return ++messages; }
  void ShowWarning(UINT id) override { warnings.push_back(id); }
  int ShowMessageBox(CWnd*, UINT id, UINT, UINT) override {
    warnings.push_back(id);
    return IDNO;
  }
  CString GetCurrentProject() override { return "Menus"; }
  CString GetProjectsFolder() override { return m_fixture.Path("Projects\\"); }
  CString GetTemplatesFolderPath() override { return m_fixture.Path("TWTemplates"); }

  std::vector<std::string> commands;
  std::vector<UINT> warnings;
  int messages = 0;

 private:
  CFakeNavBarServices& m_fixture;
};

// The main window a save dialog sits in.
class ParentWindow : public CWnd {
 public:
  ParentWindow() {
    Attach(::CreateWindowExA(0, "STATIC", "save test", WS_OVERLAPPEDWINDOW, 0, 0, 800, 500, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr));
  }
  ~ParentWindow() override {
    if (HWND window = Detach()) ::DestroyWindow(window);
  }
};

class NoSaved : public CSaveOwner {
 public:
  void SetSaved(int value) override { saved = value; }
  int saved = 0;
};

std::string SourceFile(const char* relative) {
  const char* source = std::getenv("BW_SOURCE");
  return ReadFile(CString(source ? source : "") + "\\" + relative);
}

TEST(SaveNavBarDialog, SavesIntoProjectAndPages) {
  UtilServices utilities;
  utilities.navBar = true;
  CFakeNavBarServices fixture;
  ExportServices bitmaps(fixture.graphic);
  FakePanelServices panel(fixture);
  FixedNames names;
  fixture.MakeFolder("SysResources");
  for (const char* script : {"navstub.js", "navstub2.js"})
    fixture.WriteFile((std::string("SysResources\\") + script).c_str(),
                      SourceFile((std::string("resources\\root\\SysResources\\") + script).c_str()));
  fixture.MakeFolder("Site");
  fixture.MakeFolder("Projects");
  fixture.WriteFile("Site\\news.html",
                    "<html>\r\n<head><title>News</title></head>\r\n<body>\r\n<p>News of the day</p>\r\n</body>\r\n</html>\r\n");
  fixture.graphic.SetExportType(0);
  CNavBar& bar = fixture.bar;
  bar.CreateDefaultButtons();
  std::vector<CString> texts{"Home", "News", "About"}, none(3);
  std::vector<CString> links{"index.html", "news.html#latest", "about.html"};
  ASSERT_EQ(1, bar.SetButtons(texts, links, none, none));
  bar.SetStateEnabled(0, 1);
  bar.SetStateEnabled(1, 1);
  ASSERT_EQ(1, bar.Render(false, 0));
  SetPageListCurrent(false);

  ParentWindow parentWindow;
  ASSERT_TRUE(parentWindow.GetSafeHwnd());
  NoSaved owner;
  {
    CSaveNavBarDlg dialog(&owner);
    ASSERT_TRUE(dialog.Create(IDD_SAVE_NAVBAR, fixture.Path("Site\\Main.html"), &parentWindow));
    ASSERT_NE(0, dialog.OnActivatePanel());
    dialog.SetDlgItemText(IDC_SAVE_NAME, "Main");  // the name field names the bar

    // The pages from the links (the anchor cut off), then the script and the images.
    const std::vector<CString> pages = dialog.Model().CheckedPages();
    ASSERT_EQ(3u, pages.size());
    EXPECT_STREQ(fixture.Path("Site\\news.html").GetString(), pages[1].GetString());
    CString listed;
    dialog.GetDlgItem(IDC_SAVE_FILE_LIST)->GetWindowText(listed);
    EXPECT_EQ(0, listed.Find("index.html"));
    EXPECT_GT(listed.Find("main.js"), 0);
    EXPECT_GT(listed.Find("main_b1.gif"), 0);

    // A page the user added can be taken off the page list with Delete; a link's page cannot.
    ASSERT_TRUE(dialog.AddUserPage(fixture.Path("Site\\extra.html")));
    EXPECT_FALSE(dialog.AddUserPage(fixture.Path("Site\\extra.html")));
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SAVE_SHOW_PAGES, BN_CLICKED), 0);
    CWnd* pageList = dialog.GetDlgItem(IDC_SAVE_PAGE_LIST);
    ASSERT_TRUE(pageList && (::GetWindowLongA(pageList->GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE));
    ASSERT_EQ(4, pageList->SendMessage(LVM_GETITEMCOUNT));
    const auto pressDelete = [&](int row) {
      LVITEMA select = {};
      select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
      pageList->SendMessage(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&select));
      NMLVKEYDOWN key = {};
      key.hdr.hwndFrom = pageList->GetSafeHwnd();
      key.hdr.idFrom = IDC_SAVE_PAGE_LIST;
      key.hdr.code = LVN_KEYDOWN;
      key.wVKey = VK_DELETE;
      dialog.SendMessage(WM_NOTIFY, IDC_SAVE_PAGE_LIST, reinterpret_cast<LPARAM>(&key));
    };
    pressDelete(1);
    EXPECT_EQ(4, pageList->SendMessage(LVM_GETITEMCOUNT));
    pressDelete(3);
    EXPECT_EQ(3, pageList->SendMessage(LVM_GETITEMCOUNT));
    EXPECT_EQ(3u, dialog.Model().CheckedPages().size());
    dialog.GetDlgItem(IDC_SAVE_FILE_LIST)->GetWindowText(listed);
    EXPECT_LT(listed.Find("extra.html"), 0);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SAVE_SHOW_FILES, BN_CLICKED), 0);

    // The news page exists: the list question comes first, then the notice after the save.
    {
      DialogAnswerer answerer({{IDC_OVERWRITE_LIST_FILES, IDC_OVERWRITE_OVERWRITE}, {IDC_SAVE_INFO_DONT_SHOW, IDOK}});
      dialog.OnSave();
      ASSERT_EQ(2u, DialogAnswerer::Seen().size());
      EXPECT_EQ("news.html\r\n", DialogAnswerer::Seen()[0][2]);
      EXPECT_EQ("", DialogAnswerer::Seen()[1][4]);  // a bar's notice names only the project
    }
    EXPECT_EQ(1, owner.saved);
    EXPECT_TRUE(panel.warnings.empty());
  }

  for (const char* name : {"Site\\main.js", "Site\\main_b1.gif", "Site\\main_b2_over.gif", "Site\\index.html",
                           "Site\\about.html", "Projects\\Menus (Project)\\Main_off.qtw",
                           "Projects\\Menus (Project)\\QTWTypes.twt"})
    EXPECT_TRUE(fixture.Exists(name)) << name;
  const std::string news = ReadFile(fixture.Path("Site\\news.html"));
  EXPECT_NE(std::string::npos, news.find("main.js"));
  EXPECT_NE(std::string::npos, news.find("<p>News of the day</p>"));
  ASSERT_EQ(1u, panel.commands.size());
  EXPECT_EQ(0u, panel.commands[0].find("insertnewitem#main_off.qtw;"));
  EXPECT_STREQ(fixture.Path("Site\\").GetString(), RegistryString("ExportDir").GetString());

  // The site for the browser test.
  namespace fs = std::filesystem;
  std::error_code error;
  fs::remove_all("saved-site", error);
  fs::copy(Native(fixture.Path("Site")), "saved-site", fs::copy_options::recursive, error);
  EXPECT_FALSE(error) << error.message();
}

// A single graphic: the program's export writes a stand-in image.
class ExportingNames : public FixedNames {
 public:
  bool SaveGraphicAs(const CString& path, bool) override {
    exported.push_back(path);
    std::ofstream(Native(path), std::ios::binary) << "GIF89a image";
    return true;
  }
  std::vector<CString> exported;
};

class SingleGraphicPanel : public FakePanelServices {
 public:
  using FakePanelServices::FakePanelServices;
  bool IsNavBarMode() override { return false; }
};

TEST(SaveAsDialog, NameChecksThenSaveIntoProject) {
  UtilServices utilities;
  CFakeNavBarServices fixture;
  fixture.navBarMode = false;
  SingleGraphicPanel panel(fixture);
  ExportingNames names;
  fixture.MakeFolder("Site");
  fixture.MakeFolder("Projects");
  fixture.graphic.SetExportType(0);
  if (HKEY key = OpenOptionsKey()) {
    SetRegDWORD(key, "SaveInfoDialog", 0);
    CloseRegKey(key);
  }

  ParentWindow parentWindow;
  ASSERT_TRUE(parentWindow.GetSafeHwnd());
  NoSaved owner;
  {
    CSaveAsDlg dialog(&owner);
    ASSERT_TRUE(dialog.Create(IDD_SAVE_AS, fixture.Path("Site\\Graphic1.gif"), &parentWindow));
    ASSERT_NE(0, dialog.OnActivatePanel());
    CString shown;
    dialog.GetDlgItem(IDC_SAVE_NAME)->GetWindowText(shown);
    EXPECT_STREQ("Graphic1", shown.GetString());

    // The "Save in:" drop-down lists the folders down to the current one; choosing the one
    // above opens it, and Home comes back.
    for (int button : {IDC_SAVE_UP, IDC_SAVE_HOME, IDC_SAVE_NEW_FOLDER})
      EXPECT_NE(0, dialog.GetDlgItem(button)->SendMessage(BM_GETIMAGE, IMAGE_ICON)) << button;
    CSavePathCombo* combo = dialog.GetPathCombo();
    ASSERT_TRUE(combo && combo->GetSafeHwnd());
    const std::vector<CString> chain = MakeFolderChain(fixture.Path("Site"));
    ASSERT_GE(chain.size(), 2u);
    ASSERT_GE(combo->Paths().size(), chain.size());
    EXPECT_STREQ(chain.back().GetString(), combo->GetSelectedPath().GetString());
    combo->SendMessage(CB_SETCURSEL, chain.size() - 2);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SAVE_PATH_COMBO, CBN_SELCHANGE), (LPARAM)combo->GetSafeHwnd());
    EXPECT_STREQ(chain[chain.size() - 2].GetString(), dialog.GetCurrentFolder().GetString());
    bool siteListed = false;
    for (const CSaveAsGallery::Item& item : dialog.GetGallery()->Items())
      siteListed = siteListed || (item.isFolder && item.name == "Site");
    EXPECT_TRUE(siteListed);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SAVE_HOME, BN_CLICKED), 0);
    EXPECT_STREQ(chain.back().GetString(), dialog.GetCurrentFolder().GetString());
    // Enter in the open drop-down chooses a folder; it does not save.
    combo->SendMessage(CB_SHOWDROPDOWN, TRUE);
    if (combo->SendMessage(CB_GETDROPPEDSTATE)) {
      MSG enter = {combo->GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0};
      DialogAnswerer answerer({{IDC_SAVE_INFO_DONT_SHOW, IDOK}});  // should a save come up after all
      dialog.PreTranslateMessage(&enter);
      EXPECT_TRUE(names.exported.empty());
      combo->SendMessage(CB_SHOWDROPDOWN, FALSE);
    }
    EXPECT_STREQ(chain.back().GetString(), combo->GetSelectedPath().GetString());

    // Names that would leave the folder, or none at all, are refused with a message.
    for (const char* name : {"..\\..\\evil", "", "a:b", "what?"}) {
      dialog.SetDlgItemText(IDC_SAVE_NAME, name);
      dialog.OnSave();
    }
    EXPECT_EQ((std::vector<UINT>{IDS_SAVE_NAME_LEAVES_FOLDER, IDS_SAVE_NAME_EMPTY, IDS_SAVE_NAME_LEAVES_FOLDER,
                                 IDS_SAVE_FORBIDDEN_CHARACTERS}),
              panel.warnings);
    EXPECT_TRUE(names.exported.empty());

    // Enter in the name field saves; the notice names the exported image.
    dialog.SetDlgItemText(IDC_SAVE_NAME, "Home");
    {
      DialogAnswerer answerer({{IDC_SAVE_INFO_DONT_SHOW, IDOK}});
      MSG enter = {dialog.GetDlgItem(IDC_SAVE_NAME)->GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0};
      EXPECT_TRUE(dialog.PreTranslateMessage(&enter));
      ASSERT_EQ(1u, DialogAnswerer::Seen().size());
      EXPECT_NE(std::string::npos, DialogAnswerer::Seen()[0][4].find("Home.gif"));
    }
    EXPECT_EQ(1, owner.saved);
    ASSERT_EQ(1u, names.exported.size());
    EXPECT_STREQ(fixture.Path("Site\\Home.gif").GetString(), names.exported[0].GetString());
    // The record carries the name it was saved under (a refused name never reached it).
    EXPECT_STREQ("Home", fixture.graphic.GetExportPathName().GetString());

    // Back leaves without saving: the page hears of it.
    const int before = panel.messages;
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SAVE_BACK, BN_CLICKED), 0);
    EXPECT_EQ(before + 1, panel.messages);
    EXPECT_FALSE(dialog.IsWindowVisible());
  }

  EXPECT_TRUE(fixture.Exists("Projects\\Menus (Project)\\Home.qtw"));
  const std::vector<std::string> entry = Lines(fixture.Path("Projects\\Menus (Project)\\QTWTypes.twt"));
  ASSERT_EQ(3u, entry.size());
  EXPECT_EQ("$home.qtw", entry[1].substr(entry[1].find('$')));
  ASSERT_EQ(1u, panel.commands.size());
  EXPECT_EQ(0u, panel.commands[0].find("insertnewitem#home.qtw;"));
  EXPECT_STREQ(fixture.Path("Site\\").GetString(), RegistryString("ExportDir").GetString());
}

// Started by an HTML editor to change a style file: the command line names the style, the
// document folder and the result file; the main window is the test's own.
class EditorStart : public ExportingNames {
 public:
  SaveCommandLine GetCommandLine() override { return line; }
  bool SaveGraphicAs(const CString& path, bool reuse) override {
    return fail ? false : ExportingNames::SaveGraphicAs(path, reuse);
  }
  SaveCommandLine line;
  bool fail = false;
};

class EditorPanel : public SingleGraphicPanel {
 public:
  EditorPanel(CFakeNavBarServices& fixture, CWnd* main) : SingleGraphicPanel(fixture), m_main(main) {}
  CWnd* GetMainWindow() override { return m_main; }

 private:
  CWnd* m_main;
};

bool CloseWasPosted(HWND window) {
  MSG message;
  return ::PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}

TEST(SaveAsDialog, EditorStyleEditingSavesAtOnceAndClosesOnlyAfterASave) {
  UtilServices utilities;
  CFakeNavBarServices fixture;
  fixture.navBarMode = false;
  ParentWindow parentWindow;
  ASSERT_TRUE(parentWindow.GetSafeHwnd());
  EditorPanel panel(fixture, &parentWindow);
  EditorStart editor;
  fixture.MakeFolder("Site");
  fixture.MakeFolder("Styles");
  fixture.WriteFile("result.txt", "");
  fixture.graphic.SetExportType(0);
  editor.line.present = editor.line.hostedByEditor = editor.line.styleFile = true;
  editor.line.editorWindow = parentWindow.GetSafeHwnd();
  editor.line.fileFolder = fixture.Path("Site");
  editor.line.docPath = fixture.Path("Site");
  editor.line.styleFolder = fixture.Path("Styles");
  editor.line.styleBaseName = "Home";
  editor.line.resultPath = fixture.Path("result.txt");

  NoSaved owner;
  CSaveAsDlg dialog(&owner);
  ASSERT_TRUE(dialog.Create(IDD_SAVE_AS, fixture.Path("Site\\Graphic1.gif"), &parentWindow));

  // A failed export: nothing is kept, the editor's result stays empty and the program stays.
  editor.fail = true;
  EXPECT_EQ(0, dialog.OnActivatePanel());
  EXPECT_FALSE(CloseWasPosted(parentWindow.GetSafeHwnd()));
  EXPECT_EQ("", ReadFile(fixture.Path("result.txt")));
  EXPECT_FALSE(fixture.Exists("Styles\\Home.qtw"));

  // Then the save: over the edited style file, no question, the result and the close.
  editor.fail = false;
  EXPECT_EQ(0, dialog.OnActivatePanel());
  EXPECT_TRUE(fixture.Exists("Site\\Home.gif"));
  EXPECT_TRUE(fixture.Exists("Styles\\Home.qtw"));
  const std::vector<std::string> result = Lines(fixture.Path("result.txt"));
  ASSERT_EQ(3u, result.size());
  EXPECT_EQ("SnippetID=\"Styles\\Home.qtw\"", result[0]);
  EXPECT_EQ("PreviewHTML=\"<img src=\"Home.gif\" editor=\"barwright\" border=\"0\">\"", result[1]);
  EXPECT_TRUE(CloseWasPosted(parentWindow.GetSafeHwnd()));
  dialog.DestroyWindow();
}

TEST(SaveInfoNotice, ShownUntilTurnedOff) {
  if (HKEY key = OpenOptionsKey()) {
    ::RegDeleteValueA(key, "SaveInfoDialog");
    CloseRegKey(key);
  }
  EXPECT_TRUE(CSaveInfoDlg::ShouldShow());  // created with 0
  {
    DialogAnswerer answerer({{IDC_SAVE_INFO_DONT_SHOW, IDOK, IDC_SAVE_INFO_DONT_SHOW}});
    CSaveInfoDlg dialog(nullptr);
    dialog.SetProjectFolder("Menus (Project)");
    dialog.SetExportPath("C:\\site\\Home.gif");
    dialog.DoModal();
    ASSERT_EQ(1u, DialogAnswerer::Seen().size());
    EXPECT_EQ("C:\\site\\Home.gif", DialogAnswerer::Seen()[0][4]);
  }
  EXPECT_FALSE(CSaveInfoDlg::ShouldShow());
  CSaveInfoDlg::SetShow(true);
  EXPECT_TRUE(CSaveInfoDlg::ShouldShow());
}

}  // namespace
