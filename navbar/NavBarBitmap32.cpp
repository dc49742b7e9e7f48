#include "navbar/NavBarBitmap32.h"

#include <algorithm>

#include "bitmap/bitmapmanip.h"

IMPLEMENT_DYNAMIC(CNavBarBitmap32, Bitmap32)

void CNavBarBitmap32::AddToLayout(const Bitmap32& item) {
  if (m_vertical) {
    m_width = std::max(m_width, item.Width());
    m_height += item.Height();
  } else {
    m_width += item.Width();
    m_height = std::max(m_height, item.Height());
  }
}

int CNavBarBitmap32::Allocate() {
  m_nextX = 0;
  m_nextY = m_height;
  return CreateFilled(m_width, m_height, 0xFF000000u) == 0 ? 0 : -1;
}

void CNavBarBitmap32::Append(const Bitmap32& item) {
  if (m_nextX > Width() || m_nextY < 0 || !Pixels() || !item.Pixels()) return;
  if (m_vertical) {
    // Rows count from the bottom: the first item takes the top rows.
    const int y = m_nextY - item.Height();
    BlitARGB(item.Pixels(), 0, 0, item.Width(), item.Height(), Pixels(), 0, y, Width(), Height(), false, false, -1);
    m_nextY -= item.Height();
  } else {
    BlitARGB(item.Pixels(), 0, 0, item.Width(), item.Height(), Pixels(), m_nextX, 0, Width(), Height(), false, false,
             -1);
    m_nextX += item.Width();
  }
}
