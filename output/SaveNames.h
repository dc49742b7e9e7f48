// The names and paths of a save: what the user may type as a graphic's name, how the project
// folder and the style file's path are made from the current project, and the few path joins
// the save dialogs make. Portable: pure text, no file-system access.
#pragma once

#include <vector>

#include "framework/core/CString.h"

// Why a typed name cannot be saved.
enum class SaveNameProblem {
  kNone,
  kEmpty,              // nothing but blanks
  kForbiddenCharacter, // one of / * ? " < > |
  kLeavesFolder,       // a backslash, a colon or "..": the files would land in another folder
};

// Message ids of the refusals.
enum : unsigned {
  kMsgForbiddenFileCharacters = 33282,  // "The filename given contains characters such as ..."
  kMsgSaveNameEmpty = 33290,            // "Please type a name for your graphic."
  kMsgSaveNameLeavesFolder = 33292,     // "A name cannot hold \, : or .. ..."
};

SaveNameProblem CheckSaveName(const CString& name);
// The message that explains a problem; 0 for kNone.
unsigned SaveNameMessage(SaveNameProblem problem);

// The project's name as its folder carries it: cut before the blank in front of "(Project)"
// when that occurs after the first character ("Menus (Project)" gives "Menus").
CString CutProjectName(const CString& project);
// The project folder's own name: the cut name, a blank and "(Project)".
CString MakeProjectFolderName(const CString& project);
// The style file's path without extension for a save outside the HTML editor's modes:
// projects folder + project folder name + "\" + name, and "_off" for a navigation bar.
CString MakeProjectStyleBase(const CString& projectsFolder, const CString& project, const CString& name,
                             bool navBar);

// folder + "\" + name, whether or not folder already ends with a backslash; name alone for an
// empty folder.
CString JoinPath(const CString& folder, const CString& name);
// True when path lies inside folder (or names a file directly in it), comparing without regard
// to case after ".." references are resolved.
bool IsPathInsideFolder(const CString& path, const CString& folder);

// A page link as a file path: an anchor ("#top") after the last "." is cut off.
CString CutPageAnchor(const CString& pagePath);

// The folders the save dialog's path drop-down lists for a folder: its drive's root (or the
// share of a network path) first, then every folder down to the folder itself. A path with no
// root gives itself alone; an empty one nothing.
std::vector<CString> MakeFolderChain(const CString& folder);

// The Save As button's title for a proposed path: its file name without extension, shortened
// to "..." and the last 9 characters when it is longer than 12.
CString MakeOverwriteTitle(const CString& proposedPath);
