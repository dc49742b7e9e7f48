// Fixtures shared by the Tessro3D tests: counting memory handlers, targets, and state access.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "tessro3d/Tessro3D.h"

namespace tessro3d_test {

// Memory handlers that count what the library holds; a test can make them refuse.
struct Heap {
  static std::map<void*, std::uint32_t>& Live() {
    static std::map<void*, std::uint32_t> live;
    return live;
  }
  static bool& Refuse() {
    static bool refuse = false;
    return refuse;
  }
  static int& Allocations() {
    static int n = 0;
    return n;
  }
  static void* TESSRO3D_CALL Alloc(std::uint32_t size) {
    if (Refuse()) return nullptr;
    void* p = ::operator new(size ? size : 1);
    Live()[p] = size;
    ++Allocations();
    return p;
  }
  static void TESSRO3D_CALL Free(void* p) {
    auto it = Live().find(p);
    ASSERT_NE(it, Live().end()) << "released a block the library never got";
    Live().erase(it);
    ::operator delete(p);
  }
};

// The code of the last failure: byte 5 of a saved state.
inline int LastError() {
  std::vector<std::uint8_t> state(Tessro3DGetStateSize());
  Tessro3DSaveState(state.data());
  return state[5];
}

struct Target {
  BITMAPINFOHEADER header{};
  std::vector<std::uint8_t> pixels;
  std::int32_t stride = 0;
  Target(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression = 0) {
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = compression;
    stride = (width * bits + 31) / 32 * 4;
    pixels.assign(std::size_t(stride) * (height > 0 ? height : 0) + 4, 0);
  }
  std::uint32_t Pixel32(int x, int y) const {
    std::uint32_t p;
    std::memcpy(&p, &pixels[std::size_t(y) * stride + 4 * x], 4);
    return p;
  }
  void Fill32(std::uint32_t value) {
    for (int y = 0; y < header.biHeight; ++y)
      for (int x = 0; x < header.biWidth; ++x) std::memcpy(&pixels[std::size_t(y) * stride + 4 * x], &value, 4);
  }
  int Bit(int x, int y) const { return (pixels[std::size_t(y) * stride + x / 8] >> (7 - x % 8)) & 1; }
  std::uint8_t Byte(int x, int y) const { return pixels[std::size_t(y) * stride + x]; }
  std::uint16_t Word16(int x, int y) const { return static_cast<std::uint16_t>(pixels[std::size_t(y) * stride + 2 * x] | pixels[std::size_t(y) * stride + 2 * x + 1] << 8); }
  int Select() { return Tessro3DSetBitmap(&header, pixels.data(), 0); }
};

// Caller coordinates in whole pixels (16.16), y growing downwards like the device.
inline std::int32_t Px(double v) { return static_cast<std::int32_t>(v * 65536.0); }
inline void SetPixelMatrix() {
  TessroMatrix m{0x4000, 0, 0, 0x4000, 0, 0};
  Tessro3DSetMatrix(&m);
}

// A fresh library state for every test, with counting handlers; every block must be back
// at the end.
class Tessro3DFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Heap::Refuse() = false;
    Tessro3DSetMemoryHandlers(Heap::Alloc, Heap::Free);
    Tessro3DReleaseMemory();
    std::uint32_t blank[40] = {};
    Tessro3DRestoreState(blank);
    Tessro3DSetTexture(nullptr, nullptr, nullptr);  // no texture
    Tessro3DSetStackLimit(0x4000);
    Tessro3DSetMemoryHandlers(Heap::Alloc, Heap::Free);
  }
  void TearDown() override {
    Heap::Refuse() = false;
    EXPECT_EQ(Tessro3DReleaseMemory(), 0);
    EXPECT_TRUE(Heap::Live().empty()) << Heap::Live().size() << " blocks still held";
  }
};

}  // namespace tessro3d_test
