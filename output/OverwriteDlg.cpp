#include "output/OverwriteDlg.h"

#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "output/SaveNames.h"
#include "output/SaveResource.h"
#include "output/SaveServices.h"

#include <richedit.h>

namespace {

// The application shows its help page for the context.
void ShowHelp(HWND, int context) {
  if (CWinApp* app = AfxGetApp()) app->WinHelp(static_cast<DWORD_PTR>(context), HELP_CONTEXT);
}

// The buttons every overwrite question has; true when the command was one of them.
bool AnswerButton(CDialog& dialog, WPARAM wParam, int& result, int helpContext) {
  if (HIWORD(wParam) != BN_CLICKED) return false;
  switch (LOWORD(wParam)) {
    case IDC_OVERWRITE_OVERWRITE:
      result = kOverwriteReplace;
      dialog.EndDialog(IDOK);
      return true;
    case IDC_OVERWRITE_CANCEL:
    case IDCANCEL:
      result = kOverwriteCancel;
      dialog.EndDialog(IDCANCEL);
      return true;
    case IDC_OVERWRITE_HELP:
      ShowHelp(dialog.GetSafeHwnd(), helpContext);
      return true;
    default:
      return false;
  }
}

void FocusCancel(CDialog& dialog) {
  if (CWnd* cancel = dialog.GetDlgItem(IDC_OVERWRITE_CANCEL)) {
    dialog.SendMessage(DM_SETDEFID, IDC_OVERWRITE_CANCEL);
    cancel->SetFocus();
  }
}

CString FormatQuestion(UINT id, const char* fallback, const CString& path) {
  CString text;
  text.Format(LoadAppString(id, fallback), static_cast<const char*>(path));
  return text;
}

}  // namespace

COverwriteDlg::COverwriteDlg(const CString& path, int helpContext, bool allowSaveAs, const CString& extra)
    : CDialog(IDD_OVERWRITE, nullptr),
      m_path(path),
      m_proposedPath(GetSaveServices().MakeNumberedName(path, extra)),
      m_allowSaveAs(allowSaveAs ? 1 : 0),
      m_helpContext(helpContext) {}

BOOL COverwriteDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CWnd* text = GetDlgItem(IDC_OVERWRITE_TEXT);
  CWnd* saveAs = GetDlgItem(IDC_OVERWRITE_SAVE_AS);
  if (!text || !saveAs) return FALSE;
  text->SetWindowText(m_allowSaveAs
                          ? FormatQuestion(IDS_OVERWRITE_OR_RENAME,
                                           "File %s already exists.\nOverwrite or create unique file name?", m_path)
                          : FormatQuestion(IDS_OVERWRITE_QUESTION, "File %s already exists.\nOverwrite?", m_path));
  saveAs->SetWindowText(LoadAppString(IDS_OVERWRITE_SAVE_AS, "Save &as") + " '" + MakeOverwriteTitle(m_proposedPath) +
                        "'");
  saveAs->EnableWindow(m_allowSaveAs && !m_proposedPath.IsEmpty());
  FocusCancel(*this);
  return FALSE;
}

void COverwriteDlg::OnCancel() {
  m_result = kOverwriteCancel;
  EndDialog(IDCANCEL);
}

BOOL COverwriteDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_OVERWRITE_SAVE_AS) {
    if (!m_allowSaveAs || m_proposedPath.IsEmpty()) return TRUE;
    m_path = m_proposedPath;
    m_result = kOverwriteSaveAs;
    EndDialog(IDOK);
    return TRUE;
  }
  if (AnswerButton(*this, wParam, m_result, m_helpContext)) return TRUE;
  return CDialog::OnCommand(wParam, lParam);
}

COverwriteConfirmDlg::COverwriteConfirmDlg(const CString& path, int helpContext, CWnd* parent)
    : CDialog(IDD_OVERWRITE_CONFIRM, parent), m_path(path), m_helpContext(helpContext) {}

BOOL COverwriteConfirmDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_OVERWRITE_TEXT, FormatQuestion(IDS_OVERWRITE_QUESTION, "File %s already exists.\nOverwrite?", m_path));
  FocusCancel(*this);
  return FALSE;
}

void COverwriteConfirmDlg::OnCancel() {
  m_result = kOverwriteCancel;
  EndDialog(IDCANCEL);
}

BOOL COverwriteConfirmDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (AnswerButton(*this, wParam, m_result, m_helpContext)) return TRUE;
  return CDialog::OnCommand(wParam, lParam);
}

COverwriteListDlg::COverwriteListDlg(const CString& message, const std::vector<CString>& paths, int helpContext)
    : CDialog(IDD_OVERWRITE_LIST, nullptr), m_helpContext(helpContext), m_paths(paths), m_message(message) {
  LoadRichEditControl();
}

BOOL COverwriteListDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (CWnd* list = GetDlgItem(IDC_OVERWRITE_LIST_FILES)) {
    list->SendMessage(EM_SETBKGNDCOLOR, 0, ::GetSysColor(COLOR_BTNFACE));
    list->SetWindowText(ListExistingFiles(m_paths));
  }
  SetDlgItemText(IDC_OVERWRITE_LIST_TEXT, m_message);
  FocusCancel(*this);
  return FALSE;
}

void COverwriteListDlg::OnCancel() {
  m_result = kOverwriteCancel;
  EndDialog(IDCANCEL);
}

BOOL COverwriteListDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (AnswerButton(*this, wParam, m_result, m_helpContext)) return TRUE;
  return CDialog::OnCommand(wParam, lParam);
}

void LoadRichEditControl() {
  static HMODULE library = ::LoadLibraryA("riched20.dll");
  (void)library;
}

CString ListExistingFiles(const std::vector<CString>& paths) {
  CString text;
  for (const CString& path : paths)
    if (CFileUtils::FileExists(path)) text += CFileUtils::GetFileName(path) + "\r\n";
  return text;
}

int AskOverwrite(CString& path, int helpContext, bool allowSaveAs, const CString& extra) {
  if (allowSaveAs) {
    COverwriteDlg dialog(path, helpContext, true, extra);
    dialog.DoModal();
    if (dialog.m_result == kOverwriteSaveAs) path = dialog.m_path;
    return dialog.m_result;
  }
  COverwriteConfirmDlg dialog(path, helpContext, nullptr);
  dialog.DoModal();
  return dialog.m_result;
}
