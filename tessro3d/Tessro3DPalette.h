// Palettes, colour matching and the flat-colour fill style.
#pragma once

#include <cstdint>

#include "tessro3d/Tessro3DState.h"

namespace tessro3d {

// The palette tables belong to the render state and are saved with it, in this order.
struct PaletteTables {
  std::uint8_t paletteCopy[1028];     // LOGPALETTE header and 256 entries (red, green, blue, flags)
  std::uint8_t previousEntries[1024]; // the entries the inverse-colour table was built for
  std::uint8_t cubeToPalette[256];
  std::uint8_t paletteToCube[256];
  std::uint32_t redTable[256];
  std::uint32_t greenTable[256];
  std::uint32_t blueTable[256];
  std::uint32_t greyRows[4][256];     // four palette indices in pixel order, per level and row
  std::uint8_t greyRun[527];          // each cube grey's palette index, 17 times
  std::uint8_t inverse[32768];        // blue5 << 10 | green5 << 5 | red5 -> palette index
  std::uint8_t reserved[5];
};
static_assert(sizeof(PaletteTables) == 43032, "the palette tables are 0xA818 bytes");

extern PaletteTables g_tables;

constexpr int kCubeColours = 247;
constexpr int kCubeGreys = 31;

// The flat-colour cache: the last colour and its pattern, one word per device row y & 3.
struct FlatColourCache {
  std::uint32_t colour;
  std::uint32_t pattern[4];
};
extern FlatColourCache g_flat;
void ClearFlatColourCache();

// The ordered-dither thresholds of the format stages, [row phase][column phase].
extern const std::uint8_t kThresholdK[4][4];

// The built-in 16-colour order of 4-bpp targets, as 0x00RRGGBB.
extern const std::uint32_t kSixteenColours[16];

// Palette entry n of the palette copy as 0x00RRGGBB.
std::uint32_t PaletteColour(int n);

// Used when a bitmap fill degenerates: a flat colour, with a transparency type on 32 bpp.
std::int32_t SetTransparentColour(std::uint32_t colour, std::uint32_t style);

}  // namespace tessro3d
