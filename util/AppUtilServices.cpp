#include "util/AppUtilServices.h"

CString CAppUtilServices::GetRootPath() { return CString(); }
CString CAppUtilServices::GetTemplatesFolder() { return CString(); }
bool CAppUtilServices::HasOperationsManager() { return false; }
bool CAppUtilServices::IsNavBarMode() { return false; }
void CAppUtilServices::SetInternalError(unsigned, const char*) {}

int CAppUtilServices::InformWarningWithPath(UINT, const char*, UINT, UINT, UINT, UINT, int,
                                            int cancelIndex) {
    return cancelIndex;
}

CString CAppUtilServices::GetSpecialFolderDisplayName(int) { return CString(); }

namespace {
CAppUtilServices* g_installed = nullptr;
}

CAppUtilServices& AppUtilServices() {
    static CAppUtilServices defaults;
    return g_installed ? *g_installed : defaults;
}

void SetAppUtilServices(CAppUtilServices* services) { g_installed = services; }

CString LoadAppString(UINT id, const char* fallback) {
    CString text;
    if (CString::GetStringLoader() && text.LoadString(id) && !text.IsEmpty())
        return text;
    return CString(fallback);
}
