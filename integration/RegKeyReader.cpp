#include "integration/RegKeyReader.h"

#include <vector>

namespace integration {

bool CRegKeyReader::Open(const char* subkey)
{
    Close();
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &m_key) == ERROR_SUCCESS ||
           (m_key = nullptr, false);
}

bool CRegKeyReader::ReadString(char* buffer, std::size_t size, const char* valueName)
{
    if (!m_key || size == 0)
        return false;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExA(m_key, valueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    // Read into a buffer of the value's own size: the stored text need not be terminated.
    std::vector<char> value(bytes + 1, '\0');
    DWORD read = bytes;
    if (RegQueryValueExA(m_key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &read) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    const std::size_t length = strnlen(value.data(), read);
    if (length + 1 > size)
        return false;
    memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return true;
}

void CRegKeyReader::Close()
{
    if (m_key) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
}

}  // namespace integration
