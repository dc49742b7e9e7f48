// The drop-down menu preview: while the pointer is over a button of the bar's preview, the
// button's menu opens beside it as it will in the browser. CMenuRenderWnd is one popup holding
// one menu level; CMenuPreviewItem is one entry, with the popup of its own submenu or none.
// The bar builds the tree, publishes the settings below, and shows, hides and closes it.
#pragma once

#include <vector>

#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class CNavBar;

// The settings every menu preview window draws with, published by the bar each time it builds
// a tree: colours in the order menu background, highlight background, menu text, highlight
// text, border.
struct CMenuPreviewSettings {
  COLORREF colours[5] = {0xFFFFFF, 0x000080, 0x000000, 0xFFFFFF, 0x000000};
  bool openLeft = false;
  int animation = 0;    // milliseconds
  int itemSpacing = 0;  // padding above and below every entry
  int borderWidth = 0;
  CNavBar* bar = nullptr;
};
CMenuPreviewSettings& MenuPreviewSettings();

enum MenuSlide { kSlideWidth = 0, kSlideHeight = 1 };

// How much of the sliding extent is still hidden after elapsed milliseconds of an opening that
// takes animation milliseconds; 0 once it is over.
int MenuSlideOffset(int extent, int animation, DWORD elapsed);

#ifdef _WIN32

#include "framework/win/Wnd.h"

class CMenuRenderWnd;

class CMenuPreviewItem {
 public:
  static constexpr int kPadding = 4;
  static constexpr int kArrowGap = 4;
  static constexpr int kArrowWidth = 4;
  static constexpr int kArrowHeight = 7;
  static constexpr int kSeparatorHeight = 8;

  CMenuPreviewItem(const CString& text, CMenuRenderWnd* submenu) : m_text(text), m_submenu(submenu) {}
  virtual ~CMenuPreviewItem() = default;
  // The entry's size with its padding (the text measured on one line, "n" for no text).
  virtual SIZE Measure(HDC dc, CMenuRenderWnd* window);
  virtual void SetRect(int left, int top, int right, int bottom) { m_rect = RECT{left, top, right, bottom}; }
  virtual void Draw(HDC dc, CMenuRenderWnd* window, bool hot, bool hasArrows);
  virtual int GetArrowWidth() const { return m_submenu ? kArrowWidth + kArrowGap : 0; }
  virtual bool IsSeparator() const;

  const RECT& GetRect() const { return m_rect; }
  CMenuRenderWnd* GetSubmenu() const { return m_submenu; }
  const CString& GetText() const { return m_text; }

 private:
  RECT m_rect = {0, 0, 0, 0};
  CString m_text;
  CMenuRenderWnd* m_submenu;
};

class CMenuRenderWnd : public CWnd {
 public:
  static constexpr UINT_PTR kSlideTimer = 1;
  static constexpr UINT kSlideStep = 50;  // milliseconds

  CMenuRenderWnd(int minimumWidth, int slideDirection);
  ~CMenuRenderWnd() override;

  // The hidden popup (a tool window owned by owner), 1 x 1 at 0, 0 until it is shown.
  bool CreatePopup(HWND owner);
  // The menu font of every popup: the first family of the comma-separated list that can be
  // made, at size points; false when none can.
  static bool CreateMenuFont(int size, const CString& families, bool bold, bool italic);
  static HFONT GetMenuFont();

  // Takes ownership of the entry.
  void AddItem(CMenuPreviewItem* item) { m_items.push_back(item); }
  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  CMenuPreviewItem* GetItem(int index) const;
  int GetHotItem() const { return m_hotItem; }
  CMenuRenderWnd* GetOpenSubmenu() const { return m_openSubmenu; }

  // Lays out when needed, moves the popup to the screen point at its full size, slides it open
  // over the animation time and shows it without activating it.
  void ShowAt(int x, int y);
  void Hide();
  SIZE GetSize();
  void SetHotItem(int index);
  // One step of the slide (what the slide timer does).
  void SlideStep();
  // The pointer at a point of the client area (what a mouse move does).
  void OnMouseMove(POINT point);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend void DestroyMenuTree(CMenuRenderWnd* window);
  void Layout();
  void Paint();
  int SlideExtent() const;
  int CurrentSlideOffset() const;
  void StopSlide();
  void RepaintItem(int index);

  std::vector<CMenuPreviewItem*> m_items;
  int m_hotItem = -1;
  CMenuRenderWnd* m_openSubmenu = nullptr;
  bool m_laidOut = false;
  bool m_hasArrows = false;
  int m_width = 0;
  int m_height = 0;
  int m_x = 0;
  int m_y = 0;
  int m_minimumWidth;
  HWND m_previousCapture = nullptr;
  UINT_PTR m_slideTimer = 0;
  DWORD m_slideStart = 0;
  int m_slideDirection;
};

// Destroys the popup with every entry and every submenu under it.
void DestroyMenuTree(CMenuRenderWnd* window);

#endif  // _WIN32
