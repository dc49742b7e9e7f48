// Saving the current graphic into a project: the order in which one save writes its files and
// values, shared by the save dialog of a single graphic and that of a navigation bar.
//
//   1 the exported image (or the bar's script, images and pages)    destination folder
//   2 the record's ExportPathNameExt (and its registry value)
//   3 the style file (a bar: its state files and thumbnail)         project folder
//   4 the thumbnail (".qgt"; a picture: a full JPEG ".jpg")         project folder
//   5 the type-file entry and the galleries' "insertnewitem#..."    project folder
//   6 a picture's texture copy, after the user agreed               templates\Backgrounds
// then, in FinishSave, the registry value "ExportDir".
//
// The steps that need the windows (questions, the exporters that render, the editor's result
// file) are the caller's, through CProjectSaveSteps; everything else is here and portable.
#pragma once

#include "framework/core/CString.h"
#include "framework/core/CTime.h"

class CNavBar;
class COptions;

// Where and how this save writes.
struct ProjectSaveContext {
  CString name;             // the graphic's name; comes back as the name actually used
  CString currentFolder;    // the destination folder
  CString extension;        // the image extension without dot ("html" for a bar)
  CString projectsFolder;   // the folder of the project folders
  CString project;          // the current project's name
  CString templatesFolder;  // the template library (for the Backgrounds folder)
  bool navBar = false;
  bool photoHandler = false;  // the photo handler is current: only the image is written
  // Started by an HTML editor: style editing keeps the command line's style file, image
  // editing writes only the named image.
  bool styleEditing = false;
  bool imageEditing = false;
  CString editorStyleFolder;
  CString editorStyleBaseName;
  CString editorImagePath;
};

// What one save wrote, for the caller's closing steps and for tests.
struct ProjectSaveOutcome {
  CString imagePath;
  CString stylePath;
  CString projectFolder;
  CString texturePath;
  bool overwrite = false;
};

class CProjectSaveSteps {
 public:
  virtual ~CProjectSaveSteps() = default;

  virtual bool DestinationExists(const CString& imagePath) = 0;
  // 0 cancel, 1 overwrite, 2 save under the proposed name (imagePath replaced by it).
  virtual int AskOverwrite(CString& imagePath) = 0;
  // The image of a single-state graphic, or a bar's files; reuse: the size estimate's
  // temporary export may be copied instead of rendering again.
  virtual bool WriteExportFile(const CString& imagePath, bool reuse, const CTime* fileTime) = 0;
  // All states of the graphic as one animated GIF.
  virtual bool WriteAnimatedExport(const CString& imagePath) = 0;
  // The thumbnail through an exporter of the record's settings (thumbnail flag: thumbnail size).
  virtual bool WriteThumbnail(const CString& path, bool thumbnail) = 0;
  virtual bool ReadImageSize(const CString& path, int& width, int& height);
  virtual void ShowName(const CString& name) {}
  virtual void WriteEditorResult(const CString& imagePath, const CString& stylePath) {}
  virtual void SendCommand(const CString& command) {}
  virtual bool AskTextureCopy() { return false; }
  virtual bool CopyAsTexture(const CString& target) { return false; }
  virtual void ReportError(unsigned messageId, const CString& argument) {}
  virtual void MarkSaved() {}
};

// "Your edits could not be saved in %s.": the style or state files were not written; the
// save stops so that nothing closes as if the work were kept.
constexpr unsigned kMsgStyleFileNotSaved = 33291;

// Runs the save; false at the first failure (files written before it stay).
bool SaveToProject(COptions& record, CNavBar* bar, ProjectSaveContext& context, CProjectSaveSteps& steps,
                   ProjectSaveOutcome* outcome = nullptr);

// The type-file entry of a saved graphic (thumbnailBase: the style path without extension)
// and the galleries' command; false when the type file could not be written.
bool AddToTypeFile(COptions& record, bool navBar, const CString& thumbnailBase, CProjectSaveSteps& steps);

// The registry value "ExportDir" (Options key): the folder of the saved image.
bool StoreExportFolder(const CString& imagePath);
