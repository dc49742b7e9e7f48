#include "framework/core/CStdioFile.h"

#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        CFileException::Throw(error.m_cause, error.m_lOsError, error.m_strFileName);
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_bText = (nOpenFlags & typeBinary) == 0;
    return CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
}

int CStdioFile::GetTextChar()
{
    int ch = std::getc(m_pStream);
    if (ch == '\r' && m_bText) {
        const int next = std::getc(m_pStream);
        if (next == '\n')
            return next;
        if (next != EOF)
            std::ungetc(next, m_pStream);
    }
    return ch;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    if (!m_bText)
        return CFile::Read(lpBuf, nCount);
    if (nCount == 0)
        return 0;
    ThrowIfClosed();
    PrepareFor(opRead);
    char* out = static_cast<char*>(lpBuf);
    UINT n = 0;
    for (int ch; n < nCount && (ch = GetTextChar()) != EOF;)
        out[n++] = static_cast<char>(ch);
    if (n < nCount && std::ferror(m_pStream)) {
        const int error = errno != 0 ? errno : EIO;
        std::clearerr(m_pStream);
        ThrowErrno(error);
    }
    return n;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (!m_bText) {
        CFile::Write(lpBuf, nCount);
        return;
    }
    const char* text = static_cast<const char*>(lpBuf);
    UINT start = 0;
    for (UINT i = 0; i < nCount; ++i) {
        if (text[i] == '\n') {
            CFile::Write(text + start, i - start);
            CFile::Write("\r\n", 2);
            start = i + 1;
        }
    }
    CFile::Write(text + start, nCount - start);
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    if (m_pStream == nullptr)
        return FALSE;
    PrepareFor(opRead);
    CString line;
    bool any = false;
    for (int ch; (ch = GetTextChar()) != EOF;) {
        any = true;
        if (ch == '\n')
            break;
        line += static_cast<char>(ch);
    }
    if (!any)
        return FALSE;
    rString = line;
    return TRUE;
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax)
{
    if (lpsz == nullptr || nMax == 0 || m_pStream == nullptr)
        return nullptr;
    PrepareFor(opRead);
    UINT n = 0;
    while (n + 1 < nMax) {
        const int ch = GetTextChar();
        if (ch == EOF)
            break;
        lpsz[n++] = static_cast<char>(ch);
        if (ch == '\n')
            break;
    }
    lpsz[n] = '\0';
    return n > 0 ? lpsz : nullptr;
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    if (lpsz != nullptr)
        Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}
