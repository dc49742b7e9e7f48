#include "tests/raster/TessroDrawSupport.h"

namespace {

// The device pixels of an 8-bit target that hold a non-zero value, as (left, top, right, bottom).
std::vector<int> InkBounds(const Target& t, int width, int height) {
    int l = width, tp = height, r = 0, b = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (t.Pixel(x, y) != 0) {
                l = std::min(l, x), tp = std::min(tp, y), r = std::max(r, x + 1), b = std::max(b, y + 1);
            }
    return {l, tp, r, b};
}

class FillTest : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        Attach(target_, 1);  // grey levels: a flat colour is one byte value
        ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
    }
    Target target_{100, 100, 8};
};

TEST_F(FillTest, RectangleCornersRoundToPixelEdgesInEitherOrder) {
    const TessroPoint rect[2] = {User(10.5, 20.25), User(30.5, 40.75)};
    ASSERT_EQ(0, TessroFillRectangle(ctx, rect));
    EXPECT_EQ(std::vector<int>({11, 59, 31, 80}), InkBounds(target_, 100, 100));
    EXPECT_EQ(std::vector<DWORD>({11, 59, 31, 80}), Changed());
    for (int y = 59; y < 80; ++y)
        for (int x = 11; x < 31; ++x) ASSERT_EQ(255u, target_.Pixel(x, y));

    std::vector<BYTE> first = target_.bytes();
    std::fill(target_.bytes().begin(), target_.bytes().end(), 0);
    const TessroPoint swapped[2] = {User(30.5, 20.25), User(10.5, 40.75)};
    ASSERT_EQ(0, TessroFillRectangle(ctx, swapped));
    EXPECT_EQ(first, target_.bytes());
}

TEST_F(FillTest, EmptyAndClippedOperationsGrowTheChangedAreaOnlyByWhatIsDrawn) {
    const TessroPoint thin[2] = {Device(5.1, 5), Device(5.4, 9)};
    ASSERT_EQ(0, TessroFillRectangle(ctx, thin));
    EXPECT_EQ(kEmptyChange, Changed());
    EXPECT_EQ(0, TessroFillRectangle(ctx, nullptr));
    EXPECT_EQ(0, TessroFillPoint(ctx, nullptr));

    ASSERT_EQ(0, FillDevice(-20, 90, 10, 130));
    EXPECT_EQ(std::vector<DWORD>({0, 90, 10, 100}), Changed());
    EXPECT_EQ(std::vector<int>({0, 90, 10, 100}), InkBounds(target_, 100, 100));

    const TessroPoint inside = Device(5.99, 50.5), outside = Device(-0.01, 50.5);
    ASSERT_EQ(0, TessroFillPoint(ctx, &inside));
    EXPECT_EQ(255u, target_.Pixel(5, 50));
    EXPECT_EQ(0u, target_.Pixel(6, 50));
    EXPECT_EQ(std::vector<DWORD>({0, 50, 10, 100}), Changed());
    ASSERT_EQ(0, TessroFillPoint(ctx, &outside));
    EXPECT_EQ(std::vector<DWORD>({0, 50, 10, 100}), Changed());

    // Measuring styles leave the changed area alone, whatever they measure.
    ASSERT_EQ(0, TessroClearChangedBounds(ctx));
    for (DWORD style : {kTessroFillStatistics, kTessroFillHitTest}) {
        ctx->fillStyle = style;
        FillDevice(0, 0, 10, 10);
        EXPECT_EQ(kEmptyChange, Changed());
    }
}

TEST_F(DrawTest, CombinationsWithoutARoutineFailBeforeAnyPixelIsWritten) {
    struct Case {
        const char* name;
        WORD bits;
        DWORD style;
        bool nullBits;
        DWORD regionKind;  // 0 none, 2 sub-rows (read no further than its kind by the checks)
        TessroError code;
    };
    const Case cases[] = {
        {"no style", 8, kTessroFillNone, false, 0, TESSRO_ERROR_UNDEFINED_FILL_STYLE},
        {"no bits", 8, kTessroFillFlat, true, 0, TESSRO_ERROR_NO_BITMAP},
        {"xor on 2 bits", 2, kTessroFillXor, false, 0, TESSRO_ERROR_INVALID_BITMAP_DEPTH},
        {"xor with coverage", 8, kTessroFillXor, false, 2, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE},
        {"transparent on 8 bits", 8, 4, false, 0, TESSRO_ERROR_MUST_BE_32BPP},
        {"shading style", 32, 24, false, 0, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE},
        {"undefined style", 32, 40, false, 0, TESSRO_ERROR_UNDEFINED_FILL_STYLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Target t(8, 8, c.bits);
        std::fill(t.bytes().begin(), t.bytes().end(), 0x5A);
        const std::vector<BYTE> before = t.bytes();
        height_ = 8;
        ASSERT_EQ(0, TessroSetBitmap(ctx, t.header(), c.nullBits ? nullptr : t.bits(), 0));
        ctx->fillStyle = c.style;
        const TessroClipRegion region = {c.regionKind - 1, 0, 0, 8, 8};
        if (c.regionKind != 0) {
            ASSERT_EQ(0, TessroSetClipRegion(ctx, &region));
        }
        EXPECT_EQ(-1, FillDevice(0, 0, 8, 8));
        EXPECT_EQ(c.code, LastError());
        EXPECT_EQ(before, t.bytes());
        // The changed area has grown all the same.
        EXPECT_EQ(std::vector<DWORD>({0, 0, 8, 8}), Changed());
    }
    EXPECT_EQ(-1, TessroFillRectangle(nullptr, nullptr));
}

// A target whose rows end on a word boundary, filled to the end of its last row: even a
// read-modify-write that changes nothing must not touch the word after the bitmap (the exact
// size makes AddressSanitizer see it).
TEST_F(DrawTest, SpansEndingOnAWordBoundaryStopThere) {
    for (WORD bits : {1, 2, 4, 8, 16}) {
        SCOPED_TRACE(bits);
        const LONG width = 64 / bits;
        Target t(width, 2, bits);
        ASSERT_EQ(8u * 2, t.bytes().size());
        Attach(t);
        ASSERT_EQ(0, TessroSetRawColour(ctx, 0xFFFFFFFFu));
        ASSERT_EQ(0, FillDevice(width / 2, 0, width, 2));
        if (bits != 2) {  // no XOR on 2 bits
            ASSERT_EQ(0, TessroSetXorColour(ctx, 0xFFFFFFFFu));
            ASSERT_EQ(0, FillDevice(width / 2 + 1, 1, width, 2));
        }
        EXPECT_EQ(std::vector<BYTE>({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
                  std::vector<BYTE>(t.bytes().begin(), t.bytes().begin() + 8));
    }
}

TEST_F(DrawTest, FlatSpansMergeOnlyTheirOwnPixels) {
    Target t(64, 8, 1);
    Attach(t);
    ASSERT_EQ(0, TessroSetRawColour(ctx, 0xFFFFFFFF));
    ASSERT_EQ(0, FillDevice(3, 0, 10, 1));
    EXPECT_EQ(0x1F, t.bytes()[0]);
    EXPECT_EQ(0xC0, t.bytes()[1]);
    EXPECT_EQ(0, t.bytes()[2]);
    // From a word boundary: the whole word.
    ASSERT_EQ(0, FillDevice(32, 1, 64, 2));
    EXPECT_EQ(std::vector<BYTE>({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
              std::vector<BYTE>(t.bytes().begin() + 8, t.bytes().begin() + 16));
}

TEST_F(DrawTest, FlatPatternsRepeatEveryFourRows) {
    Target t(16, 8, 4);
    Attach(t);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x3366CC));
    ASSERT_EQ(0, FillDevice(1, 0, 15, 8));
    bool rowsDiffer = false;
    for (int x = 1; x < 15; ++x) {
        EXPECT_EQ(t.Pixel(x, 0), t.Pixel(x, 4));
        rowsDiffer |= t.Pixel(x, 0) != t.Pixel(x, 1);
    }
    EXPECT_TRUE(rowsDiffer);
    EXPECT_EQ(0u, t.Pixel(0, 0));
    EXPECT_EQ(0u, t.Pixel(15, 0));

    Target wide(4, 4, 32);
    Attach(wide);
    ASSERT_EQ(0, TessroSetColour(ctx, 0x3366CC));
    ASSERT_EQ(0, FillDevice(0, 0, 4, 4));
    for (int y = 0; y < 4; ++y) EXPECT_EQ(0xCC6633u, wide.Pixel(3, y));
}

TEST_F(DrawTest, XorTwiceRestoresTheTarget) {
    for (WORD bits : {1, 4, 8, 16, 32}) {
        SCOPED_TRACE(bits);
        Target t(40, 3, bits);
        for (size_t i = 0; i < t.bytes().size(); ++i) t.bytes()[i] = static_cast<BYTE>(i * 37);
        const std::vector<BYTE> before = t.bytes();
        Attach(t);
        ASSERT_EQ(0, TessroSetXorColour(ctx, 0xFFFFFFFF));
        const TessroPoint pixel = Device(7.5, 1.5);
        ASSERT_EQ(0, TessroFillPoint(ctx, &pixel));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 40; ++x) {
                const DWORD mask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
                Target original = t;
                original.bytes() = before;
                const DWORD expected = (x == 7 && y == 1) ? original.Pixel(x, y) ^ mask : original.Pixel(x, y);
                ASSERT_EQ(expected, t.Pixel(x, y)) << x << "," << y;
            }
        ASSERT_EQ(0, TessroFillPoint(ctx, &pixel));
        ASSERT_EQ(0, FillDevice(3, 0, 37, 3));
        ASSERT_EQ(0, FillDevice(3, 0, 37, 3));
        EXPECT_EQ(before, t.bytes());
    }
}

}  // namespace
