// CAutoGenerateTemplates: style files and thumbnails of the template library.
#include "gallery/AutoGenerateTemplates.h"

#include <windows.h>

#include <memory>

#include "util/AppUtilServices.h"
#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/ImageImport.h"
#include "document/OperationsManager.h"
#include "document/OperationsServices.h"
#include "document/Options.h"
#include "document/OptionsExportRecord.h"
#include "document/OptionsServices.h"
#include "framework/win/WinApp.h"
#include "framework/win/Wnd.h"
#include "gallery/AutoGenerateResource.h"

IMPLEMENT_DYNAMIC(CAutoGenerateTemplates, CObject)

namespace {

const char kScanningFolder[] = "Scanning folder %s";
const char kProcessingFile[] = "Processing file %s";
const char kNavBarSampleItems[] =
    "Your Button Text | | (Button Name) | | Home | | (Button Name) | | Downloads | | (Button Name) | | Links | | "
    "(Button Name) | ";


CString Lowered(CString text) {
  text.MakeLower();
  return text;
}

// Whether text contains what after its first character.
bool ContainsAfterFirst(const CString& text, const char* what) { return text.Find(what) > 0; }

void ShowProgress(CWnd* progress, UINT id, const char* fallback, const CString& argument) {
  if (!progress || !progress->m_hWnd) return;
  CString caption;
  caption.Format(LoadAppString(id, fallback), static_cast<const char*>(argument));
  progress->SetWindowText(caption);
}

// The export settings a thumbnail run changes and puts back.
struct CExportSettings {
  explicit CExportSettings(const COptions& r)
      : type(r.GetExportType()), quality(r.GetExportQuality()), dither(r.GetExportDither()),
        palette(r.GetExportPalette()), gifPaletteSize(r.GetGIFPaletteSize()), bpp(r.GetExportBpp()),
        jpegQuality(r.GetJPEGQuality()), transThreshold(r.GetTransThreshold()),
        interlaced(r.GetPixelWidth(false) < 8 || r.GetPixelHeight(false) < 8 ? 0 : r.GetInterlaced()) {}
  void Restore(COptions& r) const {
    r.SetExportType(type);
    r.SetExportQuality(quality);
    r.SetExportDither(dither);
    r.SetExportPalette(palette);
    r.SetGIFPaletteSize(gifPaletteSize);
    r.SetExportBpp(bpp);
    r.SetJPEGQuality(jpegQuality);
    r.SetTransThreshold(transThreshold);
    r.SetInterlaced(interlaced);
  }
  int type, quality, dither, palette;
  unsigned gifPaletteSize, bpp, jpegQuality;
  BYTE transThreshold;
  int interlaced;
};

// Writes the current graphic to path through an exporter for the record's export type; false
// when there is no writer for the type or the file could not be written.
bool ExportThumbnail(COptions& record, const CString& path, int preview) {
  COptionsExportRecord exportRecord(record);
  std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&exportRecord, preview));
  if (!exporter) return false;
  return exporter->ExportToFile(path, 0) == 0;
}

CString RelativeToRoot(const CString& path) {
  const CString root = AppUtilServices().GetRootPath();
  if (!root.IsEmpty() && path.GetLength() >= root.GetLength() &&
      path.Left(root.GetLength()).CompareNoCase(root) == 0)
    return path.Mid(root.GetLength());
  return path;
}

}  // namespace

CAutoGenerateTemplates::CAutoGenerateTemplates() = default;
CAutoGenerateTemplates::~CAutoGenerateTemplates() = default;

void CAutoGenerateTemplates::IsCancelRequested(bool& proceed) {
  MSG message;
  while (::PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
    if (message.wParam == VK_ESCAPE) proceed = false;
}

void CAutoGenerateTemplates::PumpPaintMessages() {
  CWnd* main = AfxGetMainWnd();
  if (!main || !main->m_hWnd) return;
  const HWND window = main->m_hWnd;
  MSG message;
  bool found = false;
  if (::PeekMessageA(&message, window, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {
    ::BringWindowToTop(window);
    found = true;
  } else if (::PeekMessageA(&message, window, WM_PAINT, WM_PAINT, PM_REMOVE) ||
             ::PeekMessageA(&message, window, WM_PALETTECHANGED, WM_PALETTECHANGED, PM_REMOVE)) {
    found = true;
  }
  // The window and everything in it paint again now; the other messages wait for the run.
  if (found) ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CAutoGenerateTemplates::GenerateFolder(const CString& folderIn, COperationsManager* manager,
                                            COptions* record, CWnd* progress, int passThrough) {
  if (!manager || !record) return;
  const CString folder = CFileUtils::WithBackslash(folderIn);
  const CString root = AppUtilServices().GetRootPath();
  record->SetUserText(false);
  m_folder = folder;

  if (!record->GetKiqFileName().IsEmpty() && CFileUtils::FileExists(root + record->GetKiqFileName())) {
    // What the user put into the previous graphic does not belong to the templates.
    record->SetUserBitmap(0, 0, nullptr);
    record->SetCurrentTextureString(CString());
    record->SetBackgroundColour(0xFFFFFF);
    record->SetColourPanelPref(0, 0);
    record->SetColourPanelPref(1, 1);
    record->SetShadowDlgPref(1);
    record->SetModified();
  }
  ShowProgress(progress, IDS_AUTOGEN_SCANNING_FOLDER, kScanningFolder, folder);

  bool generated = false;
  bool proceed = true;
  CFileFinder finder;
  finder.Start(folder + "*.*");
  CString name;
  BOOL isFolder = FALSE;
  while (proceed && finder.Next(name, isFolder)) {
    IsCancelRequested(proceed);
    if (name.IsEmpty() || name[0] == '.') continue;
    if (isFolder) {
      GenerateFolder(folder + name + "\\", manager, record, progress, passThrough);
      continue;
    }
    const CString extension = CFileUtils::GetExtension(name);
    if (extension != "q3d" && extension != "kiq") continue;
    const CString templatePath = folder + name;
    const CString title = Lowered(CFileUtils::RemoveExtension(name));
    const CString stylePath = folder + title + ".qtw";
    if (!CFileUtils::IsFileNewer(templatePath, stylePath)) continue;

    int preview = 0;
    if (extension == "q3d") {
      record->SetGraphicType(kGraphic3DHeading);
    } else {
      ReadTypeFromTypeFile(name, folder, record, &preview);
    }
    ShowProgress(progress, IDS_AUTOGEN_PROCESSING_FILE, kProcessingFile, name);
    if (!manager->OpenDocument(templatePath, 1, 1)) continue;
    PumpPaintMessages();
    if (progress && progress->m_hWnd) progress->UpdateWindow();

    record->SetKiqFileName(RelativeToRoot(templatePath));
    record->SetExportPathNameExt(CString());
    record->SetCurrentTextureIndex(0);
    record->SetHTML(CString());

    const int type = record->GetGraphicType();
    const CExportSettings remembered(*record);
    const CString exportPath = record->GetExportPathNameExt();
    // The style file keeps the thumbnail's export settings at scale 1 (the blur follows the
    // scale, so it is divided by the old one).
    record->SetExportType(type == kGraphicPicture ? kExportJpeg : kExportGif);
    record->SetScale(1.0);
    record->SetInterlaced(0);
    record->SetExportQuality(1);
    record->SetExportDither(2);
    record->SetExportPalette(1);
    record->SetGIFPaletteSize(16);
    record->SetExportBpp(4);
    record->SetJPEGQuality(75);
    record->SetTransparent(1);
    record->SetTransThreshold(254);
    record->SetTemplateFlag(1);
    record->SetExportPathNameExt(CString());
    const int states = record->GetStateCount();
    if (states > 1) {
      record->SetExportDither(0);
      record->SelectState(1);
    }

    record->SetInteractiveRender(0);
    const int navBarModeBefore = manager->IsNavBarMode();
    manager->SetNavBarMode(type == kGraphicNavBar ? 1 : 0);

    if (type == kGraphicNavBar) {
      const CString dotted = name.Left(name.ReverseFind('.'));
      const CString oldThumbnail = folder + dotted + ".qgt";
      if (CFileUtils::FileExists(oldThumbnail)) FileSystem::RemoveFile(oldThumbnail);
      const CString relative = Lowered(record->GetKiqFileName());
      const int lastSlash = relative.ReverseFind('\\');
      const int navbar = relative.Mid(lastSlash + 1).Find("navbar");
      if (navbar >= 0) {
        CString barName = name.Left(navbar + 6);
        barName.TrimLeft();
        CString html;
        html.Format("%s | %d | ", static_cast<const char*>(barName),
                    ContainsAfterFirst(relative, "vnavbar") ? kVNavBarItemFlag : kNavBarItemFlag);
        record->SetHTML(html + LoadAppString(IDS_AUTOGEN_NAVBAR_SAMPLE_ITEMS, kNavBarSampleItems));
      }
    }

    // Fonts the machine does not have are replaced before the style file records them.
    bool replaced = false;
    for (unsigned story = 0; story < record->GetStoryCount(); ++story) {
      CString face = record->GetFont(static_cast<int>(story));
      if (GetOptionsServices().SubstituteFont(face)) {
        record->SetFont(face, static_cast<int>(story));
        replaced = true;
      }
    }
    if (replaced || record->ApplyFontStyles()) {
      manager->NotifyFontChanged(record, 0, 1, 0);
      manager->NotifySizeChanged(record, 0);
    }

    record->SaveStyleFile(stylePath, false, true);
    if (states > 1) record->SelectState(states / 2);
    record->SetExportPathNameExt(exportPath);
    remembered.Restore(*record);
    record->SetTransparent(0);

    if (type == kGraphicPicture) {
      record->SetExportType(kExportJpeg);
      const CString thumbnail = folder + title + ".jpg";
      ExportThumbnail(*record, thumbnail, 0);
      AppendUniLines(thumbnail, stylePath);
    } else {
      record->SetExportType(kExportGif);
      const CString thumbnail = folder + title + ".qgt";
      if (ExportThumbnail(*record, thumbnail, 1) && ContainsAfterFirst(title, "logo"))
        ExportThumbnail(*record, folder + (preview ? "previewfolder.qgt" : "folder.qgt"), 1);
      AppendUniLines(thumbnail, stylePath);
    }

    manager->SetNavBarMode(navBarModeBefore);
    record->SetInteractiveRender(1);
    record->SetModified();
    generated = true;
  }
  finder.Close();
  if (generated) GenerateNavBarPreviews(folder);
}

void CAutoGenerateTemplates::GenerateNavBarPreviews(const CString& folderIn) {
  COptions* record = GetOperationsServices().GetOptions();
  if (folderIn.IsEmpty() || folderIn[0] == '.' || !record) return;
  const CString folder = CFileUtils::WithBackslash(folderIn);
  record->SetScale(1.0);
  record->SetExportType(kExportGif);
  record->SetExportQuality(1);
  record->SetExportDither(2);
  record->SetExportPalette(1);
  record->SetExportBpp(8);
  record->SetGIFPaletteSize(256);
  record->SetTransparent(0);
  record->SetInterlaced(0);
  record->SetTransThreshold(254);
  record->SetTemplateFlag(1);
  record->SetModified();

  CFileFinder finder;
  finder.Start(folder + "*.*");
  CString name;
  BOOL isFolder = FALSE;
  while (finder.Next(name, isFolder)) {
    if (isFolder || CFileUtils::GetExtension(name) != "qtw") continue;
    const CString title = Lowered(CFileUtils::RemoveExtension(name));
    if (!ContainsAfterFirst(title, "navbar#1") && !ContainsAfterFirst(title, "navbar_off")) continue;
    const int orientation = ContainsAfterFirst(title, "vnavbar") ? kVerticalPreviewFlag : 0;
    const CString cut = title.Left(title.Find("navbar") + 6);
    CString itemText;
    itemText.Format("%s | %d |", static_cast<const char*>(cut), orientation);
    std::unique_ptr<Bitmap32> bar(ComposeNavBarPreview(folder, itemText));
    if (!bar || !bar->Pixels()) continue;
    COptionsExportRecord exportRecord(*record);
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(&exportRecord, 1));
    if (!exporter) continue;
    const CString path = folder + title + ".qgt";
    exporter->Export(&exportRecord, path, bar->Width(), bar->Height(), 1, bar->Pixels());
    if (exporter->WritePixels(bar->Pixels()) == 0) RemoveStateVariants(folder + cut);
  }
  finder.Close();
}
