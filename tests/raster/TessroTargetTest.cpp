#include "tests/raster/TessroDrawSupport.h"

// The counting allocator of the shared fixture, for this executable.
int CountingAllocator::allocations = 0;
int CountingAllocator::releases = 0;
bool CountingAllocator::failNext = false;

namespace {

TEST_F(DrawTest, HeadersChooseFormatRowSizeAndMode) {
    const struct {
        LONG width, height;
        WORD bits;
        DWORD compression, mode;
        int result;
        DWORD format;
        std::int32_t rowSize;
        DWORD storedMode;
    } cases[] = {
        {33, 2, 1, 0, 0, 0, kTessroFormat1, 8, 0},
        {17, 2, 2, 0, 0, 0, kTessroFormat2, 8, 0},
        {9, 2, 4, 0, 0, 0, kTessroFormat4, 8, 0},
        {5, 2, 8, 0, 0, 0, kTessroFormat8Palette, 8, 0},
        {5, 2, 8, 0, 1, 0, kTessroFormat8Grey, 8, 1},
        {5, 2, 8, 0, 7, 0, kTessroFormat8Grey, 8, 2},
        {3, 2, 16, 0, 3, 0, kTessroFormat16, 8, 3},
        {3, 2, 32, 0, 0, 0, kTessroFormat32, 12, 0},
        {3, 2, 32, TESSRO_BI_TRANSPARENCY, 0, 0, kTessroFormat32Alpha, 12, 0},
        {16384, 1, 8, 0, 0, 0, kTessroFormat8Palette, 16384, 0},
        {1, 65536, 8, 0, 0, 0, kTessroFormat8Palette, 4, 0},
        {3, 2, 24, 0, 0, -1, 0, 0, 0},
        {16385, 1, 8, 0, 0, -1, 0, 0, 0},
        {1, 65537, 8, 0, 0, -1, 0, 0, 0},
        {4, -4, 8, 0, 0, -1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        BITMAPINFOHEADER h = Header(c.width, c.height, c.bits);
        h.biCompression = c.compression;
        ASSERT_EQ(c.result, TessroSetBitmap(ctx, &h, nullptr, c.mode));
        if (c.result != 0) {
            EXPECT_EQ(TESSRO_ERROR_BAD_BITMAP, LastError());
            continue;
        }
        EXPECT_EQ(c.format, ctx->targetFormat);
        EXPECT_EQ(c.rowSize, ctx->rowSize);
        EXPECT_EQ(c.rowSize, ctx->rowStep);
        EXPECT_EQ(c.storedMode, ctx->targetMode);
    }
    BITMAPINFOHEADER planes = Header(4, 4, 8);
    planes.biPlanes = 2;
    EXPECT_EQ(-1, TessroSetBitmap(ctx, &planes, nullptr, 0));
    EXPECT_EQ(TESSRO_ERROR_BAD_BITMAP, LastError());
    EXPECT_EQ(-1, TessroSetBitmap(ctx, nullptr, nullptr, 0));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
}

TEST_F(DrawTest, RefusedHeaderLeavesThePreviousTargetWhole) {
    Target small(10, 10, 8);
    Attach(small);
    const std::int32_t device[4] = {2, 2, 8, 8};
    ASSERT_EQ(0, TessroSetDeviceClipRectangle(ctx, device));
    BITMAPINFOHEADER wide = Header(1000, 10, 24);
    ASSERT_EQ(-1, TessroSetBitmap(ctx, &wide, nullptr, 0));
    EXPECT_EQ(10, ctx->targetWidth);
    EXPECT_EQ(10 << 14, ctx->draw.widthDevice);
    std::int32_t clip[4];
    ASSERT_EQ(0, TessroGetClipRectangle(ctx, clip));
    EXPECT_EQ(8, clip[2]);
    // Still drawable within its own bits.
    ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
    EXPECT_EQ(0, FillDevice(0, 0, 1000, 10));
}

TEST_F(DrawTest, AttachingResetsClipMatrixChangedAreaAndStyle) {
    Target t(10, 10, 32);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x123456));
    ctx->draw.changed[0] = 3;
    Attach(t);
    std::int32_t clip[4];
    ASSERT_EQ(0, TessroGetClipRectangle(ctx, clip));
    EXPECT_EQ(std::vector<std::int32_t>({0, 0, 10, 10}), std::vector<std::int32_t>(clip, clip + 4));
    EXPECT_EQ(kEmptyChange, Changed());
    EXPECT_EQ(kTessroFillNone, ctx->fillStyle);
    EXPECT_EQ(0x4000, ctx->matrix.a);
    EXPECT_EQ(-0x4000, ctx->matrix.d);
    EXPECT_EQ(static_cast<std::int64_t>(10) << 30, ctx->matrix.f);

    ASSERT_EQ(0, TessroSetInvertedBitmap(ctx, t.header(), t.bits(), 0));
    EXPECT_EQ(t.bits() + 9 * 40, ctx->rowZero);
    EXPECT_EQ(-40, ctx->rowStep);
    BITMAPINFOHEADER bad = Header(10, 10, 24);
    EXPECT_EQ(-1, TessroSetInvertedBitmap(ctx, &bad, t.bits(), 0));
    EXPECT_EQ(TESSRO_ERROR_BAD_BITMAP, LastError());
}

// The flat-colour cache is cleared with the target: the first colour set afterwards, black
// included, is matched against the new target rather than taken from a zero pattern.
TEST_F(DrawTest, FirstColourAfterAttachingIsMatchedEvenWhenBlack) {
    Palette palette({Entry(255, 255, 255), Entry(0, 0, 0), Entry(255, 0, 0)});
    ASSERT_EQ(0, TessroSetPalette(ctx, palette));
    ASSERT_EQ(0, TessroSetColourMatching(ctx, 4));  // nearest entry, no dither
    Target t(8, 4, 8);
    Attach(t);
    EXPECT_EQ(0u, ctx->pattern[0]);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x000000));
    ASSERT_EQ(0, FillDevice(0, 0, 8, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(1u, t.Pixel(x, y)) << x << "," << y;
}

TEST_F(DrawTest, ClipRectanglesIntersectReplaceAndStayInsideTheTarget) {
    Target t(100, 100, 8);
    Attach(t);
    std::int32_t clip[4];
    const auto expectClip = [&](std::vector<std::int32_t> want) {
        ASSERT_EQ(0, TessroGetClipRectangle(ctx, clip));
        EXPECT_EQ(want, std::vector<std::int32_t>(clip, clip + 4));
    };
    const TessroPoint first[2] = {Device(10, 10), Device(60.5, 60.4)};
    ASSERT_EQ(0, TessroSetClipRectangle(ctx, first));
    expectClip({10, 10, 61, 60});
    const TessroPoint second[2] = {Device(80, 80), Device(40, 40)};
    ASSERT_EQ(0, TessroSetClipRectangle(ctx, second));
    expectClip({40, 40, 61, 60});
    const std::int32_t device[4] = {120, 90, -5, 20};
    ASSERT_EQ(0, TessroSetDeviceClipRectangle(ctx, device));
    expectClip({0, 20, 100, 90});

    // A region's bounds become the clip rectangle, kept inside the target.
    const TessroClipRegion region = {0, -10, 5, 500, 50};
    ASSERT_EQ(0, TessroSetClipRegion(ctx, &region));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(&region), TessroGetClipRegion(ctx));
    expectClip({0, 5, 100, 50});
    ASSERT_EQ(0, TessroSetClipRegion(ctx, nullptr));
    expectClip({0, 5, 100, 50});

    for (int call = 0; call < 4; ++call) {
        int result = 0;
        switch (call) {
            case 0: result = TessroSetClipRectangle(ctx, nullptr); break;
            case 1: result = TessroSetDeviceClipRectangle(ctx, nullptr); break;
            case 2: result = TessroGetClipRectangle(ctx, nullptr); break;
            default: result = TessroGetChangedBounds(ctx, nullptr); break;
        }
        EXPECT_EQ(-1, result);
        EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
    }
    EXPECT_EQ(-1, TessroGetClipRegion(nullptr));
}

TEST_F(DrawTest, AntialiasStaysOffOnOneBitTargets) {
    Target one(8, 8, 1), eight(8, 8, 8);
    Attach(one);
    ASSERT_EQ(0, TessroSetAntialias(ctx, 5));
    EXPECT_EQ(0, ctx->antialias);
    Attach(eight);
    ASSERT_EQ(0, TessroSetAntialias(ctx, 5));
    EXPECT_EQ(1, ctx->antialias);
}

TEST_F(DrawTest, ChangedBoundsRoundTrip) {
    const std::int32_t in[4] = {1, 2, 3, 4};
    ASSERT_EQ(0, TessroSetChangedBounds(ctx, in));
    EXPECT_EQ(std::vector<DWORD>({1, 2, 3, 4}), Changed());
    ASSERT_EQ(0, TessroClearChangedBounds(ctx));
    EXPECT_EQ(kEmptyChange, Changed());
}

}  // namespace
