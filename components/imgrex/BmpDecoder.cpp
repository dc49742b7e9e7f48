// BMP: the uncompressed and bit-field layouts at 1, 4, 8, 16, 24 and 32 bits per pixel and the
// run-length layouts at 4 and 8 bits, with the core (12-byte) and the later info headers. Every
// offset and size is checked against the file.
#include "components/imgrex/ImageDecoder.h"

#include <algorithm>
#include <climits>

namespace imgrex {

namespace {
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kMasksHeaderSize = 52;       // with the colour masks
constexpr std::uint32_t kAlphaMaskHeaderSize = 56;   // with the alpha mask as well
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint32_t kCompressionBitFields = 3;
// Pixels a run-length picture never paints.
constexpr std::uint32_t kUnpainted = 0xFF000000u;

std::uint32_t Read16(const std::uint8_t* p) { return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8); }
std::uint32_t Read32(const std::uint8_t* p) { return Read16(p) | (Read16(p + 2) << 16); }

// One colour channel taken out of a pixel word by its mask and widened to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t maximum = 0;
  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!mask) return;
    while (!((mask >> shift) & 1)) ++shift;
    maximum = mask >> shift;
  }
  std::uint32_t Get(std::uint32_t word) const {
    if (!mask) return 0;
    return std::uint32_t((std::uint64_t((word & mask) >> shift) * 255 + maximum / 2) / maximum);
  }
};

// Run-length pictures (always bottom-up): runs of one index (two alternating indices at 4 bits),
// literal stretches, line ends, jumps and the end mark. Painting stops at the picture's edges.
void DecodeRunLength(const std::uint8_t* data, std::size_t size, int bitCount, const std::uint32_t* palette,
                     int width, int height, std::vector<std::uint32_t>& pixels) {
  std::fill(pixels.begin(), pixels.end(), kUnpainted);
  std::size_t at = 0;
  int x = 0, y = 0;
  const auto paint = [&](int index) {
    if (x < width && y < height) pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = palette[index & 0xFF];
    ++x;
  };
  while (y < height && size - at >= 2) {
    const int count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < width; ++i) paint(bitCount == 8 ? value : (i & 1) ? value & 0xF : value >> 4);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (size - at < 2) return;
      x += data[at];
      y += data[at + 1];
      at += 2;
    } else {
      const std::size_t bytes = bitCount == 8 ? std::size_t(value) : (std::size_t(value) + 1) / 2;
      if (size - at < bytes) return;
      for (int i = 0; i < value; ++i)
        paint(bitCount == 8 ? data[at + std::size_t(i)] : (i & 1) ? data[at + std::size_t(i / 2)] & 0xF
                                                                   : data[at + std::size_t(i / 2)] >> 4);
      at += (bytes + 1) & ~std::size_t(1);  // literal stretches keep 16-bit alignment
      if (at > size) return;
    }
  }
}
}  // namespace

Result DecodeBmp(const std::uint8_t* data, std::size_t size, ImageInfo& info, std::vector<std::uint32_t>& pixels) {
  if (!data || size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') return Result::kBadData;
  const std::uint32_t pixelOffset = Read32(data + 10);
  const std::uint32_t headerSize = Read32(data + kFileHeaderSize);
  if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) return Result::kBadData;
  if (size - kFileHeaderSize < headerSize) return Result::kBadData;
  const std::uint8_t* header = data + kFileHeaderSize;

  long long width, height;
  std::uint32_t bitCount, compression = kCompressionNone, coloursUsed = 0;
  if (headerSize == kCoreHeaderSize) {
    width = Read16(header + 4);
    height = Read16(header + 6);
    bitCount = Read16(header + 10);
  } else {
    width = std::int32_t(Read32(header + 4));
    height = std::int32_t(Read32(header + 8));
    bitCount = Read16(header + 14);
    compression = Read32(header + 16);
    coloursUsed = Read32(header + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX) return Result::kBadData;
  info.width = int(width);
  info.height = int(height);
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return Result::kUnsupported;
  const bool runLength = (compression == kCompressionRle8 && bitCount == 8) ||
                         (compression == kCompressionRle4 && bitCount == 4);
  if (compression != kCompressionNone && !runLength &&
      !(compression == kCompressionBitFields && (bitCount == 16 || bitCount == 32)))
    return Result::kUnsupported;
  if (runLength && topDown) return Result::kBadData;
  if (pixels.empty()) return Result::kOk;  // header only
  if (pixels.size() != std::size_t(width) * std::size_t(height)) return Result::kBadData;

  // Colour masks: after the info header for bit fields, inside the later headers.
  Channel red(0x7C00), green(0x03E0), blue(0x001F), alpha;
  if (bitCount == 32) red = Channel(0xFF0000), green = Channel(0xFF00), blue = Channel(0xFF);
  if (compression == kCompressionBitFields) {
    const std::size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
    if (size < masksAt + 12) return Result::kBadData;
    red = Channel(Read32(data + masksAt));
    green = Channel(Read32(data + masksAt + 4));
    blue = Channel(Read32(data + masksAt + 8));
    if (headerSize >= kAlphaMaskHeaderSize) alpha = Channel(Read32(data + masksAt + 12));
  }

  // Colour table.
  std::uint32_t palette[256] = {};
  if (bitCount <= 8) {
    const std::size_t entrySize = headerSize == kCoreHeaderSize ? 3 : 4;
    std::size_t count = std::size_t(1) << bitCount;
    if (coloursUsed && coloursUsed < count) count = coloursUsed;
    const std::size_t tableAt = kFileHeaderSize + headerSize;
    for (std::size_t i = 0; i < count && tableAt + (i + 1) * entrySize <= size; ++i) {
      const std::uint8_t* entry = data + tableAt + i * entrySize;
      palette[i] = (std::uint32_t(entry[2]) << 16) | (std::uint32_t(entry[1]) << 8) | entry[0];
    }
  }

  if (runLength) {
    if (pixelOffset >= size) return Result::kBadData;
    DecodeRunLength(data + pixelOffset, size - pixelOffset, int(bitCount), palette, int(width), int(height), pixels);
    return Result::kOk;
  }

  const std::uint64_t stride = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
  if (pixelOffset > size || (size - pixelOffset) / stride < std::uint64_t(height)) return Result::kBadData;

  bool anyAlpha = false;
  for (long long i = 0; i < height; ++i) {
    const std::uint8_t* in = data + pixelOffset + std::size_t(i) * std::size_t(stride);
    const long long memoryRow = topDown ? height - 1 - i : i;
    std::uint32_t* out = pixels.data() + std::size_t(memoryRow) * std::size_t(width);
    for (long long x = 0; x < width; ++x) {
      std::uint32_t pixel;
      switch (bitCount) {
        case 1: pixel = palette[(in[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: pixel = palette[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
        case 8: pixel = palette[in[x]]; break;
        case 24: pixel = (std::uint32_t(in[x * 3 + 2]) << 16) | (std::uint32_t(in[x * 3 + 1]) << 8) | in[x * 3]; break;
        default: {
          const std::uint32_t word = bitCount == 16 ? Read16(in + x * 2) : Read32(in + x * 4);
          pixel = (red.Get(word) << 16) | (green.Get(word) << 8) | blue.Get(word);
          if (alpha.mask) {
            const std::uint32_t a = alpha.Get(word);
            anyAlpha |= a != 0;
            pixel |= (255 - a) << 24;
          }
        }
      }
      out[x] = pixel;
    }
  }
  // An alpha mask over all-zero alpha bytes is a picture that never used them: opaque.
  if (alpha.mask && !anyAlpha)
    for (std::uint32_t& p : pixels) p &= 0x00FFFFFFu;
  return Result::kOk;
}

}  // namespace imgrex
