// Replays every target's corpus (tests/fuzz/corpus/<target>) and its saved crash inputs
// (tests/fuzz/crashes/<target>) as a test: a reader that crashes or trips a sanitizer on any of
// them fails it. Without arguments all targets run; arguments name the targets to run.
#include "tests/fuzz/FuzzTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace fuzz {
namespace {
std::vector<std::pair<std::string, TargetFunction>>& Targets()
{
    static std::vector<std::pair<std::string, TargetFunction>> targets;
    return targets;
}
}  // namespace

Registration::Registration(const char* name, TargetFunction function)
{
    Targets().emplace_back(name, function);
}

}  // namespace fuzz

int main(int argc, char** argv)
{
    const char* source = std::getenv("BW_SOURCE");
    const fs::path root = fs::path(source ? source : ".") / "tests" / "fuzz";
    auto& targets = fuzz::Targets();
    std::sort(targets.begin(), targets.end());
    int failures = 0;
    for (const auto& [name, function] : targets) {
        if (argc > 1 && std::find(argv + 1, argv + argc, name) == argv + argc)
            continue;
        int inputs = 0;
        for (const char* kind : {"corpus", "crashes"}) {
            const fs::path folder = root / kind / name;
            if (!fs::is_directory(folder))
                continue;
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files) {
                std::ifstream in(file, std::ios::binary);
                const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                function(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
                ++inputs;
            }
        }
        std::printf("%-16s %4d inputs\n", name.c_str(), inputs);
        if (inputs == 0) {
            std::printf("  no corpus for %s in %s\n", name.c_str(), root.string().c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
