// The questions a save asks before it replaces files. Each runs modally; every button ends the
// run the same way and the answer is left in m_result: 0 cancel (Cancel, Esc), 1 overwrite,
// 2 save under the proposed numbered name (COverwriteDlg only; m_path then holds it).
#pragma once

#include <vector>

#include "framework/win/Afxwin.h"

enum OverwriteAnswer { kOverwriteCancel = 0, kOverwriteReplace = 1, kOverwriteSaveAs = 2 };

// One existing file; may offer a numbered name instead.
class COverwriteDlg : public CDialog {
 public:
  COverwriteDlg(const CString& path, int helpContext, bool allowSaveAs, const CString& extra);
  BOOL OnInitDialog() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  CString m_path;
  CString m_proposedPath;
  int m_result = kOverwriteCancel;
  int m_allowSaveAs;
  int m_helpContext;
};

// One existing file, without the offer.
class COverwriteConfirmDlg : public CDialog {
 public:
  COverwriteConfirmDlg(const CString& path, int helpContext, CWnd* parent);
  BOOL OnInitDialog() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  CString m_path;
  int m_result = kOverwriteCancel;
  int m_helpContext;
};

// The existing files of a navigation bar save.
class COverwriteListDlg : public CDialog {
 public:
  COverwriteListDlg(const CString& message, const std::vector<CString>& paths, int helpContext);
  BOOL OnInitDialog() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  int m_result = kOverwriteCancel;
  int m_helpContext;
  const std::vector<CString>& m_paths;
  CString m_message;
};

// The question about one file: with Save As allowed COverwriteDlg (path replaced by the
// proposed one on Save As), else COverwriteConfirmDlg. The answer.
int AskOverwrite(CString& path, int helpContext, bool allowSaveAs, const CString& extra);

// Loads the rich edit control's library once, before a dialog that holds one is created.
void LoadRichEditControl();

// The text of the list dialog: the names of the listed files that exist, one a line.
CString ListExistingFiles(const std::vector<CString>& paths);
