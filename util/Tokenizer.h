// Settings that hold several values are stored as one text with the fields separated by the
// character 0xB6. CTokenizer splits such a text; CJoiner builds one.
#pragma once

#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/CStringArray.h"

const char kFieldSeparator = '\xB6';

class CTokenizer : public CObject {
public:
    explicit CTokenizer(const CString& text);

    // Appends the tokens of the text to the token array (two adjacent separators give an empty
    // token, so does a separator at the end) and answers the number of tokens in the array.
    int Split();
    // A copy of the token at index; empty at or beyond the token count and below 0.
    CString GetToken(int index) const;

private:
    CStringArray m_tokens;
    CString m_text;
    char m_separator;
};

class CJoiner : public CObject {
public:
    explicit CJoiner(char separator) : m_separator(separator) {}

    // The elements with the separator between neighbours; empty for a null or empty array.
    CString Join(const CStringArray* strings) const;

private:
    char m_separator;
};
