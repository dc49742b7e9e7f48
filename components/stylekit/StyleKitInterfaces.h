// The COM interfaces of the template engine, shared by the engine component and its one client
// (the document's CTemplateCOM).
//
// Only the slots the client calls have names; the others are placeholders that keep the vtable
// order, so an engine built from this header and the client always agree slot by slot. Slot
// numbers below count the three IUnknown slots. Every string crosses as a BSTR; HRESULTs below
// 0 are failures.
//
// Conventions every engine honours:
// - Pixel buffers hold width x height 32-bit words, rows bottom-up: the top byte is the
//   transparency (0 opaque, 255 clear), the colour bytes below it are premultiplied by the
//   opacity (255 - transparency).
// - Document coordinates are 1/750 of a pixel (kStyleKitUnitsPerPixel).
// - GetSize returns the page size multiplied by the resolution it is given.
#pragma once

#ifdef _WIN32

#include <objbase.h>
#include <oleauto.h>

constexpr int kStyleKitUnitsPerPixel = 750;
// The size kind the client always asks GetSize for.
constexpr long kStyleKitPageSizeKind = 17;

// The engine's CLSID and interface identities.
// {31A6E652-EBA2-11D0-8C33-00A024729DDE}
constexpr CLSID CLSID_StyleKitEngine = {
    0x31A6E652, 0xEBA2, 0x11D0, {0x8C, 0x33, 0x00, 0xA0, 0x24, 0x72, 0x9D, 0xDE}};
// {2C842270-CA73-11D3-800C-00A024729DDE}
constexpr IID IID_IStyleKitEngine = {
    0x2C842270, 0xCA73, 0x11D3, {0x80, 0x0C, 0x00, 0xA0, 0x24, 0x72, 0x9D, 0xDE}};
// {BA3C9070-E7D6-11D0-8C2E-00A024729DDE}
constexpr IID IID_IStyleKitSlot = {
    0xBA3C9070, 0xE7D6, 0x11D0, {0x8C, 0x2E, 0x00, 0xA0, 0x24, 0x72, 0x9D, 0xDE}};
// {A3AFA9E4-EC6C-11D0-8C34-00A024729DDE}
constexpr IID IID_IStyleKitDocument = {
    0xA3AFA9E4, 0xEC6C, 0x11D0, {0x8C, 0x34, 0x00, 0xA0, 0x24, 0x72, 0x9D, 0xDE}};

// A rectangle in document units: left, top, right, bottom as four 32-bit integers.
struct StyleKitRect {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
static_assert(sizeof(StyleKitRect) == 16, "four 32-bit integers");

struct IStyleKitSlot;

// The enumerator EnumSlots hands out.
struct IStyleKitSlotEnum : public IUnknown {
  // 3: fills array with up to count slot objects (each still to be queried for
  // IStyleKitSlot); S_OK only when all count were fetched.
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, IUnknown** array, ULONG* fetched) = 0;
};

// One property slot of a loaded template.
struct IStyleKitSlot : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetType(LONG* type) = 0;                           // 4
  virtual HRESULT STDMETHODCALLTYPE GetInfo(BSTR* description, BSTR* tag, BSTR* key) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE GetValue(BSTR* value) = 0;                          // 6
  virtual HRESULT STDMETHODCALLTYPE SetValue(BSTR value) = 0;                           // 7
  virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved9() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetName(BSTR* name) = 0;                            // 10
};

// The engine object: one loaded template at a time.
struct IStyleKitEngine : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE LoadTemplate(BSTR path) = 0;                        // 3
  virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumSlots(IStyleKitSlotEnum** slots, LONG* count) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  // 8 and 15: render the page (8 only the clip rectangle of it, when given) into width x
  // height pixels. extra is a four-integer block the engine may read; its meaning and that of
  // the flags are the engine's.
  virtual HRESULT STDMETHODCALLTYPE RenderClipped(LONG width, LONG height, const StyleKitRect* clip,
                                                  LONG flags, void* extra, DWORD* pixels) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompleteLoad() = 0;                                 // 9
  virtual HRESULT STDMETHODCALLTYPE Unload() = 0;                                       // 10
  virtual HRESULT STDMETHODCALLTYPE Reserved11() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved12() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved13() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSize(LONG kind, double xResolution, double yResolution,
                                            ULONG* width, ULONG* height) = 0;           // 14
  virtual HRESULT STDMETHODCALLTYPE Render(LONG width, LONG height, const StyleKitRect* clip,
                                           LONG flags, void* extra, DWORD* pixels) = 0;  // 15
  virtual HRESULT STDMETHODCALLTYPE Reserved16() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStateCount(LONG* count) = 0;                     // 17
  virtual HRESULT STDMETHODCALLTYPE SelectState(LONG state) = 0;                        // 18
  virtual HRESULT STDMETHODCALLTYPE Reserved19() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStateValue(LONG* value) = 0;                     // 20
};

// The engine's document view, queried from the engine object.
struct IStyleKitDocument : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
  virtual HRESULT STDMETHODCALLTYPE ResolveObject(LONG id, LONG* resolved) = 0;         // 9
  virtual HRESULT STDMETHODCALLTYPE Reserved10() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved11() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved12() = 0;
  virtual HRESULT STDMETHODCALLTYPE FindObject(BSTR name, LONG* id) = 0;                // 13
  virtual HRESULT STDMETHODCALLTYPE Reserved14() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved15() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetObjectBounds(LONG id, StyleKitRect* bounds) = 0;  // 16
};

#endif  // _WIN32
