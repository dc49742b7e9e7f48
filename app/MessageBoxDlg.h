// The program's one message dialog (template 10000). It sizes itself to its text and
// buttons; when it cannot lay itself out it hands the message to the system message box.
#pragma once

#include "framework/win/Afxwin.h"

class CMessageBoxDlg : public CDialog {
public:
    CMessageBoxDlg(int severity, UINT messageId, UINT label1, UINT label2, UINT label3, UINT label4,
                   int defaultIndex, int cancelIndex);

    // A title id for the next box only (ShowMessageBoxEx's record); 0 = by severity.
    static void SetNextTitleId(int titleId);

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;

    // The values measured from the template once per process (pixels).
    struct Metrics {
        bool measured;
        bool usable;
        int clientWidth, clientHeight;  // W, H
        int buttonLeft, buttonTop;      // M, By
        int buttonWidth, buttonHeight;  // Bw, Bh
        int gap;                        // G
        int iconLeft, iconTop;
        int textWidth, textHeight;
    };
    static const Metrics& GetMetrics() { return s_metrics; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnButton(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    void Measure();
    BOOL LayoutButtons(CDC& dc);
    BOOL LayoutText(CDC& dc);
    int RunFallback();
    void ChooseTitleAndIcon();
    void PlaceOnScreen();
    int ButtonCount() const;

    UINT m_messageId;
    UINT m_labels[5];
    int m_severity;
    int m_titleId;
    int m_defaultIndex;
    int m_cancelIndex;
    int m_iconX, m_iconY;
    HWND m_owner;
    HICON m_icon;
    int m_buttonCount;
    CButton m_buttons[5];

    static Metrics s_metrics;
    static int s_nextTitleId;
};
