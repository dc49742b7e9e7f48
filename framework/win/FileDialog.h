// The system's open- or save-file dialog in the explorer style, with a hook: OnInitDone runs
// once the dialog is laid out (to place it or rename its buttons), OnHookMessage sees the
// hook's other messages.
#pragma once

#include "framework/win/Wnd.h"

#include <commdlg.h>

#include <vector>

class CFileDialog {
public:
    // filter: pairs of "name|patterns|", ending with "|" (the class's own form, as "|" cannot
    // be a file name character).
    CFileDialog(BOOL openDialog, LPCSTR defaultExtension = nullptr, LPCSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr, CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK when a file was chosen, IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    CString GetPathName() const { return CString(m_file.data()); }
    CString GetFileName() const;

    // The fields handed to the system; callers may set the title, the start folder and flags.
    OPENFILENAMEA m_ofn;

protected:
    // dialog: the explorer dialog itself (the hook's parent).
    virtual void OnInitDone(HWND dialog) {}
    virtual UINT_PTR OnHookMessage(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) { return 0; }

private:
    static UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL m_open;
    std::vector<char> m_file;
    std::vector<char> m_filter;
    CString m_defaultExtension;
};
