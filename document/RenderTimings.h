// How long the preview's renders take: panels that apply a change in draft quality first wait
// this long before they render it again in full quality, so a fast machine sees the result
// sooner. Milliseconds; 0 before the first render. UI thread only. Portable.
#pragma once

#include <cstdint>

// The latest render of any quality (the template preview window, and the navigation bar
// renderer outside draft quality).
extern std::uint32_t LastRenderTime;
// The latest full-quality render (render quality 0) of the template preview window.
extern std::uint32_t LastFullRenderTime;

// Records one render of the template preview window at a render quality.
void RecordRenderTime(std::uint32_t milliseconds, int quality);
