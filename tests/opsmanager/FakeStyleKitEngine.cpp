#include "tests/opsmanager/FakeStyleKitEngine.h"

#include <stdexcept>

FakeStyleKitEngine* FakeStyleKitEngine::current = nullptr;

std::string Narrow(BSTR text) {
  std::string result;
  if (text)
    for (UINT i = 0; i < ::SysStringLen(text); ++i) result += static_cast<char>(text[i]);
  return result;
}

BSTR Wide(const std::string& text) {
  BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(text.size()));
  for (std::size_t i = 0; i < text.size(); ++i) result[i] = static_cast<unsigned char>(text[i]);
  return result;
}

HRESULT FakeSlot::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IStyleKitSlot) {
    *out = static_cast<IStyleKitSlot*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG FakeSlot::Release() {
  const ULONG left = --m_refs;
  if (left == 0) {
    --m_engine->liveObjects;
    delete this;
  }
  return left;
}

HRESULT FakeSlot::GetType(LONG* type) {
  *type = m_engine->slots[m_index].type;
  return S_OK;
}

HRESULT FakeSlot::GetInfo(BSTR* description, BSTR* tag, BSTR* key) {
  const FakeSlotSpec& desc = m_engine->slots[m_index];
  *description = Wide(desc.description);
  *tag = Wide(desc.tag);
  *key = Wide(desc.key);
  return S_OK;
}

HRESULT FakeSlot::GetValue(BSTR* value) {
  *value = Wide(m_engine->slots[m_index].value);
  return S_OK;
}

HRESULT FakeSlot::SetValue(BSTR value) {
  m_engine->writes.emplace_back(m_index, Narrow(value));
  m_engine->slots[m_index].value = Narrow(value);
  return S_OK;
}

HRESULT FakeSlot::GetName(BSTR* name) {
  const FakeSlotSpec& desc = m_engine->slots[m_index];
  if (desc.nameFails) {
    *name = nullptr;
    return E_FAIL;
  }
  *name = Wide(desc.name);
  return S_OK;
}

HRESULT FakeSlotEnum::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown) {
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG FakeSlotEnum::Release() {
  const ULONG left = --m_refs;
  if (left == 0) {
    --m_engine->liveObjects;
    delete this;
  }
  return left;
}

HRESULT FakeSlotEnum::Next(ULONG count, IUnknown** array, ULONG* fetched) {
  ULONG given = 0;
  // A short answer hands out fewer slots than asked for.
  const ULONG available = m_engine->nextResult == S_OK ? count : (count > 0 ? count - 1 : 0);
  for (; given < available && given < m_engine->slots.size(); ++given) {
    ++m_engine->liveObjects;
    array[given] = static_cast<IUnknown*>(static_cast<IStyleKitSlot*>(new FakeSlot(m_engine, static_cast<int>(given))));
  }
  *fetched = given;
  return m_engine->nextResult;
}

FakeStyleKitEngine::FakeStyleKitEngine() { current = this; }
FakeStyleKitEngine::~FakeStyleKitEngine() {
  if (current == this) current = nullptr;
}

HRESULT FakeStyleKitEngine::Factory(IStyleKitEngine** engine) {
  if (!current) return REGDB_E_CLASSNOTREG;
  current->AddRef();
  *engine = current;
  return S_OK;
}

HRESULT FakeStyleKitEngine::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IStyleKitEngine) {
    *out = static_cast<IStyleKitEngine*>(this);
  } else if (iid == IID_IStyleKitDocument) {
    *out = static_cast<IStyleKitDocument*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

HRESULT FakeStyleKitEngine::LoadTemplate(BSTR path) {
  calls.push_back("LoadTemplate " + Narrow(path));
  return loadResult;
}

HRESULT FakeStyleKitEngine::EnumSlots(IStyleKitSlotEnum** out, LONG* count) {
  calls.push_back("EnumSlots");
  ++liveObjects;
  *out = new FakeSlotEnum(this);
  *count = static_cast<LONG>(slots.size());
  return S_OK;
}

HRESULT FakeStyleKitEngine::RenderClipped(LONG width, LONG height, const StyleKitRect* clip, LONG flags,
                                          void* extra, DWORD* pixels) {
  HRESULT result = Render(width, height, clip, flags, extra, pixels);
  lastClipped = true;
  return result;
}

HRESULT FakeStyleKitEngine::CompleteLoad() {
  calls.push_back("CompleteLoad");
  return S_OK;
}

HRESULT FakeStyleKitEngine::Unload() {
  calls.push_back("Unload");
  return S_OK;
}

HRESULT FakeStyleKitEngine::GetSize(LONG kind, double xResolution, double yResolution, ULONG* width,
                                    ULONG* height) {
  if (kind != kStyleKitPageSizeKind) return E_INVALIDARG;
  *width = static_cast<ULONG>(pageWidth * xResolution);
  *height = static_cast<ULONG>(pageHeight * yResolution);
  return S_OK;
}

HRESULT FakeStyleKitEngine::Render(LONG width, LONG height, const StyleKitRect*, LONG flags, void*,
                                   DWORD* pixels) {
  lastFlags = flags;
  lastClipped = false;
  if (renderFaults) throw std::runtime_error("engine failure");
  if (onRender) onRender();
  if (FAILED(renderResult)) return renderResult;
  for (LONG i = 0; i < width * height; ++i) pixels[i] = paint;
  return S_OK;
}

HRESULT FakeStyleKitEngine::GetStateCount(LONG* count) {
  if (stateCountFaults) throw std::runtime_error("engine failure");
  *count = static_cast<LONG>(stateDelays.size());
  return S_OK;
}

HRESULT FakeStyleKitEngine::SelectState(LONG state) {
  selectedState = state;
  return state >= 1 && state <= static_cast<LONG>(stateDelays.size()) ? S_OK : E_INVALIDARG;
}

HRESULT FakeStyleKitEngine::GetStateValue(LONG* value) {
  *value = stateDelays[selectedState - 1];
  return S_OK;
}

HRESULT FakeStyleKitEngine::ResolveObject(LONG id, LONG* resolved) {
  *resolved = id + 1;
  return S_OK;
}

HRESULT FakeStyleKitEngine::FindObject(BSTR name, LONG* id) {
  calls.push_back("FindObject " + Narrow(name));
  *id = 7;
  return S_OK;
}

HRESULT FakeStyleKitEngine::GetObjectBounds(LONG id, StyleKitRect* bounds) {
  if (id != 8) return E_INVALIDARG;
  *bounds = viewport;
  return S_OK;
}
