#include "tests/fuzz/FuzzTarget.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fuzz {

std::string TempFolder()
{
    static const std::string folder = [] {
        const fs::path path = fs::temp_directory_path() / ("bw-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path.string();
    }();
    return folder;
}

std::string ProgramPath(const std::string& nativePath)
{
    std::string text = nativePath;
    for (char& c : text)
        if (c == '/')
            c = '\\';
    return text;
}

std::string WriteTempFile(const char* tag, const std::uint8_t* data, std::size_t size)
{
    const std::string path = TempFolder() + "/" + tag;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

namespace {
// The temporary folder goes with the process.
struct Cleanup {
    ~Cleanup()
    {
        std::error_code error;
        fs::remove_all(fs::temp_directory_path() / ("bw-fuzz-" + std::to_string(::getpid())), error);
    }
} cleanup;
}  // namespace

}  // namespace fuzz
