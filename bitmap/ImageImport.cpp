#include "bitmap/ImageImport.h"

#include "bitmap/BitmapServices.h"
#include "bitmap/PngReaderLibrary.h"
#include "bitmap/bitmapmanip.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr HRESULT kImportOk = 0;
constexpr HRESULT kImportPointerResult = static_cast<HRESULT>(0x80004003);

HRESULT PlatformCreateImporter(std::unique_ptr<ImageImporter>& importer);
ImageImporterCreator g_creator = nullptr;

bool IsPngPath(const char* path) {
  std::string lower(path);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower.find(".png") != std::string::npos;
}

bool SizeAccepted(long width, long height) {
  return width > 0 && height > 0 && width <= kMaxImportSide && height <= kMaxImportSide &&
         std::uint64_t(width) * std::uint64_t(height) <= kMaxImportPixels;
}

bool FileExists(const CString& path) {
  std::FILE* file = std::fopen(path.GetString(), "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

}  // namespace

// ---- Importer creation ----

HRESULT CreateImageImporter(std::unique_ptr<ImageImporter>& importer) {
  importer.reset();
  return g_creator ? g_creator(importer) : PlatformCreateImporter(importer);
}

ImageImporterCreator SetImageImporterCreator(ImageImporterCreator creator) {
  const ImageImporterCreator previous = g_creator;
  g_creator = creator;
  return previous;
}

// ---- CPngReader ----

void CPngReader::Open(const char* path, int& width, int& height) {
  Close();
  m_file = path ? std::fopen(path, "rb") : nullptr;
  if (!m_file) throw PngReadError{};
  const int code = BwPngReaderOpen(m_file, kMaxImportSide, &m_reader, &m_width, &m_height);
  if (code == kBwPngReadOk && std::uint64_t(m_width) * std::uint64_t(m_height) > kMaxImportPixels) {
    Close();
    throw PngReadError{};
  }
  if (code != kBwPngReadOk) {
    Close();
    if (code == kBwPngReadNoMemory) throw std::bad_alloc();
    throw PngReadError{};
  }
  width = m_width;
  height = m_height;
}

void CPngReader::ReadRows(Bitmap32& bitmap) {
  if (!m_reader || !bitmap.Pixels() || bitmap.Width() != m_width || bitmap.Height() != m_height) throw PngReadError{};
  // The file's first row is the top of the picture: the bitmap's last memory row.
  std::vector<unsigned int*> rows(static_cast<std::size_t>(m_height));
  for (int y = 0; y < m_height; ++y)
    rows[std::size_t(y)] = reinterpret_cast<unsigned int*>(bitmap.Pixels()) + std::size_t(m_height - 1 - y) * std::size_t(m_width);
  const int code = BwPngReaderReadRows(m_reader, rows.data());
  if (code == kBwPngReadNoMemory) throw std::bad_alloc();
  if (code != kBwPngReadOk) throw PngReadError{};
}

void CPngReader::Close() {
  BwPngReaderClose(m_reader);
  m_reader = nullptr;
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
}

HRESULT LoadPng(Bitmap32* bitmap, const char* path) {
  if (!bitmap) return kPngFailedResult;
  try {
    CPngReader reader;
    int width = 0, height = 0;
    reader.Open(path, width, height);
    // Read into a new picture so that a failure leaves the caller's bitmap as it was.
    Bitmap32 picture;
    if (picture.CreateFilled(width, height, 0x000000FFu) != 0) throw std::bad_alloc();
    reader.ReadRows(picture);
    reader.Close();
    if (bitmap->CreateFromPixels(width, height, picture.Pixels()) != 0) throw std::bad_alloc();
    return kImportOk;
  } catch (const std::bad_alloc&) {
    return kPngOutOfMemoryResult;
  } catch (...) {
    return kPngFailedResult;
  }
}

HRESULT GetPngSize(const char* path, int& width, int& height) {
  width = height = 0;
  try {
    CPngReader reader;
    reader.Open(path, width, height);
    return kImportOk;
  } catch (const std::bad_alloc&) {
    return kPngOutOfMemoryResult;
  } catch (...) {
    return kPngFailedResult;
  }
}

// ---- Import ----

HRESULT LoadImage32(Bitmap32* bitmap, const char* path) {
  if (!bitmap || !path) return kImportPointerResult;
  if (IsPngPath(path)) return LoadPng(bitmap, path);
  std::unique_ptr<ImageImporter> importer;
  HRESULT hr = CreateImageImporter(importer);
  long handle = 0, width = 0, height = 0, depth = 0;
  if (hr >= 0) hr = importer->Open(path, handle);
  if (hr >= 0) hr = importer->Info(handle, width, height, depth);
  if (hr < 0) return hr;
  // Only 32-bit pixels are the program's own: any other depth is refused rather than reported
  // as success with the bitmap untouched.
  if (depth != 32) return kImportDepthNotSupportedResult;
  if (!SizeAccepted(width, height)) return kOutOfMemoryResult;
  Bitmap32 picture;
  if (picture.CreateFilled(int(width), int(height), 0) != 0) return kOutOfMemoryResult;
  hr = importer->Read(handle, width * height * 4, picture.Pixels());
  if (hr < 0) return hr;
  if (bitmap->CreateFromPixels(int(width), int(height), picture.Pixels()) != 0) return kOutOfMemoryResult;
  return hr;
}

int GetImageSize(const char* path, RECT* rect) {
  if (!path || !rect) return 0;
  if (IsPngPath(path)) {
    int width = 0, height = 0;
    if (GetPngSize(path, width, height) != kImportOk) return 0;
    rect->right = width;
    rect->bottom = height;
    return 1;
  }
  std::unique_ptr<ImageImporter> importer;
  HRESULT hr = CreateImageImporter(importer);
  long handle = 0, width = 0, height = 0, depth = 0;
  if (hr >= 0) hr = importer->Open(path, handle);
  if (hr >= 0) hr = importer->Info(handle, width, height, depth);
  if (hr < 0) return 0;
  rect->right = width;
  rect->bottom = height;
  return 1;
}

int CheckImporterAvailable() {
  std::unique_ptr<ImageImporter> importer;
  if (CreateImageImporter(importer) < 0 || !importer) {
    GetBitmapServices().ReportError(kImporterProblemMessage, "Imgrex");
    return 0;
  }
  return 1;
}

// ---- Navigation bar preview ----

Bitmap32* ComposeNavBarPreview(const CString& folderPrefix, const CString& itemText) {
  if (itemText.IsEmpty()) return nullptr;
  const int bar = itemText.Find('|');
  CString name = bar < 0 ? itemText : itemText.Left(bar);
  name.TrimRight(' ');
  long flags = 0;
  if (bar >= 0) {
    const CString rest = itemText.Mid(bar + 1);
    const int second = rest.Find('|');
    flags = std::strtol((second < 0 ? rest : rest.Left(second)).GetString(), nullptr, 10);
  }
  const bool vertical = (flags & 0x400) != 0;
  const CString base = folderPrefix + name;

  // First state, second, third (with the older names as fallbacks), then the two caps.
  const char* const states[3][2] = {{"#1.qgt", "_off.qgt"}, {"#2.qgt", "_over.qgt"}, {"#3.qgt", "_on.qgt"}};
  const char* const caps[2] = {vertical ? "_top.qgt" : "_left.qgt", vertical ? "_bottom.qgt" : "_right.qgt"};
  std::unique_ptr<Bitmap32> parts[3], capParts[2];
  bool failed = false;
  const auto load = [&failed](std::unique_ptr<Bitmap32>& part, const CString& path) {
    if (failed || !FileExists(path)) return;
    part.reset(new (std::nothrow) Bitmap32);
    if (!part || LoadImage32(part.get(), path.GetString()) < 0 || !part->Pixels()) {
      part.reset();
      failed = true;
    }
  };
  for (int i = 0; i < 3; ++i) {
    const CString current = base + states[i][0];
    load(parts[i], FileExists(current) ? current : base + states[i][1]);
  }
  for (int i = 0; i < 2; ++i) load(capParts[i], base + caps[i]);
  if (failed || !parts[0]) return nullptr;

  // Left or top cap, the three states, right or bottom cap.
  const Bitmap32* order[5] = {capParts[0].get(), parts[0].get(), parts[1].get(), parts[2].get(), capParts[1].get()};
  long long width = 0, height = 0;
  for (const Bitmap32* part : order) {
    if (!part) continue;
    if (vertical)
      height += part->Height();
    else
      width += part->Width();
  }
  if (vertical)
    width = parts[0]->Width();
  else
    height = parts[0]->Height();
  if (width <= 0 || height <= 0 || !SizeAccepted(long(std::min<long long>(width, kMaxImportSide + 1LL)),
                                                 long(std::min<long long>(height, kMaxImportSide + 1LL))))
    return nullptr;
  std::unique_ptr<Bitmap32> result(new (std::nothrow) Bitmap32);
  if (!result || result->CreateFilled(int(width), int(height), 0xFFFFFFFFu) != 0) return nullptr;
  int x = 0, top = 0;  // top: rows taken from the top as displayed
  for (const Bitmap32* part : order) {
    if (!part) continue;
    if (vertical) {
      // Left-aligned from the top: memory rows count from the bottom.
      const int y = int(height) - top - part->Height();
      BlitARGB(part->Pixels(), 0, 0, part->Width(), part->Height(), result->Pixels(), 0, y, int(width), int(height),
               false, false, -1);
      top += part->Height();
    } else {
      // Bottom-aligned from the left.
      BlitARGB(part->Pixels(), 0, 0, part->Width(), part->Height(), result->Pixels(), x, 0, int(width), int(height),
               false, false, -1);
      x += part->Width();
    }
  }
  return result.release();
}

// ---- The platform's importer ----

#ifdef _WIN32
#include "components/imgrex/Imgrex.h"

namespace {
// Converts a text in the system code page to a new BSTR (FreeBSTR releases it).
BSTR ToBSTR(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return nullptr;
  BSTR result = SysAllocStringLen(nullptr, UINT(length - 1));
  if (result) MultiByteToWideChar(CP_ACP, 0, text, -1, result, length);
  return result;
}
void FreeBSTR(BSTR text) { SysFreeString(text); }

class ComImageImporter final : public ImageImporter {
public:
  explicit ComImageImporter(IImgrex* importer) : m_importer(importer) {}
  ~ComImageImporter() override { m_importer->Release(); }
  HRESULT Open(const char* path, long& handle) override {
    BSTR name = ToBSTR(path);
    if (!name) return E_OUTOFMEMORY;
    const HRESULT hr = m_importer->Open(name, &handle);
    FreeBSTR(name);
    return hr;
  }
  HRESULT Info(long handle, long& width, long& height, long& bitsPerPixel) override {
    return m_importer->Info(handle, &width, &height, &bitsPerPixel);
  }
  HRESULT Read(long handle, long byteCount, void* destination) override {
    return m_importer->Read(handle, byteCount, destination);
  }

private:
  IImgrex* m_importer;
};

HRESULT PlatformCreateImporter(std::unique_ptr<ImageImporter>& importer) {
  IImgrex* object = nullptr;
  const HRESULT hr = CoCreateInstance(kImgrexClassId, nullptr, CLSCTX_INPROC_SERVER, kImgrexInterfaceId,
                                      reinterpret_cast<void**>(&object));
  if (hr < 0) return hr;
  importer.reset(new (std::nothrow) ComImageImporter(object));
  if (!importer) {
    object->Release();
    return E_OUTOFMEMORY;
  }
  return hr;
}
}  // namespace
#else
namespace {
// Only Windows has the outside importer.
HRESULT PlatformCreateImporter(std::unique_ptr<ImageImporter>&) { return kImporterNotRegisteredResult; }
}  // namespace
#endif
