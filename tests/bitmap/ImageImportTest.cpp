#include "bitmap/BitmapServices.h"
#include "bitmap/ImageImport.h"
#include "components/imgrex/ImageDecoder.h"
#include "tests/imgrex/ImageFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// An importer that decodes with the importer component's own decoders; its depth and size can
// be made to lie.
struct FakeImporterState {
  int created = 0;
  bool missing = false;
  long depth = 32;
  long claimedWidth = 0, claimedHeight = 0;  // 0: the real size
} g_fake;

class FakeImporter : public ImageImporter {
public:
  HRESULT Open(const char* path, long& handle) override {
    if (!imgrex::ReadFileBytes(path, m_bytes)) return static_cast<HRESULT>(0x80070002);
    imgrex::ImageInfo info;
    if (imgrex::ReadInfo(m_bytes.data(), m_bytes.size(), info) != imgrex::Result::kOk) return static_cast<HRESULT>(0x80004005);
    handle = 1;
    return 0;
  }
  HRESULT Info(long, long& width, long& height, long& bitsPerPixel) override {
    imgrex::ImageInfo info;
    imgrex::ReadInfo(m_bytes.data(), m_bytes.size(), info);
    width = g_fake.claimedWidth ? g_fake.claimedWidth : info.width;
    height = g_fake.claimedHeight ? g_fake.claimedHeight : info.height;
    bitsPerPixel = g_fake.depth;
    return 0;
  }
  HRESULT Read(long, long byteCount, void* destination) override {
    imgrex::ImageInfo info;
    std::vector<std::uint32_t> pixels;
    if (imgrex::Decode(m_bytes.data(), m_bytes.size(), info, pixels) != imgrex::Result::kOk) return static_cast<HRESULT>(0x80004005);
    if (std::size_t(byteCount) < pixels.size() * 4) return static_cast<HRESULT>(0x80070057);
    std::memcpy(destination, pixels.data(), pixels.size() * 4);
    return 0;
  }

private:
  std::vector<std::uint8_t> m_bytes;
};

HRESULT CreateFake(std::unique_ptr<ImageImporter>& importer) {
  ++g_fake.created;
  if (g_fake.missing) return kImporterNotRegisteredResult;
  importer.reset(new FakeImporter);
  return 0;
}

struct ReportingServices : BitmapServices {
  std::vector<std::pair<int, std::string>> errors;
  void ReportError(int id, const char* argument) override { errors.emplace_back(id, argument); }
};

struct ImageImportTest : ::testing::Test {
  std::vector<std::string> files;
  ImageImporterCreator previous = nullptr;
  void SetUp() override {
    g_fake = FakeImporterState{};
    previous = SetImageImporterCreator(CreateFake);
  }
  void TearDown() override {
    SetImageImporterCreator(previous);
    for (const std::string& f : files) std::remove(f.c_str());
  }
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = "bw_import_" + name;
    fixtures::WriteBytes(path, bytes);
    files.push_back(path);
    return path;
  }
  // A GIF of one colour.
  static std::vector<std::uint8_t> Gif(int width, int height, std::uint32_t rgb) {
    fixtures::GifSpec desc;
    desc.screenWidth = desc.width = width;
    desc.screenHeight = desc.height = height;
    desc.palette = {rgb, 0};
    desc.indices.assign(std::size_t(width * height), 0);
    return fixtures::MakeGif(desc);
  }
};

TEST_F(ImageImportTest, PngPathsGoToThePngReaderInAnyCase) {
  const std::vector<std::uint8_t> png = fixtures::MakePngPalette(2, 1, {0, 1}, {0xFF112233u, 0x40445566u});
  for (const char* name : {"Picture.PNG", "picture.png.bak"}) {
    Bitmap32 bitmap;
    ASSERT_EQ(LoadImage32(&bitmap, Write(name, png).c_str()), 0) << name;
    ASSERT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Pixels()[0], 0x00112233u);
    EXPECT_EQ(bitmap.Pixels()[1], 0xBF445566u);  // transparency is 255 - alpha
  }
  EXPECT_EQ(g_fake.created, 0);
}

TEST_F(ImageImportTest, InterlacedPngGivesTheSamePicture) {
  std::vector<std::uint32_t> argb;
  for (int i = 0; i < 11 * 9; ++i) argb.push_back(0xFF000000u | std::uint32_t(i * 0x020301));
  Bitmap32 plain, interlaced;
  ASSERT_EQ(LoadPng(&plain, Write("plain.png", fixtures::MakePngRgba(11, 9, argb, false)).c_str()), 0);
  ASSERT_EQ(LoadPng(&interlaced, Write("inter.png", fixtures::MakePngRgba(11, 9, argb, true)).c_str()), 0);
  ASSERT_EQ(interlaced.Height(), 9);
  EXPECT_TRUE(std::equal(plain.Pixels(), plain.Pixels() + 99, interlaced.Pixels()));
  // The file's first row is the top of the picture: the last memory row.
  EXPECT_EQ(plain.Pixels()[8 * 11], argb[0] & 0x00FFFFFFu);
}

TEST_F(ImageImportTest, PngFailuresLeaveTheBitmap) {
  std::vector<std::uint8_t> png = fixtures::MakePngRgba(4, 4, std::vector<std::uint32_t>(16, 0xFF00FF00u), false);
  std::vector<std::uint8_t> truncated(png.begin(), png.begin() + std::ptrdiff_t(png.size() / 2));
  std::vector<std::uint8_t> huge = png;
  huge[16] = 0x00, huge[17] = 0x01, huge[18] = 0x00, huge[19] = 0x00;  // 65536 wide
  for (const auto& bytes : {truncated, huge, std::vector<std::uint8_t>{'x'}}) {
    Bitmap32 bitmap;
    bitmap.CreateFilled(1, 1, 0x12345678u);
    EXPECT_EQ(LoadImage32(&bitmap, Write("bad.png", bytes).c_str()), kPngFailedResult);
    EXPECT_EQ(bitmap.Pixels()[0], 0x12345678u);
    int width = 5, height = 5;
    EXPECT_EQ(GetPngSize(files.back().c_str(), width, height), kPngFailedResult);
    EXPECT_EQ(width, 0);
  }
  Bitmap32 bitmap;
  EXPECT_EQ(LoadPng(&bitmap, "bw_import_missing.png"), kPngFailedResult);
}

TEST_F(ImageImportTest, OtherFormatsThroughTheImporter) {
  const std::string path = Write("thumb.qgt", Gif(3, 2, 0x336699));
  Bitmap32 bitmap;
  ASSERT_EQ(LoadImage32(&bitmap, path.c_str()), 0);
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(bitmap.Pixels()[i], 0x336699u);
  RECT rect{0, 0, 0, 0};
  EXPECT_EQ(GetImageSize(path.c_str(), &rect), 1);
  EXPECT_EQ(rect.right, 3);
  EXPECT_EQ(rect.bottom, 2);
  EXPECT_EQ(GetImageSize(nullptr, &rect), 0);
  EXPECT_EQ(GetImageSize(path.c_str(), nullptr), 0);
}

TEST_F(ImageImportTest, ImporterAnswersThatAreNotPicturesAreErrors) {
  const std::string path = Write("pic.gif", Gif(3, 2, 0x336699));
  struct Case {
    long depth, width, height;
    HRESULT expected;
  } cases[] = {
      {24, 0, 0, kImportDepthNotSupportedResult},  // never success with the bitmap untouched
      {8, 0, 0, kImportDepthNotSupportedResult},
      {32, 100000, 100000, kOutOfMemoryResult},    // refused before allocating
      {32, -3, 2, kOutOfMemoryResult},
  };
  for (const Case& c : cases) {
    g_fake.depth = c.depth;
    g_fake.claimedWidth = c.width;
    g_fake.claimedHeight = c.height;
    Bitmap32 bitmap;
    bitmap.CreateFilled(1, 1, 0x12345678u);
    EXPECT_EQ(LoadImage32(&bitmap, path.c_str()), c.expected) << c.depth;
    EXPECT_EQ(bitmap.Width(), 1);
    EXPECT_EQ(bitmap.Pixels()[0], 0x12345678u);
  }
}

TEST_F(ImageImportTest, MissingImporter) {
  g_fake.missing = true;
  Bitmap32 bitmap;
  EXPECT_EQ(LoadImage32(&bitmap, Write("a.gif", Gif(1, 1, 0)).c_str()), kImporterNotRegisteredResult);
  ReportingServices services;
  BitmapServices* before = SetBitmapServices(&services);
  EXPECT_EQ(CheckImporterAvailable(), 0);
  SetBitmapServices(before);
  ASSERT_EQ(services.errors.size(), 1u);
  EXPECT_EQ(services.errors[0].first, kImporterProblemMessage);
  EXPECT_EQ(services.errors[0].second, "Imgrex");
  g_fake.missing = false;
  EXPECT_EQ(CheckImporterAvailable(), 1);
}

TEST_F(ImageImportTest, NavBarPreviewFromItsThumbnails) {
  // States 4 x 3, 5 x 3, 6 x 3 and caps 2 x 3 in distinct colours.
  const std::uint32_t a = 0x0000A0, b = 0x0000B0, c = 0x0000C0, left = 0x00000E, right = 0x00000F;
  const auto columnColour = [](const Bitmap32& bar, int x) { return bar.Pixels()[x]; };
  for (bool oldNames : {false, true}) {
    Write(oldNames ? "bar_off.qgt" : "bar#1.qgt", Gif(4, 3, a));
    Write(oldNames ? "bar_over.qgt" : "bar#2.qgt", Gif(5, 3, b));
    Write(oldNames ? "bar_on.qgt" : "bar#3.qgt", Gif(6, 3, c));
    Write("bar_left.qgt", Gif(2, 3, left));
    Write("bar_right.qgt", Gif(2, 3, right));
    std::unique_ptr<Bitmap32> bar(ComposeNavBarPreview("bw_import_", "bar  |0|x"));
    ASSERT_TRUE(bar) << oldNames;
    ASSERT_EQ(bar->Width(), 2 + 4 + 5 + 6 + 2);
    ASSERT_EQ(bar->Height(), 3);
    const std::uint32_t expected[] = {left, left, a, a, a, a, b, b, b, b, b, c, c, c, c, c, c, right, right};
    for (int x = 0; x < 19; ++x) EXPECT_EQ(columnColour(*bar, x), expected[x]) << x;
    for (const std::string& f : files) std::remove(f.c_str());
    files.clear();
  }

  // Vertical (flag 0x400): stacked from the top, top cap first; missing parts take no room.
  Write("vbar#1.qgt", Gif(4, 2, a));
  Write("vbar#2.qgt", Gif(4, 3, b));
  Write("vbar_top.qgt", Gif(4, 1, left));
  std::unique_ptr<Bitmap32> bar(ComposeNavBarPreview("bw_import_", "vbar|1024|"));
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->Width(), 4);
  ASSERT_EQ(bar->Height(), 1 + 2 + 3);
  const std::uint32_t fromBottom[] = {b, b, b, a, a, left};
  for (int y = 0; y < 6; ++y) EXPECT_EQ(bar->Pixels()[y * 4], fromBottom[y]) << y;

  EXPECT_EQ(ComposeNavBarPreview("bw_import_", "nothing|0|"), nullptr);  // no first state
  EXPECT_EQ(ComposeNavBarPreview("bw_import_", ""), nullptr);
}

}  // namespace
