// The importer as the program meets it: the installed DLL, registered and created through COM.
#include "components/imgrex/Imgrex.h"
#include "tests/imgrex/ImageFixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>
#include "tests/ModuleEntry.h"

namespace {

std::string ServerPath() {
  const char* dist = std::getenv("BW_DIST");
  return std::string(dist ? dist : ".") + "\\dlls\\Imgrexsrv.dll";
}

BSTR MakeBstr(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(std::size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
  return SysAllocString(wide.c_str());
}

struct TempFile {
  TempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) : path("bw_imgrex_" + name) {
    fixtures::WriteBytes(path, bytes);
  }
  ~TempFile() { DeleteFileA(path.c_str()); }
  std::string path;
};

class ImgrexCom : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    module = LoadLibraryA(ServerPath().c_str());
    ASSERT_NE(module, nullptr) << ServerPath();
    const auto reg = ModuleEntry<HRESULT(WINAPI*)()>(module, "DllRegisterServer");
    ASSERT_NE(reg, nullptr);
    ASSERT_EQ(reg(), S_OK);
  }
  static void TearDownTestSuite() {
    FreeLibrary(module);
    CoUninitialize();
  }
  void SetUp() override {
    ASSERT_EQ(CoCreateInstance(kImgrexClassId, nullptr, CLSCTX_INPROC_SERVER, kImgrexInterfaceId,
                               reinterpret_cast<void**>(&importer)),
              S_OK);
  }
  void TearDown() override {
    if (importer) importer->Release();
  }
  HRESULT Open(const std::string& path, long& handle) {
    BSTR name = MakeBstr(path);
    const HRESULT hr = importer->Open(name, &handle);
    SysFreeString(name);
    return hr;
  }

  static HMODULE module;
  IImgrex* importer = nullptr;
};
HMODULE ImgrexCom::module = nullptr;

TEST_F(ImgrexCom, ThumbnailNamedFileHoldingGifDecodesWithItsTransparency) {
  fixtures::GifSpec desc;
  desc.screenWidth = desc.width = 3;
  desc.screenHeight = desc.height = 2;
  desc.palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  desc.indices = {0, 1, 2, 3, 3, 0};
  desc.transparentIndex = 1;
  TempFile file("thumb.qgt", fixtures::MakeGif(desc));
  long handle = 0;
  ASSERT_EQ(Open(file.path, handle), S_OK);
  long width = 0, height = 0, depth = 0;
  ASSERT_EQ(importer->Info(handle, &width, &height, &depth), S_OK);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(depth, 32);
  std::vector<std::uint32_t> pixels(6, 0xDEADBEEFu);
  ASSERT_EQ(importer->Read(handle, 24, pixels.data()), S_OK);
  // Bottom-up: the second row from the top comes first.
  const std::vector<std::uint32_t> expected = {0xFFFFFF, 0xFFFFFF, 0xFF0000, 0xFF0000, 0xFF00FF00u, 0x0000FF};
  EXPECT_EQ(pixels, expected);
}

TEST_F(ImgrexCom, EveryFormatReportsItsSize) {
  fixtures::BmpSpec bmp;
  bmp.width = 7;
  bmp.height = 4;
  bmp.values.assign(28, 0x123456);
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    long width, height;
  } cases[] = {
      {"a.bmp", fixtures::MakeBmp(bmp), 7, 4},
      {"b.dat", fixtures::MakePngRgba(5, 6, std::vector<std::uint32_t>(30, 0xFF00FF00u), false), 5, 6},
      {"c.jpg", fixtures::MakeJpegSolid(9, 8, 0x808080), 9, 8},
  };
  for (const auto& c : cases) {
    TempFile file(c.name, c.bytes);
    long handle = 0, width = 0, height = 0, depth = 0;
    ASSERT_EQ(Open(file.path, handle), S_OK) << c.name;
    ASSERT_EQ(importer->Info(handle, &width, &height, &depth), S_OK);
    EXPECT_EQ(width, c.width) << c.name;
    EXPECT_EQ(height, c.height) << c.name;
    std::vector<std::uint32_t> pixels(std::size_t(width * height));
    EXPECT_EQ(importer->Read(handle, width * height * 4, pixels.data()), S_OK) << c.name;
  }
}

TEST_F(ImgrexCom, RefusalsAreReportedAsFailures) {
  long handle = 7;
  EXPECT_TRUE(FAILED(Open("bw_imgrex_missing.gif", handle)));
  EXPECT_EQ(handle, 0);
  TempFile text("text.gif", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
  EXPECT_TRUE(FAILED(Open(text.path, handle)));
  EXPECT_EQ(importer->Open(nullptr, &handle), E_INVALIDARG);

  fixtures::BmpSpec bmp;
  bmp.width = bmp.height = 2;
  bmp.values.assign(4, 0);
  TempFile file("small.bmp", fixtures::MakeBmp(bmp));
  ASSERT_EQ(Open(file.path, handle), S_OK);
  std::uint32_t pixels[4];
  long width, height, depth;
  EXPECT_EQ(importer->Read(handle, 15, pixels), E_INVALIDARG);  // one byte short
  EXPECT_EQ(importer->Read(handle, 16, nullptr), E_POINTER);
  EXPECT_EQ(importer->Read(handle + 1, 16, pixels), E_HANDLE);
  EXPECT_EQ(importer->Info(handle + 1, &width, &height, &depth), E_HANDLE);
}

TEST_F(ImgrexCom, VersionResourceAndUnloading) {
  const std::string path = ServerPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
  char* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\FileVersion", reinterpret_cast<void**>(&value),
                             &length));
  EXPECT_STREQ(value, "1, 0, 0, 9");

  importer->Release();
  importer = nullptr;
  const auto canUnload = ModuleEntry<HRESULT(WINAPI*)()>(module, "DllCanUnloadNow");
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(canUnload(), S_OK);
}

}  // namespace
