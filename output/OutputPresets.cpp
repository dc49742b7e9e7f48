#include "output/OutputPresets.h"

#include "util/AppUtilServices.h"
#include "document/Options.h"
#include "output/OutputResource.h"

#include <cstring>

namespace {

const QualityPresetRow kPresets[3] = {
    // button ExportQuality ExportDither ExportPalette GIF PNG Bpp JPEG
    {1034, 0, 2, 1, 16, 16, 4, 50},
    {1037, 1, 0, 1, 64, 64, 8, 75},
    {1040, 2, 0, 1, 256, 256, 8, 90},
};

const int kGraphicTypePicture = 5;
// Interlacing only counts for graphics of at least this many pixels each way.
const int kMinInterlacedSide = 8;

bool IsPicture(const COptions& record)
{
    return record.GetGraphicType() == kGraphicTypePicture;
}

CString TrimLeft(const CString& text)
{
    int start = 0;
    while (start < text.GetLength() && text[start] == ' ')
        ++start;
    return text.Mid(start);
}

CString TrimRight(const CString& text)
{
    int end = text.GetLength();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return text.Left(end);
}

}  // namespace

const QualityPresetRow& GetQualityPreset(int preset)
{
    if (preset < kPresetFast || preset > kPresetHigh)
        preset = kPresetMedium;
    return kPresets[preset];
}

int PresetFromButton(int buttonId)
{
    for (int preset = kPresetFast; preset <= kPresetHigh; ++preset)
        if (kPresets[preset].buttonId == buttonId)
            return preset;
    return kPresetNone;
}

int DefaultTransThreshold(bool photoHandlerActive)
{
    return photoHandlerActive ? 192 : 254;
}

int RecogniseQualityPreset(const COptions& record, bool photoHandlerActive)
{
    const bool interlaced = record.GetInterlaced() != 0 && record.GetPixelWidth(true) >= kMinInterlacedSide &&
                            record.GetPixelHeight(true) >= kMinInterlacedSide;
    if (interlaced || record.GetTransThreshold() != DefaultTransThreshold(photoHandlerActive))
        return kPresetNone;
    if (!IsPicture(record) && record.GetTransparent() != 1)
        return kPresetNone;
    const int type = record.GetExportType();
    for (int preset = kPresetFast; preset <= kPresetHigh; ++preset) {
        const QualityPresetRow& row = kPresets[preset];
        bool match = false;
        if (type == 0)
            match = static_cast<int>(record.GetGIFPaletteSize()) == row.gifPaletteSize &&
                    record.GetExportPalette() == row.exportPalette && record.GetExportDither() == row.exportDither;
        else if (type == 1)
            match = static_cast<int>(record.GetJPEGQuality()) == row.jpegQuality;
        else if (type == 4)
            match = static_cast<int>(record.GetExportBpp()) == row.exportBpp &&
                    static_cast<int>(record.GetPNGPaletteSize()) == row.pngPaletteSize &&
                    record.GetExportPalette() == row.exportPalette && record.GetExportDither() == row.exportDither;
        if (match)
            return preset;
    }
    return kPresetNone;
}

void ApplyQualityPreset(COptions& record, int preset, bool photoHandlerActive)
{
    if (preset < kPresetFast || preset > kPresetHigh)
        return;
    const QualityPresetRow& row = kPresets[preset];
    record.SetExportQuality(row.exportQuality);
    record.SetExportDither(row.exportDither);
    record.SetExportPalette(row.exportPalette);
    record.SetGIFPaletteSize(static_cast<unsigned>(row.gifPaletteSize));
    record.SetPNGPaletteSize(static_cast<unsigned>(row.pngPaletteSize));
    record.SetExportBpp(static_cast<unsigned>(row.exportBpp));
    record.SetJPEGQuality(static_cast<unsigned>(row.jpegQuality));
    record.SetInterlaced(0);
    record.SetTransThreshold(static_cast<BYTE>(DefaultTransThreshold(photoHandlerActive)));
    record.SetTransparent(IsPicture(record) ? 0 : 1);
    record.SetModified();
}

int ExportTypeFromButton(int buttonId)
{
    switch (buttonId) {
    case 1023: return 0;
    case 1025: return 1;
    case 1033: return 4;
    default: return -1;
    }
}

int FormatButtonFromType(int exportType)
{
    return exportType == 0 ? 1023 : exportType == 1 ? 1025 : 1033;
}

CString ExportTypeExtension(int exportType)
{
    switch (exportType) {
    case 0: return "gif";
    case 1: return "jpg";
    case 4: return "png";
    default: return CString();
    }
}

std::uint64_t ApproximateNavBarSize(std::uint64_t oneImage, int enabledStates)
{
    if (enabledStates <= 0)
        return oneImage;
    return static_cast<std::uint64_t>(static_cast<double>(oneImage) * enabledStates * 1.2);
}

CString MakeSizeEstimateText(const CString& fileSize, bool approximate, const CString& pixelText)
{
    CString text = fileSize;
    if (approximate)
        text += LoadAppString(IDS_OUTPUT_APPROX, " (approx.)");
    text += LoadAppString(IDS_OUTPUT_COMMA, ", ");
    text += pixelText;
    return text;
}

CString ProjectNameFromFolder(const CString& folder, const CString& projectTag)
{
    const int at = folder.Find(projectTag);
    if (at > 0)
        return folder.Left(at - 1);
    return folder;
}

CString ProjectNameFromChoice(const CString& text, const CString& projectTag)
{
    const int at = text.Find(projectTag);
    return TrimRight(at > 0 ? text.Left(at) : text);
}

std::vector<CString> MakeProjectList(const std::vector<CString>& folders, const CString& projectTag,
                                     const CString& defaultProject)
{
    std::vector<CString> names;
    bool haveDefault = false;
    for (const CString& folder : folders) {
        const CString name = ProjectNameFromFolder(folder, projectTag);
        if (name.Left(defaultProject.GetLength()) == defaultProject)
            haveDefault = true;
        names.push_back(name);
    }
    if (!haveDefault)
        names.push_back(defaultProject);
    return names;
}

bool CheckNewProjectName(const CString& typed, const CString& placeholder, CString& name)
{
    const CString text = TrimLeft(typed);
    if (text.IsEmpty() || text == placeholder || text.FindOneOf("\\/:*?\"<>|") >= 0)
        return false;
    name = text;
    return true;
}

CString MakeProjectFolderPath(const CString& projectsFolder, const CString& name, const CString& projectTag)
{
    CString path;
    path.Format("%s%s %s", static_cast<const char*>(projectsFolder), static_cast<const char*>(name),
                static_cast<const char*>(projectTag));
    return path;
}

CString MakeSaveGraphicPath(const CString& exportDir, const CString& root, const CString& exportFolderName,
                            const CString& name, const CString& defaultName, int exportType)
{
    CString folder = exportDir;
    if (folder.IsEmpty())
        folder = root + exportFolderName + "\\";
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != '\\')
        folder += "\\";
    const CString title = name.IsEmpty() ? defaultName + "1" : name;
    return folder + title + "." + ExportTypeExtension(exportType);
}

CString MakeTempExportPath(const CString& tempFolder, const char* extension, int exportType)
{
    CString path = tempFolder + "temptwg";
    if (extension && *extension)
        return path + "." + extension;
    return path + (exportType == 1 ? ".jpg" : exportType == 4 ? ".png" : ".gif");
}
