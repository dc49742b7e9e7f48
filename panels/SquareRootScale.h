// The square-root slider's scale: a position is the square root of the value times 1000, so
// small values get more travel than large ones. Portable.
#pragma once

namespace SquareRootScale {

// 0 for 0; otherwise the integer part of sqrt(value) x 1000 + 0.5. Negative values count as 0.
int PositionOf(int value);
// The integer part of (position x 0.001) squared + 0.5.
int ValueOf(int position);

}  // namespace SquareRootScale
