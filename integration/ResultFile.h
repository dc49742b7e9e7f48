// Reader of the result file that Barwright writes for the HTML editor: lines of a key, an equals
// sign and a value. The module takes the keys "SnippetID", "PreviewHTML" and "LiveHTML" (in any
// letter case) and ignores every other line. A value is the rest of its line after leading
// blanks, its surrounding double quotes included; a line ending in CR LF reads as one ending
// in LF. Portable, so that it runs on the host build with the sanitizers as well.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace integration {

// Limits, in characters without the terminator: the longest key and value the module keeps,
// the snippet identifier's own buffer, and the longest line it looks at. A line that breaks a
// limit is ignored as a whole: a cut-off identifier or HTML fragment would be inserted into the
// editor's page as if it were whole.
constexpr std::size_t kResultKeyMax = 127;
constexpr std::size_t kResultValueMax = 1023;
constexpr std::size_t kResultSnippetIdMax = 259;
constexpr std::size_t kResultLineMax = 4096;

struct ResultFileContents {
    bool hasSnippetId = false;
    bool hasPreviewHtml = false;
    bool hasLiveHtml = false;
    std::string snippetId;
    std::string previewHtml;
    std::string liveHtml;
};

// Reads the whole stream; a key given twice keeps its last value.
ResultFileContents ReadResultFile(std::FILE* file);

// The same over text held in memory.
ResultFileContents ParseResultText(const std::string& text);

}  // namespace integration
