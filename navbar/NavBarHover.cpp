// The pointer over the bar's preview: which button is hovered and how.
#include <memory>
#include <new>

#include "document/Options.h"
#include "navbar/MenuRenderWnd.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarRenderer.h"
#include "navbar/NavBarServices.h"

namespace {
constexpr int kHoverOver = 1;
constexpr int kHoverHeld = 3;
}  // namespace

void CNavBar::SetHoverButton(int index, int kind) {
  if (index < -1 || index >= GetButtonCount() || (kind != kHoverOver && kind != kHoverHeld)) return;
  if (index == m_hoverButton && kind == m_hoverKind) return;
  m_hoverButton = index;
  m_hoverKind = kind;
  if (GetNavBarServices().CurrentManagerNeedsLeaveNotify()) {
    if (m_renderer) m_renderer->ShowHoverButton();
  } else {
    Render(true, 1);
  }
}

unsigned CNavBar::TrackMouse(POINT point, POINT screen, int flags) {
  COptions* graphic = GetNavBarServices().GetCurrentOptions();
  // Redrawing the hovered button's state may move the current colour: keep the user's.
  const unsigned colour = graphic ? graphic->GetCurrentColourIndex() : 0;
  int index = -1;
  RECT rect;
  HitTest(point, index, rect);
  const int previous = m_hoverButton;
  SetHoverButton(index, (flags & 0xFF) ? kHoverHeld : kHoverOver);
  if (m_hoverButton != previous) {
    // The button's rectangle on the screen, where its menu opens.
    const LONG dx = screen.x - point.x, dy = screen.y - point.y;
    rect = RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    ShowMenuPreview(m_hoverButton, rect);
  }
  if (!graphic) return 0;
  graphic->SetCurrentColourIndex(colour);
  graphic->SetModified();
  return colour;
}

void OnNavBarPreviewMouse(POINT point, POINT screen, int flags) {
  CNavBarServices& services = GetNavBarServices();
  if (!services.HasOperationsManager() || !services.IsNavBarMode()) return;
  CNavBar* bar = services.GetNavBar();
  if (!bar) return;
  if (point.x < 0 && point.y < 0) {
    bar->SetHoverButton(-1, kHoverOver);
    bar->ShowMenuPreview(-1);
    return;
  }
  bar->TrackMouse(point, screen, flags);
}

// ---- Drop-down menu preview ------------------------------------------------------------------

int CNavBar::ShowMenuPreview(int index, const RECT& buttonRect) {
  CloseMenuPreview();
  if (index == -1 || !HasMenus()) return 0;
#ifdef _WIN32
  m_menuPreview = BuildMenuPreview(index, GetNavBarServices().GetMainWindow());
  if (!m_menuPreview) return 0;
  const SIZE size = m_menuPreview->GetSize();
  POINT at = {0, 0};
  switch (m_menuDirection) {
    case 0: at = POINT{buttonRect.left, buttonRect.bottom}; break;
    case 1: at = POINT{buttonRect.right, buttonRect.top}; break;
    case 2: at = POINT{buttonRect.left - size.cx, buttonRect.top}; break;
    default: break;
  }
  m_menuPreview->ShowAt(at.x, at.y);
  return 1;
#else
  (void)buttonRect;
  return 0;
#endif
}

bool CNavBar::CloseMenuPreview() {
  if (!m_menuPreview) return false;
#ifdef _WIN32
  DestroyMenuTree(m_menuPreview);
#endif
  m_menuPreview = nullptr;
  if (MenuPreviewSettings().bar == this) MenuPreviewSettings().bar = nullptr;
  return true;
}

void CNavBar::HideMenuPreview() {
#ifdef _WIN32
  if (m_menuPreview) m_menuPreview->Hide();
#endif
}

#ifdef _WIN32
CMenuRenderWnd* CNavBar::BuildMenuPreview(int index, HWND parent) {
  CMenuPreviewSettings& settings = MenuPreviewSettings();
  const int order[5] = {0, 2, 1, 3, 4};  // background, highlight, text, highlight text, border
  for (int i = 0; i < 5; ++i) settings.colours[i] = m_menuColours[order[i]];
  settings.openLeft = m_menuDirection == 2;
  settings.bar = this;
  settings.animation = m_menuAnimation;
  settings.itemSpacing = m_menuItemSpacing;
  settings.borderWidth = m_menuBorderWidth;
  const CNavBarButton* button = GetButton(index);
  if (!button || button->GetChildCount() == 0) return nullptr;
  CMenuRenderWnd* root = nullptr;
  if (!BuildMenuLevel(parent, button, root, m_menuDirection == 0, m_menuDirection == 0)) return nullptr;
  CMenuRenderWnd::CreateMenuFont(m_menuFontSize, GetMenuFontFamily(), m_menuBold != 0, m_menuItalic != 0);
  return root;
}

bool CNavBar::BuildMenuLevel(HWND parent, const CNavBarItem* item, CMenuRenderWnd*& popup, bool useItemWidth,
                             bool dropDown) {
  popup = nullptr;
  CMenuRenderWnd* window =
      new (std::nothrow) CMenuRenderWnd(useItemWidth ? item->Width() : 0, dropDown ? kSlideHeight : kSlideWidth);
  if (!window) return false;
  for (int i = 0; i < item->GetChildCount(); ++i) {
    const CNavBarMenuItem* child = item->GetChild(i);
    CMenuRenderWnd* submenu = nullptr;
    if (child->GetChildCount() > 0 && !BuildMenuLevel(parent, child, submenu, false, false)) {
      DestroyMenuTree(window);
      return false;
    }
    CMenuPreviewItem* entry = new (std::nothrow) CMenuPreviewItem(child->GetText(), submenu);
    if (!entry) {
      DestroyMenuTree(submenu);
      DestroyMenuTree(window);
      return false;
    }
    window->AddItem(entry);
  }
  window->CreatePopup(parent);
  popup = window;
  return true;
}
#endif
