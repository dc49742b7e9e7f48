#include "bitmap/ImageLibraryWrappers.h"
#include "bitmap/JpegImageExporter.h"
#include "bitmap/PngImageExporter.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <functional>

namespace {

struct DecodedPng {
  int width = 0, height = 0, bitDepth = 0, colourType = -1;
  std::vector<png_color> palette;
  std::vector<std::uint8_t> transparency;
  std::vector<std::uint32_t> rgba;  // 0xAARRGGBB, rows from the top
};

// Reads a PNG with libpng (expanded to RGBA); false when libpng refuses it.
bool ReadPng(const std::string& path, DecodedPng& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> pixels(std::size_t(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return false;
  out.width = int(image.width);
  out.height = int(image.height);
  out.rgba = pixels;
  // The chunks themselves, through the classic interface.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  out.bitDepth = png_get_bit_depth(png, info);
  out.colourType = png_get_color_type(png, info);
  png_colorp plte = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &plte, &count)) out.palette.assign(plte, plte + count);
  png_bytep trans = nullptr;
  int transCount = 0;
  if (png_get_tRNS(png, info, &trans, &transCount, nullptr)) out.transparency.assign(trans, trans + transCount);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return true;
}

int WritePng(const std::string& path, std::vector<std::uint32_t> pixels, int width, int height,
             const std::function<void(PngImageExporter&)>& configure) {
  ReferenceConversion conversion;
  PngImageExporter writer;
  writer.SetTessroContext(&conversion);
  configure(writer);
  if (writer.Open(path.c_str()) != 0) return -1;
  BITMAP image = ImageOf(pixels, width, height);
  const int result = writer.WriteImage(&image);
  const int closed = writer.Close();
  return result ? result : closed;
}

TEST(PngWriter, TransparentPaletteHasTrnsWithTheReservedEntryClear) {
  std::vector<std::uint32_t> pixels = PatternPicture(16, 8, 12, 2);
  pixels[3] = 0xFF000000u;
  TempPath file("palette.png");
  ASSERT_EQ(0, WritePng(file.path, pixels, 16, 8, [](PngImageExporter& w) {
    w.SetBitDepth(8);
    w.EnableTransparency();
  }));
  DecodedPng png;
  ASSERT_TRUE(ReadPng(file.path, png));
  EXPECT_EQ(PNG_COLOR_TYPE_PALETTE, png.colourType);
  ASSERT_EQ(13u, png.palette.size());
  ASSERT_EQ(13u, png.transparency.size());
  EXPECT_EQ(0, png.transparency[12]);
  EXPECT_EQ(255, png.transparency[0]);
  for (int row = 0; row < 8; ++row)
    for (int x = 0; x < 16; ++x) {
      const std::uint32_t s = pixels[std::size_t(7 - row) * 16 + x];
      const std::uint32_t got = png.rgba[std::size_t(row) * 16 + x];
      if ((s >> 24) == 255) {
        EXPECT_EQ(0u, got >> 24);
      } else {
        EXPECT_EQ(0xFF000000u | s, got);
      }
    }
}

TEST(PngWriter, TrueColourLayouts) {
  std::vector<std::uint32_t> pixels = {0x00102030, 0x00405060, 0x80708090, 0xFFA0B0C0};
  struct Case { int bits; bool transparent; int colourType; };
  for (const Case c : {Case{32, false, PNG_COLOR_TYPE_RGB}, Case{24, false, PNG_COLOR_TYPE_RGB},
                       Case{32, true, PNG_COLOR_TYPE_RGB_ALPHA}}) {
    TempPath file("truecolour.png");
    ASSERT_EQ(0, WritePng(file.path, pixels, 2, 2, [&](PngImageExporter& w) {
      w.SetBitDepth(c.bits);
      if (c.transparent) w.EnableTransparency();
      w.interlace = true;
    }));
    DecodedPng png;
    ASSERT_TRUE(ReadPng(file.path, png));
    EXPECT_EQ(c.colourType, png.colourType);
    // Rows from the top: memory row 1 first. With alpha, the fourth byte is taken as it is.
    const std::uint32_t alpha2 = c.transparent ? 0x80000000u : 0xFF000000u;
    EXPECT_EQ(alpha2 | 0x708090u, png.rgba[0]);
    if (!c.transparent) {
      EXPECT_EQ(0xFF102030u, png.rgba[2]);
    }
  }
}

TEST(PngWriter, SettersAndArguments) {
  PngImageExporter writer;
  EXPECT_EQ(ImageExporter::kOutOfRange, writer.SetBitDepth(16));
  std::vector<std::uint32_t> pixels = {0};
  BITMAP image = ImageOf(pixels, 1, 1);
  EXPECT_EQ(ImageExporter::kFileNotOpen, writer.WriteImage(&image));
  TempPath file("args.png");
  ASSERT_EQ(0, writer.Open(file.path.c_str()));
  ASSERT_EQ(0, writer.SetBitDepth(8));
  EXPECT_EQ(ImageExporter::kBadArgument, writer.WriteImageWithPalette(&image, nullptr));
  writer.Close();
  EXPECT_FALSE(file.Exists());
}

bool ReadJpeg(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgb, bool& progressive) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  progressive = jpeg_has_multiple_scans(&cinfo);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  width = int(cinfo.output_width);
  height = int(cinfo.output_height);
  rgb.resize(std::size_t(width) * height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rgb.data() + std::size_t(cinfo.output_scanline) * width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(file);
  return true;
}

TEST(JpegWriter, WritesTopRowFirstInBothModes) {
  // Top half red, bottom half blue (memory rows bottom-up).
  std::vector<std::uint32_t> pixels(32 * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) pixels[std::size_t(y) * 32 + x] = y < 16 ? 0x000000FF : 0x00FF0000;
  for (bool progressive : {false, true}) {
    TempPath file("picture.jpg");
    JpegImageExporter writer;
    writer.progressive = progressive;
    writer.SetQuality(90);
    ASSERT_EQ(0, writer.Open(file.path.c_str()));
    BITMAP image = ImageOf(pixels, 32, 32);
    ASSERT_EQ(0, writer.WriteImage(&image));
    ASSERT_EQ(0, writer.Close());
    int width = 0, height = 0;
    bool multiScan = false;
    std::vector<std::uint8_t> rgb;
    ASSERT_TRUE(ReadJpeg(file.path, width, height, rgb, multiScan));
    EXPECT_EQ(32, width);
    EXPECT_EQ(progressive, multiScan);
    EXPECT_GT(rgb[0], 200);      // top-left red
    EXPECT_LT(rgb[2], 60);
    const std::size_t bottom = (std::size_t(31) * 32) * 3;
    EXPECT_LT(rgb[bottom], 60);  // bottom-left blue
    EXPECT_GT(rgb[bottom + 2], 200);
  }
}

TEST(JpegWriter, OptionsAndErrorMap) {
  JpegImageExporter writer;
  writer.SetQuality(150);
  EXPECT_EQ(100, writer.Quality());
  writer.SetQuality(-5);
  EXPECT_EQ(0, writer.Quality());
  EXPECT_EQ(ImageExporter::kOutOfRange, writer.SetBitDepth(24));
  EXPECT_EQ(ImageExporter::kNotSupported, writer.EnableTransparency());
  TempPath file("eight.jpg");
  ASSERT_EQ(0, writer.Open(file.path.c_str()));
  std::vector<std::uint32_t> pixels = {0};
  BITMAP eightBit{0, 1, 1, 4, 1, 8, pixels.data()};
  EXPECT_EQ(ImageExporter::kBadArgument, writer.WriteImage(&eightBit));
  writer.Close();
  EXPECT_FALSE(file.Exists());

  // A library failure comes back through the error exit as a code, and leaves no file.
  JpegImageExporter tooWide;
  TempPath wide("wide.jpg");
  ASSERT_EQ(0, tooWide.Open(wide.path.c_str()));
  std::vector<std::uint32_t> row(70000, 0x00FFFFFF);
  BITMAP wideImage = ImageOf(row, 70000, 1);
  EXPECT_EQ(ImageExporter::kOutOfRange, tooWide.WriteImage(&wideImage));  // JERR_IMAGE_TOO_BIG
  tooWide.Close();
  EXPECT_FALSE(wide.Exists());

  struct Case { int message, code; };
  for (const Case c : {Case{JERR_OUT_OF_MEMORY, 9}, Case{JERR_FILE_WRITE, 2}, Case{JERR_NOTIMPL, 12},
                       Case{JERR_BAD_IN_COLORSPACE, 3}, Case{JTRC_JFIF, 0}, Case{99999, 2}})
    EXPECT_EQ(c.code, MapJpegMessage(c.message)) << c.message;
}

}  // namespace
