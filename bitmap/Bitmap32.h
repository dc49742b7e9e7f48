// The 32-bit picture every part of the program computes with.
//
// Pixel word 0xTTRRGGBB: TT is the transparency (0 opaque, 255 clear), then red, green, blue.
// Rows are bottom-up (memory row 0 is the bottom row as displayed) with no padding. The buffer
// always holds width x height + 7 words: some operations walk or fill the spare words too.
#pragma once

#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"

#include <cstdint>

// The owned block of pixel words behind a Bitmap32.
class PixelBuffer {
public:
  PixelBuffer() = default;
  ~PixelBuffer() { Free(); }
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;

  // Frees any old block, then allocates count words; E_OUTOFMEMORY leaves the buffer empty.
  HRESULT Allocate(std::uint32_t count);
  void Free();
  void Reset() { Free(); }

  std::uint32_t* pixels = nullptr;
  std::uint32_t count = 0;
};

constexpr HRESULT kOutOfMemoryResult = static_cast<HRESULT>(0x8007000E);
constexpr std::uint32_t kBitmap32SpareWords = 7;

class Bitmap32 : public CObject {
  DECLARE_DYNAMIC(Bitmap32)
public:
  Bitmap32() = default;
  // Copies width x height words; throws std::bad_alloc when the copy cannot be allocated.
  Bitmap32(const Bitmap32& other);
  Bitmap32& operator=(const Bitmap32&) = delete;
  ~Bitmap32() override { FreeBuffer(); }

  HRESULT Create(const int& width, const int& height);
  HRESULT CreateFilled(const int& width, const int& height, std::uint32_t value);
  HRESULT CreateFromPixels(const int& width, const int& height, const std::uint32_t* source);
  // Frees the pixels; width and height keep their values.
  void FreeBuffer() { m_buffer.Free(); }
  // Fills this bitmap (its own size) with copies of tile, anchored at the top-left corner of
  // the picture as displayed; every written pixel is made fully transparent.
  void TileFrom(const Bitmap32& tile);

  std::uint32_t* Pixels() { return m_buffer.pixels; }
  const std::uint32_t* Pixels() const { return m_buffer.pixels; }
  std::uint32_t BufferCount() const { return m_buffer.count; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

private:
  // Width x height + spare words as a 32-bit count, or 0 when sizes are negative or too large.
  static bool WordCount(int width, int height, std::uint32_t& count);

  PixelBuffer m_buffer;
  int m_width = 0;
  int m_height = 0;
};

// Recolours a bitmap by luminance between two colour references.
class CContoneBitmap32 : public Bitmap32 {
  DECLARE_DYNAMIC(CContoneBitmap32)
public:
  // 1, or 0 when source is null, not a bitmap, of another size or without pixels.
  int ContoneFrom(const CObject* source, COLORREF lightColour, COLORREF darkColour);
};
