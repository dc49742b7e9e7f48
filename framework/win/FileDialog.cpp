#include "framework/win/FileDialog.h"

#include <cstring>

CFileDialog::CFileDialog(BOOL openDialog, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent)
    : m_ofn(), m_open(openDialog), m_file(MAX_PATH, '\0'), m_defaultExtension(defaultExtension ? defaultExtension : "")
{
    if (fileName)
        std::strncpy(m_file.data(), fileName, m_file.size() - 1);
    if (filter) {
        // "|" separates the pairs here; the system wants zeros and a double zero at the end.
        const size_t length = std::strlen(filter);
        m_filter.assign(filter, filter + length);
        for (char& c : m_filter)
            if (c == '|')
                c = '\0';
        m_filter.push_back('\0');
        m_filter.push_back('\0');
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent ? parent->GetSafeHwnd() : nullptr;
    m_ofn.hInstance = ::GetModuleHandleA(nullptr);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_file.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_file.size());
    m_ofn.lpstrDefExt = m_defaultExtension.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_defaultExtension);
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

CString CFileDialog::GetFileName() const
{
    const char* path = m_file.data();
    const char* slash = std::strrchr(path, '\\');
    return CString(slash ? slash + 1 : path);
}

INT_PTR CFileDialog::DoModal()
{
    // The caller may have pointed lpstrFile elsewhere; the buffer keeps its zero at the end.
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    m_ofn.lpfnHook = HookProc;
    m_ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
    const BOOL chosen = m_open ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const OPENFILENAMEA* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        ::SetPropA(hook, "BwFileDialog", reinterpret_cast<HANDLE>(ofn->lCustData));
        return 0;
    }
    CFileDialog* self = static_cast<CFileDialog*>(::GetPropA(hook, "BwFileDialog"));
    if (!self)
        return 0;
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) {
        self->OnInitDone(::GetParent(hook));
        return 0;
    }
    if (message == WM_DESTROY)
        ::RemovePropA(hook, "BwFileDialog");
    return self->OnHookMessage(hook, message, wParam, lParam);
}
