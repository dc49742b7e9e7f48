// The scales of the colour-count slider: for each mode the position range and the mapping
// between a slider position and a colour count. Portable; the slider control applies them.
//
// Modes: 4 counts 16..216 at their own positions; 50 16..256 and 100 2..16 likewise; 8 counts
// 2..256 on a square-root scale; 296 counts 3..256 on a square-root scale; 22 a stepped scale
// over positions 0..420 that ends with 24-bit (1024) and 32-bit (2048) colour. Any other mode
// is the empty mode 0 (range 0..1, every position 0).
#pragma once

namespace ColourCountScale {

enum Mode { kNone = 0, kWeb = 4, kFull = 8, kStepped = 22, kPng8 = 50, kPng4 = 100, kFull3 = 296 };

// The counts that stand for true colour in the stepped mode.
constexpr int kTrueColour24 = 1024;
constexpr int kTrueColour32 = 2048;

// A known mode, else kNone.
int Normalise(int mode);
void Range(int mode, int& minimum, int& maximum);
int PositionToValue(int mode, int position);
int ValueToPosition(int mode, int value);
// The tick positions the stepped and empty modes set (the other modes keep their ticks).
bool HasOwnTicks(int mode);

// The label: 0 "Unknown", 1 the count followed by " Colors", 24 or 32 the true-colour texts.
int LabelKind(int mode, int value);

}  // namespace ColourCountScale
