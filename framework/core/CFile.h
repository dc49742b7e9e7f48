// CFile: a binary file over the C runtime's streams, the same on Windows and POSIX.
//
// Open answers FALSE (and fills the optional CFileException) when the file cannot be opened;
// the constructor that takes a name throws a CFileException* instead. Once open, a failing
// Read, Write, Seek or Close throws a CFileException* (disk full, I/O error): a caught
// exception is released with Delete(). The destructor closes an open file without throwing.
//
// Open modes: one of modeRead, modeWrite, modeReadWrite; modeCreate creates the file, and
// empties an existing one unless modeNoTruncate is added; without modeCreate the file must
// exist. A new file is positioned at its start. The share flags apply on Windows.
#pragma once

#include <cstdio>

#include "framework/core/CFileException.h"
#include "framework/core/CFileStatus.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20,
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
    static const int hFileNull = -1;

    CFile();
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Closes the file; throws when buffered data cannot be written.
    virtual void Close();
    // Closes the file, ignoring errors.
    virtual void Abort();
    virtual void Flush();

    // The number of bytes read: fewer than nCount only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    // Answers the new position from the start of the file.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;

    BOOL IsOpen() const { return m_pStream != nullptr; }
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;   // the name after the last folder separator
    CString GetFileTitle() const;  // the name without its extension

    BOOL GetStatus(CFileStatus& rStatus) const;
    // FALSE when the file does not exist or cannot be examined.
    static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
    // Writes the times that are not 0 and the attributes; throws CFileException* on failure.
    static void SetStatus(LPCTSTR lpszFileName, const CFileStatus& status);
    // These throw CFileException* on failure. Rename does not replace an existing file.
    static void Remove(LPCTSTR lpszFileName);
    static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);

    // The C runtime descriptor of the open file, hFileNull when closed.
    int m_hFile = hFileNull;

protected:
    // Reading and writing through one stream needs a seek between the two directions.
    enum LastOperation { opNone, opRead, opWrite };
    void PrepareFor(LastOperation op);
    void ThrowIfClosed() const;
    void ThrowErrno(int error) const;

    std::FILE* m_pStream = nullptr;
    CString m_strFileName;
    LastOperation m_lastOperation = opNone;
};
