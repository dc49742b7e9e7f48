// Project folders: the folders of the user's own graphics. They sit beside the template folders
// in the templates folder, named "<name> (Project)", or, when the templates folder cannot be
// written, every folder of the per-user projects folder is one. Callers pass the projects folder
// the application settled on at start-up (with a trailing backslash) and whether it is that
// per-user folder.
#pragma once

#include <vector>

#include "framework/core/CString.h"

constexpr char kProjectFolderMark[] = "(Project)";

class CProjectFolderLister {
public:
    CProjectFolderLister(const CString& projectsFolder, bool usingFallback)
        : m_folder(projectsFolder), m_usingFallback(usingFallback)
    {
    }
    virtual ~CProjectFolderLister() {}

    // The names (not paths) of the project folders, in the order the folder lists them.
    void ListProjects(std::vector<CString>& names) const;

private:
    CString m_folder;
    bool m_usingFallback;
};

// The full paths of the project's style files (".qtw") that have a thumbnail (".qgt", else ".jpg").
void ListProjectGraphics(const CString& projectsFolder, const CString& projectName, std::vector<CString>& files);
// Deletes the folder and everything below it; carries on past failures and answers 1 only when
// every file and folder went, the folder itself included.
int DeleteFolderTree(const CString& path);
// Deletes one project folder of the projects folder; a name that is empty or leaves the
// projects folder ("..", a backslash) deletes nothing.
int DeleteProjectFolder(const CString& projectsFolder, const CString& projectName);
