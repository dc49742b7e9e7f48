#include "output/SaveAsDlg.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "panels/PanelMessage.h"
#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/SaveGif.h"
#include "document/Options.h"
#include "panels/PanelServices.h"
#include "navbar/EditorResult.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"
#include "output/OutputBaseDlg.h"
#include "output/OverwriteDlg.h"
#include "output/SaveInfoDlg.h"
#include "output/SaveNames.h"
#include "output/SaveResource.h"
#include "output/SaveServices.h"

IMPLEMENT_DYNAMIC(CSaveAsDlg, COptionsDlg)

namespace {

constexpr int kSaveHelpContext = 203;
constexpr StyleChangeMask kExportSettingsGroup = 0x1000;
constexpr UINT kRunHtmlCommand = 1028;

CString WithoutTrailingBackslashes(CString folder) {
  while (folder.GetLength() > 3 && folder.Right(1) == "\\") folder = folder.Left(folder.GetLength() - 1);
  return folder;
}

// The wait cursor of the main dialog while it lives.
class WaitCursor {
 public:
  WaitCursor() { GetPanelServices().BeginWaitCursor(); }
  ~WaitCursor() { GetPanelServices().EndWaitCursor(); }
};

// The current project; "Default" while none is named, so that nothing lands in a folder
// without a name.
CString CurrentProject() {
  const CString project = GetPanelServices().GetCurrentProject();
  return project.IsEmpty() ? LoadAppString(33114, "Default") : project;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The folder's contents

BOOL CSaveAsGallery::Create(const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool CSaveAsGallery::SetFolder(const CString& folder) {
  if (!CFileUtils::FolderExists(CFileUtils::WithBackslash(folder)) && !CFileUtils::FolderExists(folder)) return false;
  m_folder = folder;
  std::vector<Item> folders, files;
  CFileFinder finder;
  finder.Start(JoinPath(folder, "*.*"));
  CString name;
  BOOL isFolder = FALSE;
  while (finder.Next(name, isFolder)) {
    Item item;
    item.folder = folder;
    item.name = name;
    item.isFolder = isFolder != FALSE;
    (isFolder ? folders : files).push_back(item);
  }
  finder.Close();
  m_items = folders;
  m_items.insert(m_items.end(), files.begin(), files.end());
  if (GetSafeHwnd()) {
    SendMessage(LB_RESETCONTENT);
    for (const Item& item : m_items) {
      const CString text = item.isFolder ? "[" + item.name + "]" : item.name;
      SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(text)));
    }
  }
  return true;
}

void CSaveAsGallery::SelectByName(const CString& name) {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i].name.CompareNoCase(name) == 0) {
      if (GetSafeHwnd()) SendMessage(LB_SETCURSEL, i);
      return;
    }
}

const CSaveAsGallery::Item* CSaveAsGallery::GetItem(int index) const {
  return index >= 0 && index < static_cast<int>(m_items.size()) ? &m_items[index] : nullptr;
}

int CSaveAsGallery::GetSelectedIndex() const {
  return GetSafeHwnd() ? static_cast<int>(SendMessage(LB_GETCURSEL)) : -1;
}

// ---------------------------------------------------------------------------------------------
// The "Save in:" drop-down

BOOL CSavePathCombo::Create(const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, rect.left,
                  rect.top, rect.right - rect.left, rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CSavePathCombo::ShowFolder(const CString& folder) {
  m_paths = MakeFolderChain(folder);
  const int current = static_cast<int>(m_paths.size()) - 1;
  char drives[512] = {};
  const DWORD length = ::GetLogicalDriveStringsA(sizeof drives - 1, drives);
  if (length > 0 && length < sizeof drives)
    for (const char* drive = drives; *drive; drive += std::strlen(drive) + 1)
      if (m_paths.empty() || m_paths.front().CompareNoCase(drive) != 0) m_paths.push_back(drive);
  if (!GetSafeHwnd()) return;
  SendMessage(CB_RESETCONTENT);
  for (const CString& path : m_paths) SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.GetString()));
  SendMessage(CB_SETCURSEL, static_cast<WPARAM>(current));
}

CString CSavePathCombo::GetSelectedPath() const {
  const int selected = GetSafeHwnd() ? static_cast<int>(SendMessage(CB_GETCURSEL)) : -1;
  return selected >= 0 && selected < static_cast<int>(m_paths.size()) ? m_paths[selected] : CString();
}

// ---------------------------------------------------------------------------------------------
// The dialog

BEGIN_MESSAGE_MAP(CSaveAsDlg, COptionsDlg)
  ON_WM_SIZE()
  ON_BN_CLICKED(IDC_SAVE_SAVE, OnSave)
  ON_BN_CLICKED(IDC_SAVE_BACK, OnCancel)
  ON_BN_CLICKED(IDC_SAVE_HOME, GoHomeFolder)
  ON_BN_CLICKED(IDC_SAVE_UP, GoUpFolder)
  ON_BN_CLICKED(IDC_SAVE_NEW_FOLDER, OnNewFolder)
  ON_CONTROL(CBN_SELCHANGE, IDC_SAVE_PATH_COMBO, OnPathSelected)
  ON_CONTROL(LBN_SELCHANGE, IDC_SAVE_GALLERY, OnGalleryClick)
  ON_CONTROL(LBN_DBLCLK, IDC_SAVE_GALLERY, OnGalleryDoubleClick)
  ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CSaveAsDlg::CSaveAsDlg(CSaveOwner* owner) : COptionsDlg(IDD_SAVE_AS, nullptr), m_owner(owner) {}

CSaveAsDlg::~CSaveAsDlg() {
  if (m_gallery) {
    if (m_gallery->GetSafeHwnd()) m_gallery->DestroyWindow();
    delete m_gallery;
  }
  if (m_pathCombo) {
    if (m_pathCombo->GetSafeHwnd()) m_pathCombo->DestroyWindow();
    delete m_pathCombo;
  }
}

BOOL CSaveAsDlg::Create(UINT templateId, const CString& initialPath, CWnd* parent) {
  LoadRichEditControl();
  if (!CDialog::Create(templateId, parent)) return FALSE;
  m_name = CFileUtils::RemoveExtension(CFileUtils::GetFileName(initialPath));
  m_extension = CFileUtils::GetExtension(initialPath);
  m_currentFolder = WithoutTrailingBackslashes(CFileUtils::GetFolder(initialPath));
  m_homeFolder = m_currentFolder;
  m_gallery = new CSaveAsGallery;
  RECT rect = {0, 0, 100, 100};
  m_gallery->Create(rect, this, IDC_SAVE_GALLERY);
  // The drop-down takes the place of the folder text, after the "Save in:" label in the tab
  // order.
  m_pathCombo = new CSavePathCombo;
  const RECT folderRect = ItemRect(IDC_SAVE_FOLDER);
  const RECT comboRect = {folderRect.left, folderRect.top - 3, folderRect.right, folderRect.top + 200};
  if (m_pathCombo->Create(comboRect, this, IDC_SAVE_PATH_COMBO)) {
    m_pathCombo->SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    if (CWnd* label = GetDlgItem(IDC_SAVE_IN_LABEL))
      ::SetWindowPos(m_pathCombo->GetSafeHwnd(), label->GetSafeHwnd(), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HideItem(IDC_SAVE_FOLDER);
    m_pathCombo->ShowFolder(m_currentFolder);
  }
  Relayout();
  return TRUE;
}

BOOL CSaveAsDlg::OnInitDialog() {
  COptionsDlg::OnInitDialog();
  // The browse buttons show their icons; a button whose icon cannot be loaded keeps its text.
  const struct {
    int button, icon;
  } icons[] = {{IDC_SAVE_UP, IDI_SAVE_UP}, {IDC_SAVE_HOME, IDI_SAVE_HOME}, {IDC_SAVE_NEW_FOLDER, IDI_SAVE_NEW_FOLDER}};
  for (const auto& entry : icons) {
    CWnd* button = GetDlgItem(entry.button);
    HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(entry.icon), IMAGE_ICON, 16, 16, 0);
    if (!button || !icon) continue;
    const HWND window = button->GetSafeHwnd();
    ::SetWindowLongA(window, GWL_STYLE, ::GetWindowLongA(window, GWL_STYLE) | BS_ICON);
    button->SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }
  return TRUE;
}

void CSaveAsDlg::SetFileName(const CString& path) {
  m_name = CFileUtils::RemoveExtension(CFileUtils::GetFileName(path));
  m_extension = CFileUtils::GetExtension(path);
  m_currentFolder = WithoutTrailingBackslashes(CFileUtils::GetFolder(path));
  SetFolderLabel(m_currentFolder);
  if (m_pathCombo) m_pathCombo->ShowFolder(m_currentFolder);
  SetDlgItemText(IDC_SAVE_NAME, m_name);
  SetDlgItemText(IDC_SAVE_TYPE, "." + m_extension);
}

BOOL CSaveAsDlg::GetGalleryRect(const RECT& client, RECT& rect) {
  rect = {client.left + 10, client.top + 40, client.right - 10, client.bottom - 40};
  return TRUE;
}

bool CSaveAsDlg::DestinationExists(const CString& path) { return CFileUtils::FileExists(path) != FALSE; }

int CSaveAsDlg::AskOverwrite(CString& path) { return ::AskOverwrite(path, kSaveHelpContext, true, CString()); }

bool CSaveAsDlg::WriteExportFile(const CString& path, bool reuse, const CTime*) {
  return GetSaveServices().SaveGraphicAs(path, reuse);
}

bool CSaveAsDlg::WriteAnimatedExport(const CString& path) { return SaveAnimatedGif(path, true) == 0; }

bool CSaveAsDlg::WriteThumbnail(const CString& path, bool thumbnail) {
  std::unique_ptr<CBitmapExporter> exporter(CreateExporter(nullptr, thumbnail ? 1 : 0));
  // Without a rendered picture there is no thumbnail to make, and the export itself has
  // already answered for the graphic; a thumbnail that was made must be written.
  if (!exporter) return true;
  return exporter->ExportToFile(path, 0) == 0;
}

void CSaveAsDlg::ShowName(const CString& name) { SetDlgItemText(IDC_SAVE_NAME, name); }

void CSaveAsDlg::SendCommand(const CString& command) {
  if (GetPanelServices().HasTopLevelManager()) GetPanelServices().HandleManagerCommand(command);
}

bool CSaveAsDlg::AskTextureCopy() {
  return GetPanelServices().ShowMessageBox(this, IDS_SAVE_TEXTURE_QUESTION, IDS_SAVE_TEXTURE_CAPTION,
                                           MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool CSaveAsDlg::CopyAsTexture(const CString& target) { return GetSaveServices().SaveGraphicAs(target, true); }

void CSaveAsDlg::ReportError(unsigned messageId, const CString& argument) {
  GetSaveServices().ReportMessage(1, messageId, argument);
}

void CSaveAsDlg::MarkSaved() {
  if (m_owner) m_owner->SetSaved(1);
}

bool CSaveAsDlg::IsNavBarMode() const { return GetPanelServices().IsNavBarMode(); }

CNavBar* CSaveAsDlg::GetBar() const { return IsNavBarMode() ? GetNavBarServices().GetNavBar() : nullptr; }

BOOL CSaveAsDlg::PreTranslateMessage(MSG* msg) {
  // Enter saves, except in the open folder drop-down, where it chooses the folder.
  const bool choosingFolder = m_pathCombo && m_pathCombo->GetSafeHwnd() && m_pathCombo->SendMessage(CB_GETDROPPEDSTATE);
  if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && !choosingFolder) {
    OnSave();
    return TRUE;
  }
  if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && !choosingFolder) {
    OnCancel();
    return TRUE;
  }
  return COptionsDlg::PreTranslateMessage(msg);
}

void CSaveAsDlg::OnCancel() {
  ShowWindow(SW_HIDE);
  CSaveClosedMessage message;
  GetPanelServices().HandleManagerMessage(&message);
}

bool CSaveAsDlg::OpenFolder(const CString& folder) {
  const CString target = WithoutTrailingBackslashes(folder);
  if (m_gallery && !m_gallery->SetFolder(target)) return false;
  m_previousFolder = m_currentFolder;
  SetCurrentFolder(target);
  SetFolderLabel(target);
  if (m_pathCombo) m_pathCombo->ShowFolder(target);
  EnableItem(IDC_SAVE_HOME, m_currentFolder.CompareNoCase(m_homeFolder) != 0);
  // A drive's root has no folder above it.
  EnableItem(IDC_SAVE_UP, CFileUtils::WithBackslash(m_currentFolder).CompareNoCase(CFileUtils::GetDriveRoot(m_currentFolder)) != 0);
  return true;
}

void CSaveAsDlg::OnPathSelected() {
  const CString chosen = m_pathCombo ? m_pathCombo->GetSelectedPath() : CString();
  // A folder that cannot be read (a drive without a disc) sends the dialog home.
  if (chosen.IsEmpty() || !OpenFolder(chosen)) OpenFolder(m_homeFolder);
}

void CSaveAsDlg::GoUpFolder() {
  CString folder = WithoutTrailingBackslashes(m_currentFolder);
  const int at = folder.ReverseFind('\\');
  if (at < 0) return;
  folder = folder.Left(at);
  if (folder == "\\" && m_currentFolder != "\\\\") folder += "\\";
  if (folder.GetLength() == 2 && folder[1] == ':') folder += "\\";  // a drive's root
  OpenFolder(folder);
  if (m_gallery) m_gallery->SetFocus();
}

void CSaveAsDlg::GoHomeFolder() {
  OpenFolder(m_homeFolder);
  if (m_gallery) m_gallery->SetFocus();
}

void CSaveAsDlg::OnNewFolder() {
  CString folder = JoinPath(m_currentFolder, "NewFolder");
  for (int n = 1; CFileUtils::FolderExists(folder) || CFileUtils::FileExists(folder); ++n) {
    CString numbered;
    numbered.Format("NewFolder%d", n);
    folder = JoinPath(m_currentFolder, numbered);
  }
  CFileUtils::CreateFolder(JoinPath(folder, "Dummyfile.txt"), FALSE);
  if (!CFileUtils::FolderExists(folder)) {
    GetSaveServices().ReportMessage(1, IDS_SAVE_FOLDER_FAILED, folder);
    return;
  }
  if (m_gallery) {
    m_gallery->Refresh();
    m_gallery->SelectByName(CFileUtils::GetFileName(folder));
  }
}

void CSaveAsDlg::OnGalleryClick() {
  if (!m_gallery) return;
  if (const CSaveAsGallery::Item* item = m_gallery->GetItem(m_gallery->GetSelectedIndex())) {
    const CSaveAsGallery::Item copy = *item;  // opening a folder replaces the items
    OnGalleryNotify(copy, 1);
  }
}

void CSaveAsDlg::OnGalleryDoubleClick() {
  if (!m_gallery) return;
  if (const CSaveAsGallery::Item* item = m_gallery->GetItem(m_gallery->GetSelectedIndex())) {
    const CSaveAsGallery::Item copy = *item;
    OnGalleryNotify(copy, 2);
  }
}

void CSaveAsDlg::OnGalleryNotify(const CSaveAsGallery::Item& item, int action) {
  if (item.isFolder) {
    if (action == 1) OpenFolder(JoinPath(item.folder, item.name));
    return;
  }
  TakeNameFromItem(item);
  if (action == 2) OnSave();
}

void CSaveAsDlg::OnContextMenu(CWnd* window, CPoint point) {
  if (!m_gallery || !window || window->GetSafeHwnd() != m_gallery->GetSafeHwnd() || m_gallery->Items().empty()) return;
  POINT client = point;
  m_gallery->ScreenToClient(&client);
  const LRESULT hit = m_gallery->SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  const CSaveAsGallery::Item* item = HIWORD(hit) ? nullptr : m_gallery->GetItem(LOWORD(hit));
  const CString extension = item && !item->isFolder ? CFileUtils::GetExtension(item->name) : CString();
  const bool page = extension == "html" || extension == "htm";
  if (item) m_gallery->SendMessage(LB_SETCURSEL, LOWORD(hit));
  HMENU menu = ::CreatePopupMenu();
  if (!menu) return;
  ::AppendMenuA(menu, MF_STRING | (page ? 0 : MF_GRAYED), kRunHtmlCommand, LoadAppString(IDS_SAVE_RUN_HTML, "Run HTML"));
  const int chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, point.x, point.y, 0,
                                      GetSafeHwnd(), nullptr);
  ::DestroyMenu(menu);
  if (chosen == kRunHtmlCommand && page) {
    WaitCursor wait;
    GetSaveServices().OpenWithShell(JoinPath(item->folder, item->name));
  }
}

void CSaveAsDlg::TakeNameFromItem(const CSaveAsGallery::Item& item) {
  SetDlgItemText(IDC_SAVE_NAME, CFileUtils::RemoveExtension(item.name));
}

void CSaveAsDlg::FocusName() {
  SetDlgItemText(IDC_SAVE_NAME, m_name);
  FocusAndSelect(IDC_SAVE_NAME);
}

int CSaveAsDlg::GetInitialFocusId() { return IDC_SAVE_NAME; }

int CSaveAsDlg::OnActivatePanel() {
  m_activated = 1;
  const SaveCommandLine line = GetSaveServices().GetCommandLine();
  if (line.present && line.hostedByEditor) {
    if (line.IsStyleEditing() || line.IsImageEditing()) {
      OnSave();
      return 0;
    }
    SetDlgItemText(IDC_SAVE_SAVE, LoadAppString(32989, "&Save && Exit"));
    if (!line.fileFolder.IsEmpty())
      m_currentFolder = WithoutTrailingBackslashes(line.fileFolder);
    else if (!line.docPath.IsEmpty())
      m_currentFolder = WithoutTrailingBackslashes(line.docPath);
  }
  {
    WaitCursor wait;
    if (m_gallery) {
      m_gallery->SetFolder(m_currentFolder);
      m_gallery->ShowWindow(SW_SHOW);
    }
  }
  SetFolderLabel(m_currentFolder);
  if (m_pathCombo) m_pathCombo->ShowFolder(m_currentFolder);
  FocusName();
  const bool navBar = IsNavBarMode();
  if (line.IsEditorStart()) {
    SetDlgItemText(IDC_SAVE_TYPE, navBar ? CString() : "." + m_extension);
  } else {
    if (navBar) m_extension = "html";
    SetDlgItemText(IDC_SAVE_TYPE, "." + m_extension);
  }
  EnableItem(IDC_SAVE_HOME, m_currentFolder.CompareNoCase(m_homeFolder) != 0);
  return COptionsDlg::OnActivatePanel();
}

int CSaveAsDlg::OnDeactivatePanel() {
  m_name = GetItemText(IDC_SAVE_NAME);
  if (COptions* record = GetPanelServices().GetOptions()) record->SetExportPathName(m_name);
  return COptionsDlg::OnDeactivatePanel();
}

bool CSaveAsDlg::CheckName() {
  const SaveCommandLine line = GetSaveServices().GetCommandLine();
  if (line.IsStyleEditing()) {
    m_name = !line.fileBaseName.IsEmpty() ? line.fileBaseName : line.styleBaseName;
  } else if (!line.IsImageEditing()) {
    m_name = GetItemText(IDC_SAVE_NAME);
  }
  const SaveNameProblem problem = CheckSaveName(m_name);
  if (problem != SaveNameProblem::kNone) {
    GetPanelServices().ShowWarning(SaveNameMessage(problem));
    FocusAndSelect(IDC_SAVE_NAME);
    return false;
  }
  if (COptions* record = GetPanelServices().GetOptions()) record->SetExportPathName(m_name);
  return true;
}

bool CSaveAsDlg::CheckDestination() {
  const SaveCommandLine line = GetSaveServices().GetCommandLine();
  if (line.IsEditorStart() && line.editorWindow && ::IsWindow(line.editorWindow)) {
    if (line.IsStyleEditing()) {
      CNavBar* bar = GetBar();
      m_currentFolder = bar && !bar->GetImageFolder().IsEmpty() ? bar->GetImageFolder() : line.fileFolder;
    }
  } else if (CFileUtils::IsNetworkMachinePath(m_currentFolder)) {
    GetPanelServices().ShowWarning(IDS_SAVE_NETWORK_MACHINE);
    return false;
  }
  if (m_currentFolder.IsEmpty()) return false;
  if (!CFileUtils::IsFolderWritable(m_currentFolder)) {
    GetSaveServices().ReportMessage(1, IDS_SAVE_NOT_WRITABLE, CString());
    return false;
  }
  return true;
}

bool CSaveAsDlg::SaveToProject() {
  COptions* record = GetPanelServices().GetOptions();
  if (!record) return false;
  const SaveCommandLine line = GetSaveServices().GetCommandLine();
  ProjectSaveContext context;
  context.name = m_name;
  context.currentFolder = m_currentFolder;
  context.extension = m_extension;
  // Without a projects folder the projects live in the program's root, as new projects do.
  context.projectsFolder = GetPanelServices().GetProjectsFolder();
  if (context.projectsFolder.IsEmpty()) context.projectsFolder = CFileUtils::WithBackslash(GetPanelServices().GetRootPath());
  context.project = CurrentProject();
  context.templatesFolder = CFileUtils::WithBackslash(GetPanelServices().GetTemplatesFolderPath());
  context.navBar = IsNavBarMode();
  context.photoHandler = GetPanelServices().IsPhotoHandlerActive();
  context.styleEditing = line.IsStyleEditing();
  context.imageEditing = line.IsImageEditing() && !context.styleEditing;
  context.editorStyleFolder = line.styleFolder;
  context.editorStyleBaseName = line.styleBaseName;
  context.editorImagePath = line.file;
  m_lastSave = ProjectSaveOutcome();
  const bool saved = ::SaveToProject(*record, GetBar(), context, *this, &m_lastSave);
  m_name = context.name;
  return saved;
}

bool CSaveAsDlg::FinishSave() {
  const CString imagePath = CFileUtils::MakePath(m_currentFolder, m_name, m_extension);
  const SaveCommandLine line = GetSaveServices().GetCommandLine();
  if (!line.IsEditorStart()) SelectSavedFile(imagePath);
  if (!GetPanelServices().IsPhotoHandlerActive()) {
    const CString projectFolderName = MakeProjectFolderName(CurrentProject());
    if (!line.IsEditorStart() && CSaveInfoDlg::ShouldShow()) ShowSaveInfo(projectFolderName, imagePath);
  }
  StoreExportFolder(imagePath);
  return true;
}

int CSaveAsDlg::SelectSavedFile(const CString& imagePath) {
  if (m_gallery) {
    m_gallery->Refresh();
    m_gallery->SelectByName(CFileUtils::GetFileName(imagePath));
  }
  return 1;
}

int CSaveAsDlg::ShowSaveInfo(const CString& projectFolderName, const CString& imagePath) {
  CSaveInfoDlg dialog(this);
  dialog.SetProjectFolder(projectFolderName);
  dialog.SetExportPath(imagePath);
  dialog.DoModal();
  return 1;
}

void CSaveAsDlg::WriteEditorResult(const CString& imagePath, const CString& stylePath) {
  const SaveCommandLine line = GetSaveServices().GetCommandLine();
  EditorResultRequest request;
  request.hostedByEditor = line.hostedByEditor;
  request.resultPath = line.resultPath;
  request.imagePath = imagePath;
  request.stylePath = stylePath;
  request.docFolder = line.docPath;
  request.editorKind = line.editorKind;
  request.tickCount = GetSaveServices().GetTickCount();
  request.hasEditorWindow = line.editorWindow != nullptr;
  request.commandLineFile = line.file;
  request.graphicTypeSwitch = line.graphicType;
  request.navBar = GetBar();
  ::WriteEditorResult(request);
}

void CSaveAsDlg::OnSave() {
  COptions* record = GetPanelServices().GetOptions();
  if (!record) return;
  // Every state of a bar is exported with the settings the user sees.
  if (CNavBar* bar = GetNavBarServices().GetNavBar())
    for (int state = 0; state < 4; ++state)
      if (COptions* stateRecord = bar->GetStateRecord(state)) record->CopyTo(*stateRecord, 0, kExportSettingsGroup);

  if (!m_activated || !CheckName() || !CheckDestination()) return;
  bool saved;
  {
    WaitCursor wait;
    saved = SaveToProject();
  }
  if (!saved) return;
  FinishSave();

  const SaveCommandLine line = GetSaveServices().GetCommandLine();
  if (!line.present || !line.editorWindow || !::IsWindow(line.editorWindow)) return;
  const CString extension = "." + CFileUtils::ExtensionForGraphicType(record->GetExportType());
  CString folder = m_currentFolder;
  CNavBar* bar = GetBar();
  if (bar && !bar->GetImageFolder().IsEmpty() && CFileUtils::FolderExists(bar->GetImageFolder()))
    folder = bar->GetImageFolder();
  const CString imagePath = CFileUtils::WithBackslash(folder) + m_name + extension;
  WriteEditorResult(imagePath, record->GetStylePath());
  CString estimate;
  if (bar && GetTempExportPath(estimate, nullptr)) {
    // The bar's preview image, written by the output panel beside its size estimate, is what
    // the editor shows; without one the editor shows the first button's image.
    const CString preview = CFileUtils::GetFolder(estimate) + "TempNavBar" + extension;
    if (CFileUtils::FileExists(preview)) ::CopyFileA(preview, imagePath, FALSE);
  }
  if (CWnd* main = GetPanelServices().GetMainWindow()) main->PostMessage(WM_CLOSE);
}

RECT CSaveAsDlg::ItemRect(int id) const {
  RECT rect = {0, 0, 0, 0};
  if (CWnd* item = GetDlgItem(id)) {
    item->GetWindowRect(&rect);
    ScreenToClient(&rect);
  }
  return rect;
}

void CSaveAsDlg::MoveItem(int id, int left, int top, int width, int height) {
  if (CWnd* item = GetDlgItem(id)) item->MoveWindow(left, top, std::max(0, width), std::max(0, height));
}

void CSaveAsDlg::OnSize(UINT, int, int) {
  Default();
  Relayout();
}

void CSaveAsDlg::Relayout() {
  if (!GetSafeHwnd()) return;
  RECT client, gallery;
  GetClientRect(&client);
  GetGalleryRect(client, gallery);
  if (m_gallery && m_gallery->GetSafeHwnd())
    m_gallery->MoveWindow(gallery.left, gallery.top, gallery.right - gallery.left, gallery.bottom - gallery.top);
  const int bottom = gallery.bottom;
  const RECT label = ItemRect(IDC_SAVE_NAME_LABEL);
  const RECT save = ItemRect(IDC_SAVE_SAVE);
  const RECT back = ItemRect(IDC_SAVE_BACK);
  const RECT name = ItemRect(IDC_SAVE_NAME);
  const RECT type = ItemRect(IDC_SAVE_TYPE);
  const int labelWidth = label.right - label.left;
  const int saveWidth = save.right - save.left, backWidth = back.right - back.left;
  const int typeWidth = type.right - type.left;
  MoveItem(IDC_SAVE_NAME_LABEL, label.left, bottom + 12, labelWidth, label.bottom - label.top);
  const int saveLeft = client.right - 10 - saveWidth;
  MoveItem(IDC_SAVE_SAVE, saveLeft, bottom + 8, saveWidth, save.bottom - save.top);
  const int backLeft = saveLeft - 10 - backWidth;
  MoveItem(IDC_SAVE_BACK, backLeft, bottom + 8, backWidth, back.bottom - back.top);
  const int nameLeft = label.left + labelWidth + 6;
  const int nameRight = std::min(nameLeft + 160, backLeft - typeWidth - 1 - 6);
  MoveItem(IDC_SAVE_NAME, nameLeft, bottom + 9, nameRight - nameLeft, name.bottom - name.top);
  MoveItem(IDC_SAVE_TYPE, nameRight + 6, bottom + 13, typeWidth, type.bottom - type.top);
  const RECT folder = ItemRect(IDC_SAVE_FOLDER);
  MoveItem(IDC_SAVE_FOLDER, folder.left, folder.top, ItemRect(IDC_SAVE_UP).left - 4 - folder.left, folder.bottom - folder.top);
  if (m_pathCombo && m_pathCombo->GetSafeHwnd())
    m_pathCombo->MoveWindow(folder.left, folder.top - 3, ItemRect(IDC_SAVE_UP).left - 4 - folder.left, 200);
}
