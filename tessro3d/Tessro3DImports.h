// What a program that links Tessro3D.dll includes. The import library binds every function
// by ordinal (the DLL exports no names); start-up uses Tessro3DSetMemoryHandlers (6),
// Tessro3DSelectPalette (8) and Tessro3DSetPalette (9), and exit Tessro3DReleaseMemory (3).
#pragma once

#ifdef _WIN32
#define TESSRO3D_API __declspec(dllimport)
#endif
#include "tessro3d/Tessro3D.h"
