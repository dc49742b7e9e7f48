// The output page after another graphic was opened, with the program under Wine: a new bar from
// the start page's card is exported on the output page; then a single button and then a heading
// of the library are opened into the running program (as a style file double-clicked elsewhere
// arrives), F12 shows the output page again, and Save Graphic saves each. The estimate and the
// saved picture must be the graphic just opened, never the one exported before it.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/Resource.h"
#include "output/OutputBaseDlg.h"
#include "output/SaveResource.h"
#include "tests/e2e/ProgramSession.h"

#include <cstdio>
#include <set>
#include <string>

using namespace e2e;

namespace {

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size& other) const { return width == other.width && height == other.height; }
};

// The "<w>x<h> pixels" of the output page's estimate; 0x0 when the text has none.
Size EstimatePixels(const std::string& estimate)
{
    Size size;
    const size_t at = estimate.find(" pixels");
    if (at == std::string::npos)
        return size;
    size_t start = estimate.rfind(' ', at - 1);
    start = start == std::string::npos ? 0 : start + 1;
    std::sscanf(estimate.c_str() + start, "%dx%d", &size.width, &size.height);
    return size;
}

// The logical screen of a GIF file; 0x0 when it is none.
Size GifSize(const std::string& path)
{
    const std::string data = ReadText(path);
    Size size;
    if (data.size() < 10 || data.compare(0, 3, "GIF") != 0)
        return size;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(data[i]); };
    size.width = byte(6) | byte(7) << 8;
    size.height = byte(8) | byte(9) << 8;
    return size;
}

// The first style file of a library folder.
std::string FirstStyleFile(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.qtw").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return "";
    FindClose(search);
    return folder + found.cFileName;
}

class OutputPage {
public:
    OutputPage(ProgramProcess& program, HWND window) : program_(program), window_(window) {}

    // F12 and the output page with GIF chosen and its estimate made; answers the estimate.
    std::string Show()
    {
        PressKey(window_, VK_F12);
        const auto find = [&] {
            panel_ = FindWindowOf(program_.Id(), [](HWND w) {
                return HasVisibleItem(w, IDC_OUTPUT_SAVE) && HasVisibleItem(w, IDC_OUTPUT_PREVIEW);
            }, window_);
            return panel_ != nullptr;
        };
        if (!WaitUntil(program_.Handle(), window_, find))
            return "no output page";
        const auto gif = [&] { return Ask(GetDlgItem(panel_, IDC_OUTPUT_GIF), BM_GETCHECK) == BST_CHECKED; };
        if (!gif())
            Click(panel_, IDC_OUTPUT_GIF);
        if (!WaitUntil(program_.Handle(), window_, [&] {
                return gif() && IsWindowEnabled(GetDlgItem(panel_, IDC_OUTPUT_SAVE)) &&
                       EstimatePixels(ItemText(panel_, IDC_OUTPUT_SIZE)).width > 0;
            }))
            return "no estimate: " + ItemText(panel_, IDC_OUTPUT_SIZE);
        return ItemText(panel_, IDC_OUTPUT_SIZE);
    }

    // Save Graphic, the name on the save page, Save; answers what went wrong, or "".
    std::string Save(const std::string& name)
    {
        Click(panel_, IDC_OUTPUT_SAVE);
        HWND save = nullptr;
        if (!WaitUntil(program_.Handle(), window_, [&] {
                save = FindWindowOf(program_.Id(), [](HWND w) {
                    return HasVisibleItem(w, IDC_SAVE_NAME) && HasVisibleItem(w, IDC_SAVE_SAVE) &&
                           !GetDlgItem(w, IDC_SAVE_PAGE_LIST);
                }, window_);
                return save != nullptr;
            }))
            return "Save Graphic showed no save page";
        Ask(GetDlgItem(save, IDC_SAVE_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        Click(save, IDC_SAVE_SAVE);
        std::set<HWND> answered;
        std::string boxes;
        HWND notice = nullptr;
        const bool done = WaitUntil(program_.Handle(), window_, [&] {
            FindWindowOf(program_.Id(), [&](HWND w) {
                if ((GetWindowLongA(w, GWL_STYLE) & WS_CHILD) || answered.count(w))
                    return false;
                if (GetDlgItem(w, IDC_SAVE_INFO_DONT_SHOW)) {
                    notice = w;
                    Click(w, IDOK);
                } else if (GetDlgItem(w, IDC_MSGBOX_TEXT)) {
                    boxes += ItemText(w, IDC_MSGBOX_TEXT) + " | ";
                    PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
                } else {
                    return false;
                }
                answered.insert(w);
                return false;
            });
            return !boxes.empty() || (notice && !IsWindowVisible(notice));
        }, 120);
        if (!boxes.empty())
            return "message boxes: " + boxes;
        return done ? "" : "the save did not finish";
    }

private:
    ProgramProcess& program_;
    HWND window_;
    HWND panel_ = nullptr;
};

}  // namespace

TEST(OutputFollowsGraphic, EstimateAndSavedImageAreTheGraphicJustOpened)
{
    ASSERT_FALSE(Dist().empty()) << "BW_DIST not set";
    const SiteProgramRoot own("e2e-output-root");
    ASSERT_EQ("", own.Ready());
    const std::string root = own.Root();
    const std::string site = own.Site();

    ProgramProcess program(root);
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForMainWindow();
    ASSERT_TRUE(window) << "no main window";
    ASSERT_TRUE(WaitUntil(program.Handle(), window, [&] { return ReachesMainWindow(window, kNavigationBarCard); }));
    ClickNavigationBarCard(window);
    ASSERT_TRUE(WaitUntil(program.Handle(), window, [&] { return Title(window).rfind(std::string(kTitle) + " - ", 0) == 0; }))
        << "no new bar; title \"" << Title(window) << "\"";

    OutputPage output(program, window);
    const std::string barEstimate = output.Show();
    const Size bar = EstimatePixels(barEstimate);
    ASSERT_GT(bar.width, 0) << barEstimate;

    struct Case {
        const char* folder;
        const char* name;
    } cases[] = {{"Buttons", "SavedButton"}, {"Headings", "SavedHeading"}};
    for (const Case& each : cases) {
        SCOPED_TRACE(each.folder);
        const std::string style = FirstStyleFile(root + "TWTemplates\\" + each.folder + "\\");
        ASSERT_FALSE(style.empty()) << "no style file in " << each.folder;
        COPYDATASTRUCT data = {0, static_cast<DWORD>(style.size() + 1), const_cast<char*>(style.c_str())};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 60000, &result);

        const std::string estimate = output.Show();
        const Size shown = EstimatePixels(estimate);
        ASSERT_GT(shown.width, 0) << estimate;
        EXPECT_FALSE(shown == bar) << "the estimate is still the bar's: " << estimate;

        ASSERT_EQ("", output.Save(each.name));
        const std::string saved = site + each.name + ".gif";
        ASSERT_TRUE(Exists(saved)) << saved;
        const Size picture = GifSize(saved);
        EXPECT_EQ(shown.width, picture.width) << estimate;
        EXPECT_EQ(shown.height, picture.height) << estimate;
        // An estimate in bytes (up to 1 KB) is the size of the file written.
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        ASSERT_TRUE(GetFileAttributesExA(saved.c_str(), GetFileExInfoStandard, &attributes));
        if (estimate.find(" bytes") != std::string::npos)
            EXPECT_EQ(0u, estimate.find(std::to_string(attributes.nFileSizeLow) + " bytes")) << estimate;
    }

    DWORD exitCode = 1;
    EXPECT_TRUE(program.CloseAndWait(window, &exitCode)) << "the program did not exit";
}
