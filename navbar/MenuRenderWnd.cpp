#include "navbar/MenuRenderWnd.h"

#include <algorithm>
#include <cstring>
#include <string>

CMenuPreviewSettings& MenuPreviewSettings() {
  static CMenuPreviewSettings settings;
  return settings;
}

int MenuSlideOffset(int extent, int animation, DWORD elapsed) {
  if (animation <= 0 || elapsed >= static_cast<DWORD>(animation)) return 0;
  return extent - static_cast<int>(static_cast<double>(extent) / animation * elapsed);
}

#ifdef _WIN32

#include "util/FileUtils.h"
#include "navbar/MenuScript.h"
#include "navbar/NavBar.h"

namespace {

const char kClassName[] = "MenuRenderWndClass";

bool RegisterMenuClass() {
  static const bool registered = RegisterPlainWindowClass(kClassName, CS_SAVEBITS);
  return registered;
}

// The one menu font, deleted at exit.
struct MenuFont {
  ~MenuFont() { Reset(); }
  void Reset() {
    if (font) ::DeleteObject(font);
    font = nullptr;
  }
  HFONT font = nullptr;
};
MenuFont& TheMenuFont() {
  static MenuFont font;
  return font;
}

bool IsMenuWindow(HWND window) {
  char name[32] = "";
  return window && ::GetClassNameA(window, name, sizeof name) && std::strcmp(name, kClassName) == 0;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

void Line(HDC dc, int x1, int x2, int y, const unsigned char rgb[3]) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(rgb[0], rgb[1], rgb[2]));
  HGDIOBJ old = ::SelectObject(dc, pen);
  ::MoveToEx(dc, x1, y, nullptr);
  ::LineTo(dc, x2, y);
  ::SelectObject(dc, old);
  ::DeleteObject(pen);
}

}  // namespace

// ---- Entries ---------------------------------------------------------------------------------

bool CMenuPreviewItem::IsSeparator() const { return CFileUtils::IsPlaceholderName(m_text) != FALSE; }

SIZE CMenuPreviewItem::Measure(HDC dc, CMenuRenderWnd*) {
  const CString text = m_text.IsEmpty() ? CString("n") : m_text;
  RECT bounds = {0, 0, 0, 0};
  ::DrawTextA(dc, text, text.GetLength(), &bounds, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  SIZE size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
  if (m_submenu) size.cy = std::max<LONG>(size.cy, kArrowHeight);
  size.cx += 2 * kPadding;
  size.cy += 2 * MenuPreviewSettings().itemSpacing;
  return size;
}

void CMenuPreviewItem::Draw(HDC dc, CMenuRenderWnd*, bool hot, bool hasArrows) {
  const CMenuPreviewSettings& settings = MenuPreviewSettings();
  const COLORREF background = hot ? settings.colours[1] : settings.colours[0];
  const COLORREF foreground = hot ? settings.colours[3] : settings.colours[2];
  const int border = settings.borderWidth;
  RECT fill = m_rect;
  ++fill.right;
  ++fill.bottom;
  FillSolid(dc, fill, background);
  const bool separator = IsSeparator();
  if (m_submenu && !separator) {
    const int d = (m_rect.bottom - m_rect.top - kArrowHeight - 1) / 2;
    const int top = m_rect.top + d;
    POINT arrow[3];
    if (settings.openLeft) {
      arrow[0] = POINT{m_rect.left + 8, top};
      arrow[1] = POINT{m_rect.left + 8, top + 8};
      arrow[2] = POINT{m_rect.left + 4, top + 4};
    } else {
      arrow[0] = POINT{m_rect.right - 8 - border, top};
      arrow[1] = POINT{m_rect.right - 8 - border, top + 8};
      arrow[2] = POINT{m_rect.right - 4 - border, top + 4};
    }
    HBRUSH brush = ::CreateSolidBrush(foreground);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    ::Polygon(dc, arrow, 3);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(brush);
  }
  if (separator) {
    const COLORREF base = border > 0 ? settings.colours[4] : settings.colours[2];
    unsigned char light[3], dark[3];
    MakeSeparatorShades(GetRValue(base), GetGValue(base), GetBValue(base), light, dark);
    const int left = m_rect.left + border + 3, right = m_rect.right - border - 3;
    Line(dc, left, right, m_rect.top + 3, dark);
    Line(dc, left, right, m_rect.top + 4, light);
    return;
  }
  RECT text = m_rect;
  if (hasArrows) {
    if (settings.openLeft) text.left += kArrowWidth + kArrowGap;
    else text.right -= kArrowWidth + kArrowGap;
  }
  text.left += kPadding;
  text.right -= kPadding;
  text.top += settings.itemSpacing;
  text.bottom -= settings.itemSpacing;
  ::SetTextColor(dc, foreground);
  ::DrawTextA(dc, m_text, m_text.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
}

// ---- Popups ----------------------------------------------------------------------------------

CMenuRenderWnd::CMenuRenderWnd(int minimumWidth, int slideDirection)
    : m_minimumWidth(minimumWidth), m_slideDirection(slideDirection) {}

CMenuRenderWnd::~CMenuRenderWnd() {
  if (GetSafeHwnd()) DestroyWindow();
  for (CMenuPreviewItem* item : m_items) delete item;
}

bool CMenuRenderWnd::CreatePopup(HWND owner) {
  if (!RegisterMenuClass()) return false;
  return CreateEx(WS_EX_TOOLWINDOW, kClassName, nullptr, WS_POPUP, 0, 0, 1, 1, owner, nullptr) != FALSE;
}

bool CMenuRenderWnd::CreateMenuFont(int size, const CString& families, bool bold, bool italic) {
  TheMenuFont().Reset();
  HDC screen = ::GetDC(nullptr);
  const int height = -::MulDiv(size, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  const std::string list(families);
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string name = list.substr(start, end - start);
    name.erase(0, name.find_first_not_of(" \t"));
    name.erase(name.find_last_not_of(" \t") + 1);
    if (!name.empty()) {
      HFONT font = ::CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic ? TRUE : FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, name.c_str());
      if (font) {
        TheMenuFont().font = font;
        return true;
      }
    }
    start = end + 1;
  }
  return false;
}

HFONT CMenuRenderWnd::GetMenuFont() { return TheMenuFont().font; }

CMenuPreviewItem* CMenuRenderWnd::GetItem(int index) const {
  return index >= 0 && index < GetItemCount() ? m_items[static_cast<std::size_t>(index)] : nullptr;
}

void CMenuRenderWnd::Layout() {
  const int border = MenuPreviewSettings().borderWidth;
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = GetMenuFont() && dc ? ::SelectObject(dc, GetMenuFont()) : nullptr;
  int widest = 0, arrows = 0, rowHeight = 0;
  for (CMenuPreviewItem* item : m_items) {
    const SIZE size = item->Measure(dc, this);
    widest = std::max<int>(widest, size.cx);
    rowHeight = std::max<int>(rowHeight, size.cy);
    arrows = std::max(arrows, item->GetArrowWidth());
  }
  if (old) ::SelectObject(dc, old);
  if (dc) ::ReleaseDC(m_hWnd, dc);
  m_hasArrows = arrows != 0;
  const int content = std::max(widest + arrows, m_minimumWidth);
  int y = border;
  for (CMenuPreviewItem* item : m_items) {
    const int height = item->IsSeparator() ? CMenuPreviewItem::kSeparatorHeight : rowHeight;
    item->SetRect(border, y, content + 2 * border, y + height);
    y += height;
  }
  m_width = content + 2 * border;
  m_height = y + border;
  m_laidOut = true;
}

SIZE CMenuRenderWnd::GetSize() {
  if (!m_laidOut) Layout();
  return SIZE{m_width, m_height};
}

int CMenuRenderWnd::SlideExtent() const {
  return m_slideDirection == kSlideWidth ? m_width : m_slideDirection == kSlideHeight ? m_height : 0;
}

int CMenuRenderWnd::CurrentSlideOffset() const {
  if (!m_slideTimer) return 0;
  return MenuSlideOffset(SlideExtent(), MenuPreviewSettings().animation, ::GetTickCount() - m_slideStart);
}

void CMenuRenderWnd::ShowAt(int x, int y) {
  if (!m_hWnd) return;
  if (!m_laidOut) Layout();
  m_hotItem = -1;
  m_x = x;
  m_y = y;
  ::SetWindowPos(m_hWnd, HWND_TOP, x, y, m_width, m_height, SWP_NOACTIVATE);
  StopSlide();
  if (MenuPreviewSettings().animation > 0) {
    m_slideTimer = ::SetTimer(m_hWnd, kSlideTimer, kSlideStep, nullptr);
    m_slideStart = ::GetTickCount();
    if (m_slideTimer) SlideStep();
  }
  ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
}

void CMenuRenderWnd::SlideStep() {
  if (!m_hWnd) return;
  const DWORD elapsed = ::GetTickCount() - m_slideStart;
  const int offset = MenuSlideOffset(SlideExtent(), MenuPreviewSettings().animation, elapsed);
  if (offset == 0) StopSlide();
  const int visible = SlideExtent() - offset;
  const UINT flags = SWP_NOACTIVATE | SWP_NOZORDER;
  if (m_slideDirection == kSlideWidth) {
    const int x = MenuPreviewSettings().openLeft ? m_x + m_width - visible : m_x;
    ::SetWindowPos(m_hWnd, nullptr, x, m_y, visible, m_height, flags);
  } else if (m_slideDirection == kSlideHeight) {
    ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_width, visible, flags);
  }
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CMenuRenderWnd::StopSlide() {
  if (m_slideTimer && m_hWnd) ::KillTimer(m_hWnd, m_slideTimer);
  m_slideTimer = 0;
}

void CMenuRenderWnd::Hide() {
  StopSlide();
  if (m_openSubmenu) m_openSubmenu->Hide();
  if (m_hWnd) ::ShowWindow(m_hWnd, SW_HIDE);
}

void CMenuRenderWnd::RepaintItem(int index) {
  CMenuPreviewItem* item = GetItem(index);
  if (!item || !m_hWnd) return;
  RECT rect = item->GetRect();
  const int offset = CurrentSlideOffset();
  ::OffsetRect(&rect, m_slideDirection == kSlideWidth ? -offset : 0, m_slideDirection == kSlideHeight ? -offset : 0);
  ++rect.right;
  ++rect.bottom;
  ::InvalidateRect(m_hWnd, &rect, FALSE);
}

void CMenuRenderWnd::SetHotItem(int index) {
  if (index == m_hotItem) {
    if (CMenuRenderWnd* submenu = GetItem(index) ? GetItem(index)->GetSubmenu() : nullptr) {
      submenu->SetHotItem(-1);
      if (submenu->m_openSubmenu) submenu->m_openSubmenu->Hide();
    }
    return;
  }
  if (m_openSubmenu) m_openSubmenu->Hide();
  m_openSubmenu = nullptr;
  const int old = m_hotItem;
  if (index < 0 || !GetItem(index)) {
    RepaintItem(old);
    m_hotItem = -1;
    return;
  }
  if (m_slideTimer) {
    m_slideStart -= static_cast<DWORD>(MenuPreviewSettings().animation);
    SlideStep();
  }
  m_hotItem = index;
  RepaintItem(old);
  RepaintItem(index);
  CMenuPreviewItem* item = GetItem(index);
  if (CMenuRenderWnd* submenu = item->GetSubmenu()) {
    m_openSubmenu = submenu;
    const int border = MenuPreviewSettings().borderWidth;
    const SIZE size = submenu->GetSize();
    POINT at = {MenuPreviewSettings().openLeft ? item->GetRect().left - size.cx : item->GetRect().right - border,
                item->GetRect().top - border};
    ::ClientToScreen(m_hWnd, &at);
    submenu->ShowAt(at.x, at.y);
  }
}

void CMenuRenderWnd::OnMouseMove(POINT point) {
  if (::GetCapture() != m_hWnd) {
    m_previousCapture = ::GetCapture();
    ::SetCapture(m_hWnd);
  }
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  if (!::PtInRect(&client, point)) {
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    HWND under = ::WindowFromPoint(screen);
    if (under == m_hWnd) return;
    if (m_previousCapture && ::IsWindow(m_previousCapture)) ::SetCapture(m_previousCapture);
    else ::ReleaseCapture();
    m_previousCapture = nullptr;
    if (IsMenuWindow(under)) return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && under && ::GetAncestor(under, GA_ROOT) == owner) {
      SetHotItem(-1);
      return;
    }
    if (CNavBar* bar = MenuPreviewSettings().bar) bar->HideMenuPreview();
    return;
  }
  const int border = MenuPreviewSettings().borderWidth;
  for (int i = 0; i < GetItemCount(); ++i) {
    RECT rect = GetItem(i)->GetRect();
    rect.left -= border;
    if (::PtInRect(&rect, point) && !GetItem(i)->IsSeparator()) {
      SetHotItem(i);
      return;
    }
  }
  SetHotItem(-1);
}

void CMenuRenderWnd::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  if (GetMenuFont()) {
    const int offset = CurrentSlideOffset();
    POINT oldOrigin;
    ::SetViewportOrgEx(dc, m_slideDirection == kSlideWidth ? -offset : 0, m_slideDirection == kSlideHeight ? -offset : 0,
                       &oldOrigin);
    HGDIOBJ oldFont = ::SelectObject(dc, GetMenuFont());
    ::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < GetItemCount(); ++i) GetItem(i)->Draw(dc, this, i == m_hotItem, m_hasArrows);
    const int border = MenuPreviewSettings().borderWidth;
    if (border > 0) {
      HPEN pen = ::CreatePen(PS_SOLID, 2 * border, MenuPreviewSettings().colours[4]);
      HGDIOBJ oldPen = ::SelectObject(dc, pen);
      ::MoveToEx(dc, 0, 0, nullptr);
      ::LineTo(dc, 0, m_height);
      ::LineTo(dc, m_width, m_height);
      ::LineTo(dc, m_width, 0);
      ::LineTo(dc, 0, 0);
      ::SelectObject(dc, oldPen);
      ::DeleteObject(pen);
    }
    ::SelectObject(dc, oldFont);
    ::SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  }
  ::EndPaint(m_hWnd, &paint);
}

LRESULT CMenuRenderWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) Hide();
      break;
    case WM_TIMER:
      if (wParam == kSlideTimer) {
        SlideStep();
        return 0;
      }
      break;
    case WM_DESTROY:
      StopSlide();
      break;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void DestroyMenuTree(CMenuRenderWnd* window) {
  if (!window) return;
  while (!window->m_items.empty()) {
    CMenuPreviewItem* item = window->m_items.front();
    window->m_items.erase(window->m_items.begin());
    DestroyMenuTree(item->GetSubmenu());
    delete item;
  }
  window->m_openSubmenu = nullptr;
  if (window->GetSafeHwnd()) window->DestroyWindow();
  delete window;
}

#endif  // _WIN32
