// Menus. A CMenu made by CreatePopupMenu or LoadMenu owns its handle; FromHandle gives a
// temporary wrapper (the system menu, a sub-menu) that never destroys it.
#pragma once

#include <windows.h>

#include "framework/core/Afx.h"

class CWnd;

class CMenu : public CObject {
public:
    CMenu() : m_hMenu(nullptr), m_temporary(FALSE) {}
    virtual ~CMenu() { DestroyMenu(); }

    HMENU m_hMenu;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }

    static CMenu* FromHandle(HMENU menu);
    static void DeleteTempMap();
    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT id) { return Attach(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))); }
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) { return ::AppendMenuA(m_hMenu, flags, id, text); }
    UINT EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
    DWORD CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, const RECT* rect = nullptr);

    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

private:
    BOOL m_temporary;
};
