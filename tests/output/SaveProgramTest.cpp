// Saving from the real main dialog under Xvfb: a navigation bar started from the template
// library is saved from the output page's Save Graphic through the save page, into a project
// and into a page of a fixture site. The document renderer and the template engine are registered from
// the build; the program root is a copy of the source tree's. The saved site is left in
// "saved-program-site" of the test's folder for the browser test.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppServiceAdapters.h"
#include "app/Errors.h"
#include "app/MainWinManager.h"
#include "panels/PanelMessage.h"
#include "app/ProjectsFolder.h"
#include "app/Resource.h"
#include "app/SavePage.h"
#include "app/TopLevelManager.h"
#include "app/WidgetsDlg.h"
#include "app/widgets.h"
#include "document/OperationsManager.h"
#include "gallery/AutoGenerateTemplates.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarButton.h"
#include "output/OutputBaseDlg.h"
#include "output/SaveNavBarDlg.h"
#include "output/SaveResource.h"
#include "tests/output/SaveFixtures.h"
#include "tests/ModuleEntry.h"

namespace fs = std::filesystem;

namespace {

std::string WinePath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// Presses a button of each modal dialog of this thread that shows up (the overwrite list and
// the save information notice: their Overwrite and OK), and Esc on a message box.
std::vector<std::string> g_boxTexts;

BOOL CALLBACK AnswerDialog(HWND window, LPARAM) {
  if (!::IsWindowVisible(window) || ::GetPropA(window, "answered") ||
      (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
    return TRUE;
  int button = 0;
  if (::GetDlgItem(window, IDC_OVERWRITE_LIST_FILES))
    button = IDC_OVERWRITE_OVERWRITE;
  else if (::GetDlgItem(window, IDC_SAVE_INFO_DONT_SHOW))
    button = IDOK;
  else if (::GetDlgItem(window, IDC_MSGBOX_TEXT))
    button = IDCANCEL;
  if (button == IDCANCEL) {
    char text[1024] = {};
    ::GetDlgItemTextA(window, IDC_MSGBOX_TEXT, text, sizeof text - 1);
    g_boxTexts.push_back(text);
  }
  if (!button) return TRUE;
  ::SetPropA(window, "answered", window);
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)::GetDlgItem(window, button));
  return TRUE;
}

void CALLBACK AnswerDialogs(HWND, UINT, UINT_PTR, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), AnswerDialog, 0);
}

class SaveFromProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    for (const char* server : {BW_SERVER_PATH, BW_ENGINE_PATH}) {
      HMODULE module = ::LoadLibraryA(WinePath(server).c_str());
      ASSERT_TRUE(module) << server;
      auto registerServer = ModuleEntry<HRESULT(WINAPI*)()>(module, "DllRegisterServer");
      ASSERT_TRUE(registerServer && registerServer() == S_OK) << server;
      ::FreeLibrary(module);
    }
    // A program root of our own: the save writes project folders into it.
    std::error_code error;
    fs::remove_all("program-root", error);
    std::string source = WinePath(BW_ROOT_PATH);
    while (!source.empty() && source.back() == '\\') source.pop_back();
    // File by file: folders whose names differ only in case meet in one folder here.
    for (const auto& entry : fs::recursive_directory_iterator(source, error)) {
      const fs::path target = fs::path("program-root") / fs::relative(entry.path(), source, error);
      if (entry.is_directory(error))
        fs::create_directories(target, error);
      else
        fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, error);
    }
    ASSERT_TRUE(fs::exists("program-root/SysResources/prompts/save.web"));
    fs::create_directories("program-root/Site");
    char full[MAX_PATH] = {};
    ::GetFullPathNameA("program-root", sizeof full, full, nullptr);
    root = std::string(full) + "\\";

    InstallAppServiceAdapters();
    app.m_rootPath = root.c_str();
    app.m_tempFolder.m_number = static_cast<int>(::GetCurrentProcessId());
    app.m_projectsFolder = new CProjectsFolder(CString(root.c_str()) + "TWTemplates\\");
    app.m_currentProject = "Default";
    dlg = new CWidgetsDlg(nullptr, nullptr);
    app.m_mainDialog = dlg;
    app.m_pMainWnd = dlg;
    ASSERT_TRUE(dlg->Create(IDD_WIDGETS_DIALOG));
    ASSERT_FALSE(dlg->m_initFailed) << g_ErrorText;
    dlg->SetWindowPos((HWND)nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_SHOWWINDOW);
    top = static_cast<CTopLevelManager*>(dlg->GetTopLevelManager());
    ASSERT_TRUE(top);
    top->ActivateStartPage();
  }

  void TearDown() override {
    if (dlg) {
      dlg->m_noSave = 1;
      dlg->DestroyWindow();
      delete dlg;
    }
    delete app.m_projectsFolder;
    app.m_projectsFolder = nullptr;
    app.m_mainDialog = nullptr;
    app.m_pMainWnd = nullptr;
    UninstallAppServiceAdapters();
    ::CoUninitialize();
  }

  bool Exists(const std::string& relative) const {
    return ::GetFileAttributesA((root + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  CWidgetsApp app;
  CWidgetsDlg* dlg = nullptr;
  CTopLevelManager* top = nullptr;
  std::string root;
};

TEST_F(SaveFromProgram, NavigationBarIntoProjectAndPage) {
  // The library's navigation bars as a fresh installation makes them: style files from the
  // templates. Then a new navigation bar opens the first of them.
  {
    CAutoGenerateTemplates generator;
    generator.GenerateFolder(CString(root.c_str()) + "TWTemplates\\NavBars\\", dlg->GetOperationsManager(),
                             dlg->m_options, nullptr, 0);
  }
  ASSERT_TRUE(Exists("TWTemplates\\NavBars\\Clean Tabs_hnavbar_off.qtw"));
  top->HandleCommand("type-navbars");
  COperationsManager* operations = dlg->GetOperationsManager();
  ASSERT_TRUE(operations);
  ASSERT_TRUE(operations->IsNavBarMode());
  CNavBar* bar = GetManagerNavBar();
  ASSERT_TRUE(bar);
  ASSERT_GT(bar->GetButtonCount(), 0);
  // The library's bar opens with the states its style files declare, each with its own style.
  EXPECT_TRUE(bar->IsStateEnabled(0));
  EXPECT_TRUE(bar->IsStateEnabled(1));
  EXPECT_NE(-1, bar->GetStateRecord(0)->GetKiqFileName().Find("_off.kiq"));
  EXPECT_NE(-1, bar->GetStateRecord(1)->GetKiqFileName().Find("_over.kiq"));
  dlg->m_options->SetExportType(0);  // GIF, as chosen on the output panel
  ASSERT_EQ(1, bar->Render(true, 0));
  ASSERT_GT(bar->GetBarWidth(), 0);

  // A longer caption widens its button so that none of it is cut off (this library bar gives
  // every button the width of the widest), and the bar narrows again when it is taken back.
  CNavBarButton* first = nullptr;
  for (int i = 0; i < bar->GetButtonCount() && !first; ++i)
    if (CNavBarButton* button = bar->GetButton(i))
      if (!button->IsCap()) first = button;
  ASSERT_TRUE(first);
  const CString caption = first->GetText();
  const int width = first->Width();
  first->SetText("A caption far longer than any other");
  ASSERT_EQ(1, bar->Render(true, 0));
  EXPECT_GT(first->Width(), width + 60);
  first->SetText(caption);
  ASSERT_EQ(1, bar->Render(true, 0));
  EXPECT_EQ(width, first->Width());
  const std::string site = root + "Site\\";
  std::ofstream(site + "news.html", std::ios::binary)
      << "<html>\r\n<head><title>News</title></head>\r\n<body>\r\n<p>News of the day</p>\r\n</body>\r\n</html>\r\n";

  // The folder of the last save, where the save page opens.
  if (HKEY key = OpenOptionsKey()) {
    SetRegValue(key, "ExportDir", REG_SZ, reinterpret_cast<const BYTE*>(site.c_str()), static_cast<DWORD>(site.size()));
    CloseRegKey(key);
  }

  // The output page (the button bar's save button; "SimSave" as the pages send it), then its
  // Save Graphic button, which asks for the save page.
  CMainWinManager* main = top->GetMainManager();
  ASSERT_TRUE(main);
  main->HandleCommand("SimSave");
  CWinManagerBase* output = main->GetPage(12, false);
  ASSERT_TRUE(output && output->GetPanel());
  ASSERT_EQ(output, main->GetCurrentPage());
  CWnd* saveGraphic = output->GetPanel()->GetDlgItem(1029);
  ASSERT_TRUE(saveGraphic && ::IsWindowEnabled(saveGraphic->GetSafeHwnd())) << "the size estimate failed";
  output->GetPanel()->SendMessage(WM_COMMAND, MAKEWPARAM(1029, BN_CLICKED), (LPARAM)saveGraphic->GetSafeHwnd());
  CSavePage* page = dynamic_cast<CSavePage*>(main->GetPage(14, false));
  ASSERT_TRUE(page);
  EXPECT_EQ(page, main->GetCurrentPage());
  CSaveNavBarDlg* dialog = dynamic_cast<CSaveNavBarDlg*>(page->GetDialog());
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(dialog->IsWindowVisible());

  dialog->SetDlgItemText(IDC_SAVE_NAME, "Main");
  EXPECT_TRUE(dialog->AddUserPage(CString(site.c_str()) + "news.html"));
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerDialogs);
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SAVE_SAVE, BN_CLICKED),
                      (LPARAM)dialog->GetDlgItem(IDC_SAVE_SAVE)->GetSafeHwnd());
  ::KillTimer(nullptr, timer);
  std::string boxes;
  for (const std::string& text : g_boxTexts) boxes += text + " | ";
  EXPECT_EQ(1, page->IsSaved()) << boxes;
  EXPECT_TRUE(g_boxTexts.empty()) << boxes;

  for (const char* name : {"Site\\main.js", "Site\\main_b1.gif", "TWTemplates\\Default (Project)\\Main_off.qtw",
                           "TWTemplates\\Default (Project)\\Main_off.qgt",
                           "TWTemplates\\Default (Project)\\QTWTypes.twt"})
    EXPECT_TRUE(Exists(name)) << name;
  const std::string news = ReadFile((site + "news.html").c_str());
  EXPECT_NE(std::string::npos, news.find("main.js"));
  EXPECT_NE(std::string::npos, news.find("<p>News of the day</p>"));
  const std::vector<std::string> entry = Lines((root + "TWTemplates\\Default (Project)\\QTWTypes.twt").c_str());
  ASSERT_EQ(3u, entry.size());
  EXPECT_EQ("$main_off.qtw", entry[1].substr(entry[1].find('$')));
  EXPECT_EQ(0x100000, std::stoi(entry[1]) & 0x100000);

  // Back leaves the save page for the output page, which takes the size estimate from the
  // temporary export it wrote before instead of exporting again.
  CString estimate;
  ASSERT_TRUE(GetTempExportPath(estimate, nullptr));
  std::ofstream(estimate.GetString(), std::ios::binary) << "kept";
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SAVE_BACK, BN_CLICKED),
                      (LPARAM)dialog->GetDlgItem(IDC_SAVE_BACK)->GetSafeHwnd());
  EXPECT_FALSE(dialog->IsWindowVisible());
  EXPECT_EQ(output, main->GetCurrentPage());
  EXPECT_EQ("kept", ReadFile(estimate.GetString()));

  std::error_code error;
  fs::remove_all("saved-program-site", error);
  fs::copy("program-root/Site", "saved-program-site", fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
  EXPECT_FALSE(error) << error.message();
}

}  // namespace
