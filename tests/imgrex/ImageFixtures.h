// Pictures made by the tests: GIF through a small LZW encoder of our own, BMP byte by byte,
// PNG and JPEG through the program's writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

struct GifSpec {
  int screenWidth = 0, screenHeight = 0;
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> indices;  // width x height, rows from the top
  std::vector<std::uint32_t> palette; // 0x00RRGGBB; padded to a power of two
  int transparentIndex = -1;
  bool interlaced = false;
  bool localTable = false;
};
std::vector<std::uint8_t> MakeGif(const GifSpec& desc);

// BMP with a 40-byte info header (or 56 bytes with alpha masks for bit fields). Rows given
// from the top; written bottom-up unless topDown.
struct BmpSpec {
  int width = 0, height = 0, bitCount = 24;
  bool topDown = false;
  bool bitFields = false;  // 32 bits: masks 0xFF0000, 0xFF00, 0xFF and alpha 0xFF000000
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB for 1, 4 and 8 bits
  std::vector<std::uint32_t> values;   // per pixel: a palette index, or 0xAARRGGBB
};
std::vector<std::uint8_t> MakeBmp(const BmpSpec& desc);

// PNG of 0xAARRGGBB pixels (rows from the top), true colour with alpha.
std::vector<std::uint8_t> MakePngRgba(int width, int height, const std::vector<std::uint32_t>& argb, bool interlaced);
// PNG with a palette and alpha per entry.
std::vector<std::uint8_t> MakePngPalette(int width, int height, const std::vector<std::uint8_t>& indices,
                                         const std::vector<std::uint32_t>& paletteArgb);
// JPEG of one colour.
std::vector<std::uint8_t> MakeJpegSolid(int width, int height, std::uint32_t rgb);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace fixtures
