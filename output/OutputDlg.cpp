#include "output/OutputDlg.h"

#include "util/AppUtilServices.h"
#include "document/Options.h"
#include "panels/PanelServices.h"
#include "output/OutputPresets.h"
#include "output/OutputResource.h"

IMPLEMENT_DYNAMIC(COutputDlg, COutputBaseDlg)

BEGIN_MESSAGE_MAP(COutputDlg, COutputBaseDlg)
    ON_BN_CLICKED(IDC_OUTPUT_ADVANCED, OnAdvanced)
    ON_BN_CLICKED(IDC_OUTPUT_SAVE, OnSaveGraphic)
    ON_BN_CLICKED(IDC_OUTPUT_GIF, OnGif)
    ON_BN_CLICKED(IDC_OUTPUT_JPEG, OnJpeg)
    ON_BN_CLICKED(IDC_OUTPUT_PNG, OnPng)
    ON_BN_CLICKED(IDC_OUTPUT_PREVIEW, OnShowBrowserPreview)
    ON_COMMAND_RANGE(IDC_OUTPUT_FAST, IDC_OUTPUT_FAST, OnPresetClicked)
    ON_COMMAND_RANGE(IDC_OUTPUT_MEDIUM, IDC_OUTPUT_MEDIUM, OnPresetClicked)
    ON_COMMAND_RANGE(IDC_OUTPUT_HIGH, IDC_OUTPUT_HIGH, OnPresetClicked)
    ON_CONTROL(CBN_SELCHANGE, IDC_OUTPUT_PROJECTS, OnProjectSelected)
    ON_BN_CLICKED(IDC_OUTPUT_NEW_PROJECT, OnNewProject)
END_MESSAGE_MAP()

namespace {
const char* const kSourceName = "OutputDlg";
const int kPresetButtons[] = {IDC_OUTPUT_FAST, IDC_OUTPUT_MEDIUM, IDC_OUTPUT_HIGH};
const int kFormatButtons[] = {IDC_OUTPUT_GIF, IDC_OUTPUT_JPEG, IDC_OUTPUT_PNG};
// Everything below the Projects group moves when the group is shown or hidden.
const int kBelowProjects[] = {IDC_OUTPUT_OPTIONS_GROUP, IDC_OUTPUT_TYPE_GROUP, IDC_OUTPUT_GIF,
                              IDC_OUTPUT_JPEG, IDC_OUTPUT_PNG, IDC_OUTPUT_SIZE_GROUP,
                              IDC_OUTPUT_FAST, IDC_OUTPUT_MEDIUM, IDC_OUTPUT_HIGH,
                              IDC_OUTPUT_SAVE, IDC_OUTPUT_PREVIEW, IDC_OUTPUT_SIZE_LABEL,
                              IDC_OUTPUT_SIZE, IDC_OUTPUT_ADVANCED};
const int kGraphicTypePicture = 5;

void SetCheck(CWnd* dialog, int id, bool checked)
{
    if (CWnd* item = dialog->GetDlgItem(id))
        item->SendMessage(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}
}  // namespace

COutputDlg::COutputDlg(CWnd* parent) : COutputBaseDlg(IDD_OUTPUT_PANEL, parent) {}

BOOL COutputDlg::OnInitDialog()
{
    COptionsDlg::OnInitDialog();
    return TRUE;
}

void COutputDlg::DoDataExchange(CDataExchange* dx)
{
    COptionsDlg::DoDataExchange(dx);
    DDX_Control(dx, IDC_OUTPUT_NEW_PROJECT, m_newProject);
    DDX_Control(dx, IDC_OUTPUT_PROJECTS, m_projects);
}

int COutputDlg::CheckedPreset()
{
    for (int id : kPresetButtons)
        if (IsItemChecked(id))
            return PresetFromButton(id);
    return kPresetNone;
}

int COutputDlg::OnActivatePanel()
{
    const int result = COutputBaseDlg::OnActivatePanel();
    if (!result)
        return 0;
    CPanelServices& services = GetPanelServices();
    COptions* record = services.GetOptions();
    if (!record) {
        services.InternalError(196, kSourceName);
        return 0;
    }
    const int type = record->GetExportType();
    const int formatButton = FormatButtonFromType(type);
    for (int id : kFormatButtons)
        SetCheck(this, id, id == formatButton);
    for (int id : kPresetButtons)
        SetCheck(this, id, false);
    if (type == 0 || type == 1 || type == 4) {
        const int preset = RecogniseQualityPreset(*record, services.IsPhotoHandlerActive());
        if (preset != kPresetNone)
            SetCheck(this, GetQualityPreset(preset).buttonId, true);
    }

    if (IsSavingForEditor())
        LockFormatForEditor();

    OnQualityPreset();
    if (record->GetGraphicType() == kGraphicTypePicture) {
        record->SetTransparent(0);
        record->SetModified();
    }
    FocusItem(IDC_OUTPUT_SAVE);
    return result;
}

void COutputDlg::SetInitialFocus()
{
    FocusItem(IDC_OUTPUT_SAVE);
}

void COutputDlg::EnableQualityButtons(BOOL enable)
{
    for (int id : kPresetButtons)
        EnableItem(id, enable);
}

void COutputDlg::OnQualityPreset()
{
    EnableQualityButtons(TRUE);
    StoreQualityPreset();
    UpdateFileSizeEstimate(0, CString());
}

void COutputDlg::OnPresetClicked(UINT)
{
    OnQualityPreset();
}

void COutputDlg::StoreQualityPreset()
{
    CPanelServices& services = GetPanelServices();
    COptions* record = services.GetOptions();
    if (!record)
        return;
    if (IsItemChecked(IDC_OUTPUT_GIF))
        record->SetExportType(0);
    else if (IsItemChecked(IDC_OUTPUT_JPEG))
        record->SetExportType(1);
    else if (IsItemChecked(IDC_OUTPUT_PNG))
        record->SetExportType(4);
    record->SetModified();
    const int preset = CheckedPreset();
    if (preset != kPresetNone)
        ApplyQualityPreset(*record, preset, services.IsPhotoHandlerActive());
}

void COutputDlg::ChooseFormat(int exportType)
{
    if (COptions* record = GetPanelServices().GetOptions()) {
        record->SetExportType(exportType);
        record->SetModified();
    }
    OnQualityPreset();
}

void COutputDlg::OnAdvanced()
{
    CPanelServices& services = GetPanelServices();
    services.HandleManagerCommand("AdvSave");
    if (COptions* record = services.GetOptions()) {
        record->SetExportPanelFlag(1);
        record->SetModified();
    }
}

void COutputDlg::OnSaveGraphic()
{
    StoreQualityPreset();
    SaveGraphic();
}

void COutputDlg::ShowProjectControls(BOOL show)
{
    MoveControlsBelowProjects(kBelowProjects, static_cast<int>(sizeof kBelowProjects / sizeof kBelowProjects[0]),
                              show);
    COutputBaseDlg::ShowProjectControls(show);
}
