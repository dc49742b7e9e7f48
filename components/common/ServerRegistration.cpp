#include "components/common/ServerRegistration.h"

#include <olectl.h>
#include <shlwapi.h>
#include <string>

namespace components {

namespace {

bool SetStringValue(HKEY key, const char* name, const std::string& value)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool WriteKey(const std::string& path, const char* name, const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = SetStringValue(key, name, value);
    RegCloseKey(key);
    return ok;
}

}  // namespace

HRESULT RegisterInprocServer(HMODULE module, const char* clsid, const char* description)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return SELFREG_E_CLASS;
    const std::string classKey = std::string("CLSID\\") + clsid;
    const std::string serverKey = classKey + "\\InprocServer32";
    if (!WriteKey(classKey, nullptr, description) || !WriteKey(serverKey, nullptr, path) ||
        !WriteKey(serverKey, "ThreadingModel", "Apartment"))
        return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT UnregisterInprocServer(const char* clsid)
{
    const std::string classKey = std::string("CLSID\\") + clsid;
    const DWORD result = SHDeleteKeyA(HKEY_CLASSES_ROOT, classKey.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

}  // namespace components
