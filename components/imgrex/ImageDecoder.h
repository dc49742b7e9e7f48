// Pictures recognised by their content (GIF, JPEG, BMP, PNG) decoded into 32-bit pixels.
//
// Pixel word 0xTTRRGGBB (TT transparency: 0 opaque, 255 clear), rows bottom-up with no padding:
// the program's own convention, so that the importer's callers copy the words as they are.
// Limits are checked on the sizes a file claims before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace imgrex {

// The largest side and the largest picture the importer accepts.
constexpr int kMaxSide = 32767;
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 25;  // 128 MB of pixels

enum class Format { kUnknown, kGif, kJpeg, kBmp, kPng };

enum class Result { kOk, kBadData, kTooLarge, kNoMemory, kUnsupported };

// The format by the first bytes; the file name plays no part.
Format DetectFormat(const std::uint8_t* data, std::size_t size);

struct ImageInfo {
  Format format = Format::kUnknown;
  int width = 0;
  int height = 0;
};

// Size of the picture, without decoding it. kTooLarge for sizes beyond the limits.
Result ReadInfo(const std::uint8_t* data, std::size_t size, ImageInfo& info);
// Decodes the whole picture (the first frame of an animation); pixels gets width x height words.
Result Decode(const std::uint8_t* data, std::size_t size, ImageInfo& info, std::vector<std::uint32_t>& pixels);

// The format decoders behind Decode, for the tests.
Result DecodeGif(const std::uint8_t* data, std::size_t size, ImageInfo& info, std::vector<std::uint32_t>& pixels);
Result DecodeBmp(const std::uint8_t* data, std::size_t size, ImageInfo& info, std::vector<std::uint32_t>& pixels);

// Reads a whole file; false when it cannot be read or is larger than the importer accepts.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace imgrex
