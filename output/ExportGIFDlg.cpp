#include "output/ExportGIFDlg.h"

#include "util/AppUtilServices.h"
#include "document/OperationsManager.h"
#include "document/Options.h"
#include "panels/OptionsDlg.h"
#include "panels/PanelsResource.h"
#include "panels/PanelServices.h"
#include "output/OutputResource.h"

#include <algorithm>

// ---- The record as the model sees it -------------------------------------------------------
int COptionsPanelRecord::GetExportType() const { return m_record.GetExportType(); }
void COptionsPanelRecord::SetExportType(int type) { m_record.SetExportType(type); }
int COptionsPanelRecord::GetExportBpp() const { return static_cast<int>(m_record.GetExportBpp()); }
void COptionsPanelRecord::SetExportBpp(int bpp) { m_record.SetExportBpp(static_cast<unsigned>(bpp)); }
int COptionsPanelRecord::GetExportDither() const { return m_record.GetExportDither(); }
void COptionsPanelRecord::SetExportDither(int dither) { m_record.SetExportDither(dither); }
int COptionsPanelRecord::GetExportPalette() const { return m_record.GetExportPalette(); }
void COptionsPanelRecord::SetExportPalette(int palette) { m_record.SetExportPalette(palette); }
void COptionsPanelRecord::SetExportQuality(int quality) { m_record.SetExportQuality(quality); }
int COptionsPanelRecord::GetGifPaletteSize() const { return static_cast<int>(m_record.GetGIFPaletteSize()); }
void COptionsPanelRecord::SetGifPaletteSize(int size) { m_record.SetGIFPaletteSize(static_cast<unsigned>(size)); }
int COptionsPanelRecord::GetPngPaletteSize() const { return static_cast<int>(m_record.GetPNGPaletteSize()); }
void COptionsPanelRecord::SetPngPaletteSize(int size) { m_record.SetPNGPaletteSize(static_cast<unsigned>(size)); }
int COptionsPanelRecord::GetJpegQuality() const { return static_cast<int>(m_record.GetJPEGQuality()); }
void COptionsPanelRecord::SetJpegQuality(int quality) { m_record.SetJPEGQuality(static_cast<unsigned>(quality)); }
int COptionsPanelRecord::GetTransparent() const { return m_record.GetTransparent(); }
void COptionsPanelRecord::SetTransparent(int transparent) { m_record.SetTransparent(transparent); }
int COptionsPanelRecord::GetInterlaced() const { return m_record.GetInterlaced(); }
void COptionsPanelRecord::SetInterlaced(int interlaced) { m_record.SetInterlaced(interlaced); }
int COptionsPanelRecord::GetTransThreshold() const { return m_record.GetTransThreshold(); }
void COptionsPanelRecord::SetTransThreshold(int threshold)
{
    m_record.SetTransThreshold(static_cast<BYTE>(std::max(0, std::min(255, threshold))));
}
void COptionsPanelRecord::SetExportDlgPref(int value) { m_record.SetExportDlgPref(value); }
int COptionsPanelRecord::GetGraphicType() const { return m_record.GetGraphicType(); }
int COptionsPanelRecord::GetPixelWidth() const { return m_record.GetPixelWidth(false); }
int COptionsPanelRecord::GetPixelHeight() const { return m_record.GetPixelHeight(false); }

// ---- The panel ---------------------------------------------------------------------------
namespace {
const char* const kSourceName = "ExportGIFDlg";
const int kTypeGif = 0, kTypeJpeg = 1, kTypePng = 4;

const int kBelowProjects[] = {IDC_OUTPUT_OPTIONS_GROUP, IDC_OUTPUT_TYPE_GROUP, IDC_OUTPUT_GIF, IDC_OUTPUT_JPEG,
                              IDC_OUTPUT_PNG, IDC_EXPORT_COLOURS_GROUP, IDC_EXPORT_COLOUR_SLIDER,
                              IDC_EXPORT_COLOUR_EDIT, IDC_EXPORT_QUALITY_GROUP, IDC_EXPORT_QUALITY_SLIDER,
                              IDC_EXPORT_QUALITY_EDIT, IDC_EXPORT_PERCENT, IDC_EXPORT_DITHER_LABEL,
                              IDC_EXPORT_DITHER_NONE, IDC_EXPORT_DITHER_DIFFUSED, IDC_EXPORT_OPTIONS_FRAME,
                              IDC_EXPORT_TRANSPARENT, IDC_EXPORT_INTERLACED, IDC_EXPORT_DEPTH_GROUP,
                              IDC_EXPORT_DEPTH_LABEL, IDC_EXPORT_DEPTH_4, IDC_EXPORT_DEPTH_8, IDC_EXPORT_DEPTH_24,
                              IDC_EXPORT_DEPTH_32, IDC_EXPORT_THRESHOLD, IDC_EXPORT_SHOW_TRIMMED,
                              IDC_OUTPUT_SIZE_LABEL, IDC_OUTPUT_SIZE, IDC_OUTPUT_SAVE, IDC_OUTPUT_PREVIEW,
                              IDC_EXPORT_SIMPLE};

int DepthFromButton(UINT id)
{
    switch (id) {
    case IDC_EXPORT_DEPTH_4: return 4;
    case IDC_EXPORT_DEPTH_8: return 8;
    case IDC_EXPORT_DEPTH_32: return 32;
    default: return 24;
    }
}

int ButtonFromDepth(int depth)
{
    switch (depth) {
    case 4: return IDC_EXPORT_DEPTH_4;
    case 8: return IDC_EXPORT_DEPTH_8;
    case 32: return IDC_EXPORT_DEPTH_32;
    default: return IDC_EXPORT_DEPTH_24;
    }
}

// The notifications of a trackbar that end a move (not the thumb being dragged).
bool IsThumbMoving(UINT code)
{
    return code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
}
}  // namespace

bool CExportGIFDlg::s_showTrimmed = false;

IMPLEMENT_DYNAMIC(CExportGIFDlg, COutputBaseDlg)

BEGIN_MESSAGE_MAP(CExportGIFDlg, COutputBaseDlg)
    ON_BN_CLICKED(IDC_OUTPUT_SAVE, OnSaveGraphic)
    ON_BN_CLICKED(IDC_OUTPUT_PREVIEW, OnBrowserPreview)
    ON_COMMAND_RANGE(IDC_OUTPUT_GIF, IDC_OUTPUT_GIF, OnOutputType)
    ON_COMMAND_RANGE(IDC_OUTPUT_JPEG, IDC_OUTPUT_JPEG, OnOutputType)
    ON_COMMAND_RANGE(IDC_OUTPUT_PNG, IDC_OUTPUT_PNG, OnOutputType)
    ON_COMMAND_RANGE(IDC_EXPORT_DEPTH_32, IDC_EXPORT_DEPTH_4, OnDepth)
    ON_COMMAND_RANGE(IDC_EXPORT_DITHER_NONE, IDC_EXPORT_DITHER_NONE, OnOptionChanged)
    ON_COMMAND_RANGE(IDC_EXPORT_DITHER_DIFFUSED, IDC_EXPORT_DITHER_DIFFUSED, OnOptionChanged)
    ON_COMMAND_RANGE(IDC_EXPORT_TRANSPARENT, IDC_EXPORT_INTERLACED, OnOptionChanged)
    ON_BN_CLICKED(IDC_EXPORT_SHOW_TRIMMED, OnShowTrimmed)
    ON_BN_CLICKED(IDC_EXPORT_SIMPLE, OnSimple)
    ON_EN_CHANGE(IDC_EXPORT_QUALITY_EDIT, OnQualityEditChanged)
    ON_MESSAGE(WM_HSCROLL, OnHScroll)
    ON_CONTROL(CBN_SELCHANGE, IDC_OUTPUT_PROJECTS, OnProjectSelected)
    ON_BN_CLICKED(IDC_OUTPUT_NEW_PROJECT, OnNewProject)
END_MESSAGE_MAP()

CExportGIFDlg::CExportGIFDlg(CWnd* parent)
    : COutputBaseDlg(IDD_EXPORT_OPTIONS, parent),
      m_transparent(0),
      m_interlaced(0),
      m_quality(0),
      m_busy(0),
      m_activated(0),
      m_jpegRangesSet(false)
{
    s_showTrimmed = false;
    m_model.type = kTypePng;
}

void CExportGIFDlg::DoDataExchange(CDataExchange* dx)
{
    COptionsDlg::DoDataExchange(dx);
    DDX_Control(dx, IDC_EXPORT_QUALITY_SLIDER, m_qualitySlider);
    DDX_Control(dx, IDC_EXPORT_THRESHOLD, m_thresholdSlider);
    DDX_Control(dx, IDC_EXPORT_QUALITY_EDIT, m_qualityEdit);
    DDX_Control(dx, IDC_OUTPUT_NEW_PROJECT, m_newProject);
    DDX_Control(dx, IDC_OUTPUT_PROJECTS, m_projects);
}

BOOL CExportGIFDlg::OnInitDialog()
{
    COptionsDlg::OnInitDialog();
    m_colourEdit.SubclassDlgItem(IDC_EXPORT_COLOUR_EDIT, this);
    m_colourSlider.SubclassDlgItem(IDC_EXPORT_COLOUR_SLIDER, this);
    return TRUE;
}

COptions* CExportGIFDlg::RecordOrError(int line)
{
    CPanelServices& services = GetPanelServices();
    COptions* record = services.GetOptions();
    if (!record)
        services.InternalError(line, kSourceName);
    return record;
}

int CExportGIFDlg::OnActivatePanel()
{
    const int result = COutputBaseDlg::OnActivatePanel();
    if (!result)
        return 0;
    m_activated = 1;
    COptions* record = RecordOrError(514);
    if (!record)
        return 0;
    s_showTrimmed = IsItemChecked(IDC_EXPORT_SHOW_TRIMMED);
    m_model.showTrimmed = s_showTrimmed;
    COptionsPanelRecord panelRecord(*record);
    m_model.Load(panelRecord);
    if (m_model.type == kTypeJpeg)
        s_showTrimmed = false;
    Refresh(*record);
    FocusItem(IDC_OUTPUT_SAVE);

    if (IsSavingForEditor())
        LockFormatForEditor();
    return result;
}

int CExportGIFDlg::OnDeactivatePanel()
{
    COptions* record = RecordOrError(483);
    if (!record)
        return COutputBaseDlg::OnDeactivatePanel();
    ReadControls();
    COptionsPanelRecord panelRecord(*record);
    m_model.WriteOptions(panelRecord);
    Notify(*record, 765);
    return COutputBaseDlg::OnDeactivatePanel();
}

void CExportGIFDlg::SetInitialFocus()
{
    FocusItem(IDC_OUTPUT_SAVE);
}

void CExportGIFDlg::ShowProjectControls(BOOL show)
{
    MoveControlsBelowProjects(kBelowProjects, static_cast<int>(sizeof kBelowProjects / sizeof kBelowProjects[0]),
                              show);
    COutputBaseDlg::ShowProjectControls(show);
}

BOOL CExportGIFDlg::PreTranslateMessage(MSG* msg)
{
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_colourEdit.GetSafeHwnd() &&
        msg->hwnd == m_colourEdit.GetSafeHwnd()) {
        CommitColourCount();
        return TRUE;
    }
    return COutputBaseDlg::PreTranslateMessage(msg);
}

void CExportGIFDlg::ReadControls()
{
    if (!m_hWnd)
        return;
    if (IsItemChecked(IDC_EXPORT_DITHER_DIFFUSED))
        m_model.diffused = true;
    else if (IsItemChecked(IDC_EXPORT_DITHER_NONE))
        m_model.diffused = false;
    m_transparent = IsItemChecked(IDC_EXPORT_TRANSPARENT) ? 1 : 0;
    m_interlaced = IsItemChecked(IDC_EXPORT_INTERLACED) ? 1 : 0;
    m_model.transparent = m_transparent != 0;
    m_model.interlaced = m_interlaced != 0;
    m_model.showTrimmed = s_showTrimmed = IsItemChecked(IDC_EXPORT_SHOW_TRIMMED);
}

void CExportGIFDlg::Notify(COptions& record, int line)
{
    CPanelServices& services = GetPanelServices();
    COperationsManager* manager = services.GetOperationsManager();
    if (!manager) {
        services.InternalError(line, kSourceName);
        return;
    }
    manager->NotifyExportSettingsChanged(&record, 0);
}

void CExportGIFDlg::ShowModel()
{
    if (!m_hWnd)
        return;
    const CExportPanelModel& m = m_model;
    m_busy = 1;
    const bool jpeg = m.type == kTypeJpeg, png = m.type == kTypePng;
    auto show = [this](int id, bool visible) { visible ? ShowItem(id) : HideItem(id); };
    auto check = [this](int id, bool on) {
        if (CWnd* item = GetDlgItem(id))
            item->SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
    };

    // Which controls the output type has.
    for (int id : {IDC_EXPORT_COLOURS_GROUP, IDC_EXPORT_COLOUR_SLIDER, IDC_EXPORT_COLOUR_EDIT, IDC_EXPORT_DITHER_LABEL,
                   IDC_EXPORT_DITHER_NONE, IDC_EXPORT_DITHER_DIFFUSED, IDC_EXPORT_OPTIONS_FRAME})
        show(id, !jpeg);
    for (int id : {IDC_EXPORT_DEPTH_LABEL, IDC_EXPORT_DEPTH_4, IDC_EXPORT_DEPTH_8, IDC_EXPORT_DEPTH_24,
                   IDC_EXPORT_DEPTH_32})
        show(id, png);
    for (int id : {IDC_EXPORT_QUALITY_GROUP, IDC_EXPORT_QUALITY_SLIDER, IDC_EXPORT_QUALITY_EDIT, IDC_EXPORT_PERCENT})
        show(id, jpeg);
    show(IDC_EXPORT_TRANSPARENT, !jpeg && m.transparentShown);
    show(IDC_EXPORT_INTERLACED, !jpeg);

    check(IDC_OUTPUT_GIF, m.type == kTypeGif);
    check(IDC_OUTPUT_JPEG, jpeg);
    check(IDC_OUTPUT_PNG, png);

    if (!jpeg) {
        check(IDC_EXPORT_DITHER_NONE, !m.diffused);
        check(IDC_EXPORT_DITHER_DIFFUSED, m.diffused);
        check(IDC_EXPORT_TRANSPARENT, m.transparent);
        check(IDC_EXPORT_INTERLACED, m.interlaced);
        if (m_colourSlider.GetSafeHwnd()) {
            if (m_colourSlider.GetMode() != m.sliderMode)
                m_colourSlider.SetMode(m.sliderMode);
            m_colourSlider.SetValue(m.sliderValue);
            m_colourSlider.UpdateLabel(&m_colourEdit);
        }
        for (int id : {IDC_EXPORT_COLOUR_SLIDER, IDC_EXPORT_COLOUR_EDIT})
            EnableItem(id, m.colourControlsEnabled);
        for (int id : {IDC_EXPORT_DITHER_NONE, IDC_EXPORT_DITHER_DIFFUSED, IDC_EXPORT_DITHER_LABEL})
            EnableItem(id, m.ditherEnabled);
        EnableItem(IDC_EXPORT_TRANSPARENT, m.transparentEnabled);
        EnableItem(IDC_EXPORT_INTERLACED, m.interlacedEnabled);
        for (int id : {IDC_EXPORT_DEPTH_4, IDC_EXPORT_DEPTH_8, IDC_EXPORT_DEPTH_24, IDC_EXPORT_DEPTH_32})
            check(id, png && id == ButtonFromDepth(m.depth));
    } else {
        if (!m_jpegRangesSet && m_qualitySlider.GetSafeHwnd()) {
            // The trackbars keep their default range until the JPEG controls are first shown.
            m_qualitySlider.SetRange(0, 100, TRUE);
            m_qualitySlider.SetTicFreq(10);
            m_thresholdSlider.SetRange(0, 98, TRUE);
            m_jpegRangesSet = true;
        }
        if (m_qualitySlider.GetSafeHwnd())
            m_qualitySlider.SetPos(m.quality);
        m_qualityEdit.SendMessage(EM_LIMITTEXT, 3);
        m_qualityEdit.SetValue(m.quality);
    }
    if (m_thresholdSlider.GetSafeHwnd())
        m_thresholdSlider.SetPos(m.thresholdPosition);

    // The frame of the depth radios and the threshold.
    const bool groupShown = png || m.thresholdShown;
    show(IDC_EXPORT_DEPTH_GROUP, !jpeg && groupShown && m.groupCaption != kCaptionHidden);
    if (m.groupCaption != kCaptionHidden) {
        const char* fallback = m.groupCaption == kCaptionTrim    ? "Trim transparency"
                               : m.groupCaption == kCaptionDepth ? "Color depth (Bits per pixel)"
                                                                 : "Color depth (Bits per pixel) / Trim transparency";
        SetItemText(IDC_EXPORT_DEPTH_GROUP, LoadAppString(static_cast<UINT>(m.groupCaption), fallback));
    }
    show(IDC_EXPORT_THRESHOLD, !jpeg && m.thresholdShown);
    show(IDC_EXPORT_SHOW_TRIMMED, !jpeg && m.thresholdShown);
    check(IDC_EXPORT_SHOW_TRIMMED, m.showTrimmed);
    m_busy = 0;
}

void CExportGIFDlg::Refresh(COptions& record)
{
    Notify(record, 765);
    ShowModel();
    UpdateFileSizeEstimate(m_model.trimmedEstimate ? 1 : 0, CString());
}

void CExportGIFDlg::OnOutputType(UINT id)
{
    // The GIF radio is also "clicked" when the dialog manager focuses it before activation.
    if (id == IDC_OUTPUT_GIF && !m_activated)
        return;
    COptions* record = RecordOrError(615);
    if (!record)
        return;
    ReadControls();
    const int type = id == IDC_OUTPUT_GIF ? kTypeGif : id == IDC_OUTPUT_JPEG ? kTypeJpeg : kTypePng;
    COptionsPanelRecord panelRecord(*record);
    m_model.ChooseType(panelRecord, type);
    if (type == kTypeJpeg)
        m_model.showTrimmed = s_showTrimmed = false;
    Refresh(*record);
}

void CExportGIFDlg::OnDepth(UINT id)
{
    COptions* record = RecordOrError(615);
    if (!record)
        return;
    ReadControls();
    COptionsPanelRecord panelRecord(*record);
    m_model.ChooseDepth(panelRecord, DepthFromButton(id));
    Refresh(*record);
}

void CExportGIFDlg::OnOptionChanged(UINT)
{
    COptions* record = RecordOrError(615);
    if (!record)
        return;
    ReadControls();
    COptionsPanelRecord panelRecord(*record);
    m_model.OptionChanged(panelRecord);
    Refresh(*record);
}

void CExportGIFDlg::OnShowTrimmed()
{
    OnOptionChanged(IDC_EXPORT_SHOW_TRIMMED);
}

void CExportGIFDlg::OnSimple()
{
    CPanelServices& services = GetPanelServices();
    services.SendCommand("SimSave");
    if (COptions* record = services.GetOptions()) {
        record->SetExportDlgPref(0);
        record->SetModified();
    }
}

void CExportGIFDlg::OnQualityEditChanged()
{
    if (m_busy || !m_qualityEdit.GetSafeHwnd())
        return;
    COptions* record = RecordOrError(615);
    if (!record)
        return;
    m_quality = m_qualityEdit.GetClampedValue(0, 100);
    COptionsPanelRecord panelRecord(*record);
    m_model.SetQuality(panelRecord, m_quality);
    m_busy = 1;
    if (m_qualitySlider.GetSafeHwnd())
        m_qualitySlider.SetPos(m_quality);
    m_busy = 0;
    Notify(*record, 765);
    UpdateFileSizeEstimate(0, CString());
}

LRESULT CExportGIFDlg::OnHScroll(WPARAM wParam, LPARAM lParam)
{
    const UINT code = LOWORD(wParam);
    const HWND from = reinterpret_cast<HWND>(lParam);
    COptions* record = GetPanelServices().GetOptions();
    if (!record || !from)
        return Default();
    COptionsPanelRecord panelRecord(*record);
    if (from == m_qualitySlider.GetSafeHwnd() || from == m_thresholdSlider.GetSafeHwnd()) {
        if (!m_busy) {
            if (from == m_qualitySlider.GetSafeHwnd())
                m_quality = m_qualitySlider.GetPos();
            if (!IsThumbMoving(code)) {
                m_quality = m_qualitySlider.GetPos();
                m_model.quality = std::max(0, std::min(100, m_quality));
                ReadControls();
                m_model.SlideThreshold(panelRecord, m_thresholdSlider.GetPos(),
                                       GetPanelServices().IsPhotoHandlerActive());
            }
            m_busy = 1;
            m_qualityEdit.SetValue(m_quality);
            m_busy = 0;
            if (!IsThumbMoving(code))
                Refresh(*record);
        }
    } else if (from == m_colourSlider.GetSafeHwnd()) {
        const int count = m_colourSlider.GetValue();
        m_colourSlider.UpdateLabel(&m_colourEdit);
        if (code == TB_LINEUP)
            m_colourSlider.SetValue(count);
        else if (code == TB_LINEDOWN)
            m_colourSlider.SetValue(count + 1);
        if (code >= TB_ENDTRACK) {
            ReadControls();
            m_busy = 1;
            m_model.SlideColours(panelRecord, m_colourSlider.GetValue());
            m_busy = 0;
            Refresh(*record);
        }
    }
    return Default();
}

void CExportGIFDlg::CommitColourCount()
{
    COptions* record = GetPanelServices().GetOptions();
    if (!record || !m_colourEdit.GetSafeHwnd())
        return;
    CString text;
    m_colourEdit.GetWindowText(text);
    ReadControls();
    COptionsPanelRecord panelRecord(*record);
    m_busy = 1;
    m_model.CommitColourCount(panelRecord, LeadingInteger(text));
    m_busy = 0;
    Refresh(*record);
    // The edit reads back as the count the record took.
    CString label;
    label.Format("%d", m_model.colourCount);
    m_colourEdit.SetWindowText(label + LoadAppString(IDS_COLOURS_SUFFIX, " Colors"));
}

void CExportGIFDlg::OnSaveGraphic()
{
    CommitColourCount();
    SaveGraphic();
}

void CExportGIFDlg::OnBrowserPreview()
{
    CommitColourCount();
    ShowBrowserPreview();
}
