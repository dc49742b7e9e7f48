#include "framework/core/CFileException.h"

#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CFileException, CException)

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
        return sharingViolation;
    case ENOSPC:
    case EFBIG:
        return diskFull;
    case EIO:
        return hardIO;
    case ESPIPE:
        return badSeek;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    throw new CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void CFileException::Throw(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    static const char* const kCauseText[] = {
        "No error occurred.",
        "An unspecified error occurred.",
        "The file was not found.",
        "The path is not valid.",
        "Too many files are open.",
        "Access to the file was denied.",
        "An invalid file handle was used.",
        "The current working directory cannot be removed.",
        "There are no more directory entries.",
        "An error occurred while setting the file position.",
        "A hardware I/O error was reported.",
        "A sharing violation occurred.",
        "A locking violation occurred.",
        "The disk is full.",
        "An attempt was made to access beyond the end of the file.",
    };
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    const int count = static_cast<int>(sizeof(kCauseText) / sizeof(kCauseText[0]));
    CString text(m_cause >= 0 && m_cause < count ? kCauseText[m_cause] : kCauseText[genericException]);
    if (!m_strFileName.IsEmpty())
        text = m_strFileName + ": " + text;
    const UINT n = static_cast<UINT>(text.GetLength()) < nMaxError - 1 ? static_cast<UINT>(text.GetLength()) : nMaxError - 1;
    std::memcpy(lpszError, static_cast<LPCTSTR>(text), n);
    lpszError[n] = '\0';
    return TRUE;
}
