// One fuzz target per reader of outside input. A target is a function over one input's bytes.
//
// Built with clang's libFuzzer (the fuzz preset, BW_LIBFUZZER), each target is its own program
// with the fuzzer's entry point. Otherwise every target registers itself with the replay
// program, which runs each one over its committed corpus and saved crash inputs as a test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

using TargetFunction = void (*)(const std::uint8_t* data, std::size_t size);

struct Registration {
    Registration(const char* name, TargetFunction function);
};

// A file of the given bytes in this process's own temporary folder (native path); the same
// name each time for one tag, so that inputs do not fill the disk.
std::string WriteTempFile(const char* tag, const std::uint8_t* data, std::size_t size);
// The temporary folder itself (native path, created on first use).
std::string TempFolder();
// The program's form of a native path: backslashes.
std::string ProgramPath(const std::string& nativePath);

}  // namespace fuzz

#ifdef BW_LIBFUZZER
#define BW_FUZZ_TARGET(name)                                                               \
    static void name##Fuzz(const std::uint8_t* data, std::size_t size);                  \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)    \
    {                                                                                      \
        name##Fuzz(data, size);                                                            \
        return 0;                                                                          \
    }                                                                                      \
    static void name##Fuzz(const std::uint8_t* data, std::size_t size)
#else
#define BW_FUZZ_TARGET(name)                                                               \
    static void name##Fuzz(const std::uint8_t* data, std::size_t size);                  \
    static const fuzz::Registration name##Registration(#name, name##Fuzz);                \
    static void name##Fuzz(const std::uint8_t* data, std::size_t size)
#endif
