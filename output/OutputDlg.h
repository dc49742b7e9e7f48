// COutputDlg: the simple output panel on the output page: the export format, three quality
// presets, the size estimate, Save Graphic, Browser Preview and Advanced (the export options
// panel).
#pragma once

#include "output/OutputBaseDlg.h"

class COutputDlg : public COutputBaseDlg {
    DECLARE_DYNAMIC(COutputDlg)
public:
    explicit COutputDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    int OnActivatePanel() override;
    int OnDeactivatePanel() override { return COutputBaseDlg::OnDeactivatePanel(); }
    void SetInitialFocus() override;
    void ShowProjectControls(BOOL show) override;

    // The preset buttons enabled, the checked preset stored, the estimate refreshed.
    void OnQualityPreset();
    // The checked format and preset written into the current graphic.
    void StoreQualityPreset();
    void EnableQualityButtons(BOOL enable);

protected:
    afx_msg void OnAdvanced();
    afx_msg void OnSaveGraphic();
    afx_msg void OnGif() { ChooseFormat(0); }
    afx_msg void OnJpeg() { ChooseFormat(1); }
    afx_msg void OnPng() { ChooseFormat(4); }
    afx_msg void OnPresetClicked(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    void ChooseFormat(int exportType);
    int CheckedPreset();
};
