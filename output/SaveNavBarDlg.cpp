#include "output/SaveNavBarDlg.h"

#include <algorithm>

#include <shlobj.h>
#include <richedit.h>

#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "panels/PanelServices.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarItem.h"
#include "navbar/NavBarServices.h"
#include "output/OverwriteDlg.h"
#include "output/SaveNames.h"
#include "output/SaveResource.h"
#include "output/SaveServices.h"

IMPLEMENT_DYNAMIC(CSaveNavBarDlg, CSaveAsDlg)

namespace {

constexpr int kNavBarSaveHelpContext = 207;
constexpr COLORREF kExistingFileColour = RGB(255, 0, 0);

int CALLBACK SelectStartFolder(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

bool IsHtmlName(const CString& name) {
  const CString extension = CFileUtils::GetExtension(name);
  return extension == "html" || extension == "htm";
}

}  // namespace

BEGIN_MESSAGE_MAP(CSaveNavBarDlg, CSaveAsDlg)
  ON_BN_CLICKED(IDC_SAVE_GRAPHIC_FOLDER, OnSetGraphicFolder)
  ON_BN_CLICKED(IDC_SAVE_SHOW_FILES, OnShowFileList)
  ON_BN_CLICKED(IDC_SAVE_SHOW_PAGES, OnShowPageList)
  ON_EN_CHANGE(IDC_SAVE_NAME, OnNameChanged)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_SAVE_PAGE_LIST, OnPageListChanged)
  ON_NOTIFY(LVN_KEYDOWN, IDC_SAVE_PAGE_LIST, OnPageListKey)
END_MESSAGE_MAP()

CSaveNavBarDlg::CSaveNavBarDlg(CSaveOwner* owner) : CSaveAsDlg(owner) { m_templateId = IDD_SAVE_NAVBAR; }

CString CSaveNavBarDlg::GetFileName() {
  CNavBar* bar = GetNavBarServices().GetNavBar();
  return bar ? bar->GetName() : CString();
}

int CSaveNavBarDlg::OnActivatePanel() {
  OnShowFileList();
  if (CWnd* list = GetDlgItem(IDC_SAVE_PAGE_LIST)) {
    list->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    if (list->SendMessage(LVM_GETCOLUMNWIDTH, 0) == 0) {
      LVCOLUMNA column = {};
      column.mask = LVCF_WIDTH;
      RECT rect;
      list->GetClientRect(&rect);
      column.cx = rect.right - rect.left;
      list->SendMessage(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    }
  }
  CNavBar* bar = GetNavBarServices().GetNavBar();
  if (bar && !IsPageListCurrent()) {
    m_model.BuildPageList(*bar, m_currentFolder, GetSaveServices().GetCommandLine().IsEditorStart());
    FillPageListBox();
  }
  if (bar) bar->ResetStateComparisons();
  const int result = CSaveAsDlg::OnActivatePanel();
  RefreshOutputList();
  return result;
}

void CSaveNavBarDlg::SetCurrentFolder(const CString& folder) {
  if (!CFileUtils::IsSameDrive(folder, m_currentFolder)) SetImageFolder(CString());
  COptionsDlg::SetCurrentFolder(folder);
  RefreshLists();
}

BOOL CSaveNavBarDlg::GetGalleryRect(const RECT& client, RECT& rect) {
  rect = {client.left + 144, client.top + 40, client.right - 10, client.bottom - 40};
  return TRUE;
}

std::vector<CString> CSaveNavBarDlg::CollectOutputFiles() {
  CNavBar* bar = GetNavBarServices().GetNavBar();
  return bar ? m_model.CollectOutputFiles(*bar, m_currentFolder) : std::vector<CString>();
}

bool CSaveNavBarDlg::DestinationExists(const CString&) {
  for (const CString& file : CollectOutputFiles())
    if (CFileUtils::FileExists(file)) return true;
  return false;
}

int CSaveNavBarDlg::AskOverwrite(CString&) {
  const std::vector<CString> files = CollectOutputFiles();
  bool pages = false;
  for (const CString& file : files)
    if (CFileUtils::FileExists(file) && IsHtmlName(file)) pages = true;
  const CString text = pages ? LoadAppString(IDS_SAVE_PAGES_UPDATED,
                                             "The HTML files will be updated and all other files will be overwritten.")
                             : LoadAppString(IDS_SAVE_OVERWRITE_THEM, "Would you like to overwrite them?");
  COverwriteListDlg dialog(text, files, kNavBarSaveHelpContext);
  dialog.DoModal();
  return dialog.m_result;
}

bool CSaveNavBarDlg::WriteExportFile(const CString& pagePath, bool, const CTime* fileTime) {
  CNavBar* bar = GetNavBarServices().GetNavBar();
  if (!bar) return false;
  const std::vector<CString> pages =
      GetSaveServices().GetCommandLine().IsEditorStart() ? std::vector<CString>() : m_model.CheckedPages();
  return SaveNavBarFiles(*bar, pagePath, fileTime, pages) > 0;
}

void CSaveNavBarDlg::Relayout() {
  CSaveAsDlg::Relayout();
  CWnd* group = GetDlgItem(IDC_SAVE_SIDE_GROUP);
  if (!GetSafeHwnd() || !group) return;
  RECT client, gallery;
  GetClientRect(&client);
  GetGalleryRect(client, gallery);
  const auto place = [this](int id, int left, int top, int right, int bottom) {
    MoveItem(id, left, top, right - left, bottom - top);
  };
  const RECT groupRect = ItemRect(IDC_SAVE_SIDE_GROUP);
  place(IDC_SAVE_SIDE_GROUP, groupRect.left, groupRect.top, groupRect.right, gallery.bottom);
  const RECT pagesButton = ItemRect(IDC_SAVE_SHOW_PAGES);
  const int offset = gallery.bottom - 4 - pagesButton.bottom;
  for (int id : {IDC_SAVE_SHOW_PAGES, IDC_SAVE_SHOW_FILES, IDC_SAVE_GRAPHIC_FOLDER}) {
    const RECT rect = ItemRect(id);
    place(id, rect.left, rect.top + offset, rect.right, rect.bottom + offset);
  }
  const RECT folderButton = ItemRect(IDC_SAVE_GRAPHIC_FOLDER);
  const RECT note = ItemRect(IDC_SAVE_FOLDER_NOTE);
  const int noteHeight = note.bottom - note.top;
  place(IDC_SAVE_FOLDER_NOTE, note.left, folderButton.top - 2 - noteHeight, note.right, folderButton.top - 2);
  const RECT pagesLabel = ItemRect(IDC_SAVE_PAGES_LABEL);
  const RECT pageList = ItemRect(IDC_SAVE_PAGE_LIST);
  place(IDC_SAVE_PAGE_LIST, pageList.left, pagesLabel.bottom + 2, pageList.right, ItemRect(IDC_SAVE_SHOW_PAGES).top - 2);
  const RECT filesLabel = ItemRect(IDC_SAVE_FILES_LABEL);
  const RECT fileList = ItemRect(IDC_SAVE_FILE_LIST);
  place(IDC_SAVE_FILE_LIST, fileList.left, filesLabel.bottom + 2, fileList.right,
        ItemRect(IDC_SAVE_FOLDER_NOTE).top - 2);
}

void CSaveNavBarDlg::RefreshOutputList() {
  CWnd* list = GetDlgItem(IDC_SAVE_FILE_LIST);
  if (!list) return;
  struct Span {
    int start, end;
    COLORREF colour;
  };
  std::vector<Span> spans;
  CString text;
  for (const CString& file : CollectOutputFiles()) {
    CString shown = CFileUtils::MakeRelativePath(file, CFileUtils::WithBackslash(m_currentFolder));
    if (shown.IsEmpty()) shown = file;
    spans.push_back({text.GetLength(), text.GetLength() + shown.GetLength(),
                     CFileUtils::FileExists(file) ? kExistingFileColour : RGB(0, 0, 0)});
    text += shown + "\n";
  }
  list->SetWindowText(text);
  for (const Span& span : spans) {
    CHARRANGE range = {span.start, span.end};
    list->SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = span.colour;
    list->SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  }
  CHARRANGE none = {0, 0};
  list->SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
}

void CSaveNavBarDlg::FillPageListBox() {
  CWnd* list = GetDlgItem(IDC_SAVE_PAGE_LIST);
  if (!list) return;
  const int selected = static_cast<int>(list->SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  m_filling = true;
  list->SendMessage(LVM_DELETEALLITEMS);
  int row = 0;
  std::vector<NavBarPageEntry>& entries = m_model.Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i].flags[kPageUnique]) continue;
    const CString name = CFileUtils::GetFileName(entries[i].path);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<char*>(static_cast<const char*>(name));
    item.lParam = static_cast<LPARAM>(i);
    const int at = static_cast<int>(list->SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMA state = {};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(entries[i].flags[kPageChecked] ? 2 : 1);
    list->SendMessage(LVM_SETITEMSTATE, at, reinterpret_cast<LPARAM>(&state));
    ++row;
  }
  if (selected >= 0 && row > 0) {
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED;
    list->SendMessage(LVM_SETITEMSTATE, std::min(selected, row - 1), reinterpret_cast<LPARAM>(&state));
  }
  m_filling = false;
}

void CSaveNavBarDlg::RefreshLists() {
  CNavBar* bar = GetNavBarServices().GetNavBar();
  if (!bar) return;
  m_model.RefreshPageList(*bar, m_currentFolder, GetSaveServices().GetCommandLine().IsEditorStart());
  FillPageListBox();
  RefreshOutputList();
}

void CSaveNavBarDlg::SetImageFolder(const CString& folder) {
  if (CNavBar* bar = GetNavBarServices().GetNavBar()) bar->SetImageFolder(folder);
  RefreshOutputList();
}

bool CSaveNavBarDlg::AddUserPage(const CString& path) {
  if (!m_model.AddUserPage(path)) return false;
  FillPageListBox();
  RefreshOutputList();
  return true;
}

void CSaveNavBarDlg::OnGalleryNotify(const CSaveAsGallery::Item& item, int action) {
  if (action == 2 && !item.isFolder && IsHtmlName(item.name)) {
    AddUserPage(JoinPath(item.folder, item.name));
    return;
  }
  CSaveAsDlg::OnGalleryNotify(item, action);
}

void CSaveNavBarDlg::OnNameChanged() {
  CNavBar* bar = GetNavBarServices().GetNavBar();
  if (!bar) return;
  bar->SetName(GetItemText(IDC_SAVE_NAME));
  RefreshLists();
}

void CSaveNavBarDlg::OnPageListChanged(NMHDR* header, LRESULT*) {
  const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
  if (m_filling || !(change->uChanged & LVIF_STATE)) return;
  CWnd* list = GetDlgItem(IDC_SAVE_PAGE_LIST);
  std::vector<NavBarPageEntry>& entries = m_model.Entries();
  const int count = list ? static_cast<int>(list->SendMessage(LVM_GETITEMCOUNT)) : 0;
  for (int row = 0; row < count; ++row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    list->SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    const UINT state = static_cast<UINT>(list->SendMessage(LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    if (item.lParam >= 0 && item.lParam < static_cast<LPARAM>(entries.size()))
      entries[item.lParam].flags[kPageChecked] = (state >> 12) == 2 ? 1 : 0;
  }
  RefreshOutputList();
}

void CSaveNavBarDlg::OnPageListKey(NMHDR* header, LRESULT*) {
  const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
  if (key->wVKey != VK_DELETE) return;
  CWnd* list = GetDlgItem(IDC_SAVE_PAGE_LIST);
  const int row = list ? static_cast<int>(list->SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) : -1;
  if (row < 0) return;
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  list->SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  if (m_model.RemoveUserPage(static_cast<int>(item.lParam))) {
    FillPageListBox();
    RefreshOutputList();
  }
}

void CSaveNavBarDlg::OnShowFileList() {
  for (int id : {IDC_SAVE_FILES_LABEL, IDC_SAVE_FILE_LIST, IDC_SAVE_SHOW_PAGES, IDC_SAVE_GRAPHIC_FOLDER, IDC_SAVE_FOLDER_NOTE})
    ShowItem(id);
  for (int id : {IDC_SAVE_PAGES_LABEL, IDC_SAVE_PAGE_LIST, IDC_SAVE_SHOW_FILES}) HideItem(id);
}

void CSaveNavBarDlg::OnShowPageList() {
  for (int id : {IDC_SAVE_FILES_LABEL, IDC_SAVE_FILE_LIST, IDC_SAVE_SHOW_PAGES, IDC_SAVE_GRAPHIC_FOLDER, IDC_SAVE_FOLDER_NOTE})
    HideItem(id);
  for (int id : {IDC_SAVE_PAGES_LABEL, IDC_SAVE_PAGE_LIST, IDC_SAVE_SHOW_FILES}) ShowItem(id);
}

void CSaveNavBarDlg::OnSetGraphicFolder() {
  const CString root = CFileUtils::GetDriveRoot(m_currentFolder);
  if (root.IsEmpty()) {
    GetPanelServices().ShowMessageBox(this, IDS_SAVE_LOCAL_DISK_ONLY, 0, MB_OK | MB_ICONSTOP);
    return;
  }
  CNavBar* bar = GetNavBarServices().GetNavBar();
  const CString start = bar && !bar->GetImageFolder().IsEmpty() ? bar->GetImageFolder() : m_currentFolder;

  LPITEMIDLIST rootList = nullptr;
  IShellFolder* desktop = nullptr;
  if (SUCCEEDED(::SHGetDesktopFolder(&desktop)) && desktop) {
    WCHAR wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, root, -1, wide, MAX_PATH);
    desktop->ParseDisplayName(GetSafeHwnd(), nullptr, wide, nullptr, &rootList, nullptr);
    desktop->Release();
  }
  const CString title = LoadAppString(IDS_SAVE_CHOOSE_GRAPHIC_FOLDER, "Choose where to save your graphics.");
  char display[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = GetSafeHwnd();
  info.pidlRoot = rootList;
  info.pszDisplayName = display;
  info.lpszTitle = title;
  info.ulFlags = BIF_DONTGOBELOWDOMAIN;
  info.lpfn = SelectStartFolder;
  info.lParam = reinterpret_cast<LPARAM>(static_cast<const char*>(start));
  LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
  if (chosen) {
    char path[MAX_PATH] = {};
    if (::SHGetPathFromIDListA(chosen, path))
      SetImageFolder(CString(path).CompareNoCase(m_currentFolder) == 0 ? CString() : CString(path));
    ::CoTaskMemFree(chosen);
  }
  if (rootList) ::CoTaskMemFree(rootList);
}
