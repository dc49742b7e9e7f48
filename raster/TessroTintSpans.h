// Tint, table-combination and statistics spans of 32-bit targets. The tints add (type 10) or
// subtract (type 11) the fill's colour scaled by an amount, clamped; the table combination
// (type 12) looks each channel pair up in the caller's 65,536-byte table, entry
// [256 x fill + target]. All three write blue, green and red only. The statistics spans write
// nothing: they sum the pixels a fill covers into the context's statistics record.
#pragma once

#include "raster/TessroDrawInternal.h"

// Fill styles 26, 27, 28 (a flat colour; the amount of the tints in its top byte). Fails with
// 15 below 32 bits, and with 7 for the table combination when no table is set.
TessroSpanFunc TessroFlatTintSpan(TessroContext* context);
// A prepared fill of type 10, 11 or 12: colour fills the row buffer, the amount is the style's.
TessroSpanFunc TessroPreparedTintSpan(TessroContext* context, TessroSpanFunc colour);

// Fill style 29: installs begin, span and finish of the statistics pass (32-bit targets only).
void TessroSelectStatistics(TessroContext* context);

// The statistics record: 36 dwords; the 64-bit sums are two dwords, low first.
enum TessroStatisticsWord : int {
    kTessroStatFirstPixel = 0,
    kTessroStatCount = 1,
    kTessroStatRed = 2,     // sum, sum of squares, sum x.v, sum y.v (two words each)
    kTessroStatGreen = 10,
    kTessroStatBlue = 18,
    kTessroStatX = 26,
    kTessroStatY = 28,
    kTessroStatXX = 30,
    kTessroStatYY = 32,
    kTessroStatXY = 34,
    kTessroStatWords = 36,
};
