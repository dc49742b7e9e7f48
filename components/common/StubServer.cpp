// An outside component that so far only installs: it registers its class and carries its
// version, but creates no objects yet. BW_COMPONENT_CLSID and BW_COMPONENT_NAME come from the
// build.
#include "components/common/ServerModule.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    return components::ServerDllMain(instance, reason);
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    return components::RegisterServerClass(BW_COMPONENT_CLSID, BW_COMPONENT_NAME);
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
