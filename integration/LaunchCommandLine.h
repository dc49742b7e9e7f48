// The command line with which the integration module starts Barwright for one editor request.
// Portable, so that its quoting is checked on the host build as well.
//
// Pieces, in order, each switch after one blank:
//   "program"  "snippet id"  /hwnd:N  /result:path  /docpath:"path"  /bgcolour:text
//   /gfxtype:N  -update  /editor:"name"
// Barwright splits its command line by the C runtime's rules (blanks separate, double quotes
// group, backslashes escape a double quote that follows them), so every value is quoted by
// those rules: a folder that ends in a backslash or a temporary folder with blanks arrives
// intact instead of running into the next switch.
#pragma once

#include <string>

namespace integration {

struct LaunchRequest {
    std::string programPath;       // Barwright's program file
    std::string snippetId;         // as the editor gave it; may carry single or double quotes
    long hostWindow = 0;           // the editor's window; 0 leaves the switch out
    std::string resultPath;        // the temporary result file
    std::string docPath;           // as stored by the object, in double quotes; "" leaves it out
    std::string backgroundColour;  // as given; "" leaves it out
    int graphicType = -1;          // -1 leaves the switch out
    bool update = false;
    std::string editorName;
};

// The longest command line the module builds (bytes, without the terminator).
constexpr std::size_t kMaxCommandLine = 10240 - 1;

// Appends text as one argument: in double quotes when `always` or when it is empty or holds a
// blank, tab or double quote; backslashes and double quotes inside are escaped as the C runtime
// expects.
void AppendArgument(std::string& line, const std::string& text, bool always);

// Removes one double quote at each end where present ("\"a\"" -> "a").
std::string WithoutQuotes(const std::string& text);

// True when a document path names a live page: its first five characters, after an optional
// leading double quote, read "http:" in any letter case.
bool IsLiveDocumentPath(const std::string& docPath);

// The whole command line (without checking its length).
std::string BuildLaunchCommandLine(const LaunchRequest& request);

}  // namespace integration
