// The template engine as an in-process COM server: the engine object (IStyleKitEngine and
// IStyleKitDocument), its slot enumerator and slot objects, the class factory and the DLL
// entry points.
//
// No C++ exception leaves a method: each body runs inside Guard, which turns an exception into
// a failure code, because an exception unwinding into the client's frames ends the program.
#include <windows.h>
#include <olectl.h>

#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "components/common/ServerModule.h"
#include "components/stylekit/StyleEngine.h"
#include "components/stylekit/StyleKitInterfaces.h"

namespace {

LONG g_objects;

template <typename Body>
HRESULT Guard(Body body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

std::string Narrow(BSTR text)
{
    if (!text)
        return std::string();
    const int length = static_cast<int>(SysStringLen(text));
    if (length == 0)
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], size, nullptr, nullptr);
    return out;
}

// A new BSTR of the 8-bit text; null only when memory runs out.
BSTR Widen(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(size));
    if (out && size)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, size);
    return out;
}

HRESULT PutString(const std::string& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = Widen(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

class CStyleKitEngine;

// One slot of the loaded template. It refers to its engine by the load generation, so a slot
// kept past a new load or an unload answers E_UNEXPECTED instead of reaching another slot.
class CStyleKitSlot final : public IStyleKitSlot {
public:
    CStyleKitSlot(CStyleKitEngine* engine, size_t index, unsigned generation);
    ~CStyleKitSlot();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IStyleKitSlot)) {
            *object = static_cast<IStyleKitSlot*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetType(LONG* type) override;
    HRESULT STDMETHODCALLTYPE GetInfo(BSTR* description, BSTR* tag, BSTR* key) override;
    HRESULT STDMETHODCALLTYPE GetValue(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE SetValue(BSTR value) override;
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(BSTR* name) override;

private:
    const stylekit::Slot* Current() const;
    LONG m_references = 1;
    CStyleKitEngine* m_engine;
    size_t m_index;
    unsigned m_generation;
};

class CStyleKitSlotEnum final : public IStyleKitSlotEnum {
public:
    explicit CStyleKitSlotEnum(std::vector<IUnknown*> slots) : m_slots(std::move(slots))
    {
        InterlockedIncrement(&g_objects);
    }
    ~CStyleKitSlotEnum()
    {
        for (IUnknown* slot : m_slots)
            slot->Release();
        InterlockedDecrement(&g_objects);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *object = static_cast<IStyleKitSlotEnum*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    // Hands out up to 'count' slots from where the last call stopped; S_OK only when all of
    // them were there.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IUnknown** array, ULONG* fetched) override
    {
        if (fetched)
            *fetched = 0;
        if (count && !array)
            return E_POINTER;
        ULONG given = 0;
        while (given < count && m_next < m_slots.size()) {
            array[given] = m_slots[m_next++];
            array[given]->AddRef();
            ++given;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }

private:
    LONG m_references = 1;
    std::vector<IUnknown*> m_slots;
    size_t m_next = 0;
};

class CStyleKitEngine final : public IStyleKitEngine, public IStyleKitDocument {
public:
    CStyleKitEngine() { InterlockedIncrement(&g_objects); }
    ~CStyleKitEngine() { InterlockedDecrement(&g_objects); }

    stylekit::StyleEngine& Engine() { return m_engine; }
    unsigned Generation() const { return m_generation; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IStyleKitEngine))
            *object = static_cast<IStyleKitEngine*>(this);
        else if (IsEqualIID(iid, IID_IStyleKitDocument))
            *object = static_cast<IStyleKitDocument*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE LoadTemplate(BSTR path) override
    {
        return Guard([&]() -> HRESULT {
            ++m_generation;
            std::string error;
            if (!m_engine.Load(Narrow(path), &error))
                return E_FAIL;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumSlots(IStyleKitSlotEnum** slots, LONG* count) override
    {
        if (slots)
            *slots = nullptr;
        if (count)
            *count = 0;
        if (!slots || !count)
            return E_POINTER;
        if (!m_engine.IsLoaded())
            return E_UNEXPECTED;
        return Guard([&]() -> HRESULT {
            std::vector<IUnknown*> list;
            try {
                for (size_t i = 0; i < m_engine.SlotCount(); ++i) {
                    list.push_back(nullptr);
                    list.back() = new CStyleKitSlot(this, i, m_generation);
                }
            } catch (...) {
                for (IUnknown* slot : list)
                    if (slot)
                        slot->Release();
                throw;
            }
            const LONG n = static_cast<LONG>(list.size());
            *slots = new CStyleKitSlotEnum(std::move(list));
            *count = n;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenderClipped(LONG width, LONG height, const StyleKitRect* clip, LONG flags,
                                            void* extra, DWORD* pixels) override
    {
        return Draw(width, height, clip, flags, extra, pixels);
    }
    HRESULT STDMETHODCALLTYPE CompleteLoad() override { return m_engine.IsLoaded() ? S_OK : E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE Unload() override
    {
        ++m_generation;
        m_engine.Unload();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved12() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved13() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSize(LONG, double xResolution, double yResolution, ULONG* width,
                                      ULONG* height) override
    {
        if (width)
            *width = 0;
        if (height)
            *height = 0;
        if (!width || !height)
            return E_POINTER;
        if (!m_engine.IsLoaded())
            return E_UNEXPECTED;
        if (!(xResolution > 0 && yResolution > 0 && xResolution <= 1e5 && yResolution <= 1e5))
            return E_INVALIDARG;
        return Guard([&]() -> HRESULT {
            double w, h;
            m_engine.PageSize(&w, &h);
            *width = static_cast<ULONG>(std::llround(w * xResolution));
            *height = static_cast<ULONG>(std::llround(h * yResolution));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Render(LONG width, LONG height, const StyleKitRect* clip, LONG flags, void* extra,
                                     DWORD* pixels) override
    {
        return Draw(width, height, clip, flags, extra, pixels);
    }
    HRESULT STDMETHODCALLTYPE Reserved16() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStateCount(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        *count = m_engine.IsLoaded() ? m_engine.StateCount() : 0;
        return m_engine.IsLoaded() ? S_OK : E_UNEXPECTED;
    }
    HRESULT STDMETHODCALLTYPE SelectState(LONG state) override
    {
        return m_engine.SelectState(static_cast<int>(state)) ? S_OK : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE Reserved19() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStateValue(LONG* value) override
    {
        if (!value)
            return E_POINTER;
        *value = m_engine.StateTime();
        return m_engine.IsLoaded() ? S_OK : E_UNEXPECTED;
    }

    // IStyleKitDocument. Object ids are those of the loaded template's named shapes.
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResolveObject(LONG id, LONG* resolved) override
    {
        if (!resolved)
            return E_POINTER;
        stylekit::UnitRect bounds;
        *resolved = m_engine.GetObjectBounds(static_cast<int>(id), &bounds) ? id : 0;
        return *resolved ? S_OK : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved14() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved15() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindObject(BSTR name, LONG* id) override
    {
        if (!id)
            return E_POINTER;
        return Guard([&]() -> HRESULT {
            *id = m_engine.FindObject(Narrow(name));
            return *id ? S_OK : E_FAIL;
        });
    }
    HRESULT STDMETHODCALLTYPE GetObjectBounds(LONG id, StyleKitRect* bounds) override
    {
        if (!bounds)
            return E_POINTER;
        return Guard([&]() -> HRESULT {
            stylekit::UnitRect rect;
            if (!m_engine.GetObjectBounds(static_cast<int>(id), &rect))
                return E_INVALIDARG;
            bounds->left = rect.left;
            bounds->top = rect.top;
            bounds->right = rect.right;
            bounds->bottom = rect.bottom;
            return S_OK;
        });
    }

private:
    // The flags and the extra block do not change what we draw: every render is antialiased.
    HRESULT Draw(LONG width, LONG height, const StyleKitRect* clip, LONG, void*, DWORD* pixels)
    {
        if (!pixels)
            return E_POINTER;
        if (width <= 0 || height <= 0 || width > stylekit::StyleEngine::kMaxRenderSide ||
            height > stylekit::StyleEngine::kMaxRenderSide)
            return E_INVALIDARG;
        // Nothing loaded is nothing to draw: the caller's clear buffer is the right answer.
        if (!m_engine.IsLoaded())
            return S_OK;
        return Guard([&]() -> HRESULT {
            stylekit::UnitRect rect;
            const stylekit::UnitRect* use = nullptr;
            if (clip) {
                rect.left = clip->left;
                rect.top = clip->top;
                rect.right = clip->right;
                rect.bottom = clip->bottom;
                // An empty clip rectangle leaves nothing to show but is no failure of the render.
                if (rect.right <= rect.left || rect.bottom <= rect.top)
                    return S_OK;
                use = &rect;
            }
            return m_engine.Render(static_cast<int>(width), static_cast<int>(height), use,
                                   reinterpret_cast<std::uint32_t*>(pixels))
                       ? S_OK
                       : E_FAIL;
        });
    }

    LONG m_references = 1;
    stylekit::StyleEngine m_engine;
    unsigned m_generation = 0;
};

CStyleKitSlot::CStyleKitSlot(CStyleKitEngine* engine, size_t index, unsigned generation)
    : m_engine(engine), m_index(index), m_generation(generation)
{
    static_cast<IStyleKitEngine*>(m_engine)->AddRef();
    InterlockedIncrement(&g_objects);
}

CStyleKitSlot::~CStyleKitSlot()
{
    static_cast<IStyleKitEngine*>(m_engine)->Release();
    InterlockedDecrement(&g_objects);
}

const stylekit::Slot* CStyleKitSlot::Current() const
{
    if (m_generation != m_engine->Generation() || m_index >= m_engine->Engine().SlotCount())
        return nullptr;
    return &m_engine->Engine().GetSlot(m_index);
}

HRESULT CStyleKitSlot::GetType(LONG* type)
{
    if (!type)
        return E_POINTER;
    const stylekit::Slot* slot = Current();
    *type = slot ? slot->type : 0;
    return slot ? S_OK : E_UNEXPECTED;
}

HRESULT CStyleKitSlot::GetInfo(BSTR* description, BSTR* tag, BSTR* key)
{
    if (description)
        *description = nullptr;
    if (tag)
        *tag = nullptr;
    if (key)
        *key = nullptr;
    if (!description || !tag || !key)
        return E_POINTER;
    const stylekit::Slot* slot = Current();
    if (!slot)
        return E_UNEXPECTED;
    return Guard([&]() -> HRESULT {
        if (FAILED(PutString(slot->description, description)) || FAILED(PutString(slot->tag, tag)) ||
            FAILED(PutString(slot->key, key))) {
            SysFreeString(*description);
            SysFreeString(*tag);
            SysFreeString(*key);
            *description = *tag = *key = nullptr;
            return E_OUTOFMEMORY;
        }
        return S_OK;
    });
}

HRESULT CStyleKitSlot::GetValue(BSTR* value)
{
    if (value)
        *value = nullptr;
    const stylekit::Slot* slot = Current();
    if (!slot)
        return value ? E_UNEXPECTED : E_POINTER;
    return Guard([&]() { return PutString(slot->value, value); });
}

HRESULT CStyleKitSlot::SetValue(BSTR value)
{
    if (!Current())
        return E_UNEXPECTED;
    return Guard([&]() -> HRESULT {
        return m_engine->Engine().SetSlotValue(m_index, Narrow(value)) ? S_OK : E_INVALIDARG;
    });
}

HRESULT CStyleKitSlot::GetName(BSTR* name)
{
    if (name)
        *name = nullptr;
    const stylekit::Slot* slot = Current();
    if (!slot)
        return name ? E_UNEXPECTED : E_POINTER;
    return Guard([&]() { return PutString(slot->name, name); });
}

components::StaticClassFactory<CStyleKitEngine, IStyleKitEngine> g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    return components::ServerDllMain(instance, reason);
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    return components::RegisterServerClass(BW_COMPONENT_CLSID, BW_COMPONENT_NAME);
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    return components::UnregisterInprocServer(BW_COMPONENT_CLSID);
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object)
{
    return components::GetServerClassObject(IsEqualCLSID(clsid, CLSID_StyleKitEngine), g_factory, iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return g_objects == 0 && components::g_serverLocks == 0 ? S_OK : S_FALSE;
}
