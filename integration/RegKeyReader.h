// Reads string values of one key under HKEY_LOCAL_MACHINE; the key closes with the reader.
#pragma once

#include <windows.h>

#include <cstddef>

namespace integration {

class CRegKeyReader {
public:
    CRegKeyReader() = default;
    ~CRegKeyReader() { Close(); }
    CRegKeyReader(const CRegKeyReader&) = delete;
    CRegKeyReader& operator=(const CRegKeyReader&) = delete;

    bool Open(const char* subkey);
    // Reads a REG_SZ value into buffer (size bytes). Any failure, another type or a value that
    // does not fit leaves the buffer as it was and answers false.
    bool ReadString(char* buffer, std::size_t size, const char* valueName);
    void Close();

private:
    HKEY m_key = nullptr;
};

}  // namespace integration
