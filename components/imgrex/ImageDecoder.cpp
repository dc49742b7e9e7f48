#include "components/imgrex/ImageDecoder.h"

#include "components/imgrex/DecoderLibraries.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace imgrex {

namespace {
// A file larger than this is refused before it is read.
constexpr long kMaxFileBytes = 256L * 1024 * 1024;

Result FromLibraryCode(int code) {
  switch (code) {
    case kImgrexOk: return Result::kOk;
    case kImgrexTooLarge: return Result::kTooLarge;
    case kImgrexNoMemory: return Result::kNoMemory;
    default: return Result::kBadData;
  }
}

Result CheckSize(int width, int height) {
  if (width <= 0 || height <= 0) return Result::kBadData;
  if (width > kMaxSide || height > kMaxSide || std::uint64_t(width) * std::uint64_t(height) > kMaxPixels)
    return Result::kTooLarge;
  return Result::kOk;
}

bool Allocate(std::vector<std::uint32_t>& pixels, int width, int height) {
  try {
    pixels.assign(std::size_t(width) * std::size_t(height), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}
}  // namespace

Format DetectFormat(const std::uint8_t* data, std::size_t size) {
  if (!data) return Format::kUnknown;
  if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) return Format::kGif;
  if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) return Format::kPng;
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return Format::kJpeg;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return Format::kBmp;
  return Format::kUnknown;
}

Result ReadInfo(const std::uint8_t* data, std::size_t size, ImageInfo& info) {
  info = ImageInfo{};
  info.format = DetectFormat(data, size);
  Result result = Result::kBadData;
  std::vector<std::uint32_t> none;
  switch (info.format) {
    case Format::kPng: result = FromLibraryCode(ImgrexPngSize(data, size, &info.width, &info.height)); break;
    case Format::kJpeg: result = FromLibraryCode(ImgrexJpegSize(data, size, &info.width, &info.height)); break;
    // GIF and BMP headers are read by their decoders without decoding pixels (empty target).
    case Format::kGif: result = DecodeGif(data, size, info, none); break;
    case Format::kBmp: result = DecodeBmp(data, size, info, none); break;
    case Format::kUnknown: return Result::kUnsupported;
  }
  if (result != Result::kOk) return result;
  return CheckSize(info.width, info.height);
}

Result Decode(const std::uint8_t* data, std::size_t size, ImageInfo& info, std::vector<std::uint32_t>& pixels) {
  pixels.clear();
  const Result header = ReadInfo(data, size, info);
  if (header != Result::kOk) return header;
  if (!Allocate(pixels, info.width, info.height)) return Result::kNoMemory;
  Result result = Result::kBadData;
  switch (info.format) {
    case Format::kPng:
      result = FromLibraryCode(ImgrexPngDecode(data, size, kMaxSide, pixels.data(), info.width, info.height));
      break;
    case Format::kJpeg:
      result = FromLibraryCode(ImgrexJpegDecode(data, size, kMaxSide, pixels.data(), info.width, info.height));
      break;
    case Format::kGif: result = DecodeGif(data, size, info, pixels); break;
    case Format::kBmp: result = DecodeBmp(data, size, info, pixels); break;
    case Format::kUnknown: result = Result::kUnsupported; break;
  }
  if (result != Result::kOk) pixels.clear();
  return result;
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(file) : -1;
  ok = ok && length >= 0 && length <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    try {
      bytes.resize(std::size_t(length));
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (ok && length > 0) ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  std::fclose(file);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace imgrex
