// The vector-document renderer as a COM server: registration, layers, bounds, hit testing and
// rendering into a caller's buffer, with the same document drawn by the vector library directly
// as the reference.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "components/quordocg/WebDocRenderer.h"
#include "components/vector/VectorRenderer.h"
#include "tests/ModuleEntry.h"

namespace {

std::string ServerPath()
{
    // The build passes the Linux path; Wine sees it on drive Z:.
    std::string path = std::string("Z:") + BW_SERVER_PATH;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

const char kFace[] = R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 100">
  <defs><linearGradient id="shine" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#4a90d9"/><stop offset="1" stop-color="#1c4f8a"/></linearGradient></defs>
  <g id="background"><rect id="plate" width="200" height="100" rx="12" fill="url(#shine)"/></g>
  <g id="off"><circle id="knob" cx="50" cy="50" r="30" fill="#ffffff"/></g>
  <g id="over"><circle cx="150" cy="50" r="30" fill="#ffcc00"/></g>
</svg>)svg";

class DocRendererTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        HMODULE module = LoadLibraryA(ServerPath().c_str());
        ASSERT_NE(module, nullptr) << ServerPath();
        auto registerServer = ModuleEntry<HRESULT(WINAPI*)()>(module, "DllRegisterServer");
        ASSERT_NE(registerServer, nullptr);
        ASSERT_EQ(registerServer(), S_OK);
        FreeLibrary(module);
    }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override
    {
        ASSERT_EQ(CoCreateInstance(CLSID_WebDocRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IWebDocRenderer,
                                   reinterpret_cast<void**>(&m_renderer)),
                  S_OK);
        ASSERT_EQ(m_renderer->Initialise(0), S_OK);
    }
    void TearDown() override
    {
        if (m_renderer)
            m_renderer->Release();
    }
    HRESULT Load(const char* text)
    {
        const HRESULT result = m_renderer->LoadData(static_cast<unsigned>(std::strlen(text)),
                                                    reinterpret_cast<const BYTE*>(text));
        const HRESULT end = m_renderer->LoadData(0, nullptr);
        return FAILED(result) ? result : end;
    }
    std::vector<std::wstring> LayerNames()
    {
        unsigned count = 99;
        BSTR* names = nullptr;
        EXPECT_EQ(m_renderer->GetLayerNames(&count, &names), S_OK);
        std::vector<std::wstring> out;
        for (unsigned i = 0; i < count; ++i) {
            out.push_back(names[i]);
            SysFreeString(names[i]);
        }
        CoTaskMemFree(names);
        return out;
    }
    // One whole render cycle as the renderer window runs it.
    HRESULT Render(std::vector<DWORD>& pixels, int width, int height, const RECT& area, int keepAspect)
    {
        int handle = 0;
        HRESULT result = m_renderer->BeginRender(static_cast<unsigned short>(width),
                                                 static_cast<unsigned short>(height), 257, pixels.data(), &handle);
        if (FAILED(result))
            return result;
        RECT bounds = area;
        int one = 1, zero = 0;
        m_renderer->SetRenderArea(handle, &bounds, 0);
        m_renderer->SetRenderOptions(handle, keepAspect, keepAspect, keepAspect ? 0xFFFFFFFF : 0xFF000000);
        for (int steps = 0; steps < 1000; ++steps) {
            result = m_renderer->RenderStep(handle, 100, width * height, &bounds, &one, &zero, pixels.data());
            if (FAILED(result) || (result & kRenderFinished))
                break;
        }
        m_renderer->EndRender(handle);
        return result;
    }
    IWebDocRenderer* m_renderer = nullptr;
};

TEST_F(DocRendererTest, OlderClassAndInterfaceGiveTheSameObject)
{
    IWebDocRenderer* old = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_WebDocRendererOld, nullptr, CLSCTX_INPROC_SERVER, IID_IWebDocRendererOld,
                               reinterpret_cast<void**>(&old)),
              S_OK);
    EXPECT_EQ(old->Initialise(0), S_OK);
    old->Release();
}

TEST_F(DocRendererTest, CallersReachTheOperationsByTheirSlotNumbers)
{
    // Callers index the vtable directly: the slots must hold what the interface says.
    void** slots = *reinterpret_cast<void***>(m_renderer);
    typedef HRESULT(STDMETHODCALLTYPE * LoadDataSlot)(void*, unsigned, const BYTE*);
    typedef HRESULT(STDMETHODCALLTYPE * InitialiseSlot)(void*, int);
    typedef HRESULT(STDMETHODCALLTYPE * NamesSlot)(void*, unsigned*, BSTR**);
    typedef HRESULT(STDMETHODCALLTYPE * VisibilitySlot)(void*, const wchar_t*, int);
    typedef HRESULT(STDMETHODCALLTYPE * UnusedSlot)(void*);
    EXPECT_EQ(reinterpret_cast<InitialiseSlot>(slots[7])(m_renderer, 0), S_OK);
    ASSERT_EQ(reinterpret_cast<LoadDataSlot>(slots[3])(m_renderer, sizeof kFace - 1,
                                                      reinterpret_cast<const BYTE*>(kFace)), S_OK);
    ASSERT_EQ(reinterpret_cast<LoadDataSlot>(slots[3])(m_renderer, 0, nullptr), S_OK);
    unsigned count = 0;
    BSTR* names = nullptr;
    ASSERT_EQ(reinterpret_cast<NamesSlot>(slots[21])(m_renderer, &count, &names), S_OK);
    ASSERT_EQ(count, 3u);
    for (unsigned i = 0; i < count; ++i)
        SysFreeString(names[i]);
    CoTaskMemFree(names);
    EXPECT_EQ(reinterpret_cast<VisibilitySlot>(slots[22])(m_renderer, L"over", kLayerHidden), S_OK);
    for (int unused : {10, 11, 13, 15, 17, 18, 19, 20})
        EXPECT_EQ(reinterpret_cast<UnusedSlot>(slots[unused])(m_renderer), E_NOTIMPL) << unused;
}

TEST_F(DocRendererTest, LayersBoundsAndVisibility)
{
    ASSERT_EQ(Load(kFace), S_OK);
    EXPECT_EQ(LayerNames(), (std::vector<std::wstring>{L"background", L"off", L"over"}));
    RECT bounds;
    int one = 1;
    ASSERT_EQ(m_renderer->GetBounds(&bounds, &one), S_OK);
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right, 200 * kDocUnitsPerUser);
    EXPECT_EQ(bounds.bottom, 100 * kDocUnitsPerUser);
    EXPECT_EQ(m_renderer->SetLayerVisibility(L"OFF", kLayerHidden), S_OK);
    EXPECT_EQ(m_renderer->SetLayerVisibility(L"off", kLayerVisible), S_OK);
    EXPECT_NE(m_renderer->SetLayerVisibility(L"Layer 9", kLayerVisible), S_OK);
}

TEST_F(DocRendererTest, BadDocumentsFailTheLoad)
{
    EXPECT_TRUE(FAILED(Load("<svg><g></svg>")));
    EXPECT_TRUE(FAILED(Load("plain text")));
    EXPECT_TRUE(FAILED(m_renderer->LoadData(0, nullptr)));
    EXPECT_TRUE(LayerNames().empty());
}

TEST_F(DocRendererTest, HitTestNamesObjectsAtDocumentPoints)
{
    ASSERT_EQ(Load(kFace), S_OK);
    // Document y grows upwards: y = 50 units is the middle, 90 near the top edge.
    const WebDocMatrix matrix = {1 << 28, 0, 0, 1 << 28, 0, 0, 0, 0};
    struct Case {
        int x, y;
        HRESULT result;
        const char* name;
    };
    const Case cases[] = {
        {50, 50, S_OK, "knob"},
        {100, 90, S_OK, "plate"},
        {150, 50, S_OK, "plate"},  // an unnamed circle above the plate leaves the plate's name
        {300, 50, S_FALSE, ""},
    };
    for (const Case& c : cases) {
        char buffer[64];
        unsigned length = 0;
        EXPECT_EQ(m_renderer->GetObjectNameAt(c.x * kDocUnitsPerUser, c.y * kDocUnitsPerUser, matrix, 1,
                                              sizeof buffer, &length, buffer),
                  c.result)
            << c.x << "," << c.y;
        EXPECT_STREQ(buffer, c.name);
        EXPECT_EQ(length, std::strlen(c.name));
    }
    char small[3];
    unsigned length = 0;
    EXPECT_EQ(m_renderer->GetObjectNameAt(5000, 5000, matrix, 1, sizeof small, &length, small), S_OK);
    EXPECT_STREQ(small, "kn");  // cut to the buffer, the full length reported
    EXPECT_EQ(length, 4u);
}

TEST_F(DocRendererTest, RenderMatchesTheLibraryAndKeepsUncoveredPixels)
{
    ASSERT_EQ(Load(kFace), S_OK);
    RECT bounds;
    int one = 1;
    m_renderer->GetBounds(&bounds, &one);
    // A window twice as wide as the document's shape: the picture is centred with untouched
    // margins, which keep their exact value (clear black, the transparent colour most likely
    // to be mistaken for "no pixel").
    const int width = 400, height = 100;
    std::vector<DWORD> pixels(width * height, 0xFF000000);
    ASSERT_EQ(Render(pixels, width, height, bounds, 1), kRenderFinished);

    vector::VectorDocument reference;
    ASSERT_TRUE(reference.Read(kFace, std::strlen(kFace)));
    std::vector<std::uint32_t> expected(width * height, 0xFF000000);
    vector::VectorRenderer renderer;
    renderer.Render(reference, {expected.data(), width, height, true},
                    vector::FitArea(reference.Bounds(), width, height, true));

    int different = 0;
    for (int i = 0; i < width * height; ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            const int a = (pixels[i] >> shift) & 0xFF, b = (expected[i] >> shift) & 0xFF;
            if (std::abs(a - b) > 2)
                ++different;
        }
    }
    EXPECT_EQ(different, 0);
    EXPECT_EQ(pixels[50 * width + 50], 0xFF000000u);   // left margin untouched
    EXPECT_EQ(pixels[50 * width + 150] >> 24, 0u);     // the knob is opaque white
    EXPECT_EQ(pixels[50 * width + 150] & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(DocRendererTest, HiddenLayersAndStretchedAreas)
{
    ASSERT_EQ(Load(kFace), S_OK);
    m_renderer->SetLayerVisibility(L"background", kLayerHidden);
    m_renderer->SetLayerVisibility(L"over", kLayerHidden);
    // The left half of the document stretched over a square: only the knob, as an ellipse
    // twice as tall as wide... in a 100 x 100 target the knob's 60 units span 60 px across and
    // 60 px down.
    const RECT leftHalf = {0, 0, 100 * kDocUnitsPerUser, 100 * kDocUnitsPerUser};
    std::vector<DWORD> pixels(100 * 100, 0xFFFFFFFF);
    ASSERT_EQ(Render(pixels, 100, 100, leftHalf, 0), kRenderFinished);
    EXPECT_EQ(pixels[50 * 100 + 50], 0x00FFFFFFu);  // the knob's centre
    EXPECT_EQ(pixels[50 * 100 + 85], 0xFFFFFFFFu);  // outside the knob, background hidden
    EXPECT_EQ(pixels[50 * 100 + 22] >> 24, 0u);     // just inside its left edge
}

TEST_F(DocRendererTest, BadRenderCallsFailInsteadOfSpinning)
{
    ASSERT_EQ(Load(kFace), S_OK);
    std::vector<DWORD> pixels(16, 0);
    int handle = 0, one = 1, zero = 0;
    RECT area = {0, 0, 100, 100};
    EXPECT_TRUE(FAILED(m_renderer->BeginRender(0, 4, 257, pixels.data(), &handle)));
    EXPECT_TRUE(FAILED(m_renderer->BeginRender(4, 4, 257, nullptr, &handle)));
    EXPECT_TRUE(FAILED(m_renderer->RenderStep(12345, 100, 16, &area, &one, &zero, pixels.data())));
    EXPECT_TRUE(FAILED(m_renderer->EndRender(12345)));
    ASSERT_EQ(m_renderer->BeginRender(4, 4, 257, pixels.data(), &handle), S_OK);
    const RECT empty = {5, 5, 5, 5};
    EXPECT_TRUE(FAILED(m_renderer->SetRenderArea(handle, &empty, 0)));
    EXPECT_EQ(m_renderer->EndRender(handle), S_OK);
}

}  // namespace
