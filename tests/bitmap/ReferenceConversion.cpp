#include "tests/bitmap/ReferenceConversion.h"

#include <cstdint>
#include <cstring>

int ReferenceConversion::Nearest(unsigned red, unsigned green, unsigned blue) const {
  int best = 0;
  long bestDistance = -1;
  const PALETTEENTRY* entries = m_palette->palPalEntry;
  for (int i = 0; i < m_palette->palNumEntries; ++i) {
    const PALETTEENTRY& e = entries[i];
    if (e.peFlags >= 128) continue;  // reserved entries are never matched
    const long dr = long(e.peRed) - long(red), dg = long(e.peGreen) - long(green), db = long(e.peBlue) - long(blue);
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

int ReferenceConversion::ConvertBitmap(const BITMAPINFOHEADER* sh, const void* sourceBits,
                                       const BITMAPINFOHEADER* th, void* targetBits, int mode) {
  modes.push_back(mode);
  if (failConversions > 0) {
    --failConversions;
    return -1;
  }
  if (!sh || !th || !sourceBits || !targetBits || sh->biWidth != th->biWidth || sh->biHeight != th->biHeight ||
      sh->biWidth <= 0 || sh->biHeight <= 0 || sh->biBitCount != 32)
    return -1;
  const int width = sh->biWidth, height = sh->biHeight, bits = th->biBitCount;
  const auto* src = static_cast<const std::uint32_t*>(sourceBits);
  if (bits == 32) {
    auto* dst = static_cast<std::uint32_t*>(targetBits);
    for (long i = 0; i < long(width) * height; ++i) {
      std::uint32_t p = src[i];
      const std::uint32_t t = p >> 24;
      if (t != 0 && t != 255) {
        const std::uint32_t o = 255 - t;
        std::uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          const std::uint32_t c = (p >> shift) & 0xFF;
          const std::uint32_t v = c >= o ? 255 : (c * 255 + o / 2) / o;
          out |= v << shift;
        }
        p = out | (t << 24);
      }
      if ((mode & 0xFF) == 2) p = (p & 0x00FFFFFFu) | ((255 - (p >> 24)) << 24);
      dst[i] = p;
    }
    return 0;
  }
  const int stride = ((width * bits + 31) / 32) * 4;
  auto* dst = static_cast<std::uint8_t*>(targetBits);
  if (bits <= 8 && !m_palette) return -1;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = dst + std::size_t(y) * stride;
    std::memset(row, 0, std::size_t(stride));
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = src[std::size_t(y) * width + x];
      const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      switch (bits) {
        case 24:
          row[3 * x] = std::uint8_t(b);
          row[3 * x + 1] = std::uint8_t(g);
          row[3 * x + 2] = std::uint8_t(r);
          break;
        case 8: row[x] = std::uint8_t(Nearest(r, g, b)); break;
        case 4: row[x / 2] |= std::uint8_t(Nearest(r, g, b) << ((x & 1) ? 0 : 4)); break;
        case 1: row[x / 8] |= std::uint8_t((Nearest(r, g, b) & 1) << (7 - (x & 7))); break;
        default: return -1;
      }
    }
  }
  return 0;
}
