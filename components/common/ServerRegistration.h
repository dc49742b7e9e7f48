// Registration of an in-process COM server: the InprocServer32 key of its class, pointing at
// the module's own file. Shared by the outside components we build ourselves.
#pragma once

#include <windows.h>

namespace components {

// Writes HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32 (default value: this module's path,
// ThreadingModel "Apartment") and the class's description. Returns S_OK or SELFREG_E_CLASS.
HRESULT RegisterInprocServer(HMODULE module, const char* clsid, const char* description);

// Removes HKEY_CLASSES_ROOT\CLSID\{clsid} and everything below it.
HRESULT UnregisterInprocServer(const char* clsid);

}  // namespace components
