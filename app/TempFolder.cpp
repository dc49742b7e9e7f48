#include "app/TempFolder.h"

#include "app/AppServices.h"
#include "util/FileUtils.h"
#include "app/widgets.h"

CString CTempFolder::GetPath() const
{
    const CString appData = GetSpecialFolder(0);
    CString path;
    if (appData.IsEmpty())
        path = GetRootPath();
    else if (m_number == 0)
        path.Format("%s\\Quor\\Barwright\\Temp\\", (const char*)appData);
    else
        path.Format("%s\\Quor\\Barwright\\Temp\\%d\\", (const char*)appData, m_number);
    return path;
}

CTempFolder::~CTempFolder()
{
    if (m_number == 0)
        return;
    // Without an application-data folder the path is the program's root folder: its files
    // are the installation, never temporary ones.
    if (GetSpecialFolder(0).IsEmpty())
        return;
    CFileUtils::DeleteFolderFiles(GetPath(), TRUE);
}

CString GetUserStyleFilePath()
{
    auto* app = dynamic_cast<CWidgetsApp*>(AfxGetApp());
    return (app ? app->GetTempFolderPath() : CFileUtils::GetSystemTempPath()) + "User.qtw";
}
