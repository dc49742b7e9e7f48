// Text files read line by line: gallery list entries, single settings, the whole-file reader,
// and the field tokenizer of settings that hold several values.
#include "util/TextFile.h"
#include "util/Tokenizer.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/ReadEntries.h"

BW_FUZZ_TARGET(textfile)
{
    const CString path(fuzz::WriteTempFile("list.twt", data, size).c_str());
    {
        CTextFile file;
        if (file.Open(path, CFile::modeRead))
            fuzz::ReadAllEntries(file);
    }
    {
        CTextFile file;
        if (file.Open(path, CFile::modeRead)) {
            file.ReadGraphicType();
            file.ReadExportCheckSum();
            file.ReadKeyValue("KiqFileName");
        }
    }
    SniffFileKind(path);
    try {
        DWORD length = 0;
        delete[] ReadTextFileToBuffer(path, &length);
    } catch (CFileException* error) {
        delete error;
    }
    CTokenizer tokenizer(CString(std::string(reinterpret_cast<const char*>(data), size).c_str()));
    const int count = tokenizer.Split();
    for (int i = -1; i <= count; ++i)
        tokenizer.GetToken(i);
    FindNoCase("graphictype", std::string(reinterpret_cast<const char*>(data), size).c_str());
}
