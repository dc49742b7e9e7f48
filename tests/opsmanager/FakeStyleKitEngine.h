// A template engine stand-in for the client tests: slots described by the test, a page size,
// states with display times, and a render that paints one premultiplied colour. Every call the
// client makes is logged.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "components/stylekit/StyleKitInterfaces.h"

struct FakeSlotSpec {
  LONG type = 0;
  std::string name, description, tag, key, value;
  bool nameFails = false;
};

class FakeStyleKitEngine;

class FakeSlot final : public IStyleKitSlot {
 public:
  FakeSlot(FakeStyleKitEngine* engine, int index) : m_engine(engine), m_index(index) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetType(LONG* type) override;
  HRESULT STDMETHODCALLTYPE GetInfo(BSTR* description, BSTR* tag, BSTR* key) override;
  HRESULT STDMETHODCALLTYPE GetValue(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE SetValue(BSTR value) override;
  HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetName(BSTR* name) override;

 private:
  FakeStyleKitEngine* m_engine;
  int m_index;
  ULONG m_refs = 1;
};

class FakeSlotEnum final : public IStyleKitSlotEnum {
 public:
  explicit FakeSlotEnum(FakeStyleKitEngine* engine) : m_engine(engine) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IUnknown** array, ULONG* fetched) override;

 private:
  FakeStyleKitEngine* m_engine;
  ULONG m_refs = 1;
};

class FakeStyleKitEngine : public IStyleKitEngine, public IStyleKitDocument {
 public:
  FakeStyleKitEngine();
  ~FakeStyleKitEngine();

  // Hands this engine to the client's factory hook (one engine at a time).
  static FakeStyleKitEngine* current;
  static HRESULT Factory(IStyleKitEngine** engine);

  // Test setup.
  std::vector<FakeSlotSpec> slots;
  double pageWidth = 120, pageHeight = 40;  // pixels
  std::vector<LONG> stateDelays{10};
  HRESULT loadResult = S_OK;
  HRESULT nextResult = S_OK;  // what the enumerator answers
  HRESULT renderResult = S_OK;
  bool renderFaults = false;  // Render fails with an exception
  bool stateCountFaults = false;  // so does GetStateCount
  DWORD paint = 0x80404040u;  // premultiplied pixel the render paints
  StyleKitRect viewport{0, 0, 0, 0};
  std::function<void()> onRender;  // runs inside Render (to re-enter the caller)

  // Log.
  std::vector<std::string> calls;
  std::vector<std::pair<int, std::string>> writes;  // slot index, value
  LONG lastFlags = -1;
  bool lastClipped = false;
  LONG selectedState = 0;
  int liveObjects = 0;  // slots and enumerators not yet released

  // IUnknown (shared by both interfaces).
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }  // owned by the test
  ULONG RefCount() const { return m_refs; }

  // IStyleKitEngine
  HRESULT STDMETHODCALLTYPE LoadTemplate(BSTR path) override;
  HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumSlots(IStyleKitSlotEnum** slots, LONG* count) override;
  HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RenderClipped(LONG width, LONG height, const StyleKitRect* clip, LONG flags,
                                          void* extra, DWORD* pixels) override;
  HRESULT STDMETHODCALLTYPE CompleteLoad() override;
  HRESULT STDMETHODCALLTYPE Unload() override;
  HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved12() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved13() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSize(LONG kind, double xResolution, double yResolution, ULONG* width,
                                    ULONG* height) override;
  HRESULT STDMETHODCALLTYPE Render(LONG width, LONG height, const StyleKitRect* clip, LONG flags, void* extra,
                                   DWORD* pixels) override;
  HRESULT STDMETHODCALLTYPE Reserved16() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetStateCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE SelectState(LONG state) override;
  HRESULT STDMETHODCALLTYPE Reserved19() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetStateValue(LONG* value) override;

  // IStyleKitDocument
  HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ResolveObject(LONG id, LONG* resolved) override;
  HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved14() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved15() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindObject(BSTR name, LONG* id) override;
  HRESULT STDMETHODCALLTYPE GetObjectBounds(LONG id, StyleKitRect* bounds) override;

 private:
  ULONG m_refs = 1;
};

// Text of a BSTR in 8 bits (the tests use ASCII only).
std::string Narrow(BSTR text);
BSTR Wide(const std::string& text);
