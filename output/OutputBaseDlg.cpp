#include "output/OutputBaseDlg.h"

#include "panels/PanelMessage.h"
#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/SaveGif.h"
#include "document/OperationsHandler.h"
#include "document/OperationsManager.h"
#include "document/Options.h"
#include "panels/PanelServices.h"
#include "navbar/BrowserPreviewPage.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarExport.h"
#include "navbar/NavBarHTML.h"
#include "navbar/NavBarServices.h"
#include "navbar/PreviewInfoSection.h"
#include "output/NewProjectDlg.h"
#include "output/OutputPresets.h"
#include "output/OutputResource.h"

#include <cmath>
#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(COutputBaseDlg, COptionsDlg)

BEGIN_MESSAGE_MAP(COutputBaseDlg, COptionsDlg)
    ON_CONTROL(CBN_SELCHANGE, IDC_OUTPUT_PROJECTS, OnProjectSelected)
    ON_BN_CLICKED(IDC_OUTPUT_NEW_PROJECT, OnNewProject)
END_MESSAGE_MAP()

namespace {

const char* const kSourceName = "OutputDlg";
const int kNavBarStates = 4;
const int kGraphicTypeImageEditing = 12;

// Holds the main dialog's wait cursor for one scope.
class CWaitCursorScope {
public:
    CWaitCursorScope() { GetPanelServices().BeginWaitCursor(); }
    ~CWaitCursorScope() { GetPanelServices().EndWaitCursor(); }
};

CString ProjectTag()
{
    return LoadAppString(IDS_OUTPUT_PROJECT_TAG, "(Project)");
}

// The Options key's "ExportDir", at most MAX_PATH bytes; empty when unset.
CString ReadExportDir()
{
    CString folder;
    HKEY key = OpenOptionsKey();
    if (!key)
        return folder;
    char buffer[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (GetRegString(key, "ExportDir", buffer, &size))
        folder = buffer;
    CloseRegKey(key);
    return folder;
}

// The system temporary folder with its backslash; empty when it is unknown or too long.
CString SystemTempFolder()
{
    char folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return CString();
    CString path(folder);
    CFileUtils::AddBackslash(path);
    return path;
}

bool TempFileExists(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shadow's allowance beside the graphic, in pixels.
int ShadowPixels(double allowance, double scale)
{
    return static_cast<int>(std::lround(allowance * scale));
}

}  // namespace

bool GetTempExportPath(CString& out, const char* extension)
{
    out.Empty();
    // The folder the rest of the program reads the estimate from (the hover display of a bar,
    // the save that reuses it); the system's temporary folder when nobody says otherwise.
    CString folder = CFileUtils::GetFolder(GetNavBarServices().GetTemporaryExportPath());
    if (folder.IsEmpty())
        folder = SystemTempFolder();
    if (folder.IsEmpty())
        return false;
    COptions* record = GetPanelServices().GetOptions();
    out = MakeTempExportPath(folder, extension, record ? record->GetExportType() : 0);
    return true;
}

void FillPreviewExportInfo(PreviewInfo* info, CBitmapExporter* exporter, bool multiple)
{
    if (!info || !exporter)
        return;
    info->type = exporter->GetFormatText(multiple);
    info->transparency = exporter->GetTransparencyText();
    info->colourDepth = exporter->GetColourDepthText();
    info->palette = exporter->GetPaletteText();
    info->dithering = exporter->GetDitherText();
    info->quality = exporter->GetQuality();
}

COutputBaseDlg::COutputBaseDlg(UINT templateId, CWnd* parent)
    : COptionsDlg(templateId, parent), m_exportEnabled(1), m_reuseTempExport(0), m_projectGroupShown(1)
{
}

COutputBaseDlg::~COutputBaseDlg() = default;

int COutputBaseDlg::OnActivatePanel()
{
    CPanelServices& services = GetPanelServices();
    if (m_projects.GetSafeHwnd()) {
        std::vector<CString> folders;
        services.ListProjects(folders);
        m_projects.ResetContent();
        for (const CString& name :
             MakeProjectList(folders, ProjectTag(), LoadAppString(IDS_OUTPUT_DEFAULT_PROJECT, "Default")))
            m_projects.AddString(name);
        const CString current = services.GetCurrentProject();
        int index = m_projects.FindStringExact(-1, current);
        if (index == CB_ERR && !current.IsEmpty())
            index = m_projects.AddString(current);
        m_projects.SetCurSel(index);
    }
    const BOOL locked = services.IsHostedByEditor() && !services.GetCommandLineFileTitle().IsEmpty();
    EnableItem(IDC_OUTPUT_PROJECTS, !locked);
    EnableItem(IDC_OUTPUT_NEW_PROJECT, !locked);
    return COptionsDlg::OnActivatePanel();
}

bool COutputBaseDlg::IsSavingForEditor()
{
    CPanelServices& services = GetPanelServices();
    const bool namedFile = !services.GetCommandLineFileTitle().IsEmpty();
    const bool editorStart = services.HasCommandLine() && services.IsHostedByEditor() && namedFile;
    const bool imageEditing =
        services.GetCommandLineGraphicType() == kGraphicTypeImageEditing && namedFile && !services.IsCommandLinePathFolder();
    return editorStart || imageEditing;
}

void COutputBaseDlg::LockFormatForEditor()
{
    for (int id : {IDC_OUTPUT_GIF, IDC_OUTPUT_JPEG, IDC_OUTPUT_PNG})
        EnableItem(id, FALSE);
    SetItemText(IDC_OUTPUT_SAVE, LoadAppString(IDS_OUTPUT_SAVE_AND_EXIT, "&Save && Exit"));
}

void COutputBaseDlg::ShowProjectControls(BOOL show)
{
    for (int id : {IDC_OUTPUT_PROJECTS_GROUP, IDC_OUTPUT_PROJECTS, IDC_OUTPUT_NEW_PROJECT, IDC_OUTPUT_PROJECT_LABEL}) {
        if (show)
            ShowItem(id);
        else
            HideItem(id);
    }
    m_projectGroupShown = show ? 1 : 0;
}

void COutputBaseDlg::MoveControlsBelowProjects(const int* ids, int count, BOOL show)
{
    if ((show ? 1 : 0) == m_projectGroupShown)
        return;
    CWnd* group = GetDlgItem(IDC_OUTPUT_PROJECTS_GROUP);
    if (!group)
        return;
    RECT groupRect;
    group->GetWindowRect(&groupRect);
    const int height = groupRect.bottom - groupRect.top;
    const int dy = show ? height : -height;
    for (int i = 0; i < count; ++i)
        OffsetControl(GetDlgItem(ids[i]), 0, dy);
    RECT panel;
    GetWindowRect(&panel);
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, panel.right - panel.left, panel.bottom - panel.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(&m_clientRect);
}

void COutputBaseDlg::OffsetControl(CWnd* control, int dx, int dy)
{
    if (!control || !control->GetSafeHwnd())
        return;
    RECT rect;
    control->GetWindowRect(&rect);
    ScreenToClient(&rect);
    ::OffsetRect(&rect, dx, dy);
    control->MoveWindow(&rect, TRUE);
}

void COutputBaseDlg::OnProjectSelected()
{
    if (!m_projects.GetSafeHwnd())
        return;
    CString text;
    m_projects.GetLBText(m_projects.GetCurSel(), text);
    GetPanelServices().SetCurrentProject(ProjectNameFromChoice(text, ProjectTag()));
}

void COutputBaseDlg::OnNewProject()
{
    CPanelServices& services = GetPanelServices();
    CString name = LoadAppString(IDS_OUTPUT_NEW_PROJECT_NAME, "(New Project Folder)");
    CNewProjectDlg dialog(this, &name);
    for (;;) {
        if (dialog.DoModal() != IDOK)
            break;
        CString projects = services.GetProjectsFolder();
        if (projects.IsEmpty())
            projects = services.GetRootPath();
        // Without a known folder the name would land beside whatever the current folder is.
        if (projects.IsEmpty()) {
            services.ShowMessageBox(this, IDS_OUTPUT_PROJECT_FAILED, 0, MB_OK | MB_ICONSTOP);
            break;
        }
        const CString folder = MakeProjectFolderPath(projects, name, ProjectTag());
        if (::GetFileAttributesA(folder) != INVALID_FILE_ATTRIBUTES) {
            services.ShowMessageBox(this, IDS_OUTPUT_PROJECT_EXISTS, 0, MB_OK | MB_ICONSTOP);
            continue;
        }
        if (!::CreateDirectoryA(folder, nullptr)) {
            services.ShowMessageBox(this, IDS_OUTPUT_PROJECT_FAILED, 0, MB_OK | MB_ICONSTOP);
            break;
        }
        services.SetCurrentProject(name);
        if (m_projects.GetSafeHwnd()) {
            int index = m_projects.FindStringExact(-1, name);
            if (index == CB_ERR)
                index = m_projects.AddString(name);
            m_projects.SetCurSel(index);
        }
        break;
    }
}

void COutputBaseDlg::SaveGraphic()
{
    CPanelServices& services = GetPanelServices();
    COptions* record = services.GetOptions();
    if (!record) {
        services.InternalError(__LINE__, kSourceName);
        return;
    }
    // The proposed file: the export folder, the graphic's own name, the export extension.
    CString name = services.GetExportFolderPath();
    name = CFileUtils::RemoveExtension(CFileUtils::GetFileName(name));
    const int exportType = record->GetExportType();
    const CString path =
        MakeSaveGraphicPath(ReadExportDir(), services.GetRootPath(), LoadAppString(IDS_OUTPUT_EXPORT_FOLDER, "Export"),
                            name, LoadAppString(IDS_OUTPUT_DEFAULT_NAME, "Graphic"), exportType);

    // Graphics selected in the project dialog take the changes instead of a save.
    std::vector<CString> selected;
    services.GetSelectedProjectGraphics(selected);
    if (!selected.empty() && selected.front().CompareNoCase(record->GetQTWFile()) == 0) {
        if (services.AskQuestion(IDS_OUTPUT_APPLY_QUESTION, IDS_OUTPUT_APPLY_CHANGES, IDS_OUTPUT_CANCEL) ==
            IDS_OUTPUT_APPLY_CHANGES) {
            services.ApplyChangesToProjectGraphics();
            return;
        }
    }

    // Started by an HTML editor, a navigation bar's preview image is prepared for the editor.
    if (services.IsHostedByEditor() && services.IsNavBarMode()) {
        const CString extension = ExportTypeExtension(exportType);
        const CString tempName = "TempNavBar." + extension;
        CNavBar* bar = GetNavBarServices().GetNavBar();
        if (bar && bar->GetCurrentState() != 0) {
            const int state = bar->GetCurrentState();
            GetNavBarServices().EnablePreviewPaint(false);
            bar->SetCurrentState(0, 0, 0);
            UpdateFileSizeEstimate(1, tempName);
            bar->SetCurrentState(state, 0, 0);
            GetNavBarServices().EnablePreviewPaint(true);
            ShowLastExportPreview();
        } else {
            CString existing;
            if (GetTempExportPath(existing, nullptr)) {
                const CString copy = CFileUtils::GetFolder(existing) + tempName;
                ::DeleteFileA(copy);
                ::CopyFileA(existing, copy, FALSE);
            }
        }
    }

    CSaveFileMessage message(path);
    services.HandleManagerMessage(&message);
}

bool COutputBaseDlg::ShowBrowserPreview()
{
    CWaitCursorScope wait;
    CPanelServices& services = GetPanelServices();
    if (!services.GetOperationsManager() || !services.GetOptions())
        return false;
    return services.IsNavBarMode() ? PreviewNavBar() : PreviewGraphic();
}

bool COutputBaseDlg::PreviewGraphic()
{
    COptions* record = GetPanelServices().GetOptions();
    if (!record)
        return false;
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(nullptr, 0));
    if (!exporter)
        return false;
    PreviewInfo info;
    if (!GetTempExportPath(info.path, ""))
        return false;
    // A failed write shows no page: the browser would show an old file or none.
    if (record->GetStateCount() == 1) {
        if (exporter->ExportToFile(info.path, 0) != 0)
            return false;
    } else if (SaveAnimatedGif(info.path, true) != 0) {
        return false;
    }
    const double scale = record->GetScale();
    info.width = record->GetOutputWidth() +
                 ShadowPixels(record->GetWidthWithShadow(1.0) - record->GetBaseWidth(), scale);
    info.height = record->GetOutputHeight() +
                  ShadowPixels(record->GetHeightWithShadow(1.0) - record->GetBaseHeight(), scale);
    FillPreviewExportInfo(&info, exporter.get(), false);
    info.fileSize = static_cast<std::int32_t>(GetPathFileSize(info.path));
    const CString texture = record->GetTextureFileName(0);
    exporter.reset();

    CString pageName = "Preview.htm", pagePath;
    MakeNavBarPreviewPaths(pageName, pagePath);
    // The preview folder exists only once something was written into it (the folder of the page).
    CFileUtils::CreateFolder(pagePath, TRUE);
    if (record->GetGraphicType() == 5) {
        CBackgroundPreviewPage page(info, pagePath);
        page.WriteAndOpen();
    } else {
        CGraphicPreviewPage page(info, record->GetBackgroundColour(), texture, pagePath);
        page.WriteAndOpen();
    }
    return true;
}

bool COutputBaseDlg::PreviewNavBar()
{
    CPanelServices& services = GetPanelServices();
    COptions* record = services.GetOptions();
    CNavBar* bar = GetNavBarServices().GetNavBar();
    if (!services.GetOperationsManager() || !bar || !record)
        return false;
    CString script = "Preview.htm", page;
    MakeNavBarPreviewPaths(script, page);
    const std::uint64_t total = ExportNavBar(*bar, script, page, nullptr, true);
    if (total == 0)
        return false;
    const CString pageFolder = CFileUtils::GetFolder(page);
    const CString snippet = bar->HasMenus() ? MakeMenuScriptTag(script, pageFolder, CString())
                                            : MakeNavBarScriptTag(script, pageFolder, CString());
    if (snippet.IsEmpty()) {
        services.ShowWarning(IDS_OUTPUT_NO_SNIPPET);
        return false;
    }
    PreviewInfo info;
    info.width = bar->GetBarWidth();
    info.height = bar->GetBarHeight();
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(nullptr, 0));
    FillPreviewExportInfo(&info, exporter.get(), true);
    info.fileSize = static_cast<std::int32_t>(total);
    CNavBarPreviewPage preview(info, page, snippet, record->GetBackgroundColour(), record->GetTextureFileName(0));
    preview.WriteAndOpen();

    CString size;
    FormatFileSize(total, &size, false);
    CString pixels;
    pixels.Format(LoadAppString(IDS_OUTPUT_PIXELS, "%dx%d pixels\n"), bar->GetBarWidth(), bar->GetBarHeight());
    SetItemText(IDC_OUTPUT_SIZE, size + LoadAppString(IDS_OUTPUT_COMMA, ", ") + pixels);
    return true;
}

bool COutputBaseDlg::UpdateFileSizeEstimate(int showImage, const CString& fileName)
{
    CPanelServices& services = GetPanelServices();
    COptions* record = services.GetOptions();
    if (!record)
        return false;
    if (record->GetStateCount() > 1) {
        SetItemText(IDC_OUTPUT_SIZE, LoadAppString(IDS_OUTPUT_USE_BROWSER, "Use browser preview."));
        return false;
    }
    CWaitCursorScope wait;
    CString path;
    if (!GetTempExportPath(path, ""))
        return false;
    if (!fileName.IsEmpty())
        path = CFileUtils::GetFolder(path) + CFileUtils::GetFileName(fileName);

    std::uint64_t size = 0;
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(nullptr, 0));
    if (exporter) {
        const bool reuse = m_reuseTempExport && TempFileExists(path);
        if (reuse || exporter->ExportToFile(path, 0) == 0)
            size = GetPathFileSize(path);
    }
    m_reuseTempExport = 0;
    SetSaveEnabled(size);

    CString pixelText;
    const bool approximate = services.IsNavBarMode();
    CNavBar* bar = approximate ? GetNavBarServices().GetNavBar() : nullptr;
    if (approximate) {
        int enabled = 0;
        for (int state = 0; bar && state < kNavBarStates; ++state)
            if (bar->IsStateEnabled(state))
                ++enabled;
        size = ApproximateNavBarSize(size, enabled);
        pixelText.Format(LoadAppString(IDS_OUTPUT_PIXELS, "%dx%d pixels\n"), bar ? bar->GetBarWidth() : 0,
                         bar ? bar->GetBarHeight() : 0);
    } else if (exporter && exporter->Record()) {
        FormatPixelSize(exporter->Record(), &pixelText);
    }
    CString fileSize;
    FormatFileSize(size, &fileSize, approximate);
    // Hidden while the text changes, so that the label repaints cleanly.
    HideItem(IDC_OUTPUT_SIZE);
    SetItemText(IDC_OUTPUT_SIZE, MakeSizeEstimateText(fileSize, approximate, pixelText));
    ShowItem(IDC_OUTPUT_SIZE);

    ShowExportedImage(path, showImage);
    if (fileName.IsEmpty())
        m_lastTempExport = path;
    return true;
}

void COutputBaseDlg::SetSaveEnabled(std::uint64_t size)
{
    const BYTE enabled = size > 0 ? 1 : 0;
    if (enabled == m_exportEnabled)
        return;
    m_exportEnabled = enabled;
    EnableItem(IDC_OUTPUT_SAVE, enabled);
    EnableItem(IDC_OUTPUT_PREVIEW, enabled);
}

void COutputBaseDlg::ShowExportedImage(const CString& path, int show)
{
    COperationsManager* manager = GetPanelServices().GetOperationsManager();
    COperationsHandler* handler = manager ? manager->GetCurrentHandler() : nullptr;
    if (handler)
        handler->ShowImage(path, show);
}

void COutputBaseDlg::ShowLastExportPreview()
{
    if (!m_lastTempExport.IsEmpty())
        GetPanelServices().ShowPreviewImage(m_lastTempExport, 1);
}
