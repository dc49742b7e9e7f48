// The vector-document renderer object: one document, read from SVG, and any number of renders
// of it into callers' buffers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "components/quordocg/WebDocRenderer.h"
#include "components/vector/VectorDocument.h"

class CDocRenderer : public IWebDocRenderer {
public:
    CDocRenderer();
    virtual ~CDocRenderer();

    // Objects alive in this module (for DllCanUnloadNow).
    static LONG s_objects;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE LoadData(unsigned size, const BYTE* bytes) override;
    HRESULT STDMETHODCALLTYPE GetBounds(RECT* bounds, int* inOut) override;
    HRESULT STDMETHODCALLTYPE PrepareArea(const RECT* area, int detail) override;
    HRESULT STDMETHODCALLTYPE GetObjectNameAt(int x, int y, WebDocMatrix matrix, int one,
                                              unsigned bufferLength, unsigned* length,
                                              char* buffer) override;
    HRESULT STDMETHODCALLTYPE Initialise(int reserved) override;
    HRESULT STDMETHODCALLTYPE BeginRender(unsigned short width, unsigned short height, int flags,
                                          DWORD* pixels, int* handle) override;
    HRESULT STDMETHODCALLTYPE SetRenderArea(int handle, const RECT* area, int detail) override;
    HRESULT STDMETHODCALLTYPE Unused10() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenderStep(int handle, int sliceMs, int pixelCount, RECT* area, int* a,
                                         int* b, DWORD* pixels) override;
    HRESULT STDMETHODCALLTYPE Unused13() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndRender(int handle) override;
    HRESULT STDMETHODCALLTYPE Unused15() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderOptions(int handle, int keepAspect, int reserved,
                                               unsigned paper) override;
    HRESULT STDMETHODCALLTYPE Unused17() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused18() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused19() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused20() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLayerNames(unsigned* count, BSTR** names) override;
    HRESULT STDMETHODCALLTYPE SetLayerVisibility(const wchar_t* name, int flags) override;

private:
    struct Render {
        int width = 0;
        int height = 0;
        DWORD* pixels = nullptr;
        RECT area = {0, 0, 0, 0};  // document units
        bool hasArea = false;
        bool keepAspect = true;
        unsigned paper = 0xFFFFFFFF;
        bool finished = false;
    };
    // The document rectangle in user units (y down) for a rectangle in document units.
    vector::RectF UserRect(const RECT& area) const;
    vector::PointF UserPoint(int x, int y) const;
    Render* FindRender(int handle);

    LONG m_references;
    std::vector<char> m_data;  // bytes of the load in progress
    vector::VectorDocument m_document;
    bool m_loaded;
    std::map<int, Render> m_renders;
    int m_nextHandle;
};
