#include "bitmap/JpegImageExporter.h"

#include "bitmap/ImageLibraryWrappers.h"

#include <vector>

int JpegImageExporter::SetQuality(int quality) {
  m_quality = quality < 0 ? 0 : quality > 100 ? 100 : quality;
  return kSuccess;
}

int JpegImageExporter::SetBitDepth(int bits) { return bits == 8 ? kSuccess : kOutOfRange; }

int JpegImageExporter::WriteImage(const BITMAP* image) {
  if (!m_file) return kFileNotOpen;
  if (!image || image->bmBitsPixel != 32 || !image->bmBits) return Result(kBadArgument);
  if (image->bmWidth <= 0 || image->bmHeight <= 0) return Result(kUnsupportedInput);
  std::vector<const unsigned char*> rows;
  try {
    rows.resize(std::size_t(image->bmHeight));
  } catch (...) {
    return Result(kOutOfMemory);
  }
  // The picture's top row (the last memory row) first.
  const auto* bits = static_cast<const unsigned char*>(image->bmBits);
  for (int i = 0; i < image->bmHeight; ++i)
    rows[std::size_t(i)] = bits + std::size_t(image->bmHeight - 1 - i) * std::size_t(image->bmWidthBytes);
  return Result(BwJpegWrite(m_file, image->bmWidth, image->bmHeight, rows.data(), m_quality, progressive ? 1 : 0));
}
