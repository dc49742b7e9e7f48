#include "bitmap/Dib.h"

#include "bitmap/BitmapServices.h"
#include "raster/Tessro.h"

#include <vfw.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

IMPLEMENT_DYNAMIC(CDib, CObject)

namespace {
constexpr WORD kPaletteVersion = 0x300;
constexpr int kColourTableSize = 256;

// Conversion modes the sections pass to the rasterizer per depth.
constexpr DWORD kConvertIndexed = 1;
constexpr DWORD kConvertPlain = 2;
constexpr DWORD kConvertPlain24 = 8;
constexpr DWORD kTargetModeInverted = 2;

// The standard VGA colours in the Windows order.
const RGBQUAD kVgaColours[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0}, {128, 0, 0, 0},   {128, 0, 128, 0},
    {128, 128, 0, 0},   {128, 128, 128, 0}, {192, 192, 192, 0}, {0, 0, 255, 0}, {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0}};

CTessro* Tessro() { return GetBitmapServices().GetTessro(); }

int DisplayDepth(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES); }

// A LOGPALETTE with room for 256 entries.
struct PaletteBlock {
  WORD version;
  WORD count;
  PALETTEENTRY entries[kColourTableSize];
  LOGPALETTE* Get() { return reinterpret_cast<LOGPALETTE*>(this); }
};

CPalette g_appPalette;
bool g_appPaletteToCreate = true;
HPALETTE g_displacedPalette = nullptr;
}  // namespace

// ---- CDib ----

BOOL CDib::LoadFromResource(HINSTANCE module, LPCSTR name) {
  const HBITMAP bitmap = HBITMAP(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  return Attach(bitmap);
}

BOOL CDib::Attach(HBITMAP bitmap) {
  Release();
  if (!bitmap || !CBitmap::Attach(bitmap)) return FALSE;
  if (!GetObjectA(bitmap, sizeof m_header, &m_header)) return FALSE;
  return CreatePalette();
}

BOOL CDib::CreatePalette() {
  m_palette.DeleteObject();
  if (!m_hObject) return FALSE;
  RGBQUAD colours[kColourTableSize];
  const UINT count = GetColourTable(HBITMAP(m_hObject), colours, kColourTableSize);
  if (count) {
    PaletteBlock block{};
    block.version = kPaletteVersion;
    block.count = WORD(count);
    for (UINT i = 0; i < count; ++i)
      block.entries[i] = PALETTEENTRY{colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
    return m_palette.CreatePalette(block.Get());
  }
  // No colour table (more than 8 bits): the halftone palette of the screen.
  const HDC screen = GetDC(nullptr);
  const BOOL made = m_palette.Attach(CreateHalftonePalette(screen));
  ReleaseDC(nullptr, screen);
  return made;
}

BOOL CDib::Draw(CDC* dc, const RECT* destination, const RECT* source, BOOL useDrawDib, CPalette* palette,
                BOOL foreground) {
  if (!m_hObject || !dc) return FALSE;
  RECT from = source ? *source : RECT{0, 0, -1, -1};
  if (from.right < 0) from.right = m_header.bmWidth;
  if (from.bottom < 0) from.bottom = m_header.bmHeight;
  const RECT to = destination ? *destination : from;
  CPalette* chosen = palette ? palette : &m_palette;
  HPALETTE previous = nullptr;
  if (chosen->GetSafeHandle()) {
    previous = dc->SelectPalette(HPALETTE(chosen->GetSafeHandle()), !foreground);
    dc->RealizePalette();
  }
  BOOL result = FALSE;
  if (useDrawDib) {
    if (!m_drawDib) m_drawDib = DrawDibOpen();
    DIBSECTION section{};
    if (m_drawDib && GetObjectA(HBITMAP(m_hObject), sizeof section, &section) == sizeof section) {
      struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[kColourTableSize];
      } info{};
      info.header = section.dsBmih;
      GetColourTable(HBITMAP(m_hObject), info.colours, kColourTableSize);
      result = DrawDibDraw(HDRAWDIB(m_drawDib), dc->GetSafeHdc(), to.left, to.top, to.right - to.left,
                           to.bottom - to.top, &info.header, section.dsBm.bmBits, from.left, from.top,
                           from.right - from.left, from.bottom - from.top, foreground ? 0 : DDF_BACKGROUNDPAL);
    }
  } else {
    result = BltBitmap(dc, HBITMAP(m_hObject), &to, &from, SRCCOPY);
  }
  if (previous) dc->SelectPalette(previous, !foreground);
  return result;
}

void CDib::Release() {
  m_palette.DeleteObject();
  if (m_drawDib) DrawDibClose(HDRAWDIB(m_drawDib));
  m_drawDib = nullptr;
  m_header = BITMAP{};
  DeleteObject();
}

UINT GetColourTable(HBITMAP dib, RGBQUAD* entries, UINT count) {
  if (!dib || !entries || !count) return 0;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!memory) return 0;
  const HGDIOBJ previous = SelectObject(memory, dib);
  const UINT read = GetDIBColorTable(memory, 0, count, entries);
  SelectObject(memory, previous);
  DeleteDC(memory);
  return read;
}

SIZE GetBitmapSize(HBITMAP bitmap) {
  BITMAP header{};
  if (!bitmap || !GetObjectA(bitmap, sizeof header, &header)) return SIZE{0, 0};
  return SIZE{header.bmWidth, header.bmHeight};
}

BOOL BltBitmap(CDC* dc, HBITMAP bitmap, const RECT* destination, const RECT* source, DWORD rop) {
  if (!dc || !dc->GetSafeHdc() || !bitmap) return FALSE;
  const SIZE size = GetBitmapSize(bitmap);
  const RECT from = source ? *source : RECT{0, 0, size.cx, size.cy};
  const RECT to = destination ? *destination : from;
  const HDC memory = CreateCompatibleDC(dc->GetSafeHdc());
  if (!memory) return FALSE;
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  const int fw = from.right - from.left, fh = from.bottom - from.top;
  const int tw = to.right - to.left, th = to.bottom - to.top;
  BOOL result;
  if (fw == tw && fh == th) {
    result = BitBlt(dc->GetSafeHdc(), to.left, to.top, tw, th, memory, from.left, from.top, rop);
  } else {
    const int mode = SetStretchBltMode(dc->GetSafeHdc(), COLORONCOLOR);
    result = StretchBlt(dc->GetSafeHdc(), to.left, to.top, tw, th, memory, from.left, from.top, fw, fh, rop);
    SetStretchBltMode(dc->GetSafeHdc(), mode);
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  return result;
}

// ---- CDibSection ----

int CDibSection::RowBytesFor(int depth, int width) {
  switch (depth) {
    case 4: return ((width + 7) / 2) & ~3;
    case 8: return (width + 3) & ~3;
    case 16: return (2 * width + 2) & ~3;
    case 32: return 4 * width;
    default: return 0;
  }
}

CDibSection::CDibSection(CDC* dc, int width, int height) : m_dc(dc), m_width(width), m_height(height) {
  if (!dc || !dc->GetSafeHdc() || width <= 0 || height <= 0) throw std::bad_alloc();
  int depth = DisplayDepth(dc->GetSafeHdc());
  if (depth == 24) {
    depth = 32;
    m_display24 = TRUE;
  }
  m_bitsPerPixel = depth;
  m_rowBytes = RowBytesFor(depth, width);
  m_spareRows = SpareRowsFor(m_rowBytes);
  BITMAPINFOHEADER& header = m_info.header;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height + m_spareRows;
  header.biPlanes = 1;
  header.biBitCount = WORD(depth);
  header.biCompression = BI_RGB;
  header.biSizeImage = DWORD(m_rowBytes) * DWORD(height + m_spareRows);
  if (depth == 4) {
    std::copy(kVgaColours, kVgaColours + 16, m_info.colours);
  } else if (depth == 8) {
    CTessro* tessro = Tessro();
    const LOGPALETTE* palette = tessro ? tessro->SelectPalette(2) : nullptr;
    for (int i = 0; palette && i < kColourTableSize && i < palette->palNumEntries; ++i) {
      const PALETTEENTRY& entry = palette->palPalEntry[i];
      m_info.colours[i] = RGBQUAD{entry.peBlue, entry.peGreen, entry.peRed, 0};
    }
  } else if (depth == 32) {
    header.biCompression = BI_BITFIELDS;
    header.biClrUsed = 3;
    const DWORD masks[3] = {0xFF0000, 0xFF00, 0xFF};
    std::memcpy(m_info.colours, masks, sizeof masks);
  }
  MakeSection(dc->GetSafeHdc());
  if (m_section) {
    m_memoryDC = CreateCompatibleDC(dc->GetSafeHdc());
    if (m_memoryDC) m_displaced = SelectObject(m_memoryDC, m_section);
  }
  if (!m_section || !m_memoryDC) {
    Destroy();
    throw std::bad_alloc();
  }
  // The spare rows stay allocated after the picture rows; the picture is what the header says.
  header.biHeight = height;
  SetAsTessroTarget(TRUE);
}

void CDibSection::MakeSection(HDC dc) {
  void* bits = nullptr;
  m_info.header.biHeight = m_height + m_spareRows;
  m_section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&m_info), DIB_RGB_COLORS, &bits, nullptr, 0);
  m_bits = m_section ? bits : nullptr;
}

CDibSection::~CDibSection() { Destroy(); }

void CDibSection::Destroy() {
  std::free(m_ownedA);
  std::free(m_ownedB);
  m_ownedA = m_ownedB = nullptr;
  if (m_memoryDC) {
    if (m_displaced) SelectObject(m_memoryDC, m_displaced);
    DeleteDC(m_memoryDC);
  }
  m_memoryDC = nullptr;
  m_displaced = nullptr;
  if (m_section) DeleteObject(m_section);
  m_section = nullptr;
  m_bits = nullptr;
}

void CDibSection::SetAsTessroTarget(BOOL inverted) {
  CTessro* tessro = Tessro();
  if (!tessro || !m_bits) return;
  if (inverted)
    tessro->SetInvertedBitmap(&m_info.header, m_bits, kTargetModeInverted);
  else
    tessro->SetBitmap(&m_info.header, m_bits, 0);
}

void CDibSection::SetPixels32(const std::uint32_t* pixels) {
  if (!pixels || !m_bits) return;
  if (m_bitsPerPixel == 32) {
    std::memcpy(m_bits, pixels, std::size_t(m_width) * std::size_t(m_height) * 4);
    return;
  }
  CTessro* tessro = Tessro();
  if (!tessro) return;
  BITMAPINFOHEADER source{};
  source.biSize = sizeof source;
  source.biWidth = m_width;
  source.biHeight = m_height;
  source.biPlanes = 1;
  source.biBitCount = 32;
  source.biCompression = BI_RGB;
  source.biSizeImage = DWORD(m_width) * DWORD(m_height) * 4;
  DWORD mode = kConvertIndexed;
  PaletteBlock palette{};
  if (m_bitsPerPixel == 1 || m_bitsPerPixel == 4) {
    palette.version = kPaletteVersion;
    palette.count = WORD(1 << m_bitsPerPixel);
    for (int i = 0; i < palette.count; ++i)
      palette.entries[i] = PALETTEENTRY{m_info.colours[i].rgbRed, m_info.colours[i].rgbGreen, m_info.colours[i].rgbBlue, 0};
    tessro->SetConversionPalette(palette.Get());
  } else if (m_bitsPerPixel == 8 || m_bitsPerPixel == 16) {
    mode = kConvertPlain;
  } else if (m_bitsPerPixel == 24) {
    mode = kConvertPlain24;
  }
  tessro->ConvertBitmap(&source, pixels, &m_info.header, m_bits, mode);
}

BOOL CDibSection::Draw() { return DrawAt(0, 0); }

BOOL CDibSection::DrawAt(int x, int y) {
  if (!m_dc || !m_dc->GetSafeHdc() || !m_memoryDC) return FALSE;
  if (!g_appPaletteToCreate) RealizeAppPalette(m_dc);
  BitBlt(m_dc->GetSafeHdc(), x, y, m_width, m_height, m_memoryDC, 0, m_spareRows, SRCCOPY);
  return TRUE;
}

void CDibSection::StretchDraw(int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                              int sourceHeight) {
  if (!m_dc || !m_dc->GetSafeHdc() || !m_bits) return;
  if (x < 0 || y < 0 || width < 0 || height < 0) return;
  if (sourceWidth < 0 || sourceWidth > m_width) sourceWidth = m_width;
  if (sourceHeight < 0 || sourceHeight > m_height) sourceHeight = m_height;
  sourceX = std::max(sourceX, 0);
  sourceY = std::max(sourceY, 0);
  const HDC dc = m_dc->GetSafeHdc();
  HPALETTE previous = nullptr;
  if (g_appPalette.GetSafeHandle()) {
    previous = SelectPalette(dc, HPALETTE(g_appPalette.GetSafeHandle()), FALSE);
    RealizePalette(dc);
  }
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  const int oldMemoryMode = SetStretchBltMode(m_memoryDC, COLORONCOLOR);
  StretchDIBits(dc, x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight, m_bits,
                reinterpret_cast<const BITMAPINFO*>(&m_info), DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  SetStretchBltMode(m_memoryDC, oldMemoryMode);
  if (previous) SelectPalette(dc, previous, FALSE);
}

void CDibSection::CreateBitmap(CDC* dc) {
  if (!dc || !dc->GetSafeHdc() || !m_bits) return;
  if (m_memoryDC) {
    if (m_displaced) SelectObject(m_memoryDC, m_displaced);
    DeleteDC(m_memoryDC);
    m_memoryDC = nullptr;
    m_displaced = nullptr;
  }
  const HBITMAP oldSection = m_section;
  void* const oldBits = m_bits;
  MakeSection(dc->GetSafeHdc());
  if (!m_section) {
    // Keep the old section usable rather than losing the picture.
    m_section = oldSection;
    m_bits = oldBits;
    m_info.header.biHeight = m_height;
    throw std::bad_alloc();
  }
  std::memcpy(m_bits, oldBits, m_info.header.biSizeImage);
  DeleteObject(oldSection);
  m_dc = dc;
  m_memoryDC = CreateCompatibleDC(dc->GetSafeHdc());
  if (!m_memoryDC) throw std::bad_alloc();
  m_displaced = SelectObject(m_memoryDC, m_section);
  m_info.header.biHeight = m_height;
  SetAsTessroTarget(TRUE);
}

// ---- Application palette ----

BOOL SelectAppPalette(CDC* dc) {
  if (!dc || DisplayDepth(dc->GetSafeHdc()) != 8) return FALSE;
  CTessro* tessro = Tessro();
  const LOGPALETTE* builtIn = tessro ? tessro->SelectPalette(2) : nullptr;
  if (g_appPaletteToCreate && builtIn) {
    g_appPalette.CreatePalette(builtIn);
    g_appPaletteToCreate = false;
  }
  if (g_appPalette.GetSafeHandle()) {
    const HPALETTE previous = dc->SelectPalette(HPALETTE(g_appPalette.GetSafeHandle()), FALSE);
    dc->RealizePalette();
    dc->SelectPalette(previous, FALSE);
  }
  if (tessro && builtIn) tessro->SetPalette(builtIn);
  return TRUE;
}

UINT RealizeAppPalette(CDC* dc) {
  if (!dc) return 0;
  const int depth = DisplayDepth(dc->GetSafeHdc());
  if (depth != 8) return UINT(depth);
  if (!g_appPalette.GetSafeHandle()) return 0;
  g_displacedPalette = dc->SelectPalette(HPALETTE(g_appPalette.GetSafeHandle()), FALSE);
  return dc->RealizePalette();
}

void RestoreAppPalette(CDC* dc) {
  if (!dc || DisplayDepth(dc->GetSafeHdc()) != 8 || !g_displacedPalette) return;
  dc->SelectPalette(g_displacedPalette, FALSE);
}

int DeviceDepth(CDC* dc) {
  return dc ? DisplayDepth(dc->GetSafeHdc()) : 0;
}

bool StretchDrawSection(CDC* dc, const CDibSection& section, int dstX, int dstY, int dstW, int dstH, int srcX,
                        int srcY, int srcW, int srcH) {
  if (!dc || !dc->GetSafeHdc() || !section.Bits()) return false;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[kColourTableSize];
  } info = {};
  info.header = section.Header();
  std::memcpy(info.colours, section.ColourTable(), sizeof info.colours);
  RealizeAppPalette(dc);
  const HDC target = dc->GetSafeHdc();
  const int oldMode = SetStretchBltMode(target, COLORONCOLOR);
  // The section is bottom-up: its source y counts from the bottom row.
  const int lines = StretchDIBits(target, dstX, dstY, dstW, dstH, srcX, section.Height() - srcY - srcH, srcW, srcH,
                                  section.Bits(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(target, oldMode);
  RestoreAppPalette(dc);
  return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}

bool DrawDithered(CDC* dc, const std::uint32_t* pixels, int width, int height, int dstX, int dstY, int dstW,
                  int dstH, int srcX, int srcY, int srcW, int srcH) {
  if (!dc || !pixels || width <= 0 || height <= 0) return false;
  if (DeviceDepth(dc) < 24 && !Tessro()) return false;  // nothing to convert with
  SelectAppPalette(dc);
  CDibSection section(dc, width, height);
  section.SetPixels32(pixels);
  return StretchDrawSection(dc, section, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH);
}
