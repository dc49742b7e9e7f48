// COutputBaseDlg: the base of the simple output panel (COutputDlg) and of the advanced export
// panel (CExportGIFDlg). It owns what both offer: the Projects group (the current project
// combo and New Project), Save Graphic, Browser Preview, and the estimate of the exported
// file's size, written to a temporary export file ("temptwg" with the export extension in the
// system temporary folder) that the save may reuse.
#pragma once

#include "panels/OptionsDlg.h"
#include "framework/win/ComboBox.h"

#include <cstdint>

class CBitmapExporter;
struct PreviewInfo;

// Controls the two output panels share.
enum OutputPanelControl {
    IDC_OUTPUT_SAVE = 1029,
    IDC_OUTPUT_PREVIEW = 1383,
    IDC_OUTPUT_SIZE_LABEL = 1421,
    IDC_OUTPUT_SIZE = 1389,
    IDC_OUTPUT_PROJECTS_GROUP = 1910,
    IDC_OUTPUT_PROJECT_LABEL = 1911,
    IDC_OUTPUT_PROJECTS = 1810,
    IDC_OUTPUT_NEW_PROJECT = 1811,
    IDC_OUTPUT_OPTIONS_GROUP = 1975,
    IDC_OUTPUT_TYPE_GROUP = 1027,
    IDC_OUTPUT_GIF = 1023,
    IDC_OUTPUT_JPEG = 1025,
    IDC_OUTPUT_PNG = 1033,
};

class COutputBaseDlg : public COptionsDlg {
    DECLARE_DYNAMIC(COutputBaseDlg)
public:
    COutputBaseDlg(UINT templateId, CWnd* parent);
    ~COutputBaseDlg() override;

    int OnActivatePanel() override;
    int OnDeactivatePanel() override { return COptionsDlg::OnDeactivatePanel(); }
    void ApplyToStyle() override { OnActivatePanel(); }
    // Shows or hides the Projects group (1910, 1810, 1811, 1911) and records the state.
    virtual void ShowProjectControls(BOOL show);

    // Proposes the save: the save page of the graphic's kind opens with a path in the export
    // folder (or the project graphics selected in the project dialog take the changes).
    void SaveGraphic();
    bool ShowBrowserPreview();
    bool PreviewGraphic();
    bool PreviewNavBar();
    // Exports the current graphic to the temporary export file (or, with a file name, to that
    // name in the temporary folder) and shows its size; false when there is nothing to estimate.
    bool UpdateFileSizeEstimate(int showImage, const CString& fileName);
    void SetReuseTempExport() { m_reuseTempExport = 1; }
    void ShowLastExportPreview();
    void SetSaveEnabled(std::uint64_t size);
    void ShowExportedImage(const CString& path, int show);
    // Started by an HTML editor for a named file, or editing an image file in place: the output
    // type stays as it is and Save Graphic reads "&Save && Exit".
    bool IsSavingForEditor();
    void LockFormatForEditor();
    // Moves a child window by an offset in dialog coordinates, with repaint.
    void OffsetControl(CWnd* control, int dx, int dy);

    const CString& GetLastTempExport() const { return m_lastTempExport; }
    bool IsExportEnabled() const { return m_exportEnabled != 0; }
    bool IsProjectGroupShown() const { return m_projectGroupShown != 0; }

protected:
    afx_msg void OnProjectSelected();
    afx_msg void OnNewProject();
    afx_msg void OnShowBrowserPreview() { ShowBrowserPreview(); }
    DECLARE_MESSAGE_MAP()

    // The controls that move when the Projects group is shown or hidden.
    void MoveControlsBelowProjects(const int* ids, int count, BOOL show);

    CButton m_newProject;
    CComboBox m_projects;
    CString m_lastTempExport;
    BYTE m_exportEnabled;
    BYTE m_reuseTempExport;
    BYTE m_projectGroupShown;
};

// The temporary export file: "temptwg" + "." + extension (the current graphic's export
// extension when extension is empty) in the program's temporary export folder (the system's
// temporary folder unless the navigation bar's services name another). False when no folder
// is known.
bool GetTempExportPath(CString& out, const char* extension);
// The preview page's record of an exported image, as the exporter words it.
void FillPreviewExportInfo(PreviewInfo* info, CBitmapExporter* exporter, bool multiple);
