// CFileException: a failed file operation. m_cause is one of the causes below, m_lOsError the
// C runtime's errno value, m_strFileName the file concerned.
#pragma once

#include "framework/core/CException.h"
#include "framework/core/CString.h"

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);

    // The cause that matches a C runtime errno value.
    static int OsErrorToException(LONG lOsError);
    static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);
    static void Throw(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};
