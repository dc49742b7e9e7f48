// Chooses a palette for a picture of 32-bit pixels: a variance-minimising quantiser over a
// 33 x 33 x 33 grid of cumulative colour moments with greedy box cutting, extended with fixed
// colours that boxes prefer, the 16 standard colours on request, a web-safe-only mode, snapping
// to web-safe or black/white, three-way re-splits of a box with its sibling, an exact-palette
// shortcut for pictures with few colours, and a palette sorted by use.
//
// Call protocol: set the options, Clear, AddPixels (once per picture), AddFixedColour as
// wanted, CutBoxes(n), MakePalette(palette, n).
#pragma once

#include "framework/core/WinTypes.h"

#include <cstdint>
#include <vector>

class PaletteQuantiser {
public:
  static constexpr int kGridSide = 33;
  static constexpr int kCellCount = kGridSide * kGridSide * kGridSide;
  static constexpr int kMaxExactColours = 256;
  static constexpr int kMaxFixedColours = 256;
  static constexpr int kMaxBoxes = 256;

  PaletteQuantiser();

  void Clear();
  void AddPixels(const std::uint32_t* pixels, std::size_t count);
  void AddFixedColour(BYTE red, BYTE green, BYTE blue);
  void ClearFixedColours() { m_fixedCount = m_fixedConsidered = 0; }
  void CutBoxes(int maxColours);
  // Writes the palette entries and palNumEntries (the palette must hold maxColours entries).
  // True when the palette is the picture's exact colours (or empty).
  bool MakePalette(LOGPALETTE* palette, int maxColours);

  // Channel index (1..32) of a value: the nearest of 32 evenly spaced levels.
  static int ChannelIndex(int value) { return 1 + (value * 31 + 127) / 255; }
  // Boundary k: channel index k + 1 starts at this value (Boundary(0) = 0, Boundary(32) = 256).
  // A box with indices lo .. hi covers the values Boundary(lo) .. Boundary(hi) - 1.
  static int Boundary(int k);

  // Options, set by the owner before use.
  bool includeSystemColours = false;
  bool twoWayCutsOnly = false;
  bool webSafeOnly = false;
  bool exactColoursAllowed = true;
  void SetWebSnapDistance(int distance) { m_webSnap = distance; m_webSnapSquared = distance * distance; }
  void SetBlackWhiteSnapDistance(int distance) { m_bwSnap = distance; m_bwSnapSquared = distance * distance; }

  int DistinctColourCount() const { return m_exactCount; }
  int BoxCount() const { return m_boxCount; }

private:
  struct Box {
    int r0, r1, g0, g1, b0, b1;  // holds cells lo+1 .. hi on each axis
    int volume;
    double score;  // the box's squared error: the key for choosing the next box to split
    BYTE red, green, blue;
    Box* sibling;
  };
  struct Moments {
    double w, r, g, b, sq;
  };
  struct ExactColour {
    std::uint32_t colour;  // 0x00RRGGBB
    std::uint32_t count;
  };
  struct ResultEntry {
    BYTE red, green, blue, box;
    double count;
  };
  struct Cut {
    int axis;  // 0 red, 1 green, 2 blue
    int position;
    double value;
  };

  static int Cell(int r, int g, int b) { return (r * kGridSide + g) * kGridSide + b; }
  void MakeCumulative();
  Moments Volume(const Box& box) const;
  // Chooses the box's colour; returns its score (higher is better, -1e100 for never).
  double ColourBox(Box& box) const;
  double BoxError(const Box& box) const;
  bool InsideBox(const Box& box, int red, int green, int blue) const;
  static void SetVolume(Box& box);
  static void Split(const Box& whole, int axis, int position, Box& lower, Box& upper);
  // Best two-way cut of a box (scored parts); value below -1e50 when it cannot be cut.
  Cut BestTwoWayCut(const Box& box) const;
  bool CutTwoWay(Box& box, Box& fresh);
  bool ResplitThreeWay(Box& box, Box& fresh);
  void RecordBox(Box& box);
  bool SnapColour(int& red, int& green, int& blue) const;

  int m_webSnap = 0, m_webSnapSquared = 0;
  int m_bwSnap = 0, m_bwSnapSquared = 0;
  bool m_cumulative = false;

  int m_exactCount = 0;
  ExactColour m_exact[kMaxExactColours + 1];

  BYTE m_fixed[kMaxFixedColours][3];
  int m_fixedCount = 0;
  int m_fixedConsidered = 0;

  std::vector<double> m_cells;  // kCellCount cells of five moments
  Box m_boxes[kMaxBoxes];
  int m_boxCount = 0;
  std::vector<ResultEntry> m_results;
};
