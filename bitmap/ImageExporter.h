// The common base of the image file writers (GIF, animated GIF, JPEG, PNG).
//
// Call protocol for one file: create the writer; SetTessroContext; SetBitDepth, SetPaletteSize,
// SetDitherMode, EnableTransparency, AddFixedColour as wanted; Open; WriteImage (the writer
// builds its palette and converts); Close, or Abort after a failure; destroy.
//
// The file is written under a temporary name beside the target and renamed into place by a
// successful Close: a failed or aborted write (or a writer destroyed without Close) leaves
// nothing at the target path, and an existing file there is kept until the new one is complete.
//
// Images are BITMAP records: a source is 32 bits per pixel, width x 4 bytes per row, rows
// bottom-up, pixel words 0xTTRRGGBB with TT the transparency (255 clear).
#pragma once

#include "framework/core/WinTypes.h"

#include <cstdio>
#include <string>

class PaletteQuantiser;
class TessroConversion;

class ImageExporter {
public:
  enum Error {
    kSuccess = 0,
    kUnknown = 2,
    kBadArgument = 3,
    kUnsupportedInput = 4,
    kFileNotOpen = 5,
    kCannotOpen = 6,
    kSettingsChanged = 7,
    kOutOfMemory = 8,
    kOutOfRange = 9,
    kWriteFailed = 10,
    kTooManyFixedColours = 11,
    kNotSupported = 12,
  };

  // Palette version word: 0x300 plus the exact-colours flag in bit 0.
  static constexpr WORD kPaletteVersion = 0x300;
  static constexpr WORD kExactColoursFlag = 1;
  // Entries not in use, and the reserved transparent entry: black with flags 255.
  static constexpr PALETTEENTRY kFillerEntry = {0, 0, 0, 255};
  static constexpr int kMaxPaletteEntries = 256;
  // Converted images carry this many spare bytes so that rows may be read in whole words.
  static constexpr int kImageSpareBytes = 32;

  ImageExporter() = default;
  ImageExporter(const ImageExporter&) = delete;
  ImageExporter& operator=(const ImageExporter&) = delete;
  virtual ~ImageExporter();

  virtual int Open(const char* path);
  virtual int Close();
  // Closes through the virtual table (so an animation is still finished), then discards the file.
  virtual int Abort();
  virtual int WriteImage(const BITMAP* image) = 0;
  virtual int WriteImageWithPalette(const BITMAP* image, LOGPALETTE* palette) = 0;
  virtual int EnableTransparency();
  virtual int SetOption(int flag);
  virtual int SetBitDepth(int bits) = 0;

  int SetTessroContext(TessroConversion* context);
  int SetDitherMode(int mode);
  int SetPaletteSize(int colours);
  int AddFixedColour(const PALETTEENTRY& entry);
  void SetStandardColours(bool on) { m_standardColours = on; }
  void SetWebSafeOnly(bool on) { m_webSafeOnly = on; }

  int Prepare();
  int AddToPalette(const BITMAP* image);
  int BuildPalette(LOGPALETTE* palette);
  int PreparePalette(const BITMAP* image, LOGPALETTE* palette);

  // A new image of the source's size in the given depth; release it with FreeImage.
  int AllocateImage(const BITMAP* source, BITMAP* out, int bits);
  static void FreeImage(BITMAP* image);
  int ConvertImage(const BITMAP* source, BITMAP* out, const LOGPALETTE* palette);

  int DitherMode() const { return m_ditherMode; }
  int BitDepth() const { return m_bitDepth; }
  int PaletteSize() const { return m_paletteSize; }
  bool Transparent() const { return m_transparent; }
  int ReservedIndex() const { return m_reservedIndex; }
  bool HasQuantiser() const { return m_quantiser != nullptr; }
  bool IsOpen() const { return m_file != nullptr; }
  // The last conversion mode chosen (for diagnostics and tests).
  int ConversionMode() const { return m_conversionMode; }

protected:
  int SetupConversion(int depth, const LOGPALETTE* palette);
  int ConvertRows(const BITMAP* source, BITMAP* out, int originX, int originY);
  void EndConversion() { m_conversionState = 0; }

  // One byte, or a block, to the file; a failed write throws kWriteFailed.
  void WriteByte(int value);
  void WriteBytes(const void* data, std::size_t count);
  // Remembers a failure of a write operation so that Close does not publish a partial file.
  int Result(int code) {
    if (code != kSuccess && m_failure == kSuccess) m_failure = code;
    return code;
  }
  // Closes the stream and publishes or discards the file; 0 or kWriteFailed.
  int CloseFile();

  std::FILE* m_file = nullptr;
  int m_ditherMode = 0;
  bool m_standardColours = false;
  bool m_webSafeOnly = false;
  int m_bitDepth = 8;
  int m_paletteSize = 256;
  bool m_transparent = false;
  bool m_spareEntry = false;
  int m_reservedIndex = -1;
  struct Snapshot {
    int ditherMode = -1;
    int bitDepth = -1;
    bool standardColours = false;
  } m_snapshot;
  PaletteQuantiser* m_quantiser = nullptr;
  int m_fixedCount = 0;
  PALETTEENTRY m_fixedColours[kMaxPaletteEntries] = {};
  int m_conversionState = 0;
  int m_conversionDepth = 0;
  int m_conversionMode = 0;
  bool m_clearPixelsConverted = false;  // the source has clear pixels that are not marked
  TessroConversion* m_context = nullptr;

private:
  std::string m_targetPath;
  std::string m_tempPath;
  int m_failure = kSuccess;
  bool m_discard = false;
};

// The number of colour bits for a palette of count entries in use (1..8).
int GifColourBits(int count);
