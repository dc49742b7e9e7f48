// The template engine through COM, as its client calls it: the DLL's class object, slots
// enumerated in one Next, values written and read back, sizes at three resolutions, states,
// clip viewports through the document interface, and renders into the client's buffers.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <png.h>

#include "components/stylekit/StyleKitInterfaces.h"

namespace {

std::string DistPath(const char* relative)
{
    const char* dist = std::getenv("BW_DIST");
    return std::string(dist ? dist : ".") + "\\" + relative;
}

BSTR Bstr(const std::string& text)
{
    std::wstring wide(text.begin(), text.end());
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string Text(BSTR value)
{
    std::string out;
    for (UINT i = 0; value && i < SysStringLen(value); ++i)
        out += static_cast<char>(value[i]);
    SysFreeString(value);
    return out;
}

const char kTemplate[] = R"(<template version="1">
  <page sizing="text" width="80" height="24" pad-x="10" pad-y="6" min-width="30" min-height="24"/>
  <slots>
    <slot name="Button Colour" type="5" tag="Button Colour" key="Button Colour" value="2060c0"/>
    <slot name="Text1" type="9" key="TEXTSTRING" tag="#1" value="Home"/>
    <slot name="TextSize1" type="4" tag="TextSize#1" key="TEXTSIZE" value="12000"/>
    <slot name="Constrained" type="10" description="constrained x" key="CONSTRAINED" value="0 Height:18000"/>
    <slot name="View" type="10" tag="@!CLIPVIEWPORT!@" key="face"/>
  </slots>
  <states><state name="Off" time="40"/><state name="On" time="60"/></states>
  <draw>
    <rect id="face" inset="2" radius="4" colour="Button Colour"/>
    <text n="1" colour="#ffffff"/>
  </draw>
</template>)";

class StyleKitCom : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        m_module = LoadLibraryA(DistPath("dlls\\stylekit.dll").c_str());
        ASSERT_NE(m_module, nullptr);
        auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "DllGetClassObject")));
        ASSERT_NE(get, nullptr);
        IClassFactory* factory = nullptr;
        ASSERT_EQ(get(CLSID_StyleKitEngine, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IStyleKitEngine, reinterpret_cast<void**>(&m_engine)), S_OK);
        factory->Release();
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        m_path = std::string(folder) + "stylekit_com_test.kiq";
        std::ofstream(m_path, std::ios::binary) << kTemplate;
    }
    void TearDown() override
    {
        if (m_engine)
            m_engine->Release();
        DeleteFileA(m_path.c_str());
        CoUninitialize();
    }
    HRESULT Load(const std::string& path)
    {
        BSTR p = Bstr(path);
        const HRESULT result = m_engine->LoadTemplate(p);
        SysFreeString(p);
        return result;
    }
    // Every slot in one Next call, queried for the slot interface as the client does.
    std::vector<IStyleKitSlot*> Slots()
    {
        IStyleKitSlotEnum* enumerator = nullptr;
        LONG count = 0;
        EXPECT_EQ(m_engine->EnumSlots(&enumerator, &count), S_OK);
        std::vector<IUnknown*> raw(static_cast<size_t>(count));
        ULONG fetched = 0;
        EXPECT_EQ(enumerator->Next(static_cast<ULONG>(count), raw.data(), &fetched), S_OK);
        EXPECT_EQ(fetched, static_cast<ULONG>(count));
        enumerator->Release();
        std::vector<IStyleKitSlot*> slots;
        for (IUnknown* object : raw) {
            IStyleKitSlot* slot = nullptr;
            EXPECT_EQ(object->QueryInterface(IID_IStyleKitSlot, reinterpret_cast<void**>(&slot)), S_OK);
            object->Release();
            slots.push_back(slot);
        }
        return slots;
    }
    static void ReleaseAll(std::vector<IStyleKitSlot*>& slots)
    {
        for (IStyleKitSlot* slot : slots)
            slot->Release();
        slots.clear();
    }

    HMODULE m_module = nullptr;
    IStyleKitEngine* m_engine = nullptr;
    std::string m_path;
};

TEST_F(StyleKitCom, SlotsReportTypeInfoNameAndTakeValues)
{
    ASSERT_EQ(Load(m_path), S_OK);
    ASSERT_EQ(m_engine->CompleteLoad(), S_OK);
    std::vector<IStyleKitSlot*> slots = Slots();
    ASSERT_EQ(slots.size(), 5u);
    struct Expected {
        LONG type;
        const char *description, *tag, *key, *name, *value;
    } expected[] = {
        {5, "", "Button Colour", "Button Colour", "Button Colour", "2060c0"},
        {9, "", "#1", "TEXTSTRING", "Text1", "Home"},
        {4, "", "TextSize#1", "TEXTSIZE", "TextSize1", "12000"},
        {10, "constrained x", "", "CONSTRAINED", "Constrained", "0 Height:18000"},
        {10, "", "@!CLIPVIEWPORT!@", "face", "View", ""},
    };
    for (size_t i = 0; i < slots.size(); ++i) {
        LONG type = 0;
        EXPECT_EQ(slots[i]->GetType(&type), S_OK);
        EXPECT_EQ(type, expected[i].type);
        BSTR d = nullptr, t = nullptr, k = nullptr, n = nullptr, v = nullptr;
        ASSERT_EQ(slots[i]->GetInfo(&d, &t, &k), S_OK);
        EXPECT_EQ(Text(d), expected[i].description);
        EXPECT_EQ(Text(t), expected[i].tag);
        EXPECT_EQ(Text(k), expected[i].key);
        ASSERT_EQ(slots[i]->GetName(&n), S_OK);
        EXPECT_EQ(Text(n), expected[i].name);
        ASSERT_EQ(slots[i]->GetValue(&v), S_OK);
        EXPECT_EQ(Text(v), expected[i].value);
    }
    // Written the way the client writes them, read back in the slot's own format.
    struct Write {
        size_t slot;
        const char* written;
        HRESULT result;
        const char* read;
    } writes[] = {
        {0, "ff8000", S_OK, "ff8000"},
        {0, "orange", E_INVALIDARG, "ff8000"},
        {1, "lsvalue\r100\rContact", S_OK, "Contact"},
        {3, "150000 NoTranslate Height:18000", S_OK, "150000 Height:18000"},
    };
    for (const Write& w : writes) {
        BSTR value = Bstr(w.written);
        EXPECT_EQ(slots[w.slot]->SetValue(value), w.result) << w.written;
        SysFreeString(value);
        BSTR read = nullptr;
        slots[w.slot]->GetValue(&read);
        EXPECT_EQ(Text(read), w.read);
    }
    // The constrained width (150000 units = 200 px) is the page width at every resolution.
    struct Resolution {
        double r;
    } resolutions[] = {{1}, {750}, {2500}};
    for (const Resolution& res : resolutions) {
        ULONG width = 0, height = 0;
        ASSERT_EQ(m_engine->GetSize(kStyleKitPageSizeKind, res.r, res.r, &width, &height), S_OK);
        EXPECT_EQ(width, static_cast<ULONG>(200 * res.r));
        EXPECT_EQ(height, static_cast<ULONG>(24 * res.r));
    }
    // A slot kept past an unload no longer reaches the template.
    EXPECT_EQ(m_engine->Unload(), S_OK);
    LONG type = 0;
    EXPECT_EQ(slots[0]->GetType(&type), E_UNEXPECTED);
    ReleaseAll(slots);
}

TEST_F(StyleKitCom, StatesHaveDisplayTimes)
{
    ASSERT_EQ(Load(m_path), S_OK);
    LONG count = 0;
    ASSERT_EQ(m_engine->GetStateCount(&count), S_OK);
    ASSERT_EQ(count, 2);
    const LONG times[] = {40, 60};
    for (LONG s = 1; s <= count; ++s) {
        ASSERT_EQ(m_engine->SelectState(s), S_OK);
        LONG value = 0;
        ASSERT_EQ(m_engine->GetStateValue(&value), S_OK);
        EXPECT_EQ(value, times[s - 1]);
    }
    EXPECT_LT(m_engine->SelectState(3), 0);
}

TEST_F(StyleKitCom, ClipViewportObjectHasBounds)
{
    ASSERT_EQ(Load(m_path), S_OK);
    IStyleKitDocument* document = nullptr;
    ASSERT_EQ(m_engine->QueryInterface(IID_IStyleKitDocument, reinterpret_cast<void**>(&document)), S_OK);
    BSTR name = Bstr("face");
    LONG id = 0, resolved = 0;
    EXPECT_EQ(document->FindObject(name, &id), S_OK);
    SysFreeString(name);
    EXPECT_EQ(document->ResolveObject(id, &resolved), S_OK);
    StyleKitRect bounds{};
    ASSERT_EQ(document->GetObjectBounds(resolved, &bounds), S_OK);
    EXPECT_EQ(bounds.left, 2 * kStyleKitUnitsPerPixel);
    EXPECT_EQ(bounds.top, 2 * kStyleKitUnitsPerPixel);
    EXPECT_GT(bounds.right, bounds.left);
    name = Bstr("nothing");
    EXPECT_LT(document->FindObject(name, &id), 0);
    SysFreeString(name);
    document->Release();
}

TEST_F(StyleKitCom, RendersIntoTheClientsBufferAndNeverFailsTheProbe)
{
    // The start-up probe: 1 x 1, no clip, a zeroed extra block, before and after a load.
    LONG extra[4] = {0, 0, 0, 0};
    DWORD probe = 0xFF000000u;
    EXPECT_EQ(m_engine->RenderClipped(1, 1, nullptr, 0, extra, &probe), S_OK);
    ASSERT_EQ(Load(m_path), S_OK);
    EXPECT_EQ(m_engine->RenderClipped(1, 1, nullptr, 0, extra, &probe), S_OK);

    ULONG w = 0, h = 0;
    ASSERT_EQ(m_engine->GetSize(kStyleKitPageSizeKind, 1.0, 1.0, &w, &h), S_OK);
    std::vector<DWORD> pixels(w * h, 0xFF000000u);
    ASSERT_EQ(m_engine->Render(static_cast<LONG>(w), static_cast<LONG>(h), nullptr, 113, extra, pixels.data()), S_OK);
    EXPECT_EQ(pixels[0], 0xFF000000u);                 // outside the inset face
    const DWORD centre = pixels[(h / 2) * w + 4];      // on the face, left of the text
    EXPECT_EQ(centre, 0x002060C0u);
    // Some pixels carry the white text (the glyphs come from the system's fonts).
    bool light = false;
    for (DWORD p : pixels)
        light = light || ((p >> 24) == 0 && (p & 0xFF) > 0xF0 && ((p >> 16) & 0xFF) > 0xF0);
    EXPECT_TRUE(light);
    EXPECT_LT(m_engine->Render(0, 1, nullptr, 0, extra, pixels.data()), 0);
    EXPECT_LT(m_engine->Render(1, 1, nullptr, 0, extra, nullptr), 0);
}

TEST_F(StyleKitCom, MissingOrBrokenFilesDoNotLoad)
{
    EXPECT_LT(Load(m_path + ".missing"), 0);
    std::ofstream(m_path, std::ios::binary) << "<template><draw><blob/></draw></template>";
    EXPECT_LT(Load(m_path), 0);
    IStyleKitSlotEnum* enumerator = nullptr;
    LONG count = 0;
    EXPECT_LT(m_engine->EnumSlots(&enumerator, &count), 0);
    EXPECT_EQ(enumerator, nullptr);
}

}  // namespace

// ---- The template library: every template loads through the engine and draws something in
// every state. The pictures go to one contact sheet (a row per template, a cell per state, over
// white) in the test's working folder, to be looked at.
namespace {

void FindTemplates(const std::string& folder, std::vector<std::string>* out)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            FindTemplates(path, out);
        else if (name.size() > 4 && _stricmp(name.c_str() + name.size() - 4, ".kiq") == 0)
            out->push_back(path);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

struct Sheet {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgba;  // top-down, R G B A bytes in memory order
};

TEST_F(StyleKitCom, EveryLibraryTemplateDrawsInEveryState)
{
    const char* source = std::getenv("BW_SOURCE");
    ASSERT_NE(source, nullptr);
    std::vector<std::string> templates;
    FindTemplates(std::string(source) + "\\resources\\root\\SysResources\\Graphics", &templates);
    FindTemplates(std::string(source) + "\\resources\\root\\TWTemplates", &templates);
    ASSERT_GE(templates.size(), 30u);

    struct Cell {
        int width, height;
        std::vector<DWORD> pixels;
    };
    std::vector<std::vector<Cell>> rows;
    const int gap = 8;
    int sheetWidth = 0, sheetHeight = gap;
    for (const std::string& path : templates) {
        SCOPED_TRACE(path);
        ASSERT_EQ(Load(path), S_OK);
        std::vector<IStyleKitSlot*> slots = Slots();
        EXPECT_FALSE(slots.empty());
        ReleaseAll(slots);
        ULONG w = 0, h = 0;
        ASSERT_EQ(m_engine->GetSize(kStyleKitPageSizeKind, 1.0, 1.0, &w, &h), S_OK);
        ASSERT_GT(w, 0u);
        ASSERT_GT(h, 0u);
        LONG states = 0;
        ASSERT_EQ(m_engine->GetStateCount(&states), S_OK);
        std::vector<Cell> row;
        int rowWidth = gap, rowHeight = 0;
        for (LONG s = 1; s <= states; ++s) {
            ASSERT_EQ(m_engine->SelectState(s), S_OK);
            Cell cell{static_cast<int>(w), static_cast<int>(h), std::vector<DWORD>(w * h, 0xFF000000u)};
            LONG extra[4] = {};
            ASSERT_EQ(m_engine->Render(cell.width, cell.height, nullptr, 113, extra, cell.pixels.data()), S_OK);
            int opaque = 0;
            for (DWORD p : cell.pixels)
                opaque += (p >> 24) < 128;
            EXPECT_GT(opaque, 0) << "state " << s << " draws nothing";
            rowWidth += cell.width + gap;
            rowHeight = std::max(rowHeight, cell.height);
            row.push_back(std::move(cell));
        }
        sheetWidth = std::max(sheetWidth, rowWidth);
        sheetHeight += rowHeight + gap;
        rows.push_back(std::move(row));
    }

    Sheet sheet;
    sheet.width = sheetWidth;
    sheet.height = sheetHeight;
    sheet.rgba.assign(static_cast<size_t>(sheetWidth) * sheetHeight, 0xFFE8E8E8u);
    int y = gap;
    for (const std::vector<Cell>& row : rows) {
        int x = gap, rowHeight = 0;
        for (const Cell& cell : row) {
            for (int cy = 0; cy < cell.height; ++cy)
                for (int cx = 0; cx < cell.width; ++cx) {
                    // Bottom-up, premultiplied, over white.
                    const DWORD p = cell.pixels[static_cast<size_t>(cell.height - 1 - cy) * cell.width + cx];
                    const unsigned keep = p >> 24;
                    auto over = [keep](unsigned c) { return std::min(255u, c + keep); };
                    const unsigned r = over((p >> 16) & 0xFF), g = over((p >> 8) & 0xFF), b = over(p & 0xFF);
                    sheet.rgba[static_cast<size_t>(y + cy) * sheetWidth + x + cx] = 0xFF000000u | (b << 16) | (g << 8) | r;
                }
            x += cell.width + gap;
            rowHeight = std::max(rowHeight, cell.height);
        }
        y += rowHeight + gap;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(sheet.width);
    image.height = static_cast<png_uint_32>(sheet.height);
    image.format = PNG_FORMAT_RGBA;
    EXPECT_TRUE(png_image_write_to_file(&image, "stylekit_contact_sheet.png", 0, sheet.rgba.data(), 0, nullptr));
}

}  // namespace

// A 3D heading of the library: sized from its text like any heading, the letters' faces in the
// text colour and their sides (the Tessro3D scene) in shades of the side colour below and to
// the right of them.
TEST_F(StyleKitCom, ThreeDHeadingDrawsFacesAndSides)
{
    const char* source = std::getenv("BW_SOURCE");
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(Load(std::string(source) + "\\resources\\root\\TWTemplates\\3d Headings\\Block Letters_heading.kiq"), S_OK);
    ULONG w = 0, h = 0, w750 = 0, h750 = 0;
    ASSERT_EQ(m_engine->GetSize(kStyleKitPageSizeKind, 1.0, 1.0, &w, &h), S_OK);
    ASSERT_EQ(m_engine->GetSize(kStyleKitPageSizeKind, 750.0, 750.0, &w750, &h750), S_OK);
    EXPECT_EQ(w * 750, w750);
    EXPECT_EQ(h * 750, h750);
    EXPECT_GT(w, 150u);  // "Grand Opening" at 30 pt
    std::vector<DWORD> pixels(w * h, 0xFF000000u);
    LONG extra[4] = {};
    ASSERT_EQ(m_engine->Render(static_cast<LONG>(w), static_cast<LONG>(h), nullptr, 0, extra, pixels.data()), S_OK);
    int faces = 0, sides = 0;
    for (DWORD p : pixels) {
        if ((p >> 24) != 0)
            continue;
        const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        faces += r == 0xFF && g == 0xB0 && b == 0x20;
        sides += r < 0xB0 && r > 2 * g / 1 - 40 && b < 0x20 && g < r;
    }
    EXPECT_GT(faces, 100);
    EXPECT_GT(sides, 100);
}
