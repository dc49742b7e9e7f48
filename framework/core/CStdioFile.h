// CStdioFile: a CFile read and written line by line.
//
// In text mode (the default; typeBinary turns it off) the file's CR LF line breaks read as a
// single LF, and every LF written becomes CR LF, on every platform; positions stay byte offsets
// in the file. A lone CR is kept.
#pragma once

#include "framework/core/CFile.h"

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile() = default;
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);

    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;

    // The next line without its line feed; FALSE at the end of the file when nothing was read
    // (a last line without a line feed is still a line).
    virtual BOOL ReadString(CString& rString);
    // At most nMax - 1 characters, ending after the first line feed, which is kept; null at
    // the end of the file.
    virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    virtual void WriteString(LPCTSTR lpsz);

    BOOL IsTextMode() const { return m_bText; }

    using CFile::m_pStream;

private:
    // The next character with CR LF read as LF, or EOF.
    int GetTextChar();

    BOOL m_bText = TRUE;
};
