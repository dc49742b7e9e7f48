// What a navigation bar save writes besides the state files: the pages that receive the bar
// (found from the buttons' links, or the bar's own page, plus pages the user adds), the list
// of files the save creates or updates, and the export of the script, images and pages.
// Portable; the navigation bar save dialog shows and edits this model.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/CString.h"
#include "navbar/NavBarHTML.h"

class CNavBar;
class CTime;

// NavBarPageEntry's flags as the save uses them.
enum { kPageChecked = 0, kPageUserAdded = 1, kPageUnique = 2 };

class CNavBarSaveModel {
 public:
  // The pages that receive the bar: each button's local page link (resolved against the
  // folder) when the bar has no menus, else (or when no link gave a page) the bar's own page.
  // Started by the HTML editor no page is written, so the list stays empty.
  void BuildPageList(CNavBar& bar, const CString& folder, bool hostedByEditor);
  // After the folder or the name changed: the link pages and the own page are resolved again;
  // pages the user added keep their paths.
  void RefreshPageList(CNavBar& bar, const CString& folder, bool hostedByEditor);
  // A page the user picked; false when the list already holds it.
  bool AddUserPage(const CString& path);
  // Removes a page the user added (the others stay); false otherwise.
  bool RemoveUserPage(int index);

  std::vector<NavBarPageEntry>& Entries() { return m_entries; }
  const std::vector<NavBarPageEntry>& Entries() const { return m_entries; }
  // The checked pages, each listed once, in order.
  std::vector<CString> CheckedPages() const;

  // Every file the save creates or updates, pages first, then the script and the images.
  std::vector<CString> CollectOutputFiles(CNavBar& bar, const CString& folder) const;

 private:
  std::vector<CString> LinkPages(CNavBar& bar, const CString& folder) const;
  void RecomputeUnique();
  std::vector<NavBarPageEntry> m_entries;
};

// The bar's own page: folder + the bar's name ("index" when it has none) + ".html".
CString GetOwnPagePath(const CNavBar& bar, const CString& folder);
// The folder the images and the script go to: the bar's image folder, else the folder.
CString GetGraphicFolder(const CNavBar& bar, const CString& folder);

// Exports the bar for pagePath (folder\name.html) and writes it into every given page; the
// bytes of images written, 0 when the export failed (then no page is touched). An image folder
// on another drive than the page is given up.
std::uint64_t SaveNavBarFiles(CNavBar& bar, const CString& pagePath, const CTime* fileTime,
                              const std::vector<CString>& pages);
