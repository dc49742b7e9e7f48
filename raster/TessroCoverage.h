// Antialiasing coverage: a byte per pixel of the row, filled sub-row by sub-row by an
// accumulator and mixed into the target by a writer once per pixel row.
//
// Row protocol (the path loops):
//   TessroStartCoverage before the first row (the first clear then empties the clip width);
//   per pixel row: TessroClearCoverage; per sub-row span [a, b) in device units, already cut to
//   the clip: context->path.accumulate(context, a, b); then TessroWriteCoverageRow.
//
// The 5-column accumulator (4- and 8-bit palette targets) adds 0..5 per pixel and sub-row,
// 25 for a covered pixel; the 17-column one (grey, 16- and 32-bit targets) adds multiples of 3
// up to 51, 255 for a covered pixel. Lanes saturate at 255 and never carry into a neighbour.
#pragma once

#include "raster/TessroInternal.h"

const int kTessroFiveColumnFull = 25;
const int kTessroSeventeenColumnFull = 255;

void TessroAccumulateFive(TessroContext* context, std::int32_t a, std::int32_t b);
void TessroAccumulateSeventeen(TessroContext* context, std::int32_t a, std::int32_t b);

// The dirtied range := the clip width, so that the first clear empties the buffer.
void TessroStartCoverage(TessroContext* context);
// Zeroes the words of the dirtied range and empties the range.
void TessroClearCoverage(TessroContext* context);
// Row start; the fill's span into the row buffer and the writer over floor(start)..ceil(end)
// when the range is not empty; row end.
void TessroWriteCoverageRow(TessroContext* context);

// Chooses accumulator, writer and the fill's span for a coverage-mode operation of the current
// fill style on the current target (styles 2 and 3; the measuring styles are chosen by the
// region code). Fails with the selection codes before any pixel is written.
void TessroSelectCoverageRoutines(TessroContext* context);

// Byte-lane saturating addition of two words of four coverage bytes.
inline DWORD TessroSaturatingAdd(DWORD a, DWORD b) {
    const DWORD low = (a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu);
    const DWORD sum = low ^ ((a ^ b) & 0x80808080u);
    const DWORD overflow = ((a & b) | ((a | b) & ~sum)) & 0x80808080u;
    return sum | ((overflow >> 7) * 0xFFu);
}

// Adds [a, b) (device units) to 8-bit target bytes as coverage counts: 5 per covered pixel and
// sub-row, fifths at the ends; saturating at 255.
void TessroAddCoverageCount(BYTE* row, std::int32_t a, std::int32_t b);
