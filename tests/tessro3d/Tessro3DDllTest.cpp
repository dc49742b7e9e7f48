// Tessro3D.dll as callers see it: ordinal-only exports, load-time binding through the import
// library, and its version resource.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tessro3d/Tessro3DImports.h"

namespace {

int g_allocations = 0, g_releases = 0;
void* __cdecl CountingAlloc(std::uint32_t size) {
  ++g_allocations;
  return std::malloc((size + 3) & ~3u);
}
void __cdecl CountingFree(void* p) {
  ++g_releases;
  std::free(p);
}

std::string DistPath(const char* name) {
  const char* dist = std::getenv("BW_DIST");
  return std::string(dist ? dist : ".") + "\\" + name;
}

class DllTest : public ::testing::Test {
 protected:
  HMODULE module = nullptr;
  void SetUp() override {
    module = LoadLibraryA(DistPath("Tessro3D.dll").c_str());
    ASSERT_NE(module, nullptr) << "Tessro3D.dll not found in BW_DIST";
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  template <class F>
  F Ordinal(int n) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(n))));
  }
};

TEST_F(DllTest, ExportsTwentySevenOrdinalsAndNoNames) {
  for (int n = 1; n <= 27; ++n) EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(n)), nullptr) << n;
  EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(28)), nullptr);
  EXPECT_EQ(GetProcAddress(module, "Tessro3DGetVersion"), nullptr);
}

TEST_F(DllTest, OrdinalsDrawThroughTheCallersMemory) {
  auto getVersion = Ordinal<std::int32_t(__cdecl*)()>(1);
  auto getStateSize = Ordinal<std::int32_t(__cdecl*)()>(2);
  auto releaseMemory = Ordinal<std::int32_t(__cdecl*)()>(3);
  auto saveState = Ordinal<std::int32_t(__cdecl*)(void*)>(4);
  auto setHandlers = Ordinal<std::int32_t(__cdecl*)(TessroAllocFunc, TessroFreeFunc)>(6);
  auto selectPalette = Ordinal<LOGPALETTE*(__cdecl*)(std::int32_t)>(8);
  auto setPalette = Ordinal<std::int32_t(__cdecl*)(const LOGPALETTE*)>(9);
  auto setBitmap = Ordinal<std::int32_t(__cdecl*)(const BITMAPINFOHEADER*, void*, std::uint32_t)>(10);
  auto fillRectangle = Ordinal<std::int32_t(__cdecl*)(const TessroRect*)>(14);
  auto setColour = Ordinal<std::int32_t(__cdecl*)(std::uint32_t)>(18);
  auto beginScene = Ordinal<std::int32_t(__cdecl*)(std::int32_t, std::uint32_t)>(21);
  auto endScene = Ordinal<std::int32_t(__cdecl*)()>(22);
  auto flatTriangle = Ordinal<std::int32_t(__cdecl*)(const Tessro3DVertex*, const Tessro3DVertex*, const Tessro3DVertex*, const Tessro3DColour*)>(24);

  EXPECT_EQ(getVersion(), 0x00020000);
  // What the program does at start-up.
  EXPECT_EQ(setHandlers(CountingAlloc, CountingFree), 0);
  const LOGPALETTE* palette = selectPalette(2);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->palNumEntries, 256);
  EXPECT_EQ(setPalette(palette), 0);
  EXPECT_EQ(getStateSize(), 43188);

  // The default matrix: caller y grows upwards from the bottom edge.
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = 8;
  h.biHeight = 8;
  h.biPlanes = 1;
  h.biBitCount = 32;
  std::vector<std::uint32_t> pixels(64, 0);
  ASSERT_EQ(setBitmap(&h, pixels.data(), 0), 0);
  setColour(0x0000FF);
  TessroRect bottomLeft{0, 0, 2 << 16, 1 << 16};
  ASSERT_EQ(fillRectangle(&bottomLeft), 0);
  EXPECT_EQ(pixels[7 * 8 + 0], 0x00FF0000u);
  EXPECT_EQ(pixels[7 * 8 + 2], 0u);

  ASSERT_EQ(beginScene(1 << 30, 0), 0);
  Tessro3DVertex a{0, 8 << 16, 0}, b{0, 6 << 16, 0}, c{2 << 16, 8 << 16, 0};
  Tessro3DColour green{0, 1, 0};
  // Device (0, 0), (0, 2), (2, 0): the winding the scene draws.
  ASSERT_EQ(flatTriangle(&a, &b, &c, &green), 0);
  ASSERT_EQ(endScene(), 0);
  EXPECT_EQ(pixels[0], 0x0100FF00u);

  std::vector<std::uint8_t> state(getStateSize());
  EXPECT_EQ(saveState(state.data()), 0);
  EXPECT_GT(g_allocations, 0);
  // At exit: every block goes back through the caller's release handler.
  EXPECT_EQ(releaseMemory(), 0);
  EXPECT_EQ(g_allocations, g_releases);
}

TEST(DllImports, LoadTimeBindingByOrdinal) {
  // These calls go through the import library, bound by ordinal.
  EXPECT_EQ(Tessro3DGetVersion(), 0x00020000);
  EXPECT_EQ(Tessro3DSetMemoryHandlers(CountingAlloc, CountingFree), 0);
  EXPECT_EQ(Tessro3DSetPalette(Tessro3DSelectPalette(2)), 0);
  EXPECT_EQ(Tessro3DReleaseMemory(), 0);
}

TEST(DllVersion, FileVersionResource) {
  std::string path = DistPath("Tessro3D.dll");
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
  char* text = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\FileVersion", reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(text, "2, 0, 0, 0");
}

}  // namespace
