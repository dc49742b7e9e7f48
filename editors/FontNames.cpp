#include "editors/FontNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace FontNames {

namespace {

bool IsScriptCharSet(int charSet)
{
    return ScriptSuffix(charSet)[0] != '\0';
}

bool IsAnsiOrSymbol(int charSet)
{
    return charSet == 0 || charSet == 2;
}

// Each entry counts up to this many characters; the rest of a longer line is passed over.
const int kLineLimit = 254;

// Reads the next line after skipping whitespace (line ends included). A carriage return just
// before a line feed ends the line as the line feed does. False at the end of the file.
bool ReadEntryLine(std::FILE* file, CString& line)
{
    int c;
    do {
        c = std::fgetc(file);
    } while (c != EOF && std::isspace(static_cast<unsigned char>(c)));
    if (c == EOF)
        return false;
    char buffer[kLineLimit + 1];
    int length = 0;
    while (c != EOF && c != '\n') {
        if (c == '\r') {
            const int next = std::fgetc(file);
            if (next == '\n' || next == EOF)
                break;
            std::ungetc(next, file);
        }
        if (length < kLineLimit)
            buffer[length++] = static_cast<char>(c);
        c = std::fgetc(file);
    }
    buffer[length] = '\0';
    line = buffer;
    return true;
}

CString Trimmed(CString text)
{
    text.TrimLeft();
    text.TrimRight();
    return text;
}

}  // namespace

const char* ScriptSuffix(int charSet)
{
    switch (charSet) {
    case 186: return " Baltic";
    case 238: return " CE";
    case 161: return " Greek";
    case 204: return " Cyr";
    case 162: return " Tur";
    default: return "";
    }
}

ReportAction ClassifyReport(bool windowsNT, int charSet, const CString& face, unsigned fontType)
{
    if (!windowsNT && IsScriptCharSet(charSet)) {
        const bool scriptFace = face == "Times New Roman" || face == "Arial" || face == "Courier New";
        return scriptFace ? kScriptRecord : kIgnore;
    }
    if (IsAnsiOrSymbol(charSet) && (fontType & kTrueTypeFontType))
        return kFamily;
    return kIgnore;
}

bool AcceptFamilyMember(int charSet, unsigned fontType, const CString& fullName)
{
    return IsAnsiOrSymbol(charSet) && (fontType & kTrueTypeFontType) &&
           (fullName.IsEmpty() || fullName[0] != '@');
}

void AppendScriptSuffix(char* fullName, const CString& scriptName, int charSet)
{
    const std::size_t length = static_cast<std::size_t>(std::find(fullName, fullName + kFullNameSize, '\0') - fullName);
    const char* suffix = ScriptSuffix(charSet);
    const std::size_t suffixLength = std::strlen(suffix);
    if (length >= static_cast<std::size_t>(kFullNameSize) ||
         length + static_cast<std::size_t>(scriptName.GetLength()) >= static_cast<std::size_t>(kFullNameSize - 1))
        return;
    // The script name may be shorter than the suffix (or empty): never write past the buffer.
    if (length + suffixLength >= static_cast<std::size_t>(kFullNameSize))
        return;
    std::memcpy(fullName + length, suffix, suffixLength + 1);
}

std::vector<int> SortAndUniqueOrder(const std::vector<Names>& names)
{
    std::vector<int> order(names.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int byFace = names[a].face.CompareNoCase(names[b].face);
        if (byFace != 0)
            return byFace < 0;
        return names[a].fullName.CompareNoCase(names[b].fullName) < 0;
    });
    std::vector<int> kept;
    for (int index : order)
        if (kept.empty() || names[index].fullName != names[kept.back()].fullName)
            kept.push_back(index);
    return kept;
}

int SubstituteFromFile(const CString& path, CString& face)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return 0;
    CString line;
    while (ReadEntryLine(file, line)) {
        if (line.Left(2) == "//")
            continue;
        const int comma = line.Find(',');
        const CString wanted = comma < 0 ? CString() : Trimmed(line.Left(comma));
        if (wanted.CompareNoCase(face) != 0)
            continue;
        face = Trimmed(comma < 0 ? line : line.Mid(comma + 1));
        std::fclose(file);
        return 1;
    }
    std::fclose(file);
    return 0;
}

}  // namespace FontNames
