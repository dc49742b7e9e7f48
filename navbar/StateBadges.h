// CStateBadges: the small picture in the bottom-left corner of the preview that names the
// state in which the navigation bar is shown (Off, Over or Selected; the Clicked state has
// none). One instance for the program, made on first use; the preview binds it to the surface
// it composes on every time it asks for it, and the pictures are loaded from the program
// root's "SysResources\Graphics" folder the first time they are needed.
#pragma once

#include "bitmap/Bitmap32.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class CNavBar;

class CStateBadges {
 public:
  static constexpr int kStateCount = 4;
  // The badge's distance from the left and the bottom edge of the surface.
  static constexpr int kMargin = 2;

  CStateBadges(const CStateBadges&) = delete;
  CStateBadges& operator=(const CStateBadges&) = delete;

  // The instance bound to surface (a bottom-up Bitmap32, the preview's client area less its
  // frame); null for a null surface.
  static CStateBadges* GetInstance(Bitmap32* surface);
  // Drops the instance and its pictures (the next GetInstance makes a new one).
  static void DestroyInstance();
  // The state the badge names for bar: its current state, or while the Off state is current
  // the kind of the hovered button when that state is enabled.
  static int BadgeState(const CNavBar& bar);
  // The badge picture's file for a state; empty for the Clicked state and out-of-range ones.
  static CString PicturePath(int state);

  // Blends the badge of the state shown into the bound surface: 1 when drawn, 0 when not (not
  // in navigation-bar mode, no bar, the Clicked state, or a picture that cannot be loaded; the
  // next draw tries the load again).
  int Draw();

 private:
  CStateBadges() = default;

  Bitmap32* m_surface = nullptr;
  BYTE m_loaded[kStateCount] = {};
  CString m_paths[kStateCount];
  Bitmap32 m_pictures[kStateCount];
};
