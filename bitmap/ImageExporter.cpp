#include "bitmap/ImageExporter.h"

#include "bitmap/PaletteQuantiser.h"
#include "bitmap/TessroConversion.h"
#include "util/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
// The 16 standard VGA colours in palette order (red, green, blue).
const BYTE kVgaColours[16][3] = {
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0x80, 0x80, 0x80},
    {0xC0, 0xC0, 0xC0}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}};
// The colours the web-safe cube lacks of those 16: appended to the cube on request.
const BYTE kCubeExtraColours[8][3] = {{0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
                                      {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80},
                                      {0x80, 0x80, 0x80}, {0xC0, 0xC0, 0xC0}};
constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 51;

// Dither mode (0 none, 1 ordered, 2 error diffusion) to the rasterizer's conversion method.
int ConversionModeForDither(int ditherMode) {
  static const int kModes[3] = {kConvertNearest, kConvertOrdered, kConvertErrorDiffusion};
  return kModes[std::clamp(ditherMode, 0, 2)];
}

PALETTEENTRY Entry(const BYTE (&c)[3]) { return PALETTEENTRY{c[0], c[1], c[2], 0}; }

int BytesPerRow(int width, int bits) {
  const std::int64_t w = width;
  std::int64_t bytes = 0;
  switch (bits) {
    case 1: bytes = (w + 31) / 8; break;
    case 4: bytes = (w + 7) / 2; break;
    case 8: bytes = w + 3; break;
    case 24: bytes = 3 * (w + 1); break;
    case 32: bytes = 4 * w + 3; break;
    default: return -1;
  }
  bytes &= ~std::int64_t(3);
  return bytes > 0x7FFFFFFF ? -1 : int(bytes);
}
}  // namespace

int GifColourBits(int count) {
  int n = 1;
  while (n < 8 && (1 << n) < count) ++n;
  return n;
}

ImageExporter::~ImageExporter() {
  // A writer destroyed without Close never completed its file.
  if (m_file) {
    m_discard = true;
    CloseFile();
  }
  delete m_quantiser;
}

int ImageExporter::Open(const char* path) {
  if (m_file) {
    m_discard = true;
    CloseFile();
  }
  m_failure = kSuccess;
  m_discard = false;
  if (!path || !*path) return kCannotOpen;
  m_targetPath = path;
  m_tempPath = m_targetPath + ".tmp";
  m_file = std::fopen(m_tempPath.c_str(), "wb");
  if (!m_file) return kCannotOpen;
  return kSuccess;
}

int ImageExporter::CloseFile() {
  if (!m_file) return kSuccess;
  const bool closed = std::fclose(m_file) == 0;
  m_file = nullptr;
  if (!closed && m_failure == kSuccess) m_failure = kWriteFailed;  // a full disk shows here
  if (m_discard || m_failure != kSuccess) {
    std::remove(m_tempPath.c_str());
    return m_discard ? kSuccess : m_failure;
  }
  // The old file goes only once the new one is complete.
  if (!FileSystem::ReplaceEntry(m_tempPath.c_str(), m_targetPath.c_str())) {
    std::remove(m_tempPath.c_str());
    return m_failure = kWriteFailed;
  }
  return kSuccess;
}

int ImageExporter::Close() { return CloseFile(); }

int ImageExporter::Abort() {
  m_discard = true;
  Close();
  return kSuccess;
}

int ImageExporter::EnableTransparency() {
  m_transparent = true;
  return kSuccess;
}

int ImageExporter::SetOption(int) { return kNotSupported; }

int ImageExporter::SetTessroContext(TessroConversion* context) {
  m_context = context;
  return kSuccess;
}

int ImageExporter::SetDitherMode(int mode) {
  if (mode < 0 || mode > 2) return kOutOfRange;
  m_ditherMode = mode;
  return kSuccess;
}

int ImageExporter::SetPaletteSize(int colours) {
  if (colours < 1 || colours > kMaxPaletteEntries) return kOutOfRange;
  m_paletteSize = colours;
  return kSuccess;
}

int ImageExporter::AddFixedColour(const PALETTEENTRY& entry) {
  if (m_fixedCount >= kMaxPaletteEntries) return kTooManyFixedColours;
  m_fixedColours[m_fixedCount++] = entry;
  return kSuccess;
}

int ImageExporter::Prepare() {
  m_snapshot = Snapshot{m_ditherMode, m_bitDepth, m_standardColours};
  // Fixed palettes need no quantiser: ordered dithering, or the standard colours below 8 bits.
  if (m_ditherMode == 1 || (m_standardColours && m_bitDepth < 8)) return kSuccess;
  delete m_quantiser;
  m_quantiser = new (std::nothrow) PaletteQuantiser;
  if (!m_quantiser) return kOutOfMemory;
  m_quantiser->Clear();
  return kSuccess;
}

int ImageExporter::AddToPalette(const BITMAP* image) {
  if (!image || image->bmBitsPixel != 32) return kUnsupportedInput;
  if (m_bitDepth != 1 && m_bitDepth != 4 && m_bitDepth != 8) return kOutOfRange;
  if (m_ditherMode != m_snapshot.ditherMode || m_bitDepth != m_snapshot.bitDepth ||
      m_standardColours != m_snapshot.standardColours)
    return kSettingsChanged;
  if (m_quantiser && image->bmBits && image->bmWidth > 0 && image->bmHeight > 0)
    m_quantiser->AddPixels(static_cast<const std::uint32_t*>(image->bmBits),
                           std::size_t(image->bmWidth) * std::size_t(image->bmHeight));
  return kSuccess;
}

int ImageExporter::BuildPalette(LOGPALETTE* palette) {
  if (!palette) return kBadArgument;
  if (m_ditherMode != m_snapshot.ditherMode || m_bitDepth != m_snapshot.bitDepth ||
      m_standardColours != m_snapshot.standardColours)
    return kSettingsChanged;
  if (m_bitDepth != 1 && m_bitDepth != 4 && m_bitDepth != 8) return kBadArgument;
  const int capacity = palette->palNumEntries;
  const int maxEntries = 1 << m_bitDepth;
  if (capacity > maxEntries) return kUnsupportedInput;

  const int reserve = (m_transparent || m_spareEntry) ? 1 : 0;
  m_reservedIndex = -1;
  const int target = std::min({m_paletteSize + reserve, maxEntries, capacity});
  palette->palVersion = kPaletteVersion;
  PALETTEENTRY* entries = palette->palPalEntry;
  int count = 0;

  if (m_quantiser) {
    PaletteQuantiser& q = *m_quantiser;
    q.webSafeOnly = m_webSafeOnly;
    q.includeSystemColours = m_standardColours;
    q.ClearFixedColours();
    for (int i = 0; i < m_fixedCount; ++i)
      q.AddFixedColour(m_fixedColours[i].peRed, m_fixedColours[i].peGreen, m_fixedColours[i].peBlue);
    const int colours = std::max(target - reserve, 0);
    q.CutBoxes(colours);
    palette->palNumEntries = WORD(capacity);
    const bool exact = q.MakePalette(palette, colours);
    count = palette->palNumEntries;
    if (reserve && count < capacity) {
      m_reservedIndex = count;
      entries[count++] = kFillerEntry;
    }
    palette->palVersion = WORD(kPaletteVersion + (exact ? kExactColoursFlag : 0));
    if (m_bitDepth == 1 && m_reservedIndex == 0) {
      // The 1-bit mask marks transparent pixels with 1: the reserved entry must be index 1.
      entries[1] = entries[0];
      entries[0] = PALETTEENTRY{0, 0, 0, 0};
      m_reservedIndex = 1;
      count = 2;
    }
    if (m_bitDepth == 1 && m_ditherMode == 2 && !reserve && count >= 2) {
      for (int i = 0; i < 2; ++i) {
        entries[i].peRed = entries[i].peRed < 128 ? 0 : 255;
        entries[i].peGreen = entries[i].peGreen < 128 ? 0 : 255;
        entries[i].peBlue = entries[i].peBlue < 128 ? 0 : 255;
      }
      if (entries[0].peRed == entries[1].peRed && entries[0].peGreen == entries[1].peGreen &&
          entries[0].peBlue == entries[1].peBlue) {
        if (entries[0].peRed == 0 && entries[0].peGreen == 0 && entries[0].peBlue == 0)
          entries[1] = PALETTEENTRY{255, 255, 255, 0};
        else
          entries[0] = PALETTEENTRY{0, 0, 0, 0};
      }
    }
  } else {
    auto put = [&](PALETTEENTRY e) {
      if (count < capacity) entries[count] = e;
      ++count;
    };
    if (m_bitDepth == 1) {
      put(PALETTEENTRY{0, 0, 0, 0});
      put(PALETTEENTRY{255, 255, 255, 0});
    } else if (m_bitDepth == 4) {
      for (const auto& c : kVgaColours) put(Entry(c));
    } else {
      for (int r = 0; r < kCubeLevels; ++r)
        for (int g = 0; g < kCubeLevels; ++g)
          for (int b = 0; b < kCubeLevels; ++b)
            put(PALETTEENTRY{BYTE(r * kCubeStep), BYTE(g * kCubeStep), BYTE(b * kCubeStep), 0});
      if (m_standardColours)
        for (const auto& c : kCubeExtraColours) put(Entry(c));
      if (reserve && count < capacity) {
        m_reservedIndex = count;
        put(kFillerEntry);
      }
    }
    count = std::min(count, capacity);
  }
  for (int i = count; i < capacity; ++i) entries[i] = kFillerEntry;
  palette->palNumEntries = WORD(count);
  return kSuccess;
}

int ImageExporter::PreparePalette(const BITMAP* image, LOGPALETTE* palette) {
  int result = Prepare();
  if (result == kSuccess) result = AddToPalette(image);
  if (result == kSuccess) result = BuildPalette(palette);
  return result;
}

int ImageExporter::AllocateImage(const BITMAP* source, BITMAP* out, int bits) {
  if (!source || !out) return kBadArgument;
  *out = BITMAP{};
  if (source->bmWidth <= 0 || source->bmHeight <= 0) return kUnsupportedInput;
  const int bytesPerRow = BytesPerRow(source->bmWidth, bits);
  if (bytesPerRow < 0) return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32 ? kOutOfMemory
                                                                                             : kBadArgument;
  const std::uint64_t size = std::uint64_t(bytesPerRow) * std::uint64_t(source->bmHeight) + kImageSpareBytes;
  if (size > 0x7FFFFFFFu) return kOutOfMemory;
  BYTE* buffer = new (std::nothrow) BYTE[std::size_t(size)];
  if (!buffer) return kOutOfMemory;
  *out = BITMAP{0, source->bmWidth, source->bmHeight, bytesPerRow, 1, WORD(bits), buffer};
  return kSuccess;
}

void ImageExporter::FreeImage(BITMAP* image) {
  if (!image) return;
  delete[] static_cast<BYTE*>(image->bmBits);
  image->bmBits = nullptr;
}

int ImageExporter::SetupConversion(int depth, const LOGPALETTE* palette) {
  if (!m_context) return kBadArgument;
  m_context->SetConversionPalette(palette);
  const bool exactFlag = palette && (palette->palVersion & kExactColoursFlag);
  const bool exact = exactFlag && !m_clearPixelsConverted;
  // An exact palette with unlisted clear pixels: nearest colour keeps every listed colour exact.
  const int tableMode = exactFlag ? kConvertNearest : ConversionModeForDither(m_ditherMode);
  switch (depth) {
    case 1:
      m_conversionMode = exact ? kConvertNearest : tableMode;
      break;
    case 4:
      m_context->SetDitherErrorLimit(32);
      m_conversionMode = exact ? kConvertExact : tableMode;
      break;
    case 8: {
      m_context->SetDitherErrorLimit(32);
      if (exact) {
        m_conversionMode = kConvertExact;
        break;
      }
      bool allGrey = palette != nullptr;
      for (int i = 0; palette && i < palette->palNumEntries; ++i) {
        const PALETTEENTRY& e = palette->palPalEntry[i];
        if (e.peFlags < 128 && (e.peRed != e.peGreen || e.peGreen != e.peBlue)) allGrey = false;
      }
      if (allGrey) {
        m_conversionMode = m_ditherMode == 0 ? kConvertGrey : kConvertGreyDithered;
      } else {
        if (!palette) return kBadArgument;
        m_context->SelectPalette(m_ditherMode == 1 ? 2 : 1);
        if (m_context->SetPalette(palette) != 0) return kBadArgument;
        m_conversionMode = tableMode;
      }
      break;
    }
    case 24:
      m_conversionMode = kConvertPlain24;
      break;
    default:
      return kBadArgument;
  }
  if (depth <= 8 && !palette) return kBadArgument;
  m_conversionState = 1;
  m_conversionDepth = depth;
  return kSuccess;
}

int ImageExporter::ConvertRows(const BITMAP* source, BITMAP* out, int originX, int originY) {
  BITMAPINFOHEADER sourceHeader{}, targetHeader{};
  sourceHeader.biSize = targetHeader.biSize = 40;
  sourceHeader.biWidth = targetHeader.biWidth = source->bmWidth;
  sourceHeader.biHeight = targetHeader.biHeight = source->bmHeight;
  sourceHeader.biPlanes = targetHeader.biPlanes = 1;
  sourceHeader.biBitCount = source->bmBitsPixel;
  targetHeader.biBitCount = out->bmBitsPixel;
  if (m_context->SetDitherOrigin(originX, originY) != 0) return kUnknown;
  const int mode = m_conversionMode | (m_conversionState == 2 ? kConvertContinueBand : 0);
  // A failed conversion leaves the target undefined: never write it.
  if (m_context->ConvertBitmap(&sourceHeader, source->bmBits, &targetHeader, out->bmBits, mode) != 0)
    return kUnknown;

  if (m_transparent && m_reservedIndex != -1) {
    const int width = source->bmWidth;
    for (int y = 0; y < source->bmHeight; ++y) {
      const std::uint32_t* src =
          reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(source->bmBits) +
                                                 std::size_t(y) * source->bmWidthBytes);
      BYTE* dst = static_cast<BYTE*>(out->bmBits) + std::size_t(y) * out->bmWidthBytes;
      switch (out->bmBitsPixel) {
        case 8:
          for (int x = 0; x < width; ++x)
            if ((src[x] >> 24) == 255) dst[x] = BYTE(m_reservedIndex);
          break;
        case 4:
          for (int x = 0; x < width; ++x) {
            if ((src[x] >> 24) != 255) continue;
            BYTE& b = dst[x / 2];
            b = (x & 1) ? BYTE((b & 0xF0) | (m_reservedIndex & 0x0F)) : BYTE((b & 0x0F) | (m_reservedIndex << 4));
          }
          break;
        case 1:
          std::memset(dst, 0, std::size_t(out->bmWidthBytes));
          for (int x = 0; x < width; ++x)
            if ((src[x] >> 24) == 255) dst[x / 8] |= BYTE(0x80 >> (x & 7));
          break;
        default:
          break;
      }
    }
  }
  m_conversionState = 2;
  return kSuccess;
}

int ImageExporter::ConvertImage(const BITMAP* source, BITMAP* out, const LOGPALETTE* palette) {
  if (!source || !out || !source->bmBits || !out->bmBits) return kBadArgument;
  if (source->bmBitsPixel != 32) return kUnsupportedInput;
  // The exact colour list leaves out clear pixels: when they are converted rather than marked,
  // an exact lookup would find no entry for their colour and write an index past the palette.
  m_clearPixelsConverted = false;
  if (!(m_transparent && m_reservedIndex != -1)) {
    const std::size_t count = std::size_t(source->bmWidth) * std::size_t(source->bmHeight);
    const auto* pixels = static_cast<const std::uint32_t*>(source->bmBits);
    for (std::size_t i = 0; i < count && !m_clearPixelsConverted; ++i) m_clearPixelsConverted = (pixels[i] >> 24) == 255;
  }
  int result = SetupConversion(out->bmBitsPixel, palette);
  if (result == kSuccess) result = ConvertRows(source, out, 0, 0);
  EndConversion();
  return result;
}

void ImageExporter::WriteByte(int value) {
  const unsigned char byte = static_cast<unsigned char>(value);
  if (!m_file || std::fwrite(&byte, 1, 1, m_file) != 1) throw kWriteFailed;
}

void ImageExporter::WriteBytes(const void* data, std::size_t count) {
  if (count == 0) return;
  if (!m_file || std::fwrite(data, 1, count, m_file) != count) throw kWriteFailed;
}
