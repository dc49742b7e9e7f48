// CAutoGenerateTemplates: makes the style files and thumbnails of the template library, and
// keeps the folders' type files in order.
//
// The library is delivered as engine templates (".kiq"; ".q3d" for 3D headings). Before a
// gallery can show a template it needs a style file (".qtw") made from the template's defaults
// and a thumbnail beside it (".qgt", GIF data; ".jpg" for a photo template). A run walks a
// folder tree and, for every template whose style file is missing or older than the template,
// loads it through the operations manager, writes the style file and the thumbnail, and at the
// end of a folder composes one preview per navigation bar from the bar's state thumbnails.
//
// Type file "QTWTypes.twt" (one per folder; read through CTextFile::ReadEntry):
//   "#1"                      version line: every entry line is followed by a size line
//   "<flags>$<name>.qtw"      entry; "$preview" may follow the name
//   "\xB6<w << 16 | h>\xB6"   size line of the thumbnail
//   "*" before an entry       removed entry
// "Tw.uni" in the root folder collects "1 <path>" lines of every file the generator wrote.
//
// A run is synchronous, on the user-interface thread; the object lives for one run.
#pragma once

#include "framework/core/CObject.h"
#include "framework/core/CString.h"

class COperationsManager;
class COptions;
class CWnd;

class CAutoGenerateTemplates : public CObject {
  DECLARE_DYNAMIC(CAutoGenerateTemplates)
 public:
  static constexpr int kPhotoThumbnailSide = 80;       // photos record 80 x 80
  static constexpr int kStateVariantReadLimit = 30000;  // bytes of a type file RemoveStateVariants edits
  static constexpr int kNavBarItemFlag = 225;           // bar item flags of a generated navigation bar
  static constexpr int kVNavBarItemFlag = 1249;
  static constexpr int kVerticalPreviewFlag = 1024;

  CAutoGenerateTemplates();
  ~CAutoGenerateTemplates() override;

  // Generates one folder (given with its trailing backslash) and, recursively, its
  // sub-folders. Nothing without an operations manager or a record.
  void GenerateFolder(const CString& folder, COperationsManager* manager, COptions* record, CWnd* progress,
                      int passThrough);
  // Composes the navigation-bar previews of one folder from the state thumbnails.
  void GenerateNavBarPreviews(const CString& folder);
  // Empties the thread's keyboard queue; clears the flag when Escape was among the keys.
  static void IsCancelRequested(bool& proceed);
  // Keeps the main window painted during long work.
  static void PumpPaintMessages();

  // Type files.
  // The type-file check of the whole library: cleans every folder's file, re-measures the
  // thumbnails and writes "CheckTWTFiles" = 0 in the start-up key.
  void CheckTypeFiles();
  // Drops malformed lines and entries whose style file is missing; recurses.
  void UpgradeTypeFile(const CString& folder);
  // Re-measures every entry's thumbnail and rewrites the file in the current form; recurses.
  void CheckTypeFile(const CString& folder, bool skipThisFolder);
  // Deletes the state thumbnails of a navigation bar (base path = folder + title cut after
  // "navbar") and marks their type-file entries removed.
  static void RemoveStateVariants(const CString& basePath);
  // Sets the record's GraphicType from the folder's type file (11 when not listed); sets
  // *preview to 1 when the entry is a preview entry.
  static void ReadTypeFromTypeFile(const CString& fileName, const CString& folder, COptions* record,
                                   int* preview);
  // Appends "1 <thumbnail>" and "1 <style file>" to the root folder's "Tw.uni".
  static void AppendUniLines(const CString& thumbnailPath, const CString& stylePath);

  // GraphicType of the graphic-type bits of a flag word.
  static int GraphicTypeFromFlags(unsigned long flags);

  CString GetFolder() const { return m_folder; }

 private:
  CString m_folder;  // the folder entered last
};
