// The image importer's in-process server: one class, created per use by the program.
#include "components/common/ServerModule.h"
#include "components/imgrex/ImageDecoder.h"
#include "components/imgrex/Imgrex.h"

#include <cstring>
#include <map>
#include <new>

namespace {

LONG g_objects;  // live objects and server locks: the DLL stays loaded while any exist

HRESULT FromResult(imgrex::Result result) {
  switch (result) {
    case imgrex::Result::kOk: return S_OK;
    case imgrex::Result::kTooLarge:
    case imgrex::Result::kNoMemory: return E_OUTOFMEMORY;
    default: return E_FAIL;
  }
}

// Reads a whole file by its wide name; the importer's limit on file sizes applies.
HRESULT ReadWholeFile(const wchar_t* path, std::vector<std::uint8_t>& bytes) {
  constexpr DWORD kMaxFileBytes = 256u * 1024 * 1024;
  const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
  DWORD high = 0;
  const DWORD low = GetFileSize(file, &high);
  HRESULT hr = S_OK;
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    hr = HRESULT_FROM_WIN32(GetLastError());
  else if (high != 0 || low > kMaxFileBytes)
    hr = E_OUTOFMEMORY;
  if (SUCCEEDED(hr)) {
    try {
      bytes.resize(low);
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    }
  }
  DWORD read = 0;
  if (SUCCEEDED(hr) && low && (!ReadFile(file, bytes.data(), low, &read, nullptr) || read != low)) hr = E_FAIL;
  CloseHandle(file);
  if (FAILED(hr)) bytes.clear();
  return hr;
}

class Importer final : public IImgrex {
public:
  Importer() { InterlockedIncrement(&g_objects); }
  ~Importer() { InterlockedDecrement(&g_objects); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kImgrexInterfaceId)) {
      *object = static_cast<IImgrex*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_references)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return ULONG(left);
  }

  HRESULT STDMETHODCALLTYPE Open(BSTR path, long* handle) override {
    if (!handle) return E_POINTER;
    *handle = 0;
    if (!path || !*path) return E_INVALIDARG;
    Picture picture;
    HRESULT hr = ReadWholeFile(path, picture.bytes);
    if (FAILED(hr)) return hr;
    hr = FromResult(imgrex::ReadInfo(picture.bytes.data(), picture.bytes.size(), picture.info));
    if (FAILED(hr)) return hr;
    try {
      m_pictures.emplace(m_nextHandle, std::move(picture));
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    *handle = m_nextHandle++;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Info(long handle, long* width, long* height, long* bitsPerPixel) override {
    if (!width || !height || !bitsPerPixel) return E_POINTER;
    const auto found = m_pictures.find(handle);
    if (found == m_pictures.end()) return E_HANDLE;
    *width = found->second.info.width;
    *height = found->second.info.height;
    *bitsPerPixel = 32;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Read(long handle, long byteCount, void* destination) override {
    if (!destination) return E_POINTER;
    const auto found = m_pictures.find(handle);
    if (found == m_pictures.end()) return E_HANDLE;
    Picture& picture = found->second;
    const unsigned long long needed =
        static_cast<unsigned long long>(picture.info.width) * static_cast<unsigned long long>(picture.info.height) * 4;
    if (byteCount < 0 || static_cast<unsigned long long>(byteCount) < needed) return E_INVALIDARG;
    std::vector<std::uint32_t> pixels;
    imgrex::ImageInfo decoded;
    const HRESULT hr = FromResult(imgrex::Decode(picture.bytes.data(), picture.bytes.size(), decoded, pixels));
    if (FAILED(hr)) return hr;
    if (decoded.width != picture.info.width || decoded.height != picture.info.height) return E_FAIL;
    std::memcpy(destination, pixels.data(), std::size_t(needed));
    return S_OK;
  }

private:
  struct Picture {
    imgrex::ImageInfo info;
    std::vector<std::uint8_t> bytes;
  };
  LONG m_references = 1;
  std::map<long, Picture> m_pictures;
  long m_nextHandle = 1;
};

class Factory final : public IClassFactory {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is a static object: its count only keeps the DLL loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&g_objects)); }
  ULONG STDMETHODCALLTYPE Release() override { return ULONG(InterlockedDecrement(&g_objects)); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Importer* importer = new (std::nothrow) Importer;
    if (!importer) return E_OUTOFMEMORY;
    const HRESULT hr = importer->QueryInterface(iid, object);
    importer->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&g_objects);
    else
      InterlockedDecrement(&g_objects);
    return S_OK;
  }
};

Factory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  return components::ServerDllMain(instance, reason);
}

extern "C" HRESULT WINAPI DllRegisterServer() {
  return components::RegisterServerClass(BW_COMPONENT_CLSID, BW_COMPONENT_NAME);
}

extern "C" HRESULT WINAPI DllUnregisterServer() { return components::UnregisterInprocServer(BW_COMPONENT_CLSID); }

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  return components::GetServerClassObject(IsEqualCLSID(clsid, kImgrexClassId), g_factory, iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }
