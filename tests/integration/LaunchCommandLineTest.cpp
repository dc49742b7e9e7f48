#include "integration/LaunchCommandLine.h"

#include <gtest/gtest.h>

using namespace integration;

namespace {

LaunchRequest BaseRequest()
{
    LaunchRequest r;
    r.programPath = "C:\\Program Files\\Quor\\Barwright.exe";
    r.hostWindow = 196754;
    r.resultPath = "C:\\Temp\\TW1A.tmp";
    r.docPath = "\"C:\\Sites\\index.htm\"";
    r.editorName = "Quor Bar Wright FrontPage Add-in";
    return r;
}

}  // namespace

TEST(LaunchCommandLine, PiecesInOrderWithEveryValueQuotedForTheRuntimeSplit)
{
    const std::string program = "\"C:\\Program Files\\Quor\\Barwright.exe\" ";
    const std::string tail = " /editor:\"Quor Bar Wright FrontPage Add-in\"";
    struct Case {
        const char* name;
        void (*change)(LaunchRequest&);
        std::string expected;
    };
    const Case cases[] = {
        {"plain", [](LaunchRequest&) {},
         program + " /hwnd:196754 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\index.htm\"" + tail},
        {"snippet in single quotes", [](LaunchRequest& r) { r.snippetId = "'Menus (Project)\\Home.qtw'"; },
         program + "\"Menus (Project)\\Home.qtw\" /hwnd:196754 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\index.htm\"" + tail},
        {"snippet without quotes", [](LaunchRequest& r) { r.snippetId = "a\\b.qtw"; },
         program + "\"a\\b.qtw\" /hwnd:196754 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\index.htm\"" + tail},
        {"snippet missing its closing quote", [](LaunchRequest& r) { r.snippetId = "\"a\\b.qtw"; },
         program + "\"a\\b.qtw\" /hwnd:196754 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\index.htm\"" + tail},
        // A lone backslash (the identifier of a graphic without a style file) must not escape
        // the closing quote.
        {"snippet of a lone backslash", [](LaunchRequest& r) { r.snippetId = "'\\'"; },
         program + "\"\\\\\" /hwnd:196754 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\index.htm\"" + tail},
        {"no window, no document, update", [](LaunchRequest& r) { r.hostWindow = 0; r.docPath.clear(); r.update = true; },
         program + " /result:C:\\Temp\\TW1A.tmp -update" + tail},
        {"folder ending in a backslash", [](LaunchRequest& r) { r.docPath = "\"C:\\Sites\\\""; },
         program + " /hwnd:196754 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\\\\"" + tail},
        {"temporary folder with blanks", [](LaunchRequest& r) { r.resultPath = "C:\\Documents and Settings\\Temp\\TW2.tmp"; },
         program + " /hwnd:196754 /result:\"C:\\Documents and Settings\\Temp\\TW2.tmp\" /docpath:\"C:\\Sites\\index.htm\"" + tail},
        {"colour and type 0", [](LaunchRequest& r) { r.backgroundColour = "#FF8000"; r.graphicType = 0; },
         program + " /hwnd:196754 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\index.htm\" /bgcolour:#FF8000 /gfxtype:0" + tail},
        {"colour that would break out", [](LaunchRequest& r) { r.backgroundColour = "red\" /x:1"; r.graphicType = -1; },
         program + " /hwnd:196754 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\index.htm\" /bgcolour:\"red\\\" /x:1\"" + tail},
        {"negative window and empty editor", [](LaunchRequest& r) { r.hostWindow = -5; r.editorName.clear(); },
         program + " /hwnd:-5 /result:C:\\Temp\\TW1A.tmp /docpath:\"C:\\Sites\\index.htm\" /editor:\"\""},
    };
    for (const Case& c : cases) {
        LaunchRequest request = BaseRequest();
        c.change(request);
        EXPECT_EQ(BuildLaunchCommandLine(request), c.expected) << c.name;
    }
}

TEST(LaunchCommandLine, LivePagesAreRecognisedInAnyCaseWithOrWithoutQuote)
{
    struct Case {
        const char* path;
        bool live;
    };
    const Case cases[] = {
        {"\"http://site/index.htm\"", true}, {"HTTP://site", true},   {"\"HtTp:", true},
        {"\"C:\\http:\\x\"", false},         {"\"http\"", false},     {"", false},
        {"\"", false},                       {"ftp://site", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsLiveDocumentPath(c.path), c.live) << c.path;
}
