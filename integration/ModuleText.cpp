#include "integration/ModuleText.h"

#include <cstring>

namespace integration {

void ReplaceChar(char* text, char from, char to)
{
    if (!text)
        return;
    for (char* p = text; *p; ++p) {
        if (*p == from)
            *p = to;
    }
}

bool EnsureQuoted(char* text, std::size_t capacity)
{
    if (!text)
        return true;
    std::size_t n = std::strlen(text);
    if (n == 0)
        return true;
    if (n == 1 && text[0] == '"') {
        text[0] = '\0';
        return true;
    }
    const bool needsEnd = text[n - 1] != '"';
    const bool needsFront = text[0] != '"';
    const std::size_t quoted = n + (needsEnd ? 1 : 0) + (needsFront ? 1 : 0);
    if (quoted + 1 > capacity)
        return false;
    if (needsEnd) {
        text[n++] = '"';
        text[n] = '\0';
    }
    if (needsFront) {
        std::memmove(text + 1, text, n + 1);
        text[0] = '"';
    }
    return true;
}

bool CopyToBuffer(char* buffer, std::size_t capacity, const std::string& text)
{
    if (capacity == 0)
        return false;
    if (text.size() + 1 > capacity) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

std::string FindProgramBeside(const std::string& modulePath, bool (*exists)(const std::string&))
{
    static const char kProgram[] = "Barwright.exe";
    const std::string::size_type slash = modulePath.find_last_of("\\/");
    if (slash == std::string::npos)
        return std::string();
    std::string folder = modulePath.substr(0, slash);
    std::string candidate = folder + "\\" + kProgram;
    if (exists(candidate))
        return candidate;
    // Developers run the module from a build tree whose program lies beside it in Debug or
    // Release; the module's own folder has no such step.
    for (int level = 0; level < 2; ++level) {
        const std::string::size_type up = folder.find_last_of("\\/");
        if (up == std::string::npos)
            break;
        folder.erase(up);
        for (const char* sub : {"\\", "\\Debug\\", "\\Release\\"}) {
            candidate = folder + sub + kProgram;
            if (exists(candidate))
                return candidate;
        }
    }
    return std::string();
}

}  // namespace integration
