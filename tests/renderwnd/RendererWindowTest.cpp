// The renderer window: layer records from the document's layer names, layer caches, the render
// cycle into the pixel buffer, hit testing, deferred renders and the background rectangle.
#include "RenderTestSupport.h"

#include <cstring>
#include <memory>
#include <vector>

#include "app/AppBackground.h"
#include "app/CompactRendererInt.h"
#include "app/PromptWnd.h"
#include "app/UIServices.h"
#include "components/quordocg/WebDocRenderer.h"

namespace {


class TestRenderer : public CompactRendererInt {
public:
    void ReportInvalidLayers() override { ++reports; }
    int CreateRenderer() override
    {
        if (!fake)
            return CompactRendererInt::CreateRenderer();
        ReleaseRenderer();
        fake->AddRef();
        m_renderer = fake;
        return 1;
    }
    int Load(const std::string& text) { return LoadFromMemory(text.data(), static_cast<unsigned>(text.size())); }
    std::vector<std::string> LayerNames() const
    {
        std::vector<std::string> names;
        for (CWebLayer* layer : m_layers)
            names.push_back((const char*)layer->m_name);
        return names;
    }
    int reports = 0;
    IWebDocRenderer* fake = nullptr;
};

// A renderer whose every render step fails.
class FailingRenderer : public IWebDocRenderer {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override { *object = this; return S_OK; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE LoadData(unsigned, const BYTE*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetBounds(RECT* r, int*) override { *r = {0, 0, 100, 100}; return S_OK; }
    HRESULT STDMETHODCALLTYPE PrepareArea(const RECT*, int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetObjectNameAt(int, int, WebDocMatrix, int, unsigned, unsigned*, char*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE Initialise(int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BeginRender(unsigned short, unsigned short, int, DWORD*, int* h) override { *h = 7; return S_OK; }
    HRESULT STDMETHODCALLTYPE SetRenderArea(int, const RECT*, int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Unused10() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenderStep(int, int, int, RECT*, int*, int*, DWORD*) override
    {
        // A guard against a loop that never ends: the test fails instead of hanging.
        return ++steps > 100 ? kRenderFinished : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Unused13() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndRender(int) override { ++ends; return S_OK; }
    HRESULT STDMETHODCALLTYPE Unused15() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderOptions(int, int, int, unsigned) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Unused17() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused18() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused19() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused20() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLayerNames(unsigned* c, BSTR** n) override { *c = 0; *n = nullptr; return S_OK; }
    HRESULT STDMETHODCALLTYPE SetLayerVisibility(const wchar_t*, int) override { return S_OK; }
    int references = 1, steps = 0, ends = 0;
};

std::string Layers(const std::vector<std::string>& names)
{
    std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 100">)";
    for (const std::string& name : names) {
        if (name.empty())
            svg += "<g><rect width='10' height='10'/></g>";
        else
            svg += "<g id='" + name + "'><rect width='10' height='10'/></g>";
    }
    return svg + "</svg>";
}

const char kPage[] = R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 100">
  <rect id="hotspot" x="50" y="25" width="100" height="50" fill="#ff0000"/></svg>)svg";

class RendererWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rendertest::g_environment->registered);
        window = std::make_unique<TestRenderer>();
        RECT rect = {100, 50, 300, 150};
        ASSERT_TRUE(window->Create(&rendertest::g_environment->main, rect, 1, WS_VISIBLE));
    }
    void TearDown() override
    {
        SetRendererTimerServices(nullptr);
        window.reset();
    }
    std::unique_ptr<TestRenderer> window;
};

TEST_F(RendererWindowTest, LayerRecordsKeepOnlyValidNamesAndReportOnce)
{
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> records;
        int reports;
    };
    const Case cases[] = {
        {{"background", "off", "over", "on", "disabled"}, {"background", "off", "over", "on", "disabled"}, 0},
        {{"over", "Layer 2", "on"}, {"over", "on"}, 1},
        // Every invalid name goes, not only the first; the user is told once.
        {{"over", "Layer 2", "AFrame", "on", "off"}, {"over", "on", "off"}, 1},
        {{"", "good"}, {}, 1},  // an unnamed group is "Layer 1": one name left, no records
        {{"single"}, {}, 0},
    };
    for (const Case& c : cases) {
        window->reports = 0;
        ASSERT_EQ(window->Load(Layers(c.names)), 1);
        EXPECT_EQ(window->LayerNames(), c.records);
        EXPECT_EQ(window->m_hasLayers, c.records.empty() ? 0 : 1);
        EXPECT_EQ(window->reports, c.reports);
        EXPECT_EQ(window->m_documentLoaded, 1);
    }
    // Without records, switching layers is an internal error.
    EXPECT_FALSE(window->ShowLayers("single", 1));
}

TEST_F(RendererWindowTest, FailedLoadsLetTheRendererGo)
{
    EXPECT_EQ(window->Load("<svg><unclosed></svg>"), 0);
    EXPECT_EQ(window->m_renderer, nullptr);
    EXPECT_EQ(window->m_documentLoaded, 0);
    const unsigned failures = CompactRendererInt::GetWebLoadFailureCount();
    EXPECT_EQ(window->LoadWebFile((rendertest::g_environment->root + "missing.web").c_str()), 0);
    EXPECT_EQ(CompactRendererInt::GetWebLoadFailureCount(), failures + 1);
}

TEST_F(RendererWindowTest, LayerCachesRunsOrRawPixelsAndComposites)
{
    ASSERT_EQ(window->Load(Layers({"a", "b"})), 1);
    const int width = 4, height = 2, count = width * height;
    window->m_width = width;
    window->m_height = height;
    window->m_buffer = new std::uint32_t[count];
    auto fill = [&](std::initializer_list<std::uint32_t> values) {
        std::copy(values.begin(), values.end(), window->m_buffer);
    };
    const std::uint32_t snapshot = 0x00102030;
    fill({snapshot, snapshot, snapshot, snapshot, snapshot, snapshot, snapshot, snapshot});
    ASSERT_EQ(window->SnapshotBuffer(), 1);

    // One value: one run of two words.
    fill({0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00FF0000});
    ASSERT_EQ(window->CacheLayer("a"), 1);
    EXPECT_EQ(window->FindLayer("A")->m_runCount, 2u);

    // Alternating values need more words than pixels: the pixels are kept as they are, and
    // compositing still shows them. Clear pixels (clear black among them) leave the snapshot.
    const std::uint32_t half = 0x80FF0000;
    fill({0x0000FF00, 0xFF000000, 0x0000FF00, 0xFFFFFFFF, half, 0xFF000000, 0x0000FF00, 0xFF000000});
    ASSERT_EQ(window->CacheLayer("b"), 1);
    EXPECT_TRUE(window->FindLayer("b")->m_raw);
    ASSERT_EQ(window->CompositeLayer("b"), 1);
    const std::uint32_t blended = (((128 * 0x10 + 128 * 0xFF) >> 8) << 16) | (((128 * 0x20) >> 8) << 8) | ((128 * 0x30) >> 8);
    const std::uint32_t expected[] = {0x0000FF00, snapshot, 0x0000FF00, snapshot, blended, snapshot, 0x0000FF00, snapshot};
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(window->m_buffer[i], expected[i]) << i;

    ASSERT_EQ(window->CompositeLayer("a"), 1);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(window->m_buffer[i], 0x00FF0000u) << i;

    // A cache taken at another size is ignored: only the snapshot comes back.
    window->FindLayer("a")->m_width = 8;
    ASSERT_EQ(window->CompositeLayer("a"), 1);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(window->m_buffer[i], snapshot) << i;
}

TEST_F(RendererWindowTest, RenderDrawsTheDocumentOverTheBackgroundColourAndHitTests)
{
    ASSERT_EQ(window->Load(kPage), 1);
    ASSERT_EQ(window->Render(1, nullptr), 1);
    ASSERT_NE(window->m_buffer, nullptr);
    ASSERT_EQ(window->m_width, 200);
    ASSERT_EQ(window->m_height, 100);
    auto at = [&](int x, int y) { return window->m_buffer[(99 - y) * 200 + x]; };
    EXPECT_EQ(at(100, 50), 0x00FF0000u);
    EXPECT_EQ(at(5, 5), 0x00FFFFFFu);  // the background colour, opaque white
    EXPECT_EQ(window->m_documentBounds.right - window->m_documentBounds.left, 200 * kDocUnitsPerUser);

    RECT screen;
    window->GetWindowRect(&screen);
    struct Case {
        int x, y;
        int result;
        const char* name;
    };
    const Case cases[] = {
        {screen.left + 100, screen.top + 50, 1, "hotspot"},
        {screen.left + 52, screen.top + 27, 1, "hotspot"},
        {screen.left + 10, screen.top + 50, 0, ""},
        {screen.right + 5, screen.top + 50, 0, ""},
    };
    for (const Case& c : cases) {
        char name[32] = "";
        EXPECT_EQ(window->HitTest(c.x, c.y, sizeof name, name), c.result) << c.x << "," << c.y;
        if (c.result) {
            EXPECT_STREQ(name, c.name);
        }
    }
}

TEST_F(RendererWindowTest, AFailingRenderStepEndsTheRender)
{
    FailingRenderer fake;
    window->fake = &fake;
    window->m_documentLoaded = 1;
    EXPECT_EQ(window->Render(1, nullptr), 0);
    EXPECT_EQ(fake.steps, 1);
    EXPECT_EQ(fake.ends, 1);
    window->ReleaseRenderer();
    window->fake = nullptr;
}

TEST_F(RendererWindowTest, ResizesRestartOneTimerAndTheTimerRendersOnce)
{
    CUIServices services;
    SetRendererTimerServices(&services);
    EnableRendererTimers();
    ASSERT_EQ(window->Load(kPage), 1);
    for (int i = 0; i < 10; ++i)
        window->SetWindowPos(static_cast<HWND>(nullptr), 100, 50, 150 + i, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_NE(window->m_renderTimer, 0u);
    EXPECT_EQ(window->m_buffer, nullptr);  // nothing rendered yet
    window->SendMessage(WM_TIMER, window->m_renderTimer);
    EXPECT_EQ(window->m_renderTimer, 0u);
    ASSERT_NE(window->m_buffer, nullptr);
    EXPECT_EQ(window->m_width, 159);
    DisableRendererTimers();
}

TEST_F(RendererWindowTest, TheTimerOfALayeredWindowAsksItsParent)
{
    CUIServices services;
    SetRendererTimerServices(&services);
    EnableRendererTimers();
    ASSERT_EQ(window->Load(Layers({"background", "off"})), 1);
    rendertest::g_environment->Pump();
    window->StartRenderTimer();
    ASSERT_NE(window->m_renderTimer, 0u);
    window->SendMessage(WM_TIMER, window->m_renderTimer);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, rendertest::g_environment->main.m_hWnd, kRendererRepaintParent, kRendererRepaintParent, PM_REMOVE));
    EXPECT_EQ(window->m_renderTimer, 0u);
    DisableRendererTimers();
}

// The picture reaches the screen at any display depth: at true colour straight from the buffer,
// below it through a section of the display's depth (run the tests under a 16-bit or 8-bit X
// server to cover that road). Prompt windows keep a dithered copy on 8-bit displays.
TEST_F(RendererWindowTest, BlitShowsThePictureAtTheDisplaysDepth)
{
    auto isRed = [](COLORREF c) { return GetRValue(c) >= 240 && GetGValue(c) <= 16 && GetBValue(c) <= 16; };
    auto isWhite = [](COLORREF c) { return GetRValue(c) >= 240 && GetGValue(c) >= 240 && GetBValue(c) >= 240; };
    auto screenAt = [](CWnd& wnd, int x, int y) {
        HDC dc = ::GetDC(wnd.m_hWnd);
        const COLORREF colour = ::GetPixel(dc, x, y);
        ::ReleaseDC(wnd.m_hWnd, dc);
        return colour;
    };

    ASSERT_EQ(window->Load(kPage), 1);
    ASSERT_EQ(window->Render(1, nullptr), 1);
    window->Blit(nullptr, 0, 0, -1, -1, 0, 0, 0, 0);
    EXPECT_PRED1(isRed, screenAt(*window, 100, 50));
    EXPECT_PRED1(isWhite, screenAt(*window, 5, 5));
    // A part of the picture stretched over the window: the hot spot's corner fills it.
    window->Blit(nullptr, 0, 0, -1, -1, 100, 50, 50, 25);
    EXPECT_PRED1(isRed, screenAt(*window, 5, 5));

    CPromptWnd prompt;
    RECT rect = {0, 160, 200, 260};
    ASSERT_TRUE(prompt.Create(&rendertest::g_environment->main, rect, 2, WS_VISIBLE));
    const std::string path = rendertest::g_environment->ButtonsFolder() + "page.web";
    rendertest::WriteFile(path, kPage);
    ASSERT_EQ(prompt.LoadWebFile(path.c_str()), 1);
    ASSERT_EQ(prompt.Render(0, nullptr), 1);
    EXPECT_EQ(prompt.m_renderer, nullptr);  // let go after the render
    const int depth = CPromptWnd::DisplayDepth();
    EXPECT_EQ(prompt.m_preparedDepth, depth <= 8 ? 8 : 24);
    EXPECT_EQ(prompt.m_dithered != nullptr, depth <= 8);
    EXPECT_PRED1(isRed, screenAt(prompt, 100, 50));
    prompt.Blit(nullptr, 0, 0, -1, -1, 0, 0, 0, 0);  // a repaint renders nothing again
    EXPECT_PRED1(isRed, screenAt(prompt, 100, 50));
}

// Without any renderer class the shared background stays unset and says so; nothing posts a
// quit that would close the next message box (start-up reports the failure itself).
TEST(AppBackgroundRenderer, AMissingRendererIsReportedWithoutEndingTheMessageLoop)
{
    rendertest::Environment& environment = *rendertest::g_environment;
    CAppBackground::ReleaseSharedBackground();
    ASSERT_TRUE(environment.CallServer("DllUnregisterServer"));
    EXPECT_EQ(CAppBackground::LoadSharedBackground(), 0);
    EXPECT_EQ(CAppBackground::IsRendererMissing(), 1);
    EXPECT_EQ(CAppBackground::GetSharedRenderer(), nullptr);
    {
        CAppBackground background;  // made without a renderer: draws its flat colour
        RECT rect = {0, 0, 50, 40};
        ASSERT_TRUE(background.Create(&environment.main, rect, 3));
        EXPECT_EQ(background.Render(1, nullptr), 0);
    }
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    ASSERT_TRUE(environment.CallServer("DllRegisterServer"));
    rendertest::WriteFile(environment.ButtonsFolder() + "appback.web",
                          R"(<svg viewBox="0 0 400 300"><rect width="400" height="300" fill="#203040"/></svg>)");
    EXPECT_EQ(CAppBackground::LoadSharedBackground(), 1);
    EXPECT_EQ(CAppBackground::IsRendererMissing(), 0);
    CAppBackground::ReleaseSharedBackground();
}

TEST(AppBackgroundRect, WindowsTakeTheirShareOfThePicture)
{
    const RECT main = {100, 100, 500, 400};      // 400 x 300 on screen
    const RECT bounds = {0, 0, 40000, 30000};    // y upwards
    struct Case {
        RECT window;
        RECT expected;  // left, lower edge, right, upper edge
    };
    const Case cases[] = {
        {{300, 250, 500, 400}, {20000, 0, 40000, 15000}},     // lower right quarter
        {{100, 100, 300, 250}, {0, 15000, 20000, 30000}},     // upper left quarter
        {{50, 100, 300, 250}, {0, 0, 40000, 30000}},          // sticking out: the whole picture
    };
    for (const Case& c : cases) {
        const RECT r = CAppBackground::BackgroundRectFor(main, c.window, bounds);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
}

TEST(CentreRect, CentresWithHalfRounding)
{
    const RECT r = CompactRendererInt::CentreRect({0, 0, 101, 50}, {21, 10});
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.right, 61);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.bottom, 30);
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    rendertest::Environment environment;
    rendertest::g_environment = &environment;
    return RUN_ALL_TESTS();
}
