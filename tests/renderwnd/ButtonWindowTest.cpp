// Picture buttons: creation from a face document with five layers, state changes composed from
// the layer caches, and what the screen shows in each state.
#include "RenderTestSupport.h"

#include <memory>

#include "app/ButtonWindow.h"
#include "app/AppBackground.h"
#include "app/Errors.h"

namespace {

using rendertest::g_environment;

// Each state paints the middle of the face in its own colour over a grey plate.
const char kFace[] = R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 120 40">
  <g id="background"><rect width="120" height="40" fill="#808080"/></g>
  <g id="off"><rect x="20" y="10" width="80" height="20" fill="#0000ff"/></g>
  <g id="over"><rect x="20" y="10" width="80" height="20" fill="#00ff00"/></g>
  <g id="on"><rect x="20" y="10" width="80" height="20" fill="#ff0000"/></g>
  <g id="disabled"><rect x="20" y="10" width="80" height="20" fill="#ffffff" fill-opacity="0.5"/></g>
</svg>)svg";

const char kFourLayers[] = R"svg(<svg viewBox="0 0 120 40">
  <g id="background"/><g id="off"/><g id="over"/><g id="on"/></svg>)svg";

const char kAppBack[] = R"svg(<svg viewBox="0 0 400 300"><rect width="400" height="300" fill="#203040"/></svg>)svg";

class ButtonWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        rendertest::WriteFile(g_environment->ButtonsFolder() + "face.web", kFace);
        rendertest::WriteFile(g_environment->ButtonsFolder() + "four.web", kFourLayers);
        rendertest::WriteFile(g_environment->ButtonsFolder() + "appback.web", kAppBack);
    }
    std::unique_ptr<CButtonWindow> MakeButton(const char* face)
    {
        auto button = std::make_unique<CButtonWindow>(CButtonDef(1, face, 'A'));
        RECT rect = {10, 10, 130, 50};
        if (!button->Create(&g_environment->main, rect, 100))
            return nullptr;
        return button;
    }
    // The middle of the face as the screen shows it.
    COLORREF ScreenMiddle(CButtonWindow& button)
    {
        HDC dc = ::GetDC(button.GetFaceWindow()->m_hWnd);
        const COLORREF colour = ::GetPixel(dc, 60, 20);
        ::ReleaseDC(button.GetFaceWindow()->m_hWnd, dc);
        return colour;
    }
};

TEST_F(ButtonWindowTest, FacesNeedAllFiveLayers)
{
    ClearError();
    EXPECT_EQ(MakeButton("four.web"), nullptr);
    EXPECT_EQ(g_ErrorSlotFree, 0);  // an internal error is pending
    ClearError();
    EXPECT_EQ(MakeButton("nowhere.web"), nullptr);
    EXPECT_EQ(g_ErrorSlotFree, 0);
    ClearError();
    auto button = MakeButton("face.web");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetFaceWindow()->m_layers.size(), 5u);
}

TEST_F(ButtonWindowTest, StatesMoveAsTheMouseAndTheBarSay)
{
    auto button = MakeButton("face.web");
    ASSERT_NE(button, nullptr);
    RECT screen;
    button->GetWindowRect(&screen);
    const POINT inside = {screen.left + 5, screen.top + 5}, outside = {screen.right + 20, screen.top};
    enum Action { kHoverIn, kHoverOut, kPress, kSelect, kDeselect, kDisable, kEnable };
    struct Step {
        Action action;
        int state;
    };
    const Step steps[] = {
        {kHoverIn, CButtonWindow::kStateOver},  {kHoverOut, CButtonWindow::kStateOff},
        {kPress, CButtonWindow::kStateOn},      {kHoverIn, CButtonWindow::kStateOn},   // pressed stays pressed
        {kHoverOut, CButtonWindow::kStateOn},   {kDeselect, CButtonWindow::kStateOff},
        {kSelect, CButtonWindow::kStateOn},     {kDisable, CButtonWindow::kStateDisabled},
        {kHoverIn, CButtonWindow::kStateDisabled}, {kSelect, CButtonWindow::kStateDisabled},
        {kEnable, CButtonWindow::kStateOff},
    };
    for (const Step& step : steps) {
        switch (step.action) {
        case kHoverIn: button->TrackHover(inside.x, inside.y); break;
        case kHoverOut: button->TrackHover(outside.x, outside.y); break;
        case kPress: button->Press(inside.x, inside.y); break;
        case kSelect: button->Select(); break;
        case kDeselect: button->Deselect(); break;
        case kDisable: button->SetDisabled(1); break;
        case kEnable: button->SetDisabled(0); break;
        }
        EXPECT_EQ(button->GetState(), step.state) << "step " << (&step - steps);
        EXPECT_EQ(button->IsSelected(), step.state == CButtonWindow::kStateOn);
    }
    // Pressing outside the button does nothing.
    button->Press(outside.x, outside.y);
    EXPECT_EQ(button->GetState(), CButtonWindow::kStateOff);
}

TEST_F(ButtonWindowTest, EachStateShowsItsLayerOverTheBackground)
{
    auto button = MakeButton("face.web");
    ASSERT_NE(button, nullptr);
    g_environment->Pump();
    struct Case {
        int state;
        COLORREF middle;  // as the screen shows it
    };
    const Case cases[] = {
        {CButtonWindow::kStateOff, RGB(0, 0, 255)},
        {CButtonWindow::kStateOver, RGB(0, 255, 0)},
        {CButtonWindow::kStateOn, RGB(255, 0, 0)},
        {CButtonWindow::kStateDisabled, RGB(0xC0, 0xC0, 0xC0)},  // half white over the grey plate
    };
    CPromptWnd* face = button->GetFaceWindow();
    // Below true colour a channel shows one of 32 or 64 levels: the nearest may be a step away.
    const int tolerance = CPromptWnd::DisplayDepth() >= 24 ? 3 : 9;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        face->ShowWindow(SW_SHOW);
        ASSERT_EQ(button->ComposeState(c.state), 1);
        face->Blit(nullptr, 0, 0, -1, -1, 0, 0, 0, 0);
        const COLORREF shown = ScreenMiddle(*button);
        EXPECT_NEAR(GetRValue(shown), GetRValue(c.middle), tolerance);
        EXPECT_NEAR(GetGValue(shown), GetGValue(c.middle), tolerance);
        EXPECT_NEAR(GetBValue(shown), GetBValue(c.middle), tolerance);
        // The plate around the state stays grey.
        const std::uint32_t corner = face->m_buffer[(face->m_height - 3) * face->m_width + 3];
        EXPECT_EQ(corner, 0x00808080u);
    }
    // Every state has its cache now.
    for (const char* layer : {"off", "over", "on", "disabled"})
        EXPECT_NE(face->FindLayer(layer)->m_runs, nullptr) << layer;
}

TEST_F(ButtonWindowTest, ADeferredRenderRebuildsEveryStateCache)
{
    auto button = MakeButton("face.web");
    ASSERT_NE(button, nullptr);
    CPromptWnd* face = button->GetFaceWindow();
    button->SendMessage(kRendererRepaintParent, 0, 0);
    for (const char* layer : {"off", "over", "on", "disabled"}) {
        CWebLayer* record = face->FindLayer(layer);
        EXPECT_NE(record->m_runs, nullptr) << layer;
        EXPECT_EQ(record->m_width, 120);
        EXPECT_EQ(record->m_height, 40);
    }
}

}  // namespace

namespace {

// A background of four coloured quarters: a prompt window shows the quarter behind it.
const char kQuarters[] = R"svg(<svg viewBox="0 0 400 300">
  <rect width="200" height="150" fill="#ff0000"/><rect x="200" width="200" height="150" fill="#00ff00"/>
  <rect y="150" width="200" height="150" fill="#0000ff"/><rect x="200" y="150" width="200" height="150" fill="#ffff00"/>
</svg>)svg";

const char kEmptyPage[] = R"svg(<svg viewBox="0 0 100 100"><circle cx="50" cy="50" r="1" fill="#000" fill-opacity="0"/></svg>)svg";

TEST(PromptWindow, DrawsThePartOfTheSharedBackgroundBehindIt)
{
    // A fresh shared picture for this test.
    CAppBackground::ReleaseSharedBackground();
    rendertest::WriteFile(g_environment->ButtonsFolder() + "appback.web", kQuarters);
    rendertest::WriteFile(g_environment->root + "page.web", kEmptyPage);
    {
        CPromptWnd prompt;
        ASSERT_NE(CAppBackground::GetSharedRenderer(), nullptr);
        RECT lowerRight = {200, 150, 400, 300};
        ASSERT_TRUE(prompt.Create(&g_environment->main, lowerRight, 2, WS_VISIBLE));
        ASSERT_EQ(prompt.LoadWebFile((g_environment->root + "page.web").c_str()), 1);
        // On an 8-bit display the picture lives on in its dithered section only.
        const bool palette = CPromptWnd::DisplayDepth() <= 8;
        ASSERT_EQ(prompt.Render(1, nullptr), 1);
        EXPECT_EQ(prompt.m_dithered != nullptr, palette);
        if (palette) {
            EXPECT_EQ(prompt.m_buffer, nullptr);
        } else {
            ASSERT_NE(prompt.m_buffer, nullptr);
            // Rows are bottom-up; every pixel is the yellow quarter, whatever the row.
            for (int i : {0, 199, 200 * 75 + 100, 200 * 150 - 1})
                EXPECT_EQ(prompt.m_buffer[i], 0x00FFFF00u) << i;
        }
        // The renderer goes after the render and comes back, with the document, for the next.
        EXPECT_EQ(prompt.m_renderer, nullptr);
        ASSERT_EQ(prompt.Render(1, nullptr), 1);
        EXPECT_EQ(prompt.m_documentLoaded, 1);
        EXPECT_EQ(prompt.m_renderer, nullptr);

        // Sticking out of the main window: the whole picture, squeezed into the window.
        RECT outside = {300, 150, 500, 300};
        CPromptWnd wide;
        ASSERT_TRUE(wide.Create(&g_environment->main, outside, 3, WS_VISIBLE));
        wide.m_hasLayers = palette ? 1 : 0;  // a face with layers keeps its 32-bit picture
        ASSERT_EQ(wide.Render(1, nullptr), 1);
        ASSERT_NE(wide.m_buffer, nullptr);
        EXPECT_EQ(wide.m_buffer[(wide.m_height - 1) * wide.m_width], 0x00FF0000u);  // top-left: red
        EXPECT_EQ(wide.m_buffer[wide.m_width - 1], 0x00FFFF00u);                    // bottom-right: yellow
    }
    CAppBackground::ReleaseSharedBackground();
    rendertest::WriteFile(g_environment->ButtonsFolder() + "appback.web", kAppBack);
}

}  // namespace
