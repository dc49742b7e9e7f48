#include "bitmap/Bitmap32.h"

#include <cstdlib>
#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(Bitmap32, CObject)
IMPLEMENT_DYNAMIC(CContoneBitmap32, Bitmap32)

HRESULT PixelBuffer::Allocate(std::uint32_t wordCount) {
  Free();
  if (wordCount == 0) return kOutOfMemoryResult;
  auto* block = static_cast<std::uint32_t*>(std::malloc(std::size_t(wordCount) * sizeof(std::uint32_t)));
  if (!block) return kOutOfMemoryResult;
  pixels = block;
  count = wordCount;
  return 0;
}

void PixelBuffer::Free() {
  std::free(pixels);
  pixels = nullptr;
  count = 0;
}

bool Bitmap32::WordCount(int width, int height, std::uint32_t& wordCount) {
  if (width < 0 || height < 0) return false;
  const std::uint64_t words = std::uint64_t(width) * std::uint64_t(height) + kBitmap32SpareWords;
  // Keep the byte size addressable on the 32-bit program.
  if (words > 0x3FFFFFFFu) return false;
  wordCount = std::uint32_t(words);
  return true;
}

Bitmap32::Bitmap32(const Bitmap32& other) : CObject() {
  if (Create(other.m_width, other.m_height) != 0) throw std::bad_alloc();
  if (other.m_buffer.pixels)
    std::memcpy(m_buffer.pixels, other.m_buffer.pixels,
                std::size_t(m_width) * std::size_t(m_height) * sizeof(std::uint32_t));
}

HRESULT Bitmap32::Create(const int& width, const int& height) {
  m_width = width;
  m_height = height;
  std::uint32_t words = 0;
  if (!WordCount(width, height, words)) {
    m_buffer.Free();
    return kOutOfMemoryResult;
  }
  return m_buffer.Allocate(words);
}

HRESULT Bitmap32::CreateFilled(const int& width, const int& height, std::uint32_t value) {
  std::uint32_t words = 0;
  if (!WordCount(width, height, words)) return kOutOfMemoryResult;
  const HRESULT hr = m_buffer.Allocate(words);
  if (hr != 0) return hr;
  m_width = width;
  m_height = height;
  for (std::uint32_t i = 0; i < words; ++i) m_buffer.pixels[i] = value;
  return 0;
}

HRESULT Bitmap32::CreateFromPixels(const int& width, const int& height, const std::uint32_t* source) {
  std::uint32_t words = 0;
  if (!WordCount(width, height, words)) return kOutOfMemoryResult;
  const HRESULT hr = m_buffer.Allocate(words);
  if (hr != 0) return hr;
  m_width = width;
  m_height = height;
  if (source) std::memcpy(m_buffer.pixels, source, std::size_t(words) * sizeof(std::uint32_t));
  return 0;
}

void Bitmap32::TileFrom(const Bitmap32& tile) {
  if (&tile == this || tile.m_height <= 0 || tile.m_width <= 0 || !tile.m_buffer.pixels ||
      !m_buffer.pixels || m_width <= 0 || m_height <= 0)
    return;
  const int th = tile.m_height, tw = tile.m_width;
  // The first H mod th memory rows take the last rows of the tile, so that whole tile copies
  // line up with the top of the picture as displayed.
  const int lead = m_height % th;
  for (int row = 0; row < m_height; ++row) {
    const int tileRow = row < lead ? th - lead + row : (row - lead) % th;
    const std::uint32_t* src = tile.m_buffer.pixels + std::size_t(tileRow) * tw;
    std::uint32_t* dst = m_buffer.pixels + std::size_t(row) * m_width;
    for (int x = 0; x < m_width; ++x) dst[x] = src[x % tw] | 0xFF000000u;
  }
}

int CContoneBitmap32::ContoneFrom(const CObject* object, COLORREF lightColour, COLORREF darkColour) {
  if (!object || !object->IsKindOf(RUNTIME_CLASS(Bitmap32))) return 0;
  const Bitmap32* source = static_cast<const Bitmap32*>(object);
  if ( !source->Pixels() || source->Width() != Width() || source->Height() != Height() ||
      !Pixels())
    return 0;
  const std::uint32_t words = source->BufferCount() < BufferCount() ? source->BufferCount() : BufferCount();
  const std::uint32_t* src = source->Pixels();
  std::uint32_t* dst = Pixels();
  // Colour references hold red in the low byte; pixel words hold blue there.
  const std::uint32_t light[3] = {(lightColour >> 16) & 0xFF, (lightColour >> 8) & 0xFF, lightColour & 0xFF};
  const std::uint32_t dark[3] = {(darkColour >> 16) & 0xFF, (darkColour >> 8) & 0xFF, darkColour & 0xFF};
  for (std::uint32_t i = 0; i < words; ++i) {
    const std::uint32_t p = src[i];
    const std::uint32_t d = (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
    const std::uint32_t e = 768 - d;
    std::uint32_t out = dst[i] & 0xFF000000u;
    for (int c = 0; c < 3; ++c) out |= ((light[c] * d + dark[c] * e) / 768) << (8 * c);
    dst[i] = out;
  }
  return 1;
}
