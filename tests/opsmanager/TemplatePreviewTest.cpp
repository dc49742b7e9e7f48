// The template handler and its preview window with a fake engine: what a load puts in the
// record, slot writes, rendering failures, and the painted preview read back from a memory
// device context (frame, background, design) with the state animation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap/BitmapServices.h"
#include "bitmap/TessroContextConversion.h"
#include "document/OperationsManager.h"
#include "raster/Tessro.h"
#include "document/RenderRequest.h"
#include "document/TemplateCOM.h"
#include "document/TemplateHandler.h"
#include "document/TemplateWnd.h"
#include "tests/opsmanager/FakeOperationsServices.h"
#include "tests/opsmanager/FakeStyleKitEngine.h"

namespace {

FakeSlotSpec Spec(LONG type, const char* name, const char* value = "", const char* tag = "",
                  const char* description = "", const char* key = "K") {
  FakeSlotSpec desc;
  desc.type = type;
  desc.name = name;
  desc.value = value;
  desc.tag = tag;
  desc.description = description;
  desc.key = key;
  return desc;
}

// A handler whose designs are measured first (as 3D headings are), with bounds set by the test.
class MeasuringHandler : public CTemplateHandler {
 public:
  BOOL GetDesignBounds(RECT* rect, HDC) override {
    *rect = bounds;
    return TRUE;
  }
  BOOL RenderDesign(int width, int height, DWORD* pixels, int, HDC, int) override {
    for (int i = 0; i < width * height; ++i) pixels[i] = 0x000000FFu;
    return TRUE;
  }
  RECT bounds = {0, 0, 0, 0};
};

class TemplatePreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CTemplateCOM::SetEngineFactory(&FakeStyleKitEngine::Factory);
    parentWindow = ::CreateWindowExA(0, "STATIC", "preview host", WS_OVERLAPPEDWINDOW, 0, 0, 320,
                                     200, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, parentWindow);
    parent = CWnd::FromHandle(parentWindow);
    engine.pageWidth = 100;
    engine.pageHeight = 40;
    engine.paint = 0x00FF0000u;  // opaque red
    engine.stateDelays = {25, 40, 5};
    engine.slots = {Spec(9, "text1", "Go"), Spec(5, "", "00ff00", "EdgeColour", "", "EDGE"),
                    Spec(8, "", "", "BACKGROUNDBITMAP"), Spec(12, "", "0 Height:7500", "", "constrained x")};
    services.record.SetVersion(2.0);
    manager = new COperationsManager(parent);
    ASSERT_TRUE(manager->Init());
    handler = static_cast<CTemplateHandler*>(manager->GetFirstHandler());
    ASSERT_NE(nullptr, handler->GetPreviewWindow());
    ASSERT_TRUE(manager->OpenDocument("C:\\T\\Button.kiq", 1, 1));
    engine.writes.clear();
  }
  void TearDown() override {
    delete manager;
    if (parentWindow) ::DestroyWindow(parentWindow);
    CTemplateCOM::SetEngineFactory(nullptr);
  }
  CTemplateWnd* Preview() const { return handler->GetPreviewWindow(); }
  std::vector<std::string> WritesTo(int slot) const {
    std::vector<std::string> values;
    for (const auto& write : engine.writes)
      if (write.first == slot) values.push_back(write.second);
    return values;
  }

  // Paints the preview into a top-down 32-bit memory picture and returns it (0x00RRGGBB).
  std::vector<DWORD> PaintToMemory(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, section);
    Preview()->PaintPreview(memory);
    ::GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    ::SelectObject(memory, old);
    ::DeleteObject(section);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    for (DWORD& p : pixels) p &= 0xFFFFFF;
    return pixels;
  }

  FakeOperationsServices services;
  FakeStyleKitEngine engine;
  HWND parentWindow = nullptr;
  CWnd* parent = nullptr;
  COperationsManager* manager = nullptr;
  CTemplateHandler* handler = nullptr;
};

}  // namespace

TEST_F(TemplatePreviewTest, LoadFillsTheRecordFromTheTemplate) {
  COptions& record = services.record;
  EXPECT_EQ(1u, record.GetStoryCount());
  EXPECT_EQ(CString("Go"), record.GetStoryText(0));
  ASSERT_EQ(2u, record.GetColourCount());  // the background and the template's one colour
  EXPECT_EQ(RGB(0, 0xFF, 0), record.GetColourValue(1));
  EXPECT_EQ(CString("Edge"), record.GetColourQuestion(1));
  EXPECT_EQ(1, record.GetColourKiqIndex(1));
  EXPECT_EQ(3, record.GetStateCount());
  EXPECT_EQ(1, record.GetStateConstraintCount());
  EXPECT_DOUBLE_EQ(10, record.GetConstrainedHeight(-1));
  EXPECT_EQ(CString("C:\\T\\Button.kiq"), record.GetKiqPath());
  EXPECT_EQ(1, record.GetCapabilityFlag(kCapabilityTemplateLoaded));
  EXPECT_TRUE(Preview()->IsRenderEnabled());
}

TEST_F(TemplatePreviewTest, ConstraintWidthsAreWrittenInEngineUnits) {
  struct Case {
    double width;
    const char* written;
  } cases[] = {{1.5, "2250 NoTranslate Height:7500"}, {2, "2250 NoTranslate Height:7500"},
               {0, "0 NoTranslate Height:7500"}, {12.9, "9675 NoTranslate Height:7500"}};
  for (const Case& c : cases) {
    engine.writes.clear();
    services.record.SetConstrainedWidth(c.width, -1);
    handler->OnConstraintChanged(&services.record, 0);
    EXPECT_EQ(std::vector<std::string>{c.written}, WritesTo(3)) << c.width;
  }
}

TEST_F(TemplatePreviewTest, BackgroundTextureNoneIsFlat) {
  COptions& record = services.record;
  ASSERT_TRUE(record.HasTextures());
  record.SetTextureFileName(0, "None");
  record.SetTextureFillType(0, "Bitmap");
  EXPECT_TRUE(handler->OnTextureChanged(&record, 0, 1));
  EXPECT_EQ(std::vector<std::string>{""}, WritesTo(2));
  EXPECT_EQ(CString("Flat"), record.GetTextureFillType(0));
  EXPECT_EQ(0, handler->GetBitmapBackgroundFlag());
}

TEST_F(TemplatePreviewTest, PictureColourGoesToThePictureColourSlot) {
  services.record.SetGraphicType(kGraphicPicture);
  services.record.SetCurrentColourIndex(0);
  services.record.SetColourValue(RGB(1, 2, 3), 0);
  EXPECT_TRUE(handler->OnColourChanged(&services.record, 0, 0));
  EXPECT_TRUE(WritesTo(0).empty());  // slot 0 is the text
  EXPECT_EQ(std::vector<std::string>{"010203"}, WritesTo(1));
}

TEST_F(TemplatePreviewTest, FailedOrReenteredRendersSaySo) {
  COptions& record = services.record;
  std::vector<DWORD> pixels(20 * 10);
  BOOL inner = TRUE;
  engine.onRender = [&] { inner = handler->RenderDesign(20, 10, pixels.data(), 0, nullptr, 0); };
  EXPECT_TRUE(handler->RenderDesign(20, 10, pixels.data(), 0, nullptr, 0));
  EXPECT_FALSE(inner);  // no success for a buffer it never drew
  engine.onRender = nullptr;

  record.SetTextureFileName(0, "C:\\Pictures\\Wood.jpg");
  engine.renderResult = E_FAIL;
  EXPECT_FALSE(handler->RenderDesign(20, 10, pixels.data(), 0, nullptr, 0));
  EXPECT_EQ(CString("C:\\Pictures\\Wood.jpg"), record.GetTextureFileName(0));
}

TEST_F(TemplatePreviewTest, PaintShowsFrameBackgroundColourAndDesign) {
  ::MoveWindow(Preview()->GetSafeHwnd(), 0, 0, 202, 82, FALSE);
  COptions& record = services.record;
  record.SetGraphicType(kGraphicButton);
  record.SetBackgroundColour(RGB(0x20, 0x40, 0x60));
  record.SetBaseSize(40, 20, 1.0);
  record.SetShadowOn(0);
  ASSERT_EQ(1, RenderPreview(0, 0));  // no page refresh: the page would reset the size
  EXPECT_EQ(40, Preview()->GetBufferWidth());
  const std::vector<DWORD> pixels = PaintToMemory(202, 82);
  auto at = [&](int x, int y) { return pixels[y * 202 + x]; };
  EXPECT_EQ(0x323232u, at(0, 0));
  EXPECT_EQ(0x323232u, at(0, 50));
  EXPECT_EQ(0xFFFFFFu, at(201, 81));
  EXPECT_EQ(0xFFFFFFu, at(100, 81));
  // The graphic's background colour around the design.
  for (int x : {1, 2, 18, 79, 200}) EXPECT_EQ(0x204060u, at(x, 3)) << x;
  EXPECT_EQ(0x204060u, at(1 + 2, 80));
  // The opaque red design sits in the middle.
  EXPECT_EQ(0xFF0000u, at(101, 41));
  EXPECT_EQ(0xFF0000u, at(1 + 80, 1 + 30));
  EXPECT_NE(0xFF0000u, at(1 + 79, 1 + 30));
}

TEST_F(TemplatePreviewTest, ZeroSizePreviewFails) {
  services.record.SetGraphicType(kGraphicButton);
  services.record.SetBaseSize(0, 0, 1.0);
  EXPECT_EQ(0, RenderPreview(0, 0));
  EXPECT_EQ(nullptr, GetPreviewPixels());
}

TEST_F(TemplatePreviewTest, StateTimerFollowsEachStateDisplayTime) {
  CTemplateWnd* preview = Preview();
  ASSERT_NE(0u, preview->GetStateTimerId());  // a three-state template animates once loaded
  EXPECT_EQ(250, preview->GetStateTimerInterval());
  struct Step {
    int state, interval;
  } steps[] = {{2, 400}, {3, 50}, {1, 250}};
  for (const Step& step : steps) {
    preview->OnStateTimer();
    EXPECT_EQ(step.state, services.record.GetCurrentState());
    EXPECT_EQ(step.state, engine.selectedState);
    EXPECT_EQ(step.interval, preview->GetStateTimerInterval());
  }
}

TEST_F(TemplatePreviewTest, MeasuredDesignsKeepTheirMiddle1500Pixels) {
  services.record.SetGraphicType(kGraphic3DHeading);
  services.record.SetStoryText("Title", 0);
  MeasuringHandler measuring;
  ASSERT_TRUE(measuring.Activate(parent, RECT{0, 0, 200, 80}));
  CTemplateWnd* preview = measuring.GetPreviewWindow();
  preview->SetRenderEnabled(1);
  struct Case {
    RECT bounds;
    int width, height;
  } cases[] = {
      {{0, 0, 2000, 800}, 1500, 800},
      {{10, 0, 2011, 800}, 1501, 800},
      {{0, -5, 300, 1995}, 300, 1500},
      {{0, 0, 120, 40}, 120, 40},
  };
  for (const Case& c : cases) {
    measuring.bounds = c.bounds;
    EXPECT_EQ(1, preview->Render(0, nullptr));
    EXPECT_EQ(c.width, preview->GetBufferWidth());
    EXPECT_EQ(c.height, preview->GetBufferHeight());
  }
  // An empty first story shows a 2 x 2 clear picture without asking the handler.
  services.record.SetStoryText("", 0);
  measuring.bounds = RECT{0, 0, 50, 50};
  EXPECT_EQ(1, preview->Render(0, nullptr));
  ASSERT_EQ(2, preview->GetBufferWidth());
  ASSERT_EQ(2, preview->GetBufferHeight());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(0xFFFFFFFFu, preview->GetPixels()[i]);
}

TEST_F(TemplatePreviewTest, DraggedSizeScalesTheKeptDesign) {
  ::MoveWindow(Preview()->GetSafeHwnd(), 0, 0, 202, 82, FALSE);
  COptions& record = services.record;
  record.SetGraphicType(kGraphicButton);
  record.SetBaseSize(40, 20, 1.0);
  ASSERT_EQ(1, RenderPreview(0, 0));
  record.SetScale(0.5);
  record.SetRenderQuality(4);
  ASSERT_EQ(1, RenderPreview(0, 0));
  EXPECT_EQ(40, Preview()->GetBufferWidth());  // not rendered again
  const RECT design = Preview()->GetDesignRect();
  EXPECT_EQ(20, design.right - design.left);
  EXPECT_EQ(10, design.bottom - design.top);
  const std::vector<DWORD> pixels = PaintToMemory(202, 82);
  EXPECT_EQ(0xFF0000u, pixels[41 * 202 + 101]);
  EXPECT_NE(0xFF0000u, pixels[41 * 202 + 101 + 15]);
}

TEST_F(TemplatePreviewTest, TextureColoursAreHiddenColourProperties) {
  // A named colour slot keeps the engine's key; only then can it name a texture colour.
  engine.slots = {Spec(5, "TextureA1", "102030", "BMPColourA Texture 1", "", "BMPColourA1"),
                  Spec(5, "", "405060", "Glow Color", "", "GLOW")};
  ASSERT_TRUE(manager->OpenDocument("C:\\T\\Textured.kiq", 1, 1));
  COptions& record = services.record;
  ASSERT_EQ(3u, record.GetColourCount());
  EXPECT_EQ(CString("Colour A Texture 1"), record.GetColourQuestion(1));
  EXPECT_FALSE(record.IsColourNameShown(1));
  EXPECT_EQ(CString("TextureA1"), record.GetColourStyleName(1));
  EXPECT_EQ(CString("Glow "), record.GetColourQuestion(2));
  EXPECT_TRUE(record.IsColourNameShown(2));
  EXPECT_EQ(1u, record.GetCurrentColourIndex());
  EXPECT_EQ(2u, record.GetSimpleColourIndexMax());
}

TEST_F(TemplatePreviewTest, ShadowIsDrawnBesideTheDesignAndLeavesItsMargin) {
  ::MoveWindow(Preview()->GetSafeHwnd(), 0, 0, 202, 82, FALSE);
  COptions& record = services.record;
  record.SetGraphicType(kGraphicButton);
  record.SetBaseSize(40, 20, 1.0);
  record.SetShadowType(1);
  record.SetShadowBlurriness(0);
  record.SetShadowDarkness(1.0f);
  record.SetShadowColour(0);
  record.SetShadowOffset(6, 6);
  auto pixelBelowRight = [&](int on, DWORD word) {
    record.SetShadowOn(on);
    EXPECT_EQ(1, RenderPreview(0, word));
    const std::vector<DWORD> pixels = PaintToMemory(202, 82);
    return pixels[(1 + 30 + 20 + 3) * 202 + (1 + 80 + 40 + 3)];  // just past the design's corner
  };
  record.SetBackgroundColour(RGB(0xFF, 0xFF, 0xFF));
  const DWORD plain = pixelBelowRight(0, 0);
  EXPECT_EQ(0xFFFFFFu, plain) << std::hex << plain;
  const DWORD shadowed = pixelBelowRight(1, 0);
  EXPECT_LT(shadowed & 0xFF, 0x60u) << std::hex << shadowed;
  EXPECT_EQ(1, record.GetShadowOn());
  // A request without shadow shows none and leaves the shadow switch as it was.
  EXPECT_EQ(plain, pixelBelowRight(1, 0x100));
  EXPECT_EQ(1, RenderSwitches().shadowAllowed);
}

TEST_F(TemplatePreviewTest, TextureFillTypeShowsOrHidesItsColours) {
  COptions& record = services.record;
  record.SetColourCount(4, true);
  record.SetColourProperty(1, 0, "ColourA1", "Wood (Plain)", 1, 1, "");
  record.SetColourProperty(2, 0, "ColourB1", "Grain", 2, 1, "");
  record.SetColourProperty(3, 0, "ColourA2", "Other", 3, 1, "");
  struct Case {
    const char* fillType;
    bool shownA, shownB;
    const char* questionA;
  } cases[] = {
      {"Bitmap", false, false, "Wood"},
      {"flat", true, false, "Wood (Plain)"},
      {"ContoneBitmap", true, true, "Wood"},
  };
  for (const Case& c : cases) {
    record.SetColourNameShown(2, false);
    handler->UpdateTextureColours(&record, 1, c.fillType);
    EXPECT_EQ(c.shownA, record.IsColourNameShown(1)) << c.fillType;
    EXPECT_EQ(c.shownB, record.IsColourNameShown(2)) << c.fillType;
    EXPECT_EQ(CString(c.questionA), record.GetColourQuestion(1)) << c.fillType;
    EXPECT_TRUE(record.IsColourNameShown(3)) << "another texture's colour";
  }
}

TEST_F(TemplatePreviewTest, PictureFileIsShownInThePlaceOfTheDesign) {
  ::MoveWindow(Preview()->GetSafeHwnd(), 0, 0, 202, 82, FALSE);
  services.record.SetGraphicType(kGraphicButton);
  services.record.SetShadowOn(0);
  EXPECT_TRUE(ShowPreviewImage("C:\\missing.png", 0));  // nothing to show is not an error
  EXPECT_TRUE(ShowPreviewImage("C:\\grey.png", 0));
  const std::vector<DWORD> pixels = PaintToMemory(202, 82);
  EXPECT_EQ(0x808080u, pixels[(1 + 39) * 202 + 1 + 99]);  // the 4 x 4 picture, centred
  const DWORD outside = pixels[(1 + 39) * 202 + 1 + 90];
  EXPECT_TRUE(outside == 0xC5C5C5u || outside == 0xFFFFFFu) << std::hex << outside;
}

// The hover display copies a button over the picture shown: client coordinates from the top
// left, the picture's own rows bottom-up, clipped at the frame.
TEST_F(TemplatePreviewTest, CopiedPictureLandsWhereTheClientAreaSays) {
  ::MoveWindow(Preview()->GetSafeHwnd(), 0, 0, 202, 82, FALSE);
  services.record.SetGraphicType(kGraphicButton);
  services.record.SetShadowOn(0);
  ASSERT_TRUE(ShowPreviewImage("C:\\grey.png", 1));
  // 3 x 2: the bottom row blue, the top row red.
  const std::uint32_t picture[] = {0x0000FF, 0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000, 0xFF0000};
  ASSERT_TRUE(Preview()->CopyToSurface(picture, 3, 2, 10, 20));
  std::vector<DWORD> pixels = PaintToMemory(202, 82);
  auto at = [&](int x, int y) { return pixels[y * 202 + x]; };
  EXPECT_EQ(0xFF0000u, at(10, 20));
  EXPECT_EQ(0x0000FFu, at(12, 21));
  EXPECT_NE(0x0000FFu, at(13, 21));
  EXPECT_NE(0xFF0000u, at(10, 19));
  // Reaching past the frame is clipped; the frame stays.
  ASSERT_TRUE(Preview()->CopyToSurface(picture, 3, 2, -1, 80));
  pixels = PaintToMemory(202, 82);
  EXPECT_EQ(0xFF0000u, at(1, 80));
  EXPECT_EQ(0x323232u, at(0, 80));
  EXPECT_FALSE(Preview()->CopyToSurface(nullptr, 3, 2, 0, 0));
}

TEST_F(TemplatePreviewTest, RenderedBitmapIsTheComposedDesign) {
  ::MoveWindow(Preview()->GetSafeHwnd(), 0, 0, 202, 82, FALSE);
  COptions& record = services.record;
  record.SetGraphicType(kGraphicButton);
  record.SetBaseSize(40, 20, 1.0);
  record.SetShadowOn(0);
  record.SetExportType(4);  // PNG
  record.SetExportBpp(32);
  // The composition undoes premultiplication through the rasterizer.
  struct Conversion : BitmapServices {
    CTessro tessro{CTessro::kAppStackAllowance};
    TessroContextConversion conversion{tessro.GetContext()};
    TessroConversion* GetTessroContext() override { return &conversion; }
  } bitmapServices;
  BitmapServices* previous = SetBitmapServices(&bitmapServices);
  ASSERT_EQ(1, RenderPreview(0, 0));
  int width = 0, height = 0;
  std::uint32_t* block = GetRenderedBitmap(&width, &height);
  ASSERT_NE(nullptr, block);
  EXPECT_EQ(40, width);
  EXPECT_EQ(20, height);
  EXPECT_EQ(0xFF0000u, block[10 * 40 + 20] & 0xFFFFFFu);
  delete[] block;
  EXPECT_EQ(nullptr, Preview()->RenderToBitmap(nullptr, &height));
  SetBitmapServices(previous);
}

namespace {

// The preview of a navigation bar: the same window with the manager in navigation-bar mode.
class NavBarPreviewTest : public TemplatePreviewTest {
 protected:
  void SetUp() override {
    services.withNavBar = true;
    TemplatePreviewTest::SetUp();
    ASSERT_NE(nullptr, manager->GetNavBar());
    ::MoveWindow(Preview()->GetSafeHwnd(), 0, 0, 202, 82, FALSE);
    services.record.SetGraphicType(kGraphicButton);
    services.record.SetBaseSize(40, 20, 1.0);
    services.record.SetShadowOn(0);
  }
  FakeNavBarModel& Bar() const { return *static_cast<FakeNavBarModel*>(manager->GetNavBar()); }
  // The badge block in client coordinates: surface rows 2..3 from the bottom of the 80 rows
  // inside the frame are client rows 77..78; columns 2..4 are client columns 3..5.
  static bool BadgeShown(const std::vector<DWORD>& pixels) {
    for (int y : {77, 78})
      for (int x : {3, 5})
        if (pixels[y * 202 + x] != 0x00FF00u) return false;
    return pixels[76 * 202 + 3] != 0x00FF00u && pixels[78 * 202 + 6] != 0x00FF00u;
  }
};

}  // namespace

TEST_F(NavBarPreviewTest, BadgeSitsInTheBottomLeftCornerOnlyInNavigationBarMode) {
  manager->SetNavBarMode(0);
  ASSERT_EQ(1, RenderPreview(0, 0));
  EXPECT_EQ(0, Bar().badges);
  EXPECT_FALSE(BadgeShown(PaintToMemory(202, 82)));

  manager->SetNavBarMode(1);
  ASSERT_EQ(1, RenderPreview(0, 0));
  EXPECT_EQ(1, Bar().badges);
  const std::vector<DWORD> pixels = PaintToMemory(202, 82);
  EXPECT_TRUE(BadgeShown(pixels));
  EXPECT_EQ(0x323232u, pixels[77 * 202 + 0]);  // the frame stays
  EXPECT_EQ(0xFF0000u, pixels[41 * 202 + 101]);  // and so does the design
}

// The pointer over the preview reaches the bar in the design's coordinates from its top-left
// corner; outside the picture inside the frame it has left.
TEST_F(NavBarPreviewTest, ScreenPointsBecomeDesignPoints) {
  ::ShowWindow(parentWindow, SW_SHOWNOACTIVATE);
  ::ShowWindow(Preview()->GetSafeHwnd(), SW_SHOWNOACTIVATE);
  ASSERT_EQ(1, RenderPreview(0, 0));  // the 40 x 20 design at (80, 30) of the 200 x 80 inside
  struct Case {
    int clientX, clientY;
    LONG x, y;
  } const cases[] = {
      {81, 31, 0, 0}, {120, 50, 39, 19}, {1, 1, -80, -30}, {200, 80, 119, 49},
      {0, 40, -1, -1}, {201, 40, -1, -1}, {100, 81, -1, -1},  // the frame and beyond
  };
  for (const Case& c : cases) {
    POINT screen = {c.clientX, c.clientY};
    ::ClientToScreen(Preview()->GetSafeHwnd(), &screen);
    const POINT design = Preview()->DesignPointFromScreen(screen);
    EXPECT_EQ(c.x, design.x) << c.clientX << "," << c.clientY;
    EXPECT_EQ(c.y, design.y) << c.clientX << "," << c.clientY;
  }
  ::ShowWindow(Preview()->GetSafeHwnd(), SW_HIDE);
  POINT screen = {81, 31};
  ::ClientToScreen(Preview()->GetSafeHwnd(), &screen);
  EXPECT_EQ(-1, Preview()->DesignPointFromScreen(screen).x);
}

// The hover display shows the exported bar as a picture file and copies the hovered button over
// it: the badge stays on top of both.
TEST_F(NavBarPreviewTest, BadgeStaysOverTheHoverDisplay) {
  manager->SetNavBarMode(1);
  ASSERT_TRUE(ShowPreviewImage("C:\\grey.png", 1));
  EXPECT_TRUE(BadgeShown(PaintToMemory(202, 82)));
  std::vector<std::uint32_t> button(8 * 8 + kBitmap32SpareWords, 0x000000FFu);
  ASSERT_TRUE(Preview()->CopyToSurface(button.data(), 8, 8, 1, 73));  // over the badge's corner
  const std::vector<DWORD> pixels = PaintToMemory(202, 82);
  EXPECT_TRUE(BadgeShown(pixels));
  EXPECT_EQ(0x0000FFu, pixels[76 * 202 + 3]);
  EXPECT_EQ(0x0000FFu, pixels[78 * 202 + 6]);
}

// A picture's background tile follows the picture centred on the screen; the offsets always
// land inside the tile, also for windows left of or above the tile's phase.
TEST(PictureTileOffsetTest, OffsetsLieInsideTheTile) {
  struct Case {
    int pictureW, pictureH, surfaceW, surfaceH, screenRight, screenBottom, tileW, tileH;
    LONG x, y;
  };
  const Case cases[] = {
      {100, 50, 300, 200, 400, 300, 64, 64, (200 - 400) % 64 + 64, (75 - 300) % 64 + 64},
      {101, 51, 300, 201, 250, 260, 32, 16, (200 - 250) % 32 + 32, (75 - 260) % 16 + 16},  // halves truncated
      {10, 10, 20, 20, 15, 10, 8, 8, 0, 3},
      {0, 0, 0, 0, 0, 0, 7, 5, 0, 0},
  };
  for (const Case& c : cases) {
    const POINT offset = PictureTileOffset(c.pictureW, c.pictureH, c.surfaceW, c.surfaceH, c.screenRight,
                                           c.screenBottom, c.tileW, c.tileH);
    EXPECT_EQ(c.x, offset.x) << c.pictureW << "x" << c.pictureH;
    EXPECT_EQ(c.y, offset.y) << c.pictureW << "x" << c.pictureH;
  }
}
