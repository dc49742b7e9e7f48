// The style-properties menu's entries built from style files for each kind of panel, its
// keyboard choice reaching the panel, and the graphic menu's greying and clipboard blocks.
#include "bitmap/GraphicDragOut.h"
#include "document/Options.h"
#include "editors/GraphicMenu.h"
#include "editors/MenuServices.h"
#include "panels/OptionsDlg.h"
#include "editors/PropertiesMenu.h"
#include "tests/panels/PanelsTestResource.h"
#include "tests/panels/FakePanelServices.h"
#include "tests/panels/PanelTestHost.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TempFile(const char* name)
{
    char folder[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void WriteText(const std::string& path, const std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_TRUE(file);
    std::fputs(text.c_str(), file);
    std::fclose(file);
}

struct Entry {
    std::string text;
    int kind;
};

struct BuildCase {
    const char* name;
    const char* panelClass;
    const char* style;  // null: no style file chosen
    int graphicType;
    bool navBarMode;
    bool textSlot;
    std::vector<Entry> listed;  // the entries after "Current Style :- "
    bool greyedFrom2;
};

const char kColours[] = "ColProp-Question : Face\n"
                        "ColProp-Value : 255\n"
                        "Scale : 1.0\n"
                        "ColProp-Question : Edge\n"
                        "ColProp-Value : 16711680\n"
                        "ColProp-Question : Text\n"
                        "ColProp-Value : 65280\n"
                        "ShadowOn : 1\n"
                        "ShadowColour : 8421504\n";

const char kText[] = "Font : Arial\n"
                     "Text : Twenty-one characters\n"
                     "Font : Verdana\n"
                     "FontSizeOriginal : 24000\n"
                     "Font : Tahoma\n"
                     "Font : Courier\n"
                     "Scale : 0.5\n"
                     "GraphicType : 0\n"
                     "LetterSpace : 3\n"
                     "TextAspectRatio : 1.5\n"
                     "TextNudgeX : 1500\n"
                     "TextNudgeY : -750\n";

const std::vector<Entry> kTextEntries = {{"Font (Arial)", kPropertyFont},
                                         {"Text (Twenty-on...)", kPropertyText},
                                         {"Font (Verdana)", kPropertyFont},
                                         {"Size in points (12.00)", kPropertyPointSize},
                                         {"Font (Tahoma)", kPropertyFont}};

const BuildCase kBuildCases[] = {
    {"unknown panel", "CBevelDlg", kColours, 0, false, true, {}, false},
    {"colours and shadow",
     "CSCEditor",
     kColours,
     0,
     false,
     true,
     {{"Face (255, 0, 0)", kPropertyColour},
      {"Edge (0, 0, 255)", kPropertyColour},
      {"Text (0, 255, 0)", kPropertyColour},
      {"Shadow (128, 128, 128)", kPropertyShadowColour}},
     false},
    {"a photo has no shadow",
     "CHSVColourDlg",
     kColours,
     5,
     false,
     true,
     {{"Face (255, 0, 0)", kPropertyColour},
      {"Edge (0, 0, 255)", kPropertyColour},
      {"Text (0, 255, 0)", kPropertyColour}},
     false},
    {"shadow off", "CSCEditor", "ColProp-Question : Face\nColProp-Value : 1\nShadowOn : 0\nShadowColour : 5\n", 0,
     false, true, {{"Face (1, 0, 0)", kPropertyColour}}, false},
    {"sizes in file order", "CTemplateSizeDlg", "PixelHeight : 40\nPixelWidth : 120\nWidthless : 9\n", 0, false, true,
     {{"Height (40)", kPropertyHeight}, {"Width (120)", kPropertyWidth}}, false},
    {"textures",
     "CTextureDlg",
     "TextureProp-Question : Face \nTextureProp-FileName :  C:\\Tex\\marble.v1.jpg \n"
     "TextureProp-Question : Edge\nTextureProp-FileName : \nTextureProp-Question : Back\n"
     "TextureProp-FileName : sand.gif\nTextureProp-FileName : late.gif\n",
     0,
     false,
     true,
     {{"Face (marble.v1)", kPropertyTexture1}, {"Back (sand)", kPropertyTexture3}},
     false},
    {"no texture has a file", "CTextureDlg", "TextureProp-Question : Face\nTextureProp-FileName : \n", 0, false,
     true, {{"No Textures Available", kPropertyNone}}, true},
    {"text: three fonts, a cut text", "CTextDlg", kText, 0, false, true, kTextEntries, false},
    {"text in navbar mode", "CTextDlg", kText, 0, true, true,
     {{"Font (Arial)", kPropertyFont},
      {"Font (Verdana)", kPropertyFont},
      {"Size in points (12.00)", kPropertyPointSize},
      {"Font (Tahoma)", kPropertyFont}},
     false},
    {"no text slot", "CTextDlg", kText, 0, false, false, kTextEntries, true},
    {"3D heading size from the scale", "CTextDlg", "GraphicType : 3\nScale : 0.25\nFontSizeOriginal : 9000\n", 0,
     false, true, {{"Size in points (12.00)", kPropertyPointSize}}, false},
    {"advanced text",
     "CTextDlgAdvanced",
     "LetterSpace : 3\nTextAspectRatio : 1.5\nTextNudgeX : 1500\nTextNudgeY : -750\nText : Short\n",
     0,
     false,
     true,
     {{"Letter space (3)", kPropertyLetterSpace},
      {"Aspect (1.5)", kPropertyAspect},
      {"Horizontal position (2)", kPropertyNudgeX},
      {"Vertical position (-1)", kPropertyNudgeY},
      {"Text (Short)", kPropertyText}},
     false},
};

bool Greyed(HMENU menu, int position)
{
    return (::GetMenuState(menu, position, MF_BYPOSITION) & MF_GRAYED) != 0;
}

std::string MenuText(HMENU menu, int position)
{
    char text[200] = "";
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

}  // namespace

TEST(PropertiesMenu, EntriesForEachPanelKind)
{
    CFakePanelServices services;
    const std::string path = TempFile("bw-properties.qtw");
    for (const BuildCase& test : kBuildCases) {
        SCOPED_TRACE(test.name);
        COptions record;
        record.SetGraphicType(test.graphicType);
        record.SetCapabilityFlag(kCapabilityText, test.textSlot ? 1 : 0);
        services.options = &record;
        services.navBarMode = test.navBarMode;
        WriteText(path, test.style);
        CPropertiesMenu menu;
        menu.SetStyleFile(path.c_str());
        menu.Build(test.panelClass);
        HMENU popup = menu.GetMenu();
        ASSERT_TRUE(popup);
        ASSERT_EQ(menu.GetEntryCount(), 3 + (int)test.listed.size());
        ASSERT_EQ(::GetMenuItemCount(popup), menu.GetEntryCount());
        EXPECT_EQ(MenuText(popup, 0), "C&reate Style");
        EXPECT_EQ(::GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR, (UINT)MF_SEPARATOR);
        EXPECT_EQ(MenuText(popup, 2), "Current Style :- ");
        EXPECT_EQ(menu.GetEntryKind(2800), kPropertyCreateStyle);
        EXPECT_EQ(menu.GetEntryKind(2802), kPropertyCurrentStyle);
        for (size_t i = 0; i < test.listed.size(); ++i) {
            const int position = 3 + (int)i;
            EXPECT_EQ(MenuText(popup, position), test.listed[i].text) << i;
            EXPECT_EQ(::GetMenuItemID(popup, position), 2800u + position) << i;
            EXPECT_EQ(menu.GetEntryKind(2800 + position), test.listed[i].kind) << i;
            EXPECT_EQ(Greyed(popup, position), test.greyedFrom2) << i;
        }
        EXPECT_EQ(Greyed(popup, 2), test.greyedFrom2);
        EXPECT_FALSE(Greyed(popup, 0));
        EXPECT_EQ(menu.GetEntryKind(2800 + menu.GetEntryCount()), 0);
        EXPECT_EQ(menu.GetEntryKind(2799), 0);
        EXPECT_EQ(menu.GetPanelClass(), test.panelClass);
    }
    ::DeleteFileA(path.c_str());
}

TEST(PropertiesMenu, WithoutAStyleOrItsFileOnlyTheFirstEntries)
{
    CFakePanelServices services;
    CPropertiesMenu menu;
    menu.Build("CSCEditor");
    ASSERT_EQ(menu.GetEntryCount(), 3);
    EXPECT_EQ(MenuText(menu.GetMenu(), 2), "No Style Selected!");
    EXPECT_EQ(menu.GetEntryKind(2802), kPropertyNoStyle);
    EXPECT_TRUE(Greyed(menu.GetMenu(), 2));

    // A style file that cannot be read lists nothing beyond "Current Style :- ".
    menu.SetStyleFile(TempFile("bw-no-such-style.qtw").c_str());
    menu.Build("CSCEditor");
    ASSERT_EQ(menu.GetEntryCount(), 3);
    EXPECT_EQ(MenuText(menu.GetMenu(), 2), "Current Style :- ");
    EXPECT_FALSE(Greyed(menu.GetMenu(), 2));
}

namespace {

class CTestPanel : public COptionsDlg {
public:
    explicit CTestPanel(CWnd* parent) : COptionsDlg(IDD_TEST_PANEL, parent) {}
};

}  // namespace

// Choosing "C&reate Style" from the keyboard reaches the panel, which asks the managers to
// capture the current graphic as the style.
TEST(PropertiesMenu, ChosenEntryIsThePanelsCommand)
{
    CFakePanelServices services;
    HWND hostWindow = CreatePanelTestHost(400, 300);
    ASSERT_TRUE(hostWindow);
    CWnd host;
    host.Attach(hostWindow);
    services.mainWindow = &host;
    {
        CTestPanel panel(&host);
        ASSERT_TRUE(panel.Create(IDD_TEST_PANEL, &host));
        panel.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(hostWindow);
        CPropertiesMenu menu;
        // The menu's own loop reads the keys: the first entry is highlighted and chosen.
        ::PostMessageA(panel.GetSafeHwnd(), WM_KEYDOWN, VK_DOWN, 1);
        ::PostMessageA(panel.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_TRUE(menu.Show(300, 250, &panel));
        EXPECT_EQ(menu.GetPanelClass(), "COptionsDlg");
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].kind, 18);

        // Escape closes the menu with nothing chosen.
        ::PostMessageA(panel.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_FALSE(menu.Show(300, 250, &panel));
        EXPECT_EQ(services.messages.size(), 1u);
        panel.DestroyWindow();
    }
    host.Detach();
    ::DestroyWindow(hostWindow);
}

namespace {

class CFakeMenuServices : public CMenuServices {
public:
    CFakeMenuServices() { SetMenuServices(this); }
    ~CFakeMenuServices() override { SetMenuServices(nullptr); }
    bool IsEditablePageActive() override { return editable; }
    bool editable = true;
};

}  // namespace

TEST(GraphicMenu, ItemsGreyWithThePageAndTheTemplate)
{
    CFakePanelServices services;
    CFakeMenuServices pages;
    CGraphicMenu menu;
    ASSERT_TRUE(menu.IsLoaded());
    HMENU popup = ::GetSubMenu(menu.GetMenu(), 0);
    ASSERT_TRUE(popup);
    COptions record;
    struct {
        const char* name;
        bool editablePage;
        COptions* record;
        int templateLoaded;
        bool editsGreyed, copiesGreyed;
    } cases[] = {
        {"no record at all", true, nullptr, 0, false, false},
        {"template not ready", true, &record, 0, false, true},
        {"ready graphic", true, &record, 1, false, false},
        {"page without a graphic", false, &record, 1, true, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        pages.editable = test.editablePage;
        services.options = test.record;
        record.SetCapabilityFlag(kCapabilityTemplateLoaded, test.templateLoaded);
        menu.UpdateItems();
        auto greyed = [&](UINT id) { return (::GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
        EXPECT_EQ(greyed(kGraphicMenuUndoAllEdits), test.editsGreyed);
        EXPECT_EQ(greyed(kGraphicMenuCreateStyle), test.editsGreyed);
        EXPECT_EQ(greyed(kGraphicMenuCopyBitmap), test.copiesGreyed);
        EXPECT_EQ(greyed(kGraphicMenuCopyFileName), test.copiesGreyed);
        EXPECT_FALSE(greyed(kGraphicMenuInformation));
    }
    // Nothing to copy or drag without a ready graphic.
    services.options = nullptr;
    EXPECT_FALSE(menu.CopyBitmapToClipboard());
    EXPECT_FALSE(menu.CopyFileNameToClipboard());
    EXPECT_FALSE(menu.StartDrag(0, 0));
    services.options = &record;
    record.SetCapabilityFlag(kCapabilityTemplateLoaded, 0);
    EXPECT_FALSE(menu.CopyBitmapToClipboard());
    EXPECT_FALSE(menu.CopyFileNameToClipboard());
}

namespace {

// Keeps every cursor the menu asks for.
class CCursorRecorder : public CFakePanelServices {
public:
    void SetCaptureCursor(int cursorId, CWnd*) override { cursors.push_back(cursorId); }
    void ReleaseCaptureCursor(int) override { cursors.push_back(0); }
    std::vector<int> cursors;
};

}  // namespace

// Copying a graphic of more than 8000 pixels shows the wait cursor, and always releases it.
TEST(GraphicMenu, WaitCursorAboveEightThousandPixels)
{
    CCursorRecorder services;
    CGraphicMenu menu;
    COptions record;
    record.SetCapabilityFlag(kCapabilityTemplateLoaded, 1);
    services.options = &record;
    const struct {
        double width, height;
        std::vector<int> cursors;
    } cases[] = {{100, 80, {}}, {101, 80, {1, 0}}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.width);
        record.SetBaseSize(test.width, test.height, 1.0);
        services.cursors.clear();
        menu.CopyBitmapToClipboard();  // nothing renders here: no bitmap, yet the cursor rules hold
        EXPECT_EQ(services.cursors, test.cursors);
    }
}

TEST(GraphicMenu, ClipboardBlocks)
{
    HGLOBAL text = MakeTextGlobal("C:\\a.gif");
    ASSERT_TRUE(text);
    EXPECT_STREQ(static_cast<const char*>(::GlobalLock(text)), "C:\\a.gif");
    ::GlobalUnlock(text);
    ::GlobalFree(text);
    EXPECT_EQ(MakeTextGlobal(nullptr), nullptr);

    // The file drop of an 8-character path: the 20-byte header, the path and two zeros.
    HGLOBAL drop = MakeDropFilesBlock("C:\\a.gif");
    ASSERT_TRUE(drop);
    EXPECT_GE(::GlobalSize(drop), 30u);
    const char* bytes = static_cast<const char*>(::GlobalLock(drop));
    DWORD offset;
    std::memcpy(&offset, bytes, sizeof offset);
    EXPECT_EQ(offset, 20u);
    EXPECT_EQ(std::string(bytes + 20, 10), std::string("C:\\a.gif\0\0", 10));
    ::GlobalUnlock(drop);
    ::GlobalFree(drop);
    EXPECT_EQ(MakeDropFilesBlock(""), nullptr);
}
