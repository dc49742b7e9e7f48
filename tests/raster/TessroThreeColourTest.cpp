// Three-colour fields: the colour at chosen fill coordinates (u, v) for each kind, inside the
// triangle, beyond its edges and corners, and on the lattice of the tiled kind.
#include "tests/raster/TessroDrawSupport.h"

namespace {

// Colours 0x00BBGGRR at the anchors; pixels hold blue low.
const DWORD kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
DWORD PixelOf(DWORD colour) { return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF); }

TEST_F(DrawTest, ThreeColourFieldKinds) {
    // p0 at pixel (40, 10)'s centre, 32 pixels to u = 256 and to v = 256: pixel (40 + u/8, 10 + v/8).
    const struct {
        DWORD kind;
        int u, v;
        DWORD pixel;
    } cases[] = {
        {0, 0, 0, PixelOf(kRed)},
        {0, 256, 0, PixelOf(kGreen)},
        {0, 0, 256, PixelOf(kBlue)},
        {0, -8, -8, PixelOf(kRed)},
        {0, 296, -8, PixelOf(kGreen)},
        {0, -8, 296, PixelOf(kBlue)},
        // Beyond the edge p0-p2: s = floor(16 x 256 / 264) = 15 along the red-blue ramp.
        {0, -8, 16, 0x00F0000F},
        {0, 128, 64, 0x003F8040},  // inside: red 63, green 128, blue 64
        // Beyond p0-p2 the ramp runs parallel to the median: at v <= 0 the first colour, rounded up.
        {1, -8, 0, 0x00FF0001},
        {1, 128, 64, 0x003F8040},
        {2, 0, 0, PixelOf(kRed)},
        {2, 256, 0, PixelOf(kGreen)},
        {2, 0, 256, PixelOf(kBlue)},
        {2, 256, 256, PixelOf(kRed)},
        {2, -256, 0, PixelOf(kBlue)},
        // Inside a cell: below its diagonal as the inside of the triangle, above it from the
        // far corner (red 129 = x + y - 255, green and blue 63 = 255 - 192).
        {2, 128, 64, 0x003F8040},
        {2, 192, 192, 0x00813F3F},
    };
    for (int perspective = 0; perspective < 2; ++perspective) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "kind " << c.kind << " at " << c.u << "," << c.v
                                            << (perspective ? " perspective" : ""));
            Target t(80, 48, 32);
            std::fill(t.bytes().begin(), t.bytes().end(), 0x55);
            Attach(t);
            if (perspective) {
                // Nearly the same parallelogram; whole weights rounded at each pixel's top left
                // corner, so the anchors sit 1/16 pixel up and left of the centres above.
                const TessroPoint p0 = Device(39.9375, 9.9375), p1 = Device(71.9375, 9.9375),
                                  p2 = Device(71.9375, 41.9475), p3 = Device(39.9375, 41.9375);
                ASSERT_EQ(0, TessroSetPerspectiveThreeColourFill(ctx, c.kind, kRed, kGreen, kBlue, &p0, &p1, &p2, &p3));
                ASSERT_EQ(0, ctx->draw.colour.rowAffine);
            } else {
                const TessroPoint p0 = Device(40.5, 10.5), p1 = Device(72.5, 10.5), p2 = Device(40.5, 42.5);
                ASSERT_EQ(0, TessroSetThreeColourFill(ctx, c.kind, kRed, kGreen, kBlue, &p0, &p1, &p2));
            }
            ASSERT_EQ(0, FillDevice(0, 0, 80, 48)) << LastError();
            EXPECT_EQ(c.pixel, t.Pixel(40 + c.u / 8, 10 + c.v / 8));
        }
    }
}

// Across a vanishing line the weights grow without bound: every pixel is still one of the
// field's blends, with a clear fourth byte.
TEST_F(DrawTest, PerspectiveThreeColourFieldAcrossTheVanishingLine) {
    for (DWORD kind : {0u, 1u, 2u}) {
        SCOPED_TRACE(kind);
        Target t(48, 32, 32);
        Attach(t);
        const TessroPoint p0 = Device(10, 10), p1 = Device(20, 12), p2 = Device(20, 18), p3 = Device(10, 20);
        ASSERT_EQ(0, TessroSetPerspectiveThreeColourFill(ctx, kind, kRed, kGreen, kBlue, &p0, &p1, &p2, &p3));
        ASSERT_EQ(0, FillDevice(0, 0, 48, 32)) << LastError();
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 48; ++x) ASSERT_EQ(0u, t.Pixel(x, y) >> 24) << x << "," << y;
        }
    }
}

}  // namespace
