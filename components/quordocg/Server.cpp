// DLL entry points of the vector-document renderer: class objects for its two class ids and
// their registration.
#include <windows.h>
#include <olectl.h>

#include <new>

#include "components/common/ServerRegistration.h"
#include "components/quordocg/DocRenderer.h"

namespace {

HMODULE g_module;
LONG g_locks;

const char kClassText[] = "{336BD230-BDA6-11D1-B444-00A024ED787A}";
const char kOldClassText[] = "{3F753426-49E1-11D0-895D-0020AFE14B0F}";

class CRendererFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is a static object: counting its references is not needed.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        CDocRenderer* renderer = new (std::nothrow) CDocRenderer;
        if (!renderer)
            return E_OUTOFMEMORY;
        const HRESULT result = renderer->QueryInterface(iid, object);
        renderer->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }
};

CRendererFactory g_factory;

}  // namespace

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
    const HRESULT result = components::RegisterInprocServer(g_module, kClassText, BW_COMPONENT_NAME);
    if (FAILED(result))
        return result;
    return components::RegisterInprocServer(g_module, kOldClassText, BW_COMPONENT_NAME);
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    const HRESULT result = components::UnregisterInprocServer(kClassText);
    const HRESULT old = components::UnregisterInprocServer(kOldClassText);
    return FAILED(result) ? result : old;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_WebDocRenderer) && !IsEqualCLSID(clsid, CLSID_WebDocRendererOld))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return CDocRenderer::s_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
