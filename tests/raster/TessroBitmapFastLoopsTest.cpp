// The specialised bitmap loops (upright rows, carried tile phases, four-channel blending) must
// draw exactly what the general loops draw: every source format, tile style and a table of
// mappings, nearest and smoothed, fills and masks, compared pixel for pixel.
#include <cstdint>
#include <vector>

#include "raster/TessroBitmapSpans.h"
#include "tests/raster/TessroBitmapSupport.h"

namespace {

// An odd width: the loops that take pixels in pairs end on a single one.
const int kTargetWidth = 41, kTargetHeight = 24;
const int kSourceWidth = 13, kSourceHeight = 11;

// Anchors in device pixels: origin, end of the first row, end of the first column; a fourth
// corner for the four-point setters.
struct Mapping {
    const char* name;
    double x0, y0, x1, y1, x2, y2;
    bool fourPoint;
    double x3, y3;
};

const Mapping kMappings[] = {
    {"one texel per pixel", 3, 2, 16, 2, 3, 13, false, 0, 0},
    {"enlarged four times", -5.25, -3.5, 46.75, -3.5, -5.25, 40.5, false, 0, 0},
    // Pixel centres on texel edges: coordinates land exactly on the period.
    {"enlarged twice on texel edges", 0.5, 0.5, 26.5, 0.5, 0.5, 22.5, false, 0, 0},
    {"reduced", 0.3, 0.6, 5.3, 0.6, 0.3, 4.1, false, 0, 0},
    {"mirrored across", 30.5, 1, 2.5, 1, 30.5, 20, false, 0, 0},
    {"upside down", 1, 22, 27, 22, 1, 0.5, false, 0, 0},
    {"rotated", 20, -4, 33, 9, 7, 9, false, 0, 0},
    {"sheared", 2, 2, 20, 2.4, 4, 15, false, 0, 0},
    // A source squeezed into a sliver: the coordinates along a row run beyond the 64-bit
    // range, where only the general loops' arithmetic is defined.
    {"squeezed", 5, 1, 5.0000153, 1, 5, 30, false, 0, 0},
    {"row-affine", 2, 1, 30, 1, 36, 22, true, -4, 22},
    {"perspective", 2, 1, 30, 3, 34, 20, true, 0, 23},
};

struct Format {
    const char* name;
    WORD bits;
    DWORD compression;
    bool tables;  // channel tables: the readers that translate
    DWORD style;  // transparency bits of the fill style
};

const DWORD kOwnTransparency = 0x40u << 8;  // the source's fourth byte is its transparency

const Format kFormats[] = {
    {"32 bits", 32, 0, false, 0},
    {"32 bits, own transparency", 32, 0, false, kOwnTransparency},
    {"32 bits, tables", 32, 0, true, 0},
    {"subtractive", 32, 0x80000000u, false, 0},
    {"24 bits", 24, 0, false, 0},
    {"24 bits, tables", 24, 0, true, 0},
    {"16 bits", 16, 0, false, 0},
    {"8-bit palette", 8, 0, false, 0},
    {"8-bit palette, own transparency", 8, 0, false, kOwnTransparency},
    {"4-bit palette", 4, 0, false, 0},
    {"1-bit palette", 1, 0, false, 0},
};

// Deterministic bytes with every bit pattern likely: rows of the source and the palette.
std::uint32_t Next(std::uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
}

class BitmapFastLoopsTest : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        std::uint32_t seed = 7;
        source_.resize(static_cast<size_t>(kSourceWidth) * 4 * kSourceHeight);
        for (BYTE& b : source_) b = static_cast<BYTE>(Next(seed));
        for (RGBQUAD& q : palette_) {
            const std::uint32_t r = Next(seed);
            q = {static_cast<BYTE>(r), static_cast<BYTE>(r >> 8), static_cast<BYTE>(r >> 16), static_cast<BYTE>(r >> 3)};
        }
        for (int i = 0; i < 256; ++i) invert_[i] = static_cast<BYTE>(255 - i);
    }
    void TearDown() override {
        TessroSetFastBitmapLoops(true);
        DrawTest::TearDown();
    }

    // The target after one fill of the whole area, by the fast or the general loops; `set`
    // prepares the fill or mask on the fresh target.
    template <class Set>
    std::vector<BYTE> Draw(bool fast, Set set) {
        TessroSetFastBitmapLoops(fast);
        Target t(kTargetWidth, kTargetHeight, 32);
        for (size_t i = 0; i < t.bytes().size(); ++i) t.bytes()[i] = static_cast<BYTE>(i * 7);
        Attach(t);
        EXPECT_EQ(0, set()) << LastError();
        EXPECT_EQ(0, FillDevice(0, 0, kTargetWidth, kTargetHeight)) << LastError();
        return t.bytes();
    }

    void Anchors(const Mapping& m, TessroPoint (&p)[4]) const {
        p[0] = Device(m.x0, m.y0);
        p[1] = Device(m.x1, m.y1);
        p[2] = Device(m.x2, m.y2);
        p[3] = Device(m.x3, m.y3);
    }

    int SetFill(const Mapping& m, const Format& f, DWORD tile) {
        const BITMAPINFOHEADER h = SourceHeader(kSourceWidth, kSourceHeight, f.bits, f.compression);
        TessroPoint p[4];
        Anchors(m, p);
        const BYTE* red = f.tables ? invert_ : nullptr;
        const RGBQUAD* palette = f.bits <= 8 ? palette_ : nullptr;
        if (m.fourPoint) {
            return TessroSetPerspectiveBitmapFill(ctx, &h, source_.data(), tile | f.style, &p[0], &p[1], &p[2], &p[3], 0x123456,
                                                  palette, red, nullptr, nullptr, nullptr, 0);
        }
        return TessroSetBitmapFill(ctx, &h, source_.data(), tile | f.style, &p[0], &p[1], &p[2], 0x123456, palette, red,
                                   nullptr, nullptr, nullptr, 0);
    }

    int SetMask(const Mapping& m, DWORD tile) {
        const BITMAPINFOHEADER h = SourceHeader(kSourceWidth, kSourceHeight, 8);
        TessroPoint p[4];
        Anchors(m, p);
        const int colour = TessroSetTransparentColour(ctx, 0x2080FF, 7);
        if (colour != 0) return colour;
        if (m.fourPoint) {
            return TessroSetPerspectiveBitmapMask(ctx, &h, source_.data(), tile, &p[0], &p[1], &p[2], &p[3], 77,
                                                  invert_, 0);
        }
        return TessroSetBitmapMask(ctx, &h, source_.data(), tile, &p[0], &p[1], &p[2], 77, invert_, 0);
    }

    std::vector<BYTE> source_;
    RGBQUAD palette_[256];
    BYTE invert_[256];
};

TEST_F(BitmapFastLoopsTest, FastLoopsDrawWhatTheGeneralLoopsDraw) {
    for (int smoothing = 0; smoothing < 2; ++smoothing) {
        ASSERT_EQ(0, TessroSetBitmapFillSmoothing(ctx, smoothing));
        for (DWORD tile = 0; tile < 4; ++tile) {
            for (const Mapping& m : kMappings) {
                for (const Format& f : kFormats) {
                    SCOPED_TRACE(testing::Message() << (smoothing ? "smoothed" : "nearest") << ", tile " << tile
                                                    << ", " << m.name << ", " << f.name);
                    const auto set = [&] { return SetFill(m, f, tile); };
                    const std::vector<BYTE> general = Draw(false, set);
                    ASSERT_EQ(general, Draw(true, set));
                }
                SCOPED_TRACE(testing::Message() << (smoothing ? "smoothed" : "nearest") << " mask, tile " << tile
                                                << ", " << m.name);
                const auto set = [&] { return SetMask(m, tile); };
                const std::vector<BYTE> general = Draw(false, set);
                ASSERT_EQ(general, Draw(true, set));
            }
        }
    }
}

// The four-channel blend of the smoothed loops computes the products the table holds.
TEST(BitmapProductTest, RoundedProductsMatchTheTable) {
    for (int c = 0; c < 256; ++c) {
        for (int d = -255; d <= 255; ++d) {
            const int magnitude = c * (d < 0 ? -d : d) + 128;
            const int rounded = (magnitude + (magnitude >> 8)) >> 8;
            ASSERT_EQ(TessroProduct(c, d), d < 0 ? -rounded : rounded) << c << " " << d;
        }
    }
}

}  // namespace
