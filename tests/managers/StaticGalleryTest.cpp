// The static gallery on a fake renderer view: the page must name its two layers; clicks send the
// object under the pointer as a page command; hovering a navigation-bar object lights up the
// "navbars" layer, other objects only change the cursor.
#include "document/Options.h"
#include "gallery/GalleryServices.h"
#include "gallery/StaticGallery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Objects are rectangles in the view's client coordinates.
struct FakeObject {
    RECT rect;
    const char* name;
};

class FakeView : public CGalleryView {
public:
    bool Create(CWnd* parent, const RECT& rect, bool) override
    {
        m_parent = parent;
        return true;
    }
    CWnd* GetWindow() override { return nullptr; }
    bool LoadWebFile(const char* path) override
    {
        loaded = path;
        return true;
    }
    int GetLayerCount() override { return (int)layers.size(); }
    CString GetLayerName(int index) override { return layers[index].c_str(); }
    bool ShowLayers(const char*, bool) override { return true; }
    bool Render(bool) override { return true; }
    bool CacheLayer(const char* name) override
    {
        cached.push_back(name);
        return true;
    }
    bool IsLayerCached(const char* name) override
    {
        for (const std::string& each : cached)
            if (each == name)
                return true;
        return false;
    }
    bool CompositeLayer(const char* name) override
    {
        composited.push_back(name);
        return true;
    }
    void Blit(CDC*) override {}
    bool HitTest(int x, int y, unsigned length, char* name) override
    {
        POINT point = {x, y};
        ::ScreenToClient(m_parent->GetSafeHwnd(), &point);
        for (const FakeObject& object : objects)
            if (::PtInRect(&object.rect, point)) {
                lstrcpynA(name, object.name, (int)length);
                return true;
            }
        return false;
    }
    void FreeBuffer() override {}
    void ReleaseRenderer() override {}
    void MoveTo(const RECT&) override {}

    std::vector<std::string> layers{"background", "NavBars"};
    std::vector<FakeObject> objects;
    std::vector<std::string> cached, composited;
    std::string loaded;

private:
    CWnd* m_parent = nullptr;
};

class RecordingServices : public CGalleryServices {
public:
    CGalleryView* CreateView() override
    {
        view = new FakeView;
        view->layers = layers;
        view->objects = objects;
        return view;
    }
    CString GetRootPath() override { return "Z:\\root\\"; }
    void SendCommand(const CString& command) override { commands.push_back((const char*)command); }
    void SetCaptureCursor(int cursorId) override { cursors.push_back(cursorId); }
    COptions* GetCurrentOptions() override { return &record; }
    void InternalError(int line, const char*) override { errors.push_back(line); }

    std::vector<std::string> layers{"background", "NavBars"};
    std::vector<FakeObject> objects;
    FakeView* view = nullptr;
    std::vector<std::string> commands;
    std::vector<int> cursors;
    std::vector<int> errors;
    COptions record;
};

class StaticGalleryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        services.objects = {{{0, 0, 50, 50}, "type-navbars"},
                            {{50, 0, 100, 50}, "Buttons\\Glossy.kiq"},
                            {{100, 0, 150, 50}, "bHelp"},
                            {{150, 0, 200, 50}, "rOver"},
                            {{0, 50, 50, 100}, "type-buttonnavbars"}};
        SetGalleryServices(&services);
        ASSERT_TRUE(host.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
    }
    void TearDown() override
    {
        gallery.reset();
        host.DestroyWindow();
        SetGalleryServices(nullptr);
    }

    bool CreateGallery()
    {
        gallery.reset(new CStaticGallery("SysResources\\Graphics\\graphictypes.web"));
        gallery->m_visible = 0;
        RECT rect = {0, 0, 300, 200};
        return gallery->Create(&host, rect, 0xffff, SS_SIMPLE) != FALSE;
    }

    // A point of the gallery in screen coordinates.
    POINT Screen(int x, int y)
    {
        POINT point = {x, y};
        ::ClientToScreen(gallery->GetSafeHwnd(), &point);
        return point;
    }

    RecordingServices services;
    CWnd host;
    std::unique_ptr<CStaticGallery> gallery;
};

TEST_F(StaticGalleryTest, PageMustNameBackgroundAndHighlightLayers)
{
    struct Case {
        std::vector<std::string> layers;
        bool created;
    } cases[] = {
        {{"background", "NavBars"}, true},
        {{"Background", "navbars", "extra"}, true},
        {{"background"}, false},
        {{"background", "other"}, false},
        {{"navbars", "template"}, false},
    };
    for (const Case& c : cases) {
        services.layers = c.layers;
        services.errors.clear();
        EXPECT_EQ(CreateGallery(), c.created) << c.layers.size();
        EXPECT_EQ(gallery->IsCreated(), c.created);
        EXPECT_EQ(services.errors.empty(), c.created);
        if (c.created) {
            EXPECT_EQ(services.view->loaded, "Z:\\root\\SysResources\\Graphics\\graphictypes.web");
            EXPECT_TRUE(services.view->IsLayerCached("navbars"));  // the highlight is ready
        }
    }
}

TEST_F(StaticGalleryTest, ClicksSendTheObjectNameAsACommand)
{
    ASSERT_TRUE(CreateGallery());
    const int typeBefore = services.record.GetGraphicType();
    gallery->ForwardLButtonDown(MK_LBUTTON, {25, 25});
    EXPECT_EQ(services.record.GetGraphicType(), typeBefore);  // not a template: the record is left alone
    gallery->ForwardLButtonDown(MK_LBUTTON, {125, 25});   // cursor-only objects still send their name
    gallery->ForwardLButtonDown(MK_LBUTTON, {250, 150});  // nothing there: no command
    gallery->ForwardRButtonDown(MK_RBUTTON, {175, 25});
    EXPECT_EQ(services.commands, (std::vector<std::string>{"type-navbars", "bHelp", "rOver-r"}));

    // A template object gives the record the gallery's template type before its command.
    services.record.SetModified(false);
    gallery->ForwardLButtonDown(MK_LBUTTON, {75, 25});
    EXPECT_EQ(services.commands.back(), "Buttons\\Glossy.kiq");
    EXPECT_EQ(services.record.GetGraphicType(), 11);
    EXPECT_TRUE(services.record.IsModified());
}

TEST_F(StaticGalleryTest, HoverLightsNavigationBarObjectsOnly)
{
    ASSERT_TRUE(CreateGallery());
    FakeView* view = services.view;

    // A cursor-only object: its cursor, no highlight.
    EXPECT_TRUE(gallery->TrackHover(Screen(125, 25)));
    EXPECT_EQ(services.cursors.back(), CStaticGallery::kButtonCursor);
    EXPECT_TRUE(gallery->TrackHover(Screen(175, 25)));
    EXPECT_EQ(services.cursors.back(), CStaticGallery::kRolloverCursor);
    EXPECT_TRUE(view->composited.empty());

    // A navigation-bar object: the hand and the highlight, then the hover pauses.
    EXPECT_TRUE(gallery->TrackHover(Screen(25, 25)));
    EXPECT_EQ(services.cursors.back(), CStaticGallery::kHandCursor);
    EXPECT_EQ(view->composited, std::vector<std::string>{"navbars"});
    EXPECT_EQ(gallery->GetHoveredName(), "type-navbars");
    EXPECT_EQ(gallery->m_hoverAllowed, 0);

    // Moving on to another navigation-bar object while the hover pauses changes nothing.
    gallery->TrackHover(Screen(25, 75));
    EXPECT_EQ(view->composited.size(), 1u);
    EXPECT_EQ(gallery->GetHoveredName(), "type-navbars");

    // Leaving the control clears the highlight.
    EXPECT_FALSE(gallery->TrackHover(Screen(400, 400)));
    EXPECT_EQ(gallery->GetHoveredName(), "");
}

}  // namespace
