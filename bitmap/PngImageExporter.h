// PNG through libpng: palette images (1, 4 or 8 bits, with the palette and transparency that
// the base builds) or true colour (24-bit RGB, or 32-bit RGBA when transparency is on).
#pragma once

#include "bitmap/ImageExporter.h"

class PngImageExporter : public virtual ImageExporter {
public:
  int SetBitDepth(int bits) override;
  int WriteImage(const BITMAP* image) override;
  int WriteImageWithPalette(const BITMAP* image, LOGPALETTE* palette) override;

  bool interlace = false;

private:
  int WriteTrueColour(const BITMAP* image);
};
