#include "framework/win/Menu.h"

#include "framework/win/Wnd.h"

#include <map>

namespace {
std::map<HMENU, CMenu*>& TemporaryMap()
{
    static std::map<HMENU, CMenu*> map;
    return map;
}
}  // namespace

CMenu* CMenu::FromHandle(HMENU menu)
{
    if (!menu)
        return nullptr;
    CMenu*& temp = TemporaryMap()[menu];
    if (!temp) {
        temp = new CMenu;
        temp->m_hMenu = menu;
        temp->m_temporary = TRUE;
    }
    return temp;
}

void CMenu::DeleteTempMap()
{
    std::map<HMENU, CMenu*> temps;
    temps.swap(TemporaryMap());
    for (auto& entry : temps)
        delete entry.second;  // temporary: DestroyMenu leaves the handle alone
}

BOOL CMenu::Attach(HMENU menu)
{
    if (m_hMenu || !menu)
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu || m_temporary)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, const RECT* rect)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, wnd ? wnd->m_hWnd : nullptr, rect);
}
