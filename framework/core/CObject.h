// CObject and run-time class records.
//
// Every class that declares a run-time class (DECLARE_DYNAMIC in the class, IMPLEMENT_DYNAMIC
// in its source file) has one constant CRuntimeClass record naming the class and pointing at the
// record of its base. GetRuntimeClass answers the record of the most derived class that has
// one, so a class without a record of its own reports its base's; code compares
// GetRuntimeClass()->m_lpszClassName with class names, or asks IsKindOf(RUNTIME_CLASS(X)).
//
// CObject's virtual operations, in slot order: GetRuntimeClass, the destructor, Serialize.
#pragma once

#include "framework/core/WinTypes.h"

class CObject;
class CArchive;  // serialisation is declared for the slot order only; nothing archives

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                  // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();  // null unless the class is DYNCREATE
    CRuntimeClass* m_pBaseClass;     // null for CObject

    // A new default-constructed object of the class, or null when the class cannot be created
    // dynamically.
    CObject* CreateObject() const;
    // True when this class is pBaseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    virtual void Serialize(CArchive& ar);

    BOOL IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;
    // Copying a CObject copies no state; derived classes copy their own fields.
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)                     \
public:                                                 \
    static const CRuntimeClass class##class_name;       \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define BW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                       \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), \
                                                         0xFFFF, pfnNew,                  \
                                                         RUNTIME_CLASS(base_class_name)}; \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    BW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)               \
    CObject* class_name::CreateObject() { return new class_name; }     \
    BW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)

// The object as a class_name when it is one (or derives from it), else null.
#define DYNAMIC_DOWNCAST(class_name, object)                                                  \
    ((object) != nullptr && (object)->IsKindOf(RUNTIME_CLASS(class_name))                     \
         ? static_cast<class_name*>(object)                                                   \
         : static_cast<class_name*>(nullptr))
