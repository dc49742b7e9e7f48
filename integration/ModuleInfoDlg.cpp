#include "integration/ModuleInfoDlg.h"

#include "integration/ModuleFunctions.h"
#include "integration/RegKeyReader.h"
#include "integration/Tw3InterfaceApp.h"
#include "integration/resource.h"

#include <cstdio>
#include <vector>

namespace integration {

namespace {

// A control's own text is the format with one "%s"; the value fills it.
void FillControl(HWND dialog, int id, const std::string& value)
{
    char format[256] = {};
    GetDlgItemTextA(dialog, id, format, sizeof format);
    std::string text = format;
    const std::string::size_type at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, value);
    SetDlgItemTextA(dialog, id, text.c_str());
}

std::string ProgramVersion(const std::string& path)
{
    std::string version = LoadModuleString(IDS_UNKNOWN);
    if (path.empty())
        return version;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return version;
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (GetFileVersionInfoA(path.c_str(), 0, size, data.data()) &&
        VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) && info &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        char text[64];
        std::snprintf(text, sizeof text, "%i (%i)", static_cast<int>(HIWORD(info->dwProductVersionMS)),
                      static_cast<int>(LOWORD(info->dwProductVersionLS)));
        version = text;
    }
    return version;
}

}  // namespace

CModuleInfoDlg::CModuleInfoDlg(std::string editorName, std::string keyName, std::string programPath)
    : m_editorName(std::move(editorName)), m_keyName(std::move(keyName)), m_programPath(std::move(programPath))
{
}

INT_PTR CModuleInfoDlg::DoModal()
{
    return DialogBoxParamA(CTw3InterfaceApp::Instance(), MAKEINTRESOURCEA(IDD_MODULE_INFO), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CModuleInfoDlg::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return reinterpret_cast<CModuleInfoDlg*>(lParam)->OnInitDialog(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

BOOL CModuleInfoDlg::OnInitDialog(HWND dialog)
{
    FillControl(dialog, IDC_EDITOR_GROUP, m_editorName);
    FillControl(dialog, IDC_BARWRIGHT_VERSION, ProgramVersion(m_programPath));

    char integrationVersion[260];
    const std::string unknown = LoadModuleString(IDS_UNKNOWN);
    lstrcpynA(integrationVersion, unknown.c_str(), sizeof integrationVersion);
    CRegKeyReader reader;
    if (reader.Open(("Software\\Quor\\" + m_keyName).c_str()))
        reader.ReadString(integrationVersion, sizeof integrationVersion, "Product Version");
    FillControl(dialog, IDC_INTEGRATION_VERSION, integrationVersion);
    return TRUE;
}

}  // namespace integration
