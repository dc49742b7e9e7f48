#include "util/Registry.h"

#include "util/AppUtilServices.h"

#ifndef _WIN32
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>
#endif

const char* const kRegistryAppName = "Barwright 1";

namespace {

const char kSourceFile[] = "Registry.cpp";

void InternalError(unsigned line) { AppUtilServices().SetInternalError(line, kSourceFile); }

#ifdef _WIN32

const REGSAM kAccessReadWrite = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;

HKEY BackendCreate(HKEY root, LPCSTR subKey, LPCSTR className) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result = RegCreateKeyExA(root, subKey, 0, const_cast<LPSTR>(className),
                                  REG_OPTION_NON_VOLATILE,
                                  KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, &key,
                                  &disposition);
    return result == ERROR_SUCCESS ? key : nullptr;
}

HKEY BackendOpen(HKEY root, LPCSTR subKey, bool write) {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, subKey, 0, write ? kAccessReadWrite : KEY_READ, &key);
    return result == ERROR_SUCCESS ? key : nullptr;
}

bool BackendClose(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }

bool BackendQuery(HKEY key, LPCSTR name, DWORD* type, BYTE* data, DWORD* size) {
    return RegQueryValueExA(key, name, nullptr, type, data, size) == ERROR_SUCCESS;
}

bool BackendSet(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) {
    return RegSetValueExA(key, name, 0, type, data, size) == ERROR_SUCCESS;
}

#else  // In memory, for the host build.

struct Value {
    DWORD type;
    std::vector<BYTE> bytes;
};

struct Key {
    std::map<std::string, Value> values;  // by lower-cased name
};

std::string LowerAscii(const char* text) {
    std::string s(text ? text : "");
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return s;
}

struct Store {
    std::map<std::string, Key> keys;                       // by lower-cased full path
    std::map<HKEY, std::pair<std::string, bool>> handles;  // open handle -> path, writable
    std::uintptr_t nextHandle = 0x1000;
};

Store& TheStore() {
    static Store store;
    return store;
}

// The full path of root\subKey, or false for an unknown handle.
bool FullPath(HKEY root, LPCSTR subKey, std::string& path) {
    Store& store = TheStore();
    if (root == HKEY_CURRENT_USER) {
        path = "hkey_current_user";
    } else {
        auto it = store.handles.find(root);
        if (it == store.handles.end())
            return false;
        path = it->second.first;
    }
    std::string sub = LowerAscii(subKey);
    while (!sub.empty() && sub.back() == '\\')
        sub.pop_back();
    if (!sub.empty())
        path += "\\" + sub;
    return true;
}

HKEY NewHandle(const std::string& path, bool write) {
    Store& store = TheStore();
    HKEY key = reinterpret_cast<HKEY>(store.nextHandle);
    store.nextHandle += 4;
    store.handles[key] = {path, write};
    return key;
}

HKEY BackendCreate(HKEY root, LPCSTR subKey, LPCSTR) {
    std::string path;
    if (!FullPath(root, subKey, path))
        return nullptr;
    // The key and every key above it.
    for (size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1))
        TheStore().keys[path.substr(0, pos)];
    TheStore().keys[path];
    return NewHandle(path, true);
}

HKEY BackendOpen(HKEY root, LPCSTR subKey, bool write) {
    std::string path;
    if (!FullPath(root, subKey, path) || !TheStore().keys.count(path))
        return nullptr;
    return NewHandle(path, write);
}

bool BackendClose(HKEY key) { return TheStore().handles.erase(key) == 1; }

Key* KeyOf(HKEY key, bool write) {
    Store& store = TheStore();
    auto handle = store.handles.find(key);
    if (handle == store.handles.end() || (write && !handle->second.second))
        return nullptr;
    auto it = store.keys.find(handle->second.first);
    return it == store.keys.end() ? nullptr : &it->second;
}

// RegQueryValueEx's contract: without data only the size is answered; data too small fails
// with the needed size.
bool BackendQuery(HKEY key, LPCSTR name, DWORD* type, BYTE* data, DWORD* size) {
    Key* k = KeyOf(key, false);
    if (!k)
        return false;
    auto it = k->values.find(LowerAscii(name));
    if (it == k->values.end())
        return false;
    const Value& value = it->second;
    DWORD needed = static_cast<DWORD>(value.bytes.size());
    if (type)
        *type = value.type;
    if (data) {
        if (!size || *size < needed) {
            if (size)
                *size = needed;
            return false;
        }
        if (needed)
            std::memcpy(data, value.bytes.data(), needed);
    }
    if (size)
        *size = needed;
    return true;
}

bool BackendSet(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) {
    Key* k = KeyOf(key, true);
    if (!k)
        return false;
    Value& value = k->values[LowerAscii(name)];
    value.type = type;
    value.bytes.assign(data, data + size);
    return true;
}

#endif

CString AppKeyPath(const char* leaf) {
    CString path;
    path.Format("Software\\Quor\\%s\\%s", kRegistryAppName, leaf);
    return path;
}

}  // namespace

HKEY CreateRegKey(HKEY root, LPCSTR subKey, LPCSTR className) {
    if (!root || !subKey) {
        InternalError(__LINE__);
        return nullptr;
    }
    return BackendCreate(root, subKey, className ? className : "");
}

HKEY OpenRegKey(HKEY root, LPCSTR subKey) {
    if (!root || !subKey) {
        InternalError(__LINE__);
        return nullptr;
    }
    return BackendOpen(root, subKey, true);
}

HKEY OpenRegKeyRead(HKEY root, LPCSTR subKey) {
    if (!root || !subKey) {
        InternalError(__LINE__);
        return nullptr;
    }
    return BackendOpen(root, subKey, false);
}

BOOL CloseRegKey(HKEY key) { return key && BackendClose(key); }

BOOL QueryRegValue(HKEY key, LPCSTR name, DWORD* type, BYTE* data, DWORD* size) {
    return key && BackendQuery(key, name, type, data, size);
}

BOOL SetRegValue(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) {
    if (!key || !data) {
        InternalError(__LINE__);
        return FALSE;
    }
    return BackendSet(key, name, type, data, size);
}

BOOL SetRegDWORD(HKEY key, LPCSTR name, DWORD value) {
    if (!key || !name) {
        InternalError(__LINE__);
        return FALSE;
    }
    return BackendSet(key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
}

BOOL SetRegBinary4(HKEY key, LPCSTR name, DWORD value) {
    if (!key || !name) {
        InternalError(__LINE__);
        return FALSE;
    }
    return BackendSet(key, name, REG_BINARY, reinterpret_cast<const BYTE*>(&value), 4);
}

DWORD GetRegDWORD(HKEY key, LPCSTR name) {
    if (!key || !name) {
        InternalError(__LINE__);
        return 0;
    }
    DWORD type = REG_NONE, value = 0, size = sizeof(value);
    if (!BackendQuery(key, name, &type, reinterpret_cast<BYTE*>(&value), &size) ||
        type != REG_DWORD || size != 4)
        return 0;
    return value;
}

DWORD GetRegDWORDOrBinary(HKEY key, LPCSTR name) {
    if (!key || !name) {
        InternalError(__LINE__);
        return 0;
    }
    DWORD type = REG_NONE, value = 0, size = sizeof(value);
    if (!BackendQuery(key, name, &type, reinterpret_cast<BYTE*>(&value), &size) ||
        (type != REG_DWORD && type != REG_BINARY) || size != 4)
        return 0;
    return value;
}

BOOL GetRegString(HKEY key, LPCSTR name, char* buffer, DWORD* size) {
    if (!key || !name || !buffer) {
        InternalError(__LINE__);
        return FALSE;
    }
    if (!size || *size == 0)
        return FALSE;
    DWORD room = *size;
    DWORD type = REG_NONE;
    DWORD got = room;
    if (!BackendQuery(key, name, &type, reinterpret_cast<BYTE*>(buffer), &got) ||
        type != REG_SZ || got > room)
        return FALSE;
    // Stored strings carry no terminator: add one, or refuse a value that fills the buffer.
    if (got < room)
        buffer[got] = '\0';
    else if (buffer[room - 1] != '\0')
        return FALSE;
    *size = got;
    return TRUE;
}

CString GetRegistryPathText() {
    CString text;
    text.Format("\\HKEY_CURRENT_USER\\Software\\Quor\\%s", kRegistryAppName);
    return text;
}

HKEY OpenOptionsKey() { return CreateRegKey(HKEY_CURRENT_USER, AppKeyPath("Options"), nullptr); }

HKEY OpenStartupKey(LPCSTR name) {
    CString path;
    path.Format("Software\\Quor\\%s\\Startup", (name && *name) ? name : kRegistryAppName);
    return CreateRegKey(HKEY_CURRENT_USER, path, nullptr);
}
