// The integration object's COM identity and its dual interface, as editors and the type
// library (Tw3Interface.idl) see them. The slot order below is the type library's member order.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace integration {

// {0965D61E-B8ED-4a5c-8F63-C21C9FBF23B2}
const CLSID CLSID_QuorBarwrightHDInterface = {
    0x0965D61E, 0xB8ED, 0x4A5C, {0x8F, 0x63, 0xC2, 0x1C, 0x9F, 0xBF, 0x23, 0xB2}};
// {928D6205-ED43-45C6-A649-E2483FF71337}
const IID IID_IHotDogQuorBarwright = {
    0x928D6205, 0xED43, 0x45C6, {0xA6, 0x49, 0xE2, 0x48, 0x3F, 0xF7, 0x13, 0x37}};
// {BDD0A2AC-48B3-4832-8EE2-CF52F53ECB08}
const GUID LIBID_QBWHDINTEGRATIONLib = {
    0xBDD0A2AC, 0x48B3, 0x4832, {0x8E, 0xE2, 0xCF, 0x52, 0xF5, 0x3E, 0xCB, 0x08}};

constexpr const char* kClassIdText = "{0965D61E-B8ED-4a5c-8F63-C21C9FBF23B2}";
constexpr const char* kProgId = "QuorBarwrightHD.Interface.1";
constexpr const char* kVersionIndependentProgId = "QuorBarwrightHD.Interface";

// Every member answers an HRESULT; "pbRetVal" results are VARIANT_BOOL-like longs (-1 true).
struct IHotDogQuorBarwright : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE ModuleInfo(long* pbRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertNew(long* pbRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertExisting(long* pbRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE Edit(long* pbRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE ManageModules(long* pbRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE ManageAccount(long* pbRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE HtmlEncode(BSTR strHTML, BSTR* strEncodedHtml, long* pbRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LiveHtml(BSTR* pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PreviewHtml(BSTR* pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SnippetID(BSTR* pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SnippetID(BSTR newVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_HostAppName(BSTR newVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_appName(BSTR newVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_mfgName(BSTR newVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BackgroundColour(BSTR newVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_GraphicType(short newVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DocPath(BSTR newVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE ShowHelp(long* pbRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE Update(long* pbRetVal) = 0;
};

}  // namespace integration
