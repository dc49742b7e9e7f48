#include "util/StyleLine.h"

#include <string>

namespace {
const char kStoredLineBreak = '\x02';
}

CString EscapeLineBreaks(const CString& text) {
    CString result = text;
    result.Replace('\n', kStoredLineBreak);
    return result;
}

CString UnescapeLineBreaks(const CString& text) {
    CString result = text;
    result.Replace(kStoredLineBreak, '\n');
    return result;
}

std::istream& ReadStyleLine(std::istream& in, CString& text) {
    // Read with get() as int: a 0xFF byte (a "y" with diaeresis in the system code page) is a
    // character like any other, not the end of the stream.
    std::string line;
    for (;;) {
        std::istream::int_type c = in.get();
        if (c == std::istream::traits_type::eof() || c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    // Reaching the end after some text is a complete last line, not a failed read.
    if (!line.empty() && in.eof())
        in.clear(std::ios::eofbit);
    text += CString(line.data(), static_cast<int>(line.size()));
    text = UnescapeLineBreaks(text);
    return in;
}
