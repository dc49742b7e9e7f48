// GIF writers: GifImageExporter writes one image (GIF87a, or GIF89a when transparent);
// AnimatedGifImageExporter writes an animation (GIF89a with a looping extension, per-frame
// delays and disposal, and optional frame optimisation that makes unchanged pixels transparent
// and crops each frame to the changed rectangle).
//
// Animation protocol: create, Open, set options (bit depth, palette size, SetOption(1) for frame
// optimisation, disposal, transparency), AddToPalette for every frame and one BuildPalette,
// WriteHeader with that palette, then per frame set the delay and AddFrame, then Close (the
// finishing step: trailer and screen descriptor).
#pragma once

#include "bitmap/ImageExporter.h"

#include <cstdint>
#include <vector>

class GifImageExporter : public virtual ImageExporter {
public:
  // GIF stores sizes in 16 bits.
  static constexpr int kMaxDimension = 65535;
  static constexpr int kHashSize = 5003;
  static constexpr int kMaxCodeBits = 12;
  static constexpr int kMaxCodes = 1 << kMaxCodeBits;
  static constexpr int kSubBlockSize = 255;

  int SetBitDepth(int bits) override;
  int WriteImage(const BITMAP* image) override;
  int WriteImageWithPalette(const BITMAP* image, LOGPALETTE* palette) override;

  bool interlace = false;

protected:
  // An 8-bit rectangle to code: memory rows top .. bottom - 1 of a buffer with the given stride,
  // sent from the picture's top (the last memory row) downward.
  struct CodeArea {
    const BYTE* pixels;
    int stride;
    RECT rect;
  };
  // Converts a 32-bit source with the palette and spreads it to one byte per pixel.
  int ConvertToBytes(const BITMAP* source, const LOGPALETTE* palette, std::vector<BYTE>& bytes);
  void WriteColourTable(const LOGPALETTE* palette, int colourBits);
  void WriteImageData(const CodeArea& area, int colourBits, bool interlaced);
  void WriteWord(int value) {
    WriteByte(value & 0xFF);
    WriteByte((value >> 8) & 0xFF);
  }
  static bool SizeFits(const BITMAP* image) {
    return image->bmWidth > 0 && image->bmHeight > 0 && image->bmWidth <= kMaxDimension &&
           image->bmHeight <= kMaxDimension;
  }

private:
  void EmitCode(int code);
  void FlushSubBlock();
  int NextPixel();

  // Coder state, reset for every image.
  const BYTE* m_codePixels = nullptr;
  int m_codeStride = 0;
  RECT m_codeRect{};
  bool m_codeInterlace = false;
  int m_pass = 0;
  int m_row = 0;  // picture row within the rectangle, counted from its top
  int m_x = 0;
  std::int32_t m_hashKeys[kHashSize];
  std::uint16_t m_hashCodes[kHashSize];
  int m_initBits = 0;
  int m_codeBits = 0;
  int m_clearCode = 0;
  int m_maxCode = 0;
  int m_freeCode = 0;
  std::uint32_t m_accumulator = 0;
  int m_accumulatedBits = 0;
  int m_subBlockCount = 0;
  BYTE m_subBlock[kSubBlockSize];
};

class AnimatedImageExporter : public virtual ImageExporter {
public:
  virtual int WriteHeader(LOGPALETTE* palette) = 0;
};

class AnimatedGifImageExporter : public AnimatedImageExporter, public GifImageExporter {
public:
  ~AnimatedGifImageExporter() override;
  int Close() override { return Finish(); }
  int WriteImage(const BITMAP* image) override { return AddFrame(image); }
  int WriteImageWithPalette(const BITMAP* image, LOGPALETTE* palette) override { return WriteFrame(image, palette); }
  // Frame optimisation: reserves a palette entry for unchanged pixels.
  int SetOption(int flag) override;
  int WriteHeader(LOGPALETTE* palette) override;

  int SetDisposal(int value);
  int AddFrame(const BITMAP* image);
  int WriteFrame(const BITMAP* image, LOGPALETTE* palette);
  int Finish();

  int loop = 0;    // how many times the animation plays, 0 = forever
  int delay = 10;  // display time of the next frame, hundredths of a second

private:
  // A converted frame waits until the next one is known: when the next frame makes pixels
  // transparent that this one leaves visible, this one must restore the background after it
  // is shown, or the old pixels would show through.
  struct Frame {
    std::vector<BYTE> pixels;  // one byte per pixel, canvas size, memory rows bottom-up
    std::vector<PALETTEENTRY> palette;
    int colourCount = 0;
    int reservedIndex = -1;
    int delay = 0;
    int disposal = 1;
  };
  int FlushPending(bool clearsAfter);
  void DropCanvas();

  int m_disposal = -1;
  LOGPALETTE* m_globalPalette = nullptr;
  bool m_firstFrame = true;
  int m_globalColourBits = 1;
  int m_canvasWidth = 0;
  int m_canvasHeight = 0;
  int m_firstBitDepth = 8;
  bool m_hasPending = false;
  Frame m_pending;
  // What a viewer shows before the next frame is drawn: palette indices and whether each pixel
  // is visible at all.
  std::vector<BYTE> m_canvas;
  std::vector<BYTE> m_canvasVisible;
};
