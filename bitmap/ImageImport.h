// Pictures from files as Bitmap32s: PNG through our own reader on libpng, every other format
// through the outside image importer (an in-process COM server on Windows).
#pragma once

#include "bitmap/Bitmap32.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <cstdint>
#include <cstdio>
#include <memory>

struct BwPngReader;

// Largest picture taken from a file: sides and pixel count are checked before allocating.
constexpr int kMaxImportSide = 32767;
constexpr std::uint64_t kMaxImportPixels = std::uint64_t(1) << 25;

constexpr HRESULT kPngOutOfMemoryResult = static_cast<HRESULT>(0x80070008);
constexpr HRESULT kPngFailedResult = static_cast<HRESULT>(0x8007001F);
// The importer delivered a depth other than 32 bits per pixel.
constexpr HRESULT kImportDepthNotSupportedResult = static_cast<HRESULT>(0x80070032);
// The importer is not registered (the class cannot be created).
constexpr HRESULT kImporterNotRegisteredResult = static_cast<HRESULT>(0x80040154);
// "There is a problem with %s.DLL." / "Please re-install the correct version."
constexpr int kImporterProblemMessage = 32818;

// The three calls of the outside importer.
class ImageImporter {
public:
  virtual ~ImageImporter() = default;
  virtual HRESULT Open(const char* path, long& handle) = 0;
  virtual HRESULT Info(long handle, long& width, long& height, long& bitsPerPixel) = 0;
  virtual HRESULT Read(long handle, long byteCount, void* destination) = 0;
};

// Creates the outside importer (a new object per call, released by the caller).
using ImageImporterCreator = HRESULT (*)(std::unique_ptr<ImageImporter>& importer);
HRESULT CreateImageImporter(std::unique_ptr<ImageImporter>& importer);
// Replaces the way the importer is created (tests); null restores the platform's. Returns the
// previous creator (null for the platform's).
ImageImporterCreator SetImageImporterCreator(ImageImporterCreator creator);

// Fills an existing bitmap from a file: paths holding ".png" (in any case) through the PNG
// reader, others through the importer. A negative HRESULT on failure, the bitmap unchanged.
HRESULT LoadImage32(Bitmap32* bitmap, const char* path);
// The picture's width into rect->right and its height into rect->bottom; 1, or 0 on failure.
int GetImageSize(const char* path, RECT* rect);
// Creates the importer once to see that it is installed; tells the user when it is not. 1 or 0.
int CheckImporterAvailable();

HRESULT LoadPng(Bitmap32* bitmap, const char* path);
HRESULT GetPngSize(const char* path, int& width, int& height);

// The preview of a navigation bar assembled from the thumbnails its save wrote; null when the
// first state's picture is missing or anything fails. itemText is "name|number|...".
Bitmap32* ComposeNavBarPreview(const CString& folderPrefix, const CString& itemText);

// libpng reading of one file. Failures are thrown: std::bad_alloc for memory, PngReadError for
// anything else; Open closes the reader before passing one on.
class CPngReader {
public:
  struct PngReadError {};

  CPngReader() = default;
  virtual ~CPngReader() { Close(); }
  CPngReader(const CPngReader&) = delete;
  CPngReader& operator=(const CPngReader&) = delete;

  void Open(const char* path, int& width, int& height);
  // Reads every row into a bitmap of the file's size, the file's first row at the top.
  void ReadRows(Bitmap32& bitmap);
  void Close();

private:
  std::FILE* m_file = nullptr;
  BwPngReader* m_reader = nullptr;
  int m_width = 0, m_height = 0;
};
