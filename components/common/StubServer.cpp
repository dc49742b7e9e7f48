// An outside component that so far only installs: it registers its class and carries its
// version, but creates no objects yet. BW_COMPONENT_CLSID and BW_COMPONENT_NAME come from the
// build.
#include "components/common/ServerRegistration.h"

namespace {
HMODULE g_module;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    return components::RegisterInprocServer(g_module, BW_COMPONENT_CLSID, BW_COMPONENT_NAME);
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    return components::UnregisterInprocServer(BW_COMPONENT_CLSID);
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object)
{
    if (object)
        *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return S_OK;
}
