#include "util/Tokenizer.h"

CTokenizer::CTokenizer(const CString& text) : m_text(text), m_separator(kFieldSeparator) {}

int CTokenizer::Split() {
    int start = 0;
    for (;;) {
        int separator = m_text.Find(m_separator, start);
        if (separator < 0) {
            m_tokens.Add(m_text.Mid(start));
            break;
        }
        m_tokens.Add(m_text.Mid(start, separator - start));
        start = separator + 1;
    }
    return static_cast<int>(m_tokens.GetSize());
}

CString CTokenizer::GetToken(int index) const {
    if (index < 0 || index >= static_cast<int>(m_tokens.GetSize()))
        return CString();
    return m_tokens.GetAt(index);
}

CString CJoiner::Join(const CStringArray* strings) const {
    CString result;
    if (!strings)
        return result;
    for (int i = 0; i < static_cast<int>(strings->GetSize()); ++i) {
        if (i > 0)
            result += m_separator;
        result += strings->GetAt(i);
    }
    return result;
}
