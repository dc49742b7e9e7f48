// Tints, table combinations and pixel statistics; and antialiased prepared fills on targets
// below 32 bits.
#include <numeric>

#include "raster/TessroBitmapApi.h"
#include "tests/raster/TessroPathSupport.h"

namespace {

DWORD Grey(int v) { return static_cast<DWORD>(v) * 0x010101u; }

class TintTest : public DrawTest {
protected:
    // Two pixels of target (a pixel word), the first under a flat colour of type 10..12, the
    // second under a graduation of the same type whose entries are the colour.
    std::pair<DWORD, DWORD> Combine(DWORD target, DWORD colour, DWORD type, DWORD amount, bool premultiplied = false) {
        Target t(2, 1, 32, premultiplied ? TESSRO_BI_TRANSPARENCY : 0);
        std::memcpy(t.bits(), &target, 4);
        std::memcpy(t.bits() + 4, &target, 4);
        Attach(t);
        EXPECT_EQ(0, TessroSetTransparentColour(ctx, colour, type | (amount << 8)));
        EXPECT_EQ(0, FillDevice(0, 0, 1, 1)) << LastError();
        std::vector<DWORD> grad(3 + 256, TessroColourToPixel(colour & 0x00FFFFFFu));
        grad[0] = 256;
        const TessroPoint g0 = Device(1, 0), g1 = Device(2, 0), g2 = Device(1, 1);
        EXPECT_EQ(0, TessroSetGraduation(ctx, (type << 8) | (amount << 16), grad.data(), &g0, &g1, &g2));
        EXPECT_EQ(0, FillDevice(1, 0, 2, 1)) << LastError();
        return {t.Pixel(0, 0), t.Pixel(1, 0)};
    }
};

TEST_F(TintTest, TintsAndTableCombinations) {
    std::vector<BYTE> identity(65536), fillOnly(65536), difference(65536);
    for (int f = 0; f < 256; ++f) {
        for (int d = 0; d < 256; ++d) {
            identity[256 * f + d] = static_cast<BYTE>(d);
            fillOnly[256 * f + d] = static_cast<BYTE>(f);
            difference[256 * f + d] = static_cast<BYTE>(std::abs(f - d));
        }
    }
    const struct {
        const char* name;
        DWORD target;  // pixel word; its fourth byte must stay
        DWORD colour;  // 0x00BBGGRR
        DWORD type, amount;
        const std::vector<BYTE>* table;
        DWORD expected;
    } cases[] = {
        {"add clamps", 0x7F646464, Grey(200), 10, 255, nullptr, 0x7FFFFFFF},
        {"subtract clamps", 0x7F646464, Grey(200), 11, 255, nullptr, 0x7F000000},
        {"add nothing", 0x7F102030, Grey(200), 10, 0, nullptr, 0x7F102030},
        {"add scaled", 0x01102030, 0x00FF8040, 10, 128, nullptr, 0x013060B0},
        {"subtract scaled", 0x01405060, 0x00204080, 11, 128, nullptr, 0x01003050},
        {"identity table", 0x7F102030, 0x00FF8040, 12, 0, &identity, 0x7F102030},
        {"fill table", 0x7F102030, 0x00FF8040, 12, 0, &fillOnly, 0x7F4080FF},
        {"difference table", 0x7F102030, 0x00102030, 12, 0, &difference, 0x7F200020},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(0, TessroSetCombinationTable(ctx, c.table ? c.table->data() : nullptr));
        for (bool premultiplied : {false, true}) {
            const auto got = Combine(c.target, c.colour, c.type, c.amount, premultiplied);
            EXPECT_EQ(c.expected, got.first) << std::hex << got.first;
            EXPECT_EQ(c.expected, got.second) << std::hex << got.second;
        }
    }
}

TEST_F(TintTest, RefusedCombinations) {
    Target t32(2, 2, 32), t8(2, 2, 8);
    std::vector<DWORD> grad(3 + 256, 0x00FFFFFF);
    grad[0] = 256;
    const struct {
        const char* name;
        Target* target;
        bool antialiased;
        DWORD style;  // 26..29 flat; 3 + type << 8 a prepared fill of that type
        TessroError code;
    } cases[] = {
        {"add below 32 bits", &t8, false, 26, TESSRO_ERROR_MUST_BE_32BPP},
        {"statistics below 32 bits", &t8, false, 29, TESSRO_ERROR_MUST_BE_32BPP},
        {"add antialiased", &t32, true, 26, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE},
        {"table antialiased", &t32, true, 28, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE},
        {"prepared subtract antialiased", &t32, true, 3 | (11 << 8), TESSRO_ERROR_INVALID_SCANLINE_ROUTINE},
        {"prepared table antialiased", &t32, true, 3 | (12 << 8), TESSRO_ERROR_INVALID_SCANLINE_ROUTINE},
        {"table without a table", &t32, false, 28, TESSRO_ERROR_BAD_PARAMETERS},
        {"prepared table without a table", &t32, false, 3 | (12 << 8), TESSRO_ERROR_BAD_PARAMETERS},
    };
    std::vector<BYTE> table(65536, 7);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::fill(c.target->bytes().begin(), c.target->bytes().end(), 0x55);
        const std::vector<BYTE> before = c.target->bytes();
        Attach(*c.target);
        ASSERT_EQ(0, TessroSetAntialias(ctx, c.antialiased ? 1 : 0));
        ASSERT_EQ(0, TessroSetCombinationTable(ctx, std::string(c.name).find("without") == std::string::npos ? table.data() : nullptr));
        if ((c.style & 0xFF) == 3) {
            const TessroPoint g0 = Device(0, 0), g1 = Device(1, 0), g2 = Device(0, 1);
            ASSERT_EQ(0, TessroSetGraduation(ctx, c.style & 0xFF00, grad.data(), &g0, &g1, &g2));
        } else if (c.style < 29) {
            ASSERT_EQ(0, TessroSetTransparentColour(ctx, Grey(9), c.style - 16));
            // On an 8-bit target the setter falls back to a plain colour: force the style.
            ctx->fillStyle = c.style;
        } else {
            ctx->fillStyle = c.style;
        }
        PathBuilder p(2);
        p.Rect(0, 0, 2, 2);
        EXPECT_EQ(-1, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0));
        EXPECT_EQ(c.code, LastError());
        EXPECT_EQ(before, c.target->bytes());
    }
}

// Sums over the pixels of a fill, by brute force beside the statistics record.
struct Sums {
    std::uint64_t words[36] = {};
    void Add(int word, std::uint64_t v) {
        std::uint64_t s = words[word] | (words[word + 1] << 32);
        s += v;
        words[word] = s & 0xFFFFFFFFu;
        words[word + 1] = s >> 32;
    }
};

class StatisticsTest : public DrawTest {
protected:
    // The record of a statistics pass over the path, and the brute-force sums over the pixels
    // whose mask byte is set.
    void Measure(Target& t, const PathBuilder& p, std::vector<DWORD>& record) {
        record.assign(36, 0xDEADBEEF);
        ASSERT_EQ(0, TessroGetPathPixelStatistics(ctx, p.points.data(), p.verbs.data(), p.count(), 0, record.data()))
            << LastError();
        (void)t;
    }
    static Sums Expected(const Target& t, int x0, int y0, int x1, int y1) {
        Sums s;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const DWORD p = t.Pixel(x, y);
                s.words[1] += 1;
                const int words[3] = {2, 10, 18};
                const DWORD v[3] = {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
                for (int c = 0; c < 3; ++c) {
                    s.Add(words[c], v[c]);
                    s.Add(words[c] + 2, v[c] * v[c]);
                    s.Add(words[c] + 4, static_cast<std::uint64_t>(x) * v[c]);
                    s.Add(words[c] + 6, static_cast<std::uint64_t>(y) * v[c]);
                }
                s.Add(26, x);
                s.Add(28, y);
                s.Add(30, static_cast<std::uint64_t>(x) * x);
                s.Add(32, static_cast<std::uint64_t>(y) * y);
                s.Add(34, static_cast<std::uint64_t>(x) * y);
            }
        }
        return s;
    }
    DWORD FirstPixelWord(Target& t, int x, int y) {
        const BYTE* pixel = t.bits() + y * t.stride() + 4 * x;
        if (sizeof(void*) == 4) return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(pixel));
        return static_cast<DWORD>(pixel - ctx->rowZero) + 1;
    }
};

TEST_F(StatisticsTest, SumsOverTheFilledPixels) {
    for (DWORD compression : {DWORD(0), DWORD(TESSRO_BI_TRANSPARENCY)}) {
        Target t(40, 30, 32, compression);
        for (size_t i = 0; i < t.bytes().size(); ++i) t.bytes()[i] = static_cast<BYTE>((i * 37 + i / 7) & 0xFF);
        const std::vector<BYTE> before = t.bytes();
        Attach(t);
        ASSERT_EQ(0, TessroSetColour(ctx, 0x123456));
        const struct {
            int x0, y0, x1, y1;
        } rects[] = {{3, 2, 20, 17}, {7, 29, 8, 30}, {0, 0, 40, 30}, {39, 5, 40, 6}};
        std::vector<DWORD> record;
        for (const auto& r : rects) {
            SCOPED_TRACE(testing::Message() << r.x0 << "," << r.y0 << " " << r.x1 << "," << r.y1);
            PathBuilder p(30);
            p.Rect(r.x0, r.y0, r.x1, r.y1);
            Measure(t, p, record);
            const Sums expected = Expected(t, r.x0, r.y0, r.x1, r.y1);
            EXPECT_EQ(FirstPixelWord(t, r.x0, r.y0), record[0]);
            for (int w = 1; w < 36; ++w) EXPECT_EQ(expected.words[w], record[w]) << "word " << w;
        }
        // Nothing drawn, the fill style as it was.
        EXPECT_EQ(before, t.bytes());
        EXPECT_EQ(kTessroFillFlat, ctx->fillStyle);
    }
}

TEST_F(StatisticsTest, EmptyPassKeepsTheLastRecord) {
    Target t(8, 8, 32);
    std::fill(t.bytes().begin(), t.bytes().end(), 9);
    Attach(t);
    std::vector<DWORD> first, second;
    PathBuilder inside(8), outside(8);
    inside.Rect(1, 1, 3, 3);
    outside.Rect(20, 20, 30, 30);
    Measure(t, inside, first);
    EXPECT_EQ(4u, first[1]);
    Measure(t, outside, second);
    EXPECT_EQ(first, second);
    // A second pass over the same pixels starts from a cleared record.
    Measure(t, inside, second);
    EXPECT_EQ(first, second);
}

// Antialiased prepared fills on targets below 32 bits: covered pixels as the aliased fill
// draws them, uncovered ones untouched, half-covered ones between fill and target.
TEST_F(DrawTest, AntialiasedPreparedFillsBelow32Bits) {
    const struct {
        const char* name;
        WORD bits;
        DWORD mode;  // grey mode for the 8-bit grey target
        bool bitmap;  // a bitmap fill (row buffer and converter) instead of a graduation
    } cases[] = {
        {"8-bit grey", 8, 1, false}, {"8-bit grey, bitmap", 8, 1, true}, {"16-bit", 16, 0, false},
        {"16-bit, bitmap", 16, 0, true}, {"8-bit palette", 8, 0, false}, {"4-bit", 4, 0, false},
        {"4-bit, bitmap", 4, 0, true},
    };
    const DWORD white[4] = {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Target aliased(8, 2, c.bits), smooth(8, 2, c.bits);
        for (int pass = 0; pass < 2; ++pass) {
            Target& t = pass == 0 ? aliased : smooth;
            Attach(t, c.mode);
            ASSERT_EQ(0, TessroSetAntialias(ctx, pass));
            const TessroPoint g0 = Device(0, 0), g1 = Device(8, 0), g2 = Device(0, 2);
            std::vector<DWORD> table(3 + 4 * 256);
            table[0] = 256;
            if (c.bitmap) {
                const BITMAPINFOHEADER h = Header(2, 2, 32);
                ASSERT_EQ(0, TessroSetBitmapFill(ctx, &h, white, 0, &g0, &g1, &g2, 0, nullptr, nullptr, nullptr, nullptr,
                                                 nullptr, 0))
                    << LastError();
            } else {
                ASSERT_EQ(0, TessroBuildGraduationTable(ctx, 0xFFFFFF, 0xFFFFFF, 0, table.data())) << LastError();
                ASSERT_EQ(0, TessroSetGraduation(ctx, 0, table.data(), &g0, &g1, &g2)) << LastError();
            }
            PathBuilder p(2);
            p.Rect(1.5, 0, 4, 2);
            ASSERT_EQ(0, TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), 0)) << LastError();
        }
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(0u, smooth.Pixel(0, y));
            EXPECT_EQ(0u, smooth.Pixel(4, y));
            EXPECT_EQ(aliased.Pixel(2, y), smooth.Pixel(2, y));
            EXPECT_EQ(aliased.Pixel(3, y), smooth.Pixel(3, y));
            // The palette target may hold white at index 0.
            if (c.bits != 8 || c.mode == 1) { EXPECT_NE(0u, aliased.Pixel(2, y)); }
        }
        if (c.bits == 8 && c.mode == 1) {
            EXPECT_NEAR(128, static_cast<int>(smooth.Pixel(1, 0)), 12);
        }
    }
}

}  // namespace
