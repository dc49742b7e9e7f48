// Clip regions, region recording, hit tests and statistics, scrolling, integer square root.
#include <gtest/gtest.h>

#include <cstring>

#include "raster/TessroRegion.h"
#include "raster/TessroScroll.h"
#include "tests/raster/TessroPathSupport.h"

namespace {

// A region record built word by word: the header, its size, then the row data.
class RegionRecord {
public:
    RegionRecord(DWORD kind, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
        Word(kind), Word(left), Word(top), Word(right), Word(bottom), Word(0);
    }
    RegionRecord& Word(DWORD w) {
        const BYTE* p = reinterpret_cast<const BYTE*>(&w);
        bytes_.insert(bytes_.end(), p, p + 4);
        return *this;
    }
    RegionRecord& Half(WORD w) {
        const BYTE* p = reinterpret_cast<const BYTE*>(&w);
        bytes_.insert(bytes_.end(), p, p + 2);
        return *this;
    }
    // Seals the size field; size_ may be cut to make a truncated record.
    const TessroClipRegion* Get(DWORD cut = 0) {
        const DWORD size = static_cast<DWORD>(bytes_.size()) - cut;
        std::memcpy(bytes_.data() + 20, &size, 4);
        bytes_.resize(size);
        return reinterpret_cast<const TessroClipRegion*>(bytes_.data());
    }

private:
    std::vector<BYTE> bytes_;
};

DWORD Span(DWORD x0, DWORD x1, bool last = false) { return x0 | (x1 << 16) | (last ? 0x8000u : 0u); }

class RegionTest : public PathTest {
protected:
    // A kind-0 region over rows 0..15 whose row 4 holds [2, 5) and [8, 10), the others nothing.
    const TessroClipRegion* RowFourRegion() {
        region_ = RegionRecord(0, 0, 0, kSize, kSize);
        for (int row = 0; row < kSize; ++row) region_.Half(row == 4 ? static_cast<WORD>(kSize - row) : 0);
        region_.Word(Span(2, 5)).Word(Span(8, 10, true));
        return region_.Get();
    }
    std::string Row(int y) { return Drawn().substr(y * (kSize + 1), kSize); }
    RegionRecord region_{0, 0, 0, 0, 0};
};

TEST_F(RegionTest, WholePixelRegionsCutEveryFillSpan) {
    struct Case {
        std::vector<std::pair<double, double>> fills;  // spans on row 4
        const char* row;
    } cases[] = {
        {{{0, 16}}, "..###...##......"},
        {{{5, 8}}, "................"},
        {{{0, 3}, {4, 9}}, "..#.#...#......."},
    };
    for (const Case& c : cases) {
        Clear();
        ASSERT_EQ(0, TessroSetClipRegion(ctx, RowFourRegion()));
        PathBuilder p = Path();
        for (const auto& f : c.fills) p.Rect(f.first, 3, f.second, 6);
        ASSERT_EQ(0, Fill(p, TESSRO_RULE_NONZERO));
        EXPECT_EQ(c.row, Row(4));
        EXPECT_EQ(std::string(kSize, '.'), Row(3));  // table word 0: the row is suppressed
    }
}

TEST_F(RegionTest, RecordingARectangleSharesOneSpanListAndClipsLikeTheFill) {
    std::vector<BYTE> buffer(4096, 0xCD);
    ASSERT_EQ(0, TessroSetRegionBuffer(ctx, buffer.data(), static_cast<DWORD>(buffer.size())));
    PathBuilder p = Path();
    p.Rect(3, 2, 9, 7);
    ASSERT_EQ(0, Fill(p, TESSRO_RULE_NONZERO));
    EXPECT_EQ(std::string::npos, Drawn().find('#'));  // recording paints nothing
    const int used = TessroGetRecordedRegionSize(ctx);
    // Header and size, five table words (padded to 12 bytes), one shared span word.
    EXPECT_EQ(24 + 12 + 4, used);
    const auto* region = reinterpret_cast<const TessroClipRegion*>(buffer.data());
    EXPECT_EQ(0u, region->kind);
    EXPECT_EQ((std::vector<std::int32_t>{3, 2, 9, 7}),
              (std::vector<std::int32_t>{region->left, region->top, region->right, region->bottom}));
    // Filling a large rectangle through the recorded region paints exactly the recorded area.
    ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
    ASSERT_EQ(0, TessroSetClipRegion(ctx, region));
    PathBuilder all = Path();
    all.Rect(0, 0, kSize, kSize);
    ASSERT_EQ(0, Fill(all, TESSRO_RULE_NONZERO));
    const std::string throughRegion = Drawn();
    ASSERT_EQ(0, TessroSetClipRegion(ctx, nullptr));
    Clear();
    ASSERT_EQ(0, TessroSetDeviceClipRectangle(ctx, std::vector<std::int32_t>{0, 0, kSize, kSize}.data()));
    ASSERT_EQ(0, Fill(p, TESSRO_RULE_NONZERO));
    EXPECT_EQ(Drawn(), throughRegion);
}

TEST_F(RegionTest, SampledRegionsRoundTripAndMaskAntialiasedFills) {
    // Record an antialiased triangle as a sampled region, then fill through it.
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    std::vector<BYTE> buffer(1 << 16);
    ASSERT_EQ(0, TessroSetRegionBuffer(ctx, buffer.data(), static_cast<DWORD>(buffer.size())));
    PathBuilder tri = Path();
    tri.Move(2, 2).Line(14, 3).Line(5, 13).Close();
    ASSERT_EQ(0, Fill(tri, TESSRO_RULE_NONZERO));
    const auto* region = reinterpret_cast<const TessroClipRegion*>(buffer.data());
    EXPECT_EQ(1u, region->kind);
    ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
    ASSERT_EQ(0, Fill(tri, TESSRO_RULE_NONZERO));
    std::vector<DWORD> direct;
    for (int i = 0; i < kSize * kSize; ++i) direct.push_back(target.Pixel(i % kSize, i / kSize));
    Clear();
    ASSERT_EQ(0, TessroSetClipRegion(ctx, region));
    PathBuilder all = Path();
    all.Rect(0, 0, kSize, kSize);
    ASSERT_EQ(0, Fill(all, TESSRO_RULE_NONZERO));
    for (int i = 0; i < kSize * kSize; ++i) {
        EXPECT_EQ(direct[i], target.Pixel(i % kSize, i / kSize)) << i % kSize << "," << i / kSize;
    }
    // A whole-pixel region cannot mask an antialiased fill.
    ASSERT_EQ(0, TessroSetClipRegion(ctx, RowFourRegion()));
    EXPECT_EQ(-1, Fill(all, TESSRO_RULE_NONZERO));
    EXPECT_EQ(TESSRO_ERROR_INCOMPATIBLE_REGION, LastError());
}

// A sampled region may begin far above the target: the sub-rows above it are stepped over by
// whole repeat records (a top of INT_MIN is ten thousand million sub-rows), and a delta repeated
// while stepping over gives the list it gives sub-row by sub-row.
TEST_F(RegionTest, SampledRegionsFarAboveTheTarget) {
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    PathBuilder all = Path();
    all.Rect(0, 0, kSize, kSize);
    const DWORD end = 0x80000000u, empty = 0xC0000000u;
    const DWORD kUnit = 16384;  // device units per pixel

    RegionRecord farAbove(1, 0, INT32_MIN, kSize, kSize);
    for (int i = 0; i < 10; ++i) farAbove.Word(empty | 0x3FFFFFFF);  // 10 x 2^30 sub-rows
    farAbove.Word(4 * kUnit).Word((8 * kUnit) | end).Word(end | 100).Word(0).Word(0);
    ASSERT_EQ(0, TessroSetClipRegion(ctx, farAbove.Get()));
    ASSERT_EQ(0, Fill(all, TESSRO_RULE_NONZERO));
    for (int y = 0; y < kSize; ++y) EXPECT_EQ("....####........", Row(y)) << y;

    // Rows -2 and -1 hold ten sub-rows of a list moving right by a pixel per sub-row.
    Clear();
    RegionRecord above(1, 0, -2, kSize, kSize);
    above.Word(0).Word(kUnit | end).Word(end | 100).Word(kUnit).Word(kUnit);
    ASSERT_EQ(0, TessroSetClipRegion(ctx, above.Get()));
    ASSERT_EQ(0, Fill(all, TESSRO_RULE_NONZERO));
    const std::string stepped = Drawn();
    Clear();
    RegionRecord atTop(1, 0, 0, kSize, kSize);
    atTop.Word(10 * kUnit).Word((11 * kUnit) | end).Word(end | 100).Word(kUnit).Word(kUnit);
    ASSERT_EQ(0, TessroSetClipRegion(ctx, atTop.Get()));
    ASSERT_EQ(0, Fill(all, TESSRO_RULE_NONZERO));
    EXPECT_EQ(Drawn(), stepped);
    EXPECT_NE(std::string::npos, stepped.find('#'));

    // A whole-pixel region whose top is INT_MIN has no table word for the target's rows.
    ASSERT_EQ(0, TessroSetAntialias(ctx, 0));
    RegionRecord wholeFar(0, 0, INT32_MIN, kSize, kSize);
    wholeFar.Half(0).Half(0);
    ASSERT_EQ(0, TessroSetClipRegion(ctx, wholeFar.Get()));
    EXPECT_EQ(-1, Fill(all, TESSRO_RULE_NONZERO));
    EXPECT_EQ(TESSRO_ERROR_INCOMPATIBLE_REGION, LastError());
}

TEST_F(RegionTest, MalformedRegionsFailInsteadOfReadingPastThem) {
    ASSERT_EQ(0, TessroSetAntialias(ctx, 1));
    PathBuilder all = Path();
    all.Rect(0, 0, kSize, kSize);
    const DWORD end = 0x80000000u;
    struct Case {
        const char* what;
        RegionRecord record;
        DWORD cut;
    } cases[] = {
        {"literal without its end", RegionRecord(1, 0, 0, kSize, kSize).Word(0).Word(16384), 0},
        {"delta before any list", RegionRecord(1, 0, 0, kSize, kSize).Word(end | 3).Word(0).Word(0), 0},
        {"cut short", RegionRecord(1, 0, 0, kSize, kSize).Word(0).Word(16384 | end), 4},
        {"size below the header", RegionRecord(1, 0, 0, kSize, kSize), 2},
    };
    for (Case& c : cases) {
        ASSERT_EQ(0, TessroSetClipRegion(ctx, c.record.Get(c.cut)));
        EXPECT_EQ(-1, Fill(all, TESSRO_RULE_NONZERO)) << c.what;
        EXPECT_EQ(TESSRO_ERROR_INCOMPATIBLE_REGION, LastError()) << c.what;
    }
    // A literal record longer than a sub-row can hold.
    RegionRecord many(1, 0, 0, kSize, kSize);
    for (int i = 0; i <= kTessroMaxRegionSpans; ++i) many.Word(2 * i).Word((2 * i + 1) | (i == kTessroMaxRegionSpans ? end : 0));
    ASSERT_EQ(0, TessroSetClipRegion(ctx, many.Get()));
    EXPECT_EQ(-1, Fill(all, TESSRO_RULE_NONZERO));
    EXPECT_EQ(TESSRO_ERROR_INCOMPATIBLE_REGION, LastError());
    // Kind 0 with a table shorter than its rows.
    ASSERT_EQ(0, TessroSetAntialias(ctx, 0));
    RegionRecord shortTable(0, 0, 0, kSize, kSize);
    shortTable.Half(0).Half(0);
    ASSERT_EQ(0, TessroSetClipRegion(ctx, shortTable.Get()));
    EXPECT_EQ(-1, Fill(all, TESSRO_RULE_NONZERO));
    EXPECT_EQ(TESSRO_ERROR_INCOMPATIBLE_REGION, LastError());
}

TEST_F(RegionTest, RecordingStopsAtTheEndOfItsBuffer) {
    PathBuilder p = Path();
    p.Move(1, 1).Line(15, 2).Line(3, 15).Close();  // a different list on most rows
    for (DWORD size : {0u, 19u, 24u, 40u, 60u}) {
        std::vector<BYTE> buffer(size + 1, 0xEE);
        ASSERT_EQ(0, TessroSetRegionBuffer(ctx, buffer.data(), size));
        EXPECT_EQ(-1, Fill(p, TESSRO_RULE_NONZERO)) << size;
        EXPECT_EQ(TESSRO_ERROR_BUFFER_FULL, LastError());
        EXPECT_EQ(0xEE, buffer[size]) << size;  // nothing written past the buffer
    }
}

// ---- Hit tests ----

TEST_F(RegionTest, HitTestsMeasureWithoutPaintingOrChangingTheFillStyle) {
    const std::int32_t clip[4] = {4, 4, 12, 12};
    ASSERT_EQ(0, TessroSetDeviceClipRectangle(ctx, clip));
    ASSERT_EQ(0, TessroClearChangedBounds(ctx));
    struct Case {
        double x0, y0, x1, y1;
        int hit;
    } cases[] = {{0, 0, 3, 3, 0}, {11, 11, 12, 12, 1}, {0, 0, 16, 16, 1}, {3.6, 6, 4.4, 7, 0}};
    for (const Case& c : cases) {
        PathBuilder p = Path();
        p.Rect(c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(c.hit, TessroHitTestPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0)) << c.x0;
        PathBuilder line = Path();
        line.Move(c.x0, c.y0).Line(c.x1, c.y1);
        if (c.x0 == 3.6) continue;  // a thin rectangle, but a pen of one pixel reaches column 4
        EXPECT_EQ(c.hit, TessroHitTestStroke(ctx, line.points.data(), line.verbs.data(), line.count(), 0,
                                             kPixel, TESSRO_CAP_SQUARE, 0, nullptr) > 0 ? 1 : 0)
            << c.x0;
    }
    EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
    EXPECT_EQ(kEmptyChange, Changed());
    EXPECT_EQ(std::string::npos, Drawn().find('#'));
    // A zero-width stroke grows the changed area even when it only measures.
    PathBuilder hair = Path();
    hair.Move(5, 6.5).Line(9, 6.5);
    EXPECT_EQ(1, TessroHitTestStroke(ctx, hair.points.data(), hair.verbs.data(), hair.count(), 0, 0, 0,
                                     0, nullptr));
    EXPECT_EQ((std::vector<DWORD>{5, 6, 10, 7}), Changed());
    // No bits are needed, and failures keep the inner code.
    ASSERT_EQ(0, TessroSetBitmap(ctx, target.header(), nullptr, 0));
    PathBuilder p = Path();
    p.Rect(2, 2, 8, 8);
    EXPECT_EQ(1, TessroHitTestPath(ctx, p.points.data(), p.verbs.data(), p.count(), 1));
    EXPECT_EQ(-1, TessroHitTestPath(ctx, p.points.data(), p.verbs.data(), p.count(), 7));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
}

TEST_F(RegionTest, StatisticsNeedAThirtyTwoBitTarget) {
    Target small(8, 8, 8);
    Attach(small);
    ASSERT_EQ(0, TessroSetColour(ctx, 0xFF));
    PathBuilder p(8);
    p.Rect(1, 1, 5, 5);
    BYTE record[TESSRO_STATISTICS_BYTES];
    EXPECT_EQ(-1, TessroGetPathPixelStatistics(ctx, p.points.data(), p.verbs.data(), p.count(), 0, record));
    EXPECT_NE(TESSRO_ERROR_NONE, LastError());
    EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
}

// ---- Scrolling ----

TEST_F(DrawTest, ScrollingMovesWholePixelsAndKeepsUncoveredOnes) {
    Target t32(4, 3, 32);
    Attach(t32);
    for (int i = 0; i < 12; ++i) {
        const DWORD v = 0x100 + i;
        std::memcpy(t32.bits() + 4 * i, &v, 4);
    }
    ASSERT_EQ(0, TessroScrollBitmap(ctx, 1, 0));
    EXPECT_EQ(0x100u, t32.Pixel(0, 0));  // column 0 keeps its value
    EXPECT_EQ(0x100u, t32.Pixel(1, 0));
    EXPECT_EQ(0x102u, t32.Pixel(3, 0));
    EXPECT_EQ(1, ctx->ditherOriginX);
    ASSERT_EQ(0, TessroScrollBitmap(ctx, 0, 1));  // row r receives row r + 1
    EXPECT_EQ(0x104u, t32.Pixel(0, 0));
    EXPECT_EQ(0x108u, t32.Pixel(0, 2));
    const std::vector<BYTE> before = t32.bytes();
    for (auto d : {std::make_pair(0, 0), std::make_pair(4, 0), std::make_pair(-9, 0), std::make_pair(0, 3),
                   std::make_pair(0, -1000000), std::make_pair(INT32_MIN, INT32_MIN)}) {
        ASSERT_EQ(0, TessroScrollBitmap(ctx, d.first, d.second));
        EXPECT_EQ(before, t32.bytes()) << d.first << "," << d.second;
    }
    // One bit per pixel: the bit stream of each row moves by three bits.
    Target t1(16, 1, 1);
    Attach(t1);
    t1.bits()[0] = 0xB5, t1.bits()[1] = 0x0F;
    ASSERT_EQ(0, TessroScrollBitmap(ctx, 3, 0));
    EXPECT_EQ(0xB6u, t1.bits()[0]);  // 101 kept, then 10110
    EXPECT_EQ(0xA1u, t1.bits()[1]);  // 101 00001
    ASSERT_EQ(0, TessroSetBitmap(ctx, t1.header(), nullptr, 0));
    EXPECT_EQ(-1, TessroScrollBitmap(ctx, 1, 0));
    EXPECT_EQ(TESSRO_ERROR_NO_BITMAP, LastError());
}

TEST(IntegerSquareRoot, FloorsForEveryMagnitude) {
    const std::pair<std::uint64_t, std::uint32_t> cases[] = {
        {0, 0}, {1, 1}, {65535, 255}, {65536, 256}, {99999999999ull, 316227},
        {(1ull << 62) - 1, (1u << 31) - 1}, {~0ull, 4294967295u}, {4294967296ull * 4294967295ull, 4294967295u},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, IntegerSquareRoot(c.first)) << c.first;
    for (std::uint64_t v = 65530; v < 70000; ++v) {
        const std::uint64_t r = IntegerSquareRoot(v);
        ASSERT_TRUE(r * r <= v && (r + 1) * (r + 1) > v) << v;
    }
}

}  // namespace
