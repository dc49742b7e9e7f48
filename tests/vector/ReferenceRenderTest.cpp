// The vector library against an independent SVG renderer (rsvg-convert) on the same files: the
// pictures agree within antialiasing differences. Host only; skipped where the reference
// renderer is not installed.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "components/vector/VectorRenderer.h"

namespace {

const int kWidth = 160, kHeight = 120;

// Shapes, arcs, curves, strokes with caps and joins, gradients, transforms and opacity, without
// text (fonts differ between renderers).
const char* const kDocuments[] = {
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 160 120">
      <rect x="10" y="10" width="60" height="40" rx="10" fill="#3366cc"/>
      <circle cx="110" cy="35" r="25" fill="#cc3333" fill-opacity="0.7"/>
      <ellipse cx="50" cy="90" rx="40" ry="18" fill="#33aa55"/>
      <path d="M100 70 l40 0 a20 20 0 0 1 -20 40 q-30 -5 -20 -40 z" fill="#aa7722"/></svg>)svg",
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 160 120">
      <polyline points="10,100 40,20 70,100 100,20" fill="none" stroke="#224488" stroke-width="8"/>
      <polyline points="110,100 130,30 150,100" fill="none" stroke="#882244" stroke-width="6"
                stroke-linejoin="round" stroke-linecap="round"/>
      <line x1="10" y1="110" x2="150" y2="110" stroke="#000" stroke-width="4" stroke-linecap="square"/>
      <path d="M20 10 C60 -10 100 40 140 10" fill="none" stroke="#008080" stroke-width="3" stroke-linejoin="bevel"/></svg>)svg",
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 160 120">
      <defs>
        <linearGradient id="l" x1="0" y1="0" x2="1" y2="1">
          <stop offset="0" stop-color="#ff8800"/><stop offset="0.5" stop-color="#ffffff"/><stop offset="1" stop-color="#0044ff"/></linearGradient>
        <radialGradient id="r" cx="0.5" cy="0.5" r="0.5" fx="0.3" fy="0.3">
          <stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#aa0066" stop-opacity="0.5"/></radialGradient>
        <linearGradient id="u" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="40" y2="0" spreadMethod="reflect"
                        gradientTransform="rotate(30)">
          <stop offset="0" stop-color="#000000"/><stop offset="1" stop-color="#00ff00"/></linearGradient>
      </defs>
      <rect x="5" y="5" width="70" height="50" fill="url(#l)"/>
      <circle cx="115" cy="35" r="30" fill="url(#r)"/>
      <rect x="5" y="65" width="150" height="50" fill="url(#u)"/></svg>)svg",
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 160 120">
      <g transform="translate(80 60) rotate(20) scale(1.2 0.8)" opacity="0.6">
        <rect x="-40" y="-30" width="80" height="60" fill="#5522aa"/></g>
      <g transform="skewX(20)"><path fill-rule="evenodd" fill="#118811"
        d="M10 10 h50 v50 h-50 z M20 20 h30 v30 h-30 z"/></g>
      <polygon points="120,10 150,60 90,60" fill="#dd4400" stroke="#222" stroke-width="2"/>
      <g opacity="0.5"><circle cx="30" cy="95" r="18" fill="#0000ff"/><circle cx="50" cy="95" r="18" fill="#ff0000"/></g>
      <rect x="90" y="75" width="50" height="35" fill="#ffcc00" stroke="#003366" stroke-width="8" opacity="0.6"/></svg>)svg",
};

bool HaveReference()
{
    return std::system("rsvg-convert --version > /dev/null 2>&1") == 0;
}

bool ReadPng(const std::string& path, std::vector<std::uint8_t>& rgba)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    if (image.width != kWidth || image.height != kHeight) {
        png_image_free(&image);
        return false;
    }
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    return png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
}

TEST(ReferenceRender, AgreesWithAnIndependentRenderer)
{
    if (!HaveReference())
        GTEST_SKIP() << "rsvg-convert is not installed";
    char folder[] = "/tmp/bwvectorXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    int index = 0;
    for (const char* text : kDocuments) {
        SCOPED_TRACE(index);
        const std::string svg = std::string(folder) + "/doc" + std::to_string(index) + ".svg";
        const std::string png = std::string(folder) + "/doc" + std::to_string(index) + ".png";
        ++index;
        std::ofstream(svg) << text;
        const std::string command = "rsvg-convert -w " + std::to_string(kWidth) + " -h " + std::to_string(kHeight) +
                                    " -o " + png + " " + svg;
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::vector<std::uint8_t> reference;
        ASSERT_TRUE(ReadPng(png, reference));

        vector::VectorDocument document;
        ASSERT_TRUE(document.Read(text, std::strlen(text)));
        std::vector<std::uint32_t> pixels(kWidth * kHeight, 0xFFFFFFFF);
        vector::VectorRenderer renderer;
        renderer.Render(document, {pixels.data(), kWidth, kHeight, false},
                        vector::FitArea(document.Bounds(), kWidth, kHeight, true));

        // Compare premultiplied colour, so that the colour of nearly clear pixels does not count.
        long total = 0;
        int far = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const std::uint32_t p = pixels[i];
            const int alpha = 255 - static_cast<int>(p >> 24);
            const int ours[4] = {static_cast<int>((p >> 16) & 0xFF) * alpha / 255,
                                 static_cast<int>((p >> 8) & 0xFF) * alpha / 255,
                                 static_cast<int>(p & 0xFF) * alpha / 255, alpha};
            const std::uint8_t* r = &reference[i * 4];
            const int theirs[4] = {r[0] * r[3] / 255, r[1] * r[3] / 255, r[2] * r[3] / 255, r[3]};
            int worst = 0;
            for (int c = 0; c < 4; ++c) {
                const int d = std::abs(ours[c] - theirs[c]);
                total += d;
                worst = std::max(worst, d);
            }
            if (worst > 48)
                ++far;
        }
        const double mean = static_cast<double>(total) / (kWidth * kHeight * 4);
        EXPECT_LT(mean, 1.0);
        // Only edge pixels may differ much.
        EXPECT_LT(far, kWidth * kHeight / 200);
        if (mean < 1.0 && far < kWidth * kHeight / 200) {
            std::remove(svg.c_str());
            std::remove(png.c_str());
        }
    }
    rmdir(folder);
}

}  // namespace

#endif
