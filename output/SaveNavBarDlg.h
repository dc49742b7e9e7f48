// CSaveNavBarDlg: the save dialog of a navigation bar. It keeps the save sequence of
// CSaveAsDlg and replaces what is written and asked: the whole bar is exported (script,
// button images, menu images) and written into the pages the user keeps checked. Beside the
// folder's contents a side panel shows the files the save creates or updates (existing ones
// in red) or the check list of pages; the bar's images may go to another folder of the drive.
#pragma once

#include "output/NavBarSave.h"
#include "output/SaveAsDlg.h"

class CSaveNavBarDlg : public CSaveAsDlg {
  DECLARE_DYNAMIC(CSaveNavBarDlg)
 public:
  explicit CSaveNavBarDlg(CSaveOwner* owner);

  int OnActivatePanel() override;
  int GetInitialFocusId() override { return 1493; }
  void SetCurrentFolder(const CString& folder) override;
  void SetFileName(const CString&) override {}
  BOOL GetGalleryRect(const RECT& client, RECT& rect) override;
  bool DestinationExists(const CString& path) override;
  int AskOverwrite(CString& path) override;
  // The bar's files for the page path; the bytes of images written, 0 on failure.
  bool WriteExportFile(const CString& pagePath, bool reuse, const CTime* fileTime) override;
  void Relayout() override;
  void TakeNameFromItem(const CSaveAsGallery::Item&) override {}
  CString GetFileName() override;

  void RefreshOutputList();
  void FillPageListBox();
  void RefreshLists();
  void SetImageFolder(const CString& folder);
  bool AddUserPage(const CString& path);
  CNavBarSaveModel& Model() { return m_model; }
  // The files the list shows, each with whether it exists.
  std::vector<CString> CollectOutputFiles();

 protected:
  afx_msg void OnSetGraphicFolder();
  afx_msg void OnShowFileList();
  afx_msg void OnShowPageList();
  afx_msg void OnNameChanged();
  afx_msg void OnPageListChanged(NMHDR* header, LRESULT* result);
  afx_msg void OnPageListKey(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

  void OnGalleryNotify(const CSaveAsGallery::Item& item, int action) override;

 private:
  CNavBarSaveModel m_model;
  bool m_filling = false;
};
