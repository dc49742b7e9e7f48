// The program's per-user settings in the registry: a thin layer over the registry functions
// with strict checks of value types and sizes.
//
// Keys live under HKEY_CURRENT_USER\Software\Quor\Barwright 1. Every function answers 0, FALSE
// or null on failure; those that document it record an internal error (source "Registry.cpp")
// for a null key, name or buffer first. The caller closes every key it receives.
//
// On Windows these are the real registry functions. The host build (tests of the portable core)
// keeps the keys and values in memory for the life of the process.
#pragma once

#include "framework/core/CString.h"

#ifndef _WIN32
#include <cstdint>
typedef struct HKEY__* HKEY;
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#endif

// The application's name in its key paths.
extern const char* const kRegistryAppName;  // "Barwright 1"

HKEY CreateRegKey(HKEY root, LPCSTR subKey, LPCSTR className);
HKEY OpenRegKey(HKEY root, LPCSTR subKey);
HKEY OpenRegKeyRead(HKEY root, LPCSTR subKey);
BOOL CloseRegKey(HKEY key);

BOOL QueryRegValue(HKEY key, LPCSTR name, DWORD* type, BYTE* data, DWORD* size);
BOOL SetRegValue(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size);
BOOL SetRegDWORD(HKEY key, LPCSTR name, DWORD value);
// The value stored as 4 bytes of REG_BINARY.
BOOL SetRegBinary4(HKEY key, LPCSTR name, DWORD value);
// The value when it is a REG_DWORD of 4 bytes; else 0.
DWORD GetRegDWORD(HKEY key, LPCSTR name);
// The value when it is a REG_DWORD or REG_BINARY of exactly 4 bytes; else 0.
DWORD GetRegDWORDOrBinary(HKEY key, LPCSTR name);
// A REG_SZ value into buffer (size in: its room in bytes; out: the value's size). The program
// stores strings without a terminating NUL; the text read is always terminated, and a value that
// leaves no room for the terminator is refused.
BOOL GetRegString(HKEY key, LPCSTR name, char* buffer, DWORD* size);

// "\HKEY_CURRENT_USER\Software\Quor\Barwright 1".
CString GetRegistryPathText();
// HKEY_CURRENT_USER\Software\Quor\Barwright 1\Options, created when missing.
HKEY OpenOptionsKey();
// HKEY_CURRENT_USER\Software\Quor\<name>\Startup, created when missing; an empty or null name
// stands for the application's own ("Barwright 1").
HKEY OpenStartupKey(LPCSTR name);
