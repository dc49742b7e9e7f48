// Text files read line by line: single settings of a style file, the entries of a folder's
// gallery list file, and a few free helpers for text files.
//
// Gallery list file (one record per line):
//   "#<n>"            version line; files in the current form begin with "#1"
//   "&<folder>"       group line
//   "<flags>$<name>"  entry line (the flags may be missing)
//   "\xB6<n>\xB6"     value line, only in a versioned file, directly after each entry line
#pragma once

#include <ostream>

#include "framework/core/CObject.h"
#include "framework/core/CStdioFile.h"
#include "framework/core/CString.h"

// Entry flags the reader knows; the other bits belong to the gallery.
const DWORD kListEntryTheme = 0x01000000;
const DWORD kListEntryProject = 0x02000000;

class CTextFile : public CObject {
    DECLARE_DYNAMIC(CTextFile)
public:
    CTextFile();
    ~CTextFile() override;

    // Opens in text mode (line breaks read as a single line feed); mode is CFile's flags.
    BOOL Open(const CString& path, UINT mode);
    void Close();
    // The next line without its line break; empty at the end of the file.
    CString ReadLine();
    BOOL WriteLine(const CString& text);
    virtual CString GetPath() const { return m_path; }

    // From the current position: the integer after the ":" of the first line that begins with
    // "GraphicType"; 11 when there is none.
    int ReadGraphicType();
    // The same for "ExportCheckSum"; 0 when there is none.
    int ReadExportCheckSum();
    // From the start of the file: the first non-empty value of a line "<key> : <value>".
    CString ReadKeyValue(const CString& key);

    // The next record of a gallery list file, in the form the caller stores ("<flags>$<name>"
    // for an entry); empty at the end of the file and for an empty line.
    CString ReadEntry(CString* name, DWORD* flags, int* value);

    int GetFormatVersion() const { return m_version; }
    BOOL IsVersioned() const { return m_versioned; }

private:
    friend BOOL ReplaceListEntry(CTextFile* file, const CString& name, int newValue);

    BOOL ReadRawLine(CString& line);
    int ReadIntAfterKey(const char* key, int missing);
    CString ReadEntryLine(const CString& line, CString* name, DWORD* flags, int* value);
    BOOL Rewind();
    BOOL Truncate();

    CStdioFile m_file;
    CString m_path;
    int m_version;
    BOOL m_versioned;
    UINT m_mode;
    CString m_pending;  // a line read ahead that belongs to the next record
    BOOL m_hasPending = FALSE;
};

// Gives the list entry name + ".qtw" the new value and rewrites the file (opened for reading
// and writing) when it holds such an entry; the file is left as it was otherwise. TRUE.
BOOL ReplaceListEntry(CTextFile* file, const CString& name, int newValue);

// 1 for a style file (first line "Barwright" or "Trimwork"), 0 for a preview description
// ("Preview"), 2 otherwise and when the file cannot be read.
int SniffFileKind(const CString& path);

// The whole file in a new buffer (free with delete[]) followed by a zero byte; length is the
// number of bytes read plus one. No buffer and length 0 for an empty file. A file that cannot
// be opened throws the file class's CFileException*.
char* ReadTextFileToBuffer(const CString& path, DWORD* length);

// The position of the first match of pattern (lower case) in text, where a text letter also
// matches its lower-case form; -1 when none, or for an empty pattern or text.
int FindNoCase(const char* pattern, const char* text);

// Writes length bytes of text line by line: each run of carriage returns, line feeds and zero
// bytes after a line becomes one line feed (zero bytes alone are dropped).
void WriteTextLines(std::ostream& out, const char* text, int length);
