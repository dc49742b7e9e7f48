#include "bitmap/GifImageExporter.h"

#include <algorithm>
#include <cstring>

namespace {
// Interlaced GIF rows: four passes, each with its first row and its step.
const int kPassStart[4] = {0, 4, 2, 1};
const int kPassStep[4] = {8, 8, 4, 2};

constexpr BYTE kExtensionIntroducer = 0x21;
constexpr BYTE kGraphicControlLabel = 0xF9;
constexpr BYTE kApplicationLabel = 0xFF;
constexpr BYTE kImageSeparator = 0x2C;
constexpr BYTE kTrailer = 0x3B;
constexpr BYTE kGlobalTableFlag = 0x80;
constexpr BYTE kLocalTableFlag = 0x80;
constexpr BYTE kInterlaceFlag = 0x40;
constexpr BYTE kTransparentColourFlag = 0x01;
constexpr int kScreenDescriptorOffset = 6;
}  // namespace

int GifImageExporter::SetBitDepth(int bits) {
  if (bits != 1 && bits != 4 && bits != 8) return kOutOfRange;
  m_bitDepth = bits;
  return kSuccess;
}

int GifImageExporter::WriteImage(const BITMAP* image) {
  if (!m_file) return kFileNotOpen;
  if (!image || image->bmBitsPixel != 32 || m_bitDepth > 8 || !SizeFits(image)) return Result(kUnsupportedInput);
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

int GifImageExporter::ConvertToBytes(const BITMAP* source, const LOGPALETTE* palette, std::vector<BYTE>& bytes) {
  BITMAP converted{};
  int result = AllocateImage(source, &converted, m_bitDepth);
  if (result != kSuccess) return result;
  result = ConvertImage(source, &converted, palette);
  if (result == kSuccess) {
    const int width = converted.bmWidth, height = converted.bmHeight;
    try {
      bytes.resize(std::size_t(width) * std::size_t(height));
    } catch (...) {
      FreeImage(&converted);
      return kOutOfMemory;
    }
    for (int y = 0; y < height; ++y) {
      const BYTE* src = static_cast<const BYTE*>(converted.bmBits) + std::size_t(y) * converted.bmWidthBytes;
      BYTE* dst = bytes.data() + std::size_t(y) * width;
      switch (converted.bmBitsPixel) {
        case 1:
          for (int x = 0; x < width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
          break;
        case 4:
          for (int x = 0; x < width; ++x) dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
          break;
        default:
          std::memcpy(dst, src, std::size_t(width));
          break;
      }
    }
  }
  FreeImage(&converted);
  return result;
}

void GifImageExporter::WriteColourTable(const LOGPALETTE* palette, int colourBits) {
  BYTE table[3 * kMaxPaletteEntries] = {};
  const int entries = 1 << colourBits;
  const int inUse = palette ? std::min<int>(palette->palNumEntries, entries) : 0;
  for (int i = 0; i < inUse; ++i) {
    const PALETTEENTRY& e = palette->palPalEntry[i];
    table[3 * i] = e.peRed;
    table[3 * i + 1] = e.peGreen;
    table[3 * i + 2] = e.peBlue;
  }
  WriteBytes(table, std::size_t(3 * entries));
}

int GifImageExporter::WriteImageWithPalette(const BITMAP* image, LOGPALETTE* palette) {
  if (!m_file) return kFileNotOpen;
  if (m_bitDepth > 8 || !palette || !image) return Result(kBadArgument);
  if (image->bmBitsPixel != 32 || !SizeFits(image)) return Result(kUnsupportedInput);
  std::vector<BYTE> bytes;
  int result = ConvertToBytes(image, palette, bytes);
  if (result != kSuccess) return Result(result);
  const int colourBits = GifColourBits(palette->palNumEntries);
  try {
    BYTE header[13] = {'G', 'I', 'F', '8', BYTE(m_transparent ? '9' : '7'), 'a'};
    header[6] = BYTE(image->bmWidth & 0xFF);
    header[7] = BYTE(image->bmWidth >> 8);
    header[8] = BYTE(image->bmHeight & 0xFF);
    header[9] = BYTE(image->bmHeight >> 8);
    header[10] = BYTE(kGlobalTableFlag | ((m_bitDepth - 1) << 4) | (colourBits - 1));
    WriteBytes(header, sizeof header);
    WriteColourTable(palette, colourBits);
    if (m_transparent) {
      // Disposal 2 (restore to background) with the transparent-colour flag.
      const BYTE control[8] = {kExtensionIntroducer, kGraphicControlLabel, 4, 0x09, 0, 0,
                               BYTE(m_reservedIndex & 0xFF), 0};
      WriteBytes(control, sizeof control);
    }
    WriteByte(kImageSeparator);
    WriteWord(0);
    WriteWord(0);
    WriteWord(image->bmWidth);
    WriteWord(image->bmHeight);
    WriteByte(interlace ? kInterlaceFlag : 0);
    WriteImageData(CodeArea{bytes.data(), image->bmWidth, RECT{0, 0, image->bmWidth, image->bmHeight}},
                   colourBits, interlace);
    WriteByte(kTrailer);
  } catch (Error code) {
    result = code;
  }
  return Result(result);
}

int GifImageExporter::NextPixel() {
  const int width = m_codeRect.right - m_codeRect.left;
  const int height = m_codeRect.bottom - m_codeRect.top;
  const int memoryRow = m_codeRect.bottom - 1 - m_row;
  const int value = m_codePixels[std::size_t(memoryRow) * m_codeStride + m_codeRect.left + m_x];
  if (++m_x == width) {
    m_x = 0;
    if (!m_codeInterlace) {
      ++m_row;
    } else {
      m_row += kPassStep[m_pass];
      // A pass whose first row lies beyond the image contributes no rows.
      while (m_row >= height && m_pass < 3) m_row = kPassStart[++m_pass];
    }
  }
  return value;
}

void GifImageExporter::FlushSubBlock() {
  if (m_subBlockCount == 0) return;
  WriteByte(m_subBlockCount);
  WriteBytes(m_subBlock, std::size_t(m_subBlockCount));
  m_subBlockCount = 0;
}

void GifImageExporter::EmitCode(int code) {
  m_accumulator |= std::uint32_t(code) << m_accumulatedBits;
  m_accumulatedBits += m_codeBits;
  while (m_accumulatedBits >= 8) {
    m_subBlock[m_subBlockCount++] = BYTE(m_accumulator & 0xFF);
    if (m_subBlockCount == kSubBlockSize) FlushSubBlock();
    m_accumulator >>= 8;
    m_accumulatedBits -= 8;
  }
  if (m_freeCode > m_maxCode) {
    ++m_codeBits;
    // At the widest code the table fills up to 4096 entries before it is cleared.
    m_maxCode = m_codeBits == kMaxCodeBits ? kMaxCodes : (1 << m_codeBits) - 1;
  }
}

void GifImageExporter::WriteImageData(const CodeArea& area, int colourBits, bool interlaced) {
  m_codePixels = area.pixels;
  m_codeStride = area.stride;
  m_codeRect = area.rect;
  m_codeInterlace = interlaced;
  m_pass = 0;
  m_row = 0;
  m_x = 0;
  m_initBits = colourBits == 1 ? 3 : colourBits + 1;
  WriteByte(m_initBits - 1);  // the minimum code size
  m_codeBits = m_initBits;
  m_clearCode = 1 << (m_initBits - 1);
  const int endCode = m_clearCode + 1;
  m_freeCode = m_clearCode + 2;
  m_maxCode = (1 << m_codeBits) - 1;
  m_accumulator = 0;
  m_accumulatedBits = 0;
  m_subBlockCount = 0;
  std::fill(std::begin(m_hashKeys), std::end(m_hashKeys), -1);

  std::int64_t remaining = std::int64_t(area.rect.right - area.rect.left) * (area.rect.bottom - area.rect.top);
  int ent = NextPixel();
  --remaining;
  EmitCode(m_clearCode);
  while (remaining-- > 0) {
    const int c = NextPixel();
    const std::int32_t key = (std::int32_t(c) << kMaxCodeBits) + ent;
    int i = (c << 4) ^ ent;
    if (m_hashKeys[i] == key) {
      ent = m_hashCodes[i];
      continue;
    }
    if (m_hashKeys[i] != -1) {
      const int step = i == 0 ? 1 : kHashSize - i;
      bool found = false;
      do {
        i -= step;
        if (i < 0) i += kHashSize;
        if (m_hashKeys[i] == key) {
          ent = m_hashCodes[i];
          found = true;
          break;
        }
      } while (m_hashKeys[i] != -1);
      if (found) continue;
    }
    EmitCode(ent);
    ent = c;
    if (m_freeCode < kMaxCodes) {
      m_hashCodes[i] = std::uint16_t(m_freeCode++);
      m_hashKeys[i] = key;
    } else {
      std::fill(std::begin(m_hashKeys), std::end(m_hashKeys), -1);
      m_freeCode = m_clearCode + 2;
      EmitCode(m_clearCode);
      m_codeBits = m_initBits;
      m_maxCode = (1 << m_codeBits) - 1;
    }
  }
  EmitCode(ent);
  EmitCode(endCode);
  while (m_accumulatedBits > 0) {
    m_subBlock[m_subBlockCount++] = BYTE(m_accumulator & 0xFF);
    if (m_subBlockCount == kSubBlockSize) FlushSubBlock();
    m_accumulator >>= 8;
    m_accumulatedBits -= 8;
  }
  m_accumulatedBits = 0;
  FlushSubBlock();
  WriteByte(0);  // block terminator
}

// ---------------------------------------------------------------------------------------------
// Animation

AnimatedGifImageExporter::~AnimatedGifImageExporter() = default;

int AnimatedGifImageExporter::SetOption(int flag) {
  m_spareEntry = flag != 0;
  return kSuccess;
}

int AnimatedGifImageExporter::SetDisposal(int value) {
  if (value < -1 || value > 3) return kOutOfRange;
  m_disposal = value;
  return kSuccess;
}

void AnimatedGifImageExporter::DropCanvas() {
  m_canvas.clear();
  m_canvasVisible.clear();
}

int AnimatedGifImageExporter::WriteHeader(LOGPALETTE* palette) {
  if (!m_file) return kFileNotOpen;
  m_globalPalette = palette;
  m_firstFrame = true;
  m_hasPending = false;
  m_globalColourBits = palette ? GifColourBits(palette->palNumEntries) : 1;
  int result = kSuccess;
  try {
    const BYTE header[13] = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0};
    WriteBytes(header, sizeof header);
    if (palette) WriteColourTable(palette, m_globalColourBits);
    if (loop != 1) {
      const int repeat = loop == 0 ? 0 : loop - 1;
      const BYTE extension[19] = {kExtensionIntroducer, kApplicationLabel, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P',
                                  'E', '2', '.', '0', 0x03, 0x01, BYTE(repeat & 0xFF), BYTE((repeat >> 8) & 0xFF),
                                  0x00};
      WriteBytes(extension, sizeof extension);
    }
  } catch (Error code) {
    result = code;
  }
  DropCanvas();
  return Result(result);
}

int AnimatedGifImageExporter::AddFrame(const BITMAP* image) {
  if (!image || image->bmBitsPixel != 32 || m_bitDepth > 8) return Result(kUnsupportedInput);
  if (m_globalPalette) return WriteFrame(image, m_globalPalette);
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[kMaxPaletteEntries - 1];
  } palette;
  palette.header.palVersion = kPaletteVersion;
  palette.header.palNumEntries = WORD(1 << m_bitDepth);
  const int result = PreparePalette(image, &palette.header);
  if (result != kSuccess) return Result(result);
  return WriteFrame(image, &palette.header);
}

int AnimatedGifImageExporter::WriteFrame(const BITMAP* image, LOGPALETTE* palette) {
  if (!m_file) return kFileNotOpen;
  if ((!m_globalPalette && !palette) || m_bitDepth > 8 || !image) return Result(kBadArgument);
  if (image->bmBitsPixel != 32 || !SizeFits(image)) return Result(kUnsupportedInput);
  // Every frame is compared with the canvas pixel by pixel: it must have the canvas's size.
  if (!m_firstFrame && (image->bmWidth != m_canvasWidth || image->bmHeight != m_canvasHeight))
    return Result(kUnsupportedInput);
  const LOGPALETTE* used = m_globalPalette ? m_globalPalette : palette;
  Frame frame;
  int result = ConvertToBytes(image, used, frame.pixels);
  if (result != kSuccess) return Result(result);
  frame.colourCount = palette ? palette->palNumEntries : used->palNumEntries;
  const LOGPALETTE* table = palette ? palette : used;
  frame.palette.assign(table->palPalEntry, table->palPalEntry + frame.colourCount);
  frame.reservedIndex = m_reservedIndex;
  frame.delay = delay;
  const bool optimising = m_spareEntry;
  frame.disposal = m_disposal != -1 ? m_disposal : (m_transparent && !optimising ? 2 : 1);

  if (m_firstFrame) {
    m_canvasWidth = image->bmWidth;
    m_canvasHeight = image->bmHeight;
    m_firstBitDepth = m_bitDepth;
    const std::size_t pixels = std::size_t(m_canvasWidth) * std::size_t(m_canvasHeight);
    m_canvas.assign(pixels, 0);
    m_canvasVisible.assign(pixels, 0);
    m_firstFrame = false;
  }

  if (m_hasPending) {
    // Pixels the pending frame leaves visible that this frame makes transparent.
    bool uncovers = false;
    if (m_transparent && frame.reservedIndex != -1) {
      const std::vector<BYTE>& prev = m_pending.pixels;
      for (std::size_t i = 0; i < prev.size() && !uncovers; ++i) {
        const bool visibleAfter = prev[i] != m_pending.reservedIndex || m_canvasVisible[i];
        uncovers = visibleAfter && frame.pixels[i] == frame.reservedIndex;
      }
    }
    result = FlushPending(uncovers);
    if (result != kSuccess) return Result(result);
  }
  m_pending = std::move(frame);
  m_hasPending = true;
  return kSuccess;
}

int AnimatedGifImageExporter::FlushPending(bool clearsAfter) {
  Frame& frame = m_pending;
  m_hasPending = false;
  const bool optimising = m_spareEntry;
  const bool marked = m_transparent || optimising;
  const int reserved = frame.reservedIndex;
  int d = frame.disposal;
  const int width = m_canvasWidth, height = m_canvasHeight;
  RECT rect{0, 0, width, height};
  std::vector<BYTE>& px = frame.pixels;

  if (clearsAfter) d = 2;  // restore the whole canvas to the background after this frame
  if (marked && reserved != -1) {
    if (optimising && m_globalPalette && d == 1) {
      for (std::size_t i = 0; i < px.size(); ++i)
        if (m_canvasVisible[i] && px[i] == m_canvas[i]) px[i] = BYTE(reserved);
    }
    if (!clearsAfter) {
      int top = height, bottom = -1, left = width, right = -1;
      for (int y = 0; y < height; ++y) {
        const BYTE* row = px.data() + std::size_t(y) * width;
        for (int x = 0; x < width; ++x) {
          if (row[x] == reserved) continue;
          top = std::min(top, y);
          bottom = std::max(bottom, y);
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
      rect = bottom < 0 ? RECT{0, 0, 1, 1} : RECT{left, top, right + 1, bottom + 1};
    }
  }

  const int colourBits = GifColourBits(frame.colourCount);
  if (!m_globalPalette) m_globalColourBits = std::max(m_globalColourBits, colourBits);
  int result = kSuccess;
  try {
    const BYTE control[8] = {kExtensionIntroducer, kGraphicControlLabel, 4,
                             BYTE(d * 4 + (marked ? kTransparentColourFlag : 0)), BYTE(frame.delay & 0xFF),
                             BYTE((frame.delay >> 8) & 0xFF), BYTE(marked ? (reserved & 0xFF) : 0), 0};
    WriteBytes(control, sizeof control);
    WriteByte(kImageSeparator);
    WriteWord(rect.left);
    WriteWord(height - rect.bottom);
    WriteWord(rect.right - rect.left);
    WriteWord(rect.bottom - rect.top);
    WriteByte(kLocalTableFlag | (colourBits - 1));
    struct {
      LOGPALETTE header;
      PALETTEENTRY more[kMaxPaletteEntries - 1];
    } table;
    table.header.palVersion = kPaletteVersion;
    table.header.palNumEntries = WORD(frame.colourCount);
    std::copy(frame.palette.begin(), frame.palette.end(), table.header.palPalEntry);
    WriteColourTable(&table.header, colourBits);
    WriteImageData(CodeArea{px.data(), width, rect}, colourBits, false);
  } catch (Error code) {
    result = code;
  }

  // What the viewer shows before the next frame: this frame over the canvas, then its disposal.
  if (d != 3) {
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x) {
        const std::size_t i = std::size_t(y) * width + x;
        if (d == 2) {
          m_canvasVisible[i] = 0;
        } else if (px[i] != reserved || !marked) {
          m_canvas[i] = px[i];
          m_canvasVisible[i] = 1;
        }
      }
  }
  px.clear();
  return result;
}

int AnimatedGifImageExporter::Finish() {
  if (!m_file) {
    DropCanvas();
    m_hasPending = false;
    return kWriteFailed;
  }
  int result = kSuccess;
  if (m_hasPending) result = FlushPending(false);
  DropCanvas();
  try {
    if (result == kSuccess) {
      WriteByte(kTrailer);
      if (std::fseek(m_file, kScreenDescriptorOffset, SEEK_SET) != 0) throw kWriteFailed;
      const int colourBits = m_globalPalette ? GifColourBits(m_globalPalette->palNumEntries) : m_globalColourBits;
      const BYTE descriptor[5] = {BYTE(m_canvasWidth & 0xFF), BYTE(m_canvasWidth >> 8), BYTE(m_canvasHeight & 0xFF),
                                  BYTE(m_canvasHeight >> 8),
                                  BYTE((m_globalPalette ? kGlobalTableFlag : 0) | ((m_firstBitDepth - 1) << 4) |
                                       (colourBits - 1))};
      WriteBytes(descriptor, sizeof descriptor);
    }
  } catch (Error code) {
    result = code;
  }
  Result(result);
  const int closed = CloseFile();
  return result != kSuccess ? result : closed;
}
