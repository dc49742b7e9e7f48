#include "integration/LaunchCommandLine.h"

#include "integration/ModuleText.h"

#include <vector>

namespace integration {

void AppendArgument(std::string& line, const std::string& text, bool always)
{
    if (!always && !text.empty() && text.find_first_of(" \t\"") == std::string::npos) {
        line += text;
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            // Backslashes before a quote are escapes: double them, then escape the quote.
            line.append(backslashes * 2 + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line += c;
    }
    // Backslashes before the closing quote would escape it: double them.
    line.append(backslashes * 2, '\\');
    line += '"';
}

std::string WithoutQuotes(const std::string& text)
{
    std::string::size_type begin = 0;
    std::string::size_type end = text.size();
    if (end > begin && text[begin] == '"')
        ++begin;
    if (end > begin && text[end - 1] == '"')
        --end;
    return text.substr(begin, end - begin);
}

bool IsLiveDocumentPath(const std::string& docPath)
{
    const std::string::size_type start = !docPath.empty() && docPath[0] == '"' ? 1 : 0;
    return docPath.size() >= start + 5 && EqualsNoCase(docPath.substr(start, 5), "http:");
}

namespace {

// The snippet identifier in the form Barwright takes it: single quotes at either end (the form
// in which the module hands an identifier back to the editor) become double quotes, and the
// identifier is put in double quotes. Answers "" for an identifier that is empty after that.
std::string SnippetArgument(const std::string& snippetId)
{
    if (snippetId.empty())
        return std::string();
    std::vector<char> text(snippetId.begin(), snippetId.end());
    if (text.front() == '\'')
        text.front() = '"';
    if (text.back() == '\'')
        text.back() = '"';
    text.push_back('\0');
    text.resize(text.size() + 2);
    EnsureQuoted(text.data(), text.size());
    return std::string(text.data());
}

}  // namespace

std::string BuildLaunchCommandLine(const LaunchRequest& request)
{
    std::string line;
    // Always quoted: an unquoted path with blanks would let the system try "C:\Program" first.
    AppendArgument(line, request.programPath, true);

    line += ' ';
    const std::string snippet = SnippetArgument(request.snippetId);
    if (!snippet.empty())
        AppendArgument(line, WithoutQuotes(snippet), true);

    if (request.hostWindow != 0)
        line += " /hwnd:" + std::to_string(request.hostWindow);

    line += " /result:";
    AppendArgument(line, request.resultPath, false);

    if (!request.docPath.empty()) {
        line += " /docpath:";
        AppendArgument(line, WithoutQuotes(request.docPath), true);
    }
    if (!request.backgroundColour.empty()) {
        line += " /bgcolour:";
        AppendArgument(line, request.backgroundColour, false);
    }
    if (request.graphicType != -1)
        line += " /gfxtype:" + std::to_string(request.graphicType);
    if (request.update)
        line += " -update";

    line += " /editor:";
    AppendArgument(line, request.editorName, true);
    return line;
}

}  // namespace integration

