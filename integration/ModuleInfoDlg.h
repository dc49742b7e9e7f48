// The module information dialog: Barwright's version and the integration's version for the
// editor that created the object.
#pragma once

#include <windows.h>

#include <string>

namespace integration {

class CModuleInfoDlg {
public:
    CModuleInfoDlg(std::string editorName, std::string keyName, std::string programPath);

    // Shows the dialog modally with no parent window.
    INT_PTR DoModal();

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog(HWND dialog);

    std::string m_editorName;
    std::string m_keyName;
    std::string m_programPath;
};

}  // namespace integration
