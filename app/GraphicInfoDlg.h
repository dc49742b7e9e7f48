// CGraphicInfoDlg: tells the user which template or project file the current graphic comes
// from, where it lies (relative to the template library) and how big it is.
#pragma once

#include "framework/win/Afxwin.h"

class COptions;

class CGraphicInfoDlg : public CDialog {
public:
    explicit CGraphicInfoDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    // Fills the four texts from the graphic's style file (else its template file), the template
    // library's folder (with its trailing backslash) and the graphic's output size.
    void Describe(const CString& styleFile, const CString& templateFile, const CString& templatesFolder, int width,
                  int height);

    CString m_location;
    CString m_file;
    CString m_dimensions;
    CString m_label;
};

// Runs the dialog for the current graphic of the record.
void ShowGraphicInfo(COptions* record, CWnd* parent);
