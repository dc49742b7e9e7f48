#include "tests/imgrex/ImageFixtures.h"

#include "bitmap/ImageLibraryWrappers.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace fixtures {

namespace {
void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(std::uint8_t(value));
  out.push_back(std::uint8_t(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A plain LZW encoder with a growing code size and a reset when the table is full.
std::vector<std::uint8_t> Lzw(const std::vector<std::uint8_t>& indices, int minimumCodeSize) {
  std::vector<std::uint8_t> out;
  std::uint32_t buffer = 0;
  int bits = 0;
  const auto emit = [&](int code, int size) {
    buffer |= std::uint32_t(code) << bits;
    bits += size;
    while (bits >= 8) {
      out.push_back(std::uint8_t(buffer));
      buffer >>= 8;
      bits -= 8;
    }
  };
  const int clear = 1 << minimumCodeSize;
  std::map<std::pair<int, int>, int> table;
  int size = minimumCodeSize + 1, next = clear + 2;
  emit(clear, size);
  int prefix = -1;
  for (std::uint8_t index : indices) {
    if (prefix < 0) {
      prefix = index;
      continue;
    }
    const auto found = table.find({prefix, index});
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    emit(prefix, size);
    if (next < 4096) {
      table[{prefix, index}] = next++;
      if (next > (1 << size) && size < 12) ++size;
    } else {
      emit(clear, size);
      table.clear();
      size = minimumCodeSize + 1;
      next = clear + 2;
    }
    prefix = index;
  }
  if (prefix >= 0) emit(prefix, size);
  emit(clear + 1, size);
  if (bits) out.push_back(std::uint8_t(buffer));
  return out;
}

std::vector<std::uint8_t> ReadFile(std::FILE* file) {
  std::vector<std::uint8_t> bytes;
  std::rewind(file);
  int c;
  while ((c = std::fgetc(file)) != EOF) bytes.push_back(std::uint8_t(c));
  return bytes;
}
}  // namespace

std::vector<std::uint8_t> MakeGif(const GifSpec& desc) {
  int tableBits = 1;
  while ((1u << tableBits) < desc.palette.size()) ++tableBits;
  std::vector<std::uint8_t> table;
  for (int i = 0; i < (1 << tableBits); ++i) {
    const std::uint32_t c = i < int(desc.palette.size()) ? desc.palette[std::size_t(i)] : 0;
    table.push_back(std::uint8_t(c >> 16));
    table.push_back(std::uint8_t(c >> 8));
    table.push_back(std::uint8_t(c));
  }
  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, unsigned(desc.screenWidth));
  Put16(out, unsigned(desc.screenHeight));
  out.push_back(desc.localTable ? 0x00 : std::uint8_t(0x80 | (tableBits - 1)));
  out.push_back(0);
  out.push_back(0);
  if (!desc.localTable) out.insert(out.end(), table.begin(), table.end());
  if (desc.transparentIndex >= 0) {
    const std::uint8_t control[] = {0x21, 0xF9, 4, 1, 0, 0, std::uint8_t(desc.transparentIndex), 0};
    out.insert(out.end(), control, control + sizeof control);
  }
  out.push_back(0x2C);
  Put16(out, unsigned(desc.left));
  Put16(out, unsigned(desc.top));
  Put16(out, unsigned(desc.width));
  Put16(out, unsigned(desc.height));
  out.push_back(std::uint8_t((desc.localTable ? 0x80 | (tableBits - 1) : 0) | (desc.interlaced ? 0x40 : 0)));
  if (desc.localTable) out.insert(out.end(), table.begin(), table.end());
  std::vector<std::uint8_t> order = desc.indices;
  if (desc.interlaced) {
    order.clear();
    const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = start[pass]; y < desc.height; y += step[pass])
        order.insert(order.end(), desc.indices.begin() + y * desc.width, desc.indices.begin() + (y + 1) * desc.width);
  }
  const int minimumCodeSize = tableBits < 2 ? 2 : tableBits;
  out.push_back(std::uint8_t(minimumCodeSize));
  const std::vector<std::uint8_t> codes = Lzw(order, minimumCodeSize);
  for (std::size_t i = 0; i < codes.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, codes.size() - i);
    out.push_back(std::uint8_t(n));
    out.insert(out.end(), codes.begin() + std::ptrdiff_t(i), codes.begin() + std::ptrdiff_t(i + n));
  }
  out.push_back(0);
  out.push_back(0x3B);
  return out;
}

std::vector<std::uint8_t> MakeBmp(const BmpSpec& desc) {
  const std::uint32_t headerSize = desc.bitFields ? 56 : 40;
  const std::uint32_t tableBytes = desc.bitCount <= 8 ? std::uint32_t(desc.palette.size()) * 4 : 0;
  const std::uint32_t masksBytes = 0;  // inside the 56-byte header
  const std::uint32_t stride = (std::uint32_t(desc.width) * std::uint32_t(desc.bitCount) + 31) / 32 * 4;
  const std::uint32_t offset = 14 + headerSize + masksBytes + tableBytes;
  std::vector<std::uint8_t> out = {'B', 'M'};
  Put32(out, offset + stride * std::uint32_t(desc.height));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, headerSize);
  Put32(out, std::uint32_t(desc.width));
  Put32(out, std::uint32_t(desc.topDown ? -desc.height : desc.height));
  Put16(out, 1);
  Put16(out, unsigned(desc.bitCount));
  Put32(out, desc.bitFields ? 3 : 0);
  Put32(out, stride * std::uint32_t(desc.height));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, std::uint32_t(desc.palette.size()));
  Put32(out, 0);
  if (desc.bitFields) {
    Put32(out, 0xFF0000);
    Put32(out, 0xFF00);
    Put32(out, 0xFF);
    Put32(out, 0xFF000000u);
  }
  for (std::uint32_t c : desc.palette) Put32(out, c & 0xFFFFFF);
  for (int i = 0; i < desc.height; ++i) {
    const int y = desc.topDown ? i : desc.height - 1 - i;
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < desc.width; ++x) {
      const std::uint32_t v = desc.values[std::size_t(y * desc.width + x)];
      switch (desc.bitCount) {
        case 1: row[std::size_t(x / 8)] |= std::uint8_t((v & 1) << (7 - x % 8)); break;
        case 4: row[std::size_t(x / 2)] |= std::uint8_t((v & 15) << (x % 2 ? 0 : 4)); break;
        case 8: row[std::size_t(x)] = std::uint8_t(v); break;
        case 24:
          row[std::size_t(x * 3)] = std::uint8_t(v);
          row[std::size_t(x * 3 + 1)] = std::uint8_t(v >> 8);
          row[std::size_t(x * 3 + 2)] = std::uint8_t(v >> 16);
          break;
        default:
          for (int k = 0; k < 4; ++k) row[std::size_t(x * 4 + k)] = std::uint8_t(v >> (8 * k));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<std::uint8_t> MakePngRgba(int width, int height, const std::vector<std::uint32_t>& argb, bool interlaced) {
  std::vector<std::vector<std::uint8_t>> rows(static_cast<std::size_t>(height));
  std::vector<const unsigned char*> pointers;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = argb[std::size_t(y * width + x)];
      rows[std::size_t(y)].insert(rows[std::size_t(y)].end(),
                                  {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
    }
    pointers.push_back(rows[std::size_t(y)].data());
  }
  BwPngImage image{};
  image.width = width;
  image.height = height;
  image.bitDepth = 8;
  image.colourType = kBwPngRgbAlpha;
  image.interlace = interlaced ? 1 : 0;
  image.compressionLevel = -1;
  image.bytesPerPixel = 4;
  image.rows = pointers.data();
  std::FILE* file = std::tmpfile();
  if (!file) return {};
  std::vector<std::uint8_t> bytes;
  if (BwPngWrite(file, &image) == 0) bytes = ReadFile(file);
  std::fclose(file);
  return bytes;
}

std::vector<std::uint8_t> MakePngPalette(int width, int height, const std::vector<std::uint8_t>& indices,
                                         const std::vector<std::uint32_t>& paletteArgb) {
  std::vector<const unsigned char*> pointers;
  for (int y = 0; y < height; ++y) pointers.push_back(indices.data() + y * width);
  std::vector<unsigned char> rgb, alpha;
  for (std::uint32_t c : paletteArgb) {
    rgb.insert(rgb.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
    alpha.push_back(std::uint8_t(c >> 24));
  }
  BwPngImage image{};
  image.width = width;
  image.height = height;
  image.bitDepth = 8;
  image.colourType = kBwPngPalette;
  image.compressionLevel = -1;
  image.rows = pointers.data();
  image.paletteRgb = rgb.data();
  image.paletteCount = int(paletteArgb.size());
  image.transparency = alpha.data();
  image.transparencyCount = int(alpha.size());
  std::FILE* file = std::tmpfile();
  if (!file) return {};
  std::vector<std::uint8_t> bytes;
  if (BwPngWrite(file, &image) == 0) bytes = ReadFile(file);
  std::fclose(file);
  return bytes;
}

std::vector<std::uint8_t> MakeJpegSolid(int width, int height, std::uint32_t rgb) {
  std::vector<std::uint8_t> row;
  for (int x = 0; x < width; ++x)
    row.insert(row.end(), {std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16), 0});
  std::vector<const unsigned char*> pointers(static_cast<std::size_t>(height), row.data());
  std::FILE* file = std::tmpfile();
  if (!file) return {};
  std::vector<std::uint8_t> bytes;
  if (BwJpegWrite(file, width, height, pointers.data(), 95, 0) == 0) bytes = ReadFile(file);
  std::fclose(file);
  return bytes;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  bytes = ReadFile(file);
  std::fclose(file);
  return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace fixtures
