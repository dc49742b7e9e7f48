#include "integration/HotDogQuorBarwright.h"

#include "integration/ModuleFunctions.h"
#include "integration/ModuleInfoDlg.h"
#include "integration/ModuleText.h"
#include "integration/RegKeyReader.h"
#include "integration/Tw3InterfaceApp.h"

#include <shellapi.h>

#include <string>

namespace integration {

namespace {

constexpr const char* kDreamweaverEditor = "Quor Bar Wright Dreamweaver Extension";
constexpr const char* kFrontPageEditor = "Quor Bar Wright FrontPage Add-in";
constexpr const char* kDreamweaverKey = "Bar Wright Dreamweaver Extension";
constexpr const char* kFrontPageKey = "Bar Wright FrontPage Add-in";

// A new BSTR of a buffer: an empty text gives an empty BSTR, never a null one.
HRESULT CopyOut(const char* text, BSTR* out)
{
    *out = AnsiToBstr(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

CHotDogQuorBarwright::CHotDogQuorBarwright(IUnknown* outer) : m_inner(this), m_controlling(outer ? outer : &m_inner)
{
    CTw3InterfaceApp::Get().Lock();
}

CHotDogQuorBarwright::~CHotDogQuorBarwright()
{
    if (m_typeInfo)
        m_typeInfo->Release();
    if (m_process && !CloseHandle(m_process))
        ShowLastSystemError();
    CTw3InterfaceApp::Get().Unlock();
}

HRESULT CHotDogQuorBarwright::CreateInterface(REFIID iid, void** object)
{
    m_inner.AddRef();
    const HRESULT hr = m_inner.QueryInterface(iid, object);
    m_inner.Release();
    return hr;
}

// ---- IUnknown ----------------------------------------------------------------------------

STDMETHODIMP CHotDogQuorBarwright::CInnerUnknown::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<IUnknown*>(this);
    } else if (IsEqualIID(iid, IID_IHotDogQuorBarwright) || IsEqualIID(iid, IID_IDispatch)) {
        *object = static_cast<IHotDogQuorBarwright*>(m_owner);
    } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
        *object = static_cast<ISupportErrorInfo*>(m_owner);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CHotDogQuorBarwright::CInnerUnknown::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_owner->m_references));
}

STDMETHODIMP_(ULONG) CHotDogQuorBarwright::CInnerUnknown::Release()
{
    const LONG left = InterlockedDecrement(&m_owner->m_references);
    if (left == 0)
        delete m_owner;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CHotDogQuorBarwright::QueryInterface(REFIID iid, void** object)
{
    return m_controlling->QueryInterface(iid, object);
}

STDMETHODIMP_(ULONG) CHotDogQuorBarwright::AddRef()
{
    return m_controlling->AddRef();
}

STDMETHODIMP_(ULONG) CHotDogQuorBarwright::Release()
{
    return m_controlling->Release();
}

// ---- IDispatch ---------------------------------------------------------------------------

HRESULT CHotDogQuorBarwright::EnsureTypeInfo()
{
    return m_typeInfo ? S_OK : CTw3InterfaceApp::Get().LoadInterfaceTypeInfo(&m_typeInfo);
}

STDMETHODIMP CHotDogQuorBarwright::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP CHotDogQuorBarwright::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    const HRESULT hr = EnsureTypeInfo();
    if (FAILED(hr))
        return hr;
    m_typeInfo->AddRef();
    *info = m_typeInfo;
    return S_OK;
}

STDMETHODIMP CHotDogQuorBarwright::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    const HRESULT hr = EnsureTypeInfo();
    return FAILED(hr) ? hr : DispGetIDsOfNames(m_typeInfo, names, count, ids);
}

STDMETHODIMP CHotDogQuorBarwright::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                          EXCEPINFO* exception, UINT* argumentError)
{
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const HRESULT hr = EnsureTypeInfo();
    if (FAILED(hr))
        return hr;
    return m_typeInfo->Invoke(static_cast<IHotDogQuorBarwright*>(this), id, flags, params, result, exception,
                              argumentError);
}

STDMETHODIMP CHotDogQuorBarwright::InterfaceSupportsErrorInfo(REFIID iid)
{
    return IsEqualIID(iid, IID_IHotDogQuorBarwright) ? S_OK : S_FALSE;
}

// ---- Requests ----------------------------------------------------------------------------

HRESULT CHotDogQuorBarwright::RunRequest(long* pbRetVal)
{
    if (!pbRetVal)
        return E_INVALIDARG;
    *pbRetVal = LaunchBarwright() ? -1 : 0;
    return S_OK;
}

STDMETHODIMP CHotDogQuorBarwright::InsertNew(long* pbRetVal)
{
    return RunRequest(pbRetVal);
}

STDMETHODIMP CHotDogQuorBarwright::InsertExisting(long* pbRetVal)
{
    return RunRequest(pbRetVal);
}

STDMETHODIMP CHotDogQuorBarwright::Edit(long* pbRetVal)
{
    return RunRequest(pbRetVal);
}

STDMETHODIMP CHotDogQuorBarwright::Update(long* pbRetVal)
{
    if (!pbRetVal)
        return E_INVALIDARG;
    *pbRetVal = 1;
    // The flag stays set for every later request on this object. Editors read the outcome
    // from the HRESULT here: S_FALSE after success, S_OK after failure.
    m_update = true;
    return LaunchBarwright() ? S_FALSE : S_OK;
}

// ---- Other members -----------------------------------------------------------------------

STDMETHODIMP CHotDogQuorBarwright::ModuleInfo(long* pbRetVal)
{
    if (!pbRetVal)
        return E_INVALIDARG;
    *pbRetVal = 1;
    char program[kPathSize] = {};
    FindBarwrightExe(program);
    const char* editor = CTw3InterfaceApp::Get().EditorName();
    const char* keyName = "";
    if (EqualsNoCase(editor, kFrontPageEditor))
        keyName = kFrontPageKey;
    else if (EqualsNoCase(editor, kDreamweaverEditor))
        keyName = kDreamweaverKey;
    CModuleInfoDlg dialog(editor, keyName, program);
    dialog.DoModal();
    return S_OK;
}

// The module has no modules or account of its own to manage: these two do nothing, and say so
// (0) instead of showing a placeholder and reporting success.
STDMETHODIMP CHotDogQuorBarwright::ManageModules(long* pbRetVal)
{
    if (!pbRetVal)
        return E_INVALIDARG;
    *pbRetVal = 0;
    return S_OK;
}

STDMETHODIMP CHotDogQuorBarwright::ManageAccount(long* pbRetVal)
{
    if (!pbRetVal)
        return E_INVALIDARG;
    *pbRetVal = 0;
    return S_OK;
}

STDMETHODIMP CHotDogQuorBarwright::HtmlEncode(BSTR strHTML, BSTR* strEncodedHtml, long* pbRetVal)
{
    if (!pbRetVal)
        return E_INVALIDARG;
    *pbRetVal = 0;
    if (strEncodedHtml)
        *strEncodedHtml = nullptr;
    // The only encoding editors need: double quotes become single quotes, so that the text can
    // stand inside a double-quoted attribute or argument. The text is not limited in length.
    std::string text = BstrToAnsi(strHTML);
    ReplaceChar(&text[0], '"', '\'');
    if (!text.empty() && strEncodedHtml) {
        *strEncodedHtml = AnsiToBstr(text.c_str());
        if (!*strEncodedHtml)
            return E_OUTOFMEMORY;
        *pbRetVal = -1;
    }
    return S_OK;
}

STDMETHODIMP CHotDogQuorBarwright::ShowHelp(long* pbRetVal)
{
    if (!pbRetVal)
        return E_INVALIDARG;
    *pbRetVal = 0;
    // The FrontPage add-in's key serves every editor but the Dreamweaver extension here.
    std::string key = "Software\\Quor\\";
    key += EqualsNoCase(CTw3InterfaceApp::Get().EditorName(), kDreamweaverEditor) ? kDreamweaverKey : kFrontPageKey;
    char helpPath[kPathSize] = {};
    CRegKeyReader reader;
    if (reader.Open(key.c_str()))
        reader.ReadString(helpPath, sizeof helpPath, "Local Help Path");
    reader.Close();

    HWND host = FindHostWindow();
    if (!host)
        return S_FALSE;
    // Values up to 32 are the shell's error codes; only a larger one means the help opened.
    SetLastError(ERROR_SUCCESS);
    const INT_PTR opened = reinterpret_cast<INT_PTR>(ShellExecuteA(host, nullptr, helpPath, nullptr, nullptr, SW_SHOWNORMAL));
    if (opened > 32) {
        *pbRetVal = -1;
    } else {
        // The shell's codes up to 11 are the system's error codes; show at least those when
        // the shell left no error of its own.
        if (GetLastError() == ERROR_SUCCESS)
            SetLastError(opened > 0 && opened <= 11 ? static_cast<DWORD>(opened) : ERROR_NO_ASSOCIATION);
        ShowLastSystemError();
    }
    return S_OK;
}

// ---- Properties --------------------------------------------------------------------------

HRESULT CHotDogQuorBarwright::StoreText(BSTR text, char* buffer, std::size_t size)
{
    // A null BSTR is the empty text. A text too long for its buffer is refused and leaves the
    // buffer empty: a cut-off path or identifier would name something else.
    return CopyToBuffer(buffer, size, BstrToAnsi(text)) ? S_OK : E_INVALIDARG;
}

STDMETHODIMP CHotDogQuorBarwright::get_LiveHtml(BSTR* pVal)
{
    return pVal ? CopyOut(m_liveHtml, pVal) : E_POINTER;
}

STDMETHODIMP CHotDogQuorBarwright::get_PreviewHtml(BSTR* pVal)
{
    return pVal ? CopyOut(m_previewHtml, pVal) : E_POINTER;
}

STDMETHODIMP CHotDogQuorBarwright::get_SnippetID(BSTR* pVal)
{
    return pVal ? CopyOut(m_snippetId, pVal) : E_POINTER;
}

STDMETHODIMP CHotDogQuorBarwright::put_SnippetID(BSTR newVal)
{
    return StoreText(newVal, m_snippetId, sizeof m_snippetId);
}

STDMETHODIMP CHotDogQuorBarwright::put_HostAppName(BSTR newVal)
{
    return StoreText(newVal, m_hostAppName, sizeof m_hostAppName);
}

STDMETHODIMP CHotDogQuorBarwright::put_appName(BSTR newVal)
{
    return StoreText(newVal, CTw3InterfaceApp::Get().EditorName(), CTw3InterfaceApp::kEditorNameSize);
}

STDMETHODIMP CHotDogQuorBarwright::put_mfgName(BSTR newVal)
{
    return StoreText(newVal, m_mfgName, sizeof m_mfgName);
}

STDMETHODIMP CHotDogQuorBarwright::put_BackgroundColour(BSTR newVal)
{
    return StoreText(newVal, m_backgroundColour, sizeof m_backgroundColour);
}

STDMETHODIMP CHotDogQuorBarwright::put_GraphicType(short newVal)
{
    m_graphicType = newVal;
    return S_OK;
}

STDMETHODIMP CHotDogQuorBarwright::put_DocPath(BSTR newVal)
{
    const HRESULT hr = StoreText(newVal, m_docPath, sizeof m_docPath);
    if (FAILED(hr))
        return hr;
    if (!EnsureQuoted(m_docPath, sizeof m_docPath)) {
        m_docPath[0] = '\0';
        return E_INVALIDARG;
    }
    return S_OK;
}

}  // namespace integration
