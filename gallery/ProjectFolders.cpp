#include "gallery/ProjectFolders.h"

#include "util/FileSystem.h"
#include "util/FileUtils.h"

namespace {

bool ContainsNoCase(CString text, CString part)
{
    text.MakeLower();
    part.MakeLower();
    return text.Find(part) >= 0;
}

}  // namespace

void CProjectFolderLister::ListProjects(std::vector<CString>& names) const
{
    names.clear();
    if (m_folder.IsEmpty())
        return;
    const CString folder = CFileUtils::WithBackslash(m_folder);
    FileSystem::Finder finder;
    CString name;
    FileSystem::Status status;
    for (bool more = finder.First(folder + "*", name, status); more; more = finder.Next(name, status)) {
        if (!status.folder || name == "." || name == "..")
            continue;
        // In the per-user folder there is nothing but projects.
        if (m_usingFallback || ContainsNoCase(name, kProjectFolderMark))
            names.push_back(name);
    }
}

void ListProjectGraphics(const CString& projectsFolder, const CString& projectName, std::vector<CString>& files)
{
    files.clear();
    if (projectsFolder.IsEmpty() || projectName.IsEmpty())
        return;
    const CString folder = CFileUtils::WithBackslash(projectsFolder) + projectName;
    FileSystem::Finder finder;
    CString name;
    FileSystem::Status status;
    for (bool more = finder.First(folder + "\\*", name, status); more; more = finder.Next(name, status)) {
        if (status.folder)
            continue;
        const int dot = name.ReverseFind('.');
        if (dot < 0)
            continue;
        CString extension = name.Mid(dot);
        extension.MakeLower();
        if (extension != ".qtw")
            continue;
        const CString base = folder + "\\" + name.Left(dot);
        if (CFileUtils::FileExists(base + ".qgt") || CFileUtils::FileExists(base + ".jpg"))
            files.push_back(folder + "\\" + name);
    }
}

int DeleteFolderTree(const CString& path)
{
    CString folder = path;
    CFileUtils::RemoveTrailingBackslash(folder);
    if (folder.IsEmpty())
        return 0;
    int result = 1;
    FileSystem::Finder finder;
    CString name;
    FileSystem::Status status;
    std::vector<CString> subFolders;
    for (bool more = finder.First(folder + "\\*.*", name, status); more; more = finder.Next(name, status)) {
        if (name == "." || name == "..")
            continue;
        if (status.folder)
            subFolders.push_back(folder + "\\" + name);
        else if (!FileSystem::RemoveFile(folder + "\\" + name))
            result = 0;
    }
    finder.Close();
    // One failing sub-folder is enough to report the tree as not deleted.
    for (const CString& sub : subFolders)
        if (!DeleteFolderTree(sub))
            result = 0;
    if (result && !FileSystem::RemoveFolder(folder))
        result = 0;
    return result;
}

int DeleteProjectFolder(const CString& projectsFolder, const CString& projectName)
{
    if (projectsFolder.IsEmpty() || projectName.IsEmpty() || projectName.Find('\\') >= 0 ||
        projectName.Find('/') >= 0 || projectName == "." || projectName == "..")
        return 0;
    return DeleteFolderTree(CFileUtils::WithBackslash(projectsFolder) + projectName);
}
