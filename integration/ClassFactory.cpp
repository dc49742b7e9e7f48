#include "integration/ClassFactory.h"

#include "integration/HotDogQuorBarwright.h"
#include "integration/Tw3InterfaceApp.h"

#include <new>

namespace integration {

CHotDogQuorBarwrightFactory::CHotDogQuorBarwrightFactory()
{
    CTw3InterfaceApp::Get().Lock();
}

CHotDogQuorBarwrightFactory::~CHotDogQuorBarwrightFactory()
{
    CTw3InterfaceApp::Get().Unlock();
}

STDMETHODIMP CHotDogQuorBarwrightFactory::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CHotDogQuorBarwrightFactory::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) CHotDogQuorBarwrightFactory::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CHotDogQuorBarwrightFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    // An aggregating object must ask for the inner object's own IUnknown.
    if (outer && !IsEqualIID(iid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    auto* created = new (std::nothrow) CHotDogQuorBarwright(outer);
    if (!created)
        return E_OUTOFMEMORY;
    return created->CreateInterface(iid, object);
}

STDMETHODIMP CHotDogQuorBarwrightFactory::LockServer(BOOL lock)
{
    if (lock)
        CTw3InterfaceApp::Get().Lock();
    else
        CTw3InterfaceApp::Get().Unlock();
    return S_OK;
}

}  // namespace integration
