// Baseline or progressive JPEG through libjpeg, straight from 32-bit bitmap rows.
#pragma once

#include "bitmap/ImageExporter.h"

class JpegImageExporter : public virtual ImageExporter {
public:
  JpegImageExporter() { m_bitDepth = 8; }

  int SetQuality(int quality);
  int Quality() const { return m_quality; }
  int SetBitDepth(int bits) override;
  int EnableTransparency() override { return kNotSupported; }
  int WriteImage(const BITMAP* image) override;
  int WriteImageWithPalette(const BITMAP* image, LOGPALETTE* palette) override { return WriteImage(image); }

  bool progressive = false;

private:
  int m_quality = 75;
};
