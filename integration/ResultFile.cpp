#include "integration/ResultFile.h"

#include "integration/ModuleText.h"

namespace integration {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

void TakeLine(std::string line, ResultFileContents& contents)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::string::size_type start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    const std::string::size_type equals = line.find('=', start);
    if (equals == std::string::npos || equals - start > kResultKeyMax)
        return;
    const std::string key = line.substr(start, equals - start);
    std::string::size_type valueStart = equals + 1;
    while (valueStart < line.size() && IsBlank(line[valueStart]))
        ++valueStart;
    std::string value = line.substr(valueStart);
    // The module's buffers end at the first zero byte: keep what they would show.
    value = value.substr(0, value.find('\0'));
    if (value.size() > kResultValueMax)
        return;

    if (EqualsNoCase(key, "SnippetID")) {
        if (value.size() > kResultSnippetIdMax)
            return;
        contents.snippetId = value;
        contents.hasSnippetId = true;
    } else if (EqualsNoCase(key, "PreviewHTML")) {
        contents.previewHtml = value;
        contents.hasPreviewHtml = true;
    } else if (EqualsNoCase(key, "LiveHTML")) {
        contents.liveHtml = value;
        contents.hasLiveHtml = true;
    }
}

// Feeds the lines of a character source to TakeLine, dropping lines longer than the limit
// without holding more than the limit in memory.
template <typename NextChar>
ResultFileContents ReadLines(NextChar next)
{
    ResultFileContents contents;
    std::string line;
    bool overlong = false;
    for (;;) {
        const int c = next();
        if (c == EOF || c == '\n') {
            if (!overlong)
                TakeLine(line, contents);
            line.clear();
            overlong = false;
            if (c == EOF)
                break;
            continue;
        }
        if (line.size() >= kResultLineMax)
            overlong = true;
        else
            line += static_cast<char>(c);
    }
    return contents;
}

}  // namespace

ResultFileContents ReadResultFile(std::FILE* file)
{
    return ReadLines([file] { return std::fgetc(file); });
}

ResultFileContents ParseResultText(const std::string& text)
{
    std::string::size_type at = 0;
    return ReadLines([&] {
        return at < text.size() ? static_cast<unsigned char>(text[at++]) : EOF;
    });
}

}  // namespace integration
