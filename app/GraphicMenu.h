// The application's two popup menus, made at start-up and deleted at exit: the graphic's
// context menu (its commands go to the main dialog) and the style-properties menu.
#pragma once

#include "framework/win/Afxwin.h"

class CGraphicMenu : public CObject {
public:
    CGraphicMenu();
    ~CGraphicMenu() override;

    // Tracks the menu at a point in the main dialog's client coordinates (offset by 4 and 24
    // pixels from the main window's corner), owned by the main dialog, which receives the
    // chosen command. The flag is not used. Nothing without the main dialog or the menu.
    void Show(int x, int y, int flag);
    bool IsLoaded() const { return m_menu.GetSafeHmenu() != nullptr; }
    HMENU GetMenu() const { return m_menu.GetSafeHmenu(); }

private:
    CMenu m_menu;
};

class CPropertiesMenu : public CObject {
public:
    // The style file whose values the menu lists.
    void SetStyleFile(const CString& path) { m_styleFile = path; }
    CString GetStyleFile() const { return m_styleFile; }

private:
    CString m_styleFile;
};
