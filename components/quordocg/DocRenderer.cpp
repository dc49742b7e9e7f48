#include "components/quordocg/DocRenderer.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "components/vector/VectorRenderer.h"

LONG CDocRenderer::s_objects = 0;

namespace {

// A document larger than this is refused rather than held in memory.
const unsigned kMaxDocumentBytes = 64u << 20;
// Hits within this many pixels of a thin line still find it.
const double kHitTolerancePixels = 2.0;
const double kFixedOne = 1073741824.0;  // 1.0 in 2.30 fixed point

int ToDocUnits(double user)
{
    const double v = std::round(user * kDocUnitsPerUser);
    return static_cast<int>(std::clamp(v, -2147483647.0, 2147483647.0));
}

}  // namespace

CDocRenderer::CDocRenderer() : m_references(1), m_loaded(false), m_nextHandle(1)
{
    InterlockedIncrement(&s_objects);
}

CDocRenderer::~CDocRenderer()
{
    InterlockedDecrement(&s_objects);
}

HRESULT CDocRenderer::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IWebDocRenderer) ||
        IsEqualIID(iid, IID_IWebDocRendererOld)) {
        *object = static_cast<IWebDocRenderer*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CDocRenderer::AddRef()
{
    return InterlockedIncrement(&m_references);
}

ULONG CDocRenderer::Release()
{
    const ULONG count = InterlockedDecrement(&m_references);
    if (count == 0)
        delete this;
    return count;
}

HRESULT CDocRenderer::LoadData(unsigned size, const BYTE* bytes)
{
    try {
        if (size == 0 || !bytes) {
            // End of the load: the document stands or falls with what was sent.
            const bool ok = m_loaded;
            m_data.clear();
            m_data.shrink_to_fit();
            return ok ? S_OK : E_FAIL;
        }
        if (size > kMaxDocumentBytes || m_data.size() > kMaxDocumentBytes - size)
            return E_OUTOFMEMORY;
        m_data.insert(m_data.end(), bytes, bytes + size);
        // Read what has arrived; a document sent in pieces reads once its last piece is in.
        m_loaded = m_document.Read(m_data.data(), m_data.size());
        return m_loaded ? S_OK : E_FAIL;
    } catch (const std::bad_alloc&) {
        m_loaded = false;
        return E_OUTOFMEMORY;
    } catch (...) {
        m_loaded = false;
        return E_FAIL;
    }
}

HRESULT CDocRenderer::GetBounds(RECT* bounds, int* inOut)
{
    if (!bounds)
        return E_POINTER;
    const vector::RectF b = m_document.Bounds();
    // Flipping about the document's middle keeps the extent's numbers; only y's sense changes.
    bounds->left = ToDocUnits(b.left);
    bounds->top = ToDocUnits(b.top);
    bounds->right = ToDocUnits(b.right);
    bounds->bottom = ToDocUnits(b.bottom);
    return m_loaded ? S_OK : S_FALSE;
}

HRESULT CDocRenderer::PrepareArea(const RECT* area, int detail)
{
    return area ? S_OK : E_POINTER;
}

vector::RectF CDocRenderer::UserRect(const RECT& area) const
{
    const vector::RectF b = m_document.Bounds();
    const double flip = b.top + b.bottom;
    const double x0 = std::min(area.left, area.right) / double(kDocUnitsPerUser);
    const double x1 = std::max(area.left, area.right) / double(kDocUnitsPerUser);
    const double y0 = std::min(area.top, area.bottom) / double(kDocUnitsPerUser);
    const double y1 = std::max(area.top, area.bottom) / double(kDocUnitsPerUser);
    return {x0, flip - y1, x1, flip - y0};
}

vector::PointF CDocRenderer::UserPoint(int x, int y) const
{
    const vector::RectF b = m_document.Bounds();
    return {x / double(kDocUnitsPerUser), b.top + b.bottom - y / double(kDocUnitsPerUser)};
}

HRESULT CDocRenderer::GetObjectNameAt(int x, int y, WebDocMatrix matrix, int one,
                                      unsigned bufferLength, unsigned* length, char* buffer)
{
    if (!buffer || bufferLength == 0)
        return E_POINTER;
    buffer[0] = 0;
    if (length)
        *length = 0;
    if (!m_loaded)
        return E_FAIL;
    try {
        // Pixels per user unit, for a tolerance of a few pixels whatever the scale.
        const double pixelsPerUser = std::fabs(matrix.xScale / kFixedOne) * kDocUnitsPerUser;
        const double tolerance = pixelsPerUser > 0 ? kHitTolerancePixels / pixelsPerUser : 0;
        const std::string name = m_document.ObjectNameAt(UserPoint(x, y), tolerance);
        if (name.empty())
            return S_FALSE;
        const unsigned copied = std::min<unsigned>(static_cast<unsigned>(name.size()), bufferLength - 1);
        std::copy(name.begin(), name.begin() + copied, buffer);
        buffer[copied] = 0;
        if (length)
            *length = static_cast<unsigned>(name.size());
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CDocRenderer::Initialise(int reserved)
{
    return S_OK;
}

CDocRenderer::Render* CDocRenderer::FindRender(int handle)
{
    auto it = m_renders.find(handle);
    return it == m_renders.end() ? nullptr : &it->second;
}

HRESULT CDocRenderer::BeginRender(unsigned short width, unsigned short height, int flags,
                                  DWORD* pixels, int* handle)
{
    if (!handle || !pixels)
        return E_POINTER;
    *handle = 0;
    if (width == 0 || height == 0)
        return E_INVALIDARG;
    try {
        Render render;
        render.width = width;
        render.height = height;
        render.pixels = pixels;
        const int id = m_nextHandle++;
        if (m_nextHandle <= 0)
            m_nextHandle = 1;
        m_renders[id] = render;
        *handle = id;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CDocRenderer::SetRenderArea(int handle, const RECT* area, int detail)
{
    Render* render = FindRender(handle);
    if (!render)
        return E_INVALIDARG;
    if (!area)
        return E_POINTER;
    if (area->left == area->right || area->top == area->bottom)
        return E_INVALIDARG;
    render->area = *area;
    render->hasArea = true;
    return S_OK;
}

HRESULT CDocRenderer::SetRenderOptions(int handle, int keepAspect, int reserved, unsigned paper)
{
    Render* render = FindRender(handle);
    if (!render)
        return E_INVALIDARG;
    render->keepAspect = keepAspect != 0;
    render->paper = paper;
    return S_OK;
}

HRESULT CDocRenderer::RenderStep(int handle, int sliceMs, int pixelCount, RECT* area, int* a,
                                 int* b, DWORD* pixels)
{
    Render* render = FindRender(handle);
    if (!render)
        return E_INVALIDARG;
    if (render->finished)
        return kRenderFinished;
    DWORD* target = pixels ? pixels : render->pixels;
    if (pixels && pixels != render->pixels)
        return E_INVALIDARG;  // a step draws only into the buffer its render began with
    try {
        const size_t count = static_cast<size_t>(render->width) * render->height;
        if ((render->paper >> 24) < 255) {
            // Paper under the drawing.
            std::fill(target, target + count, static_cast<DWORD>(render->paper));
        }
        if (m_loaded) {
            RECT docArea;
            if (render->hasArea) {
                docArea = render->area;
            } else {
                int one = 1;
                GetBounds(&docArea, &one);
            }
            const vector::RectF user = UserRect(docArea);
            vector::VectorRenderer renderer;
            vector::RenderTarget out{reinterpret_cast<std::uint32_t*>(target), render->width,
                                     render->height, true};
            renderer.Render(m_document, out,
                            vector::FitArea(user, render->width, render->height, render->keepAspect));
        }
        render->finished = true;
        return kRenderFinished;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CDocRenderer::EndRender(int handle)
{
    return m_renders.erase(handle) ? S_OK : E_INVALIDARG;
}

HRESULT CDocRenderer::GetLayerNames(unsigned* count, BSTR** names)
{
    if (!count || !names)
        return E_POINTER;
    *count = 0;
    *names = nullptr;
    try {
        const std::vector<std::string> layers = m_document.LayerNames();
        if (layers.empty())
            return S_OK;
        BSTR* array = static_cast<BSTR*>(CoTaskMemAlloc(sizeof(BSTR) * layers.size()));
        if (!array)
            return E_OUTOFMEMORY;
        for (size_t i = 0; i < layers.size(); ++i) {
            const std::string& name = layers[i];
            const int wide = MultiByteToWideChar(CP_UTF8, 0, name.c_str(), static_cast<int>(name.size()), nullptr, 0);
            array[i] = SysAllocStringLen(nullptr, wide);
            if (!array[i]) {
                for (size_t j = 0; j < i; ++j)
                    SysFreeString(array[j]);
                CoTaskMemFree(array);
                return E_OUTOFMEMORY;
            }
            MultiByteToWideChar(CP_UTF8, 0, name.c_str(), static_cast<int>(name.size()), array[i], wide);
        }
        *count = static_cast<unsigned>(layers.size());
        *names = array;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CDocRenderer::SetLayerVisibility(const wchar_t* name, int flags)
{
    if (!name)
        return E_POINTER;
    try {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            return E_INVALIDARG;
        std::string utf8(bytes, '\0');
        WideCharToMultiByte(CP_UTF8, 0, name, -1, &utf8[0], bytes, nullptr, nullptr);
        utf8.resize(bytes - 1);
        if (!(flags & (kLayerVisible | kLayerHidden)))
            return E_INVALIDARG;
        return m_document.SetLayerVisible(utf8, (flags & kLayerHidden) == 0) ? S_OK : E_INVALIDARG;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
