// State and entry-point helpers shared by the in-process servers we build: the module's handle
// kept by DllMain, the count of LockServer locks, registration of a class under this module, and
// a class factory living as a static object.
#pragma once

#include <windows.h>

#include <new>

#include "components/common/ServerRegistration.h"

namespace components {

// This module's handle, kept by ServerDllMain.
inline HMODULE g_serverModule = nullptr;

// Locks taken through a StaticClassFactory's LockServer.
inline LONG g_serverLocks = 0;

// The body of DllMain: keeps the module handle and turns off thread notifications.
inline BOOL ServerDllMain(HINSTANCE instance, DWORD reason)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_serverModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// Registers one class with this module as its in-process server.
inline HRESULT RegisterServerClass(const char* clsid, const char* description)
{
    return RegisterInprocServer(g_serverModule, clsid, description);
}

// The body of DllGetClassObject for a server whose classes all come from one factory: served
// tells whether the asked class is one of them.
inline HRESULT GetServerClassObject(bool served, IClassFactory& factory, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!served)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, object);
}

// A class factory that is a static object, so its references need no counting. It creates
// Object with new and hands out the asked interface; Unknown names the base the new object is
// released through when Object has more than one.
template <typename Object, typename Unknown = Object>
class StaticClassFactory : public IClassFactory {
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
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Object* created = new (std::nothrow) Object;
        if (!created)
            return E_OUTOFMEMORY;
        const HRESULT result = created->QueryInterface(iid, object);
        static_cast<Unknown*>(created)->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&g_serverLocks);
        else
            InterlockedDecrement(&g_serverLocks);
        return S_OK;
    }
};

}  // namespace components
