// Text helpers of the integration module that work on its fixed, zero-terminated ANSI buffers.
// Portable: they hold no Windows type, so they are tested on the host build as well.
#pragma once

#include <cstddef>
#include <string>

namespace integration {

// Replaces every occurrence of `from` in the zero-terminated text by `to`, in place.
void ReplaceChar(char* text, char from, char to);

// Makes a text start and end with a double quote, in place: an empty text stays empty, a lone
// double quote becomes empty, otherwise a quote is added at the end and/or at the front where
// one is missing. `capacity` is the buffer's size in bytes including the terminator; when the
// quoted text would not fit, the text is left as it was and the answer is false.
bool EnsureQuoted(char* text, std::size_t capacity);

// Copies text into a buffer of `capacity` bytes. A text that does not fit (with its terminator)
// empties the buffer and answers false: a cut-off path or identifier would name something else.
bool CopyToBuffer(char* buffer, std::size_t capacity, const std::string& text);

// Case-insensitive comparison of two ANSI texts (ASCII letters only, as the editors' names and
// the result file's keys are plain ASCII).
bool EqualsNoCase(const std::string& a, const std::string& b);

// Finds Barwright's program file for a module at `modulePath`: "Barwright.exe" in the module's
// own folder, then in the folder one level up and two levels up, each followed by its Debug
// and Release subfolders. Answers the first candidate for which `exists` is true, or "".
std::string FindProgramBeside(const std::string& modulePath, bool (*exists)(const std::string&));

}  // namespace integration
