// CExportGIFDlg: the advanced export panel. The user chooses the output type (GIF, JPEG, PNG)
// and its settings (colours, dithering, transparency and its threshold, interlacing, JPEG
// quality, PNG depth); every change goes straight into the current graphic and is announced
// to the operations manager, and the size estimate follows. The rules live in
// CExportPanelModel; this window moves its controls to the model's values after every call.
#pragma once

#include "bitmap/ExportPanelModel.h"
#include "panels/ColourCountSlider.h"
#include "panels/DigitsEdit.h"
#include "output/OutputBaseDlg.h"

class COptions;

// The option record as the export panel model reads and writes it.
class COptionsPanelRecord : public ExportPanelRecord {
public:
    explicit COptionsPanelRecord(COptions& record) : m_record(record) {}
    int GetExportType() const override;
    void SetExportType(int type) override;
    int GetExportBpp() const override;
    void SetExportBpp(int bpp) override;
    int GetExportDither() const override;
    void SetExportDither(int dither) override;
    int GetExportPalette() const override;
    void SetExportPalette(int palette) override;
    void SetExportQuality(int quality) override;
    int GetGifPaletteSize() const override;
    void SetGifPaletteSize(int size) override;
    int GetPngPaletteSize() const override;
    void SetPngPaletteSize(int size) override;
    int GetJpegQuality() const override;
    void SetJpegQuality(int quality) override;
    int GetTransparent() const override;
    void SetTransparent(int transparent) override;
    int GetInterlaced() const override;
    void SetInterlaced(int interlaced) override;
    int GetTransThreshold() const override;
    void SetTransThreshold(int threshold) override;
    void SetExportDlgPref(int value) override;
    int GetGraphicType() const override;
    int GetPixelWidth() const override;
    int GetPixelHeight() const override;

private:
    COptions& m_record;
};

class CExportGIFDlg : public COutputBaseDlg {
    DECLARE_DYNAMIC(CExportGIFDlg)
public:
    explicit CExportGIFDlg(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    int OnActivatePanel() override;
    int OnDeactivatePanel() override;
    void SetInitialFocus() override;
    void ShowProjectControls(BOOL show) override;

    // The program-wide "Show trimmed" switch that the navigation bar renderer reads.
    static bool IsShowTrimmed() { return s_showTrimmed; }

    const CExportPanelModel& GetModel() const { return m_model; }
    // Takes the number typed into the colour-count edit (Enter, Save Graphic, Browser Preview).
    void CommitColourCount();

protected:
    afx_msg void OnSaveGraphic();
    afx_msg void OnBrowserPreview();
    afx_msg void OnOutputType(UINT id);
    afx_msg void OnDepth(UINT id);
    afx_msg void OnOptionChanged(UINT id);
    afx_msg void OnShowTrimmed();
    afx_msg void OnSimple();
    afx_msg void OnQualityEditChanged();
    afx_msg LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The record, or null after recording an internal error at line.
    COptions* RecordOrError(int line);
    // Check boxes and radios into the model.
    void ReadControls();
    // The model's values and states onto the controls (notifications suppressed).
    void ShowModel();
    // After every change: the record announced, the controls shown, the estimate refreshed.
    void Refresh(COptions& record);
    void Notify(COptions& record, int line);

    CSliderCtrl m_qualitySlider;
    CSliderCtrl m_thresholdSlider;
    CDigitsEdit m_qualityEdit;
    CEdit m_colourEdit;
    CColourCountSlider m_colourSlider;
    int m_transparent;
    int m_interlaced;
    int m_quality;
    int m_busy;       // set while the panel moves its own controls
    int m_activated;
    bool m_jpegRangesSet;
    CExportPanelModel m_model;

    static bool s_showTrimmed;
};
