// 3D scenes: triangles, depth, shading, texturing and the antialiased output.
#include <array>
#include <vector>

#include "tests/tessro3d/Tessro3DTestSupport.h"

using namespace tessro3d_test;

namespace {

constexpr std::int32_t kFar = 1 << 30;  // perspective distance: z = 0 keeps x and y

Tessro3DVertex V(double x, double y, std::int32_t z = 0) { return Tessro3DVertex{Px(x), Px(y), z}; }

class SceneTest : public Tessro3DFixture {
 protected:
  Target target{32, 32, 32};
  void SetUp() override {
    Tessro3DFixture::SetUp();
    ASSERT_EQ(target.Select(), 0);
    SetPixelMatrix();
  }
  // Two triangles covering [x0, x1) x [y0, y1), wound the way the scene draws.
  static void FlatRect(double x0, double y0, double x1, double y1, Tessro3DColour c, std::int32_t z = 0) {
    Tessro3DVertex a = V(x0, y0, z), b = V(x0, y1, z), cc = V(x1, y0, z), d = V(x1, y1, z);
    ASSERT_EQ(Tessro3DDrawFlatTriangle(&a, &b, &cc, &c), 0);
    ASSERT_EQ(Tessro3DDrawFlatTriangle(&b, &d, &cc, &c), 0);
  }
  std::vector<std::string> Picture(int x0, int y0, int x1, int y1, std::uint32_t background) const {
    std::vector<std::string> rows;
    for (int y = y0; y < y1; ++y) {
      std::string row;
      for (int x = x0; x < x1; ++x) row += target.Pixel32(x, y) == background ? '.' : '#';
      rows.push_back(row);
    }
    return rows;
  }
};

TEST_F(SceneTest, FlatTrianglesWriteMarkedPixelsInsideOnly) {
  target.Fill32(0x11223344);
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0x00FF00FF), 0);
  FlatRect(2, 3, 6, 5, {1.0f, 0.5f, 0.0f});
  ASSERT_EQ(Tessro3DEndScene(), 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
      EXPECT_EQ(target.Pixel32(x, y), inside ? 0x01FF8000u : 0x11223344u) << x << "," << y;
    }
}

TEST_F(SceneTest, EdgesCoverRowCentresAndPixelCentres) {
  // An edge from (10, 4.5) to (20, 25) covers rows 5..24; the left edge through a centre
  // leaves that pixel out, the right edge through one takes it in.
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  Tessro3DColour white{1, 1, 1};
  // A quad whose left side is that edge and whose right side is x = 30; each triangle is
  // given in both windings, one of which is drawn.
  Tessro3DVertex a = V(10, 4.5), b = V(20, 25), r1 = V(30, 4.5), r2 = V(30, 25);
  for (const auto& t : {std::array<Tessro3DVertex*, 3>{&a, &b, &r2}, std::array<Tessro3DVertex*, 3>{&a, &r2, &r1}}) {
    ASSERT_EQ(Tessro3DDrawFlatTriangle(t[0], t[1], t[2], &white), 0);
    ASSERT_EQ(Tessro3DDrawFlatTriangle(t[0], t[2], t[1], &white), 0);
  }
  Tessro3DVertex p = V(10.5, 26), q = V(10.5, 27), r = V(20.5, 26), s = V(20.5, 27);
  ASSERT_EQ(Tessro3DDrawFlatTriangle(&p, &q, &r, &white), 0);
  ASSERT_EQ(Tessro3DDrawFlatTriangle(&q, &s, &r, &white), 0);
  ASSERT_EQ(Tessro3DEndScene(), 0);
  auto rowTouched = [&](int y) {
    for (int x = 0; x < 32; ++x)
      if (target.Pixel32(x, y)) return true;
    return false;
  };
  EXPECT_FALSE(rowTouched(4));
  EXPECT_TRUE(rowTouched(5));
  EXPECT_TRUE(rowTouched(24));
  EXPECT_FALSE(rowTouched(25));
  EXPECT_EQ(target.Pixel32(9, 5), 0u);  // the edge's x at row 5 is 10.49
  EXPECT_NE(target.Pixel32(10, 5), 0u);
  EXPECT_EQ(Picture(9, 26, 23, 27, 0)[0], "..##########..");  // pixels 11..20
}

TEST_F(SceneTest, OneWindingIsDrawnAndBoundsCountDiscardedVertices) {
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  TessroRect bounds;
  ASSERT_EQ(Tessro3DGetSceneBounds(&bounds), 0);
  EXPECT_LE(bounds.x1, bounds.x0);
  Tessro3DVertex a = V(1, 1), b = V(9, 1), c = V(1, 7);  // facing away
  Tessro3DColour white{1, 1, 1};
  ASSERT_EQ(Tessro3DDrawFlatTriangle(&a, &b, &c, &white), 0);
  ASSERT_EQ(Tessro3DGetSceneBounds(&bounds), 0);
  EXPECT_EQ(bounds.x0, 1);
  EXPECT_EQ(bounds.y0, 1);
  EXPECT_EQ(bounds.x1, 9);
  EXPECT_EQ(bounds.y1, 7);
  ASSERT_EQ(Tessro3DEndScene(), 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(target.Pixel32(x, y), 0u);
  EXPECT_EQ(Tessro3DGetSceneBounds(nullptr), -1);
  EXPECT_EQ(LastError(), 6);
}

TEST_F(SceneTest, NearestSurfaceWinsWhateverTheOrder) {
  const Tessro3DColour red{1, 0, 0}, blue{0, 0, 1};
  for (bool nearFirst : {true, false}) {
    target.Fill32(0);
    ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
    if (nearFirst) {
      FlatRect(0, 0, 8, 8, red, 5000);
      FlatRect(4, 2, 12, 8, blue, 0);
    } else {
      FlatRect(4, 2, 12, 8, blue, 0);
      FlatRect(0, 0, 8, 8, red, 5000);
    }
    ASSERT_EQ(Tessro3DEndScene(), 0);
    EXPECT_EQ(target.Pixel32(6, 4), 0x01FF0000u) << nearFirst;
    EXPECT_EQ(target.Pixel32(10, 4), 0x010000FFu) << nearFirst;
  }
  // At equal depth, of two triangles starting on the same row the one added last shows.
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  FlatRect(0, 10, 8, 12, red);
  FlatRect(0, 10, 8, 12, blue);
  ASSERT_EQ(Tessro3DEndScene(), 0);
  EXPECT_EQ(target.Pixel32(3, 11), 0x010000FFu);
}

TEST_F(SceneTest, ShadingInterpolatesAtPixelCentresAndSkipsEqualBytes) {
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  Tessro3DVertex a = V(0, 0), b = V(0, 4), c = V(16, 0), d = V(16, 4);
  Tessro3DColour dark{0, 0.25f, 0}, light{1, 0.25f, 0};
  ASSERT_EQ(Tessro3DDrawTriangle(&a, &b, &c, &dark, &dark, &light), 0);
  ASSERT_EQ(Tessro3DDrawTriangle(&b, &d, &c, &dark, &light, &light), 0);
  // Nearly equal colours: one byte, so one colour everywhere.
  Tessro3DVertex e = V(0, 8), f = V(0, 12), g = V(16, 8);
  Tessro3DColour c1{0.5f, 0.5f, 0.5f}, c2{0.501f, 0.501f, 0.501f};
  ASSERT_EQ(Tessro3DDrawTriangle(&e, &f, &g, &c1, &c2, &c2), 0);
  ASSERT_EQ(Tessro3DEndScene(), 0);
  for (int x = 0; x < 16; ++x) {
    std::uint32_t p = target.Pixel32(x, 2);
    int expectedRed = static_cast<int>((x + 0.5) * 255.0 / 16.0 + 0.5);
    EXPECT_NEAR(int((p >> 16) & 0xFF), expectedRed, 1) << x;
    EXPECT_EQ(p & 0xFF00FFFFu, 0x01004000u) << x;  // green 0.25 -> 64, constant
  }
  EXPECT_EQ(target.Pixel32(1, 9), 0x01808080u);
  EXPECT_EQ(target.Pixel32(5, 8), 0x01808080u);
}

TEST_F(SceneTest, PaletteTargetsKeepPixelsNoTriangleWrote) {
  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  Target eight(16, 4, 8);
  std::fill(eight.pixels.begin(), eight.pixels.end(), 7);
  ASSERT_EQ(eight.Select(), 0);
  SetPixelMatrix();
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  FlatRect(0, 0, 4, 4, {1, 1, 1});
  FlatRect(10, 0, 14, 4, {1, 1, 1});
  ASSERT_EQ(Tessro3DEndScene(), 0);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(eight.Byte(x, 1), (x < 4 || (x >= 10 && x < 14)) ? 255 : 7) << x;
}

TEST_F(SceneTest, MisuseFailsCleanly) {
  EXPECT_EQ(Tessro3DEndScene(), -1);
  EXPECT_EQ(LastError(), 6);
  Tessro3DVertex a = V(0, 0), b = V(0, 4), c = V(4, 0);
  Tessro3DColour white{1, 1, 1};
  EXPECT_EQ(Tessro3DDrawFlatTriangle(&a, &b, &c, &white), -1);
  EXPECT_EQ(LastError(), 6);
  // A vertex at or behind the eye has no image: the triangle is left out.
  ASSERT_EQ(Tessro3DBeginScene(1000, 0), 0);
  Tessro3DVertex behind{Px(4), 0, 1000};
  EXPECT_EQ(Tessro3DDrawFlatTriangle(&a, &b, &behind, &white), 0);
  ASSERT_EQ(Tessro3DEndScene(), 0);
  EXPECT_EQ(target.Pixel32(1, 1), 0u);
  // A 2D path ends an open scene: its triangles are gone, not dangling.
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  ASSERT_EQ(Tessro3DDrawFlatTriangle(&a, &b, &c, &white), 0);
  TessroPoint pts[] = {{0, Px(20)}, {Px(5), Px(20)}};
  std::uint8_t verbs[] = {6, 2};
  Tessro3DSetColour(0xFF);
  ASSERT_EQ(Tessro3DDrawPathOutline(pts, verbs, 2, 0), 0);
  EXPECT_EQ(Tessro3DEndScene(), -1);
  EXPECT_EQ(target.Pixel32(1, 1), 0u);
  // Running out of memory while filing ends the scene too.
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  Heap::Refuse() = true;
  int result = 0;
  for (int i = 0; i < 4000 && result == 0; ++i) result = Tessro3DDrawFlatTriangle(&a, &b, &c, &white);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(LastError(), 14);
  Heap::Refuse() = false;
  EXPECT_EQ(Tessro3DEndScene(), -1);
  // No target: nothing to begin a scene on.
  Target none(8, 8, 32);
  ASSERT_EQ(Tessro3DSetBitmap(&none.header, nullptr, 0), 0);
  EXPECT_EQ(Tessro3DBeginScene(kFar, 0), -1);
  EXPECT_EQ(LastError(), 12);
}

// --- Texturing ----------------------------------------------------------------------------

TEST_F(SceneTest, TextureChecks) {
  RGBQUAD palette[16] = {};
  std::uint8_t bits[64] = {};
  struct Case {
    int bitCount, height;
    bool withPalette;
    int result, code;
  } cases[] = {
      {1, 2, true, -1, 1}, {1, 2, false, -1, 6}, {2, 2, true, -1, 1}, {33, 2, true, -1, 1},
      {8, 4095, true, 0, 0}, {8, 4096, true, -1, 1}, {8, -2, true, -1, 1}, {24, 2, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bitCount << " bpp, height " << c.height);
    std::uint32_t blank[40] = {};
    Tessro3DRestoreState(blank);
    BITMAPINFOHEADER h{};
    h.biWidth = 1;
    h.biHeight = c.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(c.bitCount);
    EXPECT_EQ(Tessro3DSetTexture(&h, bits, c.withPalette ? palette : nullptr), c.result);
    EXPECT_EQ(LastError(), c.code);
  }
}

struct Texture {
  BITMAPINFOHEADER header{};
  std::vector<std::uint8_t> bits;
  RGBQUAD palette[16] = {};
  Texture(int width, int height, int bitCount) {
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitCount);
    bits.assign(std::size_t((width * bitCount + 31) / 32 * 4) * height, 0);
  }
  int Set() { return Tessro3DSetTexture(&header, bits.data(), palette); }
};

TEST_F(SceneTest, TexturedPixelsAreLitAndBrightened) {
  Texture white(1, 1, 32);
  std::memset(white.bits.data(), 0xFF, 4);
  ASSERT_EQ(white.Set(), 0);
  Tessro3DTexCoord t{0, 0};
  const Tessro3DColour diffuse{1.0f, 0.5f, 0.0f}, none{0, 0, 0}, half{0.5f, 0.5f, 0.5f};
  Tessro3DVertex a = V(0, 0), b = V(0, 4), c = V(4, 0);
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  ASSERT_EQ(Tessro3DDrawFlatTexturedTriangle(&a, &b, &c, &diffuse, &none, &t, &t, &t), 0);
  Tessro3DVertex d = V(10, 0), e = V(10, 4), f = V(14, 0);
  ASSERT_EQ(Tessro3DDrawTexturedTriangle(&d, &e, &f, &diffuse, &diffuse, &diffuse, &half, &half, &half, &t, &t, &t), 0);
  ASSERT_EQ(Tessro3DEndScene(), 0);
  EXPECT_EQ(target.Pixel32(1, 1), 0x01FF8000u);
  EXPECT_EQ(target.Pixel32(11, 1), 0x01FFFF80u);

  // After a failing SetTexture the textured entries draw the plain colour.
  EXPECT_EQ(Tessro3DSetTexture(nullptr, nullptr, nullptr), -1);
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
  Tessro3DVertex g = V(20, 0), h = V(20, 4), i = V(24, 0);
  ASSERT_EQ(Tessro3DDrawFlatTexturedTriangle(&g, &h, &i, &half, nullptr, nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(Tessro3DEndScene(), 0);
  EXPECT_EQ(target.Pixel32(21, 1), 0x01808080u);
}

// A flat diffuse colour with a flat additive colour has the smallest textured record: stepping
// it must not touch the record after it (the row walk would follow a broken link).
TEST_F(SceneTest, FlatAdditiveTexturedTrianglesKeepTheirNeighbours) {
  Texture white(1, 1, 32);
  std::memset(white.bits.data(), 0xFF, 4);
  ASSERT_EQ(white.Set(), 0);
  Tessro3DTexCoord t{0, 0};
  const Tessro3DColour diffuse{0.5f, 0.5f, 0.5f}, additive{0.25f, 0.0f, 0.0f};
  auto draw = [&](int k) {
    Tessro3DVertex a = V(k * 6, 0), b = V(k * 6, 30), c = V(k * 6 + 5, 0);
    ASSERT_EQ(Tessro3DDrawFlatTexturedTriangle(&a, &b, &c, &diffuse, &additive, &t, &t, &t), 0);
  };
  for (int antialias = 0; antialias < 2; ++antialias) {
    SCOPED_TRACE(antialias);
    Tessro3DSetAntialias(antialias);
    target.Fill32(0);
    ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
    draw(0);
    ASSERT_EQ(Tessro3DEndScene(), 0);
    const std::uint32_t alone = target.Pixel32(1, 2);
    EXPECT_NE(alone, 0u);
    target.Fill32(0);
    ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
    for (int k = 0; k < 5; ++k) draw(k);
    ASSERT_EQ(Tessro3DEndScene(), 0);
    for (int k = 0; k < 5; ++k) {
      EXPECT_EQ(target.Pixel32(k * 6 + 1, 2), alone) << k;
      EXPECT_EQ(target.Pixel32(k * 6 + 1, 20), target.Pixel32(1, 20)) << k;
    }
  }
  Tessro3DSetAntialias(0);
}

TEST_F(SceneTest, TexelFetchByDepth) {
  Texture four(2, 1, 4);
  four.bits[0] = 0x12;  // column 0 the high nibble, column 1 the low one
  four.palette[1] = {0, 0, 0xFF, 0};
  four.palette[2] = {0xFF, 0, 0, 0};
  Texture sixteen(2, 1, 16);
  sixteen.bits[0] = 0xFF;
  sixteen.bits[1] = 0x7F;  // 0x7FFF white
  sixteen.bits[3] = 0x80;  // 0x8000 black
  struct Case {
    Texture* texture;
    std::uint32_t column0, column1;
  } cases[] = {{&four, 0x01FF0000u, 0x010000FFu}, {&sixteen, 0x01FFFFFFu, 0x01000000u}};
  const Tessro3DColour white{1, 1, 1}, none{0, 0, 0};
  for (const Case& c : cases) {
    ASSERT_EQ(c.texture->Set(), 0);
    target.Fill32(0);
    ASSERT_EQ(Tessro3DBeginScene(kFar, 0), 0);
    // u runs 0..2 texels across 2 pixels: column x samples texel x.
    Tessro3DVertex a = V(0, 0), b = V(0, 2), cc = V(2, 0), d = V(2, 2);
    Tessro3DTexCoord ta{0, 0}, tb{0, 0}, tc{Px(2), 0}, td{Px(2), 0};
    ASSERT_EQ(Tessro3DDrawFlatTexturedTriangle(&a, &b, &cc, &white, &none, &ta, &tb, &tc), 0);
    ASSERT_EQ(Tessro3DDrawFlatTexturedTriangle(&b, &d, &cc, &white, &none, &tb, &td, &tc), 0);
    ASSERT_EQ(Tessro3DEndScene(), 0);
    EXPECT_EQ(target.Pixel32(0, 0), c.column0);
    EXPECT_EQ(target.Pixel32(1, 0), c.column1);
  }
}

// --- Antialiasing -------------------------------------------------------------------------

TEST_F(SceneTest, AntialiasedResolveByFlags) {
  struct Case {
    std::uint32_t background;
    Tessro3DColour colour;
    double width;  // of the shape from x = 0, in pixels, one pixel high
    std::uint32_t before, covered, untouched;
  } cases[] = {
      {0x000000, {1, 1, 1}, 0.5, 0x00000000u, 0x00808080u, 0x00000000u},
      {TESSRO3D_SCENE_NO_BACKGROUND, {1, 1, 1}, 0.5, 0x00000000u, 0x80FFFFFFu, 0x00000000u},
      {TESSRO3D_SCENE_OVER_TARGET, {1, 0, 0}, 0.25, 0x000000FFu, 0x004000BFu, 0x000000FFu},
      {TESSRO3D_SCENE_CLEAR_OUTSIDE, {1, 1, 1}, 1.0, 0x12345678u, 0x00FFFFFFu, 0xFF808080u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.background);
    target.Fill32(c.before);
    Tessro3DSetAntialias(1);
    ASSERT_EQ(Tessro3DBeginScene(kFar, c.background), 0);
    FlatRect(0, 1, c.width, 2, c.colour);
    ASSERT_EQ(Tessro3DEndScene(), 0);
    EXPECT_EQ(target.Pixel32(0, 1), c.covered);
    EXPECT_EQ(target.Pixel32(5, 1), c.untouched);
    EXPECT_EQ(target.Pixel32(5, 0), c.untouched);
    EXPECT_EQ(target.Pixel32(5, 31), c.untouched);
  }
}

TEST_F(SceneTest, AntialiasedEdgesBetweenShapesAndEmptyScenes) {
  Tessro3DSetAntialias(1);
  target.Fill32(0x00ABCDEF);
  // An empty scene changes nothing, even with a background.
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0x00FF0000), 0);
  ASSERT_EQ(Tessro3DEndScene(), 0);
  EXPECT_EQ(target.Pixel32(3, 3), 0x00ABCDEFu);
  // Pixels fully covered resolve to the colour; a pixel between two shapes in the touched
  // range gets the background.
  ASSERT_EQ(Tessro3DBeginScene(kFar, 0x000000FF), 0);
  FlatRect(0, 0, 2, 1, {0, 1, 0});
  FlatRect(4, 0, 6, 1, {0, 1, 0});
  ASSERT_EQ(Tessro3DEndScene(), 0);
  EXPECT_EQ(target.Pixel32(1, 0), 0x0000FF00u);
  EXPECT_EQ(target.Pixel32(3, 0), 0x00FF0000u);
  EXPECT_EQ(target.Pixel32(5, 0), 0x0000FF00u);
  EXPECT_EQ(target.Pixel32(7, 0), 0x00ABCDEFu);
}

TEST_F(SceneTest, ClearOutsideLeavesPackedTargetsAlone) {
  // The outside marker is a 32-bit value: on an 8-bpp target it must not be spread over the
  // packed pixels or past the rows.
  Tessro3DSetPalette(Tessro3DSelectPalette(2));
  Target eight(8, 6, 8);
  std::fill(eight.pixels.begin(), eight.pixels.end(), 7);
  Tessro3DSetAntialias(1);
  ASSERT_EQ(eight.Select(), 0);
  SetPixelMatrix();
  ASSERT_EQ(Tessro3DBeginScene(kFar, TESSRO3D_SCENE_CLEAR_OUTSIDE), 0);
  FlatRect(2, 2, 4, 3, {1, 1, 1});
  ASSERT_EQ(Tessro3DEndScene(), 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(eight.Byte(x, y), (y == 2 && (x == 2 || x == 3)) ? 255 : 7) << x << "," << y;
  EXPECT_EQ(eight.pixels.back(), 7);
}

TEST_F(SceneTest, AntialiasedOverTargetNeedsAReadablePixel) {
  Target mono(16, 4, 1);
  ASSERT_EQ(Target(4, 4, 8).Select(), 0);
  Tessro3DSetAntialias(1);
  ASSERT_EQ(mono.Select(), 0);
  SetPixelMatrix();
  ASSERT_EQ(Tessro3DBeginScene(kFar, TESSRO3D_SCENE_OVER_TARGET), 0);
  FlatRect(0, 0, 0.5, 1, {1, 1, 1});
  EXPECT_EQ(Tessro3DEndScene(), -1);
  EXPECT_EQ(LastError(), 11);
}

}  // namespace
