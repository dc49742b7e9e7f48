#include "integration/Tw3InterfaceApp.h"

#include "integration/ClassFactory.h"
#include "integration/Registrar.h"
#include "integration/Tw3Interface.h"
#include "integration/resource.h"

#include <olectl.h>

#include <new>

#include <string>

namespace integration {

CTw3InterfaceApp& CTw3InterfaceApp::Get()
{
    static CTw3InterfaceApp app;
    return app;
}

BOOL CTw3InterfaceApp::InitInstance(HINSTANCE instance)
{
    m_instance = instance;
    return TRUE;
}

void CTw3InterfaceApp::ExitInstance()
{
    m_instance = nullptr;
}

bool CTw3InterfaceApp::GetModulePath(char* buffer, DWORD size) const
{
    const DWORD length = GetModuleFileNameA(m_instance, buffer, size);
    if (length == 0 || length >= size) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

HRESULT CTw3InterfaceApp::LoadInterfaceTypeInfo(ITypeInfo** info) const
{
    *info = nullptr;
    char path[MAX_PATH];
    if (!GetModulePath(path, sizeof path))
        return TYPE_E_CANTLOADLIBRARY;
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(widePath, REGKIND_NONE, &library);
    if (FAILED(hr))
        return hr;
    hr = library->GetTypeInfoOfGuid(IID_IHotDogQuorBarwright, info);
    library->Release();
    return hr;
}

namespace {

std::string LoadRegistrarScript(HINSTANCE instance)
{
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(IDR_TW3INTERFACE), "REGISTRY");
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(instance, found)) : std::string();
}

}  // namespace

HRESULT CTw3InterfaceApp::RegisterServer()
{
    char path[MAX_PATH];
    if (!GetModulePath(path, sizeof path))
        return SELFREG_E_CLASS;
    const std::string script = LoadRegistrarScript(m_instance);
    if (script.empty() || FAILED(ApplyRegistrarScript(script, path, true)))
        return SELFREG_E_CLASS;

    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(widePath, REGKIND_REGISTER, &library);
    if (FAILED(hr))
        return SELFREG_E_TYPELIB;
    library->Release();
    return S_OK;
}

HRESULT CTw3InterfaceApp::UnregisterServer()
{
    const std::string script = LoadRegistrarScript(m_instance);
    char path[MAX_PATH];
    GetModulePath(path, sizeof path);
    const HRESULT keys = script.empty() ? E_FAIL : ApplyRegistrarScript(script, path, false);
    // The library is registered under the system kind of the build that compiled it.
#ifdef _WIN64
    const SYSKIND kind = SYS_WIN64;
#else
    const SYSKIND kind = SYS_WIN32;
#endif
    const HRESULT library = UnRegisterTypeLib(LIBID_QBWHDINTEGRATIONLib, 1, 0, 0x0409, kind);
    if (FAILED(keys))
        return SELFREG_E_CLASS;
    // A library that was never registered is no failure of unregistration.
    if (FAILED(library) && library != TYPE_E_REGISTRYACCESS && library != TYPE_E_CANTLOADLIBRARY)
        return SELFREG_E_TYPELIB;
    return S_OK;
}

}  // namespace integration

using integration::CTw3InterfaceApp;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        return CTw3InterfaceApp::Get().InitInstance(instance);
    }
    if (reason == DLL_PROCESS_DETACH)
        CTw3InterfaceApp::Get().ExitInstance();
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return CTw3InterfaceApp::Get().CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, integration::CLSID_QuorBarwrightHDInterface))
        return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) integration::CHotDogQuorBarwrightFactory;
    if (!factory)
        return E_OUTOFMEMORY;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

STDAPI DllRegisterServer()
{
    return CTw3InterfaceApp::Get().RegisterServer();
}

STDAPI DllUnregisterServer()
{
    return CTw3InterfaceApp::Get().UnregisterServer();
}
