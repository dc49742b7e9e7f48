// The class factory of the integration object. It holds a lock on the module while it lives.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace integration {

class CHotDogQuorBarwrightFactory : public IClassFactory {
public:
    CHotDogQuorBarwrightFactory();
    virtual ~CHotDogQuorBarwrightFactory();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    volatile LONG m_references = 0;
};

}  // namespace integration
