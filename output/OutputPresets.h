// The output panel's rules apart from its window: the three quality presets, which preset a
// graphic's export settings match, the size-estimate texts, the project names of the project
// folders and the checks of a new project's name. Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/CString.h"

class COptions;

enum OutputPreset { kPresetNone = -1, kPresetFast = 0, kPresetMedium = 1, kPresetHigh = 2 };

// One row of the preset table.
struct QualityPresetRow {
    int buttonId;
    int exportQuality;
    int exportDither;
    int exportPalette;
    int gifPaletteSize;
    int pngPaletteSize;
    int exportBpp;
    int jpegQuality;
};

// The row of a preset (kPresetFast..kPresetHigh).
const QualityPresetRow& GetQualityPreset(int preset);
// The preset of a button id, kPresetNone for any other id.
int PresetFromButton(int buttonId);
// The transparency threshold the presets keep: 254, or 192 while the photo handler is current.
int DefaultTransThreshold(bool photoHandlerActive);

// The preset whose values the record's export settings hold, kPresetNone when none does (and
// for an export type other than GIF, JPEG or PNG).
int RecogniseQualityPreset(const COptions& record, bool photoHandlerActive);
// Writes every field of a preset's row (threshold and transparency included) into the record.
void ApplyQualityPreset(COptions& record, int preset, bool photoHandlerActive);
// The export type of a format button: 1023 GIF 0, 1025 JPEG 1, 1033 PNG 4; -1 otherwise.
int ExportTypeFromButton(int buttonId);
// The format button of an export type: 0 GIF, 1 JPEG, anything else PNG.
int FormatButtonFromType(int exportType);
// "gif", "jpg" or "png" for 0, 1 and 4; empty for any other type.
CString ExportTypeExtension(int exportType);

// A navigation bar's estimate: the size of one image times the number of enabled states
// times 1.2, truncated; unchanged when no state is enabled.
std::uint64_t ApproximateNavBarSize(std::uint64_t oneImage, int enabledStates);
// The size text: file size (+ " (approx.)") + ", " + pixel text.
CString MakeSizeEstimateText(const CString& fileSize, bool approximate, const CString& pixelText);

// The name a project folder shows in the combo box: cut before the blank that precedes
// "(Project)" when "(Project)" stands after the start.
CString ProjectNameFromFolder(const CString& folder, const CString& projectTag);
// The current project chosen from the combo's text: cut before "(Project)" and trimmed of
// trailing blanks.
CString ProjectNameFromChoice(const CString& text, const CString& projectTag);
// The combo's entries: the folders' names, with the default project added when no name
// begins with it.
std::vector<CString> MakeProjectList(const std::vector<CString>& folders, const CString& projectTag,
                                     const CString& defaultProject);

// A typed project name, leading blanks removed; false when it is empty, the placeholder, or
// holds one of \ / : * ? " < > |.
bool CheckNewProjectName(const CString& typed, const CString& placeholder, CString& name);
// The new project's folder: projects folder + name + " " + "(Project)".
CString MakeProjectFolderPath(const CString& projectsFolder, const CString& name, const CString& projectTag);

// Save Graphic's proposal: folder (a backslash ensured at its end) + name + "." + extension;
// an empty name becomes defaultName + "1"; an empty folder becomes root + exportFolderName.
CString MakeSaveGraphicPath(const CString& exportDir, const CString& root, const CString& exportFolderName,
                            const CString& name, const CString& defaultName, int exportType);
// The temporary export file in a folder (which ends with a backslash): "temptwg" + "." +
// extension, or the export type's extension (1 ".jpg", 4 ".png", else ".gif") when empty.
CString MakeTempExportPath(const CString& tempFolder, const char* extension, int exportType);
