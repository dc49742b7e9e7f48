#include "app/ProjectsFolder.h"

#include "app/AppServices.h"
#include "util/FileUtils.h"

#include <windows.h>

CProjectsFolder::CProjectsFolder(const CString& templatesFolder) : m_path(templatesFolder), m_usingFallback(0)
{
    CFileUtils::AddBackslash(m_path);
}

CString CProjectsFolder::GetFallbackPath()
{
    const CString appData = GetSpecialFolder(0);
    if (appData.IsEmpty())
        return CString();
    // With the backslash, like the templates folder: callers append a project's name directly.
    return CFileUtils::WithBackslash(appData) + "Quor\\Barwright\\Projects\\";
}

int CProjectsFolder::EnsureWritable()
{
    if (CFileUtils::IsFolderWritable(m_path))
        return 1;
    const CString fallback = GetFallbackPath();
    if (fallback.IsEmpty())
        return 0;
    m_path = fallback;
    // CreateFolder makes the folders that hold a path; the last one is made here.
    CFileUtils::CreateFolder(m_path, TRUE);
    ::CreateDirectoryA(m_path, nullptr);
    if (!CFileUtils::IsFolderWritable(m_path))
        return 0;
    m_usingFallback = 1;
    return 1;
}
