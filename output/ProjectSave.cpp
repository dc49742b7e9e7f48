#include "output/ProjectSave.h"

#include <cstdio>
#include <cstring>

#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "bitmap/ImageImport.h"
#include "document/Options.h"
#include "navbar/NavBar.h"
#include "output/ProjectTypeFile.h"
#include "output/SaveNames.h"

namespace {

constexpr int kExportJpeg = 1;
constexpr const char kBackgroundsFolder[] = "Backgrounds";

bool Contains(const CString& text, const CString& part) { return !part.IsEmpty() && text.Find(part) >= 0; }

}  // namespace

bool CProjectSaveSteps::ReadImageSize(const CString& path, int& width, int& height) {
  // Thumbnails are GIF data: the screen size in the header answers without the importer.
  if (std::FILE* file = FileSystem::OpenStream(path, "rb")) {
    unsigned char header[10] = {};
    const bool read = std::fread(header, 1, sizeof header, file) == sizeof header;
    std::fclose(file);
    if (read && std::memcmp(header, "GIF8", 4) == 0) {
      width = header[6] | header[7] << 8;
      height = header[8] | header[9] << 8;
      return width > 0 && height > 0;
    }
  }
  RECT rect = {0, 0, 0, 0};
  if (!GetImageSize(path, &rect)) return false;
  width = rect.right - rect.left;
  height = rect.bottom - rect.top;
  return width > 0 && height > 0;
}

bool AddToTypeFile(COptions& record, bool navBar, const CString& thumbnailBase, CProjectSaveSteps& steps) {
  if (thumbnailBase.IsEmpty()) return false;
  CString savedName = CFileUtils::GetFileName(thumbnailBase);
  savedName.MakeLower();
  const CString projectFolder = CFileUtils::GetParentFolder(thumbnailBase);

  std::int32_t flags = LookupTemplateFlags(record.GetKiqPath());
  if (flags == -1) {
    TypeFlagsSource source;
    source.templatePath = record.GetKiqPath();
    source.graphicType = record.GetGraphicType();
    source.navBar = navBar;
    source.textureCount = record.GetNumberOfTextures();
    source.firstStoryLineCount = record.GetStoryCount() > 0 ? record.GetTemplateLineCount(0) : 0;
    flags = ComputeTypeFlags(source);
  }
  flags = MakeSavedEntryFlags(flags, navBar, record.GetGraphicType());

  int width = 0, height = 0;
  const std::int32_t size = steps.ReadImageSize(thumbnailBase + ".qgt", width, height)
                                ? PackThumbnailSize(width, height)
                                : kDefaultThumbnailSize;
  if (UpdateProjectTypeFile(projectFolder, savedName, flags, size) == TypeFileUpdate::kFailed) return false;
  steps.SendCommand(MakeInsertNewItemCommand(savedName, projectFolder, flags, size));
  return true;
}

bool StoreExportFolder(const CString& imagePath) {
  const CString folder = CFileUtils::GetFolder(imagePath);
  HKEY key = OpenOptionsKey();
  if (!key) return false;
  const BOOL stored = SetRegValue(key, "ExportDir", REG_SZ, reinterpret_cast<const BYTE*>(folder.GetString()),
                                  static_cast<DWORD>(folder.GetLength()));
  CloseRegKey(key);
  return stored != FALSE;
}

bool SaveToProject(COptions& record, CNavBar* bar, ProjectSaveContext& context, CProjectSaveSteps& steps,
                   ProjectSaveOutcome* outcome) {
  ProjectSaveOutcome local;
  ProjectSaveOutcome& done = outcome ? *outcome : local;
  const bool navBar = context.navBar && bar;
  const bool editorEdit = context.styleEditing || context.imageEditing;
  CTime fileTime = CTime::GetCurrentTime();

  // Where the style file goes and where the image goes.
  CString styleBase = editorEdit ? JoinPath(context.editorStyleFolder, context.editorStyleBaseName)
                                 : MakeProjectStyleBase(context.projectsFolder, context.project, context.name, false);
  if (navBar) styleBase += "_off";
  CString imagePath = context.imageEditing ? context.editorImagePath
                                           : JoinPath(context.currentFolder, context.name + "." + context.extension);

  bool overwrite = editorEdit;
  if (!editorEdit && steps.DestinationExists(imagePath)) {
    const int answer = steps.AskOverwrite(imagePath);
    if (answer == 0) return false;
    overwrite = answer == 1;
  }
  done.overwrite = overwrite;
  context.name = CFileUtils::RemoveExtension(CFileUtils::GetFileName(imagePath));
  steps.ShowName(context.name);
  done.imagePath = imagePath;

  if (context.imageEditing) {
    if (!steps.WriteExportFile(imagePath, true, nullptr)) return false;
    steps.WriteEditorResult(imagePath, CString());
    return true;
  }

  const bool written = record.GetStateCount() == 1 || navBar
                           ? steps.WriteExportFile(imagePath, true, &fileTime)
                           : steps.WriteAnimatedExport(imagePath);
  if (!written) return false;
  record.SetExportPathNameExt(imagePath);

  if (!context.photoHandler) {
    if (navBar) {
      for (int state = 0; state < 4; ++state)
        if (COptions* stateRecord = bar->GetStateRecord(state)) stateRecord->SetExportPathNameExt(imagePath);
    } else {
      CFileUtils::GetModifiedTime(imagePath, fileTime);
      record.SetExportCheckSum(CFileUtils::QuickFileSignature(imagePath));
    }

    CString stylePath = styleBase + ".qtw";
    if (!overwrite) stylePath = CFileUtils::MakeUniqueFileName(stylePath);
    const CString projectName = CutProjectName(context.project);
    if (overwrite && Contains(record.GetStylePath(), "Saved Graphic") && Contains(record.GetStylePath(), projectName))
      stylePath = record.GetStylePath();
    done.stylePath = stylePath;
    done.projectFolder = CFileUtils::GetParentFolder(stylePath);

    record.SetTemplateFlag(0);
    record.SetQTWFile(stylePath);
    bool styleWritten;
    if (navBar) {
      styleWritten = bar->Save(stylePath, &fileTime, true, true) != 0;
    } else {
      styleWritten = record.SaveStyleFile(stylePath, false, false);
      if (styleWritten) CFileUtils::SetModifiedTime(stylePath, fileTime);
    }
    record.SetTemplateFlag(1);
    if (!styleWritten) {
      // The image is out, but the work itself is not kept: say so and stop here, so that an
      // editor's save does not close the program as if everything were saved.
      steps.ReportError(kMsgStyleFileNotSaved, stylePath);
      return false;
    }

    const CString thumbnailBase = CFileUtils::RemoveExtension(stylePath);
    if (record.GetGraphicType() == kGraphicPicture) {
      const int exportType = record.GetExportType();
      record.SetExportType(kExportJpeg);
      if (steps.WriteThumbnail(thumbnailBase + ".jpg", false))
        CFileUtils::SetModifiedTime(thumbnailBase + ".jpg", fileTime);
      record.SetExportType(exportType);
    } else if (!navBar) {
      if (steps.WriteThumbnail(thumbnailBase + ".qgt", true))
        CFileUtils::SetModifiedTime(thumbnailBase + ".qgt", fileTime);
    }
    AddToTypeFile(record, navBar, thumbnailBase, steps);

    const CString backgrounds = context.templatesFolder + kBackgroundsFolder;
    if (record.GetGraphicType() == kGraphicPicture &&
        CFileUtils::WithBackslash(context.currentFolder).CompareNoCase(CFileUtils::WithBackslash(backgrounds)) != 0 &&
        steps.AskTextureCopy()) {
      CString target = JoinPath(backgrounds, context.name + "." + context.extension);
      CFileUtils::CreateFolder(target, TRUE);
      for (int counter = 1; CFileUtils::FileExists(target); ++counter) {
        CString numbered;
        numbered.Format("%s%d.%s", static_cast<const char*>(context.name), counter,
                        static_cast<const char*>(context.extension));
        target = JoinPath(backgrounds, numbered);
      }
      if (steps.CopyAsTexture(target)) done.texturePath = target;
    }
  }
  steps.MarkSaved();
  return true;
}
