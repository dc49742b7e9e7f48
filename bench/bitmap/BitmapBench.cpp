// Speed, file size and fidelity of the image writers beside peer libraries, all in this process
// and single-threaded, on the same pixels:
// - GIF, 256/64/16 colours with error diffusion: our quantiser and writer beside ImageMagick's
//   MagickCore (QuantizeImage with Floyd-Steinberg, then its GIF coder);
// - LZW alone: our GIF coder beside giflib's EGifPutLine on the same palette indices (the
//   outputs are decoded and compared index by index);
// - PNG, 8 bits, 256 colours with diffusion: ours beside libimagequant (quantise and remap)
//   with libpng writing the palette image;
// - JPEG at quality 75: ours beside MagickCore's JPEG coder.
// Inputs are made here: a button-sized graphic (flat shapes with antialiased edges and a
// gradient, 120 x 36) and a photo-like picture of 1024 x 1024 (smooth fields and noise), both
// opaque. Contestants run in turns on processor time. Every output file is read back and its
// PSNR against the input printed with its size; ratios > 1 mean we are slower or larger.
#include "bitmap/GifImageExporter.h"
#include "bitmap/JpegImageExporter.h"
#include "bitmap/PngImageExporter.h"
#include "bitmap/TessroContextConversion.h"
#include "raster/Tessro.h"

#include "BenchTiming.h"

#include <gif_lib.h>
#include <libimagequant.h>
#include <magick/MagickCore.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Picture {
    std::string name;
    int width, height;
    std::vector<std::uint32_t> pixels;  // bottom-up, 0x00RRGGBB, as the writers take them
    std::vector<std::uint32_t> topDown;  // the same rows top-down, for the peers and the checks
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t) {
    std::uint32_t out = 0;
    for (int s = 0; s < 24; s += 8) {
        const double v = ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
        out |= std::uint32_t(std::lround(v)) << s;
    }
    return out;
}

void Finish(Picture& p) {
    p.topDown.resize(p.pixels.size());
    for (int y = 0; y < p.height; ++y) {
        std::memcpy(&p.topDown[std::size_t(y) * p.width], &p.pixels[std::size_t(p.height - 1 - y) * p.width],
                    std::size_t(p.width) * 4);
    }
}

Picture Button() {
    Picture p{"button", 120, 36, {}, {}};
    p.pixels.resize(std::size_t(p.width) * p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            // A rounded bar with a vertical gradient, a darker rim and a light "label" stripe,
            // on white.
            const double dx = std::max(0.0, std::abs(x - 59.5) - 42.0), dy = std::abs(y - 17.5);
            const double d = std::sqrt(dx * dx + dy * dy) - 15.0;
            std::uint32_t c = Mix(0x3060C0, 0x102050, double(y) / p.height);
            if (d > -2) c = Mix(c, 0x081020, 0.6);
            if (y > 14 && y < 22 && x > 30 && x < 90 && (x / 3) % 4 != 0) c = Mix(c, 0xF0F0F0, 0.85);
            const double coverage = std::clamp(0.5 - d, 0.0, 1.0);
            p.pixels[std::size_t(y) * p.width + x] = Mix(0xFFFFFF, c, coverage);
        }
    Finish(p);
    return p;
}

Picture Photo() {
    Picture p{"photo", 1024, 1024, {}, {}};
    p.pixels.resize(std::size_t(p.width) * p.height);
    std::uint32_t noise = 12345;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const double u = double(x) / p.width, v = double(y) / p.height;
            const double r = 128 + 100 * std::sin(6 * u + 2 * v) + 20 * std::sin(40 * u * v);
            const double g = 120 + 90 * std::cos(5 * v - 3 * u) + 15 * std::sin(31 * u);
            const double b = 110 + 80 * std::sin(9 * u * u + 4 * v);
            const int n = int((noise >> 24) % 13) - 6;
            auto clamp = [](double c) { return std::uint32_t(std::clamp(c, 0.0, 255.0)); };
            p.pixels[std::size_t(y) * p.width + x] = (clamp(r + n) << 16) | (clamp(g + n) << 8) | clamp(b + n);
        }
    Finish(p);
    return p;
}

long FileSize(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    return size;
}

// ---- ours ----
struct Ours {
    TessroConversion* conversion;
    bool Write(ImageExporter& writer, const Picture& p, const std::string& path) {
        writer.SetTessroContext(conversion);
        if (writer.Open(path.c_str()) != 0) return false;
        BITMAP image{0, p.width, p.height, p.width * 4, 1, 32, const_cast<std::uint32_t*>(p.pixels.data())};
        if (writer.WriteImage(&image) != 0) {
            writer.Abort();
            return false;
        }
        return writer.Close() == 0;
    }
    bool Gif(const Picture& p, const std::string& path, int colours) {
        GifImageExporter writer;
        writer.SetBitDepth(8);
        writer.SetPaletteSize(colours);
        writer.SetDitherMode(2);
        return Write(writer, p, path);
    }
    bool Png(const Picture& p, const std::string& path) {
        PngImageExporter writer;
        writer.SetBitDepth(8);
        writer.SetPaletteSize(256);
        writer.SetDitherMode(2);
        return Write(writer, p, path);
    }
    bool Jpeg(const Picture& p, const std::string& path) {
        JpegImageExporter writer;
        writer.SetQuality(75);
        return Write(writer, p, path);
    }
};

// Our GIF coder alone, on palette indices already made.
struct LzwWriter : GifImageExporter {
    bool Write(const std::string& path, const std::vector<BYTE>& bottomUp, int width, int height,
               const LOGPALETTE* palette) {
        if (Open(path.c_str()) != 0) return false;
        try {
            const BYTE header[13] = {'G', 'I', 'F', '8', '7', 'a', BYTE(width & 0xFF), BYTE(width >> 8),
                                     BYTE(height & 0xFF), BYTE(height >> 8), 0xF7, 0, 0};
            WriteBytes(header, sizeof header);
            WriteColourTable(palette, 8);
            WriteByte(0x2C);
            WriteWord(0);
            WriteWord(0);
            WriteWord(width);
            WriteWord(height);
            WriteByte(0);
            WriteImageData(CodeArea{bottomUp.data(), width, RECT{0, 0, width, height}}, 8, false);
            WriteByte(0x3B);
        } catch (...) {
            Abort();
            return false;
        }
        return Close() == 0;
    }
};

// ---- ImageMagick ----
struct Magick {
    ExceptionInfo* exception = AcquireExceptionInfo();
    ~Magick() { DestroyExceptionInfo(exception); }
    Image* Make(const Picture& p) {
        return ConstituteImage(p.width, p.height, "BGRP", CharPixel, p.topDown.data(), exception);
    }
    bool Write(Image* image, const std::string& path, int quality = 0) {
        ImageInfo* info = CloneImageInfo(nullptr);
        if (quality) info->quality = quality;
        std::snprintf(image->filename, sizeof image->filename, "%s", path.c_str());
        std::snprintf(info->filename, sizeof info->filename, "%s", path.c_str());
        const bool ok = WriteImage(info, image) == MagickTrue;
        DestroyImageInfo(info);
        return ok;
    }
    bool Gif(Image* source, const std::string& path, int colours) {
        Image* image = CloneImage(source, 0, 0, MagickTrue, exception);
        QuantizeInfo quantize;
        GetQuantizeInfo(&quantize);
        quantize.number_colors = colours;
        quantize.dither = MagickTrue;
        quantize.dither_method = FloydSteinbergDitherMethod;
        bool ok = QuantizeImage(&quantize, image) == MagickTrue && Write(image, "gif:" + path);
        DestroyImage(image);
        return ok;
    }
    bool Jpeg(Image* source, const std::string& path) {
        Image* image = CloneImage(source, 0, 0, MagickTrue, exception);
        const bool ok = Write(image, "jpeg:" + path, 75);
        DestroyImage(image);
        return ok;
    }
    // Reads any file back as top-down 0x00RRGGBB pixels; empty when it cannot.
    std::vector<std::uint32_t> Read(const std::string& path, int width, int height) {
        ImageInfo* info = CloneImageInfo(nullptr);
        std::snprintf(info->filename, sizeof info->filename, "%s", path.c_str());
        Image* image = ReadImage(info, exception);
        DestroyImageInfo(info);
        std::vector<std::uint32_t> out;
        if (image && int(image->columns) == width && int(image->rows) == height) {
            out.resize(std::size_t(width) * height);
            ExportImagePixels(image, 0, 0, width, height, "BGRP", CharPixel, out.data(), exception);
            for (std::uint32_t& v : out) v &= 0xFFFFFF;
        }
        if (image) DestroyImage(image);
        return out;
    }
};

// ---- libimagequant with libpng ----
bool QuantisedPng(const Picture& p, const std::vector<BYTE>& rgba, const std::string& path) {
    liq_attr* attr = liq_attr_create();
    liq_set_max_colors(attr, 256);
    liq_image* image = liq_image_create_rgba(attr, rgba.data(), p.width, p.height, 0);
    liq_result* result = nullptr;
    bool ok = liq_image_quantize(image, attr, &result) == LIQ_OK;
    if (ok) {
        liq_set_dithering_level(result, 1.0f);
        std::vector<BYTE> indices(std::size_t(p.width) * p.height);
        ok = liq_write_remapped_image(result, image, indices.data(), indices.size()) == LIQ_OK;
        const liq_palette* palette = liq_get_palette(result);
        BYTE colourMap[256 * 3];
        for (unsigned i = 0; i < palette->count; ++i) {
            colourMap[3 * i] = palette->entries[i].r;
            colourMap[3 * i + 1] = palette->entries[i].g;
            colourMap[3 * i + 2] = palette->entries[i].b;
        }
        png_image png{};
        png.version = PNG_IMAGE_VERSION;
        png.width = p.width;
        png.height = p.height;
        png.format = PNG_FORMAT_RGB_COLORMAP;
        png.colormap_entries = palette->count;
        ok = ok && png_image_write_to_file(&png, path.c_str(), 0, indices.data(), 0, colourMap) != 0;
        liq_result_destroy(result);
    }
    liq_image_destroy(image);
    liq_attr_destroy(attr);
    return ok;
}

// ---- giflib ----
bool GiflibWrite(const std::string& path, const std::vector<BYTE>& topDown, int width, int height,
                 const std::vector<GifColorType>& colours) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) return false;
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y) {
        ok = EGifPutLine(gif, const_cast<GifPixelType*>(&topDown[std::size_t(y) * width]), width) == GIF_OK;
    }
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

// The indices of a one-image GIF, top-down; empty when it cannot be read.
std::vector<BYTE> GifIndices(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    std::vector<BYTE> out;
    if (!gif) return out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage& image = gif->SavedImages[0];
        out.assign(image.RasterBits, image.RasterBits + std::size_t(image.ImageDesc.Width) * image.ImageDesc.Height);
    }
    DGifCloseFile(gif, &error);
    return out;
}

void Row(const std::string& what, const bench::Stats& ours, long ourSize, double ourPsnr, const std::string& peer,
         const bench::Stats& theirs, long theirSize, double theirPsnr) {
    std::printf("  %-30s ours %24s ms %8ld B %5.1f dB   %-16s %26s ms %8ld B %5.1f dB   time x%.2f  size x%.2f\n",
                what.c_str(), bench::Format(ours, 1e-3).c_str(), ourSize, ourPsnr, peer.c_str(),
                bench::Format(theirs, 1e-3).c_str(), theirSize, theirPsnr, bench::Ratio(ours, theirs),
                theirSize > 0 ? double(ourSize) / double(theirSize) : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef BW_BENCH_SANITIZED
    std::printf("built with the sanitizers: these times measure them (use the bench preset)\n");
#endif
    MagickCoreGenesis(argv[0], MagickFalse);
    // One thread for ImageMagick, as for every other contestant.
    SetMagickResourceLimit(ThreadResource, 1);
    Magick magick;
    CTessro tessro(CTessro::kAppStackAllowance);
    TessroContextConversion conversion(tessro.GetContext());
    Ours ours{&conversion};
    const std::string dir = "bw_bench_out";
    std::system(("mkdir -p " + dir).c_str());
    bool failed = false;
    auto psnr = [&](const Picture& p, const std::string& path) {
        const std::vector<std::uint32_t> back = magick.Read(path, p.width, p.height);
        if (back.empty()) {
            failed = true;
            return 0.0;
        }
        return bench::Psnr(back.data(), p.topDown.data(), back.size());
    };
    std::printf("times: median [fastest-slowest round] of processor time; PSNR of the file read back\n");

    for (const Picture& p : {Button(), Photo()}) {
        const bool small = p.width < 400;
        bench::Options options;
        options.rounds = small ? 9 : 5;
        std::printf("%s %dx%d\n", p.name.c_str(), p.width, p.height);
        Image* image = magick.Make(p);
        const std::string base = dir + "/" + p.name;
        for (int colours : {256, 64, 16}) {
            const std::string mine = base + "_ours" + std::to_string(colours) + ".gif";
            const std::string theirs = base + "_im" + std::to_string(colours) + ".gif";
            const auto t = bench::Interleaved({[&] { failed |= !ours.Gif(p, mine, colours); },
                                               [&] { failed |= !magick.Gif(image, theirs, colours); }},
                                              options);
            Row("GIF " + std::to_string(colours) + " colours, diffusion", t[0], FileSize(mine), psnr(p, mine),
                "ImageMagick", t[1], FileSize(theirs), psnr(p, theirs));
        }
        {
            // Coder alone: a 3-3-2 palette and the same indices on both sides.
            std::vector<BYTE> topDown(p.topDown.size()), bottomUp(p.pixels.size());
            auto index = [](std::uint32_t c) {
                return BYTE((((c >> 16) & 0xFF) >> 5) << 5 | (((c >> 8) & 0xFF) >> 5) << 2 | ((c & 0xFF) >> 6));
            };
            for (std::size_t i = 0; i < topDown.size(); ++i) topDown[i] = index(p.topDown[i]);
            for (std::size_t i = 0; i < bottomUp.size(); ++i) bottomUp[i] = index(p.pixels[i]);
            std::vector<BYTE> paletteStorage(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
            LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(paletteStorage.data());
            palette->palVersion = 0x300;
            palette->palNumEntries = 256;
            std::vector<GifColorType> colours(256);
            for (int i = 0; i < 256; ++i) {
                const BYTE r = BYTE((i >> 5) * 255 / 7), g = BYTE(((i >> 2) & 7) * 255 / 7), b = BYTE((i & 3) * 255 / 3);
                palette->palPalEntry[i] = PALETTEENTRY{r, g, b, 0};
                colours[i] = GifColorType{r, g, b};
            }
            const std::string mine = base + "_lzw_ours.gif", theirs = base + "_lzw_giflib.gif";
            const auto t = bench::Interleaved(
                {[&] {
                     LzwWriter writer;
                     failed |= !writer.Write(mine, bottomUp, p.width, p.height, palette);
                 },
                 [&] { failed |= !GiflibWrite(theirs, topDown, p.width, p.height, colours); }},
                options);
            const bool same = GifIndices(mine) == topDown && GifIndices(theirs) == topDown;
            failed |= !same;
            std::printf("  %-30s ours %24s ms %8ld B   %-16s %26s ms %8ld B   time x%.2f  size x%.2f  %s\n",
                        "LZW, same indices", bench::Format(t[0], 1e-3).c_str(), FileSize(mine), "giflib",
                        bench::Format(t[1], 1e-3).c_str(), FileSize(theirs), bench::Ratio(t[0], t[1]),
                        double(FileSize(mine)) / double(FileSize(theirs)), same ? "indices equal" : "INDICES DIFFER");
        }
        {
            std::vector<BYTE> rgba(p.topDown.size() * 4);
            for (std::size_t i = 0; i < p.topDown.size(); ++i) {
                rgba[4 * i] = BYTE(p.topDown[i] >> 16);
                rgba[4 * i + 1] = BYTE(p.topDown[i] >> 8);
                rgba[4 * i + 2] = BYTE(p.topDown[i]);
                rgba[4 * i + 3] = 255;
            }
            const std::string mine = base + "_ours.png", theirs = base + "_liq.png";
            const auto t = bench::Interleaved({[&] { failed |= !ours.Png(p, mine); },
                                               [&] { failed |= !QuantisedPng(p, rgba, theirs); }},
                                              options);
            Row("PNG 8-bit 256 colours", t[0], FileSize(mine), psnr(p, mine), "libimagequant", t[1],
                FileSize(theirs), psnr(p, theirs));
        }
        {
            const std::string mine = base + "_ours.jpg", theirs = base + "_im.jpg";
            const auto t = bench::Interleaved(
                {[&] { failed |= !ours.Jpeg(p, mine); }, [&] { failed |= !magick.Jpeg(image, theirs); }}, options);
            Row("JPEG quality 75", t[0], FileSize(mine), psnr(p, mine), "ImageMagick", t[1], FileSize(theirs),
                psnr(p, theirs));
        }
        DestroyImage(image);
    }
    MagickCoreTerminus();
    if (failed) std::printf("a writer failed or an output could not be read back\n");
    return failed ? 1 : 0;
}
