// The command line with which the integration module starts the program for an editor: any
// texts the editor hands over arrive, split by the C runtime's rules, as exactly the arguments
// they were. The input's fields (separated by zero bytes) are the snippet identifier, the
// result file, the document path, the background colour, the editor name and the program path.
#include "integration/LaunchCommandLine.h"
#include "tests/fuzz/FuzzTarget.h"

#include <string>
#include <vector>

namespace {

// The C runtime's split of a command line (the program name first: quotes group, no escapes).
std::vector<std::string> SplitLikeTheRuntime(const std::string& line)
{
    std::vector<std::string> args;
    std::size_t i = 0;
    std::string program;
    if (i < line.size() && line[i] == '"') {
        for (++i; i < line.size() && line[i] != '"'; ++i) program += line[i];
        if (i < line.size()) ++i;
    }
    for (; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i) program += line[i];
    args.push_back(program);
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string arg;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
            if (i < line.size() && line[i] == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    arg += '"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    arg += '"';  // "" inside quotes: a quote
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                arg.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) arg += line[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

}  // namespace

BW_FUZZ_TARGET(commandline)
{
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size && fields.size() <= 6; ++i) {
        if (data[i] == 0)
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    }
    fields.resize(6);
    integration::LaunchRequest request;
    request.snippetId = fields[0];
    request.resultPath = fields[1];
    request.docPath = fields[2];
    request.backgroundColour = fields[3];
    request.editorName = fields[4];
    request.programPath = fields[5].empty() ? "C:\\Program Files\\Quor\\Barwright.exe" : fields[5];
    request.hostWindow = 1234;
    request.graphicType = 3;
    request.update = true;
    integration::IsLiveDocumentPath(request.docPath);
    const std::string line = integration::BuildLaunchCommandLine(request);
    // A program file's path holds no double quote and does not end in a backslash (the runtime
    // reads the program name without escapes); the rest must come back whole, from the end.
    if (request.programPath.find('"') != std::string::npos || request.programPath.back() == '\\')
        return;
    std::vector<std::string> expected = {"/hwnd:1234", "/result:" + request.resultPath};
    if (!request.docPath.empty())
        expected.push_back("/docpath:" + integration::WithoutQuotes(request.docPath));
    if (!request.backgroundColour.empty())
        expected.push_back("/bgcolour:" + request.backgroundColour);
    expected.insert(expected.end(), {"/gfxtype:3", "-update", "/editor:" + request.editorName});
    const std::vector<std::string> args = SplitLikeTheRuntime(line);
    if (args.size() < expected.size() + 1 || args[0] != request.programPath)
        __builtin_trap();
    for (std::size_t k = 0; k < expected.size(); ++k)
        if (args[args.size() - expected.size() + k] != expected[k])
            __builtin_trap();
}
