// The preview's state badge: which state it names for the bar's state and hover, where its
// picture comes from and lands on the surface, and what happens when a picture cannot be loaded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "components/imgrex/ImageDecoder.h"
#include "document/OperationsServices.h"
#include "navbar/StateBadges.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

// Pictures come from here: a 3 x 2 picture whose opaque pixels carry the state's number, a
// clear top-right corner; loads can be made to fail.
class BadgeLoader : public COperationsServices {
 public:
  BadgeLoader() { SetOperationsServices(this); }
  ~BadgeLoader() override { SetOperationsServices(nullptr); }
  int LoadImage32(const CString& path, Bitmap32& bitmap) override {
    loads.push_back(std::string(path));
    if (fail) return -1;
    const std::uint32_t value = path.Find("Off") >= 0 ? 0x10 : path.Find("Over") >= 0 ? 0x11 : 0x13;
    // Bottom-up rows: the bottom row first; the copy reads the spare words behind the pixels.
    std::uint32_t pixels[6 + kBitmap32SpareWords] = {value, value, value, value, value, 0xFFFFFFFFu};
    return bitmap.CreateFromPixels(3, 2, pixels) == 0 ? 0 : -1;
  }
  std::vector<std::string> loads;
  bool fail = false;
};

class StateBadgesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.CreateDefaultButtons();
    for (int state : {0, 1, 3}) bar.SetStateEnabled(state, 1);
    ASSERT_EQ(0, surface.CreateFilled(10, 8, 0x00ABCDEFu));
    CStateBadges::DestroyInstance();  // no pictures loaded by an earlier test
  }
  void TearDown() override { CStateBadges::DestroyInstance(); }
  // The value the surface holds at (x, y), rows counted from the bottom.
  std::uint32_t At(int x, int y) const { return surface.Pixels()[y * surface.Width() + x]; }
  int Draw() {
    CStateBadges* badges = CStateBadges::GetInstance(&surface);
    return badges ? badges->Draw() : -1;
  }

  CFakeNavBarServices services;
  CNavBar& bar = services.bar;
  BadgeLoader loader;
  Bitmap32 surface;
};

}  // namespace

TEST_F(StateBadgesTest, BadgeNamesTheStateShown) {
  struct Case {
    int current, hoverButton, hoverKind;
    bool selectedEnabled;
    int expected;
  } const cases[] = {
      {0, -1, 1, true, 0},   // nothing hovered: Off
      {0, 1, 1, true, 1},    // hovered: Over
      {0, 1, 3, true, 3},    // mouse button held: Selected, not Clicked
      {0, 1, 3, false, 0},   // held where the Selected state is off: no highlight, Off
      {3, 1, 1, true, 3},    // a state chosen in the editor wins over the hover
      {2, -1, 1, true, 2},   // Clicked
  };
  for (const Case& c : cases) {
    bar.SetStateEnabled(3, c.selectedEnabled ? 1 : 0);
    bar.SetCurrentState(c.current, 0, 0);
    bar.SetHover(c.hoverButton, c.hoverKind);
    EXPECT_EQ(c.expected, CStateBadges::BadgeState(bar)) << c.current << " " << c.hoverButton << " " << c.hoverKind;
  }
}

TEST_F(StateBadgesTest, PicturesComeFromTheRootsGraphicsFolder) {
  const CString root = services.GetRootPath();
  EXPECT_EQ(root + "SysResources\\Graphics\\NavMouseOff.qgt", CStateBadges::PicturePath(0));
  EXPECT_EQ(root + "SysResources\\Graphics\\NavMouseOver.qgt", CStateBadges::PicturePath(1));
  EXPECT_EQ(CString(), CStateBadges::PicturePath(2));
  EXPECT_EQ(root + "SysResources\\Graphics\\NavSelected.qgt", CStateBadges::PicturePath(3));
  EXPECT_EQ(CString(), CStateBadges::PicturePath(4));
  EXPECT_EQ(CString(), CStateBadges::PicturePath(-1));
}

TEST_F(StateBadgesTest, BadgeIsBlendedTwoPixelsInFromTheBottomLeft) {
  bar.SetHover(0, 1);
  ASSERT_EQ(1, Draw());
  EXPECT_EQ(0x11u, At(2, 2));
  EXPECT_EQ(0x11u, At(4, 2));
  EXPECT_EQ(0x11u, At(3, 3));
  EXPECT_EQ(0x00ABCDEFu, At(4, 3)) << "the clear corner leaves the surface";
  EXPECT_EQ(0x00ABCDEFu, At(5, 2));
  EXPECT_EQ(0x00ABCDEFu, At(1, 2));
  EXPECT_EQ(0x00ABCDEFu, At(2, 1));
  EXPECT_EQ(0x00ABCDEFu, At(2, 4));
  // Drawn again over itself, nothing changes; the picture is loaded once.
  ASSERT_EQ(1, Draw());
  EXPECT_EQ(0x11u, At(2, 2));
  EXPECT_EQ(0x00ABCDEFu, At(4, 3));
  EXPECT_EQ(1u, loader.loads.size());

  // A surface too small for the margin is left alone.
  Bitmap32 tiny;
  ASSERT_EQ(0, tiny.CreateFilled(2, 2, 7));
  EXPECT_EQ(0, CStateBadges::GetInstance(&tiny)->Draw());
  EXPECT_EQ(7u, tiny.Pixels()[3]);
  EXPECT_EQ(nullptr, CStateBadges::GetInstance(nullptr));
}

TEST_F(StateBadgesTest, NothingIsDrawnWithoutABadgeOrABar) {
  bar.SetCurrentState(2, 0, 0);  // the Clicked state has no badge
  EXPECT_EQ(0, Draw());
  bar.SetCurrentState(0, 0, 0);
  services.navBarMode = false;
  EXPECT_EQ(0, Draw());
  services.navBarMode = true;

  // A picture that does not load draws nothing, and the next draw tries again.
  bar.SetCurrentState(3, 0, 0);
  loader.fail = true;
  const std::size_t before = loader.loads.size();
  EXPECT_EQ(0, Draw());
  EXPECT_EQ(0x00ABCDEFu, At(2, 2));
  loader.fail = false;
  EXPECT_EQ(1, Draw());
  EXPECT_EQ(before + 2, loader.loads.size());
  EXPECT_EQ(0x13u, At(2, 2));
}

// The pictures the program ships: small GIF labels whose pixels are each either opaque or
// clear (so a badge drawn over itself stays as it is), with clear corners.
TEST(StateBadgePictures, ShippedPicturesAreSmallLabelsWithHardEdges) {
  const char* source = std::getenv("BW_SOURCE");
  ASSERT_NE(nullptr, source);
  for (const char* name : {"NavMouseOff.qgt", "NavMouseOver.qgt", "NavSelected.qgt"}) {
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(imgrex::ReadFileBytes(std::string(source) + "/resources/root/SysResources/Graphics/" + name, bytes))
        << name;
    imgrex::ImageInfo info;
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(imgrex::Result::kOk, imgrex::Decode(bytes.data(), bytes.size(), info, pixels)) << name;
    EXPECT_EQ(imgrex::Format::kGif, info.format);
    EXPECT_LE(info.width, 64) << name;
    EXPECT_LE(info.height, 16) << name;
    int opaque = 0;
    for (std::uint32_t p : pixels) {
      const std::uint32_t alpha = p >> 24;
      EXPECT_TRUE(alpha == 0 || alpha == 0xFF) << name << std::hex << " " << p;
      opaque += alpha == 0;
    }
    EXPECT_GT(opaque, info.width * info.height / 2) << name;
    for (std::size_t corner : {std::size_t(0), std::size_t(info.width - 1), pixels.size() - 1})
      EXPECT_EQ(0xFFu, pixels[corner] >> 24) << name;
  }
}
