// Saving a navigation bar with the program under Wine, as a user does: from a program root of
// its own, the start page's "Navigation bar" card starts a bar from the library, F12 shows the
// output page, its Save Graphic button the save page; there the existing news.html of a fixture
// site is double-clicked into the pages that receive the bar, the bar is named "Main" and saved
// into the project and the pages. The saved site is left in "saved-e2e-site" of the test's
// folder for the browser test.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/Resource.h"
#include "output/SaveResource.h"
#include "tests/e2e/ProgramSession.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using e2e::Dist;
using e2e::FindWindowOf;
using e2e::kTitle;
using e2e::Title;
using e2e::Ask;
using e2e::Click;
using e2e::CopyFolder;
using e2e::Exists;
using e2e::HasVisibleItem;
using e2e::ItemText;
using e2e::PressKey;
using e2e::ReachesMainWindow;
using e2e::ReadText;
using e2e::WaitUntil;

namespace fs = std::filesystem;

namespace {

const int kSaveGraphic = 1029;  // the output panel's Save Graphic button
const int kBrowserPreview = 1383;
const int kGifType = 1023;

}  // namespace

TEST(SaveEndToEnd, NavigationBarIntoProjectAndPage)
{
    ASSERT_FALSE(Dist().empty()) << "BW_DIST not set";
    const e2e::SiteProgramRoot own("e2e-program-root");
    ASSERT_EQ("", own.Ready());
    const std::string root = own.Root();
    const std::string site = own.Site();
    std::ofstream(site + "news.html", std::ios::binary)
        << "<html>\r\n<head><title>News</title></head>\r\n<body>\r\n<p>News of the day</p>\r\n</body>\r\n</html>\r\n";

    e2e::ProgramProcess program(root);
    ASSERT_TRUE(program.Started()) << "could not start " << root << "Barwright.exe";
    const HANDLE process = program.Handle();
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window) << "no main window";

    // A new navigation bar from the start page's card: the title names the new bar.
    ASSERT_TRUE(WaitUntil(process, window, [&] { return ReachesMainWindow(window, e2e::kNavigationBarCard); }))
        << "the start page's card stays covered";
    e2e::ClickNavigationBarCard(window);
    ASSERT_TRUE(WaitUntil(process, window, [&] { return Title(window).rfind(std::string(kTitle) + " - ", 0) == 0; }))
        << "no new bar after the card's click; title \"" << Title(window) << "\"";

    // F12: the output page, GIF as output type, then Save Graphic once the size estimate allows it.
    PressKey(window, VK_F12);
    HWND output = nullptr;
    ASSERT_TRUE(WaitUntil(process, window, [&] {
        output = FindWindowOf(program.Id(), [](HWND w) { return HasVisibleItem(w, kSaveGraphic) && HasVisibleItem(w, kBrowserPreview); }, window);
        return output != nullptr;
    })) << "F12 showed no output page";
    const auto gifChosen = [&] { return Ask(GetDlgItem(output, kGifType), BM_GETCHECK) == BST_CHECKED; };
    if (!gifChosen())
        Click(output, kGifType);
    ASSERT_TRUE(WaitUntil(process, window, [&] { return gifChosen() && IsWindowEnabled(GetDlgItem(output, kSaveGraphic)); }))
        << "GIF not chosen or Save Graphic disabled (the size estimate failed)";
    Click(output, kSaveGraphic);

    // The save page of a navigation bar, in the site's folder.
    HWND save = nullptr;
    ASSERT_TRUE(WaitUntil(process, window, [&] {
        save = FindWindowOf(program.Id(), [](HWND w) { return GetDlgItem(w, IDC_SAVE_PAGE_LIST) && HasVisibleItem(w, IDC_SAVE_SAVE); }, window);
        return save != nullptr;
    })) << "Save Graphic showed no navigation bar save page";
    HWND gallery = GetDlgItem(save, IDC_SAVE_GALLERY);
    ASSERT_TRUE(gallery);
    LRESULT news = LB_ERR;
    ASSERT_TRUE(WaitUntil(process, window, [&] {
        news = Ask(gallery, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("news.html"));
        return news != LB_ERR;
    })) << "the save page does not list the site's news.html";

    // news.html double-clicked: it joins the pages that receive the bar, checked.
    Ask(gallery, LB_SETCURSEL, news);
    PostMessageA(save, WM_COMMAND, MAKEWPARAM(IDC_SAVE_GALLERY, LBN_SELCHANGE), reinterpret_cast<LPARAM>(gallery));
    PostMessageA(save, WM_COMMAND, MAKEWPARAM(IDC_SAVE_GALLERY, LBN_DBLCLK), reinterpret_cast<LPARAM>(gallery));
    HWND pages = GetDlgItem(save, IDC_SAVE_PAGE_LIST);
    ASSERT_TRUE(WaitUntil(process, window, [&] { return Ask(pages, LVM_GETITEMCOUNT) == 2; }))
        << "news.html did not join the pages; files: " << ItemText(save, IDC_SAVE_FILE_LIST);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(2u, static_cast<UINT>(Ask(pages, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK)) >> 12)
            << "page " << row << " not checked";

    // The bar named "Main": the files to write follow the name.
    Ask(GetDlgItem(save, IDC_SAVE_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Main"));
    ASSERT_TRUE(WaitUntil(process, window, [&] {
        const std::string files = ItemText(save, IDC_SAVE_FILE_LIST);
        return files.find("news.html") != std::string::npos && files.find("main.js") != std::string::npos &&
               files.find("main_b1.gif") != std::string::npos;
    })) << "files to write: " << ItemText(save, IDC_SAVE_FILE_LIST);

    // Save: news.html exists, so the list of files to overwrite asks first; the save information
    // notice shows when the save is done. Any message box is a failure.
    Click(save, IDC_SAVE_SAVE);
    std::set<HWND> answered;
    std::vector<std::string> boxes;
    HWND notice = nullptr;
    bool asked = false;
    const bool done = WaitUntil(process, window, [&] {
        FindWindowOf(program.Id(), [&](HWND w) {
            if ((GetWindowLongA(w, GWL_STYLE) & WS_CHILD) || answered.count(w))
                return false;
            if (GetDlgItem(w, IDC_OVERWRITE_LIST_FILES)) {
                asked = true;
                Click(w, IDC_OVERWRITE_OVERWRITE);
            } else if (GetDlgItem(w, IDC_SAVE_INFO_DONT_SHOW)) {
                notice = w;
                Click(w, IDOK);
            } else if (GetDlgItem(w, IDC_MSGBOX_TEXT)) {
                boxes.push_back(ItemText(w, IDC_MSGBOX_TEXT));
                PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
            } else {
                return false;
            }
            answered.insert(w);
            return false;  // every window of the program is looked at
        });
        return !boxes.empty() || (notice && !IsWindowVisible(notice));
    }, 180);
    std::string boxTexts;
    for (const std::string& text : boxes)
        boxTexts += text + " | ";
    ASSERT_TRUE(boxes.empty()) << "message boxes: " << boxTexts;
    ASSERT_TRUE(done) << "the save did not finish (no save information notice, or it stayed)";
    EXPECT_TRUE(asked) << "no question before news.html was updated";

    // The site: the script, the buttons' images, the page with the script and still its text.
    for (const char* name : {"main.js", "main_b1.gif", "main_b2_over.gif", "Main.html"})
        EXPECT_TRUE(Exists(site + name)) << name;
    const std::string page = ReadText(site + "news.html");
    EXPECT_NE(std::string::npos, page.find("main.js")) << page;
    EXPECT_NE(std::string::npos, page.find("<p>News of the day</p>")) << page;
    // The project: the bar's style file and its entry in the project's list.
    const std::string projectFolder = root + "TWTemplates\\Default (Project)\\";
    EXPECT_TRUE(Exists(projectFolder + "Main_off.qtw"));
    const std::string types = ReadText(projectFolder + "QTWTypes.twt");
    const size_t entry = types.find("$main_off.qtw");
    ASSERT_NE(std::string::npos, entry) << types;
    const size_t lineStart = types.rfind('\n', entry) + 1;
    EXPECT_EQ(0x100000, std::stoi(types.substr(lineStart)) & 0x100000) << types;

    DWORD exitCode = 1;
    EXPECT_TRUE(program.CloseAndWait(window, &exitCode)) << "the program did not exit";
    EXPECT_EQ(0u, exitCode);

    EXPECT_EQ("", CopyFolder(root + "Site", "saved-e2e-site")) << "copying the saved site";
}
