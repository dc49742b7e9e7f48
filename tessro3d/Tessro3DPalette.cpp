// Palettes and colour matching: the built-in palettes, the palette tables built from a
// caller's palette, and the flat-colour patterns of every target format.
#include "tessro3d/Tessro3DPalette.h"

#include <cstring>

namespace tessro3d {

PaletteTables g_tables;
FlatColourCache g_flat;

const std::uint8_t kThresholdK[4][4] = {{15, 3, 12, 0}, {7, 11, 4, 8}, {13, 1, 14, 2}, {5, 9, 6, 10}};

const std::uint32_t kSixteenColours[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

namespace {

// The 256-entry palette Tessro3DSelectPalette returns, as 0xRRGGBB: the twenty static
// colours at both ends, the 6x6x6 cube, greys and four light tints between.
const std::uint32_t kBuiltInColours[256] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0xC0DCC0, 0xA6CAF0, 0x888888, 0xE6FFE6, 0xFFFFEE, 0xFFE6E6, 0xFFFFE6, 0x3C3C3C,
    0xCCCCCC, 0x33CCCC, 0xCC33CC, 0x3333CC, 0xCCCC33, 0x33CC33, 0xCC3333, 0x333333,
    0x2B2B2B, 0x919191, 0xEEEEEE, 0x4D4D4D, 0xB3B3B3, 0x111111, 0x6F6F6F, 0xD5D5D5,
    0x333300, 0xCC3300, 0x33CC00, 0xCCCC00, 0x3333FF, 0xCC33FF, 0x33CCFF, 0xCCCCFF,
    0x99FF99, 0x66FF99, 0x990099, 0x660099, 0x99FF66, 0x66FF66, 0x990066, 0x660066,
    0xCCCC99, 0x33CC99, 0xCC3399, 0x333399, 0xCCCC66, 0x33CC66, 0xCC3366, 0x333366,
    0x006600, 0xFF6600, 0x009900, 0xFF9900, 0x0066FF, 0xFF66FF, 0x0099FF, 0xFF99FF,
    0x330066, 0xCC0066, 0x33FF66, 0xCCFF66, 0x330099, 0xCC0099, 0x33FF99, 0xCCFF99,
    0x99CCFF, 0x66CCFF, 0x9933FF, 0x6633FF, 0x99CC00, 0x66CC00, 0x993300, 0x663300,
    0xCC99FF, 0x3399FF, 0xCC66FF, 0x3366FF, 0xCC9900, 0x339900, 0xCC6600, 0x336600,
    0x003366, 0xFF3366, 0x00CC66, 0xFFCC66, 0x003399, 0xFF3399, 0x00CC99, 0xFFCC99,
    0x330033, 0xCC0033, 0x33FF33, 0xCCFF33, 0x3300CC, 0xCC00CC, 0x33FFCC, 0xCCFFCC,
    0x99CCCC, 0x66CCCC, 0x9933CC, 0x6633CC, 0x99CC33, 0x66CC33, 0x993333, 0x663333,
    0xCC99CC, 0x3399CC, 0xCC66CC, 0x3366CC, 0xCC9933, 0x339933, 0xCC6633, 0x336633,
    0x003333, 0xFF3333, 0x00CC33, 0xFFCC33, 0x0033CC, 0xFF33CC, 0x00CCCC, 0xFFCCCC,
    0x330000, 0xCC0000, 0x33FF00, 0xCCFF00, 0x3300FF, 0xCC00FF, 0x33FFFF, 0xCCFFFF,
    0x99CC99, 0x66CC99, 0x993399, 0x663399, 0x99CC66, 0x66CC66, 0x993366, 0x663366,
    0xCC9999, 0x339999, 0xCC6699, 0x336699, 0xCC9966, 0x339966, 0xCC6666, 0x336666,
    0x003300, 0xFF3300, 0x00CC00, 0xFFCC00, 0x0033FF, 0xFF33FF, 0x00CCFF, 0xFFCCFF,
    0x006666, 0xFF6666, 0x009966, 0xFF9966, 0x006699, 0xFF6699, 0x009999, 0xFF9999,
    0x9999FF, 0x6699FF, 0x9966FF, 0x6666FF, 0x999900, 0x669900, 0x996600, 0x666600,
    0x99FFFF, 0x66FFFF, 0x9900FF, 0x6600FF, 0x99FF00, 0x66FF00, 0x990000, 0x660000,
    0x000066, 0xFF0066, 0x00FF66, 0xFFFF66, 0x000099, 0xFF0099, 0x00FF99, 0xFFFF99,
    0x006633, 0xFF6633, 0x009933, 0xFF9933, 0x0066CC, 0xFF66CC, 0x0099CC, 0xFF99CC,
    0x9999CC, 0x6699CC, 0x9966CC, 0x6666CC, 0x999933, 0x669933, 0x996633, 0x666633,
    0x99FFCC, 0x66FFCC, 0x9900CC, 0x6600CC, 0x99FF33, 0x66FF33, 0x990033, 0x660033,
    0x000033, 0xFF0033, 0x00FF33, 0xFFFF33, 0x0000CC, 0xFF00CC, 0x00FFCC, 0xFFFFCC,
    0xF7F7F7, 0x444444, 0x222222, 0xA2A2A2, 0x5E5E5E, 0xDDDDDD, 0xBBBBBB, 0x090909,
    0x999999, 0x669999, 0x996699, 0x666699, 0x999966, 0x669966, 0x996666, 0x666666,
    0x777777, 0xC4C4C4, 0xAAAAAA, 0x1A1A1A, 0xE6E6E6, 0x555555, 0xFFFBF0, 0xA0A0A4,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

struct BuiltInPalette {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY entries[256];
};
BuiltInPalette g_builtIn;

struct BuildBuiltIn {
  BuildBuiltIn() {
    g_builtIn.palVersion = 0x300;
    g_builtIn.palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
      std::uint32_t c = kBuiltInColours[i];
      g_builtIn.entries[i] = PALETTEENTRY{static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c), 0};
    }
  }
} g_buildBuiltIn;

// Entry i of the 247-colour cube: 216 colours, then 31 greys.
void CubeColour(int i, int& r, int& g, int& b) {
  if (i < 216) {
    r = 51 * (i % 6);
    g = 51 * ((i / 6) % 6);
    b = 51 * (i / 36);
  } else {
    int k = i - 216;
    r = g = b = (k * 17 + 1) / 2;  // floor(k × 8.5 + 0.5)
  }
}

int g_lastNearest = 0;  // an empty search leaves the previous answer in place

const PALETTEENTRY* CopiedEntries() { return reinterpret_cast<const PALETTEENTRY*>(g_tables.paletteCopy + 4); }

int CopiedCount() {
  WORD n;
  std::memcpy(&n, g_tables.paletteCopy + 2, 2);
  return n > 256 ? 256 : n;
}

// Nearest by unweighted squared distance; entries flagged 0x80 are skipped; from the last
// entry to the first, so on equal distances the highest index wins.
int NearestCallerEntry(int r, int g, int b) {
  const PALETTEENTRY* e = CopiedEntries();
  long best = 0x7FFFFFFF;
  for (int n = CopiedCount() - 1; n >= 0; --n) {
    if (e[n].peFlags & 0x80) continue;
    long dr = e[n].peRed - r, dg = e[n].peGreen - g, db = e[n].peBlue - b;
    long d = dr * dr;
    if (d >= best) continue;
    d += dg * dg;
    if (d >= best) continue;
    d += db * db;
    if (d >= best) continue;
    best = d;
    g_lastNearest = n;
  }
  return g_lastNearest;
}

int NearestCubeEntry(int r, int g, int b, int count) {
  long best = 0x7FFFFFFF;
  for (int n = count - 1; n >= 0; --n) {
    int cr, cg, cb;
    CubeColour(n, cr, cg, cb);
    long d = long(cr - r) * (cr - r) + long(cg - g) * (cg - g) + long(cb - b) * (cb - b);
    if (d < best) {
      best = d;
      g_lastNearest = n;
    }
  }
  return g_lastNearest;
}

void BuildInverseTable() {
  std::uint8_t mode = g_state.paletteMode;
  bool current = mode == g_state.inverseTableMode && g_state.paletteTables == 0 &&
                 std::memcmp(g_tables.previousEntries, g_tables.paletteCopy + 4, 1024) == 0;
  g_state.inverseTableMode = mode;
  if (current) return;
  std::memcpy(g_tables.previousEntries, g_tables.paletteCopy + 4, 1024);
  for (int b5 = 0; b5 < 32; ++b5)
    for (int g5 = 0; g5 < 32; ++g5)
      for (int r5 = 0; r5 < 32; ++r5) {
        int r = (r5 << 3) | (r5 >> 2), g = (g5 << 3) | (g5 >> 2), b = (b5 << 3) | (b5 >> 2);
        int nearest = mode == 1 ? NearestCallerEntry(r, g, b) : NearestCubeEntry(r, g, b, mode == 0 ? kCubeColours : 216);
        g_tables.inverse[b5 * 1024 + g5 * 32 + r5] = g_tables.cubeToPalette[nearest];
      }
}

const std::uint8_t kT1[4][4] = {{1, 13, 4, 16}, {9, 5, 12, 8}, {3, 15, 2, 14}, {11, 7, 10, 6}};
const std::uint8_t kT8[4][4] = {{2, 40, 12, 50}, {28, 15, 37, 24}, {8, 47, 5, 44}, {34, 21, 31, 18}};
const std::uint8_t kGreyOffsets[4][4] = {{16, 3, 13, 0}, {7, 12, 4, 9}, {14, 1, 15, 2}, {5, 10, 6, 11}};

int T4(int r, int p) { return kT1[r][(p + 2) & 3]; }

int Level4(int v) { return v < 128 ? (v + 4) / 8 : 16 + (v - 126) / 4; }

// The 4-bpp index of a flat colour at pattern position (r, p).
int SixteenColourIndex(int R, int G, int B, int r, int p) {
  int t = T4(r, p);
  if (R == G && G == B) {
    int L = Level4(R);
    if (L <= 16) return L >= t ? 7 : 0;
    if (L <= 32) return L - 16 >= t ? 8 : 7;
    return L - 32 >= t ? 15 : 8;
  }
  int m = R > G ? R : G;
  if (B > m) m = B;
  if (m <= 128) return (Level4(R) >= t ? 1 : 0) | (Level4(G) >= t ? 2 : 0) | (Level4(B) >= t ? 4 : 0);
  int a = m - 128;
  int v[3] = {R, G, B};
  int dominant = R == m ? 0 : (G == m ? 1 : 2);
  int index = (1 << dominant) | (Level4(a) >= t ? 8 : 0);
  for (int c = 0; c < 3; ++c) {
    if (c == dominant) continue;
    int reduced = v[c] - a > a ? v[c] - a : v[c] / 2;
    if (Level4(reduced) >= t) index |= 1 << c;
  }
  return index;
}

int SixteenBitQuarterSteps(int v, int bits) {
  switch (bits) {
    case 4: return (60 * v + 5) / 251;
    case 5: return 124 * v / 253;
    default: return 252 * v / 254;
  }
}

}  // namespace

// The red, green and blue field widths and positions of the 16-bit layouts.
struct SixteenBitLayout {
  int redBits, redShift, greenBits, greenShift, blueBits;
};
const SixteenBitLayout kSixteenBitLayouts[4] = {{5, 11, 6, 5, 5}, {6, 10, 5, 5, 5}, {5, 10, 5, 5, 5}, {6, 10, 6, 4, 4}};

void ClearFlatColourCache() {
  g_flat.colour = 0;
  for (auto& word : g_flat.pattern) word = 0;
}

std::uint32_t PaletteColour(int n) {
  const PALETTEENTRY& e = CopiedEntries()[n & 0xFF];
  return (std::uint32_t(e.peRed) << 16) | (std::uint32_t(e.peGreen) << 8) | e.peBlue;
}

namespace {

// The pattern of colour c for the current target, one word per row phase, in memory order.
void BuildPattern(std::uint32_t c) {
  const int R = c & 0xFF, G = (c >> 8) & 0xFF, B = (c >> 16) & 0xFF;
  const int ox = g_state.ditherOriginX, oy = g_state.ditherOriginY;
  std::uint32_t* out = g_flat.pattern;
  int value[4][4] = {};
  switch (g_state.targetFormat) {
    case kFormat1: {
      std::uint32_t Y = 77u * R + 151u * G + 28u * B;
      Y += Y / 256;
      int k = static_cast<int>(17u * Y / 65536u);
      for (int r = 0; r < 4; ++r)
        for (int p = 0; p < 4; ++p) value[r][p] = k >= kT1[r][p] ? 1 : 0;
      break;
    }
    case kFormat4:
      for (int r = 0; r < 4; ++r)
        for (int p = 0; p < 4; ++p) value[r][p] = SixteenColourIndex(R, G, B, r, p);
      break;
    case kFormat8:
      if (g_state.colourMatching >= 4) {
        int r5 = (31 * R + 127) / 255, g5 = (31 * G + 127) / 255, b5 = (31 * B + 127) / 255;
        std::uint32_t index = g_tables.inverse[b5 * 1024 + g5 * 32 + r5];
        for (int r = 0; r < 4; ++r) out[r] = index * 0x01010101u;
        return;
      }
      if ((g_state.colourMatching == 2 || g_state.colourMatching == 3) && R == G && G == B) {
        for (int r = 0; r < 4; ++r)
          for (int p = 0; p < 4; ++p) value[r][p] = (g_tables.greyRows[r][R] >> (8 * p)) & 0xFF;
      } else {
        for (int r = 0; r < 4; ++r)
          for (int p = 0; p < 4; ++p) {
            int t = kT8[r][p], lr = 0, lg = 0, lb = 0;
            for (int k = 0; k < 5; ++k) {
              lr += R >= t + 51 * k;
              lg += G >= t + 51 * k;
              lb += B >= t + 51 * k;
            }
            value[r][p] = g_tables.cubeToPalette[lr + 6 * lg + 36 * lb];
          }
      }
      break;
    case kFormat16: {
      const SixteenBitLayout& l = kSixteenBitLayouts[g_state.ditherMode & 3];
      int px[2][2];
      for (int r = 0; r < 2; ++r)
        for (int p = 0; p < 2; ++p) {
          // (row 0, pixel 0) rounds up from a quarter step, (1, 1) from a half, (1, 0) from
          // three quarters, (0, 1) never.
          int need = r == 0 ? (p == 0 ? 1 : 5) : (p == 1 ? 2 : 3);
          auto channel = [&](int v, int bits) {
            int q = SixteenBitQuarterSteps(v, bits);
            return q / 4 + (q % 4 >= need ? 1 : 0);
          };
          px[r][p] = (channel(R, l.redBits) << l.redShift) | (channel(G, l.greenBits) << l.greenShift) | channel(B, l.blueBits);
        }
      for (int r = 0; r < 4; ++r) {
        int cr = ((r & 1) ^ (oy & 1));
        int p0 = ox & 1;
        out[r] = std::uint32_t(px[cr][p0]) | (std::uint32_t(px[cr][p0 ^ 1]) << 16);
      }
      return;
    }
    default: {
      std::uint32_t pixel = (c & 0xFF000000u) | (std::uint32_t(R) << 16) | (std::uint32_t(G) << 8) | std::uint32_t(B);
      for (int r = 0; r < 4; ++r) out[r] = pixel;
      return;
    }
  }
  // Shift by the dither origin, then pack 4 pixels repeated across the word.
  for (int r = 0; r < 4; ++r) {
    int stored[4];
    for (int p = 0; p < 4; ++p) stored[p] = value[(r + oy) & 3][(p - ox) & 3];
    std::uint32_t word = 0;
    switch (g_state.targetFormat) {
      case kFormat1: {
        std::uint32_t byte = 0;
        for (int p = 0; p < 8; ++p) byte |= std::uint32_t(stored[p & 3]) << (7 - p);
        word = byte * 0x01010101u;
        break;
      }
      case kFormat4: {
        std::uint32_t bytes = (std::uint32_t(stored[0]) << 4 | stored[1]) | (std::uint32_t(stored[2]) << 4 | stored[3]) << 8;
        word = bytes | bytes << 16;
        break;
      }
      default:
        for (int p = 0; p < 4; ++p) word |= std::uint32_t(stored[p] & 0xFF) << (8 * p);
        break;
    }
    out[r] = word;
  }
}

}  // namespace

std::int32_t SetTransparentColour(std::uint32_t colour, std::uint32_t style) {
  if (g_state.targetFormat < kFormat32) return Tessro3DSetColour(colour);
  std::uint32_t type = style & 0xFF;
  if (type > 12) Fail(kErrBadTransparencyStyle);
  g_state.fillParams = type;
  if (type == 4 || type == 5 || type == 6 || type == 10 || type == 11)
    colour = (colour & 0x00FFFFFFu) | ((style >> 8) & 0xFF) << 24;
  g_flat.colour = colour;
  std::uint32_t pixel = (colour & 0xFF000000u) | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
  for (auto& word : g_flat.pattern) word = pixel;
  g_state.fillStyle = type <= 3 ? type + 2 : type - 1;
  return 0;
}

}  // namespace tessro3d

using namespace tessro3d;

extern "C" {

LOGPALETTE* TESSRO3D_CALL Tessro3DSelectPalette(std::int32_t mode) {
  ClearFlatColourCache();
  g_state.paletteMode = static_cast<std::uint32_t>(mode) > 2 ? 1 : static_cast<std::uint8_t>(mode);
  return reinterpret_cast<LOGPALETTE*>(&g_builtIn);
}

std::int32_t TESSRO3D_CALL Tessro3DSetPalette(const LOGPALETTE* palette) {
  if (!palette) return 0;  // nothing to copy; the tables stay as they are
  // Only the entries the caller declares are read: a shorter palette is not read past its end.
  std::memset(g_tables.paletteCopy, 0, sizeof g_tables.paletteCopy);
  std::memcpy(g_tables.paletteCopy, palette, 4);
  std::uint32_t count = palette->palNumEntries > 256 ? 256 : palette->palNumEntries;
  std::memcpy(g_tables.paletteCopy + 4, palette->palPalEntry, count * sizeof(PALETTEENTRY));
  std::memset(g_tables.paletteToCube, 0, sizeof g_tables.paletteToCube);
  if (g_state.paletteMode == 1) {
    const PALETTEENTRY* e = CopiedEntries();
    for (int i = 0; i < 256; ++i) {
      g_tables.cubeToPalette[i] = g_tables.paletteToCube[i] = static_cast<std::uint8_t>(i);
      g_tables.redTable[i] = e[i].peRed;
      g_tables.greenTable[i] = e[i].peGreen;
      g_tables.blueTable[i] = e[i].peBlue;
    }
  } else {
    for (int i = 0; i < kCubeColours; ++i) {
      int r, g, b;
      CubeColour(i, r, g, b);
      int n = NearestCallerEntry(r, g, b);
      g_tables.cubeToPalette[i] = static_cast<std::uint8_t>(n);
      g_tables.paletteToCube[n] = static_cast<std::uint8_t>(i);
    }
    for (int j = 0; j < 527; ++j) g_tables.greyRun[j] = g_tables.cubeToPalette[216 + j / 17];
    for (int r = 0; r < 4; ++r)
      for (int L = 0; L < 256; ++L) {
        std::uint32_t word = 0;
        for (int p = 0; p < 4; ++p) word |= std::uint32_t(g_tables.greyRun[2 * L + kGreyOffsets[r][p]]) << (8 * p);
        g_tables.greyRows[r][L] = word;
      }
  }
  BuildInverseTable();
  g_state.paletteTables = 0;
  return 0;
}

std::int32_t TESSRO3D_CALL Tessro3DSetColour(std::uint32_t colour) {
  if (colour != g_flat.colour) {
    g_flat.colour = colour;
    BuildPattern(colour);
  }
  g_state.fillStyle = kFillFlat;
  return 0;
}

}  // extern "C"
