// Radial, square and conical graduation spans: pixels against the geometry they sample
// (distance, larger axis coordinate, direction), the table options, every target depth and
// the four-point row-affine mapping against its three-point equivalent.
#include <cmath>

#include "tests/raster/TessroDrawSupport.h"

int CountingAllocator::allocations = 0;
int CountingAllocator::releases = 0;
bool CountingAllocator::failNext = false;

namespace {

const double kPi = 3.14159265358979323846;
const DWORD kRadial = 1, kConical = 2, kSquare = 3, kRepeat = 0x80;

// A table whose entry i carries i in every byte (the dither rows too), so every depth shows
// the entry index: the 8-bit pixel, the 16-bit pixel's low byte, the nibble or bit of it.
std::vector<DWORD> EntryTable(DWORD count) {
    std::vector<DWORD> table(3 + 4 * count);
    table[0] = count;
    table[2] = 0x00ABCDEF;
    for (DWORD row = 0; row < 4; ++row) {
        for (DWORD i = 0; i < count; ++i) table[3 + row * count + i] = count == 256 ? i * 0x01010101u : i;
    }
    return table;
}

class GraduationSpanTest : public DrawTest {
protected:
    // Fills the whole target with a three-point graduation; centre, A and B in device pixels.
    std::vector<DWORD> Draw(Target& t, DWORD style, const std::vector<DWORD>& table, double cx, double cy,
                            double ax, double ay, double bx, double by) {
        Attach(t);
        const TessroPoint p0 = Device(cx, cy), p1 = Device(cx + ax, cy + ay), p2 = Device(cx + bx, cy + by);
        EXPECT_EQ(0, TessroSetGraduation(ctx, style, table.data(), &p0, &p1, &p2));
        EXPECT_EQ(0, FillDevice(0, 0, t.header()->biWidth, t.header()->biHeight)) << LastError();
        std::vector<DWORD> pixels = Pixels(t);
        // A 32-bit target holds the entry itself: the index in every byte of a short table.
        if (t.header()->biBitCount == 32 && table[0] == 256) {
            for (DWORD& p : pixels) p &= 0xFF;
        }
        return pixels;
    }
    static std::vector<DWORD> Pixels(const Target& t) {
        std::vector<DWORD> out;
        for (int y = 0; y < t.header()->biHeight; ++y) {
            for (int x = 0; x < t.header()->biWidth; ++x) out.push_back(t.Pixel(x, y));
        }
        return out;
    }
};

// Distance of pixel (x, y) in the metric of the axes, sampled as the radial rows do: x at the
// pixel's left edge against the centre line of the row's middle, the row's smallest distance
// at its top edge.
double RadialDistance(int x, int y, double cx, double cy, double ax, double ay, double bx, double by) {
    const double s = ay * ay + by * by, d = ax * by - ay * bx;
    const double k = (ax * ay + bx * by) / s;
    const double xc = cx + k * (y + 0.5 - cy);
    const double rMin2 = (y - cy) * (y - cy) / s;
    return std::sqrt(s / (d * d) * (x - xc) * (x - xc) + rMin2);
}

TEST_F(GraduationSpanTest, RadialEntriesFollowTheDistanceInTheAxesMetric) {
    const struct {
        const char* name;
        double cx, cy, ax, ay, bx, by;
    } shapes[] = {
        {"circle", 32, 32, 20, 0, 0, 20},
        {"tilted ellipse", 30.3, 33.6, 22, 9, -6, 14},
    };
    const struct {
        DWORD style;
        DWORD count;
    } options[] = {{kRadial, 256}, {kRadial, 2048}, {kRadial | kRepeat, 256}, {kRadial | kRepeat, 2048}};
    for (const auto& shape : shapes) {
        for (const auto& option : options) {
            SCOPED_TRACE(testing::Message() << shape.name << " style " << option.style << " length " << option.count);
            Target t(64, 64, 32);
            const std::vector<DWORD> pixels = Draw(t, option.style, EntryTable(option.count), shape.cx, shape.cy,
                                                   shape.ax, shape.ay, shape.bx, shape.by);
            const bool repeat = (option.style & kRepeat) != 0;
            int off = 0;
            for (int y = 0; y < 64; ++y) {
                for (int x = 0; x < 64; ++x) {
                    const double r = RadialDistance(x, y, shape.cx, shape.cy, shape.ax, shape.ay, shape.bx, shape.by);
                    const double n = option.count;
                    double expected;
                    if (repeat) {
                        expected = std::fmod(std::nearbyint(r * n), n);
                    } else if (r >= 1) {
                        expected = n - 1;
                    } else {
                        // The long table's roots are floor(8 sqrt(h + 1/2)) of h = floor(65536 r^2).
                        const double h = std::floor(65536 * r * r);
                        expected = option.count == 256 ? std::floor(std::sqrt(h)) : std::floor(8 * std::sqrt(h + 0.5));
                    }
                    double diff = std::fabs(expected - pixels[y * 64 + x]);
                    if (repeat) diff = std::fmin(diff, n - diff);
                    // Fixed-point stepping and the root tables may land one entry off at a band edge.
                    if (diff > 1) ++off;
                    ASSERT_LE(diff, 2) << x << "," << y << " r " << r;
                }
            }
            EXPECT_EQ(0, off);
        }
    }
}

TEST_F(GraduationSpanTest, RadialRimRowsAndCentre) {
    Target t(40, 40, 32);
    // Centre on a row boundary: the rows whose top edge lies at the rim distance are all rim.
    const std::vector<DWORD> p = Draw(t, kRadial, EntryTable(256), 20, 20, 10, 0, 0, 10);
    for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(255u, p[10 * 40 + x]) << x;
        EXPECT_EQ(255u, p[30 * 40 + x]) << x;
    }
    EXPECT_EQ(0u, p[20 * 40 + 20]);
    EXPECT_LT(p[11 * 40 + 20], 255u);
    // Beyond the chord but inside the span: the end entry, never entry 0.
    EXPECT_EQ(255u, p[20 * 40 + 0]);
    EXPECT_EQ(255u, p[20 * 40 + 39]);
    // Repeating: the ramp starts again at the rim.
    const std::vector<DWORD> r = Draw(t, kRadial | kRepeat, EntryTable(256), 20, 20, 10, 0, 0, 10);
    EXPECT_EQ(0u, r[20 * 40 + 30]);
    EXPECT_EQ(128u, r[20 * 40 + 25]);
    EXPECT_EQ(0u, r[20 * 40 + 20]);
}

TEST_F(GraduationSpanTest, SquareEntriesFollowTheLargerAxisCoordinate) {
    const struct {
        DWORD style;
        DWORD count;
    } options[] = {{kSquare, 256}, {kSquare, 2048}, {kSquare | kRepeat, 256}};
    const double cx = 31.3, cy = 32.6, ax = 16, ay = 4, bx = -3, by = 12;
    for (const auto& option : options) {
        SCOPED_TRACE(testing::Message() << "style " << option.style << " length " << option.count);
        Target t(64, 64, 32);
        const std::vector<DWORD> pixels = Draw(t, option.style, EntryTable(option.count), cx, cy, ax, ay, bx, by);
        const double n = option.count, d = ax * by - ay * bx;
        int off = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const double px = x + 0.5 - cx, py = y + 0.5 - cy;
                const double u = std::fabs(n * (px * by - py * bx) / d), v = std::fabs(n * (ax * py - ay * px) / d);
                // Repeating: each coordinate runs a mirrored ramp of period 2L.
                const auto mirror = [&](double c) {
                    if (!(option.style & kRepeat)) return c;
                    c = std::fmod(c, 2 * n);
                    return c >= n ? 2 * n - c : c;
                };
                const double m = std::fmax(mirror(u), mirror(v));
                const double expected = std::fmin(std::floor(m), n - 1);
                const double diff = std::fabs(expected - pixels[y * 64 + x]);
                if (diff > 0) ++off;
                ASSERT_LE(diff, 1) << x << "," << y;
            }
        }
        // Only pixels on a band edge may round the other way.
        EXPECT_LT(off, 64);
    }
}

TEST_F(GraduationSpanTest, ConicalEntriesFollowTheDirectionFromTheStart) {
    for (DWORD count : {256u, 2048u}) {
        SCOPED_TRACE(count);
        Target t(64, 48, 32);
        // Start direction up and to the right (device y grows downwards).
        const double cx = 30, cy = 22, sx = 10, sy = -7;
        const std::vector<DWORD> pixels = Draw(t, kConical, EntryTable(count), cx, cy, sx, sy, sx, sy);
        const double start = std::atan2(sy, sx);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                double phi = std::atan2(y + 0.5 - cy, x + 0.5 - cx) - start;
                phi = std::fabs(std::remainder(phi, 2 * kPi));
                const double expected = std::fmin(std::floor(phi / kPi * count), count - 1);
                // The angle tables resolve the tangent to 1/1024.
                ASSERT_NEAR(expected, pixels[y * 64 + x], count / 256.0 + 1) << x << "," << y;
            }
        }
    }
    // Mirrored about the start direction: rows above and below a horizontal start match.
    Target t(41, 40, 32);
    const std::vector<DWORD> p = Draw(t, kConical, EntryTable(256), 20, 20, 10, 0, 10, 0);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 41; ++x) ASSERT_NEAR(p[y * 41 + x], p[(39 - y) * 41 + x], 1) << x << "," << y;
    }
}

// Every depth shows the entry index the 32-bit target gets.
TEST_F(GraduationSpanTest, EveryDepthTakesTheSameEntries) {
    const struct {
        WORD bits;
        DWORD mask;
    } depths[] = {{1, 1}, {4, 0xF}, {8, 0xFF}, {16, 0xFF}};
    const DWORD styles[] = {kRadial, kRadial | kRepeat, kSquare, kSquare | kRepeat, kConical};
    for (DWORD style : styles) {
        Target wide(37, 21, 32);
        const std::vector<DWORD> want = Draw(wide, style, EntryTable(256), 17.5, 10.2, 12, 3, -2, 9);
        for (const auto& depth : depths) {
            SCOPED_TRACE(testing::Message() << "style " << style << " bits " << depth.bits);
            Target t(37, 21, depth.bits);
            const std::vector<DWORD> got = Draw(t, style, EntryTable(256), 17.5, 10.2, 12, 3, -2, 9);
            for (size_t i = 0; i < got.size(); ++i) {
                // 1 bpp takes bit 7 - (x AND 7) of the pattern's low byte.
                const DWORD x = static_cast<DWORD>(i % 37);
                // 4 bpp: the high nibble of the pattern byte at even columns, the low at odd.
                DWORD expect = want[i] & depth.mask;
                if (depth.bits == 1) expect = (want[i] >> (7 - (x & 7))) & 1;
                if (depth.bits == 4) expect = (x & 1) ? want[i] & 0xF : want[i] >> 4;
                ASSERT_EQ(expect, got[i] & depth.mask) << i;
            }
        }
    }
    // A 2-bit target has no spans for them.
    Target two(8, 8, 2);
    Attach(two);
    const TessroPoint p0 = Device(4, 4), p1 = Device(8, 4), p2 = Device(4, 8);
    for (DWORD style : styles) {
        const std::vector<DWORD> table = EntryTable(256);
        ASSERT_EQ(0, TessroSetGraduation(ctx, style, table.data(), &p0, &p1, &p2));
        EXPECT_EQ(-1, FillDevice(0, 0, 8, 8));
        EXPECT_EQ(TESSRO_ERROR_INVALID_BITMAP_DEPTH, LastError());
    }
}

// A parallelogram given by four points maps rows affinely: the same picture as its three-point
// form, within a step of rounding.
TEST_F(GraduationSpanTest, RowAffineFourPointsMatchThreePoints) {
    const DWORD styles[] = {kRadial, kRadial | kRepeat, kSquare, kSquare | kRepeat};
    const double cx = 24.4, cy = 20.7, ax = 14, ay = 3, bx = -4, by = 11;
    for (DWORD style : styles) {
        SCOPED_TRACE(style);
        Target three(48, 40, 32), four(48, 40, 32);
        // Square rows of the four-point form are sampled at their top edge, the three-point
        // ones at their middle: the same picture half a pixel lower.
        const double shift = (style & 0x7F) == kSquare ? 0.5 : 0.0;
        const std::vector<DWORD> want = Draw(three, style, EntryTable(256), cx, cy + shift, ax, ay, bx, by);
        Attach(four);
        const TessroPoint p0 = Device(cx, cy), p1 = Device(cx + ax, cy + ay),
                          p2 = Device(cx + ax + bx, cy + ay + by), p3 = Device(cx + bx, cy + by);
        const std::vector<DWORD> table = EntryTable(256);
        ASSERT_EQ(0, TessroSetPerspectiveGraduation(ctx, style, table.data(), &p0, &p1, &p2, &p3));
        ASSERT_EQ(1, ctx->draw.colour.rowAffine);
        ASSERT_EQ(0, FillDevice(0, 0, 48, 40)) << LastError();
        std::vector<DWORD> got = Pixels(four);
        for (DWORD& p : got) p &= 0xFF;
        int off = 0;
        for (size_t i = 0; i < got.size(); ++i) {
            double diff = std::fabs(static_cast<double>(want[i]) - got[i]);
            if (style & kRepeat) diff = std::fmin(diff, 256 - diff);
            if (diff > 0) ++off;
            ASSERT_LE(diff, 2) << i % 48 << "," << i / 48;
        }
        EXPECT_LT(off, static_cast<int>(got.size()) / 4);
    }
}

// Four points that are nearly a parallelogram take the perspective spans and give nearly the
// three-point picture.
TEST_F(GraduationSpanTest, PerspectiveFourPointsFollowTheirQuadrilateral) {
    const DWORD styles[] = {kRadial, kRadial | kRepeat, kSquare, kSquare | kRepeat};
    const double cx = 24.4, cy = 20.7, ax = 14, ay = 3, bx = -4, by = 11;
    for (DWORD style : styles) {
        SCOPED_TRACE(style);
        Target three(48, 40, 32), four(48, 40, 32);
        // Perspective square spans sample each pixel at its top left corner.
        const double shift = (style & 0x7F) == kSquare ? 0.5 : 0.0;
        const std::vector<DWORD> want =
            Draw(three, style, EntryTable(256), cx + shift, cy + shift, ax, ay, bx, by);
        Attach(four);
        const TessroPoint p0 = Device(cx, cy), p1 = Device(cx + ax, cy + ay),
                          p2 = Device(cx + ax + bx + 0.02, cy + ay + by), p3 = Device(cx + bx, cy + by);
        const std::vector<DWORD> table = EntryTable(256);
        ASSERT_EQ(0, TessroSetPerspectiveGraduation(ctx, style, table.data(), &p0, &p1, &p2, &p3));
        ASSERT_EQ(0, ctx->draw.colour.rowAffine);
        ASSERT_EQ(0, FillDevice(0, 0, 48, 40)) << LastError();
        std::vector<DWORD> got = Pixels(four);
        int off = 0;
        for (size_t i = 0; i < got.size(); ++i) {
            got[i] &= 0xFF;
            double diff = std::fabs(static_cast<double>(want[i]) - got[i]);
            if (style & kRepeat) diff = std::fmin(diff, 256 - diff);
            if (diff > 1) ++off;
            ASSERT_LE(diff, 16) << i % 48 << "," << i / 48;
        }
        // Band edges and the folds of the repeating ramps round either way.
        EXPECT_LT(off, static_cast<int>(got.size()) / 6);
    }
}

// A quadrilateral whose vanishing line crosses the target: the quotients grow without bound
// there, and every pixel still takes an entry of the table (the tables are sized exactly).
TEST_F(GraduationSpanTest, PerspectiveSpansAcrossTheVanishingLine) {
    const DWORD styles[] = {kRadial, kRadial | kRepeat, kSquare, kSquare | kRepeat};
    for (DWORD count : {256u, 2048u}) {
        for (DWORD style : styles) {
            for (WORD bits : {8, 32}) {
                SCOPED_TRACE(testing::Message() << "style " << style << " length " << count << " bits " << bits);
                Target t(48, 32, bits);
                Attach(t);
                const TessroPoint p0 = Device(10, 10), p1 = Device(20, 12), p2 = Device(20, 18), p3 = Device(10, 20);
                const std::vector<DWORD> table = EntryTable(count);
                ASSERT_EQ(0, TessroSetPerspectiveGraduation(ctx, style, table.data(), &p0, &p1, &p2, &p3));
                ASSERT_EQ(0, ctx->draw.colour.rowAffine);
                ASSERT_EQ(0, FillDevice(0, 0, 48, 32)) << LastError();
                if (bits == 32) {
                    for (int y = 0; y < 32; ++y) {
                        for (int x = 0; x < 48; ++x) ASSERT_LT(t.Pixel(x, y) & 0xFFFF, count > 256 ? count : 0x10000u);
                    }
                }
            }
        }
    }
}

}  // namespace
