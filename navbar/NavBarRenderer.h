// CNavBarRenderer composes the whole bar into the preview window: it keeps the button widths
// in step with the sizing mode, renders every item that has no valid image for the current
// state, lays the items out in a row or a column with the spacing and justification, and
// hands the finished picture over. The same layout walk gives the rectangles that hit-testing
// and the rollover script use (CNavBar::HitTest, CNavBar::GetButtonOrigin).
//
// Call protocol of RenderBar: UpdateWidths, RenderHoverButton (state 0 with a hover), then
// RenderItems, ComputeBarSize, and the layout walk that places every item with pixels.
#pragma once

#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"

class Bitmap32;
class CNavBar;

class CNavBarRenderer : public CObject {
 public:
  explicit CNavBarRenderer(CNavBar& bar);
  ~CNavBarRenderer() override;

  // Forgets the remembered widest text and sizing mode so that widths are worked out again.
  void Reset();
  int RenderBar(bool redraw, int renderFlags);
  void UpdateWidths(int renderFlags);
  void RenderHoverButton(int renderFlags);
  void RenderItems(int renderFlags);
  void ComputeBarSize(int& width, int& height);
  int GetSlantOffset(int index, int x) const;
  // The fast hover display of the export preview: only the hovered button is composed as it
  // will be exported and copied over the exported bar. 1 when it showed something.
  int ShowHoverButton();
  // The button's image composed as it will be exported, with the graphic's user bitmap as the
  // background at position; null on any failure.
  Bitmap32* ComposeButton(int index, POINT position);

  // Places every item with pixels into image (width x height, already allocated) and records
  // each button's offsets inside its slot.
  void ComposeInto(Bitmap32& image, int width, int height);

  int GetRememberedSizingMode() const { return m_sizingMode; }
  int GetRememberedWidestWidth() const { return m_widestWidth; }
  int GetLastBarWidth() const { return m_lastWidth; }
  int GetLastBarHeight() const { return m_lastHeight; }

 private:
  bool HasItemOffsets() const;
  CNavBar& m_bar;
  int m_sizingMode = 1;
  int m_widestWidth = 0;
  int m_rowPitch = 0;
  int m_lastWidth = 0;
  int m_lastHeight = 0;
  // The hover shown last by ShowHoverButton.
  int m_shownHoverButton = -2;
  int m_shownHoverKind = -1;
};
