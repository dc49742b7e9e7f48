#include "probekit/Probekit.h"

#include <windows.h>
#include <objbase.h>

namespace {

// IXMLDOMDocument. Spelled out here so that only this one identifier ties us to the parser.
const IID kIidXmlDomDocument = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" int __cdecl ProbekitParser(void)
{
    // S_FALSE (already initialised here) must be balanced too; RPC_E_CHANGED_MODE (the thread
    // is in the multithreaded apartment) must not be, yet creation still works there.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    int result = 0;
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(L"Microsoft.XMLDOM", &clsid))) {
        IUnknown* document = nullptr;
        if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument,
                                       reinterpret_cast<void**>(&document))) &&
            document) {
            document->Release();
            result = 1;
        }
    }

    if (SUCCEEDED(init))
        CoUninitialize();
    return result;
}
