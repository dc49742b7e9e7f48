// Pictures for bitmap fills: PNG through libpng's simplified reader, JPEG through libjpeg with
// its errors caught by setjmp in a C-style frame (no C++ object lives across the jump).
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <png.h>
#include <jpeglib.h>

#include "components/stylekit/StyleDraw.h"

namespace stylekit {

namespace {

// Pictures larger than this are not textures anyone means; refuse them instead of allocating.
const long kMaxPictureSide = 4096;

bool LoadPng(const std::string& path, Picture* picture)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    if (image.width == 0 || image.height == 0 || image.width > kMaxPictureSide ||
        image.height > kMaxPictureSide) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;  // little-endian words 0xAARRGGBB
    picture->width = static_cast<int>(image.width);
    picture->height = static_cast<int>(image.height);
    picture->pixels.assign(static_cast<size_t>(image.width) * image.height, 0);
    if (!png_image_finish_read(&image, nullptr, picture->pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        picture->pixels.clear();
        return false;
    }
    return true;
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JpegFail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Decodes into 'rgb' (3 bytes a pixel), which the caller sized by a first call with rgb null.
int DecodeJpeg(std::FILE* file, unsigned char* rgb, size_t capacity, long* width, long* height)
{
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegFail;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return 0;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    *width = static_cast<long>(info.image_width);
    *height = static_cast<long>(info.image_height);
    if (!rgb || *width <= 0 || *height <= 0 || *width > kMaxPictureSide || *height > kMaxPictureSide ||
        capacity < static_cast<size_t>(*width) * *height * 3) {
        jpeg_destroy_decompress(&info);
        return rgb ? 0 : 1;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rgb + static_cast<size_t>(info.output_scanline) * *width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return 1;
}

bool LoadJpeg(const std::string& path, Picture* picture)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    long width = 0, height = 0;
    bool ok = DecodeJpeg(file, nullptr, 0, &width, &height) && width > 0 && height > 0 &&
              width <= kMaxPictureSide && height <= kMaxPictureSide;
    std::vector<unsigned char> rgb;
    if (ok) {
        rgb.resize(static_cast<size_t>(width) * height * 3);
        std::rewind(file);
        ok = DecodeJpeg(file, rgb.data(), rgb.size(), &width, &height) != 0;
    }
    std::fclose(file);
    if (!ok)
        return false;
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->pixels.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < picture->pixels.size(); ++i)
        picture->pixels[i] = 0xFF000000u | (static_cast<std::uint32_t>(rgb[i * 3]) << 16) |
                             (static_cast<std::uint32_t>(rgb[i * 3 + 1]) << 8) | rgb[i * 3 + 2];
    return true;
}

}  // namespace

bool LoadPicture(const std::string& path, Picture* picture)
{
    *picture = Picture();
    unsigned char magic[4] = {0, 0, 0, 0};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    const size_t got = std::fread(magic, 1, sizeof magic, file);
    std::fclose(file);
    if (got >= 4 && magic[0] == 0x89 && magic[1] == 'P' && magic[2] == 'N' && magic[3] == 'G')
        return LoadPng(path, picture);
    if (got >= 2 && magic[0] == 0xFF && magic[1] == 0xD8)
        return LoadJpeg(path, picture);
    return false;
}

}  // namespace stylekit
