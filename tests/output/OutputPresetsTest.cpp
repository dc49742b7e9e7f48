// The output panel's rules: which quality preset a graphic's settings match, what a preset
// writes, the size-estimate texts, project names and Save Graphic's proposed path.
#include "document/Options.h"
#include "output/OutputPresets.h"

#include <gtest/gtest.h>

namespace {

// A GIF at Medium quality: the record the presets are recognised from.
void MakeMediumGif(COptions& record)
{
    record.SetGraphicType(1);
    record.SetExportType(0);
    record.SetGIFPaletteSize(64);
    record.SetExportPalette(1);
    record.SetExportDither(0);
    record.SetInterlaced(0);
    record.SetTransparent(1);
    record.SetTransThreshold(254);
    record.SetPixelSize(100, 20);
}

TEST(OutputPresets, RecognisesThePresetOfAGraphic)
{
    struct Case {
        const char* what;
        void (*change)(COptions&);
        bool photo;
        int expected;
    };
    const Case cases[] = {
        {"medium GIF", [](COptions&) {}, false, kPresetMedium},
        {"interlaced 100x20", [](COptions& r) { r.SetInterlaced(1); }, false, kPresetNone},
        {"interlaced but 5 high", [](COptions& r) { r.SetInterlaced(1); r.SetPixelSize(100, 5); }, false, kPresetMedium},
        {"photo handler wants 192", [](COptions&) {}, true, kPresetNone},
        {"photo threshold 192", [](COptions& r) { r.SetTransThreshold(192); }, true, kPresetMedium},
        {"opaque graphic", [](COptions& r) { r.SetTransparent(0); }, false, kPresetNone},
        {"opaque picture", [](COptions& r) { r.SetTransparent(0); r.SetGraphicType(5); }, false, kPresetMedium},
        {"GIF fast", [](COptions& r) { r.SetGIFPaletteSize(16); r.SetExportDither(2); }, false, kPresetFast},
        {"GIF 64 diffused", [](COptions& r) { r.SetExportDither(2); }, false, kPresetNone},
        {"JPEG 80", [](COptions& r) { r.SetExportType(1); r.SetJPEGQuality(80); }, false, kPresetNone},
        {"JPEG 90", [](COptions& r) { r.SetExportType(1); r.SetJPEGQuality(90); }, false, kPresetHigh},
        {"PNG 8/256", [](COptions& r) { r.SetExportType(4); r.SetExportBpp(8); r.SetPNGPaletteSize(256); }, false, kPresetHigh},
        {"PNG 4/16 diffused", [](COptions& r) { r.SetExportType(4); r.SetExportBpp(4); r.SetPNGPaletteSize(16); r.SetExportDither(2); }, false, kPresetFast},
        {"PNG 24", [](COptions& r) { r.SetExportType(4); r.SetExportBpp(24); r.SetPNGPaletteSize(256); }, false, kPresetNone},
        {"other type", [](COptions& r) { r.SetExportType(2); }, false, kPresetNone},
    };
    for (const Case& c : cases) {
        COptions record;
        MakeMediumGif(record);
        c.change(record);
        EXPECT_EQ(RecogniseQualityPreset(record, c.photo), c.expected) << c.what;
    }
}

TEST(OutputPresets, FastDownloadWritesTheWholeRow)
{
    COptions record;
    MakeMediumGif(record);
    record.SetExportType(1);
    record.SetJPEGQuality(80);
    record.SetInterlaced(1);
    record.SetTransThreshold(100);
    record.SetModified(false);
    ApplyQualityPreset(record, PresetFromButton(1034), false);
    EXPECT_EQ(record.GetJPEGQuality(), 50u);
    EXPECT_EQ(record.GetGIFPaletteSize(), 16u);
    EXPECT_EQ(record.GetPNGPaletteSize(), 16u);
    EXPECT_EQ(record.GetExportBpp(), 4u);
    EXPECT_EQ(record.GetExportDither(), 2);
    EXPECT_EQ(record.GetExportQuality(), 0);
    EXPECT_EQ(record.GetInterlaced(), 0);
    EXPECT_EQ(record.GetTransThreshold(), 254);
    EXPECT_EQ(record.GetTransparent(), 1);
    EXPECT_TRUE(record.IsModified());
    EXPECT_EQ(RecogniseQualityPreset(record, false), kPresetFast);

    // A picture is never made transparent; the photo handler's threshold is 192.
    record.SetGraphicType(5);
    ApplyQualityPreset(record, kPresetHigh, true);
    EXPECT_EQ(record.GetTransparent(), 0);
    EXPECT_EQ(record.GetTransThreshold(), 192);
    EXPECT_EQ(record.GetJPEGQuality(), 90u);
}

TEST(OutputPresets, ButtonsAndTypes)
{
    EXPECT_EQ(PresetFromButton(1037), kPresetMedium);
    EXPECT_EQ(PresetFromButton(1042), kPresetNone);
    EXPECT_EQ(ExportTypeFromButton(1033), 4);
    EXPECT_EQ(FormatButtonFromType(1), 1025);
    EXPECT_EQ(FormatButtonFromType(7), 1033);
    EXPECT_EQ(ExportTypeExtension(1), "jpg");
    EXPECT_EQ(ExportTypeExtension(3), "");
}

TEST(OutputPresets, SizeEstimate)
{
    EXPECT_EQ(ApproximateNavBarSize(1000, 2), 2400u);
    EXPECT_EQ(ApproximateNavBarSize(1001, 3), 3603u);
    EXPECT_EQ(ApproximateNavBarSize(1000, 0), 1000u);
    EXPECT_EQ(MakeSizeEstimateText("2.3K", true, "100x20 pixels"), "2.3K (approx.), 100x20 pixels");
    EXPECT_EQ(MakeSizeEstimateText("812 bytes", false, "9x9"), "812 bytes, 9x9");
}

TEST(OutputPresets, ProjectNames)
{
    EXPECT_EQ(ProjectNameFromFolder("Menus (Project)", "(Project)"), "Menus");
    EXPECT_EQ(ProjectNameFromFolder("(Project)", "(Project)"), "(Project)");
    EXPECT_EQ(ProjectNameFromChoice("Menus (Project)", "(Project)"), "Menus");
    EXPECT_EQ(ProjectNameFromChoice("Menus   ", "(Project)"), "Menus");

    const std::vector<CString> withoutDefault =
        MakeProjectList({"Menus (Project)", "Buttons (Project)"}, "(Project)", "Default");
    ASSERT_EQ(withoutDefault.size(), 3u);
    EXPECT_EQ(withoutDefault[0], "Menus");
    EXPECT_EQ(withoutDefault[2], "Default");
    EXPECT_EQ(MakeProjectList({"Default (Project)"}, "(Project)", "Default").size(), 1u);
    EXPECT_EQ(MakeProjectList({}, "(Project)", "Default").size(), 1u);
}

TEST(OutputPresets, NewProjectNames)
{
    struct Case {
        const char* typed;
        bool accepted;
        const char* name;
    };
    const Case cases[] = {
        {"  Menus", true, "Menus"}, {"Menus 2", true, "Menus 2"}, {"", false, ""}, {"    ", false, ""},
        {"(New Project Folder)", false, ""}, {"a\\b", false, ""}, {"a/b", false, ""}, {"c:", false, ""},
        {"a*", false, ""}, {"a?", false, ""}, {"a\"", false, ""}, {"<a", false, ""}, {"a>", false, ""},
        {"a|b", false, ""},
    };
    for (const Case& c : cases) {
        CString name = "unchanged";
        EXPECT_EQ(CheckNewProjectName(c.typed, "(New Project Folder)", name), c.accepted) << c.typed;
        EXPECT_EQ(name, c.accepted ? CString(c.name) : CString("unchanged")) << c.typed;
    }
    EXPECT_EQ(MakeProjectFolderPath("C:\\Root\\Projects\\", "Menus", "(Project)"), "C:\\Root\\Projects\\Menus (Project)");
}

TEST(OutputPresets, SaveGraphicAndTemporaryPaths)
{
    EXPECT_EQ(MakeSaveGraphicPath("", "C:\\Root\\", "Export", "", "Graphic", 0), "C:\\Root\\Export\\Graphic1.gif");
    EXPECT_EQ(MakeSaveGraphicPath("D:\\Web", "C:\\Root\\", "Export", "Button", "Graphic", 1), "D:\\Web\\Button.jpg");
    EXPECT_EQ(MakeSaveGraphicPath("D:\\Web\\", "", "Export", "Bar", "Graphic", 4), "D:\\Web\\Bar.png");
    EXPECT_EQ(MakeTempExportPath("C:\\Temp\\", "", 1), "C:\\Temp\\temptwg.jpg");
    EXPECT_EQ(MakeTempExportPath("C:\\Temp\\", nullptr, 4), "C:\\Temp\\temptwg.png");
    EXPECT_EQ(MakeTempExportPath("C:\\Temp\\", "", 9), "C:\\Temp\\temptwg.gif");
    EXPECT_EQ(MakeTempExportPath("C:\\Temp\\", "bmp", 0), "C:\\Temp\\temptwg.bmp");
}

}  // namespace
