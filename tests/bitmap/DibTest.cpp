// Screen pictures on the real display (Wine on an X display).
#include "bitmap/Dib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(CDibSection, RowBytesAndSpareRowsPerDepth) {
  struct Case {
    int depth, width, rowBytes, spareRows;
  } cases[] = {{32, 5, 20, 2}, {8, 5, 8, 4}, {4, 5, 4, 8}, {16, 5, 12, 3}, {4, 9, 8, 4}, {1, 5, 0, 0}, {32, 1, 4, 8}};
  for (const Case& c : cases) {
    const int rowBytes = CDibSection::RowBytesFor(c.depth, c.width);
    EXPECT_EQ(rowBytes, c.rowBytes) << c.depth << " bits, " << c.width << " wide";
    EXPECT_EQ(CDibSection::SpareRowsFor(rowBytes), c.spareRows) << c.depth << " bits, " << c.width << " wide";
  }
}

// A memory device context compatible with the screen, holding a bitmap of its own to draw on.
struct ScreenCanvas {
  CDC screen, memory;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  ScreenCanvas(int width, int height) {
    screen.Attach(GetDC(nullptr));
    memory.Attach(CreateCompatibleDC(screen.GetSafeHdc()));
    bitmap = CreateCompatibleBitmap(screen.GetSafeHdc(), width, height);
    previous = SelectObject(memory.GetSafeHdc(), bitmap);
  }
  ~ScreenCanvas() {
    SelectObject(memory.GetSafeHdc(), previous);
    DeleteObject(bitmap);
    DeleteDC(memory.Detach());
    ReleaseDC(nullptr, screen.Detach());
  }
};

TEST(CDibSection, TrueColourDisplayTakesPixelsAsTheyAreAndDrawsThem) {
  ScreenCanvas canvas(5, 3);
  const int depth = GetDeviceCaps(canvas.screen.GetSafeHdc(), BITSPIXEL);
  if (depth < 24) GTEST_SKIP() << "display of " << depth << " bits";
  CDibSection section(&canvas.memory, 5, 3);
  EXPECT_EQ(section.BitsPerPixel(), 32);
  EXPECT_EQ(section.IsTrueColour24(), depth == 24);
  EXPECT_EQ(section.RowBytes(), 20);
  EXPECT_EQ(section.SpareRows(), 2);
  EXPECT_EQ(section.Header().biCompression, DWORD(BI_BITFIELDS));
  EXPECT_EQ(section.Header().biHeight, 3);

  // Memory row 0 is the bottom row as displayed.
  std::vector<std::uint32_t> pixels(15, 0x000000FFu);
  for (int x = 0; x < 5; ++x) pixels[std::size_t(10 + x)] = 0x00FF0000u;  // top row red
  pixels[0] = 0x0000FF00u;                                                // bottom-left green
  section.SetPixels32(pixels.data());
  EXPECT_EQ(0, std::memcmp(section.Bits(), pixels.data(), pixels.size() * 4));
  ASSERT_TRUE(section.Draw());
  EXPECT_EQ(GetPixel(canvas.memory.GetSafeHdc(), 2, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(canvas.memory.GetSafeHdc(), 0, 2), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(canvas.memory.GetSafeHdc(), 4, 1), RGB(0, 0, 255));

  section.CreateBitmap(&canvas.memory);  // made again: the pixels stay
  EXPECT_EQ(0, std::memcmp(section.Bits(), pixels.data(), pixels.size() * 4));

  EXPECT_FALSE(SelectAppPalette(&canvas.screen));  // only 8-bit displays use the palette
  EXPECT_EQ(RealizeAppPalette(&canvas.screen), UINT(depth));
}

// A DIB section of the given depth with a grey ramp colour table (for 8 bits and less).
HBITMAP MakeDib(int bitCount, int width, int height, void** bits) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, WORD(bitCount), BI_RGB, 0, 0, 0, 0, 0};
  for (int i = 0; i < 256; ++i) info.colours[i] = RGBQUAD{BYTE(i * 16), BYTE(i * 16), BYTE(i * 16), 0};
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, nullptr, 0);
}

TEST(CDib, PaletteFromTheColourTableOrHalftone) {
  void* bits = nullptr;
  CDib indexed;
  ASSERT_TRUE(indexed.Attach(MakeDib(4, 4, 2, &bits)));
  EXPECT_EQ(indexed.Header().bmWidth, 4);
  PALETTEENTRY entries[256];
  ASSERT_EQ(GetPaletteEntries(HPALETTE(indexed.Palette().GetSafeHandle()), 0, 256, entries), 16u);
  EXPECT_EQ(entries[3].peRed, 48);

  CDib trueColour;
  ASSERT_TRUE(trueColour.Attach(MakeDib(24, 4, 2, &bits)));
  EXPECT_GT(GetPaletteEntries(HPALETTE(trueColour.Palette().GetSafeHandle()), 0, 0, nullptr), 16u);

  indexed.Release();
  EXPECT_EQ(indexed.GetSafeHandle(), nullptr);
  EXPECT_EQ(indexed.Palette().GetSafeHandle(), nullptr);
}

TEST(CDib, DrawsThroughGdiAndDrawDib) {
  void* bits = nullptr;
  CDib dib;
  ASSERT_TRUE(dib.Attach(MakeDib(24, 2, 2, &bits)));
  auto* bytes = static_cast<std::uint8_t*>(bits);  // bottom-up rows of 8 bytes (6 + padding)
  const std::uint8_t bottom[] = {0, 0, 255, 0, 255, 0, 0, 0}, top[] = {255, 0, 0, 255, 255, 255, 0, 0};
  std::memcpy(bytes, bottom, 8);
  std::memcpy(bytes + 8, top, 8);
  GdiFlush();
  for (BOOL drawDib : {FALSE, TRUE}) {
    ScreenCanvas canvas(4, 4);
    const RECT to{0, 0, 4, 4};
    ASSERT_TRUE(dib.Draw(&canvas.memory, &to, nullptr, drawDib, nullptr, TRUE)) << drawDib;
    EXPECT_EQ(GetPixel(canvas.memory.GetSafeHdc(), 0, 0), RGB(0, 0, 255)) << drawDib;
    EXPECT_EQ(GetPixel(canvas.memory.GetSafeHdc(), 3, 0), RGB(255, 255, 255)) << drawDib;
    EXPECT_EQ(GetPixel(canvas.memory.GetSafeHdc(), 0, 3), RGB(255, 0, 0)) << drawDib;
    EXPECT_EQ(GetPixel(canvas.memory.GetSafeHdc(), 3, 3), RGB(0, 255, 0)) << drawDib;
  }
  CDib empty;
  ScreenCanvas canvas(1, 1);
  EXPECT_FALSE(empty.Draw(&canvas.memory, nullptr, nullptr, FALSE, nullptr, TRUE));
  EXPECT_EQ(GetBitmapSize(nullptr).cx, 0);
}

}  // namespace
