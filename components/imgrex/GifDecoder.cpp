// GIF: the first image of the file on a canvas of the logical screen, its transparent index
// (from the graphic control extension) clear.
#include "components/imgrex/ImageDecoder.h"

#include <algorithm>
#include <cstring>

namespace imgrex {

namespace {
constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;
constexpr std::uint32_t kClearPixel = 0xFF000000u;

class ByteReader {
public:
  ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool Byte(std::uint8_t& value) {
    if (m_pos >= m_size) return false;
    value = m_data[m_pos++];
    return true;
  }
  bool Word(int& value) {
    if (m_pos > m_size || m_size - m_pos < 2) return false;
    value = m_data[m_pos] | (m_data[m_pos + 1] << 8);
    m_pos += 2;
    return true;
  }
  bool Bytes(std::size_t count, const std::uint8_t*& start) {
    if (m_pos > m_size || m_size - m_pos < count) return false;
    start = m_data + m_pos;
    m_pos += count;
    return true;
  }
  // Data sub-blocks up to their zero terminator; appended to out when given.
  bool SubBlocks(std::vector<std::uint8_t>* out) {
    for (;;) {
      std::uint8_t length;
      if (!Byte(length)) return false;
      if (length == 0) return true;
      const std::uint8_t* block;
      if (!Bytes(length, block)) return false;
      if (out) out->insert(out->end(), block, block + length);
    }
  }

private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

// Expands the LZW code stream into colour indices; returns how many it produced. A stream that
// ends early or holds a corrupt code ends the decoding there.
std::size_t DecodeLzw(const std::vector<std::uint8_t>& codes, int minimumCodeSize, std::vector<std::uint8_t>& indices) {
  const int clear = 1 << minimumCodeSize, end = clear + 1;
  std::vector<std::uint16_t> prefix(kMaxCodes, 0);
  std::vector<std::uint8_t> suffix(kMaxCodes, 0), stack;
  stack.reserve(kMaxCodes + 1);
  for (int i = 0; i < clear; ++i) suffix[std::size_t(i)] = std::uint8_t(i);
  int codeSize = minimumCodeSize + 1, next = clear + 2, previous = -1;
  std::uint8_t first = 0;
  std::size_t out = 0, bitPosition = 0;
  const std::size_t totalBits = codes.size() * 8;
  while (out < indices.size()) {
    if (totalBits - bitPosition < std::size_t(codeSize) || bitPosition > totalBits) break;
    int code = 0;
    for (int bit = 0; bit < codeSize; ++bit, ++bitPosition)
      code |= ((codes[bitPosition >> 3] >> (bitPosition & 7)) & 1) << bit;
    if (code == clear) {
      codeSize = minimumCodeSize + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0) {
      if (code > clear) break;  // the first code after a clear must be a literal
      first = std::uint8_t(code);
      indices[out++] = first;
      previous = code;
      continue;
    }
    const int incoming = code;
    if (code > next) break;
    stack.clear();
    if (code == next) {
      stack.push_back(first);
      code = previous;
    }
    while (code > end) {
      stack.push_back(suffix[std::size_t(code)]);
      code = prefix[std::size_t(code)];
    }
    first = suffix[std::size_t(code)];
    stack.push_back(first);
    if (next < kMaxCodes) {
      prefix[std::size_t(next)] = std::uint16_t(previous);
      suffix[std::size_t(next)] = first;
      ++next;
      if (next == (1 << codeSize) && codeSize < kMaxCodeBits) ++codeSize;
    }
    previous = incoming;
    while (!stack.empty() && out < indices.size()) {
      indices[out++] = stack.back();
      stack.pop_back();
    }
  }
  return out;
}

// Row of the frame that the n-th decoded row is, for interlaced frames.
int InterlacedRow(int n, int height) {
  static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    const int rows = start[pass] < height ? (height - start[pass] + step[pass] - 1) / step[pass] : 0;
    if (n < rows) return start[pass] + n * step[pass];
    n -= rows;
  }
  return -1;
}
}  // namespace

Result DecodeGif(const std::uint8_t* data, std::size_t size, ImageInfo& info, std::vector<std::uint32_t>& pixels) {
  ByteReader reader(data, size);
  const std::uint8_t* signature;
  if (!data || !reader.Bytes(6, signature) ||
      (std::memcmp(signature, "GIF87a", 6) != 0 && std::memcmp(signature, "GIF89a", 6) != 0))
    return Result::kBadData;
  int screenWidth, screenHeight;
  std::uint8_t flags, background, aspect;
  if (!reader.Word(screenWidth) || !reader.Word(screenHeight) || !reader.Byte(flags) || !reader.Byte(background) ||
      !reader.Byte(aspect))
    return Result::kBadData;
  const std::uint8_t* globalTable = nullptr;
  int globalCount = 0;
  if (flags & 0x80) {
    globalCount = 2 << (flags & 7);
    if (!reader.Bytes(std::size_t(globalCount) * 3, globalTable)) return Result::kBadData;
  }
  int transparentIndex = -1;
  for (;;) {
    std::uint8_t block;
    if (!reader.Byte(block) || block == kTrailer) return Result::kBadData;  // no image at all
    if (block == kExtensionIntroducer) {
      std::uint8_t label;
      if (!reader.Byte(label)) return Result::kBadData;
      if (label == kGraphicControlLabel) {
        std::vector<std::uint8_t> control;
        if (!reader.SubBlocks(&control)) return Result::kBadData;
        if (control.size() >= 4) transparentIndex = (control[0] & 1) ? control[3] : -1;
      } else if (!reader.SubBlocks(nullptr)) {
        return Result::kBadData;
      }
      continue;
    }
    if (block != kImageSeparator) return Result::kBadData;

    int left, top, width, height;
    std::uint8_t imageFlags;
    if (!reader.Word(left) || !reader.Word(top) || !reader.Word(width) || !reader.Word(height) ||
        !reader.Byte(imageFlags))
      return Result::kBadData;
    const std::uint8_t* table = globalTable;
    int tableCount = globalCount;
    if (imageFlags & 0x80) {
      tableCount = 2 << (imageFlags & 7);
      if (!reader.Bytes(std::size_t(tableCount) * 3, table)) return Result::kBadData;
    }
    // The canvas is the logical screen, grown to hold a frame that reaches beyond it.
    info.width = std::max(screenWidth, left + width);
    info.height = std::max(screenHeight, top + height);
    if (info.width <= 0 || info.height <= 0) return Result::kBadData;
    if (pixels.empty()) return Result::kOk;  // header only
    if (pixels.size() != std::size_t(info.width) * std::size_t(info.height)) return Result::kBadData;

    std::uint8_t minimumCodeSize;
    if (!reader.Byte(minimumCodeSize) || minimumCodeSize < 1 || minimumCodeSize > 11) return Result::kBadData;
    std::vector<std::uint8_t> codes;
    if (!reader.SubBlocks(&codes) && codes.empty()) return Result::kBadData;
    std::vector<std::uint8_t> indices(std::size_t(width) * std::size_t(height), 0);
    // Pixels beyond the end of a truncated stream stay clear.
    const std::size_t decoded = DecodeLzw(codes, minimumCodeSize, indices);

    std::fill(pixels.begin(), pixels.end(), kClearPixel);
    const bool interlaced = (imageFlags & 0x40) != 0;
    for (int n = 0; n < height; ++n) {
      const int y = interlaced ? InterlacedRow(n, height) : n;
      if (y < 0) continue;
      std::uint32_t* row = pixels.data() + std::size_t(info.height - 1 - (top + y)) * std::size_t(info.width) + left;
      const std::uint8_t* in = indices.data() + std::size_t(n) * std::size_t(width);
      for (int x = 0; x < width; ++x) {
        if (std::size_t(n) * std::size_t(width) + std::size_t(x) >= decoded) break;
        const int index = in[x];
        std::uint32_t colour = 0;
        if (table && index < tableCount)
          colour = (std::uint32_t(table[index * 3]) << 16) | (std::uint32_t(table[index * 3 + 1]) << 8) |
                   table[index * 3 + 2];
        row[x] = index == transparentIndex ? (kClearPixel | colour) : colour;
      }
    }
    return Result::kOk;
  }
}

}  // namespace imgrex
