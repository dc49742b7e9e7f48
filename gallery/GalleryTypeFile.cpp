#include "gallery/GalleryTypeFile.h"

#include <cstdio>
#include <string>

#include "util/FileSystem.h"
#include "util/FileUtils.h"

namespace {

constexpr char kTypeFile[] = "QTWTypes.twt";
constexpr char kSizeMark = '\xB6';

bool ReadWhole(const CString& path, std::string& text)
{
    std::FILE* file = FileSystem::OpenStream(path, "rb");
    if (!file)
        return false;
    char buffer[8192];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool WriteWhole(const CString& path, const std::string& text)
{
    std::FILE* file = FileSystem::OpenStream(path, "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The file an entry line names: the text between the first "$" and the next one (a second "$"
// starts the "$preview" suffix). Empty for lines that are not entries.
std::string EntryName(const std::string& line)
{
    std::string body = line;
    while (!body.empty() && (body.back() == '\r' || body.back() == '\n'))
        body.pop_back();
    if (body.empty() || body[0] == '#' || body[0] == '&' || body[0] == kSizeMark)
        return std::string();
    const std::size_t dollar = body.find('$');
    if (dollar == std::string::npos)
        return std::string();
    const std::size_t end = body.find('$', dollar + 1);
    return body.substr(dollar + 1, end == std::string::npos ? std::string::npos : end - dollar - 1);
}

}  // namespace

TypeFileRemoval RemoveTypeFileEntry(const CString& folder, const CString& fileName)
{
    const CString path = CFileUtils::WithBackslash(folder) + kTypeFile;
    if (!CFileUtils::FileExists(path))
        return TypeFileRemoval::kNoTypeFile;
    std::string text;
    if (!ReadWhole(path, text))
        return TypeFileRemoval::kFailed;

    const std::string target = Lower(fileName.GetString());
    std::string kept;
    kept.reserve(text.size());
    bool removed = false;
    bool dropSizeLine = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(start, end - start);
        start = end;
        if (dropSizeLine && !line.empty() && line[0] == kSizeMark) {
            dropSizeLine = false;
            continue;
        }
        dropSizeLine = false;
        if (!target.empty() && Lower(EntryName(line)) == target) {
            removed = true;
            dropSizeLine = true;
            continue;
        }
        kept += line;
    }
    if (!removed)
        return TypeFileRemoval::kNotListed;

    const int dot = path.ReverseFind('.');
    const CString temporary = path.Left(dot) + "NEW.twt";
    if (!WriteWhole(temporary, kept)) {
        FileSystem::RemoveFile(temporary);
        return TypeFileRemoval::kFailed;
    }
    if (!FileSystem::RemoveFile(path)) {
        FileSystem::RemoveFile(temporary);
        return TypeFileRemoval::kFailed;
    }
    if (!FileSystem::MoveEntry(temporary, path))
        return TypeFileRemoval::kFailed;
    return TypeFileRemoval::kRemoved;
}
