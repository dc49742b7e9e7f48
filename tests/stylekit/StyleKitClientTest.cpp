// The program's engine client against the real engine and the real template library: what a
// loaded library template puts into the option record, and that the client's writes change
// the picture the way a user expects.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "components/stylekit/StyleKitInterfaces.h"
#include "document/TemplateCOM.h"
#include "tests/opsmanager/FakeOperationsServices.h"

namespace {

// Hands out engines from the built DLL, so the test needs no registration.
HRESULT CreateFromDll(IStyleKitEngine** engine)
{
    static HMODULE module = nullptr;
    if (!module) {
        const char* dist = std::getenv("BW_DIST");
        module = LoadLibraryA((std::string(dist ? dist : ".") + "\\dlls\\stylekit.dll").c_str());
    }
    if (!module)
        return E_FAIL;
    auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    if (!get || FAILED(get(CLSID_StyleKitEngine, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return E_FAIL;
    const HRESULT result = factory->CreateInstance(nullptr, IID_IStyleKitEngine, reinterpret_cast<void**>(engine));
    factory->Release();
    return result;
}

class StyleKitClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        CTemplateCOM::SetEngineFactory(&CreateFromDll);
    }
    void TearDown() override
    {
        CTemplateCOM::SetEngineFactory(nullptr);
        CoUninitialize();
    }
    static CString Library(const char* relative)
    {
        const char* source = std::getenv("BW_SOURCE");
        return CString((std::string(source ? source : ".") + "\\resources\\root\\" + relative).c_str());
    }
    FakeOperationsServices services;
};

TEST_F(StyleKitClient, LibraryButtonFillsTheRecordAndFollowsItsText)
{
    CTemplateCOM client;
    ASSERT_TRUE(SUCCEEDED(client.CreateEngine()));
    ASSERT_TRUE(client.LoadTemplate(Library("TWTemplates\\Buttons\\Glossy Blue_button.kiq")));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(services.internalErrors.empty());
    EXPECT_EQ(client.GetTextObjectCount(), 1);
    EXPECT_EQ(client.GetTextString(0), CString("Home"));
    EXPECT_EQ(client.GetTextFont(0), CString("Liberation Sans"));
    EXPECT_EQ(client.GetTextSize(0), 13000);
    EXPECT_EQ(client.GetTextAspect(0), 100);
    EXPECT_EQ(client.GetColourSlotCount(), 2);
    EXPECT_EQ(client.GetConstraintCount(), 1);
    EXPECT_EQ(client.GetMissingProperties(), CString(""));
    const unsigned shortWidth = client.GetPageWidth();
    EXPECT_GT(shortWidth, 48u);
    EXPECT_EQ(client.GetPageHeight(), 30u);

    // A longer caption widens the page; the height stays.
    ASSERT_EQ(client.SetTextString(100, "Our products and services", 0), S_OK);
    unsigned height = 0, width = 0;
    ASSERT_TRUE(client.GetPageSize(&height, &width));
    EXPECT_GT(width, shortWidth + 60);
    EXPECT_EQ(height, 30u);

    // A constrained width wins over the text.
    ASSERT_EQ(client.SetSlotValue("CONSTRAINED", "120000"), S_OK);
    ASSERT_TRUE(client.GetPageSize(&height, &width));
    EXPECT_EQ(width, 160u);

    // The client's render gives straight colours: the face is the button colour's shade, opaque.
    std::vector<DWORD> pixels(160 * 30);
    LONG extra[4] = {};
    ASSERT_TRUE(client.RenderBitmap(160, 30, extra, 1, pixels.data(), 0));
    const DWORD middle = pixels[15 * 160 + 12];
    EXPECT_EQ(middle >> 24, 0u);
    EXPECT_GT(middle & 0xFF, (middle >> 16) & 0xFF);
    EXPECT_EQ(pixels[0], 0xFF000000u);  // the rounded corner stays clear
}

TEST_F(StyleKitClient, DefaultTemplatePassesTheStartUpProbe)
{
    CTemplateCOM client;
    ASSERT_TRUE(SUCCEEDED(client.CreateEngine()));
    ASSERT_TRUE(client.LoadTemplate(Library("SysResources\\Graphics\\Default.kiq")));
    EXPECT_TRUE(client.ProbeRender());
    EXPECT_TRUE(services.messages.empty());
}

}  // namespace
