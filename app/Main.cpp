// The program's entry: the one application object and the binding of Tessro3D's ordinals.
#include <windows.h>

#include "app/Tessro3DLink.h"
#include "app/widgets.h"

#ifdef BW_TESSRO3D_LINKED
#include "tessro3d/Tessro3DImports.h"
#endif

CWidgetsApp theApp;

namespace {

#ifdef BW_TESSRO3D_LINKED
void* TESSRO3D_CALL AllocCallback(std::uint32_t size)
{
    return Tessro3DAlloc(size);
}
void TESSRO3D_CALL FreeCallback(void* block)
{
    Tessro3DFree(block);
}

void SetUpTessro3D()
{
    Tessro3DSetMemoryHandlers(AllocCallback, FreeCallback);
    LOGPALETTE* palette = Tessro3DSelectPalette(2);
    Tessro3DSetPalette(palette);
}

void ReleaseTessro3D()
{
    Tessro3DReleaseMemory();
}
#else
// Without the import library the same four ordinals are bound when the program starts.
typedef void* (__cdecl* AllocFunc)(std::uint32_t);
typedef void(__cdecl* FreeFunc)(void*);
typedef int(__cdecl* SetMemoryHandlersFunc)(AllocFunc, FreeFunc);
typedef void*(__cdecl* SelectPaletteFunc)(int);
typedef int(__cdecl* SetPaletteFunc)(const void*);
typedef int(__cdecl* ReleaseMemoryFunc)();

HMODULE g_tessro3d = nullptr;

void* __cdecl AllocCallback(std::uint32_t size)
{
    return Tessro3DAlloc(size);
}
void __cdecl FreeCallback(void* block)
{
    Tessro3DFree(block);
}

FARPROC Ordinal(int n)
{
    return g_tessro3d ? ::GetProcAddress(g_tessro3d, MAKEINTRESOURCEA(n)) : nullptr;
}

void SetUpTessro3D()
{
    g_tessro3d = ::LoadLibraryA("Tessro3D.dll");
    auto setHandlers = (SetMemoryHandlersFunc)(void*)Ordinal(6);
    auto selectPalette = (SelectPaletteFunc)(void*)Ordinal(8);
    auto setPalette = (SetPaletteFunc)(void*)Ordinal(9);
    if (setHandlers)
        setHandlers(AllocCallback, FreeCallback);
    if (selectPalette && setPalette)
        setPalette(selectPalette(2));
}

void ReleaseTessro3D()
{
    if (auto release = (ReleaseMemoryFunc)(void*)Ordinal(3))
        release();
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    SetTessro3DLink(Tessro3DLink{SetUpTessro3D, ReleaseTessro3D});
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
