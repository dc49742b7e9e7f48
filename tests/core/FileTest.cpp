#include "framework/core/CFile.h"
#include "framework/core/CStdioFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Each test works on files of its own in the working directory and removes them.
class FileTest : public ::testing::Test {
protected:
    CString Path(const char* name)
    {
        CString path;
        path.Format("core_%s_%s", ::testing::UnitTest::GetInstance()->current_test_info()->name(), name);
        m_paths.push_back(path);
        std::remove(path);
        return path;
    }
    void TearDown() override
    {
        for (const CString& path : m_paths)
            std::remove(path);
    }
    static void WriteBytes(LPCTSTR path, const std::string& bytes)
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    }
    static std::string ReadBytes(LPCTSTR path)
    {
        CFile file;
        if (!file.Open(path, CFile::modeRead))
            return "<missing>";
        std::string bytes(static_cast<std::size_t>(file.GetLength()), '\0');
        bytes.resize(file.Read(&bytes[0], static_cast<UINT>(bytes.size())));
        return bytes;
    }

    std::vector<CString> m_paths;
};

TEST_F(FileTest, TextModeWritesAndReadsCrLf)
{
    const CString path = Path("lines.txt");
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        file.WriteString("first\nsecond\n\n");
        file.WriteString("last");
    }
    EXPECT_EQ(ReadBytes(path), "first\r\nsecond\r\n\r\nlast");

    CStdioFile file(path, CFile::modeRead | CFile::typeText);
    std::vector<std::string> lines;
    for (CString line; file.ReadString(line);)
        lines.push_back(static_cast<LPCTSTR>(line));
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "", "last"}));
    CString after("x");
    EXPECT_FALSE(file.ReadString(after));
    EXPECT_TRUE(after.IsEmpty());
}

TEST_F(FileTest, TextModeReadTable)
{
    struct Case {
        std::string bytes;
        UINT textMode;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb\nc\rd\r\n", CFile::typeText, {"a", "b", "c\rd"}},
        {"a\r\nb", CFile::typeBinary, {"a\r", "b"}},
        {"\r\r\n\n", 0 /* text by default */, {"\r", ""}},
        {std::string("n\0l\r\n", 5), CFile::typeText, {std::string("n\0l", 3)}},
        {"", CFile::typeText, {}},
    };
    const CString path = Path("table.txt");
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        CStdioFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeRead | c.textMode));
        std::vector<std::string> lines;
        for (CString line; file.ReadString(line);)
            lines.push_back(std::string(static_cast<LPCTSTR>(line), static_cast<std::size_t>(line.GetLength())));
        EXPECT_EQ(lines, c.lines) << c.bytes;
    }

    // The buffer form keeps the line feed and splits lines longer than the buffer.
    WriteBytes(path, "abcdef\r\nxy");
    CStdioFile file(path, CFile::modeRead);
    char buffer[5];
    std::vector<std::string> pieces;
    while (file.ReadString(buffer, sizeof buffer) != nullptr)
        pieces.push_back(buffer);
    EXPECT_EQ(pieces, (std::vector<std::string>{"abcd", "ef\n", "xy"}));

    // Read in text mode folds CR LF even where it straddles two reads.
    file.SeekToBegin();
    std::string text;
    char two[2];
    for (UINT n; (n = file.Read(two, 2)) > 0;)
        text.append(two, n);
    EXPECT_EQ(text, "abcdef\nxy");
}

TEST_F(FileTest, OpenModes)
{
    const CString path = Path("modes.bin");
    CFileException error;
    CFile file;
    EXPECT_FALSE(file.Open(path, CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, path);
    EXPECT_FALSE(file.Open(path, CFile::modeWrite));  // no modeCreate: must exist
    EXPECT_FALSE(file.Open("", CFile::modeRead));
    EXPECT_FALSE(file.IsOpen());

    WriteBytes(path, "0123456789");
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
    EXPECT_EQ(file.GetPosition(), 0u);
    file.Write("ab", 2);
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.SeekToEnd(), 10u);
    file.Write("!", 1);
    CFileStatus open;
    ASSERT_TRUE(file.GetStatus(open));  // counts what is still buffered
    EXPECT_EQ(open.m_size, 11u);
    file.Close();
    EXPECT_EQ(ReadBytes(path), "ab23456789!");

    ASSERT_TRUE(file.Open(path, CFile::modeReadWrite | CFile::shareDenyWrite));
    char buffer[4] = {};
    EXPECT_EQ(file.Read(buffer, 3), 3u);
    file.Write("XY", 2);  // straight after a read
    EXPECT_EQ(file.Seek(-2, CFile::end), 9u);
    EXPECT_EQ(file.Read(buffer, 4), 2u);
    EXPECT_EQ(std::string(buffer, 2), "9!");
    EXPECT_EQ(file.Read(buffer, 4), 0u);
    file.Close();
    EXPECT_EQ(ReadBytes(path), "ab2XY56789!");

    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    file.Close();
    EXPECT_EQ(ReadBytes(path), "");

    CFileException* thrown = nullptr;
    try {
        CFile missing(Path("missing.bin"), CFile::modeRead);
    } catch (CFileException* e) {
        thrown = e;
    }
    ASSERT_NE(thrown, nullptr);
    EXPECT_EQ(thrown->m_cause, CFileException::fileNotFound);
    char message[128];
    EXPECT_TRUE(thrown->GetErrorMessage(message, sizeof message));
    thrown->Delete();
}

TEST_F(FileTest, StatusRenameAndRemove)
{
    const CString path = Path("status.bin");
    WriteBytes(path, "0123456789");
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path, status));
    EXPECT_EQ(status.m_size, 10u);
    EXPECT_EQ(status.m_attribute & CFile::directory, 0);
    const CString fullName(status.m_szFullName);
    EXPECT_GT(fullName.GetLength(), path.GetLength());
    EXPECT_EQ(fullName.Right(path.GetLength()), path);
    EXPECT_NE(status.m_mtime.GetTime(), 0);

    // Only the modification time changes; the other values are written back as read.
    const CTime stamp(2001, 6, 15, 12, 30, 10);
    status.m_mtime = stamp;
    CFile::SetStatus(path, status);
    CFileStatus after;
    ASSERT_TRUE(CFile::GetStatus(path, after));
    EXPECT_EQ(after.m_mtime, stamp);
    EXPECT_EQ(after.m_size, 10u);
    EXPECT_EQ(after.m_attribute, status.m_attribute);

    CFileStatus folder;
    ASSERT_TRUE(CFile::GetStatus(".", folder));
    EXPECT_NE(folder.m_attribute & CFile::directory, 0);
    EXPECT_FALSE(CFile::GetStatus(Path("absent.bin"), folder));
    EXPECT_FALSE(CFile::GetStatus("", folder));

    const CString other = Path("other.bin");
    WriteBytes(other, "x");
    struct Case {
        const char* what;
        void (*action)(const CString& a, const CString& b);
    } failures[] = {
        {"rename onto an existing file", [](const CString& a, const CString& b) { CFile::Rename(a, b); }},
        {"remove a missing file", [](const CString&, const CString& b) { CFile::Remove(b + ".none"); }},
        {"rename a missing file", [](const CString& a, const CString&) { CFile::Rename(a + ".none", a + ".new"); }},
    };
    for (const Case& c : failures) {
        bool threw = false;
        try {
            c.action(path, other);
        } catch (CFileException* e) {
            threw = true;
            e->Delete();
        }
        EXPECT_TRUE(threw) << c.what;
    }
    EXPECT_EQ(ReadBytes(other), "x");  // not replaced

    const CString renamed = Path("renamed.bin");
    CFile::Rename(path, renamed);
    EXPECT_EQ(ReadBytes(renamed), "0123456789");
    CFile::Remove(renamed);
    EXPECT_EQ(ReadBytes(renamed), "<missing>");
}

}  // namespace
