// CSaveInfoDlg: after a save, where the graphic was exported and in which project the work is
// kept, unless the user asked not to be told again (the DWORD "SaveInfoDialog" of the Options
// key: 0 or missing shows the notice, 1 does not).
#pragma once

#include "framework/win/Afxwin.h"

class CSaveInfoDlg : public CDialog {
 public:
  explicit CSaveInfoDlg(CWnd* saveDialog);

  void SetProjectFolder(const CString& text) { m_projectFolder = text; }
  void SetExportPath(const CString& path) { m_exportPath = path; }
  // Reads "SaveInfoDialog" (creating it with 0 when missing); true when the notice is wanted.
  static bool ShouldShow();
  static void SetShow(bool show);

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  CWnd* m_saveDialog;
  CString m_projectFolder;
  CString m_exportPath;
};
