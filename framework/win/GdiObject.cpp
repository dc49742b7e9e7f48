#include "framework/win/GdiObject.h"

#include <map>

namespace {
std::map<HGDIOBJ, CGdiObject*>& TemporaryMap()
{
    static std::map<HGDIOBJ, CGdiObject*> map;
    return map;
}
}  // namespace

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    CGdiObject*& temp = TemporaryMap()[handle];
    if (!temp) {
        temp = new CGdiObject;
        temp->m_hObject = handle;
        temp->m_temporary = TRUE;
    }
    return temp;
}

void CGdiObject::DeleteTempMap()
{
    std::map<HGDIOBJ, CGdiObject*> temps;
    temps.swap(TemporaryMap());
    for (auto& entry : temps)
        delete entry.second;  // temporary: never deletes the handle
}
