#include "tests/bitmap/GifDecoder.h"

#include <cstdio>

namespace {
struct Reader {
  const std::vector<std::uint8_t>& bytes;
  std::size_t at = 0;
  bool Has(std::size_t n) const { return at + n <= bytes.size(); }
  int Byte() { return Has(1) ? bytes[at++] : -1; }
  int Word() {
    const int lo = Byte(), hi = Byte();
    return lo < 0 || hi < 0 ? -1 : lo | (hi << 8);
  }
};

std::string DecodeLzw(const std::vector<std::uint8_t>& data, int minimumCodeSize, std::size_t pixels,
                      std::vector<std::uint8_t>& out, int& clears) {
  const int clear = 1 << minimumCodeSize, end = clear + 1;
  int width = minimumCodeSize + 1, next = clear + 2;
  std::vector<int> prefix(4096, -1), suffix(4096, 0), length(4096, 0);
  for (int i = 0; i < clear; ++i) { suffix[i] = i; length[i] = 1; }
  std::uint32_t acc = 0;
  int bits = 0;
  std::size_t pos = 0;
  int previous = -1;
  std::vector<std::uint8_t> stack;
  auto emit = [&](int code) {
    stack.clear();
    for (int c = code; c >= 0; c = prefix[c]) stack.push_back(std::uint8_t(suffix[c]));
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) out.push_back(*it);
  };
  auto first = [&](int code) {
    while (prefix[code] >= 0) code = prefix[code];
    return suffix[code];
  };
  while (true) {
    while (bits < width) {
      if (pos >= data.size()) return "data ends before the end code";
      acc |= std::uint32_t(data[pos++]) << bits;
      bits += 8;
    }
    const int code = int(acc & ((1u << width) - 1));
    acc >>= width;
    bits -= width;
    if (code == clear) {
      ++clears;
      width = minimumCodeSize + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0) {
      if (code >= clear) return "first code is not a colour";
      emit(code);
    } else {
      if (code < next) {
        emit(code);
        if (next < 4096) { prefix[next] = previous; suffix[next] = first(code); length[next] = length[previous] + 1; ++next; }
      } else if (code == next && next < 4096) {
        prefix[next] = previous;
        suffix[next] = first(previous);
        length[next] = length[previous] + 1;
        ++next;
        emit(code);
      } else {
        return "code out of range";
      }
    }
    previous = code;
    if (next == (1 << width) && width < 12) ++width;
  }
  if (out.size() != pixels) return "pixel count differs from the image size";
  return {};
}
}  // namespace

std::string DecodeGif(const std::vector<std::uint8_t>& bytes, DecodedGif& gif) {
  Reader r{bytes};
  if (!r.Has(13)) return "short header";
  gif.signature.assign(bytes.begin(), bytes.begin() + 6);
  r.at = 6;
  gif.width = r.Word();
  gif.height = r.Word();
  gif.packed = r.Byte();
  r.Byte();
  r.Byte();
  if (gif.packed & 0x80) {
    const std::size_t n = 3u << ((gif.packed & 7) + 1);
    if (!r.Has(n)) return "short global table";
    gif.globalTable.assign(bytes.begin() + long(r.at), bytes.begin() + long(r.at + n));
    r.at += n;
  }
  DecodedGifFrame pending;
  while (true) {
    const int block = r.Byte();
    if (block < 0) return "no trailer";
    if (block == 0x3B) break;
    if (block == 0x21) {
      const int label = r.Byte();
      std::vector<std::uint8_t> data;
      std::vector<std::vector<std::uint8_t>> subBlocks;
      for (int size = r.Byte(); size > 0; size = r.Byte()) {
        if (!r.Has(std::size_t(size))) return "short extension";
        subBlocks.emplace_back(bytes.begin() + long(r.at), bytes.begin() + long(r.at) + size);
        r.at += std::size_t(size);
      }
      if (label == 0xF9) {
        if (subBlocks.size() != 1 || subBlocks[0].size() != 4) return "bad control extension";
        const auto& c = subBlocks[0];
        pending.hasControl = true;
        pending.disposal = (c[0] >> 2) & 7;
        pending.transparent = c[0] & 1;
        pending.delay = c[1] | (c[2] << 8);
        pending.transparentIndex = c[3];
      } else if (label == 0xFF && subBlocks.size() == 2 && subBlocks[0].size() == 11 && subBlocks[1].size() == 3) {
        gif.hasLoop = true;
        gif.loopCount = subBlocks[1][1] | (subBlocks[1][2] << 8);
      }
      continue;
    }
    if (block != 0x2C) return "unknown block";
    DecodedGifFrame frame = pending;
    pending = DecodedGifFrame();
    frame.left = r.Word();
    frame.top = r.Word();
    frame.width = r.Word();
    frame.height = r.Word();
    const int packed = r.Byte();
    if (packed < 0) return "short descriptor";
    frame.interlaced = packed & 0x40;
    if (packed & 0x80) {
      const std::size_t n = 3u << ((packed & 7) + 1);
      if (!r.Has(n)) return "short local table";
      frame.localTable.assign(bytes.begin() + long(r.at), bytes.begin() + long(r.at + n));
      r.at += n;
    }
    frame.minimumCodeSize = r.Byte();
    if (frame.minimumCodeSize < 2 || frame.minimumCodeSize > 8) return "bad minimum code size";
    std::vector<std::uint8_t> data;
    for (int size = r.Byte(); size != 0; size = r.Byte()) {
      if (size < 0 || !r.Has(std::size_t(size))) return "short image data";
      data.insert(data.end(), bytes.begin() + long(r.at), bytes.begin() + long(r.at) + size);
      r.at += std::size_t(size);
    }
    std::vector<std::uint8_t> sequence;
    const std::string error = DecodeLzw(data, frame.minimumCodeSize, std::size_t(frame.width) * frame.height,
                                        sequence, gif.clearCodes);
    if (!error.empty()) return error;
    if (!frame.interlaced) {
      frame.indices = sequence;
    } else {
      frame.indices.assign(sequence.size(), 0);
      const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
      std::size_t k = 0;
      for (int pass = 0; pass < 4; ++pass)
        for (int row = starts[pass]; row < frame.height; row += steps[pass])
          for (int x = 0; x < frame.width; ++x) frame.indices[std::size_t(row) * frame.width + x] = sequence[k++];
    }
    gif.frames.push_back(std::move(frame));
  }
  return {};
}

std::vector<std::vector<std::uint32_t>> ComposeGifFrames(const DecodedGif& gif) {
  std::vector<std::vector<std::uint32_t>> shown;
  std::vector<std::uint32_t> canvas(std::size_t(gif.width) * gif.height, 0);
  for (const DecodedGifFrame& f : gif.frames) {
    const std::vector<std::uint8_t>& table = f.localTable.empty() ? gif.globalTable : f.localTable;
    const std::vector<std::uint32_t> before = canvas;
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x) {
        const int index = f.indices[std::size_t(y) * f.width + x];
        if (f.transparent && index == f.transparentIndex) continue;
        const int cx = f.left + x, cy = f.top + y;
        if (cx >= gif.width || cy >= gif.height) continue;
        canvas[std::size_t(cy) * gif.width + cx] = 0xFF000000u | (std::uint32_t(table[3 * index]) << 16) |
                                                  (std::uint32_t(table[3 * index + 1]) << 8) | table[3 * index + 2];
      }
    shown.push_back(canvas);
    if (f.disposal == 2) {
      for (int y = f.top; y < f.top + f.height && y < gif.height; ++y)
        for (int x = f.left; x < f.left + f.width && x < gif.width; ++x) canvas[std::size_t(y) * gif.width + x] = 0;
    } else if (f.disposal == 3) {
      canvas = before;
    }
  }
  return shown;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  std::uint8_t buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(file);
  return bytes;
}
