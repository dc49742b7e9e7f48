// Export paths: the proposed file of an exported graphic, the next free numbered variant of a
// name, numbered project folders, and writing the graphic to them. The free functions read the
// current option record and the "ExportDir" value of the Options key.
#pragma once

#include "framework/core/Afx.h"

class COptions;
class CTime;

// path itself when no file has that name; otherwise the first free numbered variant, continuing
// a series (Name.gif, Name2.gif, ...) and keeping the companion's numbered name free as well.
// The extension comes back in lower case.
CString MakeNumberedName(const CString& path, const CString& companion);

// The file name (without folder and extension) an export of the record gets: its last export
// name, else (hosted editing of a style file or a thumbnail) the name the style file stored,
// else story 0's text or the engine template's name cut at a late underscore; "Graphic" when
// nothing is left.
CString MakeExportBaseName(const COptions& record, bool hostedStyleOrThumbnail);
// "jpg", "gif" or "png" for the export types 1, 0 and 4; empty for any other type.
CString ExportExtension(int exportType);
// The folder an export goes to, with a trailing backslash: exportDir when the folder that holds
// it exists, else the "Export" folder under the root.
CString ChooseExportFolder(const CString& exportDir, const CString& rootPath);

// The root + "SysResources\Graphics\__sysblank.jpg".
CString GetSysBlankImagePath();
// The proposed export file of the current graphic; its folder is created when missing.
CString GetExportFolderPath();
// GetExportFolderPath made free with MakeNumberedName.
CString GetNextExportPath();
// The size-estimate file of the current record's export type in this instance's temporary
// folder.
CString GetTempExportPath();
// Writes the current graphic at full size to path, or copies the size-estimate export there
// when reuseTemp is set and that file exists. A failure is shown (message 122) and answers false.
bool SaveGraphicAs(const CString& path, bool reuseTemp);
// Writes the current graphic (all states as an animated GIF when it has several) to the next
// free export name. The path written, or empty when nothing was written.
CString ExportToNextFreeName();
// A numbered variant of a folder that does not exist yet ("Sample1", "Sample2 (Project)"); the
// folder itself when it does not exist. Creates nothing.
CString CreateNumberedFolder(const CString& folder);
// The templates folder + current project + " (Project)", created with its parents; empty
// without an option record.
CString MakeProjectFolderPath();

// The file's modification time; false without an output, or when the file cannot be read.
bool GetFileModifiedTime(const CString& path, CTime* time);
// Sets the file's modification time; does nothing (and answers true) while a photo is current.
bool SetFileTimeUnlessThumbnail(const CString& path, const CTime& time);
