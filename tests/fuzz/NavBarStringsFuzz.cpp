// The navigation bar's strings in a style file: the button list, the menu settings string and
// the menu records. The input's lines are, in order: the button list, the settings string, then
// one menu record per line.
#include "tests/fuzz/FuzzTarget.h"
#include "tests/navbar/FakeNavBarServices.h"

#include <vector>

BW_FUZZ_TARGET(navbar)
{
    std::vector<CString> lines;
    std::string line;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            lines.push_back(CString(line.c_str()));
            line.clear();
        } else {
            line += static_cast<char>(data[i]);
        }
    }
    lines.push_back(CString(line.c_str()));

    CFakeNavBarServices services;
    CNavBar& bar = services.bar;
    bar.CreateDefaultButtons();
    bar.ParseButtonList(lines[0], kNavBarSeparator);
    if (lines.size() > 1)
        bar.SetSettingsString(lines[1]);
    std::vector<CString> records(lines.begin() + std::min<std::size_t>(2, lines.size()), lines.end());
    bar.ReadMenuRecords(&records);
    if (!lines[0].IsEmpty())
        bar.ApplyLayoutWord(static_cast<unsigned>(static_cast<unsigned char>(lines[0][0])) * 0x01010101u);

    // What was read writes out again.
    CString html;
    bar.BuildHTMLString("bar.qtw", &html);
    std::vector<CString> written;
    bar.WriteMenuRecords(&written);
    bar.GetSettingsString();
}
