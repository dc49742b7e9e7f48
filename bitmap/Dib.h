// Device-independent bitmaps on the screen: resource bitmaps drawn with their own palette
// (CDib), off-screen DIB sections in the display's depth that the rasterizer draws into
// (CDibSection), and the one application palette of 8-bit displays. Windows only.
#pragma once

#include "framework/core/Afx.h"
#include "framework/win/DC.h"
#include "framework/win/GdiObject.h"

#include <windows.h>

#include <cstdint>

// A bitmap loaded from the program's resources, with the palette made from its colour table.
class CDib : public CBitmap {
  DECLARE_DYNAMIC(CDib)
public:
  CDib() = default;
  ~CDib() override { Release(); }

  BOOL LoadFromResource(HINSTANCE module, LPCSTR name);
  BOOL Attach(HBITMAP bitmap);
  BOOL CreatePalette();
  // Draws from the source rectangle (null or {0, 0, -1, -1}: the whole bitmap) to the
  // destination (null: the source's size at its place), through DrawDib or GDI.
  BOOL Draw(CDC* dc, const RECT* destination, const RECT* source, BOOL useDrawDib, CPalette* palette, BOOL foreground);
  void Release();

  const BITMAP& Header() const { return m_header; }
  CPalette& Palette() { return m_palette; }

private:
  BITMAP m_header{};
  CPalette m_palette;
  void* m_drawDib = nullptr;  // HDRAWDIB, opened on first use
};

// Reads a DIB section's colour table; returns the number of entries read.
UINT GetColourTable(HBITMAP dib, RGBQUAD* entries, UINT count);
// Width and height of a bitmap, or 0, 0.
SIZE GetBitmapSize(HBITMAP bitmap);
// Copies a bitmap to a device context: BitBlt at equal sizes, else COLORONCOLOR StretchBlt.
// Source null: the whole bitmap; destination null: the source.
BOOL BltBitmap(CDC* dc, HBITMAP bitmap, const RECT* destination, const RECT* source, DWORD rop);

// An off-screen picture in the display's depth, with a memory device context and spare rows
// after the picture (at least 32 bytes) that the rasterizer may touch.
class CDibSection {
public:
  // Throws std::bad_alloc when the system refuses the section.
  CDibSection(CDC* dc, int width, int height);
  virtual ~CDibSection();
  CDibSection(const CDibSection&) = delete;
  CDibSection& operator=(const CDibSection&) = delete;

  void SetAsTessroTarget(BOOL inverted);
  // Fills the section from a 32-bit bottom-up buffer of its size, converted to its depth.
  void SetPixels32(const std::uint32_t* pixels);
  BOOL Draw();
  BOOL DrawAt(int x, int y);
  void StretchDraw(int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth, int sourceHeight);
  // Makes the section again for another device context, keeping the pixels.
  void CreateBitmap(CDC* dc);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  int BitsPerPixel() const { return m_bitsPerPixel; }
  int RowBytes() const { return m_rowBytes; }
  int SpareRows() const { return m_spareRows; }
  BOOL IsTrueColour24() const { return m_display24; }
  void* Bits() const { return m_bits; }
  HDC MemoryDC() const { return m_memoryDC; }
  const BITMAPINFOHEADER& Header() const { return m_info.header; }
  const RGBQUAD* ColourTable() const { return m_info.colours; }

  // Row bytes of a section of this width and depth, and its spare rows.
  static int RowBytesFor(int depth, int width);
  static int SpareRowsFor(int rowBytes) { return rowBytes ? 31 / rowBytes + 1 : 0; }

private:
  struct Info {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  };
  void MakeSection(HDC dc);
  void Destroy();

  CDC* m_dc;
  HBITMAP m_section = nullptr;
  HDC m_memoryDC = nullptr;
  HGDIOBJ m_displaced = nullptr;
  int m_spareRows = 0, m_width = 0, m_height = 0, m_bitsPerPixel = 0;
  BOOL m_display24 = FALSE;
  int m_rowBytes = 0;
  Info m_info{};
  void* m_bits = nullptr;
  void* m_ownedA = nullptr;
  void* m_ownedB = nullptr;
};

// The application palette: only 8-bit displays use one.
BOOL SelectAppPalette(CDC* dc);
UINT RealizeAppPalette(CDC* dc);
void RestoreAppPalette(CDC* dc);

// Bits per pixel of a device context (bits times planes).
int DeviceDepth(CDC* dc);
// Draws a source rectangle (y from the top) of a section stretched to a destination rectangle,
// with the application palette realised on 8-bit displays; false when GDI draws nothing.
bool StretchDrawSection(CDC* dc, const CDibSection& section, int dstX, int dstY, int dstW, int dstH, int srcX,
                        int srcY, int srcW, int srcH);
// Draws a 32-bit bottom-up picture on a display below true colour: the rasterizer dithers it
// into a section of the display's depth (onto the application palette on 8-bit displays),
// which GDI then only copies. False when nothing was drawn (no rasterizer to convert with, or
// GDI failed); throws std::bad_alloc when the section cannot be made.
bool DrawDithered(CDC* dc, const std::uint32_t* pixels, int width, int height, int dstX, int dstY, int dstW,
                  int dstH, int srcX, int srcY, int srcW, int srcH);
