// The pointer over the bar's preview: which button is hovered and how.
#include "document/Options.h"
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
  (void)screen;  // where a drop-down menu preview would open
  COptions* graphic = GetNavBarServices().GetCurrentOptions();
  // Redrawing the hovered button's state may move the current colour: keep the user's.
  const unsigned colour = graphic ? graphic->GetCurrentColourIndex() : 0;
  int index = -1;
  RECT rect;
  HitTest(point, index, rect);
  SetHoverButton(index, (flags & 0xFF) ? kHoverHeld : kHoverOver);
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
    return;
  }
  bar->TrackMouse(point, screen, flags);
}
