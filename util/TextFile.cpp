#include "util/TextFile.h"

#include <cstdlib>
#include <new>
#include <vector>

#include "util/FileUtils.h"

IMPLEMENT_DYNAMIC(CTextFile, CObject)

namespace {

const char kValueMark = '\xB6';
const int kUnknownGraphicType = 11;

void StripLineBreaks(CString& line) { line.TrimRight("\r\n"); }

// Decimal digits from the start of text, up to the first character that is not one.
DWORD ParseLeadingDigits(const CString& text) {
    DWORD value = 0;
    for (int i = 0; i < text.GetLength() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + static_cast<DWORD>(text[i] - '0');
    return value;
}

}  // namespace

CTextFile::CTextFile() : m_version(0), m_versioned(FALSE), m_mode(0) {}

CTextFile::~CTextFile() {
    if (m_file.IsOpen())
        m_file.Abort();
}

BOOL CTextFile::Open(const CString& path, UINT mode) {
    if (m_file.IsOpen())
        m_file.Abort();
    m_path = path;
    m_version = 0;
    m_versioned = FALSE;
    m_mode = mode;
    m_pending.Empty();
    m_hasPending = FALSE;
    return m_file.Open(path, mode);
}

void CTextFile::Close() {
    m_path.Empty();
    m_hasPending = FALSE;
    if (!m_file.IsOpen())
        return;
    try {
        m_file.Close();
    } catch (CFileException* e) {
        e->Delete();
        m_file.Abort();
    }
}

BOOL CTextFile::ReadRawLine(CString& line) {
    if (m_hasPending) {
        line = m_pending;
        m_hasPending = FALSE;
        return TRUE;
    }
    if (!m_file.IsOpen())
        return FALSE;
    try {
        return m_file.ReadString(line);
    } catch (CFileException* e) {
        e->Delete();
        return FALSE;
    }
}

CString CTextFile::ReadLine() {
    CString line;
    if (!ReadRawLine(line))
        line.Empty();
    return line;
}

BOOL CTextFile::WriteLine(const CString& text) {
    try {
        m_file.WriteString(text);
    } catch (CFileException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CTextFile::Rewind() {
    m_hasPending = FALSE;
    if (!m_file.IsOpen())
        return FALSE;
    try {
        m_file.SeekToBegin();
    } catch (CFileException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CTextFile::Truncate() {
    // Reopening with modeCreate empties the file and keeps it open for the rewrite.
    const UINT kAccess = CFile::modeRead | CFile::modeWrite | CFile::modeReadWrite;
    UINT mode = (m_mode & ~(kAccess | CFile::modeNoTruncate)) | CFile::modeCreate |
                CFile::modeReadWrite;
    m_file.Abort();
    m_hasPending = FALSE;
    return m_file.Open(m_path, mode);
}

int CTextFile::ReadIntAfterKey(const char* key, int missing) {
    CString prefix(key);
    CString line;
    // Only the end of the file ends the search; an empty line is just a line.
    while (ReadRawLine(line)) {
        if (line.Left(prefix.GetLength()) != prefix)
            continue;
        int colon = line.Find(':');
        CString value = colon < 0 ? CString() : line.Mid(colon + 1);
        value.Trim();
        return std::atoi(value);
    }
    return missing;
}

int CTextFile::ReadGraphicType() { return ReadIntAfterKey("GraphicType", kUnknownGraphicType); }

int CTextFile::ReadExportCheckSum() { return ReadIntAfterKey("ExportCheckSum", 0); }

CString CTextFile::ReadKeyValue(const CString& key) {
    if (key.IsEmpty() || !Rewind())
        return CString();
    CString prefix = key + " : ";
    CString line;
    while (ReadRawLine(line)) {
        if (line.Left(prefix.GetLength()) != prefix)
            continue;
        CString value = line.Mid(line.Find(':') + 1);
        value.Trim();
        if (!value.IsEmpty())
            return value;
    }
    return CString();
}

CString CTextFile::ReadEntry(CString* name, DWORD* flags, int* value) {
    if (!name || !flags)
        return CString();
    name->Empty();
    *flags = 0;
    if (value)
        *value = 0;
    CString line;
    if (!ReadRawLine(line))
        return CString();
    return ReadEntryLine(line, name, flags, value);
}

CString CTextFile::ReadEntryLine(const CString& rawLine, CString* name, DWORD* flags, int* value) {
    CString line = rawLine;
    StripLineBreaks(line);
    if (line.IsEmpty())
        return CString();
    if (line[0] == '#') {
        m_version = std::atoi(line.Mid(1));
        m_versioned = TRUE;
        return line;
    }
    if (line[0] == '&')
        return line;

    int dollar = line.Find('$');
    if (dollar > 0)
        *flags = ParseLeadingDigits(line.Left(dollar));
    *name = dollar >= 0 ? line.Mid(dollar + 1) : line.Mid(1);

    if (m_versioned) {
        CString valueLine;
        if (ReadRawLine(valueLine)) {
            StripLineBreaks(valueLine);
            if (valueLine.Find(kValueMark) >= 0) {
                if (value)
                    *value = std::atoi(valueLine.Mid(1));
            } else if (!valueLine.IsEmpty()) {
                // No value line after all: the line is the next record, keep it for the next read.
                m_pending = valueLine;
                m_hasPending = TRUE;
            }
        }
    }

    if (*flags != 0 && !(*flags & (kListEntryTheme | kListEntryProject)))
        *flags |= CFileUtils::IsProjectFolder(m_path) ? kListEntryProject : kListEntryTheme;

    CString record;
    record.Format("%lu$%s", static_cast<unsigned long>(*flags), static_cast<LPCTSTR>(*name));
    return record;
}

BOOL ReplaceListEntry(CTextFile* file, const CString& name, int newValue) {
    if (!file || !file->Rewind())
        return FALSE;
    file->m_version = 0;
    file->m_versioned = FALSE;

    // Every record is read to the end of the file: an empty line in the middle ends nothing.
    // The rewrite is in the current form: one version line first, a value line after each entry
    // (and only after entries), so that the values written are read back.
    CString versionLine;
    std::vector<CString> kept;
    bool found = false;
    CString target = name + ".qtw";
    CString line;
    while (file->ReadRawLine(line)) {
        CString entryName;
        DWORD flags = 0;
        int value = 0;
        CString record = file->ReadEntryLine(line, &entryName, &flags, &value);
        if (record.IsEmpty())
            continue;
        if (record[0] == '#') {
            if (versionLine.IsEmpty())
                versionLine = record;
            continue;
        }
        kept.push_back(record + "\n");
        if (record[0] == '&')
            continue;
        if (entryName.CompareNoCase(target) == 0) {
            found = true;
            value = newValue;
        }
        CString valueLine;
        valueLine.Format("%c%d%c\n", kValueMark, value, kValueMark);
        kept.push_back(valueLine);
    }
    if (!found)
        return TRUE;

    if (versionLine.IsEmpty())
        versionLine = "#1";
    if (!file->Truncate())
        return FALSE;
    if (!file->WriteLine(versionLine + "\n"))
        return FALSE;
    for (const CString& keptLine : kept)
        if (!file->WriteLine(keptLine))
            return FALSE;
    try {
        file->m_file.Flush();
    } catch (CFileException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

int SniffFileKind(const CString& path) {
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return 2;
    CString line;
    BOOL read = FALSE;
    try {
        read = file.ReadString(line);
    } catch (CFileException* e) {
        e->Delete();
        read = FALSE;
    }
    file.Abort();
    if (!read)
        return 2;
    StripLineBreaks(line);
    if (line.CompareNoCase("Barwright") == 0 || line.CompareNoCase("Trimwork") == 0)
        return 1;
    if (line.CompareNoCase("Preview") == 0)
        return 0;
    return 2;
}

char* ReadTextFileToBuffer(const CString& path, DWORD* length) {
    DWORD ignored = 0;
    DWORD& outLength = length ? *length : ignored;
    outLength = 0;
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);  // throws when it cannot open
    ULONGLONG size = file.GetLength();
    if (size == 0 || size >= 0x7FFFFFFF)
        return nullptr;
    char* buffer = new (std::nothrow) char[static_cast<size_t>(size) + 1];
    if (!buffer)
        return nullptr;
    UINT read = 0;
    try {
        read = file.Read(buffer, static_cast<UINT>(size));
    } catch (...) {
        delete[] buffer;
        throw;
    }
    buffer[read] = '\0';
    outLength = read + 1;
    return buffer;
}

int FindNoCase(const char* pattern, const char* text) {
    if (!pattern || !text || !*pattern || !*text)
        return -1;
    for (int start = 0; text[start]; ++start) {
        int i = 0;
        for (; pattern[i]; ++i) {
            unsigned t = static_cast<unsigned char>(text[start + i]);
            unsigned p = static_cast<unsigned char>(pattern[i]);
            if (t == 0)
                return -1;  // the rest of the text is shorter than the pattern
            if (p != t && !(t >= 65 && p == t + 32))
                break;
        }
        if (!pattern[i])
            return start;
    }
    return -1;
}

void WriteTextLines(std::ostream& out, const char* text, int length) {
    if (!text)
        return;
    auto isBreak = [](char c) { return c == '\r' || c == '\n' || c == '\0'; };
    int i = 0;
    while (i < length) {
        int start = i;
        while (i < length && !isBreak(text[i]))
            ++i;
        out.write(text + start, i - start);
        if (i < length && text[i] != '\0')
            out.put('\n');
        while (i < length && isBreak(text[i]))
            ++i;
    }
}
