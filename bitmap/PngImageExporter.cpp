#include "bitmap/PngImageExporter.h"

#include "bitmap/ImageLibraryWrappers.h"

#include <new>
#include <vector>

namespace {
constexpr int kBestCompression = 9;

bool RowPointers(const BITMAP& image, std::vector<const unsigned char*>& rows) {
  try {
    rows.resize(std::size_t(image.bmHeight));
  } catch (...) {
    return false;
  }
  const auto* bits = static_cast<const unsigned char*>(image.bmBits);
  for (int i = 0; i < image.bmHeight; ++i)
    rows[std::size_t(i)] = bits + std::size_t(image.bmHeight - 1 - i) * std::size_t(image.bmWidthBytes);
  return true;
}
}  // namespace

int PngImageExporter::SetBitDepth(int bits) {
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return kOutOfRange;
  m_bitDepth = bits;
  return kSuccess;
}

int PngImageExporter::WriteImage(const BITMAP* image) {
  if (!m_file) return kFileNotOpen;
  if (!image || !image->bmBits) return Result(kBadArgument);
  if (image->bmWidth <= 0 || image->bmHeight <= 0) return Result(kUnsupportedInput);
  if (image->bmBitsPixel == 32 && m_bitDepth <= 8) {
    struct {
      LOGPALETTE header;
      PALETTEENTRY more[kMaxPaletteEntries - 1];
    } palette;
    palette.header.palVersion = kPaletteVersion;
    palette.header.palNumEntries = WORD(1 << m_bitDepth);
    const int result = PreparePalette(image, &palette.header);
    if (result != kSuccess) return Result(result);
    return WriteImageWithPalette(image, &palette.header);
  }
  return Result(WriteTrueColour(image));
}

int PngImageExporter::WriteTrueColour(const BITMAP* image) {
  BITMAP converted{};
  const BITMAP* rowsOf = image;
  if (image->bmBitsPixel == 32 && m_bitDepth < 32) {
    if (m_bitDepth != 24) return kBadArgument;
    int result = AllocateImage(image, &converted, 24);
    if (result == kSuccess) result = ConvertImage(image, &converted, nullptr);
    if (result != kSuccess) {
      FreeImage(&converted);
      return result;
    }
    rowsOf = &converted;
  }
  int result = kBadArgument;
  if (rowsOf->bmBitsPixel == 24 || rowsOf->bmBitsPixel == 32) {
    std::vector<const unsigned char*> rows;
    if (!RowPointers(*rowsOf, rows)) {
      result = kOutOfMemory;
    } else {
      const bool alpha = m_transparent && rowsOf->bmBitsPixel == 32;
      BwPngImage png{};
      png.width = rowsOf->bmWidth;
      png.height = rowsOf->bmHeight;
      png.bitDepth = 8;
      png.colourType = alpha ? kBwPngRgbAlpha : kBwPngRgb;
      png.interlace = interlace ? 1 : 0;
      png.compressionLevel = -1;
      png.bytesPerPixel = rowsOf->bmBitsPixel / 8;
      png.dropFourthByte = !alpha && rowsOf->bmBitsPixel == 32;
      png.rows = rows.data();
      result = BwPngWrite(m_file, &png);
    }
  }
  FreeImage(&converted);
  return result;
}

int PngImageExporter::WriteImageWithPalette(const BITMAP* image, LOGPALETTE* palette) {
  if (!m_file) return kFileNotOpen;
  if (!image || !image->bmBits) return Result(kBadArgument);
  if (m_bitDepth > 8) return Result(palette ? kBadArgument : WriteTrueColour(image));
  if (!palette || palette->palNumEntries == 0) return Result(kBadArgument);
  if (image->bmWidth <= 0 || image->bmHeight <= 0) return Result(kUnsupportedInput);
  BITMAP converted{};
  const BITMAP* rowsOf = image;
  int result = kSuccess;
  if (image->bmBitsPixel == 32) {
    result = AllocateImage(image, &converted, m_bitDepth);
    if (result == kSuccess) result = ConvertImage(image, &converted, palette);
    rowsOf = &converted;
  } else if (image->bmBitsPixel != 1 && image->bmBitsPixel != 4 && image->bmBitsPixel != 8) {
    result = kBadArgument;
  }
  if (result == kSuccess) {
    const int count = palette->palNumEntries;
    unsigned char rgb[3 * kMaxPaletteEntries];
    unsigned char alpha[kMaxPaletteEntries];
    for (int i = 0; i < count; ++i) {
      rgb[3 * i] = palette->palPalEntry[i].peRed;
      rgb[3 * i + 1] = palette->palPalEntry[i].peGreen;
      rgb[3 * i + 2] = palette->palPalEntry[i].peBlue;
      alpha[i] = i == m_reservedIndex ? 0 : 255;
    }
    std::vector<const unsigned char*> rows;
    if (!RowPointers(*rowsOf, rows)) {
      result = kOutOfMemory;
    } else {
      BwPngImage png{};
      png.width = rowsOf->bmWidth;
      png.height = rowsOf->bmHeight;
      png.bitDepth = rowsOf->bmBitsPixel;
      png.colourType = kBwPngPalette;
      png.interlace = interlace ? 1 : 0;
      png.compressionLevel = kBestCompression;
      png.rows = rows.data();
      png.paletteRgb = rgb;
      png.paletteCount = count;
      if (m_transparent) {
        png.transparency = alpha;
        png.transparencyCount = count;
      }
      result = BwPngWrite(m_file, &png);
    }
  }
  FreeImage(&converted);
  return Result(result);
}
