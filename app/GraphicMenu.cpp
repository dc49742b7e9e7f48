#include "app/GraphicMenu.h"

#include "app/AppServices.h"
#include "app/Resource.h"
#include "app/WidgetsDlg.h"

namespace {
const int kOffsetX = 4;
const int kOffsetY = 24;
}  // namespace

CGraphicMenu::CGraphicMenu()
{
    m_menu.LoadMenu(IDR_GRAPHIC_MENU);
}

CGraphicMenu::~CGraphicMenu() = default;

void CGraphicMenu::Show(int x, int y, int)
{
    CWidgetsDlg* dialog = GetMainDialog();
    if (!dialog || !dialog->GetSafeHwnd() || !IsLoaded())
        return;
    CMenu* popup = m_menu.GetSubMenu(0);
    if (!popup)
        return;
    RECT main;
    dialog->GetWindowRect(&main);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, x + kOffsetX + main.left, y + kOffsetY + main.top, dialog);
}
