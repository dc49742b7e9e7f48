// The files of an exported navigation bar and the HTML that brings it into a page: image and
// script names, the snippet that loads the bar's script, new pages around it and insertion
// into existing pages.
#pragma once

#include <vector>

#include "framework/core/CString.h"

class CNavBar;

// State suffixes of button images: Off "", Over "_over", Clicked "_clk", Selected "_on".
CString GetStateSuffix(int state);
// End cap suffixes: cap 0 "_left" / "_top", cap 1 "_right" / "_bottom" (horizontal / vertical).
CString GetCapSuffix(int cap, bool vertical);
// "gif", "jpg" or "png" after the current graphic's export type.
CString GetExportExtension();
// folder + name + "." + extension, with the number after the name from 2 on.
CString MakeOutputPath(const CString& folder, const CString& name, int number, const CString& extension);
CString GetButtonImageName(const CString& baseName, int state, int index);
CString GetCapImageName(const CString& baseName, int cap, bool vertical);

// The snippet that loads a rollover script into a page in pageFolder; with a noscript image
// when one is given.
CString MakeNavBarScriptTag(const CString& scriptPath, const CString& pageFolder, const CString& noscriptImage);
// The same for a menu script, loading the menu runtime first; copies the runtime beside the
// page.
CString MakeMenuScriptTag(const CString& scriptPath, const CString& pageFolder, const CString& noscriptImage);

// The page's body tag: the graphic's background colour and background texture.
CString MakeNavBarBodyTag(const CString& pageFolder);
// Writes a new page that holds only the snippet.
bool WriteNewNavBarPage(const CString& pagePath, const CString& snippet);
// Why an insertion failed.
enum class InsertResult { kInserted, kNoPlace, kUnreadable, kUnicode, kUnwritable };
// Puts the snippet into an existing page just after its body tag (or before "</html>"); every
// other byte of the page stays as it was. True also when the page already holds the snippet.
bool InsertSnippetIntoPage(const CString& pagePath, const CString& snippet, InsertResult* why = nullptr);
// Chooses the browser preview's script (name: in, the graphic's name; out, the script path)
// and page paths in the temporary folder "QBW", numbered so that the browser never shows a
// cached older preview, and empties that folder. True.
bool MakeNavBarPreviewPaths(CString& name, CString& pagePath);
// Sets the preview counter as a new process has it (-1) or as a test needs it.
void SetPreviewCounter(int value);

// A page of the save dialog's list: its path and three flags; the second marks a page the
// user added, which the Delete key may remove.
struct NavBarPageEntry {
  CString path;
  int flags[3] = {1, 0, 1};
  NavBarPageEntry() = default;
  NavBarPageEntry(const CString& page, int first, int userAdded, int third) : path(page), flags{first, userAdded, third} {}
  bool IsUserAdded() const { return flags[1] != 0; }
};
// One of the first count entries (all for -1) has exactly this path.
bool ContainsPagePath(const std::vector<NavBarPageEntry>& list, const CString& path, int count);

// Writes the bar's snippet into an .htm or .html page, a new one or an existing one, and
// reports a failure to the user; other pages are left alone.
bool WriteNavBarIntoPage(CNavBar& bar, const CString& pagePath, const CString& scriptPath);
