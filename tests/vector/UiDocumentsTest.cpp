// The program's own vector documents: each one reads, and carries the layers and object names
// that the pages, buttons and galleries look for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "components/vector/VectorDocument.h"

namespace {

std::string SysResources(const std::string& relative)
{
    const char* source = std::getenv("BW_SOURCE");
    std::string path = std::string(source ? source : ".") + "/resources/root/SysResources/" + relative;
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

bool Load(const std::string& relative, vector::VectorDocument& document)
{
    std::ifstream file(SysResources(relative), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string data = text.str();
    std::string error;
    const bool ok = !data.empty() && document.Read(data.data(), data.size(), &error);
    EXPECT_TRUE(ok) << relative << ": " << error;
    return ok;
}

const char* const kFaces[] = {"start.web", "design.web", "text.web", "colour.web", "texture.web", "bevel.web",
                              "shadow.web", "size.web", "navbars.web", "photo.web", "rotate.web",
                              "photosize.web", "thumbnail.web", "save.web", "load.web", "Import.web",
                              "explore.web", "Tutorial.web", "exit.web", "about.web", "New.web", "butblank.web"};

TEST(UiDocuments, ButtonFacesHaveTheFiveStateLayers)
{
    const std::vector<std::string> expected = {"background", "off", "over", "on", "disabled"};
    for (const char* face : kFaces) {
        vector::VectorDocument document;
        if (Load(std::string("buttons/") + face, document)) {
            EXPECT_EQ(document.LayerNames(), expected) << face;
        }
    }
}

TEST(UiDocuments, PromptPagesAndBackgroundReadWithUsableLayers)
{
    struct Case {
        const char* file;
        std::vector<std::string> layers;  // empty: at most one layer, no records needed
    };
    const Case cases[] = {
        {"buttons/appback.web", {}},      {"prompts/start.web", {}},   {"prompts/save.web", {}},
        {"prompts/saveok.web", {}},       {"prompts/export.web", {}},  {"prompts/import.web", {}},
        {"prompts/navbars.web", {}},      {"prompts/loadwork.web", {}}, {"prompts/font.web", {}},
        {"prompts/size.web", {}},         {"prompts/themes.web", {}},
        {"prompts/background.web", {"background", "template", "hint"}},
        {"prompts/colour.web", {"background", "template", "hint"}},
        {"Graphics/graphictypes.web", {"background", "navbars"}},
    };
    for (const Case& c : cases) {
        vector::VectorDocument document;
        if (!Load(c.file, document))
            continue;
        const std::vector<std::string> names = document.LayerNames();
        if (c.layers.empty())
            EXPECT_LE(names.size(), 1u) << c.file;  // a single layer is never checked or recorded
        else
            EXPECT_EQ(names, c.layers) << c.file;
        EXPECT_FALSE(document.Bounds().IsEmpty()) << c.file;
    }
}

TEST(UiDocuments, GalleryObjectsAreNamedAfterTheirCommands)
{
    vector::VectorDocument document;
    ASSERT_TRUE(Load("Graphics/graphictypes.web", document));
    document.SetLayerVisible("navbars", false);
    const vector::RectF b = document.Bounds();
    const char* const commands[] = {"type-navbars", "type-projects", "type-explore", "type-themesets"};
    for (int i = 0; i < 4; ++i) {
        const vector::PointF middle = {b.left + (b.right - b.left) * (i + 0.5) / 4, (b.top + b.bottom) / 2};
        EXPECT_EQ(document.ObjectNameAt(middle), commands[i]);
    }
    EXPECT_EQ(document.ObjectNameAt({b.left + 1, b.top + 1}), "");
}

}  // namespace
