// 32-bit copies of the frames of the last animated GIF save, so that the template preview can
// show the animation state by state without rendering again.
#pragma once

#include "framework/core/WinTypes.h"

#include <vector>

class Bitmap32;

class CAnimationRenderer {
public:
  CAnimationRenderer() = default;
  CAnimationRenderer(const CAnimationRenderer&) = delete;
  CAnimationRenderer& operator=(const CAnimationRenderer&) = delete;
  virtual ~CAnimationRenderer();

  // Copies the shared frame palette (256 entries; entries the source lacks are zero).
  int SetPalette(const LOGPALETTE* palette);
  // Appends an opaque 32-bit copy of an 8-bit picture (rows padded to 4 bytes).
  int AddFrame(const BITMAP* bitmap);
  int ShowFrame(int index);
  void RemoveAllFrames();

  int GetFrameCount() const { return int(m_frames.size()); }
  const Bitmap32* GetFrame(int index) const;
  const LOGPALETTE* GetPalette() const { return m_palette; }

private:
  std::vector<Bitmap32*> m_frames;
  LOGPALETTE* m_palette = nullptr;
};
