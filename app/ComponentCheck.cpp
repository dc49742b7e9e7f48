#include "app/ComponentCheck.h"

#include "app/Errors.h"
#include "app/Resource.h"
#include "util/FileUtils.h"
#include "app/widgets.h"

#include <cstdio>
#include <vector>

const OutsideComponent kOutsideComponents[5] = {
    {"stylekit.dll", "1, 0, 1, 9", "CLSID\\{31A6E652-EBA2-11D0-8C33-00A024729DDE}\\InprocServer32"},
    {"styleops.dll", "1, 0, 1, 7", "CLSID\\{1E2A6000-F6B0-11d0-8C45-00A024729DDE}\\InprocServer32"},
    {"quordocg.dll", "1, 8, 5, 2", "CLSID\\{336BD230-BDA6-11d1-B444-00A024ED787A}\\InprocServer32"},
    {"qfontman.dll", "1, 0, 1, 1", "CLSID\\{27260715-95FF-11D0-89BD-0020AFE14B0F}\\InprocServer32"},
    {"Imgrexsrv.dll", "1, 0, 0, 9", "CLSID\\{1E18CBAE-9735-11D5-8FA3-004005712A88}\\InprocServer32"},
};

namespace {
const char kNoVersion[] = "0, 0, 0, 0";
const int kServerPathBuffer = 126;
const int kSystemFolderBuffer = 100;
}  // namespace

CString GetComponentFileVersion(const CString& path)
{
    if (path.IsEmpty() || path.GetLength() > kServerPathBuffer || !CFileUtils::FileExists(path))
        return kNoVersion;
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (!size)
        return kNoVersion;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(path, 0, size, block.data()))
        return kNoVersion;
    char* text = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileVersion", (void**)&text, &length) || !text ||
        !length)
        return kNoVersion;
    // The entry need not be terminated inside the block.
    return CString(text, (int)strnlen(text, length));
}

int CompareComponentVersions(const char* a, const char* b)
{
    int va[4], vb[4];
    if (std::sscanf(a, "%d, %d, %d, %d", &va[0], &va[1], &va[2], &va[3]) != 4 ||
        std::sscanf(b, "%d, %d, %d, %d", &vb[0], &vb[1], &vb[2], &vb[3]) != 4)
        return 0;
    for (int i = 0; i < 4; ++i)
        if (va[i] != vb[i])
            return va[i] - vb[i];
    return 0;
}

CString GetRegisteredServerPath(const char* key)
{
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return CString();
    char buffer[kServerPathBuffer + 1] = {};
    DWORD size = kServerPathBuffer;
    DWORD type = 0;
    const LONG status = ::RegQueryValueExA(handle, nullptr, nullptr, &type, (BYTE*)buffer, &size);
    ::RegCloseKey(handle);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return CString();
    buffer[size < (DWORD)kServerPathBuffer ? size : kServerPathBuffer] = 0;
    return CString(buffer);
}

int CWidgetsApp::RegisterServerDll(const char* path)
{
    HMODULE library = ::LoadLibraryA(path);
    if (!library)
        return 0;
    typedef HRESULT(STDAPICALLTYPE * RegisterFunction)();
    auto registerServer = (RegisterFunction)(void*)::GetProcAddress(library, "DllRegisterServer");
    const int registered = registerServer && registerServer() == S_OK ? 1 : 0;
    ::FreeLibrary(library);
    return registered;
}

int CWidgetsApp::CheckOutsideComponents()
{
    char systemFolder[kSystemFolderBuffer + 1] = {};
    const UINT length = ::GetSystemDirectoryA(systemFolder, kSystemFolderBuffer);
    if (!length || length >= (UINT)kSystemFolderBuffer)
        return 0;

    for (const OutsideComponent& component : kOutsideComponents) {
        const CString systemCopy = CString(systemFolder) + "\\" + component.file;
        const CString registered = GetRegisteredServerPath(component.key);
        if (!registered.IsEmpty() &&
            CompareComponentVersions(GetComponentFileVersion(registered), component.minimumVersion) >= 0)
            continue;

        if (CompareComponentVersions(GetComponentFileVersion(systemCopy), component.minimumVersion) < 0) {
            HANDLE file = ::CreateFileA(systemCopy, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                ::CloseHandle(file);
                const DWORD attributes = ::GetFileAttributesA(systemCopy);
                if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
                    ::SetFileAttributesA(systemCopy, attributes & ~FILE_ATTRIBUTE_READONLY);
            } else {
                const DWORD error = ::GetLastError();
                if (error == ERROR_SHARING_VIOLATION) {
                    ReportWarning(IDS_SHARING_VIOLATION, component.file);
                    return 0;
                }
                if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
                    return 0;
            }
            const CString source = m_rootPath + "dlls\\" + component.file;
            if (!::CopyFileA(source, systemCopy, FALSE)) {
                if (::GetLastError() == ERROR_SHARING_VIOLATION)
                    ReportWarning(IDS_SHARING_VIOLATION, component.file);
                return 0;
            }
        }
        if (!RegisterServerDll(systemCopy))
            return 0;
    }
    return 1;
}
