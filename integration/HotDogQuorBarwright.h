// The integration object: an HTML editor sets the texts of a request through its properties,
// calls InsertNew, InsertExisting, Edit or Update, which start Barwright and wait for it, and
// reads back the snippet identifier and the HTML from the result file Barwright wrote.
//
// Every text is kept in a fixed zero-terminated ANSI buffer (sizes below include the
// terminator). The object can be aggregated: the interfaces' IUnknown goes to the controlling
// object, and m_inner is the object's own, non-delegating IUnknown.
#pragma once

#include "integration/Tw3Interface.h"

#include <windows.h>

namespace integration {

// Sizes of the object's text buffers, in bytes including the terminator.
constexpr std::size_t kLongTextSize = 1024;
constexpr std::size_t kPathSize = 260;
constexpr std::size_t kColourSize = 16;

// Thread message that the watcher posts to the requesting thread when Barwright has ended.
constexpr UINT WM_PROCESS_FINISHED = WM_USER + 444;

// What the watcher thread gets: the process to wait for and the thread to notify. The watcher
// owns it and deletes it.
struct CWatchThreadParam {
    HANDLE process;
    DWORD requestingThread;
    // A reference on this module that the watcher gives back as it ends, so the module cannot
    // be unloaded under a watcher still running (the editor may return to its loop, and release
    // us, before the watcher has finished).
    HMODULE module;
};

DWORD WINAPI WatchProcess(LPVOID param);

class CHotDogQuorBarwright : public IHotDogQuorBarwright, public ISupportErrorInfo {
public:
    explicit CHotDogQuorBarwright(IUnknown* outer);
    virtual ~CHotDogQuorBarwright();

    // Hands out the first interface of a new object (count 0): released when that fails.
    HRESULT CreateInterface(REFIID iid, void** object);

    // IUnknown (delegating)
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, through the module's type library
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

    // IHotDogQuorBarwright
    STDMETHODIMP ModuleInfo(long* pbRetVal) override;
    STDMETHODIMP InsertNew(long* pbRetVal) override;
    STDMETHODIMP InsertExisting(long* pbRetVal) override;
    STDMETHODIMP Edit(long* pbRetVal) override;
    STDMETHODIMP ManageModules(long* pbRetVal) override;
    STDMETHODIMP ManageAccount(long* pbRetVal) override;
    STDMETHODIMP HtmlEncode(BSTR strHTML, BSTR* strEncodedHtml, long* pbRetVal) override;
    STDMETHODIMP get_LiveHtml(BSTR* pVal) override;
    STDMETHODIMP get_PreviewHtml(BSTR* pVal) override;
    STDMETHODIMP get_SnippetID(BSTR* pVal) override;
    STDMETHODIMP put_SnippetID(BSTR newVal) override;
    STDMETHODIMP put_HostAppName(BSTR newVal) override;
    STDMETHODIMP put_appName(BSTR newVal) override;
    STDMETHODIMP put_mfgName(BSTR newVal) override;
    STDMETHODIMP put_BackgroundColour(BSTR newVal) override;
    STDMETHODIMP put_GraphicType(short newVal) override;
    STDMETHODIMP put_DocPath(BSTR newVal) override;
    STDMETHODIMP ShowHelp(long* pbRetVal) override;
    STDMETHODIMP Update(long* pbRetVal) override;

    // One request (see BarwrightLaunch.cpp).
    BOOL LaunchBarwright();
    HWND FindHostWindow();
    BOOL StartProcess();
    BOOL BuildCommandLine(char* buffer, std::size_t size);
    static void FindBarwrightExe(char* buffer);
    BOOL CreateResultFileName();
    void PumpUntilDone(HANDLE watcher);
    BOOL ReadResultFile();
    BOOL DeleteResultFile();

private:
    class CInnerUnknown : public IUnknown {
    public:
        explicit CInnerUnknown(CHotDogQuorBarwright* owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        CHotDogQuorBarwright* m_owner;
    };

    HRESULT RunRequest(long* pbRetVal);
    HRESULT StoreText(BSTR text, char* buffer, std::size_t size);
    HRESULT EnsureTypeInfo();

    volatile LONG m_references = 0;
    CInnerUnknown m_inner;
    IUnknown* m_controlling;
    ITypeInfo* m_typeInfo = nullptr;

    HANDLE m_process = nullptr;
    HWND m_hostWindow = nullptr;
    char m_hostAppName[kLongTextSize] = {};
    char m_snippetId[kPathSize] = {};
    char m_resultFile[kPathSize] = {};
    char m_previewHtml[kLongTextSize] = {};
    char m_liveHtml[kLongTextSize] = {};
    char m_mfgName[kLongTextSize] = {};
    char m_backgroundColour[kColourSize] = {};
    char m_docPath[kPathSize] = {};
    short m_graphicType = -1;
    bool m_update = false;
};

}  // namespace integration
