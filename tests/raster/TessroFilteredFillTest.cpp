// Filtered bitmap fills: the tap table for the mapping's scale and the amount, uniform sources
// through every tile style, and sharpened edges whose sums pass 32 bits.
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

}  // namespace
