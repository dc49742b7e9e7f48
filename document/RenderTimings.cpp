#include "document/RenderTimings.h"

std::uint32_t LastRenderTime = 0;
std::uint32_t LastFullRenderTime = 0;

void RecordRenderTime(std::uint32_t milliseconds, int quality) {
  LastRenderTime = milliseconds;
  if (quality == 0) LastFullRenderTime = milliseconds;
}
