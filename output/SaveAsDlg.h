// CSaveAsDlg: the panel of the save page. The user types a name, browses to a folder and
// presses Save; the graphic's image goes into that folder and the work is kept in the current
// project (style file, thumbnail, type-file entry), in the order of output/ProjectSave.h. When
// an HTML editor started the program, the save also writes the editor's result file and closes
// the program. CSaveNavBarDlg derives from it and replaces what is written and asked.
#pragma once

#include <vector>

#include "panels/OptionsDlg.h"
#include "output/ProjectSave.h"

class CNavBar;
class COptions;
struct SaveCommandLine;

// The page that shows a save dialog: told when a save completed.
class CSaveOwner {
 public:
  virtual ~CSaveOwner() = default;
  virtual void SetSaved(int saved) = 0;
};

// The folder's contents under the name field: sub-folders first, then files. A click on a
// folder opens it, on a file takes its name; a double click on a file saves under its name.
class CSaveAsGallery : public CWnd {
 public:
  struct Item {
    CString folder;
    CString name;
    bool isFolder = false;
  };
  BOOL Create(const RECT& rect, CWnd* parent, UINT id);
  // Lists the folder; false when it cannot be read.
  bool SetFolder(const CString& folder);
  void Refresh() { SetFolder(m_folder); }
  void SelectByName(const CString& name);
  const Item* GetItem(int index) const;
  int GetSelectedIndex() const;
  const std::vector<Item>& Items() const { return m_items; }

 private:
  CString m_folder;
  std::vector<Item> m_items;
};

// The "Save in:" drop-down: the current folder's drive or share and every folder down to it,
// then the other drives. Choosing one opens it.
class CSavePathCombo : public CWnd {
 public:
  BOOL Create(const RECT& rect, CWnd* parent, UINT id);
  // Lists the chain of folder and the other drives, and selects folder.
  void ShowFolder(const CString& folder);
  // The chosen folder; empty when none is chosen.
  CString GetSelectedPath() const;
  const std::vector<CString>& Paths() const { return m_paths; }

 private:
  std::vector<CString> m_paths;
};

class CSaveAsDlg : public COptionsDlg, protected CProjectSaveSteps {
  DECLARE_DYNAMIC(CSaveAsDlg)
 public:
  explicit CSaveAsDlg(CSaveOwner* owner);
  ~CSaveAsDlg() override;

  // Creates the child dialog from its template with the proposed path.
  BOOL Create(UINT templateId, const CString& initialPath, CWnd* parent);

  virtual void SetFileName(const CString& path);
  virtual BOOL GetGalleryRect(const RECT& client, RECT& rect);
  bool DestinationExists(const CString& path) override;
  int AskOverwrite(CString& path) override;
  bool WriteExportFile(const CString& path, bool reuse, const CTime* fileTime) override;
  virtual void Relayout();
  virtual void OnSave();
  virtual void TakeNameFromItem(const CSaveAsGallery::Item& item);
  void WriteEditorResult(const CString& imagePath, const CString& stylePath) override;
  virtual CString GetFileName() { return m_name; }
  virtual bool CheckName();
  virtual bool CheckDestination();
  virtual bool SaveToProject();
  virtual bool FinishSave();

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnCancel() override;
  void GoUpFolder() override;
  void GoHomeFolder() override;
  int OnActivatePanel() override;
  int OnDeactivatePanel() override;
  int GetInitialFocusId() override;

  int ShowSaveInfo(const CString& projectFolderName, const CString& imagePath);
  int SelectSavedFile(const CString& imagePath);
  void FocusName();

  const CString& GetExtension() const { return m_extension; }
  CSaveAsGallery* GetGallery() const { return m_gallery; }
  CSavePathCombo* GetPathCombo() const { return m_pathCombo; }
  const ProjectSaveOutcome& GetLastSave() const { return m_lastSave; }

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnNewFolder();
  // A folder was chosen in the "Save in:" drop-down.
  afx_msg void OnPathSelected();
  afx_msg void OnGalleryClick();
  afx_msg void OnGalleryDoubleClick();
  // The gallery's popup: "Run HTML" opens an HTML page of the folder in the browser.
  afx_msg void OnContextMenu(CWnd* window, CPoint point);
  DECLARE_MESSAGE_MAP()

  // A gallery item was clicked (action 1) or double-clicked (action 2).
  virtual void OnGalleryNotify(const CSaveAsGallery::Item& item, int action);
  // Opens a folder in the gallery and updates the label and the Up and Home buttons.
  // false when the folder cannot be read (nothing changes then).
  bool OpenFolder(const CString& folder);

  // The rest of the save steps.
  bool WriteAnimatedExport(const CString& path) override;
  bool WriteThumbnail(const CString& path, bool thumbnail) override;
  void ShowName(const CString& name) override;
  void SendCommand(const CString& command) override;
  bool AskTextureCopy() override;
  bool CopyAsTexture(const CString& target) override;
  void ReportError(unsigned messageId, const CString& argument) override;
  void MarkSaved() override;

  bool IsNavBarMode() const;
  CNavBar* GetBar() const;
  // A child's rectangle in client coordinates (empty when missing) and moving it there.
  RECT ItemRect(int id) const;
  void MoveItem(int id, int left, int top, int width, int height);

  CSaveOwner* m_owner;
  CSaveAsGallery* m_gallery = nullptr;
  CSavePathCombo* m_pathCombo = nullptr;
  CString m_name;
  CString m_extension;
  CString m_topFolder;
  CString m_previousFolder;
  int m_activated = 0;
  ProjectSaveOutcome m_lastSave;
};
