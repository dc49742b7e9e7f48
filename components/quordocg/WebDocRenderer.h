// The vector-document renderer's COM interface, as the program calls it: classes, interface ids
// and the vtable in slot order. Slots that no caller uses are kept so that the slots after them
// stay where callers expect them.
//
// Document units: the document's user units x kDocUnitsPerUser, with y growing upwards. A
// rectangle in document units holds (left, lowest y, right, highest y) in RECT's (left, top,
// right, bottom).
//
// Render targets are width x height 32-bit pixels, rows bottom-up, 0xTTRRGGBB with the top
// byte a transparency (0 opaque, 255 clear) and the colour straight. Drawing composites over the
// target's content; pixels the document does not cover keep their exact value.
#pragma once

#include <windows.h>
#include <objbase.h>

// {336BD230-BDA6-11D1-B444-00A024ED787A}
inline constexpr CLSID CLSID_WebDocRenderer = {
    0x336BD230, 0xBDA6, 0x11D1, {0xB4, 0x44, 0x00, 0xA0, 0x24, 0xED, 0x78, 0x7A}};
// {15E55340-B211-11D3-8005-00A024729DDE}
inline constexpr IID IID_IWebDocRenderer = {
    0x15E55340, 0xB211, 0x11D3, {0x80, 0x05, 0x00, 0xA0, 0x24, 0x72, 0x9D, 0xDE}};
// The older class and interface, offered with the same vtable.
// {3F753426-49E1-11D0-895D-0020AFE14B0F}
inline constexpr CLSID CLSID_WebDocRendererOld = {
    0x3F753426, 0x49E1, 0x11D0, {0x89, 0x5D, 0x00, 0x20, 0xAF, 0xE1, 0x4B, 0x0F}};
// {3F753428-49E1-11D0-895D-0020AFE14B0F}
inline constexpr IID IID_IWebDocRendererOld = {
    0x3F753428, 0x49E1, 0x11D0, {0x89, 0x5D, 0x00, 0x20, 0xAF, 0xE1, 0x4B, 0x0F}};

const int kDocUnitsPerUser = 100;

// Render flags: the result bit of RenderStep that says the render is complete.
const HRESULT kRenderFinished = 8;
// SetLayerVisibility flags.
const int kLayerVisible = 1;
const int kLayerHidden = 0x400;

// Pixels per document unit in 2.30 fixed point, passed by value to GetObjectNameAt.
struct WebDocMatrix {
    int xScale, m1, m2, yScale, m4, m5, m6, m7;
};

struct IWebDocRenderer : public IUnknown {
    // 3: the whole file; a second call (0, null) ends the load.
    virtual HRESULT STDMETHODCALLTYPE LoadData(unsigned size, const BYTE* bytes) = 0;
    // 4: the document's extent in document units; *inOut is 1 from the render cycle.
    virtual HRESULT STDMETHODCALLTYPE GetBounds(RECT* bounds, int* inOut) = 0;
    // 5
    virtual HRESULT STDMETHODCALLTYPE PrepareArea(const RECT* area, int detail) = 0;
    // 6: S_OK and the name of the object at a document point; S_FALSE when none is there.
    virtual HRESULT STDMETHODCALLTYPE GetObjectNameAt(int x, int y, WebDocMatrix matrix, int one,
                                                      unsigned bufferLength, unsigned* length,
                                                      char* buffer) = 0;
    // 7
    virtual HRESULT STDMETHODCALLTYPE Initialise(int reserved) = 0;
    // 8: flags is 257; *handle names the render in the calls below.
    virtual HRESULT STDMETHODCALLTYPE BeginRender(unsigned short width, unsigned short height,
                                                  int flags, DWORD* pixels, int* handle) = 0;
    // 9: the document rectangle that fills the target.
    virtual HRESULT STDMETHODCALLTYPE SetRenderArea(int handle, const RECT* area, int detail) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused10() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused11() = 0;
    // 12: a failure code, or success flags with kRenderFinished once the picture is complete.
    virtual HRESULT STDMETHODCALLTYPE RenderStep(int handle, int sliceMs, int pixelCount, RECT* area,
                                                 int* a, int* b, DWORD* pixels) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused13() = 0;
    // 14
    virtual HRESULT STDMETHODCALLTYPE EndRender(int handle) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused15() = 0;
    // 16: keepAspect 1 scales the area uniformly and centres it, 0 stretches it over the target;
    // a paper colour whose transparency byte is below 255 is laid under the drawing.
    virtual HRESULT STDMETHODCALLTYPE SetRenderOptions(int handle, int keepAspect, int reserved,
                                                       unsigned paper) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused17() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused18() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused19() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused20() = 0;
    // 21: the caller frees every string with SysFreeString and the array with CoTaskMemFree.
    virtual HRESULT STDMETHODCALLTYPE GetLayerNames(unsigned* count, BSTR** names) = 0;
    // 22: flags kLayerVisible or kLayerHidden; S_OK on success.
    virtual HRESULT STDMETHODCALLTYPE SetLayerVisibility(const wchar_t* name, int flags) = 0;
};
