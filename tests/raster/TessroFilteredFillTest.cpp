// Filtered bitmap fills: the tap table for the mapping's scale and the amount, uniform sources
// through every tile style, sharpened edges whose sums pass 32 bits, and pixels against the
// filter sums of their footprints.
#include <algorithm>
#include <cmath>

#include "tests/raster/TessroBitmapSupport.h"

namespace {

class FilteredFillTest : public BitmapDrawTest {
protected:
    void SetUp() override {
        BitmapDrawTest::SetUp();
        ASSERT_EQ(0, TessroSetBitmapFillFiltering(ctx, 1));
    }
};

// Taps per axis follow the scale and the amount; every phase sums to exactly 32768.
TEST_F(FilteredFillTest, TapTableFollowsScaleAndAmount) {
    const struct {
        double scale;  // device pixels per texel
        int amount;
        int taps;
    } cases[] = {{1, 0, 4}, {1, -100, 8}, {2, 0, 4}, {0.02, 0, 100}, {0.5, 0, 8}, {1, 300, 16}};
    std::vector<DWORD> source(16 * 16, 0x00808080);
    const BITMAPINFOHEADER h = SourceHeader(16, 16, 32);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " " << c.amount);
        Target t(4, 4, 32);
        Attach(t);
        ASSERT_EQ(0, TessroSetBitmapFillAmount(ctx, c.amount));
        ASSERT_EQ(0, SetFill(h, source.data(), 0, 0, 0, nullptr, c.scale));
        ASSERT_EQ(0, FillDevice(0, 0, 4, 4)) << LastError();
        const TessroFilterTaps& taps = ctx->draw.filter;
        ASSERT_EQ(c.taps, taps.count);
        for (int p = 0; p < kTessroFilterPhases; ++p) {
            int sum = 0;
            for (int k = 0; k < taps.count; ++k) sum += taps.weights[64 * k + p];
            EXPECT_EQ(32768, sum) << p;
        }
    }
}

// A uniform source gives its colour back, whatever the tile style, scale or amount.
TEST_F(FilteredFillTest, UniformSourceKeepsItsColour) {
    std::vector<DWORD> source(6 * 5, 0x00FF7F01);
    const BITMAPINFOHEADER h = SourceHeader(6, 5, 32);
    for (DWORD tile : {0u, 2u, 3u}) {
        for (int amount : {0, -300, 500}) {
            for (double scale : {1.0, 3.0, 0.4}) {
                SCOPED_TRACE(testing::Message() << tile << " " << amount << " " << scale);
                Target t(12, 10, 32);
                Attach(t);
                ASSERT_EQ(0, TessroSetBitmapFillAmount(ctx, amount));
                ASSERT_EQ(0, SetFill(h, source.data(), tile, 1.3, 0.6, nullptr, scale));
                ASSERT_EQ(0, FillDevice(0, 0, 12, 10)) << LastError();
                for (int y = 0; y < 10; ++y) {
                    for (int x = 0; x < 12; ++x) ASSERT_EQ(0x00FF7F01u, t.Pixel(x, y)) << x << "," << y;
                }
            }
        }
    }
}

// The strongest sharpening of a black and white edge overshoots on both sides and is clamped:
// white stays white and black stays black next to the edge, which sums in 32 bits would wrap.
TEST_F(FilteredFillTest, SharpenedEdgeClampsBothSides) {
    std::vector<DWORD> source(16 * 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 16; ++x) source[16 * y + x] = x < 8 ? 0x00FFFFFF : 0;
    }
    const BITMAPINFOHEADER h = SourceHeader(16, 2, 32);
    Target t(16, 2, 32);
    Attach(t);
    ASSERT_EQ(0, TessroSetBitmapFillAmount(ctx, 1024));
    ASSERT_EQ(0, SetFill(h, source.data(), 0, 0, 0));
    ASSERT_EQ(0, FillDevice(0, 0, 16, 2)) << LastError();
    for (int x = 0; x < 16; ++x) {
        const DWORD p = t.Pixel(x, 0);
        EXPECT_EQ(x < 8 ? 0x00FFFFFFu : 0u, p) << x;
    }
    // A gentle one-texel blur of the same edge falls monotonically across it.
    ASSERT_EQ(0, TessroSetBitmapFillAmount(ctx, -100));
    ASSERT_EQ(0, SetFill(h, source.data(), 0, 0, 0));
    ASSERT_EQ(0, FillDevice(0, 0, 16, 2)) << LastError();
    for (int x = 1; x < 16; ++x) EXPECT_LE(t.Pixel(x, 0) & 0xFF, t.Pixel(x - 1, 0) & 0xFF) << x;
    EXPECT_GT(t.Pixel(7, 0) & 0xFF, 0u);
    EXPECT_LT(t.Pixel(7, 0) & 0xFF, 255u);
}

// A varied source laid a fraction of a pixel off the grid, enlarged and reduced, against the
// filter sums done by hand from the fill's own tap table: the footprint starts (n - 1) / 2
// texels before the pixel centre, column i weighs w[64 (n - 1 - i) + phase], rows sum their
// columns shifted down by 8 bits, and the finaliser adds a 256th before its shift of 22.
TEST_F(FilteredFillTest, PixelsAreTheFilterSumsOfTheirFootprints) {
    const int w = 7, h = 5;
    std::vector<DWORD> source(w * h);
    for (int i = 0; i < w * h; ++i) source[i] = ((i * 37) & 0xFF) | (((i * 91 + 40) & 0xFF) << 8) | (((255 - i * 13) & 0xFF) << 16);
    const BITMAPINFOHEADER header = SourceHeader(w, h, 32);
    // Anchors on whole 1/1024ths of a pixel, so the fill's origin is exactly this one.
    const double ox = 307 / 1024.0, oy = 717 / 1024.0;
    int compared = 0;
    for (double scale : {1.0, 2.5, 0.625}) {
        for (int amount : {0, -60, 80}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << " amount " << amount);
            Target t(12, 10, 32);
            Attach(t);
            ASSERT_EQ(0, TessroSetBitmapFillAmount(ctx, amount));
            ASSERT_EQ(0, SetFill(header, source.data(), 0, ox, oy, nullptr, scale));
            ASSERT_EQ(0, FillDevice(0, 0, 12, 10)) << LastError();
            const TessroFilterTaps& taps = ctx->draw.filter;
            const int n = taps.count;
            for (int y = 0; y < 10; ++y) {
                for (int x = 0; x < 12; ++x) {
                    // The footprint's first texel in 32.32, from the pixel centre.
                    const double u = (x + 0.5 - ox) / scale - (n - 1) / 2.0, v = (y + 0.5 - oy) / scale - (n - 1) / 2.0;
                    const std::int64_t fu = static_cast<std::int64_t>(std::floor(u * 4294967296.0));
                    const std::int64_t fv = static_cast<std::int64_t>(std::floor(v * 4294967296.0));
                    // Skip centres within a hair of a phase boundary (the fill's fixed point may
                    // fall either side).
                    const double phaseU = (fu & 0xFFFFFFFF) / 67108864.0, phaseV = (fv & 0xFFFFFFFF) / 67108864.0;
                    if (std::fabs(phaseU - std::nearbyint(phaseU)) < 1e-4 || std::fabs(phaseV - std::nearbyint(phaseV)) < 1e-4) continue;
                    const int pu = static_cast<int>((fu >> 26) & 63), pv = static_cast<int>((fv >> 26) & 63);
                    const std::int64_t iu = fu >> 32, iv = fv >> 32;
                    DWORD want = 0;
                    for (int c = 0; c < 3; ++c) {
                        std::int64_t sum = 0;
                        for (int r = 0; r < n; ++r) {
                            const std::int64_t row = std::min<std::int64_t>(std::max<std::int64_t>(iv + r, 0), h - 1);
                            std::int64_t rowSum = 0;
                            for (int i = 0; i < n; ++i) {
                                const std::int64_t col = std::min<std::int64_t>(std::max<std::int64_t>(iu + i, 0), w - 1);
                                rowSum += static_cast<std::int64_t>((source[row * w + col] >> (8 * c)) & 0xFF) * taps.weights[64 * (n - 1 - i) + pu];
                            }
                            sum += (rowSum >> 8) * taps.weights[64 * (n - 1 - r) + pv];
                        }
                        const std::int64_t value = (sum + (sum >> 8)) >> 22;
                        want |= static_cast<DWORD>(std::min<std::int64_t>(std::max<std::int64_t>(value, 0), 255)) << (8 * c);
                    }
                    ASSERT_EQ(want, t.Pixel(x, y)) << x << "," << y;
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(compared, 800);
}

}  // namespace
