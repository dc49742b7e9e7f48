// Span output: every 2D drawing operation ends in horizontal runs of pixels.
//
// Protocol, per drawing call, after the area is computed and clipped and changedRect grown:
//   SetUpSpanOutput();                       // may fail: 12 no target, 11, 17 no fill style
//   g_spanOutput.begin(top);
//   for each row y: rowStart(); span(y, x0, x1) any number of times; rowEnd();
//   g_spanOutput.end();
// Spans are already clipped and non-empty (x0 < x1), in pixels, x1 exclusive.
#pragma once

#include <cstdint>

#include "tessro3d/Tessro3DState.h"

namespace tessro3d {

struct Tessro3DSpanOutput {
  void (*begin)(std::int32_t top);
  void (*rowStart)();
  void (*span)(std::int32_t y, std::int32_t x0, std::int32_t x1);
  void (*rowEnd)();
  void (*end)();
  std::uint8_t* row;  // the current row's address
};
extern Tessro3DSpanOutput g_spanOutput;

void SetUpSpanOutput();
void SpanNothing();
void SpanBeginAtRow(std::int32_t top);
void SpanNextRow();

// 32-bit pixels (blue, green, red, fourth) indexed by absolute column: bitmap fills and the
// 3D scene render into it and the format stages read it.
constexpr int kRowBufferPixels = 4096;
extern std::uint32_t g_rowBuffer[kRowBufferPixels];

// Converts row-buffer entries x0..x1-1 into pixels of device row y at row (1, 4, 8, 16 bpp),
// with the ordered dither of that row.
using FormatStage = void (*)(std::int32_t y, std::int32_t x0, std::int32_t x1, std::uint8_t* row);
FormatStage FormatStageFor(std::uint32_t targetFormat);

}  // namespace tessro3d
