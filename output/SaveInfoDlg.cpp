#include "output/SaveInfoDlg.h"

#include <cstring>

#include "util/Registry.h"
#include "output/SaveNavBarDlg.h"
#include "output/SaveResource.h"

namespace {
constexpr char kSaveInfoValue[] = "SaveInfoDialog";
}  // namespace

CSaveInfoDlg::CSaveInfoDlg(CWnd* saveDialog) : CDialog(IDD_SAVE_INFO, saveDialog), m_saveDialog(saveDialog) {}

bool CSaveInfoDlg::ShouldShow() {
  HKEY key = OpenOptionsKey();
  if (!key) return true;
  DWORD type = 0, value = 0, size = sizeof value;
  const BOOL exists = QueryRegValue(key, kSaveInfoValue, &type, reinterpret_cast<BYTE*>(&value), &size);
  bool show;
  if (!exists) {
    SetRegDWORD(key, kSaveInfoValue, 0);
    show = true;
  } else {
    show = GetRegDWORD(key, kSaveInfoValue) == 0;
  }
  CloseRegKey(key);
  return show;
}

void CSaveInfoDlg::SetShow(bool show) {
  if (HKEY key = OpenOptionsKey()) {
    SetRegDWORD(key, kSaveInfoValue, show ? 0 : 1);
    CloseRegKey(key);
  }
}

BOOL CSaveInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CWnd* exportText = GetDlgItem(IDC_SAVE_INFO_EXPORT);
  CWnd* projectText = GetDlgItem(IDC_SAVE_INFO_PROJECT);
  CString fitted = m_exportPath;
  if (exportText && projectText) {
    // Room for the path and the ellipsis DT_MODIFYSTRING writes into the same buffer.
    char buffer[MAX_PATH + 8] = {};
    std::strncpy(buffer, m_exportPath, MAX_PATH);
    RECT rect;
    exportText->GetClientRect(&rect);
    HDC dc = ::GetDC(exportText->GetSafeHwnd());
    HFONT font = reinterpret_cast<HFONT>(projectText->SendMessage(WM_GETFONT));
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    ::DrawTextA(dc, buffer, -1, &rect, DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX | DT_SINGLELINE | DT_CALCRECT);
    if (old) ::SelectObject(dc, old);
    ::ReleaseDC(exportText->GetSafeHwnd(), dc);
    fitted = buffer;
  }
  const bool navBar = m_saveDialog && dynamic_cast<CSaveNavBarDlg*>(m_saveDialog) != nullptr;
  SetDlgItemText(IDC_SAVE_INFO_EXPORT, navBar ? "" : static_cast<const char*>(fitted));
  if (CWnd* label = GetDlgItem(IDC_SAVE_INFO_EXPORT_LABEL)) label->ShowWindow(navBar ? SW_HIDE : SW_SHOW);
  SetDlgItemText(IDC_SAVE_INFO_PROJECT, m_projectFolder);
  return TRUE;
}

void CSaveInfoDlg::OnOK() {
  if (IsDlgButtonChecked(m_hWnd, IDC_SAVE_INFO_DONT_SHOW) == BST_CHECKED) SetShow(false);
  EndDialog(IDOK);
}
