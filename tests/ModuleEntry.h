#pragma once
// A function that a DLL exports, with its real type. The cast goes through a plain function
// pointer: FARPROC returns int on 32-bit Windows and long long on 64-bit, and a direct cast to
// another signature is flagged on one build or the other.
#include <windows.h>

template <typename Function>
Function ModuleEntry(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
