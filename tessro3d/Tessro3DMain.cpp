// The library's entry point: all state is static, so there is nothing to set up or tear down.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
