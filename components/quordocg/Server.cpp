// DLL entry points of the vector-document renderer: class objects for its two class ids and
// their registration.
#include <windows.h>
#include <olectl.h>

#include "components/common/ServerModule.h"
#include "components/quordocg/DocRenderer.h"

namespace {

const char kClassText[] = "{336BD230-BDA6-11D1-B444-00A024ED787A}";
const char kOldClassText[] = "{3F753426-49E1-11D0-895D-0020AFE14B0F}";

components::StaticClassFactory<CDocRenderer> g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    return components::ServerDllMain(instance, reason);
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    const HRESULT result = components::RegisterServerClass(kClassText, BW_COMPONENT_NAME);
    if (FAILED(result))
        return result;
    return components::RegisterServerClass(kOldClassText, BW_COMPONENT_NAME);
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    const HRESULT result = components::UnregisterInprocServer(kClassText);
    const HRESULT old = components::UnregisterInprocServer(kOldClassText);
    return FAILED(result) ? result : old;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object)
{
    const bool served =
        IsEqualCLSID(clsid, CLSID_WebDocRenderer) || IsEqualCLSID(clsid, CLSID_WebDocRendererOld);
    return components::GetServerClassObject(served, g_factory, iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return CDocRenderer::s_objects == 0 && components::g_serverLocks == 0 ? S_OK : S_FALSE;
}
