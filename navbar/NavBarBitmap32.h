// A strip of item images: the thumbnail of a navigation bar (its caps and button 0 in every
// enabled state), laid out in a column or a row. Items are measured first (AddToLayout), the
// strip is allocated once (Allocate), then the items are appended in the same order (Append).
#pragma once

#include "bitmap/Bitmap32.h"

class CNavBarBitmap32 : public Bitmap32 {
  DECLARE_DYNAMIC(CNavBarBitmap32)
 public:
  // vertical: 1 items run from the top down, 0 from the left to the right.
  explicit CNavBarBitmap32(int vertical) : m_vertical(vertical) {}

  void AddToLayout(const Bitmap32& item);
  // Allocates width x height filled with fully transparent black; negative on failure.
  int Allocate();
  void Append(const Bitmap32& item);

  int GetLayoutWidth() const { return m_width; }
  int GetLayoutHeight() const { return m_height; }

 private:
  int m_vertical;
  int m_width = 0;
  int m_height = 0;
  int m_nextX = 0;
  int m_nextY = 0;
};
