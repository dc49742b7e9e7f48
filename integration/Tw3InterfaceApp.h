// The module's application object: the instance handle, the lock count that decides whether the
// module may be unloaded, the module-wide editor name, registration and the type library.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace integration {

class CTw3InterfaceApp {
public:
    // The one instance, constructed when the module loads.
    static CTw3InterfaceApp& Get();
    static HINSTANCE Instance() { return Get().m_instance; }

    BOOL InitInstance(HINSTANCE instance);
    void ExitInstance();

    void Lock() { InterlockedIncrement(&m_lockCount); }
    void Unlock() { InterlockedDecrement(&m_lockCount); }
    bool CanUnload() const { return m_lockCount == 0; }

    // The editor name, set by put appName on any object; shared by all objects of the module.
    char* EditorName() { return m_editorName; }
    static constexpr std::size_t kEditorNameSize = 1024;

    // The module's full path ("" when it cannot be read in full).
    bool GetModulePath(char* buffer, DWORD size) const;

    // The type information of IHotDogQuorBarwright from the module's own type library; the
    // caller releases it.
    HRESULT LoadInterfaceTypeInfo(ITypeInfo** info) const;

    HRESULT RegisterServer();
    HRESULT UnregisterServer();

private:
    HINSTANCE m_instance = nullptr;
    volatile LONG m_lockCount = 0;
    char m_editorName[kEditorNameSize] = {};
};

}  // namespace integration
