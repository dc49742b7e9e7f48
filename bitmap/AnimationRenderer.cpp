#include "bitmap/AnimationRenderer.h"

#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapServices.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
const char kSourceName[] = "AnimationRenderer";
constexpr int kPaletteEntries = 256;
constexpr std::size_t kPaletteBytes = sizeof(LOGPALETTE) + (kPaletteEntries - 1) * sizeof(PALETTEENTRY);
}  // namespace

CAnimationRenderer::~CAnimationRenderer() { RemoveAllFrames(); }

int CAnimationRenderer::SetPalette(const LOGPALETTE* palette) {
  if (!palette) {
    BitmapInternalError(kSourceName, 165);
    return 0;
  }
  auto* copy = static_cast<LOGPALETTE*>(std::calloc(1, kPaletteBytes));
  if (!copy) {
    BitmapInternalError(kSourceName, 180);
    return 0;
  }
  copy->palVersion = palette->palVersion;
  copy->palNumEntries = palette->palNumEntries;
  const int entries = palette->palNumEntries < kPaletteEntries ? palette->palNumEntries : kPaletteEntries;
  std::memcpy(copy->palPalEntry, palette->palPalEntry, std::size_t(entries) * sizeof(PALETTEENTRY));
  std::free(m_palette);
  m_palette = copy;
  return 1;
}

int CAnimationRenderer::AddFrame(const BITMAP* bitmap) {
  if (!bitmap) {
    BitmapInternalError(kSourceName, 95);
    return 0;
  }
  if (bitmap->bmBitsPixel != 8) {
    BitmapInternalError(kSourceName, 96);
    return 0;
  }
  if (!m_palette) {
    BitmapInternalError(kSourceName, 97);
    return 0;
  }
  Bitmap32* frame = new (std::nothrow) Bitmap32;
  if (!frame) {
    BitmapInternalError(kSourceName, 110);
    return 0;
  }
  const int width = bitmap->bmWidth, height = bitmap->bmHeight;
  if (!bitmap->bmBits || width <= 0 || height <= 0 || frame->Create(width, height) != 0) {
    delete frame;
    BitmapInternalError(kSourceName, 117);
    return 0;
  }
  const int stride = width + (4 - width % 4) % 4;
  const BYTE* src = static_cast<const BYTE*>(bitmap->bmBits);
  std::uint32_t* dst = frame->Pixels();
  for (int y = 0; y < height; ++y) {
    const BYTE* row = src + std::size_t(y) * stride;
    for (int x = 0; x < width; ++x) {
      const PALETTEENTRY& e = m_palette->palPalEntry[row[x]];
      dst[std::size_t(y) * width + x] = (std::uint32_t(e.peRed) << 16) | (std::uint32_t(e.peGreen) << 8) | e.peBlue;
    }
  }
  try {
    m_frames.push_back(frame);
  } catch (...) {
    delete frame;
    BitmapInternalError(kSourceName, 110);
    return 0;
  }
  return 1;
}

const Bitmap32* CAnimationRenderer::GetFrame(int index) const {
  return index >= 0 && index < GetFrameCount() ? m_frames[std::size_t(index)] : nullptr;
}

int CAnimationRenderer::ShowFrame(int index) {
  if (index < 0 || index >= GetFrameCount()) {
    BitmapInternalError(kSourceName, 68);
    return 0;
  }
  const Bitmap32* frame = m_frames[std::size_t(index)];
  BitmapServices& services = GetBitmapServices();
  const int shown = services.ShowPreviewPicture(frame->Width(), frame->Height(), frame->Pixels());
  if (shown < 0) {
    BitmapInternalError(kSourceName, 74);
    return 0;
  }
  if (shown) services.RenderWithFlags(1, 2);
  return shown;
}

void CAnimationRenderer::RemoveAllFrames() {
  for (Bitmap32* frame : m_frames) delete frame;
  m_frames.clear();
  std::free(m_palette);
  m_palette = nullptr;
}
